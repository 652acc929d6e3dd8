#pragma once

#include <memory>
#include <string>

class SimplePoly;
struct LibraryEntry;

// What a 4D row of the library is built from: the vertex figure and the description of the
// polygons around it, both taken from the row's construction values. With no further values the
// figure is the library polyhedron whose configuration repeats the first value (|second| times,
// "(...)/2" when the second is negative) and the faces are "(q)" or "(q;2)" for the third value
// q, -q; otherwise the figure is the tetrahedron whose six edges are the polygon chords of the
// three values and the three fractions that follow, and the faces are "(n;d)" for the fraction of
// least value. Null when a value cannot be read or the figure cannot be built.
std::unique_ptr<SimplePoly> CreateLibraryVertexFigure(const LibraryEntry& entry, std::string& faceDesc);

// The vertex configuration a 4D row without further values names for its figure.
std::string GetLibraryVertexFigureConfig(const LibraryEntry& entry);
