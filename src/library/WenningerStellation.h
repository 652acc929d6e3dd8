#pragma once

#include <functional>
#include <span>
#include <vector>

// The Wenninger numbers up to 119 that no library row carries are stellations of a row: the cells
// of its stellation in runs (first and last cell, inclusive), counted in the order of the base's
// cell list from 0.
struct StellationRun
{
    int first;
    int last;
};

// The runs of the Wenninger number; empty when it names no stellation.
std::vector<StellationRun> GetWenningerStellationRuns(int wenninger);

// The symbol of the row whose stellation the number names; null when it names none.
const char* GetWenningerStellationBase(int wenninger);

// Visits the cells 0, 1, ... in order while runs remain, telling each whether it lies in a run;
// cells after the last run are not visited. numCells bounds the walk.
void ApplyStellationRuns(std::span<const StellationRun> runs, int numCells,
                         const std::function<void(int cell, bool included)>& setIncluded);
