#include "LibraryStateFixture.h"

#include "kernel/Mat3.h"
#include "kernel/ScriptedServices.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The great dirhombicosidodecahedron and the great disnub dirhombidodecahedron: the vertex figure
// wraps twice round each vertex, and the ring matches itself half-way round read the other way.
namespace
{
class DoublyWrappedRowsTest : public LibraryStateTest
{
};

std::vector<Mat3> Rotations(const SymGroup& group)
{
    std::vector<Mat3> rotations;
    SymOpIterator it;
    Mat3 m;
    while (group.NextOperation(it, true, &m))
        rotations.push_back(m);
    return rotations;
}

struct RowCase
{
    int position;
    const char* name;
    // Faces per type with the sides of its faces, from the published faces and the rotations
    // that keep a face: 60 / (its turns) faces a type.
    std::vector<std::pair<int, int>> typeSizes;
};

const RowCase kRows[] = {
    {74, "Great Dirhombicosidodecahedron", {{60, 4}, {20, 3}, {20, 3}, {12, 5}, {12, 5}}},
    {75, "Great Disnub Dirhombidodecahedron", {{60, 4}, {60, 3}, {60, 3}, {12, 5}, {12, 5}}},
};
}  // namespace

// Their 60 vertices are one orbit of the 60 rotations, so they form one vertex type, and each
// vertex's frame is the image of the first vertex's under the rotation that takes one to the other.
// The face types are the published faces split into rotation classes, mirror images paired.
TEST_F(DoublyWrappedRowsTest, VertexAndFaceTypesAreSymmetryOrbits)
{
    for (const RowCase& c : kRows)
    {
        SCOPED_TRACE(c.name);
        const LibraryEntry& row = Row(c.position);
        ASSERT_STREQ(row.mName, c.name);
        ScopedScriptedServices scripted;
        PolyTemplate templ;
        Poly poly;
        ASSERT_TRUE(poly.CreateFromLibraryEntry(&templ, &row, false));
        ASSERT_NE(poly.mGroup, nullptr);
        const std::vector<Mat3> rotations = Rotations(*poly.mGroup);
        ASSERT_EQ(rotations.size(), 60u);
        EXPECT_TRUE(poly.mReflexible);

        const FaceType* vertType = poly.GetVertStellation()->mFirstFaceType;
        ASSERT_NE(vertType, nullptr);
        EXPECT_EQ(vertType->mNextFaceType, nullptr);
        EXPECT_EQ(vertType->mCount, 60);
        const FaceVert* first = vertType->mFirstFace;
        for (const FaceVert* v = first; v; v = v->mNextOfType)
        {
            int images = 0;
            for (const Mat3& r : rotations)
            {
                Vec3D p, x;
                r.Transform(p, first->mPoint);
                if (!Vec3Equal(p, v->mPoint, 1e-7))
                    continue;
                ++images;
                r.Transform(x, first->mXAxis);
                EXPECT_TRUE(Vec3Equal(x, v->mXAxis, 1e-7)) << "vertex " << v->mIndex;
            }
            EXPECT_EQ(images, 1) << "vertex " << v->mIndex;
        }

        std::vector<std::pair<int, int>> sizes;
        for (const FaceType* t = poly.GetFaceStellation()->mFirstFaceType; t; t = t->mNextFaceType)
        {
            sizes.emplace_back(t->mCount, t->mFirstFace->mNumSides);
            EXPECT_EQ(t->mCount * t->mNumRotations, 60);
            if (t->mFirstFace->mNumSides == 4)
                continue;
            // Triangles and pentagrams come in pairs of mirror-image types.
            ASSERT_NE(t->mMirrorFace, nullptr);
            EXPECT_EQ(t->mMirrorFace->mMirrorFace, t);
            EXPECT_EQ(t->mMirrorFace->mCount, t->mCount);
        }
        std::vector<std::pair<int, int>> expected = c.typeSizes;
        std::sort(sizes.begin(), sizes.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sizes, expected);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    }
}
