#include "kernel/FileDialog.h"

#include "kernel/BrowseFolder.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "kernel/UserServices.h"

#include <vector>

namespace
{
std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && IsSlash(folder.back()))
        folder.pop_back();
    return folder;
}
}  // namespace

bool ApplyFilterExtension(std::string& name, const char* filter, int index, char separator)
{
    if (IsBlank(name) || IsBlank(filter) || index < 1)
        return false;
    const std::vector<std::string> fields = Split(filter, separator);
    const size_t patternField = size_t(index) * 2 - 1;
    if (patternField >= fields.size())
        return false;
    std::string first;
    for (const std::string& raw : Split(fields[patternField], ';'))
    {
        std::string pattern = SkipSpaces(raw.c_str());
        TrimTrailingSpaces(pattern);
        if (pattern == "*.*" || pattern == "*")
            return false;
        if (pattern.compare(0, 2, "*.") != 0)
            continue;
        const std::string extension = pattern.substr(2);
        const char* own = GetExtension(name.c_str());
        if (*own == '.' && CompareStringsNoCase(own + 1, extension.c_str()) == 0)
            return false;
        if (first.empty())
            first = extension;
    }
    if (first.empty())
        return false;
    SetExtension(name, first.c_str());
    return true;
}

namespace
{
std::function<std::string(const std::string& path)>& FileInfoCallback()
{
    static std::function<std::string(const std::string& path)> callback;
    return callback;
}
}  // namespace

FileDialogInfoScope::FileDialogInfoScope(std::function<std::string(const std::string& path)> describe)
    : mPrevious(std::move(FileInfoCallback()))
{
    FileInfoCallback() = std::move(describe);
}

FileDialogInfoScope::~FileDialogInfoScope()
{
    FileInfoCallback() = std::move(mPrevious);
}

bool DoFileDialog(const char* title, std::string& path, int kind, const char* extension, const char* filter,
                  BrowseFolder* remembered, int* filterIndex)
{
    NormaliseSlashes(path);
    std::string ext = extension ? extension : "";
    if (!extension)
    {
        const char* own = GetExtension(path.c_str());
        ext = *own == '.' ? own + 1 : "";
    }
    std::string filterText;
    if (filter)
        filterText = filter;
    else if (!ext.empty())
    {
        std::string upper = ext;
        MakeUpperCase(upper);
        filterText = upper + " Files (*." + ext + ")|*." + ext + "|All Files (*.*)|*.*||";
    }
    else
        filterText = "All Files (*.*)|*.*||";

    if (filterIndex && *filterIndex > 0)
        ApplyFilterExtension(path, filterText.c_str(), *filterIndex, '|');

    FileDialogRequest request;
    request.title = title ? title : "";
    request.save = kind == 1 || kind == 3;
    request.mustExist = kind == 0;
    request.confirmOverwrite = kind == 1;
    request.name = GetFileNamePart(path.c_str());
    const std::string folder = WithoutTrailingSlash(GetFolderPart(path.c_str()));
    if (!folder.empty() && FolderExists(folder.c_str()))
        request.folder = folder;
    else if (remembered && remembered->GetPath())
        request.folder = remembered->GetPath();
    request.filter = filterText;
    request.filterIndex = filterIndex && *filterIndex > 0 ? *filterIndex : 1;
    request.describe = FileInfoCallback();

    if (!Services().FileDialog(request))
        return false;
    path = request.path;
    NormaliseSlashes(path);
    // A name typed without an extension takes the one of the file type chosen.
    if (request.save && *GetExtension(path.c_str()) == 0)
        ApplyFilterExtension(path, filterText.c_str(), request.filterIndex, '|');
    if (remembered)
        remembered->SetPath(WithoutTrailingSlash(GetFolderPart(path.c_str())).c_str());
    if (filterIndex)
        *filterIndex = request.filterIndex;
    return true;
}

bool AskOpenFile(const char* title, std::string& path, const char* extension, const char* filter,
                 BrowseFolder* remembered, int* filterIndex)
{
    return DoFileDialog(title, path, 0, extension, filter, remembered, filterIndex);
}

bool AskSaveFile(const char* title, std::string& path, const char* extension, const char* filter,
                 BrowseFolder* remembered, int* filterIndex)
{
    return DoFileDialog(title, path, 1, extension, filter, remembered, filterIndex);
}
