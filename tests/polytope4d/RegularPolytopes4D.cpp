#include "RegularPolytopes4D.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace
{
double Distance(const Vec4D& a, const Vec4D& b)
{
    Vec4D d;
    Vec4Sub(d, a, b);
    return Vec4Length(d);
}
}  // namespace

std::vector<Vec4D> SimplexVerts4D()
{
    const double s = 1.0 / std::sqrt(5.0);
    return {{1, 1, 1, -s}, {1, -1, -1, -s}, {-1, 1, -1, -s}, {-1, -1, 1, -s}, {0, 0, 0, 4 * s}};
}

std::vector<Vec4D> CrossPolytopeVerts4D()
{
    std::vector<Vec4D> verts;
    for (int axis = 0; axis < 4; ++axis)
        for (double sign : {1.0, -1.0})
        {
            Vec4D v;
            v[axis] = sign;
            verts.push_back(v);
        }
    return verts;
}

std::vector<Vec4D> Verts24Cell()
{
    std::vector<Vec4D> verts;
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (double sa : {1.0, -1.0})
                for (double sb : {1.0, -1.0})
                {
                    Vec4D v;
                    v[a] = sa;
                    v[b] = sb;
                    verts.push_back(v);
                }
    return verts;
}

std::vector<Vec4D> Verts600Cell()
{
    std::vector<Vec4D> verts = CrossPolytopeVerts4D();
    for (int bits = 0; bits < 16; ++bits)
        verts.push_back({bits & 1 ? 0.5 : -0.5, bits & 2 ? 0.5 : -0.5, bits & 4 ? 0.5 : -0.5, bits & 8 ? 0.5 : -0.5});
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    const double values[4] = {phi / 2.0, 0.5, 0.5 / phi, 0.0};
    std::array<int, 4> perm = {0, 1, 2, 3};
    do
    {
        int inversions = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                inversions += perm[size_t(i)] > perm[size_t(j)];
        if (inversions % 2 != 0)
            continue;
        for (int signs = 0; signs < 8; ++signs)
        {
            Vec4D v;
            for (int k = 0; k < 3; ++k)
                v[perm[size_t(k)]] = signs & (1 << k) ? -values[k] : values[k];
            v[perm[3]] = 0.0;
            verts.push_back(v);
        }
    } while (std::next_permutation(perm.begin(), perm.end()));
    return verts;
}

PolytopeSpec4D TriangleSpec4D(const std::vector<Vec4D>& verts, double edge, bool withCells)
{
    PolytopeSpec4D spec;
    spec.verts = verts;
    const int n = int(verts.size());
    auto adjacent = [&](int i, int j) { return std::fabs(Distance(verts[size_t(i)], verts[size_t(j)]) - edge) < 1e-6; };
    auto neighbours = std::vector<std::vector<int>>(size_t(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (i != j && adjacent(i, j))
                neighbours[size_t(i)].push_back(j);
    std::map<std::array<int, 3>, int> faceIndex;
    for (int i = 0; i < n; ++i)
        for (int j : neighbours[size_t(i)])
            for (int k : neighbours[size_t(j)])
                if (i < j && j < k && adjacent(i, k))
                {
                    faceIndex[{i, j, k}] = int(spec.faces.size());
                    spec.faces.push_back({i, j, k});
                }
    if (!withCells)
        return spec;
    for (const auto& [tri, index] : faceIndex)
        for (int l : neighbours[size_t(tri[2])])
            if (l > tri[2] && adjacent(tri[0], l) && adjacent(tri[1], l))
                spec.cells.push_back({index, faceIndex.at({tri[0], tri[1], l}), faceIndex.at({tri[0], tri[2], l}),
                                      faceIndex.at({tri[1], tri[2], l})});
    return spec;
}

PolytopeSpec4D TesseractSpec(double half, bool withCells)
{
    PolytopeSpec4D spec;
    for (int bits = 0; bits < 16; ++bits)
    {
        Vec4D v;
        for (int axis = 0; axis < 4; ++axis)
            v[axis] = bits & (1 << axis) ? half : -half;
        spec.verts.push_back(v);
    }
    // The square in axes a, b at fixed values of the other two, corners in boundary order.
    std::map<std::array<int, 3>, int> squareAt;  // (a, b, bits of the fixed axes) -> face
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (int fixed = 0; fixed < 16; ++fixed)
            {
                if (fixed & ((1 << a) | (1 << b)))
                    continue;
                squareAt[{a, b, fixed}] = int(spec.faces.size());
                spec.faces.push_back({fixed, fixed | (1 << a), fixed | (1 << a) | (1 << b), fixed | (1 << b)});
            }
    if (!withCells)
        return spec;
    // The cube at w = +-half (and likewise for every axis) holds the squares whose fixed axes
    // include that one at that value.
    for (int axis = 0; axis < 4; ++axis)
        for (int value = 0; value < 2; ++value)
        {
            std::vector<int> cell;
            for (const auto& [key, index] : squareAt)
            {
                const int a = key[0], b = key[1], fixed = key[2];
                if (a != axis && b != axis && ((fixed >> axis) & 1) == value)
                    cell.push_back(index);
            }
            spec.cells.push_back(cell);
        }
    return spec;
}

void AddSpec(Polytope4D& p, const PolytopeSpec4D& spec)
{
    const int firstVert = p.mNumVerts;
    const int firstFace = p.mNumFaces;
    for (const Vec4D& v : spec.verts)
        p.NewVert(&v);
    for (const std::vector<int>& corners : spec.faces)
    {
        Face4D* face = p.NewFace(int(corners.size()));
        for (size_t k = 0; k < corners.size(); ++k)
            face->SetVert(int(k), p.GetVert(firstVert + corners[k]));
    }
    for (const std::vector<int>& faces : spec.cells)
    {
        Cell4D* cell = p.NewCell(int(faces.size()));
        for (size_t k = 0; k < faces.size(); ++k)
            cell->SetFace(int(k), p.GetFace(firstFace + faces[k]));
    }
}
