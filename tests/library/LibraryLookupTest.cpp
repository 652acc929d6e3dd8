#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/UserServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace
{
using L = LibraryEntry;

class LibraryLookupTest : public LibraryStateTest
{
};

const char* NameOf(const L* entry)
{
    return entry ? entry->mName : "(none)";
}

std::vector<std::string> ResultNames()
{
    std::vector<std::string> names;
    for (const LibrarySearchResult* r = GetFirstSearchResult(); r; r = r->next)
        names.push_back(std::string(r->mDual ? "dual of " : "") + r->mEntry->mName);
    return names;
}

// A shell with views of given types that records what the stellation steps ask of it.
class RecordingShell : public Shell
{
public:
    std::vector<int> viewTypes;
    std::vector<std::pair<int, int>> switched;  // view index, type
    std::vector<const L*> opened;
    bool openSucceeds = true;
    int numCells = 12;
    int stellationsMade = 0;
    std::vector<std::pair<int, bool>> cells;

    void* ActiveView() override { return viewTypes.empty() ? nullptr : View(0); }
    void* NextView(void* view) override
    {
        const size_t next = view ? Index(view) + 1 : 0;
        return next < viewTypes.size() ? View(next) : nullptr;
    }
    int ViewTypeCode(void* view) override { return viewTypes[Index(view)]; }
    bool SetViewType(void* view, int type, int) override
    {
        switched.emplace_back(int(Index(view)), type);
        viewTypes[Index(view)] = type;
        return true;
    }
    bool OpenLibraryModel(L* entry, bool, bool) override
    {
        opened.push_back(entry);
        return openSucceeds;
    }
    int CreateCurrentStellation() override
    {
        ++stellationsMade;
        return numCells;
    }
    void SetStellationCellIncluded(int cell, bool included) override { cells.emplace_back(cell, included); }

private:
    // Views are handles: the address of a slot stands for view i.
    void* View(size_t i) { return &mSlots[i]; }
    size_t Index(void* view) const { return size_t(static_cast<const char*>(view) - mSlots); }
    char mSlots[8] = {};
};

class ScopedShell
{
public:
    explicit ScopedShell(Shell* shell) : mPrevious(SetShell(shell)) {}
    ~ScopedShell() { SetShell(mPrevious); }

private:
    Shell* mPrevious;
};
}  // namespace

TEST_F(LibraryLookupTest, FindsRowsByWhatTheUserTypes)
{
    struct Case
    {
        const char* text;
        const char* expected;
        bool dual;
    };
    const Case kCases[] = {
        {"3.3.3.3.3", "Icosahedron", false},
        {"3,3,3,3,3", "Icosahedron", false},
        {" 3. 3 .3.3.3 ", "Icosahedron", false},
        {"U1", "Tetrahedron", false},
        {"u#1", "Tetrahedron", false},
        {"M1", "Tetrahedron", false},
        {"K6", "Tetrahedron", false},
        {"K#6", "Tetrahedron", false},
        {"W4", "Icosahedron", false},
        {"#4", "Icosahedron", false},
        {"U80", "Pentagrammic Crossed Antiprism", false},
        {"W119", "Great Dirhombicosidodecahedron", false},
        {"2 3 | 5", "Truncated Dodecahedron", false},
        {"3 2 | 5", "Truncated Dodecahedron", false},
        {"| 2 3 5", "Snub Dodecahedron", false},
        {"| (3/2) 5/3 (3) 5/2", "Great Disnub Dirhombidodecahedron", false},
        {"2 7/3 | 2", "Heptagrammic Prism 2", false},
        {"7.4.4", "Heptagonal Prism", false},
        {"5/2,3,3,3", "Pentagrammic Antiprism", false},
        {"J84", "Snub Disphenoid", false},
        {"Q' 7/4", "Crossed Heptagrammic Cuploid", false},
        {"cube", "Cube", false},
        {"Octahedron", "Octahedron", false},
        {"i", "Icosahedron", false},
        {"ID", "Icosidodecahedron", false},
        {"bucky ball", "Truncated Icosahedron", false},
        {"rhombic triacontahedron", "Icosidodecahedron", true},
        {"Great Rhombicuboctahedron", "Great Rhombicuboctahedron", false},
        {"snub disphenoid", "Snub Disphenoid", false},
        {"Tortuous Tunnel", "Drilled Triangular Bicupola", false},
        {"pentagonal trapezohedron", "Pentagonal Antiprism", true},
        {"2", "2-Tes, 8-cell, Tesseract", false},
        {"-Tes", "2-Tes, 8-cell, Tesseract", false},
        {"-cell", "1-Pen, 5-cell", false},
        {"120", "(none)", false},
        {"!cube", "(none)", false},
        {"zzzz", "(none)", false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        ScopedScriptedServices scope;
        bool recognised = false;
        bool dual = true;
        const L* found = FindLibraryEntry(c.text, &recognised, true, &dual);
        EXPECT_STREQ(NameOf(found), c.expected);
        EXPECT_EQ(dual, c.dual);
        EXPECT_EQ(recognised, found != nullptr);
        EXPECT_EQ(scope.services.calls.size(), 0u);
    }
}

TEST_F(LibraryLookupTest, IndexFormsNeedTheLetterNextToTheNumber)
{
    ScopedScriptedServices scope;
    bool recognised = true;
    // "U 1" is no index form: it goes on to the names.
    EXPECT_NE(FindLibraryEntry("U 1", &recognised, true), &Row(0));
    EXPECT_EQ(scope.services.calls.size(), 0u);
}

TEST_F(LibraryLookupTest, NameScores)
{
    EXPECT_EQ(ScoreLibraryName("cube", Row(1)), 4 * (6 + 100) + 2);
    EXPECT_EQ(ScoreLibraryName("Great Rhombicuboctahedron", Row(30)), 426);
    EXPECT_EQ(ScoreLibraryName("Great Rhombicuboctahedron", Row(14)), 4 * 6 + 1);
    EXPECT_EQ(ScoreLibraryName("J84", Row(188)), 4 * 6 + 3);

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
    EXPECT_GT(CompareNameChars("a", nullptr, 1), 0);
    EXPECT_EQ(CompareNameChars("ab", "ab", 10), 0);
}

TEST_F(LibraryLookupTest, FamilyMembersSetTheParameters)
{
    L* family = FindLibraryEntry("9.4.4", nullptr, false);
    ASSERT_EQ(family, &Row(96));
    int n = 0, d = 0;
    family->GetParams(n, d);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(d, 1);
    ASSERT_EQ(FindLibraryEntry("9/2.4.4", nullptr, false), family);
    family->GetParams(n, d);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(LibraryEntry::GetSymbol(family), "9/2.4.4");
    EXPECT_EQ(FindLibraryEntry("11,3,3,3", nullptr, false), &Row(97));
    EXPECT_EQ(LibraryEntry::GetSymbol(&Row(97)), "11.3.3.3");
    // A member that the count filter cannot hold is not found.
    EXPECT_EQ(FindLibraryEntry("0.4.4", nullptr, false), nullptr);
    // The pyramid-like families store no counts and pass no filter.
    EXPECT_EQ(FindLibraryEntry("Y 4", nullptr, false), nullptr);
    EXPECT_EQ(Row(244).mNumber, 5);
}

TEST_F(LibraryLookupTest, RefusedFamilyParametersGiveNothingWhenReported)
{
    std::vector<L> rows = {
        {"<N>.4.4", 12, 5, 1, -1, L::kParametricFamily | L::kPrismFamily, -1, -1, -1, -1, "N-gonal Prism", "", "",
         "", "", ""},
    };
    ScopedScriptedServices scope;
    bool recognised = false;
    EXPECT_EQ(FindLibraryEntry(rows, "6/2.4.4", &recognised, true, nullptr), nullptr);
    EXPECT_TRUE(recognised);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text, "Illegal prism base");
    // Without reporting the row is still taken, with the refused values.
    EXPECT_EQ(FindLibraryEntry(rows, "6/2.4.4", nullptr, false, nullptr), &rows[0]);
    EXPECT_EQ(rows[0].mPage1, 2);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}

TEST_F(LibraryLookupTest, IndexAndWythoffErrors)
{
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
        {"| 2 2 2 2 2", "Invalid Wythoff symbol: too many terms."},
        {"2 3 | 7", "There is no matching model with that Wythoff symbol."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        ScopedScriptedServices scope;
        bool recognised = false;
        EXPECT_EQ(FindLibraryEntry(c.text, &recognised, true), nullptr);
        EXPECT_TRUE(recognised);
        ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scope.services.LastCall()->text, c.message);

        ScopedScriptedServices quiet;
        EXPECT_EQ(FindLibraryEntry(c.text, nullptr, false), nullptr);
        EXPECT_EQ(quiet.services.calls.size(), 0u);
    }
}

TEST_F(LibraryLookupTest, WythoffTermsAreSorted)
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

TEST_F(LibraryLookupTest, EveryUniformSymbolIsFoundAndItsWythoffSymbolToo)
{
    ScopedScriptedServices scope;
    for (int position = 0; position <= 104; ++position)
    {
        L& row = Row(position);
        if (row.mFlags & L::kParametricFamily)
            continue;
        SCOPED_TRACE(row.mName);
        EXPECT_EQ(FindLibraryEntry(row.mSymbol, nullptr, true), &row);
        // Degenerate rows share a Wythoff symbol's terms with no other; the first row with the
        // same terms is the one found.
        const L* byWythoff = FindLibraryEntry(row.mWythoff, nullptr, true);
        ASSERT_NE(byWythoff, nullptr);
        EXPECT_EQ(std::string(byWythoff->mWythoff), row.mWythoff);
    }
    EXPECT_EQ(scope.services.calls.size(), 0u);
}

TEST_F(LibraryLookupTest, CollectModeListsByScore)
{
    bool recognised = false;
    bool dual = true;
    L* first = FindLibraryEntry("Great Rhombicuboctahedron", &recognised, true, &dual, true);
    EXPECT_EQ(first, &Row(30));
    EXPECT_TRUE(recognised);
    EXPECT_FALSE(dual);
    const std::vector<std::string> names = ResultNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "Great Rhombicuboctahedron");
    EXPECT_EQ(names[1], "Truncated Cuboctahedron");
    EXPECT_EQ(GetCurrentSearchResult(), GetFirstSearchResult());
    for (const LibrarySearchResult* r = GetFirstSearchResult(); r; r = r->next)
        EXPECT_EQ(r->mScore, -1);

    // Every Wythoff match in table order; an index gives its one row.
    EXPECT_EQ(FindLibraryEntry("| 2 2 5", nullptr, true, nullptr, true), &Row(79));
    EXPECT_EQ(ResultNames(), std::vector<std::string>{"Pentagonal Antiprism"});
    EXPECT_EQ(FindLibraryEntry("U22", nullptr, true, nullptr, true), &Row(4));
    EXPECT_EQ(ResultNames(), std::vector<std::string>{"Icosahedron"});

    // 4D names: those that contain the text come before those that begin with it.
    EXPECT_STREQ(NameOf(FindLibraryEntry("2", nullptr, true, nullptr, true)), "4-Ico, 24-cell");
    EXPECT_EQ(ResultNames(),
              (std::vector<std::string>{"4-Ico, 24-cell", "902-Tipe", "2-Tes, 8-cell, Tesseract"}));

    EXPECT_EQ(FindLibraryEntry("zzzz", &recognised, true, nullptr, true), nullptr);
    EXPECT_FALSE(recognised);
    EXPECT_EQ(GetFirstSearchResult(), nullptr);
}

TEST_F(LibraryLookupTest, TheFilterAloneAndAnUnusableFilter)
{
    LibraryCountFilter& filter = GetLibraryCountFilter();
    EXPECT_EQ(FindLibraryEntry("  ", nullptr, true), nullptr);  // nothing asked for

    filter.mMinFaces = filter.mMaxFaces = 8;
    filter.mMinVerts = filter.mMaxVerts = 6;
    bool recognised = false;
    bool dual = false;
    // The cube's dual comes first in table order; the Octahedron itself is the only base.
    EXPECT_EQ(FindLibraryEntry("", &recognised, true, &dual), &Row(1));
    EXPECT_TRUE(recognised);
    EXPECT_TRUE(dual);
    EXPECT_EQ(FindLibraryEntry("", &recognised, true, &dual, true), &Row(2));
    EXPECT_FALSE(dual);
    EXPECT_EQ(ResultNames(), std::vector<std::string>{"Octahedron"});

    // The filter also restricts what a text finds; the Platonic rows do not score their duals.
    EXPECT_EQ(FindLibraryEntry("cube", nullptr, true, &dual), nullptr);
    EXPECT_EQ(FindLibraryEntry("4.4.4", nullptr, true), nullptr);
    EXPECT_EQ(FindLibraryEntry("oct", nullptr, true, &dual), &Row(2));
    filter.mMinFaces = filter.mMaxFaces = 8;
    filter.mMinVerts = filter.mMaxVerts = 10;
    EXPECT_EQ(FindLibraryEntry("square trapezohedron", nullptr, true, &dual), &Row(77));
    EXPECT_TRUE(dual);
    EXPECT_EQ(FindLibraryEntry("square antiprism", nullptr, true, &dual), nullptr);

    filter.Reset();
    filter.mMinEdges = 20;
    filter.mMaxEdges = 10;
    ScopedScriptedServices scope;
    for (const char* text : {"cube", "U1", "2 3 | 5", "3.3.3.3.3", "", "2"})
    {
        recognised = true;
        EXPECT_EQ(FindLibraryEntry(text, &recognised, true, nullptr), nullptr) << text;
        EXPECT_FALSE(recognised) << text;
    }
    EXPECT_EQ(scope.services.calls.size(), 0u);
}

TEST_F(LibraryLookupTest, AWenningerStellationOpensItsBaseWithItsCells)
{
    RecordingShell shell;
    shell.viewTypes = {kViewTypePoly, kViewTypeDual};
    ScopedShell installed(&shell);
    ScopedScriptedServices scope;
    scope.services.PushAnswer(kIdYes);

    bool recognised = false;
    EXPECT_EQ(FindLibraryEntry("W19", &recognised, true), nullptr);
    EXPECT_TRUE(recognised);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text,
              "Wenninger model W19 is a stellation, but you don't\ncurrently have a stellation view open.\n\n"
              "Shall I change the current view to view stellations?");
    ASSERT_EQ(shell.switched.size(), 1u);
    EXPECT_EQ(shell.switched[0], std::make_pair(0, kViewTypeUniStellation));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_STREQ(NameOf(shell.opened[0]), "Octahedron");
    // The stellated octahedron: cells 0 and 1; later cells keep their state.
    EXPECT_EQ(shell.cells, (std::vector<std::pair<int, bool>>{{0, true}, {1, true}}));

    // With a stellation view open there is no question; runs with gaps exclude the cells between.
    shell.opened.clear();
    shell.cells.clear();
    EXPECT_EQ(FindLibraryEntry("#30", nullptr, true), nullptr);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_STREQ(NameOf(shell.opened[0]), "Icosahedron");
    std::vector<std::pair<int, bool>> expected;
    for (int cell = 0; cell <= 10; ++cell)
        expected.emplace_back(cell, cell == 8 || cell == 10);
    EXPECT_EQ(shell.cells, expected);

    // The other bases.
    shell.opened.clear();
    FindLibraryEntry("W44", nullptr, true);
    FindLibraryEntry("W66", nullptr, true);
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_STREQ(NameOf(shell.opened[0]), "Cuboctahedron");
    EXPECT_STREQ(NameOf(shell.opened[1]), "Icosidodecahedron");

    // Without report nothing is asked or opened.
    shell.viewTypes = {kViewTypePoly};
    shell.opened.clear();
    EXPECT_EQ(FindLibraryEntry("W19", nullptr, false), nullptr);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);

    // No keeps the view and goes on; Cancel stops.
    scope.services.PushAnswer(kIdNo);
    shell.switched.clear();
    FindLibraryEntry("W19", nullptr, true);
    EXPECT_TRUE(shell.switched.empty());
    EXPECT_EQ(shell.opened.size(), 1u);
    scope.services.PushAnswer(kIdCancel);
    FindLibraryEntry("W19", nullptr, true);
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.stellationsMade, 5);

    // A base that cannot be opened is not stellated.
    shell.openSucceeds = false;
    shell.viewTypes = {kViewTypeUniStellation};
    FindLibraryEntry("W23", nullptr, true);
    EXPECT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.stellationsMade, 5);
}

TEST_F(LibraryLookupTest, TemplatesFindTheirRowFromAnyPolygonInEitherDirection)
{
    struct Case
    {
        const char* configuration;
        int position;
        int n;
    };
    const Case kCases[] = {
        {"5.6.6", 17, -1},          {"6.6.5", 17, -1},
        {"6.5.6", 17, -1},          {"3.3.3.3.5", 21, -1},
        {"3.4.4.4", 13, -1},        {"4.5/2.4", 80, -1},
        {"4.4.7", 85, -1},          {"9.4.4", 96, 9},
        {"4.12.4", 96, 12},         {"3.3.3.12", 97, 12},
        {"(5.5.5.5.5)/2", 6, -1},
        // A ring typed from a star polygon is still found from another polygon.
        {"4/3.6.4.6/5", 50, -1},
        {"9/2.4.4", -1, -1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(c.configuration, false));
        int n = 0, d = 0;
        EXPECT_EQ(IndexOfLibraryEntry(nullptr, &t, &n, &d), c.position);
        EXPECT_EQ(n, c.n);
        EXPECT_EQ(d, c.n < 0 ? -1 : 1);
        EXPECT_EQ(FindLibraryEntryForTemplate(t, &n, &d), c.position < 0 ? nullptr : &Row(c.position));
        EXPECT_EQ(t.mLibraryEntry, c.position < 0 ? nullptr : &Row(c.position));
    }
    EXPECT_EQ(IndexOfLibraryEntry(&Row(42), nullptr, nullptr, nullptr), 42);
    EXPECT_EQ(IndexOfLibraryEntry(nullptr, nullptr, nullptr, nullptr), -1);
}

TEST_F(LibraryLookupTest, EveryUniformConfigurationThatSolvesFindsItsRow)
{
    ScopedScriptedServices scope;
    for (int position = 0; position <= 95; ++position)
    {
        const L& row = Row(position);
        SCOPED_TRACE(row.mName);
        PolyTemplate t;
        ASSERT_TRUE(t.Parse(row.mSymbol, false));
        EXPECT_EQ(t.mLibraryEntry, &row);
    }
}
