#include "kernel/Paths.h"

#include "kernel/Messages.h"
#include "kernel/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string gTempFolder;

// Drops trailing separators, keeping a lone root.
std::string WithoutTrailingSlashes(const char* path)
{
    std::string p = path;
    size_t n = p.size();
    while (n > 1 && IsSlash(p[n - 1]))
        --n;
    p.resize(n);
    return p;
}

// The folder above a folder path that ends in a separator, again ending in one ("/a/b/" -> "/a/").
std::string ParentFolder(const std::string& folder)
{
    size_t end = folder.size();
    while (end > 1 && IsSlash(folder[end - 1]))
        --end;
    while (end > 0 && !IsSlash(folder[end - 1]))
        --end;
    if (end == 0)
        return folder;
    return folder.substr(0, end);
}

bool ProgramPath(std::string& path)
{
    std::vector<char> buffer(256);
    for (;;)
    {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (size_t(n) < buffer.size())
        {
            path.assign(buffer.data(), size_t(n));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool SameFile(const char* a, const char* b)
{
    struct stat sa, sb;
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
}  // namespace

bool IsSlash(char c)
{
    return c == '/' || c == '\\';
}

size_t DrivePrefixLength(const char* path)
{
    if (!path)
        return 0;
    const char c = path[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':' ? 2 : 0;
}

const char* GetFileNamePart(const char* path)
{
    const char* name = path + DrivePrefixLength(path);
    for (const char* p = name; *p; ++p)
        if (IsSlash(*p))
            name = p + 1;
    return name;
}

char* GetFileNamePart(char* path)
{
    return const_cast<char*>(GetFileNamePart(static_cast<const char*>(path)));
}

const char* GetExtension(const char* path)
{
    const char* name = GetFileNamePart(path);
    const char* dot = std::strrchr(name, '.');
    return dot ? dot : name + std::strlen(name);
}

char* GetExtension(char* path)
{
    return const_cast<char*>(GetExtension(static_cast<const char*>(path)));
}

std::string GetFolderPart(const char* path)
{
    if (!path)
        return std::string();
    return std::string(path, size_t(GetFileNamePart(path) - path));
}

std::string WithExtension(const char* path, const char* extension)
{
    std::string result(path, size_t(GetExtension(path) - path));
    result += '.';
    result += extension ? extension : "";
    return result;
}

void SetExtension(std::string& path, const char* extension)
{
    path = WithExtension(path.c_str(), extension);
}

bool NormaliseSlashes(std::string& path)
{
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]))
    {
        out = "//";
        i = 2;
    }
    for (; i < path.size(); ++i)
    {
        const char c = path[i];
        if (!IsSlash(c))
            out += c;
        else if (out.empty() || out.back() != '/')
            out += '/';
    }
    if (out == path)
        return false;
    path = out;
    return true;
}

bool NormaliseSlashes(char* path)
{
    if (!path)
        return false;
    std::string text = path;
    if (!NormaliseSlashes(text))
        return false;
    std::memcpy(path, text.c_str(), text.size() + 1);  // never longer than before
    return true;
}

bool GetFullPath(std::string& result, const char* path)
{
    result.clear();
    if (IsBlank(path))
        return false;
    std::string full = path;
    NormaliseSlashes(full);
    if (full[0] != '/')
    {
        std::string cwd;
        if (!GetCurrentDir(cwd))
            return false;
        full = cwd + "/" + full;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= full.size())
    {
        size_t end = full.find('/', start);
        if (end == std::string::npos)
            end = full.size();
        const std::string part = full.substr(start, end - start);
        if (part == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
    for (const std::string& part : parts)
        result += "/" + part;
    if (result.empty())
        result = "/";
    return true;
}

const char* MakeRelativePath(const char* path, const char* referenceFile)
{
    if (!path || !referenceFile)
        return path;
    const std::string folder = GetFolderPart(referenceFile);
    if (!folder.empty() && std::strncmp(path, folder.c_str(), folder.size()) == 0)
        return path + folder.size();
    return path;
}

bool IsPathInFolder(const char* path, const char* folder)
{
    if (!path || IsBlank(folder))
        return false;
    const std::string f = WithoutTrailingSlashes(folder);
    if (std::strncmp(path, f.c_str(), f.size()) != 0)
        return false;
    const char next = path[f.size()];
    return next == 0 || IsSlash(next) || IsSlash(f.back());
}

bool CheckPath(const char* path, bool mustBeFolder, bool mustBeWritable)
{
    if (IsBlank(path))
        return false;
    const std::string p = WithoutTrailingSlashes(path);
    struct stat info;
    if (stat(p.c_str(), &info) != 0)
        return false;
    if (mustBeFolder && !S_ISDIR(info.st_mode))
        return false;
    // The access test answers for this process, whoever owns the file.
    if (mustBeWritable && access(p.c_str(), W_OK) != 0)
        return false;
    return true;
}

bool PathExists(const char* path)
{
    return CheckPath(path, false, false);
}

bool FolderExists(const char* path)
{
    return CheckPath(path, true, false);
}

bool MakeFolder(const char* path)
{
    return !IsBlank(path) && mkdir(WithoutTrailingSlashes(path).c_str(), 0777) == 0;
}

bool MakeFolders(const char* path)
{
    if (IsBlank(path))
        return false;
    std::string p = path;
    NormaliseSlashes(p);
    size_t i = DrivePrefixLength(p.c_str());
    while (i < p.size() && p[i] == '/')
        ++i;
    while (i < p.size())
    {
        size_t end = p.find('/', i);
        if (end == std::string::npos)
            end = p.size();
        const std::string prefix = p.substr(0, end);
        if (!FolderExists(prefix.c_str()) && !MakeFolder(prefix.c_str()) && !FolderExists(prefix.c_str()))
            return false;
        i = end + 1;
    }
    return true;
}

bool FindProgramFile(std::string& result, const char* relativePath, bool mustBeFolder)
{
    std::string program;
    if (!relativePath || !ProgramPath(program))
        return false;
    std::string folder = GetFolderPart(program.c_str());
    std::string relative = relativePath;
    NormaliseSlashes(relative);
    while (relative.compare(0, 3, "../") == 0)
    {
        relative.erase(0, 3);
        folder = ParentFolder(folder);
    }
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        const std::string candidate = folder + relative;
        if (CheckPath(candidate.c_str(), mustBeFolder, false))
        {
            result = candidate;
            return true;
        }
        folder = ParentFolder(folder);
    }
    return false;
}

int64_t GetFileModifiedTime(const char* path)
{
    struct stat info;
    if (!path || stat(path, &info) != 0)
        return -1;
    return int64_t(info.st_mtime);
}

bool ChangeDir(const char* path)
{
    return path && chdir(path) == 0;
}

bool GetCurrentDir(std::string& result)
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size()))
    {
        if (errno != ERANGE)
            return false;
        buffer.resize(buffer.size() * 2);
    }
    result = buffer.data();
    return true;
}

bool ChangeDirToFileFolder(const char* path)
{
    const std::string folder = GetFolderPart(path);
    if (folder.empty())
        return true;
    return ChangeDir(WithoutTrailingSlashes(folder.c_str()).c_str());
}

bool GetTempFolder(std::string& result)
{
    if (gTempFolder.empty())
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = base && FolderExists(base) ? WithoutTrailingSlashes(base) : std::string("/tmp");
        pattern += "/orvane-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back(0);
        if (!mkdtemp(buffer.data()))
            return false;
        gTempFolder = buffer.data();
    }
    result = gTempFolder;
    return true;
}

bool GetTempFilePath(std::string& result, const char* name)
{
    std::string folder;
    if (!GetTempFolder(folder))
        return false;
    result = folder + "/" + (name ? name : "");
    NormaliseSlashes(result);
    return true;
}

void RemoveTempFolder()
{
    if (gTempFolder.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(gTempFolder, error);
    gTempFolder.clear();
}

bool FileCopy(const char* destination, const char* source, bool report)
{
    FILE* in = source ? std::fopen(source, "rb") : nullptr;
    if (!in)
    {
        if (report)
            ErrorMessage("FileCopy() failed: Couldn't open file to copy from:\n%s", source ? source : "");
        return false;
    }
    // Opening the source itself for writing would empty it: a copy onto itself is already done.
    if (destination && SameFile(destination, source))
    {
        std::fclose(in);
        return true;
    }
    FILE* out = destination ? std::fopen(destination, "wb") : nullptr;
    if (!out)
    {
        std::fclose(in);
        if (report)
            ErrorMessage("FileCopy() failed: Couldn't open file to copy to:\n%s", destination ? destination : "");
        return false;
    }
    std::vector<char> block(65536);
    bool ok = true;
    for (;;)
    {
        const size_t n = std::fread(block.data(), 1, block.size(), in);
        if (n > 0 && std::fwrite(block.data(), 1, n, out) != n)
        {
            ok = false;
            break;
        }
        if (n < block.size())
            break;
    }
    if (std::ferror(in))
        ok = false;
    std::fclose(in);
    if (std::fclose(out) != 0)
        ok = false;
    if (!ok)
    {
        std::remove(destination);
        if (report)
            ErrorMessage("FileCopy() failed: Couldn't copy to:\n%s", destination);
    }
    return ok;
}

bool FileDelete(const char* path)
{
    return path && std::remove(path) == 0;
}

std::vector<std::string> ListFiles(const char* patterns, int kind)
{
    std::vector<std::string> names;
    if (!patterns)
        return names;
    std::string all = patterns;
    size_t start = 0;
    while (start <= all.size())
    {
        size_t end = all.find(';', start);
        if (end == std::string::npos)
            end = all.size();
        std::string pattern = all.substr(start, end - start);
        start = end + 1;
        TrimTrailingSpaces(pattern);
        pattern.erase(0, size_t(SkipSpaces(pattern.c_str()) - pattern.c_str()));
        if (pattern.empty())
            continue;
        NormaliseSlashes(pattern);
        const std::string folder = GetFolderPart(pattern.c_str());
        std::string namePattern = GetFileNamePart(pattern.c_str());
        if (namePattern == "*.*")
            namePattern = "*";
        DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
        if (!dir)
            continue;
        while (const dirent* entry = readdir(dir))
        {
            const char* name = entry->d_name;
            if (name[0] == '.' || fnmatch(namePattern.c_str(), name, FNM_CASEFOLD) != 0)
                continue;
            if (kind != 2)
            {
                struct stat info;
                const std::string full = folder + name;
                if (stat(full.c_str(), &info) != 0)
                    continue;
                if (bool(S_ISDIR(info.st_mode)) != (kind == 0))
                    continue;
            }
            names.emplace_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNatural(a.c_str(), b.c_str()) < 0; });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
