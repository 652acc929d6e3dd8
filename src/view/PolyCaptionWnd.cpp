#include "view/PolyCaptionWnd.h"

#include "view/PolyView.h"

#include <wx/dc.h>

namespace
{
ViewTypeMenuSource gSource;
}  // namespace

void SetViewTypeMenuSource(const ViewTypeMenuSource& source)
{
    gSource = source;
}

const ViewTypeMenuSource& GetViewTypeMenuSource()
{
    return gSource;
}

PolyCaptionWnd::PolyCaptionWnd(CPolyView* view) : CaptionWnd(view), mPolyView(view)
{
}

wxRect PolyCaptionWnd::GetIconRect() const
{
    const wxSize size = GetClientSize();
    const int left = std::max(0, mPolyView->GetReservedCaptionWidth()) + (kIndent - kIconSize) / 2;
    return wxRect(left, (size.y - kIconSize) / 2, kIconSize, kIconSize);
}

void PolyCaptionWnd::PaintIndent(wxDC& dc, const wxSize& /*size*/)
{
    const int type = mPolyView->GetViewType();
    if (type < 0 || !gSource.picture)
        return;
    const wxBitmapBundle picture = gSource.picture(type & 0xFF);
    if (!picture.IsOk())
        return;
    const wxRect rect = GetIconRect();
    dc.DrawBitmap(picture.GetBitmapFor(this), rect.x, rect.y, true);
}

bool PolyCaptionWnd::OnCaptionPress(const wxPoint& point)
{
    if (!GetIconRect().Contains(point))
        return false;
    mPolyView->ShowViewTypeMenu();
    return true;
}
