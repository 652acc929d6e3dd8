// Stepping through the stellations under Miller's rules: connected sets of cell records that leave
// no empty cell out of reach of the outside, one of each mirror-image pair.

#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "model/StellationOptions.h"
#include "stellation/MillerSearch.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"

#include <string>

namespace
{
MillerGraph::CellSet CurrentSet(const Stellation& stellation)
{
    MillerGraph::CellSet set;
    for (const StellationCell* c = stellation.mFirstCell; c && c != stellation.mLastCell; c = c->next)
        set.push_back(c->IsIncluded() ? 1 : 0);
    return set;
}

void ShowSet(Stellation& stellation, const MillerGraph::CellSet& set)
{
    size_t i = 0;
    for (StellationCell* c = stellation.mFirstCell; c && c != stellation.mLastCell && i < set.size(); c = c->next, ++i)
        StellationCell::ApplyInclusion(c, set[i] != 0);
}

MillerGraph::CellSet Union(const MillerGraph::CellSet& a, const MillerGraph::CellSet& b)
{
    MillerGraph::CellSet u(a);
    for (size_t i = 0; i < u.size() && i < b.size(); ++i)
        u[i] = char(u[i] | b[i]);
    return u;
}

// The records of the set reached from its highest one.
MillerGraph::CellSet PartWithHighest(const MillerGraph& graph, const MillerGraph::CellSet& set)
{
    MillerGraph::CellSet part(set.size(), 0);
    const int top = HighestCell(set);
    if (top < 0)
        return part;
    part[size_t(top)] = 1;
    // Grow one record at a time while some record of the set stays connected to the part.
    for (bool grew = true; grew;)
    {
        grew = false;
        for (size_t i = 0; i < set.size(); ++i)
            if (set[i] && !part[i])
            {
                part[i] = 1;
                if (graph.IsConnected(part))
                    grew = true;
                else
                    part[i] = 0;
            }
    }
    return part;
}

// The compound of a stellation with its mirror image is shown after it when the two share no
// record, the compound leaves no cell out of reach, and it is not connected (a connected one is a
// stellation of its own). Under Maintain Reflexibility it is shown in place of the stellation.
bool HasCompoundAfter(const MillerGraph& graph, const MillerGraph::CellSet& set)
{
    if (!graph.IsWhollyUnmatched(set))
        return false;
    const MillerGraph::CellSet compound = Union(set, graph.Mirror(set));
    return !graph.IsConnected(compound) && graph.HasNoInaccessibleCells(compound);
}

// Whether a connected set is listed: no cell out of reach, and of a mirror pair the listed hand
// (none under Maintain Reflexibility).
bool IsListed(const MillerGraph& graph, const MillerGraph::CellSet& set)
{
    if (!graph.HasNoInaccessibleCells(set))
        return false;
    if (!graph.IsChiral(set))
        return true;
    return !IsReflexibilityMaintained() && graph.IsListedHand(set);
}

// The cells in runs of consecutive indices: "0-5, 7".
std::string CellRuns(const MillerGraph::CellSet& set)
{
    std::string text;
    const int n = int(set.size());
    for (int i = 0; i < n;)
    {
        if (!set[size_t(i)])
        {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < n && set[size_t(j + 1)])
            ++j;
        if (!text.empty())
            text += ", ";
        text += std::to_string(i);
        if (j > i)
            text += "-" + std::to_string(j);
        i = j + 1;
    }
    return text;
}
}  // namespace

void Stellation::StartMillerSearch()
{
    mMillerGraph = std::make_unique<MillerGraph>(*this);
    mMillerCounted = false;
    mStepCell = mFirstCell;
}

bool Stellation::InitMillerStepping()
{
    if (GetStellationCriterion() == kCriterionMillerSlow)
    {
        GoToCore();
        return true;
    }
    StartMillerSearch();
    // The nearest stellation that obeys the rules: holes filled, stray parts dropped.
    FillInaccessibleCells();
    KeepConnectedPart(mStepCell);
    FillInaccessibleCells();
    const MillerGraph& graph = *mMillerGraph;
    const MillerGraph::CellSet set = CurrentSet(*this);
    if (!graph.IsConnected(set))
    {
        // A compound of a part with its mirror image: shown after that part.
        const MillerGraph::CellSet part = PartWithHighest(graph, set);
        if (Union(part, graph.Mirror(part)) == set && HasCompoundAfter(graph, part))
            mMillerCounted = true;
        else
            ShowSet(*this, part);
    }
    else if (graph.IsChiral(set))
    {
        if (IsReflexibilityMaintained())
            IncludeMirrorsOfIncluded();
        else if (!graph.IsListedHand(set))
            ShowSet(*this, graph.Mirror(set));
    }
    mStepCell = mFirstCell;
    return true;
}

bool Stellation::NextMiller()
{
    if (!mMillerGraph || mMillerGraph->GetNumCells() != GetNumCellRecords())
        mMillerGraph = std::make_unique<MillerGraph>(*this);
    const MillerGraph& graph = *mMillerGraph;
    MillerGraph::CellSet set = CurrentSet(*this);
    if (mMillerCounted)
    {
        // The compound shown last goes; the search goes on from the part it was made of.
        mMillerCounted = false;
        set = PartWithHighest(graph, set);
    }
    else if (!IsReflexibilityMaintained() && HasCompoundAfter(graph, set))
    {
        ShowCompound(set);
        return true;
    }
    if (HighestCell(set) < 0)
        set[0] = 1;
    const bool slow = GetStellationCriterion() == kCriterionMillerSlow;
    for (;;)
    {
        bool more = true;
        if (slow)
        {
            // Base 2 over the records, the core lowest; a carry out of the last ends the count.
            size_t i = 0;
            while (i < set.size() && set[i])
                set[i++] = 0;
            if (i < set.size())
                set[i] = 1;
            else
                more = false;
            if (more && !graph.IsConnected(set))
                continue;
        }
        else
            more = graph.NextConnectedSet(set);
        if (!more)
            return false;
        if (IsListed(graph, set))
        {
            ShowSet(*this, set);
            return true;
        }
        if (IsReflexibilityMaintained() && graph.IsListedHand(set) && graph.HasNoInaccessibleCells(set) &&
            HasCompoundAfter(graph, set))
        {
            ShowCompound(set);
            return true;
        }
    }
}

void Stellation::ShowCompound(const std::vector<char>& part)
{
    ShowSet(*this, Union(part, mMillerGraph->Mirror(part)));
    mMillerCounted = true;
    mNumMillerExceptions.AddWord(1);
}

void Stellation::TraceMillerStellation() const
{
    DebugTrace("Stellation: %s%s", CellRuns(CurrentSet(*this)).c_str(), mMillerCounted ? " (compound)" : "");
}
