#include "library/LibraryVertexFigure.h"

#include "kernel/Tolerance.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace
{
void SkipSpace(const char*& p)
{
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
}

bool ReadInt(const char*& p, int& value)
{
    SkipSpace(p);
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return false;
    value = int(v);
    p = end;
    return true;
}

// A whole number or n/d, white space allowed around the parts.
bool ReadFraction(const char*& p, int& num, int& den)
{
    if (!ReadInt(p, num))
        return false;
    den = 1;
    const char* q = p;
    SkipSpace(q);
    if (*q != '/')
        return true;
    ++q;
    if (!ReadInt(q, den) || den == 0)
        return false;
    p = q;
    return true;
}
}  // namespace

std::string GetLibraryVertexFigureConfig(const LibraryEntry& entry)
{
    std::string config;
    const int repeats = std::abs(entry.mPage1);
    for (int i = 0; i < repeats; ++i)
    {
        if (i > 0)
            config += '.';
        config += std::to_string(entry.mNumber);
    }
    if (entry.mPage1 < 0)
        config = "(" + config + ")/2";
    return config;
}

std::unique_ptr<SimplePoly> CreateLibraryVertexFigure(const LibraryEntry& entry, std::string& faceDesc)
{
    char text[64];
    if (!entry.mWythoff || !*entry.mWythoff)
    {
        const LibraryEntry* figure = FindLibraryEntry(GetLibraryVertexFigureConfig(entry).c_str(), nullptr, false);
        if (!figure)
            return nullptr;
        if (entry.mPage2 > 0)
            std::snprintf(text, sizeof text, "(%d)", entry.mPage2);
        else
            std::snprintf(text, sizeof text, "(%d;2)", -entry.mPage2);
        faceDesc = text;
        return LibraryEntry::CreatePoly(figure, false);
    }

    int num[6] = {entry.mNumber, entry.mPage1, entry.mPage2, 0, 0, 0};
    int den[6] = {1, 1, 1, 1, 1, 1};
    const char* p = entry.mWythoff;
    for (int i = 3; i < 6; ++i)
    {
        if (!ReadFraction(p, num[i], den[i]))
            return nullptr;
    }
    int least = -1;
    double leastValue = kUnsetValue;
    for (int i = 0; i < 6; ++i)
    {
        const double value = double(num[i]) / double(den[i]);
        if (value < leastValue)
        {
            leastValue = value;
            least = i;
        }
    }
    std::snprintf(text, sizeof text, "(%d;%d)", num[least], den[least]);
    faceDesc = text;
    return CreateIrregularTetFromRatios(num, den);
}
