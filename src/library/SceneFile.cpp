#include "library/SceneFile.h"

#include "kernel/Lzrw.h"
#include "kernel/MemBlock.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/TokenFile.h"
#include "library/FileHeaderComment.h"
#include "library/LibrarySearchResult.h"
#include "library/SceneHost.h"
#include "library/SceneReader.h"
#include "library/SceneTokens.h"
#include "library/SceneWriter.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>

namespace
{
bool gSceneFailed = false;

constexpr char kCorruptBlock[] = "Failed to load file (may be corrupt)";

// One half of the scene as the compressed block of a BINARY file.
bool WriteBlock(ioFile* f, int token, const std::function<bool(ioFile*)>& write)
{
    MemBlock block;
    ioFilePtr memory =
        ioOpenWrite(nullptr, kSceneMagic, f->mMajor, f->mMinor, kIoMemory, SceneStreamTokenName, f->mError, &block);
    if (!memory)
        return false;
    const bool ok = write(memory.get()) && ioGood(memory.get());
    ioClose(memory);
    return ok && WriteDataBlock(f, token, block);
}

// Permissions for the new file: the old file's, else what the user's mask allows.
mode_t NewFileMode(const char* path)
{
    struct stat info;
    if (stat(path, &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The file a save replaces: a link is followed, so that the link stays and its target is replaced.
std::string ResolveTarget(const std::string& path)
{
    if (char* real = realpath(path.c_str(), nullptr))
    {
        std::string resolved = real;
        std::free(real);
        return resolved;
    }
    return path;
}

void ReportSaveFailure(const char* path, int error)
{
    ErrorMessage("Couldn't save '%s':\n%s", path, error ? std::strerror(error) : "The file could not be written.");
}
}  // namespace

void SceneFileMessage(bool error, const char* text)
{
    gSceneFailed = true;
    if (error)
        ErrorMessage("%s", text ? text : "");
    else
        WarningMessage("%s", text ? text : "");
}

int SceneStreamMessage(int level, const char* fullText, const char* /*message*/)
{
    SceneFileMessage(level > 0, fullText);
    return 0;
}

void ReadSceneError(bool error, const char* text)
{
    if (!error)
        return;
    gSceneFailed = true;
    ErrorMessage("%s", text ? text : "");
}

bool& KeepLayoutWhenOpening()
{
    static bool keep = false;
    return keep;
}

bool SceneFileFailed()
{
    return gSceneFailed;
}

void ClearSceneFileFailure()
{
    gSceneFailed = false;
}

bool WriteDataBlock(ioFile* f, int token, const MemBlock& block)
{
    if (block.mSize < 0 || block.mSize > INT_MAX - kDataBlockSlack)
    {
        ioError(f, 1, "Out of memory: a data block of %d bytes", block.mSize);
        return false;
    }
    const size_t capacity = size_t(block.mSize) + size_t(kDataBlockSlack);
    std::unique_ptr<uint8_t[]> stored(new (std::nothrow) uint8_t[capacity]);
    std::unique_ptr<uint8_t[]> work(new (std::nothrow) uint8_t[kLzrwWorkMemSize]);
    if (!stored || !work)
    {
        ioError(f, 1, "Out of memory: a data block of %d bytes", block.mSize);
        return false;
    }
    for (int i = 0; i < 4; ++i)
        stored[size_t(i)] = uint8_t(kDataBlockMagic >> (8 * i));
    size_t packed = 0;
    if (!LzrwCompress(kLzrwCompressAction, work.get(), block.mData, size_t(block.mSize), stored.get() + 4,
                      capacity - 4, packed))
    {
        ioError(f, 1, "Compression failed");
        return false;
    }
    const int storedSize = int(packed) + 4;
    bool ok = ioWriteToken(f, token, 0);
    ok = ioPrintf(f, "\t%d\t%d\n", storedSize, block.mSize) >= 0 && ok;
    ok = ioWriteBytes(f, stored.get(), storedSize, false) && ok;
    return ok && ioGood(f);
}

void SceneStreams::CloseBlock()
{
    nested.reset();
    buffer.reset();
}

bool ReadDataBlock(SceneStreams& streams)
{
    ioFile* outer = streams.outer;
    if (streams.nested)
    {
        ioError(outer, 1, "Recursive data block");
        return false;
    }
    // Blocks hold binary bytes: a text file has none.
    if (outer->mMode == kIoAscii)
    {
        ioError(outer, 1, "%s", kCorruptBlock);
        return false;
    }
    const int32_t stored = ioReadInt(outer);
    const int32_t size = ioReadInt(outer);
    const int64_t left = ioBytesLeft(outer);
    // Sizes the stream cannot hold, or that its bytes cannot decompress to, are refused before
    // anything is made for them.
    if (outer->mValueMissing || stored < 4 || size < 0 || (left >= 0 && stored > left) ||
        uint64_t(size) > uint64_t(stored) * kLzrwMaxExpansion)
    {
        ioError(outer, 1, "%s", kCorruptBlock);
        return false;
    }
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size_t(stored)]);
    std::unique_ptr<uint8_t[]> work(new (std::nothrow) uint8_t[kLzrwWorkMemSize]);
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size_t(size) + 1]);
    if (!bytes || !work || !buffer || !ioReadBytes(outer, bytes.get(), stored, false))
    {
        ioError(outer, 1, "%s", kCorruptBlock);
        return false;
    }
    uint32_t magic = 0;
    for (int i = 0; i < 4; ++i)
        magic |= uint32_t(bytes[size_t(i)]) << (8 * i);
    size_t length = 0;
    if (magic != kDataBlockMagic ||
        !LzrwCompress(kLzrwDecompressAction, work.get(), bytes.get() + 4, size_t(stored) - 4, buffer.get(),
                      size_t(size) + 1, length))
    {
        ioError(outer, 1, "Decompression failed: corrupt");
        return false;
    }
    if (length != size_t(size))
    {
        ioError(outer, 1, "Decompression failed: length mismatch");
        return false;
    }
    // The outer stream has warned of a newer version already.
    const int16_t minor = outer->mMajor == kSceneMajorVersion && outer->mMinor > kSceneMinorVersion
                              ? outer->mMinor
                              : kSceneMinorVersion;
    ioFilePtr nested = ioOpenRead(nullptr, kSceneMagic, kSceneMajorVersion, minor, outer->mTokenName, outer->mError,
                                  buffer.get(), size);
    if (!nested)
        return false;
    nested->mFileName = outer->mFileName;
    nested->mRawEnums = outer->mRawEnums || ioCompareVersion(nested.get(), 3, 0) <= 0;
    streams.buffer = std::move(buffer);
    streams.nested = std::move(nested);
    return true;
}

bool ReadSceneFile(const char* path, Poly* poly, PolyTemplate* templ, int options, SceneFileInfo* info,
                   const MemBlock* block, bool* failed)
{
    if (failed)
        *failed = false;
    ClearSceneFileFailure();
    Shell& shell = GetShell();
    for (void* view = shell.NextView(nullptr); view; view = shell.NextView(view))
        shell.SetViewMessage(view, std::string());
    const std::string pathText = path ? path : "";
    if (!block && !PathExists(pathText.c_str()))
    {
        if (!(options & kSceneNoMessages))
        {
            std::string folder;
            GetCurrentDir(folder);
            ErrorMessage("File not found: %s\n\nSearched relative to: %s", pathText.c_str(), folder.c_str());
        }
        if (failed)
            *failed = !(options & kSceneNoMessages);
        return false;
    }

    LibrarySearchResult* search = GetCurrentSearchResult();
    int errors = 0;
    int warnings = 0;
    const ioErrorFunc report = [&errors, &warnings, options](int level, const char* fullText, const char*) {
        ++(level > 0 ? errors : warnings);
        if (options & kSceneNoMessages)
            return 0;
        if (options & kSceneErrorsOnly)
            ReadSceneError(level > 0, fullText);
        else
            SceneFileMessage(level > 0, fullText);
        return 0;
    };
    bool ok = false;
    {
        ioFilePtr f = block ? ioOpenRead(nullptr, kSceneMagic, kSceneMajorVersion, kSceneMinorVersion,
                                         SceneStreamTokenName, report, block->mData, block->mSize)
                            : ioOpenRead(pathText.c_str(), kSceneMagic, kSceneMajorVersion, kSceneMinorVersion,
                                         SceneStreamTokenName, report);
        // A header that spoke of an error (a version that cannot be read) ends the read there.
        if (f && errors == 0)
        {
            // Older streams keep enumerations as their values.
            if (ioCompareVersion(f.get(), 3, 0) <= 0)
                f->mRawEnums = true;
            SceneStreams streams;
            streams.outer = f.get();
            ok = ReadScene(streams, pathText.c_str(), poly, templ, options, info);
        }
    }
    if (options & kSceneKeepSearch)
        SetCurrentSearchResult(search);
    if (ok && (options & kSceneSetPath) && !block)
        shell.SetDocumentPath(pathText, (options & kSceneAddToRecentFiles) != 0);
    // The mark follows the messages shown: a read without messages leaves it clear.
    if (failed && !(options & kSceneNoMessages))
        *failed = errors > 0 || (warnings > 0 && !(options & kSceneErrorsOnly));
    return ok;
}

bool WriteScene(ioFile* f, const char* basePath, int indent, Poly* poly, int options)
{
    if (!poly)
    {
        InternalError("WriteScene(): no model");
        return false;
    }
    if (poly->mPolytope || (poly->mFlags & Poly::kIs4D))
    {
        ioError(f, 1, "4D polytopes cannot be saved in model files yet.");
        return false;
    }
    SceneHost& host = GetSceneHost();
    if (host.HasLayout())
        host.StoreLayoutRatios();

    ioPrintf(f, "# Orvane Polyhedron file (*.orva).\n");
    if (f->mMode == kIoAscii)
    {
        std::string title;
        if (host.GetActiveStellationTitle(title))
            WriteFileHeaderComment(f, "# ", title.c_str(), "");
    }
    if (f->mMode == kIoBinary && f->mMajor >= 3)
    {
        return WriteBlock(f, kTokHeader, [&](ioFile* m) { return WriteSceneHeader(m, indent, poly); }) &&
               WriteBlock(f, kTokBody,
                          [&](ioFile* m) { return WriteSceneBody(m, basePath, indent, poly, options); });
    }
    return WriteSceneHeader(f, indent, poly) && WriteSceneBody(f, basePath, indent, poly, options);
}

bool WriteSceneToBuffer(const char* path, Poly* poly, int options, MemBlock& block)
{
    ClearSceneFileFailure();
    ioFilePtr f = ioOpenWrite(nullptr, kSceneMagic, kSceneMajorVersion, kSceneMinorVersion, kIoMemory,
                              SceneStreamTokenName, SceneStreamMessage, &block);
    if (!f)
        return false;
    std::string basePath;
    if (!IsBlank(path))
        GetFullPath(basePath, path);
    const bool ok = WriteScene(f.get(), basePath.c_str(), 0, poly, options) && ioGood(f.get()) && !SceneFileFailed();
    ioClose(f);
    if (!ok)
        block.Clear();
    return ok;
}

bool WriteSceneFile(const char* path, int mode, Poly* poly, int options)
{
    ClearSceneFileFailure();
    std::string fullPath;
    if (IsBlank(path) || !GetFullPath(fullPath, path) || (mode != kIoAscii && mode != kIoBinary))
    {
        InternalError("WriteSceneFile(): no path or no file form");
        return false;
    }
    const std::string target = ResolveTarget(fullPath);

    // The new file is made beside the old one, so that the rename replaces it in one step.
    std::string temp = GetFolderPart(target.c_str()) + "." + GetFileNamePart(target.c_str()) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
    {
        ReportSaveFailure(path, errno);
        return false;
    }
    fchmod(fd, NewFileMode(target.c_str()));
    close(fd);

    int error = 0;
    bool ok = false;
    errno = 0;
    {
        ioFilePtr f = ioOpenWrite(temp.c_str(), kSceneMagic, kSceneMajorVersion, kSceneMinorVersion, mode,
                                  SceneStreamTokenName, SceneStreamMessage, nullptr);
        if (f)
        {
            // Messages name the file the user chose.
            f->mFileName = path;
            ok = WriteScene(f.get(), fullPath.c_str(), 0, poly, options) && !SceneFileFailed();
            ok = ioGood(f.get()) && ok;
            if (!ok && !error)
                error = errno;
            // The data reach the disk before the old file goes.
            if (ok && fsync(fileno(f->mStream)) != 0)
            {
                error = errno;
                ok = false;
            }
            std::FILE* stream = f->mStream;
            f->mStream = nullptr;
            if (std::fclose(stream) != 0 && ok)
            {
                error = errno;
                ok = false;
            }
        }
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0)
    {
        error = errno;
        ok = false;
    }
    if (!ok)
    {
        unlink(temp.c_str());
        if (!SceneFileFailed())
            ReportSaveFailure(path, error);
        return false;
    }
    return true;
}

std::unique_ptr<SimplePoly> ReadModelSimplePoly(const char* path, bool dual)
{
    if (!path)
        return nullptr;
    // A record of its own: the document's model is never touched.
    Poly poly;
    PolyTemplate templ;
    if (!ReadSceneFile(path, &poly, &templ, kSceneModelOnly | kSceneKeepSettings, nullptr, nullptr, nullptr))
        return nullptr;
    return poly.CreateSimplePoly(dual ? Poly::kConvertDual : Poly::kConvertBase, nullptr, nullptr);
}
