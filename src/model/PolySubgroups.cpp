#include "kernel/Shell.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"
#include "stellation/Stellation.h"

void Poly::AssignSubgroupTypes(FaceVert* element, int& counter)
{
    element->mNextOfType = nullptr;
    if (element->mFlags & FaceVert::kVisitMark)
        return;
    element->mIdFlags = counter;
    const bool isFace = element->IsFace();
    const FaceVert* corner0 = element->mNumSides > 0 ? element->mNeighbours[0] : nullptr;
    if (mGroup && corner0)
    {
        SymOpIterator it;
        Mat3 m;
        const bool withReflections = mGroup->mReflection != SymGroup::kChiral;
        while (mGroup->NextOperationWithReflections(it, false, &m, withReflections))
        {
            // A vertex is placed by its point and its first face's centre; a face by its centre,
            // normal and first corner.
            Vec3D a, b, c;
            if (isFace)
            {
                m.Transform(a, element->mCentre);
                m.Transform(b, element->mZAxis);
                m.Transform(c, corner0->mPoint);
            }
            else
            {
                m.Transform(a, element->mPoint);
                m.Transform(b, corner0->mCentre);
            }
            for (FaceVert* other = element->mSavedNextOfType; other; other = other->mSavedNextOfType)
            {
                const bool same = isFace ? element->MatchesTransformed(other, a, b, c, m, true, nullptr, nullptr)
                                         : element->MatchesTransformedPoint(other, a, b, m, true, nullptr, nullptr);
                if (same)
                {
                    other->mIdFlags = counter;
                    other->mFlags |= FaceVert::kVisitMark;
                    break;
                }
            }
        }
    }
    ++counter;
}

bool Poly::SetSymmetry(int& first, int& second)
{
    mCurrentFacet = -1;
    const bool fullKept = mFullGroup != nullptr;
    if (!fullKept)
    {
        if (!mGroup)
            return false;
        mFullGroupReflexible = mReflexible;
        for (ElemList* list : {static_cast<ElemList*>(&mFaces), static_cast<ElemList*>(&mVerts)})
        {
            for (FaceVert* e = list->mFirst; e; e = e->mNext)
            {
                e->mSavedIdFlags = e->mIdFlags;
                e->mSavedNextOfType = e->mNextOfType;
            }
        }
        mFlags &= ~kOldStyleAxes;
    }
    const SymGroup* full = fullKept ? mFullGroup.get() : mGroup.get();
    SymDescriptor d;
    if (second < 0)
    {
        int rot = 0;
        int refl = 0;
        if (!SymGroup::GetSubgroup(full, first, d, rot, refl))
            return false;
        first = rot;
        second = refl;
    }
    else if (!SymGroup::GetRotationalSubgroup(full, first, d) || !SymGroup::GetReflectiveSubgroup(full, second, d))
        return false;
    mSubgroupChoice[0] = first;
    mSubgroupChoice[1] = second;
    std::unique_ptr<SymGroup> subgroup = full->CreateSubgroup(d);
    if (!subgroup)
        return false;

    if (fullKept)
        mGroup.reset();
    else
        mFullGroup = std::move(mGroup);
    mGroup = std::move(subgroup);
    mReflexible = mGroup->mReflection != SymGroup::kChiral;

    for (ElemList* list : {static_cast<ElemList*>(&mFaces), static_cast<ElemList*>(&mVerts)})
    {
        int counter = 0;
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            AssignSubgroupTypes(e, counter);
        for (FaceVert* e = list->mFirst; e; e = e->mNext)
            e->mFlags &= ~FaceVert::kVisitMark;
    }

    // Edges are rebuilt by the analysis, so only a face or vertex stays selected.
    PolyElement* selected = mSelectedElement && !mSelectedElement->IsEdge() ? mSelectedElement : nullptr;
    FaceVert* selectedFaces[2] = {GetFaceStellation()->GetSelectedFace(), GetVertStellation()->GetSelectedFace()};
    SetFaceTypes(std::move(mGroup), sRecolourOnSymmetryChange, false);
    mFacetingDirty = true;
    mSelectedElement = selected;
    GetFaceStellation()->SetSelectedFace(selectedFaces[0]);
    GetVertStellation()->SetSelectedFace(selectedFaces[1]);
    mAugmenter.Refresh();
    GetShell().InfoNeedsUpdate(15);
    return true;
}
