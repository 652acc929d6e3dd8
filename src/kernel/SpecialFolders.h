#pragma once

#include <string>

// The user's folders that the program keeps files in, by the numbers its callers have always used.
//
// Documents (5): the XDG documents folder, XDG_DOCUMENTS_DIR in $XDG_CONFIG_HOME/user-dirs.dirs
// (~/.config by default), else ~/Documents; the program's models live in its sub-folder "Orvane".
// Application data (0x1a): $XDG_DATA_HOME, else ~/.local/share (named set-ups and similar files the
// program writes for the user).
inline constexpr int kSpecialFolderDocuments = 5;
inline constexpr int kSpecialFolderAppData = 0x1a;

// The path of a special folder, with "/" and the sub-folder appended when one is given; with create,
// every missing folder along it is made. True when the resulting folder exists.
bool GetSpecialFolder(std::string& result, int folderId, const char* subFolder, bool create);

// Flags of GetSpecialFolderFile.
inline constexpr int kSpecialFileCreate = 1;        // make the folder and, when missing, an empty file
inline constexpr int kSpecialFileNoTest = 2;        // do not test the file
inline constexpr int kSpecialFileCreateFolder = 4;  // make the folder only

// The path of a file in a special folder's sub-folder. Without kSpecialFileNoTest true only when
// the file exists (after creating it with kSpecialFileCreate); existed receives whether it did.
bool GetSpecialFolderFile(std::string& result, int folderId, const char* subFolder, const char* fileName, int flags,
                          bool* existed);
