// What the net panes ask the scene drawer for, recorded: folds once and cuts twice, dashes on
// reflex folds, hidden and kit facelets left out, copies sharing their layout, labels, selection.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Net.h"
#include "model/ElementDisplayOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
class NetDrawingTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        mMaxFaces = GetUnitSettings().mMaxFacesPerNet;
        mMethod = GetUnitSettings().mCoincEdgeMethod;
        mPages = GetUnitSettings().mColorPagesMode;
        mEdgeData = GetUnitSettings().mNetEdgeData;
        mRender = GetRenderSettings();
        mDisplay = GetElementDisplayOptions();
        GetUnitSettings().mMaxFacesPerNet = 1000000;
        GetUnitSettings().mCoincEdgeMethod = kCoincInternalSupport;
        GetUnitSettings().mColorPagesMode = kMultiColorPages;
        GetUnitSettings().mNetEdgeData = 0;
    }
    void TearDown() override
    {
        GetUnitSettings().mMaxFacesPerNet = mMaxFaces;
        GetUnitSettings().mCoincEdgeMethod = mMethod;
        GetUnitSettings().mColorPagesMode = mPages;
        GetUnitSettings().mNetEdgeData = mEdgeData;
        GetRenderSettings() = mRender;
        GetElementDisplayOptions() = mDisplay;
        LibraryStateTest::TearDown();
    }

    struct Built
    {
        std::unique_ptr<RowModel> row;
        std::unique_ptr<Model3D> mesh;
    };
    Built Build(const char* name, bool nets = true)
    {
        Built b;
        b.row = OpenRow(*FindLibraryEntry(name, nullptr, false));
        b.mesh = Model3D::CreateFromPoly(&b.row->poly, false);
        if (nets)
            b.mesh->CreateNets();
        return b;
    }

    ScopedScriptedServices mScripted;
    RecordingSceneDrawer mDrawer;

private:
    int mMaxFaces = 0, mMethod = 0, mPages = 0, mEdgeData = 0;
    RenderSettings mRender;
    ElementDisplayOptions mDisplay;
};

// The stipple in force for each line drawn, in order.
std::vector<int> LineStipples(const RecordingSceneDrawer& drawer)
{
    std::vector<int> stipples;
    int current = 0;
    for (const auto& call : drawer.calls)
    {
        if (call.name == "SetLineStipple")
            current = int(call.values[0]);
        else if (call.name == "Line")
            stipples.push_back(current);
    }
    return stipples;
}

std::vector<std::vector<double>> Triangles(const RecordingSceneDrawer& drawer)
{
    std::vector<std::vector<double>> corners;
    for (const auto& call : drawer.calls)
        if (call.name == "AddTriangle")
            corners.emplace_back(call.values.begin(), call.values.begin() + 9);
    return corners;
}

std::vector<std::string> Texts(const RecordingSceneDrawer& drawer)
{
    std::vector<std::string> texts;
    for (const auto& call : drawer.calls)
        if (call.name == "DrawTextAtPoint")
            texts.push_back(call.text);
    return texts;
}
}  // namespace

TEST_F(NetDrawingTest, LinesOfTheFlatNet)
{
    // The cube's one net: 24 edge slots, 5 joined folds drawn once from their parent side.
    struct Case { const char* name; double dihedral; int dashed; } const kCases[] = {
        {"all convex", -1.0, 0},
        {"one fold reflex", kPi + 0.5, 1},
        {"just within flat", kPi + 0.5e-7, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Built b = Build("Cube");
        Net* net = b.mesh->mCurrentNet;
        ASSERT_TRUE(b.mesh->HasSingleNet());
        Edge3D* fold = nullptr;
        for (Face3D* f = net->mFirstFace; f && !fold; f = f->mNextInNet)
            for (int k = 0; k < 4 && !fold; ++k)
                if (f->mEdges[size_t(k)].mFlags & kEdge3DJoined)
                    fold = &f->mEdges[size_t(k)];
        ASSERT_TRUE(fold);
        if (c.dihedral > 0)
            fold->mDihedral = fold->mNeigh->mDihedral = c.dihedral;
        RecordingSceneDrawer drawer;
        {
            ScopedSceneDrawer scope(&drawer);
            net->DrawUnfolded();
        }
        const std::vector<int> stipples = LineStipples(drawer);
        EXPECT_EQ(stipples.size(), 19u);
        EXPECT_EQ(std::count(stipples.begin(), stipples.end(), 0x0F0F), c.dashed);
        EXPECT_EQ(drawer.CountCalls("AddTriangle"), 12);
        EXPECT_EQ(drawer.lineStipple, 0);
    }
}

TEST_F(NetDrawingTest, TheModelPanesDrawEachEdgeOnceUnlessExplodedAndOnlyForcedOrUserCuts)
{
    Built b = Build("Cube");
    const auto lines = [&](double explosion, bool cuts) {
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer scope(&drawer);
        if (cuts)
            b.mesh->DrawCutEdges(explosion);
        else
            b.mesh->DrawEdges(explosion);
        std::vector<std::vector<double>> out;
        for (const auto& call : drawer.calls)
            if (call.name == "Line")
                out.push_back(call.values);
        return out;
    };
    EXPECT_EQ(lines(1.0, false).size(), 12u);
    EXPECT_EQ(lines(2.0, false).size(), 24u) << "exploded: each facelet's edges";
    // The cube's edges all may join: its net's cuts are not marked until the user cuts one.
    EXPECT_EQ(lines(1.0, true).size(), 0u);
    Edge3D* edge = nullptr;
    for (int i = 0; i < b.mesh->GetNumEdgeSlots() && !edge; ++i)
        if (b.mesh->GetEdge(i)->mFlags & kEdge3DCanonical)
            edge = b.mesh->GetEdge(i);
    ASSERT_TRUE(edge);
    edge->ToggleCut(false);
    const auto cut = lines(1.0, true);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_FLOAT_EQ(float(cut[0][7]), 0.9f);
}

TEST_F(NetDrawingTest, WhichFaceletsDrawAndWithWhatAlpha)
{
    Built b = Build("Heptagonal Prism");
    Face3D* heptagon = nullptr;
    Face3D* square = nullptr;
    for (int i = 0; i < b.mesh->GetNumFaces(); ++i)
    {
        Face3D* f = b.mesh->GetFace(i);
        (f->mType->mNumSides == 7 ? heptagon : square) = f;
    }
    ASSERT_TRUE(heptagon && square);
    const Vec3D zero{0, 0, 0};
    square->mElement->mOpacity = 0.5f;
    struct Case { const char* name; int mode; bool hidden; bool kit; bool user; int triangles; float alpha; } const kCases[] = {
        {"model", kFaceDrawModel, false, false, false, 2, 0.5f},
        {"flat net is opaque", kFaceDrawNet, false, false, false, 2, 1.0f},
        {"hidden in the model", kFaceDrawModel, true, false, false, 0, 0},
        {"hidden folded", kFaceDrawFolded, true, false, false, 0, 0},
        {"hidden flat", kFaceDrawNet, true, false, false, 2, 1.0f},
        {"user facet", kFaceDrawModel, false, false, true, 2, 1.0f},
        {"kit", kFaceDrawModel, false, true, false, 0, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        FaceVert* element = square->mElement;
        if (c.hidden)
            element->mFlags |= FaceVert::kHidden;
        if (c.user)
            square->mElement = nullptr;
        GetRenderSettings().kitStyle = c.kit;
        RecordingSceneDrawer drawer;
        {
            ScopedSceneDrawer scope(&drawer);
            square->Draw(c.mode, zero, 1.0, nullptr);
            if (c.kit)
                heptagon->Draw(c.mode, zero, 1.0, nullptr);
        }
        square->mElement = element;
        element->mFlags &= ~FaceVert::kHidden;
        GetRenderSettings().kitStyle = false;
        EXPECT_EQ(drawer.CountCalls("AddTriangle"), c.triangles);
        if (c.triangles)
        {
            EXPECT_FLOAT_EQ(float(drawer.LastCall("AddTriangle")->values[15]), c.alpha);
        }
    }
}

TEST_F(NetDrawingTest, ASphereTouchingTheFacePlaneMakesNoCircle)
{
    Built b = Build("Cube", false);
    const Face3D* f = b.mesh->GetFace(0);
    const double d = Vec3Length(f->mElement->mCentroid);
    Vec3D centre;
    double radius = -1.0;
    EXPECT_EQ(f->SphereCircle(d, centre, radius), 0);
    EXPECT_EQ(f->SphereCircle(d - 0.01, centre, radius), 0);
    ASSERT_EQ(f->SphereCircle(d + 1e-3, centre, radius), 1);
    EXPECT_NEAR(radius, std::sqrt(2 * d * 1e-3 + 1e-6), 1e-12);
    EXPECT_LT(Vec3Distance(centre, f->mElement->mCentroid), 1e-12);
}

TEST_F(NetDrawingTest, CopiesOfATypeShareTheirLayout)
{
    GetUnitSettings().mMaxFacesPerNet = 5;
    Built b = Build("Icosahedron");
    NetType* type = b.mesh->mNetTypes;
    while (type && type->mNumNets < 2)
        type = type->mNext;
    ASSERT_TRUE(type);
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticFaceletNumbers;
    std::vector<std::vector<double>> shapes[2];
    std::vector<std::string> labels[2];
    for (int i = 0; i < 2; ++i)
    {
        RecordingSceneDrawer drawer;
        ScopedSceneDrawer scope(&drawer);
        type->mNets[size_t(i)].DrawUnfolded();
        shapes[i] = Triangles(drawer);
        labels[i] = Texts(drawer);
    }
    EXPECT_EQ(shapes[0], shapes[1]);
    EXPECT_NE(labels[0], labels[1]);
}

TEST_F(NetDrawingTest, FaceletLabels)
{
    GetUnitSettings().mMaxFacesPerNet = 1;
    Built b = Build("Triangular Prism");
    struct Case { int flags; } const kCases[] = {{kDiagnosticFaceletTypeNumbers}, {0}};
    for (const Case& c : kCases)
    {
        GetElementDisplayOptions().mDiagnosticLabelFlags = c.flags;
        for (NetType* t = b.mesh->mNetTypes; t; t = t->mNext)
            for (int i = 0; i < t->mNumNets; ++i)
            {
                RecordingSceneDrawer drawer;
                ScopedSceneDrawer scope(&drawer);
                t->mNets[size_t(i)].DrawUnfolded();
                const std::vector<std::string> texts = Texts(drawer);
                if (!c.flags)
                {
                    EXPECT_TRUE(texts.empty());
                    continue;
                }
                ASSERT_EQ(texts.size(), 1u);
                EXPECT_EQ(texts[0], std::to_string(Face3DType::GetIndex(t->mNets[size_t(i)].mFirstFace->mType)));
            }
    }
}

TEST_F(NetDrawingTest, SelectingFaceletsAndEdgesNamesThem)
{
    Built b = Build("Cube");
    Face3D* f = b.mesh->GetFace(2);
    b.mesh->SelectFacelet(f);
    EXPECT_EQ(mScripted.services.statusText, "Selected facelet 2, base-face " + std::to_string(FaceVert::GetNumber(f->mElement)));
    EXPECT_EQ(b.mesh->mCurrentNet, f->mNet);
    Edge3D* e = &f->mEdges[1];
    b.mesh->SelectEdge(e);
    char expected[200];
    std::snprintf(expected, sizeof expected, "Selected edge %s", Edge3D::GetName(e));
    std::string text = expected;
    text += std::string(", neighbour ") + Edge3D::GetName(e->mNeigh) + ", dihedral angle 90.0";
    EXPECT_EQ(mScripted.services.statusText, text);
    EXPECT_EQ(b.mesh->mSelectedEdge, e);

    Built bare = Build("Cube", false);
    bare.mesh->SelectFacelet(bare.mesh->GetFace(0));
    EXPECT_EQ(bare.mesh->mCurrentNet, nullptr);
    EXPECT_EQ(bare.mesh->mSelectedFace, bare.mesh->GetFace(0));
}

TEST_F(NetDrawingTest, TheFaceOrderCorrectsADistanceSortThatPutsAHiddenFaceLast)
{
    // The flat octagonal prism seen from just above its top, near a side: the hidden side face is
    // nearer than the top by centroid, so the distance sort alone would draw it over the top.
    Built b = Build("Octagonal Prism", false);
    Face3D *top = nullptr, *bottom = nullptr, *side = nullptr;
    for (int i = 0; i < b.mesh->GetNumFaces(); ++i)
    {
        Face3D* f = b.mesh->GetFace(i);
        if (f->mType->mNumSides == 8)
            (top ? bottom : top) = f;
        else if (!side)
            side = f;
    }
    ASSERT_TRUE(top && side && bottom);
    const Vec3D axis = top->GetNormal();
    const double t = Vec3Dot(top->GetCentroid(), axis);
    Vec3D s = side->GetCentroid();
    Vec3AddScaled(s, s, -Vec3Dot(s, axis), axis);
    Vec3D eye;
    Vec3Scale(eye, s, 0.95);
    Vec3AddScaled(eye, eye, 1.1 * t, axis);
    ASSERT_TRUE(top->GetDistance(eye) > 0 && side->GetDistance(eye) < 0);
    ASSERT_LT(Vec3Distance(eye, side->GetCentroid()), Vec3Distance(eye, top->GetCentroid()));
    std::vector<Face3D*> faces{top, side, bottom};
    Model3D::SortFacesForDrawing(faces, eye);
    EXPECT_EQ(faces, (std::vector<Face3D*>{bottom, side, top}));

    // The whole model through the scene drawer: every facelet once, in the sorted order (each
    // triangle carries its facelet's normal).
    RecordingSceneDrawer drawer;
    drawer.eye = eye;
    {
        ScopedSceneDrawer scope(&drawer);
        b.mesh->DrawFaces(1.0);
    }
    std::vector<Face3D*> all;
    for (int i = 0; i < b.mesh->GetNumFaces(); ++i)
        all.push_back(b.mesh->GetFace(i));
    Model3D::SortFacesForDrawing(all, eye);
    std::vector<Vec3D> normals;
    for (const Face3D* f : all)
        for (int k = 0; k < f->mType->mNumSides - 2; ++k)
            normals.push_back(f->GetNormal());
    std::vector<Vec3D> drawn;
    for (const auto& call : drawer.calls)
        if (call.name == "AddTriangle")
            drawn.push_back(Vec3D{call.values[9], call.values[10], call.values[11]});
    ASSERT_EQ(drawn.size(), normals.size());
    for (size_t k = 0; k < drawn.size(); ++k)
        EXPECT_LT(Vec3Distance(drawn[k], normals[k]), 1e-12) << k;
}
