#include "kernel/FolderList.h"

#include "kernel/BrowseFolder.h"
#include "kernel/FileDialog.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"

bool FolderList::LocateFile(std::string& result, const char* path, const char* fallbackFolder)
{
    if (IsBlank(path))
        return false;
    if (PathExists(path))
    {
        result = path;
        return true;
    }
    const std::string name = GetFileNamePart(path);
    for (const std::string& folder : mFolders)
    {
        std::string candidate = folder + name;
        NormaliseSlashes(candidate);
        if (PathExists(candidate.c_str()))
        {
            result = candidate;
            return true;
        }
    }

    std::string own = GetFolderPart(path);
    NormaliseSlashes(own);
    std::string chosen = FolderExists(own.c_str()) ? own + name : name;
    BrowseFolder start;
    start.SetPath(fallbackFolder);
    const std::string title = "Locate file " + name;
    if (!AskOpenFile(title.c_str(), chosen, nullptr, nullptr, &start))
        return false;
    std::string folder = GetFolderPart(chosen.c_str());
    if (!folder.empty() && !IsSlash(folder.back()))
        folder += '/';
    mFolders.push_back(folder);
    result = chosen;
    return true;
}
