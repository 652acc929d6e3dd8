#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/StellationOptions.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
void ExpectVec(const Vec3D& v, double x, double y, double z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

// Restores the display and stellation options a test changes.
class OptionsGuard
{
public:
    OptionsGuard() : mDisplay(GetElementDisplayOptions()), mStellation(GetStellationOptions()) {}
    ~OptionsGuard()
    {
        GetElementDisplayOptions() = mDisplay;
        StoreStellationOptions(mStellation);
    }

private:
    ElementDisplayOptions mDisplay;
    int mStellation;
};

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.push_back(text);
}

// A face of n corners with the corners and edges given, outside any model topology.
struct Polygon
{
    Poly poly;
    Face* face = nullptr;
    std::vector<Vert*> corners;
    CountedArray<Edge> edges;

    explicit Polygon(int n)
    {
        face = new Face(&poly, nullptr, n);
        edges.Resize(n);
        for (int i = 0; i < n; ++i)
        {
            Vec3D p{double(i), 1.0, 0.0};
            Vert* v = new Vert(&poly, p, 1);
            v->mNeighbours[0] = face;
            corners.push_back(v);
            face->mNeighbours[i] = v;
            face->mEdges[i] = &edges[i];
        }
    }
    // Corner and edge positions of the face, by the corner's own index.
    std::vector<int> CornerOrder() const
    {
        std::vector<int> order;
        for (int i = 0; i < face->mNumSides; ++i)
            order.push_back(face->mNeighbours[i]->mIndex);
        return order;
    }
    std::vector<int> EdgeOrder() const
    {
        std::vector<int> order;
        for (int i = 0; i < face->mNumSides; ++i)
            order.push_back(int(face->mEdges[i] - edges.begin()));
        return order;
    }
};
}  // namespace

TEST(VertTest, PositionsSnapToZeroAndSetTheDualPlane)
{
    Poly poly;
    Vec3D p{1e-8, 0.0, 2.0};
    Vert* v = new Vert(&poly, p, 3);
    ExpectVec(p, 0.0, 0.0, 2.0);  // the caller's point too
    ExpectVec(v->mPoint, 0.0, 0.0, 2.0);
    ExpectVec(v->mZAxis, 0.0, 0.0, 1.0);
    // The foot of the polar plane of (0, 0, 2) in the unit sphere.
    ExpectVec(v->mCentre, 0.0, 0.0, 0.5);
    EXPECT_FALSE(v->mFlags & FaceVert::kInf);

    Vec3D origin{0.0, 0.0, 0.0};
    Vert* centre = new Vert(&poly, origin, 4);
    EXPECT_TRUE(centre->mFlags & FaceVert::kInf);
    ExpectVec(centre->mZAxis, 0.0, 0.0, 0.0);
    ExpectVec(centre->mCentre, 0.0, 0.0, 0.0);

    Vec3D tiny{5e-8, -5e-8, 0.0};
    Vert* nearCentre = new Vert(&poly, tiny, 4);
    EXPECT_TRUE(nearCentre->mFlags & FaceVert::kInf);
    ExpectVec(nearCentre->mPoint, 0.0, 0.0, 0.0);
}

TEST(VertTest, WithATemplateTheDualPlaneLiesAtTheInRadius)
{
    Poly poly;
    PolyTemplate templ;
    templ.mInRadius = 0.75;
    poly.mTemplate = &templ;
    Vec3D p{0.0, 3.0, 4.0};
    Vert* v = new Vert(&poly, p, 3);
    EXPECT_NEAR(v->mZAxis.y, 0.6, 1e-15);
    EXPECT_NEAR(v->mZAxis.z, 0.8, 1e-15);
    EXPECT_NEAR(v->mCentre.y, 0.45, 1e-15);
    EXPECT_NEAR(v->mCentre.z, 0.6, 1e-15);
    EXPECT_EQ(v->mCentre.x, 0.0);
    poly.mTemplate = nullptr;
}

TEST(VertTest, NewElementsTakeTheirDefaultsAndJoinTheirLists)
{
    Poly poly;
    Vec3D p{1.0, 0.0, 0.0};
    Vert* v = new Vert(&poly, p, 5);
    Face* f = new Face(&poly, nullptr, 4);
    ColorRGB faceColor, vertColor;
    GetPaletteColor(0, faceColor, 0);
    GetPaletteColor(-1, vertColor, 0);
    EXPECT_EQ(ColorToRGB(f->mColor), ColorToRGB(faceColor));
    EXPECT_EQ(ColorToRGB(v->mColor), ColorToRGB(vertColor));
    EXPECT_EQ(v->mTurn, -1);
    EXPECT_EQ(v->mPlacementStamp, -1);
    EXPECT_TRUE(v->mNeedsCount);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(v->mNeighbours[i], nullptr);
        EXPECT_EQ(v->mEdges[i], nullptr);
        EXPECT_EQ(v->mFaceReversed[i], 0);
    }
    EXPECT_EQ(f->mDensity, 1);
    EXPECT_EQ(f->mOpacity, 1.0f);
    EXPECT_EQ(f->mTypeOffset, -1);
    EXPECT_EQ(poly.mVerts.mFirst, v);
    EXPECT_EQ(poly.mFaces.mFirst, f);
    EXPECT_EQ(v->mList, &poly.mVerts);
    // The first face and vertex become the selected faces of their sides' stellations.
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, f);
    EXPECT_EQ(poly.GetVertStellation()->mSelectedFace, v);
    EXPECT_EQ(f->GetStellation(), poly.GetFaceStellation());
    EXPECT_EQ(v->GetStellation(), poly.GetVertStellation());
    EXPECT_EQ(v->GetOtherStellation(), poly.GetFaceStellation());

    PolyTemplate templ;
    TemplatePolygon* pentagram = templ.AddPolygon(5, 2);
    pentagram->mMatchId = 0x4;
    pentagram->mColor = ColorRGB{0.25f, 0.5f, 0.75f};
    Face* star = new Face(&poly, pentagram, 5);
    EXPECT_EQ(star->mDensity, 2);
    EXPECT_EQ(star->mIdFlags, 0x4);
    EXPECT_EQ(star->mColor.b, 0.75f);
    EXPECT_FALSE(star->IsConvexPolygon());
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, f);

    // Deleting the stellations' first elements clears them.
    poly.mFaces.Remove(f);
    poly.mVerts.Remove(v);
    EXPECT_EQ(poly.GetFaceStellation()->mSelectedFace, nullptr);
    EXPECT_EQ(poly.GetVertStellation()->mSelectedFace, nullptr);
    poly.mFaces.Remove(star);
}

TEST(FaceVertTest, RotateNeighboursTurnsCornersAndEdgesTogether)
{
    {
        Polygon hexagon(6);
        hexagon.face->RotateNeighbours(2, false);
        EXPECT_EQ(hexagon.CornerOrder(), (std::vector<int>{2, 3, 4, 5, 0, 1}));
        EXPECT_EQ(hexagon.EdgeOrder(), (std::vector<int>{2, 3, 4, 5, 0, 1}));
    }
    {
        // Edges ab bc cd de ef fa become fa ef de cd bc ab: edge j stays between corners j and j+1.
        Polygon hexagon(6);
        hexagon.face->RotateNeighbours(0, true);
        EXPECT_EQ(hexagon.CornerOrder(), (std::vector<int>{0, 5, 4, 3, 2, 1}));
        EXPECT_EQ(hexagon.EdgeOrder(), (std::vector<int>{5, 4, 3, 2, 1, 0}));
    }
    {
        Polygon pentagon(5);
        pentagon.face->RotateNeighbours(7, true);  // start 2, then turned round
        EXPECT_EQ(pentagon.CornerOrder(), (std::vector<int>{2, 1, 0, 4, 3}));
        EXPECT_EQ(pentagon.EdgeOrder(), (std::vector<int>{1, 0, 4, 3, 2}));
    }
}

TEST(FaceVertTest, RotateNeighboursCarriesTheOrientationBytes)
{
    Poly poly;
    Vec3D p{0.0, 0.0, 1.0};
    Vert* v = new Vert(&poly, p, 6);
    const uint8_t bytes[6] = {1, 0, 0, 1, 1, 0};
    std::vector<Face*> faces;
    for (int i = 0; i < 6; ++i)
    {
        faces.push_back(new Face(&poly, nullptr, 3));
        v->mNeighbours[i] = faces.back();
        v->mFaceReversed[i] = bytes[i];
    }
    v->mTurn = 0;
    v->RotateNeighbours(2, false);
    const uint8_t rotated[6] = {0, 1, 1, 0, 1, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v->mFaceReversed[i], rotated[i]) << i;
    EXPECT_EQ(v->mNeighbours[0], faces[2]);
    EXPECT_EQ(v->mTurn, 0);

    // Turned round, the bytes follow their faces and then flip: every face now runs the other way.
    v->RotateNeighbours(0, true);
    const uint8_t reversed[6] = {1, 1, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v->mFaceReversed[i], reversed[i]) << i;
    EXPECT_EQ(v->mNeighbours[1], faces[1]);
    EXPECT_EQ(v->mTurn, 1);

    v->mTurn = -1;
    v->RotateNeighbours(0, true);
    EXPECT_EQ(v->mTurn, -1);
}

TEST(FaceVertTest, ReversingAFaceFlipsItsCornersBytesForIt)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    Face* top = poly.GetNthFace(1);
    // Each corner of the top face lists it once; every other byte stays.
    std::vector<std::vector<uint8_t>> before;
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        before.emplace_back(v->mFaceReversed.get(), v->mFaceReversed.get() + v->mNumSides);
    }
    top->RotateNeighbours(0, true);
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
    {
        Vert* v = static_cast<Vert*>(e);
        for (int k = 0; k < v->mNumSides; ++k)
        {
            const bool flipped = v->mNeighbours[k] == top;
            EXPECT_EQ(v->mFaceReversed[k] != 0, flipped != (before[size_t(v->mIndex)][size_t(k)] != 0))
                << "vertex " << v->mIndex << " face " << k;
        }
    }
}

TEST(FaceVertTest, OpacitySnapsAndKeepsTheTranslucentCount)
{
    Poly poly;
    Face* a = new Face(&poly, nullptr, 3);
    Face* b = new Face(&poly, nullptr, 3);
    ElemList& list = poly.mFaces;

    a->SetOpacity(0.996f);
    EXPECT_EQ(a->mOpacity, 1.0f);
    EXPECT_EQ(list.mNumTranslucent, 0);

    a->SetOpacity(0.5f);
    a->SetOpacity(0.5f);
    EXPECT_EQ(list.mNumTranslucent, 1);
    b->SetOpacity(0.004f);
    EXPECT_EQ(b->mOpacity, 0.0f);
    EXPECT_EQ(list.mNumTranslucent, 2);
    EXPECT_TRUE(b->IsTranslucent());

    a->SetOpacity(0.25f);  // translucent to translucent
    EXPECT_EQ(list.mNumTranslucent, 2);
    a->SetOpacity(1.0f);
    EXPECT_EQ(list.mNumTranslucent, 1);
    EXPECT_FALSE(a->IsTranslucent());

    // A translucent element takes its count with it.
    list.Remove(b);
    EXPECT_EQ(list.mNumTranslucent, 0);
}

TEST(FaceVertTest, KitStyleMakesEveryElementTranslucent)
{
    Poly poly;
    Face* a = new Face(&poly, nullptr, 3);
    const bool saved = GetRenderSettings().kitStyle;
    GetRenderSettings().kitStyle = true;
    EXPECT_TRUE(a->IsTranslucent());
    GetRenderSettings().kitStyle = saved;
    EXPECT_FALSE(a->IsTranslucent());
}

TEST(PolyElementTest, TextsAreNeverBlankAndTheCountsFollow)
{
    Poly poly;
    BuildPoly(poly, TetrahedronSpec(), true);
    FaceVert* face = poly.mFaces.mFirst;
    FaceVert* vert = poly.mVerts.mFirst;

    PolyElement::SetText(face, "   ");
    EXPECT_EQ(face->GetText(), nullptr);
    EXPECT_EQ(poly.mFaces.mNumTexts, 0);

    PolyElement::SetText(face, "front");
    PolyElement::SetText(face, "front again");
    EXPECT_STREQ(face->GetText(), "front again");
    EXPECT_EQ(poly.mFaces.mNumTexts, 1);
    EXPECT_TRUE(poly.mFaces.HasTexts());
    PolyElement::SetText(face, "");
    EXPECT_EQ(face->GetText(), nullptr);
    EXPECT_EQ(poly.mFaces.mNumTexts, 0);

    PolyElement::SetText(vert, "apex");
    EXPECT_EQ(poly.mVerts.mNumTexts, 1);
    EXPECT_EQ(poly.mFaces.mNumTexts, 0);
    PolyElement::SetText(poly.GetEdge(3), "\tridge");
    EXPECT_EQ(poly.mNumEdgeTexts, 1);
    PolyElement::SetText(poly.GetEdge(3), nullptr);
    EXPECT_EQ(poly.mNumEdgeTexts, 0);

    // A removed element takes its text's count with it.
    PolyElement::SetText(poly.mFaces.mLast, "last");
    poly.mFaces.Remove(poly.mFaces.mLast);
    EXPECT_EQ(poly.mFaces.mNumTexts, 0);
}

TEST(PolyElementTest, DefaultEdgeColourStandsForNoElement)
{
    OptionsGuard guard;
    const ColorRGB red{1.0f, 0.0f, 0.0f};
    PolyElement::SetColor(nullptr, red);
    EXPECT_EQ(PolyElement::GetColor(nullptr)->r, 1.0f);
    EXPECT_EQ(PolyElement::GetColor(nullptr)->g, 0.0f);
    Edge edge;
    EXPECT_EQ(edge.mColor.r, 1.0f);
    EXPECT_EQ(edge.mColor.b, 0.0f);
    EXPECT_EQ(edge.mType, -1);
    PolyElement::SetColor(&edge, ColorRGB{0.0f, 1.0f, 0.0f});
    EXPECT_EQ(PolyElement::GetColor(&edge)->g, 1.0f);
    EXPECT_EQ(PolyElement::GetColor(nullptr)->g, 0.0f);
}

TEST(PolyElementTest, KindsInViewFollowTheSideShown)
{
    Poly poly;
    BuildPoly(poly, TetrahedronSpec(), true);
    const FaceVert* face = poly.mFaces.mFirst;
    const FaceVert* vert = poly.mVerts.mFirst;
    const Edge* edge = poly.GetEdge(0);
    EXPECT_TRUE(PolyElement::IsFaceInView(face, false));
    EXPECT_FALSE(PolyElement::IsVertInView(face, false));
    EXPECT_TRUE(PolyElement::IsVertInView(face, true));
    EXPECT_TRUE(PolyElement::IsFaceInView(vert, true));
    EXPECT_TRUE(PolyElement::IsVertInView(vert, false));
    EXPECT_FALSE(PolyElement::IsFaceInView(edge, false));
    EXPECT_FALSE(PolyElement::IsVertInView(nullptr, false));
    EXPECT_EQ(PolyElement::GetPoly(edge), &poly);
    EXPECT_EQ(PolyElement::GetPoly(face), &poly);
    EXPECT_EQ(FaceVert::GetCombinedIndex(face), 0);
    EXPECT_EQ(FaceVert::GetCombinedIndex(vert), 4);
    EXPECT_EQ(FaceVert::GetCombinedIndex(nullptr), -1);
    EXPECT_EQ(FaceVert::GetNumber(poly.mVerts.mLast), 4);
}

TEST(PolyElementTest, HiddenFacesHideWhatLiesBetweenThemWhenAsked)
{
    OptionsGuard guard;
    Poly poly;
    BuildPoly(poly, TetrahedronSpec(), true);
    // Hide the three faces round vertex 0: faces 0, 1 and 2.
    for (int f = 0; f < 3; ++f)
        poly.GetNthFace(f)->mFlags |= FaceVert::kHidden;
    Vert* v0 = poly.GetNthVert(0);
    Vert* v1 = poly.GetNthVert(1);
    Edge* between = poly.FindEdge(poly.GetNthFace(0), poly.GetNthFace(1), v0, v1);
    ASSERT_NE(between, nullptr);
    Edge* onVisible = poly.FindEdge(poly.GetNthFace(0), poly.GetNthFace(3), v1, poly.GetNthVert(2));
    ASSERT_NE(onVisible, nullptr);

    GetElementDisplayOptions().mHideBetweenHiddenFaces = false;
    EXPECT_FALSE(PolyElement::IsHidden(v0, false));
    EXPECT_FALSE(PolyElement::IsHidden(between, false));
    EXPECT_TRUE(PolyElement::IsHidden(poly.GetNthFace(0), false));

    GetElementDisplayOptions().mHideBetweenHiddenFaces = true;
    EXPECT_TRUE(PolyElement::IsHidden(v0, false));
    EXPECT_FALSE(PolyElement::IsHidden(v1, false));
    EXPECT_TRUE(PolyElement::IsHidden(between, false));
    EXPECT_FALSE(PolyElement::IsHidden(onVisible, false));
    // Shown as the dual, the vertices are the faces: a face is no longer hidden by its corners.
    EXPECT_FALSE(PolyElement::IsHidden(v0, true));
    EXPECT_TRUE(PolyElement::IsHidden(poly.GetNthFace(0), true));
    // On the dual side an edge lies between the vertices it joins.
    EXPECT_FALSE(PolyElement::IsHidden(between, true));
    v0->mFlags |= FaceVert::kHidden;
    v1->mFlags |= FaceVert::kHidden;
    EXPECT_TRUE(PolyElement::IsHidden(between, true));

    between->mFlags |= Edge::kHidden;
    GetElementDisplayOptions().mHideBetweenHiddenFaces = false;
    EXPECT_TRUE(PolyElement::IsHidden(between, false));

    // Walking the edges past the hidden ones.
    int visible = 0;
    for (PolyElement* e = poly.GetEdge(0); e; e = PolyElement::NextElement(e, true, false))
        visible += !PolyElement::IsHidden(e, false);
    EXPECT_EQ(visible, 5);
    EXPECT_EQ(PolyElement::NextElement(poly.GetEdge(5), false, false), nullptr);
    EXPECT_EQ(PolyElement::NextElement(poly.mFaces.mFirst, true, false), poly.GetNthFace(3));
}

TEST(PolyElementTest, MirrorTypesCountAsOneOnlyWhenReflexibilityIsKept)
{
    OptionsGuard guard;
    Poly poly;
    Edge a, b;
    a.mType = 4;
    a.mFlags = Edge::kMirrorSecond;
    b.mType = 3;
    StoreStellationOptions(0);
    EXPECT_FALSE(PolyElement::IsSameType(&a, &b));
    StoreStellationOptions(kCriteriaReflexible);
    EXPECT_TRUE(PolyElement::IsSameType(&a, &b));
    EXPECT_TRUE(PolyElement::IsSameType(&b, &a));
    b.mType = 5;
    EXPECT_FALSE(PolyElement::IsSameType(&a, &b));

    Stellation* side = poly.GetFaceStellation();
    FaceType* left = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 1, 0));
    FaceType* right = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 2, 1));
    left->mMirrorFace = right;
    right->mMirrorFace = left;
    Face* f = new Face(&poly, nullptr, 3);
    Face* g = new Face(&poly, nullptr, 3);
    f->mFaceType = left;
    g->mFaceType = right;
    EXPECT_TRUE(PolyElement::IsSameType(f, g));
    StoreStellationOptions(0);
    EXPECT_FALSE(PolyElement::IsSameType(f, g));
    g->mFaceType = left;
    EXPECT_TRUE(PolyElement::IsSameType(f, g));
    EXPECT_FALSE(PolyElement::IsSameType(f, &a));
    EXPECT_FALSE(PolyElement::IsSameType(&a, f));
    Vec3D p{1, 0, 0};
    Vert* v = new Vert(&poly, p, 3);
    v->mFaceType = left;
    EXPECT_FALSE(PolyElement::IsSameType(f, v));
}

TEST(FaceVertTest, NeighbourSearches)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    Face* bottom = poly.GetNthFace(0);  // corners 0 3 2 1
    Vert* v2 = poly.GetNthVert(2);
    EXPECT_EQ(FaceVert::FindNeighbour(bottom, v2, -1), 2);
    EXPECT_EQ(FaceVert::FindNeighbour(bottom, v2, 2), -1);
    EXPECT_EQ(FaceVert::FindNeighbour(nullptr, v2, -1), -1);
    EXPECT_TRUE(bottom->HasNeighbour(v2));
    EXPECT_FALSE(bottom->HasNeighbour(poly.GetNthVert(6)));
    EXPECT_EQ(bottom->FindEdge(bottom->mEdges[3], -1), 3);
    EXPECT_EQ(bottom->FindEdge(nullptr, -1), -1);
    EXPECT_EQ(FaceVert::FindNeighbourAt(bottom, Vec3D{1.0 + 5e-8, 1.0, -1.0}), v2);
    EXPECT_EQ(FaceVert::FindNeighbourAt(bottom, Vec3D{1.0, 1.0, 1.0}), nullptr);
    EXPECT_EQ(bottom->GetNextNeighbour(v2, 1), poly.GetNthVert(1));
    EXPECT_EQ(bottom->GetNextNeighbour(v2, -3), poly.GetNthVert(1));
    EXPECT_EQ(bottom->GetNextNeighbour(v2, 6), poly.GetNthVert(0));
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(bottom->GetNextNeighbour(poly.GetNthVert(6), 1), nullptr);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text, "GetNextNeighbour: Couldn't find it");
}

// The element across each side is the one that shares the side's two ends, with and without the
// edge records, and the side found on it leads back.
TEST(FaceVertTest, AdjacentElementsShareTheSide)
{
    for (bool withEdges : {false, true})
    {
        SCOPED_TRACE(withEdges ? "with edges" : "without edges");
        gTrace.clear();
        TraceSink previous = SetTraceSink(RecordTrace);
        Poly poly;
        BuildPoly(poly, CubeSpec(), withEdges);
        for (ElemList* list : {static_cast<ElemList*>(&poly.mFaces), static_cast<ElemList*>(&poly.mVerts)})
        {
            for (FaceVert* e = list->mFirst; e; e = e->mNext)
            {
                const int n = e->mNumSides;
                for (int i = 0; i < n; ++i)
                {
                    const FaceVert* p = e->mNeighbours[i];
                    const FaceVert* q = e->mNeighbours[(i + 1) % n];
                    // The truth: the other element of the list that has p and q as neighbours.
                    const FaceVert* expected = nullptr;
                    for (FaceVert* o = list->mFirst; o; o = o->mNext)
                        if (o != e && o->HasNeighbour(p) && o->HasNeighbour(q))
                            expected = o;
                    ASSERT_NE(expected, nullptr);
                    EXPECT_EQ(FaceVert::GetAdjacent(e, i), expected) << e->mIndex << " side " << i;
                    int side = i;
                    EXPECT_EQ(FaceVert::GetAdjacentAndSide(e, side), expected);
                    ASSERT_GE(side, 0);
                    const int m = expected->mNumSides;
                    const FaceVert* a = expected->mNeighbours[side];
                    const FaceVert* b = expected->mNeighbours[(side + 1) % m];
                    EXPECT_TRUE((a == p && b == q) || (a == q && b == p));
                }
            }
        }
        EXPECT_TRUE(gTrace.empty());
        SetTraceSink(previous);
    }
}

TEST(FaceVertTest, AFaceRunningAgainstItsVertexIsFoundOnTheOtherSide)
{
    gTrace.clear();
    TraceSink previous = SetTraceSink(RecordTrace);
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    // A wrong orientation byte sends the first search to the wrong neighbour; the second finds it.
    Face* bottom = poly.GetNthFace(0);
    Vert* v0 = static_cast<Vert*>(bottom->mNeighbours[0]);
    const int at = FaceVert::FindNeighbour(v0, bottom, -1);
    v0->mFaceReversed[at] = 1;
    Face* across = GetAdjacentFaceVert(bottom, 0);  // side 0 -> 3: the face at x = -1
    EXPECT_EQ(across, poly.GetNthFace(5));
    ASSERT_EQ(gTrace.size(), 1u);
    EXPECT_EQ(gTrace[0], "Face 1: GetAdjacentFaceVert(0): vert 1: Not found\n");
    SetTraceSink(previous);
}

// Every edge gets one number from 0 to E-1, the same from both of its elements.
TEST(ElemListTest, EdgeIndicesNumberEachEdgeOnce)
{
    for (bool withEdges : {false, true})
    {
        SCOPED_TRACE(withEdges ? "with edges" : "without edges");
        Poly poly;
        BuildPoly(poly, CubeSpec(), withEdges);
        for (ElemList* list : {static_cast<ElemList*>(&poly.mFaces), static_cast<ElemList*>(&poly.mVerts)})
        {
            std::vector<int> uses(12, 0);
            for (FaceVert* e = list->mFirst; e; e = e->mNext)
            {
                for (int i = 0; i < e->mNumSides; ++i)
                {
                    const int index = list->GetEdgeIndex(e, i);
                    ASSERT_GE(index, 0);
                    ASSERT_LT(index, 12);
                    ++uses[size_t(index)];
                    int side = i;
                    const FaceVert* across = FaceVert::GetAdjacentAndSide(e, side);
                    EXPECT_EQ(list->GetEdgeIndex(across, side), index);
                }
            }
            for (int use : uses)
                EXPECT_EQ(use, 2);
        }
        EXPECT_EQ(poly.mFaces.GetEdgeIndex(poly.mFaces.mFirst, 4), -1);
        EXPECT_EQ(poly.mFaces.GetEdgeIndex(nullptr, 0), -1);
    }
}

TEST(ElemListTest, RemoveRenumbersAndDeleteAllEmpties)
{
    Poly poly;
    std::vector<Face*> faces;
    for (int i = 0; i < 5; ++i)
        faces.push_back(new Face(&poly, nullptr, 3));
    ElemList& list = poly.mFaces;
    list.Remove(faces[0]);
    int expected = 0;
    for (FaceVert* e = list.mFirst; e; e = e->mNext)
        EXPECT_EQ(e->mIndex, expected++);
    EXPECT_EQ(list.mCount, 4);
    EXPECT_EQ(list.mFirst, faces[1]);
    EXPECT_EQ(faces[1]->mPrev, nullptr);

    list.Remove(faces[3]);
    EXPECT_EQ(list.GetNth(2), faces[4]);
    EXPECT_EQ(faces[4]->mIndex, 2);
    EXPECT_EQ(faces[2]->mNext, faces[4]);
    EXPECT_EQ(list.GetNth(3), nullptr);
    EXPECT_EQ(list.GetNth(-1), nullptr);
    list.Remove(faces[4]);
    EXPECT_EQ(list.mLast, faces[2]);

    faces[1]->mIndex = 7;
    list.Renumber();
    EXPECT_EQ(faces[1]->mIndex, 0);
    EXPECT_EQ(faces[2]->mIndex, 1);

    faces[2]->SetOpacity(0.5f);
    list.mMaxChordDistance = 3.0;
    list.DeleteAll();
    EXPECT_EQ(list.mFirst, nullptr);
    EXPECT_EQ(list.mLast, nullptr);
    EXPECT_EQ(list.mCount, 0);
    EXPECT_EQ(list.mNumTranslucent, 0);
    EXPECT_EQ(list.mMaxChordDistance, -1.0);
    EXPECT_EQ(list.mFlags, 0u);
    EXPECT_TRUE(list.IsFaceList());
    EXPECT_FALSE(poly.mVerts.IsFaceList());
    EXPECT_EQ(poly.mFaces.GetOtherList(&poly), &poly.mVerts);
    EXPECT_EQ(poly.mVerts.GetOtherList(&poly), nullptr);
}

TEST(ElemListTest, ColoursPointsAndImages)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    EXPECT_TRUE(ElemList::AllSameColor(nullptr));
    EXPECT_TRUE(ElemList::AllSameColor(&poly.mFaces));
    poly.GetNthFace(4)->mColor.g += 1.0f / 1024;
    EXPECT_FALSE(ElemList::AllSameColor(&poly.mFaces));
    poly.mFaces.DeleteAll();
    EXPECT_TRUE(ElemList::AllSameColor(&poly.mFaces));

    EXPECT_EQ(poly.mVerts.FindAtPoint(Vec3D{1.0, -1.0, 1.0 - 1e-7}), poly.GetNthVert(5));
    EXPECT_EQ(poly.mVerts.FindAtPoint(Vec3D{1.0, -1.0, 1.0 - 2e-7}), nullptr);

    EXPECT_FALSE(poly.mVerts.HasOtherImage(nullptr));
    FaceImage* image = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat,
                                         poly.GetNthVert(1), false);
    poly.GetNthVert(1)->mImage.Set(image);
    EXPECT_TRUE(poly.mVerts.HasOtherImage(nullptr));
    EXPECT_FALSE(poly.mVerts.HasOtherImage(image));
    EXPECT_EQ(image->GetUserCount(), 1);
}

TEST(VertTest, ConfigurationNamesTheFacesRoundTheVertex)
{
    Poly poly;
    Vec3D p{0.0, 0.0, 1.0};
    Vert* v = new Vert(&poly, p, 4);
    Face* triangle = new Face(&poly, nullptr, 3);
    Face* star = new Face(&poly, nullptr, 5);
    star->mDensity = 2;
    v->mNeighbours[0] = triangle;
    v->mNeighbours[1] = star;
    v->mNeighbours[2] = triangle;
    EXPECT_STREQ(v->GetConfiguration(), "3, 5/2, 3, -.");
    EXPECT_EQ(v->ApplyTurn(0, true), 1);
    EXPECT_EQ(v->ApplyTurn(1, false), 1);
}

// The orientation class of a placement is its direction turned by its turn, except where the ring
// matches itself half-way round in the opposite orientation: there the direction alone.
TEST(VertTest, OrientationClassIgnoresTheTurnOfAHalfTurnRing)
{
    struct Case
    {
        const char* configuration;
        bool halfTurn;
    };
    const Case cases[] = {{"3.5.3.5", false},
                          {"(5/2.4.3.3.3.4.5/3.4.3/2.3/2.3/2.4)/2", true},
                          {"(5/2.4.3.4.5/3.4.3/2.4)/2", true},
                          {"8.4.8/7.4/3", true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.configuration);
        PolyTemplate templ;
        ASSERT_TRUE(templ.Parse(c.configuration, false));
        EXPECT_EQ(templ.mHalfTurn, c.halfTurn);
        Poly poly;
        poly.mTemplate = &templ;
        Vec3D p{0.0, 0.0, 1.0};
        Vert* v = new Vert(&poly, p, templ.mValence);
        for (int direction = 0; direction < 2; ++direction)
        {
            EXPECT_EQ(v->ApplyTurn(direction, false), direction);
            EXPECT_EQ(v->ApplyTurn(direction, true), c.halfTurn ? direction : 1 - direction);
        }
        poly.mTemplate = nullptr;
    }
}

TEST(FaceVertTest, SkipInfWalksRoundTheList)
{
    Poly poly;
    std::vector<Vert*> verts;
    for (int i = 0; i < 4; ++i)
    {
        Vec3D p{double(i), 0.0, 0.0};
        verts.push_back(new Vert(&poly, p, 3));
    }
    EXPECT_TRUE(verts[0]->mFlags & FaceVert::kInf);
    EXPECT_EQ(FaceVert::SkipInf(verts[0]), verts[1]);
    EXPECT_EQ(FaceVert::SkipInf(verts[2]), verts[2]);
    verts[1]->mFlags |= FaceVert::kInf;
    verts[2]->mFlags |= FaceVert::kInf;
    EXPECT_EQ(FaceVert::SkipInf(verts[2]), verts[3]);
    verts[3]->mFlags |= FaceVert::kInf;
    EXPECT_EQ(FaceVert::SkipInf(verts[0]), nullptr);
    EXPECT_EQ(FaceVert::SkipInf(verts[3]), nullptr);
    EXPECT_EQ(FaceVert::SkipInf(nullptr), nullptr);
    verts[0]->mFlags &= ~FaceVert::kInf;
    EXPECT_EQ(FaceVert::SkipInf(verts[3]), verts[0]);
}

TEST(FaceVertTest, RotationalOrderComesFromTheGroupAndTheType)
{
    Poly poly;
    Face* f = new Face(&poly, nullptr, 4);
    EXPECT_EQ(f->GetNumRots(), 1);  // no group, no type
    Stellation* side = poly.GetFaceStellation();
    FaceType* type = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
    type->mNumRotations = 4;
    type->mCount = 6;
    f->mFaceType = type;
    EXPECT_EQ(f->GetNumRots(), 4);  // no group: the type's order

    struct Case
    {
        const char* name;
        int kind;
        int typeCount;
        int typeOrder;
        int expected;
    };
    const Case kCases[] = {
        {"cube faces under the octahedral rotations", SymGroup::kOctahedral, 6, 4, 4},
        {"cube faces under the tetrahedral rotations", SymGroup::kTetrahedral, 6, 4, 2},
        {"pentagons of a dodecahedron", SymGroup::kIcosahedral, 12, 5, 5},
        {"type order above the group's share", SymGroup::kTetrahedral, 4, 6, 3},
        {"orders without a common multiple", SymGroup::kOctahedral, 8, 2, 1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        poly.mGroup = SymGroup::Create(c.kind);
        type->mCount = c.typeCount;
        type->mNumRotations = c.typeOrder;
        EXPECT_EQ(f->GetNumRots(), c.expected);
    }
    // A polygon off its own axis has no turn onto itself.
    poly.mGroup = SymGroup::Create(SymGroup::kOctahedral);
    type->mCount = 6;
    type->mNumRotations = 4;
    f->mCentroid = Vec3D{0.0, 0.0, 1.0};
    f->mCentre = Vec3D{0.0, 2e-7, 1.0};
    EXPECT_EQ(f->GetNumRots(), 1);
    // The full group counts while a subgroup is applied.
    f->mCentre = f->mCentroid;
    poly.mFullGroup = SymGroup::Create(SymGroup::kTetrahedral);
    EXPECT_EQ(f->GetNumRots(), 2);
}

TEST(FaceVertTest, CoincidenceRings)
{
    Poly poly;
    std::vector<Face*> f;
    for (int i = 0; i < 4; ++i)
        f.push_back(new Face(&poly, nullptr, 3));
    f[0]->mNextCoplanar = f[1];
    f[1]->mNextCoplanar = f[2];
    f[2]->mNextCoplanar = f[0];
    EXPECT_EQ(f[1]->GetRingSize(), 3);
    EXPECT_EQ(f[3]->GetRingSize(), 1);
    EXPECT_TRUE(FaceVert::IsInRingOf(f[2], f[0]));
    EXPECT_TRUE(FaceVert::IsInRingOf(f[3], f[3]));
    EXPECT_FALSE(FaceVert::IsInRingOf(f[3], f[0]));

    f[0]->mFlags |= FaceVert::kSkip;
    EXPECT_EQ(FaceVert::GetFirstUnskipped(f[0]), f[1]);
    f[1]->mFlags |= FaceVert::kSkip;
    f[2]->mFlags |= FaceVert::kSkip;
    EXPECT_EQ(FaceVert::GetFirstUnskipped(f[1]), f[1]);
    EXPECT_EQ(FaceVert::GetFirstUnskipped(nullptr), nullptr);

    f[2]->SetOpacity(0.5f);
    EXPECT_TRUE(f[0]->IsRingTranslucent());
    f[2]->mFlags |= FaceVert::kHidden;
    EXPECT_FALSE(f[0]->IsRingTranslucent());
    EXPECT_FALSE(f[3]->IsRingTranslucent());

    EXPECT_EQ(FaceVert::FindFace3D(f[0]), nullptr);

    // Leaving the ring: three become two, two become a lone element.
    poly.mFaces.Remove(f[1]);
    EXPECT_EQ(f[0]->mNextCoplanar, f[2]);
    EXPECT_EQ(f[2]->mNextCoplanar, f[0]);
    poly.mFaces.Remove(f[0]);
    EXPECT_EQ(f[2]->mNextCoplanar, nullptr);
    EXPECT_EQ(f[2]->GetRingSize(), 1);
}

TEST(FaceVertTest, CollectConnectedGathersOnePart)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    EXPECT_EQ(poly.mFaces.mFirst->CollectConnected(nullptr), 14);
    for (FaceVert* e = poly.mVerts.mFirst; e; e = e->mNext)
        EXPECT_TRUE(e->mFlags & FaceVert::kVisitMark);
    poly.ClearElementFlags(FaceVert::kVisitMark);

    // A second, separate tetrahedron in the same model.
    PolySpec spec = CubeSpec();
    const PolySpec tetra = TetrahedronSpec();
    for (const Vec3D& v : tetra.verts)
        spec.verts.push_back(Vec3D{v.x + 5.0, v.y, v.z});
    for (const std::vector<int>& f : tetra.faces)
        spec.faces.push_back({f[0] + 8, f[1] + 8, f[2] + 8});
    Poly both;
    BuildPoly(both, spec, false);
    std::vector<FaceVert*> buffer(size_t(both.mFaces.mCount + both.mVerts.mCount));
    EXPECT_EQ(both.GetNthVert(9)->CollectConnected(buffer.data()), 8);
    EXPECT_EQ(buffer[0], both.GetNthVert(9));
    std::set<int> faces;
    for (int i = 0; i < 8; ++i)
        if (buffer[size_t(i)]->IsFace())
            faces.insert(buffer[size_t(i)]->mIndex);
    EXPECT_EQ(faces, (std::set<int>{6, 7, 8, 9}));
    EXPECT_FALSE(both.GetNthFace(0)->mFlags & FaceVert::kVisitMark);
}

TEST(FaceTest, TemplatePolygonsFitByTurn)
{
    Poly poly;
    PolyTemplate templ;
    TemplatePolygon* pentagon = templ.AddPolygon(5, 1);
    TemplatePolygon* pentagram = templ.AddPolygon(5, 2);
    TemplatePolygon* pentagramOther = templ.AddPolygon(5, 3);
    TemplatePolygon* square = templ.AddPolygon(4, 1);
    Face* star = new Face(&poly, pentagram, 5);

    struct Case
    {
        const char* name;
        const TemplatePolygon* polygon;
        int turnIn;
        bool reverse;
        bool matches;
        int turnOut;
    };
    const Case kCases[] = {
        {"same step decides turn 0", pentagram, -1, false, true, 0},
        {"same step reversed decides turn 1", pentagram, -1, true, true, 1},
        {"complementary step decides turn 1", pentagramOther, -1, false, true, 1},
        {"another density", pentagon, -1, false, false, -1},
        {"another side count", square, -1, false, false, -1},
        {"turn 0 wants the same step", pentagram, 0, false, true, 0},
        {"turn 0 reversed wants the complement", pentagramOther, 0, true, true, 0},
        {"turn 1 wants the complement", pentagramOther, 1, false, true, 1},
        {"turn 1 refuses the same step", pentagram, 1, false, false, 1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        int turn = c.turnIn;
        EXPECT_EQ(star->MatchesTemplatePolygon(c.polygon, turn, c.reverse), c.matches);
        EXPECT_EQ(turn, c.turnOut);
    }
    // A reflex template shape runs the other way.
    pentagram->mHeight = -0.5;
    int turn = -1;
    EXPECT_TRUE(star->MatchesTemplatePolygon(pentagram, turn, false));
    EXPECT_EQ(turn, 1);
    // A face through the centre matches by side count and density alone.
    star->mFlags |= FaceVert::kHemi;
    turn = 1;
    EXPECT_TRUE(star->MatchesTemplatePolygon(pentagram, turn, false));
    EXPECT_FALSE(star->MatchesTemplatePolygon(pentagramOther, turn, false));

    Face* other = new Face(&poly, pentagramOther, 5);
    EXPECT_FALSE(star->IsSameTemplateDensity(other));
    EXPECT_FALSE(star->IsSameShape(other));
    Face* plain = new Face(&poly, nullptr, 5);
    plain->mDensity = 2;
    EXPECT_TRUE(star->IsSameShape(plain));
    EXPECT_FALSE(star->IsSameTemplateDensity(plain));
    Face* twin = new Face(&poly, pentagram, 5);
    EXPECT_TRUE(star->IsSameTemplateDensity(twin));
    EXPECT_TRUE((new Face(&poly, pentagon, 5))->IsConvexPolygon());
}

TEST(FaceTest, MatchIdsFollowTheCornersTemplateRing)
{
    Poly poly;
    PolyTemplate templ;
    templ.Parse("3.4.3.4", false);
    int id = 1;
    for (TemplatePolygon* t = templ.mFirst; t; t = t->next == templ.mFirst ? nullptr : t->next)
    {
        t->mMatchId = uint32_t(id);
        id *= 2;
    }
    Vec3D p{0.0, 0.0, 1.0};
    Vert* v = new Vert(&poly, p, 4);
    std::vector<Face*> faces;
    for (int i = 0; i < 4; ++i)
    {
        faces.push_back(new Face(&poly, nullptr, 4));
        v->mNeighbours[i] = faces.back();
        faces.back()->mNeighbours[0] = v;
    }
    v->mCandidate = templ.mFirst->next;  // id 2
    EXPECT_EQ(faces[0]->GetMatchIdAt(0), 2);
    EXPECT_EQ(faces[1]->GetMatchIdAt(0), 4);
    EXPECT_EQ(faces[3]->GetMatchIdAt(0), 1);
    v->mDirection = 1;
    EXPECT_EQ(faces[1]->GetMatchIdAt(0), 1);
    EXPECT_EQ(faces[3]->GetMatchIdAt(0), 4);
    v->mNeighbours[2] = nullptr;
    EXPECT_EQ(faces[2]->GetMatchIdAt(0), -1);
    EXPECT_EQ(faces[2]->GetMatchIdAt(1), -1);

    poly.mTemplate = &templ;
    ASSERT_EQ(templ.mWraps, 1);
    EXPECT_TRUE(v->IsConvexPolygon());
    templ.mConvexMark = true;
    EXPECT_FALSE(v->IsConvexPolygon());
    poly.mTemplate = nullptr;
}

TEST(EdgeTest, EndsSidesAndIndices)
{
    Poly poly;
    BuildPoly(poly, TetrahedronSpec(), true);
    Edge* e = poly.GetEdge(2);
    Vert* a = e->mVerts[0];
    Vert* b = e->mVerts[1];
    Face* f = e->mFaces[0];
    Face* g = e->mFaces[1];
    EXPECT_EQ(Edge::GetOtherVert(e, a), b);
    EXPECT_EQ(Edge::GetOtherVert(e, b), a);
    Vert* offEdge = nullptr;
    for (int i = 0; i < 4 && !offEdge; ++i)
        if (poly.GetNthVert(i) != a && poly.GetNthVert(i) != b)
            offEdge = poly.GetNthVert(i);
    EXPECT_EQ(Edge::GetOtherVert(e, offEdge), a);  // neither end: the first
    EXPECT_EQ(Edge::GetOtherFace(e, g), f);
    EXPECT_EQ(Edge::GetOtherVert(nullptr, a), nullptr);
    EXPECT_EQ(e->GetOther(a), b);
    EXPECT_EQ(e->GetOther(f), g);
    EXPECT_TRUE(e->Touches(a));
    EXPECT_TRUE(e->Touches(g));
    EXPECT_FALSE(e->Touches(poly.GetEdge(1)));
    EXPECT_EQ(e->GetVerts(false)[1], b);
    EXPECT_EQ(e->GetVerts(true)[1], g);
    EXPECT_EQ(e->GetFaces(false)[0], f);
    EXPECT_EQ(e->GetFaces(true)[0], a);
    EXPECT_EQ(e->GetEnd(true, 0), f);
    EXPECT_EQ(e->GetSide(true, 1), b);
    EXPECT_EQ(Edge::GetIndex(e, &poly), 2);
    EXPECT_EQ(Edge::GetNumber(e, &poly), 3);
    EXPECT_EQ(Edge::GetIndex(nullptr, &poly), -1);
    Edge loose;
    EXPECT_EQ(Edge::GetIndex(&loose, &poly), -1);
    EXPECT_EQ(EdgeType::GetIndex(&poly.mEdgeTypes[0], &poly), 0);
    EXPECT_EQ(EdgeType::GetNumber(&poly.mEdgeTypes[0], &poly), 1);
    EXPECT_EQ(EdgeType::GetIndex(nullptr, &poly), -1);
    EXPECT_EQ(poly.FindEdge(g, f, b, a), e);
    EXPECT_EQ(poly.FindEdge(f, g, a, offEdge), nullptr);
}

TEST(FaceTest, DumpWritesTheFaceToTheTrace)
{
    gTrace.clear();
    TraceSink previous = SetTraceSink(RecordTrace);
    Poly poly;
    BuildPoly(poly, TetrahedronSpec(), true);
    Face* f = poly.GetNthFace(1);
    f->mFlags = FaceVert::kHidden | FaceVert::kReversed;
    f->mColor = ColorRGB{1.0f, 0.5f, 0.0f};
    f->DumpFace();
    SetTraceSink(previous);
    ASSERT_EQ(gTrace.size(), 7u);
    EXPECT_EQ(gTrace[0], "Face 1: 3/1, #rots 0, flags 0x804, idFlags 0x0, type -1, Hidden, Reversed\n");
    EXPECT_EQ(gTrace[2].substr(0, 31), "  yAxis (0, 1, 0), zAxis (0.577");
    EXPECT_EQ(gTrace[3], "  DualVert (1, -1, 1), Coplanar -1, color 0080ff\n");
    EXPECT_EQ(gTrace[4], "  Surrounding vertices: 0, 3, 1.\n");
    EXPECT_EQ(gTrace[5].substr(0, 28), "  Edges (& adjacent faces): ");
    EXPECT_EQ(gTrace.back(), "  next 2, prev 0, nextOfType -1\n");
}
