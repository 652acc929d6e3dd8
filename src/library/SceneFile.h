#pragma once

#include "kernel/TokenFile.h"

#include <cstdint>
#include <memory>
#include <string>

class Poly;
class PolyTemplate;
class SimplePoly;
struct MemBlock;
struct SceneFileInfo;

// The model file ".orva": a token stream holding a whole scene (the model with its names, counts,
// colours, texts and selections, the panes and their cameras, and the options of the scene). ASCII
// files begin "Orvane ASCII 8.10" and a comment block; BINARY files keep the scene's header and body
// as two compressed data blocks; in-memory streams (tour events) carry the items bare. Every stream
// written has version 8.10; the writer still honours older versions for the streams it is given.

inline constexpr char kSceneMagic[] = "Orvane";
inline constexpr int16_t kSceneMajorVersion = 8;
inline constexpr int16_t kSceneMinorVersion = 10;

// The word before a data block's compressed bytes, stored little-endian.
inline constexpr uint32_t kDataBlockMagic = 0x6aa9a5b8;
// Room beyond the uncompressed size that the compressed bytes of a block may need.
inline constexpr int kDataBlockSlack = 1028;

// Option bits of the writer: without the view state the body holds no layout, panes, mouse throws,
// shown side, scene values or limit of faces per net.
inline constexpr int kSceneNoViewState = 0x200;

// Option bits of the reader.
// Only the model with its colours and texts: no names, convexity, symmetry, stellation and faceting
// settings, drawn facets or stellation states; the panes keep their state.
inline constexpr int kSceneModelOnly = 0x1;
// Only the header, into the SceneFileInfo; nothing is applied.
inline constexpr int kSceneHeaderOnly = 0x2;
inline constexpr int kSceneNoMessages = 0x4;
// Errors are shown, warnings dropped (ReadSceneError).
inline constexpr int kSceneErrorsOnly = 0x8;
// The document takes the path, with kSceneAddToRecentFiles also into the recent files.
inline constexpr int kSceneSetPath = 0x10;
inline constexpr int kSceneAddToRecentFiles = 0x20;
// The library's current search result is the same after the read.
inline constexpr int kSceneKeepSearch = 0x40;
// What the file sets of the program's settings (the cross-section, the nets, printing) is undone after
// the read: a model read for another use than becoming the current model.
inline constexpr int kSceneKeepSettings = 0x80;

// Options > Keep Layout when Opening Files (off at start): reading a model file leaves the panes'
// types, cameras, layout and motions as they are.
bool& KeepLayoutWhenOpening();

// The message callback of scene streams: an error goes to ErrorMessage, a warning to WarningMessage,
// and either marks the read or write under way as failed.
void SceneFileMessage(bool error, const char* text);
// The same as the error callback of a token stream.
int SceneStreamMessage(int level, const char* fullText, const char* message);
// The mark that SceneFileMessage sets; the entry points clear it when they start.
bool SceneFileFailed();
void ClearSceneFileFailure();

// The message callback of a read with kSceneErrorsOnly: an error goes to ErrorMessage and marks the
// read as failed; a warning is dropped.
void ReadSceneError(bool error, const char* text);

// The bytes of an in-memory stream of the scene's version, compressed, under the token: the stored
// and the uncompressed size, then the magic and the compressed bytes (the stored size counts the
// magic).
bool WriteDataBlock(ioFile* f, int token, const MemBlock& block);

// The stream a scene is read from: the file or memory it was opened on, and while a data block is
// read the nested stream over the block's decompressed bytes, which it owns with the bytes.
struct SceneStreams
{
    ioFile* outer = nullptr;
    ioFilePtr nested;
    std::unique_ptr<uint8_t[]> buffer;

    ioFile* Current() const { return nested ? nested.get() : outer; }
    // Back to the outer stream; the block's stream and bytes go.
    void CloseBlock();
};

// After a block's token: reads the block and makes the nested stream over its bytes current, with
// the outer stream's version, version limits and callbacks. False, after reporting why through the
// outer stream, for a block inside a block, sizes the stream cannot hold or that its bytes cannot
// give, a missing magic word and a block that decompresses to another length.
bool ReadDataBlock(SceneStreams& streams);

// The whole scene in the stream's form and version: the comment lines of ASCII, then the header and
// the body (in BINARY of version 3 and later each as a data block). basePath is the file being
// written (image paths are kept relative to it). False when the header or the body could not be
// written.
bool WriteScene(ioFile* f, const char* basePath, int indent, Poly* poly, int options);
// The scene into memory (a tour event): false when it could not be written, the stream being closed
// in every case.
bool WriteSceneToBuffer(const char* path, Poly* poly, int options, MemBlock& block);

// Reads a model file at the path, or with a block the in-memory scene of a tour event, into the
// model (its panes and settings too, as the options allow; kScene... bits). With kSceneSetPath the
// document takes the path. False, with the user told once unless kSceneNoMessages, for every read
// that failed or was cancelled; the caller then drops the model. failed (may be null) tells whether
// a message shown was an error or, shown as a box, a warning. info (may be null) receives the header.
bool ReadSceneFile(const char* path, Poly* poly, PolyTemplate* templ, int options, SceneFileInfo* info,
                   const MemBlock* block, bool* failed);

// The model of a model file as a plain model the caller owns (with dual, its dual side), read apart
// from the document: the current model, the panes, the undo list and the settings stay as they are.
// Null, after telling the user, when the file cannot be read.
std::unique_ptr<SimplePoly> ReadModelSimplePoly(const char* path, bool dual);

// Saves the scene to a model file in ASCII (kIoAscii) or BINARY (kIoBinary). The scene goes to a
// new file beside the path, which replaces the old file only once it is complete: a save that fails
// part-way (a full disk, a folder that cannot be written) leaves the old file as it was. False after
// telling the user.
bool WriteSceneFile(const char* path, int mode, Poly* poly, int options);
