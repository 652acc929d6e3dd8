#include "kernel/MemorySettingsStore.h"
#include "kernel/Registry.h"
#include "kernel/RenderSettings.h"
#include "kernel/SphereOptions.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
// The sphere switches and the kit style are program-wide; every test here gets them back as found.
class UnitSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSavedSpheres = GetSphereOptions();
        mSavedKitStyle = GetRenderSettings().kitStyle;
    }
    void TearDown() override
    {
        GetSphereOptions() = mSavedSpheres;
        GetRenderSettings().kitStyle = mSavedKitStyle;
    }

    RecordingShell mShell;
    ScopedShell mShellScope{&mShell};

private:
    SphereOptions mSavedSpheres;
    bool mSavedKitStyle = false;
};

// Answers the questions of the automatic colour-pages rule as set, and counts the net layouts.
class FakeModelLink : public UnitModelLink
{
public:
    bool hasModel = true;
    bool kitBuildable = false;
    bool convex = false;
    bool original = true;
    bool allSameColor = true;
    bool images = false;
    int relayouts = 0;

    bool HasCurrentModel() override { return hasModel; }
    void RelayoutNets() override { ++relayouts; }
    bool ShownSideIsKitBuildable() override { return kitBuildable; }
    bool IsConvex() override { return convex; }
    bool ShownSideIsOriginal() override { return original; }
    bool ShownFacesAllSameColor() override { return allSameColor; }
    bool ShownFacesHaveImages() override { return images; }
};

class ScopedModelLink
{
public:
    explicit ScopedModelLink(UnitModelLink* link) : mPrevious(SetUnitModelLink(link)) {}
    ~ScopedModelLink() { SetUnitModelLink(mPrevious); }

private:
    UnitModelLink* mPrevious;
};

std::string Angle(const UnitSettings& u, double radians, const char* sign)
{
    char buffer[64];
    const int n = u.FormatAngle(buffer, sizeof buffer, radians, sign);
    EXPECT_EQ(n, int(std::string(buffer).size()));
    return buffer;
}

constexpr double kDeg = 3.141592653589793 / 180.0;
}  // namespace

TEST_F(UnitSettingsTest, DefaultsAreCentimetresAtScaleEight)
{
    const UnitSettings u(true);
    EXPECT_EQ(u.GetDistanceUnit(), kUnitCm);
    EXPECT_STREQ(u.GetUnitName(), "cm");
    EXPECT_DOUBLE_EQ(u.mTwipsPerUnit, 566.9291338582677);
    EXPECT_DOUBLE_EQ(u.GetScale(), 8.0);
    EXPECT_EQ(u.GetAngleMode(), kAngleDegrees);
    EXPECT_EQ(u.mMaxFacesPerNet, 1000000);
    EXPECT_EQ(u.mCoincEdgeMethod, 8388608);
    EXPECT_EQ(u.mColorPagesMode, kAutoColorPages);
    EXPECT_EQ(u.mNetSpacing, 567);  // one centimetre to the nearest twip
    EXPECT_EQ(u.mPrintCellLines, 2);
    EXPECT_EQ(u.mNumNetsToPrint, 1);
    EXPECT_FLOAT_EQ(u.mPrintShadeMax, 0.25f);
    EXPECT_EQ(u.mPrintLineWidth, 1);
    EXPECT_EQ(u.mPrintCellLineWidth, 10);
    int margins = u.mLeftMargin | u.mRightMargin | u.mTopMargin | u.mBottomMargin;
    EXPECT_EQ(margins, 0);

    // A model edge of 1 prints as 8 cm.
    EXPECT_NEAR(u.ModelToTwips(1.0), 8.0 * 1440.0 / 2.54, 1e-9);
    EXPECT_EQ(u.ModelToTwipsRounded(1.0), 4535);  // 4535.43
}

TEST_F(UnitSettingsTest, EachUnitHasItsNameAndSizeInTwips)
{
    struct Case
    {
        int unit;
        const char* name;
        double twips;
    };
    const Case kCases[] = {
        {kUnitMm, "mm", 56.69291338582678},      {kUnitCm, "cm", 566.9291338582677},
        {kUnitMetres, "metres", 56692.913385826774}, {kUnitInches, "inches", 1440.0},
        {kUnitFeet, "feet", 17280.0},
    };
    UnitSettings u(true);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        u.SetDistanceUnit(c.unit);
        EXPECT_STREQ(u.GetUnitName(), c.name);
        EXPECT_NEAR(u.mTwipsPerUnit, c.twips, c.twips * 1e-15);
        EXPECT_NEAR(u.UnitsToTwips(2.0), 2.0 * c.twips, c.twips * 1e-14);
        EXPECT_NEAR(u.TwipsToUnits(c.twips * 3.0), 3.0, 1e-14);
    }

    // Unset and out-of-range units have no name.
    const UnitSettings unset(false);
    EXPECT_EQ(unset.GetDistanceUnit(), -1);
    EXPECT_STREQ(unset.GetUnitName(), "??");
    u.mDistanceUnit = 5;
    EXPECT_STREQ(u.GetUnitName(), "??");
}

TEST_F(UnitSettingsTest, ChangingUnitKeepsThePrintedSize)
{
    UnitSettings u(true);
    const double printed = u.ModelToTwips(1.0);
    mShell.calls.clear();

    EXPECT_EQ(u.SetDistanceUnit(kUnitInches), kUnitCm);
    EXPECT_EQ(u.GetDistanceUnit(), kUnitInches);
    EXPECT_NEAR(u.GetScale(), 8.0 * 566.9291338582677 / 1440.0, 1e-12);
    EXPECT_NEAR(u.GetScale(), 3.1496, 1e-4);
    EXPECT_NEAR(u.ModelToTwips(1.0), printed, 1e-9);
    EXPECT_EQ(mShell.Count("Info 1"), 1);

    // And back again through millimetres.
    EXPECT_EQ(u.SetDistanceUnit(kUnitMm), kUnitInches);
    EXPECT_NEAR(u.GetScale(), 80.0, 1e-12);
    EXPECT_NEAR(u.ModelToTwips(1.0), printed, 1e-9);

    // A unit outside 0..4 changes nothing and answers the current one.
    mShell.calls.clear();
    for (int bad : {-1, 5, 100})
    {
        EXPECT_EQ(u.SetDistanceUnit(bad), kUnitMm);
        EXPECT_EQ(u.GetDistanceUnit(), kUnitMm);
        EXPECT_NEAR(u.GetScale(), 80.0, 1e-12);
    }
    EXPECT_TRUE(mShell.calls.empty());
}

TEST_F(UnitSettingsTest, ScaleMustBePositiveButTheViewsRefreshEitherWay)
{
    FakeModelLink link;
    ScopedModelLink linkScope(&link);
    UnitSettings u(true);
    GetSphereOptions().showSpheres = true;

    const double kRejected[] = {0.0, -2.0, std::numeric_limits<double>::quiet_NaN()};
    for (double scale : kRejected)
    {
        SCOPED_TRACE(scale);
        mShell.calls.clear();
        link.relayouts = 0;
        u.SetScale(scale, false);
        EXPECT_DOUBLE_EQ(u.GetScale(), 8.0);
        EXPECT_EQ(mShell.calls, std::vector<std::string>{"InvalidateAll"});
        EXPECT_EQ(link.relayouts, 1);
    }

    // With undo, the undo item opens before the scale changes.
    mShell.calls.clear();
    u.SetScale(2.5, true);
    EXPECT_DOUBLE_EQ(u.GetScale(), 2.5);
    EXPECT_EQ(mShell.calls, (std::vector<std::string>{"Undo 26", "InvalidateAll"}));
}

TEST_F(UnitSettingsTest, ScaleRefreshReachesOnlyTheViewsThatShowLengths)
{
    struct Case
    {
        const char* name;
        bool spheres, circles;
        int edgeData;
        std::vector<std::string> calls;
    };
    const std::string kNetViews = "ViewsOfType " + std::to_string(kViewFamilyNet);
    const Case kCases[] = {
        {"spheres shown", true, false, 0, {"InvalidateAll"}},
        {"sphere circles on nets", false, true, kNetEdgeLengths, {"InvalidateAll"}},
        {"edge lengths on nets", false, false, kNetEdgeLengths | kNetFaceAngles, {kNetViews}},
        {"edge names on nets", false, false, kNetEdgeNames, {}},
        {"nothing depends on the scale", false, false, 0, {}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetSphereOptions().showSpheres = c.spheres;
        GetSphereOptions().showIntersectionsOnNets = c.circles;
        UnitSettings u(true);
        u.mNetEdgeData = c.edgeData;
        mShell.calls.clear();
        u.SetScale(3.0, false);
        EXPECT_EQ(mShell.calls, c.calls);
    }
}

TEST_F(UnitSettingsTest, MarginsAreCentimetresKeptInTwips)
{
    UnitSettings u(true);
    u.SetDistanceUnit(kUnitInches);  // margins ignore the unit
    u.SetMargins(1.5f, 0.0f, 2.54f, 0.001f);
    EXPECT_EQ(u.mLeftMargin, 850);
    EXPECT_EQ(u.mRightMargin, 0);
    EXPECT_EQ(u.mTopMargin, 1440);
    EXPECT_EQ(u.mBottomMargin, 1);  // 0.567 twips

    float left, right, top, bottom;
    u.GetMargins(left, right, top, bottom);
    EXPECT_NEAR(left, 1.4993, 1e-4);
    EXPECT_FLOAT_EQ(right, 0.0f);
    EXPECT_NEAR(top, 2.54, 1e-6);
    EXPECT_NEAR(bottom, 0.0017638889, 1e-9);
}

TEST_F(UnitSettingsTest, NetSpacingIsStoredInWholeTwips)
{
    UnitSettings u(true);
    u.SetNetSpacing(1.0);
    EXPECT_EQ(u.mNetSpacing, 567);
    u.SetDistanceUnit(kUnitInches);
    EXPECT_NEAR(u.GetNetSpacing(), 567.0 / 1440.0, 1e-15);  // the spacing stays, its number changes
    u.SetNetSpacing(0.25);
    EXPECT_EQ(u.mNetSpacing, 360);
    EXPECT_DOUBLE_EQ(u.GetNetSpacing(), 0.25);
    u.SetDistanceUnit(kUnitMm);
    u.SetNetSpacing(-3.0);
    EXPECT_EQ(u.mNetSpacing, -170);  // -170.08: halves and all away from zero, symmetric
}

TEST_F(UnitSettingsTest, AnglesAreWrittenInTheAngleMode)
{
    UnitSettings u(true);
    mShell.calls.clear();

    EXPECT_EQ(Angle(u, 90 * kDeg, "deg"), "90 deg");  // a space before a word
    EXPECT_EQ(Angle(u, 90 * kDeg, "\xB0"), "90\xB0");  // none before a sign
    EXPECT_EQ(Angle(u, 1.0, ""), "57.2958");
    EXPECT_EQ(Angle(u, 0.0, "d"), "0 d");

    u.SetAngleMode(kAngleDegreesMinutesSeconds);
    EXPECT_EQ(mShell.calls, std::vector<std::string>{"InvalidateAll"});
    EXPECT_EQ(Angle(u, 30.5 * kDeg, "\xB0"), "30\xB0" "30'0\"");
    // 109.4712206... degrees, the tetrahedral angle: 109 28' 16.394" -> 16".
    EXPECT_EQ(Angle(u, std::acos(-1.0 / 3.0), " deg "), "109 deg 28'16\"");
    EXPECT_EQ(Angle(u, (10.0 + 1.0 / 60.0 + 29.6 / 3600.0) * kDeg, "d"), "10d1'30\"");  // seconds round

    u.SetAngleMode(kAngleRadians);
    EXPECT_EQ(Angle(u, 1.25, "deg"), "1.25 rad");  // the degree text is ignored
    EXPECT_EQ(Angle(u, -0.5, nullptr), "-0.5 rad");

    // A mode outside 0..2 is refused.
    mShell.calls.clear();
    u.SetAngleMode(3);
    u.SetAngleMode(-1);
    EXPECT_EQ(u.GetAngleMode(), kAngleRadians);
    EXPECT_TRUE(mShell.calls.empty());

    // A short buffer is cut and terminated.
    char small[5];
    EXPECT_EQ(u.FormatAngle(small, sizeof small, 1.25, ""), 4);
    EXPECT_STREQ(small, "1.25");
}

TEST_F(UnitSettingsTest, SingleColourPagesFollowTheModeOrTheModel)
{
    FakeModelLink link;
    ScopedModelLink linkScope(&link);
    UnitSettings u(true);

    u.mColorPagesMode = kSingleColorPages;
    link.images = true;  // the mode decides alone
    EXPECT_TRUE(u.UseSingleColorPages());
    u.mColorPagesMode = kMultiColorPages;
    link.images = false;
    EXPECT_FALSE(u.UseSingleColorPages());

    u.mColorPagesMode = kAutoColorPages;
    struct Case
    {
        const char* name;
        bool kitStyle, kitBuildable, convex, original, sameColor, images;
        bool single;
    };
    const Case kCases[] = {
        {"plain model", false, false, false, true, true, false, true},
        {"a face with an image", false, false, false, true, true, true, false},
        {"kit model in kit style", true, true, false, true, true, false, false},
        {"kit model without kit style", false, true, false, true, true, false, true},
        {"kit style, model not buildable", true, false, false, true, true, false, true},
        {"convex, unstellated, coloured", false, false, true, true, false, false, false},
        {"convex, unstellated, one colour", false, false, true, true, true, false, true},
        {"convex, stellated, coloured", false, false, true, false, false, false, true},
        {"not convex, coloured", false, false, false, true, false, false, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetRenderSettings().kitStyle = c.kitStyle;
        link.kitBuildable = c.kitBuildable;
        link.convex = c.convex;
        link.original = c.original;
        link.allSameColor = c.sameColor;
        link.images = c.images;
        EXPECT_EQ(u.UseSingleColorPages(), c.single);
        // Automatic shading: plain on single-colour pages when allowed, else coloured.
        EXPECT_EQ(u.GetPrintShading(true), c.single ? kPrintShadingNone : kPrintShadingColor);
        EXPECT_EQ(u.GetPrintShading(false), kPrintShadingColor);
    }

    // Without a current model nothing carries an image.
    link.hasModel = false;
    link.images = true;
    EXPECT_TRUE(u.UseSingleColorPages());

    // A shading chosen by the user stands.
    u.mPrintShading = kPrintShadingGreyscale;
    EXPECT_EQ(u.GetPrintShading(true), kPrintShadingGreyscale);
    EXPECT_EQ(u.GetPrintShading(false), kPrintShadingGreyscale);
}

TEST_F(UnitSettingsTest, SettingsRoundTripThroughTheRegistry)
{
    ScopedMemorySettingsStore store;
    const RegistryApp app{"OrvaneSoft", "Orvane"};

    UnitSettings written(true);
    written.SetDistanceUnit(kUnitInches);
    written.SetAngleMode(kAngleRadians);
    written.SetMargins(1.5f, 1.0f, 2.0f, 0.5f);
    written.SetNetSpacing(0.5);
    written.mPrintLineWidth = 3;
    written.mPrintCellLineWidth = 12;
    {
        RegKeyPtr key = CreateRegKey(app, nullptr, "Settings");
        EXPECT_TRUE(written.WriteSettings(key.get()));
    }

    UnitSettings read(true);
    {
        RegKeyPtr key = OpenRegKey(app, nullptr, "Settings");
        read.ReadSettings(key.get());
    }
    EXPECT_EQ(read.GetDistanceUnit(), kUnitInches);
    EXPECT_NEAR(read.GetScale(), written.GetScale(), 1e-12);  // the unit came through its setter
    EXPECT_EQ(read.GetAngleMode(), kAngleRadians);
    EXPECT_EQ(read.mLeftMargin, 850);
    EXPECT_EQ(read.mRightMargin, written.mRightMargin);
    EXPECT_EQ(read.mTopMargin, written.mTopMargin);
    EXPECT_EQ(read.mBottomMargin, written.mBottomMargin);
    EXPECT_EQ(read.mNetSpacing, 720);
    EXPECT_EQ(read.mPrintLineWidth, 3);
    EXPECT_EQ(read.mPrintCellLineWidth, 12);

    // Bad stored units are refused; missing values keep what was there.
    {
        RegKeyPtr key = CreateRegKey(app, nullptr, "Other");
        RegWriteInt(key.get(), "DistUnits", 9);
        RegWriteInt(key.get(), "AngleUnits", 5);
    }
    UnitSettings kept(true);
    {
        RegKeyPtr key = OpenRegKey(app, nullptr, "Other");
        kept.ReadSettings(key.get());
    }
    const UnitSettings defaults(true);
    EXPECT_EQ(kept.GetDistanceUnit(), kUnitCm);
    EXPECT_DOUBLE_EQ(kept.GetScale(), 8.0);
    EXPECT_EQ(kept.GetAngleMode(), kAngleDegrees);
    EXPECT_EQ(kept.mNetSpacing, defaults.mNetSpacing);
    EXPECT_EQ(kept.mPrintCellLineWidth, defaults.mPrintCellLineWidth);

    // Without a key nothing is read and writing fails.
    kept.ReadSettings(nullptr);
    EXPECT_EQ(kept.GetDistanceUnit(), kUnitCm);
    EXPECT_FALSE(kept.WriteSettings(nullptr));
}
