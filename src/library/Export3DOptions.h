#pragma once

#include <cstdint>

// The options of the 3D exports. They live for the run of the program and are not kept in the
// settings; the export commands and the writers read them on the user-interface thread.
inline constexpr uint32_t kExport3DTriangulateAll = 0x1;
inline constexpr uint32_t kExport3DTriangulateNonConvex = 0x2;
inline constexpr uint32_t kExport3DTriangulateHoles = 0x4;  // only faces with holes: others stay whole
inline constexpr uint32_t kExport3DEdges = 0x8;             // the writer draws the edges its own way
inline constexpr uint32_t kExport3DVerts = 0x10;            // the writer draws spheres at the vertices
inline constexpr uint32_t kExport3DFlatSpheres = 0x20;
inline constexpr uint32_t kExport3DFlatCylinders = 0x40;
inline constexpr uint32_t kExport3DLaunch = 0x80;
inline constexpr uint32_t kExport3DCylinderCaps = 0x100;

inline uint32_t gExport3DOptions = 0x11A;
inline int gExport3DCylinderSegments = 24;   // 3 to 9999
inline int gExport3DSphereSubdivisions = 4;  // 1, 2, 4 or 8
// How the pane is turned for the file (x to the right, y up and z towards the viewer): 0 as it is,
// 1 the default orientation, 2 looking down and 3 sitting on an axis of the class below, 4 looking
// at and 5 sitting on the selected face, edge, vertex or axis.
inline int gExport3DOrientation = 0;
inline int gExport3DLookDownClass = 0;
inline int gExport3DSitOnClass = 0;
