#include "document/UpdateCheckSettings.h"

#include "kernel/Registry.h"

namespace
{
std::string ValueName(const char* name)
{
    return std::string(name) + " " + kUpdateCheckProgramName;
}
}  // namespace

UpdateCheckSettings& GetUpdateCheckSettings()
{
    static UpdateCheckSettings settings;
    return settings;
}

void ReadUpdateCheckSettings(RegKey* key)
{
    UpdateCheckSettings& s = GetUpdateCheckSettings();
    RegReadString(key, ValueName("LatestKnownVersion").c_str(), s.latestKnownVersion);
    RegReadInt(key, ValueName("LastCheckDay").c_str(), s.lastCheckDay);
    RegReadString(key, ValueName("WebSite").c_str(), s.siteAddress);
}

void WriteUpdateCheckSettings(RegKey* key)
{
    const UpdateCheckSettings& s = GetUpdateCheckSettings();
    RegWriteString(key, ValueName("LatestKnownVersion").c_str(), s.latestKnownVersion.c_str());
    RegWriteInt(key, ValueName("LastCheckDay").c_str(), s.lastCheckDay);
    RegWriteString(key, ValueName("WebSite").c_str(), s.siteAddress.c_str());
}
