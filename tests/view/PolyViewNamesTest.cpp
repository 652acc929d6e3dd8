#include "support/PolyBuilder.h"
#include "view/PaneFixture.h"

#include <string>

namespace
{
using PolyViewNamesTest = PaneFixture;

struct NameCase
{
    const char* name;
    int type;
    const char* title;
    const char* exportTitle;
};

void CheckNames(CPolyView* pane, const NameCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        const NameCase& c = cases[i];
        SCOPED_TRACE(c.name);
        pane->SetViewType(c.type, false);
        UpdateAllViewTitles();
        EXPECT_EQ(pane->GetTitle(), c.title);
        EXPECT_EQ(pane->GetExportTitle(), c.exportTitle);
    }
}

TEST_F(PolyViewNamesTest, ACatalogueModelIsTitledByNameAndExportedWithSymbolAndBookNumbers)
{
    ASSERT_NE(OpenModel("3.3.3.3.3"), nullptr);
    const NameCase kCases[] = {
        {"model", kViewTypePoly, "Icosahedron", "Icosahedron (3.3.3.3.3), W4, p17"},
        {"dual", kViewTypeDual, "Dodecahedron", "Dodecahedron (Dual of 3.3.3.3.3), WD4, p9"},
        {"compound", kViewTypePolyAndDual, "Base/Dual Compound", "Dual compound of Icosahedron (3.3.3.3.3), W4, p17"},
        {"unstellated stellation", kViewTypeUniStellation, "Stellation of Icosahedron",
         "Icosahedron (3.3.3.3.3), W4, p17"},
        {"morph", kViewTypeMorphViaSnub, "Morph Duals via Snub", "Dual-morph of Icosahedron (3.3.3.3.3), W4, p17"},
        {"section", kViewTypeSlice, "Cross-Section of Icosahedron", "Cross-Section of Icosahedron (3.3.3.3.3), W4, p17"},
        {"faceting", kViewTypeFacetPreview, "Faceting Preview for Icosahedron", "A faceted polyhedron"},
    };
    CheckNames(Pane(0), kCases, std::size(kCases));
}

TEST_F(PolyViewNamesTest, ARowWithoutBookPagesIsNeverNumbered)
{
    ASSERT_NE(OpenModel("3.4.4"), nullptr);
    const NameCase kCases[] = {
        {"model", kViewTypePoly, "Triangular Prism", "Triangular Prism (3.4.4)"},
        {"dual", kViewTypeDual, "Triangular Dipyramid", "Triangular Dipyramid (Dual of 3.4.4)"},
    };
    CheckNames(Pane(0), kCases, std::size(kCases));
}

TEST_F(PolyViewNamesTest, APseudoVersionIsNamedSoAndLosesTheNumbers)
{
    Poly* poly = OpenModel("3.3.3.3.3");
    ASSERT_NE(poly, nullptr);
    poly->mVariation = true;
    CPolyView* pane = Pane(0);
    EXPECT_EQ(pane->GetModelName(true, true), "Pseudo Icosahedron (3.3.3.3.3)");
    EXPECT_EQ(pane->GetDualName(true, true), "Pseudo Dodecahedron (Dual of 3.3.3.3.3)");
    EXPECT_EQ(pane->GetModelName(false, true), "Pseudo Icosahedron");
}

TEST_F(PolyViewNamesTest, AConfigurationWithoutCatalogueRowIsNamedByItsConfiguration)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    ASSERT_NE(poly->mTemplate, nullptr);
    poly->mLibraryEntry = nullptr;
    poly->SetBaseName(nullptr);
    poly->SetDualName(nullptr);
    CPolyView* pane = Pane(0);
    EXPECT_EQ(pane->GetModelName(true, true), "4.4.4");
    EXPECT_EQ(pane->GetDualName(true, true), "D-4.4.4");
    const NameCase kCases[] = {
        {"model", kViewTypePoly, "4.4.4", "4.4.4"},
        {"dual", kViewTypeDual, "D-4.4.4", "D-4.4.4"},
    };
    CheckNames(pane, kCases, std::size(kCases));

    // A name of its own serves both sides until the dual has one.
    poly->SetBaseName("Box");
    EXPECT_EQ(pane->GetModelName(true, true), "Box");
    EXPECT_EQ(pane->GetDualName(true, true), "D-Box");
    poly->SetDualName("Lid");
    EXPECT_EQ(pane->GetDualName(true, true), "Lid");
}

TEST_F(PolyViewNamesTest, AnUnnamedModelIsCalledAfterItsFileWithSemicolonsAsSlashes)
{
    Poly* poly = GetCurrentPoly();
    BuildPoly(*poly, CubeSpec(), true);
    CPolyView* pane = Pane(0);
    EXPECT_EQ(pane->GetModelName(true, true), "Unnamed");
    EXPECT_EQ(pane->GetDualName(true, true), "Unnamed Dual");

    mDocument->SetPathName("/home/user/models/Cube;Box.ply", false);
    const NameCase kCases[] = {
        {"model", kViewTypePoly, "Cube/Box", "Cube/Box"},
        {"face of the model", kViewTypeFace, "Face of Cube/Box", "Cube/Box"},
        {"dual", kViewTypeDual, "Dual of Cube/Box", "Dual of Cube/Box"},
        {"face of the dual, now shown", kViewTypeFace, "Face of Dual of Cube/Box", "Dual of Cube/Box"},
    };
    CheckNames(pane, kCases, std::size(kCases));

    // The model's own name wins over the file's, and names the dual too.
    poly->SetBaseName("Hexahedron");
    EXPECT_EQ(pane->GetModelName(true, true), "Hexahedron");
    EXPECT_EQ(pane->GetDualName(true, true), "Dual of Hexahedron");
    poly->Clear();
}
}  // namespace
