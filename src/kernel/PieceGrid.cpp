#include "kernel/PieceGrid.h"

#include "kernel/DiagramItems.h"

#include <algorithm>
#include <cmath>

namespace
{
// A box over more cells than this is cheaper to search by reading every piece.
constexpr int64_t kMaxCells = 1024;

int64_t CellIndex(double v, double cell)
{
    const double c = std::floor(v / cell);
    if (!(c > -4e18))
        return int64_t(-4e18);
    if (c > 4e18)
        return int64_t(4e18);
    return int64_t(c);
}

void EraseOne(std::vector<HalfEdge2D*>& list, const HalfEdge2D* piece)
{
    auto it = std::find(list.begin(), list.end(), piece);
    if (it != list.end())
        list.erase(it);
}
}  // namespace

void PieceGrid::Reset(double cellSize, double margin)
{
    mCell = cellSize > 0.0 && std::isfinite(cellSize) ? cellSize : 0.0;
    mMargin = margin;
    mCells.clear();
    mWide.clear();
}

uint64_t PieceGrid::Key(int64_t x, int64_t y)
{
    return uint64_t(x) * 0x9E3779B97F4A7C15ull ^ (uint64_t(y) + 0x7F4A7C159E3779B9ull);
}

PieceGrid::Range PieceGrid::CellsOf(double minX, double minY, double maxX, double maxY) const
{
    return Range{CellIndex(minX - mMargin, mCell), CellIndex(minY - mMargin, mCell), CellIndex(maxX + mMargin, mCell),
                 CellIndex(maxY + mMargin, mCell)};
}

PieceGrid::Range PieceGrid::CellsOf(const HalfEdge2D* piece) const
{
    const Vec2D& a = piece->mOrigin->mPoint;
    const Vec2D& b = piece->End()->mPoint;
    return CellsOf(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

bool PieceGrid::TooWide(const Range& r)
{
    const double w = double(r.x1) - double(r.x0) + 1.0;
    const double h = double(r.y1) - double(r.y0) + 1.0;
    return w * h > double(kMaxCells);
}

void PieceGrid::Add(HalfEdge2D* piece)
{
    if (!IsOn())
        return;
    const Range r = CellsOf(piece);
    if (TooWide(r))
    {
        mWide.push_back(piece);
        return;
    }
    for (int64_t y = r.y0; y <= r.y1; ++y)
        for (int64_t x = r.x0; x <= r.x1; ++x)
            mCells[Key(x, y)].push_back(piece);
}

void PieceGrid::Remove(HalfEdge2D* piece)
{
    if (!IsOn())
        return;
    // The vertices of a piece never move, so its cells are found again from its ends.
    const Range r = CellsOf(piece);
    if (TooWide(r))
    {
        EraseOne(mWide, piece);
        return;
    }
    for (int64_t y = r.y0; y <= r.y1; ++y)
        for (int64_t x = r.x0; x <= r.x1; ++x)
        {
            auto cell = mCells.find(Key(x, y));
            if (cell == mCells.end())
                continue;
            EraseOne(cell->second, piece);
            if (cell->second.empty())
                mCells.erase(cell);
        }
}

bool PieceGrid::Collect(double minX, double minY, double maxX, double maxY, std::vector<HalfEdge2D*>& out)
{
    if (!IsOn())
        return false;
    const Range r = CellsOf(minX, minY, maxX, maxY);
    if (TooWide(r))
        return false;
    // The stamp only grows, so a piece never carries the stamp of a later search.
    ++mStamp;
    auto take = [&](HalfEdge2D* piece) {
        if (piece->mStamp != mStamp)
        {
            piece->mStamp = mStamp;
            out.push_back(piece);
        }
    };
    for (int64_t y = r.y0; y <= r.y1; ++y)
        for (int64_t x = r.x0; x <= r.x1; ++x)
        {
            auto cell = mCells.find(Key(x, y));
            if (cell != mCells.end())
                for (HalfEdge2D* piece : cell->second)
                    take(piece);
        }
    for (HalfEdge2D* piece : mWide)
        take(piece);
    return true;
}
