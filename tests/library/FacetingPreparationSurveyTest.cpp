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

// Every face type is one orbit of the group's rotations: each face of the type is an image of the
// type's first face (compared by their corner points), and each image is a face of the type.
bool FaceTypesAreOrbits(const Poly& poly)
{
    std::vector<Mat3> rotations;
    SymOpIterator it;
    Mat3 m;
    while (poly.mGroup->NextOperation(it, true, &m))
        rotations.push_back(m);
    auto sameCorners = [](const FaceVert* f, const FaceVert* g, const Mat3& r) {
        if (f->mNumSides != g->mNumSides)
            return false;
        for (int a = 0; a < f->mNumSides; ++a)
        {
            Vec3D image;
            r.Transform(image, f->mNeighbours[a]->mPoint);
            bool found = false;
            for (int b = 0; b < g->mNumSides && !found; ++b)
                found = Vec3Equal(image, g->mNeighbours[b]->mPoint, 1e-7);
            if (!found)
                return false;
        }
        return true;
    };
    for (FaceType* t = poly.GetFaceStellation()->mFirstFaceType; t; t = t->mNextFaceType)
    {
        for (const Mat3& r : rotations)
        {
            bool found = false;
            for (const FaceVert* g = t->mFirstFace; g && !found; g = g->mNextOfType)
                found = sameCorners(t->mFirstFace, g, r);
            if (!found)
                return false;
        }
        for (const FaceVert* g = t->mFirstFace; g; g = g->mNextOfType)
        {
            bool found = false;
            for (size_t k = 0; k < rotations.size() && !found; ++k)
                found = sameCorners(t->mFirstFace, g, rotations[k]);
            if (!found)
                return false;
        }
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
            EXPECT_TRUE(VertexTypesAreOrbits(poly, other->mFirstFaceType));
            if (side == 0)
            {
                EXPECT_TRUE(FaceTypesAreOrbits(poly));
            }
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
    EXPECT_EQ(prepared, 2 * 103);
}
