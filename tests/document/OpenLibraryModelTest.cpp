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
        WholeModelUndo::SetModelFunctions(nullptr, [](const SimplePoly& stored, Poly& poly) {
            std::unique_ptr<SimplePoly> copy = SimplePoly::Clone(const_cast<SimplePoly*>(&stored));
            return copy && CreatePoly(copy.get(), &poly, true, true);
        });
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
    // The great dirhombicosidodecahedron cannot be matched yet.
    const LibraryEntry* hard = FindLibraryEntry("U75", nullptr, false);
    ASSERT_NE(hard, nullptr);
    EXPECT_FALSE(mDoc->OpenLibraryModel(hard));
    EXPECT_EQ(CurrentName(), "Icosahedron");
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_FALSE(CanUndo());
}
}  // namespace

namespace
{
// Next Polyhedron through the whole library comes back to where it started; a row that cannot be
// built yet leaves the model in place, and the next step goes on past it. Spring-built rows without
// coordinates are never stepped to.
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
        ASSERT_GT(Current().mFaces.mCount, 0) << "every step ends with a model";
        if (Current().mLibraryEntry != before)
        {
            ++built;
            lastBuiltStep = steps;
        }
        if (Current().mLibraryEntry == start && Current().mLibraryEntry != before)
            break;
    }
    EXPECT_EQ(Current().mLibraryEntry, start);
    EXPECT_EQ(lastBuiltStep, 268 - 39) << "every row but the six families and the 39 rows without data, once";
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
    // The near misses without data are passed over.
    mDoc->StepModel(1);
    EXPECT_EQ(CurrentName(), "Equal-edged Near Miss 1");
    mDoc->StepModel(-1);
    EXPECT_EQ(CurrentName(), "Triangular Hebesphenorotunda");
    ASSERT_TRUE(mDoc->OpenModelByName("Pentagonal Rotunda"));
    EXPECT_EQ(Current().mLibraryEntry, &table[110]);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}
}  // namespace
