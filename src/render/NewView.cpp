#include "render/NewView.h"

#include "kernel/Strings.h"

#include <cstdarg>

NewView* NewView::sFirst = nullptr;
NewView* NewView::sLast = nullptr;
NewView* NewView::sActive = nullptr;
ColorRGB NewView::sDefaultBackground{0.5f, 0.5f, 0.5f};

NewView::NewView(wxWindow* parent, wxWindowID id)
    : wxWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxFULL_REPAINT_ON_RESIZE), mBackground(sDefaultBackground)
{
    mNumber = sLast ? sLast->mNumber + 1 : 0;
    ListAppend(this, sFirst, sLast);
    if (!sActive)
        sActive = this;
}

NewView::~NewView()
{
    RemoveFromList();
    if (sActive == this)
        sActive = nullptr;
}

NewView* NewView::FindView(int number)
{
    for (NewView* v = sFirst; v; v = v->next)
        if (v->mNumber == number)
            return v;
    return nullptr;
}

bool NewView::IsListed(const NewView* view)
{
    for (NewView* v = sFirst; v; v = v->next)
        if (v == view)
            return true;
    return false;
}

void NewView::Renumber(NewView* from, int number)
{
    for (NewView* v = from; v; v = v->next)
        v->mNumber = number++;
}

void NewView::RemoveFromList()
{
    if (mNumber < 0)
        return;
    NewView* after = next;
    const int number = mNumber;
    ListRemove(this, sFirst, sLast);
    next = prev = nullptr;
    Renumber(after, number);
    mNumber = -1;
}

void NewView::SetViewIndex(int n)
{
    if (mNumber == n)
        return;
    RemoveFromList();
    NewView* before = FindView(n);
    ListInsertBefore(before, this, sFirst, sLast);
    Renumber(before ? this : sFirst, before ? n : 0);
}

void NewView::Activate(bool /*setFrameActiveView*/)
{
    if (sActive == this)
        return;
    ClearMessage(this);
    InvalidateCaption(sActive);
    InvalidateCaption(this);
    sActive = this;
}

void NewView::Invalidate(NewView* view, bool keepMessage)
{
    if (!view)
        return;
    if (keepMessage)
        view->mRedrawMarks |= kKeepMessage;
    else if (!(view->mRedrawMarks & kKeepMessage))
        ClearMessage(view);
    view->mRedrawMarks |= kRedraw;
}

void NewView::InvalidateCaption(NewView* view)
{
    if (view)
        view->mRedrawMarks |= kRedrawCaption;
}

void NewView::InvalidateAll(bool withCaption, bool keepMessage)
{
    for (NewView* v = sFirst; v; v = v->next)
    {
        Invalidate(v, keepMessage);
        if (withCaption)
            InvalidateCaption(v);
    }
}

void NewView::RedrawNow(NewView* view)
{
    if (!view || !view->mRedrawMarks)
        return;
    // Captions are drawn with the view for now: the mark is done with.
    view->mRedrawMarks &= ~kRedrawCaption;
    if (view->mRedrawMarks & kRedraw)
        view->RepaintNow();
}

void NewView::RedrawAllNow()
{
    for (NewView* v = sFirst; v; v = v->next)
        RedrawNow(v);
}

void NewView::ClearRedrawFlags(NewView* view)
{
    if (view)
        view->mRedrawMarks &= ~(kRedraw | kKeepMessage);
}

void NewView::SetMessage(NewView* view, const char* format, ...)
{
    if (!view)
        return;
    if (!format)
    {
        ClearMessage(view);
        return;
    }
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(1024, format, args);
    va_end(args);
    if (text != view->mMessage)
    {
        if (IsBlank(text))
            view->mMessage.clear();
        else
            view->mMessage = text;
    }
    Invalidate(view, true);
}

void NewView::ClearMessage(NewView* view)
{
    if (!view || view->mMessage.empty())
        return;
    view->mRedrawMarks &= ~kKeepMessage;
    view->mMessage.clear();
    Invalidate(view, false);
}

void NewView::ClearAllMessages()
{
    for (NewView* v = sFirst; v; v = v->next)
        ClearMessage(v);
}

void NewView::SetBackgroundColor(NewView* view, const ColorRGB& color)
{
    if (!view)
        return;
    view->mBackground = color;
    Invalidate(view, true);
}

void NewView::SetDefaultBackgroundColor(const ColorRGB& color)
{
    sDefaultBackground = color;
}

void NewView::SetBackgroundColorAll(const ColorRGB& color)
{
    SetDefaultBackgroundColor(color);
    for (NewView* v = sFirst; v; v = v->next)
        SetBackgroundColor(v, color);
}

void NewView::RepaintNow()
{
    Refresh(false);
    Update();
}
