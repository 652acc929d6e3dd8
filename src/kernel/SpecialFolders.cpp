#include "kernel/SpecialFolders.h"

#include "kernel/Paths.h"
#include "kernel/Strings.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace
{
std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    return IsBlank(home) ? std::string() : std::string(home);
}

// An XDG base folder: the variable when it holds an absolute path, else home + fallback.
std::string XdgBase(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + fallback;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: a quoted absolute path or "$HOME/...".
std::string XdgDocumentsFromFile()
{
    const std::string config = XdgBase("XDG_CONFIG_HOME", "/.config");
    if (config.empty())
        return std::string();
    FILE* file = std::fopen((config + "/user-dirs.dirs").c_str(), "r");
    if (!file)
        return std::string();
    std::string result;
    char line[4096];
    while (std::fgets(line, sizeof line, file))
    {
        const char* p = SkipSpaces(line);
        if (ComparePrefix(p, "XDG_DOCUMENTS_DIR") != 0)
            continue;
        p = SkipSpaces(p + 17);
        if (*p != '=')
            continue;
        p = SkipSpaces(p + 1);
        if (*p != '"')
            continue;
        std::string value;
        for (++p; *p && *p != '"'; ++p)
        {
            if (*p == '\\' && p[1])
                ++p;
            value += *p;
        }
        if (value.compare(0, 5, "$HOME") == 0)
            value = HomeFolder() + value.substr(5);
        if (!value.empty() && value[0] == '/')
            result = value;
    }
    std::fclose(file);
    return result;
}

std::string SpecialFolderPath(int folderId)
{
    switch (folderId)
    {
    case kSpecialFolderDocuments:
    {
        std::string documents = XdgDocumentsFromFile();
        if (documents.empty())
        {
            const std::string home = HomeFolder();
            if (!home.empty())
                documents = home + "/Documents";
        }
        return documents;
    }
    case kSpecialFolderAppData:
        return XdgBase("XDG_DATA_HOME", "/.local/share");
    default:
        return std::string();
    }
}
}  // namespace

bool GetSpecialFolder(std::string& result, int folderId, const char* subFolder, bool create)
{
    std::string path = SpecialFolderPath(folderId);
    if (path.empty())
        return false;
    if (!IsBlank(subFolder))
    {
        path += "/";
        path += subFolder;
    }
    NormaliseSlashes(path);
    if (create)
        MakeFolders(path.c_str());
    result = path;
    return FolderExists(path.c_str());
}

bool GetSpecialFolderFile(std::string& result, int folderId, const char* subFolder, const char* fileName, int flags,
                          bool* existed)
{
    std::string folder;
    const bool create = flags & (kSpecialFileCreate | kSpecialFileCreateFolder);
    if (!GetSpecialFolder(folder, folderId, subFolder, create))
        return false;
    result = folder + "/" + (fileName ? fileName : "");
    NormaliseSlashes(result);
    if (flags & kSpecialFileNoTest)
        return true;
    const bool was = PathExists(result.c_str());
    if (existed)
        *existed = was;
    if (!was && (flags & kSpecialFileCreate))
    {
        const int fd = open(result.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0)
            close(fd);
    }
    return PathExists(result.c_str());
}
