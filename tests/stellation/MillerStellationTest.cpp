// Stepping through and counting the stellations under Miller's rules.

#include "DiagramChecks.h"

#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "library/WenningerStellation.h"
#include "model/StellationOptions.h"
#include "stellation/MillerSearch.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{
using CellSet = std::vector<bool>;

class MillerStellation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StoreStellationCriterion(kCriterionMiller);
        StoreStellationOptions(0);
    }
    void TearDown() override
    {
        StoreStellationCriterion(mCriterion);
        StoreStellationOptions(mOptions);
    }

    Stellation* Build(const char* config)
    {
        mModel = BuildModel(config);
        if (!mModel)
            return nullptr;
        Stellation* st = mModel->poly.GetFaceStellation();
        mModel->poly.CreateStellation(st, kStellationBuilt);
        return st->IsBuilt() ? st : nullptr;
    }

    int mCriterion = GetStellationCriterion();
    int mOptions = GetStellationOptions();
    ScopedScriptedServices mScripted;
    std::unique_ptr<BuiltModel> mModel;
};

CellSet Cells(const Stellation* st)
{
    CellSet in;
    for (const StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next)
        in.push_back(c->IsIncluded());
    return in;
}

CellSet MirrorOf(const Stellation* st, const CellSet& set)
{
    CellSet image(set.size(), false);
    size_t i = 0;
    for (StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next, ++i)
        if (set[i])
            image[size_t(c->GetMirror()->mIndex)] = true;
    return image;
}

void SetCells(Stellation* st, const CellSet& set)
{
    size_t i = 0;
    for (StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next, ++i)
        StellationCell::SetIncluded(c, set[i]);
}

CellSet FromRuns(const Stellation* st, const std::vector<StellationRun>& runs)
{
    CellSet set(size_t(st->GetNumCellRecords()), false);
    ApplyStellationRuns(runs, st->GetNumCellRecords(), [&set](int cell, bool on) { set[size_t(cell)] = on; });
    return set;
}

// One step of a cycle: the cells shown and whether they are a compound with the mirror image.
struct Shown
{
    CellSet cells;
    bool compound;
};

// From the core until Next wraps; empty when it does not within the limit.
std::vector<Shown> Cycle(Stellation* st, int limit = 10000)
{
    std::vector<Shown> shown;
    st->GoToCore();
    do
    {
        shown.push_back({Cells(st), st->mMillerCounted});
        if (int(shown.size()) > limit)
            return {};
    } while (st->NextByCriteria());
    return shown;
}

std::vector<std::string>* gTrace = nullptr;
void CollectTrace(const char* text)
{
    const std::string line(text);
    if (gTrace && line.rfind("Stellation: ", 0) == 0)
        gTrace->push_back(line.substr(12));
}

// Shows a view message as a recorded call.
class MessageShell : public RecordingShell
{
public:
    void SetViewMessage(void*, const std::string& text) override { calls.push_back("Message " + text); }
};
}  // namespace

TEST_F(MillerStellation, TheIcosahedronCycleListsEachStellationOnce)
{
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    const std::vector<Shown> cycle = Cycle(st);
    ASSERT_FALSE(cycle.empty());
    std::set<CellSet> seen;
    for (const Shown& s : cycle)
    {
        SetCells(st, s.cells);
        EXPECT_TRUE(seen.insert(s.cells).second);
        EXPECT_TRUE(st->HasNoInaccessibleCells());
        EXPECT_EQ(st->IsConnected(), !s.compound);
    }
    // No chiral stellation comes with its mirror image.
    for (const Shown& s : cycle)
    {
        const CellSet image = MirrorOf(st, s.cells);
        if (image != s.cells)
        {
            EXPECT_EQ(seen.count(image), 0u);
        }
    }
    // The icosahedron itself, the small triambic icosahedron, the compound of five octahedra, the
    // final stellation, and the compound of five tetrahedra in one hand or the other.
    CellSet original(size_t(st->GetNumCellRecords()), false);
    original[0] = true;
    EXPECT_EQ(seen.count(original), 1u);
    for (int w : {26, 23, 42})
    {
        SCOPED_TRACE(w);
        EXPECT_EQ(seen.count(FromRuns(st, GetWenningerStellationRuns(w))), 1u);
    }
    const CellSet fiveTetrahedra = FromRuns(st, GetWenningerStellationRuns(24));
    EXPECT_EQ(seen.count(fiveTetrahedra) + seen.count(MirrorOf(st, fiveTetrahedra)), 1u);
    // After the last one the core comes again.
    EXPECT_EQ(Cells(st), cycle.back().cells);
    EXPECT_FALSE(st->NextByCriteria());
    EXPECT_EQ(Cells(st), original);
    EXPECT_EQ(InternalErrors(mScripted.services), "");
}

// H. S. M. Coxeter, P. Du Val, H. T. Flather and J. F. Petrie, "The Fifty-Nine Icosahedra",
// University of Toronto Studies, Mathematical Series 6 (1938): under Miller's rules the icosahedron
// has 59 stellations, the icosahedron itself included: 32 reflexible and 27 chiral, each chiral one
// counted once for its pair of mirror images. So the count lists one hand of each pair; and the
// compound of a chiral stellation with its mirror image that the search shows as an exception is a
// reflexible stellation of the 59 (it shares no cell with either hand, so it is no set of connected
// cells).
TEST_F(MillerStellation, TheIcosahedronHasTheFiftyNinePublishedStellations)
{
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    std::vector<std::string> listed;
    gTrace = &listed;
    const TraceSink previous = SetTraceSink(CollectTrace);
    const bool counted = st->CountStellations();
    SetTraceSink(previous);
    gTrace = nullptr;
    ASSERT_TRUE(counted);
    ASSERT_EQ(st->mNumStellations.NumWords(), 1);
    ASSERT_EQ(st->mNumChirals.NumWords(), 1);
    ASSERT_EQ(st->mNumMillerExceptions.NumWords(), 1);
    EXPECT_EQ(st->mNumStellations.Word(0), 59u);
    EXPECT_EQ(st->mNumChirals.Word(0), 27u);
    EXPECT_EQ(st->mNumStellations.Word(0) - st->mNumChirals.Word(0), 32u);
    EXPECT_EQ(st->mNumMillerExceptions.Word(0), 1u);
    // The trace lists them all, as runs.
    ASSERT_EQ(listed.size(), 59u);
    EXPECT_EQ(listed.front(), "0");
    EXPECT_EQ(listed.back(), "0-11");
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()).size(), 59u);
    // Keeping reflexibility lists the 32 reflexible ones.
    StoreStellationOptions(kCriteriaReflexible);
    ASSERT_TRUE(st->CountStellations());
    EXPECT_EQ(st->mNumStellations.Word(0), 32u);
    EXPECT_TRUE(st->mNumChirals.IsZero());
}

TEST_F(MillerStellation, SmallModelsGiveTheirPublishedStellations)
{
    // Besides the model itself: nothing for the tetrahedron and the cube, the stella octangula, and
    // the small stellated, great and great stellated dodecahedra; each adds the next layer of cells.
    const struct
    {
        const char* name;
        const char* config;
        int count;
    } kCases[] = {{"tetrahedron", "3.3.3", 1}, {"cube", "4.4.4", 1}, {"octahedron", "3.3.3.3", 2},
                  {"dodecahedron", "5.5.5", 4}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Stellation* st = Build(c.config);
        ASSERT_NE(st, nullptr);
        const std::vector<Shown> cycle = Cycle(st);
        ASSERT_EQ(int(cycle.size()), c.count);
        for (int k = 0; k < c.count; ++k)
        {
            size_t i = 0;
            for (const StellationCell* cell = st->mFirstCell; cell && cell != st->mLastCell; cell = cell->next, ++i)
                EXPECT_EQ(cycle[size_t(k)].cells[i], cell->mLayer->mNumber <= k);
        }
        ASSERT_TRUE(st->CountStellations());
        EXPECT_EQ(int(st->mNumStellations.Word(0)), c.count);
    }
}

TEST_F(MillerStellation, TheSlowCountAgreesAndNeverShowsAStellationTwiceInARow)
{
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    std::set<CellSet> fast;
    for (const Shown& s : Cycle(st))
        fast.insert(s.cells);
    StoreStellationCriterion(kCriterionMillerSlow);
    const std::vector<Shown> slow = Cycle(st);
    ASSERT_FALSE(slow.empty());
    std::set<CellSet> slowSets;
    for (size_t i = 0; i < slow.size(); ++i)
    {
        slowSets.insert(slow[i].cells);
        if (i > 0)
        {
            EXPECT_NE(slow[i].cells, slow[i - 1].cells);
        }
    }
    EXPECT_EQ(slowSets, fast);
    ASSERT_TRUE(st->CountStellations());
    EXPECT_EQ(st->mNumStellations.Word(0), 59u);
    EXPECT_EQ(st->mNumChirals.Word(0), 27u);
    EXPECT_EQ(InternalErrors(mScripted.services), "");
}

TEST_F(MillerStellation, NextContinuesFromStellationsSetDirectly)
{
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    const std::vector<Shown> cycle = Cycle(st);
    ASSERT_GT(cycle.size(), 40u);
    int tried = 0;
    for (size_t i = 0; i + 1 < cycle.size(); i += 5)
    {
        if (cycle[i].compound)
            continue;
        SCOPED_TRACE(i);
        // As picking does: the stepping state goes.
        st->GoToFinal(false);
        SetCells(st, cycle[i].cells);
        EXPECT_FALSE(st->mSteppingReady);
        EXPECT_TRUE(st->NextByCriteria());
        EXPECT_EQ(Cells(st), cycle[i + 1].cells);
        ++tried;
    }
    EXPECT_GE(tried, 10);
    // The mirror image of a listed chiral stellation continues as the listed hand does.
    for (size_t i = 0; i + 1 < cycle.size(); ++i)
    {
        const CellSet image = MirrorOf(st, cycle[i].cells);
        if (cycle[i].compound || image == cycle[i].cells)
            continue;
        SetCells(st, image);
        st->NextByCriteria();
        EXPECT_EQ(Cells(st), cycle[i].cells);
        break;
    }
}

TEST_F(MillerStellation, MaintainedReflexibilityListsNoUnmatchedChiralCell)
{
    StoreStellationOptions(kCriteriaReflexible);
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    const std::vector<Shown> cycle = Cycle(st);
    ASSERT_FALSE(cycle.empty());
    for (const Shown& s : cycle)
        EXPECT_EQ(MirrorOf(st, s.cells), s.cells);
    EXPECT_EQ(cycle.size(), 32u);
}

TEST_F(MillerStellation, PreviousIsRefusedAndChangesNothing)
{
    MessageShell shell;
    ScopedShell scope(&shell);
    Stellation* st = Build("3.3.3.3.3");
    ASSERT_NE(st, nullptr);
    for (int criterion : {kCriterionMiller, kCriterionMillerSlow})
    {
        SCOPED_TRACE(criterion);
        StoreStellationCriterion(criterion);
        st->GoToCore();
        st->NextByCriteria();
        st->NextByCriteria();
        const CellSet before = Cells(st);
        shell.calls.clear();
        EXPECT_TRUE(st->PreviousByCriteria());
        EXPECT_EQ(Cells(st), before);
        EXPECT_EQ(shell.Count("Message Sorry, going to the previous stellation when\nusing Miller's rules has not "
                              "been implemented.\n\nIf you want to go back to a stellation you just\npassed, try "
                              "using Ctrl+Z to undo instead."),
                  1);
    }
}

TEST_F(MillerStellation, TheSearchTreeHoldsEveryConnectedSetOnce)
{
    // Against every subset of the records, on models with up to 2^16 of them.
    for (const char* config : {"3.3.3.3.3", "3.4.3.4", "4.6.6", "3.8.8"})
    {
        SCOPED_TRACE(config);
        Stellation* st = Build(config);
        ASSERT_NE(st, nullptr);
        const MillerGraph graph(*st);
        const int n = graph.GetNumCells();
        ASSERT_LE(n, 16);
        std::set<MillerGraph::CellSet> expected;
        for (uint32_t bits = 1; bits < (1u << n); ++bits)
        {
            MillerGraph::CellSet set(size_t(n), 0);
            for (int i = 0; i < n; ++i)
                set[size_t(i)] = char((bits >> i) & 1);
            if (graph.IsConnected(set))
                expected.insert(set);
        }
        std::set<MillerGraph::CellSet> found;
        MillerGraph::CellSet set(size_t(n), 0);
        set[0] = 1;
        size_t steps = 0;
        do
        {
            EXPECT_TRUE(graph.IsConnected(set));
            found.insert(set);
            ++steps;
        } while (graph.NextConnectedSet(set) && steps <= expected.size());
        EXPECT_EQ(steps, expected.size());
        EXPECT_EQ(found, expected);
    }
}
