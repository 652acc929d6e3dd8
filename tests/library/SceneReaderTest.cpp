// Reading scenes: round trips in the three forms, files written by hand, the versions the reader
// honours, its refusals, and damaged files of every kind.

#include "SceneTestSupport.h"

#include "SolidModels.h"

#include "kernel/ColorRGB.h"
#include "kernel/Lzrw.h"
#include "kernel/NetTabSettings.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/SceneReader.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/TemplateMatching.h"
#include "model/Vert.h"
#include "model/WatermanHull.h"
#include "stellation/FacetingSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
enum class Form
{
    Ascii,
    Binary,
    Memory
};

const char* FormName(Form form)
{
    return form == Form::Ascii ? "ASCII" : form == Form::Binary ? "BINARY" : "memory";
}

class SceneReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string folder;
        ASSERT_TRUE(GetTempFolder(folder));
        mFolder = folder + "/reading";
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        KeepLayoutWhenOpening() = false;
    }
    void TearDown() override
    {
        GetUnitSettings() = mUnits;
        GetFacetingSettings() = mFaceting;
        GetElementDisplayOptions() = mDisplay;
        GetSceneParameters() = mScene;
        GetNetTabSettings() = mTabs;
        GetLibraryCountFilter() = mFilter;
        KeepLayoutWhenOpening() = false;
        std::filesystem::remove_all(mFolder);
    }

    std::string Path(const char* name) const { return mFolder + "/" + name; }

    static void BuildLibraryModel(Poly& poly, PolyTemplate& templ, const char* symbol)
    {
        const LibraryEntry* entry = FindLibraryEntry(symbol, nullptr, false);
        ASSERT_NE(entry, nullptr) << symbol;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, entry, false)) << symbol;
    }

    // Writes the scene in the form and reads it back into the fresh model.
    bool RoundTrip(Poly& poly, Form form, Poly& read, PolyTemplate& templ, int options = 0)
    {
        if (form == Form::Memory)
        {
            MemBlock block;
            EXPECT_TRUE(WriteSceneToBuffer(nullptr, &poly, 0, block));
            return ReadSceneFile(nullptr, &read, &templ, options, nullptr, &block, nullptr);
        }
        const std::string path = Path("round.orva");
        EXPECT_TRUE(WriteSceneFile(path.c_str(), form == Form::Ascii ? kIoAscii : kIoBinary, &poly, 0));
        return ReadSceneFile(path.c_str(), &read, &templ, options, nullptr, nullptr, nullptr);
    }

    bool ReadPath(const std::string& path, Poly& poly, PolyTemplate& templ, int options = 0,
                  SceneFileInfo* info = nullptr)
    {
        return ReadSceneFile(path.c_str(), &poly, &templ, options, info, nullptr, nullptr);
    }

    std::string WriteText(const char* name, const std::string& text) const
    {
        const std::string path = Path(name);
        std::ofstream out(path, std::ios::binary);
        out << text;
        return path;
    }

    int Messages() const { return mScripted.services.CountCalls("MessageBox"); }
    std::string LastMessage() const
    {
        const ScriptedServices::Call* call = mScripted.services.LastCall("MessageBox");
        return call ? call->text : std::string();
    }

    ScopedScriptedServices mScripted;
    RecordingSceneHost mHost;
    ScopedSceneHost mHostScope{&mHost};
    std::string mFolder;

private:
    UnitSettings mUnits = GetUnitSettings();
    FacetingSettings mFaceting = GetFacetingSettings();
    ElementDisplayOptions mDisplay = GetElementDisplayOptions();
    SceneParameters mScene = GetSceneParameters();
    NetTabSettings mTabs = GetNetTabSettings();
    LibraryCountFilter mFilter = GetLibraryCountFilter();
};

uint32_t Packed(const ColorRGB& c)
{
    return ColorToRGB(c);
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameBits(const Vec3D& a, const Vec3D& b)
{
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

SceneViewState TurnedView(int type, double angle)
{
    SceneViewState view;
    view.viewType = type;
    view.is3D = true;
    const double c = std::cos(angle), s = std::sin(angle);
    view.xAxis = {c, 0.0, -s};
    view.yAxis = {0.0, 1.0, 0.0};
    view.zAxis = {s, 0.0, c};
    view.cameraPos = {3.0 * s + 0.1, 0.2, 3.0 * c};
    view.fovY = 31.25;
    view.explosionScale = 1.5;
    return view;
}

// The pentagonal prism by its builder: a library model without a template, written as "Poly".
void BuildPrism(Poly& poly, PolyTemplate& templ)
{
    const LibraryEntry* entry = FindLibraryEntry("5.4.4", nullptr, false);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, entry, false));
}

// A tetrahedron from its corners: the smallest model written as "Poly".
void BuildTetrahedron(Poly& poly)
{
    const FacedSolid solid = ConvexSolid({{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}});
    std::unique_ptr<SimplePoly> simple = MakeModel(solid);
    ASSERT_TRUE(CreatePoly(simple.get(), &poly, false, false));
    poly.SetBaseName("Tetrahedron");
}

void BuildWaterman(Poly& poly, int centre, int root)
{
    std::unique_ptr<SimplePoly> hull = CreateWatermanHull(centre, root);
    ASSERT_NE(hull, nullptr);
    ASSERT_TRUE(CreatePoly(hull.get(), &poly, false, false));
    poly.SetBaseName(("Waterman R" + std::to_string(root)).c_str());
}
}  // namespace

TEST_F(SceneReaderTest, TheIcosahedronComesBackInEveryForm)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "3.3.3.3.3");
    for (Form form : {Form::Ascii, Form::Binary, Form::Memory})
    {
        SCOPED_TRACE(FormName(form));
        PolyTemplate readTempl;
        Poly read;
        ASSERT_TRUE(RoundTrip(poly, form, read, readTempl));
        EXPECT_EQ(read.mVerts.mCount, 12);
        EXPECT_EQ(read.mNumEdges, 30);
        EXPECT_EQ(read.mFaces.mCount, 20);
        ASSERT_NE(read.GetSymGroup(), nullptr);
        EXPECT_EQ(read.GetSymGroup()->mKind, SymGroup::kIcosahedral);
        EXPECT_EQ(read.mLibraryEntry, poly.mLibraryEntry);
        EXPECT_EQ(read.mBaseName, poly.mBaseName);
        EXPECT_EQ(read.mDualName, poly.mDualName);
        EXPECT_EQ(read.GetName(), "3.3.3.3.3");
        EXPECT_EQ(Messages(), 0);
    }
}

TEST_F(SceneReaderTest, AWatermanPolyhedronComesBackFromItsVertices)
{
    Poly poly;
    BuildWaterman(poly, 0, 6);
    ASSERT_EQ(poly.mTemplate, nullptr);
    for (Form form : {Form::Ascii, Form::Binary, Form::Memory})
    {
        SCOPED_TRACE(FormName(form));
        PolyTemplate templ;
        Poly read;
        ASSERT_TRUE(RoundTrip(poly, form, read, templ));
        ASSERT_EQ(read.mVerts.mCount, poly.mVerts.mCount);
        ASSERT_EQ(read.mFaces.mCount, poly.mFaces.mCount);
        EXPECT_EQ(read.mNumEdges, poly.mNumEdges);
        EXPECT_EQ(read.mBaseName, "Waterman R6");
        // Rebuilt to circumradius 1 again, a coordinate may move by its last bit.
        double worst = 0.0;
        for (const FaceVert *a = poly.mVerts.mFirst, *b = read.mVerts.mFirst; a && b; a = a->mNext, b = b->mNext)
            worst = std::max({worst, std::fabs(a->mPoint.x - b->mPoint.x), std::fabs(a->mPoint.y - b->mPoint.y),
                              std::fabs(a->mPoint.z - b->mPoint.z)});
        EXPECT_LE(worst, 1e-14);
        for (const FaceVert *a = poly.mFaces.mFirst, *b = read.mFaces.mFirst; a && b; a = a->mNext, b = b->mNext)
            EXPECT_EQ(a->mNumSides, b->mNumSides);
    }
}

TEST_F(SceneReaderTest, TheDecoratedCubeComesBackFieldByField)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    ASSERT_EQ(poly.mFaces.mCount, 6);
    poly.GetNthFace(0)->mColor = ColorRGB{1.0f, 0.0f, 0.0f};
    poly.GetNthFace(5)->mColor = ColorRGB{0.2f, 0.4f, 0.6f};
    poly.GetNthFace(5)->mBackColor = ColorRGB{0.1f, 0.2f, 0.3f};
    poly.GetNthVert(3)->mColor = ColorRGB{0.0f, 1.0f, 0.0f};
    for (int f = 0; f < 3; ++f)
        poly.GetNthFace(f)->SetOpacity(0.5f);
    poly.GetNthFace(4)->SetOpacity(0.25f);
    poly.GetNthFace(2)->mFlags |= FaceVert::kHidden;
    poly.GetNthFace(4)->mFlags |= FaceVert::kSmooth;
    PolyElement::SetText(poly.GetNthFace(1), "front \"face\"");
    PolyElement::SetText(poly.GetNthVert(2), "corner");
    PolyElement::SetText(&poly.mEdges[7], "seam");
    poly.mEdges[3].mColor = ColorRGB{0.0f, 0.0f, 1.0f};
    poly.mEdges[5].mFlags |= Edge::kHidden;
    poly.GetFaceStellation()->SetSelectedFace(poly.GetNthFace(4));
    poly.GetVertStellation()->SetSelectedFace(poly.GetNthVert(6));
    const std::vector<Vec3D> facets[2] = {{{1.0 / 3.0, 0.1, 0.5}, {-2.0 / 7.0, 0.3, 0.5}, {0.0, -1.0 / 9.0, 0.5}},
                                          {{0.5, 0.5, -0.5}, {-0.5, 0.5, -0.5}, {0.0, -0.5, -0.5}}};
    for (const std::vector<Vec3D>& facet : facets)
    {
        for (const Vec3D& p : facet)
            AddRingVert(0.0, 0.0, nullptr, &p, poly.mCurrentDrawnPolygon->mRing);
        poly.mCurrentDrawnPolygon->Prepare();
        poly.CloseDrawnPolygon(false, false);
    }
    poly.mShowDual = true;

    mHost.layout = true;
    mHost.views = {TurnedView(kViewTypePoly, 0.3), TurnedView(kViewTypeDual, -1.1), TurnedView(kViewTypeCompound, 2.0)};
    const std::vector<SceneViewState> written = mHost.views;
    SceneParameters& scene = GetSceneParameters();
    scene.morphRatio = 0.125;
    scene.foldRatio = 0.75;
    scene.shrink4D = 0.4;
    scene.netShrink4D = 0.9;
    scene.sliceRatio = 0.3;
    scene.sliceSameAsProj = true;
    scene.sliceMatrix.At(0, 1) = 0.25;
    UnitSettings& units = GetUnitSettings();
    units.mMaxFacesPerNet = 37;
    units.mCoincEdgeMethod = kCoincUnconnected;
    units.mColorPagesMode = kSingleColorPages;
    units.mNetSpacing = 700;
    units.mPrintDashedLines = true;
    units.mPrintCellLines = 1;
    units.mNumExtraNets = 3;
    units.mPrintGivenNumNets = true;
    units.mNumNetsToPrint = 5;
    units.mPrintShading = kPrintShadingGreyscale;
    units.mPrintShadeMax = 0.5f;
    FacetingSettings& faceting = GetFacetingSettings();
    faceting.criterion = kFacetingIsohedral;
    faceting.minFacets = 2;
    faceting.maxFacets = 9;
    faceting.options = kFacetingPartialOK | kFacetingSpikyOnly;
    const UnitSettings savedUnits = units;
    const SceneParameters savedScene = scene;
    const FacetingSettings savedFaceting = faceting;

    for (Form form : {Form::Ascii, Form::Binary, Form::Memory})
    {
        SCOPED_TRACE(FormName(form));
        mHost.views = written;
        GetSceneParameters() = savedScene;
        GetUnitSettings() = savedUnits;
        GetFacetingSettings() = savedFaceting;
        PolyTemplate readTempl;
        Poly read;
        {
            MemBlock block;
            const std::string path = Path("cube.orva");
            if (form == Form::Memory)
                ASSERT_TRUE(WriteSceneToBuffer(nullptr, &poly, 0, block));
            else
                ASSERT_TRUE(WriteSceneFile(path.c_str(), form == Form::Ascii ? kIoAscii : kIoBinary, &poly, 0));
            // Everything the file holds is set to another value before it is read.
            GetSceneParameters() = SceneParameters();
            GetUnitSettings() = UnitSettings(true);
            GetFacetingSettings() = FacetingSettings();
            mHost.views = {SceneViewState(), SceneViewState(), SceneViewState()};
            ASSERT_TRUE(ReadSceneFile(form == Form::Memory ? nullptr : path.c_str(), &read, &readTempl, 0, nullptr,
                                      form == Form::Memory ? &block : nullptr, nullptr));
        }
        EXPECT_EQ(Messages(), 0) << LastMessage();
        ASSERT_EQ(read.mFaces.mCount, 6);
        ASSERT_EQ(read.mEdges.count, 12);
        EXPECT_TRUE(read.mShowDual);
        for (int f = 0; f < 6; ++f)
        {
            SCOPED_TRACE(f);
            const FaceVert* a = poly.GetNthFace(f);
            const FaceVert* b = read.GetNthFace(f);
            EXPECT_EQ(Packed(b->mColor), Packed(a->mColor));
            EXPECT_EQ(Packed(b->mBackColor), Packed(a->mBackColor));
            EXPECT_EQ(b->mOpacity, a->mOpacity);
            EXPECT_EQ(b->mFlags & (FaceVert::kHidden | FaceVert::kSmooth), a->mFlags & (FaceVert::kHidden | FaceVert::kSmooth));
            EXPECT_EQ(b->mText, a->mText);
        }
        for (int v = 0; v < 8; ++v)
        {
            EXPECT_EQ(Packed(read.GetNthVert(v)->mColor), Packed(poly.GetNthVert(v)->mColor)) << v;
            EXPECT_EQ(read.GetNthVert(v)->mText, poly.GetNthVert(v)->mText) << v;
        }
        for (int e = 0; e < 12; ++e)
        {
            EXPECT_EQ(Packed(read.mEdges[e].mColor), Packed(poly.mEdges[e].mColor)) << e;
            EXPECT_EQ(read.mEdges[e].mFlags & Edge::kHidden, poly.mEdges[e].mFlags & Edge::kHidden) << e;
            EXPECT_EQ(read.mEdges[e].mText, poly.mEdges[e].mText) << e;
        }
        EXPECT_EQ(read.mFaces.mNumTranslucent, 4);
        EXPECT_EQ(FaceVert::GetIndex(read.GetFaceStellation()->GetSelectedFace()), 4);
        EXPECT_EQ(FaceVert::GetIndex(read.GetVertStellation()->GetSelectedFace()), 6);
        // Two drawn facets, then the empty polygon being drawn.
        int closed = 0;
        for (const Polygon3D* p = read.mFirstDrawnPolygon; p; p = p->mNext)
            closed += p->mRing && p != read.mCurrentDrawnPolygon ? 1 : 0;
        EXPECT_EQ(closed, 2);

        ASSERT_EQ(mHost.views.size(), written.size());
        for (size_t i = 0; i < written.size(); ++i)
        {
            SCOPED_TRACE(i);
            const SceneViewState& a = written[i];
            const SceneViewState& b = mHost.views[i];
            EXPECT_EQ(b.viewType, a.viewType);
            EXPECT_EQ(b.is3D, a.is3D);
            EXPECT_TRUE(SameBits(b.cameraPos, a.cameraPos));
            EXPECT_TRUE(SameBits(b.xAxis, a.xAxis));
            EXPECT_TRUE(SameBits(b.yAxis, a.yAxis));
            EXPECT_TRUE(SameBits(b.zAxis, a.zAxis));
            EXPECT_EQ(b.fovY, a.fovY);
            EXPECT_TRUE(SameBits(b.explosionScale, a.explosionScale));
        }
        // The cameras are the file's: no pane fits over them.
        EXPECT_GT(mHost.fitsCleared, 0);

        const SceneParameters& s = GetSceneParameters();
        EXPECT_EQ(s.morphRatio, savedScene.morphRatio);
        EXPECT_EQ(s.foldRatio, savedScene.foldRatio);
        EXPECT_EQ(s.shrink4D, savedScene.shrink4D);
        EXPECT_EQ(s.netShrink4D, savedScene.netShrink4D);
        EXPECT_EQ(s.sliceRatio, savedScene.sliceRatio);
        EXPECT_EQ(s.sliceSameAsProj, savedScene.sliceSameAsProj);
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(SameBits(s.sliceMatrix.m[i], savedScene.sliceMatrix.m[i])) << i;
        const UnitSettings& u = GetUnitSettings();
        EXPECT_EQ(u.mMaxFacesPerNet, savedUnits.mMaxFacesPerNet);
        EXPECT_EQ(u.mCoincEdgeMethod, savedUnits.mCoincEdgeMethod);
        EXPECT_EQ(u.mColorPagesMode, savedUnits.mColorPagesMode);
        EXPECT_EQ(u.mNetSpacing, savedUnits.mNetSpacing);
        EXPECT_EQ(u.mPrintDashedLines, savedUnits.mPrintDashedLines);
        EXPECT_EQ(u.mPrintCellLines, savedUnits.mPrintCellLines);
        EXPECT_EQ(u.mNumExtraNets, savedUnits.mNumExtraNets);
        EXPECT_EQ(u.mPrintGivenNumNets, savedUnits.mPrintGivenNumNets);
        EXPECT_EQ(u.mNumNetsToPrint, savedUnits.mNumNetsToPrint);
        EXPECT_EQ(u.mPrintShading, savedUnits.mPrintShading);
        EXPECT_EQ(u.mPrintShadeMax, savedUnits.mPrintShadeMax);
        EXPECT_DOUBLE_EQ(u.GetScale(), savedUnits.GetScale());
        const FacetingSettings& fs = GetFacetingSettings();
        EXPECT_EQ(fs.criterion, savedFaceting.criterion);
        EXPECT_EQ(fs.minFacets, savedFaceting.minFacets);
        EXPECT_EQ(fs.maxFacets, savedFaceting.maxFacets);
        EXPECT_EQ(fs.options, savedFaceting.options);
    }
}

TEST_F(SceneReaderTest, AHandWrittenAsciiCubeOpens)
{
    // Every coordinate as its two words, low first: 1.0 is 0x00000000 0x3ff00000.
    auto words = [](double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        char text[40];
        std::snprintf(text, sizeof text, " 0x%08x 0x%08x", unsigned(bits & 0xFFFFFFFFu), unsigned(bits >> 32));
        return std::string(text);
    };
    const int corners[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                               {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    std::string text = "Orvane ASCII 8.10\n# A cube typed by hand\nScene \"Hand cube\"\nPoly\t8\t6\n";
    for (const auto& c : corners)
        text += words(c[0]) + words(c[1]) + words(c[2]) + "\n";
    text += "# Faces\n4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 2 3 7 6\n4 1 2 6 5\n4 0 4 7 3\n";
    // The faces around each vertex, in turn.
    text += "VertexFaces\n3 0 2 5\n3 0 4 2\n3 0 3 4\n3 0 5 3\n3 1 5 2\n3 1 2 4\n3 1 4 3\n3 1 3 5\nScale\t1\n";
    const std::string path = WriteText("hand.orva", text);

    PolyTemplate templ;
    Poly poly;
    ASSERT_TRUE(ReadPath(path, poly, templ)) << LastMessage();
    EXPECT_EQ(Messages(), 0) << LastMessage();
    EXPECT_EQ(poly.mVerts.mCount, 8);
    EXPECT_EQ(poly.mNumEdges, 12);
    EXPECT_EQ(poly.mFaces.mCount, 6);
    EXPECT_EQ(poly.mBaseName, "Hand cube");
    ASSERT_NE(poly.GetSymGroup(), nullptr);
    EXPECT_EQ(poly.GetSymGroup()->mKind, SymGroup::kOctahedral);
    const double c = 1.0 / std::sqrt(3.0);
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        EXPECT_NEAR(std::fabs(v->mPoint.x), c, 1e-12);
        EXPECT_NEAR(std::fabs(v->mPoint.y), c, 1e-12);
        EXPECT_NEAR(std::fabs(v->mPoint.z), c, 1e-12);
    }
}

TEST_F(SceneReaderTest, VariationTakesTheOtherSolution)
{
    // The snub cube as its first solution, and at its variation, made as Poly > Go to Variation does.
    PolyTemplate templ;
    Poly first;
    ASSERT_TRUE(templ.Parse("4.3.3.3.3"));
    ASSERT_TRUE(first.PrepareFromTemplate(&templ, Poly::kOldStyleAxes | Poly::kDontReorderUniFaces));
    ASSERT_EQ(first.mMatchingStatus, Poly::kMatchingOpenBranches);
    PolyTemplate variedTempl;
    Poly varied;
    ASSERT_TRUE(variedTempl.Parse("4.3.3.3.3"));
    ASSERT_TRUE(varied.PrepareFromTemplate(&variedTempl, Poly::kOldStyleAxes | Poly::kDontReorderUniFaces));
    varied.mFlags &= ~(Poly::kOldStyleAxes | Poly::kDontReorderUniFaces);
    ASSERT_TRUE(TakeBranch(varied));
    ASSERT_TRUE(varied.SolveMatching());
    varied.mVariation = true;
    ASSERT_EQ(varied.mVerts.mCount, 24);
    ASSERT_EQ(varied.mFaces.mCount, 38);
    bool differs = false;
    for (const FaceVert *a = first.mVerts.mFirst, *b = varied.mVerts.mFirst; a && b; a = a->mNext, b = b->mNext)
        differs = differs || !SameBits(a->mPoint, b->mPoint);
    ASSERT_TRUE(differs);

    for (Form form : {Form::Ascii, Form::Memory})
    {
        SCOPED_TRACE(FormName(form));
        PolyTemplate readTempl;
        Poly read;
        ASSERT_TRUE(RoundTrip(varied, form, read, readTempl)) << LastMessage();
        EXPECT_TRUE(read.mVariation);
        ASSERT_EQ(read.mVerts.mCount, 24);
        for (const FaceVert *a = varied.mVerts.mFirst, *b = read.mVerts.mFirst; a && b; a = a->mNext, b = b->mNext)
            EXPECT_TRUE(SameBits(a->mPoint, b->mPoint)) << a->mIndex;
    }
}

TEST_F(SceneReaderTest, KeepLayoutLeavesThePanesButTakesTheSliceMatrix)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    mHost.layout = true;
    mHost.views = {TurnedView(kViewTypeDual, 0.5), TurnedView(kViewTypeCompound, 1.0)};
    GetSceneParameters().sliceMatrix.At(2, 3) = 0.5;
    GetSceneParameters().morphRatio = 0.9;
    const std::string path = Path("keep.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoBinary, &poly, 0));

    const std::vector<SceneViewState> panes = {TurnedView(kViewTypePoly, -0.2), TurnedView(kViewTypePoly, 0.7)};
    mHost.views = panes;
    GetSceneParameters() = SceneParameters();
    KeepLayoutWhenOpening() = true;
    PolyTemplate readTempl;
    Poly read;
    ASSERT_TRUE(ReadPath(path, read, readTempl));
    EXPECT_EQ(mHost.typesSet, 0);
    EXPECT_EQ(mHost.partsSet, 0);
    EXPECT_EQ(mHost.layoutsApplied, 0);
    EXPECT_EQ(mHost.fitsAsked + mHost.fitsCleared, 0);
    for (size_t i = 0; i < panes.size(); ++i)
    {
        EXPECT_EQ(mHost.views[i].viewType, kViewTypePoly);
        EXPECT_TRUE(SameBits(mHost.views[i].cameraPos, panes[i].cameraPos));
    }
    EXPECT_EQ(GetSceneParameters().sliceMatrix.At(2, 3), 0.5);
    EXPECT_EQ(GetSceneParameters().morphRatio, SceneParameters().morphRatio);
}

TEST_F(SceneReaderTest, OlderAndNewerVersions)
{
    PolyTemplate templ;
    Poly cube;
    BuildLibraryModel(cube, templ, "4.4.4");
    auto writeAt = [&](const char* name, int16_t major, int16_t minor, int mode) {
        const std::string path = Path(name);
        ioFilePtr f = ioOpenWrite(path.c_str(), kSceneMagic, major, minor, mode, SceneStreamTokenName,
                                  SceneStreamMessage, nullptr);
        EXPECT_TRUE(f && WriteScene(f.get(), path.c_str(), 0, &cube, 0));
        return path;
    };

    // A thousand faces a net meant no limit before 5.2.
    GetUnitSettings().mMaxFacesPerNet = 1000;
    const std::string old = writeAt("v51.orva", 5, 1, kIoAscii);
    GetUnitSettings().mMaxFacesPerNet = 50;
    {
        PolyTemplate t;
        Poly read;
        ASSERT_TRUE(ReadPath(old, read, t));
        EXPECT_EQ(GetUnitSettings().mMaxFacesPerNet, 1000000);
    }

    // Before 8.8 the net spacing held both tabs: twice the tab size comes off, never below 0.
    struct SpacingCase
    {
        int written;
        int read;
    };
    GetNetTabSettings().tabSize = 250.4;
    for (const SpacingCase c : {SpacingCase{1000, 499}, SpacingCase{300, 0}})
    {
        SCOPED_TRACE(c.written);
        GetUnitSettings().mNetSpacing = c.written;
        const std::string path = writeAt("v87.orva", 8, 7, kIoBinary);
        GetUnitSettings().mNetSpacing = 5;
        PolyTemplate t;
        Poly read;
        ASSERT_TRUE(ReadPath(path, read, t));
        EXPECT_EQ(GetUnitSettings().mNetSpacing, c.read);
    }
    EXPECT_EQ(Messages(), 0);

    // A newer minor version is read after a warning; a newer major one is refused.
    {
        PolyTemplate t;
        Poly read;
        bool failed = false;
        EXPECT_TRUE(ReadSceneFile(writeAt("v811.orva", 8, 11, kIoAscii).c_str(), &read, &t, 0, nullptr, nullptr,
                                  &failed));
        EXPECT_EQ(read.mFaces.mCount, 6);
        EXPECT_EQ(Messages(), 1);
        EXPECT_EQ(mScripted.services.LastCall("MessageBox")->caption, "Warning");
        EXPECT_TRUE(failed);
    }
    {
        PolyTemplate t;
        Poly read;
        EXPECT_FALSE(ReadPath(writeAt("v90.orva", 9, 0, kIoBinary), read, t));
        EXPECT_EQ(read.mFaces.mCount, 0);
        EXPECT_EQ(Messages(), 2);
        EXPECT_NE(LastMessage().find("newer version"), std::string::npos) << LastMessage();
    }

    // 2.5 in ASCII: the 2D pane's old items, link and comments after the model.
    mHost.layout = false;
    SceneViewState pane;
    pane.viewType = kViewTypeStelDiagram;
    pane.is3D = false;
    pane.zoom2D = 0.5f;
    pane.zoomX = pane.zoomY = 150.0f;
    pane.clientWidth = 400;
    pane.clientHeight = 300;
    pane.scrollX = 100.0f;
    pane.scrollY = 50.0f;
    mHost.views = {pane};
    cube.SetLink("http://example.org/cube");
    cube.SetComments("six squares");
    {
        const std::string path = writeAt("v25.orva", 2, 5, kIoAscii);
        mHost.views = {SceneViewState()};
        mHost.views[0].clientHeight = 300;
        PolyTemplate t;
        Poly read;
        ASSERT_TRUE(ReadPath(path, read, t)) << LastMessage();
        EXPECT_EQ(read.mFaces.mCount, 6);
        EXPECT_EQ(read.mLink, "http://example.org/cube");
        EXPECT_EQ(read.mComments, "six squares");
        EXPECT_EQ(mHost.views[0].viewType, kViewTypeStelDiagram);
        EXPECT_FLOAT_EQ(mHost.views[0].zoom2D, 0.5f);
        EXPECT_FLOAT_EQ(mHost.views[0].scrollX, 100.0f);
        EXPECT_FLOAT_EQ(mHost.views[0].scrollY, 50.0f);
    }

    // 2.5 in BINARY, made by hand: no blocks, and enumerations by their values.
    std::string bytes = "Orvane BINARY ";
    auto put = [&bytes](const void* p, size_t n) { bytes.append(static_cast<const char*>(p), n); };
    auto putShort = [&](int16_t v) { put(&v, 2); };
    auto putInt = [&](int32_t v) { put(&v, 4); };
    putShort(2);
    putShort(5);
    putShort(kTokScene);
    put("Hand cube", 10);
    putShort(kTokViewType);
    putInt(0x1900);
    putShort(kTokVertexDescription);
    put("4.4.4", 6);
    putShort(kTokScale);
    const double one = 1.0;
    put(&one, 8);
    mHost.views = {TurnedView(kViewTypeCompound, 1.0)};
    PolyTemplate t;
    Poly read;
    ASSERT_TRUE(ReadPath(WriteText("hand25.orva", bytes), read, t)) << LastMessage();
    EXPECT_EQ(read.mFaces.mCount, 6);
    EXPECT_EQ(read.mBaseName, "Hand cube");
    EXPECT_EQ(mHost.views[0].viewType, kViewTypePoly);
}

TEST_F(SceneReaderTest, AnAlphaLineSetsTheElementsOfItsRuns)
{
    PolyTemplate templ;
    Poly octahedron;
    BuildLibraryModel(octahedron, templ, "3.3.3.3");
    ASSERT_EQ(octahedron.mFaces.mCount, 8);
    const std::string path = Path("alpha.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &octahedron, 0));
    std::string text = ReadFileBytes(path);
    const size_t section = text.find("\nStellation\n");
    ASSERT_NE(section, std::string::npos);
    text.insert(section + 12, "  Alpha\t0.5\t2\n    2-3 7-7\n");
    WriteText("alpha.orva", text);

    PolyTemplate readTempl;
    Poly read;
    ASSERT_TRUE(ReadPath(path, read, readTempl)) << LastMessage();
    for (int f = 0; f < 8; ++f)
        EXPECT_EQ(read.GetNthFace(f)->mOpacity, f == 2 || f == 3 || f == 7 ? 0.5f : 1.0f) << f;
}

TEST_F(SceneReaderTest, HeaderOnlyFillsTheInfoAndAppliesNothing)
{
    Poly poly;
    BuildWaterman(poly, 2, 3);
    poly.SetDualName("Dual of R3");
    poly.SetLink("http://example.org/w");
    const int faces = poly.mFaces.mCount;
    const int edges = poly.mNumEdges;
    const int verts = poly.mVerts.mCount;
    mHost.layout = true;
    for (int mode : {kIoAscii, kIoBinary})
    {
        SCOPED_TRACE(mode);
        mHost.views = {TurnedView(kViewTypeDual, 0.4)};
        const std::string path = Path("header.orva");
        ASSERT_TRUE(WriteSceneFile(path.c_str(), mode, &poly, 0));
        GetUnitSettings().mNetSpacing = 12;
        mHost.views = {SceneViewState()};
        PolyTemplate templ;
        Poly read;
        SceneFileInfo info;
        ASSERT_TRUE(ReadPath(path, read, templ, kSceneHeaderOnly, &info));
        EXPECT_EQ(info.baseName, "Waterman R3");
        EXPECT_EQ(info.dualName, "Dual of R3");
        EXPECT_EQ(info.link, "http://example.org/w");
        EXPECT_EQ(info.numFaces, faces);
        EXPECT_EQ(info.numEdges, edges);
        EXPECT_EQ(info.numVerts, verts);
        EXPECT_EQ(info.major, 8);
        EXPECT_EQ(info.minor, 10);
        EXPECT_EQ(info.form, mode);
        EXPECT_EQ(read.mFaces.mCount, 0);
        EXPECT_TRUE(read.mBaseName.empty());
        EXPECT_EQ(GetUnitSettings().mNetSpacing, 12);
        EXPECT_EQ(mHost.typesSet, 0);
        EXPECT_EQ(mHost.readsBegun, 0);
    }
}

TEST_F(SceneReaderTest, TheLookupOfTheModelIgnoresTheChoosersCountFilter)
{
    PolyTemplate templ;
    Poly prism;
    BuildPrism(prism, templ);
    ASSERT_EQ(prism.mTemplate, nullptr);
    ASSERT_NE(prism.mLibraryEntry, nullptr);
    ASSERT_EQ(prism.mFaces.mCount, 7);
    const std::string path = Path("prism.orva");
    ASSERT_TRUE(WriteSceneFile(path.c_str(), kIoAscii, &prism, 0));
    EXPECT_NE(ReadFileBytes(path).find("\nPoly\t"), std::string::npos);

    // The chooser last looked for models of twenty faces.
    LibraryCountFilter& filter = GetLibraryCountFilter();
    filter.mMinFaces = filter.mMaxFaces = 20;
    PolyTemplate readTempl;
    Poly read;
    ASSERT_TRUE(ReadPath(path, read, readTempl));
    EXPECT_EQ(read.mLibraryEntry, prism.mLibraryEntry);
    EXPECT_EQ(read.mBaseName, prism.mBaseName);
    EXPECT_EQ(read.mLink, prism.mLink);
    EXPECT_EQ(read.GetName(), prism.GetName());
    EXPECT_EQ(GetLibraryCountFilter().mMinFaces, 20);
}

TEST_F(SceneReaderTest, FailuresAreReportedOnce)
{
    PolyTemplate templ;
    Poly cube;
    BuildLibraryModel(cube, templ, "4.4.4");
    const std::string binaryPath = Path("blocks.orva");
    ASSERT_TRUE(WriteSceneFile(binaryPath.c_str(), kIoBinary, &cube, 0));
    const std::string blocks = ReadFileBytes(binaryPath);
    // The header block's sizes and magic follow "Orvane BINARY ", the version and its token.
    const size_t sizesAt = 14 + 4 + 2;

    Poly prism;
    BuildPrism(prism, templ);
    const std::string prismPath = Path("prism.orva");
    ASSERT_TRUE(WriteSceneFile(prismPath.c_str(), kIoAscii, &prism, 0));
    std::string wrongCount = ReadFileBytes(prismPath);
    const size_t vertexFaces = wrongCount.find("# Face ordering around vertices\n");
    ASSERT_NE(vertexFaces, std::string::npos);
    // The first vertex has three faces around it.
    const size_t firstCount = wrongCount.find_first_not_of(' ', vertexFaces + 32);
    ASSERT_EQ(wrongCount[firstCount], '3');
    wrongCount[firstCount] = '4';

    struct Case
    {
        const char* name;
        std::string bytes;  // empty: no file at all
        std::string message;
    };
    std::string badMagic = blocks;
    badMagic[sizesAt + 8] ^= 0x5a;
    std::string longer = blocks;
    int32_t size = 0;
    std::memcpy(&size, longer.data() + sizesAt + 4, 4);
    ++size;
    std::memcpy(longer.data() + sizesAt + 4, &size, 4);
    // A stored size no file of this length can hold.
    std::string pastTheEnd = blocks;
    const int32_t hugeBlock = 2147483647;
    std::memcpy(pastTheEnd.data() + sizesAt, &hugeBlock, 4);
    std::string token200 = "Orvane BINARY ";
    for (int16_t v : {int16_t(8), int16_t(10), int16_t(200), int16_t(200)})
        token200.append(reinterpret_cast<const char*>(&v), 2);

    const std::string missing = Path("no such file.orva");
    std::string folder;
    ASSERT_TRUE(GetCurrentDir(folder));
    const Case kCases[] = {
        {"no scale", "Orvane ASCII 8.10\nScene \"Nothing\"\n", "Invalid .ORVA file: Scale not specified."},
        {"token 200", token200, "Illegal Orvane token (200)"},
        {"wrong face count", wrongCount, "Number of faces for vertex 0 doesn't match"},
        {"missing file", "", "File not found: " + missing + "\n\nSearched relative to: " + folder},
        {"altered magic", badMagic, "Decompression failed: corrupt"},
        {"size one too large", longer, "Decompression failed: length mismatch"},
        {"block past the end", pastTheEnd, "Failed to load file (may be corrupt)"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mScripted.services.Clear();
        const std::string path = c.bytes.empty() ? missing : WriteText("failing.orva", c.bytes);
        PolyTemplate t;
        Poly read;
        bool failed = false;
        EXPECT_FALSE(ReadSceneFile(path.c_str(), &read, &t, 0, nullptr, nullptr, &failed));
        EXPECT_TRUE(failed);
        ASSERT_EQ(Messages(), 1);
        EXPECT_EQ(mScripted.services.LastCall("MessageBox")->caption, "Error");
        EXPECT_NE(LastMessage().find(c.message), std::string::npos) << LastMessage();
        if (std::string(c.name) == "no scale")
        {
            EXPECT_EQ(LastMessage(), "'" + path + "'\nInvalid .ORVA file: Scale not specified.");
        }

        // Without messages the read fails as silently as the caller asked.
        mScripted.services.Clear();
        PolyTemplate quietTempl;
        Poly quiet;
        failed = true;
        EXPECT_FALSE(ReadSceneFile(path.c_str(), &quiet, &quietTempl, kSceneNoMessages, nullptr, nullptr, &failed));
        EXPECT_FALSE(failed);
        EXPECT_EQ(Messages(), 0);
    }
}

// Damaged files: each is refused with one message, nothing reads or writes outside what the file
// holds (this runs under AddressSanitizer in the sanitizer build), and the settings stay as they
// were.
TEST_F(SceneReaderTest, DamagedFilesAreRefusedWithOneMessage)
{
    Poly model;
    BuildTetrahedron(model);
    ASSERT_EQ(model.mTemplate, nullptr);
    PolyElement::SetText(model.GetNthFace(3), "a face");
    model.GetNthFace(1)->SetOpacity(0.5f);
    mHost.layout = true;
    mHost.views = {TurnedView(kViewTypePoly, 0.4)};
    std::string files[2];
    for (int mode : {kIoAscii, kIoBinary})
    {
        const std::string path = Path("whole.orva");
        ASSERT_TRUE(WriteSceneFile(path.c_str(), mode, &model, 0));
        files[mode] = ReadFileBytes(path);
    }
    GetUnitSettings().mNetSpacing = 321;
    GetSceneParameters().morphRatio = 0.7;

    auto expectRefused = [&](const std::string& bytes, const char* what) {
        SCOPED_TRACE(what);
        mScripted.services.Clear();
        const std::string path = WriteText("damaged.orva", bytes);
        PolyTemplate t;
        Poly read;
        const bool ok = ReadPath(path, read, t);
        EXPECT_FALSE(ok);
        EXPECT_EQ(Messages(), 1);
        EXPECT_EQ(GetUnitSettings().mNetSpacing, 321);
        EXPECT_EQ(GetSceneParameters().morphRatio, 0.7);
    };

    // Cut at every byte. A text file cut between two items after the model reads what it holds;
    // every other cut is refused.
    for (int mode : {kIoAscii, kIoBinary})
    {
        const std::string& whole = files[mode];
        // In text, up to the value of "Scale": a cut inside the number still reads as a number.
        const size_t modelEnd = mode == kIoAscii ? whole.find("\nScale\t") + 7 : whole.size();
        ASSERT_GT(modelEnd, 7u);
        for (size_t cut = 0; cut < whole.size(); ++cut)
        {
            SCOPED_TRACE(std::string(mode == kIoAscii ? "ASCII" : "BINARY") + " cut at " + std::to_string(cut));
            mScripted.services.Clear();
            GetUnitSettings().mNetSpacing = 321;
            GetSceneParameters().morphRatio = 0.7;
            const std::string path = WriteText("cut.orva", whole.substr(0, cut));
            PolyTemplate t;
            Poly read;
            const bool ok = ReadPath(path, read, t);
            if (cut < modelEnd)
            {
                ASSERT_FALSE(ok);
            }
            ASSERT_EQ(Messages(), ok ? 0 : 1);
            if (ok)
                EXPECT_EQ(read.mFaces.mCount, 4);
            else
            {
                EXPECT_EQ(GetUnitSettings().mNetSpacing, 321);
                EXPECT_EQ(GetSceneParameters().morphRatio, 0.7);
            }
        }
    }
    GetUnitSettings().mNetSpacing = 321;
    GetSceneParameters().morphRatio = 0.7;

    std::string wrongMagic = files[kIoAscii];
    wrongMagic[2] = 'X';
    expectRefused(wrongMagic, "wrong magic");
    EXPECT_NE(LastMessage().find("This is not the right kind of file"), std::string::npos) << LastMessage();

    // Counts no file could fill.
    std::string huge = "Orvane BINARY ";
    for (int16_t v : {int16_t(2), int16_t(5), int16_t(kTokPoly)})
        huge.append(reinterpret_cast<const char*>(&v), 2);
    for (int32_t v : {int32_t(2147483647), int32_t(6)})
        huge.append(reinterpret_cast<const char*>(&v), 4);
    huge.append(64, '\0');
    expectRefused(huge, "2147483647 vertices in BINARY");
    expectRefused("Orvane ASCII 8.10\nPoly\t2147483648\t6\n 0x0 0x0 0x0 0x0 0x0 0x0\nScale\t1\n",
                  "2147483648 vertices in ASCII");

    // The first face names a vertex one past the last.
    std::string pastLast = files[kIoAscii];
    const size_t faces = pastLast.find("# Faces\n") + 8;
    const size_t lineEnd = pastLast.find('\n', faces);
    const std::string firstFace = pastLast.substr(faces, lineEnd - faces);
    const size_t lastSpace = firstFace.rfind(' ');
    pastLast.replace(faces + lastSpace + 1, firstFace.size() - lastSpace - 1, "4");
    expectRefused(pastLast, "index one past the last vertex");
    EXPECT_EQ(LastMessage(), "Failed to load file (may be corrupt)");

    // The first vertex's x made a NaN: the high word 0x7ff80000.
    std::string nan = files[kIoAscii];
    const size_t polyLine = nan.find("\nPoly\t");
    const size_t vertexLine = nan.find('\n', polyLine + 1) + 1;
    const size_t highWord = nan.find("0x", nan.find("0x", vertexLine) + 2);
    nan.replace(highWord, 10, "0x7ff80000");
    expectRefused(nan, "NaN coordinate");

    // Random bytes, with and without a header of the right kind.
    std::mt19937 random(42);
    for (int round = 0; round < 40; ++round)
    {
        std::string bytes(size_t(random() % 2000), '\0');
        for (char& c : bytes)
            c = char(random());
        if (round % 3 == 1)
            bytes = "Orvane BINARY " + bytes;
        else if (round % 3 == 2)
            bytes = "Orvane ASCII 8.10\n" + bytes;
        mScripted.services.Clear();
        const std::string path = WriteText("random.orva", bytes);
        PolyTemplate t;
        Poly read;
        EXPECT_FALSE(ReadPath(path, read, t)) << round;
        EXPECT_LE(Messages(), 1) << round;
    }
}

TEST_F(SceneReaderTest, ModelOnlyTakesTheModelWithItsColoursAndNothingElse)
{
    PolyTemplate templ;
    Poly poly;
    BuildLibraryModel(poly, templ, "4.4.4");
    poly.GetNthFace(2)->mColor = ColorRGB{1.0f, 0.0f, 1.0f};
    poly.SetBaseName("Named cube");
    mHost.layout = true;
    mHost.views = {TurnedView(kViewTypeDual, 0.2)};
    GetFacetingSettings().minFacets = 4;
    MemBlock block;
    ASSERT_TRUE(WriteSceneToBuffer(nullptr, &poly, 0, block));
    GetFacetingSettings().minFacets = 1;
    mHost.views = {SceneViewState()};

    Poly read;
    PolyTemplate readTempl;
    ASSERT_TRUE(ReadSceneFile(nullptr, &read, &readTempl, kSceneModelOnly, nullptr, &block, nullptr));
    EXPECT_EQ(read.mFaces.mCount, 6);
    EXPECT_EQ(Packed(read.GetNthFace(2)->mColor), Packed(ColorRGB{1.0f, 0.0f, 1.0f}));
    EXPECT_NE(read.mBaseName, "Named cube");
    EXPECT_EQ(GetFacetingSettings().minFacets, 1);
    EXPECT_EQ(mHost.typesSet, 0);
}
