// Transitions between models in the document, driven by the times the tests pass in, and the
// whole-model undo item that replaces the model with one.

#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ProgramClock.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UndoKinds.h"
#include "model/SimplePoly.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
constexpr int kOccasionStartUp = 2;
constexpr int kOccasionBuiltIn = 3;  // the Default: Sideways, 0.5 s

int CountRecords(const CPolyDoc& doc)
{
    int n = 0;
    for (const ModelRecord* r = doc.GetFirstRecord(); r; r = r->next)
        ++n;
    return n;
}

class TransitionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = true;
        ResetTransitionOccasions();
        mDoc = std::make_unique<CPolyDoc>();
        Current().mBaseName = "A";
    }
    void TearDown() override
    {
        mDoc.reset();
        GetDocumentSettings() = mSaved;
        ResetTransitionOccasions();
    }

    Poly& Current() { return mDoc->GetCurrentRecord()->mPoly; }

    // A model change with the occasion's transition at the time: the new model is named.
    ModelRecord* ChangeModel(const char* name, int occasion, double time)
    {
        ModelRecord* old = nullptr;
        Poly* target = mDoc->PrepareTransitionOfType(occasion, old);
        target->mBaseName = name;
        mDoc->StartTransitionOfType(occasion, time, old, false, false);
        return mDoc->GetCurrentRecord();
    }

    RecordingShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    std::unique_ptr<CPolyDoc> mDoc;
};

TEST_F(TransitionTest, OnlyAMovingTransitionLongerThanAHundredthIsPrepared)
{
    struct Case
    {
        const char* name;
        bool enabled;
        bool force;
        int type;
        double duration;
        bool prepared;
    };
    const Case cases[] = {
        {"exactly 0.01 s", true, false, TransitionSettings::kTypeSideways, 0.01, false},
        {"0.011 s", true, false, TransitionSettings::kTypeSideways, 0.011, true},
        {"no transition", true, false, TransitionSettings::kTypeNone, 0.5, false},
        {"transitions off", false, false, TransitionSettings::kTypeOrbit, 0.5, false},
        {"transitions off, forced", false, true, TransitionSettings::kTypeOrbit, 0.5, true},
        {"the Default type", true, false, TransitionSettings::kTypeDefault, 0.5, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mDoc = std::make_unique<CPolyDoc>();
        GetDocumentSettings().enableTransitions = c.enabled;
        Current().mShowDual = true;
        ModelRecord* before = mDoc->GetCurrentRecord();
        TransitionSettings s;
        s.type = c.type;
        s.duration = c.duration;
        ModelRecord* old = nullptr;
        Poly* target = mDoc->PrepareTransition(s, old, c.force);
        EXPECT_EQ(old, before);
        EXPECT_EQ(target, &Current());
        EXPECT_EQ(CountRecords(*mDoc), c.prepared ? 2 : 1);
        EXPECT_EQ(mDoc->GetCurrentRecord() != before, c.prepared);
        EXPECT_TRUE(Current().mShowDual) << "the new model shows the same side";
        EXPECT_EQ(mDoc->StartTransition(s, 1.0, old, false, false), c.prepared);
    }
}

TEST_F(TransitionTest, TheOldModelLeavesTheNewArrivesAndTheLeavingRecordGoes)
{
    ModelRecord* first = mDoc->GetCurrentRecord();
    ModelRecord* second = ChangeModel("B", kOccasionBuiltIn, 10.0);
    ASSERT_NE(second, first);
    const Poly& leaving = first->mPoly;
    const Poly& arriving = second->mPoly;
    EXPECT_TRUE(leaving.InTransition());
    EXPECT_FALSE(leaving.mIncoming);
    EXPECT_TRUE(arriving.mIncoming);
    EXPECT_EQ(arriving.mTransition.type, TransitionSettings::kTypeSideways);
    EXPECT_DOUBLE_EQ(arriving.mTransitionEnd, 10.5);
    EXPECT_DOUBLE_EQ(arriving.mTransitionProgress, 0.0);

    EXPECT_TRUE(mDoc->AdvanceTransitions(10.125));
    EXPECT_DOUBLE_EQ(arriving.mTransitionProgress, 0.25);
    EXPECT_DOUBLE_EQ(arriving.mDisplayScale, 0.25);
    EXPECT_DOUBLE_EQ(leaving.mTransitionProgress, 0.75);
    EXPECT_DOUBLE_EQ(leaving.mDisplayScale, 0.75);
    EXPECT_EQ(CountRecords(*mDoc), 2);

    EXPECT_TRUE(mDoc->AdvanceTransitions(10.5)) << "the step that ends a transition still reports it";
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(mDoc->GetCurrentRecord(), second);
    EXPECT_FALSE(arriving.InTransition());
    EXPECT_DOUBLE_EQ(arriving.mTransitionProgress, 1.0);
    EXPECT_DOUBLE_EQ(arriving.mDisplayScale, 1.0);
    EXPECT_FALSE(mDoc->AdvanceTransitions(10.6));
}

TEST_F(TransitionTest, ATimeBeforeTheStartEndsTheTransition)
{
    ChangeModel("B", kOccasionBuiltIn, 10.0);
    EXPECT_TRUE(mDoc->AdvanceTransitions(9.0));
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(Current().mBaseName, "B");
    EXPECT_FALSE(Current().InTransition());
}

TEST_F(TransitionTest, CancellingGoesBackToTheOldRecord)
{
    ModelRecord* first = mDoc->GetCurrentRecord();
    ModelRecord* old = nullptr;
    mDoc->PrepareTransitionOfType(kOccasionBuiltIn, old);
    ASSERT_EQ(old, first);
    mDoc->CancelTransition(old);
    EXPECT_EQ(mDoc->GetCurrentRecord(), first);
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(Current().mBaseName, "A");
    mDoc->CancelTransition(first);  // the current record: nothing happens
    EXPECT_EQ(CountRecords(*mDoc), 1);
}

TEST_F(TransitionTest, AModelStillArrivingLeavesWithTheNextTransitionRightAfterArriving)
{
    ModelRecord* a = mDoc->GetCurrentRecord();
    ModelRecord* b = ChangeModel("B", kOccasionStartUp, 0.0);  // Shrink & Implode, 2 s
    ModelRecord* c = ChangeModel("C", kOccasionBuiltIn, 0.2);  // Sideways, 0.5 s
    EXPECT_EQ(CountRecords(*mDoc), 3);
    // The running transitions are compressed to the new length from 0.2 on.
    const double compressedEnd = 0.2 + (2.0 - 0.2) * 0.5 / 2.0;
    EXPECT_DOUBLE_EQ(a->mPoly.mTransitionEnd, compressedEnd);
    EXPECT_DOUBLE_EQ(b->mPoly.mTransitionEnd, compressedEnd);
    EXPECT_EQ(b->mPoly.mQueuedTransition.type, TransitionSettings::kTypeSideways);
    EXPECT_EQ(a->mPoly.mQueuedTransition.type, TransitionSettings::kNoChain) << "a leaving model chains nothing";
    EXPECT_DOUBLE_EQ(c->mPoly.mTransitionEnd, 0.7);

    mDoc->AdvanceTransitions(compressedEnd + 0.01);
    EXPECT_EQ(CountRecords(*mDoc), 2) << "the first model is gone";
    EXPECT_TRUE(b->mPoly.InTransition());
    EXPECT_FALSE(b->mPoly.mIncoming);
    EXPECT_EQ(b->mPoly.mTransition.type, TransitionSettings::kTypeSideways);
    EXPECT_EQ(b->mPoly.mQueuedTransition.type, TransitionSettings::kNoChain);
    EXPECT_DOUBLE_EQ(b->mPoly.mScaleTarget, 0.0);

    mDoc->AdvanceTransitions(0.7);
    EXPECT_FALSE(c->mPoly.InTransition());
    mDoc->AdvanceTransitions(compressedEnd + 0.01 + 0.5);
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(mDoc->GetCurrentRecord(), c);
}

TEST_F(TransitionTest, AnArrivingModelIsRetargetedToJoinItsLeaving)
{
    ModelRecord* b = ChangeModel("B", kOccasionBuiltIn, 0.0);
    mDoc->AdvanceTransitions(0.25);
    ASSERT_DOUBLE_EQ(b->mPoly.mDisplayScale, 0.5);
    ChangeModel("C", kOccasionBuiltIn, 0.25);
    // The end value x (1 - left / (length + left)) with x 0.5, 0.25 s left of 0.5 s; the path
    // still passes through 0.5 at 0.25 s.
    const double target = 0.5 * (1.0 - 0.25 / 0.75);
    EXPECT_DOUBLE_EQ(b->mPoly.mScaleTarget, target);
    EXPECT_DOUBLE_EQ(b->mPoly.mScaleStart + (target - b->mPoly.mScaleStart) * 0.5, 0.5);
    EXPECT_DOUBLE_EQ(b->mPoly.mTransitionEnd, 0.5) << "not shorter: not retimed";
}

TEST_F(TransitionTest, ARandomTransitionTakesTheTypeOfTheOneRunning)
{
    TransitionSettings random;
    random.type = TransitionSettings::kTypeRandom;
    random.duration = 1.0;
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u})
    {
        SCOPED_TRACE(seed);
        mDoc = std::make_unique<CPolyDoc>();
        SeedTransitionRandom(seed);
        ModelRecord* old = nullptr;
        mDoc->PrepareTransition(random, old, false);
        mDoc->StartTransition(random, 5.0, old, false, false);
        const int first = Current().mTransition.type;
        EXPECT_GE(first, TransitionSettings::kTypeSideways);
        EXPECT_LE(first, TransitionSettings::kTypeExplodeImplode);
        EXPECT_EQ(old->mPoly.mTransition.type, first);
        mDoc->PrepareTransition(random, old, false);
        mDoc->StartTransition(random, 5.3, old, false, false);
        EXPECT_EQ(Current().mTransition.type, first);
    }
}

TEST_F(TransitionTest, InvertedTransitionsRunBackwards)
{
    {
        InverseTransitionScope backwards(true);
        ChangeModel("B", kOccasionBuiltIn, 0.0);
    }
    EXPECT_DOUBLE_EQ(Current().mTransition.sidewaysAngle, 210.0);
    EXPECT_DOUBLE_EQ(Current().mTransition.sidewaysSpin, -3.0);
    {
        InverseTransitionScope backwards(true);
        ChangeModel("C", kOccasionStartUp, 0.1);
    }
    EXPECT_EQ(Current().mTransition.type, TransitionSettings::kTypeExplodeGrow);
    EXPECT_DOUBLE_EQ(Current().mTransition.explodeSpin, -2.0);
}

TEST_F(TransitionTest, SwitchingTransitionsOffEndsThemAtOnce)
{
    ModelRecord* b = ChangeModel("B", kOccasionBuiltIn, 0.0);
    mDoc->AdvanceTransitions(0.1);
    EnableTransitions(false);
    EXPECT_FALSE(AreTransitionsEnabled());
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(mDoc->GetCurrentRecord(), b);
    EXPECT_FALSE(b->mPoly.InTransition());
    EXPECT_DOUBLE_EQ(b->mPoly.mDisplayScale, 1.0);
    EXPECT_DOUBLE_EQ(b->mPoly.mTransitionProgress, 1.0);
}

TEST_F(TransitionTest, TheOnlyRecordIsNeverDeleted)
{
    Poly& only = Current();
    only.mIncoming = false;
    only.mTransitionEnd = 3.0;
    only.mDisplayScale = 0.2;
    mDoc->FinishTransition(mDoc->GetCurrentRecord());
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(Current().mBaseName, "A");
    EXPECT_FALSE(Current().InTransition());
    EXPECT_DOUBLE_EQ(Current().mDisplayScale, 1.0);
}

TEST_F(TransitionTest, AFailedBuildKeepsTheCurrentModel)
{
    struct Case
    {
        const char* name;
        bool transitions;
        bool succeeds;
        int records;
    };
    const Case cases[] = {
        {"in place, failing", false, false, 1},
        {"in place, succeeding", false, true, 1},
        {"animated, failing", true, false, 1},
        {"animated, succeeding", true, true, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mDoc = std::make_unique<CPolyDoc>();
        GetDocumentSettings().enableTransitions = c.transitions;
        Current().mBaseName = "A";
        mDoc->SetPathName("/models/a.orva", false);
        ModelRecord* before = mDoc->GetCurrentRecord();
        const bool built = mDoc->BuildNewModel(
            kOccasionBuiltIn,
            [&](Poly& poly) {
                EXPECT_NE(&poly, &before->mPoly) << "never built over the current model";
                poly.mBaseName = "B";
                return c.succeeds;
            },
            false);
        EXPECT_EQ(built, c.succeeds);
        EXPECT_EQ(CountRecords(*mDoc), c.records);
        EXPECT_EQ(Current().mBaseName, c.succeeds ? "B" : "A");
        EXPECT_EQ(mDoc->GetCurrentRecord() == before, !c.succeeds);
        if (!c.succeeds || !c.transitions)
        {
            EXPECT_EQ(mDoc->GetPathName(), "/models/a.orva");
        }
    }
}

TEST_F(TransitionTest, ABuiltModelArrivesOnTheProgramClock)
{
    // Frame export freezes the clock; so does this test, to know when the transition started.
    const double previous = SetFrozenTime(100.0);
    ASSERT_TRUE(mDoc->BuildNewModel(
        kOccasionBuiltIn,
        [](Poly& poly) {
            poly.mBaseName = "B";
            return true;
        },
        true));
    SetFrozenTime(previous);
    EXPECT_TRUE(Current().mIncoming);
    EXPECT_DOUBLE_EQ(Current().mTransitionEnd, 100.5);
    EXPECT_TRUE(mDoc->AdvanceTransitions(100.25));
    EXPECT_EQ(CountRecords(*mDoc), 2) << "both models are shown during the transition";
    EXPECT_TRUE(mDoc->AdvanceTransitions(100.5));
    EXPECT_EQ(CountRecords(*mDoc), 1);
}

// ---- The whole-model undo item ----

class WholeModelUndoTest : public TransitionTest
{
protected:
    void SetUp() override
    {
        TransitionTest::SetUp();
        if (IsSkipped())
            return;
        ClearUndoList();
        SetUndoItemMaker(nullptr);
        // The model's name stands for the model: the plain copy carries it across.
        WholeModelUndo::SetModelFunctions(
            [](Poly& poly) {
                auto copy = std::make_unique<SimplePoly>(4, 4);
                copy->mName = poly.mBaseName;
                return copy;
            },
            [this](const SimplePoly& copy, Poly& poly) {
                if (copy.mName == mUnbuildable)
                    return false;
                poly.mBaseName = copy.mName;
                poly.mMatchingStatus = Poly::kMatchingFinished;
                return true;
            });
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        TransitionTest::TearDown();
    }

    // What opening a library model does to the list and the model, without a transition.
    void OpenModel(const char* name)
    {
        BeginUndoGroup(kUndoOpenBuiltInModel);
        Current().mBaseName = name;
        mDoc->SetPathName(nullptr, false);
        EndUndoGroup();
    }

    std::string mUnbuildable = "none";
    ScopedScriptedServices mServices;
};

class MessageShell : public RecordingShell
{
public:
    void SetViewMessage(void*, const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

TEST_F(WholeModelUndoTest, UndoAndRedoExchangeTheModelAndItsPath)
{
    MessageShell shell;
    ScopedShell scope(&shell);
    GetDocumentSettings().enableTransitions = false;
    mDoc->SetPathName("/models/cube.orva", false);
    OpenModel("Icosahedron");
    ASSERT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(true), "&Undo Open Built-in Model\tCtrl+Z");
    // The plain copy, the path with its terminator and the item's own bytes.
    const auto* item = dynamic_cast<const WholeModelUndo*>(GetNewestUndoItem());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetStoredModel()->mName, "A");
    EXPECT_EQ(GetUndoSize(), int(SimplePoly::GetMemorySize(item->GetStoredModel())) + 18 + 40);

    UndoList::Undo();
    EXPECT_EQ(Current().mBaseName, "A");
    EXPECT_EQ(mDoc->GetPathName(), "/models/cube.orva");
    EXPECT_EQ(CountRecords(*mDoc), 1) << "with transitions off the model is replaced in place";
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_EQ(shell.messages.back(), "Undid Open Built-in Model");
    EXPECT_EQ(RedoMenuText(true), "&Redo Open Built-in Model\tCtrl+R");

    UndoList::Redo();
    EXPECT_EQ(Current().mBaseName, "Icosahedron");
    EXPECT_EQ(mDoc->GetPathName(), "");
    EXPECT_EQ(shell.messages.back(), "Redid Open Built-in Model");
    UndoList::Undo();
    EXPECT_EQ(Current().mBaseName, "A");
}

TEST_F(WholeModelUndoTest, UndoPlaysTheKindsTransitionBackwardsAndRedoForwards)
{
    struct Case
    {
        const char* name;
        bool recordedBackwards;  // as Previous Polyhedron records its step
        double undoAngle;
        double redoAngle;
    };
    const Case cases[] = {
        {"a forward step", false, 210.0, 30.0},
        {"a step recorded backwards", true, 30.0, 210.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ClearUndoList();
        mDoc = std::make_unique<CPolyDoc>();
        Current().mBaseName = "A";
        {
            InverseTransitionScope backwards(c.recordedBackwards);
            OpenModel("B");
        }
        UndoList::Undo();
        EXPECT_EQ(CountRecords(*mDoc), 2);
        EXPECT_EQ(Current().mBaseName, "A");
        EXPECT_TRUE(Current().mIncoming);
        EXPECT_EQ(Current().mTransition.type, TransitionSettings::kTypeSideways);
        EXPECT_DOUBLE_EQ(Current().mTransition.sidewaysAngle, c.undoAngle);
        mDoc->FinishAllTransitions();
        EXPECT_EQ(CountRecords(*mDoc), 1);

        UndoList::Redo();
        EXPECT_EQ(Current().mBaseName, "B");
        EXPECT_DOUBLE_EQ(Current().mTransition.sidewaysAngle, c.redoAngle);
        mDoc->FinishAllTransitions();
    }
}

TEST_F(WholeModelUndoTest, AModelThatCannotBeRebuiltStaysStoredAndTheCurrentOneStays)
{
    mUnbuildable = "A";
    OpenModel("B");
    ModelRecord* before = mDoc->GetCurrentRecord();
    UndoList::Undo();
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Undo failed");
    EXPECT_EQ(mDoc->GetCurrentRecord(), before);
    EXPECT_EQ(CountRecords(*mDoc), 1);
    EXPECT_EQ(Current().mBaseName, "B");
    const auto* item = dynamic_cast<const WholeModelUndo*>(GetNewestUndoItem());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetStoredModel()->mName, "A") << "kept for a later try";
}

TEST_F(WholeModelUndoTest, NothingIsRecordedWithoutAFinishedModelOrAWayToRebuild)
{
    // Create New Model needs a finished model to record.
    Current().mMatchingStatus = Poly::kMatchingRunning;
    AddUndo(kUndoCreateNewModel, false);
    EXPECT_TRUE(IsUndoListEmpty());
    Current().mMatchingStatus = Poly::kMatchingOpenBranches;
    AddUndo(kUndoCreateNewModel, false);
    EXPECT_EQ(GetUndoStepCount(), 1);

    ClearUndoList();
    WholeModelUndo::SetModelFunctions(nullptr, nullptr);
    AddUndo(kUndoOpenBuiltInModel, false);
    EXPECT_TRUE(IsUndoListEmpty()) << "a step that could never be applied is not offered";
}
}  // namespace
