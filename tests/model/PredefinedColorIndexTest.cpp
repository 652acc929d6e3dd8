#include "kernel/ScriptedServices.h"
#include "model/PredefinedColorIndex.h"
#include "model/SymGroup.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

const double kPhi = (std::sqrt(5.0) + 1.0) / 2.0;

// The convex polyhedron on the points whose faces lie across the given outward directions: each
// face takes the points farthest along its direction, counterclockwise seen from outside.
PolySpec SolidAcross(const std::vector<Vec3D>& points, const std::vector<Vec3D>& normals)
{
    PolySpec spec;
    spec.verts = points;
    for (const Vec3D& n : normals)
    {
        double most = -1e300;
        for (const Vec3D& p : points)
            most = std::max(most, Vec3Dot(p, n));
        std::vector<int> corners;
        for (int i = 0; i < int(points.size()); ++i)
        {
            if (Vec3Dot(points[size_t(i)], n) > most - 1e-9)
                corners.push_back(i);
        }
        Vec3D u, v;
        Vec3Perpendicular(u, n);
        Vec3Normalize(u);
        Vec3Cross(v, n, u);
        std::sort(corners.begin(), corners.end(), [&](int a, int b) {
            const Vec3D& p = points[size_t(a)];
            const Vec3D& q = points[size_t(b)];
            return std::atan2(Vec3Dot(p, v), Vec3Dot(p, u)) < std::atan2(Vec3Dot(q, v), Vec3Dot(q, u));
        });
        spec.faces.push_back(corners);
    }
    return spec;
}

// Both ends of every axis of the class.
std::vector<Vec3D> BothEnds(const SymAxisSet& set)
{
    std::vector<Vec3D> ends;
    for (int i = 0; i < set.mNumAxes; ++i)
    {
        ends.push_back(set.mAxes[i].mDir);
        Vec3D far;
        Vec3Neg(far, set.mAxes[i].mDir);
        ends.push_back(far);
    }
    return ends;
}

std::vector<Vec3D> IcosahedronPoints()
{
    std::vector<Vec3D> p;
    for (double a : {-1.0, 1.0})
    {
        for (double b : {-kPhi, kPhi})
        {
            p.push_back({0, a, b});
            p.push_back({a, b, 0});
            p.push_back({b, 0, a});
        }
    }
    return p;
}

std::vector<Vec3D> DodecahedronPoints()
{
    std::vector<Vec3D> p;
    for (double a : {-1.0, 1.0})
    {
        for (double b : {-1.0, 1.0})
        {
            for (double c : {-1.0, 1.0})
                p.push_back({a, b, c});
            p.push_back({0, a * kPhi, b / kPhi});
            p.push_back({a / kPhi, 0, b * kPhi});
            p.push_back({a * kPhi, b / kPhi, 0});
        }
    }
    return p;
}

struct Coloured
{
    const Face* face;
    int index;
    int other;
};

std::vector<Coloured> ColourFaces(const Poly& poly, const SymGroup& g, uint32_t flags, int c)
{
    std::vector<Coloured> out;
    for (int i = 0; i < poly.mFaces.mCount; ++i)
    {
        const Face* f = poly.GetNthFace(i);
        int other = -2;
        const int index = GetPredefinedColorIndex(&g, flags, &g.mAxisSets[c], f, &other);
        out.push_back({f, index, other});
    }
    return out;
}

bool ShareAnEdge(const Face* a, const Face* b)
{
    int shared = 0;
    for (int i = 0; i < a->mNumSides; ++i)
        shared += b->HasNeighbour(a->mNeighbours[i]);
    return shared >= 2;
}

// Each colour used count times, no two faces with an edge in common alike, and each face's other
// index the colour of the face opposite it.
void ExpectProperColouring(const std::vector<Coloured>& faces, int colours, int count, int edges)
{
    std::map<int, int> uses;
    for (const Coloured& c : faces)
        ++uses[c.index];
    EXPECT_EQ(int(uses.size()), colours);
    for (const auto& [index, n] : uses)
    {
        EXPECT_GE(index, 0);
        EXPECT_LT(index, colours);
        EXPECT_EQ(n, count) << "colour " << index;
    }
    int adjacent = 0, opposite = 0;
    for (const Coloured& a : faces)
    {
        for (const Coloured& b : faces)
        {
            if (a.face == b.face)
                continue;
            if (ShareAnEdge(a.face, b.face))
            {
                ++adjacent;
                EXPECT_NE(a.index, b.index) << "faces " << a.face->mIndex << " and " << b.face->mIndex;
            }
            if (Vec3EqualNeg(a.face->mZAxis, b.face->mZAxis, 1e-9))
            {
                ++opposite;
                EXPECT_EQ(a.other, b.index);
            }
        }
    }
    EXPECT_EQ(adjacent, 2 * edges);
    EXPECT_EQ(opposite, int(faces.size()));
}

// A face of its own, given its outward normal.
Face* FaceWithNormal(Poly& poly, const Vec3D& normal)
{
    Face* f = new Face(&poly, nullptr, 3);
    f->mZAxis = normal;
    return f;
}
}  // namespace

TEST(PredefinedColorIndex, DodecahedralArrangementFourColoursTheDodecahedron)
{
    ScopedScriptedServices quiet;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    Poly poly;
    BuildPoly(poly, SolidAcross(DodecahedronPoints(), BothEnds(ico->mAxisSets[0])), false);
    ASSERT_EQ(poly.mFaces.mCount, 12);
    const std::vector<Coloured> faces = ColourFaces(poly, *ico, kDodecahedralArrangement1, 0);
    ExpectProperColouring(faces, 4, 3, 30);
    for (size_t i = 0; i < faces.size(); i += 2)
        EXPECT_NE(faces[i].index, faces[i + 1].index);  // opposite faces

    // Six colours: one per axis, both ends alike.
    const std::vector<Coloured> six = ColourFaces(poly, *ico, kDodecahedralArrangement2, 0);
    for (size_t i = 0; i < six.size(); ++i)
    {
        EXPECT_EQ(six[i].index, int(i / 2));
        EXPECT_EQ(six[i].other, int(i / 2));
    }
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
}

TEST(PredefinedColorIndex, IcosahedralArrangementsColourTheIcosahedron)
{
    ScopedScriptedServices quiet;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    Poly poly;
    BuildPoly(poly, SolidAcross(IcosahedronPoints(), BothEnds(ico->mAxisSets[1])), false);
    ASSERT_EQ(poly.mFaces.mCount, 20);

    // Five colours, the faces of each across the faces of a regular tetrahedron.
    const std::vector<Coloured> tetrahedra = ColourFaces(poly, *ico, kIcosahedralArrangement1, 1);
    ExpectProperColouring(tetrahedra, 5, 4, 30);
    for (const Coloured& a : tetrahedra)
    {
        for (const Coloured& b : tetrahedra)
        {
            if (a.face != b.face && a.index == b.index)
            {
                EXPECT_NEAR(Vec3Dot(a.face->mZAxis, b.face->mZAxis), -1.0 / 3.0, 1e-12);
            }
        }
    }

    // Five colours, opposite faces alike.
    const std::vector<Coloured> pairs = ColourFaces(poly, *ico, kIcosahedralArrangement2, 1);
    ExpectProperColouring(pairs, 5, 4, 30);
    for (size_t i = 0; i < pairs.size(); i += 2)
        EXPECT_EQ(pairs[i].index, pairs[i + 1].index);

    const std::vector<Coloured> ten = ColourFaces(poly, *ico, kIcosahedralArrangement3, 1);
    ExpectProperColouring(ten, 10, 2, 30);
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
}

// The faces across the 2-fold axes: each colour of the five gathers three mutually perpendicular
// axes (an inscribed octahedron's); of the rhombic dodecahedron's, the four around one 4-fold axis,
// or three faces at 120 degrees from each other.
TEST(PredefinedColorIndex, RhombicArrangementsGroupTheirAxes)
{
    ScopedScriptedServices quiet;
    Poly poly;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    std::map<int, std::vector<Vec3D>> octahedra;
    for (const Vec3D& n : BothEnds(ico->mAxisSets[2]))
    {
        Face* f = FaceWithNormal(poly, n);
        int other = -2;
        const int index = GetPredefinedColorIndex(ico.get(), kRhombicTriacontahedralArrangement1, &ico->mAxisSets[2], f,
                                                  &other);
        EXPECT_EQ(other, index);
        octahedra[index].push_back(n);
    }
    ASSERT_EQ(octahedra.size(), 5u);
    for (const auto& [index, normals] : octahedra)
    {
        ASSERT_EQ(normals.size(), 6u);
        for (const Vec3D& a : normals)
        {
            for (const Vec3D& b : normals)
            {
                const double d = Vec3Dot(a, b);
                EXPECT_TRUE(std::fabs(d) < 1e-12 || std::fabs(std::fabs(d) - 1.0) < 1e-12) << d;
            }
        }
    }

    std::unique_ptr<SymGroup> oct = SymGroup::Create(G::kOctahedral);
    std::map<int, std::vector<Vec3D>> zones, triangles;
    std::set<int> six;
    for (const Vec3D& n : BothEnds(oct->mAxisSets[2]))
    {
        Face* f = FaceWithNormal(poly, n);
        int other = -2;
        zones[GetPredefinedColorIndex(oct.get(), kRhombicDodecahedralArrangement1, &oct->mAxisSets[2], f, &other)]
            .push_back(n);
        const int index = GetPredefinedColorIndex(oct.get(), kRhombicDodecahedralArrangement2, &oct->mAxisSets[2], f,
                                                  &other);
        triangles[index].push_back(n);
        six.insert(GetPredefinedColorIndex(oct.get(), kRhombicDodecahedralArrangement3, &oct->mAxisSets[2], f, &other));
    }
    ASSERT_EQ(zones.size(), 3u);
    for (const auto& [index, normals] : zones)
    {
        ASSERT_EQ(normals.size(), 4u);
        // All across one coordinate axis: one component zero throughout.
        int zeroAxis = -1;
        for (int k = 0; k < 3; ++k)
        {
            if (std::all_of(normals.begin(), normals.end(), [k](const Vec3D& v) { return v[k] == 0.0; }))
                zeroAxis = k;
        }
        EXPECT_EQ(zeroAxis, index == 0 ? 2 : index == 1 ? 1 : 0);
    }
    ASSERT_EQ(triangles.size(), 4u);
    for (const auto& [index, normals] : triangles)
    {
        ASSERT_EQ(normals.size(), 3u);
        for (size_t a = 0; a < 3; ++a)
            EXPECT_NEAR(Vec3Dot(normals[a], normals[(a + 1) % 3]), -0.5, 1e-12);
    }
    EXPECT_EQ(six, (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
}

// The tables, end by end: + is the face the axis direction points to.
TEST(PredefinedColorIndex, TablesGiveEachEndItsIndex)
{
    ScopedScriptedServices quiet;
    struct Case
    {
        const char* name;
        uint32_t flag;
        int kind;
        int c;
        std::vector<int> plus;
        std::vector<int> minus;
    };
    const Case cases[] = {
        {"Dodecahedral 1", kDodecahedralArrangement1, G::kIcosahedral, 0, {0, 2, 1, 2, 3, 2}, {1, 3, 3, 0, 0, 1}},
        {"Dodecahedral 2", kDodecahedralArrangement2, G::kIcosahedral, 0, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {"Icosahedral 1",
         kIcosahedralArrangement1,
         G::kIcosahedral,
         1,
         {0, 1, 1, 2, 2, 0, 3, 4, 4, 2},
         {2, 3, 0, 3, 1, 3, 4, 1, 0, 4}},
        {"Icosahedral 2",
         kIcosahedralArrangement2,
         G::kIcosahedral,
         1,
         {0, 1, 2, 3, 0, 3, 4, 1, 2, 4},
         {0, 1, 2, 3, 0, 3, 4, 1, 2, 4}},
        {"Icosahedral 3",
         kIcosahedralArrangement3,
         G::kIcosahedral,
         1,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"Rhombic triacontahedral 1",
         kRhombicTriacontahedralArrangement1,
         G::kIcosahedral,
         2,
         {0, 0, 0, 1, 2, 3, 4, 3, 4, 1, 2, 4, 3, 2, 1},
         {0, 0, 0, 1, 2, 3, 4, 3, 4, 1, 2, 4, 3, 2, 1}},
        {"Rhombic triacontahedral 2",
         kRhombicTriacontahedralArrangement2,
         G::kIcosahedral,
         2,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
        {"Cubic", kCubicArrangement, G::kOctahedral, 0, {0, 1, 2}, {0, 1, 2}},
        {"Octahedral", kOctahedralArrangement, G::kOctahedral, 1, {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"Rhombic dodecahedral 1", kRhombicDodecahedralArrangement1, G::kOctahedral, 2, {0, 0, 1, 1, 2, 2},
         {0, 0, 1, 1, 2, 2}},
        {"Rhombic dodecahedral 2", kRhombicDodecahedralArrangement2, G::kOctahedral, 2, {0, 2, 1, 3, 2, 1},
         {1, 3, 2, 0, 0, 3}},
        {"Rhombic dodecahedral 3", kRhombicDodecahedralArrangement3, G::kOctahedral, 2, {0, 1, 2, 3, 4, 5},
         {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        // Turned, so that the face's normal and not a fixed frame decides the end.
        std::unique_ptr<SymGroup> g = SymGroup::Create(c.kind);
        Mat3 turn;
        turn.SetRotation(Vec3D{1, -2, 0.5}, 0.9);
        g->Rotate(turn);
        const SymAxisSet& set = g->mAxisSets[c.c];
        ASSERT_EQ(size_t(set.mNumAxes), c.plus.size());
        Poly poly;
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            Vec3D far;
            Vec3Neg(far, set.mAxes[i].mDir);
            int other = -2;
            EXPECT_EQ(GetPredefinedColorIndex(g.get(), c.flag, &set, FaceWithNormal(poly, set.mAxes[i].mDir), &other),
                      c.plus[size_t(i)])
                << "axis " << i << " +";
            EXPECT_EQ(other, c.minus[size_t(i)]);
            EXPECT_EQ(GetPredefinedColorIndex(g.get(), c.flag, &set, FaceWithNormal(poly, far), &other),
                      c.minus[size_t(i)])
                << "axis " << i << " -";
            EXPECT_EQ(other, c.plus[size_t(i)]);
        }
    }
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
}

TEST(PredefinedColorIndex, NoArrangementNoIndex)
{
    ScopedScriptedServices quiet;
    Poly poly;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    std::unique_ptr<SymGroup> oct = SymGroup::Create(G::kOctahedral);
    std::unique_ptr<SymGroup> tet = SymGroup::Create(G::kTetrahedral);
    Face* onFive = FaceWithNormal(poly, ico->mAxisSets[0].mAxes[2].mDir);
    Face* onFour = FaceWithNormal(poly, oct->mAxisSets[0].mAxes[1].mDir);
    Face* onThree = FaceWithNormal(poly, tet->mAxisSets[0].mAxes[0].mDir);
    int other = -2;
    // No arrangement bit, no class, an arrangement of another class or group kind.
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), 0xfff, &ico->mAxisSets[0], onFive, &other), -1);
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), kDodecahedralArrangement1, nullptr, onFive, &other), -1);
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), kIcosahedralArrangement1 | kCubicArrangement, &ico->mAxisSets[0],
                                      onFive, &other),
              -1);
    EXPECT_EQ(GetPredefinedColorIndex(oct.get(), kDodecahedralArrangement1, &oct->mAxisSets[0], onFour, &other), -1);
    EXPECT_EQ(GetPredefinedColorIndex(tet.get(), kSpecialArrangements, &tet->mAxisSets[0], onThree, &other), -1);
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
    // The bits of the other classes of the same group do not disturb this one.
    EXPECT_EQ(GetPredefinedColorIndex(oct.get(), kSpecialArrangements & ~kRhombicDodecahedralArrangement1 &
                                                     ~kRhombicDodecahedralArrangement2,
                                      &oct->mAxisSets[0], onFour, &other),
              1);
}

TEST(PredefinedColorIndex, FaceOffTheClassAxesIsAnIllegalAxis)
{
    ScopedScriptedServices scripted;
    Poly poly;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    // On a 3-fold axis, asked about the 5-fold class.
    Face* f = FaceWithNormal(poly, ico->mAxisSets[1].mAxes[0].mDir);
    int other = -2;
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), kDodecahedralArrangement1, &ico->mAxisSets[0], f, &other), -1);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scripted.services.LastCall()->text, "GetPredefinedColorIndex: Illegal axis");
}

TEST(PredefinedColorIndex, CoincidentFaceLendsItsAxis)
{
    ScopedScriptedServices scripted;
    Poly poly;
    std::unique_ptr<SymGroup> ico = SymGroup::Create(G::kIcosahedral);
    const SymAxis& axis = ico->mAxisSets[0].mAxes[3];
    // A face without a plane of its own, in a ring with one on the axis's + end.
    Face* bare = FaceWithNormal(poly, Vec3D{});
    Face* placed = FaceWithNormal(poly, axis.mDir);
    bare->mNextCoplanar = placed;
    placed->mNextCoplanar = bare;
    int other = -2;
    // Its own normal is not the axis direction: the - end.
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), kDodecahedralArrangement1, &ico->mAxisSets[0], bare, &other), 0);
    EXPECT_EQ(other, 2);
    EXPECT_EQ(GetPredefinedColorIndex(ico.get(), kDodecahedralArrangement1, &ico->mAxisSets[0], placed, &other), 2);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    bare->mNextCoplanar = nullptr;
    placed->mNextCoplanar = nullptr;
}
