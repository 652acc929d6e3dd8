#pragma once

#include "kernel/ColorRGB.h"

#include <cstdint>

// How overlapping coplanar polygons are filled: one word of bits for the whole program run (not
// saved), set by the filling options dialog.
struct PolygonFillOptions
{
    static constexpr uint32_t kBlend = 0x1;              // mix the owners' colours
    static constexpr uint32_t kSmallestOnTop = 0x2;      // the colours of the smallest owner
    static constexpr uint32_t kSingleNewColor = 0x4;     // owners of different colours give one colour
    static constexpr uint32_t kCancel = 0x8;             // winding numbers summing to 0 leave the area empty
    static constexpr uint32_t kModulo2 = 0x10;           // only odd winding numbers fill
    static constexpr uint32_t kAuto = 0x20;              // modulo-2 exactly for non-orientable models
    static constexpr uint32_t kDenseWeighting = 0x40;    // weigh each owner by its winding number
    static constexpr uint32_t kLighten = 0x80;           // blended dense areas move towards white
    static constexpr uint32_t kDarken = 0x100;           // ... or towards black

    uint32_t mFlags = kBlend | kDenseWeighting;
    double mDensityFactor = 0.2;  // the dialog's percentage over 100
    ColorRGB mSingleNewColor{0.9f, 0.9f, 0.9f};
};

PolygonFillOptions& GetPolygonFillOptions();

// The option word a diagram is coloured with: the program's word, modulo-2 following the model's
// orientability under Auto, and with cancel also cancelling (and modulo-2 for a non-orientable
// model).
uint32_t GetDiagramDrawFlags(bool cancel, bool nonOrientable);

// Whether the current model is non-orientable: the model layer installs the question, since the
// kernel does not know the model. Without one every model counts as orientable.
using NonOrientableModelQuery = bool (*)();
void SetNonOrientableModelQuery(NonOrientableModelQuery query);
// The filling in force for the current model counts only odd winding numbers.
bool IsModulo2Filling();
