#include "DiagramChecks.h"

#include "stellation/DiagramFacets.h"
#include "stellation/FaceTypePreparation.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
struct ModelCase
{
    const char* name;
    const char* config;
    bool dual;  // the vertex side: the dual's face stellation
};

Stellation* SideOf(BuiltModel& model, bool dual)
{
    return dual ? model.poly.GetVertStellation() : model.poly.GetFaceStellation();
}

int CountFacets(const FaceType* type)
{
    int n = 0;
    for (const StellationFacet* f = type->mFacets; f; f = f->next)
        ++n;
    return n;
}

int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 10000;  // every step late enough to show the window and pump it
}
}  // namespace

TEST(StellationDiagram, EveryDiagramIsAPlanarSubdivisionGroupedIntoSymmetricFacets)
{
    const ModelCase kModels[] = {
        {"tetrahedron", "3.3.3", false},
        {"cube", "4.4.4", false},
        {"octahedron", "3.3.3.3", false},
        {"dodecahedron", "5.5.5", false},
        {"icosahedron", "3.3.3.3.3", false},
        {"truncated tetrahedron", "3.6.6", false},
        {"cuboctahedron", "3.4.3.4", false},
        {"truncated cube", "3.8.8", false},
        {"truncated octahedron", "4.6.6", false},
        {"rhombicuboctahedron", "3.4.4.4", false},
        {"truncated cuboctahedron", "4.6.8", false},
        {"snub cube", "3.3.3.3.4", false},
        {"icosidodecahedron", "3.5.3.5", false},
        {"truncated dodecahedron", "3.10.10", false},
        {"truncated icosahedron", "5.6.6", false},
        {"rhombicosidodecahedron", "3.4.5.4", false},
        {"truncated icosidodecahedron", "4.6.10", false},
        {"snub dodecahedron", "3.3.3.3.5", false},
        {"rhombic triacontahedron", "3.5.3.5", true},
        {"small stellated dodecahedron", "5/2.5/2.5/2.5/2.5/2", false},
        {"great icosahedron", "(3.3.3.3.3)/2", false},
        {"great dodecahedron", "(5.5.5.5.5)/2", false},
        {"tetrahemihexahedron", "3.4.3/2.4", false},
        {"octahemioctahedron", "3.6.3/2.6", false},
        {"cubohemioctahedron", "4.6.4/3.6", false},
        {"great snub dodecicosidodecahedron", "5/2.3.3.3.3.3", false},
    };
    for (const ModelCase& c : kModels)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = SideOf(*model, c.dual);
        ASSERT_TRUE(BuildDiagrams(st)) << InternalErrors(scripted.services);
        EXPECT_EQ(InternalErrors(scripted.services), "");
        for (const FaceType* t : PlaneTypes(st))
        {
            SCOPED_TRACE("type " + std::to_string(t->mIndex));
            const DiagramCounts counts = CheckPlanarSubdivision(t);
            EXPECT_EQ(counts.verts - counts.segments + counts.regions, 1);
            EXPECT_GE(counts.regions, 1);
            CheckFacets(t);
        }
        // A coplanar copy lends its source's diagram.
        for (const FaceType* t = st->mFirstFaceType; t; t = t->mNextFaceType)
            if (t->mCoplanarSource)
            {
                EXPECT_EQ(t->mFacets, t->mCoplanarSource->mFacets);
                EXPECT_EQ(t->mLineEqns, t->mCoplanarSource->mLineEqns);
            }
    }
}

TEST(StellationDiagram, PlatonicDiagramsHaveALineForEveryPlaneNotParallelToTheFace)
{
    const struct
    {
        const char* name;
        const char* config;
        int lines;
        int regions;  // the bounded regions of the published diagrams
    } kCases[] = {{"tetrahedron", "3.3.3", 3, 1},
                  {"cube", "4.4.4", 4, 1},
                  {"octahedron", "3.3.3.3", 6, 4},
                  {"dodecahedron", "5.5.5", 10, 16},
                  {"icosahedron", "3.3.3.3.3", 18, 67}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = model->poly.GetFaceStellation();
        ASSERT_TRUE(BuildDiagrams(st));
        const std::vector<FaceType*> types = PlaneTypes(st);
        ASSERT_EQ(types.size(), 1u);
        EXPECT_EQ(types[0]->GetNumLines(), c.lines);
        EXPECT_EQ(types[0]->mNumRegions, c.regions);
        // Every line is made by a face of the model, one face per line.
        std::set<const FaceVert*> makers;
        for (const StellationLine* l = types[0]->mLineEqns; l; l = l->mNext)
        {
            EXPECT_EQ(l->mFace, l->mFace2);
            EXPECT_TRUE(makers.insert(l->mFace).second);
        }
        EXPECT_FALSE(types[0]->mFlags & kFaceTypeDuplicateLine);
    }
}

TEST(StellationDiagram, OctahedronDiagramIsTheFaceAndTheTrianglesThatMakeTheStellaOctangula)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    ASSERT_TRUE(BuildDiagrams(st));
    const FaceType* type = PlaneTypes(st).at(0);
    ASSERT_EQ(type->mNumRegions, 4);
    ASSERT_EQ(CountFacets(type), 2);

    // The central facet is the face itself: its corners in the face's frame.
    const StellationFacet* central = type->mFacets;
    EXPECT_EQ(central->mRing, 0);
    EXPECT_EQ(central->mRegions[0], type->mInnermostRegion);
    EXPECT_EQ(central->mRegions[1], nullptr);
    EXPECT_EQ(central->mRegions[2], nullptr);
    std::vector<Vec2D> corners;
    const FaceVert* face = type->mFirstFace;
    const Transform3D toFace = face->GetWorldToLocal(false);
    for (int i = 0; i < face->mNumSides; ++i)
    {
        Vec3D p;
        toFace.Apply(p, face->mNeighbours[i]->mPoint);
        corners.push_back(Vec2D{p.x, p.y});
    }
    EXPECT_TRUE(SamePointSet(RegionPoints(central->mRegions[0]), corners));

    // The other: three triangles, each a corner of the face beyond one of its edges, together with
    // the face the large triangle of the stella octangula (twice the face, turned half round).
    const StellationFacet* outer = central->next;
    EXPECT_EQ(outer->mRing, 1);
    std::vector<Vec2D> big;
    for (const Vec2D& p : corners)
        big.push_back(Vec2D{-2.0 * p.x, -2.0 * p.y});
    for (const StellationRegion* r : outer->mRegions)
    {
        ASSERT_NE(r, nullptr);
        const std::vector<Vec2D> points = RegionPoints(r);
        ASSERT_EQ(points.size(), 3u);
        int onBig = 0;
        for (const Vec2D& p : points)
            onBig += SamePointSet({p}, {big[0]}) || SamePointSet({p}, {big[1]}) || SamePointSet({p}, {big[2]});
        EXPECT_EQ(onBig, 1);
    }
}

TEST(StellationDiagram, LinksAndCoincidenceRingsAreGeometry)
{
    const ModelCase kModels[] = {
        {"icosahedron", "3.3.3.3.3", false},
        {"dodecahedron", "5.5.5", false},
        {"rhombic triacontahedron", "3.5.3.5", true},
        {"snub cube", "3.3.3.3.4", false},
        {"octahemioctahedron", "3.6.3/2.6", false},
        {"tetrahemihexahedron", "3.4.3/2.4", false},
    };
    for (const ModelCase& c : kModels)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = SideOf(*model, c.dual);
        ASSERT_TRUE(BuildDiagrams(st)) << InternalErrors(scripted.services);
        for (const FaceType* t : PlaneTypes(st))
        {
            SCOPED_TRACE("type " + std::to_string(t->mIndex));
            CheckLinks(t);
            // A line's neighbours are lines of the types of the faces that make it.
            for (const StellationLine* l = t->mLineEqns; l; l = l->mNext)
            {
                ASSERT_NE(l->mOuterNeighbour, nullptr);
                EXPECT_EQ(l->mOuterNeighbour->mFaceType, l->mFace->mFaceType);
                EXPECT_EQ(l->mInnerNeighbour->mFaceType, l->mFace2->mFaceType);
            }
        }
        CheckCoincidenceRings(st, *model->poly.mGroup);
    }
}

TEST(StellationDiagram, LinesInAMirrorPlaneAreMarked)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    ASSERT_TRUE(BuildDiagrams(st));
    const FaceType* type = PlaneTypes(st).at(0);
    const SymGroup& group = *model->poly.mGroup;
    int marked = 0;
    for (const StellationLine* l = type->mLineEqns; l; l = l->mNext)
    {
        // In space the line is where the two planes meet: in a mirror plane when some mirror holds
        // a point of it and its direction.
        const Vec3D a = InSpace(type->mFirstFace, l->mFirstEdge->mStart->mPos);
        bool inMirror = false;
        for (int m = 0; m < group.mMirrors.count; ++m)
            inMirror = inMirror || (std::fabs(Vec3Dot(group.mMirrors[m].mDir, a)) < 1e-9 &&
                                    std::fabs(Vec3Dot(group.mMirrors[m].mDir, l->mDir)) < 1e-9);
        EXPECT_EQ((l->mFlags & kLineInMirrorPlane) != 0, inMirror);
        marked += inMirror;
    }
    // The lines through the face's edges among them, never every line.
    EXPECT_GE(marked, 3);
    EXPECT_LT(marked, type->GetNumLines());
}

TEST(StellationDiagram, MirrorImageTypesNumberTheirFacetsInStep)
{
    ScopedScriptedServices scripted;
    Poly poly;
    BuildPoly(poly, ConvexSpec(RhombicBipyramidPoints()), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, [](const FaceVert* f) {
        return f->mCentroid.x * f->mCentroid.y * f->mCentroid.z > 0.0 ? 1 : 2;
    });
    MakeTypesBy(poly, true, [](const FaceVert* v) { return Vec3MaxAxis(v->mPoint); });
    SetGroup(poly, SymGroup::kDihedral, 2, true);
    for (FaceType* t : types)
    {
        t->EstimateRotOrder();
        SetRotSymAndReorientAxes(t, poly.mGroup.get());
    }
    for (FaceType* t : types)
        CheckReflectivity(t);
    FaceType* earlier = types[0];
    FaceType* later = types[1];
    ASSERT_EQ(later->mMirrorFace, earlier);
    ASSERT_TRUE(later->HasEarlierMirror());

    Stellation* st = poly.GetFaceStellation();
    ASSERT_TRUE(BuildDiagrams(st)) << InternalErrors(scripted.services);
    ASSERT_EQ(CountFacets(earlier), CountFacets(later));
    ASSERT_GT(CountFacets(earlier), 1);
    Mat3 reflection;
    ASSERT_NE(poly.mGroup->GetReflectionMatrix(reflection), nullptr);
    const StellationFacet* mine = later->mFacets;
    for (const StellationFacet* theirs = earlier->mFacets; theirs; theirs = theirs->next, mine = mine->next)
    {
        SCOPED_TRACE("facet " + std::to_string(theirs->mIndex));
        EXPECT_EQ(mine->mIndex, theirs->mIndex);
        EXPECT_EQ(mine->mRing, theirs->mRing);
        EXPECT_EQ(theirs->mMirror, mine);
        EXPECT_EQ(mine->mMirror, theirs);
        // In space, the reflection of the earlier facet's region lies on a face of the later type,
        // where that face's frame shows the later facet's region.
        std::vector<Vec3D> image;
        for (const Vec2D& p : RegionPoints(theirs->mRegions[0]))
        {
            Vec3D q;
            reflection.Transform(q, InSpace(earlier->mFirstFace, p));
            image.push_back(q);
        }
        bool found = false;
        for (const FaceVert* f = later->mFirstFace; f && !found; f = f->mNextOfType)
        {
            const Transform3D toFace = f->GetWorldToLocal(false);
            std::vector<Vec2D> inFace;
            bool onPlane = true;
            for (const Vec3D& q : image)
            {
                Vec3D local;
                toFace.Apply(local, q);
                onPlane = onPlane && std::fabs(local.z) < 1e-9;
                inFace.push_back(Vec2D{local.x, local.y});
            }
            found = onPlane && SamePointSet(RegionPoints(mine->mRegions[0]), inFace);
        }
        EXPECT_TRUE(found);
    }
    CheckFacets(earlier);
    CheckFacets(later);
    CheckLinks(earlier);
    CheckLinks(later);
}

TEST(StellationDiagram, HemiFacetsPairUnderTheHalfTurnAboutTheAxisInTheirPlane)
{
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.6.3/2.6");
    ASSERT_NE(model, nullptr);
    Stellation* st = model->poly.GetFaceStellation();
    ASSERT_TRUE(BuildDiagrams(st));
    SetHemiSelfPointers(st);
    EXPECT_EQ(InternalErrors(scripted.services), "");
    int hemiTypes = 0;
    for (const FaceType* t : PlaneTypes(st))
    {
        const bool hemi = (t->mFirstFace->mFlags & FaceVert::kHemi) != 0;
        hemiTypes += hemi;
        for (const StellationFacet* f = t->mFacets; f; f = f->next)
        {
            if (!hemi)
            {
                EXPECT_EQ(f->mHemiPartner, nullptr);
                continue;
            }
            // The half turn about the 2-fold axis in the hexagon's plane reflects the diagram across
            // the axis line.
            ASSERT_NE(f->mHemiPartner, nullptr);
            EXPECT_EQ(f->mHemiPartner->mHemiPartner, f);
            std::vector<Vec2D> image;
            for (const Vec2D& p : RegionPoints(f->mRegions[0]))
                image.push_back(Reflected(p, t->mHemiDir));
            bool found = false;
            for (const StellationRegion* r : f->mHemiPartner->mRegions)
                found = found || (r && SamePointSet(RegionPoints(r), image));
            EXPECT_TRUE(found) << "facet " << f->mIndex;
        }
        if (hemi)
        {
            // The axis in the plane is a 2-fold axis of the octahedral group.
            const SymAxis* axis = t->FindHemiAxis();
            ASSERT_NE(axis, nullptr);
            EXPECT_NEAR(std::fabs(Vec3Dot(axis->mDir, t->mFirstFace->mZAxis)), 0.0, 1e-9);
            // The other hexagons' planes pass through the centre too: it is a vertex of the
            // diagram, and the sectors round it pair up across the axis line, none its own partner
            // unless the line runs through it.
            const StellationRegion* innermost = t->mInnermostRegion;
            bool centralVertex = false;
            for (const Vec2D& p : RegionPoints(innermost))
                centralVertex = centralVertex || (std::fabs(p.x) < 1e-9 && std::fabs(p.y) < 1e-9);
            EXPECT_TRUE(centralVertex);
        }
    }
    EXPECT_EQ(hemiTypes, 1);
}

TEST(StellationDiagram, PlanesThatEncloseNothingAreReported)
{
    // The top of a cube whose other planes cut it in parallel lines only: strips, nothing bounded.
    const struct
    {
        const char* name;
        std::vector<std::pair<Vec3D, Vec3D>> planes;  // normal and foot of faces 2 to 5
        const char* message;
    } kCases[] = {
        {"parallel lines", {{{1, 0, 0}, {1, 0, 0}}, {{-1, 0, 0}, {-1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}, {{-1, 0, 0}, {-3, 0, 0}}},
         "Stellation planes don't enclose any space"},
        {"no line at all", {{{0, 0, 1}, {0, 0, 2}}, {{0, 0, 1}, {0, 0, 3}}, {{0, 0, -1}, {0, 0, -2}}, {{0, 0, 1}, {0, 0, 4}}},
         "Only one big segment"},
    };
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        int k = 0;
        std::vector<FaceVert*> faces;
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            faces.push_back(f);
        for (size_t i = 2; i < faces.size(); ++i, ++k)
        {
            faces[i]->mZAxis = c.planes[size_t(k)].first;
            faces[i]->mCentre = c.planes[size_t(k)].second;
        }
        std::vector<FaceType*> types = MakeTypesBy(poly, false, [](const FaceVert* f) { return f->mIndex; });
        FaceType* top = types[1];
        ASSERT_EQ(top->mFirstFace->mZAxis.z, 1.0);
        {
            ProgressScope progress;
            EXPECT_FALSE(top->CreateDiagram(0, 1));
        }
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->caption, "Internal Error");
        EXPECT_EQ(call->text, c.message);
        // Nothing unbounded is left behind.
        EXPECT_EQ(top->mNumRegions, 0);
        EXPECT_EQ(top->mFirstRegion, nullptr);
        EXPECT_EQ(top->mOuterVerts, nullptr);
        EXPECT_EQ(top->mVerts, nullptr);
        EXPECT_EQ(top->mLineEqns, nullptr);
    }
}

TEST(StellationDiagram, PlanesThroughOneLineKeepTheNearestOnEitherSide)
{
    // In the top plane z = 1 three planes meet along x = 1: the side x = 1, and two planes tilted
    // 45 degrees either way about that line. The tilted ones lie nearest the top plane, one each
    // way round; the upright one is the third. The faces take the planes in every order.
    const double r = std::sqrt(0.5);
    const std::pair<Vec3D, Vec3D> upright{{1, 0, 0}, {1, 0, 0}};
    const std::pair<Vec3D, Vec3D> outward{{r, 0, r}, {1, 0, 1}};
    const std::pair<Vec3D, Vec3D> inward{{r, 0, -r}, {0, 0, 0}};
    std::vector<std::pair<Vec3D, Vec3D>> planes = {upright, outward, inward};
    std::sort(planes.begin(), planes.end(), [](const auto& a, const auto& b) { return a.first.z < b.first.z; });
    do
    {
        ScopedScriptedServices scripted;
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        std::vector<FaceVert*> faces;
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            faces.push_back(f);
        faces[2]->mCentre = Vec3D{0, 0, 5};
        faces[2]->mZAxis = Vec3D{0, 0, 1};
        for (int i = 0; i < 3; ++i)
        {
            faces[size_t(3 + i)]->mZAxis = planes[size_t(i)].first;
            faces[size_t(3 + i)]->mCentre = planes[size_t(i)].second;
        }
        std::vector<FaceType*> types = MakeTypesBy(poly, false, [](const FaceVert* f) { return f->mIndex; });
        FaceType* top = types[1];
        ASSERT_TRUE(top->CreateLines());
        ASSERT_EQ(top->GetNumLines(), 1);
        const StellationLine* line = top->mLineEqns;
        EXPECT_TRUE(top->mFlags & kFaceTypeDuplicateLine);
        auto plane = [&](const FaceVert* f) { return f ? f->mZAxis : Vec3D{}; };
        const std::set<double> kept = {plane(line->mFace).z, plane(line->mFace2).z};
        EXPECT_EQ(kept, (std::set<double>{r, -r}));
        ASSERT_NE(line->mFace3, nullptr);
        EXPECT_EQ(plane(line->mFace3).z, 0.0);
        // Found by its equation either way round, within 1e-7.
        const double* q = line->mEqn;
        EXPECT_EQ(top->FindLine(-q[0], -q[1] + 5e-8, -q[2]), line);
        EXPECT_EQ(top->FindLine(q[0], q[1], q[2] + 2e-7), nullptr);
        EXPECT_EQ(top->FindLineExact(q[0], q[1], q[2]), line);
        EXPECT_EQ(top->FindLineExact(-q[0], -q[1], -q[2]), nullptr);
        // Lines exist now: a second call is an error.
        EXPECT_FALSE(top->CreateLines());
        EXPECT_EQ(scripted.services.LastCall("MessageBox")->text, "CreateLines: mLineEqns != NULL");
    } while (std::next_permutation(planes.begin(), planes.end(),
                                   [](const auto& a, const auto& b) { return a.first.z < b.first.z; }));
}

TEST(StellationDiagram, SlightlyInaccurateModelsBuildOrStopWithAnInternalError)
{
    const std::set<std::string> kKnown = {
        "InsertLine failed.  Maybe model is not accurate enough?",
        "Couldn't find line in other plane",
        "Stellation failed.  Model is probably either\ntoo complex or not accurate enough.",
        "Other plane says faces don't intersect!",
    };
    std::mt19937 random(44);
    for (const char* config : {"3.3.3.3.3", "3.5.3.5", "3.3.3.3.4"})
        for (double size : {1e-9, 3e-8, 1e-7, 1e-6})
        {
            SCOPED_TRACE(std::string(config) + " moved by " + std::to_string(size));
            ScopedScriptedServices scripted;
            auto model = BuildModel(config);
            ASSERT_NE(model, nullptr);
            std::uniform_real_distribution<double> jitter(-size, size);
            for (FaceVert* f = model->poly.mFaces.mFirst; f; f = f->mNext)
            {
                for (double* v : {&f->mCentre.x, &f->mCentre.y, &f->mCentre.z, &f->mZAxis.x, &f->mZAxis.y})
                    *v += jitter(random);
                Vec3Normalize(f->mZAxis);
            }
            Stellation* st = model->poly.GetFaceStellation();
            if (BuildDiagrams(st))
            {
                for (const FaceType* t : PlaneTypes(st))
                {
                    const DiagramCounts counts = CheckPlanarSubdivision(t);
                    EXPECT_EQ(counts.verts - counts.segments + counts.regions, 1);
                }
            }
            else
            {
                const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
                ASSERT_NE(call, nullptr);
                EXPECT_EQ(call->caption, "Internal Error");
            }
            for (const ScriptedServices::Call& call : scripted.services.calls)
            {
                if (call.caption == "Internal Error" && !kKnown.count(call.text))
                {
                    EXPECT_TRUE(call.text.rfind("CreateFacets", 0) == 0 || call.text.rfind("Couldn't find", 0) == 0)
                        << call.text;
                }
            }
            st->Free(false);
        }
}

TEST(StellationDiagram, ProgressNamesTheLineAndACancelLeavesATrimmedDiagram)
{
    const ProgressClock previous = SetProgressClock(FakeClock);
    bool built = false;
    for (int pump = 0; pump < 400 && !built; ++pump)
    {
        SCOPED_TRACE("cancel at pump " + std::to_string(pump));
        ScopedScriptedServices scripted;
        scripted.services.cancelAtPump = pump;
        auto model = BuildModel("3.3.3.3.3");
        ASSERT_NE(model, nullptr);
        scripted.services.Clear();
        scripted.services.progressUpdates.clear();
        Stellation* st = model->poly.GetFaceStellation();
        built = BuildDiagrams(st);
        EXPECT_FALSE(InProgress());
        if (built)
            break;
        EXPECT_EQ(InternalErrors(scripted.services), "");
        for (const FaceType* t : PlaneTypes(st))
        {
            // Whatever stage it stopped at, only the bounded part of a diagram is left.
            EXPECT_EQ(t->mOuterVerts, nullptr);
            if (t->mFirstRegion)
            {
                const DiagramCounts counts = CheckPlanarSubdivision(t);
                EXPECT_EQ(counts.verts - counts.segments + counts.regions, 1);
            }
        }
        st->Free(false);
    }
    SetProgressClock(previous);
    EXPECT_TRUE(built);
}

TEST(StellationDiagram, ProgressTextsOfTheStages)
{
    const ProgressClock previous = SetProgressClock(FakeClock);
    ScopedScriptedServices scripted;
    auto model = BuildModel("3.3.3.3.3");
    ASSERT_NE(model, nullptr);
    scripted.services.progressUpdates.clear();
    ASSERT_TRUE(BuildDiagrams(model->poly.GetFaceStellation()));
    SetProgressClock(previous);
    std::set<std::string> captions;
    for (const ProgressDisplay& d : scripted.services.progressUpdates)
        if (d.setCaption)
            captions.insert(d.caption);
    for (const char* text : {"Creating stellation diagram for face type 1 of 1,\nLine 5 of 22.",
                             "Creating stellation diagram for face type 1 of 1,\nLine 22 of 22.",
                             "Linking lines between face types, 1 of 18.", "Linking lines between face types, 18 of 18.",
                             "Creating symmetric facets for face type 1 of 1.",
                             "Joining coincident vertices for face type 1 of 1,\nLine 18 of 18.",
                             "Copying coplanar face type info."})
        EXPECT_TRUE(captions.count(text)) << text;
}

namespace
{
// A face through the centre, flat in z = 0, as the only face of its type, under the octahedral
// group: the 4-fold x axis lies in its plane.
FaceType* CentralFaceType(Poly& poly)
{
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, [](const FaceVert* f) { return f->mIndex; });
    FaceVert* face = types[0]->mFirstFace;
    face->mFlags |= FaceVert::kHemi;
    face->mCentre = Vec3D{};
    face->mZAxis = Vec3D{0, 0, 1};
    face->mXAxis = Vec3D{1, 0, 0};
    face->mYAxis = Vec3D{0, 1, 0};
    SetGroup(poly, SymGroup::kOctahedral, 1, false);
    return types[0];
}

// The square (-1, -1) .. (1, 1) as a diagram of one region, its facet the type's only one.
void BuildSquareDiagram(FaceType& type)
{
    SegVert* v[4];
    StellationEdge* in[4];
    StellationEdge* out[4];
    const double xs[4] = {-1, 1, 1, -1}, ys[4] = {-1, -1, 1, 1};
    StellationRegion* region = new StellationRegion;
    ListAppend(region, type.mFirstRegion, type.mLastRegion);
    type.mNumRegions = 1;
    for (int i = 0; i < 4; ++i)
        v[i] = new SegVert(&type, xs[i], ys[i], type.mVerts);
    for (int i = 0; i < 4; ++i)
    {
        const double dx = xs[(i + 1) % 4] - xs[i], dy = ys[(i + 1) % 4] - ys[i];
        StellationLine* line = new StellationLine(&type, dy, -dx, -(dy * xs[i] - dx * ys[i]), nullptr, type.mLineEqns);
        in[i] = new StellationEdge(region, line, v[i]);
        out[i] = new StellationEdge(nullptr, line, v[(i + 1) % 4]);
        in[i]->mTwin = out[i];
        out[i]->mTwin = in[i];
        v[i]->mEdge = in[i];
    }
    for (int i = 0; i < 4; ++i)
    {
        in[i]->mNext = in[(i + 1) % 4];
        in[(i + 1) % 4]->mPrev = in[i];
        out[(i + 1) % 4]->mNext = out[i];
        out[i]->mPrev = out[(i + 1) % 4];
    }
    region->mEdge = in[0];
    type.mInnermostRegion = region;
    type.mOuterEdge = out[0];
    StellationFacet* facet = new StellationFacet(&type, 0, 0, type.mFacets, type.mLastFacet);
    facet->SetRegion(0, in[0]);
}
}  // namespace

TEST(StellationDiagram, HemiPartnersAroundACentralRegionAndACentralVertex)
{
    {
        SCOPED_TRACE("the centre inside the only region: its own partner");
        ScopedScriptedServices scripted;
        Poly poly;
        FaceType* type = CentralFaceType(poly);
        BuildSquareDiagram(*type);
        SetHemiSelfPointers(poly.GetFaceStellation());
        EXPECT_EQ(type->mFacets->mHemiPartner, type->mFacets);
        EXPECT_NEAR(std::fabs(type->mHemiDir.x), 1.0, 1e-12);
        EXPECT_NEAR(type->mHemiDir.y, 0.0, 1e-12);
        EXPECT_TRUE(scripted.services.calls.empty());
    }
    {
        SCOPED_TRACE("four regions round a vertex at the centre: paired across the axis line");
        ScopedScriptedServices scripted;
        Poly poly;
        FaceType* type = CentralFaceType(poly);
        GridDiagram g = BuildGridDiagram(*type);
        SetHemiSelfPointers(poly.GetFaceStellation());
        const StellationFacet* facets[4];
        for (int i = 0; i < 4; ++i)
            facets[i] = g.regions[size_t(i)]->mFacet;
        // Bottom left with top left, bottom right with top right, both ways.
        EXPECT_EQ(facets[0]->mHemiPartner, facets[2]);
        EXPECT_EQ(facets[2]->mHemiPartner, facets[0]);
        EXPECT_EQ(facets[1]->mHemiPartner, facets[3]);
        EXPECT_EQ(facets[3]->mHemiPartner, facets[1]);
        EXPECT_TRUE(scripted.services.calls.empty());
    }
}
