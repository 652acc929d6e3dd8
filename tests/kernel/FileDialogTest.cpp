#include "kernel/BrowseFolder.h"
#include "kernel/FileDialog.h"
#include "kernel/FolderList.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace
{
class FileDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvane-dialog-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(mDir); }

    ScopedScriptedServices mScope;
    ScriptedServices& mServices = mScope.services;
    std::string mDir;
};
}  // namespace

TEST(FileDialogFilters, ExtensionOfTheChosenFileType)
{
    const char* filter = "ORVA Files (*.orva)|*.orva|Images (*.png;*.jpg)|*.png;*.jpg|All Files (*.*)|*.*||";
    struct Case
    {
        const char* name;
        int index;
        bool changed;
        const char* result;
    };
    const Case cases[] = {
        {"cube.png", 1, true, "cube.orva"},
        {"cube.orva", 1, false, "cube.orva"},
        {"cube.JPG", 2, false, "cube.JPG"},  // already one of the entry's, case ignored
        {"cube.orva", 2, true, "cube.png"},  // the first of the entry's
        {"cube", 2, true, "cube.png"},
        {"cube.txt", 3, false, "cube.txt"},  // "*.*" takes anything
        {"cube.txt", 4, false, "cube.txt"},  // no such entry
        {"cube.txt", 0, false, "cube.txt"},
        {"", 1, false, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.index));
        std::string name = c.name;
        EXPECT_EQ(ApplyFilterExtension(name, filter, c.index, '|'), c.changed);
        EXPECT_EQ(name, c.result);
    }
}

TEST_F(FileDialogTest, StartsInThePathsFolderElseTheRememberedOne)
{
    BrowseFolder remembered;
    remembered.SetPath(mDir.c_str());
    std::filesystem::create_directories(mDir + "/models");

    std::string path = mDir + "\\models\\cube.orva";
    mServices.PushText(mDir + "/models/chosen.orva");
    ASSERT_TRUE(AskOpenFile("Open", path, nullptr, nullptr, &remembered));
    const FileDialogRequest& asked = mServices.lastFileDialog;
    EXPECT_EQ(asked.folder, mDir + "/models");
    EXPECT_EQ(asked.name, "cube.orva");
    EXPECT_EQ(asked.filter, "ORVA Files (*.orva)|*.orva|All Files (*.*)|*.*||");
    EXPECT_FALSE(asked.save);
    EXPECT_TRUE(asked.mustExist);
    EXPECT_EQ(path, mDir + "/models/chosen.orva");
    EXPECT_STREQ(remembered.GetPath(), (mDir + "/models").c_str());

    // A folder that does not exist: the remembered one; without extension "All Files" only.
    path = "/no/such/folder/readme";
    mServices.PushText("", false);
    EXPECT_FALSE(AskSaveFile("Save", path, nullptr, nullptr, &remembered));
    EXPECT_EQ(mServices.lastFileDialog.folder, mDir + "/models");
    EXPECT_EQ(mServices.lastFileDialog.filter, "All Files (*.*)|*.*||");
    EXPECT_TRUE(mServices.lastFileDialog.save);
    EXPECT_TRUE(mServices.lastFileDialog.confirmOverwrite);
    EXPECT_EQ(path, "/no/such/folder/readme");  // a cancel changes nothing
    EXPECT_STREQ(remembered.GetPath(), (mDir + "/models").c_str());
}

TEST_F(FileDialogTest, FilterIndexGivesAndReceivesTheFileType)
{
    const char* filter = "ORVA Files (*.orva)|*.orva|OFF Files (*.off)|*.off||";
    std::string path = mDir + "/cube.orva";
    int index = 2;
    mServices.PushText(mDir + "/typed");  // a name typed without an extension
    ASSERT_TRUE(DoFileDialog("Export", path, 3, nullptr, filter, nullptr, &index));
    EXPECT_EQ(mServices.lastFileDialog.name, "cube.off");
    EXPECT_EQ(mServices.lastFileDialog.filterIndex, 2);
    EXPECT_FALSE(mServices.lastFileDialog.confirmOverwrite);  // kind 3
    EXPECT_EQ(path, mDir + "/typed.off");
    EXPECT_EQ(index, 2);
}

TEST_F(FileDialogTest, LocatingAFileNamedByAModel)
{
    std::filesystem::create_directories(mDir + "/images");
    std::ofstream(mDir + "/images/wood.png") << "png";
    std::ofstream(mDir + "/images/stone.png") << "png";
    FolderList folders;
    std::string found;

    // The file where it was said to be.
    ASSERT_TRUE(folders.LocateFile(found, (mDir + "/images/wood.png").c_str(), mDir.c_str()));
    EXPECT_EQ(found, mDir + "/images/wood.png");
    EXPECT_EQ(mServices.CountCalls("FileDialog"), 0);

    // Written on another system: the user points to it, and its folder is searched from then on.
    mServices.PushText(mDir + "/images/wood.png");
    ASSERT_TRUE(folders.LocateFile(found, "D:\\Pictures\\wood.png", mDir.c_str()));
    EXPECT_EQ(found, mDir + "/images/wood.png");
    EXPECT_EQ(mServices.lastFileDialog.title, "Locate file wood.png");
    EXPECT_EQ(mServices.lastFileDialog.folder, mDir);  // the fallback folder
    EXPECT_EQ(mServices.lastFileDialog.name, "wood.png");
    ASSERT_EQ(folders.Folders().size(), 1u);
    EXPECT_EQ(folders.Folders()[0], mDir + "/images/");

    ASSERT_TRUE(folders.LocateFile(found, "D:\\Pictures\\stone.png", mDir.c_str()));
    EXPECT_EQ(found, mDir + "/images/stone.png");
    EXPECT_EQ(mServices.CountCalls("FileDialog"), 1);

    mServices.PushText("", false);
    EXPECT_FALSE(folders.LocateFile(found, "D:\\Pictures\\missing.png", mDir.c_str()));
}
