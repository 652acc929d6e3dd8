#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class SimplePoly;

// Cuts triangles into the triangular grid of a frequency and writes the small triangles into a model
// being built, finding shared grid points by position so that neighbouring triangles share them.
// Used by the subdivision of a SimplePoly and of a Poly's side; the caller owns the model.
class SubdivisionGrid
{
public:
    // The faces a polygon of numSides corners becomes at the frequency, and its share of new grid
    // points counted twice (each shared side's points are counted once from either face). A face of
    // one or two corners counts as a fan, though none is made: the shortfall is reported. 64-bit:
    // the frequency comes from the user.
    static void AddToSize(int numSides, int64_t frequency, int64_t& faces, int64_t& twiceNewVerts);

    // faces and verts: what the result was made for, faces also the progress total.
    SubdivisionGrid(SimplePoly& result, int frequency, int totalFaces);

    // A triangle as one grid from its apex, any other polygon as the fan of triangles about the
    // centroid; with geodesic every corner and the centroid are first put at unit distance. False
    // when the user cancelled or a record could not be had.
    bool FillPolygon(const Vec3D* corners, int numCorners, const Vec3D& centroid, bool geodesic, uint32_t color,
                     float opacity);

    int FacesMade() const { return mFacesMade; }
    int VertsMade() const { return mNextVert; }

private:
    // The triangle (apex, p, q) in rows from the apex: row t holds t + 1 points.
    bool FillTriangle(const Vec3D& apex, const Vec3D& p, const Vec3D& q, uint32_t color, float opacity);
    bool AddTriangle(const Vec3D& a, const Vec3D& b, const Vec3D& c, uint32_t color, float opacity);

    SimplePoly& mResult;
    int mFrequency;
    int mTotalFaces;
    int mNextVert = 0;
    int mFacesMade = 0;
};
