// The measures of the Scale menu on known solids, and the scale worked out from the value typed.

#include "HemiPolyhedra.h"
#include "OperationTestModels.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "kernel/UnitSettings.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "operations/ScaleMeasures.h"
#include "stellation/Stellation.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace
{
const double kRoot3 = std::sqrt(3.0);

// A square box of edges 0.5, 0.5 and 2c, with circumradius 1 as models are kept.
FacedSolid TallBox()
{
    const double c = std::sqrt(1.0 - 2 * 0.25 * 0.25);
    std::vector<Vec3D> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({i & 1 ? 0.25 : -0.25, i & 2 ? 0.25 : -0.25, i & 4 ? c : -c});
    return ConvexSolid(points);
}

FacedSolid Octahemioctahedron()
{
    for (const HemiPolyhedron& hemi : HemiPolyhedra())
        if (hemi.name == "octahemioctahedron")
            return hemi.solid;
    return {};
}

FaceVert* FirstFaceWithSides(Poly& poly, int sides)
{
    for (FaceVert* face = poly.mFaces.mFirst; face; face = face->mNext)
        if (face->mNumSides == sides)
            return face;
    return nullptr;
}

class ScaleMeasuresTest : public ::testing::Test
{
protected:
    void SetUp() override { GetUnitSettings().SetScale(1.0, false); }

    // The value the prompt offered, as typed into it.
    double Offered() const
    {
        return services.services.promptStarts.empty() ? -1.0 : std::atof(services.services.promptStarts.back().c_str());
    }
    std::string LastPrompt() const
    {
        const ScriptedServices::Call* call = services.services.LastCall("Prompt");
        return call ? call->text : std::string();
    }

    ScopedModelScale keepScale;
    ScopedScriptedServices services;
    RecordingShell shell;
    ScopedShell shellScope{&shell};
};
}  // namespace

// Each measure of the cube at circumradius 1 (edge 2/sqrt 3) and of its dual octahedron (vertices
// at 2/sqrt 3): offered at scale 1, and typing the measure at twice the size gives scale 2.
TEST_F(ScaleMeasuresTest, CubeMeasuresAndTheScaleTheyGive)
{
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    struct Case
    {
        const char* name;
        ScaleMeasureKind kind;
        double value;
        int power;
        const char* prompt;
    };
    const Case cases[] = {
        {"base radius", ScaleMeasureKind::BaseRadius, 1.0, 1, "Enter radius of base polytope"},
        {"circumference", ScaleMeasureKind::BaseCircumference, 2 * M_PI, 1,
         "Enter circumference of base polyhedron's circumsphere"},
        {"base area", ScaleMeasureKind::BaseArea, 8.0, 2, "Enter surface area of base polyhedron"},
        {"base volume", ScaleMeasureKind::BaseVolume, 8.0 / (3 * kRoot3), 3, "Enter volume of base polyhedron"},
        {"dual radius", ScaleMeasureKind::DualRadius, 2 / kRoot3, 1, "Enter radius of dual polytope"},
        {"dual area", ScaleMeasureKind::DualArea, 16 / kRoot3, 2, "Enter surface area of dual polyhedron"},
        {"dual volume", ScaleMeasureKind::DualVolume, 32 / (9 * kRoot3), 3, "Enter volume of dual polyhedron"},
        {"midradius", ScaleMeasureKind::Midradius, std::sqrt(2.0 / 3.0), 1, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GetUnitSettings().SetScale(1.0, false);
        shell.calls.clear();
        const ScaleMeasure measure = GetScaleMeasure(cube, c.kind);
        EXPECT_NEAR(measure.value, c.value, 1e-9);
        EXPECT_EQ(measure.power, c.power);
        if (c.prompt)
        {
            EXPECT_EQ(measure.prompt, c.prompt);
        }
        services.services.PushText(std::to_string(c.value * std::pow(2.0, c.power)));
        ASSERT_TRUE(ScaleToMeasure(measure));
        EXPECT_NEAR(Offered(), c.value, 1e-9);
        EXPECT_NEAR(GetUnitSettings().GetScale(), 2.0, 1e-6);
        EXPECT_EQ(shell.Count("Undo 26"), 1);
        EXPECT_EQ(shell.Count("Info 1"), 1);
    }
    EXPECT_EQ(GetScaleMeasure(cube, ScaleMeasureKind::Midradius).prompt.rfind("Enter radius of reciprocation sphere\n"
                                                                               "  (Note: this is the midradius",
                                                                               0),
              0u);
}

TEST_F(ScaleMeasuresTest, RadiusAndCircumferenceFollowTheCurrentScale)
{
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    GetUnitSettings().SetScale(2.5, false);
    services.services.PushText("10");
    ASSERT_TRUE(ScaleToMeasure(GetScaleMeasure(cube, ScaleMeasureKind::BaseRadius)));
    EXPECT_EQ(services.services.promptStarts.back(), "2.5");
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 10.0);

    GetUnitSettings().SetScale(1.0, false);
    services.services.PushText("1");
    ASSERT_TRUE(ScaleToMeasure(GetScaleMeasure(cube, ScaleMeasureKind::BaseCircumference)));
    EXPECT_DOUBLE_EQ(Offered(), 6.28318530717959);
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 0.15915494309189535);
}

// No scale comes from a measure that is not a positive size, nor from an entry that gives none:
// nothing is asked or recorded, and the scale stays.
TEST_F(ScaleMeasuresTest, NoScaleFromUnusableMeasuresOrEntries)
{
    GetUnitSettings().SetScale(3.0, false);
    const double inf = std::numeric_limits<double>::infinity();
    for (double value : {0.0, -1.0, inf, std::nan("")})
    {
        SCOPED_TRACE(value);
        EXPECT_FALSE(ScaleToMeasure(ScaleMeasure{value, 3, "Enter volume of base polyhedron"}));
    }
    EXPECT_EQ(services.services.CountCalls("Prompt"), 0);

    for (const char* typed : {"0", "-8", "1e400"})
    {
        SCOPED_TRACE(typed);
        services.services.PushText(typed);
        EXPECT_FALSE(ScaleToMeasure(ScaleMeasure{1.0, 1, "Enter radius of base polytope"}));
    }
    services.services.PushText("5", false);
    EXPECT_FALSE(ScaleToMeasure(ScaleMeasure{1.0, 1, "Enter radius of base polytope"}));
    EXPECT_EQ(services.services.CountCalls("Prompt"), 4);
    EXPECT_EQ(services.services.CountCalls("MessageBox"), 3);
    EXPECT_EQ(shell.Count("Undo 26"), 0);
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 3.0);
}

TEST_F(ScaleMeasuresTest, EdgeLengthOfTheSelectedOrLongestEdge)
{
    Poly cuboctahedron;
    ASSERT_TRUE(BuildAnalysedPoly(cuboctahedron, NamedSolid("cuboctahedron")));
    ScaleMeasure measure = GetEdgeLengthMeasure(cuboctahedron, nullptr, false);
    EXPECT_NEAR(measure.value, 1.0, 1e-9);
    EXPECT_EQ(measure.prompt, "Enter edge length of base polytope");

    Poly box;
    ASSERT_TRUE(BuildAnalysedPoly(box, TallBox()));
    const double tall = 2 * std::sqrt(0.875);
    measure = GetEdgeLengthMeasure(box, nullptr, false);
    EXPECT_NEAR(measure.value, tall, 1e-9);
    EXPECT_EQ(measure.prompt,
              "Edge lengths of base polytope range\n    from 0.5 to 1.87083.\n\nEnter length of longest edge");

    Edge* shortEdge = nullptr;
    for (int i = 0; i < box.mNumEdges && !shortEdge; ++i)
        if (std::fabs(box.GetEdge(i)->GetLength(false) - 0.5) < 1e-9)
            shortEdge = box.GetEdge(i);
    ASSERT_NE(shortEdge, nullptr);
    box.SelectElement(shortEdge, false);
    GetUnitSettings().SetScale(2.0, false);
    measure = GetEdgeLengthMeasure(box, nullptr, false);
    EXPECT_NEAR(measure.value, 0.5, 1e-9);
    EXPECT_EQ(measure.prompt,
              "Edge lengths of base polytope range\n    from 1 to 3.74166.\n\nEnter length of selected edge");
    services.services.PushText("2");
    ASSERT_TRUE(ScaleToMeasure(measure));
    EXPECT_NEAR(Offered(), 1.0, 1e-9);
    EXPECT_NEAR(GetUnitSettings().GetScale(), 4.0, 1e-9);
}

TEST_F(ScaleMeasuresTest, InradiusOfTheSelectedFacePlane)
{
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    ScaleMeasure measure;
    cube.GetFaceStellation()->SetSelectedFace(nullptr);
    EXPECT_FALSE(GetInradiusMeasure(cube, false, measure));
    EXPECT_EQ(services.services.calls.size(), 0u);
    cube.SelectFace(cube.mFaces.mFirst, false);
    ASSERT_TRUE(GetInradiusMeasure(cube, false, measure));
    EXPECT_NEAR(measure.value, 1 / kRoot3, 1e-9);
    EXPECT_EQ(measure.prompt, "Enter inradius of base model\n  (The inradius is the radius of the insphere,\n"
                              "  a sphere which just touches each face plane)");
    // The dual octahedron's faces lie at the distance of the cube's vertices' polars.
    cube.SelectFace(cube.mVerts.mFirst, true);
    ASSERT_TRUE(GetInradiusMeasure(cube, true, measure));
    EXPECT_NEAR(measure.value, (2.0 / 3.0), 1e-9);

    Poly box;
    ASSERT_TRUE(BuildAnalysedPoly(box, TallBox()));
    box.SelectFace(FirstFaceWithSides(box, 4), false);
    ASSERT_TRUE(GetInradiusMeasure(box, false, measure));
    EXPECT_EQ(measure.prompt.rfind("Enter distance to selected base face plane from\nthe centre of the model\n", 0),
              0u);
    EXPECT_NE(measure.prompt.find("This model doesn't\n  have a single inradius, as face planes are at"),
              std::string::npos);

    Poly hemi;
    ASSERT_TRUE(BuildAnalysedPoly(hemi, Octahemioctahedron()));
    hemi.SelectFace(FirstFaceWithSides(hemi, 6), false);
    services.services.Clear();
    EXPECT_FALSE(GetInradiusMeasure(hemi, false, measure));
    ASSERT_EQ(services.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(services.services.LastCall("MessageBox")->text,
              "Selected face passes through centre of model.\nIt's distance from the model centre is zero.\n"
              "You can't edit this value");
    EXPECT_EQ(services.services.CountCalls("Prompt"), 0);
}
