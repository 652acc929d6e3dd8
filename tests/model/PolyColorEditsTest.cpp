#include "HemiPolyhedra.h"
#include "SolidModels.h"
#include "SolidPoints.h"

#include "kernel/ScriptedServices.h"
#include "model/ColorSchemes.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/Vert.h"
#include "model/StellationOptions.h"
#include "stellation/FaceType.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
const ColorRGB kRed{1.0f, 0.0f, 0.0f};
const ColorRGB kBlue{0.0f, 0.0f, 1.0f};
const ColorRGB kGreen{0.0f, 1.0f, 0.0f};
const ColorRGB kGrey{0.5f, 0.5f, 0.5f};

bool Same(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::unique_ptr<Poly> Model(const FacedSolid& solid)
{
    auto source = MakeModel(solid);
    auto poly = std::make_unique<Poly>();
    EXPECT_TRUE(CreatePoly(source.get(), poly.get(), false, false));
    return poly;
}

std::unique_ptr<Poly> Solid(const char* name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return Model(ConvexSolid(FindSolid(solids, name).points));
}

void Paint(FaceVert* f, const ColorRGB& front, const ColorRGB& back)
{
    f->mColor = front;
    f->mBackColor = back;
}

void PaintAll(Poly& poly, const ColorRGB& color)
{
    for (ElemList* list : {static_cast<ElemList*>(&poly.mFaces), static_cast<ElemList*>(&poly.mVerts)})
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            Paint(e, color, color);
}

// The cube's face whose normal points most along the direction.
FaceVert* FaceTowards(Poly& poly, const Vec3D& direction)
{
    FaceVert* best = nullptr;
    double most = -2.0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        const double d = Vec3Dot(f->mZAxis, direction);
        if (d > most)
        {
            most = d;
            best = f;
        }
    }
    return best;
}

bool AnyMarked(const Poly& poly)
{
    for (const ElemList* list : {static_cast<const ElemList*>(&poly.mFaces), static_cast<const ElemList*>(&poly.mVerts)})
        for (const FaceVert* e = list->mFirst; e; e = e->mNext)
            if (e->mFlags & FaceVert::kVisitMark)
                return true;
    return false;
}

// The colour scheme word and the stellation options are program-wide.
class PolyColorEditsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mScheme = FaceColorScheme();
        mOptions = GetStellationOptions();
    }
    void TearDown() override
    {
        FaceColorScheme() = mScheme;
        StoreStellationOptions(mOptions);
    }

    // A cube with a red top, a blue bottom and a green band of four sides.
    std::unique_ptr<Poly> BandedCube()
    {
        auto cube = Solid("cube");
        PaintAll(*cube, kGreen);
        Paint(FaceTowards(*cube, Vec3D{0, 0, 1}), kRed, kRed);
        Paint(FaceTowards(*cube, Vec3D{0, 0, -1}), kBlue, kBlue);
        return cube;
    }

    RecordingShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;

private:
    uint32_t mScheme = 0;
    int mOptions = 0;
};
}  // namespace

TEST_F(PolyColorEditsTest, ReplacingAFaceColourTakesItsBackColoursAlongAndTheBackFormOnlyThose)
{
    auto cube = Solid("cube");
    PaintAll(*cube, kGrey);
    FaceVert* a = cube->GetNthFace(0);
    FaceVert* b = cube->GetNthFace(1);
    Vert* v = cube->GetNthVert(0);
    Paint(a, kRed, kGrey);
    Paint(b, kGrey, kRed);
    Paint(v, kRed, kRed);

    cube->ReplaceFaceColor(kRed, kBlue, false);
    EXPECT_TRUE(Same(a->mColor, kBlue));
    EXPECT_TRUE(Same(a->mBackColor, kGrey));
    EXPECT_TRUE(Same(b->mColor, kGrey));
    EXPECT_TRUE(Same(b->mBackColor, kBlue));
    EXPECT_TRUE(Same(v->mColor, kBlue));
    EXPECT_FALSE(cube->HasElementColor(kRed));
    EXPECT_EQ(mShell.Count("Undo 27"), 1);

    // The back form leaves every front colour as it was.
    cube->ReplaceFaceColor(kBlue, kGreen, true);
    EXPECT_TRUE(Same(a->mColor, kBlue));
    EXPECT_TRUE(Same(b->mBackColor, kGreen));
    EXPECT_TRUE(Same(v->mColor, kBlue));
    EXPECT_TRUE(Same(v->mBackColor, kGreen));
    EXPECT_EQ(mShell.Count("Undo 27"), 2);
}

TEST_F(PolyColorEditsTest, ScopesReachTheElementItsTypeOrItsWholeList)
{
    // The cuboctahedron: 8 triangles of one type, 6 squares of another.
    auto poly = Solid("cuboctahedron");
    PaintAll(*poly, kGrey);
    FaceVert* triangle = nullptr;
    for (FaceVert* f = poly->mFaces.mFirst; f && !triangle; f = f->mNext)
        if (f->mNumSides == 3)
            triangle = f;
    ASSERT_NE(triangle, nullptr);
    auto count = [&poly](const ColorRGB& c, bool back) {
        int n = 0;
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            n += Same(back ? f->mBackColor : f->mColor, c);
        return n;
    };

    ASSERT_TRUE(poly->SetElementColor(triangle, Poly::kColorScopeType, kRed, false, false));
    EXPECT_EQ(count(kRed, false), 8);
    EXPECT_EQ(count(kRed, true), 8);
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(Same(f->mColor, kRed), f->mNumSides == 3);

    // A single face takes the colour at the back only where its back was its front.
    triangle->mBackColor = kGreen;
    ASSERT_TRUE(poly->SetElementColor(triangle, Poly::kColorScopeSingle, kBlue, false, false));
    EXPECT_TRUE(Same(triangle->mColor, kBlue));
    EXPECT_TRUE(Same(triangle->mBackColor, kGreen));
    FaceVert* square = poly->mFaces.mFirst;
    while (square->mNumSides != 4)
        square = square->mNext;
    ASSERT_TRUE(poly->SetElementColor(square, Poly::kColorScopeSingle, kBlue, false, false));
    EXPECT_TRUE(Same(square->mBackColor, kBlue));

    // The back forms.
    ASSERT_TRUE(poly->SetElementColor(square, Poly::kColorScopeType, kGreen, true, false));
    EXPECT_EQ(count(kGreen, true), 6 + 1);
    EXPECT_TRUE(Same(square->mColor, kBlue));
    ASSERT_TRUE(poly->SetElementColor(square, Poly::kColorScopeAll, kGrey, true, false));
    EXPECT_EQ(count(kGrey, true), 14);
    EXPECT_EQ(count(kRed, false), 7);

    // All vertices, and not one face.
    ASSERT_TRUE(poly->SetElementColor(poly->GetNthVert(0), Poly::kColorScopeAll, kRed, false, false));
    for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
        EXPECT_TRUE(Same(v->mColor, kRed));
    EXPECT_EQ(count(kRed, false), 7);

    // Edges: the type of the edge, then every edge; an edge has no back.
    ASSERT_GT(poly->mEdges.count, 0);
    Edge* edge = &poly->mEdges[0];
    EXPECT_FALSE(poly->SetElementColor(edge, Poly::kColorScopeAll, kBlue, true, false));
    ASSERT_TRUE(poly->SetElementColor(edge, Poly::kColorScopeType, kBlue, false, false));
    int same = 0;
    int blue = 0;
    for (int i = 0; i < poly->mEdges.count; ++i)
    {
        same += PolyElement::IsSameType(&poly->mEdges[i], edge);
        blue += Same(poly->mEdges[i].mColor, kBlue);
    }
    EXPECT_EQ(blue, same);
    ASSERT_TRUE(poly->SetElementColor(edge, Poly::kColorScopeAll, kGreen, false, false));
    for (int i = 0; i < poly->mEdges.count; ++i)
        EXPECT_TRUE(Same(poly->mEdges[i].mColor, kGreen));
    EXPECT_EQ(mShell.Count("Undo 27"), 8);
}

TEST_F(PolyColorEditsTest, AFaceTypeTakesItsMirrorTypeAlongOnlyWhenAsked)
{
    // The 48 scalene triangles of the disdyakis dodecahedron, the vertices of the truncated
    // cuboctahedron, fall under the rotations into two types, mirror images of each other.
    auto poly = Solid("truncated cuboctahedron");
    FaceVert* chiral = poly->mVerts.mFirst;
    ASSERT_NE(chiral, nullptr);
    const FaceType* type = chiral->mFaceType;
    ASSERT_NE(type, nullptr);
    const FaceType* mirror = type->mMirrorFace;
    ASSERT_TRUE(mirror && mirror != type);
    for (const bool withMirror : {false, true})
    {
        SCOPED_TRACE(withMirror ? "with the mirror type" : "the type alone");
        PaintAll(*poly, kGrey);
        ASSERT_TRUE(poly->SetElementColor(chiral, Poly::kColorScopeType, kRed, false, withMirror));
        int red = 0;
        for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
        {
            const bool expected = v->mFaceType == type || (withMirror && v->mFaceType == mirror);
            EXPECT_EQ(Same(v->mColor, kRed), expected);
            red += Same(v->mColor, kRed);
        }
        EXPECT_EQ(red, withMirror ? 48 : 24);
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            EXPECT_TRUE(Same(f->mColor, kGrey));
    }
}

TEST_F(PolyColorEditsTest, TheBackOfAFaceThroughTheCentreIsRefused)
{
    const std::vector<HemiPolyhedron> hemis = HemiPolyhedra();
    const HemiPolyhedron* octa = nullptr;
    for (const HemiPolyhedron& h : hemis)
        if (h.name == "octahemioctahedron")
            octa = &h;
    ASSERT_NE(octa, nullptr);
    auto poly = Model(octa->solid);
    FaceVert* hexagon = nullptr;
    for (FaceVert* f = poly->mFaces.mFirst; f && !hexagon; f = f->mNext)
        if (f->mNumSides == 6)
            hexagon = f;
    ASSERT_NE(hexagon, nullptr);
    ASSERT_TRUE(hexagon->mFlags & FaceVert::kHemi);
    const ColorRGB front = hexagon->mColor;
    const ColorRGB back = hexagon->mBackColor;

    EXPECT_FALSE(poly->SetElementColor(hexagon, Poly::kColorScopeSingle, kRed, true, false));
    EXPECT_TRUE(Same(hexagon->mColor, front));
    EXPECT_TRUE(Same(hexagon->mBackColor, back));
    EXPECT_EQ(mShell.Count("Undo 27"), 0);
    const ScriptedServices::Call* box = mServices.services.LastCall("MessageBox");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text,
              "You may not change the back-face colour of\nfaces which pass through the centre of the model.");
    // A triangle may.
    FaceVert* triangle = poly->mFaces.mFirst;
    while (triangle->mNumSides != 3)
        triangle = triangle->mNext;
    EXPECT_TRUE(Poly::MayChangeBackColor(triangle));
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
}

TEST_F(PolyColorEditsTest, ABandBetweenTwoColoursAsksOnceAndTakesTheFirstOfEquallyFarNeighbours)
{
    const ColorRGB unset{-1.0f, -1.0f, -1.0f};
    struct Case
    {
        const char* name;
        int answer;
        bool changes;
    };
    for (const Case& c : {Case{"outermost", 0, true}, Case{"innermost", 1, true}, Case{"leave unchanged", 2, false}})
    {
        SCOPED_TRACE(c.name);
        mServices.services.Clear();
        auto cube = BandedCube();
        FaceVert* top = FaceTowards(*cube, Vec3D{0, 0, 1});
        FaceVert* bottom = FaceTowards(*cube, Vec3D{0, 0, -1});
        FaceVert* band = FaceTowards(*cube, Vec3D{1, 0, 0});
        // Each band face's first neighbour in side order that is not of the band.
        std::vector<std::pair<FaceVert*, ColorRGB>> expected;
        for (FaceVert* f = cube->mFaces.mFirst; f; f = f->mNext)
        {
            if (f == top || f == bottom)
                continue;
            ColorRGB first = unset;
            for (int side = 0; side < f->mNumSides && first.r < 0.0f; ++side)
            {
                const FaceVert* n = FaceVert::GetAdjacent(f, side);
                if (n == top || n == bottom)
                    first = n->mColor;
            }
            expected.push_back({f, c.changes ? first : kGreen});
        }
        mServices.services.PushAnswer(c.answer);
        const int changed = cube->TakeColorFromNeighbours(band);
        EXPECT_EQ(changed, c.changes ? 4 : 0);
        EXPECT_EQ(mServices.services.CountCalls("Question"), 1);
        const ScriptedServices::Call* q = mServices.services.LastCall("Question");
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->caption, "Taking color from neighbours");
        for (const auto& [face, color] : expected)
        {
            EXPECT_TRUE(Same(face->mColor, color)) << FaceVert::GetNumber(face);
            EXPECT_TRUE(Same(face->mBackColor, color)) << FaceVert::GetNumber(face);
        }
        EXPECT_TRUE(Same(top->mColor, kRed));
        EXPECT_TRUE(Same(bottom->mColor, kBlue));
        EXPECT_FALSE(AnyMarked(*cube));
    }
}

TEST_F(PolyColorEditsTest, FacesOutOfReachOfOtherColoursTakeThemInLaterPasses)
{
    // Only the top differs: the sides take its colour in the first pass, the bottom in the second.
    auto cube = Solid("cube");
    PaintAll(*cube, kGreen);
    FaceVert* top = FaceTowards(*cube, Vec3D{0, 0, 1});
    Paint(top, kRed, kRed);
    EXPECT_EQ(cube->TakeColorFromNeighbours(FaceTowards(*cube, Vec3D{0, 0, -1})), 5);
    for (const FaceVert* f = cube->mFaces.mFirst; f; f = f->mNext)
        EXPECT_TRUE(Same(f->mColor, kRed) && Same(f->mBackColor, kRed));
    EXPECT_EQ(mServices.services.CountCalls("Question"), 0);
    EXPECT_EQ(mShell.Count("Undo 27"), 1);
    EXPECT_FALSE(AnyMarked(*cube));

    // A model of one colour has nothing to take.
    auto plain = Solid("cube");
    PaintAll(*plain, kGreen);
    EXPECT_EQ(plain->TakeColorFromNeighbours(plain->mFaces.mFirst), 0);
    EXPECT_EQ(plain->TakeColorFromNeighbours(nullptr), 0);
}

TEST_F(PolyColorEditsTest, OnePartOfTheStellaOctangulaTakesTheColour)
{
    // A tetrahedron and its mirror image through the centre.
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    FacedSolid stella = ConvexSolid(FindSolid(solids, "tetrahedron").points);
    FacedSolid second = stella;
    const int n = int(stella.verts.size());
    for (const Vec3D& p : second.verts)
        stella.verts.push_back(Vec3D{-p.x, -p.y, -p.z});
    for (std::vector<int> f : second.faces)
    {
        for (int& k : f)
            k += n;
        // The mirror image turns round: keep the faces facing out.
        stella.faces.push_back(std::vector<int>(f.rbegin(), f.rend()));
    }
    auto poly = Model(stella);
    ASSERT_EQ(poly->mFaces.mCount, 8);
    ASSERT_EQ(poly->GetNumParts(), 2);
    PaintAll(*poly, kGrey);
    FaceVert* start = poly->mFaces.mFirst;
    poly->SetPartColor(start, kRed);

    // The faces and vertices reached are those joined to the start by edges.
    std::vector<FaceVert*> part(size_t(poly->mFaces.mCount + poly->mVerts.mCount));
    const int reached = start->CollectConnected(part.data());
    poly->ClearElementFlags(FaceVert::kVisitMark);
    EXPECT_EQ(reached, 8);
    int faces = 0;
    int verts = 0;
    for (int i = 0; i < reached; ++i)
        (part[size_t(i)]->IsVert() ? verts : faces) += 1;
    EXPECT_EQ(faces, 4);
    EXPECT_EQ(verts, 4);
    int red = 0;
    for (ElemList* list : {static_cast<ElemList*>(&poly->mFaces), static_cast<ElemList*>(&poly->mVerts)})
        for (const FaceVert* e = list->mFirst; e; e = e->mNext)
        {
            const bool inPart = std::find(part.begin(), part.begin() + reached, e) != part.begin() + reached;
            EXPECT_EQ(Same(e->mColor, kRed), inPart);
            EXPECT_EQ(Same(e->mBackColor, kRed), inPart);
            red += inPart;
        }
    EXPECT_EQ(red, 8);
    EXPECT_EQ(mShell.Count("Undo 27"), 1);
}
