#include "operations/StretchModel.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UndoKinds.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "operations/PickedPoints.h"
#include "operations/PolyMenuCommands.h"
#include "stellation/Stellation.h"

#include <cmath>

namespace
{
StretchChoices gRemembered;

bool IsZeroVector(const Vec3D& v)
{
    return IsZeroTol(v.x, kTol) && IsZeroTol(v.y, kTol) && IsZeroTol(v.z, kTol);
}

// The axis classes the radios offer: a class that holds the far ends of an earlier class's axes
// gives the same directions again and is left out.
const SymAxisSet* GetOfferedAxisClass(const Poly& poly, int offered)
{
    const SymGroup* group = poly.GetSymGroup();
    if (!group || offered < 0 || offered >= 3)
        return nullptr;
    for (int i = 0; i < group->mNumAxisSets; ++i)
    {
        const SymAxisSet& set = group->mAxisSets[i];
        if (set.mSkip)
            continue;
        if (offered-- == 0)
            return &set;
    }
    return nullptr;
}

Vec3D GetStretchDirection(Poly& poly, int choice)
{
    if (const SymAxisSet* set = GetOfferedAxisClass(poly, choice))
        return set->mNumAxes > 0 ? set->mAxes[0].mDir : Vec3D{};
    if (choice != 3)
        return Vec3D{};
    if (poly.HasSelectedEdge())
        return poly.GetSelectedEdge()->GetVector(poly.mShowDual);
    if (poly.HasSelectedVert())
        return poly.GetStellationVert()->mPoint;
    const FaceVert* face = poly.GetShownStellation()->mSelectedFace;
    return face ? face->GetNormal() : Vec3D{};
}
}  // namespace

StretchChoices& RememberedStretchChoices()
{
    return gRemembered;
}

bool GetStretchSegment(StretchSegment& segment)
{
    Vec4D a, b;
    if (!GetMeasuredSegment(a, b))
        return false;
    segment.a = {a.x, a.y, a.z};
    segment.b = {b.x, b.y, b.z};
    return true;
}

int CountStretchAxisClasses(const Poly& poly)
{
    int count = 0;
    while (GetOfferedAxisClass(poly, count))
        ++count;
    return count;
}

int GetStretchAxisFold(const Poly& poly, int axisClass)
{
    const SymAxisSet* set = GetOfferedAxisClass(poly, axisClass);
    return set ? set->mOrder : 0;
}

StretchChoices LoadStretchChoices(const StretchChoices& remembered, int numAxisClasses, bool hasSegment)
{
    StretchChoices choices = remembered;
    if (choices.direction < 0 || choices.direction > 3)
        choices.direction = 0;
    if (choices.direction < 3 && choices.direction >= numAxisClasses)
        choices.direction = numAxisClasses > 0 ? 0 : 3;
    if (choices.mode < 0 || choices.mode > 2)
        choices.mode = 0;
    if (choices.mode == 2 && !hasSegment)
        choices.mode = 1;
    return choices;
}

const char* GetStretchElementLabel(const Poly& poly)
{
    if (poly.HasSelectedEdge())
        return "Scale along selected edge";
    if (poly.HasSelectedVert())
        return "Scale through selected vertex";
    return "Perpendicular to selected face";
}

bool ComputeStretch(Poly& poly, const StretchChoices& choices, const StretchSegment* segment, double scale,
                    StretchResult& result)
{
    if (!IsValidExpression(choices.text.c_str(), true))
        return false;
    Vec3D u = GetStretchDirection(poly, choices.direction);
    if (IsZeroVector(u))
    {
        ErrorMessage("Scale direction not well-defined\n(zero-length vector)");
        return false;
    }
    Vec3Normalize(u);
    const double value = EvaluateNumber(choices.text.c_str(), false);
    double factor = value;
    if (choices.mode == 1)
    {
        const double height = poly.GetExtentAlong(u, poly.mShowDual);
        if (height < kTol)
        {
            ErrorMessage("The model has no height along this direction,\nso no stretch can give it a height.");
            return false;
        }
        factor = value / scale / height;
    }
    else if (choices.mode == 2)
    {
        if (!segment)
            return false;
        Vec3D w;
        Vec3Sub(w, segment->b, segment->a);
        const double along = Vec3Dot(w, u);
        if (IsZeroTol(along, kTol))
        {
            ErrorMessage("The measurement line is perpendicular to\nthe scale direction.\n\nThis is not allowed since "
                         "scaling this way\ncan not change the measured distance.");
            return false;
        }
        const double wanted = value / scale;
        // The part of the segment across the direction stays as it is.
        const double acrossSq = std::max(Vec3LengthSq(w) - along * along, 0.0);
        if (!(wanted * wanted >= acrossSq))
        {
            ErrorMessage("The measured distance can not be made shorter than %g\nby stretching in this direction.",
                         std::sqrt(acrossSq) * scale);
            return false;
        }
        factor = std::sqrt(wanted * wanted - acrossSq) / along;
    }
    if (!std::isfinite(factor))
    {
        ErrorMessage("The scale factor must be a finite number");
        return false;
    }
    result.factor = factor;
    result.direction = u;
    return true;
}

bool StretchModel(SimplePoly* model, const StretchResult& stretch, bool recolor)
{
    if (!model)
        return false;
    model->StretchAlong(stretch.factor, stretch.direction);
    if (!recolor)
        model->mFlags |= SimplePoly::kKeepBaseColors | SimplePoly::kKeepDualColors;
    return AdoptModelDirectly(model, kUndoNonUniformScale, false, true, 0);
}
