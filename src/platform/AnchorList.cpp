#include "platform/AnchorList.h"

#include <wx/window.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <cstdint>

namespace
{
int Scale(int coordinate, int recorded, int present)
{
    if (recorded <= 0)
        return coordinate;
    return int(int64_t(coordinate) * present / recorded);
}

int WxLimit(int size)
{
    return size >= AnchorList::kUnlimited ? wxDefaultCoord : size;
}
}  // namespace

void AnchorSpan(int nearEdge, int farEdge, int recorded, int present, int flags, int& newNear, int& newFar)
{
    const int growth = present - recorded;
    if (flags & AnchorList::kKeepNear)
        newNear = nearEdge;
    else if ((flags & AnchorList::kKeepSize) && (flags & AnchorList::kFollowFar))
        newNear = nearEdge + growth;
    else
        newNear = Scale(nearEdge, recorded, present);

    if (flags & AnchorList::kFollowFar)
        newFar = farEdge + growth;
    else if (flags & AnchorList::kKeepSize)
        newFar = newNear + (farEdge - nearEdge);
    else
        newFar = Scale(farEdge, recorded, present);
}

void AnchorList::Attach(wxWindow* dialog)
{
    Clear();
    mDialog = dialog;
    if (!dialog)
        return;
    mClientSize = dialog->GetClientSize();
    for (wxWindow* child : dialog->GetChildren())
    {
        if (child->IsTopLevel())
            continue;
        new Child(child, child->GetRect(), mFirst);
        ++mCount;
    }
    if (mMinSize.x <= 0 && mMinSize.y <= 0)
        SetMinSizeFromWindow();
    ApplySizeHints();
}

void AnchorList::SetMinSize(int width, int height)
{
    mMinSize = wxSize(std::max(width, 1), std::max(height, 1));
    ApplySizeHints();
}

void AnchorList::SetMinSizeFromWindow()
{
    if (mDialog)
        SetMinSize(mDialog->GetSize().x, mDialog->GetSize().y);
}

void AnchorList::AllowGrowth(bool width, bool height)
{
    mMaxSize = wxSize(width ? kUnlimited : mMinSize.x, height ? kUnlimited : mMinSize.y);
    ApplySizeHints();
}

AnchorList::Child* AnchorList::Find(const wxWindow* child) const
{
    Child* c = mFirst;
    for (int i = 0; i < mCount; ++i, c = c->next)
        if (c->window == child)
            return c;
    return nullptr;
}

bool AnchorList::SetAnchor(wxWindow* child, int horizontal, int vertical)
{
    Child* c = Find(child);
    if (!c)
        return false;
    c->horizontal = horizontal;
    c->vertical = vertical;
    return true;
}

bool AnchorList::SetAnchorById(int id, int horizontal, int vertical)
{
    return mDialog && SetAnchor(mDialog->FindWindow(id), horizontal, vertical);
}

int AnchorList::SetAnchorByClass(const wxClassInfo* kind, int horizontal, int vertical)
{
    int n = 0;
    Child* c = mFirst;
    for (int i = 0; i < mCount; ++i, c = c->next)
        if (kind && c->window->IsKindOf(kind))
        {
            c->horizontal = horizontal;
            c->vertical = vertical;
            ++n;
        }
    return n;
}

void AnchorList::Layout()
{
    if (!mDialog || !mFirst)
        return;
    const wxSize present = mDialog->GetClientSize();
    // One batch: nothing repaints until every child has moved.
    wxWindowUpdateLocker batch(mDialog);
    Child* c = mFirst;
    for (int i = 0; i < mCount; ++i, c = c->next)
    {
        int left, right, top, bottom;
        AnchorSpan(c->rect.x, c->rect.GetRight() + 1, mClientSize.x, present.x, c->horizontal, left, right);
        AnchorSpan(c->rect.y, c->rect.GetBottom() + 1, mClientSize.y, present.y, c->vertical, top, bottom);
        c->window->SetSize(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    }
}

void AnchorList::GetMinMaxInfo(wxSize& minSize, wxSize& maxSize) const
{
    minSize = mMinSize;
    maxSize = mMaxSize;
}

void AnchorList::ApplySizeHints()
{
    if (!mDialog)
        return;
    const wxSize minSize(mMinSize.x > 0 ? mMinSize.x : wxDefaultCoord, mMinSize.y > 0 ? mMinSize.y : wxDefaultCoord);
    // A maximum fixed before the minimum was known follows the minimum.
    const wxSize maxSize(WxLimit(std::max(mMaxSize.x, mMinSize.x)), WxLimit(std::max(mMaxSize.y, mMinSize.y)));
    mDialog->SetSizeHints(minSize, maxSize);
}

void AnchorList::Clear()
{
    while (mFirst)
    {
        Child* c = mFirst;
        if (c->next == c)
            mFirst = nullptr;
        else
        {
            mFirst = c->next;
            RingUnlink(c);
        }
        delete c;
    }
    mCount = 0;
    mDialog = nullptr;
}
