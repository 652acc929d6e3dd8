#pragma once

#include <functional>
#include <string>
#include <vector>

struct RegistryApp;

// The files opened last, newest first, kept between runs under the key "Recent File List" as
// "File1", "File2", ... Paths are kept exactly as given.
class RecentFileList
{
public:
    explicit RecentFileList(int capacity) : mCapacity(capacity) {}

    int Count() const { return int(mPaths.size()); }
    // Empty past the end.
    const std::string& Get(int index) const;
    // Moves a path already listed (compared exactly) to the front; the oldest drops off a full list.
    void Add(const std::string& path);
    void Remove(int index);

    // Reading replaces the list; values missing or blank end it.
    void Load(const RegistryApp& app);
    void Save(const RegistryApp& app) const;

private:
    void Changed() const;

    int mCapacity;
    std::vector<std::string> mPaths;
};

// The program's list, of twelve entries.
RecentFileList& GetRecentFileList();
// Called after every change of the program's list (the main window's menu follows it); an empty
// function for none.
void SetRecentFilesChangedHook(std::function<void()> hook);
