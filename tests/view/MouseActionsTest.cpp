#include "kernel/FaceImage.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "render/NewView.h"
#include "view/MouseActions.h"

#include <gtest/gtest.h>

namespace
{
constexpr int L = NewView::kLeftButton;
constexpr int M = NewView::kMiddleButton;
constexpr int R = NewView::kRightButton;
constexpr int kShift = NewView::kShift;
constexpr int kCtrl = NewView::kCtrl;
constexpr int kSpace = NewView::kSpaceBar;

// A pane of the type, drawn in 3D when the type is a model view, of a 3D model, in mode 0.
MouseActionInput Pane(int type, int buttons, int keys, int mode = kMouseModeSelect)
{
    MouseActionInput in;
    in.buttons = buttons;
    in.keys = keys;
    in.mode = mode;
    in.viewType = type;
    in.depth = ViewTypeHasAll(type, kViewFamily3D);
    return in;
}

MouseActionInput With4D(MouseActionInput in)
{
    in.model4D = true;
    in.depth = in.depth || ViewTypeHasAll(in.viewType, kViewFamily4D);
    return in;
}

MouseActionInput Flat(MouseActionInput in)
{
    in.depth = false;
    return in;
}

MouseActionInput SectionTarget(MouseActionInput in)
{
    in.sectionTarget = true;
    return in;
}

MouseActionInput DiagramSelected(MouseActionInput in)
{
    in.diagramSelection = true;
    return in;
}

MouseActionInput PicksItems(MouseActionInput in)
{
    in.picksItems = true;
    return in;
}

MouseActionInput Image(MouseActionInput in, int projection)
{
    in.imageProjection = projection;
    return in;
}

MouseActionInput Augmenting(MouseActionInput in, int source)
{
    in.augmentPreview = true;
    in.augmentSource = source;
    return in;
}
}  // namespace

TEST(MouseActions, CodesFollowButtonsKeysModeViewAndModel)
{
    struct Case
    {
        const char* name;
        MouseActionInput in;
        int code;
    };
    const int poly = kViewTypePoly;
    const int morph = kViewTypeMorphSizing;
    const int fold = kViewTypeNet3D;
    const int net = kViewTypeNet2D;
    const int slice = kViewTypeSlice;
    const Case kCases[] = {
        // Navigation and selection in mode 0.
        {"no button, no key", Pane(poly, 0, 0), 0},
        {"left drag", Pane(poly, L, 0), 0},
        {"Shift+left drag selects", Pane(poly, L, kShift), 26},
        {"Shift+left in the faceting preview picks a facet", Pane(kViewTypeFacetPreview, L, kShift), 32},
        {"Shift alone hovering", Pane(poly, 0, kShift), 25},
        {"Shift hovering the faceting diagram", Pane(kViewTypeFacetDiagram, 0, kShift), 31},
        {"middle button alone is left and right: navigation", Pane(poly, M, 0), 0},
        {"Shift+middle in mode 0: left and right together", Pane(poly, M, kShift), 0},
        {"middle alone in image mode", Pane(poly, M, 0, kMouseModeImage), 0},
        {"middle alone in slice tumble mode", Pane(poly, M, 0, kMouseModeSectionTumble), 0},
        {"Shift+middle in image mode rotates the image", Pane(poly, M, kShift, kMouseModeImage), 36},
        {"Shift+middle in slice tumble mode, 3D view, twists", Pane(poly, M, kShift, kMouseModeSectionTumble), 53},
        {"Shift+middle in slice tumble mode, flat view", Pane(slice, M, kShift, kMouseModeSectionTumble), 52},

        // Morphs, nets, sections: the parameter drags.
        {"Ctrl+left in a morph pane morphs", Pane(morph, L, kCtrl), 20},
        {"Ctrl hovering a morph pane", Pane(morph, 0, kCtrl), 19},
        {"Ctrl+right in a morph pane: half-way", Pane(morph, R, kCtrl), 21},
        {"Ctrl+left in a Folding Net folds", Pane(fold, L, kCtrl), 23},
        {"Ctrl hovering a Folding Net", Pane(fold, 0, kCtrl), 22},
        {"Ctrl+right in a Folding Net: half-way", Pane(fold, R, kCtrl), 24},
        {"Ctrl+left on a section target changes the depth", SectionTarget(Pane(slice, L, kCtrl)), 48},
        {"Ctrl hovering a section target", SectionTarget(Pane(slice, 0, kCtrl)), 47},
        {"Ctrl+right on a section target: half-way", SectionTarget(Pane(slice, R, kCtrl)), 49},
        {"Ctrl+left in a plain base pane", Pane(poly, L, kCtrl), 29},
        {"Ctrl+right in a plain base pane", Pane(poly, R, kCtrl), 30},
        {"Ctrl+right where the pane picks items", PicksItems(Pane(poly, R, kCtrl)), 55},
        {"Ctrl hovering a plain base pane", Pane(poly, 0, kCtrl), 28},

        // Explosion.
        {"Shift+Ctrl+left explodes in 3D", Pane(poly, L, kShift | kCtrl), 15},
        {"Shift+Ctrl hovering in 3D", Pane(poly, 0, kShift | kCtrl), 14},
        {"Shift+Ctrl+right unexplodes", Pane(poly, R, kShift | kCtrl), 16},
        {"Shift+Ctrl+left in a Folding Net is not possible", Pane(fold, L, kShift | kCtrl), 1},
        {"Shift+Ctrl+left in a flat pane is not possible", Pane(kViewTypeFace, L, kShift | kCtrl), 1},
        {"Shift+Ctrl+left in a 4D net shrinks", Flat(With4D(Pane(net, L, kShift | kCtrl))), 15},
        {"Shift+Ctrl+right in a 4D net", Flat(With4D(Pane(net, R, kShift | kCtrl))), 16},

        // 4D models.
        {"Ctrl+left in a 4D model's 3D view selects a 4D face", With4D(Pane(poly, L, kCtrl)), 64},
        {"Ctrl+left in a 4D model's cell view", With4D(Pane(kViewTypeFace, L, kCtrl)), 64},
        {"Ctrl+left in a 4D vertex figure", With4D(Pane(kViewTypeVertexFigure, L, kCtrl)), 29},
        {"Ctrl+right in a 4D cell view", With4D(Pane(kViewTypeFace, R, kCtrl)), 66},
        {"Ctrl+right in a 4D net", With4D(Pane(net, R, kCtrl)), 67},
        {"Ctrl+right in a 4D vertex figure", With4D(Pane(kViewTypeVertexFigure, R, kCtrl)), 3},
        {"Ctrl+right in a 4D model's 3D view", With4D(Pane(poly, R, kCtrl)), 65},
        {"Ctrl+right in a 4D model in colour mode", With4D(Pane(poly, R, kCtrl, kMouseModeColorFaces)), 30},

        // Mode 8: 4D tumbling in 3D views only.
        {"mode 8, Shift hovering", Pane(poly, 0, kShift, kMouseMode4DTumble), 58},
        {"mode 8, Shift+left rotates", Pane(poly, L, kShift, kMouseMode4DTumble), 59},
        {"mode 8, Shift+right tunnels", Pane(poly, R, kShift, kMouseMode4DTumble), 60},
        {"mode 8, Shift+left+right", Pane(poly, L | R, kShift, kMouseMode4DTumble), 0},
        {"mode 8, Ctrl+left rotates through a cell", Pane(poly, L, kCtrl, kMouseMode4DTumble), 62},
        {"mode 8, Ctrl+right through a vertex", Pane(poly, R, kCtrl, kMouseMode4DTumble), 63},
        {"mode 8, Ctrl hovering", Pane(poly, 0, kCtrl, kMouseMode4DTumble), 61},
        {"mode 8, Space+right: 4D field of view", Pane(poly, R, kSpace, kMouseMode4DTumble), 57},
        {"mode 8, Space+right outside 3D views falls through", Pane(slice, R, kSpace, kMouseMode4DTumble), 0},
        {"mode 8, Shift+left outside 3D views selects", Pane(kViewTypeFace, L, kShift, kMouseMode4DTumble), 26},

        // Mode 7: slice tumbling.
        {"mode 7, Shift hovering", Pane(poly, 0, kShift, kMouseModeSectionTumble), 50},
        {"mode 7, Shift+left rotates the slice", Pane(poly, L, kShift, kMouseModeSectionTumble), 51},
        {"mode 7, Shift+right rotates it in 4D", Pane(poly, R, kShift, kMouseModeSectionTumble), 52},
        {"mode 7, Ctrl+left in a base pane changes the depth", SectionTarget(Pane(poly, L, kCtrl, kMouseModeSectionTumble)), 48},

        // The other modes with Shift.
        {"identification", Pane(poly, L, kShift, kMouseModeIdentify), 4},
        {"cutting, left", Pane(net, L, kShift, kMouseModeCutEdges), 5},
        {"cutting, right", Pane(net, R, kShift, kMouseModeCutEdges), 6},
        {"measuring, left", Pane(poly, L, kShift, kMouseModeMeasure), 7},
        {"measuring, right", Pane(poly, R, kShift, kMouseModeMeasure), 8},
        {"measuring, Ctrl+left", Pane(poly, L, kCtrl, kMouseModeMeasure), 9},
        {"measuring, Ctrl+right", Pane(poly, R, kCtrl, kMouseModeMeasure), 10},
        {"measuring, Ctrl hovering", Pane(poly, 0, kCtrl, kMouseModeMeasure), 7},
        {"measuring where nothing is measured", Pane(slice, L, kShift, kMouseModeMeasure), 26},
        {"faceting, left", Pane(poly, L, kShift, kMouseModeFaceting), 11},
        {"faceting, right", Pane(poly, R, kShift, kMouseModeFaceting), 12},
        {"faceting, Ctrl+right takes a face", Pane(poly, R, kCtrl, kMouseModeFaceting), 33},
        {"colouring, Shift+left", Pane(poly, L, kShift, kMouseModeColorFaces), 13},
        {"colouring, Ctrl+left", Pane(poly, L, kCtrl, kMouseModeColorFaces), 13},
        {"colouring, Shift+right selects", Pane(poly, R, kShift, kMouseModeColorFaces), 27},
        {"image, Shift hovering", Pane(poly, 0, kShift, kMouseModeImage), 34},
        {"image, Shift+left moves", Pane(poly, L, kShift, kMouseModeImage), 35},
        {"image, Shift+right scales", Image(Pane(poly, R, kShift, kMouseModeImage), FaceImage::kProjectPlanar), 37},
        {"image, Shift+right stretches a spherical one", Image(Pane(poly, R, kShift, kMouseModeImage), FaceImage::kProjectSpherical), 38},
        {"image, Ctrl+right stretches", Image(Pane(poly, R, kCtrl, kMouseModeImage), FaceImage::kProjectPlanar), 38},
        {"image, Ctrl+right scales a cylindrical one", Image(Pane(poly, R, kCtrl, kMouseModeImage), FaceImage::kProjectCylindrical), 37},
        {"image, Shift+Ctrl hovering", Pane(poly, 0, kShift | kCtrl, kMouseModeImage), 39},
        {"image, Shift+Ctrl+left swaps", Pane(poly, L, kShift | kCtrl, kMouseModeImage), 40},

        // Vertices, edges and cells with Shift+right.
        {"Shift+right in a base pane selects a vertex", Pane(poly, R, kShift), 3},
        {"Shift+right with the diagram of a selection", DiagramSelected(Pane(poly, R, kShift)), 27},
        {"Shift+right in a stellation pane", Pane(kViewTypeUniStellation, R, kShift), 27},
        {"Shift+right in a 3D vertex figure", With4D(Pane(kViewTypeVertexFigure, R, kShift)), 55},
        {"Shift+right in a flat net", Pane(net, R, kShift), 55},
        {"Shift+right in a 4D net", Flat(With4D(Pane(net, R, kShift))), 27},
        {"Ctrl+right in a flat net selects an edge", Pane(net, R, kCtrl), 55},
        {"Ctrl+left in a flat net", Pane(net, L, kCtrl), 56},

        // The infinite faces of the dual.
        {"Ctrl hovering the dual", Pane(kViewTypeDual, 0, kCtrl), 17},
        {"Ctrl+left in the dual", Pane(kViewTypeDual, L, kCtrl), 18},
        {"Ctrl+left in the vertex figure", Pane(kViewTypeVertexFigure, L, kCtrl), 18},
        {"Ctrl+left in the dual showing a diagram", DiagramSelected(Pane(kViewTypeDual, L, kCtrl)), 29},
        {"Ctrl+left in the dual in faceting mode", Pane(kViewTypeDual, L, kCtrl, kMouseModeFaceting), 29},

        // The pane previewing an augmentation.
        {"augmenting a pyramid, Ctrl hovering", Augmenting(Pane(poly, 0, kCtrl), 1), 41},
        {"augmenting a pyramid, Ctrl+left: height", Augmenting(Pane(poly, L, kCtrl), 1), 42},
        {"augmenting a pyramid, Ctrl+right: no top to scale", Augmenting(Pane(poly, R, kCtrl), 1), 30},
        {"augmenting a prism, Ctrl+right scales its top", Augmenting(Pane(poly, R, kCtrl), 4), 43},
        {"augmenting, Shift+Ctrl+left explodes it", Augmenting(Pane(poly, L, kShift | kCtrl), 0), 45},
        {"augmenting, Shift+Ctrl hovering", Augmenting(Pane(poly, 0, kShift | kCtrl), 0), 44},
        {"augmenting, Shift+Ctrl+right unexplodes it", Augmenting(Pane(poly, R, kShift | kCtrl), 0), 46},
        {"augmenting another solid, Ctrl+left", Augmenting(Pane(poly, L, kCtrl), 0), 29},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeMouseAction(c.in), c.code);
    }
}

TEST(MouseActions, MeasuringNeedsAPaneThatShowsMeasurements)
{
    struct Case
    {
        int mode;
        int type;
        bool depth;
        bool measure;
    };
    const Case kCases[] = {
        {kMouseModeMeasure, kViewTypePoly, true, true},
        {kMouseModeMeasure, kViewTypeFace, false, true},
        {kMouseModeMeasure, kViewTypeNet2D, true, true},
        {kMouseModeMeasure, kViewTypeNet2D, false, false},
        {kMouseModeMeasure, kViewTypeNet3D, true, false},
        {kMouseModeMeasure, kViewTypeSlice, false, false},
        {kMouseModeMeasure, kViewTypeVertexFigure, true, false},
        {kMouseModeMeasure, kViewTypeCellDiagram, false, false},
        {kMouseModeMeasure, kViewTypeMorphViaSnub, true, false},
        {kMouseModeSelect, kViewTypePoly, true, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(GetViewTypeName(c.type, false));
        EXPECT_EQ(IsMeasureViewType(c.mode, c.type, c.depth), c.measure);
    }
}

TEST(MouseActions, HintsNameOnlyTheActionsThatAct)
{
    EXPECT_EQ(MouseActionHint(20), "Morph between duals");
    EXPECT_EQ(MouseActionHint(21), "Morph half-way");
    EXPECT_EQ(MouseActionHint(23), "Fold nets");
    EXPECT_EQ(MouseActionHint(15), "Explode");
    EXPECT_EQ(MouseActionHint(51), "Rotate Slicing Plane");
    for (int code = 0; code <= 67; ++code)
    {
        SCOPED_TRACE(code);
        const bool named = MouseActionHint(code) != "-";
        EXPECT_TRUE(!named || IsMouseActionBuilt(code)) << "a hint for an action that does nothing";
    }
}
