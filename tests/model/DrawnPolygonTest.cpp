#include "model/DrawnPolygon.h"

#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RingVert.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace
{
struct LonePolygon
{
    Polygon3D* first = nullptr;
    Polygon3D* last = nullptr;
    Polygon3D* polygon = new Polygon3D(first, last);

    explicit LonePolygon(const std::vector<Vec3D>& points)
    {
        for (const Vec3D& p : points)
            AddRingVert(0.0, 0.0, nullptr, &p, polygon->mRing);
        polygon->Prepare();
    }
    ~LonePolygon() { FreePolygon3DList(first); }
};

// A regular hexagon of circumradius 1 in the plane y = height centred at (cx, height, 0),
// counterclockwise seen from +y, turned by phase about its centre.
std::vector<Vec3D> Hexagon(double cx, double height, double phase = 0.0, bool clockwise = false)
{
    std::vector<Vec3D> out;
    for (int k = 0; k < 6; ++k)
    {
        const double a = phase + (clockwise ? -1 : 1) * k * std::numbers::pi / 3;
        out.push_back(Vec3D{cx + std::cos(a), height, -std::sin(a)});
    }
    return out;
}
}  // namespace

TEST(DrawnPolygonTest, RotationOrderAboutTheNormalsAxis)
{
    std::unique_ptr<SymGroup> d6 = SymGroup::Create(SymGroup::kDihedral, 6);  // main axis y
    std::unique_ptr<SymGroup> octahedral = SymGroup::Create(SymGroup::kOctahedral);
    // A hexagon of the truncated octahedron, counterclockwise about its 3-fold axis (1, 1, 1).
    const std::vector<Vec3D> truncatedOctahedronHexagon = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                                           {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
    struct Case
    {
        const char* name;
        SymGroup* group;
        std::vector<Vec3D> points;
        int axisOrder;
        int rotationOrder;
    };
    const std::vector<Case> cases = {
        {"on the 6-fold axis", d6.get(), Hexagon(0, 2), 6, 6},
        {"off the axis", d6.get(), Hexagon(0.5, 2), 6, 1},
        // Against the ring's order only the half turn carries vertex k to k + s.
        {"given clockwise", d6.get(), Hexagon(0, 2, 0, true), 6, 2},
        {"on a 3-fold axis", octahedral.get(), truncatedOctahedronHexagon, 3, 3},
        {"on no axis", octahedral.get(), {{1, 0.2, 3}, {0.2, 1, 3.5}, {-1, -0.3, 2.7}}, 1, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LonePolygon p(c.points);
        EXPECT_EQ(GetAxisOrder(*p.polygon, *c.group), c.axisOrder);
        EXPECT_EQ(GetRotationOrder(*p.polygon, *c.group), c.rotationOrder);
    }
}

TEST(DrawnPolygonTest, ImproperSymmetryNeedsAMirrorThroughThePolygon)
{
    std::unique_ptr<SymGroup> chiral = SymGroup::Create(SymGroup::kDihedral, 6);
    std::unique_ptr<SymGroup> d6h = SymGroup::Create(SymGroup::kDihedral, 6);
    d6h->SetReflectionKind(SymGroup::kHorizontal);
    // The vertical mirrors of the group lie every 30 degrees; a hexagon turned by 15 degrees has its
    // own mirror lines between them.
    EXPECT_TRUE(HasImproperSymmetry(*LonePolygon(Hexagon(0, 2)).polygon, *d6h));
    EXPECT_TRUE(HasImproperSymmetry(*LonePolygon(Hexagon(0, 2, 0, true)).polygon, *d6h));
    EXPECT_FALSE(HasImproperSymmetry(*LonePolygon(Hexagon(0, 2, std::numbers::pi / 12)).polygon, *d6h));
    EXPECT_FALSE(HasImproperSymmetry(*LonePolygon(Hexagon(0, 2)).polygon, *chiral));
    // The horizontal mirror itself maps a hexagon in the plane y = 0 onto itself.
    EXPECT_TRUE(HasImproperSymmetry(*LonePolygon(Hexagon(0, 0, std::numbers::pi / 12)).polygon, *d6h));
}

TEST(DrawnPolygonTest, AddedPointsSnapOntoModelVerticesAndDualVertices)
{
    Poly cube;
    BuildPoly(cube, CubeSpec(), false);
    // The fourth corner lands within 1e-7 of the cube's vertex (-1, 1, 1) ...
    LonePolygon a({{-1, -1, 1}, {1, -1, 1}, {1, 1 + 5e-8, 1}});
    EXPECT_EQ(AutoCompletePolygon(*a.polygon, cube), nullptr);
    const Vec3D added = a.polygon->mRing->prev->pos;
    EXPECT_EQ(added.x, -1.0);
    EXPECT_EQ(added.y, 1.0);
    EXPECT_EQ(added.z, 1.0);
    // ... or within 1e-7 of the pole of the top face, a vertex of the dual octahedron.
    LonePolygon b({{1, 0, 1}, {1, 1, 1}, {-5e-8, 1, 1}});
    EXPECT_EQ(AutoCompletePolygon(*b.polygon, cube), nullptr);
    const Vec3D pole = b.polygon->mRing->prev->pos;
    EXPECT_EQ(pole.x, 0.0);
    EXPECT_EQ(pole.y, 0.0);
    EXPECT_EQ(pole.z, 1.0);
    // A point near neither keeps its computed place.
    LonePolygon c({{0.5, 0, 1}, {1, 0, 1}, {1, 0.5, 1}});
    EXPECT_EQ(AutoCompletePolygon(*c.polygon, cube), nullptr);
    EXPECT_NEAR(c.polygon->mRing->prev->pos.x, 0.5, 1e-12);
    EXPECT_NEAR(c.polygon->mRing->prev->pos.y, 0.5, 1e-12);
}

namespace
{
void AddPoints(Polygon3D& polygon, const std::vector<Vec3D>& points)
{
    for (const Vec3D& p : points)
        AddRingVert(0.0, 0.0, nullptr, &p, polygon.mRing);
    polygon.Prepare();
}

const std::vector<Vec3D> kTriangle = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
}  // namespace

TEST(DrawnPolygonTest, ClosingKeepsPolygonsWithAnArea)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    Poly poly;
    poly.Init();
    Polygon3D* first = poly.mCurrentDrawnPolygon;
    // A repeated corner goes before the polygon is kept.
    AddPoints(*first, {{0, 0, 1}, {1, 0, 1}, {1, 0, 1 + 1e-9}, {0, 1, 1}});
    poly.CloseDrawnPolygon(true, true);
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 2);
    EXPECT_EQ(poly.mFirstDrawnPolygon, first);
    EXPECT_NE(poly.mCurrentDrawnPolygon, first);
    EXPECT_EQ(poly.mCurrentDrawnPolygon->mRing, nullptr);
    EXPECT_EQ(RingCount(first->mRing), 3);
    EXPECT_EQ(first->mTriangulation.indexCount, 3);
    EXPECT_TRUE(poly.mFacetingDirty);
    EXPECT_EQ(shell.Count("Undo 28"), 1);
    EXPECT_EQ(shell.Count("InvalidateAll"), 1);

    // Two points enclose nothing: the polygon is emptied and stays current.
    Polygon3D* second = poly.mCurrentDrawnPolygon;
    AddPoints(*second, {{0, 0, 2}, {1, 0, 2}});
    poly.CloseDrawnPolygon(true, true);
    EXPECT_EQ(poly.mCurrentDrawnPolygon, second);
    EXPECT_EQ(second->mRing, nullptr);
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 2);
    EXPECT_EQ(shell.Count("Undo 28"), 1);
}

TEST(DrawnPolygonTest, RemovingAPolygonTakesItsFacetsAlong)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    Poly poly;
    poly.Init();
    std::vector<Polygon3D*> closed;
    for (int i = 0; i < 3; ++i)
    {
        closed.push_back(poly.mCurrentDrawnPolygon);
        AddPoints(*poly.mCurrentDrawnPolygon, kTriangle);
        poly.CloseDrawnPolygon(false, false);
    }
    Polygon3D* a = closed[0];
    Polygon3D* b = closed[1];
    Polygon3D* c = closed[2];
    poly.mFacetTable = {{a}, {b}, {b}, {c}};
    poly.mCurrentFacet = 3;

    poly.RemoveDrawnPolygons(poly.mCurrentDrawnPolygon, 10);  // the current polygon stays
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 4);
    EXPECT_EQ(shell.Count("Undo 28"), 0);

    poly.RemoveDrawnPolygons(b, 10);
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 3);
    EXPECT_EQ(a->mNext, c);
    ASSERT_EQ(poly.mFacetTable.size(), 2u);
    EXPECT_EQ(poly.mCurrentFacet, 1);
    EXPECT_EQ(poly.mFacetTable[size_t(poly.mCurrentFacet)].mPolygon, c);
    EXPECT_EQ(shell.Count("Undo 28"), 1);
    EXPECT_EQ(shell.Count("ViewsOfType " + std::to_string(0x1340E)), 1);

    // By count: none steps from the first removes the first; a current facet from it is lost.
    poly.mCurrentFacet = 0;
    poly.RemoveDrawnPolygons(nullptr, 0);
    EXPECT_EQ(poly.mFirstDrawnPolygon, c);
    EXPECT_EQ(poly.mCurrentFacet, -1);
    ASSERT_EQ(poly.mFacetTable.size(), 1u);
    EXPECT_EQ(poly.mFacetTable[0].mPolygon, c);

    poly.ClearDrawnPolygons(false);
    EXPECT_EQ(ListCount(poly.mFirstDrawnPolygon), 1);
    EXPECT_EQ(poly.mCurrentDrawnPolygon, poly.mFirstDrawnPolygon);
    EXPECT_EQ(poly.mCurrentDrawnPolygon->mRing, nullptr);
    EXPECT_TRUE(poly.mFacetTable.empty());
    EXPECT_EQ(poly.mCurrentFacet, -1);
}

TEST(DrawnPolygonTest, ClickedPointsBuildTheFacetAndClickingBackRemovesThem)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    ScopedScriptedServices scripted;
    Poly poly;
    poly.Init();
    Polygon3D* polygon = poly.mCurrentDrawnPolygon;
    const Vec3D a{0, 0, 1}, b{1, 0, 1}, c{1, 1, 1}, d{0, 1, 1};
    for (const Vec3D& p : {a, b, c, d})
        poly.AddFacetVertex(p);
    EXPECT_EQ(RingCount(polygon->mRing), 4);
    EXPECT_GT(polygon->mTriangulation.indexCount, 0);

    // The last point again, then the one before the last: each takes the last point back.
    poly.AddFacetVertex(d);
    EXPECT_EQ(RingCount(polygon->mRing), 3);
    EXPECT_TRUE(Vec3Equal(polygon->mRing->prev->pos, c, 1e-12));
    poly.AddFacetVertex(b);
    EXPECT_EQ(RingCount(polygon->mRing), 2);
    EXPECT_TRUE(Vec3Equal(polygon->mRing->prev->pos, b, 1e-12));

    // Off the plane of a polygon with an area: said, and nothing changes.
    poly.AddFacetVertex(c);
    ASSERT_EQ(RingCount(polygon->mRing), 3);
    poly.AddFacetVertex(Vec3D{0.5, 0.5, 2});
    EXPECT_EQ(RingCount(polygon->mRing), 3);
    EXPECT_EQ(scripted.services.statusText, "Vertex not coplanar with existing polygon");
    // Two points span no plane: any third point is taken.
    poly.AddFacetVertex(c);
    poly.AddFacetVertex(Vec3D{0.5, 0.5, 2});
    EXPECT_EQ(RingCount(polygon->mRing), 3);
}
