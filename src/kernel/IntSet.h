#pragma once

#include <cstdint>
#include <memory>

// Distinct integers in order of first insertion; a value's position is its stable number.
// Searched linearly: meant for a few dozen values.
class IntSet
{
public:
    void Init();
    // Position of key, appended when new; 10 entries at first, doubled when full.
    int Add(int32_t key);
    void Free();

    int Count() const { return count; }
    int Capacity() const { return capacity; }
    int32_t operator[](int i) const { return items[i]; }

private:
    std::unique_ptr<int32_t[]> items;
    int capacity = 0;
    int count = 0;
};
