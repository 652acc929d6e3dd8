#include "operations/ParametricSolids.h"

#include "kernel/IntMath.h"
#include "kernel/Messages.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace
{
// What CreatePoly may take from a solid built to measure: keep its size, and it is convex.
constexpr uint32_t kSolidFlags = SimplePoly::kIsOk | SimplePoly::kKeepRealSize | SimplePoly::kConvex |
                                 SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;

int Wrap(int i, int n)
{
    const int r = i % n;
    return r < 0 ? r + n : r;
}

// Faces 0 and 1 are the bottom and top n-gons, on vertices 0..n-1 and n..2n-1.
void SetEndFaces(SimplePoly& poly, int n)
{
    SimpleFace* bottom = poly.GetFace(0);
    SimpleFace* top = poly.GetFace(1);
    bottom->SetNumVerts(n);
    top->SetNumVerts(n);
    for (int i = 0; i < n; ++i)
    {
        bottom->SetVert(i, poly.GetVert(i));
        top->SetVert(i, poly.GetVert(n + i));
    }
}

void SetFace(SimplePoly& poly, int face, std::initializer_list<int> corners)
{
    SimpleFace* f = poly.GetFace(face);
    f->SetNumVerts(int(corners.size()));
    int k = 0;
    for (int i : corners)
        f->SetVert(k++, poly.GetVert(i));
}

// The g cycles i, i + step, i + 2 step, ... (mod n) started at 0 .. g-1, as faces from `face` on,
// their corners being offset + the cycle's members. Answers the next free face.
int AddCycles(SimplePoly& poly, int face, int n, int step, int g, int offset)
{
    const int len = n / g;
    for (int start = 0; start < g; ++start, ++face)
    {
        SimpleFace* f = poly.GetFace(face);
        f->SetNumVerts(len);
        int i = start;
        for (int k = 0; k < len; ++k)
        {
            f->SetVert(k, poly.GetVert(offset + i));
            i = Wrap(i + step, n);
        }
    }
    return face;
}

// Rejects a polygon {n/d} with no area: d a multiple of n puts every vertex in one place.
bool IsPointBase(int n, int d)
{
    return d % n == 0;
}

std::unique_ptr<SimplePoly> Named(std::unique_ptr<SimplePoly> poly, const char* name, uint32_t flags)
{
    poly->SetName(name);
    poly->mFlags |= flags;
    return poly;
}
}  // namespace

double PolygonChordLength(int n, int d)
{
    return 2.0 * std::cos(kPi * double(d) / double(n));
}

std::unique_ptr<SimplePoly> CreatePrism(int n, int d)
{
    if (n < 3)
    {
        ErrorMessage("Prism base must have at least 3 sides");
        return nullptr;
    }
    if (n == 2 * d || IsPointBase(n, d))
    {
        ErrorMessage("Prism must not have degenerate base (%d/%d)", n, d);
        return nullptr;
    }
    const int g = std::abs(Gcd(n, d));
    auto poly = std::make_unique<SimplePoly>(2 * n, n + 2 * g);
    double s = 0.0;
    double c = 0.0;
    SineTable::SinCos(d, n, s, c);
    // Half the edge as half the chord, so that the height equals the edge to the last bit.
    const double t = 0.5 * std::sqrt(s * s + (c - 1.0) * (c - 1.0));
    for (int i = 0; i < n; ++i)
    {
        SineTable::SinCos(i, n, s, c);
        poly->GetVert(i)->SetPosXYZ(-c, t, s);
        poly->GetVert(n + i)->SetPosXYZ(-c, -t, s);
    }
    int face = AddCycles(*poly, 0, n, d, g, 0);
    face = AddCycles(*poly, face, n, -d, g, n);
    for (int m = 0; m < n; ++m)
    {
        const int next = Wrap(m + d, n);
        SetFace(*poly, face++, {n + m, n + next, next, m});
    }
    return poly;
}

std::unique_ptr<SimplePoly> CreateAntiprism(int n, int d)
{
    if (n < 2)
    {
        ErrorMessage("Antiprism base must have at least 2 sides");
        return nullptr;
    }
    if (IsPointBase(n, d))
    {
        ErrorMessage("Failed to create %d/%d antiprism.", n, d);
        return nullptr;
    }
    const bool degenerate = n == 2 * d;
    const int g = std::abs(Gcd(n, d));
    const int numFaces = degenerate ? 2 * n : 2 * n + 2 * g;
    const double e = 2.0 * std::abs(SineTable::Sin(d, 2 * n));
    double q = 0.0;
    if (!degenerate)
    {
        const double qq = 1.0 - e * e / 4.0;
        if (qq < kTol)
        {
            ErrorMessage("Failed to create %d/%d antiprism.", n, d);
            return nullptr;
        }
        q = std::sqrt(qq);
        if (2 * d > n)
            q = -q;
    }
    const double hh = 0.75 * e * e - (1.0 - q) * (1.0 - q);
    const double halfHeight = hh < kTol ? 0.5 : std::sqrt(hh) / 2.0;

    auto poly = std::make_unique<SimplePoly>(2 * n, numFaces);
    const bool odd = (d & 1) != 0;
    for (int i = 0; i < n; ++i)
    {
        double s = 0.0;
        double c = 0.0;
        SineTable::SinCos(i, n, s, c);
        poly->GetVert(i)->SetPosXYZ(-c, halfHeight, s);
        // For odd d a bottom vertex sits half a step on, for even d under its top vertex.
        if (odd)
            SineTable::SinCos(2 * i + 1, 2 * n, s, c);
        poly->GetVert(n + i)->SetPosXYZ(-c, -halfHeight, s);
    }
    int face = 0;
    if (!degenerate)
    {
        face = AddCycles(*poly, face, n, d, g, 0);
        face = AddCycles(*poly, face, n, -d, g, n);
    }
    for (int m = 0; m < n; ++m)
    {
        const int a = Wrap(m + d, n);
        const int b = Wrap(m + d / 2, n);
        const int c = Wrap(b + d, n);
        SetFace(*poly, face++, {a, m, n + b});
        SetFace(*poly, face++, {n + b, n + c, a});
    }
    return poly;
}

std::unique_ptr<SimplePoly> CreateRightPyramid(int n, int d, double baseEdge, double sideEdge)
{
    const double sinHalf = n > 0 ? SineTable::Sin(d, 2 * n) : 0.0;
    // A base of density 0 has an infinite circumradius.
    const double radius = IsZeroTol(sinHalf, kTol) ? kInfinity : baseEdge / (2.0 * sinHalf);
    const double hh = sideEdge * sideEdge - radius * radius;
    if (n < 3 || !(hh >= kTol))
    {
        ErrorMessage("A right pyramid with those dimensions is not possible");
        return nullptr;
    }
    auto poly = std::make_unique<SimplePoly>(n + 1, n + 1);
    for (int i = 0; i < n; ++i)
    {
        double s = 0.0;
        double c = 0.0;
        SineTable::SinCos(i * d, n, s, c);
        poly->GetVert(i)->SetPosXYZ(radius * c, radius * s, 0.0);
    }
    poly->GetVert(n)->SetPosXYZ(0.0, 0.0, std::sqrt(hh));
    SimpleFace* base = poly->GetFace(0);
    base->SetNumVerts(n);
    for (int i = 0; i < n; ++i)
        base->SetVert(i, poly->GetVert(i));
    for (int i = 0; i < n; ++i)
        SetFace(*poly, i + 1, {i, (i + 1) % n, n});
    return Named(std::move(poly), "Right Pyramid", kSolidFlags);
}

std::unique_ptr<SimplePoly> CreateIrregularTet(double a, double b, double c, double d, double e, double f)
{
    const auto refuse = []() -> std::unique_ptr<SimplePoly> {
        ErrorMessage("A tetrahedron with those dimensions is not possible");
        return nullptr;
    };
    if (!(c > kTol) || !(a > kTol))
        return refuse();
    const double x1 = (c * c + a * a - b * b) / (2.0 * c);
    const double u = a * a - x1 * x1;
    const double x2 = (c * c + e * e - d * d) / (2.0 * c);
    const double w = e * e - x2 * x2;
    const double p = (e * e + a * a - f * f) / (2.0 * a);
    const double v = e * e - p * p;
    // Each below the tolerance is a face with no area.
    if (!(u >= kTol) || !(w >= kTol) || !(v >= kTol))
        return refuse();
    const double y1 = std::sqrt(u);
    const double y2 = (p * a - x1 * x2) / y1;
    const double zz = w - y2 * y2;
    if (!(zz >= kTol))
        return refuse();

    auto poly = std::make_unique<SimplePoly>(4, 4);
    poly->GetVert(0)->SetPosXYZ(0.0, 0.0, 0.0);
    poly->GetVert(1)->SetPosXYZ(c, 0.0, 0.0);
    poly->GetVert(2)->SetPosXYZ(x1, y1, 0.0);
    poly->GetVert(3)->SetPosXYZ(x2, y2, std::sqrt(zz));
    SetFace(*poly, 0, {2, 1, 0});
    SetFace(*poly, 1, {0, 1, 3});
    SetFace(*poly, 2, {1, 2, 3});
    SetFace(*poly, 3, {2, 0, 3});
    return Named(std::move(poly), "Irregular Tet", kSolidFlags);
}

std::unique_ptr<SimplePoly> CreateIrregularTetFromRatios(const int numerators[6], const int denominators[6])
{
    double len[6];
    for (int i = 0; i < 6; ++i)
    {
        if (numerators[i] == 0)
        {
            ErrorMessage("A tetrahedron with those dimensions is not possible");
            return nullptr;
        }
        len[i] = PolygonChordLength(numerators[i], denominators[i]);
    }
    return CreateIrregularTet(len[0], len[1], len[2], len[3], len[4], len[5]);
}

std::unique_ptr<SimplePoly> CreatePodium(int n, double bottomEdge, double topEdge, double sideEdge)
{
    const double sn = n >= 3 ? SineTable::Sin(1, 2 * n) : 0.0;
    const double ra = sn > 0.0 ? bottomEdge / (2.0 * sn) : 0.0;
    const double rb = sn > 0.0 ? topEdge / (2.0 * sn) : 0.0;
    const double hh = sideEdge * sideEdge - (ra - rb) * (ra - rb);
    if (n < 3 || !(hh >= kTol))
    {
        ErrorMessage("A podium with those dimensions is not possible");
        return nullptr;
    }
    const double halfHeight = std::sqrt(hh) / 2.0;
    auto poly = std::make_unique<SimplePoly>(2 * n, n + 2);
    for (int i = 0; i < n; ++i)
    {
        double s = 0.0;
        double c = 0.0;
        SineTable::SinCos(i, n, s, c);
        poly->GetVert(i)->SetPosXYZ(ra * c, ra * s, -halfHeight);
        poly->GetVert(n + i)->SetPosXYZ(rb * c, rb * s, halfHeight);
    }
    SetEndFaces(*poly, n);
    for (int i = 0; i < n; ++i)
    {
        const int j = (i + 1) % n;
        SetFace(*poly, 2 + i, {i, j, n + j, n + i});
    }
    return Named(std::move(poly), "Podium", kSolidFlags);
}

std::unique_ptr<SimplePoly> CreateAntipodium(int n, double bottomEdge, double topEdge, double sideEdge)
{
    double sinR = 0.0;
    double cosR = 1.0;
    if (n >= 3)
        SineTable::SinCos(1, 2 * n, sinR, cosR);
    const double ra = sinR > 0.0 ? bottomEdge / (2.0 * sinR) : 0.0;
    const double rb = sinR > 0.0 ? topEdge / (2.0 * sinR) : 0.0;
    const double topApothem = sinR > 0.0 ? topEdge * cosR / (2.0 * sinR) : 0.0;
    const double hh = sideEdge * sideEdge - topEdge * topEdge / 4.0 - (ra - topApothem) * (ra - topApothem);
    if (n < 3 || !(hh >= kTol))
    {
        ErrorMessage("An antipodium with those dimensions is not possible");
        return nullptr;
    }
    const double halfHeight = std::sqrt(hh) / 2.0;
    auto poly = std::make_unique<SimplePoly>(2 * n, 2 * n + 2);
    for (int i = 0; i < n; ++i)
    {
        double s = 0.0;
        double c = 0.0;
        SineTable::SinCos(i, n, s, c);
        poly->GetVert(i)->SetPosXYZ(ra * c, ra * s, -halfHeight);
        SineTable::SinCos(2 * i + 1, 2 * n, s, c);
        poly->GetVert(n + i)->SetPosXYZ(rb * c, rb * s, halfHeight);
    }
    SetEndFaces(*poly, n);
    int face = 2;
    for (int j = 0; j < n; ++j)
    {
        const int k = (j + 1) % n;
        SetFace(*poly, face++, {j, k, n + j});
        SetFace(*poly, face++, {k, n + k, n + j});
    }
    return Named(std::move(poly), "Antipodium", kSolidFlags);
}

std::unique_ptr<SimplePoly> CreateTorus(double armRadius, int segments, int armSegments)
{
    if (segments < 3 || armSegments < 3 || IsZeroTol(armRadius, kTol))
    {
        InternalError("CreateTorus(): %d segments, %d arm segments, arm radius %g", segments, armSegments,
                      armRadius);
        return nullptr;
    }
    // The segment counts are the user's: their product may pass 32 bits.
    const int64_t room = int64_t(segments) * armSegments;
    if (!SimplePoly::CheckSize(room, room))
        return nullptr;
    auto poly = std::make_unique<SimplePoly>(int(room), int(room));
    if (poly->mNumVerts != int(room) || poly->mNumFaces != int(room))
        return nullptr;
    int nextVert = 0;
    int face = 0;
    for (int i = 1; i <= segments; ++i)
    {
        double s0 = 0.0;
        double c0 = 0.0;
        double s1 = 0.0;
        double c1 = 0.0;
        SineTable::SinCos(i - 1, segments, s0, c0);
        SineTable::SinCos(i, segments, s1, c1);
        SimpleVert* prevA = nullptr;
        SimpleVert* prevB = nullptr;
        for (int j = 1; j <= armSegments + 1; ++j)
        {
            double sp = 0.0;
            double cp = 0.0;
            SineTable::SinCos(j, armSegments, sp, cp);
            const double spread = 1.0 + armRadius * cp;
            const double z = armRadius * sp;
            SimpleVert* a = poly->FindOrCreateVert(Vec3D{c0 * spread, s0 * spread, z}, nextVert);
            SimpleVert* b = poly->FindOrCreateVert(Vec3D{c1 * spread, s1 * spread, z}, nextVert);
            if (!a || !b)
                return nullptr;
            if (j >= 2)
            {
                SimpleVert* corners[4];
                int n = 0;
                corners[n++] = b;
                if (a != b)
                    corners[n++] = a;
                corners[n++] = prevA;
                if (prevB != prevA)
                    corners[n++] = prevB;
                SimpleFace* f = poly->GetFace(face++);
                f->SetNumVerts(n);
                for (int k = 0; k < n; ++k)
                    f->SetVert(k, corners[k]);
            }
            prevA = a;
            prevB = b;
        }
    }
    poly->mNumVerts = nextVert;
    return Named(std::move(poly), "Torus", SimplePoly::kIsOk | SimplePoly::kNonSelfIntersecting);
}

std::unique_ptr<SimplePoly> CreateBlock(int x, int y, int z)
{
    if (x < 1 || y < 1 || z < 1)
    {
        ErrorMessage("Dimensions must all be greater than zero");
        return nullptr;
    }
    // 2(XY + Z(X + Y)) passes 32 bits well before the dimensions reach their limit.
    const int64_t faces = 2 * (int64_t(x) * y + int64_t(z) * (int64_t(x) + y));
    const int64_t verts = faces + 2;
    if (!SimplePoly::CheckSize(verts, faces))
        return nullptr;
    auto poly = std::make_unique<SimplePoly>(int(verts), int(faces));
    if (poly->mNumVerts != int(verts) || poly->mNumFaces != int(faces))
        return nullptr;
    const int size[3] = {x, y, z};
    int nextVert = 0;
    int nextFace = 0;
    for (int n = 2; n >= 0; --n)
    {
        const int i = (n + 1) % 3;
        const int j = (n + 2) % 3;
        for (int s = 1; s >= -1; s -= 2)
        {
            for (int k = 0; k < size[j]; ++k)
            {
                const int v = size[j] - 2 * k;
                for (int m = 0; m < size[i]; ++m)
                {
                    const int u = s * (2 * m - size[i]);
                    const int corners[4][2] = {{u, v}, {u + 2 * s, v}, {u + 2 * s, v - 2}, {u, v - 2}};
                    SimpleFace* face = poly->GetFace(nextFace);
                    if (!face)
                        return nullptr;
                    face->SetNumVerts(4);
                    for (int c = 0; c < 4; ++c)
                    {
                        double p[3];
                        p[n] = double(s * size[n]);
                        p[i] = double(corners[c][0]);
                        p[j] = double(corners[c][1]);
                        SimpleVert* vert = poly->FindOrCreateVert(Vec3D{p[0], p[1], p[2]}, nextVert);
                        if (!vert)
                            return nullptr;
                        face->SetVert(c, vert);
                    }
                    ++nextFace;
                }
            }
        }
    }
    if (nextFace != faces || nextVert != verts)
        InternalError("Expected %d faces, %d verts,\ngot %d faces, %d verts.", int(faces), int(verts), nextFace,
                      nextVert);
    poly->mNumFaces = nextFace;
    poly->mNumVerts = nextVert;
    poly->mFlags |= SimplePoly::kKeepOrientation | SimplePoly::kConvex | SimplePoly::kRadiallyConvex |
                    SimplePoly::kNonSelfIntersecting;
    return poly;
}
