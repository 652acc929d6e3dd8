#include "SolidModels.h"

#include "SolidPoints.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"

#include <cmath>
#include <fstream>
#include <random>

FacedSolid ConvexSolid(const std::vector<Vec3D>& points)
{
    FacedSolid solid{points, {}};
    auto source = MakePointPoly(points);
    auto hull = CreateConvexHull(source.get(), 0);
    if (!hull)
        return solid;
    for (int f = 0; f < hull->mNumFaces; ++f)
    {
        const SimpleFace& face = hull->mFaces[f];
        if (face.mFlags & SimpleElem::kTemp)
            continue;
        std::vector<int> corners;
        for (int k = 0; k < face.mNum; ++k)
            corners.push_back(face.GetVert(k)->GetIndex());
        solid.faces.push_back(corners);
    }
    return solid;
}

std::unique_ptr<SimplePoly> MakeModel(const FacedSolid& solid)
{
    return MakeFacedPoly(solid.verts, solid.faces);
}

bool ReadOff(const std::string& path, FacedSolid& out)
{
    std::ifstream in(path);
    std::string magic;
    int numVerts = 0, numFaces = 0, numEdges = 0;
    if (!(in >> magic >> numVerts >> numFaces >> numEdges) || magic != "OFF" || numVerts <= 0 || numFaces <= 0)
        return false;
    out.verts.assign(size_t(numVerts), Vec3D());
    for (Vec3D& p : out.verts)
    {
        if (!(in >> p.x >> p.y >> p.z))
            return false;
    }
    out.faces.assign(size_t(numFaces), {});
    for (std::vector<int>& face : out.faces)
    {
        int n = 0;
        if (!(in >> n) || n < 3)
            return false;
        face.resize(size_t(n));
        for (int& i : face)
        {
            if (!(in >> i) || i < 0 || i >= numVerts)
                return false;
        }
    }
    return true;
}

std::string PolyhedraDir()
{
    return ORVANE_POLYHEDRA_DIR;
}

Mat3 RandomRotation(unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal;
    double q[4], len = 0.0;
    for (double& c : q)
    {
        c = normal(rng);
        len += c * c;
    }
    len = std::sqrt(len);
    const double w = q[0] / len, x = q[1] / len, y = q[2] / len, z = q[3] / len;
    Mat3 m;
    m.SetRows({1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
              {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
              {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)});
    return m;
}

std::vector<Vec3D> Transformed(const std::vector<Vec3D>& points, const Mat3& m, double scale, const Vec3D& offset)
{
    std::vector<Vec3D> out;
    out.reserve(points.size());
    for (const Vec3D& p : points)
    {
        Vec3D q;
        m.Transform(q, p);
        Vec3Scale(q, q, scale);
        Vec3AddTo(q, offset);
        out.push_back(q);
    }
    return out;
}
