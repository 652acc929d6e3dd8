#include "kernel/ScriptedServices.h"
#include "library/ExportTestModels.h"
#include "library/FlatExportGeometry.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "support/ExternalReaders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Six times the volume the faces from first on enclose (fans from each face's first corner): positive
// when they all look out.
double SignedVolume6(const SimplePoly& poly, int first, int end)
{
    double v = 0.0;
    for (int f = first; f < end; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        for (int k = 1; k + 1 < face.mNum; ++k)
        {
            Vec3D c;
            Vec3Cross(c, face.GetVert(k)->mPos, face.GetVert(k + 1)->mPos);
            v += Vec3Dot(face.GetVert(0)->mPos, c);
        }
    }
    return v;
}

int CountSides(const SimplePoly& poly, int first, int sides)
{
    int n = 0;
    for (int f = first; f < poly.mNumFaces; ++f)
        n += poly.mFaces[f].mNum == sides;
    return n;
}

std::unique_ptr<SimplePoly> Points(const std::vector<Vec3D>& points)
{
    auto poly = std::make_unique<SimplePoly>(int(points.size()), 0);
    for (size_t i = 0; i < points.size(); ++i)
        poly->mVerts[i].SetPos(points[i]);
    return poly;
}
}  // namespace

TEST(FlatExportGeometryTest, CylindersAddRingsSidesAndCapsThatLookOut)
{
    ScopedScriptedServices scripted;
    struct Case
    {
        const char* name;
        Vec3D a, b;
    };
    // The second and third lie on lines through the centre, which the ring's frame cannot take
    // from the centre.
    const Case kCases[] = {{"off the centre", {1, 0, 0}, {0, 1, 0.5}},
                           {"through the centre", {0, 0, 1}, {0, 0, 3}},
                           {"from the centre", {0, 0, 0}, {1, 1, 1}},
                           {"down the y axis", {0, 2, 0}, {0, -1, 0}}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        for (const bool triangulate : {false, true})
        {
            SCOPED_TRACE(triangulate ? "triangles" : "polygons");
            std::unique_ptr<SimplePoly> poly = Points({c.a, c.b});
            VertexPair* edges = nullptr;
            ASSERT_TRUE(AddVertexPair(0, 1, 0x0000FF, edges));
            ASSERT_TRUE(AddFlatEdgeCylinders(*poly, edges, 0.1, 3, true, triangulate));
            FreeVertexPairs(edges);
            EXPECT_EQ(poly->mNumVerts, 2 + 6);
            if (triangulate)
            {
                EXPECT_EQ(poly->mNumFaces, 6 + 2);
                EXPECT_EQ(CountSides(*poly, 0, 3), 8);
            }
            else
            {
                EXPECT_EQ(poly->mNumFaces, 3 + 2);
                EXPECT_EQ(CountSides(*poly, 0, 4), 3);
                EXPECT_EQ(CountSides(*poly, 0, 3), 2);
            }
            // A prism of side 0.1 * root 3 and the edge's length: three times its volume outward.
            Vec3D d;
            Vec3Sub(d, c.b, c.a);
            const double area = 3.0 * std::sqrt(3.0) / 4.0 * 0.01;
            EXPECT_NEAR(SignedVolume6(*poly, 0, poly->mNumFaces), 6.0 * area * Vec3Length(d), 1e-9);
            for (int i = 2; i < poly->mNumVerts; ++i)
            {
                EXPECT_TRUE(poly->mVerts[i].mFlags & SimpleElem::kHidden) << i;
                EXPECT_EQ(poly->mVerts[i].mColor, 0x0000FFu);
            }
            EXPECT_EQ(poly->mFaces[0].mColor, 0x0000FFu);
            EXPECT_FALSE(poly->mVerts[0].mFlags & SimpleElem::kHidden);
        }
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST(FlatExportGeometryTest, CylindersFollowTheSegmentsCapsAndSizesAndSkipEdgesWithoutLength)
{
    std::unique_ptr<SimplePoly> poly = Points({{1, 0, 0}, {0, 1, 0}, {0, 1, 1e-8}});
    poly->mVerts[1].mSizeFactor = 0.5;
    VertexPair* edges = nullptr;
    ASSERT_TRUE(AddVertexPair(0, 1, 0, edges));
    ASSERT_TRUE(AddVertexPair(1, 2, 0, edges));  // within 1e-7: nothing
    ASSERT_TRUE(AddFlatEdgeCylinders(*poly, edges, 0.2, 24, false, false));
    FreeVertexPairs(edges);
    EXPECT_EQ(poly->mNumVerts, 3 + 48);
    EXPECT_EQ(poly->mNumFaces, 24);
    // The ring at the second end is half as wide.
    for (int i = 3; i < poly->mNumVerts; ++i)
    {
        const bool second = (i - 3) % 2 == 1;
        Vec3D r;
        Vec3Sub(r, poly->mVerts[i].mPos, poly->mVerts[second ? 1 : 0].mPos);
        EXPECT_NEAR(Vec3Length(r), second ? 0.1 : 0.2, 1e-12) << i;
    }
}

TEST(FlatExportGeometryTest, SpheresOfEachFrequencySitOnTheShownModelVertices)
{
    struct Case
    {
        int frequency, triangles;
    };
    const Case kCases[] = {{1, 20}, {2, 80}, {4, 320}, {8, 1280}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.frequency);
        std::unique_ptr<SimplePoly> cube = Cube({0x0000FF});
        cube->mVerts[2].mFlags |= SimpleElem::kHidden;
        cube->mVerts[5].mSizeFactor = 0.5;
        cube->mVerts[6].mColor = 0x00FF00;
        const int faces = cube->mNumFaces;
        // The last vertex counts as added already: no sphere on it.
        ASSERT_TRUE(AddFlatVertexSpheres(*cube, 7, 0.25, c.frequency));
        EXPECT_EQ(cube->mNumFaces - faces, 6 * c.triangles);
        EXPECT_EQ(CountSides(*cube, faces, 3), 6 * c.triangles);
        const int added = cube->mNumVerts - 8;
        EXPECT_EQ(added % 6, 0);
        const int perSphere = added / 6;
        for (int s = 0; s < 6; ++s)
        {
            const int centre = s < 2 ? s : s + 1;  // 0, 1, 3, 4, 5, 6
            const double radius = centre == 5 ? 0.125 : 0.25;
            for (int i = 8 + s * perSphere; i < 8 + (s + 1) * perSphere; ++i)
            {
                Vec3D r;
                Vec3Sub(r, cube->mVerts[i].mPos, cube->mVerts[centre].mPos);
                ASSERT_NEAR(Vec3Length(r), radius, 1e-9) << i;
                ASSERT_TRUE(cube->mVerts[i].mFlags & SimpleElem::kHidden);
            }
            const int firstFace = faces + s * c.triangles;
            EXPECT_GT(SignedVolume6(*cube, firstFace, firstFace + c.triangles), 0.0);
            // Every triangle looks out, and its normal says so.
            for (int f = firstFace; f < firstFace + c.triangles; ++f)
            {
                const SimpleFace& face = cube->mFaces[f];
                Vec3D a, b, n, out;
                Vec3Sub(a, face.GetVert(1)->mPos, face.GetVert(0)->mPos);
                Vec3Sub(b, face.GetVert(2)->mPos, face.GetVert(0)->mPos);
                Vec3Cross(n, a, b);
                Vec3Sub(out, face.GetVert(0)->mPos, cube->mVerts[centre].mPos);
                ASSERT_GT(Vec3Dot(n, out), 0.0) << f;
                ASSERT_GT(Vec3Dot(n, face.mNormal), 0.0) << f;
            }
            EXPECT_EQ(cube->mFaces[firstFace].mColor, centre == 6 ? 0x00FF00u : cube->mVerts[0].mColor);
        }
    }
}

TEST(FlatExportGeometryTest, AnStlOfATetrahedronWithAnEdgeThroughTheCentreHasNoReversedFacets)
{
    // A tetrahedron with the edge from (0, 0, -1) to (0, 0, 1) through the centre.
    std::unique_ptr<SimplePoly> tetra = Points({{0, 0, -1}, {0, 0, 1}, {2, 0, 0}, {-1, 2, 0.5}});
    const int corners[4][3] = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
    tetra->Grow(4, 4);
    for (int f = 0; f < 4; ++f)
    {
        SimpleFace& face = tetra->mFaces[f];
        face.SetNumVerts(3);
        for (int k = 0; k < 3; ++k)
            face.SetVert(k, &tetra->mVerts[corners[f][k]]);
        face.mColor = 0x0000FF;
    }
    ASSERT_GT(SignedVolume6(*tetra, 0, 4), 0.0) << "the faces look out";
    tetra->SetNormals(true);
    VertexPair* edges = tetra->CollectEdges();
    ASSERT_EQ(CountVertexPairs(edges), 6);
    ASSERT_TRUE(AddFlatEdgeCylinders(*tetra, edges, 0.05, 3, true, true));
    FreeVertexPairs(edges);
    const std::string stl = ScratchPath("tetra-rods.stl");
    ASSERT_TRUE(tetra->ExportStl(stl.c_str(), "Tetrahedron"));
    int status = 0;
    const std::string report = RunReader("admesh '" + stl + "'", &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_EQ(NumberAfter(report, "Number of parts\\s*:"), 7) << report;
    EXPECT_EQ(NumberAfter(report, "Facets reversed\\s*:"), 0) << report;
    EXPECT_EQ(NumberAfter(report, "Normals fixed\\s*:"), 0) << report;
    std::remove(stl.c_str());
}
