#include "ui/AppSceneHost.h"

#include "kernel/MouseThrow.h"
#include "kernel/Transform3D.h"
#include "kernel/ViewTypes.h"
#include "platform/CommandIds.h"
#include "platform/MainWindow.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "ui/LayoutSection.h"
#include "ui/MainFrame.h"
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

// The interface types a file's throw records may name.
constexpr int kThrowTypeBound = 1012;
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

void AppSceneHost::BeginSceneRead()
{
    if (mReadDepth++ > 0)
        return;
    mLayoutBeforeRead = GetCurrentLayoutIndex();
    for (int i = 0; i < kNumPaneLayouts; ++i)
        mLayoutsBeforeRead[i] = GetPaneLayout(i);
}

void AppSceneHost::EndSceneRead(bool succeeded)
{
    if (mReadDepth <= 0 || --mReadDepth > 0 || succeeded)
        return;
    NewFrame* frame = MainFrame();
    if (frame && mLayoutBeforeRead >= 0 && GetCurrentLayoutIndex() != mLayoutBeforeRead)
        frame->SetLayout(mLayoutBeforeRead);
    for (int i = 0; i < kNumPaneLayouts; ++i)
        GetPaneLayout(i) = mLayoutsBeforeRead[i];
    if (frame)
        frame->RefreshLayout();
}

bool AppSceneHost::SetViewType(int index, int code)
{
    auto* view = dynamic_cast<CPolyView*>(ViewAt(index));
    if (!view || !::GetViewTypeName(code, false))
        return false;
    view->ResetCamera(true);
    view->SetViewType(code, false);
    return true;
}

void AppSceneHost::SetViewState(int index, const SceneViewState& state, int parts)
{
    auto* view = dynamic_cast<CPolyView*>(ViewAt(index));
    if (!view)
        return;
    if (parts & kSceneViewCamera)
    {
        Transform3D camera;
        camera.m.SetColumns(state.xAxis, state.yAxis, state.zAxis);
        camera.t = state.cameraPos;
        view->SetCameraTransform(camera);
        view->CancelFit();
    }
    if (parts & kSceneViewFov)
        view->SetVerticalFOV(float(state.fovY));
    if (parts & kSceneViewExplosion)
        view->SetExplosion(state.explosionScale);
    if (parts & kSceneViewProjection4D)
        view->SetProjection4D(state.projection4D);
    if (parts & kSceneViewRotation4D)
        view->SetRotation4D(state.rotation4D);
    if (parts & kSceneViewZoom2D)
    {
        view->Set2DZoom(state.zoom2D);
        view->UpdateScrollSize();
    }
    if ((parts & kSceneViewTwist2D) && view->IsRotationAllowed())
    {
        view->Set2DAngle(state.twist2D);
        view->CancelFit();
    }
    if (parts & kSceneViewCanvas)
        view->SetScrollArea(state.canvas[0], state.canvas[3], state.canvas[2], state.canvas[1]);
    if (parts & kSceneViewScroll)
        view->ScrollTo(state.scrollX, state.scrollY);
    NewView::Invalidate(view, true);
}

void AppSceneHost::FitViews(bool fit)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
        {
            if (fit)
                view->RequestFit(1);
            else
                view->CancelFit();
        }
}

bool AppSceneHost::ReadLayoutSection(ioFile* f, bool apply)
{
    return ::ReadLayoutSection(f, kLayout1, apply && MainFrame());
}

bool AppSceneHost::ReadMouseThrows(ioFile* f, bool apply)
{
    return ReadMouseThrowData(f, kThrowTypeBound, apply);
}

std::string AppSceneHost::GetCommandMenuText(int command)
{
    return ::GetCommandMenuText(command - kCommandIdBase);
}
