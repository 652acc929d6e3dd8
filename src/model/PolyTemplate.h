#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/LinkNode.h"
#include "kernel/Messages.h"

#include <cstdint>
#include <string>

class PolyTemplate;
struct LibraryEntry;

// One regular polygon {n/d} of a vertex configuration, in the template's ring of polygons around
// a vertex. Owned by its PolyTemplate.
class TemplatePolygon : public RingNode<TemplatePolygon>
{
public:
    // True when the polygons fit each other. With an orientation (-1: still undecided, decided
    // here by the first comparison), 0 needs the same {n/d} and 1 the complementary {n/(n-d)};
    // without one, and for polygons through the centre, n and the unoriented density must agree.
    bool Matches(const TemplatePolygon* other, int* orientation) const;

    uint32_t mMatchId = 0;  // one bit per class of position (see PolyTemplate::AssignMatchIds)
    int32_t mNumSides = 0;
    int32_t mDensity = 1;
    int32_t mUnorientedDensity = 1;
    bool mHemi = false;  // the polygon passes through the centre
    bool mSpare = false;
    int32_t mPairMark = 0;
    double mHeight = 0.0;  // distance of its plane from the centre; negative for the reflex shape
    double mRadius = 0.0;
    double mExteriorAngle = 0.0;  // 2 pi d / n
    double mInteriorAngle = 0.0;  // pi - 2 pi d / n
    double mSinHalfInterior = 0.0;
    double mProjectedAngle = 0.0;  // the angle it takes up around the vertex axis
    double mDihedralAngle = 0.0;   // between it and the next polygon
    double mHalfDihedralAngle = 0.0;
    ColorRGB mColor;
    PolyTemplate* mOwner = nullptr;
    TemplatePolygon* mNextToTry = nullptr;  // forward class chain
    TemplatePolygon* mPrevToTry = nullptr;  // backward class chain
};

// A vertex configuration such as "3.5.3.5" or "(5.5.5.5.5)/2", parsed and solved: with every vertex
// on the unit sphere, the height of a vertex above its neighbours' plane at which the polygons close
// up around it, and the measures that follow from it. Each model record holds one.
class PolyTemplate
{
public:
    PolyTemplate();
    ~PolyTemplate();
    PolyTemplate(const PolyTemplate&) = delete;
    PolyTemplate& operator=(const PolyTemplate&) = delete;

    // Deletes the ring and resets every member.
    void Clear();
    void Init();

    TemplatePolygon* AddPolygon(int n, int d);
    // True when the text is a valid configuration and its geometry is solved. Problems are shown to
    // the user when reportErrors is set; the template keeps what was read.
    bool Parse(const char* text, bool reportErrors = true);
    bool SolveVertexHeight();

    void AssignColours();
    // The sum of the angles the polygons take up around the vertex axis at a vertex height, with
    // one shape taken reflex; kNoSolution when some polygon cannot reach its neighbours.
    double GetAngleSum(double vertexHeight, int reflexSides, int reflexDensity, bool clamp);
    bool Finish();
    bool SetGeometry(double vertexHeight);
    void AssignMatchIds();

    // The configuration text from start (the first polygon when null), read forward (direction 0)
    // or backward (1); "Not-uniform" for no template.
    static std::string GetName(const PolyTemplate* templ, const TemplatePolygon* start = nullptr,
                               int direction = 0);
    std::string GetName() const { return GetName(this); }
    void Dump() const;
    int IndexOf(const TemplatePolygon* polygon) const;
    // The polygon k places on from the first (k taken modulo the valence); null for an empty ring.
    TemplatePolygon* PolygonAt(int k) const;

    void ReportError(const char* format, ...) const ORVANE_PRINTF(2, 3);
    void ReportWarning(const char* format, ...) const ORVANE_PRINTF(2, 3);

    // The regular polygons that can stand in for a pair of retrograde faces.
    struct TablePolygon
    {
        int n;
        int d;
        double interiorAngle;
        double twoCos;  // distance between the neighbours of a corner of a unit-edged {n/d}
    };
    static const TablePolygon* InitPolygonTable();
    static int FindTablePolygon(int n, int d);

    static constexpr double kNoSolution = 9999999.9;

    int32_t mReportErrors = 1;
    std::string mText;  // the configuration being parsed, quoted in messages
    const LibraryEntry* mLibraryEntry = nullptr;
    int32_t mValence = 0;
    int32_t mWraps = 1;
    bool mHasHemi = false;
    bool mConvexMark = false;  // never set here; the vertex code tests it
    bool mHalfTurn = false;    // the ring matches itself half-way round in the opposite orientation
    int32_t mReflexSides = -1;
    int32_t mReflexDensity = -1;
    double mRadius = 0.0;
    double mMidRadius = 0.0;
    double mInRadius = 0.0;
    double mDualRadius = 0.0;
    double mEdgeLength = 0.0;
    double mVertexHeight = 0.0;
    double mHalfNeighbourRadius = 0.0;
    TemplatePolygon* mFirst = nullptr;  // also the head of the forward class chain
    TemplatePolygon* mBackwardHead = nullptr;

private:
    bool SolveAmbiguousHeight(const TemplatePolygon* largest);
    bool RingMatches(const TemplatePolygon* a, int aStep, const TemplatePolygon* b, int bStep) const;
};
