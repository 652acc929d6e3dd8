#pragma once

#include "kernel/Vec4D.h"

#include <cstdint>
#include <vector>

class Vert4D;

// Finds a polytope's vertex by position: a binary tree ordered lexicographically on x, y, z, w,
// where coordinates within 1e-4 count as equal and the next one decides. Owned by the polytope,
// which drops it whenever a vertex is deleted. Never rebalanced.
class PointTree4D
{
public:
    static constexpr double kTolerance = 1e-4;

    // The vertex at pos, or null.
    Vert4D* Find(const Vec4D& pos) const;
    // Adds the vertex where the walk for its position ends; false, adding nothing, when a vertex
    // at that position is already held.
    bool Insert(Vert4D* vert);
    int Count() const { return int(mNodes.size()); }

    // Where the walk for pos ends: the vertex found, or the empty link a new node would fill.
    struct Walk
    {
        Vert4D* found = nullptr;
        int32_t parent = -1;
        bool right = false;
    };
    Walk Locate(const Vec4D& pos) const;
    // Fills the empty link a walk ended at.
    void Attach(const Walk& walk, Vert4D* vert);

private:
    struct Node
    {
        Vert4D* vert;
        int32_t left = -1;
        int32_t right = -1;
    };
    // Nodes by index in one pool: a tree fed sorted points is a long chain, which freeing node by
    // node would recurse down.
    std::vector<Node> mNodes;
};
