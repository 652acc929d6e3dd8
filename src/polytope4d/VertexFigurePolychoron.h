#pragma once

#include <memory>
#include <vector>

class Poly;
class Polytope4D;
struct TemplateEdge;

// Option flags of CreatePolychoronFromVertexFigure.
inline constexpr int kPolychoronUseNameHint = 1;
inline constexpr int kPolychoronNoteNameHint = 2;  // callers pass it with the hint; kept for their sake
inline constexpr int kPolychoronPreferWorstScore = 4;  // internal: a figure with 16-gons

// The uniform or scaliform polychoron whose every vertex has the shown side of the Poly as its vertex
// figure, completed and at scale 1; asks which polygons when several sets fit. A growth stopped early
// (cancelled, too large, inconsistent) still gives the finished part that was built. Null after a
// message when the figure cannot serve, or when the question is cancelled. With the hint flag, the
// first "(" followed by a digit in the name gives the polygon of the shortest edges: "(n)",
// "(n;d)" or "(n-d)".
std::unique_ptr<Polytope4D> CreatePolychoronFromVertexFigure(Poly* figure, const char* name, int options);

// x as n/d: n the nearest integer when x is within tol of it, else a fraction whose reduced
// denominator divides 840. False when neither.
bool ToFraction(double x, int& n, int& d, double tol);

// Ascending order of squared edge lengths.
bool CompareSquaredLengths(double a, double b);

// Gives each edge its face class: edges of one squared length (1e-7) whose end vertex types and
// adjacent face types agree, in order, share one. Classes are numbered from 0 in the order met; the
// first 25 also get a flag bit from 0x80 up, later ones none, so that classes are told apart by
// number. Answers the number of classes.
int AssignFaceClasses(std::vector<TemplateEdge>& edges);
