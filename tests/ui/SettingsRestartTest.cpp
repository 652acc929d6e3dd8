// Starts the real program twice on one configuration folder: what the first run stores, the
// second run reads.

#include <gtest/gtest.h>

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

TEST_F(SettingsRestart, WhatOneRunStoresTheNextRunReads)
{
    const std::string config = mDir + "/config";
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"ORVANE_SETTINGS_PROBE", "first run caf\xc3\xa9"}}), 0);
    EXPECT_NE(mOutput.find("settings probe: (none)"), std::string::npos) << mOutput;
    const std::string file = config + "/orvane/orvane.conf";
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_NE(ReadFile(file).find("[Software/OrvaneSoft/Orvane/Settings]"), std::string::npos);

    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"ORVANE_SETTINGS_PROBE", "second run"}}), 0);
    EXPECT_NE(mOutput.find("settings probe: first run caf\xc3\xa9\n"), std::string::npos) << mOutput;

    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", config}, {"ORVANE_SETTINGS_PROBE", "third run"}}), 0);
    EXPECT_NE(mOutput.find("settings probe: second run\n"), std::string::npos) << mOutput;
}

TEST_F(SettingsRestart, WithoutXdgConfigHomeTheFolderIsUnderHome)
{
    const std::string home = mDir + "/home";
    std::filesystem::create_directories(home);
    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", ""}, {"HOME", home}, {"ORVANE_SETTINGS_PROBE", "kept at home"}}), 0);
    EXPECT_TRUE(std::filesystem::exists(home + "/.config/orvane/orvane.conf"));

    ASSERT_EQ(Run({{"XDG_CONFIG_HOME", ""}, {"HOME", home}, {"ORVANE_SETTINGS_PROBE", "x"}}), 0);
    EXPECT_NE(mOutput.find("settings probe: kept at home\n"), std::string::npos) << mOutput;
}
