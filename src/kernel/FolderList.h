#pragma once

#include <string>
#include <vector>

// The folders searched for the files that a model file names (its images), each ending in "/".
// It grows by the folders the user points to while one model file is read.
class FolderList
{
public:
    // Finds the file: the path itself, else its name in each folder of the list, else by asking
    // the user ("Locate file %s"), starting in the path's folder or else the fallback folder; the
    // chosen file's folder joins the list. False when the user cancelled.
    bool LocateFile(std::string& result, const char* path, const char* fallbackFolder);

    const std::vector<std::string>& Folders() const { return mFolders; }
    void Clear() { mFolders.clear(); }

private:
    std::vector<std::string> mFolders;
};
