#include "ui/AppSceneHost.h"

#include "kernel/MouseThrow.h"
#include "platform/MainWindow.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "ui/LayoutSection.h"
#include "ui/NewFrame.h"
#include "ui/PaneLayout.h"
#include "view/PolyView.h"

#include <cmath>

namespace
{
NewView* ViewAt(int index)
{
    NewView* v = NewView::GetFirstView();
    for (int i = 0; v && i < index; ++i)
        v = v->next;
    return index >= 0 ? v : nullptr;
}

NewFrame* MainFrame()
{
    return dynamic_cast<NewFrame*>(GetMainFrame());
}
}  // namespace

int AppSceneHost::CountViews()
{
    int count = 0;
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        ++count;
    return count;
}

bool AppSceneHost::GetViewState(int index, SceneViewState& state)
{
    const auto* view = dynamic_cast<const CPolyView*>(ViewAt(index));
    if (!view)
        return false;
    state.viewType = view->GetViewType();
    state.is3D = view->Is3D();
    state.cameraPos = view->GetEye();
    state.xAxis = view->GetRight();
    state.yAxis = view->GetUp();
    state.zAxis = view->GetBackward();
    state.fovY = double(view->GetVerticalFOV());
    state.explosionScale = view->GetExplosion();
    state.projection4D = view->GetProjection4D();
    state.rotation4D = view->GetRotation4D();
    state.zoom2D = view->Get2DZoom();
    // The drawing is as many pixels wide per model unit as it is high.
    state.zoomX = std::fabs(view->GetScaledHeight());
    state.zoomY = state.zoomX;
    state.twist2D = view->Get2DAngle();
    view->GetScrollArea(state.canvas[0], state.canvas[1], state.canvas[2], state.canvas[3]);
    state.scrollX = view->GetScrollX();
    state.scrollY = view->GetScrollY();
    state.clientWidth = view->GetWidth();
    state.clientHeight = view->GetHeight();
    return true;
}

bool AppSceneHost::GetActiveStellationTitle(std::string& title)
{
    const auto* view = dynamic_cast<const CPolyView*>(NewView::GetActiveView());
    if (!view)
        return false;
    title = view->GetStellationName();
    return true;
}

bool AppSceneHost::HasLayout()
{
    return MainFrame() && GetCurrentLayoutIndex() >= 0;
}

void AppSceneHost::StoreLayoutRatios()
{
    if (NewFrame* frame = MainFrame())
        frame->StoreRatios();
}

bool AppSceneHost::WriteLayoutSection(ioFile* f, int indent)
{
    return ::WriteLayoutSection(f, indent);
}

bool AppSceneHost::HasMovingThrows()
{
    return GetFirstMovingThrow() != nullptr;
}

void AppSceneHost::WriteMouseThrows(ioFile* f, int indent)
{
    WriteMouseThrowData(f, indent);
}
