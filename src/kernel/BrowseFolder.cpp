#include "kernel/BrowseFolder.h"

#include "kernel/Paths.h"
#include "kernel/SpecialFolders.h"
#include "kernel/Strings.h"

BrowseFolder::BrowseFolder(int folderId, const char* subFolder, const char* subFolder2, bool create)
{
    std::string sub = subFolder ? subFolder : "";
    if (!IsBlank(subFolder2))
        sub += std::string("/") + subFolder2;
    std::string path;
    GetSpecialFolder(path, folderId, sub.c_str(), create);
    SetPath(path.c_str());
}

void BrowseFolder::SetPath(const char* path)
{
    if (IsBlank(path))
    {
        mPath.clear();
        return;
    }
    mPath = path;
    NormaliseSlashes(mPath);
}

void BrowseFolder::SetToCurrentDir()
{
    std::string cwd;
    if (GetCurrentDir(cwd))
        SetPath(cwd.c_str());
}
