#include "Polytope4DFixtures.h"

#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Prisms4D.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Prisms4DTest = Polytope4DTestBase;

LibraryEntry* FindRow(const char* name)
{
    for (LibraryEntry& row : GetLibraryTable())
    {
        if (std::strcmp(row.mName, name) == 0)
            return &row;
    }
    return nullptr;
}

// The convex uniform rows: Platonic, Archimedean, and the prisms and antiprisms of convex polygons.
bool IsConvexUniformRow(const LibraryEntry& row)
{
    if (row.mFlags & (LibraryEntry::kAnyFamily | LibraryEntry::kParametricFamily))
        return false;
    if (row.mCategory == LibraryEntry::kCategoryPlatonic || row.mCategory == 7)
        return true;
    return row.mCategory == LibraryEntry::kCategoryPrisms && !std::strchr(row.mSymbol, '/');
}

int CountTypes(const VertType4D* first)
{
    int n = 0;
    for (; first; first = first->next)
        ++n;
    return n;
}

template <class Type>
std::vector<int> TypeCounts(const Type* first)
{
    std::vector<int> counts;
    for (const Type* t = first; t; t = t->next)
        counts.push_back(t->mCount);
    return counts;
}

std::unique_ptr<Poly> BuildRow(const LibraryEntry* row)
{
    auto poly = std::make_unique<Poly>();
    PolyTemplate templ;
    if (!row || !poly->CreateFromLibraryEntry(&templ, row, false))
        return nullptr;
    return poly;
}
}  // namespace

TEST_F(Prisms4DTest, PrismsOfTheConvexUniformRowsHaveThePrismCounts)
{
    ScopedScriptedServices scripted;
    int rows = 0;
    for (const LibraryEntry& row : GetLibraryTable())
    {
        if (!IsConvexUniformRow(row))
            continue;
        SCOPED_TRACE(row.mName);
        ++rows;
        std::unique_ptr<Poly> poly = BuildRow(&row);
        ASSERT_NE(poly, nullptr);
        const int v = row.mNumVerts, e = row.mNumEdges, f = row.mNumFaces;
        std::unique_ptr<Polytope4D> prism = Create4DPrism(poly.get(), 3);
        ASSERT_NE(prism, nullptr);
        EXPECT_EQ(prism->mNumVerts, 2 * v);
        EXPECT_EQ(prism->mNumEdges, 2 * e + v);
        EXPECT_EQ(prism->mNumFaces, 2 * f + e);
        EXPECT_EQ(prism->mNumCells, f + 2);
        EXPECT_EQ(prism->mFlags & (Polytope4D::kNoCellsFormed | Polytope4D::kNotClosed | Polytope4D::kNotOrientable),
                  0u);
        EXPECT_EQ(prism->GetNumParts(), 1);
        EXPECT_EQ(CountTypes(prism->mFirstVertType), 1);
        // Half an edge either side: every edge of the prism is as long as the solid's.
        prism->CalcEdgeLengthRange();
        EXPECT_NEAR(prism->mMinEdgeLength, prism->mMaxEdgeLength, 1e-9);
    }
    EXPECT_EQ(rows, 5 + 13 + 12);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(Prisms4DTest, CubeAndTruncatedIcosahedronPrisms)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Poly> cube = BuildRow(FindRow("Cube"));
    ASSERT_NE(cube, nullptr);
    std::unique_ptr<Polytope4D> built = Build4DPrism(cube.get(), 3);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->mNumVerts, 16);
    EXPECT_EQ(built->mNumFaces, 6 + 6 + 12);
    EXPECT_EQ(built->mNumEdges, 0);
    ASSERT_EQ(built->mNumCells, 2 + 6);
    EXPECT_EQ(built->GetCell(0)->mNumFaces, 6);
    EXPECT_EQ(built->GetCell(2)->mNumFaces, 6);
    // Axis 3: the cube's (x, y, z) stay and w is half an edge either way.
    const double h = std::fabs(built->GetVert(0)->mPos.w);
    EXPECT_GT(h, 0.0);
    EXPECT_EQ(built->GetVert(0)->mPos.w, h);
    EXPECT_EQ(built->GetVert(8)->mPos.w, -h);
    EXPECT_EQ(built->GetVert(8)->mPos.x, built->GetVert(0)->mPos.x);
    // The square on a side joins its ends in both copies: (a, a + V, b + V, b).
    const Face4D* square = built->GetFace(12);
    EXPECT_EQ(Vert4D::GetIndex(square->mVerts[1]), Vert4D::GetIndex(square->mVerts[0]) + 8);
    EXPECT_EQ(Vert4D::GetIndex(square->mVerts[2]), Vert4D::GetIndex(square->mVerts[3]) + 8);

    ASSERT_TRUE(built->FinishPolytope());
    EXPECT_EQ(built->mNumEdges, 32);
    EXPECT_NEAR(built->mVolume, 1.0, 1e-9);
    EXPECT_EQ(CountTypes(built->mFirstVertType), 1);
    int cellTypes = 0;
    for (const CellType4D* t = built->mFirstCellType; t; t = t->next)
        ++cellTypes;
    EXPECT_EQ(cellTypes, 1);  // the tesseract: the copies and the face prisms are all cubes

    // Along another axis the same tesseract.
    std::unique_ptr<Polytope4D> alongX = Create4DPrism(cube.get(), 0);
    ASSERT_NE(alongX, nullptr);
    EXPECT_EQ(alongX->mNumCells, 8);
    EXPECT_NEAR(alongX->mVolume, 1.0, 1e-9);
    EXPECT_EQ(std::fabs(alongX->GetVert(0)->mPos.x), 0.5);

    const LibraryEntry* tipe = FindRow("902-Tipe");
    ASSERT_NE(tipe, nullptr);
    std::unique_ptr<Poly> ti = BuildRow(FindRow("Truncated Icosahedron"));
    ASSERT_NE(ti, nullptr);
    std::unique_ptr<Polytope4D> prism = Create4DPrism(ti.get(), 3);
    ASSERT_NE(prism, nullptr);
    EXPECT_EQ(prism->mNumVerts, 120);
    EXPECT_EQ(prism->mNumEdges, 240);
    EXPECT_EQ(prism->mNumFaces, 154);
    EXPECT_EQ(prism->mNumCells, 34);
    EXPECT_EQ(prism->mNumVerts, tipe->mNumVerts);
    EXPECT_EQ(prism->mNumEdges, tipe->mNumEdges);
    EXPECT_EQ(prism->mNumFaces, tipe->mNumFaces);
    EXPECT_EQ(prism->mNumCells, tipe->mNumCells);

    // The types in their order, fewest faces (then edges, ...) first. Cells: 12 pentagonal prisms,
    // 20 hexagonal prisms, the two truncated icosahedra. Faces: the squares on the solid's
    // pentagon-hexagon edges (between the two kinds of prism), then those on its hexagon-hexagon
    // edges, then the copies' 24 pentagons and 40 hexagons. Edges, by the faces of the cells around
    // them: the 60 edges across (7 + 8 + 8), the 120 pentagon-hexagon edges of the copies
    // (32 + 7 + 8), the 60 hexagon-hexagon ones (32 + 8 + 8).
    EXPECT_EQ(TypeCounts(prism->mFirstCellType), (std::vector<int>{12, 20, 2}));
    EXPECT_EQ(TypeCounts(prism->mFirstFaceType), (std::vector<int>{60, 30, 24, 40}));
    EXPECT_EQ(TypeCounts(prism->mFirstEdgeType), (std::vector<int>{60, 120, 60}));
    EXPECT_EQ(TypeCounts(prism->mFirstVertType), (std::vector<int>{120}));
    EXPECT_EQ(prism->mFirstCellType->mFirst->mNumFaces, 7);
    for (Element4D* e = prism->mFirstFace; e; e = e->next)
        EXPECT_EQ(static_cast<Face4D*>(e)->mNumWraps, 1);  // pentagons and hexagons wind once
    const Edge4D* across = prism->mFirstEdgeType->mFirst;
    EXPECT_NE(across->mVerts[0]->mPos.w, 0.0);
    EXPECT_EQ(across->mVerts[0]->mPos.w, -across->mVerts[1]->mPos.w);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(Prisms4DTest, ThePrismIsBuiltOnTheSideShown)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Poly> cube = BuildRow(FindRow("Cube"));
    ASSERT_NE(cube, nullptr);
    cube->mShowDual = true;
    // The octahedron's prism: 2 x 6 vertices, 2 x 12 + 6 edges, 2 x 8 + 12 faces, 8 + 2 cells.
    std::unique_ptr<Polytope4D> prism = Create4DPrism(cube.get(), 3);
    ASSERT_NE(prism, nullptr);
    EXPECT_EQ(prism->mNumVerts, 12);
    EXPECT_EQ(prism->mNumEdges, 30);
    EXPECT_EQ(prism->mNumFaces, 28);
    EXPECT_EQ(prism->mNumCells, 10);
    EXPECT_EQ(prism->mFlags & (Polytope4D::kNotClosed | Polytope4D::kNotOrientable), 0u);
}

TEST_F(Prisms4DTest, PentagramsOfTheSmallStellatedDodecahedronWindTwice)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Poly> poly = BuildRow(FindRow("Small Stellated Dodecahedron"));
    ASSERT_NE(poly, nullptr);
    std::unique_ptr<Polytope4D> prism = Create4DPrism(poly.get(), 3);
    ASSERT_NE(prism, nullptr);
    ASSERT_EQ(prism->mNumFaces, 24 + 30);
    int pentagrams = 0;
    for (Element4D* e = prism->mFirstFace; e; e = e->next)
    {
        const Face4D* face = static_cast<Face4D*>(e);
        EXPECT_EQ(face->mNumWraps, face->mNumSides == 5 ? 2 : 1);
        pentagrams += face->mNumSides == 5;
    }
    EXPECT_EQ(pentagrams, 24);
    EXPECT_EQ(prism->mNumCells, 14);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(Prisms4DTest, CellsThroughTheCentreLeaveNoFiniteDual)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Poly> poly = BuildRow(FindRow("Octahemioctahedron"));
    ASSERT_NE(poly, nullptr);
    std::unique_ptr<Polytope4D> prism = Create4DPrism(poly.get(), 3);
    ASSERT_NE(prism, nullptr);
    EXPECT_TRUE(prism->mFlags & Polytope4D::kNoFiniteDual);
    EXPECT_EQ(prism->GetDual(), nullptr);
    // The 4 hexagonal prisms stand on hexagons through the centre; the octahemioctahedra and the
    // 8 triangular prisms do not.
    int through = 0;
    for (const CellType4D* type = prism->mFirstCellType; type; type = type->next)
    {
        const Cell4D* first = type->mFirst;
        const bool central = std::fabs(first->mPlane.d) < 1e-7;
        for (const Cell4D* cell = first; cell; cell = cell->mNextOfType)
        {
            EXPECT_EQ((cell->mFlags & Cell4D::kThroughCentre) != 0, central);
            through += central;
        }
    }
    EXPECT_EQ(through, 4);
    for (Element4D* e = prism->mFirstCell; e; e = e->next)
    {
        const Cell4D* cell = static_cast<Cell4D*>(e);
        if (cell->mFlags & Cell4D::kThroughCentre)
        {
            EXPECT_EQ(cell->mNumFaces, 8);  // a hexagonal prism
        }
    }
}

TEST_F(Prisms4DTest, NothingToBuildOn)
{
    ScopedScriptedServices scripted;
    Poly empty;
    EXPECT_EQ(Create4DPrism(&empty, 3), nullptr);
    EXPECT_EQ(Create4DPrism(nullptr, 3), nullptr);
    std::unique_ptr<Poly> cube = BuildRow(FindRow("Cube"));
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(Create4DPrism(cube.get(), 4), nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);

    // The dual of a hemipolyhedron has vertices at infinity, which no copy can be placed at.
    std::unique_ptr<Poly> hemi = BuildRow(FindRow("Octahemioctahedron"));
    ASSERT_NE(hemi, nullptr);
    hemi->mShowDual = true;
    EXPECT_EQ(Create4DPrism(hemi.get(), 3), nullptr);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scripted.services.LastCall("MessageBox")->text.rfind("Can't make a 4D prism: vertex ", 0), 0u);
}

TEST_F(Prisms4DTest, AModelNotYetAnalysedGetsAPrismOfItsEdgeLength)
{
    ScopedScriptedServices scripted;
    Poly cube;
    BuildPoly(cube, CubeSpec(), false);
    std::unique_ptr<Polytope4D> built = Build4DPrism(&cube, 3);
    ASSERT_NE(built, nullptr);
    // The cube's edges are 2 long: the copies lie at w = 1 and -1, not on top of each other.
    EXPECT_EQ(built->GetVert(0)->mPos.w, 1.0);
    EXPECT_EQ(built->GetVert(8)->mPos.w, -1.0);
    std::unique_ptr<Polytope4D> finished = Create4DPrism(&cube, 3);
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(finished->mNumCells, 8);
    finished->PrepareFacePlanes(false);
    for (Element4D* e = finished->mFirstFace; e; e = e->next)
        EXPECT_EQ(Element4D::AsFace(e)->mPlane.mNumIndices, 6) << "every square and cube face draws";
}

TEST_F(Prisms4DTest, CellsColouredAlongADirectionShareAColourOnlyAtOnePositionAndType)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Poly> cube = BuildRow(FindRow("Cube"));
    ASSERT_NE(cube, nullptr);
    std::unique_ptr<Polytope4D> tesseract = Create4DPrism(cube.get(), 3);
    ASSERT_NE(tesseract, nullptr);
    ASSERT_EQ(tesseract->mNumCells, 8);
    struct Case
    {
        Vec4D direction;
        int axis;
    };
    // Along a coordinate axis the tesseract's cells stand at +h (one cell), 0 (six, all cubes of one
    // type) and -h (one): three colours from the start of the palette, farthest along first.
    for (const Case c : {Case{{0, 0, 0, 1}, 3}, Case{{1, 0, 0, 0}, 0}, Case{{0, 0, -2, 0}, 2}})
    {
        SCOPED_TRACE(c.axis);
        tesseract->ColorCellsAlong(c.direction);
        int front = 0, middle = 0, back = 0;
        for (int i = 0; i < tesseract->mNumCells; ++i)
        {
            const Cell4D* cell = tesseract->GetCell(i);
            const double along = Vec4Dot(cell->mCentre, c.direction);
            if (along > 1e-9)
            {
                ++front;
                EXPECT_EQ(cell->mColor, PaletteEntry(0));
            }
            else if (along < -1e-9)
            {
                ++back;
                EXPECT_EQ(cell->mColor, PaletteEntry(2));
            }
            else
            {
                ++middle;
                EXPECT_EQ(cell->mColor, PaletteEntry(1));
            }
        }
        EXPECT_EQ(front, 1);
        EXPECT_EQ(middle, 6);
        EXPECT_EQ(back, 1);
    }
}
