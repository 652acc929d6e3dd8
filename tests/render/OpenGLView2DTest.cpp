#include "RenderTestView.h"

#include "render/ViewFitSink.h"

#include <cmath>

namespace
{
// A flat view of a 400 x 200 drawing area.
class Area2DTest : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        mView->SetDepthMode(false);
        SizeView(400, 200);
    }
    void TearDown() override
    {
        if (mView)
            mView->SetDepthMode(true);
        RenderTest::TearDown();
    }
};
}  // namespace

TEST_F(Area2DTest, ZoomToFitPutsTheAreaOnTheAvailableEdges)
{
    const int bar = NewView::GetScrollBarThickness();
    mView->SetScrollArea(-1.0f, -0.5f, 1.0f, 0.5f);
    mView->ZoomToFitArea();
    EXPECT_FALSE(mView->HasHorizontalScrollBar());
    EXPECT_FALSE(mView->HasVerticalScrollBar());
    Vec2D topLeft, bottomRight;
    mView->WorldToClient2D(topLeft, -1.0, 0.5);
    mView->WorldToClient2D(bottomRight, 1.0, -0.5);
    // The height is what limits: the area spans the available height, centred.
    EXPECT_NEAR(topLeft.y, bar / 2.0, 1e-9);
    EXPECT_NEAR(bottomRight.y, 200.0 - bar / 2.0, 1e-9);
    EXPECT_NEAR(topLeft.x + bottomRight.x, 400.0, 1e-9);
    EXPECT_NEAR(bottomRight.x - topLeft.x, 2.0 * (200.0 - bar), 1e-9);

    // The projection of a frame agrees with the mapping: the area filled shows exactly there.
    Pixel inside, left, right, above;
    DrawWith([&] {
        mView->SetColor3f(1, 0, 0);
        glRectd(-1.0, -0.5, 1.0, 0.5);
        auto at = [](double px, double py) {
            unsigned char rgb[3];
            glReadPixels(int(px), 200 - 1 - int(py), 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
            return Pixel{rgb[0], rgb[1], rgb[2]};
        };
        inside = at(200, 100);
        left = at(topLeft.x - 2, 100);
        right = at(bottomRight.x + 1, 100);
        above = at(200, topLeft.y - 2);
    });
    EXPECT_EQ(inside.r, 255);
    EXPECT_EQ(inside.g, 0);
    EXPECT_NE(left.g, 0);
    EXPECT_NE(right.g, 0);
    EXPECT_NE(above.g, 0);
}

TEST_F(Area2DTest, ScrollingStaysWithinTheDocument)
{
    mView->SetScrollArea(0.0f, 0.0f, 4.0f, 2.0f);
    mView->Set2DZoom(2.0f);
    mView->UpdateScrollSize();
    ASSERT_TRUE(mView->HasHorizontalScrollBar());
    ASSERT_TRUE(mView->HasVerticalScrollBar());
    const int w = mView->GetWidth(), h = mView->GetHeight();
    EXPECT_FLOAT_EQ(mView->GetDocumentWidth(), 4.0f * mView->GetScaledHeight());

    mView->ScrollTo(-50, -50);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), 0.0f);
    EXPECT_FLOAT_EQ(mView->GetScrollY(), 0.0f);
    mView->ScrollTo(1e6f, 1e6f);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), mView->GetDocumentWidth() - float(w));
    EXPECT_FLOAT_EQ(mView->GetScrollY(), mView->GetDocumentHeight() - float(h));

    mView->ScrollTo(100, 100);
    mView->Scroll(false, NewView::kScrollLineDown, 0);
    EXPECT_FLOAT_EQ(mView->GetScrollY(), 105.0f);
    mView->Scroll(true, NewView::kScrollPageUp, 0);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), 0.0f);  // a page is wider than 100
    mView->Scroll(true, NewView::kScrollBottom, 0);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), mView->GetDocumentWidth() - float(w));
    mView->Scroll(true, NewView::kScrollTop, 0);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), 0.0f);
    mView->Scroll(true, NewView::kScrollThumbTrack, 30);
    EXPECT_NEAR(mView->GetScrollX(), 30.0f * mView->GetDocumentWidth() / float(mView->GetScrollRangeX()), 1e-3);
    // With no range the thumb goes to the start (the bars left as they are meanwhile).
    NewView::ScrollBarUpdate() = false;
    mView->SetScrollRanges(0, 0);
    NewView::ScrollBarUpdate() = true;
    mView->Scroll(true, NewView::kScrollThumbTrack, 30);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), 0.0f);

    // A document smaller than the window is centred and does not scroll.
    mView->Set2DZoom(0.2f);
    mView->UpdateScrollSize();
    EXPECT_FALSE(mView->HasHorizontalScrollBar());
    mView->ScrollTo(30, 30);
    EXPECT_FLOAT_EQ(mView->GetScrollX(), 0.0f);
    const double offset = int((mView->GetWidth() - mView->GetDocumentWidth()) / 2.0f);
    EXPECT_NEAR(mView->WorldXAtPixel(offset), 0.0, 1e-9);
    EXPECT_NEAR(mView->PixelOfWorldX(mView->WorldXAtPixel(17.0)), 17.0, 1e-9);
    EXPECT_NEAR(mView->PixelOfWorldY(mView->WorldYAtPixel(23.0)), 23.0, 1e-9);

    // An empty area still makes a document of a pixel.
    mView->SetScrollArea(1.0f, 0.0f, 1.0f, 2.0f);
    EXPECT_FLOAT_EQ(mView->GetDocumentWidth(), 1.0f);
}

TEST_F(Area2DTest, TurnedAreasMapBackToTheSamePixel)
{
    mView->SetScrollArea(-2.0f, -1.0f, 2.0f, 1.0f);
    for (float zoom : {0.5f, 3.0f})  // without and with scroll bars
    {
        mView->Set2DZoom(zoom);
        mView->UpdateScrollSize();
        mView->ScrollTo(25, 10);
        mView->Set2DAngle(90.0f);
        for (const Vec2D& pixel : {Vec2D{37, 51}, Vec2D{0, 0}, Vec2D{399, 150}})
        {
            Vec2D world, back;
            mView->ClientToWorld2D(world, pixel.x, pixel.y);
            mView->WorldToClient2D(back, world.x, world.y);
            EXPECT_NEAR(back.x, pixel.x, 1e-9);
            EXPECT_NEAR(back.y, pixel.y, 1e-9);
        }
        // A quarter turn: moving right on the screen moves down in the world.
        Vec2D a, b;
        mView->ClientToWorld2D(a, 100, 100);
        mView->ClientToWorld2D(b, 110, 100);
        EXPECT_NEAR(b.x - a.x, 0.0, 1e-9);
        EXPECT_LT(b.y, a.y);
    }
    // Without rotation allowed the angle is dropped.
    mView->SetRotationAllowed(false, false);
    EXPECT_FLOAT_EQ(mView->Get2DAngle(), 0.0f);
    mView->SetRotationAllowed(true, false);
}

TEST_F(Area2DTest, FittingPointsCentresThem)
{
    mView->SetScrollArea(-10.0f, -10.0f, 10.0f, 10.0f);
    FitBounds record;
    mView->BeginFitBounds(record, 0.0, 0.0);
    for (const Vec3D& p : {Vec3D{1, 1, 0}, Vec3D{3, 1, 0}, Vec3D{3, 2, 0}, Vec3D{1, 2, 0}})
        mView->ExtendFitBounds(record, p);
    mView->ApplyFitBounds(record);
    // The 2 x 1 box fills the height of the window; its middle is the window's middle.
    Vec2D low, high, middle;
    mView->WorldToClient2D(low, 1, 1);
    mView->WorldToClient2D(high, 3, 2);
    mView->WorldToClient2D(middle, 2, 1.5);
    const int bar = NewView::GetScrollBarThickness();
    const double w = mView->GetWidth(), h = mView->GetHeight();
    EXPECT_NEAR(middle.x, (w - (mView->HasVerticalScrollBar() ? 0 : bar)) / 2.0, 1.0);
    EXPECT_NEAR(middle.y, (h - (mView->HasHorizontalScrollBar() ? 0 : bar)) / 2.0, 1.0);
    EXPECT_NEAR(low.y - high.y, h - (mView->HasHorizontalScrollBar() ? 0 : bar), 1.0);

    // A pick ray of a flat view comes straight down onto the world point.
    Vec3D origin, direction;
    mView->GetPickRay(origin, direction, int(middle.x), int(middle.y));
    EXPECT_NEAR(origin.x, 2.0, 0.05);
    EXPECT_NEAR(origin.y, 1.5, 0.05);
    EXPECT_EQ(origin.z, 1.0);
    EXPECT_EQ(direction.z, -1.0);
}

TEST_F(Area2DTest, PointsFedThroughAFitSinkWidenTheRecord)
{
    FitBounds record;
    mView->BeginFitBounds(record, 0.0, 0.0);
    ViewFitSink sink(*mView, record);
    FitPointSink& points = sink;
    for (const Vec3D& p : {Vec3D{1, 1, 0}, Vec3D{3, 1, 0}, Vec3D{3, 2, 0}, Vec3D{-1, 2, 0}})
        points.ExtendFit(p);
    EXPECT_EQ(record.minX, -1.0);
    EXPECT_EQ(record.maxX, 3.0);
    EXPECT_EQ(record.minY, 1.0);
    EXPECT_EQ(record.maxY, 2.0);
}
