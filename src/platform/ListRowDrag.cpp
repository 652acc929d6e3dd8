#include "platform/ListRowDrag.h"

#include "platform/NewListCtrl.h"

#include <wx/dcclient.h>
#include <wx/popupwin.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
constexpr int kEdgeZone = 5;
constexpr int kImageOffset = 15;
constexpr int kHorizontalStep = 15;

// The first cell's text on a small window that follows the pointer.
wxPopupWindow* NewDragImage(wxWindow* parent, const wxString& text)
{
    auto* image = new wxPopupWindow(parent, wxBORDER_SIMPLE);
    image->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    image->SetFont(parent->GetFont());
    wxClientDC dc(image);
    dc.SetFont(parent->GetFont());
    const wxSize size = dc.GetTextExtent(text.empty() ? wxString(" ") : text);
    image->SetClientSize(size + wxSize(4, 2));
    image->Bind(wxEVT_PAINT, [image, text](wxPaintEvent&) {
        wxPaintDC paint(image);
        paint.SetFont(image->GetFont());
        paint.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
        paint.DrawText(text, 2, 1);
    });
    return image;
}

// The list that holds a window, if any.
NewListCtrl* ListOf(wxWindow* window)
{
    for (; window; window = window->GetParent())
        if (auto* list = dynamic_cast<NewListCtrl*>(window))
            return list;
    return nullptr;
}
}  // namespace

ListRowDrag& ListRowDrag::Get()
{
    static ListRowDrag drag;
    return drag;
}

void ListRowDrag::ListDestroyed(NewListCtrl* list)
{
    ListRowDrag& drag = Get();
    if (drag.IsActive() && (drag.mSource == list || drag.mDropList == list))
        drag.End(false);
}

void ListRowDrag::Begin(NewListCtrl* source, int row)
{
    if (IsActive() || !source || !source->RowsWindow())
        return;
    mSource = source;
    mSourceRow = row;
    mDropList = nullptr;
    mDropPos = -1;
    mScrollTicks = 0;
    mPointer = wxGetMousePosition();
    wxWindow* rows = source->RowsWindow();
    rows->Bind(wxEVT_MOTION, &ListRowDrag::OnMotion, this);
    rows->Bind(wxEVT_LEFT_UP, &ListRowDrag::OnLeftUp, this);
    rows->Bind(wxEVT_MOUSE_CAPTURE_LOST, &ListRowDrag::OnCaptureLost, this);
    if (!rows->HasCapture())
        rows->CaptureMouse();
    mImage = NewDragImage(source, source->CellText(row, 0));
    Start(NewListCtrl::kDragTickMs);
}

void ListRowDrag::OnMotion(wxMouseEvent& event)
{
    if (!IsActive())
    {
        event.Skip();
        return;
    }
    TrackPointer(mSource->RowsWindow()->ClientToScreen(event.GetPosition()));
}

void ListRowDrag::TrackPointer(const wxPoint& screen)
{
    mPointer = screen;
    if (mImage)
    {
        mImage->Move(screen + wxPoint(kImageOffset, kImageOffset));
        if (!mImage->IsShown())
            mImage->Show();
    }
    // Over a list of the program, the row under the pointer; above the rows, row 0; below them or
    // on empty space, after the last row. Elsewhere the position stays.
    NewListCtrl* list = ListOf(wxFindWindowAtPoint(screen));
    if (!list || !list->RowsWindow())
        return;
    wxWindow* rows = list->RowsWindow();
    const wxPoint inRows = rows->ScreenToClient(screen);
    int position = list->GetItemCount();
    if (inRows.y < 0)
        position = 0;
    else
    {
        int column = -1;
        const int row = list->HitTestCell(inRows + rows->GetPosition(), column);
        if (row >= 0)
            position = row;
    }
    mDropList = list;
    mDropPos = position;
    ShowMarker();
}

void ListRowDrag::ShowMarker()
{
    if (!mDropList || mDropPos < 0)
        return;
    wxWindow* rows = mDropList->RowsWindow();
    const int count = mDropList->GetItemCount();
    int y = 0;
    wxRect rect;
    if (mDropPos < count && mDropList->GetItemRect(mDropPos, rect))
        y = rect.y;
    else if (count > 0 && mDropList->GetItemRect(count - 1, rect))
        y = rect.GetBottom() + 1;
    else
        y = rows->GetPosition().y;
    mMarker.Show(rows, y - rows->GetPosition().y, rows->GetClientSize().x);
}

void ListRowDrag::Notify()
{
    if (!IsActive())
        return;
    if (mImage && mImage->IsShown())
        mImage->Move(mPointer + wxPoint(kImageOffset, kImageOffset));
    wxWindow* rows = mSource->RowsWindow();
    const wxPoint at = rows->ScreenToClient(mPointer);
    const wxSize size = rows->GetClientSize();
    const int count = mSource->GetItemCount();
    const int top = int(mSource->GetTopItem());
    const int perPage = mSource->GetCountPerPage();
    wxRect first;
    const int line = count > 0 && mSource->GetItemRect(top, first) ? first.height : 0;

    int direction = 0;
    int distance = 0;
    if (at.y < kEdgeZone && top > 0)
    {
        direction = -1;
        distance = kEdgeZone - at.y;
    }
    else if (at.y >= size.y - kEdgeZone && top + perPage < count)
    {
        direction = 1;
        distance = at.y - (size.y - kEdgeZone) + 1;
    }
    if (direction == 0 || line == 0)
        mScrollTicks = 0;
    else if (++mScrollTicks >= NewListCtrl::AutoScrollInterval(distance))
    {
        mScrollTicks = 0;
        // Scrolling moves the rows' child windows, hidden ones too, which GTK refuses: the marker's
        // windows go and come back after.
        mMarker.Reset();
        mSource->ScrollList(0, direction * line);
        const int newTop = int(mSource->GetTopItem());
        mDropList = mSource;
        mDropPos = direction < 0 ? newTop : std::min(newTop + mSource->GetCountPerPage(), count);
        ShowMarker();
    }
    if (at.x < kEdgeZone)
        mSource->ScrollList(-kHorizontalStep, 0);
    else if (at.x >= size.x - kEdgeZone)
        mSource->ScrollList(kHorizontalStep, 0);
}

void ListRowDrag::OnLeftUp(wxMouseEvent& event)
{
    if (!IsActive())
    {
        event.Skip();
        return;
    }
    TrackPointer(mSource->RowsWindow()->ClientToScreen(event.GetPosition()));
    End(true);
}

void ListRowDrag::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    End(false);
}

void ListRowDrag::End(bool drop)
{
    if (!IsActive())
        return;
    Stop();
    mMarker.Reset();
    if (mImage)
    {
        mImage->Destroy();
        mImage = nullptr;
    }
    NewListCtrl* source = mSource;
    wxWindow* rows = source->RowsWindow();
    rows->Unbind(wxEVT_MOTION, &ListRowDrag::OnMotion, this);
    rows->Unbind(wxEVT_LEFT_UP, &ListRowDrag::OnLeftUp, this);
    rows->Unbind(wxEVT_MOUSE_CAPTURE_LOST, &ListRowDrag::OnCaptureLost, this);
    if (rows->HasCapture())
        rows->ReleaseMouse();
    NewListCtrl* target = mDropList;
    const int from = mSourceRow;
    const int to = mDropPos;
    mSource = nullptr;
    mDropList = nullptr;
    mDropPos = -1;
    if (drop && target && to >= 0 && (target != source || to != from))
        source->OnRowDropped(target, from, to);
}
