#include "StellationFixtures.h"

#include "kernel/ScriptedServices.h"
#include "stellation/FaceTypePreparation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
int Everything(const FaceVert*)
{
    return 0;
}

std::vector<FaceVert*> FacesOf(const FaceType* type)
{
    std::vector<FaceVert*> faces;
    for (FaceVert* f = type->mFirstFace; f; f = f->mNextOfType)
        faces.push_back(f);
    return faces;
}

std::string LastInternalError(const ScriptedServices& services)
{
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    return call && call->caption == "Internal Error" ? call->text : std::string();
}

// The plane through the centre that holds the first face's normal and its mirror line maps the
// first face's corners onto themselves.
bool MirrorLineIsASymmetry(const FaceType* type)
{
    const FaceVert* f = type->mFirstFace;
    Vec3D line, normal;
    Vec3Scale(line, f->mXAxis, type->mMirrorDir.x);
    Vec3AddScaledTo(line, type->mMirrorDir.y, f->mYAxis);
    Vec3Cross(normal, f->mZAxis, line);
    if (!Vec3Normalize(normal))
        return false;
    Mat3 reflection;
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            reflection.At(row, col) = (row == col ? 1.0 : 0.0) - 2.0 * normal[row] * normal[col];
    return CornersMapOnto(reflection, f, f);
}

struct SolidCase
{
    const char* name;
    PolySpec spec;
    int kind;
    int n;
    std::map<int, int> faceOrders;  // by side count
    int vertOrder;
    std::map<int, int> faceCounts;
};

std::vector<SolidCase> Solids()
{
    return {
        {"cube", CubeSpec(), SymGroup::kOctahedral, 1, {{4, 4}}, 3, {{4, 6}}},
        {"octahedron", ConvexSpec(OctahedronPoints()), SymGroup::kOctahedral, 1, {{3, 3}}, 4, {{3, 8}}},
        {"icosahedron", ConvexSpec(IcosahedronPoints()), SymGroup::kIcosahedral, 1, {{3, 3}}, 5, {{3, 20}}},
        {"dodecahedron", ConvexSpec(DodecahedronPoints()), SymGroup::kIcosahedral, 1, {{5, 5}}, 3, {{5, 12}}},
        {"pentagonal prism", ConvexSpec(PentagonalPrismPoints()), SymGroup::kDihedral, 5, {{5, 5}, {4, 2}}, 1,
         {{5, 2}, {4, 5}}},
    };
}

void ExpectPrepared(const FaceType* type, const SymGroup& group, int order)
{
    EXPECT_EQ(type->mNumRotations, order);
    if (order > 1)
    {
        ASSERT_NE(type->mAxisClass, nullptr);
        EXPECT_EQ(type->mAxisClass->mOrder, order);
    }
    else
        EXPECT_EQ(type->mAxisClass, nullptr);

    const FaceVert* first = type->mFirstFace;
    for (const FaceVert* f : FacesOf(type))
    {
        // Each face knows the axis through it.
        if (type->mAxisClass)
        {
            ASSERT_GE(f->mTypeMark, 0);
            ASSERT_LT(f->mTypeMark, type->mAxisClass->mNumAxes);
            const Vec3D& axis = type->mAxisClass->mAxes[f->mTypeMark].mDir;
            EXPECT_TRUE(Vec3Equal(axis, f->mZAxis, 1e-6) || Vec3EqualNeg(axis, f->mZAxis, 1e-6));
        }
        // Its frame is the first face's frame under the rotation it names.
        EXPECT_TRUE(IsRightHandedUnitFrame(f));
        EXPECT_EQ(FindFrameRotation(group, first, f), f->mTypeOffset) << "face " << f->mIndex;
    }
    EXPECT_EQ(first->mTypeOffset, 0);
}
}  // namespace

TEST(FaceTypePreparation, SolidsGetTheirRotationOrdersFramesAndMirrors)
{
    for (const SolidCase& c : Solids())
    {
        SCOPED_TRACE(c.name);
        // The orders from the faces alone, before any group is known.
        Poly estimated;
        BuildPoly(estimated, c.spec, false);
        std::vector<FaceType*> faceTypes = MakeTypesBy(estimated, false, BySideCount);
        std::vector<FaceType*> vertTypes = MakeTypesBy(estimated, true, Everything);
        ASSERT_EQ(faceTypes.size(), c.faceOrders.size());
        ASSERT_EQ(vertTypes.size(), 1u);
        for (FaceType* t : faceTypes)
        {
            t->EstimateRotOrder();
            const int sides = t->mFirstFace->mNumSides;
            EXPECT_EQ(t->mNumRotations, c.faceOrders.at(sides)) << sides << "-gons";
            EXPECT_EQ(t->mCount, c.faceCounts.at(sides));
            EXPECT_EQ(int(FacesOf(t).size()), t->mCount);
        }
        vertTypes[0]->SetRotOrderFromNeighbours();
        EXPECT_EQ(vertTypes[0]->mNumRotations, c.vertOrder);

        // The orders from the group, as for a model that comes with its group.
        Poly poly;
        BuildPoly(poly, c.spec, false);
        faceTypes = MakeTypesBy(poly, false, BySideCount);
        vertTypes = MakeTypesBy(poly, true, Everything);
        SetGroup(poly, c.kind, c.n, true);
        ScopedScriptedServices scripted;
        for (FaceType* t : faceTypes)
            SetRotSymAndReorientAxes(t, poly.mGroup.get());
        SetRotSymAndReorientAxes(vertTypes[0], poly.mGroup.get());
        EXPECT_TRUE(scripted.services.calls.empty());
        for (const FaceType* t : faceTypes)
        {
            SCOPED_TRACE(t->mFirstFace->mNumSides);
            ExpectPrepared(t, *poly.mGroup, c.faceOrders.at(t->mFirstFace->mNumSides));
        }
        ExpectPrepared(vertTypes[0], *poly.mGroup, c.vertOrder);

        // Every type of these solids is its own mirror image, with a mirror line in its plane.
        std::vector<FaceType*> all = faceTypes;
        all.push_back(vertTypes[0]);
        for (FaceType* t : all)
        {
            CheckReflectivity(t);
            EXPECT_TRUE(t->mFlags & kFaceTypeReflexible);
            EXPECT_FALSE(t->mFlags & kFaceTypeHemiReflexible);
            EXPECT_EQ(t->mMirrorFace, nullptr);
            EXPECT_TRUE(MirrorLineIsASymmetry(t));
            ASSERT_NE(t->mMirrorImageFace, nullptr);
            EXPECT_EQ(t->mMirrorImageFace->mFaceType, t);
        }
        EXPECT_TRUE(scripted.services.calls.empty());
    }
}

TEST(FaceTypePreparation, FirstFaceFrameCrossesTheAxisTheNormalIsLeastAlong)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
    SetGroup(poly, SymGroup::kOctahedral, 1, false);
    ReorientAxes(types[0], poly.mGroup.get());
    // The first face faces -z; x is the least component (the first of the ties), and -z cross x is -y.
    const FaceVert* first = types[0]->mFirstFace;
    EXPECT_TRUE(Vec3Equal(first->mZAxis, Vec3D{0, 0, -1}, 0.0));
    EXPECT_TRUE(Vec3Equal(first->mXAxis, Vec3D{0, -1, 0}, 0.0));
    EXPECT_TRUE(Vec3Equal(first->mYAxis, Vec3D{-1, 0, 0}, 0.0));
}

TEST(FaceTypePreparation, HalvingOfTheTurnByTheNumberOfFaces)
{
    // A polygon and its back face, whose corners repeat with the period: the turn of the polygon
    // alone has order sides / period. The count stands for the faces the type would have.
    struct Case
    {
        int count, sides, period, order;
    };
    const Case kCases[] = {
        {3, 6, 1, 3},  {12, 10, 1, 5}, {2, 10, 1, 10}, {3, 5, 1, 5},  {2, 6, 1, 6},
        {3, 4, 1, 2},  {4, 4, 1, 2},   {5, 4, 1, 4},   {6, 4, 1, 4},  {7, 4, 1, 2},
        {24, 4, 2, 1}, {60, 4, 2, 1},  {12, 4, 2, 2},  {60, 6, 2, 3}, {2, 4, 1, 4},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(testing::Message() << "count " << c.count << ", " << c.sides << " sides, period " << c.period);
        PolySpec spec;
        std::vector<int> front, back;
        for (int i = 0; i < c.sides; ++i)
        {
            const double t = 2.0 * kPi * i / c.sides;
            spec.verts.push_back({std::cos(t), 1.0, -std::sin(t)});
            front.push_back(i);
            back.insert(back.begin(), i);
        }
        spec.faces = {front, back};
        Poly poly;
        BuildPoly(poly, spec, false);
        std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
        const int period = c.period;
        MakeTypesBy(poly, true, [period](const FaceVert* v) { return v->mIndex % period; });
        types[0]->mCount = c.count;
        types[0]->SetRotOrderFromNeighbours();
        EXPECT_EQ(types[0]->mNumRotations, c.order);
    }
}

TEST(FaceTypePreparation, RaiseRotOrderTakesTheOrderOfTheAxisAlongTheFace)
{
    struct Case
    {
        const char* name;
        PolySpec spec;
        int kind, n, given, raised;
    };
    const Case kCases[] = {
        {"cube square seen as 2-fold", CubeSpec(), SymGroup::kOctahedral, 1, 2, 4},
        {"cube square without a turn", CubeSpec(), SymGroup::kOctahedral, 1, 1, 4},
        {"octahedron triangle", ConvexSpec(OctahedronPoints()), SymGroup::kOctahedral, 1, 3, 3},
        {"dodecahedron pentagon", ConvexSpec(DodecahedronPoints()), SymGroup::kIcosahedral, 1, 5, 5},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, c.spec, false);
        std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
        types[0]->mNumRotations = c.given;
        types[0]->RaiseRotOrder(nullptr);
        EXPECT_EQ(types[0]->mNumRotations, c.given);
        SetGroup(poly, c.kind, c.n, false);
        types[0]->CheckAxisClasses(poly.mGroup.get());
        EXPECT_EQ(types[0]->mNumRotations, c.raised);
    }

    // Twelve squares of a cube-like type turn only by half a turn on their own; the group's
    // 4-fold axes give the quarter turn back.
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
    MakeTypesBy(poly, true, Everything);
    types[0]->mCount = 12;
    types[0]->EstimateRotOrder();
    EXPECT_EQ(types[0]->mNumRotations, 2);
    SetGroup(poly, SymGroup::kOctahedral, 1, false);
    types[0]->RaiseRotOrder(poly.mGroup.get());
    EXPECT_EQ(types[0]->mNumRotations, 4);
}

TEST(FaceTypePreparation, FailuresAreReportedAsInternalErrors)
{
    ScopedScriptedServices scripted;
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
    FaceType* cube = types[0];

    cube->mNumRotations = 4;
    SetRotSym(cube, nullptr);
    EXPECT_EQ(LastInternalError(scripted.services), "SetRotSym: symGroup == NULL");
    EXPECT_EQ(cube->mAxisClass, nullptr);
    EXPECT_EQ(cube->mNumRotations, 4);
    ReorientAxes(cube, nullptr);
    EXPECT_EQ(LastInternalError(scripted.services), "ReorientAxes: symGroup == NULL");
    SetRotSymAndReorientAxes(cube, nullptr);
    EXPECT_EQ(LastInternalError(scripted.services), "SetRotSymAndReorientAxes: symGroup == NULL");
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 3);

    // A type without a turn needs no group.
    cube->mNumRotations = 1;
    SetRotSym(cube, nullptr);
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 3);

    // A face tilted off its axis.
    SetGroup(poly, SymGroup::kOctahedral, 1, false);
    FaceVert* tilted = poly.GetNthFace(3);
    Mat3 tilt;
    tilt.SetRotation(Vec3D{1, 0, 0}, 0.01);
    tilt.Transform(tilted->mZAxis, tilted->mZAxis);
    cube->mNumRotations = 4;
    SetRotSym(cube, poly.mGroup.get());
    EXPECT_EQ(LastInternalError(scripted.services), "SetRotSym: Found face without symmetry axis");
    EXPECT_EQ(cube->mAxisClass, &poly.mGroup->mAxisSets[0]);

    // The 4-fold dihedral group about y takes the first face (facing -z) round the sides of the
    // cube, never to the faces on its axis.
    Poly other;
    BuildPoly(other, CubeSpec(), false);
    types = MakeTypesBy(other, false, Everything);
    SetGroup(other, SymGroup::kDihedral, 4, false);
    ReorientAxes(types[0], other.mGroup.get());
    EXPECT_EQ(LastInternalError(scripted.services), "ReorientAxes: Couldn't match all faces");
    for (const FaceVert* f : FacesOf(types[0]))
        EXPECT_EQ(f->mTypeOffset < 0, std::fabs(f->mZAxis.y) > 0.5) << "face " << f->mIndex;
}

TEST(FaceTypePreparation, AFaceListedTheOtherWayRoundIsTurnedToFaceOut)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
    SetGroup(poly, SymGroup::kOctahedral, 1, true);
    FaceVert* flipped = poly.GetNthFace(4);
    const Vec3D outward = flipped->mZAxis;
    Vec3Negate(flipped->mZAxis);
    ScopedScriptedServices scripted;
    ReorientAxes(types[0], poly.mGroup.get());
    EXPECT_TRUE(scripted.services.calls.empty());
    EXPECT_TRUE(Vec3Equal(flipped->mZAxis, outward, 1e-12));
    ExpectPrepared(types[0], *poly.mGroup, 0);
}

TEST(FaceTypePreparation, MirrorImageTypesPairUpAndTheSecondTakesReflectedFrames)
{
    // Whatever frames the second type had, turned about the faces or facing in, it ends with the
    // reflected ones.
    struct Case
    {
        const char* name;
        double turn;
        bool facingIn;
    };
    const Case kCases[] = {{"frames as found", 0.0, false}, {"frames turned", 0.7, false}, {"faces in", -2.1, true}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, ConvexSpec(RhombicBipyramidPoints()), false);
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            ASSERT_GT(Vec3Dot(f->mCentre, f->mZAxis), 0.0);
        // The rotations of the group keep the sign of x y z of the centroids.
        std::vector<FaceType*> types = MakeTypesBy(poly, false, [](const FaceVert* f) {
            return f->mCentroid.x * f->mCentroid.y * f->mCentroid.z > 0.0 ? 1 : 2;
        });
        ASSERT_EQ(types.size(), 2u);
        FaceType* a = types[0];
        FaceType* b = types[1];
        EXPECT_EQ(a->mCount, 4);
        EXPECT_EQ(b->mCount, 4);
        MakeTypesBy(poly, true, [](const FaceVert* v) { return Vec3MaxAxis(v->mPoint); });
        SetGroup(poly, SymGroup::kDihedral, 2, true);
        ScopedScriptedServices scripted;
        for (FaceType* t : {a, b})
        {
            t->EstimateRotOrder();
            EXPECT_EQ(t->mNumRotations, 1);
            SetRotSymAndReorientAxes(t, poly.mGroup.get());
        }
        for (FaceVert* g : FacesOf(b))
        {
            Mat3 turn;
            turn.SetRotation(g->mZAxis, c.turn);
            turn.Transform(g->mXAxis, g->mXAxis);
            if (c.facingIn)
            {
                Vec3Negate(g->mZAxis);
                Vec3Negate(g->mXAxis);
            }
            Vec3Cross(g->mYAxis, g->mZAxis, g->mXAxis);
        }
        CheckReflectivity(a);
        CheckReflectivity(b);
        EXPECT_TRUE(scripted.services.calls.empty());

        EXPECT_EQ(a->mMirrorFace, b);
        EXPECT_EQ(b->mMirrorFace, a);
        EXPECT_FALSE(a->HasEarlierMirror());
        EXPECT_TRUE(b->HasEarlierMirror());
        EXPECT_FALSE(a->mFlags & kFaceTypeReflexible);
        EXPECT_FALSE(b->mFlags & kFaceTypeReflexible);

        // The mirror image of a's first face, with its frame the reflected frame (a reflection turns
        // the frame over: y comes out reversed), and every face of b a rotation of it.
        const FaceVert* first = a->mFirstFace;
        const FaceVert* image = a->mMirrorImageFace;
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->mFaceType, b);
        Mat3 reflection;
        ASSERT_NE(poly.mGroup->GetReflectionMatrix(reflection), nullptr);
        EXPECT_TRUE(CornersMapOnto(reflection, first, image));
        Vec3D x, y, z;
        reflection.Transform(x, first->mXAxis);
        reflection.Transform(y, first->mYAxis);
        reflection.Transform(z, first->mZAxis);
        Vec3Negate(y);
        EXPECT_TRUE(Vec3Equal(image->mXAxis, x, 1e-9));
        EXPECT_TRUE(Vec3Equal(image->mYAxis, y, 1e-9));
        EXPECT_TRUE(Vec3Equal(image->mZAxis, z, 1e-9));
        for (const FaceVert* g : FacesOf(b))
        {
            EXPECT_TRUE(IsRightHandedUnitFrame(g));
            EXPECT_GT(Vec3Dot(g->mCentre, g->mZAxis), 0.0);
            EXPECT_GE(FindFrameRotation(*poly.mGroup, image, g), 0) << "face " << g->mIndex;
        }
    }
}

TEST(FaceTypePreparation, VertexTypesSortByTheDistanceOfTheirPoints)
{
    Poly poly;
    BuildPoly(poly, ConvexSpec(RhombicBipyramidPoints()), false);
    // Made in list order: y, then x, then z.
    MakeTypesBy(poly, true, [](const FaceVert* v) { return Vec3MaxAxis(v->mPoint); });
    SetGroup(poly, SymGroup::kDihedral, 2, true);
    Stellation* verts = poly.GetVertStellation();
    SortFaceTypes(verts, CompareFaceTypes);
    const double expected[] = {1.0, 1.5, 2.0};
    ASSERT_EQ(verts->GetNumFaceTypes(), 3);
    for (int i = 0; i < 3; ++i)
    {
        FaceType* t = verts->GetFaceType(i);
        EXPECT_EQ(t->mIndex, i);
        EXPECT_DOUBLE_EQ(Vec3Length(t->mFirstFace->mPoint), expected[i]);
        // The vertex at the end of each axis is its own mirror image.
        SetRotSymAndReorientAxes(t, poly.mGroup.get());
        CheckReflectivity(t);
        EXPECT_TRUE(t->mFlags & kFaceTypeReflexible);
        EXPECT_TRUE(MirrorLineIsASymmetry(t));
    }
}

TEST(FaceTypePreparation, WithoutReflectionsNoTypeIsReflexible)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceType*> types = MakeTypesBy(poly, false, Everything);
    SetGroup(poly, SymGroup::kOctahedral, 1, false);
    SetRotSymAndReorientAxes(types[0], poly.mGroup.get());
    types[0]->mFlags = kFaceTypePanelShape;
    CheckReflectivity(types[0]);
    EXPECT_EQ(types[0]->mFlags, kFaceTypePanelShape);
    EXPECT_EQ(types[0]->mMirrorFace, nullptr);
    EXPECT_EQ(types[0]->mMirrorImageFace, nullptr);
}

TEST(FaceTypePreparation, StandardOrderOfFaceTypes)
{
    Poly poly;
    BuildPoly(poly, ConvexSpec(PentagonalPrismPoints()), false);
    FaceVert* square = nullptr;
    FaceVert* cap = nullptr;
    FaceVert* otherCap = nullptr;
    FaceVert* farSquare = nullptr;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        FaceVert*& slot = f->mNumSides == 5 ? (cap ? otherCap : cap) : (square ? farSquare : square);
        slot = f;
    }
    ASSERT_TRUE(square && cap && otherCap && farSquare);
    farSquare->mFlags |= FaceVert::kInf;

    Stellation* st = poly.GetFaceStellation();
    auto add = [&](FaceVert* first) {
        FaceType* t = st->AppendFaceType(std::make_unique<FaceType>(&poly, st, 0, st->GetNumFaceTypes()));
        t->mFirstFace = first;
        return t;
    };
    FaceType* atInfinity = add(farSquare);  // a face at infinity comes last
    FaceType* outer = add(square);          // the squares lie farther out than the caps
    FaceType* copy = add(otherCap);         // a coplanar copy comes after every other type
    FaceType* inner = add(cap);
    FaceType* tie = add(otherCap);          // as far out as inner: the earlier one first
    copy->mCoplanarSource = inner;

    SortFaceTypes(st, CompareFaceTypes);
    const FaceType* expected[] = {inner, tie, outer, copy, atInfinity};
    const FaceType* t = st->mFirstFaceType;
    for (int i = 0; i < 5; ++i, t = t->mNextFaceType)
    {
        ASSERT_EQ(t, expected[i]) << i;
        EXPECT_EQ(t->mIndex, i);
        EXPECT_EQ(st->GetFaceType(i), t);
    }
    EXPECT_EQ(t, nullptr);
    EXPECT_EQ(st->mLastFaceType, atInfinity);

    // By the first faces' places in the list.
    SortFaceTypes(st, CompareFaceTypesByFirstFace);
    int previous = -1;
    for (const FaceType* u = st->mFirstFaceType; u; u = u->mNextFaceType)
    {
        EXPECT_GE(u->mFirstFace->mIndex, previous);
        previous = u->mFirstFace->mIndex;
    }
    // Two types with the same first face keep the order they had.
    EXPECT_LT(tie->mIndex, copy->mIndex);
}
