#pragma once

#include "kernel/MemBlock.h"
#include "kernel/Paths.h"
#include "kernel/TokenFile.h"
#include "library/SceneFile.h"
#include "library/SceneHost.h"
#include "library/SceneTokens.h"
#include "kernel/ViewTypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

// A host with panes, a layout and throws the test sets up, recording what the writer asks of it.
class RecordingSceneHost : public SceneHost
{
public:
    int CountViews() override { return int(views.size()); }
    bool GetViewState(int index, SceneViewState& state) override
    {
        if (index < 0 || index >= int(views.size()))
            return false;
        state = views[size_t(index)];
        return true;
    }
    bool GetActiveStellationTitle(std::string& title) override
    {
        title = activeTitle;
        return hasActivePane;
    }
    bool HasLayout() override { return layout; }
    void StoreLayoutRatios() override { ++ratiosStored; }
    // A section of the layout's own tokens: its end alone.
    bool WriteLayoutSection(ioFile* f, int indent) override
    {
        const ioCallbacks previous =
            ioSetCallbacks(f, [](int token) { return token == 0 ? "EndSection" : nullptr; }, nullptr);
        ioWriteToken(f, 0, indent);
        ioPrintf(f, "\n");
        ioRestoreCallbacks(f, previous);
        ++layoutsWritten;
        return true;
    }
    bool HasMovingThrows() override { return throws; }
    void WriteMouseThrows(ioFile* f, int indent) override
    {
        ioIndent(f, indent);
        ioPrintf(f, "%d\n", -1);
    }

    // Reading: the panes of views take what the reader sets, as the program's panes would.
    void BeginSceneRead() override { ++readsBegun; }
    void EndSceneRead(bool succeeded) override { readsSucceeded += succeeded ? 1 : 0; }
    bool SetViewType(int index, int code) override
    {
        if (index < 0 || index >= int(views.size()) || !GetViewTypeName(code, false))
            return false;
        SceneViewState& view = views[size_t(index)];
        const SceneViewState fresh;
        view.viewType = code;
        view.is3D = (code & kViewFamily3D) != 0;
        view.cameraPos = fresh.cameraPos;
        view.xAxis = fresh.xAxis;
        view.yAxis = fresh.yAxis;
        view.zAxis = fresh.zAxis;
        view.fovY = fresh.fovY;
        ++typesSet;
        return true;
    }
    void SetViewState(int index, const SceneViewState& state, int parts) override
    {
        if (index < 0 || index >= int(views.size()))
            return;
        SceneViewState& view = views[size_t(index)];
        if (parts & kSceneViewCamera)
        {
            view.cameraPos = state.cameraPos;
            view.xAxis = state.xAxis;
            view.yAxis = state.yAxis;
            view.zAxis = state.zAxis;
        }
        if (parts & kSceneViewFov)
            view.fovY = state.fovY;
        if (parts & kSceneViewExplosion)
            view.explosionScale = state.explosionScale;
        if (parts & kSceneViewZoom2D)
        {
            view.zoom2D = state.zoom2D;
            view.zoomX = view.zoomY = float(view.clientHeight) * state.zoom2D;
        }
        if (parts & kSceneViewTwist2D)
            view.twist2D = state.twist2D;
        if (parts & kSceneViewCanvas)
            std::copy(state.canvas, state.canvas + 4, view.canvas);
        if (parts & kSceneViewScroll)
        {
            view.scrollX = state.scrollX;
            view.scrollY = state.scrollY;
        }
        partsSet |= parts;
    }
    void FitViews(bool fit) override { (fit ? fitsAsked : fitsCleared) += 1; }
    bool ReadLayoutSection(ioFile* f, bool apply) override
    {
        layoutsApplied += apply ? 1 : 0;
        return SceneHost::ReadLayoutSection(f, apply);
    }

    std::vector<SceneViewState> views;
    std::string activeTitle;
    bool hasActivePane = false;
    bool layout = false;
    bool throws = false;
    int ratiosStored = 0;
    int layoutsWritten = 0;
    int readsBegun = 0;
    int readsSucceeded = 0;
    int typesSet = 0;
    int partsSet = 0;
    int fitsAsked = 0;
    int fitsCleared = 0;
    int layoutsApplied = 0;
};

class ScopedSceneHost
{
public:
    explicit ScopedSceneHost(SceneHost* host) : mPrevious(SetSceneHost(host)) {}
    ~ScopedSceneHost() { SetSceneHost(mPrevious); }
    ScopedSceneHost(const ScopedSceneHost&) = delete;
    ScopedSceneHost& operator=(const ScopedSceneHost&) = delete;

private:
    SceneHost* mPrevious;
};

inline std::string ScenePath(const char* name)
{
    std::string path;
    EXPECT_TRUE(GetTempFilePath(path, name));
    return path;
}

inline std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The lines whose first word is the token's name.
inline std::vector<std::string> LinesOf(const std::vector<std::string>& lines, const char* token)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
    {
        const std::vector<std::string> words = SplitWords(line);
        if (!words.empty() && words[0] == token)
            found.push_back(line);
    }
    return found;
}

inline bool HasToken(const std::vector<std::string>& lines, const char* token)
{
    return !LinesOf(lines, token).empty();
}

// What the writing calls put into an ASCII stream of the version, after its first line.
inline std::string WriteAscii(const std::function<void(ioFile*)>& write, int16_t major = kSceneMajorVersion,
                              int16_t minor = kSceneMinorVersion)
{
    const std::string path = ScenePath("items.orva");
    {
        ioFilePtr f = ioOpenWrite(path.c_str(), kSceneMagic, major, minor, kIoAscii, SceneStreamTokenName,
                                  SceneStreamMessage, nullptr);
        EXPECT_TRUE(f);
        if (!f)
            return {};
        write(f.get());
        ioClose(f);
    }
    const std::string text = ReadFileBytes(path);
    const size_t firstLine = text.find('\n');
    return firstLine == std::string::npos ? std::string() : text.substr(firstLine + 1);
}

// The bytes the writing calls put into a memory stream, after its version.
inline std::vector<uint8_t> WriteMemory(const std::function<void(ioFile*)>& write)
{
    MemBlock block;
    {
        ioFilePtr f = ioOpenWrite(nullptr, kSceneMagic, kSceneMajorVersion, kSceneMinorVersion, kIoMemory,
                                  SceneStreamTokenName, SceneStreamMessage, &block);
        EXPECT_TRUE(f);
        if (!f)
            return {};
        write(f.get());
        ioClose(f);
    }
    if (block.mSize < 4)
        return {};
    return std::vector<uint8_t>(block.mData + 4, block.mData + block.mSize);
}

// Little-endian values out of a byte string.
class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    bool AtEnd() const { return mPos >= mSize; }
    size_t Left() const { return mPos <= mSize ? mSize - mPos : 0; }
    size_t Position() const { return mPos; }
    int16_t Short() { return int16_t(Unsigned(2)); }
    int32_t Int() { return int32_t(Unsigned(4)); }
    float Float()
    {
        const uint32_t bits = uint32_t(Unsigned(4));
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    double Double()
    {
        const uint64_t bits = Unsigned(8);
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    const uint8_t* Take(size_t n)
    {
        const uint8_t* at = mData + mPos;
        mPos += n;
        return mPos <= mSize ? at : nullptr;
    }

private:
    uint64_t Unsigned(int n)
    {
        uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= uint64_t(mPos + size_t(i) < mSize ? mData[mPos + size_t(i)] : 0) << (8 * i);
        mPos += size_t(n);
        return v;
    }

    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};
