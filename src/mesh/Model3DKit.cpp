// Edge lengths of a Model3D and whether the magnetic construction kit can build it.

#include "mesh/Model3D.h"

#include "kernel/KitPalette.h"
#include "kernel/KitPanelShape.h"
#include "kernel/NetTabSettings.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>

void Model3D::CalcEdgeLengthRange()
{
    if (mMaxEdgeLength >= 0.0)
        return;
    double shortest = kUnsetValue;
    double longest = -1.0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        const Face3D* face = type->GetFace(0);
        if (!face || !face->mEdges)
            continue;
        for (int i = 0; i < type->mNumSides; ++i)
        {
            const Edge3D& edge = face->mEdges[size_t(i)];
            const Edge3D* next = edge.GetNext();
            if (!next)
                continue;
            Vec2D d;
            Vec2Sub(d, next->mFacePos, edge.mFacePos);
            const double lengthSq = d.x * d.x + d.y * d.y;
            if (lengthSq < shortest)
                shortest = lengthSq;
            if (lengthSq > longest)
                longest = lengthSq;
        }
    }
    // A mesh without edges has no lengths: both stay unset rather than becoming roots of the
    // starting values.
    if (longest < 0.0)
        return;
    mMinEdgeLength = std::sqrt(shortest);
    mMaxEdgeLength = std::sqrt(longest);
}

double Model3D::GetMeanEdgeLength()
{
    CalcEdgeLengthRange();
    return (mMinEdgeLength + mMaxEdgeLength) / 2.0;
}

double Model3D::GetShortestEdgeLength()
{
    // The scale command asks after the model may have been rescaled: measure afresh.
    mMinEdgeLength = mMaxEdgeLength = -1.0;
    CalcEdgeLengthRange();
    return mMinEdgeLength;
}

void Model3D::SetKitReason(const char* reason)
{
    if (mStellation)
        mStellation->mKitReason = reason;
}

bool Model3D::IsKitBuildable(Model3D* model)
{
    if (!model)
        return false;
    // The complexity question of the stellation build is open: answer without looking, and keep
    // nothing.
    if (IsModelBuildSuspended())
        return true;
    if (model->mFlags & (kModel3DKitYes | kModel3DKitNo))
        return (model->mFlags & kModel3DKitYes) != 0;

    model->SetKitReason(nullptr);
    model->CalcEdgeLengthRange();
    if (!WithinTol(model->mMinEdgeLength, model->mMaxEdgeLength, kTol))
    {
        model->SetKitReason(kKitReasonEdgeLengths);
        model->mFlags |= kModel3DKitNo;
        return false;
    }

    // Edges meeting at a vertex: one vertex of each type stands for its run. The same edge seen
    // from two facelets points the same way and is no small angle.
    const double shortest = model->mMinEdgeLength;
    const double cosMin = std::cos(kKitMinAngle);
    for (int v = 0; v < model->mNumVerts; ++v)
    {
        const Vert3D& vert = model->mVerts[size_t(v)];
        if (!(vert.mFlags & kVert3DRunStart))
            continue;
        for (const Edge3D* p = vert.mFirstEdge; p; p = p->mNextAtVert)
        {
            const Vert3D* pEnd = p->GetEndVert();
            if (!pEnd)
                continue;
            Vec3D dp;
            Vec3Sub(dp, pEnd->mPos, vert.mPos);
            Vec3Scale(dp, dp, 1.0 / shortest);
            for (const Edge3D* q = p->mNextAtVert; q; q = q->mNextAtVert)
            {
                const Vert3D* qEnd = q->GetEndVert();
                if (!qEnd)
                    continue;
                Vec3D dq;
                Vec3Sub(dq, qEnd->mPos, vert.mPos);
                Vec3Scale(dq, dq, 1.0 / shortest);
                const double dot = Vec3Dot(dp, dq);
                if (dot > cosMin && !(dot >= kRatioLow && dot <= kRatioHigh))
                {
                    model->SetKitReason(kKitReasonEdgeAngle);
                    model->mFlags |= kModel3DKitNo;
                    return false;
                }
            }
        }
    }

    // Panels: a shape the kit has no panel for, or two panels meeting too sharply, only withdraws
    // panels.
    const double lowAngle = kKitMinAngle;
    const double highAngle = 2.0 * kPi - kKitMinAngle;
    for (Face3DType* type = model->mFaceTypes; type; type = type->mNext)
    {
        if (!type->IsPanelShape())
        {
            if (model->mStellation && !model->mStellation->mKitReason)
                model->SetKitReason(kKitReasonPanelShape);
            continue;
        }
        const Face3D* face = type->GetFace(0);
        for (int i = 0; face && i < type->mNumSides; ++i)
        {
            const Edge3D& edge = face->mEdges[size_t(i)];
            const double angle = edge.GetEffectiveDihedral();
            if (angle >= lowAngle && angle <= highAngle)
                continue;
            const Edge3D* other = edge.GetNeighInNet();
            if (!other || !other->mFace || !other->mFace->mType)
                continue;
            Face3DType* u = other->mFace->mType;
            // The larger polygon goes, else the rarer one, else the one with fewer sides.
            Face3DType* loser = nullptr;
            if ((type->mNumSides > 6) != (u->mNumSides > 6))
                loser = type->mNumSides > 6 ? type : u;
            else if (type->mNumFaces != u->mNumFaces)
                loser = type->mNumFaces < u->mNumFaces ? type : u;
            else
                loser = u->mNumSides < type->mNumSides ? u : type;
            loser->mFlags &= ~(kFace3DTypePanelShape | kFace3DTypeRhombusPanel);
            loser->mFlags |= kFace3DTypeNotPanelShape;
            model->SetKitReason(kKitReasonFaceAngle);
            if (loser == type)
                break;
        }
    }

    model->mFlags |= kModel3DKitYes;
    return true;
}

double GetTabSize()
{
    return GetUnitSettings().TwipsToUnits(GetNetTabSettings().tabSize);
}

namespace
{
// The kit panels a facelet of so many sides is made of, and the rods and balls inside it.
struct KitRecipe
{
    int sides;
    int triangles, squares, rhombi, pentagons;
    int rods, balls;
};
constexpr KitRecipe kKitRecipes[] = {
    {3, 1, 0, 0, 0, 0, 0},  {4, 0, 1, 0, 0, 0, 0},  {5, 0, 0, 0, 1, 0, 0},  {6, 0, 0, 3, 0, 3, 1},
    {8, 4, 5, 0, 0, 12, 4}, {10, 5, 5, 0, 1, 15, 5}, {12, 6, 6, 3, 0, 21, 7},
};
}  // namespace

void Model3D::CountKitParts()
{
    if (mKitRods >= 0)
        return;
    for (auto& row : mKitPanels)
        for (int32_t& count : row)
            count = 0;
    mKitRods = mKitBalls = 0;
    if (!IsKitBuildable(this))
        return;
    mKitRods = GetNumEdges();
    mKitBalls = mNumVerts;
    for (Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        if (type->mNumSides > 12 || type->mNumLoops != 1 || !type->IsPanelShape())
            continue;
        const KitRecipe* recipe = nullptr;
        for (const KitRecipe& r : kKitRecipes)
            if (r.sides == type->mNumSides)
                recipe = &r;
        if (!recipe)
            continue;
        // A four-sided panel is the square or the rhombus.
        const bool rhombus = (type->mFlags & kFace3DTypeRhombusPanel) != 0;
        for (int k = 0; k < type->mNumFaces; ++k)
        {
            const int column = std::max(FindKitColor(type->mFaces[size_t(k)].GetColor()), 0);
            mKitPanels[kKitPanelTriangle][column] += recipe->triangles;
            mKitPanels[rhombus && recipe->sides == 4 ? kKitPanelRhombus : kKitPanelSquare][column] += recipe->squares;
            mKitPanels[kKitPanelRhombus][column] += recipe->rhombi;
            mKitPanels[kKitPanelPentagon][column] += recipe->pentagons;
        }
        mKitRods += recipe->rods * type->mNumFaces;
        mKitBalls += recipe->balls * type->mNumFaces;
    }
}

int Model3D::GetNumKitPanels()
{
    CountKitParts();
    int n = 0;
    for (const auto& row : mKitPanels)
        for (int32_t count : row)
            n += count;
    return n;
}
