#pragma once

#include "kernel/LinkNode.h"
#include "render/GLFont.h"

#include <string>

// Font lookup and the font cache. Faces are named as the user picks them, or as a comma-separated
// list tried in order. A face name is looked up among the installed font families through
// fontconfig (a "Fonts" folder beside the program comes first); a name ending in ".ttf" is a file.
// The cache keeps one GLFont per face list for the life of the program; the first entry is the
// default font. Fonts belong to the GL context current when they were made, which the views share.

// Regular and bold font files (full paths) of a face name, or of a font file name (the bold file
// guessed by "bd" or "b" before the extension). False when no regular file is found.
bool FindFontFiles(const char* name, const char* folder, std::string& regular, std::string& bold);
// The full path of a font file: a full path as it is; else looked up in the folder beside the program,
// then in the system's font folders. False when it does not exist.
bool FindFontPath(std::string& out, const char* file, const char* folder);
// FindFontFiles, then FindFontPath of the regular file.
bool ResolveFontPath(std::string& out, const char* face, const char* folder);

class FontCacheEntry : public LinkNode<FontCacheEntry>
{
public:
    static constexpr int kLoaded = 1;
    static constexpr int kFailed = 2;

    bool Load(bool force);
    void Unload();

    GLFont mFont;
    int mFlags = 0;
    std::string mFaceList;
    size_t mLoadedFace = 0;  // where the face that loaded starts in the list, and its length
    size_t mLoadedFaceLength = 0;
    float mSize = 1.0f;
    int mResolution = 48;
    int mGlyphCapacity = 98;
};

// The entry of that face list (len < 0: the whole name; letter case ignored), made and loaded when
// new; returned even when loading failed.
FontCacheEntry* GetCachedFont(const char* name, int len = -1);
GLFont* GetCachedGLFont(const char* name, int len = -1);
// The first entry, or null while the cache is empty.
FontCacheEntry* GetFirstFontCacheEntry();

// The face of the default font; the first entry follows a change at its next use.
const std::string& GetDefaultFontFace();
void SetDefaultFontFace(const char* name);
// Deletes every entry with its fonts and their textures.
void FreeFontCache();
// Texturing on when the first cached font draws from textures.
void ApplyFontTextureState();

// The font the markup starts with: the first entry's, or the default face's when the cache is empty;
// loaded once when it is not and has not failed. Null when no font can be had.
GLFont* GetSceneFont();

// Sets the cache aside (around drawing in another GL context) and puts it back, freeing what was
// made meanwhile.
struct FontCacheSwap
{
    FontCacheEntry* first = nullptr;
    FontCacheEntry* last = nullptr;
};
FontCacheSwap SetFontCacheAside();
void RestoreFontCache(const FontCacheSwap& saved);
