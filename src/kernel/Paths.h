#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Paths, folders and files on POSIX.
//
// Model files, tours and lists written on other systems carry paths with "\" separators and drive
// prefixes ("C:"). Such a path read from a file is taken as it was meant: both "\" and "/" separate
// (IsSlash), NormaliseSlashes turns every "\" into "/", and a letter with ":" at the very start is a
// drive prefix. A literal "\" in a POSIX file name therefore cannot be named through these
// functions; a ":" anywhere else is an ordinary character. Names compare with case, as the file
// system does. Results are std::string, so no path length is imposed here.

bool IsSlash(char c);

// Length of a drive prefix ("C:") at the start of the path: 2 or 0.
size_t DrivePrefixLength(const char* path);

// The file-name part: after the last separator or the drive prefix (the whole path without them).
const char* GetFileNamePart(const char* path);
char* GetFileNamePart(char* path);
// The last "." of the file-name part, else the end of the text.
const char* GetExtension(const char* path);
char* GetExtension(char* path);
// The folder part, up to and including the last separator; empty when there is none.
std::string GetFolderPart(const char* path);

// The path before its extension, a ".", the extension.
std::string WithExtension(const char* path, const char* extension);
// Replaces the extension with "." and the given one.
void SetExtension(std::string& path, const char* extension);

// Every "\" becomes "/" and a run of separators becomes one, except that two at the very start stay.
// True when anything changed.
bool NormaliseSlashes(std::string& path);
bool NormaliseSlashes(char* path);

// The absolute, normalised path ("." and ".." resolved by name; the path need not exist).
// False, with an empty result, for a blank path.
bool GetFullPath(std::string& result, const char* path);

// When path begins with the whole folder part of referenceFile, the rest after it; else path.
const char* MakeRelativePath(const char* path, const char* referenceFile);

// True when path is the folder or lies inside it (the folder's text followed by a separator).
bool IsPathInFolder(const char* path, const char* folder);

// False for a blank path. Trailing separators are ignored. True when the path exists, is a folder
// when required and is writable by this process when required.
bool CheckPath(const char* path, bool mustBeFolder, bool mustBeWritable);
bool PathExists(const char* path);
bool FolderExists(const char* path);

// Creates one folder; true on success.
bool MakeFolder(const char* path);
// Creates every missing folder along the path; false at the first that can be neither found nor made.
bool MakeFolders(const char* path);

// The program's own folder with relativePath appended, each leading "../" climbing one folder; when
// that does not pass CheckPath, the same one folder higher. True with the found path in result.
bool FindProgramFile(std::string& result, const char* relativePath, bool mustBeFolder);

// Seconds since the epoch; -1 when the file does not exist.
int64_t GetFileModifiedTime(const char* path);

bool ChangeDir(const char* path);
bool GetCurrentDir(std::string& result);
// Makes the folder of a file path the working directory; true when there was nothing to do.
bool ChangeDirToFileFolder(const char* path);

// Temporary files live in a folder of this run only, made on first use with mkdtemp (mode 0700)
// under $TMPDIR or /tmp and removed with its contents by RemoveTempFolder at exit: a file name
// inside it cannot be guessed or taken over by another user. False when it cannot be made.
bool GetTempFolder(std::string& result);
// The temporary folder, "/" and the name.
bool GetTempFilePath(std::string& result, const char* name);
void RemoveTempFolder();

// Copies a file. True when both files opened and every byte was read and written; an incomplete
// destination is removed. With report, a failure is told to the user.
bool FileCopy(const char* destination, const char* source, bool report);
bool FileDelete(const char* path);

// The entries of the working directory (or of a pattern's folder) matching any of the ";"-separated
// wildcard patterns, sorted with CompareNatural. kind 0 folders, 1 files, 2 both. Matching ignores
// case and "*.*" matches every name, as model files from other systems expect; "." and ".." and
// hidden names (leading ".") are left out.
std::vector<std::string> ListFiles(const char* patterns, int kind);
