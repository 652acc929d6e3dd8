#include "library/SceneTokens.h"

#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"

namespace
{
const char* const kTokenNames[kNumSceneTokens] = {
    "EndScene", "VertexDescription", "Stellation", "DualStellation", "UsedCellRanges", "EnumCellRanges", "Criteria",
    "CriteriaAllFaceTypes", "CriteriaFullSupNeedsCore", "CriteriaReflexible", "MaxCellSoFar", "NumStellations",
    "NumChirals", "MaxNumCells", "TimeTaken", "Scale", "FaceTypeColors", "BackFaceTypeColors", "MaxFacesPerNet",
    "CoincEdgeMethod", "MultiColorPages", "NetSpacing", "PrintDashedLines", "NumExtraNets", "PrintGivenNumNets",
    "NumNetsToPrint", "PrintShading", "PrintShadeMax", "LayoutSection", "ViewType", "CameraPos", "XAxis", "YAxis",
    "ZAxis", "Scale2D", "Twist2D", "Canvas", "ScrollPos", "Variation", "FaceColors", "BackFaceColors", "Poly",
    "SpringDesc", "VertexFaces", "SubSymmetry", "NumMillerExceptions", "StartSubTime", "EndSubTime", "EndTime",
    "ShowCellLines", "PrintCellLines", "Scene", "Hidden", "FaceColor", "BackFaceColor", "Comments", "Header", "Body",
    "DualName", nullptr, "Zoom2D", "ScrollPosMiddle", "CurrentIsDual", "BaseFace", "DualFace", nullptr, "Image",
    "ApplySeparately", "UseColorToo", "ImageFlip", "ImageOffset", "ImageRotation", "ImageHeight", "ImageStretch",
    "ImageFaces", "OldStyleAxes", "FaceText", "Convex", "RadiallyConvex", "NonSelfIntersecting", "EmptyFaceNormals",
    "SingleColorPages", "TextColor", "ImageWithBorder", "MicroText", "FrontHidden", "SmoothFaces", "Tope",
    "SliceRatio", "SliceMat", "Proj4DType", "Proj4DMat", "SliceSameAsProj", "HideCells", "NetCells", "GluedFaces",
    nullptr, "UN", "UE", "VAD", "FacetingCriteria", "MinFacets", "MaxFacets", "PartialFacetingOK", "SpikyFaceting",
    "Facet", "PartialFacet", "FacetingTotalNum", "FacetingNumChirals", "FacetingNumCompounds", "FacetingTime",
    "Edges", "EdgeColors", "DualEdgeColors", "EdgeText", "NumCells", "NumFaces", "NumEdges", "NumVerts",
    "NumGenCells", "NumGenFaces", "NumGenEdges", "NumGenVerts", "MouseThrows", "MorphRatio", "FoldRatio",
    "ExplosionScale", "Shrink4D", "NetShrink4D", "HiddenEdges", "KeepImageUpright", "DontReorderUniFaces",
    "ImageAxes", "FovY", "Alpha", "BaseModel3D", "DualModel3D", "EdgeCut", "EdgeTabNone", "EdgeTabSingleWith",
    "EdgeTabSingleWithout", "EdgeTabDouble", "Link",
};
}  // namespace

const char* GetSceneTokenName(int token)
{
    return token >= 0 && token < kNumSceneTokens ? kTokenNames[token] : nullptr;
}

const char* SceneStreamTokenName(int token)
{
    if (token < 0 || token >= kNumSceneTokens)
        return nullptr;
    return kTokenNames[token] ? kTokenNames[token] : "";
}

const ioEnumEntry kStellationCriterionNames[] = {{0, "Mainline"}, {1, "Primary"}, {2, "SinglePeak"}, {3, "FullySupported"},
                                                {4, "Miller"},   {5, "MillerSlow"}, {0, nullptr}};

const ioEnumEntry kFacetingCriterionNames[] = {
    {0, "Isohedral"}, {1, "DualTidy"}, {2, "Tidy"}, {3, "CoplanarVerts"}, {0, nullptr}};

const ioEnumEntry kCoincEdgeMethodNames[] = {{kCoincTongueInGroove, "TongueInGroove"},
                                            {kCoincInternalSupport, "InternalSupport"},
                                            {kCoincNoInternalSupport, "NoInternalSupport"},
                                            {kCoincUnconnected, "Unconnected"},
                                            {0, nullptr}};

const ioEnumEntry kPrintShadingNames[] = {{kPrintShadingNone, "None"},
                                         {kPrintShadingGreyscale, "Greyscale"},
                                         {kPrintShadingColor, "Color"},
                                         {kPrintShadingAuto, "Auto"},
                                         {0, nullptr}};

const ioEnumEntry kProjection4DNames[] = {{0, "Persp"}, {1, "Ortho"}, {2, "SameAs3D"}, {0, nullptr}};

const ioEnumEntry kHideCellsNames[] = {
    {0, "ShowAllCells"}, {1, "HideBackCells"}, {2, "HideFrontCells"}, {0, nullptr}};

// The OpenGL wrap modes GL_CLAMP, GL_REPEAT and GL_CLAMP_TO_BORDER.
const ioEnumEntry kImageBoundaryNames[] = {{0x2900, "Clamp"}, {0x2901, "Repeat"}, {0x812d, "Border"}, {0, nullptr}};

const ioEnumEntry kImageProjectionNames[] = {
    {1, "Planar"}, {2, "Cylinder"}, {3, "Sphere"}, {0, "Individual"}, {4, "Cubic"}, {0, nullptr}};

const ioEnumEntry kViewTypeNames[] = {{kViewTypePoly, "Poly"},
                                     {kViewTypeDual, "Dual"},
                                     {kViewTypePolyAndDual, "PolyAndDual"},
                                     {kViewTypeMorphSizing, "MorphSizing"},
                                     {kViewTypeMorphTruncating, "MorphTruncating"},
                                     {kViewTypeMorphAugmentation, "MorphAugmentation"},
                                     {kViewTypeMorphAugmentation, "MorphTiltOut"},
                                     {kViewTypeMorphWithRects, "MorphWithRects"},
                                     {kViewTypeMorphTiltQuads, "MorphTiltQuads"},
                                     {kViewTypeMorphTiltQuads, "MorphTiltTri"},
                                     {kViewTypeMorphTiltTris, "MorphTiltTris"},
                                     {kViewTypeUniStellation, "UniStellation"},
                                     {kViewTypeDualStellation, "DualStellation"},
                                     {kViewTypeVertexFigure, "VertexFigure"},
                                     {kViewTypeFace, "Face"},
                                     {kViewTypeStelFace, "StelFace"},
                                     {kViewTypeStelDiagram, "StelDiagram"},
                                     {kViewTypeFacetDiagram, "FacetDiagram"},
                                     {kViewTypeCellDiagram, "CellDiagram"},
                                     {kViewTypeNet2D, "Net2D"},
                                     {kViewTypeNet3D, "Net3D"},
                                     {kViewTypeFacetPreview, "FacetPreview"},
                                     {kViewTypeCompound, "Compound"},
                                     {kViewTypeSlice, "Slice"},
                                     {kViewTypeMorphViaCompound, "MorphViaCompound"},
                                     {kViewTypeMorphViaRectified, "MorphViaRectified"},
                                     {kViewTypeMorphViaSnub, "MorphViaSnub"},
                                     {0, nullptr}};
