#pragma once

// The program-wide switches of the Spheres dialog, kept in memory only: the user's spheres about the
// model's centre in the 3D views, and their circles of intersection on the nets. The dialog sets
// them; the drawing reads them, and so does the unit settings' redraw after a change of scale
// (sphere radii are lengths in units).
struct SphereOptions
{
    bool showSpheres = true;
    bool showIntersectionsOnNets = true;
    bool showCircleCentresOnNets = true;
    bool hideSpheresInIntersectionViews = false;
};

SphereOptions& GetSphereOptions();
