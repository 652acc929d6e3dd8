#pragma once

#include <memory>
#include <string>

class Poly;
class Polytope4D;
class SimplePoly;

// One relaxation of the spring network towards regular polygons with unit edges. The network comes
// from a description text, from a Poly's faces or from a polytope's polygons; settling moves its
// nodes and then gives a new SimplePoly (3D) or moves the polytope's vertices (4D). Made on the
// stack by whoever relaxes; it owns its result until the caller takes it.
class SpringSystem
{
public:
    static constexpr int kAddHopSprings = 0x1;
    static constexpr int kStartFromModel = 0x2;

    SpringSystem();
    ~SpringSystem();
    SpringSystem(const SpringSystem&) = delete;
    SpringSystem& operator=(const SpringSystem&) = delete;

    // Builds the network from a description; false, after an internal error naming the fault and
    // with the network reset, when the text does not parse.
    bool CreateFromDesc(const char* text);
    // One node per vertex and one polygon per face, in list order.
    void CreateFromPoly(Poly* poly);
    void CreateFromTope(Polytope4D* polytope);

    // Makes the springs and settles with up to the given number of attempts; answers the largest
    // spring force left (infinite when the network blew up). The network is reset afterwards.
    double Settle(int attempts);
    std::unique_ptr<SimplePoly> TakeResult();

    // The steps of settling, for those who drive them one by one.
    void CreateSprings();
    void BuildNeighbourLists();
    int CreateHopSprings(int hopLimit);
    void SetStartPositions();
    void NormaliseEdgeLength();
    void CentreNodes();
    double TimeStep(double dt, bool regular);
    double SettleOnceB(bool regular, int relaxLimit);
    double SettleOnceA();
    bool RemoveTemporarySprings();
    void CreateSimplePoly();
    void CopyToPolytope();

    Poly* mSourcePoly = nullptr;
    std::unique_ptr<SimplePoly> mResult;
    Polytope4D* mSourceTope = nullptr;
    std::string mDesc;                 // the description the layer text points into
    const char* mLayerText = nullptr;  // the first layer token; null for none
    int mFlags = 0;
    int mNumNodes = 0;     // vertices of the result
    int mNumPolygons = 0;  // faces of the result
    int mNumEdgeSprings = 0;
    int mNumChordSprings = 0;
    int mNumTargetSprings = 0;
    int mNumTemporarySprings = 0;
    int mHopLimit = 9999;
    int mPlanarityLimit = 4;  // largest side count relaxed towards planarity; 0 or less: none
    bool mCancelled = false;  // the user cancelled a run
};

// The start positions that no layer gives are drawn from the module's own generator.
void SeedSpringRandom(unsigned seed);
