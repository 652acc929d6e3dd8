#include "ElementFixtures.h"
#include "HemiPolyhedra.h"
#include "SolidModels.h"
#include "SolidPoints.h"

#include "kernel/FaceImage.h"
#include "kernel/GrowableArray.h"
#include "kernel/Palette.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "model/ColorSchemes.h"
#include "model/CreatePoly.h"
#include "model/ElementDisplayOptions.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace
{
ColorRGB Palette(int i)
{
    ColorRGB c;
    ColorFromRGB(c, PaletteEntry(i));
    return c;
}

bool Same(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::tuple<float, float, float> Key(const ColorRGB& c)
{
    return {c.r, c.g, c.b};
}

// The palette entry the colour is, -1 for none.
int PaletteIndex(const ColorRGB& c)
{
    for (int i = 0; i < kPaletteSize; ++i)
        if (Same(c, Palette(i)))
            return i;
    return -1;
}

// How many faces of the list carry each palette index.
std::map<int, int> PaletteUse(const ElemList& list)
{
    std::map<int, int> use;
    for (const FaceVert* f = list.mFirst; f; f = f->mNext)
        ++use[PaletteIndex(f->mColor)];
    return use;
}

const FaceVert* OppositeFace(const ElemList& list, const FaceVert* face)
{
    for (const FaceVert* g = list.mFirst; g; g = g->mNext)
        if (Vec3EqualNeg(g->mZAxis, face->mZAxis, 1e-9))
            return g;
    return nullptr;
}

bool ShareAnEdge(const FaceVert* a, const FaceVert* b)
{
    int shared = 0;
    for (int i = 0; i < a->mNumSides; ++i)
        shared += b->HasNeighbour(a->mNeighbours[i]);
    return shared >= 2;
}

std::vector<Vec3D> SolidPointsOf(const char* name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return FindSolid(solids, name).points;
}

// The polyhedron dual to a convex solid with faces across the directions: each corner lies on the
// axis through it, as far out as the nearest face plane n . x = 1 allows.
std::vector<Vec3D> CornersOnPlanes(const std::vector<Vec3D>& faceNormals, const std::vector<std::vector<Vec3D>>& axes)
{
    std::vector<Vec3D> corners;
    for (const std::vector<Vec3D>& set : axes)
        for (Vec3D a : set)
        {
            Vec3Normalize(a);
            double most = 0.0;
            for (Vec3D n : faceNormals)
            {
                Vec3Normalize(n);
                most = std::max(most, Vec3Dot(n, a));
            }
            Vec3D p;
            Vec3Div(p, a, most);
            corners.push_back(p);
        }
    return corners;
}

// Its faces across the icosahedron's edges (the 2-fold axes), its corners on the icosahedron's
// vertices and face centres (the 5-fold and 3-fold axes).
std::vector<Vec3D> RhombicTriacontahedronPoints()
{
    const FacedSolid icosahedron = ConvexSolid(SolidPointsOf("icosahedron"));
    std::vector<Vec3D> edgeMidpoints, faceCentres;
    for (const std::vector<int>& face : icosahedron.faces)
    {
        Vec3D centre;
        for (size_t k = 0; k < face.size(); ++k)
        {
            const Vec3D& a = icosahedron.verts[size_t(face[k])];
            const Vec3D& b = icosahedron.verts[size_t(face[(k + 1) % face.size()])];
            Vec3AddTo(centre, a);
            // Each edge once, from the face that runs along it from the lower index.
            if (face[k] < face[(k + 1) % face.size()])
            {
                Vec3D mid;
                Vec3Midpoint(mid, a, b);
                edgeMidpoints.push_back(mid);
            }
        }
        faceCentres.push_back(centre);
    }
    return CornersOnPlanes(edgeMidpoints, {icosahedron.verts, faceCentres});
}

// The cube's corners and the octahedron's at twice their distance: twelve rhombi.
std::vector<Vec3D> RhombicDodecahedronPoints()
{
    std::vector<Vec3D> points;
    for (int x : {-1, 1})
        for (int y : {-1, 1})
            for (int z : {-1, 1})
                points.push_back(Vec3D{double(x), double(y), double(z)});
    for (int axis = 0; axis < 3; ++axis)
        for (double s : {-2.0, 2.0})
        {
            Vec3D p;
            p[axis] = s;
            points.push_back(p);
        }
    return points;
}

// The colour words, the display options, the scene values and the model scale are program-wide:
// every test puts them back.
class PolyColorsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mScheme = FaceColorScheme();
        mEdgeScheme = EdgeColorScheme();
        mDiagramScheme = StellationDiagramColorScheme();
        mSelectedFaceDisplay = SelectedFaceDisplay();
        mOptions = GetElementDisplayOptions();
        mScene = GetSceneParameters();
        mScale = GetUnitSettings().GetScale();
    }
    void TearDown() override
    {
        FaceColorScheme() = mScheme;
        EdgeColorScheme() = mEdgeScheme;
        StellationDiagramColorScheme() = mDiagramScheme;
        SelectedFaceDisplay() = mSelectedFaceDisplay;
        GetElementDisplayOptions() = mOptions;
        GetSceneParameters() = mScene;
        GetUnitSettings().SetScale(mScale, false);
    }

    // The analysed model of a convex solid, coloured by the program's scheme.
    static std::unique_ptr<Poly> Solid(const std::vector<Vec3D>& points)
    {
        return Model(ConvexSolid(points));
    }
    static std::unique_ptr<Poly> Model(const FacedSolid& solid)
    {
        auto source = MakeModel(solid);
        auto poly = std::make_unique<Poly>();
        EXPECT_TRUE(CreatePoly(source.get(), poly.get(), false, false));
        return poly;
    }

private:
    uint32_t mScheme = 0;
    int mEdgeScheme = 0;
    int mDiagramScheme = 0;
    int mSelectedFaceDisplay = 0;
    ElementDisplayOptions mOptions;
    SceneParameters mScene;
    double mScale = 1.0;
};

TEST_F(PolyColorsTest, AutomaticColourChoosesItsSchemeByTheNumberOfPlaneTypes)
{
    EXPECT_EQ(kInitialFaceColorScheme, 0x601u);
    EXPECT_EQ(FaceColorScheme(), kInitialFaceColorScheme);
    struct Case
    {
        const char* name;
        PolySpec spec;
        bool typePerElement;
        uint32_t baseScheme;
        uint32_t dualScheme;
    };
    const Case kCases[] = {
        {"cube, one type a side", CubeSpec(), false, 0x8, 0x8},
        {"tetrahedron, four types a side", TetrahedronSpec(), true, 0x608, 0x608},
        {"cube, six face types and eight vertex types", CubeSpec(), true, 0x688, 0x688},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, c.spec, false);
        if (c.typePerElement)
            OneTypePerElement(poly);
        else
            OneTypePerSide(poly);
        EXPECT_EQ(poly.ColorFaceList(&poly.mFaces, kInitialFaceColorScheme), c.baseScheme);
        EXPECT_EQ(poly.ColorFaceList(&poly.mVerts, kInitialFaceColorScheme), c.dualScheme);
        // An arrangement bit survives the choice.
        EXPECT_EQ(poly.ColorFaceList(&poly.mFaces, kInitialFaceColorScheme | kCubicArrangement) & kCubicArrangement,
                  kCubicArrangement);
    }
}

TEST_F(PolyColorsTest, OnePlaneTypeGivesOneColourPerFaceTypeCountingDownOnTheDual)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> points;
        int faceTypes;
        int vertexTypes;
    };
    const Case kCases[] = {
        {"cube", SolidPointsOf("cube"), 1, 1},
        {"icosahedron", SolidPointsOf("icosahedron"), 1, 1},
        {"cuboctahedron", SolidPointsOf("cuboctahedron"), 2, 1},
        {"truncated icosahedron", SolidPointsOf("truncated icosahedron"), 2, 1},
        {"rhombicuboctahedron: squares on two kinds of axis", SolidPointsOf("rhombicuboctahedron"), 3, 1},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto poly = Solid(c.points);
        ASSERT_EQ(poly->GetFaceStellation()->GetNumFaceTypes(), c.faceTypes);
        ASSERT_EQ(poly->GetVertStellation()->GetNumFaceTypes(), c.vertexTypes);
        EXPECT_EQ(poly->ColorFaceList(&poly->mFaces, kInitialFaceColorScheme),
                  c.faceTypes < 2 ? kFaceColorByType : 0x608u);
        poly->ColorFaceList(&poly->mVerts, kInitialFaceColorScheme);
        // The face types count up from the start of the palette, in their order.
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            EXPECT_EQ(PaletteIndex(f->mColor), f->mFaceType->mIndex) << "face " << f->mIndex;
        EXPECT_EQ(PaletteUse(poly->mFaces).size(), size_t(c.faceTypes));
        // One vertex type: the dual's colour is the last of the palette, its back the one before.
        for (const FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
        {
            EXPECT_EQ(PaletteIndex(v->mColor), 119);
            EXPECT_EQ(PaletteIndex(v->mBackColor), 118);
        }
    }
}

TEST_F(PolyColorsTest, FaceTypesCountUpFromTheStartOfThePaletteAndDualTypesDownFromItsEnd)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerElement(poly);
    poly.ColorFaces(&poly.mFaces);
    poly.ColorFaces(&poly.mVerts);
    // Six plane types: by type, front and back alike.
    int i = 0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext, ++i)
    {
        EXPECT_TRUE(Same(f->mColor, Palette(i))) << "face " << i;
        EXPECT_TRUE(Same(f->mBackColor, f->mColor)) << "face " << i;
    }
    i = 0;
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext, ++i)
        EXPECT_TRUE(Same(v->mColor, Palette(119 - i))) << "vertex " << i;
    EXPECT_NE(poly.mFlags & Poly::kRecolorFaceDiagrams, 0u);
}

TEST_F(PolyColorsTest, WithoutTheFrontAndBackModifierTheBackIsOneGroupCountFurther)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerSide(poly);
    poly.ColorFaceList(&poly.mFaces, kFaceColorByType);
    poly.ColorFaceList(&poly.mVerts, kFaceColorByType);
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_TRUE(Same(f->mColor, Palette(0)));
        EXPECT_TRUE(Same(f->mBackColor, Palette(1)));
    }
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
    {
        EXPECT_TRUE(Same(v->mColor, Palette(119)));
        EXPECT_TRUE(Same(v->mBackColor, Palette(118)));
    }
    // A face through the centre shows the same colour on both sides.
    poly.mFaces.mFirst->mFlags |= FaceVert::kHemi;
    poly.ColorFaceList(&poly.mFaces, kFaceColorByType);
    EXPECT_TRUE(Same(poly.mFaces.mFirst->mBackColor, poly.mFaces.mFirst->mColor));

    // Two face types: the backs lie two entries further on.
    auto cuboctahedron = Solid(SolidPointsOf("cuboctahedron"));
    cuboctahedron->ColorFaceList(&cuboctahedron->mFaces, kFaceColorByType);
    for (const FaceVert* f = cuboctahedron->mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(PaletteIndex(f->mBackColor), PaletteIndex(f->mColor) + 2) << "face " << f->mIndex;
}

TEST_F(PolyColorsTest, FacesThroughTheCentreDifferFrontToBackOnlyOnAnEndToEndArrangement)
{
    // Its six decagons pass through the centre on the 5-fold axes.
    for (const HemiPolyhedron& h : HemiPolyhedra())
    {
        if (h.name != "small icosihemidodecahedron")
            continue;
        auto poly = Model(h.solid);
        ASSERT_EQ(poly->GetSymGroup()->mKind, SymGroup::kIcosahedral);
        for (const uint32_t arrangement : {0u, kDodecahedralArrangement1})
        {
            SCOPED_TRACE(arrangement ? "dodecahedral arrangement 1" : "no arrangement");
            poly->ColorFaceList(&poly->mFaces, kFaceColorByType | arrangement);
            int hemi = 0;
            std::set<std::pair<int, int>> decagonSides;
            for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            {
                if (!(f->mFlags & FaceVert::kHemi))
                {
                    // The triangles: front and back a group count apart.
                    EXPECT_FALSE(Same(f->mColor, f->mBackColor));
                    continue;
                }
                ++hemi;
                EXPECT_EQ(Same(f->mColor, f->mBackColor), arrangement == 0) << "face " << f->mIndex;
                decagonSides.insert({PaletteIndex(f->mColor), PaletteIndex(f->mBackColor)});
            }
            EXPECT_EQ(hemi, 6);
            if (arrangement)
            {
                // The triangles take colour 0 and back 1; the decagons' ends take the arrangement's
                // four colours after them.
                for (const auto& [front, back] : decagonSides)
                {
                    EXPECT_GE(front, 2);
                    EXPECT_LE(front, 5);
                    EXPECT_GE(back, 2);
                    EXPECT_LE(back, 5);
                }
            }
        }
        return;
    }
    FAIL() << "no small icosihemidodecahedron";
}

TEST_F(PolyColorsTest, SchemesGroupFacesAsTheirRuleSays)
{
    struct Case
    {
        const char* name;
        uint32_t scheme;
        size_t colours;  // distinct front colours over the cube's faces
    };
    const Case kCases[] = {
        {"single colour", kFaceColorSingle, 1},
        {"by number of sides", kFaceColorBySides, 1},
        {"per face unless parallel: opposite faces alike", kFaceColorPerFace, 3},
        {"by face type, one type a face", kFaceColorByType | kFaceColorFrontBackAlike, 6},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        OneTypePerElement(poly);
        poly.ColorFaceList(&poly.mFaces, c.scheme);
        std::set<std::tuple<float, float, float>> distinct;
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        {
            ASSERT_GE(f->mColor.r, 0.0f);
            distinct.insert(Key(f->mColor));
        }
        EXPECT_EQ(distinct.size(), c.colours);
        EXPECT_TRUE(Same(poly.mFaces.mFirst->mColor, Palette(0)));
    }
}

TEST_F(PolyColorsTest, BySidesCountsSideNumbersInTheOrderTheTypesFirstShowThem)
{
    auto poly = Solid(SolidPointsOf("rhombicosidodecahedron"));
    poly->ColorFaceList(&poly->mFaces, kFaceColorBySides | kFaceColorFrontBackAlike);
    // Triangles, squares and pentagons: three colours, one for each side count.
    std::map<int, std::set<int>> coloursBySides;
    for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        coloursBySides[f->mNumSides].insert(PaletteIndex(f->mColor));
    ASSERT_EQ(coloursBySides.size(), 3u);
    std::set<int> all;
    for (const auto& [sides, colours] : coloursBySides)
    {
        EXPECT_EQ(colours.size(), 1u) << sides << " sides";
        all.insert(*colours.begin());
    }
    EXPECT_EQ(all, (std::set<int>{0, 1, 2}));
    const FaceType* firstType = poly->GetFaceStellation()->mFirstFaceType;
    EXPECT_EQ(*coloursBySides[firstType->mFirstFace->mNumSides].begin(), 0);
}

TEST_F(PolyColorsTest, PerFaceColoursOppositeFacesAlikeAndAllOthersApart)
{
    for (const char* name : {"cube", "octahedron", "dodecahedron", "icosahedron", "truncated octahedron"})
    {
        SCOPED_TRACE(name);
        auto poly = Solid(SolidPointsOf(name));
        poly->ColorFaceList(&poly->mFaces, kFaceColorPerFace);
        poly->ColorFaceList(&poly->mVerts, kFaceColorPerFace);
        const int n = poly->mFaces.mCount;
        const std::map<int, int> use = PaletteUse(poly->mFaces);
        ASSERT_EQ(int(use.size()), n / 2);
        // Counted up from 0 in list order, two faces each.
        int expected = 0;
        for (const auto& [index, count] : use)
        {
            EXPECT_EQ(index, expected++);
            EXPECT_EQ(count, 2);
        }
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        {
            const FaceVert* opposite = OppositeFace(poly->mFaces, f);
            ASSERT_NE(opposite, nullptr);
            EXPECT_TRUE(Same(f->mColor, opposite->mColor));
            EXPECT_TRUE(Same(f->mBackColor, f->mColor));
        }
        // The dual side counts down from the end.
        const std::map<int, int> dualUse = PaletteUse(poly->mVerts);
        ASSERT_EQ(int(dualUse.size()), poly->mVerts.mCount / 2);
        EXPECT_EQ(dualUse.begin()->first, kPaletteSize - poly->mVerts.mCount / 2);
        EXPECT_EQ(dualUse.rbegin()->first, kPaletteSize - 1);
    }
}

TEST_F(PolyColorsTest, AlongTheSectionDirectionFacesOfOneHeightAndTypeShareAColour)
{
    // Directions from the model's own faces: the normal of a face (for the cube a 4-fold axis, for
    // the icosahedron a 3-fold one), the sum of two or three adjacent normals, or a vertex.
    enum class Along
    {
        FaceNormal,
        TwoFaces,
        ThreeFaces,
        Vertex,
    };
    struct Case
    {
        const char* name;
        const char* solid;
        Along along;
        std::vector<int> levels;  // faces of each group, from the highest
    };
    const Case kCases[] = {
        {"cube along a 4-fold axis", "cube", Along::FaceNormal, {1, 4, 1}},
        {"cube along a 2-fold axis", "cube", Along::TwoFaces, {2, 2, 2}},
        {"cube along a 3-fold axis", "cube", Along::ThreeFaces, {3, 3}},
        {"icosahedron along a 3-fold axis", "icosahedron", Along::FaceNormal, {1, 3, 6, 6, 3, 1}},
        {"icosahedron along a 5-fold axis", "icosahedron", Along::Vertex, {5, 5, 5, 5}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto poly = Solid(SolidPointsOf(c.solid));
        const FaceVert* top = poly->mFaces.mFirst;
        std::vector<const FaceVert*> around;
        for (const FaceVert* g = top->mNext; g; g = g->mNext)
            if (ShareAnEdge(top, g))
                around.push_back(g);
        ASSERT_GE(around.size(), 3u);
        Vec3D n = top->mZAxis;
        if (c.along == Along::Vertex)
            n = top->mNeighbours[0]->mPoint;
        else if (c.along == Along::TwoFaces)
            Vec3AddTo(n, around[0]->mZAxis);
        else if (c.along == Along::ThreeFaces)
        {
            // Two neighbours of the top face that are neighbours of each other.
            const FaceVert* b = nullptr;
            for (const FaceVert* g : around)
                if (g != around[0] && ShareAnEdge(around[0], g))
                    b = g;
            ASSERT_NE(b, nullptr);
            Vec3AddTo(n, around[0]->mZAxis);
            Vec3AddTo(n, b->mZAxis);
        }
        Vec3Normalize(n);
        Vec3D u, v;
        Vec3Perpendicular(u, n);
        Vec3Normalize(u);
        Vec3Cross(v, n, u);
        GetSceneParameters().sliceMatrix.SetColumns({u.x, u.y, u.z, 0}, {v.x, v.y, v.z, 0}, {n.x, n.y, n.z, 0},
                                                    {0, 0, 0, 1});

        poly->ColorFaceList(&poly->mFaces, kFaceColorAlongSection);
        const int groups = int(c.levels.size());
        const std::map<int, int> use = PaletteUse(poly->mFaces);
        ASSERT_EQ(int(use.size()), groups);
        for (int g = 0; g < groups; ++g)
            EXPECT_EQ(use.count(g) ? use.at(g) : 0, c.levels[size_t(g)]) << "group " << g;
        // Heights fall with the group; the back is a group count further on.
        double previous = 1e100;
        for (int g = 0; g < groups; ++g)
            for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            {
                if (PaletteIndex(f->mColor) != g)
                    continue;
                const double height = Vec3Dot(f->mCentroid, n);
                EXPECT_LT(height, previous + 1e-9);
                EXPECT_EQ(PaletteIndex(f->mBackColor), g + groups);
            }
    }
}

TEST_F(PolyColorsTest, AlongTheSectionDirectionTypesSplitALevel)
{
    // The four side faces of the cube lie at one height but each has a type of its own.
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerElement(poly);
    CalcAllCentroids(poly);
    poly.ColorFaceList(&poly.mFaces, kFaceColorAlongSection | kFaceColorFrontBackAlike);
    // The frame that was never set is the identity: up is z. CubeSpec's faces 1 (z = 1) and 0
    // (z = -1) come first and last, the sides in between by type.
    const int expected[6] = {5, 0, 1, 2, 3, 4};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(PaletteIndex(poly.GetNthFace(i)->mColor), expected[i]) << "face " << i;
}

TEST_F(PolyColorsTest, ASectionFrameWithoutItsUnitCornerIsTheIdentity)
{
    Mat4& m = GetSceneParameters().sliceMatrix;
    m.SetColumns({0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1});
    Vec3D u, v, n;
    GetSectionFrame(u, v, n);
    EXPECT_TRUE(Vec3Equal(n, Vec3D{1, 0, 0}, 0.0));
    EXPECT_TRUE(Vec3Equal(u, Vec3D{0, 1, 0}, 0.0));
    m.At(3, 3) = 0.5;
    GetSectionFrame(u, v, n);
    EXPECT_TRUE(Vec3Equal(u, Vec3D{1, 0, 0}, 0.0));
    EXPECT_TRUE(Vec3Equal(v, Vec3D{0, 1, 0}, 0.0));
    EXPECT_TRUE(Vec3Equal(n, Vec3D{0, 0, 1}, 0.0));
    EXPECT_EQ(m.At(3, 3), 1.0);
}

TEST_F(PolyColorsTest, ChiralPairsShareAColourOnlyWithTheirModifier)
{
    for (const bool alike : {false, true})
    {
        SCOPED_TRACE(alike ? "chiral pairs alike" : "chiral pairs apart");
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        OneTypePerElement(poly);
        FaceType* a = poly.GetNthFace(0)->mFaceType;
        FaceType* b = poly.GetNthFace(1)->mFaceType;
        a->mMirrorFace = b;
        b->mMirrorFace = a;
        poly.ColorFaceList(&poly.mFaces, kFaceColorByType | (alike ? kFaceColorChiralAlike : 0u));
        EXPECT_EQ(Same(poly.GetNthFace(0)->mColor, poly.GetNthFace(1)->mColor), alike);
        EXPECT_FALSE(Same(poly.GetNthFace(0)->mColor, poly.GetNthFace(2)->mColor));
    }
}

TEST_F(PolyColorsTest, ArrangementsColourTheOrbitsTheirMenuTextsName)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> points;
        uint32_t arrangement;
        int colours;
        bool oppositeAlike;
    };
    const Case kCases[] = {
        {"dodecahedron, dodecahedral 1 (4 colors)", SolidPointsOf("dodecahedron"), kDodecahedralArrangement1, 4, false},
        {"dodecahedron, dodecahedral 2 (6 colors)", SolidPointsOf("dodecahedron"), kDodecahedralArrangement2, 6, true},
        {"icosahedron, icosahedral 1 (5 colors)", SolidPointsOf("icosahedron"), kIcosahedralArrangement1, 5, false},
        {"icosahedron, icosahedral 2 (5 colors)", SolidPointsOf("icosahedron"), kIcosahedralArrangement2, 5, true},
        {"icosahedron, icosahedral 3 (10 colors)", SolidPointsOf("icosahedron"), kIcosahedralArrangement3, 10, true},
        {"rhombic triacontahedron, arr 1 (5 colors)", RhombicTriacontahedronPoints(),
         kRhombicTriacontahedralArrangement1, 5, true},
        {"rhombic triacontahedron, arr 2 (15 colors)", RhombicTriacontahedronPoints(),
         kRhombicTriacontahedralArrangement2, 15, true},
        {"cube, cubic (3 colors)", SolidPointsOf("cube"), kCubicArrangement, 3, true},
        {"octahedron, octahedral (4 colors)", SolidPointsOf("octahedron"), kOctahedralArrangement, 4, true},
        {"rhombic dodecahedron, arr 1 (3 colors)", RhombicDodecahedronPoints(), kRhombicDodecahedralArrangement1, 3,
         true},
        {"rhombic dodecahedron, arr 2 (4 colors)", RhombicDodecahedronPoints(), kRhombicDodecahedralArrangement2, 4,
         false},
        {"rhombic dodecahedron, arr 3 (6 colors)", RhombicDodecahedronPoints(), kRhombicDodecahedralArrangement3, 6,
         true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto poly = Solid(c.points);
        ASSERT_EQ(poly->GetFaceStellation()->GetNumFaceTypes(), 1);
        // As the menu leaves the word: automatic colour with the arrangement.
        poly->ColorFaceList(&poly->mFaces, kInitialFaceColorScheme | c.arrangement);
        const int n = poly->mFaces.mCount;
        // The faces' only type is on the arrangement's axes, so its colours start the palette.
        const std::map<int, int> use = PaletteUse(poly->mFaces);
        ASSERT_EQ(int(use.size()), c.colours);
        EXPECT_EQ(use.begin()->first, 0);
        EXPECT_EQ(use.rbegin()->first, c.colours - 1);
        for (const auto& [index, count] : use)
            EXPECT_EQ(count, n / c.colours) << "colour " << index;
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        {
            EXPECT_TRUE(Same(f->mBackColor, f->mColor));
            const FaceVert* opposite = OppositeFace(poly->mFaces, f);
            ASSERT_NE(opposite, nullptr);
            EXPECT_EQ(Same(f->mColor, opposite->mColor), c.oppositeAlike) << "face " << f->mIndex;
            // Every arrangement keeps neighbours apart.
            for (const FaceVert* g = poly->mFaces.mFirst; g; g = g->mNext)
            {
                if (g == f || !ShareAnEdge(f, g))
                    continue;
                EXPECT_FALSE(Same(f->mColor, g->mColor)) << "faces " << f->mIndex << " and " << g->mIndex;
            }
        }
    }
}

TEST_F(PolyColorsTest, ArrangementColoursFollowTheGroupsAndEachOtherInAxisClassOrder)
{
    // Pentagons on the 5-fold axes, triangles on the 3-fold ones.
    auto poly = Solid(SolidPointsOf("icosidodecahedron"));
    struct Case
    {
        const char* name;
        uint32_t arrangements;
        std::set<int> pentagons;
        std::set<int> triangles;
    };
    const Case kCases[] = {
        // The triangles' one group (front and back alike) comes first.
        {"dodecahedral 1", kDodecahedralArrangement1, {1, 2, 3, 4}, {0}},
        // Both types on axes: the 5-fold class first, then the 3-fold one.
        {"dodecahedral 1 and icosahedral 3", kDodecahedralArrangement1 | kIcosahedralArrangement3, {0, 1, 2, 3},
         {4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {"dodecahedral 2 and icosahedral 1", kDodecahedralArrangement2 | kIcosahedralArrangement1,
         {0, 1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}},
        // No face on the 2-fold axes: the arrangement takes no colours, and the types count from the
        // pentagons, whose planes lie nearer the centre.
        {"rhombic triacontahedral 2", kRhombicTriacontahedralArrangement2, {0}, {1}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        poly->ColorFaceList(&poly->mFaces, kInitialFaceColorScheme | c.arrangements);
        std::set<int> pentagons, triangles;
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            (f->mNumSides == 5 ? pentagons : triangles).insert(PaletteIndex(f->mColor));
        EXPECT_EQ(pentagons, c.pentagons);
        EXPECT_EQ(triangles, c.triangles);
    }
}

TEST_F(PolyColorsTest, ChoosingTheSetArrangementOfAGroupAgainClearsTheGroup)
{
    struct Step
    {
        uint32_t command;
        uint32_t word;  // after the step
    };
    const Step kSteps[] = {
        {kDodecahedralArrangement1, 0x601 | kDodecahedralArrangement1},
        {kDodecahedralArrangement2, 0x601 | kDodecahedralArrangement2},
        {kIcosahedralArrangement3, 0x601 | kDodecahedralArrangement2 | kIcosahedralArrangement3},
        {kIcosahedralArrangement1, 0x601 | kDodecahedralArrangement2 | kIcosahedralArrangement1},
        {kDodecahedralArrangement2, 0x601 | kIcosahedralArrangement1},
        {kIcosahedralArrangement1, 0x601},
        {kCubicArrangement, 0x601 | kCubicArrangement},
        {kRhombicDodecahedralArrangement3, 0x601 | kCubicArrangement | kRhombicDodecahedralArrangement3},
        {kRhombicDodecahedralArrangement3, 0x601 | kCubicArrangement},
        {kCubicArrangement, 0x601},
        {kFaceColorBySides, 0x604},
        {kFaceColorChiralAlike, 0x684},
        {kFaceColorToggleSingleAuto, 0x682},
        {kFaceColorToggleSingleAuto, 0x681},
        {kFaceColorChiralAlike, 0x601},
    };
    auto dodecahedron = Solid(SolidPointsOf("dodecahedron"));
    RecordingShell shell;
    ScopedShell scope(&shell);
    FaceColorScheme() = kInitialFaceColorScheme;
    for (const Step& s : kSteps)
    {
        const FaceColorSchemeChange change = GetFaceColorMenuChange(s.command, FaceColorScheme());
        dodecahedron->SetFaceColorScheme(change.code, change.mask);
        EXPECT_EQ(FaceColorScheme(), s.word) << std::hex << "command " << s.command;
    }
    EXPECT_EQ(shell.Count("Undo 27"), int(std::size(kSteps)));
    // Back to automatic colour without arrangements: the one face type has one colour.
    EXPECT_EQ(PaletteUse(dodecahedron->mFaces).size(), 1u);
}

TEST_F(PolyColorsTest, SchemesNeedingACompleteModelWaitForIt)
{
    ScopedScriptedServices services;
    auto cube = Solid(SolidPointsOf("cube"));
    cube->ColorFaceList(&cube->mFaces, kFaceColorSingle);
    cube->mMatchingStatus = Poly::kMatchingRunning;
    // No modifier either: they too need a complete model.
    FaceColorScheme() = kFaceColorSingle;
    cube->SetFaceColorScheme(kFaceColorPerFace, kFaceColorBasicMask);
    // Stored, but nothing coloured until the model is complete.
    EXPECT_EQ(FaceColorScheme() & kFaceColorBasicMask, kFaceColorPerFace);
    EXPECT_EQ(PaletteUse(cube->mFaces).size(), 1u);
    ASSERT_EQ(services.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(services.services.LastCall()->text,
              "Note: This color scheme will not take effect until\nthe polyhedron has been successfully completed.");
    // Single colour needs no complete model; matching that stopped at a branch point is complete.
    cube->SetFaceColorScheme(kFaceColorSingle, kFaceColorBasicMask);
    cube->mMatchingStatus = Poly::kMatchingOpenBranches;
    cube->SetFaceColorScheme(kFaceColorPerFace, kFaceColorBasicMask);
    EXPECT_EQ(services.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(PaletteUse(cube->mFaces).size(), 3u);
}

// A shell whose active view has a type, recording the view messages.
class ViewShell : public RecordingShell
{
public:
    int viewType = kViewTypePoly;
    std::vector<std::string> messages;
    void* ActiveView() override { return this; }
    int ViewTypeCode(void* view) override { return view == this ? viewType : kViewTypeNone; }
    void SetViewMessage(void*, const std::string& text) override { messages.push_back(text); }
};

TEST_F(PolyColorsTest, ColourAsACompoundGivesEachPartItsColourAndCountsThem)
{
    // Two cubes side by side, and one cube alone.
    FacedSolid pair = ConvexSolid(SolidPointsOf("cube"));
    const size_t n = pair.verts.size();
    FacedSolid second = pair;
    for (Vec3D& p : pair.verts)
        p.x -= 3.0;
    for (Vec3D p : second.verts)
        pair.verts.push_back(Vec3D{p.x + 3.0, p.y, p.z});
    for (std::vector<int> f : second.faces)
    {
        for (int& k : f)
            k += int(n);
        pair.faces.push_back(f);
    }
    auto compound = Model(pair);
    auto single = Solid(SolidPointsOf("cube"));
    ASSERT_TRUE(compound->IsCompound());

    ViewShell shell;
    ScopedShell scope(&shell);
    compound->SetFaceColorScheme(kFaceColorAsCompound, uint32_t(-1));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], "Compound has 2 parts.");
    EXPECT_EQ(shell.Count("Undo 27"), 1);
    const std::map<int, int> use = PaletteUse(compound->mFaces);
    EXPECT_EQ(use, (std::map<int, int>{{0, 6}, {1, 6}}));
    for (const FaceVert* f = compound->mFaces.mFirst; f; f = f->mNext)
        EXPECT_TRUE(Same(f->mBackColor, f->mColor));
    EXPECT_EQ(FaceColorScheme(), kInitialFaceColorScheme);

    single->SetFaceColorScheme(kFaceColorAsCompound, uint32_t(-1));
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1], "Couldn't find more than one part in the compound.");

    // A view of the stellation colours the stellation's mesh, not the model.
    shell.viewType = kViewTypeUniStellation;
    compound->ColorFaceList(&compound->mFaces, kFaceColorSingle);
    compound->SetFaceColorScheme(kFaceColorAsCompound, uint32_t(-1));
    EXPECT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.Count("Undo 27"), 2);
    EXPECT_EQ(PaletteUse(compound->mFaces).size(), 1u);
}

TEST_F(PolyColorsTest, EdgesAlikeWhenParallelOrOnOneGreatCircle)
{
    struct Case
    {
        const char* name;
        const char* solid;
        int scheme;
        int classes;
        int perClass;
    };
    const Case kCases[] = {
        {"cube, parallel", "cube", kEdgeColorParallel, 3, 4},
        // Each edge and the one opposite lie on a plane through the centre.
        {"cube, great circles", "cube", kEdgeColorGreatCircles, 6, 2},
        {"icosidodecahedron, parallel", "icosidodecahedron", kEdgeColorParallel, 15, 4},
        {"icosidodecahedron, great circles", "icosidodecahedron", kEdgeColorGreatCircles, 6, 10},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto poly = Solid(SolidPointsOf(c.solid));
        EdgeColorScheme() = c.scheme;
        poly->SetEdgeColorScheme(false);
        std::map<int, std::vector<const Edge*>> classes;
        for (int i = 0; i < poly->mEdges.count; ++i)
            classes[PaletteIndex(poly->mEdges[i].mColor)].push_back(&poly->mEdges[i]);
        ASSERT_EQ(int(classes.size()), c.classes);
        // The base side's cursor starts half-way round the palette.
        EXPECT_EQ(classes.begin()->first, 60);
        EXPECT_EQ(classes.rbegin()->first, 60 + c.classes - 1);
        for (const auto& [index, edges] : classes)
        {
            EXPECT_EQ(int(edges.size()), c.perClass) << "colour " << index;
            const Vec3D first = edges[0]->GetVector(false);
            for (const Edge* e : edges)
            {
                if (c.scheme == kEdgeColorParallel)
                {
                    Vec3D cross;
                    Vec3Cross(cross, first, e->GetVector(false));
                    EXPECT_LT(Vec3Length(cross), 1e-9);
                }
                else
                {
                    // Both ends of every edge of a class lie in one plane through the centre.
                    Vec3D normal;
                    Vec3Cross(normal, edges[0]->mVerts[0]->mPoint, edges[0]->mVerts[1]->mPoint);
                    Vec3Normalize(normal);
                    EXPECT_NEAR(Vec3Dot(normal, e->mVerts[0]->mPoint), 0.0, 1e-9);
                    EXPECT_NEAR(Vec3Dot(normal, e->mVerts[1]->mPoint), 0.0, 1e-9);
                }
            }
        }
    }
}

TEST_F(PolyColorsTest, EdgeColoursOfTheDualRunBackFromTheirCursor)
{
    auto cube = Solid(SolidPointsOf("cube"));
    cube->mShowDual = true;
    EdgeColorScheme() = kEdgeColorParallel;
    cube->SetEdgeColorScheme(false);
    // The octahedron's twelve edges in six directions, from entry 59 downwards.
    std::map<int, int> use;
    for (int i = 0; i < cube->mEdges.count; ++i)
        ++use[PaletteIndex(cube->mEdges[i].mColor)];
    EXPECT_EQ(use, (std::map<int, int>{{54, 2}, {55, 2}, {56, 2}, {57, 2}, {58, 2}, {59, 2}}));
}

TEST_F(PolyColorsTest, ReplacingAVertexColourChangesTheDefaultOrTheVerticesInIt)
{
    auto cube = Solid(SolidPointsOf("cube"));
    RecordingShell shell;
    ScopedShell scope(&shell);
    const uint32_t red = 0x0000ff, green = 0x00ff00, blue = 0xff0000;
    ElementDisplayOptions& options = GetElementDisplayOptions();

    // Vertices drawn in the default colour: only it changes, with no undo step.
    options.mColorVertsSameAsDualFace = false;
    for (FaceVert* v = cube->mVerts.mFirst; v; v = v->mNext)
        ColorFromRGB(v->mColor, red);
    cube->ReplaceVertexColor(green, red);
    EXPECT_EQ(ColorToRGB(options.mDefaultVertColor), green);
    EXPECT_EQ(ColorToRGB(cube->mVerts.mFirst->mColor), red);
    EXPECT_EQ(shell.Count("Undo 27"), 0);

    // Vertices in their own colours: those in the old colour change.
    options.mColorVertsSameAsDualFace = true;
    ColorFromRGB(cube->GetNthVert(3)->mColor, blue);
    cube->ReplaceVertexColor(green, red);
    EXPECT_EQ(shell.Count("Undo 27"), 1);
    for (const FaceVert* v = cube->mVerts.mFirst; v; v = v->mNext)
        EXPECT_EQ(ColorToRGB(v->mColor), v->mIndex == 3 ? blue : green) << "vertex " << v->mIndex;

    // The selected vertex's colour as the old one.
    cube->SelectElement(cube->GetNthVert(3), true);
    cube->ReplaceVertexColor(red, kSelectedElementColor);
    EXPECT_EQ(ColorToRGB(cube->GetNthVert(3)->mColor), red);
    EXPECT_EQ(ColorToRGB(cube->GetNthVert(2)->mColor), green);

    // A new default takes the vertices of the old default with it.
    const ColorRGB oldDefault = options.mDefaultVertColor;
    const ColorRGB white{1.0f, 1.0f, 1.0f};
    cube->SetDefaultVertexColor(white, &oldDefault);
    EXPECT_TRUE(Same(options.mDefaultVertColor, white));
    EXPECT_EQ(ColorToRGB(cube->GetNthVert(2)->mColor), 0xffffffu);
    EXPECT_EQ(ColorToRGB(cube->GetNthVert(3)->mColor), red);
    const ColorRGB grey{0.5f, 0.5f, 0.5f};
    cube->SetDefaultVertexColor(grey, nullptr);
    EXPECT_TRUE(Same(options.mDefaultVertColor, grey));
    EXPECT_EQ(ColorToRGB(cube->GetNthVert(2)->mColor), 0xffffffu);
}

TEST_F(PolyColorsTest, ReplacingAnEdgeColourChangesTheEdgesAndTheDefaultInIt)
{
    auto cube = Solid(SolidPointsOf("cube"));
    RecordingShell shell;
    ScopedShell scope(&shell);
    ElementDisplayOptions& options = GetElementDisplayOptions();
    ColorFromRGB(options.mDefaultEdgeColor, 0x80c0ff);
    EdgeColorScheme() = kEdgeColorAllSame;
    cube->SetEdgeColorScheme(false);
    ColorFromRGB(cube->mEdges[5].mColor, 0x0000ff);

    cube->ReplaceEdgeColor(0x00ff00, 0x80c0ff);
    EXPECT_EQ(shell.Count("Undo 27"), 1);
    EXPECT_EQ(ColorToRGB(options.mDefaultEdgeColor), 0x00ff00u);
    for (int i = 0; i < cube->mEdges.count; ++i)
        EXPECT_EQ(ColorToRGB(cube->mEdges[i].mColor), i == 5 ? 0x0000ffu : 0x00ff00u) << "edge " << i;

    // The selected edge's colour as the old one; the default is another colour and stays.
    cube->SelectElement(&cube->mEdges[5], false);
    cube->ReplaceEdgeColor(0xffffff, kSelectedElementColor);
    EXPECT_EQ(ColorToRGB(cube->mEdges[5].mColor), 0xffffffu);
    EXPECT_EQ(ColorToRGB(cube->mEdges[4].mColor), 0x00ff00u);
    EXPECT_EQ(ColorToRGB(options.mDefaultEdgeColor), 0x00ff00u);

    const ColorRGB oldDefault = options.mDefaultEdgeColor;
    const ColorRGB blue{0.0f, 0.0f, 1.0f};
    cube->SetDefaultEdgeColor(blue, &oldDefault);
    EXPECT_TRUE(Same(options.mDefaultEdgeColor, blue));
    EXPECT_EQ(ColorToRGB(cube->mEdges[4].mColor), 0xff0000u);
    EXPECT_EQ(ColorToRGB(cube->mEdges[5].mColor), 0xffffffu);
    cube->SetDefaultEdgeColor(ColorRGB{1.0f, 0.0f, 0.0f}, nullptr);
    EXPECT_EQ(ColorToRGB(options.mDefaultEdgeColor), 0x0000ffu);
    EXPECT_EQ(ColorToRGB(cube->mEdges[4].mColor), 0xff0000u);
}

TEST_F(PolyColorsTest, ImagesGoToTheFacesOfTheirScope)
{
    // Squares and triangles; per face, opposite faces share a colour.
    auto poly = Solid(SolidPointsOf("cuboctahedron"));
    poly->ColorFaceList(&poly->mFaces, kFaceColorPerFace);
    FaceVert* square = nullptr;
    for (FaceVert* f = poly->mFaces.mFirst; f && !square; f = f->mNext)
        if (f->mNumSides == 4)
            square = f;
    ASSERT_NE(square, nullptr);
    auto countWith = [&poly](const FaceImage* image) {
        int n = 0;
        for (const FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
            n += f->mImage.Get() == image;
        return n;
    };

    RecordingShell shell;
    ScopedShell scope(&shell);
    FaceImage* a = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, square, false);
    FaceImage* b = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat, square, false);

    poly->ApplyImageToFaces(a, square, Poly::kImageScopeFace);
    EXPECT_EQ(countWith(a), 1);
    EXPECT_EQ(a->GetUserCount(), 1);
    EXPECT_EQ(shell.Count("Undo 44"), 1);
    // Nothing changes: no undo step.
    poly->ApplyImageToFaces(a, square, Poly::kImageScopeFace);
    EXPECT_EQ(shell.Count("Undo 44"), 1);

    poly->ApplyImageToFaces(a, square, Poly::kImageScopeSameColor);
    EXPECT_EQ(countWith(a), 2);
    EXPECT_TRUE(OppositeFace(poly->mFaces, square)->mImage.Get() == a);
    poly->ApplyImageToFaces(a, square, Poly::kImageScopeSameType);
    EXPECT_EQ(countWith(a), 6);
    EXPECT_EQ(a->GetUserCount(), 6);
    poly->ApplyImageToFaces(b, poly->GetNthFace(square->mIndex == 0 ? 1 : 0), Poly::kImageScopeWithoutImage);
    EXPECT_EQ(countWith(b), 8);
    EXPECT_EQ(countWith(a), 6);
    // The faces with the square's image take the other one.
    poly->ApplyImageToFaces(b, square, Poly::kImageScopeSameImage);
    EXPECT_EQ(countWith(b), 14);
    EXPECT_EQ(b->GetUserCount(), 14);
    EXPECT_EQ(shell.Count("Undo 44"), 5);
    EXPECT_NE(poly->mFlags & Poly::kRecolorFaceDiagrams, 0u);
    EXPECT_NE(poly->mFlags & Poly::kRecolorMorphDiagrams, 0u);
    EXPECT_NE(poly->mFlags & Poly::kRecolorSection, 0u);

    // No image takes them away.
    poly->ApplyImageToFaces(nullptr, square, Poly::kImageScopeAllFaces);
    EXPECT_EQ(countWith(nullptr), 14);
}

TEST_F(PolyColorsTest, TextsGoFromTheElementsOfTheirScope)
{
    struct Case
    {
        int scope;
        int faces, edges, verts;  // texts left
    };
    // The cuboctahedron: 14 faces (6 squares), 24 edges, 12 vertices; a square, a second square
    // and a triangle in one colour.
    const Case kCases[] = {
        {Poly::kTextScopeElement, 13, 24, 12},   {Poly::kTextScopeSameType, 8, 24, 12},
        {Poly::kTextScopeSameColor, 11, 24, 12}, {Poly::kTextScopeAllFaces, 0, 24, 12},
        {Poly::kTextScopeAllEdges, 14, 0, 12},   {Poly::kTextScopeAllVertices, 14, 24, 0},
        {Poly::kTextScopeEverywhere, 0, 0, 0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE("scope " + std::to_string(c.scope));
        auto poly = Solid(SolidPointsOf("cuboctahedron"));
        poly->ColorFaceList(&poly->mFaces, kFaceColorSingle);
        std::vector<FaceVert*> squares;
        FaceVert* triangle = nullptr;
        for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext)
        {
            PolyElement::SetText(f, "f");
            if (f->mNumSides == 4)
                squares.push_back(f);
            else
                triangle = f;
        }
        const ColorRGB marked{0.25f, 0.5f, 0.75f};
        squares[0]->mColor = squares[1]->mColor = triangle->mColor = marked;
        for (int i = 0; i < poly->mEdges.count; ++i)
            PolyElement::SetText(&poly->mEdges[i], "e");
        for (FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
            PolyElement::SetText(v, "v");

        EXPECT_TRUE(poly->RemoveTexts(squares[0], c.scope, false));
        EXPECT_EQ(poly->mFaces.mNumTexts, c.faces);
        EXPECT_EQ(poly->mNumEdgeTexts, c.edges);
        EXPECT_EQ(poly->mVerts.mNumTexts, c.verts);
    }
    auto poly = Solid(SolidPointsOf("cube"));
    EXPECT_FALSE(poly->RemoveTexts(poly->mFaces.mFirst, Poly::kTextScopeElement, false));
    EXPECT_TRUE(poly->RemoveTexts(poly->mFaces.mFirst, Poly::kTextScopeElement, true));
}

TEST_F(PolyColorsTest, FaceColoursWithin1Over512CountAsOne)
{
    auto cube = Solid(SolidPointsOf("cube"));
    const float step = 1.0f / 512.0f;
    const ColorRGB colours[6] = {{0.5f, 0.5f, 0.5f},        {0.5f + step, 0.5f, 0.5f}, {0.5f, 0.5f - step, 0.5f},
                                 {0.5f + 2 * step, 0.5f, 0.5f}, {0.0f, 0.0f, 0.0f},       {0.0f, 0.0f, step * 0.5f}};
    int i = 0;
    for (FaceVert* f = cube->mFaces.mFirst; f; f = f->mNext)
        f->mColor = colours[i++];
    GrowableArray<ColorRGB> collected;
    // Only collected colours count: 0.5 + 2/512 lies within 1/512 of 0.5 + 1/512, but that one was
    // taken as 0.5, from which it lies further.
    EXPECT_EQ(cube->CollectFaceColors(collected), 3);
    EXPECT_TRUE(Same(collected[0], colours[0]));
    EXPECT_TRUE(Same(collected[1], colours[3]));
    EXPECT_TRUE(Same(collected[2], colours[4]));

    // The dual shown: its faces are the model's vertices.
    cube->ColorFaceList(&cube->mVerts, kFaceColorPerFace);
    cube->mShowDual = true;
    EXPECT_EQ(cube->CollectFaceColors(collected), 4);
}

TEST_F(PolyColorsTest, DiagramSchemeAndSelectedFaceDisplayTakeOnlyTheirValues)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    for (int scheme = 0; scheme < 6; ++scheme)
    {
        Poly::SetStellationDiagramColorScheme(scheme);
        EXPECT_EQ(StellationDiagramColorScheme(), scheme);
    }
    Poly::SetStellationDiagramColorScheme(6);
    Poly::SetStellationDiagramColorScheme(-1);
    EXPECT_EQ(StellationDiagramColorScheme(), 5);
    EXPECT_EQ(shell.Count("InvalidateAll"), 6);

    Poly::SetSelectedFaceDisplay(1);
    EXPECT_EQ(SelectedFaceDisplay(), 1);
    Poly::SetSelectedFaceDisplay(2);
    EXPECT_EQ(SelectedFaceDisplay(), 1);
    // Without a selected face with a stellation diagram the face is highlighted.
    auto cube = Solid(SolidPointsOf("cube"));
    EXPECT_EQ(cube->GetSelectedFaceDisplay(0), 0);
    Poly::SetSelectedFaceDisplay(0);
    EXPECT_EQ(SelectedFaceDisplay(), 0);
}

TEST_F(PolyColorsTest, EdgeTypesExistOnceEdgesAreMade)
{
    Poly empty;
    EXPECT_FALSE(empty.HasEdgeTypes());
    auto cube = Solid(SolidPointsOf("cube"));
    EXPECT_TRUE(cube->HasEdgeTypes());
}
}  // namespace
