#pragma once

#include "kernel/LinkNode.h"

#include <string>

class LightSet;
class OpenGLView;

// One OpenGL light of a light set, which owns it. It holds a GL light id while enabled. Eye-fixed
// lights are placed before the camera transform and so move with the camera; the others are fixed
// in the model.
class GLLight : public LinkNode<GLLight>
{
public:
    static constexpr int kDirectional = 1;
    static constexpr int kEyeFixed = 2;

    // Appends the light, with the defaults, to the set.
    explicit GLLight(LightSet* set);
    virtual ~GLLight() = default;

    void SetDefaults();
    void Enable(bool on);
    void ApplyColors() const;
    void ApplyPosition() const;
    void Apply() const;

    int mId = 0;  // GL_LIGHT0 + i, or 0
    int mFlags = 0;
    float mPosition[3] = {3.0f, 1.0f, 2.0f};
    float mColor[3] = {1.0f, 1.0f, 1.0f};
    float mAmbient = 0.2f;
    float mDiffuse = 0.9f;
    float mSpecular = 1.0f;
    float mAttenuation[3] = {1.0f, 0.0f, 0.0f};

private:
    // The first id no other light of the set holds; 0 when all are taken or no set is current.
    int FirstFreeLightId() const;

    LightSet* mSet;
};

// A named set of lights on the program's list of sets. The first set made becomes current; the
// views light their 3D scenes with the current set.
class LightSet : public LinkNode<LightSet>
{
public:
    explicit LightSet(const std::string& name);
    virtual ~LightSet();

    void EnableLights(bool on);
    const std::string& GetName() const { return mName; }

    GLLight* first = nullptr;
    GLLight* last = nullptr;

private:
    std::string mName;
};

LightSet* GetFirstLightSet();
LightSet* GetCurrentLightSet();
void MakeLightSetCurrent(LightSet* set);
// Exact name comparison.
LightSet* FindLightSet(const char* name, bool makeCurrent);
// "Rainbow" for rainbow colours, else the set that was current before it.
void SelectLightSet(bool rainbow);
// Deletes every set (at program exit).
void DeleteLightSets();
// GL_MAX_LIGHTS, once read; 0 before.
int GetMaxLights();

// Per frame: only the current set's lights on; its eye-fixed lights placed before the camera
// transform and the others after it.
void EnableCurrentLights();
void PlaceEyeFixedLights();
void PlaceModelFixedLights();

// The light model and default materials of a new context; makes the light sets on first use.
void InitMaterials(OpenGLView* view);

// The setting "RainbowColors".
extern bool gRainbowColors;
