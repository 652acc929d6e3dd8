#pragma once

class Poly;

// Steps of the model's analysis (Poly::SetFaceTypes) that stand on their own.

// Derives the symmetry group of a model built from its vertex configuration from the face type of
// highest rotation order, installs it and turns the model into the group's standard orientation;
// decides whether the model is reflexible. Answers whether, for a dihedral group, the reference
// edge was taken one step further (more than two face types).
//
// For a polyhedral group the second reference is the normal of a face of the same type at the
// angle the group's first two axes of that class make. When no face makes it (an internal error),
// a direction perpendicular to the first face's normal stands in: the face's normal still goes onto
// the group's axis, and the turn about it is the one Vec3Perpendicular gives.
bool SetSymGroup(Poly& poly);

// Writes every vertex's orientation bytes: whether each face around it lists its corners against
// the vertex's order. A vertex that cannot be read sets model flag kRetroFailed.
void SetRetroFaces(Poly& poly);
