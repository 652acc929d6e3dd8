#pragma once

#include <cstdint>

// A list of unordered vertex index pairs, each once, with one value (in every use a packed
// 0x00BBGGRR edge colour): how the edges of a model reach the exporters that draw edges as lines.
// A list is its first node (null when empty), newest pair first; it owns its nodes and whoever
// receives one frees it with FreeVertexPairs.
struct VertexPair
{
    int32_t mLow;
    int32_t mHigh;
    int32_t mValue;
    VertexPair* mNext;
};

// Adds {a, b} with the value unless the list holds the pair already (which keeps its first value).
// False, with the list unchanged, when memory runs out.
bool AddVertexPair(int a, int b, int value, VertexPair*& list);
// Deletes every node; list becomes null.
void FreeVertexPairs(VertexPair*& list);
int CountVertexPairs(const VertexPair* list);
