#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec3D.h"

// What the VRML and POV-Ray writers take from the pane they export, besides the model: its
// background and camera, and the radius their spheres are based on. The camera is given in the
// coordinates the model is written in (turned and sized by the export command); the writers fall
// back to a grey sky and a 25-degree camera on the z axis, fitted to the model, without a pane.
struct Export3DScene
{
    bool hasView = false;
    ColorRGB background{0.5f, 0.5f, 0.5f};
    Vec3D eye;                      // the camera position
    Vec3D viewVector{0.0, 0.0, 1.0};  // from the point looked at towards the camera
    double verticalFov = 25.0;      // degrees
    int width = 0;                  // the pane's client size in pixels
    int height = 0;
    // The vertex spheres' radius in the written unit; the cylinders' is "CylinderRad" times this.
    double sphereLength = 0.0;
};
