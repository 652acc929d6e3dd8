#pragma once

// Tolerances are passed explicitly everywhere; these are the program's standard values.
inline constexpr double kTol = 1e-7;          // coincident points, zero components, plane membership
inline constexpr double kSymTol = 1e-6;       // symmetry axes, stellation diagrams, nets
inline constexpr double kMatchTol = 0.00001;  // elements matched under a symmetry operation
inline constexpr double k4DTol = 0.0001;      // 4D code, Waterman shell margin
inline constexpr double kRatioLow = 0.9999999;   // a ratio within these bounds counts as 1
inline constexpr double kRatioHigh = 1.0000001;
inline constexpr double kUnsetValue = 9.99999e99;  // marks a value not yet computed
inline constexpr double kInfinity = 1e100;
inline constexpr double kPi = 3.141592653589793;

// Closed interval test; a NaN is never within tolerance of anything.
inline bool WithinTol(double a, double b, double tol)
{
    return b - tol <= a && a <= b + tol;
}

inline bool IsZeroTol(double a, double tol)
{
    return -tol <= a && a <= tol;
}
