#include "SolidModels.h"
#include "SolidPoints.h"

#include "kernel/DiagramOutline.h"
#include "kernel/LoopType.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "model/SectionSettings.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// The section plane and switches are program-wide: each test puts them back.
class PolyCrossSectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mScene = GetSceneParameters();
        mSettings = GetSectionSettings();
        mScale = GetUnitSettings().GetScale();
    }
    void TearDown() override
    {
        GetSceneParameters() = mScene;
        GetSectionSettings() = mSettings;
        GetUnitSettings().SetScale(mScale, false);
    }

    ScopedScriptedServices mScripted;

private:
    SceneParameters mScene;
    SectionSettings mSettings;
    double mScale = 1.0;
};

bool BuildPoly(const FacedSolid& solid, Poly& poly)
{
    std::unique_ptr<SimplePoly> model = MakeModel(solid);
    return CreatePoly(model.get(), &poly, false, false);
}

bool BuildConvex(const char* name, Poly& poly)
{
    return BuildPoly(ConvexSolid(FindSolid(PlatonicAndArchimedeanSolids(), name).points), poly);
}

// The section plane across the direction, at the depth.
void CutAcross(Vec3D n, double depth)
{
    Vec3Normalize(n);
    Vec3D u, v;
    const Vec3D other = std::fabs(n.x) < 0.9 ? Vec3D{1.0, 0.0, 0.0} : Vec3D{0.0, 1.0, 0.0};
    Vec3Cross(u, other, n);
    Vec3Normalize(u);
    Vec3Cross(v, n, u);
    Mat4& m = GetSceneParameters().sliceMatrix;
    m.SetIdentity();
    const Vec3D columns[3] = {u, v, n};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m.At(r, c) = columns[c][r];
    GetSceneParameters().sliceRatio = depth;
}

std::vector<const SectionPolygon*> Loops(const Poly& poly)
{
    std::vector<const SectionPolygon*> loops;
    for (const SectionPolygon* p = poly.mSectionPolygons; p; p = p->mNext)
        loops.push_back(p);
    return loops;
}

double SignedArea(const SectionPolygon& p)
{
    double a = 0.0;
    for (int i = 0; i < p.mNumPoints; ++i)
    {
        const Vec3D& s = p.mPoints[i];
        const Vec3D& t = p.mPoints[(i + 1) % p.mNumPoints];
        a += s.x * t.y - t.x * s.y;
    }
    return a / 2.0;
}

double SideLength(const SectionPolygon& p, int i)
{
    const Vec3D& s = p.mPoints[i];
    const Vec3D& t = p.mPoints[(i + 1) % p.mNumPoints];
    return std::hypot(t.x - s.x, t.y - s.y);
}

double EdgeLength(const Poly& poly)
{
    const FaceVert* f = poly.mFaces.mFirst;
    Vec3D d;
    Vec3Sub(d, f->mNeighbours[1]->mPoint, f->mNeighbours[0]->mPoint);
    return Vec3Length(d);
}

Vec3D FirstVertex(const Poly& poly)
{
    return poly.mVerts.mFirst->mPoint;
}

// The loop points lie in the plane; none lies on a vertex of the model.
void ExpectOffVertices(const Poly& poly)
{
    Vec3D n, u, v;
    double d = 0.0;
    const_cast<Poly&>(poly).GetCrossSectionFrame(n, d, u, v);
    for (const SectionPolygon* p : Loops(poly))
        for (int i = 0; i < p->mNumPoints; ++i)
            for (const FaceVert* vert = poly.mVerts.mFirst; vert; vert = vert->mNext)
            {
                const double x = p->mPoints[i].x - Vec3Dot(u, vert->mPoint);
                const double y = p->mPoints[i].y - Vec3Dot(v, vert->mPoint);
                const double z = -d - Vec3Dot(n, vert->mPoint);
                EXPECT_GT(x * x + y * y + z * z, 1e-20);
            }
}

TEST_F(PolyCrossSectionTest, SectionsOfRegularSolidsMatchClosedForms)
{
    struct Case
    {
        const char* name;
        const char* solid;
        int axis;  // 0 towards a vertex, 1 along a face normal
        double depth;
        int points;
        double sideOverEdge;
        double areaOverEdgeSq;
    };
    const Case kCases[] = {
        {"cube through its centre across a 3-fold axis", "cube", 0, 0.5, 6, 1.0 / std::sqrt(2.0),
         3.0 * std::sqrt(3.0) / 4.0},
        {"cube at depth 0.3 across a 4-fold axis", "cube", 1, 0.3, 4, 1.0, 1.0},
        {"icosahedron through its centre across a 5-fold axis", "icosahedron", 0, 0.5, 10, -1.0, -1.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        ASSERT_TRUE(BuildConvex(c.solid, poly));
        CutAcross(c.axis == 0 ? FirstVertex(poly) : poly.mFaces.mFirst->mZAxis, c.depth);
        ASSERT_TRUE(poly.CreateCrossSection2D());
        const auto loops = Loops(poly);
        ASSERT_EQ(loops.size(), 1u);
        const SectionPolygon& p = *loops[0];
        ASSERT_EQ(p.mNumPoints, c.points);
        const double edge = EdgeLength(poly);
        const double side0 = SideLength(p, 0);
        for (int i = 0; i < p.mNumPoints; ++i)
        {
            EXPECT_NEAR(SideLength(p, i), side0, 1e-9);
            EXPECT_NE(p.mFaces[i], nullptr);
        }
        if (c.sideOverEdge > 0.0)
        {
            EXPECT_NEAR(side0, c.sideOverEdge * edge, 1e-9);
        }
        if (c.areaOverEdgeSq > 0.0)
        {
            EXPECT_NEAR(std::fabs(SignedArea(p)), c.areaOverEdgeSq * edge * edge, 1e-9);
        }
        ExpectOffVertices(poly);
    }
}

TEST_F(PolyCrossSectionTest, DepthsZeroAndOneMeetTheHighestAndLowestVertex)
{
    Poly poly;
    ASSERT_TRUE(BuildConvex("cube", poly));
    const Vec3D top = FirstVertex(poly);
    for (const double depth : {0.0, 1.0})
    {
        SCOPED_TRACE(depth);
        CutAcross(top, depth);
        poly.InvalidateCrossSection();
        double min = 0.0, max = 0.0;
        const double at = poly.GetCrossSectionRange(min, max);
        EXPECT_NEAR(at, depth == 0.0 ? max : min, 1e-12);
        EXPECT_NEAR(max, Vec3Length(top), 1e-9);
        EXPECT_NEAR(min, -Vec3Length(top), 1e-9);
        ASSERT_TRUE(poly.CreateCrossSection2D());
        // The plane is moved inwards by 1e-7: at most a speck round the corner, off the corner.
        for (const SectionPolygon* p : Loops(poly))
            EXPECT_LT(std::fabs(SignedArea(*p)), 1e-12);
        ExpectOffVertices(poly);
    }
}

TEST_F(PolyCrossSectionTest, FacesInThePlaneAddNothing)
{
    Poly poly;
    ASSERT_TRUE(BuildConvex("cube", poly));
    FaceVert* top = poly.mFaces.mFirst;
    CutAcross(top->mZAxis, 0.0);
    ASSERT_TRUE(poly.CreateCrossSection2D());
    const auto loops = Loops(poly);
    ASSERT_EQ(loops.size(), 1u);
    ASSERT_EQ(loops[0]->mNumPoints, 4);
    const double edge = EdgeLength(poly);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NE(loops[0]->mFaces[i], top);
        EXPECT_NEAR(SideLength(*loops[0], i), edge, 1e-6);
    }
}

TEST_F(PolyCrossSectionTest, SectionFollowsThePlaneAndTheSwitches)
{
    Poly poly;
    ASSERT_TRUE(BuildConvex("cube", poly));
    CutAcross(FirstVertex(poly), 0.5);
    GetSectionSettings() = SectionSettings{};
    ASSERT_TRUE(poly.CreateCrossSection2D());
    EXPECT_FALSE(poly.mOutline.IsEmpty());
    ASSERT_NE(poly.mSectionPolygons, nullptr);
    EXPECT_EQ(poly.mSectionPolygons->mNumPoints, 6);
    // A new depth is a new section, even without an invalidation: a triangle nearer the corner.
    GetSceneParameters().sliceRatio = 0.25;
    ASSERT_TRUE(poly.CreateCrossSection2D());
    ASSERT_NE(poly.mSectionPolygons, nullptr);
    EXPECT_EQ(poly.mSectionPolygons->mNumPoints, 3);
    // Fill off builds no fill; switching it on again asks for one.
    GetSectionSettings().fill = false;
    poly.InvalidateCrossSection();
    ASSERT_TRUE(poly.CreateCrossSection2D());
    EXPECT_TRUE(poly.mOutline.IsEmpty());

    SetSectionFill(false);
    EXPECT_TRUE(GetSectionSettings().showEdges);
    SetSectionEdges(false);
    EXPECT_TRUE(GetSectionSettings().fill);
    EXPECT_FALSE(GetSectionSettings().showEdges);
}

// The small stellated dodecahedron: twelve pentagrams over the icosahedron's vertices, each
// through the five neighbours of a vertex taken every second one.
FacedSolid SmallStellatedDodecahedron()
{
    FacedSolid s;
    s.verts = FindSolid(PlatonicAndArchimedeanSolids(), "icosahedron").points;
    const int n = int(s.verts.size());
    const auto dist = [&](int a, int b) {
        Vec3D d;
        Vec3Sub(d, s.verts[size_t(a)], s.verts[size_t(b)]);
        return Vec3Length(d);
    };
    for (int c = 0; c < n; ++c)
    {
        const Vec3D axis = s.verts[size_t(c)];
        std::vector<int> ring;
        for (int k = 0; k < n; ++k)
            if (k != c && std::fabs(dist(c, k) - 2.0) < 1e-9)
                ring.push_back(k);
        Vec3D u;
        Vec3Sub(u, s.verts[size_t(ring[0])], axis);
        Vec3D w;
        Vec3Cross(w, axis, u);
        std::sort(ring.begin(), ring.end(), [&](int a, int b) {
            const auto angle = [&](int k) {
                return std::atan2(Vec3Dot(w, s.verts[size_t(k)]), Vec3Dot(u, s.verts[size_t(k)]));
            };
            return angle(a) < angle(b);
        });
        std::vector<int> face;
        for (int k = 0; k < 5; ++k)
            face.push_back(ring[size_t((2 * k) % 5)]);
        // Counter-clockwise seen from outside, along the vertex's direction.
        Vec3D a, b, cr;
        Vec3Sub(a, s.verts[size_t(face[1])], s.verts[size_t(face[0])]);
        Vec3Sub(b, s.verts[size_t(face[2])], s.verts[size_t(face[1])]);
        Vec3Cross(cr, a, b);
        if (Vec3Dot(cr, axis) < 0.0)
            std::reverse(face.begin(), face.end());
        s.faces.push_back(face);
    }
    return s;
}

// Signed solid angle of the triangle seen from p.
double TriangleSolidAngle(const Vec3D& p, const Vec3D& a0, const Vec3D& b0, const Vec3D& c0)
{
    Vec3D a, b, c, bc;
    Vec3Sub(a, a0, p);
    Vec3Sub(b, b0, p);
    Vec3Sub(c, c0, p);
    Vec3Cross(bc, b, c);
    const double la = Vec3Length(a), lb = Vec3Length(b), lc = Vec3Length(c);
    const double den = la * lb * lc + Vec3Dot(a, b) * lc + Vec3Dot(a, c) * lb + Vec3Dot(b, c) * la;
    return 2.0 * std::atan2(Vec3Dot(a, bc), den);
}

// How often the faces wind round p: their solid angles, as fans from each face's centroid.
int WindingNumber(const Poly& poly, const Vec3D& p)
{
    double total = 0.0;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        for (int i = 0; i < f->mNumSides; ++i)
            total += TriangleSolidAngle(p, f->mCentroid, f->mNeighbours[i]->mPoint,
                                        f->mNeighbours[(i + 1) % f->mNumSides]->mPoint);
    return int(std::lround(total / (4.0 * kPi)));
}

double FilledArea(const Poly& poly)
{
    double area = 0.0;
    const DiagramOutline& o = poly.mOutline;
    for (int k = 0; k < o.mLoopTypeCount; ++k)
    {
        if (poly.mSectionLoopTypes.mLoopTypes[k].mOpacity == 0.0f)
            continue;
        const LoopTypeTriangles& t = o.mLoopTypeTriangles[k];
        for (int i = 0; i + 2 < t.mCount; i += 3)
        {
            const Vec2D& a = o.mPoints[t.mIndices[i]];
            const Vec2D& b = o.mPoints[t.mIndices[i + 1]];
            const Vec2D& c = o.mPoints[t.mIndices[i + 2]];
            area += std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
        }
    }
    return area;
}

TEST_F(PolyCrossSectionTest, StarFacedSectionFillsWhereTheSolidWinds)
{
    Poly poly;
    ASSERT_TRUE(BuildPoly(SmallStellatedDodecahedron(), poly));
    ASSERT_EQ(poly.mFaces.mCount, 12);
    // Across a direction of no symmetry, so that the plane cuts pentagrams in four points.
    CutAcross(Vec3D{0.31, 0.17, 0.93}, 0.5);
    GetSectionSettings() = SectionSettings{};
    ASSERT_TRUE(poly.CreateCrossSection2D());
    ASSERT_FALSE(Loops(poly).empty());
    int fourCrossings = 0;
    Vec3D n, u, v;
    double d = 0.0;
    poly.GetCrossSectionFrame(n, d, u, v);
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        int crossings = 0;
        for (int i = 0; i < 5; ++i)
        {
            const double x = Vec3Dot(n, f->mNeighbours[i]->mPoint) + d;
            const double y = Vec3Dot(n, f->mNeighbours[(i + 1) % 5]->mPoint) + d;
            crossings += (x > 0.0) != (y > 0.0);
        }
        fourCrossings += crossings == 4;
    }
    EXPECT_GT(fourCrossings, 0);

    // Every traced point lies on the model's faces' sides in the plane; the fill covers exactly
    // the points the solid winds round, as far as a grid can tell.
    double radius = 0.0;
    for (const FaceVert* p = poly.mVerts.mFirst; p; p = p->mNext)
        radius = std::max(radius, Vec3Length(p->mPoint));
    const int steps = 160;
    const double cell = 2.0 * radius / steps;
    double wound = 0.0;
    for (int i = 0; i < steps; ++i)
        for (int j = 0; j < steps; ++j)
        {
            const double x = -radius + (i + 0.5) * cell;
            const double y = -radius + (j + 0.5) * cell;
            Vec3D p;
            Vec3Scale(p, n, -d);
            Vec3AddScaledTo(p, x, u);
            Vec3AddScaledTo(p, y, v);
            if (WindingNumber(poly, p) != 0)
                wound += cell * cell;
        }
    const double filled = FilledArea(poly);
    ASSERT_GT(wound, 0.0);
    EXPECT_NEAR(filled, wound, 0.03 * wound);
}
}  // namespace
