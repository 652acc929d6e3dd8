#pragma once

#include "kernel/Vec4D.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class Face4D;
class LocalVertexFigure;
class Polytope4D;
class Vert4D;
class VertexFigurePlacement;
class VertexFigureTemplate;

// The state of one growth of a polychoron from its vertex figure, shared by the construction and
// the placement code; it lives only during one construction.
struct VertexFigureGrowth
{
    // Vertex marks during the growth.
    static constexpr uint32_t kMustRematch = 0x20;
    static constexpr uint32_t kReached = 0x40;
    static constexpr uint32_t kPlaced = 0x80;
    static constexpr uint32_t kPlacedMirrored = 0x100;
    static constexpr uint32_t kMarks = kMustRematch | kReached | kPlaced | kPlacedMirrored;

    // What the growth knows of a vertex, by its creation serial.
    struct VertInfo
    {
        std::vector<Face4D*> faces;  // its faces so far
        int32_t key = -1;            // steps from the seed
        std::unique_ptr<LocalVertexFigure> figure;
        // Once placed: the placement applied and the face made or found for each template edge.
        Vec4D centre;
        Vec4D axes[3];
        std::vector<Face4D*> edgeFaces;
    };

    VertexFigureGrowth(Polytope4D& polytope, const VertexFigureTemplate& figure, double rho, double w0);
    ~VertexFigureGrowth();

    VertInfo& Info(const Vert4D* vert);
    // The vertex at the point pushed out to the sphere of radius rho, made and queued when new.
    Vert4D* Reach(const Vec4D& point, int key);
    // The face's class number (-1 when unknown).
    int ClassOf(const Face4D* face) const;

    // Stores the candidate placements at the vertex, from the faces it has; answers their count.
    int MatchVertexFigureAt(Vert4D* vert);
    // Drops the candidates that no longer agree with the vertex's faces.
    void RetestCandidates(Vert4D* vert);
    // Test: the placement agrees with every face the vertex has. Apply: makes the faces it lacks.
    bool FitVertexFigurePlacement(Vert4D* vert, const VertexFigurePlacement& placement, bool apply);
    // The number of the figure's vertices that land on vertices already there.
    int CountLandings(const VertexFigurePlacement& placement) const;
    // The cells: around each face, the cells of its placed vertices that lie in one hyperplane are
    // one cell, coloured like the figure's face.
    void MakeCells();
    // Frees the local figures and clears the marks.
    void Clear();

    Polytope4D& mPolytope;
    const VertexFigureTemplate& mTemplate;
    double mRho;
    double mW0;
    std::vector<VertInfo> mInfos;
    std::vector<Vert4D*> mQueue;  // reached, not yet placed
    std::vector<Vert4D*> mPlaced;  // in order of placement
    std::unordered_map<const Face4D*, int> mFaceClasses;
};
