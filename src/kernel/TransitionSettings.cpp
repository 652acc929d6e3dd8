#include "kernel/TransitionSettings.h"

#include <cstring>
#include <random>

namespace
{
TransitionSettings gOccasions[kTransitionOccasionCount];
bool gOccasionsReady = false;
int gForcedOccasion = -1;
int gForcedDepth = 0;
int gInverseDepth = 0;
std::mt19937 gRandom(20040101u);

const char* const kTypeNames[] = {"No transition",    "Random",           "Sideways",
                                  "Orbit",            "Shrink & Grow",    "Explode & Grow",
                                  "Shrink & Implode", "Explode & Implode", "<Default>"};

void MergeValue(double& out, double defaultValue)
{
    if (out == TransitionSettings::kUnset)
        out = defaultValue;
}

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

void ResetTransitionOccasionsToDefault()
{
    ResetTransitionOccasions();
    for (int i = 1; i < kTransitionOccasionCount; ++i)
        gOccasions[i] = TransitionSettings();
}

const char* TransitionTypeName(int type)
{
    return type >= 0 && type <= TransitionSettings::kTypeDefault ? kTypeNames[type] : "?";
}

int TransitionTypeByName(const char* text)
{
    if (!text)
        return -1;
    for (int type = 0; type < TransitionSettings::kTypeDefault; ++type)
        if (std::strcmp(text, kTypeNames[type]) == 0)
            return type;
    if (std::strcmp(text, "<Default>") == 0 || std::strcmp(text, "<Use default>") == 0)
        return TransitionSettings::kTypeDefault;
    return -1;
}

void MergeTransitionDefaults(TransitionSettings& out, const TransitionSettings& source)
{
    const TransitionSettings& d = GetTransitionOccasions()[0];
    out = source;
    if (out.type == TransitionSettings::kTypeDefault)
        out.type = d.type;
    MergeValue(out.duration, d.duration);
    MergeValue(out.shrinkSpin, d.shrinkSpin);
    MergeValue(out.sidewaysAngle, d.sidewaysAngle);
    MergeValue(out.sidewaysSpin, d.sidewaysSpin);
    MergeValue(out.orbitTilt, d.orbitTilt);
    MergeValue(out.orbitCount, d.orbitCount);
    MergeValue(out.orbitSpin, d.orbitSpin);
    MergeValue(out.explosionSize, d.explosionSize);
    MergeValue(out.explodeSpin, d.explodeSpin);
}

void ApplyTransitionDefaults(TransitionSettings& out, int occasion)
{
    if (gForcedOccasion >= 0)
        occasion = gForcedOccasion;
    if (occasion < 0 || occasion >= kTransitionOccasionCount)
        occasion = 0;
    MergeTransitionDefaults(out, GetTransitionOccasions()[occasion]);
}

TransitionOccasionScope::TransitionOccasionScope(int occasion)
{
    if (gForcedDepth++ == 0)
        gForcedOccasion = occasion;
}

TransitionOccasionScope::~TransitionOccasionScope()
{
    if (--gForcedDepth == 0)
        gForcedOccasion = -1;
}

int GetForcedTransitionOccasion()
{
    return gForcedOccasion;
}

InverseTransitionScope::InverseTransitionScope(bool on) : mOn(on)
{
    if (mOn)
        ++gInverseDepth;
}

InverseTransitionScope::~InverseTransitionScope()
{
    if (mOn)
        --gInverseDepth;
}

int GetInverseTransitionDepth()
{
    return gInverseDepth;
}

void InvertTransitionSettings(TransitionSettings& s)
{
    switch (s.type)
    {
    case TransitionSettings::kTypeSideways:
        s.sidewaysAngle += 180.0;
        s.sidewaysSpin = -s.sidewaysSpin;
        break;
    case TransitionSettings::kTypeOrbit:
        s.orbitCount = -s.orbitCount;
        s.orbitSpin = -s.orbitSpin;
        break;
    case TransitionSettings::kTypeExplodeGrow:
        s.type = TransitionSettings::kTypeShrinkImplode;
        s.explodeSpin = -s.explodeSpin;
        break;
    case TransitionSettings::kTypeShrinkImplode:
        s.type = TransitionSettings::kTypeExplodeGrow;
        s.explodeSpin = -s.explodeSpin;
        break;
    case TransitionSettings::kTypeExplodeImplode:
        s.explodeSpin = -s.explodeSpin;
        break;
    default:
        break;
    }
}

int DrawRandomTransitionType()
{
    std::uniform_int_distribution<int> pick(TransitionSettings::kTypeSideways, TransitionSettings::kTypeExplodeImplode);
    return pick(gRandom);
}

void SeedTransitionRandom(unsigned seed)
{
    gRandom.seed(seed);
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
