#include "LibraryStateFixture.h"

#include "library/LibraryCountFilter.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{
class LibraryCountFilterTest : public LibraryStateTest
{
};

constexpr int kCube = 1;
constexpr int kNgonalPrism = 96;
constexpr int kNgonalAntiprism = 97;
constexpr int kNgonalPyramid = 244;
constexpr int kTesseract = 265;
}  // namespace

TEST(LibraryCountRangeTest, BoxTextsReadAndWrittenBack)
{
    struct Case
    {
        const char* text;
        int minimum;
        int maximum;
        const char* written;  // the box text the range is shown as again
    };
    const Case kCases[] = {
        {"120", 120, 120, "120"},
        {"120-600", 120, 600, "120-600"},
        {"120-", 120, INT_MAX, "120-"},
        {"-120", 0, 120, "-120"},
        {"  12 -  30  ", 12, 30, "12-30"},
        {"7x", 7, 7, "7"},
        {"0", 0, INT_MAX, ""},
        {"abc", 0, INT_MAX, ""},
        {"-", 0, INT_MAX, ""},
        {"", 0, INT_MAX, ""},
        {nullptr, 0, INT_MAX, ""},
        {"24-60 faces", 24, 60, "24-60"},
        {"99999999999", INT_MAX, INT_MAX, "2147483647-"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        int minimum = -1, maximum = -1;
        ParseCountRange(c.text, minimum, maximum);
        EXPECT_EQ(minimum, c.minimum);
        EXPECT_EQ(maximum, c.maximum);
        const std::string written = FormatCountRange(minimum, maximum);
        EXPECT_EQ(written, c.written);
        // What is written reads back as the same range.
        int again = -1, againMax = -1;
        ParseCountRange(written.c_str(), again, againMax);
        EXPECT_EQ(again, minimum);
        EXPECT_EQ(againMax, maximum);
    }
}

TEST_F(LibraryCountFilterTest, EmptyAndUsable)
{
    LibraryCountFilter filter;
    EXPECT_TRUE(filter.IsEmpty());
    EXPECT_TRUE(filter.IsUsable());
    filter.mMinCells = -4;
    EXPECT_TRUE(filter.IsEmpty());  // a minimum at or below 0 restricts nothing
    filter.mMaxCells = -4;
    EXPECT_FALSE(filter.IsEmpty());
    EXPECT_FALSE(filter.IsUsable());
    filter.Reset();
    filter.mMinFaces = 20;
    filter.mMaxFaces = 10;
    EXPECT_FALSE(filter.IsUsable());
    filter.Reset();
    filter.mMaxVerts = 3;  // no polyhedron has fewer than 4 vertices
    EXPECT_FALSE(filter.IsUsable());
    filter.mText = "kept";
    filter.Reset();
    EXPECT_EQ(filter.mText, "");
    EXPECT_TRUE(filter.IsEmpty());
}

TEST_F(LibraryCountFilterTest, RangesOfRowsDualsAndFamilyMembers)
{
    auto faces = [](int minimum, int maximum) {
        LibraryCountFilter f;
        f.mMinFaces = minimum;
        f.mMaxFaces = maximum;
        return f;
    };
    struct Case
    {
        const char* what;
        LibraryCountFilter filter;
        int position;
        bool dual;
        int n;
        int d;
        bool matches;
    };
    LibraryCountFilter cellsAbove0;
    cellsAbove0.mMinCells = 1;
    LibraryCountFilter cubeDual;
    cubeDual.mMinFaces = cubeDual.mMaxFaces = 8;
    cubeDual.mMinVerts = cubeDual.mMaxVerts = 6;
    LibraryCountFilter prismCounts;
    prismCounts.mMinFaces = prismCounts.mMaxFaces = 7;
    prismCounts.mMinEdges = prismCounts.mMaxEdges = 15;
    prismCounts.mMinVerts = prismCounts.mMaxVerts = 10;
    LibraryCountFilter antiprismCounts;
    antiprismCounts.mMinFaces = antiprismCounts.mMaxFaces = 12;
    antiprismCounts.mMinEdges = antiprismCounts.mMaxEdges = 20;
    antiprismCounts.mMinVerts = antiprismCounts.mMaxVerts = 10;
    LibraryCountFilter sixteenCell;  // the tesseract's dual
    sixteenCell.mMinCells = sixteenCell.mMaxCells = 16;
    sixteenCell.mMinFaces = sixteenCell.mMaxFaces = 32;
    sixteenCell.mMinEdges = sixteenCell.mMaxEdges = 24;
    sixteenCell.mMinVerts = sixteenCell.mMaxVerts = 8;

    const Case kCases[] = {
        {"cube", faces(6, 6), kCube, false, 0, -1, true},
        {"cube, 8 faces", faces(8, 8), kCube, false, 0, -1, false},
        {"dual of the cube", cubeDual, kCube, true, 0, -1, true},
        {"dual of the cube as a base", cubeDual, kCube, false, 0, -1, false},
        {"dual with cells asked for", cellsAbove0, kCube, true, 0, -1, false},
        {"5/2 prism", prismCounts, kNgonalPrism, false, 5, 2, true},
        {"5/2 prism, 8 faces", faces(8, 8), kNgonalPrism, false, 5, 2, false},
        {"5/0 prism", LibraryCountFilter(), kNgonalPrism, false, 5, 0, false},
        {"0 prism", LibraryCountFilter(), kNgonalPrism, false, 0, 1, false},
        {"prism with cells asked for", cellsAbove0, kNgonalPrism, false, 5, 2, false},
        {"5/2 antiprism", antiprismCounts, kNgonalAntiprism, false, 5, 2, true},
        {"dual of the 5/2 prism", faces(10, 10), kNgonalPrism, true, 5, 2, true},
        {"n-gonal pyramid", LibraryCountFilter(), kNgonalPyramid, false, 5, 1, false},
        {"dual of the n-gonal pyramid", LibraryCountFilter(), kNgonalPyramid, true, 5, 1, false},
        {"tesseract's dual", sixteenCell, kTesseract, true, 0, -1, true},
        {"tesseract with cells asked for", cellsAbove0, kTesseract, false, 0, -1, true},
        {"tesseract's dual with cells asked for", cellsAbove0, kTesseract, true, 0, -1, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.filter.Matches(Row(c.position), c.dual, c.n, c.d), c.matches);
    }
}
