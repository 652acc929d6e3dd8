// Stellation > Stellation Planes...: the table of planes driven through its controls, the window
// of ten rows over the list, the plane clipboard, and OK building the enclosed solid as one undo step.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/EvaluateExpression.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "operations/PickedPoints.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "stellation/Stellation.h"
#include "stellation/StellationPlanes.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/StellationPlanesDialog.h"

#include <wx/bmpbuttn.h>
#include <wx/choice.h>
#include <wx/menu.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

class StellationPlanesDialogTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        mSavedScale = GetUnitSettings().GetScale();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        ClearPlaneClipboard();
        Open("Cube");
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        ClearPlaneClipboard();
        ResetMeasurement();
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSaved;
            GetUnitSettings().SetScale(mSavedScale, false);
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    void Open(const char* name)
    {
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(name, nullptr, false)));
        ClearUndoList();
        mServices.services.Clear();
    }

    // The dialog as the command makes it, shown without waiting.
    std::unique_ptr<StellationPlanesDialog> OpenDialog()
    {
        auto dialog = std::make_unique<StellationPlanesDialog>(mFrame, &Current(), Current().GetFaceStellation());
        dialog->Show();
        return dialog;
    }

    static void Press(wxWindow* button)
    {
        wxCommandEvent event(wxEVT_BUTTON, button->GetId());
        event.SetEventObject(button);
        button->ProcessWindowEvent(event);
    }
    static void PressOk(wxDialog& dialog) { Press(dialog.FindWindow(wxID_OK)); }
    static void Choose(wxChoice* choice, int item)
    {
        choice->SetSelection(item);
        wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
        event.SetEventObject(choice);
        event.SetInt(item);
        choice->ProcessWindowEvent(event);
    }
    static void Scroll(wxScrollBar* bar, wxEventType type, int position = 0)
    {
        wxScrollEvent event(type, bar->GetId(), position, wxVERTICAL);
        event.SetEventObject(bar);
        bar->ProcessWindowEvent(event);
    }
    static void LoseFocus(wxWindow* window)
    {
        wxFocusEvent event(wxEVT_KILL_FOCUS, window->GetId());
        event.SetEventObject(window);
        window->ProcessWindowEvent(event);
    }
    static std::vector<std::string> Items(const wxChoice* choice)
    {
        std::vector<std::string> items;
        for (unsigned i = 0; i < choice->GetCount(); ++i)
            items.push_back(choice->GetString(i).utf8_string());
        return items;
    }

    // The labels of the ten visible rows, and the Radius texts shown in them.
    static std::vector<std::string> Labels(const StellationPlanesDialog& dialog)
    {
        std::vector<std::string> labels;
        for (int r = 0; r < StellationPlanesDialog::kVisibleRows; ++r)
            labels.push_back(dialog.RowLabel(r)->GetLabel().utf8_string());
        return labels;
    }
    static std::vector<std::string> RowTexts(int first, int count)
    {
        std::vector<std::string> texts;
        for (int k = first; k < first + count; ++k)
            texts.push_back(std::to_string(k));
        return texts;
    }
    static std::vector<std::string> ShownRadii(const StellationPlanesDialog& dialog)
    {
        std::vector<std::string> radii;
        for (int r = 0; r < StellationPlanesDialog::kVisibleRows; ++r)
            if (dialog.Cell(r, kPlaneRadius)->IsEnabled())
                radii.push_back(dialog.Cell(r, kPlaneRadius)->GetValue().utf8_string());
        return radii;
    }

    // n rows on the clipboard whose Radius texts are their numbers from first on.
    static void PutNumberedRowsOnClipboard(int first, int n)
    {
        PlaneList& clipboard = GetPlaneClipboard();
        clipboard.Clear();
        for (int k = first; k < first + n; ++k)
        {
            auto row = PlaneEquation::CreateDefault();
            row->mText[kPlaneRadius] = std::to_string(k);
            clipboard.Append(std::move(row));
        }
    }

    std::string LastMessage() const
    {
        const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
        return call ? call->text : std::string();
    }

    // The length of the model's shortest edge, from its vertices.
    double EdgeLength() const
    {
        double shortest = DBL_MAX;
        for (const FaceVert* a = Current().mVerts.mFirst; a; a = a->mNext)
            for (const FaceVert* b = a->mNext; b; b = b->mNext)
            {
                Vec3D d;
                Vec3Sub(d, a->mPoint, b->mPoint);
                shortest = std::min(shortest, Vec3Length(d));
            }
        return shortest;
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    double mSavedScale = 1.0;
};

TEST_F(StellationPlanesDialogTest, ACubeOpensWithItsOnePlaneAndOkRebuildsIt)
{
    const double halfEdge = EdgeLength() / 2.0 * GetUnitSettings().GetScale();
    auto dialog = OpenDialog();
    EXPECT_EQ(dialog->GetTitle(), "Stellation Planes");
    ASSERT_EQ(dialog->Rows().mCount, 1);
    const PlaneEquation& row = *dialog->Rows().mFirst;
    const Vec3D normal{row.mValue[kPlaneX], row.mValue[kPlaneY], row.mValue[kPlaneZ]};
    EXPECT_TRUE(Vec3Equal(normal, Current().mFaces.mFirst->GetNormal(), 1e-12));
    EXPECT_NEAR(Vec3Length(normal), 1.0, 1e-12);
    EXPECT_NEAR(row.mValue[kPlaneRadius], halfEdge, 1e-12);
    for (int c = 0; c < kPlaneColumns; ++c)
    {
        // Shown with 16 decimals, and what is shown is the row's text.
        EXPECT_EQ(dialog->Cell(0, c)->GetValue().utf8_string(), FormatReal(row.mValue[c], 16));
        ASSERT_TRUE(row.mText[c]);
        EXPECT_EQ(*row.mText[c], FormatReal(row.mValue[c], 16));
        EXPECT_FALSE(dialog->Cell(1, c)->IsEnabled());
        EXPECT_EQ(dialog->Cell(1, c)->GetValue(), "");
    }
    EXPECT_EQ(dialog->RotationChoice()->GetStringSelection(), "Octahedral");
    EXPECT_EQ(dialog->ReflectionChoice()->GetStringSelection(), "Horizontal Reflection");
    EXPECT_EQ(dialog->FoldBox()->GetValue(), "5");
    EXPECT_FALSE(dialog->FoldBox()->IsEnabled());
    EXPECT_EQ(dialog->RowLabel(0)->GetLabel(), "0");
    EXPECT_TRUE(dialog->CutButton(0)->IsEnabled());
    EXPECT_FALSE(dialog->CopyButton(1)->IsEnabled());

    PressOk(*dialog);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(Current().mVerts.mCount, 8);
    EXPECT_EQ(Current().GetFaceStellation()->GetNumFaceTypes(), 1);
    ASSERT_TRUE(Current().GetSymGroup());
    EXPECT_EQ(Current().GetSymGroup()->mKind, G::kOctahedral);
    // The same size in the distance unit.
    EXPECT_NEAR(EdgeLength() / 2.0 * GetUnitSettings().GetScale(), halfEdge, 1e-9);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Stellation Planes");
}

TEST_F(StellationPlanesDialogTest, TheIcosahedronsOwnPlaneRebuildsTheIcosahedron)
{
    Open("Icosahedron");
    auto dialog = OpenDialog();
    ASSERT_EQ(dialog->Rows().mCount, 1);
    EXPECT_EQ(dialog->RotationChoice()->GetStringSelection(), "Icosahedral");
    EXPECT_EQ(dialog->ReflectionChoice()->GetStringSelection(), "Horizontal Reflection");
    PressOk(*dialog);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_EQ(Current().mNumEdges, 30);
    const SymGroup* group = Current().GetSymGroup();
    ASSERT_TRUE(group);
    EXPECT_EQ(group->mKind, G::kIcosahedral);
    EXPECT_EQ(group->mOrder, 60);
    EXPECT_NE(group->mReflection, G::kChiral);
}

TEST_F(StellationPlanesDialogTest, TheRotationKindChoosesTheReflectionsOfferedAndTheFold)
{
    auto dialog = OpenDialog();
    EXPECT_EQ(Items(dialog->RotationChoice()),
              (std::vector<std::string>{"Icosahedral", "Octahedral", "Tetrahedral", "N-fold Dihedral",
                                        "N-fold Pyramidal", "No Symmetry"}));
    struct Case
    {
        int kind;
        bool fold;
        std::vector<std::string> reflections;
    };
    const Case cases[] = {
        {G::kIcosahedral, false, {"Horizontal Reflection", "Chiral (No Reflection)"}},
        {G::kTetrahedral, false, {"Horizontal Reflection", "Diagonal Reflection", "Chiral (No Reflection)"}},
        {G::kDihedral, true, {"Horizontal Reflection", "Vertical Reflection", "Chiral (No Reflection)"}},
        {G::kPyramidal, true,
         {"Horizontal Reflection", "Vertical Reflection", "Rotation-Reflection", "Chiral (No Reflection)"}},
        {G::kNoSymmetry, false, {"Horizontal Reflection", "Central Inversion", "Chiral (No Reflection)"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.kind);
        Choose(dialog->ReflectionChoice(), 1);
        Choose(dialog->RotationChoice(), c.kind);
        EXPECT_EQ(dialog->FoldBox()->IsEnabled(), c.fold);
        EXPECT_EQ(Items(dialog->ReflectionChoice()), c.reflections);
        EXPECT_EQ(dialog->ReflectionChoice()->GetSelection(), 0);
    }
}

TEST_F(StellationPlanesDialogTest, AFoldBelowTwoBecomesTwoOnLeavingTheBoxAndAtOk)
{
    auto dialog = OpenDialog();
    Choose(dialog->RotationChoice(), G::kPyramidal);
    dialog->FoldBox()->SetValue("1");
    LoseFocus(dialog->FoldBox());
    EXPECT_EQ(dialog->FoldBox()->GetValue(), "2");
    dialog->FoldBox()->SetValue("7");
    LoseFocus(dialog->FoldBox());
    EXPECT_EQ(dialog->FoldBox()->GetValue(), "7");

    // A cube's face plane round a pyramidal axis encloses nothing, but the fold is settled first.
    dialog->FoldBox()->SetValue("1");
    PressOk(*dialog);
    EXPECT_EQ(dialog->FoldBox()->GetValue(), "2");
    EXPECT_TRUE(dialog->IsShown());
}

TEST_F(StellationPlanesDialogTest, RefusedTablesKeepTheDialogOpenAndTheModelAsItWas)
{
    const char* evaluatorText = nullptr;
    EvaluateExpression("2+", &evaluatorText);
    ASSERT_TRUE(evaluatorText);
    auto dialog = OpenDialog();
    const auto refuse = [&](const std::string& message) {
        mServices.services.Clear();
        PressOk(*dialog);
        EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(LastMessage(), message);
        EXPECT_TRUE(dialog->IsShown());
        ASSERT_NE(Current().mLibraryEntry, nullptr);
        EXPECT_STREQ(Current().mLibraryEntry->mName, "Cube");
        EXPECT_EQ(Current().mFaces.mCount, 6);
        EXPECT_EQ(GetUndoStepCount(), 0);
    };

    dialog->Cell(0, kPlaneRadius)->SetValue("2+");
    refuse(std::string("Equation error for plane 0, column 'Radius'\n") + evaluatorText);

    dialog->Cell(0, kPlaneRadius)->SetValue("1");
    for (int c = kPlaneX; c <= kPlaneZ; ++c)
        dialog->Cell(0, c)->SetValue("0");
    refuse("Plane 0 has no direction: X, Y and Z must not all be zero");

    // One plane with no copies: nothing is enclosed, and the model stays.
    dialog->Cell(0, kPlaneZ)->SetValue("1");
    Choose(dialog->RotationChoice(), G::kNoSymmetry);
    dialog->ReflectionChoice()->SetSelection(2);
    ASSERT_EQ(dialog->ReflectionChoice()->GetStringSelection(), "Chiral (No Reflection)");
    refuse("Planes do not enclose any space.");

    Press(dialog->DeleteAllButton());
    EXPECT_EQ(dialog->Rows().mCount, 0);
    refuse("No planes are defined");
}

TEST_F(StellationPlanesDialogTest, TheWindowOfTenRowsScrollsAndStaysFullOnDelete)
{
    auto dialog = OpenDialog();
    Press(dialog->DeleteAllButton());
    PutNumberedRowsOnClipboard(0, 12);
    Press(dialog->PasteButton());
    ASSERT_EQ(dialog->Rows().mCount, 12);
    EXPECT_EQ(dialog->FirstVisible(), 0);
    EXPECT_EQ(Labels(*dialog), RowTexts(0, 10));
    EXPECT_EQ(ShownRadii(*dialog), RowTexts(0, 10));
    EXPECT_EQ(dialog->ScrollBar()->GetRange(), 12);
    EXPECT_EQ(dialog->ScrollBar()->GetPageSize(), 10);

    struct Step
    {
        wxEventType type;
        int position;
        int first;
    };
    const Step steps[] = {
        {wxEVT_SCROLL_LINEDOWN, 0, 1}, {wxEVT_SCROLL_PAGEDOWN, 0, 2}, {wxEVT_SCROLL_LINEDOWN, 0, 2},
        {wxEVT_SCROLL_LINEUP, 0, 1},   {wxEVT_SCROLL_PAGEUP, 0, 0},   {wxEVT_SCROLL_LINEUP, 0, 0},
        {wxEVT_SCROLL_THUMBTRACK, 7, 2}, {wxEVT_SCROLL_TOP, 0, 0},    {wxEVT_SCROLL_BOTTOM, 0, 2},
    };
    for (const Step& s : steps)
    {
        SCOPED_TRACE(s.first);
        Scroll(dialog->ScrollBar(), s.type, s.position);
        EXPECT_EQ(dialog->FirstVisible(), s.first);
        EXPECT_EQ(dialog->ScrollBar()->GetThumbPosition(), s.first);
    }
    EXPECT_EQ(Labels(*dialog), RowTexts(2, 10));
    EXPECT_EQ(ShownRadii(*dialog), RowTexts(2, 10));

    // Cutting row 11, at the bottom, moves the window back to rows 1 to 10.
    Press(dialog->CutButton(9));
    ASSERT_EQ(dialog->Rows().mCount, 11);
    EXPECT_EQ(dialog->FirstVisible(), 1);
    EXPECT_EQ(Labels(*dialog), RowTexts(1, 10));
    EXPECT_EQ(ShownRadii(*dialog), RowTexts(1, 10));
    ASSERT_EQ(GetPlaneClipboard().mCount, 1);
    EXPECT_EQ(*GetPlaneClipboard().mFirst->mText[kPlaneRadius], "11");

    // With eleven rows from the top on, the window stays and the next row moves up into it.
    Scroll(dialog->ScrollBar(), wxEVT_SCROLL_TOP);
    Press(dialog->CutButton(0));
    EXPECT_EQ(dialog->FirstVisible(), 0);
    EXPECT_EQ(ShownRadii(*dialog), RowTexts(1, 10));
}

TEST_F(StellationPlanesDialogTest, PastedRowsComeIntoViewAndTypingGoesToTheRowShown)
{
    auto dialog = OpenDialog();
    Press(dialog->DeleteAllButton());
    PutNumberedRowsOnClipboard(0, 12);
    Press(dialog->PasteButton());
    ASSERT_EQ(dialog->FirstVisible(), 0);

    PutNumberedRowsOnClipboard(12, 3);
    Press(dialog->PasteButton());
    ASSERT_EQ(dialog->Rows().mCount, 15);
    EXPECT_EQ(dialog->FirstVisible(), 5);
    EXPECT_EQ(Labels(*dialog), RowTexts(5, 10));
    EXPECT_EQ(ShownRadii(*dialog), RowTexts(5, 10));

    // Typing in visible row 2 changes row 7.
    dialog->Cell(2, kPlaneX)->SetValue("sqrt(2)");
    EXPECT_EQ(*dialog->Rows().At(7)->mText[kPlaneX], "sqrt(2)");
    EXPECT_EQ(*dialog->Rows().At(2)->mText[kPlaneX], "0");

    // Add Plane appends "0", "0", "1", "1" and shows it at the bottom.
    Press(dialog->AddPlaneButton());
    ASSERT_EQ(dialog->Rows().mCount, 16);
    EXPECT_EQ(dialog->FirstVisible(), 6);
    for (int c = 0; c < kPlaneColumns; ++c)
        EXPECT_EQ(dialog->Cell(9, c)->GetValue(), c < kPlaneZ ? "0" : "1");

    // Copy All then Cut All: the clipboard holds every row, the table none.
    Press(dialog->CopyAllButton());
    EXPECT_EQ(GetPlaneClipboard().mCount, 16);
    Press(dialog->CutAllButton());
    EXPECT_EQ(dialog->Rows().mCount, 0);
    EXPECT_EQ(dialog->FirstVisible(), 0);
    EXPECT_EQ(GetPlaneClipboard().mCount, 16);
    EXPECT_EQ(*GetPlaneClipboard().At(7)->mText[kPlaneX], "sqrt(2)");
    EXPECT_FALSE(dialog->RowLabel(0)->IsEnabled());
}

TEST_F(StellationPlanesDialogTest, AddMeasurementPlaneNeedsAMeasuredPlane)
{
    auto dialog = OpenDialog();
    Press(dialog->AddMeasurementPlaneButton());
    EXPECT_EQ(dialog->Rows().mCount, 1);
    ASSERT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(LastMessage(),
              "To use this button, first define a plane using Measurement Mode.\n\nTo enter Measurement Mode, use\n"
              "\"Selection->Mouse Selection Mode->Measurement Mode\"\nor its matching toolbar button.");

    // Three measured points on the plane z = -2.
    ResetMeasurement();
    PickedPoints& item = GetPickedSets()[0];
    item.mCount = 3;
    item.GetPoint(0) = Vec4D{0.0, 0.0, -2.0, 0.0};
    item.GetPoint(1) = Vec4D{1.0, 0.0, -2.0, 0.0};
    item.GetPoint(2) = Vec4D{0.0, 1.0, -2.0, 0.0};
    Press(dialog->AddMeasurementPlaneButton());
    ASSERT_EQ(dialog->Rows().mCount, 2);
    const PlaneEquation& row = *dialog->Rows().mLast;
    EXPECT_NEAR(row.mValue[kPlaneX], 0.0, 1e-12);
    EXPECT_NEAR(row.mValue[kPlaneY], 0.0, 1e-12);
    EXPECT_NEAR(row.mValue[kPlaneZ], -1.0, 1e-12);
    EXPECT_NEAR(row.mValue[kPlaneRadius], 2.0 * GetUnitSettings().GetScale(), 1e-12);
}

// A pane that shows the dual offers the dual's planes: for a cube, the octahedron's.
TEST_F(StellationPlanesDialogTest, TheCommandOffersThePlanesOfTheSideTheActivePaneShows)
{
    ModelPane* pane = Panes()[0];
    pane->SetViewType(kViewTypeDual, false);
    pane->Activate(true);
    Pump();
    std::vector<Vec3D> normals;
    DialogDriver driver({[&](wxDialog& top) {
        auto* dialog = dynamic_cast<StellationPlanesDialog*>(&top);
        if (!dialog)
            return false;
        for (const PlaneEquation* row = dialog->Rows().mFirst; row; row = row->next)
            normals.push_back(Vec3D{row->mValue[kPlaneX], row->mValue[kPlaneY], row->mValue[kPlaneZ]});
        DialogDriver::Click(dialog->FindWindow(wxID_CANCEL));
        return true;
    }});
    RunCommand(kCmdStellationPlanes);
    EXPECT_FALSE(driver.TimedOut());
    ASSERT_EQ(normals.size(), 1u);
    for (int a = 0; a < 3; ++a)
        EXPECT_NEAR(std::fabs(normals[0][a]), 1.0 / std::sqrt(3.0), 1e-9);
    EXPECT_EQ(Current().mFaces.mCount, 6);
}

// Through the menu: copied rows outlive the dialog, and the main window frees them when it closes.
TEST_F(StellationPlanesDialogTest, CopiedRowsOutliveTheDialogUntilTheWindowCloses)
{
    mFrame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdStellationPlanes)->IsEnabled());

    DialogDriver first({[&](wxDialog& top) {
        auto* dialog = dynamic_cast<StellationPlanesDialog*>(&top);
        if (!dialog)
            return false;
        dialog->Cell(0, kPlaneRadius)->SetValue("3/2");
        Press(dialog->CopyButton(0));
        DialogDriver::Click(dialog->FindWindow(wxID_CANCEL));
        return true;
    }});
    RunCommand(kCmdStellationPlanes);
    EXPECT_FALSE(first.TimedOut());
    ASSERT_EQ(first.opened.size(), 1u);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(GetUndoStepCount(), 0);

    int rowsAfterPaste = 0;
    std::string pastedRadius;
    DialogDriver second({[&](wxDialog& top) {
        auto* dialog = dynamic_cast<StellationPlanesDialog*>(&top);
        if (!dialog)
            return false;
        // Every opening starts again from the model's planes.
        EXPECT_EQ(dialog->Cell(0, kPlaneRadius)->GetValue().Find('/'), wxNOT_FOUND);
        Press(dialog->PasteButton());
        rowsAfterPaste = dialog->Rows().mCount;
        pastedRadius = dialog->Cell(1, kPlaneRadius)->GetValue().utf8_string();
        // The copied plane alone: a cube of half-edge 3/2.
        Press(dialog->DeleteAllButton());
        Press(dialog->PasteButton());
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    RunCommand(kCmdStellationPlanes);
    EXPECT_FALSE(second.TimedOut());
    EXPECT_EQ(rowsAfterPaste, 2);
    EXPECT_EQ(pastedRadius, "3/2");
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_NEAR(EdgeLength() / 2.0 * GetUnitSettings().GetScale(), 1.5, 1e-9);
    UndoList::Undo();
    ASSERT_NE(Current().mLibraryEntry, nullptr);
    EXPECT_STREQ(Current().mLibraryEntry->mName, "Cube");

    EXPECT_EQ(GetPlaneClipboard().mCount, 1);
    mFrame->Destroy();
    mFrame = nullptr;
    Pump();
    EXPECT_EQ(GetPlaneClipboard().mCount, 0);
}

}  // namespace
