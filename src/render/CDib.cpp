#include "render/CDib.h"

#include "kernel/Messages.h"

#include <cstdio>
#include <memory>
#include <new>

namespace
{
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

void PutU16(uint8_t* p, unsigned v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

unsigned GetU16(const uint8_t* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

using File = std::unique_ptr<FILE, int (*)(FILE*)>;
}  // namespace

CDib::CDib(int width, int height, int bitCount) : mWidth(width), mHeight(height), mBitCount(bitCount)
{
    ComputeMetrics();
}

void CDib::Empty()
{
    mBits.reset();
}

bool CDib::ComputeMetrics()
{
    if (mWidth < 0 || mHeight < 0 || mBitCount != 24)
    {
        mRowBytes = mImageSize = 0;
        return false;
    }
    mRowBytes = (size_t(mBitCount) * size_t(mWidth) + 31) / 32 * 4;
    mImageSize = mRowBytes * size_t(mHeight);
    return true;
}

bool CDib::CreateBits()
{
    if (mImageSize == 0)
        return false;
    mBits.reset(new (std::nothrow) uint8_t[mImageSize]());
    return mBits != nullptr;
}

bool CDib::Write(const std::string& path) const
{
    uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
    // The file size field stays 0, as readers take the size from the information header.
    PutU16(header, 0x4D42);
    PutU32(header + 10, uint32_t(kFileHeaderSize + kInfoHeaderSize));
    uint8_t* info = header + kFileHeaderSize;
    PutU32(info, uint32_t(kInfoHeaderSize));
    PutU32(info + 4, uint32_t(mWidth));
    PutU32(info + 8, uint32_t(mHeight));
    PutU16(info + 12, 1);
    PutU16(info + 14, unsigned(mBitCount));
    PutU32(info + 20, uint32_t(mImageSize));
    File file(std::fopen(path.c_str(), "wb"), std::fclose);
    const bool ok = file && std::fwrite(header, 1, sizeof header, file.get()) == sizeof header &&
                    (!mBits || std::fwrite(mBits.get(), 1, mImageSize, file.get()) == mImageSize) &&
                    std::fflush(file.get()) == 0;
    if (!ok)
        ErrorMessage("write error");
    return ok;
}

bool CDib::Read(const std::string& path)
{
    *this = CDib();
    File file(std::fopen(path.c_str(), "rb"), std::fclose);
    uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
    bool ok = file && std::fread(header, 1, sizeof header, file.get()) == sizeof header && GetU16(header) == 0x4D42;
    const uint8_t* info = header + kFileHeaderSize;
    const uint32_t offset = ok ? GetU32(header + 10) : 0;
    ok = ok && GetU32(info) == kInfoHeaderSize && GetU16(info + 14) == 24 && GetU32(info + 16) == 0 &&
         offset >= sizeof header;
    if (ok)
    {
        const int32_t w = int32_t(GetU32(info + 4));
        const int32_t h = int32_t(GetU32(info + 8));
        // Top-down pictures (negative height) are not ours to read.
        ok = w > 0 && h > 0 && w <= 65536 && h <= 65536;
        if (ok)
        {
            mWidth = w;
            mHeight = h;
            mBitCount = 24;
            ok = ComputeMetrics() && CreateBits() && std::fseek(file.get(), long(offset), SEEK_SET) == 0 &&
                 std::fread(mBits.get(), 1, mImageSize, file.get()) == mImageSize;
        }
    }
    if (!ok)
    {
        *this = CDib();
        ErrorMessage("Read error");
    }
    return ok;
}

bool CDib::ReduceFrom(const CDib& source, int s)
{
    if (s < 1 || source.mWidth != mWidth * s || source.mHeight != mHeight * s || !HasBits() || !source.HasBits())
        return false;
    const unsigned area = unsigned(s * s);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            unsigned sum[3] = {0, 0, 0};
            for (int j = 0; j < s; ++j)
            {
                const uint8_t* p = source.PixelAt(x * s, y * s + j);
                for (int i = 0; i < s; ++i, p += 3)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c];
            }
            uint8_t* q = PixelAt(x, y);
            for (int c = 0; c < 3; ++c)
                q[c] = uint8_t((sum[c] + area / 2) / area);
        }
    return true;
}
