#include "DiagramChecks.h"

#include "kernel/ScriptedServices.h"
#include "model/StellationOptions.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <gtest/gtest.h>

#include <cstdio>
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

TEST_F(StellationStepping, IcosahedronCyclesNeverRepeatAndKeepTheirRules)
{
    for (int criterion : {kCriterionMainline, kCriterionMonoacral, kCriterionFullySupported})
    {
        SCOPED_TRACE(criterion);
        StoreStellationCriterion(criterion);
        ScopedScriptedServices scripted;
        auto model = BuildModel("3.3.3.3.3");
        ASSERT_NE(model, nullptr);
        Stellation* st = Build(*model);
        ASSERT_TRUE(st->IsBuilt());
        st->GoToCore();
        std::set<std::vector<bool>> seen;
        int count = 0;
        do
        {
            EXPECT_TRUE(seen.insert(Inclusion(st)).second);
            ++count;
            if (criterion == kCriterionMonoacral)
                EXPECT_TRUE(st->IsMonoacral(st->mStepCell));
            if (criterion == kCriterionFullySupported)
                for (const StellationCell* c = st->mFirstCell; c; c = c->next)
                    EXPECT_TRUE(!c->IsIncluded() || c->IsSupported());
        } while (st->NextByCriteria() && count < 100000);
        ASSERT_LT(count, 100000);
        ASSERT_TRUE(st->CountStellations());
        EXPECT_EQ(st->mNumStellations.NumWords() ? int(st->mNumStellations.Word(0)) : 0, count);
        std::printf("criterion %d: %d stellations\n", criterion, count);
    }
}
