#pragma once

#include "kernel/Vec3D.h"
#include "kernel/Vec4D.h"
#include "kernel/View4D.h"

class Cell4D;
class Polytope4D;

// The arithmetic of a pane's 4D projection: every 4D point is turned by the pane's 4D rotation and
// projected into 3D from an eye on the pane's fourth axis, or straight along it.

// The eye's distance from the centre in units of the view radius (1.1 at start). The field-of-view
// drag keeps 2 asin(1 / d) between 0.1 and 178 degrees.
double GetEyeDistance4D();
void SetEyeDistance4D(double distance);
// The field of view 2 asin(1 / d) in degrees.
double GetFieldOfView4D();
// Moves the eye as a drag of the given length does: d - 1 grows by 1.008 per unit; a field of view
// beyond its range stops at the limit.
void DragEyeDistance4D(double dragLength);

// "Automatic" of the projection directions (on at start): a polytope that becomes the model is
// seen along its automatic direction.
bool GetAutoProjection4D();
void SetAutoProjection4D(bool on);

// The scale of the perspective projection that puts the silhouette of the polytope's circumsphere
// at the view radius: r sqrt(d^2 - 1), or 1 for an eye at the centre.
double Calc4DProjectionScale(double viewRadius);

// Projects p (times the polytope's size, when given) into 3D with the projection scale a; returns
// the factor that multiplied the turned point: a / (r d - w) in perspective; orthogonally a over the
// perspective scale, so that the circumsphere's outline has the same size either way.
double Project4DPoint(const View4D& view, Vec3D& out, const Vec4D& p, double a, const Polytope4D* polytope);
// The point drawn for a cell shrunk about its centre (GetCellCentre3D) by the cell shrink factor:
// orthogonally shrunk in 4D and projected, else projected and shrunk in 3D.
double Project4DPointScaled(const View4D& view, Vec3D& out, const Vec4D& p, double a, const Vec4D& centre,
                            const Polytope4D* polytope);
// Under the program's cell hiding mode: whether the cell is drawn. A cell seen edge-on (within 1e-7)
// takes edgeOnAnswer, and so does every cell while no mode is on and edgeOnAnswer is true.
bool IsCellShown4D(const View4D& view, const Cell4D* cell, bool edgeOnAnswer);
// +1 for a cell facing the viewer, -1 for one facing away, 0 edge-on.
int CellFacing4D(const View4D& view, const Cell4D* cell);
// The rotation whose rows are an orthonormal frame with the unit direction d last: the pane then
// looks along d.
void DirectionRotation4D(Mat4& out, const Vec4D& d);
// Which way a cylinder's facets turn, for an edge between two projected points: perpendicular to
// the edge in the plane through the origin and the edge; for an edge in line with the origin (or of
// no length), perpendicular to the edge and its smallest axis. Always a unit vector.
void CylinderOrientation4D(Vec3D& out, const Vec3D& p0, const Vec3D& p1);
