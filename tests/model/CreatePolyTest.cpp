#include "HemiPolyhedra.h"
#include "JohnsonSolids.h"
#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "library/LibraryEntry.h"
#include "model/Face.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/ModelBuildSuspension.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
using P = SimplePoly;
using G = SymGroup;

const char* const kNotValid = "The polyhedron you want to create\ndoes not appear to be valid.";

// The model scale is a program-wide setting that CreatePoly writes.
class CreatePolyTest : public ::testing::Test
{
protected:
    void SetUp() override { mSavedScale = GetUnitSettings().GetScale(); }
    void TearDown() override { GetUnitSettings().SetScale(mSavedScale, false); }

private:
    double mSavedScale = 1.0;
};

FacedSolid Cube()
{
    std::vector<Vec3D> corners;
    for (int x : {-1, 1})
        for (int y : {-1, 1})
            for (int z : {-1, 1})
                corners.push_back(Vec3D{double(x), double(y), double(z)});
    return FacedSolid{corners, CubeFaces(corners)};
}

FacedSolid Box(double a, double b, double c)
{
    FacedSolid box = Cube();
    for (Vec3D& p : box.verts)
        p = Vec3D{p.x * a, p.y * b, p.z * c};
    return box;
}

// The solid turned at random, scaled and moved off the centre, as a file might give it.
std::unique_ptr<SimplePoly> Displaced(FacedSolid solid, unsigned seed, double scale = 3.7)
{
    solid.verts = Transformed(solid.verts, RandomRotation(seed), scale, {0.3, -1.1, 0.6});
    return MakeModel(solid);
}

int CountSides(const FacedSolid& solid)
{
    int sides = 0;
    for (const std::vector<int>& f : solid.faces)
        sides += int(f.size());
    return sides;
}

// Every face lists the vertex that lists it, both ways, as often as each lists the other.
bool NeighboursAgree(const Poly& poly)
{
    auto count = [](const FaceVert* e, const FaceVert* n) {
        int c = 0;
        for (int k = 0; k < e->mNumSides; ++k)
            c += e->mNeighbours[k] == n;
        return c;
    };
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        for (int k = 0; k < f->mNumSides; ++k)
        {
            const FaceVert* v = f->mNeighbours[k];
            if (!v || v->mList != &poly.mVerts || count(v, f) != count(f, v))
                return false;
        }
    }
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        for (int k = 0; k < v->mNumSides; ++k)
        {
            const FaceVert* f = v->mNeighbours[k];
            if (!f || f->mList != &poly.mFaces || count(f, v) != count(v, f))
                return false;
        }
    }
    return true;
}

// Consecutive faces round each vertex share the edge from that vertex: the fan is in cyclic order.
bool VertexFansAreCycles(const Poly& poly)
{
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        for (int k = 0; k < v->mNumSides; ++k)
        {
            const FaceVert* f = v->mNeighbours[k];
            const FaceVert* g = v->mNeighbours[(k + 1) % v->mNumSides];
            bool shared = false;
            for (int i = 0; i < f->mNumSides && !shared; ++i)
            {
                if (f->mNeighbours[i] != v)
                    continue;
                const FaceVert* next = f->mNeighbours[(i + 1) % f->mNumSides];
                const FaceVert* prev = f->mNeighbours[(i + f->mNumSides - 1) % f->mNumSides];
                shared = (next != v && g->HasNeighbour(next)) || (prev != v && g->HasNeighbour(prev));
            }
            if (!shared)
                return false;
        }
    }
    return true;
}

// Pole and polar about the sphere of radius R: an element's point and the foot of its plane lie
// on one line through the centre, and the product of their distances is R squared.
void ExpectPolesAndPolars(const Poly& poly)
{
    const double rSq = poly.mMidRadius * poly.mMidRadius;
    for (const ElemList* list : {static_cast<const ElemList*>(&poly.mFaces), static_cast<const ElemList*>(&poly.mVerts)})
    {
        for (const FaceVert* e = list->mFirst; e; e = e->mNext)
        {
            if (e->mFlags & (FaceVert::kHemi | FaceVert::kInf))
                continue;
            EXPECT_NEAR(Vec3Dot(e->mPoint, e->mCentre), rSq, 1e-9 * (1.0 + rSq)) << "element " << e->mIndex;
            Vec3D cross;
            Vec3Cross(cross, e->mPoint, e->mCentre);
            EXPECT_NEAR(Vec3Length(cross), 0.0, 1e-9) << "element " << e->mIndex;
        }
    }
}

// The frame of every face: unit x in the plane, y = normal x x.
void ExpectFaceFrames(const Poly& poly)
{
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_NEAR(Vec3Length(f->mZAxis), 1.0, 1e-9);
        EXPECT_NEAR(Vec3Length(f->mXAxis), 1.0, 1e-9);
        EXPECT_NEAR(Vec3Dot(f->mXAxis, f->mZAxis), 0.0, 1e-9);
        Vec3D y;
        Vec3Cross(y, f->mZAxis, f->mXAxis);
        EXPECT_TRUE(Vec3Equal(y, f->mYAxis, 1e-7));
        for (int k = 0; k < f->mNumSides; ++k)
            EXPECT_NEAR(Vec3Dot(f->mNeighbours[k]->mPoint, f->mZAxis), Vec3Dot(f->mCentre, f->mZAxis), 1e-9);
    }
}

// A fin on an edge of a tetrahedron: no valid polyhedron.
std::unique_ptr<SimplePoly> FinnedTetrahedron()
{
    FacedSolid finned;
    finned.verts = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}, {3, 3, -3}};
    finned.faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}, {0, 1, 4}};
    return MakeModel(finned);
}

int GroupOrder(const SymGroup* group)
{
    return group ? group->mOrder * (group->mReflection == G::kChiral ? 1 : 2) : 0;
}

struct Snapshot
{
    int numVerts = 0;
    int numFaces = 0;
    std::string name;
    double midRadius = 0.0;
    std::vector<Vec3D> points;
};

Snapshot Take(const Poly& poly)
{
    Snapshot s{poly.mVerts.mCount, poly.mFaces.mCount, poly.mBaseName, poly.mMidRadius, {}};
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        s.points.push_back(v->mPoint);
    return s;
}

void ExpectSame(const Snapshot& a, const Poly& poly)
{
    const Snapshot b = Take(poly);
    EXPECT_EQ(a.numVerts, b.numVerts);
    EXPECT_EQ(a.numFaces, b.numFaces);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.midRadius, b.midRadius);
    ASSERT_EQ(a.points.size(), b.points.size());
    for (size_t i = 0; i < a.points.size(); ++i)
        EXPECT_TRUE(Vec3Equal(a.points[i], b.points[i], 0.0));
}

int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 10000;  // every step is late enough to show the window and pump it
}
}  // namespace

TEST_F(CreatePolyTest, ReciprocationRadiusIsTheGeometricMeanOfEdgeLineDistances)
{
    const double third = 1.0 / std::sqrt(3.0);
    struct Case
    {
        const char* name;
        FacedSolid solid;
        double expected;
    };
    FacedSolid tetra;
    tetra.verts = {{third, third, third}, {third, -third, -third}, {-third, third, -third}, {-third, -third, third}};
    tetra.faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}};
    const Case cases[] = {
        // The cube's midradius at unit circumradius.
        {"unit-circumradius cube", Box(third, third, third), std::sqrt(2.0 / 3.0)},
        {"unit-circumradius tetrahedron", tetra, third},
        // Edges along x lie sqrt(b^2 + c^2) from the centre, and so on: the mean is geometric.
        {"3 x 2 x 1 box", Box(3, 2, 1), std::cbrt(std::sqrt(5.0) * std::sqrt(10.0) * std::sqrt(13.0))},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto poly = MakeModel(c.solid);
        EXPECT_NEAR(poly->GetReciprocationRadius(), c.expected, 1e-12);
    }
}

TEST_F(CreatePolyTest, ReciprocationRadiusWithoutUsableEdgesIsFinite)
{
    // Every edge line passes through the centre: no distance to average.
    auto onALine = MakeFacedPoly({{1, 0, 0}, {-2, 0, 0}, {3, 0, 0}}, {{0, 1, 2}});
    EXPECT_DOUBLE_EQ(onALine->GetReciprocationRadius(), 3.0);
    auto atTheCentre = MakeFacedPoly({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {{0, 1, 2}});
    EXPECT_DOUBLE_EQ(atTheCentre->GetReciprocationRadius(), 1.0);
    auto noFaces = MakePointPoly({{0, 2, 0}, {0, 0, 1}});
    EXPECT_DOUBLE_EQ(noFaces->GetReciprocationRadius(), 2.0);
}

TEST_F(CreatePolyTest, CubeGetsPolesAtRSquaredOverDAndAnOctahedronForDual)
{
    auto source = Displaced(Cube(), 7);
    Poly poly;
    ASSERT_TRUE(CreatePoly(source.get(), &poly, false, true));
    EXPECT_FALSE(IsModelBuildSuspended());
    ASSERT_EQ(poly.mVerts.mCount, 8);
    ASSERT_EQ(poly.mFaces.mCount, 6);
    ASSERT_TRUE(poly.GetSymGroup());
    EXPECT_EQ(poly.GetSymGroup()->mKind, G::kOctahedral);
    EXPECT_EQ(GroupOrder(poly.GetSymGroup()), 48);
    EXPECT_TRUE(poly.mReflexible);

    // Unit circumradius: R is the midradius, the faces lie 1/sqrt(3) from the centre.
    const double r = std::sqrt(2.0 / 3.0);
    const double d = 1.0 / std::sqrt(3.0);
    EXPECT_NEAR(poly.mMidRadius, r, 1e-12);
    const double pole = r * r / d;  // 2/sqrt(3)
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_EQ(f->mNumSides, 4);
        // Aligned with the group: each face is across a coordinate axis.
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            axis = std::fabs(f->mZAxis[a]) > std::fabs(f->mZAxis[axis]) ? a : axis;
        Vec3D expected;
        expected[axis] = f->mZAxis[axis] > 0 ? pole : -pole;
        EXPECT_TRUE(Vec3Equal(f->mPoint, expected, 1e-12));
        Vec3D foot;
        foot[axis] = f->mZAxis[axis] > 0 ? d : -d;
        EXPECT_TRUE(Vec3Equal(f->mCentre, foot, 1e-12));
    }
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        EXPECT_EQ(v->mNumSides, 3);
        EXPECT_NEAR(Vec3Length(v->mPoint), 1.0, 1e-12);
        Vec3D foot;
        Vec3Scale(foot, v->mPoint, r * r);
        EXPECT_TRUE(Vec3Equal(v->mCentre, foot, 1e-12));
    }
    EXPECT_TRUE(NeighboursAgree(poly));
    EXPECT_TRUE(VertexFansAreCycles(poly));
    ExpectFaceFrames(poly);

    // The dual side: six vertices on the axes at 2/sqrt(3), eight equilateral triangles.
    auto dual = poly.CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr);
    ASSERT_TRUE(dual);
    ASSERT_EQ(dual->mNumVerts, 6);
    ASSERT_EQ(dual->mNumFaces, 8);
    for (int i = 0; i < dual->mNumVerts; ++i)
    {
        const Vec3D& p = dual->mVerts[i].mPos;
        EXPECT_NEAR(Vec3Length(p), pole, 1e-12);
        EXPECT_EQ(int(p.x != 0.0) + int(p.y != 0.0) + int(p.z != 0.0), 1);
    }
    for (int f = 0; f < dual->mNumFaces; ++f)
    {
        const SimpleFace& face = dual->mFaces[f];
        ASSERT_EQ(face.mNum, 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(Vec3Distance(face.GetVert(k)->mPos, face.GetVert((k + 1) % 3)->mPos), pole * std::sqrt(2.0),
                        1e-12);
    }
    Poly octahedron;
    ASSERT_TRUE(CreatePoly(dual.get(), &octahedron, false, true));
    EXPECT_EQ(octahedron.mVerts.mCount, 6);
    EXPECT_EQ(octahedron.mFaces.mCount, 8);
    EXPECT_EQ(octahedron.GetSymGroup()->mKind, G::kOctahedral);
    EXPECT_EQ(GroupOrder(octahedron.GetSymGroup()), 48);
}

TEST_F(CreatePolyTest, HemiFacesHavePolesAtInfinity)
{
    for (const HemiPolyhedron& h : HemiPolyhedra())
    {
        SCOPED_TRACE(h.name);
        auto source = Displaced(h.solid, 31);
        Poly poly;
        ASSERT_TRUE(CreatePoly(source.get(), &poly, false, true));
        EXPECT_EQ(poly.mVerts.mCount, h.v);
        EXPECT_EQ(poly.mFaces.mCount, h.f);
        EXPECT_EQ(poly.mNumEdges, h.e);
        EXPECT_TRUE(poly.mHasPointsAtInfinity);
        int hemi = 0;
        for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        {
            // Across the centre exactly when the face is hemi.
            double distance = 0.0;
            for (int k = 0; k < f->mNumSides; ++k)
                distance = std::max(distance, std::fabs(Vec3Dot(f->mNeighbours[k]->mPoint, f->mZAxis)));
            if (!(f->mFlags & FaceVert::kHemi))
            {
                EXPECT_GT(distance, 1e-3);
                continue;
            }
            ++hemi;
            EXPECT_LT(distance, 1e-9);
            EXPECT_TRUE(Vec3Equal(f->mCentre, Vec3D{}, 0.0));
            EXPECT_TRUE(Vec3Equal(f->mPoint, f->mZAxis, 0.0));
            EXPECT_NEAR(Vec3Length(f->mPoint), 1.0, 1e-12);
        }
        EXPECT_GT(hemi, 0);
        ExpectPolesAndPolars(poly);
        EXPECT_TRUE(NeighboursAgree(poly));
    }
}

TEST_F(CreatePolyTest, EveryJohnsonSolidHasItsCountsAndGroup)
{
    for (int j = 1; j <= 92; ++j)
    {
        SCOPED_TRACE("J" + std::to_string(j) + " " + JohnsonGroup(j));
        FacedSolid solid;
        ASSERT_TRUE(ReadOff(JohnsonFile(j), solid));
        auto source = Displaced(solid, unsigned(300 + j));
        ScopedScriptedServices scripted;
        Poly poly;
        ASSERT_TRUE(CreatePoly(source.get(), &poly, false, true));
        EXPECT_TRUE(scripted.services.calls.empty());
        EXPECT_EQ(poly.mVerts.mCount, int(solid.verts.size()));
        EXPECT_EQ(poly.mFaces.mCount, int(solid.faces.size()));
        const GroupName expected = FromSchoenflies(JohnsonGroup(j));
        const SymGroup* group = poly.GetSymGroup();
        ASSERT_TRUE(group);
        EXPECT_EQ(group->mKind, expected.kind);
        EXPECT_EQ(GroupOrder(group), expected.order * (expected.reflection == G::kChiral ? 1 : 2));
        EXPECT_EQ(poly.mReflexible, expected.reflection != G::kChiral);
        // Convex: Euler's formula gives the edges.
        const int numEdges = int(solid.verts.size() + solid.faces.size()) - 2;
        EXPECT_EQ(poly.mNumEdges, numEdges);
        int typed = 0;
        for (const EdgeType& t : poly.mEdgeTypes)
            typed += t.mCount;
        EXPECT_EQ(typed, numEdges);
        EXPECT_TRUE(NeighboursAgree(poly));
        EXPECT_TRUE(VertexFansAreCycles(poly));
        ExpectPolesAndPolars(poly);
        ExpectFaceFrames(poly);
        EXPECT_GT(poly.mMidRadius, 0.0);
    }
}

TEST_F(CreatePolyTest, RoundTripKeepsCountsGroupAndPositions)
{
    struct Case
    {
        std::string name;
        FacedSolid solid;
    };
    std::vector<Case> cases;
    for (const KnownSolid& s : PlatonicAndArchimedeanSolids())
        cases.push_back({s.name, ConvexSolid(s.points)});
    for (int n : {3, 5, 8})
    {
        cases.push_back({"prism " + std::to_string(n), ConvexSolid(Prism(n).points)});
        cases.push_back({"antiprism " + std::to_string(n), ConvexSolid(Antiprism(n).points)});
    }
    for (const HemiPolyhedron& h : HemiPolyhedra())
        cases.push_back({h.name, h.solid});
    for (const StarPolyhedron& s : StarPolyhedra())
        cases.push_back({s.name, s.solid});
    for (int j = 1; j <= 92; ++j)
    {
        FacedSolid solid;
        ASSERT_TRUE(ReadOff(JohnsonFile(j), solid));
        cases.push_back({"J" + std::to_string(j), solid});
    }

    for (size_t i = 0; i < cases.size(); ++i)
    {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        auto source = Displaced(c.solid, unsigned(500 + i));
        Poly first;
        ASSERT_TRUE(CreatePoly(source.get(), &first, false, true));
        auto back = first.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
        ASSERT_TRUE(back);
        Poly second;
        ASSERT_TRUE(CreatePoly(back.get(), &second, true, true));

        EXPECT_EQ(second.mVerts.mCount, first.mVerts.mCount);
        EXPECT_EQ(second.mFaces.mCount, first.mFaces.mCount);
        EXPECT_EQ(second.mNumEdges, first.mNumEdges);
        EXPECT_EQ(first.mNumEdges, CountSides(c.solid) / 2);
        ASSERT_TRUE(first.GetSymGroup() && second.GetSymGroup());
        EXPECT_EQ(second.GetSymGroup()->mKind, first.GetSymGroup()->mKind);
        EXPECT_EQ(second.GetSymGroup()->MainOrder(), first.GetSymGroup()->MainOrder());
        EXPECT_EQ(second.GetSymGroup()->mReflection, first.GetSymGroup()->mReflection);
        EXPECT_EQ(GroupOrder(second.GetSymGroup()), GroupOrder(first.GetSymGroup()));
        ASSERT_EQ(second.mVerts.mCount, first.mVerts.mCount);
        const FaceVert* b = second.mVerts.mFirst;
        for (const FaceVert* a = first.mVerts.mFirst; a && b; a = a->mNext, b = b->mNext)
            EXPECT_TRUE(Vec3Equal(a->mPoint, b->mPoint, kTol)) << "vertex " << a->mIndex;
        for (const FaceVert* f = second.mFaces.mFirst; f; f = f->mNext)
            EXPECT_EQ(f->mNumSides, first.GetNthFace(f->mIndex)->mNumSides);
        EXPECT_NEAR(second.mMidRadius, first.mMidRadius, kTol);
    }
}

TEST_F(CreatePolyTest, NamesScaleSelectionAndElementAttributesCarryOver)
{
    auto source = Displaced(Cube(), 11, 2.5);
    source->mFlags |= P::kKeepRealSize;
    source->SetName("Box");
    source->SetDualName("Its dual");
    source->SetComments("made by hand");
    source->SetLink("https://example.org/box");
    source->mVerts[2].mColor = 0x0000ff;  // red
    source->mVerts[2].mFlags |= SimpleElem::kHidden;
    source->mVerts[2].SetText("corner");
    source->mFaces[4].mColor = 0xff0000;  // blue
    source->mFaces[4].mOpacity = 0.5f;
    source->mSelectedFace = &source->mFaces[3];
    const double scaleBefore = source->mScale;
    Poly poly;
    ASSERT_TRUE(CreatePoly(source.get(), &poly, true, true));
    EXPECT_STREQ(poly.GetBaseName(), "Box");
    EXPECT_STREQ(poly.GetDualName(), "Its dual");
    EXPECT_STREQ(poly.GetComments(), "made by hand");
    EXPECT_STREQ(poly.GetLink(), "https://example.org/box");
    // The model's circumradius was 2.5 sqrt(3): the real size lives on in the model scale.
    EXPECT_NEAR(GetUnitSettings().GetScale(), scaleBefore * 2.5 * std::sqrt(3.0), 1e-9);

    const FaceVert* v = poly.GetNthVert(2);
    ColorRGB red;
    ColorFromRGB(red, 0x0000ff);
    EXPECT_EQ(v->mColor.r, red.r);
    EXPECT_EQ(v->mColor.g, red.g);
    EXPECT_TRUE(v->mFlags & FaceVert::kHidden);
    EXPECT_STREQ(v->GetText(), "corner");
    EXPECT_EQ(poly.mVerts.mNumTexts, 1);
    const FaceVert* f = poly.GetNthFace(4);
    EXPECT_EQ(f->mColor.b, 1.0f);
    EXPECT_FLOAT_EQ(f->mOpacity, 0.5f);
    EXPECT_EQ(poly.mFaces.mNumTranslucent, 1);
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, poly.GetNthFace(3));
    for (const FaceVert* e = poly.mFaces.mFirst; e; e = e->mNext)
        EXPECT_EQ(e->mPoly, &poly);
}

TEST_F(CreatePolyTest, InvalidModelLeavesThePreviousModel)
{
    Poly poly;
    auto cube = Displaced(Cube(), 3);
    cube->SetName("Cube");
    ASSERT_TRUE(CreatePoly(cube.get(), &poly, false, true));
    const Snapshot before = Take(poly);

    EXPECT_FALSE(CreatePoly(nullptr, &poly, false, true));
    EXPECT_FALSE(CreatePoly(cube.get(), nullptr, false, true));

    auto invalid = FinnedTetrahedron();
    ScopedScriptedServices scripted;
    EXPECT_FALSE(CreatePoly(invalid.get(), &poly, false, true));
    const ScriptedServices::Call* last = scripted.services.LastCall("MessageBox");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text, kNotValid);
    EXPECT_FALSE(IsModelBuildSuspended());
    EXPECT_FALSE(InProgress());
    ExpectSame(before, poly);
}

TEST_F(CreatePolyTest, CancelLeavesThePreviousModel)
{
    Poly poly;
    auto cube = Displaced(Cube(), 5);
    cube->SetName("Cube");
    ASSERT_TRUE(CreatePoly(cube.get(), &poly, false, true));
    const Snapshot before = Take(poly);

    FacedSolid solid;
    ASSERT_TRUE(ReadOff(JohnsonFile(1), solid));
    const ProgressClock previous = SetProgressClock(FakeClock);
    bool built = false;
    for (int pump = 0; pump < 100 && !built; ++pump)
    {
        SCOPED_TRACE("cancel at pump " + std::to_string(pump));
        ScopedScriptedServices scripted;
        scripted.services.cancelAtPump = pump;
        auto pyramid = Displaced(solid, 9);
        pyramid->SetName("Pyramid");
        built = CreatePoly(pyramid.get(), &poly, false, true);
        EXPECT_FALSE(IsModelBuildSuspended());
        EXPECT_FALSE(InProgress());
        if (built)
            break;
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
        // Before the analysis the old model is whole; a cancel inside it leaves no half model.
        if (poly.mVerts.mCount == before.numVerts)
            ExpectSame(before, poly);
        else
            EXPECT_EQ(poly.mFaces.mCount + poly.mVerts.mCount, 0);
        if (pump < 6)
            ExpectSame(before, poly);
    }
    SetProgressClock(previous);
    ASSERT_TRUE(built);
    EXPECT_EQ(poly.mVerts.mCount, 5);
    EXPECT_EQ(poly.mFaces.mCount, 5);
    EXPECT_STREQ(poly.GetBaseName(), "Pyramid");
}

namespace
{
// Records the undo and transition requests and serves a document with one model record.
class DocumentShell : public Shell
{
public:
    std::vector<std::string> calls;
    ModelRecordList records;
    int preparedPreset = -1;

    void AddUndo(int kind, bool) override { calls.push_back("Undo " + std::to_string(kind)); }
    void DiscardLastUndo() override { calls.push_back("DiscardUndo"); }
    void RefreshDocument(int) override { calls.push_back("Refresh"); }
    void* PrepareTransitionOfType(int preset) override
    {
        calls.push_back("Prepare " + std::to_string(preset));
        ModelRecord* kept = records.mCurrent;
        records.mCurrent = records.NewRecord();
        return kept;
    }
    void StartTransitionOfType(int preset, double, void*, bool, bool) override
    {
        calls.push_back("Start " + std::to_string(preset));
    }
    void AbandonTransition(void* kept) override
    {
        calls.push_back("Abandon");
        records.DeleteRecord(records.mCurrent);
        records.mCurrent = static_cast<ModelRecord*>(kept);
    }
};
}  // namespace

TEST_F(CreatePolyTest, SetModelFromSimplePolyAbandonsAFailedChange)
{
    DocumentShell shell;
    ScopedShell installed(&shell);
    SetDocumentModelRecords(&shell.records);
    shell.records.mCurrent = shell.records.NewRecord();
    ModelRecord* original = shell.records.mCurrent;

    // Undo kind 0 has a transition preset: the new model goes into a new record.
    auto cube = Displaced(Cube(), 13);
    EXPECT_TRUE(SetModelFromSimplePoly(cube.get(), 0, false, true));
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"Undo 0", "Prepare 6", "Start 6", "Refresh"}));
    ASSERT_NE(shell.records.mCurrent, original);
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 6);
    EXPECT_EQ(original->mPoly.mFaces.mCount, 0);

    // A failure goes back to the record that held the cube and drops the undo item.
    shell.calls.clear();
    ModelRecord* cubeRecord = shell.records.mCurrent;
    auto invalid = FinnedTetrahedron();
    {
        ScopedScriptedServices scripted;
        EXPECT_FALSE(SetModelFromSimplePoly(invalid.get(), 0, false, true));
    }
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"Undo 0", "Prepare 6", "Abandon", "DiscardUndo", "Refresh"}));
    EXPECT_EQ(shell.records.mCurrent, cubeRecord);
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 6);

    // No undo kind: no undo item, no transition.
    shell.calls.clear();
    EXPECT_FALSE(SetModelFromSimplePoly(nullptr, 0, false, true));
    EXPECT_TRUE(shell.calls.empty());
    {
        ScopedScriptedServices scripted;
        EXPECT_FALSE(SetModelFromSimplePoly(invalid.get(), -1, false, true));
    }
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"Refresh"}));
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 6);

    SetDocumentModelRecords(nullptr);
}

TEST_F(CreatePolyTest, AFourDModelTakesAFinishedCopyOfItsPolytope)
{
    // The tesseract as its 24 squares and nothing else, at twice the unit size.
    auto polytope = std::make_unique<Polytope4D>();
    for (int bits = 0; bits < 16; ++bits)
    {
        const Vec4D pos{bits & 1 ? 1.0 : -1.0, bits & 2 ? 1.0 : -1.0, bits & 4 ? 1.0 : -1.0, bits & 8 ? 1.0 : -1.0};
        polytope->NewVert(&pos);
    }
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (int fixed = 0; fixed < 16; ++fixed)
            {
                if (fixed & ((1 << a) | (1 << b)))
                    continue;
                Face4D* face = polytope->NewFace(4);
                const int corners[4] = {fixed, fixed | (1 << a), fixed | (1 << a) | (1 << b), fixed | (1 << b)};
                for (int k = 0; k < 4; ++k)
                    face->SetVert(k, polytope->GetVert(corners[k]));
            }
    SimplePoly source;
    source.InitFromPolytope4D(std::move(polytope), true);
    source.SetName("Tesseract");
    const double scale = source.mScale;
    Poly poly;
    ScopedScriptedServices scripted;
    ASSERT_TRUE(CreatePoly(&source, &poly, false, true));
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    ASSERT_NE(poly.mPolytope, nullptr);
    EXPECT_NE(poly.mPolytope.get(), source.mPolytope4D.get());
    // The copy is complete: cells found, edges with their rings, types, one closed part.
    Polytope4D& copy = *poly.mPolytope;
    EXPECT_EQ(copy.mNumVerts, 16);
    EXPECT_EQ(copy.mNumFaces, 24);
    EXPECT_EQ(copy.mNumEdges, 32);
    EXPECT_EQ(copy.mNumCells, 8);
    EXPECT_EQ(copy.GetNumParts(), 1);
    EXPECT_NE(copy.mFirstCellType, nullptr);
    EXPECT_EQ(copy.mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
    EXPECT_NEAR(copy.mVolume, 1.0, 1e-12);
    EXPECT_EQ(std::fabs(copy.GetVert(5)->mPos.z), 0.5);  // brought to circumradius 1
    EXPECT_EQ(source.mPolytope4D->mNumEdges, 0);
    EXPECT_TRUE(poly.mFlags & Poly::kIs4D);
    EXPECT_STREQ(poly.GetBaseName(), "Tesseract");
    EXPECT_EQ(GetUnitSettings().GetScale(), scale);
    EXPECT_FALSE(IsModelBuildSuspended());
    EXPECT_EQ(poly.mFaces.mCount, 0);
}

TEST_F(CreatePolyTest, ImagesAreClonedOntoTheNewElements)
{
    auto source = Displaced(Cube(), 17);
    // One image placed by face 2 and carried by faces 2 and 4; one carried by face 5 but placed by
    // face 1, which carries none.
    FaceImage* shared = FaceImage::Create(nullptr, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat,
                                          &source->mFaces[2], false);
    source->mFaces[4].mImage.Set(shared);
    source->mFaces[2].mImage.Set(shared);
    FaceImage* placedElsewhere = FaceImage::Create(nullptr, FaceImage::kProjectCylindrical, FaceImage::kWrapRepeat,
                                                   &source->mFaces[1], false);
    source->mFaces[5].mImage.Set(placedElsewhere);
    Poly poly;
    ASSERT_TRUE(CreatePoly(source.get(), &poly, true, true));
    FaceImage* clone = poly.GetNthFace(2)->mImage.Get();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, shared);
    EXPECT_EQ(poly.GetNthFace(4)->mImage.Get(), clone);
    EXPECT_EQ(clone->mOwner, poly.GetNthFace(2));
    EXPECT_EQ(clone->mProjection, FaceImage::kProjectPlanar);
    FaceImage* other = poly.GetNthFace(5)->mImage.Get();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->mOwner, poly.GetNthFace(1));
    EXPECT_EQ(poly.GetNthFace(1)->mImage.Get(), nullptr);
    EXPECT_EQ(poly.GetNthFace(3)->mImage.Get(), nullptr);
}

TEST_F(CreatePolyTest, ATempSelectedFaceSelectsNothing)
{
    auto source = Displaced(Cube(), 19);
    ASSERT_TRUE(source->Grow(source->mNumVerts, source->mNumFaces + 1));
    ASSERT_EQ(source->mNumFaces, 7);
    SimpleFace* extra = &source->mFaces[6];
    extra->mFlags |= SimpleElem::kTemp;
    source->mSelectedFace = extra;
    Poly poly;
    ASSERT_TRUE(CreatePoly(source.get(), &poly, false, true));
    EXPECT_EQ(poly.mFaces.mCount, 6);
    // What any new model selects: its first face.
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, poly.GetNthFace(0));
}

TEST_F(CreatePolyTest, TheModelBuildingFlagGetsItsEarlierValueBack)
{
    for (bool earlier : {false, true})
    {
        SCOPED_TRACE(earlier ? "set before" : "clear before");
        SetModelBuildSuspended(earlier);
        auto cube = Displaced(Cube(), 23);
        Poly poly;
        EXPECT_TRUE(CreatePoly(cube.get(), &poly, false, true));
        EXPECT_EQ(IsModelBuildSuspended(), earlier);
        auto invalid = FinnedTetrahedron();
        ScopedScriptedServices scripted;
        EXPECT_FALSE(CreatePoly(invalid.get(), &poly, false, true));
        EXPECT_EQ(IsModelBuildSuspended(), earlier);
    }
    SetModelBuildSuspended(false);
}

TEST_F(CreatePolyTest, ColourOptionsOfTheModelOverrideTheCaller)
{
    const uint32_t kOdd = 0x123456;
    struct Case
    {
        const char* name;
        uint32_t flags;
        bool keepColors, keepDualColors;
        bool facesKept, vertsKept;
    };
    const Case cases[] = {
        {"both kept", 0, true, true, true, true},
        {"new colours asked for", 0, false, false, false, false},
        // New face colours bring new vertex colours with them.
        {"the model wants new colours", P::kWantNewColors, true, true, false, false},
        {"the model keeps its base colours", P::kKeepBaseColors, false, true, true, false},
        {"the model keeps its dual colours", P::kKeepDualColors, true, false, true, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        auto source = Displaced(Cube(), 29);
        source->mFlags |= c.flags;
        for (int i = 0; i < source->mNumFaces; ++i)
            source->mFaces[i].mColor = kOdd;
        for (int i = 0; i < source->mNumVerts; ++i)
            source->mVerts[i].mColor = kOdd;
        Poly poly;
        ASSERT_TRUE(CreatePoly(source.get(), &poly, c.keepColors, c.keepDualColors));
        for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            EXPECT_EQ(ColorToRGB(f->mColor) == kOdd, c.facesKept) << "face " << f->mIndex;
        for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
            EXPECT_EQ(ColorToRGB(v->mColor) == kOdd, c.vertsKept) << "vertex " << v->mIndex;
    }
}

TEST_F(CreatePolyTest, EdgeAttributesSurviveTheRoundTrip)
{
    auto source = Displaced(Cube(), 37);
    Poly first;
    ASSERT_TRUE(CreatePoly(source.get(), &first, false, true));
    ASSERT_EQ(first.mNumEdges, 12);
    first.mEdges[3].mFlags |= Edge::kHidden;
    first.mEdges[5].mColor = ColorRGB{1.0f, 0.0f, 0.0f};
    PolyElement::SetText(&first.mEdges[7], "seam");
    auto back = first.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->mNumEdges, 12);
    Poly second;
    ASSERT_TRUE(CreatePoly(back.get(), &second, true, true));
    ASSERT_EQ(second.mNumEdges, 12);
    // The same edges by their ends, whatever order the analysis gives them.
    auto counterpart = [&](const Edge& e) -> const Edge* {
        return second.FindEdge(second.GetNthFace(e.mFaces[0]->mIndex), second.GetNthFace(e.mFaces[1]->mIndex),
                               second.GetNthVert(e.mVerts[0]->mIndex), second.GetNthVert(e.mVerts[1]->mIndex));
    };
    int hidden = 0, red = 0, texts = 0;
    for (int i = 0; i < first.mNumEdges; ++i)
    {
        const Edge* e = counterpart(first.mEdges[i]);
        ASSERT_NE(e, nullptr);
        hidden += (e->mFlags & Edge::kHidden) != 0;
        red += ColorToRGB(e->mColor) == 0xff;
        texts += e->HasText();
        EXPECT_EQ((e->mFlags & Edge::kHidden) != 0, i == 3);
        EXPECT_EQ(ColorToRGB(e->mColor) == 0xff, i == 5);
        EXPECT_EQ(e->HasText(), i == 7);
    }
    EXPECT_EQ(hidden, 1);
    EXPECT_EQ(red, 1);
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(second.mNumEdgeTexts, 1);
}

namespace
{
// A model built from its vertex configuration; the template must outlive the Poly's use of it.
struct FromConfiguration
{
    PolyTemplate templ;
    Poly poly;
    bool ok = false;

    explicit FromConfiguration(const char* configuration)
    {
        if (templ.Parse(configuration, false))
            ok = poly.PrepareFromTemplate(&templ, 0);
    }
};
}  // namespace

// The uniform rows of the library that build from their configuration, analysed, handed over as
// plain models and created again: the library's counts, the same group, the same vertices.
TEST_F(CreatePolyTest, UniformRowsSurviveTheRoundTrip)
{
    ScopedScriptedServices scripted;
    int checked = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (row.mCategory < LibraryEntry::kCategoryPlatonic || row.mCategory > LibraryEntry::kCategoryPrisms ||
            std::strchr(row.mSymbol, '<'))
            continue;
        FromConfiguration built(row.mSymbol);
        if (!built.ok)
            continue;  // rows the matching cannot close yet are that code's own concern
        SCOPED_TRACE(std::string(row.mName) + " " + row.mSymbol);
        const Poly& first = built.poly;
        auto back = built.poly.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
        ASSERT_TRUE(back);
        Poly second;
        ASSERT_TRUE(CreatePoly(back.get(), &second, true, true));
        EXPECT_EQ(second.mVerts.mCount, row.mNumVerts);
        EXPECT_EQ(second.mFaces.mCount, row.mNumFaces);
        EXPECT_EQ(second.mNumEdges, row.mNumEdges);
        ASSERT_TRUE(first.mGroup && second.GetSymGroup());
        EXPECT_EQ(second.GetSymGroup()->mKind, first.mGroup->mKind);
        EXPECT_EQ(second.GetSymGroup()->MainOrder(), first.mGroup->MainOrder());
        EXPECT_EQ(second.mReflexible, first.mReflexible);
        ASSERT_EQ(second.mVerts.mCount, first.mVerts.mCount);
        const FaceVert* b = second.mVerts.mFirst;
        for (const FaceVert* a = first.mVerts.mFirst; a && b; a = a->mNext, b = b->mNext)
            EXPECT_TRUE(Vec3Equal(a->mPoint, b->mPoint, kTol)) << "vertex " << a->mIndex;
        ++checked;
    }
    EXPECT_GT(checked, 0);
    RecordProperty("checked", checked);
}

TEST_F(CreatePolyTest, AFaceWithoutCornersKeepsItsPlane)
{
    auto source = MakeModel(Cube());
    source->mFlags |= P::kKeepOrientation | P::kKeepCentre | P::kKeepRadius;
    ASSERT_TRUE(source->Grow(source->mNumVerts, source->mNumFaces + 1));
    SimpleFace& plane = source->mFaces[source->mNumFaces - 1];
    plane.SetNumVerts(0);
    plane.mNormal = Vec3D{0.0, 0.0, 2.0};  // the plane z = 2, by its point nearest the centre
    Poly poly;
    ScopedScriptedServices scripted;
    ASSERT_TRUE(CreatePoly(source.get(), &poly, false, true));
    ASSERT_EQ(poly.mFaces.mCount, 7);
    const FaceVert* f = poly.GetNthFace(6);
    EXPECT_EQ(f->mNumSides, 0);
    EXPECT_TRUE(Vec3Equal(f->GetNormal(), Vec3D{0, 0, 1}, kTol));
    EXPECT_TRUE(Vec3Equal(f->mCentre, Vec3D{0, 0, 2}, kTol));
    // The cube of half-side 1 alone sets R: its midradius sqrt(2).
    EXPECT_NEAR(poly.mMidRadius, std::sqrt(2.0), 1e-12);
    EXPECT_TRUE(Vec3Equal(f->mPoint, Vec3D{0, 0, 1.0}, kTol));
}

// Moving a built model so that a point becomes its centre: the vertices are the old ones less the
// point, brought to unit circumradius about the new centre as every new model is; the move is one
// undo step.
TEST_F(CreatePolyTest, SetCentreMovesEveryVertexAndKeepsTheModel)
{
    ScopedScriptedServices scripted;
    RecordingShell shell;
    ScopedShell scope(&shell);
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("4.4.4", false));
    Poly poly;
    ASSERT_TRUE(poly.PrepareFromTemplate(&templ, 0));
    const Vec3D point{0.25, -0.5, 0.125};
    std::vector<Vec3D> expected;
    double radius = 0.0;
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        Vec3D moved;
        Vec3Sub(moved, v->mPoint, point);
        expected.push_back(moved);
        radius = std::max(radius, Vec3Length(moved));
    }

    ASSERT_TRUE(poly.SetCentre(point));
    EXPECT_EQ(poly.mVerts.mCount, 8);
    EXPECT_EQ(poly.mFaces.mCount, 6);
    EXPECT_EQ(poly.mNumEdges, 12);
    for (Vec3D p : expected)
    {
        Vec3Scale(p, p, 1.0 / radius);
        bool found = false;
        for (const FaceVert* v = poly.mVerts.mFirst; v && !found; v = v->mNext)
            found = Vec3Length(Vec3D{v->mPoint.x - p.x, v->mPoint.y - p.y, v->mPoint.z - p.z}) < 1e-9;
        EXPECT_TRUE(found) << p.x << " " << p.y << " " << p.z;
    }
    EXPECT_EQ(shell.Count("Undo 24"), 1);
}
