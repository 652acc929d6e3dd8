#include "ui/ModelPane.h"

#include "kernel/RenderSettings.h"
#include "kernel/ViewTypes.h"

ModelPane::ModelPane(wxWindow* parent, wxWindowID id) : OpenGLView(parent, id) {}

void ModelPane::SetViewType(int code, bool /*keep*/)
{
    mViewType = code;
    const char* name = GetViewTypeName(code, false);
    SetTitle(name ? name : "View");
    NewView::Invalidate(this, false);
    NewView::InvalidateCaption(this);
}

const char* ModelPane::GetPlaceholderText() const
{
    return ViewTypeHasAll(mViewType, kViewFamilyNet) ? "No nets." : "";
}

void ModelPane::DrawScene()
{
    const char* text = GetPlaceholderText();
    if (!*text)
        return;
    const int* viewport = GetViewport();
    DrawTextBox(text, viewport[2] / 2, viewport[3] / 2, GetRenderSettings().sceneTextColor, 3, 0.5f);
}
