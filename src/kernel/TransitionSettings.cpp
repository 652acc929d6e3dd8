#include "kernel/TransitionSettings.h"

namespace
{
TransitionSettings gOccasions[kTransitionOccasionCount];
bool gOccasionsReady = false;

TransitionSettings Typed(int type, double duration)
{
    TransitionSettings s;
    s.type = type;
    s.duration = duration;
    return s;
}
}  // namespace

double TransitionSettings::GetDuration() const
{
    return duration != kUnset ? duration : GetTransitionOccasions()[0].duration;
}

TransitionSettings* GetTransitionOccasions()
{
    if (!gOccasionsReady)
        ResetTransitionOccasions();
    return gOccasions;
}

void ResetTransitionOccasions()
{
    constexpr double u = TransitionSettings::kUnset;
    TransitionSettings* o = gOccasions;
    for (int i = 0; i < kTransitionOccasionCount; ++i)
        o[i] = TransitionSettings();

    o[0] = Typed(2, 0.5);
    o[0].shrinkSpin = 3;
    o[0].sidewaysAngle = 30;
    o[0].sidewaysSpin = 3;
    o[0].orbitTilt = 15;
    o[0].orbitCount = 2;
    o[0].orbitSpin = 4;
    o[0].explosionSize = 4;
    o[0].explodeSpin = 1;
    o[2] = Typed(6, 2);
    o[2].explodeSpin = 2;
    o[4].sidewaysAngle = -15;
    o[5].sidewaysAngle = 120;
    o[6] = Typed(3, u);
    o[7] = Typed(4, 1);
    o[7].shrinkSpin = 0;
    o[8] = Typed(7, u);
    o[8].explosionSize = 0.9;
    o[8].explodeSpin = 0;
    o[9] = Typed(6, 1);
    o[10] = Typed(6, 1);
    o[11] = Typed(3, 2);
    o[12] = Typed(7, u);
    o[12].explosionSize = 0.9;
    o[12].explodeSpin = 0;
    gOccasionsReady = true;
}

int UndoKindTransitionPreset(int undoKind)
{
    switch (undoKind)
    {
    case 0:
    case 20:
    case 39:
    case 40:
    case 41:
    case 42:
    case 43:
        return 6;
    case 1:
        return 3;
    case 4:
        return 12;
    case 5:
        return 5;
    case 6:
    case 7:
    case 8:
        return 7;
    case 11:
    case 12:
        return 8;
    case 16:
        return 10;
    case 17:
        return 9;
    case 19:
        return 11;
    case 33:
        return 4;
    default:
        return -1;
    }
}
