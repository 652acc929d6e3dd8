// What the stellation diagram drawing asks the view for: lines, facet colours, cell lines, the
// region flood, and the layout of the Cell Diagram.

#include "DiagramChecks.h"

#include "kernel/RecordingSceneDrawer.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Transform3D.h"
#include "library/WenningerStellation.h"
#include "model/ColorSchemes.h"
#include "stellation/CellDiagram.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationSettings.h"
#include "stellation/StellationSurface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <vector>

namespace
{
// The settings and the scheme a test changes come back afterwards.
class DiagramDrawingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mModel = BuildModel("3.3.3.3.3");
        ASSERT_NE(mModel, nullptr);
        mStellation = mModel->poly.GetFaceStellation();
        mModel->poly.CreateStellation(mStellation, kStellationBuilt);
        ASSERT_TRUE(mStellation->IsBuilt());
        const std::vector<FaceType*> types = PlaneTypes(mStellation);
        ASSERT_EQ(types.size(), 1u);
        mType = types[0];
        mFrame.SetFrameToWorld(Vec3D{0, 0, 0}, Vec3D{1, 0, 0}, Vec3D{0, 1, 0}, Vec3D{0, 0, 1});
    }
    void TearDown() override
    {
        GetStellationSettings() = mSettings;
        StellationDiagramColorScheme() = mScheme;
    }

    // The segments of every DrawLines call, by call.
    std::vector<std::vector<RecordingSceneDrawer::Call>> LineBatches() const
    {
        std::vector<std::vector<RecordingSceneDrawer::Call>> batches;
        for (const auto& call : mDrawer.calls)
        {
            if (call.name == "DrawLines")
                batches.emplace_back();
            else if (call.name == "Line" && !batches.empty())
                batches.back().push_back(call);
        }
        return batches;
    }

    void IncludeLayersUpTo(int layer)
    {
        for (StellationCell* c = mStellation->mFirstCell; c; c = c->next)
            if (!c->IsOuter())
                StellationCell::SetIncluded(c, c->mLayer->mNumber <= layer);
    }

    ScopedScriptedServices mScripted;
    StellationSettings mSettings = GetStellationSettings();
    int mScheme = StellationDiagramColorScheme();
    std::unique_ptr<BuiltModel> mModel;
    Stellation* mStellation = nullptr;
    FaceType* mType = nullptr;
    Transform3D mFrame;
    RecordingSceneDrawer mDrawer;
};

double SegmentLength(const RecordingSceneDrawer::Call& line)
{
    return std::hypot(line.values[3] - line.values[0], line.values[4] - line.values[1]);
}
}  // namespace

TEST_F(DiagramDrawingTest, TheIcosahedronsDiagramHasEighteenLinesAndItsFaceDrawnWider)
{
    ScopedSceneDrawer scope(&mDrawer);
    GetStellationSettings().showOriginalEdges = false;
    mType->DrawDiagramLines(mFrame);
    auto batches = LineBatches();
    ASSERT_EQ(batches.size(), 1u);
    ASSERT_EQ(batches[0].size(), 18u);
    EXPECT_EQ(mDrawer.CountCalls("SetLineWidth"), 0);
    // Eighteen different lines: no two segments lie on one line.
    for (size_t i = 0; i < 18; ++i)
        for (size_t j = i + 1; j < 18; ++j)
        {
            const auto& a = batches[0][i].values;
            const auto& b = batches[0][j].values;
            const double cross1 = (a[3] - a[0]) * (b[1] - a[1]) - (a[4] - a[1]) * (b[0] - a[0]);
            const double cross2 = (a[3] - a[0]) * (b[4] - a[1]) - (a[4] - a[1]) * (b[3] - a[0]);
            EXPECT_FALSE(std::fabs(cross1) < 1e-9 && std::fabs(cross2) < 1e-9) << i << " " << j;
        }

    // The original face's three edges come again at four times the width: their pieces add up to
    // three edges of the icosahedron of circumradius 1.
    mDrawer.calls.clear();
    GetStellationSettings().showOriginalEdges = true;
    mType->DrawDiagramLines(mFrame);
    batches = LineBatches();
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].size(), 18u);
    double perimeter = 0.0;
    for (const auto& line : batches[1])
        perimeter += SegmentLength(line);
    const double edge = 1.0 / std::sin(2.0 * kPi / 5.0);
    EXPECT_NEAR(perimeter, 3.0 * edge, 1e-9);
    const auto* widths = &mDrawer.calls;
    std::vector<double> set;
    for (const auto& call : *widths)
        if (call.name == "SetLineWidth")
            set.push_back(call.values[0]);
    EXPECT_EQ(set, (std::vector<double>{4.0, 1.0}));
}

TEST_F(DiagramDrawingTest, FacetColoursFollowTheSchemeAndFadeOutsideNormalDrawing)
{
    ScopedSceneDrawer scope(&mDrawer);
    // At the original icosahedron the face itself is the one front facet; every other facet lies off
    // the surface.
    const int facets = [&] {
        int n = 0;
        for (const StellationFacet* f = mType->mFacets; f; f = f->next)
            ++n;
        return n;
    }();
    ASSERT_GT(facets, 1);
    const auto materials = [&] {
        std::vector<std::vector<double>> out;
        for (const auto& call : mDrawer.calls)
            if (call.name == "SetMaterialColor")
                out.push_back(call.values);
        return out;
    };
    const auto near = [](const std::vector<double>& got, std::vector<double> want) {
        for (size_t i = 0; i < want.size(); ++i)
            if (std::fabs(got[i] - want[i]) > 1e-6)
                return false;
        return true;
    };

    StellationDiagramColorScheme() = 0;
    mType->DrawDiagramFacets(mFrame, 0);
    // The colour is set only when it changes: red for the face, then one blue for the rest, seen
    // through.
    auto colours = materials();
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_TRUE(near(colours[0], {0.9, 0.0, 0.0, 1.0}));
    EXPECT_TRUE(near(colours[1], {0.0, 0.0, 0.9, 0.5}));
    EXPECT_EQ(mDrawer.blendMode, 0);

    // Faded, as on paper: (c - 0.5) 0.3 + 0.5 and opaque.
    mDrawer.calls.clear();
    mType->DrawDiagramFacets(mFrame, kDiagramFaded);
    colours = materials();
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_TRUE(near(colours[1], {0.35, 0.35, 0.62, 1.0}));

    // Front/Back only: the facets off the surface are not drawn, but stay pickable.
    StellationDiagramColorScheme() = 1;
    mDrawer.calls.clear();
    mType->DrawDiagramFacets(mFrame, 0);
    EXPECT_EQ(materials().size(), 1u);
    mDrawer.calls.clear();
    mDrawer.picking = true;
    mType->DrawDiagramFacets(mFrame, kDiagramFaded);
    EXPECT_EQ(mDrawer.CountCalls("SetGLSelectionItem"), facets);
    mDrawer.picking = false;

    // After Up to the small triambic icosahedron the layer-1 facets are in front and the face
    // becomes internal (green), seen through.
    IncludeLayersUpTo(1);
    StellationDiagramColorScheme() = 0;
    mDrawer.calls.clear();
    mType->DrawDiagramFacets(mFrame, 0);
    colours = materials();
    bool internalSeen = false, frontSeen = false;
    for (const auto& c : colours)
    {
        internalSeen = internalSeen || near(c, {0.0, 0.9, 0.0, 0.5});
        frontSeen = frontSeen || near(c, {0.9, 0.0, 0.0, 1.0});
    }
    EXPECT_TRUE(internalSeen);
    EXPECT_TRUE(frontSeen);
}

TEST(DiagramColours, BrightColoursAreLimitedAndEqualBackColoursInverted)
{
    const struct
    {
        const char* name;
        ColorRGB front, back;
        ColorRGB shownFront, shownBack;
    } kCases[] = {
        {"yellow", {1, 1, 0}, {0, 0, 1}, {0.8f, 0.8f, 0}, {0, 0, 1}},
        {"red and green at 0.8 stay", {0.8f, 0.8f, 0.2f}, {0, 1, 0}, {0.8f, 0.8f, 0.2f}, {0, 1, 0}},
        {"back equal to front", {0.2f, 0.6f, 1.0f}, {0.2f, 0.6f, 1.0f}, {0.2f, 0.6f, 1.0f}, {1.0f, 0.5f, 0.0f}},
        {"white's inverse is black", {1, 1, 1}, {1, 1, 1}, {0.8f, 0.8f, 0.8f}, {0, 0, 0}},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const ColorRGB front = LimitBrightColour(c.front);
        const ColorRGB back = DiagramBackColour(c.front, c.back);
        EXPECT_NEAR(front.r, c.shownFront.r, 1e-6);
        EXPECT_NEAR(front.g, c.shownFront.g, 1e-6);
        EXPECT_NEAR(front.b, c.shownFront.b, 1e-6);
        EXPECT_NEAR(back.r, c.shownBack.r, 1e-6);
        EXPECT_NEAR(back.g, c.shownBack.g, 1e-6);
        EXPECT_NEAR(back.b, c.shownBack.b, 1e-6);
    }
}

TEST_F(DiagramDrawingTest, CellLinesLieOffTheSurfaceAndAreDrawnOnce)
{
    ScopedSceneDrawer scope(&mDrawer);
    const FaceVert* face = mType->mFirstFace;
    ASSERT_NE(face, nullptr);
    // The compound of five tetrahedra: its faces are crossed by boundaries of cells that no other
    // face meets.
    for (StellationCell* c = mStellation->mFirstCell; c; c = c->next)
    {
        bool in = false;
        for (const StellationRun& run : GetWenningerStellationRuns(24))
            in = in || (c->mIndex >= run.first && c->mIndex <= run.last);
        StellationCell::SetIncluded(c, in);
    }
    GetStellationSettings().showCellLines = false;
    mType->DrawCellLines(face, Vec3D{0, 0, 0}, 1.0);
    EXPECT_EQ(mDrawer.CountCalls("DrawLines"), 0);

    GetStellationSettings().showCellLines = true;
    mType->DrawCellLines(face, Vec3D{0, 0, 0}, 1.0);
    auto batches = LineBatches();
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_GT(batches[0].size(), 0u);
    // Each segment once, in either direction.
    using End = std::tuple<long, long, long>;
    std::set<std::pair<End, End>> seen;
    const auto key = [&](size_t i, const RecordingSceneDrawer::Call& line) {
        return End{std::lround(line.values[i] * 1e6), std::lround(line.values[i + 1] * 1e6),
                   std::lround(line.values[i + 2] * 1e6)};
    };
    for (const auto& line : batches[0])
    {
        const auto a = std::make_pair(key(0, line), key(3, line));
        const auto b = std::make_pair(key(3, line), key(0, line));
        EXPECT_TRUE(seen.insert(a).second);
        EXPECT_EQ(seen.count(b), b == a ? 1u : 0u);
        // Lines lie in the face's plane.
        const Vec3D p{line.values[0], line.values[1], line.values[2]};
        EXPECT_NEAR(Vec3Dot(p, face->mZAxis), Vec3Dot(face->mCentre, face->mZAxis), 1e-9);
    }
    EXPECT_FALSE(mDrawer.lighting == false);

    // The original icosahedron's face is one region: nothing but surface edges.
    IncludeLayersUpTo(0);
    mDrawer.calls.clear();
    mType->DrawCellLines(face, Vec3D{0, 0, 0}, 1.0);
    EXPECT_EQ(mDrawer.CountCalls("DrawLines"), 0);
}

TEST_F(DiagramDrawingTest, TheRegionFloodStopsAtSurfaceEdgesAndClearsItsMarks)
{
    for (int layer : {0, 1, 3})
    {
        SCOPED_TRACE(layer);
        IncludeLayersUpTo(layer);
        ASSERT_GE(MarkAllUsedSegVerts(mStellation), 0);
        StellationRegion* start = mType->mInnermostRegion;
        ASSERT_NE(start, nullptr);
        std::vector<Vec3D> ends;
        start->CollectEdgesFlood(mFrame, ends);
        EXPECT_EQ(ends.size() % 2, 0u);
        // No collected segment is a surface edge or lacks a twin.
        for (StellationRegion* r = mType->mFirstRegion; r; r = r->next)
        {
            const StellationEdge* e = r->mEdge;
            for (int i = 0; e && i < 1000; ++i)
            {
                const SegVert* end = e->GetEnd();
                if (end && ((e->mFlags & kEdgeOnSurface) || !e->mTwin))
                {
                    for (size_t k = 0; k + 1 < ends.size(); k += 2)
                        EXPECT_FALSE(Vec3Equal(ends[k], Vec3D{e->mStart->mPos.x, e->mStart->mPos.y, 0}, 1e-12) &&
                                     Vec3Equal(ends[k + 1], Vec3D{end->mPos.x, end->mPos.y, 0}, 1e-12));
                }
                e = e->mNext;
                if (e == r->mEdge)
                    break;
            }
        }
        start->ClearVisited();
        for (const StellationRegion* r = mType->mFirstRegion; r; r = r->next)
            EXPECT_FALSE(r->mFlags & kRegionVisited);
    }
    // At the original the innermost region is bounded by surface edges alone.
    IncludeLayersUpTo(0);
    ASSERT_GE(MarkAllUsedSegVerts(mStellation), 0);
    std::vector<Vec3D> ends;
    mType->mInnermostRegion->CollectEdgesFlood(mFrame, ends);
    EXPECT_TRUE(ends.empty());
    mType->mInnermostRegion->ClearVisited();
}

TEST(CellDiagram, ExtentLayoutAndDetail)
{
    const CellDiagramExtent e = GetCellDiagramExtent(3, 4);
    EXPECT_EQ(std::make_tuple(e.left, e.top, e.right, e.bottom), std::make_tuple(-100.0, -75.0, 99.0, 74.0));

    const struct
    {
        double zoom;
        bool numbers, connectors, support;
    } kDetail[] = {{0.04, false, false, false}, {0.06, false, false, true}, {0.2, false, true, true},
                   {0.6, true, true, true}};
    for (const auto& d : kDetail)
    {
        SCOPED_TRACE(d.zoom);
        const CellDiagramDetail detail = GetCellDiagramDetail(d.zoom);
        EXPECT_EQ(detail.numbers, d.numbers);
        EXPECT_EQ(detail.pairConnectors, d.connectors);
        EXPECT_EQ(detail.supportLines, d.support);
    }

    // The icosahedron: eight layers, the core alone on top, every box inside the extent, layers 50
    // apart and the boxes of a layer 50 apart about the centre.
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    model->poly.CreateStellation(st, kStellationBuilt);
    ASSERT_TRUE(st->IsBuilt());
    const std::vector<CellDiagramBox> boxes = LayOutCellDiagram(*st);
    EXPECT_EQ(int(boxes.size()), st->GetNumCellRecords());
    const CellDiagramExtent extent = GetCellDiagramExtent(*st);
    EXPECT_EQ(extent.top, -25.0 * st->GetNumCellLayers());
    ASSERT_FALSE(boxes.empty());
    EXPECT_TRUE(boxes[0].cell->mFlags & kCellCore);
    EXPECT_DOUBLE_EQ(boxes[0].x, -20.0);
    for (const CellDiagramBox& b : boxes)
    {
        EXPECT_GE(b.x, extent.left);
        EXPECT_LE(b.x + kCellBoxWidth, extent.right);
        EXPECT_GE(b.y, extent.top);
        EXPECT_LE(b.y + kCellBoxHeight, extent.bottom);
        EXPECT_DOUBLE_EQ(b.y - boxes[0].y, 50.0 * b.layer);
        EXPECT_EQ(b.layer, b.cell->mLayer->mNumber);
    }
    // Centred: the boxes of each layer are symmetric about x = 0.
    std::map<int, std::pair<double, double>> span;
    for (const CellDiagramBox& b : boxes)
    {
        auto [it, fresh] = span.try_emplace(b.layer, b.x, b.x + kCellBoxWidth);
        it->second.first = std::min(it->second.first, b.x);
        it->second.second = std::max(it->second.second, b.x + kCellBoxWidth);
    }
    for (const auto& [layer, s] : span)
        EXPECT_DOUBLE_EQ(s.first, -s.second) << layer;
}
