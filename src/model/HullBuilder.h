#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

// The convex hull of a point set as convex polygons, built in two stages so that near-degenerate
// input can neither crash it nor make it loop:
// 1. an exact triangulated hull: an incremental construction (each step adds the point farthest
//    outside a face and replaces the faces it sees by a cone from it) whose every visibility test is
//    an exact orientation (kernel/Orient3D), so the faces it keeps always close up around the points;
// 2. faces: neighbouring triangles within the tolerance of one triangle's plane merge into one
//    polygon, and corners that lie inside such a polygon or straight on an edge between two of them
//    are dropped. Every face stays a simple, convex polygon (within the tolerance): where merging
//    would break that (only near-degenerate input), the region is merged again in convex pieces.
// Points within the tolerance of an earlier point (in every coordinate) take no part. Owned by the
// one run that uses it; SimplePoly::ComputeConvexHull is the caller.
class HullBuilder
{
public:
    // False when the points do not span a solid thicker than tol (fewer than four distinct points,
    // all on one line or all in one plane).
    bool Build(const std::vector<Vec3D>& points, double tol);

    int NumFaces() const { return int(mFaceNormals.size()); }
    // Corners of face f, counter-clockwise seen from outside, as indices into the points given.
    const int* FaceCorners(int f) const { return mCorners.data() + mFaceStart[f]; }
    int NumFaceCorners(int f) const { return mFaceStart[f + 1] - mFaceStart[f]; }
    // Unit outward normal: of the plane that every corner lies within tol of.
    const Vec3D& FaceNormal(int f) const { return mFaceNormals[f]; }
    // Whether point i is a corner of some face.
    bool IsCorner(int i) const { return mIsCorner[i] != 0; }

private:
    struct Tri
    {
        int v[3];             // counter-clockwise seen from outside
        int adj[3];           // across the edge v[i] -> v[i + 1]
        int outsideHead = -1; // first point outside this face (linked through mNextOutside)
        int farthest = -1;    // the point of that list farthest from the plane
        double farthestDist = 0.0;
        double invNormLen = 0.0;  // 1 / |(v1 - v0) x (v2 - v0)|: turns a determinant into a distance
        int stamp = 0;        // the step that last looked at the face
        bool visible = false; // valid while stamp is the current step
        bool dead = false;
    };

    void Reset(int numPoints);
    void DropNearDuplicates(double tol);
    bool StartSimplex(double tol);
    int NewTri(int a, int b, int c);
    void FreeTri(int t);
    // Exact: positive when point p is outside face t. dist receives the rounded distance.
    bool IsOutside(const Tri& tri, int p, double& dist) const;
    void AddOutside(int t, int p, double dist);
    void AddPoint(int eye, int fromTri);
    void CollectLiveTris();

    // Merging into polygons.
    void GrowRegions(double tol);
    bool RegionIsDisc(int region, const std::vector<int>& tris);
    bool IsConvexCorner(int a, int b, int c, const Vec3D& normal, double tol) const;
    bool RingIsConvex(int region, double tol) const;
    void BuildPolygons(double tol);
    void RegrowConvex(int region, std::vector<int>& tris, double tol);
    bool TryAddTri(int corner, const Vec3D& normal, double offset, double tol, std::vector<int>& touched);
    int AddCorner(int vert, int region, int tri, int edge);
    void UnlinkCorner(int corner);
    void RemoveStraightCorners(double tol);
    void WriteFaces();

    const std::vector<Vec3D>* mPoints = nullptr;
    std::vector<uint8_t> mUsable;  // not a near duplicate of an earlier point
    std::vector<Tri> mTris;
    std::vector<int> mFreeTris;
    std::vector<int> mNextOutside;
    std::vector<int> mPending;  // faces that may have points outside
    int mStep = 0;
    // Scratch of one step.
    std::vector<int> mVisible;
    std::vector<int> mHorizonTri;   // visible face and edge of each horizon edge
    std::vector<int> mHorizonEdge;
    std::vector<int> mHorizonFrom;  // per point: the horizon edge starting there, -1 for none
    std::vector<int> mNewTris;

    // The finished triangulation.
    std::vector<int> mLive;        // live face indices
    std::vector<int> mVertexTri;   // per point: one live face at it, -1 for none
    std::vector<Vec3D> mTriNormal; // per face: unit normal
    std::vector<int> mRegion;      // per face: its polygon
    std::vector<Vec3D> mRegionNormal;

    // Polygons as rings of corners.
    struct Corner
    {
        int vert;
        int prev;
        int next;
        int region;
        int tri;   // the region's face whose edge vert -> next vert this corner starts
        int edge;
        bool dead;
    };
    std::vector<Corner> mRing;
    std::vector<int> mRegionFirst;  // per region: a live corner, -1 for a dissolved region
    std::vector<int> mRegionCount;  // live corners
    std::vector<int> mCornerOf;     // per point: its corner in the ring being grown, -1 for none
    std::vector<int> mBoundary;     // scratch of RegionIsDisc

    std::vector<int> mFaceStart;
    std::vector<int> mCorners;
    std::vector<Vec3D> mFaceNormals;
    std::vector<uint8_t> mIsCorner;
};
