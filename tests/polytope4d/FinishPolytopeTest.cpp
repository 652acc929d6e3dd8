#include "Polytope4DFixtures.h"
#include "RegularPolytopes4D.h"

#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "polytope4d/Polytope4D.h"
#include "support/QhullReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
using FinishPolytopeTest = Polytope4DTestBase;

template <class Elem>
std::vector<Elem*> ListOf(Element4D* first)
{
    std::vector<Elem*> out;
    for (Element4D* e = first; e; e = e->next)
        out.push_back(static_cast<Elem*>(e));
    return out;
}

std::vector<std::string> MessageTexts(const ScriptedServices& services)
{
    std::vector<std::string> texts;
    for (const ScriptedServices::Call& call : services.calls)
    {
        if (call.kind == "MessageBox")
            texts.push_back(call.caption + ": " + call.text);
    }
    return texts;
}

template <class Type>
std::vector<int> TypeCounts(const Type* first)
{
    std::vector<int> counts;
    for (const Type* t = first; t; t = t->next)
        counts.push_back(t->mCount);
    return counts;
}

// Ring order checked against the incidences themselves: slot i of an edge's ring is a cell of both
// face i and face i + 1, and every ring slot of a closed polytope holds a cell.
void ExpectClosedRings(Polytope4D& p)
{
    for (Edge4D* edge : ListOf<Edge4D>(p.mFirstEdge))
    {
        SCOPED_TRACE("edge " + std::to_string(Edge4D::GetNumber(edge)));
        const int n = edge->mNumFaces;
        ASSERT_GE(n, 2);
        for (int i = 0; i < n; ++i)
        {
            Cell4D* cell = edge->mCells[i];
            ASSERT_NE(cell, nullptr);
            EXPECT_TRUE(cell->HasFace(edge->mFaces[i]));
            EXPECT_TRUE(cell->HasFace(edge->mFaces[(i + 1) % n]));
            EXPECT_GE(edge->mFaces[i]->IndexOfEdge(edge), 0);
        }
    }
}

// The orientation each face takes from its first cell, read off the geometry: the sign of
// det(c, cF - c, p1 - p0, p2 - p0) with c the cell's centre and cF the face's. A consistently
// oriented convex polytope (about its centre) gives every face the same sign.
std::set<int> FaceOrientationSigns(Polytope4D& p)
{
    std::set<int> signs;
    for (Face4D* face : ListOf<Face4D>(p.mFirstFace))
    {
        const Cell4D* cell = face->mCells[0];
        Vec4D centre, toFace, v1, v2, cross;
        face->GetCentre(centre);
        Vec4Sub(toFace, centre, cell->mCentre);
        Vec4Sub(v1, face->mVerts[1]->mPos, face->mVerts[0]->mPos);
        Vec4Sub(v2, face->mVerts[2]->mPos, face->mVerts[0]->mPos);
        Vec4Cross(cross, toFace, v1, v2);
        const double det = Vec4Dot(cell->mCentre, cross);
        signs.insert(det > 1e-9 ? 1 : det < -1e-9 ? -1 : 0);
    }
    return signs;
}

std::unique_ptr<Polytope4D> FromSpec(const PolytopeSpec4D& spec)
{
    auto p = std::make_unique<Polytope4D>();
    AddSpec(*p, spec);
    return p;
}
}  // namespace

TEST_F(FinishPolytopeTest, TesseractFromItsSquares)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> p = FromSpec(TesseractSpec(0.5, false));
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
    EXPECT_EQ(scripted.services.waitCursorDepth, 0);

    EXPECT_EQ(p->mNumVerts, 16);
    EXPECT_EQ(p->mNumFaces, 24);
    EXPECT_EQ(p->mNumEdges, 32);
    ASSERT_EQ(p->mNumCells, 8);
    for (Cell4D* cell : ListOf<Cell4D>(p->mFirstCell))
    {
        EXPECT_EQ(cell->mNumFaces, 6);
        EXPECT_EQ(cell->mNumEdges, 12);
        EXPECT_EQ(cell->mNumVerts, 8);
        // A cube cell lies at distance 1/2, its centre on an axis.
        EXPECT_NEAR(-cell->mPlane.d, 0.5, 1e-12);
        EXPECT_NEAR(Vec4Length(cell->mCentre), 0.5, 1e-12);
        EXPECT_NEAR(cell->mRadius, std::sqrt(0.75), 1e-12);
    }
    for (Face4D* face : ListOf<Face4D>(p->mFirstFace))
        EXPECT_EQ(face->mNumCells, 2);
    for (Edge4D* edge : ListOf<Edge4D>(p->mFirstEdge))
    {
        EXPECT_EQ(edge->mNumFaces, 3);
        EXPECT_NEAR(edge->GetLength(), 1.0, 1e-12);
    }
    for (Vert4D* vert : ListOf<Vert4D>(p->mFirstVert))
    {
        EXPECT_EQ(vert->mNumEdges, 4);
        EXPECT_EQ(vert->mNumFaces, 6);
        EXPECT_EQ(vert->mNumCells, 4);
        EXPECT_EQ(vert->mNextCoincident, nullptr);
    }
    ExpectClosedRings(*p);

    EXPECT_EQ(TypeCounts(p->mFirstCellType), std::vector<int>{8});
    EXPECT_EQ(TypeCounts(p->mFirstVertType), std::vector<int>{16});
    EXPECT_EQ(TypeCounts(p->mFirstFaceType), std::vector<int>{24});
    EXPECT_EQ(TypeCounts(p->mFirstEdgeType), std::vector<int>{32});
    EXPECT_NEAR(p->mFirstCellType->mVolume, 1.0, 1e-12);  // a unit cube

    ASSERT_EQ(p->GetNumParts(), 1);
    const Part4D* part = p->GetPart(0);
    EXPECT_EQ(part->mNumVerts, 16);
    EXPECT_EQ(part->mNumFaces, 24);
    EXPECT_EQ(part->mNumEdges, 32);
    EXPECT_EQ(part->mNumCells, 8);
    EXPECT_EQ(part->GetEulerCharacteristic(), 0);
    EXPECT_EQ(part->GetGenus(), 0);
    EXPECT_EQ(p->GetGenus(), 0);
    EXPECT_EQ(p->mFlags & (Polytope4D::kNoCellsFormed | Polytope4D::kNotClosed | Polytope4D::kNotOrientable |
                           Polytope4D::kNoFiniteDual),
              0u);
    EXPECT_EQ(FaceOrientationSigns(*p).size(), 1u);
    EXPECT_NEAR(p->mVolume, 1.0, 1e-12);
    EXPECT_NEAR(part->mVolume, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(p->mScale, 1.0);
    EXPECT_NEAR(p->mMidRadius, std::sqrt(0.5), 1e-12);

    EXPECT_EQ(p->mCurrentCell, p->GetCell(0));
    EXPECT_EQ(p->mCurrentFace, p->GetFace(0));
    EXPECT_EQ(p->mCurrentEdge, p->GetEdge(0));
    EXPECT_EQ(p->mCurrentVert, p->GetVert(0));
    for (Element4D* head : {p->mFirstVert, p->mFirstEdge, p->mFirstFace, p->mFirstCell})
        for (Element4D* e = head; e; e = e->next)
            EXPECT_EQ(e->mFlags & (Element4D::kMark | 0x10u), 0u);
}

TEST_F(FinishPolytopeTest, RegularPolytopesFromTheirTrianglesMatchPublishedCountsAndQhull)
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    struct Case
    {
        const char* name;
        std::vector<Vec4D> verts;
        double edge;
        int cells, faces, edges;
        double volume;  // at circumradius 1
        // Where more than two other faces meet a face at a side and their hyperplanes lie at
        // different distances, the farthest was chosen, and the user is told the choice was made.
        bool choseCells;
    };
    const Case cases[] = {
        {"5-cell", SimplexVerts4D(), std::sqrt(8.0), 5, 10, 10, 25.0 * std::sqrt(5.0) / 384.0, false},
        {"16-cell", CrossPolytopeVerts4D(), std::sqrt(2.0), 16, 32, 24, 2.0 / 3.0, true},
        {"24-cell", Verts24Cell(), std::sqrt(2.0), 24, 96, 96, 2.0, false},
        {"600-cell", Verts600Cell(), 1.0 / phi, 600, 1200, 720, 3.8627124, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        const PolytopeSpec4D spec = TriangleSpec4D(c.verts, c.edge, false);
        ASSERT_EQ(int(spec.faces.size()), c.faces);
        std::unique_ptr<Polytope4D> p = FromSpec(spec);
        ASSERT_TRUE(p->FinishPolytope());
        std::vector<std::string> messages;
        if (c.choseCells)
            messages.push_back("Information: Grouping of faces into cells may have been ambiguous");
        EXPECT_EQ(MessageTexts(scripted.services), messages);
        EXPECT_EQ(p->mNumVerts, int(c.verts.size()));
        EXPECT_EQ(p->mNumFaces, c.faces);
        EXPECT_EQ(p->mNumEdges, c.edges);
        EXPECT_EQ(p->mNumCells, c.cells);
        ExpectClosedRings(*p);
        EXPECT_EQ(TypeCounts(p->mFirstCellType), std::vector<int>{c.cells});
        EXPECT_EQ(TypeCounts(p->mFirstVertType), std::vector<int>{int(c.verts.size())});
        EXPECT_EQ(TypeCounts(p->mFirstFaceType), std::vector<int>{c.faces});
        EXPECT_EQ(TypeCounts(p->mFirstEdgeType), std::vector<int>{c.edges});
        ASSERT_EQ(p->GetNumParts(), 1);
        EXPECT_EQ(p->GetPart(0)->GetEulerCharacteristic(), 0);
        EXPECT_EQ(p->mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
        EXPECT_EQ(FaceOrientationSigns(*p).size(), 1u);

        // Qhull on the same vertices brought to circumradius 1.
        double radius = 0.0;
        for (const Vec4D& v : c.verts)
            radius = std::max(radius, Vec4Length(v));
        std::vector<Vec4D> unit = c.verts;
        for (Vec4D& v : unit)
            Vec4Div(v, radius);
        EXPECT_NEAR(p->mScale, radius, 1e-12);
        EXPECT_NEAR(p->mVolume, QhullVolume4D(unit), 1e-9);
        EXPECT_NEAR(p->mVolume, c.volume, 1e-7);
    }
}

namespace
{
std::vector<std::string> gTraced;

void RecordTrace(const char* text)
{
    gTraced.emplace_back(text);
}

// The operations entered, in order, from the trace.
std::vector<std::string> EnteredSteps(Polytope4D& p)
{
    gTraced.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    p.FinishPolytope();
    SetTraceSink(previous);
    std::vector<std::string> steps;
    for (const std::string& line : gTraced)
    {
        const bool message = line.rfind("ERROR: ", 0) == 0 || line.rfind("WARNING: ", 0) == 0;
        if (!message && line.size() > 5 && line.compare(line.size() - 5, 5, "done\n") != 0 && line.back() == '\n')
            steps.push_back(line.substr(0, line.size() - 1));
    }
    return steps;
}
}  // namespace

TEST_F(FinishPolytopeTest, StepsRunInTheirOrderEachUnderItsTrace)
{
    ScopedScriptedServices scripted;
    const std::vector<std::string> all = {
        "FinishPolytope",
        "Polytope4D::DeleteDegenerateFaces",
        "Polytope4D::CreateVertexFaceLists",
        "Polytope4D::DeleteUnusedVertices",
        "Polytope4D::Centralise",
        "Polytope4D::Normalise",
        "Polytope4D::CreateCells",
        "Polytope4D::SplitCompoundCells",
        "FinishPolytope: first elements current",
        "FinishPolytope: cells of faces",
        "Polytope4D::SplitCompoundVerts",
        "FinishPolytope: vertices of cells",
        "FinishPolytope: edges",
        "FinishPolytope: rings of edges",
        "FinishPolytope: edges of vertices and cells",
        "Polytope4D::SetPlaneEqns",
        "Polytope4D::SetNumWraps",
        "Polytope4D::FindCoincidentVerts",
        "Polytope4D::FindCorealmicCells",
        "Polytope4D::SetCellTypes",
        "Polytope4D::SetVertTypes",
        "Polytope4D::SetFaceTypes",
        "Polytope4D::SetEdgeTypes",
        "Polytope4D::FindParts",
        "Polytope4D::CheckOrientability",
        "Polytope4D::CalcMidRadius",
    };
    std::unique_ptr<Polytope4D> tesseract = FromSpec(TesseractSpec(0.5, false));
    EXPECT_EQ(EnteredSteps(*tesseract), all);

    // No cells formed: nothing after the cells step runs.
    PolytopeSpec4D lone;
    lone.verts = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    lone.faces = {{0, 1, 2}};
    std::unique_ptr<Polytope4D> triangle = FromSpec(lone);
    EXPECT_EQ(EnteredSteps(*triangle), std::vector<std::string>(all.begin(), all.begin() + 7));
}

TEST_F(FinishPolytopeTest, DegenerateInputGoesAndTheSizeIsNormalised)
{
    ScopedScriptedServices scripted;
    struct Case
    {
        const char* name;
        double half;
        double scale;
    };
    // (+-h)^4 has circumradius 2h; a squared radius within 1e-7 of 1 counts as 1.
    const Case cases[] = {{"radius 1", 0.5, 1.0}, {"radius 2", 1.0, 2.0}, {"radius within tolerance", 0.500000012, 1.0}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Polytope4D p;
        p.mScale = 3.0;
        AddSpec(p, TesseractSpec(c.half, false));
        // A digon on a vertex of its own, and a vertex no face uses.
        const Vec4D far{5, 5, 5, 5};
        Face4D* digon = p.NewFace(2);
        digon->SetVert(0, p.GetVert(0));
        digon->SetVert(1, p.NewVert(&far));
        p.NewVert(&far);
        ASSERT_TRUE(p.FinishPolytope());
        EXPECT_EQ(p.mNumFaces, 24);
        EXPECT_EQ(p.mNumVerts, 16);
        EXPECT_DOUBLE_EQ(p.mScale, 3.0 * c.scale);
        for (Vert4D* vert : ListOf<Vert4D>(p.mFirstVert))
            for (int axis = 0; axis < 4; ++axis)
                EXPECT_EQ(std::fabs(vert->mPos[axis]), c.half / c.scale);
    }
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
}

TEST_F(FinishPolytopeTest, OffCentreInputIsCentredFirst)
{
    ScopedScriptedServices scripted;
    PolytopeSpec4D spec = TesseractSpec(0.5, false);
    for (Vec4D& v : spec.verts)
        v.w += 3.0;
    std::unique_ptr<Polytope4D> p = FromSpec(spec);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_DOUBLE_EQ(p->mScale, 1.0);
    EXPECT_NEAR(p->mVolume, 1.0, 1e-12);
    for (Vert4D* vert : ListOf<Vert4D>(p->mFirstVert))
        EXPECT_EQ(std::fabs(vert->mPos.w), 0.5);
}

TEST_F(FinishPolytopeTest, GivenCellsStayAndACellOfTwoShellsIsSplit)
{
    ScopedScriptedServices scripted;
    const PolytopeSpec4D spec = TesseractSpec(0.5, true);
    std::unique_ptr<Polytope4D> given = FromSpec(spec);
    ASSERT_TRUE(given->FinishPolytope());
    ASSERT_EQ(given->mNumCells, 8);
    for (int c = 0; c < 8; ++c)
    {
        SCOPED_TRACE(c);
        const Cell4D* cell = given->GetCell(c);
        ASSERT_EQ(cell->mNumFaces, 6);
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(cell->mFaces[k], given->GetFace(spec.cells[size_t(c)][size_t(k)]));
    }

    // The two cubes of one axis given as one cell of 12 faces: the step that splits cells parts
    // them again, the second shell going to a new cell at the end of the list.
    PolytopeSpec4D merged = spec;
    merged.cells[0].insert(merged.cells[0].end(), merged.cells[1].begin(), merged.cells[1].end());
    merged.cells.erase(merged.cells.begin() + 1);
    std::unique_ptr<Polytope4D> p = FromSpec(merged);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
    ASSERT_EQ(p->mNumCells, 8);
    for (int k = 0; k < 6; ++k)
    {
        EXPECT_EQ(p->GetCell(0)->mFaces[k], p->GetFace(spec.cells[0][size_t(k)]));
        EXPECT_EQ(p->GetCell(7)->mFaces[k], p->GetFace(spec.cells[1][size_t(k)]));
    }
    EXPECT_EQ(p->mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
    EXPECT_NEAR(p->mVolume, 1.0, 1e-12);
    ExpectClosedRings(*p);
}

TEST_F(FinishPolytopeTest, TwoSimplicesMeetingAtOneVertexBecomeTwoPartsWithTwinVertices)
{
    ScopedScriptedServices scripted;
    // The second 5-cell is the first turned through the shared vertex, given by the same vertex.
    const std::vector<Vec4D> a = SimplexVerts4D();
    PolytopeSpec4D spec = TriangleSpec4D(a, std::sqrt(8.0), false);
    const size_t n = a.size();
    const Vec4D& shared = a[4];
    for (size_t i = 0; i < 4; ++i)
    {
        Vec4D mirrored;
        Vec4ScaleTo(mirrored, shared, 2.0);
        Vec4Sub(mirrored, mirrored, a[i]);
        spec.verts.push_back(mirrored);
    }
    const size_t faces = spec.faces.size();
    for (size_t f = 0; f < faces; ++f)
    {
        std::vector<int> corners = spec.faces[f];
        for (int& k : corners)
            k = k == 4 ? 4 : int(n) + k;
        spec.faces.push_back(corners);
    }
    std::unique_ptr<Polytope4D> p = FromSpec(spec);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
    EXPECT_EQ(p->mNumCells, 10);
    EXPECT_EQ(p->GetNumParts(), 2);
    ASSERT_EQ(p->mNumVerts, 10);

    // The shared vertex became two, each used by the faces of one simplex only.
    std::vector<Vert4D*> twins;
    for (Vert4D* vert : ListOf<Vert4D>(p->mFirstVert))
        if (vert->mNextCoincident)
            twins.push_back(vert);
    ASSERT_EQ(twins.size(), 2u);
    EXPECT_EQ(twins[0]->mNextCoincident, twins[1]);
    EXPECT_EQ(twins[1]->mNextCoincident, twins[0]);
    EXPECT_TRUE(Vec4Equal(twins[0]->mPos, twins[1]->mPos, 0.0));
    std::set<Part4D*> partsSeen;
    for (Vert4D* twin : twins)
    {
        EXPECT_EQ(twin->mNumFaces, 6);
        EXPECT_EQ(twin->mNumCells, 4);
        // All its cells lie in one part: they are connected through shared faces.
        std::set<Cell4D*> cells(twin->mCells.get(), twin->mCells.get() + twin->mNumCells);
        for (int i = 0; i < twin->mNumFaces; ++i)
        {
            EXPECT_TRUE(cells.count(twin->mFaces[i]->mCells[0]));
            EXPECT_TRUE(cells.count(twin->mFaces[i]->mCells[1]));
        }
    }
    for (int i = 0; i < twins[0]->mNumCells; ++i)
        for (int j = 0; j < twins[1]->mNumCells; ++j)
            EXPECT_NE(twins[0]->mCells[i], twins[1]->mCells[j]);
    EXPECT_EQ(p->mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
    EXPECT_NEAR(p->mVolume, 2.0 * 25.0 * std::sqrt(5.0) / 384.0 * std::pow(std::sqrt(3.2) / p->mScale, 4), 1e-9);
}

TEST_F(FinishPolytopeTest, TwoSimplicesInGeneralPositionAreTwoParts)
{
    ScopedScriptedServices scripted;
    PolytopeSpec4D first = TriangleSpec4D(SimplexVerts4D(), std::sqrt(8.0), false);
    PolytopeSpec4D second = first;
    // A turn in the xw plane and another in yz, then a shift: no vertex, edge or face in common.
    for (Vec4D& v : second.verts)
    {
        const double c = std::cos(0.3), s = std::sin(0.3);
        v = Vec4D{c * v.x - s * v.w, c * v.y + s * v.z, -s * v.y + c * v.z, s * v.x + c * v.w};
        v.x += 0.25;
    }
    std::unique_ptr<Polytope4D> p = FromSpec(first);
    AddSpec(*p, second);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
    EXPECT_EQ(p->mNumCells, 10);
    EXPECT_EQ(p->GetNumParts(), 2);
    EXPECT_EQ(p->GetPart(0)->mNumCells, 5);
    EXPECT_EQ(p->GetPart(1)->mNumCells, 5);
    EXPECT_EQ(p->GetGenus(), -1);  // 1 + two parts of genus 0, less one each
    EXPECT_NEAR(p->GetPart(0)->mVolume, p->GetPart(1)->mVolume, 1e-12);
}

TEST_F(FinishPolytopeTest, InputThatDoesNotCloseIsReported)
{
    // The 5-cell without one of its triangles: the two cells on that triangle cannot form.
    PolytopeSpec4D open = TriangleSpec4D(SimplexVerts4D(), std::sqrt(8.0), false);
    open.faces.erase(open.faces.begin());
    // One triangle, and two triangles of one 2-plane sharing a side.
    PolytopeSpec4D lone;
    lone.verts = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    lone.faces = {{0, 1, 2}};
    PolytopeSpec4D coplanar;
    coplanar.verts = {{1, 0, 0, 0}, {0, 1, 0, 0}, {-1, 0, 0, 0}, {0, -1, 0, 0}};
    coplanar.faces = {{0, 2, 1}, {0, 2, 3}};
    struct Case
    {
        const char* name;
        PolytopeSpec4D spec;
        bool result;
        uint32_t flags;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"a face on one cell", open, true, Polytope4D::kNotClosed | Polytope4D::kNotOrientable,
         {"Error: Face 1 does not appear to have a cell on each side\n",
          "Error: 1 cells appear to share face 1\nShould be exactly 2", "Error: Polytope is not closed!"}},
        {"a lone triangle", lone, false, Polytope4D::kNotClosed | Polytope4D::kNoCellsFormed,
         {"Error: Face 1 does not appear to have a cell on each side\n",
          "Error: Couldn't form any cells from these faces."}},
        {"coplanar triangles", coplanar, false, Polytope4D::kNoCellsFormed,
         {"Error: CreateCells failed.  Coplanar faces?"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        std::unique_ptr<Polytope4D> p = FromSpec(c.spec);
        EXPECT_EQ(p->FinishPolytope(), c.result);
        EXPECT_EQ(MessageTexts(scripted.services), c.messages);
        EXPECT_EQ(p->mFlags & (Polytope4D::kNoCellsFormed | Polytope4D::kNotClosed | Polytope4D::kNotOrientable),
                  c.flags);
        EXPECT_EQ(scripted.services.waitCursorDepth, 0);
    }
}

TEST_F(FinishPolytopeTest, AFaceNamedByThreeGivenCellsIsNotClosedAndWritesNoFurther)
{
    ScopedScriptedServices scripted;
    PolytopeSpec4D spec = TesseractSpec(0.5, true);
    // A ninth cell on the six squares of the first: each of them has three cells.
    spec.cells.push_back(spec.cells[0]);
    std::unique_ptr<Polytope4D> p = FromSpec(spec);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(p->mFlags & Polytope4D::kNotClosed);
    EXPECT_TRUE(p->mFlags & Polytope4D::kNotOrientable);
    for (int k = 0; k < 6; ++k)
    {
        const Face4D* face = p->GetFace(spec.cells[0][size_t(k)]);
        ASSERT_EQ(face->mNumCells, 3);
        EXPECT_GE(face->GetNumCellSlots(), 3);
        EXPECT_EQ(face->mCells[0], p->GetCell(0));
        EXPECT_EQ(face->mCells[2], p->GetCell(8));
    }
}

TEST_F(FinishPolytopeTest, CellsGivenWithDegenerateOrMissingFacesLoseThem)
{
    ScopedScriptedServices scripted;
    PolytopeSpec4D spec = TesseractSpec(0.5, true);
    std::unique_ptr<Polytope4D> p = FromSpec(spec);
    // A digon named by the first cell, and a square with a corner missing named by the second.
    Face4D* digon = p->NewFace(2);
    digon->SetVert(0, p->GetVert(0));
    digon->SetVert(1, p->GetVert(1));
    Face4D* broken = p->NewFace(4);
    broken->SetVert(0, p->GetVert(0));
    Cell4D* first = p->GetCell(0);
    first->ReserveFaces(7);
    first->AddFace(digon);
    Cell4D* second = p->GetCell(1);
    second->ReserveFaces(7);
    second->AddFace(broken);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_EQ(p->mNumFaces, 24);
    EXPECT_EQ(p->GetCell(0)->mNumFaces, 6);
    EXPECT_EQ(p->GetCell(1)->mNumFaces, 6);
    EXPECT_EQ(p->mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
    EXPECT_NEAR(p->mVolume, 1.0, 1e-12);
}

TEST_F(FinishPolytopeTest, TwoTesseractsSideBySideShareVertexPlacesAndCellHyperplanes)
{
    ScopedScriptedServices scripted;
    // The second stands on the first's cube at x = 1/2: its eight corners lie on eight of the first's,
    // and beside that cube the walls at y, z, w = +-1/2 of both lie in one hyperplane each.
    const PolytopeSpec4D first = TesseractSpec(0.5, true);
    PolytopeSpec4D second = first;
    for (Vec4D& v : second.verts)
        v.x += 1.0;
    std::unique_ptr<Polytope4D> p = FromSpec(first);
    AddSpec(*p, second);
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
    EXPECT_EQ(p->GetNumParts(), 2);
    EXPECT_EQ(p->mNumVerts, 32);

    int pairs = 0;
    for (Vert4D* vert : ListOf<Vert4D>(p->mFirstVert))
    {
        if (!vert->mNextCoincident)
            continue;
        ++pairs;
        EXPECT_NE(vert->mNextCoincident, vert);
        EXPECT_EQ(vert->mNextCoincident->mNextCoincident, vert);
        EXPECT_TRUE(Vec4Equal(vert->mPos, vert->mNextCoincident->mPos, 1e-12));
    }
    EXPECT_EQ(pairs, 16);

    int inRings = 0;
    for (Cell4D* cell : ListOf<Cell4D>(p->mFirstCell))
    {
        Cell4D* other = cell->mNextCorealmic;
        if (!other)
        {
            // The two outer walls across x stand alone.
            EXPECT_NEAR(std::fabs(cell->mPlane.n.x), 1.0, 1e-12);
            continue;
        }
        ++inRings;
        EXPECT_EQ(other->mNextCorealmic, cell);
        EXPECT_TRUE(cell->IsCorealmic(other));
        EXPECT_TRUE(other->IsCorealmic(cell));
        // One wall of each tesseract.
        EXPECT_NE(cell->CountPosition() < 8, other->CountPosition() < 8);
    }
    EXPECT_EQ(inRings, 14);
    EXPECT_FALSE(p->GetCell(0)->IsCorealmic(p->GetCell(1)));
    EXPECT_NEAR(p->mVolume, 2.0 / std::pow(p->mScale, 4), 1e-12);
}

TEST_F(FinishPolytopeTest, FinishingAgainMakesTheEdgesAnew)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> p = FromSpec(TesseractSpec(0.5, false));
    ASSERT_TRUE(p->FinishPolytope());
    Edge4D::Select(p->GetEdge(3));
    ASSERT_TRUE(p->FinishPolytope());
    EXPECT_EQ(GetSelection4D().mEdge, nullptr);
    EXPECT_EQ(p->mNumEdges, 32);
    EXPECT_EQ(p->mNumCells, 8);
    EXPECT_EQ(TypeCounts(p->mFirstEdgeType), std::vector<int>{32});
    for (Vert4D* vert : ListOf<Vert4D>(p->mFirstVert))
        EXPECT_EQ(vert->mNumEdges, 4);
    ExpectClosedRings(*p);
    EXPECT_NEAR(p->mVolume, 1.0, 1e-12);
}

TEST_F(FinishPolytopeTest, RarestMemberLooksAlongTheRarerKind)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> tesseract = FromSpec(TesseractSpec(0.5, false));
    ASSERT_TRUE(tesseract->FinishPolytope());
    // 8 cells against 16 vertices: a cell; nearest w = 0 is a cube of the other three axes' walls.
    EXPECT_TRUE(Element4D::IsCell(tesseract->FindRarestMember(false)));
    Cell4D* nearest = Element4D::AsCell(tesseract->FindRarestMember(true));
    ASSERT_NE(nearest, nullptr);
    EXPECT_EQ(nearest->mPlane.n.w, 0.0);

    // 8 vertices against 16 cells: a vertex; the nearest to w = 0 has w = 0.
    std::unique_ptr<Polytope4D> cross = FromSpec(TriangleSpec4D(CrossPolytopeVerts4D(), std::sqrt(2.0), false));
    ASSERT_TRUE(cross->FinishPolytope());
    EXPECT_TRUE(Element4D::IsVert(cross->FindRarestMember(false)));
    Vert4D* vert = Element4D::AsVert(cross->FindRarestMember(true));
    ASSERT_NE(vert, nullptr);
    EXPECT_EQ(vert->mPos.w, 0.0);

    Polytope4D empty;
    EXPECT_EQ(empty.FindRarestMember(false), nullptr);
}

TEST_F(FinishPolytopeTest, CopyFinishedKeepsEdgeColoursAndHiddenFlags)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> source = FromSpec(TesseractSpec(0.5, false));
    ASSERT_TRUE(source->FinishPolytope());
    std::vector<Edge4D*> edges = ListOf<Edge4D>(source->mFirstEdge);
    ASSERT_EQ(edges.size(), 32u);
    for (size_t i = 0; i < edges.size(); ++i)
    {
        edges[i]->mColor = uint32_t(0x010203 * (i + 1));
        if (i % 3 == 0)
            edges[i]->mFlags |= Element4D::kHidden;
    }
    std::unique_ptr<Polytope4D> copy = Polytope4D::Copy(source.get(), Polytope4D::kCopyFinish);
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->mNumEdges, 32);
    ASSERT_EQ(copy->mNumCells, 8);
    std::vector<Edge4D*> copied = ListOf<Edge4D>(copy->mFirstEdge);
    for (size_t i = 0; i < copied.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(copied[i]->mColor, edges[i]->mColor);
        EXPECT_EQ((copied[i]->mFlags & Element4D::kHidden) != 0, i % 3 == 0);
        // The same edge: its ends sit where the source edge's do.
        EXPECT_TRUE(Vec4Equal(copied[i]->mVerts[0]->mPos, edges[i]->mVerts[0]->mPos, 0.0));
        EXPECT_TRUE(Vec4Equal(copied[i]->mVerts[1]->mPos, edges[i]->mVerts[1]->mPos, 0.0));
    }
    EXPECT_NEAR(copy->mVolume, 1.0, 1e-12);
    EXPECT_TRUE(MessageTexts(scripted.services).empty());
}

TEST_F(FinishPolytopeTest, CopyWithEdgesKeepsTheRings)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> source = FromSpec(TesseractSpec(0.5, false));
    ASSERT_TRUE(source->FinishPolytope());
    std::unique_ptr<Polytope4D> copy = Polytope4D::Copy(source.get(), Polytope4D::kCopyEdges);
    ASSERT_EQ(copy->mNumEdges, 32);
    for (int i = 0; i < 32; ++i)
    {
        const Edge4D* from = source->GetEdge(i);
        const Edge4D* to = copy->GetEdge(i);
        ASSERT_EQ(to->mNumFaces, from->mNumFaces);
        EXPECT_EQ(Vert4D::GetIndex(to->mVerts[0]), Vert4D::GetIndex(from->mVerts[0]));
        for (int k = 0; k < from->mNumFaces; ++k)
        {
            EXPECT_EQ(Face4D::GetIndex(to->mFaces[k]), Face4D::GetIndex(from->mFaces[k]));
            EXPECT_EQ(Cell4D::GetIndex(to->mCells[k]), Cell4D::GetIndex(from->mCells[k]));
        }
    }
    for (int i = 0; i < 16; ++i)
    {
        ASSERT_EQ(copy->GetVert(i)->mNumEdges, 4);
        EXPECT_EQ(Edge4D::GetIndex(copy->GetVert(i)->mEdges[2]), Edge4D::GetIndex(source->GetVert(i)->mEdges[2]));
    }
    EXPECT_EQ(Edge4D::GetIndex(copy->GetFace(5)->mEdges[3]), Edge4D::GetIndex(source->GetFace(5)->mEdges[3]));
    ASSERT_EQ(copy->GetCell(3)->mNumEdges, 12);
    EXPECT_EQ(Edge4D::GetIndex(copy->GetCell(3)->mEdges[7]), Edge4D::GetIndex(source->GetCell(3)->mEdges[7]));
}

TEST_F(FinishPolytopeTest, CompoundFinishedWhenAsked)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> a = FromSpec(TesseractSpec(0.5, false));
    std::unique_ptr<Polytope4D> b = FromSpec(TriangleSpec4D(CrossPolytopeVerts4D(), std::sqrt(2.0), false));
    ASSERT_TRUE(a->FinishPolytope());
    ASSERT_TRUE(b->FinishPolytope());
    std::unique_ptr<Polytope4D> both = Polytope4D::MakeCompound(a.get(), b.get(), true);
    EXPECT_EQ(both->mNumCells, 24);
    EXPECT_EQ(both->mNumEdges, 56);
    EXPECT_EQ(both->GetNumParts(), 2);
    std::unique_ptr<Polytope4D> unfinished = Polytope4D::MakeCompound(a.get(), b.get(), false);
    EXPECT_EQ(unfinished->mNumEdges, 0);
    std::unique_ptr<Polytope4D> one = Polytope4D::MakeCompound(nullptr, b.get(), true);
    EXPECT_EQ(one->mNumEdges, 24);
    EXPECT_EQ(scripted.services.waitCursorDepth, 0);
}
