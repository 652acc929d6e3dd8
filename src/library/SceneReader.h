#pragma once

#include "library/SceneFile.h"

#include <memory>
#include <string>

class Poly;
class PolyTemplate;
class SimplePoly;
struct ioFile;

// What a model file says of itself in its header: one per read, filled as the items come; a caller
// may supply one to learn the header (kSceneHeaderOnly reads no further).
struct SceneFileInfo
{
    int major = kSceneMajorVersion;
    int minor = kSceneMinorVersion;
    int form = -1;  // kIoAscii, kIoBinary or kIoMemory once read
    // Empty until read (the file then has none).
    std::string baseName;
    std::string dualName;
    std::string comments;
    std::string link;
    int numCells = 0;
    int numFaces = 0;
    int numEdges = 0;
    int numVerts = 0;
    // Counts of generated elements the file carries over.
    int numGenCells = 0;
    int numGenFaces = 0;
    int numGenEdges = 0;
    int numGenVerts = 0;
};

// Reads a scene from the open streams into the model, the panes and the settings (options:
// kScene... bits of the reader). path names the file for messages (empty for memory). Items come in
// any order, except that the model is built when "Scale" is read. Every item's value is read, also
// where it cannot be applied yet, so that any file reads in step. Messages go through the stream's
// callback. False for a read that failed, was cancelled or reported an error; the settings it
// changed are then as they were, the model is the caller's to drop, and the host gives back the
// panes' layout. templ receives a vertex configuration.
bool ReadScene(SceneStreams& streams, const char* path, Poly* poly, PolyTemplate* templ, int options,
               SceneFileInfo* info);

// The "Poly" item after its token: the counts, the vertices (ASCII: each coordinate as its two
// 32-bit words, low first) and the faces. Null for counts at or below 0, counts the rest of the
// stream cannot hold, an index outside the vertices, a coordinate that is not finite and values the
// stream does not have.
std::unique_ptr<SimplePoly> ReadSimplePoly(ioFile* f);
// "VertexFaces": for each vertex a count, which must be the number of faces around it, and the
// faces in their order around it. False, after "Number of faces for vertex %d doesn't match" through
// the stream for a wrong count, and quietly for a face that is not around the vertex or that the
// vertex lists twice; the values are read to the end either way.
bool ReadVertexFaceOrder(ioFile* f, SimplePoly* simplePoly);
// "EmptyFaceNormals": for each face without corners, in order, its plane-through-centre mark and its
// normal. False for a normal that is not finite.
bool ReadEmptyFaceNormals(ioFile* f, SimplePoly* simplePoly);
