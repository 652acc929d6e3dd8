// Opening library models and stepping through the library: one undo step each, the old model kept
// when a row cannot be built.

#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TransitionSettings.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/CreatePoly.h"
#include "model/SimplePoly.h"
#include "support/ModelUndoByCopy.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

namespace
{
class OpenLibraryModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        mDoc = std::make_unique<CPolyDoc>();
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        mDoc.reset();
        GetDocumentSettings() = mSaved;
    }

    const Poly& Current() const { return mDoc->GetCurrentRecord()->mPoly; }
    std::string CurrentName() const { return Current().mLibraryEntry ? Current().mLibraryEntry->mName : ""; }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    std::unique_ptr<CPolyDoc> mDoc;
};

TEST_F(OpenLibraryModelTest, NextAndPreviousStepThroughTheLibraryAndUndoGoesBack)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    EXPECT_EQ(CurrentName(), "Icosahedron");
    EXPECT_EQ(Current().mFaces.mCount, 20);
    ClearUndoList();

    mDoc->StepModel(1);
    const std::string next = CurrentName();
    EXPECT_NE(next, "Icosahedron");
    EXPECT_GT(Current().mFaces.mCount, 0);
    ASSERT_TRUE(CanUndo());
    EXPECT_EQ(GetUndoStepCount(), 1) << "one step for the whole opening";

    UndoList::Undo();
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_EQ(Current().mVerts.mCount, 12);
    UndoList::Redo();
    EXPECT_EQ(CurrentName(), next);

    // Previous from the next row comes back to the icosahedron.
    mDoc->StepModel(-1);
    EXPECT_EQ(CurrentName(), "Icosahedron");
}

TEST_F(OpenLibraryModelTest, ARowThatCannotBeBuiltLeavesTheModelAndNoUndoStep)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    ClearUndoList();
    EXPECT_FALSE(mDoc->OpenLibraryModel(nullptr));
    // The coordinates of this near miss are not in this version.
    const LibraryEntry* hard = FindLibraryEntry("Dodecagonal-faced Polyhedron", nullptr, false);
    ASSERT_NE(hard, nullptr);
    EXPECT_FALSE(mDoc->OpenLibraryModel(hard));
    EXPECT_EQ(CurrentName(), "Icosahedron");
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_FALSE(CanUndo());
}

// The two rows whose figure wraps twice round each vertex open by name, with the row's counts and
// nothing said; undo and redo bring them back through the plain model, whose edge analysis takes
// the four faces at some edges of the disnub in its stride.
TEST_F(OpenLibraryModelTest, TheDoublyWoundRowsOpenByNameAndComeBackWithRedo)
{
    struct Case
    {
        const char* name;
        int f, e, v;
    };
    const Case cases[] = {{"Great Dirhombicosidodecahedron", 124, 240, 60},
                          {"Great Disnub Dirhombidodecahedron", 204, 360, 60}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
        ClearUndoList();
        ASSERT_TRUE(mDoc->OpenModelByName(c.name));
        EXPECT_EQ(CurrentName(), c.name);
        auto expectCounts = [&] {
            EXPECT_EQ(Current().mFaces.mCount, c.f);
            EXPECT_EQ(Current().mNumEdges, c.e);
            EXPECT_EQ(Current().mVerts.mCount, c.v);
        };
        expectCounts();
        EXPECT_EQ(GetUndoStepCount(), 1);
        UndoList::Undo();
        EXPECT_EQ(CurrentName(), "Icosahedron");
        UndoList::Redo();
        expectCounts();
    }
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}

// A typed configuration that cannot close says why, and the model in the window stays.
TEST_F(OpenLibraryModelTest, AConfigurationThatCannotBeBuiltSaysWhyAndKeepsTheModel)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    ClearUndoList();
    EXPECT_FALSE(mDoc->OpenModelByName("3.4.3.4/3.3"));
    const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->text, "Failed: Found vertex where three faces would meet at one edge: '3, 4, 3, -, -.'");
    EXPECT_EQ(CurrentName(), "Icosahedron");
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_FALSE(CanUndo());
}
}  // namespace

namespace
{
// Next Polyhedron through the whole library comes back to where it started; a row that cannot be
// built yet leaves the model in place, and the next step goes on past it. Spring-built rows without
// coordinates are never stepped to; the 4D rows are.
TEST_F(OpenLibraryModelTest, AFullCycleOfNextVisitsEveryRowButTheFamiliesAndComesBack)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    const LibraryEntry* start = Current().mLibraryEntry;
    int steps = 0;
    int built = 0;
    int lastBuiltStep = 0;
    while (steps < 400)
    {
        const LibraryEntry* before = Current().mLibraryEntry;
        mDoc->StepModel(1);
        ++steps;
        ASSERT_TRUE(Current().mFaces.mCount > 0 || Current().mPolytope) << "every step ends with a model";
        if (Current().mLibraryEntry != before)
        {
            ++built;
            lastBuiltStep = steps;
        }
        if (Current().mLibraryEntry == start && Current().mLibraryEntry != before)
            break;
    }
    EXPECT_EQ(Current().mLibraryEntry, start);
    EXPECT_EQ(lastBuiltStep, 274 - 6 - 10) << "every row but the six families and the ten rows without data, once";
    EXPECT_GT(built, 0);
}
}  // namespace

namespace
{
TEST_F(OpenLibraryModelTest, TheJohnsonSolidsOpenByNameAndOneAfterAnother)
{
    const std::span<LibraryEntry> table = GetLibraryTable();
    ASSERT_TRUE(mDoc->OpenModelByName("J1"));
    EXPECT_EQ(CurrentName(), "Square Pyramid");
    for (int j = 2; j <= 92; ++j)
    {
        const LibraryEntry& row = table[size_t(104 + j)];
        SCOPED_TRACE(row.mName);
        mDoc->StepModel(1);
        ASSERT_EQ(Current().mLibraryEntry, &row);
        EXPECT_EQ(Current().mFaces.mCount, row.mNumFaces);
        EXPECT_EQ(Current().mNumEdges, row.mNumEdges);
        EXPECT_EQ(Current().mVerts.mCount, row.mNumVerts);
    }
    // The near misses follow.
    mDoc->StepModel(1);
    EXPECT_EQ(CurrentName(), "Tetrated Dodecahedron");
    mDoc->StepModel(-1);
    EXPECT_EQ(CurrentName(), "Triangular Hebesphenorotunda");
    ASSERT_TRUE(mDoc->OpenModelByName("Pentagonal Rotunda"));
    EXPECT_EQ(Current().mLibraryEntry, &table[110]);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}
}  // namespace
