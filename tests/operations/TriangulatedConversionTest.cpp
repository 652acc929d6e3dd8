// Triangulated conversions of a model's side, the stellation views' conversion through the mesh,
// and reversed faces facing the same way whole and in triangles.

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryLookup.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace
{
constexpr int kNumUniformRows = 105;
constexpr int kFirstJohnson = 105;
constexpr int kLastJohnson = 196;

class TriangulatedConversionTest : public LibraryStateTest
{
};

struct RowModel
{
    PolyTemplate templ;
    Poly poly;
};

std::unique_ptr<RowModel> OpenRow(const LibraryEntry& row)
{
    auto model = std::make_unique<RowModel>();
    if (!model->poly.CreateFromLibraryEntry(&model->templ, &row, false))
        return nullptr;
    return model;
}

double Triple(const Vec3D& a, const Vec3D& b, const Vec3D& c)
{
    Vec3D cross;
    Vec3Cross(cross, b, c);
    return Vec3Dot(a, cross);
}

// By the divergence theorem, each face fanned from its first corner.
double Volume(const SimplePoly& poly)
{
    double sum = 0.0;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        for (int k = 1; k + 1 < face.mNum; ++k)
            sum += Triple(face.GetVert(0)->mPos, face.GetVert(k)->mPos, face.GetVert(k + 1)->mPos);
    }
    return sum / 6.0;
}

double Volume(const Poly& poly)
{
    double sum = 0.0;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        for (int k = 1; k + 1 < f->mNumSides; ++k)
            sum += Triple(f->mNeighbours[0]->mPoint, f->mNeighbours[k]->mPoint, f->mNeighbours[k + 1]->mPoint);
    return sum / 6.0;
}

// The way a face points as the exporters read it: its normal, turned round by the reversed flag.
Vec3D ExportedNormal(const SimpleFace& face)
{
    Vec3D n = face.mNormal;
    if (face.mFlags & SimpleElem::kReverseNorm)
        Vec3Negate(n);
    return n;
}

// The normal the corners wind about (Newell).
Vec3D WindingNormal(const SimpleFace& face)
{
    Vec3D n;
    for (int k = 0; k < face.mNum; ++k)
    {
        const Vec3D& a = face.GetVert(k)->mPos;
        const Vec3D& b = face.GetVert((k + 1) % face.mNum)->mPos;
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

class ViewTypeShell : public Shell
{
public:
    int type = kViewTypeNone;
    int ViewTypeCode(void*) override { return type; }
};
}  // namespace

TEST_F(TriangulatedConversionTest, TheCubeBecomesTwelveTrianglesOnItsEightVertices)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    for (uint32_t bit : {0x20u, 0x40u})
    {
        SCOPED_TRACE(bit);
        std::unique_ptr<SimplePoly> triangles = model->poly.CreateSimplePoly(Poly::kConvertBase | bit, nullptr, nullptr);
        ASSERT_TRUE(triangles);
        EXPECT_EQ(triangles->mNumFaces, 12);
        EXPECT_EQ(triangles->mNumVerts, 8);
        for (int f = 0; f < triangles->mNumFaces; ++f)
        {
            EXPECT_EQ(triangles->mFaces[f].mNum, 3);
            EXPECT_TRUE(triangles->mFaces[f].mFlags & SimpleElem::kNormalOriented);
        }
        // No edge records for triangles.
        EXPECT_EQ(triangles->mNumEdges, 0);
    }
    std::unique_ptr<SimplePoly> points =
        model->poly.CreateSimplePoly(Poly::kConvertBase | 0x20 | Poly::kConvertVertsOnly, nullptr, nullptr);
    ASSERT_TRUE(points);
    EXPECT_EQ(points->mNumVerts, 8);
    EXPECT_EQ(points->mNumFaces, 0);
}

TEST_F(TriangulatedConversionTest, ConvexRowsTriangulateWithTheirVolume)
{
    ScopedScriptedServices scripted;
    int rows = 0;
    for (int position = 0; position <= kLastJohnson; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        if (!model || (position < kNumUniformRows && !(model->poly.mFlags & Poly::kConvex)))
            continue;
        ASSERT_TRUE(position < kFirstJohnson || model);
        ++rows;
        std::unique_ptr<SimplePoly> triangles = model->poly.CreateSimplePoly(Poly::kConvertBase | 0x20, nullptr, nullptr);
        ASSERT_TRUE(triangles);
        int expected = 0;
        for (const FaceVert* f = model->poly.mFaces.mFirst; f; f = f->mNext)
            expected += f->mNumSides - 2;
        EXPECT_EQ(triangles->mNumFaces, expected);
        EXPECT_EQ(triangles->mNumVerts, model->poly.mVerts.mCount);
        const double volume = Volume(model->poly);
        EXPECT_GT(volume, 0.0);
        EXPECT_NEAR(Volume(*triangles), volume, 1e-9);
    }
    EXPECT_GE(rows, 22 + 92);
}

TEST_F(TriangulatedConversionTest, ReversedFacesFaceTheSameWayWholeAndInTriangles)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    for (FaceVert* f = model->poly.mFaces.mFirst; f; f = f->mNext)
        f->mFlags |= FaceVert::kReverseNorm;
    std::unique_ptr<SimplePoly> whole = model->poly.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    std::unique_ptr<SimplePoly> triangles = model->poly.CreateSimplePoly(Poly::kConvertBase | 0x20, nullptr, nullptr);
    ASSERT_TRUE(whole && triangles);
    ASSERT_EQ(triangles->mNumFaces, 12);
    for (int t = 0; t < triangles->mNumFaces; ++t)
    {
        const SimpleFace& triangle = triangles->mFaces[t];
        // The whole face the triangle lies in: the one with the same plane.
        const SimpleFace* face = nullptr;
        for (int f = 0; f < whole->mNumFaces && !face; ++f)
            if (Vec3Equal(whole->mFaces[f].mNormal, triangle.mNormal, 1e-9))
                face = &whole->mFaces[f];
        ASSERT_TRUE(face) << t;
        EXPECT_EQ(triangle.mFlags & (SimpleElem::kReverseNorm | SimpleElem::kReversed),
                  face->mFlags & (SimpleElem::kReverseNorm | SimpleElem::kReversed));
        EXPECT_GT(Vec3Dot(ExportedNormal(triangle), ExportedNormal(*face)), 0.0);
        // The corners wind the same way about it, whole or in triangles.
        EXPECT_GT(Vec3Dot(WindingNormal(triangle), ExportedNormal(triangle)) *
                      Vec3Dot(WindingNormal(*face), ExportedNormal(*face)),
                  0.0);
    }
}

TEST_F(TriangulatedConversionTest, StellationViewsConvertTheStellationsMesh)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    ViewTypeShell shell;
    ScopedShell installed(&shell);
    for (int type : {kViewTypeUniStellation, kViewTypeStelDiagram, kViewTypeNet2D})
    {
        SCOPED_TRACE(type);
        shell.type = type;
        bool fromModel = false;
        VertexPair* edges = nullptr;
        std::unique_ptr<SimplePoly> sp = model->poly.CreateSimplePolyFromView(0, &edges, &fromModel, nullptr);
        ASSERT_TRUE(sp);
        EXPECT_TRUE(fromModel);
        EXPECT_EQ(sp->mNumVerts, 8);
        EXPECT_EQ(sp->mNumFaces, 6);
        EXPECT_NEAR(Volume(*sp), Volume(model->poly), 1e-9);
        EXPECT_EQ(CountVertexPairs(edges), 12);
        FreeVertexPairs(edges);
    }
    // The dual shown: the octahedron's mesh.
    model->poly.mShowDual = true;
    shell.type = kViewTypeDualStellation;
    std::unique_ptr<SimplePoly> dual = model->poly.CreateSimplePolyFromView(0, nullptr, nullptr, nullptr);
    ASSERT_TRUE(dual);
    EXPECT_EQ(dual->mNumVerts, 6);
    EXPECT_EQ(dual->mNumFaces, 8);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}
