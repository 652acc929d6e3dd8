#include "kernel/IntMath.h"

#include <cmath>

int Gcd(int a, int b)
{
    if (a == 0)
        return b;
    while (b != 0)
    {
        const int r = a % b;
        a = b;
        b = r;
    }
    return a;
}

int64_t Lcm(int a, int b)
{
    if (a == 0 || b == 0)
        return 0;
    return int64_t(a / Gcd(a, b)) * b;
}

uint32_t RotateLeft32(uint32_t value, int count)
{
    const unsigned n = unsigned(count) & 31u;
    return n == 0 ? value : (value << n) | (value >> (32u - n));
}

double PosFmod(double a, double b)
{
    if (a >= b)
        return std::fmod(a, b);
    if (a >= 0.0)
        return a;
    const double r = b - std::fmod(-a, b);
    return r == b ? 0.0 : r;
}

float PosFmodF(float a, float b)
{
    if (a >= b)
        return std::fmod(a, b);
    if (a >= 0.0f)
        return a;
    const float r = b - std::fmod(-a, b);
    return r == b ? 0.0f : r;
}

int RoundToInt(float x)
{
    return x >= 0.0f ? int(x + 0.5f) : int(x - 0.5f);
}

double DistOriginToLine2D(const Vec2D& p0, const Vec2D& p1)
{
    const double nx = -(p1.y - p0.y);
    const double ny = p1.x - p0.x;
    const double len = std::sqrt(nx * nx + ny * ny);
    return std::fabs((p0.x * nx + p0.y * ny) / len);
}
