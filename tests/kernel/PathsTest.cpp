#include "kernel/BrowseFolder.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "kernel/SpecialFolders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A scratch folder, the working directory and the XDG environment, restored afterwards.
class PathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvane-paths-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
        ASSERT_TRUE(GetCurrentDir(mOldCwd));
        for (const char* name : kVariables)
        {
            const char* value = std::getenv(name);
            mOldEnv.emplace_back(value ? value : "");
            mHadEnv.push_back(value != nullptr);
        }
    }
    void TearDown() override
    {
        ChangeDir(mOldCwd.c_str());
        for (size_t i = 0; i < std::size(kVariables); ++i)
        {
            if (mHadEnv[i])
                setenv(kVariables[i], mOldEnv[i].c_str(), 1);
            else
                unsetenv(kVariables[i]);
        }
        std::filesystem::remove_all(mDir);
    }

    void Touch(const std::string& relative, const std::string& content = "x")
    {
        std::ofstream(mDir + "/" + relative) << content;
    }

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    std::string mDir;
    std::string mOldCwd;
    std::vector<std::string> mOldEnv;
    std::vector<bool> mHadEnv;
};
}  // namespace

TEST(Paths, NamePartsAndExtensions)
{
    EXPECT_STREQ(GetFileNamePart("/a/b/model.orva"), "model.orva");
    EXPECT_STREQ(GetFileNamePart("C:\\Models\\cube.orva"), "cube.orva");
    EXPECT_STREQ(GetFileNamePart("C:cube.orva"), "cube.orva");
    EXPECT_STREQ(GetFileNamePart("plain"), "plain");
    // A colon inside a POSIX name is an ordinary character.
    EXPECT_STREQ(GetFileNamePart("/tmp/a:b.txt"), "a:b.txt");
    EXPECT_STREQ(GetExtension("/a/b/model.orva"), ".orva");
    EXPECT_STREQ(GetExtension("/a/b.d/model"), "");  // the folder's point is not the file's
    EXPECT_STREQ(GetExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(GetFolderPart("/a/b/model.orva"), "/a/b/");
    EXPECT_EQ(GetFolderPart("model.orva"), "");
    EXPECT_EQ(WithExtension("/a/b.d/model", "png"), "/a/b.d/model.png");
    EXPECT_EQ(WithExtension("cube.orva", "off"), "cube.off");
    std::string path = "cube.orva";
    SetExtension(path, "stl");
    EXPECT_EQ(path, "cube.stl");
}

TEST(Paths, SeparatorsFromOtherSystemsBecomeSlashes)
{
    struct Case
    {
        const char* in;
        const char* out;
        bool changed;
    };
    const Case cases[] = {
        {"a//b", "a/b", true},
        {"a\\b\\c", "a/b/c", true},
        {"\\\\server\\share", "//server/share", true},  // two at the start stay
        {"//server/share", "//server/share", false},
        {"/a/b/", "/a/b/", false},
        {"a\\/\\b", "a/b", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.in);
        std::string s = c.in;
        EXPECT_EQ(NormaliseSlashes(s), c.changed);
        EXPECT_EQ(s, c.out);
        std::vector<char> buffer(s.size() + 8);
        std::snprintf(buffer.data(), buffer.size(), "%s", c.in);
        EXPECT_EQ(NormaliseSlashes(buffer.data()), c.changed);
        EXPECT_STREQ(buffer.data(), c.out);
    }
    EXPECT_TRUE(IsSlash('\\'));
    EXPECT_TRUE(IsSlash('/'));
    EXPECT_FALSE(IsSlash(':'));
}

TEST(Paths, FolderMembershipAndRelativePaths)
{
    EXPECT_FALSE(IsPathInFolder("/models-old/x", "/models"));
    EXPECT_FALSE(IsPathInFolder("/ModelsOld/x", "/Models"));
    EXPECT_TRUE(IsPathInFolder("/models/x", "/models"));
    EXPECT_TRUE(IsPathInFolder("/models", "/models"));
    EXPECT_TRUE(IsPathInFolder("/models/x", "/models/"));
    EXPECT_TRUE(IsPathInFolder("/anything", "/"));
    EXPECT_FALSE(IsPathInFolder("/Models/x", "/models"));  // names keep their case here
    EXPECT_FALSE(IsPathInFolder("/models/x", ""));

    EXPECT_STREQ(MakeRelativePath("/m/tour/img/a.png", "/m/tour/t.orva"), "img/a.png");
    EXPECT_STREQ(MakeRelativePath("/other/a.png", "/m/tour/t.orva"), "/other/a.png");
    EXPECT_STREQ(MakeRelativePath("/m/tourist/a.png", "/m/tour/t.orva"), "/m/tourist/a.png");
}

TEST_F(PathsTest, FullPathsResolveByName)
{
    ASSERT_TRUE(ChangeDir(mDir.c_str()));
    std::string full;
    EXPECT_FALSE(GetFullPath(full, "  "));
    EXPECT_EQ(full, "");
    ASSERT_TRUE(GetFullPath(full, "sub/../a\\b/./c.png"));
    std::string cwd;
    ASSERT_TRUE(GetCurrentDir(cwd));
    EXPECT_EQ(full, cwd + "/a/b/c.png");
    ASSERT_TRUE(GetFullPath(full, "/x//y/../z"));
    EXPECT_EQ(full, "/x/z");
    ASSERT_TRUE(GetFullPath(full, "/../.."));
    EXPECT_EQ(full, "/");
}

TEST_F(PathsTest, CheckingAndMakingFolders)
{
    Touch("file.txt");
    const std::string file = mDir + "/file.txt";
    EXPECT_FALSE(CheckPath("", false, false));
    EXPECT_TRUE(PathExists(file.c_str()));
    EXPECT_FALSE(FolderExists(file.c_str()));
    EXPECT_TRUE(FolderExists(mDir.c_str()));
    EXPECT_TRUE(FolderExists((mDir + "///").c_str()));  // trailing separators are ignored
    EXPECT_TRUE(CheckPath(mDir.c_str(), true, true));
    EXPECT_TRUE(FolderExists("/"));
    EXPECT_FALSE(PathExists((mDir + "/missing").c_str()));

    const std::string deep = mDir + "/one/two\\three";
    EXPECT_FALSE(MakeFolder((mDir + "/x/y").c_str()));  // one level only
    EXPECT_TRUE(MakeFolders(deep.c_str()));
    EXPECT_TRUE(FolderExists((mDir + "/one/two/three").c_str()));
    EXPECT_TRUE(MakeFolders(deep.c_str()));  // already there
    EXPECT_FALSE(MakeFolders((file + "/below").c_str()));  // a file stands in the way

    if (geteuid() != 0)
    {
        const std::string locked = mDir + "/locked";
        ASSERT_TRUE(MakeFolder(locked.c_str()));
        chmod(locked.c_str(), 0555);
        EXPECT_TRUE(FolderExists(locked.c_str()));
        EXPECT_FALSE(CheckPath(locked.c_str(), true, true));
        chmod(locked.c_str(), 0755);
    }

    EXPECT_EQ(GetFileModifiedTime((mDir + "/missing").c_str()), -1);
    struct stat info;
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(GetFileModifiedTime(file.c_str()), int64_t(info.st_mtime));
}

TEST_F(PathsTest, WorkingDirectoryFollowsAFile)
{
    MakeFolders((mDir + "/models").c_str());
    ASSERT_TRUE(ChangeDirToFileFolder((mDir + "/models/cube.orva").c_str()));
    std::string cwd;
    ASSERT_TRUE(GetCurrentDir(cwd));
    EXPECT_TRUE(IsPathInFolder(cwd.c_str(), mDir.c_str()));
    EXPECT_EQ(std::string(GetFileNamePart(cwd.c_str())), "models");
    EXPECT_TRUE(ChangeDirToFileFolder("cube.orva"));  // no folder part: nothing to do
    ASSERT_TRUE(GetCurrentDir(cwd));
    EXPECT_EQ(std::string(GetFileNamePart(cwd.c_str())), "models");
    // Folder parts longer than any fixed buffer.
    const std::string longName(200, 'f');
    const std::string longFolder = mDir + "/" + longName + "/" + longName;
    ASSERT_TRUE(MakeFolders(longFolder.c_str()));
    EXPECT_TRUE(ChangeDirToFileFolder((longFolder + "/file").c_str()));
    ASSERT_TRUE(GetCurrentDir(cwd));
    EXPECT_EQ(std::string(GetFileNamePart(cwd.c_str())), longName);
    EXPECT_FALSE(ChangeDirToFileFolder((mDir + "/missing/file").c_str()));
}

TEST_F(PathsTest, CopyingAndDeletingFiles)
{
    ScopedScriptedServices scope;
    const std::string content(100000, 'q');
    Touch("source.bin", content + "tail");
    const std::string source = mDir + "/source.bin";
    const std::string copy = mDir + "/copy.bin";
    ASSERT_TRUE(FileCopy(copy.c_str(), source.c_str(), true));
    std::ifstream in(copy, std::ios::binary);
    const std::string copied((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(copied, content + "tail");
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);

    // Onto itself: nothing is lost.
    EXPECT_TRUE(FileCopy(source.c_str(), source.c_str(), true));
    EXPECT_EQ(std::filesystem::file_size(source), content.size() + 4);

    const std::string missingFolder = mDir + "/no-such-folder/copy.bin";
    EXPECT_FALSE(FileCopy(missingFolder.c_str(), source.c_str(), true));
    ASSERT_NE(scope.services.LastCall("MessageBox"), nullptr);
    EXPECT_EQ(scope.services.LastCall()->caption, "Error");
    EXPECT_EQ(scope.services.LastCall()->text, "FileCopy() failed: Couldn't open file to copy to:\n" + missingFolder);

    const std::string missing = mDir + "/missing.bin";
    EXPECT_FALSE(FileCopy(copy.c_str(), missing.c_str(), true));
    EXPECT_EQ(scope.services.LastCall()->text, "FileCopy() failed: Couldn't open file to copy from:\n" + missing);
    const int boxes = scope.services.CountCalls("MessageBox");
    EXPECT_FALSE(FileCopy(copy.c_str(), missing.c_str(), false));
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), boxes);

    EXPECT_TRUE(FileDelete(copy.c_str()));
    EXPECT_FALSE(PathExists(copy.c_str()));
    EXPECT_FALSE(FileDelete(copy.c_str()));
}

TEST_F(PathsTest, ListingSortsNaturallyAndFiltersByKind)
{
    for (const char* name : {"file10.orva", "file2.orva", "File1.ORVA", "notes.txt", ".hidden.orva", "noext"})
        Touch(name);
    MakeFolder((mDir + "/sub.orva").c_str());
    MakeFolder((mDir + "/Tour").c_str());
    ASSERT_TRUE(ChangeDir(mDir.c_str()));

    using Names = std::vector<std::string>;
    EXPECT_EQ(ListFiles("*.orva", 1), (Names{"File1.ORVA", "file2.orva", "file10.orva"}));
    EXPECT_EQ(ListFiles("*.orva", 0), (Names{"sub.orva"}));
    EXPECT_EQ(ListFiles("*.orva", 2), (Names{"File1.ORVA", "file2.orva", "file10.orva", "sub.orva"}));
    EXPECT_EQ(ListFiles("*.txt;*.ORVA", 1), (Names{"File1.ORVA", "file2.orva", "file10.orva", "notes.txt"}));
    EXPECT_EQ(ListFiles("*", 0), (Names{"sub.orva", "Tour"}));
    EXPECT_EQ(ListFiles("*.*", 1).size(), 5u);  // "noext" too
    EXPECT_TRUE(ListFiles("*.none", 2).empty());
    EXPECT_EQ(ListFiles((mDir + "/*.txt").c_str(), 1), (Names{"notes.txt"}));
}

TEST_F(PathsTest, TemporaryFilesLiveInAPrivateFolder)
{
    std::string folder;
    ASSERT_TRUE(GetTempFolder(folder));
    struct stat info;
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    std::string again;
    ASSERT_TRUE(GetTempFolder(again));
    EXPECT_EQ(again, folder);

    std::string path;
    ASSERT_TRUE(GetTempFilePath(path, "version.html"));
    EXPECT_EQ(path, folder + "/version.html");
    std::ofstream(path) << "reply";
    RemoveTempFolder();
    EXPECT_FALSE(PathExists(folder.c_str()));
    ASSERT_TRUE(GetTempFolder(again));
    EXPECT_NE(again, folder);  // a new, unpredictable name
    RemoveTempFolder();
}

TEST_F(PathsTest, ProgramFilesAreFoundBesideOrAboveTheProgram)
{
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    ASSERT_GT(n, 0);
    self[n] = 0;
    const std::string exe = self;
    const std::string name = GetFileNamePart(exe.c_str());
    const std::string folder = GetFolderPart(exe.c_str());
    std::string folderName = folder.substr(0, folder.size() - 1);
    folderName = GetFileNamePart(folderName.c_str());

    std::string found;
    ASSERT_TRUE(FindProgramFile(found, name.c_str(), false));
    EXPECT_EQ(found, exe);
    EXPECT_FALSE(FindProgramFile(found, name.c_str(), true));  // not a folder
    ASSERT_TRUE(FindProgramFile(found, ("../" + folderName + "/" + name).c_str(), false));
    EXPECT_EQ(found, exe);
    // Not beside the program: one folder higher.
    ASSERT_TRUE(FindProgramFile(found, folderName.c_str(), true));
    EXPECT_EQ(found, folder.substr(0, folder.size() - 1 - folderName.size()) + folderName);
    EXPECT_FALSE(FindProgramFile(found, "no-such-file-anywhere", false));
}

TEST_F(PathsTest, SpecialFoldersFollowTheXdgSettings)
{
    const std::string home = mDir + "/home";
    MakeFolders(home.c_str());
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");

    // No user-dirs file: ~/Documents.
    std::string path;
    EXPECT_FALSE(GetSpecialFolder(path, kSpecialFolderDocuments, "Orvane", false));
    EXPECT_EQ(path, home + "/Documents/Orvane");
    EXPECT_TRUE(GetSpecialFolder(path, kSpecialFolderDocuments, "Orvane", true));
    EXPECT_TRUE(FolderExists((home + "/Documents/Orvane").c_str()));

    // The documents folder the user chose.
    MakeFolders((home + "/.config").c_str());
    std::ofstream(home + "/.config/user-dirs.dirs")
        << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
    const BrowseFolder tours(kSpecialFolderDocuments, "Orvane", "Tour", true);
    ASSERT_NE(tours.GetPath(), nullptr);
    EXPECT_EQ(std::string(tours.GetPath()), home + "/Papers/Orvane/Tour");
    EXPECT_TRUE(FolderExists(tours.GetPath()));

    setenv("XDG_DATA_HOME", (mDir + "/data").c_str(), 1);
    EXPECT_TRUE(GetSpecialFolder(path, kSpecialFolderAppData, "Orvane\\FadeSetups", true));
    EXPECT_EQ(path, mDir + "/data/Orvane/FadeSetups");
    EXPECT_FALSE(GetSpecialFolder(path, 999, nullptr, true));

    bool existed = true;
    std::string file;
    // Without its folder, and not asked to make it: no file.
    EXPECT_FALSE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/Sets", "a.fadeSetup", kSpecialFileNoTest,
                                      &existed));
    EXPECT_TRUE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/Sets", "a.fadeSetup",
                                     kSpecialFileNoTest | kSpecialFileCreateFolder, nullptr));
    EXPECT_FALSE(PathExists(file.c_str()));
    EXPECT_FALSE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/Sets", "a.fadeSetup", 0, &existed));
    EXPECT_FALSE(existed);
    EXPECT_TRUE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/Sets", "a.fadeSetup", kSpecialFileCreate,
                                     &existed));
    EXPECT_FALSE(existed);
    EXPECT_EQ(file, mDir + "/data/Orvane/Sets/a.fadeSetup");
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
    EXPECT_TRUE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/Sets", "a.fadeSetup", 0, &existed));
    EXPECT_TRUE(existed);
    EXPECT_FALSE(GetSpecialFolderFile(file, kSpecialFolderAppData, "Orvane/New", "b", kSpecialFileCreateFolder,
                                      &existed));
    EXPECT_TRUE(FolderExists((mDir + "/data/Orvane/New").c_str()));
}

TEST_F(PathsTest, RememberedFolders)
{
    BrowseFolder folder;
    EXPECT_EQ(folder.GetPath(), nullptr);
    folder.SetPath("C:\\Models\\\\Tour");
    EXPECT_STREQ(folder.GetPath(), "C:/Models/Tour");
    folder.SetPath("   ");
    EXPECT_EQ(folder.GetPath(), nullptr);
    ASSERT_TRUE(ChangeDir(mDir.c_str()));
    folder.SetToCurrentDir();
    std::string cwd;
    GetCurrentDir(cwd);
    EXPECT_STREQ(folder.GetPath(), cwd.c_str());

    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    const BrowseFolder none(kSpecialFolderDocuments, "Orvane", nullptr, false);
    EXPECT_EQ(none.GetPath(), nullptr);
}
