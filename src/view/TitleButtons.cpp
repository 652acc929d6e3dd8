#include "view/TitleButtons.h"

#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>


namespace
{
bool IsAnyOf(int code, std::initializer_list<int> codes)
{
    for (int c : codes)
        if (code == c)
            return true;
    return false;
}

constexpr int kIconWidth = 12;
constexpr int kIconHeight = 11;

const wxColour kYellow(255, 255, 0);
const wxColour kGreen(0, 160, 0);
const wxColour kCyan(0, 160, 160);
const wxColour kRed(200, 0, 0);
const wxColour kDark(0, 0, 0);

void Triangle(wxDC& dc, const wxColour& colour, int direction)
{
    // 0 right, 1 left, 2 up, 3 down; in the left part of the icon when a letter stands beside it.
    wxPoint points[3];
    switch (direction)
    {
    case 0:
        points[0] = wxPoint(3, 1), points[1] = wxPoint(8, 5), points[2] = wxPoint(3, 9);
        break;
    case 1:
        points[0] = wxPoint(8, 1), points[1] = wxPoint(3, 5), points[2] = wxPoint(8, 9);
        break;
    case 2:
        points[0] = wxPoint(0, 8), points[1] = wxPoint(4, 2), points[2] = wxPoint(8, 8);
        break;
    default:
        points[0] = wxPoint(0, 2), points[1] = wxPoint(4, 8), points[2] = wxPoint(8, 2);
        break;
    }
    dc.SetPen(wxPen(kDark));
    dc.SetBrush(wxBrush(colour));
    dc.DrawPolygon(3, points);
}

// A letter of three pixels by five at the icon's right edge.
void Letter(wxDC& dc, char letter)
{
    dc.SetPen(wxPen(kDark));
    const int x = 9, y = 3;
    switch (letter)
    {
    case 'S':
        dc.DrawLine(x, y, x + 3, y);
        dc.DrawLine(x, y, x, y + 2);
        dc.DrawLine(x, y + 2, x + 2, y + 2);
        dc.DrawLine(x + 2, y + 2, x + 2, y + 4);
        dc.DrawLine(x, y + 4, x + 3, y + 4);
        break;
    case 'F':
        dc.DrawLine(x, y, x, y + 5);
        dc.DrawLine(x, y, x + 3, y);
        dc.DrawLine(x, y + 2, x + 2, y + 2);
        break;
    case '3':
        dc.DrawLine(x, y, x + 2, y);
        dc.DrawLine(x + 2, y, x + 2, y + 4);
        dc.DrawLine(x, y + 2, x + 2, y + 2);
        dc.DrawLine(x, y + 4, x + 3, y + 4);
        break;
    default:  // '4'
        dc.DrawLine(x, y, x, y + 3);
        dc.DrawLine(x, y + 2, x + 3, y + 2);
        dc.DrawLine(x + 2, y, x + 2, y + 5);
        break;
    }
}

// The arrow that turns down: the shown model becomes the base model.
void TurningArrow(wxDC& dc)
{
    dc.SetPen(wxPen(kCyan, 2));
    dc.DrawLine(1, 2, 6, 2);
    dc.DrawLine(6, 2, 6, 7);
    dc.SetPen(wxPen(kCyan));
    dc.SetBrush(wxBrush(kCyan));
    const wxPoint head[3] = {wxPoint(3, 6), wxPoint(9, 6), wxPoint(6, 10)};
    dc.DrawPolygon(3, head);
}

wxBitmap Paint(int icon)
{
    wxBitmap bitmap(kIconWidth, kIconHeight, 24);
    wxMemoryDC dc(bitmap);
    const wxColour background(192, 192, 192);
    dc.SetBackground(wxBrush(background));
    dc.Clear();
    switch (icon)
    {
    case 194:
        Triangle(dc, kYellow, 0);
        break;
    case 195:
        Triangle(dc, kYellow, 1);
        break;
    case 196:
        Triangle(dc, kGreen, 2);
        Letter(dc, 'S');
        break;
    case 197:
        Triangle(dc, kGreen, 3);
        Letter(dc, 'S');
        break;
    case 198:
        Triangle(dc, kGreen, 0);
        break;
    case 199:
        Triangle(dc, kGreen, 1);
        break;
    case 200:
        dc.SetPen(wxPen(kGreen, 2));
        dc.DrawLine(1, 5, 4, 8);
        dc.DrawLine(4, 8, 10, 1);
        break;
    case 201:
        dc.SetPen(wxPen(kRed, 2));
        dc.DrawLine(2, 1, 10, 9);
        dc.DrawLine(10, 1, 2, 9);
        break;
    case 202:
        TurningArrow(dc);
        break;
    case 203:
        dc.SetPen(wxPen(kDark));
        dc.SetBrush(wxBrush(kDark));
        for (int x : {2, 5, 8})
            dc.DrawRectangle(x, 7, 2, 2);
        break;
    case 204:
        Triangle(dc, kYellow, 2);
        break;
    case 205:
        Triangle(dc, kYellow, 3);
        break;
    case 206:
        TurningArrow(dc);
        Letter(dc, '3');
        break;
    case 207:
        TurningArrow(dc);
        Letter(dc, '4');
        break;
    case 208:
        dc.SetPen(wxPen(kDark));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawCircle(5, 5, 4);
        dc.SetBrush(wxBrush(kDark));
        dc.DrawRectangle(5, 5, 1, 1);
        break;
    case 209:
        Triangle(dc, kGreen, 2);
        Letter(dc, 'F');
        break;
    case 210:
        Triangle(dc, kGreen, 3);
        Letter(dc, 'F');
        break;
    default:
        break;
    }
    dc.SelectObject(wxNullBitmap);
    bitmap.SetMask(new wxMask(bitmap, background));
    return bitmap;
}
}  // namespace

std::vector<TitleButtonChoice> ChooseTitleButtons(const TitleButtonState& s)
{
    const int code = s.viewType;
    const bool slice = code == kViewTypeSlice;
    const bool p = !(code & kViewFamilyFollowsSide) ||
                   IsAnyOf(code, {kViewTypeFacetPreview, kViewTypeCompound, kViewTypeSlice, kViewTypeCellDiagram}) ||
                   (code == kViewTypeNet3D && s.netsShownInFoldingView == 0);
    const bool st = IsAnyOf(code, {kViewTypeUniStellation, kViewTypeDualStellation, kViewTypeStelFace,
                                   kViewTypeStelDiagram, kViewTypeCellDiagram});
    const bool a = s.augmentationPreview;
    const bool f = IsAnyOf(code, {kViewTypeFacetPreview, kViewTypeFacetDiagram});
    const bool m = s.mouseMode == kMouseModeFaceting && !a &&
                   (ViewTypeHasAll(code, kViewFamily3D) || IsAnyOf(code, {kViewTypeFace, kViewTypeStelFace, kViewTypeStelDiagram}));
    const bool x = !m && IsAnyOf(code, {kViewTypeFacetPreview, kViewTypeFacetDiagram, kViewTypeNet2D});
    const bool d = IsAnyOf(code, {kViewTypePolyAndDual, kViewTypeDual, kViewTypeUniStellation, kViewTypeDualStellation,
                                  kViewTypeFacetPreview, kViewTypeCompound}) ||
                   ViewTypeHasAll(code, kViewFamilyMorph) ||
                   (s.model4D &&
                    IsAnyOf(code, {kViewTypePoly, kViewTypeFace, kViewTypeVertexFigure, kViewTypeSlice, kViewTypeNet2D}));
    const bool e = s.model4D && ViewTypeHasAll(code, kViewFamily4D | kViewFamily3D) && code != kViewTypePoly;
    const bool q = m || s.mouseMode == kMouseModeMeasure;

    std::vector<TitleButtonChoice> buttons;
    if (p)
        buttons.insert(buttons.end(), {{kTitleNextPolyhedron, 198, false}, {kTitlePreviousPolyhedron, 199, true}});
    else
        buttons.insert(buttons.end(), {{kTitleNextElement, 194, false}, {kTitlePreviousElement, 195, true}});
    if (slice)
        buttons.insert(buttons.end(), {{kTitleNextElement, 194, false}, {kTitlePreviousElement, 195, true}});
    if (st)
        buttons.insert(buttons.end(), {{kTitleNextStellation, 196, false}, {kTitlePreviousStellation, 197, true}});
    if (a)
        buttons.insert(buttons.end(), {{kTitleCancel, 201, false},
                                       {kTitleAccept, 200, false},
                                       {kTitleNextElement, 194, false},
                                       {kTitlePreviousElement, 195, false},
                                       {kTitleNextMatchingFace, 204, false},
                                       {kTitlePreviousMatchingFace, 205, true}});
    if (f)
        buttons.insert(buttons.end(), {{kTitleNextFaceting, 209, false}, {kTitlePreviousFaceting, 210, true}});
    if (m)
        buttons.insert(buttons.end(),
                       {{kTitleCancel, 201, false}, {kTitleAccept, 200, false}, {kTitleCompleteFacet, 203, true}});
    if (x)
        buttons.push_back({kTitleCancel, 201, true});
    if (d)
        buttons.push_back({kTitleMakeBase, s.model4D ? 206 : 202, false});
    if (e)
        buttons.push_back({kTitleMakeBase4D, 207, false});
    if (q)
        buttons.push_back({kTitleCentre, 208, false});
    return buttons;
}

wxBitmap MakeTitleButtonIcon(int icon)
{
    return icon >= 194 && icon <= 210 ? Paint(icon) : wxBitmap();
}
