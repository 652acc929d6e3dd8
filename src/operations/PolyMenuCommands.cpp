#include "operations/PolyMenuCommands.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/WaitCursor.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"
#include "operations/Zonohedron.h"

#include <memory>

bool AdoptModelDirectly(SimplePoly* result, int undoKind, bool keepColors, bool keepDualColors, int refreshFlags)
{
    Poly* poly = GetCurrentPoly();
    if (!result || !poly)
        return false;
    Shell& shell = GetShell();
    shell.AddUndo(undoKind, false);
    const bool ok = CreatePoly(result, poly, keepColors, keepDualColors);
    if (!ok)
        shell.DiscardLastUndo();
    shell.RefreshDocument(refreshFlags);
    return ok;
}

namespace
{
int gEdgeSubdivisions = 2;
int gGeodesicFrequency = 2;
}  // namespace

bool SubdivideCurrentModel(bool geodesic)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    int& frequency = geodesic ? gGeodesicFrequency : gEdgeSubdivisions;
    if (!PromptInteger(geodesic ? "Enter frequency of geodesic sphere" : "Enter number of edge subdivisions", frequency))
        return false;
    std::unique_ptr<SimplePoly> result = poly->Subdivide(geodesic, frequency);
    if (geodesic)
        return SetModelFromSimplePoly(result.get(), kUndoGeodesicSphere, false, false);
    return AdoptModelDirectly(result.get(), kUndoSubdivideFaces, true, true, 0);
}

int GetEdgeSubdivisions()
{
    return gEdgeSubdivisions;
}

int GetGeodesicFrequency()
{
    return gGeodesicFrequency;
}

bool ZonohedrifyCurrentModel(const ZoneOptions& options)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    if (poly->mFlags & Poly::kIs4D)
    {
        ErrorMessage("You can not zonohedrify 4D polytopes");
        return false;
    }
    std::unique_ptr<SimplePoly> result;
    {
        ScopedWaitCursor wait;
        result = poly->Zonohedrify(options);
    }
    return SetModelFromSimplePoly(result.get(), kUndoZonohedrify, false, false);
}

bool CreateBlockModel(int x, int y, int z)
{
    std::unique_ptr<SimplePoly> block = CreateBlock(x, y, z);
    return SetModelFromSimplePoly(block.get(), kUndoCreateBlock, false, false);
}

bool CreateTorusModel(const char* armRadius, int segments, int armSegments)
{
    const char* error = nullptr;
    const double radius = EvaluateExpression(armRadius ? armRadius : "", &error);
    if (error)
    {
        ReportExpressionError(error, true);
        return false;
    }
    std::unique_ptr<SimplePoly> torus = CreateTorus(radius, segments, armSegments);
    return SetModelFromSimplePoly(torus.get(), kUndoCreateNewModel, false, false);
}
