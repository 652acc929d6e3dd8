#pragma once

#include "kernel/Vec3D.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class SimpleVert;

// The vertices of a SimplePoly that can be found by position, owned by that SimplePoly: a hash
// table of grid cells far wider than the tolerance, each cell chaining its vertices through
// SimpleVert::mNextInCell. Points in any order cost the same, and a search looks at every vertex
// near enough to match, so its answer does not depend on the order the vertices were entered in.
class SimpleVertGrid
{
public:
    SimpleVertGrid() = default;
    SimpleVertGrid(const SimpleVertGrid&) = delete;
    SimpleVertGrid& operator=(const SimpleVertGrid&) = delete;

    // Forgets every vertex; Clear keeps the table for the vertices to come, Release frees it.
    void Clear();
    void Release();
    // Room for count vertices in separate cells without growing, when it can be had.
    void Reserve(size_t count);

    // Enters the vertex at its position, finite or at infinity as its flags say. False, after an
    // error message, when the table is full and cannot grow.
    bool Insert(SimpleVert* vert);

    // Of the vertices within tol of pos in every coordinate, and at infinity exactly when inf is,
    // the nearest; at equal distances the one whose position comes first in x, then y, then z,
    // and of vertices in the very same place the lowest record. Null when none is near enough.
    SimpleVert* Find(const Vec3D& pos, bool inf, double tol) const;

    // Every vertex entered, in no particular order.
    std::vector<const SimpleVert*> Entries() const;

private:
    struct Cell
    {
        int64_t x, y, z;
        bool inf;
    };

    // The last vertex entered into the cells of one hash, whose vertices it chains; null: empty.
    // Two cells of one hash share a chain, which costs time and nothing else.
    struct Slot
    {
        SimpleVert* head;
        uint64_t hash;
    };

    static Cell CellOf(const Vec3D& pos, bool inf);
    static Cell CellOf(const SimpleVert& vert);
    static uint64_t Hash(const Cell& cell);
    // The slot of the hash, or the empty slot where it would go.
    size_t Probe(uint64_t hash) const;
    bool Resize(size_t capacity);

    std::unique_ptr<Slot[]> mSlots;
    size_t mCapacity = 0;  // a power of two, or 0
    size_t mUsed = 0;      // slots holding vertices, at most half the capacity while it can grow
};
