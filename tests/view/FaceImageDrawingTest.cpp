// Images drawn on the faces of a model pane, and the background image loaded from a file, as the
// Image menu sets them up.

#include "view/PaneFixture.h"

#include "kernel/FaceImage.h"
#include "model/FaceVert.h"
#include "render/FreeImageInclude.h"
#include "render/TextureImage.h"
#include "ui/ImageCommands.h"
#include "ui/ImageOptionsDialog.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace
{
// An n x n checkerboard of cells of c pixels, black in the file's bottom-left corner.
std::string WriteCheckerboard(const char* name, int n, int c)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    FIBITMAP* image = FreeImage_Allocate(n * c, n * c, 24);
    for (int y = 0; y < n * c; ++y)
        for (int x = 0; x < n * c; ++x)
        {
            const BYTE v = ((x / c + y / c) % 2) ? 255 : 0;
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[0] = p[1] = p[2] = v;
        }
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
    return path;
}

bool AcceptDialog(ImageOptionsDialog&)
{
    return true;
}

class FaceImageDrawingTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mOptions = GetImageOptions();
        mRunner = SetImageOptionsRunner(AcceptDialog);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            SetImageOptionsRunner(mRunner);
            GetImageOptions() = mOptions;
            SetBackgroundImage(std::string());
        }
        PaneFixture::TearDown();
    }

    // The face whose outward normal points most nearly at the viewer.
    static FaceVert* FacingFace(CPolyView* pane, Poly* poly)
    {
        Transform3D camera;
        pane->GetCameraTransform(camera);
        Vec3D back;
        camera.m.GetColumn(back, 2);
        FaceVert* best = nullptr;
        double bestDot = -2.0;
        for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        {
            const double d = Vec3Dot(f->GetNormal(), back);
            if (d > bestDot)
            {
                bestDot = d;
                best = f;
            }
        }
        return best;
    }

    ImageOptions mOptions;
    ImageOptionsRunner mRunner = nullptr;
};

// 1 white, 0 black, -1 neither.
int CellLevel(const unsigned char* p)
{
    if (p[0] > 200 && p[1] > 200)
        return 1;
    if (p[0] + p[1] + p[2] < 60)
        return 0;
    return -1;
}
}  // namespace

TEST_F(FaceImageDrawingTest, ACheckerboardLandsUndistortedOnTheFaceSeenSquareOn)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    CPolyView* pane = Pane(0);
    pane->LookDownAxis(0, true);
    FaceVert* face = FacingFace(pane, poly);
    ASSERT_NE(face, nullptr);
    const Frame before = DrawAndRead(pane);
    poly->GetShownStellation()->mSelectedFace = face;

    const std::string path = WriteCheckerboard("orvane-checker.png", 8, 16);
    ImageOptions& o = GetImageOptions();
    o.projection = 0;
    o.boundary = 1;  // clamp
    o.coloring = 1;  // ignore the face colour
    o.keepUpright = false;
    ASSERT_TRUE(ReadImageList(0, path));
    ASSERT_NE(face->mImage.Get(), nullptr);
    poly->GetShownStellation()->mSelectedFace = nullptr;
    const Frame frame = DrawAndRead(pane);

    int cx = 0, cy = 0;
    ProjectToPixel(pane, face->mCentre, cx, cy);
    ASSERT_TRUE(frame.Inside(cx, cy));
    // Along a row and a column near the face's centre (which lies on a corner of four cells), the
    // black and white cells change at evenly spaced pixels.
    for (int axis = 0; axis < 2; ++axis)
    {
        SCOPED_TRACE(axis ? "column" : "row");
        std::vector<int> edges;
        int previous = -1;
        for (int k = -400; k <= 400; ++k)
        {
            const int x = axis ? cx + 20 : cx + k, y = axis ? cy + k : cy + 20;
            // Lit white and black; the blurred pixels between them and the grey around count as neither.
            const int level = frame.Inside(x, y) ? CellLevel(frame.At(x, y)) : -1;
            if (level < 0)
                continue;
            if (previous >= 0 && level != previous)
                edges.push_back(k);
            previous = level;
        }
        ASSERT_GE(edges.size(), 5u);
        const double spacing = double(edges.back() - edges.front()) / double(edges.size() - 1);
        EXPECT_GT(spacing, 4.0);
        for (size_t i = 0; i < edges.size(); ++i)
            EXPECT_NEAR(edges[i], edges.front() + spacing * double(i), 1.0) << i;
    }
    // Pixels outside the face keep what they showed.
    int changed = 0, outside = 0;
    for (int y = 0; y < frame.height; y += 7)
        for (int x = 0; x < frame.width; x += 7)
        {
            if (std::abs(x - cx) < frame.height / 2 && std::abs(y - cy) < frame.height / 2)
                continue;
            ++outside;
            changed += std::abs(frame.At(x, y)[0] - before.At(x, y)[0]) > 8;
        }
    EXPECT_GT(outside, 0);
    EXPECT_EQ(changed, 0);
    std::filesystem::remove(path);
}

TEST_F(FaceImageDrawingTest, RemoveAndUndoOfAnImageOnAllFaces)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    poly->GetShownStellation()->mSelectedFace = poly->mFaces.mFirst;
    const std::string path = WriteCheckerboard("orvane-checker-all.png", 2, 4);
    GetImageOptions().applyTo = 2;
    ASSERT_TRUE(ReadImageList(0, path));
    // Mode 0 puts the image on the selected face only, whatever was remembered.
    int carrying = 0;
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        carrying += f->mImage.Get() != nullptr;
    EXPECT_EQ(carrying, 1);
    FaceImage* image = poly->mFaces.mFirst->mImage.Get();
    poly->ApplyImageToFaces(image, poly->mFaces.mFirst, Poly::kImageScopeAllFaces);
    carrying = 0;
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        carrying += f->mImage.Get() == image;
    EXPECT_EQ(carrying, 6);
    EXPECT_EQ(GetFaceImageTexture(image)->GetReferenceCount(), 1);
    EXPECT_TRUE(GetFaceImageTexture(image)->IsUsed());
    poly->ApplyImageToFaces(nullptr, poly->mFaces.mFirst, Poly::kImageScopeAllFaces);
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(f->mImage.Get(), nullptr);
    // The undo list still holds the image, but no face uses its texture any more.
    for (FaceImage* kept = GetFirstFaceImage(); kept; kept = kept->next)
        EXPECT_FALSE(GetFaceImageTexture(kept)->IsUsed());
    std::filesystem::remove(path);
}

TEST_F(FaceImageDrawingTest, TheBackgroundImageFromAFileFillsItsQuad)
{
    ASSERT_NE(OpenModel("4.4.4"), nullptr);
    CPolyView* pane = Pane(0);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    // 600 x 100 in a 1024 x 128 texture: the image sits centred, its margins must never show.
    const std::string path = (std::filesystem::temp_directory_path() / "orvane-bg.png").string();
    FIBITMAP* image = FreeImage_Allocate(600, 100, 24);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 600; ++x)
        {
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[FI_RGBA_RED] = 255;
            p[FI_RGBA_GREEN] = 0;
            p[FI_RGBA_BLUE] = BYTE(x < 300 ? 0 : 255);  // red left half, magenta right half
        }
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
    // Where the model covers the background.
    const Frame model = DrawAndRead(pane);
    ASSERT_TRUE(SetBackgroundImage(path));
    EXPECT_EQ(GetBackgroundImageSettings().currentPath, path);
    EXPECT_FALSE(SetBackgroundImage("/nonexistent/orvane-bg.png"));
    EXPECT_EQ(GetBackgroundImageSettings().currentPath, path);

    for (int fit = 0; fit < 6; ++fit)
    {
        SCOPED_TRACE(fit);
        GetBackgroundImageSettings().fit = fit;
        const Frame frame = DrawAndRead(pane);
        const BackgroundQuad q = ComputeBackgroundQuad(fit, pane->GetViewport(), 600, 100, 0.0);
        // Samples inside the quad, in the pane and off the model: red on the left half, magenta on the right.
        int seen = 0;
        for (double fx = -0.95; fx < 1.0; fx += 0.1)
            for (double fy = -0.9; fy < 1.0; fy += 0.2)
            {
                const int px = int(q.centreX + fx * q.halfWidth), py = int(q.centreY + fy * q.halfHeight);
                if (!frame.Inside(px, py) || model.Covered(px, py) || std::abs(fx) < 0.05)
                    continue;
                ++seen;
                const unsigned char* p = frame.At(px, py);
                EXPECT_GT(p[0], 200) << px << "," << py;
                EXPECT_LT(p[1], 60);
                EXPECT_EQ(p[2] > 128, fx > 0.0) << px << "," << py;
            }
        EXPECT_GT(seen, 0);
        // Just outside the quad: the background colour.
        const int outsideX = int(q.centreX + q.halfWidth + 3);
        if (frame.Inside(outsideX, int(q.centreY)) && !model.Covered(outsideX, int(q.centreY)) && fit != 4)
        {
            EXPECT_EQ(frame.At(outsideX, int(q.centreY))[0], 0);
        }
    }
    EXPECT_TRUE(SetBackgroundImage(std::string()));
    EXPECT_TRUE(GetBackgroundImageSettings().currentPath.empty());
    EXPECT_FALSE(HasBackgroundImage());
    std::filesystem::remove(path);
}

TEST_F(FaceImageDrawingTest, ASphericalImageShowsNoSeam)
{
    Poly* poly = OpenModel("Icosahedron");
    ASSERT_NE(poly, nullptr);
    GetElementDisplayOptions().mShowEdges = false;
    GetElementDisplayOptions().mShowVerts = false;
    CPolyView* pane = Pane(0);
    NewView::SetBackgroundColor(pane, ColorRGB{0.0f, 0.0f, 0.0f});
    // The seam of a spherical image runs down the model's back: look at it from there.
    pane->LookAlong(Vec3D{0, 0, -1}, true);
    const Frame model = DrawAndRead(pane);

    // Eight columns of longitude in colours of a Gray code, so that a blend of two neighbours reads
    // as one of them: column c has the colour bits of c ^ (c >> 1).
    const std::string path = (std::filesystem::temp_directory_path() / "orvane-globe.png").string();
    FIBITMAP* image = FreeImage_Allocate(256, 128, 24);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
        {
            const int code = (x / 32) ^ ((x / 32) >> 1);
            BYTE* p = FreeImage_GetScanLine(image, y) + x * 3;
            p[FI_RGBA_RED] = BYTE(code & 1 ? 255 : 0);
            p[FI_RGBA_GREEN] = BYTE(code & 2 ? 255 : 0);
            p[FI_RGBA_BLUE] = BYTE(code & 4 ? 255 : 0);
        }
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
    poly->GetShownStellation()->mSelectedFace = poly->mFaces.mFirst;
    ImageOptions& o = GetImageOptions();
    o.projection = 3;
    o.boundary = 2;  // repeat
    o.coloring = 1;
    ASSERT_TRUE(ReadImageList(0, path));
    FaceImage* globe = poly->mFaces.mFirst->mImage.Get();
    poly->ApplyImageToFaces(globe, poly->mFaces.mFirst, Poly::kImageScopeAllFaces);
    // Turned off the icosahedron's edges, so that the seam crosses the middle of faces.
    globe->mUOffset = 0.03;
    poly->GetShownStellation()->mSelectedFace = nullptr;
    const Frame frame = DrawAndRead(pane);

    // Along the middle row the columns follow one another one way round, across the seam too.
    int cx = 0, cy = 0;
    ProjectToPixel(pane, Vec3D{0, 0, 0}, cx, cy);
    static const int kColumnOfCode[8] = {0, 1, 3, 2, 7, 6, 4, 5};
    std::vector<int> columns;
    for (int x = 0; x < frame.width; ++x)
    {
        if (!model.Covered(x, cy))
            continue;
        const unsigned char* p = frame.At(x, cy);
        const int top = std::max({int(p[0]), int(p[1]), int(p[2])});
        int code = 0;
        if (top > 40)
            for (int k = 0; k < 3; ++k)
                code |= (p[k] * 2 > top ? 1 : 0) << k;
        const int column = kColumnOfCode[code];
        if (columns.empty() || columns.back() != column)
            columns.push_back(column);
    }
    ASSERT_GE(columns.size(), 3u);
    int forward = 0, backward = 0;
    for (size_t i = 1; i < columns.size(); ++i)
    {
        const int step = (columns[i] - columns[i - 1] + 8) % 8;
        forward += step == 1;
        backward += step == 7;
        EXPECT_TRUE(step == 1 || step == 7) << "column " << columns[i - 1] << " then " << columns[i];
    }
    EXPECT_TRUE(forward == 0 || backward == 0) << forward << " steps one way, " << backward << " the other";
    // The seam lies between the last column and the first.
    const bool crossesSeam = std::adjacent_find(columns.begin(), columns.end(), [](int a, int b) {
                                 return (a == 7 && b == 0) || (a == 0 && b == 7);
                             }) != columns.end();
    EXPECT_TRUE(crossesSeam);
    std::filesystem::remove(path);
}

TEST(ShowThroughTest, ValuesAreHeldToTheRange)
{
    EXPECT_FLOAT_EQ(ClampShowThrough(2.0f), 0.95f);
    EXPECT_FLOAT_EQ(ClampShowThrough(-1.0f), 0.0f);
    EXPECT_FLOAT_EQ(ClampShowThrough(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(ClampShowThrough(std::nanf("")), 0.0f);
}
