#include "platform/FileSettingsStore.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>

namespace
{
const char kDwordPrefix[] = "dword:";
const char kTextPrefix[] = "sz:";

wxString FromUtf8(const std::string& s)
{
    return wxString::FromUTF8(s.data(), s.size());
}

// A key path as a group path; false for a path that a group cannot hold.
bool GroupPath(const std::string& keyPath, wxString& group)
{
    if (keyPath.empty() || keyPath.find('/') != std::string::npos)
        return false;
    std::string path = "/" + keyPath;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    group = FromUtf8(path);
    return !group.empty();
}

bool EntryPath(const std::string& keyPath, const std::string& name, wxString& entry)
{
    wxString group;
    if (!GroupPath(keyPath, group) || name.empty() || name.find('/') != std::string::npos)
        return false;
    entry = group + "/" + FromUtf8(name);
    return true;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string Encode(const SettingValue& value)
{
    if (value.kind == SettingKind::Dword)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%s%08x", kDwordPrefix, unsigned(value.dword));
        return text;
    }
    if (StartsWith(value.text, kDwordPrefix) || StartsWith(value.text, kTextPrefix))
        return kTextPrefix + value.text;
    return value.text;
}

void Decode(const std::string& stored, SettingValue& value)
{
    const size_t n = sizeof kDwordPrefix - 1;
    if (StartsWith(stored, kDwordPrefix) && stored.size() == n + 8 &&
        stored.find_first_not_of("0123456789abcdefABCDEF", n) == std::string::npos)
    {
        value.kind = SettingKind::Dword;
        value.dword = uint32_t(std::strtoul(stored.c_str() + n, nullptr, 16));
        value.text.clear();
        return;
    }
    value.kind = SettingKind::Text;
    value.dword = 0;
    value.text = StartsWith(stored, kTextPrefix) ? stored.substr(sizeof kTextPrefix - 1) : stored;
}
}  // namespace

FileSettingsStore::FileSettingsStore(const std::string& filePath) : mFilePath(filePath)
{
    mConfig = std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, FromUtf8(filePath), wxEmptyString,
                                             wxCONFIG_USE_LOCAL_FILE, wxConvUTF8);
    // Stored texts are paths and names: "$HOME" must stay as typed.
    mConfig->SetExpandEnvVars(false);
}

FileSettingsStore::~FileSettingsStore()
{
    Flush();
}

bool FileSettingsStore::KeyExists(const std::string& keyPath) const
{
    wxString group;
    return GroupPath(keyPath, group) && mConfig->HasGroup(group);
}

bool FileSettingsStore::CreateKey(const std::string& keyPath)
{
    wxString group;
    if (!GroupPath(keyPath, group))
        return false;
    if (mConfig->HasGroup(group))
        return true;
    // Setting the path creates the missing groups.
    const wxString previous = mConfig->GetPath();
    mConfig->SetPath(group);
    mConfig->SetPath(previous.empty() ? wxString("/") : previous);
    mChanged = true;
    return mConfig->HasGroup(group);
}

bool FileSettingsStore::ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const
{
    wxString entry;
    wxString stored;
    if (!EntryPath(keyPath, name, entry) || !mConfig->HasEntry(entry) || !mConfig->Read(entry, &stored))
        return false;
    const wxScopedCharBuffer utf8 = stored.utf8_str();
    Decode(std::string(utf8.data(), utf8.length()), value);
    return true;
}

bool FileSettingsStore::WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value)
{
    wxString entry;
    if (!EntryPath(keyPath, name, entry))
        return false;
    const std::string encoded = Encode(value);
    const wxString text = FromUtf8(encoded);
    // Text that is not UTF-8 would come back empty.
    if (text.empty() && !encoded.empty())
        return false;
    if (!mConfig->Write(entry, text))
        return false;
    mChanged = true;
    return true;
}

bool FileSettingsStore::Flush()
{
    if (!mChanged)
        return true;
    const wxFileName file(FromUtf8(mFilePath));
    if (!file.DirExists() && !wxFileName::Mkdir(file.GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL))
        return false;
    if (!mConfig->Flush())
        return false;
    mChanged = false;
    return true;
}

std::string SettingsFilePath()
{
    std::string folder;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        folder = xdg;
    else
    {
        const char* home = std::getenv("HOME");
        folder = home && home[0] ? std::string(home) : std::string(wxGetHomeDir().utf8_str());
        folder += "/.config";
    }
    return folder + "/orvane/orvane.conf";
}
