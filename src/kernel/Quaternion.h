#pragma once

struct Mat3;

// A rotation as a unit quaternion; the symmetry alignment reads a turn's angle and axis from it.
struct Quaternion
{
    double w = 1.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    // The quaternion of the rotation matrix m; q and -q are the same turn, either may come out.
    static Quaternion FromMat3(const Mat3& m);
};
