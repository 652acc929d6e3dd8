#include "platform/FileSettingsStore.h"

#include "kernel/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace
{
const char kKey[] = "Software\\OrvaneSoft\\Orvane\\Settings";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

SettingValue Text(const std::string& s)
{
    SettingValue v;
    v.kind = SettingKind::Text;
    v.text = s;
    return v;
}

SettingValue Word(uint32_t w)
{
    SettingValue v;
    v.dword = w;
    return v;
}

class FileSettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvane-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
        mFile = mDir + "/deeper/orvane/orvane.conf";
    }
    void TearDown() override { std::filesystem::remove_all(mDir); }

    std::string mDir;
    std::string mFile;
};

// Restores an environment variable on scope exit.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = std::make_unique<std::string>(old);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (mOld)
            setenv(mName.c_str(), mOld->c_str(), 1);
        else
            unsetenv(mName.c_str());
    }

private:
    std::string mName;
    std::unique_ptr<std::string> mOld;
};
}  // namespace

TEST_F(FileSettingsStoreTest, ValuesSurviveANewStoreOnTheSameFile)
{
    const std::string kTexts[] = {
        "plain",
        "",
        "  leading and trailing  ",
        "\"quoted\" and back\\slash",
        "line one\nline two\ttab",
        "# not a comment ; nor this = [group]",
        "$HOME and ${PATH} stay as typed",
        "caf\xc3\xa9 \xe2\x9c\x93",
        "dword:0000000c",  // a text that looks like a word stays a text
        "sz:also a text",
    };
    {
        FileSettingsStore store(mFile);
        for (size_t i = 0; i < std::size(kTexts); ++i)
            ASSERT_TRUE(store.WriteValue(kKey, "Text" + std::to_string(i), Text(kTexts[i])));
        ASSERT_TRUE(store.WriteValue(kKey, "LatestKnownVersion OrvaneMax", Text("8.10")));
        ASSERT_TRUE(store.WriteValue(kKey, "Zero", Word(0)));
        ASSERT_TRUE(store.WriteValue(kKey, "All", Word(0xFFFFFFFFu)));
        ASSERT_TRUE(store.WriteValue("Software\\OrvaneSoft\\FontSetups\\Default", "Size", Word(12)));
        ASSERT_TRUE(store.Flush());
    }

    FileSettingsStore again(mFile);
    for (size_t i = 0; i < std::size(kTexts); ++i)
    {
        SCOPED_TRACE(kTexts[i]);
        SettingValue v;
        ASSERT_TRUE(again.ReadValue(kKey, "Text" + std::to_string(i), v));
        EXPECT_EQ(v.kind, SettingKind::Text);
        EXPECT_EQ(v.text, kTexts[i]);
    }
    SettingValue v;
    ASSERT_TRUE(again.ReadValue(kKey, "LatestKnownVersion OrvaneMax", v));
    EXPECT_EQ(v.text, "8.10");
    ASSERT_TRUE(again.ReadValue(kKey, "all", v));  // names ignore case
    EXPECT_EQ(v.kind, SettingKind::Dword);
    EXPECT_EQ(v.dword, 0xFFFFFFFFu);
    ASSERT_TRUE(again.ReadValue(kKey, "Zero", v));
    EXPECT_EQ(v.kind, SettingKind::Dword);
    EXPECT_EQ(v.dword, 0u);
    EXPECT_FALSE(again.ReadValue(kKey, "Missing", v));
    EXPECT_FALSE(again.ReadValue("Software\\Nobody", "Zero", v));
    EXPECT_TRUE(again.KeyExists("Software\\OrvaneSoft\\FontSetups\\Default"));
    EXPECT_TRUE(again.KeyExists("software\\orvanesoft\\orvane\\settings"));
    EXPECT_TRUE(again.KeyExists("Software\\OrvaneSoft"));
    EXPECT_FALSE(again.KeyExists("Software\\OrvaneSoft\\Other"));
}

TEST_F(FileSettingsStoreTest, FileIsAPlainGroupedTextFile)
{
    {
        FileSettingsStore store(mFile);
        ASSERT_TRUE(store.WriteValue(kKey, "DistUnits", Word(1)));
        ASSERT_TRUE(store.WriteValue(kKey, "BGImage", Text("/tmp/sky.png")));
    }  // the destructor flushes
    const std::string text = ReadFile(mFile);
    EXPECT_NE(text.find("[Software/OrvaneSoft/Orvane/Settings]"), std::string::npos) << text;
    EXPECT_NE(text.find("DistUnits=dword:00000001"), std::string::npos) << text;
    EXPECT_NE(text.find("BGImage=/tmp/sky.png"), std::string::npos) << text;
}

TEST_F(FileSettingsStoreTest, NothingIsWrittenUntilSomethingChanges)
{
    {
        FileSettingsStore store(mFile);
        SettingValue v;
        EXPECT_FALSE(store.ReadValue(kKey, "DistUnits", v));
        EXPECT_TRUE(store.Flush());
    }
    EXPECT_FALSE(std::filesystem::exists(mDir + "/deeper")) << "a run that changes nothing leaves no trace";
}

TEST_F(FileSettingsStoreTest, PathsAndNamesAGroupCannotHoldAreRefused)
{
    FileSettingsStore store(mFile);
    EXPECT_FALSE(store.WriteValue("Software\\A/B", "X", Word(1)));
    EXPECT_FALSE(store.WriteValue(kKey, "A/B", Word(1)));
    EXPECT_FALSE(store.WriteValue(kKey, "", Word(1)));
    EXPECT_FALSE(store.WriteValue(kKey, "Bad", Text("\xff\xfe not UTF-8")));
    EXPECT_FALSE(store.CreateKey(""));
}

TEST_F(FileSettingsStoreTest, TypedValuesSurviveThroughTheRegistryFunctions)
{
    const RegistryApp app{"OrvaneSoft", "Orvane"};
    {
        FileSettingsStore store(mFile);
        SettingsStore* previous = SetSettingsStore(&store);
        RegKeyPtr key = CreateRegKey(app, nullptr, "Settings");
        ASSERT_NE(key, nullptr);
        EXPECT_TRUE(RegWriteColor(key.get(), "BGColor", ColorRGB{0.5f, 0.25f, 1.0f}));
        EXPECT_TRUE(RegWriteFloat(key.get(), "SphereRad", 0.4));
        EXPECT_TRUE(RegWriteBool(key.get(), "ShowEdges", true));
        EXPECT_TRUE(RegWriteInt(key.get(), "MaxUndoSize", 33554432));
        EXPECT_TRUE(RegWriteString(key.get(), "BrowseOrva", "/home/someone/Orvane"));
        key.reset();
        SetSettingsStore(previous);
    }

    FileSettingsStore store(mFile);
    SettingsStore* previous = SetSettingsStore(&store);
    RegKeyPtr key = OpenRegKey(app, nullptr, "Settings");
    ASSERT_NE(key, nullptr);
    ColorRGB color;
    double radius = 0.0;
    bool edges = false;
    int undo = 0;
    std::string folder;
    EXPECT_TRUE(RegReadColor(key.get(), "BGColor", color));
    EXPECT_TRUE(RegReadFloat(key.get(), "SphereRad", radius));
    EXPECT_TRUE(RegReadBool(key.get(), "ShowEdges", edges));
    EXPECT_TRUE(RegReadInt(key.get(), "MaxUndoSize", undo));
    EXPECT_TRUE(RegReadString(key.get(), "BrowseOrva", folder));
    EXPECT_EQ(color.r, 128.0f * (1.0f / 255.0f));
    EXPECT_EQ(color.g, 64.0f * (1.0f / 255.0f));
    EXPECT_EQ(color.b, 1.0f);
    EXPECT_EQ(radius, double(0.4f));
    EXPECT_TRUE(edges);
    EXPECT_EQ(undo, 33554432);
    EXPECT_EQ(folder, "/home/someone/Orvane");
    key.reset();
    SetSettingsStore(previous);
}

TEST(SettingsFilePathTest, FollowsTheUserConfigurationFolder)
{
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/var/tmp/cfg");
        EXPECT_EQ(SettingsFilePath(), "/var/tmp/cfg/orvane/orvane.conf");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/orvane/orvane.conf");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/cfg");  // only absolute paths count
        EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/orvane/orvane.conf");
    }
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "");
        EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/orvane/orvane.conf");
    }
}
