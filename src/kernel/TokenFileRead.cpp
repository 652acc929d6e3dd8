#include "kernel/TokenFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace
{
// Tokens are 16-bit numbers in BINARY, so no table is longer; this also ends the search when a
// name callback never returns null.
constexpr int kMaxTokens = 32768;

bool IsText(const ioFile* f)
{
    return f->mMode == kIoAscii;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Cuts a comment that follows white space, and trailing white space, outside quoted strings.
// An unterminated quoted string ends the scan without cutting.
void CutComment(ioFile* f)
{
    std::string& line = f->mLine;
    size_t spaceStart = std::string::npos;
    size_t i = f->mCursor;
    while (i < line.size())
    {
        const char c = line[i];
        if (c == '"')
        {
            ++i;
            while (i < line.size() && line[i] != '"')
                i += line[i] == '\\' ? 2 : 1;
            if (i >= line.size())
                return;
            ++i;
            spaceStart = std::string::npos;
            continue;
        }
        if (IsSpace(c))
        {
            if (spaceStart == std::string::npos)
                spaceStart = i;
        }
        else if (c == '#' && spaceStart != std::string::npos)
            break;
        else
            spaceStart = std::string::npos;
        ++i;
    }
    if (spaceStart != std::string::npos)
        line.resize(spaceStart);
}

// The word at the cursor, or the quoted string with its escapes resolved; any length. A value
// that is not there marks the stream; the end of the data before a token is no fault.
std::string ReadWord(ioFile* f, bool isValue)
{
    std::string word;
    if (!ioSkipSpace(f))
    {
        f->mValueMissing = f->mValueMissing || isValue;
        return word;
    }
    const std::string& line = f->mLine;
    size_t i = f->mCursor;
    if (line[i] == '"')
    {
        ++i;
        while (i < line.size() && line[i] != '"')
        {
            // A backslash escapes only a quote or a backslash; before anything else it is itself.
            if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                ++i;
            word.push_back(line[i++]);
        }
        if (i < line.size())
            ++i;
    }
    else
    {
        while (i < line.size() && !IsSpace(line[i]))
            word.push_back(line[i++]);
    }
    f->mCursor = i;
    return word;
}

// True when the next word is exactly this one; the cursor then stands after it.
bool TakeWord(ioFile* f, const char* word)
{
    if (!ioSkipSpace(f))
        return false;
    const size_t n = std::strlen(word);
    const std::string& line = f->mLine;
    if (line.compare(f->mCursor, n, word) != 0)
        return false;
    if (f->mCursor + n < line.size() && !IsSpace(line[f->mCursor + n]))
        return false;
    f->mCursor += n;
    return true;
}

// The start of a number, or null (the stream marked) when the data has ended.
const char* NumberStart(ioFile* f)
{
    if (ioSkipSpace(f))
        return f->mLine.c_str() + f->mCursor;
    f->mValueMissing = true;
    return nullptr;
}

// Moves the cursor past what was converted; nothing converted marks the stream.
void PassNumber(ioFile* f, const char* start, const char* end)
{
    if (end == start)
        f->mValueMissing = true;
    f->mCursor += size_t(end - start);
}

long ParseLong(ioFile* f)
{
    const char* start = NumberStart(f);
    if (!start)
        return 0;
    char* end = nullptr;
    const long v = std::strtol(start, &end, 0);
    PassNumber(f, start, end);
    return v;
}

unsigned long ParseULong(ioFile* f)
{
    const char* start = NumberStart(f);
    if (!start)
        return 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(start, &end, 0);
    PassNumber(f, start, end);
    return v;
}

// strtod, then on to the next white space.
double ParseReal(ioFile* f)
{
    const char* start = NumberStart(f);
    if (!start)
        return 0.0;
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    if (end == start)
        f->mValueMissing = true;
    while (f->mCursor < f->mLine.size() && !IsSpace(f->mLine[f->mCursor]))
        ++f->mCursor;
    return v;
}

std::string ReadBinaryText(ioFile* f)
{
    std::string text;
    if (f->mMode == kIoMemory)
    {
        if (!f->mMemInput)
            return text;
        const unsigned char* start = f->mMemInput + f->mMemPos;
        const size_t left = size_t(f->mMemSize - f->mMemPos);
        const void* zero = std::memchr(start, 0, left);
        const size_t n = zero ? size_t(static_cast<const unsigned char*>(zero) - start) : left;
        text.assign(reinterpret_cast<const char*>(start), n);
        f->mMemPos += int(zero ? n + 1 : n);
        // A text runs to its zero byte: without one the data was cut.
        if (!zero)
            f->mValueMissing = true;
        return text;
    }
    if (!f->mStream)
        return text;
    int c = EOF;
    while ((c = getc_unlocked(f->mStream)) != EOF && c != 0)
        text.push_back(char(c));
    if (c == EOF)
        f->mValueMissing = true;
    return text;
}
}  // namespace

bool ioReadLine(ioFile* f, bool reportEnd)
{
    if (!IsText(f) || !f->mStream)
        return false;
    for (;;)
    {
        f->mLine.clear();
        f->mCursor = 0;
        bool any = false;
        for (int c; (c = getc_unlocked(f->mStream)) != EOF;)
        {
            any = true;
            if (c == '\n')
                break;
            f->mLine.push_back(char(c));
        }
        if (!any)
        {
            if (std::ferror(f->mStream))
                ioError(f, 1, "%s", std::strerror(errno));
            else if (reportEnd)
                ioError(f, 1, "EOF");
            return false;
        }
        ++f->mLineNumber;
        while (f->mCursor < f->mLine.size() && IsSpace(f->mLine[f->mCursor]))
            ++f->mCursor;
        if (f->mCursor == f->mLine.size() || f->mLine[f->mCursor] == '#')
            continue;
        CutComment(f);
        return true;
    }
}

bool ioSkipSpace(ioFile* f)
{
    if (!IsText(f))
        return true;
    for (;;)
    {
        while (f->mCursor < f->mLine.size() && IsSpace(f->mLine[f->mCursor]))
            ++f->mCursor;
        if (f->mCursor < f->mLine.size())
            return true;
        if (!ioReadLine(f, false))
            return false;
    }
}

bool ioSkipAscii(ioFile* f, const char* literal)
{
    if (!IsText(f))
        return true;
    const size_t n = std::strlen(literal);
    if (f->mLine.compare(f->mCursor, n, literal) != 0)
    {
        ioError(f, 1, "ioSkipAscii didn't find '%s'", literal);
        return false;
    }
    f->mCursor += n;
    return true;
}

bool ioReadMemory(ioFile* f, void* buffer, int length)
{
    if (!f->mMemInput || length < 0 || length > f->mMemSize - f->mMemPos)
        return false;
    if (length)
        std::memcpy(buffer, f->mMemInput + f->mMemPos, size_t(length));
    f->mMemPos += length;
    return true;
}

int64_t ioBytesLeft(const ioFile* f)
{
    if (f->mMode == kIoMemory)
        return f->mMemInput ? int64_t(f->mMemSize - f->mMemPos) : 0;
    if (!f->mStream)
        return 0;
    struct stat info;
    const long position = std::ftell(f->mStream);
    if (position < 0 || fstat(fileno(f->mStream), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    int64_t left = std::max<int64_t>(int64_t(info.st_size) - position, 0);
    if (IsText(f) && f->mCursor < f->mLine.size())
        left += int64_t(f->mLine.size() - f->mCursor);
    return left;
}

namespace
{
bool ReadRawBytes(ioFile* f, void* buffer, int length, bool swap)
{
    if (length < 0)
        return false;
    bool ok;
    if (f->mMode == kIoMemory)
        ok = ioReadMemory(f, buffer, length);
    else
        ok = f->mStream && std::fread(buffer, 1, size_t(length), f->mStream) == size_t(length);
    if (ok && swap && length == 2)
    {
        int16_t s;
        std::memcpy(&s, buffer, 2);
        s = ioSwapShort(s);
        std::memcpy(buffer, &s, 2);
    }
    else if (ok && swap && length == 4)
    {
        int32_t l;
        std::memcpy(&l, buffer, 4);
        l = ioSwapLong(l);
        std::memcpy(buffer, &l, 4);
    }
    return ok;
}
}  // namespace

bool ioReadBytes(ioFile* f, void* buffer, int length, bool swap)
{
    if (ReadRawBytes(f, buffer, length, swap))
        return true;
    f->mValueMissing = true;
    return false;
}

int ioReadToken(ioFile* f)
{
    if (f->mPushedToken >= 0)
    {
        const int token = f->mPushedToken;
        f->mPushedToken = -1;
        return token;
    }
    if (!IsText(f))
    {
        int16_t token = 0;
        return ReadRawBytes(f, &token, 2, true) ? int(token) : kIoNoToken;
    }

    const std::string word = ReadWord(f, false);
    if (word.empty())
        return kIoNoToken;
    if (word == "Continue")
        return kIoContinue;
    if (word == "ContNewL")
        return kIoContNewL;
    int token = 0;
    for (; token < kMaxTokens && f->mTokenName; ++token)
    {
        const char* name = f->mTokenName(token);
        if (!name)
            break;
        if (word == name)
            return token;
    }
    ioError(f, 1, "Unknown token '%s'", word.c_str());
    return token;
}

void ioUnreadToken(ioFile* f, int token)
{
    f->mPushedToken = token >= 0 ? token : -1;
}

int16_t ioReadShort(ioFile* f)
{
    if (IsText(f))
        return int16_t(ParseLong(f));
    int16_t v = 0;
    return ioReadBytes(f, &v, 2, true) ? v : 0;
}

int32_t ioReadInt(ioFile* f)
{
    if (IsText(f))
        return int32_t(uint32_t(ParseLong(f)));
    int32_t v = 0;
    return ioReadBytes(f, &v, 4, true) ? v : 0;
}

uint32_t ioReadUInt(ioFile* f)
{
    if (IsText(f))
        return uint32_t(ParseULong(f));
    uint32_t v = 0;
    return ioReadBytes(f, &v, 4, true) ? v : 0;
}

float ioReadFloat(ioFile* f)
{
    if (IsText(f))
        return float(ParseReal(f));
    float v = 0.0f;
    return ioReadBytes(f, &v, 4, true) ? v : 0.0f;
}

double ioReadDouble(ioFile* f)
{
    if (IsText(f))
        return ParseReal(f);
    double v = 0.0;
    return ioReadBytes(f, &v, 8, false) ? v : 0.0;
}

void ioReadVec3(ioFile* f, Vec3D& v)
{
    v.x = ioReadDouble(f);
    v.y = ioReadDouble(f);
    v.z = ioReadDouble(f);
}

std::string ioReadString(ioFile* f, bool join)
{
    if (!IsText(f))
        return ReadBinaryText(f);
    std::string text = ReadWord(f, true);
    // Only the continuation tokens are taken: whatever else follows stays for the caller.
    while (join)
    {
        if (TakeWord(f, "Continue"))
            text += ReadWord(f, true);
        else if (TakeWord(f, "ContNewL"))
            text += "\n" + ReadWord(f, true);
        else
            break;
    }
    return text;
}

std::string ioReadText(ioFile* f, bool join)
{
    return ioReadString(f, join);
}

int ioReadEnum(ioFile* f, const ioEnumEntry* table)
{
    if (!IsText(f))
    {
        int32_t stored = 0;
        if (!ioReadBytes(f, &stored, 4, true))
            return -1;
        return f->mRawEnums ? stored : ioEnumValueAt(table, stored);
    }
    const std::string word = ReadWord(f, true);
    for (int i = 0; table && table[i].name; ++i)
        if (word == table[i].name)
            return table[i].value;
    if (word.find_first_not_of("0123456789") == std::string::npos)
    {
        const unsigned long long v = word.empty() ? 0 : std::strtoull(word.c_str(), nullptr, 10);
        if (v <= (unsigned long long)INT_MAX)
            return int(v);
    }
    ioError(f, 1, "Unknown enum value '%s'", word.c_str());
    return -1;
}

bool ioReadBool(ioFile* f)
{
    if (!IsText(f))
    {
        unsigned char byte = 0;
        return ioReadBytes(f, &byte, 1, false) && byte != 0;
    }
    const std::string word = ReadWord(f, true);
    if (strcasecmp(word.c_str(), "Yes") == 0)
        return true;
    if (strcasecmp(word.c_str(), "No") != 0)
        ioError(f, 1, "Unknown bool value '%s' (should be Yes or No)", word.c_str());
    return false;
}
