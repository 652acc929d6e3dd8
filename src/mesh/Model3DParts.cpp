// Parts of a Model3D for the compound colouring, the diagram regions under whole faces, and the
// nets' colours.

#include "mesh/Model3D.h"

#include "kernel/Palette.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationSurface.h"

#include <cmath>
#include <unordered_map>
#include <vector>

namespace
{
// A fold below this (pi and a hair) is convex or flat and keeps a part together; a reflex fold is
// where two solids of a compound meet.
constexpr double kPartFoldLimit = 3.141592753589793;

bool IsUncoloured(const FaceVert* element)
{
    return element && element->mColor.r == -1.0f;
}

void ColorRing(FaceVert* element, const ColorRGB& color)
{
    FaceVert* e = element;
    do
    {
        e->mColor = color;
        e = e->mNextCoplanar;
    } while (e && e != element);
}

// Where the colouring of one element stands: which of its facelets, and which edge of it, is next.
struct PartFrame
{
    const std::vector<Face3D*>* facelets;
    size_t facelet;
    int edge;
};

// The diagram vertex of the type at the point (1e-7 per coordinate); null when none.
SegVert* FindDiagramVert(const FaceType& type, const Vec2D& p)
{
    for (SegVert* list : {type.mOuterVerts, type.mVerts})
        for (SegVert* v = list; v; v = v->mNext)
            if (Vec2Equal(v->mPos, p, kTol))
                return v;
    return nullptr;
}
}  // namespace

int Model3D::ColorParts()
{
    // The facelets of each element, in model order.
    std::unordered_map<const FaceVert*, std::vector<Face3D*>> byElement;
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
        for (int k = 0; k < type->mNumFaces; ++k)
            if (type->mFaces[size_t(k)].mElement)
                byElement[type->mFaces[size_t(k)].mElement].push_back(&type->mFaces[size_t(k)]);

    NextPaletteColor(nullptr, 0);
    int parts = 0;
    std::vector<PartFrame> stack;
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        for (int k = 0; k < type->mNumFaces; ++k)
        {
            FaceVert* seed = type->mFaces[size_t(k)].mElement;
            if (!IsUncoloured(seed))
                continue;
            ColorRGB color;
            NextPaletteColor(&color, 0);
            ++parts;
            // Depth first, in the order a recursion over elements, facelets and edges would take,
            // on a stack of our own: a large mesh is deeper than the call stack.
            auto enter = [&](FaceVert* element) {
                ColorRing(element, color);
                stack.push_back({&byElement[element], 0, 0});
            };
            enter(seed);
            while (!stack.empty())
            {
                PartFrame& frame = stack.back();
                if (frame.facelet >= frame.facelets->size())
                {
                    stack.pop_back();
                    continue;
                }
                const Face3D* face = (*frame.facelets)[frame.facelet];
                if (frame.edge >= face->mType->mNumSides)
                {
                    ++frame.facelet;
                    frame.edge = 0;
                    continue;
                }
                const Edge3D& edge = face->mEdges[size_t(frame.edge++)];
                if (edge.mDihedral >= kPartFoldLimit || !edge.mNeigh || !edge.mNeigh->mFace)
                    continue;
                FaceVert* across = edge.mNeigh->mFace->mElement;
                if (IsUncoloured(across))
                    enter(across);
            }
        }
    }
    return parts;
}

void Model3D::LinkFaceletRegions()
{
    if (!mFaceTypes || (mFlags & kModel3DRegionsLinked) || !mStellation)
        return;
    MarkAllUsedSegVerts(mStellation);
    mFlags |= kModel3DRegionsLinked;
    ElemList* list = mStellation->GetFaceList();
    for (FaceVert* element = list ? list->mFirst : nullptr; element; element = element->mNext)
    {
        if ((element->mFlags & FaceVert::kSkip) || !element->mFaceType)
            continue;
        const FaceType* type = element->mFaceType->mCoplanarSource ? element->mFaceType->mCoplanarSource
                                                                     : element->mFaceType;
        const Transform3D toLocal = element->GetWorldToLocal(false);
        Face3D* start = FaceVert::FindFace3D(element);
        Face3D* face = start;
        while (face)
        {
            if (face->mType && face->mType->mNumSides >= 2 && face->mEdges[0].mVert && face->mEdges[1].mVert)
            {
                Vec3D a, b;
                toLocal.Apply(a, face->mEdges[0].mVert->mPos);
                toLocal.Apply(b, face->mEdges[1].mVert->mPos);
                const Vec2D p{a.x, a.y};
                const Vec2D v{b.x - a.x, b.y - a.y};
                // Compare along the larger component of the first side.
                const bool alongX = std::fabs(v.x) > std::fabs(v.y);
                if (SegVert* at = FindDiagramVert(*type, p))
                {
                    StellationEdge* chosen = nullptr;
                    StellationEdge* firstEdge = at->mEdge;
                    StellationEdge* o = firstEdge;
                    for (int guard = 0; o && guard < 1000; ++guard)
                    {
                        const SegVert* end = o->GetEnd();
                        if (end)
                        {
                            const Vec2D d{end->mPos.x - p.x, end->mPos.y - p.y};
                            const double t = alongX ? d.x / v.x : d.y / v.y;
                            const double other = alongX ? t * v.y - d.y : t * v.x - d.x;
                            if (t > kTol && std::fabs(other) <= kTol)
                            {
                                chosen = o;
                                break;
                            }
                        }
                        // The next edge leaving the vertex, counterclockwise.
                        o = o->mPrev && o->mPrev->mTwin ? o->mPrev->mTwin : nullptr;
                        if (o == firstEdge)
                            break;
                    }
                    if (!chosen)
                        chosen = firstEdge;
                    if (chosen && (chosen->mFlags & kEdgeOnSurface) && chosen->mRegion)
                        face->mRegion = chosen->mRegion;
                    else if (chosen && chosen->mTwin && (chosen->mTwin->mFlags & kEdgeOnSurface) &&
                             chosen->mTwin->mRegion)
                        face->mRegion = chosen->mTwin->mRegion;
                }
            }
            face = face->mNextOnElement != start ? face->mNextOnElement : nullptr;
        }
    }
}
