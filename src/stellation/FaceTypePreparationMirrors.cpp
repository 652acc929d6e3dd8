#include "stellation/FaceTypePreparation.h"

#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"

#include <cmath>

namespace
{
double PlaneOffset(const FaceVert* face)
{
    return std::fabs(Vec3Dot(face->mCentre, face->mZAxis));
}

// The image of the face under m coincides with the other face: centre, plane and corners.
bool IsImageUnder(const FaceVert* face, const FaceVert* other, const Mat3& m)
{
    if (face->mNumSides <= 0 || !face->mNeighbours[0])
        return false;
    Vec3D centre, normal, corner;
    m.Transform(centre, face->mCentre);
    m.Transform(normal, face->mZAxis);
    m.Transform(corner, face->mNeighbours[0]->mPoint);
    return face->MatchesTransformed(other, centre, normal, corner, m, true, nullptr, nullptr);
}

// A 3D direction in the face's plane as a unit 2D direction of its frame.
Vec2D InFrame(const FaceVert* face, const Vec3D& direction)
{
    Vec2D d{Vec3Dot(direction, face->mXAxis), Vec3Dot(direction, face->mYAxis)};
    const double length = Vec2Length(d);
    if (length > kTol)
        Vec2Div(d, d, length);
    return d;
}

// The main axis as it lies in the face's plane; the x axis when it stands on the plane.
Vec2D DihedralMirrorDir(const FaceVert* face, const SymGroup& group)
{
    if (group.mNumAxisSets <= 0 || group.mAxisSets[0].mNumAxes <= 0)
        return Vec2D{1.0, 0.0};
    const Vec3D& axis = group.mAxisSets[0].mAxes[0].mDir;
    Vec3D inPlane;
    Vec3AddScaled(inPlane, axis, -Vec3Dot(axis, face->mZAxis), face->mZAxis);
    if (Vec3IsZero(inPlane, kSymTol))
        return Vec2D{1.0, 0.0};
    return InFrame(face, inPlane);
}

// The partner's faces all turn by the angle that takes the mirror-image face's x axis onto the
// reflected x axis of this type's first face: the partner's diagram is then this one's mirror image.
void ReflectPartnerFrames(const FaceVert* first, FaceType* partner, const FaceVert* image, const Mat3& reflection)
{
    Vec3D reflectedX;
    reflection.Transform(reflectedX, first->mXAxis);
    const double angle = Vec3SignedAngle(image->mXAxis, reflectedX, image->mZAxis);
    const double c = std::cos(angle), s = std::sin(angle);
    for (FaceVert* f = partner->mFirstFace; f; f = f->mNextOfType)
    {
        Vec3D x;
        Vec3Scale(x, f->mXAxis, c);
        Vec3AddScaledTo(x, s, f->mYAxis);
        Vec3SnapZero(x, kTol);
        f->mXAxis = x;
        Vec3Cross(f->mYAxis, f->mZAxis, x);
        Vec3SnapZero(f->mYAxis, kTol);
    }
}
}  // namespace

void CheckReflectivity(FaceType* type)
{
    if (!type || type->mMirrorFace)
        return;
    const SymGroup* group = type->mPoly ? type->mPoly->mGroup.get() : nullptr;
    Mat3 reflection;
    if (!group || !group->GetReflectionMatrix(reflection))
        return;
    FaceVert* first = type->mFirstFace;
    if (!first)
        return;
    type->mFlags &= ~(kFaceTypeReflexible | kFaceTypeHemiReflexible);

    Vec3D mirror;
    if (group->FindMirrorContaining(mirror, first->mZAxis))
    {
        type->mFlags |= kFaceTypeReflexible;
        Vec3D line;
        Vec3Cross(line, first->mZAxis, mirror);
        type->mMirrorDir = InFrame(first, line);
        Mat3 inMirror;
        group->GetReflectionMatrix(inMirror, SymGroup::kHorizontal, &mirror);
        if (IsImageUnder(first, first, inMirror))
        {
            for (FaceVert* f = first; f; f = f->mNextOfType)
            {
                if (IsImageUnder(first, f, reflection))
                {
                    type->mMirrorImageFace = f;
                    break;
                }
            }
            return;
        }
    }

    Vec3D reflectedNormal;
    reflection.Transform(reflectedNormal, first->mZAxis);
    const double offset = PlaneOffset(first);
    for (FaceType* t = type; t; t = t->mNextFaceType)
    {
        const FaceVert* tFirst = t->mFirstFace;
        if (!tFirst || tFirst->mNumSides != first->mNumSides || !WithinTol(PlaneOffset(tFirst), offset, kSymTol))
            continue;
        for (FaceVert* f = t->mFirstFace; f; f = f->mNextOfType)
        {
            if (!IsImageUnder(first, f, reflection))
                continue;
            if (t == type || t == type->mCoplanarSource)
            {
                type->mFlags |= kFaceTypeReflexible;
                if ((first->mFlags & FaceVert::kHemi) && group->HasCentralInversion())
                    type->mFlags |= kFaceTypeHemiReflexible;
                if (group->mKind == SymGroup::kDihedral)
                    type->mMirrorDir = DihedralMirrorDir(first, *group);
                return;
            }
            type->mMirrorImageFace = f;
            type->mMirrorFace = t;
            t->mMirrorFace = type;
            if (Vec3Dot(f->mZAxis, reflectedNormal) < 0.0)
            {
                for (FaceVert* g = t->mFirstFace; g; g = g->mNextOfType)
                {
                    Vec3Negate(g->mZAxis);
                    Vec3Negate(g->mXAxis);
                }
            }
            ReflectPartnerFrames(first, t, f, reflection);
            return;
        }
    }
}
