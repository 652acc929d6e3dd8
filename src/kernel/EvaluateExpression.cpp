#include "kernel/EvaluateExpression.h"

#include "kernel/Messages.h"
#include "kernel/Strings.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdlib.h>

namespace
{
constexpr double kGoldenRatio = 1.618033988749895;
constexpr double kPi = 3.141592653589793;
constexpr double kRadiansPerDegree = 0.017453292519943295;

constexpr size_t kErrorTextSize = 84;

// One buffer per thread: the text handed out stays valid until that thread's next evaluation.
thread_local char gErrorText[kErrorTextSize];

// Bytes 0x80 and above are never letters or digits, whatever the locale.
bool IsLetterAscii(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigitAscii(char c)
{
    return c >= '0' && c <= '9';
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// The user's locale may use a decimal comma; typed equations always use the point.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

double ReadNumber(const char* text, char** end)
{
    const locale_t locale = CLocale();
    if (locale)
        return strtod_l(text, end, locale);
    return std::strtod(text, end);
}

// Recursive descent over one text. An error skips the rest of the text, so every level always
// consumes something and the loops end.
class ExpressionParser
{
public:
    explicit ExpressionParser(const char* text) : mPos(text) {}

    double ParseSum()
    {
        double value = ParseProduct();
        for (;;)
        {
            SkipSpaces();
            if (*mPos == '+')
            {
                ++mPos;
                value += ParseProduct();
            }
            else if (*mPos == '-')
            {
                ++mPos;
                value -= ParseProduct();
            }
            else
                return value;
        }
    }

    // After the whole sum: anything left other than white space.
    void CheckTrailing()
    {
        SkipSpaces();
        if (*mPos != '\0')
            SetError("Trailing characters: '%.10s'", mPos);
    }

    bool HasError() const { return mHasError; }

private:
    // Counts one level of nesting for its lifetime.
    class Nesting
    {
    public:
        Nesting(ExpressionParser& parser, const char* at) : mParser(parser)
        {
            mOk = ++mParser.mDepth <= kMaxExpressionNesting;
            if (!mOk)
            {
                mParser.SetError("Equation nested too deeply at '%.10s'", at);
                mParser.SkipRest();
            }
        }
        ~Nesting() { --mParser.mDepth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

        bool Ok() const { return mOk; }

    private:
        ExpressionParser& mParser;
        bool mOk;
    };

    double ParseProduct()
    {
        double value = ParsePower();
        for (;;)
        {
            SkipSpaces();
            const char c = *mPos;
            if (c == '*')
            {
                ++mPos;
                value *= ParsePower();
            }
            else if (c == '/')
            {
                const char* slash = mPos++;
                const double divisor = ParsePower();
                if (divisor == 0.0)
                    SetError("Division by zero at '%.10s'", slash);
                else
                    value /= divisor;
            }
            else if (c == '\0' || c == '+' || c == '-' || c == ')')
                return value;
            else
                value *= ParsePower();
        }
    }

    double ParsePower()
    {
        const double base = ParseUnary();
        SkipSpaces();
        const char* op = mPos;
        if (*mPos == '^')
            ++mPos;
        else if (mPos[0] == '*' && mPos[1] == '*')
            mPos += 2;
        else
            return base;
        Nesting nesting(*this, op);
        if (!nesting.Ok())
            return base;
        return std::pow(base, ParsePower());
    }

    double ParseUnary()
    {
        SkipSpaces();
        bool negate = false;
        if (*mPos == '+')
            ++mPos;
        else if (*mPos == '-')
        {
            negate = true;
            ++mPos;
        }
        const double value = ParsePrimary();
        return negate ? -value : value;
    }

    double ParsePrimary()
    {
        SkipSpaces();
        const char* start = mPos;
        const char c = *mPos;
        if (IsDigitAscii(c) || c == '.')
        {
            char* end = nullptr;
            const double value = ReadNumber(mPos, &end);
            if (end == mPos)
            {
                ++mPos;
                return 0.0;
            }
            mPos = end;
            return value;
        }
        if (c == '(')
            return ParseParenthesised();
        if (IsLetterAscii(c))
        {
            if (MatchWord("tau") || MatchWord("g"))
                return kGoldenRatio;
            if (c == 'r')
            {
                Nesting nesting(*this, mPos);
                if (!nesting.Ok())
                    return 0.0;
                ++mPos;
                return SquareRoot(ParseUnary(), start);
            }
            if (MatchFunction("sqrt"))
                return SquareRoot(ParseParenthesised(), start);
            if (MatchWord("pi"))
                return kPi;
            if (MatchFunction("cos"))
                return std::cos(ParseParenthesised());
            if (MatchFunction("sin"))
                return std::sin(ParseParenthesised());
            if (MatchFunction("tan"))
                return std::tan(ParseParenthesised());
            if (MatchFunction("cosd"))
                return std::cos(ParseParenthesised() * kRadiansPerDegree);
            if (MatchFunction("sind"))
                return std::sin(ParseParenthesised() * kRadiansPerDegree);
            if (MatchFunction("tand"))
                return std::tan(ParseParenthesised() * kRadiansPerDegree);
            SetError("Unknown identifier '%.10s'", start);
            SkipRest();
            return 0.0;
        }
        if (c == '\0')
            SetError("Equation ended early");
        else
            SetError("Unexpected character at '%.10s'", start);
        SkipRest();
        return 0.0;
    }

    // At "(": the sum and its ")".
    double ParseParenthesised()
    {
        Nesting nesting(*this, mPos);
        if (!nesting.Ok())
            return 0.0;
        ++mPos;
        const double value = ParseSum();
        SkipSpaces();
        if (*mPos == ')')
            ++mPos;
        else
        {
            SetError("Expected closing ')'");
            SkipRest();
        }
        return value;
    }

    // A name, ignoring case, not followed by a letter or digit.
    bool MatchWord(const char* word)
    {
        const char* after = MatchName(word);
        if (!after || IsLetterAscii(*after) || IsDigitAscii(*after))
            return false;
        mPos = after;
        return true;
    }

    // A name, ignoring case, then "(" after optional white space; leaves the position at the "(".
    bool MatchFunction(const char* name)
    {
        const char* after = MatchName(name);
        if (!after)
            return false;
        while (IsSpaceAscii(*after))
            ++after;
        if (*after != '(')
            return false;
        mPos = after;
        return true;
    }

    const char* MatchName(const char* name) const
    {
        const char* p = mPos;
        for (; *name; ++name, ++p)
            if (LowerAscii(*p) != *name)
                return nullptr;
        return p;
    }

    // A negative value stays as it is, so the error is the only sign of it.
    double SquareRoot(double value, const char* start)
    {
        if (value < 0.0)
        {
            SetError("Can't take square root of negative number %g in '%.10s'", value, start);
            return value;
        }
        return std::sqrt(value);
    }

    void SkipSpaces()
    {
        while (IsSpaceAscii(*mPos))
            ++mPos;
    }

    void SkipRest() { mPos += std::strlen(mPos); }

    void SetError(const char* format, ...) ORVANE_PRINTF(2, 3)
    {
        if (mHasError)
            return;
        mHasError = true;
        va_list args;
        va_start(args, format);
        std::vsnprintf(gErrorText, kErrorTextSize, format, args);
        va_end(args);
    }

    const char* mPos;
    int mDepth = 0;
    bool mHasError = false;
};
}  // namespace

double EvaluateExpression(const char* text, const char** error)
{
    if (IsBlank(text))
        return 0.0;
    gErrorText[0] = '\0';
    ExpressionParser parser(text);
    const double value = parser.ParseSum();
    parser.CheckTrailing();
    if (error)
        *error = parser.HasError() ? gErrorText : nullptr;
    return value;
}

double EvaluateNumber(const char* text, bool report)
{
    const char* error = nullptr;
    const double value = EvaluateExpression(text, &error);
    ReportExpressionError(error, report);
    return value;
}

void ReportExpressionError(const char* error, bool report)
{
    if (IsBlank(error))
        return;
    if (report)
        ErrorMessage("Error in equation:\n%s", error);
    else
        DebugTrace("Error in equation:\n  %s\n", error);
}

bool IsValidExpression(const char* text, bool report)
{
    const char* error = nullptr;
    EvaluateExpression(text, &error);
    ReportExpressionError(error, report);
    return error == nullptr;
}
