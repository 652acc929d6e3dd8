#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "library/LibraryEntry.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/FaceTypeAnalysis.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymGroup.h"
#include "model/TemplateMatching.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
// A model built from its vertex configuration; the template must outlive the Poly's use of it.
struct Built
{
    PolyTemplate templ;
    Poly poly;
    bool ok = false;

    explicit Built(const char* configuration)
    {
        if (templ.Parse(configuration, false))
            ok = poly.PrepareFromTemplate(&templ, 0);
    }
};

int NumFaceTypes(const Poly& poly)
{
    return poly.GetFaceStellation()->GetNumFaceTypes();
}

// Every vertex on the unit sphere and every edge of the template's edge length.
void ExpectOnSphereWithEqualEdges(const Built& b)
{
    for (const FaceVert* v = b.poly.mVerts.mFirst; v; v = v->mNext)
        EXPECT_NEAR(Vec3Length(v->mPoint), 1.0, 1e-9);
    for (const Edge& e : b.poly.mEdges)
        EXPECT_NEAR(e.GetLength(false), b.templ.mEdgeLength, 1e-9);
}
}  // namespace

TEST(TemplateMatching, IcosahedronClosesWithoutBranches)
{
    Built b("3.3.3.3.3");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mMatchingStatus, Poly::kMatchingFinished);
    EXPECT_EQ(p.mVerts.mCount, 12);
    EXPECT_EQ(p.mFaces.mCount, 20);
    ASSERT_EQ(NumFaceTypes(p), 1);
    EXPECT_EQ(p.GetFaceStellation()->mFirstFaceType->mCount, 20);
    EXPECT_EQ(p.GetFaceStellation()->mFirstFaceType->mNumRotations, 3);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kIcosahedral);
    EXPECT_TRUE(p.mReflexible);
    EXPECT_EQ(p.mGroup->mReflection, SymGroup::kHorizontal);
    EXPECT_EQ(p.mNumEdges, 30);
    ASSERT_EQ(p.mNumEdgeTypes, 1);
    EXPECT_EQ(p.mEdgeTypes[0].mCount, 30);
    EXPECT_NEAR(p.mDensity, 1.0, 1e-9);
    ExpectOnSphereWithEqualEdges(b);
    // In the group's standard orientation the vertices lie on its 5-fold axes: (0, +-1, +-phi) and
    // their cyclic turns, scaled to the unit sphere.
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    const double s = 1.0 / std::sqrt(1.0 + phi * phi);
    for (const FaceVert* v = p.mVerts.mFirst; v; v = v->mNext)
    {
        double big = 0, small = 0;
        int zeros = 0;
        for (int i = 0; i < 3; ++i)
        {
            const double c = std::fabs(v->mPoint[i]);
            if (c < 1e-9)
                ++zeros;
            else if (std::fabs(c - phi * s) < 1e-9)
                ++big;
            else if (std::fabs(c - s) < 1e-9)
                ++small;
        }
        EXPECT_EQ(zeros, 1);
        EXPECT_EQ(big, 1);
        EXPECT_EQ(small, 1);
    }
}

TEST(TemplateMatching, CubeIsOctahedralWithOneSquareType)
{
    Built b("4.4.4");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mVerts.mCount, 8);
    EXPECT_EQ(p.mFaces.mCount, 6);
    ASSERT_EQ(NumFaceTypes(p), 1);
    const FaceType* squares = p.GetFaceStellation()->mFirstFaceType;
    EXPECT_EQ(squares->mCount, 6);
    EXPECT_EQ(squares->mNumRotations, 4);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kOctahedral);
    EXPECT_TRUE(p.mReflexible);
    EXPECT_EQ(p.mNumEdges, 12);
    ASSERT_EQ(p.mNumEdgeTypes, 1);
    EXPECT_EQ(p.mEdgeTypes[0].mCount, 12);
    EXPECT_NEAR(p.mDensity, 1.0, 1e-9);
    ExpectOnSphereWithEqualEdges(b);
    // Face normals along the coordinate axes: the octahedral group's 4-fold axes.
    for (const FaceVert* f = p.mFaces.mFirst; f; f = f->mNext)
    {
        int ones = 0;
        for (int i = 0; i < 3; ++i)
            ones += std::fabs(std::fabs(f->mZAxis[i]) - 1.0) < 1e-9;
        EXPECT_EQ(ones, 1);
    }
    // The dual side: 8 vertices of one type, each a triangle of the dual octahedron.
    ASSERT_EQ(p.GetVertStellation()->GetNumFaceTypes(), 1);
    EXPECT_EQ(p.GetVertStellation()->mFirstFaceType->mCount, 8);
}

TEST(TemplateMatching, PrepareStartsWithTheFirstPolygonAboveTheOrigin)
{
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("5.5.5", false));
    Poly poly;
    ASSERT_TRUE(Prepare(poly, &templ, 0));
    const Face* first = poly.GetNthFace(0);
    ASSERT_NE(first, nullptr);
    const double rho = templ.mFirst->mRadius;
    const double d = std::sqrt(1.0 - rho * rho);
    EXPECT_NEAR(first->mCentre.y, d, 1e-12);
    EXPECT_NEAR(first->mZAxis.y, 1.0, 1e-12);
    for (int i = 0; i < first->mNumSides; ++i)
        EXPECT_NEAR(first->mNeighbours[i]->mPoint.y, d, 1e-9);
    const Vec3D& corner0 = first->mNeighbours[0]->mPoint;
    EXPECT_NEAR(corner0.x, rho, 1e-12);
    EXPECT_NEAR(corner0.z, 0.0, 1e-12);
    // Only the first vertex is placed: removing a vertex leaves the model alone.
    const int faces = poly.mFaces.mCount;
    const int verts = poly.mVerts.mCount;
    EXPECT_EQ(poly.mNumPlaced, 1);
    RemoveVertex(poly, true);
    EXPECT_EQ(poly.mFaces.mCount, faces);
    EXPECT_EQ(poly.mVerts.mCount, verts);
}

TEST(TemplateMatching, PentagonalPrismIsDihedralAndReflexible)
{
    Built b("5.4.4");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mFaces.mCount, 7);
    EXPECT_EQ(p.mVerts.mCount, 10);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kDihedral);
    EXPECT_EQ(p.mGroup->MainOrder(), 5);
    EXPECT_TRUE(p.mReflexible);
    // The pentagons face along the main axis (y).
    for (const FaceVert* f = p.mFaces.mFirst; f; f = f->mNext)
    {
        if (f->mNumSides == 5)
        {
            EXPECT_NEAR(std::fabs(f->mZAxis.y), 1.0, 1e-9);
        }
    }
    ExpectOnSphereWithEqualEdges(b);
}

// The prism and antiprism rows open through builders of their own; matched from their configuration
// instead, they close with the counts of the row and the n-fold dihedral group, reflexible.
TEST(TemplateMatching, PrismRowsMatchFromTheirConfigurationToo)
{
    ScopedScriptedServices scripted;
    int rows = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (row.mCategory != LibraryEntry::kCategoryPrisms || std::strchr(row.mSymbol, '<'))
            continue;
        SCOPED_TRACE(row.mSymbol);
        ++rows;
        const Built b(row.mSymbol);
        ASSERT_TRUE(b.ok);
        const Poly& p = b.poly;
        EXPECT_EQ(p.mFaces.mCount, row.mNumFaces);
        EXPECT_EQ(p.mNumEdges, row.mNumEdges);
        EXPECT_EQ(p.mVerts.mCount, row.mNumVerts);
        ASSERT_TRUE(p.mGroup);
        EXPECT_EQ(p.mGroup->mKind, SymGroup::kDihedral);
        EXPECT_EQ(p.mGroup->MainOrder(), std::atoi(row.mSymbol));
        EXPECT_TRUE(p.mReflexible);
        ExpectOnSphereWithEqualEdges(b);
    }
    EXPECT_EQ(rows, 20);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

namespace
{
std::array<long, 3> PointKey(const Vec3D& p)
{
    return {std::lround(p.x * 1e6), std::lround(p.y * 1e6), std::lround(p.z * 1e6)};
}

// The number of face sides on each edge, the edges told apart by the places of their ends.
std::map<std::pair<std::array<long, 3>, std::array<long, 3>>, int> SidesPerEdge(const Poly& poly)
{
    std::map<std::pair<std::array<long, 3>, std::array<long, 3>>, int> sides;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        for (int i = 0; i < f->mNumSides; ++i)
        {
            std::array<long, 3> a = PointKey(f->mNeighbours[i]->mPoint);
            std::array<long, 3> b = PointKey(f->mNeighbours[(i + 1) % f->mNumSides]->mPoint);
            if (b < a)
                std::swap(a, b);
            ++sides[{a, b}];
        }
    }
    return sides;
}

// The distances between the neighbours of a vertex, sorted: equal for congruent vertex figures.
std::vector<double> FigureDistances(const Vert* v)
{
    std::vector<const FaceVert*> neighbours;
    for (int i = 0; i < v->mNumSides; ++i)
        neighbours.push_back(v->GetAdjacentVert(i));
    std::vector<double> out;
    for (size_t i = 0; i < neighbours.size(); ++i)
        for (size_t j = i + 1; j < neighbours.size(); ++j)
        {
            Vec3D d;
            Vec3Sub(d, neighbours[i]->mPoint, neighbours[j]->mPoint);
            out.push_back(Vec3Length(d));
        }
    std::sort(out.begin(), out.end());
    return out;
}

int CountFaces(const Poly& poly, int sides)
{
    int n = 0;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        n += f->mNumSides == sides;
    return n;
}
}  // namespace

// The great dirhombicosidodecahedron: the figure wraps twice round each vertex, and its four squares
// pass through the centre. The ring matches itself half-way round in the opposite orientation, so
// the turn of a placement says nothing about its orientation class; taking the class from it sent
// vertices to a backward reading that put the pentagrams on the wrong sides.
TEST(TemplateMatching, GreatDirhombicosidodecahedronHasOneFigureAtEveryVertexAndTwoFacesAtEveryEdge)
{
    ScopedScriptedServices scripted;
    const Built b("(5/2.4.3.4.5/3.4.3/2.4)/2");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mMatchingStatus, Poly::kMatchingFinished);
    EXPECT_EQ(p.mVerts.mCount, 60);
    EXPECT_EQ(CountFaces(p, 3), 40);
    EXPECT_EQ(CountFaces(p, 4), 60);
    EXPECT_EQ(CountFaces(p, 5), 24);
    EXPECT_EQ(p.mNumEdges, 240);
    EXPECT_EQ(p.mEdges.count, 240);
    EXPECT_NEAR(b.templ.mEdgeLength, std::sqrt(2.0), 1e-12);
    ExpectOnSphereWithEqualEdges(b);

    const auto sides = SidesPerEdge(p);
    EXPECT_EQ(sides.size(), 240u);
    for (const auto& [edge, count] : sides)
        EXPECT_EQ(count, 2);

    const Vert* first = static_cast<const Vert*>(p.mVerts.mFirst);
    const std::vector<double> figure = FigureDistances(first);
    for (const FaceVert* e = p.mVerts.mFirst; e; e = e->mNext)
    {
        const Vert* v = static_cast<const Vert*>(e);
        ASSERT_EQ(v->mNumSides, 8);
        // Squares alternate with the others, and those alternate pentagram, triangle.
        int start = v->mNeighbours[0]->mNumSides == 4 ? 1 : 0;
        for (int i = 0; i < 8; ++i)
        {
            const int sidesHere = v->mNeighbours[(start + i) % 8]->mNumSides;
            if (i % 2 == 1)
                EXPECT_EQ(sidesHere, 4);
            else
                EXPECT_EQ(sidesHere, v->mNeighbours[start]->mNumSides == 5 ? (i % 4 == 0 ? 5 : 3)
                                                                          : (i % 4 == 0 ? 3 : 5));
        }
        const std::vector<double> here = FigureDistances(v);
        ASSERT_EQ(here.size(), figure.size());
        for (size_t i = 0; i < here.size(); ++i)
            EXPECT_NEAR(here[i], figure[i], 1e-9);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

// The great disnub dirhombidodecahedron: 120 triangles, 24 pentagrams and 60 squares on 240 edges,
// 120 of them shared by four faces (two triangles, a square and a pentagram), counted twice. The
// triangles come as two face types of 60, mirror images of each other: faces made as {3/2} list
// their corners the other way round, which the chiral split reads in the face's own turning sense.
TEST(TemplateMatching, GreatDisnubDirhombidodecahedronHasFourFacesAtHalfItsEdges)
{
    ScopedScriptedServices scripted;
    const Built b("(5/2.4.3.3.3.4.5/3.4.3/2.3/2.3/2.4)/2");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mVerts.mCount, 60);
    EXPECT_EQ(CountFaces(p, 3), 120);
    EXPECT_EQ(CountFaces(p, 4), 60);
    EXPECT_EQ(CountFaces(p, 5), 24);
    EXPECT_EQ(p.mNumEdges, 360);
    ExpectOnSphereWithEqualEdges(b);

    const auto sides = SidesPerEdge(p);
    int two = 0, four = 0;
    for (const auto& [edge, count] : sides)
    {
        two += count == 2;
        four += count == 4;
    }
    EXPECT_EQ(two, 120);
    EXPECT_EQ(four, 120);
    EXPECT_EQ(int(sides.size()), 240);

    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kIcosahedral);
    EXPECT_TRUE(p.mReflexible);
    int triangleTypes = 0;
    for (const FaceType* t = p.GetFaceStellation()->mFirstFaceType; t; t = t->mNextFaceType)
    {
        if (t->mFirstFace->mNumSides != 3)
            continue;
        ++triangleTypes;
        EXPECT_EQ(t->mCount, 60);
        ASSERT_NE(t->mMirrorFace, nullptr);
        EXPECT_EQ(t->mMirrorFace->mMirrorFace, t);
    }
    EXPECT_EQ(triangleTypes, 2);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

// A polyhedral group whose second reference face is missing: the bipyramid's 8 triangles claim the
// order 3 of the octahedron's faces, but no two of their normals meet at the angle of two 3-fold
// axes. The model is still turned rigidly with its first face's normal onto the group's first
// 3-fold axis, and the failure is reported.
TEST(TemplateMatching, SetSymGroupWithoutSecondFaceStillAlignsTheFirstFace)
{
    ScopedScriptedServices scripted;
    PolySpec spec;
    spec.verts = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 2}, {0, 0, -2}};
    spec.faces = {{0, 2, 4}, {2, 1, 4}, {1, 3, 4}, {3, 0, 4}, {2, 0, 5}, {1, 2, 5}, {3, 1, 5}, {0, 3, 5}};
    Poly poly;
    BuildPoly(poly, spec, false);
    Stellation* side = poly.GetFaceStellation();
    FaceType* type = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        type->AddFace(f);
    type->mNumRotations = 3;
    const Vec3D d01Before = [&] {
        Vec3D d;
        Vec3Sub(d, poly.GetNthVert(0)->mPoint, poly.GetNthVert(4)->mPoint);
        return d;
    }();

    SetSymGroup(poly);

    ASSERT_TRUE(poly.mGroup);
    EXPECT_EQ(poly.mGroup->mKind, SymGroup::kOctahedral);
    const SymAxisSet* threeFold = poly.mGroup->FindAxisSetByOrder(3);
    ASSERT_NE(threeFold, nullptr);
    EXPECT_TRUE(Vec3Equal(type->mFirstFace->mZAxis, threeFold->mAxes[0].mDir, 1e-9));
    Vec3D d01After;
    Vec3Sub(d01After, poly.GetNthVert(0)->mPoint, poly.GetNthVert(4)->mPoint);
    EXPECT_NEAR(Vec3Length(d01After), Vec3Length(d01Before), 1e-12);
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_NE(call->text.find("SetSymGroup: face == NULL"), std::string::npos);
}

// A configuration whose pentagons would need alternating neighbours round an odd cycle cannot
// close: the matching ends failed and says which vertex has no placement.
TEST(TemplateMatching, ConfigurationThatCannotCloseFails)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("5.5.4", false));
    Poly poly;
    EXPECT_FALSE(poly.PrepareFromTemplate(&templ, 0));
    EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingFailed);
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_NE(call->text.find("Failed: Found vertex with no possible match"), std::string::npos);
}

// Around every vertex each face must run the way its orientation byte says: the corner after the
// vertex on one face is the corner before it on the next, and the two corners are one edge length
// from the vertex. Retrograde polygons ({n/d}, d > n/2) step the other way round their normals,
// and faces made as {n/d} by one vertex and as {n/(n-d)} by another are one face.
TEST(TemplateMatching, FacesRunAroundEachVertexAsTheirOrientationBytesSay)
{
    ScopedScriptedServices scripted;
    const char* const configurations[] = {"3.4.3/2.4", "5/3.3.3.3", "4.3/2.4.4", "4.6.4/3.6", "8/3.4.8/5.4/3",
                                          "5/2.10/3.5/3.10/3", "10.6.10/9.6/5", "(5/3.3.3.3.3.3)/2"};
    for (const char* configuration : configurations)
    {
        SCOPED_TRACE(configuration);
        Built b(configuration);
        ASSERT_TRUE(b.ok);
        for (FaceVert* e = b.poly.mVerts.mFirst; e; e = e->mNext)
        {
            const Vert* v = static_cast<const Vert*>(e);
            const int n = v->mNumSides;
            for (int i = 0; i < n; ++i)
            {
                const Face* f = static_cast<const Face*>(v->mNeighbours[i]);
                const Face* g = static_cast<const Face*>(v->mNeighbours[(i + 1) % n]);
                ASSERT_TRUE(f && g);
                const Vert* before = GetNextVertex(f, v, -1);
                const Vert* after = GetNextVertex(g, v, +1);
                ASSERT_TRUE(before && after);
                EXPECT_EQ(before, after);
                Vec3D d;
                Vec3Sub(d, before->mPoint, v->mPoint);
                EXPECT_NEAR(Vec3Length(d), b.templ.mEdgeLength, 1e-9);
            }
        }
    }
}

// Four pentagons and a retrograde pentagon meet locally but cannot close: the first placement
// runs into a contradiction, the search backs up to the open branch (the placed count drops),
// the other choice fails as well and the matching ends failed with no branch left.
TEST(TemplateMatching, ConfigurationFailsAfterBacktracking)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("5.5.5.5/3", false));
    Poly poly;
    ASSERT_TRUE(Prepare(poly, &templ, 0));
    bool branched = false;
    bool backedUp = false;
    for (int step = 0; step < 500 && poly.mMatchingStatus == Poly::kMatchingRunning; ++step)
    {
        const int placed = poly.mNumPlaced;
        branched = branched || poly.mOpenBranches > 0;
        poly.MatchStep();
        backedUp = backedUp || poly.mNumPlaced < placed;
    }
    EXPECT_TRUE(branched);
    EXPECT_TRUE(backedUp);
    EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingFailed);
    EXPECT_EQ(poly.mOpenBranches, 0);
    EXPECT_FALSE(poly.MatchStep());

    Poly again;
    EXPECT_FALSE(again.PrepareFromTemplate(&templ, 0));
    EXPECT_EQ(again.mMatchingStatus, Poly::kMatchingFailed);
}

// Configurations whose growth contradicts itself end failed, without a model, and say why: the
// second used to leave a face naming a vertex that a merge had deleted, and the first and the last
// used to fail without a word.
TEST(TemplateMatching, ConfigurationsThatCannotCloseEndFailedAndSayWhy)
{
    struct Case
    {
        const char* configuration;
        const char* reason;
    };
    const Case cases[] = {
        {"3.4.3.4/3.3", "Failed: Found vertex where three faces would meet at one edge: '3, 4, 3, -, -.'"},
        {"3.3.5.5", "Failed: Found vertex with no possible match"},
        {"4.5.6", "Failed: Found vertex with no possible match"},
        {"3.4.4.5", "Failed: Found vertex with no possible match"},
        {"3.3.6", "Failed: Found vertex where neighbouring faces do not meet at an edge"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.configuration);
        ScopedScriptedServices scripted;
        PolyTemplate templ;
        ASSERT_TRUE(templ.Parse(c.configuration, false));
        Poly poly;
        EXPECT_FALSE(poly.PrepareFromTemplate(&templ, 0));
        EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingFailed);
        ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scripted.services.calls[0].text.rfind(c.reason, 0), 0u) << scripted.services.calls[0].text;
    }
}

// A configuration that fits round every vertex but never closes (a pentagram among triangles and
// a square) keeps growing; the search stops once 500 vertices were added after the first one, and
// says so.
TEST(TemplateMatching, GrowthPastFiveHundredAddedVerticesFails)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("3.3.3.5/2.4", false));
    Poly poly;
    EXPECT_FALSE(poly.PrepareFromTemplate(&templ, 0));
    EXPECT_EQ(poly.mMatchingStatus, Poly::kMatchingFailed);
    EXPECT_EQ(poly.mNumPlaced, 1 + 500);
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->text, "Failed: The model does not close up: more than 500 vertices were added.");
    EXPECT_FALSE(poly.SolveMatching());
}

// The great snub dodecicosidodecahedron: edge sqrt(2) at unit circumradius, and chiral although
// every vertex has its antipode: the pentagrams and the 20 triangles about the 3-fold axes come in
// antipodal pairs, the other 60 triangles do not.
TEST(TemplateMatching, GreatSnubDodecicosidodecahedronIsChiralWithReflexiblyPlacedVertices)
{
    ScopedScriptedServices scripted;
    const Built b("5/2.3.3.3.5/3.3");
    ASSERT_TRUE(b.ok);
    EXPECT_NEAR(b.templ.mEdgeLength, std::sqrt(2.0), 1e-9);
    ExpectOnSphereWithEqualEdges(b);
    auto antipodal = [](const Vec3D& p, const Vec3D& q) {
        return Vec3Equal(p, Vec3D{-q.x, -q.y, -q.z}, 1e-9);
    };
    for (const FaceVert* v = b.poly.mVerts.mFirst; v; v = v->mNext)
    {
        bool found = false;
        for (const FaceVert* w = b.poly.mVerts.mFirst; w && !found; w = w->mNext)
            found = antipodal(v->mPoint, w->mPoint);
        EXPECT_TRUE(found) << "vertex " << FaceVert::GetIndex(v);
    }
    int pairedPentagrams = 0, pairedTriangles = 0, triangles = 0;
    for (const FaceVert* f = b.poly.mFaces.mFirst; f; f = f->mNext)
    {
        bool found = false;
        for (const FaceVert* g = b.poly.mFaces.mFirst; g && !found; g = g->mNext)
            found = g->mNumSides == f->mNumSides && antipodal(f->mCentre, g->mCentre);
        if (f->mNumSides == 3)
        {
            ++triangles;
            pairedTriangles += found;
        }
        else
            pairedPentagrams += found;
    }
    EXPECT_EQ(triangles, 80);
    EXPECT_EQ(pairedPentagrams, 24);
    EXPECT_EQ(pairedTriangles, 20);
    EXPECT_FALSE(b.poly.mReflexible);
}
