#include "view/ElementMaterial.h"

void SetElementMaterialColors(int kind, const ColorRGB& color, float alpha, MaterialPass& record, float diffuse[4])
{
    auto setSpecular = [&](float r, float g, float b) {
        record.specular[0] = r;
        record.specular[1] = g;
        record.specular[2] = b;
    };
    auto setDiffuse = [&](float r, float g, float b, float a) {
        diffuse[0] = r;
        diffuse[1] = g;
        diffuse[2] = b;
        diffuse[3] = a;
    };
    record.shininess = 20.0f;
    setSpecular(0.5f, 0.5f, 0.5f);
    switch (kind)
    {
    case kMaterialGold:
        setSpecular(1.0f, 0.8f, 0.1f);
        setDiffuse(0.9f, 0.72f, 0.09f, alpha);
        break;
    case kMaterialSilver:
        setSpecular(0.9f, 0.9f, 1.0f);
        setDiffuse(0.9f, 0.9f, 1.0f, alpha);
        break;
    case kMaterialCopper:
        setSpecular(1.0f, 0.4f, 0.1f);
        setDiffuse(0.7f, 0.28f, 0.07f, alpha);
        break;
    case kMaterialWood:
        setDiffuse(0.8f, 0.8f, 0.8f, alpha);
        break;
    case kMaterialStone:
        setDiffuse(0.8f, 0.8f, 0.8f, 0.85f);
        break;
    default:
        setDiffuse(color.r, color.g, color.b, alpha);
        break;
    }
}

bool IsReflectiveMaterial(int kind, bool sphere, bool kitStyle, int kitEdgeStyle)
{
    if (kitStyle)
        return sphere || (kitEdgeStyle >= 4 && kitEdgeStyle <= 6);
    return kind == kMaterialGold || kind == kMaterialSilver || kind == kMaterialCopper || kind == kMaterialStone;
}

void PlanMaterialPasses(MaterialPass& record, int kind, bool sphere, bool kitStyle, int kitEdgeStyle, bool rainbow,
                        int textureUnits, bool separateSpecular)
{
    record.reflective = IsReflectiveMaterial(kind, sphere, kitStyle, kitEdgeStyle);
    record.passes = record.reflective ? kPassReflection : 0u;
    record.texture = -1;
    record.combined = false;
    if (kitStyle && !sphere)
    {
        record.passes |= kPassTexture | kPassHighlight;
        record.texture = kTextureKitLogo;
    }
    else if (!kitStyle && kind == kMaterialWood)
    {
        record.passes |= kPassTexture | kPassHighlight;
        record.texture = rainbow ? kTextureWoodGrey : kTextureWood;
    }
    else if (!kitStyle && kind == kMaterialStone)
    {
        record.passes |= kPassTexture | kPassHighlight;
        record.texture = kTextureStone;
    }
    else if (!(record.passes & kPassReflection))
        record.passes |= kPassPlain;
    // A second texture unit lays the reflection into the texture pass.
    if (textureUnits > 1 && (record.passes & kPassReflection) && (record.passes & kPassTexture))
    {
        record.passes &= ~kPassReflection;
        record.combined = true;
    }
    // The highlight comes within the other passes when the GL adds it after texturing.
    if (separateSpecular || record.passes == kPassPlain)
    {
        record.passes &= ~kPassHighlight;
        for (float& s : record.specular)
            s *= 0.5f;
    }
}

unsigned NextMaterialPass(MaterialPass& record)
{
    for (unsigned bit = record.current << 1; bit <= kPassHighlight; bit <<= 1)
        if (record.passes & bit)
        {
            record.current = bit;
            return bit;
        }
    record.Reset();
    return 0;
}
