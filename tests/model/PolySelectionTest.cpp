#include "ElementFixtures.h"

#include "kernel/ScriptedServices.h"
#include "kernel/TransitionSettings.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Model3D.h"
#include "model/CoplanarFaces.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "model/SymGroup.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
// Records the Model Info selections and what the views are asked to do; two views, one of a type
// that shows the model's name.
class SelectionShell : public RecordingShell
{
public:
    void SelectInfoElementItem(int kind, int index, int flag) override
    {
        calls.push_back("Item " + std::to_string(kind) + " " + std::to_string(index) + " " + std::to_string(flag));
    }
    void InvalidateCrossSectionViews(int) override { calls.push_back("CrossSection"); }
    void* NextView(void* view) override
    {
        if (!view)
            return &mViews[0];
        return view == &mViews[0] ? &mViews[1] : nullptr;
    }
    int ViewTypeCode(void* view) override { return *static_cast<int*>(view); }
    void UpdateViewTitle(void* view) override { calls.push_back("Title " + std::to_string(ViewTypeCode(view))); }
    void RequestViewFit(void* view, int) override { calls.push_back("Fit " + std::to_string(ViewTypeCode(view))); }

    const std::string& Last(const std::string& prefix) const
    {
        static const std::string none;
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->compare(0, prefix.size(), prefix) == 0)
                return *it;
        return none;
    }

private:
    int mViews[2] = {0x4001, 0x2};
};

class ScaleGuard
{
public:
    explicit ScaleGuard(double scale) : mScale(GetUnitSettings().mScale) { GetUnitSettings().mScale = scale; }
    ~ScaleGuard() { GetUnitSettings().mScale = mScale; }

private:
    double mScale;
};

// The document's list of records with one current record, registered for the scope.
class Document
{
public:
    Document()
    {
        records.mCurrent = records.NewRecord();
        SetDocumentModelRecords(&records);
    }
    ~Document() { SetDocumentModelRecords(nullptr); }
    Poly& Current() { return *GetCurrentPoly(); }

    ModelRecordList records;
};

// The cube with edges and one face type and one vertex type.
void BuildTypedCube(Poly& poly)
{
    BuildPoly(poly, CubeSpec(), true);
    OneTypePerSide(poly);
}
}  // namespace

TEST(PolySelection, SelectingAnEdgeShowsItsLength)
{
    ScopedScriptedServices scope;
    SelectionShell shell;
    ScopedShell installed(&shell);
    ScaleGuard scale(2.0);
    Poly poly;
    BuildTypedCube(poly);
    Face* face = poly.GetNthFace(0);
    poly.SelectFace(face, false);
    EXPECT_EQ(scope.services.statusText, "Selected base face 1 (type 1)");
    EXPECT_EQ(shell.Last("Item"), "Item 1 0 0");
    EXPECT_FALSE(poly.HasSelectedVert());
    EXPECT_STREQ(poly.GetSelectedKindWord(), "face");

    Edge* edge = poly.GetEdge(2);
    poly.SelectElement(edge, false);
    EXPECT_EQ(scope.services.statusText, "Selected base edge 3 (type 1), length 4");
    EXPECT_EQ(shell.Last("Item"), "Item 2 0 0");
    EXPECT_EQ(poly.mSelectedElement, edge);
    EXPECT_EQ(poly.GetSelectedEdge(), edge);
    EXPECT_EQ(poly.mSelectedFace, nullptr);  // one thing at a time
    EXPECT_TRUE(poly.HasSelectedEdge());
    EXPECT_STREQ(poly.GetSelectedKindWord(), "edge");
    EXPECT_EQ(poly.GetSelectedEdgeOrFace(), edge);

    // The same edge again: no new tree selection; on the dual side the dual edge's length.
    const size_t items = size_t(std::count_if(shell.calls.begin(), shell.calls.end(),
                                              [](const std::string& c) { return c.rfind("Item 2", 0) == 0; }));
    poly.mShowDual = true;
    poly.SelectElement(edge, false);
    EXPECT_EQ(scope.services.statusText, "Selected dual edge 3 (type 1), length 2.82843");
    EXPECT_EQ(size_t(std::count_if(shell.calls.begin(), shell.calls.end(),
                                   [](const std::string& c) { return c.rfind("Item 2", 0) == 0; })),
              items);

    // The edge's colour, packed.
    edge->mColor = ColorRGB{1.0f, 0.5f, 0.0f};
    EXPECT_EQ(poly.GetSelectedEdgeColorRef(), 0x000080FFu);

    // Nothing: the status bar and the tree are cleared.
    poly.SelectElement(nullptr, false);
    EXPECT_EQ(poly.mSelectedElement, nullptr);
    EXPECT_FALSE(poly.HasSelectedEdge());
}

TEST(PolySelection, FacesAndVerticesShowTheirSide)
{
    ScopedScriptedServices scope;
    SelectionShell shell;
    ScopedShell installed(&shell);
    Poly poly;
    BuildTypedCube(poly);
    Vert* vert = poly.GetNthVert(4);
    poly.SelectElement(vert, true);
    EXPECT_FALSE(poly.mShowDual);
    EXPECT_EQ(scope.services.statusText, "Selected base vertex 5 (type 1)");
    EXPECT_EQ(shell.Last("Item"), "Item 3 0 0");
    EXPECT_TRUE(poly.HasSelectedVert());
    EXPECT_STREQ(poly.GetSelectedKindWord(), "vertex");
    EXPECT_EQ(poly.GetStellationVert(), vert);
    EXPECT_EQ(poly.GetSelectedFace(), vert);

    // A face as a vertex: of the dual.
    poly.SelectElement(poly.GetNthFace(2), true);
    EXPECT_TRUE(poly.mShowDual);
    EXPECT_EQ(scope.services.statusText, "Selected dual vertex 3 (type 1)");
    EXPECT_EQ(shell.Last("Item"), "Item 3 0 1");
    EXPECT_EQ(poly.GetStellationVert(), poly.GetNthFace(2));

    // Clearing: no element, no status text, no tree item.
    poly.ClearSelection();
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(poly.mSelectedElement, nullptr);
    EXPECT_EQ(scope.services.statusText, "");
    EXPECT_EQ(shell.Last("Item"), "Item 1 -1 0");
    EXPECT_STREQ(poly.GetSelectedKindWord(), "face");
    // With nothing selected the shown side's stellation face stands in.
    EXPECT_EQ(poly.GetSelectedFace(), poly.GetStellationFace());
    EXPECT_EQ(poly.GetSelectedEdgeOrFace(), poly.GetStellationFace());
}

TEST(PolySelection, VisibleStellationVertSkipsVerticesAtTheCentre)
{
    Poly poly;
    BuildTypedCube(poly);
    poly.GetVertStellation()->mSelectedFace = poly.GetNthVert(6);
    EXPECT_EQ(poly.GetVisibleStellationVert(), poly.GetNthVert(6));
    poly.GetNthVert(6)->mFlags |= FaceVert::kInf;
    poly.GetNthVert(7)->mFlags |= FaceVert::kInf;
    EXPECT_EQ(poly.GetVisibleStellationVert(), poly.GetNthVert(0));
}

TEST(PolySelection, NextCoincidentCyclesThroughTheRing)
{
    ScopedScriptedServices scope;
    Poly poly;
    std::vector<Face*> faces;
    for (int i = 0; i < 4; ++i)
        faces.push_back(MakePolygonFace(poly, StarPolygon(3 + i, 1, 1.0, 1.0), {0, 0, 1}, {0, 0, 1}));
    faces[3]->mCentre = Vec3D{0, 0, 2};  // alone
    AddFaceType(poly, false, {faces[0], faces[1], faces[2], faces[3]}, 1);
    FindCoplanarFaces(poly.mFaces);
    ASSERT_EQ(faces[0]->GetRingSize(), 3);

    // Nothing of the ring selected: the last member met without Skip, walking from the element.
    faces[2]->mFlags |= FaceVert::kSkip;
    poly.SelectNextCoincident(faces[0]);
    EXPECT_EQ(poly.mSelectedFace, faces[1]);
    // Then round the ring from the selected member.
    poly.SelectNextCoincident(faces[0]);
    EXPECT_EQ(poly.mSelectedFace, faces[2]);
    poly.SelectNextCoincident(faces[1]);
    EXPECT_EQ(poly.mSelectedFace, faces[0]);
    // An element alone selects itself, also when it is marked Skip.
    faces[3]->mFlags |= FaceVert::kSkip;
    poly.SelectNextCoincident(faces[3]);
    EXPECT_EQ(poly.mSelectedFace, faces[3]);
}

TEST(PolySelection, ClearingTheCurrentModelsSelectionEverywhere)
{
    ScopedScriptedServices scope;
    SelectionShell shell;
    ScopedShell installed(&shell);
    Document doc;
    Poly& poly = doc.Current();
    BuildTypedCube(poly);
    poly.mGroup = SymGroup::Create(SymGroup::kOctahedral);
    Stellation* faces = poly.GetFaceStellation();
    faces->SetModel3D(std::make_unique<Model3D>(&poly, faces));
    Edge3D meshEdge;
    faces->PeekModel3D()->SelectEdge(&meshEdge);

    // Selecting an axis drops the element selection.
    poly.SelectFace(poly.GetNthFace(1), false);
    poly.mGroup->SelectAxis(0);
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(SymGroup::SelectedAxis(), &poly.mGroup->mAxisSets[0].mAxes[0]);
    EXPECT_EQ(faces->PeekModel3D()->mSelectedEdge, nullptr);

    // And selecting a face drops the axis.
    poly.SelectFace(poly.GetNthFace(1), false);
    EXPECT_EQ(SymGroup::SelectedAxis(), nullptr);
    EXPECT_EQ(poly.mSelectedFace, poly.GetNthFace(1));

    faces->PeekModel3D()->SelectEdge(&meshEdge);
    ClearSelection();
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(faces->PeekModel3D()->mSelectedEdge, nullptr);
}

TEST(PolySelection, ShowingTheDualMovesTheSelectionAcross)
{
    ScopedScriptedServices scope;
    SelectionShell shell;
    ScopedShell installed(&shell);
    Poly poly;
    BuildTypedCube(poly);
    poly.GetVertStellation()->mSelectedFace = poly.GetNthVert(3);
    poly.SelectFace(poly.GetNthFace(2), false);
    poly.mSectionPolygons = new SectionPolygon(3);
    shell.calls.clear();

    poly.SetShowDual(true);
    EXPECT_TRUE(poly.mShowDual);
    EXPECT_EQ(poly.mSectionPolygons, nullptr);
    // The dual's own face, as a face: the vertex stellation's.
    EXPECT_EQ(poly.mSelectedFace, poly.GetNthVert(3));
    EXPECT_EQ(scope.services.statusText, "Selected dual face 4 (type 1)");
    EXPECT_EQ(shell.Count("CrossSection"), 1);
    EXPECT_EQ(shell.Count("Title 16385"), 1);
    EXPECT_EQ(shell.Count("Fit 16385"), 1);
    EXPECT_EQ(shell.Count("Title 2"), 0);
    EXPECT_EQ(shell.Count("Info 7"), 1);

    // No change, nothing done.
    shell.calls.clear();
    poly.SetShowDual(true);
    EXPECT_TRUE(shell.calls.empty());

    // Back, without a selection: only the views and the tree hear of it.
    poly.ClearSelection();
    shell.calls.clear();
    poly.SetShowDual(false);
    EXPECT_FALSE(poly.mShowDual);
    EXPECT_EQ(poly.mSelectedFace, nullptr);
    EXPECT_EQ(shell.Count("Info 7"), 1);
}

TEST(PolySelection, TransitionTiming)
{
    Poly poly;
    poly.mTransition.duration = 4.0;
    poly.mTransitionEnd = 10.0;
    EXPECT_TRUE(poly.InTransition());
    EXPECT_DOUBLE_EQ(poly.GetTransitionLength(), 4.0);
    EXPECT_DOUBLE_EQ(poly.GetTransitionStart(), 6.0);

    // Halfway through, twice as long from here on: the part played stays a half.
    poly.RetimeTransition(8.0, 8.0);
    EXPECT_DOUBLE_EQ(poly.mTransitionEnd, 12.0);
    EXPECT_DOUBLE_EQ(poly.GetTransitionLength(), 8.0);
    EXPECT_DOUBLE_EQ((8.0 - poly.GetTransitionStart()) / poly.GetTransitionLength(), 0.5);
    // Not begun yet: the same start.
    poly.RetimeTransition(1.0, 2.0);
    EXPECT_DOUBLE_EQ(poly.GetTransitionStart(), 4.0);
    EXPECT_DOUBLE_EQ(poly.mTransitionEnd, 6.0);
    // Over: left alone.
    poly.RetimeTransition(7.0, 100.0);
    EXPECT_DOUBLE_EQ(poly.mTransitionEnd, 6.0);

    // An unset length is the Default occasion's.
    poly.mTransition.duration = TransitionSettings::kUnset;
    EXPECT_DOUBLE_EQ(poly.GetTransitionLength(), GetTransitionOccasions()[0].GetDuration());
    poly.mTransitionEnd = -1.0;
    EXPECT_FALSE(poly.InTransition());
}

TEST(PolySelection, RetargetedScalePassesThroughItsPresentValue)
{
    Poly poly;
    poly.mTransition.duration = 4.0;
    poly.mTransitionEnd = 10.0;
    poly.mScaleStart = 1.0;
    poly.mScaleTarget = 3.0;
    const double t = 7.0;
    poly.mDisplayScale = 1.0 + 2.0 * (t - 6.0) / 4.0;  // where the animation is at t
    poly.RetargetScale(t, 0.5);
    EXPECT_DOUBLE_EQ(poly.mScaleTarget, 0.5);
    const double atT = poly.mScaleStart + (poly.mScaleTarget - poly.mScaleStart) * (t - 6.0) / 4.0;
    EXPECT_NEAR(atT, poly.mDisplayScale, 1e-12);
    // Before the start only the target changes.
    poly.mScaleStart = 1.0;
    poly.RetargetScale(5.0, 2.0);
    EXPECT_DOUBLE_EQ(poly.mScaleStart, 1.0);
    EXPECT_DOUBLE_EQ(poly.mScaleTarget, 2.0);
}

TEST(PolySelection, ExplodePhases)
{
    struct Case
    {
        int type;
        bool incoming, exploding;
    };
    const Case cases[] = {{7, false, true}, {7, true, true}, {5, false, true}, {5, true, false},
                          {6, true, true},  {6, false, false}, {4, false, false}, {2, true, false}};
    for (const Case& c : cases)
    {
        Poly poly;
        poly.mTransition.type = c.type;
        poly.mIncoming = c.incoming;
        EXPECT_EQ(poly.IsExplodePhase(), c.exploding) << c.type << " " << c.incoming;
    }
    // The Default occasion's type stands for an unset one.
    TransitionSettings& defaults = GetTransitionOccasions()[0];
    const int saved = defaults.type;
    defaults.type = 7;
    Poly poly;
    poly.mTransition.type = TransitionSettings::kTypeDefault;
    EXPECT_TRUE(poly.IsExplodePhase());
    defaults.type = 2;
    EXPECT_FALSE(poly.IsExplodePhase());
    defaults.type = saved;
}
