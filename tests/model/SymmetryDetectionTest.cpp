#include "HemiPolyhedra.h"
#include "JohnsonSolids.h"
#include "SolidModels.h"
#include "SolidPoints.h"
#include "SymmetryChecks.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/PolyTemplate.h"
#include "model/SimpEdgeType.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/SymmetryDetection.h"
#include "model/VertexFans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;
using G = SymGroup;

const std::vector<Vec3D>& SolidPointsOf(const std::string& name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return FindSolid(solids, name).points;
}

// The solid turned at random, scaled and moved off the centre, as a file might give it.
std::unique_ptr<SimplePoly> Displaced(FacedSolid solid, unsigned seed, double scale = 3.7)
{
    solid.verts = Transformed(solid.verts, RandomRotation(seed), scale, {0.3, -1.1, 0.6});
    return MakeModel(solid);
}

// Each face around v shares an edge at v with the next one, the last with the first.
bool FanIsCycle(const SimpleVert& v)
{
    auto shares = [&](const SimpleFace& f, const SimpleFace& g) {
        for (int p = f.IndexInList(&v, -1); p >= 0; p = f.IndexInList(&v, p))
        {
            for (const SimpleElem* x : {f.mList[(p + 1) % f.mNum], f.mList[(p + f.mNum - 1) % f.mNum]})
            {
                for (int q = g.IndexInList(&v, -1); q >= 0; q = g.IndexInList(&v, q))
                {
                    if (g.mList[(q + 1) % g.mNum] == x || g.mList[(q + g.mNum - 1) % g.mNum] == x)
                        return true;
                }
            }
        }
        return false;
    };
    for (int i = 0; i < v.mNum; ++i)
    {
        if (!shares(*v.GetFace(i), *v.GetFace((i + 1) % v.mNum)))
            return false;
    }
    return true;
}

int CountTypes(const SimplePoly& poly, bool faces)
{
    int n = 0;
    const int count = faces ? poly.mNumFaces : poly.mNumVerts;
    for (int i = 0; i < count; ++i)
    {
        const SimpleElem* e = faces ? static_cast<const SimpleElem*>(&poly.mFaces[i]) : &poly.mVerts[i];
        if (e->mFlags & E::kTemp)
            continue;
        // Count each ring at its lowest index.
        bool first = true;
        for (const SimpleElem* r = e->mNextOfType; r != e; r = r->mNextOfType)
        {
            EXPECT_EQ(r->mId, e->mId);
            first = first && r->GetIndex() > i;
        }
        n += first;
    }
    return n;
}

// The side counts of a vertex configuration, in order ("5/2.6.5/3.6" gives 5, 6, 5, 6).
std::vector<int> SidesOf(const std::string& configuration)
{
    std::vector<int> sides;
    size_t at = 0;
    while (at < configuration.size())
    {
        sides.push_back(std::stoi(configuration.substr(at)));
        at = configuration.find('.', at);
        at = at == std::string::npos ? configuration.size() : at + 1;
    }
    return sides;
}

// Whether the sequence is the cyclic one read from some start, either way round.
bool SameCycle(const std::vector<int>& a, const std::vector<int>& b)
{
    const size_t n = a.size();
    if (b.size() != n)
        return false;
    for (size_t start = 0; start < n; ++start)
    {
        bool forward = true, backward = true;
        for (size_t i = 0; i < n; ++i)
        {
            forward = forward && a[i] == b[(start + i) % n];
            backward = backward && a[i] == b[(start + n - i) % n];
        }
        if (forward || backward)
            return true;
    }
    return false;
}

}  // namespace

TEST(SymmetryDetectionTest, IcosahedronFromPointsAndFaces)
{
    auto poly = Displaced(ConvexSolid(SolidPointsOf("icosahedron")), 21);
    SymmetryDetection detection(*poly);
    ASSERT_TRUE(detection.Prepare());
    EXPECT_EQ(detection.FindFaceAxes(), 10);
    EXPECT_EQ(detection.FindVertexAxes(), 6);
    EXPECT_EQ(detection.FindEdgeAxes(), 15);
    int orders[6] = {};
    for (const FoundAxis* a = detection.Found().mFirst; a; a = a->next)
        ++orders[std::min(a->mOrder, 5)];
    EXPECT_EQ(orders[5], 6);
    EXPECT_EQ(orders[3], 10);
    EXPECT_EQ(orders[2], 15);

    bool reflection = false;
    auto group = detection.Finish(reflection);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->mKind, G::kIcosahedral);
    EXPECT_EQ(group->mOrder, 60);
    EXPECT_TRUE(reflection);
    EXPECT_EQ(group->mReflection, G::kHorizontal);
    EXPECT_EQ(CountOperations(*group, true), 120);
    // Aligned: every vertex of the unit-radius model on a five-fold axis of the standard group.
    EXPECT_NEAR(poly->GetRadius(), 1.0, 1e-12);
    const SymAxisSet& fives = group->mAxisSets[0];
    ASSERT_EQ(fives.mOrder, 5);
    for (int i = 0; i < poly->mNumVerts; ++i)
    {
        bool onAxis = false;
        for (int a = 0; a < fives.mNumAxes; ++a)
        {
            onAxis = onAxis || Vec3Equal(poly->mVerts[i].mPos, fives.mAxes[a].mDir, 1e-9) ||
                     Vec3EqualNeg(poly->mVerts[i].mPos, fives.mAxes[a].mDir, 1e-9);
        }
        EXPECT_TRUE(onAxis) << "vertex " << i;
    }
    EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
    EXPECT_EQ(CountTypes(*poly, false), 1);
    EXPECT_EQ(CountTypes(*poly, true), 1);
    EXPECT_TRUE(poly->mFlags & P::kSortedFaceLists);
}

TEST(SymmetryDetectionTest, GroupsFromTheAxesFound)
{
    struct Case
    {
        const char* name;
        FacedSolid solid;
        int kind;
        int n;
        int reflection;
    };
    std::vector<Vec3D> box;
    for (int s = 0; s < 8; ++s)
        box.push_back({s & 1 ? 1.0 : -1.0, s & 2 ? 2.0 : -2.0, s & 4 ? 3.0 : -3.0});
    FacedSolid pyramid;
    ASSERT_TRUE(ReadOff(JohnsonFile(2), pyramid));
    const Case kCases[] = {
        {"box: three 2-fold axes", ConvexSolid(box), G::kDihedral, 2, G::kHorizontal},
        {"pentagonal pyramid: one 5-fold axis", pyramid, G::kPyramidal, 5, G::kVertical},
        {"snub cube", ConvexSolid(SolidPointsOf("snub cube")), G::kOctahedral, 4, G::kChiral},
        {"tetrahedron", ConvexSolid(SolidPointsOf("tetrahedron")), G::kTetrahedral, 3, G::kDiagonal},
        {"truncated icosidodecahedron", ConvexSolid(SolidPointsOf("truncated icosidodecahedron")), G::kIcosahedral,
         5, G::kHorizontal},
        {"heptagonal antiprism", ConvexSolid(Antiprism(7).points), G::kDihedral, 7, G::kVertical},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto poly = Displaced(c.solid, 5);
        bool reflection = false;
        auto group = poly->FindSymmetries(reflection);
        ASSERT_TRUE(group);
        EXPECT_TRUE(scripted.services.calls.empty());
        EXPECT_EQ(group->mKind, c.kind);
        EXPECT_EQ(group->MainOrder(), c.n);
        EXPECT_EQ(group->mReflection, c.reflection);
        EXPECT_EQ(reflection, c.reflection != G::kChiral);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
    }

    // The box lies along the axes: every corner at (+-a, +-b, +-c) for one a, b, c.
    auto boxModel = Displaced(ConvexSolid(box), 6);
    bool reflection = false;
    ASSERT_TRUE(boxModel->FindSymmetries(reflection));
    const Vec3D& first = boxModel->mVerts[0].mPos;
    for (int i = 0; i < boxModel->mNumVerts; ++i)
    {
        const Vec3D& p = boxModel->mVerts[i].mPos;
        EXPECT_NEAR(std::fabs(p.x), std::fabs(first.x), 1e-9);
        EXPECT_NEAR(std::fabs(p.y), std::fabs(first.y), 1e-9);
        EXPECT_NEAR(std::fabs(p.z), std::fabs(first.z), 1e-9);
    }

    // The pyramid stands on the main axis with its apex up.
    auto pyramidModel = Displaced(pyramid, 7);
    ASSERT_TRUE(pyramidModel->FindSymmetries(reflection));
    int apexes = 0;
    for (int i = 0; i < pyramidModel->mNumVerts; ++i)
    {
        const SimpleVert& v = pyramidModel->mVerts[i];
        if (v.mNum != 5)
            continue;
        ++apexes;
        EXPECT_NEAR(v.mPos.x, 0.0, 1e-9);
        EXPECT_NEAR(v.mPos.z, 0.0, 1e-9);
        EXPECT_GT(v.mPos.y, 0.5);
    }
    EXPECT_EQ(apexes, 1);
}

TEST(SymmetryDetectionTest, WithoutAxesNothingIsMerged)
{
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Vec3D> points;
    for (int i = 0; i < 14; ++i)
        points.push_back({u(rng), 1.3 * u(rng), 0.7 * u(rng)});
    auto poly = MakeModel(ConvexSolid(points));
    bool reflection = true;
    auto group = poly->FindSymmetries(reflection);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->mKind, G::kNoSymmetry);
    EXPECT_EQ(group->mReflection, G::kChiral);
    EXPECT_FALSE(reflection);
    for (int i = 0; i < poly->mNumVerts; ++i)
    {
        EXPECT_EQ(poly->mVerts[i].mId, i);
        EXPECT_EQ(poly->mVerts[i].mNextOfType, &poly->mVerts[i]);
    }
    for (int i = 0; i < poly->mNumFaces; ++i)
    {
        EXPECT_EQ(poly->mFaces[i].mId, i);
        EXPECT_EQ(poly->mFaces[i].mNextOfType, &poly->mFaces[i]);
        EXPECT_EQ(poly->mFaces[i].mNextCoincident, &poly->mFaces[i]);
    }
    // It stands on its largest hull face: the one whose corners add up to the longest vector.
    auto hull = CreateConvexHull(poly.get(), 0);
    ASSERT_TRUE(hull);
    const SimpleFace* largest = nullptr;
    for (int i = 0; i < hull->mNumFaces; ++i)
    {
        if (!largest || Vec3LengthSq(hull->mFaces[i].GetVertexSum()) > Vec3LengthSq(largest->GetVertexSum()))
            largest = &hull->mFaces[i];
    }
    ASSERT_NE(largest, nullptr);
    EXPECT_TRUE(Vec3Equal(largest->mNormal, {0, -1, 0}, 1e-9));
}

TEST(SymmetryDetectionTest, FlagsKeepPlaceSizeAndOrientation)
{
    const FacedSolid ico = ConvexSolid(SolidPointsOf("icosahedron"));
    const Vec3D offset{0.3, -1.1, 0.6};
    const double scale = 3.7;
    const double radius = scale * std::sqrt(1.0 + 1.618033988749895 * 1.618033988749895);

    // KeepOrientation: the model is only centred and scaled; the group turns onto it.
    {
        auto poly = Displaced(ico, 31, scale);
        std::vector<Vec3D> before;
        for (int i = 0; i < poly->mNumVerts; ++i)
            before.push_back(poly->mVerts[i].mPos);
        poly->mFlags |= P::kKeepOrientation;
        bool reflection = false;
        auto group = poly->FindSymmetries(reflection);
        ASSERT_TRUE(group);
        EXPECT_EQ(group->mKind, G::kIcosahedral);
        for (int i = 0; i < poly->mNumVerts; ++i)
        {
            Vec3D expected;
            Vec3Sub(expected, before[size_t(i)], offset);
            Vec3Scale(expected, expected, 1.0 / radius);
            EXPECT_TRUE(Vec3Equal(poly->mVerts[i].mPos, expected, 1e-9));
        }
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
    }
    // KeepRadius: the size stays; KeepRealSize: the scale takes the factor, unless it was 1.
    struct SizeCase
    {
        const char* name;
        uint32_t flags;
        double modelScale;
        double radiusAfter;
        double scaleFactor;
    };
    const SizeCase kSizes[] = {
        {"plain", 0, scale, 1.0, 1.0},
        {"keep radius", P::kKeepRadius, scale, radius, 1.0},
        {"keep real size", P::kKeepRealSize, scale, 1.0, radius},
        {"keep real size at radius 1", P::kKeepRealSize, 1.0 / std::sqrt(1.0 + 1.618033988749895 * 1.618033988749895),
         1.0, 1.0},
    };
    for (const SizeCase& c : kSizes)
    {
        SCOPED_TRACE(c.name);
        auto poly = Displaced(ico, 32, c.modelScale);
        poly->mFlags |= c.flags;
        const double scaleBefore = poly->mScale;
        bool reflection = false;
        ASSERT_TRUE(poly->FindSymmetries(reflection));
        EXPECT_NEAR(poly->GetRadius(), c.radiusAfter, 1e-9);
        EXPECT_NEAR(poly->mScale, scaleBefore * c.scaleFactor, 1e-9);
    }
    // KeepCentre: the symmetry is sought about the origin, where an icosahedron moved along a
    // five-fold axis keeps only that axis and the mirrors through it.
    {
        FacedSolid moved = ico;
        Vec3D axis = moved.verts[0];
        for (Vec3D& p : moved.verts)
            Vec3AddScaledTo(p, 0.25, axis);
        auto poly = MakeModel(moved);
        poly->mFlags |= P::kKeepCentre;
        bool reflection = false;
        auto group = poly->FindSymmetries(reflection);
        ASSERT_TRUE(group);
        EXPECT_EQ(group->mKind, G::kPyramidal);
        EXPECT_EQ(group->MainOrder(), 5);
        EXPECT_EQ(group->mReflection, G::kVertical);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
    }
}

TEST(SymmetryDetectionTest, EveryJohnsonSolidGetsItsPublishedGroup)
{
    for (int j = 1; j <= 92; ++j)
    {
        SCOPED_TRACE("J" + std::to_string(j) + " " + JohnsonGroup(j));
        FacedSolid solid;
        ASSERT_TRUE(ReadOff(JohnsonFile(j), solid));
        auto poly = Displaced(solid, unsigned(100 + j));
        const int numVerts = poly->mNumVerts;
        ScopedScriptedServices scripted;
        bool reflection = false;
        auto group = poly->FindSymmetries(reflection);
        ASSERT_TRUE(group);
        EXPECT_TRUE(scripted.services.calls.empty());
        const GroupName expected = FromSchoenflies(JohnsonGroup(j));
        EXPECT_EQ(group->mKind, expected.kind);
        EXPECT_EQ(group->MainOrder(), expected.n);
        EXPECT_EQ(group->mOrder, expected.order);
        EXPECT_EQ(group->mReflection, expected.reflection);
        EXPECT_EQ(reflection, expected.reflection != G::kChiral);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
        // The fans are whole and nothing was split.
        EXPECT_EQ(poly->mNumVerts, numVerts);
        EXPECT_TRUE(poly->mFlags & P::kSortedFaceLists);
        for (int i = 0; i < poly->mNumVerts; ++i)
            EXPECT_TRUE(FanIsCycle(poly->mVerts[i]));
    }
}

TEST(SymmetryDetectionTest, HemipolyhedraPairEverySlot)
{
    for (const HemiPolyhedron& h : HemiPolyhedra())
    {
        SCOPED_TRACE(h.name);
        ASSERT_EQ(int(h.solid.faces.size()), h.f);
        // The coordinates are those of the vertex configuration: its solved template has the same
        // edge for a unit circumradius.
        PolyTemplate templ;
        ASSERT_TRUE(templ.Parse(h.configuration.c_str(), false));
        const std::vector<int>& face0 = h.solid.faces[0];
        const double edge = Vec3Distance(h.solid.verts[size_t(face0[0])], h.solid.verts[size_t(face0[1])]);
        EXPECT_NEAR(edge / Vec3Length(h.solid.verts[0]), templ.mEdgeLength / templ.mRadius, 1e-9);
        auto poly = Displaced(h.solid, 41);
        ASSERT_EQ(poly->mNumVerts, h.v);
        ScopedScriptedServices scripted;
        bool reflection = false;
        auto group = poly->FindSymmetries(reflection);
        ASSERT_TRUE(group);
        EXPECT_TRUE(scripted.services.calls.empty());
        EXPECT_EQ(group->mKind, h.kind);
        EXPECT_EQ(group->mReflection, h.reflection);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *poly));
        EXPECT_EQ(poly->mNumVerts, h.v);
        const std::vector<int> sides = SidesOf(h.configuration);
        for (int i = 0; i < poly->mNumVerts; ++i)
        {
            const SimpleVert& v = poly->mVerts[i];
            EXPECT_TRUE(FanIsCycle(v));
            std::vector<int> around;
            for (int k = 0; k < v.mNum; ++k)
                around.push_back(v.GetFace(k)->mNum);
            EXPECT_TRUE(SameCycle(around, sides)) << "vertex " << i;
        }
        // Faces through the centre have had their normals oriented.
        int hemi = 0;
        for (int i = 0; i < poly->mNumFaces; ++i)
        {
            if (poly->mFaces[i].mFlags & E::kPlaneThroughCentre)
            {
                ++hemi;
                EXPECT_TRUE(poly->mFaces[i].mFlags & E::kNormalOriented);
            }
        }
        EXPECT_GT(hemi, 0);

        // The edge types once more, to look at their pairing.
        poly->mFlags &= ~P::kSortedFaceLists;
        EdgeTypeList types(CreateEdgeTypes(*poly, *group));
        ASSERT_TRUE(types);
        ASSERT_TRUE(TraverseEdgeTypes(*poly, types.get()));
        int edges = 0;
        for (const SimpEdgeType* t = types.get(); t; t = t->mNext)
        {
            for (int s = 0; s < t->mNumFaces; ++s)
            {
                const int p = t->mSlots[s].mPartner;
                ASSERT_GE(p, 0);
                EXPECT_EQ(t->mSlots[p].mPartner, s);
            }
            for (const EdgeInstance* i = t->mFirstInstance; i; i = i->mNext)
                ++edges;
        }
        EXPECT_EQ(edges, h.e);
    }
}

TEST(SymmetryDetectionTest, TetrahedraSharingAnEdgeKeepTheirOwnFans)
{
    // Two regular tetrahedra on the edge from (0, 0, -1) to (0, 0, 1): four faces at that edge, two
    // of them in one plane on either side.
    const double r = std::sqrt(2.0);
    FacedSolid s;
    s.verts = {{0, 0, 1}, {0, 0, -1}, {r, 1, 0}, {r, -1, 0}, {-r, 1, 0}, {-r, -1, 0}};
    s.faces = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}, {0, 1, 4}, {0, 5, 1}, {0, 4, 5}, {1, 5, 4}};
    auto poly = Displaced(s, 51);
    ScopedScriptedServices scripted;
    bool reflection = false;
    auto group = poly->FindSymmetries(reflection);
    ASSERT_TRUE(group);
    EXPECT_TRUE(scripted.services.calls.empty());
    EXPECT_EQ(group->mKind, G::kDihedral);
    EXPECT_EQ(group->MainOrder(), 2);
    // Both ends of the shared edge split, each new vertex with one tetrahedron's fan.
    ASSERT_EQ(poly->mNumVerts, 8);
    for (int i = 0; i < poly->mNumVerts; ++i)
    {
        const SimpleVert& v = poly->mVerts[i];
        ASSERT_EQ(v.mNum, 3);
        EXPECT_TRUE(FanIsCycle(v));
        const bool firstTetra = v.GetFace(0)->GetIndex() < 4;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(v.GetFace(k)->GetIndex() < 4, firstTetra);
    }
}

TEST(SymmetryDetectionTest, VerticesKeptApartAreToldApartByTheirFaces)
{
    // After a split the vertices in one place stay apart: a second run only links them, and the
    // rotations still find the same group, each apex going onto the one with matching faces.
    const double r = std::sqrt(2.0);
    FacedSolid s;
    s.verts = {{0, 0, 1}, {0, 0, -1}, {r, 1, 0}, {r, -1, 0}, {-r, 1, 0}, {-r, -1, 0}};
    s.faces = {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}, {0, 1, 4}, {0, 5, 1}, {0, 4, 5}, {1, 5, 4}};
    auto poly = Displaced(s, 52);
    bool reflection = false;
    auto first = poly->FindSymmetries(reflection);
    ASSERT_TRUE(first);
    ASSERT_EQ(poly->mNumVerts, 8);
    poly->ResetCoincidence();
    auto second = poly->FindSymmetries(reflection);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->mKind, first->mKind);
    EXPECT_EQ(second->MainOrder(), first->MainOrder());
    EXPECT_EQ(second->mReflection, first->mReflection);
    EXPECT_EQ(poly->mNumVerts, 8);
    // The two ends of the shared edge are two vertices each, linked in rings of two; the others alone.
    int paired = 0;
    for (int i = 0; i < poly->mNumVerts; ++i)
    {
        const SimpleVert& v = poly->mVerts[i];
        EXPECT_FALSE(v.mFlags & E::kTemp);
        EXPECT_EQ(v.mNum, 3);
        if (v.mNextCoincident == &v)
            continue;
        ++paired;
        EXPECT_EQ(v.mNextCoincident->mNextCoincident, &v);
        EXPECT_TRUE(v.SamePos(*v.mNextCoincident));
    }
    EXPECT_EQ(paired, 4);
    EXPECT_TRUE(GroupMapsModelOntoItself(*second, *poly));
}

TEST(SymmetryDetectionTest, AModelAlreadyInPlaceIsNotTurned)
{
    // The cube of corners (+-1)^3 at unit radius already meets the octahedral group's axes.
    std::vector<Vec3D> corners = SolidPointsOf("cube");
    for (Vec3D& p : corners)
        Vec3Scale(p, p, 1.0 / std::sqrt(3.0));
    auto poly = MakeModel(ConvexSolid(corners));
    bool reflection = false;
    auto group = poly->FindSymmetries(reflection);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->mKind, G::kOctahedral);
    for (int i = 0; i < poly->mNumVerts; ++i)
        EXPECT_TRUE(Vec3Equal(poly->mVerts[i].mPos, corners[size_t(i)], 1e-15));
}

TEST(SymmetryDetectionTest, GeodesicSphereHasTheIcosahedronsGroup)
{
    auto base = MakeModel(ConvexSolid(SolidPointsOf("icosahedron")));
    auto sphere = SimplePoly::Subdivide(*base, SimplePoly::kGeodesic, 6);
    ASSERT_TRUE(sphere);
    ASSERT_EQ(sphere->mNumFaces, 720);
    bool reflection = false;
    auto group = sphere->FindSymmetries(reflection);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->mKind, G::kIcosahedral);
    EXPECT_EQ(group->mReflection, G::kHorizontal);
    EXPECT_TRUE(GroupMapsModelOntoItself(*group, *sphere));
    // With 6 parts per edge the centres and edge midpoints of the icosahedron's faces are vertices:
    // no face lies on an axis, so the 720 faces fall into 12 orbits of 60. The 362 vertices: the 12
    // five-fold, 20 three-fold and 30 two-fold points, and 300 in 5 free orbits.
    EXPECT_EQ(CountTypes(*sphere, true), 12);
    EXPECT_EQ(CountTypes(*sphere, false), 3 + 5);
}

TEST(SymmetryDetectionTest, InvalidModelsGiveNoGroup)
{
    // Nothing to take candidate axes from.
    auto flat = MakeFacedPoly({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}, {3, 2, 1, 0}});
    bool reflection = true;
    EXPECT_FALSE(flat->FindSymmetries(reflection));
    EXPECT_FALSE(reflection);

    // A fin on an edge of a tetrahedron: the fans cannot be walked.
    FacedSolid finned;
    finned.verts = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}, {3, 3, -3}};
    finned.faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}, {0, 1, 4}};
    auto poly = MakeModel(finned);
    ScopedScriptedServices scripted;
    EXPECT_FALSE(poly->FindSymmetries(reflection));
    EXPECT_GE(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_FALSE(poly->mFlags & P::kSortedFaceLists);
}
