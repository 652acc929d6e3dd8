#include "kernel/Intersect2D.h"

#include "kernel/Tolerance.h"

#include <cmath>

namespace
{
// a*x + b*y + c = 0 through two points, scaled so that |a| + |b| = 1: the side value of a point is
// its distance from the line times a factor between 1/sqrt(2) and 1.
struct Line2
{
    double a = 0.0, b = 0.0, c = 0.0;

    double Side(const Vec2D& v) const { return a * v.x + b * v.y + c; }
};

// False for two equal points, which span no line.
bool LineThrough(Line2& line, const Vec2D& from, const Vec2D& to)
{
    const double a = to.y - from.y;
    const double b = from.x - to.x;
    const double sum = std::fabs(a) + std::fabs(b);
    if (sum == 0.0)
        return false;
    line.a = a / sum;
    line.b = b / sum;
    line.c = (to.x * from.y - from.x * to.y) / sum;
    return true;
}

double ZeroWithin(double v, double tol)
{
    return IsZeroTol(v, tol) ? 0.0 : v;
}

bool SameStrictSign(double u, double v)
{
    return (u > 0.0 && v > 0.0) || (u < 0.0 && v < 0.0);
}

double Coord(const Vec2D& v, int axis)
{
    return axis == 0 ? v.x : v.y;
}

// Colinear segments: compared along the axis in which A extends more.
int ColinearContact(const Line2& lineA, const Vec2D& p, const Vec2D& q, const Vec2D& r, const Vec2D& s,
                    double tol, Vec2D* out1, Vec2D* out2)
{
    const int axis = std::fabs(lineA.a) >= std::fabs(lineA.b) ? 1 : 0;
    const double pi = Coord(p, axis), qi = Coord(q, axis), ri = Coord(r, axis), si = Coord(s, axis);
    const double minA = std::fmin(pi, qi), maxA = std::fmax(pi, qi);
    const double minB = std::fmin(ri, si), maxB = std::fmax(ri, si);

    if (maxA - minA < tol)
        return kSegNoContact;
    if (minA > maxB + tol || maxA < minB - tol)
        return kSegNoContact;

    if (minA > maxB - tol || maxA < minB + tol)
    {
        // End to end.
        if (WithinTol(pi, ri, tol) || WithinTol(pi, si, tol))
        {
            if (out1)
                *out1 = p;
            return WithinTol(pi, ri, tol) ? kSegPMeetsR : kSegPMeetsS;
        }
        if (out1)
            *out1 = q;
        return WithinTol(qi, ri, tol) ? kSegQMeetsR : kSegQMeetsS;
    }

    if (WithinTol(minA, minB, tol) && WithinTol(maxA, maxB, tol))
    {
        if (out1)
            *out1 = p;
        if (out2)
            *out2 = q;
        return WithinTol(pi, ri, tol) ? kSegEqual : kSegEqualReversed;
    }

    if (out1)
    {
        const bool forward = pi <= qi;
        const Vec2D& lowA = forward ? p : q;
        const Vec2D& highA = forward ? q : p;
        const Vec2D& lowB = ri < si ? r : s;
        const Vec2D& highB = ri >= si ? r : s;
        const Vec2D& lower = minA >= minB ? lowA : lowB;
        const Vec2D& upper = maxA <= maxB ? highA : highB;
        // The stretch keeps A's direction, whichever way A runs.
        *out1 = forward ? lower : upper;
        if (out2)
            *out2 = forward ? upper : lower;
    }
    return kSegOverlap;
}
}  // namespace

int SegmentIsectSegment2D(const Vec2D& p, const Vec2D& q, const Vec2D& r, const Vec2D& s, double tol,
                          Vec2D* out1, Vec2D* out2)
{
    Line2 lineA;
    if (!LineThrough(lineA, p, q))
        return kSegNoContact;

    const double dR = lineA.Side(r), dS = lineA.Side(s);
    const double zR = ZeroWithin(dR, tol), zS = ZeroWithin(dS, tol);
    if (zR == 0.0 && zS == 0.0)
        return ColinearContact(lineA, p, q, r, s, tol, out1, out2);
    if (SameStrictSign(zR, zS))
        return kSegNoContact;

    // r and s differ here (their side values do), so B is a line.
    Line2 lineB;
    LineThrough(lineB, r, s);
    const double dP = lineB.Side(p), dQ = lineB.Side(q);
    const double zP = ZeroWithin(dP, tol), zQ = ZeroWithin(dQ, tol);
    if (SameStrictSign(zP, zQ))
        return kSegNoContact;

    const double det = lineA.a * lineB.b - lineB.a * lineA.b;
    if (det == 0.0)
        return kSegNoContact;  // exactly parallel after rounding: the lines never meet
    if (out1)
    {
        out1->x = (lineA.b * lineB.c - lineB.b * lineA.c) / det;
        out1->y = (lineB.a * lineA.c - lineA.a * lineB.c) / det;
    }

    if (zR == 0.0)
    {
        if (zP == 0.0 && Vec2Equal(r, p, tol))
            return kSegPMeetsR;
        if (zP != 0.0 && zQ != 0.0)
            return kSegRTouchesA;
        if (zP != 0.0 && zQ == 0.0 && Vec2Equal(r, q, tol))
            return kSegQMeetsR;
    }
    else if (zS == 0.0)
    {
        if (zP == 0.0 && Vec2Equal(s, p, tol))
            return kSegPMeetsS;
        if (zP != 0.0 && zQ != 0.0)
            return kSegSTouchesA;
        if (zP != 0.0 && zQ == 0.0 && Vec2Equal(s, q, tol))
            return kSegQMeetsS;
    }
    else
    {
        if (zP == 0.0)
            return kSegPTouchesB;
        if (zQ == 0.0)
            return kSegQTouchesB;
        return kSegCross;
    }

    // An end lies on the other line but the ends do not meet: nearly parallel segments. The raw
    // side values decide.
    if (SameStrictSign(dP, dQ) || SameStrictSign(dR, dS))
        return kSegNoContact;
    return kSegCross;
}

bool LineIsectLine2D(Vec2D& out, const Vec2D& a, const Vec2D& b, const Vec2D& c, const Vec2D& d, double tol)
{
    Line2 l1, l2;
    if (!LineThrough(l1, a, b) || !LineThrough(l2, c, d))
        return false;
    const bool aMajor = std::fabs(l2.a) > std::fabs(l2.b);
    const double k1 = aMajor ? l1.a : l1.b, j1 = aMajor ? l1.b : l1.a;
    const double k2 = aMajor ? l2.a : l2.b, j2 = aMajor ? l2.b : l2.a;
    if (WithinTol(j1, k1 / k2 * j2, tol))
        return false;
    const double det = l1.a * l2.b - l1.b * l2.a;
    out.x = (l2.c * l1.b - l1.c * l2.b) / det;
    out.y = (l1.c * l2.a - l2.c * l1.a) / det;
    return true;
}

bool PointInTriangle2D(const Vec2D& p, const Vec2D t[3])
{
    int first = -1;
    for (int i = 0; i < 3; ++i)
        if (t[i].y != p.y)
        {
            first = i;
            break;
        }
    if (first < 0)
        return false;

    // Crossings of the leftward ray from p; corners on the ray's line are stepped over.
    int winding = 0;
    Vec2D prev = t[first];
    for (int k = 1; k <= 3; ++k)
    {
        const Vec2D& cur = t[(first + k) % 3];
        if (cur.y == p.y)
            continue;
        const bool bothRight = prev.x >= p.x && cur.x >= p.x;
        const bool sameSide = (prev.y < p.y) == (cur.y < p.y);
        if (!bothRight && !sameSide)
        {
            bool crosses = prev.x < p.x && cur.x < p.x;
            if (!crosses)
                crosses = prev.x + (p.y - prev.y) * (cur.x - prev.x) / (cur.y - prev.y) <= p.x;
            if (crosses)
                winding += cur.y < p.y ? 1 : -1;
        }
        prev = cur;
    }
    return winding != 0;
}

int Quadrant2D(const Vec2D& v)
{
    if (v.y > 0.0)
        return v.x > 0.0 ? 0 : 1;
    return v.x > 0.0 ? 3 : 2;
}

int WindingStep(const Vec2D& cur, Vec2D& prev, int& quadrant, double tol)
{
    const int q = Quadrant2D(cur);
    const int old = quadrant;
    quadrant = q;
    int step = 0;
    const int delta = ((q - old) % 4 + 4) % 4;
    if (delta == 1)
        step = 1;
    else if (delta == 3)
        step = -1;
    else if (delta == 2)
    {
        if (WithinTol(cur.x, -prev.x, tol) && WithinTol(cur.y, -prev.y, tol))
            step = -2;  // through the origin
        else
        {
            const bool curX = std::fabs(cur.x) > std::fabs(cur.y);
            const bool prevX = std::fabs(prev.x) > std::fabs(prev.y);
            if (curX != prevX)
                step = (curX && q % 2 == 0) || (!curX && q % 2 == 1) ? 2 : -2;
            else if (curX)
                step = prev.y / prev.x > cur.y / cur.x ? 2 : -2;
            else
                step = prev.x / prev.y >= cur.x / cur.y ? -2 : 2;
        }
    }
    prev = cur;
    return step;
}

int CircleClipTriangle2D(const Vec2D& centre, double radius, const Vec2D t[3], Vec2D starts[3], Vec2D ends[3])
{
    // Its own tolerance: the callers draw and print these arcs, and need no finer decision.
    const double e = 0.00001;

    int count = 0;
    bool crossesSomeLine = false;
    bool arcOpen = false;
    bool haveWrappedEnd = false;
    Vec2D wrappedEnd;
    bool cornerCounted[3] = {false, false, false};

    // Counts a crossing near corner v only when the ray from the centre separates v's two edges.
    auto separatesAtCorner = [&](int v, const Vec2D& x) {
        Vec2D toX, toPrev, toNext;
        Vec2Sub(toX, x, centre);
        Vec2Sub(toPrev, t[(v + 2) % 3], t[v]);
        Vec2Sub(toNext, t[(v + 1) % 3], t[v]);
        return (Vec2Dot(toPrev, toX) < -e) != (Vec2Dot(toNext, toX) < -e);
    };

    for (int i = 0; i < 3; ++i)
    {
        const int j = (i + 1) % 3;
        Vec2D u;
        Vec2Sub(u, t[j], t[i]);
        const double len = Vec2Length(u);
        if (len == 0.0)
            continue;
        Vec2Div(u, u, len);
        const double h = u.y * (t[i].x - centre.x) - u.x * (t[i].y - centre.y);
        if (h >= radius - e)
            continue;
        crossesSomeLine = true;
        if (-h >= radius - e)
            continue;

        const Vec2D foot{centre.x + h * u.y, centre.y - h * u.x};
        const double g = std::sqrt(std::fmax(radius * radius - h * h, 0.0));
        const Vec2D crossings[2] = {{foot.x - g * u.x, foot.y - g * u.y}, {foot.x + g * u.x, foot.y + g * u.y}};

        for (int k = 0; k < 2; ++k)
        {
            const Vec2D& x = crossings[k];
            Vec2D fromStart, fromEnd;
            Vec2Sub(fromStart, x, t[i]);
            Vec2Sub(fromEnd, x, t[j]);
            const double a0 = Vec2Dot(fromStart, u);
            const double a1 = Vec2Dot(fromEnd, u);

            bool counted = false;
            if (a0 > e && a1 < -e)
                counted = true;
            else if (-e < a0 && a0 <= e && a1 < -e)
            {
                if (!cornerCounted[i] && separatesAtCorner(i, x))
                {
                    counted = true;
                    cornerCounted[i] = true;
                }
            }
            else if (a0 > e && -e <= a1 && a1 < e)
            {
                if ((i != 2 || !cornerCounted[0]) && separatesAtCorner(j, x))
                {
                    counted = true;
                    cornerCounted[j] = true;
                }
            }
            if (!counted)
                continue;

            if (k == 1)
            {
                if (count < 3)
                {
                    starts[count] = x;
                    arcOpen = true;
                }
            }
            else if (arcOpen)
            {
                ends[count++] = x;
                arcOpen = false;
            }
            else
            {
                wrappedEnd = x;
                haveWrappedEnd = true;
            }
        }
    }

    if (!crossesSomeLine)
    {
        starts[0] = ends[0] = Vec2D{centre.x + radius, centre.y};
        return 1;
    }
    if (arcOpen && haveWrappedEnd && count < 3)
        ends[count++] = wrappedEnd;
    return count;
}
