#pragma once

#include <string>

class RegKey;

// What the update check remembers between runs: the newest version a reply named and the day of
// the last valid reply, so that the automatic check asks at most once a day.
struct UpdateCheckSettings
{
    std::string latestKnownVersion;
    int lastCheckDay = -1;
    // The maker's web site: the version page and the Help menu's pages lie on it. Empty turns the
    // automatic check off.
    std::string siteAddress = "https://www.orvane.org";
};

UpdateCheckSettings& GetUpdateCheckSettings();

// The program's name in the value names: "LatestKnownVersion OrvaneMax", "LastCheckDay OrvaneMax",
// "WebSite OrvaneMax".
inline constexpr char kUpdateCheckProgramName[] = "OrvaneMax";

void ReadUpdateCheckSettings(RegKey* key);
void WriteUpdateCheckSettings(RegKey* key);
