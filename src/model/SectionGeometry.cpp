#include "model/SectionGeometry.h"

#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4D.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
Vec3D Column3(const Mat4& m, int col)
{
    return Vec3D{m.At(0, col), m.At(1, col), m.At(2, col)};
}

void SetColumn(Mat4& m, int col, double x, double y, double z, double w)
{
    m.At(0, col) = x;
    m.At(1, col) = y;
    m.At(2, col) = z;
    m.At(3, col) = w;
}

bool Is4D(const Poly& poly)
{
    return (poly.mFlags & Poly::kIs4D) != 0 && poly.mPolytope;
}

// Every finite point of the side shown, as its offset along the frame's normal.
void ForEachShownOffset(Poly& poly, const Mat4& frame, const std::function<void(double)>& use)
{
    if (Is4D(poly))
    {
        const Polytope4D* shown = poly.GetShownPolytope4D();
        if (!shown)
            return;
        for (const Element4D* e = shown->mFirstVert; e; e = e->next)
            use(SectionOffsetOf(frame, static_cast<const Vert4D*>(e)->mPos));
        return;
    }
    const ElemList& verts = poly.mShowDual ? static_cast<const ElemList&>(poly.mFaces) : poly.mVerts;
    for (const FaceVert* p = verts.mFirst; p; p = p->mNext)
        if (!(p->mFlags & (FaceVert::kInf | FaceVert::kHemi)))
            use(SectionOffsetOf(frame, p->mPoint));
}
}  // namespace

bool MakeSectionFrame3D(const Vec3D& direction, Mat4& frame)
{
    Vec3D n = direction;
    if (!Vec3Normalize(n))
        return false;
    const double x = std::fabs(n.x), y = std::fabs(n.y), z = std::fabs(n.z);
    int k;
    if (y + kTol > x)
        k = x < z + kTol ? 0 : 2;
    else
        k = y >= z + kTol ? 2 : 1;
    Vec3D axis{k == 0 ? 1.0 : 0.0, k == 1 ? 1.0 : 0.0, k == 2 ? 1.0 : 0.0};
    Vec3D u, v;
    Vec3Cross(u, n, axis);
    if (!Vec3Normalize(u))
        return false;
    Vec3Cross(v, n, u);
    SetColumn(frame, 0, u.x, u.y, u.z, 0.0);
    SetColumn(frame, 1, v.x, v.y, v.z, 0.0);
    SetColumn(frame, 2, n.x, n.y, n.z, 0.0);
    SetColumn(frame, 3, 0.0, 0.0, 0.0, 1.0);
    return true;
}

bool MakeSectionFrame4D(const Vec4D& direction, Mat4& frame)
{
    Vec4D d = direction;
    const double length = Vec4Length(d);
    if (length < kTol)
        return false;
    for (int i = 0; i < 4; ++i)
        d[i] /= length;
    // The three coordinate axes least along d span, with d, the whole space; each column is made
    // perpendicular to the others by the 4D cross product.
    int skip = 0;
    for (int i = 1; i < 4; ++i)
        if (std::fabs(d[i]) > std::fabs(d[skip]))
            skip = i;
    Vec4D axes[3];
    for (int i = 0, j = 0; i < 4; ++i)
        if (i != skip)
        {
            axes[j] = Vec4D{};
            axes[j][i] = 1.0;
            ++j;
        }
    Vec4D c[4];
    c[3] = d;
    // c0 from a coordinate axis rejected from d, c1 from the next rejected from both, c2 their
    // cross product with d.
    Vec4RejectFrom(c[0], axes[0], d);
    const double l0 = Vec4Length(c[0]);
    if (l0 < kTol)
        return false;
    for (int i = 0; i < 4; ++i)
        c[0][i] /= l0;
    Vec4D t;
    Vec4RejectFrom(t, axes[1], d);
    Vec4RejectFrom(c[1], t, c[0]);
    const double l1 = Vec4Length(c[1]);
    if (l1 < kTol)
        return false;
    for (int i = 0; i < 4; ++i)
        c[1][i] /= l1;
    Vec4Cross(c[2], c[0], c[1], c[3]);
    const double l2 = Vec4Length(c[2]);
    if (l2 < kTol)
        return false;
    for (int i = 0; i < 4; ++i)
        c[2][i] /= l2;
    for (int col = 0; col < 4; ++col)
        SetColumn(frame, col, c[col][0], c[col][1], c[col][2], c[col][3]);
    return true;
}

double SectionOffsetOf(const Mat4& frame, const Vec3D& point)
{
    return Vec3Dot(Column3(frame, 2), point);
}

double SectionOffsetOf(const Mat4& frame, const Vec4D& point)
{
    double sum = 0.0;
    for (int row = 0; row < 4; ++row)
        sum += frame.At(row, 3) * point[row];
    return sum;
}

bool GetShownSectionRange(Poly& poly, const Mat4& frame, double& lowest, double& highest)
{
    lowest = kUnsetValue;
    highest = -kUnsetValue;
    ForEachShownOffset(poly, frame, [&](double d) {
        lowest = std::min(lowest, d);
        highest = std::max(highest, d);
    });
    return highest >= lowest;
}

double SectionDepthAtOffset(double offset, double lowest, double highest)
{
    if (highest - lowest < kTol)
        return 0.0;
    return std::clamp((highest - offset) / (highest - lowest), 0.0, 1.0);
}

bool FindSnappedSectionDepth(Poly& poly, const Mat4& frame, double depth, int direction, double& snapped)
{
    double lowest, highest;
    if (!GetShownSectionRange(poly, frame, lowest, highest))
        return false;
    const double plane = highest - depth * (highest - lowest);
    bool found = false;
    double best = 0.0;
    ForEachShownOffset(poly, frame, [&](double d) {
        const double gap = d - plane;
        if ((direction > 0 && gap <= kTol) || (direction < 0 && gap >= -kTol))
            return;
        if (!found || std::fabs(gap) < std::fabs(best - plane))
        {
            best = d;
            found = true;
        }
    });
    if (found)
        snapped = SectionDepthAtOffset(best, lowest, highest);
    return found;
}
