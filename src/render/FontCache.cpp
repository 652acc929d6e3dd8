#include "render/FontCache.h"

#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"

#include <fontconfig/fontconfig.h>

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <tuple>
#include <vector>

namespace
{
FontCacheEntry* gFirst = nullptr;
FontCacheEntry* gLast = nullptr;
std::string gDefaultFace = "Arial";

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Lower(a) == Lower(b);
}

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool HasFontFileExtension(const std::string& name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string ext = Lower(name.substr(dot));
    return ext == ".ttf" || ext == ".fon" || ext == ".otf";
}

// One installed outline font as fontconfig lists it.
struct InstalledFont
{
    bool besideProgram = false;
    std::string family;  // lower case, the first family name
    std::string file;
    int weight = 0;
    int slant = 0;
    int width = 100;
};

// The Fonts folder beside the program joins fontconfig's fonts once.
std::string ProgramFontFolder()
{
    static std::string folder;
    static bool looked = false;
    if (!looked)
    {
        looked = true;
        if (FindProgramFile(folder, "Fonts", true))
            FcConfigAppFontAddDir(nullptr, reinterpret_cast<const FcChar8*>(folder.c_str()));
        else
            folder.clear();
    }
    return folder;
}

// Every scalable font, those beside the program first, then by family and file: a stable order.
std::vector<InstalledFont> ListInstalledFonts()
{
    const std::string own = ProgramFontFolder();
    std::vector<InstalledFont> fonts;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i)
    {
        FcChar8* family = nullptr;
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
            FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
            continue;
        InstalledFont font;
        font.family = Lower(reinterpret_cast<const char*>(family));
        font.file = reinterpret_cast<const char*>(file);
        font.besideProgram = !own.empty() && font.file.compare(0, own.size(), own) == 0;
        FcPatternGetInteger(set->fonts[i], FC_WEIGHT, 0, &font.weight);
        FcPatternGetInteger(set->fonts[i], FC_SLANT, 0, &font.slant);
        FcPatternGetInteger(set->fonts[i], FC_WIDTH, 0, &font.width);
        fonts.push_back(std::move(font));
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(fonts.begin(), fonts.end(), [](const InstalledFont& a, const InstalledFont& b) {
        return std::tie(b.besideProgram, a.family, a.file) < std::tie(a.besideProgram, b.family, b.file);
    });
    return fonts;
}

// The family fontconfig gives a name (aliases applied), empty when none.
std::string MatchedFamily(const char* name)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string family;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        family = Lower(reinterpret_cast<const char*>(value));
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

bool IsUpright(const InstalledFont& f)
{
    return f.slant == FC_SLANT_ROMAN && f.width == FC_WIDTH_NORMAL;
}

// The regular and bold files of the first family (in list order) that the test accepts.
template <class Accept>
bool FindInFamilies(const std::vector<InstalledFont>& fonts, Accept accept, std::string& regular,
                    std::string& bold)
{
    for (const InstalledFont& f : fonts)
    {
        if (!accept(f.family) || !IsUpright(f) || f.weight < FC_WEIGHT_BOOK || f.weight > FC_WEIGHT_MEDIUM)
            continue;
        // The regular style: the weight nearest the regular one.
        const InstalledFont* best = &f;
        for (const InstalledFont& g : fonts)
            if (g.family == f.family && IsUpright(g) && g.weight >= FC_WEIGHT_BOOK && g.weight <= FC_WEIGHT_MEDIUM &&
                std::abs(g.weight - FC_WEIGHT_REGULAR) < std::abs(best->weight - FC_WEIGHT_REGULAR))
                best = &g;
        regular = best->file;
        bold = regular;
        const InstalledFont* heavy = nullptr;
        for (const InstalledFont& g : fonts)
            if (g.family == f.family && IsUpright(g) && g.weight >= FC_WEIGHT_DEMIBOLD &&
                (!heavy || std::abs(g.weight - FC_WEIGHT_BOLD) < std::abs(heavy->weight - FC_WEIGHT_BOLD)))
                heavy = &g;
        if (heavy)
            bold = heavy->file;
        return true;
    }
    return false;
}

bool FindFaceFiles(const std::string& name, std::string& regular, std::string& bold)
{
    const std::vector<InstalledFont> fonts = ListInstalledFonts();
    const std::string key = Lower(name);
    if (FindInFamilies(fonts, [&](const std::string& family) { return family.compare(0, key.size(), key) == 0; },
                       regular, bold))
        return true;
    // Through fontconfig's aliases ("Arial" is Liberation Sans), unless all it offers is the
    // family any unknown name gets.
    const std::string family = MatchedFamily(name.c_str());
    if (family.empty() || family == MatchedFamily("orvane-no-such-face"))
        return false;
    return FindInFamilies(fonts, [&](const std::string& f) { return f == family; }, regular, bold);
}

// The bold sibling of a font file: "bd" or else "b" before the extension, when one exists.
std::string GuessBoldFile(const std::string& file, const char* folder)
{
    const size_t dot = file.rfind('.');
    const std::string stem = file.substr(0, dot), ext = file.substr(dot);
    std::string guess, path;
    for (const char* insert : {"bd", "b"})
    {
        guess = stem + insert + ext;
        if (FindFontPath(path, guess.c_str(), folder))
            return path;
    }
    return guess;
}
}  // namespace

bool FindFontFiles(const char* name, const char* folder, std::string& regular, std::string& bold)
{
    regular.clear();
    bold.clear();
    const std::string trimmed = name ? Trim(name) : std::string();
    if (trimmed.empty())
        return false;
    if (HasFontFileExtension(trimmed))
    {
        regular = trimmed;
        bold = GuessBoldFile(trimmed, folder);
        return true;
    }
    return FindFaceFiles(trimmed, regular, bold);
}

bool FindFontPath(std::string& out, const char* file, const char* folder)
{
    out.clear();
    if (!file || !*file || Trim(file).empty())
        return false;
    if (file[0] == '/')
    {
        out = file;
        return PathExists(file);
    }
    if (folder && *folder)
    {
        const std::string relative = std::string(folder) + "/" + file;
        if (FindProgramFile(out, relative.c_str(), false))
            return true;
    }
    // The system's font folders stand in for the one font folder of other systems.
    for (const char* dir : {"/usr/share/fonts/truetype", "/usr/local/share/fonts", "/usr/share/fonts"})
    {
        const std::string candidate = std::string(dir) + "/" + file;
        if (PathExists(candidate.c_str()))
        {
            out = candidate;
            return true;
        }
    }
    // A bare file name anywhere fontconfig knows.
    for (const InstalledFont& f : ListInstalledFonts())
    {
        const size_t slash = f.file.rfind('/');
        if (EqualNoCase(f.file.substr(slash + 1), file))
        {
            out = f.file;
            return true;
        }
    }
    return false;
}

bool ResolveFontPath(std::string& out, const char* face, const char* folder)
{
    std::string regular, bold;
    out.clear();
    return FindFontFiles(face, folder, regular, bold) && FindFontPath(out, regular.c_str(), folder);
}

// ---- The cache ----

bool FontCacheEntry::Load(bool force)
{
    if (mFlags & kLoaded)
    {
        if (!force)
            return true;
        Unload();
    }
    if ((mFlags & kFailed) && !force)
        return false;
    mFlags &= ~kFailed;
    mResolution = GetFontResolution();
    mFont.SetGlyphCapacity(mGlyphCapacity);
    size_t start = 0;
    while (start <= mFaceList.size())
    {
        size_t end = mFaceList.find(',', start);
        if (end == std::string::npos)
            end = mFaceList.size();
        const std::string face = Trim(mFaceList.substr(start, end - start));
        if (!face.empty() && mFont.CreateFonts(GLFont::kTexture, mSize, 0.0f, mResolution, "Fonts", face.c_str(),
                                               face.c_str(), nullptr, nullptr, DefaultCharacterSet))
        {
            mFlags |= kLoaded;
            size_t skip = start;
            while (skip < end && std::isspace(static_cast<unsigned char>(mFaceList[skip])))
                ++skip;
            mLoadedFace = skip;
            mLoadedFaceLength = face.size();
            return true;
        }
        start = end + 1;
    }
    mFlags |= kFailed;
    ErrorMessage("Can't load font \"%s\".  Make sure you have it installed.", mFaceList.c_str());
    return false;
}

void FontCacheEntry::Unload()
{
    mFont.Clear();
    mFlags &= ~(kLoaded | kFailed);
}

FontCacheEntry* GetCachedFont(const char* name, int len)
{
    const std::string given = name ? (len < 0 ? std::string(name) : std::string(name, size_t(len))) : std::string();
    for (FontCacheEntry* e = gFirst; e; e = e->next)
    {
        if (EqualNoCase(e->mFaceList, given))
        {
            if (e->mResolution != GetFontResolution())
                e->Load(true);
            return e;
        }
    }
    auto* entry = new FontCacheEntry;
    // The caller's list: leading blanks skipped, cut at a double quote, trailing blanks dropped.
    std::string list = given;
    const size_t quote = list.find('"');
    if (quote != std::string::npos)
        list.resize(quote);
    size_t b = 0;
    while (b < list.size() && std::isspace(static_cast<unsigned char>(list[b])))
        ++b;
    list = list.substr(b);
    while (!list.empty() && std::isspace(static_cast<unsigned char>(list.back())))
        list.pop_back();
    entry->mFaceList = list;
    entry->mSize = GetGlobalFontSize();
    entry->mResolution = GetFontResolution();
    entry->mGlyphCapacity = int(std::strlen(DefaultCharacterSet));
    ListAppend(entry, gFirst, gLast);
    entry->Load(false);
    return entry;
}

GLFont* GetCachedGLFont(const char* name, int len)
{
    return &GetCachedFont(name, len)->mFont;
}

FontCacheEntry* GetFirstFontCacheEntry()
{
    return gFirst;
}

const std::string& GetDefaultFontFace()
{
    return gDefaultFace;
}

void SetDefaultFontFace(const char* name)
{
    const std::string face = name ? name : "";
    if (EqualNoCase(face, gDefaultFace))
        return;
    gDefaultFace = face;
    if (gFirst)
    {
        gFirst->mFaceList = face;
        if (gFirst->mFont.IsValid())
            gFirst->Unload();
        gFirst->mFlags &= ~FontCacheEntry::kFailed;
    }
}

void FreeFontCache()
{
    while (gFirst)
    {
        FontCacheEntry* entry = gFirst;
        ListRemove(entry, gFirst, gLast);
        delete entry;
    }
}

void ApplyFontTextureState()
{
    if (gFirst)
        gFirst->mFont.ApplyTextureState();
    else
        glDisable(GL_TEXTURE_2D);
}

GLFont* GetSceneFont()
{
    FontCacheEntry* entry = gFirst ? gFirst : GetCachedFont(gDefaultFace.c_str());
    if (!entry->mFont.IsValid() && !(entry->mFlags & FontCacheEntry::kFailed))
        entry->Load(false);
    return entry->mFont.IsValid() ? &entry->mFont : nullptr;
}

FontCacheSwap SetFontCacheAside()
{
    FontCacheSwap saved{gFirst, gLast};
    gFirst = gLast = nullptr;
    return saved;
}

void RestoreFontCache(const FontCacheSwap& saved)
{
    FreeFontCache();
    gFirst = saved.first;
    gLast = saved.last;
}
