#pragma once

#include <cstddef>
#include <cstdint>

class RegKey;

// Distance units.
inline constexpr int kUnitMm = 0;
inline constexpr int kUnitCm = 1;
inline constexpr int kUnitMetres = 2;
inline constexpr int kUnitInches = 3;
inline constexpr int kUnitFeet = 4;

// Angle modes.
inline constexpr int kAngleDegrees = 0;
inline constexpr int kAngleDegreesMinutesSeconds = 1;
inline constexpr int kAngleRadians = 2;

// How nets treat edges where more than two faces meet.
inline constexpr int kCoincTongueInGroove = 0x400000;
inline constexpr int kCoincInternalSupport = 0x800000;
inline constexpr int kCoincNoInternalSupport = 0x1000000;
inline constexpr int kCoincUnconnected = 0x2000000;

// Colour-pages modes.
inline constexpr int kMultiColorPages = 0;
inline constexpr int kSingleColorPages = 1;
inline constexpr int kAutoColorPages = 2;

// Print shading.
inline constexpr int kPrintShadingAuto = 0;
inline constexpr int kPrintShadingNone = 1;
inline constexpr int kPrintShadingGreyscale = 2;
inline constexpr int kPrintShadingColor = 3;

// Bits of the net edge data: at most one of the low seven, and the face angles beside them.
inline constexpr int kNetEdgeConnectionIds = 0x1;
inline constexpr int kNetEdgeNames = 0x2;
inline constexpr int kNetEdgeTypeNames = 0x4;
inline constexpr int kNetEdgeLengths = 0x8;
inline constexpr int kNetEdgeDihedrals = 0x10;
inline constexpr int kNetEdgeMitres = 0x20;
inline constexpr int kNetEdgeletNumbers = 0x40;
inline constexpr int kNetFaceAngles = 0x80;
inline constexpr int kNetEdgeDataKinds = 0x3F;

// The edge-data word after choosing Show Edgelet Numbers: switching them on drops the edge-data
// kinds, switching them off leaves no edge data; the face angles stay as they are.
int ToggleEdgeletNumbers(int edgeData);

// The undo kind of a change of the model scale.
inline constexpr int kUndoKindScale = 26;

// What the unit settings ask of the current model. The model code installs it; without it, or while
// there is no current model, there are no nets to lay out and automatic colour pages come out as
// single colour pages (nothing carries an image).
class UnitModelLink
{
public:
    virtual ~UnitModelLink() = default;

    virtual bool HasCurrentModel() = 0;
    // The shown side's mesh (when it has one) lays its nets out again after the scale changed.
    virtual void RelayoutNets() = 0;
    // Questions about the side the current model shows (its dual when the dual is shown).
    virtual bool ShownSideIsKitBuildable() = 0;
    virtual bool IsConvex() = 0;
    virtual bool ShownSideIsOriginal() = 0;  // no stellation shown
    virtual bool ShownFacesAllSameColor() = 0;
    virtual bool ShownFacesHaveImages() = 0;
};

// Installs the link (null: none); returns the previous one.
UnitModelLink* SetUnitModelLink(UnitModelLink* link);

// Model coordinates are unitless and angles radians inside the program. Printed sizes and the
// lengths and angles shown to the user pass through this: the distance unit with its size in twips
// (1440 to the inch), the model scale, the angle mode, and the page and net-printing settings that
// travel with the scale. One program-wide object (GetUnitSettings); the print options dialog works
// on a copy while it is open.
class UnitSettings
{
public:
    static constexpr double kTwipsPerInch = 1440.0;
    static constexpr double kTwipsPerCm = 1440.0 / 2.54;
    static constexpr double kCmPerTwip = 0.0017638889;
    static constexpr double kDegreesPerRadian = 57.29577951308232;

    // Without defaults every field is zero and the unit unset (-1), as for a record to copy into.
    explicit UnitSettings(bool applyDefaults);

    void SetDefaults();

    double TwipsToUnits(double twips) const { return twips / mTwipsPerUnit; }
    double UnitsToTwips(double units) const { return units * mTwipsPerUnit; }
    // Halves away from zero.
    int UnitsToTwipsRounded(double units) const;
    double ModelToTwips(double length) const { return mScale * mTwipsPerUnit * length; }
    int ModelToTwipsRounded(double length) const;

    double GetScale() const { return mScale; }
    // Only a scale above 0 is taken; the views are refreshed and the nets laid out again either way.
    void SetScale(double scale, bool recordUndo);

    int GetDistanceUnit() const { return mDistanceUnit; }
    // Keeps printed sizes: the scale follows the unit. A unit outside 0..4 changes nothing. Returns
    // the previous unit.
    int SetDistanceUnit(int unit);
    // "mm", "cm", "metres", "inches", "feet", or "??".
    const char* GetUnitName() const;
    static double TwipsPerUnit(int unit);

    int GetAngleMode() const { return mAngleMode; }
    // A mode outside 0..2 changes nothing.
    void SetAngleMode(int mode);
    // Writes the angle in the angle mode; returns the characters written (the text is cut to fit
    // size, which must be at least 1).
    int FormatAngle(char* buffer, size_t size, double radians, const char* degreeSign) const;

    // Margins are given and answered in centimetres whatever the unit, and kept in twips.
    void SetMargins(float left, float right, float top, float bottom);
    void GetMargins(float& left, float& right, float& top, float& bottom) const;

    double GetNetSpacing() const { return TwipsToUnits(mNetSpacing); }
    void SetNetSpacing(double units) { mNetSpacing = UnitsToTwipsRounded(units); }

    // One colour of net per page: by the mode, or in the automatic mode from the current model.
    bool UseSingleColorPages() const;
    // The stored shading, or for "Auto" None (when plain pages are allowed and the pages are of one
    // colour) or Color.
    int GetPrintShading(bool allowPlain) const;

    // The unit's program settings, through the registry: "DistUnits" and "AngleUnits" (applied
    // through their setters), the four margins, "NetSpacing", "PrintLineWidth" and
    // "PrintCellLineWidth". Missing values keep the current ones.
    void ReadSettings(RegKey* key);
    bool WriteSettings(RegKey* key) const;

    int32_t mDistanceUnit = -1;
    int32_t mAngleMode = 0;
    double mTwipsPerUnit = 0.0;
    double mScale = 0.0;  // distance units per model length
    int32_t mMaxFacesPerNet = 0;
    int32_t mCoincEdgeMethod = 0;
    int32_t mColorPagesMode = 0;
    int32_t mNetEdgeData = 0;
    int32_t mLeftMargin = 0;  // twips
    int32_t mRightMargin = 0;
    int32_t mTopMargin = 0;
    int32_t mBottomMargin = 0;
    int32_t mNetSpacing = 0;  // twips
    bool mPrintDashedLines = false;
    int32_t mPrintCellLines = 0;  // 0 no, 1 yes, 2 as the views show them
    int32_t mNumExtraNets = 0;
    bool mPrintGivenNumNets = false;
    int32_t mNumNetsToPrint = 0;
    int32_t mPrintShading = 0;
    float mPrintShadeMax = 0.0f;
    int32_t mPrintLineWidth = 0;
    int32_t mPrintCellLineWidth = 0;
};

// The program's unit settings, built with the defaults on first use.
UnitSettings& GetUnitSettings();
