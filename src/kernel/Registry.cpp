#include "kernel/Registry.h"

#include "kernel/SettingsStore.h"

#include <cstring>

namespace
{
bool ReadDword(RegKey* key, const char* name, uint32_t& dword)
{
    SettingValue value;
    if (!key || !key->Store().ReadValue(key->Path(), name ? name : "", value) || value.kind != SettingKind::Dword)
        return false;
    dword = value.dword;
    return true;
}

bool WriteDword(RegKey* key, const char* name, uint32_t dword)
{
    if (!key || !key->Writable())
        return false;
    SettingValue value;
    value.dword = dword;
    return key->Store().WriteValue(key->Path(), name ? name : "", value);
}

// The text of a string value whose text and terminator fit into size bytes.
bool ReadText(RegKey* key, const char* name, size_t size, std::string& text)
{
    SettingValue value;
    if (!key || !key->Store().ReadValue(key->Path(), name ? name : "", value) || value.kind != SettingKind::Text)
        return false;
    if (value.text.size() + 1 > size)
        return false;
    text = value.text;
    return true;
}

uint32_t FloatBits(double value)
{
    const float f = float(value);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

float BitsFloat(uint32_t bits)
{
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

RegKeyPtr MakeKey(const RegistryApp& app, const char* section, const char* subKey, bool create)
{
    SettingsStore* store = GetSettingsStore();
    std::string path;
    if (!store || !GetRegKeyPath(app, path, section, subKey))
        return nullptr;
    if (create ? !store->CreateKey(path) : !store->KeyExists(path))
        return nullptr;
    return std::make_unique<RegKey>(*store, path, create);
}
}  // namespace

bool GetRegKeyPath(const RegistryApp& app, std::string& path, const char* section, const char* subKey)
{
    if (app.companyKey.empty())
        return false;
    path = "Software\\" + app.companyKey + "\\" + (section ? section : app.profileName);
    if (subKey)
        path += std::string("\\") + subKey;
    return true;
}

RegKeyPtr OpenRegKey(const RegistryApp& app, const char* section, const char* subKey)
{
    return MakeKey(app, section, subKey, false);
}

RegKeyPtr CreateRegKey(const RegistryApp& app, const char* section, const char* subKey)
{
    return MakeKey(app, section, subKey, true);
}

bool RegWriteBool(RegKey* key, const char* name, bool value)
{
    return WriteDword(key, name, value ? 1 : 0);
}

bool RegWriteInt(RegKey* key, const char* name, int value)
{
    return WriteDword(key, name, uint32_t(value));
}

bool RegWriteColor(RegKey* key, const char* name, const ColorRGB& value)
{
    return WriteDword(key, name, ColorToRGB(value));
}

bool RegWriteFloat(RegKey* key, const char* name, double value)
{
    return WriteDword(key, name, FloatBits(value));
}

bool RegWriteString(RegKey* key, const char* name, const char* text)
{
    if (!key || !key->Writable() || !text)
        return false;
    SettingValue value;
    value.kind = SettingKind::Text;
    value.text = text;
    return key->Store().WriteValue(key->Path(), name ? name : "", value);
}

bool RegReadBool(RegKey* key, const char* name, bool& value)
{
    uint32_t dword = value ? 1 : 0;
    const bool found = ReadDword(key, name, dword);
    value = dword != 0;
    return found;
}

bool RegReadInt(RegKey* key, const char* name, int& value)
{
    uint32_t dword = uint32_t(value);
    const bool found = ReadDword(key, name, dword);
    value = int(dword);
    return found;
}

// A missing value still passes the variable through its stored form, as every owner of a colour
// or real setting has always seen it.
bool RegReadColor(RegKey* key, const char* name, ColorRGB& value)
{
    uint32_t dword = ColorToRGB(value);
    const bool found = ReadDword(key, name, dword);
    ColorFromRGB(value, dword);
    return found;
}

bool RegReadFloat(RegKey* key, const char* name, double& value)
{
    uint32_t dword = FloatBits(value);
    const bool found = ReadDword(key, name, dword);
    value = double(BitsFloat(dword));
    return found;
}

bool RegReadFloat(RegKey* key, const char* name, float& value)
{
    double wide = value;
    const bool found = RegReadFloat(key, name, wide);
    value = float(wide);
    return found;
}

bool RegReadStringBuf(RegKey* key, const char* name, char* buffer, int size)
{
    if (!buffer || size <= 0)
        return false;
    std::string text;
    const bool found = ReadText(key, name, size_t(size), text);
    if (found)
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    buffer[size - 1] = '\0';
    return found;
}

bool RegReadString(RegKey* key, const char* name, std::string& text)
{
    return ReadText(key, name, kRegMaxStringLength + 1, text);
}
