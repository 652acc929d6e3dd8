#include "operations/ParametricSolids.h"

#include "kernel/ScriptedServices.h"
#include "kernel/Vec3D.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr double kEps = 1e-9;

double Dist(const Vec3D& a, const Vec3D& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

double Norm(const Vec3D& a)
{
    return Dist(a, Vec3D{0.0, 0.0, 0.0});
}

// The edges by the sides of the faces, each with the number of face sides lying on it.
std::map<std::pair<int, int>, int> EdgeUses(const SimplePoly& sp)
{
    std::map<std::pair<int, int>, int> edges;
    for (int f = 0; f < sp.mNumFaces; ++f)
    {
        const SimpleFace& face = sp.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            ++edges[{std::min(a, b), std::max(a, b)}];
        }
    }
    return edges;
}

struct Shape
{
    int v = 0;
    int e = 0;
    int f = 0;
    std::map<int, int> faceSizes;  // corners -> number of faces
    bool closed = true;            // every edge between exactly two faces
    double minEdge = 1e300;
    double maxEdge = 0.0;
};

Shape Measure(const SimplePoly& sp)
{
    Shape s;
    s.v = sp.mNumVerts;
    s.f = sp.mNumFaces;
    const auto edges = EdgeUses(sp);
    s.e = int(edges.size());
    for (const auto& [pair, uses] : edges)
    {
        if (uses != 2)
            s.closed = false;
        const double len = Dist(sp.mVerts[pair.first].mPos, sp.mVerts[pair.second].mPos);
        s.minEdge = std::min(s.minEdge, len);
        s.maxEdge = std::max(s.maxEdge, len);
    }
    for (int f = 0; f < sp.mNumFaces; ++f)
        ++s.faceSizes[sp.mFaces[f].mNum];
    return s;
}

bool HasVertexAt(const SimplePoly& sp, const Vec3D& p)
{
    for (int i = 0; i < sp.mNumVerts; ++i)
        if (Dist(sp.mVerts[i].mPos, p) < kEps)
            return true;
    return false;
}

struct PrismaticCase
{
    const char* name;
    bool antiprism;
    int n, d;
    int v, e, f;
    std::map<int, int> faceSizes;
    double edge;  // every edge; 0 when the edges are not all equal
};

// Counts from the published tables of uniform prisms, antiprisms and their compounds.
const PrismaticCase kPrismatic[] = {
    {"triangular prism", false, 3, 1, 6, 9, 5, {{3, 2}, {4, 3}}, std::sqrt(3.0)},
    {"pentagrammic prism", false, 5, 2, 10, 15, 7, {{5, 2}, {4, 5}}, 2.0 * std::sin(2.0 * M_PI / 5.0)},
    {"compound of two triangular prisms", false, 6, 2, 12, 18, 10, {{3, 4}, {4, 6}}, std::sqrt(3.0)},
    {"octagrammic prism", false, 8, 3, 16, 24, 10, {{8, 2}, {4, 8}}, 2.0 * std::sin(3.0 * M_PI / 8.0)},
    {"digonal antiprism", true, 2, 1, 4, 6, 4, {{3, 4}}, 2.0},
    {"octahedron", true, 3, 1, 6, 12, 8, {{3, 8}}, std::sqrt(3.0)},
    {"pentagonal antiprism", true, 5, 1, 10, 20, 12, {{5, 2}, {3, 10}}, 2.0 * std::sin(M_PI / 5.0)},
    {"pentagrammic antiprism", true, 5, 2, 10, 20, 12, {{5, 2}, {3, 10}}, 2.0 * std::sin(2.0 * M_PI / 5.0)},
    {"pentagrammic crossed antiprism", true, 5, 3, 10, 20, 12, {{5, 2}, {3, 10}}, 2.0 * std::sin(3.0 * M_PI / 5.0)},
    {"compound of two octahedra", true, 6, 2, 12, 24, 16, {{3, 16}}, std::sqrt(3.0)},
    {"compound of four tetrahedra", true, 8, 4, 16, 24, 16, {{3, 16}}, 2.0},
};

TEST(ParametricSolidsTest, PrismsAndAntiprismsHaveTheKnownCountsAndEqualEdges)
{
    for (const PrismaticCase& c : kPrismatic)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SimplePoly> sp = c.antiprism ? CreateAntiprism(c.n, c.d) : CreatePrism(c.n, c.d);
        ASSERT_NE(sp, nullptr);
        const Shape s = Measure(*sp);
        EXPECT_EQ(s.v, c.v);
        EXPECT_EQ(s.e, c.e);
        EXPECT_EQ(s.f, c.f);
        EXPECT_EQ(s.faceSizes, c.faceSizes);
        EXPECT_TRUE(s.closed);
        if (c.edge > 0.0)
        {
            EXPECT_NEAR(s.minEdge, c.edge, kEps);
            EXPECT_NEAR(s.maxEdge, c.edge, kEps);
        }
        // The base polygons lie on the unit circle about the axis.
        for (int i = 0; i < sp->mNumVerts; ++i)
        {
            const Vec3D& p = sp->mVerts[i].mPos;
            EXPECT_NEAR(p.x * p.x + p.z * p.z, 1.0, kEps);
        }
    }
}

TEST(ParametricSolidsTest, TriangularAntiprismIsARegularOctahedron)
{
    std::unique_ptr<SimplePoly> sp = CreateAntiprism(3, 1);
    ASSERT_NE(sp, nullptr);
    // Six vertices at one distance from the centre, in three opposite pairs at right angles.
    ASSERT_EQ(sp->mNumVerts, 6);
    const double r = Norm(sp->mVerts[0].mPos);
    EXPECT_NEAR(r, std::sqrt(1.5), kEps);
    for (int i = 0; i < 6; ++i)
    {
        const Vec3D& p = sp->mVerts[i].mPos;
        EXPECT_NEAR(Norm(p), r, kEps);
        EXPECT_TRUE(HasVertexAt(*sp, Vec3D{-p.x, -p.y, -p.z}));
        int perpendicular = 0;
        for (int j = 0; j < 6; ++j)
        {
            const Vec3D& q = sp->mVerts[j].mPos;
            if (std::abs(p.x * q.x + p.y * q.y + p.z * q.z) < kEps)
                ++perpendicular;
        }
        EXPECT_EQ(perpendicular, 4);
    }
}

TEST(ParametricSolidsTest, AntiprismThatCannotBeEquilateralGetsHeightOne)
{
    // Above d/n = 2/3 the side triangles cannot have the base edge.
    for (const auto& [n, d] : {std::pair{5, 4}, std::pair{7, 5}})
    {
        SCOPED_TRACE(std::to_string(n) + "/" + std::to_string(d));
        std::unique_ptr<SimplePoly> sp = CreateAntiprism(n, d);
        ASSERT_NE(sp, nullptr);
        for (int i = 0; i < sp->mNumVerts; ++i)
            EXPECT_NEAR(std::abs(sp->mVerts[i].mPos.y), 0.5, kEps);
        EXPECT_TRUE(Measure(*sp).closed);
    }
}

TEST(ParametricSolidsTest, PentagrammicPrismStartsWithAStarFaceOnTop)
{
    std::unique_ptr<SimplePoly> sp = CreatePrism(5, 2);
    ASSERT_NE(sp, nullptr);
    // The first face steps round the top in twos: 0, 2, 4, 1, 3.
    const SimpleFace& top = sp->mFaces[0];
    ASSERT_EQ(top.mNum, 5);
    const int expected[5] = {0, 2, 4, 1, 3};
    for (int k = 0; k < 5; ++k)
    {
        EXPECT_EQ(top.GetVert(k)->GetIndex(), expected[k]);
        EXPECT_GT(top.GetVert(k)->mPos.y, 0.0);
    }
    // Vertex 0 at (-1, t, 0), t half the pentagram's edge.
    EXPECT_NEAR(sp->mVerts[0].mPos.x, -1.0, kEps);
    EXPECT_NEAR(sp->mVerts[0].mPos.y, std::sin(2.0 * M_PI / 5.0), kEps);
    EXPECT_NEAR(sp->mVerts[0].mPos.z, 0.0, kEps);
}

struct RefusalCase
{
    const char* name;
    std::unique_ptr<SimplePoly> (*build)();
    const char* message;
};

const RefusalCase kRefusals[] = {
    {"prism of two sides", [] { return CreatePrism(2, 1); }, "Prism base must have at least 3 sides"},
    {"prism on a digon", [] { return CreatePrism(4, 2); }, "Prism must not have degenerate base (4/2)"},
    {"prism on a point", [] { return CreatePrism(5, 5); }, "Prism must not have degenerate base (5/5)"},
    {"antiprism of one side", [] { return CreateAntiprism(1, 1); }, "Antiprism base must have at least 2 sides"},
    {"antiprism on a point", [] { return CreateAntiprism(4, 0); }, "Failed to create 4/0 antiprism."},
    {"tetrahedron with a broken triangle", [] { return CreateIrregularTet(1, 1, 3, 1, 1, 1); },
     "A tetrahedron with those dimensions is not possible"},
    {"tetrahedron with a flat base", [] { return CreateIrregularTet(1, 1, 2, 1, 1, 1); },
     "A tetrahedron with those dimensions is not possible"},
    // Four unit faces round a too-long edge: each face is fine, the solid is not.
    {"tetrahedron that cannot close", [] { return CreateIrregularTet(1, 1, 1, 1, 1, 1.9); },
     "A tetrahedron with those dimensions is not possible"},
    {"pyramid too low", [] { return CreateRightPyramid(6, 1, 1.0, 1.0); },
     "A right pyramid with those dimensions is not possible"},
    {"pyramid on a base of density 0", [] { return CreateRightPyramid(5, 0, 1.0, 10.0); },
     "A right pyramid with those dimensions is not possible"},
    {"podium too low", [] { return CreatePodium(4, 3.0, 1.0, 1.0); },
     "A podium with those dimensions is not possible"},
    {"antipodium too low", [] { return CreateAntipodium(3, 2.0, 1.0, 1.0); },
     "An antipodium with those dimensions is not possible"},
    {"block without depth", [] { return CreateBlock(2, 3, 0); }, "Dimensions must all be greater than zero"},
    {"block of negative width", [] { return CreateBlock(-1, 3, 3); }, "Dimensions must all be greater than zero"},
    // The segment counts and dimensions are the user's: their products pass 32 bits long before
    // the dialogs' limits, and are refused before anything is allocated.
    {"torus of 2^31 faces", [] { return CreateTorus(0.5, 65536, 32768); },
     "A model of 2147483648 faces and 2147483648 vertices is too large to be made."},
    {"block of the largest dimensions", [] { return CreateBlock(10000, 10000, 10000); },
     "A model of 600000000 faces and 600000002 vertices is too large to be made."},
    {"block just beyond what a model holds", [] { return CreateBlock(1183, 1183, 1183); },
     "A model of 8396934 faces and 8396936 vertices is too large to be made."},
};

TEST(ParametricSolidsTest, ImpossibleSolidsAreRefusedWithTheirMessage)
{
    for (const RefusalCase& c : kRefusals)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        EXPECT_EQ(c.build(), nullptr);
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->text, c.message);
    }
}

// The six lengths in the builder's order: V0V2, V1V2, V0V1, V1V3, V0V3, V2V3.
void ExpectTetEdges(const SimplePoly& sp, const double len[6])
{
    const int ends[6][2] = {{0, 2}, {1, 2}, {0, 1}, {1, 3}, {0, 3}, {2, 3}};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(Dist(sp.mVerts[ends[i][0]].mPos, sp.mVerts[ends[i][1]].mPos), len[i], kEps) << "edge " << i;
}

TEST(ParametricSolidsTest, IrregularTetHasTheGivenEdges)
{
    // Lengths measured on a known tetrahedron, and the regular one.
    const Vec3D p[4] = {{0.0, 0.0, 0.0}, {2.0, 0.0, 0.0}, {0.5, 1.5, 0.0}, {0.7, 0.4, 1.2}};
    const double known[6] = {Dist(p[0], p[2]), Dist(p[1], p[2]), Dist(p[0], p[1]),
                             Dist(p[1], p[3]), Dist(p[0], p[3]), Dist(p[2], p[3])};
    const double unit[6] = {1, 1, 1, 1, 1, 1};
    for (const double* len : {known, unit})
    {
        std::unique_ptr<SimplePoly> sp = CreateIrregularTet(len[0], len[1], len[2], len[3], len[4], len[5]);
        ASSERT_NE(sp, nullptr);
        EXPECT_EQ(sp->mNumVerts, 4);
        EXPECT_EQ(sp->mNumFaces, 4);
        EXPECT_TRUE(Measure(*sp).closed);
        ExpectTetEdges(*sp, len);
        EXPECT_GT(sp->mVerts[3].mPos.z, 0.0);
        EXPECT_EQ(sp->mName, "Irregular Tet");
    }
    // The known tetrahedron comes back in place: its base already sits as the builder puts it.
    std::unique_ptr<SimplePoly> sp =
        CreateIrregularTet(known[0], known[1], known[2], known[3], known[4], known[5]);
    ASSERT_NE(sp, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(Dist(sp->mVerts[i].mPos, p[i]), 0.0, kEps) << "vertex " << i;
}

TEST(ParametricSolidsTest, TetFromRatiosReadsPolygonChords)
{
    EXPECT_NEAR(PolygonChordLength(3, 1), 1.0, kEps);
    EXPECT_NEAR(PolygonChordLength(4, 1), std::sqrt(2.0), kEps);
    EXPECT_NEAR(PolygonChordLength(5, 1), (1.0 + std::sqrt(5.0)) / 2.0, kEps);
    EXPECT_NEAR(PolygonChordLength(6, 1), std::sqrt(3.0), kEps);
    EXPECT_NEAR(PolygonChordLength(5, 2), 2.0 / (1.0 + std::sqrt(5.0)), kEps);

    // The vertex figure of the 5-cell: six unit edges.
    const int num[6] = {3, 3, 3, 3, 3, 3};
    const int den[6] = {1, 1, 1, 1, 1, 1};
    std::unique_ptr<SimplePoly> sp = CreateIrregularTetFromRatios(num, den);
    ASSERT_NE(sp, nullptr);
    const double unit[6] = {1, 1, 1, 1, 1, 1};
    ExpectTetEdges(*sp, unit);

    // Mixed chords: 4, 5, 5/2, 6 ... land on their lengths edge by edge.
    const int num2[6] = {4, 4, 4, 5, 5, 6};
    const int den2[6] = {1, 1, 1, 1, 1, 1};
    sp = CreateIrregularTetFromRatios(num2, den2);
    ASSERT_NE(sp, nullptr);
    double len2[6];
    for (int i = 0; i < 6; ++i)
        len2[i] = PolygonChordLength(num2[i], den2[i]);
    ExpectTetEdges(*sp, len2);
}

TEST(ParametricSolidsTest, RightPyramidIsTheSquarePyramidForUnitEdges)
{
    std::unique_ptr<SimplePoly> sp = CreateRightPyramid(4, 1, 1.0, 1.0);
    ASSERT_NE(sp, nullptr);
    const Shape s = Measure(*sp);
    EXPECT_EQ(s.v, 5);
    EXPECT_EQ(s.e, 8);
    EXPECT_EQ(s.f, 5);
    EXPECT_TRUE(s.closed);
    EXPECT_NEAR(s.minEdge, 1.0, kEps);
    EXPECT_NEAR(s.maxEdge, 1.0, kEps);
    EXPECT_NEAR(sp->mVerts[4].mPos.z, std::sqrt(0.5), kEps);
    EXPECT_EQ(sp->mName, "Right Pyramid");
    EXPECT_EQ(sp->mFlags, 0x3848u);

    // A pentagrammic base: base edges follow the star, side edges the given length.
    sp = CreateRightPyramid(5, 2, 1.0, 2.0);
    ASSERT_NE(sp, nullptr);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_NEAR(Dist(sp->mVerts[i].mPos, sp->mVerts[(i + 1) % 5].mPos), 1.0, kEps);
        EXPECT_NEAR(Dist(sp->mVerts[i].mPos, sp->mVerts[5].mPos), 2.0, kEps);
    }
}

TEST(ParametricSolidsTest, PodiaHaveTheGivenEdges)
{
    struct Case
    {
        const char* name;
        bool anti;
        int n;
        double bottom, top, side;
        int v, e, f;
    };
    const Case cases[] = {
        {"square podium", false, 4, 2.0, 1.0, 1.5, 8, 12, 6},
        {"cube as a podium", false, 4, 1.0, 1.0, 1.0, 8, 12, 6},
        {"triangular antipodium", true, 3, 2.0, 1.0, 1.5, 6, 12, 8},
        {"pentagonal antipodium", true, 5, 1.0, 1.0, 1.0, 10, 20, 12},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SimplePoly> sp =
            c.anti ? CreateAntipodium(c.n, c.bottom, c.top, c.side) : CreatePodium(c.n, c.bottom, c.top, c.side);
        ASSERT_NE(sp, nullptr);
        const Shape s = Measure(*sp);
        EXPECT_EQ(s.v, c.v);
        EXPECT_EQ(s.e, c.e);
        EXPECT_EQ(s.f, c.f);
        EXPECT_TRUE(s.closed);
        const int n = c.n;
        for (int i = 0; i < n; ++i)
        {
            const int j = (i + 1) % n;
            EXPECT_NEAR(Dist(sp->mVerts[i].mPos, sp->mVerts[j].mPos), c.bottom, kEps);
            EXPECT_NEAR(Dist(sp->mVerts[n + i].mPos, sp->mVerts[n + j].mPos), c.top, kEps);
            EXPECT_NEAR(Dist(sp->mVerts[i].mPos, sp->mVerts[n + i].mPos), c.side, kEps);
            if (c.anti)
            {
                EXPECT_NEAR(Dist(sp->mVerts[j].mPos, sp->mVerts[n + i].mPos), c.side, kEps);
            }
        }
        EXPECT_EQ(sp->mName, c.anti ? "Antipodium" : "Podium");
    }
}

TEST(ParametricSolidsTest, TorusSharesThePointsOnItsAxis)
{
    struct Case
    {
        const char* name;
        double r;
        int m, k;
        int v, e, f;
        int triangles;
    };
    const Case cases[] = {
        // A ring torus: m k quadrilaterals, Euler characteristic 0.
        {"ring torus", 0.5, 8, 6, 48, 96, 48, 0},
        // The arm reaches the axis at phi = pi: one shared point, two triangles per segment.
        {"horn torus", 1.0, 6, 4, 19, 42, 24, 12},
        // An odd arm never lands on the axis.
        {"horn torus, odd arm", 1.0, 5, 5, 25, 50, 25, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SimplePoly> sp = CreateTorus(c.r, c.m, c.k);
        ASSERT_NE(sp, nullptr);
        const Shape s = Measure(*sp);
        EXPECT_EQ(s.v, c.v);
        EXPECT_EQ(s.e, c.e);
        EXPECT_EQ(s.f, c.f);
        EXPECT_TRUE(s.closed);
        const auto it = s.faceSizes.find(3);
        EXPECT_EQ(it == s.faceSizes.end() ? 0 : it->second, c.triangles);
        // Every point lies on the torus surface.
        for (int i = 0; i < sp->mNumVerts; ++i)
        {
            const Vec3D& p = sp->mVerts[i].mPos;
            const double rho = std::sqrt(p.x * p.x + p.y * p.y);
            EXPECT_NEAR((rho - 1.0) * (rho - 1.0) + p.z * p.z, c.r * c.r, kEps);
        }
        EXPECT_EQ(sp->mName, "Torus");
        EXPECT_EQ(sp->mFlags, 0x2008u);
    }
}

// A block of X x Y x Z cubes of side 2: 2(XY + YZ + ZX) squares, F + 2 corners (Euler), spanning
// -X..X, -Y..Y, -Z..Z.
TEST(ParametricSolidsTest, BlocksHaveTheirSquaresAndCornersAndSpanTheirDimensions)
{
    ScopedScriptedServices scripted;
    const int dims[][3] = {{1, 1, 1}, {2, 1, 1}, {1, 2, 3}, {3, 3, 3}, {5, 1, 2}, {1, 1, 7}, {4, 6, 5}};
    for (const auto& d : dims)
    {
        const int x = d[0], y = d[1], z = d[2];
        SCOPED_TRACE(std::to_string(x) + " x " + std::to_string(y) + " x " + std::to_string(z));
        std::unique_ptr<SimplePoly> sp = CreateBlock(x, y, z);
        ASSERT_NE(sp, nullptr);
        const Shape s = Measure(*sp);
        const int f = 2 * (x * y + y * z + z * x);
        EXPECT_EQ(s.f, f);
        EXPECT_EQ(s.faceSizes.size(), 1u);
        EXPECT_EQ(s.faceSizes.at(4), f);
        EXPECT_EQ(s.v, f + 2);
        EXPECT_EQ(s.e, 2 * f);
        EXPECT_TRUE(s.closed);
        EXPECT_NEAR(s.minEdge, 2.0, kEps);
        EXPECT_NEAR(s.maxEdge, 2.0, kEps);
        Vec3D low{1e300, 1e300, 1e300}, high{-1e300, -1e300, -1e300};
        for (int i = 0; i < sp->mNumVerts; ++i)
        {
            const Vec3D& p = sp->mVerts[i].mPos;
            low = Vec3D{std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = Vec3D{std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        EXPECT_EQ(low.x, -x);
        EXPECT_EQ(low.y, -y);
        EXPECT_EQ(low.z, -z);
        EXPECT_EQ(high.x, x);
        EXPECT_EQ(high.y, y);
        EXPECT_EQ(high.z, z);
        // Every square runs the same way seen from outside: each edge is walked once each way, and
        // every face's turn points the same way against its outward direction.
        std::map<std::pair<int, int>, int> walks;
        int inward = 0;
        for (int i = 0; i < sp->mNumFaces; ++i)
        {
            const SimpleFace& face = sp->mFaces[i];
            Vec3D centre{0.0, 0.0, 0.0}, normal{0.0, 0.0, 0.0};
            for (int k = 0; k < 4; ++k)
            {
                const Vec3D& a = face.GetVert(k)->mPos;
                const Vec3D& b = face.GetVert((k + 1) % 4)->mPos;
                ++walks[{face.GetVert(k)->GetIndex(), face.GetVert((k + 1) % 4)->GetIndex()}];
                centre = Vec3D{centre.x + a.x / 4, centre.y + a.y / 4, centre.z + a.z / 4};
                normal.x += (a.y - b.y) * (a.z + b.z);
                normal.y += (a.z - b.z) * (a.x + b.x);
                normal.z += (a.x - b.x) * (a.y + b.y);
            }
            inward += normal.x * centre.x + normal.y * centre.y + normal.z * centre.z < 0.0;
        }
        EXPECT_TRUE(inward == 0 || inward == f) << inward << " of " << f;
        for (const auto& [walk, count] : walks)
            EXPECT_EQ(count, 1) << walk.first << "-" << walk.second;
        EXPECT_EQ(sp->mFlags, 0x3810u);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}
}  // namespace
