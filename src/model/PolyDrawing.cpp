#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/ColorSchemes.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <vector>

namespace
{
// The blend mode of a single face drawn over the model.
constexpr int kHighlightBlendMode = 1;
constexpr float kHighlightAlpha = 0.5f;

Vec3D ExplodeOffset(const FaceVert* face, double explodeScale)
{
    Vec3D offset;
    Vec3Scale(offset, face->mCentre, explodeScale - 1.0);
    return offset;
}

// The type whose diagram draws the face's ring: the plane owner of the first unskipped member's type.
FaceType* DiagramType(FaceVert* member)
{
    FaceType* type = member ? member->mFaceType : nullptr;
    while (type && type->mCoplanarSource)
        type = type->mCoplanarSource;
    return type;
}

bool RingHasVisibleMember(const FaceVert* face)
{
    const FaceVert* m = face->mNextCoplanar;
    while (m && m != face)
    {
        if (!(m->mFlags & (FaceVert::kHidden | FaceVert::kInf)))
            return true;
        m = m->mNextCoplanar;
    }
    return false;
}

// A face without a diagram, straight from its corners: a convex one as a fan of its finite corners,
// any other as a fan from its foot point, so that a star polygon fills its points.
void DrawPlainFace(const FaceVert* face, const Vec3D& offset, double scale, const float rgba[4])
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    std::vector<Vec3D> corners;
    for (int i = 0; i < face->mNumSides; ++i)
    {
        const FaceVert* corner = face->mNeighbours[i];
        if (!corner || (corner->mFlags & FaceVert::kHemi))
            continue;
        Vec3D p;
        Vec3Add(p, corner->mPoint, offset);
        corners.push_back(p);
    }
    const int n = int(corners.size());
    if (n < 3)
        return;
    const Vec3D normal = face->GetNormal();
    if (n == 3 || face->IsConvexPolygon())
    {
        for (int i = 1; i + 1 < n; ++i)
        {
            const Vec3D t[3] = {corners[0], corners[size_t(i)], corners[size_t(i + 1)]};
            drawer.AddTriangle(t, normal, rgba, 0, scale, nullptr, nullptr, nullptr);
        }
        return;
    }
    Vec3D foot;
    Vec3Add(foot, face->mCentre, offset);
    for (int i = 0; i < n; ++i)
    {
        const Vec3D t[3] = {foot, corners[size_t((i + n - 1) % n)], corners[size_t(i)]};
        drawer.AddTriangle(t, normal, rgba, 0, scale, nullptr, nullptr, nullptr);
    }
}

// The picking item of a facelet of a stellation mesh, named by its running index.
constexpr int kFaceletItem = 7;

// The outside of a facelet takes its element's colour on the side it faces; the inside the other.
void FaceletColor(const Face3D& facelet, bool outside, float rgba[4])
{
    const FaceVert* e = facelet.mElement;
    ColorRGB c = facelet.GetColor();
    if (e && !outside)
        c = (facelet.mFlags & kFace3DReversed) ? e->mColor : e->mBackColor;
    if (c.r < 0.0f && e)
        c = e->mColor;
    rgba[0] = c.r;
    rgba[1] = c.g;
    rgba[2] = c.b;
    rgba[3] = facelet.GetOpacity() < 1.0f ? facelet.GetOpacity() : 1.0f;
}

// The facelets the stellation mesh has in the element's plane, each by its type's triangles (a fan
// when the type has none).
void DrawElementFacelets(const FaceVert* element, const Vec3D& offset, double scale, const float color[4])
{
    Face3D* start = element->mFace3D;
    if (!start)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool picking = drawer.IsPicking();
    Face3D* facelet = start;
    do
    {
        const Face3DType* type = facelet->mType;
        if (type && type->mNumSides >= 3 && facelet->mEdges)
        {
            const Vec3D normal = facelet->GetNormal();
            const auto corner = [&](int edge) {
                Vec3D p;
                const Vert3D* v = facelet->mEdges[size_t(edge)].mVert;
                Vec3Add(p, v ? v->mPos : Vec3D{0, 0, 0}, offset);
                return p;
            };
            float rgba[4] = {color[0], color[1], color[2], color[3]};
            if (rgba[0] < 0.0f)
            {
                Vec3D foot = corner(0);
                Vec3Scale(foot, foot, scale);
                FaceletColor(*facelet, drawer.IsFacingViewer(foot, normal), rgba);
            }
            if (picking)
                drawer.SetGLSelectionItem(kFaceletItem, Face3D::GetIndex(facelet));
            const std::vector<int32_t>& tris = type->mTriIndices;
            if (tris.size() >= 3)
                for (size_t i = 0; i + 2 < tris.size(); i += 3)
                {
                    const Vec3D t[3] = {corner(tris[i]), corner(tris[i + 1]), corner(tris[i + 2])};
                    drawer.AddTriangle(t, normal, rgba, 0, scale, nullptr, nullptr, nullptr);
                }
            else
            {
                const int outer = type->mLoopSizes.empty() ? type->mNumSides : type->mLoopSizes[0];
                for (int i = 1; i + 1 < outer; ++i)
                {
                    const Vec3D t[3] = {corner(0), corner(i), corner(i + 1)};
                    drawer.AddTriangle(t, normal, rgba, 0, scale, nullptr, nullptr, nullptr);
                }
            }
            if (picking)
                drawer.ClearGLSelectionItem();
        }
        facelet = facelet->mNextOnElement;
    } while (facelet && facelet != start);
}

bool IsSolidKind(int kind)
{
    return (kind == 0 && !IsKitStyle()) || kind == 1 || kind == 3;
}
}  // namespace

int Poly::DrawBaseModel(double scale, double explodeScale)
{
    DrawSide(&mFaces, &mVerts, scale, explodeScale);
    return 0;
}

int Poly::DrawDualModel(double scale, double explodeScale)
{
    DrawSide(&mVerts, &mFaces, scale, explodeScale);
    return 0;
}

void Poly::DrawSide(ElemList* faces, ElemList* others, double scale, double explodeScale)
{
    if (mFlags & kIs4D)
    {
        if (!mPolytope)
            return;
        if (faces == &mFaces)
            mPolytope->Draw(scale * mDisplayScale);
        else
            mPolytope->DrawDual(scale * mDisplayScale);
        return;
    }
    DrawFaceList(faces, 0, scale * mDisplayScale, explodeScale, nullptr);
    if (faces)
        faces->DrawTextsOnFaces(scale * mDisplayScale, explodeScale);
    if (others)
        others->DrawTextLabels(this, scale * mDisplayScale, explodeScale);
}

void Poly::DrawStellationView(double scale, double explodeScale)
{
    if ((mFlags & kIs4D) || !GetFaceStellation()->GetModel3D(false))
        return;
    DrawFaceList(&mFaces, 8, scale * mDisplayScale, explodeScale, nullptr);
}

void Poly::DrawDualStellationView(double scale, double explodeScale)
{
    if ((mFlags & kIs4D) || !GetVertStellation()->GetModel3D(false))
        return;
    DrawFaceList(&mVerts, 8, scale * mDisplayScale, explodeScale, nullptr);
}

int Poly::DrawCompoundView(double scale, double explodeScale)
{
    Stellation* side = mShowDual ? GetVertStellation() : GetFaceStellation();
    ElemList* faces = mShowDual ? static_cast<ElemList*>(&mVerts) : &mFaces;
    if (mFlags & kIs4D)
        return 0;
    if (Stellation::IsOriginal(side) || !side->GetModel3D(false))
    {
        DrawFaceList(faces, 0, scale * mDisplayScale, explodeScale, nullptr);
        return 0;
    }
    DrawFaceList(faces, 8, scale * mDisplayScale, explodeScale, nullptr);
    return 8;
}

void Poly::DrawFaceList(ElemList* faces, int kind, double scale, double explodeScale, FaceVert* single)
{
    if (!faces)
        return;
    if (single)
    {
        if (!CurrentSceneDrawer().IsPicking())
            DrawFace(single, kind, scale, explodeScale, true);
        return;
    }
    for (FaceVert* f = faces->mFirst; f; f = f->mNext)
        DrawFace(f, kind, scale, explodeScale, false);
}

void Poly::DrawFace(FaceVert* face, int kind, double scale, double explodeScale, bool single)
{
    const bool solid = IsSolidKind(kind);
    // Coplanar faces are drawn once, through the first unskipped member of their ring.
    if (solid && (face->mFlags & FaceVert::kSkip) && !single)
        return;
    if (face->mFlags & (FaceVert::kHidden | FaceVert::kInf))
    {
        if (!(solid || kind == 8) || !RingHasVisibleMember(face))
            return;
    }
    const bool inSelectedRing = IsInSelectedFaceRing(face);
    if (GetSelectedFaceDisplay(kind) == 1 && inSelectedRing)
        return;
    float color[4] = {-1.0f, 0.0f, 0.0f, face->mOpacity < 1.0f ? face->mOpacity : 1.0f};
    SceneDrawer& drawer = CurrentSceneDrawer();
    int blend = -1;
    bool depthTest = true;
    bool offset = true;
    if (single)
    {
        color[0] = color[1] = color[2] = 1.0f;
        color[3] = kHighlightAlpha;
        blend = drawer.SetBlendMode(kHighlightBlendMode);
        depthTest = drawer.SetDepthTest(false);
        offset = drawer.SetPolygonOffsetFill(false);
    }
    int pass = 0;
    while (DrawFacePass(face, kind, scale, explodeScale, color, single, pass))
        ;
    if (single)
    {
        drawer.SetPolygonOffsetFill(offset);
        drawer.SetDepthTest(depthTest);
        drawer.SetBlendMode(blend);
    }
}

bool Poly::DrawFacePass(FaceVert* face, int kind, double scale, double explodeScale, const float color[4],
                        bool single, int& pass)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const Vec3D offset = ExplodeOffset(face, explodeScale);
    const bool picking = drawer.IsPicking();
    if (kind == 0 || kind == 3)
    {
        FaceVert* member = FaceVert::GetFirstUnskipped(face);
        FaceType* type = DiagramType(member);
        if (type && type->mDiagram && member->mLoopTypes.mLoopTypes && !IsKitStyle())
        {
            const ColorRGB white{1.0f, 1.0f, 1.0f};
            member->mLoopTypes.DrawFace(member, member->GetLocalFrame(false), ExplodeOffset(member, explodeScale),
                                        scale, picking, single, single && color[0] >= 0.0f ? &white : nullptr,
                                        type->mOutline);
            ++pass;
            return false;
        }
    }
    if (kind == 8)
    {
        DrawElementFacelets(face, offset, scale, color);
        ++pass;
        return false;
    }
    // A face drawn straight from its corners takes its colour as the viewer sees it.
    float rgba[4] = {color[0], color[1], color[2], color[3]};
    if (rgba[0] < 0.0f)
    {
        Vec3D foot;
        Vec3Add(foot, face->mCentre, offset);
        Vec3Scale(foot, foot, scale);
        const bool front = face->mBackColor.r < 0.0f ||
                           (face->mBackColor.r == face->mColor.r && face->mBackColor.g == face->mColor.g &&
                            face->mBackColor.b == face->mColor.b) ||
                           drawer.IsFacingViewer(foot, face->GetNormal());
        const ColorRGB& c = front ? face->mColor : face->mBackColor;
        rgba[0] = c.r;
        rgba[1] = c.g;
        rgba[2] = c.b;
    }
    if (picking)
        drawer.SetGLSelectionItem(face->IsVert() ? 1 : 0, face->mIndex);
    DrawPlainFace(face, offset, scale, rgba);
    if (picking)
        drawer.ClearGLSelectionItem();
    ++pass;
    return false;
}

void Poly::DrawSelectedFace(int kind, double scale, double explodeScale)
{
    FaceVert* face = mSelectedFace;
    if (!face || (face->mFlags & (FaceVert::kHidden | FaceVert::kInf)))
        return;
    if (GetSelectedFaceDisplay(kind) == 1)
    {
        DrawSelectedFaceDiagram(face, scale * mDisplayScale, explodeScale);
        return;
    }
    ElemList* list = face->IsVert() ? static_cast<ElemList*>(&mVerts) : &mFaces;
    DrawFaceList(list, kind, scale * mDisplayScale, explodeScale, face);
}

void Poly::DrawSelectedFaceDiagram(FaceVert* face, double scale, double explodeScale)
{
    // The first member of the coplanar ring whose type owns the diagram draws it for the ring.
    FaceVert* member = face;
    do
    {
        const FaceType* type = member->mFaceType;
        if (type && !type->IsCoplanarCopy() && type->mFirstRegion)
            break;
        member = member->mNextCoplanar;
    } while (member && member != face);
    if (!member || !member->mFaceType || member->mFaceType->IsCoplanarCopy())
        return;
    FaceType* type = member->mFaceType;
    // The colours tell front from back only once the cells are known.
    if (type->mStellation && !type->mStellation->IsBuilt())
        CreateStellation(type->mStellation, kStellationBuilt);
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lighting = drawer.SetLighting(false);
    type->DrawDiagramOnFace(member, ExplodeOffset(member, explodeScale), scale, 0);
    drawer.SetLighting(lighting);
}

int Poly::GetSelectedFaceDisplay(int kind) const
{
    if (kind != 0 && kind != 8)
        return 0;
    const FaceVert* face = mSelectedFace;
    if (!face || !face->mFaceType || !face->mFaceType->mFirstRegion)
        return 0;
    return SelectedFaceDisplay();
}

bool Poly::IsInSelectedFaceRing(const FaceVert* face) const
{
    const FaceVert* selected = mSelectedFace;
    if (!face || !selected || !face->mFaceType || !selected->mFaceType)
        return false;
    return FaceVert::IsInRingOf(face, selected);
}

void Poly::CollectVertexPoints(bool dual, double scale, double explodeScale, std::vector<Vec3D>& points,
                               std::vector<const FaceVert*>& elements) const
{
    const ElemList& verts = dual ? static_cast<const ElemList&>(mFaces) : mVerts;
    const ElemList& faces = dual ? static_cast<const ElemList&>(mVerts) : mFaces;
    const double s = scale * mDisplayScale;
    auto add = [&](const FaceVert* v, const Vec3D& offset) {
        Vec3D p;
        Vec3Add(p, v->mPoint, offset);
        Vec3Scale(p, p, s);
        points.push_back(p);
        elements.push_back(v);
    };
    if (explodeScale == 1.0)
    {
        for (const FaceVert* v = verts.mFirst; v; v = v->mNext)
            if (!(v->mFlags & (FaceVert::kHemi | FaceVert::kHidden)))
                add(v, Vec3D{0, 0, 0});
        return;
    }
    // Exploded: every face carries its own corners away.
    for (const FaceVert* f = faces.mFirst; f; f = f->mNext)
    {
        if (f->mFlags & (FaceVert::kHidden | FaceVert::kInf))
            continue;
        const Vec3D offset = ExplodeOffset(f, explodeScale);
        for (int i = 0; i < f->mNumSides; ++i)
        {
            const FaceVert* v = f->mNeighbours[i];
            if (v && !(v->mFlags & (FaceVert::kHemi | FaceVert::kHidden)))
                add(v, offset);
        }
    }
}

void Poly::CollectEdgeSegments(bool dual, double scale, double explodeScale, std::vector<Vec3D>& ends,
                               std::vector<const Edge*>& edges) const
{
    const double s = scale * mDisplayScale;
    for (int i = 0; i < mEdges.count; ++i)
    {
        const Edge& e = mEdges[i];
        if (e.mFlags & Edge::kHidden)
            continue;
        const auto v = e.GetVerts(dual);
        if (!v[0] || !v[1] || (v[0]->mFlags & FaceVert::kHemi) || (v[1]->mFlags & FaceVert::kHemi))
            continue;
        // Exploded edges follow each of their two faces.
        const auto sides = e.GetFaces(dual);
        const int copies = explodeScale == 1.0 ? 1 : 2;
        for (int k = 0; k < copies; ++k)
        {
            Vec3D offset{0, 0, 0};
            if (copies == 2 && sides[size_t(k)])
                offset = ExplodeOffset(sides[size_t(k)], explodeScale);
            for (const FaceVert* end : v)
            {
                Vec3D p;
                Vec3Add(p, end->mPoint, offset);
                Vec3Scale(p, p, s);
                ends.push_back(p);
            }
            edges.push_back(&e);
        }
    }
}

double Poly::GetCylinderRadius(int side, double meanEdgeLength, int count, double size, double length)
{
    return GetVertexSphereRadius(side, meanEdgeLength, count, size, length) * GetElementDisplayOptions().mCylinderRad;
}

void Poly::DrawVertices(bool dual, double scale, double explodeScale)
{
    if (mFlags & kIs4D)
        return;
    std::vector<Vec3D> points;
    std::vector<const FaceVert*> elements;
    CollectVertexPoints(dual, scale, explodeScale, points, elements);
    if (points.empty())
        return;
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    std::vector<float> colors;
    for (const FaceVert* v : elements)
    {
        const ColorRGB& c = options.mColorVertsSameAsDualFace ? v->mColor : options.mDefaultVertColor;
        colors.insert(colors.end(), {c.r, c.g, c.b, 1.0f});
    }
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (drawer.IsPicking())
    {
        // One name a vertex: each is drawn alone.
        for (size_t i = 0; i < points.size(); ++i)
        {
            drawer.SetGLSelectionItem(dual ? 29 : 28, elements[i]->mIndex);
            drawer.DrawPoints(&points[i], &colors[4 * i], 1, options.mVertSize);
        }
        drawer.ClearGLSelectionItem();
        return;
    }
    drawer.DrawPoints(points.data(), colors.data(), int(points.size()), options.mVertSize);
}

void Poly::DrawEdges(bool dual, double scale, double explodeScale)
{
    if (mFlags & kIs4D)
        return;
    std::vector<Vec3D> ends;
    std::vector<const Edge*> edges;
    CollectEdgeSegments(dual, scale, explodeScale, ends, edges);
    if (ends.empty())
        return;
    std::vector<float> colors;
    for (const Edge* e : edges)
        colors.insert(colors.end(), {e->mColor.r, e->mColor.g, e->mColor.b, 1.0f});
    SceneDrawer& drawer = CurrentSceneDrawer();
    if (drawer.IsPicking())
    {
        for (size_t i = 0; i < edges.size(); ++i)
        {
            drawer.SetGLSelectionItem(dual ? 20 : 19, Edge::GetIndex(edges[i], this));
            drawer.DrawLines(&ends[2 * i], &colors[4 * i], 1);
        }
        drawer.ClearGLSelectionItem();
        return;
    }
    drawer.DrawLines(ends.data(), colors.data(), int(edges.size()));
}

void Poly::DrawSelection(double scale, double explodeScale)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const double s = scale * mDisplayScale;
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    FaceVert* face = mSelectedFace;
    if (face && !(face->mFlags & FaceVert::kInf))
    {
        // The selected element shows as a vertex when it lies on the other side from the one shown.
        if (face->IsVert() != mShowDual)
        {
            if (!(face->mFlags & FaceVert::kHemi))
            {
                Vec3D p;
                Vec3Scale(p, face->mPoint, s);
                drawer.DrawPoints(&p, white, 1, GetElementDisplayOptions().mVertSize * 3.0f);
            }
        }
        else
        {
            std::vector<Vec3D> ends;
            std::vector<float> colors;
            const Vec3D offset = ExplodeOffset(face, explodeScale);
            for (int i = 0; i < face->mNumSides; ++i)
            {
                const FaceVert* a = face->mNeighbours[i];
                const FaceVert* b = face->mNeighbours[(i + 1) % face->mNumSides];
                if (!a || !b || (a->mFlags & FaceVert::kHemi) || (b->mFlags & FaceVert::kHemi))
                    continue;
                for (const FaceVert* end : {a, b})
                {
                    Vec3D p;
                    Vec3Add(p, end->mPoint, offset);
                    Vec3Scale(p, p, s);
                    ends.push_back(p);
                }
                colors.insert(colors.end(), white, white + 4);
            }
            if (!ends.empty())
            {
                const float width = drawer.SetLineWidth(3.0f);
                drawer.DrawLines(ends.data(), colors.data(), int(ends.size() / 2));
                drawer.SetLineWidth(width);
            }
        }
    }
    if (const Edge* e = mSelectedEdge)
    {
        const auto v = e->GetVerts(mShowDual);
        if (v[0] && v[1] && !(v[0]->mFlags & FaceVert::kHemi) && !(v[1]->mFlags & FaceVert::kHemi))
        {
            Vec3D ends[2];
            Vec3Scale(ends[0], v[0]->mPoint, s);
            Vec3Scale(ends[1], v[1]->mPoint, s);
            const float width = drawer.SetLineWidth(4.0f);
            drawer.DrawLines(ends, white, 1);
            drawer.SetLineWidth(width);
        }
    }
}
