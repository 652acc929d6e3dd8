#pragma once

#include <cstdint>

// One subgroup of a SymGroup, described without axes: its kind, main order, variant and
// reflection kind. It doubles as the cursor of the parent's subgroup enumerations, so a new one
// (as constructed) stands before the first entry. The caller owns it.
struct SymDescriptor
{
    int32_t mKind = -1;  // -1 before the first step
    // The main order of a dihedral or pyramidal subgroup; the parent's own for the parent itself.
    int32_t mN = -1;
    // A second class of conjugate subgroups of the same kind and n, or one whose axes come from a
    // parent class other than the one its canonical orientation matches.
    bool mAlternate = false;
    // False when the main axis is one of the parent's 2-fold axes across its main axis (and for the
    // octahedral parent's second 2-fold dihedral subgroup).
    bool mOnMainAxis = true;
    int32_t mReflection = -1;  // -1 before the first reflective step
    bool mSecondMirrorSet = false;  // the second of two vertical-reflection variants
};
