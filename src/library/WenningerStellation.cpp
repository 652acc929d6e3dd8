#include "library/WenningerStellation.h"

namespace
{
// Records laid end to end: a Wenninger number, its run count, the runs; ended by 0.
const int kStellationTable[] = {
    19, 1, 0, 1,
    23, 1, 0, 2,
    24, 2, 0, 5, 7, 7,
    25, 1, 0, 7,
    26, 1, 0, 1,
    27, 1, 0, 8,
    28, 2, 0, 7, 9, 9,
    29, 1, 9, 9,
    30, 2, 8, 8, 10, 10,
    31, 1, 0, 9,
    32, 2, 0, 3, 5, 5,
    33, 2, 0, 8, 10, 10,
    34, 2, 0, 4, 8, 8,
    35, 1, 7, 7,
    36, 1, 5, 6,
    37, 1, 5, 5,
    38, 3, 4, 4, 6, 6, 8, 8,
    39, 3, 5, 5, 6, 6, 9, 9,
    40, 2, 4, 4, 6, 6,
    42, 1, 0, 11,
    43, 1, 0, 2,
    44, 1, 0, 3,
    45, 1, 0, 5,
    46, 1, 0, 7,
    47, 1, 0, 2,
    48, 1, 0, 3,
    49, 1, 0, 5,
    50, 4, 0, 6, 8, 8, 11, 11, 15, 15,
    51, 3, 0, 8, 11, 12, 15, 15,
    52, 3, 0, 7, 11, 11, 15, 15,
    53, 2, 0, 16, 19, 19,
    54, 4, 0, 19, 21, 21, 23, 23, 27, 27,
    55, 6, 8, 8, 12, 12, 14, 14, 17, 19, 21, 23, 27, 28,
    56, 7, 5, 5, 7, 10, 12, 14, 17, 19, 21, 23, 26, 28, 34, 34,
    57, 2, 0, 18, 20, 20,
    58, 3, 0, 23, 25, 28, 34, 34,
    59, 7, 0, 26, 29, 29, 32, 33, 36, 36, 38, 39, 45, 46, 49, 49,
    60, 5, 0, 33, 35, 36, 38, 39, 45, 46, 49, 49,
    61, 5, 0, 36, 38, 39, 42, 42, 45, 46, 49, 49,
    62, 2, 0, 31, 34, 34,
    63, 3, 11, 11, 13, 13, 15, 16,
    64, 5, 26, 26, 32, 33, 38, 39, 45, 46, 49, 49,
    65, 4, 23, 24, 27, 31, 35, 36, 42, 42,
    66, 1, 0, 49,
    0,
};
}  // namespace

std::vector<StellationRun> GetWenningerStellationRuns(int wenninger)
{
    std::vector<StellationRun> runs;
    for (const int* p = kStellationTable; *p != 0; p += 2 + 2 * p[1])
    {
        if (p[0] != wenninger)
            continue;
        for (int i = 0; i < p[1]; ++i)
            runs.push_back({p[2 + 2 * i], p[3 + 2 * i]});
        break;
    }
    return runs;
}

const char* GetWenningerStellationBase(int wenninger)
{
    if (GetWenningerStellationRuns(wenninger).empty())
        return nullptr;
    if (wenninger <= 19)
        return "3.3.3.3";
    if (wenninger <= 42)
        return "3.3.3.3.3";
    // In the published numbering 43 to 46 stellate the Cuboctahedron, 47 to 66 the Icosidodecahedron.
    if (wenninger <= 46)
        return "4.3.4.3";
    return "5.3.5.3";
}

void ApplyStellationRuns(std::span<const StellationRun> runs, int numCells,
                         const std::function<void(int cell, bool included)>& setIncluded)
{
    size_t run = 0;
    bool included = false;
    for (int cell = 0; cell < numCells && run < runs.size(); ++cell)
    {
        if (!included && cell == runs[run].first)
            included = true;
        setIncluded(cell, included);
        if (included && cell == runs[run].last)
        {
            included = false;
            ++run;
        }
    }
}
