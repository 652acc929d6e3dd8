#pragma once

#include "kernel/Vec3D.h"

class FaceImage;
struct FaceTexMapping;

// Every filled triangle of a scene passes here: opaque ones are drawn at once, translucent ones wait
// in one program-wide queue until FlushTranslucentQueue draws them farthest first, so that blending
// composes correctly. The queue fills and empties within the scene drawing of one view, whose
// context must be current throughout.
class TranslucentQueue
{
public:
    // flags: 1 draw at once, 2 queue before the sorted triangles, 4 after them (both drawn in reverse
    // order of submission). Corners are multiplied by scale. True when drawn at once.
    static bool AddTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], unsigned flags,
                            double scale, FaceImage* image, const FaceTexMapping* mapping, const Vec3D* texPoints);
};

// Draws and empties the queue; with nothing queued no GL state is touched.
void FlushTranslucentQueue();
// Empties the lists and keeps the memory for the next frame / gives the memory back.
void ResetTranslucentQueue();
void ReleaseTranslucentQueue();
// Triangles waiting in the sorted list, and in all three lists.
int CountQueuedTriangles();
int CountAllQueuedTriangles();

// Draws one triangle at once with its material colour and normal.
void DrawTexturedTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], FaceImage* image,
                          const FaceTexMapping* mapping, const Vec3D* texPoints, int depth);

// The texture subdivision quality: finer for printed and exported pictures.
void SetOutputTriangleQuality();
void SetScreenTriangleQuality();
int GetTriangleSubdivisionMaxDepth();
float GetTriangleSubdivisionTolerance();
