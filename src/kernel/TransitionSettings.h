#pragma once

#include <cfloat>

// The settings of one transition between models. Each model carries two (the running one and one
// chained after it); the program keeps one per occasion, and occasion 0 ("Default") supplies every
// value left unset elsewhere.
struct TransitionSettings
{
    static constexpr double kUnset = DBL_MAX;
    // 0 none, 1 random, 2 sideways, 3 orbit, 4 shrink & grow, 5 explode & grow, 6 shrink & implode,
    // 7 explode & implode, 8 the Default occasion's type; -1 for no chained transition.
    static constexpr int kTypeNone = 0;
    static constexpr int kTypeRandom = 1;
    static constexpr int kTypeSideways = 2;
    static constexpr int kTypeOrbit = 3;
    static constexpr int kTypeShrinkGrow = 4;
    static constexpr int kTypeExplodeGrow = 5;
    static constexpr int kTypeShrinkImplode = 6;
    static constexpr int kTypeExplodeImplode = 7;
    static constexpr int kTypeDefault = 8;
    static constexpr int kNoChain = -1;

    int type = kTypeDefault;
    double duration = kUnset;  // seconds
    double shrinkSpin = kUnset;
    double sidewaysAngle = kUnset;  // degrees
    double sidewaysSpin = kUnset;
    double orbitTilt = kUnset;  // degrees
    double orbitCount = kUnset;
    double orbitSpin = kUnset;
    double explosionSize = kUnset;
    double explodeSpin = kUnset;

    // The duration, or the Default occasion's when unset.
    double GetDuration() const;
};

inline constexpr int kTransitionOccasionCount = 13;

// The settings of each occasion (0 Default, 1 tour events, 2 start-up, ... 12 faceting).
TransitionSettings* GetTransitionOccasions();
// Every occasion back to its built-in values.
void ResetTransitionOccasions();
// Occasion 0 back to its built-in values and every other occasion to "<Default>" with nothing set:
// the starting point for loading a named set-up.
void ResetTransitionOccasionsToDefault();

// "No transition" ... "<Default>" for 0 to 8, "?" otherwise.
const char* TransitionTypeName(int type);
// The exact name of types 0 to 7 gives the type; "<Default>" or "<Use default>" gives 8; else -1.
int TransitionTypeByName(const char* text);

// The source with the Default occasion's type in place of "<Default>" and its value in place of
// every unset one.
void MergeTransitionDefaults(TransitionSettings& out, const TransitionSettings& source);
// MergeTransitionDefaults from the occasion's record, or from the forced occasion's when one is
// forced.
void ApplyTransitionDefaults(TransitionSettings& out, int occasion);

// While a scope is open its occasion replaces whatever occasion a change asks for (the outermost
// scope wins), so that start-up shows its own transition whatever builds the first model.
class TransitionOccasionScope
{
public:
    explicit TransitionOccasionScope(int occasion);
    ~TransitionOccasionScope();
    TransitionOccasionScope(const TransitionOccasionScope&) = delete;
    TransitionOccasionScope& operator=(const TransitionOccasionScope&) = delete;
};
// -1 when none is forced.
int GetForcedTransitionOccasion();

// While a scope made with on = true is open, transitions start inverted (stepping backwards plays
// the forward motion in reverse).
class InverseTransitionScope
{
public:
    explicit InverseTransitionScope(bool on);
    ~InverseTransitionScope();
    InverseTransitionScope(const InverseTransitionScope&) = delete;
    InverseTransitionScope& operator=(const InverseTransitionScope&) = delete;

private:
    bool mOn;
};
int GetInverseTransitionDepth();

// The reverse motion of the settings' type (the type must be resolved, not "<Default>" or
// "Random"): sideways turns round, orbits and spins run backwards, explode and implode swap.
void InvertTransitionSettings(TransitionSettings& settings);

// A type for "Random": 2 to 7, drawn from the program's own generator so that runs can be
// repeated; tests seed it.
int DrawRandomTransitionType();
void SeedTransitionRandom(unsigned seed);

// The occasion whose transition a change of that undo kind plays; -1 for none.
int UndoKindTransitionPreset(int undoKind);
