#pragma once

#include <cstdint>
#include <span>
#include <string>

// One row of the built-in model library: a uniform polyhedron by its vertex configuration, a
// Johnson solid, a near miss, a toroid, a family with a parameter or a 4D polytope. Built-in rows
// point at constant texts and are never freed; only the two family parameters ever change.
struct LibraryEntry
{
    // Flags (mFlags).
    static constexpr uint32_t kMaederMask = 0x7F;  // U1..U80, 0 for none
    static constexpr uint32_t kKaleidoShift = 8;   // K1..K80 in bits 8-14
    static constexpr uint32_t kKaleidoMask = 0x7F00;
    static constexpr uint32_t kFaceStellationMark = 0x8000;   // read by the face-type analysis
    static constexpr uint32_t kVertStellationMark = 0x10000;  // the same for the dual side
    static constexpr uint32_t kSpringBuilt = 0x20000;
    static constexpr uint32_t kParametricFamily = 0x40000;
    static constexpr uint32_t kPrismFamily = 0x80000;
    static constexpr uint32_t kAntiprismFamily = 0x100000;
    static constexpr uint32_t kPyramidFamily = 0x200000;
    static constexpr uint32_t kCupolaFamily = 0x400000;
    static constexpr uint32_t kCuploidFamily = 0x800000;
    static constexpr uint32_t kCupolaicBlendFamily = 0x1000000;
    static constexpr uint32_t kFileEntry = 0x4000000;

    static constexpr int kCategoryPlatonic = 4;
    static constexpr int kCategoryKeplerPoinsot = 5;
    static constexpr int kCategoryPrisms = 12;
    static constexpr int kCategory4D = 18;

    // The family parameters: n and d of a family row, else read from a prism or antiprism symbol.
    void GetParams(int& n, int& d) const;
    // The symbol with a family's parameters in place of "<N>"; empty for null, a file entry or a
    // symbol beginning with '?'.
    static std::string GetSymbol(const LibraryEntry* entry);
    int GetWenningerNumber() const;
    // Null for 4D rows.
    const char* GetWythoffSymbol() const;
    int GetMaederIndex() const { return int(mFlags & kMaederMask); }
    int GetKaleidoIndex() const { return int((mFlags & kKaleidoMask) >> kKaleidoShift); }

    const char* mSymbol;  // the vertex configuration or other symbol; null only in the terminator
    int32_t mCategory;
    int32_t mNumber;  // Wenninger number; a family's n
    int32_t mPage1;   // a family's d
    int32_t mPage2;
    uint32_t mFlags;
    int32_t mNumCells;
    int32_t mNumFaces;
    int32_t mNumEdges;
    int32_t mNumVerts;
    const char* mName;
    const char* mOtherNames;  // separated by "; "
    const char* mDualNames;   // the first is the dual's display name
    const char* mWythoff;
    const char* mDescription;
    const char* mPageName;
};

// The built-in rows, without the terminator.
std::span<LibraryEntry> GetLibraryTable();
