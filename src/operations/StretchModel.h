#pragma once

#include "kernel/Vec3D.h"

#include <string>

class Poly;
class SimplePoly;

// Scale > Stretch (Non-Uniform Scale)...: the choices of its dialog, the factor and direction they
// give, and the stretched model adopted as one undo step.

// Direction 0..2: the first axis of that axis class of the model's group; 3: the selected element
// (an edge's direction, the line through a vertex, a face's normal). Mode 0 scales by the value,
// 1 sets the model's height along the direction, 2 sets the length of the measured segment.
struct StretchChoices
{
    int direction = 0;
    int mode = 0;
    std::string text = "1.0";
    bool recolor = false;
};

// Remembered from one successful use to the next for the rest of the run.
StretchChoices& RememberedStretchChoices();

// The two ends of the measured segment, in model units.
struct StretchSegment
{
    Vec3D a;
    Vec3D b;
};

// The measured segment of the measurement mode; false while there is none.
bool GetStretchSegment(StretchSegment& segment);

// The number of axis classes the direction radios offer (at most 3; the class of the far ends of
// another class's axes is not offered again), and the fold of one; 0 without a group.
int CountStretchAxisClasses(const Poly& poly);
int GetStretchAxisFold(const Poly& poly, int axisClass);

// The remembered choices as the dialog opens with them: an axis class the group does not have
// becomes the first, no axis class at all the selected element; mode 2 without a segment becomes 1.
StretchChoices LoadStretchChoices(const StretchChoices& remembered, int numAxisClasses, bool hasSegment);

// The text of the fourth direction radio for what the model has selected.
const char* GetStretchElementLabel(const Poly& poly);

struct StretchResult
{
    double factor = 1.0;
    Vec3D direction;  // unit length
};

// Checks the choices and works out the stretch; false, after telling the user why, when they give
// none: a text that is no valid expression, a direction of zero length, a segment across the
// direction or shorter across it than asked for, a model of no height along it, a factor that is
// not finite. scale is the model scale of the units (the value is in units); segment may be null.
bool ComputeStretch(Poly& poly, const StretchChoices& choices, const StretchSegment* segment, double scale,
                    StretchResult& result);

// Stretches the model made from the active view and adopts it (undo kind "Non-uniform Scale");
// unless recolor, both sides keep their face colours. False, with the model and the undo list as
// they were, when the stretched model cannot be built.
bool StretchModel(SimplePoly* model, const StretchResult& stretch, bool recolor);
