// The solid that a table of planes encloses under a symmetry group, the table's evaluation, and
// the planes read back from a model.

#include "kernel/EvaluateExpression.h"
#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "stellation/Stellation.h"
#include "stellation/StellationPlanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

struct Row
{
    double x, y, z, radius;
};

void Fill(PlaneList& list, const std::vector<Row>& rows)
{
    for (const Row& r : rows)
        list.Append(PlaneEquation::CreateFromValues(r.x, r.y, r.z, r.radius));
}

int GroupOrder(const SymGroup* group)
{
    return group ? group->mOrder * (group->mReflection == G::kChiral ? 1 : 2) : 0;
}

// Faces by number of sides.
std::map<int, int> SideCounts(const Poly& poly)
{
    std::map<int, int> counts;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        ++counts[f->mNumSides];
    return counts;
}

// The model scale is a program-wide setting that CreatePoly writes.
class StellationPlanesTest : public ::testing::Test
{
protected:
    void SetUp() override { mSavedScale = GetUnitSettings().GetScale(); }
    void TearDown() override
    {
        GetUnitSettings().SetScale(mSavedScale, false);
        ClearPlaneClipboard();
    }

    std::string LastMessage() const
    {
        const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
        return call ? call->text : std::string();
    }

    ScopedScriptedServices mServices;
    double mSavedScale = 1.0;
};

TEST_F(StellationPlanesTest, KnownSolidsFromTheirPlanes)
{
    const double s3 = std::sqrt(3.0);
    // A face of the icosahedron lies across a 3-fold axis of its group.
    std::unique_ptr<SymGroup> icosahedral = SymGroup::Create(G::kIcosahedral);
    ASSERT_TRUE(icosahedral);
    const int threeFold = icosahedral->FindAxisSetIndexByOrder(3);
    ASSERT_GE(threeFold, 0);
    const Vec3D face = icosahedral->mAxisSets[threeFold].mAxes[0].mDir;
    struct Case
    {
        const char* name;
        std::vector<Row> rows;
        int kind, n, reflection;
        int verts, faces;
        std::map<int, int> sides;
        int groupKind, groupOrder;
    };
    const Case cases[] = {
        {"cube", {{0, 0, 1, 1}}, G::kOctahedral, 5, G::kHorizontal, 8, 6, {{4, 6}}, G::kOctahedral, 48},
        // Square planes at 1, triangle planes at 2/sqrt(3): each pair of planes meets at a midpoint.
        {"cuboctahedron", {{0, 0, 1, 1}, {1, 1, 1, 2.0 / s3}}, G::kOctahedral, 5, G::kHorizontal, 12, 14,
         {{3, 8}, {4, 6}}, G::kOctahedral, 48},
        {"octahedron", {{1, 1, 1, 0.5}}, G::kOctahedral, 5, G::kChiral, 6, 8, {{3, 8}}, G::kOctahedral, 48},
        {"icosahedron", {{face[0], face[1], face[2], 1}}, G::kIcosahedral, 5, G::kHorizontal, 12, 20, {{3, 20}},
         G::kIcosahedral, 120},
        // Caps and the band of a square prism: the main axis is y.
        {"square prism", {{0, 1, 0, 1}, {1, 0, 0, 1}}, G::kDihedral, 4, G::kHorizontal, 8, 6, {{4, 6}},
         G::kOctahedral, 48},
        {"hexagonal prism", {{0, 1, 0, 1}, {1, 0, 0, 2}}, G::kDihedral, 6, G::kHorizontal, 12, 8,
         {{4, 6}, {6, 2}}, G::kDihedral, 24},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PlaneList rows;
        Fill(rows, c.rows);
        PlanesSolidInfo info;
        std::unique_ptr<SimplePoly> solid = BuildPlanesSolid(rows, c.kind, c.n, c.reflection, &info);
        ASSERT_TRUE(solid);
        EXPECT_EQ(info.numShells, 1);
        EXPECT_TRUE(solid->mFlags & SimplePoly::kConvex);
        Poly poly;
        ASSERT_TRUE(CreatePoly(solid.get(), &poly, false, true));
        EXPECT_EQ(poly.mVerts.mCount, c.verts);
        EXPECT_EQ(poly.mFaces.mCount, c.faces);
        EXPECT_EQ(SideCounts(poly), c.sides);
        // Euler: the edges are what V - E + F = 2 leaves.
        int sides = 0;
        for (const auto& [n, count] : c.sides)
            sides += n * count;
        EXPECT_EQ(c.verts - sides / 2 + c.faces, 2);
        ASSERT_TRUE(poly.GetSymGroup());
        EXPECT_EQ(poly.GetSymGroup()->mKind, c.groupKind);
        EXPECT_EQ(GroupOrder(poly.GetSymGroup()), c.groupOrder);
    }
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}

// Each row's rotation copies take one type number and its palette colour, its mirror copies the
// next; a pole made again takes the newer number.
TEST_F(StellationPlanesTest, EachRowTakesOneTypeNumberOrTwoWithAReflection)
{
    struct Case
    {
        const char* name;
        std::vector<Row> rows;
        int reflection;
        int numTypes;
        std::map<int, int> facesByColor;  // palette index -> faces
    };
    const Case cases[] = {
        {"general plane, chiral", {{1, 2, 3, 1}}, G::kChiral, 1, {{0, 24}}},
        {"general plane, mirrored", {{1, 2, 3, 1}}, G::kHorizontal, 2, {{0, 24}, {1, 24}}},
        // The mirror copies of a cube face are the rotation copies again: the newer number wins.
        {"cube face, chiral", {{0, 0, 1, 1}}, G::kChiral, 1, {{0, 6}}},
        {"cube face, mirrored", {{0, 0, 1, 1}}, G::kHorizontal, 2, {{1, 6}}},
        {"two rows, mirrored", {{0, 0, 1, 1}, {1, 1, 1, 1.5}}, G::kHorizontal, 4, {{1, 6}, {3, 8}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PlaneList rows;
        Fill(rows, c.rows);
        PlanesSolidInfo info;
        std::unique_ptr<SimplePoly> solid = BuildPlanesSolid(rows, G::kOctahedral, 5, c.reflection, &info);
        ASSERT_TRUE(solid);
        EXPECT_EQ(info.numTypes, c.numTypes);
        std::map<int, int> byColor;
        for (int f = 0; f < solid->mNumFaces; ++f)
        {
            const SimpleFace& face = solid->mFaces[f];
            int index = -1;
            for (int i = 0; i < kPaletteSize && index < 0; ++i)
                if (PaletteEntry(i) == face.mColor && face.mBackColor == face.mColor)
                    index = i;
            ++byColor[index];
        }
        EXPECT_EQ(byColor, c.facesByColor);
    }
}

TEST_F(StellationPlanesTest, PlanesThatBoundNoSolidAreRefused)
{
    struct Case
    {
        const char* name;
        std::vector<Row> rows;
        int kind, n, reflection;
    };
    const Case cases[] = {
        {"one plane", {{0, 0, 1, 1}}, G::kNoSymmetry, 2, G::kChiral},
        {"one plane and its inversion: a slab", {{0, 0, 1, 1}}, G::kNoSymmetry, 2, G::kCentralInversion},
        {"a plane round the main axis", {{0, 1, 0, 1}}, G::kPyramidal, 5, G::kChiral},
        // Four planes whose poles span a solid that misses the centre: an open corner.
        {"an open corner", {{0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 3, 1}}, G::kNoSymmetry, 2,
         G::kChiral},
        {"only planes through the centre", {{1, 0, 0, 0}}, G::kOctahedral, 5, G::kHorizontal},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mServices.services.Clear();
        PlaneList rows;
        Fill(rows, c.rows);
        EXPECT_FALSE(BuildPlanesSolid(rows, c.kind, c.n, c.reflection));
        EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(LastMessage(), "Planes do not enclose any space.");
    }
}

// Planes that miss the first solid make a second one about it, when they enclose one.
TEST_F(StellationPlanesTest, PlanesOutsideTheSolidMakeASecondShell)
{
    PlaneList rows;
    Fill(rows, {{0, 0, 1, 1}, {1, 1, 1, 5}});
    PlanesSolidInfo info;
    std::unique_ptr<SimplePoly> solid = BuildPlanesSolid(rows, G::kOctahedral, 5, G::kHorizontal, &info);
    ASSERT_TRUE(solid);
    EXPECT_EQ(info.numShells, 2);
    EXPECT_FALSE(solid->mFlags & SimplePoly::kConvex);
    // A cube of inradius 1 inside an octahedron of inradius 5.
    EXPECT_EQ(solid->mNumVerts, 8 + 6);
    ASSERT_EQ(solid->mNumFaces, 6 + 8);
    std::map<int, int> sides;
    for (int f = 0; f < solid->mNumFaces; ++f)
        ++sides[solid->mFaces[f].mNum];
    EXPECT_EQ(sides, (std::map<int, int>{{3, 8}, {4, 6}}));
    double largest = 0.0;
    for (int i = 0; i < solid->mNumVerts; ++i)
        largest = std::max(largest, Vec3Length(solid->mVerts[i].mPos));
    EXPECT_NEAR(largest, 5.0 * std::sqrt(3.0), 1e-9);  // an octahedron's circumradius is sqrt(3) x its inradius
}

TEST_F(StellationPlanesTest, EvaluationStopsAtTheFirstBadTextOrAPlaneWithoutDirection)
{
    const char* evaluatorText = nullptr;
    EvaluateExpression("2+", &evaluatorText);
    ASSERT_TRUE(evaluatorText);
    const std::string expected = std::string("Equation error for plane 0, column 'Radius'\n") + evaluatorText;

    PlaneList rows;
    rows.Append(PlaneEquation::CreateDefault());
    rows.mFirst->mText[kPlaneX] = "sqrt(2)";
    rows.mFirst->mText[kPlaneRadius] = "2+";
    EXPECT_FALSE(EvaluatePlaneEquations(rows));
    EXPECT_EQ(LastMessage(), expected);
    // The columns before the bad one took their values.
    EXPECT_DOUBLE_EQ(rows.mFirst->mValue[kPlaneX], std::sqrt(2.0));

    rows.mFirst->mText[kPlaneRadius] = "r3/2";
    rows.Append(PlaneEquation::CreateDefault());
    rows.mLast->mText[kPlaneZ] = "1 - 1";
    mServices.services.Clear();
    EXPECT_FALSE(EvaluatePlaneEquations(rows));
    EXPECT_EQ(LastMessage(), "Plane 1 has no direction: X, Y and Z must not all be zero");

    rows.mLast->mText[kPlaneZ] = "-2";
    mServices.services.Clear();
    EXPECT_TRUE(EvaluatePlaneEquations(rows));
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_DOUBLE_EQ(rows.mFirst->mValue[kPlaneRadius], std::sqrt(3.0) / 2.0);
    EXPECT_DOUBLE_EQ(rows.mLast->mValue[kPlaneZ], -2.0);
}

// The planes read from a model are those it was built from, in the same distance unit.
TEST_F(StellationPlanesTest, AModelsPlanesReadBackAsTheRowsThatBuiltIt)
{
    PlaneList rows;
    Fill(rows, {{0, 0, 1, 1}, {1, 1, 1, 2.0 / std::sqrt(3.0)}});
    std::unique_ptr<SimplePoly> solid = BuildPlanesSolid(rows, G::kOctahedral, 5, G::kHorizontal);
    ASSERT_TRUE(solid);
    Poly poly;
    ASSERT_TRUE(CreatePoly(solid.get(), &poly, false, true));

    PlaneList read;
    CollectStellationPlanes(*poly.GetFaceStellation(), GetUnitSettings().GetScale(), read);
    ASSERT_EQ(read.mCount, 2);
    std::map<int, double> radiusBySides;
    for (const PlaneEquation* row = read.mFirst; row; row = row->next)
    {
        for (int c = 0; c < kPlaneColumns; ++c)
            EXPECT_FALSE(row->mText[c]);
        const Vec3D n{row->mValue[kPlaneX], row->mValue[kPlaneY], row->mValue[kPlaneZ]};
        EXPECT_NEAR(Vec3Length(n), 1.0, 1e-12);
        // An axis direction for the squares, a body diagonal for the triangles.
        int zeros = 0;
        for (int a = 0; a < 3; ++a)
            zeros += std::fabs(n[a]) < 1e-9;
        radiusBySides[zeros == 2 ? 4 : 3] = row->mValue[kPlaneRadius];
        if (zeros != 2)
        {
            for (int a = 0; a < 3; ++a)
                EXPECT_NEAR(std::fabs(n[a]), 1.0 / std::sqrt(3.0), 1e-9);
        }
    }
    EXPECT_NEAR(radiusBySides[4], 1.0, 1e-9);
    EXPECT_NEAR(radiusBySides[3], 2.0 / std::sqrt(3.0), 1e-9);
}

TEST_F(StellationPlanesTest, TheClipboardHoldsIndependentCopies)
{
    PlaneList rows;
    rows.Append(PlaneEquation::CreateDefault());
    Fill(rows, {{1, 2, 3, 4}});
    GetPlaneClipboard().AppendCopies(rows);
    rows.mFirst->mText[kPlaneX] = "7";
    rows.Delete(rows.mLast);
    EXPECT_EQ(rows.mCount, 1);

    const PlaneList& clipboard = GetPlaneClipboard();
    ASSERT_EQ(clipboard.mCount, 2);
    EXPECT_EQ(*clipboard.mFirst->mText[kPlaneX], "0");
    EXPECT_EQ(*clipboard.mFirst->mText[kPlaneRadius], "1");
    EXPECT_FALSE(clipboard.mLast->mText[kPlaneX]);
    EXPECT_EQ(clipboard.mLast->mValue[kPlaneRadius], 4.0);
    EXPECT_EQ(clipboard.At(1), clipboard.mLast);
    EXPECT_EQ(clipboard.mLast->prev, clipboard.mFirst);

    // A list pasted into itself doubles once.
    rows.AppendCopies(rows);
    EXPECT_EQ(rows.mCount, 2);
    ClearPlaneClipboard();
    EXPECT_EQ(GetPlaneClipboard().mCount, 0);
    EXPECT_FALSE(GetPlaneClipboard().mFirst);
}

}  // namespace
