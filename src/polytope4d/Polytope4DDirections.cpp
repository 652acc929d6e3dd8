#include "kernel/Palette.h"
#include "kernel/Tolerance.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
Polytope4D::PolytopeShownHook gPolytopeShown = nullptr;

bool Normalised(Vec4D& v)
{
    const double length = Vec4Length(v);
    if (length < kTol)
        return false;
    Vec4Div(v, length);
    return true;
}
}  // namespace

bool Polytope4D::GetCellFirstDirection(Vec4D& out)
{
    const Cell4D* cell = GetCurrentCell(true);
    if (!cell || !cell->HasPlane())
        return false;
    out = cell->mPlane.n;
    return Normalised(out);
}

bool Polytope4D::GetFaceFirstDirection(Vec4D& out)
{
    const Face4D* face = GetCurrentFace(true);
    if (!face)
        return false;
    face->GetFootPoint(out);
    return Normalised(out);
}

bool Polytope4D::GetEdgeFirstDirection(Vec4D& out)
{
    const Edge4D* edge = GetCurrentEdge(true);
    if (!edge)
        return false;
    edge->GetLine(out);
    return Normalised(out);
}

bool Polytope4D::GetVertexFirstDirection(Vec4D& out)
{
    const Vert4D* vert = GetCurrentVert(true);
    if (!vert)
        return false;
    out = vert->mPos;
    return Normalised(out);
}

void Polytope4D::GetAutoProjectionDirection(Vec4D& out, bool nearest)
{
    out = Vec4D{1.0, 0.0, 0.0, 0.0};
    Element4D* member = FindRarestMember(nearest);
    if (Element4D::IsVert(member))
        out = Element4D::AsVert(member)->mPos;
    else if (Element4D::IsCell(member))
        out = Element4D::AsCell(member)->mPlane.n;
    if (!Normalised(out))
        out = Vec4D{1.0, 0.0, 0.0, 0.0};
}

void Polytope4D::SetPolytopeShownHook(PolytopeShownHook hook)
{
    gPolytopeShown = hook;
}

void Polytope4D::NotifyPolytopeShown(Polytope4D* polytope)
{
    if (gPolytopeShown && polytope)
        gPolytopeShown(polytope);
}

void Polytope4D::ColorCellsByType()
{
    const bool dual = (mFlags & kIsDual) != 0;
    int position = dual ? -1 : 0;
    for (CellType4D* type = mFirstCellType; type; type = type->next)
    {
        const uint32_t color = PaletteEntry(((position % kPaletteSize) + kPaletteSize) % kPaletteSize);
        for (Cell4D* cell = type->mFirst; cell; cell = cell->mNextOfType)
            cell->mColor = color;
        position += dual ? -1 : 1;
    }
    if (Polytope4D* built = GetDualIfBuilt())
        built->ColorCellsByType();
}

void Polytope4D::ColorCellsAlong(const Vec4D& d)
{
    struct Placed
    {
        Cell4D* cell;
        double value;
        const CellType4D* type;
    };
    std::vector<Placed> cells;
    for (int i = 0; i < mNumCells; ++i)
        if (Cell4D* cell = GetCell(i))
            cells.push_back({cell, Vec4Dot(cell->mCentre, d), cell->mType});
    // Farthest along d first; at one position the cells of a type together.
    constexpr double kSame = 1e-7;
    std::stable_sort(cells.begin(), cells.end(), [](const Placed& a, const Placed& b) {
        if (std::fabs(a.value - b.value) > kSame)
            return a.value > b.value;
        return a.type < b.type;
    });
    NextPaletteColor(nullptr, 0);
    ColorRGB color;
    const Placed* previous = nullptr;
    for (const Placed& placed : cells)
    {
        if (!previous || placed.type != previous->type || std::fabs(placed.value - previous->value) > kSame)
            NextPaletteColor(&color, 0);
        placed.cell->mColor = ColorToRGB(color);
        previous = &placed;
    }
    if (Polytope4D* built = GetDualIfBuilt())
        built->ColorCellsAlong(d);
}
