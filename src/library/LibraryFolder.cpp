#include "library/LibraryFolder.h"

#include "kernel/Paths.h"

namespace
{
LibraryFolder gFolders[kNumLibraryFolders] = {
    {"Orvane Library", "OrvaneLib", nullptr},
    {"4D Library", "OrvaneMaxLib", nullptr},
    {"Geomag Library", "GeomagLib", nullptr},
};
}  // namespace

LibraryFolder* GetLibraryFolder(int index)
{
    if (index < 0 || index >= kNumLibraryFolders)
        return nullptr;
    return &gFolders[index];
}

bool GetLibraryFolderPath(std::string& path, int index)
{
    path.clear();
    const LibraryFolder* folder = GetLibraryFolder(index);
    if (!folder)
        return false;
    return FindProgramFile(path, folder->mFolderName, true);
}

bool IsInLibraryFolder(const char* path)
{
    std::string full;
    if (!GetFullPath(full, path))
        return false;
    for (int i = 0; i < kNumLibraryFolders; ++i)
    {
        std::string folder;
        std::string fullFolder;
        if (GetLibraryFolderPath(folder, i) && GetFullPath(fullFolder, folder.c_str()) &&
            IsPathInFolder(full.c_str(), fullFolder.c_str()))
            return true;
    }
    return false;
}
