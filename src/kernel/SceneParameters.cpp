#include "kernel/SceneParameters.h"

#include "kernel/Tolerance.h"

SceneParameters& GetSceneParameters()
{
    static SceneParameters parameters;
    return parameters;
}

void GetSectionFrame(Vec3D& u, Vec3D& v, Vec3D& n)
{
    Mat4& m = GetSceneParameters().sliceMatrix;
    if (m.At(3, 3) < kRatioLow || m.At(3, 3) > kRatioHigh)
        m.SetIdentity();
    u = Vec3D{m.At(0, 0), m.At(1, 0), m.At(2, 0)};
    v = Vec3D{m.At(0, 1), m.At(1, 1), m.At(2, 1)};
    n = Vec3D{m.At(0, 2), m.At(1, 2), m.At(2, 2)};
}
