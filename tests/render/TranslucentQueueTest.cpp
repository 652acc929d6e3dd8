#include "RenderTestView.h"

#include "render/TranslucentQueue.h"

#include <cstdlib>

namespace
{
using TranslucentQueueTest = RenderTest;

// A triangle over the whole unit square at the height z.
void Corners(Vec3D out[3], double z)
{
    out[0] = Vec3D{-3, -3, z};
    out[1] = Vec3D{3, -3, z};
    out[2] = Vec3D{0, 3, z};
}

const Vec3D kNormal{0, 0, 1};

// Plain colours: what is drawn shows what was blended, in what order.
void FlatScene(OpenGLView* view)
{
    UseUnitOrtho();
    view->SetLighting(false);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool Near(int value, int expected)
{
    return std::abs(value - expected) <= 3;
}
}  // namespace

TEST_F(TranslucentQueueTest, OnlyOpaqueTrianglesAreDrawnAtOnce)
{
    struct Case
    {
        const char* name;
        float alpha;
        unsigned flags;
        bool now;
    };
    const Case kCases[] = {
        {"alpha exactly 1", 1.0f, 0, true},
        {"alpha 0.999", 0.999f, 0, false},
        {"alpha 0.5 asked to draw now", 0.5f, kTriangleDrawNow, true},
        {"alpha 0.5 before the others", 0.5f, kTriangleQueueBefore, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        bool now = false;
        int sorted = -1;
        int all = -1;
        DrawWith([&] {
            Vec3D corners[3];
            Corners(corners, 0.0);
            const float rgba[4] = {1, 0, 0, c.alpha};
            now = TranslucentQueue::AddTriangle(corners, kNormal, rgba, c.flags, 1.0, nullptr, nullptr, nullptr);
            sorted = CountQueuedTriangles();
            all = CountAllQueuedTriangles();
        });
        EXPECT_EQ(now, c.now);
        EXPECT_EQ(all, c.now ? 0 : 1);
        EXPECT_EQ(sorted, c.now || (c.flags & kTriangleQueueBefore) ? 0 : 1);
        // The frame flushed the queue.
        EXPECT_EQ(CountAllQueuedTriangles(), 0);
    }
}

TEST_F(TranslucentQueueTest, WhilePickingEveryTriangleIsDrawnAtOnce)
{
    mView->SetSelecting(1);
    bool now = false;
    DrawWith([&] {
        Vec3D corners[3];
        Corners(corners, 0.0);
        const float rgba[4] = {1, 0, 0, 0.25f};
        now = TranslucentQueue::AddTriangle(corners, kNormal, rgba, 0, 1.0, nullptr, nullptr, nullptr);
    });
    mView->SetSelecting(0);
    EXPECT_TRUE(now);
}

TEST_F(TranslucentQueueTest, FlushWithNothingQueuedTouchesNoState)
{
    int blendAfter = -1;
    GLboolean blendEnabled = GL_FALSE;
    GLint source = 0;
    DrawWith([&] {
        mView->SetBlendMode(3);
        GLint before = 0;
        glGetIntegerv(GL_BLEND_SRC, &before);
        FlushTranslucentQueue();
        blendAfter = mView->GetBlendMode();
        blendEnabled = glIsEnabled(GL_BLEND);
        glGetIntegerv(GL_BLEND_SRC, &source);
        EXPECT_EQ(source, before);
        mView->SetBlendMode(0);
    });
    EXPECT_EQ(blendAfter, 3);
    EXPECT_EQ(blendEnabled, GL_TRUE);
}

TEST_F(TranslucentQueueTest, QueuedTrianglesAreDrawnFarthestFirst)
{
    // Half-clear red near the eye, half-clear green far from it, both over the centre; on black the
    // one drawn last keeps half its colour and the first a quarter.
    struct Case
    {
        const char* name;
        bool nearFirst;  // submission order
    };
    const Case kCases[] = {{"near submitted first", true}, {"far submitted first", false}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Pixel centre;
        DrawWith([&] {
            FlatScene(mView);
            const Vec3D eye = mView->GetCurrentEyePosition();
            Vec3D nearTri[3], farTri[3];
            Corners(nearTri, eye.z - 1.0);
            Corners(farTri, eye.z - 5.0);
            const float red[4] = {1, 0, 0, 0.5f};
            const float green[4] = {0, 1, 0, 0.5f};
            if (c.nearFirst)
            {
                TranslucentQueue::AddTriangle(nearTri, kNormal, red, 0, 1.0, nullptr, nullptr, nullptr);
                TranslucentQueue::AddTriangle(farTri, kNormal, green, 0, 1.0, nullptr, nullptr, nullptr);
            }
            else
            {
                TranslucentQueue::AddTriangle(farTri, kNormal, green, 0, 1.0, nullptr, nullptr, nullptr);
                TranslucentQueue::AddTriangle(nearTri, kNormal, red, 0, 1.0, nullptr, nullptr, nullptr);
            }
            EXPECT_EQ(CountQueuedTriangles(), 2);
            FlushTranslucentQueue();
            centre = ReadPixelAt(0, 0);
            EXPECT_EQ(mView->GetBlendMode(), 0);
            mView->SetLighting(true);
        });
        EXPECT_TRUE(Near(centre.r, 128)) << centre.r;
        EXPECT_TRUE(Near(centre.g, 64)) << centre.g;
    }
}

TEST_F(TranslucentQueueTest, TrianglesQueuedBeforeTheOthersComeInReverseOrder)
{
    Pixel centre;
    DrawWith([&] {
        FlatScene(mView);
        Vec3D corners[3];
        Corners(corners, 0.0);
        const float red[4] = {1, 0, 0, 0.5f};
        const float green[4] = {0, 1, 0, 0.5f};
        TranslucentQueue::AddTriangle(corners, kNormal, red, kTriangleQueueBefore, 1.0, nullptr, nullptr, nullptr);
        TranslucentQueue::AddTriangle(corners, kNormal, green, kTriangleQueueBefore, 1.0, nullptr, nullptr, nullptr);
        FlushTranslucentQueue();
        centre = ReadPixelAt(0, 0);
        mView->SetLighting(true);
    });
    // Green first, then red over it.
    EXPECT_TRUE(Near(centre.r, 128)) << centre.r;
    EXPECT_TRUE(Near(centre.g, 64)) << centre.g;
}

TEST(TranslucentQueueQuality, OutputQualitySubdividesFinerThanTheScreen)
{
    SetOutputTriangleQuality();
    EXPECT_EQ(GetTriangleSubdivisionMaxDepth(), 6);
    EXPECT_FLOAT_EQ(GetTriangleSubdivisionTolerance(), 0.01f);
    SetScreenTriangleQuality();
    EXPECT_EQ(GetTriangleSubdivisionMaxDepth(), 4);
    EXPECT_FLOAT_EQ(GetTriangleSubdivisionTolerance(), 0.05f);
}
