#include "view/MouseActions.h"

#include "kernel/FaceImage.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "render/NewView.h"

namespace
{
constexpr int kAugmentPyramid = 1;
constexpr int kAugmentCupola = 2;
constexpr int kAugmentPrism = 4;
constexpr int kAugmentAntiprism = 8;

bool IsFacetingView(int type)
{
    return type == kViewTypeFacetPreview || type == kViewTypeFacetDiagram;
}

// A Vertex Figure, or a Dual whose selected face does not show its diagram: the infinite faces of
// the dual can be sized there.
bool SizesInfiniteFaces(const MouseActionInput& in)
{
    return in.mode != kMouseModeFaceting && !in.model4D &&
           (in.viewType == kViewTypeVertexFigure || (in.viewType == kViewTypeDual && !in.diagramSelection));
}

// Modes other than 0 with Shift (and not Ctrl) give each mode its own actions.
int ModeAction(const MouseActionInput& in, bool left, bool right, bool view3D, bool measureView)
{
    const bool none = !left && !right;
    switch (in.mode)
    {
    case kMouseModeIdentify:
        return 4;
    case kMouseModeCutEdges:
        return right ? 6 : 5;
    case kMouseModeMeasure:
        if (measureView)
            return right ? 8 : 7;
        return -1;
    case kMouseModeFaceting:
        return right ? 12 : 11;
    case kMouseModeColorFaces:
        return right ? -1 : 13;
    case kMouseModeImage:
        if (none)
            return 34;
        if (left && !right)
            return 35;
        if (left && right)
            return 36;
        return in.imageProjection == FaceImage::kProjectSpherical ? 38 : 37;
    case kMouseModeSectionTumble:
        if (none)
            return 50;
        if (left && !right)
            return 51;
        if (left && right && view3D)
            return 53;
        return 52;
    case kMouseMode4DTumble:
        if (!view3D)
            return -1;
        if (none)
            return 58;
        if (left && !right)
            return 59;
        if (right && !left)
            return 60;
        return -1;
    default:
        return -1;
    }
}

int NoButtonAction(const MouseActionInput& in, bool shift, bool ctrl, bool view3D, bool measureView)
{
    const int type = in.viewType;
    if (!shift && !ctrl)
        return 0;
    if (shift && !ctrl)
        return IsFacetingView(type) ? 31 : 25;
    if (shift || measureView)
    {
        if (shift)
            return in.depth && type != kViewTypeNet3D ? 14 : 1;
        return 7;
    }
    if (in.mode == kMouseMode4DTumble && view3D)
        return 61;
    if (in.mode == kMouseModeColorFaces)
        return 13;
    if (in.sectionTarget)
        return 47;
    if (IsFacetingView(type))
        return 31;
    if (SizesInfiniteFaces(in))
        return 17;
    if (ViewTypeHasAll(type, kViewFamilyMorph))
        return 19;
    if (type == kViewTypeNet3D)
        return 22;
    return 28;
}

int RightButtonAction(const MouseActionInput& in, bool shift, bool ctrl, bool view3D, bool measureView)
{
    const int type = in.viewType;
    const bool netView = ViewTypeHasAll(type, kViewFamilyNet);
    if (!shift && !ctrl)
        return 0;
    if (ctrl && !shift)
    {
        if (in.mode == kMouseMode4DTumble && view3D)
            return 63;
        if (in.mode == kMouseModeImage)
            return in.imageProjection == FaceImage::kProjectCylindrical ? 37 : 38;
        if (ViewTypeHasAll(type, kViewFamilyMorph))
            return 21;
        if (in.sectionTarget)
            return 49;
        if (measureView)
            return 10;
        if (in.model4D && in.mode != kMouseModeColorFaces)
        {
            if (type == kViewTypeFace)
                return 66;
            if (type == kViewTypeNet2D)
                return 67;
            if (type == kViewTypeVertexFigure)
                return 3;
            if (view3D)
                return 65;
        }
        if (in.mode == kMouseModeFaceting &&
            (type == kViewTypePolyAndDual || type == kViewTypePoly || type == kViewTypeDual ||
             type == kViewTypeUniStellation || type == kViewTypeDualStellation || type == kViewTypeNet3D))
            return 33;
        if (type == kViewTypeNet3D)
            return 24;
        if ((in.picksItems && in.mode != kMouseModeColorFaces) || (type == kViewTypeNet2D && !in.depth))
            return 55;
        return 30;
    }
    if (shift && ctrl)
        return (in.depth && type != kViewTypeNet3D) || (in.model4D && netView) ? 16 : 1;
    // Shift alone.
    if (type == kViewTypeVertexFigure && in.depth && in.mode != kMouseModeColorFaces)
        return 55;
    const bool vertexView = type == kViewTypePolyAndDual || type == kViewTypePoly || type == kViewTypeDual ||
                            type == kViewTypeFacetDiagram ||
                            (in.depth && (type == kViewTypeFace || type == kViewTypeVertexFigure ||
                                          type == kViewTypeSlice || type == kViewTypeNet2D));
    if (vertexView && !in.diagramSelection && in.mode != kMouseModeColorFaces)
        return 3;
    return netView && !in.model4D ? 55 : 27;
}

int LeftButtonAction(const MouseActionInput& in, bool shift, bool ctrl, bool view3D, bool measureView)
{
    const int type = in.viewType;
    if (!shift && !ctrl)
        return 0;
    if (shift && !ctrl)
        return IsFacetingView(type) ? 32 : 26;
    if (shift && ctrl)
        return (in.depth && type != kViewTypeNet3D) || (in.model4D && ViewTypeHasAll(type, kViewFamilyNet)) ? 15 : 1;
    // Ctrl alone.
    if (in.mode == kMouseMode4DTumble && view3D)
        return 62;
    if (in.mode == kMouseModeColorFaces)
        return 13;
    if (in.sectionTarget)
        return 48;
    if (ViewTypeHasAll(type, kViewFamilyMorph))
        return 20;
    if (measureView)
        return 9;
    if (IsFacetingView(type))
        return 32;
    if (SizesInfiniteFaces(in))
        return 18;
    if (type == kViewTypeNet3D)
        return 23;
    if (in.model4D)
        return view3D || type == kViewTypeFace || type == kViewTypeNet2D ? 64 : 29;
    return type == kViewTypeNet2D ? 56 : 29;
}
}  // namespace

bool IsMeasureViewType(int mode, int viewType, bool depth)
{
    if (mode != kMouseModeMeasure)
        return false;
    switch (viewType)
    {
    case kViewTypeVertexFigure:
    case kViewTypeSlice:
    case kViewTypeCellDiagram:
    case kViewTypeNet3D:
        return false;
    case kViewTypeNet2D:
        return depth;
    default:
        return !ViewTypeHasAll(viewType, kViewFamilyMorph);
    }
}

int ComputeMouseAction(const MouseActionInput& in)
{
    int buttons = in.buttons;
    if (buttons & NewView::kMiddleButton)
        buttons |= NewView::kLeftButton | NewView::kRightButton;
    const bool left = (buttons & NewView::kLeftButton) != 0;
    const bool right = (buttons & NewView::kRightButton) != 0;
    const bool shift = (in.keys & NewView::kShift) != 0;
    const bool ctrl = (in.keys & NewView::kCtrl) != 0;
    const bool space = (in.keys & NewView::kSpaceBar) != 0;
    const bool view3D = ViewTypeHasAll(in.viewType, kViewFamily3D);
    const bool measureView = IsMeasureViewType(in.mode, in.viewType, in.depth);

    // The pane that previews an augmentation shapes the solid being added.
    if (in.augmentPreview && ctrl)
    {
        if (shift)
        {
            if (left && !right)
                return 45;
            if (!left && !right)
                return 44;
            if (right && !left)
                return 46;
        }
        else if (in.augmentSource & (kAugmentPyramid | kAugmentCupola | kAugmentPrism | kAugmentAntiprism))
        {
            if (!left && !right)
                return 41;
            if (left && !right)
                return 42;
            if (right && !left && (in.augmentSource & (kAugmentCupola | kAugmentPrism | kAugmentAntiprism)))
                return 43;
        }
    }
    if (in.mode != kMouseModeSelect && shift && !ctrl)
    {
        const int code = ModeAction(in, left, right, view3D, measureView);
        if (code >= 0)
            return code;
    }
    if (space && in.mode == kMouseMode4DTumble && view3D && right && !left)
        return 57;
    if (in.mode == kMouseModeImage && shift && ctrl && !right)
        return left ? 40 : 39;
    if (!left && !right)
        return NoButtonAction(in, shift, ctrl, view3D, measureView);
    if (!left)
        return RightButtonAction(in, shift, ctrl, view3D, measureView);
    if (right)
        return 0;
    return LeftButtonAction(in, shift, ctrl, view3D, measureView);
}

bool IsMouseActionBuilt(int code)
{
    switch (code)
    {
    case 1:
    case 3:
    case 4:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 47:
    case 48:
    case 49:
    case 50:
    case 51:
    case 52:
    case 53:
    case 55:
    case 58:
    case 59:
    case 60:
        return true;
    default:
        return false;
    }
}

std::string MouseActionHint(int code, const MouseHintContext& context)
{
    const std::string element = context.model4D ? "cell" : "face";
    switch (code)
    {
    case 3:
        return context.model4D ? "Select edge (via vertex)" : "Select vertex";
    case 4:
        return context.model4D ? "Identify cell/face/edge/vert" : "Identify face/edge/vert";
    case 13:
        return (context.patternHidden ? "Hide all " : "Color all ") + element + "s of type";
    case 17:
    case 18:
        return "Set infinite face size";
    case 25:
    case 26:
        return context.cellView || context.model4D ? "Select cell" : "Select face";
    case 27:
        return context.cellView ? "Select cell below" : "Face / cell below";
    case 28:
    case 29:
        return context.cellView ? "Select cell with support" : "Face / cell with support";
    case 30:
        return context.cellView ? "Select cell layer" : "Face / cell layer";
    case 55:
        return context.model4D ? "Select edge (via vertex)" : "Select edge";
    case 14:
    case 15:
        return "Explode";
    case 16:
        return "Unexplode";
    case 19:
    case 20:
        return "Morph between duals";
    case 21:
        return "Morph half-way";
    case 22:
    case 23:
        return "Fold nets";
    case 24:
        return "Fold half-way";
    case 47:
    case 48:
        return "Change slicing depth";
    case 49:
        return "Slice half-way";
    case 50:
    case 51:
        return "Rotate Slicing Plane";
    case 52:
        return "Rotate Slicing Plane 4D";
    case 53:
        return "Twist Slice 4D";
    case 58:
    case 59:
        return "4D rotate";
    case 60:
        return "4D tunnel";
    default:
        return "-";
    }
}
