#include "SolidModels.h"
#include "SolidPoints.h"

#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UserServices.h"
#include "kernel/UnitSettings.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/StellationOptions.h"
#include "model/FacetedPolyhedron.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <set>
#include <string>
#include <vector>

// The faceted polyhedron made from drawn facets, checked against the published facetings of the
// cube and the icosahedron.

namespace
{
// Vertices, edges by the sides of the faces, and faces by their corners; whether every edge lies
// between exactly two faces.
struct ModelCounts
{
    int v = 0;
    int e = 0;
    int f = 0;
    std::map<int, int> faceSizes;
    bool closed = true;
};

ModelCounts CountModel(const SimplePoly& model)
{
    ModelCounts counts;
    std::map<std::pair<int, int>, int> uses;
    for (int f = 0; f < model.mNumFaces; ++f)
    {
        const SimpleFace& face = model.mFaces[f];
        ++counts.faceSizes[face.mNum];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    }
    for (const auto& use : uses)
        counts.closed = counts.closed && use.second == 2;
    counts.v = model.mNumVerts;
    counts.e = int(uses.size());
    counts.f = model.mNumFaces;
    return counts;
}

class FacetedPolyhedronTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOptions = GetStellationOptions();
        mScale = GetUnitSettings().GetScale();
    }
    void TearDown() override
    {
        StoreStellationOptions(mOptions);
        GetUnitSettings().SetScale(mScale, false);
    }

    // The solid as an analysed model, with its names, and its vertex positions.
    void Build(const char* solid, const char* name, const char* dualName)
    {
        static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
        std::unique_ptr<SimplePoly> model = MakeModel(ConvexSolid(FindSolid(solids, solid).points));
        // Analysed as the program does: symmetry, face types, edges.
        ASSERT_TRUE(model && CreatePoly(model.get(), &mPoly, false, true));
        mPoly.SetBaseName(name);
        mPoly.SetDualName(dualName);
        mVerts.clear();
        for (const FaceVert* v = mPoly.mVerts.mFirst; v; v = v->mNext)
            mVerts.push_back(v->mPoint);
        mEdge = 1e300;
        for (size_t i = 0; i < mVerts.size(); ++i)
            for (size_t j = i + 1; j < mVerts.size(); ++j)
                mEdge = std::min(mEdge, Distance(mVerts[i], mVerts[j]));
    }

    static double Distance(const Vec3D& a, const Vec3D& b)
    {
        return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
    }

    // The vertices at the given distance from v, in turn about v's direction.
    std::vector<Vec3D> AtDistance(const Vec3D& v, double distance) const
    {
        std::vector<Vec3D> out;
        for (const Vec3D& p : mVerts)
            if (std::fabs(Distance(p, v) - distance) < 1e-6)
                out.push_back(p);
        Vec3D axis = v, u, w;
        Vec3Normalize(axis);
        Vec3Perpendicular(u, axis);
        Vec3Normalize(u);
        Vec3Cross(w, axis, u);
        std::sort(out.begin(), out.end(), [&](const Vec3D& a, const Vec3D& b) {
            return std::atan2(Vec3Dot(a, w), Vec3Dot(a, u)) < std::atan2(Vec3Dot(b, w), Vec3Dot(b, u));
        });
        return out;
    }

    void AddPoints(const std::vector<Vec3D>& points)
    {
        Polygon3D* polygon = mPoly.mCurrentDrawnPolygon;
        for (const Vec3D& p : points)
            AddRingVert(0.0, 0.0, nullptr, &p, polygon->mRing);
        polygon->Prepare();
    }

    void AddFacet(const std::vector<Vec3D>& points)
    {
        AddPoints(points);
        mPoly.CloseDrawnPolygon(false, false);
    }

    Poly mPoly;
    std::vector<Vec3D> mVerts;
    double mEdge = 0.0;

private:
    int mOptions = 0;
    double mScale = 1.0;
};

std::vector<Vec3D> Pick(const std::vector<Vec3D>& ring, std::initializer_list<int> order)
{
    std::vector<Vec3D> out;
    for (int i : order)
        out.push_back(ring[size_t(i)]);
    return out;
}

std::set<uint32_t> FaceColors(const SimplePoly& model)
{
    std::set<uint32_t> colors;
    for (int f = 0; f < model.mNumFaces; ++f)
        colors.insert(model.mFaces[f].mColor);
    return colors;
}
}  // namespace

TEST_F(FacetedPolyhedronTest, FacetingsOfTheIcosahedronAreThePublishedSolids)
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    struct Case
    {
        const char* name;
        bool secondNeighbours;  // the ring of second neighbours with the vertex, else the neighbours
        std::initializer_list<int> order;
        int v, e, f, sides;
    };
    // Great dodecahedron, small stellated dodecahedron, great icosahedron.
    const Case cases[] = {
        {"pentagon of the neighbours", false, {0, 1, 2, 3, 4}, 12, 30, 12, 5},
        {"pentagram of the neighbours", false, {0, 2, 4, 1, 3}, 12, 30, 12, 5},
        {"triangle of pairwise second neighbours", true, {0, 2}, 12, 30, 20, 3},
    };
    for (const bool reflexible : {false, true})
    {
        StoreStellationOptions(reflexible ? kCriteriaReflexible : 0);
        for (const Case& c : cases)
        {
            SCOPED_TRACE(std::string(c.name) + (reflexible ? ", reflexible" : ""));
            ScopedScriptedServices scripted;
            Build("icosahedron", "Icosahedron", "Dodecahedron");
            const std::vector<Vec3D> ring = AtDistance(mVerts[0], c.secondNeighbours ? mEdge * phi : mEdge);
            ASSERT_EQ(ring.size(), 5u);
            std::vector<Vec3D> facet = Pick(ring, c.order);
            if (c.secondNeighbours)
                facet.insert(facet.begin(), mVerts[0]);
            AddFacet(facet);
            std::vector<FacetRecord> records;
            std::unique_ptr<SimplePoly> model = CreateSimpleFacetedPolyhedron(mPoly, 0, &records);
            ASSERT_NE(model, nullptr);
            const ModelCounts counts = CountModel(*model);
            EXPECT_EQ(counts.v, c.v);
            EXPECT_EQ(counts.e, c.e);
            EXPECT_EQ(counts.f, c.f);
            EXPECT_EQ(counts.faceSizes.at(c.sides), c.f);
            EXPECT_TRUE(counts.closed);
            EXPECT_EQ(model->mName, "Faceted Icosahedron");
            EXPECT_EQ(model->mDualName, "Stellated Dodecahedron");
            // Each face is its facet moved by the operation recorded for it.
            ASSERT_EQ(int(records.size()), model->mNumFaces);
            for (int f = 0; f < model->mNumFaces; ++f)
            {
                const RingVert* first = records[size_t(f)].mPolygon->mRing;
                Vec3D image;
                records[size_t(f)].mOperation.Transform(image, first->pos);
                EXPECT_TRUE(Vec3Equal(image, model->mFaces[f].GetVert(0)->mPos, 1e-7));
            }
            // The facets are their own mirror images: the reflections add nothing, nor a colour.
            EXPECT_EQ(FaceColors(*model).size(), 1u);
            EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
        }
    }
}

TEST_F(FacetedPolyhedronTest, FacetOfTheCubeGivesTheStellaOctangula)
{
    ScopedScriptedServices scripted;
    Build("cube", "Cube", "Octahedron");
    // Three corners pairwise across a face: one face of a tetrahedron inscribed in the cube.
    const std::vector<Vec3D> across = AtDistance(mVerts[0], mEdge * std::sqrt(2.0));
    ASSERT_EQ(across.size(), 3u);
    AddFacet(across);
    std::unique_ptr<SimplePoly> model = CreateSimpleFacetedPolyhedron(mPoly, 0, nullptr);
    ASSERT_NE(model, nullptr);
    const ModelCounts counts = CountModel(*model);
    EXPECT_EQ(counts.v, 8);
    EXPECT_EQ(counts.e, 12);
    EXPECT_EQ(counts.f, 8);
    EXPECT_TRUE(counts.closed);
    EXPECT_EQ(model->mName, "Faceted Cube");
}

TEST_F(FacetedPolyhedronTest, CopiesFollowTheFacetsOwnSymmetry)
{
    ScopedScriptedServices scripted;
    Build("icosahedron", "Icosahedron", "Dodecahedron");
    const std::vector<Vec3D> ring = AtDistance(mVerts[0], mEdge);
    // The whole pentagon turns with the 5-fold axis: one face per axis direction. A triangle in the
    // same plane has no turn of its own: five copies per direction.
    AddFacet(Pick(ring, {0, 1, 2, 3, 4}));
    std::unique_ptr<SimplePoly> whole = CreateSimpleFacetedPolyhedron(mPoly, kFacetedQuiet, nullptr);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->mNumFaces, 12);
    mPoly.ClearDrawnPolygons(false);
    AddFacet(Pick(ring, {0, 1, 2}));
    std::unique_ptr<SimplePoly> part = CreateSimpleFacetedPolyhedron(mPoly, kFacetedQuiet, nullptr);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->mNumFaces, 60);
    EXPECT_EQ(CountModel(*part).faceSizes.at(3), 60);
    // Not a closed surface, but the quiet preview keeps it and says nothing.
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(FacetedPolyhedronTest, UnfinishedFacetIsIncludedOnlyWhenTheUserSaysSo)
{
    Build("icosahedron", "Icosahedron", "Dodecahedron");
    const std::vector<Vec3D> ring = AtDistance(mVerts[0], mEdge);
    // The great dodecahedron's pentagon, and the small stellated dodecahedron's pentagram through
    // the same points still being drawn.
    AddFacet(Pick(ring, {0, 1, 2, 3, 4}));
    AddPoints(Pick(ring, {0, 2, 4, 1, 3}));
    for (const auto& [answer, faces] : {std::pair{kIdYes, 24}, std::pair{kIdNo, 12}})
    {
        SCOPED_TRACE(answer);
        ScopedScriptedServices scripted;
        scripted.services.PushAnswer(answer);
        std::unique_ptr<SimplePoly> model = CreateSimpleFacetedPolyhedron(mPoly, kFacetedNoCheck, nullptr);
        ASSERT_NE(model, nullptr);
        const ScriptedServices::Call* asked = scripted.services.LastCall("MessageBox");
        ASSERT_NE(asked, nullptr);
        EXPECT_EQ(asked->text,
                  "You were in the middle of creating a facet.\nWould you like to include this partially complete "
                  "facet?");
        EXPECT_EQ(model->mNumFaces, faces);
        EXPECT_EQ(FaceColors(*model).size(), size_t(faces / 12));
        // The polygon being drawn stays as it was.
        EXPECT_NE(mPoly.mCurrentDrawnPolygon->mRing, nullptr);
    }
}

TEST_F(FacetedPolyhedronTest, NoFacetsIsAnErrorThatSaysWhereToDrawThem)
{
    Build("cube", "Cube", "Octahedron");
    {
        ScopedScriptedServices scripted;
        EXPECT_EQ(CreateSimpleFacetedPolyhedron(mPoly, 0, nullptr), nullptr);
        const ScriptedServices::Call* error = scripted.services.LastCall("MessageBox");
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->text.rfind("Before creating a faceted polyhedron, you must create\n", 0), 0u);
        EXPECT_NE(error->text.find(std::string("\"") + kFacetingModeMenuText + "\""), std::string::npos);
    }
    {
        // Quiet: nothing is said, and an unfinished facet is left out without a question.
        ScopedScriptedServices scripted;
        AddPoints(Pick(mVerts, {0, 1}));
        EXPECT_EQ(CreateSimpleFacetedPolyhedron(mPoly, kFacetedQuiet, nullptr), nullptr);
        EXPECT_TRUE(scripted.services.calls.empty());
    }
}

TEST_F(FacetedPolyhedronTest, PreviewFollowsTheDrawnFacets)
{
    ScopedScriptedServices scripted;
    Build("icosahedron", "Icosahedron", "Dodecahedron");
    mPoly.UpdateFacetedPoly();
    EXPECT_EQ(mPoly.mFacetedModel, nullptr);

    const std::vector<Vec3D> ring = AtDistance(mVerts[0], mEdge);
    AddFacet(Pick(ring, {0, 1, 2, 3, 4}));
    mPoly.mCurrentFacet = 40;
    mPoly.UpdateFacetedPoly();
    ASSERT_NE(mPoly.mFacetedModel, nullptr);
    EXPECT_EQ(mPoly.mFacetedModel->mNumFaces, 12);
    EXPECT_EQ(ListCount(mPoly.mFirstFacetedFace), 12);
    ASSERT_EQ(mPoly.mFacetTable.size(), 12u);
    for (const FacetTableEntry& e : mPoly.mFacetTable)
        EXPECT_EQ(e.mPolygon, mPoly.mFirstDrawnPolygon);
    EXPECT_EQ(mPoly.mCurrentFacet, 11);

    // Another facet: built again, quietly, with the partial polygon left out.
    AddFacet(Pick(ring, {0, 2, 4, 1, 3}));
    AddPoints(Pick(ring, {0, 1}));
    mPoly.UpdateFacetedPoly();
    ASSERT_NE(mPoly.mFacetedModel, nullptr);
    EXPECT_EQ(mPoly.mFacetedModel->mNumFaces, 24);
    EXPECT_TRUE(scripted.services.calls.empty());
    mPoly.ClearDrawnPolygons(false);
    mPoly.UpdateFacetedPoly();
    EXPECT_EQ(mPoly.mFacetedModel, nullptr);
    EXPECT_EQ(mPoly.mFirstFacetedFace, nullptr);
    EXPECT_EQ(mPoly.mCurrentFacet, -1);
}

TEST_F(FacetedPolyhedronTest, MirrorImagesOfAChiralFacetComeOnlyWithReflexibilityAndInAColourOfTheirOwn)
{
    ScopedScriptedServices scripted;
    Build("cuboctahedron", "Cuboctahedron", "Rhombic Dodecahedron");
    // A triangle with sides e, e sqrt 2 and e sqrt 3: no mirror of the group can fix all three
    // corners, as its plane misses the centre.
    std::vector<Vec3D> triangle;
    const Vec3D& a = mVerts[0];
    for (const Vec3D& b : AtDistance(a, mEdge))
    {
        for (const Vec3D& c : AtDistance(b, mEdge * std::sqrt(2.0)))
        {
            if (triangle.empty() && std::fabs(Distance(a, c) - mEdge * std::sqrt(3.0)) < 1e-6)
                triangle = {a, b, c};
        }
    }
    ASSERT_EQ(triangle.size(), 3u);
    AddFacet(triangle);
    for (const auto& [reflexible, faces] : {std::pair{false, 24}, std::pair{true, 48}})
    {
        SCOPED_TRACE(reflexible);
        StoreStellationOptions(reflexible ? kCriteriaReflexible : 0);
        std::unique_ptr<SimplePoly> model = CreateSimpleFacetedPolyhedron(mPoly, kFacetedQuiet, nullptr);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->mNumFaces, faces);
        std::map<uint32_t, int> byColor;
        for (int f = 0; f < model->mNumFaces; ++f)
            ++byColor[model->mFaces[f].mColor];
        ASSERT_EQ(byColor.size(), size_t(faces / 24));
        for (const auto& [color, count] : byColor)
            EXPECT_EQ(count, 24) << std::hex << color;
    }
}
