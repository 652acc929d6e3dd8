#pragma once

// View-type codes of the model panes. The low byte is the type's index (0 to 24); the bits above it
// mark the families that the drawing code and the notifications test. Core code reads them from
// the views through the shell; the model view owns their meaning.
inline constexpr int kViewTypeNone = -1;

// Families.
inline constexpr int kViewFamilyBaseOnly = 0x100;
inline constexpr int kViewFamilyDualOnly = 0x200;
inline constexpr int kViewFamilyFollowsSide = 0x400;  // the side chosen by the document's base/dual switch
inline constexpr int kViewFamily3D = 0x800;
inline constexpr int kViewFamily4D = 0x1000;  // also available, and 3D, for a 4D model
inline constexpr int kViewFamilyStellation = 0x2000;
inline constexpr int kViewFamilyMorph = 0x4000;
inline constexpr int kViewFamilyDiagram = 0x8000;
inline constexpr int kViewFamilyNet = 0x10000;

// The types, in index order.
inline constexpr int kViewTypePoly = 0x1900;
inline constexpr int kViewTypeDual = 0x1A01;
inline constexpr int kViewTypePolyAndDual = 0x1802;
inline constexpr int kViewTypeUniStellation = 0x2903;
inline constexpr int kViewTypeDualStellation = 0x2A04;
inline constexpr int kViewTypeFacetPreview = 0xC05;
inline constexpr int kViewTypeCompound = 0x2C06;
inline constexpr int kViewTypeFace = 0x9407;
inline constexpr int kViewTypeStelFace = 0xA408;
inline constexpr int kViewTypeStelDiagram = 0xA409;
inline constexpr int kViewTypeCellDiagram = 0xA40A;
inline constexpr int kViewTypeVertexFigure = 0x940B;
inline constexpr int kViewTypeFacetDiagram = 0x840C;
inline constexpr int kViewTypeSlice = 0x940D;
inline constexpr int kViewTypeNet2D = 0x1340E;
inline constexpr int kViewTypeNet3D = 0x12C0F;
inline constexpr int kViewTypeMorphSizing = 0x5810;
inline constexpr int kViewTypeMorphTruncating = 0x4811;
inline constexpr int kViewTypeMorphAugmentation = 0x4812;
inline constexpr int kViewTypeMorphWithRects = 0x5813;
inline constexpr int kViewTypeMorphTiltQuads = 0x5814;
inline constexpr int kViewTypeMorphTiltTris = 0x4815;
inline constexpr int kViewTypeMorphViaCompound = 0x4816;
inline constexpr int kViewTypeMorphViaRectified = 0x4817;
inline constexpr int kViewTypeMorphViaSnub = 0x4818;

// The type's name as menus and captions show it ("Base Polyhedron"); with a 4D model loaded the face
// view is named for cells. Null for a code that is no view type.
const char* GetViewTypeName(int code, bool model4D);

// The types that show the user's facets: the faceting views, a face and its stellation, the
// stellation diagram and the unfolded net.
bool IsFacetViewType(int code);

// The code holds every bit of the mask; never for no type.
inline bool ViewTypeHasAll(int code, int mask)
{
    return code != kViewTypeNone && (code & mask) == mask;
}

// The code of the type whose index is value's low byte (0 to 24); any other value unchanged. Model
// files store indices in older versions.
int ViewTypeFromIndex(int value);

// What a pane's title puts before the model's name ("Stellation of "); empty for the types titled
// by the model alone, null for the types titled by their name alone and for no type.
const char* GetViewTitlePrefix(int code, bool model4D);
