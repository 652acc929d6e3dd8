#pragma once

#include "kernel/SceneDrawer.h"
#include "kernel/View4D.h"

#include <cstdint>

class Polytope4D;

// What the 4D drawing files share: the pane's projection and small colour and naming helpers.

// The drawing pane's 4D projection, or an unturned perspective one of the drawer's view radius.
View4D CurrentView4D(const SceneDrawer& drawer);
// 0x00BBGGRR to channels in 0..1.
void UnpackColor4D(uint32_t rgb, float out[3]);
// The item type of the base polytope, one higher for a dual.
int ItemType4D(const Polytope4D* polytope, int baseType);
// Any render flag or the all-white mode makes cells white.
bool CellsDrawnWhite(const SceneDrawer& drawer);
// The opacity of the selection overlays.
inline constexpr float kOverlayOpacity4D = 0.5f;
