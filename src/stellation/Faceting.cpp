#include "stellation/Faceting.h"

#include "kernel/LinkNode.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetPlane.h"
#include "stellation/Stellation.h"

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
    mCancelled = mResume = mResumeBacktrack = false;
    mPendingMirror = nullptr;
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
    mRotations.clear();
    mVertexTypeUses.clear();
    mStack.clear();
    // A plane unlinks itself as it goes, with its vertices, edges and faces.
    while (mFirstPlane)
        delete mFirstPlane;
    ListDeleteAll(mFirstEdge, mLastEdge);
    Init();
}

SymGroup* Faceting::GetGroup() const
{
    return mPoly ? mPoly->mGroup.get() : nullptr;
}

const std::vector<Mat3>& Faceting::GetRotations() const
{
    if (mRotations.empty())
    {
        if (const SymGroup* group = GetGroup())
        {
            SymOpIterator it;
            Mat3 m;
            while (group->NextOperation(it, true, &m))
                mRotations.push_back(m);
        }
    }
    return mRotations;
}

bool Faceting::IsVertexType(const FaceType* type)
{
    return type && !type->IsCoplanarCopy() && type->mFirstFace &&
           !(type->mFirstFace->mFlags & (FaceVert::kHemi | FaceVert::kHidden));
}

bool Faceting::IsCandidateVert(const FaceVert* vert)
{
    return vert && !(vert->mFlags & (FaceVert::kHemi | FaceVert::kHidden | FaceVert::kCoplanar));
}

bool Faceting::CreateFaceting(Poly* poly, FaceType* vertexTypes)
{
    if (!poly || !poly->mGroup)
        return false;
    TraceScope trace("CreateFaceting");
    ProgressScope progress;
    Clear();
    mPoly = poly;
    mVertexTypes = vertexTypes;
    int numTypes = 0;
    for (const FaceType* t = vertexTypes; t; t = t->mNextFaceType)
        ++numTypes;
    mNumVertexTypes = vertexTypes && vertexTypes->mStellation ? vertexTypes->mStellation->GetNumPlaneTypes() : 0;
    // Indexed by a type's place in its list, copies included.
    mVertexTypeUses.assign(size_t(numTypes), 0);

    struct Step
    {
        const char* label;
        double from, to;
        bool (Faceting::*run)();
    };
    const Step steps[] = {{"Creating edges", 0.0, 0.05, &Faceting::CreateEdges},
                          {"Creating planes", 0.05, 0.5, &Faceting::CreatePlanes},
                          {"Creating faces", 0.5, 0.9, &Faceting::CreateFaces},
                          {"Labeling spiky facets", 0.9, 0.95, &Faceting::LabelSpikyFacets}};
    for (const Step& step : steps)
    {
        trace.SetStep(step.label);
        const ProgressRange saved = PushProgressRange(step.from, step.to);
        const bool ok = (this->*step.run)();
        PopProgressRange(saved);
        if (!ok)
        {
            Clear();
            return false;
        }
    }
    mStack.assign(size_t(mNumEdges) + 1, StackEntry());
    return true;
}

bool Faceting::CreateForCurrentModel()
{
    Poly* poly = mPoly ? mPoly : GetCurrentPoly();
    if (!poly)
        return false;
    // The vertices of this side's model are the faces of the other side.
    const bool dualSide = this == &poly->GetVertStellation()->mFaceting;
    Stellation* other = dualSide ? poly->GetFaceStellation() : poly->GetVertStellation();
    return CreateFaceting(poly, other->mFirstFaceType);
}

Faceting* GetCurrentFaceting()
{
    Poly* poly = GetCurrentPoly();
    return poly ? &poly->GetShownStellation()->mFaceting : nullptr;
}
