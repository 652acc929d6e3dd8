#include "RenderTestView.h"

#include "kernel/Tolerance.h"

#include <cmath>
#include <vector>

namespace
{
using CameraTest = RenderTest;

constexpr double kDeg = kPi / 180.0;

void ExpectVec(const Vec3D& v, double x, double y, double z, double tol = 1e-9)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

// The background and anything drawn over it along one row or column of the viewport.
struct Extent
{
    int first = -1, last = -1;
};

Extent DrawnExtent(const std::vector<unsigned char>& rgb, int count, const Pixel& background)
{
    Extent e;
    for (int i = 0; i < count; ++i)
    {
        const unsigned char* p = &rgb[size_t(i) * 3];
        if (std::abs(p[0] - background.r) + std::abs(p[1] - background.g) + std::abs(p[2] - background.b) > 6)
        {
            if (e.first < 0)
                e.first = i;
            e.last = i;
        }
    }
    return e;
}
}  // namespace

TEST_F(CameraTest, DefaultsAndResetViewFitTheUnitSphereToTheNarrowerSide)
{
    mView->ResetCamera(false);
    ExpectVec(mView->GetEye(), 0, 0, 2);
    ExpectVec(mView->GetRight(), 1, 0, 0);
    ExpectVec(mView->GetUp(), 0, 1, 0);
    ExpectVec(mView->GetBackward(), 0, 0, 1);
    EXPECT_FLOAT_EQ(mView->GetVerticalFOV(), 25.0f);
    EXPECT_FLOAT_EQ(mView->GetNear(), 0.1f);
    EXPECT_FLOAT_EQ(mView->GetFar(), 4000.0f);
    EXPECT_FALSE(mView->IsOrthogonal());

    struct SizeCase
    {
        const char* name;
        int w, h;
    };
    const SizeCase kSizes[] = {{"wide", 300, 200}, {"tall", 200, 300}};
    for (const SizeCase& c : kSizes)
    {
        SCOPED_TRACE(c.name);
        SizeView(c.w, c.h);
        DrawWith(nullptr);  // the viewport follows the window
        mView->ResetView();
        const double d = Vec3Length(mView->GetEye());
        if (c.w > c.h)
        {
            EXPECT_NEAR(d, 1.0 / std::sin(12.5 * kDeg), 1e-5);
        }
        // The sphere's silhouette, seen from the eye, touches the narrower side's edges.
        const double along = 1.0 / d, across = std::sqrt(1.0 - along * along);
        Vec3D onWindow;
        if (c.w > c.h)
        {
            mView->ProjectToWindow(onWindow, Vec3D{0, across, along});
            EXPECT_NEAR(onWindow.y, 0.0, 0.05);
            EXPECT_NEAR(onWindow.x, c.w / 2.0, 0.05);
        }
        else
        {
            mView->ProjectToWindow(onWindow, Vec3D{across, 0, along});
            EXPECT_NEAR(onWindow.x, c.w, 0.05);
            EXPECT_NEAR(onWindow.y, c.h / 2.0, 0.05);
        }
    }
}

TEST_F(CameraTest, OrthogonalOnThenOffReturnsTheEye)
{
    mView->ResetCamera(true);
    mView->SetEye(Vec3D{0.3, 0, 5});  // panned sideways
    mView->SetOrthogonal(true);
    EXPECT_TRUE(mView->IsOrthogonal());
    EXPECT_NEAR(mView->GetHalfHeight(), 5 * std::sin(12.5 * kDeg), 1e-6);
    mView->SetOrthogonal(false);
    ExpectVec(mView->GetEye(), 0.3, 0, 5, 1e-5);
}

TEST_F(CameraTest, FixedWidthRuleKeepsTheModelInNarrowWindows)
{
    SizeView(200, 200);
    mView->SetFOVLimit(25.0f, 1.0f);
    mView->SetNominalFOV(25.0f);
    EXPECT_FLOAT_EQ(mView->GetVerticalFOV(), 25.0f);

    SizeView(100, 200);  // narrower: the horizontal field of view stays
    EXPECT_NEAR(mView->VerticalToHorizontalFOV(mView->GetVerticalFOV(), 100, 200), 25.0, 1e-4);
    EXPECT_GT(mView->GetVerticalFOV(), 25.0f);
    EXPECT_NEAR(mView->GetNominalFOV(), 25.0, 1e-4);
    EXPECT_NEAR(mView->GetNarrowFOV(), 25.0, 1e-4);

    SizeView(400, 200);  // wider: the vertical one stays
    EXPECT_NEAR(mView->GetVerticalFOV(), 25.0, 1e-4);
    EXPECT_NEAR(mView->GetNominalFOV(), 25.0, 1e-4);
}

TEST_F(CameraTest, RotationsOrbitTheOrigin)
{
    mView->ResetCamera(true);
    mView->RotateView(1, 90.0);  // about the camera's up axis
    ExpectVec(mView->GetEye(), 2, 0, 0);
    ExpectVec(mView->GetBackward(), 1, 0, 0);
    ExpectVec(mView->GetRight(), 0, 0, -1);

    mView->ResetCamera(true);
    mView->RotateCameraAboutWorldAxis(Vec3D{0, 1, 0}, 90.0);
    ExpectVec(mView->GetEye(), 2, 0, 0);
    ExpectVec(mView->GetRight(), 0, 0, -1);

    // Turning in place keeps the eye; the frame stays orthonormal and right-handed.
    mView->RotateViewAboutAxis(Vec3D{1, 1, 0}, 30.0, false);
    ExpectVec(mView->GetEye(), 2, 0, 0);
    Vec3D cross;
    Vec3Cross(cross, mView->GetRight(), mView->GetUp());
    ExpectVec(cross, mView->GetBackward().x, mView->GetBackward().y, mView->GetBackward().z);
    EXPECT_NEAR(Vec3Dot(mView->GetRight(), mView->GetBackward()), 0.0, 1e-12);

    // The view transform undoes the camera transform.
    Transform3D camera, view;
    mView->GetCameraTransform(camera);
    mView->GetViewTransform(view);
    const Vec3D p{0.3, -1.2, 2.5};
    Vec3D q, back;
    view.Apply(q, p);
    camera.Apply(back, q);
    ExpectVec(back, p.x, p.y, p.z, 1e-12);
    // The eye is the camera's origin.
    view.Apply(q, mView->GetEye());
    ExpectVec(q, 0, 0, 0, 1e-12);

    // Euler angles about z, then x, then y: a quarter turn about y alone matches RotateView.
    mView->ResetCamera(true);
    mView->RotateViewEuler(90.0, 0.0, 0.0);
    ExpectVec(mView->GetEye(), 2, 0, 0);
}

TEST_F(CameraTest, FittingShowsEveryPointAndNothingMoreWhenEmpty)
{
    SizeView(300, 200);
    DrawWith(nullptr);
    mView->ResetView();
    mView->RotateView(0, 25.0);
    mView->RotateView(1, -40.0);

    FitBounds empty;
    mView->BeginFitBounds(empty, 0.0, 0.0);
    const Vec3D eye = mView->GetEye();
    mView->ApplyFitBounds(empty);
    ExpectVec(mView->GetEye(), eye.x, eye.y, eye.z, 0.0);

    // A box off the origin: after the fit every corner is inside, and one touches an edge.
    std::vector<Vec3D> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back(Vec3D{(i & 1) ? 0.5 : -1.5, (i & 2) ? 2.0 : 0.2, (i & 4) ? 0.3 : -0.4});
    for (bool orthogonal : {false, true})
    {
        SCOPED_TRACE(orthogonal ? "orthogonal" : "perspective");
        mView->SetOrthogonal(orthogonal);
        FitBounds record;
        mView->BeginFitBounds(record, 0.0, 0.0);
        for (const Vec3D& c : corners)
            mView->ExtendFitBounds(record, c);
        mView->ApplyFitBounds(record);
        double widest = 0.0;
        for (const Vec3D& c : corners)
        {
            Vec3D w;
            mView->ProjectToWindow(w, c);
            const double fx = std::fabs(w.x - 150.0) / 150.0, fy = std::fabs(w.y - 100.0) / 100.0;
            EXPECT_LE(fx, 1.0 + 1e-6);
            EXPECT_LE(fy, 1.0 + 1e-6);
            widest = std::max(widest, std::max(fx, fy));
        }
        EXPECT_NEAR(widest, 1.0, 1e-3);
    }
}

TEST_F(CameraTest, PickRaysGoThroughWhatTheyPick)
{
    SizeView(300, 200);
    DrawWith(nullptr);
    mView->ResetView();
    mView->RotateView(0, 20.0);
    for (bool orthogonal : {false, true})
    {
        SCOPED_TRACE(orthogonal ? "orthogonal" : "perspective");
        mView->SetOrthogonal(orthogonal);
        const Vec3D p{0.25, 0.5, -0.3};
        Vec3D w;
        mView->ProjectToWindow(w, p);
        // Whole pixels with integer halves, as the mouse gives them: pick the rounded pixel and
        // allow for the rounding.
        const int x = int(std::lround(w.x)), y = int(std::lround(w.y));
        Vec3D origin, direction;
        mView->GetPickRay(origin, direction, x, y);
        EXPECT_NEAR(Vec3Length(direction), 1.0, 1e-9);
        Vec3D toP, across;
        Vec3Sub(toP, p, origin);
        Vec3Cross(across, toP, direction);
        EXPECT_LT(Vec3Length(across), 0.02);
    }
    mView->SetOrthogonal(false);
    // The middle pixel looks straight ahead.
    Vec3D origin, direction;
    mView->GetPickRay(origin, direction, 150, 100);
    ExpectVec(origin, mView->GetEye().x, mView->GetEye().y, mView->GetEye().z);
    ExpectVec(direction, -mView->GetBackward().x, -mView->GetBackward().y, -mView->GetBackward().z);
}

TEST_F(CameraTest, StereoModesSplitTheWindowOrTheColours)
{
    for (int type = 0; type <= 8; ++type)
    {
        mView->SetStereoMode(type);
        EXPECT_EQ(mView->GetStereoMode(), type);
    }
    SizeView(400, 200);
    mView->SetStereoMode(0);
    EXPECT_FLOAT_EQ(mView->GetAspect(), 2.0f);

    // Cross-eyed: the left half shows the right eye.
    mView->SetStereoMode(2);
    EXPECT_FLOAT_EQ(mView->GetAspect(), 1.0f);
    std::vector<int> viewportX;
    DrawWith([&] { viewportX.push_back(mView->GetViewport()[0]); });
    ASSERT_EQ(mView->eyes, (std::vector<int>{1, 2}));
    EXPECT_EQ(viewportX, (std::vector<int>{200, 0}));

    // Picking in the right half draws only the eye shown there.
    ASSERT_TRUE(mView->PreOpenGL());
    mView->SetSelecting(1);
    mView->SetPickPoint(300, 100);
    DrawWith(nullptr);
    mView->SetSelecting(0);
    mView->PostOpenGL();
    EXPECT_EQ(mView->eyes, (std::vector<int>{1}));

    // Glasses: one colour channel per eye, the alpha mask left alone; lines turn white.
    mView->SetStereoMode(3);
    std::vector<std::vector<int>> masks;
    GLfloat color[4] = {};
    DrawWith([&] {
        GLboolean m[4];
        glGetBooleanv(GL_COLOR_WRITEMASK, m);
        masks.push_back({m[0], m[1], m[2], m[3]});
        mView->SetColor3f(0.2f, 0.5f, 0.1f);
        glGetFloatv(GL_CURRENT_COLOR, color);
    });
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_EQ(masks[0], (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(masks[1], (std::vector<int>{0, 1, 1, 1}));
    EXPECT_FLOAT_EQ(color[0], 1.0f);
    EXPECT_FLOAT_EQ(color[1], 1.0f);
    mView->SetStereoMode(0);
}

TEST_F(CameraTest, ALitSphereIsCentredAfterAFit)
{
    SizeView(240, 180);
    DrawWith(nullptr);
    mView->ResetView();
    mView->RotateView(0, -30.0);
    mView->RotateView(1, 50.0);
    const Vec3D centre{1, 2, 3};
    mView->FitSphere(&centre, 1.0);
    std::vector<unsigned char> row(240 * 3), column(180 * 3);
    Pixel background, leftSide, rightSide, middle;
    DrawWith([&] {
        mView->SetMaterialColor3f(0.9f, 0.9f, 0.9f);
        mView->DrawSphere(centre, 1.0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 90, 240, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
        glReadPixels(120, 0, 1, 180, GL_RGB, GL_UNSIGNED_BYTE, column.data());
        background = ReadPixelAt(-0.99, -0.99);
        leftSide = ReadPixelAt(-0.5, 0.0);
        rightSide = ReadPixelAt(0.5, 0.0);
        middle = ReadPixelAt(0.0, 0.0);
    });
    const Extent across = DrawnExtent(row, 240, background);
    const Extent up = DrawnExtent(column, 180, background);
    ASSERT_GE(across.first, 0) << "nothing drawn";
    // Centred both ways, and filling the height (the narrower side).
    EXPECT_NEAR((across.first + across.last) / 2.0, 119.5, 2.0);
    EXPECT_NEAR((up.first + up.last) / 2.0, 89.5, 2.0);
    EXPECT_NEAR(up.last - up.first + 1, 180, 4);
    EXPECT_NEAR(across.last - across.first + 1, 180, 4);
    // Lit, not flat: the lights stand to the right of the viewer.
    EXPECT_GT(middle.r, background.r);
    EXPECT_GT(rightSide.r, leftSide.r + 10);
}

TEST_F(CameraTest, LockedViewsFollowTheOneThatMoves)
{
    auto* second = new TestView(mFrame);
    auto* flat = new TestView(mFrame);
    flat->SetDepthMode(false);
    mFrame->GetSizer()->Add(second, 1, wxEXPAND);
    mFrame->GetSizer()->Add(flat, 1, wxEXPAND);
    mFrame->Layout();
    mView->ResetCamera(true);
    second->ResetCamera(true);
    mView->RotateView(0, 30.0);
    mView->SetOrthogonal(true);

    EXPECT_FALSE(mView->SyncOtherViews());  // not locked
    ExpectVec(second->GetEye(), 0, 0, 2);

    OpenGLView::ViewsLocked() = true;
    NewView::ClearRedrawFlags(second);
    const Vec3D flatEye = flat->GetEye();
    EXPECT_TRUE(mView->SyncOtherViews());
    const Vec3D& eye = mView->GetEye();
    ExpectVec(second->GetEye(), eye.x, eye.y, eye.z, 0.0);
    ExpectVec(second->GetUp(), mView->GetUp().x, mView->GetUp().y, mView->GetUp().z, 0.0);
    EXPECT_TRUE(second->IsOrthogonal());
    EXPECT_FLOAT_EQ(second->GetHalfHeight(), mView->GetHalfHeight());
    EXPECT_TRUE(second->GetRedrawMarks() & NewView::kRedraw);
    // Flat views keep their own picture; a flat view leads nobody.
    ExpectVec(flat->GetEye(), flatEye.x, flatEye.y, flatEye.z, 0.0);
    EXPECT_FALSE(flat->SyncOtherViews());
    OpenGLView::ViewsLocked() = false;
    mView->SetOrthogonal(false);
}
