// The plain form of one side of a Poly, for the commands that derive models and for exporters.

#include "model/Poly.h"

#include "kernel/ColorRGB.h"
#include "kernel/DiagramOutline.h"
#include "kernel/FaceImage.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/ViewTypes.h"
#include "kernel/WaitCursor.h"
#include "model/CompoundPart.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "mesh/Model3D.h"
#include "operations/VertexPair.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <vector>

namespace
{
// Carries the element's colours, opacity, text, type and image over; the image's reference element,
// when it is an element of the same list, becomes the record standing for it.
void CopyElementHeader(const FaceVert& element, SimpleElem& record, const ElemList& list,
                       const std::vector<int>& recordIndex, SimpleElem* (*recordAt)(SimplePoly&, int),
                       SimplePoly& simplePoly)
{
    record.mColor = ColorToRGB(element.mColor);
    record.mBackColor = ColorToRGB(element.mBackColor);
    record.mOpacity = element.mOpacity;
    record.mText = element.mText;
    record.mId = FaceType::GetIndex(element.mFaceType);
    if (element.mFlags & FaceVert::kHidden)
        record.mFlags |= SimpleElem::kHidden;
    FaceImage* image = element.mImage.Get();
    if (!image)
        return;
    FaceImage* clone = FaceImage::CloneFor(image, nullptr, &record.mImage);
    if (!clone)
        return;
    for (const FaceVert* e = list.mFirst; e; e = e->mNext)
    {
        if (e != image->mOwner)
            continue;
        if (recordIndex[size_t(e->mIndex)] >= 0)
            clone->mOwner = recordAt(simplePoly, recordIndex[size_t(e->mIndex)]);
        break;
    }
}

SimpleElem* VertRecord(SimplePoly& simplePoly, int i)
{
    return &simplePoly.mVerts[i];
}

SimpleElem* FaceRecord(SimplePoly& simplePoly, int i)
{
    return &simplePoly.mFaces[i];
}

// The type whose diagram an element's regions come from: a coplanar copy's source, at the root.
const FaceType* DiagramTypeOf(const FaceVert& element)
{
    const FaceType* type = element.mFaceType;
    while (type && type->mCoplanarSource)
        type = type->mCoplanarSource;
    return type;
}

int CountRegionTriangles(const FaceVert& element)
{
    const FaceType* type = DiagramTypeOf(element);
    if (!type || !element.mLoopTypes.mLoopTypes || !type->mOutline.mLoopTypeTriangles)
        return 0;
    int n = 0;
    for (int k = 0; k < type->mOutline.mLoopTypeCount; ++k)
        n += type->mOutline.mLoopTypeTriangles[k].mCount / 3;
    return n;
}

// The triangles of every region of the element's face diagram, corners found or made at their
// places in the element's plane, with the region's colours, opacity and image.
void AddRegionTriangles(const FaceVert& element, SimplePoly& simplePoly, int& nextVert, int& f)
{
    const FaceType* type = DiagramTypeOf(element);
    const LoopType* loopTypes = element.mLoopTypes.mLoopTypes;
    if (!type || !loopTypes || !type->mOutline.mLoopTypeTriangles || !type->mOutline.mPoints)
        return;
    const DiagramOutline& outline = type->mOutline;
    const Transform3D frame = element.GetLocalFrame(false);
    // The record keeps the element's own axis with its reversal flags, as a whole face does, and
    // each triangle winds the way the element's corners do: a reader that turns the corners back
    // for Reversed and the normal for ReverseNorm treats both alike, and its corners then go round
    // the normal it writes.
    const Vec3D normal = element.mZAxis;
    Vec3D cornersAround = normal;
    if (element.GetArea() < 0.0)
        Vec3Negate(cornersAround);
    for (int k = 0; k < outline.mLoopTypeCount; ++k)
    {
        const LoopType& region = loopTypes[k];
        const LoopTypeTriangles& triangles = outline.mLoopTypeTriangles[k];
        bool first = true;
        for (int i = 0; i + 2 < triangles.mCount; i += 3)
        {
            SimpleFace* record = simplePoly.GetFace(f);
            if (!record)
                return;
            ++f;
            record->SetNumVerts(3);
            for (int c = 0; c < 3; ++c)
            {
                const int index = triangles.mIndices[i + c];
                if (index < 0 || index >= outline.mPointCount)
                    continue;
                const Vec2D& p = outline.mPoints[index];
                Vec3D corner;
                frame.Apply(corner, Vec3D{p.x, p.y, 0.0});
                if (SimpleVert* v = simplePoly.FindOrCreateVert(corner, nextVert))
                    record->SetVert(c, v);
            }
            if (record->GetVert(0) && record->GetVert(1) && record->GetVert(2) &&
                Vec3Dot(record->GetAreaVector(), cornersAround) < 0.0)
            {
                SimpleElem* second = record->mList[1];
                record->mList[1] = record->mList[2];
                record->mList[2] = second;
            }
            // A reversed element's triangles say so as its whole face does, so that every reader
            // turns both the same way.
            record->mFlags |= SimpleElem::kNormalOriented;
            if (element.mFlags & FaceVert::kReverseNorm)
                record->mFlags |= SimpleElem::kReverseNorm;
            if (element.mFlags & FaceVert::kReversed)
                record->mFlags |= SimpleElem::kReversed;
            if (region.mOpacity == 0.0f)
                record->mFlags |= SimpleElem::kHidden;
            record->mNormal = normal;
            record->mColor = ColorToRGB(region.mColor1);
            record->mBackColor = ColorToRGB(region.mColor2);
            record->mOpacity = region.mOpacity;
            record->mId = FaceType::GetIndex(element.mFaceType);
            if (first)
                record->mText = element.mText;
            const auto* imageOwner = static_cast<const FaceVert*>(region.mImageOwner);
            if (FaceImage* image = imageOwner ? imageOwner->mImage.Get() : nullptr)
                if (FaceImage* clone = FaceImage::CloneFor(image, nullptr, &record->mImage))
                    clone->mOwner = record;
            first = false;
        }
    }
}

// The elements that a compound part leaves out get the visit mark: with keep, those of every other
// part; otherwise the part's own.
void MarkLeftOutParts(Poly& poly, CompoundPart* part, bool keep)
{
    std::vector<FaceVert*> buffer(size_t(poly.mFaces.mCount) + size_t(poly.mVerts.mCount) + 1);
    for (CompoundPart* p = poly.mFirstPart; p; p = p->mNext)
        if ((p == part) != keep && p->mFirstFace && !(p->mFirstFace->mFlags & FaceVert::kVisitMark))
            p->mFirstFace->CollectConnected(buffer.data());
}
}  // namespace

std::unique_ptr<SimplePoly> Poly::CreateSimplePolyFromView(uint32_t flags, VertexPair** edgeList, bool* fromModel,
                                                           void* view)
{
    std::unique_ptr<SimplePoly> simplePoly = ConvertViewToSimplePoly(flags, edgeList, fromModel, view);
    if (!simplePoly)
        return nullptr;
    if (simplePoly->mLink.empty())
        simplePoly->SetLink(GetLink());
    if (simplePoly->mComments.empty())
        simplePoly->SetComments(GetComments());
    if (mFlags & kIs4D)
        simplePoly->mFlags |= SimplePoly::kFrom4D;
    return simplePoly;
}

std::unique_ptr<SimplePoly> Poly::ConvertViewToSimplePoly(uint32_t flags, VertexPair** edgeList, bool* fromModel,
                                                          void* view)
{
    ScopedWaitCursor wait;
    if (edgeList)
        *edgeList = nullptr;
    if (fromModel)
        *fromModel = false;

    if (!(flags & (kConvertBase | kConvertDual)))
    {
        Shell& shell = GetShell();
        const int type = shell.ViewTypeCode(view ? view : shell.ActiveView());
        bool refused = false;
        switch (type)
        {
        case kViewTypePoly:
            flags |= kConvertBase;
            break;
        case kViewTypeDual:
            flags |= kConvertDual;
            break;
        case kViewTypeCompound:
        case kViewTypeFacetDiagram:
        // The faceting preview, the base/dual compound, the morphs and the 4D cell, vertex-figure,
        // cross-section and net views make their models with converters of their own, which this
        // build does not have: they refuse rather than hand over the plain model in their place.
        case kViewTypeFacetPreview:
        case kViewTypePolyAndDual:
        case kViewTypeMorphSizing:
        case kViewTypeMorphTruncating:
        case kViewTypeMorphAugmentation:
        case kViewTypeMorphWithRects:
        case kViewTypeMorphTiltQuads:
        case kViewTypeMorphTiltTris:
        case kViewTypeMorphViaCompound:
        case kViewTypeMorphViaRectified:
        case kViewTypeMorphViaSnub:
            refused = true;
            break;
        default:
            if (mPolytope && (type == kViewTypeSlice || type == kViewTypeFace || type == kViewTypeVertexFigure ||
                              type == kViewTypeNet2D))
                refused = true;
            else if (ViewTypeHasAll(type, kViewFamilyStellation))
                return ConvertStellationView(type, flags, edgeList, fromModel);
            else
                flags |= mShowDual ? kConvertDual : kConvertBase;
            break;
        }
        if (refused)
        {
            if (!(flags & kConvertQuiet))
                ErrorMessage("Can't perform that operation from this type of view.\nPlease select another type of view "
                             "first.");
            return nullptr;
        }
    }

    if (edgeList)
        *edgeList = GetEdgeList(flags);
    if (fromModel)
        *fromModel = true;
    return CreateSimplePoly(flags, nullptr, nullptr);
}

std::unique_ptr<SimplePoly> Poly::ConvertStellationView(int viewType, uint32_t flags, VertexPair** edgeList,
                                                        bool* fromModel)
{
    // The shown side's stellation, as its mesh shows it.
    Stellation* stellation = GetShownStellation();
    Model3D* model = stellation ? stellation->GetModel3D(false) : nullptr;
    if (!model)
        return nullptr;
    // Only a folding net converts its folded state.
    if (viewType != kViewTypeNet3D)
        flags &= ~kConvertFolded;
    if (fromModel)
        *fromModel = true;
    return model->CreateSimplePoly(flags, edgeList);
}

VertexPair* Poly::GetEdgeList(uint32_t flags) const
{
    // A 4D model's edges are the polytope's, which it lists itself.
    if (mPolytope)
        return nullptr;
    const bool dual = (flags & kConvertDual) != 0;
    const ElemList& faces = dual ? static_cast<const ElemList&>(mVerts) : mFaces;
    VertexPair* list = nullptr;
    if (mEdges.count == 0)
    {
        const int color = int(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor));
        for (const FaceVert* f = faces.mFirst; f; f = f->mNext)
        {
            for (int k = 0; k < f->mNumSides; ++k)
            {
                const FaceVert* a = f->mNeighbours[k];
                const FaceVert* b = f->mNeighbours[(k + 1) % f->mNumSides];
                if (a && b && !AddVertexPair(a->mIndex, b->mIndex, color, list))
                    break;
            }
        }
        return list;
    }
    for (int i = 0; i < mEdges.count; ++i)
    {
        const Edge& edge = mEdges[i];
        if (PolyElement::IsHidden(&edge, dual))
            continue;
        const FaceVert* a = edge.GetEnd(dual, 0);
        const FaceVert* b = edge.GetEnd(dual, 1);
        if (a && b)
            AddVertexPair(a->mIndex, b->mIndex, int(ColorToRGB(edge.mColor)), list);
    }
    return list;
}

std::unique_ptr<SimplePoly> Poly::CreateSimplePoly(uint32_t flags, CompoundPart* part, void* view)
{
    ScopedWaitCursor wait;
    const bool dual = (flags & kConvertDual) != 0;

    if (mPolytope)
    {
        // Kept as the polytope itself, the 4D source of the plain model.
        Polytope4D* tope = dual ? mPolytope->GetDual() : mPolytope.get();
        if (!tope || !(flags & kConvertKeepPolytope))
            return nullptr;
        std::unique_ptr<Polytope4D> copy = Polytope4D::Copy(tope, Polytope4D::kCopyEdges);
        if (!copy)
            return nullptr;
        auto simplePoly = std::make_unique<SimplePoly>();
        simplePoly->InitFromPolytope4D(std::move(copy), !(flags & kConvertPolytopeUnscaled));
        NameSimplePoly((tope->mFlags & Polytope4D::kIsDual) != 0, *simplePoly, view);
        return simplePoly;
    }

    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    GetSideLists(dual, &faces, &verts, nullptr, nullptr);
    const bool dropSmall = (flags & kConvertDropSmall) != 0;
    const bool triangulate = (flags & kConvertTriangulate) != 0;

    if (dual && !triangulate && !(flags & kConvertAllowInfinite))
    {
        for (const FaceVert* e = mFaces.mFirst; e; e = e->mNext)
        {
            if (e->mFlags & FaceVert::kHemi)
            {
                ErrorMessage("This operation may not be performed on a model with infinite vertices");
                return nullptr;
            }
        }
    }

    const bool vertsOnly = (flags & kConvertVertsOnly) != 0;
    if (part && !vertsOnly)
    {
        if (!IsCompound())
        {
            ErrorMessage((flags & kConvertKeepPart) ? "Model only has one part." : "Can't remove only component.");
            return nullptr;
        }
        MarkLeftOutParts(*this, part, (flags & kConvertKeepPart) != 0);
    }
    const bool marking = part && !vertsOnly;
    auto isLeftOut = [&](const FaceVert* e) { return marking && (e->mFlags & FaceVert::kVisitMark); };

    // Records are numbered over the elements that go in.
    std::vector<int> vertIndex(size_t(verts->mCount), -1);
    std::vector<int> faceIndex(size_t(faces->mCount), -1);
    int numVerts = 0;
    for (const FaceVert* e = verts->mFirst; e; e = e->mNext)
        if (!isLeftOut(e))
            vertIndex[size_t(e->mIndex)] = numVerts++;
    int numFaces = 0;
    if (!vertsOnly && triangulate)
    {
        for (const FaceVert* e = faces->mFirst; e; e = e->mNext)
            if (!isLeftOut(e) && !(e->mFlags & FaceVert::kSkip) && e->mNumSides >= 3)
                numFaces += CountRegionTriangles(*e);
    }
    else if (!vertsOnly)
    {
        for (const FaceVert* e = faces->mFirst; e; e = e->mNext)
            if (!isLeftOut(e) && !(dropSmall && e->mNumSides < 3))
                faceIndex[size_t(e->mIndex)] = numFaces++;
    }

    auto simplePoly = std::make_unique<SimplePoly>(numVerts, numFaces);
    if ((numVerts > 0 && !simplePoly->mVerts) || (numFaces > 0 && !simplePoly->mFaces))
    {
        if (marking)
            ClearElementFlags(FaceVert::kVisitMark);
        return nullptr;
    }
    simplePoly->mFlags |= SimplePoly::kKeepOrientation;
    if (triangulate)
        simplePoly->mFlags |= SimplePoly::kMayGrow;
    ClearFaceImageClones();

    simplePoly->mNumVerts = numVerts;
    for (const FaceVert* e = verts->mFirst; e; e = e->mNext)
    {
        const int i = vertIndex[size_t(e->mIndex)];
        if (i < 0)
            continue;
        SimpleVert& record = simplePoly->mVerts[i];
        if (dual && (e->mFlags & FaceVert::kHemi))
            record.mFlags |= SimpleElem::kInf;
        record.SetPos(e->mPoint);
        CopyElementHeader(*e, record, *verts, vertIndex, VertRecord, *simplePoly);
    }

    simplePoly->mNumFaces = numFaces;
    if (!vertsOnly && triangulate)
    {
        int nextVert = numVerts;
        int f = 0;
        for (const FaceVert* e = faces->mFirst; e; e = e->mNext)
            if (!isLeftOut(e) && !(e->mFlags & FaceVert::kSkip) && e->mNumSides >= 3)
                AddRegionTriangles(*e, *simplePoly, nextVert, f);
        simplePoly->mNumVerts = nextVert;
        simplePoly->mNumFaces = f;
    }
    else if (!vertsOnly)
    {
        const FaceVert* selected = GetStellationFace();
        for (const FaceVert* e = faces->mFirst; e; e = e->mNext)
        {
            const int f = faceIndex[size_t(e->mIndex)];
            if (f < 0)
                continue;
            SimpleFace& record = simplePoly->mFaces[f];
            record.SetNumVerts(e->mNumSides);
            for (int k = 0; k < e->mNumSides; ++k)
            {
                const FaceVert* corner = e->mNeighbours[k];
                const int v = corner && corner->mList == verts ? vertIndex[size_t(corner->mIndex)] : -1;
                if (v >= 0)
                    record.SetVert(k, &simplePoly->mVerts[v]);
            }
            if (e->mFlags & FaceVert::kReverseNorm)
                record.mFlags |= SimpleElem::kReverseNorm;
            if (e->mFlags & FaceVert::kReversed)
                record.mFlags |= SimpleElem::kReversed;
            if (e->mFlags & FaceVert::kHemi)
                record.mFlags |= SimpleElem::kPlaneThroughCentre | SimpleElem::kNormalOriented;
            // The element's own axis: ReverseNorm, carried over, says which way it faces.
            record.mNormal = e->mNumSides == 0 && !(e->mFlags & FaceVert::kHemi) ? e->mCentre : e->mZAxis;
            CopyElementHeader(*e, record, *faces, faceIndex, FaceRecord, *simplePoly);
            record.mRots = e->GetNumRots();
            if (e == selected)
                simplePoly->mSelectedFace = &record;
        }
    }

    if (const SymGroup* group = GetSymGroup())
        simplePoly->SetSymGroup(group);
    simplePoly->mFlags |= SimplePoly::kKeepRealSize;
    if (mFlags & kConvex)
        simplePoly->mFlags |= SimplePoly::kConvex;
    if (mFlags & kRadiallyConvex)
        simplePoly->mFlags |= SimplePoly::kRadiallyConvex;
    if (mFlags & kNonSelfIntersecting)
        simplePoly->mFlags |= SimplePoly::kNonSelfIntersecting;
    if (mFlags & kIs4D)
        simplePoly->mFlags |= SimplePoly::kFrom4D;
    NameSimplePoly(dual, *simplePoly, view);

    if (!vertsOnly && !triangulate)
    {
        simplePoly->CreateVertexFaceLists(true);
        simplePoly->mFlags |= SimplePoly::kSortedFaceLists;
        // Each vertex lists its faces in the model's order round it.
        for (const FaceVert* e = verts->mFirst; e; e = e->mNext)
        {
            const int v = vertIndex[size_t(e->mIndex)];
            if (v < 0)
                continue;
            SimpleVert& record = simplePoly->mVerts[v];
            bool complete = record.mNum == e->mNumSides;
            for (int k = 0; complete && k < e->mNumSides; ++k)
            {
                const FaceVert* face = e->mNeighbours[k];
                complete = face && face->mList == faces && faceIndex[size_t(face->mIndex)] >= 0;
            }
            if (!complete)
                continue;
            for (int k = 0; k < e->mNumSides; ++k)
                record.mList[k] = &simplePoly->mFaces[faceIndex[size_t(e->mNeighbours[k]->mIndex)]];
        }
        if (!part && mEdges.count > 0 && simplePoly->AllocateEdges(mEdges.count))
        {
            for (int i = 0; i < mEdges.count; ++i)
            {
                const Edge& edge = mEdges[i];
                SimpleEdge& record = simplePoly->mEdges[i];
                record.mFlags = edge.mFlags;
                record.mType = edge.mType;
                record.mColor = ColorToRGB(edge.mColor);
                record.SetText(edge.GetText());
                for (int k = 0; k < 2; ++k)
                {
                    const FaceVert* end = edge.GetEnd(dual, k);
                    const FaceVert* side = edge.GetSide(dual, k);
                    const int v = end ? vertIndex[size_t(end->mIndex)] : -1;
                    const int f = side ? faceIndex[size_t(side->mIndex)] : -1;
                    record.mVerts[k] = v >= 0 ? &simplePoly->mVerts[v] : nullptr;
                    record.mFaces[k] = f >= 0 ? &simplePoly->mFaces[f] : nullptr;
                }
            }
        }
    }
    if (marking)
        ClearElementFlags(FaceVert::kVisitMark);
    return simplePoly;
}

void Poly::NameSimplePoly(bool dualSide, SimplePoly& simplePoly, void* view) const
{
    std::string name;
    std::string dualName;
    // The panes name the current model; any other (a library row built aside, a model kept for a
    // transition) keeps its own names.
    if (this != GetCurrentPoly() || !GetShell().ViewModelNames(view, name, dualName))
    {
        name = mBaseName;
        dualName = mDualName;
    }
    // A model nobody named stays unnamed.
    if (CompareStringsNoCase(name.c_str(), "Unnamed") == 0)
        name.clear();
    if (CompareStringsNoCase(dualName.c_str(), "Unnamed") == 0)
        dualName.clear();
    if (dualSide)
        std::swap(name, dualName);
    simplePoly.mName = name;
    simplePoly.mDualName = dualName;
    simplePoly.SetComments(GetComments());
    simplePoly.SetLink(GetLink());
}
