#pragma once

#include <span>

// The relaxed vertex positions of the spring-built rows that belong to no family, one record for
// each table position from J1 to the last toroid, laid end to end in table order: a 32-bit vertex
// count c, then c points of three 64-bit floats x, y, z, all little-endian. A row whose record is
// empty (c = 0) has no data.
std::span<const unsigned char> GetStoredSpringPositions();

// A reader of the records: the count and the points of one record.
struct StoredSpringRecord
{
    int count = 0;
    const unsigned char* points = nullptr;  // 24 bytes a point

    double Coordinate(int point, int axis) const;
};

// No record holds more points than this; a larger count means the data are damaged.
inline constexpr int kMaxStoredSpringPoints = 1000;

// Walks to record index. Returns false, after "CreateSpringPoly: %d verts (0x%x)", when a record on
// the way claims more than kMaxStoredSpringPoints points or runs past the data, and false without a
// word for an index outside the table.
bool FindStoredSpringRecord(int index, StoredSpringRecord& record);
