#pragma once

// The ball-and-rod kit style: while it is on, seven display settings take kit values and the user's
// own wait in a second record until the style is switched off.
struct KitDisplaySettings
{
    bool kitStyle = true;
    bool showVerts = true;
    bool showEdges = true;
    bool spheresAndCylinders = true;
    int sphereRadBasedOn = 1;  // the edge length
    double sphereRad = 0.17;
    double cylinderRad = 0.55;

    void SetDefaults() { *this = KitDisplaySettings(); }
    // The program's current values into the record, and back.
    void Capture();
    void Apply() const;
};

// Switches the style and redraws; every switch-on starts from the kit defaults.
void SetKitStyle(bool on);
// Code that must see or store the user's own display settings brackets its work with these: true
// when the style was on and its settings have been set aside.
bool SuspendKitStyle();
void ResumeKitStyle(bool wasSuspended);
