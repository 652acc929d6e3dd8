#pragma once

#include <cstdint>

class FaceVert;
class SymAxisSet;
class SymGroup;

// Bits of the face colour scheme word: the special colour arrangements, which give the faces
// centred on the axes of one class of an icosahedral or octahedral group fixed palette indices.
inline constexpr uint32_t kDodecahedralArrangement1 = 0x1000;        // 5-fold, 4 colours
inline constexpr uint32_t kDodecahedralArrangement2 = 0x2000;        // 5-fold, 6 colours
inline constexpr uint32_t kIcosahedralArrangement1 = 0x4000;         // 3-fold, 5 colours
inline constexpr uint32_t kIcosahedralArrangement2 = 0x8000;         // 3-fold, 5 colours
inline constexpr uint32_t kIcosahedralArrangement3 = 0x10000;        // 3-fold, 10 colours
inline constexpr uint32_t kRhombicTriacontahedralArrangement1 = 0x20000;  // 2-fold, 5 colours
inline constexpr uint32_t kRhombicTriacontahedralArrangement2 = 0x40000;  // 2-fold, 15 colours
inline constexpr uint32_t kCubicArrangement = 0x80000;               // 4-fold, 3 colours
inline constexpr uint32_t kOctahedralArrangement = 0x100000;         // 3-fold, 4 colours
inline constexpr uint32_t kRhombicDodecahedralArrangement1 = 0x200000;  // 2-fold, 3 colours
inline constexpr uint32_t kRhombicDodecahedralArrangement2 = 0x400000;  // 2-fold, 4 colours
inline constexpr uint32_t kRhombicDodecahedralArrangement3 = 0x800000;  // 2-fold, 6 colours
inline constexpr uint32_t kSpecialArrangements = 0xfff000;

// The palette index that the arrangements in flags give a face centred on an axis of axisClass (a
// class of group), or -1 when none applies. Some arrangements colour the two ends of an axis
// differently: other (when given) receives the index of the face at the axis's other end, which
// is the result itself for the arrangements that do not. A face on no axis of the class is an
// internal error.
int GetPredefinedColorIndex(const SymGroup* group, uint32_t flags, const SymAxisSet* axisClass, const FaceVert* face,
                            int* other);
