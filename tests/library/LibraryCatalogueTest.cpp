#include "library/LibraryCategory.h"
#include "library/LibraryEntry.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace
{
using L = LibraryEntry;

const L& Row(int position)
{
    return GetLibraryTable()[size_t(position)];
}

int Euler(const L& row)
{
    return row.mNumFaces - row.mNumEdges + row.mNumVerts;
}

// The Euler characteristic F - E + V of each uniform polyhedron by its Maeder index, as published in
// the lists of uniform polyhedra (the prisms U76-U80 are convex: 2).
const std::map<int, int> kPublishedEuler = {
    {1, 2},   {2, 2},   {3, 0},   {4, 1},   {5, 2},   {6, 2},   {7, 2},   {8, 2},   {9, 2},   {10, 2},
    {11, 2},  {12, 2},  {13, -4}, {14, -4}, {15, -2}, {16, -4}, {17, 2},  {18, -6}, {19, 2},  {20, 2},
    {21, -6}, {22, 2},  {23, 2},  {24, 2},  {25, 2},  {26, 2},  {27, 2},  {28, 2},  {29, 2},  {30, -8},
    {31, -8}, {32, -8}, {33, -16}, {34, -6}, {35, -6}, {36, -6}, {37, -6}, {38, -6}, {39, -18}, {40, -6},
    {41, -16}, {42, -16}, {43, -16}, {44, -16}, {45, -16}, {46, -16}, {47, -8}, {48, -8}, {49, -4}, {50, -28},
    {51, -12}, {52, 2},  {53, 2},  {54, 2},  {55, 2},  {56, -10}, {57, 2},  {58, -6}, {59, -6}, {60, -6},
    {61, -16}, {62, -8}, {63, -28}, {64, -16}, {65, -8}, {66, 2},  {67, 2},  {68, 2},  {69, 2},  {70, -12},
    {71, -4}, {72, -8}, {73, -18}, {74, 2},  {75, -56}, {76, 2},  {77, 2},  {78, 2},  {79, 2},  {80, 2},
};
}  // namespace

TEST(LibraryCatalogueTest, RowsComeInCategoryOrderWithTheirCounts)
{
    const std::span<L> table = GetLibraryTable();
    ASSERT_EQ(table.size(), 274u);
    EXPECT_EQ(GetNumLibraryEntries(), 274);

    // The terminator follows the rows in the same array.
    const L& end = table.data()[table.size()];
    EXPECT_EQ(end.mSymbol, nullptr);
    EXPECT_EQ(end.mCategory, -1);
    EXPECT_EQ(end.mNumber, -1);
    EXPECT_EQ(end.mPage1, -1);
    EXPECT_EQ(end.mPage2, -1);
    EXPECT_EQ(end.mFlags, 0u);
    EXPECT_EQ(end.mNumCells + end.mNumFaces + end.mNumEdges + end.mNumVerts, 0);
    EXPECT_EQ(end.mName, nullptr);
    EXPECT_EQ(end.mDescription, nullptr);
    ASSERT_NE(end.mPageName, nullptr);
    EXPECT_STREQ(end.mPageName, "");

    struct Run
    {
        int category;
        int first;
        int count;
    };
    const Run kRuns[] = {{4, 0, 5},     {5, 5, 4},      {7, 9, 13},     {8, 22, 1},     {9, 23, 10},
                         {10, 33, 32},  {11, 65, 11},   {12, 76, 22},   {13, 98, 7},    {14, 105, 92},
                         {15, 197, 15}, {16, 212, 29},  {17, 241, 23},  {18, 264, 10}};
    int position = 0;
    for (const Run& run : kRuns)
    {
        SCOPED_TRACE(GetLibraryCategoryName(run.category));
        EXPECT_EQ(position, run.first);
        for (int i = 0; i < run.count; ++i, ++position)
            EXPECT_EQ(Row(position).mCategory, run.category) << "position " << position;
    }
    EXPECT_EQ(position, 274);
}

TEST(LibraryCatalogueTest, EveryBuiltInTextIsPresent)
{
    for (const L& row : GetLibraryTable())
    {
        SCOPED_TRACE(row.mName ? row.mName : "(null name)");
        EXPECT_NE(row.mSymbol, nullptr);
        EXPECT_NE(row.mName, nullptr);
        EXPECT_NE(row.mOtherNames, nullptr);
        EXPECT_NE(row.mDualNames, nullptr);
        EXPECT_NE(row.mWythoff, nullptr);
        EXPECT_NE(row.mDescription, nullptr);
        EXPECT_NE(row.mPageName, nullptr);
        EXPECT_EQ(row.mFlags & L::kFileEntry, 0u);
    }
}

TEST(LibraryCatalogueTest, KnownRowsSitAtTheirPositions)
{
    struct Case
    {
        int position;
        const char* symbol;
        const char* name;
    };
    const Case kCases[] = {
        {0, "3.3.3", "Tetrahedron"},
        {2, "3.3.3.3", "Octahedron"},
        {4, "3.3.3.3.3", "Icosahedron"},
        {30, "4.3/2.4.4", "Great Rhombicuboctahedron"},
        {75, "(5/2.4.3.3.3.4.5/3.4.3/2.3/2.3/2.4)/2", "Great Disnub Dirhombidodecahedron"},
        {96, "<N>.4.4", "N-gonal Prism"},
        {97, "<N>.3.3.3", "N-gonal Antiprism"},
        {105, "J1", "Square Pyramid"},
        {196, "J92", "Triangular Hebesphenorotunda"},
        {199, "O(*, 3, *, [2])", "Enneagonal-faced Polyhedron"},
        {226, "K4 / 12P4 (E4)", "Square-Drilled Truncated Cuboctahedron"},
        {244, "Y <N>", "N-gonal Pyramid"},
        {253, "Q' 7/4", "Crossed Heptagrammic Cuploid"},
        {256, "Q+ 3", "Triangular Cupolaic Blend"},
        {265, "", "2-Tes, 8-cell, Tesseract"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(Row(c.position).mSymbol, c.symbol);
        EXPECT_STREQ(Row(c.position).mName, c.name);
    }

    // Johnson solids carry J1 to J92 in turn.
    for (int j = 1; j <= 92; ++j)
        EXPECT_EQ(std::string(Row(104 + j).mSymbol), "J" + std::to_string(j));
}

TEST(LibraryCatalogueTest, MaederAndKaleidoIndicesEachOccurOnceAndAgree)
{
    std::map<int, int> maeder, kaleido;
    for (const L& row : GetLibraryTable())
    {
        const int u = row.GetMaederIndex();
        const int k = row.GetKaleidoIndex();
        EXPECT_EQ(u == 0, k == 0) << row.mName;
        if (u)
            ++maeder[u];
        if (k)
            ++kaleido[k];
        // The Kaleido series lists the five prismatic forms first, the Maeder series last.
        if (u)
        {
            EXPECT_EQ(k, u <= 75 ? u + 5 : u - 75) << row.mName;
        }
    }
    for (int i = 1; i <= 80; ++i)
    {
        EXPECT_EQ(maeder[i], 1) << "U" << i;
        EXPECT_EQ(kaleido[i], 1) << "K" << i;
    }
    EXPECT_EQ(maeder.size(), 80u);
    EXPECT_EQ(kaleido.size(), 80u);
}

TEST(LibraryCatalogueTest, WenningerNumbersOfTheRowsAreThoseThatAreNoStellations)
{
    std::map<int, int> seen;
    for (const L& row : GetLibraryTable())
    {
        if (row.GetWenningerNumber() > 0)
            ++seen[row.GetWenningerNumber()];
    }
    for (int w = 1; w <= 119; ++w)
    {
        const bool carried = (w <= 18) || (w >= 20 && w <= 22) || w == 41 || w >= 67;
        EXPECT_EQ(seen[w], carried ? 1 : 0) << "W" << w;
    }
    // Every row from the Tetrahedron to the Great Dirhombicosidodecahedron has one.
    for (int position = 0; position <= 74; ++position)
        EXPECT_GT(Row(position).GetWenningerNumber(), 0) << Row(position).mName;
}

TEST(LibraryCatalogueTest, UniformRowsSatisfyEulerWithThePublishedCharacteristic)
{
    for (int position = 0; position <= 104; ++position)
    {
        const L& row = Row(position);
        SCOPED_TRACE(row.mName);
        EXPECT_EQ(row.mNumCells, (row.mFlags & L::kParametricFamily) ? -1 : 0);
        if (row.mFlags & L::kParametricFamily)
            continue;
        const int u = row.GetMaederIndex();
        if (u)
        {
            EXPECT_EQ(Euler(row), kPublishedEuler.at(u));
        }
        else if (row.mCategory == L::kCategoryPrisms)
        {
            EXPECT_EQ(Euler(row), 2);  // every prism and antiprism is a sphere, star ones too
        }
    }

    // Those without an index, from the published figures: the disnub counts its 60 vertices; the
    // complex icosidodecahedra have 12 vertices with doubled edges; the complex rhombi forms have 20
    // vertices, each three coincident vertices, which the rows count apart.
    struct Case
    {
        int position;
        int euler;
        int coincidentVerts;
    };
    const Case kCases[] = {{75, -96, 1}, {98, -16, 1}, {99, -16, 1}, {100, -16, 1},
                           {101, -16, 1}, {102, -38, 3}, {103, -46, 3}, {104, -38, 3}};
    for (const Case& c : kCases)
    {
        const L& row = Row(c.position);
        SCOPED_TRACE(row.mName);
        EXPECT_EQ(row.mNumVerts % c.coincidentVerts, 0);
        EXPECT_EQ(row.mNumFaces - row.mNumEdges + row.mNumVerts / c.coincidentVerts, c.euler);
    }
}

TEST(LibraryCatalogueTest, SpringBuiltRowsAreConvexOrHaveTheGenusTheirDescriptionsGive)
{
    // Johnson solids and near misses are convex: Euler characteristic 2.
    for (int position = 105; position <= 211; ++position)
    {
        const L& row = Row(position);
        EXPECT_EQ(Euler(row), 2) << row.mName;
        EXPECT_TRUE(row.mFlags & L::kSpringBuilt) << row.mName;
        EXPECT_EQ(row.mFlags & L::kAnyFamily, 0u) << row.mName;
    }
    // A toroid of genus g has characteristic 2 - 2g.
    for (int position = 212; position <= 240; ++position)
    {
        const L& row = Row(position);
        SCOPED_TRACE(row.mName);
        const std::string text = row.mDescription;
        const size_t at = text.find("genus ");
        ASSERT_NE(at, std::string::npos);
        const int genus = std::stoi(text.substr(at + 6));
        EXPECT_EQ(Euler(row), 2 - 2 * genus);
        EXPECT_EQ(text.find("(T)") != std::string::npos, genus > 0);
    }
}

TEST(LibraryCatalogueTest, FourDimensionalRowsSatisfyEulerForPolychora)
{
    // V - E + F - C = 0 for the regular polychora, the two regular star ones listed here and the
    // truncated tesseract.
    for (int position : {264, 265, 266, 267, 268, 269, 270})
    {
        const L& row = Row(position);
        EXPECT_EQ(row.mNumVerts - row.mNumEdges + row.mNumFaces - row.mNumCells, 0) << row.mName;
    }
    // Published counts of the tesseract and of the 24-cell.
    EXPECT_EQ(Row(265).mNumCells, 8);
    EXPECT_EQ(Row(265).mNumVerts, 16);
    EXPECT_EQ(Row(267).mNumFaces, 96);
    for (int position = 264; position < 274; ++position)
    {
        EXPECT_STREQ(Row(position).mSymbol, "");
        EXPECT_EQ(Row(position).mFlags, 0u);
        EXPECT_EQ(Row(position).GetWythoffSymbol(), nullptr);
    }
    EXPECT_STREQ(Row(272).mWythoff, "8/3 4 4");
    EXPECT_EQ(Row(268).mPage1, -5);
}

TEST(LibraryCatalogueTest, FamilyRowsAndTheirFlags)
{
    for (int position : {96, 97})
    {
        EXPECT_EQ(Row(position).mFlags, L::kParametricFamily);
        EXPECT_EQ(Row(position).mNumber, 5);
        EXPECT_EQ(Row(position).mPage1, 1);
        EXPECT_EQ(Row(position).mNumFaces, -1);
    }
    EXPECT_EQ(LibraryEntry::GetSymbol(&Row(96)), "5.4.4");

    // Each fixed row of the pyramids and cupolae carries n and d, and its family flag.
    struct Case
    {
        int position;
        uint32_t family;
    };
    const Case kCases[] = {{241, L::kPyramidFamily}, {245, L::kCupolaFamily}, {250, L::kCuploidFamily},
                           {255, L::kCupolaicBlendFamily}, {262, L::kCupolaicBlendFamily}};
    for (const Case& c : kCases)
    {
        const L& row = Row(c.position);
        SCOPED_TRACE(row.mName);
        EXPECT_EQ(row.mFlags, L::kSpringBuilt | c.family);
        // The symbol ends with the row's n/d.
        const std::string nd =
            std::to_string(row.mNumber) + (row.mPage1 != 1 ? "/" + std::to_string(row.mPage1) : std::string());
        const std::string symbol = row.mSymbol;
        EXPECT_EQ(symbol.substr(symbol.size() - nd.size()), nd);
    }
    for (int position : {244, 249, 254, 263})
    {
        EXPECT_TRUE(Row(position).mFlags & L::kParametricFamily) << Row(position).mName;
        EXPECT_EQ(Row(position).mNumCells, -1);
    }
    int families = 0;
    for (const L& row : GetLibraryTable())
        families += (row.mFlags & L::kParametricFamily) ? 1 : 0;
    EXPECT_EQ(families, 6);
}

TEST(LibraryCatalogueTest, NamesThatTheLookupAndModelsRelyOn)
{
    EXPECT_STREQ(Row(2).mDualNames, "Cube; Hexahedron");
    EXPECT_STREQ(Row(14).mOtherNames, "Rhombitruncated Cuboctahedron; Great Rhombicuboctahedron; Girco");
    EXPECT_STREQ(Row(79).mOtherNames, "Pap");
    EXPECT_STREQ(Row(79).mDualNames, "Pentagonal Deltohedron; Pentagonal Trapezohedron");
    EXPECT_STREQ(Row(74).mOtherNames, "Miller's Monster; Great Snub Disicosidisdodecahedron; Gidrid");
    EXPECT_STREQ(Row(22).mDualNames, "Tetrahemihexacron");
    EXPECT_STREQ(Row(1).mPageName, "Cube.php");
    EXPECT_STREQ(Row(188).mPageName, "J84.php");
    EXPECT_STREQ(Row(188).mOtherNames, "Dodecadeltahedron; Siamese Dodecahedron");
    // The uniform rows up to the prisms name their dual; the degenerate ones have neither.
    for (int position = 0; position <= 97; ++position)
        EXPECT_FALSE(std::string(Row(position).mDualNames).empty()) << Row(position).mName;
    for (int position = 98; position <= 104; ++position)
    {
        EXPECT_STREQ(Row(position).mOtherNames, "");
        EXPECT_STREQ(Row(position).mDualNames, "");
        EXPECT_STRNE(Row(position).mDescription, "");
    }
    // Every near miss but the three mixed prisms, and every toroid, is described.
    for (int position = 197; position <= 240; ++position)
    {
        const bool mixedPrism = position >= 209 && position <= 211;
        EXPECT_EQ(std::string(Row(position).mDescription).empty(), mixedPrism) << Row(position).mName;
    }
    // The two heptagrammic prisms differ in their base term.
    EXPECT_STREQ(Row(87).mWythoff, "2 7/2 | 2");
    EXPECT_STREQ(Row(88).mWythoff, "2 7/3 | 2");
}
