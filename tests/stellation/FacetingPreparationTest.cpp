#include "DiagramChecks.h"

#include "kernel/UnitSettings.h"
#include "model/ModelRecord.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneEdge.h"
#include "stellation/FacetPlaneVert.h"

#include <gtest/gtest.h>

#include <climits>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

// The preparation of facetings checked against the geometry of the faceted models: the pair
// classes, planes and candidate facets of the Platonic solids' vertices are those of the known
// polyhedra that share their vertices, and every mirror pairing is confirmed by an improper
// operation of the group.

namespace
{
struct ModelCase
{
    const char* name;
    const char* config;
    bool dual;  // facet the dual's vertices
};

// The faceting settings are program-wide: every test starts from the defaults and leaves them so.
class FacetingPreparationTest : public ::testing::Test
{
protected:
    void SetUp() override { GetFacetingSettings() = FacetingSettings(); }
    void TearDown() override { GetFacetingSettings() = FacetingSettings(); }
};

struct Prepared
{
    std::unique_ptr<BuiltModel> model;
    Faceting* faceting = nullptr;
    bool ok = false;
};

// The model of the vertex configuration with the faceting of its own vertices prepared, or of
// its dual's vertices (the poles of its faces).
Prepared Prepare(const char* config, bool dual = false)
{
    Prepared p;
    p.model = BuildModel(config);
    if (!p.model)
        return p;
    Poly& poly = p.model->poly;
    Stellation* own = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    Stellation* other = dual ? poly.GetFaceStellation() : poly.GetVertStellation();
    p.faceting = &own->mFaceting;
    p.ok = p.faceting->CreateFaceting(&poly, other->mFirstFaceType);
    return p;
}

std::vector<FacetingEdge*> Edges(const Faceting& f)
{
    std::vector<FacetingEdge*> out;
    for (FacetingEdge* e = f.mFirstEdge; e; e = e->next)
        out.push_back(e);
    return out;
}

std::vector<FacetPlane*> Planes(const Faceting& f)
{
    std::vector<FacetPlane*> out;
    for (FacetPlane* p = f.mFirstPlane; p; p = p->next)
        out.push_back(p);
    return out;
}

std::vector<FacetingFace*> Faces(const FacetPlane* p)
{
    std::vector<FacetingFace*> out;
    for (FacetingFace* face = p->mFirstFace; face; face = face->next)
        out.push_back(face);
    return out;
}

std::vector<FacetingFace*> AllFaces(const Faceting& f)
{
    std::vector<FacetingFace*> out;
    for (const FacetPlane* p : Planes(f))
        for (FacetingFace* face : Faces(p))
            out.push_back(face);
    return out;
}

std::vector<Vec3D> Points(const FacetingFace* face)
{
    std::vector<Vec3D> out;
    for (const FacetPlaneVert* v : face->mVerts)
        out.push_back(v->mVert->mPoint);
    return out;
}

// m maps the polygon a onto the polygon b: the same points in the same cyclic order, either way
// round.
bool MapsPolygon(const Mat3& m, const std::vector<Vec3D>& a, const std::vector<Vec3D>& b)
{
    const size_t n = a.size();
    if (n != b.size() || n == 0)
        return false;
    std::vector<Vec3D> image(n);
    for (size_t k = 0; k < n; ++k)
        m.Transform(image[k], a[k]);
    for (size_t s = 0; s < n; ++s)
    {
        bool forwards = true, backwards = true;
        for (size_t k = 0; k < n; ++k)
        {
            forwards = forwards && Vec3Equal(image[k], b[(s + k) % n], 1e-7);
            backwards = backwards && Vec3Equal(image[k], b[(s + n - k) % n], 1e-7);
        }
        if (forwards || backwards)
            return true;
    }
    return false;
}

bool MapsPointSet(const Mat3& m, const std::vector<Vec3D>& a, const std::vector<Vec3D>& b)
{
    if (a.size() != b.size())
        return false;
    for (const Vec3D& p : a)
    {
        Vec3D image;
        m.Transform(image, p);
        bool found = false;
        for (const Vec3D& q : b)
            found = found || Vec3Equal(image, q, 1e-7);
        if (!found)
            return false;
    }
    return true;
}

std::vector<Mat3> ImproperOperations(const SymGroup& group)
{
    std::vector<Mat3> out;
    SymOpIterator it;
    Mat3 r, m;
    while (group.NextImproperOperation(it, r, &m))
        out.push_back(m);
    return out;
}

std::vector<Vec3D> PlanePoints(const FacetPlane* p)
{
    std::vector<Vec3D> out;
    for (const FacetPlaneVert* v = p->mFirstVert; v; v = v->next)
        out.push_back(v->mVert->mPoint);
    return out;
}

// The polygon as a set of sides, each an unordered pair of points.
using Side = std::pair<Vec3D, Vec3D>;
std::vector<Side> SidesOf(const std::vector<Vec3D>& polygon)
{
    std::vector<Side> out;
    for (size_t i = 0; i < polygon.size(); ++i)
        out.push_back({polygon[i], polygon[(i + 1) % polygon.size()]});
    return out;
}

bool SameSide(const Side& a, const Side& b)
{
    return (Vec3Equal(a.first, b.first, 1e-7) && Vec3Equal(a.second, b.second, 1e-7)) ||
           (Vec3Equal(a.first, b.second, 1e-7) && Vec3Equal(a.second, b.first, 1e-7));
}

Mat3 TurnAbout(const Vec3D& axis, double angle)
{
    Mat3 m;
    m.SetRotation(axis, angle);
    return m;
}

int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 10000;  // every step late enough to show the window and pump it
}

void ExpectCleared(const Faceting& f)
{
    EXPECT_EQ(f.mFirstEdge, nullptr);
    EXPECT_EQ(f.mFirstPlane, nullptr);
    EXPECT_EQ(f.mNumEdges, 0);
    EXPECT_EQ(f.mNumPlanes, 0);
    EXPECT_EQ(f.mNumFaces, 0);
    EXPECT_TRUE(f.mVertexTypeUses.empty());
    EXPECT_TRUE(f.mStack.empty());
}
}  // namespace

TEST_F(FacetingPreparationTest, CubeVerticesGiveTheEdgeAndTheFaceDiagonalAndThreePlanes)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("4.4.4");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(InternalErrors(scripted.services), "");

    // The space diagonal lies on a 3-fold axis and makes no class.
    const std::vector<FacetingEdge*> edges = Edges(*p.faceting);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_EQ(p.faceting->mNumEdges, 2);
    EXPECT_NEAR(edges[1]->mLengthSq / edges[0]->mLengthSq, 2.0, 1e-9);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(edges[size_t(i)]->mIndex, i);
        EXPECT_NEAR(edges[size_t(i)]->mLengthSq, 4.0 / 3.0 * (i + 1), 1e-9);  // circumradius 1
        // Unique lengths are their own mirror images; a half-turn swaps the ends of both.
        EXPECT_TRUE(edges[size_t(i)]->mFlags & kFacetingEdgeReflexible);
        EXPECT_TRUE(edges[size_t(i)]->mFlags & kFacetingEdgeHalfTurned);
        EXPECT_EQ(edges[size_t(i)]->GetMirror(), edges[size_t(i)]);
        Vec3D sum;
        Vec3Add(sum, edges[size_t(i)]->mVertA->mPoint, edges[size_t(i)]->mVertB->mPoint);
        EXPECT_FALSE(Vec3IsZero(sum, 1e-7));
    }

    // The faces, the corner triangles of the two tetrahedra, the rectangles through the centre.
    const std::vector<FacetPlane*> planes = Planes(*p.faceting);
    ASSERT_EQ(planes.size(), 3u);
    const double heights[] = {1.0, 1.0 / 3.0, 0.0};
    const int verts[] = {4, 3, 4};
    const int rots[] = {4, 3, 2};
    for (size_t i = 0; i < 3; ++i)
    {
        SCOPED_TRACE("plane " + std::to_string(i));
        EXPECT_EQ(planes[i]->mIndex, int(i));
        EXPECT_NEAR(planes[i]->mHeight, heights[i], 1e-9);
        EXPECT_EQ(planes[i]->mNumVerts, verts[i]);
        EXPECT_EQ(planes[i]->mNumRots, rots[i]);
        EXPECT_EQ((planes[i]->mFlags & kFacetPlaneThroughCentre) != 0, i == 2);
        EXPECT_TRUE(planes[i]->mFlags & kFacetPlaneReflexible);
        EXPECT_NEAR(std::fabs(Vec3Length(planes[i]->mNormal)), 1.0, 1e-9);
        EXPECT_LE(planes[i]->mD, 0.0);
        for (const Vec3D& v : PlanePoints(planes[i]))
            EXPECT_NEAR(Vec3Dot(planes[i]->mNormal, v) + planes[i]->mD, 0.0, 1e-9);
    }
    // The rectangle holds the 4-fold axis, whose half-turn turns it over.
    EXPECT_TRUE(planes[2]->mFlags & kFacetPlaneHemi);
    ASSERT_NE(planes[2]->mHalfTurnAxis, nullptr);
    EXPECT_NEAR(Vec3Dot(*planes[2]->mHalfTurnAxis, planes[2]->mNormal), 0.0, 1e-9);

    // Each plane holds one candidate: the square and the corner triangle close up alone.
    const FacetingFace* square = planes[0]->mFirstFace;
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetNumSides(), 4);
    EXPECT_EQ(square->mSymmetry, 4);
    EXPECT_TRUE(square->mFlags & kFacetingFaceSelfClosed);
    ASSERT_EQ(square->GetNumUses(), 1);
    EXPECT_EQ(square->mUses[0].mEdge, edges[0]);
    EXPECT_EQ(square->mUses[0].mNumHits, 2);

    const FacetingFace* triangle = planes[1]->mFirstFace;
    ASSERT_NE(triangle, nullptr);
    EXPECT_EQ(triangle->next, nullptr);
    EXPECT_EQ(triangle->GetNumSides(), 3);
    EXPECT_EQ(triangle->mSymmetry, 3);
    EXPECT_EQ(triangle->GetNumBaseVerts(), 1);  // found from one edge, a path of length 1
    EXPECT_TRUE(triangle->mFlags & kFacetingFaceSelfClosed);
    ASSERT_EQ(triangle->GetNumUses(), 1);
    EXPECT_EQ(triangle->mUses[0].mEdge, edges[1]);
    EXPECT_EQ(triangle->mUses[0].mNumHits, 2);

    const FacetingFace* rectangle = planes[2]->mFirstFace;
    ASSERT_NE(rectangle, nullptr);
    EXPECT_EQ(rectangle->GetNumSides(), 4);
    EXPECT_TRUE(rectangle->mFlags & kFacetingFaceTurnedOver);
    EXPECT_FALSE(rectangle->mFlags & kFacetingFaceSelfClosed);
    EXPECT_EQ(rectangle->GetNumUses(), 2);
    for (const FacetingFace* face : {square, triangle, rectangle})
        EXPECT_EQ(face->mMirror, face);

    // The face planes reach the outermost vertices: every face with an edge in them is spiky.
    for (const FacetingEdge* e : edges)
        EXPECT_TRUE(e->mFlags & kFacetingEdgeOnOuterPlane);
    EXPECT_TRUE(square->mFlags & kFacetingFaceSpiky);
    EXPECT_EQ(p.faceting->mStack.size(), size_t(p.faceting->mNumEdges) + 1);
    EXPECT_EQ(p.faceting->mUnitingFace, -1);
}

TEST_F(FacetingPreparationTest, TheDualTidyCriterionMakesNoPlaneThroughTheCentre)
{
    GetFacetingSettings().criterion = kFacetingDualTidy;
    Prepared p = Prepare("4.4.4");
    ASSERT_TRUE(p.ok);
    const std::vector<FacetPlane*> planes = Planes(*p.faceting);
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_NEAR(planes[0]->mHeight, 1.0, 1e-9);
    EXPECT_NEAR(planes[1]->mHeight, 1.0 / 3.0, 1e-9);
    for (const FacetPlane* plane : planes)
        EXPECT_FALSE(plane->mFlags & kFacetPlaneThroughCentre);
}

TEST_F(FacetingPreparationTest, OctahedronVerticesGiveOneEdgeClassAndTheFacesAndCentralSquares)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.3.3.3");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(InternalErrors(scripted.services), "");
    // Opposite vertices lie on one 4-fold axis.
    const std::vector<FacetingEdge*> edges = Edges(*p.faceting);
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_NEAR(edges[0]->mLengthSq, 2.0, 1e-9);

    const std::vector<FacetPlane*> planes = Planes(*p.faceting);
    ASSERT_EQ(planes.size(), 2u);
    EXPECT_NEAR(planes[0]->mHeight, 1.0, 1e-9);
    EXPECT_EQ(planes[0]->mNumVerts, 3);
    EXPECT_NEAR(planes[1]->mHeight, 0.0, 1e-9);
    EXPECT_EQ(planes[1]->mNumVerts, 4);
    EXPECT_EQ(planes[1]->mNumRots, 4);
    EXPECT_TRUE(planes[1]->mFlags & kFacetPlaneThroughCentre);
    // The central square of the octahemioctahedron's relatives: one edge class, each side once.
    const FacetingFace* square = planes[1]->mFirstFace;
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetNumSides(), 4);
    EXPECT_EQ(square->mSymmetry, 4);
    ASSERT_EQ(square->GetNumUses(), 1);
    EXPECT_EQ(square->mUses[0].mNumHits, 1);
}

// The facets of the icosahedron's vertices are the faces of the polyhedra that share them: its own
// triangles, the great dodecahedron's pentagons and the small stellated dodecahedron's pentagrams
// in the planes of the vertex figures, the great icosahedron's triangles, and the golden rectangles
// through the centre. Each of the first four closes up alone.
TEST_F(FacetingPreparationTest, IcosahedronVerticesGiveTheFacesOfTheKeplerPoinsotPolyhedra)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.3.3.3.3");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(InternalErrors(scripted.services), "");
    const std::vector<FacetingEdge*> edges = Edges(*p.faceting);
    ASSERT_EQ(edges.size(), 2u);
    EXPECT_NEAR(edges[1]->mLengthSq / edges[0]->mLengthSq, kGolden * kGolden, 1e-9);

    const std::vector<FacetPlane*> planes = Planes(*p.faceting);
    ASSERT_EQ(planes.size(), 4u);
    const struct
    {
        double height;
        int verts;
        int faces;
    } kPlanes[] = {{1.0, 3, 1}, {1.0 / std::sqrt(5.0), 5, 2}, {std::sqrt(5.0) - 2.0, 3, 1}, {0.0, 4, 1}};
    for (size_t i = 0; i < 4; ++i)
    {
        SCOPED_TRACE("plane " + std::to_string(i));
        EXPECT_NEAR(planes[i]->mHeight, kPlanes[i].height, 1e-9);
        EXPECT_EQ(planes[i]->mNumVerts, kPlanes[i].verts);
        EXPECT_EQ(planes[i]->mNumFaces, kPlanes[i].faces);
    }
    const std::vector<FacetingFace*> pentagons = Faces(planes[1]);
    ASSERT_EQ(pentagons.size(), 2u);
    // The pentagon (sides: edges of the icosahedron) before the pentagram (the longer class), by
    // their angle sums.
    const FacetingEdge* pentagonSide = pentagons[0]->mUses[0].mEdge;
    const FacetingEdge* pentagramSide = pentagons[1]->mUses[0].mEdge;
    EXPECT_EQ(pentagonSide, edges[0]);
    EXPECT_EQ(pentagramSide, edges[1]);
    EXPECT_NEAR(pentagons[0]->mAngleSum, 2.0 * kPi, 1e-9);
    EXPECT_NEAR(pentagons[1]->mAngleSum, 4.0 * kPi, 1e-9);
    for (const FacetingFace* face : {planes[0]->mFirstFace, pentagons[0], pentagons[1], planes[2]->mFirstFace})
    {
        EXPECT_TRUE(face->mFlags & kFacetingFaceSelfClosed);
        EXPECT_EQ(face->mSymmetry, face->GetNumSides());
    }
    EXPECT_FALSE(planes[3]->mFirstFace->mFlags & kFacetingFaceSelfClosed);
}

TEST_F(FacetingPreparationTest, NoFaceUsesAnEdgeClassMoreThanTwice)
{
    const char* configs[] = {"4.4.4", "3.5.3.5", "4.6.6", "3.3.3.3.4", "3.6.3/2.6", "3.4.3.4"};
    for (int criterion : {kFacetingTidy, kFacetingCoplanarVerts, kFacetingIsohedral})
        for (const char* config : configs)
        {
            SCOPED_TRACE(std::string(config) + " criterion " + std::to_string(criterion));
            GetFacetingSettings().criterion = criterion;
            ScopedScriptedServices scripted;
            Prepared p = Prepare(config);
            ASSERT_TRUE(p.ok);
            EXPECT_EQ(InternalErrors(scripted.services), "");
            for (const FacetingFace* face : AllFaces(*p.faceting))
            {
                std::set<const FacetingEdge*> classes;
                bool closed = true;
                for (const FaceUse& use : face->mUses)
                {
                    EXPECT_TRUE(classes.insert(use.mEdge).second);
                    EXPECT_GE(use.mNumHits, 1);
                    EXPECT_LE(use.mNumHits, 2);
                    EXPECT_EQ(use.mFace, face);
                    closed = closed && use.mNumHits == 2;
                }
                EXPECT_EQ((face->mFlags & kFacetingFaceSelfClosed) != 0, closed);
                // A polygon never passes a vertex twice.
                const std::set<const FacetPlaneVert*> distinct(face->mVerts.begin(), face->mVerts.end());
                EXPECT_EQ(int(distinct.size()), face->GetNumSides());
            }
            // Every edge class left is used, and lists its uses in the order of all faces.
            for (const FacetingEdge* e : Edges(*p.faceting))
            {
                ASSERT_NE(e->mUses, nullptr);
                int last = -1;
                for (const FaceUse* use = e->mUses; use; use = use->mNextOfEdge)
                {
                    EXPECT_EQ(use->mEdge, e);
                    EXPECT_GT(use->mFace->GetGlobalIndex(), last);
                    last = use->mFace->GetGlobalIndex();
                }
            }
        }
}

TEST_F(FacetingPreparationTest, AChiralGroupPairsNothingWithAMirrorImage)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.3.3.3.4");
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.model->poly.mGroup->mReflection, SymGroup::kChiral);
    EXPECT_EQ(InternalErrors(scripted.services), "");
    for (const FacetingEdge* e : Edges(*p.faceting))
        EXPECT_EQ(e->mFlags & (kFacetingEdgeReflexible | kFacetingEdgeChiralFirst | kFacetingEdgeChiralSecond), 0u);
    for (FacetPlane* plane : Planes(*p.faceting))
    {
        EXPECT_EQ(plane->mFlags & (kFacetPlaneReflexible | kFacetPlaneChiral | kFacetPlaneMirrorImage), 0u);
        EXPECT_EQ(plane->GetMirrorPlane(), plane);
    }
    for (const FacetingFace* face : AllFaces(*p.faceting))
    {
        EXPECT_EQ(face->mMirror, nullptr);
        EXPECT_EQ(face->mFlags & (kFacetingFaceNoMirrorTogether | kFacetingFaceChiralSecond), 0u);
    }
}

// Every pairing is confirmed by the group: an improper operation maps an edge, a plane or a face
// onto its mirror image, and for a chiral one no improper operation maps it onto itself.
TEST_F(FacetingPreparationTest, MirrorImagesOfTheIcosidodecahedronArePairedSideBySide)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.5.3.5");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(InternalErrors(scripted.services), "");
    const std::vector<Mat3> improper = ImproperOperations(*p.model->poly.mGroup);
    ASSERT_EQ(improper.size(), 60u);

    int chiralEdges = 0;
    for (FacetingEdge* e : Edges(*p.faceting))
    {
        const std::vector<Vec3D> ends = {e->mVertA->mPoint, e->mVertB->mPoint};
        FacetingEdge* mirror = e->GetMirror();
        EXPECT_EQ(mirror->GetMirror(), e);
        if (e->mFlags & kFacetingEdgeChiralFirst)
        {
            ++chiralEdges;
            EXPECT_EQ(mirror, e->next);
            EXPECT_TRUE(mirror->mFlags & kFacetingEdgeChiralSecond);
            EXPECT_NEAR(mirror->mLengthSq, e->mLengthSq, 1e-7);
        }
        else if (e->mFlags & kFacetingEdgeChiralSecond)
        {
            EXPECT_EQ(mirror, e->prev);
        }
        else
        {
            EXPECT_TRUE(e->mFlags & kFacetingEdgeReflexible);
        }
        const std::vector<Vec3D> mirrorEnds = {mirror->mVertA->mPoint, mirror->mVertB->mPoint};
        bool mapped = false, self = false;
        for (const Mat3& m : improper)
        {
            mapped = mapped || MapsPointSet(m, ends, mirrorEnds);
            self = self || MapsPointSet(m, ends, ends);
        }
        EXPECT_TRUE(mapped) << "edge " << e->mIndex;
        EXPECT_EQ(self, mirror == e) << "edge " << e->mIndex;
    }
    EXPECT_GT(chiralEdges, 0);

    int chiralPlanes = 0;
    for (FacetPlane* plane : Planes(*p.faceting))
    {
        FacetPlane* mirror = plane->GetMirrorPlane();
        if (plane->mFlags & kFacetPlaneChiral)
        {
            ++chiralPlanes;
            ASSERT_EQ(mirror, plane->next);
            EXPECT_TRUE(mirror->mFlags & kFacetPlaneMirrorImage);
            EXPECT_EQ(mirror->GetMirrorPlane(), plane);
            EXPECT_NEAR(mirror->mD, plane->mD, 1e-7);
            EXPECT_EQ(mirror->mNumRots, plane->mNumRots);
            EXPECT_EQ(mirror->mNumVerts, plane->mNumVerts);
        }
        else if (!(plane->mFlags & kFacetPlaneMirrorImage))
        {
            EXPECT_TRUE(plane->mFlags & kFacetPlaneReflexible);
        }
        bool mapped = false;
        for (const Mat3& m : improper)
            mapped = mapped || MapsPointSet(m, PlanePoints(plane), PlanePoints(mirror));
        EXPECT_TRUE(mapped) << "plane " << plane->mIndex;
    }
    EXPECT_GT(chiralPlanes, 0);

    int chiralFaces = 0;
    for (FacetingFace* face : AllFaces(*p.faceting))
    {
        SCOPED_TRACE(FacetingFace::GetLabel(face));
        FacetingFace* mirror = face->mMirror;
        ASSERT_NE(mirror, nullptr);
        EXPECT_EQ(mirror->mMirror, face);
        if (mirror != face)
        {
            ++chiralFaces;
            // Exactly one of the two is the second of the pair, and it comes second.
            EXPECT_NE((face->mFlags & kFacetingFaceChiralSecond) != 0, (mirror->mFlags & kFacetingFaceChiralSecond) != 0);
            EXPECT_EQ((mirror->mFlags & kFacetingFaceChiralSecond) != 0,
                      mirror->GetGlobalIndex() > face->GetGlobalIndex());
            EXPECT_EQ(face->mPlane->GetMirrorPlane(), mirror->mPlane);
        }
        bool mapped = false, self = false;
        for (const Mat3& m : improper)
        {
            mapped = mapped || MapsPolygon(m, Points(face), Points(mirror));
            self = self || MapsPolygon(m, Points(face), Points(face));
        }
        EXPECT_TRUE(mapped);
        EXPECT_EQ(self, mirror == face);

        // The polygon turns onto itself by every multiple of its own turn about its plane's axis.
        for (int k = 0; k < face->mSymmetry; ++k)
            EXPECT_TRUE(face->MapsOntoItself(TurnAbout(face->mPlane->mNormal, 2.0 * kPi * k / face->mSymmetry)));
        if (face->mSymmetry < face->mPlane->mNumRots)
        {
            EXPECT_FALSE(
                face->MapsOntoItself(TurnAbout(face->mPlane->mNormal, 2.0 * kPi / face->mPlane->mNumRots)));
        }
    }
    EXPECT_GT(chiralFaces, 0);
}

TEST_F(FacetingPreparationTest, DescriptionsAndLabels)
{
    EXPECT_STREQ(FacetingFace::GetLabel(nullptr), "NULL");
    Prepared p = Prepare("3.5.3.5");
    ASSERT_TRUE(p.ok);
    const std::vector<FacetingFace*> faces = AllFaces(*p.faceting);

    // Four labels can appear in one message.
    char text[128];
    std::snprintf(text, sizeof(text), "%s %s %s %s", FacetingFace::GetLabel(faces[0]),
                  FacetingFace::GetLabel(faces[1]), FacetingFace::GetLabel(faces[2]), FacetingFace::GetLabel(nullptr));
    EXPECT_STREQ(text, "0-0 1-0 1-1 NULL");

    const double scale = GetUnitSettings().GetScale();
    const FacetingFace* triangle = faces[0];
    // The icosidodecahedron's own triangle, its side the shortest class.
    const double side2 = triangle->mUses[0].mEdge->mLengthSq;
    char expected[256];
    std::snprintf(expected, sizeof(expected), "Plane 0, Facet 0: area %g, 3 sides, 3-fold symmetry, reflexible",
                  std::sqrt(3.0) / 4.0 * side2 * scale * scale);
    EXPECT_EQ(triangle->Describe(), expected);

    bool sawBowTie = false, sawChiral = false, sawAsymmetric = false;
    for (const FacetingFace* face : faces)
    {
        const std::string d = face->Describe();
        char head[64];
        std::snprintf(head, sizeof(head), "Plane %d, Facet %d: area ", face->mPlane->mIndex, face->GetIndexInPlane());
        EXPECT_EQ(d.rfind(head, 0), 0u) << d;
        if (face->mFlags & kFacetingFaceBowTie)
        {
            sawBowTie = true;
            EXPECT_EQ(d.rfind(std::string(head) + "0, ", 0), 0u) << d;
            EXPECT_EQ(d.substr(d.size() - 8), ", BowTie") << d;
            EXPECT_LT(face->mAreaSq, 0.0);
        }
        if (face->mMirror != face)
        {
            sawChiral = true;
            EXPECT_NE(d.find("chiral, mirrors " + std::string(FacetingFace::GetLabel(face->mMirror))), std::string::npos)
                << d;
        }
        if (face->mSymmetry < 2)
        {
            sawAsymmetric = true;
            EXPECT_NE(d.find(" sides, no rotational symmetry, "), std::string::npos) << d;
        }
    }
    EXPECT_TRUE(sawBowTie);
    EXPECT_TRUE(sawChiral);
    EXPECT_TRUE(sawAsymmetric);
}

TEST_F(FacetingPreparationTest, FacesRunPlaneByPlaneInOneOrder)
{
    Prepared p = Prepare("4.6.6");
    ASSERT_TRUE(p.ok);
    const std::vector<FacetingFace*> faces = AllFaces(*p.faceting);
    ASSERT_EQ(int(faces.size()), p.faceting->mNumFaces);
    int sum = 0;
    for (const FacetPlane* plane : Planes(*p.faceting))
        sum += plane->mNumFaces;
    EXPECT_EQ(sum, p.faceting->mNumFaces);
    for (size_t i = 0; i < faces.size(); ++i)
    {
        EXPECT_EQ(faces[i]->GetGlobalIndex(), int(i));
        EXPECT_EQ(faces[i]->GetNext(), i + 1 < faces.size() ? faces[i + 1] : nullptr);
        EXPECT_EQ(faces[i]->GetPrevious(), i > 0 ? faces[i - 1] : nullptr);
        const int inPlane = faces[i]->GetIndexInPlane();
        EXPECT_EQ(inPlane == 0, faces[i]->prev == nullptr);
        EXPECT_EQ(std::string(FacetingFace::GetLabel(faces[i])),
                  std::to_string(faces[i]->mPlane->mIndex) + "-" + std::to_string(inPlane));
    }
    // Within a plane: symmetry, then sides descending.
    for (const FacetPlane* plane : Planes(*p.faceting))
        for (const FacetingFace* f = plane->mFirstFace; f && f->next; f = f->next)
        {
            EXPECT_GE(f->mSymmetry, f->next->mSymmetry);
            if (f->mSymmetry == f->next->mSymmetry)
            {
                EXPECT_GE(f->GetNumSides(), f->next->GetNumSides());
            }
        }
}

TEST_F(FacetingPreparationTest, AddingAndRemovingFacetsKeepsTheEdgeClassesInStep)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.5.3.5");
    ASSERT_TRUE(p.ok);
    Faceting& f = *p.faceting;
    // A quadrilateral through two rectangles' worth of edge classes, each once, and a face in
    // another plane that uses both of them once and a third class twice.
    FacetingFace* a = nullptr;
    FacetingFace* b = nullptr;
    for (FacetingFace* x : AllFaces(f))
        for (FacetingFace* y : AllFaces(f))
        {
            if (a || x->mPlane == y->mPlane || x->GetNumUses() != 2 || y->GetNumUses() != 3)
                continue;
            if (x->mUses[0].mNumHits != 1 || x->mUses[1].mNumHits != 1)
                continue;
            int shared = 0, closing = 0;
            for (const FaceUse& u : y->mUses)
            {
                const bool inX = u.mEdge == x->mUses[0].mEdge || u.mEdge == x->mUses[1].mEdge;
                shared += inX && u.mNumHits == 1;
                closing += !inX && u.mNumHits == 2;
            }
            if (shared == 2 && closing == 1)
                a = x, b = y;
        }
    ASSERT_NE(a, nullptr);

    EXPECT_TRUE(f.CanAddFace(a, 0));
    EXPECT_FALSE(f.CanAddFace(a, kFacetingFaceSpiky | a->mFlags));
    f.AddFace(a);
    EXPECT_EQ(f.mNumFacets, 1);
    EXPECT_EQ(f.mFirstFacet, a);
    EXPECT_TRUE(a->mFlags & kFacetingFaceUsed);
    EXPECT_EQ(f.mNumOpenEdges, 2);
    EXPECT_EQ(f.mFirstOpenEdge, a->mUses[0].mEdge);
    EXPECT_EQ(f.mLastOpenEdge, a->mUses[1].mEdge);
    EXPECT_EQ(f.mFirstOpenEdge->mOpenedBy, &a->mUses[0]);
    EXPECT_EQ(f.mNumVertexTypesUsed, 1);
    EXPECT_GT(f.mVertexTypeUses[0], 0);
    // A facet in the plane of the opener may not share its open edges.
    for (FacetingFace* x : Faces(a->mPlane))
        if (x != a && (x->mUses[0].mEdge == a->mUses[0].mEdge || x->mUses[0].mEdge == a->mUses[1].mEdge))
        {
            EXPECT_FALSE(f.CanAddFace(x, 0));
        }

    ASSERT_TRUE(f.CanAddFace(b, 0));
    f.AddFace(b);
    EXPECT_EQ(f.mNumFacets, 2);
    EXPECT_EQ(f.mNumOpenEdges, 0);
    EXPECT_EQ(f.mFirstOpenEdge, nullptr);
    for (const FaceUse& u : b->mUses)
    {
        EXPECT_TRUE(u.mEdge->mFlags & kFacetingEdgeClosed);
        EXPECT_EQ(u.mEdge->mClosedBy, &u);
        // A class closed by one facet alone was opened by it too.
        EXPECT_EQ(u.mEdge->mOpenedBy->mFace, u.mNumHits == 2 ? b : a);
    }
    // Closed edges take no more facets.
    EXPECT_FALSE(f.CanAddFace(a, 0));

    f.RemoveFace(b);
    EXPECT_EQ(f.mNumFacets, 1);
    EXPECT_EQ(f.mLastFacet, a);
    EXPECT_FALSE(b->mFlags & kFacetingFaceUsed);
    EXPECT_EQ(f.mNumOpenEdges, 2);
    for (const FaceUse& u : b->mUses)
    {
        if (u.mNumHits == 2)
        {
            EXPECT_EQ(u.mEdge->mFlags & (kFacetingEdgeOpen | kFacetingEdgeClosed), 0u);
        }
        else
        {
            EXPECT_TRUE(u.mEdge->mFlags & kFacetingEdgeOpen);
            EXPECT_EQ(u.mEdge->mOpenedBy->mFace, a);
            EXPECT_EQ(u.mEdge->mClosedBy, nullptr);
        }
    }
    f.RemoveFace(a);
    EXPECT_EQ(f.mNumFacets, 0);
    EXPECT_EQ(f.mFirstFacet, nullptr);
    EXPECT_EQ(f.mNumOpenEdges, 0);
    EXPECT_EQ(f.mNumVertexTypesUsed, 0);
    EXPECT_EQ(f.mVertexTypeUses[0], 0);
    for (const FacetingEdge* e : Edges(f))
    {
        EXPECT_EQ(e->mFlags & (kFacetingEdgeOpen | kFacetingEdgeClosed), 0u);
        EXPECT_EQ(e->mOpenedBy, nullptr);
    }
    for (const FacetPlane* plane : Planes(f))
        for (const FacetPlaneVert* v = plane->mFirstVert; v; v = v->next)
            EXPECT_EQ(v->mUseCount, 0);
    EXPECT_EQ(InternalErrors(scripted.services), "");
}

TEST_F(FacetingPreparationTest, RemovingFacetsResetsTheUnitingDepthAndCountsUnmatchedMirrors)
{
    Prepared p = Prepare("3.5.3.5");
    ASSERT_TRUE(p.ok);
    Faceting& f = *p.faceting;
    std::vector<FacetingFace*> chiral;
    for (FacetingFace* face : AllFaces(f))
        if (face->mMirror != face && !(face->mFlags & kFacetingFaceChiralSecond))
            chiral.push_back(face);
    ASSERT_GE(chiral.size(), 2u);
    FacetingFace* first = chiral[0];
    FacetingFace* other = chiral[1];

    f.AddFace(first);
    EXPECT_EQ(f.mNumUnmatchedChirals, 1);
    f.AddFace(first->mMirror);
    EXPECT_EQ(f.mNumUnmatchedChirals, 0);
    f.AddFace(other);
    EXPECT_EQ(f.mNumUnmatchedChirals, 1);
    f.mUnitingFace = 3;
    f.RemoveFace(other);
    EXPECT_EQ(f.mUnitingFace, INT_MAX);
    EXPECT_EQ(f.mNumUnmatchedChirals, 0);
    f.RemoveFace(first->mMirror);
    EXPECT_EQ(f.mUnitingFace, -1);
    EXPECT_EQ(f.mNumUnmatchedChirals, 1);
    f.RemoveFace(first);
    EXPECT_EQ(f.mNumUnmatchedChirals, 0);
    EXPECT_EQ(f.mNumFacets, 0);
}

TEST_F(FacetingPreparationTest, TidyCriteriaRefuseAFacetSharingAVertexInItsPlane)
{
    // The pentagon and the pentagram of the icosahedron's vertex-figure planes use the same five
    // vertices and different edge classes.
    for (int criterion : {kFacetingTidy, kFacetingCoplanarVerts})
    {
        SCOPED_TRACE(criterion);
        GetFacetingSettings().criterion = criterion;
        Prepared p = Prepare("3.3.3.3.3");
        ASSERT_TRUE(p.ok);
        const std::vector<FacetingFace*> pentagons = Faces(Planes(*p.faceting)[1]);
        ASSERT_EQ(pentagons.size(), 2u);
        p.faceting->AddFace(pentagons[0]);
        EXPECT_EQ(p.faceting->CanAddFace(pentagons[1], 0), criterion == kFacetingCoplanarVerts);
        p.faceting->RemoveFace(pentagons[0]);
        EXPECT_TRUE(p.faceting->CanAddFace(pentagons[1], 0));
        // Only spiky facetings: a facet with an edge in an outermost plane is refused.
        GetFacetingSettings().options = kFacetingSpikyOnly;
        EXPECT_FALSE(p.faceting->CanAddFace(pentagons[0], 0));
        GetFacetingSettings().options = 0;
    }
}

// In a plane through the centre that a half-turn turns over, a facet and its turned-over copy are
// always used together. The tidy rule drops a facet whose copy shares a vertex with it; the other
// criteria drop one whose copy shares a side with it, and keep everything the tidy rule keeps.
TEST_F(FacetingPreparationTest, FacetsTurnedOverByAHalfTurnNeverShareASideWithThemselves)
{
    int checked = 0, keptBeyondTidy = 0;
    const ModelCase kModels[] = {{"cuboctahedron", "3.4.3.4", false},
                                 {"octahemioctahedron", "3.6.3/2.6", false},
                                 {"truncated octahedron", "4.6.6", false},
                                 {"icosidodecahedron", "3.5.3.5", false},
                                 {"rhombic triacontahedron", "3.5.3.5", true},
                                 {"rhombicuboctahedron", "3.4.4.4", false}};
    for (const ModelCase& c : kModels)
    {
        SCOPED_TRACE(c.name);
        GetFacetingSettings().criterion = kFacetingTidy;
        Prepared tidy = Prepare(c.config, c.dual);
        GetFacetingSettings().criterion = kFacetingCoplanarVerts;
        ScopedScriptedServices scripted;
        Prepared coplanar = Prepare(c.config, c.dual);
        ASSERT_TRUE(tidy.ok && coplanar.ok);
        EXPECT_EQ(InternalErrors(scripted.services), "");

        std::vector<std::vector<Vec3D>> kept;
        for (const FacetingFace* face : AllFaces(*coplanar.faceting))
            kept.push_back(Points(face));
        const Mat3 identity;
        for (const FacetingFace* face : AllFaces(*tidy.faceting))
        {
            bool found = false;
            for (const std::vector<Vec3D>& k : kept)
                found = found || MapsPolygon(identity, Points(face), k);
            EXPECT_TRUE(found) << FacetingFace::GetLabel(face);
        }

        for (const FacetingFace* face : AllFaces(*coplanar.faceting))
        {
            const FacetPlane* plane = face->mPlane;
            if (!(plane->mFlags & kFacetPlaneHemi) || (face->mFlags & kFacetingFaceTurnedOver))
                continue;
            const std::vector<Side> sides = SidesOf(Points(face));
            ++checked;
            bool sharesVertex = false;
            Mat3 half = TurnAbout(*plane->mHalfTurnAxis, kPi);
            for (int k = 0; k < plane->mNumRots; ++k)
            {
                Mat3 turn = TurnAbout(plane->mNormal, 2.0 * kPi * k / plane->mNumRots), m;
                Mat3Mul(m, turn, half);
                for (const Side& s : sides)
                {
                    Side image;
                    m.Transform(image.first, s.first);
                    m.Transform(image.second, s.second);
                    for (const Side& t : sides)
                    {
                        EXPECT_FALSE(SameSide(image, t)) << FacetingFace::GetLabel(face);
                        sharesVertex = sharesVertex || Vec3Equal(image.first, t.first, 1e-7);
                    }
                }
            }
            keptBeyondTidy += sharesVertex;
        }
    }
    // The rule was met, and kept facets that the tidy rule drops.
    EXPECT_GT(checked, 0);
    EXPECT_GT(keptBeyondTidy, 0);
}

TEST_F(FacetingPreparationTest, WithoutASymmetryGroupThereIsNoFacetingAndNothingShows)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("4.4.4");
    ASSERT_NE(model, nullptr);
    scripted.services.Clear();
    Faceting& f = model->poly.GetFaceStellation()->mFaceting;
    FaceType* types = model->poly.GetVertStellation()->mFirstFaceType;
    EXPECT_FALSE(f.CreateFaceting(nullptr, types));
    std::unique_ptr<SymGroup> group = std::move(model->poly.mGroup);
    EXPECT_FALSE(f.CreateFaceting(&model->poly, types));
    EXPECT_TRUE(scripted.services.calls.empty());
    EXPECT_EQ(scripted.services.progressOpened, 0);
    ExpectCleared(f);
    model->poly.mGroup = std::move(group);
}

TEST_F(FacetingPreparationTest, ACancelLeavesTheFacetingCleared)
{
    const ProgressClock previous = SetProgressClock(FakeClock);
    bool prepared = false;
    bool cancelledCreatingPlanes = false;
    for (int pump = 0; pump < 400 && !prepared; ++pump)
    {
        SCOPED_TRACE("cancel at pump " + std::to_string(pump));
        ScopedScriptedServices scripted;
        auto model = BuildModel("3.5.3.5");
        ASSERT_NE(model, nullptr);
        scripted.services.Clear();
        scripted.services.progressUpdates.clear();
        scripted.services.cancelAtPump = scripted.services.progressPumps + pump;
        Faceting& f = model->poly.GetFaceStellation()->mFaceting;
        prepared = f.CreateFaceting(&model->poly, model->poly.GetVertStellation()->mFirstFaceType);
        EXPECT_FALSE(InProgress());
        EXPECT_EQ(InternalErrors(scripted.services), "");
        if (prepared)
            break;
        ExpectCleared(f);
        std::string caption;
        for (const ProgressDisplay& d : scripted.services.progressUpdates)
            if (d.setCaption)
                caption = d.caption;
        char planes[96];
        for (int n = 0; n < 40 && !cancelledCreatingPlanes; ++n)
        {
            std::snprintf(planes, sizeof(planes), "Faceting preparation: creating planes\n%d planes so far", n);
            cancelledCreatingPlanes = caption == planes;
        }
    }
    SetProgressClock(previous);
    EXPECT_TRUE(prepared);
    EXPECT_TRUE(cancelledCreatingPlanes);
}

TEST_F(FacetingPreparationTest, ProgressNamesEachStep)
{
    const ProgressClock previous = SetProgressClock(FakeClock);
    ScopedScriptedServices scripted;
    auto model = BuildModel("4.6.8");
    ASSERT_NE(model, nullptr);
    scripted.services.progressUpdates.clear();
    Faceting& f = model->poly.GetFaceStellation()->mFaceting;
    ASSERT_TRUE(f.CreateFaceting(&model->poly, model->poly.GetVertStellation()->mFirstFaceType));
    SetProgressClock(previous);
    std::set<std::string> captions;
    for (const ProgressDisplay& d : scripted.services.progressUpdates)
        if (d.setCaption)
            captions.insert(d.caption);
    for (const char* text : {"Faceting preparation: creating edges", "Faceting preparation: creating faces\nPost-processing",
                             "Faceting preparation: creating faces\nCalculating face areas",
                             "Faceting preparation: creating faces\nSorting faces",
                             "Faceting preparation: Labeling spiky facets"})
        EXPECT_TRUE(captions.count(text)) << text;
    const std::string planes = "Faceting preparation: creating planes\n";
    bool counted = false;
    for (const std::string& c : captions)
        counted = counted || (c.rfind(planes, 0) == 0 && c.size() > planes.size() + 14 &&
                              c.substr(c.size() - 14) == " planes so far" &&
                              std::isdigit(static_cast<unsigned char>(c[planes.size()])));
    EXPECT_TRUE(counted);
    // The 100th face walked while pairing mirror images is named with the plane and face counts.
    char partners[128];
    std::snprintf(partners, sizeof(partners), "/%d-%d", f.mNumPlanes, f.mNumFaces);
    bool named = false;
    for (const std::string& c : captions)
        named = named || (c.rfind("Faceting preparation: creating faces\nFinding chiral partners, face ", 0) == 0 &&
                          c.find(partners) != std::string::npos);
    EXPECT_TRUE(named);
}

TEST_F(FacetingPreparationTest, TheCurrentFacetingIsThatOfTheSideShown)
{
    ModelRecordList records;
    records.mCurrent = records.NewRecord();
    SetDocumentModelRecords(&records);
    PolyTemplate templ;
    Poly& poly = records.mCurrent->mPoly;
    ASSERT_TRUE(templ.Parse("4.4.4", false) && poly.PrepareFromTemplate(&templ, 0));

    EXPECT_EQ(GetCurrentFaceting(), &poly.GetFaceStellation()->mFaceting);
    ASSERT_TRUE(GetCurrentFaceting()->CreateForCurrentModel());
    EXPECT_EQ(poly.GetFaceStellation()->mFaceting.mNumEdges, 2);  // the cube's vertices

    // The dual side facets the dual: the octahedron at the cube's face centres.
    poly.SetShowDual(true);
    Faceting* dual = GetCurrentFaceting();
    EXPECT_EQ(dual, &poly.GetVertStellation()->mFaceting);
    ASSERT_TRUE(dual->CreateForCurrentModel());
    EXPECT_EQ(dual->mNumEdges, 1);
    EXPECT_EQ(dual->mNumPlanes, 2);
    for (const FacetingEdge* e : Edges(*dual))
        EXPECT_FALSE(e->mVertA->IsVert());
    SetDocumentModelRecords(nullptr);
    EXPECT_EQ(GetCurrentFaceting(), nullptr);
}
