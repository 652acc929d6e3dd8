#include "stellation/Faceting.h"

#include "kernel/LinkNode.h"
#include "stellation/FacetingEdge.h"

Faceting::Faceting(Poly* poly) : mPoly(poly)
{
    Init();
}

Faceting::~Faceting()
{
    Clear();
}

void Faceting::Init()
{
    mVertexTypes = nullptr;
    mNumVertexTypes = 0;
    mNumVertexTypesUsed = 0;
    mNumEdges = 0;
    mNumOpenEdges = 0;
    mNumPlanes = 0;
    mNumFaces = 0;
    mNumFacets = 0;
    mNumUnmatchedChirals = 0;
    mUnitingFace = -1;
    mIsChiralCompound = false;
    mFirstEdge = mLastEdge = nullptr;
    mFirstOpenEdge = mLastOpenEdge = nullptr;
    mCurrentEdge = nullptr;
    mFirstPlane = mLastPlane = nullptr;
    mFirstFacet = mLastFacet = nullptr;
    mCurrentFace = nullptr;
    mTotalCount = BigUInt();
    mChiralCount = BigUInt();
    mCompoundCount = BigUInt();
    mTime = Duration();
}

void Faceting::Clear()
{
    mVertexTypeUses.clear();
    mStack.clear();
    ListDeleteAll(mFirstEdge, mLastEdge);
    Init();
}
