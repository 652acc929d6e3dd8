#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "library/SpringFamilyDesc.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{
// The faces, edges and vertices a description makes: its polygons without a 't' or 'T' mark are
// faces, their consecutive corners edges, their corners vertices.
struct Counts
{
    int faces = 0;
    int edges = 0;
    int verts = 0;
    int hidden = 0;
};

Counts CountDescription(const std::string& text)
{
    Counts counts;
    std::set<std::pair<int, int>> edges;
    std::set<int> verts;
    size_t i = 0;
    bool hidden = false;
    while (i < text.size())
    {
        const char c = text[i];
        if (c == 't' || c == 'T')
        {
            hidden = true;
            ++i;
        }
        else if (c == '(')
        {
            std::vector<int> corners;
            ++i;
            while (i < text.size() && text[i] != ')')
            {
                if (std::isdigit(static_cast<unsigned char>(text[i])))
                {
                    size_t used = 0;
                    corners.push_back(std::stoi(text.substr(i), &used));
                    i += used;
                }
                else
                    ++i;
            }
            ++i;
            if (hidden)
                ++counts.hidden;
            else
            {
                ++counts.faces;
                for (size_t k = 0; k < corners.size(); ++k)
                {
                    const int a = corners[k];
                    const int b = corners[(k + 1) % corners.size()];
                    edges.insert({std::min(a, b), std::max(a, b)});
                    verts.insert(a);
                }
            }
            hidden = false;
        }
        else if (c == 'L' || c == 'l' || c == 'h' || c == '~' || c == '/')
        {
            // Options, layer tokens and densities run to the next blank or polygon.
            while (i < text.size() && text[i] != ' ' && text[i] != '(' && text[i] != 't')
                ++i;
        }
        else
            ++i;
    }
    counts.edges = int(edges.size());
    counts.verts = int(verts.size());
    return counts;
}

using Builder = std::function<std::optional<std::string>(int, int)>;
}  // namespace

TEST(SpringFamilyDescTest, WrittenAsTheLanguageShows)
{
    ScopedScriptedServices scope;
    EXPECT_EQ(PrismSpringDesc(4, 1).value_or("none"),
              "L4 L4 (0 1 2 3) (4 5 6 7) (0 1 5 4) (1 2 6 5) (2 3 7 6) (3 0 4 7)");
    EXPECT_EQ(PyramidSpringDesc(4, 1).value_or("none"), "h L1 L4 (1 2 3 4) (1 2 0) (2 3 0) (3 4 0) (4 1 0)");
    EXPECT_EQ(PyramidSpringDesc(5, 2).value_or("none"),
              "L1 L5/2 (1 2 3 4 5)/2 (1 2 0) (2 3 0) (3 4 0) (4 5 0) (5 1 0)");
    EXPECT_EQ(AntiprismSpringDesc(3, 1).value_or("none"),
              "L3 L+3 (0 1 2) (3 4 5) (0 1 3) (1 3 4) (1 2 4) (2 4 5) (2 0 5) (0 5 3)");
    EXPECT_EQ(CuploidSpringDesc(5, 2).value_or("none"),
              "L5 L+5 (0 2 4 1 3)/2 (2 0 5 6) (1 6 5) (3 1 6 7) (2 7 6) (4 2 7 8) (3 8 7) (0 3 8 9) (4 9 8) "
              "(1 4 9 5) (0 5 9)");
    // A digonal cupola and a digonal blend have an edge on top, not a face.
    EXPECT_EQ(CupolaSpringDesc(2, 1).value_or("none"),
              "L2 L+4 (2 3 4 5) (0 1 3 2) (1 3 4) (1 0 5 4) (0 5 2)");
    EXPECT_EQ(CupolaicBlendSpringDesc(2, 1).value_or("none").find("(0 2)"), std::string::npos);
    EXPECT_EQ(scope.services.calls.size(), 0u);

    std::string token;
    AppendLayerToken(token, 7, 3, true);
    AppendLayerToken(token, 1, 1, false);
    EXPECT_EQ(token, "L+7/3 L1 ");
}

TEST(SpringFamilyDescTest, ChecksAcceptTheFamiliesBases)
{
    using Check = bool (*)(int, int, bool);
    struct Case
    {
        const char* family;
        Check check;
        int n;
        int d;
        bool accepted;
    };
    const Case kCases[] = {
        {"pyramid", CheckPyramidBase, 5, 1, true},   {"pyramid", CheckPyramidBase, 5, 2, true},
        {"pyramid", CheckPyramidBase, 7, 2, true},   {"pyramid", CheckPyramidBase, 7, 3, true},
        {"pyramid", CheckPyramidBase, 6, 1, false},  {"pyramid", CheckPyramidBase, 4, 2, false},
        {"pyramid", CheckPyramidBase, 5, 3, false},  {"prism", CheckPrismBase, 9999, 1, true},
        {"prism", CheckPrismBase, 10000, 1, false},  {"prism", CheckPrismBase, 6, 2, false},
        {"prism", CheckPrismBase, 2, 1, false},      {"antiprism", CheckAntiprismBase, 7, 4, true},
        {"antiprism", CheckAntiprismBase, 3, 0, false}, {"cupola", CheckCupolaBase, 2, 1, true},
        {"cupola", CheckCupolaBase, 7, 5, true},     {"cupola", CheckCupolaBase, 7, 2, false},
        {"cupola", CheckCupolaBase, 6, 1, false},    {"cuploid", CheckCuploidBase, 5, 4, true},
        {"cuploid", CheckCuploidBase, 5, 3, false},  {"cuploid", CheckCuploidBase, 4, 2, true},
        {"blend", CheckCupolaicBlendBase, 4, 3, true}, {"blend", CheckCupolaicBlendBase, 5, 0, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.n) + "/" + std::to_string(c.d));
        ScopedScriptedServices scope;
        EXPECT_EQ(c.check(c.n, c.d, false), c.accepted);
        EXPECT_EQ(scope.services.calls.size(), 0u);
        EXPECT_EQ(c.check(c.n, c.d, true), c.accepted);
        EXPECT_EQ(scope.services.CountCalls("MessageBox"), c.accepted ? 0 : 1);
    }

    ScopedScriptedServices scope;
    EXPECT_FALSE(PrismSpringDesc(10000, 1));
    EXPECT_EQ(scope.services.LastCall()->text, "Prism base must have less than 9999 sides");
    EXPECT_FALSE(CupolaicBlendSpringDesc(5, 2));
    EXPECT_EQ(scope.services.LastCall()->text, "Illegal cupolaic blend base");
}

TEST(SpringFamilyDescTest, DescriptionsMakeTheCatalogueCounts)
{
    // Every fixed pyramid, cupola, cuploid and blend row and every prism and antiprism row of the
    // catalogue, built by its family.
    ScopedScriptedServices scope;
    int checked = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (row.mFlags & LibraryEntry::kParametricFamily)
            continue;
        Builder build;
        if (row.mFlags & LibraryEntry::kPyramidFamily)
            build = PyramidSpringDesc;
        else if (row.mFlags & LibraryEntry::kCupolaFamily)
            build = CupolaSpringDesc;
        else if (row.mFlags & LibraryEntry::kCuploidFamily)
            build = CuploidSpringDesc;
        else if (row.mFlags & LibraryEntry::kCupolaicBlendFamily)
            build = CupolaicBlendSpringDesc;
        else if (row.mCategory == LibraryEntry::kCategoryPrisms && std::string(row.mSymbol).ends_with(".3.3.3"))
            build = AntiprismSpringDesc;
        else if (row.mCategory == LibraryEntry::kCategoryPrisms)
            build = PrismSpringDesc;
        else
            continue;
        SCOPED_TRACE(row.mName);
        int n = 0, d = 0;
        row.GetParams(n, d);
        const std::optional<std::string> desc = build(n, d);
        ASSERT_TRUE(desc);
        const Counts counts = CountDescription(*desc);
        EXPECT_EQ(counts.faces, row.mNumFaces) << *desc;
        EXPECT_EQ(counts.edges, row.mNumEdges) << *desc;
        EXPECT_EQ(counts.verts, row.mNumVerts) << *desc;
        EXPECT_EQ(counts.hidden, (row.mFlags & LibraryEntry::kCupolaicBlendFamily) ? 1 : 0);
        ++checked;
    }
    EXPECT_EQ(checked, 20 + 19);
    EXPECT_EQ(scope.services.calls.size(), 0u);
}

TEST(SpringFamilyDescTest, StoredDescriptionsMakeTheirRowsCounts)
{
    int described = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (!(row.mFlags & LibraryEntry::kSpringBuilt) || (row.mFlags & LibraryEntry::kAnyFamily))
            continue;
        const std::optional<std::string> desc = LibraryEntry::GetSpringDesc(&row);
        ASSERT_TRUE(desc) << row.mName;
        if (desc->empty())
            continue;
        SCOPED_TRACE(row.mName);
        const Counts counts = CountDescription(*desc);
        EXPECT_EQ(counts.faces, row.mNumFaces);
        EXPECT_EQ(counts.edges, row.mNumEdges);
        EXPECT_EQ(counts.verts, row.mNumVerts);
        ++described;
    }
    EXPECT_EQ(described, 126);  // the 97 rows with data, eleven authored near misses and 18 built toroids
}
