#pragma once

#include "kernel/LinkNode.h"

#include <wx/gdicmn.h>

class wxClassInfo;
class wxWindow;

// Keeps the controls of a resizable dialog in place as it is resized. Sizers place the controls at
// their natural sizes first; Attach then records every child's rectangle and the client size, and
// from then on the dialog calls Layout on each size change instead of letting a sizer run. Each
// child follows the client area by its anchor flags per axis:
//   kKeepSize     keep the width (height);
//   kKeepNear     keep the left (top) edge;
//   kFollowFar    move with the right (bottom) edge of the client area.
// A child without flags (0) scales with the client area. Owned by the dialog it lays out.
class AnchorList
{
public:
    enum Anchor
    {
        kKeepSize = 1,
        kKeepNear = 2,
        kFollowFar = 4,
    };
    static constexpr int kUnlimited = 999999;

    AnchorList() = default;
    ~AnchorList() { Clear(); }
    AnchorList(const AnchorList&) = delete;
    AnchorList& operator=(const AnchorList&) = delete;

    // Records the client rectangle and every child with flags 0. The minimum size becomes the dialog's
    // size unless one was set before.
    void Attach(wxWindow* dialog);
    void SetMinSize(int width, int height);
    void SetMinSizeFromWindow();
    // An axis that may grow has no maximum; the other's maximum is its minimum.
    void AllowGrowth(bool width, bool height);

    bool SetAnchor(wxWindow* child, int horizontal, int vertical);
    bool SetAnchorById(int id, int horizontal, int vertical);
    // Every recorded child of the class or a class derived from it; answers how many.
    int SetAnchorByClass(const wxClassInfo* kind, int horizontal, int vertical);

    // Moves every child for the dialog's present client size.
    void Layout();
    // The tracking sizes, kUnlimited for no maximum. They are also the dialog's size hints.
    void GetMinMaxInfo(wxSize& minSize, wxSize& maxSize) const;
    void Clear();

    int Count() const { return mCount; }

private:
    struct Child : RingNode<Child>
    {
        Child(wxWindow* w, const wxRect& r, Child*& first) : window(w), rect(r) { RingJoin(this, first); }
        wxWindow* window;
        wxRect rect;  // client coordinates when recorded
        int horizontal = 0;
        int vertical = 0;
    };

    Child* Find(const wxWindow* child) const;
    void ApplySizeHints();

    wxWindow* mDialog = nullptr;
    wxSize mClientSize;  // when recorded
    Child* mFirst = nullptr;
    int mCount = 0;
    wxSize mMinSize{0, 0};
    wxSize mMaxSize{kUnlimited, kUnlimited};
};

// One axis of a child: its near and far edge for a client extent grown from recorded to present.
// Near edge: kKeepNear keeps it, kKeepSize with kFollowFar moves it by the growth, otherwise it
// scales. Far edge: kFollowFar moves it by the growth, kKeepSize keeps the extent, otherwise it
// scales. Scaling truncates.
void AnchorSpan(int nearEdge, int farEdge, int recorded, int present, int flags, int& newNear, int& newFar);
