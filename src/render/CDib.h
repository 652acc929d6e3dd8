#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The plain 24-bit picture an off-screen render lands in: BGR pixels, bottom row first, each row
// padded to a multiple of 4 bytes, as in a BMP file (and as glReadPixels packs GL_BGR with the
// default alignment). The off-screen bitmap owns two of them; the image export reads them. The
// window system's bitmap sections, palettes and mapped files have no part here: the bits are
// ours, and a render reads them back from the GL framebuffer.
class CDib
{
public:
    CDib() = default;
    CDib(CDib&&) = default;
    CDib& operator=(CDib&&) = default;
    // An empty picture of that size; only 24 bits are made (other counts give no bits). The bits
    // are allocated by CreateBits, so that a huge size fails there and not here.
    CDib(int width, int height, int bitCount);

    // Frees the bits; the header stays.
    void Empty();
    // The header's row and image sizes. False when the header is not a plain one.
    bool ComputeMetrics();
    // Allocates the zeroed bits; false (nothing allocated) when memory runs out or there is no header.
    bool CreateBits();

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    int GetBitCount() const { return mBitCount; }
    // Bytes of one row, padded to 32 bits.
    size_t GetRowBytes() const { return mRowBytes; }
    size_t GetImageSize() const { return mImageSize; }
    bool HasBits() const { return mBits != nullptr; }
    uint8_t* GetBits() { return mBits.get(); }
    const uint8_t* GetBits() const { return mBits.get(); }
    // The pixel's blue, green, red bytes; row 0 is the bottom row.
    uint8_t* PixelAt(int x, int y) { return mBits.get() + size_t(y) * mRowBytes + size_t(x) * 3; }
    const uint8_t* PixelAt(int x, int y) const { return mBits.get() + size_t(y) * mRowBytes + size_t(x) * 3; }

    // The BMP form: a 14-byte file header, the 40-byte information header, the bits. False after
    // telling the user ("write error").
    bool Write(const std::string& path) const;
    // Reads a 24-bit BMP written by Write (or any uncompressed 24-bit BMP). False after telling the
    // user ("Read error"); the picture is then empty.
    bool Read(const std::string& path);

    // Fills this picture (w x h) with the means of the s x s blocks of source (w s x h s).
    bool ReduceFrom(const CDib& source, int s);

private:
    int mWidth = 0;
    int mHeight = 0;
    int mBitCount = 0;
    size_t mRowBytes = 0;
    size_t mImageSize = 0;
    std::unique_ptr<uint8_t[]> mBits;
};
