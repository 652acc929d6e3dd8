#include "DiagramChecks.h"

#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/ScriptedServices.h"
#include "model/FaceVert.h"
#include "model/StellationOptions.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Stepping through candidate edges, planes, facets and whole facetings, and finding the candidate
// a drawn polygon is a copy of.

namespace
{
class FacetingSteppingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetFacetingSettings() = FacetingSettings();
        mOptions = GetStellationOptions();
        StoreStellationOptions(GetStellationOptions() & ~kCriteriaReflexible);
    }
    void TearDown() override
    {
        GetFacetingSettings() = FacetingSettings();
        StoreStellationOptions(mOptions);
    }

    // The faceting of the model's own vertices, prepared.
    Faceting* Prepare(const char* config)
    {
        mModel = BuildModel(config);
        if (!mModel)
            return nullptr;
        Poly& poly = mModel->poly;
        Faceting* f = &poly.GetFaceStellation()->mFaceting;
        return f->CreateFaceting(&poly, poly.GetVertStellation()->mFirstFaceType) ? f : nullptr;
    }

    std::unique_ptr<BuiltModel> mModel;

private:
    int mOptions = 0;
};

int RingCount(const Polygon3D* polygon)
{
    int n = 0;
    if (const RingVert* v = polygon ? polygon->mRing : nullptr)
    {
        do
        {
            ++n;
            v = v->next;
        } while (v != polygon->mRing);
    }
    return n;
}

std::vector<Polygon3D*> ClosedPolygons(const Poly& poly)
{
    std::vector<Polygon3D*> list;
    for (Polygon3D* p = poly.mFirstDrawnPolygon; p && p != poly.mCurrentDrawnPolygon; p = p->mNext)
        list.push_back(p);
    return list;
}
}  // namespace

TEST_F(FacetingSteppingTest, EdgeModeShowsTwoPointPolygonsAndDescribesThem)
{
    ScopedScriptedServices scripted;
    GetFacetingSettings().stepMode = kFacetingStepEdges;
    Faceting* f = Prepare("5.5.5");
    ASSERT_NE(f, nullptr);
    const Polygon3D* drawn = mModel->poly.mCurrentDrawnPolygon;
    int seen = 0;
    while (f->StepNext())
    {
        ASSERT_NE(f->mCurrentEdge, nullptr);
        EXPECT_EQ(f->mCurrentEdge->mIndex, seen);
        EXPECT_EQ(RingCount(mModel->poly.mCurrentDrawnPolygon), 2);
        const FacetingEdge* mirror = f->mCurrentEdge->GetMirror();
        // An edge that is its own mirror image names itself.
        if (f->mCurrentEdge->mFlags & kFacetingEdgeReflexible)
        {
            EXPECT_EQ(mirror, f->mCurrentEdge);
        }
        char expected[64];
        std::snprintf(expected, sizeof(expected), "Faceting edge %d: Length ", seen);
        EXPECT_EQ(scripted.services.statusText.rfind(expected, 0), 0u) << scripted.services.statusText;
        const std::string tail = ", mirror " + std::to_string(mirror->mIndex);
        EXPECT_NE(scripted.services.statusText.find(tail), std::string::npos);
        ++seen;
    }
    // The dodecahedron's 20 vertices make four classes of vertex pairs by distance.
    EXPECT_EQ(seen, f->mNumEdges);
    EXPECT_GE(seen, 4);
    EXPECT_EQ(mModel->poly.mCurrentDrawnPolygon, drawn);
    EXPECT_EQ(RingCount(drawn), 0);
    // Past the last edge, the next step starts again at the first.
    ASSERT_TRUE(f->StepNext());
    EXPECT_EQ(f->mCurrentEdge, f->mFirstEdge);
    // Backwards from nothing is the last edge.
    f->mCurrentEdge = nullptr;
    ASSERT_TRUE(f->StepPrevious());
    EXPECT_EQ(f->mCurrentEdge, f->mLastEdge);
}

TEST_F(FacetingSteppingTest, PlaneModeWalksThePlanesAndStartsAgainAfterTheLast)
{
    ScopedScriptedServices scripted;
    GetFacetingSettings().stepMode = kFacetingStepPlanes;
    Faceting* f = Prepare("4.4.4");
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(f->GoToFirst());
    int planes = 1;
    EXPECT_EQ(f->mCurrentFace->mPlane, f->mFirstPlane);
    EXPECT_EQ(scripted.services.statusText.rfind("Plane 0: Height ", 0), 0u) << scripted.services.statusText;
    while (f->StepNext())
    {
        ++planes;
        EXPECT_EQ(f->mCurrentFace, f->mCurrentFace->mPlane->mFirstFace);
        EXPECT_GE(RingCount(mModel->poly.mCurrentDrawnPolygon), 3);
    }
    EXPECT_EQ(planes, f->mNumPlanes);
    // Past the last plane nothing is shown; the following step is the first plane again.
    EXPECT_EQ(f->mCurrentFace, nullptr);
    EXPECT_EQ(RingCount(mModel->poly.mCurrentDrawnPolygon), 0);
    ASSERT_TRUE(f->StepNext());
    EXPECT_EQ(f->mCurrentFace->mPlane, f->mFirstPlane);
    ASSERT_TRUE(f->GoToLast());
    EXPECT_EQ(f->mCurrentFace->mPlane, f->mLastPlane);
}

TEST_F(FacetingSteppingTest, PlaneOfATriangleInNoCandidatePlaneIsTheFirstLower)
{
    Faceting* f = Prepare("4.4.4");
    ASSERT_NE(f, nullptr);
    Polygon3D* polygon = mModel->poly.mCurrentDrawnPolygon;
    // A small triangle across a body diagonal, well inside the cube and in no plane of its vertices.
    const Vec3D points[3] = {{0.3, 0.0, 0.0}, {0.0, 0.3, 0.0}, {0.0, 0.0, 0.3}};
    for (const Vec3D& p : points)
        AddRingVert(0.0, 0.0, nullptr, &p, polygon->mRing);
    polygon->Prepare();
    Vec3D n{1.0, 1.0, 1.0};
    Vec3Normalize(n);
    const double e = f->CalcPlaneHeight(n, -0.1 * std::sqrt(3.0));
    const FacetPlane* expected = nullptr;
    for (const FacetPlane* p = f->mFirstPlane; p && !expected; p = p->next)
    {
        if (p->mHeight < e - 1e-7)
            expected = p;
    }
    bool notFound = false;
    EXPECT_EQ(f->FindPlaneOfPolygon(polygon, &notFound, nullptr), expected);
    EXPECT_TRUE(notFound);
}

TEST_F(FacetingSteppingTest, FacetingsRoundTripThroughTheDrawnFacets)
{
    for (const char* config : {"4.4.4", "5.5.5", "3.4.3.4"})
    {
        SCOPED_TRACE(config);
        ScopedScriptedServices scripted;
        Faceting* f = Prepare(config);
        ASSERT_NE(f, nullptr);
        // Only the polygon being drawn: the first Up searches the first faceting.
        ASSERT_TRUE(f->StepNext());
        ASSERT_GT(f->mNumFacets, 0);
        f->ShowCurrent();
        std::vector<FacetingFace*> facets;
        for (FacetingFace* x = f->mFirstFacet; x; x = x->mNextFacet)
            facets.push_back(x);
        const std::vector<Polygon3D*> drawn = ClosedPolygons(mModel->poly);
        ASSERT_EQ(drawn.size(), facets.size());
        for (size_t i = 0; i < drawn.size(); ++i)
        {
            bool notFound = false;
            EXPECT_EQ(f->FindFaceOfPolygon(drawn[i], &notFound), facets[i]);
            EXPECT_FALSE(notFound);
        }
    }
}

TEST_F(FacetingSteppingTest, ModelFacesGiveOnePolygonPerFaceType)
{
    for (const auto& [config, types] : {std::pair{"4.4.4", 1}, std::pair{"3.4.3.4", 2}, std::pair{"5.5.5", 1}})
    {
        SCOPED_TRACE(config);
        Faceting* f = Prepare(config);
        ASSERT_NE(f, nullptr);
        f->UseModelFaces();
        const std::vector<Polygon3D*> drawn = ClosedPolygons(mModel->poly);
        EXPECT_EQ(int(drawn.size()), types);
    }
}

TEST_F(FacetingSteppingTest, FacetModeVisitsEveryFacetOnceFromAnEmptyPolygon)
{
    for (const char* config : {"4.4.4", "5.5.5", "3.4.3.4", "3.6.6"})
    {
        SCOPED_TRACE(config);
        ScopedScriptedServices scripted;
        GetFacetingSettings().stepMode = kFacetingStepFacets;
        Faceting* f = Prepare(config);
        ASSERT_NE(f, nullptr);
        // Each step must show the next facet: the count of steps bounds the loop, so a step that
        // shows nothing and moves nowhere fails here instead of spinning.
        int shown = 0;
        for (int step = 0; step <= f->mNumFaces && f->StepNext(); ++step)
        {
            ASSERT_NE(f->mCurrentFace, nullptr) << "step " << step;
            EXPECT_EQ(f->mCurrentFace->GetGlobalIndex(), shown);
            EXPECT_EQ(RingCount(mModel->poly.mCurrentDrawnPolygon), f->mCurrentFace->GetNumSides());
            EXPECT_EQ(scripted.services.statusText, f->mCurrentFace->Describe());
            ++shown;
        }
        EXPECT_EQ(shown, f->mNumFaces);
        EXPECT_EQ(RingCount(mModel->poly.mCurrentDrawnPolygon), 0);
        // And again from the start, backwards from nothing to the last facet.
        ASSERT_TRUE(f->StepPrevious());
        EXPECT_EQ(f->mCurrentFace, f->GetLastFace());
    }
}

TEST_F(FacetingSteppingTest, DrawnPolygonInNoCandidatePlaneGivesWayToACandidate)
{
    // A triangle across the cube's body diagonal, in no plane of its vertices, then one close to
    // the centre, below every candidate plane.
    const Vec3D crossing[3] = {{0.3, 0.0, 0.0}, {0.0, 0.3, 0.0}, {0.0, 0.0, 0.3}};
    const Vec3D central[3] = {{0.01, 0.0, 0.0}, {0.0, 0.01, 0.0}, {0.0, 0.0, 0.01}};
    for (const int mode : {kFacetingStepPlanes, kFacetingStepFacets})
    {
        for (const Vec3D* points : {crossing, central})
        {
            SCOPED_TRACE(mode);
            ScopedScriptedServices scripted;
            GetFacetingSettings().stepMode = mode;
            Faceting* f = Prepare("4.4.4");
            ASSERT_NE(f, nullptr);
            Polygon3D* polygon = mModel->poly.mCurrentDrawnPolygon;
            for (int k = 0; k < 3; ++k)
                AddRingVert(0.0, 0.0, nullptr, &points[k], polygon->mRing);
            polygon->Prepare();
            // The first step replaces the triangle by a candidate; the next one moves on from it,
            // to the following candidate or, after the last, to nothing.
            ASSERT_TRUE(f->StepNext());
            const FacetingFace* first = f->mCurrentFace;
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(RingCount(polygon), first->GetNumSides());
            const FacetingFace* expected =
                mode == kFacetingStepFacets ? first->GetNext()
                                            : (first->mPlane->next ? first->mPlane->next->mFirstFace : nullptr);
            EXPECT_EQ(f->StepNext(), expected != nullptr);
            EXPECT_EQ(f->mCurrentFace, expected);
        }
    }
}

TEST_F(FacetingSteppingTest, IsohedralFacetingsResumeFromTheDrawnFacets)
{
    GetFacetingSettings().criterion = kFacetingIsohedral;
    for (const bool reflexible : {false, true})
    {
        StoreStellationOptions(reflexible ? kCriteriaReflexible : 0);
        for (const char* config : {"4.4.4", "5.5.5", "3.4.3.4"})
        {
            SCOPED_TRACE(std::string(config) + (reflexible ? ", reflexible" : ""));
            ScopedScriptedServices scripted;
            // The facetings in the order the search finds them, uninterrupted.
            Faceting* f = Prepare(config);
            ASSERT_NE(f, nullptr);
            std::vector<std::vector<FacetingFace*>> expected;
            for (int i = 0; i < 40 && f->FindNext(); ++i)
            {
                expected.emplace_back();
                for (FacetingFace* x = f->mFirstFacet; x; x = x->mNextFacet)
                    expected.back().push_back(x);
            }
            ASSERT_GE(expected.size(), 1u);
            // The same, each time shown as drawn facets and rebuilt from them after the search state
            // was lost.
            f->Reset(true, false);
            for (size_t i = 0; i < expected.size(); ++i)
            {
                SCOPED_TRACE(i);
                ASSERT_TRUE(f->FindNext());
                f->ShowCurrent();
                f->Reset(true, false);
                EXPECT_FALSE(f->SyncWithModelFacets());
                std::vector<FacetingFace*> rebuilt;
                for (FacetingFace* x = f->mFirstFacet; x; x = x->mNextFacet)
                    rebuilt.push_back(x);
                EXPECT_EQ(rebuilt, expected[i]);
            }
        }
    }
}
