#include "kernel/MouseThrow.h"

#include "kernel/IntMath.h"
#include "kernel/Messages.h"
#include "kernel/ProgramClock.h"
#include "kernel/TokenFile.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <vector>

namespace
{
constexpr int kRingSize = 5;
constexpr int kMaxPanes = 6;
constexpr double kRestLimit = 0.1;   // seconds between the last move and the release
constexpr float kMinSpan = 0.01f;    // seconds the samples must cover
constexpr float kMinSpeed = 3.0f;    // pixels per second
constexpr double kAxisEpsilon = 0.0001;

struct Sample
{
    double time;
    int x;
    int y;
};

struct ThrowModule
{
    Sample ring[kRingSize] = {};
    int writePos = -1;
    int count = 0;
    MouseThrow* sampling = nullptr;
    MouseThrow* firstMoving = nullptr;
    MouseThrow* firstThrow = nullptr;
    MouseThrow* lastThrow = nullptr;
    bool allow = true;
    bool bounce = false;
    bool stepPending = false;
    int interfaceType = -1;
};

ThrowModule& Module()
{
    static ThrowModule module;
    return module;
}

double Now()
{
    return GetElapsedSeconds(true);
}

// The moving throws at this moment: Apply may stop throws, its own included.
std::vector<MouseThrow*> MovingThrows()
{
    std::vector<MouseThrow*> list;
    for (MouseThrow* t = Module().firstMoving; t; t = t->mNextMoving)
        list.push_back(t);
    return list;
}

// An integer id, or false at the end of the input or where no number stands.
bool ReadThrowId(ioFile* f, int32_t& id)
{
    if (f->mMode == kIoAscii)
    {
        if (!ioSkipSpace(f))
            return false;
        const char c = f->mLine[f->mCursor];
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != '+')
            return false;
        id = ioReadInt(f);
        return true;
    }
    return ioReadBytes(f, &id, 4, true);
}
}  // namespace

MouseThrow::MouseThrow(int interfaceType) : mInterfaceType(interfaceType)
{
    ThrowModule& m = Module();
    ListAppend<MouseThrow>(this, m.firstThrow, m.lastThrow);
}

MouseThrow::~MouseThrow()
{
    ThrowModule& m = Module();
    ListRemove<MouseThrow>(this, m.firstThrow, m.lastThrow);
    Stop();
    if (m.sampling == this)
        m.sampling = nullptr;
}

void MouseThrow::Init(int interfaceType, MouseThrowOwner* owner, int flags)
{
    mInterfaceType = interfaceType;
    mOwner = owner;
    mFlags = flags;
}

int MouseThrow::GetFileId() const
{
    return mInterfaceType * kMaxPanes + (mOwner ? mOwner->GetThrowOwnerIndex() : 0);
}

void MouseThrow::AddSample(int x, int y)
{
    ThrowModule& m = Module();
    if (m.interfaceType < 0)
    {
        DebugTrace("MouseThrow::mInterfaceType has not been set!\n");
        m.interfaceType = 0;
    }
    if (m.sampling && m.sampling != this)
        ResetMouseSamples();
    // A press on a moving parameter catches it.
    if (IsMoving())
        Stop();
    m.sampling = this;
    m.writePos = (m.writePos + 1) % kRingSize;
    if (m.count < kRingSize)
        ++m.count;
    m.ring[m.writePos] = Sample{Now(), x, y};
}

void MouseThrow::ApplyMouseDelta(float dx, float dy)
{
    MapDelta(&dx, &dy);
    Apply(dx, dy);
}

bool MouseThrow::Release()
{
    ThrowModule& m = Module();
    if (m.sampling != this || IsMoving() || !m.allow)
    {
        ResetMouseSamples();
        return false;
    }
    m.sampling = nullptr;
    if (m.count < kRingSize)
    {
        ResetMouseSamples();
        return false;
    }
    const double now = Now();
    const Sample& newest = m.ring[m.writePos];
    const Sample& oldest = m.ring[(m.writePos + 1) % kRingSize];
    // The mouse had rested before the button came up.
    const float span = float(now - oldest.time);
    if (now - newest.time > kRestLimit || span < kMinSpan)
    {
        ResetMouseSamples();
        return false;
    }
    float dx = float(newest.x - oldest.x);
    float dy = float(newest.y - oldest.y);
    if (mFlags & kAxisMode)
        MapDelta(&dx, &dy);
    const float vx = dx / span;
    const float vy = dy / span;
    if (!(vx < -kMinSpeed || vx > kMinSpeed || vy < -kMinSpeed || vy > kMinSpeed))
    {
        ResetMouseSamples();
        return false;
    }
    mVx = vx;
    mVy = vy;
    mLastStepTime = now;
    mNextMoving = m.firstMoving;
    m.firstMoving = this;
    ResetMouseSamples();
    mFlags |= kMoving;
    return true;
}

void MouseThrow::Start(float vx, float vy)
{
    mVx = vx;
    mVy = vy;
    mLastStepTime = Now();
    if (!IsMoving())
    {
        ThrowModule& m = Module();
        mNextMoving = m.firstMoving;
        m.firstMoving = this;
        mFlags |= kMoving;
    }
}

void MouseThrow::Stop()
{
    if (!IsMoving())
        return;
    ThrowModule& m = Module();
    MouseThrow** link = &m.firstMoving;
    while (*link && *link != this)
        link = &(*link)->mNextMoving;
    if (*link)
        *link = mNextMoving;
    else
        DebugTrace("Couldn't find active MouseThrow in list\n");
    mNextMoving = nullptr;
    mFlags &= ~kMoving;
    ResetMouseSamples();
}

void MouseThrow::Reverse()
{
    mVx = -mVx;
    mVy = -mVy;
}

bool MouseThrow::KeepInRange(double* value, double low, double high)
{
    if (!Module().bounce)
    {
        if (*value > high || *value < low)
        {
            *value = *value > high ? high : low;
            Reverse();
            return true;
        }
        return false;
    }
    const double range = high - low;
    if (*value > high)
    {
        const double m = PosFmod(*value - high, 2.0 * range);
        if (m <= range)
        {
            *value = high - m;
            Reverse();
            return true;
        }
        // Two reflections keep the direction.
        *value = low + (m - range);
        return false;
    }
    if (*value < low)
    {
        const double m = PosFmod(low - *value, 2.0 * range);
        if (m <= range)
        {
            *value = low + m;
            Reverse();
            return true;
        }
        *value = low + 2.0 * range - m;
        return false;
    }
    return false;
}

void MouseThrow::StepTo(double time)
{
    const double dt = time - mLastStepTime;
    // Set first: a throw that stops itself in Apply leaves a consistent time behind.
    mLastStepTime = time;
    Apply(float(dt * mVx), float(dt * mVy));
}

void MouseThrow::MapDelta(float* dx, float* dy)
{
    if (!(mFlags & kAxisMode))
        return;
    if (mFlags & kFixedAxis)
    {
        double ax = 0.0, ay = 0.0;
        if (mOwner)
        {
            Vec3D o, p;
            mOwner->ProjectThrowPoint(o, Vec3D{0, 0, 0});
            mOwner->ProjectThrowPoint(p, mAxis);
            ax = p.x - o.x;
            ay = p.y - o.y;
        }
        const double length = std::sqrt(ax * ax + ay * ay);
        // The part of the movement across the axis's screen image turns about it.
        if (length > kAxisEpsilon)
            *dx = float(*dx * (ay / length) - *dy * (ax / length));
        else
            *dx = *dx + *dy;
        *dy = 0.0f;
        return;
    }
    Vec3D axis{-double(*dy), -double(*dx), 0.0};
    const double length = Vec3Length(axis);
    if (length > kAxisEpsilon)
        Vec3Scale(axis, axis, 1.0 / length);
    mAxis = axis;
    *dx = float(length);
    *dy = 0.0f;
}

void ResetMouseSamples()
{
    ThrowModule& m = Module();
    m.count = 0;
    m.writePos = -1;
    MouseThrow* sampling = m.sampling;
    m.sampling = nullptr;
    if (sampling)
        sampling->Stop();
}

void EnableMouseThrows(bool on)
{
    ThrowModule& m = Module();
    if (m.allow == on)
        return;
    m.allow = on;
    if (!on)
        StopAllMouseThrows();
}

bool MouseThrowsEnabled()
{
    return Module().allow;
}

bool SetMouseThrowBounce(bool on)
{
    const bool previous = Module().bounce;
    Module().bounce = on;
    return previous;
}

bool GetMouseThrowBounce()
{
    return Module().bounce;
}

void SetMouseInterfaceType(int type)
{
    Module().interfaceType = type;
}

int GetMouseInterfaceType()
{
    return Module().interfaceType;
}

void SetMouseThrowStepPending(bool on)
{
    Module().stepPending = on;
}

bool IsMouseThrowStepPending()
{
    return Module().stepPending;
}

bool StepMouseThrows(const MouseThrowOwner* owner)
{
    ThrowModule& m = Module();
    m.stepPending = false;
    const double now = Now();
    for (MouseThrow* t : MovingThrows())
    {
        if (!t->IsMoving())
            continue;
        if (!owner || !t->GetOwner() || t->GetOwner() == owner)
            t->StepTo(now);
    }
    return m.firstMoving != nullptr;
}

bool InvalidateMouseThrowTargets()
{
    for (MouseThrow* t = Module().firstMoving; t; t = t->mNextMoving)
        t->InvalidateTargets();
    return Module().firstMoving != nullptr;
}

bool AnyMouseThrowMoving()
{
    return Module().firstMoving != nullptr;
}

MouseThrow* GetFirstMovingThrow()
{
    return Module().firstMoving;
}

void StopAllMouseThrows()
{
    while (MouseThrow* t = Module().firstMoving)
        t->Stop();
}

void SetMouseThrowTimes(double time)
{
    if (time == DBL_MAX)
        time = Now();
    for (MouseThrow* t = Module().firstMoving; t; t = t->mNextMoving)
        t->SetLastStepTime(time);
}

MouseThrow* FindMouseThrow(int fileId)
{
    for (MouseThrow* t = Module().firstThrow; t; t = t->next)
        if (t->GetFileId() == fileId)
            return t;
    return nullptr;
}

int MouseThrowOwnValueCount(int interfaceType)
{
    if (interfaceType >= 0 && interfaceType <= 4)
        return 0;
    if (interfaceType == 1002)
        return 2;
    if (interfaceType == 1011)
        return 4;
    if (interfaceType >= 1000 && interfaceType <= 1011)
        return 0;
    return -1;
}

void WriteMouseThrowData(ioFile* file, int indent)
{
    ioIndent(file, indent);
    for (MouseThrow* t = Module().firstMoving; t; t = t->mNextMoving)
    {
        const int id = t->GetFileId();
        if (id < 0)
            continue;
        ioPrintf(file, "%d\t%hg\t%hg\n", id, t->GetVelocityX(), t->GetVelocityY());
        const Vec3D& axis = t->GetAxis();
        ioPrintf(file, "%g\t%g\t%g\n", axis.x, axis.y, axis.z);
        t->WriteData(file);
        ioPrintf(file, "\n");
    }
    ioPrintf(file, "%d\n", -1);
}

bool ReadMouseThrowData(ioFile* file, int interfaceTypeBound, bool start)
{
    const bool hasAxis = ioCompareVersion(file, 8, 3) >= 0;
    const bool hasAxisZ = ioCompareVersion(file, 8, 6) >= 0;
    // Those files stored pixels per millisecond.
    const float scale = ioCompareVersion(file, 8, 2) < 0 ? 1000.0f : 1.0f;
    int32_t id = -1;
    if (!ReadThrowId(file, id))
        return false;
    while (id >= 0 && id < interfaceTypeBound * kMaxPanes)
    {
        float vx = ioReadFloat(file) * scale;
        float vy = ioReadFloat(file) * scale;
        Vec3D axis{0, 0, 0};
        if (hasAxis)
        {
            axis.x = ioReadDouble(file);
            axis.y = ioReadDouble(file);
            if (hasAxisZ)
                axis.z = ioReadDouble(file);
        }
        MouseThrow* t = FindMouseThrow(id);
        if (t && start)
        {
            // Older files kept no axis: derive it from the velocity as a release does.
            if (!hasAxis)
                t->MapDelta(&vx, &vy);
            t->Start(vx, vy);
            if (hasAxis)
                t->SetAxis(axis);
            t->ReadData(file, true);
        }
        else if (t)
            t->ReadData(file, false);
        else
        {
            DebugTrace("ReadMouseThrowData: Can't find mouse-throw ID %d\n", id);
            // The values of a throw that is not there: only a known kind tells how many follow.
            const int count = MouseThrowOwnValueCount(id / kMaxPanes);
            if (count < 0)
                return false;
            for (int i = 0; i < count; ++i)
                ioReadDouble(file);
        }
        if (!ReadThrowId(file, id))
            return false;
    }
    return id == -1;
}
