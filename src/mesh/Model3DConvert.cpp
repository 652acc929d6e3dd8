// A Model3D as a plain indexed polyhedron, and its edges as vertex pairs.

#include "mesh/Model3D.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/RingList.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/VertexFans.h"
#include "operations/VertexPair.h"
#include "stellation/Stellation.h"

#include <string>
#include <vector>

namespace
{
bool IsElementHidden(const FaceVert* element)
{
    return element && (element->mFlags & FaceVert::kHidden);
}

// Whether the options triangulate facelets of this type.
bool TriangulatesType(uint32_t options, const Face3DType& type)
{
    if (options & kMeshConvertTriangulateAll)
        return true;
    if ((options & kMeshConvertTriangulateNonConvex) && !(type.mFlags & kFace3DTypeConvex))
        return true;
    return (options & kMeshConvertTriangulateHoles) && type.mNumLoops > 1;
}

void SetFaceHeader(SimpleFace& out, const Face3D& face)
{
    const FaceVert* element = face.mElement;
    out.mColor = element ? ColorToRGB(element->mColor) : ColorToRGB(face.GetColor());
    out.mBackColor = element ? ColorToRGB(element->mBackColor) : out.mColor;
    out.mNormal = element ? element->GetNormal() : face.GetNormal();
    out.mFlags |= SimpleElem::kNormalOriented;
    if (IsElementHidden(element))
        out.mFlags |= SimpleElem::kHidden;
    if (face.mFlags & kFace3DReversed)
        out.mFlags |= SimpleElem::kReverseNorm;
}
}  // namespace

std::unique_ptr<SimplePoly> Model3D::CreateSimplePoly(uint32_t options, VertexPair** edgeList)
{
    if (edgeList)
        *edgeList = nullptr;
    if (!mFaceTypes)
        return nullptr;
    // The facelets in the folded placement of the nets: nothing to take while no nets are made.
    if (options & kMeshConvertFolded)
        return nullptr;
    if (edgeList)
        *edgeList = CreateEdgeList(0, nullptr);

    if (HasHoles() && !(options & kMeshConvertNoHolesWarning))
    {
        if (!AskOkCancel("Warning: this model has holes in some faces,\nwhich isn't allowed for base models, so "
                         "holes\nwill be turned into additional coplanar faces."))
        {
            if (edgeList)
                FreeVertexPairs(*edgeList);
            return nullptr;
        }
    }

    const bool triangulating =
        (options & (kMeshConvertTriangulateAll | kMeshConvertTriangulateNonConvex | kMeshConvertTriangulateHoles)) != 0;
    // One face per loop, or one per triangle of a triangulated type.
    int numFaces = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        const int perFacelet =
            TriangulatesType(options, *type) ? int(type->mTriIndices.size() / 3) : type->mNumLoops;
        numFaces += type->mNumFaces * perFacelet;
    }
    auto poly = std::make_unique<SimplePoly>(mNumVerts, numFaces);
    if ((mNumVerts > 0 && !poly->mVerts) || (numFaces > 0 && !poly->mFaces))
    {
        if (edgeList)
            FreeVertexPairs(*edgeList);
        return nullptr;
    }
    if (triangulating)
        poly->mFlags |= SimplePoly::kMayGrow;

    int runNumber = 0;
    for (int i = 0; i < mNumVerts; ++i)
    {
        const Vert3D& v = mVerts[size_t(i)];
        if (v.mFlags & kVert3DRunStart)
            ++runNumber;
        SimpleVert& out = poly->mVerts[i];
        out.SetPos(v.mPos);
        out.mId = runNumber;
    }
    int nextVert = mNumVerts;

    const FaceVert* selected = mStellation ? mStellation->mSelectedFace : nullptr;
    int f = 0;
    int loopTypeBase = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        const bool triangulate = TriangulatesType(options, *type);
        for (int k = 0; k < type->mNumFaces; ++k)
        {
            const Face3D& face = type->mFaces[size_t(k)];
            if (triangulate)
            {
                for (size_t t = 0; t + 2 < type->mTriIndices.size(); t += 3)
                {
                    SimpleFace& out = poly->mFaces[f++];
                    SetFaceHeader(out, face);
                    out.mFlags |= SimpleElem::kNormalOriented;
                    out.SetNumVerts(3);
                    for (int c = 0; c < 3; ++c)
                    {
                        const int e = type->mTriIndices[t + size_t(c)];
                        const Vert3D* v = e >= 0 && e < type->mNumSides ? face.mEdges[size_t(e)].mVert : nullptr;
                        if (v)
                            out.SetVert(c, poly->FindOrCreateVert(v->mPos, nextVert));
                    }
                }
                continue;
            }
            int start = 0;
            for (int loop = 0; loop < type->mNumLoops; ++loop)
            {
                const int size = type->mLoopSizes[size_t(loop)];
                SimpleFace& out = poly->mFaces[f++];
                SetFaceHeader(out, face);
                out.mId = loopTypeBase + loop;
                out.mRots = type->GetNumRots();
                // A hole or a separate piece off the element's centre does not turn with it.
                if (loop > 0 && face.mElement &&
                    !Vec3Equal(face.GetLoopCentroid(loop), face.mElement->mCentroid, 1e-7))
                    out.mRots = 1;
                if (face.mElement && face.mElement == selected)
                    poly->mSelectedFace = &out;
                out.SetNumVerts(size);
                for (int c = 0; c < size; ++c)
                {
                    const Vert3D* v = face.mEdges[size_t(start + c)].mVert;
                    if (!v)
                        continue;
                    if (triangulating)
                        out.SetVert(c, poly->FindOrCreateVert(v->mPos, nextVert));
                    else
                        out.SetVert(c, &poly->mVerts[Vert3D::GetIndex(v, this)]);
                }
                start += size;
            }
        }
        loopTypeBase += type->mNumLoops;
    }

    poly->mFlags |= SimplePoly::kKeepRealSize;
    if (!mStellation || mStellation->mState != kStellationBuilt)
        poly->mFlags |= SimplePoly::kNonSelfIntersecting;
    if (mPoly)
    {
        if (Stellation::IsOriginal(mStellation))
        {
            poly->SetName(mPoly->GetBaseName());
            poly->SetDualName(mPoly->GetDualName());
        }
        else
        {
            poly->SetName(mPoly->GetBaseName(), "Stellated ", true);
            poly->SetDualName(mPoly->GetDualName(), "Faceted ", true);
        }
    }

    if (triangulating)
    {
        poly->mNumVerts = nextVert;
        poly->mNumFaces = f;
        return poly;
    }

    // Each vertex lists its faces fan by fan round it; a vertex where separate fans meet becomes one
    // vertex per fan.
    poly->CreateVertexFaceLists(true);
    poly->mFlags |= SimplePoly::kSortedFaceLists;
    std::vector<VertexSplit> splits;
    for (int i = 0; i < mNumVerts; ++i)
    {
        Vert3D& v = mVerts[size_t(i)];
        SimpleVert& out = poly->mVerts[i];
        const int total = out.mNum;
        std::vector<std::vector<std::pair<SimpleFace*, int>>> fans;
        for (Edge3D* startEdge = v.mFirstEdge; startEdge; startEdge = startEdge->mNextAtVert)
        {
            if (startEdge->mFlags & kEdge3DScratch)
                continue;
            fans.emplace_back();
            for (Edge3D* e = startEdge; e && !(e->mFlags & kEdge3DScratch);)
            {
                e->mFlags |= kEdge3DScratch;
                const int loop = Edge3D::GetLoopNumber(e);
                if (loop >= 0 && loop < poly->mNumFaces)
                {
                    SimpleFace* face = &poly->mFaces[loop];
                    const int index = e->GetIndexInFace();
                    int loopStart = 0;
                    for (int l = 0, acc = 0; l < e->mFace->mType->mNumLoops; ++l)
                    {
                        const int size = e->mFace->mType->mLoopSizes[size_t(l)];
                        if (index < acc + size)
                        {
                            loopStart = acc;
                            break;
                        }
                        acc += size;
                    }
                    fans.back().push_back({face, index - loopStart});
                }
                Edge3D* previous = e->GetPrev();
                e = previous ? previous->mNeigh : nullptr;
            }
        }
        for (Edge3D* e = v.mFirstEdge; e; e = e->mNextAtVert)
            e->mFlags &= ~kEdge3DScratch;

        size_t listed = 0;
        for (const auto& fan : fans)
            listed += fan.size();
        if (listed == size_t(total) && total > 0)
        {
            int n = 0;
            for (const auto& fan : fans)
                for (const auto& [face, corner] : fan)
                    out.mList[n++] = face;
        }
        if (fans.size() < 2)
            continue;
        out.mFlags |= SimpleElem::kSplitMe;
        for (size_t fan = 0; fan + 1 < fans.size(); ++fan)
        {
            VertexSplit split;
            split.mVert = &out;
            for (const auto& [face, corner] : fans[fan])
            {
                split.mFaces.push_back(face);
                split.mCorners.push_back(corner);
            }
            splits.push_back(std::move(split));
        }
    }
    SplitVertices(*poly, splits);
    return poly;
}

VertexPair* Model3D::CreateEdgeList(int mode, SimplePoly* target)
{
    if (!mFaceTypes || mode != 0)
        return nullptr;
    (void)target;
    const int color = int(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor));
    VertexPair* list = nullptr;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        for (int k = 0; k < type->mNumFaces; ++k)
        {
            const Face3D& face = type->mFaces[size_t(k)];
            if (IsElementHidden(face.mElement))
                continue;
            for (int e = 0; e < type->mNumSides; ++e)
            {
                const Edge3D& edge = face.mEdges[size_t(e)];
                const int a = Vert3D::GetIndex(edge.mVert, this);
                const int b = Vert3D::GetIndex(edge.GetEndVert(), this);
                if (a >= 0 && b >= 0 && !AddVertexPair(a, b, color, list))
                    return list;
            }
        }
    }
    return list;
}
