#include "model/SymGroup.h"

#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"

#include <cmath>
#include <initializer_list>
#include <new>

namespace
{
const double kPhi = (std::sqrt(5.0) + 1.0) * 0.5;
const double kS3 = std::sqrt(1.0 / 3.0);
const double kS2 = std::sqrt(0.5);

struct AxisDef
{
    Vec3D dir;
    Vec3D ref;
};

// The 15 two-fold axes of the icosahedral group; every icosahedral reference is one of them.
struct IcosahedralAxes
{
    Vec3D five[6];
    Vec3D three[10];
    Vec3D two[15];
};

const IcosahedralAxes& Icosahedral()
{
    static const IcosahedralAxes axes = [] {
        const double d = std::sqrt(10.0 * std::sqrt(5.0) + 25.0);
        const double a5 = (kPhi + 2.0) / d;
        const double b5 = (3.0 * kPhi + 1.0) / d;
        const double t1 = kPhi / std::sqrt(3.0);
        const double t2 = (kPhi - 1.0) / std::sqrt(3.0);
        const double root = std::sqrt(2.0 * (std::sqrt(5.0) + 3.0));
        const double h = (kPhi + 1.0) / root;
        const double g = 1.0 / root;
        const double s3 = kS3;
        return IcosahedralAxes{
            {{a5, b5, 0}, {a5, -b5, 0}, {0, a5, b5}, {0, a5, -b5}, {b5, 0, a5}, {-b5, 0, a5}},
            {{t1, t2, 0},
             {t1, -t2, 0},
             {0, t1, t2},
             {0, t1, -t2},
             {t2, 0, t1},
             {-t2, 0, t1},
             {s3, s3, s3},
             {s3, s3, -s3},
             {s3, -s3, s3},
             {s3, -s3, -s3}},
            {{1, 0, 0},
             {0, 1, 0},
             {0, 0, 1},
             {h, 0.5, g},
             {h, 0.5, -g},
             {h, -0.5, g},
             {h, -0.5, -g},
             {g, h, 0.5},
             {g, h, -0.5},
             {g, -h, 0.5},
             {g, -h, -0.5},
             {0.5, g, h},
             {0.5, g, -h},
             {0.5, -g, h},
             {0.5, -g, -h}},
        };
    }();
    return axes;
}

// Which two-fold axis gives each icosahedral axis its reference.
const int kIcoFiveRef[6] = {5, 11, 8, 6, 10, 7};
const int kIcoThreeRef[10] = {10, 7, 0, 14, 6, 3, 12, 5, 4, 8};
const int kIcoTwoRef[15] = {2, 0, 1, 9, 10, 7, 8, 12, 11, 14, 13, 6, 5, 4, 3};

void SetAxis(SymAxisSet& set, int i, const Vec3D& dir, const Vec3D& ref)
{
    set.mAxes[i].mDir = dir;
    set.mAxes[i].mRef = ref;
}

void SetAxes(SymAxisSet& set, const AxisDef* defs)
{
    for (int i = 0; i < set.mNumAxes; ++i)
        SetAxis(set, i, defs[i].dir, defs[i].ref);
}

bool IsIdentityWithin(const Mat3& m, double tol)
{
    for (int i = 0; i < 9; ++i)
    {
        if (!WithinTol(m.m[i], i % 4 == 0 ? 1.0 : 0.0, tol))
            return false;
    }
    return true;
}

void TurnAndSnap(const Mat3& m, Vec3D& v)
{
    m.Transform(v, v);
    Vec3SnapZero(v, kSymTol);
}

bool IsOdd(int n)
{
    return (n < 0 ? -n : n) % 2 == 1;
}

const SymAxis* gSelectedAxis = nullptr;
}  // namespace

SymGroup::~SymGroup()
{
    gSelectedAxis = nullptr;
}

const SymAxis* SymGroup::SelectedAxis()
{
    return gSelectedAxis;
}

void SymGroup::SetSelectedAxis(const SymAxis* axis)
{
    gSelectedAxis = axis;
}

bool SymGroup::AllocateAxisSets(int count)
{
    mAxisSets.reset(new (std::nothrow) SymAxisSet[count]);
    mNumAxisSets = mAxisSets ? count : 0;
    return mAxisSets != nullptr;
}

std::unique_ptr<SymGroup> SymGroup::Create(int kind, int n)
{
    std::unique_ptr<SymGroup> group(new (std::nothrow) SymGroup);
    if (!group)
        return nullptr;
    group->mKind = kind;
    if (n < 1)
        n = 1;  // a zero or negative fold would size the axis arrays negatively

    bool ok = true;
    switch (kind)
    {
    case kIcosahedral:
    {
        if (!group->AllocateAxisSets(3))
            return nullptr;
        SymAxisSet* sets = group->mAxisSets.get();
        const IcosahedralAxes& ico = Icosahedral();
        ok = sets[0].Init(5, 6, 12) && sets[1].Init(3, 10, 20) && sets[2].Init(2, 15, 30);
        if (!ok)
            break;
        for (int i = 0; i < 6; ++i)
            SetAxis(sets[0], i, ico.five[i], ico.two[kIcoFiveRef[i]]);
        for (int i = 0; i < 10; ++i)
            SetAxis(sets[1], i, ico.three[i], ico.two[kIcoThreeRef[i]]);
        for (int i = 0; i < 15; ++i)
            SetAxis(sets[2], i, ico.two[i], ico.two[kIcoTwoRef[i]]);
        group->mOrder = 60;
        break;
    }
    case kOctahedral:
    {
        if (!group->AllocateAxisSets(3))
            return nullptr;
        SymAxisSet* sets = group->mAxisSets.get();
        ok = sets[0].Init(4, 3, 6) && sets[1].Init(3, 4, 8) && sets[2].Init(2, 6, 12);
        if (!ok)
            break;
        const double s3 = kS3, s2 = kS2;
        const AxisDef four[3] = {{{1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}}};
        const AxisDef three[4] = {{{s3, s3, s3}, {s2, -s2, 0}},
                                  {{s3, s3, -s3}, {s2, 0, s2}},
                                  {{s3, -s3, s3}, {0, s2, s2}},
                                  {{s3, -s3, -s3}, {s2, s2, 0}}};
        const AxisDef two[6] = {{{s2, s2, 0}, {0, 0, 1}}, {{s2, -s2, 0}, {0, 0, 1}},
                                {{s2, 0, s2}, {0, 1, 0}}, {{s2, 0, -s2}, {0, 1, 0}},
                                {{0, s2, s2}, {1, 0, 0}}, {{0, s2, -s2}, {1, 0, 0}}};
        SetAxes(sets[0], four);
        SetAxes(sets[1], three);
        SetAxes(sets[2], two);
        group->mOrder = 24;
        break;
    }
    case kTetrahedral:
    {
        if (!group->AllocateAxisSets(3))
            return nullptr;
        SymAxisSet* sets = group->mAxisSets.get();
        ok = sets[0].Init(3, 4, 4) && sets[1].Init(3, 4, 4) && sets[2].Init(2, 3, 6);
        if (!ok)
            break;
        sets[1].mSkip = true;
        const double s3 = kS3, s2 = kS2;
        const AxisDef three[4] = {{{s3, s3, s3}, {s2, -s2, 0}},
                                  {{s3, -s3, -s3}, {s2, s2, 0}},
                                  {{-s3, s3, -s3}, {0, s2, s2}},
                                  {{-s3, -s3, s3}, {s2, 0, s2}}};
        const AxisDef two[3] = {{{1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}}};
        SetAxes(sets[0], three);
        for (int i = 0; i < 4; ++i)
        {
            Vec3D opposite;
            Vec3Neg(opposite, three[i].dir);
            SetAxis(sets[1], i, opposite, three[i].ref);
        }
        SetAxes(sets[2], two);
        group->mOrder = 12;
        break;
    }
    case kDihedral:
    {
        if (!group->AllocateAxisSets(3))
            return nullptr;
        SymAxisSet* sets = group->mAxisSets.get();
        const int c = IsOdd(n) ? n : n / 2;
        ok = sets[0].Init(n, 1, 2) && sets[1].Init(2, c, n) && sets[2].Init(2, c, n);
        if (!ok)
            break;
        sets[2].mSkip = IsOdd(n);
        SetAxis(sets[0], 0, {0, 1, 0}, {1, 0, 0});
        for (int i = 0; i < c; ++i)
        {
            double s, k;
            SineTable::SinCos(i, n, s, k);
            SetAxis(sets[1], i, {k, 0, -s}, {s, 0, k});
            SineTable::SinCos(2 * i + 1, 2 * n, s, k);
            SetAxis(sets[2], i, {k, 0, -s}, {s, 0, k});
        }
        group->mOrder = 2 * n;
        break;
    }
    case kPyramidal:
    {
        if (!group->AllocateAxisSets(2))
            return nullptr;
        SymAxisSet* sets = group->mAxisSets.get();
        ok = sets[0].Init(n, 1, 1) && sets[1].Init(n, 1, 1);
        if (!ok)
            break;
        sets[1].mSkip = true;
        SetAxis(sets[0], 0, {0, 1, 0}, {1, 0, 0});
        SetAxis(sets[1], 0, {0, -1, 0}, {1, 0, 0});
        group->mOrder = n;
        break;
    }
    default:
        group->mOrder = 1;
        break;
    }
    if (!ok)
        return nullptr;
    group->UpdateOneSidedFlags();
    return group;
}

std::unique_ptr<SymGroup> SymGroup::CreateFromRotation(int n, int count)
{
    if (n == 5 && count % 12 == 0)
        return Create(kIcosahedral);
    if (n == 4 && count % 6 == 0)
        return Create(kOctahedral);
    if (n == 3)
    {
        if (count % 20 == 0)
            return Create(kIcosahedral);
        if (count % 8 == 0)
            return Create(kOctahedral);
        if (count % 4 == 0)
            return Create(kTetrahedral);
    }
    return Create(kDihedral, n);
}

std::unique_ptr<SymGroup> SymGroup::Copy(const SymGroup* group)
{
    if (!group)
        return nullptr;
    std::unique_ptr<SymGroup> copy(new (std::nothrow) SymGroup);
    if (!copy)
        return nullptr;
    copy->mKind = group->mKind;
    copy->mOrder = group->mOrder;
    if (group->mNumAxisSets > 0 && !copy->AllocateAxisSets(group->mNumAxisSets))
        return nullptr;
    for (int s = 0; s < copy->mNumAxisSets; ++s)
    {
        const SymAxisSet& from = group->mAxisSets[s];
        SymAxisSet& to = copy->mAxisSets[s];
        if (!to.Init(from.mOrder, from.mNumAxes, from.mNumEnds))
            return nullptr;
        to.mSkip = from.mSkip;
        for (int i = 0; i < from.mNumAxes; ++i)
            to.mAxes[i] = from.mAxes[i];
    }
    copy->UpdateOneSidedFlags();
    copy->mReflection = group->mReflection;
    if (!copy->mMirrors.Resize(group->mMirrors.count))
        return nullptr;
    for (int i = 0; i < group->mMirrors.count; ++i)
    {
        copy->mMirrors[i].mFlags = group->mMirrors[i].mFlags;
        copy->mMirrors[i].mDir = group->mMirrors[i].mDir;
    }
    copy->mOrientation = group->mOrientation;
    return copy;
}

size_t SymGroup::GetByteSize(const SymGroup* group)
{
    if (!group)
        return 0;
    size_t axes = size_t(group->mMirrors.count);
    for (int s = 0; s < group->mNumAxisSets; ++s)
        axes += size_t(group->mAxisSets[s].mNumAxes > 0 ? group->mAxisSets[s].mNumAxes : 0);
    return sizeof(SymGroup) + size_t(group->mNumAxisSets) * sizeof(SymAxisSet) + axes * sizeof(SymAxis);
}

bool SymGroup::IsValidReflection(int kind, int reflection)
{
    if (reflection == kHorizontal || reflection == kChiral)
        return kind >= kIcosahedral && kind <= kNoSymmetry;
    switch (kind)
    {
    case kTetrahedral:
        return reflection == kDiagonal;
    case kDihedral:
        return reflection == kVertical;
    case kPyramidal:
        return reflection == kVertical || reflection == kRotationReflection;
    case kNoSymmetry:
        return reflection == kCentralInversion;
    default:
        return false;
    }
}

void SymGroup::UpdateOneSidedFlags()
{
    for (int s = 0; s < mNumAxisSets; ++s)
        mAxisSets[s].mOneSided = mAxisSets[s].mNumAxes == mAxisSets[s].mNumEnds;
}

int SymGroup::MainOrder() const
{
    return mNumAxisSets > 0 ? mAxisSets[0].mOrder : 1;
}

int SymGroup::SetReflectionKind(int reflection)
{
    if (reflection == kChiral || reflection < 0)
    {
        mReflection = kChiral;
        mMirrors.Free();
        return 0;
    }

    const double s2 = kS2;
    auto setMirrors = [this](std::initializer_list<Vec3D> normals) {
        mMirrors.Resize(int(normals.size()));
        int i = 0;
        for (const Vec3D& normal : normals)
        {
            if (i < mMirrors.count)
                mMirrors[i].mDir = normal;
            ++i;
        }
    };
    const int n = MainOrder();
    switch (mKind)
    {
    case kIcosahedral:
    {
        const IcosahedralAxes& ico = Icosahedral();
        mMirrors.Resize(15);
        for (int i = 0; i < mMirrors.count; ++i)
            mMirrors[i].mDir = ico.two[i];
        break;
    }
    case kOctahedral:
        setMirrors({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {s2, s2, 0}, {s2, -s2, 0}, {s2, 0, s2}, {s2, 0, -s2},
                    {0, s2, s2}, {0, s2, -s2}});
        break;
    case kTetrahedral:
        if (reflection == kDiagonal)
            setMirrors({{s2, s2, 0}, {s2, -s2, 0}, {s2, 0, s2}, {s2, 0, -s2}, {0, s2, s2}, {0, s2, -s2}});
        else
            setMirrors({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
        break;
    case kDihedral:
        mMirrors.Resize(reflection == kHorizontal ? n + 1 : n);
        SetVerticalMirrors(n, reflection, false);
        if (reflection == kHorizontal && mMirrors.count == n + 1)
            mMirrors[n].mDir = {0, 1, 0};
        break;
    case kPyramidal:
        if (reflection == kHorizontal)
            setMirrors({{0, 1, 0}});
        else if (reflection == kRotationReflection)
            mMirrors.Free();
        else
        {
            mMirrors.Resize(n);
            SetVerticalMirrors(n, reflection, true);
        }
        break;
    case kNoSymmetry:
        if (reflection == kCentralInversion)
            mMirrors.Free();
        else if (reflection == kDiagonal)
            setMirrors({{s2, s2, 0}});
        else
            setMirrors({{0, 1, 0}});
        break;
    default:
        break;
    }
    mReflection = reflection;
    OrientMirrors(mOrientation);
    return 0;
}

void SymGroup::SetVerticalMirrors(int n, int reflection, bool pyramidal)
{
    // The Horizontal dihedral group's planes contain its 2-fold axes, the Vertical one's bisect them.
    const bool throughAxes = pyramidal || ((reflection == kHorizontal) != IsOdd(n));
    for (int i = 0; i < n && i < mMirrors.count; ++i)
    {
        double s, k;
        if (throughAxes)
            SineTable::SinCos(i, 2 * n, s, k);
        else
            SineTable::SinCos(2 * i + 1, 4 * n, s, k);
        mMirrors[i].mDir = {k, 0, -s};
    }
}

void SymGroup::OrientMirrors(const Mat3& m)
{
    if (IsIdentityWithin(m, kSymTol))
        return;
    for (SymAxis& mirror : mMirrors)
        TurnAndSnap(m, mirror.mDir);
}

void SymGroup::ChooseDihedralReflection(const Vec3D& faceVertex, std::span<const Vec3D> modelVertices)
{
    const Vec3D image = {faceVertex.x, -faceVertex.y, faceVertex.z};
    for (const Vec3D& v : modelVertices)
    {
        if (Vec3Equal(v, image, kMatchTol))
        {
            SetReflectionKind(kHorizontal);
            return;
        }
    }
    SetReflectionKind(kVertical);
}

void SymGroup::Rotate(SymGroup* group, const Mat3& m)
{
    if (group)
        group->Rotate(m);
}

void SymGroup::Rotate(const Mat3& m)
{
    if (IsIdentityWithin(m, kSymTol))
        return;
    Mat3 orientation;
    Mat3Mul(orientation, m, mOrientation);
    mOrientation = orientation;
    for (int s = 0; s < mNumAxisSets; ++s)
    {
        SymAxisSet& set = mAxisSets[s];
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            TurnAndSnap(m, set.mAxes[i].mDir);
            TurnAndSnap(m, set.mAxes[i].mRef);
        }
    }
    for (SymAxis& mirror : mMirrors)
        TurnAndSnap(m, mirror.mDir);
}

bool SymGroup::HasCentralInversion() const
{
    if (mReflection == kChiral)
        return false;
    if (mReflection == kCentralInversion)
        return true;
    const int n = MainOrder();
    switch (mKind)
    {
    case kNoSymmetry:
        return false;
    case kDihedral:
        return (mReflection == kHorizontal) != IsOdd(n);
    case kPyramidal:
        return (mReflection == kHorizontal && !IsOdd(n)) || (mReflection == kRotationReflection && IsOdd(n));
    case kIcosahedral:
    case kOctahedral:
    case kTetrahedral:
        return mReflection == kHorizontal;
    default:
        return false;
    }
}
