#include "kernel/Shell.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/Augmenter.h"
#include "stellation/FaceType.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
class PreviewShell : public RecordingShell
{
public:
    void SetViewMessage(void* view, const std::string& text) override
    {
        calls.push_back(std::string("Message ") + (view == this ? "preview" : "other") + " '" + text + "'");
    }
    void InvalidateView(void* view) override { calls.push_back(view == this ? "Invalidate preview" : "Invalidate"); }
    void UpdateAllViewButtons() override { calls.push_back("ViewButtons"); }
};
}  // namespace

TEST(AugmenterTest, ClearDropsTheAugmentationButKeepsTheScale)
{
    Poly poly;
    Stellation* side = poly.GetFaceStellation();
    FaceType* type = side->AppendFaceType(std::make_unique<FaceType>(&poly, side, 0, 0));
    Face* face = new Face(&poly, nullptr, 4);
    face->mFaceType = type;

    Augmenter& a = poly.mAugmenter;
    a.mAddedModel = std::make_unique<SimplePoly>(5, 5);
    new AugmentAttachNode(&a.mAddedModel->mFaces[0], a.mAttachRing);
    new AugmentAttachNode(&a.mAddedModel->mFaces[1], a.mAttachRing);
    AugmentTarget* target = new AugmentTarget(face, a.mFirstTarget, a.mLastTarget);
    EXPECT_TRUE(type->mFlags & kFaceTypeAugmentTarget);
    target->mCurrentPlacement = new AugmentPlacement;
    ListAppend(target->mCurrentPlacement, target->mFirstPlacement, target->mLastPlacement);
    a.mTriangulations.resize(5);
    a.mFace = face;
    a.mFlags = 0x4000;
    a.mHeight = 2.0;
    a.mScale = 1.5;
    a.mTopRatio = 0.5;
    a.mExplosion = 0.25;
    a.mFilePath = "model.orva";

    EXPECT_EQ(a.mAttachRing->next->mFace, &a.mAddedModel->mFaces[1]);
    a.Refresh();  // what matched goes; the solid stays
    EXPECT_EQ(a.mAttachRing, nullptr);
    EXPECT_EQ(a.mFirstTarget, nullptr);
    EXPECT_FALSE(type->mFlags & kFaceTypeAugmentTarget);
    EXPECT_NE(a.mAddedModel, nullptr);

    new AugmentTarget(face, a.mFirstTarget, a.mLastTarget);
    a.Clear();
    EXPECT_EQ(a.mFirstTarget, nullptr);
    EXPECT_EQ(a.mLastTarget, nullptr);
    EXPECT_FALSE(type->mFlags & kFaceTypeAugmentTarget);
    EXPECT_EQ(a.mAddedModel, nullptr);
    EXPECT_TRUE(a.mTriangulations.empty());
    EXPECT_TRUE(a.mFilePath.empty());
    EXPECT_EQ(a.mFace, nullptr);
    EXPECT_EQ(a.mFlags, 0u);
    EXPECT_EQ(a.mHeight, 0.0);
    EXPECT_EQ(a.mExplosion, 0.0);
    EXPECT_EQ(a.mTopRatio, 1.0);
    EXPECT_EQ(a.mScale, 1.5);
}

TEST(AugmenterTest, StoppingAPreviewRestoresItsView)
{
    PreviewShell shell;
    ScopedShell scope(&shell);
    Augmenter a;
    a.mPreviewView = &shell;
    a.Clear();
    EXPECT_EQ(a.mPreviewView, nullptr);
    EXPECT_EQ(shell.Count("Message preview ''"), 1);
    EXPECT_EQ(shell.Count("Invalidate preview"), 1);
    EXPECT_EQ(shell.Count("ViewButtons"), 1);
    shell.calls.clear();
    a.Reset();
    EXPECT_TRUE(shell.calls.empty());
}

TEST(AugmenterTest, ThePreviewHidesAttachFacesOnlyInItsViewAndAtRest)
{
    int view = 0, other = 0;
    Augmenter a;
    EXPECT_FALSE(a.PreviewHidesAttachFaces(&view));
    a.mPreviewView = &view;
    EXPECT_TRUE(a.PreviewHidesAttachFaces(&view));
    EXPECT_FALSE(a.PreviewHidesAttachFaces(&other));
    a.mExplosion = 2e-7;
    EXPECT_FALSE(a.PreviewHidesAttachFaces(&view));
    a.mExplosion = -1e-7;
    EXPECT_TRUE(a.PreviewHidesAttachFaces(&view));
    a.mFlags = Augmenter::kKeepCoincidentFaces;
    EXPECT_FALSE(a.PreviewHidesAttachFaces(&view));
    a.mPreviewView = nullptr;
}
