#include "model/StellationOptions.h"
#include "model/SymGroup.h"

namespace
{
// A frame whose third column is the unit vector d, so that a turn about z in the frame is a turn
// about d.
void AxisFrame(Mat3& frame, const Vec3D& d)
{
    Vec3D f, g;
    Vec3Perpendicular(f, d);
    Vec3Normalize(f);
    Vec3Cross(g, d, f);
    frame.SetColumns(f, g, d);
}

// The turn by 2*pi*num/den about the unit vector d, from the exact sine table.
void TurnAbout(Mat3& out, const Vec3D& d, int num, int den)
{
    Mat3 frame, turn, frameT, tmp;
    AxisFrame(frame, d);
    turn.SetAxisRotationExact(2, num, den);
    frameT.SetTranspose(frame);
    Mat3Mul(tmp, frame, turn);
    Mat3Mul(out, tmp, frameT);
}

// I - 2mm^T: the reflection in the plane through the origin with normal m.
void PlaneReflection(Mat3& out, const Vec3D& m)
{
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            out.At(row, col) = (row == col ? 1.0 : 0.0) - 2.0 * m[row] * m[col];
}

// The y axis stands in for the main axis of a group without axis classes.
const Vec3D kDefaultMainAxis = {0, 1, 0};
}  // namespace

bool SymGroup::NextOperation(SymOpIterator& it, bool includeIdentity, Mat3* out) const
{
    if (mNumAxisSets <= 0)
    {
        if (!includeIdentity || it.mSetIndex >= 0)
        {
            it.mSetIndex = it.mAxisIndex = it.mStep = -1;
            return false;
        }
        it.mSetIndex = 0;
        if (out)
            out->SetIdentity();
        return true;
    }

    if (it.mSetIndex < 0)
    {
        it.mSetIndex = 0;
        it.mAxisIndex = 0;
        it.mStep = includeIdentity ? 0 : 1;
    }
    else
    {
        ++it.mStep;
    }

    // Also settles a first step that is already a full turn (a 1-fold main axis without the
    // identity), which would otherwise give the identity that was not asked for.
    while (it.mSetIndex < mNumAxisSets && it.mStep >= mAxisSets[it.mSetIndex].mOrder)
    {
        it.mStep = 1;
        if (++it.mAxisIndex >= mAxisSets[it.mSetIndex].mNumAxes)
        {
            it.mAxisIndex = 0;
            do
                ++it.mSetIndex;
            while (it.mSetIndex < mNumAxisSets && mAxisSets[it.mSetIndex].mSkip);
        }
    }
    if (it.mSetIndex >= mNumAxisSets)
    {
        it.mSetIndex = it.mAxisIndex = it.mStep = -1;
        return false;
    }

    if (out)
    {
        const SymAxisSet& set = mAxisSets[it.mSetIndex];
        Vec3D d;
        Vec3Div(d, set.mAxes[it.mAxisIndex].mDir, Vec3Length(set.mAxes[it.mAxisIndex].mDir));
        TurnAbout(*out, d, it.mStep, set.mOrder);
    }
    return true;
}

bool SymGroup::NextOperationWithReflections(SymOpIterator& it, bool includeIdentity, Mat3* out,
                                            bool withReflections) const
{
    if (mReflection == kChiral || (!withReflections && !IsReflexibilityMaintained()))
        return NextOperation(it, includeIdentity, out);

    if (!NextOperation(it, includeIdentity, out))
    {
        if (it.mReflected)
        {
            it.mReflected = false;
            return false;
        }
        it.mReflected = true;
        if (!NextOperation(it, true, out))
        {
            it.mReflected = false;
            return false;
        }
    }
    if (it.mReflected && out)
    {
        Mat3 r, rotation = *out;
        if (GetReflectionMatrix(r))
            Mat3Mul(*out, rotation, r);
    }
    return true;
}

bool SymGroup::NextImproperOperation(SymOpIterator& it, Mat3& r, Mat3* out) const
{
    if (mReflection == kChiral)
        return false;
    if (it.mSetIndex < 0)
        GetReflectionMatrix(r);
    if (!NextOperation(it, true, out))
        return false;
    if (out)
    {
        const Mat3 rotation = *out;
        Mat3Mul(*out, rotation, r);
    }
    return true;
}

const Mat3* SymGroup::GetReflectionMatrix(Mat3& out, int kind, const Vec3D* v) const
{
    if (kind < 0)
        kind = mReflection;
    switch (kind)
    {
    case kChiral:
        return nullptr;
    case kCentralInversion:
        out.SetIdentity();
        Mat3Scale(out, -1.0);
        return &out;
    case kRotationReflection:
    {
        const Vec3D& a = v ? *v : mNumAxisSets > 0 ? mAxisSets[0].mAxes[0].mDir : kDefaultMainAxis;
        Vec3D unit;
        Vec3Div(unit, a, Vec3Length(a));
        Mat3 turn, reflection;
        TurnAbout(turn, unit, 1, 2 * MainOrder());
        // Callers pass unit axes; the reflection takes a as it is.
        PlaneReflection(reflection, a);
        Mat3Mul(out, turn, reflection);
        return &out;
    }
    default:
        if (!v && mMirrors.count <= 0)
            return nullptr;
        PlaneReflection(out, v ? *v : mMirrors[0].mDir);
        return &out;
    }
}

void SymGroup::Reflect(Vec3D& out, const Vec3D& p, int mirror) const
{
    if (mReflection == kCentralInversion)
    {
        Vec3Neg(out, p);
        return;
    }
    if (mReflection == kRotationReflection)
    {
        Mat3 m;
        GetReflectionMatrix(m, kRotationReflection);
        m.Transform(out, p);
        return;
    }
    ReflectInMirror(out, p, mirror);
}

void SymGroup::ReflectInMirror(Vec3D& out, const Vec3D& p, int mirror) const
{
    if (mirror < 0 || mirror >= mMirrors.count)
    {
        out = p;  // no such plane: nothing to reflect in
        return;
    }
    const Vec3D& n = mMirrors[mirror].mDir;
    Vec3AddScaled(out, p, -2.0 * Vec3Dot(p, n), n);
}
