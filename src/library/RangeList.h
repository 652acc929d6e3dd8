#pragma once

#include <cstdint>
#include <memory>

class StellationCell;
struct ioFile;

// Sets of element indices (hidden faces and edges, smooth faces, stellation cells, the faces that
// share an image or a transparency) as runs of consecutive indices, the form in which model files
// keep them. A run list grows as indices are added in ascending order; a run array is what a reader
// gets back.

// One run of a run list, [first, last]. The list is held as a head and a tail, both null when empty,
// with runs in the order the indices came.
struct RangeRun
{
    int32_t first = 0;
    int32_t last = 0;  // inclusive
    RangeRun* next = nullptr;
};

// One run of a run array; a fresh one is -1 to -1.
struct RangePair
{
    int32_t first = -1;
    int32_t last = -1;
};

// A node of the list of value groups: the indices that share one float value (a transparency).
struct ValueRangeGroup
{
    float value = 0.0f;
    RangeRun* head = nullptr;
    RangeRun* tail = nullptr;
    ValueRangeGroup* next = nullptr;
};

// The tail run grows when it ends just before the index; otherwise a new run [index, index] follows.
// Runs are maximal only when indices come in ascending order; nothing checks that.
void AddToRangeList(int index, RangeRun*& head, RangeRun*& tail);
int CountRanges(const RangeRun* head);
// Deletes the runs; head and tail become null.
void FreeRangeList(RangeRun*& head, RangeRun*& tail);

// An empty list writes nothing, not even the token. Otherwise the token at the indentation, the
// group's value when a group is given, the number of runs, and the runs as " first-last", seven to
// a line, each line of runs indented by indent + 1.
void WriteRangeList(const RangeRun* head, ioFile* f, int token, int indent, const ValueRangeGroup* group = nullptr);
// The same from the number of runs on, for a run array whose token the caller has written.
void WriteRangeArray(ioFile* f, int indent, int count, const RangePair* runs);
// The count, then that many runs "first-last". Null with count 0 for an empty list, and after an
// error (reported through the stream): a negative count, or one the rest of the stream cannot hold.
std::unique_ptr<RangePair[]> ReadRangeList(ioFile* f, int& count);

// The runs of consecutive cells, numbered from 0 along the list from first, whose flags share a bit
// with the mask. A run still open at the end of the list ends at the last cell. Make fills at most
// count runs of the array.
int CountRangesFromFlags(const StellationCell* first, uint32_t mask);
void MakeRangesFromFlags(int count, const StellationCell* first, uint32_t mask, RangePair* runs);

// The group of exactly this value, null when there is none.
ValueRangeGroup* FindValueRangeGroup(float value, ValueRangeGroup* groups);
// Adds the index to the group of its value; a new group goes to the head of the list.
void AddToValueRangeGroup(float value, int index, ValueRangeGroup*& groups);
// One run list per group under the token, in list order (newest group first), each with its value.
void WriteValueRangeGroups(const ValueRangeGroup* groups, ioFile* f, int indent, int token);
void FreeValueRangeGroups(ValueRangeGroup*& groups);

// Owns a run list for a scope.
struct RangeList
{
    RangeList() = default;
    ~RangeList() { FreeRangeList(head, tail); }
    RangeList(const RangeList&) = delete;
    RangeList& operator=(const RangeList&) = delete;

    void Add(int index) { AddToRangeList(index, head, tail); }

    RangeRun* head = nullptr;
    RangeRun* tail = nullptr;
};

// Owns a list of value groups for a scope.
struct ValueRangeGroups
{
    ValueRangeGroups() = default;
    ~ValueRangeGroups() { FreeValueRangeGroups(first); }
    ValueRangeGroups(const ValueRangeGroups&) = delete;
    ValueRangeGroups& operator=(const ValueRangeGroups&) = delete;

    void Add(float value, int index) { AddToValueRangeGroup(value, index, first); }

    ValueRangeGroup* first = nullptr;
};
