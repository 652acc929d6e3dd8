// The shell's calls from core code that the model panes answer: a type switch, the move between 3D
// and 4D models, and the names a converted model takes.

#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"
#include "view/PaneFixture.h"

#include <memory>

namespace
{
class ShellHooksTest : public PaneFixture
{
};
}  // namespace

TEST_F(ShellHooksTest, SetViewTypeSwitchesAPaneAndItsTitle)
{
    ASSERT_NE(OpenModel("3.3.3.3.3"), nullptr);
    CPolyView* pane = Pane(0);
    ASSERT_NE(pane, nullptr);
    pane->Activate(false);
    EXPECT_TRUE(mShell.SetViewType(nullptr, kViewTypeUniStellation, 0)) << "null: the active pane";
    EXPECT_EQ(pane->GetViewType(), kViewTypeUniStellation);
    EXPECT_EQ(pane->GetTitle(), "Stellation of Icosahedron");
    EXPECT_TRUE(mShell.SetViewType(pane, kViewTypeDual, 0));
    EXPECT_EQ(pane->GetTitle(), "Dodecahedron");

    EXPECT_FALSE(mShell.SetViewType(pane, 0x7777, 0)) << "no view type";
    EXPECT_EQ(pane->GetViewType(), kViewTypeDual);
}

// Entering 4D, a flat pane that shows a 4D model's cells in 3D turns depth testing on, and the
// mouse modes that need a 3D model end; leaving, the pane is flat again and other modes stay.
TEST_F(ShellHooksTest, AModelEnteringOrLeaving4DSwitchesFlatPanesAndThe3DOnlyMouseModes)
{
    ASSERT_NE(OpenModel("3.3.3.3.3"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeFace, false);
    ASSERT_FALSE(pane->Is3D());
    Poly* poly = GetCurrentPoly();

    for (const int mode : {kMouseModeCutEdges, kMouseModeFaceting, kMouseModeImage, kMouseModeMeasure})
    {
        SCOPED_TRACE(mode);
        CPolyView::SetMouseMode(mode);
        poly->SetPolytope4D(std::make_unique<Polytope4D>(), 0);
        EXPECT_TRUE(pane->Is3D());
        EXPECT_EQ(GetMouseMode(), mode == kMouseModeMeasure ? mode : kMouseModeSelect);
        poly->SetPolytope4D(nullptr, 0);
        EXPECT_FALSE(pane->Is3D());
    }
    CPolyView::SetMouseMode(kMouseModeSelect);
}

// A model converted for an operation is named as the panes name it: a model typed as a vertex
// configuration is called by it, its dual after it. A model built aside keeps its own names.
TEST_F(ShellHooksTest, AConvertedModelTakesTheNamesThePanesShow)
{
    ASSERT_TRUE(mDocument->OpenModelByName("4.4.8/3"));
    mDocument->FinishAllTransitions();
    Poly* poly = GetCurrentPoly();
    ASSERT_EQ(poly->mLibraryEntry, nullptr);
    std::unique_ptr<SimplePoly> simple = poly->CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    ASSERT_NE(simple, nullptr);
    EXPECT_EQ(simple->mName, "4.4.8/3");
    EXPECT_EQ(simple->mDualName, "D-4.4.8/3");
    std::unique_ptr<SimplePoly> dual = poly->CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr);
    ASSERT_NE(dual, nullptr);
    EXPECT_EQ(dual->mName, "D-4.4.8/3");
    EXPECT_EQ(dual->mDualName, "4.4.8/3");

    Poly aside;
    aside.mBaseName = "Aside";
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("4.4.4", false));
    ASSERT_TRUE(aside.PrepareFromTemplate(&templ, 0));
    aside.mBaseName = "Aside";
    std::unique_ptr<SimplePoly> other = aside.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->mName, "Aside");
}
