#pragma once

#include "platform/DropMarker.h"

#include <wx/timer.h>

class NewListCtrl;
class wxMouseEvent;
class wxMouseCaptureLostEvent;
class wxPopupWindow;

// The one row drag of the program: the dragged row's image follows the pointer, the marker shows
// where the row would go, and a 75 ms tick scrolls the list when the pointer is near its top or
// bottom edge. Dropping elsewhere than the row's own place calls the source list's OnRowDropped.
class ListRowDrag : public wxTimer
{
public:
    static ListRowDrag& Get();

    void Begin(NewListCtrl* source, int row);
    bool IsActive() const { return mSource != nullptr; }
    int DropPosition() const { return mDropPos; }
    NewListCtrl* DropList() const { return mDropList; }
    const DropMarker& Marker() const { return mMarker; }

    // A list that goes away ends a drag it takes part in, without a drop.
    static void ListDestroyed(NewListCtrl* list);

    void Notify() override;

private:
    ListRowDrag() = default;
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void TrackPointer(const wxPoint& screen);
    void ShowMarker();
    void End(bool drop);

    NewListCtrl* mSource = nullptr;
    int mSourceRow = -1;
    NewListCtrl* mDropList = nullptr;
    int mDropPos = -1;
    wxPoint mPointer;  // screen coordinates
    int mScrollTicks = 0;
    DropMarker mMarker;
    wxPopupWindow* mImage = nullptr;
};
