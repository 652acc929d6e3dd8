#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

class SimplePoly;

// One row of the built-in model library: a uniform polyhedron by its vertex configuration, a
// Johnson solid, a near miss, a toroid, a family with a parameter or a 4D polytope. Built-in rows
// point at constant texts and are never freed; only the two family parameters ever change. A file
// entry (kFileEntry) stands for a model file instead and owns its texts.
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
    static constexpr uint32_t kAnyFamily = 0x1F80000;  // prism to cupolaic blend
    static constexpr uint32_t kFileEntry = 0x4000000;

    static constexpr int kCategorySearchResults = 0;
    static constexpr int kCategoryAll = 1;
    static constexpr int kCategoryPlatonic = 4;
    static constexpr int kCategoryKeplerPoinsot = 5;
    static constexpr int kCategoryPrisms = 12;
    static constexpr int kCategoryDegenerates = 13;
    static constexpr int kCategoryJohnson = 14;
    static constexpr int kCategoryNearMisses = 15;
    static constexpr int kCategoryToroids = 16;
    static constexpr int kCategoryPyramids = 17;
    static constexpr int kCategory4D = 18;

    // The family parameters: n and d of a family row, else read from a prism or antiprism symbol.
    void GetParams(int& n, int& d) const;
    // Stores n and d, then runs the base check of each family flag the row carries (reporting its
    // refusal when asked); false at the first refusal, the values staying stored. A row without a
    // family flag takes any values.
    bool SetParams(int n, int d, bool report);
    // The symbol with a family's parameters in place of "<N>"; empty for null, a file entry or a
    // symbol beginning with '?'.
    static std::string GetSymbol(const LibraryEntry* entry);

    // The counts of the row or of its dual; a 4D row's dual swaps cells with vertices and faces
    // with edges.
    int GetNumCells(bool dual) const;
    int GetNumFaces(bool dual) const;
    int GetNumEdges(bool dual) const;
    int GetNumVerts(bool dual) const;

    // -1 for spring-built, family and 4D rows.
    int GetWenningerNumber() const;
    int GetModelsPage() const;
    int GetDualModelsPage() const;
    // Null for 4D rows.
    const char* GetWythoffSymbol() const;
    int GetMaederIndex() const { return int(mFlags & kMaederMask); }
    int GetKaleidoIndex() const { return int((mFlags & kKaleidoMask) >> kKaleidoShift); }

    // The dual names up to the first ';'; empty for a null entry or no dual names.
    static std::string GetDualFirstName(const LibraryEntry* entry);
    // Whether the text is exactly the first dual name (case counts); without a dual name, whether
    // the text is blank.
    static bool IsDualName(const LibraryEntry* entry, const char* text);

    // The spring-network description of a spring-built row: built for its family's parameters, or
    // the stored text of its position. None for a null entry, a row that is not spring-built, or
    // refused family parameters.
    static std::optional<std::string> GetSpringDesc(const LibraryEntry* entry);

    // Whether a spring-built row has what it is built from: a family builder or stored positions.
    static bool HasSpringData(const LibraryEntry* entry);
    // The model of a spring-built row: a family row relaxed from its description, any other row
    // given its stored positions (relaxed, after an internal error, when they do not fit). The
    // description goes to the caller when asked for. Null for a row that is not spring-built or has
    // no description, and when the relaxation was cancelled or gave nothing.
    std::unique_ptr<SimplePoly> CreateSpringPoly(std::string* description) const;

    // A new plain model of the row, or of its dual; null for a null entry or a row that cannot be
    // built.
    static std::unique_ptr<SimplePoly> CreatePoly(const LibraryEntry* entry, bool dual);

    // The address of the row's page: a page name that is a full address as it is, any other under
    // the library's web site; empty for a null entry or a row without a page.
    static std::string GetLink(const LibraryEntry* entry);

    // Frees the texts a file entry owns; nothing for any other row.
    void FreeStrings();

    const char* mSymbol;  // the vertex configuration or other symbol; null only in the terminator
    int32_t mCategory;
    int32_t mNumber;  // Wenninger number; a family's n; a 4D row's first construction value
    int32_t mPage1;   // a family's d; a 4D row's second construction value
    int32_t mPage2;   // a 4D row's third construction value
    uint32_t mFlags;
    int32_t mNumCells;
    int32_t mNumFaces;
    int32_t mNumEdges;
    int32_t mNumVerts;
    const char* mName;        // a file entry: the path of its model file
    const char* mOtherNames;  // separated by "; "
    const char* mDualNames;   // the first is the dual's display name
    const char* mWythoff;     // a 4D row: further construction values
    const char* mDescription;
    const char* mPageName;    // relative to GetLibraryWebSite(), unless a full address
};

// The built-in rows, without the terminator that follows them.
std::span<LibraryEntry> GetLibraryTable();
int GetNumLibraryEntries();

// The row's position in the built-in table, -1 for any other entry.
int GetLibraryPosition(const LibraryEntry* entry);

// The one entry the chooser hands back for a model file the user picked: symbol null, kFileEntry,
// its name the path given last. It owns that copy.
LibraryEntry& GetChosenFileEntry();
void SetChosenFilePath(const char* path);

// A new file entry for a model file, owning a copy of the path as its name; whoever holds it frees
// its texts with FreeStrings and deletes it.
LibraryEntry* CreateFileEntry(const char* path);

// The base of the rows' page names, and the address printed pages show.
const char* GetLibraryWebSite();
