#include "library/RangeList.h"

#include "kernel/TokenFile.h"
#include "stellation/StellationCell.h"

#include <algorithm>
#include <new>

namespace
{
constexpr int kRunsPerLine = 7;

// The fewest bytes a run takes in the stream: two integers, and in ASCII "0-0".
int64_t MinRunBytes(const ioFile* f)
{
    return f->mMode == kIoAscii ? 3 : 8;
}

void WriteRuns(ioFile* f, int indent, int count, const RangePair* pairs, const RangeRun* runs)
{
    ioPrintf(f, "\t%d", count);
    for (int i = 0; i < count; ++i)
    {
        if (i % kRunsPerLine == 0)
        {
            ioPrintf(f, "\n");
            ioIndent(f, indent + 1);
        }
        if (pairs)
            ioPrintf(f, " %d-%d", pairs[i].first, pairs[i].last);
        else
        {
            ioPrintf(f, " %d-%d", runs->first, runs->last);
            runs = runs->next;
        }
    }
    ioPrintf(f, "\n");
}
}  // namespace

void AddToRangeList(int index, RangeRun*& head, RangeRun*& tail)
{
    if (tail && tail->last == index - 1)
    {
        tail->last = index;
        return;
    }
    auto* run = new RangeRun{index, index, nullptr};
    if (tail)
        tail->next = run;
    else
        head = run;
    tail = run;
}

int CountRanges(const RangeRun* head)
{
    int count = 0;
    for (const RangeRun* r = head; r; r = r->next)
        ++count;
    return count;
}

void FreeRangeList(RangeRun*& head, RangeRun*& tail)
{
    while (head)
    {
        RangeRun* next = head->next;
        delete head;
        head = next;
    }
    tail = nullptr;
}

void WriteRangeList(const RangeRun* head, ioFile* f, int token, int indent, const ValueRangeGroup* group)
{
    if (!head)
        return;
    ioWriteToken(f, token, indent);
    if (group)
        ioPrintf(f, "\t%hg", double(group->value));
    WriteRuns(f, indent, CountRanges(head), nullptr, head);
}

void WriteRangeArray(ioFile* f, int indent, int count, const RangePair* runs)
{
    WriteRuns(f, indent, count, runs, nullptr);
}

std::unique_ptr<RangePair[]> ReadRangeList(ioFile* f, int& count)
{
    count = ioReadInt(f);
    if (count <= 0)
    {
        if (count < 0)
            ioError(f, 1, "Invalid number of ranges (%d)", count);
        count = 0;
        return nullptr;
    }
    const int64_t left = ioBytesLeft(f);
    if (left >= 0 && int64_t(count) > left / MinRunBytes(f))
    {
        ioError(f, 1, "Invalid number of ranges (%d)", count);
        count = 0;
        return nullptr;
    }
    std::unique_ptr<RangePair[]> runs(new (std::nothrow) RangePair[size_t(count)]);
    if (!runs)
    {
        ioError(f, 1, "Out of memory: %d ranges", count);
        count = 0;
        return nullptr;
    }
    for (int i = 0; i < count; ++i)
    {
        runs[i].first = ioReadInt(f);
        ioSkipAscii(f, "-");
        runs[i].last = ioReadInt(f);
    }
    return runs;
}

int CountRangesFromFlags(const StellationCell* first, uint32_t mask)
{
    int count = 0;
    bool inRun = false;
    for (const StellationCell* c = first; c; c = c->next)
    {
        const bool member = (c->mFlags & mask) != 0;
        if (member && !inRun)
            ++count;
        inRun = member;
    }
    return count;
}

void MakeRangesFromFlags(int count, const StellationCell* first, uint32_t mask, RangePair* runs)
{
    int n = -1;
    int index = 0;
    bool inRun = false;
    for (const StellationCell* c = first; c; c = c->next, ++index)
    {
        const bool member = (c->mFlags & mask) != 0;
        if (member && !inRun)
        {
            if (++n >= count)
                return;
            runs[n].first = index;
        }
        if (member)
            runs[n].last = index;
        inRun = member;
    }
}

ValueRangeGroup* FindValueRangeGroup(float value, ValueRangeGroup* groups)
{
    for (ValueRangeGroup* g = groups; g; g = g->next)
        if (g->value == value)
            return g;
    return nullptr;
}

void AddToValueRangeGroup(float value, int index, ValueRangeGroup*& groups)
{
    ValueRangeGroup* group = FindValueRangeGroup(value, groups);
    if (!group)
    {
        group = new ValueRangeGroup;
        group->value = value;
        group->next = groups;
        groups = group;
    }
    AddToRangeList(index, group->head, group->tail);
}

void WriteValueRangeGroups(const ValueRangeGroup* groups, ioFile* f, int indent, int token)
{
    for (const ValueRangeGroup* g = groups; g; g = g->next)
        WriteRangeList(g->head, f, token, indent, g);
}

void FreeValueRangeGroups(ValueRangeGroup*& groups)
{
    while (groups)
    {
        ValueRangeGroup* next = groups->next;
        FreeRangeList(groups->head, groups->tail);
        delete groups;
        groups = next;
    }
}
