#pragma once

class Poly;
class SimplePoly;

// The one road by which a plain model becomes an analysed Poly: symmetry detection on the
// SimplePoly (which it changes in place: centre, size, orientation, types), then the Poly's faces
// and vertices with their poles and frames, then the face-type analysis. The new elements are built
// apart; the Poly loses its old model only once nothing before the analysis can fail or be
// cancelled. keepColors false colours the faces afresh, keepDualColors false the vertices. The
// caller keeps the SimplePoly. False for a null model or Poly, an invalid model (with a message)
// and a cancel. While the elements are made and analysed the model-building flag
// (IsModelBuildSuspended) is set; its earlier value comes back on every way out.
bool CreatePoly(SimplePoly* simplePoly, Poly* poly, bool keepColors, bool keepDualColors);

// CreatePoly into the current model, inside an undo item of the kind (none for a negative kind)
// and the transition of its preset; a failure abandons both. The document is refreshed either way.
bool SetModelFromSimplePoly(SimplePoly* simplePoly, int undoKind, bool keepColors, bool keepDualColors);
