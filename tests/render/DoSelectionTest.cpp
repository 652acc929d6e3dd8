// Picking in a real pane: the scene is drawn in OpenGL's selection mode around a point and the named
// primitives there come back as hits, nearest first once sorted.

#include "RenderTestView.h"
#include "render/GLSelection.h"

#include <GL/gl.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
// The pick point, in client pixels (y down), and in the pixels the scenes draw in (y up).
constexpr int kX = 60;
constexpr int kY = 70;

class DoSelectionTest : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (IsSkipped())
            return;
        InitGLSelection(37);
        SizeView(200, 180);
    }

    int PixelY() const { return mView->GetHeight() - kY; }

    void Square(int type, int index, double cx, double cy, double half, double z)
    {
        mView->SetGLSelectionItem(type, index);
        glBegin(GL_QUADS);
        glVertex3d(cx - half, cy - half, z);
        glVertex3d(cx + half, cy - half, z);
        glVertex3d(cx + half, cy + half, z);
        glVertex3d(cx - half, cy + half, z);
        glEnd();
    }
};

struct SelectionCase
{
    const char* name;
    std::function<void()> scene;
    bool large;
    int calls;
    std::vector<std::pair<int, int>> expected;  // type and index of each hit, in order after sorting
    bool overflow;
};
}  // namespace

TEST_F(DoSelectionTest, SceneTable)
{
    const double px = kX + 0.5;
    const auto py = [this] { return PixelY() + 0.5; };
    const SelectionCase kCases[] = {
        {"empty background", [] {}, true, 1, {}, false},
        {"two overlapping squares, the far one drawn first",
         [&] {
             Square(0, 1, px, py(), 20, -0.5);
             Square(0, 2, px + 5, py(), 20, 0.5);
         },
         false, 1, {{0, 2}, {0, 1}}, false},
        {"a one-pixel line 2 px away, small region",
         [&] {
             mView->SetGLSelectionItem(19, 3);
             glBegin(GL_LINES);
             glVertex3d(px + 2, py() - 30, 0);
             glVertex3d(px + 2, py() + 30, 0);
             glEnd();
         },
         false, 1, {}, false},
        {"a one-pixel line 2 px away, large region",
         [&] {
             mView->SetGLSelectionItem(19, 3);
             glBegin(GL_LINES);
             glVertex3d(px + 2, py() - 30, 0);
             glVertex3d(px + 2, py() + 30, 0);
             glEnd();
         },
         true, 1, {{19, 3}}, false},
        {"a square drawn after the name is cleared",
         [&] {
             Square(28, 4, px, py(), 10, 0.0);
             mView->ClearGLSelectionItem();
             glBegin(GL_TRIANGLES);
             glVertex3d(px - 30, py() - 30, 0.5);
             glVertex3d(px + 30, py() - 30, 0.5);
             glVertex3d(px, py() + 30, 0.5);
             glEnd();
         },
         true, 1, {{28, 4}}, false},
        {"two calls add to one array",
         [&] { Square(24, 7, px, py(), 10, 0.0); }, false, 2, {{24, 7}, {24, 7}}, false},
    };
    for (const SelectionCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mView->scene = [&] {
            mView->UsePixelProjection();
            if (mView->IsPicking())
                c.scene();
        };
        std::vector<GLHit> hits;
        bool overflow = false;
        for (int k = 0; k < c.calls; ++k)
            overflow = mView->DoSelection(hits, 1, kX, kY, c.large) || overflow;
        EXPECT_EQ(overflow, c.overflow);
        SortGLHits(hits);
        ASSERT_EQ(hits.size(), c.expected.size());
        for (size_t i = 0; i < hits.size(); ++i)
        {
            EXPECT_EQ(GetGLSelectionItemType(hits[i].code), c.expected[i].first) << i;
            EXPECT_EQ(GetGLSelectionItemIndex(hits[i].code), c.expected[i].second) << i;
        }
        EXPECT_EQ(FindGLHit(hits, 99, 0), -1);
        if (!c.expected.empty())
        {
            EXPECT_EQ(FindGLHit(hits, c.expected.back().first, c.expected.back().second),
                      c.calls == 2 ? 0 : int(hits.size()) - 1);
        }
    }
    mView->scene = nullptr;
}

TEST_F(DoSelectionTest, NothingHitLeavesTheCallersHitsAsTheyWere)
{
    mView->scene = [&] { mView->UsePixelProjection(); };
    std::vector<GLHit> hits = {GLHit{(5u << 6) + 2u, 77u}};
    EXPECT_FALSE(mView->DoSelection(hits, 1, kX, kY, true));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].code, (5u << 6) + 2u);
    EXPECT_EQ(hits[0].depth, 77u);
    mView->scene = nullptr;
}

TEST_F(DoSelectionTest, AFullBufferReportsOverflowAndReadsAtMostSixtyFourRecords)
{
    // A hundred names under the point: 400 entries for a buffer of 256.
    mView->scene = [&] {
        mView->UsePixelProjection();
        if (!mView->IsPicking())
            return;
        for (int i = 0; i < 100; ++i)
            Square(0, i, kX + 0.5, PixelY() + 0.5, 5, 0.0);
    };
    std::vector<GLHit> hits;
    EXPECT_TRUE(mView->DoSelection(hits, 1, kX, kY, false));
    EXPECT_EQ(hits.size(), 64u);
    for (size_t i = 0; i < hits.size(); ++i)
        EXPECT_EQ(GetGLSelectionItemIndex(hits[i].code), int(i));
    mView->scene = nullptr;
}

TEST_F(DoSelectionTest, APickPassShowsNothingAndKeepsTheRedrawMarks)
{
    int drawnWhilePicking = 0;
    int selectionMode = 0;
    mView->scene = [&] {
        if (mView->IsPicking())
        {
            ++drawnWhilePicking;
            selectionMode = mView->GetSelectionMode();
        }
    };
    NewView::Invalidate(mView, false);
    const int marks = mView->GetRedrawMarks();
    ASSERT_NE(marks & NewView::kRedraw, 0);
    std::vector<GLHit> hits;
    mView->DoSelection(hits, 0x50, kX, kY, true);
    EXPECT_EQ(drawnWhilePicking, 1);
    EXPECT_EQ(selectionMode, 0x50);
    EXPECT_EQ(mView->GetRedrawMarks(), marks);
    EXPECT_FALSE(mView->IsPicking());
    EXPECT_EQ(OpenGLView::GetGLNestingDepth(), 0);
    mView->scene = nullptr;
}

TEST(GLHitRecords, AWalkStopsAtTheBufferEndAndSkipsNameZero)
{
    // Records: one name 5; no names; one name 0 (not selectable); two names, the inner 9; then a
    // record claiming more names than the buffer holds.
    const unsigned buffer[] = {1, 10, 20, 5, 0, 11, 21, 1, 12, 22, 0, 2, 13, 23, 4, 9, 7, 14, 24, 1};
    std::vector<GLHit> hits;
    ReadGLHitRecords(buffer, int(std::size(buffer)), 64, hits);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].code, 4u);
    EXPECT_EQ(hits[0].depth, 10u);
    EXPECT_EQ(hits[1].code, 8u);
    EXPECT_EQ(hits[1].depth, 13u);
    hits.clear();
    ReadGLHitRecords(buffer, int(std::size(buffer)), 1, hits);
    EXPECT_EQ(hits.size(), 1u);
}
