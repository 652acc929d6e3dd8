#pragma once

#include <string>

class Poly;
class Stellation;

// The measures of the Scale menu. Models are kept at a normalised size: the user states one measure
// of the model in real units and the model scale of the unit settings is worked out from it.

// One measure: its size in model units, its dimension (1 a length, 2 an area, 3 a volume, 4 a 4D
// hypervolume) and the prompt that asks for it.
struct ScaleMeasure
{
    double value = 0.0;
    int power = 1;
    std::string prompt;
};

enum class ScaleMeasureKind
{
    BaseRadius,
    BaseCircumference,
    BaseArea,
    BaseVolume,
    DualRadius,
    DualArea,
    DualVolume,
    Midradius,
};

// A measure that is 0, negative or not finite (an undefined volume, an infinite dual) gives no
// scale: its command does nothing.
bool IsUsableMeasure(const ScaleMeasure& measure);

// The measures that need no selection.
ScaleMeasure GetScaleMeasure(Poly& poly, ScaleMeasureKind kind);

// Edge Length: the selected edge when it is longer than 1e-7, else the longest edge. The range is
// that of the stellation shown (null: the base's); shownDual reads the selected edge as the dual's.
// A model whose edges differ names the range in the prompt.
ScaleMeasure GetEdgeLengthMeasure(Poly& poly, Stellation* shown, bool shownDual);

// Base or Dual Inradius: the distance of the selected face's plane (the current cell's hyperplane
// of a 4D model) from the centre. False when there is nothing to ask: no selected face or cell, no
// finite dual (told), or a plane through the centre (told).
bool GetInradiusMeasure(Poly& poly, bool dual, ScaleMeasure& out);

// Stellation Radius: the radius of the stellation when it has been built, else the side's own
// circumradius (1 for the base, the dual's for the dual).
ScaleMeasure GetStellationRadiusMeasure(Poly& poly, Stellation* stellation, bool dual);

// The prompt offers the measure at the current scale, measure * scale^power; the model scale then
// becomes (entered / measure)^(1/power) as one undo step, and the Model Info tree is marked. Cancel,
// an unusable measure, or an entry that gives no finite scale above 0 changes nothing. True when
// the scale was set.
bool ScaleToMeasure(const ScaleMeasure& measure);
