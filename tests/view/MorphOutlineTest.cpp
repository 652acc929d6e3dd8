#include "kernel/SceneThrows.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "view/PaneFixture.h"

namespace
{
using MorphOutlineTest = PaneFixture;

// A morph ratio that changes makes the morph outlines of the current model stale; one that stays
// keeps them.
TEST_F(MorphOutlineTest, ANewMorphRatioDropsTheOutlinesOfTheMorph)
{
    Poly* poly = OpenModel("4.4.4");
    ASSERT_NE(poly, nullptr);
    FaceVert* face = poly->mFaces.mFirst;
    ASSERT_NE(face->mFaceType, nullptr);
    const double ratio = GetSceneParameters().morphRatio;

    face->BuildMorphLoops(1.0, 2.0);
    ASSERT_FALSE(face->mFaceType->mMorphOutline.IsEmpty());
    SetMorphRatio(ratio, false);
    EXPECT_FALSE(face->mFaceType->mMorphOutline.IsEmpty());

    SetMorphRatio(ratio + 0.25, false);
    EXPECT_TRUE(face->mFaceType->mMorphOutline.IsEmpty());
}
}  // namespace
