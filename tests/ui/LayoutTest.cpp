// The eleven pane layouts of the main window as the user meets them: their panes, the keys that
// switch them, what each layout remembers, and the proportions of the panes.

#include "MainFrameFixture.h"

#include "kernel/ViewTypes.h"
#include "platform/CommandIds.h"
#include "ui/NewSplitter.h"

#include <cmath>

namespace
{
// A pane's place as fractions of the client area: left, top, right, bottom.
struct Box
{
    double l, t, r, b;
};

struct LayoutCase
{
    int layout;
    const char* name;
    std::vector<Box> panes;  // in pane order
    std::vector<int> types;
};

constexpr double k13 = 1.0 / 3.0;
constexpr double k23 = 2.0 / 3.0;

const std::vector<LayoutCase>& LayoutCases()
{
    static const std::vector<LayoutCase> cases = {
        {kLayout1, "Layout1", {{0, 0, 1, 1}}, {kViewTypePoly}},
        {kLayout2, "Layout2", {{0, 0, 0.5, 1}, {0.5, 0, 1, 1}}, {kViewTypePoly, kViewTypeNet2D}},
        {kLayout3Equal,
         "Layout3Equal",
         {{0, 0, k13, 1}, {k13, 0, k23, 1}, {k23, 0, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D}},
        // The large pane first, then the narrow column from the top.
        {kLayout3SplitLeft,
         "Layout3SplitLeft",
         {{k13, 0, 1, 1}, {0, 0, k13, 0.5}, {0, 0.5, k13, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D}},
        {kLayout3SplitRight,
         "Layout3SplitRight",
         {{0, 0, k23, 1}, {k23, 0, 1, 0.5}, {k23, 0.5, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D}},
        {kLayout4Grid,
         "Layout4Grid",
         {{0, 0, 0.5, 0.5}, {0.5, 0, 1, 0.5}, {0, 0.5, 0.5, 1}, {0.5, 0.5, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual}},
        {kLayout4SplitLeft,
         "Layout4SplitLeft",
         {{0.25, 0, 1, 1}, {0, 0, 0.25, k13}, {0, k13, 0.25, k23}, {0, k23, 0.25, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual}},
        {kLayout4SplitRight,
         "Layout4SplitRight",
         {{0, 0, 0.75, 1}, {0.75, 0, 1, k13}, {0.75, k13, 1, k23}, {0.75, k23, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual}},
        {kLayout5SplitLeft,
         "Layout5SplitLeft",
         {{0.5, 0, 1, 1}, {0, 0, 0.25, 0.5}, {0.25, 0, 0.5, 0.5}, {0, 0.5, 0.25, 1}, {0.25, 0.5, 0.5, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual, kViewTypePolyAndDual}},
        {kLayout5SplitRight,
         "Layout5SplitRight",
         {{0, 0, 0.5, 1}, {0.5, 0, 0.75, 0.5}, {0.75, 0, 1, 0.5}, {0.5, 0.5, 0.75, 1}, {0.75, 0.5, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeDual, kViewTypePolyAndDual}},
        {kLayout6,
         "Layout6",
         {{0, 0, k13, 0.5}, {k13, 0, k23, 0.5}, {k23, 0, 1, 0.5}, {0, 0.5, k13, 1}, {k13, 0.5, k23, 1},
          {k23, 0.5, 1, 1}},
         {kViewTypePoly, kViewTypeNet2D, kViewTypeNet3D, kViewTypeUniStellation, kViewTypeStelDiagram,
          kViewTypeCellDiagram}},
    };
    return cases;
}

class LayoutTest : public MainFrameFixture
{
protected:
    // Every pane where the case puts it, allowing for the bars between panes.
    void ExpectPanesAt(const LayoutCase& c)
    {
        const std::vector<ModelPane*> panes = Panes();
        ASSERT_EQ(panes.size(), c.panes.size());
        // The panes share the part of the client area that the toolbars leave.
        const wxRect area = mFrame->GetSplitter() ? ClientRect(mFrame->GetSplitter()) : ClientRect(panes[0]);
        const wxSize client = area.GetSize();
        const double slack = 2 * NewSplitter::kBarSize;
        for (size_t i = 0; i < panes.size(); ++i)
        {
            SCOPED_TRACE(testing::Message() << "pane " << i);
            ASSERT_NE(panes[i], nullptr);
            EXPECT_EQ(panes[i]->GetViewNumber(), int(i));
            EXPECT_EQ(panes[i]->GetViewType(), c.types[i]);
            wxRect r = ClientRect(panes[i]);
            r.Offset(-area.GetPosition());
            const Box& e = c.panes[i];
            EXPECT_NEAR(r.GetLeft(), e.l * client.x, slack);
            EXPECT_NEAR(r.GetRight() + 1, e.r * client.x, slack);
            EXPECT_NEAR(r.GetTop(), e.t * client.y, slack);
            EXPECT_NEAR(r.GetBottom() + 1, e.b * client.y, slack);
        }
    }

    // The first pane's width over both panes' width in a two-pane layout.
    double LeftShare() const
    {
        const std::vector<ModelPane*> panes = Panes();
        const double left = panes[0]->GetSize().x;
        return left / (left + panes[1]->GetSize().x);
    }
};
}  // namespace

TEST_F(LayoutTest, TheProgramStartsWithTheBaseModelBesideItsNet)
{
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout2);
    ExpectPanesAt(LayoutCases()[kLayout2]);
    const std::vector<ModelPane*> panes = Panes();
    // A pane's title names the model it shows, after its type's prefix; a new document's model has
    // no name, no catalogue entry and no file.
    EXPECT_EQ(panes[0]->GetTitle(), "Unnamed");
    EXPECT_EQ(panes[1]->GetTitle(), "Unfolded Net for Unnamed");
    EXPECT_STREQ(panes[0]->GetPlaceholderText(), "");
    EXPECT_STREQ(panes[1]->GetPlaceholderText(), "No nets.");
}

TEST_F(LayoutTest, EveryLayoutPlacesItsPanesWithTheirTypes)
{
    for (const LayoutCase& c : LayoutCases())
    {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(GetPaneLayoutName(c.layout), c.name);
        mFrame->SetLayout(c.layout);
        Pump();
        ASSERT_EQ(GetCurrentLayoutIndex(), c.layout);
        ExpectPanesAt(c);
    }
}

TEST_F(LayoutTest, LayoutKeysCycleThroughTheirLayouts)
{
    struct Press
    {
        int command;
        int layout;
    };
    const Press kPresses[] = {
        {kCmdLayout3, kLayout3Equal},     {kCmdLayout3, kLayout3SplitRight}, {kCmdLayout3, kLayout3SplitLeft},
        {kCmdLayout3, kLayout3Equal},     {kCmdLayout4, kLayout4Grid},       {kCmdLayout4, kLayout4SplitRight},
        {kCmdLayout4, kLayout4SplitLeft}, {kCmdLayout4, kLayout4Grid},       {kCmdLayout5, kLayout5SplitRight},
        {kCmdLayout5, kLayout5SplitLeft}, {kCmdLayout5, kLayout5SplitRight}, {kCmdLayout6, kLayout6},
        {kCmdLayout1, kLayout1},          {kCmdLayout2, kLayout2},
    };
    for (const Press& p : kPresses)
    {
        RunCommand(p.command);
        Pump();
        EXPECT_EQ(GetCurrentLayoutIndex(), p.layout) << "after command " << p.command;
        EXPECT_EQ(int(Panes().size()), GetPaneLayout(p.layout).PaneCount());
    }

    // Presses faster than the switches still step from one to the next.
    for (int i = 0; i < 3; ++i)
        RunCommand(kCmdLayout3);
    Pump();
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout3SplitLeft);
}

TEST_F(LayoutTest, ALayoutShowsAgainWhatItShowedBefore)
{
    mFrame->SetLayout(kLayout6);
    Panes()[3]->SetViewType(kViewTypeDual, false);
    Panes()[5]->SetViewType(kViewTypeVertexFigure, false);
    std::vector<int> before;
    for (ModelPane* pane : Panes())
        before.push_back(pane->GetViewType());

    mFrame->SetLayout(kLayout1);
    ASSERT_EQ(Panes().size(), 1u);
    EXPECT_EQ(Panes()[0]->GetViewType(), kViewTypePoly);
    mFrame->SetLayout(kLayout6);
    std::vector<int> after;
    for (ModelPane* pane : Panes())
        after.push_back(pane->GetViewType());
    EXPECT_EQ(after, before);
    EXPECT_EQ(Panes()[5]->GetTitle(), "Vertex Figure for Unnamed");
}

TEST_F(LayoutTest, SwitchingKeepsStereoAndGivesA3DModelThePlain4DState)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
    {
        auto* pane = dynamic_cast<ModelPane*>(v);
        pane->SetStereoMode(2);
        pane->SetProjection4D(0);
        Mat4 turned;
        turned.SetRotationXY(0.5);
        pane->SetRotation4D(turned);
    }
    mFrame->SetLayout(kLayout4Grid);
    const Mat4 identity;
    for (ModelPane* pane : Panes())
    {
        EXPECT_EQ(pane->GetStereoMode(), 2);
        EXPECT_EQ(pane->GetProjection4D(), 2);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(pane->GetRotation4D().m[i], identity.m[i]);
    }
}

TEST_F(LayoutTest, DraggedProportionsSurviveResizingAndLayoutSwitches)
{
    NewSplitter* splitter = mFrame->GetSplitter();
    ASSERT_NE(splitter, nullptr);
    EXPECT_NEAR(LeftShare(), 0.5, 0.005);

    // Drag the bar to three tenths of the width.
    const int bar = Panes()[0]->GetSize().x + 1;
    const int total = Panes()[0]->GetSize().x + Panes()[1]->GetSize().x;
    ASSERT_TRUE(splitter->StartTracking(wxPoint(bar, 300)));
    splitter->TrackTo(wxPoint(bar - 100, 300));
    splitter->TrackTo(wxPoint(int(0.3 * total) + 1, 300));
    splitter->StopTracking(true);
    EXPECT_NEAR(LeftShare(), 0.3, 0.005);
    EXPECT_NEAR(splitter->GetRatios()[0], 0.3, 0.005);

    // A cancelled drag puts the proportions back.
    ASSERT_TRUE(splitter->StartTracking(wxPoint(int(0.3 * total) + 1, 300)));
    splitter->TrackTo(wxPoint(int(0.8 * total), 300));
    EXPECT_NEAR(LeftShare(), 0.8, 0.01);
    splitter->StopTracking(false);
    EXPECT_NEAR(LeftShare(), 0.3, 0.005);

    mFrame->SetSize(1200, 900);
    PumpEventsUntil([this] { return mFrame->GetSize() == wxSize(1200, 900); });
    Pump();
    EXPECT_EQ(mFrame->GetSize(), wxSize(1200, 900));
    EXPECT_NEAR(LeftShare(), 0.3, 0.005);

    mFrame->SetLayout(kLayout1);
    mFrame->SetLayout(kLayout2);
    EXPECT_NEAR(LeftShare(), 0.3, 0.005);
}

TEST_F(LayoutTest, AGridKeepsItsRowsAndColumnsAligned)
{
    mFrame->SetLayout(kLayout6);
    NewSplitter* splitter = mFrame->GetSplitter();
    const std::vector<ModelPane*> panes = Panes();
    const int bar = panes[0]->GetSize().x + 1;
    ASSERT_TRUE(splitter->StartTracking(wxPoint(bar, 100)));
    splitter->TrackTo(wxPoint(bar + 120, 100));
    splitter->StopTracking(true);
    // The column moved in both rows; the third column kept its width.
    EXPECT_EQ(ClientRect(panes[0]).GetRight(), ClientRect(panes[3]).GetRight());
    EXPECT_EQ(ClientRect(panes[1]).GetLeft(), ClientRect(panes[4]).GetLeft());
    EXPECT_EQ(panes[2]->GetSize().x, panes[5]->GetSize().x);
    EXPECT_NEAR(panes[0]->GetSize().x, panes[1]->GetSize().x + 240, 2);
}

TEST_F(LayoutTest, TheWindowCannotSqueezeTheActivePaneBelowItsMinimum)
{
    NewView* view = NewView::GetActiveView();
    ASSERT_EQ(view, Panes()[0]);
    const wxSize frame = mFrame->GetSize();
    const wxSize overhead = frame - view->GetSize();
    const wxSize smallest = mFrame->MinimumSizeForActivePane();
    EXPECT_EQ(smallest, wxSize(overhead.x + NewFrame::kMinPaneWidth, overhead.y + NewFrame::kMinPaneHeight));
    mFrame->SetSize(300, 200);
    Pump();
    EXPECT_GE(mFrame->GetSize().x, smallest.x);
    EXPECT_GE(mFrame->GetSize().y, smallest.y);

    // A pane already narrower than the minimum keeps the window as it is and never makes it grow.
    NewSplitter* splitter = mFrame->GetSplitter();
    const int bar = Panes()[0]->GetSize().x + 1;
    ASSERT_TRUE(splitter->StartTracking(wxPoint(bar, 300)));
    splitter->TrackTo(wxPoint(0, 300));
    splitter->StopTracking(true);
    ASSERT_LT(Panes()[0]->GetSize().x, NewFrame::kMinPaneWidth);
    EXPECT_EQ(mFrame->MinimumSizeForActivePane().x, mFrame->GetSize().x);
}

TEST_F(LayoutTest, ClosingTheWindowRemovesItsPanes)
{
    mFrame->Close();
    mFrame = nullptr;
    Pump();
    EXPECT_EQ(NewView::GetFirstView(), nullptr);
    EXPECT_EQ(GetCurrentLayoutIndex(), -1);
}
