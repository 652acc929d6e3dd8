#pragma once

// Single-precision vector for data handed to and from OpenGL.
struct Vec3F
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline float Vec3FDot(const Vec3F& a, const Vec3F& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// out must be distinct from a and b.
inline void Vec3FCross(Vec3F& out, const Vec3F& a, const Vec3F& b)
{
    out.x = a.y * b.z - a.z * b.y;
    out.y = a.z * b.x - a.x * b.z;
    out.z = a.x * b.y - a.y * b.x;
}

inline void Vec3FSub(Vec3F& out, const Vec3F& a, const Vec3F& b)
{
    out.x = a.x - b.x;
    out.y = a.y - b.y;
    out.z = a.z - b.z;
}

// x and y of m * (p, 1) for a column-major OpenGL matrix; no division by w.
inline void GLTransformXY(float out[2], const float m[16], const Vec3F& p)
{
    out[0] = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    out[1] = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
}
