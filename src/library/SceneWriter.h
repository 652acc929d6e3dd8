#pragma once

class ElemList;
class Poly;
class Stellation;
struct ioFile;

// The two halves of a scene: the header (names and counts, read alone to preview a file) and the
// body (the view state, the model, then what needs the built model: colours, texts, selections and
// the options of the scene). The reader builds the model when it meets "Scale", so everything that
// describes the model stands before it. Both write in the stream's version; false when an item
// could not be written (reported through the stream).
bool WriteSceneHeader(ioFile* f, int indent, Poly* poly);
bool WriteSceneBody(ioFile* f, const char* basePath, int indent, Poly* poly, int options);

// One vertex of an explicit model (three coordinates, four for a 4D polytope), indented: in ASCII
// each double as the two 32-bit words of its bit pattern, low word first (" 0x%08x"), so that no bit
// is lost; elsewhere the raw doubles.
void WriteVertexLine(ioFile* f, int indent, const double* coords, int count);

// The colours, transparencies, hidden and smooth flags and texts of one side's elements (the faces,
// or the vertices as the faces of the dual).
bool WriteStellation(ioFile* f, int indent, const ElemList& faces, const Stellation& stellation);
