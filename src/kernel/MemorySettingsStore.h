#pragma once

#include "kernel/SettingsStore.h"

#include <map>
#include <string>

// A settings store that lives only as long as the object: for tests, and for runs that must not
// touch the user's settings.
class MemorySettingsStore : public SettingsStore
{
public:
    bool KeyExists(const std::string& keyPath) const override;
    bool CreateKey(const std::string& keyPath) override;
    bool ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const override;
    bool WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value) override;
    bool Flush() override;

    int NumFlushes() const { return mNumFlushes; }

private:
    // Keyed by lower-case path, then lower-case name.
    std::map<std::string, std::map<std::string, SettingValue>> mKeys;
    int mNumFlushes = 0;
};

// Installs a MemorySettingsStore for the life of the scope and restores the previous store.
class ScopedMemorySettingsStore
{
public:
    ScopedMemorySettingsStore() : mPrevious(SetSettingsStore(&store)) {}
    ~ScopedMemorySettingsStore() { SetSettingsStore(mPrevious); }
    ScopedMemorySettingsStore(const ScopedMemorySettingsStore&) = delete;
    ScopedMemorySettingsStore& operator=(const ScopedMemorySettingsStore&) = delete;

    MemorySettingsStore store;

private:
    SettingsStore* mPrevious;
};
