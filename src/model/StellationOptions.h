#pragma once

// The global stellation option word. The stellation commands own its changes (with their side
// effects on cells and facetings); it lives here because model code such as the symmetry
// enumeration reads it.
inline constexpr int kCriteriaReflexible = 0x1;        // a chiral cell or facet keeps its mirror partner
inline constexpr int kCriteriaAllFaceTypes = 0x2;
inline constexpr int kCriteriaFullSupNeedsCore = 0x4;

int GetStellationOptions();
// Stores the bits and nothing else; callers that change the options do their side effects first.
void StoreStellationOptions(int bits);

// Mirror-image types count as one.
inline bool IsReflexibilityMaintained()
{
    return (GetStellationOptions() & kCriteriaReflexible) != 0;
}

// The global stellation criterion: how stepping goes through the stellations.
inline constexpr int kCriterionMainline = 0;
inline constexpr int kCriterionPrimary = 1;
inline constexpr int kCriterionMonoacral = 2;
inline constexpr int kCriterionFullySupported = 3;
inline constexpr int kCriterionMiller = 4;
inline constexpr int kCriterionMillerSlow = 5;

int GetStellationCriterion();
void StoreStellationCriterion(int criterion);
