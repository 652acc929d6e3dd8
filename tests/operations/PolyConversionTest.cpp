#include "kernel/FaceImage.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "kernel/ColorRGB.h"
#include "model/CompoundPart.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "operations/VertexPair.h"
#include "polytope4d/Polytope4D.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace
{
const SimpleFace* FaceOf(const SimpleElem* e)
{
    return static_cast<const SimpleFace*>(e);
}

// Vertices, edges by the sides of the faces, and faces: the Euler characteristic of the result,
// counted without its edge records.
int EulerCharacteristic(const SimplePoly& sp)
{
    std::set<std::pair<int, int>> edges;
    for (int f = 0; f < sp.mNumFaces; ++f)
    {
        const SimpleFace& face = sp.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            edges.insert({std::min(a, b), std::max(a, b)});
        }
    }
    return sp.mNumVerts - int(edges.size()) + sp.mNumFaces;
}

// A cube and, beside it, a tetrahedron: two compound parts.
void BuildCubeAndTetrahedron(Poly& poly)
{
    PolySpec spec = CubeSpec();
    const PolySpec tetra = TetrahedronSpec();
    for (const Vec3D& v : tetra.verts)
        spec.verts.push_back(Vec3D{v.x + 5.0, v.y, v.z});
    for (const std::vector<int>& f : tetra.faces)
        spec.faces.push_back({f[0] + 8, f[1] + 8, f[2] + 8});
    BuildPoly(poly, spec, false);
    CompoundPart* cube = new CompoundPart;
    cube->mFirstFace = poly.GetNthFace(0);
    cube->mNumFaces = 6;
    cube->mNumVerts = 8;
    CompoundPart* tetrahedron = new CompoundPart;
    tetrahedron->mFirstFace = poly.GetNthFace(6);
    tetrahedron->mNumFaces = 4;
    tetrahedron->mNumVerts = 4;
    poly.mFirstPart = cube;
    cube->mNext = tetrahedron;
    poly.mLastPart = tetrahedron;
}

class NamingShell : public RecordingShell
{
public:
    bool ViewModelNames(void* view, std::string& name, std::string& dualName) override
    {
        if (!view)
            return false;
        name = "View name";
        dualName = "UNNAMED";
        return true;
    }
};
}  // namespace

TEST(PolyConversionTest, TheBaseSideOfACube)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    poly.SetBaseName("Cube");
    poly.SetDualName("Octahedron");
    poly.SetComments("Six squares.");
    poly.mFlags = Poly::kConvex | Poly::kRadiallyConvex;
    poly.mGroup = SymGroup::Create(SymGroup::kOctahedral);
    poly.GetNthFace(3)->mFlags |= FaceVert::kHidden | FaceVert::kReverseNorm;
    poly.GetNthFace(3)->mColor = ColorRGB{1.0f, 0.0f, 0.5f};
    poly.GetNthFace(3)->SetOpacity(0.5f);
    PolyElement::SetText(poly.GetNthVert(6), "corner");
    PolyElement::SetText(poly.GetEdge(4), "ridge");
    poly.GetEdge(4)->mFlags = Edge::kHidden;
    poly.GetFaceStellation()->mSelectedFace = poly.GetNthFace(2);

    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    ASSERT_EQ(sp->mNumVerts, 8);
    ASSERT_EQ(sp->mNumFaces, 6);
    EXPECT_EQ(EulerCharacteristic(*sp), 2);
    const PolySpec cube = CubeSpec();
    for (int v = 0; v < 8; ++v)
    {
        EXPECT_EQ(sp->mVerts[v].mPos.x, cube.verts[size_t(v)].x);
        EXPECT_EQ(sp->mVerts[v].mPos.y, cube.verts[size_t(v)].y);
        EXPECT_EQ(sp->mVerts[v].mPos.z, cube.verts[size_t(v)].z);
    }
    for (int f = 0; f < 6; ++f)
    {
        const SimpleFace& face = sp->mFaces[f];
        ASSERT_EQ(face.mNum, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(face.GetVert(k)->GetIndex(), cube.faces[size_t(f)][size_t(k)]);
        EXPECT_EQ(face.mNormal.x, poly.GetNthFace(f)->mZAxis.x);
        EXPECT_EQ(face.mNormal.z, poly.GetNthFace(f)->mZAxis.z);
    }
    const SimpleFace& marked = sp->mFaces[3];
    EXPECT_TRUE(marked.mFlags & SimpleElem::kHidden);
    EXPECT_TRUE(marked.mFlags & SimpleElem::kReverseNorm);
    EXPECT_EQ(marked.mColor, 0x8000ffu);
    EXPECT_EQ(marked.mOpacity, 0.5f);
    // The face's own axis; the flag turns it, as ReverseNorm turns the element's.
    EXPECT_EQ(marked.mNormal.y, 1.0);
    EXPECT_EQ(sp->mVerts[6].mText, "corner");
    EXPECT_EQ(sp->mSelectedFace, &sp->mFaces[2]);

    // Each vertex lists its faces in the model's order round it.
    EXPECT_TRUE(sp->mFlags & SimplePoly::kSortedFaceLists);
    for (int v = 0; v < 8; ++v)
    {
        const FaceVert* vert = poly.GetNthVert(v);
        ASSERT_EQ(sp->mVerts[v].mNum, 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(FaceOf(sp->mVerts[v].mList[k])->GetIndex(), vert->mNeighbours[k]->mIndex);
    }

    // The edge records, with the ends and sides of each edge.
    ASSERT_EQ(sp->mNumEdges, 12);
    for (int i = 0; i < 12; ++i)
    {
        const Edge& edge = poly.mEdges[i];
        const SimpleEdge& record = sp->mEdges[i];
        EXPECT_EQ(SimpleVert::GetIndex(record.mVerts[0]), edge.mVerts[0]->mIndex);
        EXPECT_EQ(SimpleVert::GetIndex(record.mVerts[1]), edge.mVerts[1]->mIndex);
        EXPECT_EQ(SimpleFace::GetIndex(record.mFaces[0]), edge.mFaces[0]->mIndex);
        EXPECT_EQ(SimpleFace::GetIndex(record.mFaces[1]), edge.mFaces[1]->mIndex);
        EXPECT_EQ(record.mType, 0);
    }
    EXPECT_EQ(sp->mEdges[4].mText, "ridge");
    EXPECT_EQ(sp->mEdges[4].mFlags, Edge::kHidden);

    EXPECT_EQ(sp->mName, "Cube");
    EXPECT_EQ(sp->mDualName, "Octahedron");
    EXPECT_EQ(sp->mComments, "Six squares.");
    EXPECT_TRUE(sp->mFlags & SimplePoly::kKeepOrientation);
    EXPECT_TRUE(sp->mFlags & SimplePoly::kKeepRealSize);
    EXPECT_TRUE(sp->mFlags & SimplePoly::kConvex);
    EXPECT_TRUE(sp->mFlags & SimplePoly::kRadiallyConvex);
    EXPECT_FALSE(sp->mFlags & SimplePoly::kNonSelfIntersecting);
    ASSERT_NE(sp->mSymGroup, nullptr);
    EXPECT_EQ(sp->mSymGroup->mOrder, 24);
}

// The dual of the cube is the octahedron: a vertex at each face pole, a triangle round each vertex.
TEST(PolyConversionTest, TheDualSideOfACube)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), true);
    poly.SetBaseName("Cube");
    poly.SetDualName("Octahedron");
    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    ASSERT_EQ(sp->mNumVerts, 6);
    ASSERT_EQ(sp->mNumFaces, 8);
    EXPECT_EQ(EulerCharacteristic(*sp), 2);
    for (int v = 0; v < 6; ++v)
    {
        const Vec3D& p = sp->mVerts[v].mPos;
        EXPECT_EQ(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), 1.0) << v;
        EXPECT_EQ(sp->mVerts[v].mNum, 4);
    }
    for (int f = 0; f < 8; ++f)
    {
        const SimpleFace& face = sp->mFaces[f];
        ASSERT_EQ(face.mNum, 3);
        // Counterclockwise seen from outside: the triangle's normal points away from the centre.
        Vec3D n;
        Vec3Normal3(n, face.GetVert(0)->mPos, face.GetVert(1)->mPos, face.GetVert(2)->mPos);
        EXPECT_GT(Vec3Dot(n, face.GetCentroid()), 0.0) << f;
        EXPECT_NEAR(Vec3Dot(face.mNormal, face.GetCentroid()), 1.0 / std::sqrt(3.0), 1e-12);
    }
    EXPECT_EQ(sp->mName, "Octahedron");
    EXPECT_EQ(sp->mDualName, "Cube");
    ASSERT_EQ(sp->mNumEdges, 12);
    EXPECT_EQ(SimpleVert::GetIndex(sp->mEdges[0].mVerts[0]), poly.mEdges[0].mFaces[0]->mIndex);
    EXPECT_EQ(SimpleFace::GetIndex(sp->mEdges[0].mFaces[1]), poly.mEdges[0].mVerts[1]->mIndex);
}

TEST(PolyConversionTest, VerticesOnlyAndSmallFaces)
{
    Poly poly;
    PolySpec spec = CubeSpec();
    BuildPoly(poly, spec, false);
    std::unique_ptr<SimplePoly> points = poly.CreateSimplePoly(Poly::kConvertVertsOnly, nullptr, nullptr);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->mNumVerts, 8);
    EXPECT_EQ(points->mNumFaces, 0);
    EXPECT_EQ(points->mNumEdges, 0);

    // A two-sided face among the cube's faces: dropped when asked, and the later faces close up.
    Poly withDigon;
    spec.faces.insert(spec.faces.begin() + 2, std::vector<int>{0, 6});
    BuildPoly(withDigon, spec, false);
    std::unique_ptr<SimplePoly> kept = withDigon.CreateSimplePoly(0, nullptr, nullptr);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->mNumFaces, 7);
    std::unique_ptr<SimplePoly> dropped = withDigon.CreateSimplePoly(0x80, nullptr, nullptr);
    ASSERT_NE(dropped, nullptr);
    ASSERT_EQ(dropped->mNumFaces, 6);
    EXPECT_EQ(dropped->mFaces[2].GetVert(0)->GetIndex(), 0);  // the cube's third face
    EXPECT_EQ(dropped->mFaces[2].GetVert(1)->GetIndex(), 1);
    EXPECT_EQ(EulerCharacteristic(*dropped), 2);
}

TEST(PolyConversionTest, ADualWithPointsAtInfinityIsRefused)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    poly.GetNthFace(1)->mFlags |= FaceVert::kHemi;
    EXPECT_EQ(poly.CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr), nullptr);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text, "This operation may not be performed on a model with infinite vertices");

    std::unique_ptr<SimplePoly> sp =
        poly.CreateSimplePoly(Poly::kConvertDual | Poly::kConvertAllowInfinite, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    EXPECT_TRUE(sp->mVerts[1].mFlags & SimpleElem::kInf);
    EXPECT_FALSE(sp->mVerts[0].mFlags & SimpleElem::kInf);
    // On the base side the face through the centre keeps its plane.
    sp = poly.CreateSimplePoly(0, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    EXPECT_EQ(sp->mFaces[1].mFlags & (SimpleElem::kPlaneThroughCentre | SimpleElem::kNormalOriented),
              SimpleElem::kPlaneThroughCentre | SimpleElem::kNormalOriented);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}

TEST(PolyConversionTest, OnePartKeptOrLeftOut)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildCubeAndTetrahedron(poly);
    CompoundPart* tetrahedron = poly.mLastPart;

    std::unique_ptr<SimplePoly> alone = poly.CreateSimplePoly(Poly::kConvertKeepPart, tetrahedron, nullptr);
    ASSERT_NE(alone, nullptr);
    ASSERT_EQ(alone->mNumVerts, 4);
    ASSERT_EQ(alone->mNumFaces, 4);
    EXPECT_EQ(alone->mNumEdges, 0);
    EXPECT_EQ(alone->mVerts[0].mPos.x, 6.0);
    EXPECT_EQ(EulerCharacteristic(*alone), 2);
    const PolySpec tetra = TetrahedronSpec();
    for (int f = 0; f < 4; ++f)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(alone->mFaces[f].GetVert(k)->GetIndex(), tetra.faces[size_t(f)][size_t(k)]);

    std::unique_ptr<SimplePoly> rest = poly.CreateSimplePoly(0, tetrahedron, nullptr);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->mNumVerts, 8);
    EXPECT_EQ(rest->mNumFaces, 6);
    EXPECT_EQ(EulerCharacteristic(*rest), 2);
    // No element keeps the work mark.
    for (int i = 0; i < poly.mFaces.mCount + poly.mVerts.mCount; ++i)
        EXPECT_FALSE(Poly::GetElement(&poly, i)->mFlags & FaceVert::kVisitMark);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);

    Poly single;
    BuildPoly(single, CubeSpec(), false);
    single.mFirstPart = single.mLastPart = new CompoundPart;
    single.mFirstPart->mFirstFace = single.GetNthFace(0);
    EXPECT_EQ(single.CreateSimplePoly(Poly::kConvertKeepPart, single.mFirstPart, nullptr), nullptr);
    EXPECT_EQ(scope.services.LastCall()->text, "Model only has one part.");
    EXPECT_EQ(single.CreateSimplePoly(0, single.mFirstPart, nullptr), nullptr);
    EXPECT_EQ(scope.services.LastCall()->text, "Can't remove only component.");
}

// The panes name the current model; a model built aside (a library row made for an operation)
// keeps its own names, whatever the panes show.
TEST(PolyConversionTest, NamesComeFromTheViewAndUnnamedMeansNone)
{
    NamingShell shell;
    ScopedShell scope(&shell);
    ModelRecordList records;
    records.mCurrent = records.NewRecord();
    SetDocumentModelRecords(&records);
    Poly& poly = records.mCurrent->mPoly;
    BuildPoly(poly, TetrahedronSpec(), false);
    poly.SetBaseName("unnamed");
    poly.SetDualName("Tetrahedron");
    poly.SetLink("https://example.org/t");
    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(0, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    EXPECT_EQ(sp->mName, "");
    EXPECT_EQ(sp->mDualName, "Tetrahedron");
    EXPECT_EQ(sp->mLink, "https://example.org/t");

    int view = 0;
    SimplePoly named;
    poly.NameSimplePoly(false, named, &view);
    EXPECT_EQ(named.mName, "View name");
    EXPECT_EQ(named.mDualName, "");
    poly.NameSimplePoly(true, named, &view);
    EXPECT_EQ(named.mName, "");
    EXPECT_EQ(named.mDualName, "View name");

    Poly aside;
    aside.SetBaseName("Cube");
    SimplePoly asideNamed;
    aside.NameSimplePoly(false, asideNamed, &view);
    EXPECT_EQ(asideNamed.mName, "Cube");
    SetDocumentModelRecords(nullptr);
}

TEST(PolyConversionTest, ImagesGoWithTheirElements)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    FaceVert* owner = poly.GetNthFace(2);
    FaceImage* image =
        FaceImage::Create(nullptr, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat, owner, false);
    owner->mImage.Set(image);
    poly.GetNthFace(4)->mImage.Set(image);
    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(0, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    FaceImage* clone = sp->mFaces[2].mImage.Get();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, image);
    EXPECT_EQ(sp->mFaces[4].mImage.Get(), clone);
    EXPECT_EQ(clone->mOwner, &sp->mFaces[2]);
    EXPECT_EQ(clone->mProjection, FaceImage::kProjectPlanar);
    EXPECT_EQ(clone->GetUserCount(), 2);
    EXPECT_EQ(sp->mFaces[3].mImage.Get(), nullptr);
}

TEST(PolyConversionTest, FourDModelsHandTheirPolytopeOver)
{
    Poly poly;
    auto polytope = std::make_unique<Polytope4D>();
    polytope->NewVert(nullptr);
    polytope->mScale = 2.0;
    poly.SetPolytope4D(std::move(polytope), Poly::kKeepScale);
    poly.SetBaseName("Point");
    poly.mPolytope->mScale = 2.0;
    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(Poly::kConvertKeepPolytope, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    ASSERT_NE(sp->mPolytope4D, nullptr);
    EXPECT_NE(sp->mPolytope4D.get(), poly.mPolytope.get());
    EXPECT_EQ(sp->mPolytope4D->mNumVerts, 1);
    EXPECT_TRUE(sp->mFlags & SimplePoly::kFrom4D);
    EXPECT_EQ(sp->mName, "Point");
    EXPECT_EQ(sp->mPolytope4D->mScale, 1.0);  // taken into the plain model's scale
}

namespace
{
// A shell whose views all show one type.
class ViewTypeShell : public Shell
{
public:
    int type = kViewTypeNone;
    int ViewTypeCode(void*) override { return type; }
};

// Pairs as sorted index pairs, for comparison with the faces' sides.
std::set<std::pair<int, int>> PairsOf(const VertexPair* list)
{
    std::set<std::pair<int, int>> pairs;
    for (const VertexPair* p = list; p; p = p->mNext)
        pairs.insert({std::min(p->mLow, p->mHigh), std::max(p->mLow, p->mHigh)});
    return pairs;
}

std::set<std::pair<int, int>> SidesOf(const SimplePoly& sp)
{
    std::set<std::pair<int, int>> sides;
    for (int f = 0; f < sp.mNumFaces; ++f)
    {
        const SimpleFace& face = sp.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            sides.insert({std::min(a, b), std::max(a, b)});
        }
    }
    return sides;
}
}  // namespace

TEST(PolyConversionTest, TheViewTypeChoosesTheSide)
{
    const char* const kRefusal =
        "Can't perform that operation from this type of view.\nPlease select another type of view first.";
    struct Case
    {
        const char* name;
        int type;
        bool showDual;
        uint32_t flags;
        int numVerts;  // -1: refused; -2: nothing, without a word
        const char* modelName;
    };
    const Case cases[] = {
        {"base view", kViewTypePoly, true, 0, 8, "Cube"},
        {"dual view", kViewTypeDual, false, 0, 6, "Octahedron"},
        {"other view, base shown", kViewTypeNone, false, 0, 8, "Cube"},
        {"other view, dual shown", kViewTypeNone, true, 0, 6, "Octahedron"},
        {"compound view", kViewTypeCompound, false, 0, -1, nullptr},
        {"faceting diagram", kViewTypeFacetDiagram, false, 0, -1, nullptr},
        // The stellation's mesh: a model without face types has none.
        {"stellation of the base", kViewTypeUniStellation, false, 0, -2, nullptr},
        {"a side asked for skips the view", kViewTypeCompound, false, Poly::kConvertDual, 6, "Octahedron"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (bool quiet : {false, true})
        {
            Poly poly;
            BuildPoly(poly, CubeSpec(), true);
            poly.SetBaseName("Cube");
            poly.SetDualName("Octahedron");
            poly.SetLink("https://example.org/cube");
            poly.mShowDual = c.showDual;
            ViewTypeShell shell;
            shell.type = c.type;
            ScopedShell installed(&shell);
            ScopedScriptedServices scripted;
            VertexPair* edges = reinterpret_cast<VertexPair*>(&poly);  // overwritten in every case
            bool fromModel = true;
            std::unique_ptr<SimplePoly> sp = poly.CreateSimplePolyFromView(
                c.flags | (quiet ? Poly::kConvertQuiet : 0), &edges, &fromModel, nullptr);
            if (c.numVerts < 0)
            {
                EXPECT_EQ(sp, nullptr);
                EXPECT_EQ(edges, nullptr);
                EXPECT_FALSE(fromModel);
                const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
                if (quiet || c.numVerts == -2)
                {
                    EXPECT_EQ(call, nullptr);
                    continue;
                }
                ASSERT_NE(call, nullptr);
                EXPECT_EQ(call->text, kRefusal);
                continue;
            }
            ASSERT_NE(sp, nullptr);
            EXPECT_TRUE(fromModel);
            EXPECT_EQ(sp->mNumVerts, c.numVerts);
            EXPECT_EQ(sp->mName, c.modelName);
            EXPECT_EQ(sp->mLink, "https://example.org/cube");
            // The edge list is the result's own edges.
            EXPECT_EQ(CountVertexPairs(edges), 12);
            EXPECT_EQ(PairsOf(edges), SidesOf(*sp));
            FreeVertexPairs(edges);
        }
    }
}

TEST(PolyConversionTest, EdgeListsWithAndWithoutEdgeRecords)
{
    for (bool withEdges : {false, true})
    {
        SCOPED_TRACE(withEdges ? "edge records" : "no edge records");
        for (bool dual : {false, true})
        {
            Poly poly;
            BuildPoly(poly, CubeSpec(), withEdges);
            const uint32_t side = dual ? Poly::kConvertDual : Poly::kConvertBase;
            if (withEdges)
            {
                poly.mEdges[0].mFlags |= Edge::kHidden;
                poly.mEdges[1].mColor = ColorRGB{1.0f, 0.0f, 0.0f};
            }
            VertexPair* edges = poly.GetEdgeList(side);
            std::unique_ptr<SimplePoly> sp = poly.CreateSimplePoly(side, nullptr, nullptr);
            ASSERT_NE(sp, nullptr);
            std::set<std::pair<int, int>> expected = SidesOf(*sp);
            ASSERT_EQ(expected.size(), 12u);
            if (withEdges)
            {
                // The hidden edge is left out; the red one keeps its colour.
                const FaceVert* a = poly.mEdges[0].GetEnd(dual, 0);
                const FaceVert* b = poly.mEdges[0].GetEnd(dual, 1);
                expected.erase({std::min(a->mIndex, b->mIndex), std::max(a->mIndex, b->mIndex)});
                const FaceVert* c = poly.mEdges[1].GetEnd(dual, 0);
                const FaceVert* d = poly.mEdges[1].GetEnd(dual, 1);
                bool red = false;
                for (const VertexPair* p = edges; p; p = p->mNext)
                    red = red || (std::min(p->mLow, p->mHigh) == std::min(c->mIndex, d->mIndex) &&
                                  std::max(p->mLow, p->mHigh) == std::max(c->mIndex, d->mIndex) && p->mValue == 0xff);
                EXPECT_TRUE(red);
            }
            else
            {
                const int color = int(ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor));
                for (const VertexPair* p = edges; p; p = p->mNext)
                    EXPECT_EQ(p->mValue, color);
            }
            EXPECT_EQ(PairsOf(edges), expected);
            EXPECT_EQ(CountVertexPairs(edges), int(expected.size()));
            FreeVertexPairs(edges);
        }
    }
}

TEST(PolyConversionTest, AFourDModelMarksItsConversion)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    poly.mFlags |= Poly::kIs4D;
    poly.SetComments("from a projection");
    std::unique_ptr<SimplePoly> sp = poly.CreateSimplePolyFromView(Poly::kConvertBase, nullptr, nullptr, nullptr);
    ASSERT_NE(sp, nullptr);
    EXPECT_TRUE(sp->mFlags & SimplePoly::kFrom4D);
    EXPECT_EQ(sp->mComments, "from a projection");
}
