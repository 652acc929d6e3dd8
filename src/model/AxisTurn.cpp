#include "model/AxisTurn.h"

#include "kernel/Mat3.h"
#include "kernel/Vec3D.h"

namespace
{
void TurnInFrame(Mat3& out, const Vec3D& axis, const Mat3& turn)
{
    Vec3D s, t;
    Vec3Perpendicular(s, axis);
    Vec3Normalize(s);
    Vec3Cross(t, axis, s);
    Mat3 frame, frameT, tmp;
    frame.SetColumns(s, t, axis);
    frameT.SetRows(s, t, axis);
    Mat3Mul(tmp, frame, turn);
    Mat3Mul(out, tmp, frameT);
}
}  // namespace

void SetAxisTurnExact(Mat3& out, const Vec3D& axis, int num, int den)
{
    Mat3 turn;
    turn.SetAxisRotationExact(2, num, den);
    TurnInFrame(out, axis, turn);
}

void SetAxisTurn(Mat3& out, const Vec3D& axis, double angle)
{
    Mat3 turn;
    turn.SetAxisRotation(2, angle);
    TurnInFrame(out, axis, turn);
}
