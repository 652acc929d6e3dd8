#include "kernel/EvaluateExpression.h"

#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace
{
const double kRoot5 = std::sqrt(5.0);
const double kGolden = (1.0 + std::sqrt(5.0)) / 2.0;
constexpr double kPi = std::numbers::pi;

struct ExpressionCase
{
    const char* text;
    double value;
    const char* error;  // null: none expected
};

void ExpectValue(const std::string& text, double expected, const char* expectedError)
{
    SCOPED_TRACE("text: \"" + text.substr(0, 40) + "\"");
    const char* error = "not set";
    const double value = EvaluateExpression(text.c_str(), &error);
    EXPECT_NEAR(value, expected, 1e-14 * std::max(1.0, std::fabs(expected)));
    if (expectedError)
    {
        ASSERT_NE(error, nullptr);
        EXPECT_STREQ(error, expectedError);
    }
    else
        EXPECT_EQ(error, nullptr) << error;
}

void ExpectCase(const ExpressionCase& c)
{
    ExpectValue(c.text, c.value, c.error);
}

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}

std::string Repeat(const std::string& piece, size_t count)
{
    std::string text;
    text.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}
}  // namespace

TEST(EvaluateExpressionTest, OperatorsAndPrecedence)
{
    const ExpressionCase kCases[] = {
        {"1+2*3", 7, nullptr},
        {"(1+2)*3", 9, nullptr},
        {"10-4-3", 3, nullptr},
        {"7-2+1", 6, nullptr},
        {"8/4/2", 1, nullptr},
        {"2^3^2", 512, nullptr},
        {"(2^3)^2", 64, nullptr},
        {"2**3", 8, nullptr},
        {"2**3**2", 512, nullptr},
        {"2^3**2", 512, nullptr},
        {"2*3^2", 18, nullptr},
        {"2^-1", 0.5, nullptr},
        {"4^0.5", 2, nullptr},
        // One sign, bound tighter than the power.
        {"-2^2", 4, nullptr},
        {"-2^3", -8, nullptr},
        {"-5", -5, nullptr},
        {"+5", 5, nullptr},
        {"2--3", 5, nullptr},
        {"2+-3", -1, nullptr},
        {"2*-3", -6, nullptr},
        {"-(1+2)", -3, nullptr},
        // A term that follows directly multiplies, at the level of * and /.
        {"2pi", 2 * kPi, nullptr},
        {"3r2", 3 * std::sqrt(2.0), nullptr},
        {"2(1+1)", 4, nullptr},
        {"2 3", 6, nullptr},
        {"(1+1)(2+1)", 6, nullptr},
        {"6/2(1+2)", 9, nullptr},
        {"2^2 3", 12, nullptr},
        {"1+2 3", 7, nullptr},
    };
    for (const ExpressionCase& c : kCases)
        ExpectCase(c);
}

TEST(EvaluateExpressionTest, NumbersAndWhiteSpace)
{
    const ExpressionCase kCases[] = {
        {"0", 0, nullptr},
        {"42", 42, nullptr},
        {".5", 0.5, nullptr},
        {"2.", 2, nullptr},
        {"1e-3", 0.001, nullptr},
        {"1.5E2", 150, nullptr},
        {"2.5e+1", 25, nullptr},
        {"0007", 7, nullptr},
        {"  12  ", 12, nullptr},
        {"\t1\n+\r2\v*\f3 ", 7, nullptr},
        {" ( 1 + 2 ) * 3 ", 9, nullptr},
        {"2 ^ 3 ** 2", 512, nullptr},
        {"- 2 ^ 2", 4, nullptr},
        {"sqrt ( 4 )", 2, nullptr},
        {"r 9", 3, nullptr},
    };
    for (const ExpressionCase& c : kCases)
        ExpectCase(c);
}

TEST(EvaluateExpressionTest, RootsConstantsAndFunctions)
{
    const ExpressionCase kCases[] = {
        {"r5", kRoot5, nullptr},
        {"r(5)", kRoot5, nullptr},
        {"sqrt(5)", kRoot5, nullptr},
        {"SQRT(5)", kRoot5, nullptr},
        {"5^0.5", kRoot5, nullptr},
        {"sqrt(r16)", 2, nullptr},
        {"rr16", 2, nullptr},
        {"2r3", 2 * std::sqrt(3.0), nullptr},
        {"r2^2", 2, nullptr},  // the root takes the unary only; the power applies to it
        {"r0", 0, nullptr},
        {"tau", kGolden, nullptr},
        {"TAU", kGolden, nullptr},
        {"Tau", kGolden, nullptr},
        {"g", kGolden, nullptr},
        {"G", kGolden, nullptr},
        {"(1+r5)/2", kGolden, nullptr},
        {"g^2-g", 1, nullptr},
        {"1/g", kGolden - 1, nullptr},
        {"2g", 2 * kGolden, nullptr},
        {"tau(2)", 2 * kGolden, nullptr},
        {"pi", kPi, nullptr},
        {"PI", kPi, nullptr},
        {"2pi/3", 2 * kPi / 3, nullptr},
        {"cos(0)", 1, nullptr},
        {"cos(pi)", -1, nullptr},
        {"sin(pi/2)", 1, nullptr},
        {"sin (pi/6)", 0.5, nullptr},
        {"tan(pi/4)", 1, nullptr},
        {"cosd(60)", 0.5, nullptr},
        {"COSD(60)", 0.5, nullptr},
        {"sind(90)", 1, nullptr},
        {"sind(30)", 0.5, nullptr},
        {"tand(45)", 1, nullptr},
        {"tand(-45)", -1, nullptr},
        {"cosd(36)", kGolden / 2, nullptr},  // the pentagon's golden ratio
        {"2cosd(36)-g", 0, nullptr},
        {"cosd(120)^2+sind(120)^2", 1, nullptr},
    };
    for (const ExpressionCase& c : kCases)
        ExpectCase(c);
}

TEST(EvaluateExpressionTest, ErrorsGiveTheFirstMessageAndThePartialValue)
{
    const ExpressionCase kCases[] = {
        {"1/0", 1, "Division by zero at '/0'"},
        {"0/0", 0, "Division by zero at '/0'"},
        {"1/(2-2)", 1, "Division by zero at '/(2-2)'"},
        {"1/0+2", 3, "Division by zero at '/0+2'"},  // the parse goes on
        {"2+", 2, "Equation ended early"},
        {"2+   ", 2, "Equation ended early"},
        {"2*", 0, "Equation ended early"},
        {"2^", 1, "Equation ended early"},
        {"sqrt(", 0, "Equation ended early"},
        {"2+*", 2, "Unexpected character at '*'"},
        {"2+*3", 2, "Unexpected character at '*3'"},
        {"--2", 0, "Unexpected character at '-2'"},
        {"2+,5", 2, "Unexpected character at ',5'"},
        {"2\xC3\xA9", 0, "Unexpected character at '\xC3\xA9'"},
        {"foo", 0, "Unknown identifier 'foo'"},
        {"2+foo*3", 2, "Unknown identifier 'foo*3'"},
        {"abcdefghijklmnop", 0, "Unknown identifier 'abcdefghij'"},
        {"R5", 0, "Unknown identifier 'R5'"},  // the root prefix is lower-case only
        {"pi2", 0, "Unknown identifier 'pi2'"},
        {"gr5", 0, "Unknown identifier 'gr5'"},
        {"taux", 0, "Unknown identifier 'taux'"},
        {"sinh(1)", 0, "Unknown identifier 'sinh(1)'"},
        {"sqrt 4", 0, "Unknown identifier 'sqrt 4'"},
        {"3+rx", 3, "Unknown identifier 'x'"},
        {"(1+2", 3, "Expected closing ')'"},
        {"sqrt(4", 2, "Expected closing ')'"},
        {"(1+foo", 1, "Unknown identifier 'foo'"},
        {"3)", 3, "Trailing characters: ')'"},
        {"(1))+2", 1, "Trailing characters: ')+2'"},
        {"sqrt(-4)", -4, "Can't take square root of negative number -4 in 'sqrt(-4)'"},
        {"r-4", -4, "Can't take square root of negative number -4 in 'r-4'"},
        {"r-4+8", 4, "Can't take square root of negative number -4 in 'r-4+8'"},
        {"1+ r(-2.5)", -1.5, "Can't take square root of negative number -2.5 in 'r(-2.5)'"},
        {"1/0+r-4", -3, "Division by zero at '/0+r-4'"},
        {"r-4+1/0", -3, "Can't take square root of negative number -4 in 'r-4+1/0'"},
    };
    for (const ExpressionCase& c : kCases)
        ExpectCase(c);
}

TEST(EvaluateExpressionTest, BlankTextGivesZeroAndLeavesTheErrorOutAlone)
{
    const char* const kSentinel = "untouched";
    for (const char* text : {static_cast<const char*>(nullptr), "", "   ", " \t\n "})
    {
        const char* error = kSentinel;
        EXPECT_EQ(EvaluateExpression(text, &error), 0.0);
        EXPECT_EQ(error, kSentinel);
    }
}

TEST(EvaluateExpressionTest, EachEvaluationStartsWithoutAnError)
{
    const char* error = nullptr;
    EvaluateExpression("foo", &error);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(EvaluateExpression("1+1", &error), 2.0);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(EvaluateExpression("1/0", nullptr), 1.0);  // the error out is optional
}

TEST(EvaluateExpressionTest, DecimalPointDoesNotDependOnTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_NUMERIC, name))
        {
            switched = true;
            break;
        }
    const char* error = nullptr;
    const double value = EvaluateExpression("1.5+2.25e1", &error);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(value, 24.0);
    EXPECT_EQ(error, nullptr);
}

TEST(EvaluateExpressionTest, NestingWithinTheLimitEvaluates)
{
    const int n = kMaxExpressionNesting;
    ExpectValue(std::string(n, '(') + "7" + std::string(n, ')'), 7, nullptr);
    ExpectValue(Repeat("-(", n) + "1" + std::string(n, ')'), n % 2 ? -1 : 1, nullptr);
    ExpectValue(Repeat("1^", n) + "1", 1, nullptr);
    ExpectValue(std::string(n, 'r') + "16", 1, nullptr);  // 16^(1/2^n) is 1 in doubles
    ExpectValue("rrrr65536", 2, nullptr);
}

TEST(EvaluateExpressionTest, HostileInputIsAnErrorNotACrash)
{
    const size_t deep = 200000;
    struct HostileCase
    {
        const char* name;
        std::string text;
        const char* error;
    };
    const HostileCase kCases[] = {
        {"open parentheses", std::string(deep, '('), "Equation nested too deeply at '(((((((((('"},
        {"balanced parentheses", std::string(deep, '(') + "1" + std::string(deep, ')'),
         "Equation nested too deeply at '(((((((((('"},
        {"signed parentheses", Repeat("-(", deep) + "1", "Equation nested too deeply at '(-(-(-(-(-'"},
        {"function calls", Repeat("sqrt(", deep) + "4", "Equation nested too deeply at '(sqrt(sqrt'"},
        {"power chain", Repeat("2^", deep) + "2", "Equation nested too deeply at '^2^2^2^2^2'"},
        {"star power chain", Repeat("2**", deep) + "2", "Equation nested too deeply at '**2**2**2*'"},
        {"root prefixes", std::string(deep, 'r') + "16", "Equation nested too deeply at 'rrrrrrrrrr'"},
        {"one level too deep", std::string(kMaxExpressionNesting + 1, '(') + "1" +
                                   std::string(kMaxExpressionNesting + 1, ')'),
         "Equation nested too deeply at '(1))))))))'"},
        {"long identifier", std::string(deep, 'x'), "Unknown identifier 'xxxxxxxxxx'"},
        {"long blank then an operator", std::string(deep, ' ') + "2+" + std::string(deep, ' '),
         "Equation ended early"},
        {"long garbage", "1" + std::string(deep, '#'), "Unexpected character at '##########'"},
        {"many closing parentheses", "1" + std::string(deep, ')'), "Trailing characters: '))))))))))'"},
        {"sign runs", std::string(deep, '-') + "1", "Unexpected character at '----------'"},
    };
    for (const HostileCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const char* error = nullptr;
        EvaluateExpression(c.text.c_str(), &error);
        ASSERT_NE(error, nullptr);
        EXPECT_STREQ(error, c.error);
    }
}

TEST(EvaluateExpressionTest, LongFlatTextsEvaluate)
{
    const size_t terms = 1000000;
    ExpectValue("1" + Repeat("+1", terms - 1), double(terms), nullptr);
    ExpectValue("1" + Repeat("+1-1", terms / 2) + "-1", 0, nullptr);
    ExpectValue("1" + Repeat(" 1", terms - 1), 1, nullptr);
    ExpectValue(std::string(100000, '0') + "7", 7, nullptr);
}

TEST(EvaluateExpressionTest, SquareRootErrorShowsTheValueAndTheExcerpt)
{
    // The longest message there is: a wide number and a full excerpt.
    const char* error = nullptr;
    EvaluateExpression("r-1.2345678e300*2", &error);
    ASSERT_NE(error, nullptr);
    EXPECT_STREQ(error, "Can't take square root of negative number -1.23457e+300 in 'r-1.234567'");
}

TEST(EvaluateExpressionTest, EvaluateNumberReportsOrTracesTheError)
{
    ScopedScriptedServices scope;
    ScriptedServices& services = scope.services;

    EXPECT_EQ(EvaluateNumber("2+", true), 2.0);
    ASSERT_EQ(services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(services.LastCall("MessageBox")->caption, "Error");
    EXPECT_EQ(services.LastCall("MessageBox")->text, "Error in equation:\nEquation ended early");

    services.Clear();
    gTrace.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    EXPECT_EQ(EvaluateNumber("1/0", false), 1.0);
    EXPECT_EQ(EvaluateNumber("r16", false), 4.0);
    EXPECT_EQ(EvaluateNumber("   ", true), 0.0);
    SetTraceSink(previous);
    EXPECT_EQ(services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(gTrace, std::vector<std::string>{"Error in equation:\n  Division by zero at '/0'\n"});
}

TEST(EvaluateExpressionTest, IsValidExpressionReportsOnlyWhenAsked)
{
    ScopedScriptedServices scope;
    ScriptedServices& services = scope.services;

    EXPECT_TRUE(IsValidExpression("2*sqrt(3)", true));
    EXPECT_TRUE(IsValidExpression("", true));
    EXPECT_TRUE(IsValidExpression(nullptr, true));
    EXPECT_EQ(services.CountCalls("MessageBox"), 0);

    EXPECT_FALSE(IsValidExpression("foo", false));
    EXPECT_EQ(services.CountCalls("MessageBox"), 0);
    EXPECT_FALSE(IsValidExpression("3)", true));
    ASSERT_EQ(services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(services.LastCall("MessageBox")->text, "Error in equation:\nTrailing characters: ')'");
}

TEST(EvaluateExpressionTest, ReportExpressionErrorIgnoresBlankTexts)
{
    ScopedScriptedServices scope;
    gTrace.clear();
    const TraceSink previous = SetTraceSink(RecordTrace);
    ReportExpressionError(nullptr, true);
    ReportExpressionError("", true);
    ReportExpressionError(" \t", false);
    ReportExpressionError("Unknown identifier 'x'", false);
    SetTraceSink(previous);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(gTrace, std::vector<std::string>{"Error in equation:\n  Unknown identifier 'x'\n"});
}
