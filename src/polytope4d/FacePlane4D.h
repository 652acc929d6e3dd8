#pragma once

#include "kernel/Vec4D.h"

#include <cstdint>
#include <memory>
#include <vector>

class Face4D;

// The two coordinate axes onto which a face in the 2-plane of three points projects with the least
// distortion (those its triangulation works in); false when the points lie on a line.
bool FacePlaneAxes4D(const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, int& u, int& v);

// A face's triangulation in its own 2-plane, for drawing: held by every Face4D, filled when the
// polytope's face planes are prepared and kept until the next forced preparation.
class FacePlane4D
{
public:
    // Triangulates the face in the frame of its first three vertices (a later one for the third
    // when those lie on a line); a face whose corners span no plane is left without triangles.
    void Setup(const Face4D& face);
    void Clear();

    std::vector<Vec4D> mPoints;  // the corners, and the crossing points of a self-intersecting face
    int32_t mNumIndices = 0;
    std::unique_ptr<int32_t[]> mIndices;  // three points of mPoints per triangle
};
