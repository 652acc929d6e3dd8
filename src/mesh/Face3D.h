#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec2D.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

class Edge3D;
class Face3DType;
class Model3D;
class FaceImage;
class FaceVert;
class Net;
class StellationRegion;
class Vert3D;
struct RingList;

// Bits of Face3D::mFlags.
inline constexpr uint32_t kFace3DReversed = 0x1;
inline constexpr uint32_t kFace3DMirrorCopy = 0x2;
inline constexpr uint32_t kFace3DNetRoot = 0x4;
inline constexpr uint32_t kFace3DFlipped = 0x8;  // exactly one of reversed and mirror copy
inline constexpr uint32_t kFace3DWholeFace = 0x40;

// The placements a facelet is drawn in.
inline constexpr int kFaceDrawFolded = 0;
inline constexpr int kFaceDrawNet = 1;
inline constexpr int kFaceDrawModel = 2;

// While on, selected facelets draw as the white half-transparent highlight; answers the previous.
bool SetFaceletHighlight(bool on);
// The interior angle at q1 of a flat outline running q0, q1, q2 (negative at a reflex corner).
double FaceAngleAt(const Vec2D& q0, const Vec2D& q1, const Vec2D& q2);

// One facelet of a Model3D, in its type's facelet array: a piece of the surface lying in the plane
// of one element of the Poly (a face, or a vertex on the dual side).
class Face3D
{
public:
    Face3D();
    ~Face3D();
    Face3D(const Face3D&) = delete;
    Face3D& operator=(const Face3D&) = delete;

    // Running index over every facelet of its model (type by type); -1 for none, -2 when it is not
    // in its model's lists.
    static int GetIndex(const Face3D* face);

    // Makes the facelet's edges from the rings (loop after loop), placing the 2D ring points in
    // space through frame, and joins the element's ring of facelets. The ring vertices learn their
    // edge index. An edge traced from a diagram edge (the ring vertex's owner) takes its region and
    // finds its vertex in the diagram vertex's run; any other finds its vertex by position. False
    // when the edge count does not match the type's.
    bool Create(FaceVert* element, const RingList* rings, const Transform3D& frame);

    // The element's normal, negated when reversed; for a user facet the normal of its corners.
    Vec3D GetNormal() const;
    ColorRGB GetColor() const;
    float GetOpacity() const;
    FaceImage* GetImage() const;
    const char* GetText() const;
    bool HasImageOrText() const;
    // Means of the corner positions, of the folded positions, and of one loop's corners.
    Vec3D GetCentroid() const;
    Vec3D GetFoldedCentroid() const;
    Vec3D GetLoopCentroid(int loop) const;
    // (point - first corner) . normal, in the model and in the folded placement.
    double GetDistance(const Vec3D& point) const;
    double GetFoldedDistance(const Vec3D& point) const;
    // ---- Drawing (through the scene drawer) ----

    // The surface in a placement: colours, texts and selection from representative (null: itself);
    // offset moves the model placement. A hidden element's facelet shows only in the flat net.
    void Draw(int mode, const Vec3D& offset, double scale, const Face3D* representative) const;
    // Edges as lines and vertices as points in the flat or folded placement.
    void DrawEdgesAndVerts(int mode, Model3D* model, double scale);
    // Numbers, edge labels, face angles and edges in the folding pane.
    void DrawFoldedExtras(Model3D* model);
    bool IsSelected() const;
    // Where a sphere about the centre of the given radius cuts the element's plane: 1 with the
    // circle's centre and radius, 0 when it misses (a sphere just touching the plane misses).
    int SphereCircle(double radius, Vec3D& centre, double& circleRadius) const;

    // Place among the facelet's edges of the edge, or of the first edge starting at the vertex; -1
    // when absent.
    int FindEdge(const Edge3D* edge) const;
    int FindVert(const Vert3D* vert) const;

    FaceVert* mElement = nullptr;  // null for a user facet
    Face3DType* mType = nullptr;
    uint32_t mFlags = 0;
    Net* mNet = nullptr;
    Vec3D mFoldedNormal;
    std::unique_ptr<Edge3D[]> mEdges;  // one per side of the type, loop after loop
    StellationRegion* mRegion = nullptr;
    // 2D affine maps: a 2x2 matrix by columns, then the translation.
    double mDiagramToFace[6] = {1, 0, 0, 1, 0, 0};
    double mNetPlacement[6] = {1, 0, 0, 1, 0, 0};
    Transform3D mFoldTransform;
    Face3D* mNextInNet = nullptr;
    Face3D* mNextOnElement;  // a ring over the facelets of one element; a lone one points to itself
};
