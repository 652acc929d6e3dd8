#include "HemiPolyhedra.h"

#include "SolidPoints.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace
{
const double kPhi = (1.0 + std::sqrt(5.0)) / 2.0;
constexpr double kEps = 1e-9;

// The faces of one kind: on the plane across each axis at a height (the centre, or the outermost
// height whose vertices make a regular {n/step} of the edge length).
struct Layer
{
    std::vector<Vec3D> axes;
    int n;
    int step;
    bool throughCentre;
};

// The normals of the faces of the convex solid with n sides.
std::vector<Vec3D> FaceNormals(const std::vector<Vec3D>& points, int n)
{
    std::vector<Vec3D> out;
    const FacedSolid solid = ConvexSolid(points);
    for (const std::vector<int>& face : solid.faces)
    {
        if (int(face.size()) != n)
            continue;
        Vec3D c;
        for (int i : face)
            Vec3AddTo(c, points[size_t(i)]);
        Vec3Normalize(c);
        out.push_back(c);
    }
    return out;
}

// One direction per line.
std::vector<Vec3D> Lines(const std::vector<Vec3D>& axes)
{
    std::vector<Vec3D> out;
    for (const Vec3D& a : axes)
    {
        bool seen = false;
        for (const Vec3D& b : out)
            seen = seen || Vec3Equal(a, b, kEps) || Vec3EqualNeg(a, b, kEps);
        if (!seen)
            out.push_back(a);
    }
    return out;
}

void AddLayer(FacedSolid& solid, const Layer& layer, double edge)
{
    const std::vector<Vec3D>& verts = solid.verts;
    for (const Vec3D& u : layer.throughCentre ? Lines(layer.axes) : layer.axes)
    {
        std::map<long long, std::vector<int>> levels;  // by height, rounded
        for (size_t i = 0; i < verts.size(); ++i)
        {
            const double h = Vec3Dot(verts[i], u);
            levels[std::llround(h * 1e6)].push_back(int(i));
        }
        Vec3D s, t;
        Vec3Perpendicular(s, u);
        Vec3Normalize(s);
        Vec3Cross(t, u, s);
        for (auto level = levels.rbegin(); level != levels.rend(); ++level)
        {
            const bool centre = level->first == 0;
            if (centre != layer.throughCentre || (!centre && level->first < 0) ||
                int(level->second.size()) != layer.n)
                continue;
            std::vector<int> ring = level->second;
            std::sort(ring.begin(), ring.end(), [&](int a, int b) {
                const Vec3D& p = verts[size_t(a)];
                const Vec3D& q = verts[size_t(b)];
                return std::atan2(Vec3Dot(p, t), Vec3Dot(p, s)) < std::atan2(Vec3Dot(q, t), Vec3Dot(q, s));
            });
            std::vector<int> face;
            for (int i = 0; i < layer.n; ++i)
                face.push_back(ring[size_t((i * layer.step) % layer.n)]);
            bool regular = true;
            for (int i = 0; i < layer.n && regular; ++i)
            {
                const double d = Vec3Distance(verts[size_t(face[size_t(i)])],
                                              verts[size_t(face[size_t((i + 1) % layer.n)])]);
                regular = std::fabs(d - edge) < kEps;
            }
            if (!regular)
                continue;
            solid.faces.push_back(face);
            break;
        }
    }
}

FacedSolid Build(const std::vector<Vec3D>& verts, double edge, const std::vector<Layer>& layers)
{
    FacedSolid solid{verts, {}};
    for (const Layer& layer : layers)
        AddLayer(solid, layer, edge);
    return solid;
}
}  // namespace

std::vector<HemiPolyhedron> HemiPolyhedra()
{
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    const std::vector<Vec3D>& octa = FindSolid(solids, "octahedron").points;
    const std::vector<Vec3D>& cubocta = FindSolid(solids, "cuboctahedron").points;
    const std::vector<Vec3D>& icosido = FindSolid(solids, "icosidodecahedron").points;

    // Octahedral axes from the cuboctahedron's faces, icosahedral ones from the icosidodecahedron's.
    const std::vector<Vec3D> four = FaceNormals(cubocta, 4), threeO = FaceNormals(cubocta, 3);
    const std::vector<Vec3D> five = FaceNormals(icosido, 5), threeI = FaceNormals(icosido, 3);
    std::vector<Vec3D> tetra;  // four alternate faces of the octahedron
    for (const Vec3D& n : FaceNormals(octa, 3))
    {
        if ((n.x < 0) + (n.y < 0) + (n.z < 0) == 0 || (n.x < 0) + (n.y < 0) + (n.z < 0) == 2)
            tetra.push_back(n);
    }
    const std::vector<Vec3D> octaFour = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    const double r2 = std::sqrt(2.0);
    const double small = 1.0, great = kPhi * kPhi, middle = kPhi;
    using G = SymGroup;
    return {
        {"tetrahemihexahedron", "3.4.3/2.4", Build(octa, r2, {{tetra, 3, 1, false}, {octaFour, 4, 1, true}}), 6, 12, 7,
         G::kTetrahedral, G::kDiagonal},
        {"octahemioctahedron", "3.6.3/2.6", Build(cubocta, r2, {{threeO, 3, 1, false}, {threeO, 6, 1, true}}), 12, 24, 12,
         G::kOctahedral, G::kHorizontal},
        {"cubohemioctahedron", "4.6.4/3.6", Build(cubocta, r2, {{four, 4, 1, false}, {threeO, 6, 1, true}}), 12, 24, 10,
         G::kOctahedral, G::kHorizontal},
        {"small icosihemidodecahedron", "10.3.10.3/2", Build(icosido, small, {{threeI, 3, 1, false}, {five, 10, 1, true}}), 30,
         60, 26, G::kIcosahedral, G::kHorizontal},
        {"small dodecahemidodecahedron", "10.5.10.5/4", Build(icosido, small, {{five, 5, 1, false}, {five, 10, 1, true}}), 30,
         60, 18, G::kIcosahedral, G::kHorizontal},
        {"great icosihemidodecahedron", "10/3.3.10/3.3/2", Build(icosido, great, {{threeI, 3, 1, false}, {five, 10, 3, true}}), 30,
         60, 26, G::kIcosahedral, G::kHorizontal},
        {"great dodecahemidodecahedron", "5/2.10/3.5/3.10/3", Build(icosido, great, {{five, 5, 2, false}, {five, 10, 3, true}}), 30,
         60, 18, G::kIcosahedral, G::kHorizontal},
        {"small dodecahemicosahedron", "5/2.6.5/3.6", Build(icosido, middle, {{five, 5, 2, false}, {threeI, 6, 1, true}}), 30,
         60, 22, G::kIcosahedral, G::kHorizontal},
        {"great dodecahemicosahedron", "6.5.6.5/4", Build(icosido, middle, {{five, 5, 1, false}, {threeI, 6, 1, true}}), 30,
         60, 22, G::kIcosahedral, G::kHorizontal},
    };
}

std::vector<StarPolyhedron> StarPolyhedra()
{
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    const std::vector<Vec3D>& icosa = FindSolid(solids, "icosahedron").points;     // edge 2
    const std::vector<Vec3D>& dodeca = FindSolid(solids, "dodecahedron").points;   // edge 2 / phi
    const std::vector<Vec3D>& icosido = FindSolid(solids, "icosidodecahedron").points;  // edge 1
    auto directions = [](const std::vector<Vec3D>& points) {
        std::vector<Vec3D> out = points;
        for (Vec3D& p : out)
            Vec3Normalize(p);
        return out;
    };
    const std::vector<Vec3D> icosaFive = directions(icosa), icosaThree = FaceNormals(icosa, 3);
    const std::vector<Vec3D> dodecaFive = FaceNormals(dodeca, 5), dodecaThree = directions(dodeca);
    const std::vector<Vec3D> five = FaceNormals(icosido, 5), three = FaceNormals(icosido, 3);
    return {
        {"small stellated dodecahedron", Build(icosa, 2 * kPhi, {{icosaFive, 5, 2, false}}), 12, 30, 12},
        {"great dodecahedron", Build(icosa, 2, {{icosaFive, 5, 1, false}}), 12, 30, 12},
        {"great icosahedron", Build(icosa, 2 * kPhi, {{icosaThree, 3, 1, false}}), 12, 30, 20},
        {"great stellated dodecahedron", Build(dodeca, 2 * kPhi, {{dodecaFive, 5, 2, false}}), 20, 30, 12},
        {"dodecadodecahedron", Build(icosido, kPhi, {{five, 5, 1, false}, {five, 5, 2, false}}), 30, 60, 24},
        {"great icosidodecahedron", Build(icosido, kPhi * kPhi, {{three, 3, 1, false}, {five, 5, 2, false}}), 30, 60,
         32},
        {"small ditrigonal icosidodecahedron", Build(dodeca, 2, {{dodecaThree, 3, 1, false}, {dodecaFive, 5, 2, false}}),
         20, 60, 32},
        {"ditrigonal dodecadodecahedron", Build(dodeca, 2, {{dodecaFive, 5, 1, false}, {dodecaFive, 5, 2, false}}), 20,
         60, 24},
    };
}
