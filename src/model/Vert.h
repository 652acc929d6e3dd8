#pragma once

#include "model/FaceVert.h"

#include <cstdint>
#include <memory>

class TemplatePolygon;

// A vertex of the model: its neighbours are the faces around it in order; it also carries the state
// of template matching.
class Vert : public FaceVert
{
public:
    // A vertex at p (components within 1e-7 of zero become 0, in the caller's point too) with room
    // for n faces, appended to the Poly's vertex list. A vertex at the centre is flagged Inf: its
    // face in the dual lies at infinity.
    Vert(Poly* poly, Vec3D& p, int numSides);
    ~Vert() override;

    bool IsVert() const override { return true; }
    // The model was prepared from a template that wraps once round each vertex.
    bool IsConvexPolygon() const override;
    // The largest distance from the vertex's axis to a point of its dual face (ProjectSide).
    double GetRadius() override;
    // Every point that ProjectSide gives, side by side.
    void FitOutline(FitPointSink& sink, const Transform3D& frame) override;

    // "3, 5/2, 3, -." for the faces around the vertex; one buffer, overwritten by the next call.
    const char* GetConfiguration() const;
    // The orientation class of a placement read in direction turn: 1 - turn when flag (the turn)
    // is set, except for a template ring that matches itself half-way round.
    int ApplyTurn(int turn, bool flag) const;
    // The vertex across edge i, between faces i and i+1; null when none is found.
    Vert* GetAdjacentVert(int side) const;

    // Template matching.
    // Stores the face at the position (null clears it), keeping the count of attached faces.
    void SetFace(int position, FaceVert* face);
    // The present faces fit the template ring read from the candidate in the direction (0 forward,
    // 1 backward): the number of them that do not yet carry their ring polygon's match id, or -1
    // when some face does not fit. turn receives the turn the first fit decided (-1: none).
    int FitCount(const TemplatePolygon* candidate, int direction, int& turn) const;
    // Counts the placements of the orientation class that fits first; answers mRemaining.
    int CountMatches();
    // The smallest fit count above level that some placement of the orientation class has; -1.
    int NextFitCount(int level) const;
    // The rotation offset at which the faces around this vertex have the face types of those
    // around the type's first vertex; -1 when none.
    int MatchDualType(const FaceType* type) const;

    int32_t mTurn = -1;  // handedness: -1 not decided, 0 or 1
    std::unique_ptr<uint8_t[]> mFaceReversed;  // per face: it lists its corners against mTurn
    int32_t mPlacementStamp = -1;  // -1: not placed
    int32_t mFacesAtPlacement = -1;
    int32_t mAttachedFaces = 0;
    int32_t mRemaining = -1;  // placements still possible; -1 before counting
    int32_t mDirection = 0;   // 0: the template ring is read forward, 1 backward
    int32_t mOrientationClass = 0;
    int32_t mLevel = -1;  // the fit count tried
    TemplatePolygon* mCandidate = nullptr;  // the template polygon at face position 0
    bool mNeedsCount = true;
};
