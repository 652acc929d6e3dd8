#pragma once

#include "kernel/ColorRGB.h"

// The materials of vertex spheres and edge rods: the kinds of the Sphere and Cylinder Options and
// the rendering passes each needs. A record is filled when a material begins, stepped once per pass
// by CPolyView::ApplyMaterial, and reset after the last pass, so one record serves every drawing.

inline constexpr int kMaterialSolid = 0;
inline constexpr int kMaterialSameColor = 1;
inline constexpr int kMaterialGold = 2;
inline constexpr int kMaterialSilver = 3;
inline constexpr int kMaterialCopper = 4;
inline constexpr int kMaterialWood = 5;
inline constexpr int kMaterialStone = 6;

// Pass bits.
inline constexpr unsigned kPassReflection = 2;
inline constexpr unsigned kPassTexture = 4;
inline constexpr unsigned kPassPlain = 8;
inline constexpr unsigned kPassHighlight = 16;

// Built-in texture numbers.
inline constexpr int kTextureKitLogo = 1;
inline constexpr int kTextureChrome = 2;
inline constexpr int kTextureWood = 3;
inline constexpr int kTextureWoodGrey = 4;
inline constexpr int kTextureStone = 5;

struct MaterialPass
{
    unsigned passes = 0;  // still to draw
    unsigned current = 1;  // 1 before the first pass
    int texture = -1;
    bool reflective = false;
    // Two texture units lay the reflection into the texture pass.
    bool combined = false;
    float specular[3] = {0.5f, 0.5f, 0.5f};
    float shininess = 90.0f;

    void Reset() { *this = MaterialPass(); }
};

// The diffuse colour (with alpha) of a kind and the record's highlight; colour is the setting's
// ("SphereColor" or "CylinderColor"), used by the solid and same-colour kinds.
void SetElementMaterialColors(int kind, const ColorRGB& color, float alpha, MaterialPass& record, float diffuse[4]);

// Reflective kinds mirror the chrome map: gold, silver, copper and stone; in kit style spheres
// always, rods for edge styles 4 to 6.
bool IsReflectiveMaterial(int kind, bool sphere, bool kitStyle, int kitEdgeStyle);

// The passes a material needs, planned on the first step: reflection, texture, plain and added
// highlight, as the GL allows (more than one texture unit, separate specular colour).
void PlanMaterialPasses(MaterialPass& record, int kind, bool sphere, bool kitStyle, int kitEdgeStyle, bool rainbow,
                        int textureUnits, bool separateSpecular);

// The next pass to draw after the current one, made current; 0 (and the record reset) when none is
// left.
unsigned NextMaterialPass(MaterialPass& record);
