#include "model/SimpleVertGrid.h"

#include "kernel/Messages.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
// Cells 2^-17 (about 7.6e-6) wide: a point's window of the standard tolerance reaches a second cell
// along an axis in under 3 % of searches. A power of two keeps the scaling exact.
constexpr double kCellsPerUnit = 131072.0;
// Coordinates beyond 2^32 share the outermost cells, keeping cell numbers exact integers. Such
// points are still told apart by their positions, only more slowly.
constexpr double kReach = 4294967296.0;
// Where a coordinate that is not a number goes: beyond every cell of a number, so such a point
// never matches a finite one.
constexpr int64_t kNanCell = int64_t(1) << 52;

int64_t CellNumber(double c)
{
    if (std::isnan(c))
        return kNanCell;
    // Rounded down by hand: a search takes a dozen of these, and floor is a library call.
    const double scaled = std::clamp(c, -kReach, kReach) * kCellsPerUnit;
    const int64_t truncated = int64_t(scaled);
    return double(truncated) > scaled ? truncated - 1 : truncated;
}

uint64_t Mix(uint64_t h)
{
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ull;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebull;
    h ^= h >> 31;
    return h;
}

bool IsInf(const SimpleVert& v)
{
    return (v.mFlags & SimpleElem::kInf) != 0;
}

// Whether a, at squared distance da from the point, is a better answer than b at db.
bool Nearer(const SimpleVert* a, double da, const SimpleVert* b, double db)
{
    if (!b || da < db)
        return true;
    if (da > db)
        return false;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (a->mPos[axis] != b->mPos[axis])
            return a->mPos[axis] < b->mPos[axis];
    }
    return a < b;  // records of one array: the lower index
}
}  // namespace

SimpleVertGrid::Cell SimpleVertGrid::CellOf(const Vec3D& pos, bool inf)
{
    return {CellNumber(pos.x), CellNumber(pos.y), CellNumber(pos.z), inf};
}

SimpleVertGrid::Cell SimpleVertGrid::CellOf(const SimpleVert& vert)
{
    return CellOf(vert.mPos, IsInf(vert));
}

void SimpleVertGrid::Clear()
{
    if (mUsed == 0)
        return;
    std::fill(mSlots.get(), mSlots.get() + mCapacity, Slot{nullptr, 0});
    mUsed = 0;
}

void SimpleVertGrid::Release()
{
    mSlots.reset();
    mCapacity = mUsed = 0;
}

void SimpleVertGrid::Reserve(size_t count)
{
    size_t capacity = 64;
    while (capacity < 2 * count)
        capacity *= 2;
    if (capacity > mCapacity)
        Resize(capacity);
}

uint64_t SimpleVertGrid::Hash(const Cell& cell)
{
    uint64_t h = uint64_t(cell.x) * 0x9e3779b97f4a7c15ull;
    h ^= uint64_t(cell.y) * 0xc2b2ae3d27d4eb4full;
    h ^= uint64_t(cell.z) * 0x165667b19e3779f9ull;
    h ^= cell.inf ? 0x27d4eb2f165667c5ull : 0;
    return Mix(h);
}

size_t SimpleVertGrid::Probe(uint64_t hash) const
{
    const size_t mask = mCapacity - 1;
    size_t i = size_t(hash) & mask;
    while (mSlots[i].head && mSlots[i].hash != hash)
        i = (i + 1) & mask;
    return i;
}

bool SimpleVertGrid::Resize(size_t capacity)
{
    std::unique_ptr<Slot[]> old(new (std::nothrow) Slot[capacity]());
    if (!old)
        return false;
    std::swap(old, mSlots);
    const size_t oldCapacity = mCapacity;
    mCapacity = capacity;
    for (size_t i = 0; i < oldCapacity; ++i)
    {
        if (old[i].head)
            mSlots[Probe(old[i].hash)] = old[i];
    }
    return true;
}

bool SimpleVertGrid::Insert(SimpleVert* vert)
{
    if (2 * (mUsed + 1) > mCapacity && !Resize(std::max<size_t>(64, 2 * mCapacity)) && mUsed + 1 >= mCapacity)
    {
        // A fuller table still works; only one without a free slot cannot.
        ErrorMessage("Out of memory for a model of %d vertices.", int(mUsed + 1));
        return false;
    }
    const uint64_t hash = Hash(CellOf(*vert));
    Slot& slot = mSlots[Probe(hash)];
    if (!slot.head)
    {
        slot.hash = hash;
        ++mUsed;
    }
    vert->mNextInCell = slot.head;
    slot.head = vert;
    return true;
}

SimpleVert* SimpleVertGrid::Find(const Vec3D& pos, bool inf, double tol) const
{
    if (mUsed == 0)
        return nullptr;
    int64_t lo[3], hi[3];
    double window = 1.0;
    for (int axis = 0; axis < 3; ++axis)
    {
        lo[axis] = CellNumber(pos[axis] - tol);
        hi[axis] = CellNumber(pos[axis] + tol);
        window *= double(hi[axis] - lo[axis] + 1);
    }
    auto inWindow = [&](const SimpleVert& v) {
        const Cell c = CellOf(v);
        return c.inf == inf && lo[0] <= c.x && c.x <= hi[0] && lo[1] <= c.y && c.y <= hi[1] && lo[2] <= c.z &&
               c.z <= hi[2];
    };
    SimpleVert* best = nullptr;
    double bestSq = 0.0;
    auto consider = [&](SimpleVert* head) {
        for (SimpleVert* v = head; v; v = v->mNextInCell)
        {
            // The window's cells decide, not the comparison alone: it matches anything with a
            // coordinate that is not a number. A chain may also hold cells of the same hash.
            if (!inWindow(*v) || SimplePoly::CompareVertPos(pos, inf, *v, tol) != 0)
                continue;
            Vec3D d;
            Vec3Sub(d, pos, v->mPos);
            const double sq = Vec3LengthSq(d);
            if (Nearer(v, sq, best, bestSq))
            {
                best = v;
                bestSq = sq;
            }
        }
    };

    if (window > double(mCapacity))
    {
        // A tolerance much wider than a cell: the table is quicker to go through than the window.
        for (size_t i = 0; i < mCapacity; ++i)
            consider(mSlots[i].head);
        return best;
    }
    for (int64_t x = lo[0]; x <= hi[0]; ++x)
    {
        for (int64_t y = lo[1]; y <= hi[1]; ++y)
        {
            for (int64_t z = lo[2]; z <= hi[2]; ++z)
                consider(mSlots[Probe(Hash({x, y, z, inf}))].head);
        }
    }
    return best;
}

std::vector<const SimpleVert*> SimpleVertGrid::Entries() const
{
    std::vector<const SimpleVert*> all;
    for (size_t i = 0; i < mCapacity; ++i)
    {
        for (const SimpleVert* v = mSlots[i].head; v; v = v->mNextInCell)
            all.push_back(v);
    }
    return all;
}
