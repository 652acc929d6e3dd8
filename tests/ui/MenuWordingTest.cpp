// Menu texts, status-bar prompts and toolbar tips reworded for a 4D model and for the kind of
// element selected; the pop-up menus built from the command table; keys typed into text boxes.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "kernel/MouseThrow.h"
#include "kernel/Prompt.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/Edge.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/Vert.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/DialogDriver.h"
#include "platform/StringDialog.h"
#include "platform/WxUserServices.h"
#include "polytope4d/Polytope4D.h"
#include "ui/Commands.h"
#include "ui/MenuWording.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <memory>
#include <string>

TEST(MenuWording, WordsAreReplacedInsideWordsWithTheirCapitals)
{
    struct Case
    {
        const char* text;
        const char* from;
        const char* to;
        const char* result;
        bool replaced;
    };
    const Case kCases[] = {
        {"Select Face Mode", "face", "cell", "Select Cell Mode", true},
        {"the surface of faces", "face", "cell", "the surcell of cells", true},
        {"FACE", "face", "vertex", "VERTex", true},
        {"Face-Type", "face", "edge", "Edge-Type", true},
        {"Set &Face-Type Color...\tShift+C", "face", "vertex", "Set &Vertex-Type Color...\tShift+C", true},
        {"no match here", "cell", "face", "no match here", false},
        {"", "face", "cell", "", false},
    };
    for (const Case& c : kCases)
    {
        std::string text = c.text;
        EXPECT_EQ(ReplaceWord(text, c.from, c.to), c.replaced) << c.text;
        EXPECT_EQ(text, c.result);
    }
    std::string list = "Open list of polyhedra";
    EXPECT_TRUE(UseTopeWording(list));
    EXPECT_EQ(list, "Open list of polytopes");
    std::string one = "The Polyhedron";
    EXPECT_TRUE(UseTopeWording(one));
    EXPECT_EQ(one, "The Polytope");
}

TEST(MenuWording, SelectionWordingNamesTheKindSelected)
{
    const WordingModel cube;
    const WordingModel cubeVertex{false, true, false};
    const WordingModel cubeEdge{false, false, true};
    const WordingModel polytope{true, false, false};
    struct Case
    {
        const char* name;
        WordingModel model;
        bool vertexAllowed;
        const char* text;
        const char* result;
    };
    const Case kCases[] = {
        {"4D, nothing selected", polytope, true, "Set color for all faces of same type",
         "Set color for all cells of same type"},
        {"vertex", cubeVertex, true, "Set color for all faces of same type", "Set color for all vertices of same type"},
        {"edge", cubeEdge, true, "Set color for all faces of same type", "Set color for all edges of same type"},
        {"3D, nothing selected", cube, true, "Show/hide all cells and vertices", "Show/hide all faces and faces"},
        {"vertex not allowed", cubeVertex, false, "Show or hide the selected face", "Show or hide the selected face"},
        {"vertex not allowed, edge", cubeEdge, false, "Vertices of the face", "Edges of the edge"},
        {"back from a vertex", cube, true, "Set &Vertex-Type Color...", "Set &Face-Type Color..."},
    };
    for (const Case& c : kCases)
    {
        std::string text = c.text;
        UseSelectionWording(text, c.vertexAllowed, c.model);
        EXPECT_EQ(text, c.result) << c.name;
    }
    std::string face = "Select Face Mode";
    EXPECT_TRUE(UseFaceCellWording(face, polytope));
    EXPECT_EQ(face, "Select Cell Mode");
    EXPECT_TRUE(UseFaceCellWording(face, cube));
    EXPECT_EQ(face, "Select Face Mode");
}

namespace
{
class MenuWordingTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            Current().SelectElement(nullptr, false);
            Current().SetPolytope4D(nullptr, 0);
            GetDocumentSettings() = mSavedSettings;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    std::string UpdatedLabel(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        return mFrame->GetMenuBar()->FindItem(id)->GetItemLabel().utf8_string();
    }

    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
};
}  // namespace

TEST_F(MenuWordingTest, PromptsAndTipsFollowTheModelAndTheSelection)
{
    // The polyhedron list speaks of polytopes for every model.
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdPolyhedronList), "Open list of polytopes");
    EXPECT_EQ(CMainFrame::GetToolTipString(kCmdPolyhedronList), "Polyhedron List");
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdSetFaceTypeColor), "Set color for all faces of same type");
    EXPECT_EQ(CMainFrame::GetToolTipString(kCmdModeSelect), "Select Face Mode");

    // A vertex of the cube: the colour commands name vertices, showing and hiding does not.
    Current().SelectElement(Current().GetNthVert(2), true);
    ASSERT_TRUE(Current().HasSelectedVert());
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdSetFaceTypeColor), "Set color for all vertices of same type");
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdShowHideSelected), "Show or hide the selected face");
    EXPECT_EQ(CMainFrame::GetToolTipString(kCmdSetFaceTypeColor), "Set Vertex-Type Color");

    Current().SelectElement(Current().GetEdge(1), false);
    ASSERT_TRUE(Current().HasSelectedEdge());
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdSetFaceTypeColor), "Set color for all edges of same type");
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdShowHideSelected), "Show or hide the selected edge");

    Current().SelectElement(nullptr, false);
    Current().SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdSetFaceTypeColor), "Set color for all cells of same type");
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdPolyhedronList), "Open list of polytopes");
    EXPECT_EQ(CMainFrame::GetToolTipString(kCmdModeSelect), "Select Cell Mode");
    EXPECT_EQ(CMainFrame::GetMessageString(kCmdUndoSettings), "Set how many changes can be undone");
}

TEST_F(MenuWordingTest, MenuTextsAreRewordedWhenTheMenusUpdate)
{
    EXPECT_EQ(UpdatedLabel(kCmdViewFace), "&Face");
    EXPECT_EQ(UpdatedLabel(kCmdSetFaceTypeColor), "Set &Face-Type Color...\tShift+C");
    Current().SelectElement(Current().GetNthVert(0), true);
    EXPECT_EQ(UpdatedLabel(kCmdSetFaceTypeColor), "Set &Vertex-Type Color...\tShift+C");
    // Shown or hidden: the same wording in the menu.
    EXPECT_EQ(UpdatedLabel(kCmdShowHideSelected), "Show/Hide Selected &Vertex\tCtrl+H");

    Current().SelectElement(nullptr, false);
    Current().SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    EXPECT_EQ(UpdatedLabel(kCmdViewFace), "&Cell");
    EXPECT_EQ(UpdatedLabel(kCmdModeSelect), "&Select Cells/Vertices");
    EXPECT_EQ(UpdatedLabel(kCmdSetFaceTypeColor), "Set &Cell-Type Color...\tShift+C");
    // A key the item takes stays its key.
    std::unique_ptr<wxAcceleratorEntry> key(mFrame->GetMenuBar()->FindItem(kCmdSetFaceTypeColor)->GetAccel());
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->GetFlags(), wxACCEL_SHIFT);

    Current().SetPolytope4D(nullptr, 0);
    EXPECT_EQ(UpdatedLabel(kCmdViewFace), "&Face");
    EXPECT_EQ(UpdatedLabel(kCmdModeSelect), "&Select Faces/Vertices");
}

TEST_F(MenuWordingTest, UpdateHandlersRewordTheirItemFromTheMenu)
{
    Current().SelectElement(Current().GetEdge(0), false);
    ASSERT_TRUE(Current().HasSelectedEdge());
    wxUpdateUIEvent color(kCmdSetAllFaceColors);
    UpdateSelectionMenuText(color, true);
    EXPECT_TRUE(color.GetSetText());
    EXPECT_EQ(color.GetText(), "Set &All Edge Colors...\tCtrl+Shift+C");
    // Nothing to change, nothing set; a command without an item is left alone.
    Current().SelectElement(nullptr, false);
    wxUpdateUIEvent unchanged(kCmdSetAllFaceColors);
    UpdateSelectionMenuText(unchanged, true);
    EXPECT_FALSE(unchanged.GetSetText());
    wxUpdateUIEvent key(kCmdEscapeKey);
    UpdateFaceCellMenuText(key);
    EXPECT_FALSE(key.GetSetText());

    Current().SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    wxUpdateUIEvent face(kCmdViewFace);
    UpdateFaceCellMenuText(face);
    EXPECT_TRUE(face.GetSetText());
    EXPECT_EQ(face.GetText(), "&Cell");
}

TEST_F(MenuWordingTest, AHighlightedItemShowsItsPromptInTheStatusBar)
{
    Current().SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, kCmdSetFaceTypeColor);
    highlight.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(highlight);
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(0), "Set color for all cells of same type");
    wxMenuEvent other(wxEVT_MENU_HIGHLIGHT, kCmdPolyhedronList);
    other.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(other);
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(0), "Open list of polytopes");
}

TEST_F(MenuWordingTest, APopupOfCommandsTakesTheirTextsMarksAndRules)
{
    const bool inertia = MouseThrowsEnabled();
    std::unique_ptr<wxMenu> menu(
        BuildCommandMenu(GetCommandTable(), {0, kCmdAllowMouseInertia, 0, 0, kCmdSubdivideInwards, kCmdUndoSettings, 0}));
    ASSERT_EQ(menu->GetMenuItemCount(), 4u);  // the stray separators are gone
    EXPECT_EQ(menu->FindItemByPosition(0)->GetItemLabel(), "Allow &Mouse Inertia");
    EXPECT_TRUE(menu->FindItemByPosition(0)->IsCheckable());
    EXPECT_TRUE(menu->FindItemByPosition(1)->IsSeparator());
    EXPECT_EQ(menu->FindItemByPosition(3)->GetHelp(), "Set how many changes can be undone");
    for (const bool on : {false, true})
    {
        EnableMouseThrows(on);
        menu->UpdateUI(mFrame);
        EXPECT_TRUE(menu->FindItem(kCmdAllowMouseInertia)->IsEnabled());
        EXPECT_EQ(menu->FindItem(kCmdAllowMouseInertia)->IsChecked(), on);
        EXPECT_FALSE(menu->FindItem(kCmdSubdivideInwards)->IsEnabled());  // waits for its feature
        EXPECT_TRUE(menu->FindItem(kCmdUndoSettings)->IsEnabled());
    }
    EnableMouseThrows(inertia);
}

TEST_F(MenuWordingTest, KeysTypedIntoAPromptStayInItsField)
{
    // W makes a Waterman polyhedron from the main window; in the prompt it is a letter.
    WxUserServices services;
    UserServices* previous = SetServices(&services);
    std::string shown;
    DialogDriver driver({[](wxDialog& d) {
                             auto* p = dynamic_cast<StringDialog*>(&d);
                             if (!p || !p->Edit()->HasFocus())
                                 return false;
                             p->Edit()->Clear();
                             DialogDriver::Type(d, 'w');
                             DialogDriver::Type(d, 'v');
                             return true;
                         },
                         [&](wxDialog& d) {
                             auto* p = dynamic_cast<StringDialog*>(&d);
                             if (!p || p->Edit()->GetValue().length() < 2)
                                 return false;
                             shown = p->Edit()->GetValue().utf8_string();
                             DialogDriver::Type(d, WXK_RETURN);
                             return true;
                         }});
    char buffer[40] = "";
    EXPECT_TRUE(PromptText("Type a name", buffer, sizeof buffer));
    SetServices(previous);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(shown, "wv");
    EXPECT_STREQ(buffer, "wv");
    EXPECT_EQ(driver.opened.size(), 1u) << "a key opened another dialog";
}

TEST_F(MenuWordingTest, ASingleKeyBelongsToTheTextBoxThatHasTheFocus)
{
    auto* box = new wxTextCtrl(mFrame, wxID_ANY, "", wxPoint(0, 0), wxSize(100, -1));
    box->SetFocus();
    Pump();
    if (wxWindow::FindFocus() != box)
    {
        box->Destroy();
        GTEST_SKIP() << "the test display gives no window the focus";
    }
    // Esc comes from the accelerators without an object: the box keeps it, and with the focus in a
    // pane the command takes it.
    wxCommandEvent key(wxEVT_MENU, kCmdEscapeKey);
    EXPECT_FALSE(mFrame->ProcessWindowEvent(key));
    // A menu's or a button's Esc is the command's.
    wxCommandEvent fromMenu(wxEVT_MENU, kCmdEscapeKey);
    fromMenu.SetEventObject(mFrame->GetMenuBar()->GetMenu(0));
    EXPECT_TRUE(mFrame->ProcessWindowEvent(fromMenu));
    NewView::GetActiveView()->SetFocus();
    box->Destroy();
    Pump();
    wxCommandEvent again(wxEVT_MENU, kCmdEscapeKey);
    EXPECT_TRUE(mFrame->ProcessWindowEvent(again));
}
