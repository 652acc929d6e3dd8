#include "HemiPolyhedra.h"
#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

struct NamedSolid
{
    std::string name;
    FacedSolid solid;
    int v, e, f;
};

// The Platonic and Archimedean solids, and the prisms and antiprisms of 3 to 12 sides.
std::vector<NamedSolid> ConvexUniformSolids()
{
    std::vector<NamedSolid> out;
    std::vector<KnownSolid> known = PlatonicAndArchimedeanSolids();
    for (int n = 3; n <= 12; ++n)
    {
        known.push_back(Prism(n));
        known.push_back(Antiprism(n));
    }
    for (const KnownSolid& s : known)
        out.push_back(NamedSolid{s.name, ConvexSolid(s.points), s.v, s.e, s.f});
    return out;
}

// The prism over the regular star polygon {n/d}, with unit circumradius and all edges equal.
NamedSolid StarPrism(int n, int d)
{
    NamedSolid s{std::to_string(n) + "/" + std::to_string(d) + " prism", {}, 2 * n, 3 * n, n + 2};
    const double half = std::sin(kPi * d / n);
    for (double z : {half, -half})
    {
        for (int k = 0; k < n; ++k)
            s.solid.verts.push_back({std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n), z});
    }
    std::vector<int> top, bottom;
    for (int k = 0; k < n; ++k)
    {
        const int a = k * d % n, b = (k + 1) * d % n;
        top.push_back(a);
        bottom.insert(bottom.begin(), n + a);
        s.solid.faces.push_back({a, b, n + b, n + a});
    }
    s.solid.faces.push_back(top);
    s.solid.faces.push_back(bottom);
    return s;
}

// The antiprism over {n/d} (crossed for n/2 < d), unit circumradius, equilateral triangles.
NamedSolid StarAntiprism(int n, int d)
{
    NamedSolid s{std::to_string(n) + "/" + std::to_string(d) + " antiprism", {}, 2 * n, 4 * n, 2 * n + 2};
    const double edge = 2 * std::sin(kPi * d / n), offset = 2 * std::sin(kPi * d / (2 * n));
    const double half = std::sqrt(edge * edge - offset * offset) / 2;
    for (int k = 0; k < n; ++k)
        s.solid.verts.push_back({std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n), half});
    for (int k = 0; k < n; ++k)
        s.solid.verts.push_back({std::cos(2 * kPi * k / n + kPi * d / n), std::sin(2 * kPi * k / n + kPi * d / n), -half});
    std::vector<int> top, bottom;
    for (int k = 0; k < n; ++k)
    {
        const int a = k * d % n, b = (k + 1) * d % n;
        top.push_back(a);
        bottom.insert(bottom.begin(), n + a);
        s.solid.faces.push_back({a, b, n + a});
        s.solid.faces.push_back({n + a, n + b, b});
    }
    s.solid.faces.push_back(top);
    s.solid.faces.push_back(bottom);
    return s;
}

std::set<std::pair<int, int>> EdgeSet(const std::vector<std::vector<int>>& faces)
{
    std::set<std::pair<int, int>> edges;
    for (const std::vector<int>& face : faces)
    {
        for (size_t k = 0; k < face.size(); ++k)
        {
            const int a = face[k], b = face[(k + 1) % face.size()];
            edges.insert({std::min(a, b), std::max(a, b)});
        }
    }
    return edges;
}

// The live faces of a model as corner index lists.
std::vector<std::vector<int>> FacesOf(const SimplePoly& poly)
{
    std::vector<std::vector<int>> faces;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if (face.mFlags & E::kTemp)
            continue;
        std::vector<int> corners;
        for (int k = 0; k < face.mNum; ++k)
            corners.push_back(SimpleVert::GetIndex(face.GetVert(k)));
        faces.push_back(corners);
    }
    return faces;
}

std::set<int> AsSet(const std::vector<int>& corners)
{
    return std::set<int>(corners.begin(), corners.end());
}

bool HasSide(const std::vector<int>& face, int a, int b)
{
    for (size_t k = 0; k < face.size(); ++k)
    {
        const int p = face[k], q = face[(k + 1) % face.size()];
        if ((p == a && q == b) || (p == b && q == a))
            return true;
    }
    return false;
}

bool PassesThroughCentre(const FacedSolid& solid, const std::vector<int>& face)
{
    Vec3D n;
    Vec3Normal3(n, solid.verts[size_t(face[0])], solid.verts[size_t(face[1])], solid.verts[size_t(face[2])]);
    return std::fabs(Vec3Dot(n, solid.verts[size_t(face[0])])) < 1e-9;
}

// The dual's records against the polarity about the sphere of radius r: the vertex made from face
// i is the pole of its plane, and the face made from vertex j runs through the poles of the faces
// around j, in order around it. Faces through the centre give directions at infinity.
void ExpectReciprocal(const FacedSolid& source, const SimplePoly& dual, double r)
{
    const int nv = int(source.verts.size()), nf = int(source.faces.size());
    ASSERT_EQ(dual.mNumVerts, nf);
    ASSERT_EQ(dual.mNumFaces, nv);
    for (int i = 0; i < nf; ++i)
    {
        const std::vector<int>& face = source.faces[size_t(i)];
        const SimpleVert& pole = dual.mVerts[i];
        const bool atInfinity = PassesThroughCentre(source, face);
        EXPECT_EQ((pole.mFlags & E::kInf) != 0, atInfinity);
        if (atInfinity)
        {
            EXPECT_NEAR(Vec3Length(pole.mPos), 1.0, 1e-12);
        }
        for (int corner : face)
            EXPECT_NEAR(Vec3Dot(pole.mPos, source.verts[size_t(corner)]), atInfinity ? 0.0 : r * r, 1e-9);
    }
    const std::vector<std::vector<int>> dualFaces = FacesOf(dual);
    ASSERT_EQ(int(dualFaces.size()), nv);
    for (int j = 0; j < nv; ++j)
    {
        std::set<int> around;
        for (int i = 0; i < nf; ++i)
        {
            if (AsSet(source.faces[size_t(i)]).count(j))
                around.insert(i);
        }
        const std::vector<int>& fan = dualFaces[size_t(j)];
        EXPECT_EQ(AsSet(fan), around);
        ASSERT_EQ(fan.size(), around.size());
        // Consecutive faces of the fan meet along an edge from j.
        for (size_t k = 0; k < fan.size(); ++k)
        {
            const std::vector<int>& a = source.faces[size_t(fan[k])];
            const std::vector<int>& b = source.faces[size_t(fan[(k + 1) % fan.size()])];
            bool shared = false;
            for (int x = 0; x < nv && !shared; ++x)
                shared = x != j && HasSide(a, j, x) && HasSide(b, j, x);
            EXPECT_TRUE(shared) << "vertex " << j << " fan position " << k;
        }
    }
}

// The dual of the dual is the model again: the same vertices in the same order and the same
// faces, each through the corners it had.
void ExpectDualOfDualIsTheModel(const FacedSolid& solid, int e, double r)
{
    auto model = MakeModel(solid);
    auto dual = SimplePoly::CreateDual(model.get(), r);
    ASSERT_TRUE(dual);
    ExpectReciprocal(solid, *dual, r);
    EXPECT_EQ(int(EdgeSet(FacesOf(*dual)).size()), e);

    auto again = SimplePoly::CreateDual(dual.get(), r);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->mNumVerts, int(solid.verts.size()));
    ASSERT_EQ(again->mNumFaces, int(solid.faces.size()));
    for (int i = 0; i < again->mNumVerts; ++i)
    {
        EXPECT_FALSE(again->mVerts[i].mFlags & E::kInf);
        EXPECT_TRUE(Vec3Equal(again->mVerts[i].mPos, solid.verts[size_t(i)], kTol)) << "vertex " << i;
    }
    const std::vector<std::vector<int>> faces = FacesOf(*again);
    for (size_t f = 0; f < faces.size(); ++f)
    {
        const bool throughCentre = PassesThroughCentre(solid, solid.faces[f]);
        EXPECT_EQ(AsSet(faces[f]), AsSet(solid.faces[f])) << "face " << f;
        const SimpleFace& face = again->mFaces[int(f)];
        EXPECT_EQ((face.mFlags & E::kPlaneThroughCentre) != 0, throughCentre) << "face " << f;
        if (!throughCentre)
            continue;
        // Its normal is the direction of the vertex at infinity: across the face's plane.
        EXPECT_NEAR(Vec3Length(face.mNormal), 1.0, 1e-12);
        for (int corner : solid.faces[f])
            EXPECT_NEAR(Vec3Dot(face.mNormal, solid.verts[size_t(corner)]), 0.0, 1e-9);
    }
}

std::string JohnsonFile(int j)
{
    const std::string prefix = std::to_string(104 + j) + "-";
    for (const auto& entry : std::filesystem::directory_iterator(PolyhedraDir()))
    {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".off")
            return entry.path().string();
    }
    return std::string();
}
}  // namespace

TEST(SimplePolyDualTest, DualOfTheUnitCubeIsTheOctahedronAtRootThree)
{
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    const std::vector<std::vector<int>> faces = CubeFaces(cube.points);
    std::vector<Vec3D> unit = cube.points;
    for (Vec3D& p : unit)
        Vec3Scale(p, p, 1.0 / std::sqrt(3.0));
    auto model = MakeFacedPoly(unit, faces);
    auto octahedron = SimplePoly::CreateDual(model.get(), 1.0);
    ASSERT_TRUE(octahedron);
    ASSERT_EQ(octahedron->mNumVerts, 6);
    ASSERT_EQ(octahedron->mNumFaces, 8);
    // Face x = 1 (at distance 1/sqrt 3) gives the vertex (sqrt 3, 0, 0), and so on.
    const double root3 = std::sqrt(3.0);
    const Vec3D expected[6] = {{root3, 0, 0}, {-root3, 0, 0}, {0, root3, 0}, {0, -root3, 0}, {0, 0, root3}, {0, 0, -root3}};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(Vec3Equal(octahedron->mVerts[i].mPos, expected[i], 1e-12)) << i;
    for (int f = 0; f < 8; ++f)
    {
        const SimpleFace& face = octahedron->mFaces[f];
        ASSERT_EQ(face.mNum, 3);
        // One vertex on each axis: the face of the octahedron across the cube's corner f.
        std::set<int> axes;
        for (int k = 0; k < 3; ++k)
            axes.insert(SimpleVert::GetIndex(face.GetVert(k)) / 2);
        EXPECT_EQ(axes.size(), 3u);
        for (int k = 0; k < 3; ++k)
            EXPECT_GT(Vec3Dot(face.GetVert(k)->mPos, unit[size_t(f)]), 0.0);
    }
    EXPECT_EQ(EdgeSet(FacesOf(*octahedron)).size(), 12u);
}

TEST(SimplePolyDualTest, DualOfTheDualIsEveryConvexUniformSolidAgain)
{
    for (const NamedSolid& s : ConvexUniformSolids())
    {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(int(s.solid.verts.size()), s.v);
        ASSERT_EQ(int(s.solid.faces.size()), s.f);
        ExpectDualOfDualIsTheModel(s.solid, s.e, 1.0);
    }
    // Another radius scales the polarity.
    const NamedSolid icosidodecahedron = ConvexUniformSolids()[12];
    ASSERT_EQ(icosidodecahedron.name, "icosidodecahedron");
    ExpectDualOfDualIsTheModel(icosidodecahedron.solid, icosidodecahedron.e, 2.5);
}

TEST(SimplePolyDualTest, DualOfTheDualIsEveryStarPolyhedronAgain)
{
    for (const StarPolyhedron& s : StarPolyhedra())
    {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(int(s.solid.verts.size()), s.v);
        ASSERT_EQ(int(s.solid.faces.size()), s.f);
        EXPECT_EQ(int(EdgeSet(s.solid.faces).size()), s.e);
        ExpectDualOfDualIsTheModel(s.solid, s.e, 1.0);
    }
}

TEST(SimplePolyDualTest, DualOfTheDualIsEveryStarPrismAndAntiprismAgain)
{
    std::vector<NamedSolid> solids;
    for (const auto& [n, d] : {std::pair{5, 2}, {7, 2}, {7, 3}, {8, 3}})
        solids.push_back(StarPrism(n, d));
    for (const auto& [n, d] : {std::pair{5, 2}, {5, 3}, {7, 2}, {7, 3}, {7, 4}, {8, 3}, {8, 5}})
        solids.push_back(StarAntiprism(n, d));
    for (const NamedSolid& s : solids)
    {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(int(s.solid.verts.size()), s.v);
        ASSERT_EQ(int(s.solid.faces.size()), s.f);
        ASSERT_EQ(int(EdgeSet(s.solid.faces).size()), s.e);
        // All edges of one length.
        for (const auto& [a, b] : EdgeSet(s.solid.faces))
            EXPECT_NEAR(Vec3Distance(s.solid.verts[size_t(a)], s.solid.verts[size_t(b)]),
                        Vec3Distance(s.solid.verts[size_t(s.solid.faces[0][0])], s.solid.verts[size_t(s.solid.faces[0][1])]),
                        1e-12);
        ExpectDualOfDualIsTheModel(s.solid, s.e, 1.0);
    }
}

TEST(SimplePolyDualTest, DualOfTheDualIsEveryJohnsonSolidAgain)
{
    for (int j = 1; j <= 92; ++j)
    {
        SCOPED_TRACE("J" + std::to_string(j));
        FacedSolid solid;
        ASSERT_TRUE(ReadOff(JohnsonFile(j), solid));
        ExpectDualOfDualIsTheModel(solid, int(EdgeSet(solid.faces).size()), 1.0);
    }
}

TEST(SimplePolyDualTest, HemiFacesBecomeVerticesAtInfinityAndBack)
{
    for (const HemiPolyhedron& h : HemiPolyhedra())
    {
        SCOPED_TRACE(h.name);
        ASSERT_EQ(int(h.solid.faces.size()), h.f);
        int throughCentre = 0;
        for (const std::vector<int>& face : h.solid.faces)
            throughCentre += PassesThroughCentre(h.solid, face);
        ASSERT_GT(throughCentre, 0);

        auto model = MakeModel(h.solid);
        auto dual = SimplePoly::CreateDual(model.get(), 1.0);
        ASSERT_TRUE(dual);
        int atInfinity = 0;
        for (int i = 0; i < dual->mNumVerts; ++i)
            atInfinity += (dual->mVerts[i].mFlags & E::kInf) != 0;
        EXPECT_EQ(atInfinity, throughCentre);
        // The search tree finds each vertex, at infinity or not, where it is.
        for (int i = 0; i < dual->mNumVerts; ++i)
        {
            int next = dual->mNumVerts;
            const SimpleVert& v = dual->mVerts[i];
            const SimpleVert* found = dual->FindOrCreateVert(v.mPos, next, (v.mFlags & E::kInf) != 0);
            ASSERT_NE(found, nullptr);
            EXPECT_TRUE(found->SamePos(v));
            EXPECT_EQ(next, dual->mNumVerts);
        }
        ExpectDualOfDualIsTheModel(h.solid, h.e, 1.0);
    }
}

TEST(SimplePolyDualTest, SpecialElementsAndTheirPoles)
{
    // Vertex 0 is the centre, vertex 1 has no faces, face 1 has no corners (its plane point is
    // stored), face 2 runs within 1e-7 of the centre without being flagged so.
    SimplePoly model(5, 3);
    model.mVerts[0].SetPos({0, 0, 0});
    model.mVerts[1].SetPos({0, 0, 2});
    model.mVerts[2].SetPos({1, 0, 5e-8});
    model.mVerts[3].SetPos({0, 1, 5e-8});
    model.mVerts[4].SetPos({1, 1, 5e-8});
    SimpleFace& triangle = model.mFaces[0];
    triangle.SetNumVerts(3);
    for (int k = 0; k < 3; ++k)
        triangle.SetVert(k, &model.mVerts[k == 0 ? 0 : k + 1]);
    model.mFaces[1].SetNumVerts(0);
    model.mFaces[1].mNormal = {0, 4, 0};
    SimpleFace& flat = model.mFaces[2];
    flat.SetNumVerts(3);
    for (int k = 0; k < 3; ++k)
        flat.SetVert(k, &model.mVerts[k + 2]);
    flat.mNormal = {0, 0, 1};

    auto dual = SimplePoly::CreateDual(&model, 2.0);
    ASSERT_TRUE(dual);
    ASSERT_EQ(dual->mNumVerts, 3);
    ASSERT_EQ(dual->mNumFaces, 5);
    // A face through the centre (found so by its normal) is a vertex at infinity.
    EXPECT_TRUE(dual->mVerts[0].mFlags & E::kInf);
    // The empty face's pole: 4 (0, 4, 0) / 16.
    EXPECT_TRUE(Vec3Equal(dual->mVerts[1].mPos, Vec3D{0, 1, 0}, 1e-12));
    // Within 1e-7 of the centre but not flagged: the unit normal.
    EXPECT_FALSE(dual->mVerts[2].mFlags & E::kInf);
    EXPECT_TRUE(Vec3Equal(dual->mVerts[2].mPos, Vec3D{0, 0, 1}, 1e-12));
    // The centre becomes a face at infinity; a vertex without faces an empty face at its polar plane.
    EXPECT_TRUE(dual->mFaces[0].mFlags & E::kInf);
    EXPECT_TRUE(Vec3Equal(dual->mFaces[0].mNormal, Vec3D{}, 0.0));
    EXPECT_EQ(dual->mFaces[1].mNum, 0);
    EXPECT_TRUE(Vec3Equal(dual->mFaces[1].mNormal, Vec3D{0, 0, 2}, 1e-12));
    EXPECT_TRUE(dual->mFlags & P::kHasEmptyFaces);

    // And back: the face at infinity is the centre again, the empty face vertex 1.
    auto again = SimplePoly::CreateDual(dual.get(), 2.0);
    ASSERT_TRUE(again);
    ASSERT_GE(again->mNumVerts, 2);
    EXPECT_TRUE(Vec3Equal(again->mVerts[0].mPos, Vec3D{}, 0.0));
    EXPECT_TRUE(Vec3Equal(again->mVerts[1].mPos, Vec3D{0, 0, 2}, 1e-12));

    EXPECT_EQ(SimplePoly::CreateDual(nullptr, 1.0), nullptr);
}

TEST(SimplePolyDualTest, TempElementsAreLeftOutAndColoursTextsAndFourDCarried)
{
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    auto model = MakeFacedPoly(cube.points, CubeFaces(cube.points));
    model->mFlags |= P::kFrom4D;
    model->mFaces[2].mFlags |= E::kTemp;
    model->mFaces[4].mColor = 0x123456;
    model->mFaces[4].mBackColor = 0x654321;
    model->mFaces[4].SetText("top");
    model->mVerts[5].mColor = 0xABCDEF;
    model->mVerts[5].SetText("corner");
    auto dual = SimplePoly::CreateDual(model.get(), 1.0);
    ASSERT_TRUE(dual);
    EXPECT_TRUE(dual->mFlags & P::kFrom4D);
    ASSERT_EQ(dual->mNumVerts, 5);
    ASSERT_EQ(dual->mNumFaces, 8);
    // Face 4 of the model is vertex 3 of the dual; vertex 5 is face 5.
    EXPECT_EQ(dual->mVerts[3].mColor, 0x123456u);
    EXPECT_EQ(dual->mVerts[3].mBackColor, 0x654321u);
    EXPECT_EQ(dual->mVerts[3].mText, "top");
    EXPECT_EQ(dual->mFaces[5].mColor, 0xABCDEFu);
    EXPECT_EQ(dual->mFaces[5].mText, "corner");
    // Each corner of the cube lies on one face fewer where the Temp face was.
    int sides = 0;
    for (int f = 0; f < 8; ++f)
        sides += dual->mFaces[f].mNum;
    EXPECT_EQ(sides, 20);
}
