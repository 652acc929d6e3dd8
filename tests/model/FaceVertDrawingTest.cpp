#include "kernel/LineBatch.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/RenderSettings.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/LabelText.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace
{
// A cube with edges drawn into a recording drawer; label bits, text switch and edge width are put
// back afterwards.
struct CubeDrawing : ::testing::Test
{
    Poly poly;
    RecordingSceneDrawer drawer;
    ScopedSceneDrawer scope{&drawer};
    ElementDisplayOptions savedOptions = GetElementDisplayOptions();
    float savedEdgeWidth = GetRenderSettings().edgeWidth;

    CubeDrawing()
    {
        BuildPoly(poly, CubeSpec(), true);
        // One type per side, so that vertices qualify for labels.
        for (Stellation* side : {poly.GetFaceStellation(), poly.GetVertStellation()})
        {
            FaceType* type = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
            ElemList& list = side == poly.GetFaceStellation() ? static_cast<ElemList&>(poly.mFaces)
                                                               : static_cast<ElemList&>(poly.mVerts);
            for (FaceVert* e = list.mFirst; e; e = e->mNext)
                type->AddFace(e);
        }
    }
    ~CubeDrawing() override
    {
        GetElementDisplayOptions() = savedOptions;
        GetRenderSettings().edgeWidth = savedEdgeWidth;
    }

    std::vector<double> LastLine() const
    {
        const RecordingSceneDrawer::Call* line = drawer.LastCall("Line");
        return line ? std::vector<double>(line->values.begin(), line->values.begin() + 6) : std::vector<double>{};
    }

    std::vector<double> LineWidths() const
    {
        std::vector<double> widths;
        for (const auto& call : drawer.calls)
            if (call.name == "SetLineWidth")
                widths.push_back(call.values[0]);
        return widths;
    }
};

void ExpectColor(const ColorRGB& actual, const ColorRGB& expected)
{
    EXPECT_EQ(actual.r, expected.r);
    EXPECT_EQ(actual.g, expected.g);
    EXPECT_EQ(actual.b, expected.b);
}

FaceVert* Element(ElemList& list, int i)
{
    return list.GetNth(i);
}
}  // namespace

TEST_F(CubeDrawing, TheSelectedEdgeIsDrawnThreeTimesAsWide)
{
    GetRenderSettings().edgeWidth = 2.0f;
    drawer.lineScale = 1.5f;
    FaceVert* face = Element(poly.mFaces, 0);
    poly.mSelectedElement = face->mEdges[1];

    struct Case
    {
        int side;
        bool noWiden;
        std::vector<double> widths;
    };
    const std::vector<Case> cases = {
        {1, false, {9.0, 3.0}},  // widened, then back to width x line scale
        {1, true, {}},
        {2, false, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.side);
        drawer.calls.clear();
        {
            LineBatch batch;
            face->DrawSide(c.side, Vec3D{}, 1.0, c.noWiden, batch);
        }
        EXPECT_EQ(LineWidths(), c.widths);
        ASSERT_EQ(drawer.CountCalls("Line"), 1);
        if (!c.widths.empty())
        {
            // The wide line is a batch of its own, drawn between the two width changes.
            ASSERT_EQ(drawer.calls.size(), 4u);
            EXPECT_EQ(drawer.calls[0].name, "SetLineWidth");
            EXPECT_EQ(drawer.calls[1].name, "DrawLines");
            EXPECT_EQ(drawer.calls[3].name, "SetLineWidth");
            EXPECT_EQ(drawer.lineWidth, 3.0f);
        }
    }
}

TEST_F(CubeDrawing, BothFacesOfASideEmitTheSameLine)
{
    // Sides keyed by their edge: the second face to draw a side must repeat the first one's line.
    std::map<const Edge*, std::vector<double>> lines;
    int shared = 0;
    const Vec3D offset{0.5, 0, 0};
    for (FaceVert* face = poly.mFaces.mFirst; face; face = face->mNext)
        for (int i = 0; i < face->mNumSides; ++i)
        {
            {
                LineBatch batch;
                face->DrawSide(i, offset, 2.0, false, batch);
            }
            const std::vector<double> line = LastLine();
            ASSERT_EQ(line.size(), 6u);
            // The ends are the two corners, offset and scaled.
            const Vec3D a = face->mNeighbours[i]->mPoint;
            const Vec3D b = face->mNeighbours[(i + 1) % face->mNumSides]->mPoint;
            const double ax = 2 * (a.x + 0.5), bx = 2 * (b.x + 0.5);
            EXPECT_TRUE((line[0] == ax && line[3] == bx) || (line[0] == bx && line[3] == ax));
            auto [it, added] = lines.emplace(face->mEdges[i], line);
            if (!added)
            {
                EXPECT_EQ(it->second, line);
                ++shared;
            }
        }
    EXPECT_EQ(shared, 12);  // every edge of the cube, once from each of its faces
}

TEST_F(CubeDrawing, HalfSidesSplitAtTheMidpoint)
{
    FaceVert* face = Element(poly.mFaces, 1);  // the top face z = 1: corners 4, 5, 6, 7
    std::vector<std::vector<double>> halves;
    for (bool first : {true, false})
    {
        LineBatch batch;
        face->DrawHalfSide(1, Vec3D{}, 1.0, first, batch);
        batch.Flush();
        halves.push_back(LastLine());
    }
    // Side from corner 0 (-1, -1, 1) to corner 1 (1, -1, 1), midpoint (0, -1, 1).
    auto hasEnds = [](const std::vector<double>& line, double x0, double x1) {
        return (line[0] == x0 && line[3] == x1) || (line[0] == x1 && line[3] == x0);
    };
    EXPECT_TRUE(hasEnds(halves[0], -1.0, 0.0));
    EXPECT_TRUE(hasEnds(halves[1], 0.0, 1.0));
    EXPECT_EQ(halves[0][1], -1.0);
    EXPECT_EQ(halves[0][2], 1.0);
}

TEST_F(CubeDrawing, NumbersAreDrawnForVisibleElementsOnly)
{
    FaceVert* face = Element(poly.mFaces, 1);
    face->DrawNumber(2.0, 1.5);
    const RecordingSceneDrawer::Call* triad = drawer.LastCall("DrawAxisTriad");
    ASSERT_NE(triad, nullptr);
    EXPECT_EQ(triad->text, "2");
    // (centroid + 0.5 centre) x 2 with centroid and centre (0, 0, 1).
    EXPECT_EQ(std::vector<double>(triad->values.begin(), triad->values.begin() + 3), (std::vector<double>{0, 0, 3}));
    EXPECT_TRUE(drawer.lighting);

    drawer.calls.clear();
    face->mFlags |= FaceVert::kHidden;
    poly.mFaces.DrawNumbers(1.0, 1.0);
    EXPECT_EQ(drawer.CountCalls("DrawAxisTriad"), 5);
}

TEST_F(CubeDrawing, WhichFacesShowTheirText)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    options.mShowText = true;
    options.mDiagnosticLabelFlags = 0;
    FaceVert* face = Element(poly.mFaces, 0);
    EXPECT_FALSE(face->ShouldDrawText());  // no text anywhere
    PolyElement::SetText(face, "front");
    EXPECT_TRUE(face->ShouldDrawText());
    EXPECT_FALSE(Element(poly.mFaces, 1)->ShouldDrawText());  // others have none
    options.mDiagnosticLabelFlags = kDiagnosticFaceNumbers;
    EXPECT_TRUE(Element(poly.mFaces, 1)->ShouldDrawText());  // numbers for every face
    face->mFlags |= FaceVert::kSkipCopConcentric;
    EXPECT_FALSE(face->ShouldDrawText());
    face->mFlags &= ~FaceVert::kSkipCopConcentric;
    face->mFlags |= FaceVert::kHidden;
    EXPECT_FALSE(face->ShouldDrawText());
    options.mShowText = false;
    options.mDiagnosticLabelFlags = 0;
    face->mFlags &= ~FaceVert::kHidden;
    EXPECT_FALSE(face->ShouldDrawText());
}

TEST_F(CubeDrawing, LabelsStayWithinTheirBufferAndCloseTheirMarkup)
{
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticFaceNumbers;
    const std::string longText(3000, 'x');
    const std::string midText(300, 'y');
    struct Case
    {
        const char* name;
        std::string text;
        bool selectNeighbour;  // every member then concerns the selection
        const char* ending;
    };
    const std::vector<Case> cases = {
        {"one long text", longText, false, "</in>..."},
        {"one long text, highlighted", longText, true, "</in>..."},
        {"many medium texts", midText, false, "..."},
        {"many medium texts, highlighted", midText, true, "..."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        poly.mSelectedElement = c.selectNeighbour ? Element(poly.mVerts, 0) : nullptr;
        poly.mSelectedFace = nullptr;
        LabelText label(&poly, kDiagnosticFaceTypeNumbers, kDiagnosticFaceNumbers);
        int added = 0;
        for (FaceVert* face = poly.mFaces.mFirst; face; face = face->mNext)
        {
            PolyElement::SetText(face, c.text.c_str());
            if (c.selectNeighbour)
                poly.mSelectedFace = face;  // the member itself is the selected face
            ++added;
            if (!label.AddMember(face))
                break;
        }
        const std::string text = label.Text();
        EXPECT_LE(text.size(), LabelText::kMaxLength);
        ASSERT_GE(text.size(), 5u);
        EXPECT_EQ(text.substr(text.size() - std::string(c.ending).size()), c.ending);
        EXPECT_FALSE(label.AddMember(Element(poly.mFaces, 0)));  // an ended label takes nothing more
        EXPECT_EQ(label.Text(), text);
        // Every text that was opened is closed again.
        size_t opened = 0, closed = 0;
        for (size_t at = text.find("<in>"); at != std::string::npos; at = text.find("<in>", at + 1))
            ++opened;
        for (size_t at = text.find("</in>"); at != std::string::npos; at = text.find("</in>", at + 1))
            ++closed;
        EXPECT_EQ(opened, closed);
        EXPECT_EQ(text.find("<color") != std::string::npos, c.selectNeighbour);
        EXPECT_GE(added, 1);
    }
}

TEST_F(CubeDrawing, LabelMarkupFollowsTheSelection)
{
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticVertexNumbers | kDiagnosticVertexTypeNumbers;
    FaceVert* top = Element(poly.mFaces, 1);
    FaceVert* onTop = top->mNeighbours[0];
    FaceVert* below = Element(poly.mVerts, 0);  // (-1, -1, -1) is no corner of the top face
    PolyElement::SetText(onTop, "tip");
    {
        LabelText label(&poly, kDiagnosticVertexTypeNumbers, kDiagnosticVertexNumbers);
        label.AddMember(onTop);
        label.AddMember(below);
        const std::string expected = "1-" + std::to_string(FaceVert::GetNumber(onTop)) + ":<in>tip</in>,\n1-" +
                                     std::to_string(FaceVert::GetNumber(below));
        EXPECT_EQ(label.Text(), expected);  // nothing selected: no colour markup
    }
    poly.mSelectedElement = top;
    poly.mSelectedFace = top;
    LabelText label(&poly, kDiagnosticVertexTypeNumbers, kDiagnosticVertexNumbers);
    label.AddMember(onTop);
    label.AddMember(below);
    const std::string expected = "<color=#ffffff>1-" + std::to_string(FaceVert::GetNumber(onTop)) +
                                 ":<in>tip</in></font>,\n1-" + std::to_string(FaceVert::GetNumber(below));
    EXPECT_EQ(label.Text(), expected);
}

TEST_F(CubeDrawing, ExplodedVertexLabelsAppearOncePerFaceAround)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    options.mDiagnosticLabelFlags = kDiagnosticVertexNumbers;
    options.mSpheresAndCylinders = false;
    poly.mVerts.DrawTextLabels(&poly, 1.0, 2.0);
    EXPECT_EQ(drawer.CountCalls("DrawSceneText"), 8 * 3);
    // The vertex (1, 1, 1) is labelled at its point plus each face's centre.
    std::vector<std::vector<double>> places;
    for (const auto& call : drawer.calls)
        if (call.name == "DrawSceneText" && call.text == "7")
            places.push_back(std::vector<double>(call.values.begin() + 1, call.values.begin() + 4));
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places, (std::vector<std::vector<double>>{{1, 1, 2}, {1, 2, 1}, {2, 1, 1}}));
    EXPECT_TRUE(drawer.lighting);
    EXPECT_EQ(drawer.blendMode, 0);

    // Unexploded: one label per vertex at its point times the scale.
    drawer.calls.clear();
    poly.mVerts.DrawTextLabels(&poly, 3.0, 1.0);
    EXPECT_EQ(drawer.CountCalls("DrawSceneText"), 8);
}

TEST_F(CubeDrawing, VerticesShowWhetherTheyLieInTheDrawnPolygonsPlane)
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    FaceVert* top = Element(poly.mFaces, 1);
    FaceVert* bottom = Element(poly.mFaces, 0);
    // No facets yet: the default vertex colour.
    ExpectColor(top->mNeighbours[0]->GetDrawColor(), options.mDefaultVertColor);

    poly.mFacetTable.push_back(FacetTableEntry{});
    options.mMouseMode = kMouseModeFaceting;
    ASSERT_NE(poly.mCurrentDrawnPolygon, nullptr);
    // An empty polygon takes every vertex.
    ExpectColor(bottom->mNeighbours[0]->GetDrawColor(), ColorRGB{0.0f, 1.0f, 0.0f});
    for (int i = 0; i < 3; ++i)
        AddRingVert(0.0, 0.0, nullptr, &top->mNeighbours[i]->mPoint, poly.mCurrentDrawnPolygon->mRing);
    poly.mCurrentDrawnPolygon->Prepare();
    ExpectColor(top->mNeighbours[3]->GetDrawColor(), ColorRGB{0.0f, 1.0f, 0.0f});
    ExpectColor(bottom->mNeighbours[0]->GetDrawColor(), ColorRGB{0.8f, 0.0f, 0.0f});

    bottom->mNeighbours[2]->mFlags |= FaceVert::kHidden;
    bottom->DrawCornerPoints(Vec3D{}, 1.0);
    EXPECT_EQ(drawer.CountCalls("DrawPoints"), 3);
    const RecordingSceneDrawer::Call* material = drawer.LastCall("SetMaterialColor");
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->values, (std::vector<double>{0.8f, 0.0f, 0.0f, 1.0f}));
}

TEST_F(CubeDrawing, FacetingDiagramOfAVertex)
{
    // The vertex (-1, -1, -1) with its dual face, the plane -x - y - z = 1.
    FaceVert* v = Element(poly.mVerts, 0);
    ASSERT_EQ(v->mPoint.x, -1.0);
    v->mZAxis = Vec3D{-1, -1, -1};
    Vec3Normalize(v->mZAxis);
    v->mCentre = Vec3D{-1.0 / 3, -1.0 / 3, -1.0 / 3};
    Vec3Perpendicular(v->mXAxis, v->mZAxis);
    Vec3Normalize(v->mXAxis);
    Vec3Cross(v->mYAxis, v->mZAxis, v->mXAxis);
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticVertexNumbers;

    drawer.picking = true;
    v->DrawFacetingDiagram();
    std::vector<int> named;
    for (const auto& call : drawer.calls)
        if (call.name == "SetGLSelectionItem")
        {
            EXPECT_EQ(call.values[0], 28.0);
            named.push_back(int(call.values[1]));
        }
    EXPECT_EQ(named, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(drawer.CountCalls("DrawTextAtPoint"), 0);
    EXPECT_EQ(drawer.selectionType, -1);

    drawer.picking = false;
    drawer.calls.clear();
    v->DrawFacetingDiagram();
    EXPECT_EQ(drawer.CountCalls("DrawTextAtPoint"), 7);
    EXPECT_EQ(drawer.CountCalls("DrawPoints"), 1 + 2 * 7);
    EXPECT_EQ(drawer.pointSize, 1.0f);
    // Chords between the seven projections; the six from the opposite vertex, which projects onto
    // the centre, pass through it and take the end of the ramp.
    int throughCentre = 0;
    for (const auto& call : drawer.calls)
        if (call.name == "Line")
        {
            EXPECT_EQ(call.values[7], 1.0);  // green throughout
            EXPECT_NEAR(call.values[6] + call.values[8], 1.0, 1e-6);
            throughCentre += call.values[6] == 1.0 && call.values[8] == 0.0;
        }
    EXPECT_EQ(drawer.CountCalls("Line"), 21);
    EXPECT_GE(throughCentre, 6);
}
