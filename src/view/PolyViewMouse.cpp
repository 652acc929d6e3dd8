// The model pane's mouse: the selection modes, the action code of every button and key, what the
// presses, drags and releases of the parameter actions do, their cursors and hints, and the pane's
// throws that a change of view type stops.

#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "view/MouseActions.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"

#include <wx/cursor.h>

#include <memory>

namespace
{
constexpr double kExplodeRate = 0.03;  // per pixel
constexpr double kHalfWay = 0.5;
constexpr const char* kEscLine = "\nEsc --- Return to normal mode";
// Where the measured distance can be read again; the Scale menu names it so.
constexpr const char* kMeasuredDistanceMenuText = "Scale->Measured Distance...";

// What the half-way and unexplode toggles give back: at first the values the program starts with.
double gRememberedMorph = 0.5;
double gRememberedFold = 0.25;
double gRememberedSlice = 0.5;
double gRememberedShrink4D = 0.3;
double gRememberedNetShrink4D = 1.0;

// The current model holds a 4D polytope.
bool HasPolytope()
{
    const Poly* poly = GetCurrentPoly();
    return poly && poly->mPolytope;
}

// A value other than rest is remembered and becomes rest; rest gets the remembered value back.
double Toggled(double value, double rest, double& remembered)
{
    if (value != rest)
    {
        remembered = value;
        return rest;
    }
    return remembered;
}

// The cursors of the actions carried out; the others show the navigation's.
const wxCursor* ActionCursor(int code)
{
    enum
    {
        kNotPossible,
        kExplode,
        kRestore,
        kSideways,
        kDepth,
        kTurn,
        kRotate4D,
        kSelect,
        kIdentify,
        kPaint,
        kFaceSize,
        kNumCursors
    };
    static std::unique_ptr<wxCursor> cursors[kNumCursors];
    if (!cursors[0])
    {
        const wxStockCursor stock[kNumCursors] = {wxCURSOR_NO_ENTRY, wxCURSOR_SIZING,    wxCURSOR_BULLSEYE,
                                                  wxCURSOR_SIZEWE,   wxCURSOR_SIZENS,    wxCURSOR_POINT_RIGHT,
                                                  wxCURSOR_HAND,     wxCURSOR_CROSS,     wxCURSOR_QUESTION_ARROW,
                                                  wxCURSOR_PAINT_BRUSH, wxCURSOR_SIZENWSE};
        for (int i = 0; i < kNumCursors; ++i)
            cursors[i] = std::make_unique<wxCursor>(stock[i]);
    }
    switch (code)
    {
    case 1:
        return cursors[kNotPossible].get();
    case 14:
    case 15:
        return cursors[kExplode].get();
    case 16:
    case 21:
    case 24:
    case 49:
        return cursors[kRestore].get();
    case 19:
    case 20:
    case 22:
    case 23:
        return cursors[kSideways].get();
    case 47:
    case 48:
        return cursors[kDepth].get();
    case 50:
    case 51:
    case 52:
    case 53:
        return cursors[kTurn].get();
    case 58:
    case 59:
    case 60:
        return cursors[kRotate4D].get();
    case 3:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 55:
    case 64:
    case 65:
        return cursors[kSelect].get();
    case 4:
        return cursors[kIdentify].get();
    case 13:
        return cursors[kPaint].get();
    case 17:
    case 18:
        return cursors[kFaceSize].get();
    default:
        return nullptr;
    }
}

std::string ModeText(int mode)
{
    const bool model4D = HasPolytope();
    std::string text;
    switch (mode)
    {
    case kMouseModeIdentify:
        text = "IDENTIFICATION MODE\n\nShift+Left-click --- Identify a ";
        text += model4D ? "cell/" : "";
        text += "face/edge/vert\n\nIdentification details will appear in the\n"
                "  status bar at the bottom of the window.";
        break;
    case kMouseModeCutEdges:
        text = std::string("CUTTING MODE\n\nShift+Left-click --- Cut/uncut edges of selected type\n"
                           "Shift+Right-click --- Cut/uncut single edge");
        break;
    case kMouseModeMeasure:
        text = "MEASUREMENT MODE\nMeasure distance and angle between items\nItems can be points, lines";
        text += model4D ? ", planes or hyperplanes" : " or planes";
        text += "\n\nShift+Left-click --- Select new item\nShift+Right-click --- Extend item"
                "\nCtrl+Left-click --- Replace recent item\nCtrl+Right-click --- Extend item";
        text += kEscLine;
        text += "\n\nMeasured distance and angle appear on-screen\n  and in the status bar at the bottom of the "
                "window.\nDistance is also available from the menu:\n  \"";
        text += kMeasuredDistanceMenuText;
        text += "\".";
        return text;
    case kMouseModeFaceting:
        text = "FACETING MODE\n";
        if (!FindViewOfType(kViewTypeFacetPreview, kViewTypeFacetPreview))
            text += "\nWARNING: Faceting mode is very difficult to use without\na Faceting Preview view open.  Select "
                    "a view you'd like to\nchange and use \"View->View Models->Preview Faceting\"\n(or the "
                    "equivalent toolbar button).\n";
        text += "\nShift + Left-click --- Select vertices of facet\n\".\"/\"...\" --- Auto-complete facet\n"
                "Backspace --- Remove last vertex of facet\nShift + Right-click --- Accept facet\n"
                "Enter/Tick --- Accept facet\nDelete/Cross --- Discard facet\n"
                "Ctrl + Right-click --- Select existing face to use as facet\n"
                "Ctrl + Shift + F --- Create faceted polyhedron";
        break;
    case kMouseModeColorFaces:
    {
        const char* upper = model4D ? "CELL" : "FACE";
        const std::string lower = model4D ? "cell" : "face";
        // Appended piece by piece: g++ 12 reports a false out-of-bounds copy for a long chain of operator+.
        text = "COLOR/HIDE ";
        text += upper;
        text += "S MODE\n\nShift + Left-click --- Color/hide all ";
        text += lower;
        text += "s of selected type same as previous\nCtrl + Left-click --- Color/hide selected ";
        text += lower;
        text += " only same as previous\nShift + Right-click --- Select a ";
        text += lower;
        text += " (without changing color)\nCtrl + Right-click --- Select a ";
        text += lower;
        text += " (without changing color)";
        break;
    }
    case kMouseModeImage:
        text = std::string("IMAGE MODE (See also \"Image\" menu)\n\nShift + Left-drag --- Move image\n"
                           "Shift + Right-drag --- Scale image\nShift + Left+Right-drag --- Rotate image\n"
                           "Ctrl + Left-click --- Select face\nCtrl + Right-drag --- Stretch image\n"
                           "(Use \"Color/Hide Faces\" mode to copy images between faces)");
        break;
    case kMouseModeSectionTumble:
        text = std::string("SLICE TUMBLE MODE\n\nShift + Left-drag --- Rotate slicing plane\n"
                           "Shift + Right-drag --- Rotate slicing plane in 4D\n"
                           "Shift + Left+Right-drag --- Twist slicing plane in 4D (only in Base/Dual view)\n"
                           "Ctrl + Left-drag --- Change slicing depth\nCtrl + Right-click --- Slice half-way");
        break;
    case kMouseMode4DTumble:
        text = std::string("4D TUMBLE MODE\n\nShift + Left-drag --- Rotate in 4D\nShift + Right-drag --- Tunnel in 4D\n"
                           "Ctrl + Left-drag --- Rotate through cell in 4D\n"
                           "Ctrl + Right-drag --- Rotate through vertex in 4D\nSpace + Right-drag --- FOV in 4D");
        break;
    default:
        return text;
    }
    // Appended, not concatenated into a temporary: g++ 12 reports a false out-of-bounds copy for the latter.
    text += kEscLine;
    return text;
}
}  // namespace

// ---- Modes ----

void CPolyView::SetMouseMode(int mode)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    const int old = options.mMouseMode;
    if (mode != old)
    {
        if (old == kMouseMode4DTumble)
            Stop4DRotationThrows();
        if (old == kMouseModeSectionTumble)
            StopSliceThrows();
        options.mMouseMode = mode;
        // Modes beyond identification draw marks of their own in the panes.
        if (old > kMouseModeIdentify || mode > kMouseModeIdentify)
            NewView::InvalidateAll(false, true);
        if (old == kMouseModeMeasure || old == kMouseModeFaceting || mode == kMouseModeMeasure ||
            mode == kMouseModeFaceting)
            UpdateAllViewButtons();
    }
    ModeHelpText(true);
    NewView::UpdateMouseHints();
}

std::string CPolyView::ModeHelpText(bool show)
{
    const std::string text = ModeText(::GetMouseMode());
    if (show)
    {
        NewView* active = NewView::GetActiveView();
        if (text.empty())
            NewView::ClearMessage(active);
        else
            NewView::SetMessage(active, "%s", text.c_str());
    }
    return text;
}

// ---- The throws of a change of view type ----

void CPolyView::StopThrowsOnTypeChange(int oldType, int newType)
{
    if (oldType == newType)
        return;
    // Another pane of the kind still needs the motion.
    auto otherViewIs = [this](auto needs) {
        for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        {
            auto* view = dynamic_cast<CPolyView*>(v);
            if (view && view != this && needs(*view))
                return true;
        }
        return false;
    };
    auto hasType = [](int type) { return [type](const CPolyView& view) { return view.GetViewType() == type; }; };
    auto inFamily = [](int family) {
        return [family](const CPolyView& view) { return ViewTypeHasAll(view.GetViewType(), family); };
    };
    SceneThrows& shared = GetSceneThrows();
    if (oldType == kViewTypeNet3D && !otherViewIs(hasType(kViewTypeNet3D)))
        shared.fold.Stop();
    if (oldType == kViewTypeNet2D && !otherViewIs(hasType(kViewTypeNet2D)))
        shared.netShrink4D.Stop();
    if (NeedsSectionThrow(this, oldType) && !NeedsSectionThrow(this, newType) &&
        !otherViewIs([](const CPolyView& view) { return NeedsSectionThrow(&view, view.GetViewType()); }))
    {
        shared.sliceDepth.Stop();
        StopSliceThrows();
    }
    const bool oldMorph = ViewTypeHasAll(oldType, kViewFamilyMorph);
    if (oldMorph && !ViewTypeHasAll(newType, kViewFamilyMorph) && !otherViewIs(inFamily(kViewFamilyMorph)))
        shared.morph.Stop();
    const bool model3DChanges = ViewTypeHasAll(oldType, kViewFamily3D) != ViewTypeHasAll(newType, kViewFamily3D);
    if (HasPolytope() && model3DChanges && !otherViewIs(inFamily(kViewFamily3D)))
    {
        shared.shrink4D.Stop();
        mRotate4DThrow.Stop();
        mTunnel4DThrow.Stop();
        mRotateThrough4DThrow.Stop();
    }
    if (model3DChanges || ViewTypeHasAll(newType, kViewFamilyNet))
        mExplodeThrow.Stop();
}

// ---- Action codes, cursors and hints ----

int CPolyView::GetMouseAction() const
{
    return GetMouseActionFor(GetPressedButtons());
}

int CPolyView::GetMouseActionFor(int buttons) const
{
    MouseActionInput in;
    in.buttons = buttons;
    in.keys = GetModifierState();
    in.mode = ::GetMouseMode();
    in.viewType = mViewType;
    in.depth = Is3D();
    // With the mode: in slice tumbling every model pane takes the depth, in measuring none but the
    // Cross-Section, as that mode's help promises.
    in.sectionTarget = IsSectionTarget(this, false);
    if (const Poly* poly = GetCurrentPoly())
    {
        in.model4D = poly->mPolytope != nullptr;
        const FaceVert* selected = poly->mSelectedFace;
        in.diagramSelection = selected && poly->GetSelectedFaceDisplay(0) == 1 && selected->IsVert() == ShowsDual();
        const Augmenter& augmenter = poly->mAugmenter;
        in.augmentPreview = augmenter.mAddedModel && augmenter.mPreviewView == static_cast<const NewView*>(this);
        in.augmentSource = int(augmenter.mFlags & 0xF);
        if (in.mode == kMouseModeImage && selected && selected->mImage.Get())
            in.imageProjection = selected->mImage.Get()->mProjection;
    }
    return ComputeMouseAction(in);
}

const wxCursor* CPolyView::GetModeCursor()
{
    if (const wxCursor* cursor = ActionCursor(GetMouseAction()))
        return cursor;
    return OpenGLView::GetModeCursor();
}

void CPolyView::GetMouseHints(std::string& left, std::string& right, std::string& both)
{
    OpenGLView::GetMouseHints(left, right, both);
    MouseHintContext context;
    if (Poly* poly = GetCurrentPoly())
    {
        context.model4D = poly->mPolytope != nullptr;
        const FaceVert* pattern = poly->GetSelectedFace();
        context.patternHidden = pattern && (pattern->mFlags & FaceVert::kHidden);
    }
    context.cellView = ViewTypeHasAll(mViewType, kViewFamilyStellation) || mViewType == kViewTypeCellDiagram;
    const struct
    {
        int buttons;
        std::string* hint;
    } kButtons[] = {{kLeftButton, &left}, {kRightButton, &right}, {kLeftButton | kRightButton, &both}};
    for (const auto& b : kButtons)
    {
        const int code = GetMouseActionFor(b.buttons);
        if (code != 0)
            *b.hint = MouseActionHint(code, context);
    }
}

// ---- Press, drag and release ----

void CPolyView::OnMouseButtonDown(int button, int flags, int x, int y)
{
    NewView::OnMouseButtonDown(button, flags, x, y);
    // Keys (the space bar, Esc) reach the pane that was clicked.
    if (wxWindow* child = GetClientChild())
        child->SetFocus();
    if (!OnMouseDown(x, y))
        BeginMouseAction(flags, x, y);
}

void CPolyView::OnMouseDoubleClick(int button, int flags, int x, int y)
{
    NewView::OnMouseDoubleClick(button, flags, x, y);
    // A double click acts as a Shift-click.
    OnMouseButtonDown(button, (flags & kCtrl) ? flags : flags | kShift, x, y);
}

void CPolyView::OnMouseButtonUp(int button, int flags, int x, int y)
{
    // The release acts with the keys held now and the buttons of the drag.
    UpdateModifierState(flags, false);
    EndMouseDrag();
    OpenGLView::OnMouseButtonUp(button, flags, x, y);
}

void CPolyView::OnMouseMove(int flags, int x, int y)
{
    UpdateModifierState(flags, false);
    const wxPoint last = GetLastMousePoint();
    const float dx = float(x - last.x);
    const float dy = float(y - last.y);
    if (dx == 0.0f && dy == 0.0f)
    {
        NewView::OnMouseMove(flags, x, y);
        return;
    }
    const int code = GetMouseAction();
    if (code == 0)
    {
        OpenGLView::OnMouseMove(flags, x, y);
        return;
    }
    if (GetPressedButtons())
        DragAction(code, x, y, dx, dy);
    NewView::OnMouseMove(flags, x, y);
}

bool CPolyView::OnMouseDown(int x, int y)
{
    const int code = GetMouseAction();
    if (code == 0)
        return false;
    if (PickingPress(code, x, y))
        return true;
    SceneThrows& shared = GetSceneThrows();
    SceneParameters& scene = GetSceneParameters();
    const bool model4D = HasPolytope();
    const bool modelView = ViewTypeHasAll(mViewType, kViewFamily3D);
    const bool netView = ViewTypeHasAll(mViewType, kViewFamilyNet);
    switch (code)
    {
    case 15:
        if (model4D && modelView)
            shared.shrink4D.AddSample(x, y);
        else if (model4D && netView)
            shared.netShrink4D.AddSample(x, y);
        else
            mExplodeThrow.AddSample(x, y);
        break;
    case 16:
        if (model4D && modelView)
        {
            shared.shrink4D.Stop();
            scene.shrink4D = Toggled(scene.shrink4D, 1.0, gRememberedShrink4D);
            InvalidateViewsOfType(kViewFamily3D, false);
        }
        else if (model4D && netView)
        {
            shared.netShrink4D.Stop();
            SetNetShrink4D(Toggled(scene.netShrink4D, 1.0, gRememberedNetShrink4D), true);
        }
        else
        {
            mExplodeThrow.Stop();
            mExplosion = Toggled(mExplosion, 1.0, mRememberedExplosion);
            NewView::Invalidate(this, false);
        }
        break;
    case 20:
        shared.morph.AddSample(x, y);
        break;
    case 21:
        shared.morph.Stop();
        SetMorphRatio(Toggled(scene.morphRatio, kHalfWay, gRememberedMorph), true);
        break;
    case 23:
        shared.fold.AddSample(x, y);
        break;
    case 24:
        shared.fold.Stop();
        scene.foldRatio = Toggled(scene.foldRatio, kHalfWay, gRememberedFold);
        InvalidateViewsOfType(kViewTypeNet3D, false);
        break;
    case 48:
        shared.sliceDepth.AddSample(x, y);
        break;
    case 49:
        shared.sliceDepth.Stop();
        scene.sliceRatio = Toggled(scene.sliceRatio, kHalfWay, gRememberedSlice);
        InvalidateModelCrossSection();
        GetShell().InvalidateCrossSectionViews(0);
        break;
    case 51:
        StopSliceThrows();
        mSliceRotateThrow.AddSample(x, y);
        break;
    case 52:
        StopSliceThrows();
        mSliceRotate4DThrow.SetAxisMode(modelView);
        mSliceRotate4DThrow.AddSample(x, y);
        break;
    case 53:
        StopSliceThrows();
        mSliceTwist4DThrow.AddSample(x, y);
        break;
    case 59:
        mRotate4DThrow.AddSample(x, y);
        mTunnel4DThrow.Stop();
        mRotateThrough4DThrow.Stop();
        break;
    case 60:
        mTunnel4DThrow.AddSample(x, y);
        mRotate4DThrow.Stop();
        mRotateThrough4DThrow.Stop();
        break;
    case 62:
    case 63:
        StartTurnThrough4D(code, x, y);
        break;
    default:
        break;
    }
    return true;
}

void CPolyView::DragAction(int code, int x, int y, float dx, float dy)
{
    SceneThrows& shared = GetSceneThrows();
    SceneParameters& scene = GetSceneParameters();
    const bool model4D = HasPolytope();
    const bool modelView = ViewTypeHasAll(mViewType, kViewFamily3D);
    const bool netView = ViewTypeHasAll(mViewType, kViewFamilyNet);
    switch (code)
    {
    case 13:
        // The idle step paints again where the mouse is now.
        NewView::Invalidate(this, false);
        break;
    case 18:
        SizeInfiniteFaces(dx, dy);
        break;
    case 15:
        if (model4D && (modelView || netView))
        {
            MouseThrow& shrink = modelView ? static_cast<MouseThrow&>(shared.shrink4D) : shared.netShrink4D;
            shrink.AddSample(x, y);
            shrink.ApplyMouseDelta(dx, dy);
            shrink.InvalidateTargets();
        }
        else
        {
            // The drag itself is not held in the range of the last throw.
            mExplodeThrow.AddSample(x, y);
            const double before = mExplosion;
            mExplosion += (double(dx) - dy) * kExplodeRate;
            if (mExplosion != before)
                NewView::Invalidate(this, false);
        }
        break;
    case 20:
    {
        shared.morph.AddSample(x, y);
        const double before = scene.morphRatio;
        shared.morph.ApplyMouseDelta(dx, dy);
        if (scene.morphRatio != before)
            InvalidateViewsOfType(kViewFamilyMorph, false);
        break;
    }
    case 23:
    {
        shared.fold.AddSample(x, y);
        const double before = scene.foldRatio;
        shared.fold.ApplyMouseDelta(dx, dy);
        if (scene.foldRatio != before)
            InvalidateViewsOfType(kViewTypeNet3D, false);
        break;
    }
    case 48:
        shared.sliceDepth.AddSample(x, y);
        shared.sliceDepth.ApplyMouseDelta(dx, dy);
        InvalidateModelCrossSection();
        GetShell().InvalidateCrossSectionViews(0);
        break;
    case 51:
        mSliceRotateThrow.AddSample(x, y);
        mSliceRotateThrow.ApplyMouseDelta(dx, dy);
        mSliceRotateThrow.InvalidateTargets();
        break;
    case 52:
        // Outside 3D model views the throw takes the raw movement (no axis mode).
        mSliceRotate4DThrow.AddSample(x, y);
        mSliceRotate4DThrow.ApplyMouseDelta(dx, dy);
        mSliceRotate4DThrow.InvalidateTargets();
        break;
    case 53:
        mSliceTwist4DThrow.AddSample(x, y);
        mSliceTwist4DThrow.ApplyMouseDelta(dx, dy);
        mSliceTwist4DThrow.InvalidateTargets();
        break;
    case 59:
        mRotate4DThrow.AddSample(x, y);
        mRotate4DThrow.ApplyMouseDelta(dx, dy);
        NewView::Invalidate(this, false);
        break;
    case 60:
        mTunnel4DThrow.AddSample(x, y);
        mTunnel4DThrow.ApplyMouseDelta(dx, dy);
        NewView::Invalidate(this, false);
        break;
    case 62:
    case 63:
        mRotateThrough4DThrow.AddSample(x, y);
        mRotateThrough4DThrow.ApplyMouseDelta(dx, dy);
        NewView::Invalidate(this, false);
        break;
    case 57:
        DragFieldOfView4D(dx, dy);
        break;
    default:
        break;
    }
}

void CPolyView::EndMouseDrag()
{
    SceneThrows& shared = GetSceneThrows();
    const bool model4D = HasPolytope();
    switch (GetMouseAction())
    {
    case 15:
        if (model4D && ViewTypeHasAll(mViewType, kViewFamily3D))
            shared.shrink4D.Release();
        else if (model4D && ViewTypeHasAll(mViewType, kViewFamilyNet))
            shared.netShrink4D.Release();
        else
        {
            mExplodeThrow.SetRange(mExplosion);
            mExplodeThrow.Release();
        }
        break;
    case 20:
        shared.morph.Release();
        break;
    case 23:
        shared.fold.Release();
        break;
    case 48:
        shared.sliceDepth.Release();
        break;
    case 51:
        mSliceRotateThrow.Release();
        break;
    case 52:
        mSliceRotate4DThrow.Release();
        break;
    case 53:
        mSliceTwist4DThrow.Release();
        break;
    case 59:
        mRotate4DThrow.Release();
        break;
    case 60:
        mTunnel4DThrow.Release();
        break;
    case 62:
    case 63:
        mRotateThrough4DThrow.Release();
        break;
    default:
        break;
    }
}
