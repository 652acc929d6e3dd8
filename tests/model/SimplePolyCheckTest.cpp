#include "HullChecks.h"
#include "SolidPoints.h"

#include "kernel/Messages.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

const char* const kOddText = "Invalid model: an odd number of faces meet at some edges.\nFaces must meet in pairs.";
const char* const kCoplanarText = "WARNING: coplanar faces meet at some edges.\nThis is usually undesirable.\n\n"
                                  "Would you like to create the model anyway?";
const char* const kBusyText = "WARNING: more than two faces meet at some edges.\nTraversal of faces at edges is "
                              "therefore ambiguous.\nThis is usually undesirable.\n\nWould you like to create the "
                              "model anyway?";

std::vector<Vec3D> CubeCorners()
{
    std::vector<Vec3D> corners;
    for (int i = 0; i < 8; ++i)
        corners.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    return corners;
}

std::unique_ptr<SimplePoly> Cube()
{
    const std::vector<Vec3D> corners = CubeCorners();
    return MakeFacedPoly(corners, CubeFaces(corners));
}

// The cube without its top (z = 1).
std::unique_ptr<SimplePoly> OpenCube()
{
    const std::vector<Vec3D> corners = CubeCorners();
    std::vector<std::vector<int>> faces = CubeFaces(corners);
    faces.erase(faces.begin() + 4);
    return MakeFacedPoly(corners, faces);
}

// The cube with its top split along a diagonal into two coplanar triangles.
std::unique_ptr<SimplePoly> SplitTopCube()
{
    const std::vector<Vec3D> corners = CubeCorners();
    std::vector<std::vector<int>> faces = CubeFaces(corners);
    const std::vector<int> top = faces[4];
    faces[4] = {top[0], top[1], top[2]};
    faces.push_back({top[0], top[2], top[3]});
    return MakeFacedPoly(corners, faces);
}

// Two cubes side by side along x = y, sharing the edge x = y = 1: four faces meet there, and each
// side of one cube at that edge lies in the plane of a side of the other.
std::unique_ptr<SimplePoly> CubesSharingAnEdge()
{
    std::vector<Vec3D> corners = CubeCorners();
    std::vector<std::vector<int>> faces = CubeFaces(corners);
    std::vector<Vec3D> second;
    for (Vec3D p : CubeCorners())
        second.push_back({p.x + 2, p.y + 2, p.z});
    std::vector<int> index;
    for (const Vec3D& p : second)
    {
        int found = -1;
        for (size_t i = 0; i < corners.size(); ++i)
            if (Vec3Equal(corners[i], p, 0.0))
                found = int(i);
        if (found < 0)
        {
            found = int(corners.size());
            corners.push_back(p);
        }
        index.push_back(found);
    }
    for (const std::vector<int>& f : CubeFaces(CubeCorners()))
    {
        std::vector<int> mapped;
        for (int k : f)
            mapped.push_back(index[size_t(k)]);
        faces.push_back(mapped);
    }
    return MakeFacedPoly(corners, faces);
}

// Two tetrahedra on the edge from (0, 0, -1) to (0, 0, 1), no two of their faces in one plane.
std::unique_ptr<SimplePoly> TetrahedraSharingAnEdge()
{
    const std::vector<Vec3D> verts = {{0, 0, -1}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {-1, -0.2, 0}, {0.3, -1, 0}};
    return MakeFacedPoly(verts, {{0, 1, 2}, {0, 3, 1}, {1, 3, 2}, {0, 2, 3},
                                 {0, 1, 4}, {0, 5, 1}, {1, 5, 4}, {0, 4, 5}});
}

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}

class RenderSettingsGuard
{
public:
    RenderSettingsGuard() : mSaved(GetRenderSettings()) {}
    ~RenderSettingsGuard() { GetRenderSettings() = mSaved; }

private:
    RenderSettings mSaved;
};

std::vector<const RecordingSceneDrawer::Call*> Lines(const RecordingSceneDrawer& drawer)
{
    std::vector<const RecordingSceneDrawer::Call*> lines;
    for (const RecordingSceneDrawer::Call& c : drawer.calls)
        if (c.name == "Line")
            lines.push_back(&c);
    return lines;
}
}  // namespace

TEST(SimplePolyCheckTest, ClosedCubePassesSilently)
{
    ScopedScriptedServices scripted;
    auto cube = Cube();
    EXPECT_TRUE(P::CheckValidity(cube.get(), 0));
    EXPECT_TRUE(scripted.services.calls.empty());
    EXPECT_TRUE(cube->mFlags & P::kHasVertFaceLists);
    for (int f = 0; f < cube->mNumFaces; ++f)
        EXPECT_FALSE(cube->mFaces[f].mFlags & E::kDone);
}

TEST(SimplePolyCheckTest, ModelsWithoutFacesAreRefused)
{
    ScopedScriptedServices scripted;
    EXPECT_FALSE(P::CheckValidity(nullptr, 0));
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scripted.services.LastCall()->text, "Invalid model: there are no faces or vertices.");
    EXPECT_EQ(scripted.services.LastCall()->caption, "Error");

    auto points = MakePointPoly(CubeCorners());
    EXPECT_FALSE(P::CheckValidity(points.get(), 0));
    EXPECT_EQ(scripted.services.LastCall()->text, "Invalid model: there are no faces.");

    // Faces that are all left out count as none.
    auto cube = Cube();
    for (int f = 0; f < cube->mNumFaces; ++f)
        cube->mFaces[f].mFlags |= E::kTemp;
    cube->mFlags &= ~P::kHasVertFaceLists;
    EXPECT_FALSE(P::CheckValidity(cube.get(), 0));
    EXPECT_EQ(scripted.services.LastCall()->text, "Invalid model: there are no faces.");
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 3);
}

TEST(SimplePolyCheckTest, OpenModelIsRefusedOrReplacedByItsHull)
{
    ScopedScriptedServices scripted;
    TraceSink previous = SetTraceSink(RecordTrace);
    gTrace.clear();
    auto open = OpenCube();
    EXPECT_FALSE(P::CheckValidity(open.get(), 0));
    SetTraceSink(previous);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, kOddText);
    int lone = 0;
    for (const std::string& line : gTrace)
        lone += line.rfind("1 faces around edge between vertices ", 0) == 0;
    EXPECT_EQ(lone, 4) << "the four edges of the missing top";

    // Offered the hull and declining it, nothing changes.
    scripted.services.PushAnswer(1);
    EXPECT_FALSE(P::CheckValidity(open.get(), P::kValidityOfferHull));
    const ScriptedServices::Call* question = scripted.services.LastCall("Question");
    ASSERT_TRUE(question);
    EXPECT_EQ(question->caption, "Error");
    EXPECT_EQ(question->text, std::string(kOddText) + "\n[Create convex hull instead|Cancel]");
    EXPECT_EQ(open->mNumFaces, 5);

    // Taking it (the default button), the faces become the cube's.
    EXPECT_TRUE(P::CheckValidity(open.get(), P::kValidityOfferHull));
    EXPECT_EQ(scripted.services.CountCalls("Question"), 2);
    const HullShape shape = CheckSoundHull(*open, nullptr, kTol);
    EXPECT_EQ(shape.v, 8);
    EXPECT_EQ(shape.e, 12);
    EXPECT_EQ(shape.f, 6);
    EXPECT_TRUE(open->mFlags & P::kHasVertFaceLists);
    for (int i = 0; i < open->mNumVerts; ++i)
        EXPECT_EQ(open->mVerts[i].mNum, 3) << "vertex " << i;
    EXPECT_TRUE(P::CheckValidity(open.get(), 0)) << "the hull is a valid model";
}

TEST(SimplePolyCheckTest, UnusualEdgesAskBeforeTheModelIsMade)
{
    enum Model
    {
        kSplitTop,     // two coplanar triangles meet at an edge
        kTetrahedra,   // four faces meet at an edge
        kCubes,        // both: the cubes' sides at the shared edge lie in pairs in one plane
    };
    struct WarningCase
    {
        const char* name;
        Model model;
        uint32_t flags;
        std::vector<const char*> questions;  // in the order asked
    };
    const WarningCase kCases[] = {
        {"coplanar faces", kSplitTop, 0, {kCoplanarText}},
        {"coplanar faces, not counted", kSplitTop, P::kValidityNoCoplanarCount, {}},
        {"coplanar faces, no warning", kSplitTop, P::kValidityNoCoplanarWarning, {}},
        {"four faces at an edge", kTetrahedra, 0, {kBusyText}},
        {"four faces at an edge, flag 1", kTetrahedra, P::kValidityNoCoplanarCount, {}},
        {"four faces at an edge, flag 4", kTetrahedra, P::kValidityNoCoplanarWarning, {kBusyText}},
        {"both", kCubes, 0, {kCoplanarText, kBusyText}},
        {"both, flag 4", kCubes, P::kValidityNoCoplanarWarning, {kBusyText}},
    };
    for (const WarningCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto make = [&] {
            return c.model == kSplitTop ? SplitTopCube() : c.model == kTetrahedra ? TetrahedraSharingAnEdge()
                                                                                   : CubesSharingAnEdge();
        };
        {
            ScopedScriptedServices scripted;
            auto model = make();
            EXPECT_TRUE(P::CheckValidity(model.get(), c.flags));
            ASSERT_EQ(scripted.services.calls.size(), c.questions.size());
            for (size_t i = 0; i < c.questions.size(); ++i)
            {
                EXPECT_EQ(scripted.services.calls[i].text, c.questions[i]);
                EXPECT_EQ(scripted.services.calls[i].type & kMbButtonMask, kMbOkCancel);
            }
        }
        // Cancelling any of the questions refuses the model.
        for (size_t cancelAt = 0; cancelAt < c.questions.size(); ++cancelAt)
        {
            ScopedScriptedServices scripted;
            for (size_t i = 0; i < cancelAt; ++i)
                scripted.services.PushAnswer(kIdOk);
            scripted.services.PushAnswer(kIdCancel);
            auto model = make();
            EXPECT_FALSE(P::CheckValidity(model.get(), c.flags));
            EXPECT_EQ(scripted.services.calls.size(), cancelAt + 1);
        }
    }
}

TEST(SimplePolyCheckTest, TemporaryCornersOfLiveFaces)
{
    EXPECT_TRUE(CheckTemporaryVerts(nullptr));
    auto points = MakePointPoly(CubeCorners());
    EXPECT_TRUE(CheckTemporaryVerts(points.get()));
    auto cube = Cube();
    EXPECT_TRUE(CheckTemporaryVerts(cube.get()));
    cube->mFaces[0].GetVert(2)->mFlags |= E::kTemp;
    EXPECT_FALSE(CheckTemporaryVerts(cube.get()));
    // Only the faces that are left out use it.
    for (int f = 0; f < cube->mNumFaces; ++f)
    {
        const SimpleFace& face = cube->mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
            if (face.GetVert(k)->mFlags & E::kTemp)
                cube->mFaces[f].mFlags |= E::kTemp;
    }
    EXPECT_TRUE(CheckTemporaryVerts(cube.get()));
}

TEST(SimplePolyCheckTest, EdgeCheckDrawsProblemEdgesByKind)
{
    RenderSettingsGuard guard;
    GetRenderSettings().edgeWidth = 1.5f;
    struct DrawCase
    {
        const char* name;
        std::unique_ptr<SimplePoly> model;
        int lines;
        float r, g, b, alpha;
        uint32_t flag;
    };
    DrawCase cases[] = {
        {"closed cube", Cube(), 0, 0, 0, 0, 0, 0},
        {"open cube: one face at each edge of the hole", OpenCube(), 4, 0.5f, 1.0f, 0.5f, 0.2f, P::kDrewSingleEdges},
        {"coplanar triangles: both draw their diagonal", SplitTopCube(), 2, 0.5f, 0.0f, 1.0f, 0.1f,
         P::kDrewCoplanarEdges},
        {"four faces at an edge", TetrahedraSharingAnEdge(), 4, 1.0f, 0.2f, 0.2f, 0.05f, P::kDrewEvenEdges},
    };
    for (DrawCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingSceneDrawer drawer;
        drawer.lineScale = 2.0f;
        ScopedSceneDrawer installed(&drawer);
        const uint32_t before = c.model->mFlags | P::kHasVertFaceLists;
        c.model->DrawEdgeCheck(1.0, 3.0);
        // Unlit lines, (edge width + 2) x line scale wide; both restored.
        const RecordingSceneDrawer::Call* width = nullptr;
        for (const RecordingSceneDrawer::Call& call : drawer.calls)
            if (call.name == "SetLineWidth" && !width)
                width = &call;
        ASSERT_TRUE(width);
        EXPECT_FLOAT_EQ(float(width->values[0]), 7.0f);
        EXPECT_FLOAT_EQ(drawer.lineWidth, 1.0f);
        EXPECT_TRUE(drawer.lighting);
        ASSERT_EQ(drawer.CountCalls("DrawLines"), 1);
        const auto lines = Lines(drawer);
        ASSERT_EQ(int(lines.size()), c.lines);
        for (const auto* line : lines)
        {
            EXPECT_FLOAT_EQ(float(line->values[6]), c.r);
            EXPECT_FLOAT_EQ(float(line->values[7]), c.g);
            EXPECT_FLOAT_EQ(float(line->values[8]), c.b);
            EXPECT_FLOAT_EQ(float(line->values[9]), c.alpha);
            // The ends are the model's corners, scaled.
            for (int end = 0; end < 2; ++end)
            {
                const Vec3D at{line->values[size_t(3 * end)] / 3.0, line->values[size_t(3 * end + 1)] / 3.0,
                               line->values[size_t(3 * end + 2)] / 3.0};
                bool corner = false;
                for (int i = 0; i < c.model->mNumVerts; ++i)
                    corner = corner || Vec3Equal(at, c.model->mVerts[i].mPos, 1e-12);
                EXPECT_TRUE(corner);
            }
        }
        EXPECT_EQ(c.model->mFlags & ~before, c.flag);
    }
}

TEST(SimplePolyCheckTest, EdgeCheckOddCountsExplodeAndStereo)
{
    RenderSettingsGuard guard;
    // A fin on the cube's edge x = y = 1: three faces at that edge, one at each of the fin's others.
    std::vector<Vec3D> corners = CubeCorners();
    std::vector<std::vector<int>> faces = CubeFaces(corners);
    corners.push_back({3, 3, 0});
    faces.push_back({3, 7, 8});  // corners (1, 1, -1), (1, 1, 1) and the fin's tip
    auto finned = MakeFacedPoly(corners, faces);
    {
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer installed(&drawer);
        finned->DrawEdgeCheck(1.0, 1.0);
        int orange = 0, green = 0;
        for (const auto* line : Lines(drawer))
        {
            const float g = float(line->values[7]), alpha = float(line->values[9]);
            orange += g == 0.7f && alpha == 0.2f / 3;
            green += g == 1.0f && alpha == 0.2f;
        }
        EXPECT_EQ(Lines(drawer).size(), 5u);
        EXPECT_EQ(orange, 3) << "the fin's edge, once for each of its faces";
        EXPECT_EQ(green, 2);
        EXPECT_TRUE(finned->mFlags & P::kDrewOddEdges);
        EXPECT_TRUE(finned->mFlags & P::kDrewSingleEdges);
    }
    {
        // Exploded by 2, each face moves out by its distance from the centre: the open cube's
        // side x = 1 draws its top edge at x = 2.
        auto open = OpenCube();
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer installed(&drawer);
        open->DrawEdgeCheck(2.0, 1.0);
        const auto lines = Lines(drawer);
        ASSERT_EQ(lines.size(), 4u);
        bool movedSide = false;
        for (const auto* line : lines)
        {
            EXPECT_FLOAT_EQ(float(line->values[9]), 0.2f);
            movedSide = movedSide || (line->values[0] == 2.0 && line->values[3] == 2.0 && line->values[2] == 1.0);
        }
        EXPECT_TRUE(movedSide);
    }
    {
        // In the stereo-glasses mode the lines are white and the model's flags stay as they were.
        GetRenderSettings().renderFlags = RenderSettings::kStereoGlasses;
        auto open = OpenCube();
        const uint32_t before = open->mFlags | P::kHasVertFaceLists;
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer installed(&drawer);
        open->DrawEdgeCheck(1.0, 1.0);
        for (const auto* line : Lines(drawer))
        {
            EXPECT_EQ(line->values[6], 1.0);
            EXPECT_EQ(line->values[7], 1.0);
            EXPECT_EQ(line->values[8], 1.0);
        }
        EXPECT_EQ(Lines(drawer).size(), 4u);
        EXPECT_EQ(open->mFlags, before);
    }
}

namespace
{
// One prepared polygon per face of the model, through the face's corners.
struct FacePolygons
{
    Polygon3D* first = nullptr;
    Polygon3D* last = nullptr;
    std::vector<const Polygon3D*> byFace;

    explicit FacePolygons(const SimplePoly& model)
    {
        for (int fi = 0; fi < model.mNumFaces; ++fi)
        {
            Polygon3D* p = new Polygon3D(first, last);
            const SimpleFace& f = model.mFaces[fi];
            for (int k = 0; k < f.mNum; ++k)
                AddRingVert(0.0, 0.0, nullptr, &f.GetVert(k)->mPos, p->mRing);
            p->Prepare();
            byFace.push_back(p);
        }
    }
    ~FacePolygons() { FreePolygon3DList(first); }
};

// The index of the first call of the name at or after from; -1 when none.
int FindCall(const RecordingSceneDrawer& drawer, const std::string& name, int from = 0)
{
    for (int i = from; i < int(drawer.calls.size()); ++i)
        if (drawer.calls[size_t(i)].name == name)
            return i;
    return -1;
}
}  // namespace

TEST(SimplePolyDrawTest, FacesFillTheirPolygonsInTheirColours)
{
    auto cube = Cube();
    for (int fi = 0; fi < cube->mNumFaces; ++fi)
        cube->mFaces[fi].mColor = 0x000000ffu + uint32_t(fi) * 0x100u;  // red, green rising with the index
    FacePolygons polys(*cube);
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer installed(&drawer);
    cube->Draw(polys.byFace.data(), P::DrawOwner{}, 2.0, 3.0);

    ASSERT_EQ(drawer.CountCalls("DrawTriangles"), 6);
    int face = 0;
    for (int at = FindCall(drawer, "DrawTriangles"); at >= 0; at = FindCall(drawer, "DrawTriangles", at + 1), ++face)
    {
        // The material set last before the fill is the face's own colour.
        int material = -1;
        for (int i = 0; i < at; ++i)
            if (drawer.calls[size_t(i)].name == "SetMaterialColor")
                material = i;
        ASSERT_GE(material, 0);
        EXPECT_FLOAT_EQ(float(drawer.calls[size_t(material)].values[1]), float(face) / 255.0f);
        // Exploded by 2: each corner pushed out by the face's distance along its normal, then scaled.
        const SimpleFace& f = cube->mFaces[face];
        const std::vector<double>& v = drawer.calls[size_t(at)].values;
        ASSERT_EQ(v.size(), 6u * 3u + 4u);
        for (size_t k = 0; k + 2 < 18; k += 3)
            EXPECT_NEAR(v[k] * f.mNormal.x + v[k + 1] * f.mNormal.y + v[k + 2] * f.mNormal.z, 6.0, 1e-12);
    }
    // The edge check twice, the second time through the faces.
    const int second = FindCall(drawer, "SetBlendMode", FindCall(drawer, "DrawTriangles"));
    ASSERT_GE(second, 0);
    EXPECT_EQ(drawer.calls[size_t(second)].values[0], 2.0);
    EXPECT_EQ(drawer.blendMode, 0);
    EXPECT_TRUE(drawer.depth);
    EXPECT_TRUE(drawer.lighting);
}

TEST(SimplePolyDrawTest, TheSelectedFaceIsWhiteAndDrawnAgainOnTop)
{
    auto cube = Cube();
    FacePolygons polys(*cube);
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer installed(&drawer);
    P::DrawOwner owner;
    owner.selectedFace = 2;
    cube->Draw(polys.byFace.data(), owner, 1.0, 1.0);

    ASSERT_EQ(drawer.CountCalls("DrawTriangles"), 7);
    int last = -1;
    for (int at = FindCall(drawer, "DrawTriangles"); at >= 0; at = FindCall(drawer, "DrawTriangles", at + 1))
        last = at;
    // The repeat: unlit, white at the highlight alpha, screen door, no depth test.
    int depthOff = -1, blend = -1, material = -1;
    for (int i = 0; i < last; ++i)
    {
        const auto& call = drawer.calls[size_t(i)];
        if (call.name == "SetDepthMode" && call.values[0] == 0.0)
            depthOff = i;
        if (call.name == "SetBlendMode")
            blend = i;
        if (call.name == "SetMaterialColor")
            material = i;
    }
    ASSERT_GE(depthOff, 0);
    EXPECT_EQ(drawer.calls[size_t(blend)].values[0], 1.0);
    EXPECT_EQ(drawer.calls[size_t(material)].values, (std::vector<double>{1.0, 1.0, 1.0, 0.5}));
    // The same triangles as the face's own fill, the third.
    const int third = FindCall(drawer, "DrawTriangles", FindCall(drawer, "DrawTriangles", FindCall(drawer, "DrawTriangles") + 1) + 1);
    EXPECT_EQ(drawer.calls[size_t(last)].values, drawer.calls[size_t(third)].values);
    EXPECT_EQ(drawer.CountCalls("UseDefaultLights"), 2);
    EXPECT_EQ(drawer.CountCalls("UseRainbowLights"), 2);
    EXPECT_TRUE(drawer.lighting);
    EXPECT_TRUE(drawer.depth);
}

TEST(SimplePolyDrawTest, PickingNamesFacesOrCorners)
{
    auto cube = Cube();
    FacePolygons polys(*cube);
    struct Case
    {
        int pick;
        int kind;
        int names;
        int triangles;
    };
    for (const Case& c : {Case{P::DrawOwner::kPickFaces, 14, 6, 6}, Case{P::DrawOwner::kPickVerts, 34, 24, 0}})
    {
        SCOPED_TRACE(c.kind);
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer installed(&drawer);
        P::DrawOwner owner;
        owner.pick = c.pick;
        cube->Draw(polys.byFace.data(), owner, 1.0, 1.0);
        std::vector<int> named;
        for (const auto& call : drawer.calls)
            if (call.name == "SetGLSelectionItem")
            {
                EXPECT_EQ(call.values[0], double(c.kind));
                named.push_back(int(call.values[1]));
            }
        ASSERT_EQ(int(named.size()), c.names);
        EXPECT_EQ(drawer.CountCalls("DrawTriangles"), c.triangles);
        EXPECT_EQ(drawer.selectionType, -1);  // cleared afterwards
        if (c.pick == P::DrawOwner::kPickFaces)
        {
            EXPECT_EQ(named, (std::vector<int>{0, 1, 2, 3, 4, 5}));
        }
        else
        {
            for (int i = 0; i < 24; ++i)  // each corner names its own vertex
                EXPECT_EQ(named[size_t(i)], cube->mFaces[i / 4].GetVert(i % 4)->GetIndex());
        }
    }
}
