#pragma once

class Stellation;

// Marks the surface of the current stellation in the diagrams: its edges (edge bit 12 on both
// halves) and its corners (vertex bit 5 on every member of the corner's coincidence ring), and
// counts the corners in space into mNumUsedSegVerts, once until the next cell change. Builds the
// stellation first when needed. The count, or -1 when the stellation is not built.
int MarkAllUsedSegVerts(Stellation* stellation);
