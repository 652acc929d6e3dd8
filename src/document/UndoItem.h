#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>

// One entry of the undo list (document/UndoList.h), owned by the list: next is the next newer item,
// prev the previous older one. An item captures the state its change will alter; applying it
// exchanges the stored state with the current one, so one operation serves undo and redo. Side
// items of a whole-model change only put back what they hold. This root class stores nothing.
class UndoItem : public LinkNode<UndoItem>
{
public:
    // Flags word: the kind in the low bits, then the marks.
    static constexpr uint32_t kKindMask = 0xFFF;
    static constexpr uint32_t kJoinedToNext = 0x1000;  // same step as the next newer item
    static constexpr uint32_t kJoinedToPrev = 0x2000;  // same step as the previous older item
    static constexpr uint32_t kNamesStep = 0x4000;     // counted, shown in menus and reported
    static constexpr uint32_t kSkipOnUndo = 0x8000;    // a side item holding the state after the change
    static constexpr uint32_t kSkipOnRedo = 0x10000;   // a side item holding the state before the change
    static constexpr uint32_t kInverted = 0x20000;     // made while transitions ran inverted

    explicit UndoItem(int kind) : mFlags(uint32_t(kind) & kKindMask) {}

    int GetKind() const { return int(mFlags & kKindMask); }
    // A side item of a whole-model change puts back what it holds instead of exchanging it.
    bool IsSideItem() const { return (mFlags & (kSkipOnUndo | kSkipOnRedo)) != 0; }

    // Approximate bytes held.
    virtual int32_t GetSize() const { return 16; }
    // False when the change recorded nothing and the item is to be dropped.
    virtual bool CloseUndo() { return true; }
    // Puts the stored state back (undo true: towards the older state); false when it could not.
    virtual bool Apply(bool /*undo*/) { return true; }

    uint32_t mFlags;
    int64_t mSerial = 0;     // order of creation, set by the list
    int32_t mCountedSize = 0;  // what the list added to its total for this item
};
