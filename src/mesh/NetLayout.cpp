// A net turned upright in its smallest bounding rectangle and centred on the origin.

#include "mesh/Net.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/NetWalkGuard.h"

#include <algorithm>
#include <cmath>
#include <vector>

void NetType::SetBBoxRadii()
{
    Net* first = GetFirstNet();
    if (!first || !first->mFirstFace)
        return;
    first->ClearEdgeFlags(kEdge3DHullCorner);

    // Extreme outline points.
    Edge3D* minX = nullptr;
    Edge3D* minY = nullptr;
    Edge3D* maxX = nullptr;
    Edge3D* maxY = nullptr;
    Vec2D minXp{9999999.9, -9999999.9}, minYp{9999999.9, 9999999.9};
    Vec2D maxXp{-9999999.9, 9999999.9}, maxYp{-9999999.9, -9999999.9};
    for (Face3D* f = first->mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
        {
            Edge3D* e = &f->mEdges[size_t(k)];
            if (e->mFlags & kEdge3DJoinBits)
                continue;
            const Vec2D& p = e->mNetPos;
            if (p.x < minXp.x - kTol || (std::fabs(p.x - minXp.x) <= kTol && p.y > minXp.y))
                minXp = p, minX = e;
            if (p.y < minYp.y - kTol || (std::fabs(p.y - minYp.y) <= kTol && p.x < minYp.x))
                minYp = p, minY = e;
            if (p.x > maxXp.x + kTol || (std::fabs(p.x - maxXp.x) <= kTol && p.y < maxXp.y))
                maxXp = p, maxX = e;
            if (p.y > maxYp.y + kTol || (std::fabs(p.y - maxYp.y) <= kTol && p.x > maxYp.x))
                maxYp = p, maxY = e;
        }
    if (!minX)
        return;
    for (Edge3D* e : {minX, minY, maxX, maxY})
        e->mFlags |= kEdge3DHullCorner;
    mHullStart = minX;

    // Hull: from each hull point, the outline point furthest to the right of the line to the next
    // one, up to the next marked point.
    auto rightOf = [](const Vec2D& p, const Vec2D& c, const Vec2D& x) {
        const double dx = c.x - p.x, dy = c.y - p.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length <= 0.0)
            return 1.0;
        return -(dx * (x.y - p.y) - dy * (x.x - p.x)) / length;
    };
    {
        NetWalkGuard outer;
        Edge3D* p = mHullStart;
        do
        {
            Edge3D* next = p->NextOutlineEdge(false);
            if (!next || outer.Stuck(next))
            {
                InternalError("NetType::SetBBoxRadii() - Stuck");
                break;
            }
            if (next->mFlags & kEdge3DHullCorner)
            {
                p = next;
                continue;
            }
            Edge3D* c = next;
            Edge3D* x = next;
            NetWalkGuard inner;
            bool stuck = false;
            while (!(x->mFlags & kEdge3DHullCorner))
            {
                x = x->NextOutlineEdge(false);
                if (!x || inner.Stuck(x))
                {
                    InternalError("NetType::SetBBoxRadii() - Stuck2, %s, 0x%x", Edge3D::GetName(p), unsigned(p->mFlags));
                    stuck = true;
                    break;
                }
                if (rightOf(p->mNetPos, c->mNetPos, x->mNetPos) > -kTol)
                    c = x;
            }
            if (stuck)
                break;
            c->mFlags |= kEdge3DHullCorner;
            p = c;
        } while (p != mHullStart);
    }

    // The hull points in outline order.
    std::vector<Vec2D> hull;
    {
        NetWalkGuard guard;
        Edge3D* e = mHullStart;
        do
        {
            if (e->mFlags & kEdge3DHullCorner)
                hull.push_back(e->mNetPos);
            e = e->NextOutlineEdge(false);
        } while (e && e != mHullStart && !guard.Stuck(e));
    }

    // The smallest rectangle has a side along a hull edge.
    double bestArea = 1.7976931348623157e308;
    Vec2D bestD{1, 0}, bestM{-2, 0}, bestQ = hull[0];
    double bestMinM = 0, bestMaxM = 0, bestMinD = 0, bestMaxD = 0;
    for (size_t h = 0; h < hull.size() && hull.size() > 1; ++h)
    {
        const Vec2D& q = hull[h];
        const Vec2D& p = hull[(h + 1) % hull.size()];
        Vec2D d{p.x - q.x, p.y - q.y};
        const double length = Vec2Length(d);
        if (length <= kTol)
            continue;
        d = Vec2D{d.x / length, d.y / length};
        const Vec2D m{d.y, -d.x};
        double minM = 1e308, maxM = -1e308, minD = 1e308, maxD = -1e308;
        for (const Vec2D& x : hull)
        {
            const Vec2D r{x.x - q.x, x.y - q.y};
            minM = std::min(minM, Vec2Dot(m, r));
            maxM = std::max(maxM, Vec2Dot(m, r));
            minD = std::min(minD, Vec2Dot(d, r));
            maxD = std::max(maxD, Vec2Dot(d, r));
        }
        const double area = (maxD - minD) * (maxM - minM);
        const bool better = area < bestArea - kTol ||
                            (std::fabs(area - bestArea) <= kTol &&
                             (m.x > bestM.x + kTol || (std::fabs(m.x - bestM.x) <= kTol && m.y > bestM.y + kTol)));
        if (better)
        {
            bestArea = area;
            bestD = d;
            bestM = m;
            bestQ = q;
            bestMinM = minM, bestMaxM = maxM, bestMinD = minD, bestMaxD = maxD;
        }
    }
    if (bestM.x < -1.5)
    {
        // A single point: no turn.
        bestM = Vec2D{1, 0};
        bestD = Vec2D{0, 1};
    }

    const double scale = GetUnitSettings().GetScale();
    const double tab = scale > 0.0 ? GetTabSize() / scale : 0.0;
    mRadiusX = (bestMaxM - bestMinM) / 2.0 + tab;
    mRadiusY = (bestMaxD - bestMinD) / 2.0 + tab;

    // x -> (m.(x - q), d.(x - q)) less the rectangle's centre.
    const double cm = (bestMinM + bestMaxM) / 2.0, cd = (bestMinD + bestMaxD) / 2.0;
    const double r00 = bestM.x, r01 = bestM.y, r10 = bestD.x, r11 = bestD.y;
    const double tx = -(r00 * bestQ.x + r01 * bestQ.y) - cm;
    const double ty = -(r10 * bestQ.x + r11 * bestQ.y) - cd;
    for (Face3D* f = first->mFirstFace; f; f = f->mNextInNet)
    {
        double* a = f->mNetPlacement;
        const double m0 = r00 * a[0] + r01 * a[1], m1 = r10 * a[0] + r11 * a[1];
        const double m2 = r00 * a[2] + r01 * a[3], m3 = r10 * a[2] + r11 * a[3];
        const double t0 = r00 * a[4] + r01 * a[5] + tx, t1 = r10 * a[4] + r11 * a[5] + ty;
        a[0] = m0, a[1] = m1, a[2] = m2, a[3] = m3, a[4] = t0, a[5] = t1;
        for (int k = 0; k < f->mType->mNumSides; ++k)
        {
            Vec2D& p = f->mEdges[size_t(k)].mNetPos;
            p = Vec2D{r00 * p.x + r01 * p.y + tx, r10 * p.x + r11 * p.y + ty};
        }
    }
}
