// The Stewart toroids of the library: the rows built from unit-edge pieces open from their stored
// positions with their catalogue counts and genus, as regular-faced oriented surfaces whose faces
// meet only where they share edges. Rows 212 and 221, which have checked public data, pass the
// same checks.

#include "LibraryStateFixture.h"
#include "SurfaceChecks.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/CompoundPart.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{
using L = LibraryEntry;

struct Toroid
{
    int position;
    const char* symbol;
    int f, e, v, genus;
    std::map<int, int> faceSizes;  // how many faces of each size the pieces leave
    const char* group = "";        // the symmetry its construction keeps, where checked
};

// Counts as catalogued. Face sizes worked out by hand from the pieces of each symbol: the faces of
// the pieces less those glued or drilled away (217: J18's 3 triangles and 9 squares, 3 triangles
// and 3 squares of the cupola, 3 squares of the prism).
const Toroid kRows[] = {
    {212, "G3", 13, 24, 13, 0, {}},
    {216, "P6 / gP6", 12, 28, 16, 1, {{4, 8}, {6, 4}}},
    {217, "Q3 P6 / P3 Q3", 21, 39, 18, 1, {{3, 6}, {4, 15}}},
    {218, "Q3 Q3 / S3 S3", 24, 39, 15, 1, {{3, 18}, {4, 6}}},
    {219, "T4 / gQ4 P4 Q4", 32, 64, 32, 1, {{3, 16}, {4, 12}, {8, 4}}},
    {220, "Q4 Q4 / B4", 28, 48, 20, 1, {{3, 16}, {4, 12}}},
    {221, "K3 / Q3 T3", 24, 54, 30, 1, {{3, 6}, {4, 9}, {6, 9}}},
    {222, "R5 / S5 Q5", 35, 60, 25, 1, {{3, 25}, {4, 5}, {5, 5}}},
    {223, "Q4 (T4) Q4 / B4 (P4) B4", 56, 104, 48, 1, {{3, 32}, {4, 20}, {8, 4}}},
    {224, "K3 / 4Q3 (S3)", 38, 72, 30, 3, {{3, 16}, {4, 18}, {6, 4}}},
    {225, "8S3", 48, 72, 24, 1, {{3, 48}}},
    // One tunnel at every face of a kind, meeting on the solid in the middle. 226: K4's hexagons and
    // octagons, E4's squares and triangles on the axes, four squares of each cube.
    {226, "K4 / 12P4 (E4)", 76, 168, 72, 11, {{3, 8}, {4, 54}, {6, 8}, {8, 6}}, "Oh"},
    {227, "K4 / 8Q3 (E4)", 84, 168, 72, 7, {{3, 24}, {4, 54}, {8, 6}}, "Oh"},
    {228, "K4 / 6Q4 (E4)", 88, 168, 72, 5, {{3, 32}, {4, 48}, {6, 8}}, "Oh"},
    // Tunnels at the four squares round one 4-fold axis only: E4's other faces stay as walls.
    {229, "K4 / 4P4 (E4)", 60, 136, 72, 3, {{3, 8}, {4, 38}, {6, 8}, {8, 6}}, "D4h"},
    // Two cavities, E4's caps, each with four tunnels: K4 keeps its four squares round the axis.
    {231, "K4 / 2 (4P4 (Q4))", 62, 144, 72, 6, {{3, 8}, {4, 38}, {6, 8}, {8, 8}}, "D4h"},
    // E5 keeps its triangles, pentagons and 24 squares; each J91 leaves its four pentagons, its
    // triangles meeting those of the next. The J91s turn from axis to axis: the pyritohedral group.
    {235, "E5 / 6 J91 (P4)", 80, 168, 80, 5, {{3, 20}, {4, 24}, {5, 36}}, "Th"},
    {236, "T5 / 12Q5 S5 (D5)", 260, 420, 140, 11, {{3, 200}, {4, 60}}, "Ih"},
    {239, "K5 / 12R5 (E5)", 280, 540, 240, 11, {{3, 140}, {4, 60}, {5, 60}, {6, 20}}, "Ih"},
    {240, "K5 / 12Q5 S5 (E5)", 340, 600, 240, 11, {{3, 200}, {4, 120}, {6, 20}}, "Ih"},
};

// The rows of the table without data yet: refused, and passed over by stepping.
const std::set<int> kWithoutData = {213, 214, 215, 230, 232, 233, 234, 237, 238};

// The row that stepping reaches from the toroid at this position: the next with data, or the
// pyramids after the last toroid.
int StepFrom(int position, int direction)
{
    do
        position += direction;
    while (kWithoutData.count(position));
    return position;
}

Vec3D Sub(const Vec3D& a, const Vec3D& b)
{
    return Vec3D{a.x - b.x, a.y - b.y, a.z - b.z};
}

double Length(const Vec3D& a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

class ToroidRowsTest : public LibraryStateTest
{
};
}  // namespace

TEST_F(ToroidRowsTest, EachOpensByNameAndByStepWithItsCountsAndGenus)
{
    for (const Toroid& c : kRows)
    {
        L& row = Row(c.position);
        SCOPED_TRACE(row.mName);
        ScopedScriptedServices scripted;
        EXPECT_STREQ(row.mSymbol, c.symbol);
        EXPECT_EQ(FindLibraryEntry(row.mName, nullptr, false), &row);
        EXPECT_EQ(std::vector<int>({row.mNumFaces, row.mNumEdges, row.mNumVerts}), std::vector<int>({c.f, c.e, c.v}));

        // Stepping passes over the rows without data.
        const int before = StepFrom(c.position, -1);
        const int after = StepFrom(c.position, 1);
        EXPECT_EQ(StepLibraryEntry(&row, nullptr, -1), &Row(before));
        EXPECT_EQ(StepLibraryEntry(&Row(before), nullptr, 1), &row);
        EXPECT_EQ(StepLibraryEntry(&row, nullptr, 1), &Row(after));

        PolyTemplate templ;
        Poly poly;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &row, false));
        EXPECT_EQ(poly.mFaces.mCount, c.f);
        EXPECT_EQ(poly.mNumEdges, c.e);
        EXPECT_EQ(poly.mVerts.mCount, c.v);
        // Stored positions: nothing was settled, so no progress window came up.
        EXPECT_EQ(scripted.services.progressOpened, 0);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);

        // One part, of the catalogue's genus, and Euler's formula agrees.
        ASSERT_EQ(poly.GetNumParts(), 1);
        EXPECT_EQ(poly.GetNthPart(0)->GetGenus(), c.genus);
        EXPECT_EQ(poly.GetGenus(), c.genus);
        EXPECT_EQ(poly.mVerts.mCount - poly.mNumEdges + poly.mFaces.mCount, 2 - 2 * c.genus);
        // A tunnel repeated over a group leaves that whole group; others keep what their pieces allow.
        if (*c.group)
        {
            EXPECT_STREQ(SymGroup::GetSchoenflies(poly.GetSymGroup()), c.group);
        }
    }
}

TEST_F(ToroidRowsTest, EachIsARegularFacedOrientedSurfaceWhoseFacesMeetOnlyAtEdges)
{
    ScopedScriptedServices scripted;
    for (const Toroid& c : kRows)
    {
        const L& row = Row(c.position);
        SCOPED_TRACE(row.mName);
        std::unique_ptr<SimplePoly> plain = row.CreateSpringPoly(nullptr);
        ASSERT_NE(plain, nullptr);
        // Only the Simplest Torus crosses itself; it alone claims nothing.
        EXPECT_EQ(plain->mFlags & (SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting),
                  c.position == 216 ? 0u : SimplePoly::kNonSelfIntersecting);

        SurfaceModel model = SurfaceModelOf(*plain);
        ASSERT_EQ(int(model.verts.size()), c.v);
        ASSERT_EQ(int(model.faces.size()), c.f);

        // Scaled to unit edges (the public data has its own scale), every edge is 1.
        const auto [shortest, longest] = EdgeRange(model);
        for (Vec3D& p : model.verts)
            p = Vec3D{p.x / longest, p.y / longest, p.z / longest};
        EXPECT_LT(1 - shortest / longest, 1e-7);

        // Every face regular and planar.
        std::map<int, int> sizes;
        for (const std::vector<int>& face : model.faces)
        {
            ++sizes[int(face.size())];
            EXPECT_TRUE(IsRegularFace(model, face, 1e-7)) << face.size() << "-gon";
            EXPECT_LT(WorstPlaneDistance(model, face), 1e-7);
            const double radius = Length(Sub(model.verts[size_t(face[0])], SurfaceCentroid(model, face)));
            EXPECT_NEAR(radius, 1 / (2 * std::sin(M_PI / double(face.size()))), 1e-7);
        }
        if (!c.faceSizes.empty())
        {
            EXPECT_EQ(sizes, c.faceSizes);
        }

        // Oriented: every edge once in each direction. Faces that share an edge are not in one plane.
        std::set<std::pair<int, int>> directed;
        for (const std::vector<int>& face : model.faces)
        {
            for (size_t k = 0; k < face.size(); ++k)
                EXPECT_TRUE(directed.insert({face[k], face[(k + 1) % face.size()]}).second);
        }
        const auto edges = FacesByEdge(model);
        EXPECT_EQ(int(edges.size()), c.e);
        for (const auto& [edge, faces] : edges)
        {
            ASSERT_EQ(faces.size(), 2u);
            EXPECT_EQ(directed.count({edge.second, edge.first}), 1u);
            const Vec3D n = SurfaceAreaNormal(model, model.faces[size_t(faces[0])]);
            const Vec3D m = SurfaceAreaNormal(model, model.faces[size_t(faces[1])]);
            EXPECT_LT(n.x * m.x + n.y * m.y + n.z * m.z, 1 - 1e-7) << edge.first << "-" << edge.second;
        }

        if (c.position == 216)
            EXPECT_GT(CountFacePairsThatMeet(model), 0);
        else
            EXPECT_EQ(CountFacePairsThatMeet(model), 0);
    }
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(ToroidRowsTest, RowsWithoutDataAreRefused)
{
    for (int position : kWithoutData)
    {
        const L& row = Row(position);
        SCOPED_TRACE(row.mName);
        ScopedScriptedServices scripted;
        EXPECT_FALSE(L::HasSpringData(&row));
        PolyTemplate templ;
        Poly poly;
        EXPECT_FALSE(poly.CreateFromLibraryEntry(&templ, &row, false));
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    }
}
