#include "LibraryStateFixture.h"

#include "kernel/ScriptedServices.h"
#include "kernel/Mat3.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "model/PolyTemplate.h"
#include "stellation/Faceting.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
class FacetingPreparationSurveyTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        GetFacetingSettings() = FacetingSettings();
    }
    void TearDown() override
    {
        GetFacetingSettings() = FacetingSettings();
        LibraryStateTest::TearDown();
    }
};

// Every vertex type is one orbit of the group's rotations, as the preparation takes it to be.
bool VertexTypesAreOrbits(const Poly& poly, FaceType* types)
{
    std::vector<Mat3> rotations;
    SymOpIterator it;
    Mat3 m;
    while (poly.mGroup->NextOperation(it, true, &m))
        rotations.push_back(m);
    for (FaceType* t = types; t; t = t->mNextFaceType)
    {
        if (!Faceting::IsVertexType(t))
            continue;
        std::vector<Vec3D> orbit;
        for (const Mat3& r : rotations)
        {
            Vec3D image;
            r.Transform(image, t->mFirstFace->mPoint);
            bool known = false;
            for (const Vec3D& p : orbit)
                known = known || Vec3Equal(p, image, 1e-7);
            if (!known)
                orbit.push_back(image);
        }
        int members = 0;
        for (FaceVert* v = t->mFirstFace; v; v = v->mNextOfType)
        {
            if (!Faceting::IsCandidateVert(v))
                continue;
            ++members;
            bool inOrbit = false;
            for (const Vec3D& p : orbit)
                inOrbit = inOrbit || Vec3Equal(p, v->mPoint, 1e-7);
            if (!inOrbit)
                return false;
        }
        if (members != int(orbit.size()))
            return false;
    }
    return true;
}
}  // namespace

// The faceting of both sides of every uniform row that builds with a symmetry group (the model's
// vertices, and the poles of its faces) is prepared without an internal error: no edge or face
// without its mirror image, no rotation cycle or flipped partner missing.
TEST_F(FacetingPreparationSurveyTest, EveryUniformRowPreparesWithoutAnInternalError)
{
    int prepared = 0;
    for (int position = 0; position < 105; ++position)
    {
        const LibraryEntry& row = Row(position);
        if (row.mFlags & LibraryEntry::kParametricFamily)
            continue;
        ScopedScriptedServices scripted;
        PolyTemplate templ;
        Poly poly;
        if (!poly.CreateFromLibraryEntry(&templ, &row, false) || !poly.mGroup)
            continue;
        for (int side = 0; side < 2; ++side)
        {
            SCOPED_TRACE(std::to_string(position) + " " + row.mName + (side ? ", face poles" : ", vertices"));
            scripted.services.Clear();
            Stellation* own = side ? poly.GetVertStellation() : poly.GetFaceStellation();
            Stellation* other = side ? poly.GetFaceStellation() : poly.GetVertStellation();
            Faceting& faceting = own->mFaceting;
            // The great dirhombicosidodecahedron and the great disnub dirhombidodecahedron build
            // with their 60 vertices, one orbit, split into two types that are not orbits (40 and
            // 20, 33 and 27): the preparation finds classes twice and their mirror images amiss.
            if (side == 0 && (position == 74 || position == 75))
            {
                EXPECT_FALSE(VertexTypesAreOrbits(poly, other->mFirstFaceType)) << "their types are mended: test them";
                continue;
            }
            EXPECT_TRUE(VertexTypesAreOrbits(poly, other->mFirstFaceType));
            EXPECT_TRUE(faceting.CreateFaceting(&poly, other->mFirstFaceType));
            for (const ScriptedServices::Call& call : scripted.services.calls)
                EXPECT_NE(call.caption, "Internal Error") << call.text;
            EXPECT_GT(faceting.mNumFaces, 0);
            // A plane holds every vertex that lies in it, coincident copies aside.
            const ElemList* verts = other->GetFaceList();
            for (const FacetPlane* plane = faceting.mFirstPlane; plane; plane = plane->next)
            {
                int lying = 0;
                for (const FaceVert* v = verts->mFirst; v; v = v->mNext)
                    lying += Faceting::IsCandidateVert(v) && Faceting::IsVertexType(v->mFaceType) &&
                             std::fabs(Vec3Dot(plane->mNormal, v->mPoint) + plane->mD) <= 1e-7;
                EXPECT_EQ(plane->mNumVerts, lying) << "plane " << plane->mIndex;
            }
            faceting.Clear();
            ++prepared;
        }
    }
    EXPECT_EQ(prepared, 2 * 103 - 2);
}
