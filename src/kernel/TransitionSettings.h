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
    static constexpr int kTypeDefault = 8;

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

// The occasion whose transition a change of that undo kind plays; -1 for none.
int UndoKindTransitionPreset(int undoKind);
