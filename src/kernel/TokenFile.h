#pragma once

#include "kernel/MemBlock.h"
#include "kernel/Messages.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

// The token file layer: every structured thing the program stores (model files, undo snapshots,
// memory slots, tours, mouse throws, the pane layout) is written and read through an ioFile. The
// caller makes the same calls in every encoding: named tokens, values through printf formats,
// strings, enums and bools.
//
// ASCII is readable text: tokens and enums by name, strings quoted, "#" comments after white space.
// BINARY is raw little-endian values after the header. Memory streams use the BINARY encoding into
// or out of a buffer and carry the version but no header words.
//
// The layer never stops on an error: it reports through the caller's error callback and returns
// -1, 0, false or an empty text; the caller decides whether to abandon the stream.

inline constexpr int kIoAscii = 0;
inline constexpr int kIoBinary = 1;
inline constexpr int kIoMemory = 2;

// Token numbers: the caller's are 0 and above; the layer's own two continue a string.
inline constexpr int kIoNoToken = -1;
inline constexpr int kIoContinue = -3;
inline constexpr int kIoContNewL = -4;

// Token number -> name; null for the first number past the last token.
using ioTokenNameFunc = std::function<const char*(int token)>;
// Level 1 for errors, 0 for warnings; fullText starts with the file name and line.
using ioErrorFunc = std::function<int(int level, const char* fullText, const char* message)>;

struct ioCallbacks
{
    ioTokenNameFunc tokenName;
    ioErrorFunc error;
};

// An enum table ends with an entry whose name is null.
struct ioEnumEntry
{
    int value;
    const char* name;
};

// One open stream, made by ioOpenWrite or ioOpenRead and ended by ioClose (or its destruction);
// used by one thread at a time.
struct ioFile
{
    ioFile() = default;
    // Hands a written memory buffer to its receiver and closes the file.
    ~ioFile();
    ioFile(const ioFile&) = delete;
    ioFile& operator=(const ioFile&) = delete;

    int mMode = -1;
    bool mWriting = false;
    int16_t mMajor = 0;  // the version written, or the version found in the stream
    int16_t mMinor = 0;
    FILE* mStream = nullptr;
    std::string mFileName;  // empty for memory streams
    int mLineNumber = 0;    // lines read so far, blank and comment lines included (ASCII reading)
    std::string mLine;      // the current line, comment cut off (ASCII reading)
    size_t mCursor = 0;
    int mPushedToken = -1;
    unsigned char* mMemData = nullptr;           // writing: the growing buffer, from malloc
    const unsigned char* mMemInput = nullptr;    // reading: the caller's bytes, never owned
    int mMemPos = 0;
    int mMemSize = 0;  // capacity when writing, size of the data when reading
    MemBlock* mReceiver = nullptr;
    bool mMemFailed = false;  // a memory buffer could not grow
    ioTokenNameFunc mTokenName;
    ioErrorFunc mError;
    // BINARY and memory reading: enums are stored as their values, not as table indices.
    bool mRawEnums = false;
    // Set, and left set, when a value was to be read and the data had ended or held no number
    // there: the value read as 0 or empty is not the stream's. Readers of damaged files test it.
    bool mValueMissing = false;
};

using ioFilePtr = std::unique_ptr<ioFile>;

// Opening and closing. Mode kIoAscii or kIoBinary creates the file and writes the header; kIoMemory
// writes into memory that ioClose hands to the receiver (path and magic are ignored).
ioFilePtr ioOpenWrite(const char* path, const char* magic, int16_t major, int16_t minor, int mode,
                      ioTokenNameFunc tokenName, ioErrorFunc error, MemBlock* receiver);
// With memData the stream reads that memory (path and magic are ignored); otherwise the file.
// Refuses a file of another kind or of a newer major version; warns about a newer minor version.
ioFilePtr ioOpenRead(const char* path, const char* magic, int16_t major, int16_t minor, ioTokenNameFunc tokenName,
                     ioErrorFunc error, const void* memData = nullptr, int memSize = 0);
void ioClose(ioFilePtr& f);
// False when a file stream's error indicator is set or a memory buffer could not grow. A stream
// being written is flushed first, so that a full disk shows before the stream is closed.
bool ioGood(const ioFile* f);

// The difference of the majors when they differ, else of the minors.
int CompareVersions(int major1, int minor1, int major2, int minor2);
// Readers test ioCompareVersion(f, a, b) >= 0 before a field that exists from version a.b on.
int ioCompareVersion(const ioFile* f, int major, int minor);

// An empty callback keeps the current one. Returns the previous pair.
ioCallbacks ioSetCallbacks(ioFile* f, ioTokenNameFunc tokenName, ioErrorFunc error);
void ioRestoreCallbacks(ioFile* f, const ioCallbacks& callbacks);

// Byte-order hooks for 16- and 32-bit items: the stored order is little-endian.
int16_t ioSwapShort(int16_t v);
int32_t ioSwapLong(int32_t v);

// Writing.
bool ioWriteToken(ioFile* f, int token, int indent);
// "Continue" and "ContNewL" for the layer's tokens, else the caller's name (null when unknown).
const char* ioTokenName(const ioFile* f, int token);
// ASCII prints the format. BINARY writes each converted argument: d i o u x X as 4 bytes (2 with h),
// e E f g G as an 8-byte double (a 4-byte float with h), c as 1 byte; literal text is dropped.
// Returns the characters or bytes written, -1 after an error.
int ioPrintf(ioFile* f, const char* format, ...);
// ASCII: prefix, the quoted text, suffix. A text longer than 60 characters or with line feeds is
// written in pieces continued on new lines, unless indent is negative. BINARY: the bytes and a zero.
bool ioWriteString(ioFile* f, const char* prefix, const char* text, const char* suffix, int indent);
// ASCII: prefix, the value's name, suffix; BINARY: the value's 32-bit index in the table.
bool ioWriteEnum(ioFile* f, int value, const ioEnumEntry* table, const char* prefix, const char* suffix);
bool ioWriteBool(ioFile* f, bool value, const char* prefix, const char* suffix);
void ioIndent(ioFile* f, int count);
// The raw write under all binary items; with swap, 2- and 4-byte items pass the byte-order hooks.
bool ioWriteBytes(ioFile* f, const void* bytes, int length, bool swap);
bool ioAppendMemory(ioFile* f, const void* bytes, int length);

// Reading.
// kIoNoToken at the end of the data; a word that names no token is reported and gives the number
// of names in the table.
int ioReadToken(ioFile* f);
// The next ioReadToken returns this token; a negative one counts as none.
void ioUnreadToken(ioFile* f, int token);
int16_t ioReadShort(ioFile* f);
int32_t ioReadInt(ioFile* f);
uint32_t ioReadUInt(ioFile* f);
float ioReadFloat(ioFile* f);
double ioReadDouble(ioFile* f);
void ioReadVec3(ioFile* f, Vec3D& v);
// One word or quoted string of any length. With join (ASCII), the pieces that follow "Continue" and
// "ContNewL" are appended, the latter after a line feed. BINARY: the bytes up to a zero byte.
std::string ioReadString(ioFile* f, bool join);
std::string ioReadText(ioFile* f, bool join);
// -1 for an unknown name; in ASCII a word of digits is taken as the value itself.
int ioReadEnum(ioFile* f, const ioEnumEntry* table);
// "Yes" or "No" in any case; false after an error.
bool ioReadBool(ioFile* f);
// ASCII: the literal must stand exactly at the cursor.
bool ioSkipAscii(ioFile* f, const char* literal);
// ASCII: past white space, reading further lines as needed; false at the end of the file.
bool ioSkipSpace(ioFile* f);
// ASCII: the next line that is neither blank nor a comment.
bool ioReadLine(ioFile* f, bool reportEnd);
// A failed read of a value marks it missing (mValueMissing).
bool ioReadBytes(ioFile* f, void* buffer, int length, bool swap);
// Fails, reading nothing, when fewer than length bytes remain.
bool ioReadMemory(ioFile* f, void* buffer, int length);
// The bytes not yet read (in ASCII with the rest of the current line), so that a count read from a
// stream can be checked before anything is allocated for it; -1 when the size cannot be known.
int64_t ioBytesLeft(const ioFile* f);

// Reports through the error callback (level 1 error, 0 warning), or to stderr without one.
// Returns the callback's result.
int ioError(ioFile* f, int level, const char* format, ...) ORVANE_PRINTF(3, 4);

// Enum tables.
const char* ioEnumName(const ioEnumEntry* table, int value);
int ioEnumIndex(const ioEnumEntry* table, int value);
// Exact comparison; -1 when absent.
int ioEnumValue(const ioEnumEntry* table, const char* name);
int ioEnumValueAt(const ioEnumEntry* table, int index);
