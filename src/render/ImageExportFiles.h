#pragma once

#include <string>

class CDib;

// The image and video types an image export can be saved as, and the writing of its pictures
// through FreeImage: stills, numbered sequences and animated GIFs. AVI is listed (the settings count
// their type index in this list) but is not written: no video encoder is linked.

// The save dialog's filter, 17 entries: "All Image Files", "All Video Files", "All Image/Video
// Files", the 13 types, "All Files (*.*)".
std::string BuildExportImageFilter();
inline constexpr int kNumExportFilterEntries = 17;
inline constexpr int kNumExportImageTypes = 13;
// The short names in the dialog's type list: "AVI", "GIF", ... "XPM"; null beyond.
const char* GetExportImageTypeShortName(int typeIndex);
// Between the type list and the filter entries: -1 out of range or for an "All" entry.
int ExportFilterToTypeIndex(int filterIndex);
int ExportTypeToFilterIndex(int typeIndex);
// The filter index of the single type whose extensions hold the path's; -1 when none.
int GetExportFilterIndex(const std::string& path);
// Unless the path already has one of the entry's extensions, its extension (or its end) becomes the
// entry's first one. Entries that are no single type change nothing.
std::string AddExportImageExtension(const std::string& path, int filterIndex);
// Without case.
bool HasExtension(const std::string& path, const char* extension);

// Writes one picture in the type its extension names, at the dots per inch given (0: none) and the
// JPEG quality (0..100). False after telling the user.
bool WriteImageFile(const CDib& picture, const std::string& path, int dpi, int jpegQuality);
// The name of frame n of a numbered sequence: "name0000.png" onwards.
std::string NumberedFramePath(const std::string& path, int frame);

// An animated GIF written frame by frame; each frame is shown for the delay and the animation
// loops for ever. Frames are reduced to 256 colours each.
class AnimatedGifWriter
{
public:
    AnimatedGifWriter() = default;
    ~AnimatedGifWriter();
    AnimatedGifWriter(const AnimatedGifWriter&) = delete;
    AnimatedGifWriter& operator=(const AnimatedGifWriter&) = delete;

    // False after telling the user when the file cannot be made.
    bool Open(const std::string& path, double framesPerSecond);
    bool AddFrame(const CDib& picture);
    // Writes the file; false after telling the user.
    bool Close();

private:
    void* mMulti = nullptr;
    std::string mPath;
    long mDelayMs = 40;
    int mFrames = 0;
};

// The picture of two fields, one of them on the even lines counted from the top and the other on
// the odd ones: the lower field takes the odd lines. first is the field shown first.
bool InterlaceFields(CDib& out, const CDib& first, const CDib& second, bool lowerFieldFirst);
