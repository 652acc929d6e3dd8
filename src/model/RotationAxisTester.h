#pragma once

#include "kernel/Mat3.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

class SimpleElem;
class SimpleFace;
class SimplePoly;
class SimpleVert;

// Decides whether a turn by 2*pi/k about a candidate axis through the centre maps a model onto
// itself, and when it does merges the types of the vertices and faces the turn carries onto one
// another. Candidates come from the model's hull, whose vertex i is the model's vertex i. Symmetry
// detection owns one tester for its whole run, so that the work array is made once; the model must
// not move while the tester lives.
class RotationAxisTester
{
public:
    RotationAxisTester(SimplePoly& model, int maxOrder);

    // The candidate is a hull face (vert null, edge -1), a hull vertex (face null, edge -1) or the
    // edge of a hull face from its vertex `edge` (vert being that vertex). sides: the face's vertex
    // count, the vertex's face count, or 2 for an edge. axis: unit.
    bool TestAxisAndCombineSameTypes(const SimpleFace* face, const SimpleVert* vert, int edge, const Vec3D& axis,
                                     int sides, int k);
    // The test alone: fills the work array with image groups and hands back the turn.
    bool TestRotation(const SimpleFace* face, const SimpleVert* vert, int edge, const Vec3D& axis, Mat3& rotation,
                      int sides, int k);

    // The image groups of the last test: k entries X, R X, ..., R^(k-1) X each.
    const std::vector<SimpleVert*>& Work() const { return mWork; }
    int Count() const { return mCount; }

private:
    void Append(SimpleVert* v);
    void Mark(SimpleElem* e, uint32_t bit);
    const Vec3D& CentroidSum(const SimpleVert& v);
    void ClearMarks();
    SimpleVert* ModelVert(const SimpleVert* hullVert) const;
    bool TestForSymmetry(int k, int start);
    bool TestForSymmetryR(int k, int start);
    bool TestImageGroup(int k, int start);
    // Tries the group of X's neighbour O in F, built at the end of the work array; true when it
    // was taken. Sets failed for a broken face list.
    bool GrowGroup(int k, int g, const SimpleFace& face, SimpleVert* o, bool& failed);
    bool TestEmptyFaceImages(int k);
    bool SweepRemaining(const Vec3D& axis, int k);

    SimplePoly& mModel;
    std::vector<SimpleVert*> mWork;
    int mCount = 0;
    std::vector<Mat3> mPowers;  // the turn's powers 0 .. k-1
    std::vector<SimpleVert*> mSorted;
    std::vector<SimpleElem*> mMarked;  // elements carrying scratch marks of the current test
    std::vector<Vec3D> mCentroidSums;   // by vertex index
    std::vector<bool> mHasCentroidSum;
};

// The order of the sweep over the vertices no growth reached: height along the axis, then squared
// distance from the centre (both kept in mUserData, within 1e-7), then index.
int CompareHeightRadius(const SimpleVert* a, const SimpleVert* b);
