#pragma once

#include <cstdint>
#include <memory>
#include <new>

// Pool allocator for the many small items of face diagrams and drawn polygons. Items are never
// returned one by one: a pool is reset (everything free again, memory kept) or freed.
// Items are value-initialised when their chunk is made and never again, so after a reset each
// user sets every field it reads.
template <class T>
class ChunkPool
{
public:
    static constexpr uint32_t kDefaultChunkSize = 120;

    explicit ChunkPool(uint32_t chunkSize = kDefaultChunkSize) : mChunkSize(chunkSize) {}
    ~ChunkPool() { Free(); }
    ChunkPool(const ChunkPool&) = delete;
    ChunkPool& operator=(const ChunkPool&) = delete;

    // n contiguous items, or null when memory runs out.
    T* Alloc(uint32_t n)
    {
        uint64_t need = n;
        while (mCurrent)
        {
            if (uint64_t(mCurrent->used) + n <= mCurrent->capacity)
            {
                T* items = mCurrent->items.get() + mCurrent->used;
                mCurrent->used += n;
                return items;
            }
            need += mCurrent->capacity;
            mCurrent = mCurrent->next.get();
        }
        // A new chunk at least doubles the space tried so far.
        const uint64_t capacity = need * 2 > mChunkSize ? need * 2 : mChunkSize;
        if (capacity > UINT32_MAX)
            return nullptr;
        auto chunk = std::unique_ptr<Chunk>(new (std::nothrow) Chunk);
        if (!chunk)
            return nullptr;
        chunk->items.reset(new (std::nothrow) T[capacity]());
        if (!chunk->items)
            return nullptr;
        chunk->capacity = uint32_t(capacity);
        chunk->used = n;
        chunk->next = std::move(mFirst);
        mFirst = std::move(chunk);
        mCurrent = mFirst.get();
        return mCurrent->items.get();
    }

    void Reset()
    {
        for (Chunk* c = mFirst.get(); c; c = c->next.get())
            c->used = 0;
        mCurrent = mFirst.get();
    }

    void Free()
    {
        // Unlinked one at a time so a long chain never recurses in the destructors.
        while (mFirst)
            mFirst = std::move(mFirst->next);
        mCurrent = nullptr;
        mChunkSize = kDefaultChunkSize;
    }

    uint32_t ChunkSize() const { return mChunkSize; }
    void SetChunkSize(uint32_t n) { mChunkSize = n; }

    // For tests and statistics: the chunks from the first, newest one.
    int NumChunks() const
    {
        int n = 0;
        for (const Chunk* c = mFirst.get(); c; c = c->next.get())
            ++n;
        return n;
    }
    uint32_t ChunkCapacity(int index) const
    {
        const Chunk* c = mFirst.get();
        while (c && index-- > 0)
            c = c->next.get();
        return c ? c->capacity : 0;
    }
    uint32_t ChunkUsed(int index) const
    {
        const Chunk* c = mFirst.get();
        while (c && index-- > 0)
            c = c->next.get();
        return c ? c->used : 0;
    }

private:
    struct Chunk
    {
        std::unique_ptr<T[]> items;
        uint32_t capacity = 0;
        uint32_t used = 0;
        std::unique_ptr<Chunk> next;
    };

    std::unique_ptr<Chunk> mFirst;
    Chunk* mCurrent = nullptr;
    uint32_t mChunkSize;
};
