#include "platform/DropMarker.h"

#include <wx/window.h>

#include <algorithm>

DropMarker::~DropMarker()
{
    Reset();
}

void DropMarker::Reset()
{
    if (mOwner)
        for (wxWindow*& part : mParts)
        {
            part->Destroy();
            part = nullptr;
        }
    mOwner = nullptr;
    mShown = false;
}

void DropMarker::Make(wxWindow* window)
{
    if (mOwner == window)
        return;
    Reset();
    mOwner = window;
    for (wxWindow*& part : mParts)
    {
        part = new wxWindow(window, wxID_ANY, wxPoint(0, 0), wxSize(1, 1), wxBORDER_NONE);
        part->SetBackgroundColour(wxColour(128, 128, 128));
        part->Hide();
    }
}

void DropMarker::Show(wxWindow* window, int y, int width)
{
    if (!window)
        return;
    Make(window);
    const int right = std::max(width - 1, 1);
    const wxRect rects[5] = {wxRect(0, y, right + 1, 1),     wxRect(0, y - 2, 1, 5), wxRect(1, y - 1, 1, 3),
                             wxRect(right, y - 2, 1, 5), wxRect(right - 1, y - 1, 1, 3)};
    // Placed once shown: the toolkit sizes no hidden window.
    for (size_t i = 0; i < mParts.size(); ++i)
    {
        mParts[i]->Show();
        mParts[i]->SetSize(rects[i]);
        mParts[i]->Raise();
    }
    mShown = true;
}

void DropMarker::Hide()
{
    if (mOwner)
        for (wxWindow* part : mParts)
            part->Hide();
    mShown = false;
}

wxRect DropMarker::Line() const
{
    return mShown ? mParts[0]->GetRect() : wxRect();
}
