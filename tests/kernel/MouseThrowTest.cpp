#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "kernel/TokenFile.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
// A parameter moved by (dx - dy) x 0.002, as the scene-ratio throws move theirs; with a range it is
// kept in it.
class RatioThrow : public MouseThrow
{
public:
    explicit RatioThrow(int type = 1000, bool ranged = false) : MouseThrow(type), mRanged(ranged) {}
    bool Apply(float dx, float dy) override
    {
        mValue += (dx - dy) * 0.002;
        ++mApplied;
        return mRanged ? KeepInRange(&mValue, 0.0, 1.0) : false;
    }
    void InvalidateTargets() override { ++mInvalidated; }

    double mValue = 0.5;
    bool mRanged;
    int mApplied = 0;
    int mInvalidated = 0;
};

// A throw with two values of its own after its axis, as the explosion throw writes its range.
class RangeThrow : public RatioThrow
{
public:
    RangeThrow() : RatioThrow(1002) {}
    void WriteData(ioFile* file) override { ioPrintf(file, "\t%g\t%g", mLow, mHigh); }
    void ReadData(ioFile* file, bool apply) override
    {
        const double low = ioReadDouble(file);
        const double high = ioReadDouble(file);
        if (apply)
        {
            mLow = low;
            mHigh = high;
        }
    }
    double mLow = 0.0;
    double mHigh = 0.0;
};

class FakeOwner : public MouseThrowOwner
{
public:
    explicit FakeOwner(int index) : mIndex(index) {}
    int GetThrowOwnerIndex() const override { return mIndex; }
    // Looking down z: model x to the right, model y up the screen.
    void ProjectThrowPoint(Vec3D& out, const Vec3D& p) override { out = Vec3D{p.x, -p.y, 0.0}; }
    int mIndex;
};

class MouseThrowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPreviousTime = SetFrozenTime(10.0);
        SetMouseInterfaceType(0);
        EnableMouseThrows(true);
        SetMouseThrowBounce(false);
        StopAllMouseThrows();
        ResetMouseSamples();
    }
    void TearDown() override
    {
        StopAllMouseThrows();
        ResetMouseSamples();
        SetMouseThrowBounce(false);
        EnableMouseThrows(true);
        SetFrozenTime(mPreviousTime);
    }

    // Samples at the given times and x positions, then a release at releaseTime.
    static bool DragAndRelease(MouseThrow& t, const std::vector<double>& times, const std::vector<int>& xs,
                               const std::vector<int>& ys, double releaseTime)
    {
        for (size_t i = 0; i < times.size(); ++i)
        {
            SetFrozenTime(times[i]);
            t.AddSample(xs[i], ys[i]);
        }
        SetFrozenTime(releaseTime);
        return t.Release();
    }

    double mPreviousTime = -1.0;
};
}  // namespace

TEST_F(MouseThrowTest, ReleaseThrowsOnlyAfterFiveRecentFastSamples)
{
    struct Case
    {
        const char* name;
        std::vector<double> times;
        std::vector<int> xs;
        std::vector<int> ys;
        double release;
        bool throws;
    };
    const Case kCases[] = {
        {"four fast samples", {10.0, 10.01, 10.02, 10.03}, {0, 50, 100, 150}, {0, 0, 0, 0}, 10.03, false},
        {"five fast samples", {10.0, 10.01, 10.02, 10.03, 10.04}, {0, 50, 100, 150, 200}, {0, 0, 0, 0, 0}, 10.04,
         true},
        {"mouse rested before the release", {10.0, 10.01, 10.02, 10.03, 10.04}, {0, 50, 100, 150, 200},
         {0, 0, 0, 0, 0}, 10.165, false},
        {"release soon after the last move", {10.0, 10.01, 10.02, 10.03, 10.04}, {0, 50, 100, 150, 200},
         {0, 0, 0, 0, 0}, 10.135, true},
        {"3 px/s", {10.0, 35.0, 60.0, 85.0, 110.0}, {0, 75, 150, 225, 300}, {0, 0, 0, 0, 0}, 110.0, false},
        {"3.01 px/s", {10.0, 35.0, 60.0, 85.0, 110.0}, {0, 75, 150, 225, 301}, {0, 0, 0, 0, 0}, 110.0, true},
        {"-3.01 px/s upwards", {10.0, 35.0, 60.0, 85.0, 110.0}, {0, 0, 0, 0, 0}, {0, -75, -150, -225, -301}, 110.0,
         true},
        {"samples over less than 0.01 s", {10.0, 10.001, 10.002, 10.003, 10.004}, {0, 5, 10, 15, 20},
         {0, 0, 0, 0, 0}, 10.005, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        RatioThrow t;
        EXPECT_EQ(DragAndRelease(t, c.times, c.xs, c.ys, c.release), c.throws);
        EXPECT_EQ(t.IsMoving(), c.throws);
        EXPECT_EQ(AnyMouseThrowMoving(), c.throws);
        // The speed is that of the last five samples up to the release.
        if (c.throws)
        {
            const double span = c.release - c.times.front();
            EXPECT_NEAR(t.GetVelocityX(), (c.xs.back() - c.xs.front()) / span, 1e-3);
            EXPECT_NEAR(t.GetVelocityY(), (c.ys.back() - c.ys.front()) / span, 1e-3);
        }
        t.Stop();
    }
}

TEST_F(MouseThrowTest, OnlyTheLastFiveSamplesCount)
{
    RatioThrow t;
    // A slow start, then five fast samples: the slow ones are forgotten.
    const bool thrown = DragAndRelease(t, {10.0, 11.0, 12.0, 12.01, 12.02, 12.03, 12.04}, {0, 1, 2, 10, 20, 30, 40},
                                       {0, 0, 0, 0, 0, 0, 0}, 12.04);
    ASSERT_TRUE(thrown);
    EXPECT_NEAR(t.GetVelocityX(), (40 - 2) / 0.04, 1e-2);
}

TEST_F(MouseThrowTest, AThrowKeepsItsReleaseSpeed)
{
    RatioThrow thrown;
    ASSERT_TRUE(DragAndRelease(thrown, {10.0, 10.25, 10.5, 10.75, 11.0}, {0, 25, 50, 75, 100}, {0, 0, 0, 0, 0}, 11.0));
    ASSERT_FLOAT_EQ(thrown.GetVelocityX(), 100.0f);
    const double before = thrown.mValue;
    SetFrozenTime(12.0);
    EXPECT_TRUE(StepMouseThrows(nullptr));
    SetFrozenTime(13.0);
    EXPECT_TRUE(StepMouseThrows(nullptr));

    // The same parameter dragged 200 pixels by hand.
    RatioThrow dragged;
    dragged.mValue = before;
    for (int i = 0; i < 20; ++i)
        dragged.ApplyMouseDelta(10.0f, 0.0f);
    EXPECT_NEAR(thrown.mValue, dragged.mValue, 1e-9);
    EXPECT_NE(thrown.mValue, before);
}

TEST_F(MouseThrowTest, APressOnAMovingThrowCatchesIt)
{
    RatioThrow t;
    t.Start(50.0f, 0.0f);
    ASSERT_TRUE(t.IsMoving());
    t.AddSample(3, 4);
    EXPECT_FALSE(t.IsMoving());
    EXPECT_FALSE(AnyMouseThrowMoving());

    // Sampling another throw ends this one's drag: its release fails.
    RatioThrow other;
    other.AddSample(0, 0);
    SetFrozenTime(10.05);
    EXPECT_FALSE(t.Release());
}

TEST_F(MouseThrowTest, LimitsReverseOrReflectTheMotion)
{
    struct Case
    {
        const char* name;
        bool bounce;
        double value;
        double expected;
        bool reversed;
    };
    const Case kCases[] = {
        {"bounce off, above", false, 1.3, 1.0, true},
        {"bounce off, below", false, -0.4, 0.0, true},
        {"bounce off, inside", false, 0.6, 0.6, false},
        {"bounce on, 0.3 over the top", true, 1.3, 0.7, true},
        {"bounce on, 1.2 over the top", true, 2.2, 0.2, false},
        {"bounce on, 0.3 under the bottom", true, -0.3, 0.3, true},
        {"bounce on, 1.2 under the bottom", true, -1.2, 0.8, false},
        {"bounce on, 2.3 over the top", true, 3.3, 0.7, true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SetMouseThrowBounce(c.bounce);
        RatioThrow t;
        t.Start(40.0f, -10.0f);
        double v = c.value;
        EXPECT_EQ(t.KeepInRange(&v, 0.0, 1.0), c.reversed);
        EXPECT_NEAR(v, c.expected, 1e-12);
        EXPECT_FLOAT_EQ(t.GetVelocityX(), c.reversed ? -40.0f : 40.0f);
        EXPECT_FLOAT_EQ(t.GetVelocityY(), c.reversed ? 10.0f : -10.0f);
    }
}

TEST_F(MouseThrowTest, AThrownValueStaysAtItsLimitForAStepThenComesBack)
{
    RatioThrow t(1000, true);
    t.mValue = 0.9;
    t.Start(100.0f, 0.0f);  // 0.2 per second
    SetFrozenTime(11.0);
    StepMouseThrows(nullptr);
    EXPECT_DOUBLE_EQ(t.mValue, 1.0);
    SetFrozenTime(11.5);
    StepMouseThrows(nullptr);
    EXPECT_NEAR(t.mValue, 0.9, 1e-9);
    EXPECT_TRUE(t.IsMoving());
}

TEST_F(MouseThrowTest, SteppingFollowsTheOwner)
{
    FakeOwner a(0), b(1);
    RatioThrow global, ofA, ofB;
    ofA.Init(1002, &a, 0);
    ofB.Init(1002, &b, 0);
    for (RatioThrow* t : {&global, &ofA, &ofB})
        t->Start(10.0f, 0.0f);
    EXPECT_TRUE(InvalidateMouseThrowTargets());
    for (RatioThrow* t : {&global, &ofA, &ofB})
        EXPECT_EQ(t->mInvalidated, 1);

    SetFrozenTime(11.0);
    SetMouseThrowStepPending(true);
    StepMouseThrows(&a);
    EXPECT_FALSE(IsMouseThrowStepPending());
    EXPECT_EQ(global.mApplied, 1);
    EXPECT_EQ(ofA.mApplied, 1);
    EXPECT_EQ(ofB.mApplied, 0);
    StepMouseThrows(nullptr);
    EXPECT_EQ(ofB.mApplied, 1);

    // A stopped throw is no longer stepped nor redrawn.
    ofB.Stop();
    StepMouseThrows(nullptr);
    EXPECT_EQ(ofB.mApplied, 1);
    EXPECT_EQ(global.mApplied, 3);
}

TEST_F(MouseThrowTest, InertiaSwitchedOffStopsEverythingAndStartsNothingWhenBack)
{
    RatioThrow a, b;
    a.Start(10.0f, 0.0f);
    b.Start(0.0f, 10.0f);
    EnableMouseThrows(false);
    EXPECT_FALSE(AnyMouseThrowMoving());
    EXPECT_FALSE(a.IsMoving());
    // No release throws while it is off.
    EXPECT_FALSE(DragAndRelease(a, {10.0, 10.01, 10.02, 10.03, 10.04}, {0, 50, 100, 150, 200}, {0, 0, 0, 0, 0},
                                10.04));
    EnableMouseThrows(true);
    EXPECT_FALSE(AnyMouseThrowMoving());
}

TEST_F(MouseThrowTest, TimesCanBeSetForEveryMovingThrow)
{
    RatioThrow t;
    t.Start(10.0f, 0.0f);
    SetMouseThrowTimes(3.5);
    EXPECT_EQ(t.GetLastStepTime(), 3.5);
    SetFrozenTime(20.0);
    SetMouseThrowTimes(DBL_MAX);
    EXPECT_EQ(t.GetLastStepTime(), 20.0);
}

TEST_F(MouseThrowTest, AxisModeTurnsMovementsIntoAnAmountAboutTheAxis)
{
    FakeOwner owner(0);
    RatioThrow freeAxis;
    freeAxis.Init(0, &owner, MouseThrow::kAxisMode);
    float dx = 3.0f, dy = 4.0f;
    freeAxis.MapDelta(&dx, &dy);
    EXPECT_FLOAT_EQ(dx, 5.0f);
    EXPECT_EQ(dy, 0.0f);
    EXPECT_NEAR(freeAxis.GetAxis().x, -0.8, 1e-12);
    EXPECT_NEAR(freeAxis.GetAxis().y, -0.6, 1e-12);
    EXPECT_EQ(freeAxis.GetAxis().z, 0.0);

    struct Case
    {
        const char* name;
        Vec3D axis;
        float dx, dy, amount;
    };
    const Case kCases[] = {
        // Upright on the screen: only the sideways movement turns about it.
        {"upright axis", {0, 1, 0}, 7.0f, 3.0f, -7.0f},
        // Level: only the vertical movement.
        {"level axis", {1, 0, 0}, 7.0f, 3.0f, -3.0f},
        // Seen end on, the axis has no screen direction.
        {"axis along the line of sight", {0, 0, 1}, 7.0f, 3.0f, 10.0f},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        RatioThrow fixed;
        fixed.Init(3, &owner, MouseThrow::kAxisMode | MouseThrow::kFixedAxis);
        fixed.SetAxis(c.axis);
        float x = c.dx, y = c.dy;
        fixed.MapDelta(&x, &y);
        EXPECT_FLOAT_EQ(x, c.amount);
        EXPECT_EQ(y, 0.0f);
        EXPECT_EQ(fixed.GetAxis().z, c.axis.z);
    }
}

TEST_F(MouseThrowTest, FileIdsNameTheKindAndThePane)
{
    FakeOwner owner(4);
    RatioThrow global(1001), viewThrow(-1);
    viewThrow.Init(2, &owner, 0);
    EXPECT_EQ(global.GetFileId(), 1001 * 6);
    EXPECT_EQ(viewThrow.GetFileId(), 2 * 6 + 4);
    EXPECT_EQ(FindMouseThrow(2 * 6 + 4), &viewThrow);
    EXPECT_EQ(FindMouseThrow(1001 * 6), &global);
    EXPECT_EQ(FindMouseThrow(9999), nullptr);
}

namespace
{
class MouseThrowFileTest : public MouseThrowTest
{
protected:
    void SetUp() override
    {
        MouseThrowTest::SetUp();
        char pattern[] = "/tmp/orvane-throw-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mDir = pattern;
        mPath = mDir + "/throws.orva";
    }
    void TearDown() override
    {
        std::filesystem::remove_all(mDir);
        MouseThrowTest::TearDown();
    }
    static int Quiet(int, const char*, const char*) { return 0; }

    ioFilePtr OpenWrite(int mode, int minor = 6)
    {
        return ioOpenWrite(mPath.c_str(), "Orvane", 8, int16_t(minor), mode, nullptr, Quiet, &mBlock);
    }
    ioFilePtr OpenRead(int mode, int minor = 6)
    {
        if (mode == kIoMemory)
            return ioOpenRead(nullptr, "Orvane", 8, int16_t(minor), nullptr, Quiet, mBlock.mData, mBlock.mSize);
        return ioOpenRead(mPath.c_str(), "Orvane", 8, int16_t(minor), nullptr, Quiet);
    }
    ioFilePtr OpenText(const std::string& body, int minor)
    {
        std::ofstream(mPath, std::ios::binary) << "Orvane ASCII 8." << minor << "\n" << body;
        return ioOpenRead(mPath.c_str(), "Orvane", 8, int16_t(minor), nullptr, Quiet);
    }

    std::string mDir;
    std::string mPath;
    MemBlock mBlock;
};
}  // namespace

TEST_F(MouseThrowFileTest, TheSectionRoundTripsInEveryEncoding)
{
    const int kModes[] = {kIoAscii, kIoBinary, kIoMemory};
    for (int mode : kModes)
    {
        SCOPED_TRACE(mode);
        FakeOwner owner(1);
        RatioThrow morph(1000);
        RangeThrow explode;
        explode.Init(1002, &owner, 0);
        explode.mLow = 1.0;
        explode.mHigh = 2.5;
        RatioThrow tumble(-1);
        tumble.Init(0, &owner, MouseThrow::kAxisMode);
        RatioThrow idle(1001);
        morph.Start(120.5f, -3.25f);
        explode.Start(-40.0f, 8.0f);
        tumble.Start(250.0f, 0.0f);
        tumble.SetAxis(Vec3D{0.6, -0.8, 0.0});

        ioFilePtr f = OpenWrite(mode);
        ASSERT_NE(f, nullptr);
        WriteMouseThrowData(f.get(), 0);
        ioPrintf(f.get(), "%d\n", 4242);  // what follows the section
        ioClose(f);

        // Read without starting: nothing moves, the values stay, the section is consumed.
        StopAllMouseThrows();
        explode.mLow = explode.mHigh = 0.0;
        f = OpenRead(mode);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(ReadMouseThrowData(f.get(), 1012, false));
        EXPECT_EQ(ioReadInt(f.get()), 4242);
        EXPECT_FALSE(AnyMouseThrowMoving());
        EXPECT_EQ(explode.mHigh, 0.0);
        ioClose(f);

        f = OpenRead(mode);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(ReadMouseThrowData(f.get(), 1012, true));
        EXPECT_EQ(ioReadInt(f.get()), 4242);
        ioClose(f);
        EXPECT_FALSE(idle.IsMoving());
        ASSERT_TRUE(morph.IsMoving());
        ASSERT_TRUE(explode.IsMoving());
        ASSERT_TRUE(tumble.IsMoving());
        EXPECT_FLOAT_EQ(morph.GetVelocityX(), 120.5f);
        EXPECT_FLOAT_EQ(morph.GetVelocityY(), -3.25f);
        EXPECT_FLOAT_EQ(explode.GetVelocityX(), -40.0f);
        EXPECT_FLOAT_EQ(explode.GetVelocityY(), 8.0f);
        EXPECT_EQ(explode.mLow, 1.0);
        EXPECT_EQ(explode.mHigh, 2.5);
        EXPECT_FLOAT_EQ(tumble.GetVelocityX(), 250.0f);
        EXPECT_NEAR(tumble.GetAxis().x, 0.6, 1e-6);
        EXPECT_NEAR(tumble.GetAxis().y, -0.8, 1e-6);
        StopAllMouseThrows();
    }
}

TEST_F(MouseThrowFileTest, ReadingStopsSafelyOnBadInput)
{
    RatioThrow morph(1000);
    RangeThrow explode;  // no owner: file id 6012
    struct Case
    {
        const char* name;
        std::string body;
        bool complete;
        bool morphMoves;
        float morphVx;
        int after;  // the number read after the section, -99 for none
    };
    const Case kCases[] = {
        {"end of input after a throw", "6000\t12\t0\n0\t0\t0\n\n", false, true, 12.0f, -99},
        {"end of input at once", "", false, false, 0.0f, -99},
        {"a word where an id belongs", "6000\t12\t0\n0\t0\t0\n\nEndScene\n", false, true, 12.0f, -99},
        {"a missing throw with values of its own", "6013\t5\t5\n0\t0\t0\n\t7.5\t9.5\n6000\t12\t0\n0\t0\t0\n\n-1\n77\n",
         true, true, 12.0f, 77},
        {"a missing throw of an unknown kind", "600\t5\t5\n0\t0\t0\n\t7.5\n6000\t12\t0\n0\t0\t0\n\n-1\n", false, false,
         0.0f, -99},
        {"an id past the bound", "7000\t5\t5\n0\t0\t0\n\n-1\n", false, false, 0.0f, -99},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        StopAllMouseThrows();
        ioFilePtr f = OpenText(c.body, 6);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(ReadMouseThrowData(f.get(), 1012, true), c.complete);
        EXPECT_EQ(morph.IsMoving(), c.morphMoves);
        EXPECT_FALSE(explode.IsMoving());
        if (c.morphMoves)
        {
            EXPECT_FLOAT_EQ(morph.GetVelocityX(), c.morphVx);
        }
        if (c.after != -99)
        {
            EXPECT_EQ(ioReadInt(f.get()), c.after);
        }
    }
}

TEST_F(MouseThrowFileTest, OlderFilesScaleSpeedsAndLackAxes)
{
    FakeOwner owner(0);
    RatioThrow tumble(-1);
    tumble.Init(0, &owner, MouseThrow::kAxisMode);
    struct Case
    {
        const char* name;
        int minor;
        std::string body;
        float vx;
        Vec3D axis;
    };
    const Case kCases[] = {
        // Pixels per millisecond, and an axis taken from the motion as at a release.
        {"8.1", 1, "0\t0.3\t0.4\n\n-1\n", 500.0f, {-0.8, -0.6, 0.0}},
        {"8.4", 4, "0\t30\t40\n0.6\t0.8\n\n-1\n", 30.0f, {0.6, 0.8, 0.0}},
        {"8.6", 6, "0\t30\t40\n0.6\t0\t0.8\n\n-1\n", 30.0f, {0.6, 0.0, 0.8}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        StopAllMouseThrows();
        ioFilePtr f = OpenText(c.body, c.minor);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(ReadMouseThrowData(f.get(), 1012, true));
        ASSERT_TRUE(tumble.IsMoving());
        EXPECT_NEAR(tumble.GetVelocityX(), c.vx, 1e-3);
        EXPECT_NEAR(tumble.GetAxis().x, c.axis.x, 1e-6);
        EXPECT_NEAR(tumble.GetAxis().y, c.axis.y, 1e-6);
        EXPECT_NEAR(tumble.GetAxis().z, c.axis.z, 1e-6);
    }
}
