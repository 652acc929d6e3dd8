#include "model/ModelRecord.h"

#include "kernel/PolygonFillOptions.h"
#include "polytope4d/Polytope4D.h"

namespace
{
ModelRecordList* gRecords = nullptr;

bool CurrentModelShowsDual()
{
    const Poly* poly = GetCurrentPoly();
    return poly && poly->mShowDual;
}

bool CurrentModelNonOrientable()
{
    const Poly* poly = GetCurrentPoly();
    return poly && (poly->mFlags & Poly::kOneSided);
}
}  // namespace

ModelRecord::ModelRecord(ModelRecord*& first, ModelRecord*& last)
{
    ListAppend(this, first, last);
}

ModelRecord::~ModelRecord()
{
    // The Poly's clean-up asks whether it is the current model.
    if (gRecords && gRecords->mCurrent == this)
        gRecords->mCurrent = nullptr;
    while (mFirstThrow)
    {
        SavedMouseThrow* nextThrow = mFirstThrow->mNext;
        delete mFirstThrow;
        mFirstThrow = nextThrow;
    }
}

ModelRecordList::~ModelRecordList()
{
    if (gRecords == this)
        SetDocumentModelRecords(nullptr);
    mCurrent = nullptr;
    ListDeleteAll(mFirst, mLast);
}

ModelRecord* ModelRecordList::NewRecord()
{
    return new ModelRecord(mFirst, mLast);
}

void ModelRecordList::DeleteRecord(ModelRecord* record)
{
    if (!record)
        return;
    if (mCurrent == record)
        mCurrent = nullptr;
    ListRemove(record, mFirst, mLast);
    delete record;
}

void SetDocumentModelRecords(ModelRecordList* list)
{
    gRecords = list;
    Polytope4D::SetShowsDualQuery(list ? CurrentModelShowsDual : nullptr);
    SetNonOrientableModelQuery(list ? CurrentModelNonOrientable : nullptr);
}

ModelRecordList* GetDocumentModelRecords()
{
    return gRecords;
}

Poly* GetCurrentPoly()
{
    return gRecords && gRecords->mCurrent ? &gRecords->mCurrent->mPoly : nullptr;
}

PolyTemplate* GetCurrentTemplate()
{
    return gRecords && gRecords->mCurrent ? &gRecords->mCurrent->mTemplate : nullptr;
}

Model3D* GetCurrentModel3D()
{
    Poly* poly = GetCurrentPoly();
    return poly ? poly->GetShownStellation()->PeekModel3D() : nullptr;
}

bool IsNewestModelPoly(const Poly* poly)
{
    return poly && gRecords && gRecords->mLast && &gRecords->mLast->mPoly == poly;
}
