#pragma once

#include "kernel/Vec3D.h"
#include "kernel/Vec4D.h"

#include <cstdint>
#include <memory>
#include <vector>

class Cell4D;
class ElemList;
class Face4D;
class FaceVert;
class Vert4D;
struct TemplateEdge;
struct TemplateFace;

// The records of a vertex figure that the construction of a polychoron walks: one per vertex, edge
// and face of the figure, each list kept in cyclic order. The template is built once per
// construction; every polytope vertex it reaches gets a local copy holding its candidate placements.

struct TemplateVertex
{
    static constexpr uint32_t kPaired = 0x1;  // paired by the placement being tested or applied

    // Moves from the edge to its face other than face (into face), and answers the edge after the
    // given one in that face's boundary when that edge touches this vertex, else the one before.
    TemplateEdge* NextEdgeThroughFace(const TemplateEdge* edge, TemplateFace*& face) const;

    uint32_t mFlags = 0;
    FaceVert* mVert = nullptr;
    Vert4D* mMatched = nullptr;
    Vec3D mPos;    // the figure's point, its circumcentre at the origin
    int32_t mType = 0;  // its kind in the figure: its number of edges
    std::vector<TemplateEdge*> mEdges;  // in cyclic order around the vertex
};

struct TemplateEdge
{
    TemplateVertex* GetOtherEnd(const TemplateVertex* vert) const { return vert == mEnds[0] ? mEnds[1] : mEnds[0]; }

    int32_t mN = 0;  // the polygon {n/d} of the polytope's faces made for this edge
    int32_t mD = 1;
    uint32_t mClassBit = 0;  // face flag of its class; 0 beyond the classes the flag bits hold
    int32_t mClass = -1;     // class number: compared when the bits run out
    double mRadius = 1.0;    // circumradius of the face
    double mPlaneDistance = 0.0;  // of the face's plane from the polytope's centre
    double mLengthSq = 0.0;
    Face4D* mMadeFace = nullptr;
    TemplateVertex* mEnds[2] = {nullptr, nullptr};
    TemplateFace* mFaces[2] = {nullptr, nullptr};
};

struct TemplateFace
{
    // Position of the edge in the boundary list; -1 when absent.
    int IndexOfEdge(const TemplateEdge* edge) const;

    FaceVert* mFace = nullptr;
    Cell4D* mMadeCell = nullptr;
    int32_t mType = 0;  // its kind in the figure: its number of sides
    std::vector<TemplateEdge*> mEdges;  // in boundary order
};

// A placement of the vertex figure at one polytope vertex: the map of the figure's space into the
// polytope's hyperplane at the vertex, and the pairs that anchored it. Candidates are linked newest
// first and owned by their LocalVertexFigure.
class VertexFigurePlacement
{
public:
    static constexpr uint32_t kMirrored = 0x1;

    struct Pair
    {
        TemplateVertex* vert = nullptr;
        Vert4D* neighbour = nullptr;
        TemplateEdge* edge = nullptr;
        Face4D* face = nullptr;
    };

    void Init(std::unique_ptr<Pair[]> pairs, int numPairs, std::unique_ptr<VertexFigurePlacement> next);
    // The image of a point of the figure's space.
    void Map(Vec4D& out, const Vec3D& p) const;

    Vec4D mCentre;
    Vec4D mAxes[3];  // images of the figure's x, y and z axes
    uint32_t mFlags = 0;
    int32_t mScore = 0;
    int32_t mNumPairs = 0;
    std::unique_ptr<Pair[]> mPairs;
    std::unique_ptr<VertexFigurePlacement> mNext;
};

// The records of one vertex figure with the candidate placements at one polytope vertex, which owns
// it (Vert4D::mVertFigure) for the length of a construction.
class LocalVertexFigure
{
public:
    LocalVertexFigure() = default;
    ~LocalVertexFigure();
    LocalVertexFigure(const LocalVertexFigure&) = delete;
    LocalVertexFigure& operator=(const LocalVertexFigure&) = delete;

    void ClearCandidates();
    // Pushes a candidate at the head of the list.
    void AddCandidate(std::unique_ptr<VertexFigurePlacement> placement);
    // The smallest score among the candidates; 999999 without any.
    int GetBestScore() const;

    int32_t mKey = -1;
    int32_t mNumCandidates = 0;
    std::unique_ptr<VertexFigurePlacement> mFirstCandidate;
    std::vector<TemplateVertex> mVerts;
    std::vector<TemplateEdge> mEdges;
    std::vector<TemplateFace> mFaces;
};

class VertexFigureTemplate : public LocalVertexFigure
{
public:
    // The records of the figure's vertex and face lists, edges made once each, every list sorted
    // into cyclic order. Sorting failures are reported as internal errors and leave the order as
    // far as it got.
    bool Build(ElemList* faces, ElemList* verts);
    // A copy whose records point into its own arrays, with no matches, made faces or made cells.
    std::unique_ptr<LocalVertexFigure> MakeLocalCopy() const;

private:
    void SortAroundVertex(TemplateVertex& vert);
    void SortAroundFace(TemplateFace& face);
};
