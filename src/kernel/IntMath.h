#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>

// Euclid with truncating remainders: b when a is 0; a negative argument can give a negative result.
int Gcd(int a, int b);

// 0 when either is 0. Divides before multiplying, in 64 bits, so large group orders do not overflow.
int64_t Lcm(int a, int b);

uint32_t RotateLeft32(uint32_t value, int count);

// The remainder of a by b mapped into [0, b).
double PosFmod(double a, double b);
float PosFmodF(float a, float b);

// Nearest integer, halves away from zero.
int RoundToInt(float x);

// Distance of the origin from the line through p0 and p1.
double DistOriginToLine2D(const Vec2D& p0, const Vec2D& p1);
