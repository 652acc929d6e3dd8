#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"

namespace
{
constexpr int kUndoCentreChange = 24;
}  // namespace

bool Poly::SetCentre(const Vec3D& point)
{
    GetShell().AddUndo(kUndoCentreChange, false);
    std::unique_ptr<SimplePoly> model = CreateSimplePoly(kConvertBase, nullptr, nullptr);
    if (!model)
    {
        GetShell().DiscardLastUndo();
        return false;
    }
    if (Vec3Length(point) > kTol)
        for (int i = 0; i < model->mNumVerts; ++i)
        {
            SimpleVert* v = model->GetVert(i);
            // A vertex at infinity is a direction, which a move leaves alone.
            if (!(v->mFlags & SimpleElem::kInf))
                Vec3SubFrom(v->mPos, point);
        }
    model->mFlags |= SimplePoly::kKeepOrientation | SimplePoly::kKeepCentre | SimplePoly::kKeepRealSize;
    if (!CreatePoly(model.get(), this, true, true))
    {
        GetShell().DiscardLastUndo();
        return false;
    }
    return true;
}
