#include "kernel/ColorRGB.h"
#include "kernel/DxfCodes.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/Export3DOptions.h"
#include "library/ExportFileNames.h"
#include "library/ExportTestModels.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "support/ExternalReaders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{
class SimplePolyExportTest : public ::testing::Test
{
protected:
    void SetUp() override { mOptions = gExport3DOptions; }
    void TearDown() override
    {
        gExport3DOptions = mOptions;
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
    std::vector<std::string> mFiles;
};
}  // namespace

TEST_F(SimplePolyExportTest, DxfLayerTableCountsTheColoursPlusOne)
{
    const std::vector<uint32_t> colors = {Packed(255, 0, 0), Packed(0, 0, 255), Packed(254, 254, 254)};
    std::unique_ptr<SimplePoly> cube = Cube(colors);
    std::unique_ptr<SimplePoly> triangles = SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
    ASSERT_NE(triangles, nullptr);
    VertexPair* edges = triangles->CollectEdges();
    for (const bool withEdges : {false, true})
    {
        SCOPED_TRACE(withEdges ? "with edges" : "without edges");
        gExport3DOptions = withEdges ? (mOptions | kExport3DEdges) : (mOptions & ~kExport3DEdges);
        const std::string path = Scratch("layers.dxf");
        ASSERT_TRUE(triangles->ExportDxf(path.c_str(), "Cube", edges));
        const std::string text = ReadWholeFile(path);
        const std::vector<std::string> table = LinesBetween(text, "LAYER", "ENDTAB");
        ASSERT_GE(table.size(), 3u);
        EXPECT_EQ(table[1], "70");
        EXPECT_EQ(table[2], "4");
        std::vector<std::string> names, indices;
        for (size_t i = 0; i + 1 < table.size(); ++i)
        {
            if (table[i] == "2")
                names.push_back(table[i + 1]);
            if (table[i] == "62")
                indices.push_back(table[i + 1]);
        }
        const std::vector<std::string> expected =
            withEdges ? std::vector<std::string>{"Layer1", "Layer2", "Layer3", "Edges"}
                      : std::vector<std::string>{"Layer1", "Layer2", "Layer3"};
        EXPECT_EQ(names, expected);
        // Red, blue and near white by their palette indices.
        ASSERT_GE(indices.size(), 3u);
        EXPECT_EQ(indices[0], "1");
        EXPECT_EQ(indices[1], "5");
        EXPECT_EQ(indices[2], "7");
        // Twelve triangles; with edges the 18 sides of the triangulated cube as lines.
        int faces = 0, lines = 0;
        for (size_t at = text.find("\n3DFACE\n"); at != std::string::npos; at = text.find("\n3DFACE\n", at + 1))
            ++faces;
        for (size_t at = text.find("\nLINE\n"); at != std::string::npos; at = text.find("\nLINE\n", at + 1))
            ++lines;
        EXPECT_EQ(faces, 12);
        EXPECT_EQ(lines, withEdges ? CountVertexPairs(edges) : 0);
        EXPECT_NE(text.find("$INSUNITS\n70\n" + std::to_string(GetDxfInsUnits(GetUnitSettings().GetDistanceUnit())) + "\n"), std::string::npos);
    }
    FreeVertexPairs(edges);
}

TEST_F(SimplePolyExportTest, TinyCoordinatesAreWrittenAsZero)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    cube->mVerts[0].SetPos(Vec3D{5e-8, -1.0, -1.0});
    std::unique_ptr<SimplePoly> triangles = SimplePoly::CopyTriangulated(cube.get(), SimplePoly::kTriangulateAll, nullptr);
    ASSERT_NE(triangles, nullptr);
    const std::string off = Scratch("tiny.off");
    ASSERT_TRUE(cube->ExportOff(off.c_str(), "Cube"));
    EXPECT_NE(ReadWholeFile(off).find("\n 0.00000000000000000 -1.00000000000000000 -1.00000000000000000\n"),
              std::string::npos)
        << ReadWholeFile(off);
    const std::string stl = Scratch("tiny.stl");
    ASSERT_TRUE(triangles->ExportStl(stl.c_str(), "Cube"));
    EXPECT_NE(ReadWholeFile(stl).find("vertex 0.00000000 -1.00000000 -1.00000000\n"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(stl).find("e-08"), std::string::npos);
    const std::string dxf = Scratch("tiny.dxf");
    ASSERT_TRUE(triangles->ExportDxf(dxf.c_str(), "Cube", nullptr));
    EXPECT_EQ(ReadWholeFile(dxf).find("e-08"), std::string::npos);
}

TEST_F(SimplePolyExportTest, StlTakesTrianglesAndReportsAnotherFaceOnce)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    const std::string stl = Scratch("squares.stl");
    ASSERT_TRUE(cube->ExportStl(stl.c_str(), "Great Stellated Dodecahedron (W22)"));
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "ExportStl: face has 4 sides, must have 3");
    const std::string text = ReadWholeFile(stl);
    EXPECT_EQ(text.rfind("solid GreatStellatedDodecahedronW22\n facet normal 0.00000000 0.00000000 -1.00000000\n"
                         "  outer loop\n   vertex -1.00000000 -1.00000000 -1.00000000\n"
                         "   vertex -1.00000000 1.00000000 -1.00000000\n"
                         "   vertex 1.00000000 1.00000000 -1.00000000\n  endloop\n endfacet\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("endsolid GreatStellatedDodecahedronW22\n"), std::string::npos);

    // A face marked reversed has its normal turned round.
    cube->mFaces[0].mFlags |= SimpleElem::kReverseNorm;
    const std::string snub = Scratch("snub.stl");
    ASSERT_TRUE(cube->ExportStl(snub.c_str(), "snub cube"));
    EXPECT_EQ(ReadWholeFile(snub).rfind("solid snubCube\n facet normal 0.00000000 0.00000000 1.00000000\n", 0), 0u);
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 2);
}

TEST_F(SimplePolyExportTest, ObjNamesGroupsMaterialsAndNormals)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0), Packed(0, 128, 0)});
    // The face between the first two visible ones of its colour is hidden.
    cube->mFaces[1].mFlags |= SimpleElem::kHidden;
    struct Case
    {
        const char* file;
        const char* base;
    };
    const Case kCases[] = {{"my model-2.obj", "mymodel2"}, {"--.obj", "Polyhedron"}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.file);
        const std::string obj = Scratch(c.file);
        const std::string mtl = Scratch(std::string(c.file) + ".mtl");
        ASSERT_TRUE(cube->ExportObj(obj.c_str(), mtl.c_str(), "A cube"));
        const std::string text = ReadWholeFile(obj);
        EXPECT_NE(text.find("\nmtllib " + std::string(GetFileNamePart(mtl.c_str())) + "\no A cube\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("\ng ") + c.base + " Group001RGBff0000\nusemtl Material_0\n"), std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("\ng ") + c.base + " Group002RGB008000\nusemtl Material_1\n"), std::string::npos)
            << text;
        // Faces 0 and 2 are red and written; face 1 between them is hidden and has no normal.
        EXPECT_NE(text.find("usemtl Material_0\nf 1//1 4//1 3//1 2//1\nf 1//2 2//2 6//2 5//2\n"), std::string::npos)
            << text;
        int normals = 0;
        for (size_t at = text.find("\nvn "); at != std::string::npos; at = text.find("\nvn ", at + 1))
            ++normals;
        EXPECT_EQ(normals, 5);
        EXPECT_NE(text.find("\nv -1.00000000000000000 -1.00000000000000000 -1.00000000000000000\n"), std::string::npos);
        const std::string materials = ReadWholeFile(mtl);
        EXPECT_NE(materials.find("\nnewmtl Material_0\n\tKa 1.00 0.00 0.00\n\tKd 1.00 0.00 0.00\n\tKs 1 1 1\n"
                                 "newmtl Material_1\n\tKa 0.00 0.50 0.00\n"),
                  std::string::npos)
            << materials;
    }
}

TEST_F(SimplePolyExportTest, OffCountsVisibleFacesAndWritesTheirColours)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0), Packed(10, 20, 30)});
    cube->mFaces[3].mFlags |= SimpleElem::kHidden;
    const std::string off = Scratch("cube.off");
    ASSERT_TRUE(cube->ExportOff(off.c_str(), "Cube"));
    const std::string text = ReadWholeFile(off);
    EXPECT_EQ(text.rfind("OFF\n# Cube\n", 0), 0u) << text;
    EXPECT_NE(text.find("\n8 5 12\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n4 0 3 2 1 \t255 0 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n4 0 1 5 4 \t255 0 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n4 4 5 6 7 \t10 20 30\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n4 2 3 7 6 "), std::string::npos) << text;
}

TEST_F(SimplePolyExportTest, AFileThatCannotBeOpenedGivesFalseQuietly)
{
    std::unique_ptr<SimplePoly> cube = Cube({Packed(255, 0, 0)});
    const std::string missing = "/nonexistent-folder/cube";
    EXPECT_FALSE(cube->ExportOff((missing + ".off").c_str(), "Cube"));
    EXPECT_FALSE(cube->ExportStl((missing + ".stl").c_str(), "Cube"));
    EXPECT_FALSE(cube->ExportDxf((missing + ".dxf").c_str(), "Cube", nullptr));
    EXPECT_FALSE(cube->ExportObj((missing + ".obj").c_str(), (missing + ".mtl").c_str(), "Cube"));
    const std::string obj = Scratch("nomaterial.obj");
    EXPECT_FALSE(cube->ExportObj(obj.c_str(), (missing + ".mtl").c_str(), "Cube"));
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);
}

TEST(ExportFileNamesTest, ModelNamesAreAbbreviated)
{
    struct Case
    {
        const char* name;
        const char* abbreviated;
    };
    const Case kCases[] = {
        {"Great Truncated Cuboctahedron", "Great Trunc Cubocta"},
        {"Truncated Icosahedron", "Trunc Icosa"},
        {"Pentagrammic Prism", "Pentagram Prism"},
        {"Great Icosahedron", "Great Icosa"},
        {"D-Truncated Octahedron", "D-Trunc Octa"},
        {"Decagonal Prism", "Deca Prism"},
        {"a:truncated/cube\"x", "aTruncCubeX"},
        {"D-d-x", "D-d-x"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        std::string name = c.name;
        AbbreviateModelName(name);
        EXPECT_EQ(name, c.abbreviated);
    }
}

TEST(ExportFileNamesTest, ThePaneTypeAddsItsSuffix)
{
    struct Case
    {
        int viewType;
        bool model4D;
        const char* suffix;
    };
    const Case kCases[] = {
        {kViewTypePoly, false, ""},
        {kViewTypeDual, false, ""},
        {kViewTypeMorphSizing, false, "-Morph0.125"},
        {kViewTypeMorphViaSnub, false, "-Morph0.125"},
        {kViewTypeFacetDiagram, false, "-FacetDiag"},
        {kViewTypeFace, false, "-Face"},
        {kViewTypeFace, true, "-Cell"},
        {kViewTypeVertexFigure, false, "-Verf"},
        {kViewTypeSlice, false, "-Slice0.250"},
        {kViewTypeStelFace, false, "-StelFace"},
        {kViewTypeStelDiagram, false, "-StelDiag"},
        {kViewTypeCellDiagram, false, "-CellDiag"},
        {kViewTypeCompound, false, ""},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.viewType);
        EXPECT_EQ(ViewTypeFileSuffix(c.viewType, 0.125, 0.25, c.model4D), c.suffix);
    }
}
