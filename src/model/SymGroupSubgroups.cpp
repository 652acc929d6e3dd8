#include "kernel/Messages.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"

#include <cstdio>
#include <string>

namespace
{
using G = SymGroup;

// The parent's values the enumerations read: its kind, its main order (1 without axis classes)
// and its reflection kind.
struct Parent
{
    int kind;
    int n;
    int reflection;
};

Parent ReadParent(const SymGroup& parent)
{
    return {parent.mKind, parent.MainOrder(), parent.mReflection};
}

bool IsEven(int v)
{
    return v % 2 == 0;
}

// N/n with integer division; a zero n (never made by the enumerations) counts as an even quotient.
int Quotient(int whole, int part)
{
    return part == 0 ? 0 : whole / part;
}

// The largest divisor of whole that lies strictly between 1 and below; 0 when there is none.
int NextSmallerDivisor(int whole, int below)
{
    if (whole < 0)
        whole = -whole;
    for (int k = below - 1; k >= 2; --k)
    {
        if (whole % k == 0)
            return k;
    }
    return 0;
}

void ResetVariant(SymDescriptor& d)
{
    d.mAlternate = false;
    d.mOnMainAxis = true;
    d.mReflection = -1;
    d.mSecondMirrorSet = false;
}

void SetSubgroup(SymDescriptor& d, int kind, int n, bool alternate = false)
{
    d.mKind = kind;
    d.mN = n;
    ResetVariant(d);
    d.mAlternate = alternate;
}

void SetNone(SymDescriptor& d)
{
    SetSubgroup(d, G::kNoSymmetry, -1);
}

void StepIcosahedral(SymDescriptor& d)
{
    if (d.mKind == G::kIcosahedral)
        SetSubgroup(d, G::kTetrahedral, -1);
    else if (d.mKind == G::kTetrahedral)
        SetSubgroup(d, G::kDihedral, 5, true);
    else if (d.mKind == G::kDihedral)
        d.mKind = G::kPyramidal;
    else if (d.mKind == G::kPyramidal && d.mN == 5)
        SetSubgroup(d, G::kDihedral, 3, true);
    else if (d.mKind == G::kPyramidal && d.mN == 3)
        SetSubgroup(d, G::kDihedral, 2);
    else
        SetNone(d);
}

void StepOctahedral(SymDescriptor& d)
{
    const bool axial = d.mKind == G::kDihedral || d.mKind == G::kPyramidal;
    if (d.mKind == G::kOctahedral)
        SetSubgroup(d, G::kTetrahedral, -1);
    else if (d.mKind == G::kTetrahedral)
        SetSubgroup(d, G::kDihedral, 4);
    else if (axial && d.mN == 4)
        d.mN = 2;  // the same subgroup about the same 4-fold axis, halved
    else if (d.mKind == G::kDihedral && !d.mAlternate)
    {
        // The 2-fold dihedral subgroup comes twice: once on three 4-fold axes, once on one 4-fold
        // and two 2-fold axes.
        if (d.mOnMainAxis)
            d.mOnMainAxis = false;
        else
            SetSubgroup(d, G::kPyramidal, 4);
    }
    else if (d.mKind == G::kDihedral && d.mN == 3)
        d.mKind = G::kPyramidal;
    else if (d.mKind == G::kPyramidal && d.mN == 3)
        SetSubgroup(d, G::kPyramidal, 2, true);
    else if (d.mKind == G::kPyramidal && !d.mAlternate)
        SetSubgroup(d, G::kDihedral, 3, true);
    else
        SetNone(d);
}

void StepTetrahedral(SymDescriptor& d)
{
    if (d.mKind == G::kTetrahedral)
        SetSubgroup(d, G::kPyramidal, 3, true);
    else if (d.mKind == G::kDihedral)
        d.mKind = G::kPyramidal;
    else if (d.mKind == G::kPyramidal && d.mN == 3)
        SetSubgroup(d, G::kDihedral, 2);
    else
        SetNone(d);
}

void StepDihedral(SymDescriptor& d, int parentN)
{
    if (d.mKind == G::kDihedral)
    {
        if (IsEven(parentN) && IsEven(Quotient(parentN, d.mN)) && !d.mAlternate)
        {
            d.mAlternate = true;  // the second class of n-fold dihedral subgroups
            return;
        }
        d.mAlternate = false;
        if (const int k = NextSmallerDivisor(parentN, d.mN))
            d.mN = k;
        else
            SetSubgroup(d, G::kPyramidal, parentN);
    }
    else if (d.mKind == G::kPyramidal)
    {
        if (const int k = NextSmallerDivisor(parentN, d.mN))
            d.mN = k;
        else if (d.mAlternate)
            SetNone(d);
        else if (d.mOnMainAxis)
        {
            // About a 2-fold axis of class 1, across the main axis.
            SetSubgroup(d, G::kPyramidal, 2);
            d.mOnMainAxis = false;
        }
        else if (IsEven(parentN))
        {
            // About a 2-fold axis of class 2.
            SetSubgroup(d, G::kPyramidal, 2, true);
            d.mOnMainAxis = false;
        }
        else
            SetNone(d);
    }
    else
        SetNone(d);
}

void StepPyramidal(SymDescriptor& d, int parentN)
{
    const int k = d.mKind == G::kPyramidal ? NextSmallerDivisor(parentN, d.mN) : 0;
    if (k)
        d.mN = k;
    else
        SetNone(d);
}

int FirstReflection(const Parent& p, const SymDescriptor& d)
{
    const int kind = d.mKind, n = d.mN;
    const bool axial = kind == G::kDihedral || kind == G::kPyramidal;
    if (kind == p.kind)
    {
        const bool evenQuotient = IsEven(Quotient(p.n, n));
        if (p.kind == G::kPyramidal && evenQuotient && p.reflection == G::kRotationReflection)
            return G::kChiral;
        if (p.kind == G::kDihedral && evenQuotient && p.reflection == G::kVertical)
            return G::kChiral;
        return p.reflection;
    }
    if (kind == G::kTetrahedral)
        return p.kind == G::kIcosahedral ? G::kHorizontal : G::kDiagonal;
    if (axial && (p.kind == G::kIcosahedral || p.kind == G::kOctahedral))
        return IsEven(n) ? G::kHorizontal : G::kVertical;
    if (axial && p.kind == G::kTetrahedral)
    {
        if (n == 2 && p.reflection != G::kDiagonal)
            return G::kHorizontal;
        return n != 3 || p.reflection == G::kDiagonal ? G::kVertical : G::kChiral;
    }
    if (axial && p.kind == G::kDihedral)
    {
        if (d.mOnMainAxis)
            return p.reflection;
        if (IsEven(p.n))
            return p.reflection != G::kHorizontal ? G::kChiral : G::kHorizontal;
        return p.reflection == G::kHorizontal ? G::kVertical : G::kHorizontal;
    }
    if (p.reflection == G::kRotationReflection)
        return IsEven(p.n) ? G::kChiral : G::kCentralInversion;
    if (p.reflection == G::kVertical || p.reflection == G::kDiagonal)
        return p.reflection;
    return G::kHorizontal;
}

// A later choice for a subgroup with rotations, or after Central Inversion.
int LaterReflection(const Parent& p, SymDescriptor& d)
{
    const int kind = d.mKind, n = d.mN, r = d.mReflection;
    const bool evenQuotient = IsEven(Quotient(p.n, n));
    if (p.kind == G::kOctahedral && r == G::kDiagonal)
        return G::kHorizontal;
    if (kind == G::kDihedral)
    {
        if (p.kind == G::kOctahedral && n == 2 && !d.mAlternate && r == G::kHorizontal)
            return G::kVertical;
        if (p.kind == G::kDihedral && evenQuotient && r == G::kHorizontal)
            return G::kVertical;
        return G::kChiral;
    }
    if (kind != G::kPyramidal || r == G::kRotationReflection)
        return G::kChiral;

    if (!d.mOnMainAxis && !IsEven(p.n))
        return G::kChiral;
    const bool second = d.mSecondMirrorSet;
    d.mSecondMirrorSet = false;
    const bool axialParent = p.kind == G::kOctahedral || p.kind == G::kDihedral || p.kind == G::kPyramidal;
    if (!second && r == G::kVertical && d.mOnMainAxis && !d.mAlternate && axialParent && evenQuotient &&
        (p.kind != G::kDihedral || p.reflection == G::kHorizontal) &&
        (p.kind != G::kPyramidal || p.reflection == G::kVertical))
    {
        d.mSecondMirrorSet = true;  // the other set of vertical planes
        return G::kVertical;
    }
    if (p.kind == G::kOctahedral && n == 2 && !d.mAlternate)
        return r != G::kHorizontal ? G::kRotationReflection : G::kVertical;
    if (p.kind == G::kIcosahedral || p.kind == G::kOctahedral || p.kind == G::kTetrahedral)
    {
        if (p.reflection != G::kDiagonal && !IsEven(n))
            return G::kRotationReflection;
        if (p.kind == G::kTetrahedral && p.reflection == G::kDiagonal && n == 2)
            return G::kRotationReflection;
    }
    if (r == G::kHorizontal && p.kind != G::kPyramidal)
        return G::kVertical;
    if (p.kind == G::kDihedral && d.mOnMainAxis)
    {
        // The turn by half the subgroup's step is a parent rotation when N/n is even; with the
        // horizontal plane the parent then holds the rotation-reflection. A parent with vertical
        // planes holds it through its own rotation-reflection, only when N/n is odd.
        const bool holds = (p.reflection == G::kVertical) != evenQuotient;
        return holds ? G::kRotationReflection : G::kChiral;
    }
    return G::kChiral;
}

// A later choice for the trivial rotation group.
int LaterPlainReflection(const Parent& p, SymDescriptor& d)
{
    const int r = d.mReflection;
    const bool second = d.mSecondMirrorSet;
    d.mSecondMirrorSet = false;
    switch (p.kind)
    {
    case G::kOctahedral:
        return r == G::kHorizontal ? G::kDiagonal : G::kCentralInversion;
    case G::kIcosahedral:
        return G::kCentralInversion;
    case G::kDihedral:
    case G::kPyramidal:
        if (p.kind == G::kDihedral && r == G::kHorizontal)
            return G::kVertical;
        if (r == G::kVertical && !second && IsEven(p.n) &&
            (p.kind == G::kPyramidal || p.reflection == G::kHorizontal))
        {
            d.mSecondMirrorSet = true;
            return G::kVertical;
        }
        if (p.reflection == G::kHorizontal && IsEven(p.n))
            return G::kCentralInversion;
        if (p.reflection == G::kVertical && !IsEven(p.n) && p.kind == G::kDihedral)
            return G::kCentralInversion;
        return G::kChiral;
    default:
        return G::kChiral;
    }
}

// Collects the failures of a run of copies into one report.
class CopyRun
{
public:
    explicit CopyRun(SymGroup& group) : mGroup(group) {}
    void Axis(int set, int axis, const SymGroup& from, int fromSet, int fromAxis)
    {
        mOk = mGroup.CopyAxis(set, axis, from, fromSet, fromAxis) && mOk;
    }
    void Reversed(int set, int axis, const SymGroup& from, int fromSet, int fromAxis)
    {
        mOk = mGroup.CopyAxisReversed(set, axis, from, fromSet, fromAxis) && mOk;
    }
    void OwnReversed(int set, int axis, int fromSet, int fromAxis)
    {
        // Through a copy: source and target are the same group.
        SymAxis source;
        if (fromSet >= 0 && fromSet < mGroup.mNumAxisSets && fromAxis >= 0 &&
            fromAxis < mGroup.mAxisSets[fromSet].mNumAxes && set >= 0 && set < mGroup.mNumAxisSets &&
            axis >= 0 && axis < mGroup.mAxisSets[set].mNumAxes)
        {
            source = mGroup.mAxisSets[fromSet].mAxes[fromAxis];
            SymAxis& target = mGroup.mAxisSets[set].mAxes[axis];
            Vec3Neg(target.mDir, source.mDir);
            target.mRef = source.mRef;
        }
        else
            mOk = false;
    }
    void Mirror(int mirror, const SymGroup& from, int fromMirror)
    {
        mOk = mGroup.CopyMirror(mirror, from, fromMirror) && mOk;
    }
    void AxisToMirror(int mirror, int set, int axis) { mOk = mGroup.CopyAxisToMirror(mirror, set, axis) && mOk; }
    bool Ok() const { return mOk; }

private:
    SymGroup& mGroup;
    bool mOk = true;
};

// The subgroups whose axes lie on other classes of the parent than their canonical frame does.
void PlaceAlternate(CopyRun& run, const SymGroup& p, const SymDescriptor& d)
{
    const int last = p.mNumAxisSets - 1;  // the parent's 2-fold class
    const int n = d.mN, r = d.mReflection;
    const bool dihedral = d.mKind == G::kDihedral;
    if (p.mKind == G::kDihedral)
    {
        const int bigN = p.MainOrder();
        const int c = Quotient(bigN, n);
        if (IsEven(n))
        {
            for (int i = 0; i < n / 2; ++i)
            {
                run.Axis(1, i, p, 2, i * c);
                run.Axis(2, i, p, 2, i * c + c / 2);
            }
        }
        else
        {
            for (int i = 0; i < n; ++i)
            {
                const int j = i * (c / 2);
                if (IsEven(i))
                {
                    run.Axis(1, i, p, 2, j);
                    run.Reversed(2, i, p, 2, j);
                }
                else
                {
                    run.Reversed(1, i, p, 2, j);
                    run.Axis(2, i, p, 2, j);
                }
            }
        }
        for (int i = 0; i < n && bigN > 0; ++i)
        {
            if (r == G::kHorizontal)
                run.Mirror(i, p, (bigN / 2 + 1 + i * c) % bigN);
            else if (r == G::kVertical)
                run.Mirror(i, p, (bigN / 2 + 1 + c / 2 + i * c) % bigN);
        }
        return;
    }
    if (n == 2)
    {
        run.Axis(0, 0, p, last, 0);
        run.Reversed(1, 0, p, last, 0);
        if (r == G::kHorizontal)
            run.AxisToMirror(0, 0, 0);
        else if (r == G::kVertical)
        {
            run.Mirror(0, p, 2);
            run.Mirror(1, p, 4);
        }
        return;
    }
    if (n == 3)
    {
        if (p.mKind == G::kTetrahedral)
            run.Axis(0, 0, p, 0, 0);
        else if (p.mKind == G::kOctahedral)
            run.Axis(0, 0, p, 1, 0);
        else
            run.Axis(0, 0, p, 1, 6);
        if (!dihedral)
            run.OwnReversed(1, 0, 0, 0);
        else if (p.mKind == G::kOctahedral)
        {
            run.Axis(1, 0, p, last, 1);
            run.Reversed(1, 1, p, last, 3);
            run.Axis(1, 2, p, last, 5);
            run.Reversed(2, 0, p, last, 1);
            run.Axis(2, 1, p, last, 3);
            run.Reversed(2, 2, p, last, 5);
        }
        else if (p.mKind == G::kIcosahedral)
        {
            run.Axis(1, 0, p, last, 6);
            run.Reversed(1, 1, p, last, 9);
            run.Reversed(1, 2, p, last, 12);
            run.Reversed(2, 0, p, last, 6);
            run.Axis(2, 1, p, last, 9);
            run.Axis(2, 2, p, last, 12);
        }
        if (r == G::kVertical)
        {
            const int ico[3] = {6, 9, 12}, octa[3] = {4, 6, 8}, tetra[3] = {1, 3, 5};
            const int* mirrors = p.mKind == G::kIcosahedral ? ico : p.mKind == G::kOctahedral ? octa : tetra;
            for (int i = 0; i < 3; ++i)
                run.Mirror(i, p, mirrors[i]);
        }
        return;
    }
    if (n == 5)
    {
        run.Axis(0, 0, p, 0, 0);
        if (!dihedral)
            run.Reversed(1, 0, p, 0, 0);
        else
        {
            const int axes[5] = {2, 5, 6, 13, 14};
            const bool firstReversed[5] = {false, false, true, true, false};
            for (int i = 0; i < 5; ++i)
            {
                if (firstReversed[i])
                {
                    run.Reversed(1, i, p, last, axes[i]);
                    run.Axis(2, i, p, last, axes[i]);
                }
                else
                {
                    run.Axis(1, i, p, last, axes[i]);
                    run.Reversed(2, i, p, last, axes[i]);
                }
            }
        }
        if (r == G::kVertical)
        {
            const int mirrors[5] = {2, 5, 6, 13, 14};
            for (int i = 0; i < 5; ++i)
                run.Mirror(i, p, mirrors[i]);
        }
    }
}

// Subgroups on the parent's main axis whose canonical vertical planes are not the parent's.
void PlaceMainAxisMirrors(CopyRun& run, const SymGroup& p, const SymDescriptor& d)
{
    const int n = d.mN, r = d.mReflection;
    if (p.mKind == G::kOctahedral && d.mSecondMirrorSet)
    {
        run.Mirror(0, p, 5);
        run.Mirror(1, p, 6);
    }
    else if (p.mKind == G::kOctahedral && d.mKind == G::kPyramidal && n == 4 && r == G::kVertical)
    {
        const int mirrors[4] = {0, 5, 2, 6};
        for (int i = 0; i < 4; ++i)
            run.Mirror(i, p, mirrors[i]);
    }
    else if (p.mKind == G::kTetrahedral && p.mReflection == G::kDiagonal && d.mKind == G::kPyramidal && n == 2 &&
             r == G::kVertical)
    {
        run.Mirror(0, p, 2);
        run.Mirror(1, p, 3);
    }
    else if ((p.mKind == G::kDihedral || p.mKind == G::kPyramidal) && r == G::kVertical)
    {
        const int s = d.mSecondMirrorSet ? 1 : 0;
        if (d.mKind == G::kPyramidal)
        {
            const int step = Quotient(p.MainOrder(), n);
            for (int i = 0; i < n; ++i)
                run.Mirror(i, p, s + i * step);
        }
        else if (d.mKind == G::kNoSymmetry)
            run.Mirror(0, p, s);
    }
}

// Subgroups whose main axis is a 2-fold axis of the parent across its main axis.
void PlaceOffMainAxis(CopyRun& run, const SymGroup& p, const SymDescriptor& d)
{
    const int r = d.mReflection;
    const int last = p.mNumAxisSets - 1;
    if (p.mKind == G::kOctahedral)
    {
        run.Axis(1, 0, p, last, 2);
        run.Axis(2, 0, p, last, 3);
        if (r == G::kHorizontal)
        {
            run.Mirror(0, p, 5);
            run.Mirror(1, p, 6);
        }
        else if (r == G::kVertical)
        {
            run.Mirror(0, p, 0);
            run.Mirror(1, p, 2);
        }
        return;
    }
    const int bigN = p.MainOrder();
    const int from = d.mAlternate ? 2 : 1;
    run.Axis(0, 0, p, from, 0);
    run.Reversed(1, 0, p, from, 0);
    if (r == G::kHorizontal)
        run.AxisToMirror(0, 0, 0);
    else if (r == G::kVertical)
    {
        run.Mirror(0, p, bigN);
        run.Mirror(1, p, bigN / 2 + (d.mAlternate ? 1 : 0));
    }
}

std::string gRotationalName;
std::string gReflectiveName;
}  // namespace

bool SymGroup::NextRotationalSubgroup(const SymGroup* parent, SymDescriptor& d)
{
    if (!parent)
    {
        d = SymDescriptor{};
        return false;
    }
    const Parent p = ReadParent(*parent);
    if (d.mKind < 0)
    {
        SetSubgroup(d, p.kind, p.n);
        return true;
    }
    if (d.mKind == kNoSymmetry)
    {
        d = SymDescriptor{};
        return false;
    }
    // Each rotational subgroup starts its reflective list afresh.
    d.mReflection = -1;
    d.mSecondMirrorSet = false;
    switch (p.kind)
    {
    case kIcosahedral:
        StepIcosahedral(d);
        break;
    case kOctahedral:
        StepOctahedral(d);
        break;
    case kTetrahedral:
        StepTetrahedral(d);
        break;
    case kDihedral:
        StepDihedral(d, p.n);
        break;
    case kPyramidal:
        StepPyramidal(d, p.n);
        break;
    default:
        SetNone(d);
        break;
    }
    return true;
}

bool SymGroup::GetRotationalSubgroup(const SymGroup* parent, int i, SymDescriptor& d)
{
    d = SymDescriptor{};
    for (int k = 0; k <= i; ++k)
    {
        if (!NextRotationalSubgroup(parent, d))
            return false;
    }
    return true;
}

bool SymGroup::NextReflectiveSubgroup(const SymGroup* parent, SymDescriptor& d)
{
    if (!parent || d.mReflection == kChiral)
    {
        d.mReflection = -1;
        d.mSecondMirrorSet = false;
        return false;
    }
    const Parent p = ReadParent(*parent);
    if (p.reflection == kChiral)
        d.mReflection = kChiral;
    else if (d.mReflection < 0)
        d.mReflection = FirstReflection(p, d);
    else if (d.mKind != kNoSymmetry || d.mReflection == kCentralInversion)
        d.mReflection = LaterReflection(p, d);
    else
        d.mReflection = LaterPlainReflection(p, d);
    return true;
}

bool SymGroup::GetReflectiveSubgroup(const SymGroup* parent, int i, SymDescriptor& d)
{
    d.mReflection = -1;
    d.mSecondMirrorSet = false;
    for (int k = 0; k <= i; ++k)
    {
        if (!NextReflectiveSubgroup(parent, d))
            return false;
    }
    return true;
}

bool SymGroup::NextSubgroup(const SymGroup* parent, SymDescriptor& d, int& rot, int& refl)
{
    if (d.mKind < 0)
    {
        rot = 0;
        refl = 0;
        return NextRotationalSubgroup(parent, d) && NextReflectiveSubgroup(parent, d);
    }
    if (NextReflectiveSubgroup(parent, d))
    {
        ++refl;
        return true;
    }
    ++rot;
    refl = 0;
    return NextRotationalSubgroup(parent, d) && NextReflectiveSubgroup(parent, d);
}

bool SymGroup::NextSubgroup(const SymGroup* parent, SymDescriptor& d)
{
    int rot = 0, refl = 0;
    return NextSubgroup(parent, d, rot, refl);
}

bool SymGroup::GetSubgroup(const SymGroup* parent, int i, SymDescriptor& d, int& rot, int& refl)
{
    d = SymDescriptor{};
    for (int k = 0; k <= i; ++k)
    {
        if (!NextSubgroup(parent, d, rot, refl))
            return false;
    }
    return true;
}

int SymGroup::FindSubgroupIndex(const SymGroup* parent, int rot, int refl)
{
    if (rot <= 0 && refl <= 0)
        return 0;
    SymDescriptor d;
    int r = 0, f = 0;
    for (int i = 0; NextSubgroup(parent, d, r, f); ++i)
    {
        if (r == rot && f == refl)
            return i;
    }
    return -1;
}

const char* SymGroup::GetRotationalSubgroupName(const SymGroup* parent, const SymDescriptor& d)
{
    if (!parent)
        return "NULL";
    gRotationalName = FormatKindName(d.mKind, d.mN);
    const int bigN = parent->MainOrder();
    char suffix[32] = "";
    if (parent->mKind == kOctahedral && d.mKind == kDihedral && d.mN == 2)
        std::snprintf(suffix, sizeof suffix, " (%c)", d.mOnMainAxis ? 'A' : 'B');
    else if (parent->mKind == kOctahedral && d.mKind == kPyramidal && d.mN == 2)
        std::snprintf(suffix, sizeof suffix, " (From %d-Axis)", d.mAlternate ? 2 : 4);
    else if (parent->mKind == kDihedral && IsEven(bigN))
    {
        if (d.mKind == kDihedral && IsEven(Quotient(bigN, d.mN)))
            std::snprintf(suffix, sizeof suffix, " (%c)", d.mAlternate ? 'B' : 'A');
        else if (d.mKind == kPyramidal && d.mN == 2)
            std::snprintf(suffix, sizeof suffix, " (%s)", d.mOnMainAxis ? "Primary" : d.mAlternate ? "B" : "A");
    }
    gRotationalName += suffix;
    return gRotationalName.c_str();
}

const char* SymGroup::GetReflectiveSubgroupName(const SymGroup* parent, const SymDescriptor& d)
{
    if (!parent)
        return "NULL";
    gReflectiveName = GetReflectionKindName(d.mReflection);
    const int pk = parent->mKind;
    const int bigN = parent->MainOrder();
    if (d.mSecondMirrorSet)
        gReflectiveName += " (B)";
    else if (d.mReflection == kVertical && pk != kIcosahedral &&
             !(pk == kDihedral && parent->mReflection != kHorizontal))
    {
        const bool firstOfTwoSets =
            (d.mKind == kPyramidal && IsEven(Quotient(bigN, d.mN)) && d.mOnMainAxis &&
             !(pk == kOctahedral && d.mAlternate)) ||
            (d.mKind == kNoSymmetry && (pk == kDihedral || pk == kPyramidal) && IsEven(bigN));
        if (firstOfTwoSets)
            gReflectiveName += " (A)";
    }
    return gReflectiveName.c_str();
}

bool SymGroup::CopyAxis(int set, int axis, const SymGroup& from, int fromSet, int fromAxis)
{
    if (set < 0 || set >= mNumAxisSets || axis < 0 || axis >= mAxisSets[set].mNumAxes || fromSet < 0 ||
        fromSet >= from.mNumAxisSets || fromAxis < 0 || fromAxis >= from.mAxisSets[fromSet].mNumAxes)
        return false;
    const SymAxis& source = from.mAxisSets[fromSet].mAxes[fromAxis];
    SymAxis& target = mAxisSets[set].mAxes[axis];
    target.mDir = source.mDir;
    target.mRef = source.mRef;
    return true;
}

bool SymGroup::CopyAxisReversed(int set, int axis, const SymGroup& from, int fromSet, int fromAxis)
{
    if (!CopyAxis(set, axis, from, fromSet, fromAxis))
        return false;
    Vec3Negate(mAxisSets[set].mAxes[axis].mDir);
    return true;
}

bool SymGroup::CopyMirror(int mirror, const SymGroup& from, int fromMirror)
{
    if (mirror < 0 || mirror >= mMirrors.count || fromMirror < 0 || fromMirror >= from.mMirrors.count)
        return false;
    mMirrors[mirror].mDir = from.mMirrors[fromMirror].mDir;
    return true;
}

bool SymGroup::CopyAxisToMirror(int mirror, int set, int axis)
{
    if (mirror < 0 || mirror >= mMirrors.count || set < 0 || set >= mNumAxisSets || axis < 0 ||
        axis >= mAxisSets[set].mNumAxes)
        return false;
    mMirrors[mirror].mDir = mAxisSets[set].mAxes[axis].mDir;
    return true;
}

std::unique_ptr<SymGroup> SymGroup::CreateSubgroup(const SymDescriptor& d) const
{
    std::unique_ptr<SymGroup> sub = Create(d.mKind, d.mN);
    if (!sub)
        return nullptr;
    sub->SetReflectionKind(d.mReflection);
    // Canonical frames of parent and subgroup share their axes wherever the code below copies none.
    sub->Rotate(mOrientation);

    CopyRun run(*sub);
    if (d.mOnMainAxis && d.mAlternate)
        PlaceAlternate(run, *this, d);
    else if (d.mOnMainAxis)
        PlaceMainAxisMirrors(run, *this, d);
    else
        PlaceOffMainAxis(run, *this, d);
    if (!run.Ok())
    {
        InternalError("SymGroup::CreateSubgroup(): %s inside %s has no place in its parent",
                      SchoenfliesSymbol(d.mKind, d.mReflection, d.mN), GetSchoenflies(this));
        return nullptr;
    }
    return sub;
}
