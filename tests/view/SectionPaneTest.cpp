// The Cross-Section pane of a 3D model: the filled section of the icosahedron, its outline without
// fill, and the same section traced on a model pane.
#include "PaneFixture.h"
#include "model/FaceVert.h"
#include "model/SectionPolygon.h"
#include "model/SectionSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
class SectionPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mSettings = GetSectionSettings();
        mPoly = OpenModel("Icosahedron");
        ASSERT_NE(mPoly, nullptr);
        mPane = Pane(0);
        ASSERT_NE(mPane, nullptr);
        mPane->Activate(true);
        GetSceneParameters().sliceMatrix.SetIdentity();
        GetSceneParameters().sliceRatio = 0.5;
    }
    void TearDown() override
    {
        GetSectionSettings() = mSettings;
        PaneFixture::TearDown();
    }

    wxPoint ClientOf(double x, double y) const
    {
        Vec2D p;
        mPane->WorldToClient2D(p, x, y);
        return wxPoint(int(std::lround(p.x)), int(std::lround(p.y)));
    }
    // The pixel differs from the pane's corner, which shows the background.
    static bool Lit(const PaneFrame& frame, wxPoint client)
    {
        const unsigned char* p = frame.At(client.x, frame.height - 1 - client.y);
        const unsigned char* b = frame.At(2, 2);
        return std::abs(p[0] - b[0]) + std::abs(p[1] - b[1]) + std::abs(p[2] - b[2]) > 12;
    }
    static double LoopRadius(const SectionPolygon& p)
    {
        double r = 0.0;
        for (int i = 0; i < p.mNumPoints; ++i)
            r = std::max(r, std::hypot(p.mPoints[i].x, p.mPoints[i].y));
        return r;
    }

    SectionSettings mSettings;
    Poly* mPoly = nullptr;
    CPolyView* mPane = nullptr;
};

TEST_F(SectionPaneTest, TheSectionIsFilledOrOutlinedAndFitsThePane)
{
    mPane->SetViewType(kViewTypeSlice, false);
    EXPECT_STREQ(mPane->GetPlaceholderText(), "");
    PaneFrame frame = DrawAndRead(mPane);
    EXPECT_EQ(mPane->GetPendingFit(), 0);
    ASSERT_NE(mPoly->mSectionPolygons, nullptr);
    // Through the centre: the middle of the section is filled, the pane's corner is not.
    EXPECT_TRUE(Lit(frame, ClientOf(0.0, 0.0)));
    double left = 0, bottom = 0, right = 0, top = 0;
    ASSERT_TRUE(mPane->GetDiagramExtent(left, bottom, right, top));
    EXPECT_LT(left, 0.0);
    EXPECT_GT(right, 0.0);

    // Fill off: the outline alone, the middle empty.
    SetSectionFill(false);
    mPoly->InvalidateCrossSection();
    frame = DrawAndRead(mPane);
    EXPECT_FALSE(Lit(frame, ClientOf(0.0, 0.0)));
    const SectionPolygon* loop = mPoly->mSectionPolygons;
    ASSERT_NE(loop, nullptr);
    const Vec3D& p = loop->mPoints[0];
    const Vec3D& q = loop->mPoints[1];
    bool outlined = false;
    const wxPoint mid = ClientOf((p.x + q.x) / 2, (p.y + q.y) / 2);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            outlined = outlined || Lit(frame, wxPoint(mid.x + dx, mid.y + dy));
    EXPECT_TRUE(outlined);
}

TEST_F(SectionPaneTest, ModelPanesTraceTheSectionWhenAsked)
{
    GetViewDisplayOptions().sectionDisplayMode = 2;
    mPane->SetViewType(kViewTypePoly, false);
    DrawAndRead(mPane);
    ASSERT_NE(mPoly->mSectionPolygons, nullptr);
    // Any plane through the centre cuts the icosahedron in one loop.
    int loops = 0;
    for (const SectionPolygon* p = mPoly->mSectionPolygons; p; p = p->mNext)
        ++loops;
    EXPECT_EQ(loops, 1);
    // A new depth is traced at the next drawing.
    const double before = LoopRadius(*mPoly->mSectionPolygons);
    GetSceneParameters().sliceRatio = 0.02;
    DrawAndRead(mPane);
    ASSERT_NE(mPoly->mSectionPolygons, nullptr);
    EXPECT_LT(LoopRadius(*mPoly->mSectionPolygons), before);
    Vec3D n, u, v;
    double d = 0.0;
    mPoly->GetCrossSectionFrame(n, d, u, v);
    double min = 0.0, max = 0.0;
    EXPECT_NEAR(-d, mPoly->GetCrossSectionRange(min, max), 1e-12);
    EXPECT_NEAR(-d, max - 0.02 * (max - min), 1e-12);
}
}  // namespace
