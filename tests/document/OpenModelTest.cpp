// Opening models by a typed name, stepping through the Waterman polyhedra and through search
// results, and the colours a new model keeps in single-colour mode.

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/ModelViewState.h"
#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/ColorSchemes.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "operations/WatermanPoly.h"
#include "render/OpenGLView.h"
#include "support/ModelUndoByCopy.h"
#include "support/QhullReference.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// A pane that keeps a view type, as the model panes do.
class SidePane : public OpenGLView, public ModelViewState
{
public:
    SidePane(wxWindow* parent, int type) : OpenGLView(parent), mType(type) {}

    int ViewTypeCode() const override { return mType; }
    int GetViewType() const override { return mType; }
    void SetViewType(int code, bool /*keep*/) override { mType = code; }
    double GetExplosion() const override { return 1.0; }
    void SetExplosion(double) override {}
    int GetProjection4D() const override { return 2; }
    void SetProjection4D(int) override {}
    const Mat4& GetRotation4D() const override { return mRotation; }
    void SetRotation4D(const Mat4&) override {}

    int mType;
    Mat4 mRotation;
};

// The hull of every lattice point of the ball, by Qhull: the truth the Waterman models are held to.
// Centre 0 keeps the points of even coordinate sum within squared radius 2 root, centre 1 those of
// odd sum, centre 2 every integer point within squared radius root.
QhullCounts WatermanTruth(int centre, int root)
{
    const int r2 = centre == 2 ? root : 2 * root;
    std::vector<Vec3D> points;
    for (int x = -r2; x <= r2; ++x)
        for (int y = -r2; y <= r2; ++y)
            for (int z = -r2; z <= r2; ++z)
            {
                if (x * x + y * y + z * z > r2)
                    continue;
                const bool even = ((x + y + z) & 1) == 0;
                if ((centre == 0 && !even) || (centre == 1 && even))
                    continue;
                points.push_back(Vec3D{double(x), double(y), double(z)});
            }
    return QhullHullCounts(points);
}

bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

class OpenModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        mSavedScheme = FaceColorScheme();
        mSavedScale = GetUnitSettings().GetScale();
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        ClearSearchResults();
        InstallModelUndoByCopy();
        mFrame = new wxFrame(nullptr, wxID_ANY, "open model test");
        wxTheApp->SetTopWindow(mFrame);
        mPane = new SidePane(mFrame, kViewTypePoly);
        mDoc = std::make_unique<CPolyDoc>();
    }
    void TearDown() override
    {
        ClearUndoList();
        ClearSearchResults();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        mDoc.reset();
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
        GetDocumentSettings() = mSaved;
        FaceColorScheme() = mSavedScheme;
        GetUnitSettings().SetScale(mSavedScale, false);
    }

    Poly& Current() const { return mDoc->GetCurrentRecord()->mPoly; }
    std::string EntryName() const { return Current().mLibraryEntry ? Current().mLibraryEntry->mName : ""; }
    std::string Message() const { return mPane->GetMessage(); }

    void ExpectCounts(const QhullCounts& truth)
    {
        EXPECT_EQ(Current().mVerts.mCount, truth.vertices);
        EXPECT_EQ(Current().mFaces.mCount, truth.faces);
        EXPECT_EQ(Current().mNumEdges, truth.edges);
    }

    // The views draw between two commands: the messages shown before may then go.
    void Painted() { NewView::ClearRedrawFlags(mPane); }

    ScopedScriptedServices mServices;
    // Model code reaches the undo list and the transitions through the program's shell.
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    uint32_t mSavedScheme = 0;
    double mSavedScale = 1.0;
    wxFrame* mFrame = nullptr;
    SidePane* mPane = nullptr;
    std::unique_ptr<CPolyDoc> mDoc;
};

TEST_F(OpenModelTest, NextAndPreviousStepTheWatermanRootAboutTheSameCentre)
{
    ASSERT_TRUE(CreateWatermanPoly(2, 3));
    EXPECT_EQ(Current().mBaseName, "Waterman R3, cubic");
    EXPECT_EQ(Current().mDualName, "Waterman dual R3, cubic");
    ExpectCounts(WatermanTruth(2, 3));
    ClearUndoList();

    mDoc->StepModel(1);
    EXPECT_EQ(Current().mBaseName, "Waterman R4, cubic");
    EXPECT_EQ(Current().mDualName, "Waterman dual R4, cubic");
    ExpectCounts(WatermanTruth(2, 4));
    EXPECT_EQ(UndoMenuText(false), "&Undo Create Waterman polyhedron");
    UndoList::Undo();
    EXPECT_EQ(Current().mBaseName, "Waterman R3, cubic");
    ExpectCounts(WatermanTruth(2, 3));

    // The other two centres keep theirs, forwards and backwards.
    struct Case
    {
        int centre;
        const char* start;
        int step;
        const char* end;
        int endRoot;
    };
    const Case kCases[] = {
        {0, "Waterman R2", 1, "Waterman R3", 3},
        {1, "Waterman R2, type 2", 1, "Waterman R3, type 2", 3},
        {1, "Waterman R3, type 2", -1, "Waterman R2, type 2", 2},
        {0, "Waterman R2", -1, "Waterman R1", 1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.start);
        ASSERT_TRUE(CreateWatermanPoly(c.centre, c.endRoot - c.step));
        ASSERT_EQ(Current().mBaseName, c.start);
        mDoc->StepModel(c.step);
        EXPECT_EQ(Current().mBaseName, c.end);
        ExpectCounts(WatermanTruth(c.centre, c.endRoot));
    }
}

TEST_F(OpenModelTest, PreviousFromRootOneSaysThereIsNoMore)
{
    ASSERT_TRUE(CreateWatermanPoly(0, 1));
    // Root 1 about a lattice point: the twelve nearest neighbours, a cuboctahedron.
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(Current().mFaces.mCount, 14);
    ClearUndoList();
    mDoc->StepModel(-1);
    EXPECT_EQ(Message(), "There are no more Waterman polyhedra in this direction");
    EXPECT_EQ(Current().mBaseName, "Waterman R1");
    EXPECT_FALSE(CanUndo());
}

TEST_F(OpenModelTest, ARootOutOfRangeChangesNothing)
{
    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
    GetUnitSettings().SetScale(2.5, false);
    ClearUndoList();
    for (int root : {0, 11})
    {
        SCOPED_TRACE(root);
        EXPECT_FALSE(CreateWatermanPoly(0, root));
        EXPECT_EQ(EntryName(), "Cube");
        EXPECT_EQ(GetUnitSettings().GetScale(), 2.5);
        EXPECT_FALSE(CanUndo());
    }
}

TEST_F(OpenModelTest, ATypedNameOpensItsRow)
{
    ASSERT_TRUE(mDoc->OpenModelByName("Cube"));
    EXPECT_EQ(EntryName(), "Cube");
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(UndoMenuText(false), "&Undo Open Built-in Model");
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}

TEST_F(OpenModelTest, AConfigurationNotInTheLibraryIsMatchedAsANewModel)
{
    ASSERT_TRUE(mDoc->OpenModelByName("Cube"));
    ClearUndoList();
    // The library writes the cuboctahedron 4.3.4.3.
    ASSERT_EQ(FindLibraryEntry("3.4.3.4", nullptr, false), nullptr);
    ASSERT_TRUE(mDoc->OpenModelByName("3.4.3.4"));
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(Current().mFaces.mCount, 14);
    EXPECT_EQ(Current().mNumEdges, 24);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Create New Model");

    UndoList::Undo();
    EXPECT_EQ(EntryName(), "Cube");
    EXPECT_EQ(Current().mVerts.mCount, 8);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    UndoList::Redo();
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(Current().mFaces.mCount, 14);
}

TEST_F(OpenModelTest, TextsThatNameNothingAreReportedAndChangeNothing)
{
    ASSERT_TRUE(mDoc->OpenModelByName("Cube"));
    ClearUndoList();
    mServices.services.Clear();
    struct Case
    {
        const char* text;
        const char* message;  // null: the configuration's own message, whatever it is
    };
    const Case kCases[] = {
        {"cube*", "Couldn't find any model with name or symbol\n\"cube*\""},
        {"qqqq", "Couldn't find any model with name or symbol\n\"qqqq\""},
        // A configuration whose polygons lie flat around a vertex cannot close up.
        {"3.3.3.3.3.3", nullptr},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        mServices.services.Clear();
        EXPECT_FALSE(mDoc->OpenModelByName(c.text));
        ASSERT_GE(mServices.services.CountCalls("MessageBox"), 1);
        if (c.message)
        {
            EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, c.message);
            EXPECT_EQ(mServices.services.LastCall("MessageBox")->caption, "Error");
        }
        EXPECT_EQ(EntryName(), "Cube");
        EXPECT_EQ(Current().mFaces.mCount, 6);
        EXPECT_FALSE(CanUndo());
    }
}

TEST_F(OpenModelTest, SteppingToADualResultSwitchesThePanesToTheDual)
{
    LibraryEntry* cuboctahedron = FindLibraryEntry("Cuboctahedron", nullptr, false);
    ASSERT_NE(cuboctahedron, nullptr);
    ASSERT_NE(cuboctahedron->mDualNames, nullptr);
    LibraryEntry* cube = FindLibraryEntry("Cube", nullptr, false);
    AppendSearchResult(cube);
    InsertSearchResult(cuboctahedron, -1, true);  // the rhombic dodecahedron
    ASSERT_TRUE(mDoc->OpenLibraryModel(cube, false, true));
    ASSERT_EQ(GetCurrentSearchResult(), GetFirstSearchResult());

    mDoc->StepModel(1);
    EXPECT_EQ(EntryName(), "Cuboctahedron");
    EXPECT_EQ(mPane->mType, kViewTypeDual);
    EXPECT_TRUE(Current().mShowDual);
    EXPECT_EQ(Message(), "Switched from base to dual view");
    Painted();

    // A pane that already shows the matched side is left alone, and nothing is said.
    mPane->mType = kViewTypeUniStellation;
    NewView::ClearMessage(mPane);
    Painted();
    mDoc->StepModel(-1);
    EXPECT_EQ(EntryName(), "Cube");
    EXPECT_EQ(mPane->mType, kViewTypeUniStellation);
    EXPECT_EQ(Message(), "");
}

TEST_F(OpenModelTest, AWrapIsToldAfterTheSwitch)
{
    LibraryEntry* cuboctahedron = FindLibraryEntry("Cuboctahedron", nullptr, false);
    LibraryEntry* cube = FindLibraryEntry("Cube", nullptr, false);
    AppendSearchResult(cube);
    InsertSearchResult(cuboctahedron, -1, true);
    // At the last result, the dual shown.
    SetCurrentSearchResult(GetLastSearchResult());
    ASSERT_TRUE(mDoc->OpenLibraryModel(cuboctahedron, false, true));
    Current().SetShowDual(true);
    mPane->mType = kViewTypeDual;
    Painted();
    ASSERT_EQ(Message(), "");

    mDoc->StepModel(1);
    EXPECT_EQ(EntryName(), "Cube");
    EXPECT_EQ(mPane->mType, kViewTypePoly);
    EXPECT_FALSE(Current().mShowDual);
    EXPECT_EQ(Message(), "Switched from dual to base view\n\nWrapped from last to first search result");

    // Backwards from the first result: the wrap alone when no pane has to change.
    mPane->mType = kViewTypeCompound;
    NewView::ClearMessage(mPane);
    Painted();
    mDoc->StepModel(-1);
    EXPECT_EQ(EntryName(), "Cuboctahedron");
    EXPECT_EQ(Message(), "Wrapped from first to last search result");
}

TEST_F(OpenModelTest, ASearchOfOneResultOnlySaysSo)
{
    LibraryEntry* cube = FindLibraryEntry("Cube", nullptr, false);
    AppendSearchResult(cube);
    ASSERT_TRUE(mDoc->OpenLibraryModel(cube, false, true));
    ClearUndoList();
    mDoc->StepModel(1);
    EXPECT_EQ(Message(), "Your search only found one polyhedron");
    EXPECT_EQ(EntryName(), "Cube");
    EXPECT_FALSE(CanUndo());
}

TEST_F(OpenModelTest, SingleColourModeKeepsTheUsersColoursOnTheNextModel)
{
    const ColorRGB front{0.2f, 0.4f, 0.6f};
    const ColorRGB back{0.8f, 0.1f, 0.1f};
    const ColorRGB vertex{0.1f, 0.9f, 0.3f};
    struct Case
    {
        const char* name;
        uint32_t scheme;
        bool kept;
        bool backAsFront;
    };
    const Case kCases[] = {
        {"single colour", kFaceColorSingle, true, false},
        {"single colour, front and back alike", kFaceColorSingle | kFaceColorFrontBackAlike, true, true},
        {"by face type", kFaceColorByType, false, false},
        {"single colour with the cubic arrangement", kFaceColorSingle | 0x80000, false, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        FaceColorScheme() = c.scheme;
        ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
        for (FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        {
            f->mColor = front;
            f->mBackColor = back;
        }
        for (FaceVert* v = Current().mVerts.mFirst; v; v = v->mNext)
            v->mColor = v->mBackColor = vertex;

        ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
        int keptFaces = 0;
        int keptVerts = 0;
        for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        {
            const ColorRGB& wantBack = c.backAsFront ? front : back;
            keptFaces += SameColor(f->mColor, front) && SameColor(f->mBackColor, wantBack);
        }
        for (const FaceVert* v = Current().mVerts.mFirst; v; v = v->mNext)
            keptVerts += SameColor(v->mColor, vertex);
        EXPECT_EQ(keptFaces, c.kept ? 6 : 0);
        EXPECT_EQ(keptVerts, c.kept ? 8 : 0);
    }
}
}  // namespace
