// The command table: the rule that enables a command, and the menus and accelerators built from it.

#include "platform/CommandTable.h"
#include "platform/IconMenu.h"
#include "platform/MenuPictureChecks.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/accel.h>
#include <wx/artprov.h>
#include <wx/menu.h>

#include <memory>

namespace
{
constexpr int kNetFamily = 0x10000;
constexpr int kDiagramFamily = 0x8000;
constexpr int kPolyView = 0x1900;
constexpr int kNetView = 0x1340E;
constexpr int kStelDiagramView = 0xA409;
}  // namespace

TEST(CommandTable, RulesEnableByPaneAndModel)
{
    struct Case
    {
        const char* name;
        CommandUpdateRule rule;
        int viewType;
        bool model4D;
        bool enabled;
    };
    const Case kCases[] = {
        {"no rule, no pane", {}, -1, false, true},
        {"no rule, 4D model", {}, kPolyView, true, true},
        {"nets on a net pane", {kNetFamily, kCommandForAnyModel, false}, kNetView, false, true},
        {"nets on the model pane", {kNetFamily, kCommandForAnyModel, false}, kPolyView, false, false},
        {"nets without a pane", {kNetFamily, kCommandForAnyModel, false}, -1, false, false},
        {"nets or diagrams on a diagram", {kNetFamily | kDiagramFamily, kCommandForAnyModel, false},
         kStelDiagramView, false, true},
        {"3D only, 4D model", {0, kCommandFor3DModel, false}, kPolyView, true, false},
        {"3D only, 3D model", {0, kCommandFor3DModel, false}, kPolyView, false, true},
        {"4D only, 3D model", {0, kCommandFor4DModel, false}, kPolyView, false, false},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(CommandEnabledByRule(c.rule, c.viewType, c.model4D), c.enabled) << c.name;
}

TEST(CommandTable, TextsSplitIntoItemAndAccelerator)
{
    const CommandInfo layout{101, nullptr, "&Layout && Panes\tCtrl+3", nullptr, {}};
    EXPECT_EQ(CommandAcceleratorText(layout), "Ctrl+3");
    EXPECT_EQ(CommandPlainText(layout), "Layout & Panes");
    const CommandInfo exit{102, "&File", "E&xit", nullptr, {}};
    EXPECT_EQ(CommandAcceleratorText(exit), "");
    EXPECT_EQ(CommandPlainText(exit), "Exit");
}

TEST(CommandTable, MenusAndAcceleratorsAreBuiltFromTheTable)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const CommandInfo kCommands[] = {
        {101, "&File", "&Open...\tCtrl+O", "Open a model", {}},
        {102, "&File", nullptr, nullptr, {}},
        {103, "&File", "E&xit", "Quit", {}},
        {104, "&View>&Toolbars", "Show &Main Toolbar", nullptr, {}},
        {105, "&View", "Model &Info\tI", nullptr, {}},
        {106, nullptr, "Two Panes\tCtrl+2", nullptr, {}},
        {107, nullptr, "No Keys", nullptr, {}},
    };
    const CommandTable table{kCommands, std::size(kCommands)};
    EXPECT_EQ(table.Find(105), &kCommands[4]);
    EXPECT_EQ(table.Find(999), nullptr);

    std::unique_ptr<wxMenuBar> bar(BuildMenuBar(table));
    ASSERT_EQ(bar->GetMenuCount(), 2u);
    EXPECT_EQ(bar->GetMenuLabelText(0), "File");
    EXPECT_EQ(bar->GetMenuLabelText(1), "View");
    const wxMenu* file = bar->GetMenu(0);
    ASSERT_EQ(file->GetMenuItemCount(), 3u);
    EXPECT_TRUE(file->FindItemByPosition(1)->IsSeparator());
    EXPECT_EQ(file->FindItemByPosition(0)->GetHelp(), "Open a model");
    std::string path;
    EXPECT_TRUE(IconMenu::GetCommandPath(bar.get(), 101, path));
    EXPECT_EQ(path, "File->Open");
    EXPECT_TRUE(IconMenu::GetCommandPath(bar.get(), 104, path));
    EXPECT_EQ(path, "View->Toolbars->Show Main Toolbar");
    EXPECT_TRUE(IconMenu::GetCommandPath(bar.get(), 105, path));
    EXPECT_EQ(path, "View->Model Info");
    EXPECT_FALSE(IconMenu::GetCommandPath(bar.get(), 106, path));
    EXPECT_FALSE(IconMenu::GetCommandPath(static_cast<const wxMenuBar*>(nullptr), 101, path));

    // The accelerator table holds the commands that have keys and no menu item.
    const wxAcceleratorTable keys = BuildAcceleratorTable(table);
    ASSERT_TRUE(keys.IsOk());
    wxAcceleratorEntry entry;
    ASSERT_TRUE(entry.FromString("Ctrl+2"));
    wxKeyEvent press(wxEVT_KEY_DOWN);
    press.m_keyCode = entry.GetKeyCode();
    press.m_controlDown = true;
    EXPECT_EQ(keys.GetCommand(press), 106);
    wxKeyEvent open(wxEVT_KEY_DOWN);
    open.m_keyCode = 'O';
    open.m_controlDown = true;
    EXPECT_EQ(keys.GetCommand(open), -1);
}

TEST(CommandTable, ACommandThatWaitsForItsFeatureIsGreyedWhateverItsRule)
{
    const CommandInfo waiting{201, "&File", "&Save", nullptr, {}, nullptr, nullptr, "saving model files"};
    const CommandInfo ready{202, "&File", "E&xit", nullptr, {}};
    const CommandInfo only4D{203, "&File", "&Cells", nullptr, {.modelKinds = kCommandFor4DModel}};
    EXPECT_FALSE(CommandEnabled(waiting, kPolyView, false));
    EXPECT_FALSE(CommandEnabled(waiting, kPolyView, true));
    EXPECT_TRUE(CommandEnabled(ready, -1, false));
    EXPECT_FALSE(CommandEnabled(only4D, kPolyView, false));
    EXPECT_TRUE(CommandEnabled(only4D, kPolyView, true));
}

TEST(CommandTable, KeysOfOtherCommandsAndRangesOfKeysAreOnlyShown)
{
    const CommandInfo own{301, "&Poly", "Create &Waterman Polyhedron\tW", nullptr, {}};
    const CommandInfo shown{302, "&Options", "Stop &All\tEsc", nullptr, {}, nullptr, nullptr, nullptr, true};
    const CommandInfo range{303, "&View", "Choose &Layout...\tCtrl+1-6", nullptr, {}};
    const CommandInfo none{304, "&View", "&Full", nullptr, {}};
    EXPECT_FALSE(CommandKeyShownOnly(own));
    EXPECT_TRUE(CommandKeyShownOnly(shown));
    EXPECT_TRUE(CommandKeyShownOnly(range));
    EXPECT_FALSE(CommandKeyShownOnly(none));
    EXPECT_EQ(CommandItemLabel(own, "Create &Waterman Polyhedron"), "Create &Waterman Polyhedron\tW");
    EXPECT_EQ(CommandItemLabel(shown, "Stop &All"), "Stop &All");
    EXPECT_EQ(CommandItemLabel(range, "Choose &Layout..."), "Choose &Layout...");
}

namespace
{
// Pictures by name, as the toolbars will provide them.
class TestArt : public wxArtProvider
{
protected:
    wxBitmap CreateBitmap(const wxArtID& id, const wxArtClient& client, const wxSize&) override
    {
        if (client != kCommandArtClient || id != "open")
            return wxNullBitmap;
        return wxBitmap(16, 16);
    }
};
}  // namespace

TEST(CommandTable, ItemsTakeTheirPicturesFromTheProgramsArt)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const CommandInfo kCommands[] = {
        {401, "&File", "&Open...", nullptr, {}, "Open", "open"},
        {402, "&File", "&Save", nullptr, {}, "Save", "save"},
        {403, "&File", "&Marked", nullptr, {.checkable = true}, "Marked", "open"},
    };
    std::unique_ptr<wxMenuBar> before(BuildMenuBar(CommandTable{kCommands, std::size(kCommands)}));
    EXPECT_FALSE(before->FindItem(401)->GetBitmap().IsOk());
    wxArtProvider::Push(new TestArt);
    std::unique_ptr<wxMenuBar> bar(BuildMenuBar(CommandTable{kCommands, std::size(kCommands)}));
    wxArtProvider::Pop();
    EXPECT_TRUE(bar->FindItem(401)->GetBitmap().IsOk());
    EXPECT_FALSE(bar->FindItem(402)->GetBitmap().IsOk());  // no picture of that name
    // An item with a mark and a picture shows the picture and draws its mark on it.
    EXPECT_TRUE(bar->FindItem(403)->GetBitmap().IsOk());
    EXPECT_TRUE(IsPictureCheckItem(bar->FindItem(403)));
    EXPECT_FALSE(IsPictureCheckItemChecked(bar->FindItem(403)));
}
