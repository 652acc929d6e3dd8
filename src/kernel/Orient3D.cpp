#include "kernel/Orient3D.h"

#include <cmath>

namespace
{
// Exact arithmetic on expansions: sums of doubles whose components do not overlap, stored smallest
// first, zeros dropped. The sign of an expansion is the sign of its largest component.

constexpr double kEpsilon = 1.1102230246251565e-16;   // 2^-53
constexpr double kSplitter = 134217729.0;              // 2^27 + 1
// Rounding bound of the plain determinant in units of its permanent (for the evaluation order below).
constexpr double kErrBound = (7.0 + 56.0 * kEpsilon) * kEpsilon;

inline void TwoSum(double a, double b, double& x, double& y)
{
    x = a + b;
    const double bv = x - a;
    const double av = x - bv;
    y = (a - av) + (b - bv);
}

inline void TwoDiff(double a, double b, double& x, double& y)
{
    x = a - b;
    const double bv = a - x;
    const double av = x + bv;
    y = (a - av) + (bv - b);
}

inline void Split(double a, double& hi, double& lo)
{
    const double c = kSplitter * a;
    const double big = c - a;
    hi = c - big;
    lo = a - hi;
}

inline void TwoProduct(double a, double b, double& x, double& y)
{
    x = a * b;
    double ahi, alo, bhi, blo;
    Split(a, ahi, alo);
    Split(b, bhi, blo);
    const double err1 = x - ahi * bhi;
    const double err2 = err1 - alo * bhi;
    const double err3 = err2 - ahi * blo;
    y = alo * blo - err3;
}

// h = e + b; returns the length of h (at most elen + 1).
int GrowExpansion(int elen, const double* e, double b, double* h)
{
    double q = b;
    int hlen = 0;
    for (int i = 0; i < elen; ++i)
    {
        double sum, err;
        TwoSum(q, e[i], sum, err);
        q = sum;
        if (err != 0.0)
            h[hlen++] = err;
    }
    if (q != 0.0 || hlen == 0)
        h[hlen++] = q;
    return hlen;
}

// h = e + f, by growing e with each component of f; h needs room for elen + flen.
int ExpansionSum(int elen, const double* e, int flen, const double* f, double* h, double* scratch)
{
    int hlen = elen;
    for (int i = 0; i < elen; ++i)
        h[i] = e[i];
    for (int j = 0; j < flen; ++j)
    {
        hlen = GrowExpansion(hlen, h, f[j], scratch);
        for (int i = 0; i < hlen; ++i)
            h[i] = scratch[i];
    }
    return hlen;
}

// h = e * b; h needs room for 2 * elen.
int ScaleExpansion(int elen, const double* e, double b, double* h)
{
    if (elen == 0 || b == 0.0)
    {
        h[0] = 0.0;
        return 1;
    }
    int hlen = 0;
    double q, hh;
    TwoProduct(e[0], b, q, hh);
    if (hh != 0.0)
        h[hlen++] = hh;
    for (int i = 1; i < elen; ++i)
    {
        double p1, p0, sum;
        TwoProduct(e[i], b, p1, p0);
        TwoSum(q, p0, sum, hh);
        if (hh != 0.0)
            h[hlen++] = hh;
        TwoSum(p1, sum, q, hh);  // p1 dominates sum
        if (hh != 0.0)
            h[hlen++] = hh;
    }
    if (q != 0.0 || hlen == 0)
        h[hlen++] = q;
    return hlen;
}

// A value known exactly as a difference of two doubles: at most two components.
struct Diff
{
    double c[2];
    int n;
};

Diff MakeDiff(double a, double b)
{
    Diff d;
    double x, y;
    TwoDiff(a, b, x, y);
    d.n = 0;
    if (y != 0.0)
        d.c[d.n++] = y;
    if (x != 0.0 || d.n == 0)
        d.c[d.n++] = x;
    return d;
}

// h = e * f for a two-component f; h needs room for 4 * elen.
int MultiplyByDiff(int elen, const double* e, const Diff& f, double* h)
{
    double t0[64], t1[64], scratch[128];
    const int n0 = ScaleExpansion(elen, e, f.c[0], t0);
    if (f.n == 1)
    {
        for (int i = 0; i < n0; ++i)
            h[i] = t0[i];
        return n0;
    }
    const int n1 = ScaleExpansion(elen, e, f.c[1], t1);
    return ExpansionSum(n0, t0, n1, t1, h, scratch);
}

// p * q - r * s, all four exact differences.
int CrossTerm(const Diff& p, const Diff& q, const Diff& r, const Diff& s, double* h)
{
    double pq[8], rs[8], scratch[32];
    const int npq = MultiplyByDiff(p.n, p.c, q, pq);
    const int nrs = MultiplyByDiff(r.n, r.c, s, rs);
    for (int i = 0; i < nrs; ++i)
        rs[i] = -rs[i];
    return ExpansionSum(npq, pq, nrs, rs, h, scratch);
}

double ExactOrient(const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d)
{
    const Diff adx = MakeDiff(a.x, d.x), ady = MakeDiff(a.y, d.y), adz = MakeDiff(a.z, d.z);
    const Diff bdx = MakeDiff(b.x, d.x), bdy = MakeDiff(b.y, d.y), bdz = MakeDiff(b.z, d.z);
    const Diff cdx = MakeDiff(c.x, d.x), cdy = MakeDiff(c.y, d.y), cdz = MakeDiff(c.z, d.z);

    double bc[16], ca[16], ab[16];
    const int nbc = CrossTerm(bdy, cdz, bdz, cdy, bc);
    const int nca = CrossTerm(cdy, adz, cdz, ady, ca);
    const int nab = CrossTerm(ady, bdz, adz, bdy, ab);

    double t1[64], t2[64], t3[64], sum12[128], total[192], scratch[192];
    const int n1 = MultiplyByDiff(nbc, bc, adx, t1);
    const int n2 = MultiplyByDiff(nca, ca, bdx, t2);
    const int n3 = MultiplyByDiff(nab, ab, cdx, t3);
    const int n12 = ExpansionSum(n1, t1, n2, t2, sum12, scratch);
    const int n = ExpansionSum(n12, sum12, n3, t3, total, scratch);
    double estimate = 0.0;
    for (int i = 0; i < n; ++i)
        estimate += total[i];
    // The largest component carries the sign; the sum rounds towards it.
    if (total[n - 1] == 0.0)
        return 0.0;
    if ((estimate > 0.0) != (total[n - 1] > 0.0) || estimate == 0.0)
        return total[n - 1];
    return estimate;
}
}  // namespace

double Orient3DEstimate(const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d, double& bound)
{
    const double adx = a.x - d.x, bdx = b.x - d.x, cdx = c.x - d.x;
    const double ady = a.y - d.y, bdy = b.y - d.y, cdy = c.y - d.y;
    const double adz = a.z - d.z, bdz = b.z - d.z, cdz = c.z - d.z;

    const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
    const double cdxady = cdx * ady, adxcdy = adx * cdy;
    const double adxbdy = adx * bdy, bdxady = bdx * ady;

    const double det = adz * (bdxcdy - cdxbdy) + bdz * (cdxady - adxcdy) + cdz * (adxbdy - bdxady);
    const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * std::fabs(adz) +
                             (std::fabs(cdxady) + std::fabs(adxcdy)) * std::fabs(bdz) +
                             (std::fabs(adxbdy) + std::fabs(bdxady)) * std::fabs(cdz);
    bound = kErrBound * permanent;
    // det[a - d, b - d, c - d] is the negative of ((b - a) x (c - a)) . (d - a).
    return -det;
}

double Orient3D(const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d)
{
    double bound;
    const double det = Orient3DEstimate(a, b, c, d, bound);
    if (det > bound || -det > bound)
        return det;
    return -ExactOrient(a, b, c, d);
}
