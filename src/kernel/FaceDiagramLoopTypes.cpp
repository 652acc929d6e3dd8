#include "kernel/CoverageList.h"
#include "kernel/DiagramOwnerHooks.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/RingList.h"
#include "kernel/RingTriangulation.h"
#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

bool FaceDiagram::CreateLoopTypes(FaceType* faceType, bool secondSlot)
{
    TraceScope scope("CreateLoopTypes");
    mLoopTypeCount = 0;
    mLoopTypes = nullptr;
    mLoopTypeTriangles = nullptr;
    mIndices = nullptr;
    mIndexCount = 0;

    std::vector<Loop2D*> regions;
    for (Loop2D* loop = mFirstLoop; loop; loop = loop->next)
    {
        PruneCoverage(loop->mCoverage);
        loop->mFlags &= ~Loop2D::kFirstOfType;
        if (!(loop->mFlags & Loop2D::kClockwise))
            regions.push_back(loop);
    }
    std::stable_sort(regions.begin(), regions.end(), [](const Loop2D* a, const Loop2D* b) {
        return CompareCoverage(a->mCoverage, b->mCoverage) < 0;
    });
    // Runs of equal coverage: where each starts.
    std::vector<size_t> runStarts;
    int64_t indexTotal = 0;
    for (size_t i = 0; i < regions.size(); ++i)
    {
        if (i == 0 || !CoverageEquals(regions[i - 1]->mCoverage, regions[i]->mCoverage))
        {
            runStarts.push_back(i);
            regions[i]->mFlags |= Loop2D::kFirstOfType;
        }
        indexTotal += 3 * int64_t(regions[i]->TriangleCount());
    }
    runStarts.push_back(regions.size());
    const int typeCount = int(runStarts.size()) - 1;

    int32_t numVerts = 0;
    mVertsByNumber.clear();
    for (Vert2D* v = mFirstVert; v; v = v->next)
    {
        v->mIndex = numVerts++;
        mVertsByNumber.push_back(v);
    }

    if (indexTotal > INT32_MAX)
    {
        InternalError("FaceDiagram::CreateLoopTypes(): %lld triangle indices", static_cast<long long>(indexTotal));
        return false;
    }
    if (typeCount > 0)
    {
        mLoopTypes = NewLoopTypes(typeCount, *mWorkPools);
        mLoopTypeTriangles = NewLoopTypeTriangles(typeCount, *mWorkPools);
        mIndices = indexTotal > 0 ? mWorkPools->mIndices.Alloc(uint32_t(indexTotal)) : nullptr;
        if (!mLoopTypes || !mLoopTypeTriangles || (indexTotal > 0 && !mIndices))
        {
            InternalError("FaceDiagram::CreateLoopTypes(): no memory for %d loop types", typeCount);
            mLoopTypes = nullptr;
            mLoopTypeTriangles = nullptr;
            mIndices = nullptr;
            return false;
        }
        mLoopTypeCount = typeCount;
    }

    int32_t used = 0;
    for (int k = 0; k < typeCount; ++k)
    {
        LoopType& type = mLoopTypes[k];
        const Loop2D* first = regions[runStarts[size_t(k)]];
        int32_t numOwners = 0;
        for (const CoverageEntry* e = first->mCoverage; e; e = e->mNext)
            ++numOwners;
        if (numOwners > 0)
        {
            type.mOwners = mWorkPools->mOwners.Alloc(uint32_t(numOwners));
            if (!type.mOwners)
            {
                InternalError("FaceDiagram::CreateLoopTypes(): no memory for %d owners", numOwners);
                numOwners = 0;
            }
        }
        type.mOwnerCount = numOwners;
        int32_t o = 0;
        for (const CoverageEntry* e = first->mCoverage; e && o < numOwners; e = e->mNext, ++o)
        {
            type.mOwners[o].mOwner = OwnerOfKey(e->mOwner);
            type.mOwners[o].mCount = e->mCount;
        }

        LoopTypeTriangles& triangles = mLoopTypeTriangles[k];
        triangles.mIndices = mIndices ? mIndices + used : nullptr;
        triangles.mCount = 0;
        for (size_t i = runStarts[size_t(k)]; i < runStarts[size_t(k) + 1]; ++i)
        {
            const int written = TriangulateRegion(regions[i], int(indexTotal) - used, mIndices + used);
            used += written;
            triangles.mCount += written;
        }
    }
    mIndexCount = used;

    // The area each owner covers, whatever its winding number there.
    Vert2D** byNumber = numVerts > 0 ? mPools->mVertPointers.Alloc(uint32_t(numVerts)) : nullptr;
    if (byNumber)
    {
        for (Vert2D* v = mFirstVert; v; v = v->next)
            byNumber[v->mIndex] = v;
        for (int k = 0; k < typeCount; ++k)
        {
            const LoopTypeTriangles& triangles = mLoopTypeTriangles[k];
            double doubled = 0.0;
            for (int32_t i = 0; i + 2 < triangles.mCount; i += 3)
            {
                const Vec2D& a = byNumber[triangles.mIndices[i]]->mPoint;
                const Vec2D& b = byNumber[triangles.mIndices[i + 1]]->mPoint;
                const Vec2D& c = byNumber[triangles.mIndices[i + 2]]->mPoint;
                doubled += Vec2Cross(Vec2D{a.x - c.x, a.y - c.y}, Vec2D{b.x - a.x, b.y - a.y});
            }
            for (int32_t o = 0; o < mLoopTypes[k].mOwnerCount; ++o)
                AddOwnerArea(mLoopTypes[k].mOwners[o].mOwner, doubled);
        }
    }
    mPools->mVertPointers.Reset();

    SortFaceAreas();
    // Smallest covered area first: what "smallest area on top" takes.
    for (int k = 0; k < typeCount; ++k)
    {
        LoopType& type = mLoopTypes[k];
        std::stable_sort(type.mOwners, type.mOwners + type.mOwnerCount,
                         [this](const LoopTypeOwner& a, const LoopTypeOwner& b) { return AreaRank(a.mOwner) < AreaRank(b.mOwner); });
    }

    if (faceType)
    {
        if (const auto copy = GetDiagramModelHooks().copyToFaceType)
            copy(*this, faceType, secondSlot);
        else
            DebugTrace("CreateLoopTypes: nobody copies loop types to the faces of a type\n");
    }
    return true;
}

int FaceDiagram::TriangulateRegion(const Loop2D* loop, int capacity, int32_t* indices)
{
    auto attempt = [&](double scale) {
        RingList* list = nullptr;
        RingList* last = nullptr;
        bool ok = AppendRingToList(loop->MakeRing(scale), list, last) != nullptr;
        for (const Loop2D* hole = loop->mChild; hole && ok; hole = hole->mSibling)
            if (Loop2D::IsAreaHole(hole))
                ok = AppendRingToList(hole->MakeHoleRing(scale), list, last) != nullptr;
        if (!ok)
        {
            InternalError("FaceDiagram::CreateLoopTypes(): no memory for a ring");
            FreeRingList(list);
            return 0;
        }
        return TriangulateRingListInto(list, capacity, indices, &mScratch);
    };
    // The expected area: the region less the pieces it holds.
    double expected = loop->DoubledArea();
    for (const Loop2D* hole = loop->mChild; hole; hole = hole->mSibling)
        if (Loop2D::IsAreaHole(hole))
            expected += hole->DoubledArea();
    auto doubledArea = [&](int count) {
        double sum = 0.0;
        for (int i = 0; i + 2 < count; i += 3)
        {
            const Vec2D& a = mVertsByNumber[size_t(indices[i])]->mPoint;
            const Vec2D& b = mVertsByNumber[size_t(indices[i + 1])]->mPoint;
            const Vec2D& c = mVertsByNumber[size_t(indices[i + 2])]->mPoint;
            sum += Vec2Cross(Vec2D{b.x - a.x, b.y - a.y}, Vec2D{c.x - a.x, c.y - a.y});
        }
        return sum;
    };
    const int written = attempt(1.0);
    Vec2D low, high;
    loop->Bounds(low, high);
    const double slack = 1e-9 * (1.0 + (high.x - low.x) * (high.y - low.y));
    const double error = std::fabs(doubledArea(written) - expected);
    // Corners that run straight on or back get no triangle; only the area tells a lost one.
    if (error <= slack)
        return written;
    // The triangulation's tolerances are absolute: corners of the region a tolerance or so apart
    // can leave it no ear to clip. The same ring, larger, has the same triangles by number; the
    // better of the two is kept.
    ++mRetriangulated;
    mFirstAttempt.assign(indices, indices + written);
    const int larger = attempt(kRetriangulationScale);
    const double largerError = std::fabs(doubledArea(larger) - expected);
    DebugTrace("CreateLoopTypes: a region triangulated again at %g times its size: %d indices, now %d\n",
               kRetriangulationScale, written, larger);
    if (largerError < error || (largerError == error && larger >= written))
        return larger;
    std::copy(mFirstAttempt.begin(), mFirstAttempt.end(), indices);
    return written;
}

void FaceDiagram::SortFaceAreas()
{
    FaceArea* areas = mFaceAreas;
    const int32_t n = mFaceAreaCount;
    std::stable_sort(areas, areas + n, [](const FaceArea& a, const FaceArea& b) { return a.mArea < b.mArea; });
    // Areas within kTol of the first of a run count as equal and go by owner.
    for (int32_t i = 0; i < n;)
    {
        int32_t j = i + 1;
        while (j < n && areas[j].mArea - areas[i].mArea <= kTol)
            ++j;
        std::sort(areas + i, areas + j, [](const FaceArea& a, const FaceArea& b) { return a.mOrder < b.mOrder; });
        i = j;
    }
    if (mOwnerKind == kOwnerKindCallbacks && mCallbacks)
    {
        // The owners of one parent follow the first of them.
        std::vector<const void*> parents;
        std::unordered_map<const void*, std::vector<FaceArea>> byParent;
        for (int32_t i = 0; i < n; ++i)
        {
            const void* parent = areas[i].mOwner ? mCallbacks->GetOwnerParent(areas[i].mOwner) : nullptr;
            std::vector<FaceArea>& group = byParent[parent];
            if (group.empty())
                parents.push_back(parent);
            group.push_back(areas[i]);
        }
        int32_t out = 0;
        for (const void* parent : parents)
            for (const FaceArea& area : byParent[parent])
                areas[out++] = area;
    }
    for (int32_t i = 0; i < n; ++i)
        mAreaSlots[size_t(areas[i].mOrder)] = i;
}
