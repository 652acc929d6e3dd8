// The document: its model records, switching between them with the panes' state, the path and the
// title.

#include "model/ModelRecord.h"
#include "document/ModelViewState.h"
#include "document/PolyDoc.h"
#include "document/RecentFileList.h"
#include "kernel/SceneParameters.h"
#include "kernel/ViewTypes.h"
#include "render/OpenGLView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <memory>
#include <vector>

namespace
{
// A pane with the state the document keeps per model.
class StatePane : public OpenGLView, public ModelViewState
{
public:
    explicit StatePane(wxWindow* parent) : OpenGLView(parent) {}

    int ViewTypeCode() const override { return mType; }
    int GetViewType() const override { return mType; }
    void SetViewType(int code, bool keep) override
    {
        mType = code;
        mKeptOnSwitch = keep;
    }
    double GetExplosion() const override { return mExplosion; }
    void SetExplosion(double scale) override { mExplosion = scale; }
    int GetProjection4D() const override { return mProjection; }
    void SetProjection4D(int type) override { mProjection = type; }
    const Mat4& GetRotation4D() const override { return mRotation; }
    void SetRotation4D(const Mat4& rotation) override { mRotation = rotation; }

    int mType = -1;
    bool mKeptOnSwitch = false;
    double mExplosion = 1.0;
    int mProjection = 2;
    Mat4 mRotation;
};

class PolyDocTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "document test");
        wxTheApp->SetTopWindow(mFrame);
        mDoc = std::make_unique<CPolyDoc>();
        mSavedScene = GetSceneParameters();
    }
    void TearDown() override
    {
        mDoc.reset();
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
        GetSceneParameters() = mSavedScene;
    }

    // Panes whose state differs from each other and from a new pane's.
    std::vector<StatePane*> MakePanes(int n)
    {
        std::vector<StatePane*> panes;
        for (int i = 0; i < n; ++i)
        {
            auto* pane = new StatePane(mFrame);
            pane->mType = kViewTypePoly + i;
            pane->mExplosion = 1.5 + i;
            pane->mProjection = i % 2;
            pane->mRotation.SetRotationXY(0.1 * (i + 1));
            pane->SetEye(Vec3D{0.0, 0.0, 3.0 + i});
            panes.push_back(pane);
        }
        return panes;
    }

    wxFrame* mFrame = nullptr;
    std::unique_ptr<CPolyDoc> mDoc;
    SceneParameters mSavedScene;
};
}  // namespace

TEST(DocumentTitle, IsBuiltFromPathSymbolAndName)
{
    struct Case
    {
        const char* name;
        const char* path;
        const char* symbol;
        const char* model;
        const char* title;
    };
    const Case kCases[] = {
        {"nothing known", "", "", "", "<No Name>"},
        {"a name", "", "", "Icosahedron", "Icosahedron"},
        {"a symbol", "", "3.3.3.3.3", "Icosahedron", "3.3.3.3.3 - Icosahedron"},
        {"a symbol alone", "", "{5/2}", "", "{5/2} - <No Name>"},
        {"a file", "/models/ico.orva", "3.3.3.3.3", "Icosahedron", "\"ico.orva\": 3.3.3.3.3 - Icosahedron"},
        {"a blank path", "   ", "", "Cube", "Cube"},
        // Model names keep a '/' as ';' in file names; the title shows the '/' again. A ';' in a
        // folder, symbol or name stays.
        {"';' in the file name", "/a;b/x;y.orva", "", "Cube", "\"x/y.orva\": Cube"},
        {"';' in symbol and name", "", "3;4", "A;B", "3;4 - A;B"},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(MakeDocumentTitle(c.path, c.symbol, c.model), c.title) << c.name;
}

TEST_F(PolyDocTest, ANewDocumentHoldsOneCurrentRecord)
{
    ModelRecord* first = mDoc->GetCurrentRecord();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(mDoc->GetFirstRecord(), first);
    EXPECT_EQ(mDoc->GetLastRecord(), first);
    EXPECT_TRUE(IsCurrentRecordLast());
    EXPECT_EQ(mDoc->GetCurrentTemplate(), &first->mTemplate);

    // A new record joins the end; the current one cannot be deleted.
    ModelRecord* incoming = mDoc->AddModelRecord();
    EXPECT_EQ(mDoc->GetLastRecord(), incoming);
    EXPECT_EQ(first->next, incoming);
    EXPECT_FALSE(mDoc->DeleteModelRecord(first));
    mDoc->SwitchModelRecord(incoming, CPolyDoc::kNoRestore, nullptr);
    EXPECT_TRUE(IsCurrentRecordLast());
    EXPECT_TRUE(mDoc->DeleteModelRecord(first));
    EXPECT_EQ(mDoc->GetFirstRecord(), incoming);
}

TEST_F(PolyDocTest, EachRecordKeepsThePanesStateAndTheSceneValues)
{
    std::vector<StatePane*> panes = MakePanes(2);
    GetSceneParameters().morphRatio = 0.8;
    ModelRecord* a = mDoc->GetCurrentRecord();
    ModelRecord* b = mDoc->AddModelRecord();
    EXPECT_FALSE(IsCurrentRecordLast());

    // Into b: a keeps everything; b's blocks were never saved, so the panes keep their types.
    mDoc->SwitchModelRecord(b, 0, nullptr);
    EXPECT_TRUE(IsCurrentRecordLast());
    EXPECT_EQ(a->mViews[0].mViewType, kViewTypePoly);
    EXPECT_EQ(a->mViews[1].mViewType, kViewTypePoly + 1);
    EXPECT_DOUBLE_EQ(a->mViews[1].mExplosion, 2.5);
    EXPECT_EQ(a->mViews[1].mProjection4D, 1);
    EXPECT_DOUBLE_EQ(a->mScene.morphRatio, 0.8);
    EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, 0.5);
    EXPECT_EQ(panes[0]->mType, kViewTypePoly);
    EXPECT_EQ(panes[1]->mProjection, 1);
    EXPECT_DOUBLE_EQ(panes[0]->mExplosion, 1.0);

    // Change what b shows, then go back to a and forth to b.
    panes[0]->SetEye(Vec3D{0.0, 0.0, 9.0});
    panes[0]->mType = kViewTypeDual;
    panes[1]->mExplosion = 4.0;
    GetSceneParameters().foldRatio = 0.9;
    mDoc->SwitchModelRecord(a, 0, nullptr);
    EXPECT_FALSE(IsCurrentRecordLast());
    EXPECT_EQ(panes[0]->mType, kViewTypePoly);
    EXPECT_TRUE(panes[0]->mKeptOnSwitch);
    EXPECT_DOUBLE_EQ(panes[0]->GetEye().z, 3.0);
    EXPECT_DOUBLE_EQ(panes[1]->mExplosion, 2.5);
    EXPECT_NEAR(panes[1]->mRotation.At(1, 0), std::sin(0.2), 1e-12);
    EXPECT_DOUBLE_EQ(GetSceneParameters().foldRatio, 0.25);
    EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, 0.8);

    mDoc->SwitchModelRecord(b, 0, nullptr);
    EXPECT_EQ(panes[0]->mType, kViewTypeDual);
    EXPECT_DOUBLE_EQ(panes[0]->GetEye().z, 9.0);
    EXPECT_DOUBLE_EQ(panes[1]->mExplosion, 4.0);
    EXPECT_DOUBLE_EQ(GetSceneParameters().foldRatio, 0.9);
}

TEST_F(PolyDocTest, FlagsAndAPaneLimitWhatASwitchTouches)
{
    std::vector<StatePane*> panes = MakePanes(2);
    ModelRecord* a = mDoc->GetCurrentRecord();
    ModelRecord* b = mDoc->AddModelRecord();
    b->mPathName = "/b/model.orva";
    b->mViews[0].mViewType = kViewTypeNet2D;
    b->mViews[1].mViewType = kViewTypeNet3D;

    // Preparing a transition: nothing of the incoming record is restored.
    mDoc->SwitchModelRecord(b, CPolyDoc::kNoRestore | CPolyDoc::kKeepPaths, nullptr);
    EXPECT_EQ(panes[0]->mType, kViewTypePoly);
    EXPECT_EQ(mDoc->GetPathName(), "");

    // Drawing one pane: only that pane's block, and no path texts.
    mDoc->SetPathName("/a/current.orva", false);
    mDoc->SwitchModelRecord(a, CPolyDoc::kNoPaths, panes[1]);
    EXPECT_EQ(mDoc->GetPathName(), "/a/current.orva");
    EXPECT_EQ(b->mPathName, "/b/model.orva");
    EXPECT_EQ(b->mViews[0].mViewType, kViewTypeNet2D);  // not saved: pane 0 was not the one drawn
    EXPECT_EQ(b->mViews[1].mViewType, kViewTypePoly + 1);

    // A full switch loads the path of the record.
    mDoc->SwitchModelRecord(b, 0, nullptr);
    EXPECT_EQ(mDoc->GetPathName(), "/b/model.orva");
    EXPECT_EQ(a->mPathName, "/a/current.orva");
    EXPECT_EQ(panes[0]->mType, kViewTypeNet2D);

    // Switching to the current record or to none does nothing.
    panes[0]->mType = kViewTypeSlice;
    mDoc->SwitchModelRecord(b, 0, nullptr);
    mDoc->SwitchModelRecord(nullptr, 0, nullptr);
    EXPECT_EQ(panes[0]->mType, kViewTypeSlice);
}

TEST_F(PolyDocTest, PanesBeyondTheSixthAreNeitherSavedNorRestored)
{
    std::vector<StatePane*> panes = MakePanes(7);
    ModelRecord* b = mDoc->AddModelRecord();
    mDoc->SwitchModelRecord(b, 0, nullptr);
    for (StatePane* pane : panes)
        pane->mExplosion = 7.0;
    mDoc->SwitchModelRecord(mDoc->GetFirstRecord(), 0, nullptr);
    for (int i = 0; i < ModelRecord::kNumViewRecords; ++i)
        EXPECT_DOUBLE_EQ(panes[size_t(i)]->mExplosion, 1.5 + i);
    EXPECT_DOUBLE_EQ(panes[6]->mExplosion, 7.0);
}

TEST_F(PolyDocTest, ThePathAndTheTitleMoveTogether)
{
    mDoc->SetPathName("/models/Great;Dodecahedron.orva", false);
    EXPECT_EQ(mDoc->GetPathName(), "/models/Great;Dodecahedron.orva");
    EXPECT_EQ(mFrame->GetTitle(), "\"Great/Dodecahedron.orva\": <No Name>");
    EXPECT_EQ(mDoc->GetTitle(), "\"Great/Dodecahedron.orva\": <No Name>");

    // The model file's own path wins while it is set; a new path name clears it.
    mDoc->SetOwnFilePath("/elsewhere/own.orva");
    EXPECT_EQ(mDoc->GetFilePath(), "/elsewhere/own.orva");
    mDoc->SetPathName("/models/next.orva", false);
    EXPECT_EQ(mDoc->GetFilePath(), "/models/next.orva");

    // A blank path clears both and retitles.
    mDoc->SetOwnFilePath("/elsewhere/own.orva");
    mDoc->SetPathName(" \t", false);
    EXPECT_EQ(mDoc->GetPathName(), "");
    EXPECT_EQ(mDoc->GetFilePath(), "");
    EXPECT_EQ(mFrame->GetTitle(), "<No Name>");

    // A changed model loses its path unless told to keep it.
    mDoc->SetPathName("/models/kept.orva", false);
    mDoc->ModelChanged(true);
    EXPECT_EQ(mDoc->GetPathName(), "/models/kept.orva");
    mDoc->ModelChanged(false);
    EXPECT_EQ(mDoc->GetPathName(), "");
}

TEST_F(PolyDocTest, APathAddedToTheRecentFilesKeepsItsSlashes)
{
    RecentFileList& recent = GetRecentFileList();
    const RecentFileList saved = recent;
    recent = RecentFileList(12);
    mDoc->SetPathName("/models/a/b.orva", true);
    mDoc->SetPathName("/models/c.orva", false);
    ASSERT_EQ(recent.Count(), 1);
    EXPECT_EQ(recent.Get(0), "/models/a/b.orva");
    recent = saved;
}
