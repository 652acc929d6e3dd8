#include "operations/SpringNetwork.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <utility>

namespace
{
// Frees the network at exit.
struct NetworkHolder
{
    SpringNetwork network;
    ~NetworkHolder() { ResetSpringNetwork(); }
};

NetworkHolder gHolder;

// The pair index is ordered by a mix of the two indices before the indices themselves: springs are
// made in runs of neighbouring pairs (a polygon's chords, a node's hop springs), which in plain
// order would grow the tree into a list.
struct PairKey
{
    uint64_t mix;
    int lo;
    int hi;
};

PairKey KeyOf(const SpringNode* a, const SpringNode* b)
{
    int lo = a->mIndex;
    int hi = b->mIndex;
    if (lo > hi)
        std::swap(lo, hi);
    uint64_t h = (uint64_t(uint32_t(lo)) << 32 | uint32_t(hi)) + 0x9E3779B97F4A7C15ull;
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
    return {h ^ (h >> 31), lo, hi};
}

int Compare(const PairKey& k, const Spring* s)
{
    const PairKey o = KeyOf(s->mNodes[0], s->mNodes[1]);
    if (k.mix != o.mix)
        return k.mix < o.mix ? -1 : 1;
    if (k.lo != o.lo)
        return k.lo < o.lo ? -1 : 1;
    if (k.hi != o.hi)
        return k.hi < o.hi ? -1 : 1;
    return 0;
}

// Puts child where node was under node's parent.
void ReplaceInParent(SpringNetwork& net, Spring* node, Spring* child)
{
    if (child)
        child->mParent = node->mParent;
    if (!node->mParent)
        net.mPairRoot = child;
    else if (node->mParent->mLeft == node)
        node->mParent->mLeft = child;
    else
        node->mParent->mRight = child;
}

void RemoveFromIndex(SpringNetwork& net, Spring* s)
{
    if (!s->mLeft || !s->mRight)
    {
        ReplaceInParent(net, s, s->mLeft ? s->mLeft : s->mRight);
    }
    else
    {
        Spring* r = nullptr;
        if (net.mReplaceFromLeft)
        {
            r = s->mLeft;
            while (r->mRight)
                r = r->mRight;
            ReplaceInParent(net, r, r->mLeft);
        }
        else
        {
            r = s->mRight;
            while (r->mLeft)
                r = r->mLeft;
            ReplaceInParent(net, r, r->mRight);
        }
        net.mReplaceFromLeft = !net.mReplaceFromLeft;
        // r takes s's place; s's children may have changed when r was one of them.
        r->mLeft = s->mLeft;
        r->mRight = s->mRight;
        if (r->mLeft)
            r->mLeft->mParent = r;
        if (r->mRight)
            r->mRight->mParent = r;
        ReplaceInParent(net, s, r);
    }
    s->mParent = s->mLeft = s->mRight = nullptr;
}
}  // namespace

SpringNetwork& GetSpringNetwork()
{
    return gHolder.network;
}

void ResetSpringNetwork()
{
    SpringNetwork& net = gHolder.network;
    ListDeleteAll(net.mFirstSpring, net.mLastSpring);
    net.mPairRoot = nullptr;
    net.mNumSprings = 0;
    ListDeleteAll(net.mFirstNode, net.mLastNode);
    ListDeleteAll(net.mFirstPolygon, net.mLastPolygon);
    net.mIs4D = false;
}

SpringPolygon::SpringPolygon(int numSides) : mNumSides(numSides)
{
    const int slots = numSides > 3 ? 2 * numSides : numSides;
    mNodes.reset(new (std::nothrow) SpringNode*[size_t(slots)]());
}

void SpringPolygon::SetDensity(int density)
{
    mDensity = density;
    mCircumradius = 1.0 / (2.0 * std::sin(kPi * density / mNumSides));
}

SpringNode* NewSpringNode()
{
    SpringNetwork& net = gHolder.network;
    auto* node = new SpringNode;
    node->mIndex = net.mLastNode ? net.mLastNode->mIndex + 1 : 0;
    ListAppend(node, net.mFirstNode, net.mLastNode);
    return node;
}

SpringPolygon* NewSpringPolygon(int numSides)
{
    if (numSides <= 0)
        return nullptr;
    auto* polygon = new (std::nothrow) SpringPolygon(numSides);
    if (!polygon || !polygon->mNodes)
    {
        delete polygon;
        ErrorMessage("Not enough memory for a polygon of %d sides.", numSides);
        return nullptr;
    }
    SpringNetwork& net = gHolder.network;
    ListAppend(polygon, net.mFirstPolygon, net.mLastPolygon);
    return polygon;
}

Spring* FindSpring(const SpringNode* a, const SpringNode* b)
{
    if (!a || !b)
        return nullptr;
    const PairKey key = KeyOf(a, b);
    Spring* s = gHolder.network.mPairRoot;
    while (s)
    {
        const int c = Compare(key, s);
        if (c == 0)
            return s;
        s = c < 0 ? s->mLeft : s->mRight;
    }
    return nullptr;
}

Spring* AddSpring(SpringNode* a, SpringNode* b, double rest, bool temporary, int tag, double stiffness)
{
    if (!a || !b || a == b)
        return nullptr;
    SpringNetwork& net = gHolder.network;
    const PairKey key = KeyOf(a, b);
    Spring* parent = nullptr;
    Spring** link = &net.mPairRoot;
    while (*link)
    {
        Spring* s = *link;
        const int c = Compare(key, s);
        if (c == 0)
        {
            if (!temporary)
                s->mFlags &= ~Spring::kTemporary;
            if (tag > s->mTag)
                s->mTag = tag;
            return nullptr;
        }
        parent = s;
        link = c < 0 ? &s->mLeft : &s->mRight;
    }
    auto* spring = new Spring;
    spring->mNodes[0] = a->mIndex < b->mIndex ? a : b;
    spring->mNodes[1] = a->mIndex < b->mIndex ? b : a;
    spring->mRest = rest;
    spring->mStiffness = stiffness;
    spring->mTag = tag;
    spring->mFlags = temporary ? Spring::kTemporary : 0;
    spring->mParent = parent;
    *link = spring;
    ListAppend(spring, net.mFirstSpring, net.mLastSpring);
    ++net.mNumSprings;
    return spring;
}

void DeleteSpring(Spring* spring)
{
    if (!spring)
        return;
    SpringNetwork& net = gHolder.network;
    RemoveFromIndex(net, spring);
    ListRemove(spring, net.mFirstSpring, net.mLastSpring);
    --net.mNumSprings;
    delete spring;
}
