#pragma once

#include <cstdint>
#include <string>

// Where the program's settings persist. The typed registry functions (kernel/Registry.h) sit on the
// one installed store: the program installs a file store at start-up, tests an in-memory one.
// Keys are paths separated by backslashes ("Software\\OrvaneSoft\\Orvane\\Settings"); key paths
// and value names compare without regard to ASCII case, as registry keys do.

enum class SettingKind
{
    Dword,
    Text,
};

struct SettingValue
{
    SettingKind kind = SettingKind::Dword;
    uint32_t dword = 0;
    std::string text;
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual bool KeyExists(const std::string& keyPath) const = 0;
    // Creates the key and its parents; true when it exists afterwards.
    virtual bool CreateKey(const std::string& keyPath) = 0;
    // False when the key or the value is missing.
    virtual bool ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const = 0;
    // Creates the key when missing.
    virtual bool WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value) = 0;
    // Makes the writes so far permanent.
    virtual bool Flush() = 0;
};

// The installed store, or null when none is (every key then fails to open). Returns the previous one.
SettingsStore* SetSettingsStore(SettingsStore* store);
SettingsStore* GetSettingsStore();
