#include "view/ElementMaterial.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Every pass of a planned record, in drawing order.
std::vector<unsigned> Passes(MaterialPass& record)
{
    std::vector<unsigned> out;
    for (unsigned p = NextMaterialPass(record); p; p = NextMaterialPass(record))
        out.push_back(p);
    return out;
}

TEST(ElementMaterial, EachKindHasItsColoursAndHighlight)
{
    struct Case
    {
        const char* name;
        int kind;
        float diffuse[4];
        float specular[3];
    };
    const ColorRGB setting{0.1f, 0.2f, 0.3f};
    const Case kCases[] = {
        {"solid", kMaterialSolid, {0.1f, 0.2f, 0.3f, 1.0f}, {0.5f, 0.5f, 0.5f}},
        {"gold", kMaterialGold, {0.9f, 0.72f, 0.09f, 1.0f}, {1.0f, 0.8f, 0.1f}},
        {"silver", kMaterialSilver, {0.9f, 0.9f, 1.0f, 1.0f}, {0.9f, 0.9f, 1.0f}},
        {"copper", kMaterialCopper, {0.7f, 0.28f, 0.07f, 1.0f}, {1.0f, 0.4f, 0.1f}},
        {"wood", kMaterialWood, {0.8f, 0.8f, 0.8f, 1.0f}, {0.5f, 0.5f, 0.5f}},
        {"stone", kMaterialStone, {0.8f, 0.8f, 0.8f, 0.85f}, {0.5f, 0.5f, 0.5f}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        MaterialPass record;
        float diffuse[4] = {};
        SetElementMaterialColors(c.kind, setting, 1.0f, record, diffuse);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(diffuse[i], c.diffuse[i]);
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(record.specular[i], c.specular[i]);
        EXPECT_FLOAT_EQ(record.shininess, 20.0f);
    }
    // Gold's and copper's diffuse colours are their highlights dimmed.
    MaterialPass gold;
    float d[4];
    SetElementMaterialColors(kMaterialGold, setting, 1.0f, gold, d);
    EXPECT_FLOAT_EQ(d[0], gold.specular[0] * 0.9f);
}

TEST(ElementMaterial, PassesFollowTheKindAndWhatTheGLCanDo)
{
    struct Case
    {
        const char* name;
        int kind;
        bool sphere;
        bool kit;
        int units;
        bool separateSpecular;
        std::vector<unsigned> passes;
        int texture;
    };
    const Case kCases[] = {
        {"solid: one plain pass", kMaterialSolid, true, false, 1, false, {kPassPlain}, -1},
        {"gold: once, with the reflection", kMaterialGold, true, false, 1, false, {kPassReflection}, -1},
        {"wood with separate specular: the highlight within", kMaterialWood, true, false, 1, true, {kPassTexture},
         kTextureWood},
        {"wood: texture and added highlight", kMaterialWood, true, false, 1, false, {kPassTexture, kPassHighlight},
         kTextureWood},
        {"stone, one unit: reflection, texture over it, highlight", kMaterialStone, true, false, 1, false,
         {kPassReflection, kPassTexture, kPassHighlight}, kTextureStone},
        {"stone, two units: the reflection inside the texture pass", kMaterialStone, true, false, 2, false,
         {kPassTexture, kPassHighlight}, kTextureStone},
        {"kit sphere: silver whatever the setting", kMaterialWood, true, true, 1, true, {kPassReflection}, -1},
        {"kit rod: the logo", kMaterialSolid, false, true, 1, true, {kPassTexture}, kTextureKitLogo},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        MaterialPass record;
        PlanMaterialPasses(record, c.kind, c.sphere, c.kit, 0, false, c.units, c.separateSpecular);
        EXPECT_EQ(record.texture, c.texture);
        EXPECT_EQ(Passes(record), c.passes);
        // The last step left the record as new, ready for the next drawing.
        EXPECT_EQ(record.passes, 0u);
        EXPECT_EQ(record.current, 1u);
        EXPECT_FLOAT_EQ(record.shininess, 90.0f);
    }
}

TEST(ElementMaterial, RainbowModeTakesTheGreyWood)
{
    MaterialPass record;
    PlanMaterialPasses(record, kMaterialWood, true, false, 0, true, 1, false);
    EXPECT_EQ(record.texture, kTextureWoodGrey);
}

TEST(ElementMaterial, HighlightWithinOtherPassesIsHalved)
{
    MaterialPass record;
    float d[4];
    SetElementMaterialColors(kMaterialSolid, ColorRGB{1, 1, 1}, 1.0f, record, d);
    PlanMaterialPasses(record, kMaterialSolid, true, false, 0, false, 1, false);
    EXPECT_FLOAT_EQ(record.specular[0], 0.25f);
}
}  // namespace
