#include "kernel/Lzrw.h"

#include "kernel/Messages.h"

#include <cstring>

namespace
{
constexpr uint32_t kFlagCompressed = 0;
constexpr uint32_t kFlagStored = 1;
constexpr size_t kFlagBytes = 4;
constexpr size_t kMaxItem = 18;
constexpr size_t kGroupSpan = 16 * kMaxItem;
constexpr uint32_t kTopWord = 0xFFFF0000u;
constexpr unsigned kDepth = 8;
constexpr unsigned kNumSlots = 4096;

// Slots hold positions in the source (compressing) or in the output (decompressing); this one
// stands for the start text, where every slot points at the start of each call.
constexpr uint32_t kStartSlot = 0xFFFFFFFFu;
// A candidate's 19th byte may be compared: the start text carries its terminator.
constexpr uint8_t kStartText[kMaxItem + 1] = "123456789012345678";

uint32_t* AlignedTable(void* workMem)
{
    const uintptr_t aligned = (reinterpret_cast<uintptr_t>(workMem) + 3) & ~uintptr_t(3);
    uint32_t* table = reinterpret_cast<uint32_t*>(aligned);
    for (unsigned i = 0; i < kNumSlots; ++i)
        table[i] = kStartSlot;
    return table;
}

// The first slot of the partition of three bytes.
inline unsigned PartitionBase(const uint8_t* p)
{
    const unsigned mixed = (unsigned(p[0]) << 8) ^ (unsigned(p[1]) << 4) ^ unsigned(p[2]);
    return (((40543u * mixed) >> 4) & 0x1FFu) * kDepth;
}

struct Dictionary
{
    uint32_t* slots;
    unsigned cycle = 0;

    // Every insertion, on both sides, takes the way of the one shared cycle.
    void Insert(unsigned partitionBase, size_t position)
    {
        slots[partitionBase + cycle] = uint32_t(position);
        cycle = (cycle + 1) & (kDepth - 1);
    }
};

void PutWord32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

size_t StoreBlock(const uint8_t* src, size_t srcLen, uint8_t* dst)
{
    PutWord32(dst, kFlagStored);
    if (srcLen)
        std::memcpy(dst + kFlagBytes, src, srcLen);
    return srcLen + kFlagBytes;
}
}  // namespace

bool LzrwCompressBlock(void* workMem, const uint8_t* src, size_t srcLen, uint8_t* dst, size_t dstCapacity,
                       size_t& dstLen)
{
    dstLen = 0;
    if (!workMem || !dst || (!src && srcLen))
    {
        InternalError("LzrwCompressBlock(): no memory given");
        return false;
    }
    if (srcLen >= kStartSlot || dstCapacity < srcLen + kLzrwCompressSlack)
    {
        InternalError("LzrwCompressBlock(): %zu bytes do not fit a destination of %zu bytes", srcLen, dstCapacity);
        return false;
    }

    Dictionary dict{AlignedTable(workMem)};
    PutWord32(dst, kFlagCompressed);
    size_t out = kFlagBytes;
    size_t controlPos = out;
    out += 2;
    uint32_t control = kTopWord;

    // Partitions of the last two literals, not yet entered: a literal is entered only once the
    // bytes after it are known, exactly as the decompressor can.
    int pendingNew = -1;
    int pendingOld = -1;
    size_t p = 0;

    for (;;)
    {
        if (out > srcLen)
        {
            dstLen = StoreBlock(src, srcLen, dst);
            return true;
        }
        const size_t remaining = srcLen - p;
        int items = 16;
        if (remaining < kGroupSpan)
        {
            items = 1;
            if (remaining < kMaxItem)
            {
                if (remaining == 0)
                    break;
                // Too near the end to search; no search follows, so the table no longer matters.
                dst[out++] = src[p++];
                control &= ~0x10000u;
                control >>= 1;
                items = 0;
            }
        }

        for (int item = 0; item < items; ++item)
        {
            const uint8_t* s = src + p;
            const unsigned base = PartitionBase(s);
            const uint32_t* ways = dict.slots + base;
            unsigned bestLen = 0;
            unsigned bestWay = 0;
            // Nothing beats a full-length match, so the search may end there.
            for (unsigned way = 0; way < kDepth && bestLen < kMaxItem; ++way)
            {
                const uint8_t* candidate = ways[way] == kStartSlot ? kStartText : src + ways[way];
                if (s[bestLen] != candidate[bestLen])
                    continue;
                unsigned len = 0;
                while (len < kMaxItem && s[len] == candidate[len])
                    ++len;
                if (len > bestLen)
                {
                    bestLen = len;
                    bestWay = way;
                }
            }

            const size_t ziv = p;
            if (bestLen < 3)
            {
                dst[out++] = src[p++];
                control &= ~0x10000u;
                if (pendingOld >= 0)
                    dict.Insert(unsigned(pendingOld), ziv - 2);
                pendingOld = pendingNew;
                pendingNew = int(base);
            }
            else
            {
                const unsigned slot = base + bestWay;
                dst[out++] = uint8_t(((slot & 0xF00u) >> 4) | (bestLen - 3));
                dst[out++] = uint8_t(slot & 0xFFu);
                p += bestLen;
                if (pendingNew >= 0)
                {
                    if (pendingOld >= 0)
                        dict.Insert(unsigned(pendingOld), ziv - 2);
                    dict.Insert(unsigned(pendingNew), ziv - 1);
                    pendingOld = pendingNew = -1;
                }
                dict.Insert(base, ziv);
            }
            control >>= 1;
        }

        if ((control & kTopWord) == 0)
        {
            dst[controlPos] = uint8_t(control);
            dst[controlPos + 1] = uint8_t(control >> 8);
            controlPos = out;
            out += 2;
            control = kTopWord;
        }
    }

    while (control & kTopWord)
        control >>= 1;
    dst[controlPos] = uint8_t(control);
    dst[controlPos + 1] = uint8_t(control >> 8);
    if (controlPos + 2 == out)
        out -= 2;
    dstLen = out;
    return true;
}

bool LzrwDecompressBlock(void* workMem, const uint8_t* block, size_t blockLen, uint8_t* dst, size_t dstCapacity,
                         size_t& dstLen)
{
    dstLen = 0;
    if (!workMem || !block || blockLen < kFlagBytes || (!dst && dstCapacity))
        return false;
    const uint32_t flag = uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 |
                          uint32_t(block[3]) << 24;
    if (flag == kFlagStored)
    {
        const size_t n = blockLen - kFlagBytes;
        if (n > dstCapacity)
            return false;
        if (n)
            std::memcpy(dst, block + kFlagBytes, n);
        dstLen = n;
        return true;
    }
    if (flag != kFlagCompressed)
        return false;

    // Output positions live in 32-bit slots.
    if (dstCapacity >= kStartSlot)
        dstCapacity = kStartSlot - 1;

    Dictionary dict{AlignedTable(workMem)};
    size_t in = kFlagBytes;
    size_t out = 0;
    uint32_t control = 1;
    unsigned literals = 0;

    while (in != blockLen)
    {
        if (control == 1)
        {
            if (blockLen - in < 3)
                return false;  // a control word needs two bytes and at least one item after it
            control = 0x10000u | block[in] | uint32_t(block[in + 1]) << 8;
            in += 2;
        }

        if (control & 1)
        {
            if (blockLen - in < 2)
                return false;
            const unsigned first = block[in];
            const unsigned slot = ((first & 0xF0u) << 4) | block[in + 1];
            const size_t len = (first & 0x0Fu) + 3;
            in += 2;
            if (dstCapacity - out < len)
                return false;

            const size_t ziv = out;
            const uint32_t from = dict.slots[slot];
            if (from == kStartSlot)
                std::memcpy(dst + out, kStartText, len);
            else if (from < ziv)
            {
                // Byte by byte: the source may overlap what this item writes.
                for (size_t i = 0; i < len; ++i)
                    dst[out + i] = dst[from + i];
            }
            else
                return false;
            out += len;

            if (literals > 0)
            {
                const size_t r = ziv - literals;
                dict.Insert(PartitionBase(dst + r), r);
                if (literals == 2)
                    dict.Insert(PartitionBase(dst + r + 1), r + 1);
                literals = 0;
            }
            dict.Insert(slot & ~(kDepth - 1), ziv);
        }
        else
        {
            if (out == dstCapacity)
                return false;
            dst[out++] = block[in++];
            if (++literals == 3)
            {
                dict.Insert(PartitionBase(dst + out - 3), out - 3);
                literals = 2;
            }
        }
        control >>= 1;
    }

    dstLen = out;
    return true;
}

bool LzrwCompress(int action, void* workMem, const uint8_t* src, size_t srcLen, uint8_t* dst, size_t dstCapacity,
                  size_t& dstLen)
{
    if (action == kLzrwCompressAction)
        return LzrwCompressBlock(workMem, src, srcLen, dst, dstCapacity, dstLen);
    if (action == kLzrwDecompressAction)
        return LzrwDecompressBlock(workMem, src, srcLen, dst, dstCapacity, dstLen);
    return false;
}
