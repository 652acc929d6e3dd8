// The flat diagram panes on the icosahedron: the Stellation Diagram with its used facet, the Cell
// Diagram's boxes and frames, and clicking cells in and out with undo.

#include "PaneFixture.h"
#include "document/UndoList.h"
#include "stellation/CellDiagram.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "kernel/Palette.h"
#include "model/ColorSchemes.h"
#include "model/FaceVert.h"
#include "view/Picking.h"

#include <wx/statusbr.h>
#include <wx/uiaction.h>

#include <cmath>
#include <string>

namespace
{
class DiagramPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_NE(OpenModel("Icosahedron"), nullptr);
        mPane = Pane(0);
        ASSERT_NE(mPane, nullptr);
        mPane->Activate(true);
    }

    // The client pixel (y down) of a point of the pane's flat world, and the pixel as read (y up).
    wxPoint ClientOf(double x, double y) const
    {
        Vec2D p;
        mPane->WorldToClient2D(p, x, y);
        return wxPoint(int(std::lround(p.x)), int(std::lround(p.y)));
    }
    static const unsigned char* Pixel(const PaneFrame& frame, wxPoint client)
    {
        return frame.At(client.x, frame.height - 1 - client.y);
    }
    // The middle of a cell's box, a point inside it clear of its number, and a point inside its frame
    // (cell units grow downwards).
    wxPoint BoxCentre(const CellDiagramBox& box) const
    {
        return ClientOf(box.x + kCellBoxWidth / 2, -(box.y + kCellBoxHeight / 2));
    }
    wxPoint BoxInside(const CellDiagramBox& box) const { return ClientOf(box.x + 8.0, -(box.y + 8.0)); }
    wxPoint BoxFrame(const CellDiagramBox& box) const { return ClientOf(box.x + 1.5, -(box.y + kCellBoxHeight / 2)); }

    const CellDiagramBox* FindBox(const std::vector<CellDiagramBox>& boxes, int layer) const
    {
        for (const CellDiagramBox& b : boxes)
            if (b.layer == layer)
                return &b;
        return nullptr;
    }

    CPolyView* mPane = nullptr;
};

// Exactly the cells of layers 0 to top are in the stellation.
void ExpectLayersUpTo(const Stellation& stellation, int top)
{
    for (const StellationCell* c = stellation.mFirstCell; c; c = c->next)
    {
        if (!c->IsOuter())
        {
            EXPECT_EQ(c->IsIncluded(), c->mLayer->mNumber <= top) << c->mIndex;
        }
    }
}

bool Near(const unsigned char* p, float r, float g, float b)
{
    const auto close = [](unsigned char v, float c) { return std::abs(int(v) - int(std::lround(c * 255))) <= 3; };
    return close(p[0], r) && close(p[1], g) && close(p[2], b);
}
}  // namespace

TEST_F(DiagramPaneTest, TheStellationDiagramShowsTheFaceAsItsUsedFacet)
{
    mPane->SetViewType(kViewTypeStelDiagram, false);
    EXPECT_STREQ(mPane->GetPlaceholderText(), "");
    const PaneFrame frame = DrawAndRead(mPane);
    EXPECT_EQ(mPane->GetPendingFit(), 0);
    EXPECT_EQ(mPane->GetDiagramCaption(), "Face type 1 of 1.  20 faces of this type.");
    // The face is the used facet around the diagram's centre, front red; the diagram fits the pane.
    EXPECT_TRUE(Near(Pixel(frame, ClientOf(0.0, 0.05)), 0.9f, 0.0f, 0.0f));
    double left = 0, bottom = 0, right = 0, top = 0;
    ASSERT_TRUE(mPane->GetDiagramExtent(left, bottom, right, top));
    const wxPoint a = ClientOf(left, top), b = ClientOf(right, bottom);
    EXPECT_GE(std::min(a.x, b.x), -1);
    EXPECT_GE(std::min(a.y, b.y), -1);
    EXPECT_LE(std::max(a.x, b.x), frame.width + 1);
    EXPECT_LE(std::max(a.y, b.y), frame.height + 1);

    // Shift+click on the face's facet names it; a toggle there takes in the cell above it.
    const wxPoint centre = ClientOf(0.0, 0.05);
    EXPECT_EQ(mPane->IdentifyAt(centre.x, centre.y), "Selected facet 0,");
    Stellation* stellation = mPane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    ClearUndoList();
    PickRequest request;
    request.kind = kPickToggleCell;
    request.x = centre.x;
    request.y = centre.y;
    EXPECT_EQ(mPane->PickAt(request, nullptr), kPickDiagramFacet);
    EXPECT_TRUE(stellation->FindCell(1)->IsIncluded());
    EXPECT_EQ(UndoMenuText(false), "&Undo Stellation Change");
    UndoList::Undo();
    EXPECT_TRUE(stellation->IsOriginal());

    // The Face pane shows the face alone, in its own colour, filling the pane's height or width.
    mPane->SetViewType(kViewTypeFace, false);
    const PaneFrame face = DrawAndRead(mPane);
    EXPECT_EQ(mPane->GetPendingFit(), 0);
    const ColorRGB& c = stellation->GetSelectedFace()->mColor;
    EXPECT_TRUE(Near(Pixel(face, ClientOf(0.0, 0.0)), c.r, c.g, c.b));
    ASSERT_TRUE(mPane->GetDiagramExtent(left, bottom, right, top));
    const wxPoint low = ClientOf(left, bottom), high = ClientOf(right, top);
    EXPECT_TRUE(std::abs(high.x - low.x) > 0.8 * face.width || std::abs(high.y - low.y) > 0.8 * face.height);
}

TEST_F(DiagramPaneTest, TheCellDiagramFramesTheCellsOfTheStellation)
{
    mPane->SetViewType(kViewTypeCellDiagram, false);
    PaneFrame frame = DrawAndRead(mPane);
    EXPECT_EQ(mPane->GetPendingFit(), 0);
    Stellation* stellation = mPane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    const std::vector<CellDiagramBox> boxes = LayOutCellDiagram(*stellation);
    ASSERT_EQ(int(boxes.size()), 12);
    const ColorRGB& edge = GetElementDisplayOptions().mDefaultEdgeColor;
    const auto layerColour = [](int layer) {
        ColorRGB c;
        GetPaletteColor(layer, c, 0);
        return LimitBrightColour(c);
    };
    // The core is in the stellation: framed; the layer-1 cell is not.
    const CellDiagramBox* core = FindBox(boxes, 0);
    const CellDiagramBox* first = FindBox(boxes, 1);
    ASSERT_TRUE(core && first);
    EXPECT_TRUE(Near(Pixel(frame, BoxFrame(*core)), edge.r, edge.g, edge.b));
    const ColorRGB c1 = layerColour(1);
    EXPECT_TRUE(Near(Pixel(frame, BoxFrame(*first)), c1.r, c1.g, c1.b));

    // Up: the small triambic icosahedron, whose layer-1 box is framed too.
    EXPECT_TRUE(mPane->OnPaneKey(WXK_UP, false));
    frame = DrawAndRead(mPane);
    ASSERT_TRUE(first->cell->IsIncluded());
    EXPECT_TRUE(Near(Pixel(frame, BoxFrame(*first)), edge.r, edge.g, edge.b));
    EXPECT_TRUE(Near(Pixel(frame, BoxInside(*first)), c1.r, c1.g, c1.b));
}

TEST_F(DiagramPaneTest, ClickingCellsTogglesThemWithUndo)
{
    mPane->SetViewType(kViewTypeCellDiagram, false);
    DrawAndRead(mPane);
    Stellation* stellation = mPane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    const std::vector<CellDiagramBox> boxes = LayOutCellDiagram(*stellation);
    const CellDiagramBox* second = FindBox(boxes, 2);
    ASSERT_NE(second, nullptr);
    StellationCell* cell = second->cell;
    ASSERT_FALSE(cell->IsIncluded());

    // Shift+right-click on the layer-2 box, as the pointer and keyboard give it.
    ClearUndoList();
    wxUIActionSimulator sim;
    const wxPoint at = BoxCentre(*second);
    sim.MouseMove(mPane->GetCanvas()->ClientToScreen(at));
    Pump();
    sim.KeyDown(WXK_SHIFT);
    Pump();
    sim.MouseDown(wxMOUSE_BTN_RIGHT);
    sim.MouseUp(wxMOUSE_BTN_RIGHT);
    EXPECT_TRUE(PumpEventsUntil([&] { return cell->IsIncluded(); })) << "the click did not act";
    sim.KeyUp(WXK_SHIFT);
    Pump();
    sim.MouseMove(mPane->GetCanvas()->ClientToScreen(wxPoint(4, 4)));
    Pump();
    EXPECT_EQ(UndoMenuText(false), "&Undo Stellation Change");
    char status[64];
    std::snprintf(status, sizeof status, "Clicked cell %d, layer 2", cell->mIndex);
    EXPECT_EQ(mScripted.services.statusText, status);
    UndoList::Undo();
    EXPECT_FALSE(cell->IsIncluded());
    EXPECT_TRUE(stellation->IsOriginal());

    // The layer toggle on an included cell of layer 3 takes out layers 3 and up in one step.
    for (StellationCell* c = stellation->mFirstCell; c; c = c->next)
        if (!c->IsOuter())
            StellationCell::SetIncluded(c, c->mLayer->mNumber <= 4);
    const CellDiagramBox* third = FindBox(boxes, 3);
    ASSERT_NE(third, nullptr);
    ClearUndoList();
    const wxPoint p3 = BoxCentre(*third);
    PickRequest request;
    request.kind = kPickCellLayer;
    request.x = p3.x;
    request.y = p3.y;
    EXPECT_EQ(mPane->PickAt(request, nullptr), kPickStellationCell);
    ExpectLayersUpTo(*stellation, 2);
    UndoList::Undo();
    ExpectLayersUpTo(*stellation, 4);
    // On an excluded cell the same toggle puts in every layer up to it.
    for (StellationCell* c = stellation->mFirstCell; c; c = c->next)
        if (!c->IsOuter())
            StellationCell::SetIncluded(c, c->mLayer->mNumber == 0);
    EXPECT_EQ(mPane->PickAt(request, nullptr), kPickStellationCell);
    ExpectLayersUpTo(*stellation, 3);
    EXPECT_EQ(mPane->IdentifyAt(p3.x, p3.y), "Selected stellation cell " + std::to_string(third->cell->mIndex) + ",");
}

TEST_F(DiagramPaneTest, TheSelectedFaceCanShowItsDiagramInItsPlane)
{
    struct DisplayGuard
    {
        int saved = SelectedFaceDisplay();
        ~DisplayGuard() { SelectedFaceDisplay() = saved; }
    } guard;
    mPane->SetViewType(kViewTypePoly, false);
    DrawAndRead(mPane);
    const wxSize size = mPane->GetCanvas()->GetClientSize();
    PickRequest request;
    request.x = size.x / 2;
    request.y = size.y / 2;
    EXPECT_EQ(mPane->PickAt(request, nullptr), kPickBaseFace);
    Poly* poly = GetCurrentPoly();
    ASSERT_NE(poly->mSelectedFace, nullptr);
    // The facets off the stellation are blue, seen through; nothing on the plain model is.
    const auto blue = [](const PaneFrame& frame) {
        int n = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
            {
                const unsigned char* p = frame.At(x, y);
                n += p[0] < 10 && p[1] < 10 && std::abs(int(p[2]) - 230) < 8;
            }
        return n;
    };
    SelectedFaceDisplay() = 0;
    EXPECT_EQ(blue(DrawAndRead(mPane)), 0);
    SelectedFaceDisplay() = 1;
    const PaneFrame frame = DrawAndRead(mPane);
    EXPECT_GT(blue(frame), 100);
    // The face itself is its diagram's used facet: front red, unlit.
    Vec3D centre;
    Vec3Scale(centre, poly->mSelectedFace->mCentroid, poly->mDisplayScale);
    int x = 0, y = 0;
    ProjectToPixel(mPane, centre, x, y);
    EXPECT_TRUE(Near(frame.At(x, y), 0.9f, 0.0f, 0.0f));
}
