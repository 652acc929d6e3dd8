#pragma once

#include <cstddef>
#include <cstdint>

// LZRW3-A block compression for the data blocks of model files. Blocks are exchangeable with any
// other implementation of the published algorithm: a 4-byte flag word (0 compressed, 1 stored),
// then the stored bytes or groups of a 16-bit control word and up to 16 literal or copy items.
// No function allocates: the caller supplies the working memory (the 4096-slot dictionary).

inline constexpr int kLzrwCompressAction = 1;
inline constexpr int kLzrwDecompressAction = 2;

// 4096 slots of 32 bits, plus room to align the start up to a multiple of 4.
inline constexpr size_t kLzrwWorkMemSize = 4096 * sizeof(uint32_t) + 3;

// Compression needs the source length plus this much room in the destination: a block may
// outgrow its source before the compressor notices and stores it instead.
inline constexpr size_t kLzrwCompressSlack = 1024;

// No block decompresses to more than this many times its length: a group of 16 copy items (a
// 2-byte control word and 32 bytes) gives at most 288 bytes. A size read from a file beside a block
// is checked against it before anything is allocated.
inline constexpr size_t kLzrwMaxExpansion = 9;

// Action 1 compresses, action 2 decompresses; any other action does nothing and returns false.
bool LzrwCompress(int action, void* workMem, const uint8_t* src, size_t srcLen, uint8_t* dst, size_t dstCapacity,
                  size_t& dstLen);

// Cannot fail for a destination of srcLen + kLzrwCompressSlack bytes or more: incompressible
// data are stored. dstLen is the block size including the flag word.
bool LzrwCompressBlock(void* workMem, const uint8_t* src, size_t srcLen, uint8_t* dst, size_t dstCapacity,
                       size_t& dstLen);

// False, with dstLen 0, for a damaged block: a bad flag word, a block that ends inside an item or
// right after a control word, or output that would not fit into dstCapacity. It never reads
// outside the block nor writes outside the destination.
bool LzrwDecompressBlock(void* workMem, const uint8_t* block, size_t blockLen, uint8_t* dst, size_t dstCapacity,
                         size_t& dstLen);
