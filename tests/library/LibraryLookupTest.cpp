#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr uint32_t Index(int u, int k)
{
    return uint32_t(u) | (uint32_t(k) << LibraryEntry::kKaleidoShift);
}

// A few rows as the catalogue lists them, in catalogue order.
std::vector<LibraryEntry> SampleRows()
{
    using L = LibraryEntry;
    return {
        {"3.3.3", 4, 1, 14, 8, Index(1, 6), 0, 4, 6, 4, "Tetrahedron", "Tet", "Tetrahedron", "3 | 2 3", "", ""},
        {"4.4.4", 4, 3, 16, 8, Index(6, 11), 0, 6, 12, 8, "Cube", "Hexahedron", "Octahedron", "3 | 2 4", "", ""},
        {"3.3.3.3", 4, 2, 15, 9, Index(5, 10), 0, 8, 12, 6, "Octahedron", "Oct", "Cube; Hexahedron", "4 | 2 3", "",
         ""},
        {"5.5.5", 4, 5, 19, 9, Index(23, 28), 0, 12, 30, 20, "Dodecahedron", "Doe", "Icosahedron", "3 | 2 5", "",
         ""},
        {"3.3.3.3.3", 4, 4, 17, 9, Index(22, 27), 0, 20, 30, 12, "Icosahedron", "Ike", "Dodecahedron", "5 | 2 3",
         "", ""},
        {"(5.5.5.5.5)/2", 5, 21, 39, 39, Index(35, 40), 0, 12, 30, 12, "Great Dodecahedron", "Gad",
         "Small Stellated Dodecahedron", "5/2 | 2 5", "", ""},
        {"5.3.5.3", 7, 12, 26, 22, Index(24, 29), 0, 32, 60, 30, "Icosidodecahedron", "Id", "Rhombic Triacontahedron",
         "2 | 3 5", "", ""},
        {"5.6.6", 7, 9, 23, 18, Index(25, 30), 0, 32, 90, 60, "Truncated Icosahedron", "Bucky Ball; Ti",
         "Pentakisdodecahedron", "2 5 | 3", "", ""},
        {"10.10.3", 7, 10, 24, 19, Index(26, 31), 0, 32, 90, 60, "Truncated Dodecahedron", "Tid",
         "Triakisicosahedron", "2 3 | 5", "", ""},
        {"5.3.3.3.3", 7, 18, 32, 29, Index(29, 34), 0, 92, 150, 60, "Snub Dodecahedron",
         "Snub Icosidodecahedron; Snid", "Pentagonal Hexecontahedron", "| 2 3 5", "", ""},
        {"5/2.4.4", 12, -1, -1, -1, Index(78, 3), 0, 7, 15, 10, "Pentagrammic Prism", "", "", "2 5/2 | 2", "", ""},
        {"7.4.4", 12, -1, -1, -1, 0, 0, 9, 21, 14, "Heptagonal Prism", "", "", "2 7 | 2", "", ""},
        {"<N>.4.4", 12, 5, 1, -1, L::kParametricFamily | L::kPrismFamily, -1, -1, -1, -1, "N-gonal Prism", "", "",
         "2 <N> | 2", "", ""},
    };
}

const char* NameOf(const LibraryEntry* entry)
{
    return entry ? entry->mName : "(none)";
}
}  // namespace

TEST(LibraryLookupTest, BuiltInCatalogueIsStillEmpty)
{
    EXPECT_TRUE(GetLibraryTable().empty());
    bool recognised = false;
    EXPECT_EQ(FindLibraryEntry("U1", &recognised, false, nullptr), nullptr);
    EXPECT_TRUE(recognised);
    EXPECT_EQ(FindLibraryEntry("3.3.3.3.3", &recognised, false, nullptr), nullptr);
    EXPECT_FALSE(recognised);
    PolyTemplate t;
    ASSERT_TRUE(t.Parse("3.3.3.3.3", false));
    int n = 0, d = 0;
    EXPECT_EQ(FindTemplateEntry(t, &n, &d), nullptr);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(d, -1);
}

TEST(LibraryLookupTest, FindsRowsByWhatTheUserTypes)
{
    std::vector<LibraryEntry> rows = SampleRows();
    struct Case
    {
        const char* text;
        const char* expected;
        bool dual;
    };
    const Case kCases[] = {
        {"3.3.3.3.3", "Icosahedron", false},
        {"3,3,3,3,3", "Icosahedron", false},
        {"  3. 3 .3.3.3 ", "Icosahedron", false},
        {"U22", "Icosahedron", false},
        {"u#22", "Icosahedron", false},
        {"M22", "Icosahedron", false},
        {"K27", "Icosahedron", false},
        {"k#27", "Icosahedron", false},
        {"W4", "Icosahedron", false},
        {"#4", "Icosahedron", false},
        {"U1", "Tetrahedron", false},
        {"2 3 | 5", "Truncated Dodecahedron", false},
        {"3 2 | 5", "Truncated Dodecahedron", false},
        {"| 2 3 5", "Snub Dodecahedron", false},
        {"| 5 3 2", "Snub Dodecahedron", false},
        {"7.4.4", "Heptagonal Prism", false},
        {"9.4.4", "N-gonal Prism", false},
        {"cube", "Cube", false},
        {"i", "Icosahedron", false},
        {"ID", "Icosidodecahedron", false},
        {"bucky ball", "Truncated Icosahedron", false},
        {"rhombic triacontahedron", "Icosidodecahedron", true},
        {"Octahedron", "Octahedron", false},
        {"Dodecahedron", "Dodecahedron", false},
        {"Great Dodecahedron", "Great Dodecahedron", false},
        {"!cube", "(none)", false},
        {"U 1", "(none)", false},
        {"zzz", "(none)", false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        ScopedScriptedServices scope;
        bool dual = true;
        LibraryEntry* found = FindLibraryEntry(rows, c.text, nullptr, true, &dual);
        EXPECT_STREQ(NameOf(found), c.expected);
        EXPECT_EQ(dual, c.dual);
        EXPECT_EQ(scope.services.calls.size(), 0u);
    }
}

TEST(LibraryLookupTest, FamilyMembersSetTheParameters)
{
    std::vector<LibraryEntry> rows = SampleRows();
    LibraryEntry* family = FindLibraryEntry(rows, "9/2.4.4", nullptr, false, nullptr);
    ASSERT_STREQ(NameOf(family), "N-gonal Prism");
    int n = 0, d = 0;
    family->GetParams(n, d);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(LibraryEntry::GetSymbol(family), "9/2.4.4");
    ASSERT_EQ(FindLibraryEntry(rows, "11.4.4", nullptr, false, nullptr), family);
    EXPECT_EQ(LibraryEntry::GetSymbol(family), "11.4.4");

    // A prism row without the family flag reads its parameters from its symbol.
    rows[10].GetParams(n, d);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(d, 2);
    rows[11].GetParams(n, d);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(LibraryEntry::GetSymbol(&rows[11]), "7.4.4");
    EXPECT_EQ(LibraryEntry::GetSymbol(nullptr), "");
    LibraryEntry hidden = rows[0];
    hidden.mSymbol = "?3.3.3";
    EXPECT_EQ(LibraryEntry::GetSymbol(&hidden), "");
}

TEST(LibraryLookupTest, IndexAndWythoffErrors)
{
    std::vector<LibraryEntry> rows = SampleRows();
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case kCases[] = {
        {"U81", "U81 is not a valid Maeder index.\n(Should be in the range 1-80)"},
        {"m0", "U0 is not a valid Maeder index.\n(Should be in the range 1-80)"},
        {"K99", "K99 is not a valid Kaleido index.\n(Should be in the range 1-80)"},
        {"W120", "W120 is not a valid Wenninger number.\n(Should be in the range 1-119)"},
        {"2 3 4 5 | 2", "Invalid Wythoff symbol: too many terms."},
        {"2 3 | 7", "There is no matching model with that Wythoff symbol."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        ScopedScriptedServices scope;
        bool recognised = false;
        EXPECT_EQ(FindLibraryEntry(rows, c.text, &recognised, true, nullptr), nullptr);
        EXPECT_TRUE(recognised);
        ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scope.services.LastCall()->text, c.message);

        ScopedScriptedServices quiet;
        EXPECT_EQ(FindLibraryEntry(rows, c.text, nullptr, false, nullptr), nullptr);
        EXPECT_EQ(quiet.services.calls.size(), 0u);
    }
}

TEST(LibraryLookupTest, WythoffTermsAreSorted)
{
    int num[4], den[4];
    ASSERT_EQ(ParseWythoffTerms(" 5/3 3 (3/2) | 2", num, den), 3);
    EXPECT_EQ(num[0], -3);
    EXPECT_EQ(den[0], 2);
    EXPECT_EQ(num[1], 5);
    EXPECT_EQ(den[1], 3);
    EXPECT_EQ(num[2], 3);
    EXPECT_EQ(den[2], 1);
    EXPECT_EQ(ParseWythoffTerms("| 2 3 5", num, den), 0);
    EXPECT_EQ(ParseWythoffTerms("2 3 4 5 6", num, den), 5);
    EXPECT_EQ(ParseWythoffTerms("x", num, den), 5);  // stray text never ends
}

TEST(LibraryLookupTest, NameScores)
{
    struct Case
    {
        const char* text;
        const char* names;
        int score;
    };
    const Case kCases[] = {
        {"cube", "Cube", 6},
        {"  great-dodecahedron", "Great Dodecahedron", 6},
        {"gd", "Great Dodecahedron", 5},
        {"g", "Great Dodecahedron", 3},
        {"c", "Cubohemioctahedron", 4},  // by initials; the stems stop at "hemi"
        {"tk", "Tetrakishexahedron", 3},
        {"ID", "Icosidodecahedron", 5},
        {"ti", "Truncated Icosahedron", 5},
        {"hedron", "Icosahedron", 1},
        {"x", "Icosahedron", 0},
        {"ssd", "Sissid; Small Stellated Dodecahedron", 5},
        {"snid", "Snub Icosidodecahedron; Snid", 6},
        {"cube", nullptr, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ScoreNameMatch(c.text, c.names), c.score);
    }
    EXPECT_EQ(CompareNameChars("Great-Dod", "great dod", 9), 0);
    EXPECT_EQ(CompareNameChars("-x", " x", 2), '-' - ' ');
    EXPECT_LT(CompareNameChars(nullptr, "a", 1), 0);
    EXPECT_EQ(CompareNameChars("ab", "ab", 10), 0);
}

TEST(LibraryLookupTest, TemplatesFindTheirRowFromAnyPolygon)
{
    std::vector<LibraryEntry> rows = SampleRows();
    struct Case
    {
        const char* configuration;
        const char* expected;
        int n;
    };
    const Case kCases[] = {
        {"5.6.6", "Truncated Icosahedron", -1}, {"6.6.5", "Truncated Icosahedron", -1},
        {"6.5.6", "Truncated Icosahedron", -1}, {"3.3.3.3.5", "Snub Dodecahedron", -1},
        {"4.5/2.4", "Pentagrammic Prism", -1},  {"4.4.7", "Heptagonal Prism", -1},
        {"9.4.4", "N-gonal Prism", 9},          {"4.12.4", "N-gonal Prism", 12},
        {"(5.5.5.5.5)/2", "Great Dodecahedron", -1},
        {"3.4.4.4", "(none)", -1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        int n = 0, d = 0;
        EXPECT_STREQ(NameOf(FindTemplateEntry(rows, t, &n, &d)), c.expected);
        EXPECT_EQ(n, c.n);
        EXPECT_EQ(d, c.n < 0 ? -1 : 1);
    }
}
