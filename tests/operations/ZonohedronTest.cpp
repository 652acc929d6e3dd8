// Zonohedra and zonish polyhedra, checked against the published solids they make.

#include "operations/Zonohedron.h"

#include "HemiPolyhedra.h"
#include "OperationTestModels.h"
#include "SolidPoints.h"
#include "kernel/PointList.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::string LastMessage(const ScriptedServices& services)
{
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    return call ? call->text : std::string();
}

std::vector<Vec3D> ListPoints(const PointList& list)
{
    std::vector<Vec3D> points;
    for (const PointListNode* node = list.First(); node; node = node->next)
        points.push_back(node->point);
    return points;
}

// Every face of a zonohedron is centrally symmetric: opposite corners sum to the same point.
bool FacesAreCentrallySymmetric(const SimplePoly& model)
{
    for (int f = 0; f < model.mNumFaces; ++f)
    {
        const SimpleFace& face = model.mFaces[f];
        const int half = face.mNum / 2;
        if (face.mNum % 2 != 0)
            return false;
        Vec3D centre;
        Vec3Add(centre, face.GetVert(0)->mPos, face.GetVert(half)->mPos);
        for (int i = 1; i < half; ++i)
        {
            Vec3D sum;
            Vec3Add(sum, face.GetVert(i)->mPos, face.GetVert(i + half)->mPos);
            Vec3Sub(sum, sum, centre);
            if (Vec3Length(sum) > 1e-9)
                return false;
        }
    }
    return true;
}

// Convex: every vertex on the inner side of (or on) every face's plane.
bool IsConvex(const SimplePoly& model)
{
    for (int f = 0; f < model.mNumFaces; ++f)
    {
        const SimpleFace& face = model.mFaces[f];
        Vec3D normal{0.0, 0.0, 0.0};
        for (int k = 0; k < face.mNum; ++k)
        {
            const Vec3D& a = face.GetVert(k)->mPos;
            const Vec3D& b = face.GetVert((k + 1) % face.mNum)->mPos;
            normal.x += (a.y - b.y) * (a.z + b.z);
            normal.y += (a.z - b.z) * (a.x + b.x);
            normal.z += (a.x - b.x) * (a.y + b.y);
        }
        Vec3Normalize(normal);
        const double d = Vec3Dot(normal, face.GetVert(0)->mPos);
        // The outside is the side away from the centre.
        const double outside = d >= 0.0 ? 1.0 : -1.0;
        for (int v = 0; v < model.mNumVerts; ++v)
            if (outside * (Vec3Dot(normal, model.mVerts[v].mPos) - d) > 1e-9)
                return false;
    }
    return true;
}

struct Symmetry
{
    int kind = SymGroup::kUncreated;
    int reflection = SymGroup::kChiral;
};

Symmetry SymmetryOf(SimplePoly& model)
{
    Poly made;
    if (!CreatePoly(&model, &made, false, true) || !made.mGroup)
        return {};
    return {made.mGroup->mKind, made.mGroup->mReflection};
}

ZoneOptions VertexZones()
{
    ZoneOptions options;
    options.vertices = kZonesFromAll;
    return options;
}
}  // namespace

// The zonohedra of the vertex directions of the Platonic solids.
TEST(Zonohedrify, VertexZonesOfThePlatonicSolidsGiveThePublishedZonohedra)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    struct Case
    {
        const char* solid;
        const char* zonohedron;
        int zones;
        int v, e, f;
        std::map<int, int> faceSizes;
        int kind;
    };
    const Case cases[] = {
        {"octahedron", "cube", 3, 8, 12, 6, {{4, 6}}, SymGroup::kOctahedral},
        {"cube", "rhombic dodecahedron", 4, 14, 24, 12, {{4, 12}}, SymGroup::kOctahedral},
        {"icosahedron", "rhombic triacontahedron", 6, 32, 60, 30, {{4, 30}}, SymGroup::kIcosahedral},
        {"dodecahedron", "rhombic enneacontahedron", 10, 92, 180, 90, {{4, 90}}, SymGroup::kIcosahedral},
        // Coplanar zones: three zones in a plane make a hexagon, five a decagon.
        {"cuboctahedron", "truncated octahedron", 6, 24, 36, 14, {{4, 6}, {6, 8}}, SymGroup::kOctahedral},
        {"icosidodecahedron", "truncated icosidodecahedron", 15, 120, 180, 62, {{4, 30}, {6, 20}, {10, 12}},
         SymGroup::kIcosahedral},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.solid) + " -> " + c.zonohedron);
        Poly base;
        ASSERT_TRUE(BuildAnalysedPoly(base, NamedSolid(c.solid)));
        base.SetBaseName(c.solid);
        PointList zones;
        zones.Init(kTol);
        base.CollectZoneVectors(zones, VertexZones());
        EXPECT_EQ(zones.Count(), c.zones);

        std::unique_ptr<SimplePoly> made = base.Zonohedrify(VertexZones());
        ASSERT_NE(made, nullptr);
        const ModelCounts counts = CountModel(*made);
        EXPECT_EQ(counts.v, c.v);
        EXPECT_EQ(counts.e, c.e);
        EXPECT_EQ(counts.f, c.f);
        EXPECT_EQ(counts.faceSizes, c.faceSizes);
        EXPECT_TRUE(counts.closed);
        EXPECT_TRUE(FacesAreCentrallySymmetric(*made));
        EXPECT_TRUE(IsConvex(*made));
        EXPECT_EQ(made->mName, std::string("Zonohedrified ") + c.solid);
        EXPECT_EQ(made->mFlags & 0x3800u, 0x3800u);
        const Symmetry symmetry = SymmetryOf(*made);
        EXPECT_EQ(symmetry.kind, c.kind);
        EXPECT_EQ(symmetry.reflection, SymGroup::kHorizontal);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

// n zones with no three in a plane: every pair makes two parallelograms, n (n - 1) faces, and the
// room reserved for n (n - 1) + 2 vertices is exact.
TEST(Zonohedrify, ZonesInGeneralPositionGiveTwoParallelogramsForEveryPair)
{
    ScopedScriptedServices scripted;
    for (int n = 3; n <= 24; ++n)
    {
        SCOPED_TRACE(n);
        PointList zones;
        zones.Init(kTol);
        for (const Vec3D& p : SpherePoints(n, 1.0, 90u + unsigned(n)))
            ASSERT_TRUE(AddZoneVector(zones, p, 0.5, INT_MAX));
        ASSERT_EQ(zones.Count(), n);
        std::unique_ptr<SimplePoly> made = CreateZonohedron(zones, "points");
        ASSERT_NE(made, nullptr);
        const ModelCounts counts = CountModel(*made);
        EXPECT_EQ(counts.f, n * (n - 1));
        EXPECT_EQ(counts.faceSizes, (std::map<int, int>{{4, n * (n - 1)}}));
        EXPECT_EQ(counts.v, n * (n - 1) + 2);
        EXPECT_EQ(counts.e, 2 * n * (n - 1));
        EXPECT_TRUE(counts.closed);
        EXPECT_TRUE(FacesAreCentrallySymmetric(*made));
        EXPECT_TRUE(IsConvex(*made));
        // Edges are the zones, end to end: twice as long as the vectors.
        for (int f = 0; f < made->mNumFaces; ++f)
        {
            const SimpleFace& face = made->mFaces[f];
            for (int k = 0; k < face.mNum; ++k)
            {
                Vec3D side;
                Vec3Sub(side, face.GetVert((k + 1) % face.mNum)->mPos, face.GetVert(k)->mPos);
                EXPECT_NEAR(Vec3Length(side), 1.0, 1e-12);
            }
        }
        EXPECT_EQ(made->mName, "Zonohedrified points");
    }
}

// Which way a vector points and how long it is are the zone's own: opposite vectors, and vectors
// of another length, are one zone; a vector at the origin is none. The way it is turned is read
// from its direction, so that a long vector near the plane x = 0 is turned as a short one is.
TEST(Zonohedrify, AddZoneVectorTurnsScalesAndMergesVectors)
{
    ScopedScriptedServices scripted;
    PointList zones;
    zones.Init(kTol);
    EXPECT_TRUE(AddZoneVector(zones, Vec3D{0.0, 0.0, 0.0}, 1.0, INT_MAX));
    EXPECT_TRUE(AddZoneVector(zones, Vec3D{5e-8, -5e-8, 0.0}, 1.0, INT_MAX));
    EXPECT_EQ(zones.Count(), 0);

    struct Case
    {
        const char* name;
        Vec3D v;
        Vec3D zone;  // at length 2
    };
    const Case cases[] = {
        {"x < 0 turned", {-3.0, 0.0, 4.0}, {1.2, 0.0, -1.6}},
        {"x > 0 kept", {3.0, 0.0, 4.0}, {1.2, 0.0, 1.6}},
        {"x = 0, y < 0 turned", {0.0, -1.0, 1.0}, {0.0, std::sqrt(2.0), -std::sqrt(2.0)}},
        {"x near 0, y > 0 kept", {-5e-8, 1.0, 0.0}, {0.0, 2.0, 0.0}},
        {"x = y = 0, z < 0 turned", {0.0, 0.0, -0.1}, {0.0, 0.0, 2.0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        zones.Init(kTol);
        EXPECT_TRUE(AddZoneVector(zones, c.v, 2.0, INT_MAX));
        Vec3D opposite;
        Vec3Neg(opposite, c.v);
        EXPECT_TRUE(AddZoneVector(zones, opposite, 2.0, INT_MAX));
        Vec3D longer;
        Vec3Scale(longer, c.v, 7.0);
        EXPECT_TRUE(AddZoneVector(zones, longer, 2.0, INT_MAX));
        ASSERT_EQ(zones.Count(), 1);
        const Vec3D& zone = zones.First()->point;
        EXPECT_NEAR(zone.x, c.zone.x, 2e-7);
        EXPECT_NEAR(zone.y, c.zone.y, 2e-7);
        EXPECT_NEAR(zone.z, c.zone.z, 2e-7);
    }

    // A limit of m - 1: false once the m-th zone is in, and a zone seen before does not count.
    zones.Init(kTol);
    EXPECT_TRUE(AddZoneVector(zones, Vec3D{1.0, 0.0, 0.0}, 1.0, 2));
    EXPECT_TRUE(AddZoneVector(zones, Vec3D{0.0, 1.0, 0.0}, 1.0, 2));
    EXPECT_TRUE(AddZoneVector(zones, Vec3D{-1.0, 0.0, 0.0}, 1.0, 2));
    EXPECT_FALSE(AddZoneVector(zones, Vec3D{0.0, 0.0, 1.0}, 1.0, 2));
    EXPECT_EQ(zones.Count(), 3);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(Zonohedrify, CollectionHonoursTheMaximumTheScaleAndEachElementChoice)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    double shortest = 0.0;
    cube.GetShownStellation()->CalcEdgeLengthRange(&shortest, nullptr);
    ASSERT_GT(shortest, 0.0);

    // At most the maximum: the eight corners are four zones, two of them kept.
    ZoneOptions options = VertexZones();
    options.maxZones = 2;
    options.edgeScale = "5/2";
    PointList zones;
    zones.Init(kTol);
    cube.CollectZoneVectors(zones, options);
    EXPECT_EQ(zones.Count(), 2);
    for (const Vec3D& zone : ListPoints(zones))
    {
        EXPECT_NEAR(Vec3Length(zone), 2.5 * shortest, 1e-12);
        // Body diagonals.
        EXPECT_NEAR(std::fabs(zone.x), std::fabs(zone.y), 1e-12);
        EXPECT_NEAR(std::fabs(zone.x), std::fabs(zone.z), 1e-12);
    }
    // Two zones span no solid: no zonohedron, and the reason.
    EXPECT_EQ(cube.Zonohedrify(options), nullptr);
    EXPECT_EQ(LastMessage(scripted.services), "The zone vectors all lie in one plane, so they make no zonohedron.");

    // Edges give their directions and faces their normals: the cube's three axes either way.
    struct Choice
    {
        const char* name;
        int vertices, edges, faces;
        bool xyz;
        int zones;
    };
    const Choice choices[] = {
        {"all edges", kZonesFromNone, kZonesFromAll, kZonesFromNone, false, 3},
        {"all faces", kZonesFromNone, kZonesFromNone, kZonesFromAll, false, 3},
        {"xyz axes", kZonesFromNone, kZonesFromNone, kZonesFromNone, true, 3},
        {"vertices, edges and axes", kZonesFromAll, kZonesFromAll, kZonesFromNone, true, 7},
        // A model always has a current face and vertex, the first of the first type to start with.
        {"current vertex", kZonesFromCurrent, kZonesFromNone, kZonesFromNone, false, 1},
        {"faces of the current type", kZonesFromNone, kZonesFromNone, kZonesFromType, false, 3},
        {"nothing", kZonesFromNone, kZonesFromNone, kZonesFromNone, false, 0},
    };
    for (const Choice& c : choices)
    {
        SCOPED_TRACE(c.name);
        ZoneOptions chosen;
        chosen.vertices = c.vertices;
        chosen.edges = c.edges;
        chosen.faces = c.faces;
        chosen.xyzAxes = c.xyz;
        zones.Init(kTol);
        cube.CollectZoneVectors(zones, chosen);
        EXPECT_EQ(zones.Count(), c.zones);
        for (const Vec3D& zone : ListPoints(zones))
            EXPECT_NEAR(Vec3Length(zone), shortest, 1e-12);
    }

    scripted.services.Clear();
    ZoneOptions none;
    none.vertices = kZonesFromNone;
    EXPECT_EQ(cube.Zonohedrify(none), nullptr);
    EXPECT_EQ(LastMessage(scripted.services), "No zone vectors were found for these choices.");
}

// The selected element alone, or every element of its type.
TEST(Zonohedrify, CurrentAndAllOfTypeFollowTheSelection)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cuboctahedron;
    ASSERT_TRUE(BuildAnalysedPoly(cuboctahedron, NamedSolid("cuboctahedron")));
    // Its triangles' normals are the four body diagonals, its squares' the three axes.
    Face* triangle = nullptr;
    for (int f = 0; f < cuboctahedron.mFaces.mCount && !triangle; ++f)
        if (cuboctahedron.GetNthFace(f)->mNumSides == 3)
            triangle = cuboctahedron.GetNthFace(f);
    ASSERT_NE(triangle, nullptr);
    cuboctahedron.SelectFace(triangle, false);
    ASSERT_EQ(cuboctahedron.GetStellationFace(), triangle);

    ZoneOptions options;
    options.vertices = kZonesFromNone;
    options.faces = kZonesFromType;
    std::unique_ptr<SimplePoly> fromType = cuboctahedron.Zonohedrify(options);
    ASSERT_NE(fromType, nullptr);
    EXPECT_EQ(CountModel(*fromType).faceSizes, (std::map<int, int>{{4, 12}}));
    EXPECT_EQ(fromType->mNumVerts, 14);

    PointList zones;
    zones.Init(kTol);
    options.faces = kZonesFromCurrent;
    cuboctahedron.CollectZoneVectors(zones, options);
    ASSERT_EQ(zones.Count(), 1);
    Vec3D normal = triangle->GetNormal();
    const Vec3D zone = zones.First()->point;
    EXPECT_NEAR(std::fabs(Vec3Dot(normal, zone)), Vec3Length(zone), 1e-12);

    // An edge: its direction, and the edges of its type (all 24 edges are one type: the 12
    // directions of the cuboctahedron's edges, six zones).
    ASSERT_TRUE(cuboctahedron.HasEdges());
    Edge* edge = cuboctahedron.GetEdge(0);
    cuboctahedron.SelectElement(edge, false);
    ZoneOptions edges;
    edges.vertices = kZonesFromNone;
    edges.edges = kZonesFromCurrent;
    zones.Init(kTol);
    cuboctahedron.CollectZoneVectors(zones, edges);
    ASSERT_EQ(zones.Count(), 1);
    const Vec3D direction = edge->GetVector(false);
    Vec3D cross;
    Vec3Cross(cross, direction, zones.First()->point);
    EXPECT_NEAR(Vec3Length(cross), 0.0, 1e-12);
    edges.edges = kZonesFromType;
    zones.Init(kTol);
    cuboctahedron.CollectZoneVectors(zones, edges);
    EXPECT_EQ(zones.Count(), 6);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

// An axis class gives the directions of its axes.
TEST(Zonohedrify, AxisClassesGiveTheirAxes)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    const SymGroup* group = cube.GetSymGroup();
    ASSERT_NE(group, nullptr);
    // The 4-fold axes (3 zones), 3-fold (4) and 2-fold (6) of the octahedral group.
    const std::map<int, int> zonesOfOrder = {{4, 3}, {3, 4}, {2, 6}};
    ASSERT_GE(group->mNumAxisSets, 3);
    for (int set = 0; set < 3; ++set)
    {
        SCOPED_TRACE(set);
        ZoneOptions options;
        options.vertices = kZonesFromNone;
        options.axisClasses[set] = true;
        PointList zones;
        zones.Init(kTol);
        cube.CollectZoneVectors(zones, options);
        const int order = group->mAxisSets[set].mOrder;
        ASSERT_EQ(zonesOfOrder.count(order), 1u);
        EXPECT_EQ(zones.Count(), zonesOfOrder.at(order));
    }
}

// Zones added round the model: the Minkowski sum of the model and the zones. The cube with the
// zones of its body diagonals is the chamfered cube whatever the zones' width.
TEST(Zonohedrify, ZonishCubeWithItsDiagonalsIsTheChamferedCube)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    for (const char* width : {"0.25", "1", "4"})
    {
        SCOPED_TRACE(width);
        Poly cube;
        ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
        cube.SetBaseName("cube");
        ZoneOptions options = VertexZones();
        options.zonish = true;
        options.edgeScale = width;
        std::unique_ptr<SimplePoly> made = cube.Zonohedrify(options);
        ASSERT_NE(made, nullptr);
        const ModelCounts counts = CountModel(*made);
        EXPECT_EQ(counts.v, 32);
        EXPECT_EQ(counts.e, 48);
        EXPECT_EQ(counts.faceSizes, (std::map<int, int>{{4, 6}, {6, 12}}));
        EXPECT_TRUE(counts.closed);
        EXPECT_TRUE(IsConvex(*made));
        EXPECT_EQ(made->mName, "Zonohedrified cube");
        const Symmetry symmetry = SymmetryOf(*made);
        EXPECT_EQ(symmetry.kind, SymGroup::kOctahedral);
        EXPECT_EQ(symmetry.reflection, SymGroup::kHorizontal);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

// A model that is not convex gets its zones round its convex hull: the octahemioctahedron's hull
// is the cuboctahedron, and the cuboctahedron with the three axes' zones is a truncated cube (its
// squares widened into octagons, its triangles kept).
TEST(Zonohedrify, ZonishModelThatIsNotConvexAddsZonesRoundItsHull)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly hemi;
    FacedSolid solid;
    for (const HemiPolyhedron& h : HemiPolyhedra())
        if (h.name == "octahemioctahedron")
            solid = h.solid;
    ASSERT_TRUE(BuildAnalysedPoly(hemi, solid));
    ZoneOptions options;
    options.vertices = kZonesFromNone;
    options.xyzAxes = true;
    options.zonish = true;
    std::unique_ptr<SimplePoly> made = hemi.Zonohedrify(options);
    ASSERT_NE(made, nullptr);
    const ModelCounts counts = CountModel(*made);
    EXPECT_EQ(counts.v, 24);
    EXPECT_EQ(counts.e, 36);
    EXPECT_EQ(counts.faceSizes, (std::map<int, int>{{3, 8}, {8, 6}}));
    EXPECT_TRUE(IsConvex(*made));
}

TEST(Zonohedrify, CancelGivesNoModel)
{
    static int64_t now = 0;
    ScopedScriptedServices scripted;
    PointList zones;
    zones.Init(kTol);
    for (const Vec3D& p : SpherePoints(30, 1.0, 7u))
        AddZoneVector(zones, p, 1.0, INT_MAX);
    scripted.services.cancelAtPump = 3;
    const ProgressClock previous = SetProgressClock([] { return now += 700; });
    EXPECT_EQ(CreateZonohedron(zones, "points"), nullptr);
    SetProgressClock(previous);
    EXPECT_FALSE(InProgress());
    bool shown = false;
    for (const ProgressDisplay& display : scripted.services.progressUpdates)
        shown = shown || display.caption == "Creating zonohedron.";
    EXPECT_TRUE(shown);
}
