// Meshes of whole faces against the published counts of the library's convex solids, the closed
// forms of their dihedral angles and the symmetry of their vertex runs.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/Mat3.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/SymGroup.h"
#include "operations/ParametricSolids.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
constexpr int kNumUniformRows = 105;
constexpr int kFirstJohnson = 105;
constexpr int kLastJohnson = 196;

class Model3DBuildTest : public LibraryStateTest
{
};

// Every vertex of the run is the image of its first under a rotation of the group, and every image
// is in the run: the run is one orbit.
bool RunIsOrbit(const Model3D& model, int start, int size, const SymGroup& group)
{
    const Vec3D first = model.mVerts[size_t(start)].mPos;
    std::vector<bool> reached(size_t(size), false);
    SymOpIterator it;
    Mat3 m;
    while (group.NextOperation(it, true, &m))
    {
        Vec3D image;
        m.Transform(image, first);
        bool found = false;
        for (int k = 0; k < size && !found; ++k)
            if (Vec3Equal(model.mVerts[size_t(start + k)].mPos, image, 1e-6))
                found = reached[size_t(k)] = true;
        if (!found)
            return false;
    }
    for (bool r : reached)
        if (!r)
            return false;
    return true;
}

// The published counts of the row; a family row without them has its built model's.
struct Counts
{
    int faces, edges, verts;
};
Counts RowCounts(const LibraryEntry& row, const Poly& poly)
{
    if (row.mNumFaces < 0)
        return {poly.mFaces.mCount, poly.mNumEdges, poly.mVerts.mCount};
    return {row.mNumFaces, row.mNumEdges, row.mNumVerts};
}

void CheckMesh(Model3D& model, const Counts& counts, const SymGroup* group)
{
    EXPECT_EQ(model.GetNumFaces(), counts.faces);
    EXPECT_EQ(model.GetNumEdges(), counts.edges);
    EXPECT_EQ(model.mNumVerts, counts.verts);

    int missing = 0, oneWay = 0, canonical = 0;
    ForEachEdge(model, [&](Edge3D& e) {
        missing += !e.mNeigh;
        oneWay += e.mNeigh && e.mNeigh->mNeigh != &e;
        canonical += (e.mFlags & kEdge3DCanonical) != 0;
        // Exactly one half of each geometric edge is drawn.
        if (e.mNeigh)
        {
            EXPECT_NE((e.mFlags & kEdge3DCanonical) != 0, (e.mNeigh->mFlags & kEdge3DCanonical) != 0)
                << Edge3D::GetName(&e);
        }
    });
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(oneWay, 0);
    EXPECT_EQ(canonical, counts.edges);

    const auto runs = VertexRuns(model);
    EXPECT_EQ(int(runs.size()), model.mNumVertTypes);
    ASSERT_TRUE(group);
    for (const auto& [start, size] : runs)
    {
        EXPECT_LE(size, group->mOrder);
        EXPECT_TRUE(RunIsOrbit(model, start, size, *group)) << "run at " << start;
    }
}
}  // namespace

TEST_F(Model3DBuildTest, ConvexUniformRowsMeshWithTheirCountsAndOneRunPerOrbit)
{
    ScopedScriptedServices scripted;
    int convexRows = 0;
    for (int position = 0; position < kNumUniformRows; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        if (!model || !(model->poly.mFlags & Poly::kConvex))
            continue;
        ++convexRows;
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        ASSERT_TRUE(mesh);
        CheckMesh(*mesh, RowCounts(row, model->poly), model->poly.GetSymGroup());
        // The chiral pair of vertex orbits of the two truncated solids; one orbit elsewhere.
        const std::string name = row.mName;
        const auto runs = VertexRuns(*mesh);
        if (name == "Truncated Cuboctahedron" || name == "Truncated Icosidodecahedron")
        {
            const int half = name == "Truncated Cuboctahedron" ? 24 : 60;
            ASSERT_EQ(runs.size(), 2u);
            EXPECT_EQ(runs[0].second, half);
            EXPECT_EQ(runs[1].second, half);
        }
        else
        {
            EXPECT_EQ(runs.size(), 1u);
        }
    }
    // The Platonic and Archimedean solids and the convex prisms and antiprisms of the table.
    EXPECT_GE(convexRows, 18 + 4);
}

TEST_F(Model3DBuildTest, JohnsonRowsMeshWithTheirCounts)
{
    ScopedScriptedServices scripted;
    for (int position = kFirstJohnson; position <= kLastJohnson; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        ASSERT_TRUE(model);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        ASSERT_TRUE(mesh);
        CheckMesh(*mesh, RowCounts(row, model->poly), model->poly.GetSymGroup());
        EXPECT_EQ(mesh->mNumVertTypes, model->poly.GetVertStellation()->mNumFaceTypes);
    }
}

TEST_F(Model3DBuildTest, DihedralAnglesMatchTheirClosedForms)
{
    ScopedScriptedServices scripted;
    const double s5 = std::sqrt(5.0);
    struct Case
    {
        const char* name;
        std::vector<std::pair<int, int>> sides;  // the two facelets' side counts
        std::vector<double> angles;
    };
    const Case kCases[] = {
        {"Tetrahedron", {{3, 3}}, {std::acos(1.0 / 3.0)}},
        {"Cube", {{4, 4}}, {kPi / 2}},
        {"Octahedron", {{3, 3}}, {std::acos(-1.0 / 3.0)}},
        {"Dodecahedron", {{5, 5}}, {std::acos(-1.0 / s5)}},
        {"Icosahedron", {{3, 3}}, {std::acos(-s5 / 3.0)}},
        {"Truncated Icosahedron",
         {{6, 6}, {5, 6}},
         {std::acos(-s5 / 3.0), std::acos(-std::sqrt((5.0 + 2.0 * s5) / 15.0))}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        LibraryEntry* row = FindLibraryEntry(c.name, nullptr, false);
        ASSERT_TRUE(row);
        auto model = OpenRow(*row);
        ASSERT_TRUE(model);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        std::vector<int> seen(c.angles.size(), 0);
        ForEachEdge(*mesh, [&](Edge3D& e) {
            ASSERT_TRUE(e.mNeigh);
            const int a = e.mFace->mType->mNumSides;
            const int b = e.mNeigh->mFace->mType->mNumSides;
            for (size_t k = 0; k < c.sides.size(); ++k)
            {
                const auto [p, q] = c.sides[k];
                if ((a == p && b == q) || (a == q && b == p))
                {
                    EXPECT_NEAR(e.mDihedral, c.angles[k], 1e-9) << Edge3D::GetName(&e);
                    ++seen[k];
                }
            }
        });
        for (int n : seen)
            EXPECT_GT(n, 0);
    }
}

TEST_F(Model3DBuildTest, TorusMeshesWithEulerCharacteristicZero)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<SimplePoly> torus = CreateTorus(0.4, 12, 8);
    auto poly = PolyFrom(torus.get());
    ASSERT_TRUE(poly);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
    EXPECT_EQ(mesh->mNumVerts - mesh->GetNumEdges() + mesh->GetNumFaces(), 0);
    EXPECT_EQ(mesh->GetNumFaces(), 12 * 8);
    int missing = 0;
    ForEachEdge(*mesh, [&](Edge3D& e) {
        missing += !e.mNeigh || e.mNeigh->mNeigh != &e;
        // Planes of the inner side pass on the far side of the centre, and yet the ring folds
        // gently everywhere: a step around the tube turns by about 45 degrees.
        EXPECT_NEAR(e.mDihedral, kPi, kPi / 3) << Edge3D::GetName(&e);
    });
    EXPECT_EQ(missing, 0);
}

TEST_F(Model3DBuildTest, DualSideMeshesTheVerticesAsFaces)
{
    ScopedScriptedServices scripted;
    LibraryEntry* cube = FindLibraryEntry("Cube", nullptr, false);
    auto model = OpenRow(*cube);
    ASSERT_TRUE(model);
    std::unique_ptr<Model3D> dual = Model3D::CreateFromPoly(&model->poly, true);
    // The octahedron.
    EXPECT_EQ(dual->GetNumFaces(), 8);
    EXPECT_EQ(dual->GetNumEdges(), 12);
    EXPECT_EQ(dual->mNumVerts, 6);
    EXPECT_TRUE(dual->IsDual());
    ForEachEdge(*dual, [&](Edge3D& e) {
        ASSERT_TRUE(e.mNeigh);
        EXPECT_NEAR(e.mDihedral, std::acos(-1.0 / 3.0), 1e-9);
    });
    // Each element knows its facelet, and a facelet of a whole face says so.
    for (FaceVert* v = model->poly.mVerts.mFirst; v; v = v->mNext)
    {
        Face3D* face = FaceVert::FindFace3D(v);
        ASSERT_TRUE(face);
        EXPECT_EQ(face->mElement, v);
        EXPECT_TRUE(face->mFlags & kFace3DWholeFace);
    }
}

TEST_F(Model3DBuildTest, AFaceWithFewerThanThreeDistinctCornersMakesNoFaceletType)
{
    ScopedScriptedServices scripted;
    // A tetrahedron without symmetry: each face is a type of its own.
    const std::vector<Vec3D> points = {{1.0, 0.1, -0.2}, {-0.3, 0.9, 0.1}, {-0.4, -0.7, 0.3}, {0.2, -0.1, 1.1}};
    auto poly = PolyFrom(MakeFacedPoly(points, {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}}).get());
    ASSERT_TRUE(poly);
    ASSERT_EQ(poly->GetFaceStellation()->mNumFaceTypes, 4);
    // One corner slides onto another: the two faces at the edge between them keep two distinct
    // corners.
    FaceVert* stays = poly->mVerts.mFirst->mNext->mNext;
    ASSERT_TRUE(stays && stays->mNext);
    stays->mNext->mPoint = stays->mPoint;
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
    ASSERT_TRUE(mesh);
    int types = 0;
    for (Face3DType* type = mesh->mFaceTypes; type; type = type->mNext)
    {
        ++types;
        EXPECT_EQ(type->mNumSides, 3);
        EXPECT_NE(type->mTriIndices.size(), 0u);
    }
    EXPECT_EQ(types, 2);
    EXPECT_EQ(mesh->GetNumFaces(), 2);
}
