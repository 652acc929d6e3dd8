#include "platform/ListCellCompare.h"

#include <gtest/gtest.h>

namespace
{
int Sign(int v)
{
    return (v > 0) - (v < 0);
}
}  // namespace

TEST(ListCellCompareTest, KindsOrderTexts)
{
    struct Case
    {
        const char* name;
        int kind;
        const char* a;
        const char* b;
        int ascending;   // sign of the comparison, ascending
        int descending;  // and descending
    };
    const Case kCases[] = {
        {"natural: 2 before 10", 1, "2", "10", -1, 1},
        {"natural: names with numbers", 1, "file2", "file10", -1, 1},
        {"natural: blank after text in both directions", 1, "", "a", 1, 1},
        {"natural: text before blank in both directions", 1, "a", "  ", -1, -1},
        {"natural: two blanks are equal", 1, " ", "", 0, 0},
        {"bytes: 10 before 2", 2, "10", "2", -1, 1},
        {"bytes: capitals first", 2, "B", "a", -1, 1},
        {"no case: 2 after 10", 3, "2", "10", 1, -1},
        {"no case: a before B", 3, "a", "B", -1, 1},
        {"no case: equal", 3, "Cube", "cUBE", 0, 0},
        {"integers: signs count", 4, "-3 apples", "2", -1, 1},
        {"integers: leading digits only", 4, "12abc", " 9", 1, -1},
        {"integers: no number is 0", 4, "none", "0", 0, 0},
        {"reals: exponent", 5, "1.5e2", "20", 1, -1},
        {"reals: point whatever the locale", 5, "0.25", "0.3", -1, 1},
        {"reals: equal values", 5, "2.50", "+2.5 mm", 0, 0},
        {"dates", 6, "2024-01-02", "2023-12-31", 1, -1},
        {"dates, other kind", 7, "2023-12-31 10:00", "2023-12-31 09:00", 1, -1},
        {"dates: a text that does not parse is equal", 6, "soon", "2023-12-31", 0, 0},
        {"no kind", 0, "a", "b", 0, 0},
        {"editor kinds do not order", 0x21, "a", "b", 0, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Sign(CompareListCells(c.kind, c.a, c.b, true)), c.ascending);
        EXPECT_EQ(Sign(CompareListCells(c.kind, c.a, c.b, false)), c.descending);
        EXPECT_EQ(Sign(CompareListCells(c.kind, c.b, c.a, true)), -c.ascending);
    }
}
