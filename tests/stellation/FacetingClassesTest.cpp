#include "DiagramChecks.h"

#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

// The edge and plane classes of a faceting counted afresh: every pair and every triple of the
// model's vertices, sorted into orbits under the rotations of the group. Nothing here follows the
// preparation's own steps (the angular sector, the axis list, the duplicate test of planes).

namespace
{
constexpr double kEps = 1e-6;

class FacetingClassesTest : public ::testing::Test
{
protected:
    void SetUp() override { GetFacetingSettings() = FacetingSettings(); }
    void TearDown() override { GetFacetingSettings() = FacetingSettings(); }
};

struct Plane
{
    Vec3D n;
    double d;
};

// Unit normal, d <= 0; through the centre, the first clear component of n positive.
Plane Canonical(Vec3D n, double d)
{
    if (d > kEps)
    {
        Vec3Negate(n);
        d = -d;
    }
    else if (std::fabs(d) <= kEps)
    {
        d = 0.0;
        for (int i = 0; i < 3; ++i)
        {
            if (std::fabs(n[i]) > kEps)
            {
                if (n[i] < 0.0)
                    Vec3Negate(n);
                break;
            }
        }
    }
    return {n, d};
}

bool SamePlane(const Plane& a, const Plane& b)
{
    return Vec3Equal(a.n, b.n, kEps) && std::fabs(a.d - b.d) <= kEps;
}

int IndexOfPoint(const std::vector<Vec3D>& points, const Vec3D& p)
{
    for (size_t i = 0; i < points.size(); ++i)
        if (Vec3Equal(points[i], p, kEps))
            return int(i);
    return -1;
}

int IndexOfPlane(const std::vector<Plane>& planes, const Plane& p)
{
    for (size_t i = 0; i < planes.size(); ++i)
        if (SamePlane(planes[i], p))
            return int(i);
    return -1;
}

Plane Transformed(const Mat3& m, const Plane& p)
{
    Vec3D n;
    m.Transform(n, p.n);
    return Canonical(n, p.d);
}

// Classes of the model's vertex pairs and planes under the rotations, with which of them are their
// own mirror images.
struct Classes
{
    std::vector<Vec3D> points;
    std::vector<Mat3> rotations;  // the identity first
    std::vector<Mat3> improper;
    // Pairs i < j, by i * n + j: class, or -1 for a pair on one axis line.
    std::vector<int> pairClass;
    int numPairClasses = 0;
    std::vector<bool> pairClassReflexible;
    std::vector<Plane> planes;
    std::vector<int> planeClass;
    int numPlaneClasses = 0;
    std::vector<bool> planeClassReflexible;

    int PairClassOf(const Vec3D& a, const Vec3D& b) const
    {
        int i = IndexOfPoint(points, a), j = IndexOfPoint(points, b);
        if (i < 0 || j < 0 || i == j)
            return -2;
        if (i > j)
            std::swap(i, j);
        return pairClass[size_t(i) * points.size() + size_t(j)];
    }
    int PlaneClassOf(const Vec3D& n, double d) const
    {
        const int i = IndexOfPlane(planes, Canonical(n, d));
        return i < 0 ? -2 : planeClass[size_t(i)];
    }
};

Classes CountClasses(const Poly& poly, FaceType* vertexTypes, bool throughCentre)
{
    Classes c;
    for (FaceType* t = vertexTypes; t; t = t->mNextFaceType)
    {
        if (!Faceting::IsVertexType(t))
            continue;
        for (FaceVert* v = t->mFirstFace; v; v = v->mNextOfType)
            if (Faceting::IsCandidateVert(v))
                c.points.push_back(v->mPoint);
    }
    SymOpIterator it;
    Mat3 m;
    while (poly.mGroup->NextOperation(it, true, &m))
        c.rotations.push_back(m);
    SymOpIterator improperIt;
    Mat3 scratch;
    while (poly.mGroup->NextImproperOperation(improperIt, scratch, &m))
        c.improper.push_back(m);

    const size_t n = c.points.size();
    // A pair that a turn other than the identity fixes lies on that turn's axis.
    c.pairClass.assign(n * n, -3);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
        {
            int& cls = c.pairClass[i * n + j];
            if (cls != -3)
                continue;
            bool onAxis = false;
            for (size_t r = 1; r < c.rotations.size() && !onAxis; ++r)
            {
                Vec3D a, b;
                c.rotations[r].Transform(a, c.points[i]);
                c.rotations[r].Transform(b, c.points[j]);
                onAxis = Vec3Equal(a, c.points[i], kEps) && Vec3Equal(b, c.points[j], kEps);
            }
            const int value = onAxis ? -1 : c.numPairClasses++;
            for (const Mat3& rot : c.rotations)
            {
                Vec3D a, b;
                rot.Transform(a, c.points[i]);
                rot.Transform(b, c.points[j]);
                int x = IndexOfPoint(c.points, a), y = IndexOfPoint(c.points, b);
                if (x > y)
                    std::swap(x, y);
                if (x >= 0)
                    c.pairClass[size_t(x) * n + size_t(y)] = value;
            }
        }
    for (int cls = 0; cls < c.numPairClasses; ++cls)
    {
        size_t i = 0, j = 0;
        for (size_t k = 0; k < n * n; ++k)
            if (c.pairClass[k] == cls)
                i = k / n, j = k % n;
        bool reflexible = c.improper.empty();
        for (const Mat3& m2 : c.improper)
        {
            Vec3D a, b;
            m2.Transform(a, c.points[i]);
            m2.Transform(b, c.points[j]);
            reflexible = reflexible || c.PairClassOf(a, b) == cls;
        }
        c.pairClassReflexible.push_back(reflexible);
    }

    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k)
            {
                if (Vec3Colinear(c.points[i], c.points[j], c.points[k], kEps))
                    continue;
                Vec3D normal;
                Vec3Normal3(normal, c.points[i], c.points[j], c.points[k]);
                if (!Vec3Normalize(normal))
                    continue;
                const Plane p = Canonical(normal, -Vec3Dot(normal, c.points[i]));
                if ((throughCentre || p.d != 0.0) && IndexOfPlane(c.planes, p) < 0)
                    c.planes.push_back(p);
            }
    c.planeClass.assign(c.planes.size(), -1);
    for (size_t i = 0; i < c.planes.size(); ++i)
    {
        if (c.planeClass[i] >= 0)
            continue;
        const int cls = c.numPlaneClasses++;
        for (const Mat3& rot : c.rotations)
        {
            const int k = IndexOfPlane(c.planes, Transformed(rot, c.planes[i]));
            if (k >= 0)
                c.planeClass[size_t(k)] = cls;
        }
    }
    for (int cls = 0; cls < c.numPlaneClasses; ++cls)
    {
        size_t i = 0;
        while (c.planeClass[i] != cls)
            ++i;
        bool reflexible = c.improper.empty();
        for (const Mat3& m2 : c.improper)
            reflexible = reflexible || c.planeClass[size_t(IndexOfPlane(c.planes, Transformed(m2, c.planes[i])))] == cls;
        c.planeClassReflexible.push_back(reflexible);
    }
    return c;
}

struct ModelCase
{
    const char* name;
    const char* config;
    bool dual;  // facet the dual's vertices
    int groupOrder;
    int vertices;
};

const ModelCase kModels[] = {
    {"tetrahedron", "3.3.3", false, 12, 4},
    {"cube", "4.4.4", false, 24, 8},
    {"octahedron", "3.3.3.3", false, 24, 6},
    {"icosahedron", "3.3.3.3.3", false, 60, 12},
    {"dodecahedron", "5.5.5", false, 60, 20},
    {"cuboctahedron", "3.4.3.4", false, 24, 12},
    {"rhombic dodecahedron", "3.4.3.4", true, 24, 14},
    {"truncated octahedron", "4.6.6", false, 24, 24},
    {"icosidodecahedron", "3.5.3.5", false, 60, 30},
    {"snub cube", "3.3.3.3.4", false, 24, 24},
    {"octahemioctahedron", "3.6.3/2.6", false, 24, 12},
};
}  // namespace

// Straight after the planes are made, before the search for faces drops any, there is one edge per
// class of pairs off the axes and one plane per class of planes through three vertices, each the
// mirror image of itself or next to its image exactly as the improper operations say.
TEST_F(FacetingClassesTest, EdgesAndPlanesAreTheOrbitsOfPairsAndTriples)
{
    for (int criterion : {kFacetingTidy, kFacetingDualTidy})
        for (const ModelCase& c : kModels)
        {
            SCOPED_TRACE(std::string(c.name) + " criterion " + std::to_string(criterion));
            GetFacetingSettings().criterion = criterion;
            ScopedScriptedServices scripted;
            auto model = BuildModel(c.config);
            ASSERT_NE(model, nullptr);
            Poly& poly = model->poly;
            ASSERT_NE(poly.mGroup, nullptr);
            Stellation* own = c.dual ? poly.GetVertStellation() : poly.GetFaceStellation();
            Stellation* other = c.dual ? poly.GetFaceStellation() : poly.GetVertStellation();
            const Classes truth = CountClasses(poly, other->mFirstFaceType, criterion != kFacetingDualTidy);
            ASSERT_EQ(int(truth.rotations.size()), c.groupOrder);
            ASSERT_EQ(int(truth.points.size()), c.vertices);

            Faceting& f = own->mFaceting;
            f.Clear();
            f.mPoly = &poly;
            f.mVertexTypes = other->mFirstFaceType;
            {
                ProgressScope progress;
                ASSERT_TRUE(f.CreateEdges());
                ASSERT_TRUE(f.CreatePlanes());
            }
            EXPECT_EQ(InternalErrors(scripted.services), "");

            EXPECT_EQ(f.mNumEdges, truth.numPairClasses);
            std::set<int> edgeClasses;
            for (const FacetingEdge* e = f.mFirstEdge; e; e = e->next)
            {
                const int cls = truth.PairClassOf(e->mVertA->mPoint, e->mVertB->mPoint);
                ASSERT_GE(cls, 0) << "edge " << e->mIndex;
                EXPECT_TRUE(edgeClasses.insert(cls).second) << "edge " << e->mIndex;
                const bool paired = (e->mFlags & (kFacetingEdgeChiralFirst | kFacetingEdgeChiralSecond)) != 0;
                if (poly.mGroup->mReflection == SymGroup::kChiral)
                {
                    EXPECT_FALSE(paired);
                }
                else
                {
                    EXPECT_EQ(paired, !truth.pairClassReflexible[size_t(cls)]) << "edge " << e->mIndex;
                    EXPECT_EQ((e->mFlags & kFacetingEdgeReflexible) != 0, !paired) << "edge " << e->mIndex;
                }
            }

            EXPECT_EQ(f.mNumPlanes, truth.numPlaneClasses);
            std::set<int> planeClasses;
            double lastHeight = 2.0;
            for (const FacetPlane* p = f.mFirstPlane; p; p = p->next)
            {
                SCOPED_TRACE("plane " + std::to_string(p->mIndex));
                const int cls = truth.PlaneClassOf(p->mNormal, p->mD);
                ASSERT_GE(cls, 0);
                EXPECT_TRUE(planeClasses.insert(cls).second);
                // The plane's own turns are the rotations that keep its normal.
                int turns = 0;
                for (const Mat3& rot : truth.rotations)
                {
                    Vec3D n;
                    rot.Transform(n, p->mNormal);
                    turns += Vec3Equal(n, p->mNormal, kEps);
                }
                EXPECT_EQ(p->mNumRots, turns);
                int lying = 0;
                double highest = 0.0;
                for (const Vec3D& v : truth.points)
                {
                    lying += std::fabs(Vec3Dot(p->mNormal, v) + p->mD) <= kEps;
                    highest = std::max(highest, Vec3Dot(p->mNormal, v));
                }
                EXPECT_EQ(p->mNumVerts, lying);
                EXPECT_NEAR(p->mHeight, -p->mD / highest, 1e-9);
                EXPECT_LE(p->mHeight, lastHeight + 1e-7);
                lastHeight = p->mHeight;
                const bool paired = (p->mFlags & (kFacetPlaneChiral | kFacetPlaneMirrorImage)) != 0;
                if (poly.mGroup->mReflection == SymGroup::kChiral)
                {
                    EXPECT_FALSE(paired);
                }
                else
                {
                    EXPECT_EQ(paired, !truth.planeClassReflexible[size_t(cls)]);
                }
                // Rotation cycles hold the vertices a turn apart.
                for (const FacetPlaneVert* v = p->mFirstVert; v; v = v->next)
                {
                    Mat3 turn;
                    turn.SetRotation(p->mNormal, 2.0 * kPi / p->mNumRots);
                    Vec3D image;
                    turn.Transform(image, v->mVert->mPoint);
                    const bool atCentre = Vec3Parallel(v->mVert->mPoint, p->mNormal, kEps);
                    EXPECT_TRUE(Vec3Equal(v->mNextInCycle->mVert->mPoint, atCentre ? v->mVert->mPoint : image, kEps));
                }
            }

            // After the faces are found only classes that a face uses remain, each still once.
            f.Clear();
            ASSERT_TRUE(f.CreateFaceting(&poly, other->mFirstFaceType));
            EXPECT_LE(f.mNumEdges, truth.numPairClasses);
            EXPECT_LE(f.mNumPlanes, truth.numPlaneClasses);
            edgeClasses.clear();
            for (const FacetingEdge* e = f.mFirstEdge; e; e = e->next)
                EXPECT_TRUE(edgeClasses.insert(truth.PairClassOf(e->mVertA->mPoint, e->mVertB->mPoint)).second);
            planeClasses.clear();
            for (const FacetPlane* p = f.mFirstPlane; p; p = p->next)
                EXPECT_TRUE(planeClasses.insert(truth.PlaneClassOf(p->mNormal, p->mD)).second);
            EXPECT_EQ(edgeClasses.count(-2), 0u);
            EXPECT_EQ(planeClasses.count(-2), 0u);
        }
}

// The named solids, whose geometry fixes the counts: the cube's vertices pair as an edge, a face
// diagonal and a space diagonal (on a 3-fold axis), and lie by threes in the 6 faces, the 8 corner
// triangles and the 6 rectangles through the centre; the octahedron's as an edge and an axis, in
// the 8 faces and the 3 squares through the centre.
TEST_F(FacetingClassesTest, TheCubeAndTheOctahedronHaveTheirKnownClasses)
{
    const struct
    {
        const char* config;
        int pairClasses, planeClasses, planes;
    } kCases[] = {{"4.4.4", 2, 3, 20}, {"3.3.3.3", 1, 2, 11}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.config);
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        const Classes truth = CountClasses(model->poly, model->poly.GetVertStellation()->mFirstFaceType, true);
        EXPECT_EQ(truth.numPairClasses, c.pairClasses);
        EXPECT_EQ(truth.numPlaneClasses, c.planeClasses);
        EXPECT_EQ(int(truth.planes.size()), c.planes);
        Faceting& f = model->poly.GetFaceStellation()->mFaceting;
        ASSERT_TRUE(f.CreateFaceting(&model->poly, model->poly.GetVertStellation()->mFirstFaceType));
        EXPECT_EQ(f.mNumEdges, c.pairClasses);
        EXPECT_EQ(f.mNumPlanes, c.planeClasses);
    }
}

namespace
{
std::vector<Vec3D> PolygonPoints(const FacetingFace* face)
{
    std::vector<Vec3D> out;
    for (const FacetPlaneVert* v : face->mVerts)
        out.push_back(v->mVert->mPoint);
    return out;
}

// The face's copies under the turns about its plane's axis meet the other polygon in a vertex.
bool OrbitSharesVertex(const FacetingFace* face, const FacetingFace* other)
{
    const FacetPlane* plane = face->mPlane;
    for (int k = 0; k < plane->mNumRots; ++k)
    {
        Mat3 turn;
        turn.SetRotation(plane->mNormal, 2.0 * kPi * k / plane->mNumRots);
        for (const Vec3D& p : PolygonPoints(face))
        {
            Vec3D image;
            turn.Transform(image, p);
            for (const Vec3D& q : PolygonPoints(other))
                if (Vec3Equal(image, q, kEps))
                    return true;
        }
    }
    return false;
}
}  // namespace

// A chiral facet and its mirror image are marked as never in one faceting exactly when they would
// meet badly: in one plane when they share an edge class (or, under the tidy criteria, a vertex of
// their turned copies), across two planes when they share an edge class that one of them alone
// already closes.
TEST_F(FacetingClassesTest, MirrorPairsThatCannotMeetAreMarked)
{
    for (int criterion : {kFacetingTidy, kFacetingCoplanarVerts})
    {
        SCOPED_TRACE("criterion " + std::to_string(criterion));
        GetFacetingSettings().criterion = criterion;
        auto model = BuildModel("3.5.3.5");
        ASSERT_NE(model, nullptr);
        Faceting& f = model->poly.GetFaceStellation()->mFaceting;
        ASSERT_TRUE(f.CreateFaceting(&model->poly, model->poly.GetVertStellation()->mFirstFaceType));
        int pairs = 0, marked = 0;
        for (const FacetPlane* p = f.mFirstPlane; p; p = p->next)
            for (const FacetingFace* face = p->mFirstFace; face; face = face->next)
            {
                const FacetingFace* mirror = face->mMirror;
                if (mirror == face || (face->mFlags & kFacetingFaceChiralSecond))
                    continue;
                SCOPED_TRACE(FacetingFace::GetLabel(face));
                ++pairs;
                const bool samePlane = face->mPlane == mirror->mPlane;
                bool clash = samePlane && IsTidyFacetingCriterion(criterion) && OrbitSharesVertex(face, mirror);
                for (const FaceUse& u : face->mUses)
                    for (const FaceUse& v : mirror->mUses)
                        clash = clash || (u.mEdge == v.mEdge && (samePlane || u.mNumHits == 2 || v.mNumHits == 2));
                const bool flagged = (face->mFlags & kFacetingFaceNoMirrorTogether) != 0;
                EXPECT_EQ(flagged, clash);
                EXPECT_EQ((mirror->mFlags & kFacetingFaceNoMirrorTogether) != 0, flagged);
                marked += flagged;
            }
        EXPECT_GT(marked, 0);
        EXPECT_LT(marked, pairs);
        EXPECT_EQ(f.mNumFacets, 0);
        EXPECT_EQ(f.mNumOpenEdges, 0);
    }
}
