#pragma once

#include <cstdint>
#include <string>

class Poly;
struct MemBlock;
struct ioFile;

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

// The message callback of scene streams: an error goes to ErrorMessage, a warning to WarningMessage,
// and either marks the read or write under way as failed.
void SceneFileMessage(bool error, const char* text);
// The same as the error callback of a token stream.
int SceneStreamMessage(int level, const char* fullText, const char* message);
// The mark that SceneFileMessage sets; the entry points clear it when they start.
bool SceneFileFailed();
void ClearSceneFileFailure();

// The bytes of an in-memory stream of the scene's version, compressed, under the token: the stored
// and the uncompressed size, then the magic and the compressed bytes (the stored size counts the
// magic).
bool WriteDataBlock(ioFile* f, int token, const MemBlock& block);

// The whole scene in the stream's form and version: the comment lines of ASCII, then the header and
// the body (in BINARY of version 3 and later each as a data block). basePath is the file being
// written (image paths are kept relative to it). False when the header or the body could not be
// written.
bool WriteScene(ioFile* f, const char* basePath, int indent, Poly* poly, int options);
// The scene into memory (a tour event): false when it could not be written, the stream being closed
// in every case.
bool WriteSceneToBuffer(const char* path, Poly* poly, int options, MemBlock& block);

// Saves the scene to a model file in ASCII (kIoAscii) or BINARY (kIoBinary). The scene goes to a
// new file beside the path, which replaces the old file only once it is complete: a save that fails
// part-way (a full disk, a folder that cannot be written) leaves the old file as it was. False after
// telling the user.
bool WriteSceneFile(const char* path, int mode, Poly* poly, int options);
