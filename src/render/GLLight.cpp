#include "render/GLLight.h"

#include "render/GLContextState.h"
#include "render/OpenGLView.h"

#include <GL/gl.h>

#include <cmath>

bool gRainbowColors = false;

namespace
{
LightSet* gFirstSet = nullptr;
LightSet* gLastSet = nullptr;
LightSet* gCurrentSet = nullptr;
LightSet* gPreviousSet = nullptr;
int gMaxLights = 0;

void MakeLight(LightSet* set, int flags, float x, float y, float z, float r, float g, float b, float ambient,
               float diffuse, float specular)
{
    auto* light = new GLLight(set);
    light->mFlags = flags;
    light->mPosition[0] = x;
    light->mPosition[1] = y;
    light->mPosition[2] = z;
    light->mColor[0] = r;
    light->mColor[1] = g;
    light->mColor[2] = b;
    light->mAmbient = ambient;
    light->mDiffuse = diffuse;
    light->mSpecular = specular;
}

void MakeDefaultSets()
{
    auto* normal = new LightSet("Default");
    MakeLight(normal, GLLight::kEyeFixed, 4, 2, 1, 1, 1, 1, 0.2f, 0.6f, 1.0f);
    MakeLight(normal, GLLight::kEyeFixed, -3, 3, 1, 0.7f, 0.7f, 1.0f, 0.1f, 0.4f, 0.8f);
    auto* rainbow = new LightSet("Rainbow");
    const int flags = GLLight::kEyeFixed | GLLight::kDirectional;
    const float h = float(std::sqrt(3.0) / 2.0);
    MakeLight(rainbow, flags, 0, 1, 1, 1, 0, 0, 0, 1.2f, 0);
    MakeLight(rainbow, flags, -h, -0.5f, 1, 0, 1, 0, 0, 1.2f, 0);
    MakeLight(rainbow, flags, h, -0.5f, 1, 0, 0, 1, 0, 1.2f, 0);
}
}  // namespace

GLLight::GLLight(LightSet* set) : mSet(set)
{
    SetDefaults();
    if (set)
        ListAppend(this, set->first, set->last);
}

void GLLight::SetDefaults()
{
    mId = 0;
    mFlags = 0;
    mPosition[0] = 3.0f;
    mPosition[1] = 1.0f;
    mPosition[2] = 2.0f;
    mColor[0] = mColor[1] = mColor[2] = 1.0f;
    mAmbient = 0.2f;
    mDiffuse = 0.9f;
    mSpecular = 1.0f;
    mAttenuation[0] = 1.0f;
    mAttenuation[1] = mAttenuation[2] = 0.0f;
}

int GLLight::FirstFreeLightId() const
{
    if (!gCurrentSet || !mSet)
        return 0;
    for (int i = 0; i < gMaxLights; ++i)
    {
        bool used = false;
        for (const GLLight* l = mSet->first; l && !used; l = l->next)
            used = l != this && l->mId == GL_LIGHT0 + i;
        if (!used)
            return GL_LIGHT0 + i;
    }
    return 0;
}

void GLLight::Enable(bool on)
{
    if (on == (mId != 0))
        return;
    mId = on ? FirstFreeLightId() : 0;
}

void GLLight::ApplyColors() const
{
    if (!mId)
        return;
    const GLenum id = GLenum(mId);
    GLfloat c[4] = {0, 0, 0, 1};
    for (int i = 0; i < 3; ++i)
        c[i] = mColor[i] * mDiffuse;
    glLightfv(id, GL_DIFFUSE, c);
    for (int i = 0; i < 3; ++i)
        c[i] = mColor[i] * mAmbient;
    glLightfv(id, GL_AMBIENT, c);
    for (int i = 0; i < 3; ++i)
        c[i] = mColor[i] * mSpecular;
    glLightfv(id, GL_SPECULAR, c);
    glLightf(id, GL_CONSTANT_ATTENUATION, mAttenuation[0]);
    glLightf(id, GL_LINEAR_ATTENUATION, mAttenuation[1]);
    glLightf(id, GL_QUADRATIC_ATTENUATION, mAttenuation[2]);
}

void GLLight::ApplyPosition() const
{
    if (!mId)
        return;
    const GLfloat p[4] = {mPosition[0], mPosition[1], mPosition[2], (mFlags & kDirectional) ? 0.0f : 1.0f};
    glLightfv(GLenum(mId), GL_POSITION, p);
}

void GLLight::Apply() const
{
    ApplyColors();
    ApplyPosition();
}

LightSet::LightSet(const std::string& name) : mName(name)
{
    ListAppend(this, gFirstSet, gLastSet);
    if (!gCurrentSet)
        gCurrentSet = this;
}

LightSet::~LightSet()
{
    while (first)
    {
        GLLight* light = first;
        ListRemove(light, first, last);
        delete light;
    }
    ListRemove(this, gFirstSet, gLastSet);
    if (gCurrentSet == this)
        gCurrentSet = nullptr;
    if (gPreviousSet == this)
        gPreviousSet = nullptr;
}

void LightSet::EnableLights(bool on)
{
    for (GLLight* l = first; l; l = l->next)
        l->Enable(on);
}

LightSet* GetFirstLightSet()
{
    return gFirstSet;
}

LightSet* GetCurrentLightSet()
{
    return gCurrentSet;
}

void MakeLightSetCurrent(LightSet* set)
{
    if (!set || set == gCurrentSet)
        return;
    gPreviousSet = gCurrentSet;
    gCurrentSet = set;
}

LightSet* FindLightSet(const char* name, bool makeCurrent)
{
    for (LightSet* s = gFirstSet; s; s = s->next)
        if (s->GetName() == name)
        {
            if (makeCurrent)
                MakeLightSetCurrent(s);
            return s;
        }
    return nullptr;
}

void SelectLightSet(bool rainbow)
{
    LightSet* r = FindLightSet("Rainbow", false);
    if (rainbow == (r && r == gCurrentSet))
        return;
    MakeLightSetCurrent(rainbow ? r : gPreviousSet);
}

void DeleteLightSets()
{
    while (gFirstSet)
        delete gFirstSet;
    gCurrentSet = gPreviousSet = nullptr;
}

int GetMaxLights()
{
    return gMaxLights;
}

void EnableCurrentLights()
{
    for (int i = 0; i < gMaxLights; ++i)
        glDisable(GLenum(GL_LIGHT0 + i));
    if (!gCurrentSet)
        return;
    for (const GLLight* l = gCurrentSet->first; l; l = l->next)
        if (l->mId)
            glEnable(GLenum(l->mId));
}

void PlaceEyeFixedLights()
{
    if (!gCurrentSet)
        return;
    for (const GLLight* l = gCurrentSet->first; l; l = l->next)
        if (l->mFlags & GLLight::kEyeFixed)
            l->Apply();
}

void PlaceModelFixedLights()
{
    if (!gCurrentSet)
        return;
    for (const GLLight* l = gCurrentSet->first; l; l = l->next)
        if (!(l->mFlags & GLLight::kEyeFixed))
            l->Apply();
}

void InitMaterials(OpenGLView* view)
{
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    if (GetGLCapabilities().separateSpecular)
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    const GLfloat black[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    const GLfloat diffuse[4] = {1, 1, 1, 1};
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    const GLfloat specular[4] = {0.5f, 0.5f, 0.5f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 90.0f);
    if (gMaxLights <= 0)
    {
        GLint maxLights = 0;
        glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
        gMaxLights = maxLights;
    }
    if (!gFirstSet)
        MakeDefaultSets();
    for (LightSet* s = gFirstSet; s; s = s->next)
        s->EnableLights(true);
    if (view)
        view->SetLighting(view->GetLighting());
    CheckGLError("InitMaterials");
}
