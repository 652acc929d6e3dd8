#pragma once

// A block of bytes received from an in-memory token stream (undo snapshots, memory slots, tours,
// data blocks of model files). The bytes come from malloc and realloc and are freed with free.
struct MemBlock
{
    MemBlock() = default;
    ~MemBlock() { Clear(); }
    MemBlock(const MemBlock&) = delete;
    MemBlock& operator=(const MemBlock&) = delete;
    MemBlock(MemBlock&& other) noexcept;
    MemBlock& operator=(MemBlock&& other) noexcept;

    // Frees the bytes and leaves an empty block.
    void Clear();

    int mSize = 0;
    unsigned char* mData = nullptr;
};
