#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "kernel/Mat3.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>

namespace
{
class LibraryEntryModelTest : public LibraryStateTest
{
};
}  // namespace

TEST_F(LibraryEntryModelTest, RowsWithoutABuilderSayWhyAndLeaveTheModelAlone)
{
    struct Case
    {
        const char* name;
        int position;
        const char* message;
    };
    const Case cases[] = {
        {"near miss without data", 198,
         "\"Dodecagonal-faced Polyhedron\" cannot be built yet: the coordinates of this model are not available in this "
         "version."},
        {"toroid without data", 213, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        Poly poly;
        poly.SetFromLibraryEntry(&Row(0));
        PolyTemplate templ;
        EXPECT_FALSE(poly.CreateFromLibraryEntry(&templ, &Row(c.position), false));
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        ASSERT_NE(call, nullptr);
        EXPECT_NE(call->text.find("cannot be built yet"), std::string::npos) << call->text;
        if (c.message)
        {
            EXPECT_EQ(call->text, c.message);
        }
        EXPECT_EQ(poly.mLibraryEntry, &Row(0));
        EXPECT_STREQ(poly.GetBaseName(), "Tetrahedron");
        EXPECT_EQ(poly.mFaces.mCount, 0);
        EXPECT_EQ(GetLastLibraryEntry(), &Row(0));

        EXPECT_EQ(LibraryEntry::CreatePoly(&Row(c.position), false), nullptr);
    }
}

TEST_F(LibraryEntryModelTest, NothingToBuildGivesNoModel)
{
    ScopedScriptedServices scripted;
    Poly poly;
    PolyTemplate templ;
    EXPECT_FALSE(poly.CreateFromLibraryEntry(&templ, nullptr, false));
    EXPECT_EQ(LibraryEntry::CreatePoly(nullptr, false), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);

    // Model files need the file reader, which this version lacks: said, not silently empty.
    LibraryEntry* file = CreateFileEntry("/models/cube.orva");
    EXPECT_EQ(LibraryEntry::CreatePoly(file, false), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    file->FreeStrings();
    delete file;
}


namespace
{
// The published symmetry group of each uniform row (Schoenflies symbol), by position; null for the
// two family rows, whose group follows from their parameters.
const char* const kPublishedGroups[105] = {
    "Td",  "Oh",  "Oh",  "Ih",  "Ih",                                             // 0-4 Platonic
    "Ih",  "Ih",  "Ih",  "Ih",                                                    // 5-8 Kepler-Poinsot
    "Td",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "O",                                // 9-15
    "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "I",                                       // 16-21
    "Td",                                                                         // 22
    "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",  "Oh",          // 23-32
    "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",          // 33-42
    "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",          // 43-52
    "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",          // 53-62
    "Ih",  "Ih",                                                                  // 63-64
    "Ih",  "I",   "I",   "I",   "I",   "I",   "I",   "Ih",  "I",   "Ih", "Ih",    // 65-75 snubs
    "D3h", "D4d", "D5h", "D5d", "D5h", "D5h", "D5d", "D6h", "D6d", "D7h",         // 76-85
    "D7d", "D7h", "D7h", "D7h", "D7d", "D7h", "D8h", "D8d", "D10h", "D10d",        // 86-95
    nullptr, nullptr,                                                             // 96-97 families
    "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",  "Ih",                               // 98-104
};

struct PublishedGroup
{
    int kind;
    int mainOrder;  // of the dihedral groups
    bool reflexible;
    int order;  // operations, the improper ones included
};

PublishedGroup ReadSchoenflies(const std::string& symbol)
{
    const bool reflexible = symbol.size() > 1 && (symbol.back() == 'h' || symbol.back() == 'd');
    const int factor = reflexible ? 2 : 1;
    if (symbol[0] == 'D')
    {
        const int n = std::atoi(symbol.c_str() + 1);
        return {SymGroup::kDihedral, n, true, 4 * n};
    }
    if (symbol[0] == 'T')
        return {SymGroup::kTetrahedral, 0, reflexible, 12 * factor};
    if (symbol[0] == 'O')
        return {SymGroup::kOctahedral, 0, reflexible, 24 * factor};
    return {SymGroup::kIcosahedral, 0, reflexible, 60 * factor};
}

// Whether every operation of the group carries the model's vertices onto its vertices.
bool GroupMapsVertsOntoVerts(const Poly& poly)
{
    SymOpIterator it;
    Mat3 m;
    while (poly.mGroup->NextOperationWithReflections(it, true, &m, true))
    {
        for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        {
            Vec3D image;
            m.Transform(image, v->mPoint);
            bool found = false;
            for (const FaceVert* w = poly.mVerts.mFirst; w && !found; w = w->mNext)
                found = Vec3Equal(w->mPoint, image, 1e-6);
            if (!found)
                return false;
        }
    }
    return true;
}

int CountOperations(const SymGroup& group)
{
    SymOpIterator it;
    int n = 0;
    while (group.NextOperationWithReflections(it, true, nullptr, true))
        ++n;
    return n;
}

void ExpectPublished(const Poly& poly, int faces, int edges, int verts, const PublishedGroup& group)
{
    EXPECT_EQ(poly.mFaces.mCount, faces);
    EXPECT_EQ(poly.mNumEdges, edges);
    EXPECT_EQ(poly.mVerts.mCount, verts);
    int typed = 0;
    for (const EdgeType& t : poly.mEdgeTypes)
        typed += t.mCount;
    EXPECT_EQ(typed, edges) << "every edge has its type";
    ASSERT_NE(poly.mGroup, nullptr);
    EXPECT_EQ(poly.mGroup->mKind, group.kind);
    if (group.kind == SymGroup::kDihedral)
    {
        EXPECT_EQ(poly.mGroup->MainOrder(), group.mainOrder);
    }
    EXPECT_EQ(poly.mReflexible, group.reflexible);
    EXPECT_EQ(CountOperations(*poly.mGroup), group.order);
    EXPECT_TRUE(GroupMapsVertsOntoVerts(poly));
}
}  // namespace

// Every uniform row opens with the counts the row lists and the published symmetry group: its kind,
// main axis, reflexibility and order, and each of its operations maps the model onto itself. The
// family rows do the same for several n/d, the crossed antiprisms among them. No row says anything.
TEST_F(LibraryEntryModelTest, EveryUniformRowOpensWithItsPublishedCountsAndSymmetry)
{
    ScopedScriptedServices scripted;
    for (int position = 0; position < 105; ++position)
    {
        const LibraryEntry& row = Row(position);
        if (row.mFlags & LibraryEntry::kParametricFamily)
        {
            EXPECT_EQ(kPublishedGroups[position], nullptr) << position;
            continue;
        }
        SCOPED_TRACE(std::to_string(position) + " " + row.mName + " " + row.mSymbol);
        ASSERT_NE(kPublishedGroups[position], nullptr);
        PolyTemplate templ;
        Poly poly;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &row, false));
        EXPECT_EQ(poly.mLibraryEntry, &row);
        ExpectPublished(poly, row.mNumFaces, row.mNumEdges, row.mNumVerts, ReadSchoenflies(kPublishedGroups[position]));
    }

    struct Family
    {
        int position;
        int n, d;
    };
    const Family families[] = {
        {96, 5, 2}, {96, 7, 3}, {96, 8, 3}, {96, 9, 4}, {96, 12, 5}, {96, 6, 1},
        {97, 7, 2}, {97, 8, 3}, {97, 9, 4}, {97, 9, 5}, {97, 11, 4}, {97, 12, 5},
    };
    for (const Family& c : families)
    {
        LibraryEntry& row = Row(c.position);
        SCOPED_TRACE(std::string(row.mName) + " " + std::to_string(c.n) + "/" + std::to_string(c.d));
        ASSERT_TRUE(row.SetParams(c.n, c.d, false));
        PolyTemplate templ;
        Poly poly;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &row, false));
        const bool prism = c.position == 96;
        ExpectPublished(poly, prism ? c.n + 2 : 2 * c.n + 2, prism ? 3 * c.n : 4 * c.n, 2 * c.n,
                        {SymGroup::kDihedral, c.n, true, 4 * c.n});
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(LibraryEntryModelTest, StepwiseBuildOnlyStartsTheMatching)
{
    PolyTemplate templ;
    Poly poly;
    ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &Row(4), true));
    EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingRunning);
    EXPECT_LT(poly.mVerts.mCount, 12);
    EXPECT_EQ(poly.mTemplate, &templ);
    ASSERT_TRUE(poly.SolveMatching());
    EXPECT_EQ(poly.mVerts.mCount, 12);
    EXPECT_EQ(poly.mFaces.mCount, 20);
}

TEST_F(LibraryEntryModelTest, PlainModelOfARowAndOfItsDual)
{
    struct Case
    {
        const char* name;
        int position;
        bool dual;
        int v, f;
        int corners;  // of every face
    };
    const Case cases[] = {
        {"cube", 1, false, 8, 6, 4},
        {"octahedron as the cube's dual", 1, true, 6, 8, 3},
        {"icosahedron as the dodecahedron's dual", 3, true, 12, 20, 3},
        {"truncated icosahedron", 17, false, 60, 32, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SimplePoly> sp = LibraryEntry::CreatePoly(&Row(c.position), c.dual);
        ASSERT_NE(sp, nullptr);
        EXPECT_EQ(sp->mNumVerts, c.v);
        EXPECT_EQ(sp->mNumFaces, c.f);
        for (int i = 0; c.corners && i < sp->mNumFaces; ++i)
            EXPECT_EQ(sp->mFaces[i].mNum, c.corners);
        // A regular model and its reciprocal are vertex-transitive: one distance from the centre.
        const double r = std::sqrt(Vec3Dot(sp->mVerts[0].mPos, sp->mVerts[0].mPos));
        for (int i = 1; i < sp->mNumVerts; ++i)
            EXPECT_NEAR(std::sqrt(Vec3Dot(sp->mVerts[i].mPos, sp->mVerts[i].mPos)), r, 1e-9);
    }
}

// The two family rows stand for every n/d; counts of the uniform prisms and antiprisms.
TEST_F(LibraryEntryModelTest, FamilyRowsBuildForTheirParameters)
{
    struct Case
    {
        const char* name;
        int position;
        int n, d;
        int f, e, v;
    };
    const Case cases[] = {
        {"pentagonal prism", 96, 5, 1, 7, 15, 10},
        {"pentagrammic prism", 96, 5, 2, 7, 15, 10},
        {"enneagrammic prism", 96, 9, 2, 11, 27, 18},
        {"dodecagonal prism", 96, 12, 1, 14, 36, 24},
        {"pentagonal antiprism", 97, 5, 1, 12, 20, 10},
        {"pentagrammic antiprism", 97, 5, 2, 12, 20, 10},
        {"pentagrammic crossed antiprism", 97, 5, 3, 12, 20, 10},
        {"heptagrammic antiprism 7/3", 97, 7, 3, 16, 28, 14},
        {"octagrammic antiprism", 97, 8, 3, 18, 32, 16},
    };
    ScopedScriptedServices scripted;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LibraryEntry& row = Row(c.position);
        ASSERT_TRUE(row.SetParams(c.n, c.d, false));
        PolyTemplate templ;
        Poly poly;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &row, false));
        EXPECT_EQ(poly.mFaces.mCount, c.f);
        EXPECT_EQ(poly.mNumEdges, c.e);
        EXPECT_EQ(poly.mVerts.mCount, c.v);
        EXPECT_EQ(poly.mLibraryEntry, &row);
        // Every edge is the base polygon's: the sides are squares or equilateral triangles.
        double shortest = 1e300;
        double longest = 0.0;
        for (const Edge& edge : poly.mEdges)
        {
            shortest = std::min(shortest, edge.GetLength(false));
            longest = std::max(longest, edge.GetLength(false));
        }
        EXPECT_NEAR(longest, shortest, 1e-9 * longest);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}
