#include "kernel/Palette.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UndoKinds.h"
#include "model/ColorSchemes.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"

#include <vector>

namespace
{
constexpr float kColorNotSet = -1.0f;

bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Schemes 8 and 16: edges whose vectors are multiples of each other share the next colour of the
// side's palette cursor.
void ColorEdgesByDirection(CountedArray<Edge>& edges, bool dual, bool otherSide)
{
    const bool vectorSide = otherSide ? !dual : dual;
    std::vector<Vec3D> vectors(size_t(edges.count));
    for (int i = 0; i < edges.count; ++i)
    {
        edges[i].mColor.r = kColorNotSet;
        vectors[size_t(i)] = edges[i].GetVector(vectorSide);
    }
    const int cursor = dual ? 3 : 2;
    NextPaletteColor(nullptr, cursor);
    for (int i = 0; i < edges.count; ++i)
    {
        if (edges[i].mColor.r >= 0.0f)
            continue;
        ColorRGB color;
        NextPaletteColor(&color, cursor);
        edges[i].mColor = color;
        const Vec3D& v = vectors[size_t(i)];
        for (int j = i + 1; j < edges.count; ++j)
        {
            Edge& later = edges[j];
            if (later.mColor.r < 0.0f && Vec3Parallel(v, vectors[size_t(j)], kTol))
                later.mColor = color;
        }
    }
}
}  // namespace

void Poly::SetEdgeColorScheme(bool undo)
{
    if (undo)
        GetShell().AddUndo(kUndoColorChange, false);
    const int scheme = EdgeColorScheme();
    const bool dual = mShowDual;
    if (scheme == kEdgeColorParallel || scheme == kEdgeColorGreatCircles)
    {
        // Edges on one great circle have parallel dual edges.
        ColorEdgesByDirection(mEdges, dual, scheme == kEdgeColorGreatCircles);
        if (undo)
            GetShell().EdgeColorsChanged();
        return;
    }
    const ColorRGB& defaultColor = GetElementDisplayOptions().mDefaultEdgeColor;
    int counter = 0;
    int lastType = -2;
    for (int i = 0; i < mEdges.count; ++i)
    {
        Edge& e = mEdges[i];
        switch (scheme)
        {
        case kEdgeColorByTypeWithReflections:
        case kEdgeColorByType:
            if (e.mType != lastType)
            {
                const bool reflection = scheme == kEdgeColorByTypeWithReflections && (e.mFlags & Edge::kMirrorSecond);
                if (lastType != -2 && !reflection)
                    ++counter;
                lastType = e.mType;
            }
            GetPaletteColor(counter, e.mColor, dual ? 3 : 2);
            break;
        case kEdgeColorFromFaces:
        case kEdgeColorFromFacesComplement:
        {
            const auto sides = e.GetFaces(dual);
            if (!sides[0] || !sides[1])
            {
                e.mColor = defaultColor;
                break;
            }
            ColorRGB mean{(sides[0]->mColor.r + sides[1]->mColor.r) / 2, (sides[0]->mColor.g + sides[1]->mColor.g) / 2,
                          (sides[0]->mColor.b + sides[1]->mColor.b) / 2};
            if (scheme == kEdgeColorFromFacesComplement)
                mean = ColorRGB{1 - mean.r, 1 - mean.g, 1 - mean.b};
            e.mColor = mean;
            break;
        }
        default:
            e.mColor = defaultColor;
            break;
        }
    }
    if (undo)
        GetShell().EdgeColorsChanged();
}

bool Poly::HasEdgeTypes() const
{
    return mNumEdgeTypes > 0 && mEdges.count > 0;
}

void Poly::ReplaceVertexColor(uint32_t newColor, uint32_t oldColor)
{
    if (oldColor == kSelectedElementColor)
        oldColor = GetVertColorRef();
    oldColor &= 0xffffff;
    ElementDisplayOptions& options = GetElementDisplayOptions();
    // Vertices drawn in the default colour: that is the only colour to change.
    if (!options.mColorVertsSameAsDualFace)
    {
        ColorFromRGB(options.mDefaultVertColor, newColor);
        GetShell().InvalidateAllViews(false, 1);
        return;
    }
    GetShell().AddUndo(kUndoColorChange, false);
    ElemList* verts = mShowDual ? static_cast<ElemList*>(&mFaces) : &mVerts;
    for (FaceVert* v = verts->mFirst; v; v = v->mNext)
        if (ColorToRGB(v->mColor) == oldColor)
            ColorFromRGB(v->mColor, newColor);
    mFlags |= kRecolorFaceDiagrams;
    GetShell().FaceColorsChanged(this, false);
}

void Poly::SetDefaultVertexColor(const ColorRGB& color, const ColorRGB* oldColor)
{
    if (oldColor)
        ReplaceVertexColor(ColorToRGB(color), ColorToRGB(*oldColor));
    GetElementDisplayOptions().mDefaultVertColor = color;
    GetShell().InvalidateAllViews(false, 1);
}

void Poly::ReplaceEdgeColor(uint32_t newColor, uint32_t oldColor)
{
    if (oldColor == kSelectedElementColor)
        oldColor = GetSelectedEdgeColorRef();
    GetShell().AddUndo(kUndoColorChange, false);
    ColorRGB oldFloats, newFloats;
    ColorFromRGB(oldFloats, oldColor);
    ColorFromRGB(newFloats, newColor);
    ColorRGB& defaultColor = GetElementDisplayOptions().mDefaultEdgeColor;
    if (SameColor(defaultColor, oldFloats))
        defaultColor = newFloats;
    for (int i = 0; i < mEdges.count; ++i)
        if (SameColor(mEdges[i].mColor, oldFloats))
            mEdges[i].mColor = newFloats;
    GetShell().EdgeColorsChanged();
}

void Poly::SetDefaultEdgeColor(const ColorRGB& color, const ColorRGB* oldColor)
{
    if (oldColor)
        ReplaceEdgeColor(ColorToRGB(color), ColorToRGB(*oldColor));
    GetElementDisplayOptions().mDefaultEdgeColor = color;
    GetShell().InvalidateAllViews(false, 1);
}
