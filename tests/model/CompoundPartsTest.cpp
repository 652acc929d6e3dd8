#include "ElementFixtures.h"
#include "SolidPoints.h"

#include "kernel/Palette.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/CompoundPart.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace
{
// As the model builders leave them, face normals point away from the model's centre; a face whose
// outside looks towards the centre then runs clockwise about its normal. The outward normals the
// builder gave are returned, face by face.
std::vector<Vec3D> NormalsAwayFromCentre(Poly& poly)
{
    std::vector<Vec3D> outward;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
    {
        outward.push_back(f->mZAxis);
        if (Vec3Dot(f->mZAxis, f->mCentre) < 0.0)
            Vec3Negate(f->mZAxis);
    }
    return outward;
}

// A surface given by its faces alone, each listed either way round: the faces around each vertex
// are found across the edges, and each face records whether it runs against the vertex's turn.
// Planes through the centre make Hemi faces.
void BuildSurface(Poly& poly, const PolySpec& spec)
{
    const int nv = int(spec.verts.size());
    std::vector<Face*> faces;
    std::vector<std::vector<std::pair<int, int>>> at(static_cast<size_t>(nv));  // per vertex: (face, position)
    for (size_t f = 0; f < spec.faces.size(); ++f)
    {
        const std::vector<int>& c = spec.faces[f];
        faces.push_back(new Face(&poly, nullptr, int(c.size())));
        for (size_t k = 0; k < c.size(); ++k)
            at[size_t(c[k])].push_back({int(f), int(k)});
    }
    std::vector<Vert*> verts;
    for (int v = 0; v < nv; ++v)
    {
        Vec3D p = spec.verts[size_t(v)];
        verts.push_back(new Vert(&poly, p, int(at[size_t(v)].size())));
    }
    for (size_t f = 0; f < spec.faces.size(); ++f)
    {
        const std::vector<int>& c = spec.faces[f];
        Face* face = faces[f];
        Vec3D normal;  // Newell's normal
        for (size_t k = 0; k < c.size(); ++k)
        {
            face->mNeighbours[k] = verts[size_t(c[k])];
            const Vec3D& p = spec.verts[size_t(c[k])];
            const Vec3D& q = spec.verts[size_t(c[(k + 1) % c.size()])];
            normal.x += (p.y - q.y) * (p.z + q.z);
            normal.y += (p.z - q.z) * (p.x + q.x);
            normal.z += (p.x - q.x) * (p.y + q.y);
        }
        Vec3Normalize(normal);
        double d = Vec3Dot(normal, spec.verts[size_t(c[0])]);
        if (d < 0.0)
            Vec3Negate(normal), d = -d;
        face->mZAxis = normal;
        Vec3Scale(face->mCentre, normal, d);
        if (IsZeroTol(d, kTol))
        {
            face->mPoint = normal;
            face->mFlags |= FaceVert::kHemi;
        }
        else
            Vec3Scale(face->mPoint, normal, 1.0 / d);
    }
    auto corner = [&](int f, int k) {
        const std::vector<int>& c = spec.faces[size_t(f)];
        const int n = int(c.size());
        return c[size_t(((k % n) + n) % n)];
    };
    for (int v = 0; v < nv; ++v)
    {
        Vert* vert = verts[size_t(v)];
        int f = at[size_t(v)][0].first, k = at[size_t(v)][0].second;
        bool against = false;
        for (int i = 0; i < vert->mNumSides; ++i)
        {
            vert->mNeighbours[i] = faces[size_t(f)];
            vert->mFaceReversed[i] = against ? 1 : 0;
            // Leave the face across the edge that enters v in it (leaves it, when against).
            const int exit = corner(f, against ? k + 1 : k - 1);
            for (const auto& [g, j] : at[size_t(v)])
            {
                if (g == f && j == k)
                    continue;
                if (corner(g, j + 1) == exit || corner(g, j - 1) == exit)
                {
                    against = corner(g, j - 1) == exit;
                    f = g;
                    k = j;
                    break;
                }
            }
        }
    }
}

// The frame of a square torus: a 6 by 6 square with a 2 by 2 hole, 2 high; faces counterclockwise
// seen from outside the solid.
PolySpec SquareTorusSpec()
{
    PolySpec spec;
    std::map<std::vector<double>, int> index;
    auto id = [&](double x, double y, double z) {
        const std::vector<double> key{x, y, z};
        auto it = index.find(key);
        if (it != index.end())
            return it->second;
        spec.verts.push_back(Vec3D{x, y, z});
        return index[key] = int(spec.verts.size()) - 1;
    };
    // The pieces of the +x side; the others are quarter turns of them.
    const std::vector<std::vector<Vec3D>> pieces = {
        {{3, -3, 1}, {3, 3, 1}, {1, 1, 1}, {1, -1, 1}},       // top
        {{1, -1, -1}, {1, 1, -1}, {3, 3, -1}, {3, -3, -1}},   // bottom
        {{3, -3, -1}, {3, 3, -1}, {3, 3, 1}, {3, -3, 1}},     // outer wall
        {{1, -1, 1}, {1, 1, 1}, {1, 1, -1}, {1, -1, -1}},     // inner wall
    };
    for (int turn = 0; turn < 4; ++turn)
        for (const std::vector<Vec3D>& piece : pieces)
        {
            std::vector<int> face;
            for (Vec3D p : piece)
            {
                for (int t = 0; t < turn; ++t)
                    p = Vec3D{-p.y, p.x, p.z};
                face.push_back(id(p.x, p.y, p.z));
            }
            spec.faces.push_back(face);
        }
    return spec;
}

void ExpectOutwardNormals(Poly& poly, const std::vector<Vec3D>& outward)
{
    int i = 0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext, ++i)
    {
        const Vec3D n = f->GetNormal();
        EXPECT_NEAR(Vec3Dot(n, outward[size_t(i)]), 1.0, 1e-12) << "face " << i;
    }
}
}  // namespace

TEST(CompoundParts, TetrahedronIsOneSphereEitherWayRound)
{
    for (bool insideOut : {false, true})
    {
        SCOPED_TRACE(insideOut ? "faces listed inside out" : "faces listed outside in");
        Poly poly;
        BuildPoly(poly, TetrahedronSpec(), false);
        const std::vector<Vec3D> outward = NormalsAwayFromCentre(poly);
        if (insideOut)
            for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
                f->RotateNeighbours(0, true);  // the vertices learn that the faces run against them
        OneTypePerSide(poly);

        EXPECT_FALSE(poly.FindCompoundParts());
        ASSERT_EQ(poly.GetNumParts(), 1);
        const CompoundPart* part = poly.mFirstPart;
        EXPECT_EQ(part->mFirstFace, poly.GetNthFace(0));
        EXPECT_EQ(part->mNumFaces, 4);
        EXPECT_EQ(part->mNumVerts, 4);
        EXPECT_EQ(part->mNumEdges, 6);
        EXPECT_EQ(part->GetEulerCharacteristic(), 2);
        EXPECT_EQ(part->GetGenus(), 0);
        EXPECT_FALSE(part->mFlags & CompoundPart::kOneSided);
        EXPECT_FALSE(poly.IsCompound());
        EXPECT_EQ(poly.GetGenus(), 0);
        // Edge 2 sqrt(2): volume 8/3; its polar dual about the unit sphere is the same tetrahedron
        // turned round.
        EXPECT_NEAR(poly.mVolume, 8.0 / 3.0, 1e-12);
        EXPECT_NEAR(part->mVolume, 8.0 / 3.0, 1e-12);
        EXPECT_NEAR(poly.mDualVolume, 8.0 / 3.0, 1e-12);
        // Faces listed inside out are marked so, and their normals still point outward.
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            EXPECT_EQ((f->mFlags & FaceVert::kReversed) != 0, insideOut);
        ExpectOutwardNormals(poly, outward);
        for (int i = 0; i < 8; ++i)
            EXPECT_FALSE(Poly::GetElement(&poly, i)->mFlags &
                         (FaceVert::kVisitMark | FaceVert::kInvertMark | FaceVert::kOneSided));

        // A second analysis finds the same.
        poly.FindCompoundParts();
        EXPECT_EQ(poly.GetNumParts(), 1);
        EXPECT_NEAR(poly.mVolume, 8.0 / 3.0, 1e-12);
        ExpectOutwardNormals(poly, outward);
    }
}

TEST(CompoundParts, VolumesAndAreasOfRegularSolidsAtUnitEdge)
{
    const double s5 = std::sqrt(5.0), s3 = std::sqrt(3.0), s2 = std::sqrt(2.0);
    const double phi = (1.0 + s5) / 2.0;
    // The polar dual about the unit sphere of an icosahedron of unit edge is the dodecahedron of
    // circumradius 1 / inradius.
    const double icoInradius = phi * phi / (2.0 * s3);
    const double dodecaEdge = 4.0 / (icoInradius * s3 * (1.0 + s5));
    struct Case
    {
        const char* name;
        double volume, area, dualVolume, dualArea;
    };
    const Case cases[] = {
        // Cube of edge 1: the dual is the octahedron of vertex radius 2.
        {"cube", 1.0, 6.0, 32.0 / 3.0, 16.0 * s3},
        // Octahedron of edge 1: the dual is the cube of edge 2 sqrt(2).
        {"octahedron", s2 / 3.0, 2.0 * s3, 16.0 * s2, 48.0},
        {"icosahedron", 5.0 * (3.0 + s5) / 12.0, 5.0 * s3, (15.0 + 7.0 * s5) / 4.0 * std::pow(dodecaEdge, 3),
         3.0 * std::sqrt(25.0 + 10.0 * s5) * dodecaEdge * dodecaEdge},
    };
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, ConvexSpec(ScaledToUnitEdge(FindSolid(solids, c.name).points)), false);
        OneTypePerSide(poly);
        poly.FindCompoundParts();
        poly.CalcSurfaceAreas();
        EXPECT_NEAR(poly.mVolume, c.volume, 1e-12);
        EXPECT_NEAR(poly.mSurfaceArea, c.area, 1e-12);
        EXPECT_NEAR(poly.mDualVolume, c.dualVolume, 1e-12 * c.dualVolume);
        EXPECT_NEAR(poly.mDualSurfaceArea, c.dualArea, 1e-12 * c.dualArea);
        EXPECT_EQ(poly.mFirstPart->GetEulerCharacteristic(), 2);
    }
}

TEST(CompoundParts, TorusHasGenusOneAndFacesTowardsItsHole)
{
    Poly poly;
    BuildPoly(poly, SquareTorusSpec(), false);
    const std::vector<Vec3D> outward = NormalsAwayFromCentre(poly);
    OneTypePerElement(poly);
    // The walls of the hole face the centre: their normals point the other way from the rest.
    EXPECT_TRUE(poly.FindCompoundParts());
    ASSERT_EQ(poly.GetNumParts(), 1);
    const CompoundPart* part = poly.mFirstPart;
    EXPECT_EQ(part->mNumVerts, 16);
    EXPECT_EQ(part->mNumFaces, 16);
    EXPECT_EQ(part->mNumEdges, 32);
    EXPECT_EQ(part->GetEulerCharacteristic(), 0);
    EXPECT_EQ(part->GetGenus(), 1);
    EXPECT_EQ(poly.GetGenus(), 1);
    EXPECT_NEAR(poly.mVolume, (36.0 - 4.0) * 2.0, 1e-12);
    poly.CalcSurfaceAreas();
    EXPECT_NEAR(poly.mSurfaceArea, 2.0 * 32.0 + 4.0 * 12.0 + 4.0 * 4.0, 1e-12);
    ExpectOutwardNormals(poly, outward);
}

TEST(CompoundParts, OneSidedSurfaceAddsNoVolume)
{
    // The tetrahemihexahedron: four faces of the octahedron and the three squares through its
    // centre, a projective plane.
    PolySpec spec;
    spec.verts = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    spec.faces = {{0, 2, 4}, {0, 3, 5}, {1, 2, 5}, {1, 3, 4}, {0, 2, 1, 3}, {2, 4, 3, 5}, {4, 0, 5, 1}};
    Poly poly;
    BuildSurface(poly, spec);
    OneTypePerSide(poly);
    poly.GetNthFace(1)->mFlags |= FaceVert::kReversed | FaceVert::kReverseNorm;
    poly.FindCompoundParts();
    ASSERT_EQ(poly.GetNumParts(), 1);
    const CompoundPart* part = poly.mFirstPart;
    EXPECT_TRUE(part->mFlags & CompoundPart::kOneSided);
    EXPECT_EQ(part->GetEulerCharacteristic(), 6 + 7 - 12);
    EXPECT_EQ(part->GetGenus(), 1);
    EXPECT_EQ(poly.mVolume, 0.0);
    EXPECT_EQ(part->mVolume, 0.0);
    for (int i = 0; i < 13; ++i)
    {
        const uint32_t flags = Poly::GetElement(&poly, i)->mFlags;
        EXPECT_TRUE(flags & FaceVert::kOneSided) << i;
        EXPECT_FALSE(flags & (FaceVert::kReversed | FaceVert::kReverseNorm)) << i;
    }

    // The same builder on the octahedron, faces listed any way round, finds a closed surface.
    PolySpec octa;
    octa.verts = spec.verts;
    octa.faces = {{0, 2, 4}, {0, 5, 2}, {0, 3, 5}, {0, 4, 3}, {1, 4, 2}, {1, 2, 5}, {1, 3, 4}, {1, 5, 3}};
    std::reverse(octa.faces[2].begin(), octa.faces[2].end());
    std::reverse(octa.faces[7].begin(), octa.faces[7].end());
    Poly closed;
    BuildSurface(closed, octa);
    closed.FindCompoundParts();
    ASSERT_EQ(closed.GetNumParts(), 1);
    EXPECT_FALSE(closed.mFirstPart->mFlags & CompoundPart::kOneSided);
    EXPECT_NEAR(closed.mVolume, 4.0 / 3.0, 1e-12);
    EXPECT_TRUE(closed.GetNthFace(2)->mFlags & FaceVert::kReversed);
    EXPECT_TRUE(closed.GetNthFace(7)->mFlags & FaceVert::kReversed);
    EXPECT_FALSE(closed.GetNthFace(3)->mFlags & FaceVert::kReversed);
}

TEST(CompoundParts, PartsOfACompoundAreFoundAndColoured)
{
    // A cube and an octahedron apart.
    PolySpec spec = CubeSpec();
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    PolySpec octa = ConvexSpec(FindSolid(solids, "octahedron").points);
    for (Vec3D p : octa.verts)
        spec.verts.push_back(Vec3D{p.x, p.y, p.z + 5.0});
    for (std::vector<int> f : octa.faces)
    {
        for (int& k : f)
            k += 8;
        spec.faces.push_back(f);
    }
    Poly poly;
    BuildPoly(poly, spec, false);
    NormalsAwayFromCentre(poly);
    poly.FindCompoundParts();
    ASSERT_EQ(poly.GetNumParts(), 2);
    EXPECT_TRUE(poly.IsCompound());
    const CompoundPart* cube = poly.GetNthPart(0);
    const CompoundPart* second = poly.GetNthPart(1);
    EXPECT_EQ(poly.GetNthPart(2), nullptr);
    EXPECT_EQ(poly.GetNthPart(-1), nullptr);
    EXPECT_EQ(cube->mNumFaces, 6);
    EXPECT_EQ(second->mNumFaces, 8);
    EXPECT_EQ(second->mFirstFace, poly.GetNthFace(6));
    EXPECT_NEAR(cube->mVolume, 8.0, 1e-12);
    EXPECT_NEAR(second->mVolume, 4.0 / 3.0, 1e-12);
    EXPECT_NEAR(poly.mVolume, 8.0 + 4.0 / 3.0, 1e-12);

    EXPECT_EQ(poly.FindPartOf(poly.GetNthVert(9)), second);
    EXPECT_EQ(poly.FindPartOf(poly.GetNthFace(3)), cube);
    EXPECT_EQ(poly.FindPartOf(nullptr), nullptr);

    EXPECT_EQ(poly.ColorByPart(), 2);
    for (int i = 0; i < poly.mFaces.mCount + poly.mVerts.mCount; ++i)
    {
        const FaceVert* e = Poly::GetElement(&poly, i);
        const bool inCube = e->IsFace() ? i < 6 : i - 14 < 8;
        EXPECT_EQ(ColorToRGB(e->mColor), PaletteEntry(inCube ? 0 : 1)) << i;
        EXPECT_EQ(ColorToRGB(e->mBackColor), PaletteEntry(inCube ? 0 : 1)) << i;
        EXPECT_FALSE(e->mFlags & FaceVert::kVisitMark) << i;
    }

    // Only the elements of the start's colour take the new one; the walk goes through the others.
    const ColorRGB red{1, 0, 0}, blue{0, 0, 1};
    poly.GetNthFace(7)->mColor = red;
    poly.FillPartColor(poly.GetNthFace(6), blue, true);
    EXPECT_EQ(ColorToRGB(poly.GetNthFace(7)->mColor), ColorToRGB(red));
    EXPECT_EQ(ColorToRGB(poly.GetNthFace(13)->mColor), ColorToRGB(blue));
    EXPECT_EQ(ColorToRGB(poly.GetNthFace(0)->mColor), PaletteEntry(0));
    poly.FillPartColor(poly.GetNthFace(6), red, false);
    EXPECT_EQ(ColorToRGB(poly.GetNthVert(10)->mColor), ColorToRGB(red));
}

TEST(CompoundParts, OverflowingTheBufferIsReportedAndStopsTheWalk)
{
    ScopedScriptedServices scope;
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    std::vector<FaceVert*> buffer(5);
    CompoundPart part;
    double vertSum = 0.0;
    bool mixed = true;
    FindCompoundPart(&part, poly.GetNthFace(0), buffer.data(), 5, vertSum, mixed);
    ASSERT_GE(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scope.services.calls[0].text.find("FindCompoundPart() failed, 5 >= 5"), std::string::npos);
    EXPECT_FALSE(mixed);
}

TEST(CompoundParts, CircumcentreOfVerticesOnASphere)
{
    PolySpec spec = TetrahedronSpec();
    for (Vec3D& v : spec.verts)
        Vec3AddTo(v, Vec3D{1, 2, 3});
    Poly poly;
    BuildPoly(poly, spec, false);
    Vec3D centre;
    double radiusSq = 0.0;
    ASSERT_TRUE(poly.GetCircumcentre(centre, radiusSq));
    EXPECT_NEAR(centre.x, 1.0, 1e-12);
    EXPECT_NEAR(centre.y, 2.0, 1e-12);
    EXPECT_NEAR(centre.z, 3.0, 1e-12);
    EXPECT_NEAR(radiusSq, 3.0, 1e-12);

    // One corner of a cube pulled out: no sphere holds them all.
    PolySpec bent = CubeSpec();
    bent.verts[6] = Vec3D{1.5, 1.5, 1.5};
    Poly off;
    BuildPoly(off, bent, false);
    EXPECT_FALSE(off.GetCircumcentre(centre, radiusSq));

    // A box is on its sphere; a square is too flat to fix one.
    Poly box;
    PolySpec boxSpec = CubeSpec();
    for (Vec3D& v : boxSpec.verts)
        v.z *= 3.0;
    BuildPoly(box, boxSpec, false);
    ASSERT_TRUE(box.GetCircumcentre(centre, radiusSq));
    EXPECT_NEAR(radiusSq, 11.0, 1e-12);
    Poly flat;
    MakePolygonFace(flat, StarPolygon(4, 1, 1.0, 0.5), {0, 0, 0.5}, {0, 0, 1});
    EXPECT_FALSE(flat.GetCircumcentre(centre, radiusSq));
}

TEST(CompoundParts, VertexCentroids)
{
    // A square pyramid: the apex has four faces, each base corner three.
    PolySpec spec;
    spec.verts = {{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}, {0, 0, 4}};
    spec.faces = {{0, 3, 2, 1}, {0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}};
    for (Vec3D& v : spec.verts)
        v.z -= 1.0;  // the centre inside
    Poly poly;
    BuildPoly(poly, spec, false);
    ASSERT_EQ(poly.GetNthVert(4)->mNumSides, 4);
    EXPECT_NEAR(poly.GetVertexCentroid().z, 0.8 - 1.0, 1e-12);
    EXPECT_NEAR(poly.GetWeightedVertexCentroid().z, 16.0 / 16.0 - 1.0, 1e-12);
    poly.GetNthVert(4)->mFlags |= FaceVert::kSkip;
    EXPECT_NEAR(poly.GetVertexCentroid().z, -1.0, 1e-12);
}
