#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Transform3D.h"
#include "kernel/Triangulation2D.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class FaceVert;
class SimpleFace;
class SimplePoly;
struct LibraryEntry;

// One way of laying the attach face of the solid being added onto a target face: where its corners
// start, in which order they run, on which side the copy lies, and the map from the solid into the
// local frame of the target face (so that one placement serves every face of the target's type).
class AugmentPlacement : public LinkNode<AugmentPlacement>
{
public:
    int32_t mStart = 0;
    int32_t mDirection = 0;  // 0: the corners in the same order, 1: in the opposite order
    bool mOtherSide = false;
    Transform3D mTransform;
};

// A face of the model that receives a copy of the solid, with its placements. While it exists its
// face type is marked as a target.
class AugmentTarget : public LinkNode<AugmentTarget>
{
public:
    // Links the target at the tail of the list and marks the face's type.
    AugmentTarget(FaceVert* face, AugmentTarget*& first, AugmentTarget*& last);
    ~AugmentTarget() override;

    void FreePlacements();

    FaceVert* mFace;
    AugmentPlacement* mFirstPlacement = nullptr;  // owned
    AugmentPlacement* mLastPlacement = nullptr;
    AugmentPlacement* mCurrentPlacement = nullptr;
};

// A face of the solid being added that may be laid on the model; a node of the attach ring.
class AugmentAttachNode : public RingNode<AugmentAttachNode>
{
public:
    // Joins the node at the end of the ring.
    AugmentAttachNode(SimpleFace* face, AugmentAttachNode*& ring);

    SimpleFace* mFace;
};

// The augmentation state of one model: the solid being added, where its copies go and how the
// preview shows them. Each Poly holds one; making and destroying the Poly resets it.
class Augmenter
{
public:
    // Flags (mFlags): the solid added is the model of memory slot mMemorySlot.
    static constexpr uint32_t kAddMemoryModel = 0x10;
    // Flags (mFlags) that the face drawing reads.
    static constexpr uint32_t kWhichFacesMask = 0xc000;
    static constexpr uint32_t kOnlySameColor = 0x200000;
    static constexpr uint32_t kKeepCoincidentFaces = 0x2000000;

    Augmenter();
    ~Augmenter();
    Augmenter(const Augmenter&) = delete;
    Augmenter& operator=(const Augmenter&) = delete;

    // Frees the attach ring, the targets, the solid being added, its triangulations and the file
    // path; flags, height and explosion 0, top ratio 1, no face. A running preview is stopped: its
    // view is redrawn without its message and rebuilds its title-bar buttons.
    void Clear();
    // Clear, as when a model is made or destroyed.
    void Reset() { Clear(); }
    // Drops the attach ring and the targets: what matched the model before its symmetry changed
    // under a running preview. The augmentation set-up then finds the matching faces again.
    void Refresh();

    void FreeAttachRing();
    void FreeTargets();
    // The preview rule of the face drawing applies: this view shows the preview, coincident faces
    // are dropped and the copies are not pushed apart.
    bool PreviewHidesAttachFaces(const void* view) const;

    AugmentAttachNode* mAttachRing = nullptr;  // owned; its head is the face in use
    AugmentTarget* mFirstTarget = nullptr;     // owned
    AugmentTarget* mLastTarget = nullptr;
    FaceVert* mFace = nullptr;  // the model face the user chose
    std::unique_ptr<SimplePoly> mAddedModel;
    std::vector<Triangulation2D> mTriangulations;  // one per face of the added solid, for the preview
    uint32_t mFlags = 0;
    double mHeight = 0.0;
    double mScale = 1.0;  // the dialog's scale; kept across augmentations
    double mTopRatio = 1.0;
    double mExplosion = 0.0;
    int32_t mMemorySlot = 0;
    const LibraryEntry* mLibraryEntry = nullptr;
    std::string mFilePath;
    uint32_t mNewColor = 0;       // 0x00BBGGRR
    void* mPreviewView = nullptr;  // the view showing the preview; null when none runs
};
