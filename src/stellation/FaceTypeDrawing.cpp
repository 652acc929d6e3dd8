// Drawing a face type's stellation diagram: its facets and lines in a diagram view or in a face's
// plane, the current stellation's facets on the faces, and the cell lines.

#include "kernel/Palette.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Transform3D.h"
#include "model/ColorSchemes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"
#include "stellation/StellationSettings.h"
#include "stellation/StellationSurface.h"

#include <algorithm>
#include <set>
#include <vector>

namespace
{
// Long enough for any ring or line of a diagram; a broken link ends a walk here.
constexpr int kWalkLimit = 100000;
constexpr float kOriginalEdgeWidth = 4.0f;
constexpr float kUnusedAlpha = 0.5f;

constexpr ColorRGB kFrontColour{0.9f, 0.0f, 0.0f};
constexpr ColorRGB kBackColour{0.8f, 0.8f, 0.0f};
constexpr ColorRGB kInternalColour{0.0f, 0.9f, 0.0f};
constexpr ColorRGB kOffColour{0.0f, 0.0f, 0.9f};

Vec3D Place(const Transform3D& frame, const Vec2D& p)
{
    Vec3D out;
    frame.Apply(out, Vec3D{p.x, p.y, 0.0});
    return out;
}

bool SameColour(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Towards grey: what a facet the stellation does not use looks like on paper and in picking modes.
ColorRGB Faded(const ColorRGB& c)
{
    const auto f = [](float v) { return (v - 0.5f) * 0.3f + 0.5f; };
    return ColorRGB{f(c.r), f(c.g), f(c.b)};
}

// The frame of a face of the type, moved by offset, then scaled about the centre.
Transform3D FaceFrame(const FaceVert* face, const Vec3D& offset, double scale)
{
    Vec3D origin, x, y, z;
    Vec3Add(origin, face->mCentre, offset);
    Vec3Scale(origin, origin, scale);
    Vec3Scale(x, face->mXAxis, scale);
    Vec3Scale(y, face->mYAxis, scale);
    Vec3Scale(z, face->mZAxis, scale);
    Transform3D frame;
    frame.SetFrameToWorld(origin, x, y, z);
    return frame;
}

bool InUsedFacet(const StellationRegion* region)
{
    return region && region->mFacet && region->mFacet->IsUsed();
}
}  // namespace

// ---- Facets and regions ----

void StellationRegion::DrawGL(const Transform3D& frame) const
{
    std::vector<Vec3D> corners;
    const StellationEdge* e = mEdge;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        corners.push_back(Place(frame, e->mStart->mPos));
        e = e->mNext;
        if (e == mEdge)
            break;
    }
    if (corners.size() < 3)
        return;
    std::vector<Vec3D> fan;
    fan.reserve(3 * (corners.size() - 2));
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        fan.insert(fan.end(), {corners[0], corners[i], corners[i + 1]});
    CurrentSceneDrawer().DrawTriangles(fan.data(), int(fan.size() / 3));
}

void StellationFacet::DrawGL(const Transform3D& frame) const
{
    // A region on the centre fills every rotation's slot: it is drawn once, blending included.
    for (size_t i = 0; i < mRegions.size(); ++i)
        if (mRegions[i] && std::find(mRegions.begin(), mRegions.begin() + long(i), mRegions[i]) == mRegions.begin() + long(i))
            mRegions[i]->DrawGL(frame);
}

void StellationRegion::CollectEdgesFlood(const Transform3D& frame, std::vector<Vec3D>& out)
{
    std::vector<StellationRegion*> stack{this};
    mFlags |= kRegionVisited;
    while (!stack.empty())
    {
        StellationRegion* region = stack.back();
        stack.pop_back();
        StellationEdge* e = region->mEdge;
        for (int i = 0; e && i < kWalkLimit; ++i)
        {
            if (!(e->mFlags & kEdgeOnSurface) && e->mTwin)
            {
                const SegVert* end = e->GetEnd();
                if (end)
                {
                    out.push_back(Place(frame, e->mStart->mPos));
                    out.push_back(Place(frame, end->mPos));
                }
                StellationRegion* across = e->mTwin->mRegion;
                if (across && !(across->mFlags & kRegionVisited))
                {
                    across->mFlags |= kRegionVisited;
                    stack.push_back(across);
                }
            }
            e = e->mNext;
            if (e == region->mEdge)
                break;
        }
    }
}

void StellationRegion::ClearVisited()
{
    if (!(mFlags & kRegionVisited))
        return;
    std::vector<StellationRegion*> stack{this};
    mFlags &= ~kRegionVisited;
    while (!stack.empty())
    {
        StellationRegion* region = stack.back();
        stack.pop_back();
        StellationEdge* e = region->mEdge;
        for (int i = 0; e && i < kWalkLimit; ++i)
        {
            StellationRegion* across = e->mTwin ? e->mTwin->mRegion : nullptr;
            if (across && (across->mFlags & kRegionVisited))
            {
                across->mFlags &= ~kRegionVisited;
                stack.push_back(across);
            }
            e = e->mNext;
            if (e == region->mEdge)
                break;
        }
    }
}

// ---- The diagram ----

bool FaceType::GetFacetColour(const StellationFacet* facet, int scheme, const ColorRGB& previous,
                              ColorRGB& out) const
{
    switch (scheme)
    {
    case 0:
    case 1:
    {
        const int side = facet->GetSideClass();
        out = side == kFacetSideFront ? kFrontColour
              : side == kFacetSideBack ? kBackColour
              : side == kFacetSideInternal ? kInternalColour
                                           : kOffColour;
        return scheme == 0 || side == kFacetSideFront || side == kFacetSideBack;
    }
    case 2:
        GetPaletteColor(facet->mIndex, out, 0);
        return true;
    case 3:
        if ((mFlags & kFaceTypeReflexible) && (facet->mFlags & kFacetChiralSecond))
            out = previous;
        else
            GetPaletteColor(facet->mIndex, out, 0);
        return true;
    case 4:
        GetPaletteColor(facet->mRing, out, 0);
        return true;
    default:
        GetPaletteColor(facet->mCellBelow && facet->mCellBelow->mLayer ? facet->mCellBelow->mLayer->mNumber : -1, out,
                        0);
        return true;
    }
}

void FaceType::DrawDiagramFacets(const Transform3D& frame, int flags)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool picking = drawer.IsPicking();
    const bool normal = !(flags & kDiagramFaded);
    const int scheme = StellationDiagramColorScheme();
    const int unusedBlend = GetStellationSettings().transparencyStyle;
    const int blendOnEntry = drawer.SetBlendMode(0);
    int blend = 0;
    ColorRGB previous{0.5f, 0.5f, 0.5f};
    ColorRGB current{-1.0f, -1.0f, -1.0f};
    float currentAlpha = -1.0f;
    for (const StellationFacet* f = mFacets; f; f = f->next)
    {
        ColorRGB c;
        const bool shown = GetFacetColour(f, scheme, previous, c);
        previous = c;
        if (!shown && !picking)
            continue;
        if (picking)
            drawer.SetGLSelectionItem(kPickItemDiagramFacet, f->mIndex);
        float alpha = 1.0f;
        if (!f->IsUsed())
        {
            if (normal)
                alpha = kUnusedAlpha;
            else
                c = Faded(c);
        }
        const int wantedBlend = normal && !f->IsUsed() ? unusedBlend : 0;
        if (wantedBlend != blend)
        {
            drawer.SetBlendMode(wantedBlend);
            blend = wantedBlend;
        }
        // Colours are set only when they change: long diagrams have runs of one colour.
        if (!SameColour(c, current) || alpha != currentAlpha)
        {
            drawer.SetMaterialColor4f(c.r, c.g, c.b, alpha);
            current = c;
            currentAlpha = alpha;
        }
        f->DrawGL(frame);
    }
    if (picking)
        drawer.ClearGLSelectionItem();
    drawer.SetBlendMode(blendOnEntry);
}

void FaceType::DrawDiagramLines(const Transform3D& frame)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const StellationSettings& settings = GetStellationSettings();
    const ColorRGB& c = settings.diagramLineColor;
    std::vector<Vec3D> ends;
    std::vector<Vec3D> original;
    for (const StellationLine* line = mLineEqns; line; line = line->mNext)
    {
        if (!line->mFirstEdge || !line->mLastEdge)
            continue;
        ends.push_back(Place(frame, line->mFirstEdge->mStart->mPos));
        ends.push_back(Place(frame, line->mLastEdge->mStart->mPos));
        if (!settings.showOriginalEdges)
            continue;
        const StellationEdge* e = line->mFirstEdge;
        for (int i = 0; e && i < kWalkLimit; ++i)
        {
            const SegVert* end = e->GetEnd();
            if (end && ((e->mFlags & kEdgeOnOriginalBoundary) ||
                        (e->mTwin && (e->mTwin->mFlags & kEdgeOnOriginalBoundary))))
            {
                original.push_back(Place(frame, e->mStart->mPos));
                original.push_back(Place(frame, end->mPos));
            }
            if (e->mTwin == line->mLastEdge)
                break;
            e = e->FindOnLineAroundVertex(line);
        }
    }
    const auto draw = [&](const std::vector<Vec3D>& segments) {
        std::vector<float> colours;
        colours.reserve(segments.size() * 2);
        for (size_t i = 0; i < segments.size() / 2; ++i)
            colours.insert(colours.end(), {c.r, c.g, c.b, 1.0f});
        drawer.DrawLines(segments.data(), colours.data(), int(segments.size() / 2));
    };
    if (!ends.empty())
        draw(ends);
    if (!original.empty())
    {
        const float width = drawer.SetLineWidth(kOriginalEdgeWidth * drawer.LineScale());
        draw(original);
        drawer.SetLineWidth(width);
    }
}

void FaceType::DrawDiagram(const Transform3D& frame, int flags)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (flags & (kDiagramVerts | kDiagramVertsOnly))
    {
        const float size = drawer.SetPointSize(GetElementDisplayOptions().mVertSize * drawer.PointScale());
        int n = 0;
        for (SegVert* list : {mOuterVerts, mVerts})
            for (const SegVert* v = list; v; v = v->mNext, ++n)
            {
                drawer.SetGLSelectionItem(kPickItemDiagramVert, n);
                const Vec3D p = Place(frame, v->mPos);
                drawer.DrawPoints(&p, 1);
            }
        drawer.ClearGLSelectionItem();
        drawer.SetPointSize(size);
        if (flags & kDiagramVertsOnly)
            return;
    }
    DrawDiagramFacets(frame, flags);
    DrawDiagramLines(frame);
}

void FaceType::DrawDiagramOnFace(const FaceVert* face, const Vec3D& offset, double scale, int flags)
{
    if (face)
        DrawDiagram(FaceFrame(face, offset, scale), flags);
}

void FaceType::DrawUsedFacetsOnFace(const FaceVert* face, const Vec3D& offset)
{
    if (!face || IsCoplanarCopy())
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const double scale = mPoly ? mPoly->mDisplayScale : 1.0;
    const Transform3D frame = FaceFrame(face, offset, scale);
    Vec3D foot;
    Vec3Add(foot, face->mCentre, offset);
    Vec3Scale(foot, foot, scale);
    const bool front = drawer.IsFacingViewer(foot, face->mZAxis);
    const bool picking = drawer.IsPicking();
    const int count = face->mList ? face->mList->mCount : 0;
    int n = 0;
    for (const StellationFacet* f = mUsedFacets; f; f = f->mNextUsed, ++n)
    {
        const bool back = (f->mFlags & kFacetBack) != 0;
        if (back == front)
            continue;
        if (picking)
            drawer.SetGLSelectionItem(face->IsVert() ? kPickItemVertFacet : kPickItemFaceFacet,
                                      face->mIndex + count * n);
        f->DrawGL(frame);
    }
    if (picking)
        drawer.ClearGLSelectionItem();
}

void FaceType::DrawCellLines(const FaceVert* face, const Vec3D& offset, double scale)
{
    const StellationSettings& settings = GetStellationSettings();
    if (!face || !settings.showCellLines || !mStellation)
        return;
    // The surface edges are marked after each cell change; this builds the stellation when needed.
    if (MarkAllUsedSegVerts(mStellation) < 0)
        return;
    Transform3D frame;
    frame.SetFrameToWorld(face->mCentre, face->mXAxis, face->mYAxis, face->mZAxis);
    std::vector<Vec3D> ends;
    const auto placed = [&](const Vec2D& p) {
        Vec3D q = Place(frame, p);
        Vec3AddTo(q, offset);
        Vec3Scale(q, q, scale);
        return q;
    };
    // A region on the centre fills every rotation's slot of its facet: it is walked once.
    std::set<const StellationRegion*> walked;
    for (const StellationFacet* f = mUsedFacets; f; f = f->mNextUsed)
        for (const StellationRegion* region : f->mRegions)
        {
            if (!region || !walked.insert(region).second)
                continue;
            const StellationEdge* e = region->mEdge;
            for (int i = 0; e && i < kWalkLimit; ++i)
            {
                const StellationRegion* across = e->mTwin ? e->mTwin->mRegion : nullptr;
                // The other half draws the segment when its region is drawn too and comes first.
                const bool otherDraws = InUsedFacet(across) && across->GetIndex() < region->GetIndex();
                const SegVert* end = e->GetEnd();
                // An edge with nothing across it is the outline of the diagram, never between cells.
                if (!(e->mFlags & kEdgeOnSurface) && !otherDraws && end && across)
                {
                    ends.push_back(placed(e->mStart->mPos));
                    ends.push_back(placed(end->mPos));
                }
                e = e->mNext;
                if (e == region->mEdge)
                    break;
            }
        }
    if (ends.empty())
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lighting = drawer.SetLighting(false);
    const ColorRGB& c = settings.cellLineColor;
    std::vector<float> colours;
    for (size_t i = 0; i < ends.size() / 2; ++i)
        colours.insert(colours.end(), {c.r, c.g, c.b, 1.0f});
    drawer.DrawLines(ends.data(), colours.data(), int(ends.size() / 2));
    drawer.SetLighting(lighting);
}

void FaceType::CollectDiagramPoints(std::vector<Vec2D>& points) const
{
    for (const SegVert* list : {mOuterVerts, mVerts})
        for (const SegVert* v = list; v; v = v->mNext)
            points.push_back(v->mPos);
}

void FaceType::CollectUsedFacetPoints(std::vector<Vec2D>& points) const
{
    for (const StellationFacet* f = mUsedFacets; f; f = f->mNextUsed)
        for (const StellationRegion* region : f->mRegions)
        {
            const StellationEdge* e = region ? region->mEdge : nullptr;
            for (int i = 0; e && i < kWalkLimit; ++i)
            {
                points.push_back(e->mStart->mPos);
                e = e->mNext;
                if (e == region->mEdge)
                    break;
            }
        }
}
