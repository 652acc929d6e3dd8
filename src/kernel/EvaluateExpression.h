#pragma once

// Equations typed wherever a number is asked for: 2*sqrt(3), r5, cosd(36), tau^2, 2pi.
// Values are doubles; only the first error is kept, as a text for the user.
//
// Operators, loosest first: + and -; *, / and a term that follows directly (2pi, 3r2, 2(1+1), 2 3);
// ^ or ** (right to left); one sign, which binds tighter than the power (-2^2 = 4).
// Built in: r (square root of what follows), sqrt, tau and g (golden ratio), pi, cos, sin, tan in
// radians and cosd, sind, tand in degrees. Names other than the r prefix ignore case.

// Parentheses, powers and r prefixes nest at most this deep; deeper is an error, not a stack overflow.
inline constexpr int kMaxExpressionNesting = 256;

// A blank text gives 0 and leaves *error untouched. Otherwise *error (when error is not null) receives
// null, or the first error's text, which stays valid until the next evaluation on this thread. After
// an error the value is what the parse made of the text, the failing item counting as 0.
double EvaluateExpression(const char* text, const char** error);

// Evaluates and passes any error to ReportExpressionError.
double EvaluateNumber(const char* text, bool report);

// With report, an error box "Error in equation:"; without, only a trace line. Nothing for a null or
// blank error text.
void ReportExpressionError(const char* error, bool report);

// True when the text evaluates without error; an error is reported as by ReportExpressionError.
bool IsValidExpression(const char* text, bool report);
