// Starts the real program twice on one configuration folder: what the first run stores, the
// second run reads.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsRestart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs a display (scripts/test runs the GUI tests under Xvfb)";
        char pattern[] = "/tmp/orvane-restart-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
    }
    void TearDown() override
    {
        if (!mDir.empty())
            std::filesystem::remove_all(mDir);
    }

    // Runs the program until it has drawn its first frame and closed; its standard output goes to
    // mOutput. Environment entries with an empty value are removed.
    int Run(const std::vector<std::pair<std::string, std::string>>& vars)
    {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
        {
            const std::string entry = *e;
            bool replaced = false;
            for (const auto& v : vars)
                replaced = replaced || entry.compare(0, v.first.size() + 1, v.first + "=") == 0;
            if (!replaced)
                env.push_back(entry);
        }
        // A sanitizer build reports the toolkit's own leaks at exit; those are not ours.
        if (!std::getenv("LSAN_OPTIONS"))
            env.push_back(std::string("LSAN_OPTIONS=suppressions=") + ORVANE_LSAN_SUPPRESSIONS +
                          ":print_suppressions=0");
        env.push_back("ORVANE_FIRST_FRAME_PPM=" + mDir + "/frame.ppm");
        env.push_back("ORVANE_FATAL_ASSERTS=1");
        // No test reaches the network: the check for a newer version at start has no address.
        env.push_back("ORVANE_UPDATE_SITE=");
        for (const auto& v : vars)
            if (!v.second.empty())
                env.push_back(v.first + "=" + v.second);
        std::vector<char*> envp;
        for (std::string& s : env)
            envp.push_back(s.data());
        envp.push_back(nullptr);

        const std::string outPath = mDir + "/stdout.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::string exe = ORVANE_EXE;
        char* argv[] = {exe.data(), nullptr};
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return -2;

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0)
        {
            if (std::chrono::steady_clock::now() > deadline)
            {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        mOutput = ReadFile(outPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
    }

    std::string mDir;
    std::string mOutput;
};
}  // namespace

namespace
{
// The value of name in the settings file's section, as written ("dword:00000001" or the text);
// empty when absent.
std::string StoredValue(const std::string& file, const std::string& section, const std::string& name)
{
    std::istringstream in(file);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line))
    {
        if (!line.empty() && line[0] == '[')
            inSection = line == "[" + section + "]";
        else if (inSection && line.compare(0, name.size() + 1, name + "=") == 0)
            return line.substr(name.size() + 1);
    }
    return std::string();
}

// Replaces (or adds) the value in the section.
std::string WithValue(const std::string& file, const std::string& section, const std::string& name,
                      const std::string& value)
{
    std::istringstream in(file);
    std::ostringstream out;
    std::string line;
    bool inSection = false;
    bool done = false;
    while (std::getline(in, line))
    {
        if (!line.empty() && line[0] == '[')
        {
            if (inSection && !done)
            {
                out << name << "=" << value << "\n";
                done = true;
            }
            inSection = line == "[" + section + "]";
        }
        else if (inSection && line.compare(0, name.size() + 1, name + "=") == 0)
        {
            line = name + "=" + value;
            done = true;
        }
        out << line << "\n";
    }
    if (!done)
        out << "[" << section << "]\n" << name << "=" << value << "\n";
    return out.str();
}

struct Image
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

bool ReadPpm(const std::string& path, Image& image)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic >> image.width >> image.height >> maxValue) || magic != "P6" || maxValue != 255)
        return false;
    in.get();
    image.rgb.resize(size_t(image.width) * image.height * 3);
    return bool(in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size())));
}

const char kSettings[] = "Software/OrvaneSoft/Orvane/Settings";
}  // namespace

TEST_F(SettingsRestart, FirstRunStoresTheDefaultsAndThePlacementOnItsScreen)
{
    const std::string config = mDir + "/config";
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"HOME", mDir}}), 0);
    const std::string file = ReadFile(config + "/orvane/orvane.conf");
    ASSERT_FALSE(file.empty());

    // A first start on the 1280 x 1024 test screen: 1000 x 800, centred.
    struct Expected
    {
        const char* name;
        const char* value;
    };
    const Expected kValues[] = {
        {"WindowPosLeft", "dword:0000008c"},   {"WindowPosTop", "dword:00000070"},
        {"WindowPosRight", "dword:00000474"},  {"WindowPosBottom", "dword:00000390"},
        {"WindowIsMaximised", "dword:00000000"}, {"Version", "dword:0000138c"},
        {"DistUnits", "dword:00000001"},       {"NetSpacing", "dword:00000237"},
        {"BGColor", "dword:00808080"},         {"MidsphereColor", "dword:00ffb200"},
        {"SphereRad", "dword:3ecccccd"},       {"TabSize", "dword:438dbb77"},
        {"MaxUndoSize", "dword:02000000"},     {"ExportNumRotations", "1/5"},
        {"ShowMessages", "dword:ffffffff"},    {"Geomag", "dword:00000000"},
    };
    for (const Expected& e : kValues)
        EXPECT_EQ(StoredValue(file, kSettings, e.name), e.value) << e.name;
    EXPECT_EQ(StoredValue(file, kSettings, "BrowseTour"), mDir + "/Documents/Orvane/Tour");
}

TEST_F(SettingsRestart, WhatOneRunStoresTheNextRunReads)
{
    const std::string config = mDir + "/config";
    const std::string path = config + "/orvane/orvane.conf";
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"HOME", mDir}}), 0);

    // Settings the user changed in between: a unit, a background, a sphere size, a remembered
    // text, a cleared export folder, a window placed elsewhere (no narrower than its menu bar).
    std::string file = ReadFile(path);
    file = WithValue(file, kSettings, "DistUnits", "dword:00000003");
    file = WithValue(file, kSettings, "BGColor", "dword:00204060");
    file = WithValue(file, kSettings, "SphereRad", "dword:3e800000");
    file = WithValue(file, kSettings, "ExportAspect", "4/3");
    file = WithValue(file, kSettings, "BrowseExport", "");
    file = WithValue(file, kSettings, "WindowPosLeft", "dword:00000064");
    file = WithValue(file, kSettings, "WindowPosTop", "dword:00000032");
    file = WithValue(file, kSettings, "WindowPosRight", "dword:0000044c");
    file = WithValue(file, kSettings, "WindowPosBottom", "dword:0000028a");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << file;
    }

    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"HOME", mDir}}), 0);
    const std::string second = ReadFile(path);
    EXPECT_EQ(StoredValue(second, kSettings, "DistUnits"), "dword:00000003");
    EXPECT_EQ(StoredValue(second, kSettings, "BGColor"), "dword:00204060");
    EXPECT_EQ(StoredValue(second, kSettings, "SphereRad"), "dword:3e800000");
    EXPECT_EQ(StoredValue(second, kSettings, "ExportAspect"), "4/3");
    // A blank export folder becomes the folder the program was started in.
    EXPECT_EQ(StoredValue(second, kSettings, "BrowseExport"), std::filesystem::current_path().string());
    // The window was placed where the settings said, and that is what it stored again.
    EXPECT_EQ(StoredValue(second, kSettings, "WindowPosLeft"), "dword:00000064");
    EXPECT_EQ(StoredValue(second, kSettings, "WindowPosTop"), "dword:00000032");
    EXPECT_EQ(StoredValue(second, kSettings, "WindowPosRight"), "dword:0000044c");
    EXPECT_EQ(StoredValue(second, kSettings, "WindowPosBottom"), "dword:0000028a");

    // The panes were cleared in the stored background: red 0x60, green 0x40, blue 0x20.
    Image image;
    ASSERT_TRUE(ReadPpm(mDir + "/frame.ppm", image));
    ASSERT_FALSE(image.rgb.empty());
    EXPECT_EQ(image.rgb[0], 0x60);
    EXPECT_EQ(image.rgb[1], 0x40);
    EXPECT_EQ(image.rgb[2], 0x20);
}

TEST_F(SettingsRestart, WithoutXdgConfigHomeTheFolderIsUnderHome)
{
    const std::string home = mDir + "/home";
    std::filesystem::create_directories(home);
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", ""}, {"HOME", home}}), 0);
    const std::string file = ReadFile(home + "/.config/orvane/orvane.conf");
    EXPECT_EQ(StoredValue(file, kSettings, "Version"), "dword:0000138c");
}

namespace
{
// One field of a pane in a stored docking state ("layout2|name=A;state=..;dir=..|...").
std::string PaneField(const std::string& state, const std::string& pane, const std::string& field)
{
    const size_t start = state.find("name=" + pane + ";");
    if (start == std::string::npos)
        return std::string();
    const std::string part = state.substr(start, state.find('|', start) - start);
    const size_t at = part.find(";" + field + "=");
    if (at == std::string::npos)
        return std::string();
    const size_t from = at + field.size() + 2;
    return part.substr(from, part.find(';', from) - from);
}

std::string WithPaneField(std::string state, const std::string& pane, const std::string& field,
                          const std::string& value)
{
    const size_t start = state.find("name=" + pane + ";");
    const size_t end = state.find('|', start);
    const size_t at = state.find(";" + field + "=", start);
    if (start == std::string::npos || at == std::string::npos || at > end)
        return state;
    const size_t from = at + field.size() + 2;
    const size_t to = std::min(state.find(';', from), state.find('|', from));
    return state.replace(from, to - from, value);
}

// The toolkit's pane state bits.
constexpr unsigned kPaneFloating = 1;
constexpr unsigned kPaneHidden = 2;
}  // namespace

TEST_F(SettingsRestart, TheToolbarsComeBackWhereTheyWereLeft)
{
    const std::string config = mDir + "/config";
    const std::string path = config + "/orvane/orvane.conf";
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"HOME", mDir}}), 0);
    std::string file = ReadFile(path);
    std::string state = StoredValue(file, kSettings, "BarState");
    ASSERT_EQ(state.compare(0, 8, "layout2|"), 0) << state;
    for (const char* bar : {"MainToolBar", "TourToolBar", "OptionToolBar", "ModeToolBar", "ViewToolBar"})
    {
        SCOPED_TRACE(bar);
        EXPECT_EQ(PaneField(state, bar, "dir"), "1");  // at the top
        EXPECT_EQ(std::stoul(PaneField(state, bar, "state")) & (kPaneFloating | kPaneHidden), 0u);
    }
    EXPECT_EQ(PaneField(state, "MainToolBar", "row"), PaneField(state, "TourToolBar", "row"));
    EXPECT_EQ(PaneField(state, "ModeToolBar", "row"), PaneField(state, "ViewToolBar", "row"));
    EXPECT_NE(PaneField(state, "MainToolBar", "row"), PaneField(state, "OptionToolBar", "row"));

    // The user floated the Option toolbar, docked the Mode toolbar on the left and hid the Tour toolbar.
    const unsigned option = std::stoul(PaneField(state, "OptionToolBar", "state"));
    state = WithPaneField(state, "OptionToolBar", "state", std::to_string(option | kPaneFloating));
    state = WithPaneField(state, "OptionToolBar", "floatx", "330");
    state = WithPaneField(state, "OptionToolBar", "floaty", "280");
    state = WithPaneField(state, "ModeToolBar", "dir", "4");
    state = WithPaneField(state, "ModeToolBar", "row", "0");
    const unsigned tour = std::stoul(PaneField(state, "TourToolBar", "state"));
    state = WithPaneField(state, "TourToolBar", "state", std::to_string(tour | kPaneHidden));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << WithValue(file, kSettings, "BarState", state);
    }

    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"HOME", mDir}}), 0);
    const std::string again = StoredValue(ReadFile(path), kSettings, "BarState");
    EXPECT_NE(std::stoul(PaneField(again, "OptionToolBar", "state")) & kPaneFloating, 0u);
    EXPECT_EQ(std::stoul(PaneField(again, "OptionToolBar", "state")) & kPaneHidden, 0u);
    EXPECT_EQ(PaneField(again, "OptionToolBar", "floatx"), "330");
    EXPECT_EQ(PaneField(again, "OptionToolBar", "floaty"), "280");
    EXPECT_EQ(PaneField(again, "ModeToolBar", "dir"), "4");
    EXPECT_NE(std::stoul(PaneField(again, "TourToolBar", "state")) & kPaneHidden, 0u);
    EXPECT_EQ(std::stoul(PaneField(again, "MainToolBar", "state")) & kPaneHidden, 0u);
}
