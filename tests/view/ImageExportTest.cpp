// File > Export Image/Video...: the frames an export puts the pane in and the files it writes, read
// back with FreeImage and a GIF block parser of its own.

#include "document/ExportSettings.h"
#include "kernel/ProgramClock.h"
#include "platform/CommandIds.h"
#include "platform/OpenLink.h"
#include "render/ImageExportFiles.h"
#include "support/ExternalReaders.h"
#include "ui/ExportImageDialog.h"
#include "view/ImageExportFields.h"
#include "view/ImageExportRenderer.h"
#include "view/PaneFixture.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

// After wx: FreeImage's header defines names that wx takes for a Windows build.
#include <FreeImage.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace
{
// The fields the scripted dialog answers with; the test fills them before the command.
ImageExportFields gAnswer;
bool gAnswerOk = true;

bool ScriptedExportDialog(CPolyView&, ImageExportFields& fields, ImageExportRenderer& renderer)
{
    fields = gAnswer;
    renderer.SetFrameSize(true);
    return gAnswerOk;
}

class ImageExportTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mPreviousAsker = SetExportImageAsker(ScriptedExportDialog);
        mSettings = GetExportSettings();
        gAnswer = ImageExportFields();
        gAnswer.folder = std::filesystem::path(ScratchPath("x")).parent_path().string();
        gAnswerOk = true;
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            SetExportImageAsker(mPreviousAsker);
            GetExportSettings() = mSettings;
        }
        PaneFixture::TearDown();
    }

    // The axis class of the current model's 3-fold axes.
    static int ThreeFoldClass(CPolyView* pane)
    {
        for (int k = 0; k < 3; ++k)
            if (GetAxisMenuText("Look Down", k).find("3-fold") != std::string::npos)
                return k;
        ADD_FAILURE() << "no 3-fold axis class";
        (void)pane;
        return 0;
    }

    ExportImageAsker mPreviousAsker = nullptr;
    ExportSettings mSettings;
};

struct Picture
{
    int w = 0, h = 0;
    std::vector<RGBQUAD> pixels;  // rows from the top
    const RGBQUAD& At(int x, int y) const { return pixels[size_t(y) * size_t(w) + size_t(x)]; }
};

Picture ReadPicture(const std::string& path)
{
    Picture picture;
    FIBITMAP* read = FreeImage_Load(FreeImage_GetFIFFromFilename(path.c_str()), path.c_str(), 0);
    if (!read)
        return picture;
    picture.w = int(FreeImage_GetWidth(read));
    picture.h = int(FreeImage_GetHeight(read));
    picture.pixels.resize(size_t(picture.w) * size_t(picture.h));
    for (int y = 0; y < picture.h; ++y)
        for (int x = 0; x < picture.w; ++x)
            FreeImage_GetPixelColor(read, unsigned(x), unsigned(picture.h - 1 - y),
                                    &picture.pixels[size_t(y) * size_t(picture.w) + size_t(x)]);
    FreeImage_Unload(read);
    return picture;
}

bool Same(const RGBQUAD& a, const RGBQUAD& b, int tolerance)
{
    return std::abs(a.rgbRed - b.rgbRed) <= tolerance && std::abs(a.rgbGreen - b.rgbGreen) <= tolerance &&
           std::abs(a.rgbBlue - b.rgbBlue) <= tolerance;
}

// How far the model reaches from the centre along the direction, in pixels (the background is the
// corner's colour).
double ReachAlong(const Picture& p, double cx, double cy, double degrees)
{
    const RGBQUAD background = p.At(0, 0);
    const double c = std::cos(degrees * M_PI / 180.0), s = std::sin(degrees * M_PI / 180.0);
    double reach = 0.0;
    for (double r = 0.0; r < p.h; r += 0.5)
    {
        const int x = int(std::lround(cx + r * c)), y = int(std::lround(cy - r * s));
        if (x < 0 || y < 0 || x >= p.w || y >= p.h)
            break;
        if (!Same(p.At(x, y), background, 8))
            reach = r;
    }
    return reach;
}

// Colours that are neither background nor the colour of a pixel inside, along the silhouette: the
// blends that over-sampling makes.
size_t CountSilhouetteColours(const Picture& p)
{
    const RGBQUAD background = p.At(0, 0);
    std::set<uint32_t> colours;
    for (int y = 1; y + 1 < p.h; ++y)
        for (int x = 1; x + 1 < p.w; ++x)
        {
            const RGBQUAD& c = p.At(x, y);
            if (Same(c, background, 0))
                continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx)
                    edge = Same(p.At(x + dx, y + dy), background, 0);
            if (edge)
                colours.insert(uint32_t(c.rgbRed) << 16 | uint32_t(c.rgbGreen) << 8 | c.rgbBlue);
        }
    return colours.size();
}
}  // namespace

TEST(ImageExportFramesTest, TurnsRatiosAndBorders)
{
    // 100 frames of a fifth of a turn: the last frame shows the final state without seamless
    // looping (N' = 99), and stops one step short of it with (N' = 100).
    EXPECT_NEAR(ExportFrameAngle(99, 0.2, 99), 72.0, 1e-9);
    EXPECT_NEAR(ExportFrameAngle(99, 0.2, 100), 71.28, 1e-9);
    // One frame without looping has no steps: no turn, the initial ratio.
    EXPECT_EQ(ExportFrameAngle(0, 0.2, 0), 0.0);
    EXPECT_EQ(ExportFrameRatio(0, 0.3, 1.0, 0), 0.3);
    // Ratios 0 to 2 over ten steps go there and back.
    const double there[] = {0, 0.2, 0.4, 0.6, 0.8, 1, 0.8, 0.6, 0.4, 0.2, 0};
    for (int a = 0; a <= 10; ++a)
        EXPECT_NEAR(ExportFrameRatio(a, 0.0, 2.0, 10), there[a], 1e-12) << a;
    // 1 to 2 runs from 1 back to 0.
    EXPECT_NEAR(ExportFrameRatio(0, 1.0, 2.0, 10), 1.0, 1e-12);
    EXPECT_NEAR(ExportFrameRatio(10, 1.0, 2.0, 10), 0.0, 1e-12);
    // 1 % borders of 640 x 480 over-sampled 3 times: 19.2 and 14.4 pixels.
    EXPECT_EQ(ExportFitBorder(640, 3, 1.0), 19);
    EXPECT_EQ(ExportFitBorder(480, 3, 1.0), 14);
}

TEST(ImageExportFieldsTest, ChecksOfOk)
{
    ImageExportFields f;
    EXPECT_EQ(f.CheckFields(), "");
    f.borders = 49.0;
    EXPECT_EQ(f.CheckFields(), "");
    f.borders = 49.5;
    EXPECT_EQ(f.CheckFields(), "\n  - Borders around fit must be less than 50%");
    f.borders = 0.0;
    f.aspect = "4320/4739";
    EXPECT_EQ(f.CheckFields(), "");
    f.aspect = "4320/";
    const std::string fault = f.CheckFields();
    EXPECT_EQ(fault.rfind("\n  - Pixel aspect ratio: ", 0), 0u) << fault;
    EXPECT_GT(fault.size(), std::string("\n  - Pixel aspect ratio: ").size());
    f.aspect = "0";
    f.fps = 0.0f;
    f.numFrames = 0;
    f.dpiText = "0";
    EXPECT_EQ(f.CheckFields(),
              "\n  - Pixel aspect ratio must be greater than zero\n  - Frame rate must be greater than zero"
              "\n  - Number of frames must be greater than zero\n  - DPI must be greater than zero");
    // An AVI name makes an animation without the box ticked.
    ImageExportFields g;
    g.fileName = "turn.AVI";
    EXPECT_TRUE(g.IsAnimation());
    g.fileName = "turn.gif";
    EXPECT_FALSE(g.IsAnimation());
}

TEST(ImageExportFieldsTest, SettingsRoundTripAndAFreshRecordStartsAt25Fps)
{
    ExportSettings settings;
    ImageExportFields f;
    f.Load(settings);
    EXPECT_FLOAT_EQ(f.fps, 25.0f);
    EXPECT_EQ(f.numFrames, 100);
    EXPECT_EQ(f.imageType, 5);
    f.fps = 29.97f;
    f.numFrames = 12;
    f.interlaceMethod = ImageExportFields::kUpperFieldFirst;
    f.aspect = "128/117";
    f.Store(settings);
    ImageExportFields g;
    g.Load(settings);
    EXPECT_FLOAT_EQ(g.fps, 29.97f);
    EXPECT_EQ(g.numFrames, 12);
    EXPECT_EQ(g.interlaceMethod, ImageExportFields::kUpperFieldFirst);
    EXPECT_EQ(g.aspect, "128/117");
}

TEST_F(ImageExportTest, StillOfTheIcosahedronDownAThreeFoldAxisIsCentredSymmetricAndSmoothed)
{
    ASSERT_NE(OpenModel("Icosahedron"), nullptr);
    CPolyView* pane = Pane(0);
    gAnswer.fileName = "ico3.png";
    gAnswer.imageType = GetExportFilterIndex("x.png") + 1;
    gAnswer.width = 2000;
    gAnswer.height = 1500;
    gAnswer.overSample = 3;
    gAnswer.orientation = 2 + ThreeFoldClass(pane);
    gAnswer.fit = true;
    gAnswer.borders = 5.0;
    const Vec3D eye = pane->GetEye();
    ASSERT_TRUE(pane->ExportImage());
    // The pane is as it was.
    EXPECT_NEAR(pane->GetEye().x, eye.x, 1e-9);
    EXPECT_NEAR(pane->GetEye().z, eye.z, 1e-9);
    EXPECT_FLOAT_EQ(pane->GetPixelAspect(), 1.0f);
    EXPECT_EQ(pane->GetFitBorderX(), 0);

    const Picture smooth = ReadPicture(gAnswer.folder + "/ico3.png");
    ASSERT_EQ(smooth.w, 2000);
    ASSERT_EQ(smooth.h, 1500);
    // Tight within borders of 5 %: the model keeps 100 pixels from the sides and 75 from the top and
    // bottom, and touches at least one pair of those limits.
    int top = smooth.h, bottom = -1, left = smooth.w, right = -1;
    double sumX = 0.0, sumY = 0.0, count = 0.0;
    const RGBQUAD background = smooth.At(0, 0);
    for (int y = 0; y < smooth.h; ++y)
        for (int x = 0; x < smooth.w; ++x)
            if (!Same(smooth.At(x, y), background, 8))
            {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
                sumX += x;
                sumY += y;
                count += 1.0;
            }
    EXPECT_GE(top, 70);
    EXPECT_LE(bottom, 1500 - 70);
    EXPECT_GE(left, 95);
    EXPECT_LE(right, 2000 - 95);
    EXPECT_TRUE(top < 90 || left < 115) << top << " " << left;
    // Centred: a three-fold silhouette has its centroid at its centre.
    EXPECT_NEAR(sumX / count, 999.5, 3.0);
    EXPECT_NEAR(sumY / count, 749.5, 3.0);
    const double cx = 999.5, cy = 749.5;
    std::vector<double> reach;
    for (int d = 0; d < 360; d += 4)
        reach.push_back(ReachAlong(smooth, cx, cy, d));
    // A turn of 120 degrees about the centre leaves the silhouette as it is.
    for (size_t i = 0; i < reach.size(); ++i)
        EXPECT_NEAR(reach[i], reach[(i + 30) % reach.size()], 4.0) << "at " << 4 * i << " degrees";

    gAnswer.fileName = "ico3sharp.png";
    gAnswer.overSample = 1;
    ASSERT_TRUE(pane->ExportImage());
    const Picture sharp = ReadPicture(gAnswer.folder + "/ico3sharp.png");
    ASSERT_EQ(sharp.w, 2000);
    EXPECT_GT(CountSilhouetteColours(smooth), 2 * CountSilhouetteColours(sharp));
}

TEST_F(ImageExportTest, AnimatedGifOfTheTurningCubeHoldsItsFramesAndDelay)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gAnswer.fileName = "cube.gif";
    gAnswer.imageType = 5;
    gAnswer.isAnimation = true;
    gAnswer.width = 120;
    gAnswer.height = 90;
    gAnswer.overSample = 1;
    gAnswer.numFrames = 25;
    gAnswer.fps = 25.0f;
    gAnswer.numRotations = "1/4";
    ASSERT_TRUE(Pane(0)->ExportImage());
    const std::string path = gAnswer.folder + "/cube.gif";
    // GIF blocks by hand: count the image descriptors and read the graphic control delays.
    const std::string script =
        "import sys\n"
        "d=open(sys.argv[1],'rb').read()\n"
        "assert d[:6] in (b'GIF87a',b'GIF89a')\n"
        "w=d[6]|d[7]<<8; h=d[8]|d[9]<<8; f=d[10]; i=13\n"
        "if f&0x80: i+=3*(2<<(f&7))\n"
        "n=0; delays=set(); loop=False\n"
        "def skip(i):\n"
        "    while d[i]: i+=d[i]+1\n"
        "    return i+1\n"
        "while d[i]!=0x3B:\n"
        "    if d[i]==0x21:\n"
        "        if d[i+1]==0xF9: delays.add(d[i+4]|d[i+5]<<8)\n"
        "        if d[i+1]==0xFF and d[i+3:i+14]==b'NETSCAPE2.0': loop=True\n"
        "        i=skip(i+2)\n"
        "    elif d[i]==0x2C:\n"
        "        lf=d[i+9]; i+=10\n"
        "        if lf&0x80: i+=3*(2<<(lf&7))\n"
        "        i=skip(i+1); n+=1\n"
        "    else: raise SystemExit('bad block')\n"
        "print('size',w,h,'frames',n,'delays',sorted(delays),'loop',loop)\n";
    const std::string scriptPath = ScratchPath("gifblocks.py");
    {
        std::ofstream(scriptPath) << script;
    }
    int status = 0;
    const std::string out = RunReader("python3 '" + scriptPath + "' '" + path + "'", &status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("size 120 90 frames 25 delays [4] loop True"), std::string::npos) << out;

    // The frames differ: the cube turns.
    FIMULTIBITMAP* multi = FreeImage_OpenMultiBitmap(FIF_GIF, path.c_str(), FALSE, TRUE, FALSE, GIF_PLAYBACK);
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(FreeImage_GetPageCount(multi), 25);
    FreeImage_CloseMultiBitmap(multi, 0);
}

TEST_F(ImageExportTest, SequencesAreNumberedAndInterlacingCountsFields)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gAnswer.fileName = "seq.png";
    gAnswer.imageType = GetExportFilterIndex("x.png") + 1;
    gAnswer.isAnimation = true;
    gAnswer.width = 64;
    gAnswer.height = 48;
    gAnswer.overSample = 1;
    gAnswer.numFrames = 3;
    gAnswer.interlaceMethod = ImageExportFields::kLowerFieldFirst;
    ASSERT_TRUE(Pane(0)->ExportImage());
    for (int n = 0; n < 3; ++n)
    {
        const Picture frame = ReadPicture(gAnswer.folder + "/seq000" + std::to_string(n) + ".png");
        EXPECT_EQ(frame.w, 64) << n;
        EXPECT_EQ(frame.h, 48) << n;
    }
    EXPECT_FALSE(std::filesystem::exists(gAnswer.folder + "/seq0003.png"));

    // The renderer counts a frame per field.
    ImageExportFields fields = gAnswer;
    fields.numFrames = 50;
    ImageExportRenderer renderer(*Pane(0), fields);
    EXPECT_EQ(renderer.GetFrameCount(), 100);
    fields.interlaceMethod = ImageExportFields::kNotInterlaced;
    renderer.SetFrameSize(true);
    EXPECT_EQ(renderer.GetFrameCount(), 50);
}

TEST_F(ImageExportTest, CancelWritesNothingAndAviIsRefusedHonestly)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gAnswer.fileName = "cancelled.png";
    gAnswerOk = false;
    EXPECT_FALSE(Pane(0)->ExportImage());
    EXPECT_FALSE(std::filesystem::exists(gAnswer.folder + "/cancelled.png"));
    gAnswerOk = true;
    gAnswer.fileName = "video.avi";
    gAnswer.imageType = 4;
    mScripted.services.calls.clear();
    EXPECT_FALSE(Pane(0)->ExportImage());
    EXPECT_FALSE(std::filesystem::exists(gAnswer.folder + "/video.avi"));
    ASSERT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(mScripted.services.LastCall()->text.find("AVI video can't be written"), std::string::npos);
}

TEST_F(ImageExportTest, TheMenuItemActsOnThePane)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    gAnswer.fileName = "menu.bmp";
    gAnswer.imageType = GetExportFilterIndex("x.bmp") + 1;
    gAnswer.width = 30;
    gAnswer.height = 20;
    gAnswer.openAfter = true;
    std::vector<std::string> opened;
    const LinkOpener previous = SetLinkOpener([&](const std::string& target, LinkKind kind) {
        EXPECT_EQ(kind, LinkKind::kProgramFile);
        opened.push_back(target);
        return true;
    });
    wxCommandEvent event(wxEVT_MENU, kCmdExportImage);
    mFrame->ProcessWindowEvent(event);
    SetLinkOpener(previous);
    const Picture picture = ReadPicture(gAnswer.folder + "/menu.bmp");
    EXPECT_EQ(picture.w, 30);
    EXPECT_EQ(picture.h, 20);
    // "Open after exporting" hands the written file to the desktop.
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], gAnswer.folder + "/menu.bmp");
}


TEST_F(ImageExportTest, DialogPresetsTimingAviNamesAndChecks)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    ImageExportFields fields;
    fields.fileName = "cube.png";
    fields.imageType = GetExportFilterIndex("x.png") + 1;
    fields.numFrames = 100;
    fields.fps = 25.0f;
    ImageExportRenderer renderer(*Pane(0), fields);
    ExportImageDialog dialog(mFrame, *Pane(0), fields, renderer);

    // PAL SD: its size, pixel aspect and frame rate; 4 s at 25 fps are 100 frames.
    dialog.Length()->ChangeValue("4");
    dialog.ChoosePreset(9);
    EXPECT_EQ(dialog.Width()->GetValue(), "720");
    EXPECT_EQ(dialog.Height()->GetValue(), "576");
    EXPECT_EQ(dialog.Aspect()->GetValue(), "128/117");
    EXPECT_EQ(dialog.FrameRate()->GetValue(), "25");
    EXPECT_EQ(dialog.Frames()->GetValue(), "100");

    // A frame rate of 0 becomes the smallest one: one frame of 1000 s.
    dialog.FrameRate()->SetValue("0");
    EXPECT_EQ(dialog.Frames()->GetValue(), "1");
    EXPECT_EQ(dialog.Length()->GetValue(), "1000");

    // An AVI name: an animation without the box, which is shown greyed; the compressor list holds
    // "<No compression>" alone and stays greyed, for nothing can encode video here.
    dialog.FileName()->SetValue("turn.avi");
    EXPECT_EQ(dialog.Animation()->GetLabel(), "Export video (AVI)");
    EXPECT_FALSE(dialog.Animation()->IsEnabled());
    EXPECT_EQ(dialog.Compressor()->GetCount(), 1u);
    EXPECT_FALSE(dialog.Compressor()->IsEnabled());
    EXPECT_FALSE(dialog.Tour()->IsEnabled());
    dialog.FileName()->SetValue("turn.gif");
    EXPECT_EQ(dialog.Animation()->GetLabel(), "Export animated GIF");
    EXPECT_EQ(dialog.FileType()->GetStringSelection(), "GIF");

    // OK refuses borders of 49.5 % with the list of faults, and accepts 49 %.
    dialog.Folder()->SetValue(wxString::FromUTF8(gAnswer.folder));
    dialog.Borders()->ChangeValue("49.5");
    mScripted.services.calls.clear();
    EXPECT_FALSE(dialog.Accept());
    ASSERT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mScripted.services.LastCall()->text,
              "The following fields were filled out incorrectly:\n\n  - Borders around fit must be less than 50%");
    dialog.Borders()->ChangeValue("49");
    ASSERT_TRUE(dialog.Accept());
    EXPECT_EQ(GetExportSettings().imageType, 5);
    ASSERT_FALSE(GetExportSettings().folders.empty());
    EXPECT_EQ(GetExportSettings().folders.front(), gAnswer.folder);
}

TEST_F(ImageExportTest, TheRememberedNameDropsThePaneSuffix)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    mDocument->SetExportName("");
    pane->SetViewType(kViewTypeVertexFigure, true);
    {
        ImageExportFields fields;
        fields.Load(GetExportSettings());
        fields.fileName = "My Poly-Verf.gif";
        ImageExportRenderer renderer(*pane, fields);
        ExportImageDialog dialog(mFrame, *pane, fields, renderer);
        dialog.Folder()->SetValue(wxString::FromUTF8(gAnswer.folder));
        std::filesystem::remove(gAnswer.folder + "/My Poly-Verf.gif");
        ASSERT_TRUE(dialog.Accept());
    }
    EXPECT_EQ(mDocument->GetExportName(), "My Poly.gif");
    pane->SetViewType(kViewTypePoly, true);
    EXPECT_EQ(pane->DefaultExportFileName("gif", true), "My Poly.gif");
    pane->SetViewType(kViewTypeVertexFigure, true);
    EXPECT_EQ(pane->DefaultExportFileName("gif", true), "My Poly-Verf.gif");
    // Without asking for it the model's name comes first.
    EXPECT_EQ(pane->DefaultExportFileName("gif", false), "Cube-Verf.gif");
    mDocument->SetExportName("");
    pane->SetViewType(kViewTypePoly, true);
}
