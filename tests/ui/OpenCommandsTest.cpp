// File > Open and the recent files through the main window, with the program's panes: the model
// arrives from the file with the file's panes, cameras and motions, one undo step away from the
// model before.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/RecentFileList.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/MouseThrow.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TokenFile.h"
#include "kernel/TransitionSettings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryLookup.h"
#include "library/SceneFile.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
class OpenCommandsTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        mRecent = GetRecentFileList();
        for (int i = 0; i < kTransitionOccasionCount; ++i)
            mOccasions[i] = GetTransitionOccasions()[i];
        GetDocumentSettings().enableTransitions = false;
        KeepLayoutWhenOpening() = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        std::string temp;
        ASSERT_TRUE(GetTempFolder(temp));
        mFolder = temp + "/open-commands";
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
        ClearUndoList();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            StopAllMouseThrows();
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
            GetDocumentSettings() = mSaved;
            GetRecentFileList() = mRecent;
            for (int i = 0; i < kTransitionOccasionCount; ++i)
                GetTransitionOccasions()[i] = mOccasions[i];
            KeepLayoutWhenOpening() = false;
            std::filesystem::remove_all(mFolder);
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    // The cube as a file, written from a model of its own.
    std::string WriteCube(const char* name)
    {
        PolyTemplate templ;
        Poly cube;
        EXPECT_TRUE(cube.CreateFromLibraryEntry(&templ, FindLibraryEntry("4.4.4", nullptr, false), false));
        const std::string path = mFolder + "/" + name;
        EXPECT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &cube, 0));
        return path;
    }

    std::string Label(int id)
    {
        wxMenuBar* bar = mFrame->GetMenuBar();
        bar->UpdateMenus();
        const wxMenuItem* item = bar->FindItem(id);
        return item ? item->GetItemLabel().utf8_string() : std::string();
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    RecentFileList mRecent{12};
    TransitionSettings mOccasions[kTransitionOccasionCount];
    std::string mFolder;
};

struct Camera
{
    Vec3D eye, right, up, backward;
    float fov;
};

Camera CameraOf(const ModelPane& pane)
{
    return {pane.GetEye(), pane.GetRight(), pane.GetUp(), pane.GetBackward(), pane.GetVerticalFOV()};
}

bool SameBits(const Vec3D& a, const Vec3D& b)
{
    return std::memcmp(&a.x, &b.x, sizeof(double)) == 0 && std::memcmp(&a.y, &b.y, sizeof(double)) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof(double)) == 0;
}
}  // namespace

TEST_F(OpenCommandsTest, FileOpenBringsTheFileAsOneUndoStep)
{
    GetDocumentSettings().enableTransitions = true;
    GetTransitionOccasions()[4].type = TransitionSettings::kTypeOrbit;
    GetTransitionOccasions()[4].duration = 0.5;
    mDocument->FinishAllTransitions();
    const std::string path = WriteCube("cube.orva");
    EXPECT_EQ(Label(kCmdFileOpen), "&Open...\tCtrl+O");

    mServices.services.PushText(path);
    RunCommand(kCmdFileOpen);
    ASSERT_EQ(mServices.services.CountCalls("FileDialog"), 1);
    EXPECT_FALSE(mServices.services.lastFileDialog.save);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_TRUE(Current().mIncoming);
    EXPECT_EQ(Current().mTransition.type, TransitionSettings::kTypeOrbit);
    EXPECT_NE(std::string(mFrame->GetTitle().utf8_str()).find("\"cube.orva\""), std::string::npos)
        << mFrame->GetTitle();
    EXPECT_EQ(Label(kCmdUndo), "&Undo File-Open\tCtrl+Z");
    EXPECT_EQ(GetRecentFileList().Get(0), path);
    // The File menu lists it above Exit.
    EXPECT_EQ(Label(kCmdFileMruFirst), "&1 " + path);
    mDocument->FinishAllTransitions();

    RunCommand(kCmdUndo);
    mDocument->FinishAllTransitions();
    EXPECT_EQ(Current().mFaces.mCount, 20);
    RunCommand(kCmdRedo);
    mDocument->FinishAllTransitions();
    EXPECT_EQ(Current().mFaces.mCount, 6);
}

TEST_F(OpenCommandsTest, ARecentFileThatWasDeletedLeavesTheMenu)
{
    const std::string kept = WriteCube("kept.orva");
    const std::string gone = WriteCube("gone & lost.orva");
    GetRecentFileList() = RecentFileList(12);
    GetRecentFileList().Add(kept);
    GetRecentFileList().Add(gone);
    EXPECT_EQ(Label(kCmdFileMruFirst), "&1 " + std::string(mFolder) + "/gone && lost.orva");
    EXPECT_EQ(Label(kCmdFileMruFirst + 1), "&2 " + kept);
    std::filesystem::remove(gone);

    RunCommand(kCmdFileMruFirst);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(Current().mFaces.mCount, 20);
    ASSERT_EQ(GetRecentFileList().Count(), 1);
    EXPECT_EQ(Label(kCmdFileMruFirst), "&1 " + kept);
    EXPECT_EQ(mFrame->GetMenuBar()->FindItem(kCmdFileMruFirst + 1), nullptr);

    RunCommand(kCmdFileMruFirst);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(mDocument->GetPathName(), kept);
}

TEST_F(OpenCommandsTest, ThePanesCamerasAndMotionsComeBackFromTheFile)
{
    mFrame->SetLayout(kLayout3Equal);
    std::vector<ModelPane*> panes = Panes();
    ASSERT_EQ(panes.size(), 3u);
    const int types[3] = {kViewTypePoly, kViewTypeDual, kViewTypeCompound};
    for (int i = 0; i < 3; ++i)
    {
        panes[size_t(i)]->SetViewType(types[i], false);
        panes[size_t(i)]->RotateView(1, 20.0 + 35.0 * i);
        panes[size_t(i)]->RotateView(0, -10.0 * i);
        panes[size_t(i)]->SetVerticalFOV(21.5f + float(i));
    }
    std::vector<Camera> cameras;
    for (ModelPane* pane : panes)
        cameras.push_back(CameraOf(*pane));
    panes[1]->GetTumbleThrow().Start(100.0f, 40.0f);
    const int throwId = panes[1]->GetTumbleThrow().GetFileId();
    const std::string path = mFolder + "/panes.orva";
    ASSERT_TRUE(mDocument->WriteModelFile(path, kIoBinary));

    // Elsewhere entirely before opening it again.
    StopAllMouseThrows();
    mFrame->SetLayout(kLayout1);
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->ResetCamera(true);
    ASSERT_TRUE(mDocument->OpenModelFile(path, 0));
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout3Equal);
    panes = Panes();
    ASSERT_EQ(panes.size(), 3u);
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const ModelPane& pane = *panes[size_t(i)];
        EXPECT_EQ(pane.GetViewType(), types[i]);
        const Camera camera = CameraOf(pane);
        EXPECT_TRUE(SameBits(camera.eye, cameras[size_t(i)].eye));
        EXPECT_TRUE(SameBits(camera.right, cameras[size_t(i)].right));
        EXPECT_TRUE(SameBits(camera.up, cameras[size_t(i)].up));
        EXPECT_TRUE(SameBits(camera.backward, cameras[size_t(i)].backward));
        EXPECT_EQ(camera.fov, cameras[size_t(i)].fov);
        // The file's camera is not fitted over.
        EXPECT_EQ(pane.GetPendingFit(), 0);
    }
    const MouseThrow* moving = FindMouseThrow(throwId);
    ASSERT_NE(moving, nullptr);
    EXPECT_TRUE(moving->IsMoving());

    // With Keep Layout when Opening Files the panes stay as they are.
    StopAllMouseThrows();
    mFrame->SetLayout(kLayout2);
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    const Camera before = CameraOf(*Panes()[0]);
    KeepLayoutWhenOpening() = true;
    ASSERT_TRUE(mDocument->OpenModelFile(path, 0));
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout2);
    EXPECT_EQ(Panes()[0]->GetViewType(), kViewTypeUniStellation);
    EXPECT_TRUE(SameBits(CameraOf(*Panes()[0]).eye, before.eye));
    EXPECT_FALSE(AnyMouseThrowMoving());
}

TEST_F(OpenCommandsTest, AFailedOpenGivesThePanesBack)
{
    mFrame->SetLayout(kLayout3Equal);
    const std::string path = mFolder + "/panes.orva";
    ASSERT_TRUE(mDocument->WriteModelFile(path, kIoAscii));
    // A file that sets the layout and the panes, then breaks off inside the model.
    std::string text;
    {
        FILE* in = std::fopen(path.c_str(), "rb");
        ASSERT_NE(in, nullptr);
        for (int c; (c = std::fgetc(in)) != EOF;)
            text.push_back(char(c));
        std::fclose(in);
    }
    const size_t scale = text.find("\nScale\t");
    ASSERT_NE(scale, std::string::npos);
    text.replace(scale, std::string::npos, "\nPoly\t8\t6\n 0x0 0x0\n");
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    mFrame->SetLayout(kLayout2);
    Panes()[1]->SetViewType(kViewTypeUniStellation, false);
    Panes()[1]->RotateView(1, 15.0);
    const Camera before = CameraOf(*Panes()[1]);

    EXPECT_FALSE(mDocument->OpenModelFile(path, 0));
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(GetCurrentLayoutIndex(), kLayout2);
    ASSERT_EQ(Panes().size(), 2u);
    EXPECT_EQ(Panes()[1]->GetViewType(), kViewTypeUniStellation);
    EXPECT_TRUE(SameBits(CameraOf(*Panes()[1]).eye, before.eye));
    EXPECT_EQ(Current().mFaces.mCount, 20);
}
