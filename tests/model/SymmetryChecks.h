#pragma once

#include "kernel/Mat3.h"

class SimplePoly;
class SymGroup;

// Whether m carries every usable vertex of the model onto a vertex (within 1e-6).
bool MapsVertsOntoVerts(const SimplePoly& poly, const Mat3& m);
// Whether every rotation and every improper operation of the group does.
bool GroupMapsModelOntoItself(const SymGroup& group, const SimplePoly& poly);
// The number of operations the group enumerates, the identity included.
int CountOperations(const SymGroup& group, bool withReflections);
