#include "library/SpringFamilyDesc.h"

#include "kernel/IntMath.h"
#include "kernel/Messages.h"

#include <initializer_list>
#include <string>

namespace
{
constexpr int kMaxBaseSides = 9999;

struct FamilyMessages
{
    const char* tooLarge;
    const char* illegal;
};

const FamilyMessages kPrismMessages = {"Prism base must have less than 9999 sides", "Illegal prism base"};
const FamilyMessages kAntiprismMessages = {"Antiprism base must have less than 9999 sides",
                                           "Illegal antiprism base"};
const FamilyMessages kPyramidMessages = {"Pyramid base must have less than 9999 sides", "Illegal pyramid base"};
const FamilyMessages kCupolaMessages = {"Cupola base must have less than 9999 sides", "Illegal cupola base"};
const FamilyMessages kCuploidMessages = {"Cuploid base must have less than 9999 sides", "Illegal cuploid base"};
const FamilyMessages kBlendMessages = {"Cupolaic blend base must have less than 9999 sides",
                                       "Illegal cupolaic blend base"};

bool Check(int n, bool accepted, const FamilyMessages& messages, bool report)
{
    if (n > kMaxBaseSides)
    {
        if (report)
            ErrorMessage("%s", messages.tooLarge);
        return false;
    }
    if (!accepted)
    {
        if (report)
            ErrorMessage("%s", messages.illegal);
        return false;
    }
    return true;
}

// Equilateral triangles can meet above an {n/d} base, and above its complement {n/(n-d)}: the
// base of a cupola-like family, which needs d below n.
bool FitsCupolaTriangles(int n, int d)
{
    return d >= 1 && d < n && n / d < 6 && n / (n - d) < 6;
}

void AppendInt(std::string& text, int value)
{
    text += std::to_string(value);
}

void AppendDensity(std::string& text, int d)
{
    if (d != 1)
    {
        text += '/';
        AppendInt(text, d);
    }
}

// "(first first+1 .. last)" with its density.
void AppendRun(std::string& text, int first, int last, int step, int d)
{
    text += '(';
    for (int i = first; i <= last; i += step)
    {
        if (i != first)
            text += ' ';
        AppendInt(text, i);
    }
    text += ')';
    AppendDensity(text, d);
}

void AppendPolygon(std::string& text, std::initializer_list<int> indices, bool leadingSpace)
{
    if (leadingSpace)
        text += ' ';
    text += '(';
    bool first = true;
    for (int i : indices)
    {
        if (!first)
            text += ' ';
        AppendInt(text, i);
        first = false;
    }
    text += ')';
    if (!leadingSpace)
        text += ' ';
}

std::string WithoutTrailingSpace(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}
}  // namespace

bool CheckPrismBase(int n, int d, bool report)
{
    return Check(n, n >= 3 && d >= 1 && Gcd(n, d) == 1, kPrismMessages, report);
}

bool CheckAntiprismBase(int n, int d, bool report)
{
    return Check(n, n >= 3 && d >= 1 && Gcd(n, d) == 1, kAntiprismMessages, report);
}

bool CheckPyramidBase(int n, int d, bool report)
{
    return Check(n, n >= 3 && d >= 1 && d <= n / 2 && n / d < 6 && Gcd(n, d) == 1, kPyramidMessages, report);
}

bool CheckCupolaBase(int n, int d, bool report)
{
    return Check(n, n >= 2 && FitsCupolaTriangles(n, d) && d % 2 == 1 && Gcd(n, d) == 1, kCupolaMessages, report);
}

bool CheckCuploidBase(int n, int d, bool report)
{
    return Check(n, n >= 3 && FitsCupolaTriangles(n, d) && d % 2 == 0, kCuploidMessages, report);
}

bool CheckCupolaicBlendBase(int n, int d, bool report)
{
    return Check(n, n >= 2 && FitsCupolaTriangles(n, d) && d % 2 == 1 && Gcd(n, d) == 1, kBlendMessages, report);
}

void AppendLayerToken(std::string& text, int m, int q, bool halfStep)
{
    text += halfStep ? "L+" : "L";
    AppendInt(text, m);
    AppendDensity(text, q);
    text += ' ';
}

std::optional<std::string> PrismSpringDesc(int n, int d)
{
    if (!CheckPrismBase(n, d, true))
        return std::nullopt;
    std::string text;
    AppendLayerToken(text, n, d, false);
    AppendLayerToken(text, n, d, false);
    AppendRun(text, 0, n - 1, 1, d);
    text += ' ';
    AppendRun(text, n, 2 * n - 1, 1, d);
    text += ' ';
    for (int k = 0; k < n; ++k)
    {
        const int k1 = (k + 1) % n;
        AppendPolygon(text, {k, k1, n + k1, n + k}, false);
    }
    return WithoutTrailingSpace(text);
}

std::optional<std::string> AntiprismSpringDesc(int n, int d)
{
    if (!CheckAntiprismBase(n, d, true))
        return std::nullopt;
    std::string text;
    AppendLayerToken(text, n, d, false);
    AppendLayerToken(text, n, d, true);
    AppendRun(text, 0, n - 1, 1, d);
    text += ' ';
    AppendRun(text, n, 2 * n - 1, 1, d);
    text += ' ';
    for (int k = 0; k < n; ++k)
    {
        const int k1 = (k + 1) % n;
        AppendPolygon(text, {k, k1, n + k}, false);
        AppendPolygon(text, {k1, n + k, n + k1}, false);
    }
    return WithoutTrailingSpace(text);
}

std::optional<std::string> PyramidSpringDesc(int n, int d)
{
    if (!CheckPyramidBase(n, d, true))
        return std::nullopt;
    std::string text = d == 1 ? "h " : "";
    AppendLayerToken(text, 1, 1, false);
    AppendLayerToken(text, n, d, false);
    AppendRun(text, 1, n, 1, d);
    for (int k = 0; k < n; ++k)
    {
        const int k1 = (k + 1) % n;
        AppendPolygon(text, {k + 1, k1 + 1, 0}, true);
    }
    return text;
}

std::optional<std::string> CupolaSpringDesc(int n, int d)
{
    if (!CheckCupolaBase(n, d, true))
        return std::nullopt;
    std::string text;
    AppendLayerToken(text, n, d, false);
    AppendLayerToken(text, 2 * n, d, true);
    // A digonal cupola has an edge on top, not a face.
    if (n > 2)
    {
        AppendRun(text, 0, n - 1, 1, d);
        text += ' ';
    }
    AppendRun(text, n, 3 * n - 1, 1, d);
    text += ' ';
    for (int k = 0; k < n; ++k)
    {
        const int k1 = (k + 1) % n;
        AppendPolygon(text, {k, k1, n + 2 * k + 1, n + 2 * k}, false);
        AppendPolygon(text, {k1, n + 2 * k + 1, n + 2 * k1}, false);
    }
    return WithoutTrailingSpace(text);
}

std::optional<std::string> CuploidSpringDesc(int n, int d)
{
    if (!CheckCuploidBase(n, d, true))
        return std::nullopt;
    std::string text;
    AppendLayerToken(text, n, 1, false);
    AppendLayerToken(text, n, 1, true);
    const int g = Gcd(n, d);
    for (int i = 0; i < g; ++i)
    {
        text += '(';
        for (int j = 0; j < n / g; ++j)
        {
            if (j > 0)
                text += ' ';
            AppendInt(text, (i + j * d) % n);
        }
        text += ')';
        if (d / g > 1)
            AppendDensity(text, d / g);
    }
    for (int j = 0; j < n; ++j)
    {
        const int a = (j + d / 2) % n;
        const int b = (j + d) % n;
        AppendPolygon(text, {b, j, n + j, n + a}, true);
        AppendPolygon(text, {a, n + a, n + j}, true);
    }
    return text;
}

std::optional<std::string> CupolaicBlendSpringDesc(int n, int d)
{
    if (!CheckCupolaicBlendBase(n, d, true))
        return std::nullopt;
    const int ringSize = 2 * n;
    std::string text;
    AppendLayerToken(text, ringSize, d, false);
    AppendLayerToken(text, ringSize, d, true);
    if (n > 2)
    {
        AppendRun(text, 0, ringSize - 2, 2, d);
        text += ' ';
        AppendRun(text, 1, ringSize - 1, 2, d);
        text += ' ';
    }
    for (int j = 0; j < ringSize; ++j)
    {
        const int b = (j + 1) % ringSize;
        const int c = (b + 1) % ringSize;
        AppendPolygon(text, {j, c, ringSize + b, ringSize + j}, false);
        AppendPolygon(text, {b, ringSize + b, ringSize + j}, false);
    }
    // The bottom is no face of the model; its springs stay.
    text += 't';
    AppendRun(text, ringSize, 2 * ringSize - 1, 1, d);
    return text;
}
