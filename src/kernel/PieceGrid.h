#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

struct HalfEdge2D;

// The pieces of a FaceDiagram by where they lie, so that a segment being inserted is checked only
// against the pieces near it. A hashed grid of square cells: a piece is listed in every cell its
// box (widened by a margin) touches, or, when that box spans too many cells, in a list that every
// search reads. The owner decides the cell size and rebuilds the grid as the diagram grows.
class PieceGrid
{
public:
    // Empties the grid and sets the cell size and the margin; a size that is not positive turns
    // the grid off (every search reads everything).
    void Reset(double cellSize, double margin);
    bool IsOn() const { return mCell > 0.0; }

    void Add(HalfEdge2D* piece);
    void Remove(HalfEdge2D* piece);

    // Appends every piece listed near the box, each once. False, with nothing appended, when the
    // box spans too many cells: the caller reads all pieces instead.
    bool Collect(double minX, double minY, double maxX, double maxY, std::vector<HalfEdge2D*>& out);

private:
    struct Range
    {
        int64_t x0, y0, x1, y1;
    };
    Range CellsOf(double minX, double minY, double maxX, double maxY) const;
    Range CellsOf(const HalfEdge2D* piece) const;
    static bool TooWide(const Range& r);
    static uint64_t Key(int64_t x, int64_t y);

    double mCell = 0.0;
    double mMargin = 0.0;
    std::unordered_map<uint64_t, std::vector<HalfEdge2D*>> mCells;
    std::vector<HalfEdge2D*> mWide;
    uint32_t mStamp = 0;
};
