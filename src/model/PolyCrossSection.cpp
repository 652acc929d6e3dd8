#include "kernel/DiagramOutline.h"
#include "kernel/FaceDiagram.h"
#include "kernel/FitPointSink.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/SceneDrawer.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/Transform3D.h"
#include "kernel/WaitCursor.h"
#include "model/FaceDiagramOwners.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "model/SectionSettings.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
bool gBuildingSection = false;

constexpr double kNoExtent = 9.99999e99;
constexpr int kCircleSegments = 60;
const float kInPlaneColor[4] = {0.4f, 1.0f, 0.4f, 1.0f};
const float kNearPlaneColor[4] = {0.9f, 0.9f, 0.9f, 1.0f};

Vec3D Lerp(const Vec3D& a, const Vec3D& b, double s)
{
    Vec3D d, out;
    Vec3Sub(d, b, a);
    Vec3AddScaled(out, a, s, d);
    return out;
}

bool SamePoint(const Vec3D& a, const Vec3D& b)
{
    return std::fabs(a.x - b.x) <= kTol && std::fabs(a.y - b.y) <= kTol && std::fabs(a.z - b.z) <= kTol;
}

// A face the tracing can walk: every corner a finite point.
bool IsTraceable(const FaceVert* f)
{
    if (f->mFlags & FaceVert::kInf || f->mNumSides < 3)
        return false;
    for (int i = 0; i < f->mNumSides; ++i)
        if (!f->mNeighbours[i] || (f->mNeighbours[i]->mFlags & FaceVert::kHemi))
            return false;
    return true;
}

// Where side i of a face passes the plane.
struct Crossing
{
    int side;
    double position;  // along the side, from the plane n . p + d = 0
    Vec3D point;      // where it meets the moved plane n . p + d = t
    int sign;         // +1 when the side starts above the moved plane
    double along = 0.0;
};

void CollectCrossings(const FaceVert* f, const Vec3D& n, double d, double t, std::vector<Crossing>& out)
{
    out.clear();
    const int sides = f->mNumSides;
    for (int i = 0; i < sides; ++i)
    {
        const Vec3D& a = f->mNeighbours[i]->mPoint;
        const Vec3D& b = f->mNeighbours[(i + 1) % sides]->mPoint;
        const double x = Vec3Dot(n, a) + d;
        const double y = Vec3Dot(n, b) + d;
        if ((x > t) == (y > t))
            continue;
        Crossing c;
        c.side = i;
        c.position = x / (x - y);
        c.point = Lerp(a, b, (x - t) / (x - y));
        c.sign = x >= t ? 1 : -1;
        out.push_back(c);
    }
}

// The crossing by which the walk leaves a face it entered through the entry side. Where the plane
// crosses a star face more than twice the crossings along the chord are paired by their running
// sign sums, which follow the face's winding rather than the order of the points.
int FindExitCrossing(std::vector<Crossing>& crossings, int entrySide)
{
    const int count = int(crossings.size());
    if (count == 2)
        return crossings[0].side == entrySide ? 1 : 0;
    int entry = -1;
    for (int k = 0; k < count; ++k)
        if (crossings[size_t(k)].side == entrySide)
            entry = k;
    if (entry < 0 || count < 2)
        return -1;
    const Vec3D from = crossings[size_t(entry)].point;
    double farthest = -1.0;
    Vec3D direction{0.0, 0.0, 0.0};
    for (const Crossing& c : crossings)
    {
        Vec3D d;
        Vec3Sub(d, c.point, from);
        const double l = Vec3Dot(d, d);
        if (l > farthest)
        {
            farthest = l;
            direction = d;
        }
    }
    const bool negate = direction.x < -kTol || (std::fabs(direction.x) <= kTol && direction.y < -kTol) ||
                        (std::fabs(direction.x) <= kTol && std::fabs(direction.y) <= kTol && direction.z < -kTol);
    if (negate)
        Vec3Scale(direction, direction, -1.0);
    for (Crossing& c : crossings)
        c.along = Vec3Dot(direction, c.point);
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) {
        return a.along != b.along ? a.along < b.along : a.side < b.side;
    });
    std::vector<int> sums(static_cast<size_t>(count));
    int b = 0;
    for (int k = 0, s = 0; k < count; ++k)
    {
        s += crossings[size_t(k)].sign;
        sums[size_t(k)] = s;
        if (crossings[size_t(k)].side == entrySide)
            b = k;
    }
    const int sb = sums[size_t(b)];
    const int c = sb - crossings[size_t(b)].sign;
    if (std::abs(c) < std::abs(sb))
    {
        for (int k = b + 1; k < count; ++k)
            if (sums[size_t(k)] == c)
                return k;
        return -1;
    }
    for (int k = b - 1; k >= 0; --k)
        if (sums[size_t(k)] == sb)
            return k + 1;
    return sb == 0 ? 0 : -1;
}

// The visited sides of the faces of the shown side, one byte per face and side.
class SideMarks
{
public:
    SideMarks(int faces, int sides) : mSides(sides), mMarks(size_t(faces) * size_t(sides), 0) {}
    bool Get(const FaceVert* f, int side) const { return mMarks[Slot(f, side)] != 0; }
    void Set(const FaceVert* f, int side, uint8_t value) { mMarks[Slot(f, side)] = value; }

private:
    size_t Slot(const FaceVert* f, int side) const { return size_t(f->mIndex) * size_t(mSides) + size_t(side); }
    int mSides;
    std::vector<uint8_t> mMarks;
};

const ElemList& ShownVerts(const Poly& poly)
{
    return poly.mShowDual ? static_cast<const ElemList&>(poly.mFaces) : poly.mVerts;
}
}  // namespace

SectionSettings& GetSectionSettings()
{
    static SectionSettings settings;
    return settings;
}

void SetSectionFill(bool on)
{
    SectionSettings& s = GetSectionSettings();
    s.fill = on;
    if (!on)
        s.showEdges = true;
    else if (Poly* poly = GetCurrentPoly())
        if (poly->mOutline.IsEmpty())
            poly->InvalidateCrossSection();
}

void SetSectionEdges(bool on)
{
    SectionSettings& s = GetSectionSettings();
    s.showEdges = on;
    if (!on)
        SetSectionFill(true);
}

double Poly::GetCrossSectionRange(double& min, double& max) const
{
    Vec3D u, v, n;
    GetSectionFrame(u, v, n);
    min = kNoExtent;
    max = -kNoExtent;
    for (const FaceVert* p = ShownVerts(*this).mFirst; p; p = p->mNext)
    {
        if (p->mFlags & (FaceVert::kHemi | FaceVert::kInf))
            continue;
        const double along = Vec3Dot(n, p->mPoint);
        min = std::min(min, along);
        max = std::max(max, along);
    }
    return max - GetSceneParameters().sliceRatio * (max - min);
}

void Poly::GetCrossSectionFrame(Vec3D& n, double& d, Vec3D& u, Vec3D& v) const
{
    GetSectionFrame(u, v, n);
    double min = 0.0, max = 0.0;
    d = -GetCrossSectionRange(min, max);
}

void Poly::InvalidateCrossSection()
{
    mFlags &= ~kSectionValid;
}

void Poly::UpdateCrossSectionDirection()
{
    const SymGroup* group = GetSymGroup();
    if ((mFlags & kIs4D) || !group || group->mNumAxisSets <= 0 || !group->mAxisSets ||
        group->mAxisSets[0].mNumAxes <= 0 || !group->mAxisSets[0].mAxes)
        return;
    const SymAxis& axis = group->mAxisSets[0].mAxes[0];
    Vec3D n = axis.mDir, u = axis.mRef, v;
    if (!Vec3Normalize(n))
        return;
    // The reference direction lies across the axis; any other will do when it is missing.
    if (std::fabs(Vec3Dot(u, n)) > kTol || !Vec3Normalize(u))
    {
        const Vec3D other = std::fabs(n.x) < 0.9 ? Vec3D{1.0, 0.0, 0.0} : Vec3D{0.0, 1.0, 0.0};
        Vec3Cross(u, other, n);
        Vec3Normalize(u);
    }
    Vec3Cross(v, n, u);
    Mat4& m = GetSceneParameters().sliceMatrix;
    m.SetIdentity();
    const Vec3D columns[3] = {u, v, n};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m.At(r, c) = columns[c][r];
    InvalidateCrossSection();
}

bool Poly::CreateCrossSection2D()
{
    if (mFlags & kIs4D)
        return false;
    Vec3D n, u, v;
    double d = 0.0;
    GetCrossSectionFrame(n, d, u, v);
    if ((mFlags & kSectionValid) && SamePoint(n, mSectionNormal) && SamePoint(u, mSectionU) && d == mSectionOffset &&
        mShowDual == mSectionDual)
        return true;
    ElemList* faces = mShowDual ? static_cast<ElemList*>(&mVerts) : &mFaces;
    if (!faces->mFirst || mMatchingStatus == kMatchingFailed || gBuildingSection)
        return false;
    gBuildingSection = true;
    ScopedWaitCursor wait;
    ProgressScope progress;

    mOutline.Reset();
    mDiagramWorkPools[2].ResetAll();
    mSectionLoopTypes.mLoopTypes = nullptr;
    delete mSectionPolygons;
    mSectionPolygons = nullptr;
    mSectionNormal = n;
    mSectionU = u;
    mSectionOffset = d;
    mSectionDual = mShowDual;

    const double t = d > 0.0 ? kTol : -kTol;
    int maxSides = 3;
    int numFaces = 0;
    for (const FaceVert* f = faces->mFirst; f; f = f->mNext)
    {
        maxSides = std::max(maxSides, int(f->mNumSides));
        numFaces = std::max(numFaces, f->mIndex + 1);
    }
    const int maxSteps = mNumEdges > 0 ? mNumEdges : CountEdges();
    SideMarks marks(numFaces, maxSides);

    const bool fill = GetSectionSettings().fill;
    FaceDiagram diagram;
    OutlineFeeder2D feeder;
    if (fill)
        mOutline.Begin(diagram, kOwnerKindSections, nullptr, &mDiagramWorkPools[2], feeder);
    bool cancelled = false;

    std::vector<Vec3D> points;
    std::vector<FaceVert*> pointFaces;
    std::vector<Crossing> crossings;
    std::vector<std::pair<FaceVert*, int>> marked;
    const int faceCount = faces->mCount;
    for (FaceVert* start = faces->mFirst; start; start = start->mNext)
    {
        if (!IsTraceable(start))
            continue;
        const Vec3D& z = start->mZAxis;
        if ((std::fabs(z.x - n.x) <= kTol && std::fabs(z.y - n.y) <= kTol && std::fabs(z.z - n.z) <= kTol) ||
            (std::fabs(z.x + n.x) <= kTol && std::fabs(z.y + n.y) <= kTol && std::fabs(z.z + n.z) <= kTol))
            continue;
        const double r = start->GetRadiusFromCentroid();
        const double s = Vec3Dot(n, z);
        const double R = Vec3Dot(n, start->mCentroid) + d;
        if ((R - t) * (R - t) > r * r * (1.0 - s * s))
            continue;
        const int sides = start->mNumSides;
        for (int startSide = 0; startSide < sides; ++startSide)
        {
            if (marks.Get(start, startSide))
                continue;
            const Vec3D& a = start->mNeighbours[startSide]->mPoint;
            const Vec3D& b = start->mNeighbours[(startSide + 1) % sides]->mPoint;
            const double x = Vec3Dot(n, a) + d;
            const double y = Vec3Dot(n, b) + d;
            if ((x > t) == (y > t))
                continue;
            points.clear();
            pointFaces.clear();
            marked.clear();
            FaceVert* face = start;
            int side = startSide;
            Vec3D point = Lerp(a, b, x / (x - y));
            bool complete = false;
            int lastCrossings = 0;
            for (int steps = 0; steps <= maxSteps; ++steps)
            {
                if (steps > 0 && face == start && side == startSide)
                {
                    complete = true;
                    break;
                }
                int entry = side;
                FaceVert* next = FaceVert::GetAdjacentAndSide(face, entry);
                if (!next || entry < 0 || !IsTraceable(next))
                    break;
                if (marks.Get(face, side) || marks.Get(next, entry))
                    break;
                marks.Set(face, side, 1);
                marks.Set(next, entry, 1);
                marked.emplace_back(face, side);
                marked.emplace_back(next, entry);
                if (points.empty() || !SamePoint(points.back(), point))
                {
                    points.push_back(point);
                    pointFaces.push_back(next);
                }
                else
                    pointFaces.back() = next;
                CollectCrossings(next, n, d, t, crossings);
                lastCrossings = int(crossings.size());
                int exit = FindExitCrossing(crossings, entry);
                if (exit < 0)
                {
                    ErrorMessage("Failed to find exit-edge in face");
                    int k = 0;
                    while (k < lastCrossings && crossings[size_t(k)].side != entry)
                        ++k;
                    exit = lastCrossings > 0 ? (k + 1) % lastCrossings : -1;
                    if (exit < 0)
                        break;
                }
                face = next;
                side = crossings[size_t(exit)].side;
                const int fs = face->mNumSides;
                point = Lerp(face->mNeighbours[side]->mPoint, face->mNeighbours[(side + 1) % fs]->mPoint,
                             crossings[size_t(exit)].position);
            }
            if (!complete)
            {
                for (const auto& [f, i] : marked)
                    marks.Set(f, i, 0);
                continue;
            }
            if (points.size() > 1 && SamePoint(points.back(), points.front()))
            {
                points.pop_back();
                pointFaces.pop_back();
            }
            AddSectionLoop(points, pointFaces, start->mIndex, faceCount, u, v, fill && !cancelled ? &feeder : nullptr,
                           cancelled);
            if (lastCrossings == 2)
                break;
        }
    }
    if (fill && !cancelled)
    {
        const uint32_t flags = (mFlags & kOneSided) ? FaceDiagram::kFinishNonOrientable : 0u;
        if (!mOutline.Finish(feeder, mSectionLoopTypes, flags, nullptr))
            mOutline.Reset();
    }
    ColorSectionPolygons(this);
    mFlags |= kSectionValid | kRecolorSection;
    gBuildingSection = false;
    return true;
}

void Poly::AddSectionLoop(const std::vector<Vec3D>& points, const std::vector<FaceVert*>& faces, int startFace,
                          int numFaces, const Vec3D& u, const Vec3D& v, OutlineFeeder2D* feeder, bool& cancelled)
{
    const int count = int(points.size());
    if (count < 2)
        return;
    auto* loop = new (std::nothrow) SectionPolygon(count);
    if (!loop || loop->mNumPoints != count)
    {
        delete loop;
        InternalError("Poly::AddSectionLoop(): no memory for a loop of %d points", count);
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        loop->mPoints[i] = Vec3D{Vec3Dot(u, points[size_t(i)]), Vec3Dot(v, points[size_t(i)]), 0.0};
        loop->mFaces[i] = i < int(faces.size()) ? faces[size_t(i)] : nullptr;
    }
    loop->mNext = mSectionPolygons;
    mSectionPolygons = loop;
    if (!feeder || cancelled)
        return;
    DiagramOutline::AddPointCallback(loop, false, *feeder);
    const double fraction = numFaces > 0 ? double(startFace) / numFaces : 0.0;
    for (int i = 0; i < count; ++i)
    {
        if (!ShowProgress(fraction, "Creating 2D cross-section\nFace %d out of %d starts loop with %d sides\nAdding edge %d out of %d",
                          startFace, numFaces, count, i, count))
        {
            cancelled = true;
            GetSceneThrows().sliceDepth.Stop();
            mOutline.Reset();
            char text[256];
            std::snprintf(text, sizeof text, "If filling 2D slices is too slow\nyou can disable it with\n\"%s\".",
                          kFillSectionMenuText);
            GetShell().SetViewMessage(GetShell().ActiveView(), text);
            return;
        }
        DiagramOutline::AddPoint(Vec2D{loop->mPoints[i].x, loop->mPoints[i].y}, *feeder);
    }
}

void Poly::ExtendFitBoundsBySection(FitPointSink& sink)
{
    if (!CreateCrossSection2D())
        return;
    for (const SectionPolygon* p = mSectionPolygons; p; p = p->mNext)
        for (int i = 0; i < p->mNumPoints; ++i)
            sink.ExtendFit(p->mPoints[i]);
}

void Poly::DrawCrossSection2D(const Transform3D& mapping)
{
    if (!CreateCrossSection2D())
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool picking = drawer.IsPicking();
    const auto place = [&](double x, double y) {
        Vec3D w = mapping.t;
        for (int r = 0; r < 3; ++r)
            w[r] += mapping.m.At(r, 0) * x + mapping.m.At(r, 1) * y;
        return w;
    };
    const SectionSettings& settings = GetSectionSettings();
    bool filled = false;
    if (settings.fill && !picking && mSectionLoopTypes.mLoopTypes && mOutline.mLoopTypeTriangles)
    {
        UpdateFaceDiagramColors();
        const Vec3D normal{mapping.m.At(0, 2), mapping.m.At(1, 2), mapping.m.At(2, 2)};
        for (int32_t k = 0; k < mOutline.mLoopTypeCount; ++k)
        {
            const LoopType& type = mSectionLoopTypes.mLoopTypes[k];
            if (type.mOpacity == 0.0f)
                continue;
            ColorRGB color;
            type.GetColor(color, false, true, mOutline.mOwnerKind, nullptr);
            const float rgba[4] = {color.r, color.g, color.b, type.mOpacity};
            const LoopTypeTriangles& tris = mOutline.mLoopTypeTriangles[k];
            for (int32_t i = 0; i + 2 < tris.mCount; i += 3)
            {
                Vec3D corners[3];
                bool ok = true;
                for (int c = 0; c < 3; ++c)
                {
                    const int32_t index = tris.mIndices[i + c];
                    if (index < 0 || index >= mOutline.mPointCount)
                        ok = false;
                    else
                        corners[c] = place(mOutline.mPoints[index].x, mOutline.mPoints[index].y);
                }
                if (ok)
                {
                    drawer.AddTriangle(corners, normal, rgba, 0, 1.0, nullptr, nullptr, nullptr);
                    filled = true;
                }
            }
        }
    }
    if (!settings.showEdges && !picking && filled)
        return;
    const bool lighting = drawer.SetLighting(false);
    const FaceVert* selected = mSelectedFace;
    for (const SectionPolygon* p = mSectionPolygons; p; p = p->mNext)
        for (int i = 0; i < p->mNumPoints; ++i)
        {
            const Vec3D& a = p->mPoints[i];
            const Vec3D& b = p->mPoints[(i + 1) % p->mNumPoints];
            const FaceVert* face = p->mFaces[i];
            const Vec3D ends[2] = {place(a.x, a.y), place(b.x, b.y)};
            float rgba[4] = {1.0f, 1.0f, 1.0f, 1.0f};
            if (face && face != selected)
            {
                rgba[0] = face->mColor.r;
                rgba[1] = face->mColor.g;
                rgba[2] = face->mColor.b;
            }
            if (picking && face)
                drawer.SetGLSelectionItem(face->IsVert() ? 1 : 0, face->mIndex);
            drawer.DrawLines(ends, rgba, 1);
        }
    drawer.SetLighting(lighting);
    if (picking)
        drawer.ClearGLSelectionItem();
}

void Poly::DrawCrossSectionView(double viewRadius)
{
    if (mFlags & kIs4D)
        return;
    Transform3D flat;
    flat.m.SetIdentity();
    flat.t = Vec3D{0.0, 0.0, 0.0};
    DrawCrossSection2D(flat);
    if (!GetSectionSettings().showNearVerts || !(mFlags & kSectionValid))
        return;
    Vec3D n, u, v;
    double d = 0.0;
    GetCrossSectionFrame(n, d, u, v);
    const double c = 0.04 * viewRadius;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lighting = drawer.SetLighting(false);
    for (const FaceVert* p = ShownVerts(*this).mFirst; p; p = p->mNext)
    {
        if (p->mFlags & (FaceVert::kHemi | FaceVert::kInf))
            continue;
        const double e = std::fabs(Vec3Dot(n, p->mPoint) + d);
        if (e >= c)
            continue;
        const float* rgba = e <= kTol ? kInPlaneColor : kNearPlaneColor;
        drawer.SetColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
        drawer.DrawCircle3D(Vec3D{Vec3Dot(u, p->mPoint), Vec3Dot(v, p->mPoint), 0.0}, Vec3D{0.0, 0.0, 1.0},
                            std::sqrt(c * c - e * e), kCircleSegments, true, nullptr);
    }
    drawer.SetLighting(lighting);
}
