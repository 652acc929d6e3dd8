#include "mesh/Model3D.h"
#include "polytope4d/Polytope4D.h"
#include "ui/PaneLayout.h"
#include "view/PaneFixture.h"

#include <memory>
#include <string>

namespace
{
class ViewTypeSwitchTest : public PaneFixture
{
protected:
    // A 4D model whose polytope carries the flags; the views see it as the current model.
    Poly* Make4DModel(uint32_t polytopeFlags)
    {
        auto polytope = std::make_unique<Polytope4D>();
        polytope->mFlags |= polytopeFlags;
        Poly* poly = GetCurrentPoly();
        poly->SetPolytope4D(std::move(polytope), 0);
        return poly;
    }

    // Takes any pending fit and marks.
    static void Settle(CPolyView* pane)
    {
        pane->OnDraw();
        NewView::ClearRedrawFlags(pane);
    }
};

constexpr const char* kNetNotice =
    "To see nets for the model in the selected view\nfirst make it the new base model by clicking on\n"
    "the left-and-down arrow button on that view's\ntitle bar.  Then select a base model view.";

TEST_F(ViewTypeSwitchTest, TheSameTypeAgainChangesNothingUnlessADiagramMustRedrawIn3D)
{
    CPolyView* pane = Pane(0);
    ASSERT_EQ(pane->GetViewType(), kViewTypePoly);
    Settle(pane);
    NewView::SetMessage(pane, "kept");
    NewView::ClearRedrawFlags(pane);
    pane->SetViewType(kViewTypePoly, false);
    EXPECT_EQ(pane->GetMessage(), "kept");
    EXPECT_EQ(pane->GetPendingFit(), 0);
    EXPECT_EQ(pane->GetRedrawMarks() & NewView::kRedraw, 0);

    // A flat diagram of a 3D model stays as it is...
    pane->SetViewType(kViewTypeFace, false);
    ASSERT_FALSE(pane->Is3D());
    NewView::SetMessage(pane, "kept");
    pane->SetViewType(kViewTypeFace, false);
    EXPECT_EQ(pane->GetMessage(), "kept");
    EXPECT_FALSE(pane->Is3D());
    // ...and so does a flat pane that a 4D model's arrival has already turned to 3D.
    Make4DModel(0);
    EXPECT_TRUE(pane->Is3D());
    pane->SetViewType(kViewTypeFace, false);
    EXPECT_TRUE(pane->Is3D());
    EXPECT_EQ(pane->GetMessage(), "kept");
    // A pane that missed the move (its depth mode set aside) is applied again and draws in 3D.
    pane->SetDepthMode(false);
    pane->SetViewType(kViewTypeFace, false);
    EXPECT_TRUE(pane->Is3D());
    EXPECT_EQ(pane->GetMessage(), "");
}

TEST_F(ViewTypeSwitchTest, ActivatingABaseOrDualPaneShowsItsSideAndANeutralPaneKeepsIt)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout2);
    CPolyView* face = Pane(0);
    CPolyView* dual = Pane(1);
    ASSERT_NE(dual, nullptr);
    face->SetViewType(kViewTypeFace, false);
    dual->SetViewType(kViewTypeDual, false);
    Poly* poly = GetCurrentPoly();

    dual->Activate(false);
    EXPECT_TRUE(poly->mShowDual);
    face->Activate(false);
    EXPECT_TRUE(poly->mShowDual) << "a pane of either side leaves the side as it is";
    face->SetViewType(kViewTypePoly, false);
    EXPECT_FALSE(poly->mShowDual) << "the active pane became a base pane";
    dual->Activate(false);
    EXPECT_TRUE(poly->mShowDual);
}

TEST_F(ViewTypeSwitchTest, TheActivePaneTurningNeutralShowsTheOnlySideThatAPaneIsBoundTo)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout3Equal);
    Poly* poly = GetCurrentPoly();
    struct Case
    {
        const char* name;
        int other1, other2;
        bool showDualBefore;
        bool showDualAfter;
    };
    const Case kCases[] = {
        {"base and neutral panes", kViewTypePoly, kViewTypeVertexFigure, true, false},
        {"dual and neutral panes", kViewTypeDual, kViewTypeFace, false, true},
        {"panes of both sides", kViewTypePoly, kViewTypeDual, true, true},
        {"neutral panes only", kViewTypeFace, kViewTypeSlice, true, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        CPolyView* active = Pane(0);
        active->SetViewType(kViewTypeNet2D, false);
        Pane(1)->SetViewType(c.other1, false);
        Pane(2)->SetViewType(c.other2, false);
        active->Activate(false);
        poly->SetShowDual(c.showDualBefore);
        active->SetViewType(kViewTypeFacetDiagram, false);
        EXPECT_EQ(poly->mShowDual, c.showDualAfter);
    }
}

TEST_F(ViewTypeSwitchTest, MorphsAndTheFoldingNetTellTheirMouseGestures)
{
    CPolyView* pane = Pane(0);
    Settle(pane);
    pane->SetViewType(kViewTypeMorphSizing, false);
    EXPECT_EQ(pane->GetMessage(),
              "Ctrl+Left-drag --- Morph between model and dual\nCtrl+Right-click --- Morph to half-way point");
    EXPECT_EQ(pane->GetPendingFit(), 0) << "entering a morph keeps the camera";
    EXPECT_EQ(pane->GetTitle(), "Morph Duals by Sizing");

    // From one morph to the next: no new message, and the camera goes on.
    Settle(pane);
    pane->SetViewType(kViewTypeMorphTiltTris, false);
    EXPECT_EQ(pane->GetMessage(), "");
    EXPECT_EQ(pane->GetPendingFit(), 1);

    pane->SetViewType(kViewTypeNet3D, false);
    EXPECT_EQ(pane->GetMessage(), "Ctrl+Left-drag --- Fold/unfold model\nCtrl+Right-click --- Unfold half-way");
    EXPECT_EQ(pane->GetPendingFit(), 1);

    // Restoring a saved type says nothing.
    pane->SetViewType(kViewTypeMorphSizing, true);
    EXPECT_EQ(pane->GetMessage(), "Ctrl+Left-drag --- Fold/unfold model\nCtrl+Right-click --- Unfold half-way");
}

TEST_F(ViewTypeSwitchTest, NetPanesExplainThemselvesWhileTheActivePaneShowsNoBaseModel)
{
    mFrame->SetLayout(kLayout2);
    CPolyView* active = Pane(0);
    CPolyView* net = Pane(1);
    net->SetViewType(kViewTypeNet2D, false);
    active->Activate(false);
    active->SetViewType(kViewTypePolyAndDual, false);
    EXPECT_EQ(net->GetMessage(), kNetNotice);
    active->SetViewType(kViewTypePoly, false);
    EXPECT_EQ(net->GetMessage(), "");
    // A flat diagram is no 3D view: no notice.
    active->SetViewType(kViewTypeSlice, false);
    EXPECT_EQ(net->GetMessage(), "");
}

TEST_F(ViewTypeSwitchTest, FitsAskedForWhileSuspendedAreLost)
{
    // A flat pane keeps its fit pending until its diagram can be drawn: the cube's can.
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout2);
    for (int i = 0; i < 2; ++i)
        Settle(Pane(i));
    Pane(1)->SetViewType(kViewTypeFace, false);
    Settle(Pane(1));
    {
        FitSuspendScope suspended;
        RequestFitAllViews(3);
        RequestFitViewsOfType(kViewFamily3D);
        Pane(0)->SetViewType(kViewTypeDual, false);
    }
    EXPECT_EQ(Pane(0)->GetPendingFit(), 0);
    EXPECT_EQ(Pane(1)->GetPendingFit(), 0);
    RequestFitViewsOfType(kViewFamily3D);
    EXPECT_EQ(Pane(0)->GetPendingFit(), 1);
    EXPECT_EQ(Pane(1)->GetPendingFit(), 0) << "the flat pane is not of the family";
}

TEST_F(ViewTypeSwitchTest, WithLockedViewsAPaneEntering3DTakesTheSharedCamera)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout2);
    CPolyView* flat = Pane(0);
    CPolyView* model = Pane(1);
    flat->SetViewType(kViewTypeFace, false);
    model->SetViewType(kViewTypePoly, false);
    Settle(flat);
    Settle(model);
    model->RotateViewEuler(20.0, 30.0, 40.0);
    OpenGLView::ViewsLocked() = true;
    flat->SetViewType(kViewTypeDual, false);
    EXPECT_TRUE(flat->Is3D());
    EXPECT_NEAR(Vec3Distance(flat->GetEye(), model->GetEye()), 0.0, 1e-12);
    EXPECT_NEAR(Vec3Distance(flat->GetRight(), model->GetRight()), 0.0, 1e-12);
    EXPECT_EQ(flat->GetPendingFit(), 0) << "the shared camera is kept, not fitted";
    // Between two 3D types the pane fits as usual.
    flat->SetViewType(kViewTypePolyAndDual, false);
    EXPECT_EQ(flat->GetPendingFit(), 1);
}

TEST_F(ViewTypeSwitchTest, TheKitStyleSaysWhereItCannotShowTheModel)
{
    ASSERT_NE(OpenModel("7.4.4"), nullptr);
    mFrame->SetLayout(kLayout3Equal);
    CPolyView* base = Pane(0);
    CPolyView* dual = Pane(1);
    CPolyView* slice = Pane(2);
    slice->SetViewType(kViewTypeSlice, false);
    dual->SetViewType(kViewTypeDual, false);
    EXPECT_EQ(slice->GetMessage(), "") << "the kit style is off";

    // Switching the style on asks every pane.
    SetKitStyle(true);
    EXPECT_EQ(slice->GetMessage(), "Geomag-style not available in this view.");
    // Equal edges, but the kit has no heptagonal panels; the dual's edges differ.
    const std::string panelsLeftOut = std::string("Some Geomag panels have been left out.\n") + kKitReasonPanelShape;
    EXPECT_EQ(base->GetMessage(), panelsLeftOut);
    EXPECT_EQ(dual->GetMessage(), std::string("Model can't be made with Geomag.\n") + kKitReasonEdgeLengths);
    EXPECT_TRUE(base->CheckGeomagBuildable());
    EXPECT_FALSE(dual->CheckGeomagBuildable());

    // And a pane switched to a type the kit cannot show says so.
    base->SetViewType(kViewTypeSlice, false);
    EXPECT_EQ(base->GetMessage(), "Geomag-style not available in this view.");
    base->SetViewType(kViewTypePoly, false);
    EXPECT_EQ(base->GetMessage(), panelsLeftOut);

    SetKitStyle(false);
    EXPECT_FALSE(slice->CheckGeomagBuildable());
    EXPECT_EQ(slice->GetMessage(), "") << "switching the style off clears the messages";
}

TEST_F(ViewTypeSwitchTest, A4DModelLeavesSomeTypesWithAMessageInsteadOfAPicture)
{
    CPolyView* pane = Pane(0);
    struct Case
    {
        const char* name;
        int type;
        uint32_t polytopeFlags;
        bool showDual;
        const char* message;  // null: the type shows the model
    };
    const Case kCases[] = {
        {"stellation", kViewTypeUniStellation, 0, false,
         "This type of view is not available\nwhen a 4D model is loaded."},
        {"morph without 4D drawing", kViewTypeMorphTruncating, 0, false,
         "This type of view is not available\nwhen a 4D model is loaded."},
        {"base", kViewTypePoly, Polytope4D::kNotClosed, false, nullptr},
        {"dual of an unclosed polytope", kViewTypeDual, Polytope4D::kNotClosed, false,
         "Dual of unclosed polytope can't be displayed"},
        {"dual at infinity", kViewTypeDual, Polytope4D::kNoFiniteDual, false, "Dual is infinite and can't be displayed"},
        {"compound of an unclosed polytope", kViewTypePolyAndDual, Polytope4D::kNotClosed, false,
         "Dual of unclosed polytope can't be displayed"},
        {"morph with 4D drawing, unclosed", kViewTypeMorphSizing, Polytope4D::kNotClosed, false,
         "Dual of unclosed polytope can't be displayed"},
        {"cell of the base", kViewTypeFace, Polytope4D::kNotClosed, false, nullptr},
        {"cell of the dual", kViewTypeFace, Polytope4D::kNotClosed, true, "Dual of unclosed polytope can't be displayed"},
        {"section", kViewTypeSlice, 0, true, nullptr},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly* poly = Make4DModel(c.polytopeFlags);
        poly->mShowDual = c.showDual;
        pane->SetViewType(c.type, true);
        const char* message = pane->CheckViewAvailable();
        if (c.message)
            EXPECT_STREQ(message, c.message);
        else
            EXPECT_EQ(message, nullptr);
        poly->SetPolytope4D(nullptr, 0);
        poly->mShowDual = c.showDual;
        EXPECT_EQ(pane->CheckViewAvailable(), nullptr) << "a 3D model shows in every type";
    }
}

TEST_F(ViewTypeSwitchTest, TheSectionShowsInModelPanesOfTheShownSideByTheDisplayMode)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout4Grid);
    CPolyView* base = Pane(0);
    CPolyView* dual = Pane(1);
    CPolyView* compound = Pane(2);
    CPolyView* other = Pane(3);
    dual->SetViewType(kViewTypeDual, false);
    compound->SetViewType(kViewTypePolyAndDual, false);
    other->SetViewType(kViewTypeVertexFigure, false);
    ViewDisplayOptions& display = GetViewDisplayOptions();
    int& mouseMode = GetElementDisplayOptions().mMouseMode;

    struct Case
    {
        const char* name;
        int displayMode;
        bool sliceOpen;
        bool inBase, inDual, inCompound;
    };
    const Case kCases[] = {
        {"never", 0, true, false, false, false},
        {"always", 2, false, true, false, true},
        {"while a section pane is open, none is", 1, false, false, false, false},
        {"while a section pane is open, one is", 1, true, true, false, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        display.sectionDisplayMode = c.displayMode;
        other->SetViewType(c.sliceOpen ? kViewTypeSlice : kViewTypeVertexFigure, false);
        EXPECT_EQ(ShowsSectionInModel(base), c.inBase);
        EXPECT_EQ(ShowsSectionInModel(dual), c.inDual);
        EXPECT_EQ(ShowsSectionInModel(compound), c.inCompound);
        EXPECT_EQ(NeedsSectionThrow(base, kViewTypePoly), c.inBase);
        EXPECT_TRUE(NeedsSectionThrow(base, kViewTypeSlice));
        mouseMode = kMouseModeSelect;
        EXPECT_EQ(IsSectionTarget(base, false), c.inBase);
        mouseMode = kMouseModeSectionTumble;
        EXPECT_TRUE(IsSectionTarget(dual, false)) << "tumbling the section moves it in every model pane";
        EXPECT_EQ(IsSectionTarget(dual, true), c.inDual);
        mouseMode = kMouseModeMeasure;
        EXPECT_FALSE(IsSectionTarget(base, false)) << "measuring: only the section pane";
        EXPECT_EQ(IsSectionTarget(base, true), c.inBase);
    }

    // The section pane itself, unless faces are being coloured.
    other->SetViewType(kViewTypeSlice, false);
    mouseMode = kMouseModeSelect;
    EXPECT_TRUE(IsSectionTarget(other, false));
    mouseMode = kMouseModeColorFaces;
    EXPECT_FALSE(IsSectionTarget(other, false));
    EXPECT_TRUE(IsSectionTarget(other, true));
    mouseMode = kMouseModeSelect;

    // The dual shown: the dual pane shows the section, the base pane does not.
    display.sectionDisplayMode = 2;
    GetCurrentPoly()->SetShowDual(true);
    EXPECT_FALSE(ShowsSectionInModel(base));
    EXPECT_TRUE(ShowsSectionInModel(dual));
    EXPECT_TRUE(ShowsSectionInModel(compound));
}

TEST_F(ViewTypeSwitchTest, ACrossSectionChangeRedrawsTheModelPanesThatShowIt)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    mFrame->SetLayout(kLayout4Grid);
    const int types[4] = {kViewTypePoly, kViewTypeDual, kViewTypePolyAndDual, kViewTypeSlice};
    for (int i = 0; i < 4; ++i)
        Pane(i)->SetViewType(types[i], false);
    struct Case
    {
        const char* name;
        int displayMode;
        bool showDual;
        bool marked[4];
    };
    const Case kCases[] = {
        {"never", 0, false, {false, false, false, true}},
        {"always, base shown", 2, false, {true, false, true, true}},
        {"with the section pane, dual shown", 1, true, {false, true, true, true}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetViewDisplayOptions().sectionDisplayMode = c.displayMode;
        GetCurrentPoly()->mShowDual = c.showDual;
        for (int i = 0; i < 4; ++i)
            NewView::ClearRedrawFlags(Pane(i));
        // Through the shell, as the model code asks for it.
        GetShell().InvalidateCrossSectionViews(0);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ((Pane(i)->GetRedrawMarks() & NewView::kRedraw) != 0, c.marked[i]) << "pane " << i;
    }
}

TEST_F(ViewTypeSwitchTest, ExplosionMovesFacesOnlyIn3DPanesThatDrawTheModelExploded)
{
    CPolyView* pane = Pane(0);
    struct Case
    {
        const char* name;
        int type;
        bool model4D;
        double explosion;
        bool applies;
    };
    const Case kCases[] = {
        {"faces in place", kViewTypePoly, false, 1.0, false},
        {"exploded model", kViewTypePoly, false, 2.0, true},
        {"imploded compound", kViewTypePolyAndDual, false, 0.5, true},
        {"folding net", kViewTypeNet3D, false, 2.0, false},
        {"flat diagram", kViewTypeFace, false, 2.0, false},
        {"4D model in a model pane", kViewTypePoly, true, 2.0, false},
        {"4D model's net", kViewTypeNet2D, true, 2.0, false},
        {"4D model's cell", kViewTypeFace, true, 2.0, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetCurrentPoly()->SetPolytope4D(c.model4D ? std::make_unique<Polytope4D>() : nullptr, 0);
        pane->SetViewType(kViewTypeDual, true);
        pane->SetViewType(c.type, true);
        pane->SetExplosion(c.explosion);
        EXPECT_EQ(pane->ExplosionApplies(), c.applies);
    }
    pane->SetExplosion(1.0);
}
}  // namespace
