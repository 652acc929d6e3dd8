#pragma once

#include <string>

// A folder remembered for file dialogs: a dialog without a folder of its own starts here and moves
// it to the folder the user chose. The application keeps one per kind of file.
class BrowseFolder
{
public:
    BrowseFolder() = default;
    // The special folder's sub-folder, "/" and the second sub-folder when given; with create, every
    // missing folder along it is made. Empty when the special folder cannot be found.
    BrowseFolder(int folderId, const char* subFolder, const char* subFolder2, bool create);

    // Null when unset.
    const char* GetPath() const { return mPath.empty() ? nullptr : mPath.c_str(); }
    // A blank path clears the folder; any other is kept normalised.
    void SetPath(const char* path);
    void SetToCurrentDir();

private:
    std::string mPath;
};
