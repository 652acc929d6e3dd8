#include "kernel/MemorySettingsStore.h"
#include "kernel/Registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace
{
const RegistryApp kApp{"OrvaneSoft", "Orvane"};

class RegistryTest : public ::testing::Test
{
protected:
    RegKeyPtr Settings() { return CreateRegKey(kApp, nullptr, "Settings"); }

    // The stored form of a value, straight from the store.
    SettingValue Stored(const char* name)
    {
        SettingValue value;
        EXPECT_TRUE(mScope.store.ReadValue("Software\\OrvaneSoft\\Orvane\\Settings", name, value)) << name;
        return value;
    }

    ScopedMemorySettingsStore mScope;
};

float Byte(int b)
{
    return float(b) * (1.0f / 255.0f);
}
}  // namespace

TEST(RegistryPathTest, KeyPathsJoinCompanyProfileSectionAndSubKey)
{
    struct Case
    {
        const char* section;
        const char* subKey;
        const char* path;
    };
    const Case kCases[] = {
        {nullptr, "Settings", "Software\\OrvaneSoft\\Orvane\\Settings"},
        {nullptr, nullptr, "Software\\OrvaneSoft\\Orvane"},
        {"FontSetups", nullptr, "Software\\OrvaneSoft\\FontSetups"},
        {nullptr, "Settings\\ExpandedInfoItems", "Software\\OrvaneSoft\\Orvane\\Settings\\ExpandedInfoItems"},
    };
    for (const Case& c : kCases)
    {
        std::string path = "unchanged";
        EXPECT_TRUE(GetRegKeyPath(kApp, path, c.section, c.subKey));
        EXPECT_EQ(path, c.path);
    }

    std::string path = "unchanged";
    EXPECT_FALSE(GetRegKeyPath(RegistryApp{"", "Orvane"}, path, nullptr, "Settings"));
    EXPECT_EQ(path, "unchanged");
}

TEST(RegistryPathTest, WithoutAStoreOrCompanyKeyEveryReadKeepsItsDefault)
{
    ASSERT_EQ(GetSettingsStore(), nullptr);
    EXPECT_EQ(OpenRegKey(kApp, nullptr, "Settings"), nullptr);
    EXPECT_EQ(CreateRegKey(kApp, nullptr, "Settings"), nullptr);

    ScopedMemorySettingsStore scope;
    const RegistryApp noCompany{"", "Orvane"};
    EXPECT_EQ(OpenRegKey(noCompany, nullptr, "Settings"), nullptr);
    RegKeyPtr key = CreateRegKey(noCompany, nullptr, "Settings");
    EXPECT_EQ(key, nullptr);

    int i = 7;
    bool b = true;
    std::string s = "keep";
    EXPECT_FALSE(RegReadInt(key.get(), "DistUnits", i));
    EXPECT_FALSE(RegReadBool(key.get(), "ShowVerts", b));
    EXPECT_FALSE(RegReadString(key.get(), "BGImage", s));
    EXPECT_EQ(i, 7);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, "keep");
    EXPECT_FALSE(RegWriteInt(key.get(), "DistUnits", 3));
}

TEST_F(RegistryTest, KeysOpenForReadingOnlyOnceCreated)
{
    EXPECT_EQ(OpenRegKey(kApp, nullptr, "Settings"), nullptr);
    ASSERT_NE(Settings(), nullptr);
    RegKeyPtr read = OpenRegKey(kApp, nullptr, "Settings");
    ASSERT_NE(read, nullptr);
    EXPECT_NE(OpenRegKey(kApp, nullptr, nullptr), nullptr) << "parents are created too";
    EXPECT_NE(OpenRegKey(RegistryApp{"orvanesoft", "ORVANE"}, nullptr, "settings"), nullptr)
        << "key paths ignore case";

    // A key opened for reading refuses writes.
    EXPECT_FALSE(RegWriteInt(read.get(), "DistUnits", 2));
    int units = 1;
    EXPECT_FALSE(RegReadInt(read.get(), "DistUnits", units));
}

TEST_F(RegistryTest, AbsentValuesKeepTheirDefaultsUpToTheStoredForm)
{
    RegKeyPtr key = Settings();
    bool flag = true;
    int number = -12345;
    ColorRGB grey{0.5f, 0.5f, 0.5f};
    double real = 0.1;
    float realF = 0.7f;
    std::string text = "default text";
    char buffer[8] = "abcdefg";

    EXPECT_FALSE(RegReadBool(key.get(), "ShowVerts", flag));
    EXPECT_FALSE(RegReadInt(key.get(), "DistUnits", number));
    EXPECT_FALSE(RegReadColor(key.get(), "BGColor", grey));
    EXPECT_FALSE(RegReadFloat(key.get(), "SphereRad", real));
    EXPECT_FALSE(RegReadFloat(key.get(), "VertSize", realF));
    EXPECT_FALSE(RegReadString(key.get(), "BrowseOrva", text));
    EXPECT_FALSE(RegReadStringBuf(key.get(), "BGImage", buffer, sizeof buffer));

    EXPECT_TRUE(flag);
    EXPECT_EQ(number, -12345);
    // 0.5 * 255 rounds half away from zero to 128.
    EXPECT_EQ(grey.r, Byte(128));
    EXPECT_EQ(grey.g, Byte(128));
    EXPECT_EQ(grey.b, Byte(128));
    EXPECT_EQ(real, double(0.1f));
    EXPECT_NE(real, 0.1);
    EXPECT_EQ(realF, 0.7f);
    EXPECT_EQ(text, "default text");
    EXPECT_STREQ(buffer, "abcdefg");

    // The same through a null key.
    ColorRGB c{0.5f, 0.25f, 1.0f};
    EXPECT_FALSE(RegReadColor(nullptr, "BGColor", c));
    EXPECT_EQ(c.g, Byte(64));
    EXPECT_EQ(c.b, 1.0f);
}

TEST_F(RegistryTest, ValuesAreStoredInTheirRegistryForms)
{
    RegKeyPtr key = Settings();
    ASSERT_TRUE(RegWriteBool(key.get(), "ShowVerts", true));
    ASSERT_TRUE(RegWriteInt(key.get(), "LastCheckDay", -1));
    ASSERT_TRUE(RegWriteColor(key.get(), "EdgeColor", ColorRGB{1.0f, 0.0f, 0.5f}));
    ASSERT_TRUE(RegWriteColor(key.get(), "Odd", ColorRGB{-0.1f, 1.2f, 0.001f}));
    ASSERT_TRUE(RegWriteFloat(key.get(), "SphereRad", 0.1));
    ASSERT_TRUE(RegWriteString(key.get(), "BGImage", "/tmp/sky.png"));

    struct Case
    {
        const char* name;
        uint32_t dword;
    };
    const Case kWords[] = {
        {"ShowVerts", 1},
        {"LastCheckDay", 0xFFFFFFFFu},
        {"EdgeColor", 0x008000FFu},  // red in the low byte, 127.5 rounds up
        {"Odd", 0x000032E6u},        // -0.1 * 255 rounds to -26 (0xE6), 1.2 * 255 to 306 (0x132): no clamping
        {"SphereRad", 0x3DCCCCCDu},  // the IEEE single nearest 0.1
    };
    for (const Case& c : kWords)
    {
        SCOPED_TRACE(c.name);
        const SettingValue v = Stored(c.name);
        EXPECT_EQ(v.kind, SettingKind::Dword);
        EXPECT_EQ(v.dword, c.dword);
    }
    const SettingValue image = Stored("BGImage");
    EXPECT_EQ(image.kind, SettingKind::Text);
    EXPECT_EQ(image.text, "/tmp/sky.png");
}

TEST_F(RegistryTest, ValuesReadBack)
{
    RegKeyPtr key = Settings();
    struct IntCase
    {
        const char* name;
        int value;
    };
    const IntCase kInts[] = {{"A", 0}, {"B", -1}, {"C", 5004}, {"D", 2147483647}, {"E", -2147483647 - 1}};
    for (const IntCase& c : kInts)
        ASSERT_TRUE(RegWriteInt(key.get(), c.name, c.value));
    for (const IntCase& c : kInts)
    {
        int v = 99;
        EXPECT_TRUE(RegReadInt(key.get(), c.name, v));
        EXPECT_EQ(v, c.value);
    }

    ASSERT_TRUE(RegWriteBool(key.get(), "On", true));
    ASSERT_TRUE(RegWriteBool(key.get(), "Off", false));
    ASSERT_TRUE(RegWriteInt(key.get(), "Five", 5));
    bool on = false, off = true, five = false;
    EXPECT_TRUE(RegReadBool(key.get(), "On", on));
    EXPECT_TRUE(RegReadBool(key.get(), "Off", off));
    EXPECT_TRUE(RegReadBool(key.get(), "Five", five));  // any non-zero word is true
    EXPECT_TRUE(on);
    EXPECT_FALSE(off);
    EXPECT_TRUE(five);

    ASSERT_TRUE(RegWriteColor(key.get(), "Color", ColorRGB{1.0f, 0.2f, 0.0f}));
    ColorRGB color;
    EXPECT_TRUE(RegReadColor(key.get(), "Color", color));
    EXPECT_EQ(color.r, 1.0f);
    EXPECT_EQ(color.g, Byte(51));
    EXPECT_EQ(color.b, 0.0f);

    ASSERT_TRUE(RegWriteFloat(key.get(), "Tab", 283.46456692913387));
    double tab = 0.0;
    EXPECT_TRUE(RegReadFloat(key.get(), "Tab", tab));
    EXPECT_EQ(tab, double(283.46456692913387f));
    EXPECT_NEAR(tab, 283.46456692913387, 1e-4);

    ASSERT_TRUE(RegWriteString(key.get(), "Text", "caf\xc3\xa9 \"quoted\" back\\slash"));
    std::string text;
    EXPECT_TRUE(RegReadString(key.get(), "Text", text));
    EXPECT_EQ(text, "caf\xc3\xa9 \"quoted\" back\\slash");

    // Names ignore case, as registry value names do.
    int c = 0;
    EXPECT_TRUE(RegReadInt(key.get(), "c", c));
    EXPECT_EQ(c, 5004);
}

TEST_F(RegistryTest, ValuesOfAnotherFormCountAsMissing)
{
    RegKeyPtr key = Settings();
    ASSERT_TRUE(RegWriteString(key.get(), "Text", "12"));
    ASSERT_TRUE(RegWriteInt(key.get(), "Number", 12));

    int number = 3;
    EXPECT_FALSE(RegReadInt(key.get(), "Text", number));
    EXPECT_EQ(number, 3);
    std::string text = "keep";
    EXPECT_FALSE(RegReadString(key.get(), "Number", text));
    EXPECT_EQ(text, "keep");
    char buffer[4] = "abc";
    EXPECT_FALSE(RegReadStringBuf(key.get(), "Number", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "abc");
}

TEST_F(RegistryTest, TextsLongerThanTheBufferCountAsMissing)
{
    RegKeyPtr key = Settings();
    const std::string fits(259, 'x');
    const std::string tooLong(260, 'y');
    const std::string longer(300, 'z');
    ASSERT_TRUE(RegWriteString(key.get(), "Fits", fits.c_str()));
    ASSERT_TRUE(RegWriteString(key.get(), "TooLong", tooLong.c_str()));
    ASSERT_TRUE(RegWriteString(key.get(), "Longer", longer.c_str()));

    std::string text = "keep";
    EXPECT_TRUE(RegReadString(key.get(), "Fits", text));
    EXPECT_EQ(text, fits);
    text = "keep";
    EXPECT_FALSE(RegReadString(key.get(), "TooLong", text));
    EXPECT_FALSE(RegReadString(key.get(), "Longer", text));
    EXPECT_EQ(text, "keep");

    ASSERT_TRUE(RegWriteString(key.get(), "Short", "abc"));
    char buffer[6];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(RegReadStringBuf(key.get(), "Short", buffer, 4));  // "abc" and its terminator
    EXPECT_STREQ(buffer, "abc");
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(RegReadStringBuf(key.get(), "Short", buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), std::string("##\0", 3)) << "only the last byte is set";
    EXPECT_EQ(buffer[3], '#');
}

TEST_F(RegistryTest, NullTextsAndNullKeysWriteNothing)
{
    RegKeyPtr key = Settings();
    ASSERT_TRUE(RegWriteString(key.get(), "BGImage", "kept"));
    EXPECT_FALSE(RegWriteString(key.get(), "BGImage", nullptr));
    EXPECT_EQ(Stored("BGImage").text, "kept");

    EXPECT_FALSE(RegWriteBool(nullptr, "X", true));
    EXPECT_FALSE(RegWriteInt(nullptr, "X", 1));
    EXPECT_FALSE(RegWriteColor(nullptr, "X", ColorRGB{}));
    EXPECT_FALSE(RegWriteFloat(nullptr, "X", 1.0));
    EXPECT_FALSE(RegWriteString(nullptr, "X", "x"));
}
