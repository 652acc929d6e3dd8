// Poly > Try to Make Faces Regular from the main window: the relaxed model as one undo step, and a
// relaxation that fails or is cancelled changing nothing.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "model/CreatePoly.h"
#include "kernel/ColorRGB.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
int64_t gClockMs = 0;
// Every reading is two seconds later, so that the progress window opens at once.
int64_t RacingClock()
{
    return gClockMs += 2000;
}

// A box with corners (±1, ±1, ±1.3), its faces counter-clockwise seen from outside.
std::unique_ptr<SimplePoly> MakeBox()
{
    auto box = std::make_unique<SimplePoly>(8, 6);
    for (int i = 0; i < 8; ++i)
        box->mVerts[i].SetPosXYZ(i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.3 : -1.3);
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (int f = 0; f < 6; ++f)
    {
        box->mFaces[f].SetNumVerts(4);
        for (int k = 0; k < 4; ++k)
            box->mFaces[f].SetVert(k, &box->mVerts[faces[f][k]]);
    }
    return box;
}

class MakeFacesRegularTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        std::unique_ptr<SimplePoly> box = MakeBox();
        ASSERT_TRUE(SetModelFromSimplePoly(box.get(), -1, false, false));
        ClearUndoList();
        mServices.services.Clear();
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
            GetDocumentSettings() = mSaved;
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    struct EdgeRange
    {
        double shortest = 1e300;
        double longest = 0.0;
    };
    EdgeRange Edges()
    {
        EdgeRange range;
        for (const Edge& edge : Current().mEdges)
        {
            range.shortest = std::min(range.shortest, edge.GetLength(false));
            range.longest = std::max(range.longest, edge.GetLength(false));
        }
        return range;
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};
}  // namespace

TEST_F(MakeFacesRegularTest, TheBoxBecomesTheCubeAsOneUndoStep)
{
    EXPECT_EQ(GetCommandMenuText(kCmdMakeFacesRegular), "Poly->Try to Make Faces Regular");
    mFrame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdMakeFacesRegular)->IsEnabled());
    const EdgeRange before = Edges();
    ASSERT_NEAR(before.longest / before.shortest, 1.3, 1e-9);
    EXPECT_STREQ(SymGroup::GetSchoenflies(Current().GetSymGroup()), "D4h");

    // The faces keep the colours they had, though the cube's faces are all of one type now.
    std::vector<uint32_t> colors;
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        colors.push_back(ColorToRGB(f->mColor));
    ASSERT_NE(colors.front(), colors.back());  // a side and an end

    RunCommand(kCmdMakeFacesRegular);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    size_t k = 0;
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext, ++k)
        EXPECT_EQ(ColorToRGB(f->mColor), colors[k]) << k;
    EXPECT_EQ(Current().mVerts.mCount, 8);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    const EdgeRange after = Edges();
    EXPECT_NEAR(after.longest, after.shortest, 1e-6 * after.longest);
    EXPECT_STREQ(SymGroup::GetSchoenflies(Current().GetSymGroup()), "Oh");
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Create Spring Model");

    UndoList::Undo();
    const EdgeRange undone = Edges();
    EXPECT_NEAR(undone.longest / undone.shortest, 1.3, 1e-9);
    EXPECT_STREQ(SymGroup::GetSchoenflies(Current().GetSymGroup()), "D4h");
}

TEST_F(MakeFacesRegularTest, ACancelledRelaxationChangesNothing)
{
    const ProgressClock previous = SetProgressClock(RacingClock);
    mServices.services.cancelAtPump = 0;
    RunCommand(kCmdMakeFacesRegular);
    SetProgressClock(previous);
    EXPECT_GE(mServices.services.progressOpened, 1);
    ASSERT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Could not make faces regular.");
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->caption, "Error");
    const EdgeRange edges = Edges();
    EXPECT_NEAR(edges.longest / edges.shortest, 1.3, 1e-9);
    EXPECT_EQ(GetUndoStepCount(), 0);
    EXPECT_FALSE(CanUndo());
}
