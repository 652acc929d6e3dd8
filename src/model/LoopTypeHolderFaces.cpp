#include "kernel/DiagramOutline.h"
#include "kernel/FaceImage.h"
#include "kernel/LoopType.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/SceneDrawer.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "operations/Augmenter.h"
#include "stellation/FaceType.h"

// The drawing of a model face's areas reads the model (elements, the augmentation, face types), so
// it lives here rather than with the rest of the holder in the kernel.

namespace
{
// Item types of a pick of a face's areas.
constexpr int kPickFace = 0;
constexpr int kPickVertex = 1;

const FaceVert* AsElement(const void* owner)
{
    return static_cast<const FaceVert*>(owner);
}

bool AllOwnersHidden(const LoopType& type, int kind)
{
    for (int32_t i = 0; i < type.mOwnerCount; ++i)
        if (!type.mOwners[i].IsHidden(kind, nullptr))
            return false;
    return true;
}

bool IsTargetType(const FaceType* type)
{
    if (!type)
        return false;
    if (type->mFlags & kFaceTypeAugmentTarget)
        return true;
    return IsReflexibilityMaintained() && type->mMirrorFace && (type->mMirrorFace->mFlags & kFaceTypeAugmentTarget);
}

bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// While the preview shows the added solid on the target faces, an area made only of such faces
// (the chosen face aside) is covered by the copies and left out.
bool CoveredByPreview(const LoopType& type, const Augmenter& augmenter)
{
    const FaceVert* chosen = augmenter.mFace;
    for (int32_t i = 0; i < type.mOwnerCount; ++i)
    {
        const FaceVert* owner = AsElement(type.mOwners[i].mOwner);
        if (owner == chosen)
            continue;
        if (!owner || !(augmenter.mFlags & Augmenter::kWhichFacesMask) || !IsTargetType(owner->mFaceType))
            return false;
        if ((augmenter.mFlags & Augmenter::kOnlySameColor) && (!chosen || !SameColor(owner->mColor, chosen->mColor)))
            return false;
    }
    return true;
}
}  // namespace

void LoopTypeHolder::DrawFace(const FaceVert* face, const Transform3D& frame, const Vec3D& offset,
                              double explodeScale, bool picking, bool selectedOnly, const ColorRGB* overrideColor,
                              const DiagramOutline& outline) const
{
    if (!face || !mLoopTypes || !outline.mLoopTypeTriangles || !outline.mPoints)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const int kind = outline.mOwnerKind;

    Vec3D centre;
    Vec3Add(centre, face->mCentre, offset);
    Vec3Scale(centre, centre, explodeScale);
    const bool front = drawer.IsFacingViewer(centre, face->mZAxis);
    unsigned flags = selectedOnly ? kTriangleDrawNow : 0u;
    if (face->mFlags & FaceVert::kConvexHull)
        flags |= front ? kTriangleQueueAfter : kTriangleQueueBefore;
    const Augmenter* augmenter = face->mPoly ? &face->mPoly->mAugmenter : nullptr;
    const bool preview = augmenter && augmenter->PreviewHidesAttachFaces(drawer.ShellView());

    for (int32_t k = 0; k < outline.mLoopTypeCount; ++k)
    {
        const LoopType& type = mLoopTypes[k];
        if (type.mOpacity == 0.0f || (selectedOnly && !type.IsSelected(kind, nullptr)))
            continue;
        if (picking && AllOwnersHidden(type, kind))
            continue;
        if (preview && CoveredByPreview(type, *augmenter))
            continue;
        if (picking)
        {
            const FaceVert* target = AsElement(type.NextOwner(kind, nullptr));
            drawer.SetGLSelectionItem(target && target->IsVert() ? kPickVertex : kPickFace, FaceVert::GetIndex(target));
        }

        bool forceWhite = selectedOnly;
        FaceImage* image = nullptr;
        FaceTexMapping mapping;
        if (!selectedOnly && type.mImageOwner && !overrideColor)
        {
            // The image lies as its owner places it, whichever face of the ring is drawn.
            const FaceVert* imageOwner = AsElement(type.mImageOwner);
            image = imageOwner->mImage.Get();
            if (image)
            {
                image->PrepareTexCoords(mapping, imageOwner->GetLocalFrame(false));
                if (!(image->mFlags & FaceImage::kUseFaceColor))
                    forceWhite = true;
            }
        }
        ColorRGB color;
        bool unlit = false;
        if (overrideColor)
            color = *overrideColor;
        else
            unlit = type.GetColor(color, forceWhite, front, kind, nullptr);
        const float rgba[4] = {color.r, color.g, color.b, selectedOnly ? 0.5f : type.mOpacity};

        const LoopTypeTriangles& t = outline.mLoopTypeTriangles[k];
        for (int32_t i = 0; i + 2 < t.mCount; i += 3)
        {
            Vec3D inPlane[3];
            Vec3D corners[3];
            bool inside = true;
            for (int c = 0; c < 3 && inside; ++c)
            {
                const int32_t index = t.mIndices[i + c];
                inside = index >= 0 && index < outline.mPointCount;
                if (!inside)
                    break;
                const Vec2D& p = outline.mPoints[index];
                frame.Apply(inPlane[c], Vec3D{p.x, p.y, 0.0});
                Vec3Add(corners[c], inPlane[c], offset);
            }
            if (inside)
                drawer.AddTriangle(corners, face->mZAxis, rgba, flags, explodeScale, image, image ? &mapping : nullptr,
                                   image ? inPlane : nullptr);
        }
        if (unlit)
            drawer.UseRainbowLights(false);
        if (picking)
            drawer.ClearGLSelectionItem();
    }
}
