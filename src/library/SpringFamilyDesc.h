#pragma once

#include <optional>
#include <string>

// The parametric families of the library as spring networks: for each of prisms, antiprisms,
// pyramids, cupolae, cuploids and cupolaic blends of an {n/d} base, a check of the parameters
// and the description text that the spring relaxation builds the model from.

// Whether the family takes n and d; with report a refusal is shown as an error.
bool CheckPrismBase(int n, int d, bool report);
bool CheckAntiprismBase(int n, int d, bool report);
bool CheckPyramidBase(int n, int d, bool report);
bool CheckCupolaBase(int n, int d, bool report);
bool CheckCuploidBase(int n, int d, bool report);
bool CheckCupolaicBlendBase(int n, int d, bool report);

// The description for n/d; none, after the check's message, when the check refuses.
std::optional<std::string> PrismSpringDesc(int n, int d);
std::optional<std::string> AntiprismSpringDesc(int n, int d);
std::optional<std::string> PyramidSpringDesc(int n, int d);
std::optional<std::string> CupolaSpringDesc(int n, int d);
std::optional<std::string> CuploidSpringDesc(int n, int d);
std::optional<std::string> CupolaicBlendSpringDesc(int n, int d);

// Appends a layer token: "L", "+" for a ring turned by half a step, m, "/q" when q is not 1, and
// one space.
void AppendLayerToken(std::string& text, int m, int q, bool halfStep);
