#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace
{
using Face = std::vector<int>;

std::unique_ptr<SimplePoly> MakePoly(const std::vector<Vec3D>& points, const std::vector<Face>& faces,
                                     const char* name = "")
{
    auto poly = std::make_unique<SimplePoly>(int(points.size()), int(faces.size()));
    for (size_t i = 0; i < points.size(); ++i)
        poly->GetVert(int(i))->SetPos(points[i]);
    for (size_t f = 0; f < faces.size(); ++f)
    {
        SimpleFace* face = poly->GetFace(int(f));
        face->SetNumVerts(int(faces[f].size()));
        for (size_t k = 0; k < faces[f].size(); ++k)
            face->SetVert(int(k), poly->GetVert(faces[f][k]));
        face->mColor = 0x102030u + uint32_t(f);
    }
    poly->SetName(name);
    return poly;
}

// The regular icosahedron with its twelve vertices at (0, ±1, ±g) and cyclic permutations.
std::unique_ptr<SimplePoly> MakeIcosahedron()
{
    const double g = (1 + std::sqrt(5.0)) / 2;
    std::vector<Vec3D> p = {{0, 1, g},  {0, -1, g},  {0, 1, -g},  {0, -1, -g}, {1, g, 0},  {-1, g, 0},
                            {1, -g, 0}, {-1, -g, 0}, {g, 0, 1},   {-g, 0, 1},  {g, 0, -1}, {-g, 0, -1}};
    // The faces are the triples of mutually adjacent vertices (edge length 2).
    std::vector<Face> faces;
    auto adjacent = [&](int a, int b) { return std::fabs(Vec3Distance(p[a], p[b]) - 2.0) < 1e-9; };
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            for (int c = b + 1; c < 12; ++c)
                if (adjacent(a, b) && adjacent(b, c) && adjacent(a, c))
                {
                    Vec3D n;
                    Vec3Normal3(n, p[a], p[b], p[c]);
                    faces.push_back(Vec3Dot(n, p[a]) > 0 ? Face{a, b, c} : Face{a, c, b});
                }
    auto poly = MakePoly(p, faces, "Icosahedron");
    poly->mFlags |= SimplePoly::kConvex;
    return poly;
}

std::unique_ptr<SimplePoly> MakeCube()
{
    std::vector<Vec3D> p;
    for (int i = 0; i < 8; ++i)
        p.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    return MakePoly(p, {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}}, "Cube");
}

// Counts edges by their vertex pairs; closed when every edge lies in exactly two faces.
int CountEdges(const SimplePoly& poly, bool& closed)
{
    std::map<std::pair<int, int>, int> uses;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    }
    closed = true;
    for (const auto& u : uses)
        closed = closed && u.second == 2;
    return int(uses.size());
}
}  // namespace

TEST(Subdivide, SplitsFacesIntoTriangularGrids)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> points;
        int n, faces, verts;
    };
    const std::vector<Vec3D> triangle = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const std::vector<Vec3D> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // Vertex counts from Euler's formula for a disc: V = 1 + E - F.
    const Case cases[] = {
        {"triangle copied", triangle, 1, 1, 3},
        {"triangle in four", triangle, 2, 4, 6},
        {"square fan", square, 1, 4, 5},
        {"square in 36", square, 3, 36, 25},
    };
    ScopedScriptedServices scope;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Face face;
        for (size_t i = 0; i < c.points.size(); ++i)
            face.push_back(int(i));
        auto source = MakePoly(c.points, {face}, "Patch");
        auto result = SimplePoly::Subdivide(*source, 0, c.n);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->mNumFaces, c.faces);
        EXPECT_EQ(result->mNumVerts, c.verts);
        for (int f = 0; f < result->mNumFaces; ++f)
        {
            EXPECT_EQ(result->mFaces[f].mNum, 3);
            EXPECT_EQ(result->mFaces[f].mColor, source->mFaces[0].mColor);
            EXPECT_EQ(result->mFaces[f].mBackColor, source->mFaces[0].mColor);
        }
        EXPECT_EQ(result->mName, "Subdivided Patch");
    }
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);
}

TEST(Subdivide, SharesGridPointsBetweenNeighbours)
{
    ScopedScriptedServices scope;
    auto cube = MakeCube();
    auto result = SimplePoly::Subdivide(*cube, 0, 3);
    ASSERT_NE(result, nullptr);
    bool closed = false;
    const int edges = CountEdges(*result, closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(result->mNumFaces, 6 * 4 * 9);
    EXPECT_EQ(result->mNumVerts - edges + result->mNumFaces, 2);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);  // the exact closed-model count held
}

TEST(Subdivide, GeodesicSpheresHaveTheKnownCounts)
{
    ScopedScriptedServices scope;
    std::unique_ptr<SimplePoly> sphere = MakeIcosahedron();
    ASSERT_EQ(sphere->mNumFaces, 20);
    for (int f = 2; f <= 64; f *= 2)
    {
        SCOPED_TRACE(f);
        sphere = SimplePoly::Subdivide(*sphere, SimplePoly::kGeodesic, 2);
        ASSERT_NE(sphere, nullptr);
        bool closed = false;
        const int edges = CountEdges(*sphere, closed);
        EXPECT_TRUE(closed);
        EXPECT_EQ(sphere->mNumVerts, 10 * f * f + 2);
        EXPECT_EQ(edges, 30 * f * f);
        EXPECT_EQ(sphere->mNumFaces, 20 * f * f);
        double worst = 0;
        for (int v = 0; v < sphere->mNumVerts; ++v)
            worst = std::max(worst, std::fabs(Vec3Length(sphere->mVerts[v].mPos) - 1.0));
        EXPECT_LT(worst, 1e-12);
        // A convex source makes the first sphere radially convex; the sphere itself is not marked convex.
        EXPECT_EQ((sphere->mFlags & SimplePoly::kRadiallyConvex) != 0, f == 2);
        EXPECT_FALSE(sphere->mFlags & SimplePoly::kConvex);
    }
    EXPECT_EQ(sphere->mName, "Geodesic Icosahedron");  // the prefix once, however often it is applied
}

TEST(Subdivide, RefusesFewerThanOnePart)
{
    ScopedScriptedServices scope;
    auto cube = MakeCube();
    EXPECT_EQ(SimplePoly::Subdivide(*cube, 0, 0), nullptr);
    ASSERT_NE(scope.services.LastCall("MessageBox"), nullptr);
    EXPECT_EQ(scope.services.LastCall("MessageBox")->text, "Number of subdivisions must be at least 1.");
    EXPECT_EQ(scope.services.LastCall("MessageBox")->caption, "Error");
}

TEST(Subdivide, FacesWithTwoCornersMakeNothingAndAreReported)
{
    ScopedScriptedServices scope;
    auto poly = MakePoly({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 1}});
    auto result = SimplePoly::Subdivide(*poly, 0, 2);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->mNumFaces, 4);
    ASSERT_NE(scope.services.LastCall("MessageBox"), nullptr);
    EXPECT_EQ(scope.services.LastCall("MessageBox")->caption, "Internal Error");
}

namespace
{
int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 700;  // every reading is later than the last: the window opens at once
}
}  // namespace

TEST(Subdivide, CancelDropsThePartialResult)
{
    ScopedScriptedServices scope;
    scope.services.cancelAtPump = 3;
    const ProgressClock previous = SetProgressClock(FakeClock);
    auto cube = MakeCube();
    EXPECT_EQ(SimplePoly::Subdivide(*cube, 0, 8), nullptr);
    SetProgressClock(previous);
    EXPECT_FALSE(InProgress());
    EXPECT_EQ(scope.services.waitCursorDepth, 0);
    EXPECT_GE(scope.services.progressOpened, 1);
}

TEST(CreateSphere, PowersOfTwoHalveTheIcosahedronsEdgesAndOthersAreRefused)
{
    ScopedScriptedServices scripted;
    struct Case
    {
        int frequency;
        int faces;  // 20 f^2, the icosahedron for 0 and 1
        int verts;  // 10 f^2 + 2
    };
    for (const Case& c : {Case{0, 20, 12}, Case{1, 20, 12}, Case{2, 80, 42}, Case{4, 320, 162}, Case{8, 1280, 642}})
    {
        SCOPED_TRACE(c.frequency);
        std::unique_ptr<SimplePoly> sphere = SimplePoly::CreateSphere(c.frequency);
        ASSERT_NE(sphere, nullptr);
        EXPECT_EQ(sphere->mNumFaces, c.faces);
        EXPECT_EQ(sphere->mNumVerts, c.verts);
        if (c.frequency > 1)
        {
            for (int i = 0; i < sphere->mNumVerts; ++i)
                EXPECT_NEAR(Vec3Length(sphere->GetVert(i)->mPos), 1.0, 1e-12);
        }
    }
    for (int refused : {3, 6, -2, -4})
    {
        SCOPED_TRACE(refused);
        EXPECT_EQ(SimplePoly::CreateSphere(refused), nullptr);
    }
}

// The frequency squared overflowed 32 bits before the count was widened; now every count is made
// in 64 bits and a result beyond what a model may hold is refused before anything is allocated.
TEST(Subdivide, FrequenciesBeyondWhatAModelHoldsAreRefused)
{
    ScopedScriptedServices scope;
    auto cube = MakeCube();
    for (int n : {1183, 46341, 65536, 2147483647})
    {
        SCOPED_TRACE(n);
        scope.services.Clear();
        EXPECT_EQ(SimplePoly::Subdivide(*cube, 0, n), nullptr);
        ASSERT_NE(scope.services.LastCall("MessageBox"), nullptr);
        EXPECT_NE(scope.services.LastCall("MessageBox")->text.find("is too large to be made."), std::string::npos);
    }
}
