// Which names are model files, and the preview text the file dialogs show for a file.

#include "document/ModelFileNames.h"

#include "kernel/TokenFile.h"
#include "library/LibraryLookup.h"
#include "library/SceneFile.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
TEST(ModelFileNames, OnlyTheModelFileExtensionIgnoringCase)
{
    const struct
    {
        const char* path;
        bool model;
    } kCases[] = {
        {"/models/cube.orva", true},
        {"/models/CUBE.ORVA", true},
        {"relative/Great;Stellated.Orva", true},
        {"/models/cube.off", false},
        {"/models/cube.orva.bak", false},
        {"/models.orva/cube", false},
        {"/models/orva", false},
        {"", false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(IsModelFileName(c.path), c.model) << c.path;
    EXPECT_FALSE(IsModelFileName(nullptr));
}

class ModelFileInfoTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // One folder per test: ctest runs the tests of a fixture side by side.
        mFolder = std::filesystem::temp_directory_path() /
                  (std::string("orvane-info-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    std::string Write(const char* name, const char* contents)
    {
        const std::filesystem::path path = mFolder / name;
        std::ofstream(path) << contents;
        return path.string();
    }

    std::filesystem::path mFolder;
};

TEST_F(ModelFileInfoTextTest, AnOffFileShowsItsCounts)
{
    const struct
    {
        const char* name;
        const char* contents;
        const char* text;
    } kCases[] = {
        {"cube.off", "OFF\n8 6 12\n1 1 1\n", "6 faces, 12 edges, 8 vertices"},
        // Comments and blank lines before the counts are passed over; edges of 0 are left out.
        {"commented.off", "# made by hand\n\nOFF\n  # the counts\n\n 4 4 0\n", "4 faces, 4 vertices"},
        {"cells.off", "4OFF\n5 10 10 5\n", "5 cells, 10 faces, 10 edges, 5 vertices"},
        {"UPPER.OFF", "OFF\n6 8 12\n", "8 faces, 12 edges, 6 vertices"},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        std::string text;
        EXPECT_TRUE(ModelFileInfoText(Write(c.name, c.contents).c_str(), text));
        EXPECT_EQ(text, c.text);
    }
}

TEST_F(ModelFileInfoTextTest, AModelFileShowsItsNameAndCounts)
{
    PolyTemplate templ;
    Poly cube;
    ASSERT_TRUE(cube.CreateFromLibraryEntry(&templ, FindLibraryEntry("Cube", nullptr, false), false));
    const std::string path = (mFolder / "saved cube.orva").string();
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoBinary, &cube, 0));
    std::string text;
    EXPECT_TRUE(ModelFileInfoText(path.c_str(), text));
    EXPECT_EQ(text, "Cube\n6 faces, 12 edges, 8 vertices");

    // A scene without a name is named by its file.
    cube.SetBaseName("");
    cube.SetFromLibraryEntry(nullptr);
    const std::string unnamed = (mFolder / "my model.orva").string();
    ASSERT_TRUE(WriteSceneFile(unnamed.c_str(), kIoAscii, &cube, 0));
    EXPECT_TRUE(ModelFileInfoText(unnamed.c_str(), text));
    EXPECT_EQ(text.substr(text.find('\n')), "\n6 faces, 12 edges, 8 vertices");

    EXPECT_FALSE(ModelFileInfoText(Write("broken.orva", "nothing like a model").c_str(), text));
    EXPECT_EQ(text, "Can't read this model file");
}

TEST_F(ModelFileInfoTextTest, OtherPathsGetAPrompt)
{
    std::string text;
    EXPECT_FALSE(ModelFileInfoText((mFolder / "missing.off").string().c_str(), text));
    EXPECT_EQ(text, "Select a model to see info about it");
    EXPECT_FALSE(ModelFileInfoText(mFolder.string().c_str(), text));
    EXPECT_EQ(text, "Select a model to see info about it");
    EXPECT_FALSE(ModelFileInfoText(nullptr, text));
    EXPECT_EQ(text, "Select a model to see info about it");

    EXPECT_FALSE(ModelFileInfoText(Write("notes.txt", "8 6 12\n").c_str(), text));
    EXPECT_EQ(text, "Select a .orva or .off file to see info about it");

    // A file whose counts cannot be read is not shown as an empty model.
    EXPECT_FALSE(ModelFileInfoText(Write("broken.off", "OFF\nnot numbers\n").c_str(), text));
    EXPECT_EQ(text, "Can't read the numbers of faces and vertices in this .off file");
    EXPECT_FALSE(ModelFileInfoText(Write("short.off", "OFF\n").c_str(), text));
    EXPECT_EQ(text, "Can't read the numbers of faces and vertices in this .off file");
}
}  // namespace
