#include "kernel/Intersect4D.h"

#include "kernel/Intersect3D.h"
#include "kernel/Mat4.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec3D.h"

#include <cmath>

namespace
{
void Midpoint(Vec4D& out, const Vec4D& a, const Vec4D& b)
{
    Vec4Add(out, a, b);
    Vec4Scale(out, 0.5);
}

void Centroid(Vec4D& out, const Vec4D& a, const Vec4D& b, const Vec4D& c)
{
    Vec4Add(out, a, b);
    Vec4Add(out, out, c);
    Vec4Div(out, 3.0);
}

// Scales to unit length; a zero vector stays zero rather than turning into NaNs.
void NormalizeOrKeep(Vec3D& v)
{
    const double len = Vec3Length(v);
    if (len > 0.0)
        Vec3Div(v, v, len);
}

// out = the e1/e2 part of v, for an orthonormal pair e1, e2.
void ProjectOnPair(Vec4D& out, const Vec4D& v, const Vec4D& e1, const Vec4D& e2)
{
    Vec4ScaleTo(out, e1, Vec4Dot(v, e1));
    Vec4AddScaledTo(out, Vec4Dot(v, e2), e2);
}

// Both lines treated as parallel: the midpoint of the first and its foot on the second.
double ParallelLinesClosestPoints(Vec4D& out1, Vec4D& out2, double* params, const Vec4D& a1, const Vec4D& a2,
                                  const Vec4D& b1, const Vec4D& b2, double tol)
{
    Midpoint(out1, a1, a2);
    const double t = ProjectPointOnLine4D(out2, out1, b1, b2, tol);
    if (params)
    {
        params[0] = 0.5;
        params[1] = t;
    }
    Vec4D d;
    Vec4Sub(d, out2, out1);
    return Vec4Length(d);
}

Vec3D Xyz(const Vec4D& v)
{
    return {v.x, v.y, v.z};
}

struct PlanePair
{
    Vec4D e1, e2, na, nb;  // P's orthonormal frame: two directions, two normals
    Vec4D f1, f2;          // Q's orthonormal directions
    Vec4D c1, c2, mid;     // centroids and their midpoint
    double n11, n12, n21, n22;  // normal components of f1, f2: na.f1, na.f2, nb.f1, nb.f2
};

// Planes in one 3-space (code 4) or in two parallel ones (code 3).
int SharedDirection(Vec4D& out, Vec4D rec[4], const PlanePair& pp, const Vec4D& p0, const Vec4D& q0,
                    double tol)
{
    // m: normal of the 3-space(s) spanned by P and Q; m4: P's other normal, inside them.
    Vec4D m, m2, m4;
    Vec4Cross(m, pp.e1, pp.e2, pp.f1);
    Vec4Cross(m2, pp.e1, pp.e2, pp.f2);
    if (Vec4LengthSq(m2) > Vec4LengthSq(m))
        m = m2;
    Vec4Div(m, Vec4Length(m));
    Vec4Cross(m4, pp.e1, pp.e2, m);

    // Frame coordinates (e1, e2, m4, m): P = {third = z1, fourth = w1}, Q lies in {fourth = w2}.
    Mat4 toFrame, toWorld;
    toFrame.SetRows(pp.e1, pp.e2, m4, m);
    toWorld.SetColumns(pp.e1, pp.e2, m4, m);
    Vec4D p0f, q0f, f1f, f2f, midf;
    toFrame.Transform(p0f, p0);
    toFrame.Transform(q0f, q0);
    toFrame.Transform(f1f, pp.f1);
    toFrame.Transform(f2f, pp.f2);
    toFrame.Transform(midf, pp.mid);
    const double w1 = p0f.w, w2 = q0f.w;

    const Vec3D normalP{0, 0, 1};
    Vec3D normalQ;
    Vec3Cross(normalQ, Xyz(f1f), Xyz(f2f));
    NormalizeOrKeep(normalQ);
    // The 4D test above has already found the planes not parallel. Testing the 3D normals against
    // tol again could contradict it (it measures the tilt along other axes), so only exactly
    // parallel normals fail here.
    Vec3D linePoint, lineDir;
    if (!PlaneIsectPlane(linePoint, lineDir, normalP, -p0f.z, normalQ, -Vec3Dot(normalQ, Xyz(q0f)), 0.0))
        DebugTrace("PlaneIsectPlane4D: PlaneIsectPlane() failed");
    NormalizeOrKeep(lineDir);

    // Foot of the perpendicular from mid to the line; without a line, mid's foot on P.
    Vec3D foot{midf.x, midf.y, p0f.z};
    if (!PlaneIsectLine(foot, lineDir, -Vec3Dot(lineDir, Xyz(midf)), linePoint, lineDir, tol))
        DebugTrace("PlaneIsectPlane4D: PlaneIsectLine() failed");

    Vec3D acrossP, acrossQ;
    Vec3Cross(acrossP, normalP, lineDir);
    Vec3Cross(acrossQ, normalQ, lineDir);
    NormalizeOrKeep(acrossP);
    NormalizeOrKeep(acrossQ);

    toWorld.Transform(out, {foot.x, foot.y, foot.z, w1});
    toWorld.Transform(rec[0], {acrossP.x, acrossP.y, acrossP.z, 0.0});
    toWorld.Transform(rec[1], {acrossQ.x, acrossQ.y, acrossQ.z, 0.0});
    Vec4D toC;
    Vec4Sub(toC, pp.c1, out);
    if (Vec4Dot(rec[0], toC) < 0.0)
        Vec4Negate(rec[0]);
    Vec4Sub(toC, pp.c2, out);
    if (Vec4Dot(rec[1], toC) < 0.0)
        Vec4Negate(rec[1]);

    if (WithinTol(w2, w1, tol))
    {
        toWorld.Transform(rec[2], {lineDir.x, lineDir.y, lineDir.z, 0.0});
        return 4;
    }
    toWorld.Transform(rec[2], {foot.x, foot.y, foot.z, w2});
    return 3;
}

// Planes meeting in exactly one point: codes 5, 6 and 7.
int MeetInPoint(Vec4D& out, Vec4D rec[4], const PlanePair& pp, const Vec4D& p0, const Vec4D& q0, double tol)
{
    const double det = pp.n11 * pp.n22 - pp.n12 * pp.n21;

    // The point of Q with p0's normal components lies in P too.
    Vec4D d;
    Vec4Sub(d, p0, q0);
    const double ra = Vec4Dot(pp.na, d), rb = Vec4Dot(pp.nb, d);
    Vec4D meet = q0;
    Vec4AddScaledTo(meet, (pp.n22 * ra - pp.n12 * rb) / det, pp.f1);
    Vec4AddScaledTo(meet, (pp.n11 * rb - pp.n21 * ra) / det, pp.f2);
    out = meet;

    // Q's directions whose normal components are (1, 0) and (0, 1), and their in-plane parts.
    Vec4D ga, gb;
    Vec4ScaleTo(ga, pp.f1, pp.n22 / det);
    Vec4AddScaledTo(ga, -pp.n21 / det, pp.f2);
    Vec4ScaleTo(gb, pp.f1, -pp.n12 / det);
    Vec4AddScaledTo(gb, pp.n11 / det, pp.f2);
    const double a00 = Vec4Dot(pp.e1, ga), a01 = Vec4Dot(pp.e1, gb);
    const double a10 = Vec4Dot(pp.e2, ga), a11 = Vec4Dot(pp.e2, gb);

    Vec4D toC1, toC2;
    Vec4Sub(toC1, pp.c1, out);
    Vec4Sub(toC2, pp.c2, out);
    const bool c1Apart = !Vec4IsZero(toC1, tol);
    const bool c2Apart = !Vec4IsZero(toC2, tol);

    if (IsZeroTol(a00, tol) && IsZeroTol(a01, tol) && IsZeroTol(a10, tol) && IsZeroTol(a11, tol))
    {
        rec[0] = c1Apart ? toC1 : pp.e1;
        rec[1] = c2Apart ? toC2 : pp.f1;
        Vec4Div(rec[0], Vec4Length(rec[0]));
        Vec4Div(rec[1], Vec4Length(rec[1]));
        Vec4Cross(rec[2], rec[0], pp.na, pp.nb);
        Vec4D ma, mb;
        Vec4CompleteBasis(ma, mb, pp.f1, pp.f2);
        Vec4Cross(rec[3], rec[1], ma, mb);
        return 5;
    }

    int code;
    if (IsZeroTol(a00 * a11 - a01 * a10, tol))
    {
        // One right angle: P's direction across Q's projection, Q's direction with no part in P.
        // Each is the 2D perpendicular of the longer row (or column) of the matrix e_i.f_j.
        const double e1f1 = Vec4Dot(pp.e1, pp.f1), e2f1 = Vec4Dot(pp.e2, pp.f1);
        const double e1f2 = Vec4Dot(pp.e1, pp.f2), e2f2 = Vec4Dot(pp.e2, pp.f2);
        const bool f1Longer = e1f1 * e1f1 + e2f1 * e2f1 >= e1f2 * e1f2 + e2f2 * e2f2;
        Vec4ScaleTo(rec[0], pp.e1, f1Longer ? -e2f1 : -e2f2);
        Vec4AddScaledTo(rec[0], f1Longer ? e1f1 : e1f2, pp.e2);
        const bool e1Longer = e1f1 * e1f1 + e1f2 * e1f2 >= e2f1 * e2f1 + e2f2 * e2f2;
        Vec4ScaleTo(rec[1], pp.f1, e1Longer ? -e1f2 : -e2f2);
        Vec4AddScaledTo(rec[1], e1Longer ? e1f1 : e2f1, pp.f2);
        Vec4Div(rec[0], Vec4Length(rec[0]));
        Vec4Div(rec[1], Vec4Length(rec[1]));
        Vec4Cross(rec[2], rec[0], pp.na, pp.nb);
        Vec4D ma, mb;
        Vec4CompleteBasis(ma, mb, pp.f1, pp.f2);
        Vec4Cross(rec[3], rec[1], ma, mb);
        code = 6;
    }
    else
    {
        // Principal directions: rotate Q's orthonormal pair g1, g2 until their projections on P
        // are orthogonal, i.e. diagonalise the Gram matrix of the projections.
        Vec4D g1 = ga, g2 = gb;
        Vec4Div(g1, Vec4Length(g1));
        Vec4AddScaledTo(g2, -Vec4Dot(g2, g1), g1);
        Vec4Div(g2, Vec4Length(g2));
        Vec4D pg1, pg2;
        ProjectOnPair(pg1, g1, pp.e1, pp.e2);
        ProjectOnPair(pg2, g2, pp.e1, pp.e2);
        const double diff = Vec4LengthSq(pg1) - Vec4LengthSq(pg2);
        const double cross = Vec4Dot(pg1, pg2);
        double theta = 0.0;
        if (!IsZeroTol(diff, tol))
            theta = 0.5 * std::atan(2.0 * cross / diff);
        else if (!IsZeroTol(cross, tol))
            theta = 0.5 * std::atan2(2.0 * cross, diff);  // equal projections that are not orthogonal
        const double c = std::cos(theta), s = std::sin(theta);
        Vec4ScaleTo(rec[1], g1, c);
        Vec4AddScaledTo(rec[1], s, g2);
        Vec4ScaleTo(rec[3], g2, c);
        Vec4AddScaledTo(rec[3], -s, g1);
        ProjectOnPair(rec[0], rec[1], pp.e1, pp.e2);
        ProjectOnPair(rec[2], rec[3], pp.e1, pp.e2);
        Vec4Div(rec[0], Vec4Length(rec[0]));
        Vec4Div(rec[2], Vec4Length(rec[2]));
        code = 7;
    }

    if (c1Apart)
    {
        if (Vec4Dot(rec[0], toC1) < 0.0)
            Vec4Negate(rec[0]);
        if (Vec4Dot(rec[2], toC1) < 0.0)
            Vec4Negate(rec[2]);
    }
    // A right angle leaves rec1 against rec0 undecided: point it towards Q's centroid instead.
    if (code == 6 ? c2Apart && Vec4Dot(rec[1], toC2) < 0.0 : Vec4Dot(rec[1], rec[0]) < 0.0)
        Vec4Negate(rec[1]);
    if (Vec4Dot(rec[3], rec[2]) < 0.0)
        Vec4Negate(rec[3]);
    return code;
}
}  // namespace

double ProjectPointOnLine4D(Vec4D& out, const Vec4D& p, const Vec4D& a, const Vec4D& b, double tol)
{
    Vec4D e;
    Vec4Sub(e, b, a);
    if (Vec4IsZero(e, tol))
    {
        out = a;
        return 0.0;
    }
    const double len = Vec4Length(e);
    Vec4Div(e, len);
    Vec4D ap;
    Vec4Sub(ap, p, a);
    const double s = Vec4Dot(e, ap);
    Vec4AddScaled(out, a, s, e);
    return s / len;
}

void ProjectPointOnPlane4D(Vec4D& out, const Vec4D& p, const Vec4D& a, const Vec4D& b, const Vec4D& c,
                           double tol)
{
    Vec4D ap, ab, ac, r;
    Vec4Sub(ap, a, p);
    Vec4Sub(ab, b, a);
    Vec4Sub(ac, c, a);
    Vec4RejectFrom2(r, ap, ab, ac, tol);
    Vec4Add(out, p, r);
}

void ProjectPointOnHyperplane(Vec4D& out, const Vec4D& p, const Hyperplane& h)
{
    Vec4AddScaled(out, p, -HyperplaneDistance(h, p), h.n);
}

bool LineIsectHyperplane(Vec4D& out, const Vec4D& a, const Vec4D& b, const Hyperplane& h, double tol)
{
    Vec4D e;
    Vec4Sub(e, b, a);
    const double g = Vec4Dot(h.n, e);
    if (IsZeroTol(g, tol))
        return false;
    Vec4AddScaled(out, a, (-Vec4Dot(h.n, a) - h.d) / g, e);
    return true;
}

double LineClosestPoints4D(Vec4D& out1, Vec4D& out2, double* params, const Vec4D& a1, const Vec4D& a2,
                           const Vec4D& b1, const Vec4D& b2, double tol)
{
    Vec4D u, v, m;
    Vec4Sub(u, a2, a1);
    Vec4Sub(v, b2, b1);
    if (Vec4Coplanar(a1, a2, b1, b2, tol))
    {
        if (Vec4Parallel(u, v, tol))
            return ParallelLinesClosestPoints(out1, out2, params, a1, a2, b1, b2, tol);
        Vec4PerpendicularTo2(m, u, v);
    }
    else
    {
        // Normal of the 3-space that holds both lines.
        HyperplaneNormal(m, a1, a2, b1, b2);
        if (Vec4Dot(m, a1) < 0.0)
            Vec4Negate(m);
    }

    // e: the common perpendicular; k: normal of the hyperplane through the first line along e.
    Vec4D e, k;
    Vec4Cross(e, u, v, m);
    Vec4Div(e, Vec4Length(e));
    Vec4D ba;
    Vec4Sub(ba, a1, b1);
    const double h = Vec4Dot(e, ba);
    Vec4Cross(k, u, e, m);
    Vec4Div(k, Vec4Length(k));
    const Hyperplane hp{k, -Vec4Dot(k, a1)};
    Vec4D foot;
    // Lines far from parallel but closer to it than tol meet that hyperplane only beyond reach.
    if (!LineIsectHyperplane(foot, b1, b2, hp, tol))
        return ParallelLinesClosestPoints(out1, out2, params, a1, a2, b1, b2, tol);
    out2 = foot;
    Vec4AddScaled(out1, foot, h, e);
    if (params)
    {
        params[0] = Vec4LineParam(out1, a1, a2);
        params[1] = Vec4LineParam(out2, b1, b2);
    }
    return h;
}

double LinePlaneClosestPoints4D(Vec4D& out1, Vec4D& out2, const Vec4D& a1, const Vec4D& a2, const Vec4D& b1,
                                const Vec4D& b2, const Vec4D& b3, double tol)
{
    Vec4D q, r;
    if (!PlaneBasis4D(q, r, b1, b2, b3, tol))
        return LineClosestPoints4D(out1, out2, nullptr, a1, a2, b1, Vec4Equal(b2, b1, tol) ? b3 : b2, tol);

    Vec4D u, s;
    Vec4Sub(u, a2, a1);
    Vec4Cross(s, u, q, r);
    if (!Vec4IsZero(s, tol))
    {
        Vec4Div(s, Vec4Length(s));
        Vec4D ab;
        Vec4Sub(ab, b1, a1);
        const double h = Vec4Dot(s, ab);
        Vec4D k;
        Vec4Cross(k, q, r, s);
        Vec4Div(k, Vec4Length(k));
        const Hyperplane hp{k, -Vec4Dot(k, b1)};
        Vec4D foot;
        if (LineIsectHyperplane(foot, a1, a2, hp, tol))
        {
            out1 = foot;
            Vec4AddScaled(out2, foot, h, s);
            return h;
        }
    }

    // The line runs parallel to the plane.
    Midpoint(out1, a1, a2);
    ProjectPointOnPlane4D(out2, out1, b1, b2, b3, tol);
    Vec4D d;
    Vec4Sub(d, out2, out1);
    return Vec4Length(d);
}

bool PlaneIsectHyperplane(Vec4D& point, Vec4D& dir, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                          const Hyperplane& h, double tol)
{
    Vec4D e1, e2, na, nb;
    if (!PlaneBasis4D(e1, e2, p0, p1, p2, tol))
        return false;
    Vec4CompleteBasis(na, nb, e1, e2);
    // The plane's direction inside the hyperplane.
    Vec4D along;
    Vec4Cross(along, na, nb, h.n);
    if (Vec4IsZero(along, tol))
        return false;
    Vec4Div(along, Vec4Length(along));
    // Follow the plane's other direction from p0 to the hyperplane.
    Vec4D across, s;
    Vec4Cross(across, na, nb, along);
    Vec4Add(s, p0, across);
    if (!LineIsectHyperplane(point, p0, s, h, tol))
        return false;
    dir = along;
    return true;
}

bool HyperplaneIsectHyperplane(Vec4D& point, Vec4D& dir1, Vec4D& dir2, const Hyperplane& h1,
                               const Hyperplane& h2, double tol)
{
    const Vec4D& g1 = h1.n;
    const Vec4D& g2 = h2.n;
    if (Vec4Parallel(g1, g2, tol))
        return false;
    // u: the unit direction of g2 perpendicular to g1.
    const double c = Vec4Dot(g1, g2);
    Vec4D u;
    Vec4AddScaled(u, g2, -c, g1);
    const double r = Vec4Length(u);
    Vec4Div(u, r);
    Vec4D a, b;
    Vec4PerpendicularTo2(a, g1, u);
    Vec4Div(a, Vec4Length(a));
    Vec4Cross(b, g1, u, a);
    Vec4ScaleTo(point, g1, -h1.d);
    Vec4AddScaledTo(point, (-h2.d + c * h1.d) / r, u);
    dir1 = a;
    dir2 = b;
    return true;
}

int PlaneIsectPlane4D(Vec4D& out, Vec4D rec[4], const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                      const Vec4D& q0, const Vec4D& q1, const Vec4D& q2, double tol)
{
    for (int i = 0; i < 4; ++i)
        rec[i] = Vec4D();
    PlanePair pp;
    if (!PlaneBasis4D(pp.e1, pp.e2, p0, p1, p2, tol) || !PlaneBasis4D(pp.f1, pp.f2, q0, q1, q2, tol))
        return 0;
    Vec4PerpendicularTo2(pp.na, pp.e1, pp.e2);
    Vec4Div(pp.na, Vec4Length(pp.na));
    Vec4Cross(pp.nb, pp.e1, pp.e2, pp.na);
    Centroid(pp.c1, p0, p1, p2);
    Centroid(pp.c2, q0, q1, q2);
    Midpoint(pp.mid, pp.c1, pp.c2);
    pp.n11 = Vec4Dot(pp.na, pp.f1);
    pp.n12 = Vec4Dot(pp.na, pp.f2);
    pp.n21 = Vec4Dot(pp.nb, pp.f1);
    pp.n22 = Vec4Dot(pp.nb, pp.f2);

    if (IsZeroTol(pp.n11, tol) && IsZeroTol(pp.n12, tol) && IsZeroTol(pp.n21, tol) && IsZeroTol(pp.n22, tol))
    {
        // Parallel: o is the displacement from P to Q.
        Vec4D d, o;
        Vec4Sub(d, q0, p0);
        Vec4ScaleTo(o, pp.na, Vec4Dot(pp.na, d));
        Vec4AddScaledTo(o, Vec4Dot(pp.nb, d), pp.nb);
        Vec4AddScaled(out, pp.mid, 0.5, o);
        Vec4AddScaled(rec[0], pp.mid, -0.5, o);
        return Vec4Length(o) <= tol ? 1 : 2;
    }
    if (IsZeroTol(pp.n11 * pp.n22 - pp.n12 * pp.n21, tol))
        return SharedDirection(out, rec, pp, p0, q0, tol);
    return MeetInPoint(out, rec, pp, p0, q0, tol);
}
