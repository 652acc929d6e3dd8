#pragma once

#include "kernel/Vec3D.h"

class SimplePoly;
class SimpleVert;
class SymGroup;

// The last steps of symmetry detection, once the rotation group is chosen and the model turned
// onto it: faces lying in one place get types of their own, and the reflection kind of the group is
// found by testing a few candidate mirrors (the model is turned so that a found mirror lies where
// the group expects it).

// Stacks of coincident faces: the halves of a stack through the centre that a 2-fold axis in its
// plane swaps get opposite normals; each layer of a stack becomes one type with the faces of its
// colour in the image stacks.
void SeparateCoincidentFaces(SimplePoly& model, SymGroup& group);
// True when a reflection of the model was found; the group's reflection kind is then set. The
// model and its hull may be turned; a model without rotation axes is placed here.
bool FindReflections(SimplePoly& model, SymGroup& group, SimplePoly& hull);
// The hull's vertices take the types of the model's vertices of the same index.
void CopyVertTypesToHull(SimplePoly& model, SimplePoly& hull);
// Places a model without rotation axes: the normal of its mirror (when found and not a central
// inversion) along y, otherwise its largest hull face facing -y.
void AlignModelWithNoSymmetry(SimplePoly& model, SimplePoly& hull, SymGroup& group, bool found, const Vec3D& mirror);
// -1, 0 or +1 by x, then y, then z, each within 1e-7.
int ComparePosition(const Vec3D& a, const Vec3D& b);
