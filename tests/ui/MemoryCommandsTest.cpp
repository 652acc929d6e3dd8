// Edit > Put Model in Memory, Retrieve, Swap, Clear and Add/Blend, the M and Shift+M questions, and
// the stored cameras of View > Camera.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/MemorySlots.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "polytope4d/Polytope4D.h"
#include "render/ViewSnapshot.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
class MemoryCommandsTest : public MainFrameFixture
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
        ClearMemorySlots();
        Open("Cube");
        ClearUndoList();
        mServices.services.Clear();
        mPane = Panes().front();
        mPane->Activate(false);
    }
    void TearDown() override
    {
        ClearMemorySlots();
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSaved;
            GetUnitSettings().SetScale(mSavedScale, false);
        }
        MainFrameFixture::TearDown();
    }

    void Open(const char* name) { ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(name, nullptr, false))); }
    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    std::vector<Vec3D> Positions() const
    {
        std::vector<Vec3D> points;
        for (const FaceVert* v = Current().mVerts.mFirst; v; v = v->mNext)
            points.push_back(v->mPoint);
        return points;
    }

    bool ItemEnabled(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        const wxMenuItem* item = mFrame->GetMenuBar()->FindItem(id);
        return item && item->IsEnabled();
    }
    std::string ItemText(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        const wxMenuItem* item = mFrame->GetMenuBar()->FindItem(id);
        return item ? item->GetItemLabelText().ToStdString() : std::string();
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    double mSavedScale = 1.0;
    ModelPane* mPane = nullptr;
};

TEST_F(MemoryCommandsTest, PutRetrieveAndSwap)
{
    EXPECT_EQ(ItemText(kCmdRetrieveFromMemory3), "Memory 3 (Empty)");
    EXPECT_FALSE(ItemEnabled(kCmdRetrieveFromMemory3));
    EXPECT_TRUE(ItemEnabled(kCmdPutInMemory3));
    EXPECT_FALSE(ItemEnabled(kCmdClearAllMemories));

    // Put the cube into slot 3: the pane says so and the menus name it.
    const std::vector<Vec3D> cube = Positions();
    RunCommand(kCmdPutInMemory3);
    ASSERT_NE(GetMemorySlot(2), nullptr);
    EXPECT_EQ(mPane->GetMessage(), "The model in this view (6 faces, 8 vertices)\n  has been put into memory slot 3.");
    EXPECT_EQ(ItemText(kCmdRetrieveFromMemory3), "Memory 3 (Cube)");
    EXPECT_TRUE(ItemEnabled(kCmdRetrieveFromMemory3));
    EXPECT_TRUE(ItemEnabled(kCmdClearAllMemories));
    EXPECT_EQ(GetUndoStepCount(), 0) << "putting a model aside changes nothing to undo";

    // Retrieve it over another model: same vertices, one undo step, the slot keeps it.
    Open("Octahedron");
    ClearUndoList();
    RunCommand(kCmdRetrieveFromMemory3);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    ASSERT_EQ(Positions().size(), cube.size());
    for (size_t i = 0; i < cube.size(); ++i)
    {
        EXPECT_NEAR(Positions()[i].x, cube[i].x, 1e-12);
        EXPECT_NEAR(Positions()[i].y, cube[i].y, 1e-12);
        EXPECT_NEAR(Positions()[i].z, cube[i].z, 1e-12);
    }
    EXPECT_EQ(UndoMenuText(false), "&Undo Retrieve from Memory");
    EXPECT_NE(GetMemorySlot(2), nullptr);
    UndoList::Undo();
    EXPECT_EQ(Current().mFaces.mCount, 8);

    // An empty slot: retrieving (run anyway) and swapping do nothing.
    ClearUndoList();
    RunCommand(kCmdRetrieveFromMemory5);
    RunCommand(kCmdSwapWithMemory5);
    EXPECT_EQ(Current().mFaces.mCount, 8);
    EXPECT_EQ(GetUndoStepCount(), 0);
    EXPECT_EQ(GetMemorySlot(4), nullptr);

    // Swap with the cube's slot: the octahedron goes in, the cube comes out.
    RunCommand(kCmdSwapWithMemory3);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    ASSERT_NE(GetMemorySlot(2), nullptr);
    EXPECT_EQ(GetMemorySlot(2)->mNumFaces, 8);
    EXPECT_EQ(GetMemoryText(2), "Memory 3 (Octahedron)");

    RunCommand(kCmdClearMemory3);
    EXPECT_EQ(GetMemorySlot(2), nullptr);
    EXPECT_FALSE(ItemEnabled(kCmdClearAllMemories));
}

TEST_F(MemoryCommandsTest, TheQuestionsOfMAndShiftM)
{
    mServices.services.PushAnswer(6);
    RunCommand(kCmdPutInMemoryAsk);
    const ScriptedServices::Call* put = mServices.services.LastCall("Question");
    ASSERT_NE(put, nullptr);
    EXPECT_EQ(put->caption, "Put Model in Memory");
    std::string buttons;
    for (int slot = 1; slot <= 9; ++slot)
        buttons += "Memory " + std::to_string(slot) + " (Empty)|";
    EXPECT_EQ(put->text, "Which memory slot would you like\nto put the model in?\n[" + buttons + "Cancel]");
    ASSERT_NE(GetMemorySlot(6), nullptr);

    // Retrieve's box: the empty slots cannot be chosen; the cancel label does nothing.
    Open("Octahedron");
    ClearUndoList();
    mServices.services.PushAnswer(0);  // empty: skipped as a click on a disabled button
    mServices.services.cancelUnanswered = true;
    RunCommand(kCmdRetrieveFromMemoryAsk);
    mServices.services.cancelUnanswered = false;
    const ScriptedServices::Call* retrieve = mServices.services.LastCall("Question");
    ASSERT_NE(retrieve, nullptr);
    EXPECT_EQ(retrieve->caption, "Retrieve Model from Memory");
    EXPECT_EQ(retrieve->text.substr(0, std::strlen("Which memory slot would you like\nto retrieve a model from?")),
              "Which memory slot would you like\nto retrieve a model from?");
    EXPECT_NE(retrieve->text.find("|Memory 7 (Cube)|"), std::string::npos);
    EXPECT_EQ(Current().mFaces.mCount, 8);
    EXPECT_EQ(GetUndoStepCount(), 0);

    mServices.services.PushAnswer(6);
    RunCommand(kCmdRetrieveFromMemoryAsk);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(UndoMenuText(false), "&Undo Retrieve from Memory");
}

TEST_F(MemoryCommandsTest, AddFromMemoryMakesTheCompound)
{
    RunCommand(kCmdPutInMemory1);
    Open("Octahedron");
    ClearUndoList();
    RunCommand(kCmdAddFromMemory1);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 14);
    EXPECT_EQ(Current().mEdges.count, 24);
    EXPECT_EQ(Current().mVerts.mCount, 14);
    ASSERT_NE(Current().GetNameFor(false), nullptr);
    EXPECT_STREQ(Current().GetNameFor(false), "Compound of Octahedron and Cube");
    ASSERT_NE(Current().GetNameFor(true), nullptr);
    EXPECT_STREQ(Current().GetNameFor(true), "Compound of Cube and Octahedron");
    EXPECT_EQ(UndoMenuText(false), "&Undo Add from Memory");

    // A 4D model in a slot cannot be added to a 3D one.
    auto fourD = std::make_unique<SimplePoly>();
    auto polytope = std::make_unique<Polytope4D>();
    polytope->mNumCells = 8;
    polytope->mNumVerts = 16;
    fourD->InitFromPolytope4D(std::move(polytope), false);
    SetMemorySlot(1, std::move(fourD));
    ClearUndoList();
    RunCommand(kCmdAddFromMemory2);
    const ScriptedServices::Call* refusal = mServices.services.LastCall("MessageBox");
    ASSERT_NE(refusal, nullptr);
    EXPECT_EQ(refusal->text, "You can't add these models.\nOne is 3D and the other is 4D.");
    EXPECT_EQ(Current().mFaces.mCount, 14);
    EXPECT_EQ(GetUndoStepCount(), 0);
}

bool SameCamera(const ViewSnapshot& a, const ViewSnapshot& b)
{
    return std::memcmp(&a.eye, &b.eye, sizeof a.eye) == 0 && std::memcmp(&a.right, &b.right, sizeof a.right) == 0 &&
           std::memcmp(&a.up, &b.up, sizeof a.up) == 0 &&
           std::memcmp(&a.backward, &b.backward, sizeof a.backward) == 0 && a.fov == b.fov &&
           a.halfHeight == b.halfHeight && a.orthogonal == b.orthogonal;
}

TEST_F(MemoryCommandsTest, StoredCamerasComeBackBitForBit)
{
    for (int i = 0; i < kNumCameraMemories; ++i)
        *GetCameraMemory(i) = ViewSnapshot{};
    EXPECT_FALSE(ItemEnabled(kCmdUseCamera4));
    EXPECT_TRUE(ItemEnabled(kCmdStoreCamera4));
    EXPECT_TRUE(ItemEnabled(kCmdUseDefaultCamera));

    mPane->RotateView(1, 37.0);
    mPane->RotateView(0, -12.0);
    mPane->SetVerticalFOV(23.5f);
    mPane->ScaleCameraDistance(1.7);
    ViewSnapshot turned;
    turned.Save(*mPane);
    RunCommand(kCmdStoreCamera2);
    EXPECT_TRUE(ItemEnabled(kCmdUseCamera2));
    EXPECT_FALSE(ItemEnabled(kCmdUseCamera4));

    RunCommand(kCmdUseDefaultCamera);
    ViewSnapshot reset;
    reset.Save(*mPane);
    EXPECT_FALSE(SameCamera(reset, turned));

    mPane->GetTumbleThrow().Start(100.0f, 40.0f);
    ASSERT_TRUE(mPane->GetTumbleThrow().IsMoving());
    RunCommand(kCmdUseCamera2);
    EXPECT_FALSE(mPane->GetTumbleThrow().IsMoving());
    ViewSnapshot back;
    back.Save(*mPane);
    EXPECT_TRUE(SameCamera(back, turned));
}
}  // namespace
