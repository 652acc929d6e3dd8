// Starts the real program, lets it save its first frame and quit, and checks what it drew.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <utility>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
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

// Runs the program with extra environment entries; its exit status, or -1 when it had to be killed.
int RunProgram(const std::vector<std::string>& extraEnv, std::chrono::seconds limit)
{
    // The extra entries replace inherited ones of the same name.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
    {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            replaced = replaced || extra.compare(0, name.size(), name) == 0;
        if (!replaced)
            env.push_back(entry);
    }
    // A sanitizer build reports the toolkit's own leaks at exit; those are not ours.
    if (!std::getenv("LSAN_OPTIONS"))
        env.emplace_back(std::string("LSAN_OPTIONS=suppressions=") + ORVANE_LSAN_SUPPRESSIONS + ":print_suppressions=0");
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    std::string exe = ORVANE_EXE;
    char* argv[] = {exe.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        return -2;

    const auto deadline = std::chrono::steady_clock::now() + limit;
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
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

class ProgramSmoke : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs a display (scripts/test runs the GUI tests under Xvfb)";
        char pattern[] = "/tmp/orvane-smoke-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
    }
    void TearDown() override
    {
        if (!mDir.empty())
            std::filesystem::remove_all(mDir);
    }

    std::string mDir;
};
}  // namespace

TEST_F(ProgramSmoke, FirstFrameShowsTheFirstModelOnMidGrey)
{
    const std::string frame = mDir + "/first-frame.ppm";
    // The program makes its folders under the documents folder: keep them out of the real home.
    const int status = RunProgram({"ORVANE_FIRST_FRAME_PPM=" + frame, "XDG_CONFIG_HOME=" + mDir + "/config",
                                   "HOME=" + mDir,
                                   "ORVANE_FATAL_ASSERTS=1", "ORVANE_UPDATE_SITE="},
                                  std::chrono::seconds(60));
    ASSERT_EQ(status, 0) << "the program did not finish cleanly";

    Image image;
    ASSERT_TRUE(ReadPpm(frame, image)) << "no first frame at " << frame;
    EXPECT_GT(image.width, 100);
    EXPECT_GT(image.height, 100);
    // The pane is cleared to grey 0.5 and the icosahedron covers its middle.
    const auto isGrey = [&](int x, int y) {
        const size_t i = 3 * (size_t(y) * size_t(image.width) + size_t(x));
        const auto near = [](unsigned char c) { return c >= 126 && c <= 129; };
        return near(image.rgb[i]) && near(image.rgb[i + 1]) && near(image.rgb[i + 2]);
    };
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{image.width - 2, 1}, std::pair{1, image.height - 2},
                               std::pair{image.width - 2, image.height - 2}})
        EXPECT_TRUE(isGrey(x, y)) << "corner " << x << ", " << y;
    EXPECT_FALSE(isGrey(image.width / 2, image.height / 2)) << "the model in the middle";

    // At start the program makes the folders its file dialogs remember, under the documents folder.
    for (const char* folder : {"Orvane", "Orvane/Tour", "Orvane/Export", "Orvane/Image", "Orvane/Text"})
        EXPECT_TRUE(std::filesystem::is_directory(mDir + "/Documents/" + folder)) << folder;
}

TEST_F(ProgramSmoke, StartUpOpensTheDefaultSceneWhenThereIsOne)
{
    // A default scene whose one pane looks away from the model: its first frame is grey throughout.
    std::filesystem::create_directories(mDir + "/config/orvane");
    {
        std::ofstream scene(mDir + "/config/orvane/Default.orva");
        scene << "Orvane ASCII 8.10\n"
                 "LayoutSection\n  CurrentLayout\tLayout1\n  EndSection\n"
                 "ViewType\tPoly\nCameraPos\t0\t0\t3\nXAxis\t-1\t0\t0\nYAxis\t0\t1\t0\nZAxis\t0\t0\t-1\n"
                 "VertexDescription\t\"4.4.4\"\nScale\t1\n";
    }
    const std::string frame = mDir + "/first-frame.ppm";
    const int status = RunProgram({"ORVANE_FIRST_FRAME_PPM=" + frame, "XDG_CONFIG_HOME=" + mDir + "/config",
                                   "HOME=" + mDir, "ORVANE_FATAL_ASSERTS=1", "ORVANE_UPDATE_SITE="},
                                  std::chrono::seconds(60));
    ASSERT_EQ(status, 0) << "the program did not finish cleanly";
    Image image;
    ASSERT_TRUE(ReadPpm(frame, image)) << "no first frame at " << frame;
    const size_t middle = 3 * (size_t(image.height / 2) * size_t(image.width) + size_t(image.width / 2));
    for (size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(int(image.rgb[middle + c]), 127, 2) << "the pane shows the model instead of the file's view";
}
