#include "kernel/UnitSettings.h"
#include "model/FaceVert.h"
#include "polytope4d/Polytope4D.h"
#include "view/PaneFixture.h"
#include "view/ViewMatrices.h"

#include <cmath>
#include <memory>

namespace
{
class PolyViewQueriesTest : public PaneFixture
{
protected:
    void TearDown() override
    {
        if (!IsSkipped())
        {
            GetUnitSettings().SetDistanceUnit(mUnit);
            FirstPageTopMarginTwips() = mMarginTwips;
        }
        PaneFixture::TearDown();
    }

    int mUnit = GetUnitSettings().GetDistanceUnit();
    int mMarginTwips = FirstPageTopMarginTwips();
};

// The regular solids of circumradius 1, and their duals taken about the midsphere: a dual vertex
// lies at midradius^2 / inradius.
const double kCubeDualRadius = 2.0 / std::sqrt(3.0);
const double kCubeEdge = 2.0 / std::sqrt(3.0);
const double kOctahedronEdge = std::sqrt(2.0) * kCubeDualRadius;
double IcosahedronDualRadius()
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    const double edge = 1.0 / std::sin(2.0 * kPi / 5.0);
    const double mid = edge * phi / 2.0;
    const double in = edge * phi * phi / (2.0 * std::sqrt(3.0));
    return mid * mid / in;
}

TEST_F(PolyViewQueriesTest, TheViewRadiusOfEachKindOfPane)
{
    struct Case
    {
        const char* name;
        const char* model;
        int type;
        bool showDual;
        double radius;
    };
    const double ico = IcosahedronDualRadius();
    ASSERT_LT(ico, 1.0);
    const Case kCases[] = {
        {"cube", "4.4.4", kViewTypePoly, false, 1.0},
        {"octahedron about the cube", "4.4.4", kViewTypeDual, false, kCubeDualRadius},
        {"cube and octahedron", "4.4.4", kViewTypePolyAndDual, false, kCubeDualRadius},
        {"a morph of the cube", "4.4.4", kViewTypeMorphTiltQuads, false, kCubeDualRadius},
        {"dodecahedron about the icosahedron", "3.3.3.3.3", kViewTypeDual, false, ico},
        {"compound never below 1", "3.3.3.3.3", kViewTypePolyAndDual, false, 1.0},
        {"morph never below 1", "3.3.3.3.3", kViewTypeMorphSizing, false, 1.0},
        {"faceting without facets, base", "4.4.4", kViewTypeFacetPreview, false, 1.0},
        {"faceting without facets, dual", "4.4.4", kViewTypeFacetPreview, true, kCubeDualRadius},
        {"unstellated model", "4.4.4", kViewTypeUniStellation, false, 1.0},
        {"unstellated dual", "4.4.4", kViewTypeDualStellation, false, kCubeDualRadius},
        {"folding net of the unstellated model", "4.4.4", kViewTypeNet3D, false, 2.0},
        {"a diagram without extent", "4.4.4", kViewTypeFace, false, 1.0},
    };
    CPolyView* pane = Pane(0);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly* poly = OpenModel(c.model);
        ASSERT_NE(poly, nullptr);
        poly->mShowDual = c.showDual;
        pane->SetViewType(c.type, true);
        EXPECT_NEAR(pane->GetViewRadius(0), c.radius, 1e-9);
        EXPECT_NEAR(pane->GetViewRadius(1), c.radius, 1e-9) << "no markers drawn: no margin";
    }
}

TEST_F(PolyViewQueriesTest, MarkersWidenTheRadiusByTheSphereOrTheThickerRod)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    ElementDisplayOptions& o = GetElementDisplayOptions();
    o.mSphereRadBasedOn = 1;  // the mean edge length
    o.mSphereRad = 0.1;
    o.mSpheresAndCylinders = true;
    const double sphere = 0.1 * kCubeEdge;
    struct Case
    {
        const char* name;
        bool verts, stelVerts, edges;
        double cylinderRad;
        double margin;
    };
    const Case kCases[] = {
        {"nothing shown", false, false, false, 0.7, 0.0},
        {"vertex spheres", true, false, false, 0.7, sphere},
        {"stellation vertex spheres", false, true, false, 0.7, sphere},
        {"rods thinner than the spheres", true, false, true, 0.7, sphere},
        {"rods thicker than the spheres", true, false, true, 1.5, 1.5 * sphere},
        {"rods without spheres", false, false, true, 1.5, 0.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        o.mShowVerts = c.verts;
        o.mShowStelVerts = c.stelVerts;
        o.mShowEdges = c.edges;
        o.mCylinderRad = c.cylinderRad;
        EXPECT_NEAR(pane->GetMarkerMargin(), c.margin, 1e-9);
        EXPECT_NEAR(pane->GetViewRadius(1), 1.0 + c.margin, 1e-9);
        EXPECT_NEAR(pane->GetViewRadius(0), 1.0, 1e-9);
    }

    // The spheres of the octahedron are sized by its own edges; forced, even while none are drawn.
    pane->SetViewType(kViewTypeDual, true);
    o.mShowVerts = o.mShowEdges = o.mShowStelVerts = false;
    EXPECT_EQ(pane->GetVertexSphereRadius(false), 0.0);
    EXPECT_NEAR(pane->GetVertexSphereRadius(true), 0.1 * kOctahedronEdge, 1e-9);
    pane->SetViewType(kViewTypePolyAndDual, true);
    EXPECT_NEAR(pane->GetVertexSphereRadius(true), 0.1 * kOctahedronEdge, 1e-9) << "the larger of the two";
    o.mShowVerts = true;
    pane->SetViewType(kViewTypeFace, true);
    EXPECT_EQ(pane->GetVertexSphereRadius(false), 0.0) << "a flat pane draws no spheres";

    // A radius too small to fit to is taken as 1, without a margin.
    pane->SetViewType(kViewTypeDual, true);
    poly->mRadius = 1e-9;
    EXPECT_EQ(pane->GetViewRadius(1), 1.0);
}

TEST_F(PolyViewQueriesTest, A4DModelDrawsNoStellationSpheresInTheMargin)
{
    ElementDisplayOptions& o = GetElementDisplayOptions();
    o.mSpheresAndCylinders = true;
    o.mShowVerts = false;
    o.mShowStelVerts = true;
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    CPolyView* pane = Pane(0);
    EXPECT_GT(pane->GetDrawnSphereRadius(), 0.0);
    GetCurrentPoly()->SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    EXPECT_EQ(pane->GetDrawnSphereRadius(), 0.0);
    EXPECT_EQ(pane->GetMarkerMargin(), 0.0);
}

TEST_F(PolyViewQueriesTest, LabelsAreSizedByTheEdgesOfWhatThePaneShows)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    RenderSettings& render = GetRenderSettings();
    render.textSizeMode = 2;  // twice the mean edge length
    render.textSize = 0.5;
    CPolyView* pane = Pane(0);
    struct Case
    {
        const char* name;
        int type;
        double size;
    };
    const Case kCases[] = {
        {"cube", kViewTypePoly, kCubeEdge},
        {"octahedron", kViewTypeDual, kOctahedronEdge},
        {"both", kViewTypePolyAndDual, kOctahedronEdge},
        {"a diagram", kViewTypeVertexFigure, 1.0},
        {"a stellation not yet built", kViewTypeUniStellation, 0.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, true);
        EXPECT_NEAR(pane->GetTextSize(), c.size, 1e-9);
    }
}

TEST_F(PolyViewQueriesTest, ThePaneAnswersForTheStellationAndSelectionOfItsSide)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    FaceVert* face = poly->mFaces.mLast;
    poly->SelectFace(face, false);
    EXPECT_EQ(pane->GetSelectedFaceType(), face->mFaceType);
    EXPECT_EQ(pane->GetStellation(), poly->GetFaceStellation());
    EXPECT_EQ(pane->GetStellation(true), poly->GetVertStellation());
    // Asking for a level builds the stellation; none answers for a level beyond built.
    EXPECT_EQ(pane->GetStellationUpTo(0), poly->GetFaceStellation());
    EXPECT_FALSE(poly->GetFaceStellation()->IsBuilt());
    EXPECT_EQ(pane->GetStellationUpTo(kStellationBuilt), poly->GetFaceStellation());
    EXPECT_TRUE(poly->GetFaceStellation()->IsBuilt());
    EXPECT_EQ(pane->GetStellationUpTo(kStellationBuilt + 1), nullptr);
    pane->SetViewType(kViewTypeDual, true);
    EXPECT_EQ(pane->GetStellation(), poly->GetVertStellation());
    pane->SetViewType(kViewTypePolyAndDual, true);
    EXPECT_EQ(pane->GetStellation(), nullptr);
    EXPECT_EQ(pane->GetSelectedFaceType(), nullptr);
}

TEST_F(PolyViewQueriesTest, TheRotationMatrixIsTheCamerasTurn)
{
    CPolyView* pane = Pane(0);
    pane->RotateViewEuler(30.0, -40.0, 125.0);
    double m[9], copy[9];
    pane->GetViewRotationMatrix(m, copy, false);
    const auto at = [&m](int row, int col) { return m[3 * row + col]; };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
        {
            double dot = 0.0;
            for (int k = 0; k < 3; ++k)
                dot += at(k, i) * at(k, j);
            EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-12) << i << j;
            EXPECT_EQ(copy[3 * i + j], m[3 * i + j]);
        }
    const double det = at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
                       at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
                       at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
    EXPECT_NEAR(det, 1.0, 1e-12);
    // The columns are the camera's right and backward axes.
    Vec3D back = pane->GetBackward();
    Vec3Normalize(back);
    EXPECT_NEAR(at(0, 2), back.x, 1e-9);
    EXPECT_NEAR(at(1, 2), back.y, 1e-9);
    EXPECT_NEAR(at(2, 2), back.z, 1e-9);
    EXPECT_NEAR(at(0, 0) * pane->GetRight().x + at(1, 0) * pane->GetRight().y + at(2, 0) * pane->GetRight().z,
                Vec3Length(pane->GetRight()), 1e-9);
    // A model point seen by the camera: its coordinates along the columns are its window axes.
    Vec3D up = pane->GetUp();
    Vec3Normalize(up);
    EXPECT_NEAR(at(0, 1) * up.x + at(1, 1) * up.y + at(2, 1) * up.z, 1.0, 1e-9);

    // Scaled by the model scale of the units.
    const double s = GetUnitSettings().GetScale();
    double scaled[9];
    pane->GetViewRotationMatrix(scaled, nullptr, true);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(scaled[i], m[i] * s, 1e-12);
}

TEST_F(PolyViewQueriesTest, TheFirstPageMarginIsKeptInWholeTwips)
{
    UnitSettings& units = GetUnitSettings();
    units.SetDistanceUnit(kUnitInches);
    SetFirstPageTopMargin(0.5);
    EXPECT_EQ(FirstPageTopMarginTwips(), 720);
    EXPECT_DOUBLE_EQ(GetFirstPageTopMargin(), 0.5);
    SetFirstPageTopMargin(0.0004);  // 0.576 twips
    EXPECT_EQ(FirstPageTopMarginTwips(), 1);
    units.SetDistanceUnit(kUnitCm);
    SetFirstPageTopMargin(2.54);
    EXPECT_EQ(FirstPageTopMarginTwips(), 1440);
    units.SetDistanceUnit(kUnitInches);
    EXPECT_DOUBLE_EQ(GetFirstPageTopMargin(), 1.0);
}

TEST(ViewMatrices, TurnsAboutAxesAndBetweenThe3DAnd4DForms)
{
    struct Case
    {
        const char* name;
        Vec3D axis;
        double angle;
        Vec3D from, to;
    };
    const Case kCases[] = {
        {"a quarter turn about z", {0, 0, 2}, kPi / 2, {1, 0, 0}, {0, 1, 0}},
        {"a third of a turn about the cube diagonal", {1, 1, 1}, 2 * kPi / 3, {1, 0, 0}, {0, 1, 0}},
        {"the same, once more", {1, 1, 1}, 2 * kPi / 3, {0, 1, 0}, {0, 0, 1}},
        {"a half turn about y", {0, 1, 0}, kPi, {1, 2, 3}, {-1, 2, -3}},
        {"the axis stays", {1, 2, 2}, 1.234, {1, 2, 2}, {1, 2, 2}},
        {"no axis, no turn", {0, 0, 0}, 1.0, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const Transform3D t = RotationAboutAxis(c.axis, c.angle);
        Vec3D out;
        t.Apply(out, c.from);
        EXPECT_NEAR(out.x, c.to.x, 1e-12);
        EXPECT_NEAR(out.y, c.to.y, 1e-12);
        EXPECT_NEAR(out.z, c.to.z, 1e-12);
        EXPECT_NEAR(t.m.Determinant(), 1.0, 1e-12);
    }

    Transform3D moved;
    Transform3DIdentity(moved);
    moved.t = Vec3D{5, 6, 7};
    Vec3D direction{1, 2, 3};
    Transform3DApplyLinear(moved, direction);
    EXPECT_EQ(direction.x, 1.0);
    EXPECT_EQ(direction.z, 3.0);
    const Vec2D flat = Transform3DApply2D(moved, Vec3D{1, 2, 3});
    EXPECT_EQ(flat.x, 6.0);
    EXPECT_EQ(flat.y, 8.0);

    Mat3 m;
    m.SetRotation(Vec3D{1, 2, 3}, 0.7);
    const Mat4 m4 = Mat3ToMat4(m);
    EXPECT_EQ(m4.At(3, 3), 1.0);
    EXPECT_EQ(m4.At(3, 0), 0.0);
    EXPECT_EQ(m4.At(1, 3), 0.0);
    const Mat3 back = Mat4ToMat3(m4);
    Mat3 copy;
    Mat3Copy(copy, back);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(copy.m[i], m.m[i]);

    // The plane of z and w: z turns towards w, x and y stay.
    const Mat4 zw = Mat4PlaneRotation(kPi / 2);
    Vec4D z{0, 0, 1, 0}, x{1, 0, 0, 0}, out;
    zw.Transform(out, z);
    EXPECT_NEAR(out.z, 0.0, 1e-12);
    EXPECT_NEAR(out.w, 1.0, 1e-12);
    zw.Transform(out, x);
    EXPECT_EQ(out.x, 1.0);

    struct CubeCase
    {
        Vec3D p;
        bool inside;
    };
    const CubeCase kCube[] = {{{0.5, -0.5, 0.5}, true}, {{1, 1, -1}, true}, {{1.0001, 0, 0}, false}, {{0, 0, -2}, false}};
    for (const CubeCase& c : kCube)
        EXPECT_EQ(InsideCube(c.p, 1.0), c.inside);
}
}  // namespace
