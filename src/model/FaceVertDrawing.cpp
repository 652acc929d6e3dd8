#include "kernel/ColorToHtml.h"
#include "kernel/LineBatch.h"
#include "kernel/Polygon3D.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "kernel/Vec4D.h"
#include "kernel/ViewTypes.h"
#include "model/DrawnPolygon.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/LabelText.h"
#include "model/Poly.h"
#include "operations/PickedPoints.h"
#include "stellation/FaceType.h"
#include "stellation/FacetingSettings.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace
{
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kGrey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
constexpr int kFaceLabelBits = kDiagnosticFaceNumbers | kDiagnosticFaceTypeNumbers;
constexpr int kVertexLabelBits = kDiagnosticVertexNumbers | kDiagnosticVertexTypeNumbers;
constexpr int kAnyLabelBits = 0x3f;
constexpr int kPickVertex = 28;
constexpr int kPickFace = 29;

bool IsInfinite(const FaceVert* corner)
{
    return corner->mFlags & FaceVert::kHemi;
}

Vec3D OffsetScaled(const Vec3D& p, const Vec3D& o, double s)
{
    Vec3D out;
    Vec3Add(out, p, o);
    Vec3Scale(out, out, s);
    return out;
}

// The exploded anchor (centroid + (e - 1) centre) s; without the explosion term at exactly 1.
Vec3D ExplodedCentroid(const FaceVert& e, double s, double explosion)
{
    Vec3D anchor = e.mCentroid;
    if (explosion != 1.0)
        Vec3AddScaledTo(anchor, explosion - 1.0, e.mCentre);
    Vec3Scale(anchor, anchor, s);
    return anchor;
}

// A chord that ProjectSide gave in the element's plane, back in model space and then offset and
// scaled.
void AddLocalChord(LineBatch& batch, const Transform3D& toModel, const Vec2D& a, const Vec2D& b, const Vec3D& o,
                   double s)
{
    Vec3D pa, pb;
    toModel.Apply(pa, Vec3D{a.x, a.y, 0.0});
    toModel.Apply(pb, Vec3D{b.x, b.y, 0.0});
    batch.Add(OffsetScaled(pa, o, s), OffsetScaled(pb, o, s));
}

// The two ends of a side in one order whatever face draws it, so that both faces emit the same line.
void AddOrdered(LineBatch& batch, const FaceVert* a, const Vec3D& pa, const FaceVert* b, const Vec3D& pb)
{
    if (FaceVert::GetCombinedIndex(a) <= FaceVert::GetCombinedIndex(b))
        batch.Add(pa, pb);
    else
        batch.Add(pb, pa);
}

bool LabelsGrey(const Poly* poly)
{
    return poly && poly->mSelectedElement && (GetDiagnosticLabelFlags() & kAnyLabelBits);
}

// The text colour of labels, the font's texture and alpha blending, all put back on destruction.
class LabelState
{
public:
    explicit LabelState(const Poly* poly) : mDrawer(CurrentSceneDrawer())
    {
        mWasLit = mDrawer.SetLighting(false);
        mLift = GetTextOffset();
        mLiftMode = GetTextOffsetMode();
        SetSceneTextColor(LabelsGrey(poly) ? kGrey : kWhite);
        mDrawer.ApplyFontTextureState();
        mDrawer.SetBlendMode(2);
    }
    ~LabelState()
    {
        SetTextOffset(mLift, mLiftMode);
        SetSceneTextColor(kWhite);
        mDrawer.SetLighting(mWasLit);
        mDrawer.SetBlendMode(0);
        mDrawer.DisableTexture();
    }
    LabelState(const LabelState&) = delete;
    LabelState& operator=(const LabelState&) = delete;

private:
    SceneDrawer& mDrawer;
    bool mWasLit;
    double mLift;
    int mLiftMode;
};

bool RingMemberCounts(const FaceVert* member, const FaceVert* element)
{
    return !(member->mFlags & FaceVert::kHidden) && Vec3Equal(member->mCentroid, element->mCentroid, kTol);
}

double MeanEdgeLength(Stellation* stellation)
{
    return stellation ? stellation->GetMeanEdgeLength() : 1.0;
}

bool AllNeighboursHidden(const FaceVert* m)
{
    if (m->mNumSides <= 0)
        return false;
    for (int j = 0; j < m->mNumSides; ++j)
        if (m->mNeighbours[j] && !(m->mNeighbours[j]->mFlags & FaceVert::kHidden))
            return false;
    return true;
}
}  // namespace

ColorRGB FaceVert::GetDrawColor() const
{
    if (mPoly && FacetsExist(*mPoly))
    {
        const Polygon3D* polygon = mPoly->mCurrentDrawnPolygon;
        if (!polygon || polygon->IsInPlane(mPoint))
            return ColorRGB{0.0f, 1.0f, 0.0f};
        return ColorRGB{0.8f, 0.0f, 0.0f};
    }
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    return options.mColorVertsSameAsDualFace ? mColor : options.mDefaultVertColor;
}

void FaceVert::DrawCornerPoints(const Vec3D& o, double s) const
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    for (int i = 0; i < mNumSides; ++i)
    {
        const FaceVert* corner = mNeighbours[i];
        if (!corner || IsInfinite(corner) || PolyElement::IsHidden(corner, drawer.ShowsDual()))
            continue;
        drawer.SetMaterialColor(corner->GetDrawColor());
        const Vec3D point = OffsetScaled(corner->mPoint, o, s);
        drawer.DrawPoints(&point, 1);
    }
}

void FaceVert::DrawSide(int i, const Vec3D& o, double s, bool noWiden, LineBatch& batch)
{
    if (mNumSides <= 0)
        return;
    const int j = (i + 1) % mNumSides;
    const FaceVert* a = mNeighbours[i];
    const FaceVert* b = mNeighbours[j];
    if (!a || !b)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const Edge* edge = mEdges ? mEdges[i] : nullptr;
    if (edge && PolyElement::IsHidden(edge, drawer.ShowsDual()))
        return;
    const float width = GetRenderSettings().edgeWidth;
    const bool widen = edge && !noWiden && mPoly && mPoly->mSelectedElement == edge;
    if (widen)
    {
        batch.Flush();
        drawer.SetLineWidth(width * 3.0f * drawer.LineScale());
    }
    if (IsInfinite(a) || IsInfinite(b))
    {
        const Transform3D frame = GetWorldToLocal(false);
        const Transform3D toModel = GetLocalFrame(false);
        Vec2D points[5];
        if (IsInfinite(a))
        {
            if (ProjectSide(i, frame, points) == 5)
                AddLocalChord(batch, toModel, points[1], points[2], o, s);
        }
        else if (ProjectSide(j, frame, points) == 5)
            AddLocalChord(batch, toModel, points[0], points[3], o, s);
    }
    else
        AddOrdered(batch, a, OffsetScaled(a->mPoint, o, s), b, OffsetScaled(b->mPoint, o, s));
    if (widen)
    {
        batch.Flush();
        drawer.SetLineWidth(width * drawer.LineScale());
    }
}

void FaceVert::DrawHalfSide(int i, const Vec3D& o, double s, bool firstHalf, LineBatch& batch)
{
    if (mNumSides <= 0)
        return;
    const int before = (i + mNumSides - 1) % mNumSides;
    const FaceVert* p = mNeighbours[before];
    const FaceVert* q = mNeighbours[i];
    if (!p || !q)
        return;
    if (IsInfinite(p) || IsInfinite(q))
    {
        Vec2D points[5];
        if (ProjectSide(IsInfinite(q) ? i : before, GetWorldToLocal(false), points) != 5)
            return;
        const Transform3D toModel = GetLocalFrame(false);
        if (firstHalf)
            AddLocalChord(batch, toModel, points[0], points[3], o, s);
        else
            AddLocalChord(batch, toModel, points[1], points[2], o, s);
        return;
    }
    Vec3D from, to, mid;
    Vec3Add(from, p->mPoint, o);
    Vec3Add(to, q->mPoint, o);
    Vec3Midpoint(mid, from, to);
    if (firstHalf)
        to = mid;
    else
        from = mid;
    Vec3Scale(from, from, s);
    Vec3Scale(to, to, s);
    AddOrdered(batch, p, from, q, to);
}

void FaceVert::DrawSides(const Vec3D& o, double s)
{
    LineBatch batch;
    for (int i = 0; i < mNumSides; ++i)
    {
        Edge* edge = mEdges ? mEdges[i] : nullptr;
        batch.SetColor(*PolyElement::GetColor(edge));
        DrawSide(i, o, s, false, batch);
    }
}

void FaceVert::DrawNumber(double s, double explosion) const
{
    if (mFlags & kHidden)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool wasLit = drawer.SetLighting(false);
    char text[16];
    std::snprintf(text, sizeof text, "%d", GetNumber(this));
    const ColorRGB white{1.0f, 1.0f, 1.0f};
    drawer.DrawAxisTriad(text, ExplodedCentroid(*this, s, explosion), mXAxis, mYAxis, mZAxis, 0.3, &white);
    drawer.SetLighting(wasLit);
}

bool FaceVert::ShouldDrawText() const
{
    const bool numbers = (GetDiagnosticLabelFlags() & kFaceLabelBits) != 0;
    const bool showText = GetElementDisplayOptions().mShowText;
    if (!numbers && !(mList && mList->HasTexts() && showText))
        return false;
    if (mFlags & kSkipCopConcentric)
        return false;
    bool hasText = false;
    if (mFlags & kIsCopConcentric)
    {
        const FaceVert* m = this;
        do
        {
            hasText = RingMemberCounts(m, this) && m->HasText();
            m = m->mNextCoplanar;
        } while (!hasText && m && m != this);
    }
    else
        hasText = !(mFlags & kHidden) && HasText();
    if ((showText && hasText) || numbers)
        return !(mFlags & kHidden);
    return false;
}

void FaceVert::DrawText(const Vec3D& anchor, const Vec3D& direction, const Vec3D& normal)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    LabelState state(mPoly);

    LabelText label(mPoly, kDiagnosticFaceTypeNumbers, kDiagnosticFaceNumbers);
    const FaceVert* m = this;
    do
    {
        if (RingMemberCounts(m, this) && !label.AddMember(m))
            break;
        m = (mFlags & kIsCopConcentric) ? m->mNextCoplanar : nullptr;
    } while (m && m != this);

    const int flags = mPoly && this == mPoly->mSelectedFace ? kSceneTextSelected : 0;
    const double mean = MeanEdgeLength(GetStellation());
    double size = mPoly ? mPoly->GetTextSize(IsVert() ? 1 : 0, mean) : 1.0;
    if (drawer.IsPrinting())
        size = GetUnitSettings().ModelToTwips(size);
    if ((GetRenderSettings().faceTextSettings & 0xf) == 3)
        SetTextOffset(GetRadius(), 1);
    Vec3D at = anchor;
    if (IsKitStyle() && mPoly)
        Vec3AddScaledTo(at, mPoly->GetVertexSphereRadius(IsVert() ? 1 : 0, mean), normal);
    const bool net = (drawer.ViewTypeCode() & kViewFamilyNet) != 0;
    const bool depth = drawer.GetDepthMode();
    if (net)
        drawer.SetDepthMode(false);
    drawer.DrawSceneText(GetRenderSettings().faceTextSettings, at, size, label.Text(), flags, normal, &direction);
    if (net)
        drawer.SetDepthMode(depth);
}

void FaceVert::DrawTextOnFace(double s, double explosion)
{
    if (ShouldDrawText())
        DrawText(ExplodedCentroid(*this, s, explosion), mXAxis, mZAxis);
}

void FaceVert::DrawFacetingDiagram()
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const Transform3D frame = GetWorldToLocal(false);
    std::vector<const FaceVert*> others;
    std::vector<Vec3D> places;  // in the diagram, z = 0
    std::vector<bool> placed;
    for (const FaceVert* r = mList ? mList->mFirst : nullptr; r; r = r->mNext)
    {
        if (r == this || (r->mFlags & kSkip))
            continue;
        Vec2D p;
        const bool ok = ProjectNeighbour(r, frame, p);
        others.push_back(r);
        places.push_back(Vec3D{p.x, p.y, 0.0});
        placed.push_back(ok);
    }

    if (drawer.IsPicking())
    {
        for (size_t k = 0; k < others.size(); ++k)
            if (placed[k])
            {
                drawer.SetGLSelectionItem(IsFace() ? kPickFace : kPickVertex, others[k]->mIndex);
                drawer.DrawPoints(&places[k], 1);
            }
        drawer.ClearGLSelectionItem();
        return;
    }

    const FacetingSettings& faceting = GetFacetingSettings();
    Stellation* facetingSide = GetOtherStellation();
    const bool facetingExists = facetingSide && facetingSide->mFaceting.mFirstFacet;
    if (!(facetingExists && faceting.hideDiagram))
    {
        // The traces of the planes through this vertex and two others, greener the nearer they pass.
        const double largest = GetMaxChordDistance();
        LineBatch batch;
        for (size_t r = 0; r < others.size(); ++r)
            for (size_t t = r + 1; t < others.size(); ++t)
            {
                if (!placed[r] || !placed[t])
                    continue;
                const Vec2D a{places[r].x, places[r].y};
                const Vec2D b{places[t].x, places[t].y};
                Vec2D d;
                Vec2Sub(d, b, a);
                const double length = Vec2Length(d);
                if (length <= kTol)
                    continue;
                const double distance = std::fabs(Vec2Cross(a, d)) / length;
                const double w = largest > 0.0 ? (1.0 - (1.0 - distance) * (1.0 - distance)) / largest : 0.0;
                batch.SetColor(ColorRGB{float(1.0 - w), 1.0f, float(w)});
                batch.Add(places[r], places[t]);
            }
    }

    const float pointScale = drawer.PointScale();
    if (!(facetingExists && faceting.hideVertices))
    {
        drawer.SetPointSize(11.0f * pointScale);
        drawer.SetColor3f(1.0f, 1.0f, 1.0f);
        const Vec3D origin;
        drawer.DrawPoints(&origin, 1);
        const ColorRGB& vertexColor = GetElementDisplayOptions().mDefaultVertColor;
        for (size_t k = 0; k < others.size(); ++k)
        {
            if (!placed[k])
                continue;
            drawer.SetPointSize(7.0f * pointScale);
            drawer.SetColor3f(vertexColor.r, vertexColor.g, vertexColor.b);
            drawer.DrawPoints(&places[k], 1);
            drawer.SetPointSize(5.0f * pointScale);
            drawer.SetColor3f(others[k]->mColor.r, others[k]->mColor.g, others[k]->mColor.b);
            drawer.DrawPoints(&places[k], 1);
        }
        drawer.SetPointSize(pointScale);
    }

    if (GetMouseMode() == kMouseModeMeasure)
    {
        const Vec4D* measured = GetMeasurePoints();
        Vec3D table[kNumMeasurePoints];
        for (int k = 0; k < kNumMeasurePoints; ++k)
        {
            Vec2D p;
            const Vec3D point{measured[k].x, measured[k].y, measured[k].z};
            if (IsMeasurePointSet(measured[k]) && ProjectPoint(point, false, frame, p))
                table[k] = Vec3D{p.x, p.y, 0.0};
            else
                table[k] = Vec3D{std::numeric_limits<double>::max(), 0.0, 0.0};
        }
        drawer.Draw2DDiagram(table, kNumMeasurePoints);
    }
    else if (mPoly && mPoly->mCurrentDrawnPolygon && FacetsExist(*mPoly))
    {
        const int blend = drawer.SetBlendMode(2);
        DrawPolygon3D(*mPoly->mCurrentDrawnPolygon, frame, 1.0, this);
        drawer.SetBlendMode(blend);
    }

    const int bits = GetDiagnosticLabelFlags();
    if (!(bits & kVertexLabelBits))
        return;
    const FaceVert* selected = mPoly ? mPoly->mSelectedFace : nullptr;
    for (size_t k = 0; k < others.size(); ++k)
    {
        if (!placed[k])
            continue;
        const FaceVert* r = others[k];
        const bool bright = !selected || selected->IsFace() == r->IsFace() || r->HasNeighbour(selected);
        if (bright)
            drawer.SetColor3f(1.0f, 1.0f, 1.0f);
        else
            drawer.SetColor3f(0.6f, 0.6f, 0.6f);
        char text[32] = "";
        int n = 0;
        if (bits & kDiagnosticVertexTypeNumbers)
            n += std::snprintf(text + n, sizeof text - size_t(n), "%d", FaceType::GetNumber(r->mFaceType));
        if (bits & kDiagnosticVertexNumbers)
            std::snprintf(text + n, sizeof text - size_t(n), "%s%d", n ? "-" : "", GetNumber(r));
        drawer.DrawTextAtPoint(text, Vec2D{places[k].x, places[k].y}, 0);
    }
}

void ElemList::DrawNumbers(double s, double explosion) const
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool wasLit = drawer.SetLighting(false);
    for (const FaceVert* e = mFirst; e; e = e->mNext)
        e->DrawNumber(s, explosion);
    drawer.SetLighting(wasLit);
}

void ElemList::DrawTextsOnFaces(double s, double explosion)
{
    if (!(GetDiagnosticLabelFlags() & kFaceLabelBits) && (!HasTexts() || !GetElementDisplayOptions().mShowText))
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool wasLit = drawer.SetLighting(false);
    for (FaceVert* e = mFirst; e; e = e->mNext)
        e->DrawTextOnFace(s, explosion);
    drawer.SetLighting(wasLit);
}

void ElemList::DrawTextLabels(Poly* poly, double s, double explosion)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    if (!(GetDiagnosticLabelFlags() & kVertexLabelBits) && (!HasTexts() || !options.mShowText))
        return;
    if (!mFirst)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const int side = mFirst->IsFace() ? 1 : 0;
    double lift = 0.0;
    if (DrawSpheresAtVerts() && (options.mShowVerts || options.mShowStelVerts) && poly)
        lift = poly->GetVertexSphereRadius(side, MeanEdgeLength(mFirst->GetStellation()));
    const double size = poly ? poly->GetTextSize(side, MeanEdgeLength(mFirst->GetOtherStellation())) : 1.0;
    LabelState state(poly);
    const uint32_t settings = GetRenderSettings().vertexTextSettings;
    const bool exploded = explosion != 1.0;

    for (FaceVert* m = mFirst; m; m = m->mNext)
    {
        if ((m->mFlags & FaceVert::kCoplanar) || !m->mFaceType || m->mFaceType->IsCoplanarCopy())
            continue;
        const int flags = poly && m == poly->mSelectedFace ? kSceneTextSelected : 0;
        if ((settings & 0xf) == 3)
            SetTextOffset(m->GetRadius(), 1);
        Vec3D anchor = m->mPoint;
        if (!exploded)
            Vec3Scale(anchor, anchor, s);
        if (lift != 0.0)
            Vec3AddScaledTo(anchor, lift, m->GetNormal());

        LabelText label(poly, kDiagnosticVertexTypeNumbers, kDiagnosticVertexNumbers);
        const FaceVert* member = m;
        do
        {
            const bool counts = !AllNeighboursHidden(member) || options.mShowVerts;
            if (counts)
            {
                const bool more = label.AddMember(member);
                if (exploded)
                {
                    // Once for every face around the member, each at its own exploded place.
                    for (int j = 0; j < member->mNumSides; ++j)
                    {
                        const FaceVert* around = member->mNeighbours[j];
                        if (!around || label.Empty())
                            continue;
                        Vec3D at = anchor;
                        Vec3AddScaledTo(at, explosion - 1.0, around->mCentre);
                        Vec3Scale(at, at, s);
                        drawer.DrawSceneText(settings, at, size, label.Text(), flags, m->mZAxis, nullptr);
                    }
                    label.Clear();
                }
                else if (!more)
                    break;
            }
            member = member->mNextCoplanar;
        } while (member && member != m);
        if (!exploded && !label.Empty())
            drawer.DrawSceneText(settings, anchor, size, label.Text(), flags, m->mZAxis, nullptr);
    }
}
