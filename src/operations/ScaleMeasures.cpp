#include "operations/ScaleMeasures.h"

#include "kernel/Messages.h"
#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace
{
constexpr double kTwoPi = 6.283185307179586;
// A 4D volume that was never worked out keeps this placeholder.
constexpr double kUnsetVolume4D = 9.0e99;

constexpr const char* kMidradiusPrompt3D =
    "Enter radius of reciprocation sphere\n"
    "  (Note: this is the midradius for uniform\n"
    "  polyhedra, ie the distance from the centre\n"
    "  to each edge.  The sphere may be shown using\n"
    "  \"Display->Show Midsphere/Reciprocation Sphere\")";

bool Is4D(const Poly& poly)
{
    return (poly.mFlags & Poly::kIs4D) && poly.mPolytope;
}

double Volume4D(const Polytope4D* polytope)
{
    return polytope && polytope->mVolume < kUnsetVolume4D ? polytope->mVolume : 0.0;
}

ScaleMeasure Measure(double value, int power, std::string prompt)
{
    ScaleMeasure measure;
    measure.value = value;
    measure.power = power;
    measure.prompt = std::move(prompt);
    return measure;
}

std::string Format(const char* format, ...) ORVANE_PRINTF(1, 2);
std::string Format(const char* format, ...)
{
    char buffer[600];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

double DistanceOfPlane(const FaceVert* face)
{
    return std::fabs(Vec3Dot(face->mZAxis, face->mCentre));
}
}  // namespace

bool IsUsableMeasure(const ScaleMeasure& measure)
{
    return std::isfinite(measure.value) && measure.value > 0.0 && measure.power >= 1 && measure.power <= 4;
}

ScaleMeasure GetScaleMeasure(Poly& poly, ScaleMeasureKind kind)
{
    const bool is4D = Is4D(poly);
    switch (kind)
    {
    case ScaleMeasureKind::BaseRadius:
        return Measure(1.0, 1, "Enter radius of base polytope");
    case ScaleMeasureKind::BaseCircumference:
        return Measure(kTwoPi, 1, "Enter circumference of base polyhedron's circumsphere");
    case ScaleMeasureKind::BaseArea:
        return Measure(poly.mSurfaceArea, 2, "Enter surface area of base polyhedron");
    case ScaleMeasureKind::BaseVolume:
        if (is4D)
            return Measure(Volume4D(poly.mPolytope.get()), 4, "Enter volume of base polytope");
        return Measure(poly.mVolume, 3, "Enter volume of base polyhedron");
    case ScaleMeasureKind::DualRadius:
        return Measure(poly.GetRadius(), 1, "Enter radius of dual polytope");
    case ScaleMeasureKind::DualArea:
        return Measure(poly.mDualSurfaceArea, 2, "Enter surface area of dual polyhedron");
    case ScaleMeasureKind::DualVolume:
        if (is4D)
            return Measure(Volume4D(poly.mPolytope->GetDual()), 4, "Enter volume of dual polytope");
        return Measure(poly.mDualVolume, 3, "Enter volume of dual polyhedron");
    case ScaleMeasureKind::Midradius:
        return Measure(poly.mMidRadius, 1, is4D ? "Enter radius of reciprocation sphere" : kMidradiusPrompt3D);
    }
    return ScaleMeasure{};
}

ScaleMeasure GetEdgeLengthMeasure(Poly& poly, Stellation* shown, bool shownDual)
{
    const char* side = poly.mShowDual ? "dual" : "base";
    double shortest = 0.0, longest = 0.0, selected = -1.0;
    if (Is4D(poly))
    {
        Polytope4D* polytope = poly.GetShownPolytope4D();
        if (polytope)
        {
            polytope->CalcEdgeLengthRange();
            shortest = polytope->mMinEdgeLength;
            longest = polytope->mMaxEdgeLength;
        }
        if (const Edge4D* edge = GetSelection4D().mEdge)
            selected = edge->GetLength();
    }
    else
    {
        Stellation* stellation = shown ? shown : poly.GetFaceStellation();
        stellation->CalcEdgeLengthRange(&shortest, &longest);
        if (const Edge* edge = poly.GetSelectedEdge())
            selected = edge->GetLength(shownDual);
    }
    const bool useSelected = selected > kTol;
    ScaleMeasure measure = Measure(useSelected ? selected : longest, 1, Format("Enter edge length of %s polytope", side));
    if (longest - shortest > kTol)
    {
        const double scale = GetUnitSettings().GetScale();
        measure.prompt = Format("Edge lengths of %s polytope range\n    from %g to %g.\n\nEnter length of %s edge", side,
                                shortest * scale, longest * scale, useSelected ? "selected" : "longest");
    }
    return measure;
}

bool GetInradiusMeasure(Poly& poly, bool dual, ScaleMeasure& out)
{
    const char* side = dual ? "dual" : "base";
    const bool is4D = Is4D(poly);
    double distance = 0.0;
    bool single = true;
    if (is4D)
    {
        Polytope4D* polytope = poly.mPolytope.get();
        if (dual)
        {
            polytope = polytope->GetDual();
            if (!polytope)
            {
                ErrorMessage("This feature not available for infinite duals");
                return false;
            }
        }
        const Cell4D* current = polytope->mCurrentCell;
        if (!current)
            return false;
        distance = -current->mPlane.d;
        for (Element4D* e = polytope->mFirstCell; e; e = e->next)
            if (const Cell4D* cell = Element4D::AsCell(e); cell && !IsZeroTol(-cell->mPlane.d - distance, kTol))
                single = false;
        if (dual)
            distance *= polytope->mScale;
    }
    else
    {
        Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
        const FaceVert* selected = stellation->mSelectedFace;
        if (!selected)
            return false;
        distance = DistanceOfPlane(selected);
        ElemList* faces = nullptr;
        poly.GetSideLists(dual, &faces, nullptr, nullptr, nullptr);
        for (const FaceVert* face = faces ? faces->mFirst : nullptr; face; face = face->mNext)
            if (!(face->mFlags & FaceVert::kHemi) && !IsZeroTol(DistanceOfPlane(face) - distance, kTol))
                single = false;
    }
    const char* kind = is4D ? "cell" : "face";
    if (distance < kTol)
    {
        InfoMessage("Selected %s passes through centre of model.\nIt's distance from the model centre is zero.\n"
                    "You can't edit this value",
                    kind);
        return false;
    }
    const char* plane = is4D ? "cell's hyper" : "face ";
    out.value = distance;
    out.power = 1;
    if (single)
        out.prompt = Format("Enter inradius of %s model\n  (The inradius is the radius of the insphere,\n"
                            "  a sphere which just touches each %splane)",
                            side, plane);
    else
        out.prompt = Format("Enter distance to selected %s %splane from\nthe centre of the model\n"
                            "  (The inradius is the radius of a sphere which\n  just touches each %splane.  This "
                            "model doesn't\n  have a single inradius, as %splanes are at\n  different distances "
                            "from the centre)",
                            side, plane, plane, is4D ? "cell hyper" : "face ");
    return true;
}

ScaleMeasure GetStellationRadiusMeasure(Poly& poly, Stellation* stellation, bool dual)
{
    double radius = dual ? poly.GetRadius() : 1.0;
    if (stellation && stellation->IsBuilt())
        radius = stellation->GetRadius();
    return Measure(radius, 1, "Enter radius of stellation");
}

bool ScaleToMeasure(const ScaleMeasure& measure)
{
    if (!IsUsableMeasure(measure))
        return false;
    UnitSettings& units = GetUnitSettings();
    double entered = measure.value * std::pow(units.GetScale(), measure.power);
    if (!PromptReal(measure.prompt.c_str(), entered))
        return false;
    const double scale = std::pow(entered / measure.value, 1.0 / measure.power);
    if (!std::isfinite(scale) || scale <= 0.0)
    {
        ErrorMessage("The value must be a number greater than zero");
        return false;
    }
    units.SetScale(scale, true);
    GetShell().InfoNeedsUpdate(1);
    return true;
}
