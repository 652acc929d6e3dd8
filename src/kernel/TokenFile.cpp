#include "kernel/TokenFile.h"

#include <bit>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr size_t kMessageSize = 512;
constexpr int kFirstMemorySize = 512;
constexpr int kMaxPieceLength = 60;

const char kNewerMajorFormat[] =
    "Error loading %s\n\nData was created with a newer version of the program.\nIt appears the data format has "
    "changed significantly.\nYou would need to upgrade to the new version to load this data.";
const char kNewerMinorText[] =
    "This file was created with a newer version of the program.\nIt appears the file format has changed "
    "slightly.\nI will try to load it, but there may be errors.\nYou would need the new version to load it reliably.";

bool IsText(const ioFile* f)
{
    return f->mMode == kIoAscii;
}

// Without the flush of ioGood: items are checked as they are written.
bool WrittenOk(const ioFile* f)
{
    return !f->mStream || !std::ferror(f->mStream);
}

void PutText(ioFile* f, const char* text)
{
    if (text && f->mStream)
        std::fputs(text, f->mStream);
}

void PutBytes(ioFile* f, const char* bytes, size_t n)
{
    if (n && f->mStream)
        std::fwrite(bytes, 1, n, f->mStream);
}

int VReport(ioFile* f, int level, const char* format, va_list args)
{
    const std::string message = FormatMessageText(kMessageSize, format, args);
    std::string full = message;
    if (f && !f->mFileName.empty())
    {
        // A fixed buffer, cut with "..." when full: g++ 12 reports false out-of-bounds writes for the string form.
        char buffer[kMessageSize];
        const int length = f->mLineNumber > 0
            ? std::snprintf(buffer, sizeof buffer, "'%s', line %d:\n%s", f->mFileName.c_str(), f->mLineNumber,
                            message.c_str())
            : std::snprintf(buffer, sizeof buffer, "'%s':\n%s", f->mFileName.c_str(), message.c_str());
        if (length >= static_cast<int>(sizeof buffer))
            std::memcpy(buffer + sizeof buffer - 4, "...", 4);
        full = buffer;
    }
    if (f && f->mError)
        return f->mError(level, full.c_str(), message.c_str());
    std::fprintf(stderr, "%s\n", full.c_str());
    return 0;
}

bool WriteShort(ioFile* f, int16_t v)
{
    return ioWriteBytes(f, &v, 2, true);
}

bool WriteLong(ioFile* f, int32_t v)
{
    return ioWriteBytes(f, &v, 4, true);
}

// One conversion of a BINARY printf: the bytes it writes, or -1 for a letter no value has.
int WriteConversion(ioFile* f, char letter, char size, va_list& args)
{
    switch (letter)
    {
    case 'e':
    case 'E':
    case 'f':
    case 'g':
    case 'G':
    {
        const double v = va_arg(args, double);
        if (size == 'h')
        {
            const float narrow = float(v);
            return ioWriteBytes(f, &narrow, 4, true) ? 4 : -1;
        }
        return ioWriteBytes(f, &v, 8, false) ? 8 : -1;
    }
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X':
    {
        // The stored width is fixed: a long keeps its low 32 bits.
        const long v = size == 'l' ? va_arg(args, long) : long(va_arg(args, int));
        if (size == 'h')
            return WriteShort(f, int16_t(v)) ? 2 : -1;
        return WriteLong(f, int32_t(uint32_t(v))) ? 4 : -1;
    }
    case 'c':
    {
        const unsigned char c = static_cast<unsigned char>(va_arg(args, int));
        return ioWriteBytes(f, &c, 1, false) ? 1 : -1;
    }
    case 's':
    {
        InternalError("For %%s, use ioWriteString()");
        const char* s = va_arg(args, const char*);
        if (!s)
            s = "";
        const int n = int(std::strlen(s)) + 1;
        return ioWriteBytes(f, s, n, false) ? n : -1;
    }
    default:
        return -1;
    }
}

int VPrintf(ioFile* f, const char* format, va_list args)
{
    if (IsText(f))
        return f->mStream ? std::vfprintf(f->mStream, format, args) : -1;

    va_list ap;
    va_copy(ap, args);
    int written = 0;
    for (const char* p = format; *p; ++p)
    {
        if (*p != '%')
            continue;
        ++p;
        while (*p && (std::strchr("+- #.*", *p) || (*p >= '0' && *p <= '9')))
        {
            if (*p == '*')
                (void)va_arg(ap, int);
            ++p;
        }
        char size = 0;
        if (*p == 'l' || *p == 'L' || *p == 'h')
        {
            size = *p == 'L' ? 'l' : *p;
            ++p;
        }
        const int n = WriteConversion(f, *p, size, ap);
        if (n < 0)
        {
            if (!std::strchr("eEfgGdioxXucs", *p) || !*p)
                ioError(f, 1, "Unknown printf format %%%c", *p ? *p : '?');
            written = -1;
            break;
        }
        written += n;
    }
    va_end(ap);
    return written;
}

// Pieces of at most 60 characters between quotes; quotes and backslashes escaped; a line feed, or
// the length limit, closes the piece and continues on a new line after the continuation token.
void WriteQuoted(ioFile* f, const char* text, int indent)
{
    PutText(f, "\"");
    const char* piece = text ? text : "";
    for (;;)
    {
        const char* p = piece;
        while (*p && *p != '"' && *p != '\\' && *p != '\n' && (indent < 0 || p - piece < kMaxPieceLength))
            ++p;
        PutBytes(f, piece, size_t(p - piece));
        if (!*p)
            break;
        if (*p == '"' || *p == '\\')
        {
            PutText(f, *p == '"' ? "\\\"" : "\\\\");
            piece = p + 1;
            continue;
        }
        if (*p == '\n' && indent < 0)
        {
            PutBytes(f, p, 1);
            piece = p + 1;
            continue;
        }
        const bool lineFeed = *p == '\n';
        PutText(f, "\"\n");
        ioWriteToken(f, lineFeed ? kIoContNewL : kIoContinue, indent);
        PutText(f, " \"");
        piece = lineFeed ? p + 1 : p;
    }
    PutText(f, "\"");
}
}  // namespace

ioFile::~ioFile()
{
    if (mMode == kIoMemory && mReceiver)
    {
        // Whatever the receiver held is released rather than lost.
        mReceiver->Clear();
        mReceiver->mSize = mMemPos;
        mReceiver->mData = mMemData;
        mMemData = nullptr;
    }
    std::free(mMemData);
    if (mStream)
        std::fclose(mStream);
}

ioFilePtr ioOpenWrite(const char* path, const char* magic, int16_t major, int16_t minor, int mode,
                      ioTokenNameFunc tokenName, ioErrorFunc error, MemBlock* receiver)
{
    ioFilePtr f = std::make_unique<ioFile>();
    f->mMode = mode;
    f->mWriting = true;
    f->mMajor = major;
    f->mMinor = minor;
    f->mTokenName = std::move(tokenName);
    f->mError = std::move(error);
    if (mode == kIoMemory)
    {
        if (!receiver)
        {
            InternalError("ioOpenWrite(): a memory stream needs a receiver");
            return nullptr;
        }
        f->mReceiver = receiver;
    }
    else if (mode == kIoAscii || mode == kIoBinary)
    {
        f->mFileName = path ? path : "";
        f->mStream = path ? std::fopen(path, mode == kIoAscii ? "w" : "wb") : nullptr;
        if (!f->mStream)
        {
            ioError(f.get(), 1, "Can't open file");
            return nullptr;
        }
        std::fprintf(f->mStream, "%s %s ", magic ? magic : "", mode == kIoAscii ? "ASCII" : "BINARY");
    }
    else
    {
        InternalError("ioOpenWrite(): unknown mode %d", mode);
        return nullptr;
    }
    ioPrintf(f.get(), "%hd.%02hd\n", major, minor);
    return f;
}

ioFilePtr ioOpenRead(const char* path, const char* magic, int16_t major, int16_t minor, ioTokenNameFunc tokenName,
                     ioErrorFunc error, const void* memData, int memSize)
{
    ioFilePtr f = std::make_unique<ioFile>();
    f->mTokenName = std::move(tokenName);
    f->mError = std::move(error);
    if (memData)
    {
        f->mMode = kIoMemory;
        f->mMemInput = static_cast<const unsigned char*>(memData);
        f->mMemSize = memSize > 0 ? memSize : 0;
        f->mMajor = ioReadShort(f.get());
        f->mMinor = ioReadShort(f.get());
    }
    else
    {
        f->mFileName = path ? path : "";
        f->mStream = path ? std::fopen(path, "rb") : nullptr;
        if (!f->mStream)
        {
            ioError(f.get(), 1, "Can't open file");
            return nullptr;
        }
        const std::string expected = std::string(magic ? magic : "") + " ";
        std::string found(expected.size(), '\0');
        if (std::fread(found.data(), 1, found.size(), f->mStream) != found.size() || found != expected)
        {
            ioError(f.get(), 1, "This is not the right kind of file");
            return nullptr;
        }
        char word[8] = {};
        const int first = std::fgetc(f->mStream);
        if (first == 'A' && std::fread(word, 1, 5, f->mStream) == 5 && std::memcmp(word, "SCII ", 5) == 0)
            f->mMode = kIoAscii;
        else if (first == 'B' && std::fread(word, 1, 6, f->mStream) == 6 && std::memcmp(word, "INARY ", 6) == 0)
            f->mMode = kIoBinary;
        else
        {
            ioError(f.get(), 1, "Expected ASCII or BINARY");
            return nullptr;
        }

        if (f->mMode == kIoAscii)
        {
            if (!ioReadLine(f.get(), true))
                return nullptr;
            // Both parts are decimal: the minor's leading zero is no octal mark.
            ioSkipSpace(f.get());
            char* end = nullptr;
            const char* start = f->mLine.c_str() + f->mCursor;
            f->mMajor = int16_t(std::strtol(start, &end, 10));
            f->mCursor += size_t(end - start);
            ioSkipAscii(f.get(), ".");
            start = f->mLine.c_str() + f->mCursor;
            f->mMinor = int16_t(std::strtol(start, &end, 10));
            f->mCursor += size_t(end - start);
        }
        else
        {
            f->mMajor = ioReadShort(f.get());
            f->mMinor = ioReadShort(f.get());
        }
    }

    if (major < f->mMajor)
    {
        ioError(f.get(), 1, kNewerMajorFormat, f->mFileName.empty() ? "data" : f->mFileName.c_str());
        return nullptr;
    }
    if (major == f->mMajor && minor < f->mMinor)
        ioError(f.get(), 0, "%s", kNewerMinorText);
    return f;
}

void ioClose(ioFilePtr& f)
{
    f.reset();
}

bool ioGood(const ioFile* f)
{
    if (!f)
        return false;
    if (f->mMemFailed)
        return false;
    if (f->mWriting && f->mStream)
        std::fflush(f->mStream);
    return WrittenOk(f);
}

int CompareVersions(int major1, int minor1, int major2, int minor2)
{
    return major1 != major2 ? major1 - major2 : minor1 - minor2;
}

int ioCompareVersion(const ioFile* f, int major, int minor)
{
    return CompareVersions(f->mMajor, f->mMinor, major, minor);
}

ioCallbacks ioSetCallbacks(ioFile* f, ioTokenNameFunc tokenName, ioErrorFunc error)
{
    ioCallbacks previous{f->mTokenName, f->mError};
    if (tokenName)
        f->mTokenName = std::move(tokenName);
    if (error)
        f->mError = std::move(error);
    return previous;
}

void ioRestoreCallbacks(ioFile* f, const ioCallbacks& callbacks)
{
    f->mTokenName = callbacks.tokenName;
    f->mError = callbacks.error;
}

int16_t ioSwapShort(int16_t v)
{
    if constexpr (std::endian::native == std::endian::big)
        return int16_t(uint16_t(uint16_t(v) << 8 | uint16_t(v) >> 8));
    return v;
}

int32_t ioSwapLong(int32_t v)
{
    if constexpr (std::endian::native == std::endian::big)
    {
        const uint32_t u = uint32_t(v);
        return int32_t((u << 24) | ((u << 8) & 0xFF0000u) | ((u >> 8) & 0xFF00u) | (u >> 24));
    }
    return v;
}

bool ioWriteToken(ioFile* f, int token, int indent)
{
    if (!IsText(f))
        return WriteShort(f, int16_t(token));
    const char* name = ioTokenName(f, token);
    if (!name)
    {
        InternalError("ioWriteToken(): token %d has no name", token);
        return false;
    }
    ioIndent(f, indent);
    PutText(f, name);
    return WrittenOk(f);
}

const char* ioTokenName(const ioFile* f, int token)
{
    if (token == kIoContinue)
        return "Continue";
    if (token == kIoContNewL)
        return "ContNewL";
    return token >= 0 && f->mTokenName ? f->mTokenName(token) : nullptr;
}

int ioPrintf(ioFile* f, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = VPrintf(f, format, args);
    va_end(args);
    return n;
}

bool ioWriteString(ioFile* f, const char* prefix, const char* text, const char* suffix, int indent)
{
    if (!IsText(f))
    {
        const char* s = text ? text : "";
        return ioWriteBytes(f, s, int(std::strlen(s)) + 1, false);
    }
    PutText(f, prefix);
    WriteQuoted(f, text, indent);
    PutText(f, suffix);
    return WrittenOk(f);
}

bool ioWriteEnum(ioFile* f, int value, const ioEnumEntry* table, const char* prefix, const char* suffix)
{
    const int index = ioEnumIndex(table, value);
    if (index < 0)
    {
        ioError(f, 1, "Unknown enum value %d (0x%x)", value, unsigned(value));
        return false;
    }
    if (!IsText(f))
        return WriteLong(f, index);
    PutText(f, prefix);
    PutText(f, table[index].name);
    PutText(f, suffix);
    return WrittenOk(f);
}

bool ioWriteBool(ioFile* f, bool value, const char* prefix, const char* suffix)
{
    if (!IsText(f))
    {
        const unsigned char byte = value ? 1 : 0;
        return ioWriteBytes(f, &byte, 1, false);
    }
    PutText(f, prefix);
    PutText(f, value ? "Yes" : "No");
    PutText(f, suffix);
    return WrittenOk(f);
}

void ioIndent(ioFile* f, int count)
{
    if (IsText(f) && f->mStream && count > 0)
        std::fprintf(f->mStream, "%*s", count, "");
}

bool ioWriteBytes(ioFile* f, const void* bytes, int length, bool swap)
{
    if (length <= 0)
        return length == 0;
    int16_t s = 0;
    int32_t l = 0;
    if (swap && length == 2)
    {
        std::memcpy(&s, bytes, 2);
        s = ioSwapShort(s);
        bytes = &s;
    }
    else if (swap && length == 4)
    {
        std::memcpy(&l, bytes, 4);
        l = ioSwapLong(l);
        bytes = &l;
    }
    if (f->mMode == kIoMemory)
        return ioAppendMemory(f, bytes, length);
    return f->mStream && std::fwrite(bytes, size_t(length), 1, f->mStream) == 1;
}

bool ioAppendMemory(ioFile* f, const void* bytes, int length)
{
    if (f->mMemInput || length < 0)
        return false;
    if (length > INT_MAX / 2 - f->mMemPos)
    {
        f->mMemFailed = true;
        ioError(f, 1, "Out of memory: a memory stream cannot grow past %d bytes", f->mMemPos);
        return false;
    }
    const int needed = f->mMemPos + length;
    if (needed > f->mMemSize)
    {
        int capacity = 2 * needed;
        if (!f->mMemData && capacity < kFirstMemorySize)
            capacity = kFirstMemorySize;
        void* grown = std::realloc(f->mMemData, size_t(capacity));
        if (!grown)
        {
            f->mMemFailed = true;
            ioError(f, 1, "Out of memory: a memory stream cannot grow to %d bytes", capacity);
            return false;
        }
        f->mMemData = static_cast<unsigned char*>(grown);
        f->mMemSize = capacity;
    }
    if (length)
        std::memcpy(f->mMemData + f->mMemPos, bytes, size_t(length));
    f->mMemPos = needed;
    return true;
}

int ioError(ioFile* f, int level, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = VReport(f, level, format, args);
    va_end(args);
    return result;
}

const char* ioEnumName(const ioEnumEntry* table, int value)
{
    const int index = ioEnumIndex(table, value);
    return index >= 0 ? table[index].name : nullptr;
}

int ioEnumIndex(const ioEnumEntry* table, int value)
{
    for (int i = 0; table && table[i].name; ++i)
        if (table[i].value == value)
            return i;
    return -1;
}

int ioEnumValue(const ioEnumEntry* table, const char* name)
{
    for (int i = 0; table && name && table[i].name; ++i)
        if (std::strcmp(table[i].name, name) == 0)
            return table[i].value;
    return -1;
}

int ioEnumValueAt(const ioEnumEntry* table, int index)
{
    for (int i = 0; table && table[i].name; ++i)
        if (i == index)
            return table[i].value;
    return -1;
}
