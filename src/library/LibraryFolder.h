#pragma once

#include <string>

// The three folders of model files beside the program, shown in the chooser's tree.
struct LibraryFolder
{
    const char* mDisplayName;
    const char* mFolderName;
    void* mTreeItem;  // the chooser's node for the folder; null until it makes one
};

inline constexpr int kNumLibraryFolders = 3;

// Null outside 0 .. kNumLibraryFolders - 1.
LibraryFolder* GetLibraryFolder(int index);

// The folder beside the program file, or failing that one folder above it. False, without looking,
// for an index outside the three, and when the folder is not there.
bool GetLibraryFolderPath(std::string& path, int index);

// True when the path lies in one of the library folders found beside the program: files the
// program ships, which saving must never overwrite.
bool IsInLibraryFolder(const char* path);
