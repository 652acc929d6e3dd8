#pragma once

#include "kernel/Vec3D.h"

#include <vector>

class Stellation;
class StellationCell;

// Where the cell records stand in space. A record is a class of congruent cells; these functions
// speak of the copy that lies against region 0 of its first facet.

// The face planes of a side, as n . x = d with n the face's normal: one per face, faces at
// infinity left out.
struct CellPlane
{
    Vec3D normal;
    double offset = 0.0;
};
std::vector<CellPlane> GetCellPlanes(const Stellation* stellation);

// A point inside the cell's copy: off the middle of the region, a quarter of the way to the
// nearest other plane. False for a cell without facets (the outer cell may have none).
bool GetCellInteriorPoint(const StellationCell* cell, const std::vector<CellPlane>& planes, Vec3D& out);

// The two points lie in the same cell of the planes: on the same side of every plane. Points inside
// cells keep their distance from every plane, so the test needs no tolerance beyond rounding.
bool InSameCell(const std::vector<CellPlane>& planes, const Vec3D& a, const Vec3D& b);
