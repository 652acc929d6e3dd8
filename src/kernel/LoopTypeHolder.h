#pragma once

class LoopType;

// The region classes of one finished face diagram, kept for drawing where coplanar faces overlap:
// each face holds two (its own polygon, and its polygon clipped by the dual) and the model one for
// its cross-section. The array lives in the pools of the model that built it; the holder owns
// nothing, and its count, triangles and points are those of the outline it was filled with.
class LoopTypeHolder
{
public:
    LoopType* mLoopTypes = nullptr;
};
