#include "model/PredefinedColorIndex.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"

#include <cstddef>

namespace
{
using G = SymGroup;

// The indices of the faces at the + end (where mDir points) and the - end of each axis.
struct EndPair
{
    int plus;
    int minus;
};
const EndPair kDodecahedral1[6] = {{0, 1}, {2, 3}, {1, 3}, {2, 0}, {3, 0}, {2, 1}};
const EndPair kIcosahedral1[10] = {{0, 2}, {1, 3}, {1, 0}, {2, 3}, {2, 1},
                                   {0, 3}, {3, 4}, {4, 1}, {4, 0}, {2, 4}};
const EndPair kRhombicDodecahedral2[6] = {{0, 1}, {2, 3}, {1, 2}, {3, 0}, {2, 0}, {1, 3}};
// Both ends alike.
const int kIcosahedral2[10] = {0, 1, 2, 3, 0, 3, 4, 1, 2, 4};
const int kRhombicTriacontahedral1[15] = {0, 0, 0, 1, 2, 3, 4, 3, 4, 1, 2, 4, 3, 2, 1};
const int kRhombicDodecahedral1[6] = {0, 0, 1, 1, 2, 2};

// The axis of the class that the face, or failing it a member of its coincidence ring, lies on.
const SymAxis* FaceAxis(const SymAxisSet& set, const FaceVert* face)
{
    const FaceVert* f = face;
    do
    {
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            const Vec3D& dir = set.mAxes[i].mDir;
            if (Vec3Equal(dir, f->mZAxis, kSymTol) || Vec3EqualNeg(dir, f->mZAxis, kSymTol))
                return &set.mAxes[i];
        }
        f = f->mNextCoplanar;
    } while (f && f != face);
    return nullptr;
}

enum class Rule
{
    None,
    AxisIndex,
    Single,
    Ends,
};

struct Arrangement
{
    Rule rule = Rule::None;
    const int* single = nullptr;
    const EndPair* ends = nullptr;
    int size = 0;
};

template <size_t N>
Arrangement SingleTable(const int (&table)[N])
{
    return {Rule::Single, table, nullptr, int(N)};
}

template <size_t N>
Arrangement EndTable(const EndPair (&table)[N])
{
    return {Rule::Ends, nullptr, table, int(N)};
}

Arrangement ByAxisIndex()
{
    return {Rule::AxisIndex, nullptr, nullptr, 0};
}

// The arrangement that the flags choose for class c of the group.
Arrangement Choose(int kind, int c, uint32_t flags)
{
    if (kind == G::kIcosahedral)
    {
        if (c == 0 && (flags & kDodecahedralArrangement1))
            return EndTable(kDodecahedral1);
        if (c == 0 && (flags & kDodecahedralArrangement2))
            return ByAxisIndex();
        if (c == 1 && (flags & kIcosahedralArrangement1))
            return EndTable(kIcosahedral1);
        if (c == 1 && (flags & kIcosahedralArrangement2))
            return SingleTable(kIcosahedral2);
        if (c == 1 && (flags & kIcosahedralArrangement3))
            return ByAxisIndex();
        if (c == 2 && (flags & kRhombicTriacontahedralArrangement1))
            return SingleTable(kRhombicTriacontahedral1);
        if (c == 2 && (flags & kRhombicTriacontahedralArrangement2))
            return ByAxisIndex();
    }
    else if (kind == G::kOctahedral)
    {
        if (c == 0 && (flags & kCubicArrangement))
            return ByAxisIndex();
        if (c == 1 && (flags & kOctahedralArrangement))
            return ByAxisIndex();
        if (c == 2 && (flags & kRhombicDodecahedralArrangement1))
            return SingleTable(kRhombicDodecahedral1);
        if (c == 2 && (flags & kRhombicDodecahedralArrangement2))
            return EndTable(kRhombicDodecahedral2);
        if (c == 2 && (flags & kRhombicDodecahedralArrangement3))
            return ByAxisIndex();
    }
    return {};
}
}  // namespace

int GetPredefinedColorIndex(const SymGroup* group, uint32_t flags, const SymAxisSet* axisClass, const FaceVert* face,
                            int* other)
{
    if (!(flags & kSpecialArrangements) || !axisClass || !group || !face)
        return -1;
    const SymAxis* axis = FaceAxis(*axisClass, face);
    const int index = axis ? int(axis - axisClass->mAxes.get()) : -1;
    if (index < 0 || index >= axisClass->mNumAxes)
    {
        InternalError("GetPredefinedColorIndex: Illegal axis");
        return -1;
    }

    const Arrangement a = Choose(group->mKind, group->GetAxisSetIndex(axisClass), flags);
    int result = -1, back = -1;
    switch (a.rule)
    {
    case Rule::None:
        return -1;
    case Rule::AxisIndex:
        result = back = index;
        break;
    case Rule::Single:
        if (index >= a.size)
            return -1;
        result = back = a.single[index];
        break;
    case Rule::Ends:
        if (index >= a.size)
            return -1;
        if (Vec3Equal(face->mZAxis, axis->mDir, kSymTol))
        {
            result = a.ends[index].plus;
            back = a.ends[index].minus;
        }
        else
        {
            result = a.ends[index].minus;
            back = a.ends[index].plus;
        }
        break;
    }
    if (other)
        *other = back;
    return result;
}
