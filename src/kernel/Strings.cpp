#include "kernel/Strings.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int Sign(int value)
{
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// The null rule of every comparison: the same pointer is equal, null sorts first.
bool CompareNulls(const char* a, const char* b, int& result)
{
    if (a == b)
        result = 0;
    else if (!a)
        result = -1;
    else if (!b)
        result = 1;
    else
        return false;
    return true;
}

// Where a text of `length` characters should end once trailing zeros after its point are cut.
size_t TrimmedZerosLength(const char* text, size_t length, int keep)
{
    const char* point = static_cast<const char*>(std::memchr(text, '.', length));
    if (!point)
        return length;
    const size_t pointAt = size_t(point - text);
    const size_t minEnd = pointAt + 1 + size_t(keep > 0 ? keep : 0);
    size_t end = length;
    while (end > minEnd && end > pointAt + 1 && text[end - 1] == '0')
        --end;
    if (end == pointAt + 1)
        end = pointAt;  // a bare point goes too
    return end;
}

const char kHex[] = "0123456789abcdef";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendEscaped(std::string& out, unsigned char byte)
{
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}
}  // namespace

bool IsSpaceAscii(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 0x80 && std::isspace(u);
}

bool IsBlank(const char* text)
{
    if (!text)
        return true;
    return *SkipSpaces(text) == 0;
}

bool IsBlank(const std::string& text)
{
    for (char c : text)
        if (!IsSpaceAscii(c))
            return false;
    return true;
}

const char* SkipSpaces(const char* text)
{
    while (*text && IsSpaceAscii(*text))
        ++text;
    return text;
}

char* SkipSpaces(char* text)
{
    return const_cast<char*>(SkipSpaces(static_cast<const char*>(text)));
}

const char* SkipToSpace(const char* text)
{
    while (*text && !IsSpaceAscii(*text))
        ++text;
    return text;
}

char* SkipToSpace(char* text)
{
    return const_cast<char*>(SkipToSpace(static_cast<const char*>(text)));
}

const char* SkipDigits(const char* text)
{
    while (IsDigit(*text))
        ++text;
    return text;
}

char* SkipDigits(char* text)
{
    return const_cast<char*>(SkipDigits(static_cast<const char*>(text)));
}

void TrimTrailingSpaces(char* text)
{
    if (!text)
        return;
    size_t n = std::strlen(text);
    while (n > 0 && IsSpaceAscii(text[n - 1]))
        --n;
    text[n] = 0;
}

void TrimTrailingSpaces(std::string& text)
{
    size_t n = text.size();
    while (n > 0 && IsSpaceAscii(text[n - 1]))
        --n;
    text.resize(n);
}

void TrimTrailingZeros(char* text, int keep)
{
    if (!text)
        return;
    text[TrimmedZerosLength(text, std::strlen(text), keep)] = 0;
}

void TrimTrailingZeros(std::string& text, int keep)
{
    text.resize(TrimmedZerosLength(text.c_str(), text.size(), keep));
}

std::string FormatReal(double value, int decimals)
{
    char buffer[64];
    if (value > 1e10 || value < -1e10 || std::isnan(value))
    {
        std::snprintf(buffer, sizeof buffer, "%g", value);
        return buffer;
    }
    // |value| <= 1e10 keeps the integer part short; the decimals are bounded for the buffer.
    const int places = decimals < 0 ? 0 : decimals > 30 ? 30 : decimals;
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    std::string text = buffer;
    TrimTrailingZeros(text, 0);
    return text;
}

char* AllocString(size_t size)
{
    char* text = static_cast<char*>(std::malloc(size > 0 ? size : 1));
    if (text)
        *text = 0;
    return text;
}

char* DupString(const char* text)
{
    if (!text)
        return nullptr;
    const size_t length = std::strlen(text);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy)
        std::memcpy(copy, text, length + 1);
    return copy;
}

char* DupStringN(const char* text, int n)
{
    if (!text || n < 0)
        return nullptr;
    const size_t length = strnlen(text, size_t(n));
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy)
        return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

int StringSize(const char* text)
{
    return text ? int(std::strlen(text)) + 1 : 0;
}

void CopyString(char* destination, const char* source, size_t size)
{
    if (!destination || size == 0)
        return;
    const size_t length = source ? strnlen(source, size - 1) : 0;
    if (length)
        std::memmove(destination, source, length);
    destination[length] = 0;
}

int CompareStrings(const char* a, const char* b)
{
    int result;
    if (CompareNulls(a, b, result))
        return result;
    return Sign(std::strcmp(a, b));
}

int CompareStringsNoCase(const char* a, const char* b)
{
    int result;
    if (CompareNulls(a, b, result))
        return result;
    return Sign(strcasecmp(a, b));
}

int CompareStringsN(const char* a, const char* b, size_t n)
{
    int result;
    if (CompareNulls(a, b, result))
        return result;
    return Sign(std::strncmp(a, b, n));
}

int CompareStringsNNoCase(const char* a, const char* b, size_t n)
{
    int result;
    if (CompareNulls(a, b, result))
        return result;
    return Sign(strncasecmp(a, b, n));
}

int ComparePrefix(const char* text, const char* prefix)
{
    int result;
    if (CompareNulls(text, prefix, result))
        return result;
    return Sign(std::strncmp(text, prefix, std::strlen(prefix)));
}

int ComparePrefixNoCase(const char* text, const char* prefix)
{
    int result;
    if (CompareNulls(text, prefix, result))
        return result;
    return Sign(strncasecmp(text, prefix, std::strlen(prefix)));
}

void MakeUpperCase(char* text)
{
    if (!text)
        return;
    for (; *text; ++text)
        *text = char(std::toupper(static_cast<unsigned char>(*text)));
}

void MakeUpperCase(std::string& text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
}

int CompareNatural(const char* a, const char* b)
{
    int result;
    if (CompareNulls(a, b, result))
        return result;
    int tie = 0;
    for (;;)
    {
        const char ca = *a;
        const char cb = *b;
        if (ca && cb && ca != '.' && cb != '.')
        {
            if (IsDigit(ca) && IsDigit(cb))
            {
                // By value, without converting: runs of any length compare correctly.
                const char* endA = SkipDigits(a);
                const char* endB = SkipDigits(b);
                const char* sigA = a;
                const char* sigB = b;
                while (sigA + 1 < endA && *sigA == '0')
                    ++sigA;
                while (sigB + 1 < endB && *sigB == '0')
                    ++sigB;
                const ptrdiff_t lenA = endA - sigA;
                const ptrdiff_t lenB = endB - sigB;
                if (lenA != lenB)
                    return lenA < lenB ? -1 : 1;
                const int byValue = std::strncmp(sigA, sigB, size_t(lenA));
                if (byValue)
                    return Sign(byValue);
                if (!tie)
                {
                    for (const char *p = a, *q = b; p < endA && q < endB; ++p, ++q)
                        if (*p != *q)
                        {
                            tie = *p < *q ? -1 : 1;
                            break;
                        }
                    if (!tie && endA - a != endB - b)
                        tie = endA - a > endB - b ? -1 : 1;  // "01" against "1": the zero comes first
                }
                a = endA;
                b = endB;
                continue;
            }
            if (IsDigit(ca))
                return -1;
            if (IsDigit(cb))
                return 1;
            const int la = std::tolower(static_cast<unsigned char>(ca));
            const int lb = std::tolower(static_cast<unsigned char>(cb));
            if (la != lb)
                return la < lb ? -1 : 1;
            if (!tie && ca != cb)
                tie = static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb) ? -1 : 1;
            ++a;
            ++b;
            continue;
        }
        if (ca == cb)
        {
            if (!ca || tie)
                return tie;
            ++a;
            ++b;
            continue;
        }
        if (!ca || (ca == '.' && cb))
            return -1;
        return 1;
    }
}

std::string UrlEncode(const char* text, bool doubleEscape)
{
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text)
    {
        const unsigned char c = static_cast<unsigned char>(*text);
        if (c == ' ')
            out += '+';
        else if (std::isalnum(c) && c < 0x80)
            out += char(c);
        else if (c == '-' || c == '.' || c == '_')
            out += char(c);
        else
        {
            if (doubleEscape)
                out += "%25";
            else
                out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string EscapeFormValue(const char* text)
{
    std::string out;
    if (!text)
        return out;
    static const char kKept[] = "_., +-=!@#$^&()";
    for (; *text; ++text)
    {
        const unsigned char c = static_cast<unsigned char>(*text);
        if ((std::isalnum(c) && c < 0x80) || std::strchr(kKept, c))
            out += char(c);
        else
            AppendEscaped(out, c);
    }
    return out;
}

std::string UnescapeFormValue(const char* text)
{
    std::string out;
    if (!text)
        return out;
    while (*text)
    {
        if (*text == '%')
        {
            const int high = HexValue(text[1]);
            const int low = high >= 0 ? HexValue(text[2]) : -1;
            if (low >= 0)
            {
                out += char(high * 16 + low);
                text += 3;
                continue;
            }
        }
        out += *text++;
    }
    return out;
}
