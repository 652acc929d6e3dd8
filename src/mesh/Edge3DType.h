#pragma once

#include <cstdint>

class Edge3D;
class Face3DType;

// An iterator over the classes of symmetry-equivalent edges of a facelet type: the edges one turn
// of the facelet's rotation carries onto each other, across every facelet of the type. A run is one
// loop, or a loop with its rotated copies following it (its first edge marked as repeated). Used on
// the stack, never stored.
class Edge3DType
{
public:
    // The first class of the first run. False for a type without edges.
    bool Init(Face3DType* type);
    // The class of the edge. False when the edge is in no loop of its facelet.
    bool Init(const Edge3D* edge);

    // From null the first member, then each next one: the class's edge on every rotation copy of the
    // first facelet, then on the next facelet, and so on; null after the last.
    Edge3D* NextMember(const Edge3D* previous);
    // The next class: the next edge of the run's first rotation copy, else the next run's first.
    // False when the loops are exhausted.
    bool NextClass();

    // The current class's edge on the first facelet (its first rotation copy).
    int GetEdgeIndex() const { return mEdge; }

    Face3DType* mFaceType = nullptr;
    int32_t mNumRots = 1;
    int32_t mLoop = 0;      // first loop of the current run
    int32_t mNextLoop = 0;  // first loop after it
    int32_t mRunStart = 0;  // first edge index of the run
    int32_t mLoopEnd = 0;   // one past the run's last edge index
    int32_t mEdge = 0;      // the class's first edge
    int32_t mStep = 0;      // edges per rotation

private:
    // Sets the run that starts at the loop; false past the last loop.
    bool SetRun(int loop, const Edge3D* forEdge);

    int32_t mMemberFace = 0;
    int32_t mMemberEdge = -1;
};
