// The undo items of the applied subgroup, the reflexibility option, the drawn facets and the face
// images, alone and as the side items that keep that state around a whole-model change.

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/DrawnFacetUndo.h"
#include "document/ImageUndo.h"
#include "document/ReflexibilityUndo.h"
#include "document/SubSymmetryUndo.h"
#include "document/UndoItem.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/FaceImage.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "model/StellationOptions.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// What the items must put back exactly: counts, the group in force and every colour.
struct ModelState
{
    int faces = 0;
    int verts = 0;
    int edges = 0;
    int groupKind = -1;
    int groupOrder = -1;
    int reflection = -1;
    int choice[2] = {0, 0};
    std::vector<uint32_t> colors;

    bool operator==(const ModelState& o) const
    {
        return faces == o.faces && verts == o.verts && edges == o.edges && groupKind == o.groupKind &&
               groupOrder == o.groupOrder && reflection == o.reflection && choice[0] == o.choice[0] &&
               choice[1] == o.choice[1] && colors == o.colors;
    }
};

ModelState StateOf(const Poly& poly)
{
    ModelState s;
    s.faces = poly.mFaces.mCount;
    s.verts = poly.mVerts.mCount;
    s.edges = poly.mNumEdges;
    if (poly.mGroup)
    {
        s.groupKind = poly.mGroup->mKind;
        s.groupOrder = poly.mGroup->mOrder;
        s.reflection = poly.mGroup->mReflection;
    }
    s.choice[0] = poly.mSubgroupChoice[0];
    s.choice[1] = poly.mSubgroupChoice[1];
    for (const ElemList* list : {static_cast<const ElemList*>(&poly.mFaces), static_cast<const ElemList*>(&poly.mVerts)})
        for (const FaceVert* e = list->mFirst; e; e = e->mNext)
        {
            s.colors.push_back(ColorToRGB(e->mColor));
            s.colors.push_back(ColorToRGB(e->mBackColor));
        }
    for (int i = 0; i < poly.mNumEdges; ++i)
        s.colors.push_back(ColorToRGB(poly.mEdges[i].mColor));
    return s;
}

// The pair of subgroup indices of the rotational tetrahedral group, a subgroup of the cube's.
bool FindChiralTetrahedral(const SymGroup* full, int& rot, int& refl)
{
    SymDescriptor d;
    while (SymGroup::NextSubgroup(full, d, rot, refl))
        if (d.mKind == SymGroup::kTetrahedral && d.mReflection == SymGroup::kChiral)
            return true;
    return false;
}

std::vector<Vec3D> Points(const DrawnFacetUndo::Polygon& polygon)
{
    return polygon.points;
}

class SideUndoItemsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        mSavedOptions = GetStellationOptions();
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        mDoc = std::make_unique<CPolyDoc>();
        ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
        ClearUndoList();
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        mDoc.reset();
        GetDocumentSettings() = mSaved;
        StoreStellationOptions(mSavedOptions);
    }

    Poly& Current() const { return mDoc->GetCurrentRecord()->mPoly; }

    void ApplyTetrahedral()
    {
        int rot = 0;
        int refl = 0;
        ASSERT_TRUE(FindChiralTetrahedral(Current().mGroup.get(), rot, refl));
        ASSERT_TRUE(Current().SetSymmetry(rot, refl));
        ASSERT_EQ(Current().mGroup->mKind, SymGroup::kTetrahedral);
    }

    // Three corners of the cube as a closed facet, or left open while being drawn.
    std::vector<Vec3D> DrawTriangle(bool close)
    {
        std::vector<Vec3D> points;
        const FaceVert* v = Current().mVerts.mFirst;
        for (int i = 0; i < 3 && v; ++i, v = v->mNext->mNext)
            points.push_back(v->mPoint);
        for (const Vec3D& p : points)
            AddRingVert(0.0, 0.0, nullptr, &p, Current().mCurrentDrawnPolygon->mRing);
        // As faceting mode does after each point.
        Current().mCurrentDrawnPolygon->Prepare();
        if (close)
            Current().CloseDrawnPolygon(true, false);
        return points;
    }

    std::vector<DrawnFacetUndo::Polygon> Drawn() const { return DrawnFacetUndo::CapturePolygons(Current()); }

    ScopedScriptedServices mServices;
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    int mSavedOptions = 0;
    std::unique_ptr<CPolyDoc> mDoc;
};

TEST_F(SideUndoItemsTest, ASubgroupStepUndoesAndRedoesGroupAndColours)
{
    const ModelState before = StateOf(Current());
    AddUndo(kUndoSubSymmetry, false);
    ApplyTetrahedral();
    const ModelState after = StateOf(Current());
    ASSERT_FALSE(after == before);
    // The colours the new types brought come back with the step.
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Sub-Symmetry");
    ASSERT_EQ(GetOldestUndoItem()->GetKind(), kUndoColorChange);

    UndoList::Undo();
    EXPECT_TRUE(StateOf(Current()) == before);
    EXPECT_EQ(Current().mGroup->mKind, SymGroup::kOctahedral);
    UndoList::Redo();
    EXPECT_TRUE(StateOf(Current()) == after);
    UndoList::Undo();
    EXPECT_TRUE(StateOf(Current()) == before);
}

TEST_F(SideUndoItemsTest, AWholeModelStepKeepsTheSubgroupAndTheDrawnFacetsOfTheModelItReplaced)
{
    ApplyTetrahedral();
    const std::vector<Vec3D> triangle = DrawTriangle(true);
    const ModelState cube = StateOf(Current());
    ClearUndoList();

    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Open Built-in Model");
    // Drawn facets exchange, so act both ways; the subgroup only acts when undoing.
    const UndoItem* facets = GetOldestUndoItem();
    ASSERT_EQ(facets->GetKind(), kUndoFacetingChange);
    EXPECT_EQ(facets->mFlags & (UndoItem::kSkipOnUndo | UndoItem::kSkipOnRedo), 0u);
    const UndoItem* subgroup = facets->next;
    ASSERT_EQ(subgroup->GetKind(), kUndoSubSymmetry);
    EXPECT_TRUE(subgroup->mFlags & UndoItem::kSkipOnRedo);
    ASSERT_EQ(subgroup->next->GetKind(), kUndoOpenBuiltInModel);
    const ModelState icosahedron = StateOf(Current());
    EXPECT_TRUE(Drawn().empty());

    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        UndoList::Undo();
        EXPECT_TRUE(StateOf(Current()) == cube);
        EXPECT_EQ(Current().mGroup->mKind, SymGroup::kTetrahedral);
        const std::vector<DrawnFacetUndo::Polygon> drawn = Drawn();
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_FALSE(drawn[0].open);
        ASSERT_EQ(drawn[0].points.size(), triangle.size());
        for (size_t i = 0; i < triangle.size(); ++i)
            EXPECT_TRUE(Vec3Equal(drawn[0].points[i], triangle[i], 1e-12)) << i;

        UndoList::Redo();
        EXPECT_TRUE(StateOf(Current()) == icosahedron);
        EXPECT_EQ(Current().mGroup->mKind, SymGroup::kIcosahedral);
        EXPECT_TRUE(Drawn().empty());
    }
}

TEST_F(SideUndoItemsTest, ClosingADrawnFacetUndoesToThePolygonStillBeingDrawn)
{
    const std::vector<Vec3D> first = DrawTriangle(true);
    ClearUndoList();
    // The second triangle is closed with an undo step, as faceting mode closes it.
    std::vector<Vec3D> second;
    for (const FaceVert* v = Current().mVerts.mFirst->mNext; second.size() < 3 && v; v = v->mNext->mNext)
        second.push_back(v->mPoint);
    for (const Vec3D& p : second)
        AddRingVert(0.0, 0.0, nullptr, &p, Current().mCurrentDrawnPolygon->mRing);
    Current().mCurrentDrawnPolygon->Prepare();
    Current().CloseDrawnPolygon(true, true);
    ASSERT_EQ(UndoMenuText(false), "&Undo Faceting Change");
    ASSERT_EQ(Drawn().size(), 2u);

    UndoList::Undo();
    std::vector<DrawnFacetUndo::Polygon> drawn = Drawn();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_FALSE(drawn[0].open);
    EXPECT_TRUE(drawn[1].open) << "the second polygon is being drawn again";
    ASSERT_EQ(Points(drawn[1]).size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(Vec3Equal(drawn[0].points[i], first[i], 1e-12)) << i;
        EXPECT_TRUE(Vec3Equal(drawn[1].points[i], second[i], 1e-12)) << i;
    }

    UndoList::Redo();
    drawn = Drawn();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_FALSE(drawn[1].open);
    EXPECT_EQ(Current().mCurrentDrawnPolygon->mRing, nullptr) << "a fresh polygon to draw";
}

TEST_F(SideUndoItemsTest, ImageStepsPutBackEachElementsImageAndItsPlacement)
{
    std::vector<FaceVert*> faces;
    for (FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        faces.push_back(f);
    ASSERT_EQ(faces.size(), 6u);
    FaceImage* shared = FaceImage::Create(nullptr, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat, faces[0], false);
    for (int i = 0; i < 3; ++i)
        faces[size_t(i)]->mImage.Set(shared);
    ASSERT_EQ(shared->GetUserCount(), 3);

    AddUndo(kUndoApplyImage, false);
    FaceImage* other = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapClamp, faces[5], false);
    for (int i = 0; i < 3; ++i)
        faces[size_t(i)]->mImage.Set(nullptr);
    faces[5]->mImage.Set(other);
    // The shared image lives on in the step, which holds it for each face it was on.
    ASSERT_EQ(shared->GetUserCount(), 3);

    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        UndoList::Undo();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(faces[size_t(i)]->mImage.Get(), shared) << i;
        EXPECT_EQ(faces[5]->mImage.Get(), nullptr);
        EXPECT_EQ(shared->mOwner, faces[0]);
        UndoList::Redo();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(faces[size_t(i)]->mImage.Get(), nullptr) << i;
        EXPECT_EQ(faces[5]->mImage.Get(), other);
        EXPECT_EQ(other->mOwner, faces[5]);
    }
    EXPECT_EQ(other->GetUserCount(), 1);
    UndoList::Undo();
    // Dropping the history lets go of the images it held: only the elements carry them then.
    ClearUndoList();
    EXPECT_EQ(shared->GetUserCount(), 3);
    faces[5]->mImage.Set(nullptr);
}

TEST_F(SideUndoItemsTest, AColourAndImageChangeIsOneStep)
{
    FaceVert* face = Current().mFaces.mFirst;
    const ModelState before = StateOf(Current());
    AddColorAndImageUndo();
    face->mColor = ColorRGB{0.0f, 1.0f, 0.0f};
    FaceImage* image = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, face, false);
    face->mImage.Set(image);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Color Change");

    UndoList::Undo();
    EXPECT_TRUE(StateOf(Current()) == before);
    EXPECT_EQ(face->mImage.Get(), nullptr);
    UndoList::Redo();
    EXPECT_EQ(ColorToRGB(face->mColor), 0x00FF00u);
    EXPECT_EQ(face->mImage.Get(), image);
    face->mImage.Set(nullptr);
    ClearUndoList();
}

TEST_F(SideUndoItemsTest, TheReflexibilityOptionIsExchanged)
{
    for (bool start : {false, true})
    {
        SCOPED_TRACE(start);
        ClearUndoList();
        StoreStellationOptions(start ? kCriteriaReflexible | kCriteriaAllFaceTypes : kCriteriaAllFaceTypes);
        AddUndo(kUndoReflexibilityChange, false);
        StoreStellationOptions(GetStellationOptions() ^ kCriteriaReflexible);
        CloseUndo();
        EXPECT_EQ(UndoMenuText(false), "&Undo Maintain Reflexibility Change");
        UndoList::Undo();
        EXPECT_EQ(IsReflexibilityMaintained(), start);
        EXPECT_TRUE(GetStellationOptions() & kCriteriaAllFaceTypes) << "the other options stay";
        UndoList::Redo();
        EXPECT_EQ(IsReflexibilityMaintained(), !start);
    }
}

// A model read from a file or a tour keeps the state after the change in items that only redoing
// applies.
TEST_F(SideUndoItemsTest, AReadModelsSubgroupComesBackWithRedo)
{
    const ModelState cube = StateOf(Current());
    AddUndo(kUndoFileOpen, false);
    const LibraryEntry* icosahedron = FindLibraryEntry("Icosahedron", nullptr, false);
    ASSERT_TRUE(mDoc->BuildNewModel(
        -1,
        [&](Poly& poly) {
            if (!poly.CreateFromLibraryEntry(mDoc->GetCurrentTemplate(), icosahedron, false))
                return false;
            poly.SetFromLibraryEntry(icosahedron);
            return true;
        },
        true));
    ApplyTetrahedral();
    const ModelState read = StateOf(Current());
    CloseUndo();

    const UndoItem* after = GetNewestUndoItem();
    ASSERT_EQ(after->GetKind(), kUndoSubSymmetry);
    EXPECT_TRUE(after->mFlags & UndoItem::kSkipOnUndo);
    EXPECT_TRUE(after->mFlags & UndoItem::kJoinedToPrev);
    EXPECT_EQ(UndoMenuText(false), "&Undo File-Open");

    UndoList::Undo();
    EXPECT_TRUE(StateOf(Current()) == cube);
    UndoList::Redo();
    EXPECT_TRUE(StateOf(Current()) == read);
    EXPECT_EQ(Current().mGroup->mKind, SymGroup::kTetrahedral);
}
}  // namespace
