#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "library/Export3DOptions.h"
#include "library/Export3DScene.h"
#include "library/ExportTestModels.h"
#include "model/ElementDisplayOptions.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "support/ExternalReaders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{
int CountOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// What the VRML reader prints on its standard error reading the world (empty for a sound world).
std::string VrmlReaderErrors(const std::string& path)
{
    return RunReader("{ tovrmlx3d '" + path + "' --encoding classic > /dev/null; }");
}

// The number after "position 0 0" in the viewpoint with the description, and its field of view.
bool ReadViewpoint(const std::string& text, const std::string& description, double& distance, double& fov)
{
    const size_t at = text.find("  description \"" + description + "\"\n");
    if (at == std::string::npos)
        return false;
    std::istringstream in(text.substr(at));
    std::string line, word;
    std::getline(in, line);
    in >> word >> distance >> distance >> distance >> word >> fov;
    return word == "fieldOfView";
}

class SimplePolyExportScenesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mOptions = gExport3DOptions;
        mDisplay = GetElementDisplayOptions();
        mUnit = GetUnitSettings().GetDistanceUnit();
        mScale = GetUnitSettings().GetScale();
    }
    void TearDown() override
    {
        gExport3DOptions = mOptions;
        GetElementDisplayOptions() = mDisplay;
        GetUnitSettings().SetDistanceUnit(mUnit);
        GetUnitSettings().SetScale(mScale, false);
        for (const std::string& path : mFiles)
            std::remove(path.c_str());
    }
    std::string Scratch(const std::string& name)
    {
        mFiles.push_back(ScratchPath(name));
        std::remove(mFiles.back().c_str());
        return mFiles.back();
    }

    ScopedScriptedServices mScripted;
    uint32_t mOptions = 0;
    ElementDisplayOptions mDisplay;
    int mUnit = 0;
    double mScale = 1.0;
    std::vector<std::string> mFiles;
};
}  // namespace

TEST_F(SimplePolyExportScenesTest, VrmlWithoutAPaneHasAGreySkyAndACameraFittedInMetres)
{
    gExport3DOptions = kExport3DTriangulateHoles;
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0), Packed(0, 0, 255)});
    struct Case
    {
        const char* name;
        int unit;
        double metres;  // one unit in metres
    };
    const Case kCases[] = {{"metres", kUnitMetres, 1.0}, {"millimetres", kUnitMm, 0.001}, {"inches", kUnitInches, 0.0254}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetUnitSettings().SetDistanceUnit(c.unit);
        const std::string path = Scratch("fallback.wrl");
        ASSERT_TRUE(cube->ExportVrml(path.c_str(), "Cube", nullptr, Export3DScene()));
        EXPECT_EQ(GetUnitSettings().GetDistanceUnit(), c.unit);
        const std::string text = ReadWholeFile(path);
        EXPECT_EQ(text.rfind("#VRML V2.0 utf8\n# Cube\n", 0), 0u) << text.substr(0, 100);
        EXPECT_NE(text.find("\nBackground {\n  skyColor 0.5 0.5 0.5\n}\n"), std::string::npos);
        // The circumradius is the half-diagonal, root 3; the camera sees it within 12.5 degrees.
        const double radius = std::sqrt(3.0) * c.metres;
        double distance = 0.0, fov = 0.0;
        ASSERT_TRUE(ReadViewpoint(text, "Default", distance, fov));
        EXPECT_NEAR(distance, 4.620226 * radius, 1e-5 * radius);
        EXPECT_NE(text.find("  fieldOfView 0.436332\n"), std::string::npos);
        ASSERT_TRUE(ReadViewpoint(text, "Telephoto", distance, fov));
        EXPECT_NEAR(distance, radius / std::sin(2.5 * kPi / 180.0), 1e-5 * distance);
        EXPECT_NEAR(fov, 5.0 * kPi / 180.0, 1e-6);
        EXPECT_NE(text.find("  description \"Origin\"\n  position 0 0 0\n  fieldOfView 1.57\n"), std::string::npos);
        // The corner (1, 1, 1) in metres.
        char corner[96];
        std::snprintf(corner, sizeof corner, "        % .8g % .8g % .8g,\n", c.metres, c.metres, c.metres);
        EXPECT_NE(text.find(corner), std::string::npos) << corner;
        EXPECT_EQ(VrmlReaderErrors(path), "");
    }
}

TEST_F(SimplePolyExportScenesTest, VrmlTakesThePanesSkyAndTheNarrowerFieldOfView)
{
    GetUnitSettings().SetDistanceUnit(kUnitMetres);
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    Export3DScene scene;
    scene.hasView = true;
    scene.background = ColorRGB{0.1f, 0.2f, 0.3f};
    scene.eye = Vec3D{0.0, 3.0, 4.0};
    scene.verticalFov = 25.0;
    struct Case
    {
        int width, height;
        const char* fov;
    };
    const Case kCases[] = {{400, 800, "0.220793"}, {800, 400, "0.436332"}, {500, 500, "0.436332"}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.width * 10000 + c.height);
        scene.width = c.width;
        scene.height = c.height;
        const std::string path = Scratch("pane.wrl");
        ASSERT_TRUE(cube->ExportVrml(path.c_str(), "Cube", nullptr, scene));
        const std::string text = ReadWholeFile(path);
        EXPECT_NE(text.find("  skyColor 0.10 0.20 0.30\n"), std::string::npos);
        EXPECT_NE(text.find(std::string("  description \"Default\"\n  position 0 0 5\n  fieldOfView ") + c.fov + "\n"),
                  std::string::npos)
            << text;
    }
}

TEST_F(SimplePolyExportScenesTest, VrmlCylindersAreTurnedOntoTheirEdges)
{
    GetUnitSettings().SetDistanceUnit(kUnitMetres);
    GetElementDisplayOptions().mSpheresAndCylinders = true;
    GetElementDisplayOptions().mCylinderRad = 0.5;
    gExport3DOptions = kExport3DTriangulateHoles | kExport3DEdges;
    const Vec3D points[] = {{0, 0, 0}, {0, 2, 0}, {0, -3, 0}, {1, 2, 3}, {-2, -1, 0.5}, {0, 0, 1e-8}};
    SimplePoly poly(6, 0);
    for (int i = 0; i < 6; ++i)
        poly.mVerts[i].SetPos(points[i]);
    poly.mVerts[3].mSizeFactor = 0.8;
    poly.mVerts[4].mSizeFactor = 0.5;
    struct Case
    {
        int a, b;
        const char* rotation;  // null: checked by turning (0, 1, 0)
    };
    const Case kCases[] = {{0, 1, "   rotation  0  1  0  0\n"},
                           {0, 2, "   rotation  1  0  0  3.1415927\n"},
                           {0, 3, nullptr},
                           {3, 4, nullptr}};
    VertexPair* edges = nullptr;
    for (const Case& c : kCases)
        ASSERT_TRUE(AddVertexPair(c.a, c.b, 0, edges));
    ASSERT_TRUE(AddVertexPair(0, 5, 0, edges));  // no length: no cylinder
    Export3DScene scene;
    scene.sphereLength = 0.2;
    const std::string path = Scratch("cylinders.wrl");
    ASSERT_TRUE(poly.ExportVrml(path.c_str(), "Rods", edges, scene));
    FreeVertexPairs(edges);
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(CountOf(text, "geometry Cylinder"), 4);
    EXPECT_EQ(CountOf(text, "geometry Sphere"), 0);
    EXPECT_EQ(VrmlReaderErrors(path), "");

    // Newest pair first: the cylinders come in the reverse order of the cases.
    std::vector<size_t> starts;
    for (size_t at = text.find("  Transform {\n"); at != std::string::npos; at = text.find("  Transform {\n", at + 1))
        starts.push_back(at);
    ASSERT_EQ(starts.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        const Case& c = kCases[3 - i];
        SCOPED_TRACE(c.a * 10 + c.b);
        const std::string block = text.substr(starts[i], i + 1 < 4 ? starts[i + 1] - starts[i] : std::string::npos);
        Vec3D d;
        Vec3Sub(d, points[c.b], points[c.a]);
        const double length = Vec3Length(d);
        // Six digits, as "%g" writes them.
        EXPECT_NEAR(NumberAfter(block, "height"), length, 1e-5 * length);
        const double radius = c.b == 4 ? 0.5 * 0.2 * 0.5 : 0.5 * 0.2;
        EXPECT_NEAR(NumberAfter(block, "radius"), radius, 1e-9);
        if (c.rotation)
        {
            EXPECT_NE(block.find(c.rotation), std::string::npos) << block;
        }
        std::istringstream in(block.substr(block.find("rotation")));
        std::string word;
        Vec3D axis;
        double angle = 0.0;
        in >> word >> axis.x >> axis.y >> axis.z >> angle;
        // Rodrigues: (0, 1, 0) turned about the axis.
        const Vec3D y{0.0, 1.0, 0.0};
        Vec3D cross;
        Vec3Cross(cross, axis, y);
        for (int k = 0; k < 3; ++k)
        {
            const double yk = k == 1 ? 1.0 : 0.0;
            const double ak = k == 0 ? axis.x : k == 1 ? axis.y : axis.z;
            const double ck = k == 0 ? cross.x : k == 1 ? cross.y : cross.z;
            const double dk = (k == 0 ? d.x : k == 1 ? d.y : d.z) / length;
            const double t = yk * std::cos(angle) + ck * std::sin(angle) + ak * Vec3Dot(axis, y) * (1.0 - std::cos(angle));
            EXPECT_NEAR(t, dk, 1e-7) << k;
        }
    }
}

TEST_F(SimplePolyExportScenesTest, VrmlLinesUseTheFaceSetsPointsEvenWithEveryFaceHidden)
{
    GetUnitSettings().SetDistanceUnit(kUnitMetres);
    GetElementDisplayOptions().mSpheresAndCylinders = false;
    gExport3DOptions = kExport3DTriangulateHoles | kExport3DEdges;
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0), Packed(0, 255, 0)});
    VertexPair* edges = cube->CollectEdges();
    ASSERT_EQ(CountVertexPairs(edges), 12);
    for (const bool hidden : {false, true})
    {
        SCOPED_TRACE(hidden ? "every face hidden" : "faces shown");
        for (int f = 0; f < cube->mNumFaces; ++f)
            cube->mFaces[f].mFlags = hidden ? (cube->mFaces[f].mFlags | SimpleElem::kHidden)
                                            : (cube->mFaces[f].mFlags & ~SimpleElem::kHidden);
        const std::string path = Scratch("lines.wrl");
        ASSERT_TRUE(cube->ExportVrml(path.c_str(), "Cube", edges, Export3DScene()));
        const std::string text = ReadWholeFile(path);
        EXPECT_EQ(CountOf(text, "IndexedLineSet"), 1);
        EXPECT_NE(text.find("      coord USE myPoints\n"), std::string::npos);
        EXPECT_EQ(CountOf(text, "coord DEF myPoints Coordinate"), 1);
        EXPECT_EQ(CountOf(text, "\n        point [\n"), 1);
        EXPECT_EQ(CountOf(text, ", -1,\n"), 12 + (hidden ? 0 : 6));
        EXPECT_EQ(CountOf(text, "coordIndex ["), hidden ? 1 : 2);
        EXPECT_EQ(CountOf(text, "colorIndex ["), hidden ? 0 : 1);
        EXPECT_EQ(CountOf(text, "Cylinder"), 0);
        EXPECT_EQ(VrmlReaderErrors(path), "");
    }
    FreeVertexPairs(edges);

    // Without the edges nothing refers to the points, and a model without faces writes no face set.
    for (int f = 0; f < cube->mNumFaces; ++f)
        cube->mFaces[f].mFlags |= SimpleElem::kHidden;
    const std::string path = Scratch("empty.wrl");
    ASSERT_TRUE(cube->ExportVrml(path.c_str(), "Cube", nullptr, Export3DScene()));
    EXPECT_EQ(CountOf(ReadWholeFile(path), "myPoints"), 0);
    EXPECT_EQ(VrmlReaderErrors(path), "");
}

TEST_F(SimplePolyExportScenesTest, VrmlSpheresSitOnTheShownVerticesAtTheirSize)
{
    GetUnitSettings().SetDistanceUnit(kUnitMm);
    gExport3DOptions = kExport3DTriangulateHoles | kExport3DVerts;
    GetElementDisplayOptions().mSphereColor = ColorRGB{1.0f, 0.5f, 0.0f};
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    cube->mVerts[2].mFlags |= SimpleElem::kHidden;
    cube->mVerts[6].mSizeFactor = 0.5;
    Export3DScene scene;
    scene.sphereLength = 100.0;  // millimetres
    const std::string path = Scratch("spheres.wrl");
    ASSERT_TRUE(cube->ExportVrml(path.c_str(), "Cube", nullptr, scene));
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(CountOf(text, "geometry Sphere"), 7);
    EXPECT_EQ(CountOf(text, "      radius 0.1\n"), 6);
    EXPECT_EQ(CountOf(text, "      radius 0.05\n"), 1);
    EXPECT_EQ(CountOf(text, "       diffuseColor 1.00 0.50 0.00\n"), 7);
    EXPECT_NE(text.find("   translation  0.001  0.001  0.001\n"), std::string::npos) << "vertex 6 in metres";
    EXPECT_EQ(text.find("   translation  0.001  0.001 -0.001\n"), std::string::npos) << "vertex 2 is hidden";
    EXPECT_EQ(VrmlReaderErrors(path), "");
}

TEST_F(SimplePolyExportScenesTest, VrmlTitleQuotesAndBackslashesAreEscaped)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    const std::string path = Scratch("quoted.wrl");
    ASSERT_TRUE(cube->ExportVrml(path.c_str(), "6\" cube \\ A", nullptr, Export3DScene()));
    const std::string text = ReadWholeFile(path);
    EXPECT_NE(text.find("  title \"6\\\" cube \\\\ A\"\n  info [\n  \"6\\\" cube \\\\ A\"\n"), std::string::npos)
        << text.substr(0, 300);
    EXPECT_EQ(VrmlReaderErrors(path), "");
}

TEST_F(SimplePolyExportScenesTest, PovFacesAreOneMeshPerColourAndASingleMeshAlone)
{
    for (const int numColors : {1, 3})
    {
        SCOPED_TRACE(numColors);
        std::vector<uint32_t> colors = {Packed(255, 0, 0), Packed(0, 255, 0), Packed(0, 0, 255)};
        colors.resize(size_t(numColors));
        std::unique_ptr<SimplePoly> cube = Cube(colors);
        std::unique_ptr<SimplePoly> triangles =
            SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
        ASSERT_NE(triangles, nullptr);
        const std::string include = Scratch("faces.inc");
        ASSERT_TRUE(triangles->ExportPov(include.c_str(), nullptr, "Cube", nullptr, Export3DScene()));
        const std::string text = ReadWholeFile(include);
        const char* prefix = numColors == 1 ? "// " : "";
        EXPECT_NE(text.find(std::string("\n#declare FACES = ") + prefix + "union {\n"), std::string::npos);
        EXPECT_NE(text.find(std::string("  }\n") + prefix + "}\n\n#declare VERTS"), std::string::npos);
        EXPECT_EQ(CountOf(text, "  mesh {\n"), numColors);
        EXPECT_EQ(CountOf(text, "    triangle {V"), 12);
        EXPECT_EQ(CountOf(text, "#declare V"), 8 + 1);  // the vertices and VERTS
        EXPECT_NE(text.find("#declare V6 = < 1,  1,  1>;\n"), std::string::npos);
        EXPECT_NE(text.find("    texture{TEXTURE" + std::to_string(numColors - 1) + "}\n"), std::string::npos);
        EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);
    }
}

TEST_F(SimplePolyExportScenesTest, PovSceneUsesTheVertsAndEdgesTheOptionsAskFor)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0), Packed(0, 0, 255)});
    std::unique_ptr<SimplePoly> triangles = SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
    VertexPair* edges = cube->CollectEdges();
    struct Case
    {
        uint32_t options;
        const char* verts;
        const char* edges;
    };
    const Case kCases[] = {{0, "  //object {VERTS}\n", "  //object {EDGES}\n"},
                           {kExport3DVerts, "  object {VERTS}\n", "  //object {EDGES}\n"},
                           {kExport3DEdges | kExport3DVerts, "  object {VERTS}\n", "  object {EDGES}\n"}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.options);
        gExport3DOptions = kExport3DTriangulateAll | c.options;
        const std::string include = Scratch("switches.inc");
        const std::string scene = Scratch("switches.pov");
        ASSERT_TRUE(triangles->ExportPov(include.c_str(), scene.c_str(), "Cube", edges, Export3DScene()));
        const std::string sceneText = ReadWholeFile(scene);
        EXPECT_NE(sceneText.find(std::string("  object {FACES}\n") + c.verts + c.edges), std::string::npos);
        EXPECT_NE(sceneText.find("#include \"switches.inc\"\n"), std::string::npos);
        // The include declares both whatever the options.
        const std::string includeText = ReadWholeFile(include);
        EXPECT_EQ(CountOf(includeText, "  sphere {V"), 8);
        EXPECT_EQ(CountOf(includeText, "  cylinder {V"), 12);
    }
    FreeVertexPairs(edges);
}

TEST_F(SimplePolyExportScenesTest, PovSizeFactorsScaleSpheresAndCylinders)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    cube->mVerts[3].mSizeFactor = 0.5;
    cube->mVerts[0].mSizeFactor = 0.75;
    VertexPair* edges = nullptr;
    ASSERT_TRUE(AddVertexPair(0, 3, 0, edges));  // both scaled: the smaller
    ASSERT_TRUE(AddVertexPair(0, 1, 0, edges));  // one end unscaled: the usual size
    const std::string include = Scratch("sizes.inc");
    ASSERT_TRUE(cube->ExportPov(include.c_str(), nullptr, "Cube", edges, Export3DScene()));
    FreeVertexPairs(edges);
    const std::string text = ReadWholeFile(include);
    EXPECT_NE(text.find("\n  sphere {V3 (SPHERE_RADIUS * 0.5)}\n"), std::string::npos);
    EXPECT_NE(text.find("\n  sphere {V0 (SPHERE_RADIUS * 0.75)}\n"), std::string::npos);
    EXPECT_NE(text.find("\n  sphere {V2 SPHERE_RADIUS}\n"), std::string::npos);
    EXPECT_NE(text.find("\n  cylinder {V0 V3 (CYLINDER_RADIUS * 0.5)}\n"), std::string::npos);
    EXPECT_NE(text.find("\n  cylinder {V0 V1 CYLINDER_RADIUS}\n"), std::string::npos);
}

TEST_F(SimplePolyExportScenesTest, PovCameraAndFloorFollowThePaneOrTheFallbacks)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    std::unique_ptr<SimplePoly> triangles = SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
    GetElementDisplayOptions().mCylinderRad = 0.5;

    // Without a pane: a grey sky and the VRML world's default camera on the z axis.
    const std::string include = Scratch("camera.inc");
    const std::string scene = Scratch("camera.pov");
    ASSERT_TRUE(triangles->ExportPov(include.c_str(), scene.c_str(), "Cube", nullptr, Export3DScene()));
    std::string text = ReadWholeFile(scene);
    EXPECT_NE(text.find("\nbackground { color rgb <0.50, 0.50, 0.50> }\n"), std::string::npos);
    EXPECT_NEAR(NumberAfter(text, "location <0, 0 \\+ CENTRE_HEIGHT,"), 4.620226 * std::sqrt(3.0), 1e-4);
    EXPECT_NEAR(NumberAfter(text, "up <0,"), 2.0 * std::tan(12.5 * kPi / 180.0), 1e-5);
    EXPECT_NE(text.find("#declare CENTRE_HEIGHT = 1 + SPHERE_RADIUS;\n"), std::string::npos);
    EXPECT_NE(text.find("#declare CYLINDER_RADIUS = 0.5 * SPHERE_RADIUS;\n"), std::string::npos);
    EXPECT_NEAR(NumberAfter(text, "scale"), std::sqrt(3.0), 1e-5);
    EXPECT_NE(text.find("light_source {<5.19615, 1.73205 + CENTRE_HEIGHT, 3.4641> color rgb <1, 1, 1> }\n"),
              std::string::npos);

    // A pane's camera, and a model lifted entirely above its centre.
    for (int i = 0; i < triangles->mNumVerts; ++i)
    {
        Vec3D p = triangles->mVerts[i].mPos;
        p.y += 1.0;
        triangles->mVerts[i].SetPos(p);
    }
    Export3DScene pane;
    pane.hasView = true;
    pane.background = ColorRGB{0.0f, 0.0f, 1.0f};
    pane.eye = Vec3D{0.5, 0.0, 8.0};
    pane.viewVector = Vec3D{0.0, 0.0, 2.0};
    pane.verticalFov = 30.0;
    pane.sphereLength = 0.125;
    ASSERT_TRUE(triangles->ExportPov(include.c_str(), scene.c_str(), "Cube", nullptr, pane));
    text = ReadWholeFile(scene);
    EXPECT_NE(text.find("#declare SPHERE_RADIUS = 0.125;\n"), std::string::npos);
    EXPECT_NE(text.find("#declare CENTRE_HEIGHT = 0 + SPHERE_RADIUS;\n"), std::string::npos);
    EXPECT_NE(text.find("\nbackground { color rgb <0.00, 0.00, 1.00> }\n"), std::string::npos);
    EXPECT_NE(text.find("  location <0.5, 0 + CENTRE_HEIGHT, 8>\n"), std::string::npos);
    EXPECT_NE(text.find("  look_at <0.5, 0 + CENTRE_HEIGHT, 6>\n"), std::string::npos);
    EXPECT_NEAR(NumberAfter(text, "up <0,"), 2.0 * std::tan(15.0 * kPi / 180.0), 1e-5);
}

TEST_F(SimplePolyExportScenesTest, PovWithoutASceneWritesTheIncludeAndAFailedSceneIsReported)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    std::unique_ptr<SimplePoly> triangles = SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
    const std::string include = Scratch("alone.inc");
    ASSERT_TRUE(triangles->ExportPov(include.c_str(), nullptr, "Cube", nullptr, Export3DScene()));
    EXPECT_NE(ReadWholeFile(include).find("#version OldVersion;\n"), std::string::npos);
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);

    const std::string scene = "/nonexistent-orvane-folder/alone.pov";
    bool reported = false;
    EXPECT_FALSE(triangles->ExportPov(include.c_str(), scene.c_str(), "Cube", nullptr, Export3DScene(), &reported));
    EXPECT_TRUE(reported);
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "Saved '" + include + "', but couldn't save POV scene file '" + scene + "'.");
    EXPECT_TRUE(std::filesystem::exists(include));

    // An include that cannot be written fails quietly, for the command to report.
    mScripted.services.Clear();
    EXPECT_FALSE(triangles->ExportPov("/nonexistent-orvane-folder/x.inc", nullptr, "Cube", nullptr, Export3DScene(),
                                      &reported));
    EXPECT_FALSE(reported);
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);
}
