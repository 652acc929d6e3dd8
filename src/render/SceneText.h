#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class OpenGLView;

// Placement word of scene text: the low four bits are the mode, then three keep bits.
inline constexpr uint32_t kTextExtend = 0;
inline constexpr uint32_t kTextFlat = 1;
inline constexpr uint32_t kTextSitOn = 2;
inline constexpr uint32_t kTextScreenAlign = 3;
inline constexpr uint32_t kTextKeepSize = 0x100;
inline constexpr uint32_t kTextKeepUpright = 0x200;
inline constexpr uint32_t kTextKeepForward = 0x400;

inline int TextPlacementMode(uint32_t word)
{
    return int(word & 0xf);
}

// a x b, or when a is parallel to b (within tol) any vector perpendicular to a.
void PerpendicularOf(Vec3D& out, const Vec3D& a, const Vec3D& b, double tol);
// a x e, e the unit axis of a's smallest component.
void AnyPerpendicular(Vec3D& out, const Vec3D& a, double tol);

// The frame a text is drawn in: its axes u (along the line), v (up the text), n (out of it) and the
// point of its measured box that sits on the anchor.
struct SceneTextFrame
{
    Vec3D u, v, n;
    double ox = 0.0, oy = 0.0;
};
// box: the text's measured minimum (x0, y0) and maximum (x1, y1); m the view's up vector, l the
// direction towards the eye; q and r the caller's directions (may be null).
SceneTextFrame PlaceSceneText(uint32_t word, const double box[4], const Vec3D& m, const Vec3D& l, const Vec3D* q,
                              const Vec3D* r);

// Marked-up text placed at an anchor in the current view: the frame from the placement word and the
// view, lifted towards the eye, scaled (keeping its size on screen when asked) and drawn in the scene
// font. width < 0 does not wrap.
void DrawSceneText(OpenGLView& view, uint32_t word, const Vec3D& anchor, double scale, float width, const char* text,
                   int flags, const Vec3D* q, const Vec3D* r);
