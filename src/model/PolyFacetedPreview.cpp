#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "model/FacetedPolyhedron.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"

#include <vector>

void Poly::UpdateFacetedPoly()
{
    const bool facets = mFirstDrawnPolygon && mFirstDrawnPolygon != mCurrentDrawnPolygon;
    if (!mFacetingDirty && (mFacetedModel || !facets))
        return;
    mFacetingDirty = false;
    mFacetedModel.reset();
    mFacetTable.clear();
    FreePolygon3DList(mFirstFacetedFace);
    mLastFacetedFace = nullptr;
    std::vector<FacetRecord> records;
    if (facets)
        mFacetedModel = CreateSimpleFacetedPolyhedron(*this, kFacetedQuiet, &records);
    if (!mFacetedModel)
    {
        mCurrentFacet = -1;
        return;
    }
    // One polygon per face to draw it by, in space.
    for (int f = 0; f < mFacetedModel->mNumFaces; ++f)
    {
        const SimpleFace& face = mFacetedModel->mFaces[f];
        auto* polygon = new Polygon3D(mFirstFacetedFace, mLastFacetedFace);
        for (int k = 0; k < face.mNum; ++k)
        {
            if (const SimpleVert* v = face.GetVert(k))
                AddRingVert(0.0, 0.0, nullptr, &v->mPos, polygon->mRing);
        }
        polygon->Prepare();
        mFacetTable.push_back(FacetTableEntry{size_t(f) < records.size() ? records[size_t(f)].mPolygon : nullptr});
    }
    if (mCurrentFacet >= mFacetedModel->mNumFaces)
        mCurrentFacet = mFacetedModel->mNumFaces - 1;
}

void Poly::DrawFacetingPreview(double explodeScale)
{
    UpdateFacetedPoly();
    if (!mFacetedModel)
        return;
    std::vector<const Polygon3D*> polys;
    polys.reserve(size_t(mFacetedModel->mNumFaces));
    for (const Polygon3D* p = mFirstFacetedFace; p; p = p->mNext)
        polys.push_back(p);
    if (int(polys.size()) != mFacetedModel->mNumFaces)
        return;
    SimplePoly::DrawOwner owner;
    owner.selectedFace = mCurrentFacet;
    mFacetedModel->Draw(polys.data(), owner, explodeScale, mDisplayScale);
}
