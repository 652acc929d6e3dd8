#pragma once

#include <climits>

// Faceting criteria.
inline constexpr int kFacetingIsohedral = 0;
inline constexpr int kFacetingDualTidy = 1;
inline constexpr int kFacetingTidy = 2;
inline constexpr int kFacetingCoplanarVerts = 3;

// The tidy criteria: no two facets in one plane share a vertex.
inline bool IsTidyFacetingCriterion(int criterion)
{
    return criterion == kFacetingTidy || criterion == kFacetingDualTidy;
}

// Bits of the faceting options.
inline constexpr int kFacetingPartialOK = 0x1;  // facetings need not use every vertex
inline constexpr int kFacetingSpikyOnly = 0x2;

// What the faceting view's Up/Down arrows step through.
inline constexpr int kFacetingStepFacetings = 0;
inline constexpr int kFacetingStepEdges = 1;
inline constexpr int kFacetingStepPlanes = 2;
inline constexpr int kFacetingStepFacets = 3;

// The program-wide faceting settings. The faceting commands change them with their side effects;
// the search, the stepping and the drawing read them.
struct FacetingSettings
{
    int criterion = kFacetingTidy;
    int options = 0;
    int minFacets = 1;
    int maxFacets = INT_MAX;  // no limit
    int stepMode = kFacetingStepFacetings;
    // Faceting > Faceting Diagram Options > Hide Diagram / Hide Vertices when Facets Exist.
    bool hideDiagram = true;   // "HideFacetingDiagram"
    bool hideVertices = true;  // "HideFacetingVertices"
};

FacetingSettings& GetFacetingSettings();
