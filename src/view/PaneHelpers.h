#pragma once

#include "kernel/ViewTypes.h"
#include "model/Poly.h"
#include "render/NewView.h"
#include "view/PolyView.h"

// Small questions the model-pane files share.

inline bool IsModel4D(const Poly* poly)
{
    return poly && (poly->mFlags & Poly::kIs4D);
}

// Base Polyhedron, Dual or Base/Dual Compound.
inline bool IsModelType(int code)
{
    return code == kViewTypePoly || code == kViewTypeDual || code == kViewTypePolyAndDual;
}

template <typename F>
void ForEachPolyView(F&& f)
{
    for (NewView* v = NewView::GetFirstView(); v; v = v->next)
        if (auto* view = dynamic_cast<CPolyView*>(v))
            f(*view);
}
