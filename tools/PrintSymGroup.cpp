// orvane_sym_group: prints the operations of one of the program's polyhedral symmetry groups in its
// own orientation, one matrix a line (nine numbers, row after row, at full precision). The toroid
// generator repeats a tunnel over these, so that a row has the group the program detects on it.
//
//   orvane_sym_group tetrahedral|octahedral|icosahedral [--rotations-only]

#include "kernel/Mat3.h"
#include "model/SymGroup.h"

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: orvane_sym_group tetrahedral|octahedral|icosahedral [--rotations-only]\n");
        return 2;
    }
    int kind = SymGroup::kUncreated;
    if (!std::strcmp(argv[1], "tetrahedral"))
        kind = SymGroup::kTetrahedral;
    else if (!std::strcmp(argv[1], "octahedral"))
        kind = SymGroup::kOctahedral;
    else if (!std::strcmp(argv[1], "icosahedral"))
        kind = SymGroup::kIcosahedral;
    if (kind == SymGroup::kUncreated)
    {
        std::fprintf(stderr, "orvane_sym_group: unknown group %s\n", argv[1]);
        return 2;
    }
    const bool withReflections = !(argc > 2 && !std::strcmp(argv[2], "--rotations-only"));
    std::unique_ptr<SymGroup> group = SymGroup::Create(kind);
    if (!group)
        return 1;
    if (withReflections)
        group->SetReflectionKind(SymGroup::kHorizontal);
    SymOpIterator it;
    Mat3 m;
    while (group->NextOperationWithReflections(it, true, &m, withReflections))
    {
        for (int row = 0; row < 3; ++row)
        {
            for (int col = 0; col < 3; ++col)
                std::printf("%.17g%c", m.At(row, col), row == 2 && col == 2 ? '\n' : ' ');
        }
    }
    return 0;
}
