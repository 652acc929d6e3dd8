#include "model/FaceVert.h"

#include "kernel/Intersect2D.h"
#include "kernel/Intersect3D.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/Poly.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{
bool IsInfinite(const FaceVert* e)
{
    return e && (e->mFlags & FaceVert::kHemi);
}

// Corner i, cyclically.
const FaceVert* CornerAt(const FaceVert* e, int i)
{
    const int n = e->mNumSides;
    return e->mNeighbours[((i % n) + n) % n];
}

// Every corner exists.
bool HasAllCorners(const FaceVert* e)
{
    for (int i = 0; i < e->mNumSides; ++i)
        if (!e->mNeighbours[i])
            return false;
    return true;
}

double DistanceSq(const Vec3D& a, const Vec3D& b)
{
    Vec3D d;
    Vec3Sub(d, a, b);
    return Vec3LengthSq(d);
}

// Room for every face and vertex of the element's Poly.
size_t PartCapacity(const FaceVert* e)
{
    return size_t(e->mPoly->mFaces.mCount) + size_t(e->mPoly->mVerts.mCount) + 1;
}

void ClearVisitMarks(FaceVert* const* buffer, int count)
{
    for (int i = 0; i < count; ++i)
        buffer[i]->mFlags &= ~FaceVert::kVisitMark;
}

// Elements of a ring, bounded so that a broken ring cannot hold the walk.
int RingWalkLimit(const FaceVert* e)
{
    return e->mList ? e->mList->mCount + 1 : 1;
}
}  // namespace

Transform3D FaceVert::GetWorldToLocal(bool flip) const
{
    Vec3D x = mXAxis;
    if (flip)
        Vec3Negate(x);
    Transform3D frame;
    frame.SetWorldToFrame(mCentre, x, mYAxis, mZAxis);
    return frame;
}

Transform3D FaceVert::GetLocalFrame(bool flip) const
{
    Vec3D x = mXAxis;
    if (flip)
        Vec3Negate(x);
    Transform3D frame;
    frame.SetFrameToWorld(mCentre, x, mYAxis, mZAxis);
    return frame;
}

void FaceVert::Rotate(const Mat3& m)
{
    for (Vec3D* v : {&mPoint, &mCentre, &mXAxis, &mYAxis, &mZAxis})
    {
        m.Transform(*v, *v);
        Vec3SnapZero(*v, kTol);
    }
}

void FaceVert::CalcCentroid()
{
    Vec3D sum;
    int count = 0;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* corner = mNeighbours[i];
        if (!corner || IsInfinite(corner))
            continue;
        Vec3AddTo(sum, corner->mPoint);
        ++count;
    }
    if (count > 0)
        Vec3Div(mCentroid, sum, double(count));
    else
        mCentroid = mCentre;
    Vec3SnapZero(mCentroid, kTol);
}

Vec3D FaceVert::CalcNormal() const
{
    Vec3D unitPoint = mPoint;
    Vec3Normalize(unitPoint);
    const int n = mNumSides;
    if (n == 0)
        return unitPoint;
    std::vector<Vec3D> adjacent(static_cast<size_t>(n));
    Vec3D mean;
    for (int i = 0; i < n; ++i)
    {
        const FaceVert* a = GetAdjacent(this, i);
        if (!a)
            return unitPoint;
        adjacent[size_t(i)] = a->mPoint;
        Vec3AddTo(mean, a->mPoint);
    }
    Vec3Div(mean, mean, double(n));
    Vec3D sum;
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& a = adjacent[size_t(i)];
        const Vec3D& before = adjacent[size_t((i + n - 1) % n)];
        Vec3D along, toMean, c;
        Vec3Sub(along, a, before);
        Vec3Sub(toMean, mean, a);
        Vec3Cross(c, along, toMean);
        Vec3AddTo(sum, c);
    }
    if (Vec3IsZero(sum, kTol) || !Vec3Normalize(sum))
        return unitPoint;
    Vec3D towardsPoint;
    Vec3Sub(towardsPoint, mPoint, mean);
    if (Vec3Dot(sum, towardsPoint) < 0.0)
        Vec3Negate(sum);
    return sum;
}

void FaceVert::CalcDensity()
{
    const int n = mNumSides;
    if (n < 5 || !HasAllCorners(this))
        return;
    // Project onto the coordinate plane the polygon leans on least.
    const double ax = std::fabs(mZAxis.x), ay = std::fabs(mZAxis.y), az = std::fabs(mZAxis.z);
    int u = 0, v = 1;
    if (ax > ay && ax > az)
        u = 1, v = 2;
    else if (ay > az)
        u = 2, v = 0;
    auto side = [&](int i) {
        const Vec3D& p = CornerAt(this, i)->mPoint;
        const Vec3D& q = CornerAt(this, i + 1)->mPoint;
        return Vec2D{q[u] - p[u], q[v] - p[v]};
    };
    Vec2D previous = side(n - 1);
    int quadrant = Quadrant2D(previous);
    int quarterTurns = 0;
    for (int i = 0; i < n; ++i)
        quarterTurns += WindingStep(side(i), previous, quadrant, kTol);
    mDensity = std::max(1, std::abs(quarterTurns) / 4);
}

double FaceVert::DistanceAlongNormal(const Vec3D& a, const Vec3D& b) const
{
    Vec3D d;
    Vec3Sub(d, a, b);
    return Vec3Dot(d, mZAxis);
}

double FaceVert::GetRadiusFromCentroid() const
{
    double best = 0.0;
    for (int i = 0; i < mNumSides; ++i)
        if (const FaceVert* corner = mNeighbours[i])
            best = std::max(best, DistanceSq(corner->mPoint, mCentroid));
    return std::sqrt(best);
}

double FaceVert::GetRingRadius()
{
    double best = 0.0;
    FaceVert* e = this;
    int limit = RingWalkLimit(this);
    do
    {
        best = std::max(best, e->GetRadius());
        e = e->mNextCoplanar;
    } while (e && e != this && --limit > 0);
    return best;
}

double FaceVert::GetMaxCornerDistance2D(double x, double y) const
{
    double best = 0.0;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* corner = mNeighbours[i];
        if (!corner)
            continue;
        const double dx = corner->mPoint.x - x, dy = corner->mPoint.y - y;
        best = std::max(best, dx * dx + dy * dy);
    }
    return std::sqrt(best);
}

double FaceVert::GetAverageSideLength() const
{
    if (mNumSides <= 0)
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* a = CornerAt(this, i);
        const FaceVert* b = CornerAt(this, i + 1);
        if (a && b)
            sum += Vec3Distance(a->mPoint, b->mPoint);
    }
    return sum / mNumSides;
}

double FaceVert::GetMinSideLength() const
{
    double best = kUnsetValue;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* a = CornerAt(this, i);
        const FaceVert* b = CornerAt(this, i + 1);
        if (a && b)
            best = std::min(best, Vec3Distance(a->mPoint, b->mPoint));
    }
    return best == kUnsetValue ? 0.0 : best;
}

double FaceVert::GetMaxSideLength() const
{
    double best = 0.0;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* a = CornerAt(this, i);
        const FaceVert* b = CornerAt(this, i + 1);
        if (a && b)
            best = std::max(best, Vec3Distance(a->mPoint, b->mPoint));
    }
    return best;
}

double FaceVert::GetMinSideDistance(const Vec3D& point, bool ignoreZero) const
{
    double best = kUnsetValue;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* a = CornerAt(this, i);
        const FaceVert* b = CornerAt(this, i + 1);
        if (!a || !b)
            continue;
        const double d = PointLineDistance(point, a->mPoint, b->mPoint, kTol);
        if (ignoreZero && IsZeroTol(d, kTol))
            continue;
        best = std::min(best, d);
    }
    return best == kUnsetValue ? 0.0 : best;
}

double FaceVert::GetHalfMinEdge(bool ignoreZero) const
{
    double best = kUnsetValue;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* a = GetAdjacent(this, i);
        if (!a)
            continue;
        const double d = DistanceSq(mPoint, a->mPoint);
        if (ignoreZero && IsZeroTol(d, kTol))
            continue;
        best = std::min(best, d);
    }
    return best == kUnsetValue ? 0.0 : 0.5 * std::sqrt(best);
}

double FaceVert::GetArea() const
{
    const int n = mNumSides;
    if (n < 3 || !HasAllCorners(this))
        return 0.0;
    const Vec3D& p0 = mNeighbours[0]->mPoint;
    double sum = 0.0;
    for (int k = 1; k + 1 < n; ++k)
    {
        const Vec3D& p = mNeighbours[k]->mPoint;
        const Vec3D& q = mNeighbours[k + 1]->mPoint;
        Vec3D a, b, c;
        Vec3Sub(a, p, p0);
        Vec3Sub(b, q, p);
        Vec3Cross(c, a, b);
        sum += Vec3Dot(c, mZAxis);
    }
    const double area = 0.5 * sum;
    return IsZeroTol(area, kTol) ? 0.0 : area;
}

double FaceVert::GetSolidAngle() const
{
    const int n = mNumSides;
    if (!HasAllCorners(this))
        return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& p = CornerAt(this, i)->mPoint;
        const Vec3D& before = CornerAt(this, i - 1)->mPoint;
        const Vec3D& after = CornerAt(this, i + 1)->mPoint;
        // Normals of the planes through the centre that hold the incoming and the outgoing side.
        Vec3D in, out, negP, negAfter, g, h;
        Vec3Sub(in, p, before);
        Vec3Sub(out, after, p);
        Vec3Neg(negP, p);
        Vec3Neg(negAfter, after);
        Vec3Cross(g, in, negP);
        Vec3Cross(h, out, negAfter);
        if (Vec3IsZero(g, kTol) || Vec3IsZero(h, kTol))
            return 0.0;
        const int k = Vec3MaxAxis(h);
        if (IsZeroTol(h[k], kTol))
            return 0.0;
        Vec3D scaled;
        Vec3Scale(scaled, h, g[k] / h[k]);
        if (Vec3Equal(g, scaled, kTol))
            return 0.0;  // two sides in one plane through the centre
        Vec3D gu = g, hu = h, gh;
        Vec3Normalize(gu);
        Vec3Normalize(hu);
        double phi = Vec3Angle(gu, hu);
        Vec3Cross(gh, g, h);
        if (Vec3Dot(gh, p) < 0.0)
            phi = -phi;
        Vec3D inUnit = in, outUnit = out, turn;
        Vec3Normalize(inUnit);
        Vec3Normalize(outUnit);
        double theta = Vec3Angle(inUnit, outUnit);
        Vec3Cross(turn, inUnit, outUnit);
        if (Vec3Dot(turn, mZAxis) < 0.0)
            theta = -theta;
        sum += theta - phi;
    }
    return (mFlags & kReversed) ? -sum : sum;
}

bool FaceVert::IsRegularPolygon() const
{
    const int n = mNumSides;
    if (n <= 0)
        return true;
    if (!HasAllCorners(this))
        return false;
    Vec3D previous;
    Vec3Sub(previous, mNeighbours[0]->mPoint, mNeighbours[n - 1]->mPoint);
    double refLength = 0.0, refDot = 0.0;
    Vec3D refCross;
    for (int i = 0; i < n; ++i)
    {
        if (IsInfinite(mNeighbours[i]))
            return false;
        Vec3D e, x;
        Vec3Sub(e, CornerAt(this, i + 1)->mPoint, mNeighbours[i]->mPoint);
        Vec3Cross(x, previous, e);
        const double length = Vec3LengthSq(e);
        const double dot = Vec3Dot(previous, e);
        if (i == 0)
        {
            refLength = length;
            refDot = dot;
            refCross = x;
        }
        else if (!WithinTol(length, refLength, kTol) || !WithinTol(dot, refDot, kTol) || !Vec3Equal(x, refCross, kTol))
            return false;
        previous = e;
    }
    return true;
}

int FaceVert::GetExtremeCorners(Vec3D out[3]) const
{
    const Vec3D* s = nullptr;
    double best = 0.0;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* c = mNeighbours[i];
        if (!c)
            continue;
        const double d = DistanceSq(c->mPoint, mCentroid);
        if (d > best)
            best = d, s = &c->mPoint;
    }
    if (!s)
        return 0;
    out[0] = *s;

    const Vec3D* t = nullptr;
    best = kTol * kTol;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* c = mNeighbours[i];
        if (!c)
            continue;
        const double d = DistanceSq(c->mPoint, *s);
        if (d > best)
            best = d, t = &c->mPoint;
    }
    if (!t)
        return 1;
    out[1] = *t;

    const Vec3D* u = nullptr;
    best = kTol;
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* c = mNeighbours[i];
        if (!c)
            continue;
        const double d = PointLineDistance(c->mPoint, *s, *t, kTol);
        if (d > best)
            best = d, u = &c->mPoint;
    }
    if (!u)
        return 2;
    out[2] = *u;
    return 3;
}

double FaceVert::GetPartMinInradius(bool ignoreZero)
{
    std::vector<FaceVert*> buffer(PartCapacity(this));
    const int count = CollectConnected(buffer.data());
    ClearVisitMarks(buffer.data(), count);
    double best = kUnsetValue;
    for (int i = 0; i < count; ++i)
    {
        const FaceVert* e = buffer[size_t(i)];
        if (e->IsVert() == IsVert())
            best = std::min(best, e->GetMinSideDistance(e->mCentroid, ignoreZero));
    }
    return best == kUnsetValue ? 0.0 : best;
}

int FaceVert::GetPartCentre(bool otherKind, Vec3D& centre, FaceVert** buffer)
{
    std::vector<FaceVert*> own;
    if (!buffer)
    {
        own.resize(PartCapacity(this));
        buffer = own.data();
    }
    const int count = CollectConnected(buffer);
    ClearVisitMarks(buffer, count);
    const bool wantVerts = IsVert() != otherKind;
    Vec3D sum;
    int n = 0;
    for (int i = 0; i < count; ++i)
    {
        if (buffer[i]->IsVert() != wantVerts)
            continue;
        Vec3AddTo(sum, buffer[i]->mPoint);
        ++n;
    }
    if (n > 0)
        Vec3Div(centre, sum, double(n));
    return count;
}

double FaceVert::GetPartRadius(bool otherKind)
{
    std::vector<FaceVert*> buffer(PartCapacity(this));
    Vec3D centre;
    const int count = GetPartCentre(otherKind, centre, buffer.data());
    const bool wantVerts = IsVert() != otherKind;
    double best = 0.0;
    for (int i = 0; i < count; ++i)
        if (buffer[size_t(i)]->IsVert() == wantVerts)
            best = std::max(best, DistanceSq(buffer[size_t(i)]->mPoint, centre));
    return std::sqrt(best);
}

double FaceVert::GetPartHalfMinEdge(bool ignoreZero)
{
    std::vector<FaceVert*> buffer(PartCapacity(this));
    const int count = CollectConnected(buffer.data());
    ClearVisitMarks(buffer.data(), count);
    double best = kUnsetValue;
    for (int i = 0; i < count; ++i)
    {
        const FaceVert* e = buffer[size_t(i)];
        if (e->IsVert() == IsVert())
            best = std::min(best, e->GetHalfMinEdge(ignoreZero));
    }
    return best;
}

bool FaceVert::IntersectPlanes(const FaceVert* other, double& a, double& b, double& d) const
{
    if (!other || Vec3Equal(other->mZAxis, mZAxis, kTol) || Vec3EqualNeg(other->mZAxis, mZAxis, kTol))
        return false;
    const Transform3D frame = GetWorldToLocal(false);
    Vec3D n, c;
    frame.m.Transform(n, other->mZAxis);
    frame.Apply(c, other->mCentre);
    const double length = std::hypot(n.x, n.y);
    // Axes that are not unit vectors could pass the test above with the planes still parallel.
    if (IsZeroTol(length, kTol))
        return false;
    a = n.x / length;
    b = n.y / length;
    d = -Vec3Dot(n, c) / length;
    for (double* value : {&a, &b, &d})
        if (IsZeroTol(*value, kTol))
            *value = 0.0;
    return true;
}

bool FaceVert::IntersectWithPlane(const Vec3D& p, bool isDirection, Vec3D& out) const
{
    Vec3D origin, direction;
    if (mFlags & kHemi)
    {
        if (isDirection)
        {
            out = Vec3D();
            return false;
        }
        origin = p;
        direction = mPoint;
    }
    else
    {
        origin = mPoint;
        if (isDirection)
            direction = p;
        else
            Vec3Sub(direction, p, mPoint);
    }
    if (PlaneIsectLine(out, mZAxis, -Vec3Dot(mZAxis, mCentre), origin, direction, kTol))
        return true;
    out = direction;
    Vec3Normalize(out);
    return false;
}

bool FaceVert::ProjectPoint(const Vec3D& p, bool isDirection, const Transform3D& frame, Vec2D& out) const
{
    Vec3D q, r;
    const bool met = IntersectWithPlane(p, isDirection, q);
    if (met)
        frame.Apply(r, q);
    else
        frame.m.Transform(r, q);
    out = Vec2D{r.x, r.y};
    return met;
}

bool FaceVert::ProjectNeighbour(const FaceVert* element, const Transform3D& frame, Vec2D& out) const
{
    if (!element)
    {
        out = Vec2D();
        return false;
    }
    return ProjectPoint(element->mPoint, (element->mFlags & kHemi) != 0, frame, out);
}

bool FaceVert::ProjectAdjacent(int side, const Transform3D& frame, Vec2D& out) const
{
    return ProjectNeighbour(GetAdjacent(this, side), frame, out);
}

int FaceVert::ProjectSide(int side, const Transform3D& frame, Vec2D out[5])
{
    const int n = mNumSides;
    if (side < 0 || side >= n || !mNeighbours[side])
        return 0;
    const FaceVert* corner = mNeighbours[side];
    auto rotate = [&](const Vec3D& p) {
        Vec3D r;
        frame.m.Transform(r, p);
        return Vec2D{r.x, r.y};
    };
    if (!IsInfinite(corner))
    {
        Vec3D r;
        frame.Apply(r, corner->mPoint);
        out[0] = Vec2D{r.x, r.y};
        return 1;
    }
    // The strip the infinite corner opens runs along its direction between the finite corners on
    // either side of it, cut off by the model's sphere.
    const FaceVert* before = nullptr;
    const FaceVert* after = nullptr;
    for (int k = 1; k < n && !before; ++k)
    {
        const FaceVert* e = CornerAt(this, side - k);
        if (e && !IsInfinite(e))
            before = e;
    }
    for (int k = 1; k < n && !after; ++k)
    {
        const FaceVert* e = CornerAt(this, side + k);
        if (e && !IsInfinite(e))
            after = e;
    }
    if (!before || !after)
        return 0;
    Vec3D d = corner->mPoint;
    if (!Vec3Normalize(d))
        return 0;
    const double radius = mPoly ? mPoly->GetRadius() : 1.0;
    auto sphereEnds = [&](const Vec3D& x, Vec3D& forward, Vec3D& backward) {
        const double along = Vec3Dot(x, d);
        Vec3D across;
        Vec3AddScaled(across, x, -along, d);
        // A corner outside the sphere gets the ends of the chord through the foot.
        const double h = std::sqrt(std::max(0.0, radius * radius - Vec3LengthSq(across)));
        Vec3AddScaled(forward, x, h - along, d);
        Vec3AddScaled(backward, x, -(along + h), d);
    };
    Vec3D beforeForward, beforeBackward, afterForward, afterBackward;
    sphereEnds(before->mPoint, beforeForward, beforeBackward);
    sphereEnds(after->mPoint, afterForward, afterBackward);
    out[0] = rotate(beforeForward);
    out[1] = rotate(afterForward);
    out[2] = rotate(afterBackward);
    out[3] = rotate(beforeBackward);
    out[4] = rotate(before->mPoint);
    Vec2D a, b;
    Vec2Sub(a, out[1], out[0]);
    Vec2Sub(b, out[2], out[1]);
    if (Vec2Cross(a, b) < 0.0)
    {
        std::swap(out[0], out[3]);
        std::swap(out[1], out[2]);
    }
    return 5;
}

double FaceVert::GetMaxChordDistance()
{
    if (!mList)
        return 0.0;
    if (mList->mMaxChordDistance >= 0.0)
        return mList->mMaxChordDistance;
    const Transform3D frame = GetWorldToLocal(false);
    std::vector<Vec2D> points;
    for (const FaceVert* e = mList->mFirst; e; e = e->mNext)
    {
        Vec2D p;
        // A direction is no end of a chord.
        if (e != this && ProjectNeighbour(e, frame, p))
            points.push_back(p);
    }
    double best = 0.0;
    for (size_t r = 0; r < points.size(); ++r)
    {
        for (size_t s = r + 1; s < points.size(); ++s)
        {
            Vec2D chord;
            Vec2Sub(chord, points[s], points[r]);
            const double length = Vec2Length(chord);
            if (length <= kTol)
                continue;  // two projections in one point make no line
            best = std::max(best, std::fabs(Vec2Cross(chord, points[r])) / length);
        }
    }
    mList->mMaxChordDistance = best;
    return best;
}
