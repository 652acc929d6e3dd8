#include "DiagramChecks.h"

#include "kernel/ScriptedServices.h"
#include "library/WenningerStellation.h"
#include "model/StellationOptions.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace
{
// Restores the global criterion and options.
class StellationStepping : public ::testing::Test
{
protected:
    void TearDown() override
    {
        StoreStellationCriterion(mCriterion);
        StoreStellationOptions(mOptions);
    }
    int mCriterion = GetStellationCriterion();
    int mOptions = GetStellationOptions();
};

Stellation* Build(BuiltModel& model)
{
    Stellation* st = model.poly.GetFaceStellation();
    model.poly.CreateStellation(st, kStellationBuilt);
    return st;
}

std::vector<bool> Inclusion(const Stellation* st)
{
    std::vector<bool> in;
    for (const StellationCell* c = st->mFirstCell; c; c = c->next)
        in.push_back(c->IsIncluded());
    return in;
}

// Whether exactly the cells of layers 0..last are included.
bool IsLayersUpTo(const Stellation* st, int last)
{
    for (const StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next)
        if (c->IsIncluded() != (c->mLayer->mNumber <= last))
            return false;
    return true;
}
}  // namespace

TEST_F(StellationStepping, MainlineStepsOneLayerAtATimeAndWraps)
{
    StoreStellationCriterion(kCriterionMainline);
    // Mainline stellations besides the core: none for the tetrahedron and cube, the stella
    // octangula, the three Kepler-Poinsot stellations of the dodecahedron.
    const struct
    {
        const char* name;
        const char* config;
        int steps;
    } kCases[] = {
        {"tetrahedron", "3.3.3", 0},
        {"cube", "4.4.4", 0},
        {"octahedron", "3.3.3.3", 1},
        {"dodecahedron", "5.5.5", 3},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = Build(*model);
        ASSERT_TRUE(st->IsBuilt());
        st->GoToCore();
        EXPECT_TRUE(IsLayersUpTo(st, 0));
        for (int k = 1; k <= c.steps; ++k)
        {
            EXPECT_TRUE(st->NextByCriteria());
            EXPECT_TRUE(IsLayersUpTo(st, k));
        }
        EXPECT_FALSE(st->NextByCriteria());
        EXPECT_TRUE(IsLayersUpTo(st, 0));
        // Previous at the core wraps to the final valid stellation, then retraces.
        EXPECT_FALSE(st->PreviousByCriteria());
        EXPECT_TRUE(IsLayersUpTo(st, c.steps));
        for (int k = c.steps - 1; k >= 0; --k)
        {
            EXPECT_TRUE(st->PreviousByCriteria());
            EXPECT_TRUE(IsLayersUpTo(st, k));
        }
    }
}

TEST_F(StellationStepping, FillingTheOctahedronPointsIncludesTheCore)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = Build(*model);
    ASSERT_TRUE(st->IsBuilt());
    for (StellationCell* c = st->mFirstCell; c; c = c->next)
        StellationCell::SetIncluded(c, c->mLayer->mNumber == 1);
    EXPECT_FALSE(st->HasNoInaccessibleCells());
    EXPECT_TRUE(st->FillInaccessibleCells());
    EXPECT_TRUE(st->mFirstCell->IsIncluded());
    EXPECT_TRUE(st->HasNoInaccessibleCells());
    EXPECT_FALSE(st->FillInaccessibleCells());
}

TEST_F(StellationStepping, FullCyclesNeverRepeatAndKeepTheirRules)
{
    const struct
    {
        const char* name;
        const char* config;
        bool dual;
    } kModels[] = {{"icosahedron", "3.3.3.3.3", false}, {"rhombic triacontahedron", "3.5.3.5", true}};
    for (const auto& m : kModels)
        for (int criterion : {kCriterionMainline, kCriterionMonoacral, kCriterionFullySupported})
        {
            SCOPED_TRACE(m.name);
            SCOPED_TRACE(criterion);
            StoreStellationCriterion(criterion);
            ScopedScriptedServices scripted;
            auto model = BuildModel(m.config);
            ASSERT_NE(model, nullptr);
            Stellation* st = m.dual ? model->poly.GetVertStellation() : model->poly.GetFaceStellation();
            model->poly.CreateStellation(st, kStellationBuilt);
            ASSERT_TRUE(st->IsBuilt());
            st->GoToCore();
            std::set<std::vector<bool>> seen;
            int count = 0;
            do
            {
                EXPECT_TRUE(seen.insert(Inclusion(st)).second);
                ++count;
                if (criterion == kCriterionMonoacral)
                {
                    EXPECT_TRUE(st->IsMonoacral(st->mStepCell));
                }
                if (criterion == kCriterionFullySupported)
                {
                    for (const StellationCell* c = st->mFirstCell; c; c = c->next)
                        EXPECT_TRUE(!c->IsIncluded() || c->IsSupported());
                }
            } while (st->NextByCriteria() && count < 100000);
            ASSERT_LT(count, 100000);
            // The counting routine walks the same cycle.
            ASSERT_TRUE(st->CountStellations());
            ASSERT_EQ(st->mNumStellations.NumWords(), 1);
            EXPECT_EQ(int(st->mNumStellations.Word(0)), count);
        }
}

// G. S. Pawley, "The 227 triacontahedra", Geometriae Dedicata 4 (1975) 221-232: the rhombic
// triacontahedron has 227 fully supported stellations. Its core is a single cell, so requiring
// every cell around the core changes nothing.
TEST_F(StellationStepping, TheRhombicTriacontahedronHas227FullySupportedStellations)
{
    StoreStellationCriterion(kCriterionFullySupported);
    for (int options : {0, kCriteriaFullSupNeedsCore})
    {
        SCOPED_TRACE(options);
        StoreStellationOptions(options);
        ScopedScriptedServices scripted;
        auto model = BuildModel("3.5.3.5");
        ASSERT_NE(model, nullptr);
        // The dual side of the icosidodecahedron stellates the rhombic triacontahedron.
        Stellation* st = model->poly.GetVertStellation();
        model->poly.CreateStellation(st, kStellationBuilt);
        ASSERT_TRUE(st->IsBuilt());
        ASSERT_TRUE(st->CountStellations());
        ASSERT_EQ(st->mNumStellations.NumWords(), 1);
        EXPECT_EQ(st->mNumStellations.Word(0), 227u);
        // A second run starts again from the core.
        ASSERT_TRUE(st->CountStellations());
        EXPECT_EQ(st->mNumStellations.Word(0), 227u);
    }
}

TEST_F(StellationStepping, MaintainedReflexibilityNeverLeavesAnUnmatchedChiralCell)
{
    StoreStellationOptions(kCriteriaReflexible);
    for (int criterion : {kCriterionMainline, kCriterionMonoacral, kCriterionFullySupported})
    {
        SCOPED_TRACE(criterion);
        StoreStellationCriterion(criterion);
        ScopedScriptedServices scripted;
        auto model = BuildModel("3.5.3.5");
        ASSERT_NE(model, nullptr);
        Stellation* st = model->poly.GetVertStellation();
        model->poly.CreateStellation(st, kStellationBuilt);
        ASSERT_TRUE(st->IsBuilt());
        st->GoToCore();
        int count = 0;
        do
        {
            EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
            ++count;
        } while (st->NextByCriteria() && count < 100000);
        EXPECT_GT(count, 1);
    }
}

TEST_F(StellationStepping, IncludingMirrorsMatchesEveryChiralCell)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.5.3.5");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetVertStellation();
    model->poly.CreateStellation(st, kStellationBuilt);
    ASSERT_TRUE(st->IsBuilt());
    StellationCell* chiral = st->mFirstCell;
    while (chiral && !(chiral->mFlags & kCellChiralFirst))
        chiral = chiral->next;
    ASSERT_NE(chiral, nullptr);
    StellationCell::SetIncluded(chiral, true);
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 1);
    st->IncludeMirrorsOfIncluded();
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
    EXPECT_TRUE(chiral->next->IsIncluded());
}

TEST_F(StellationStepping, PrimaryStellationsAreWholePatchesBetweenMirrorLines)
{
    StoreStellationCriterion(kCriterionPrimary);
    ScopedScriptedServices scripted;
    {
        // Every line of the dodecahedron's diagram lies in a mirror plane: each region is a patch,
        // and the primary stellations are the four of the mainline.
        auto model = BuildModel("5.5.5");
        ASSERT_NE(model, nullptr);
        Stellation* st = Build(*model);
        ASSERT_TRUE(st->IsBuilt());
        st->GoToCore();
        for (int k = 0; k < 4; ++k)
        {
            EXPECT_TRUE(IsLayersUpTo(st, k));
            EXPECT_EQ(st->NextByCriteria(), k < 3);
        }
        EXPECT_TRUE(IsLayersUpTo(st, 0));
    }
    // The icosahedron's are the icosahedron and six of its published stellations (Wenninger's
    // 26, 23, 32, 34, 28 and 33, as the table of their cells gives them), in the order of their
    // lowest facets; Previous goes back through them.
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = Build(*model);
    ASSERT_TRUE(st->IsBuilt());
    std::vector<std::vector<bool>> expected;
    for (int w : {0, 26, 23, 32, 34, 28, 33})
    {
        std::vector<bool> cells(size_t(st->GetNumCellRecords()) + 1, false);
        if (w == 0)
            cells[0] = true;
        else
            ApplyStellationRuns(GetWenningerStellationRuns(w), st->GetNumCellRecords(),
                                [&cells](int cell, bool on) { cells[size_t(cell)] = on; });
        expected.push_back(cells);
    }
    st->GoToCore();
    for (size_t k = 0; k < expected.size(); ++k)
    {
        SCOPED_TRACE(k);
        EXPECT_EQ(Inclusion(st), expected[k]);
        EXPECT_EQ(st->NextByCriteria(), k + 1 < expected.size());
    }
    EXPECT_EQ(Inclusion(st), expected[0]);
    EXPECT_FALSE(st->PreviousByCriteria());
    for (size_t k = expected.size(); k-- > 0;)
    {
        SCOPED_TRACE(k);
        EXPECT_EQ(Inclusion(st), expected[k]);
        EXPECT_EQ(st->PreviousByCriteria(), k > 0);
    }
    EXPECT_EQ(InternalErrors(scripted.services), "");
}

TEST_F(StellationStepping, KeepingTheConnectedPartSparesACompoundWithItsMirrorImage)
{
    StoreStellationOptions(0);
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = Build(*model);
    ASSERT_TRUE(st->IsBuilt());
    // The core and the separate cells of Wenninger's 29: the part with cell 9 stays.
    for (StellationCell* c = st->mFirstCell; c; c = c->next)
        StellationCell::SetIncluded(c, c->mIndex == 0 || c->mIndex == 9);
    ASSERT_FALSE(st->IsConnected());
    st->KeepConnectedPart(st->FindCell(9));
    EXPECT_FALSE(st->FindCell(0)->IsIncluded());
    EXPECT_TRUE(st->FindCell(9)->IsIncluded());
    // The chiral pair apart from each other: a compound of mirror images, kept whole.
    for (StellationCell* c = st->mFirstCell; c; c = c->next)
        StellationCell::SetIncluded(c, c->mIndex == 6 || c->mIndex == 7);
    ASSERT_FALSE(st->IsConnected());
    st->KeepConnectedPart(st->FindCell(7));
    EXPECT_TRUE(st->FindCell(6)->IsIncluded());
    EXPECT_TRUE(st->FindCell(7)->IsIncluded());
    for (const StellationCell* c = st->mFirstCell; c; c = c->next)
        EXPECT_FALSE(c->mFlags & kCellVisited);
}
