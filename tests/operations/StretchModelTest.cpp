// The Stretch dialog's choices: the directions a model offers, the remembered choices as the dialog
// loads them, and the factor and direction each mode gives.

#include "OperationTestModels.h"
#include "kernel/ScriptedServices.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "operations/StretchModel.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
// A square box with circumradius 1 and height 1 along its 4-fold axis.
FacedSolid SquareBox()
{
    const double a = std::sqrt(0.375);
    std::vector<Vec3D> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({i & 1 ? a : -a, i & 2 ? a : -a, i & 4 ? 0.5 : -0.5});
    return ConvexSolid(points);
}

FacedSolid SquarePyramid()
{
    return ConvexSolid({{1, 1, -0.5}, {1, -1, -0.5}, {-1, 1, -0.5}, {-1, -1, -0.5}, {0, 0, 1.5}});
}

// Four points in no symmetric position.
FacedSolid ScaleneTetrahedron()
{
    return ConvexSolid({{0.1, 0.2, 0.3}, {1.3, -0.1, 0.2}, {-0.4, 1.1, -0.2}, {0.2, -0.3, 1.7}});
}

std::string LastMessage(const ScriptedServices& services)
{
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    return call ? call->text : std::string();
}

Vec3D Along(const Vec3D& u, double along, const Vec3D& p, double across)
{
    return {u.x * along + p.x * across, u.y * along + p.y * across, u.z * along + p.z * across};
}
}  // namespace

TEST(StretchModel, DirectionsOfferedByTheModel)
{
    ScopedModelScale keepScale;
    struct Case
    {
        const char* name;
        FacedSolid solid;
        std::vector<int> folds;
    };
    const Case cases[] = {
        {"cube", NamedSolid("cube"), {2, 3, 4}},
        {"square pyramid", SquarePyramid(), {4}},
        {"scalene tetrahedron", ScaleneTetrahedron(), {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        ASSERT_TRUE(BuildAnalysedPoly(poly, c.solid));
        const int classes = CountStretchAxisClasses(poly);
        std::vector<int> folds;
        for (int i = 0; i < classes; ++i)
            folds.push_back(GetStretchAxisFold(poly, i));
        std::sort(folds.begin(), folds.end());
        EXPECT_EQ(folds, c.folds);
        EXPECT_EQ(GetStretchAxisFold(poly, classes), 0);
    }
}

TEST(StretchModel, RememberedChoicesAsTheDialogLoadsThem)
{
    struct Case
    {
        const char* name;
        int direction, mode, classes;
        bool segment;
        int wantDirection, wantMode;
    };
    const Case cases[] = {
        {"class the group has", 2, 0, 3, false, 2, 0},
        {"class beyond the group's", 2, 0, 1, false, 0, 0},
        {"no axis classes", 1, 1, 0, false, 3, 1},
        {"selected element kept", 3, 0, 3, false, 3, 0},
        {"measured distance without a segment", 0, 2, 3, false, 0, 1},
        {"measured distance with a segment", 0, 2, 3, true, 0, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        StretchChoices remembered;
        remembered.direction = c.direction;
        remembered.mode = c.mode;
        remembered.text = "7";
        remembered.recolor = true;
        const StretchChoices loaded = LoadStretchChoices(remembered, c.classes, c.segment);
        EXPECT_EQ(loaded.direction, c.wantDirection);
        EXPECT_EQ(loaded.mode, c.wantMode);
        EXPECT_EQ(loaded.text, "7");
        EXPECT_TRUE(loaded.recolor);
    }
    const StretchChoices start;
    EXPECT_EQ(start.direction, 0);
    EXPECT_EQ(start.mode, 0);
    EXPECT_EQ(start.text, "1.0");
    EXPECT_FALSE(start.recolor);
}

TEST(StretchModel, SelectedElementNamesAndGivesTheDirection)
{
    ScopedModelScale keepScale;
    ScopedScriptedServices services;
    Poly cube;
    ASSERT_TRUE(BuildAnalysedPoly(cube, NamedSolid("cube")));
    StretchChoices choices;
    choices.direction = 3;
    StretchResult result;

    // Without a selected face the face whose diagram is shown serves; without that, nothing.
    cube.GetFaceStellation()->SetSelectedFace(nullptr);
    EXPECT_STREQ(GetStretchElementLabel(cube), "Perpendicular to selected face");
    EXPECT_FALSE(ComputeStretch(cube, choices, nullptr, 1.0, result));
    EXPECT_EQ(LastMessage(services.services), "Scale direction not well-defined\n(zero-length vector)");

    FaceVert* face = cube.mFaces.mFirst;
    cube.SelectFace(face, false);
    EXPECT_STREQ(GetStretchElementLabel(cube), "Perpendicular to selected face");
    ASSERT_TRUE(ComputeStretch(cube, choices, nullptr, 1.0, result));
    EXPECT_NEAR(std::fabs(Vec3Dot(result.direction, face->mZAxis)), 1.0, 1e-12);

    Edge* edge = cube.GetEdge(0);
    cube.SelectElement(edge, false);
    EXPECT_STREQ(GetStretchElementLabel(cube), "Scale along selected edge");
    ASSERT_TRUE(ComputeStretch(cube, choices, nullptr, 1.0, result));
    Vec3D along = edge->GetVector(false);
    Vec3Normalize(along);
    EXPECT_NEAR(Vec3Dot(result.direction, along), 1.0, 1e-12);

    FaceVert* vert = cube.mVerts.mFirst;
    cube.SelectFace(vert, true);
    EXPECT_STREQ(GetStretchElementLabel(cube), "Scale through selected vertex");
    ASSERT_TRUE(ComputeStretch(cube, choices, nullptr, 1.0, result));
    EXPECT_NEAR(Vec3Dot(result.direction, vert->mPoint), 1.0, 1e-12);  // the vertex lies at radius 1
}

// Every mode on the square box of height 1 along its 4-fold axis u; the segment is given directly.
TEST(StretchModel, FactorOfEachMode)
{
    ScopedModelScale keepScale;
    ScopedScriptedServices services;
    Poly box;
    ASSERT_TRUE(BuildAnalysedPoly(box, SquareBox()));
    ASSERT_EQ(CountStretchAxisClasses(box), 3);
    int fourFold = -1;
    for (int i = 0; i < 3; ++i)
        if (GetStretchAxisFold(box, i) == 4)
            fourFold = i;
    ASSERT_GE(fourFold, 0);
    StretchChoices choices;
    choices.direction = fourFold;
    choices.text = "1";
    StretchResult axis;
    ASSERT_TRUE(ComputeStretch(box, choices, nullptr, 1.0, axis));
    const Vec3D u = axis.direction;
    EXPECT_NEAR(box.GetExtentAlong(u, false), 1.0, 1e-12);
    Vec3D across;
    Vec3Cross(across, u, Vec3D{0.3, 0.5, 0.7});
    ASSERT_TRUE(Vec3Normalize(across));
    // Length 5, 3 of it along u.
    const Vec3D start{0.5, 0.5, 0.5};
    Vec3D end;
    Vec3Add(end, start, Along(u, 3.0, across, 4.0));
    const StretchSegment segment{start, end};
    const StretchSegment reversed{segment.b, segment.a};

    struct Case
    {
        const char* name;
        int mode;
        const char* text;
        double scale;
        const StretchSegment* segment;
        double factor;
    };
    const Case cases[] = {
        {"scale by an expression", 0, "2*0.5", 1.0, nullptr, 1.0},
        {"scale by a negative factor", 0, "-2", 1.0, nullptr, -2.0},
        {"set height", 1, "3", 1.5, nullptr, 2.0},
        {"measured distance kept", 2, "5", 1.0, &segment, 1.0},
        {"measured distance across only", 2, "4", 1.0, &segment, 0.0},
        {"measured distance doubled along u", 2, "sqrt(52)", 1.0, &segment, 2.0},
        {"measured distance in units", 2, "10", 2.0, &segment, 1.0},
        {"segment against u", 2, "sqrt(52)", 1.0, &reversed, -2.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        choices.mode = c.mode;
        choices.text = c.text;
        StretchResult result;
        ASSERT_TRUE(ComputeStretch(box, choices, c.segment, c.scale, result));
        EXPECT_NEAR(result.factor, c.factor, 1e-12);
        EXPECT_NEAR(Vec3Dot(result.direction, u), 1.0, 1e-12);
    }
    EXPECT_EQ(services.services.CountCalls("MessageBox"), 0);
}

// Choices that give no stretch are refused with a message, and no factor comes out.
TEST(StretchModel, ChoicesWithoutAFactorAreRefused)
{
    ScopedModelScale keepScale;
    ScopedScriptedServices services;
    Poly box;
    ASSERT_TRUE(BuildAnalysedPoly(box, SquareBox()));
    StretchChoices choices;
    StretchResult probe;
    ASSERT_TRUE(ComputeStretch(box, choices, nullptr, 1.0, probe));
    const Vec3D u = probe.direction;
    Vec3D across;
    Vec3Cross(across, u, Vec3D{0.3, 0.5, 0.7});
    ASSERT_TRUE(Vec3Normalize(across));
    const StretchSegment perpendicular{{0.0, 0.0, 0.0}, across};
    const StretchSegment mostlyAcross{{0.0, 0.0, 0.0}, Along(u, 3.0, across, 4.0)};

    struct Case
    {
        const char* name;
        int mode;
        const char* text;
        const StretchSegment* segment;
        const char* messageStart;  // null: refused without a message
    };
    const Case cases[] = {
        {"not an expression", 0, "2*", nullptr, "Error in equation:"},
        {"infinite factor", 0, "1e400", nullptr, "The scale factor must be a finite number"},
        {"segment across the direction", 2, "2", &perpendicular, "The measurement line is perpendicular to\n"},
        {"shorter than the part across", 2, "3", &mostlyAcross, "The measured distance can not be made shorter"},
        {"no segment", 2, "5", nullptr, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        services.services.Clear();
        choices.mode = c.mode;
        choices.text = c.text;
        StretchResult result;
        result.factor = 42.0;
        EXPECT_FALSE(ComputeStretch(box, choices, c.segment, 1.0, result));
        EXPECT_EQ(result.factor, 42.0);
        if (c.messageStart)
            EXPECT_EQ(LastMessage(services.services).rfind(c.messageStart, 0), 0u) << LastMessage(services.services);
        else
            EXPECT_EQ(services.services.CountCalls("MessageBox"), 0);
    }
}
