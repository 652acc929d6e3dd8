#pragma once

#include <string>

// The image and video file types the open and save dialogs offer, and the queries that turn the
// table into dialog filters and keep file extensions consistent with the type chosen.

inline constexpr int kImageTypeImage = 0x1;
inline constexpr int kImageTypeVideo = 0x2;
inline constexpr int kImageTypeReadable = 0x4;
inline constexpr int kImageTypeWritable = 0x8;

// The masks the callers use.
inline constexpr int kImageMaskOpen = kImageTypeImage | kImageTypeReadable;
inline constexpr int kImageMaskSave = kImageTypeImage | kImageTypeVideo | kImageTypeWritable;

struct ImageFileType
{
    const char* name;
    const char* shortName;  // empty for the rows that gather several types
    const char* patterns;   // "*.jpg;*.jpeg"
    int flags;
};

inline constexpr int kImageFileTypeCount = 27;
extern const ImageFileType kImageFileTypes[kImageFileTypeCount];

bool ImageTypeMatches(int row, int mask);
// "name|patterns|" for every matching row, then one more "|".
std::string BuildImageFilter(int mask);
bool ImageTypeHasShortName(int row, int mask);
// The short name of the n-th short-named matching row; null beyond.
const char* GetImageTypeShortName(int n, int mask);
// n counts the dialog's filter entries; -1 for an entry without a short name or out of range.
int FilterIndexToTypeIndex(int n, int mask);
int TypeIndexToFilterIndex(int n, int mask);
// The filter entry of the first single type whose patterns hold the path's extension; -1 for none.
int GetImageFilterIndex(const std::string& path, int mask);
// The extension is the text from the last '.'; it matches a "*.ext" pattern ignoring case.
bool MatchesExtensionList(const std::string& path, const char* patterns);
// Gives the path the first extension of the type at that filter entry unless it has one of its own.
void AddImageExtension(std::string& path, int filterIndex, int mask);
