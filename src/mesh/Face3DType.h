#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class Face3D;
class Model3D;
struct RingList;

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
    // numFaces facelets without edges, turning numRots times about their centre: the axis class
    // of that order in the model's group goes into the flags. The loops come from SetLoops.
    Face3DType(Model3D* model, int numFaces, int numRots, Face3DType* next);
    // numFaces facelets, each with the edges of the loops (their sizes in loop order), every field
    // as a new record has it.
    Face3DType(Model3D* model, int numFaces, std::span<const int32_t> loopSizes);
    ~Face3DType();
    Face3DType(const Face3DType&) = delete;
    Face3DType& operator=(const Face3DType&) = delete;

    Face3D* GetFace(int i) const;
    // 0-based place in the model's own list, or in the list from first; -1 for null, -2 when absent.
    static int GetIndex(const Face3DType* type);
    static int GetIndex(const Face3DType* type, const Face3DType* first);
    // 1 off every axis, else the order of its axis class in the model's group.
    int GetNumRots() const;
    // The axis class as the flags give it; -1 off every axis.
    int GetAxisClass() const;

    // The sizes of the rings become the loops; one convex ring marks the type convex.
    void SetLoops(const RingList* rings);
    // The list's triangles into mTriIndices (the list is consumed), as edge indices.
    void Triangulate(RingList* rings);
    // The first edge index of loop i.
    int GetLoopStart(int loop) const;

    // Whether the first facelet is a kit panel shape, cached in the panel bits.
    bool IsPanelShape();

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
