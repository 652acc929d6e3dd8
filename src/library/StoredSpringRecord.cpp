#include "library/StoredSpringDescs.h"
#include "library/StoredSpringPositions.h"

#include "kernel/Messages.h"

#include <bit>
#include <cstdint>

namespace
{
uint64_t ReadLittleEndian(const unsigned char* p, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}
}  // namespace

double StoredSpringRecord::Coordinate(int point, int axis) const
{
    return std::bit_cast<double>(ReadLittleEndian(points + 24 * point + 8 * axis, 8));
}

bool FindStoredSpringRecord(int index, StoredSpringRecord& record)
{
    if (index < 0 || index >= kNumStoredSpringDescs)
        return false;
    const std::span<const unsigned char> data = GetStoredSpringPositions();
    size_t at = 0;
    for (int k = 0;; ++k)
    {
        const int count = at + 4 <= data.size() ? int(ReadLittleEndian(data.data() + at, 4)) : -1;
        const size_t end = at + 4 + 24 * size_t(count < 0 ? 0 : count);
        if (count < 0 || count > kMaxStoredSpringPoints || end > data.size())
        {
            InternalError("CreateSpringPoly: %d verts (0x%x)", count, unsigned(count));
            return false;
        }
        if (k == index)
        {
            record.count = count;
            record.points = data.data() + at + 4;
            return true;
        }
        at = end;
    }
}
