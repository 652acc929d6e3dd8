#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class Face3D;
class Model3D;

// Bits of Face3DType::mFlags.
inline constexpr uint32_t kFace3DTypeOnAxis = 0x1;
inline constexpr uint32_t kFace3DTypeAxisClass0 = 0x2;
inline constexpr uint32_t kFace3DTypeAxisClass1 = 0x4;
inline constexpr uint32_t kFace3DTypeConvex = 0x8;
inline constexpr uint32_t kFace3DTypeUserFacet = 0x10;
inline constexpr uint32_t kFace3DTypePanelShape = 0x20;
inline constexpr uint32_t kFace3DTypeNotPanelShape = 0x40;
inline constexpr uint32_t kFace3DTypeRhombusPanel = 0x80;

// One class of symmetry-equivalent facelets of a Model3D: the facelets share their loops, their
// plane coordinates and their triangulation, and differ only in element, frame and flags. The
// model owns its types in singly linked lists; a type owns its facelets.
class Face3DType
{
public:
    // numFaces facelets, each with the edges of the loops (their sizes in loop order), every field
    // as a new record has it.
    Face3DType(Model3D* model, int numFaces, std::span<const int32_t> loopSizes);
    ~Face3DType();
    Face3DType(const Face3DType&) = delete;
    Face3DType& operator=(const Face3DType&) = delete;

    Face3D* GetFace(int i) const;

    Model3D* mModel;
    int32_t mNumFaces;
    std::unique_ptr<Face3D[]> mFaces;
    uint32_t mFlags = 0;
    int32_t mNumSides = 0;  // all loops together
    int32_t mNumLoops = 0;
    std::vector<int32_t> mLoopSizes;
    std::vector<int32_t> mTriIndices;  // three edge indices per triangle
    Face3DType* mNext = nullptr;
};
