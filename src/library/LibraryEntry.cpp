#include "library/LibraryEntry.h"

#include "kernel/Messages.h"
#include "kernel/Strings.h"
#include "library/SceneFile.h"
#include "library/SpringFamilyDesc.h"
#include "library/StoredSpringDescs.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace
{
// Texts a file entry owns come from DupString.
void FreeOwnedText(const char*& text)
{
    std::free(const_cast<char*>(text));
    text = nullptr;
}

// Owns the chosen file entry's path, so that it is freed at exit.
struct ChosenFileEntryHolder
{
    LibraryEntry entry{nullptr, -1, -1, -1, -1, LibraryEntry::kFileEntry, 0, 0, 0, 0,
                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    ~ChosenFileEntryHolder() { entry.FreeStrings(); }
};

ChosenFileEntryHolder& ChosenHolder()
{
    static ChosenFileEntryHolder holder;
    return holder;
}

}  // namespace

int FirstSpringBuiltPosition()
{
    static const int position = [] {
        const std::span<LibraryEntry> table = GetLibraryTable();
        for (size_t i = 0; i < table.size(); ++i)
        {
            if (table[i].mFlags & LibraryEntry::kSpringBuilt)
                return int(i);
        }
        return -1;
    }();
    return position;
}

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

bool LibraryEntry::SetParams(int n, int d, bool report)
{
    mNumber = n;
    mPage1 = d;
    if ((mFlags & kPrismFamily) && !CheckPrismBase(n, d, report))
        return false;
    if ((mFlags & kAntiprismFamily) && !CheckAntiprismBase(n, d, report))
        return false;
    if ((mFlags & kPyramidFamily) && !CheckPyramidBase(n, d, report))
        return false;
    if ((mFlags & kCupolaFamily) && !CheckCupolaBase(n, d, report))
        return false;
    if ((mFlags & kCuploidFamily) && !CheckCuploidBase(n, d, report))
        return false;
    if ((mFlags & kCupolaicBlendFamily) && !CheckCupolaicBlendBase(n, d, report))
        return false;
    return true;
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

int LibraryEntry::GetNumCells(bool dual) const
{
    if (!dual)
        return mNumCells;
    return mNumCells != 0 ? mNumVerts : 0;
}

int LibraryEntry::GetNumFaces(bool dual) const
{
    if (!dual)
        return mNumFaces;
    return mNumCells != 0 ? mNumEdges : mNumVerts;
}

int LibraryEntry::GetNumEdges(bool dual) const
{
    if (!dual)
        return mNumEdges;
    return mNumCells != 0 ? mNumFaces : mNumEdges;
}

int LibraryEntry::GetNumVerts(bool dual) const
{
    if (!dual)
        return mNumVerts;
    return mNumCells != 0 ? mNumCells : mNumFaces;
}

int LibraryEntry::GetWenningerNumber() const
{
    if ((mFlags & (kSpringBuilt | kParametricFamily)) || mCategory == kCategory4D)
        return -1;
    return mNumber;
}

int LibraryEntry::GetModelsPage() const
{
    if ((mFlags & (kSpringBuilt | kParametricFamily)) || mCategory == kCategory4D)
        return -1;
    return mPage1;
}

int LibraryEntry::GetDualModelsPage() const
{
    if ((mFlags & (kSpringBuilt | kParametricFamily)) || mCategory == kCategory4D)
        return -1;
    return mPage2;
}

const char* LibraryEntry::GetWythoffSymbol() const
{
    return mCategory == kCategory4D ? nullptr : mWythoff;
}

std::string LibraryEntry::GetDualFirstName(const LibraryEntry* entry)
{
    if (!entry || !entry->mDualNames)
        return std::string();
    const char* names = entry->mDualNames;
    const char* end = std::strchr(names, ';');
    return end ? std::string(names, end) : std::string(names);
}

bool LibraryEntry::IsDualName(const LibraryEntry* entry, const char* text)
{
    if (!entry || IsBlank(entry->mDualNames))
        return IsBlank(text);
    if (IsBlank(text))
        return false;
    return GetDualFirstName(entry) == text;
}

std::optional<std::string> LibraryEntry::GetSpringDesc(const LibraryEntry* entry)
{
    if (!entry || !(entry->mFlags & kSpringBuilt))
        return std::nullopt;
    int n = 0, d = 1;
    entry->GetParams(n, d);
    const uint32_t flags = entry->mFlags;
    if (flags & kPrismFamily)
        return PrismSpringDesc(n, d);
    if (flags & kAntiprismFamily)
        return AntiprismSpringDesc(n, d);
    if (flags & kPyramidFamily)
        return PyramidSpringDesc(n, d);
    if (flags & kCupolaFamily)
        return CupolaSpringDesc(n, d);
    if (flags & kCuploidFamily)
        return CuploidSpringDesc(n, d);
    if (flags & kCupolaicBlendFamily)
        return CupolaicBlendSpringDesc(n, d);

    const int first = FirstSpringBuiltPosition();
    const int position = GetLibraryPosition(entry);
    if (first < 0 || position < 0)
        return std::nullopt;
    const char* text = GetStoredSpringDesc(position - first);
    if (!text)
        return std::nullopt;
    return std::string(text);
}

std::string LibraryEntry::GetLink(const LibraryEntry* entry)
{
    if (!entry || IsBlank(entry->mPageName))
        return {};
    if (ComparePrefixNoCase(entry->mPageName, "http") == 0)
        return entry->mPageName;
    std::string link = GetLibraryWebSite();
    link += '/';
    link += entry->mPageName;
    return link;
}

void LibraryEntry::FreeStrings()
{
    if (!(mFlags & kFileEntry))
        return;
    FreeOwnedText(mSymbol);
    FreeOwnedText(mName);
    FreeOwnedText(mOtherNames);
    FreeOwnedText(mDescription);
    FreeOwnedText(mPageName);
}

int GetNumLibraryEntries()
{
    return int(GetLibraryTable().size());
}

int GetLibraryPosition(const LibraryEntry* entry)
{
    const std::span<LibraryEntry> table = GetLibraryTable();
    // std::less orders pointers into other objects too.
    const std::less<const LibraryEntry*> before;
    if (!entry || table.empty() || before(entry, table.data()) || !before(entry, table.data() + table.size()))
        return -1;
    return int(entry - table.data());
}

LibraryEntry& GetChosenFileEntry()
{
    return ChosenHolder().entry;
}

void SetChosenFilePath(const char* path)
{
    LibraryEntry& entry = ChosenHolder().entry;
    std::free(const_cast<char*>(entry.mName));
    entry.mName = DupString(path);
}

LibraryEntry* CreateFileEntry(const char* path)
{
    return new LibraryEntry{nullptr, -1, -1, -1, -1, LibraryEntry::kFileEntry, 0, 0, 0, 0,
                            DupString(path), nullptr, nullptr, nullptr, nullptr, nullptr};
}

const char* GetLibraryWebSite()
{
    return "https://www.orvane.org";
}

std::unique_ptr<SimplePoly> LibraryEntry::CreatePoly(const LibraryEntry* entry, bool dual)
{
    if (!entry)
        return nullptr;
    if (entry->mFlags & kFileEntry)
        return entry->mName ? ReadModelSimplePoly(entry->mName, dual) : nullptr;
    PolyTemplate templ;
    Poly poly;
    if (!poly.CreateFromLibraryEntry(&templ, entry, false))
        return nullptr;
    return poly.CreateSimplePoly(dual ? Poly::kConvertDual : Poly::kConvertBase, nullptr, nullptr);
}
