// Writing scenes: the model file's container in its three forms, the header and body items, and
// saving that never loses the file it replaces.

#include "SceneTestSupport.h"

#include "JohnsonSolids.h"
#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Lzrw.h"
#include "kernel/Polygon3D.h"
#include "kernel/RenderSettings.h"
#include "kernel/RingVert.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/SceneWriter.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/Vert.h"
#include "stellation/FacetingSettings.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
class SceneFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mUnits = std::make_unique<UnitSettings>(GetUnitSettings());
        mFaceting = GetFacetingSettings();
        mDisplay = GetElementDisplayOptions();
        mScene = GetSceneParameters();
        mRender = GetRenderSettings();
        std::string folder;
        ASSERT_TRUE(GetTempFolder(folder));
        mFolder = folder + "/scenes";
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override
    {
        GetUnitSettings() = *mUnits;
        GetFacetingSettings() = mFaceting;
        GetElementDisplayOptions() = mDisplay;
        GetSceneParameters() = mScene;
        GetRenderSettings() = mRender;
        std::filesystem::remove_all(mFolder);
    }

    std::string Path(const char* name) const { return mFolder + "/" + name; }

    // The files of the folder, hidden ones too.
    std::vector<std::string> FolderFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(mFolder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    static void BuildLibraryModel(Poly& poly, PolyTemplate& templ, const char* symbol)
    {
        const LibraryEntry* entry = FindLibraryEntry(symbol, nullptr, false);
        ASSERT_NE(entry, nullptr) << symbol;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, entry, false)) << symbol;
        ASSERT_NE(poly.mTemplate, nullptr);
    }

    // The square pyramid from its checked OFF file, made through CreatePoly: no template.
    static void BuildSquarePyramid(Poly& poly)
    {
        FacedSolid solid;
        ASSERT_TRUE(ReadOff(JohnsonFile(1), solid));
        std::unique_ptr<SimplePoly> simple = MakeModel(solid);
        ASSERT_TRUE(CreatePoly(simple.get(), &poly, false, false));
        ASSERT_EQ(poly.mTemplate, nullptr);
        poly.SetBaseName("Square Pyramid");
    }

    std::vector<std::string> SaveAsciiLines(Poly& poly, int options = 0)
    {
        const std::string path = Path("scene.orva");
        EXPECT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &poly, options));
        return SplitLines(ReadFileBytes(path));
    }

    ScopedScriptedServices mScripted;
    RecordingSceneHost mHost;
    ScopedSceneHost mHostScope{&mHost};
    std::string mFolder;

private:
    std::unique_ptr<UnitSettings> mUnits;
    FacetingSettings mFaceting;
    ElementDisplayOptions mDisplay;
    SceneParameters mScene;
    RenderSettings mRender;
};

double FromWords(const std::string& low, const std::string& high)
{
    const uint64_t bits = uint64_t(std::stoul(low, nullptr, 16)) | (uint64_t(std::stoul(high, nullptr, 16)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

int FirstLineOf(const std::vector<std::string>& lines, const char* token)
{
    for (size_t i = 0; i < lines.size(); ++i)
    {
        const std::vector<std::string> words = SplitWords(lines[i]);
        if (!words.empty() && words[0] == token)
            return int(i);
    }
    return -1;
}

SceneViewState View3D(int type)
{
    SceneViewState view;
    view.viewType = type;
    view.cameraPos = {0.1, 0.2, 3.0};
    return view;
}

SceneViewState View2D(int type)
{
    SceneViewState view;
    view.viewType = type;
    view.is3D = false;
    view.zoom2D = 0.5f;
    view.zoomX = view.zoomY = 200.0f;
    view.twist2D = 30.0f;
    view.scrollX = 100.0f;
    view.scrollY = 50.0f;
    view.clientWidth = 400;
    view.clientHeight = 300;
    return view;
}

struct Block
{
    int token;
    std::vector<uint8_t> content;  // decompressed
};

// The items after a BINARY file's header, each a compressed block; false for anything else.
bool ReadBlocks(const std::string& bytes, std::vector<Block>& blocks)
{
    const std::string head = "Orvane BINARY ";
    if (bytes.compare(0, head.size(), head) != 0)
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data()) + head.size();
    ByteReader r(data, bytes.size() - head.size());
    if (r.Short() != 8 || r.Short() != 10)
        return false;
    std::vector<uint8_t> work(kLzrwWorkMemSize);
    while (!r.AtEnd())
    {
        Block block;
        block.token = r.Short();
        const int32_t stored = r.Int();
        const int32_t size = r.Int();
        if (stored < 4 || size < 0 || size_t(stored) > r.Left())
            return false;
        const uint8_t* at = r.Take(size_t(stored));
        if (at[0] != 0xb8 || at[1] != 0xa5 || at[2] != 0xa9 || at[3] != 0x6a)
            return false;
        block.content.resize(size_t(size));
        size_t length = 0;
        if (!LzrwDecompressBlock(work.data(), at + 4, size_t(stored) - 4, block.content.data(), block.content.size(),
                                 length) ||
            length != size_t(size))
            return false;
        blocks.push_back(std::move(block));
    }
    return true;
}
}  // namespace

TEST_F(SceneFileTest, IcosahedronInAsciiNamesItsConfigurationAndHoldsNoGeometry)
{
    mHost.hasActivePane = true;
    mHost.activeTitle = "Icosahedron";
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "3.3.3.3.3");
    const std::vector<std::string> lines = SaveAsciiLines(poly);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Orvane ASCII 8.10");
    EXPECT_EQ(lines[1], "# Orvane Polyhedron file (*.orva).");
    EXPECT_EQ(lines[2], "# Icosahedron");
    EXPECT_EQ(lines[3], "# Generated by 'OrvaneMax', Version 5.4");
    EXPECT_EQ(lines[4].rfind("# Date: ", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5], "# ");
    EXPECT_EQ(lines[6], "Scene\t\"Icosahedron\"");

    EXPECT_EQ(LinesOf(lines, "VertexDescription"), std::vector<std::string>{"VertexDescription\t\"3.3.3.3.3\""});
    EXPECT_FALSE(HasToken(lines, "Poly"));
    EXPECT_FALSE(HasToken(lines, "VertexFaces"));
    // The counts of the icosahedron.
    EXPECT_EQ(LinesOf(lines, "NumFaces"), std::vector<std::string>{"NumFaces\t20"});
    EXPECT_EQ(LinesOf(lines, "NumEdges"), std::vector<std::string>{"NumEdges\t30"});
    EXPECT_EQ(LinesOf(lines, "NumVerts"), std::vector<std::string>{"NumVerts\t12"});
    EXPECT_TRUE(HasToken(lines, "Convex"));
    EXPECT_FALSE(HasToken(lines, "NumGenCells"));
    // The library gives the link and the description again; the dual name is written all the same.
    EXPECT_EQ(LinesOf(lines, "DualName"), std::vector<std::string>{"DualName\t\"Dodecahedron\""});
    EXPECT_FALSE(HasToken(lines, "Link"));
    EXPECT_FALSE(HasToken(lines, "Comments"));
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);

    // Without an active pane there is no header block; comments of the user's own are kept.
    mHost.hasActivePane = false;
    poly.SetComments("Twenty triangles");
    const std::vector<std::string> plain = SaveAsciiLines(poly);
    ASSERT_GE(plain.size(), 3u);
    EXPECT_EQ(plain[2], "Scene\t\"Icosahedron\"");
    EXPECT_EQ(LinesOf(plain, "Comments"), std::vector<std::string>{"Comments \"Twenty triangles\""});
}

TEST_F(SceneFileTest, ModelWithoutTemplateWritesItsVerticesFacesAndVertexFaces)
{
    Poly poly;
    BuildSquarePyramid(poly);
    ASSERT_EQ(poly.mVerts.mCount, 5);
    ASSERT_EQ(poly.mFaces.mCount, 5);
    const std::vector<std::string> lines = SaveAsciiLines(poly);

    const int at = FirstLineOf(lines, "Poly");
    ASSERT_GE(at, 0);
    EXPECT_EQ(lines[size_t(at)], "Poly\t5\t5\t# #verts, #faces");
    size_t i = size_t(at) + 1;
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext, ++i)
    {
        const std::vector<std::string> words = SplitWords(lines[i]);
        ASSERT_EQ(words.size(), 6u) << lines[i];
        // Bit for bit.
        EXPECT_EQ(FromWords(words[0], words[1]), v->mPoint.x);
        EXPECT_EQ(FromWords(words[2], words[3]), v->mPoint.y);
        EXPECT_EQ(FromWords(words[4], words[5]), v->mPoint.z);
    }
    EXPECT_EQ(lines[i++], "# Faces");
    int corners = 0;
    bool zeroSeen = false;
    for (const FaceVert* face = poly.mFaces.mFirst; face; face = face->mNext, ++i)
    {
        const std::vector<std::string> words = SplitWords(lines[i]);
        ASSERT_EQ(words.size(), size_t(face->mNumSides) + 1) << lines[i];
        EXPECT_EQ(std::stoi(words[0]), face->mNumSides);
        for (int k = 0; k < face->mNumSides; ++k)
        {
            const int index = std::stoi(words[size_t(k) + 1]);
            EXPECT_EQ(index, face->mNeighbours[k]->mIndex);
            zeroSeen = zeroSeen || index == 0;
        }
        corners += face->mNumSides;
    }
    // A pyramid on a square: four triangles and the square, 16 corners for 8 edges counted twice.
    EXPECT_EQ(corners, 16);
    EXPECT_TRUE(zeroSeen);
    EXPECT_EQ(lines[i++], "VertexFaces");
    EXPECT_EQ(lines[i++], "# Face ordering around vertices");
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext, ++i)
    {
        const std::vector<std::string> words = SplitWords(lines[i]);
        ASSERT_EQ(words.size(), size_t(v->mNumSides) + 1) << lines[i];
        for (int k = 0; k < v->mNumSides; ++k)
            EXPECT_EQ(std::stoi(words[size_t(k) + 1]), v->mNeighbours[k]->mIndex);
    }
    EXPECT_FALSE(HasToken(lines, "EmptyFaceNormals"));
    EXPECT_LT(at, FirstLineOf(lines, "Scale"));
    EXPECT_EQ(LinesOf(lines, "VertexDescription"), std::vector<std::string>{"VertexDescription\t\"\""});
}

TEST_F(SceneFileTest, AsciiVertexLineKeepsTheBitPatterns)
{
    const double one[3] = {1.0, 0.0, 0.0};
    const std::vector<std::string> lines =
        SplitLines(WriteAscii([&](ioFile* f) { WriteVertexLine(f, 1, one, 3); }));
    ASSERT_EQ(lines.size(), 1u);
    const std::vector<std::string> words = SplitWords(lines[0]);
    EXPECT_EQ(words, (std::vector<std::string>{"0x00000000", "0x3ff00000", "0x00000000", "0x00000000",
                                               "0x00000000", "0x00000000"}));

    const double third[4] = {1.0 / 3.0, -0.1, 1e-300, 2.0};
    const std::vector<uint8_t> bytes = WriteMemory([&](ioFile* f) { WriteVertexLine(f, 1, third, 4); });
    ByteReader r(bytes.data(), bytes.size());
    for (const double v : third)
        EXPECT_EQ(r.Double(), v);
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(SceneFileTest, BinaryHoldsExactlyAHeaderBlockAndABodyBlock)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "3.3.3.3.3");
    const std::string path = Path("ico.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoBinary, &poly, 0));
    std::vector<Block> blocks;
    ASSERT_TRUE(ReadBlocks(ReadFileBytes(path), blocks));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].token, kTokHeader);
    EXPECT_EQ(blocks[1].token, kTokBody);
    for (const Block& block : blocks)
    {
        ByteReader r(block.content.data(), block.content.size());
        EXPECT_EQ(r.Short(), 8);
        EXPECT_EQ(r.Short(), 10);
        // Each block starts with its first item: the scene's name, and the writing program.
        EXPECT_EQ(r.Short(), block.token == kTokHeader ? kTokScene : kTokVAD);
    }
}

TEST_F(SceneFileTest, WithoutViewStateTheBodyKeepsNoPanes)
{
    mHost.layout = true;
    mHost.throws = true;
    mHost.views = {View3D(kViewTypePoly), View2D(kViewTypeStelDiagram)};
    GetUnitSettings().SetDistanceUnit(kUnitCm);
    GetUnitSettings().mScale = 1.0;
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "3.3.3.3.3");
    poly.mShowDual = true;

    const char* const kViewItems[] = {"LayoutSection", "ViewType", "MouseThrows", "CurrentIsDual", "MorphRatio",
                                      "SliceMat", "MaxFacesPerNet"};
    const std::vector<std::string> full = SaveAsciiLines(poly);
    for (const char* item : kViewItems)
        EXPECT_TRUE(HasToken(full, item)) << item;
    EXPECT_EQ(LinesOf(full, "ViewType"), (std::vector<std::string>{"ViewType\tPoly", "ViewType\tStelDiagram"}));
    EXPECT_EQ(LinesOf(full, "CameraPos"), std::vector<std::string>{"CameraPos\t0.10000000000000001\t0.20000000000000001\t3"});
    // The middle of a 400 x 300 pane scrolled by (100, 50) at 200 pixels per unit.
    EXPECT_EQ(LinesOf(full, "ScrollPosMiddle"), std::vector<std::string>{"ScrollPosMiddle\t1.5\t1"});
    EXPECT_EQ(LinesOf(full, "Zoom2D"), std::vector<std::string>{"Zoom2D\t0.5"});
    EXPECT_EQ(mHost.layoutsWritten, 1);
    EXPECT_EQ(mHost.ratiosStored, 1);

    const std::vector<std::string> bare = SaveAsciiLines(poly, kSceneNoViewState);
    for (const char* item : kViewItems)
        EXPECT_FALSE(HasToken(bare, item)) << item;
    EXPECT_EQ(LinesOf(bare, "Scale"), std::vector<std::string>{"Scale\t1"});
    EXPECT_TRUE(HasToken(bare, "NetSpacing"));
}

TEST_F(SceneFileTest, ColoursTextsAndSelectionsOfTheCube)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    ASSERT_EQ(poly.mFaces.mCount, 6);
    ASSERT_EQ(poly.mEdges.count, 12);
    const ColorRGB defaultEdge = GetElementDisplayOptions().mDefaultEdgeColor;
    for (int i = 0; i < poly.mEdges.count; ++i)
        poly.mEdges[i].mColor = defaultEdge;
    for (FaceVert* list : {poly.mFaces.mFirst, poly.mVerts.mFirst})
        for (FaceVert* e = list; e; e = e->mNext)
            e->mBackColor = e->mColor;
    poly.GetFaceStellation()->mSelectedFace = nullptr;
    poly.GetVertStellation()->mSelectedFace = nullptr;

    std::vector<std::string> lines = SaveAsciiLines(poly);
    EXPECT_FALSE(HasToken(lines, "EdgeColors"));
    EXPECT_EQ(LinesOf(lines, "FaceColor").size(), 2u);
    EXPECT_FALSE(HasToken(lines, "BackFaceColor"));
    EXPECT_FALSE(HasToken(lines, "Alpha"));
    EXPECT_FALSE(HasToken(lines, "BaseFace"));

    for (int f = 0; f < 3; ++f)
        poly.GetNthFace(f)->SetOpacity(0.5f);
    for (int f = 3; f < 5; ++f)
        poly.GetNthFace(f)->SetOpacity(0.25f);
    poly.GetNthFace(5)->mBackColor = ColorRGB{0.1f, 0.2f, 0.3f};
    poly.GetNthFace(2)->mFlags |= FaceVert::kHidden;
    poly.GetNthFace(4)->mFlags |= FaceVert::kSmooth;
    PolyElement::SetText(poly.GetNthFace(1), "front");
    poly.mEdges[3].mColor = ColorRGB{0.0f, 0.0f, 1.0f};
    poly.mEdges[5].mFlags |= Edge::kHidden;
    PolyElement::SetText(&poly.mEdges[7], "seam");
    poly.GetFaceStellation()->mSelectedFace = poly.GetNthFace(4);
    poly.GetVertStellation()->mSelectedFace = poly.GetNthVert(6);

    lines = SaveAsciiLines(poly);
    const int dualAt = FirstLineOf(lines, "DualStellation");
    ASSERT_GT(dualAt, 0);
    const std::vector<std::string> base(lines.begin() + FirstLineOf(lines, "Stellation"), lines.begin() + dualAt);
    const std::vector<std::string> dual(lines.begin() + dualAt, lines.end());
    const std::vector<std::string> alpha = LinesOf(base, "Alpha");
    ASSERT_EQ(alpha.size(), 2u);
    EXPECT_EQ(alpha[0], "  Alpha\t0.25\t1");
    EXPECT_EQ(alpha[1], "  Alpha\t0.5\t1");
    EXPECT_EQ(LinesOf(base, "BackFaceColor").size(), 1u);
    EXPECT_FALSE(HasToken(dual, "BackFaceColor"));
    EXPECT_FALSE(HasToken(dual, "Alpha"));
    EXPECT_EQ(LinesOf(base, "Hidden"), std::vector<std::string>{"  Hidden\t1"});
    EXPECT_EQ(LinesOf(base, "SmoothFaces"), std::vector<std::string>{"  SmoothFaces\t1"});
    EXPECT_EQ(LinesOf(base, "FaceText"), std::vector<std::string>{"  FaceText\t1\t\"front\""});
    EXPECT_EQ(LinesOf(lines, "EdgeColors").size(), 1u);
    EXPECT_EQ(LinesOf(lines, "HiddenEdges"), std::vector<std::string>{"HiddenEdges\t1"});
    EXPECT_EQ(LinesOf(lines, "EdgeText"), std::vector<std::string>{"EdgeText\t7\t\"seam\""});
    EXPECT_EQ(LinesOf(lines, "BaseFace"), std::vector<std::string>{"BaseFace\t4"});
    EXPECT_EQ(LinesOf(lines, "DualFace"), std::vector<std::string>{"DualFace\t6"});

    // The colour runs and the index runs read back element by element.
    const std::string edgeColors = LinesOf(lines, "EdgeColors")[0];
    char expected[64];
    std::snprintf(expected, sizeof expected, "EdgeColors\t3 0x%06x\t1 0xff0000\t8 0x%06x", ColorToRGB(defaultEdge),
                  ColorToRGB(defaultEdge));
    EXPECT_EQ(edgeColors, expected);
    const int alphaAt = FirstLineOf(lines, "Alpha");
    EXPECT_EQ(SplitWords(lines[size_t(alphaAt) + 1]), std::vector<std::string>{"3-4"});
    EXPECT_EQ(SplitWords(lines[size_t(alphaAt) + 3]), std::vector<std::string>{"0-2"});
}

TEST_F(SceneFileTest, TokenTableHolesAndTheEdgesToken)
{
    for (const int id : {59, 65, 96, 143, 200, -1})
    {
        EXPECT_EQ(GetSceneTokenName(id), nullptr) << id;
        if (id >= 0 && id < kNumSceneTokens)
        {
            EXPECT_STREQ(SceneStreamTokenName(id), "") << id;
        }
    }
    EXPECT_STREQ(GetSceneTokenName(0), "EndScene");
    EXPECT_STREQ(GetSceneTokenName(56), "Header");
    EXPECT_STREQ(GetSceneTokenName(111), "Edges");
    EXPECT_STREQ(GetSceneTokenName(142), "Link");

    // Tokens after a hole are found by name when read.
    const std::string path = Path("holes.orva");
    {
        ioFilePtr f = ioOpenWrite(path.c_str(), kSceneMagic, 8, 10, kIoAscii, SceneStreamTokenName,
                                  SceneStreamMessage, nullptr);
        for (const int token : {kTokZoom2D, kTokImage, kTokUN, kTokLink})
        {
            ioWriteToken(f.get(), token, 0);
            ioPrintf(f.get(), "\n");
        }
    }
    ioFilePtr f = ioOpenRead(path.c_str(), kSceneMagic, 8, 10, SceneStreamTokenName, SceneStreamMessage);
    for (const int token : {kTokZoom2D, kTokImage, kTokUN, kTokLink})
        EXPECT_EQ(ioReadToken(f.get()), token);

    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    poly.mEdges[0].mFlags |= Edge::kHidden;
    const std::vector<std::string> lines = SaveAsciiLines(poly);
    EXPECT_TRUE(HasToken(lines, "HiddenEdges"));
    EXPECT_FALSE(HasToken(lines, "Edges"));
}

TEST_F(SceneFileTest, AFailedSaveKeepsTheFileItReplaces)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    const std::string path = Path("cube.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &poly, 0));
    chmod(path.c_str(), 0640);
    const std::string before = ReadFileBytes(path);

    // An enumeration value outside its table stops the writer.
    GetFacetingSettings().criterion = 7;
    for (const int mode : {kIoAscii, kIoBinary})
    {
        SCOPED_TRACE(mode);
        mScripted.services.Clear();
        EXPECT_FALSE(WriteSceneFile(path.c_str(), mode, &poly, 0));
        ASSERT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
        const std::string& text = mScripted.services.LastCall("MessageBox")->text;
        EXPECT_NE(text.find("Unknown enum value 7 (0x7)"), std::string::npos) << text;
        // Messages name the file the user chose, not the one being written.
        EXPECT_EQ(text.find(".cube.orva."), std::string::npos) << text;
        EXPECT_EQ(ReadFileBytes(path), before);
        EXPECT_EQ(FolderFiles(), std::vector<std::string>{"cube.orva"});
    }
    GetFacetingSettings().criterion = kFacetingTidy;

    // A full disk: the new file cannot grow past 512 bytes.
    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit limit{}, saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &limit);
    mScripted.services.Clear();
    const bool written = WriteSceneFile(path.c_str(), kIoAscii, &poly, 0);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_FALSE(written);
    ASSERT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mScripted.services.LastCall("MessageBox")->text.rfind("Couldn't save '" + path + "':\n", 0), 0u)
        << mScripted.services.LastCall("MessageBox")->text;
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"cube.orva"});

    // A folder that does not exist.
    mScripted.services.Clear();
    EXPECT_FALSE(WriteSceneFile(Path("missing/cube.orva").c_str(), kIoAscii, &poly, 0));
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 1);

    // A save that succeeds replaces the file and keeps its permissions.
    poly.SetComments("replaced");
    EXPECT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &poly, 0));
    EXPECT_NE(ReadFileBytes(path), before);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(FolderFiles(), std::vector<std::string>{"cube.orva"});
}

TEST_F(SceneFileTest, SavingThroughALinkReplacesTheFileItNames)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    const std::string target = Path("cube.orva");
    const std::string link = Path("link.orva");
    ASSERT_TRUE(WriteSceneFile(target.c_str(), kIoAscii, &poly, 0));
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    poly.SetComments("through the link");
    ASSERT_TRUE(WriteSceneFile(link.c_str(), kIoAscii, &poly, 0));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(HasToken(SplitLines(ReadFileBytes(target)), "Comments"));
}

TEST_F(SceneFileTest, OlderVersionsKeepTheirOwnItems)
{
    mHost.views = {View2D(kViewTypeStelDiagram)};
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    poly.SetLink("http://example.org/cube");
    poly.SetComments("six squares");

    const std::vector<std::string> lines = SplitLines(
        WriteAscii([&](ioFile* f) { EXPECT_TRUE(WriteScene(f, "", 0, &poly, 0)); }, 2, 5));
    EXPECT_TRUE(HasToken(lines, "Scale2D"));
    EXPECT_TRUE(HasToken(lines, "ScrollPos"));
    EXPECT_FALSE(HasToken(lines, "Zoom2D"));
    EXPECT_FALSE(HasToken(lines, "ScrollPosMiddle"));
    // 300 pixels high at a zoom of 0.5; the scroll position in pixels.
    EXPECT_EQ(LinesOf(lines, "Scale2D"), std::vector<std::string>{"Scale2D\t150"});
    EXPECT_EQ(LinesOf(lines, "ScrollPos"), std::vector<std::string>{"ScrollPos\t100\t50"});
    // Link and comments follow the model in the body; the header holds the name alone.
    const int scaleAt = FirstLineOf(lines, "Scale");
    EXPECT_GT(FirstLineOf(lines, "Link"), scaleAt);
    EXPECT_GT(FirstLineOf(lines, "Comments"), scaleAt);
    EXPECT_FALSE(HasToken(lines, "DualName"));
    EXPECT_FALSE(HasToken(lines, "NumFaces"));
    EXPECT_FALSE(HasToken(lines, "CurrentIsDual"));
    EXPECT_FALSE(HasToken(lines, "BaseFace"));

    // BINARY of that version has no blocks: the scene's items follow the version.
    const std::string path = Path("old.orva");
    {
        ioFilePtr f = ioOpenWrite(path.c_str(), kSceneMagic, 2, 5, kIoBinary, SceneStreamTokenName,
                                  SceneStreamMessage, nullptr);
        EXPECT_TRUE(WriteScene(f.get(), path.c_str(), 0, &poly, 0));
    }
    const std::string bytes = ReadFileBytes(path);
    const std::string head = "Orvane BINARY ";
    ASSERT_GT(bytes.size(), head.size() + 6);
    ByteReader r(reinterpret_cast<const uint8_t*>(bytes.data()) + head.size(), bytes.size() - head.size());
    EXPECT_EQ(r.Short(), 2);
    EXPECT_EQ(r.Short(), 5);
    EXPECT_EQ(r.Short(), kTokScene);
}

TEST_F(SceneFileTest, InMemoryScenesCarryNoComments)
{
    mHost.hasActivePane = true;
    mHost.activeTitle = "Cube";
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    MemBlock block;
    ASSERT_TRUE(WriteSceneToBuffer(nullptr, &poly, 0, block));
    ASSERT_GT(block.mSize, 6);
    ByteReader r(block.mData, size_t(block.mSize));
    EXPECT_EQ(r.Short(), 8);
    EXPECT_EQ(r.Short(), 10);
    EXPECT_EQ(r.Short(), kTokScene);
    const std::string bytes(reinterpret_cast<const char*>(block.mData), size_t(block.mSize));
    EXPECT_EQ(bytes.find("Orvane"), std::string::npos);
    EXPECT_EQ(bytes.find("Generated"), std::string::npos);
    EXPECT_NE(bytes.find("Cube"), std::string::npos);
}

TEST_F(SceneFileTest, DrawnFacetsKeepEveryDigit)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    const std::vector<Vec3D> facet = {{1.0 / 3.0, 0.1, std::sqrt(2.0)}, {-2.0 / 7.0, 0.3, 0.5}, {0.0, -1.0 / 9.0, 0.25}};
    for (int polygon = 0; polygon < 2; ++polygon)
    {
        Polygon3D* current = poly.mCurrentDrawnPolygon;
        ASSERT_NE(current, nullptr);
        for (const Vec3D& p : facet)
            AddRingVert(0.0, 0.0, nullptr, &p, current->mRing);
        current->Prepare();
        if (polygon == 0)
            poly.CloseDrawnPolygon(false, false);
    }
    const std::vector<std::string> lines = SaveAsciiLines(poly);
    const std::vector<std::string> closed = LinesOf(lines, "Facet");
    const std::vector<std::string> open = LinesOf(lines, "PartialFacet");
    ASSERT_EQ(closed.size(), 1u);
    ASSERT_EQ(open.size(), 1u);
    for (const std::string& line : {closed[0], open[0]})
    {
        const std::vector<std::string> words = SplitWords(line);
        ASSERT_EQ(words.size(), 11u) << line;
        EXPECT_EQ(words[1], "3");
        for (size_t k = 0; k < facet.size(); ++k)
        {
            EXPECT_EQ(std::strtod(words[2 + 3 * k].c_str(), nullptr), facet[k].x);
            EXPECT_EQ(std::strtod(words[3 + 3 * k].c_str(), nullptr), facet[k].y);
            EXPECT_EQ(std::strtod(words[4 + 3 * k].c_str(), nullptr), facet[k].z);
        }
    }
}

TEST_F(SceneFileTest, FourDimensionalModelsAreRefused)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    poly.mFlags |= Poly::kIs4D;
    const std::string path = Path("tope.orva");
    EXPECT_FALSE(WriteSceneFile(path.c_str(), kIoBinary, &poly, 0));
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 1);
    EXPECT_TRUE(FolderFiles().empty());
    MemBlock block;
    EXPECT_FALSE(WriteSceneToBuffer(nullptr, &poly, 0, block));
    EXPECT_EQ(block.mSize, 0);
}

TEST_F(SceneFileTest, FacesWithoutCornersKeepTheirPlanesInAscii)
{
    // A cube with a face of no corners: the plane z = 2, given by its point nearest the centre.
    std::vector<Vec3D> verts = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    std::vector<std::vector<int>> faces = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                           {2, 3, 7, 6}, {1, 2, 6, 5}, {0, 4, 7, 3}, {}};
    std::unique_ptr<SimplePoly> simple = MakeFacedPoly(verts, faces);
    simple->mFaces[6].SetNumVerts(0);
    simple->mFaces[6].mNormal = Vec3D{0, 0, 2};
    Poly poly;
    ASSERT_TRUE(CreatePoly(simple.get(), &poly, false, false));
    ASSERT_EQ(poly.mFaces.mCount, 7);
    const std::vector<std::string> lines = SaveAsciiLines(poly);
    const int at = FirstLineOf(lines, "EmptyFaceNormals");
    ASSERT_GT(at, 0);
    const std::vector<std::string> words = SplitWords(lines[size_t(at) + 1]);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0], "0");
    const FaceVert* empty = nullptr;
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        if (f->mNumSides == 0)
            empty = f;
    ASSERT_NE(empty, nullptr);
    EXPECT_NEAR(std::strtod(words[1].c_str(), nullptr), empty->mCentre.x, 1e-12);
    EXPECT_NEAR(std::strtod(words[2].c_str(), nullptr), empty->mCentre.y, 1e-12);
    EXPECT_NEAR(std::strtod(words[3].c_str(), nullptr), empty->mCentre.z, 1e-12);
    EXPECT_GT(Vec3Length(empty->mCentre), 1e-3);
}

namespace
{
std::vector<Vec3D> SortedPositions(const SimplePoly& model)
{
    std::vector<Vec3D> points;
    for (int i = 0; i < model.mNumVerts; ++i)
        points.push_back(model.mVerts[i].mPos);
    std::sort(points.begin(), points.end(), [](const Vec3D& a, const Vec3D& b) {
        return a.x != b.x ? a.x < b.x : a.y != b.y ? a.y < b.y : a.z < b.z;
    });
    return points;
}

// A model file read for another use than becoming the model: the file's settings stay out.
TEST_F(SceneFileTest, AModelFileReadAsidePlainModelLeavesTheSettingsAlone)
{
    Poly cube;
    PolyTemplate templ;
    BuildLibraryModel(cube, templ, "4.4.4");
    std::unique_ptr<SimplePoly> saved = cube.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    ASSERT_TRUE(saved);
    GetUnitSettings().mNetSpacing = 1234;
    GetUnitSettings().mColorPagesMode = kSingleColorPages;
    GetSceneParameters().sliceMatrix.At(0, 3) = 0.25;
    const std::string path = Path("cube.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoBinary, &cube, 0))
        << (mScripted.services.LastCall() ? mScripted.services.LastCall()->text : std::string());

    // Other settings in force when it is read.
    GetUnitSettings().mNetSpacing = 99;
    GetUnitSettings().mColorPagesMode = kMultiColorPages;
    GetSceneParameters().sliceMatrix.At(0, 3) = 0.0;
    const double scale = GetUnitSettings().GetScale();

    std::unique_ptr<SimplePoly> base = ReadModelSimplePoly(path.c_str(), false);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->mNumVerts, 8);
    EXPECT_EQ(base->mNumFaces, 6);
    const std::vector<Vec3D> expected = SortedPositions(*saved);
    const std::vector<Vec3D> read = SortedPositions(*base);
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i)
        EXPECT_LT(Vec3Distance(read[i], expected[i]), 1e-12) << i;
    std::unique_ptr<SimplePoly> dual = ReadModelSimplePoly(path.c_str(), true);
    ASSERT_TRUE(dual);
    EXPECT_EQ(dual->mNumVerts, 6);
    EXPECT_EQ(dual->mNumFaces, 8);

    EXPECT_EQ(GetUnitSettings().mNetSpacing, 99);
    EXPECT_EQ(GetUnitSettings().mColorPagesMode, kMultiColorPages);
    EXPECT_EQ(GetSceneParameters().sliceMatrix.At(0, 3), 0.0);
    EXPECT_EQ(GetUnitSettings().GetScale(), scale);
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);

    // A library entry held in the file gives the same model.
    LibraryEntry* entry = CreateFileEntry(path.c_str());
    std::unique_ptr<SimplePoly> fromEntry = LibraryEntry::CreatePoly(entry, true);
    entry->FreeStrings();
    delete entry;
    ASSERT_TRUE(fromEntry);
    EXPECT_EQ(fromEntry->mNumVerts, 6);
    EXPECT_EQ(fromEntry->mNumFaces, 8);

    // Missing and damaged files give nothing, after one message each.
    EXPECT_EQ(ReadModelSimplePoly(Path("missing.orva").c_str(), false), nullptr);
    const std::string damaged = Path("damaged.orva");
    std::ofstream(damaged, std::ios::binary) << "Orvane BINARY 8.10 not a scene";
    EXPECT_EQ(ReadModelSimplePoly(damaged.c_str(), false), nullptr);
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 2);
    EXPECT_EQ(GetUnitSettings().mNetSpacing, 99);
}
}  // namespace
