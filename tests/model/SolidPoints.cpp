#include "SolidPoints.h"

#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <cmath>
#include <random>

namespace
{
const double kPhi = (1.0 + std::sqrt(5.0)) / 2.0;

enum class Perms
{
    All,
    Even,
    Odd,
};

enum class Signs
{
    All,
    EvenMinus,  // an even number of minus signs
    EvenPlus,   // an even number of plus signs
    OddPlus,
};

// Adds the signed permutations of (a, b, c), each point once.
void AddSigned(std::vector<Vec3D>& out, double a, double b, double c, Perms perms, Signs signs)
{
    static const int kEven[3][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    static const int kOdd[3][3] = {{0, 2, 1}, {2, 1, 0}, {1, 0, 2}};
    const double base[3] = {a, b, c};
    for (int which = 0; which < 2; ++which)
    {
        if ((which == 0 && perms == Perms::Odd) || (which == 1 && perms == Perms::Even))
            continue;
        for (const auto& order : which == 0 ? kEven : kOdd)
        {
            for (int s = 0; s < 8; ++s)
            {
                const int minus = ((s & 1) != 0) + ((s & 2) != 0) + ((s & 4) != 0);
                if ((signs == Signs::EvenMinus && minus % 2) || (signs == Signs::EvenPlus && (3 - minus) % 2) ||
                    (signs == Signs::OddPlus && (3 - minus) % 2 == 0))
                    continue;
                Vec3D p;
                for (int k = 0; k < 3; ++k)
                    p[k] = (s & (1 << k)) ? -base[order[k]] : base[order[k]];
                bool seen = false;
                for (const Vec3D& q : out)
                    seen = seen || (q.x == p.x && q.y == p.y && q.z == p.z);
                if (!seen)
                    out.push_back(p);
            }
        }
    }
}

KnownSolid Solid(const char* name, int v, int e, int f)
{
    return KnownSolid{name, {}, v, e, f};
}
}  // namespace

std::vector<KnownSolid> PlatonicAndArchimedeanSolids()
{
    const double phi = kPhi;
    const double r2 = std::sqrt(2.0);
    std::vector<KnownSolid> s;

    s.push_back(Solid("tetrahedron", 4, 6, 4));
    AddSigned(s.back().points, 1, 1, 1, Perms::All, Signs::EvenMinus);
    s.push_back(Solid("cube", 8, 12, 6));
    AddSigned(s.back().points, 1, 1, 1, Perms::All, Signs::All);
    s.push_back(Solid("octahedron", 6, 12, 8));
    AddSigned(s.back().points, 1, 0, 0, Perms::All, Signs::All);
    s.push_back(Solid("dodecahedron", 20, 30, 12));
    AddSigned(s.back().points, 1, 1, 1, Perms::All, Signs::All);
    AddSigned(s.back().points, 0, 1 / phi, phi, Perms::Even, Signs::All);
    s.push_back(Solid("icosahedron", 12, 30, 20));
    AddSigned(s.back().points, 0, 1, phi, Perms::Even, Signs::All);

    s.push_back(Solid("truncated tetrahedron", 12, 18, 8));
    AddSigned(s.back().points, 3, 1, 1, Perms::All, Signs::EvenMinus);
    s.push_back(Solid("cuboctahedron", 12, 24, 14));
    AddSigned(s.back().points, 1, 1, 0, Perms::All, Signs::All);
    s.push_back(Solid("truncated cube", 24, 36, 14));
    AddSigned(s.back().points, r2 - 1, 1, 1, Perms::All, Signs::All);
    s.push_back(Solid("truncated octahedron", 24, 36, 14));
    AddSigned(s.back().points, 0, 1, 2, Perms::All, Signs::All);
    s.push_back(Solid("rhombicuboctahedron", 24, 48, 26));
    AddSigned(s.back().points, 1, 1, 1 + r2, Perms::All, Signs::All);
    s.push_back(Solid("truncated cuboctahedron", 48, 72, 26));
    AddSigned(s.back().points, 1, 1 + r2, 1 + 2 * r2, Perms::All, Signs::All);

    // The tribonacci constant, the real root of t^3 = t^2 + t + 1.
    double t = 1.8;
    for (int i = 0; i < 60; ++i)
        t -= (t * t * t - t * t - t - 1) / (3 * t * t - 2 * t - 1);
    s.push_back(Solid("snub cube", 24, 60, 38));
    AddSigned(s.back().points, 1, 1 / t, t, Perms::Even, Signs::EvenPlus);
    AddSigned(s.back().points, 1, 1 / t, t, Perms::Odd, Signs::OddPlus);

    s.push_back(Solid("icosidodecahedron", 30, 60, 32));
    AddSigned(s.back().points, 0, 0, phi, Perms::All, Signs::All);
    AddSigned(s.back().points, 0.5, phi / 2, phi * phi / 2, Perms::Even, Signs::All);
    s.push_back(Solid("truncated dodecahedron", 60, 90, 32));
    AddSigned(s.back().points, 0, 1 / phi, 2 + phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 1 / phi, phi, 2 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, phi, 2, phi + 1, Perms::Even, Signs::All);
    s.push_back(Solid("truncated icosahedron", 60, 90, 32));
    AddSigned(s.back().points, 0, 1, 3 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 1, 2 + phi, 2 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, phi, 2, phi * phi * phi, Perms::Even, Signs::All);
    s.push_back(Solid("rhombicosidodecahedron", 60, 120, 62));
    AddSigned(s.back().points, 1, 1, phi * phi * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, phi * phi, phi, 2 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 2 + phi, 0, phi * phi, Perms::Even, Signs::All);
    s.push_back(Solid("truncated icosidodecahedron", 120, 180, 62));
    AddSigned(s.back().points, 1 / phi, 1 / phi, 3 + phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 2 / phi, phi, 1 + 2 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 1 / phi, phi * phi, -1 + 3 * phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, 2 * phi - 1, 2, 2 + phi, Perms::Even, Signs::All);
    AddSigned(s.back().points, phi, 3, 2 * phi, Perms::Even, Signs::All);

    // xi: the real root of xi^3 - 2 xi = phi.
    double xi = 1.7;
    for (int i = 0; i < 60; ++i)
        xi -= (xi * xi * xi - 2 * xi - phi) / (3 * xi * xi - 2);
    const double a = xi - 1 / xi;
    const double b = xi * phi + phi * phi + phi / xi;
    s.push_back(Solid("snub dodecahedron", 60, 150, 92));
    std::vector<Vec3D>& snub = s.back().points;
    AddSigned(snub, 2 * a, 2, 2 * b, Perms::Even, Signs::EvenPlus);
    AddSigned(snub, a + b / phi + phi, -a * phi + b + 1 / phi, a / phi + b * phi - 1, Perms::Even, Signs::EvenPlus);
    AddSigned(snub, -a / phi + b * phi + 1, -a + b / phi - phi, a * phi + b - 1 / phi, Perms::Even, Signs::EvenPlus);
    AddSigned(snub, -a / phi + b * phi - 1, a - b / phi - phi, a * phi + b + 1 / phi, Perms::Even, Signs::EvenPlus);
    AddSigned(snub, a + b / phi - phi, a * phi - b + 1 / phi, a / phi + b * phi + 1, Perms::Even, Signs::EvenPlus);
    return s;
}

KnownSolid Prism(int n)
{
    KnownSolid s{std::to_string(n) + "-gonal prism", {}, 2 * n, 3 * n, n + 2};
    const double half = std::sin(kPi / n);
    for (int k = 0; k < n; ++k)
    {
        const double angle = 2 * kPi * k / n;
        s.points.push_back({std::cos(angle), std::sin(angle), half});
        s.points.push_back({std::cos(angle), std::sin(angle), -half});
    }
    return s;
}

KnownSolid Antiprism(int n)
{
    KnownSolid s{std::to_string(n) + "-gonal antiprism", {}, 2 * n, 4 * n, 2 * n + 2};
    const double side = std::sin(kPi / n), offset = std::sin(kPi / (2 * n));
    const double half = std::sqrt(side * side - offset * offset);
    for (int k = 0; k < n; ++k)
    {
        const double top = 2 * kPi * k / n, bottom = top + kPi / n;
        s.points.push_back({std::cos(top), std::sin(top), half});
        s.points.push_back({std::cos(bottom), std::sin(bottom), -half});
    }
    return s;
}

const KnownSolid& FindSolid(const std::vector<KnownSolid>& solids, const std::string& name)
{
    for (const KnownSolid& s : solids)
    {
        if (s.name == name)
            return s;
    }
    static const KnownSolid kNone{"none", {}, 0, 0, 0};
    return kNone;
}

std::vector<Vec3D> SpherePoints(int n, double radius, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<Vec3D> points;
    points.reserve(size_t(n));
    while (int(points.size()) < n)
    {
        Vec3D v{normal(rng), normal(rng), normal(rng)};
        const double len = Vec3Length(v);
        if (len < 1e-3)
            continue;
        Vec3Scale(v, v, radius / len);
        points.push_back(v);
    }
    return points;
}

std::vector<Vec3D> LatticePoints(int n)
{
    std::vector<Vec3D> points;
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y)
            for (int z = 0; z < n; ++z)
                points.push_back({double(x), double(y), double(z)});
    return points;
}

std::unique_ptr<SimplePoly> MakePointPoly(const std::vector<Vec3D>& points)
{
    auto poly = std::make_unique<SimplePoly>(int(points.size()), 0);
    for (size_t i = 0; i < points.size(); ++i)
        poly->mVerts[i].SetPos(points[i]);
    return poly;
}

std::unique_ptr<SimplePoly> MakeFacedPoly(const std::vector<Vec3D>& verts, const std::vector<std::vector<int>>& faces)
{
    auto poly = MakePointPoly(verts);
    poly->Grow(poly->mNumVerts, int(faces.size()));
    for (size_t f = 0; f < faces.size(); ++f)
    {
        SimpleFace* face = poly->GetFace(int(f));
        face->SetNumVerts(int(faces[f].size()));
        for (size_t k = 0; k < faces[f].size(); ++k)
            face->SetVert(int(k), poly->GetVert(faces[f][k]));
    }
    poly->SetNormals(true);
    return poly;
}

std::vector<std::vector<int>> CubeFaces(const std::vector<Vec3D>& corners)
{
    auto at = [&](int x, int y, int z) {
        for (size_t i = 0; i < corners.size(); ++i)
        {
            if (corners[i].x == x && corners[i].y == y && corners[i].z == z)
                return int(i);
        }
        return -1;
    };
    return {
        {at(1, -1, -1), at(1, 1, -1), at(1, 1, 1), at(1, -1, 1)},
        {at(-1, -1, -1), at(-1, -1, 1), at(-1, 1, 1), at(-1, 1, -1)},
        {at(-1, 1, -1), at(-1, 1, 1), at(1, 1, 1), at(1, 1, -1)},
        {at(-1, -1, -1), at(1, -1, -1), at(1, -1, 1), at(-1, -1, 1)},
        {at(-1, -1, 1), at(1, -1, 1), at(1, 1, 1), at(-1, 1, 1)},
        {at(-1, -1, -1), at(-1, 1, -1), at(1, 1, -1), at(1, -1, -1)},
    };
}
