#pragma once

// The spring-network descriptions of the spring-built rows that belong to no family: one text for
// each table position from the first spring-built row (J1) to the last toroid, in table order. A
// row whose text is empty is built by relaxing a network made elsewhere.
inline constexpr int kNumStoredSpringDescs = 136;

// Null outside 0 .. kNumStoredSpringDescs - 1.
const char* GetStoredSpringDesc(int index);

// The table position of the first spring-built row, where the stored tables start; -1 when no row
// is spring-built. Found once.
int FirstSpringBuiltPosition();
