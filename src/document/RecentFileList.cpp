#include "document/RecentFileList.h"

#include "kernel/Registry.h"
#include "kernel/Strings.h"

#include <algorithm>

namespace
{
const char kSection[] = "Recent File List";

std::function<void()>& ChangedHook()
{
    static std::function<void()> hook;
    return hook;
}

std::string EntryName(int index)
{
    return "File" + std::to_string(index + 1);
}
}  // namespace

const std::string& RecentFileList::Get(int index) const
{
    static const std::string kNone;
    return index >= 0 && index < Count() ? mPaths[size_t(index)] : kNone;
}

void RecentFileList::Add(const std::string& path)
{
    if (IsBlank(path) || mCapacity <= 0)
        return;
    mPaths.erase(std::remove(mPaths.begin(), mPaths.end(), path), mPaths.end());
    mPaths.insert(mPaths.begin(), path);
    if (Count() > mCapacity)
        mPaths.resize(size_t(mCapacity));
    Changed();
}

void RecentFileList::Remove(int index)
{
    if (index >= 0 && index < Count())
        mPaths.erase(mPaths.begin() + index);
    Changed();
}

void RecentFileList::Load(const RegistryApp& app)
{
    mPaths.clear();
    RegKeyPtr key = OpenRegKey(app, nullptr, kSection);
    for (int i = 0; i < mCapacity; ++i)
    {
        std::string path;
        if (!RegReadString(key.get(), EntryName(i).c_str(), path) || IsBlank(path))
            break;
        mPaths.push_back(path);
    }
    Changed();
}

void RecentFileList::Save(const RegistryApp& app) const
{
    RegKeyPtr key = CreateRegKey(app, nullptr, kSection);
    // Every place is written, the unused ones blank, so that a shorter list does not bring back
    // entries of an older one.
    for (int i = 0; i < mCapacity; ++i)
        RegWriteString(key.get(), EntryName(i).c_str(), Get(i).c_str());
}

void RecentFileList::Changed() const
{
    if (this == &GetRecentFileList() && ChangedHook())
        ChangedHook()();
}

RecentFileList& GetRecentFileList()
{
    static RecentFileList list(12);
    return list;
}

void SetRecentFilesChangedHook(std::function<void()> hook)
{
    ChangedHook() = std::move(hook);
}
