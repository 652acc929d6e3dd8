// Hostile blocks for the decompressor: it must stay inside the block and the destination whatever
// the bytes. Whatever it accepts must compress and decompress back to itself.

#include "kernel/Lzrw.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the room in the destination, up to 64 KB.
    const size_t capacity = size_t(data[0]) | size_t(data[1]) << 8;
    data += 2;
    size -= 2;

    static std::vector<uint8_t> work(kLzrwWorkMemSize);
    // Exact sizes, so that the address sanitizer sees the first byte outside either buffer.
    std::vector<uint8_t> block(data, data + size);
    std::vector<uint8_t> out(capacity);
    size_t outLen = 0;
    if (!LzrwDecompressBlock(work.data(), block.data(), block.size(), out.data(), out.size(), outLen))
        return 0;
    if (outLen > capacity)
        std::abort();

    std::vector<uint8_t> again(outLen + kLzrwCompressSlack);
    size_t againLen = 0;
    if (!LzrwCompressBlock(work.data(), out.data(), outLen, again.data(), again.size(), againLen))
        std::abort();
    again.resize(againLen);
    std::vector<uint8_t> back(outLen);
    size_t backLen = 0;
    if (!LzrwDecompressBlock(work.data(), again.data(), again.size(), back.data(), back.size(), backLen) ||
        backLen != outLen || (outLen && std::memcmp(back.data(), out.data(), outLen) != 0))
        std::abort();
    return 0;
}
