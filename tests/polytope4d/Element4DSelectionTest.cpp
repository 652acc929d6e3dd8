#include "Polytope4DFixtures.h"

#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Records the Model Info rows and the sphere and cylinder re-applies besides the redraw marks.
class SelectionShell : public RecordingShell
{
public:
    void SelectInfoElementItem(int kind, int index, int flag) override
    {
        calls.push_back("Item " + std::to_string(kind) + " " + std::to_string(index) + " " + std::to_string(flag));
    }
    void ApplySphereCylinderSettings() override { calls.push_back("SphereCylinder"); }
    void UpdatePivotOfLastActiveView() override { calls.push_back("Pivot"); }
};

class Element4DSelectionTest : public Polytope4DTestBase
{
protected:
    void SetUp() override
    {
        Polytope4DTestBase::SetUp();
        mSavedScale = GetUnitSettings().mScale;
        shell.calls.clear();  // the unit settings, made on first use, mark the views
    }
    void TearDown() override
    {
        GetUnitSettings().mScale = mSavedScale;
        Polytope4DTestBase::TearDown();
    }

    SelectionShell shell;
    ScopedShell scopedShell{&shell};
    ScopedScriptedServices scripted;

private:
    double mSavedScale = 0.0;
};

// Appends a type record holding the element to the list.
template <class Type, class Elem>
void AddType(Type*& first, Type*& last, Elem* member)
{
    Type* type = new Type;
    ListAppend(type, first, last);
    if (member)
        type->AddMember(member);
}
}  // namespace

TEST_F(Element4DSelectionTest, SelectingAVertexSelectsTheDualCellToo)
{
    LinkedPair pair = MakeLinkedPair();
    Polytope4D& base = *pair.base;
    AddType(base.mFirstVertType, base.mLastVertType, base.GetVert(0));
    AddType(base.mFirstVertType, base.mLastVertType, base.GetVert(2));
    Vert4D* vert = base.GetVert(2);

    Vert4D::Select(vert);
    const Selection4D& sel = GetSelection4D();
    EXPECT_EQ(sel.mVert, vert);
    EXPECT_EQ(sel.mCell, pair.dual->GetCell(2));
    EXPECT_EQ(base.mCurrentVert, vert);
    EXPECT_EQ(pair.dual->mCurrentCell, pair.dual->GetCell(2));
    EXPECT_EQ(scripted.services.statusText, "Selected base vertex 3 (type 2, 4 edges)");
    EXPECT_EQ(shell.Count("Item 3 1 0"), 1);
    EXPECT_EQ(shell.Count("SphereCylinder"), 1);

    // A dual's vertex shows as such and brings the base's cell.
    Vert4D::Select(pair.dual->GetVert(4));
    EXPECT_EQ(sel.mCell, base.GetCell(4));
    EXPECT_EQ(scripted.services.statusText, "Selected dual vertex 5 (type 0, 4 edges)");
    EXPECT_EQ(shell.Count("Item 3 -1 1"), 1);

    Vert4D::Select(nullptr);
    EXPECT_EQ(sel.mVert, nullptr);
    EXPECT_EQ(sel.mCell, nullptr);

    // Without a dual only the vertex is selected.
    Polytope4D alone;
    AddSimplex(alone, 0.0, 0x0000FF);
    Vert4D::Select(alone.GetVert(1));
    EXPECT_EQ(sel.mVert, alone.GetVert(1));
    EXPECT_EQ(sel.mCell, nullptr);
    EXPECT_EQ(scripted.services.statusText, "Selected base vertex 2 (type 0, 0 edges)");
}

TEST_F(Element4DSelectionTest, FaceAndEdgeSelectionTexts)
{
    LinkedPair pair = MakeLinkedPair();
    Polytope4D& base = *pair.base;
    GetUnitSettings().mScale = 2.0;
    AddType(base.mFirstFaceType, base.mLastFaceType, base.GetFace(3));
    AddType(base.mFirstEdgeType, base.mLastEdgeType, static_cast<Edge4D*>(nullptr));
    AddType(base.mFirstEdgeType, base.mLastEdgeType, base.GetEdge(0));
    const Selection4D& sel = GetSelection4D();

    // Face 3 is the triangle (0, 2, 3): cells 1 and 4 leave none of its corners out.
    Vert4D::Select(base.GetVert(0));
    Face4D::Select(base.GetFace(3));
    EXPECT_EQ(sel.mFace, base.GetFace(3));
    EXPECT_EQ(sel.mVert, nullptr);
    EXPECT_EQ(sel.mCell, nullptr);
    EXPECT_EQ(base.mCurrentFace, base.GetFace(3));
    EXPECT_EQ(scripted.services.statusText, "Selected base face 4 (type 1, 3-gon, cells: 2, 5)");
    EXPECT_EQ(shell.Count("Item 1 0 0"), 1);

    ASSERT_EQ(base.GetCell(4)->mFaces[2], base.GetFace(3));
    base.GetCell(4)->SetFace(2, nullptr);
    Face4D::Select(base.GetFace(3));
    EXPECT_EQ(scripted.services.statusText, "Selected base face 4 (type 1, 3-gon, cells: 2, 0)");

    // Edge 0 joins (1, 0, 0, 0) and (0, 1, 0, 0): length sqrt 2, shown times the model scale.
    Edge4D::Select(base.GetEdge(0));
    EXPECT_EQ(sel.mEdge, base.GetEdge(0));
    EXPECT_EQ(sel.mFace, nullptr);
    EXPECT_EQ(base.mCurrentEdge, base.GetEdge(0));
    EXPECT_EQ(scripted.services.statusText, "Selected base edge 1 (type 2, 3 faces), length 2.82843");
    EXPECT_EQ(shell.Count("Item 2 1 0"), 1);
    EXPECT_EQ(shell.Count("SphereCylinder"), 2);  // the vertex and the edge

    // Edge 9 joins (-1, -1, -1, 0) and (0, 0, 0, 2): length sqrt 7.
    Edge4D::Select(pair.dual->GetEdge(9));
    EXPECT_EQ(scripted.services.statusText, "Selected dual edge 10 (type 0, 3 faces), length 5.2915");
    Face4D::Select(nullptr);
    EXPECT_EQ(sel.mEdge, nullptr);
    EXPECT_EQ(shell.Count("Item 1 -1 0"), 1);
}

TEST_F(Element4DSelectionTest, MakeCurrentFollowsTheSelection)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    p.mCurrentCell = p.GetCell(0);
    p.mCurrentVert = p.GetVert(0);

    // Nothing selected: the element becomes current and the views are marked once.
    Cell4D::MakeCurrent(p.GetCell(3));
    EXPECT_EQ(p.mCurrentCell, p.GetCell(3));
    EXPECT_EQ(GetSelection4D().mCell, nullptr);
    EXPECT_EQ(shell.Count("InvalidateAll"), 1);
    Cell4D::MakeCurrent(p.GetCell(3));
    EXPECT_EQ(shell.Count("InvalidateAll"), 1);
    Cell4D::MakeCurrent(nullptr);
    EXPECT_EQ(p.mCurrentCell, p.GetCell(3));

    Vert4D::MakeCurrent(p.GetVert(4));
    EXPECT_EQ(p.mCurrentVert, p.GetVert(4));
    EXPECT_EQ(GetSelection4D().mVert, nullptr);

    // While one is selected, making another current selects it.
    Cell4D::Select(p.GetCell(1));
    Cell4D::MakeCurrent(p.GetCell(2));
    EXPECT_EQ(GetSelection4D().mCell, p.GetCell(2));
    EXPECT_EQ(p.mCurrentCell, p.GetCell(2));
    EXPECT_EQ(scripted.services.statusText, "Selected base cell 3 (type 0, 4-hedron)");

    Vert4D::Select(p.GetVert(0));
    Vert4D::MakeCurrent(p.GetVert(3));
    EXPECT_EQ(GetSelection4D().mVert, p.GetVert(3));
    EXPECT_EQ(scripted.services.statusText, "Selected base vertex 4 (type 0, 0 edges)");
}
