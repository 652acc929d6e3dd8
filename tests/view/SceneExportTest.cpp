#include "kernel/Paths.h"
#include "kernel/UnitSettings.h"
#include "library/Export3DOptions.h"
#include "model/FaceVert.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "platform/OpenLink.h"
#include "support/ExternalReaders.h"
#include "ui/ExportOptionsDialog.h"
#include "view/ColorChanges.h"
#include "view/PaneFixture.h"

#include <wx/menu.h>
#include <wx/choice.h>
#include <wx/radiobut.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr uint32_t kWholeFaces = kExport3DTriangulateHoles | kExport3DCylinderCaps;

int CountOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The text between the first "[" after the key and its closing "]".
std::string ListAfter(const std::string& text, const std::string& key)
{
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return std::string();
    const size_t open = text.find('[', at);
    const size_t close = text.find(']', open);
    return open == std::string::npos || close == std::string::npos ? std::string()
                                                                   : text.substr(open + 1, close - open - 1);
}

std::vector<double> Numbers(std::string list)
{
    for (char& c : list)
        if (c == ',')
            c = ' ';
    std::istringstream in(list);
    std::vector<double> values;
    double v;
    while (in >> v)
        values.push_back(v);
    return values;
}

struct Image
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[size_t(3 * (y * width + x))]; }
};

// The next header field of a PPM, past white space and comment lines.
std::string PpmField(std::istream& in)
{
    std::string field;
    while (in >> field && field[0] == '#')
    {
        std::string rest;
        std::getline(in, rest);
    }
    return field;
}

// A binary PPM (P6, 8 bits) as the renderer writes it.
bool ReadPpm(const std::string& path, Image& image)
{
    std::ifstream in(path, std::ios::binary);
    const std::string magic = PpmField(in);
    image.width = std::atoi(PpmField(in).c_str());
    image.height = std::atoi(PpmField(in).c_str());
    const int maxValue = std::atoi(PpmField(in).c_str());
    if (magic != "P6" || maxValue != 255 || image.width <= 0 || image.height <= 0)
        return false;
    in.get();
    image.rgb.resize(size_t(3 * image.width * image.height));
    in.read(reinterpret_cast<char*>(image.rgb.data()), std::streamsize(image.rgb.size()));
    return bool(in);
}

class SceneExportTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        mOptions = gExport3DOptions;
        // The options are set by each test: no dialog asks for them.
        mAsker = SetExportOptionsAsker(nullptr);
        mUnit = GetUnitSettings().GetDistanceUnit();
        mScale = GetUnitSettings().GetScale();
    }

    void TearDown() override
    {
        gExport3DOptions = mOptions;
        gExport3DOrientation = 0;
        SetExportOptionsAsker(mAsker);
        GetUnitSettings().SetDistanceUnit(mUnit);
        GetUnitSettings().SetScale(mScale, false);
        SetLinkOpener(nullptr);
        for (const std::string& path : mFiles)
            std::remove(path.c_str());
        PaneFixture::TearDown();
    }

    std::string Scratch(const std::string& name)
    {
        mFiles.push_back(ScratchPath(name));
        std::remove(mFiles.back().c_str());
        return mFiles.back();
    }

    bool Export(int format, const std::string& path)
    {
        mScripted.services.PushText(path);
        return Pane(0)->Export3D(format);
    }

    // The length of an edge of a face as the exports write it, in the current unit.
    static double WrittenEdgeLength()
    {
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
    int mUnit = 0;
    double mScale = 1.0;
    std::vector<std::string> mFiles;
};

struct LibraryCase
{
    const char* name;
    int verts, edges, faces;
};
const LibraryCase kLibraryCases[] = {
    {"Cube", 8, 12, 6},
    {"Snub Dodecahedron", 60, 150, 92},
    {"Small Stellated Dodecahedron", 12, 30, 12},
};
}  // namespace

TEST_F(SceneExportTest, VrmlWorldsOfLibraryModelsReadBackWithTheirPointsFacesAndCylinders)
{
    // Models of about 100 metres, so that the eight digits written carry the directions closely.
    GetUnitSettings().SetDistanceUnit(kUnitCm);
    GetUnitSettings().SetScale(10000.0, false);
    const double metres = 0.01;
    for (const LibraryCase& c : kLibraryCases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenModel(c.name), nullptr);
        gExport3DOptions = kWholeFaces | kExport3DVerts | kExport3DEdges;
        const double edgeLength = WrittenEdgeLength() * metres;
        ASSERT_GT(edgeLength, 0.0);
        // The vertices as the export places them, before they are written.
        std::unique_ptr<SimplePoly> exact = Pane(0)->PrepareExport3D(0, nullptr);
        ASSERT_NE(exact, nullptr);
        ASSERT_EQ(exact->mNumVerts, c.verts);
        std::vector<Vec3D> verts;
        for (int i = 0; i < exact->mNumVerts; ++i)
            verts.push_back(Vec3D{exact->mVerts[i].mPos.x * metres, exact->mVerts[i].mPos.y * metres,
                                  exact->mVerts[i].mPos.z * metres});
        GetElementDisplayOptions().mSpheresAndCylinders = true;
        const std::string path = Scratch("model.wrl");
        ASSERT_TRUE(Export(CPolyView::kExportVrml, path));
        const std::string text = ReadWholeFile(path);

        // The reader finds nothing wrong, and its own world holds the model's points and faces.
        const std::string rewritten = Scratch("rewritten.wrl");
        EXPECT_EQ(RunReader("{ tovrmlx3d '" + path + "' --encoding classic > '" + rewritten + "'; }"), "");
        const std::string world = ReadWholeFile(rewritten);
        const std::vector<double> points = Numbers(ListAfter(world, "Coordinate"));
        EXPECT_EQ(int(points.size()), 3 * c.verts);
        const std::vector<double> corners = Numbers(ListAfter(world, "coordIndex"));
        int faces = 0;
        for (const double k : corners)
            faces += k == -1.0;
        EXPECT_EQ(faces, c.faces);
        EXPECT_EQ(CountOf(world, "Sphere {"), c.verts);
        EXPECT_EQ(CountOf(world, "Cylinder {"), c.edges);

        // Every cylinder is an edge: half its height either way from its centre along (0, 1, 0)
        // turned by its rotation reaches two vertices, and that turned axis is their direction.
        int checked = 0;
        for (size_t at = text.find("   rotation"); at != std::string::npos; at = text.find("   rotation", at + 1))
        {
            const size_t start = text.rfind("translation", at);
            std::istringstream in(text.substr(start));
            std::string word;
            Vec3D mid, axis;
            double angle = 0.0;
            in >> word >> mid.x >> mid.y >> mid.z >> word >> axis.x >> axis.y >> axis.z >> angle;
            const double height = NumberAfter(text.substr(at), "height");
            EXPECT_NEAR(height, edgeLength, 1e-5 * edgeLength);
            const Vec3D y{0.0, 1.0, 0.0};
            Vec3D cross, dir;
            Vec3Cross(cross, axis, y);
            const double cosA = std::cos(angle), sinA = std::sin(angle), ky = Vec3Dot(axis, y);
            dir = Vec3D{cross.x * sinA + axis.x * ky * (1 - cosA), cosA + cross.y * sinA + axis.y * ky * (1 - cosA),
                        cross.z * sinA + axis.z * ky * (1 - cosA)};
            Vec3D ends[2];
            for (int side = 0; side < 2; ++side)
            {
                Vec3D end;
                Vec3AddScaled(end, mid, (side - 0.5) * height, dir);
                double nearest = 1e9;
                for (const Vec3D& v : verts)
                {
                    Vec3D d;
                    Vec3Sub(d, v, end);
                    if (Vec3Length(d) < nearest)
                    {
                        nearest = Vec3Length(d);
                        ends[side] = v;
                    }
                }
                // The height has the six digits of "%g".
                EXPECT_LT(nearest, 1e-5 * edgeLength) << "cylinder " << checked;
            }
            Vec3D edge;
            Vec3Sub(edge, ends[1], ends[0]);
            Vec3Normalize(edge);
            EXPECT_NEAR(dir.x, edge.x, 1e-7) << "cylinder " << checked;
            EXPECT_NEAR(dir.y, edge.y, 1e-7) << "cylinder " << checked;
            EXPECT_NEAR(dir.z, edge.z, 1e-7) << "cylinder " << checked;
            ++checked;
        }
        EXPECT_EQ(checked, c.edges);

        // Edges as lines reuse the face set's points.
        GetElementDisplayOptions().mSpheresAndCylinders = false;
        ASSERT_TRUE(Export(CPolyView::kExportVrml, path));
        const std::string lines = ReadWholeFile(path);
        EXPECT_EQ(CountOf(lines, "coord USE myPoints"), 1);
        EXPECT_EQ(CountOf(lines, "Cylinder"), 0);
        EXPECT_EQ(RunReader("{ tovrmlx3d '" + path + "' --encoding classic > /dev/null; }"), "");
    }
    EXPECT_EQ(GetUnitSettings().GetDistanceUnit(), kUnitCm);
}

TEST_F(SceneExportTest, VrmlCameraIsThePanes)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    GetUnitSettings().SetDistanceUnit(kUnitMetres);
    GetUnitSettings().SetScale(2.0, false);
    CPolyView* pane = Pane(0);
    pane->RotateCameraAboutWorldAxis(Vec3D{1.0, 2.0, 3.0}, 40.0);
    const ColorRGB background = pane->GetBackgroundColor();
    NewView::SetBackgroundColor(pane, ColorRGB{0.25f, 0.5f, 0.75f});
    gExport3DOptions = kWholeFaces;
    const std::string path = Scratch("camera.wrl");
    ASSERT_TRUE(Export(CPolyView::kExportVrml, path));
    const std::string text = ReadWholeFile(path);
    EXPECT_NE(text.find("  skyColor 0.25 0.50 0.75\n"), std::string::npos);
    const double distance = NumberAfter(text.substr(text.find("\"Default\"")), "position 0 0");
    EXPECT_NEAR(distance, 2.0 * Vec3Length(pane->GetEye()), 1e-4 * distance);
    NewView::SetBackgroundColor(pane, background);
}

TEST_F(SceneExportTest, PovRayRendersTheScenesOnACheckeredFloor)
{
    // A green sky, which neither the model nor the floor shows.
    const ColorRGB background = Pane(0)->GetBackgroundColor();
    NewView::SetBackgroundColor(Pane(0), ColorRGB{0.0f, 1.0f, 0.0f});
    for (const LibraryCase& c : kLibraryCases)
    {
        SCOPED_TRACE(c.name);
        Poly* poly = OpenModel(c.name);
        ASSERT_NE(poly, nullptr);
        const bool cube = std::string(c.name) == "Cube";
        if (cube)
        {
            for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
                f->mColor = f->mBackColor = ColorRGB{0.9f, 0.1f, 0.1f};
            InvalidateModelDisplay(poly, false, false);
            // The faces take their colours when the pane is first drawn.
            DrawAndRead(Pane(0));
        }
        // The cube bare, so that the middle of the picture is a face.
        gExport3DOptions = kWholeFaces | (cube ? 0u : kExport3DVerts | kExport3DEdges);
        const std::string scene = Scratch("model.pov");
        const std::string include = WithExtension(scene.c_str(), "inc");
        mFiles.push_back(include);
        ASSERT_TRUE(Export(CPolyView::kExportPovRay, scene));
        ASSERT_TRUE(std::filesystem::exists(include));
        const std::string sceneText = ReadWholeFile(scene);
        EXPECT_NE(sceneText.find("#include \"model.inc\"\n"), std::string::npos);

        const std::string picture = Scratch("model.ppm");
        int status = 0;
        const std::string folder = GetFolderPart(scene.c_str());
        const std::string log = RunReader("cd '" + folder + "' && povray +Imodel.pov +Omodel.ppm +FP +W160 +H120 -D -V",
                                          &status);
        EXPECT_EQ(status, 0) << log;
        EXPECT_EQ(log.find("Parse Error"), std::string::npos) << log;
        Image image;
        ASSERT_TRUE(ReadPpm(picture, image)) << log;
        ASSERT_EQ(image.width, 160);
        ASSERT_EQ(image.height, 120);
        // The model in the middle: not the sky; for the cube its one colour's strongest channel.
        const unsigned char* centre = image.At(80, 60);
        const auto green = [](const unsigned char* p) { return p[1] > p[0] + 100 && p[1] > p[2] + 100; };
        EXPECT_TRUE(green(image.At(0, 0))) << "the sky in the corner";
        EXPECT_FALSE(green(centre));
        if (cube)
        {
            double r = 0, g = 0, b = 0;
            ASSERT_EQ(std::sscanf(sceneText.c_str() + sceneText.find("#declare TEXTURE0"),
                                  "#declare TEXTURE0 = texture{ pigment {color rgb <%lf, %lf, %lf>} }", &r, &g, &b),
                      3);
            ASSERT_EQ(sceneText.find("#declare TEXTURE1"), std::string::npos) << "the cube has one colour";
            const int strongest = r >= g && r >= b ? 0 : g >= b ? 1 : 2;
            for (int k = 0; k < 3; ++k)
            {
                if (k != strongest)
                {
                    EXPECT_GT(centre[strongest], centre[k]) << k;
                }
            }
        }
        // The floor's two colours in the bottom row: one bluish square, one yellowish.
        int bluish = 0, yellowish = 0;
        for (int x = 0; x < image.width; ++x)
        {
            const unsigned char* p = image.At(x, image.height - 1);
            bluish += p[2] > p[0] + 40 && p[2] > p[1] + 40;
            yellowish += p[0] > p[2] + 40 && p[1] > p[2] + 40;
        }
        EXPECT_GT(bluish, 0);
        EXPECT_GT(yellowish, 0);
    }
    NewView::SetBackgroundColor(Pane(0), background);
}

TEST_F(SceneExportTest, TheIncludeFileQuestionAsksForAnotherFileOnNo)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    const std::string first = Scratch("first.pov");
    const std::string firstInclude = WithExtension(first.c_str(), "inc");
    mFiles.push_back(firstInclude);
    { std::ofstream(firstInclude) << "old\n"; }
    const std::string second = Scratch("second.pov");
    mFiles.push_back(WithExtension(second.c_str(), "inc"));
    mScripted.services.PushText(first);
    mScripted.services.PushAnswer(kIdNo);
    mScripted.services.PushText(second);
    EXPECT_TRUE(Pane(0)->Export3D(CPolyView::kExportPovRay));
    EXPECT_EQ(ReadWholeFile(firstInclude), "old\n");
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    EXPECT_TRUE(std::filesystem::exists(mFiles.back()));
    const ScriptedServices::Call* question = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "POV included file '" + firstInclude + "' exists.  Overwrite?");
    // The second dialog opened on the name chosen in the first.
    EXPECT_EQ(mScripted.services.CountCalls("FileDialog"), 2);
    EXPECT_EQ(mScripted.services.lastFileDialog.name, "first.pov");
    EXPECT_EQ(mScripted.services.LastCall("FileDialog")->caption, "Export to POV-Ray format");
    EXPECT_EQ(mScripted.services.lastFileDialog.filter, "POV-Ray Files (*.pov)|*.pov|All Files (*.*)|*.*||");

    // Cancel in the dialog shown again ends the command.
    mScripted.services.PushText(first);
    mScripted.services.PushAnswer(kIdNo);
    mScripted.services.PushText("", false);
    EXPECT_FALSE(Pane(0)->Export3D(CPolyView::kExportPovRay));
    EXPECT_FALSE(std::filesystem::exists(first));

    // VRML's dialog.
    mScripted.services.PushText("", false);
    EXPECT_FALSE(Pane(0)->Export3D(CPolyView::kExportVrml));
    EXPECT_EQ(mScripted.services.LastCall("FileDialog")->caption, "Export to VRML format");
    EXPECT_EQ(mScripted.services.lastFileDialog.filter, "VRML Files (*.wrl)|*.wrl|All Files (*.*)|*.*||");
    EXPECT_EQ(mScripted.services.lastFileDialog.name, "Cube.wrl");
}

TEST_F(SceneExportTest, TheWrittenFileIsLaunchedWhenAskedAndAFailedLaunchIsReported)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    std::vector<std::string> launched;
    bool answer = true;
    SetLinkOpener([&](const std::string& target, LinkKind kind) {
        EXPECT_EQ(kind, LinkKind::kProgramFile);
        launched.push_back(target);
        return answer;
    });
    struct Case
    {
        int format;
        const char* name;
        const char* failure;
    };
    const Case kCases[] = {
        {CPolyView::kExportVrml, "launch.wrl",
         "Couldn't launch '%s'.  Make sure you have a VRML\nviewer installed and that it is associated with\n.wrl files."},
        {CPolyView::kExportPovRay, "launch.pov",
         "Couldn't launch '%s'.  Make sure POV-Ray is\ninstalled and associated with .pov files."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = Scratch(c.name);
        const std::string include = WithExtension(path.c_str(), "inc");
        mFiles.push_back(include);
        // No question about a file already there.
        const auto fresh = [&] {
            std::remove(path.c_str());
            std::remove(include.c_str());
            mScripted.services.Clear();
        };

        // Without the option nothing is launched.
        gExport3DOptions = kWholeFaces;
        launched.clear();
        fresh();
        ASSERT_TRUE(Export(c.format, path));
        EXPECT_TRUE(launched.empty());

        gExport3DOptions = kWholeFaces | kExport3DLaunch;
        answer = true;
        fresh();
        ASSERT_TRUE(Export(c.format, path));
        EXPECT_EQ(launched, std::vector<std::string>{path});
        EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);

        answer = false;
        fresh();
        EXPECT_TRUE(Export(c.format, path));
        const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
        ASSERT_NE(error, nullptr);
        char expected[512];
        std::snprintf(expected, sizeof expected, c.failure, path.c_str());
        EXPECT_EQ(error->text, expected);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
}

TEST_F(SceneExportTest, TheMenuOffersBothAndAFileThatCannotBeWrittenIsReported)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    wxMenuBar* bar = mFrame->GetMenuBar();
    mFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    Pump();
    bar->UpdateMenus();
    for (const int id : {kCmdExportVrml, kCmdExportPovRay})
    {
        wxMenuItem* item = bar->FindItem(id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabelText();
    }
    EXPECT_EQ(bar->FindItem(kCmdExportVrml)->GetItemLabelText(), "Export VRML...");
    EXPECT_EQ(bar->FindItem(kCmdExportPovRay)->GetItemLabelText(), "Export POV-Ray...");

    const std::string wrl = Scratch("menu.wrl");
    mScripted.services.PushText(wrl);
    RunCommand(kCmdExportVrml);
    EXPECT_NE(ReadWholeFile(wrl).find("#VRML V2.0 utf8\n"), std::string::npos);

    const std::string pov = "/nonexistent-orvane-folder/cube.pov";
    EXPECT_FALSE(Export(CPolyView::kExportPovRay, pov));
    const ScriptedServices::Call* error = mScripted.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, "Couldn't write '/nonexistent-orvane-folder/cube.inc'.");
}

TEST_F(SceneExportTest, FlatRodsAndBallsPrintAsSeparateSoundParts)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gExport3DOptions = kExport3DTriangulateNonConvex | kExport3DFlatCylinders | kExport3DFlatSpheres |
                       kExport3DCylinderCaps;
    gExport3DCylinderSegments = 3;
    gExport3DSphereSubdivisions = 1;
    const std::string stl = Scratch("rods.stl");
    ASSERT_TRUE(Export(CPolyView::kExportStl, stl));
    gExport3DCylinderSegments = 24;
    gExport3DSphereSubdivisions = 4;
    int status = 0;
    const std::string report = RunReader("admesh '" + stl + "'", &status);
    EXPECT_EQ(status, 0) << report;
    // The cube, its twelve rods and eight balls; 12 + 12 x 8 + 8 x 20 triangles.
    EXPECT_EQ(NumberAfter(report, "Number of parts\\s*:"), 1 + 12 + 8) << report;
    EXPECT_EQ(NumberAfter(report, "Number of facets\\s*:"), 12 + 12 * 8 + 8 * 20) << report;
    EXPECT_EQ(NumberAfter(report, "Total disconnected facets\\s*:"), 0) << report;
    EXPECT_EQ(NumberAfter(report, "Facets reversed\\s*:"), 0) << report;
    EXPECT_EQ(NumberAfter(report, "Normals fixed\\s*:"), 0) << report;
}

TEST_F(SceneExportTest, TheNativeSpheresLeaveOutTheFlatGeometrysVertices)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    GetElementDisplayOptions().mSpheresAndCylinders = true;
    gExport3DOptions = kWholeFaces | kExport3DVerts | kExport3DFlatCylinders;
    const std::string path = Scratch("rods.wrl");
    ASSERT_TRUE(Export(CPolyView::kExportVrml, path));
    const std::string text = ReadWholeFile(path);
    EXPECT_EQ(CountOf(text, "geometry Sphere"), 8);
    EXPECT_EQ(CountOf(text, "geometry Cylinder"), 0);
    // The cube's 6 squares and 24 sides of each of its 12 rods, capped by two 24-gons.
    EXPECT_EQ(CountOf(text, ", -1,\n"), 6 + 12 * (24 + 2));
    EXPECT_EQ(RunReader("{ tovrmlx3d '" + path + "' --encoding classic > /dev/null; }"), "");
}

TEST_F(SceneExportTest, TheOptionsDialogComesFirstAndTheDefaultOrientationKeepsTheModelsAxes)
{
    Poly* poly = OpenModel("Cube");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    pane->RotateCameraAboutWorldAxis(Vec3D{1.0, 2.0, 3.0}, 40.0);
    const Vec3D eye = pane->GetEye(), right = pane->GetRight(), up = pane->GetUp();
    GetUnitSettings().SetScale(2.5, false);
    SetExportOptionsAsker(AskExportOptions);
    gExport3DOptions = kWholeFaces;

    // Cancel: no file is asked for or written.
    {
        DialogDriver driver({[](wxDialog& top) {
            if (!dynamic_cast<ExportOptionsDialog*>(&top))
                return false;
            DialogDriver::Click(top.FindWindow(wxID_CANCEL));
            return true;
        }});
        mScripted.services.Clear();
        EXPECT_FALSE(Pane(0)->Export3D(CPolyView::kExportOff));
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(mScripted.services.CountCalls("FileDialog"), 0);
    }

    DialogDriver driver({[](wxDialog& top) {
        auto* dialog = dynamic_cast<ExportOptionsDialog*>(&top);
        if (!dialog)
            return false;
        dialog->OrientationButton(1)->SetValue(true);
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    const std::string off = Scratch("default.off");
    ASSERT_TRUE(Export(CPolyView::kExportOff, off));
    EXPECT_FALSE(driver.TimedOut());
    std::istringstream in(ReadWholeFile(off));
    std::string line;
    while (std::getline(in, line) && (line.empty() || line[0] == '#' || line == "OFF"))
    {
    }
    int numVerts = 0;
    std::istringstream(line) >> numVerts;
    ASSERT_EQ(numVerts, poly->mVerts.mCount);
    for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
    {
        Vec3D p;
        in >> p.x >> p.y >> p.z;
        EXPECT_NEAR(p.x, 2.5 * v->mPoint.x, 1e-12);
        EXPECT_NEAR(p.y, 2.5 * v->mPoint.y, 1e-12);
        EXPECT_NEAR(p.z, 2.5 * v->mPoint.z, 1e-12);
    }
    // The pane is as it was.
    for (const auto& [now, before] : {std::pair{pane->GetEye(), eye}, std::pair{pane->GetRight(), right},
                                      std::pair{pane->GetUp(), up}})
    {
        EXPECT_EQ(now.x, before.x);
        EXPECT_EQ(now.y, before.y);
        EXPECT_EQ(now.z, before.z);
    }
}

TEST_F(SceneExportTest, LookingDownAnAxisForTheFileLeavesThePaneAsItWas)
{
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    CPolyView* pane = Pane(0);
    pane->RotateCameraAboutWorldAxis(Vec3D{1.0, 2.0, 3.0}, 40.0);
    const Vec3D eye = pane->GetEye(), right = pane->GetRight();
    GetUnitSettings().SetScale(1.0, false);
    SetExportOptionsAsker(AskExportOptions);
    gExport3DOptions = kWholeFaces;
    DialogDriver driver({[](wxDialog& top) {
        auto* dialog = dynamic_cast<ExportOptionsDialog*>(&top);
        if (!dialog)
            return false;
        dialog->LookDownList()->SetSelection(0);  // 5-fold
        dialog->OrientationButton(2)->SetValue(true);
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    const std::string off = Scratch("down.off");
    ASSERT_TRUE(Export(CPolyView::kExportOff, off));
    EXPECT_FALSE(driver.TimedOut());
    // Down a 5-fold axis of the icosahedron a vertex of circumradius 1 faces the viewer.
    std::istringstream in(ReadWholeFile(off));
    std::string line;
    while (std::getline(in, line) && (line.empty() || line[0] == '#' || line == "OFF"))
    {
    }
    int numVerts = 0;
    std::istringstream(line) >> numVerts;
    ASSERT_EQ(numVerts, 12);
    int facing = 0;
    for (int i = 0; i < numVerts; ++i)
    {
        Vec3D p;
        in >> p.x >> p.y >> p.z;
        facing += std::fabs(p.x) < 1e-9 && std::fabs(p.y) < 1e-9 && std::fabs(p.z - 1.0) < 1e-9;
    }
    EXPECT_EQ(facing, 1);
    EXPECT_EQ(pane->GetEye().x, eye.x);
    EXPECT_EQ(pane->GetEye().z, eye.z);
    EXPECT_EQ(pane->GetRight().y, right.y);
}
