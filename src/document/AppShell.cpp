#include "document/AppShell.h"

#include "render/OpenGLView.h"

void AppShell::InvalidateAllViews(bool withCaption, int keepMessage)
{
    NewView::InvalidateAll(withCaption, keepMessage != 0);
}

void AppShell::InvalidateView(void* view)
{
    NewView::Invalidate(static_cast<NewView*>(view), false);
}

void AppShell::SetViewMessage(void* view, const std::string& text)
{
    NewView* target = view ? static_cast<NewView*>(view) : NewView::GetActiveView();
    NewView::SetMessage(target, "%s", text.c_str());
}

void AppShell::InvalidateViewsOfType(int typeMask, int flag)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
    {
        const auto* gl = dynamic_cast<const OpenGLView*>(v);
        if (gl && (gl->ViewTypeCode() & typeMask) == typeMask)
            NewView::Invalidate(v, flag != 0);
    }
}

void* AppShell::ActiveView()
{
    return NewView::GetActiveView();
}

void AppShell::RefreshDocument(int /*flags*/)
{
    // The model changed: every view redraws with its caption.
    NewView::InvalidateAll(true, false);
}
