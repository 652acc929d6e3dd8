#include "kernel/Polygon3D.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/Transform3D.h"
#include "model/SimplePoly.h"

namespace
{
constexpr int kPickFacet = 14;
constexpr int kPickSimpleVert = 34;

// The same push outwards along the face's normal as the edge check gives its lines.
Vec3D ExplodeOffset(const SimpleFace& f, double explode)
{
    Vec3D offset;
    if (explode != 1.0 && f.mNum > 0 && f.GetVert(0))
        Vec3Scale(offset, f.mNormal, (explode - 1.0) * Vec3Dot(f.mNormal, f.GetVert(0)->mPos));
    return offset;
}

Transform3D Shifted(const Vec3D& offset)
{
    Transform3D map;
    map.m.SetIdentity();
    map.t = offset;
    return map;
}
}  // namespace

void SimplePoly::Draw(const Polygon3D* const* polys, const DrawOwner& owner, double explode, double scale)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    for (int fi = 0; fi < mNumFaces; ++fi)
    {
        const SimpleFace& f = mFaces[fi];
        if (f.mFlags & SimpleElem::kTemp)
            continue;
        const Vec3D offset = ExplodeOffset(f, explode);
        const bool selected = fi == owner.selectedFace;
        bool wasLit = false;
        if (selected)
        {
            wasLit = drawer.UseDefaultLights(false);
            drawer.SetMaterialColor3f(1.0f, 1.0f, 1.0f);
        }
        else if (GetRenderFlags() == 0)
            drawer.SetMaterialColorRGB(f.mColor);
        if (owner.pick == DrawOwner::kPickVerts)
        {
            for (int k = 0; k < f.mNum; ++k)
            {
                const SimpleVert* v = f.GetVert(k);
                if (!v)
                    continue;
                drawer.SetGLSelectionItem(kPickSimpleVert, v->GetIndex());
                Vec3D point;
                Vec3Add(point, v->mPos, offset);
                Vec3Scale(point, point, scale);
                drawer.DrawPoints(&point, 1);
            }
        }
        else
        {
            if (owner.pick == DrawOwner::kPickFaces)
                drawer.SetGLSelectionItem(kPickFacet, fi);
            if (polys && polys[fi])
                polys[fi]->DrawFilled(Shifted(offset), scale, nullptr);
        }
        if (selected && wasLit)
            drawer.UseRainbowLights(false);
    }
    if (owner.pick != DrawOwner::kPickNothing)
        drawer.ClearGLSelectionItem();

    const int sel = owner.selectedFace;
    if (sel >= 0 && sel < mNumFaces && !(mFaces[sel].mFlags & SimpleElem::kTemp) && polys && polys[sel])
    {
        // Once more on top, so that the selection shows through whatever lies in front of it.
        const bool wasLit = drawer.UseDefaultLights(false);
        drawer.SetMaterialColor4f(1.0f, 1.0f, 1.0f, owner.highlightAlpha);
        drawer.SetBlendMode(owner.transparencyType);
        drawer.SetDepthMode(false);
        polys[sel]->DrawFilled(Shifted(ExplodeOffset(mFaces[sel], explode)), scale, nullptr);
        drawer.SetDepthMode(true);
        drawer.SetBlendMode(0);
        if (wasLit)
            drawer.UseRainbowLights(false);
    }

    DrawEdgeCheck(explode, scale);
    drawer.SetBlendMode(2);
    drawer.SetDepthMode(false);
    DrawEdgeCheck(explode, scale);
    drawer.SetDepthMode(true);
    drawer.SetBlendMode(0);
}
