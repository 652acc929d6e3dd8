#pragma once

// Exact sines and cosines of whole multiples of 2*pi/240, so that symmetric constructions place
// equal points at bit-identical positions. Other angles fall back to the maths library.
class SineTable
{
public:
    // k is reduced into 0..239 first.
    static void SinCos240(int k, double& s, double& c);
    // sin and cos of 2*pi*num/den; den must not be 0.
    static void SinCos(int num, int den, double& s, double& c);
    static void SinCosF(int num, int den, float& s, float& c);
    static double Sin(int num, int den);

    // Entry i = sin(i * pi/120) for i = 0..60.
    static double Entry(int i);
};
