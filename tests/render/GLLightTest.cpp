#include "RenderTestView.h"

#include "kernel/RenderSettings.h"
#include "render/GLLight.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{
using LightTest = RenderTest;

struct LightRow
{
    int flags;
    float position[3];
    float color[3];
    float ambient, diffuse, specular;
};

void ExpectLights(const LightSet* set, const std::vector<LightRow>& rows)
{
    ASSERT_NE(set, nullptr);
    size_t i = 0;
    for (const GLLight* l = set->first; l; l = l->next, ++i)
    {
        SCOPED_TRACE(set->GetName() + " light " + std::to_string(i + 1));
        ASSERT_LT(i, rows.size());
        const LightRow& r = rows[i];
        EXPECT_EQ(l->mFlags, r.flags);
        for (int k = 0; k < 3; ++k)
        {
            EXPECT_FLOAT_EQ(l->mPosition[k], r.position[k]);
            EXPECT_FLOAT_EQ(l->mColor[k], r.color[k]);
        }
        EXPECT_FLOAT_EQ(l->mAmbient, r.ambient);
        EXPECT_FLOAT_EQ(l->mDiffuse, r.diffuse);
        EXPECT_FLOAT_EQ(l->mSpecular, r.specular);
        EXPECT_FLOAT_EQ(l->mAttenuation[0], 1.0f);
        EXPECT_FLOAT_EQ(l->mAttenuation[1], 0.0f);
        EXPECT_FLOAT_EQ(l->mAttenuation[2], 0.0f);
        EXPECT_EQ(l->mId, GL_LIGHT0 + int(i));  // ids counted within the set
    }
    EXPECT_EQ(i, rows.size());
}
}  // namespace

TEST_F(LightTest, TheTwoSetsAreMadeAsTabledWithDefaultCurrent)
{
    const int eye = GLLight::kEyeFixed, eyeDir = GLLight::kEyeFixed | GLLight::kDirectional;
    const float h = float(std::sqrt(3.0) / 2.0);
    ASSERT_NE(GetFirstLightSet(), nullptr);
    EXPECT_EQ(GetFirstLightSet()->GetName(), "Default");
    EXPECT_EQ(GetCurrentLightSet(), GetFirstLightSet());
    ExpectLights(FindLightSet("Default", false), {{eye, {4, 2, 1}, {1, 1, 1}, 0.2f, 0.6f, 1.0f},
                                                  {eye, {-3, 3, 1}, {0.7f, 0.7f, 1.0f}, 0.1f, 0.4f, 0.8f}});
    ExpectLights(FindLightSet("Rainbow", false), {{eyeDir, {0, 1, 1}, {1, 0, 0}, 0, 1.2f, 0},
                                                  {eyeDir, {-h, -0.5f, 1}, {0, 1, 0}, 0, 1.2f, 0},
                                                  {eyeDir, {h, -0.5f, 1}, {0, 0, 1}, 0, 1.2f, 0}});
    EXPECT_EQ(FindLightSet("rainbow", false), nullptr);  // names compare exactly
    EXPECT_GE(GetMaxLights(), 8);
}

TEST_F(LightTest, MaterialsAndLightModelOfANewContext)
{
    GLfloat diffuse[4], ambient[4], specular[4], shininess = 0, model[4], twoSide = 0;
    GLint colorControl = 0;
    ASSERT_TRUE(mView->PreOpenGL());
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glGetMaterialfv(GL_BACK, GL_AMBIENT, ambient);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glGetMaterialfv(GL_BACK, GL_SHININESS, &shininess);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, model);
    glGetFloatv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
    glGetIntegerv(GL_LIGHT_MODEL_COLOR_CONTROL, &colorControl);
    mView->PostOpenGL();
    const float expectDiffuse[4] = {1, 1, 1, 1}, expectAmbient[4] = {0.2f, 0.2f, 0.2f, 1},
                expectSpecular[4] = {0.5f, 0.5f, 0.5f, 1}, expectModel[4] = {0, 0, 0, 1};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(diffuse[i], expectDiffuse[i]);
        EXPECT_FLOAT_EQ(ambient[i], expectAmbient[i]);
        EXPECT_FLOAT_EQ(specular[i], expectSpecular[i]);
        EXPECT_FLOAT_EQ(model[i], expectModel[i]);
    }
    EXPECT_FLOAT_EQ(shininess, 90.0f);
    EXPECT_FLOAT_EQ(twoSide, 1.0f);
    EXPECT_EQ(colorControl, GL_SEPARATE_SPECULAR_COLOR);  // GL above 1.1 has it
}

TEST_F(LightTest, AFrameLightsWithTheCurrentSetOnly)
{
    struct Seen
    {
        bool enabled[4] = {};
        GLfloat position[4] = {};
        GLfloat diffuse[4] = {};
    };
    auto look = [this](Seen& seen) {
        DrawWith([&] {
            for (int i = 0; i < 4; ++i)
                seen.enabled[i] = glIsEnabled(GLenum(GL_LIGHT0 + i));
            // Positions read back in eye coordinates: eye-fixed lights ignore the camera.
            glGetLightfv(GL_LIGHT0, GL_POSITION, seen.position);
            glGetLightfv(GL_LIGHT0, GL_DIFFUSE, seen.diffuse);
        });
    };
    mView->RotateView(1, 70.0);
    Seen normal;
    look(normal);
    EXPECT_TRUE(normal.enabled[0] && normal.enabled[1]);
    EXPECT_FALSE(normal.enabled[2]);
    const float position[4] = {4, 2, 1, 1}, diffuse[4] = {0.6f, 0.6f, 0.6f, 1};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(normal.position[i], position[i], 1e-5);
        EXPECT_NEAR(normal.diffuse[i], diffuse[i], 1e-6);
    }

    OpenGLView::SetRainbowColorMode(true);
    EXPECT_EQ(GetCurrentLightSet()->GetName(), "Rainbow");
    EXPECT_TRUE(gRainbowColors);
    Seen rainbow;
    look(rainbow);
    EXPECT_TRUE(rainbow.enabled[0] && rainbow.enabled[1] && rainbow.enabled[2]);
    EXPECT_FALSE(rainbow.enabled[3]);
    EXPECT_FLOAT_EQ(rainbow.position[3], 0.0f);  // directional
    EXPECT_NEAR(rainbow.diffuse[0], 1.2, 1e-6);
    EXPECT_NEAR(rainbow.diffuse[1], 0.0, 1e-6);

    // Drawing that needs true colours switches to the white lights and back.
    bool switched = false;
    std::string during;
    DrawWith([&] {
        switched = mView->UseDefaultLights(true);
        during = GetCurrentLightSet()->GetName();
        mView->UseRainbowLights(true);
    });
    EXPECT_TRUE(switched);
    EXPECT_EQ(during, "Default");
    EXPECT_EQ(GetCurrentLightSet()->GetName(), "Rainbow");
    OpenGLView::SetRainbowColorMode(false);
    EXPECT_EQ(GetCurrentLightSet()->GetName(), "Default");
    EXPECT_FALSE(mView->UseDefaultLights(true));  // nothing to switch without rainbow colours

    // Coloured glasses keep the white lights in rainbow mode.
    OpenGLView::SetRenderFlags(RenderSettings::kStereoGlasses, true);
    OpenGLView::SetRainbowColorMode(true);
    EXPECT_EQ(GetCurrentLightSet()->GetName(), "Default");
    EXPECT_EQ(GetRenderFlags(), RenderSettings::kStereoGlasses | RenderSettings::kRainbowColors);
    OpenGLView::SetRainbowColorMode(false);
    OpenGLView::SetRenderFlags(RenderSettings::kStereoGlasses, false);
    EXPECT_EQ(GetRenderFlags(), 0);
}

TEST_F(LightTest, ALightBeyondTheLimitGetsNoId)
{
    auto* crowded = new LightSet("Crowded");
    std::vector<GLLight*> lights;
    for (int i = 0; i <= GetMaxLights(); ++i)
        lights.push_back(new GLLight(crowded));
    crowded->EnableLights(true);
    for (int i = 0; i < GetMaxLights(); ++i)
        EXPECT_EQ(lights[size_t(i)]->mId, GL_LIGHT0 + i);
    EXPECT_EQ(lights.back()->mId, 0);
    // Never applied: nothing to check in GL but that nothing fails; the set goes away whole.
    ASSERT_TRUE(mView->PreOpenGL());
    lights.back()->Apply();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    mView->PostOpenGL();
    EXPECT_EQ(FindLightSet("Crowded", false), crowded);
    delete crowded;
    EXPECT_EQ(FindLightSet("Crowded", false), nullptr);
    EXPECT_EQ(GetCurrentLightSet()->GetName(), "Default");
}
