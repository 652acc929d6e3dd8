#pragma once

class FaceDiagram;
class FaceType;
class Poly;

// What face diagrams ask of the model's elements: faces and vertices of a Poly as owners (their
// colours, back colours, opacity, image, the hidden flag and the selection), the polygons of the
// current model's cross-section as owners, and the copies of a face type's loop types for each of
// its faces. InstallFaceDiagramOwners hands these to the kernel; a Poly installs them when made.
void InstallFaceDiagramOwners();

// Gives every cross-section polygon of the model its colour: the mean of the colours of the faces
// its edges run on, each weighted by the edge's length.
void ColorSectionPolygons(Poly* poly);

// For every face of the type after its first that is not skipped: a copy of the diagram's loop
// types in the face's own slot (the second: the outline clipped by the dual), whose owners are the
// members of the face's own coincidence ring at the places the diagram's owners hold in the first
// face's ring. Every owner entry is filled: an owner the diagram does not know, or a place the
// face's ring does not reach, becomes the face itself.
void CopyLoopTypesToFaceType(FaceDiagram& diagram, FaceType* faceType, bool secondSlot);
