// Folded placement of nets for the Folding Net pane: each net turns about its root facelet and
// hangs its facelets on their joined folds, and the pane's fit points.

#include "mesh/Model3D.h"

#include "kernel/FitPointSink.h"
#include "kernel/SceneParameters.h"
#include "kernel/Tolerance.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Net.h"
#include "mesh/Vert3D.h"
#include "model/FaceVert.h"

#include <cmath>
#include <vector>

namespace
{
int gNetsShown = kNetsShownAll;

bool IsUserFacetNet(const Net& net)
{
    return !net.mFirstFace || !net.mFirstFace->mType || (net.mFirstFace->mType->mFlags & kFace3DTypeUserFacet);
}

Vec3D StartPos(const Edge3D& e)
{
    return e.mVert ? e.mVert->mPos : Vec3D{0, 0, 0};
}

// The normal about which the facelet's first loop winds counter-clockwise (Newell), so that the
// inside of every edge lies at normal x edge whatever the facelet's flags say.
Vec3D WindingNormal(const Face3D& f)
{
    Vec3D n{0, 0, 0};
    const int count = f.mType->mLoopSizes.empty() ? f.mType->mNumSides : f.mType->mLoopSizes[0];
    for (int i = 0; i < count; ++i)
    {
        const Vec3D a = StartPos(f.mEdges[size_t(i)]);
        const Vec3D b = StartPos(f.mEdges[size_t((i + 1) % count)]);
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    Vec3Normalize(n);
    return n;
}

// The rigid placement as a translation after a turn about a line.
Transform3D TurnAbout(const Vec3D& point, const Vec3D& axis, double angle)
{
    Transform3D t;
    t.m.SetRotation(axis, angle);
    Vec3D turned;
    t.m.Transform(turned, point);
    Vec3Sub(t.t, point, turned);
    return t;
}

void ApplyPlacement(Face3D& f, const Transform3D& placement)
{
    const int n = f.mType->mNumSides;
    for (int k = 0; k < n; ++k)
        placement.Apply(f.mEdges[size_t(k)].mFoldedPos, StartPos(f.mEdges[size_t(k)]));
    if (f.mElement)
        Transform3D::Multiply(f.mFoldTransform, placement, f.mElement->GetLocalFrame(false));
    else
        f.mFoldTransform = placement;
}

struct PendingFace
{
    Face3D* face;
    Transform3D placement;
};
}  // namespace

int GetNetsShownInFoldingView()
{
    return gNetsShown;
}

void SetNetsShownInFoldingView(int shown)
{
    gNetsShown = shown;
}

void Model3D::PlaceNetsFolded()
{
    const double r = GetSceneParameters().foldRatio;
    if (r == mFoldAmount)
        return;
    mFoldAmount = r;
    double a = r, b = 1.0;
    if (!HasSingleNet())
    {
        // Pieces first fold where they were thrown out, then come together.
        if (r >= 0.5)
        {
            a = 1.0;
            b = 2.0 * r - 1.0;
        }
        else
        {
            a = 2.0 * r;
            b = 0.0;
        }
    }
    for (NetType* type = mNetTypes; type; type = type->mNext)
        type->PlaceFolded(a, b);
}

void NetType::PlaceFolded(double a, double b)
{
    for (int i = 0; i < mNumNets; ++i)
        mNets[size_t(i)].PlaceFolded(a, b);
}

void Net::PlaceFolded(double a, double b)
{
    if (IsUserFacetNet(*this))
        return;
    Face3D* root = mFirstFace;
    Vec3D offset;
    Vec3Scale(offset, mCentre, 1.0 - b);

    Vec3D n = root->GetNormal();
    Transform3D turn;
    const double centreLength = Vec3Length(mCentre);
    if (centreLength > kTol)
    {
        if (Vec3Dot(n, mCentre) < 0.0)
            Vec3Negate(n);
        const double x = Vec3Dot(n, mCentre) / centreLength;
        if (x < 1.0)
        {
            const double t = x <= -1.0 ? kPi : std::acos(x);
            Vec3D axis;
            Vec3Cross(axis, n, mCentre);
            if (t > kSymTol && Vec3Normalize(axis))
                turn = TurnAbout(mCentre, axis, (1.0 - a) * t);
            else if (t > kSymTol)
            {
                // Facing straight inwards: any axis across the centre direction turns it out.
                Vec3Perpendicular(axis, mCentre);
                Vec3Normalize(axis);
                turn = TurnAbout(mCentre, axis, (1.0 - a) * t);
            }
        }
    }
    Transform3D placement = turn;
    Vec3AddTo(placement.t, offset);
    placement.m.Transform(root->mFoldedNormal, n);
    ApplyPlacement(*root, placement);
    for (Face3D* f = root->mNextInNet; f; f = f->mNextInNet)
        f->mFlags &= ~kFace3DNetRoot;
    root->mFlags |= kFace3DNetRoot;

    // Hung face by face from the root; a list, not recursion, since a net may be a long chain.
    std::vector<PendingFace> pending{{root, placement}};
    while (!pending.empty())
    {
        const PendingFace item = pending.back();
        pending.pop_back();
        for (int k = 0; k < item.face->mType->mNumSides; ++k)
        {
            PendingFace child{nullptr, {}};
            child.face = item.face->mEdges[size_t(k)].FoldPlace(a, item.placement, child.placement);
            if (child.face)
                pending.push_back(child);
        }
    }
}

Face3D* Edge3D::FoldPlace(double a, const Transform3D& placement, Transform3D& childPlacement)
{
    // Glue tabs are placed with the tabs themselves; a tabbed edge is a cut and hangs no facelet.
    Edge3D* p = GetNeighInNet(false);
    if (!p || !(mFlags & kEdge3DJoinBits) || !p->mFace || !mFace || (p->mFace->mFlags & kFace3DNetRoot))
        return nullptr;
    Face3D* f = p->mFace;
    f->mFlags |= kFace3DNetRoot;

    // Turn f about the shared edge, in the model, from flat beside this facelet (a = 0) to its own
    // place (a = 1): flat is where f's inside points away from this facelet's inside.
    const Vec3D start = StartPos(*this);
    const Vec3D end = StartPos(*GetNext());
    Vec3D axis;
    Vec3Sub(axis, end, start);
    Vec3Normalize(axis);
    Vec3D insideA, insideF, away, reversed;
    Vec3Cross(insideA, WindingNormal(*mFace), axis);
    Vec3Neg(reversed, axis);
    Vec3Cross(insideF, WindingNormal(*f), reversed);
    Vec3Neg(away, insideA);
    Vec3D cross;
    Vec3Cross(cross, insideF, away);
    const double flatAngle = std::atan2(Vec3Dot(cross, axis), Vec3Dot(insideF, away));
    const Transform3D hinge = TurnAbout(start, axis, (1.0 - a) * flatAngle);
    Transform3D::Multiply(childPlacement, placement, hinge);

    childPlacement.m.Transform(f->mFoldedNormal, f->GetNormal());
    ApplyPlacement(*f, childPlacement);
    // The shared edge stays exactly shared.
    p->mFoldedPos = GetNext()->mFoldedPos;
    p->GetNext()->mFoldedPos = mFoldedPos;
    return f;
}

void Model3D::ExtendFoldedFitBounds(FitPointSink& sink)
{
    PlaceNetsFolded();
    const int shown = mCurrentNet ? GetNetsShownInFoldingView() : kNetsShownAll;
    for (NetType* type = mNetTypes; type; type = type->mNext)
        for (int i = 0; i < type->mNumNets; ++i)
        {
            Net& net = type->mNets[size_t(i)];
            if (shown == kNetsShownOne && &net != mCurrentNet)
                continue;
            if (shown == kNetsShownOneType && type != mCurrentNet->mNetType)
                continue;
            net.ExtendFitBounds(sink, true);
        }
}

void Net::ExtendFitBounds(FitPointSink& sink, bool folded) const
{
    if (IsUserFacetNet(*this))
        return;
    for (const Face3D* f = mFirstFace; f; f = f->mNextInNet)
        for (const int32_t index : f->mType->mTriIndices)
        {
            if (index < 0 || index >= f->mType->mNumSides)
                continue;
            const Edge3D& e = f->mEdges[size_t(index)];
            sink.ExtendFit(folded ? e.mFoldedPos : Vec3D{e.mNetPos.x, e.mNetPos.y, 0.0});
        }
}
