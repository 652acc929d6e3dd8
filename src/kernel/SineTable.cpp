#include "kernel/SineTable.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace
{
// Built on first use, so that other static initialisers may already rely on it.
const std::array<double, 61>& Table()
{
    static const std::array<double, 61> table = [] {
        std::array<double, 61> t{};
        for (int i = 0; i < 61; ++i)
            t[i] = std::sin(i * 0.02617993877991494);
        t[0] = 0.0;
        t[60] = 1.0;
        return t;
    }();
    return table;
}
}  // namespace

double SineTable::Entry(int i)
{
    return Table()[i];
}

void SineTable::SinCos240(int k, double& s, double& c)
{
    if (k < 0)
        k = 240 - ((-k) % 240);
    k %= 240;
    const auto& t = Table();
    if (k < 60)
    {
        s = t[k];
        c = t[60 - k];
    }
    else if (k < 120)
    {
        s = t[120 - k];
        c = -t[k - 60];
    }
    else if (k < 180)
    {
        s = -t[k - 120];
        c = -t[180 - k];
    }
    else
    {
        s = -t[240 - k];
        c = t[k - 180];
    }
}

void SineTable::SinCos(int num, int den, double& s, double& c)
{
    const long long scaled = (long long)num * 240;
    if (std::llabs(scaled) % std::llabs((long long)den) == 0)
    {
        SinCos240(int((scaled / den) % 240), s, c);
        return;
    }
    const double angle = num * 6.283185307179586 / den;
    s = std::sin(angle);
    c = std::cos(angle);
}

void SineTable::SinCosF(int num, int den, float& s, float& c)
{
    double sd, cd;
    SinCos(num, den, sd, cd);
    s = float(sd);
    c = float(cd);
}

double SineTable::Sin(int num, int den)
{
    double s, c;
    SinCos(num, den, s, c);
    return s;
}
