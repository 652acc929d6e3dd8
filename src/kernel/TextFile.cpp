#include "kernel/TextFile.h"

#include "kernel/Strings.h"

#include <cstring>

namespace
{
// One physical line without its line end; false at the end of the file.
bool ReadPhysicalLine(FILE* file, std::string& line)
{
    line.clear();
    int c = std::fgetc(file);
    if (c == EOF)
        return false;
    while (c != EOF && c != '\n')
    {
        line += char(c);
        c = std::fgetc(file);
    }
    return true;
}

bool StartsWithByteOrderMark(const std::string& line)
{
    static const char* const kMarks[] = {
        "\xEF\xBB\xBF",      // UTF-8
        "\xFE\xFF",          // UTF-16 big-endian
        "\xFF\xFE",          // UTF-16 little-endian
        "\xF7\x64\x4C",      // UTF-1
        "\xDD\x73\x66\x73",  // UTF-EBCDIC
        "\x0E\xFE\xFF",      // SCSU
        "\xFB\xEE\x28",      // BOCU-1
        "\x84\x31\x95\x33",  // GB 18030
    };
    for (const char* mark : kMarks)
        if (line.compare(0, std::strlen(mark), mark) == 0)
            return true;
    return false;
}

// Where the comment begins: the white space before the first prefix that follows white space.
size_t SignificantLength(const std::string& line, const char* prefix)
{
    size_t end = line.size();
    if (!IsBlank(prefix))
    {
        for (size_t at = line.find(prefix, 1); at != std::string::npos; at = line.find(prefix, at + 1))
        {
            if (!IsSpaceAscii(line[at - 1]))
                continue;  // directly after text: not a comment
            end = at;
            while (end > 0 && IsSpaceAscii(line[end - 1]))
                --end;
            break;
        }
    }
    while (end > 0 && IsSpaceAscii(line[end - 1]))
        --end;
    return end;
}
}  // namespace

bool ReadTextLine(FILE* file, std::string& line, int* lineCounter, const char* commentPrefix, std::string* error)
{
    if (!file)
        return false;
    for (;;)
    {
        const long position = std::ftell(file);
        if (!ReadPhysicalLine(file, line))
            return false;
        const bool first = position >= 0 ? position == 0 : lineCounter && *lineCounter == 0;
        if (lineCounter)
            ++*lineCounter;
        if (first && error && StartsWithByteOrderMark(line))
        {
            *error = "Only plain ASCII text files are accepted here.\nPlease change the encoding of your file.";
            return false;
        }
        const char* start = SkipSpaces(line.c_str());
        if (!*start || (!IsBlank(commentPrefix) && ComparePrefix(start, commentPrefix) == 0))
            continue;
        line.resize(SignificantLength(line, commentPrefix));
        return true;
    }
}
