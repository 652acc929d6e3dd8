// The stellation panes: what they draw, their titles and sizes, the cell commands of the Stellation
// menu, and a model too complex to stellate.

#include "document/UndoList.h"
#include "kernel/UndoKinds.h"
#include "kernel/UserServices.h"
#include "mesh/Model3D.h"
#include "mesh/Vert3D.h"
#include "model/ConvexHull.h"
#include "model/CreatePoly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "stellation/Stellation.h"
#include "view/PaneFixture.h"

#include <cmath>
#include <string>

namespace
{
using StellationPaneTest = PaneFixture;

// The mesh corner farthest from the centre, at the model's display scale.
Vec3D OuterCorner(Poly& poly, Stellation* stellation)
{
    Vec3D best{0, 0, 0};
    if (Model3D* mesh = stellation->GetModel3D(false))
        for (int i = 0; i < mesh->GetNumVerts(); ++i)
            if (Vec3Length(mesh->GetVert(i)->mPos) > Vec3Length(best))
                best = mesh->GetVert(i)->mPos;
    Vec3Scale(best, best, poly.mDisplayScale);
    return best;
}

int CountLit(const PaneFrame& frame)
{
    return frame.CountLit(0, 0, frame.width, frame.height);
}

TEST_F(StellationPaneTest, TheBaseStellationPaneShowsTheModelThenItsStellation)
{
    Poly* poly = OpenModel("Icosahedron");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    const std::string baseExport = pane->GetExportTitle();
    const int baseLit = CountLit(DrawAndRead(pane));
    const wxSize size = pane->GetCanvas()->GetClientSize();
    const std::string basePick = pane->IdentifyAt(size.x / 2, size.y / 2);
    ASSERT_EQ(basePick.rfind("Selected base-face ", 0), 0u) << basePick;

    pane->SetViewType(kViewTypeUniStellation, false);
    EXPECT_STREQ(pane->GetPlaceholderText(), "");
    // At the original polyhedron the pane is the model itself.
    EXPECT_EQ(pane->GetExportTitle(), baseExport);
    const int stellationLit = CountLit(DrawAndRead(pane));
    EXPECT_GT(stellationLit, 0);
    EXPECT_NEAR(stellationLit, baseLit, baseLit / 50);
    // A facelet picked there names the same face.
    const std::string picked = pane->IdentifyAt(size.x / 2, size.y / 2);
    EXPECT_EQ(picked.rfind(basePick + " facelet ", 0), 0u) << picked;

    // W26 opens the icosahedron stellated: twenty three-sided spikes.
    mDocument->OpenModelByName("W26");
    mDocument->FinishAllTransitions();
    poly = GetCurrentPoly();
    Stellation* stellation = pane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    EXPECT_FALSE(stellation->IsOriginal());
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);
    UpdateAllViewTitles();
    EXPECT_EQ(pane->GetTitle().rfind("Stellation of ", 0), 0u) << pane->GetTitle();
    EXPECT_EQ(pane->GetExportTitle().rfind("Stellation of ", 0), 0u);
    EXPECT_NEAR(pane->GetViewRadius(0), stellation->GetRadius(), 1e-9);

    // Well inside a spike, on the line from the centre to its tip, the pane is covered; on the
    // icosahedron that point lies outside.
    const Frame frame = DrawAndRead(pane);
    Vec3D inside = OuterCorner(*poly, stellation);
    Vec3Scale(inside, inside, 0.9);
    // The spikes stand on the faces, whose planes lie at the icosahedron's inradius.
    const double inradius = std::sqrt(3.0) * (3.0 + std::sqrt(5.0)) / 12.0 / std::sin(2.0 * kPi / 5.0);
    ASSERT_GT(Vec3Length(inside), 1.05 * inradius * poly->mDisplayScale);
    int x = 0, y = 0;
    ProjectToPixel(pane, inside, x, y);
    EXPECT_TRUE(frame.Covered(x, y));
    EXPECT_GT(pane->GetTextSize(), 0.0);
}

TEST_F(StellationPaneTest, TheCellCommandsAreNamedAfterTheAxesAndUndoAsOneStep)
{
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeUniStellation, false);
    EXPECT_EQ(GetCellsAboveAxisMenuText(GetCurrentPoly(), 0), "Select All Cells Above 5-fold Axis");
    EXPECT_TRUE(CanSelectCellsAboveAxis(*pane, 2));

    ClearUndoList();
    Stellation* stellation = pane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    const int before = stellation->GetNumIncludedCells();
    wxCommandEvent command(wxEVT_MENU, kCmdSelectUnsupportableCells);
    pane->ProcessWindowEvent(command);
    EXPECT_NE(stellation->GetNumIncludedCells(), before);
    EXPECT_EQ(UndoMenuText(false), "&Undo Stellation Change");
    UndoList::Undo();
    EXPECT_EQ(stellation->GetNumIncludedCells(), before);
    EXPECT_TRUE(stellation->IsOriginal());
    UndoList::Redo();
    EXPECT_NE(stellation->GetNumIncludedCells(), before);

    // The dual side's pane records the dual's stellation.
    pane->SetViewType(kViewTypeDualStellation, false);
    wxCommandEvent axis(wxEVT_MENU, kCmdCellsAboveAxis1);
    pane->ProcessWindowEvent(axis);
    EXPECT_EQ(UndoMenuText(false), "&Undo Dual Stellation Change");

    // A group with two axis classes has no third item.
    Poly* twoClasses = nullptr;
    for (const char* name : {"Square Antiprism", "Pentagonal Antiprism", "Square Pyramid", "Pentagonal Pyramid"})
    {
        Poly* poly = OpenModel(name);
        if (poly && poly->GetSymGroup() && poly->GetSymGroup()->mNumAxisSets == 2)
        {
            twoClasses = poly;
            break;
        }
    }
    ASSERT_NE(twoClasses, nullptr);
    pane->SetViewType(kViewTypeUniStellation, false);
    EXPECT_TRUE(CanSelectCellsAboveAxis(*pane, 1));
    EXPECT_FALSE(CanSelectCellsAboveAxis(*pane, 2));
    ClearUndoList();
}

TEST_F(StellationPaneTest, AModelTooComplexToStellateIsShownUnstellatedAndAskedAboutOnce)
{
    // Without a group every face of the hull of random points is a type of its own.
    std::vector<Vec3D> points;
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return double(seed >> 8) / double(1u << 24) * 2.0 - 1.0;
    };
    while (points.size() < 400)
    {
        Vec3D p{next(), next(), next()};
        if (Vec3Normalize(p))
            points.push_back(p);
    }
    auto source = std::make_unique<SimplePoly>(int(points.size()), 0);
    for (size_t i = 0; i < points.size(); ++i)
        source->mVerts[i].SetPos(points[i]);
    std::unique_ptr<SimplePoly> hull = CreateConvexHull(source.get(), 0);
    ASSERT_NE(hull, nullptr);
    ASSERT_TRUE(SetModelFromSimplePoly(hull.get(), kUndoCreateNewModel, false, true));
    mDocument->FinishAllTransitions();
    ASSERT_GT(GetCurrentPoly()->GetFaceStellation()->GetComplexity(), kComplexityAsk);

    // Unstellated, a convex model is its own mesh: the pane shows it without building anything.
    CPolyView* pane = Pane(0);
    const int asked = mScripted.services.CountCalls("Question");
    pane->SetViewType(kViewTypeUniStellation, false);
    EXPECT_TRUE(DrawAndRead(pane).Covered(pane->GetViewport()[2] / 2, pane->GetViewport()[3] / 2));
    EXPECT_EQ(mScripted.services.CountCalls("Question"), asked);

    // The build asks first; declined, it is not asked about again for this model.
    mScripted.services.PushAnswer(1);  // Cancel
    EXPECT_EQ(pane->GetStellationUpTo(kStellationBuilt), nullptr);
    EXPECT_EQ(mScripted.services.CountCalls("Question"), asked + 1);
    EXPECT_EQ(pane->GetStellationUpTo(kStellationBuilt), nullptr);
    wxCommandEvent command(wxEVT_MENU, kCmdSelectUnsupportableCells);
    pane->ProcessWindowEvent(command);
    EXPECT_TRUE(DrawAndRead(pane).Covered(pane->GetViewport()[2] / 2, pane->GetViewport()[3] / 2));
    EXPECT_EQ(mScripted.services.CountCalls("Question"), asked + 1);
    EXPECT_TRUE(IsUndoListEmpty() || UndoMenuText(false) != "&Undo Stellation Change");

    // Another model starts afresh.
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    EXPECT_NE(pane->GetStellationUpTo(kStellationBuilt), nullptr);
    ClearUndoList();
}

TEST_F(StellationPaneTest, AWenningerStellationOffersTheStellationPane)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, false);
    pane->Activate(true);

    // Cancel opens nothing.
    mScripted.services.PushAnswer(kIdCancel);
    mDocument->OpenModelByName("W19");
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 6);
    EXPECT_EQ(pane->GetViewType(), kViewTypePoly);

    // Yes switches the active pane, and the octahedron opens stellated.
    mScripted.services.PushAnswer(kIdYes);
    mDocument->OpenModelByName("W19");
    mDocument->FinishAllTransitions();
    EXPECT_EQ(pane->GetViewType(), kViewTypeUniStellation);
    EXPECT_EQ(GetCurrentPoly()->mFaces.mCount, 8);
    Stellation* stellation = pane->GetStellationUpTo(kStellationBuilt);
    ASSERT_NE(stellation, nullptr);
    EXPECT_FALSE(stellation->IsOriginal());
    ClearUndoList();
}
}  // namespace
