#include "kernel/Quaternion.h"

#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"

#include <cmath>

Quaternion Quaternion::FromMat3(const Mat3& m)
{
    const double m00 = m.At(0, 0), m01 = m.At(0, 1), m02 = m.At(0, 2);
    const double m10 = m.At(1, 0), m11 = m.At(1, 1), m12 = m.At(1, 2);
    const double m20 = m.At(2, 0), m21 = m.At(2, 1), m22 = m.At(2, 2);

    Quaternion q;
    const double t = m00 + m11 + m22 + 1.0;
    if (t > kTol)
    {
        const double s = 0.5 / std::sqrt(t);
        q.w = 0.25 / s;
        q.x = (m21 - m12) * s;
        q.y = (m02 - m20) * s;
        q.z = (m10 - m01) * s;
        return q;
    }

    // Near a half turn w vanishes: build from the largest diagonal entry, which keeps S away from 0.
    if (m00 > m11 && m00 > m22)
    {
        const double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        q.x = 0.25 * s;
        q.y = (m01 + m10) / s;
        q.z = (m02 + m20) / s;
        q.w = (m21 - m12) / s;
    }
    else if (m11 > m22)
    {
        const double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        q.x = (m01 + m10) / s;
        q.y = 0.25 * s;
        q.z = (m12 + m21) / s;
        q.w = (m02 - m20) / s;
    }
    else
    {
        const double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        q.x = (m02 + m20) / s;
        q.y = (m12 + m21) / s;
        q.z = 0.25 * s;
        q.w = (m10 - m01) / s;
    }
    return q;
}
