// Cell changes of the stellations as undo steps, the stellations kept around a whole-model step, the
// named stellations of the Wenninger numbers opened through the document, and the surface the
// stellation drawing hands to the view.

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/PolyDoc.h"
#include "document/ReflexibilityUndo.h"
#include "document/StellationUndo.h"
#include "document/UndoItem.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "kernel/UserServices.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationSurface.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <set>
#include <vector>

namespace
{
const double kGoldenRatio = (1.0 + std::sqrt(5.0)) / 2.0;

std::vector<int> IncludedCells(const Stellation* stellation)
{
    std::vector<int> cells;
    for (const StellationCell* c = stellation->mFirstCell; c && c != stellation->mLastCell; c = c->next)
        if (c->IsIncluded())
            cells.push_back(c->mIndex);
    return cells;
}

std::vector<Vec3D> MeshCorners(Stellation* stellation)
{
    std::vector<Vec3D> corners;
    if (Model3D* mesh = stellation->GetModel3D(false))
        for (int i = 0; i < mesh->GetNumVerts(); ++i)
            corners.push_back(mesh->GetVert(i)->mPos);
    return corners;
}

double MaxRadius(const std::vector<Vec3D>& points)
{
    double r = 0.0;
    for (const Vec3D& p : points)
        r = std::max(r, Vec3Length(p));
    return r;
}

// Every point of a, scaled to unit outer radius, has a point of b so scaled within the tolerance,
// and the other way round.
bool SameUpToScale(const std::vector<Vec3D>& a, const std::vector<Vec3D>& b, double tol)
{
    const double ra = MaxRadius(a), rb = MaxRadius(b);
    if (a.size() != b.size() || ra <= 0.0 || rb <= 0.0)
        return false;
    const auto covered = [tol](const std::vector<Vec3D>& from, double rf, const std::vector<Vec3D>& to, double rt) {
        for (const Vec3D& p : from)
        {
            bool found = false;
            for (const Vec3D& q : to)
            {
                Vec3D ps, qs;
                Vec3Scale(ps, p, 1.0 / rf);
                Vec3Scale(qs, q, 1.0 / rt);
                found = found || Vec3Distance(ps, qs) < tol;
            }
            if (!found)
                return false;
        }
        return true;
    };
    return covered(a, ra, b, rb) && covered(b, rb, a, ra);
}

class StellationUndoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = GetDocumentSettings();
        mSavedOptions = GetStellationOptions();
        StoreStellationOptions(0);
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        mDoc = std::make_unique<CPolyDoc>();
        ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
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

    Stellation* Built(bool dual)
    {
        Stellation* s = dual ? Current().GetVertStellation() : Current().GetFaceStellation();
        Current().CreateStellation(s, kStellationBuilt);
        return s->IsBuilt() ? s : nullptr;
    }

    // A Wenninger stellation opened by name, the question about the stellation pane answered Yes.
    Stellation* OpenWenninger(const char* name)
    {
        mServices.services.PushAnswer(kIdYes);
        mDoc->OpenModelByName(name);
        return Built(false);
    }

    ScopedScriptedServices mServices;
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    int mSavedOptions = 0;
    std::unique_ptr<CPolyDoc> mDoc;
};

TEST_F(StellationUndoTest, ACellCommandIsOneStepOfItsSideThatUndoesAndRedoes)
{
    struct Case
    {
        const char* name;
        bool dual;
        int axis;  // -1: the unsupportable cells
        const char* undoText;
    };
    const Case kCases[] = {
        {"unsupportable cells of the icosahedron", false, -1, "&Undo Stellation Change"},
        {"cells above the 5-fold axes of the icosahedron", false, 0, "&Undo Stellation Change"},
        {"cells above the 3-fold axes of the dodecahedron", true, 1, "&Undo Dual Stellation Change"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ClearUndoList();
        Stellation* s = Built(c.dual);
        ASSERT_NE(s, nullptr);
        s->ResetToOriginal();
        const std::vector<int> before = IncludedCells(s);
        if (c.axis < 0)
            s->SelectUnsupportableCells();
        else
            s->SelectCellsAboveAxis(c.axis);
        const std::vector<int> after = IncludedCells(s);
        ASSERT_NE(after, before);
        EXPECT_EQ(GetUndoStepCount(), 1);
        EXPECT_EQ(UndoMenuText(false), c.undoText);
        const auto* item = dynamic_cast<const UndoOneStel*>(GetNewestUndoItem());
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->IsDual(), c.dual);
        // The item holds the symmetric difference of the two states, ascending.
        std::vector<int> changed;
        std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                      std::back_inserter(changed));
        EXPECT_EQ(item->GetCells(), changed);

        UndoList::Undo();
        EXPECT_EQ(IncludedCells(s), before);
        EXPECT_TRUE(s->IsOriginal());
        UndoList::Redo();
        EXPECT_EQ(IncludedCells(s), after);
        UndoList::Undo();
        EXPECT_EQ(IncludedCells(s), before);
    }
}

TEST_F(StellationUndoTest, AnItemWhoseCellsWereAllToggledBackIsNotKept)
{
    Stellation* s = Built(false);
    ASSERT_NE(s, nullptr);
    StellationCell* cell = s->FindCell(1);
    ASSERT_NE(cell, nullptr);
    const bool was = cell->IsIncluded();
    AddStelUndo(s);
    StellationCell::SetIncluded(cell, !was);
    StellationCell::SetIncluded(cell, was);
    CloseUndo();
    EXPECT_TRUE(IsUndoListEmpty());
    EXPECT_EQ(GetUndoStepCount(), 0);
    EXPECT_FALSE(cell->mFlags & kCellUndoRecorded);

    // One cell left changed keeps the item, with that cell alone.
    AddStelUndo(s);
    StellationCell::SetIncluded(cell, !was);
    StellationCell::SetIncluded(s->FindCell(2), !s->FindCell(2)->IsIncluded());
    StellationCell::SetIncluded(s->FindCell(2), !s->FindCell(2)->IsIncluded());
    CloseUndo();
    const auto* item = dynamic_cast<const UndoOneStel*>(GetNewestUndoItem());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetCells(), std::vector<int>{1});
}

TEST_F(StellationUndoTest, UndoTogglesOnlyTheRecordedCellsEvenWhenReflexibilityIsMaintained)
{
    // The compound of five tetrahedra leaves chiral cells without their partners.
    Stellation* s = OpenWenninger("W24");
    ASSERT_NE(s, nullptr);
    ASSERT_GT(s->mNumUnmatchedChiralCells, 0);
    ClearUndoList();
    const std::vector<int> chiral = IncludedCells(s);
    StoreStellationOptions(kCriteriaReflexible);
    AddStelUndo(s);
    s->ResetToOriginal();
    CloseUndo();
    ASSERT_FALSE(IsUndoListEmpty());
    UndoList::Undo();
    EXPECT_EQ(IncludedCells(s), chiral);
    EXPECT_GT(s->mNumUnmatchedChiralCells, 0);
    EXPECT_TRUE(IsReflexibilityMaintained());
}

TEST_F(StellationUndoTest, AWholeModelStepGivesTheStellationBackWhenUndone)
{
    Stellation* w26 = OpenWenninger("W26");
    ASSERT_NE(w26, nullptr);
    const std::vector<int> cells = IncludedCells(w26);
    ASSERT_FALSE(w26->IsOriginal());
    ClearUndoList();

    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Open Built-in Model");
    const auto* side = dynamic_cast<const ReflexibilityUndo*>(GetOldestUndoItem());
    ASSERT_NE(side, nullptr);
    EXPECT_TRUE(side->mFlags & UndoItem::kSkipOnRedo);
    EXPECT_FALSE(side->GetCells(false).empty());
    EXPECT_TRUE(side->GetCells(true).empty());

    UndoList::Undo();
    EXPECT_EQ(Current().mFaces.mCount, 20);
    Stellation* back = Current().GetFaceStellation();
    ASSERT_TRUE(back->IsBuilt());
    EXPECT_EQ(IncludedCells(back), cells);
    UndoList::Redo();
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_TRUE(Current().GetFaceStellation()->IsOriginal());
}

TEST_F(StellationUndoTest, WenningerStellationsMatchTheirPublishedShapes)
{
    // The stella octangula: the octahedron's only stellation, every cell in it.
    Stellation* w19 = OpenWenninger("W19");
    ASSERT_NE(w19, nullptr);
    EXPECT_EQ(Current().mFaces.mCount, 8);
    EXPECT_EQ(MarkAllUsedSegVerts(w19), 14);
    EXPECT_EQ(w19->GetNumIncludedCells(), w19->GetNumCellRecords());

    // The echidnahedron: every cell of the icosahedron, 92 corners.
    Stellation* w42 = OpenWenninger("W42");
    ASSERT_NE(w42, nullptr);
    EXPECT_EQ(MarkAllUsedSegVerts(w42), 92);
    EXPECT_EQ(w42->GetNumIncludedCells(), w42->GetNumCellRecords());

    // The compound of five octahedra: its outermost corners are an icosidodecahedron's 30, each
    // with four nearest neighbours at 1/phi of the radius.
    Stellation* w23 = OpenWenninger("W23");
    ASSERT_NE(w23, nullptr);
    MarkAllUsedSegVerts(w23);
    const std::vector<Vec3D> corners = MeshCorners(w23);
    const double r = MaxRadius(corners);
    std::vector<Vec3D> outer;
    for (const Vec3D& p : corners)
        if (Vec3Length(p) > r * (1.0 - 1e-7))
            outer.push_back(p);
    ASSERT_EQ(outer.size(), 30u);
    for (const Vec3D& p : outer)
    {
        int near = 0;
        for (const Vec3D& q : outer)
            near += std::fabs(Vec3Distance(p, q) - r / kGoldenRatio) < 1e-7 * r;
        EXPECT_EQ(near, 4);
    }

    // The compound of five tetrahedra leaves chiral cells alone; that of ten adds their partners.
    Stellation* w24 = OpenWenninger("W24");
    ASSERT_NE(w24, nullptr);
    EXPECT_GT(w24->mNumUnmatchedChiralCells, 0);
    std::set<int> withMirrors;
    for (const int index : IncludedCells(w24))
    {
        withMirrors.insert(index);
        withMirrors.insert(w24->FindCell(index)->GetMirror()->mIndex);
    }
    Stellation* w25 = OpenWenninger("W25");
    ASSERT_NE(w25, nullptr);
    EXPECT_EQ(w25->mNumUnmatchedChiralCells, 0);
    const std::vector<int> w25Cells = IncludedCells(w25);
    EXPECT_EQ(std::set<int>(w25Cells.begin(), w25Cells.end()), withMirrors);
}

TEST_F(StellationUndoTest, TheSmallTriambicIcosahedronIsTheDualOfTheSmallDitrigonalIcosidodecahedron)
{
    Stellation* w26 = OpenWenninger("W26");
    ASSERT_NE(w26, nullptr);
    EXPECT_EQ(MarkAllUsedSegVerts(w26), 32);
    const std::vector<Vec3D> corners = MeshCorners(w26);
    ASSERT_EQ(corners.size(), 32u);

    ASSERT_TRUE(mDoc->OpenLibraryModel(FindLibraryEntry("Small Ditrigonal Icosidodecahedron", nullptr, false)));
    std::vector<Vec3D> dualVerts;
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        dualVerts.push_back(f->mPoint);
    ASSERT_EQ(dualVerts.size(), 32u);
    EXPECT_TRUE(SameUpToScale(corners, dualVerts, 1e-6));
}

// The area of the triangles a drawing hands to the view, at the model's own scale.
template <typename Draw>
double DrawnArea(const Poly& poly, Draw draw)
{
    RecordingSceneDrawer drawer;
    {
        ScopedSceneDrawer scope(&drawer);
        draw();
    }
    double area = 0.0;
    for (const RecordingSceneDrawer::Call& call : drawer.calls)
        if (call.name == "AddTriangle")
        {
            const std::vector<double>& v = call.values;
            const Vec3D a{v[0], v[1], v[2]}, b{v[3], v[4], v[5]}, c{v[6], v[7], v[8]};
            Vec3D ab, ac, n;
            Vec3Sub(ab, b, a);
            Vec3Sub(ac, c, a);
            Vec3Cross(n, ab, ac);
            area += 0.5 * Vec3Length(n);
        }
    return area / (poly.mDisplayScale * poly.mDisplayScale);
}

TEST_F(StellationUndoTest, TheStellationDrawingCoversTheSurfaceOnce)
{
    // The unit icosahedron at its original polyhedron: twenty faces of edge 4 / sqrt(10 + 2 sqrt 5).
    const double edge = 4.0 / std::sqrt(10.0 + 2.0 * std::sqrt(5.0));
    EXPECT_NEAR(DrawnArea(Current(), [&] { Current().DrawStellationView(1.0, 1.0); }),
                5.0 * std::sqrt(3.0) * edge * edge, 1e-9);
    EXPECT_EQ(Current().DrawCompoundView(1.0, 1.0), 0);

    // The stella octangula of the unit octahedron: 24 equilateral triangles of edge sqrt 2.
    ASSERT_NE(OpenWenninger("W19"), nullptr);
    EXPECT_NEAR(DrawnArea(Current(), [&] { Current().DrawStellationView(1.0, 1.0); }), 12.0 * std::sqrt(3.0), 1e-9);
    EXPECT_EQ(Current().DrawCompoundView(1.0, 1.0), 8);
}
}  // namespace
