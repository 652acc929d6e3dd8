// Opening model files as the document's model: one "File-Open" undo step with the transition of a
// model loaded from file, the path and the recent files, and a failed or cancelled reading that
// leaves everything as it was.

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/RecentFileList.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ColorRGB.h"
#include "kernel/Paths.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TokenFile.h"
#include "kernel/TransitionSettings.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/SceneFile.h"
#include "model/CreatePoly.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "render/OpenGLView.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace
{
int64_t gClockMs = 0;
// Each reading of the clock is two seconds later: the progress window opens at once.
int64_t HurryingClock()
{
    return gClockMs += 2000;
}

class OpenModelFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        mRecent = GetRecentFileList();
        for (int i = 0; i < kTransitionOccasionCount; ++i)
            mOccasions[i] = GetTransitionOccasions()[i];
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        std::string temp;
        ASSERT_TRUE(GetTempFolder(temp));
        mFolder = temp + "/opening";
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        mDoc = std::make_unique<CPolyDoc>();

        // The cube as a file, written aside.
        PolyTemplate templ;
        Poly cube;
        ASSERT_TRUE(cube.CreateFromLibraryEntry(&templ, FindLibraryEntry("4.4.4", nullptr, false), false));
        cube.GetNthFace(2)->mColor = ColorRGB{1.0f, 0.0f, 1.0f};
        mCubePath = mFolder + "/cube.orva";
        ASSERT_TRUE(WriteSceneFile(mCubePath.c_str(), kIoBinary, &cube, 0));
    }
    void TearDown() override
    {
        if (!mDoc)
            return;
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        mDoc.reset();
        GetDocumentSettings() = mSaved;
        GetRecentFileList() = mRecent;
        for (int i = 0; i < kTransitionOccasionCount; ++i)
            GetTransitionOccasions()[i] = mOccasions[i];
        std::filesystem::remove_all(mFolder);
    }

    const Poly& Current() const { return mDoc->GetCurrentRecord()->mPoly; }

    std::string Write(const char* name, const std::string& bytes) const
    {
        const std::string path = mFolder + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        return path;
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int Messages() const { return mServices.services.CountCalls("MessageBox"); }

    ScopedScriptedServices mServices;
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    RecentFileList mRecent{12};
    TransitionSettings mOccasions[kTransitionOccasionCount];
    std::string mFolder;
    std::string mCubePath;
    std::unique_ptr<CPolyDoc> mDoc;
};
}  // namespace

TEST_F(OpenModelFileTest, AFileIsOneUndoStepThatUndoAndRedoPlayBack)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    ClearUndoList();

    ASSERT_TRUE(mDoc->OnOpenDocument(mCubePath));
    EXPECT_EQ(Messages(), 0);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(ColorToRGB(Current().GetNthFace(2)->mColor), ColorToRGB(ColorRGB{1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(mDoc->GetPathName(), mCubePath);
    EXPECT_EQ(GetRecentFileList().Get(0), mCubePath);
    EXPECT_EQ(mDoc->GetFileForm(), kIoBinary);
    EXPECT_NE(mDoc->GetTitle().find("\"cube.orva\""), std::string::npos) << mDoc->GetTitle();
    EXPECT_EQ(UndoMenuText(true), "&Undo File-Open\tCtrl+Z");
    EXPECT_EQ(GetUndoStepCount(), 1);

    UndoList::Undo();
    EXPECT_EQ(Current().mFaces.mCount, 20);
    EXPECT_TRUE(mDoc->GetPathName().empty());
    EXPECT_EQ(RedoMenuText(true), "&Redo File-Open\tCtrl+R");
    UndoList::Redo();
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(mDoc->GetPathName(), mCubePath);
}

TEST_F(OpenModelFileTest, TheModelArrivesWithTheTransitionOfAFile)
{
    GetDocumentSettings().enableTransitions = true;
    // A library model and a file each have a transition of their own.
    GetTransitionOccasions()[3].type = TransitionSettings::kTypeSideways;
    GetTransitionOccasions()[3].duration = 1.5;
    GetTransitionOccasions()[4].type = TransitionSettings::kTypeOrbit;
    GetTransitionOccasions()[4].duration = 0.75;
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    mDoc->FinishAllTransitions();

    ASSERT_TRUE(mDoc->OpenModelFile(mCubePath, 0));
    const Poly& arriving = Current();
    EXPECT_EQ(arriving.mFaces.mCount, 6);
    EXPECT_TRUE(arriving.InTransition());
    EXPECT_TRUE(arriving.mIncoming);
    EXPECT_EQ(arriving.mTransition.type, TransitionSettings::kTypeOrbit);
    EXPECT_DOUBLE_EQ(arriving.GetTransitionLength(), 0.75);
    ASSERT_NE(mDoc->GetFirstRecord(), mDoc->GetCurrentRecord());
    EXPECT_EQ(mDoc->GetFirstRecord()->mPoly.mFaces.mCount, 20);
}

TEST_F(OpenModelFileTest, AFileThatCannotBeReadChangesNothing)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3", nullptr, false)));
    Poly& model = mDoc->GetCurrentRecord()->mPoly;
    model.GetNthFace(3)->mColor = ColorRGB{0.0f, 0.5f, 1.0f};
    const std::string kept = mFolder + "/kept.orva";
    ASSERT_TRUE(mDoc->WriteModelFile(kept, kIoAscii));
    const int steps = GetUndoStepCount();
    const std::string undoText = UndoMenuText(true);
    const RecentFileList recent = GetRecentFileList();

    const std::string whole = Bytes(mCubePath);
    struct Case
    {
        const char* name;
        std::string path;
        int messages;
    };
    const Case kCases[] = {
        {"wrong magic", Write("magic.orva", "Orvant" + whole.substr(6)), 1},
        {"cut in its body", Write("cut.orva", whole.substr(0, whole.size() - 20)), 1},
        {"random bytes", Write("random.orva", std::string("\x13\x99 scene?\n\xff\x01", 12)), 1},
        {"missing", mFolder + "/gone.orva", 1},
        {"a scene without a model", Write("empty.orva", "Orvane ASCII 8.10\nScene \"None\"\n"), 1},
    };
    for (bool transitions : {false, true})
        for (const Case& c : kCases)
        {
            SCOPED_TRACE(std::string(c.name) + (transitions ? " with transitions" : ""));
            GetDocumentSettings().enableTransitions = transitions;
            mServices.services.Clear();
            EXPECT_FALSE(mDoc->OpenModelFile(c.path, 0));
            EXPECT_EQ(Messages(), c.messages);
            const Poly& now = Current();
            EXPECT_EQ(&now, &model);
            EXPECT_EQ(now.mFaces.mCount, 8);
            EXPECT_EQ(ColorToRGB(now.GetNthFace(3)->mColor), ColorToRGB(ColorRGB{0.0f, 0.5f, 1.0f}));
            EXPECT_EQ(mDoc->GetFirstRecord(), mDoc->GetLastRecord());
            EXPECT_EQ(GetUndoStepCount(), steps);
            EXPECT_EQ(UndoMenuText(true), undoText);
            EXPECT_EQ(mDoc->GetPathName(), kept);
            EXPECT_EQ(mDoc->GetFileForm(), kIoAscii);
            ASSERT_EQ(GetRecentFileList().Count(), recent.Count());
            EXPECT_EQ(GetRecentFileList().Get(0), recent.Get(0));
        }

    // A cancelled reading is a failure without a message.
    GetDocumentSettings().enableTransitions = false;
    mServices.services.Clear();
    const ProgressClock previous = SetProgressClock(HurryingClock);
    mServices.services.cancelAtPump = 0;
    EXPECT_FALSE(mDoc->OpenModelFile(mCubePath, 0));
    SetProgressClock(previous);
    EXPECT_EQ(Messages(), 0);
    EXPECT_EQ(Current().mFaces.mCount, 8);
    EXPECT_EQ(GetUndoStepCount(), steps);
    EXPECT_EQ(mDoc->GetPathName(), kept);
}

TEST_F(OpenModelFileTest, ARecentFileThatNoLongerOpensLeavesTheList)
{
    // A name with ';' is opened as it is.
    const std::string other = mFolder + "/a;b.orva";
    std::filesystem::copy_file(mCubePath, other);
    const std::string gone = mFolder + "/gone.orva";
    std::filesystem::copy_file(mCubePath, gone);
    GetRecentFileList() = RecentFileList(12);
    GetRecentFileList().Add(other);
    GetRecentFileList().Add(gone);
    GetRecentFileList().Add(mCubePath);
    std::filesystem::remove(gone);

    EXPECT_FALSE(mDoc->OpenRecentFile(1));
    EXPECT_EQ(Messages(), 1);
    ASSERT_EQ(GetRecentFileList().Count(), 2);
    EXPECT_EQ(GetRecentFileList().Get(0), mCubePath);
    EXPECT_EQ(GetRecentFileList().Get(1), other);

    EXPECT_TRUE(mDoc->OpenRecentFile(1));
    EXPECT_EQ(mDoc->GetPathName(), other);
    EXPECT_EQ(GetRecentFileList().Get(0), other);
    EXPECT_EQ(GetRecentFileList().Count(), 2);
    EXPECT_FALSE(mDoc->OpenRecentFile(5));
    EXPECT_EQ(GetRecentFileList().Count(), 2);
}

TEST_F(OpenModelFileTest, AnEntryHeldInAFileOpensTheFile)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    GetRecentFileList() = RecentFileList(12);
    std::unique_ptr<LibraryEntry> entry(CreateFileEntry(mCubePath.c_str()));
    // Stepping onto it sets the path only; the chooser's choice also joins the recent files.
    ASSERT_TRUE(mDoc->OpenLibraryModel(entry.get(), false, false));
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(mDoc->GetPathName(), mCubePath);
    EXPECT_EQ(GetRecentFileList().Count(), 0);
    EXPECT_EQ(UndoMenuText(false), "&Undo File-Open");
    ASSERT_TRUE(mDoc->OpenLibraryModel(entry.get(), true, false));
    EXPECT_EQ(GetRecentFileList().Get(0), mCubePath);
    entry->FreeStrings();
}

TEST_F(OpenModelFileTest, TheDefaultSceneOpensWithoutBecomingTheDocumentsFile)
{
    GetRecentFileList() = RecentFileList(12);
    ASSERT_TRUE(mDoc->OpenModelFile(mCubePath, CPolyDoc::kOpenWithoutPath));
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_TRUE(mDoc->GetPathName().empty());
    EXPECT_EQ(GetRecentFileList().Count(), 0);
    EXPECT_EQ(mDoc->GetFileForm(), -1);
}

namespace
{
// A folder of model files and one pane whose message line the stepping writes to.
class FolderSteppingTest : public OpenModelFileTest
{
protected:
    void SetUp() override
    {
        OpenModelFileTest::SetUp();
        if (IsSkipped())
            return;
        mFrame = new wxFrame(nullptr, wxID_ANY, "folder stepping test");
        mPane = new OpenGLView(mFrame);
        mStepFolder = mFolder + "/step";
        std::filesystem::create_directories(mStepFolder);
    }
    void TearDown() override
    {
        if (mFrame)
        {
            // Gone before the next test, whose pane must be the first.
            mFrame->Destroy();
            PumpEventsUntil([] { return NewView::GetFirstView() == nullptr; }, 50);
        }
        OpenModelFileTest::TearDown();
    }

    // The library model written as a file of the folder.
    std::string Save(const char* file, const char* model) const
    {
        PolyTemplate templ;
        Poly poly;
        EXPECT_TRUE(poly.CreateFromLibraryEntry(&templ, FindLibraryEntry(model, nullptr, false), false));
        const std::string path = mStepFolder + "/" + file;
        EXPECT_TRUE(WriteSceneFile(path.c_str(), kIoBinary, &poly, 0));
        return path;
    }
    std::string Damaged(const char* file) const
    {
        const std::string path = mStepFolder + "/" + file;
        std::ofstream(path, std::ios::binary) << "Orvane BINARY 8.10 this is not a scene";
        return path;
    }
    std::string FileShown() const { return GetFileNamePart(mDoc->GetFilePath().c_str()); }
    std::string Message() const { return mPane->GetMessage(); }
    void ClearMessage() { NewView::SetMessage(mPane, "%s", ""); }

    wxFrame* mFrame = nullptr;
    OpenGLView* mPane = nullptr;
    std::string mStepFolder;
};
}  // namespace

TEST_F(FolderSteppingTest, NextAndPreviousGoThroughTheFolderInNaturalOrderAndWrap)
{
    Save("a.orva", "Cube");
    Save("b.orva", "Octahedron");
    const std::string c = Save("c.orva", "Tetrahedron");
    ASSERT_TRUE(mDoc->OpenModelFile(c, 0));
    const int recent = GetRecentFileList().Count();

    ClearMessage();
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "a.orva");
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(Message(), "Wrapped from last to first file in folder");

    ClearMessage();
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "b.orva");
    EXPECT_EQ(Message(), "");

    ClearMessage();
    mDoc->StepModel(-1);
    mDoc->StepModel(-1);
    EXPECT_EQ(FileShown(), "c.orva");
    EXPECT_EQ(Current().mFaces.mCount, 4);
    EXPECT_EQ(Message(), "Wrapped from first to last file in folder");
    EXPECT_EQ(GetRecentFileList().Count(), recent) << "stepping adds nothing to the recent files";
    EXPECT_EQ(Messages(), 0);
}

TEST_F(FolderSteppingTest, NumbersInNamesSortByValue)
{
    const std::string a2 = Save("a2.orva", "Cube");
    Save("a10.orva", "Octahedron");
    ASSERT_TRUE(mDoc->OpenModelFile(a2, 0));
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "a10.orva");
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "a2.orva");
}

TEST_F(FolderSteppingTest, AFolderWithNoOtherFileSaysSo)
{
    const std::string only = Save("only.orva", "Cube");
    std::ofstream(mStepFolder + "/notes.txt") << "not a model file";
    ASSERT_TRUE(mDoc->OpenModelFile(only, 0));
    ClearUndoList();
    mDoc->StepModel(1);
    EXPECT_EQ(Message(), "There are no other .ORVA files in this folder");
    EXPECT_EQ(FileShown(), "only.orva");
    EXPECT_EQ(GetUndoStepCount(), 0);
}

TEST_F(FolderSteppingTest, DamagedFilesArePassedOverAndEachIsTriedOnce)
{
    const std::string a = Save("a.orva", "Cube");
    Damaged("b.orva");
    Save("c.orva", "Octahedron");
    ASSERT_TRUE(mDoc->OpenModelFile(a, 0));
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "c.orva") << "b.orva cannot be read";
    EXPECT_EQ(Messages(), 1);

    // Only damaged files besides the current one: the model stays, each was tried once.
    std::filesystem::remove(mStepFolder + "/a.orva");
    Damaged("d.orva");
    mServices.services.Clear();
    ClearUndoList();
    mDoc->StepModel(1);
    EXPECT_EQ(FileShown(), "c.orva");
    EXPECT_EQ(Current().mFaces.mCount, 8);
    EXPECT_EQ(Messages(), 2) << "b.orva and d.orva, once each";
    EXPECT_EQ(GetUndoStepCount(), 0);
}
