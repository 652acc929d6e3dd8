#include "library/LibraryEntry.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void LibraryEntry::GetParams(int& n, int& d) const
{
    n = mNumber;
    d = mPage1;
    if (mCategory != kCategoryPrisms || (mFlags & kParametricFamily) || !mSymbol)
        return;
    const char* p = mSymbol;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    char* end = nullptr;
    n = int(std::strtol(p, &end, 10));
    d = 1;
    if (end && *end == '/' && std::isdigit(static_cast<unsigned char>(end[1])))
        d = int(std::strtol(end + 1, nullptr, 10));
}

std::string LibraryEntry::GetSymbol(const LibraryEntry* entry)
{
    if (!entry || (entry->mFlags & kFileEntry) || !entry->mSymbol || entry->mSymbol[0] == '?')
        return std::string();
    std::string symbol = entry->mSymbol;
    if (!(entry->mFlags & kParametricFamily))
        return symbol;
    int n = 0, d = 1;
    entry->GetParams(n, d);
    char param[32];
    if (d != 1)
        std::snprintf(param, sizeof param, "%d/%d", n, d);
    else
        std::snprintf(param, sizeof param, "%d", n);
    for (size_t at = symbol.find("<N>"); at != std::string::npos; at = symbol.find("<N>", at))
    {
        symbol.replace(at, 3, param);
        at += std::strlen(param);
    }
    return symbol;
}

int LibraryEntry::GetWenningerNumber() const
{
    if ((mFlags & (kSpringBuilt | kParametricFamily)) || mCategory == kCategory4D)
        return -1;
    return mNumber;
}

const char* LibraryEntry::GetWythoffSymbol() const
{
    return mCategory == kCategory4D ? nullptr : mWythoff;
}
