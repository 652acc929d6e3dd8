// The metric data file, compound parts and the kit check on meshes of library models.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/KitPanelShape.h"
#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "operations/ParametricSolids.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace
{
class Model3DReportTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        mScale = GetUnitSettings().GetScale();
        mAngleMode = GetUnitSettings().GetAngleMode();
        GetUnitSettings().SetScale(1.0, false);
        GetUnitSettings().SetAngleMode(kAngleDegrees);
        mPath = (std::filesystem::temp_directory_path() / ("orvane-metric-" + std::to_string(::getpid()) + ".txt"))
                    .string();
    }
    void TearDown() override
    {
        GetUnitSettings().SetScale(mScale, false);
        GetUnitSettings().SetAngleMode(mAngleMode);
        std::remove(mPath.c_str());
        LibraryStateTest::TearDown();
    }

    std::string ReadReport() const
    {
        std::ifstream in(mPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string mPath;

private:
    double mScale = 1.0;
    int mAngleMode = kAngleDegrees;
};

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
}  // namespace

TEST_F(Model3DReportTest, MetricDataOfTheCube)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    Model3D* mesh = model->poly.GetFaceStellation()->GetModel3D(false);
    ASSERT_TRUE(mesh);
    mesh->ExportMetricData(mPath.c_str(), "Cube");
    const std::string text = ReadReport();
    EXPECT_EQ(text.rfind("================\nMetric Data File\n================\n\nCube\n", 0), 0u) << text;
    EXPECT_TRUE(Has(text, "\n 6 facelets, of 1 types; 12 edgelets; 8 vertices, of 1 types.\n")) << text;
    EXPECT_TRUE(Has(text, " Radius 1, Diameter 2\n")) << text;
    EXPECT_TRUE(Has(text, " Uniform poly radius 1, Mid-radius 0.816497, In-radius 0.57735\n")) << text;
    EXPECT_TRUE(Has(text, " Uniform poly edge length 1.1547\n")) << text;
    EXPECT_TRUE(Has(text, " Facelet type 0: area 1.33333\n")) << text;
    EXPECT_TRUE(Has(text, "  Edge 0-0: Joins 0-")) << text;
    EXPECT_TRUE(Has(text, ", Length 1.1547, Dihedral 90 deg, Mitre 45 deg\n        Face angle 90 deg\n")) << text;
    EXPECT_FALSE(Has(text, "[End Loop]"));
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(Model3DReportTest, AModelMadeByAnOperationHasNoUniformLines)
{
    ScopedScriptedServices scripted;
    auto poly = PolyFrom(CreateTorus(0.4, 8, 6).get());
    ASSERT_TRUE(poly);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
    mesh->ExportMetricData(mPath.c_str(), "Torus");
    const std::string text = ReadReport();
    EXPECT_TRUE(Has(text, " 48 facelets,")) << text;
    EXPECT_FALSE(Has(text, "Uniform poly"));
}

TEST_F(Model3DReportTest, AHoleEndsItsLoopAndAnEdgeWithoutNeighbourJoinsNothing)
{
    ScopedScriptedServices scripted;
    Model3D model(nullptr, nullptr);
    const Vec3D points[8] = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}};
    ASSERT_TRUE(model.AllocateVerts(8));
    const int32_t loops[] = {4, 4};
    Face3DType* type = model.AppendFaceType(std::make_unique<Face3DType>(&model, 1, loops), false);
    for (int i = 0; i < 8; ++i)
    {
        model.mVerts[size_t(i)].mPos = points[i];
        type->mFaces[0].mEdges[size_t(i)].mVert = &model.mVerts[size_t(i)];
        type->mFaces[0].mEdges[size_t(i)].mFacePos = Vec2D{points[i].x, points[i].y};
    }
    model.ExportMetricData(mPath.c_str(), "Frame");
    const std::string text = ReadReport();
    // After the outline's last edge, not after the hole's, which is the facelet's last.
    const size_t end = text.find("  [End Loop]\n");
    ASSERT_NE(end, std::string::npos) << text;
    EXPECT_EQ(text.find("  [End Loop]\n", end + 1), std::string::npos);
    EXPECT_LT(text.find("Edge 0-3:"), end);
    EXPECT_GT(text.find("Edge 0-4:"), end);
    EXPECT_TRUE(Has(text, "Joins NULL, Length 3,")) << text;
    EXPECT_TRUE(Has(text, "Joins NULL, Length 1,")) << text;
}

TEST_F(Model3DReportTest, AFileThatCannotBeWrittenIsReported)
{
    ScopedScriptedServices scripted;
    Model3D model(nullptr, nullptr);
    model.ExportMetricData("/nonexistent-folder/metric.txt", "x");
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->text, "Couldn't open '/nonexistent-folder/metric.txt' for writing");
}

TEST_F(Model3DReportTest, AConvexSolidIsOnePartAndTwoCrossingCubesAreTwo)
{
    ScopedScriptedServices scripted;
    auto uncolour = [](Poly& poly) {
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            f->mColor.r = -1.0f;
    };
    auto model = OpenRow(*FindLibraryEntry("Truncated Octahedron", nullptr, false));
    ASSERT_TRUE(model);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
    uncolour(model->poly);
    EXPECT_EQ(mesh->ColorParts(), 1);
    ColorRGB first;
    NextPaletteColor(nullptr, 0);
    NextPaletteColor(&first, 0);
    for (const FaceVert* f = model->poly.mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(f->mColor.r, first.r);

    // A cube and the same cube turned by 45 degrees about z: their faces cross, no edge is shared.
    std::vector<Vec3D> verts;
    std::vector<std::vector<int>> faces;
    const double c = std::sqrt(0.5);
    for (int k = 0; k < 2; ++k)
    {
        for (int i = 0; i < 8; ++i)
        {
            const double x = (i & 1) ? 1.0 : -1.0, y = (i & 2) ? 1.0 : -1.0, z = (i & 4) ? 1.0 : -1.0;
            verts.push_back(k == 0 ? Vec3D{x, y, z} : Vec3D{c * (x - y), c * (x + y), z});
        }
        for (const std::vector<int>& f : kCubeFaces)
            faces.push_back({f[0] + 8 * k, f[1] + 8 * k, f[2] + 8 * k, f[3] + 8 * k});
    }
    auto compound = PolyFrom(MakeFacedPoly(verts, faces).get());
    ASSERT_TRUE(compound);
    std::unique_ptr<Model3D> both = Model3D::CreateFromPoly(compound.get(), false);
    uncolour(*compound);
    EXPECT_EQ(both->ColorParts(), 2);
}

TEST_F(Model3DReportTest, PartsOfLargeMeshesAreColouredWithoutDeepCalls)
{
    ScopedScriptedServices scripted;
    // 20,000 faces and more: a colouring that recursed once per facelet would run out of stack.
    auto torus = PolyFrom(CreateTorus(0.3, 200, 100).get());
    ASSERT_TRUE(torus);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(torus.get(), false);
    ASSERT_EQ(mesh->GetNumFaces(), 20000);
    for (FaceVert* f = torus->mFaces.mFirst; f; f = f->mNext)
        f->mColor.r = -1.0f;
    // Only the folds across the inside of the ring are reflex; around the tube every fold is convex,
    // so the whole ring is one part.
    EXPECT_EQ(mesh->ColorParts(), 1);
    int uncoloured = 0;
    for (const FaceVert* f = torus->mFaces.mFirst; f; f = f->mNext)
        uncoloured += f->mColor.r < 0.0f;
    EXPECT_EQ(uncoloured, 0);

    // A geodesic sphere of 20,480 triangles is one convex part.
    auto sphere = PolyFrom(SimplePoly::CreateSphere(32).get());
    ASSERT_TRUE(sphere);
    std::unique_ptr<Model3D> round = Model3D::CreateFromPoly(sphere.get(), false);
    ASSERT_EQ(round->GetNumFaces(), 20480);
    for (FaceVert* f = sphere->mFaces.mFirst; f; f = f->mNext)
        f->mColor.r = -1.0f;
    EXPECT_EQ(round->ColorParts(), 1);
}

TEST_F(Model3DReportTest, KitCheckAndPartCounts)
{
    ScopedScriptedServices scripted;
    struct Case
    {
        const char* name;  // a library row, or null for a unit cube stretched along z
        bool dual;
        double stretch;
        bool buildable;
        const char* reason;
        int panelTypes;  // facelet types made of kit panels
        int squares, rhombi, panels, rods, balls;
    };
    const Case kCases[] = {
        {"Cube", false, 0.0, true, nullptr, 1, 6, 0, 6, 12, 8},
        {nullptr, false, 5e-8, true, nullptr, 6, 6, 0, 6, 12, 8},
        // Still six square shapes, but a model that fails counts nothing.
        {nullptr, false, 2e-7, false, kKitReasonEdgeLengths, 6, 0, 0, 0, 0, 0},
        // Each hexagon is three rhombi around a ball, with three rods inside.
        {"Truncated Octahedron", false, 0.0, true, nullptr, 2, 6, 24, 30, 36 + 8 * 3, 24 + 8},
        // No heptagon panel: the squares only, and the note.
        {"Heptagonal Prism", false, 0.0, true, kKitReasonPanelShape, 1, 7, 0, 7, 21, 14},
        // Rhombi of 70.5 degrees: rods can make them, panels cannot.
        {"Cuboctahedron", true, 0.0, true, kKitReasonPanelShape, 0, 0, 0, 0, 24, 14},
        // The triakis tetrahedron has two lengths of edge.
        {"Truncated Tetrahedron", true, 0.0, false, kKitReasonEdgeLengths, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name ? c.name : ("cube stretched by " + std::to_string(c.stretch)).c_str());
        std::unique_ptr<RowModel> model;
        std::unique_ptr<Stellation> fixtureSide;
        Stellation* side = nullptr;
        Model3D* mesh = nullptr;
        if (c.name)
        {
            LibraryEntry* row = FindLibraryEntry(c.name, nullptr, false);
            ASSERT_TRUE(row);
            model = OpenRow(*row);
            ASSERT_TRUE(model);
            side = c.dual ? model->poly.GetVertStellation() : model->poly.GetFaceStellation();
            mesh = side->GetModel3D(false);
        }
        else
        {
            fixtureSide = std::make_unique<Stellation>(nullptr, false);
            side = fixtureSide.get();
            auto owned = std::make_unique<Model3D>(nullptr, side);
            mesh = owned.get();
            side->SetModel3D(std::move(owned));
            BuildMesh(*mesh, Cube(1.0, c.stretch), kCubeFaces);
        }
        ASSERT_TRUE(mesh);
        EXPECT_EQ(Model3D::IsKitBuildable(mesh), c.buildable);
        EXPECT_EQ(side->mKitReason, c.reason);
        int panelTypes = 0;
        for (Face3DType* type = mesh->mFaceTypes; type; type = type->mNext)
            panelTypes += type->IsPanelShape();
        EXPECT_EQ(panelTypes, c.panelTypes);

        mesh->CountKitParts();
        int squares = 0, rhombi = 0;
        for (int colour = 0; colour < 5; ++colour)
        {
            squares += mesh->mKitPanels[kKitPanelSquare][colour];
            rhombi += mesh->mKitPanels[kKitPanelRhombus][colour];
        }
        EXPECT_EQ(squares, c.squares);
        EXPECT_EQ(rhombi, c.rhombi);
        EXPECT_EQ(mesh->GetNumKitPanels(), c.panels);
        EXPECT_EQ(mesh->mKitRods, c.rods);
        EXPECT_EQ(mesh->mKitBalls, c.balls);
    }
}
