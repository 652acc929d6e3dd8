#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec4D.h"

#include <memory>

// The network of springs that the relaxation moves: nodes, the polygons they form and the springs
// between them. Only one network exists at a time; the spring module owns it and a SpringSystem
// fills, settles and resets it.

class SpringNode : public LinkNode<SpringNode>
{
public:
    static constexpr int kUnused = 0x1;   // declared by a description but used by no polygon
    static constexpr int kVisited = 0x2;  // set only during the hop search
    static constexpr int kPolygonVertex = 0x4;

    int mIndex = 0;  // creation order since the last reset
    Vec4D mPos;
    Vec4D mVel;
    int mFlags = 0;
    int mNumNeighbours = 0;
    std::unique_ptr<SpringNode*[]> mNeighbours;  // the other ends of the node's edge springs
};

class SpringPolygon : public LinkNode<SpringPolygon>
{
public:
    static constexpr int kHidden = 0x1;  // not a face of the result
    static constexpr int kTemporary = 0x2;

    // Room for n vertices and, for n > 3, their n targets after them.
    explicit SpringPolygon(int numSides);

    // Also the circumradius of the regular {n/d} polygon with unit edges.
    void SetDensity(int density);

    int mNumSides;
    int mDensity = 1;
    double mCircumradius = 0.0;
    std::unique_ptr<SpringNode*[]> mNodes;
    int mFlags = 0;
};

class Spring : public LinkNode<Spring>
{
public:
    static constexpr int kTemporary = 0x1;
    static constexpr int kEdge = 0x2;
    static constexpr int kChord = 0x4;
    static constexpr int kTarget = 0x8;

    SpringNode* mNodes[2] = {nullptr, nullptr};  // the lower index first
    double mRest = 0.0;
    double mStiffness = 1.0;
    int mTag = -1;  // largest side count of the polygons that asked for it; -1 for targets and hops
    int mFlags = 0;
    // Links of the pair index.
    Spring* mParent = nullptr;
    Spring* mLeft = nullptr;
    Spring* mRight = nullptr;
};

struct SpringNetwork
{
    SpringNode* mFirstNode = nullptr;
    SpringNode* mLastNode = nullptr;
    SpringPolygon* mFirstPolygon = nullptr;
    SpringPolygon* mLastPolygon = nullptr;
    Spring* mFirstSpring = nullptr;
    Spring* mLastSpring = nullptr;
    Spring* mPairRoot = nullptr;  // the index of the springs by node pair
    int mNumSprings = 0;
    bool mIs4D = false;
    // A removed spring with two children is replaced by its predecessor and its successor in turn.
    bool mReplaceFromLeft = true;
};

SpringNetwork& GetSpringNetwork();

// Deletes every spring, node and polygon and clears the 4D flag.
void ResetSpringNetwork();

// A new node at the end of the list, its index one more than the last node's.
SpringNode* NewSpringNode();
// A new polygon of n sides at the end of the list; null when n is not positive or the memory is
// not there.
SpringPolygon* NewSpringPolygon(int numSides);

// The spring between a and b, made when there is none: then it takes the rest length, stiffness
// and tag and is answered, for the caller to add its kind. An existing spring is kept: it becomes
// permanent unless temporary is asked, and its tag rises to the given one; null is answered then,
// as it is for a node paired with itself.
Spring* AddSpring(SpringNode* a, SpringNode* b, double rest, bool temporary, int tag, double stiffness);
Spring* FindSpring(const SpringNode* a, const SpringNode* b);
void DeleteSpring(Spring* spring);
