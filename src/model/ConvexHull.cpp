#include "model/ConvexHull.h"

#include "kernel/FaceImage.h"
#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "model/SimplePoly.h"

int AddDistinctColor(GrowableArray<ColorRGB>& list, const ColorRGB& color)
{
    for (uint32_t i = 0; i < list.count; ++i)
    {
        if (ColorSame(list[i], color))
            return int(i);
    }
    if (list.count >= list.capacity)
    {
        InternalError("Too many colors!");
        return -1;
    }
    list[list.count] = color;
    return int(list.count++);
}

namespace
{
// The first source face around the coincident ring of `start` whose corners are all marked Done
// and which has n of them; null when there is none.
SimpleFace* FindMarkedFace(SimpleVert& start, int n)
{
    SimpleVert* v = &start;
    do
    {
        for (int k = 0; k < v->mNum; ++k)
        {
            SimpleFace* u = v->GetFace(k);
            if (!u || u->mNum != n)
                continue;
            bool all = true;
            for (int j = 0; j < u->mNum && all; ++j)
                all = u->GetVert(j) && (u->GetVert(j)->mFlags & SimpleElem::kDone);
            if (all)
                return u;
        }
        v = v->mNextCoincident;
    } while (v && v != &start);
    return nullptr;
}

void MatchSourceFaces(SimplePoly& hull, SimplePoly& source, int mode)
{
    const bool colorMode = (mode & kHullColorMode) != 0;
    const bool markingMode = (mode & kHullMarkingMode) != 0;
    GrowableArray<ColorRGB> colors;
    if (colorMode)
        colors.Reserve(uint32_t(2 * hull.mNumFaces));
    source.CreateVertexFaceLists(false);

    int matched = 0;
    for (int f = 0; f < hull.mNumFaces; ++f)
    {
        SimpleFace& h = hull.mFaces[f];
        if ((h.mFlags & SimpleElem::kTemp) || h.mNum < 1)
            continue;
        for (int k = 0; k < h.mNum; ++k)
            source.mVerts[h.GetVert(k)->GetIndex()].MarkCoincident(SimpleElem::kDone);
        SimpleFace* u = FindMarkedFace(source.mVerts[h.GetVert(0)->GetIndex()], h.mNum);
        if (u)
        {
            if (colorMode)
            {
                h.mColor = u->mColor;
                h.mBackColor = u->mBackColor;
                ColorRGB c;
                ColorFromRGB(c, u->mColor);
                AddDistinctColor(colors, c);
                if (u->mBackColor != u->mColor)
                {
                    ColorFromRGB(c, u->mBackColor);
                    AddDistinctColor(colors, c);
                }
                h.mFlags |= SimpleElem::kDone;
            }
            if (markingMode)
                u->mFlags |= SimpleElem::kHullMark;
            ++matched;
        }
        for (int k = 0; k < h.mNum; ++k)
            source.mVerts[h.GetVert(k)->GetIndex()].UnmarkCoincident(SimpleElem::kDone);
        // A hull face with nothing behind it: the source is not convex, whatever else matched.
        if (!u && markingMode && !colorMode)
            matched = -999999;
    }
    if (matched <= 0)
        return;

    if (colorMode)
    {
        ColorRGB fresh, grey{0.2509804f, 0.2509804f, 0.2509804f}, tint;
        ColorFromRGB(tint, NextUnusedPaletteColorRef(colors, true));
        ColorLerpClamped(fresh, grey, tint, 0.3f);
        const uint32_t packed = ColorToRGB(fresh);
        for (int f = 0; f < hull.mNumFaces; ++f)
        {
            SimpleFace& h = hull.mFaces[f];
            if (!(h.mFlags & SimpleElem::kDone))
                h.mColor = h.mBackColor = packed;
        }
        hull.ClearFaceFlags(SimpleElem::kDone);
        hull.mFlags |= SimplePoly::kKeepBaseColors;
    }
    if (markingMode)
    {
        source.mFlags |= SimplePoly::kConvex;
        for (int f = 0; f < source.mNumFaces; ++f)
        {
            if (!(source.mFaces[f].mFlags & (SimpleElem::kHullMark | SimpleElem::kTemp)))
                source.mFlags &= ~SimplePoly::kConvex;
        }
        if (source.mFlags & SimplePoly::kConvex)
        {
            for (int i = 0; i < source.mNumVerts; ++i)
                source.mVerts[i].mFlags |= SimpleElem::kHullMark;
        }
    }
}
}  // namespace

std::unique_ptr<SimplePoly> CreateConvexHull(SimplePoly* source, int mode)
{
    if (!source || source->mNumVerts <= 3)
        return nullptr;
    const int numVerts = source->mNumVerts;
    auto hull = std::make_unique<SimplePoly>(numVerts, 2 * numVerts - 4);
    if (hull->mNumVerts != numVerts)
        return nullptr;
    hull->mScale = source->mScale;
    hull->mFlags |= SimplePoly::kKeepRealSize | (source->mFlags & SimplePoly::kFrom4D);
    ClearFaceImageClones();
    for (int i = 0; i < numVerts; ++i)
        hull->mVerts[i].CopyFrom(source->mVerts[i], true);

    if (!hull->ComputeConvexHull(0))
        return nullptr;
    hull->CleanFaces();
    if (mode & (kHullColorMode | kHullMarkingMode))
        MatchSourceFaces(*hull, *source, mode);

    hull->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    hull->SetName("Convex hull", nullptr, true);
    return hull;
}
