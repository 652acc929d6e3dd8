#include "Polytope4DFixtures.h"
#include "RegularPolytopes4D.h"

#include "kernel/RecordingSceneDrawer.h"
#include "kernel/SceneParameters.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Projection4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
// Keeps the eye distance and the cell shrink as they were; draws into a recording drawer.
class Polytope4DDrawTest : public Polytope4DTestBase
{
protected:
    void SetUp() override
    {
        Polytope4DTestBase::SetUp();
        mEye = GetEyeDistance4D();
        mShrink = GetSceneParameters().shrink4D;
        SetEyeDistance4D(1.1);
        mPolytope = std::make_unique<Polytope4D>();
        AddSpec(*mPolytope, TesseractSpec(0.5, false));
        ASSERT_TRUE(mPolytope->FinishPolytope());
        drawer.view4D = &view;
    }
    void TearDown() override
    {
        SetEyeDistance4D(mEye);
        GetSceneParameters().shrink4D = mShrink;
        Polytope4DTestBase::TearDown();
    }

    void Draw(double shrink)
    {
        GetSceneParameters().shrink4D = shrink;
        drawer.calls.clear();
        ScopedSceneDrawer scope(&drawer);
        mPolytope->Draw(1.0);
    }

    Cell4D* CellAlong(const Vec4D& normal)
    {
        for (Element4D* e = mPolytope->mFirstCell; e; e = e->next)
            if (Vec4Equal(Element4D::AsCell(e)->mPlane.n, normal, 1e-9))
                return Element4D::AsCell(e);
        return nullptr;
    }

    std::vector<const RecordingSceneDrawer::Call*> CallsNamed(const std::string& name) const
    {
        std::vector<const RecordingSceneDrawer::Call*> out;
        for (const RecordingSceneDrawer::Call& c : drawer.calls)
            if (c.name == name)
                out.push_back(&c);
        return out;
    }

    std::unique_ptr<Polytope4D> mPolytope;
    RecordingSceneDrawer drawer;
    View4D view;  // looking down w, in perspective

private:
    double mEye = 1.1;
    double mShrink = 0.3;
};

// AddTriangle values: 9 corner coordinates, the normal, r, g, b, a, flags, item type, item index.
constexpr size_t kRgba = 12;
constexpr size_t kItemType = 17;
constexpr size_t kItemIndex = 18;
}  // namespace

TEST_F(Polytope4DDrawTest, WholeCellsMixTheColoursOfASharedSquare)
{
    SetCellHidingMode4D(kCellHidingNone);
    Cell4D* red = CellAlong(Vec4D{1, 0, 0, 0});
    Cell4D* blue = CellAlong(Vec4D{0, 0, 0, 1});
    ASSERT_TRUE(red && blue);
    for (Element4D* e = mPolytope->mFirstCell; e; e = e->next)
        if (e != red && e != blue)
            e->mFlags |= Element4D::kHidden;
    red->mColor = 0x0000FF;
    blue->mColor = 0xFF0000;
    red->SetOpacity(0.5f);
    blue->SetOpacity(0.5f);
    Draw(1.0);

    // Eleven squares of two triangles: the shared one once, mixed; the others in their cell's colour.
    const auto triangles = CallsNamed("AddTriangle");
    ASSERT_EQ(triangles.size(), 22u);
    int mixed = 0, redOnly = 0, blueOnly = 0;
    for (const auto* t : triangles)
    {
        const double* c = &t->values[kRgba];
        if (std::fabs(c[3] - 0.75) < 1e-6)
        {
            EXPECT_NEAR(c[0], 0.5, 1e-6);
            EXPECT_NEAR(c[1], 0.0, 1e-6);
            EXPECT_NEAR(c[2], 0.5, 1e-6);
            ++mixed;
        }
        else
        {
            EXPECT_NEAR(c[3], 0.5, 1e-6);
            redOnly += c[0] == 1.0 && c[2] == 0.0 ? 1 : 0;
            blueOnly += c[0] == 0.0 && c[2] == 1.0 ? 1 : 0;
        }
    }
    EXPECT_EQ(mixed, 2);
    EXPECT_EQ(redOnly, 10);
    EXPECT_EQ(blueOnly, 10);
}

TEST_F(Polytope4DDrawTest, FaceLabelsNameTheFaceWithItsCells)
{
    SetCellHidingMode4D(kCellHidingNone);
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticFaceNumbers;
    Draw(1.0);
    const Face4D* face = mPolytope->GetFace(11);
    ASSERT_TRUE(face);
    ASSERT_EQ(face->mNumCells, 2);
    const std::string expected = std::to_string(Cell4D::GetNumber(face->mCells[0])) + "," +
                                 std::to_string(Cell4D::GetNumber(face->mCells[1])) + "-12";
    std::set<std::string> labels;
    for (const auto* call : CallsNamed("DrawSceneText"))
        labels.insert(call->text);
    EXPECT_EQ(labels.size(), 24u);
    EXPECT_TRUE(labels.count(expected)) << expected;

    // Shrunk cells label each face of each cell: 8 x 6 of them, "cell-face".
    Draw(0.3);
    EXPECT_EQ(CallsNamed("DrawSceneText").size(), 48u);
    const std::string cellFace =
        std::to_string(Cell4D::GetNumber(face->mCells[0])) + "-" + std::to_string(Face4D::GetNumber(face));
    bool found = false;
    for (const auto* call : CallsNamed("DrawSceneText"))
        found = found || call->text == cellFace;
    EXPECT_TRUE(found) << cellFace;
}

TEST_F(Polytope4DDrawTest, ShrunkCellsPickedByNameAroundTheirCentres)
{
    // At start the front cell is hidden: seven cubes of six squares.
    SetCellHidingMode4D(kCellHidingFront);
    view.pickMask = kPick4DCells;
    drawer.picking = true;
    Draw(0.3);
    const auto triangles = CallsNamed("AddTriangle");
    ASSERT_EQ(triangles.size(), 7u * 12u);
    const Cell4D* farCell = CellAlong(Vec4D{0, 0, 0, -1});
    const Cell4D* nearCell = CellAlong(Vec4D{0, 0, 0, 1});
    ASSERT_TRUE(farCell && nearCell);
    // The far cube's centre projects to the origin: its corners sit at 0.3 of its projected corners.
    const double corner = 0.3 * 0.5 * std::sqrt(0.21) / 1.6;
    std::set<int> named;
    for (const auto* t : triangles)
    {
        EXPECT_EQ(t->values[kItemType], 8.0);
        named.insert(int(t->values[kItemIndex]));
        if (int(t->values[kItemIndex]) != farCell->mIndex)
            continue;
        for (int k = 0; k < 9; ++k)
            EXPECT_NEAR(std::fabs(t->values[size_t(k)]), corner, 1e-12);
    }
    EXPECT_EQ(named.size(), 7u);
    EXPECT_FALSE(named.count(nearCell->mIndex));

    // Hide Back-Cells leaves the near cell alone.
    SetCellHidingMode4D(kCellHidingBack);
    Draw(0.3);
    EXPECT_EQ(CallsNamed("AddTriangle").size(), 12u);
}

TEST_F(Polytope4DDrawTest, NoShrinkDrawsOnlyVerticesEdgesAndVertexLabels)
{
    SetCellHidingMode4D(kCellHidingNone);
    ElementDisplayOptions& options = GetElementDisplayOptions();
    options.mShowVerts = true;
    options.mShowEdges = true;
    options.mDiagnosticLabelFlags = kDiagnosticFaceNumbers | kDiagnosticVertexNumbers;
    Draw(0.0);
    EXPECT_EQ(CallsNamed("AddTriangle").size(), 0u);
    EXPECT_EQ(CallsNamed("Line").size(), 32u);
    EXPECT_EQ(CallsNamed("Point").size(), 16u);
    std::set<std::string> labels;
    for (const auto* call : CallsNamed("DrawSceneText"))
        labels.insert(call->text);
    EXPECT_EQ(labels.size(), 16u);
    EXPECT_TRUE(labels.count("1") && labels.count("16"));

    // With Hide Back-Cells, only the near cube's corners and edges are left.
    SetCellHidingMode4D(kCellHidingBack);
    Draw(0.0);
    EXPECT_EQ(CallsNamed("Point").size(), 8u);
    EXPECT_EQ(CallsNamed("Line").size(), 12u);
}

TEST_F(Polytope4DDrawTest, PickingNamesVerticesAndEdgesThatAreNotShown)
{
    SetCellHidingMode4D(kCellHidingNone);
    view.pickMask = kPick4DVerts | kPick4DEdgeLines;
    drawer.picking = true;
    Draw(0.3);
    int verts = 0, edges = 0;
    for (const auto* call : CallsNamed("SetGLSelectionItem"))
    {
        verts += call->values[0] == 30.0 ? 1 : 0;
        edges += call->values[0] == 21.0 ? 1 : 0;
    }
    EXPECT_EQ(verts, 16);
    EXPECT_EQ(edges, 32);
    // No labels crowd a pick.
    EXPECT_EQ(CallsNamed("DrawSceneText").size(), 0u);
}

TEST_F(Polytope4DDrawTest, SelectedEdgeAndVertexOverlays)
{
    Edge4D* edge = mPolytope->GetEdge(0);
    Vert4D* vert = mPolytope->GetVert(0);
    GetSelection4D().mEdge = edge;
    GetSelection4D().mVert = vert;
    drawer.calls.clear();
    {
        ScopedSceneDrawer scope(&drawer);
        mPolytope->DrawSelectedEdge(1.0);
        mPolytope->DrawSelectedVertex(1.0);
    }
    // The edge's two ends, the vertex, and a stroke from each of the vertex's four edges.
    EXPECT_EQ(CallsNamed("Point").size(), 3u);
    EXPECT_EQ(CallsNamed("Line").size(), 1u + 4u);
    EXPECT_TRUE(drawer.lighting);

    // Another polytope's selection draws nothing here.
    Polytope4D other;
    drawer.calls.clear();
    {
        ScopedSceneDrawer scope(&drawer);
        other.DrawSelectedEdge(1.0);
        other.DrawSelectedVertex(1.0);
        other.DrawSelectedCell(1.0);
        other.DrawSelectedFace(1.0);
    }
    EXPECT_TRUE(drawer.calls.empty());
}

TEST_F(Polytope4DDrawTest, SphereSizeCount)
{
    EXPECT_EQ(Polytope4D::GetSphereSizeCount(32), 11);  // 32^(2/3) = 10.08
    EXPECT_EQ(Polytope4D::GetSphereSizeCount(1), 2);
    EXPECT_EQ(Polytope4D::GetSphereSizeCount(0), 1);
}
