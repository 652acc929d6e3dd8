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
    static const int kCodes[] = {kViewTypePoly,
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
    const int index = code & 0xFF;
    if (code < 0 || index >= int(sizeof kCodes / sizeof kCodes[0]) || kCodes[index] != code)
        return nullptr;
    if (code == kViewTypeFace && model4D)
        return "Cell of Base/Dual Polytope";
    return kNames[index];
}
