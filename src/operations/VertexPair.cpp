#include "operations/VertexPair.h"

#include <new>
#include <utility>

bool AddVertexPair(int a, int b, int value, VertexPair*& list)
{
    if (b < a)
        std::swap(a, b);
    for (const VertexPair* p = list; p; p = p->mNext)
        if (p->mLow == a && p->mHigh == b)
            return true;
    VertexPair* node = new (std::nothrow) VertexPair{a, b, value, list};
    if (!node)
        return false;
    list = node;
    return true;
}

void FreeVertexPairs(VertexPair*& list)
{
    while (list)
    {
        VertexPair* next = list->mNext;
        delete list;
        list = next;
    }
}

int CountVertexPairs(const VertexPair* list)
{
    int n = 0;
    for (; list; list = list->mNext)
        ++n;
    return n;
}
