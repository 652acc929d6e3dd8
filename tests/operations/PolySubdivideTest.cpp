// Subdivided faces and geodesic spheres from the side of an analysed model that is shown.

#include "HemiPolyhedra.h"
#include "OperationTestModels.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/ColorRGB.h"
#include "model/CreatePoly.h"
#include "model/Face.h"
#include "model/Vert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
const char* const kHemiMessage =
    "This operation may not be performed on a model with hemispherical faces\n(faces through the centre)";
const char* const kInfiniteMessage = "This operation may not be performed on a model with infinite faces";

FacedSolid Octahemioctahedron()
{
    for (const HemiPolyhedron& hemi : HemiPolyhedra())
        if (hemi.name == "octahemioctahedron")
            return hemi.solid;
    return {};
}

std::string LastMessage(const ScriptedServices& services)
{
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    return call ? call->text : std::string();
}
}  // namespace

// Class I geodesic spheres, T = b^2: the counts of each base solid's faces times b^2.
TEST(PolySubdivide, GeodesicSpheresOfEveryFrequencyToTwelve)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    struct Case
    {
        const char* solid;
        int faces;  // F = faces b^2
        int verts;  // V = verts b^2 + 2
    };
    const Case cases[] = {{"icosahedron", 20, 10}, {"octahedron", 8, 4}, {"tetrahedron", 4, 2}, {"cube", 24, 12}};
    for (const Case& c : cases)
    {
        Poly base;
        ASSERT_TRUE(BuildAnalysedPoly(base, NamedSolid(c.solid)));
        for (int b = 1; b <= 12; ++b)
        {
            SCOPED_TRACE(std::string(c.solid) + " frequency " + std::to_string(b));
            std::unique_ptr<SimplePoly> sphere = base.Subdivide(true, b);
            ASSERT_NE(sphere, nullptr);
            ModelCounts counts = CountModel(*sphere);
            EXPECT_TRUE(counts.closed);
            EXPECT_EQ(counts.f, c.faces * b * b);
            EXPECT_EQ(counts.faceSizes[3], counts.f);
            EXPECT_EQ(counts.v, c.verts * b * b + 2);
            EXPECT_EQ(counts.v - counts.e + counts.f, 2);
            double worst = 0.0;
            for (int v = 0; v < sphere->mNumVerts; ++v)
                worst = std::max(worst, std::fabs(Vec3Length(sphere->mVerts[v].mPos) - 1.0));
            EXPECT_LT(worst, 1e-12);
        }
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(PolySubdivide, GeodesicSpheresOfTheIcosahedronKeepItsFullSymmetry)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly base;
    ASSERT_TRUE(BuildAnalysedPoly(base, NamedSolid("icosahedron")));
    for (int b = 1; b <= 12; ++b)
    {
        SCOPED_TRACE(b);
        std::unique_ptr<SimplePoly> sphere = base.Subdivide(true, b);
        ASSERT_NE(sphere, nullptr);
        Poly made;
        ASSERT_TRUE(CreatePoly(sphere.get(), &made, false, true));
        ASSERT_NE(made.mGroup, nullptr);
        EXPECT_EQ(made.mGroup->mKind, SymGroup::kIcosahedral);
        EXPECT_EQ(made.mGroup->mReflection, SymGroup::kHorizontal);
        EXPECT_EQ(made.mFaces.mCount, 20 * b * b);
        EXPECT_EQ(made.mVerts.mCount, 10 * b * b + 2);
    }
}

TEST(PolySubdivide, FrequencyOneFansPolygonsAndKeepsTriangles)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    std::unique_ptr<SimplePoly> fanned = cube.Subdivide(false, 1);
    ASSERT_NE(fanned, nullptr);
    ModelCounts counts = CountModel(*fanned);
    EXPECT_EQ(counts.f, 24);
    EXPECT_EQ(counts.faceSizes[3], 24);
    EXPECT_EQ(counts.v, 14);
    // Without the geodesic option the points stay on the faces: the eight corners at the
    // circumradius and the six centres of the squares at the inradius, 1/sqrt 3 of it.
    int corners = 0;
    int centres = 0;
    const double radius = Vec3Length(cube.GetNthVert(0)->mPoint);
    for (int v = 0; v < fanned->mNumVerts; ++v)
    {
        const double r = Vec3Length(fanned->mVerts[v].mPos);
        corners += std::fabs(r - radius) < 1e-12;
        centres += std::fabs(r - radius / std::sqrt(3.0)) < 1e-12;
    }
    EXPECT_EQ(corners, 8);
    EXPECT_EQ(centres, 6);

    Poly icosahedron;
    ASSERT_TRUE(BuildAnalysedPoly(icosahedron, NamedSolid("icosahedron")));
    std::unique_ptr<SimplePoly> same = icosahedron.Subdivide(false, 1);
    ASSERT_NE(same, nullptr);
    counts = CountModel(*same);
    EXPECT_EQ(counts.f, 20);
    EXPECT_EQ(counts.v, 12);
    EXPECT_EQ(counts.e, 30);
    for (int v = 0; v < same->mNumVerts; ++v)
        EXPECT_NE(icosahedron.mVerts.FindAtPoint(same->mVerts[v].mPos), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(PolySubdivide, NamesColoursAndFlagsFollowTheModel)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    cube.SetBaseName("Cube");
    cube.SetDualName("Octahedron");
    ColorFromRGB(cube.GetNthFace(2)->mColor, 0x123456u);
    cube.GetNthFace(2)->mOpacity = 0.25f;

    std::unique_ptr<SimplePoly> subdivided = cube.Subdivide(false, 2);
    ASSERT_NE(subdivided, nullptr);
    EXPECT_EQ(subdivided->mName, "Subdivided Cube");
    EXPECT_EQ(subdivided->mFlags & 0x3840u, 0x3840u);
    // Face 2 is the third square: its 4 x 4 triangles follow the first two squares' 32.
    for (int f = 32; f < 48; ++f)
    {
        EXPECT_EQ(subdivided->mFaces[f].mColor, 0x123456u);
        EXPECT_EQ(subdivided->mFaces[f].mBackColor, 0x123456u);
        EXPECT_EQ(subdivided->mFaces[f].mOpacity, 0.25f);
    }
    EXPECT_NE(subdivided->mFaces[31].mColor, 0x123456u);

    std::unique_ptr<SimplePoly> sphere = cube.Subdivide(true, 2);
    ASSERT_NE(sphere, nullptr);
    EXPECT_EQ(sphere->mName, "Geodesic Cube");
    EXPECT_EQ(sphere->mFlags & 0x3840u, 0x3000u);

    // The dual shown: its faces are cut and its name is used.
    cube.SetShowDual(true);
    std::unique_ptr<SimplePoly> dual = cube.Subdivide(true, 3);
    ASSERT_NE(dual, nullptr);
    EXPECT_EQ(dual->mName, "Geodesic Octahedron");
    EXPECT_EQ(dual->mNumFaces, 8 * 9);
    EXPECT_EQ(dual->mNumVerts, 4 * 9 + 2);
}

TEST(PolySubdivide, RefusalsSayWhy)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    for (bool geodesic : {false, true})
    {
        for (int frequency : {0, -3})
        {
            scripted.services.Clear();
            EXPECT_EQ(cube.Subdivide(geodesic, frequency), nullptr);
            EXPECT_EQ(LastMessage(scripted.services), "Number of subdivisions must be at least 1.");
        }
    }

    // Faces through the centre: no geodesic sphere, but the faces can be cut. Eight triangles of
    // four and four hexagons fanned into six of four.
    Poly hemi;
    ASSERT_TRUE(BuildAnalysedPoly(hemi, Octahemioctahedron()));
    ASSERT_EQ(hemi.mFaces.mCount, 12);
    scripted.services.Clear();
    EXPECT_EQ(hemi.Subdivide(true, 2), nullptr);
    EXPECT_EQ(LastMessage(scripted.services), kHemiMessage);
    std::unique_ptr<SimplePoly> cut = hemi.Subdivide(false, 2);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->mNumFaces, 8 * 4 + 4 * 6 * 4);
    // The four hexagons meet at the centre, their spokes running along the same lines.
    EXPECT_TRUE(CountModel(*cut).evenEdges);

    // Its dual has vertices at infinity: neither option can place points on those faces.
    hemi.SetShowDual(true);
    for (bool geodesic : {false, true})
    {
        scripted.services.Clear();
        EXPECT_EQ(hemi.Subdivide(geodesic, 2), nullptr);
        EXPECT_EQ(LastMessage(scripted.services), kInfiniteMessage);
    }
}

// The count is the frequency squared times the faces: far beyond what a model may hold, and
// beyond 32 bits, it is refused before anything is made.
TEST(PolySubdivide, ResultsTooLargeToHoldAreRefused)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly icosahedron;
    ASSERT_TRUE(BuildAnalysedPoly(icosahedron, NamedSolid("icosahedron")));
    for (int frequency : {648, 10363, 46341, 2147483647})
    {
        SCOPED_TRACE(frequency);
        scripted.services.Clear();
        EXPECT_EQ(icosahedron.Subdivide(true, frequency), nullptr);
        EXPECT_NE(LastMessage(scripted.services).find("is too large to be made."), std::string::npos);
    }
    // 20 x 647^2 = 8,372,180 faces is still allowed; not made here, the size test alone is.
    EXPECT_TRUE(SimplePoly::CheckSize(10 * 647 * 647 + 2, 20 * 647 * 647));
}

namespace
{
int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 700;  // every reading is later than the last: the window opens at once
}
}  // namespace

TEST(PolySubdivide, CancelGivesNoModel)
{
    ScopedScriptedServices scripted;
    ScopedModelScale scale;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    scripted.services.cancelAtPump = 3;
    const ProgressClock previous = SetProgressClock(FakeClock);
    EXPECT_EQ(cube.Subdivide(true, 8), nullptr);
    SetProgressClock(previous);
    EXPECT_FALSE(InProgress());
    EXPECT_GE(scripted.services.progressOpened, 1);
    bool counted = false;
    for (const ProgressDisplay& shown : scripted.services.progressUpdates)
        counted = counted || shown.caption.find(" of 1536 faces") != std::string::npos;
    EXPECT_TRUE(counted);
}
