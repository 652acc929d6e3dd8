#pragma once

#include "model/FaceVert.h"

class TemplatePolygon;
class Vert;
struct MatchCursor;

// A face of the model: its neighbours are its corners in order.
class Face : public FaceVert
{
public:
    // A face of n sides appended to the Poly's face list; with a template polygon it takes that
    // polygon's density, identifier and colour.
    Face(Poly* poly, TemplatePolygon* templatePolygon, int numSides);
    ~Face() override;

    bool IsFace() const override { return true; }
    // Made from a template polygon of density 1.
    bool IsConvexPolygon() const override;
    // The template polygon's radius, else the largest distance from the centre to a corner.
    double GetRadius() override;
    // Every corner through the frame.
    void FitOutline(FitPointSink& sink, const Transform3D& frame) override;

    bool IsSameShape(const Face* other) const;
    // Same side count and same density of their template polygons (false when either has none).
    bool IsSameTemplateDensity(const Face* other) const;
    // Whether the template polygon fits this face with the given orientation (reverse: the face runs
    // against the vertex); an undecided turn (-1) is decided here by the first fit.
    bool MatchesTemplatePolygon(const TemplatePolygon* polygon, int& turn, bool reverse) const;
    // The match identifier of the template polygon that corner i's template ring puts at this face;
    // -1 when the face is not around that corner.
    int GetMatchIdAt(int corner) const;
    void SetVertex(int position, Vert* vertex);
    // The first other face of the same template shape in the same plane with a corner at this one's
    // corner 0's place: k receives this face's corner there, reversed whether the two run opposite
    // ways. Null when there is none.
    Face* FindMatch(int& k, bool& reversed) const;
    // This face takes the place of drop (matched at offset k), their corners merged; drop is
    // deleted. A corner that the cursor is completing hands its role to the corner kept.
    bool MergeF(Face* drop, int k, bool reversed, MatchCursor* cursor);
    // The face's state written to the trace hook.
    void DumpFace() const;

    TemplatePolygon* mTemplatePolygon = nullptr;  // owned by the PolyTemplate
};

// The face across side i of the face: with edges the other face of its edge i, otherwise the face
// around the side's first corner that shares the side. Null when none is found.
Face* GetAdjacentFaceVert(const Face* face, int side);
