#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryCategory.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "library/LibraryFolder.h"
#include "library/LibraryParameter.h"
#include "polytope4d/Polytope4DOptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace
{
using L = LibraryEntry;

class LibraryEntryTest : public LibraryStateTest
{
};

constexpr int kCube = 1;
constexpr int kOctahedron = 2;
constexpr int kIcosahedron = 4;
constexpr int kHeptagrammicPrism1 = 87;
constexpr int kNgonalPrism = 96;
constexpr int kNgonalAntiprism = 97;
constexpr int kDegenerate = 98;
constexpr int kJ1 = 105;
constexpr int kJ2 = 106;
constexpr int kTesseract = 265;
constexpr int kSixteenCell = 266;
constexpr int kNgonalPyramid = 244;
constexpr int kNgonalCupola = 249;
constexpr int kNgonalCuploid = 254;
}  // namespace

TEST_F(LibraryEntryTest, DualCountsSwapFacesAndVerticesOrCellsAndVertices)
{
    EXPECT_EQ(Row(kCube).GetNumVerts(true), 6);
    EXPECT_EQ(Row(kCube).GetNumFaces(true), 8);
    EXPECT_EQ(Row(kCube).GetNumEdges(true), 12);
    EXPECT_EQ(Row(kCube).GetNumCells(true), 0);
    // The dual of the tesseract is the 16-cell, a row of its own.
    const L& tesseract = Row(kTesseract);
    const L& sixteen = Row(kSixteenCell);
    EXPECT_EQ(tesseract.GetNumCells(true), sixteen.GetNumCells(false));
    EXPECT_EQ(tesseract.GetNumFaces(true), sixteen.GetNumFaces(false));
    EXPECT_EQ(tesseract.GetNumEdges(true), sixteen.GetNumEdges(false));
    EXPECT_EQ(tesseract.GetNumVerts(true), sixteen.GetNumVerts(false));
    EXPECT_EQ(sixteen.GetNumVerts(true), tesseract.GetNumVerts(false));
}

TEST_F(LibraryEntryTest, SymbolsAndParameters)
{
    L& antiprism = Row(kNgonalAntiprism);
    ASSERT_TRUE(antiprism.SetParams(9, 2, true));
    EXPECT_EQ(L::GetSymbol(&antiprism), "9/2.3.3.3");
    ASSERT_TRUE(antiprism.SetParams(9, 1, true));
    EXPECT_EQ(L::GetSymbol(&antiprism), "9.3.3.3");
    EXPECT_EQ(L::GetSymbol(&Row(kNgonalPyramid)), "Y 5");

    // A prism row without the family flag reads its parameters from its symbol, whatever its fields.
    int n = 0, d = 0;
    Row(kHeptagrammicPrism1).GetParams(n, d);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(d, 2);
    Row(83).GetParams(n, d);  // "6.4.4"
    EXPECT_EQ(n, 6);
    EXPECT_EQ(d, 1);

    EXPECT_EQ(L::GetSymbol(nullptr), "");
    L hidden = Row(kCube);
    hidden.mSymbol = "?4.4.4";
    EXPECT_EQ(L::GetSymbol(&hidden), "");
}

TEST_F(LibraryEntryTest, WenningerNumbersAndPages)
{
    EXPECT_EQ(Row(kIcosahedron).GetWenningerNumber(), 4);
    EXPECT_EQ(Row(kIcosahedron).GetModelsPage(), 17);
    EXPECT_EQ(Row(kIcosahedron).GetDualModelsPage(), 9);
    for (int position : {kJ1, 200, 230, 241, kNgonalPrism, kTesseract})
    {
        SCOPED_TRACE(Row(position).mName);
        EXPECT_EQ(Row(position).GetWenningerNumber(), -1);
        EXPECT_EQ(Row(position).GetModelsPage(), -1);
        EXPECT_EQ(Row(position).GetDualModelsPage(), -1);
    }
}

TEST_F(LibraryEntryTest, DualNames)
{
    EXPECT_EQ(L::GetDualFirstName(&Row(kOctahedron)), "Cube");
    EXPECT_EQ(L::GetDualFirstName(&Row(kCube)), "Octahedron");
    EXPECT_EQ(L::GetDualFirstName(nullptr), "");

    struct Case
    {
        const L* entry;
        const char* text;
        bool expected;
    };
    const Case kCases[] = {
        {&Row(kOctahedron), "Cube", true},
        {&Row(kOctahedron), "cube", false},
        {&Row(kOctahedron), "Cube; Hexahedron", false},
        {&Row(kOctahedron), "  ", false},
        {&Row(kDegenerate), "", true},
        {&Row(kDegenerate), "x", false},
        {nullptr, nullptr, true},
        {nullptr, "Cube", false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(L::IsDualName(c.entry, c.text), c.expected);
    }
}

TEST_F(LibraryEntryTest, CategoryTree)
{
    EXPECT_STREQ(GetLibraryCategoryName(0), "Search Results");
    EXPECT_STREQ(GetLibraryCategoryName(5), "Kepler-Poinsot");
    EXPECT_EQ(GetLibraryCategoryDepth(5), 3);
    EXPECT_STREQ(GetLibraryCategoryName(18), "Demo 4D Polytopes");
    EXPECT_EQ(GetLibraryCategoryName(19), nullptr);
    EXPECT_EQ(GetLibraryCategoryName(-1), nullptr);

    struct Case
    {
        int category;
        int subcategories;
    };
    const Case kCases[] = {{0, 0}, {1, 17}, {2, 11}, {3, 2}, {6, 6}, {4, 0}, {13, 0}, {14, 0}, {18, 0}, {19, 0},
                           {-1, 0}};
    for (const Case& c : kCases)
        EXPECT_EQ(GetNumLibrarySubcategories(c.category), c.subcategories) << c.category;

    // Every row lies in the whole tree; no row carries an inner node of it.
    for (const L& row : GetLibraryTable())
    {
        EXPECT_TRUE(IsInLibraryCategory(row.mCategory, 1)) << row.mName;
        EXPECT_EQ(GetNumLibrarySubcategories(row.mCategory), 0) << row.mName;
    }
    EXPECT_TRUE(IsInLibraryCategory(12, 2));
    EXPECT_FALSE(IsInLibraryCategory(14, 2));
}

TEST_F(LibraryEntryTest, FoldersOutsideTheThreeAreNotLookedFor)
{
    std::string path = "unchanged";
    EXPECT_FALSE(GetLibraryFolderPath(path, 3));
    EXPECT_FALSE(GetLibraryFolderPath(path, -1));
    EXPECT_TRUE(path.empty());
    ASSERT_NE(GetLibraryFolder(1), nullptr);
    EXPECT_STREQ(GetLibraryFolder(1)->mDisplayName, "4D Library");
    EXPECT_STREQ(GetLibraryFolder(1)->mFolderName, "OrvaneMaxLib");
    EXPECT_EQ(GetLibraryFolder(3), nullptr);
}

TEST_F(LibraryEntryTest, AFolderBesideTheProgramIsFound)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path() / "GeomagLib";
    std::string path;
    std::error_code error;
    fs::remove(folder, error);  // an empty one left by an interrupted run
    if (fs::exists(folder) || fs::exists(folder.parent_path().parent_path() / "GeomagLib"))
        GTEST_SKIP() << "a real library folder is installed beside the tests";
    EXPECT_FALSE(GetLibraryFolderPath(path, 2));
    fs::create_directory(folder);
    EXPECT_TRUE(GetLibraryFolderPath(path, 2));
    EXPECT_EQ(fs::path(path), folder);
    fs::remove(folder);
}

TEST_F(LibraryEntryTest, ModelFileNames)
{
    struct StripCase
    {
        const char* path;
        const char* stripped;
    };
    const StripCase kStrip[] = {
        {"dir/Cube.orva", "dir/Cube"}, {"Cube.ORVA", "Cube"}, {".orva", ".orva"},
        {"Cube.off", "Cube.off"},       {"a.b/Cube", "a.b/Cube"}, {"Cube", "Cube"},
    };
    for (const StripCase& c : kStrip)
    {
        std::string path = c.path;
        StripModelFileExtension(path);
        EXPECT_EQ(path, c.stripped) << c.path;
    }

    const struct
    {
        const char* source;
        bool keep;
        const char* prefix;
        const char* name;
    } kStripNames[] = {
        {"verf-of-Cube (3).orva", false, "verf-of-", "Cube"},
        {"verf-of-Cube (3).orva", true, "verf-of-", "Cube.orva"},
        {"VERF-OF-Cube.ORVA", true, "verf-of-", "Cube.orva"},
        {"Rhombicuboctahedron (5/2; 3)", false, "", "Rhombicuboctahedron"},
        {"Great (x)", false, "", "Great (x)"},
        {")", false, "", ")"},
        {"(3)", false, "", "(3)"},
        {"Cube (3).off", true, "", "Cube"},
        {"cell-of-", false, "cell-of-", ""},
        {"ab", false, "cell-of-", ""},
    };
    for (const auto& c : kStripNames)
        EXPECT_EQ(StripModelFileName(c.source, c.keep, c.prefix), c.name) << c.source;
    EXPECT_TRUE(IsModelFileWithPrefix("/models/VERF-of-600-cell.orva", "verf-of-"));
    EXPECT_FALSE(IsModelFileWithPrefix("/verf-of-models/600-cell.orva", "verf-of-"));
    EXPECT_FALSE(IsModelFileWithPrefix("verf-o", "verf-of-"));

    std::string path = "Cube";
    AddModelFileExtension(path);
    EXPECT_EQ(path, "Cube.orva");
    path = "Cube.OFF";
    AddModelFileExtension(path);
    EXPECT_EQ(path, "Cube.OFF");

    std::string name = "3/2 and 5/3";
    ToSemicolonNames(name);
    EXPECT_EQ(name, "3;2 and 5;3");
    char buffer[] = "a;b;c";
    ToSlashNames(buffer);
    EXPECT_STREQ(buffer, "a/b/c");
    ToSlashNames(static_cast<char*>(nullptr));
    ToSemicolonNames(static_cast<char*>(nullptr));

    ASSERT_TRUE(GetAutoGeneratePolychora());
    EXPECT_STREQ(GetLibraryFileDisplayName("/lib/4D/Verf-Of-tesseract.orva"), "tesseract.orva");
    EXPECT_STREQ(GetLibraryFileDisplayName("cube.orva"), "cube.orva");
    SetAutoGeneratePolychora(false);
    EXPECT_STREQ(GetLibraryFileDisplayName("/lib/4D/verf-of-tesseract.orva"), "verf-of-tesseract.orva");
    SetAutoGeneratePolychora(true);
    EXPECT_EQ(GetLibraryFileDisplayName(nullptr), nullptr);
}

TEST_F(LibraryEntryTest, FileEntriesOwnTheirTexts)
{
    // Built-in rows own nothing.
    L cube = Row(kCube);
    cube.FreeStrings();
    EXPECT_STREQ(cube.mName, "Cube");
    EXPECT_EQ(GetLibraryPosition(&cube), -1);
    EXPECT_EQ(GetLibraryPosition(&Row(kCube)), kCube);

    L* entry = CreateFileEntry("/models/Cube.orva");
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->mName, "/models/Cube.orva");
    EXPECT_TRUE(entry->mFlags & L::kFileEntry);
    EXPECT_EQ(L::GetSymbol(entry), "");
    entry->FreeStrings();
    EXPECT_EQ(entry->mName, nullptr);
    delete entry;

    L& chosen = GetChosenFileEntry();
    EXPECT_EQ(chosen.mSymbol, nullptr);
    EXPECT_EQ(chosen.mFlags, L::kFileEntry);
    SetChosenFilePath("first.orva");
    SetChosenFilePath("second.orva");
    EXPECT_STREQ(GetChosenFileEntry().mName, "second.orva");
}

TEST_F(LibraryEntryTest, PrismaticFaceCounts)
{
    struct Case
    {
        uint32_t kind;
        int n;
        int d;
        int faces;
    };
    const Case kCases[] = {
        {L::kPrismFamily, 5, 2, 7},       {L::kAntiprismFamily, 5, 2, 12}, {L::kPrismFamily, 6, 2, 10},
        {L::kPrismFamily, 4, 2, 4},       {L::kPrismFamily, 3, 1, 5},      {L::kAntiprismFamily, 4, 1, 10},
        {L::kPyramidFamily, 5, 1, 7},  // any other kind counts as a prism
    };
    for (const Case& c : kCases)
        EXPECT_EQ(PrismaticFaceCount(c.kind, c.n, c.d), c.faces) << c.n << "/" << c.d;

    // Against the catalogue's own prisms and antiprisms.
    for (int position = 76; position <= 95; ++position)
    {
        const L& row = Row(position);
        int n = 0, d = 0;
        row.GetParams(n, d);
        const uint32_t kind = std::strstr(row.mSymbol, ".3.3.3") ? L::kAntiprismFamily : L::kPrismFamily;
        EXPECT_EQ(PrismaticFaceCount(kind, n, d), row.mNumFaces) << row.mName;
    }
}

TEST_F(LibraryEntryTest, SetParamsChecksTheFamilies)
{
    ScopedScriptedServices scope;
    L& pyramid = Row(kNgonalPyramid);
    EXPECT_FALSE(pyramid.SetParams(5, 3, true));
    EXPECT_EQ(pyramid.mNumber, 5);  // kept though refused
    EXPECT_EQ(pyramid.mPage1, 3);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text, "Illegal pyramid base");
    EXPECT_FALSE(pyramid.SetParams(10000, 1, false));
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_TRUE(pyramid.SetParams(7, 3, true));

    // The N-gonal prism carries no family flag and takes anything.
    EXPECT_TRUE(Row(kNgonalPrism).SetParams(0, 7, true));
    EXPECT_TRUE(Row(kNgonalPrism).SetParams(9, 3, true));
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}

TEST_F(LibraryEntryTest, PromptLibraryParameter)
{
    ScopedScriptedServices scope;
    EXPECT_FALSE(PromptLibraryParameter(nullptr, nullptr, true));
    EXPECT_TRUE(PromptLibraryParameter(&Row(kCube), nullptr, true));
    EXPECT_EQ(scope.services.calls.size(), 0u);

    L& pyramid = Row(kNgonalPyramid);
    pyramid.mNumber = 4;
    EXPECT_TRUE(PromptLibraryParameter(&pyramid, nullptr, false));
    EXPECT_EQ(pyramid.mNumber, 5);
    EXPECT_EQ(pyramid.mPage1, 1);
    EXPECT_EQ(scope.services.calls.size(), 0u);

    // Asked: a refused value shows the family's message and asks again from the typed text.
    scope.services.PushText("6");
    scope.services.PushText("4");
    EXPECT_TRUE(PromptLibraryParameter(&pyramid, nullptr, true));
    EXPECT_EQ(pyramid.mNumber, 4);
    ASSERT_EQ(scope.services.CountCalls("Prompt"), 2);
    EXPECT_EQ(scope.services.calls[0].text, "Enter a value for <<N>");
    ASSERT_EQ(scope.services.promptStarts.size(), 2u);
    EXPECT_EQ(scope.services.promptStarts[0], "5");
    EXPECT_EQ(scope.services.promptStarts[1], "6");
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);

    // The value starts from the current entry's parameter when that is a family too; Cancel stops.
    scope.services.Clear();
    L& cupola = Row(kNgonalCupola);
    cupola.mNumber = 3;
    scope.services.PushText("", false);
    EXPECT_FALSE(PromptLibraryParameter(&pyramid, &cupola, true));
    ASSERT_EQ(scope.services.promptStarts.size(), 1u);
    EXPECT_EQ(scope.services.promptStarts[0], "3");
    EXPECT_EQ(pyramid.mNumber, 4);

    // A current star family row starts the text as n/d, which is read back whole.
    scope.services.Clear();
    L* cuploid = &Row(kNgonalCuploid);
    ASSERT_TRUE(cuploid->mFlags & L::kCuploidFamily);
    ASSERT_TRUE(cuploid->SetParams(7, 2, false));
    EXPECT_TRUE(PromptLibraryParameter(cuploid, cuploid, false));
    EXPECT_EQ(cuploid->mNumber, 7);
    EXPECT_EQ(cuploid->mPage1, 2);
    scope.services.PushText("7/2", false);
    EXPECT_FALSE(PromptLibraryParameter(&pyramid, cuploid, true));
    ASSERT_EQ(scope.services.promptStarts.size(), 1u);
    EXPECT_EQ(scope.services.promptStarts[0], "7/2");

    // Without asking, a refused start value fails at once and stays stored.
    scope.services.Clear();
    cupola.mNumber = 9;
    EXPECT_FALSE(PromptLibraryParameter(&pyramid, &cupola, false));
    EXPECT_EQ(pyramid.mNumber, 9);
    EXPECT_EQ(scope.services.CountCalls("Prompt"), 0);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}

TEST_F(LibraryEntryTest, SpringDescriptions)
{
    ScopedScriptedServices scope;
    EXPECT_FALSE(L::GetSpringDesc(nullptr));
    EXPECT_FALSE(L::GetSpringDesc(&Row(kCube)));
    EXPECT_FALSE(L::GetSpringDesc(&Row(kNgonalPrism)));  // a family, but not spring-built

    const std::optional<std::string> j1 = L::GetSpringDesc(&Row(kJ1));
    ASSERT_TRUE(j1);
    EXPECT_EQ(*j1, "h (4 1 0 3) (1 4 2) (0 1 2) (3 0 2) (4 3 2)");
    const std::optional<std::string> j2 = L::GetSpringDesc(&Row(kJ2));
    ASSERT_TRUE(j2);
    EXPECT_EQ(*j2, "h (0 1 2 3 4) (1 0 5) (2 1 5) (3 2 5) (4 3 5) (0 4 5)");
    // A row without data has an empty text.
    const std::optional<std::string> none = L::GetSpringDesc(&Row(198));
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, "");

    L& cupola = Row(kNgonalCupola);
    ASSERT_TRUE(cupola.SetParams(7, 3, true));
    const std::optional<std::string> desc = L::GetSpringDesc(&cupola);
    ASSERT_TRUE(desc);
    EXPECT_EQ(desc->rfind("L7/3 L+14/3 (0 1 2 3 4 5 6)/3 ", 0), 0u) << *desc;

    // Invalid parameters give no description, after the family's message.
    cupola.mPage1 = 2;
    EXPECT_FALSE(L::GetSpringDesc(&cupola));
    EXPECT_EQ(scope.services.LastCall()->text, "Illegal cupola base");
}
