#pragma once

#include "kernel/ColorRGB.h"

#include <memory>
#include <string>

class SettingsStore;

// Typed settings values under registry-style keys, kept in the installed SettingsStore. Owners read
// their settings once at start and write them once at close; nothing here caches. A read leaves its
// variable unchanged when the value is missing (up to the rounding of its stored form) and never
// shows a message: missing values keep the compiled-in defaults.
//
// Stored forms: bools and ints as 32-bit words (bools 0 or 1), colours as 0x00BBGGRR, reals as the
// bits of a 32-bit float, texts as strings. A value of another form counts as missing.

// The company key and the profile name that form the program's key paths.
struct RegistryApp
{
    std::string companyKey;
    std::string profileName;
};

// "Software\<company>\<section>" with the profile name for a null section, then "\<subKey>" when
// given. False, with path untouched, when the application has no company key.
bool GetRegKeyPath(const RegistryApp& app, std::string& path, const char* section, const char* subKey);

// An open key, held by the code that reads or writes one group of settings; closing is destroying
// it. It must not outlive the store it was opened in.
class RegKey
{
public:
    RegKey(SettingsStore& store, std::string path, bool writable)
        : mStore(store), mPath(std::move(path)), mWritable(writable)
    {
    }

    SettingsStore& Store() const { return mStore; }
    const std::string& Path() const { return mPath; }
    bool Writable() const { return mWritable; }

private:
    SettingsStore& mStore;
    std::string mPath;
    bool mWritable;
};

using RegKeyPtr = std::unique_ptr<RegKey>;

// For reading: null when there is no store, no company key or no such key.
RegKeyPtr OpenRegKey(const RegistryApp& app, const char* section, const char* subKey);
// For reading and writing, created with its parents when missing.
RegKeyPtr CreateRegKey(const RegistryApp& app, const char* section, const char* subKey);

// Every function accepts a null key: reads then keep the variable, writes fail.
bool RegWriteBool(RegKey* key, const char* name, bool value);
bool RegWriteInt(RegKey* key, const char* name, int value);
bool RegWriteColor(RegKey* key, const char* name, const ColorRGB& value);
bool RegWriteFloat(RegKey* key, const char* name, double value);
// A null text writes nothing and returns false.
bool RegWriteString(RegKey* key, const char* name, const char* text);

// True when the value was present and read.
bool RegReadBool(RegKey* key, const char* name, bool& value);
bool RegReadInt(RegKey* key, const char* name, int& value);
bool RegReadColor(RegKey* key, const char* name, ColorRGB& value);
bool RegReadFloat(RegKey* key, const char* name, double& value);
bool RegReadFloat(RegKey* key, const char* name, float& value);
// At most size bytes with the terminator; the last byte is always set to the terminator. A longer
// text counts as missing.
bool RegReadStringBuf(RegKey* key, const char* name, char* buffer, int size);
// Texts of up to kRegMaxStringLength characters; a longer one counts as missing.
bool RegReadString(RegKey* key, const char* name, std::string& text);

inline constexpr int kRegMaxStringLength = 259;
