#include "kernel/Paths.h"
#include "kernel/UnitSettings.h"
#include "library/Export3DOptions.h"
#include "model/CompoundPart.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "platform/CommandIds.h"
#include "support/ExternalReaders.h"
#include "view/PaneFixture.h"

#include <wx/menu.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kWholeFaces = (0x11A & ~7u) | kExport3DTriangulateHoles;
constexpr uint32_t kAllTriangles = (0x11A & ~7u) | kExport3DTriangulateAll;

// Every face's normal as written against the normal of its corners (Newell's, so that a
// non-convex polygon counts too): how many point the other way.
int CountStlNormalsAgainstCorners(const std::string& text, int* facets)
{
    std::istringstream in(text);
    std::string word;
    int against = 0;
    *facets = 0;
    while (in >> word)
    {
        if (word != "facet")
            continue;
        Vec3D n, v[3];
        in >> word >> n.x >> n.y >> n.z >> word >> word;
        for (Vec3D& p : v)
            in >> word >> p.x >> p.y >> p.z;
        Vec3D a, b, c;
        Vec3Sub(a, v[1], v[0]);
        Vec3Sub(b, v[2], v[0]);
        Vec3Cross(c, a, b);
        ++*facets;
        if (!(Vec3Dot(c, n) > 0.0))
            ++against;
    }
    return against;
}

int CountObjNormalsAgainstCorners(const std::string& text, int* faces)
{
    std::istringstream in(text);
    std::string line;
    std::vector<Vec3D> verts, normals;
    int against = 0;
    *faces = 0;
    while (std::getline(in, line))
    {
        std::istringstream l(line);
        std::string kind;
        l >> kind;
        Vec3D p;
        if (kind == "v" || kind == "vn")
        {
            l >> p.x >> p.y >> p.z;
            (kind == "v" ? verts : normals).push_back(p);
            continue;
        }
        if (kind != "f")
            continue;
        std::vector<Vec3D> corners;
        int normal = 0;
        std::string item;
        while (l >> item)
        {
            const size_t slashes = item.find("//");
            corners.push_back(verts.at(size_t(std::stoi(item.substr(0, slashes)) - 1)));
            normal = std::stoi(item.substr(slashes + 2));
        }
        Vec3D newell;
        for (size_t k = 0; k < corners.size(); ++k)
        {
            const Vec3D& a = corners[k];
            const Vec3D& b = corners[(k + 1) % corners.size()];
            newell.x += (a.y - b.y) * (a.z + b.z);
            newell.y += (a.z - b.z) * (a.x + b.x);
            newell.z += (a.x - b.x) * (a.y + b.y);
        }
        ++*faces;
        if (!(Vec3Dot(newell, normals.at(size_t(normal - 1))) > 0.0))
            ++against;
    }
    return against;
}

int CountLines(const std::string& text, const std::string& start)
{
    int n = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(start, 0) == 0)
            ++n;
    return n;
}

class Export3DTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        mOptions = gExport3DOptions;
        // The options are set by each test: no dialog asks for them.
        mAsker = SetExportOptionsAsker(nullptr);
        mUnitScale = GetUnitSettings().GetScale();
    }

    void TearDown() override
    {
        gExport3DOptions = mOptions;
        gExport3DOrientation = 0;
        SetExportOptionsAsker(mAsker);
        if (GetUnitSettings().GetScale() != mUnitScale)
            GetUnitSettings().SetScale(mUnitScale, false);
        for (const std::string& path : mFiles)
            std::remove(path.c_str());
        PaneFixture::TearDown();
    }

    // A scratch file, removed after the test.
    std::string Scratch(const std::string& name)
    {
        mFiles.push_back(ScratchPath(name));
        std::remove(mFiles.back().c_str());
        return mFiles.back();
    }

    // The export command of the pane with the scripted save dialog answering path.
    bool Export(int format, const std::string& path)
    {
        mScripted.services.PushText(path);
        return Pane(0)->Export3D(format);
    }

    // The length of a model edge as written: after the model scale.
    static double WrittenEdgeLength()
    {
        gExport3DOptions = kWholeFaces;
        std::unique_ptr<SimplePoly> poly = Pane(0)->PrepareExport3D(0, nullptr);
        if (!poly || poly->mNumFaces == 0)
            return 0.0;
        const SimpleFace& face = poly->mFaces[0];
        Vec3D d;
        Vec3Sub(d, face.GetVert(1)->mPos, face.GetVert(0)->mPos);
        return Vec3Length(d);
    }

    uint32_t mOptions = 0;
    ExportOptionsAsker mAsker = nullptr;
    double mUnitScale = 1.0;
    std::vector<std::string> mFiles;
};

struct LibraryCase
{
    const char* name;
    int faces, verts, edges;
    const char* offCounts;
};
const LibraryCase kLibraryCases[] = {
    {"Cube", 6, 8, 12, "8 6 12"},
    {"Snub Dodecahedron", 92, 60, 150, "60 92 150"},
    {"Small Stellated Dodecahedron", 12, 12, 30, "12 12 30"},
};
}  // namespace

TEST_F(Export3DTest, ObjAndOffWithWholeFacesReadBackInAssimp)
{
    for (const LibraryCase& c : kLibraryCases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenModel(c.name), nullptr);
        gExport3DOptions = kWholeFaces;

        const std::string off = Scratch("whole.off");
        ASSERT_TRUE(Export(CPolyView::kExportOff, off));
        const std::string offText = ReadWholeFile(off);
        EXPECT_NE(offText.find(std::string("\n") + c.offCounts + "\n"), std::string::npos) << offText.substr(0, 200);
        int status = 0;
        std::string info = RunReader("assimp info '" + off + "' -r", &status);
        EXPECT_EQ(status, 0) << info;
        EXPECT_EQ(NumberAfter(info, "\\nFaces:"), c.faces) << info;
        EXPECT_EQ(NumberAfter(info, "\\nVertices:"), c.verts) << info;

        const std::string obj = Scratch("whole.obj");
        mFiles.push_back(WithExtension(obj.c_str(), "mtl"));
        std::remove(mFiles.back().c_str());
        ASSERT_TRUE(Export(CPolyView::kExportObj, obj));
        const std::string objText = ReadWholeFile(obj);
        const int groups = CountLines(objText, "usemtl ");
        EXPECT_GE(groups, 1);
        EXPECT_NE(objText.find("usemtl Material_0\n"), std::string::npos);
        EXPECT_NE(ReadWholeFile(mFiles.back()).find("newmtl Material_0\n"), std::string::npos);
        info = RunReader("assimp info '" + obj + "' -r", &status);
        EXPECT_EQ(status, 0) << info;
        EXPECT_EQ(NumberAfter(info, "\\nFaces:"), c.faces) << info;
        // One mesh per face colour.
        EXPECT_EQ(NumberAfter(info, "\\nMeshes:"), groups) << info;
    }
}

TEST_F(Export3DTest, StlOfClosedSolidsPassesAdmeshWithTheirVolume)
{
    struct Case
    {
        const char* name;
        double volumePerCubedEdge;
    };
    const Case kCases[] = {{"Cube", 1.0}, {"Snub Dodecahedron", 37.61665}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenModel(c.name), nullptr);
        // The model scaled to edges of one unit, then of 2.5 units.
        const double edge = WrittenEdgeLength() / GetUnitSettings().GetScale();
        ASSERT_GT(edge, 0.0);
        for (const double written : {1.0, 2.5})
        {
            GetUnitSettings().SetScale(written / edge, false);
            // STL takes triangles whatever the choice.
            gExport3DOptions = kWholeFaces;
            const std::string stl = Scratch("solid.stl");
            ASSERT_TRUE(Export(CPolyView::kExportStl, stl));
            int status = 0;
            const std::string report = RunReader("admesh '" + stl + "'", &status);
            EXPECT_EQ(status, 0) << report;
            EXPECT_EQ(NumberAfter(report, "Number of parts\\s*:"), 1) << report;
            EXPECT_EQ(NumberAfter(report, "Total disconnected facets\\s*:"), 0) << report;
            EXPECT_EQ(NumberAfter(report, "Degenerate facets\\s*:"), 0) << report;
            EXPECT_EQ(NumberAfter(report, "Facets reversed\\s*:"), 0) << report;
            EXPECT_EQ(NumberAfter(report, "Normals fixed\\s*:"), 0) << report;
            EXPECT_EQ(NumberAfter(report, "Backwards edges\\s*:"), 0) << report;
            const double volume = c.volumePerCubedEdge * written * written * written;
            EXPECT_NEAR(NumberAfter(report, "Volume\\s*:"), volume, 1e-5 * volume + 1e-6) << report;
        }
    }

    ASSERT_NE(OpenModel("Small Stellated Dodecahedron"), nullptr);
    const std::string stl = Scratch("star.stl");
    ASSERT_TRUE(Export(CPolyView::kExportStl, stl));
    int status = 0;
    const std::string info = RunReader("assimp info '" + stl + "' -r", &status);
    EXPECT_EQ(status, 0) << info;
    EXPECT_GT(NumberAfter(info, "\\nFaces:"), 0) << info;
}

TEST_F(Export3DTest, DxfReadsInAssimpAndPassesTheEzdxfAudit)
{
    for (const LibraryCase& c : kLibraryCases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenModel(c.name), nullptr);
        gExport3DOptions = kWholeFaces | kExport3DEdges;
        std::unique_ptr<SimplePoly> triangles = Pane(0)->PrepareExport3D(SimplePoly::kTriangulateAll, nullptr);
        ASSERT_NE(triangles, nullptr);
        const int numTriangles = SimplePoly::CountFacesWithout(triangles.get(), SimpleElem::kTemp | SimpleElem::kHidden);

        const std::string dxf = Scratch("model.dxf");
        ASSERT_TRUE(Export(CPolyView::kExportDxf, dxf));
        const std::string text = ReadWholeFile(dxf);
        int status = 0;
        const std::string audit = RunReader(
            "/usr/bin/python3 -c \"import sys, ezdxf; from ezdxf import recover; "
            "doc, auditor = recover.readfile(sys.argv[1]); msp = doc.modelspace(); "
            "print('errors', len(auditor.errors)); print('faces', len(msp.query('3DFACE'))); "
            "print('lines', len(msp.query('LINE'))); print('layers', len(doc.layers))\" '" +
                dxf + "'",
            &status);
        EXPECT_EQ(status, 0) << audit;
        EXPECT_EQ(NumberAfter(audit, "errors"), 0) << audit;
        EXPECT_EQ(NumberAfter(audit, "faces"), numTriangles) << audit;
        EXPECT_EQ(NumberAfter(audit, "lines"), c.edges) << audit;

        const std::string info = RunReader("assimp info '" + dxf + "' -r", &status);
        EXPECT_EQ(status, 0) << info;
        // A mesh per colour layer and one of lines for the edges.
        const int colorLayers = int(NumberAfter(text, "2\\nLAYER\\n70\\n")) - 1;
        EXPECT_EQ(NumberAfter(info, "\\nMeshes:"), colorLayers + 1) << info;
        EXPECT_NE(info.find("Edges"), std::string::npos) << info;
    }
}

TEST_F(Export3DTest, WrittenNormalsAgreeWithTheCornerOrder)
{
    struct Case
    {
        const char* name;
        bool invert;  // the model turned inside out: every face reversed
    };
    const Case kCases[] = {
        {"Octahemioctahedron", false},
        {"Snub Dodecahedron", false},
        {"Small Stellated Dodecahedron", false},
        {"Cube", true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly* poly = OpenModel(c.name);
        ASSERT_NE(poly, nullptr);
        if (c.invert)
        {
            std::vector<FaceVert*> buffer(size_t(poly->mFaces.mCount + poly->mVerts.mCount + 1));
            InvertCompoundPart(poly->mFaces.mFirst, true, true, buffer.data(), int(buffer.size()));
            ASSERT_TRUE(poly->mFaces.mFirst->mFlags & (FaceVert::kReversed | FaceVert::kReverseNorm));
        }
        for (const uint32_t options : {kWholeFaces, kAllTriangles})
        {
            SCOPED_TRACE(options == kWholeFaces ? "whole faces" : "triangles");
            gExport3DOptions = options;
            const std::string stl = Scratch("normals.stl");
            ASSERT_TRUE(Export(CPolyView::kExportStl, stl));
            int facets = 0;
            EXPECT_EQ(CountStlNormalsAgainstCorners(ReadWholeFile(stl), &facets), 0);
            EXPECT_GT(facets, 0);

            const std::string obj = Scratch("normals.obj");
            mFiles.push_back(WithExtension(obj.c_str(), "mtl"));
            std::remove(mFiles.back().c_str());
            ASSERT_TRUE(Export(CPolyView::kExportObj, obj));
            int faces = 0;
            EXPECT_EQ(CountObjNormalsAgainstCorners(ReadWholeFile(obj), &faces), 0);
            EXPECT_GT(faces, 0);
        }
    }
}

TEST_F(Export3DTest, ThePaneTurnsAndSizesTheWrittenModel)
{
    Poly* poly = OpenModel("Snub Cube");
    ASSERT_NE(poly, nullptr);
    gExport3DOptions = kWholeFaces;
    CPolyView* pane = Pane(0);
    // An oblique camera, so that no axis of the model stays where it was.
    pane->RotateCameraAboutWorldAxis(Vec3D{1.0, 2.0, 3.0}, 40.0);
    pane->RotateCameraAboutWorldAxis(Vec3D{0.0, 1.0, 0.0}, 25.0);
    GetUnitSettings().SetScale(2.5, false);
    Vec3D right = pane->GetRight(), backward = pane->GetBackward(), up;
    Vec3Normalize(backward);
    Vec3AddScaled(right, right, -Vec3Dot(right, backward), backward);
    Vec3Normalize(right);
    Vec3Cross(up, backward, right);
    ASSERT_FALSE(WithinTol(std::fabs(right.x), 1.0, 1e-3));

    std::unique_ptr<SimplePoly> written = pane->PrepareExport3D(0, nullptr);
    ASSERT_NE(written, nullptr);
    ASSERT_EQ(written->mNumVerts, poly->mVerts.mCount);
    int i = 0;
    for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext, ++i)
    {
        SCOPED_TRACE(i);
        // x to the right, y up and z towards the viewer, in units.
        const Vec3D& p = written->mVerts[i].mPos;
        EXPECT_NEAR(p.x, 2.5 * Vec3Dot(v->mPoint, right), 1e-9);
        EXPECT_NEAR(p.y, 2.5 * Vec3Dot(v->mPoint, up), 1e-9);
        EXPECT_NEAR(p.z, 2.5 * Vec3Dot(v->mPoint, backward), 1e-9);
    }
}

TEST_F(Export3DTest, TheCompoundPaneRefusesAndWritesNothing)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypeCompound, true);
    const Vec3D right = pane->GetRight();
    const Vec3D backward = pane->GetBackward();
    const std::string path = Scratch("compound.stl");
    EXPECT_FALSE(Export(CPolyView::kExportStl, path));
    EXPECT_FALSE(std::filesystem::exists(path));
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "Can't perform that operation from this type of view.\nPlease select another type of view "
                           "first.");
    EXPECT_EQ(pane->GetRight().x, right.x);
    EXPECT_EQ(pane->GetRight().y, right.y);
    EXPECT_EQ(pane->GetBackward().z, backward.z);
}

TEST_F(Export3DTest, SaveDialogsAndTheMaterialFileQuestion)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    struct Case
    {
        int format;
        const char* caption;
        const char* filter;
    };
    const Case kCases[] = {
        {CPolyView::kExportDxf, "Export to DXF format", "DXF Files (*.dxf)|*.dxf|All Files (*.*)|*.*||"},
        {CPolyView::kExportObj, "Export to Alias|Wavefront format", "Wavefront Files (*.obj)|*.obj|All Files (*.*)|*.*||"},
        {CPolyView::kExportOff, "Export to OFF format", "OFF Files (*.off)|*.off|All Files (*.*)|*.*||"},
        {CPolyView::kExportStl, "Export to STL format", "STL Files (*.stl)|*.stl|All Files (*.*)|*.*||"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.caption);
        mScripted.services.PushText("", false);
        EXPECT_FALSE(Pane(0)->Export3D(c.format));
        const ScriptedServices::Call* dialog = mScripted.services.LastCall("FileDialog");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->caption, c.caption);
        EXPECT_EQ(mScripted.services.lastFileDialog.filter, c.filter);
    }

    // An existing material file: No asks for another file, Yes writes over it.
    const std::string first = Scratch("first.obj");
    const std::string firstMtl = WithExtension(first.c_str(), "mtl");
    mFiles.push_back(firstMtl);
    { std::ofstream(firstMtl) << "old\n"; }
    const std::string second = Scratch("second.obj");
    mFiles.push_back(WithExtension(second.c_str(), "mtl"));
    std::remove(mFiles.back().c_str());
    mScripted.services.PushText(first);
    mScripted.services.PushAnswer(kIdNo);
    mScripted.services.PushText(second);
    EXPECT_TRUE(Pane(0)->Export3D(CPolyView::kExportObj));
    EXPECT_EQ(ReadWholeFile(firstMtl), "old\n");
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    const ScriptedServices::Call* question = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "Material file '" + firstMtl + "' exists.  Overwrite?");

    mScripted.services.PushText(first);
    mScripted.services.PushAnswer(kIdYes);
    EXPECT_TRUE(Pane(0)->Export3D(CPolyView::kExportObj));
    EXPECT_NE(ReadWholeFile(firstMtl).find("newmtl Material_0"), std::string::npos);
}

TEST_F(Export3DTest, AFileThatCannotBeWrittenIsReported)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    const std::string path = "/nonexistent-orvane-folder/cube.stl";
    EXPECT_FALSE(Export(CPolyView::kExportStl, path));
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "Couldn't write '" + path + "'.");
}

TEST_F(Export3DTest, DefaultNamesFollowTheFileOrTheModelAndThePane)
{
    ASSERT_NE(OpenModel("Truncated Icosahedron"), nullptr);
    CPolyView* pane = Pane(0);
    pane->SetViewType(kViewTypePoly, true);
    EXPECT_EQ(pane->DefaultExportFileName("dxf", false), "Trunc Icosa.dxf");
    GetSceneParameters().sliceRatio = 0.25;
    pane->SetViewType(kViewTypeSlice, true);
    EXPECT_EQ(pane->DefaultExportFileName("stl", false), "Trunc Icosa-Slice0.250.stl");

    mDocument->SetPathName("/tmp/My Poly.orva", false);
    pane->SetViewType(kViewTypeVertexFigure, true);
    EXPECT_EQ(pane->DefaultExportFileName("dxf", false), "My Poly-Verf.dxf");
    pane->SetViewType(kViewTypePoly, true);
    EXPECT_EQ(pane->DefaultExportFileName("dxf", false), "My Poly.dxf");
}

TEST_F(Export3DTest, TheMenuOffersTheExportsAndStlWritesThroughTheWindow)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    wxMenuBar* bar = mFrame->GetMenuBar();
    for (const int id : {kCmdExportDxf, kCmdExportObj, kCmdExportOff, kCmdExportStl})
    {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr) << id;
        mFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
        Pump();
        bar->UpdateMenus();
        EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabelText();
    }
    EXPECT_EQ(bar->FindItem(kCmdExportStl)->GetItemLabelText(), "Export STL (stereolithography)...");

    const std::string stl = Scratch("menu.stl");
    mScripted.services.PushText(stl);
    RunCommand(kCmdExportStl);
    int status = 0;
    const std::string report = RunReader("admesh '" + stl + "'", &status);
    EXPECT_EQ(status, 0) << report;
    EXPECT_EQ(NumberAfter(report, "Number of parts\\s*:"), 1) << report;
    EXPECT_EQ(NumberAfter(report, "Total disconnected facets\\s*:"), 0) << report;
    EXPECT_EQ(NumberAfter(report, "Facets reversed\\s*:"), 0) << report;

    // A faceting diagram is no solid to export.
    Pane(0)->SetViewType(kViewTypeFacetDiagram, true);
    wxUpdateUIEvent update(kCmdExportStl);
    update.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetSetEnabled());
    EXPECT_FALSE(update.GetEnabled());
}

namespace
{
TEST_F(Export3DTest, TheOffDialogDescribesTheFileItWouldReplace)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gExport3DOptions = kWholeFaces;
    const std::string off = Scratch("described.off");
    ASSERT_TRUE(Export(CPolyView::kExportOff, off));
    EXPECT_EQ(mScripted.services.lastFileInfo, "Select a model to see info about it") << "no file there yet";
    ASSERT_TRUE(Export(CPolyView::kExportOff, off));
    EXPECT_EQ(mScripted.services.lastFileInfo, "6 faces, 12 edges, 8 vertices");

    // The other exports show no information.
    mScripted.services.lastFileInfo.clear();
    ASSERT_TRUE(Export(CPolyView::kExportStl, Scratch("plain.stl")));
    EXPECT_EQ(mScripted.services.lastFileInfo, "");
}
}  // namespace
