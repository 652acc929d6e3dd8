#include "model/PolyTemplate.h"

#include "kernel/IntMath.h"
#include "kernel/Palette.h"
#include "kernel/Strings.h"
#include "kernel/Tolerance.h"
#include "library/LibraryLookup.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kAngleTol = 1e-6;
constexpr double kRadToDeg = 57.29577951308232;
constexpr int kMaxBisectionSteps = 1000;
constexpr size_t kMessageSize = 512;

// Reads decimal digits; huge numbers stop growing rather than overflow.
int ReadNumber(const char*& p)
{
    long value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)))
    {
        if (value < INT_MAX / 10)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return int(std::min<long>(value, INT_MAX / 10));
}

TemplatePolygon* Step(const TemplatePolygon* p, int step)
{
    return step >= 0 ? p->next : p->prev;
}

// The two halves of a double's bits, for tracing where a bisection stalls.
uint32_t HighWord(double x)
{
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return uint32_t(bits >> 32);
}

uint32_t LowWord(double x)
{
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return uint32_t(bits);
}

// n1/d1 > n2/d2 without rounding.
bool LargerRatio(const TemplatePolygon* a, const TemplatePolygon* b)
{
    return int64_t(a->mNumSides) * b->mDensity > int64_t(b->mNumSides) * a->mDensity;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Polygons

bool TemplatePolygon::Matches(const TemplatePolygon* other, int* orientation) const
{
    if (!other || mNumSides != other->mNumSides)
        return false;
    if (!orientation || mHemi || other->mHemi)
        return mUnorientedDensity == other->mUnorientedDensity;
    const bool same = mDensity == other->mDensity;
    const bool complementary = mDensity == other->mNumSides - other->mDensity;
    if (*orientation < 0)
    {
        if (same)
            *orientation = 0;
        else if (complementary)
            *orientation = 1;
        else
            return false;
        return true;
    }
    return *orientation == 0 ? same : complementary;
}

const PolyTemplate::TablePolygon* PolyTemplate::InitPolygonTable()
{
    // In ascending order of twoCos; the last entry has n = -1.
    static TablePolygon table[] = {{5, 2, 0, 0}, {8, 3, 0, 0}, {3, 1, 0, 0},  {10, 3, 0, 0}, {4, 1, 0, 0},
                                   {5, 1, 0, 0}, {6, 1, 0, 0}, {8, 1, 0, 0}, {10, 1, 0, 0}, {-1, 0, 0, 0}};
    static const bool ready = [] {
        for (TablePolygon* t = table; t->n > 0; ++t)
        {
            t->interiorAngle = kPi - kTwoPi * t->d / t->n;
            t->twoCos = 2.0 * std::cos(kPi * t->d / t->n);
        }
        return true;
    }();
    (void)ready;
    return table;
}

int PolyTemplate::FindTablePolygon(int n, int d)
{
    const TablePolygon* table = InitPolygonTable();
    for (int i = 0; table[i].n > 0; ++i)
    {
        if (table[i].n == n && table[i].d == d)
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Life cycle

PolyTemplate::PolyTemplate()
{
    Init();
}

PolyTemplate::~PolyTemplate()
{
    Clear();
}

void PolyTemplate::Init()
{
    mReportErrors = 1;
    mText.clear();
    mLibraryEntry = nullptr;
    mValence = 0;
    mWraps = 1;
    mHasHemi = false;
    mConvexMark = false;
    mHalfTurn = false;
    mReflexSides = mReflexDensity = -1;
    mRadius = mMidRadius = mInRadius = mDualRadius = 0.0;
    mEdgeLength = mVertexHeight = mHalfNeighbourRadius = 0.0;
    mFirst = nullptr;
    mBackwardHead = nullptr;
}

void PolyTemplate::Clear()
{
    if (mFirst)
    {
        TemplatePolygon* p = mFirst;
        do
        {
            TemplatePolygon* next = p->next;
            delete p;
            p = next;
        } while (p != mFirst);
    }
    Init();
}

TemplatePolygon* PolyTemplate::AddPolygon(int n, int d)
{
    TemplatePolygon* p = new TemplatePolygon;
    p->mOwner = this;
    p->mNumSides = n;
    p->mDensity = d;
    p->mUnorientedDensity = d;
    p->mExteriorAngle = kTwoPi * d / n;
    p->mInteriorAngle = kPi - p->mExteriorAngle;
    p->mSinHalfInterior = std::sin(p->mInteriorAngle * 0.5);
    GetPaletteColor(0, p->mColor, 0);
    RingJoin(p, mFirst);
    ++mValence;
    return p;
}

int PolyTemplate::IndexOf(const TemplatePolygon* polygon) const
{
    int i = 0;
    for (const TemplatePolygon* p = mFirst; p; p = p->next, ++i)
    {
        if (p == polygon)
            return i;
        if (p->next == mFirst)
            break;
    }
    return -1;
}

TemplatePolygon* PolyTemplate::PolygonAt(int k) const
{
    if (!mFirst || mValence <= 0)
        return nullptr;
    TemplatePolygon* p = mFirst;
    for (int i = ((k % mValence) + mValence) % mValence; i > 0; --i)
        p = p->next;
    return p;
}

void PolyTemplate::ReportError(const char* format, ...) const
{
    if (!mReportErrors)
        return;
    va_list args;
    va_start(args, format);
    const std::string message = FormatMessageText(kMessageSize, format, args);
    va_end(args);
    ErrorMessage("\"%s\" - %s", mText.c_str(), message.c_str());
}

void PolyTemplate::ReportWarning(const char* format, ...) const
{
    if (!mReportErrors)
        return;
    va_list args;
    va_start(args, format);
    const std::string message = FormatMessageText(kMessageSize, format, args);
    va_end(args);
    WarningMessage("\"%s\" - %s", mText.c_str(), message.c_str());
}

// ---------------------------------------------------------------------------------------------
// Parsing

bool PolyTemplate::Parse(const char* text, bool reportErrors)
{
    if (!text)
        return false;
    Clear();
    mReportErrors = reportErrors ? 1 : 0;
    mText = text;

    const char* p = SkipSpaces(text);
    const bool bracket = *p == '(' || *p == '{';
    if (bracket)
        ++p;
    for (;;)
    {
        p = SkipSpaces(p);
        if (!std::isdigit(static_cast<unsigned char>(*p)))
        {
            if (*p)
                ReportError("Expected a number at '%s'.", p);
            else
                ReportError("Expected a number at end.");
            return false;
        }
        const int n = ReadNumber(p);
        if (n < 3)
        {
            ReportError("Polygons must have at least three sides.");
            return false;
        }
        int d = 1;
        p = SkipSpaces(p);
        if (*p == '/')
        {
            p = SkipSpaces(p + 1);
            if (!std::isdigit(static_cast<unsigned char>(*p)))
            {
                ReportError("Expected a number after '/'.");
                return false;
            }
            d = ReadNumber(p);
            if (d < 0)
            {
                ReportError("Number of wraps may not be < 0.");
                return false;
            }
            if (d >= n)
            {
                ReportError("Number of wraps may not be >= number of sides.");
                return false;
            }
            const int common = Gcd(n, d);
            if (common > 1)
            {
                ReportError("Number of sides (%d) and number of wraps (%d) may not have a common factor (%d).", n,
                            d, common);
                return false;
            }
        }
        AddPolygon(n, d);

        p = SkipSpaces(p);
        if (*p == ',' || *p == '.')
        {
            ++p;
            continue;
        }
        if (bracket && (*p == ')' || *p == '}'))
        {
            ++p;
            break;
        }
        if (!*p)
        {
            if (!bracket)
                break;
            ReportError("Missing closing parenthesis.");
            return false;
        }
        ReportError("Expected ',' or '.', got '%c'.", *p);
        return false;
    }

    if (bracket)
    {
        p = SkipSpaces(p);
        if (*p == '/')
        {
            p = SkipSpaces(p + 1);
            if (!std::isdigit(static_cast<unsigned char>(*p)))
            {
                ReportError("Expected a number after '/'.");
                return false;
            }
            mWraps = ReadNumber(p);
        }
    }

    if (mValence < 3)
    {
        ReportError("Must have at least three faces at a vertex.");
        return false;
    }
    p = SkipSpaces(p);
    if (*p)
        ReportWarning("Ignoring trailing characters: '%s'.", p);

    if (mWraps != 0)
    {
        double sum = 0.0;
        const TemplatePolygon* q = mFirst;
        do
        {
            sum += q->mInteriorAngle;
            q = q->next;
        } while (q != mFirst);
        const double full = kTwoPi * mWraps;
        if (sum > full + kAngleTol)
        {
            ReportError("Faces can't connect around vertex.");
            return false;
        }
        if (sum >= full - kAngleTol)
        {
            ReportError("Faces at vertex lie in plane.");
            return false;
        }
    }

    const TemplatePolygon* q = mFirst;
    do
    {
        const TemplatePolygon* r = q->next;
        if (r->mNumSides == q->mNumSides && r->mDensity == q->mNumSides - q->mDensity)
        {
            ReportError("Face %d/%d may not be followed by matching retrograde face %d/%d.", q->mNumSides,
                        q->mDensity, r->mNumSides, r->mDensity);
            return false;
        }
        q = r;
    } while (q != mFirst);

    return SolveVertexHeight();
}

// ---------------------------------------------------------------------------------------------
// Solving

void PolyTemplate::AssignColours()
{
    if (!mFirst)
        return;
    TemplatePolygon* p = mFirst;
    do
    {
        p->mColor.r = -1.0f;
        p = p->next;
    } while (p != mFirst);
    NextPaletteColor(nullptr, 0);
    p = mFirst;
    do
    {
        if (p->mColor.r < 0.0f)
        {
            ColorRGB colour;
            NextPaletteColor(&colour, 0);
            p->mColor = colour;
            for (TemplatePolygon* q = p->next; q != mFirst; q = q->next)
            {
                if (q->Matches(p, nullptr))
                    q->mColor = colour;
            }
        }
        p = p->next;
    } while (p != mFirst);
}

double PolyTemplate::GetAngleSum(double vertexHeight, int reflexSides, int reflexDensity, bool clamp)
{
    if (!mFirst)
        return 0.0;
    const double e = std::sqrt(2.0 * mRadius);
    const double c = e / std::sqrt(2.0 * mRadius - vertexHeight);
    double sum = 0.0;
    TemplatePolygon* p = mFirst;
    do
    {
        double x = c * p->mSinHalfInterior;
        if (x > 1.000001)
            return kNoSolution;
        x = std::clamp(x, -1.0, 1.0);
        if (clamp)
        {
            if (x > 0.999999)
                x = 1.0;
            else if (x < -0.999999)
                x = -1.0;
        }
        double angle = 2.0 * std::asin(x);
        if (p->mNumSides == reflexSides && p->mDensity == reflexDensity)
            angle = kTwoPi - angle;
        p->mProjectedAngle = angle;
        sum += angle;
        p = p->next;
    } while (p != mFirst);
    return sum;
}

bool PolyTemplate::SolveVertexHeight()
{
    if (!mFirst)
        return false;
    AssignColours();
    mRadius = 1.0;

    TemplatePolygon* largest = mFirst;
    for (TemplatePolygon* p = mFirst->next; p != mFirst; p = p->next)
    {
        if (LargerRatio(p, largest))
            largest = p;
    }

    // When every polygon has its retrograde partner, the angles cancel and fix no height.
    TemplatePolygon* p = mFirst;
    do
    {
        p->mPairMark = 0;
        p = p->next;
    } while (p != mFirst);
    bool allPaired = true;
    p = mFirst;
    do
    {
        if (!(p->mPairMark & 1))
        {
            for (TemplatePolygon* q = p->next; q != mFirst; q = q->next)
            {
                if (!(q->mPairMark & 1) && q->mNumSides == p->mNumSides &&
                    q->mDensity == p->mNumSides - p->mDensity)
                {
                    p->mPairMark |= 1;
                    q->mPairMark |= 1;
                    break;
                }
            }
            allPaired = allPaired && (p->mPairMark & 1);
        }
        p = p->next;
    } while (p != mFirst);
    if (allPaired)
        return SolveAmbiguousHeight(largest);

    double lo = 0.0;
    double hi = mRadius * (1.0 - std::cos(largest->mExteriorAngle));
    double height = hi;
    double target = kTwoPi * mWraps;
    int reflexSides = -1, reflexDensity = -1;
    double sum = GetAngleSum(hi, -1, -1, false);
    if (std::fabs(sum) <= kAngleTol)
        target = 0.0;
    else if (sum < target)
    {
        reflexSides = largest->mNumSides;
        reflexDensity = largest->mDensity;
    }
    double previous = height;
    int steps = 0;
    while (lo < hi)
    {
        ++steps;
        if (steps >= kMaxBisectionSteps - 5)
        {
            DebugTrace("Iteration %d: min %.20f, vertHeight %.20f\n", steps, lo, height);
            DebugTrace("    max %.20f, angleSum %.8f\n", hi, sum);
            DebugTrace("    min 0x%x-%x, max 0x%x-%x, vh 0x%x-%x\n", HighWord(lo), LowWord(lo), HighWord(hi),
                       LowWord(hi), HighWord(height), LowWord(height));
        }
        if (steps >= kMaxBisectionSteps)
        {
            ReportWarning("Can't form a vertex surrounded by those faces\n");
            Dump();
            return false;
        }
        height = (lo + hi) * 0.5;
        if (height == previous)
            break;
        previous = height;
        sum = GetAngleSum(height, reflexSides, reflexDensity, false);
        if (sum < target)
        {
            if (reflexSides < 0)
                lo = height;
            else
                hi = height;
        }
        else if (sum > target)
        {
            if (reflexSides < 0 || sum == kNoSolution)
                hi = height;
            else
                lo = height;
        }
        else
            break;
    }

    sum = GetAngleSum(height, reflexSides, reflexDensity, true);
    if (std::fabs(sum - target) > kAngleTol)
    {
        ReportError("Failed to figure out vertex height.");
        Dump();
        return false;
    }
    mReflexSides = reflexSides;
    mReflexDensity = reflexDensity;
    mVertexHeight = height;
    return Finish();
}

bool PolyTemplate::SolveAmbiguousHeight(const TemplatePolygon* largest)
{
    if (mValence > 4)
    {
        ReportError("Can't solve for ambiguous vertex height of valence > 4.");
        return false;
    }
    // The four neighbours of such a vertex form an isosceles trapezoid whose legs are the chords of
    // B and whose bases are the chords of two table polygons; the configuration B, i, B, j with
    // those bases has the same vertex figure and a height that is fixed. The leg is a length, so a
    // retrograde B stands for its partner.
    const TemplatePolygon* a = largest;
    const TemplatePolygon* b = largest->next;
    const int legSides = b->mNumSides;
    const int legDensity = std::min(b->mDensity, b->mNumSides - b->mDensity);
    const double legInterior = kPi - kTwoPi * legDensity / legSides;
    const double sa = std::sin(a->mInteriorAngle * 0.5);
    const double sb = std::sin(b->mInteriorAngle * 0.5);
    const double k = 4.0 * (sa * sa - sb * sb);

    const TablePolygon* table = InitPolygonTable();
    for (int i = 0; table[i].n > 0 && table[i + 1].n > 0; ++i)
    {
        for (int j = i + 1; table[j].n > 0; ++j)
        {
            if (std::fabs(table[j].twoCos - k / table[i].twoCos) > 1.0002e-6)
                continue;
            const double around = 2.0 * legInterior + table[i].interiorAngle;
            if (around < table[j].interiorAngle + 1.0002e-6 || around + table[j].interiorAngle > 6.283184306979586)
                continue;
            PolyTemplate stand;
            stand.mReportErrors = 0;
            stand.mText = mText;
            stand.AddPolygon(legSides, legDensity);
            stand.AddPolygon(table[i].n, table[i].d);
            stand.AddPolygon(legSides, legDensity);
            stand.AddPolygon(table[j].n, table[j].d);
            if (!stand.SolveVertexHeight())
                continue;
            mVertexHeight = stand.mVertexHeight;
            GetAngleSum(mVertexHeight, -1, -1, true);
            return Finish();
        }
    }
    ReportError("Can't find good height for vertex with ambiguous height.");
    return false;
}

bool PolyTemplate::SetGeometry(double vertexHeight)
{
    const double r = mRadius;
    const double h = vertexHeight;
    mVertexHeight = h;
    mDualRadius = 0.0;
    mEdgeLength = std::sqrt(2.0 * h * r);
    mHalfNeighbourRadius = std::sqrt(std::max(0.0, 2.0 * h * r - h * h)) * 0.5;
    mMidRadius = std::sqrt(r * r - h * r * 0.5);
    mInRadius = mMidRadius * mMidRadius / r;
    mHasHemi = false;

    TemplatePolygon* p = mFirst;
    do
    {
        p->mRadius = (mEdgeLength * 0.5) / std::sin(p->mExteriorAngle * 0.5);
        p->mHemi = false;
        if (p->mRadius < 0.9999989999 || p->mRadius > 1.0000010001)
        {
            const double cosine = mEdgeLength / (2.0 * std::tan(p->mExteriorAngle * 0.5) * mMidRadius);
            p->mHalfDihedralAngle = std::acos(std::clamp(cosine, -1.0, 1.0));
            p->mHeight = std::sqrt(std::max(0.0, r * r - p->mRadius * p->mRadius));
            if (p->mHeight > 0.0)
                mDualRadius = std::max(mDualRadius, mMidRadius * mMidRadius / p->mHeight);
            if (p->mNumSides == mReflexSides && p->mDensity == mReflexDensity)
                p->mHeight = -p->mHeight;
        }
        else
        {
            p->mHemi = true;
            mHasHemi = true;
            p->mHalfDihedralAngle = 0.0;
            p->mHeight = 0.0;
        }
        p = p->next;
    } while (p != mFirst);

    p = mFirst;
    do
    {
        p->mDihedralAngle = p->mHalfDihedralAngle + p->next->mHalfDihedralAngle;
        p = p->next;
    } while (p != mFirst);

    AssignMatchIds();
    int n = 0, d = 0;
    mLibraryEntry = FindTemplateEntry(*this, &n, &d);
    return true;
}

bool PolyTemplate::Finish()
{
    if (!mFirst || !SetGeometry(mVertexHeight))
        return false;

    // The ring matches itself half-way round when every polygon faces its complement there.
    mHalfTurn = false;
    if (mValence % 2 == 0 && mBackwardHead)
    {
        bool all = true;
        const TemplatePolygon* a = mFirst;
        const TemplatePolygon* b = PolygonAt(mValence / 2);
        for (int k = 0; k < mValence && all; ++k)
        {
            int opposite = 1;
            all = a->Matches(b, &opposite);
            a = a->next;
            b = b->next;
        }
        mHalfTurn = all;
    }
    return true;
}

bool PolyTemplate::RingMatches(const TemplatePolygon* a, int aStep, const TemplatePolygon* b, int bStep) const
{
    int orientation = -1;
    for (int k = 0; k < mValence; ++k)
    {
        if (!a->Matches(b, &orientation))
            return false;
        a = Step(a, aStep);
        b = Step(b, bStep);
    }
    return true;
}

void PolyTemplate::AssignMatchIds()
{
    if (!mFirst)
        return;
    TemplatePolygon* p = mFirst;
    do
    {
        p->mNextToTry = p->mPrevToTry = nullptr;
        p->mMatchId = 0;
        p = p->next;
    } while (p != mFirst);
    mBackwardHead = nullptr;

    // Pass 0: positions whose ring, read forward, looks the same share an id; each new look starts
    // a class with the next bit.
    TemplatePolygon* forwardTail = nullptr;
    TemplatePolygon* backwardTail = nullptr;
    uint32_t nextBit = 1;
    p = mFirst;
    do
    {
        const TemplatePolygon* match = nullptr;
        for (const TemplatePolygon* r = forwardTail ? mFirst : nullptr; r && !match; r = r->mNextToTry)
        {
            if (RingMatches(p, 1, r, 1))
                match = r;
        }
        for (const TemplatePolygon* r = mBackwardHead; r && !match; r = r->mPrevToTry)
        {
            if (RingMatches(p, 1, r, -1))
                match = r;
        }
        if (match)
            p->mMatchId = match->mMatchId;
        else
        {
            if (forwardTail)
                forwardTail->mNextToTry = p;
            forwardTail = p;
            p->mMatchId = nextBit;
            nextBit <<= 1;
        }
        p = p->next;
    } while (p != mFirst);

    // Pass 1: a position whose ring read backward looks like some class takes that class's id, so
    // that mirror-image positions share one; the rest start backward classes of their own.
    p = mFirst;
    do
    {
        const TemplatePolygon* match = nullptr;
        for (const TemplatePolygon* r = mFirst; r && !match; r = r->mNextToTry)
        {
            if (RingMatches(p, -1, r, 1))
                match = r;
        }
        for (const TemplatePolygon* r = mBackwardHead; r && !match; r = r->mPrevToTry)
        {
            if (RingMatches(p, -1, r, -1))
                match = r;
        }
        if (match)
            p->mMatchId = match->mMatchId;
        else
        {
            if (backwardTail)
                backwardTail->mPrevToTry = p;
            else
                mBackwardHead = p;
            backwardTail = p;
        }
        p = p->next;
    } while (p != mFirst);
}

// ---------------------------------------------------------------------------------------------
// Texts

std::string PolyTemplate::GetName(const PolyTemplate* templ, const TemplatePolygon* start, int direction)
{
    if (!templ)
        return "Not-uniform";
    if (!templ->mFirst)
        return std::string();
    if (!start)
        start = templ->mFirst;
    std::string name;
    if (templ->mWraps > 1)
        name += "(";
    const TemplatePolygon* p = start;
    char buffer[32];
    for (int k = 0; k < templ->mValence; ++k)
    {
        if (k > 0)
            name += ".";
        std::snprintf(buffer, sizeof buffer, "%d", p->mNumSides);
        name += buffer;
        if (p->mDensity > 1)
        {
            std::snprintf(buffer, sizeof buffer, "/%d", p->mDensity);
            name += buffer;
        }
        p = direction == 0 ? p->next : p->prev;
    }
    if (templ->mWraps > 1)
    {
        std::snprintf(buffer, sizeof buffer, ")/%d", templ->mWraps);
        name += buffer;
    }
    return name;
}

void PolyTemplate::Dump() const
{
    if (!mFirst)
    {
        DebugTrace("PolyTemplate not valid.\n");
        return;
    }
    DebugTrace("\nPolyTemplate '%s', valence %d, %d wraps%s.\n", GetName().c_str(), mValence, mWraps,
               mHasHemi ? ", HasHemi" : "");
    DebugTrace("  Radius %g, Edge length %g, Vertex height %g\n", mRadius, mEdgeLength, mVertexHeight);
    DebugTrace("  MidRadius %g, InRadius %g, DualRadius %g\n", mMidRadius, mInRadius, mDualRadius);
    int index = 0;
    const TemplatePolygon* p = mFirst;
    do
    {
        DebugTrace("   Face %d (%p): %d/%d%s, id 0x%x, radius %g, height %g\n", index, static_cast<const void*>(p),
                   p->mNumSides, p->mDensity, p->mHemi ? " (Hemi)" : "", p->mMatchId, p->mRadius, p->mHeight);
        DebugTrace("    Face angle %g, Projected angle %g, Dihedral angle %g\n", p->mInteriorAngle * kRadToDeg,
                   p->mProjectedAngle * kRadToDeg, p->mDihedralAngle * kRadToDeg);
        if (p->mNextToTry && p->mPrevToTry)
            DebugTrace("    NextToTry %d, PrevToTry %d\n", IndexOf(p->mNextToTry), IndexOf(p->mPrevToTry));
        else if (p->mNextToTry)
            DebugTrace("    NextToTry %d\n", IndexOf(p->mNextToTry));
        else if (p->mPrevToTry)
            DebugTrace("    PrevToTry %d\n", IndexOf(p->mPrevToTry));
        p = p->next;
        ++index;
    } while (p != mFirst);
}
