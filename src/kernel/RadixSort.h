#pragma once

#include <cstdint>
#include <memory>

// Sorts 32-bit float keys in linear time for back-to-front drawing of translucent triangles.
// The ranks of one sort are the starting order of the next, so an unchanged scene costs one pass.
class RadixSort
{
public:
    RadixSort() = default;
    ~RadixSort() { mSize = 0; }
    RadixSort(const RadixSort&) = delete;
    RadixSort& operator=(const RadixSort&) = delete;

    // New buffers of n entries each; false when one cannot be had (the sorter is then empty).
    bool Resize(uint32_t n);
    void ResetRanks();

    // Afterwards Ranks()[0..n-1] lists the key indices in ascending key order (-0 before +0).
    // False when the buffers could not be had; the ranks are then not valid.
    bool Sort(const float* keys, uint32_t n);

    // Sorts an intrusive list by a float key: the key member, or keyFn(node) when the member is null.
    // prevLink may be null for singly linked lists. With flags bit 0 (order only) the list is left as it
    // was, the old first node is returned, and the order is read from Ranks() and Objects().
    // Null when the list has fewer than n nodes or memory ran out.
    template <class Node, class KeyFn>
    Node* SortList(Node* first, uint32_t n, uint32_t flags, float Node::*keyMember, KeyFn keyFn,
                   Node* Node::*nextLink, Node* Node::*prevLink, Node** lastOut);

    const uint32_t* Ranks() const { return mRanks.get(); }
    void* const* Objects() const { return mObjects.get(); }
    uint32_t Capacity() const { return mCapacity; }
    uint32_t TotalSorts() const { return mTotalSorts; }
    uint32_t Hits() const { return mHits; }

private:
    bool Prepare(uint32_t n);
    void Release();

    uint32_t mCapacity = 0;
    uint32_t mSize = 0;
    std::unique_ptr<uint32_t[]> mRanks;
    std::unique_ptr<uint32_t[]> mRanks2;
    std::unique_ptr<float[]> mKeys;
    std::unique_ptr<void*[]> mObjects;
    uint32_t mTotalSorts = 0;
    uint32_t mHits = 0;
};

template <class Node, class KeyFn>
Node* RadixSort::SortList(Node* first, uint32_t n, uint32_t flags, float Node::*keyMember, KeyFn keyFn,
                          Node* Node::*nextLink, Node* Node::*prevLink, Node** lastOut)
{
    if (!first)
    {
        if (lastOut)
            *lastOut = nullptr;
        return nullptr;
    }
    if (n == 0)
        for (Node* node = first; node; node = node->*nextLink)
            ++n;
    if (!Prepare(n))
        return nullptr;

    Node* node = first;
    for (uint32_t i = 0; i < n; ++i)
    {
        if (!node)
            return nullptr;
        mObjects[i] = node;
        mKeys[i] = keyMember ? node->*keyMember : keyFn(node);
        node = node->*nextLink;
    }
    if (!Sort(mKeys.get(), n))
        return nullptr;
    if (flags & 1)
        return first;

    Node* previous = nullptr;
    for (uint32_t i = 0; i < n; ++i)
    {
        Node* current = static_cast<Node*>(mObjects[mRanks[i]]);
        if (prevLink)
            current->*prevLink = previous;
        if (previous)
            previous->*nextLink = current;
        previous = current;
    }
    previous->*nextLink = nullptr;
    if (lastOut)
        *lastOut = previous;
    return static_cast<Node*>(mObjects[mRanks[0]]);
}
