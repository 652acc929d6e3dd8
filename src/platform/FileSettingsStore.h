#pragma once

#include "kernel/SettingsStore.h"

#include <memory>
#include <string>

class wxFileConfig;

// The program's settings store: one wxFileConfig file in the user's configuration folder. Key
// paths become groups ("Software\\OrvaneSoft\\Orvane\\Settings" is [Software/OrvaneSoft/Orvane/Settings]).
// Words are written "dword:0000001f"; texts as they are, except that a text which itself starts with
// "dword:" or "sz:" gets "sz:" in front, so that every value reads back as the form it was written in.
// A key that holds no values is not kept in the file: reading from it and from no key are the same.
class FileSettingsStore : public SettingsStore
{
public:
    // Reads the file when it exists; nothing is written before Flush.
    explicit FileSettingsStore(const std::string& filePath);
    ~FileSettingsStore() override;
    FileSettingsStore(const FileSettingsStore&) = delete;
    FileSettingsStore& operator=(const FileSettingsStore&) = delete;

    const std::string& FilePath() const { return mFilePath; }

    bool KeyExists(const std::string& keyPath) const override;
    bool CreateKey(const std::string& keyPath) override;
    bool ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const override;
    bool WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value) override;
    // Creates the folder when needed and replaces the file as a whole.
    bool Flush() override;

private:
    std::string mFilePath;
    std::unique_ptr<wxFileConfig> mConfig;
    bool mChanged = false;
};

// "orvane/orvane.conf" under $XDG_CONFIG_HOME, or under ~/.config when that is unset or relative.
std::string SettingsFilePath();
