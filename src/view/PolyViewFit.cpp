// The tight fit: the camera brought as close as the points the pane shows allow, as they are turned
// now, instead of as far as a sphere round the model in every turn needs.

#include "kernel/ViewTypes.h"
#include "kernel/WaitCursor.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "view/PolyView.h"

#include <memory>

namespace
{
// A face of a plain model moves out along its normal by its own distance times (explosion - 1), as
// the exploded drawing moves it.
Vec3D ExplodedFaceOffset(const SimpleFace& face, double explosion)
{
    Vec3D normal = face.mNormal;
    if (!Vec3Normalize(normal))
        return Vec3D{};
    const double distance = Vec3Dot(face.GetVert(0)->mPos, normal);
    Vec3D offset;
    Vec3Scale(offset, normal, (explosion - 1.0) * distance);
    return offset;
}
}  // namespace

bool CPolyView::CollectFitPoints(FitBounds& record) const
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    // The compound pane shows both sides; every other model pane one side as the converter sees it.
    std::unique_ptr<SimplePoly> sides[2];
    if (mViewType == kViewTypePolyAndDual)
    {
        sides[0] = poly->CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
        sides[1] = poly->CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr);
    }
    else
        sides[0] = poly->CreateSimplePolyFromView(Poly::kConvertQuiet | Poly::kConvertNoHolesWarning, nullptr,
                                                  nullptr, static_cast<NewView*>(const_cast<CPolyView*>(this)));
    const double scale = poly->mDisplayScale;
    const bool exploded = ExplosionApplies();
    bool any = false;
    for (const std::unique_ptr<SimplePoly>& side : sides)
    {
        if (!side)
            continue;
        if (exploded)
        {
            side->SetNormals(true);
            for (int f = 0; f < side->mNumFaces; ++f)
            {
                const SimpleFace& face = *side->GetFace(f);
                if (face.mNum < 3 || (face.mFlags & (SimpleElem::kHidden | SimpleElem::kTemp)))
                    continue;
                const Vec3D offset = ExplodedFaceOffset(face, mExplosion);
                for (int k = 0; k < face.mNum; ++k)
                {
                    const SimpleVert* v = face.GetVert(k);
                    if (v->mFlags & SimpleElem::kInf)
                        continue;
                    Vec3D p;
                    Vec3Add(p, v->mPos, offset);
                    Vec3Scale(p, p, scale);
                    ExtendFitBounds(record, p);
                    any = true;
                }
            }
            continue;
        }
        for (int i = 0; i < side->mNumVerts; ++i)
        {
            const SimpleVert* v = side->GetVert(i);
            if (v->mFlags & (SimpleElem::kInf | SimpleElem::kTemp) || v->IsHidden())
                continue;
            Vec3D p;
            Vec3Scale(p, v->mPos, scale);
            ExtendFitBounds(record, p);
            any = true;
        }
    }
    return any;
}

bool CPolyView::FitTight()
{
    ScopedWaitCursor wait;
    FitBounds record;
    // The margin is what the vertex balls and edge rods add round each point.
    BeginFitBounds(record, GetMarkerMargin(), 0.0);
    if (!CollectFitPoints(record))
        return false;
    ApplyFitBounds(record);
    return true;
}
