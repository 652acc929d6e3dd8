#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec3D.h"

#include <cstdint>

class DiagramOutline;
class FaceVert;
class PrintCanvas;
struct LoopType;
struct PrintTransform2D;

// The region classes of one finished face diagram, kept for drawing where coplanar faces overlap:
// each face holds two (its own polygon, and its polygon clipped by the dual) and the model one for
// its cross-section. The array lives in the pools of the model that built it; the holder owns
// nothing, and its count, triangles and points are those of the outline it was filled with, which
// every call names.
class LoopTypeHolder
{
public:
    // No array, or every area of it empty.
    bool IsClear(const DiagramOutline& outline) const;
    // The colours again under the option word (PolygonFillOptions), as after a change of the
    // owners' colours or of the filling options.
    void Recolor(uint32_t options, const DiagramOutline& outline);

    // The areas of one face of a model through the translucent queue: each 2D point placed by the
    // frame (x-axis x + y-axis y + origin) and moved by offset, the face's front or back colours as
    // the view sees it, its image, the augmentation preview's rule; picking names each area after
    // the element a pick of it goes to. overrideColor replaces the colours and the image. Defined
    // with the model, which knows its elements.
    void DrawFace(const FaceVert* face, const Transform3D& frame, const Vec3D& offset, double explodeScale,
                  bool picking, bool selectedOnly, const ColorRGB* overrideColor, const DiagramOutline& outline) const;
    // The areas as plain triangles at half alpha in the frame's plane: a diagram seen flat.
    void DrawFlat(const Transform3D& frame, const DiagramOutline& outline) const;
    // The areas painted on the printed page through the transform, each in a solid brush of its
    // colour (the print grey in the greyscale shading).
    void DrawGdi(const PrintTransform2D& transform, PrintCanvas& canvas, const DiagramOutline& outline) const;

    LoopType* mLoopTypes = nullptr;
};
