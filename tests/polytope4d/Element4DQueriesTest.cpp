#include "Polytope4DFixtures.h"

#include "kernel/Mat4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

namespace
{
using Element4DQueriesTest = Polytope4DTestBase;

Vec4D RandomUnit(std::mt19937& rng)
{
    std::normal_distribution<double> normal;
    Vec4D v{normal(rng), normal(rng), normal(rng), normal(rng)};
    Vec4Div(v, Vec4Length(v));
    return v;
}

Face4D* MakeFace(Polytope4D& p, std::initializer_list<Vert4D*> corners)
{
    Face4D* face = p.NewFace(int(corners.size()));
    int k = 0;
    for (Vert4D* v : corners)
        face->SetVert(k++, v);
    return face;
}

Vert4D* At(Polytope4D& p, double x, double y, double z, double w)
{
    const Vec4D pos{x, y, z, w};
    return p.NewVert(&pos);
}
}  // namespace

TEST_F(Element4DQueriesTest, FaceSidesAsSelectionItems)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    Face4D* face = p.GetFace(3);
    ASSERT_EQ(face->mNumCells, 2);
    EXPECT_EQ(face->GetItemNumber(face->mCells[0]), 6);
    EXPECT_EQ(face->GetItemNumber(face->mCells[1]), 7);
    Face4D* gotFace = nullptr;
    Cell4D* gotCell = nullptr;
    ASSERT_TRUE(p.GetFaceAndCell(7, gotFace, gotCell));
    EXPECT_EQ(gotFace, face);
    EXPECT_EQ(gotCell, face->mCells[1]);
    EXPECT_TRUE(p.GetFaceAndCell(19, gotFace, gotCell));
    EXPECT_EQ(gotFace, p.GetFace(9));
    EXPECT_FALSE(p.GetFaceAndCell(20, gotFace, gotCell));
    EXPECT_EQ(gotFace, nullptr);
    // Integer division rounds -1 to face 0; a negative item names nothing.
    EXPECT_FALSE(p.GetFaceAndCell(-1, gotFace, gotCell));
    EXPECT_EQ(gotFace, nullptr);
    EXPECT_EQ(gotCell, nullptr);

    Polytope4D bare;
    for (int i = 0; i < 4; ++i)
        bare.NewFace(3);
    EXPECT_FALSE(bare.GetFaceAndCell(6, gotFace, gotCell));
    EXPECT_EQ(gotCell, nullptr);
    // A face with one cell has a first side only.
    Cell4D* cell = bare.NewCell(1);
    cell->SetFace(0, bare.GetFace(3));
    EXPECT_TRUE(bare.GetFaceAndCell(6, gotFace, gotCell));
    EXPECT_EQ(gotCell, cell);
    EXPECT_FALSE(bare.GetFaceAndCell(7, gotFace, gotCell));
    EXPECT_EQ(bare.GetFace(3)->GetItemNumber(cell), 6);
}

TEST_F(Element4DQueriesTest, CellFrameIsOrthonormalWithTheNormalLast)
{
    std::vector<Vec4D> normals;
    for (int axis = 0; axis < 4; ++axis)
        for (double sign : {1.0, -1.0})
        {
            Vec4D n;
            n[axis] = sign;
            normals.push_back(n);
        }
    std::mt19937 rng(79);
    for (int i = 0; i < 50; ++i)
        normals.push_back(RandomUnit(rng));
    for (const Vec4D& n : normals)
    {
        SCOPED_TRACE(testing::Message() << n.x << " " << n.y << " " << n.z << " " << n.w);
        Cell4D cell(0);
        cell.mPlane.n = n;
        cell.mPlane.d = -0.5;
        Mat4 frame;
        cell.GetFrame(frame);
        Vec4D columns[4];
        for (int c = 0; c < 4; ++c)
            frame.GetColumn(columns[c], c);
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
                EXPECT_NEAR(Vec4Dot(columns[a], columns[b]), a == b ? 1.0 : 0.0, 1e-12);
        EXPECT_TRUE(Vec4Equal(columns[3], n, 0.0));
    }
}

TEST_F(Element4DQueriesTest, FootPointAndPoleOfACell)
{
    Cell4D cell(0);
    cell.mPlane.n = {0, 0, 0, 1};
    cell.mPlane.d = -0.5;
    Vec4D out;
    cell.GetFootPoint(out);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{0, 0, 0, 0.5}, 0.0));
    cell.GetPole(out, 1.0);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{0, 0, 0, 2.0}, 1e-15));
    cell.GetPole(out, 2.0);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{0, 0, 0, 8.0}, 1e-15));
    // A hyperplane through the centre has no pole.
    for (double d : {0.0, -9e-8, 9e-8})
    {
        cell.mPlane.d = d;
        out = Vec4D{1, 1, 1, 1};
        cell.GetPole(out, 1.0);
        EXPECT_TRUE(Vec4IsZero(out, 0.0)) << d;
    }
}

TEST_F(Element4DQueriesTest, SpanningVerticesOfEachKind)
{
    Polytope4D p;
    Vert4D* a = At(p, 0, 0, 0, 0);
    Vert4D* b = At(p, 1, 0, 0, 0);
    Vert4D* twin = At(p, 0, 0, 0, 5e-8);
    Vert4D* out[4] = {};
    EXPECT_EQ(p.GetSpanningVerts(out, a), 1);
    EXPECT_EQ(out[0], a);
    EXPECT_EQ(p.GetSpanningVerts(out, p.NewEdge(a, b)), 2);
    EXPECT_EQ(p.GetSpanningVerts(out, p.NewEdge(a, twin)), 1);

    Face4D* square = MakeFace(p, {At(p, 1, 1, 0, 3), At(p, -1, 1, 0, 3), At(p, -1, -1, 0, 3), At(p, 1, -1, 0, 3)});
    EXPECT_EQ(p.GetSpanningVerts(out, square), 3);
    Vec4D dir1, dir2;
    EXPECT_TRUE(PlaneBasis4D(dir1, dir2, out[0]->mPos, out[1]->mPos, out[2]->mPos, 1e-7));

    // A cube cell in the hyperplane w = 0.5: four corners that span it.
    auto makeCell = [&](const std::vector<Vec4D>& corners) {
        Cell4D* cell = p.NewCell(0);
        cell->mNumVerts = int(corners.size());
        cell->mVerts.reset(new Vert4D*[corners.size()]);
        Vec4D centre;
        for (size_t i = 0; i < corners.size(); ++i)
        {
            cell->mVerts[i] = p.NewVert(&corners[i]);
            Vec4Add(centre, centre, corners[i]);
        }
        Vec4Div(centre, double(corners.size()));
        cell->mCentre = centre;
        return cell;
    };
    std::vector<Vec4D> cube;
    for (int i = 0; i < 8; ++i)
        cube.push_back(Vec4D{i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0, 0.5});
    EXPECT_EQ(p.GetSpanningVerts(out, makeCell(cube)), 4);
    Vec4D e1, e2, e3;
    Vec4Sub(e1, out[1]->mPos, out[0]->mPos);
    Vec4Sub(e2, out[2]->mPos, out[0]->mPos);
    Vec4Sub(e3, out[3]->mPos, out[0]->mPos);
    EXPECT_FALSE(Vec4Dependent(e1, e2, e3, 1e-7));

    // A flat cell: its corners lie in one 2-plane.
    EXPECT_EQ(p.GetSpanningVerts(out, makeCell({{1, 1, 0, 0}, {-1, 1, 0, 0}, {-1, -1, 0, 0}, {1, -1, 0, 0}})), 3);
    // A cell whose corners lie on a line, and one with all corners at one point.
    EXPECT_EQ(p.GetSpanningVerts(out, makeCell({{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}})), 2);
    EXPECT_EQ(p.GetSpanningVerts(out, makeCell({{2, 0, 0, 0}, {2, 0, 0, 0}})), 1);
    EXPECT_EQ(p.GetSpanningVerts(out, p.NewCell(0)), 0);
}

TEST_F(Element4DQueriesTest, NeighbourFaceInACell)
{
    Polytope4D p;
    Vert4D* pv = At(p, 0, 0, 0, 0);
    Vert4D* qv = At(p, 1, 0, 0, 0);
    Vert4D* x = At(p, 0, 1, 0, 0);
    Vert4D* y = At(p, 0, 0, 1, 0);
    Vert4D* z = At(p, 0, 0, 0, 1);
    Face4D* start = MakeFace(p, {pv, qv, x});
    Face4D* other = MakeFace(p, {qv, pv, y});
    Face4D* third = MakeFace(p, {z, pv, qv});
    Face4D* away = MakeFace(p, {x, y, z});

    Cell4D* two = p.NewCell(3);
    two->SetFace(0, start);
    two->SetFace(1, away);
    two->SetFace(2, other);
    EXPECT_EQ(start->FindNeighbourInCell(two, pv, qv), other);
    EXPECT_EQ(start->FindNeighbourInCell(two, pv, y), other);
    EXPECT_EQ(start->FindNeighbourInCell(two, pv, z), nullptr);

    // Three faces of the cell on the edge pq: the neighbour is ambiguous.
    Cell4D* three = p.NewCell(4);
    three->SetFace(0, start);
    three->SetFace(1, other);
    three->SetFace(2, third);
    three->SetFace(3, away);
    EXPECT_EQ(start->FindNeighbourInCell(three, pv, qv), nullptr);

    // A face of the cell passing p twice makes the walk around p ambiguous.
    Face4D* pinched = MakeFace(p, {pv, x, y, pv, z, qv});
    Cell4D* withPinch = p.NewCell(3);
    withPinch->SetFace(0, start);
    withPinch->SetFace(1, other);
    withPinch->SetFace(2, pinched);
    EXPECT_EQ(start->FindNeighbourInCell(withPinch, pv, qv), nullptr);
}

TEST_F(Element4DQueriesTest, WalksAroundVerticesAndEdgesOfTheSimplex)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    AddSimplexLinks(p);
    Vert4D* v0 = p.GetVert(0);
    Vert4D* v1 = p.GetVert(1);
    Cell4D* cell4 = p.GetCell(4);  // the tetrahedron of vertices 0-3

    // Every other vertex is a neighbour of vertex 0, each through its own edge.
    std::set<Vert4D*> neighbours;
    for (int i = 0; i < v0->mNumEdges; ++i)
    {
        Vert4D* n = v0->GetNeighbour(i);
        neighbours.insert(n);
        EXPECT_EQ(v0->FindEdgeTo(n), v0->mEdges[i]);
        EXPECT_EQ(v0->mEdges[i]->GetOtherEnd(n), v0);
    }
    EXPECT_EQ(neighbours.size(), 4u);
    EXPECT_FALSE(neighbours.count(v0));
    EXPECT_EQ(v0->GetNeighbour(4), nullptr);
    EXPECT_EQ(v0->IndexOfCell(p.GetCell(0)), -1);
    EXPECT_EQ(v0->IndexOfCell(cell4), 3);
    int slot = -1;
    Edge4D* ringEdge = v0->FindEdgeWithCell(p.GetCell(1), slot);
    ASSERT_NE(ringEdge, nullptr);
    EXPECT_EQ(ringEdge->mCells[slot], p.GetCell(1));
    EXPECT_EQ(v0->FindEdgeWithCell(p.GetCell(0), slot), nullptr);
    EXPECT_EQ(slot, -1);
    EXPECT_EQ(v0->FindFaceThrough(v1, p.GetVert(2)), p.GetFace(0));
    EXPECT_EQ(v0->FindFaceThrough(p.GetVert(2), v1), p.GetFace(0));
    EXPECT_EQ(v1->FindFaceThrough(v0, v1), nullptr);

    // Inside a tetrahedron, three steps around a corner pass its three edges and come back.
    Face4D* face = p.GetFace(0);  // (0, 1, 2), a face of cell 4
    Edge4D* edge = face->mEdges[0];
    std::set<Edge4D*> passed{edge};
    for (int step = 0; step < 3; ++step)
    {
        edge = v0->NextEdgeInCell(edge, cell4, face);
        ASSERT_NE(edge, nullptr);
        EXPECT_TRUE(cell4->HasFace(face));
        EXPECT_GE(edge->IndexOfVert(v0), 0);
        EXPECT_LT(edge->GetOtherEnd(v0)->mPos.w, 1.0);  // vertex 4 is no corner of cell 4
        passed.insert(edge);
    }
    EXPECT_EQ(passed.size(), 3u);
    EXPECT_EQ(edge, p.GetFace(0)->mEdges[0]);
    EXPECT_EQ(face, p.GetFace(0));

    // The faces around the edge (0, 1): (0, 1, 2), (0, 1, 3), (0, 1, 4).
    int position = -1;
    std::vector<Face4D*> around;
    while (Face4D* f = p.GetFace(0)->NextFaceAroundEdge(0, position))
        around.push_back(f);
    EXPECT_EQ(around, (std::vector<Face4D*>{p.GetFace(1), p.GetFace(2)}));
    EXPECT_EQ(position, -1);

    Edge4D* e01 = v0->FindEdgeTo(v1);
    EXPECT_EQ(e01->IndexOfVert(v1), 1);
    EXPECT_EQ(e01->IndexOfVert(p.GetVert(2)), -1);
    EXPECT_EQ(e01->IndexOfFace(p.GetFace(2)), 2);
    EXPECT_EQ(e01->IndexOfCell(p.GetCell(0)), -1);
    EXPECT_EQ(p.GetFace(0)->GetOtherFaceInCell(cell4, e01), p.GetFace(1));
    EXPECT_EQ(p.GetFace(1)->GetOtherFaceInCell(p.GetCell(2), e01), p.GetFace(2));  // (0,1,3), (0,1,4)
    EXPECT_EQ(p.GetFace(1)->GetOtherFaceInCell(p.GetCell(0), e01), nullptr);      // cell 0 lacks vertex 0
    EXPECT_FALSE(p.GetFace(0)->SharesCellWith(p.GetFace(9)));  // (0,1,2) and (2,3,4)
    EXPECT_TRUE(p.GetFace(0)->SharesCellWith(p.GetFace(6)));   // (0,1,2) and (1,2,3)
    EXPECT_EQ(p.GetFace(0)->IndexOfEdge(e01), 0);
}

TEST_F(Element4DQueriesTest, EdgeMeasures)
{
    Polytope4D p;
    Vert4D* first = At(p, 1, 0, 0, 0);
    Edge4D* edge = p.NewEdge(At(p, 0, 1, 0, 0), first);
    EXPECT_DOUBLE_EQ(edge->GetLengthSq(), 2.0);
    EXPECT_DOUBLE_EQ(edge->GetLength(), std::sqrt(2.0));
    Vec4D v;
    EXPECT_TRUE(Vec4Equal(edge->GetVector(v), Vec4D{1, 0, 0, 0}, 0.0));
    EXPECT_TRUE(Vec4Equal(v, Vec4D{-1, 1, 0, 0}, 0.0));
    edge->GetLine(v);
    EXPECT_TRUE(Vec4Equal(v, Vec4D{0.5, 0.5, 0, 0}, 1e-15));
    Edge4D* point = p.NewEdge(At(p, 0, 2, 0, 0), At(p, 0, 2, 0, 0));
    point->GetLine(v);
    EXPECT_TRUE(Vec4Equal(v, Vec4D{0, 2, 0, 0}, 0.0));
}

TEST_F(Element4DQueriesTest, FaceCornersAndGeometry)
{
    Polytope4D p;
    Vert4D* a = At(p, 1, 0, 0, 0);
    Vert4D* b = At(p, 0, 1, 0, 0);
    Vert4D* c = At(p, 0, 0, 1, 0);
    Vert4D* d = At(p, 0, 0, 0, 1);
    Face4D* tri = MakeFace(p, {a, b, c});
    Face4D* star = MakeFace(p, {a, b, c, a, d});
    EXPECT_EQ(star->FindVert(a, -1), 0);
    EXPECT_EQ(star->FindVert(a, 0), 3);
    EXPECT_EQ(star->FindVert(a, 3), -1);
    EXPECT_EQ(tri->GetNeighbourVert(a, b), c);
    EXPECT_EQ(tri->GetNeighbourVert(c, b), a);
    EXPECT_EQ(tri->GetNeighbourVert(d, b), nullptr);
    EXPECT_EQ(tri->GetNeighbourVert(a, d), nullptr);
    EXPECT_EQ(star->GetNeighbourVert(d, a), b);  // a's first pass, between d and b
    EXPECT_EQ(star->GetNeighbourVert(c, a), d);  // a's second pass, between c and d

    Vec4D out;
    tri->GetCentre(out);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{1.0 / 3, 1.0 / 3, 1.0 / 3, 0}, 1e-15));
    // The plane x + y + z = 1 of w = 0 comes nearest the origin at its centre here.
    tri->GetFootPoint(out);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{1.0 / 3, 1.0 / 3, 1.0 / 3, 0}, 1e-12));
    Face4D* line = MakeFace(p, {a, b});
    line->GetFootPoint(out);
    EXPECT_TRUE(Vec4Equal(out, Vec4D{0.5, 0.5, 0, 0}, 1e-15));

    Hyperplane w0{{0, 0, 0, 1}, 0.0};
    EXPECT_TRUE(tri->LiesInPlane(w0));
    EXPECT_FALSE(star->LiesInPlane(Hyperplane{{1, 0, 0, 0}, -1.0}));
    Hyperplane near{{0, 0, 0, 1}, -9e-5};
    EXPECT_TRUE(tri->LiesInPlane(near));

    // A unit square in the cell w = 0: area 1, across the square within the cell, turned round for
    // the face's second cell.
    Face4D* square = MakeFace(p, {At(p, 0, 0, 0, 0), At(p, 1, 0, 0, 0), At(p, 1, 1, 0, 0), At(p, 0, 1, 0, 0)});
    Cell4D* first = p.NewCell(1);
    Cell4D* second = p.NewCell(1);
    first->SetFace(0, square);
    second->SetFace(0, square);
    first->mPlane = w0;
    second->mPlane = w0;
    EXPECT_TRUE(square->LiesInCellPlane(first));
    Vec4D area1, area2;
    square->GetAreaVector(area1, first);
    square->GetAreaVector(area2, second);
    EXPECT_NEAR(Vec4Length(area1), 1.0, 1e-15);
    EXPECT_NEAR(std::fabs(area1.z), 1.0, 1e-15);
    EXPECT_TRUE(Vec4EqualNeg(area1, area2, 1e-15));

    // The rarest corner type.
    VertType4D common, rare;
    for (Vert4D* v : {a, b, c})
        common.AddMember(v);
    rare.AddMember(d);
    EXPECT_EQ(tri->GetMinVertTypeCount(), 3);
    EXPECT_EQ(star->GetMinVertTypeCount(), 1);
    EXPECT_EQ(p.NewFace(0)->GetMinVertTypeCount(), 999999);
}

TEST_F(Element4DQueriesTest, NextAndCorealmicCellsOfAFace)
{
    Polytope4D p;
    Face4D* face = p.NewFace(3);
    Cell4D* cells[3];
    for (Cell4D*& cell : cells)
    {
        cell = p.NewCell(1);
        cell->SetFace(0, face);
    }
    Cell4D* stranger = p.NewCell(0);
    EXPECT_EQ(face->GetNextCell(cells[0], nullptr), cells[1]);
    EXPECT_EQ(face->GetNextCell(cells[2], nullptr), cells[0]);
    EXPECT_EQ(face->GetNextCell(stranger, nullptr), nullptr);

    // With a view, hidden cells and cells the view leaves out are passed over; the search may
    // come round to the given cell itself.
    int view = 0;
    cells[1]->mFlags |= Element4D::kHidden;
    EXPECT_EQ(face->GetNextCell(cells[0], &view), cells[2]);
    EXPECT_EQ(face->GetNextCell(cells[0], nullptr), cells[1]);
    Polytope4D::SetCellShownQuery([](void*, const Cell4D* cell) { return cell->mIndex != 2; });
    EXPECT_EQ(face->GetNextCell(cells[0], &view), cells[0]);
    cells[0]->mFlags |= Element4D::kHidden;
    EXPECT_EQ(face->GetNextCell(cells[0], &view), nullptr);
    cells[0]->mFlags &= ~Element4D::kHidden;
    cells[1]->mFlags &= ~Element4D::kHidden;

    // Corealmic: the same hyperplane, either way round.
    Cell4D* probe = p.NewCell(1);
    probe->SetFace(0, face);
    probe->mPlane = Hyperplane{{0, 0, 0, 1}, -1.0};
    cells[0]->mPlane = Hyperplane{{0, 1, 0, 0}, -1.0};
    cells[1]->mPlane = Hyperplane{{0, 0, 0, -1}, 1.0};
    cells[2]->mPlane = Hyperplane{{0, 0, 0, 1}, -1.00005};
    EXPECT_EQ(face->GetCorealmicCell(probe, 0, false), cells[1]);
    EXPECT_EQ(face->GetCorealmicCell(probe, Element4D::kHidden, false), cells[1]);
    cells[1]->mFlags |= Element4D::kMark;
    EXPECT_EQ(face->GetCorealmicCell(probe, Element4D::kMark, false), cells[2]);
    cells[2]->mFlags |= Element4D::kMark;
    EXPECT_EQ(face->GetCorealmicCell(probe, Element4D::kMark, false), probe);  // itself, last
    probe->mFlags |= Element4D::kMark;
    EXPECT_EQ(face->GetCorealmicCell(probe, Element4D::kMark, false), nullptr);
    EXPECT_EQ(face->GetCorealmicCell(probe, Element4D::kMark, true), cells[0]);
    EXPECT_EQ(face->GetCorealmicCell(nullptr, 0, true), cells[0]);
    EXPECT_EQ(face->GetCorealmicCell(nullptr, 0, false), nullptr);
}

TEST_F(Element4DQueriesTest, FlagClearingAndEdgeLengthRange)
{
    Polytope4D p;
    AddSimplex(p, 0.0, 0x0000FF);
    AddSimplexLinks(p);
    for (Element4D* head : {p.mFirstVert, p.mFirstFace, p.mFirstCell})
        for (Element4D* e = head; e; e = e->next)
            e->mFlags |= 0x30;
    p.ClearVertFlags(0x10);
    p.ClearFaceFlags(0x20);
    p.ClearCellFlags(0x30);
    EXPECT_EQ(p.GetVert(4)->mFlags, Element4D::kVertKind | 0x20);
    EXPECT_EQ(p.GetFace(9)->mFlags, Element4D::kFaceKind | 0x10);
    EXPECT_EQ(p.GetCell(0)->mFlags, Element4D::kCellKind);

    // The simplex's edges run from sqrt 2 (between two of its first four corners) to sqrt 7
    // (from (-1, -1, -1, 0) to (0, 0, 0, 2)).
    p.CalcEdgeLengthRange();
    EXPECT_DOUBLE_EQ(p.mMinEdgeLength, std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(p.mMaxEdgeLength, std::sqrt(7.0));
    EXPECT_DOUBLE_EQ(p.GetMeanEdgeLength(), (std::sqrt(2.0) + std::sqrt(7.0)) / 2);
    // Found once: a changed vertex does not move the range until it is reset.
    p.GetVert(4)->mPos.w = 100;
    EXPECT_DOUBLE_EQ(p.GetMeanEdgeLength(), (std::sqrt(2.0) + std::sqrt(7.0)) / 2);

    // Without edges nothing is taken the root of: no NaN, and the range is found once edges come.
    Polytope4D bare;
    bare.CalcEdgeLengthRange();
    EXPECT_EQ(bare.mMaxEdgeLength, -1.0);
    EXPECT_FALSE(std::isnan(bare.GetMeanEdgeLength()));
    bare.NewEdge(At(bare, 0, 0, 0, 0), At(bare, 0, 0, 3, 0));
    EXPECT_DOUBLE_EQ(bare.GetMeanEdgeLength(), 3.0);
}
