#include "kernel/FaceDiagram.h"
#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/OutlineFeeder.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
const Vec3D& CornerPos(const SimpleFace& face, int k)
{
    return face.GetVert(k)->mPos;
}

bool InCoincidentRing(const SimpleVert& v)
{
    return v.mNextCoincident && v.mNextCoincident != &v;
}

// Vertices that share a place are told apart by the faces around them.
bool SameFaceCentroids(const SimpleVert& a, const SimpleVert& b, const Mat3& m)
{
    Vec3D image;
    m.Transform(image, a.SumFaceCentroids());
    return Vec3Equal(image, b.SumFaceCentroids(), kSymTol);
}

// Corner j of a must go to corner at of b: in place under m, with as many faces.
bool CornerMatches(const SimpleFace& a, int j, const SimpleFace& b, int at, const Mat3& m)
{
    const SimpleVert* p = a.GetVert(j);
    const SimpleVert* q = b.GetVert(at);
    if (!p || !q || p->mNum != q->mNum)
        return false;
    Vec3D image;
    m.Transform(image, p->mPos);
    if (!Vec3Equal(image, q->mPos, kTol))
        return false;
    return !InCoincidentRing(*p) || SameFaceCentroids(*p, *q, m);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Lists

int SimpleElem::IndexInList(const SimpleElem* elem, int after) const
{
    for (int k = std::max(after + 1, 0); k < mNum; ++k)
    {
        if (mList[k] == elem)
            return k;
    }
    return -1;
}

void SimpleElem::RemoveEntries(int first, int count)
{
    if (first < 0 || count <= 0 || first >= mNum)
        return;
    count = std::min(count, mNum - first);
    for (int k = first; k + count < mNum; ++k)
        mList[k] = mList[k + count];
    mNum -= count;
}

void SimpleElem::RemoveEntry(const SimpleElem* elem)
{
    RemoveEntries(IndexInList(elem, -1), 1);
}

bool SimpleElem::InsertEntry(int position, SimpleElem* elem)
{
    position = std::clamp(position, 0, mNum);
    std::unique_ptr<SimpleElem*[]> grown(new (std::nothrow) SimpleElem*[size_t(mNum) + 1]);
    if (!grown)
    {
        ErrorMessage("Out of memory for a list of %d entries.", mNum + 1);
        return false;
    }
    for (int k = 0; k < position; ++k)
        grown[k] = mList[k];
    grown[position] = elem;
    for (int k = position; k < mNum; ++k)
        grown[k + 1] = mList[k];
    mList = std::move(grown);
    ++mNum;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Face measures

double SimpleFace::GetCentroidAndRadius(Vec3D& centroid) const
{
    centroid = GetCentroid();
    double maxSq = 0.0;
    for (int k = 0; k < mNum; ++k)
    {
        Vec3D d;
        Vec3Sub(d, CornerPos(*this, k), centroid);
        maxSq = std::max(maxSq, Vec3LengthSq(d));
    }
    return std::sqrt(maxSq);
}

Vec3D SimpleFace::GetAreaVector() const
{
    Vec3D sum;
    if (mNum < 3)
        return sum;
    const Vec3D& p0 = CornerPos(*this, 0);
    for (int i = 2; i < mNum; ++i)
    {
        Vec3D a, b, c;
        Vec3Sub(a, CornerPos(*this, i - 1), p0);
        Vec3Sub(b, CornerPos(*this, i), p0);
        Vec3Cross(c, a, b);
        Vec3AddTo(sum, c);
    }
    return sum;
}

double SimpleFace::GetSolidAngle() const
{
    // The turning angles of the polygon less the exterior angles of its image on the unit sphere:
    // the spherical excess, with sign and winding.
    double total = 0.0;
    const int n = mNum;
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& ph = CornerPos(*this, (i + n - 1) % n);
        const Vec3D& pi = CornerPos(*this, i);
        const Vec3D& pj = CornerPos(*this, (i + 1) % n);
        Vec3D a, b, toCentreI, toCentreJ, s, t;
        Vec3Sub(a, pi, ph);
        Vec3Sub(b, pj, pi);
        Vec3Neg(toCentreI, pi);
        Vec3Neg(toCentreJ, pj);
        Vec3Cross(s, a, toCentreI);
        Vec3Cross(t, b, toCentreJ);
        if (Vec3IsZero(s, kTol) || Vec3IsZero(t, kTol))
            return 0.0;
        const int k = Vec3MaxAxis(t);
        if (!IsZeroTol(t[k], kTol))
        {
            Vec3D scaled;
            Vec3Scale(scaled, t, s[k] / t[k]);
            if (Vec3Equal(s, scaled, kTol))
                return 0.0;
        }
        Vec3Normalize(s);
        Vec3Normalize(t);
        Vec3D st;
        Vec3Cross(st, s, t);
        double beta = Vec3Angle(s, t);
        if (Vec3Dot(st, pi) < 0.0)
            beta = -beta;

        Vec3Normalize(a);
        Vec3Normalize(b);
        Vec3D ab;
        Vec3Cross(ab, a, b);
        double alpha = Vec3Angle(a, b);
        if (Vec3Dot(ab, mNormal) < 0.0)
            alpha = -alpha;
        total += alpha - beta;
    }
    return total;
}

Vec3D SimpleVert::SumFaceCentroids() const
{
    Vec3D sum;
    for (int k = 0; k < mNum; ++k)
    {
        if (mList[k])
            Vec3AddTo(sum, static_cast<const SimpleFace*>(mList[k])->GetCentroid());
    }
    return sum;
}

// ---------------------------------------------------------------------------------------------
// Matching under a rotation

bool SimpleFace::MatchesUnder(const SimpleFace& other, const Vec3D& normal, const Vec3D& firstCorner, const Mat3& m,
                              bool* reversed) const
{
    if (other.mNum != mNum)
        return false;
    if (!Vec3Equal(other.mNormal, normal, kTol) && !Vec3EqualNeg(other.mNormal, normal, kTol))
        return false;
    if (mNum == 0)
        return true;
    const SimpleVert* q = GetVert(0);
    if (!q)
        return false;
    const int n = mNum;
    for (int i = 0; i < n; ++i)
    {
        const SimpleVert* g = other.GetVert(i);
        if (!g || !Vec3Equal(g->mPos, firstCorner, kTol) || q->mNum != g->mNum)
            continue;
        if (InCoincidentRing(*q) && !SameFaceCentroids(*q, *g, m))
            continue;
        for (int d : {1, -1})
        {
            bool all = true;
            for (int j = 1; j < n && all; ++j)
                all = CornerMatches(*this, j, other, ((i + d * j) % n + n) % n, m);
            if (all)
            {
                if (reversed)
                    *reversed = d == -1;
                return true;
            }
        }
    }
    return false;
}

bool SimpleVert::MatchesUnder(const SimpleVert& other, const Vec3D& image, const Mat3& m) const
{
    if (mNum != other.mNum || !Vec3Equal(image, other.mPos, kTol))
        return false;
    for (int k = 0; k < mNum; ++k)
    {
        const SimpleFace* f = GetFace(k);
        if (!f || f->mNum <= 0 || !f->GetVert(0))
            return false;
        Vec3D normal, first;
        m.Transform(normal, f->mNormal);
        m.Transform(first, f->GetVert(0)->mPos);
        bool found = false;
        for (int j = 0; j < other.mNum && !found; ++j)
        {
            const SimpleFace* g = other.GetFace(j);
            found = g && f->MatchesUnder(*g, normal, first, m);
        }
        if (!found)
            return false;
    }
    return true;
}

int SimpleFace::ResolveOutline(std::unique_ptr<Vec3D[]>& points, std::unique_ptr<int32_t[]>& indices,
                               int* numPoints) const
{
    points.reset();
    indices.reset();
    if (numPoints)
        *numPoints = 0;
    if (mNum < 3)
        return 0;
    Vec3D normal = mNormal;
    // A face whose normal was never set takes that of its corners.
    if (normal.x == -2.0)
        normal = GetAreaVector();
    if (!Vec3Normalize(normal))
        return 0;
    FaceDiagram diagram;
    OutlineFeederState state;
    OutlineFeeder feeder;
    OutlineFeeder::Begin(normal, diagram, state);
    OutlineFeeder::EndLoop(this, state);
    for (int k = 0; k < mNum; ++k)
        if (const SimpleVert* v = GetVert(k))
            OutlineFeeder::AddPoint(v->mPos, state);
    const int count = feeder.Finish(state);
    if (count < 0)
        return 0;
    points = feeder.TakePoints();
    indices = feeder.TakeIndices();
    if (numPoints)
        *numPoints = feeder.mPointCount;
    return count;
}
