#include "kernel/Polygon3D.h"

#include "kernel/LinkNode.h"
#include "kernel/Mat3.h"
#include "kernel/RenderSettings.h"
#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "kernel/RingVert.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Shell.h"
#include "kernel/SplitSelfIntersections.h"
#include "kernel/Tolerance.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace
{
Transform3D Scaled(const Transform3D& map, double scale)
{
    Transform3D out = map;
    Mat3Scale(out.m, scale);
    Vec3Scale(out.t, out.t, scale);
    return out;
}

// The signed turn from unit u to unit w, counterclockwise about n positive.
double SignedTurn(const Vec3D& u, const Vec3D& w, const Vec3D& n)
{
    double angle;
    Vec3D d;
    if (Vec3Dot(u, w) >= 0.0)
    {
        Vec3Sub(d, u, w);
        angle = 2.0 * std::asin(std::min(1.0, Vec3Length(d) / 2.0));
    }
    else
    {
        Vec3Add(d, u, w);
        angle = std::numbers::pi - 2.0 * std::asin(std::min(1.0, Vec3Length(d) / 2.0));
    }
    Vec3D c;
    Vec3Cross(c, u, w);
    return Vec3Dot(n, c) < 0.0 ? -angle : angle;
}

Vec3D UnitEdge(const Vec3D& a, const Vec3D& b)
{
    Vec3D d;
    Vec3Sub(d, b, a);
    Vec3Normalize(d);
    return d;
}
}  // namespace

Polygon3D::Polygon3D(Polygon3D*& first, Polygon3D*& last)
{
    if (last)
        last->mNext = this;
    else
        first = this;
    last = this;
}

Polygon3D::~Polygon3D()
{
    Clear();
}

void Polygon3D::Clear()
{
    mTriangulation.Clear();
    FreeRing(mRing);
    mRing = nullptr;
    FreeRingList(mRings);
    mRings = nullptr;
}

int Polygon3D::ListIndex(const Polygon3D* first) const
{
    int index = 0;
    for (const Polygon3D* p = first; p; p = p->mNext, ++index)
        if (p == this)
            return index;
    return -1;
}

void Polygon3D::RemoveLastVert()
{
    if (mRing && mRing->next != mRing)
    {
        RingVert* last = mRing->prev;
        RingUnlink(last);
        FreeRingVert(last);
        return;
    }
    Clear();
}

int Polygon3D::Prepare()
{
    mTriangulation.Clear();
    if (!RingNormal3D(mRing, mNormal))
        return 0;
    mCentroid = RingCentroid3D(mRing);
    if (Vec3Dot(mNormal, mCentroid) < 0.0)
        Vec3Negate(mNormal);
    Vec3D axis;
    axis[Vec3MinAxis(mNormal)] = 1.0;
    Vec3Cross(mXAxis, mNormal, axis);
    Vec3Normalize(mXAxis);
    Vec3Cross(mYAxis, mNormal, mXAxis);
    RingVert* v = mRing;
    do
    {
        Vec3D d;
        Vec3Sub(d, v->pos, mCentroid);
        v->x = Vec3Dot(mXAxis, d);
        v->y = Vec3Dot(mYAxis, d);
        v = v->next;
    } while (v != mRing);

    FreeRingList(mRings);
    mRings = SplitSelfIntersections(mRing, mTriangulation.points, nullptr);
    if (!mRings)
        return 0;
    mTriangulation.indexCount = TriangulateRingList(CopyRingList(mRings), mTriangulation.indices);
    return mTriangulation.indexCount;
}

bool Polygon3D::IsInPlane(const Vec3D& point) const
{
    if (mTriangulation.indexCount <= 0)
        return true;
    Vec3D d;
    Vec3Sub(d, point, mCentroid);
    return std::fabs(Vec3Dot(mNormal, d)) <= kTol;
}

Vec3D Polygon3D::GetRingCentre() const
{
    return RingCentroid3D(mRing);
}

void Polygon3D::DrawFilled(const Transform3D& map, double scale, const DiagramProjector* projector) const
{
    if (mTriangulation.indexCount < 3)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (projector)
        drawer.SetNormal(Vec3D{0.0, 0.0, 1.0});
    else
    {
        Vec3D n;
        map.m.Transform(n, mNormal);
        if (map.m.Determinant() < 0.0)
            Vec3Negate(n);
        drawer.SetNormal(n);
    }
    const Transform3D scaled = Scaled(map, scale);
    if (projector)
    {
        std::vector<Vec3D> corners;
        const int count = mTriangulation.indexCount;
        corners.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
        {
            const Vec2D& p = mTriangulation.points[size_t(mTriangulation.indices[size_t(i)])];
            Vec3D point = mCentroid;
            Vec3AddScaledTo(point, p.x, mXAxis);
            Vec3AddScaledTo(point, p.y, mYAxis);
            Vec2D out;
            if (projector->Project(point, scaled, out))
                corners.push_back(Vec3D{out.x, out.y, 0.0});
        }
        drawer.DrawTriangles(corners.data(), int(corners.size() / 3));
        return;
    }
    Transform3D frame;
    frame.SetFrameToWorld(mCentroid, mXAxis, mYAxis, mNormal);
    Transform3D composed;
    Transform3D::Multiply(composed, scaled, frame);
    mTriangulation.Draw(composed);
}

void Polygon3D::Draw(const Transform3D& map, double scale, const DiagramProjector* projector,
                     const PolygonDrawStyle& style) const
{
    if (!mRing)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (mTriangulation.indexCount > 2)
    {
        const bool wasLit = drawer.UseDefaultLights(false);
        drawer.SetMaterialColor4f(0.7f, 0.7f, 1.0f, 0.5f);
        DrawFilled(map, scale, projector);
        if (wasLit)
            drawer.UseRainbowLights(false);
        if (GetRenderFlags() == 0)
            drawer.SetMaterialColor3f(1.0f, 1.0f, 1.0f);
    }
    const bool wasLit = drawer.SetLighting(false);
    const Transform3D scaled = Scaled(map, scale);
    std::vector<Vec3D> places;
    const RingVert* v = mRing;
    do
    {
        Vec3D place;
        Vec2D out;
        if (!projector)
        {
            scaled.Apply(place, v->pos);
            places.push_back(place);
        }
        else if (projector->Project(v->pos, scaled, out))
            places.push_back(Vec3D{out.x, out.y, 0.0});
        v = v->next;
    } while (v != mRing);

    if (mRing->next != mRing)
    {
        drawer.SetLineWidth((style.edgeWidth + 1.0f) * drawer.LineScale());
        drawer.SetColor3f(style.edgeColor.r, style.edgeColor.g, style.edgeColor.b);
        drawer.DrawLineStrip(places.data(), int(places.size()));
        drawer.SetLineWidth(drawer.LineScale());
    }
    drawer.SetPointSize((style.vertSize + 2.0f) * drawer.PointScale());
    drawer.SetColor3f(style.vertColor.r, style.vertColor.g, style.vertColor.b);
    drawer.DrawPoints(places.data(), int(places.size()));
    drawer.SetPointSize(drawer.PointScale());
    drawer.SetLighting(wasLit);
}

const char* Polygon3D::AutoComplete(const std::function<void(Vec3D&)>& snap)
{
    Vec3D axis;
    if (!RingNormal3D(mRing, axis))
        return "Can't auto-complete polygon until\nyou have defined more points";

    std::vector<Vec3D> given;
    const RingVert* w = mRing;
    do
    {
        given.push_back(w->pos);
        w = w->next;
    } while (w != mRing);
    const int n = int(given.size());
    const int m = n - 1;
    std::vector<double> len(static_cast<size_t>(m));
    std::vector<double> angle(static_cast<size_t>(m));
    for (int k = 0; k < m; ++k)
        len[size_t(k)] = Vec3Distance(given[size_t(k)], given[size_t(k + 1)]);
    for (int k = 0; k + 2 < n; ++k)
        angle[size_t(k)] = SignedTurn(UnitEdge(given[size_t(k)], given[size_t(k + 1)]),
                                      UnitEdge(given[size_t(k + 1)], given[size_t(k + 2)]), axis);
    angle[size_t(m - 1)] = angle[0];

    // The shortest period that the given edges repeat and that turns at all.
    int period = m;
    for (int p = 1; p < m && period == m; ++p)
    {
        bool matches = true;
        double turn = 0.0;
        for (int i = p; i < m && matches; ++i)
        {
            matches = std::fabs(len[size_t(i)] - len[size_t(i % p)]) <= kTol &&
                      (i == n - 2 || std::fabs(angle[size_t(i)] - angle[size_t(i % p)]) <= 1e-6);
            turn += angle[size_t(i)];
        }
        if (matches && std::fabs(turn) > 1e-6)
            period = p;
    }

    Vec3D cur = given[size_t(n - 1)];
    Vec3D prev = given[size_t(n - 2)];
    int phase = (n - 2) % period;
    int count = 1;
    int added = 0;
    bool closed = false;
    for (;;)
    {
        const int q = phase < period - 1 ? phase + 1 : 0;
        Vec3D d;
        Vec3Sub(d, cur, prev);
        Vec3Scale(d, d, len[size_t(q)] / len[size_t(phase)]);
        Mat3 r;
        r.SetRotation(axis, angle[size_t(phase)]);
        Vec3D turned;
        r.Transform(turned, d);
        Vec3D next;
        Vec3Add(next, cur, turned);
        Vec3SnapZero(next, kTol);
        if (Vec3Equal(next, given[0], kTol) && q == period - 1)
        {
            closed = true;
            break;
        }
        if (!AddRingVert(0.0, 0.0, nullptr, &next, mRing))
            break;
        ++added;
        if (++count > 100)
            break;
        prev = cur;
        cur = next;
        phase = q;
    }

    const char* message = nullptr;
    if (closed && added > 0)
    {
        RingVert* v = mRing->prev;
        for (int i = 0; i < added; ++i, v = v->prev)
            if (snap)
                snap(v->pos);
    }
    else if (closed)
        message = "Polygon appears to be complete already.";
    else
    {
        message = "Polygon won't close.";
        for (int i = 0; i < added; ++i)
            RemoveLastVert();
    }
    Prepare();
    GetShell().InvalidateAllViews(false, 0);
    return message;
}

void FreePolygon3DList(Polygon3D*& first)
{
    while (first)
    {
        Polygon3D* next = first->mNext;
        delete first;
        first = next;
    }
}

int ListCount(const Polygon3D* first)
{
    int n = 0;
    for (; first; first = first->mNext)
        ++n;
    return n;
}
