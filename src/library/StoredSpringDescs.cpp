#include "library/StoredSpringDescs.h"

namespace
{
struct StoredDesc
{
    int index;
    const char* text;
};

// The texts written so far, by index; every other slot is empty.
const StoredDesc kStoredDescs[] = {
    // J1 Square Pyramid
    {0, "h (4 1 0 3) (1 4 2) (0 1 2) (3 0 2) (4 3 2)"},
    // J10 Gyroelongated Square Pyramid
    {9, "h (4 7 8) (8 7 6) (8 6 3) (3 6 1) (3 1 0) (0 1 2) (0 2 4)(4 2 7) (4 8 5) (8 3 5) (3 0 5) (0 4 5) "
        "(1 6 7 2)t(0 3 8 4)"},
    // The Wedge
    {103, "h ~3 (0 1 2 7 6) (0 1 8 13 12) (1 2 8) (0 6 12) (2 3 7) (3 4 7) (4 5 7)(5 6 7) (8 9 13) (9 10 13) "
          "(10 11 13) (11 12 13) (2 3 9 8) (3 4 10 9)(4 5 11 10) (5 6 12 11)"},
};
}  // namespace

const char* GetStoredSpringDesc(int index)
{
    if (index < 0 || index >= kNumStoredSpringDescs)
        return nullptr;
    for (const StoredDesc& desc : kStoredDescs)
    {
        if (desc.index == index)
            return desc.text;
    }
    return "";
}
