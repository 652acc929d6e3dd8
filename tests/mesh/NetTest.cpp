// Nets against the truth: every facelet in one net, joins lying on themselves, no overlaps by an
// independent separating-axis test, congruent copies, and the published counts of edge unfoldings.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Net.h"
#include "operations/ParametricSolids.h"
#include "model/SymGroup.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace
{
constexpr int kNumUniformRows = 105;
constexpr int kFirstJohnson = 105;
constexpr int kLastJohnson = 196;

// Net options are program settings: each test starts from the defaults and puts them back.
class NetTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        UnitSettings& units = GetUnitSettings();
        mMaxFaces = units.mMaxFacesPerNet;
        mMethod = units.mCoincEdgeMethod;
        mPages = units.mColorPagesMode;
        mEdgeData = units.mNetEdgeData;
        units.mMaxFacesPerNet = 1000000;
        units.mCoincEdgeMethod = kCoincInternalSupport;
        units.mColorPagesMode = kMultiColorPages;
        units.mNetEdgeData = 0;
    }
    void TearDown() override
    {
        UnitSettings& units = GetUnitSettings();
        units.mMaxFacesPerNet = mMaxFaces;
        units.mCoincEdgeMethod = mMethod;
        units.mColorPagesMode = mPages;
        units.mNetEdgeData = mEdgeData;
        LibraryStateTest::TearDown();
    }

    ScopedScriptedServices mScripted;

private:
    int mMaxFaces = 0, mMethod = 0, mPages = 0, mEdgeData = 0;
};

struct Built
{
    std::unique_ptr<RowModel> row;
    std::unique_ptr<Model3D> mesh;
};

Built Build(const char* name)
{
    Built b;
    LibraryEntry* entry = FindLibraryEntry(name, nullptr, false);
    if (!entry)
        return b;
    b.row = OpenRow(*entry);
    if (b.row)
        b.mesh = Model3D::CreateFromPoly(&b.row->poly, false);
    return b;
}

std::vector<Vec2D> Outline(const Face3D& f)
{
    std::vector<Vec2D> points;
    for (int k = 0; k < f.mType->mNumSides; ++k)
        points.push_back(f.mEdges[size_t(k)].mNetPos);
    return points;
}

// Two convex polygons overlap with positive area when no edge normal of either separates them.
bool ConvexOverlap(const std::vector<Vec2D>& a, const std::vector<Vec2D>& b, double tol)
{
    for (const std::vector<Vec2D>* poly : {&a, &b})
        for (size_t k = 0; k < poly->size(); ++k)
        {
            const Vec2D& p = (*poly)[k];
            const Vec2D& q = (*poly)[(k + 1) % poly->size()];
            const Vec2D axis{q.y - p.y, p.x - q.x};
            const double length = Vec2Length(axis);
            if (length < 1e-12)
                continue;
            double minA = 1e300, maxA = -1e300, minB = 1e300, maxB = -1e300;
            for (const Vec2D& x : a)
            {
                const double t = Vec2Dot(axis, x) / length;
                minA = std::min(minA, t);
                maxA = std::max(maxA, t);
            }
            for (const Vec2D& x : b)
            {
                const double t = Vec2Dot(axis, x) / length;
                minB = std::min(minB, t);
                maxB = std::max(maxB, t);
            }
            if (maxA <= minB + tol || maxB <= minA + tol)
                return false;
        }
    return true;
}

int CountOverlaps(const Net& net)
{
    std::vector<std::vector<Vec2D>> faces;
    for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        faces.push_back(Outline(*f));
    int overlaps = 0;
    for (size_t i = 0; i < faces.size(); ++i)
        for (size_t j = i + 1; j < faces.size(); ++j)
            overlaps += ConvexOverlap(faces[i], faces[j], 1e-7);
    return overlaps;
}

// The edges of the net's facelets as (position, index) with their join bits.
std::vector<uint32_t> JoinPattern(const Net& net)
{
    std::vector<uint32_t> pattern;
    for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            pattern.push_back(f->mEdges[size_t(k)].mFlags & kEdge3DJoinBits);
    return pattern;
}

// The 3D corner positions of the net in list order: copies are congruent when the distances
// between corresponding corners agree.
std::vector<Vec3D> Corners(const Net& net)
{
    std::vector<Vec3D> corners;
    for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            corners.push_back(f->mEdges[size_t(k)].mVert->mPos);
    return corners;
}

// Everything a built set of nets must satisfy, checked without the program's own tests.
void CheckNets(Model3D& mesh)
{
    ASSERT_TRUE(Model3D::HasNets(&mesh));
    std::set<const Face3D*> seen;
    double lastProduct = 1e300;
    const double tab = GetTabSize() / GetUnitSettings().GetScale();
    for (const NetType* type = mesh.mNetTypes; type; type = type->mNext)
    {
        ASSERT_GT(type->mNumNets, 0);
        const double product = type->mRadiusX * type->mRadiusY;
        EXPECT_LE(product, lastProduct + 1e-7);
        lastProduct = product;
        const Net& first = type->mNets[0];
        for (int n = 0; n < type->mNumNets; ++n)
        {
            const Net& net = type->mNets[size_t(n)];
            SCOPED_TRACE("type " + std::to_string(type->GetIndex()) + " net " + std::to_string(n));
            int facelets = 0, joins = 0;
            for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
            {
                ++facelets;
                EXPECT_EQ(f->mNet, &net);
                EXPECT_TRUE(seen.insert(f).second) << "facelet in two nets";
                for (int k = 0; k < f->mType->mNumSides; ++k)
                {
                    const Edge3D& e = f->mEdges[size_t(k)];
                    if (!(e.mFlags & kEdge3DJoined))
                        continue;
                    ++joins;
                    const Edge3D* p = e.GetNeighInNet(false);
                    ASSERT_TRUE(p);
                    EXPECT_TRUE(p->mFlags & kEdge3DJoinedOtherSide);
                    EXPECT_EQ(p->mFace->mNet, &net);
                    if (n == 0)
                    {
                        EXPECT_TRUE(Vec2Equal(e.mNetPos, p->GetNext()->mNetPos, 1e-9)) << Edge3D::GetName(&e);
                        EXPECT_TRUE(Vec2Equal(e.GetNext()->mNetPos, p->mNetPos, 1e-9)) << Edge3D::GetName(&e);
                    }
                }
            }
            EXPECT_EQ(joins, facelets - 1);
            if (n == 0)
            {
                EXPECT_EQ(CountOverlaps(net), 0);
                double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
                for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
                    for (const Vec2D& p : Outline(*f))
                    {
                        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
                    }
                EXPECT_NEAR(minX + maxX, 0.0, 1e-7);
                EXPECT_NEAR(minY + maxY, 0.0, 1e-7);
                EXPECT_NEAR((maxX - minX) / 2 + tab, type->mRadiusX, 1e-7);
                EXPECT_NEAR((maxY - minY) / 2 + tab, type->mRadiusY, 1e-7);
            }
            else
            {
                EXPECT_EQ(JoinPattern(net), JoinPattern(first));
                const std::vector<Vec3D> a = Corners(first), b = Corners(net);
                ASSERT_EQ(a.size(), b.size());
                for (size_t i = 0; i < a.size(); i += 1 + a.size() / 24)
                    for (size_t j = 0; j < a.size(); ++j)
                        EXPECT_NEAR(Vec3Distance(a[i], a[j]), Vec3Distance(b[i], b[j]), 1e-6);
            }
        }
    }
    EXPECT_EQ(int(seen.size()), mesh.GetNumFaces());
}

int CountNets(const Model3D& mesh)
{
    int n = 0;
    for (const NetType* t = mesh.mNetTypes; t; t = t->mNext)
        n += t->mNumNets;
    return n;
}

// The canonical edges of the mesh with their two end vertices.
struct GraphEdge
{
    Edge3D* edge;
    int a, b;
};
std::vector<GraphEdge> GraphEdges(Model3D& mesh)
{
    std::vector<GraphEdge> edges;
    ForEachEdge(mesh, [&](Edge3D& e) {
        if (e.mFlags & kEdge3DCanonical)
            edges.push_back({&e, Vert3D::GetIndex(e.mVert, &mesh), Vert3D::GetIndex(e.GetEndVert(), &mesh)});
    });
    return edges;
}

int Find(std::vector<int>& parent, int x)
{
    while (parent[size_t(x)] != x)
        x = parent[size_t(x)] = parent[size_t(parent[size_t(x)])];
    return x;
}

// Every subset of V - 1 edges that joins all vertices.
void ForEachSpanningTree(const std::vector<GraphEdge>& edges, int numVerts,
                         const std::function<void(const std::vector<int>&)>& visit)
{
    std::vector<int> chosen;
    std::function<void(size_t)> recurse = [&](size_t next) {
        if (int(chosen.size()) == numVerts - 1)
        {
            std::vector<int> parent(static_cast<size_t>(numVerts));
            for (int i = 0; i < numVerts; ++i)
                parent[size_t(i)] = i;
            for (int c : chosen)
            {
                const int x = Find(parent, edges[size_t(c)].a), y = Find(parent, edges[size_t(c)].b);
                if (x == y)
                    return;
                parent[size_t(x)] = y;
            }
            visit(chosen);
            return;
        }
        if (next >= edges.size() || edges.size() - next < size_t(numVerts - 1) - chosen.size())
            return;
        chosen.push_back(int(next));
        recurse(next + 1);
        chosen.pop_back();
        recurse(next + 1);
    };
    recurse(0);
}

// Cuts exactly the tree's edges, one edge at a time as the user does.
void CutTree(Model3D& mesh, const std::vector<GraphEdge>& edges, const std::vector<int>& tree)
{
    ForEachEdge(mesh, [](Edge3D& e) { e.mFlags &= ~kEdge3DUserCut; });
    for (int c : tree)
        edges[size_t(c)].edge->ToggleCut(false);
}

// The net's shape up to rotation and reflection: the sorted distances between facelet centres
// and between distinct corners.
std::vector<int64_t> ShapeSignature(const Net& net)
{
    std::vector<Vec2D> centres, corners;
    for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
    {
        Vec2D c{0, 0};
        for (const Vec2D& p : Outline(*f))
        {
            c.x += p.x / f->mType->mNumSides;
            c.y += p.y / f->mType->mNumSides;
            bool known = false;
            for (const Vec2D& q : corners)
                known = known || Vec2Equal(p, q, 1e-6);
            if (!known)
                corners.push_back(p);
        }
        centres.push_back(c);
    }
    std::vector<int64_t> signature;
    for (const std::vector<Vec2D>* set : {&centres, &corners})
    {
        std::vector<int64_t> d;
        for (size_t i = 0; i < set->size(); ++i)
            for (size_t j = i + 1; j < set->size(); ++j)
            {
                const Vec2D& p = (*set)[i];
                const Vec2D& q = (*set)[j];
                d.push_back(std::llround(((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y)) * 1e5));
            }
        std::sort(d.begin(), d.end());
        signature.insert(signature.end(), d.begin(), d.end());
        signature.push_back(-1);
    }
    return signature;
}
}  // namespace

TEST_F(NetTest, ConvexUniformAndJohnsonRowsUnfoldIntoCongruentNonOverlappingNets)
{
    int convexUniform = 0;
    for (int position = 0; position <= kLastJohnson; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        ASSERT_TRUE(model);
        if (position < kNumUniformRows && !(model->poly.mFlags & Poly::kConvex))
            continue;
        convexUniform += position < kNumUniformRows;
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        ASSERT_TRUE(mesh);
        mesh->CreateNets();
        CheckNets(*mesh);
        if (position < kFirstJohnson && model->poly.mFaces.mCount <= 120)
        {
            EXPECT_TRUE(mesh->HasSingleNet()) << CountNets(*mesh) << " nets";
        }
        // The duals of the convex uniform solids, whose vertex rings start the nets.
        if (position < kFirstJohnson)
        {
            SCOPED_TRACE("dual");
            std::unique_ptr<Model3D> dual = Model3D::CreateFromPoly(&model->poly, true);
            ASSERT_TRUE(dual);
            dual->CreateNets();
            CheckNets(*dual);
            EXPECT_TRUE(dual->HasSingleNet()) << CountNets(*dual) << " nets";
        }
    }
    EXPECT_GE(convexUniform, 22);
    EXPECT_EQ(mScripted.services.calls.size(), 0u) << mScripted.services.calls[0].text;
}

TEST_F(NetTest, TheCubeUnfoldsIntoOneNetOfSixSquares)
{
    Built cube = Build("Cube");
    ASSERT_TRUE(cube.mesh);
    cube.mesh->CreateNets();
    ASSERT_TRUE(cube.mesh->mNetTypes);
    EXPECT_TRUE(cube.mesh->HasSingleNet());
    EXPECT_EQ(cube.mesh->mNetTypes->GetNumFaces(), 6);
    EXPECT_EQ(cube.mesh->mCurrentNet, cube.mesh->mNetTypes->GetFirstNet());
    EXPECT_EQ(NetInfoLine(cube.mesh.get()), "Net type 1 of 1.  Need 1 copy of this net.");
    // Five folds and seven cut pairs, numbered 0 to 6 with each number on exactly two edges.
    int folds = 0;
    std::map<int, int> ids;
    ForEachEdge(*cube.mesh, [&](Edge3D& e) {
        folds += (e.mFlags & kEdge3DJoined) != 0;
        if (!(e.mFlags & kEdge3DJoinBits))
            ++ids[e.mConnectionId];
    });
    EXPECT_EQ(folds, 5);
    ASSERT_EQ(ids.size(), 7u);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(ids[k], 2) << k;
}

TEST_F(NetTest, OneFacePerNetMakesEveryFaceletItsOwnNet)
{
    GetUnitSettings().mMaxFacesPerNet = 1;
    Built cube = Build("Cube");
    ASSERT_TRUE(cube.mesh);
    cube.mesh->CreateNets();
    EXPECT_EQ(CountNets(*cube.mesh), 6);
    CheckNets(*cube.mesh);
    ForEachEdge(*cube.mesh, [&](Edge3D& e) {
        EXPECT_EQ(e.GetNeighInNet(true), nullptr);
        EXPECT_EQ(e.GetNeighInNet(false), e.mNeigh);
        EXPECT_NE(e.mNeigh, nullptr);
    });
}

TEST_F(NetTest, ConnectionNumbersAndLabels)
{
    Built icosa = Build("Icosahedron");
    ASSERT_TRUE(icosa.mesh);
    icosa.mesh->CreateNets();
    // Cut pairs: edges joined nowhere; each carries one number shared with its partner.
    std::map<int, int> ids;
    int cut = 0;
    ForEachEdge(*icosa.mesh, [&](Edge3D& e) {
        if (e.mFlags & kEdge3DJoinBits)
            return;
        ++cut;
        ASSERT_GE(e.mConnectionId, 0);
        EXPECT_EQ(e.mNeigh->mConnectionId, e.mConnectionId);
        ++ids[e.mConnectionId];
    });
    EXPECT_EQ(int(ids.size()), cut / 2);
    EXPECT_EQ(ids.rbegin()->first, cut / 2 - 1);

    GetUnitSettings().mNetEdgeData = kNetEdgeConnectionIds;
    std::string text;
    const Edge3D* fold = icosa.mesh->mNetTypes->GetFirstNet()->FindFreeEdge(0);
    ASSERT_TRUE(fold);
    ForEachEdge(*icosa.mesh, [&](Edge3D& e) {
        if (e.mFlags & kEdge3DJoined)
        {
            text = "x";
            EXPECT_TRUE(e.GetLabel(text));
            EXPECT_EQ(text, "");
        }
        if (e.mFlags & kEdge3DJoinedOtherSide)
        {
            EXPECT_FALSE(e.GetLabel(text));
        }
    });
    EXPECT_TRUE(fold->GetLabel(text));
    EXPECT_EQ(text, std::to_string(fold->mConnectionId));
    GetUnitSettings().mNetEdgeData = 0;
    EXPECT_FALSE(fold->GetLabel(text));
}

TEST_F(NetTest, EdgeUnfoldingsOfPlatonicSolidsMatchThePublishedCounts)
{
    struct Case
    {
        const char* name;
        int trees, classes;
    };
    const Case kCases[] = {{"Tetrahedron", 16, 2}, {"Cube", 384, 11}, {"Octahedron", 384, 11}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Built solid = Build(c.name);
        ASSERT_TRUE(solid.mesh);
        Model3D& mesh = *solid.mesh;
        mesh.CreateNets();
        const std::vector<GraphEdge> edges = GraphEdges(mesh);
        int trees = 0, failures = 0;
        std::set<std::vector<int64_t>> shapes;
        ForEachSpanningTree(edges, mesh.mNumVerts, [&](const std::vector<int>& tree) {
            ++trees;
            CutTree(mesh, edges, tree);
            if (CountNets(mesh) != 1)
            {
                ++failures;
                return;
            }
            const Net& net = *mesh.mNetTypes->GetFirstNet();
            EXPECT_EQ(Net::GetNumFaces(&net), mesh.GetNumFaces());
            EXPECT_EQ(CountOverlaps(net), 0);
            // Joined exactly along the edges left uncut.
            std::set<int> cutEdges(tree.begin(), tree.end());
            for (size_t k = 0; k < edges.size(); ++k)
            {
                const Edge3D* e = edges[k].edge;
                const bool joined = (e->mFlags & kEdge3DJoinBits) != 0;
                EXPECT_EQ(joined, !cutEdges.count(int(k))) << Edge3D::GetName(e);
            }
            shapes.insert(ShapeSignature(net));
        });
        EXPECT_EQ(trees, c.trees);
        EXPECT_EQ(failures, 0);
        EXPECT_EQ(int(shapes.size()), c.classes);
    }
}

TEST_F(NetTest, RandomEdgeUnfoldingsOfDodecahedronAndIcosahedronNeverOverlap)
{
    for (const char* name : {"Dodecahedron", "Icosahedron"})
    {
        SCOPED_TRACE(name);
        Built solid = Build(name);
        ASSERT_TRUE(solid.mesh);
        Model3D& mesh = *solid.mesh;
        const std::vector<GraphEdge> edges = GraphEdges(mesh);
        std::mt19937 random(55);
        int failures = 0, overlaps = 0;
        for (int round = 0; round < 200; ++round)
        {
            // A random spanning tree: Kruskal over shuffled edges.
            std::vector<int> order(edges.size());
            for (size_t k = 0; k < order.size(); ++k)
                order[k] = int(k);
            std::shuffle(order.begin(), order.end(), random);
            std::vector<int> parent(static_cast<size_t>(mesh.mNumVerts));
            for (int i = 0; i < mesh.mNumVerts; ++i)
                parent[size_t(i)] = i;
            std::vector<int> tree;
            for (int c : order)
            {
                const int x = Find(parent, edges[size_t(c)].a), y = Find(parent, edges[size_t(c)].b);
                if (x != y)
                {
                    parent[size_t(x)] = y;
                    tree.push_back(c);
                }
            }
            ASSERT_EQ(int(tree.size()), mesh.mNumVerts - 1);
            CutTree(mesh, edges, tree);
            if (CountNets(mesh) != 1)
            {
                ++failures;
                continue;
            }
            overlaps += CountOverlaps(*mesh.mNetTypes->GetFirstNet());
        }
        EXPECT_EQ(failures, 0);
        EXPECT_EQ(overlaps, 0);
    }
}

TEST_F(NetTest, EveryUniformRowPutsEachFaceletInExactlyOneNet)
{
    for (int position = 0; position < kNumUniformRows; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        ASSERT_TRUE(model);
        for (bool dual : {false, true})
        {
            Stellation* side = dual ? model->poly.GetVertStellation() : model->poly.GetFaceStellation();
            ASSERT_TRUE(side);
            Model3D* mesh = side->GetModel3D(true);
            if (!mesh)
                continue;
            std::set<const Face3D*> seen;
            for (const NetType* type = mesh->mNetTypes; type; type = type->mNext)
                for (int n = 0; n < type->mNumNets; ++n)
                {
                    int facelets = 0, joins = 0;
                    for (const Face3D* f = type->mNets[size_t(n)].mFirstFace; f; f = f->mNextInNet)
                    {
                        ++facelets;
                        EXPECT_TRUE(seen.insert(f).second);
                        for (int k = 0; k < f->mType->mNumSides; ++k)
                            joins += (f->mEdges[size_t(k)].mFlags & kEdge3DJoined) != 0;
                    }
                    EXPECT_EQ(joins, facelets - 1);
                }
            EXPECT_EQ(int(seen.size()), mesh->GetNumFaces());
        }
    }
}

TEST_F(NetTest, VerticesOnRotationAxesKnowTheirOrder)
{
    // The cube's corners lie on its 3-fold axes; so do both kinds of corner of the triakis
    // tetrahedron, at the two ends of the one-sided axes of the tetrahedral group.
    struct Case
    {
        const char* name;
        bool dual;
        int verts;
    };
    const Case kCases[] = {{"Cube", false, 8}, {"Truncated Tetrahedron", true, 8}, {"Octahedron", false, 6}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Built b = Build(c.name);
        ASSERT_TRUE(b.row);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&b.row->poly, c.dual);
        ASSERT_EQ(mesh->mNumVerts, c.verts);
        const SymGroup* group = b.row->poly.GetSymGroup();
        const int order = std::string(c.name) == "Octahedron" ? 4 : 3;
        for (int i = 0; i < mesh->mNumVerts; ++i)
        {
            const Vert3D& v = mesh->mVerts[size_t(i)];
            ASSERT_TRUE(v.mFlags & kVert3DOnAxis) << i;
            ASSERT_GE(v.GetAxisClass(), 0);
            EXPECT_EQ(group->mAxisSets[v.GetAxisClass()].mOrder, order) << i;
        }
    }
}

TEST_F(NetTest, LargeModelsUnfoldIntoCongruentNonOverlappingNets)
{
    PolyTemplate templ;
    Poly icosahedron;
    ASSERT_TRUE(icosahedron.CreateFromLibraryEntry(&templ, FindLibraryEntry("Icosahedron", nullptr, false), false));
    std::unique_ptr<SimplePoly> geodesic = icosahedron.Subdivide(true, 7);
    std::unique_ptr<SimplePoly> torus = CreateTorus(0.3, 40, 25);
    for (SimplePoly* source : {geodesic.get(), torus.get()})
    {
        auto poly = PolyFrom(source);
        ASSERT_TRUE(poly);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
        mesh->CreateNets();
        CheckNets(*mesh);
        // A second build from scratch gives the same nets.
        const int types = mesh->GetNumNetTypes(), nets = CountNets(*mesh);
        mesh->CreateNets();
        EXPECT_EQ(mesh->GetNumNetTypes(), types);
        EXPECT_EQ(CountNets(*mesh), nets);
    }
}
