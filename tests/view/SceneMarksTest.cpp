#include "kernel/Transform3D.h"
#include "kernel/TransitionSettings.h"
#include "model/FaceVert.h"
#include "model/SectionPolygon.h"
#include "model/SymGroup.h"
#include "model/SymAxisSet.h"
#include "polytope4d/Polytope4D.h"
#include "view/PaneFixture.h"

#include <cmath>
#include <memory>

namespace
{
class SceneMarksTest : public PaneFixture
{
protected:
    // An orthogonal camera looking at the origin from the back direction, right given.
    static void LookFrom(CPolyView* pane, const Vec3D& back, const Vec3D& right)
    {
        Vec3D b = back, r = right, u;
        Vec3Normalize(b);
        Vec3Normalize(r);
        Vec3Cross(u, b, r);
        Transform3D camera;
        Vec3D eye;
        Vec3Scale(eye, b, 6.0);
        camera.SetFrameToWorld(eye, r, u, b);
        pane->SetCameraTransform(camera);
        pane->SetOrthogonal(true);
        NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    }

    static bool IsColor(const Frame& frame, CPolyView* pane, const Vec3D& p, const unsigned char c[3], int d = 1)
    {
        int x = 0, y = 0;
        ProjectToPixel(pane, p, x, y);
        return frame.NearColor(x, y, d, c, 3);
    }
};

const unsigned char kGreen[3] = {0, 255, 0};
const unsigned char kBlack[3] = {0, 0, 0};
const unsigned char kYellow[3] = {255, 255, 0};

Vec3D Scaled(const Vec3D& v, double s)
{
    Vec3D out;
    Vec3Scale(out, v, s);
    return out;
}

TEST_F(SceneMarksTest, TheMidsphereTouchesTheEdgesOfTheCube)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{0.0f, 0.0f, 1.0f};
    // Seen along a face's normal, across the middle of one of its edges.
    const FaceVert* face = poly->mFaces.mFirst;
    const Vec3D n = face->GetNormal();
    Vec3D mid;
    Vec3Add(mid, face->mNeighbours[0]->mPoint, face->mNeighbours[1]->mPoint);
    Vec3AddScaledTo(mid, -Vec3Dot(mid, n), n);
    CPolyView* pane = Pane(0);
    LookFrom(pane, n, mid);
    Vec3D right = pane->GetRight();
    Vec3Normalize(right);
    GetElementDisplayOptions().mMidsphereColor = ColorRGB{0.0f, 1.0f, 0.0f};
    // The cube of circumradius 1 has half-edge 1/sqrt(3) and midradius sqrt(2/3).
    const double midradius = std::sqrt(2.0 / 3.0);
    ASSERT_NEAR(poly->mMidRadius, midradius, 1e-9);

    Frame frame = DrawAndRead(pane);
    EXPECT_FALSE(IsColor(frame, pane, Scaled(right, 0.9 * midradius), kGreen));
    EXPECT_TRUE(IsColor(frame, pane, Scaled(right, 0.9 * midradius), kBlack)) << "beyond the face: nothing";

    GetViewDisplayOptions().showMidsphere = true;
    frame = DrawAndRead(pane);
    const Vec3D origin{0.0, 0.0, 0.0};
    EXPECT_TRUE(IsColor(frame, pane, origin, kGreen)) << "the sphere pokes through the middle of the face";
    EXPECT_TRUE(IsColor(frame, pane, Scaled(right, 0.9 * midradius), kGreen, 0));
    EXPECT_TRUE(IsColor(frame, pane, Scaled(right, 0.97 * midradius), kGreen, 0));
    EXPECT_TRUE(IsColor(frame, pane, Scaled(right, 1.03 * midradius), kBlack, 0)) << "and no further";
    // The sphere meets the face plane in the face's inscribed circle: towards a corner, outside
    // that circle, the face stands in front.
    Vec3D corner = face->mNeighbours[0]->mPoint;
    Vec3AddScaledTo(corner, -Vec3Dot(corner, n), n);
    Vec3Normalize(corner);
    EXPECT_TRUE(IsColor(frame, pane, Scaled(corner, 0.5), kGreen, 0));
    EXPECT_FALSE(IsColor(frame, pane, Scaled(corner, 0.7), kGreen, 0));
}

TEST_F(SceneMarksTest, SymmetryAxesAreDrawnThroughTheModelAndBeyond)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    const SymGroup* group = poly->GetSymGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->mKind, SymGroup::kOctahedral);
    const Vec3D axis = group->mAxisSets[0].mAxes[0].mDir;
    Vec3D back, right;
    Vec3Perpendicular(back, axis);
    Vec3Cross(right, axis, back);
    Vec3AddScaledTo(back, 0.3, right);
    CPolyView* pane = Pane(0);
    LookFrom(pane, back, axis);

    // Past the cube's corners (radius 1) only the axis can be there.
    const Vec3D probe = Scaled(axis, 1.05);
    Frame frame = DrawAndRead(pane);
    EXPECT_TRUE(IsColor(frame, pane, probe, kBlack, 0));
    EXPECT_FALSE(IsColor(frame, pane, probe, kYellow));

    pane->mShowSymmetryAxes = true;
    frame = DrawAndRead(pane);
    EXPECT_TRUE(IsColor(frame, pane, probe, kYellow)) << "the first class of axes is yellow";
    EXPECT_TRUE(IsColor(frame, pane, Scaled(axis, -1.05), kYellow)) << "the axis goes through the model";
    EXPECT_FALSE(IsColor(frame, pane, Scaled(axis, 1.25), kYellow, 0)) << "axes end at 1.2 model radii";
    pane->mShowSymmetryAxes = false;
}

TEST_F(SceneMarksTest, TheSectionOutlineShowsDottedThroughTheModelPanesThatShowIt)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    // The section of the cube across z passes its four side faces: red across x, blue across y, so
    // that the outline takes their mean, purple.
    double h = 0.0;
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        if (std::fabs(f->mZAxis.z) > 0.5)
            continue;
        f->mColor = f->mBackColor = std::fabs(f->mZAxis.x) > 0.5 ? ColorRGB{1.0f, 0.0f, 0.0f} : ColorRGB{0.0f, 0.0f, 1.0f};
        h = std::max(h, std::fabs(Vec3Dot(f->mCentre, f->mZAxis)));
    }
    poly->mFlags |= Poly::kRecolorFaceDiagrams;
    const unsigned char kPurple[3] = {128, 0, 128};
    CPolyView* pane = Pane(0);
    LookFrom(pane, Vec3D{0.1, 0.2, 1.0}, Vec3D{1.0, 0.0, -0.1});

    // Halfway along a side of the square, at the middle depth of the cube along z.
    Mat4 frameMatrix;
    GetSceneParameters().sliceMatrix = frameMatrix;
    GetSceneParameters().sliceRatio = 0.5;
    const Vec3D onSide{h, 0.0, 0.0};
    Frame frame = DrawAndRead(pane);
    EXPECT_FALSE(IsColor(frame, pane, onSide, kPurple, 2)) << "not shown in the model views";

    GetViewDisplayOptions().sectionDisplayMode = 2;
    frame = DrawAndRead(pane);
    EXPECT_TRUE(IsColor(frame, pane, onSide, kPurple, 2)) << "dotted through the faces in front";

    // A depth of 1 takes the plane to the cube's lowest vertex along z.
    GetSceneParameters().sliceRatio = 1.0;
    double lowest = 1.0;
    for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
        lowest = std::min(lowest, v->mPoint.z);
    frame = DrawAndRead(pane);
    EXPECT_TRUE(IsColor(frame, pane, Vec3D{h, 0.0, lowest}, kPurple, 2));
    EXPECT_FALSE(IsColor(frame, pane, onSide, kPurple, 1));
}

TEST_F(SceneMarksTest, AMessageOfAvailabilityIsAllThePaneShows)
{
    CPolyView* pane = Pane(0);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    pane->SetViewType(kViewTypeMorphTruncating, false);
    Frame frame = DrawAndRead(pane);
    const int h = frame.height, w = frame.width;
    const int line = 40;
    EXPECT_GT(frame.CountLit(0, h - line, w / 2, h), 20) << "the morph's ratio at the top";
    EXPECT_GT(frame.CountLit(0, h / 2 - line, w, h / 2 + line), 20) << "its notice in the middle";

    // A 4D model cannot be shown in this morph: its message in the middle and nothing else.
    GetCurrentPoly()->SetPolytope4D(std::make_unique<Polytope4D>(), 0);
    frame = DrawAndRead(pane);
    EXPECT_EQ(frame.CountLit(0, h - line, w, h), 0);
    EXPECT_GT(frame.CountLit(0, h / 2 - line, w, h / 2 + line), 20);

    // The same for a pane that draws the model: the dual of an unclosed polytope.
    auto open = std::make_unique<Polytope4D>();
    open->mFlags |= Polytope4D::kNotClosed;
    GetCurrentPoly()->SetPolytope4D(std::move(open), 0);
    pane->SetViewType(kViewTypeDual, false);
    frame = DrawAndRead(pane);
    EXPECT_GT(frame.CountLit(0, h / 2 - line, w, h / 2 + line), 20);
    GetCurrentPoly()->SetPolytope4D(nullptr, 0);
}

TEST_F(SceneMarksTest, AModelTurnedByItsTransitionShowsTheFrontOfTheFacesNowTowardsTheViewer)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
    {
        f->mColor = ColorRGB{1.0f, 0.0f, 0.0f};
        f->mBackColor = ColorRGB{0.0f, 1.0f, 0.0f};
    }
    // Seen along a face that the spin about y moves, half way through a grow with a quarter turn.
    const FaceVert* side = nullptr;
    for (const FaceVert* f = poly->mFaces.mFirst; f && !side; f = f->mNext)
        if (std::fabs(f->GetNormal().y) < 0.3)
            side = f;
    ASSERT_NE(side, nullptr);
    CPolyView* pane = Pane(0);
    const Vec3D n = side->GetNormal();
    LookFrom(pane, n, Vec3D{n.z, 0.0, -n.x});
    GetRenderSettings().renderFlags = 0;
    poly->mTransition.type = TransitionSettings::kTypeShrinkGrow;
    poly->mTransition.duration = 1.0;
    poly->mTransition.shrinkSpin = 2.0;  // 1 s x 2 x 180 degrees x (1/2)^2
    poly->mIncoming = true;
    poly->mTransitionProgress = 0.5;
    const Frame frame = DrawAndRead(pane);
    // Lit red: the front colour of whichever face now faces the camera.
    const unsigned char* centre = frame.At(frame.width / 2, frame.height / 2);
    EXPECT_GT(centre[0], 60);
    EXPECT_LT(centre[1], 20) << "no back colour";
    poly->mTransitionProgress = 1.0;
}

TEST_F(SceneMarksTest, DuringATransitionTheOutgoingModelIsDrawnWhereItsMotionTakesIt)
{
    Poly* outgoing = OpenModel("4.4.4");
    ASSERT_NE(outgoing, nullptr);
    for (FaceVert* f = outgoing->mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = ColorRGB{1.0f, 0.0f, 0.0f};
    CPolyView* pane = Pane(0);
    DrawAndRead(pane);  // the fit asked for by the model change
    LookFrom(pane, Vec3D{0.2, 0.3, 1.0}, Vec3D{1.0, 0.0, -0.2});
    Vec3D right = pane->GetRight();
    Vec3Normalize(right);

    // Half way out sideways: moved to the left by half the view radius (1 for the cube).
    outgoing->mTransition.type = TransitionSettings::kTypeSideways;
    outgoing->mTransition.duration = 1.0;
    outgoing->mTransition.sidewaysAngle = 0.0;
    outgoing->mTransition.sidewaysSpin = 0.0;
    outgoing->mIncoming = false;
    outgoing->mTransitionProgress = 0.5;
    // The incoming record holds no model yet.
    ModelRecord* incoming = mDocument->AddModelRecord();
    mDocument->SwitchModelRecord(incoming, CPolyDoc::kNoPaths, nullptr);
    const Frame frame = DrawAndRead(pane);
    const unsigned char black[3] = {0, 0, 0};
    EXPECT_FALSE(IsColor(frame, pane, Scaled(right, -0.9), black, 0)) << "the cube moved to the left";
    EXPECT_TRUE(IsColor(frame, pane, Scaled(right, 0.4), black, 0)) << "and away from the middle";
    EXPECT_EQ(GetCurrentPoly(), &incoming->mPoly) << "the drawing ends on the current record";
}

TEST(StencilRule, TheStencilStaysOnUnlessPickingOrNoTwoFacesCanCoincide)
{
    struct Case
    {
        const char* name;
        StencilDrawState state;
        bool keeps;
    };
    StencilDrawState plain;
    plain.useStencil = true;
    plain.autoStencil = true;
    plain.viewType = kViewTypePoly;
    const auto with = [&plain](auto change) {
        StencilDrawState s = plain;
        change(s);
        return s;
    };
    const Case kCases[] = {
        {"a 3D model", plain, true},
        {"switched off", with([](StencilDrawState& s) { s.useStencil = false; }), false},
        {"picking", with([](StencilDrawState& s) { s.picking = true; }), false},
        {"4D cells unshrunk", with([](StencilDrawState& s) { s.model4D = true; }), false},
        {"4D cells shrunk", with([](StencilDrawState& s) { s.model4D = true; s.cellShrink4D = 0.3; }), true},
        {"4D, chosen by hand", with([](StencilDrawState& s) { s.model4D = true; s.autoStencil = false; }), true},
        {"4D, printing", with([](StencilDrawState& s) { s.model4D = true; s.printing = true; }), true},
        {"4D, diagnosing", with([](StencilDrawState& s) { s.model4D = true; s.diagnosticMode = 1; }), true},
        {"4D net unshrunk", with([](StencilDrawState& s) { s.model4D = true; s.viewType = kViewTypeNet2D; }), false},
        {"4D net shrunk",
         with([](StencilDrawState& s) { s.model4D = true; s.viewType = kViewTypeNet2D; s.netShrink4D = 0.5; }), true},
        {"4D cell pane", with([](StencilDrawState& s) { s.model4D = true; s.viewType = kViewTypeFace; }), true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KeepsStencilForDraw(c.state), c.keeps);
    }
}
}  // namespace
