// The main window's menu bar: every command of the table in its place, greyed until its feature
// exists, the texts and keys as the user sees them, the status-bar prompts and the walk through
// every item.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/UpdateCheckSettings.h"
#include "kernel/MouseThrow.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/IconMenu.h"
#include "polytope4d/Polytope4D.h"
#include "ui/Commands.h"

#include <wx/accel.h>
#include <wx/eventfilter.h>
#include <wx/menu.h>
#include <wx/modalhook.h>

#include <gtk/gtk.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
// Every item of a menu, depth first, with the path of plain texts that leads to it.
void ForEachItem(wxMenu* menu, const std::string& path, const std::function<void(wxMenuItem*, const std::string&)>& visit)
{
    for (wxMenuItem* item : menu->GetMenuItems())
    {
        const std::string here = path + "->" + IconMenu::GetPlainItemText(item->GetItemLabel().utf8_string());
        visit(item, here);
        if (item->GetSubMenu())
            ForEachItem(item->GetSubMenu(), here, visit);
    }
}

void ForEachItem(wxMenuBar* bar, const std::function<void(wxMenuItem*, const std::string&)>& visit)
{
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        ForEachItem(bar->GetMenu(i), IconMenu::GetPlainItemText(bar->GetMenuLabel(i).utf8_string()), visit);
}

// The letter after a single '&', lower-cased; 0 without one.
char Mnemonic(const std::string& text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i)
    {
        if (text[i] == '&' && text[i + 1] == '&')
            ++i;
        else if (text[i] == '&')
            return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

std::string Label(const wxMenuItem* item)
{
    return item->GetItemLabel().utf8_string();
}

// The key a menu item shows without taking it, as the toolkit draws it.
std::string ShownKey(wxMenuItem* item)
{
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(item->GetMenuItem()));
    if (GTK_IS_ACCEL_LABEL(child))
    {
        guint key = 0;
        GdkModifierType mods = GdkModifierType(0);
        gtk_accel_label_get_accel(GTK_ACCEL_LABEL(child), &key, &mods);
        if (!key)
            return std::string();
        gchar* text = gtk_accelerator_get_label(key, mods);
        std::string shown = text;
        g_free(text);
        return shown;
    }
    std::string shown;
    GList* children = gtk_container_get_children(GTK_CONTAINER(child));
    for (GList* c = children; c; c = c->next)
        if (GTK_IS_LABEL(c->data) && !GTK_IS_ACCEL_LABEL(c->data))
            shown = gtk_label_get_text(GTK_LABEL(c->data));
    g_list_free(children);
    return shown;
}

class MenuBarTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        mInertia = MouseThrowsEnabled();
        ClearUndoList();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
        mBar = mFrame->GetMenuBar();
        ASSERT_NE(mBar, nullptr);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            EnableMouseThrows(mInertia);
            ClearUndoList();
            GetDocumentSettings() = mSavedSettings;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    const CommandTable& Table() const { return GetCommandTable(); }

    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    bool mInertia = true;
    wxMenuBar* mBar = nullptr;
};
}  // namespace

TEST_F(MenuBarTest, TheBarHoldsEveryMenuInItsOrderWithoutDebugOrPlaceholders)
{
    std::vector<std::string> tops;
    for (size_t i = 0; i < mBar->GetMenuCount(); ++i)
        tops.push_back(mBar->GetMenuLabelText(i).utf8_string());
    const std::vector<std::string> expected = {"File",  "Edit",    "View",      "Poly",    "Stellation", "Faceting",
                                               "4D",    "Nets",    "Color",     "Display", "Image",      "Selection",
                                               "Section", "Scale", "Tour",      "Options", "Help"};
    EXPECT_EQ(tops, expected);

    ForEachItem(mBar, [](wxMenuItem* item, const std::string& path) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(item->GetId() >= kCmdFileMruFirst && item->GetId() <= kCmdFileMruLast) << "a recent-file row";
        if (wxMenu* sub = item->GetSubMenu())
        {
            EXPECT_GT(sub->GetMenuItemCount(), 0u) << "an empty pop-up";
        }
    });
    // No separator first, last or doubled in any pop-up.
    std::function<void(wxMenu*, const std::string&)> tidy = [&](wxMenu* menu, const std::string& path) {
        SCOPED_TRACE(path);
        const wxMenuItemList& items = menu->GetMenuItems();
        ASSERT_FALSE(items.empty());
        EXPECT_FALSE(items.front()->IsSeparator());
        EXPECT_FALSE(items.back()->IsSeparator());
        bool previousSeparator = false;
        for (wxMenuItem* item : items)
        {
            EXPECT_FALSE(previousSeparator && item->IsSeparator()) << "two separators after " << Label(item);
            previousSeparator = item->IsSeparator();
            if (item->GetSubMenu())
                tidy(item->GetSubMenu(), path + "->" + Label(item));
        }
    };
    for (size_t i = 0; i < mBar->GetMenuCount(); ++i)
        tidy(mBar->GetMenu(i), mBar->GetMenuLabel(i).utf8_string());
}

TEST_F(MenuBarTest, MnemonicsAreUniqueInEveryPopup)
{
    std::function<void(const std::vector<std::string>&, const std::string&)> check =
        [](const std::vector<std::string>& labels, const std::string& where) {
            std::map<char, std::string> seen;
            for (const std::string& label : labels)
                if (const char m = Mnemonic(label))
                {
                    EXPECT_EQ(seen.count(m), 0u) << where << ": '" << m << "' of " << label << " and " << seen[m];
                    seen[m] = label;
                }
        };
    std::vector<std::string> tops;
    for (size_t i = 0; i < mBar->GetMenuCount(); ++i)
        tops.push_back(mBar->GetMenuLabel(i).utf8_string());
    check(tops, "the menu bar");
    std::function<void(wxMenu*, const std::string&)> visit = [&](wxMenu* menu, const std::string& where) {
        std::vector<std::string> labels;
        for (wxMenuItem* item : menu->GetMenuItems())
        {
            if (item->IsSeparator())
                continue;
            labels.push_back(Label(item));
            if (item->GetSubMenu())
                visit(item->GetSubMenu(), where + "->" + Label(item));
        }
        check(labels, where);
    };
    for (size_t i = 0; i < mBar->GetMenuCount(); ++i)
        visit(mBar->GetMenu(i), tops[i]);
}

TEST_F(MenuBarTest, EveryTableCommandWithAPathHasOneItemThereAndEveryItemIsInTheTable)
{
    std::map<int, int> items;
    ForEachItem(mBar, [&](wxMenuItem* item, const std::string& path) {
        if (item->IsSeparator() || item->GetSubMenu())
            return;
        ++items[item->GetId()];
        EXPECT_NE(Table().Find(item->GetId()), nullptr) << path;
    });
    std::set<int> ids;
    for (size_t i = 0; i < Table().count; ++i)
    {
        const CommandInfo& c = Table().entries[i];
        if (!c.text)
            continue;
        EXPECT_TRUE(ids.insert(c.id).second) << "declared twice: " << c.text;
        if (!c.menuPath)
            continue;
        SCOPED_TRACE(c.text);
        EXPECT_EQ(items[c.id], 1);
        // The item sits where the table puts it.
        std::string expected;
        for (const char* p = c.menuPath; *p; ++p)
            expected += *p;
        std::string path;
        ASSERT_TRUE(IconMenu::GetCommandPath(mBar, c.id, path));
        std::string plainPath;
        size_t start = 0;
        while (true)
        {
            const size_t end = expected.find('>', start);
            plainPath += IconMenu::GetPlainItemText(expected.substr(start, end - start)) + "->";
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        EXPECT_EQ(path, plainPath + CommandPlainText(c));
    }
}

TEST_F(MenuBarTest, NoTwoCommandsTakeTheSameKey)
{
    std::map<std::pair<int, int>, std::string> taken;
    for (size_t i = 0; i < Table().count; ++i)
    {
        const CommandInfo& c = Table().entries[i];
        const std::string keys = c.text ? CommandAcceleratorText(c) : std::string();
        if (keys.empty() || CommandKeyShownOnly(c))
            continue;
        wxAcceleratorEntry key;
        ASSERT_TRUE(key.FromString(wxString::FromUTF8(keys))) << c.text;
        const std::pair<int, int> code(key.GetFlags(), key.GetKeyCode());
        EXPECT_EQ(taken.count(code), 0u) << keys << ": " << c.text << " and " << taken[code];
        taken[code] = c.text;
    }
    EXPECT_GT(taken.size(), 50u);
}

TEST_F(MenuBarTest, TheItemsTheWindowLeavesOutAreNotThere)
{
    // Menus and rows the program does not offer: the debug menu, the diagnostics it never draws,
    // the slow and removed stellation options, and the rows of features it does not have.
    const char* const kAbsent[] = {
        "Image->Image Projection->Cubic",
        "4D->Projection Direction->Identity Transform",
        "Section->Cross-Section Direction->Identity Transform",
        "File->3D Export->Export GEOM",
        "File->Export Shapes to Orvane Pocket",
        "File->Export Category to Orvane Pocket",
        "View->View Models->Compound",
        "View->View Duals Morphing->Via Snub",
        "Poly->Centre for Reciprocation->Use Canonical Reciprocation Centre",
        "Options->Diagnostic Mode->Show Stellation Diagram Vertex Coords",
        "Options->Diagnostic Mode->Show Line Numbers and Axes",
        "Options->Diagnostic Mode->Show Face Coord Axes",
        "Options->Diagnostic Mode->Show 2D Region Pointers",
        "Stellation->Stellation Criteria->Miller's Rules (Slow)",
        "Stellation->Stellation Criteria->Must Use All Facial Planes",
        "Stellation->Enumerate Slowly (One By One)",
        "Poly->Add One Vertex At A Time",
        "Poly->Add Vertex",
        "Poly->Remove Vertex",
        "Display->Show Macro Sphere (L)",
        "Color->Macro Sphere L Color",
        "Display->Show Micro Sphere (S)",
        "Color->Micro Sphere S Color",
        "File->Recent File",
    };
    std::set<std::string> paths;
    ForEachItem(mBar, [&](wxMenuItem*, const std::string& path) { paths.insert(path); });
    for (const char* absent : kAbsent)
        EXPECT_EQ(paths.count(absent), 0u) << absent;
    EXPECT_EQ(mBar->FindMenu("Debug"), wxNOT_FOUND);
    // Every other command path of the rows is there, for instance:
    for (const char* present : {"Selection->Mouse Selection Mode->Measurement Mode", "Edit->Load Text List->Persistent",
                                "Nets->Tabs->Tab Size", "Edit->Clear Memory->All Memories", "Help->About OrvaneMax"})
        EXPECT_EQ(paths.count(present), 1u) << present;
}

TEST_F(MenuBarTest, TheRenamedItemsReadAsGiven)
{
    struct Case
    {
        int id;
        const char* text;
        const char* label;  // as the item carries it
        const char* key;    // shown without being the item's key; empty when the item takes it
    };
    const Case kCases[] = {
        {kCmdExportImage, "Export Image/Video...\tX", "Export Image/Video...\tX", ""},
        {kCmdChooseLayout, "Choose &Layout...\tCtrl+1-6", "Choose &Layout...", "Ctrl+1-6"},
        {kCmdHelpManual, "OrvaneMax &Manual...\tF1", "OrvaneMax &Manual...\tF1", ""},
        {kCmdHelpAbout, "&About OrvaneMax...", "&About OrvaneMax...", ""},
        // Keys that belong to the Esc command or to the panes are only shown.
        {kCmdModeSelect, "&Select Faces/Vertices\tEsc", "&Select Faces/Vertices", "Escape"},
        {kCmdNextStellation, "&Next Stellation\tUp", "&Next Stellation", "Up"},
        {kCmdStellationCore, "Stellation &Core\tCtrl+Home", "Stellation &Core", "Ctrl+Home"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        const CommandInfo* info = Table().Find(c.id);
        ASSERT_NE(info, nullptr);
        EXPECT_STREQ(info->text, c.text);
        wxMenuItem* item = mBar->FindItem(c.id);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(Label(item), c.label);
        EXPECT_EQ(ShownKey(item), c.key);
        if (*c.key)
        {
            EXPECT_EQ(item->GetAccel(), nullptr);
        }
    }
}

TEST_F(MenuBarTest, PlainTextsAndCommandPaths)
{
    struct Case
    {
        const char* text;
        const char* plain;
    };
    const Case kCases[] = {
        {"&Print (via Preview)...\tCtrl+P", "Print (via Preview)"},
        {"Tidy Facetings && &Duals", "Tidy Facetings & Duals"},
        {"Show Face, &Edge && Vertex Numbers", "Show Face, Edge & Vertex Numbers"},
        {"Undo\\tAlt+Back", "Undo"},
        {"Stop  \tEsc", "Stop"},
        {"...", "..."},
        {"A...", "A"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(IconMenu::GetPlainItemText(c.text), c.plain) << c.text;

    std::string path;
    ASSERT_TRUE(IconMenu::GetCommandPath(mBar, kCmdModeMeasure, path));
    EXPECT_EQ(path, "Selection->Mouse Selection Mode->Measurement Mode");
    EXPECT_EQ(GetCommandMenuText(kCmdModeMeasure), path);
    EXPECT_EQ(GetCommandMenuText(kCmdEscapeKey), "");  // a key, not an item
}

TEST_F(MenuBarTest, DeletedItemsTakeTheirEmptyPopupsAndStraySeparatorsAlong)
{
    // A small bar: File holds a pop-up of one item between two separators.
    const CommandInfo kSmall[] = {
        {101, "&File", "&Open", nullptr, {}},
        {0, "&File", nullptr, nullptr, {}},
        {102, "&File>&Export", "&DXF", nullptr, {}},
        {0, "&File", nullptr, nullptr, {}},
        {0, "&File", nullptr, nullptr, {}},
        {103, "&File", "E&xit", nullptr, {}},
        {104, "&Debug", "&Trace", nullptr, {}},
    };
    std::unique_ptr<wxMenuBar> bar(BuildMenuBar(CommandTable{kSmall, std::size(kSmall)}));
    wxMenu* file = bar->GetMenu(0);
    ASSERT_EQ(file->GetMenuItemCount(), 5u);  // the doubled separator is gone already
    EXPECT_TRUE(IconMenu::DeleteItem(bar.get(), 102));
    EXPECT_FALSE(IconMenu::DeleteItem(bar.get(), 102));
    EXPECT_TRUE(IconMenu::DeleteItem(bar.get(), 104));
    IconMenu::RemoveRedundantItems(bar.get());
    ASSERT_EQ(bar->GetMenuCount(), 1u);
    std::vector<std::string> left;
    for (wxMenuItem* item : file->GetMenuItems())
        left.push_back(item->IsSeparator() ? "|" : Label(item));
    EXPECT_EQ(left, (std::vector<std::string>{"&Open", "|", "E&xit"}));
    IconMenu::DeleteItem(bar.get(), 103);
    IconMenu::RemoveRedundantItems(bar.get());
    EXPECT_EQ(file->GetMenuItemCount(), 1u);
}

namespace
{
// Ends every modal dialog a command opens with Cancel before it shows.
class CancelEveryDialog : public wxModalDialogHook
{
public:
    CancelEveryDialog() { Register(); }
    ~CancelEveryDialog() override { Unregister(); }
    int opened = 0;

protected:
    int Enter(wxDialog*) override
    {
        ++opened;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

// Keeps the main window open when File > Exit asks it to close.
class CloseCatcher : public wxEventFilter
{
public:
    CloseCatcher() { wxEvtHandler::AddFilter(this); }
    ~CloseCatcher() override { wxEvtHandler::RemoveFilter(this); }
    int closes = 0;

    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() != wxEVT_CLOSE_WINDOW)
            return Event_Skip;
        ++closes;
        return Event_Processed;
    }
};

// The 4D model for the rules that tell the two kinds apart.
void MakeModel4D(Poly& poly, bool on)
{
    poly.SetPolytope4D(on ? std::make_unique<Polytope4D>() : nullptr, 0);
}
}  // namespace

TEST_F(MenuBarTest, EveryItemIsGreyedOrRunsAHandler)
{
    CancelEveryDialog dialogs;
    CloseCatcher closer;
    mServices.services.cancelUnanswered = true;
    // Whatever a command writes beside the settings goes to a folder of the test's own.
    std::string temp;
    ASSERT_TRUE(GetTempFolder(temp));
    const std::string folder = temp + "/menu-walk";
    std::filesystem::create_directories(folder);
    const char* previousConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = previousConfig ? previousConfig : "";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    // No test reaches the network: without an address the update check fails at once.
    const std::string savedSite = GetUpdateCheckSettings().siteAddress;
    GetUpdateCheckSettings().siteAddress.clear();
    std::vector<std::string> notBuilt;
    int ran = 0;
    for (const bool model4D : {false, true})
    {
        SCOPED_TRACE(model4D ? "4D model" : "cube");
        MakeModel4D(Current(), model4D);
        ASSERT_EQ((Current().mFlags & Poly::kIs4D) != 0, model4D);
        ForEachItem(mBar, [&](wxMenuItem* item, const std::string& path) {
            if (item->IsSeparator() || item->GetSubMenu())
                return;
            SCOPED_TRACE(path);
            const int id = item->GetId();
            const CommandInfo* command = Table().Find(id);
            ASSERT_NE(command, nullptr);
            // Commands run on the way may have replaced the model.
            const bool current4D = (GetCurrentPoly()->mFlags & Poly::kIs4D) != 0;
            mBar->UpdateMenus();
            // The label keeps its mnemonic however it is worded.
            const std::string label = Label(item);
            EXPECT_EQ(Mnemonic(label) != 0, Mnemonic(command->text) != 0) << label;
            if (!item->IsEnabled())
            {
                EXPECT_TRUE(command->waitsFor || !CommandEnabledByRule(command->update, -1, current4D) ||
                            command->update.ownerUpdates)
                    << "greyed without a reason";
                if (command->waitsFor && !model4D)
                    notBuilt.push_back(path + " (" + command->waitsFor + ")");
                return;
            }
            EXPECT_FALSE(command->waitsFor) << "enabled although it waits for " << command->waitsFor;
            EXPECT_TRUE(CommandEnabledByRule(command->update, -1, current4D) || command->update.viewFamilies);
            // The marks that exist follow their rule before the command runs.
            if (id == kCmdAllowMouseInertia)
            {
                EXPECT_EQ(item->IsChecked(), MouseThrowsEnabled());
            }
            const int closes = closer.closes;
            wxCommandEvent run(wxEVT_MENU, id);
            run.SetEventObject(mFrame);
            EXPECT_TRUE(mFrame->ProcessWindowEvent(run)) << "enabled but nothing handles it";
            ++ran;
            if (id == kCmdAppExit)
            {
                EXPECT_EQ(closer.closes, closes + 1);
            }
            Pump();
        });
    }
    MakeModel4D(Current(), false);
    GetUpdateCheckSettings().siteAddress = savedSite;
    if (previousConfig)
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(folder);
    EXPECT_GT(ran, 0);
    std::printf("Commands not built yet (%zu):\n", notBuilt.size());
    for (const std::string& line : notBuilt)
        std::printf("  not built yet: %s\n", line.c_str());
}

TEST_F(MenuBarTest, TheRulesGreyTheOtherKindOfModelsCommands)
{
    for (const bool model4D : {false, true})
    {
        MakeModel4D(Current(), model4D);
        for (size_t i = 0; i < Table().count; ++i)
        {
            const CommandInfo& c = Table().entries[i];
            if (!c.text)
                continue;
            wxUpdateUIEvent update(c.id);
            update.SetEventObject(mFrame);
            mFrame->ProcessWindowEvent(update);
            const bool ruleAllows = c.update.modelKinds & (model4D ? kCommandFor4DModel : kCommandFor3DModel);
            if (!ruleAllows || c.waitsFor)
            {
                EXPECT_TRUE(update.GetSetEnabled() && !update.GetEnabled()) << c.text;
            }
        }
    }
    MakeModel4D(Current(), false);
    // Allow Mouse Inertia's mark follows the setting for both kinds.
    for (const bool model4D : {false, true})
    {
        MakeModel4D(Current(), model4D);
        for (const bool on : {true, false})
        {
            EnableMouseThrows(on);
            mBar->UpdateMenus();
            EXPECT_EQ(mBar->FindItem(kCmdAllowMouseInertia)->IsChecked(), on);
        }
    }
    MakeModel4D(Current(), false);
}

TEST_F(MenuBarTest, AGreyedCommandNeverRunsWhateverSendsIt)
{
    // Printing waits for its feature; a handler bound for the test must not hear it.
    int heard = 0;
    mFrame->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++heard; }, kCmdFilePrint);
    wxCommandEvent print(wxEVT_MENU, kCmdFilePrint);
    EXPECT_FALSE(mFrame->ProcessWindowEvent(print));
    EXPECT_EQ(heard, 0);
}
