#include "kernel/ViewTypes.h"

bool IsFacetViewType(int code)
{
    switch (code)
    {
    case kViewTypeFacetPreview:
    case kViewTypeFacetDiagram:
    case kViewTypeNet2D:
    case kViewTypeFace:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
        return true;
    default:
        return false;
    }
}

namespace
{
constexpr int kAllViewTypes[] = {kViewTypePoly,
                                 kViewTypeDual,
                                 kViewTypePolyAndDual,
                                 kViewTypeUniStellation,
                                 kViewTypeDualStellation,
                                 kViewTypeFacetPreview,
                                 kViewTypeCompound,
                                 kViewTypeFace,
                                 kViewTypeStelFace,
                                 kViewTypeStelDiagram,
                                 kViewTypeCellDiagram,
                                 kViewTypeVertexFigure,
                                 kViewTypeFacetDiagram,
                                 kViewTypeSlice,
                                 kViewTypeNet2D,
                                 kViewTypeNet3D,
                                 kViewTypeMorphSizing,
                                 kViewTypeMorphTruncating,
                                 kViewTypeMorphAugmentation,
                                 kViewTypeMorphWithRects,
                                 kViewTypeMorphTiltQuads,
                                 kViewTypeMorphTiltTris,
                                 kViewTypeMorphViaCompound,
                                 kViewTypeMorphViaRectified,
                                 kViewTypeMorphViaSnub};
constexpr int kNumViewTypes = int(sizeof kAllViewTypes / sizeof kAllViewTypes[0]);
}  // namespace

const char* GetViewTypeName(int code, bool model4D)
{
    static const char* const kNames[] = {"Base Polyhedron",
                                         "Dual of Base Polyhedron",
                                         "Base/Dual Compound",
                                         "Stellation of Base Polyhedron",
                                         "Stellation of Dual",
                                         "Faceting Preview",
                                         "Compound",
                                         "Face of Base/Dual Polyhedron",
                                         "Face of Stellation",
                                         "Stellation Diagram",
                                         "Cell Diagram",
                                         "Vertex Figure",
                                         "Faceting Diagram",
                                         "Cross-Section",
                                         "Unfolded Net",
                                         "Folding Net",
                                         "Morph Duals by Sizing",
                                         "Morph Duals by Truncation",
                                         "Morph Duals by Augmentation",
                                         "Morph Duals by Expansion",
                                         "Morph Duals by Tilting Quads",
                                         "Morph Duals by Tilting Triangles",
                                         "Morph Duals by Tilting to Compound",
                                         "Morph Duals by Tilting to Rectification",
                                         "Morph Duals via Snub"};
    const int index = code & 0xFF;
    if (code < 0 || index >= kNumViewTypes || kAllViewTypes[index] != code)
        return nullptr;
    if (code == kViewTypeFace && model4D)
        return "Cell of Base/Dual Polytope";
    return kNames[index];
}


int ViewTypeFromIndex(int value)
{
    const int index = value & 0xFF;
    return index < kNumViewTypes ? kAllViewTypes[index] : value;
}

const char* GetViewTitlePrefix(int code, bool model4D)
{
    switch (code)
    {
    case kViewTypePoly:
    case kViewTypeDual:
        return "";
    case kViewTypeUniStellation:
    case kViewTypeDualStellation:
        return "Stellation of ";
    case kViewTypeFacetPreview:
        return "Faceting Preview for ";
    case kViewTypeCompound:
        return "Compound of ";
    case kViewTypeFace:
        return model4D ? "Cell of " : "Face of ";
    case kViewTypeStelFace:
        return "Face of Stellation of ";
    case kViewTypeStelDiagram:
        return "Stellation Diagram for ";
    case kViewTypeCellDiagram:
        return "Cell Diagram for ";
    case kViewTypeVertexFigure:
        return "Vertex Figure for ";
    case kViewTypeFacetDiagram:
        return "Faceting Diagram for ";
    case kViewTypeSlice:
        return "Cross-Section of ";
    case kViewTypeNet2D:
        return "Unfolded Net for ";
    case kViewTypeNet3D:
        return "Folding Net for ";
    default:
        return nullptr;
    }
}
