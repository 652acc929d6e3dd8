#pragma once

#include "kernel/ColorRGB.h"

#include <cstdint>

class DiagramWorkPools;
class FaceImage;

// Owner kinds of a face diagram: what its owners are, and so how they are asked for colours.
inline constexpr int kOwnerKindNone = -1;
inline constexpr int kOwnerKindFaces = 0;      // faces and vertices of a Poly
inline constexpr int kOwnerKindCallbacks = 1;  // anything, answered through OwnerCallbacks
inline constexpr int kOwnerKindSections = 2;   // the polygons of a model's cross-section

// Answers for the owners of a diagram of kind 1; the display mesh is the one implementation, its
// owners being its face records. Owners of one parent that follow each other count as one group.
class OwnerCallbacks
{
public:
    virtual ~OwnerCallbacks() = default;
    // The colour (front and back alike) and the opacity.
    virtual void GetOwnerColor(const void* owner, ColorRGB& color, float& opacity) = 0;
    virtual bool IsOwnerSelected(const void* owner) = 0;
    virtual bool IsOwnerHidden(const void* owner) = 0;
    virtual const void* GetOwnerParent(const void* owner) = 0;
    // The number a pick of the owner's areas answers with (the display mesh's index of the face);
    // -1 for owners that are not picked by number.
    virtual int GetOwnerIndex(const void* /*owner*/) { return -1; }
};

// One owner of a class of regions, with its winding number there.
struct LoopTypeOwner
{
    const void* mOwner = nullptr;
    int32_t mCount = 0;

    // False when the owner is hidden. A hidden owner of kind 1 still gives its colours; a hidden
    // owner of kind 0 leaves the outputs as they were. A null owner is black and opaque.
    bool GetColors(int kind, OwnerCallbacks* callbacks, ColorRGB& first, ColorRGB& second, float& opacity,
                   FaceImage*& image) const;
    bool IsSelected(int kind, OwnerCallbacks* callbacks) const;
    bool IsHidden(int kind, OwnerCallbacks* callbacks) const;
};

// One class of regions of a finished diagram with equal coverage, and its colour under the
// filling options. Arrays of them live in the work pools of the diagram that made them.
struct LoopType
{
    LoopTypeOwner* mOwners = nullptr;  // smallest covered area first
    int32_t mOwnerCount = 0;
    ColorRGB mColor1;  // from the owners' first colours
    ColorRGB mColor2;  // from their second (back) colours
    float mOpacity = 1.0f;  // 0: an empty area, not drawn
    const void* mImageOwner = nullptr;  // the first contributing owner with an image

    // Colour and opacity under the option word; false when the area is empty.
    bool CalcColor(uint32_t options, int kind, OwnerCallbacks* callbacks);
    // Some group whose visible owners' counts do not cancel has a selected last owner.
    bool IsSelected(int kind, OwnerCallbacks* callbacks) const;
    // The visible owners' counts that are selected, over all the visible owners' counts.
    float SelectedFraction(int kind, OwnerCallbacks* callbacks) const;
    // The owner a pick of the area goes to: the next visible, unselected owner after the first
    // selected one.
    const void* NextOwner(int kind, OwnerCallbacks* callbacks) const;
    // The colour to draw with; a selected area is drawn unlit and paled by its selected fraction
    // (white with forceWhite). Answers whether lighting was switched off.
    bool GetColor(ColorRGB& out, bool forceWhite, bool firstColor, int kind, OwnerCallbacks* callbacks) const;
};

// The triangles of one loop type: mCount vertex indices (three a triangle) from mIndices.
struct LoopTypeTriangles
{
    int32_t mCount = 0;
    int32_t* mIndices = nullptr;
};

// Arrays from the work pools: loop types with colour 0, opacity 1 and no owners; zeroed triangle
// records. Null when memory runs out or count is not positive.
LoopType* NewLoopTypes(int count, DiagramWorkPools& pools);
LoopTypeTriangles* NewLoopTypeTriangles(int count, DiagramWorkPools& pools);

// Colours every loop type; for cross-section owners the section polygons are coloured first.
void CalcAllColors(LoopType* loopTypes, int count, uint32_t options, int kind, OwnerCallbacks* callbacks);
