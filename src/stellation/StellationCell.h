#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>
#include <vector>

class Stellation;
class StellationCellLayer;
class StellationFacet;

// Bits of StellationCell::mFlags.
inline constexpr uint32_t kCellIncluded = 0x1;       // in the current stellation
inline constexpr uint32_t kCellChiralFirst = 0x2;    // first of a mirror pair; the partner is next
inline constexpr uint32_t kCellChiralSecond = 0x4;   // second of a pair; the partner is prev
inline constexpr uint32_t kCellVisited = 0x8;
inline constexpr uint32_t kCellQueued = 0x10;
inline constexpr uint32_t kCellCore = 0x40;          // alone in layer 0, it counts as one cell
inline constexpr uint32_t kCellOnAxis = 0x80;
inline constexpr uint32_t kCellAxisClass0 = 0x100;
inline constexpr uint32_t kCellAxisClass1 = 0x200;   // neither class bit: class 2
inline constexpr uint32_t kCellUnsupportable = 0x400;  // a lower facet borders the outer cell
inline constexpr uint32_t kCellOriginal = 0x800;       // part of the original polyhedron
inline constexpr uint32_t kCellEnumerated = 0x1000;
inline constexpr uint32_t kCellDeadPocket = 0x2000;
inline constexpr uint32_t kCellMillerMarked = 0x4000;
inline constexpr uint32_t kCellUndoRecorded = 0x8000;  // on a recorded list of the open undo item

// One symmetry class of the 3D cells that the face planes of one side bound. The Stellation owns
// its cells in creation order (layer by layer from the core; the last is the outer infinite cell).
class StellationCell : public LinkNode<StellationCell>
{
public:
    // Appended to the stellation's cell list.
    StellationCell(Stellation* stellation, int index, StellationCellLayer* layer);

    // -1 for none.
    static int GetIndex(const StellationCell* cell) { return cell ? cell->mIndex : -1; }
    // The index from the first cell of its layer; -1 for none.
    static int GetIndexInLayer(const StellationCell* cell);
    // The other cell of a chiral pair, or the cell itself.
    StellationCell* GetMirror();
    int GetNumFacets() const { return int(mFacets.size()); }
    // The real cells the record stands for: 1 for the core alone in its layer, 0 for the outer cell,
    // the axes of its class for a cell on an axis, otherwise the rotations of the symmetry group.
    int GetNumCopies() const;
    bool IsIncluded() const { return (mFlags & kCellIncluded) != 0; }
    bool IsOuter() const;

    // Includes or excludes the cell, unless it is in that state already or is the outer cell,
    // and the stepping state is then no longer ready. Refused while the stellation is under
    // construction. What picking, undo and the file readers call.
    static void SetIncluded(StellationCell* cell, bool on);
    // The change itself: the facets on the surface, the counts, the mirror partner when
    // reflexibility is kept, and the side effects (cached mesh and sizes dropped, the change
    // recorded for undo, fits and the Model Info tree).
    static void ApplyInclusion(StellationCell* cell, bool on);

    // Every lower neighbour is included or lies across a face through the centre.
    bool IsSupported() const;
    // An included neighbour above the cell, across a face not through the centre.
    bool HasIncludedUpperNeighbour() const;
    // Includes the cell and, recursively, what it rests on; false for the outer cell and when
    // some support is unsupportable, the cell then excluded.
    static bool IncludeWithSupport(StellationCell* cell);
    // Excludes the cell and, recursively, the cells below it that nothing else rests on.
    static void ExcludeWithDependants(StellationCell* cell);

    Stellation* mStellation;
    int32_t mIndex;
    // Facets 0..mNumLower-1 lie below the cell (it is their cell above); the rest above it.
    int32_t mNumLower = 0;
    std::vector<StellationFacet*> mFacets;
    // The cell across each facet; the cell itself across a facet that bounds it on both sides.
    std::vector<StellationCell*> mNeighbours;
    StellationCellLayer* mLayer;
    uint32_t mFlags = 0;
    int32_t mSearchMark = -1;
    StellationCell* mNextInLayer = nullptr;  // the layer's candidate list
    StellationCell* mPrevInLayer = nullptr;
};
