#include "kernel/UnitSettings.h"

#include "kernel/Registry.h"
#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/SphereOptions.h"
#include "kernel/ViewTypes.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
UnitModelLink* gUnitModelLink = nullptr;

// Halves away from zero, clamped to the int range (a NaN gives 0).
int RoundHalfAway(double x)
{
    if (!(x == x))
        return 0;
    if (x >= 2147483647.0)
        return 2147483647;
    if (x <= -2147483648.0)
        return -2147483647 - 1;
    return int(std::lround(x));
}

// snprintf's count is what the whole text needed; the caller wants what went into the buffer.
int Written(int needed, size_t size)
{
    if (needed < 0)
        return 0;
    return size_t(needed) < size ? needed : int(size - 1);
}
}  // namespace

UnitModelLink* SetUnitModelLink(UnitModelLink* link)
{
    UnitModelLink* previous = gUnitModelLink;
    gUnitModelLink = link;
    return previous;
}

UnitSettings::UnitSettings(bool applyDefaults)
{
    if (applyDefaults)
        SetDefaults();
}

void UnitSettings::SetDefaults()
{
    // The unit first: its change carries the scale along, and the default scale is meant in cm.
    SetDistanceUnit(kUnitCm);
    mScale = 8.0;
    SetAngleMode(kAngleDegrees);
    mMaxFacesPerNet = 1000000;
    mCoincEdgeMethod = kCoincInternalSupport;
    mColorPagesMode = kAutoColorPages;
    mNetEdgeData = 0;
    mLeftMargin = mRightMargin = mTopMargin = mBottomMargin = 0;
    SetNetSpacing(1.0);
    mPrintDashedLines = false;
    mPrintCellLines = 2;
    mNumExtraNets = 0;
    mPrintGivenNumNets = false;
    mNumNetsToPrint = 1;
    mPrintShading = kPrintShadingAuto;
    mPrintShadeMax = 0.25f;
    mPrintLineWidth = 1;
    mPrintCellLineWidth = 10;
}

int UnitSettings::UnitsToTwipsRounded(double units) const
{
    return RoundHalfAway(UnitsToTwips(units));
}

int UnitSettings::ModelToTwipsRounded(double length) const
{
    return RoundHalfAway(ModelToTwips(length));
}

void UnitSettings::SetScale(double scale, bool recordUndo)
{
    if (recordUndo)
        GetShell().AddUndo(kUndoKindScale, false);
    if (scale > 0.0)
        mScale = scale;

    // Sphere radii are in units, so spheres and their circles on nets change size with the scale;
    // otherwise only the edge lengths written on nets do.
    const SphereOptions& spheres = GetSphereOptions();
    if (spheres.showSpheres || spheres.showIntersectionsOnNets)
        GetShell().InvalidateAllViews(false, 0);
    else if (mNetEdgeData & kNetEdgeLengths)
        GetShell().InvalidateViewsOfType(kViewFamilyNet, 0);

    if (gUnitModelLink && gUnitModelLink->HasCurrentModel())
        gUnitModelLink->RelayoutNets();
}

double UnitSettings::TwipsPerUnit(int unit)
{
    switch (unit)
    {
    case kUnitMm:
        return kTwipsPerCm / 10.0;
    case kUnitCm:
        return kTwipsPerCm;
    case kUnitMetres:
        return kTwipsPerCm * 100.0;
    case kUnitInches:
        return kTwipsPerInch;
    case kUnitFeet:
        return kTwipsPerInch * 12.0;
    default:
        return 0.0;
    }
}

int UnitSettings::SetDistanceUnit(int unit)
{
    const int previous = mDistanceUnit;
    if (unit < kUnitMm || unit > kUnitFeet)
        return previous;
    const double twips = TwipsPerUnit(unit);
    // From the unset unit (no twips yet) the product is 0, which SetScale ignores.
    SetScale(mScale * mTwipsPerUnit / twips, false);
    mDistanceUnit = unit;
    mTwipsPerUnit = twips;
    GetShell().InfoNeedsUpdate(1);
    return previous;
}

const char* UnitSettings::GetUnitName() const
{
    switch (mDistanceUnit)
    {
    case kUnitMm:
        return "mm";
    case kUnitCm:
        return "cm";
    case kUnitMetres:
        return "metres";
    case kUnitInches:
        return "inches";
    case kUnitFeet:
        return "feet";
    default:
        return "??";
    }
}

void UnitSettings::SetAngleMode(int mode)
{
    if (mode < kAngleDegrees || mode > kAngleRadians)
        return;
    mAngleMode = mode;
    GetShell().InvalidateAllViews(false, 0);
}

int UnitSettings::FormatAngle(char* buffer, size_t size, double radians, const char* degreeSign) const
{
    if (!buffer || size == 0)
        return 0;
    const char* sign = degreeSign ? degreeSign : "";
    const double degrees = radians * kDegreesPerRadian;
    int needed = 0;
    switch (mAngleMode)
    {
    case kAngleDegrees:
        needed = snprintf(buffer, size, "%g%s%s", degrees, sign[0] == 'd' ? " " : "", sign);
        break;
    case kAngleDegreesMinutesSeconds:
    {
        const double whole = std::trunc(degrees);
        const double minutes = (degrees - whole) * 60.0;
        const double wholeMinutes = std::trunc(minutes);
        const double seconds = std::round((minutes - wholeMinutes) * 60.0);
        needed = snprintf(buffer, size, "%d%s%d'%d\"", int(whole), sign, int(wholeMinutes), int(seconds));
        break;
    }
    case kAngleRadians:
        needed = snprintf(buffer, size, "%g rad", radians);
        break;
    default:
        buffer[0] = '\0';
        return 0;
    }
    return Written(needed, size);
}

void UnitSettings::SetMargins(float left, float right, float top, float bottom)
{
    // Always centimetres, whatever the unit.
    mLeftMargin = RoundHalfAway(double(left) * kTwipsPerCm);
    mRightMargin = RoundHalfAway(double(right) * kTwipsPerCm);
    mTopMargin = RoundHalfAway(double(top) * kTwipsPerCm);
    mBottomMargin = RoundHalfAway(double(bottom) * kTwipsPerCm);
}

void UnitSettings::GetMargins(float& left, float& right, float& top, float& bottom) const
{
    left = float(mLeftMargin * kCmPerTwip);
    right = float(mRightMargin * kCmPerTwip);
    top = float(mTopMargin * kCmPerTwip);
    bottom = float(mBottomMargin * kCmPerTwip);
}

bool UnitSettings::UseSingleColorPages() const
{
    if (mColorPagesMode == kSingleColorPages)
        return true;
    if (mColorPagesMode == kMultiColorPages)
        return false;

    UnitModelLink* link = gUnitModelLink;
    if (!link || !link->HasCurrentModel())
        return true;
    // A kit model is built from coloured panels: keep its colours together on a page.
    if (IsKitStyle() && link->ShownSideIsKitBuildable())
        return false;
    if (link->IsConvex() && link->ShownSideIsOriginal() && !link->ShownFacesAllSameColor())
        return false;
    return !link->ShownFacesHaveImages();
}

int UnitSettings::GetPrintShading(bool allowPlain) const
{
    if (mPrintShading != kPrintShadingAuto)
        return mPrintShading;
    return allowPlain && UseSingleColorPages() ? kPrintShadingNone : kPrintShadingColor;
}

void UnitSettings::ReadSettings(RegKey* key)
{
    int unit = mDistanceUnit;
    if (RegReadInt(key, "DistUnits", unit))
        SetDistanceUnit(unit);
    int mode = mAngleMode;
    if (RegReadInt(key, "AngleUnits", mode))
        SetAngleMode(mode);
    RegReadInt(key, "LeftMargin", mLeftMargin);
    RegReadInt(key, "RightMargin", mRightMargin);
    RegReadInt(key, "TopMargin", mTopMargin);
    RegReadInt(key, "BottomMargin", mBottomMargin);
    RegReadInt(key, "NetSpacing", mNetSpacing);
    RegReadInt(key, "PrintLineWidth", mPrintLineWidth);
    RegReadInt(key, "PrintCellLineWidth", mPrintCellLineWidth);
}

bool UnitSettings::WriteSettings(RegKey* key) const
{
    bool ok = RegWriteInt(key, "DistUnits", mDistanceUnit);
    ok = RegWriteInt(key, "AngleUnits", mAngleMode) && ok;
    ok = RegWriteInt(key, "LeftMargin", mLeftMargin) && ok;
    ok = RegWriteInt(key, "RightMargin", mRightMargin) && ok;
    ok = RegWriteInt(key, "TopMargin", mTopMargin) && ok;
    ok = RegWriteInt(key, "BottomMargin", mBottomMargin) && ok;
    ok = RegWriteInt(key, "NetSpacing", mNetSpacing) && ok;
    ok = RegWriteInt(key, "PrintLineWidth", mPrintLineWidth) && ok;
    ok = RegWriteInt(key, "PrintCellLineWidth", mPrintCellLineWidth) && ok;
    return ok;
}

UnitSettings& GetUnitSettings()
{
    static UnitSettings settings(true);
    return settings;
}

int ToggleEdgeletNumbers(int edgeData)
{
    if (edgeData & kNetEdgeletNumbers)
        return edgeData & ~(kNetEdgeDataKinds | kNetEdgeletNumbers);
    return (edgeData & ~kNetEdgeDataKinds) | kNetEdgeletNumbers;
}
