#include "model/FaceDiagramOwners.h"

#include "kernel/DiagramOwnerHooks.h"
#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "stellation/FaceType.h"

#include <algorithm>
#include <vector>

namespace
{
// Owners of kind 0 are always FaceVert elements, passed as themselves.
const FaceVert* AsElement(const void* owner)
{
    return static_cast<const FaceVert*>(owner);
}

bool ElementColors(const void* owner, ColorRGB& first, ColorRGB& second, float& opacity, FaceImage*& image)
{
    const FaceVert* e = AsElement(owner);
    if (e->mFlags & FaceVert::kHidden)
        return false;
    first = e->mColor;
    second = e->mBackColor;
    opacity = e->mOpacity;
    image = e->mImage.Get();
    return true;
}

bool ElementHidden(const void* owner)
{
    return (AsElement(owner)->mFlags & FaceVert::kHidden) != 0;
}

bool ElementSelected(const void* owner)
{
    const FaceVert* e = AsElement(owner);
    return e->mPoly && e->mPoly->mSelectedFace == e;
}

bool SectionColors(const void* owner, ColorRGB& first, ColorRGB& second, float& opacity, FaceImage*& image)
{
    const SectionPolygon* p = static_cast<const SectionPolygon*>(owner);
    first = second = p->mColor;
    opacity = 1.0f;
    image = nullptr;
    return true;
}

bool Never(const void*)
{
    return false;
}

void ColorCurrentSections()
{
    ColorSectionPolygons(GetCurrentPoly());
}
}  // namespace

void InstallFaceDiagramOwners()
{
    DiagramModelHooks hooks;
    hooks.faces.getColors = ElementColors;
    hooks.faces.isHidden = ElementHidden;
    hooks.faces.isSelected = ElementSelected;
    hooks.sections.getColors = SectionColors;
    hooks.sections.isHidden = Never;
    hooks.sections.isSelected = Never;
    hooks.colorSections = ColorCurrentSections;
    hooks.copyToFaceType = CopyLoopTypesToFaceType;
    SetDiagramModelHooks(hooks);
}

void ColorSectionPolygons(Poly* poly)
{
    if (!poly)
        return;
    for (SectionPolygon* p = poly->mSectionPolygons; p; p = p->mNext)
    {
        const int n = p->mNumPoints;
        double sum[3] = {0.0, 0.0, 0.0};
        double total = 0.0;
        double plain[3] = {0.0, 0.0, 0.0};
        int faces = 0;
        for (int i = 0; i < n; ++i)
        {
            const int from = (i + n - 1) % n;
            const FaceVert* face = p->mFaces ? p->mFaces[from] : nullptr;
            if (!face)
                continue;
            Vec3D d;
            Vec3Sub(d, p->mPoints[i], p->mPoints[from]);
            const double length = Vec3Length(d);
            const ColorRGB& c = face->mColor;
            sum[0] += length * c.r;
            sum[1] += length * c.g;
            sum[2] += length * c.b;
            total += length;
            plain[0] += c.r;
            plain[1] += c.g;
            plain[2] += c.b;
            ++faces;
        }
        // Without length (a polygon of one point) the faces count alike; without faces, black.
        if (total > 0.0)
            p->mColor = ColorRGB{float(sum[0] / total), float(sum[1] / total), float(sum[2] / total)};
        else if (faces > 0)
            p->mColor = ColorRGB{float(plain[0] / faces), float(plain[1] / faces), float(plain[2] / faces)};
        else
            p->mColor = ColorRGB{};
    }
}

void CopyLoopTypesToFaceType(FaceDiagram& diagram, FaceType* faceType, bool secondSlot)
{
    DebugTrace("Fill mTriColors\n");
    FaceVert* first = faceType ? faceType->mFirstFace : nullptr;
    if (!first)
    {
        DebugTrace("Fill mTriColors\n");
        return;
    }
    const int count = diagram.mLoopTypeCount;
    // The faces of the type, and their longest coincidence ring: one face's ring may be longer than
    // the first face's.
    std::vector<FaceVert*> faces;
    int longest = 0;
    const int limit = first->mPoly ? first->mPoly->mFaces.mCount + first->mPoly->mVerts.mCount + 1 : 1 << 20;
    for (FaceVert* f = first; f && int(faces.size()) < limit; f = f->mNextOfType)
    {
        faces.push_back(f);
        longest = std::max(longest, f->GetRingSize());
    }
    std::vector<FaceVert*> ring(size_t(std::max(longest, 1)));
    bool reported = false;
    for (size_t fi = 1; fi < faces.size(); ++fi)
    {
        FaceVert* f = faces[fi];
        if (f->mFlags & FaceVert::kSkip)
            continue;
        LoopType* copies = NewLoopTypes(count, *diagram.mWorkPools);
        if (count > 0 && !copies)
        {
            InternalError("CopyLoopTypesToFaceType(): no memory for %d loop types", count);
            break;
        }
        (secondSlot ? f->mMorphLoopTypes : f->mLoopTypes).mLoopTypes = copies;

        DebugTrace("Create coplanar index array\n");
        int ringSize = 0;
        FaceVert* g = f;
        do
        {
            ring[size_t(ringSize++)] = g;
            g = g->mNextCoplanar;
        } while (g && g != f && ringSize < longest);
        DebugTrace("Create coplanar index array\n");

        DebugTrace("i Loop\n");
        for (int k = 0; k < count; ++k)
        {
            const LoopType& source = diagram.mLoopTypes[k];
            LoopType& copy = copies[k];
            copy.mOwnerCount = 0;
            if (source.mOwnerCount <= 0)
                continue;
            copy.mOwners = diagram.mWorkPools->mOwners.Alloc(uint32_t(source.mOwnerCount));
            if (!copy.mOwners)
            {
                InternalError("CopyLoopTypesToFaceType(): no memory for %d owners", source.mOwnerCount);
                continue;
            }
            copy.mOwnerCount = source.mOwnerCount;
            DebugTrace("j Loop\n");
            for (int i = 0; i < source.mOwnerCount; ++i)
            {
                const LoopTypeOwner& owner = source.mOwners[i];
                LoopTypeOwner& entry = copy.mOwners[i];
                entry.mCount = owner.mCount;
                entry.mOwner = f;
                const FaceArea* area = diagram.FindFaceArea(owner.mOwner);
                if (!area)
                {
                    if (!reported)
                        DebugTrace("Can't find face-area\n");
                    reported = true;
                    DebugTrace("Can't find face-area for face %d, orig %d\n", f->mIndex, first->mIndex);
                    continue;
                }
                if (area->mOrder >= 0 && area->mOrder < ringSize)
                    entry.mOwner = ring[size_t(area->mOrder)];
                else
                    DebugTrace("Face %d: its ring of %d has no place %d\n", f->mIndex, ringSize, area->mOrder);
            }
            DebugTrace("j Loop\n");
        }
        DebugTrace("i Loop\n");
    }
    DebugTrace("Fill mTriColors\n");
}
