#pragma once

#include "document/WholeModelUndo.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"

#include <memory>

// Whole-model undo steps give the model back from a copy of the stored plain model, its colours
// kept. Tests undo it with WholeModelUndo::SetModelFunctions(nullptr, nullptr).
inline void InstallModelUndoByCopy()
{
    WholeModelUndo::SetModelFunctions(nullptr, [](const SimplePoly& stored, Poly& poly) {
        std::unique_ptr<SimplePoly> copy = SimplePoly::Clone(const_cast<SimplePoly*>(&stored));
        return copy && CreatePoly(copy.get(), &poly, true, true);
    });
}
