#include "ElementFixtures.h"

#include "kernel/DiagramOutline.h"
#include "kernel/FaceDiagram.h"
#include "kernel/FaceImage.h"
#include "kernel/LoopType.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/Vec2D.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "model/Vert.h"
#include "operations/Augmenter.h"
#include "stellation/FaceType.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace
{
using Points2D = std::vector<Vec2D>;

Points2D Square(double x0, double y0, double side)
{
    return {{x0, y0}, {x0 + side, y0}, {x0 + side, y0 + side}, {x0, y0 + side}};
}

struct DrawnTriangle
{
    Vec3D corners[3];
    Vec3D normal;
    float rgba[4];
    unsigned flags;
    int selectionType;
    int selectionIndex;
    bool image;
};

std::vector<DrawnTriangle> Drawn(const RecordingSceneDrawer& drawer)
{
    std::vector<DrawnTriangle> out;
    for (const RecordingSceneDrawer::Call& call : drawer.calls)
    {
        if (call.name != "AddTriangle")
            continue;
        const std::vector<double>& v = call.values;
        DrawnTriangle t;
        for (int c = 0; c < 3; ++c)
            t.corners[c] = Vec3D{v[size_t(3 * c)], v[size_t(3 * c + 1)], v[size_t(3 * c + 2)]};
        t.normal = Vec3D{v[9], v[10], v[11]};
        for (int c = 0; c < 4; ++c)
            t.rgba[c] = float(v[size_t(12 + c)]);
        t.flags = unsigned(v[16]);
        t.selectionType = int(v[17]);
        t.selectionIndex = int(v[18]);
        t.image = call.text == "image";
        out.push_back(t);
    }
    return out;
}

double Area(const DrawnTriangle& t)
{
    Vec3D e1, e2, n;
    Vec3Sub(e1, t.corners[1], t.corners[0]);
    Vec3Sub(e2, t.corners[2], t.corners[0]);
    Vec3Cross(n, e1, e2);
    return Vec3Dot(n, Vec3D{0, 0, 1}) / 2.0;
}

double TotalArea(const std::vector<DrawnTriangle>& triangles)
{
    double sum = 0.0;
    for (const DrawnTriangle& t : triangles)
        sum += Area(t);
    return sum;
}

// Two faces of one plane z = 1 whose squares overlap: f on [0, 2] x [0, 2], g on [1, 3] x [0, 2];
// the areas f alone, both and g alone have 2 each. The diagram is f's, made in the model's pools.
class FaceAreasTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedFill = GetPolygonFillOptions();
        mSavedOptions = GetStellationOptions();
        f = NewFace();
        g = NewFace();
        h = NewFace();
        f->mColor = ColorRGB{1, 0, 0};
        f->mBackColor = ColorRGB{0, 1, 0};
        g->mColor = ColorRGB{0, 0, 1};
        g->mBackColor = ColorRGB{0, 0, 0};
        h->mColor = ColorRGB{0.5f, 0.5f, 0.5f};
        Feed({{f, Square(0, 0, 2)}, {g, Square(1, 0, 2)}});
    }
    void TearDown() override
    {
        GetPolygonFillOptions() = mSavedFill;
        StoreStellationOptions(mSavedOptions);
    }

    Face* NewFace()
    {
        Face* face = new Face(&mPoly, nullptr, 4);
        face->mCentre = Vec3D{0, 0, 1};
        face->mZAxis = Vec3D{0, 0, 1};
        face->mPoint = Vec3D{0, 0, 1};
        return face;
    }

    void Feed(const std::vector<std::pair<FaceVert*, Points2D>>& contours)
    {
        OutlineFeeder2D feeder;
        mOutline.Begin(mDiagram, kOwnerKindFaces, &mPoly.mDiagramPools, &mPoly.mDiagramWorkPools[0], feeder);
        for (const auto& [owner, points] : contours)
        {
            DiagramOutline::AddPointCallback(owner, false, feeder);
            for (const Vec2D& p : points)
                DiagramOutline::AddPoint(p, feeder);
        }
        ASSERT_TRUE(mOutline.Finish(feeder, f->mLoopTypes, 0, nullptr));
        ASSERT_EQ(mOutline.mLoopTypeCount, 3);
    }

    std::vector<DrawnTriangle> Draw(bool picking, bool selectedOnly, const ColorRGB* overrideColor = nullptr,
                                    const Vec3D& offset = Vec3D{})
    {
        mDrawer.calls.clear();
        ScopedSceneDrawer scope(&mDrawer);
        f->mLoopTypes.DrawFace(f, f->GetLocalFrame(false), offset, 1.0, picking, selectedOnly, overrideColor,
                               mOutline);
        return Drawn(mDrawer);
    }

    void Recolor() { f->mLoopTypes.Recolor(PolygonFillOptions::kBlend, mOutline); }

    PolygonFillOptions mSavedFill;
    int mSavedOptions = 0;
    Poly mPoly;
    FaceDiagram mDiagram;
    DiagramOutline mOutline;
    RecordingSceneDrawer mDrawer;
    Face* f = nullptr;
    Face* g = nullptr;
    Face* h = nullptr;
};

TEST_F(FaceAreasTest, SelectedOnlyDrawingShowsOnlyTheSelectedAreasWhiteAtHalfAlpha)
{
    mPoly.mSelectedFace = f;
    const std::vector<DrawnTriangle> selected = Draw(false, true);
    ASSERT_FALSE(selected.empty());
    EXPECT_NEAR(TotalArea(selected), 4.0, 1e-12);  // f's square: the part g covers alone is left out
    for (const DrawnTriangle& t : selected)
    {
        EXPECT_EQ(t.rgba[0], 1.0f);
        EXPECT_EQ(t.rgba[1], 1.0f);
        EXPECT_EQ(t.rgba[2], 1.0f);
        EXPECT_EQ(t.rgba[3], 0.5f);
        EXPECT_EQ(t.flags, kTriangleDrawNow);
        for (const Vec3D& c : t.corners)
            EXPECT_EQ(c.z, 1.0);
    }
    EXPECT_TRUE(mDrawer.lighting);

    mPoly.mSelectedFace = g;
    EXPECT_NEAR(TotalArea(Draw(false, true)), 4.0, 1e-12);
    mPoly.mSelectedFace = nullptr;
    EXPECT_TRUE(Draw(false, true).empty());
}

TEST_F(FaceAreasTest, TheSideTheViewSeesChoosesFrontOrBackColoursAndHullQueue)
{
    struct Case
    {
        const char* name;
        Vec3D towardViewer;
        bool hull;
        ColorRGB onlyF;
        unsigned flags;
    };
    const Case kCases[] = {
        {"front", {0, 0, 1}, false, {1, 0, 0}, 0u},
        {"back", {0, 0, -1}, false, {0, 1, 0}, 0u},
        {"front of a hull face", {0, 0, 1}, true, {1, 0, 0}, kTriangleQueueAfter},
        {"back of a hull face", {0, 0, -1}, true, {0, 1, 0}, kTriangleQueueBefore},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mDrawer.towardViewer = c.towardViewer;
        f->mFlags = c.hull ? FaceVert::kConvexHull : 0u;
        const Vec3D offset{0, 0, 0.25};
        const std::vector<DrawnTriangle> all = Draw(false, false, nullptr, offset);
        EXPECT_NEAR(TotalArea(all), 6.0, 1e-12);
        double onlyF = 0.0;
        for (const DrawnTriangle& t : all)
        {
            EXPECT_EQ(t.flags, c.flags);
            EXPECT_TRUE(Vec3Equal(t.normal, f->mZAxis, 0.0));
            EXPECT_EQ(t.corners[0].z, 1.25);
            if (t.rgba[0] == c.onlyF.r && t.rgba[1] == c.onlyF.g && t.rgba[2] == c.onlyF.b)
                onlyF += Area(t);
        }
        EXPECT_NEAR(onlyF, 2.0, 1e-12);
    }

    const ColorRGB yellow{1, 1, 0};
    for (const DrawnTriangle& t : Draw(false, false, &yellow))
    {
        EXPECT_EQ(t.rgba[0], 1.0f);
        EXPECT_EQ(t.rgba[1], 1.0f);
        EXPECT_EQ(t.rgba[2], 0.0f);
    }
}

TEST_F(FaceAreasTest, PickingNamesTheElementAPickGoesToAndSkipsHiddenAreas)
{
    // g's square belongs to a vertex this time, and f is hidden.
    Vec3D p{0, 0, 1};
    Vert* v = new Vert(&mPoly, p, 0);
    Feed({{f, Square(0, 0, 2)}, {v, Square(1, 0, 2)}});
    f->mFlags |= FaceVert::kHidden;
    Recolor();
    mDrawer.picking = true;
    std::map<std::pair<int, int>, double> picked;
    for (const DrawnTriangle& t : Draw(true, false))
    {
        picked[{t.selectionType, t.selectionIndex}] += Area(t);
        EXPECT_EQ(t.flags, 0u);
    }
    // The overlap and v's own square go to v (item type 1); f's own part is hidden.
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_NEAR((picked[{1, v->mIndex}]), 4.0, 1e-12);
    EXPECT_EQ(mDrawer.selectionType, -1);

    f->mFlags &= ~FaceVert::kHidden;
    Recolor();
    picked.clear();
    for (const DrawnTriangle& t : Draw(true, false))
        picked[{t.selectionType, t.selectionIndex}] += Area(t);
    EXPECT_NEAR((picked[{0, f->mIndex}]), 4.0, 1e-12);  // f's part and the overlap, after v
    EXPECT_NEAR((picked[{1, v->mIndex}]), 2.0, 1e-12);
}

TEST_F(FaceAreasTest, AugmentationPreviewLeavesOutAreasOfTargetFacesOnly)
{
    int view = 0;
    FaceType* plain = AddFaceType(mPoly, false, {f}, 1);
    FaceType* target = AddFaceType(mPoly, false, {g}, 2);
    FaceType* mirror = AddFaceType(mPoly, false, {h}, 3);
    (void)plain;
    Augmenter& augmenter = mPoly.mAugmenter;
    augmenter.mFace = h;
    augmenter.mPreviewView = &view;
    mDrawer.shellView = &view;

    struct Case
    {
        const char* name;
        uint32_t augmenterFlags;
        bool targetFlag;        // g's own type is a target
        bool mirrorFlag;        // g's mirror type is a target
        bool reflexible;        // "Maintain Reflexibility"
        ColorRGB gColor;
        double drawnArea;
    };
    const ColorRGB grey{0.5f, 0.5f, 0.5f}, blue{0, 0, 1};
    const Case kCases[] = {
        {"g's type is a target", 0x4000, true, false, false, blue, 4.0},
        {"no face choice in the flags", 0, true, false, false, blue, 6.0},
        {"g's type is no target", 0x4000, false, false, false, blue, 6.0},
        {"mirror type a target, reflexibility kept", 0x8000, false, true, true, blue, 4.0},
        {"mirror type a target, reflexibility off", 0x8000, false, true, false, blue, 6.0},
        {"same colour asked, colours differ", 0x4000 | Augmenter::kOnlySameColor, true, false, false, blue, 6.0},
        {"same colour asked and given", 0x4000 | Augmenter::kOnlySameColor, true, false, false, grey, 4.0},
        {"coincident faces kept", 0x4000 | Augmenter::kKeepCoincidentFaces, true, false, false, blue, 6.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        augmenter.mFlags = c.augmenterFlags;
        target->mFlags = c.targetFlag ? kFaceTypeAugmentTarget : 0u;
        target->mMirrorFace = mirror;
        mirror->mFlags = c.mirrorFlag ? kFaceTypeAugmentTarget : 0u;
        StoreStellationOptions(c.reflexible ? kCriteriaReflexible : 0);
        g->mColor = c.gColor;
        Recolor();
        EXPECT_NEAR(TotalArea(Draw(false, false)), c.drawnArea, 1e-12);
    }
    // Another view than the preview's draws everything.
    int other = 0;
    mDrawer.shellView = &other;
    augmenter.mFlags = 0x4000;
    EXPECT_NEAR(TotalArea(Draw(false, false)), 6.0, 1e-12);
    augmenter.mPreviewView = nullptr;
    augmenter.mFace = nullptr;
}

TEST_F(FaceAreasTest, AnImageIsPlacedByItsOwnerAndWhitensItsAreasUnlessItTakesTheFaceColour)
{
    FaceImage* image = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, g, false);
    g->mImage.Set(image);
    Recolor();
    double imaged = 0.0;
    for (const DrawnTriangle& t : Draw(false, false))
        if (t.image)
        {
            imaged += Area(t);
            EXPECT_EQ(t.rgba[0], 1.0f);
            EXPECT_EQ(t.rgba[1], 1.0f);
            EXPECT_EQ(t.rgba[2], 1.0f);
        }
    EXPECT_NEAR(imaged, 4.0, 1e-12);  // g's square: its own part and the overlap

    // Taking the face colour: g's own part in g's blue.
    image->mFlags |= FaceImage::kUseFaceColor;
    double blue = 0.0;
    for (const DrawnTriangle& t : Draw(false, false))
        if (t.image && t.rgba[0] == 0.0f && t.rgba[1] == 0.0f && t.rgba[2] == 1.0f)
            blue += Area(t);
    EXPECT_NEAR(blue, 2.0, 1e-12);
    const ColorRGB yellow{1, 1, 0};
    for (const DrawnTriangle& t : Draw(false, false, &yellow))
        EXPECT_FALSE(t.image);
    mPoly.mSelectedFace = g;
    for (const DrawnTriangle& t : Draw(false, true))
        EXPECT_FALSE(t.image);
    mPoly.mSelectedFace = nullptr;
    g->mImage.Set(nullptr);
}
}  // namespace
