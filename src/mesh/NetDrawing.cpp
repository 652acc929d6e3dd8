// The net panes' drawing: one net flat or folded, the selected edge and its partner, the mesh's
// cuttable edges in the model panes, and selecting facelets and edges.

#include "mesh/Net.h"

#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr ColorRGB kLabelColor{1.0f, 1.0f, 0.7f};
constexpr int kReflexStipple = 0x0F0F;

bool IsUserFacetNet(const Net& net)
{
    return !net.mFirstFace || !net.mFirstFace->mType || (net.mFirstFace->mType->mFlags & kFace3DTypeUserFacet);
}

Vec3D NetPoint(const Edge3D& e)
{
    return Vec3D{e.mNetPos.x, e.mNetPos.y, 0.0};
}

int VertIndex(const Model3D* model, const Vert3D* v)
{
    return model && v ? int(v - model->mVerts.get()) : -1;
}

void DrawSegment(SceneDrawer& drawer, const Vec3D& a, const Vec3D& b, const ColorRGB& c)
{
    const Vec3D ends[2] = {a, b};
    const float rgba[4] = {c.r, c.g, c.b, 1.0f};
    drawer.DrawLines(ends, rgba, 1);
}

// The flat label of the face angle at q1, placed inside the corner.
void DrawFaceAngle(SceneDrawer& drawer, const Vec2D& q0, const Vec2D& q1, const Vec2D& q2)
{
    double v = FaceAngleAt(q0, q1, q2);
    if (v < 0.0)
        v += 2.0 * kPi;
    char text[64];
    GetUnitSettings().FormatAngle(text, sizeof text, v, "\xC2\xB0");
    Vec2D u{q0.x - q1.x, q0.y - q1.y};
    const double length = std::hypot(u.x, u.y);
    if (length < kTol)
        return;
    u.x /= length;
    u.y /= length;
    // Clockwise by half the angle: towards the inside of a counter-clockwise outline.
    const double c = std::cos(-v / 2.0), s = std::sin(-v / 2.0);
    const Vec2D dir{u.x * c - u.y * s, u.x * s + u.y * c};
    const double bendX = (q2.x - q1.x) - (q1.x - q0.x), bendY = (q2.y - q1.y) - (q1.y - q0.y);
    const double k = std::hypot(bendX, bendY) / 4.0;
    drawer.DrawTextAtPoint(text, Vec2D{q1.x + k * dir.x, q1.y + k * dir.y}, 1);
}
}  // namespace

// ---- Flat ----

void Net::DrawUnfolded()
{
    const Net* first = mNetType ? mNetType->GetFirstNet() : nullptr;
    Model3D* model = GetModel();
    if (!first || !model)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const Vec3D zero{0, 0, 0};
    // Every copy has its type's first net's layout; the copy gives colours, labels and selection.
    for (const Face3D *g = first->mFirstFace, *s = mFirstFace; g && s; g = g->mNextInNet, s = s->mNextInNet)
        g->Draw(kFaceDrawNet, zero, 1.0, s);
    const Poly* poly = model->mPoly;
    if (model->mSelectedFace || (poly && poly->mSelectedFace))
    {
        const int blend = drawer.SetBlendMode(2);
        const bool highlight = SetFaceletHighlight(true);
        for (const Face3D *g = first->mFirstFace, *s = mFirstFace; g && s; g = g->mNextInNet, s = s->mNextInNet)
            if (s->IsSelected())
                g->Draw(kFaceDrawNet, zero, 1.0, s);
        SetFaceletHighlight(highlight);
        drawer.SetBlendMode(blend);
    }

    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const float width = GetRenderSettings().edgeWidth * drawer.LineScale();
    const float oldWidth = drawer.SetLineWidth(width);
    const bool lighting = drawer.SetLighting(false);
    DrawOverlays(false);
    const bool picking = drawer.IsPicking();
    const bool cutMode = GetMouseMode() == kMouseModeCutEdges;
    if (!IsKitStyle())
    {
        for (const Face3D *g = first->mFirstFace, *s = mFirstFace; g && s; g = g->mNextInNet, s = s->mNextInNet)
            for (int k = 0; k < g->mType->mNumSides; ++k)
            {
                const Edge3D& e = g->mEdges[size_t(k)];
                const Edge3D* next = e.GetNext();
                // A joined fold is drawn once, from its parent side; a cut from both sides.
                if (!next || (e.mFlags & kEdge3DJoinedOtherSide))
                    continue;
                if (picking)
                {
                    drawer.SetGLSelectionItem(23, Edge3D::GetRunningIndex(&s->mEdges[size_t(k)]));
                    DrawSegment(drawer, NetPoint(e), NetPoint(*next), options.mDefaultEdgeColor);
                    continue;
                }
                Vec3D a = NetPoint(e), b = NetPoint(*next);
                if (e.IsConvex())
                    drawer.SetLineStipple(0);
                else
                {
                    // Both sides of a cut dash alike: from the lower-numbered vertex.
                    drawer.SetLineStipple(kReflexStipple);
                    if (VertIndex(model, next->mVert) < VertIndex(model, e.mVert))
                        std::swap(a, b);
                }
                drawer.SetLineWidth(cutMode && (e.mFlags & kEdge3DUserCut) ? 3.0f * width : width);
                DrawSegment(drawer, a, b, e.mTab ? ColorRGB{0.0f, 0.0f, 0.0f} : options.mDefaultEdgeColor);
            }
        drawer.SetLineStipple(0);
        if (picking)
            drawer.ClearGLSelectionItem();
        drawer.SetLineWidth(width);
    }

    char text[64];
    drawer.SetColor3f(kLabelColor.r, kLabelColor.g, kLabelColor.b);
    const int diagnostic = GetDiagnosticLabelFlags();
    if ((diagnostic & kDiagnosticFaceletGroup) && !picking)
        for (const Face3D *g = first->mFirstFace, *s = mFirstFace; g && s; g = g->mNextInNet, s = s->mNextInNet)
        {
            Vec2D mean{0, 0};
            for (int k = 0; k < g->mType->mNumSides; ++k)
            {
                mean.x += g->mEdges[size_t(k)].mNetPos.x / g->mType->mNumSides;
                mean.y += g->mEdges[size_t(k)].mNetPos.y / g->mType->mNumSides;
            }
            const int number = (diagnostic & kDiagnosticFaceletNumbers) ? Face3D::GetIndex(s) : Face3DType::GetIndex(s->mType);
            std::snprintf(text, sizeof text, "%d", number);
            drawer.DrawTextAtPoint(text, mean, 1);
        }
    const int edgeData = GetUnitSettings().mNetEdgeData;
    if (edgeData && !picking)
    {
        std::string label;
        for (const Face3D *g = first->mFirstFace, *s = mFirstFace; g && s; g = g->mNextInNet, s = s->mNextInNet)
            for (int k = 0; k < g->mType->mNumSides; ++k)
            {
                const Edge3D& e = g->mEdges[size_t(k)];
                const Edge3D* next = e.GetNext();
                const Edge3D* prev = e.GetPrev();
                if (!next || !prev)
                    continue;
                if (s->mEdges[size_t(k)].GetLabel(label))
                    drawer.DrawTextAtPoint(label.c_str(), Vec2D{(e.mNetPos.x + next->mNetPos.x) / 2.0,
                                                                (e.mNetPos.y + next->mNetPos.y) / 2.0}, 1);
                if (edgeData & kNetFaceAngles)
                    DrawFaceAngle(drawer, prev->mNetPos, e.mNetPos, next->mNetPos);
            }
    }
    drawer.SetLighting(lighting);
    drawer.SetLineWidth(oldWidth);
    model->DrawSelectedEdge(1);
}

void Net::DrawOverlays(bool /*folded*/)
{
    // The sphere intersections and cell lines wait for the sphere list and the diagrams' lines.
}

// ---- Folded ----

void Net::DrawFolded(Model3D* model)
{
    if (IsUserFacetNet(*this) || !model)
        return;
    const double scale = model->mPoly ? model->mPoly->mDisplayScale : 1.0;
    const Vec3D zero{0, 0, 0};
    for (Face3D* f = mFirstFace; f; f = f->mNextInNet)
    {
        f->Draw(kFaceDrawFolded, zero, scale, nullptr);
        f->DrawFoldedExtras(model);
    }
}

void NetType::DrawFolded(Model3D* model)
{
    for (int i = 0; i < mNumNets; ++i)
        mNets[size_t(i)].DrawFolded(model);
}

void Model3D::DrawFoldedNets()
{
    PlaceNetsFolded();
    const int shown = GetNetsShownInFoldingView();
    if (shown == kNetsShownOne && mCurrentNet)
        mCurrentNet->DrawFolded(this);
    else if (shown == kNetsShownOneType && mCurrentNet)
        mCurrentNet->mNetType->DrawFolded(this);
    else
        for (NetType* type = mNetTypes; type; type = type->mNext)
            type->DrawFolded(this);
    DrawSelectedEdge(0);
}

// ---- Selection ----

bool Model3D::IsEdgeInShownNet(const Edge3D* edge, int mode) const
{
    if (!edge || !edge->mFace)
        return false;
    const Face3D* f = edge->mFace;
    if (mode == 1)
        return mCurrentNet && f->mNet == mCurrentNet;
    if (f->mType && (f->mType->mFlags & kFace3DTypeUserFacet))
        return false;
    if (mode != 0)
        return true;
    switch (GetNetsShownInFoldingView())
    {
    case kNetsShownOne:
        return mCurrentNet && f->mNet == mCurrentNet;
    case kNetsShownOneType:
        return !mCurrentNet || (f->mNet && f->mNet->mNetType == mCurrentNet->mNetType);
    default:
        return true;
    }
}

void Model3D::SelectFacelet(Face3D* face)
{
    if (face)
    {
        ::ClearSelection();
        if (mPoly && face->mElement)
            mPoly->SelectElement(face->mElement, face->mElement->IsVert());
        if (face->mNet)
            mCurrentNet = face->mNet;
        else if (mNetTypes)
            mCurrentNet = mNetTypes->GetFirstNet();
        char text[64] = "";
        if (face->mElement)
            std::snprintf(text, sizeof text, ", %s-face %d", face->mElement->IsVert() ? "dual" : "base",
                          FaceVert::GetNumber(face->mElement));
        SetStatusText("Selected facelet %d%s", Face3D::GetIndex(face), text);
    }
    mSelectedFace = face;
    GetShell().InvalidateAllViews(false, 0);
}

void Model3D::SelectEdge(Edge3D* edge)
{
    if (edge)
    {
        ::ClearSelection();
        if (edge->mFace && edge->mFace->mNet)
            mCurrentNet = edge->mFace->mNet;
        else if (mNetTypes)
            mCurrentNet = mNetTypes->GetFirstNet();
        std::string text = std::string("Selected edge ") + Edge3D::GetName(edge);
        if (edge->mNeigh)
            text += std::string(", neighbour ") + Edge3D::GetName(edge->mNeigh);
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, ", dihedral angle %.1f", edge->mDihedral * 180.0 / kPi);
        text += buffer;
        if (edge->mCoincEdge)
        {
            std::snprintf(buffer, sizeof buffer, " angle %.1f", edge->mCoincAngle * 180.0 / kPi);
            text += std::string(", coincident edge ") + Edge3D::GetName(edge->mCoincEdge) + buffer;
        }
        SetStatusText("%s", text.c_str());
    }
    if (edge != mSelectedEdge)
    {
        mSelectedEdge = edge;
        GetShell().InvalidateViewsOfType(kViewFamilyNet, 0);
    }
}

void Model3D::DrawSelectedEdge(int mode)
{
    Edge3D* edge = mSelectedEdge;
    if (!edge)
        return;
    if (mode == 1)
        edge = edge->GetFirstNetEdge();
    Edge3D* partner = edge->GetNeighInNet(false);
    const bool edgeShown = IsEdgeInShownNet(mSelectedEdge, mode);
    const bool partnerShown = partner && !(partner->mFlags & kEdge3DJoinBits) &&
                              IsEdgeInShownNet(mode == 1 ? mSelectedEdge->GetNeighInNet(false) : partner, mode);
    if (!edgeShown && !partnerShown)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const double scale = mPoly ? mPoly->mDisplayScale : 1.0;
    const auto at = [&](const Edge3D& e) {
        if (mode == 1)
            return NetPoint(e);
        Vec3D p;
        Vec3Scale(p, e.mFoldedPos, scale);
        return p;
    };
    const bool lighting = drawer.SetLighting(false);
    const float oldSize = drawer.SetPointSize(GetElementDisplayOptions().mVertSize * drawer.PointScale() + 4.0f);
    const float oldWidth = drawer.SetLineWidth(GetRenderSettings().edgeWidth * drawer.LineScale() * 3.0f);
    const auto drawPass = [&] {
        const auto one = [&](const Edge3D* e, const ColorRGB& c) {
            const Edge3D* next = e->GetNext();
            if (!next)
                return;
            const Vec3D ends[2] = {at(*e), at(*next)};
            drawer.SetColor3f(c.r, c.g, c.b);
            drawer.DrawPoints(ends, 2);
            DrawSegment(drawer, ends[0], ends[1], c);
        };
        if (edgeShown)
            one(edge, ColorRGB{1.0f, 1.0f, 1.0f});
        if (partnerShown)
            one(partner, ColorRGB{0.2f, 0.6f, 1.0f});
    };
    drawPass();
    if (mode == 0)
    {
        const bool depth = drawer.SetDepthTest(false);
        drawer.SetLineStipple(0x5555);
        drawPass();
        drawer.SetLineStipple(0);
        drawer.SetDepthTest(depth);
    }
    drawer.SetLineWidth(oldWidth);
    drawer.SetPointSize(oldSize);
    drawer.SetLighting(lighting);
}

// ---- The mesh's edges in the model panes ----

void Model3D::DrawEdgesOrCuts(double explosion, bool cutsOnly)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const float base = GetRenderSettings().edgeWidth * drawer.LineScale();
    const bool picking = drawer.IsPicking();
    const bool lighting = drawer.SetLighting(false);
    const float oldWidth = drawer.SetLineWidth(base);
    const double scale = mPoly ? mPoly->mDisplayScale : 1.0;
    const bool exploded = explosion != 1.0;
    const ColorRGB& edgeColor = GetElementDisplayOptions().mDefaultEdgeColor;
    int running = 0;
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
        for (int i = 0; i < type->mNumFaces; ++i)
        {
            Face3D& f = type->mFaces[size_t(i)];
            Vec3D d{0, 0, 0};
            if (exploded && f.mElement)
                Vec3Scale(d, f.mElement->mCentroid, explosion - 1.0);
            for (int k = 0; k < type->mNumSides; ++k, ++running)
            {
                Edge3D* q = &f.mEdges[size_t(k)];
                if (!(q->mFlags & kEdge3DCanonical) && !(exploded && !IsKitStyle()))
                    continue;
                int number = running;
                if (q->mCoincEdge)
                {
                    q = q->FindVisibleCoincEdge(
                        [&drawer](const Vec3D& p, const Vec3D& n) { return drawer.IsFacingViewer(p, n); });
                    number = Edge3D::GetRunningIndex(q);
                }
                const Edge3D* next = q->GetNext();
                if (!q->mVert || !next || !next->mVert)
                    continue;
                if (cutsOnly && !(q->mFlags & (kEdge3DCannotJoin | kEdge3DUserCut)))
                    continue;
                ColorRGB color = edgeColor;
                if (picking)
                    drawer.SetGLSelectionItem(23, number);
                else
                {
                    drawer.SetLineStipple(q->mDihedral > kPi + kTol ? kReflexStipple : 0);
                    if (cutsOnly)
                    {
                        const bool user = q->mFlags & kEdge3DUserCut;
                        color = user ? ColorRGB{1.0f, 0.9f, 0.9f} : ColorRGB{1.0f, 0.7f, 0.7f};
                        drawer.SetLineWidth(user ? (GetRenderSettings().edgeWidth + 2.0f) * drawer.LineScale() : base);
                    }
                }
                Vec3D a, b;
                Vec3Add(a, q->mVert->mPos, d);
                Vec3Add(b, next->mVert->mPos, d);
                Vec3Scale(a, a, scale);
                Vec3Scale(b, b, scale);
                DrawSegment(drawer, a, b, color);
            }
        }
    if (picking)
        drawer.ClearGLSelectionItem();
    drawer.SetLineStipple(0);
    drawer.SetLineWidth(oldWidth);
    drawer.SetLighting(lighting);
}

void Model3D::DrawEdges(double explosion)
{
    DrawEdgesOrCuts(explosion, false);
}

void Model3D::DrawCutEdges(double explosion)
{
    DrawEdgesOrCuts(explosion, true);
}

// ---- Facelets back to front ----

void Model3D::SortFacesForDrawing(std::vector<Face3D*>& faces, const Vec3D& eye)
{
    std::vector<std::pair<double, Face3D*>> byDistance;
    byDistance.reserve(faces.size());
    for (Face3D* f : faces)
    {
        Vec3D d;
        Vec3Sub(d, f->GetCentroid(), eye);
        byDistance.emplace_back(Vec3LengthSq(d), f);
    }
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t i = 0; i < faces.size(); ++i)
        faces[i] = byDistance[i].second;

    // One pass, no retries: it improves the distance order rather than making an exact one.
    const size_t n = faces.size();
    for (size_t i = 0; i + 1 < n;)
    {
        Face3D* a = faces[i];
        const Vec3D cA = a->GetCentroid();
        const double eyeA = a->GetDistance(eye);
        size_t next = i + 1;
        for (size_t j = i + 1; j < n; ++j)
        {
            Face3D* b = faces[j];
            const Vec3D cB = b->GetCentroid();
            const double sA = eyeA * a->GetDistance(cB);
            const double sB = b->GetDistance(eye) * b->GetDistance(cA);
            if (sA > kTol && sB < kTol)
                break;
            if (sA >= -kTol)
                continue;
            // b lies behind a's plane: it goes before a, unless a facelet between them must stay
            // behind b.
            bool blocked = false;
            for (size_t k = j; k > i && !blocked; --k)
            {
                const Face3D* d = faces[k];
                blocked = sB < -kTol && d->GetDistance(eye) * d->GetDistance(cB) > kTol;
            }
            if (!blocked)
            {
                std::rotate(faces.begin() + std::ptrdiff_t(i), faces.begin() + std::ptrdiff_t(j),
                            faces.begin() + std::ptrdiff_t(j) + 1);
                next = i + 2;
            }
            break;
        }
        i = next;
    }
}

void Model3D::DrawFaces(double explosion)
{
    std::vector<Face3D*> faces;
    const bool leaveRing = mPoly && mPoly->GetSelectedFaceDisplay(0) == 1;
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
        for (int i = 0; i < type->mNumFaces; ++i)
        {
            Face3D* f = &type->mFaces[size_t(i)];
            if (leaveRing && f->mElement && mPoly->IsInSelectedFaceRing(f->mElement))
                continue;
            faces.push_back(f);
        }
    SceneDrawer& drawer = CurrentSceneDrawer();
    SortFacesForDrawing(faces, drawer.GetEyePosition());
    const double scale = mPoly ? mPoly->mDisplayScale : 1.0;
    for (Face3D* f : faces)
    {
        Vec3D d{0, 0, 0};
        if (explosion != 1.0 && f->mElement)
            Vec3Scale(d, f->mElement->mCentroid, explosion - 1.0);
        f->Draw(kFaceDrawModel, d, scale, nullptr);
    }
}
