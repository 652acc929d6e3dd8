#include "kernel/MemorySettingsStore.h"

namespace
{
std::string Folded(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}
}  // namespace

bool MemorySettingsStore::KeyExists(const std::string& keyPath) const
{
    return mKeys.count(Folded(keyPath)) != 0;
}

bool MemorySettingsStore::CreateKey(const std::string& keyPath)
{
    const std::string path = Folded(keyPath);
    if (path.empty())
        return false;
    for (size_t sep = path.find('\\'); sep != std::string::npos; sep = path.find('\\', sep + 1))
        mKeys[path.substr(0, sep)];
    mKeys[path];
    return true;
}

bool MemorySettingsStore::ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const
{
    const auto key = mKeys.find(Folded(keyPath));
    if (key == mKeys.end())
        return false;
    const auto entry = key->second.find(Folded(name));
    if (entry == key->second.end())
        return false;
    value = entry->second;
    return true;
}

bool MemorySettingsStore::WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value)
{
    if (!CreateKey(keyPath))
        return false;
    mKeys[Folded(keyPath)][Folded(name)] = value;
    return true;
}

bool MemorySettingsStore::Flush()
{
    ++mNumFlushes;
    return true;
}
