// The model pane's mouse: drags through the action codes move the scene values and the pane's own
// values by their rates, fast releases throw them, the modes and view types stop what no pane needs.
// Mouse events are the window system's own, given to the pane's canvas; time is the frozen clock.

#include "kernel/MemBlock.h"
#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/TokenFile.h"
#include "kernel/Transform3D.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/MouseThrowState.h"
#include "model/Poly.h"
#include "platform/GLCanvasWindow.h"
#include "polytope4d/Polytope4D.h"
#include "ui/EscapeCommands.h"
#include "ui/MainFrameFixture.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"
#include "view/ViewDisplayOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <memory>
#include <string>

#include <unistd.h>

namespace
{
constexpr int kShift = NewView::kShift;
constexpr int kCtrl = NewView::kCtrl;

struct Button
{
    wxEventType down;
    wxEventType up;
    int held;
};
const Button kLeft{wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, NewView::kLeftButton};
const Button kRight{wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, NewView::kRightButton};

class PolyViewMouseTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedScene = GetSceneParameters();
        mPreviousTime = SetFrozenTime(mTime);
        SetMouseInterfaceType(0);
        EnableMouseThrows(true);
        StopAllMouseThrows();
        SetMouseThrowBounce(false);
        mFrame->SetLayout(kLayout1);
        Pump();
        ASSERT_NE(Pane(0), nullptr);
        Pane(0)->Activate(true);
    }

    void TearDown() override
    {
        if (!IsSkipped())
        {
            StopAllMouseThrows();
            CPolyView::SetMouseMode(kMouseModeSelect);
            if (Poly* poly = GetCurrentPoly())
                poly->mPolytope.reset();
            GetSceneParameters() = mSavedScene;
            gClampMorphing = true;
            SetExplosionImplodeAllowed(false);
            GetViewDisplayOptions().sectionDisplayMode = 0;
            SetFrozenTime(mPreviousTime);
        }
        MainFrameFixture::TearDown();
    }

    static CPolyView* Pane(int i)
    {
        NewView* v = NewView::GetFirstView();
        for (; v && i > 0; --i)
            v = v->next;
        return dynamic_cast<CPolyView*>(v);
    }

    // One mouse event of the window system at a canvas position.
    static void Send(CPolyView* pane, wxEventType type, int x, int y, int keys, int held)
    {
        wxWindow* canvas = pane->GetCanvas();
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, y));
        event.SetShiftDown((keys & kShift) != 0);
        event.SetControlDown((keys & kCtrl) != 0);
        event.SetLeftDown((held & NewView::kLeftButton) != 0);
        event.SetMiddleDown((held & NewView::kMiddleButton) != 0);
        event.SetRightDown((held & NewView::kRightButton) != 0);
        event.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(event);
    }

    void Advance(double seconds)
    {
        mTime += seconds;
        SetFrozenTime(mTime);
    }

    // A drag with the button and keys: moves of (stepX, stepY) every 20 ms, the release `rest`
    // seconds after the last move (a rest over 0.1 s throws nothing).
    void Drag(CPolyView* pane, const Button& button, int keys, int moves, int stepX, int stepY, double rest)
    {
        int x = 300, y = 250;
        Send(pane, wxEVT_MOTION, x, y, keys, 0);
        Send(pane, button.down, x, y, keys, button.held);
        for (int i = 0; i < moves; ++i)
        {
            Advance(0.02);
            x += stepX;
            y += stepY;
            Send(pane, wxEVT_MOTION, x, y, keys, button.held);
        }
        Advance(rest);
        Send(pane, button.up, x, y, keys, 0);
    }

    // Steps every moving throw each 10 ms for the span, keeping the range the value went through.
    void StepFor(double seconds, const double& value, double& low, double& high)
    {
        low = high = value;
        for (double t = 0.0; t < seconds; t += 0.01)
        {
            Advance(0.01);
            StepMouseThrows(nullptr);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }

    // A 4D model as far as the mouse is concerned: the current model holds a polytope.
    static void Make4D() { GetCurrentPoly()->mPolytope = std::make_unique<Polytope4D>(); }

    SceneParameters mSavedScene;
    double mTime = 500.0;
    double mPreviousTime = -1.0;
};

void ExpectVec4Near(const Vec4D& a, const Vec4D& b, double tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
    EXPECT_NEAR(a.w, b.w, tol);
}

Vec4D Embed(const Vec3D& v)
{
    return Vec4D{v.x, v.y, v.z, 0.0};
}

// The angle and axis of a 3D rotation from its matrix.
double RotationAngle(const Mat4& s)
{
    const double trace = s.At(0, 0) + s.At(1, 1) + s.At(2, 2);
    return std::acos(std::clamp((trace - 1.0) / 2.0, -1.0, 1.0));
}

Vec3D RotationAxis(const Mat4& s)
{
    Vec3D axis{s.At(2, 1) - s.At(1, 2), s.At(0, 2) - s.At(2, 0), s.At(1, 0) - s.At(0, 1)};
    Vec3Scale(axis, axis, 1.0 / Vec3Length(axis));
    return axis;
}
}  // namespace

TEST_F(PolyViewMouseTest, CtrlLeftDragsFoldAndMorphByTheirRates)
{
    struct Case
    {
        const char* name;
        int type;
        double* value;
        double start;
        double end;
    };
    SceneParameters& scene = GetSceneParameters();
    const Case kCases[] = {
        {"Folding Net: 100 pixels right unfold by 0.2", kViewTypeNet3D, &scene.foldRatio, 0.5, 0.3},
        {"morph: 100 pixels right morph by 0.2", kViewTypeMorphSizing, &scene.morphRatio, 0.3, 0.5},
    };
    CPolyView* pane = Pane(0);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        *c.value = c.start;
        Drag(pane, kLeft, kCtrl, 5, 20, 0, 0.5);
        EXPECT_NEAR(*c.value, c.end, 1e-12);
        EXPECT_FALSE(AnyMouseThrowMoving()) << "a release after a rest throws nothing";
    }
}

TEST_F(PolyViewMouseTest, AThrownMorphSwingsWhileClampedAndRunsOnWithout)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeMorphTruncating, false);
    double& ratio = GetSceneParameters().morphRatio;
    double low = 0.0, high = 0.0;

    ratio = 0.5;
    Drag(pane, kLeft, kCtrl, 5, 10, 0, 0.01);
    ASSERT_TRUE(GetSceneThrows().morph.IsMoving());
    StepFor(6.0, ratio, low, high);
    EXPECT_EQ(low, 0.0);
    EXPECT_EQ(high, 1.0);

    StopAllMouseThrows();
    gClampMorphing = false;
    ratio = 0.5;
    Drag(pane, kLeft, kCtrl, 5, 10, 0, 0.01);
    ASSERT_TRUE(GetSceneThrows().morph.IsMoving());
    const float speed = GetSceneThrows().morph.GetVelocityX();
    const double released = ratio;
    StepFor(6.0, ratio, low, high);
    EXPECT_EQ(low, released);
    EXPECT_NEAR(high, released + 6.0 * speed * 0.002, 0.05);
    EXPECT_GT(ratio, 4.0);
}

TEST_F(PolyViewMouseTest, AThrownExplosionSwingsBetweenItsReleaseAndRest)
{
    struct Case
    {
        const char* name;
        double start;
        int step;  // pixels of each of the five moves
        bool implode;
        double low;
        double high;
    };
    const Case kCases[] = {
        {"exploded to 2.5", 1.0, 10, false, 1.0, 2.5},
        {"shrunk to 0.8", 1.4, -4, false, -0.8, 0.8},
        {"exploded to 2.5 with imploding allowed", 1.0, 10, true, -2.5, 2.5},
    };
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    ExplodeThrow& t = pane->GetExplodeThrow();
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        StopAllMouseThrows();
        SetExplosionImplodeAllowed(c.implode);
        pane->SetExplosion(c.start);
        Drag(pane, kLeft, kShift | kCtrl, 5, c.step, 0, 0.01);
        ASSERT_TRUE(t.IsMoving());
        EXPECT_NEAR(t.GetLow(), c.low, 1e-9);
        EXPECT_NEAR(t.GetHigh(), c.high, 1e-9);
        double scale = pane->GetExplosion(), low = 0.0, high = 0.0;
        for (int i = 0; i < 600; ++i)
        {
            Advance(0.01);
            StepMouseThrows(nullptr);
            scale = pane->GetExplosion();
            low = i == 0 ? scale : std::min(low, scale);
            high = i == 0 ? scale : std::max(high, scale);
        }
        EXPECT_NEAR(low, c.low, 1e-9);
        EXPECT_NEAR(high, c.high, 1e-9);
    }
    // The option changed under a moving throw moves its lower limit.
    SetExplosionImplodeAllowed(false);
    EXPECT_EQ(t.GetLow(), 1.0);
    SetExplosionImplodeAllowed(true);
    EXPECT_NEAR(t.GetLow(), -2.5, 1e-9);
}

TEST_F(PolyViewMouseTest, SliceDragsMoveTheDepthAndTurnTheSlice)
{
    CPolyView* pane = Pane(0);
    SceneParameters& scene = GetSceneParameters();
    struct DepthCase
    {
        const char* name;
        int type;
        int mode;
    };
    const DepthCase kDepthCases[] = {
        {"Cross-Section pane", kViewTypeSlice, kMouseModeSelect},
        {"base pane in slice tumbling", kViewTypePoly, kMouseModeSectionTumble},
    };
    for (const DepthCase& c : kDepthCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        CPolyView::SetMouseMode(c.mode);
        scene.sliceRatio = 0.5;
        Drag(pane, kLeft, kCtrl, 5, 20, 0, 0.5);
        EXPECT_NEAR(scene.sliceRatio, 0.6, 1e-12);
    }

    // 200 pixels to the right turn the slice by one radian about the screen's downward axis.
    CPolyView::SetMouseMode(kMouseModeSectionTumble);
    struct TurnCase
    {
        const char* name;
        int type;
        bool cameraAxis;  // the axis lies in the model as the camera sees it
    };
    const TurnCase kTurnCases[] = {
        {"base pane", kViewTypePoly, true},
        {"Cross-Section pane", kViewTypeSlice, false},
    };
    for (const TurnCase& c : kTurnCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        scene.sliceMatrix.SetIdentity();
        Drag(pane, kLeft, kShift, 10, 20, 0, 0.5);
        EXPECT_NEAR(RotationAngle(scene.sliceMatrix), 1.0, 1e-9);
        Vec3D axis{0.0, -1.0, 0.0};
        if (c.cameraAxis)
        {
            Transform3D camera;
            pane->GetCameraTransform(camera);
            camera.m.GetColumn(axis, 1);
            Vec3Scale(axis, axis, -1.0);
        }
        const Vec3D turned = RotationAxis(scene.sliceMatrix);
        EXPECT_NEAR(turned.x, axis.x, 1e-9);
        EXPECT_NEAR(turned.y, axis.y, 1e-9);
        EXPECT_NEAR(turned.z, axis.z, 1e-9);
        EXPECT_EQ(scene.sliceMatrix.At(3, 3), 1.0);
    }
}

TEST_F(PolyViewMouseTest, FourDDragsTurnThePanesRotation)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    Make4D();
    CPolyView::SetMouseMode(kMouseMode4DTumble);
    Transform3D camera;
    pane->GetCameraTransform(camera);
    Vec3D right, up, back;
    camera.m.GetColumn(right, 0);
    camera.m.GetColumn(up, 1);
    camera.m.GetColumn(back, 2);
    const Vec4D w{0, 0, 0, 1};
    const double c = std::cos(1.0), s = std::sin(1.0);
    auto turned = [](const Vec4D& from, double cosine, const Vec4D& towards, double sine) {
        Vec4D v;
        Vec4ScaleTo(v, from, cosine);
        Vec4AddScaledTo(v, sine, towards);
        return v;
    };
    auto image = [pane](const Vec3D& v) {
        Vec4D out;
        pane->GetRotation4D().Transform(out, Embed(v));
        return out;
    };

    // Shift+left 200 pixels right: the screen's right turns by a radian into the fourth axis (for the
    // drag's axis pointing down the screen, away from it), the rest of the screen stays.
    pane->SetRotation4D(Mat4());
    Drag(pane, kLeft, kShift, 10, 20, 0, 0.5);
    ExpectVec4Near(image(right), turned(Embed(right), c, w, -s), 1e-9);
    ExpectVec4Near(image(up), Embed(up), 1e-9);
    ExpectVec4Near(image(back), Embed(back), 1e-9);

    // Shift+right 200 pixels: the line of sight turns into the fourth axis.
    pane->SetRotation4D(Mat4());
    Drag(pane, kRight, kShift, 10, 20, 0, 0.5);
    ExpectVec4Near(image(back), turned(Embed(back), c, w, s), 1e-9);
    ExpectVec4Near(image(right), Embed(right), 1e-9);
    ExpectVec4Near(image(up), Embed(up), 1e-9);

    // Through a chosen direction: that direction turns into the fourth axis.
    pane->SetRotation4D(Mat4());
    RotateThrough4DThrow& through = pane->GetRotateThrough4DThrow();
    ASSERT_TRUE(through.SetDirection(Vec4D{0, 2, 0, 0}));
    through.Apply(100.0f, 100.0f);
    Vec4D y;
    pane->GetRotation4D().Transform(y, Vec4D{0, 1, 0, 0});
    ExpectVec4Near(y, turned(Vec4D{0, 1, 0, 0}, c, w, s), 1e-9);

    // A thrown 4D turn goes on, and stops at its next step once the model is no longer 4D.
    Drag(pane, kLeft, kShift, 5, 10, 0, 0.01);
    ASSERT_TRUE(pane->GetRotate4DThrow().IsMoving());
    const Mat4 before = pane->GetRotation4D();
    Advance(0.1);
    StepMouseThrows(nullptr);
    EXPECT_NE(before.At(3, 0), pane->GetRotation4D().At(3, 0)) << "the throw did not go on turning";
    GetCurrentPoly()->mPolytope.reset();
    const Mat4 at3D = pane->GetRotation4D();
    Advance(0.1);
    StepMouseThrows(nullptr);
    EXPECT_FALSE(pane->GetRotate4DThrow().IsMoving());
    EXPECT_EQ(at3D.At(3, 0), pane->GetRotation4D().At(3, 0));
}

TEST(RotateThrough4D, DirectionsKeepOnlyWhatCanTurnIntoTheFourthAxis)
{
    struct Case
    {
        const char* name;
        Vec4D v;
        bool taken;
        Vec4D u;  // the direction afterwards
    };
    const double h = 1.0 / std::sqrt(2.0);
    const Case kCases[] = {
        {"along w", {0, 0, 0, 1}, false, {1, 0, 0, 0}},
        {"against w", {0, 0, 0, -1}, false, {1, 0, 0, 0}},
        {"zero", {0, 0, 0, 0}, false, {1, 0, 0, 0}},
        {"partly along w", {1, 1, 0, 1}, true, {h, h, 0, 0}},
        {"in 3D, not unit", {0, 0, 3, 0}, true, {0, 0, 1, 0}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        RotateThrough4DThrow t(nullptr);
        EXPECT_EQ(t.SetDirection(c.v), c.taken);
        ExpectVec4Near(t.GetDirection(), c.u, 1e-15);
    }
}

TEST_F(PolyViewMouseTest, TypeChangesStopSharedMotionsWithTheirLastPane)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    CPolyView* first = Pane(0);
    CPolyView* second = Pane(1);
    ASSERT_NE(second, nullptr);
    SceneThrows& shared = GetSceneThrows();
    struct Case
    {
        const char* name;
        int type;
        MouseThrow* t;
    };
    const Case kCases[] = {
        {"two Folding Nets and the fold", kViewTypeNet3D, &shared.fold},
        {"two Unfolded Nets and the 4D net shrink", kViewTypeNet2D, &shared.netShrink4D},
        {"two morphs and the morph", kViewTypeMorphWithRects, &shared.morph},
        {"two Cross-Sections and the depth", kViewTypeSlice, &shared.sliceDepth},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        first->SetViewType(c.type, false);
        second->SetViewType(c.type, false);
        c.t->Start(50.0f, 0.0f);
        first->SetViewType(kViewTypePoly, false);
        EXPECT_TRUE(c.t->IsMoving()) << "the other pane still shows it";
        second->SetViewType(kViewTypePoly, false);
        EXPECT_FALSE(c.t->IsMoving());
    }
    // The slice turns of every pane go with the last pane that needs the section.
    first->SetViewType(kViewTypeSlice, false);
    second->GetSliceRotateThrow().Start(50.0f, 0.0f);
    first->GetSliceTwist4DThrow().Start(50.0f, 0.0f);
    first->SetViewType(kViewTypeFace, false);
    EXPECT_FALSE(second->GetSliceRotateThrow().IsMoving());
    EXPECT_FALSE(first->GetSliceTwist4DThrow().IsMoving());

    // A pane's explosion stops when it leaves the 3D model views or becomes a net.
    first->SetViewType(kViewTypePoly, false);
    first->GetExplodeThrow().Start(50.0f, 0.0f);
    first->SetViewType(kViewTypeDual, false);
    EXPECT_TRUE(first->GetExplodeThrow().IsMoving());
    first->SetViewType(kViewTypeFace, false);
    EXPECT_FALSE(first->GetExplodeThrow().IsMoving());
}

TEST_F(PolyViewMouseTest, LeavingAModeStopsItsMotionsInEveryPane)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    CPolyView* panes[] = {Pane(0), Pane(1)};
    ASSERT_NE(panes[1], nullptr);
    CPolyView::SetMouseMode(kMouseModeSectionTumble);
    for (CPolyView* pane : panes)
    {
        pane->GetSliceRotateThrow().Start(50.0f, 0.0f);
        pane->GetSliceRotate4DThrow().Start(50.0f, 0.0f);
        pane->GetTunnel4DThrow().Start(50.0f, 0.0f);
    }
    CPolyView::SetMouseMode(kMouseMode4DTumble);
    for (CPolyView* pane : panes)
    {
        EXPECT_FALSE(pane->GetSliceRotateThrow().IsMoving());
        EXPECT_FALSE(pane->GetSliceRotate4DThrow().IsMoving());
        EXPECT_TRUE(pane->GetTunnel4DThrow().IsMoving()) << "4D tumbling goes on in its own mode";
        pane->GetRotate4DThrow().Start(50.0f, 0.0f);
    }
    CPolyView::SetMouseMode(kMouseModeSelect);
    for (CPolyView* pane : panes)
    {
        EXPECT_FALSE(pane->GetTunnel4DThrow().IsMoving());
        EXPECT_FALSE(pane->GetRotate4DThrow().IsMoving());
    }
    // Esc ends a mode once nothing moves.
    CPolyView::SetMouseMode(kMouseModeImage);
    EXPECT_TRUE(RunEscapeKey());
    EXPECT_EQ(GetMouseMode(), kMouseModeSelect);
    ASSERT_NE(NewView::GetActiveView(), nullptr);
    EXPECT_TRUE(NewView::GetActiveView()->GetMessage().empty());
}

TEST_F(PolyViewMouseTest, EachModeShowsItsHelpInTheActivePane)
{
    const std::string esc = "\nEsc --- Return to normal mode";
    struct Case
    {
        int mode;
        std::string text;
    };
    const Case kCases[] = {
        {kMouseModeSelect, ""},
        {kMouseModeIdentify,
         "IDENTIFICATION MODE\n\nShift+Left-click --- Identify a face/edge/vert\n\nIdentification details will "
         "appear in the\n  status bar at the bottom of the window." +
             esc},
        {kMouseModeCutEdges,
         "CUTTING MODE\n\nShift+Left-click --- Cut/uncut edges of selected type\nShift+Right-click --- Cut/uncut "
         "single edge" +
             esc},
        {kMouseModeMeasure,
         "MEASUREMENT MODE\nMeasure distance and angle between items\nItems can be points, lines or planes\n"
         "\nShift+Left-click --- Select new item\nShift+Right-click --- Extend item\nCtrl+Left-click --- Replace "
         "recent item\nCtrl+Right-click --- Extend item" +
             esc +
             "\n\nMeasured distance and angle appear on-screen\n  and in the status bar at the bottom of the "
             "window.\nDistance is also available from the menu:\n  \"Scale->Measured Distance...\"."},
        {kMouseModeFaceting,
         "FACETING MODE\n\nWARNING: Faceting mode is very difficult to use without\na Faceting Preview view open.  "
         "Select a view you'd like to\nchange and use \"View->View Models->Preview Faceting\"\n(or the equivalent "
         "toolbar button).\n\nShift + Left-click --- Select vertices of facet\n\".\"/\"...\" --- Auto-complete "
         "facet\nBackspace --- Remove last vertex of facet\nShift + Right-click --- Accept facet\nEnter/Tick --- "
         "Accept facet\nDelete/Cross --- Discard facet\nCtrl + Right-click --- Select existing face to use as "
         "facet\nCtrl + Shift + F --- Create faceted polyhedron" +
             esc},
        {kMouseModeColorFaces,
         "COLOR/HIDE FACES MODE\n\nShift + Left-click --- Color/hide all faces of selected type same as previous\n"
         "Ctrl + Left-click --- Color/hide selected face only same as previous\nShift + Right-click --- Select a "
         "face (without changing color)\nCtrl + Right-click --- Select a face (without changing color)" +
             esc},
        {kMouseModeImage,
         "IMAGE MODE (See also \"Image\" menu)\n\nShift + Left-drag --- Move image\nShift + Right-drag --- Scale "
         "image\nShift + Left+Right-drag --- Rotate image\nCtrl + Left-click --- Select face\nCtrl + Right-drag --- "
         "Stretch image\n(Use \"Color/Hide Faces\" mode to copy images between faces)" +
             esc},
        {kMouseModeSectionTumble,
         "SLICE TUMBLE MODE\n\nShift + Left-drag --- Rotate slicing plane\nShift + Right-drag --- Rotate slicing "
         "plane in 4D\nShift + Left+Right-drag --- Twist slicing plane in 4D (only in Base/Dual view)\nCtrl + "
         "Left-drag --- Change slicing depth\nCtrl + Right-click --- Slice half-way" +
             esc},
        {kMouseMode4DTumble,
         "4D TUMBLE MODE\n\nShift + Left-drag --- Rotate in 4D\nShift + Right-drag --- Tunnel in 4D\nCtrl + "
         "Left-drag --- Rotate through cell in 4D\nCtrl + Right-drag --- Rotate through vertex in 4D\nSpace + "
         "Right-drag --- FOV in 4D" +
             esc},
    };
    CPolyView* pane = Pane(0);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.mode);
        CPolyView::SetMouseMode(c.mode);
        EXPECT_EQ(GetMouseMode(), c.mode);
        EXPECT_EQ(pane->GetMessage(), c.text);
        EXPECT_EQ(CPolyView::ModeHelpText(false), c.text);
    }

    // 4D models speak of cells; an open Faceting Preview needs no warning.
    Make4D();
    CPolyView::SetMouseMode(kMouseModeIdentify);
    EXPECT_NE(pane->GetMessage().find("Identify a cell/face/edge/vert\n"), std::string::npos);
    CPolyView::SetMouseMode(kMouseModeMeasure);
    EXPECT_NE(pane->GetMessage().find("lines, planes or hyperplanes\n"), std::string::npos);
    CPolyView::SetMouseMode(kMouseModeColorFaces);
    EXPECT_EQ(pane->GetMessage().rfind("COLOR/HIDE CELLS MODE\n\nShift + Left-click --- Color/hide all cells of", 0),
              0u);
    GetCurrentPoly()->mPolytope.reset();
    pane->SetViewType(kViewTypeFacetPreview, false);
    CPolyView::SetMouseMode(kMouseModeFaceting);
    EXPECT_EQ(pane->GetMessage().find("WARNING"), std::string::npos);
    EXPECT_EQ(pane->GetMessage().rfind("FACETING MODE\n\nShift + Left-click --- Select vertices of facet\n", 0), 0u);
}

TEST_F(PolyViewMouseTest, TheStatusBarNamesTheMorphActionsWhileCtrlIsHeld)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeMorphViaCompound, false);
    Send(pane, wxEVT_MOTION, 200, 200, 0, 0);
    Send(pane, wxEVT_MOTION, 210, 200, 0, 0);
    wxStatusBar* bar = mFrame->GetStatusBar();
    EXPECT_EQ(bar->GetStatusText(1), "L: Tumble");
    const wxCursor* navigation = pane->GetModeCursor();

    wxKeyEvent ctrl(wxEVT_KEY_DOWN);
    ctrl.m_keyCode = WXK_CONTROL;
    ctrl.SetEventObject(pane->GetCanvas());
    pane->GetCanvas()->GetEventHandler()->ProcessEvent(ctrl);
    EXPECT_EQ(bar->GetStatusText(1), "L: Morph between duals");
    EXPECT_EQ(bar->GetStatusText(2), "R: Morph half-way");
    EXPECT_EQ(bar->GetStatusText(3), "L+R: -");
    EXPECT_NE(pane->GetModeCursor(), nullptr);
    EXPECT_NE(pane->GetModeCursor(), navigation);

    wxKeyEvent release(wxEVT_KEY_UP);
    release.m_keyCode = WXK_CONTROL;
    release.SetEventObject(pane->GetCanvas());
    pane->GetCanvas()->GetEventHandler()->ProcessEvent(release);
    EXPECT_EQ(bar->GetStatusText(1), "L: Tumble");
    EXPECT_EQ(bar->GetStatusText(2), "R: Zoom");
}

TEST_F(PolyViewMouseTest, HalfWayClicksToggleAndStopTheMotion)
{
    CPolyView* pane = Pane(0);
    SceneParameters& scene = GetSceneParameters();
    struct Case
    {
        const char* name;
        int type;
        int keys;
        double* value;
        double rest;
        MouseThrow* t;
    };
    const Case kCases[] = {
        {"morph", kViewTypeMorphSizing, kCtrl, &scene.morphRatio, 0.5, &GetSceneThrows().morph},
        {"fold", kViewTypeNet3D, kCtrl, &scene.foldRatio, 0.5, &GetSceneThrows().fold},
        {"slice", kViewTypeSlice, kCtrl, &scene.sliceRatio, 0.5, &GetSceneThrows().sliceDepth},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        *c.value = 0.7;
        c.t->Start(100.0f, 0.0f);
        Send(pane, wxEVT_RIGHT_DOWN, 100, 100, c.keys, NewView::kRightButton);
        Send(pane, wxEVT_RIGHT_UP, 100, 100, c.keys, 0);
        EXPECT_EQ(*c.value, c.rest);
        EXPECT_FALSE(c.t->IsMoving());
        Send(pane, wxEVT_RIGHT_DOWN, 100, 100, c.keys, NewView::kRightButton);
        Send(pane, wxEVT_RIGHT_UP, 100, 100, c.keys, 0);
        EXPECT_EQ(*c.value, 0.7);
    }
    // Unexplode: Shift+Ctrl+right puts the faces back in place and gives the explosion back.
    pane->SetViewType(kViewTypePoly, false);
    pane->SetExplosion(1.9);
    Send(pane, wxEVT_RIGHT_DOWN, 100, 100, kShift | kCtrl, NewView::kRightButton);
    Send(pane, wxEVT_RIGHT_UP, 100, 100, kShift | kCtrl, 0);
    EXPECT_EQ(pane->GetExplosion(), 1.0);
    Send(pane, wxEVT_RIGHT_DOWN, 100, 100, kShift | kCtrl, NewView::kRightButton);
    Send(pane, wxEVT_RIGHT_UP, 100, 100, kShift | kCtrl, 0);
    EXPECT_EQ(pane->GetExplosion(), 1.9);
}

TEST_F(PolyViewMouseTest, APanesMovingThrowsSurviveTheModelFileAndTheModelRecords)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    ExplodeThrow& explode = pane->GetExplodeThrow();
    RotateThrough4DThrow& through = pane->GetRotateThrough4DThrow();
    char folder[] = "/tmp/orvane-view-throws-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/throws.orva";
    for (int mode : {kIoAscii, kIoMemory})
    {
        SCOPED_TRACE(mode == kIoAscii ? "ASCII file" : "in memory");
        StopAllMouseThrows();
        explode.SetRange(2.5);
        explode.Start(100.0f, 0.0f);  // 3 units of scale per second
        ASSERT_TRUE(through.SetDirection(Vec4D{0, 1, 0, 0}));
        through.Start(40.0f, 0.0f);

        MemBlock block;
        ioFilePtr out = ioOpenWrite(path.c_str(), "Orvane", 8, 6, mode, nullptr, nullptr, &block);
        ASSERT_NE(out, nullptr);
        WriteMouseThrowData(out.get(), 0);
        ioPrintf(out.get(), "%d\n", 4242);
        ioClose(out);
        auto open = [&] {
            return mode == kIoMemory ? ioOpenRead(nullptr, "Orvane", 8, 6, nullptr, nullptr, block.mData, block.mSize)
                                     : ioOpenRead(path.c_str(), "Orvane", 8, 6, nullptr, nullptr);
        };

        // Read without starting: nothing moves and nothing changes, but the section is read through.
        StopAllMouseThrows();
        explode.SetRange(5.0);
        ASSERT_TRUE(through.SetDirection(Vec4D{1, 0, 0, 0}));
        ioFilePtr in = open();
        ASSERT_NE(in, nullptr);
        EXPECT_TRUE(ReadMouseThrowData(in.get(), 1012, false));
        EXPECT_EQ(ioReadInt(in.get()), 4242);
        EXPECT_FALSE(AnyMouseThrowMoving());
        EXPECT_EQ(explode.GetHigh(), 5.0);
        ioClose(in);

        in = open();
        ASSERT_NE(in, nullptr);
        EXPECT_TRUE(ReadMouseThrowData(in.get(), 1012, true));
        EXPECT_EQ(ioReadInt(in.get()), 4242);
        ioClose(in);
        ASSERT_TRUE(explode.IsMoving());
        ASSERT_TRUE(through.IsMoving());
        EXPECT_FLOAT_EQ(explode.GetVelocityX(), 100.0f);
        EXPECT_EQ(explode.GetLow(), 1.0);
        EXPECT_EQ(explode.GetHigh(), 2.5);
        ExpectVec4Near(through.GetDirection(), Vec4D{0, 1, 0, 0}, 1e-12);

        // The same motion: from 2.0 up by 0.3 each tenth of a second, and back from the top.
        pane->SetExplosion(2.0);
        const double expected[] = {2.3, 2.5, 2.2, 1.9};
        for (double e : expected)
        {
            Advance(0.1);
            StepMouseThrows(nullptr);
            EXPECT_NEAR(pane->GetExplosion(), e, 1e-6);
        }
    }
    std::remove(path.c_str());
    rmdir(folder);

    // A model record keeps the range and the direction with the motions.
    explode.Start(100.0f, 0.0f);
    through.Start(40.0f, 0.0f);
    SavedMouseThrow* saved = SaveActiveMouseThrows();
    StopAllMouseThrows();
    explode.SetRange(7.0);
    ASSERT_TRUE(through.SetDirection(Vec4D{0, 0, 1, 0}));
    RestoreMouseThrows(saved);
    DeleteSavedMouseThrows(saved);
    EXPECT_TRUE(explode.IsMoving());
    EXPECT_TRUE(through.IsMoving());
    EXPECT_EQ(explode.GetLow(), 1.0);
    EXPECT_EQ(explode.GetHigh(), 2.5);
    ExpectVec4Near(through.GetDirection(), Vec4D{0, 1, 0, 0}, 1e-12);
}

TEST_F(PolyViewMouseTest, ADoubleClickActsAsAShiftClickUnlessCtrlIsHeld)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    CPolyView::SetMouseMode(kMouseModeSectionTumble);
    SliceRotate4DThrow& turn = pane->GetSliceRotate4DThrow();
    // Ctrl+double-click: a Ctrl-click, which takes the depth and leaves the turn alone.
    turn.Start(50.0f, 0.0f);
    Send(pane, wxEVT_LEFT_DOWN, 100, 100, kCtrl, NewView::kLeftButton);
    Send(pane, wxEVT_LEFT_UP, 100, 100, kCtrl, 0);
    Send(pane, wxEVT_LEFT_DCLICK, 100, 100, kCtrl, NewView::kLeftButton);
    Send(pane, wxEVT_LEFT_UP, 100, 100, kCtrl, 0);
    EXPECT_TRUE(turn.IsMoving());
    // A plain double click is a Shift-click: rotating the slicing plane, which first stops every slice
    // motion.
    Send(pane, wxEVT_LEFT_DOWN, 100, 100, 0, NewView::kLeftButton);
    Send(pane, wxEVT_LEFT_UP, 100, 100, 0, 0);
    EXPECT_TRUE(turn.IsMoving()) << "a single plain click is camera navigation";
    Send(pane, wxEVT_LEFT_DCLICK, 100, 100, 0, NewView::kLeftButton);
    Send(pane, wxEVT_LEFT_UP, 100, 100, 0, 0);
    EXPECT_FALSE(turn.IsMoving());
}

TEST_F(PolyViewMouseTest, ExplodingA4DModelShrinksItsCellsOrItsNet)
{
    CPolyView* pane = Pane(0);
    Make4D();
    SceneParameters& scene = GetSceneParameters();
    struct Case
    {
        const char* name;
        int type;
        double* value;
    };
    const Case kCases[] = {
        {"3D model pane: the cells", kViewTypePoly, &scene.shrink4D},
        {"Unfolded Net: the net", kViewTypeNet2D, &scene.netShrink4D},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        pane->SetExplosion(1.0);
        *c.value = 0.5;
        // 100 pixels to the right and 50 up.
        Drag(pane, kLeft, kShift | kCtrl, 5, 20, -10, 0.5);
        EXPECT_NEAR(*c.value, 0.8, 1e-12);
        EXPECT_EQ(pane->GetExplosion(), 1.0) << "the pane itself does not explode";
    }
}

TEST_F(PolyViewMouseTest, AModelFileCannotGiveAPaneAnImpossibleMotion)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    ExplodeThrow& explode = pane->GetExplodeThrow();
    RotateThrough4DThrow& through = pane->GetRotateThrough4DThrow();
    explode.SetRange(2.0);
    ASSERT_TRUE(through.SetDirection(Vec4D{0, 0, 1, 0}));
    char folder[] = "/tmp/orvane-view-throws-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/bad.orva";
    // A reversed range for the explosion, a direction along the fourth axis to turn through.
    const std::string body = "6012\t30\t0\n0\t0\t0\n\t2.5\t1\n6066\t30\t0\n0\t0\t0\n\t0\t0\t0\t1\n-1\n";
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fputs(("Orvane ASCII 8.6\n" + body).c_str(), f);
        std::fclose(f);
    }
    ioFilePtr in = ioOpenRead(path.c_str(), "Orvane", 8, 6, nullptr, nullptr);
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(ReadMouseThrowData(in.get(), 1012, true));
    ioClose(in);
    std::remove(path.c_str());
    rmdir(folder);
    EXPECT_TRUE(explode.IsMoving());
    EXPECT_EQ(explode.GetLow(), 1.0);
    EXPECT_EQ(explode.GetHigh(), 2.0);
    ExpectVec4Near(through.GetDirection(), Vec4D{0, 0, 1, 0}, 0.0);

    // An explosion thrown from scale 0 has nowhere to swing, also when the motion is looped.
    StopAllMouseThrows();
    pane->SetExplosion(0.0);
    explode.SetRange(0.0);
    explode.Start(100.0f, 0.0f);
    const bool bounce = SetMouseThrowBounce(true);
    Advance(0.5);
    StepMouseThrows(nullptr);
    SetMouseThrowBounce(bounce);
    EXPECT_EQ(pane->GetExplosion(), 0.0);
}

// The button was let go over another window: the pane never saw it come up. Activating the main
// window again ends the drag as a release at the last position would, so the throw goes on moving.
TEST_F(PolyViewMouseTest, AButtonLetGoElsewhereEndsItsDragWhenTheWindowIsActivated)
{
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    ExplodeThrow& t = pane->GetExplodeThrow();
    SetExplosionImplodeAllowed(false);
    pane->SetExplosion(1.0);
    int x = 300;
    Send(pane, wxEVT_MOTION, x, 250, kShift | kCtrl, 0);
    Send(pane, wxEVT_LEFT_DOWN, x, 250, kShift | kCtrl, NewView::kLeftButton);
    for (int i = 0; i < 5; ++i)
    {
        Advance(0.02);
        x += 10;
        Send(pane, wxEVT_MOTION, x, 250, kShift | kCtrl, NewView::kLeftButton);
    }
    Advance(0.01);
    ASSERT_EQ(NewView::GetPressedButtons(), NewView::kLeftButton);
    EXPECT_FALSE(t.IsMoving());

    wxActivateEvent activate(wxEVT_ACTIVATE, true, mFrame->GetId());
    activate.SetEventObject(mFrame);
    mFrame->GetEventHandler()->ProcessEvent(activate);
    EXPECT_EQ(NewView::GetPressedButtons(), 0);
    ASSERT_TRUE(t.IsMoving()) << "the release threw the explosion";
    EXPECT_NEAR(t.GetHigh(), pane->GetExplosion(), 1e-9);
    EXPECT_NEAR(t.GetLow(), 1.0, 1e-9);
}
