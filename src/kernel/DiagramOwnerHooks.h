#pragma once

#include "kernel/ColorRGB.h"

class FaceDiagram;
class FaceImage;
class FaceType;

// The kernel cannot look inside the faces of a model or its cross-section polygons, which are the
// owners of face diagrams of kinds 0 and 2, nor walk the faces of a face type. The model installs
// these answers; without them such owners are black, opaque and visible, and a face type gets no
// copies of its loop types.
struct DiagramOwnerQueries
{
    // The first and second colours, opacity and image of a visible owner; false, outputs
    // untouched, for a hidden one.
    bool (*getColors)(const void* owner, ColorRGB& first, ColorRGB& second, float& opacity, FaceImage*& image) = nullptr;
    bool (*isHidden)(const void* owner) = nullptr;
    bool (*isSelected)(const void* owner) = nullptr;
};

struct DiagramModelHooks
{
    DiagramOwnerQueries faces;     // owner kind 0
    DiagramOwnerQueries sections;  // owner kind 2
    // Gives every cross-section polygon of the current model its colour.
    void (*colorSections)() = nullptr;
    // Copies the finished diagram's loop types to every face of the type after its first, with
    // each face's own coincidence ring as the owners (the second slot: the clipped outlines).
    void (*copyToFaceType)(FaceDiagram& diagram, FaceType* faceType, bool secondSlot) = nullptr;
};

void SetDiagramModelHooks(const DiagramModelHooks& hooks);
const DiagramModelHooks& GetDiagramModelHooks();
