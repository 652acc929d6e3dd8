#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Vec4D.h"
#include "model/SimplePoly.h"
#include "operations/SpringNetwork.h"
#include "operations/SpringSystem.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
std::string gTrace;
void RecordTrace(const char* text)
{
    gTrace += text;
}

// Collects the trace for the life of the scope.
class ScopedTrace
{
public:
    ScopedTrace() : mPrevious(SetTraceSink(RecordTrace)) { gTrace.clear(); }
    ~ScopedTrace() { SetTraceSink(mPrevious); }

    // The step counts of the runs, in order.
    static std::vector<int> RunSteps()
    {
        std::vector<int> steps;
        for (size_t at = gTrace.find("took "); at != std::string::npos; at = gTrace.find("took ", at + 1))
            steps.push_back(std::atoi(gTrace.c_str() + at + 5));
        return steps;
    }

private:
    TraceSink mPrevious;
};

std::vector<SpringNode*> Nodes()
{
    std::vector<SpringNode*> list;
    for (SpringNode* node = GetSpringNetwork().mFirstNode; node; node = node->next)
        list.push_back(node);
    return list;
}

std::vector<Spring*> Springs()
{
    std::vector<Spring*> list;
    for (Spring* s = GetSpringNetwork().mFirstSpring; s; s = s->next)
        list.push_back(s);
    return list;
}

double Distance(const Vec3D& a, const Vec3D& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

// Every edge of every face that is not deleted, against 1.
double WorstEdgeError(const SimplePoly& poly)
{
    double worst = 0.0;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        const SimpleFace& face = poly.mFaces[f];
        if (face.mFlags & SimpleElem::kTemp)
            continue;
        for (int k = 0; k < face.mNum; ++k)
        {
            const double length = Distance(face.GetVert(k)->mPos, face.GetVert((k + 1) % face.mNum)->mPos);
            worst = std::max(worst, std::isfinite(length) ? std::fabs(length - 1.0) : 1e300);
        }
    }
    return worst;
}

// A tesseract's sixteen vertices and twenty-four squares, vertex i at (±1, ±1, ±1, ±1) by its bits.
std::unique_ptr<Polytope4D> MakeTesseract(double jitter)
{
    auto tope = std::make_unique<Polytope4D>();
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> noise(-jitter, jitter);
    std::vector<Vert4D*> verts;
    for (int i = 0; i < 16; ++i)
    {
        Vec4D p;
        for (int axis = 0; axis < 4; ++axis)
            p[axis] = ((i >> axis) & 1 ? 1.0 : -1.0) + noise(rng);
        verts.push_back(tope->NewVert(&p));
    }
    for (int a = 0; a < 4; ++a)
    {
        for (int b = a + 1; b < 4; ++b)
        {
            for (int base = 0; base < 16; ++base)
            {
                if (base & ((1 << a) | (1 << b)))
                    continue;
                Face4D* face = tope->NewFace(4);
                const int corners[4] = {base, base | 1 << a, base | 1 << a | 1 << b, base | 1 << b};
                for (int k = 0; k < 4; ++k)
                    face->SetVert(k, verts[size_t(corners[k])]);
            }
        }
    }
    return tope;
}
}  // namespace

TEST(SpringSystemTest, PairIndexFindsEverySpringThroughAddsAndRemovals)
{
    ResetSpringNetwork();
    std::vector<SpringNode*> nodes;
    for (int i = 0; i < 40; ++i)
        nodes.push_back(NewSpringNode());
    std::vector<std::pair<int, int>> pairs;
    for (int a = 0; a < 40; ++a)
        for (int b = a + 1; b < 40; ++b)
            pairs.emplace_back(a, b);
    std::mt19937 rng(3);
    std::shuffle(pairs.begin(), pairs.end(), rng);
    for (const auto& [a, b] : pairs)
        ASSERT_NE(AddSpring(nodes[size_t(b)], nodes[size_t(a)], 1.0, false, 3, 1.0), nullptr);
    EXPECT_EQ(GetSpringNetwork().mNumSprings, 780);
    // The same pair either way round is the same spring.
    EXPECT_EQ(AddSpring(nodes[0], nodes[1], 2.0, false, 5, 1.0), nullptr);
    EXPECT_EQ(FindSpring(nodes[1], nodes[0])->mTag, 5);
    EXPECT_EQ(FindSpring(nodes[1], nodes[0])->mRest, 1.0);
    EXPECT_EQ(AddSpring(nodes[7], nodes[7], 1.0, false, 3, 1.0), nullptr);

    // Removing springs with two children replaces them from either side; every other pair stays.
    std::vector<bool> removed(pairs.size(), false);
    for (size_t i = 0; i < pairs.size(); i += 2)
    {
        DeleteSpring(FindSpring(nodes[size_t(pairs[i].first)], nodes[size_t(pairs[i].second)]));
        removed[i] = true;
    }
    EXPECT_EQ(GetSpringNetwork().mNumSprings, 390);
    for (size_t i = 0; i < pairs.size(); ++i)
    {
        const Spring* s = FindSpring(nodes[size_t(pairs[i].first)], nodes[size_t(pairs[i].second)]);
        EXPECT_EQ(s == nullptr, removed[i]) << pairs[i].first << " " << pairs[i].second;
        if (s)
        {
            EXPECT_EQ(s->mNodes[0], nodes[size_t(pairs[i].first)]);  // the lower index first
        }
    }
    ResetSpringNetwork();
    EXPECT_EQ(GetSpringNetwork().mNumSprings, 0);
    EXPECT_EQ(GetSpringNetwork().mPairRoot, nullptr);
}

TEST(SpringSystemTest, SpringsOfTheParts)
{
    ScopedScriptedServices scripted;
    SpringSystem system;

    // A tetrahedron: edges only, one spring for each shared edge.
    ASSERT_TRUE(system.CreateFromDesc("(0 1 2) (0 2 3) (0 3 1) (1 3 2)"));
    system.CreateSprings();
    EXPECT_EQ(system.mNumEdgeSprings, 6);
    EXPECT_EQ(system.mNumChordSprings, 0);
    EXPECT_EQ(system.mNumTargetSprings, 0);
    EXPECT_EQ(GetSpringNetwork().mNumSprings, 6);
    for (SpringNode* node : Nodes())
        EXPECT_EQ(node->mNumNeighbours, 3);

    // A square and a triangle on one edge: the edge is one spring with the larger tag; the square
    // has two chords of length sqrt 2 and four targets.
    ASSERT_TRUE(system.CreateFromDesc("(0 1 2 3) (1 0 4)"));
    system.CreateSprings();
    EXPECT_EQ(system.mNumEdgeSprings, 6);
    EXPECT_EQ(system.mNumChordSprings, 2);
    EXPECT_EQ(system.mNumTargetSprings, 4);
    const std::vector<SpringNode*> nodes = Nodes();
    ASSERT_EQ(nodes.size(), 9u);
    EXPECT_EQ(FindSpring(nodes[0], nodes[1])->mTag, 4);
    EXPECT_EQ(FindSpring(nodes[4], nodes[0])->mTag, 3);
    EXPECT_NEAR(FindSpring(nodes[0], nodes[2])->mRest, std::sqrt(2.0), 1e-15);
    EXPECT_EQ(FindSpring(nodes[0], nodes[2])->mFlags, Spring::kChord);
    const Spring* target = FindSpring(nodes[5], nodes[0]);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->mFlags, Spring::kTarget);
    EXPECT_EQ(target->mRest, 0.0);
    EXPECT_EQ(GetSpringNetwork().mFirstPolygon->mNodes[4], nodes[5]);

    // An edge that a temporary polygon and a permanent one share is permanent in either order.
    for (const char* text : {"T(0 1 2) (0 1 3)", "(0 1 3) T(0 1 2)"})
    {
        SCOPED_TRACE(text);
        ASSERT_TRUE(system.CreateFromDesc(text));
        system.CreateSprings();
        const std::vector<SpringNode*> n = Nodes();
        EXPECT_EQ(FindSpring(n[0], n[1])->mFlags, Spring::kEdge);
        EXPECT_EQ(FindSpring(n[1], n[2])->mFlags, Spring::kEdge | Spring::kTemporary);
        EXPECT_EQ(system.mNumTemporarySprings, text[0] == 'T' ? 3 : 2);
    }
    ResetSpringNetwork();
    EXPECT_EQ(scripted.services.calls.size(), 0u);
}

TEST(SpringSystemTest, HopSpringsReachEveryNodeWithinTheLimit)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    // A strip of triangles: node i is joined to i - 2 .. i + 2, so 0 and k are ceil(k / 2) hops apart.
    const char* strip = "(0 1 2) (2 1 3) (2 3 4) (4 3 5) (4 5 6) (6 5 7)";
    ASSERT_TRUE(system.CreateFromDesc(strip));
    system.CreateSprings();
    EXPECT_EQ(GetSpringNetwork().mNumSprings, 13);
    // Every other pair of the eight nodes gets a hop spring.
    EXPECT_EQ(system.CreateHopSprings(9999), 28 - 13);
    const std::vector<SpringNode*> nodes = Nodes();
    const Spring* across = FindSpring(nodes[0], nodes[7]);
    ASSERT_NE(across, nullptr);
    EXPECT_EQ(across->mFlags, Spring::kTemporary);
    EXPECT_EQ(across->mTag, -1);
    EXPECT_EQ(across->mRest, 4.0);
    EXPECT_EQ(FindSpring(nodes[1], nodes[6])->mRest, 3.0);
    for (SpringNode* node : nodes)
        EXPECT_EQ(node->mFlags & SpringNode::kVisited, 0);

    // With the limit 2 no pair more than two hops apart is joined.
    ASSERT_TRUE(system.CreateFromDesc(strip));
    system.CreateSprings();
    system.CreateHopSprings(2);
    const std::vector<SpringNode*> again = Nodes();
    EXPECT_EQ(FindSpring(again[0], again[4])->mRest, 2.0);
    EXPECT_EQ(FindSpring(again[0], again[5]), nullptr);
    ResetSpringNetwork();
}

TEST(SpringSystemTest, LayersGiveStartPositionsAndStopAtTheLastNode)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    // The square prism as the prism builder writes it: two rings of four at heights 1 and -1.
    ASSERT_TRUE(system.CreateFromDesc("L4 L+4 (0 1 2 3) (4 5 6 7) (0 1 5 4) (1 2 6 5) (2 3 7 6) (3 0 4 7)"));
    system.CreateSprings();
    system.SetStartPositions();
    const std::vector<SpringNode*> nodes = Nodes();
    // Node 0 at angle 0 on the top ring, node 4 half a step round on the bottom ring, both rings of
    // one radius and the heights opposite.
    const double r0 = std::hypot(nodes[0]->mPos.x, nodes[0]->mPos.z);
    EXPECT_GT(r0, 0.0);
    EXPECT_NEAR(nodes[0]->mPos.z, 0.0, 1e-15);
    EXPECT_NEAR(nodes[1]->mPos.x, 0.0, 1e-15);
    EXPECT_LT(nodes[1]->mPos.z, 0.0);  // clockwise seen from above: z = -sin a
    EXPECT_NEAR(nodes[4]->mPos.x, nodes[4]->mPos.z * -1.0, 1e-15);
    EXPECT_NEAR(std::hypot(nodes[4]->mPos.x, nodes[4]->mPos.z), r0, 1e-15);
    EXPECT_NEAR(nodes[4]->mPos.y, -nodes[0]->mPos.y, 1e-15);
    // The edges are one long on average.
    double sum = 0.0;
    int count = 0;
    for (Spring* s : Springs())
    {
        if (s->mFlags & Spring::kEdge)
        {
            Vec4D d;
            Vec4Sub(d, s->mNodes[1]->mPos, s->mNodes[0]->mPos);
            sum += Vec4Length(d);
            ++count;
        }
    }
    EXPECT_NEAR(sum / count, 1.0, 1e-14);

    // A layer larger than the network places what there is and stops.
    ASSERT_TRUE(system.CreateFromDesc("L40 L3 (0 1 2)"));
    system.CreateSprings();
    system.SetStartPositions();
    for (SpringNode* node : Nodes())
        EXPECT_TRUE(std::isfinite(node->mPos.x) && std::isfinite(node->mPos.y)) << node->mIndex;
    ResetSpringNetwork();
}

TEST(SpringSystemTest, ARegularNetworkComesToRestAtOnce)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    ASSERT_TRUE(system.CreateFromDesc("(0 1 2 3) (4 7 6 5) (0 4 5 1) (1 5 6 2) (2 6 7 3) (3 7 4 0)"));
    system.CreateSprings();
    // The unit cube, centred.
    for (SpringNode* node : Nodes())
    {
        if (node->mIndex >= 8)
            break;
        const int i = node->mIndex;
        const int corner = i < 4 ? i : i - 4;
        node->mPos = Vec4D{(corner == 1 || corner == 2) ? 0.5 : -0.5, i < 4 ? 0.5 : -0.5,
                           (corner >= 2) ? 0.5 : -0.5, 0.0};
    }
    ScopedTrace trace;
    double force = 0.0;
    {
        ProgressScope progress;  // a run stops at once when no progress is open to report to
        force = system.SettleOnceB(true, -1);
    }
    EXPECT_LT(force, 1e-15);
    const std::vector<int> steps = ScopedTrace::RunSteps();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_LE(steps[0], 50);
    ResetSpringNetwork();
}

TEST(SpringSystemTest, WithThePlanarityLimitSquaresStayPlanar)
{
    ScopedScriptedServices scripted;
    SeedSpringRandom(11);
    SpringSystem system;
    // A cube whose top is folded into two triangles: its faces cannot all be regular.
    ASSERT_TRUE(system.CreateFromDesc("h ~ L4 L4 (0 1 2) (0 2 3) (4 7 6 5) (0 4 5 1) (1 5 6 2) (2 6 7 3) (3 7 4 0)"));
    system.CreateSprings();
    {
        ProgressScope progress;
        system.SettleOnceA();
    }
    // The triangles' and squares' own springs gave up their stiffness and went.
    for (Spring* s : Springs())
        EXPECT_EQ(s->mFlags & ~Spring::kTemporary, Spring::kTarget);
    // Each square lies in one plane.
    for (SpringPolygon* polygon = GetSpringNetwork().mFirstPolygon; polygon; polygon = polygon->next)
    {
        if (polygon->mNumSides != 4)
            continue;
        Vec3D p[4];
        for (int k = 0; k < 4; ++k)
            p[k] = Vec3D{polygon->mNodes[k]->mPos.x, polygon->mNodes[k]->mPos.y, polygon->mNodes[k]->mPos.z};
        Vec3D a, b, n, d;
        Vec3Sub(a, p[1], p[0]);
        Vec3Sub(b, p[2], p[0]);
        Vec3Cross(n, a, b);
        Vec3Sub(d, p[3], p[0]);
        EXPECT_NEAR(Vec3Dot(n, d) / Vec3Length(n), 0.0, 1e-7);
        EXPECT_GT(Vec3Length(n), 0.1);  // not collapsed
    }
    ResetSpringNetwork();
}

TEST(SpringSystemTest, OneSeedGivesTheSameStartAndResultTwice)
{
    ScopedScriptedServices scripted;
    const char* j1 = "h (4 1 0 3) (1 4 2) (0 1 2) (3 0 2) (4 3 2)";
    std::vector<Vec3D> starts[2];
    std::unique_ptr<SimplePoly> results[2];
    for (int run = 0; run < 2; ++run)
    {
        SeedSpringRandom(2024);
        SpringSystem system;
        ASSERT_TRUE(system.CreateFromDesc(j1));
        system.SetStartPositions();
        for (SpringNode* node : Nodes())
            starts[run].push_back(Vec3D{node->mPos.x, node->mPos.y, node->mPos.z});
        SeedSpringRandom(2024);
        ASSERT_TRUE(system.CreateFromDesc(j1));
        EXPECT_LT(system.Settle(10), 1e-7);
        results[run] = system.TakeResult();
        ASSERT_NE(results[run], nullptr);
    }
    ASSERT_EQ(starts[0].size(), 5u);
    for (size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(starts[0][i].x, starts[1][i].x);
        EXPECT_EQ(starts[0][i].y, starts[1][i].y);
        EXPECT_EQ(starts[0][i].z, starts[1][i].z);
        const Vec3D& a = results[0]->mVerts[int(i)].mPos;
        const Vec3D& b = results[1]->mVerts[int(i)].mPos;
        EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << i;
    }
    // A new seed starts elsewhere.
    SeedSpringRandom(2025);
    SpringSystem system;
    ASSERT_TRUE(system.CreateFromDesc(j1));
    system.SetStartPositions();
    EXPECT_NE(Nodes()[0]->mPos.x, starts[0][0].x);
    ResetSpringNetwork();
    EXPECT_LT(WorstEdgeError(*results[0]), 1e-6);
}

// Nodes on top of each other once divided by a zero length and spread NaN over the network.
TEST(SpringSystemTest, NodesStartingOnTopOfEachOtherComeApart)
{
    struct Case
    {
        const char* name;
        const char* text;
        int corners;
    };
    const Case cases[] = {
        {"a square whose opposite corners coincide", "L4/2 (0 1 2 3)", 4},
        {"a triangle all in one place", "L3/3 (0 1 2)", 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        SpringSystem system;
        ASSERT_TRUE(system.CreateFromDesc(c.text));
        const double force = system.Settle(10);
        EXPECT_LT(force, 1e-7);
        std::unique_ptr<SimplePoly> result = system.TakeResult();
        ASSERT_NE(result, nullptr);
        EXPECT_LT(WorstEdgeError(*result), 1e-6);
        if (c.corners == 4)
        {
            EXPECT_NEAR(Distance(result->mVerts[0].mPos, result->mVerts[2].mPos), std::sqrt(2.0), 1e-6);
        }
    }
}

TEST(SpringSystemTest, ModelVerticesOnTopOfEachOtherComeApart)
{
    ScopedScriptedServices scripted;
    // Two opposite corners of a square in exactly one place: their chord has no direction.
    std::unique_ptr<Polytope4D> tesseract = MakeTesseract(0.1);
    tesseract->GetVert(3)->mPos = tesseract->GetVert(0)->mPos;
    SpringSystem system;
    system.CreateFromTope(tesseract.get());
    system.mFlags |= SpringSystem::kStartFromModel;
    EXPECT_LT(system.Settle(1), 1e-7);
    for (Element4D* e = tesseract->mFirstVert; e; e = e->next)
    {
        const Vec4D& p = static_cast<Vert4D*>(e)->mPos;
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w));
    }
    Vec4D d;
    Vec4Sub(d, tesseract->GetVert(3)->mPos, tesseract->GetVert(0)->mPos);
    EXPECT_NEAR(Vec4Length(d), std::sqrt(2.0), 1e-6);
}

TEST(SpringSystemTest, ANetworkThatBlowsUpIsAFailureNotARest)
{
    ScopedScriptedServices scripted;
    SpringSystem system;
    // Density 0: the polygon's circumradius is infinite and its chords have no length.
    ASSERT_TRUE(system.CreateFromDesc("L5 (0 1 2 3 4)/0"));
    const double force = system.Settle(2);
    EXPECT_FALSE(force < 1e-7);
    EXPECT_EQ(system.TakeResult(), nullptr);
    EXPECT_EQ(GetSpringNetwork().mFirstNode, nullptr);
}

TEST(SpringSystemTest, FourDimensionalNetworks)
{
    ScopedScriptedServices scripted;
    std::unique_ptr<Polytope4D> tesseract = MakeTesseract(0.0);
    SpringSystem system;
    system.CreateFromTope(tesseract.get());
    EXPECT_TRUE(GetSpringNetwork().mIs4D);
    EXPECT_EQ(system.mNumNodes, 16);
    EXPECT_EQ(system.mNumPolygons, 24);
    system.CreateSprings();
    EXPECT_EQ(system.mNumEdgeSprings, 32);
    EXPECT_EQ(system.mNumChordSprings, 48);
    EXPECT_EQ(system.mNumTargetSprings, 96);
    system.mFlags |= SpringSystem::kStartFromModel;
    system.SetStartPositions();  // edges of 2 become edges of 1
    system.TimeStep(0.0, true);
    // The square in the x-w plane: its targets are its corners, which differ in w.
    for (SpringPolygon* polygon = GetSpringNetwork().mFirstPolygon; polygon; polygon = polygon->next)
    {
        const Vec4D& a = polygon->mNodes[0]->mPos;
        const Vec4D& c = polygon->mNodes[2]->mPos;
        if (a.y != c.y || a.z != c.z)
            continue;
        for (int k = 0; k < 4; ++k)
        {
            const Vec4D& corner = polygon->mNodes[k]->mPos;
            const Vec4D& target = polygon->mNodes[4 + k]->mPos;
            EXPECT_NEAR(std::fabs(target.w), 0.5, 1e-15);
            EXPECT_TRUE(Vec4Equal(target, corner, 1e-15));
        }
    }
    ResetSpringNetwork();

    // From a shaken tesseract back to the regular one, written into the polytope.
    std::unique_ptr<Polytope4D> shaken = MakeTesseract(0.15);
    system.CreateFromTope(shaken.get());
    system.mFlags |= SpringSystem::kStartFromModel;
    EXPECT_LT(system.Settle(10), 1e-7);
    EXPECT_EQ(system.TakeResult(), nullptr);
    for (Element4D* e = shaken->mFirstVert; e; e = e->next)
    {
        const Vert4D* v = static_cast<Vert4D*>(e);
        const int i = Vert4D::GetIndex(v);
        for (int axis = 0; axis < 4; ++axis)
        {
            const Vert4D* w = shaken->GetVert(i ^ (1 << axis));
            Vec4D d;
            Vec4Sub(d, w->mPos, v->mPos);
            EXPECT_NEAR(Vec4Length(d), 1.0, 1e-6);
        }
    }
    EXPECT_EQ(scripted.services.calls.size(), 0u);
}
