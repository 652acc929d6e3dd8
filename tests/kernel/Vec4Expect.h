#pragma once

#include "kernel/Vec4D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

inline void ExpectVec4Near(const Vec4D& actual, const Vec4D& expected, double tol)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], tol) << "component " << i;
}

// Equal up to sign, for directions whose orientation is free.
inline void ExpectVec4NearUpToSign(const Vec4D& actual, const Vec4D& expected, double tol)
{
    const Vec4D& e = Vec4Dot(actual, expected) < 0.0 ? Vec4D{-expected.x, -expected.y, -expected.z, -expected.w}
                                                      : expected;
    ExpectVec4Near(actual, e, tol);
}

// Determinant of the matrix with rows a, b, c, d by Leibniz' formula over the 24 permutations,
// independent of any cofactor code under test.
inline double Det4Rows(const Vec4D& a, const Vec4D& b, const Vec4D& c, const Vec4D& d)
{
    int perm[4] = {0, 1, 2, 3};
    double sum = 0.0;
    do
    {
        int inversions = 0;
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                inversions += perm[i] > perm[j];
        const double term = a[perm[0]] * b[perm[1]] * c[perm[2]] * d[perm[3]];
        sum += inversions % 2 ? -term : term;
    } while (std::next_permutation(perm, perm + 4));
    return sum;
}

// Angle in degrees between two non-zero vectors.
inline double AngleDeg4(const Vec4D& a, const Vec4D& b)
{
    const double c = Vec4Dot(a, b) / std::sqrt(Vec4LengthSq(a) * Vec4LengthSq(b));
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180.0 / 3.141592653589793;
}
