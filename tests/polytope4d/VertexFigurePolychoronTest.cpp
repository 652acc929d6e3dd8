#include "kernel/ColorRGB.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/CreatePoly.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/VertexFigurePolychoron.h"
#include "polytope4d/VertexFigureTemplate.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace
{
std::unique_ptr<Poly> BuildRow(const char* name)
{
    for (LibraryEntry& row : GetLibraryTable())
    {
        if (row.mName && std::strcmp(row.mName, name) == 0)
        {
            auto poly = std::make_unique<Poly>();
            PolyTemplate templ;
            if (!poly->CreateFromLibraryEntry(&templ, &row, false))
                return nullptr;
            return poly;
        }
    }
    return nullptr;
}

int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 700;  // every reading is later than the last: the window opens at once
}

struct Counts
{
    int v, e, f, c;
};

void ExpectCounts(const Polytope4D* p, const Counts& want)
{
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->mNumVerts, want.v);
    EXPECT_EQ(p->mNumEdges, want.e);
    EXPECT_EQ(p->mNumFaces, want.f);
    EXPECT_EQ(p->mNumCells, want.c);
    EXPECT_FALSE(p->mFlags & Polytope4D::kNotClosed);
}
}  // namespace

TEST(VertexFigurePolychoronTest, ToFractionFindsSmallDenominators)
{
    struct Case
    {
        const char* name;
        double x;
        bool ok;
        int n, d;
    };
    const Case cases[] = {
        {"whole", 3.0, true, 3, 1},
        {"five halves", 2.5, true, 5, 2},
        {"eight thirds", 8.0 / 3.0, true, 8, 3},
        {"ten thirds", 10.0 / 3.0, true, 10, 3},
        {"seven eighths", 7.0 / 8.0, true, 7, 8},
        {"pi", std::numbers::pi, false, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        int n = 0;
        int d = 0;
        EXPECT_EQ(ToFraction(c.x, n, d, 1e-7), c.ok);
        if (c.ok)
        {
            EXPECT_EQ(n, c.n);
            EXPECT_EQ(d, c.d);
        }
    }
    EXPECT_TRUE(CompareSquaredLengths(1.0, 2.0));
    EXPECT_FALSE(CompareSquaredLengths(2.0, 1.0));
}

TEST(VertexFigurePolychoronTest, CubeTemplateIsInCyclicOrderAndCopiesCleanly)
{
    ScopedScriptedServices scripted;
    Poly cube;
    BuildPoly(cube, CubeSpec(), false);
    VertexFigureTemplate templ;
    ASSERT_TRUE(templ.Build(&cube.mFaces, &cube.mVerts));
    ASSERT_EQ(templ.mVerts.size(), 8u);
    ASSERT_EQ(templ.mEdges.size(), 12u);
    ASSERT_EQ(templ.mFaces.size(), 6u);
    for (const TemplateVertex& v : templ.mVerts)
    {
        ASSERT_EQ(v.mEdges.size(), 3u);
        // Each edge shares a face with the next: a turn around the vertex. (An edge's faces are in
        // the order its last sorted vertex left them: the two ends turn opposite ways.)
        for (size_t i = 0; i < 3; ++i)
        {
            const TemplateEdge* a = v.mEdges[i];
            const TemplateEdge* b = v.mEdges[(i + 1) % 3];
            EXPECT_TRUE(a->mFaces[0] == b->mFaces[0] || a->mFaces[0] == b->mFaces[1] || a->mFaces[1] == b->mFaces[0] ||
                        a->mFaces[1] == b->mFaces[1]);
            EXPECT_TRUE(a->mEnds[0] == &v || a->mEnds[1] == &v);
        }
    }
    for (const TemplateFace& f : templ.mFaces)
    {
        ASSERT_EQ(f.mEdges.size(), 4u);
        for (size_t i = 0; i < 4; ++i)
        {
            const TemplateEdge* a = f.mEdges[i];
            const TemplateEdge* b = f.mEdges[(i + 1) % 4];
            EXPECT_TRUE(a->mEnds[0] == b->mEnds[0] || a->mEnds[0] == b->mEnds[1] || a->mEnds[1] == b->mEnds[0] ||
                        a->mEnds[1] == b->mEnds[1]);
            EXPECT_TRUE(f.mEdges[i]->mFaces[0] == &f || f.mEdges[i]->mFaces[1] == &f);
            EXPECT_EQ(f.IndexOfEdge(f.mEdges[i]), int(i));
        }
    }
    // Around a vertex through a face, and back: the step finds the neighbouring edge at the vertex.
    const TemplateVertex& v0 = templ.mVerts[0];
    TemplateFace* face = v0.mEdges[0]->mFaces[0];
    const TemplateEdge* next = v0.NextEdgeThroughFace(v0.mEdges[0], face);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(face, v0.mEdges[0]->mFaces[1]);
    EXPECT_NE(face->IndexOfEdge(next), -1);
    EXPECT_TRUE(next->mEnds[0] == &v0 || next->mEnds[1] == &v0);
    EXPECT_NE(next, v0.mEdges[0]);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);

    templ.mEdges[0].mN = 5;
    templ.mEdges[0].mD = 2;
    templ.mEdges[0].mPlaneDistance = 0.25;
    templ.mVerts[0].mFlags = TemplateVertex::kPaired;
    std::unique_ptr<LocalVertexFigure> copy = templ.MakeLocalCopy();
    EXPECT_EQ(copy->mKey, -1);
    EXPECT_EQ(copy->mNumCandidates, 0);
    EXPECT_EQ(copy->mFirstCandidate, nullptr);
    EXPECT_EQ(copy->GetBestScore(), 999999);
    EXPECT_EQ(copy->mVerts[0].mFlags, 0u);
    EXPECT_EQ(copy->mEdges[0].mN, 5);
    EXPECT_EQ(copy->mEdges[0].mD, 2);
    EXPECT_EQ(copy->mEdges[0].mPlaneDistance, 0.25);
    for (const TemplateEdge& e : copy->mEdges)
    {
        EXPECT_EQ(e.mMadeFace, nullptr);
        for (const TemplateVertex* end : e.mEnds)
            EXPECT_TRUE(end >= copy->mVerts.data() && end < copy->mVerts.data() + copy->mVerts.size());
        for (const TemplateFace* f : e.mFaces)
            EXPECT_TRUE(f >= copy->mFaces.data() && f < copy->mFaces.data() + copy->mFaces.size());
    }
    for (const TemplateVertex& v : copy->mVerts)
        for (const TemplateEdge* e : v.mEdges)
            EXPECT_TRUE(e >= copy->mEdges.data() && e < copy->mEdges.data() + copy->mEdges.size());
    for (const TemplateFace& f : copy->mFaces)
        EXPECT_EQ(f.mMadeCell, nullptr);

    auto placement = std::make_unique<VertexFigurePlacement>();
    placement->mScore = 7;
    copy->AddCandidate(std::move(placement));
    EXPECT_EQ(copy->GetBestScore(), 7);
    copy->ClearCandidates();
    EXPECT_EQ(copy->mNumCandidates, 0);
    EXPECT_EQ(copy->GetBestScore(), 999999);
}

TEST(VertexFigurePolychoronTest, MoreThanTwentyFiveEdgeClassesNeverShareOne)
{
    std::vector<TemplateVertex> verts(2);
    std::vector<TemplateFace> faces(2);
    std::vector<TemplateEdge> edges(27);
    for (size_t i = 0; i < edges.size(); ++i)
    {
        edges[i].mEnds[0] = &verts[0];
        edges[i].mEnds[1] = &verts[1];
        edges[i].mFaces[0] = &faces[0];
        edges[i].mFaces[1] = &faces[1];
        // The last edge repeats the first one's length: one class with it.
        edges[i].mLengthSq = i + 1 < edges.size() ? 1.0 + double(i) : 1.0;
    }
    EXPECT_EQ(AssignFaceClasses(edges), 26);
    std::set<int> classes;
    std::set<uint32_t> bits;
    for (size_t i = 0; i + 1 < edges.size(); ++i)
    {
        classes.insert(edges[i].mClass);
        if (edges[i].mClassBit)
            bits.insert(edges[i].mClassBit);
    }
    EXPECT_EQ(classes.size(), 26u);
    EXPECT_EQ(bits.size(), 25u) << "the flag bits hold 25 classes";
    EXPECT_EQ(edges[25].mClassBit, 0u) << "the 26th class has no bit to share";
    EXPECT_EQ(edges[26].mClass, edges[0].mClass);
}

TEST(VertexFigurePolychoronTest, RegularPolychoraGrowFromPlatonicFigures)
{
    struct Case
    {
        const char* figure;
        const char* buttons;  // the question's buttons; null when no question is expected
        int answer;
        Counts counts;
    };
    const char* const kQuestion = "More than one set of faces seems possible for this\nvertex figure.  Choose from the "
                                  "following sets:";
    const Case cases[] = {
        {"Tetrahedron", "5/2|3|4|5|Cancel", 0, {600, 1200, 720, 120}},  // the great grand stellated 120-cell
        {"Tetrahedron", "5/2|3|4|5|Cancel", 1, {5, 10, 10, 5}},
        {"Tetrahedron", "5/2|3|4|5|Cancel", 2, {16, 32, 24, 8}},
        {"Tetrahedron", "5/2|3|4|5|Cancel", 3, {600, 1200, 720, 120}},  // the 120-cell
        {"Cube", nullptr, 0, {24, 96, 96, 24}},
        {"Icosahedron", "5/2|3|Cancel", 1, {120, 720, 1200, 600}},  // the 600-cell
        {"Icosahedron", "5/2|3|Cancel", 0, {120, 720, 720, 120}},   // the great stellated 120-cell
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.figure) + " " + std::to_string(c.answer));
        std::unique_ptr<Poly> figure = BuildRow(c.figure);
        ASSERT_NE(figure, nullptr);
        ScopedScriptedServices scripted;
        if (c.buttons)
            scripted.services.PushAnswer(c.answer);
        std::unique_ptr<Polytope4D> p = CreatePolychoronFromVertexFigure(figure.get(), nullptr, 0);
        if (c.buttons)
        {
            const ScriptedServices::Call* call = scripted.services.LastCall("Question");
            ASSERT_NE(call, nullptr);
            EXPECT_EQ(call->caption, "Multiple vertex figure matches");
            EXPECT_EQ(call->text, std::string(kQuestion) + "\n[" + c.buttons + "]");
        }
        else
            EXPECT_EQ(scripted.services.CountCalls("Question"), 0);
        ExpectCounts(p.get(), c.counts);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
        if (!p)
            continue;
        p->CalcEdgeLengthRange();
        EXPECT_NEAR(p->mMinEdgeLength, p->mMaxEdgeLength, 1e-9);
        // The cells take the colours of the figure's faces.
        std::set<uint32_t> faceColors;
        for (const FaceVert* f = figure->mFaces.mFirst; f; f = f->mNext)
            faceColors.insert(ColorToRGB(f->mColor));
        for (Element4D* e = p->mFirstCell; e; e = e->next)
            EXPECT_TRUE(faceColors.count(e->mColor));
    }
}

TEST(VertexFigurePolychoronTest, TheDefaultIsTheTriangleAndCancelBuildsNothing)
{
    std::unique_ptr<Poly> tetrahedron = BuildRow("Tetrahedron");
    ASSERT_NE(tetrahedron, nullptr);
    {
        ScopedScriptedServices scripted;
        ExpectCounts(CreatePolychoronFromVertexFigure(tetrahedron.get(), nullptr, 0).get(), {5, 10, 10, 5});
    }
    {
        ScopedScriptedServices scripted;
        scripted.services.cancelUnanswered = true;
        EXPECT_EQ(CreatePolychoronFromVertexFigure(tetrahedron.get(), nullptr, 0), nullptr);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    }
    // The octahedron's triangles make the 16-cell: chosen through the name's polygon.
    std::unique_ptr<Poly> octahedron = BuildRow("Octahedron");
    ASSERT_NE(octahedron, nullptr);
    ScopedScriptedServices scripted;
    ExpectCounts(CreatePolychoronFromVertexFigure(octahedron.get(), "(3)", kPolychoronUseNameHint).get(),
                 {8, 24, 32, 16});
    EXPECT_EQ(scripted.services.CountCalls("Question"), 0);
}

TEST(VertexFigurePolychoronTest, FiguresThatCannotServeAreRefused)
{
    std::unique_ptr<Poly> octahedron = BuildRow("Octahedron");
    ASSERT_NE(octahedron, nullptr);
    PolySpec lopsided = CubeSpec();
    lopsided.verts[6] = {1.5, 1.5, 1.5};
    Poly offSphere;
    BuildPoly(offSphere, lopsided, false);
    struct Case
    {
        const char* name;
        Poly* figure;
        const char* hint;
        const char* message;
    };
    const Case cases[] = {
        {"squares round an octahedron lie flat", octahedron.get(), "(4)",
         "It does not appear possible to use this polyhedron\nas a vertex figure for a 4D polytope."},
        {"no circumcentre", &offSphere, nullptr,
         "Model does not have a circumcentre,\nso it can't be used as a vertex figure."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        EXPECT_EQ(CreatePolychoronFromVertexFigure(c.figure, c.hint, c.hint ? kPolychoronUseNameHint : 0), nullptr);
        ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
        EXPECT_NE(scripted.services.LastCall("MessageBox")->text.find(c.message), std::string::npos)
            << scripted.services.LastCall("MessageBox")->text;
    }
}

TEST(VertexFigurePolychoronTest, ACancelledGrowthLeavesAFinishedOpenPolytope)
{
    std::unique_ptr<Poly> icosahedron = BuildRow("Icosahedron");
    ASSERT_NE(icosahedron, nullptr);
    ScopedScriptedServices scripted;
    scripted.services.PushAnswer(1);
    scripted.services.cancelAtPump = 3;
    const ProgressClock previous = SetProgressClock(FakeClock);
    std::unique_ptr<Polytope4D> p = CreatePolychoronFromVertexFigure(icosahedron.get(), nullptr, 0);
    SetProgressClock(previous);
    EXPECT_FALSE(InProgress());
    EXPECT_EQ(scripted.services.waitCursorDepth, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->mFlags & Polytope4D::kNotClosed);
    EXPECT_GT(p->mNumCells, 20);
    EXPECT_LT(p->mNumCells, 600);
}

TEST(VertexFigurePolychoronTest, FiguresWithoutSymmetryGrowTheOmnitruncatedPolychora)
{
    // The irregular tetrahedra of the six polygons around a vertex, in the builder's edge order.
    struct Case
    {
        const char* name;
        int polygons[6];
        Counts counts;
    };
    const Case cases[] = {
        {"omnitruncated 5-cell", {4, 6, 6, 4, 4, 6}, {120, 240, 150, 30}},
        {"omnitruncated tesseract", {4, 6, 8, 4, 4, 6}, {384, 768, 464, 80}},
    };
    const int ones[6] = {1, 1, 1, 1, 1, 1};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        std::unique_ptr<SimplePoly> tet = CreateIrregularTetFromRatios(c.polygons, ones);
        ASSERT_NE(tet, nullptr);
        Poly figure;
        ASSERT_TRUE(CreatePoly(tet.get(), &figure, true, false));
        std::unique_ptr<Polytope4D> p = CreatePolychoronFromVertexFigure(&figure, "(4;1)", kPolychoronUseNameHint);
        ExpectCounts(p.get(), c.counts);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
        EXPECT_EQ(scripted.services.CountCalls("Question"), 0);
    }
}
