#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "model/ColorSchemes.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

uint32_t& FaceColorScheme()
{
    static uint32_t scheme = kInitialFaceColorScheme;
    return scheme;
}

int& EdgeColorScheme()
{
    static int scheme = kEdgeColorAllSame;
    return scheme;
}

int& StellationDiagramColorScheme()
{
    static int scheme = 0;
    return scheme;
}

int& SelectedFaceDisplay()
{
    static int mode = 0;
    return mode;
}

namespace
{
constexpr float kColorNotSet = -1.0f;

FaceType* PlaneOwner(FaceType* type)
{
    return type && type->mCoplanarSource ? type->mCoplanarSource : type;
}

bool SameOrOppositeNormal(const Vec3D& a, const Vec3D& b)
{
    const bool same = std::fabs(a.x - b.x) <= kTol && std::fabs(a.y - b.y) <= kTol && std::fabs(a.z - b.z) <= kTol;
    const bool opposite =
        std::fabs(a.x + b.x) <= kTol && std::fabs(a.y + b.y) <= kTol && std::fabs(a.z + b.z) <= kTol;
    return same || opposite;
}

// The group of every face type of the side under the by-type scheme, with its modifiers.
std::map<const FaceType*, int> NumberFaceTypes(Stellation* stellation, uint32_t scheme, int& groups)
{
    std::vector<FaceType*> types;
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        types.push_back(t);
    std::stable_sort(types.begin(), types.end(), [](const FaceType* a, const FaceType* b) { return a->mIndex < b->mIndex; });
    std::map<const FaceType*, int> group;
    int next = 0;
    for (FaceType* t : types)
    {
        if (group.count(t))
            continue;
        FaceType* owner = PlaneOwner(t);
        if ((scheme & kFaceColorCoplanarAlike) && owner != t && group.count(owner))
        {
            group[t] = group[owner];
            continue;
        }
        const int n = next++;
        group[t] = n;
        if (FaceType* mirror = t->mMirrorFace)
        {
            const bool chiral = scheme & kFaceColorChiralAlike;
            const bool coplanarChiral = (scheme & kFaceColorCoplanarChiralAlike) &&
                                        (mirror == owner || PlaneOwner(mirror) == owner);
            if (chiral || coplanarChiral)
                group[mirror] = n;
        }
        if ((scheme & kFaceColorCoplanarAlike) && owner != t && !group.count(owner))
            group[owner] = n;
    }
    groups = int(types.size());
    return group;
}
}  // namespace

void Poly::SetFaceColorScheme(uint32_t code, uint32_t mask)
{
    GetShell().AddUndo(kUndoKindColorChange, false);
    if (code == kFaceColorAsCompound)
    {
        for (FaceVert* f = mFaces.mFirst; f; f = f->mNext)
            f->mColor.r = kColorNotSet;
        const int parts = ColorByPart();
        for (FaceVert* f = mFaces.mFirst; f; f = f->mNext)
            if (f->mColor.r < 0.0f)
            {
                NextPaletteColor(&f->mColor, 0);
                f->mBackColor = f->mColor;
            }
        mFlags |= kRecolorFaceDiagrams;
        GetShell().SetViewMessage(GetShell().ActiveView(), parts < 2 ? "Couldn't find more than one part in the compound."
                                                                       : "Compound has " + std::to_string(parts) + " parts.");
        GetShell().InvalidateAllViews(false, 1);
        return;
    }
    uint32_t& word = FaceColorScheme();
    if (mask == uint32_t(-1))
        word ^= code;
    else
        word = (word & ~mask) | (code & mask);
    const bool complete = mMatchingStatus == kMatchingFinished || (mFlags & kIs4D);
    if ((word & kFaceColorNeedsCompleteModel) && !complete)
    {
        WarningMessage("Note: This color scheme will not take effect until\nthe polyhedron has been successfully completed.");
        return;
    }
    ColorFaces(&mFaces);
    ColorFaces(&mVerts);
}

void Poly::ColorFaces(ElemList* list)
{
    if (!list || !list->mFirst)
        return;
    ColorFaceList(list, FaceColorScheme());
}

uint32_t Poly::ColorFaceList(ElemList* list, uint32_t scheme)
{
    if (!list || !list->mFirst)
        return scheme;
    const bool dual = list->mFirst->IsVert();
    const int start = dual ? -1 : 0;
    const int direction = dual ? -1 : 1;
    Stellation* stellation = dual ? GetVertStellation() : GetFaceStellation();

    if (scheme & kFaceColorAuto)
    {
        if (!(scheme & kSpecialArrangements) && IsCompound())
        {
            if (!dual)
            {
                ColorByPart();
                mFlags |= kRecolorFaceDiagrams;
                GetShell().InvalidateAllViews(false, 1);
            }
            return scheme;
        }
        const int planeTypes = stellation->GetNumPlaneTypes();
        const uint32_t basic = planeTypes >= 6 ? 0x688u : planeTypes < 2 ? 0x8u : 0x608u;
        scheme = basic | (scheme & kSpecialArrangements);
    }

    int groups = 1;
    std::map<const FaceType*, int> typeGroup;
    std::vector<int> sideCounts;
    if (scheme & kFaceColorByType)
        typeGroup = NumberFaceTypes(stellation, scheme, groups);
    else if (scheme & kFaceColorBySides)
    {
        for (FaceVert* f = list->mFirst; f; f = f->mNext)
        {
            int sides = f->mNumSides;
            if ((scheme & kFaceColorCoplanarAlike) && f->mFaceType)
                if (FaceVert* first = PlaneOwner(f->mFaceType)->mFirstFace)
                    sides = first->mNumSides;
            if (std::find(sideCounts.begin(), sideCounts.end(), sides) == sideCounts.end())
                sideCounts.push_back(sides);
        }
        groups = int(sideCounts.size());
    }

    const bool perFace = (scheme & kFaceColorPerFace) || !(scheme & kFaceColorBasicMask);
    if (perFace)
        for (FaceVert* f = list->mFirst; f; f = f->mNext)
            f->mColor.r = kColorNotSet;
    int perFaceStart = start;

    for (FaceVert* f = list->mFirst; f; f = f->mNext)
    {
        int u = 0;
        if (perFace)
        {
            if (f->mColor.r >= 0.0f)
                continue;
            ColorRGB color;
            GetPaletteColor(perFaceStart, color, 0);
            perFaceStart += direction;
            for (FaceVert* g = f; g; g = g->mNext)
                if (g == f || (g->mColor.r < 0.0f && SameOrOppositeNormal(f->mZAxis, g->mZAxis)))
                {
                    g->mColor = color;
                    g->mBackColor = color;
                }
            continue;
        }
        if (scheme & kFaceColorSingle)
            u = start;
        else if (scheme & kFaceColorBySides)
        {
            int sides = f->mNumSides;
            if ((scheme & kFaceColorCoplanarAlike) && f->mFaceType)
                if (FaceVert* first = PlaneOwner(f->mFaceType)->mFirstFace)
                    sides = first->mNumSides;
            const int n = int(std::find(sideCounts.begin(), sideCounts.end(), sides) - sideCounts.begin());
            u = n * direction + start;
        }
        else
        {
            // By face type; the cross-section scheme colours by type until sections exist.
            const auto it = typeGroup.find(f->mFaceType);
            if (it == typeGroup.end())
                continue;
            u = it->second * direction + start;
        }
        GetPaletteColor(u, f->mColor, 0);
        if ((scheme & kFaceColorFrontBackAlike) || (f->mFlags & FaceVert::kHemi))
            f->mBackColor = f->mColor;
        else
            GetPaletteColor(u + groups * direction, f->mBackColor, 0);
    }
    mFlags |= kRecolorFaceDiagrams;
    GetShell().InvalidateAllViews(false, 1);
    return scheme;
}

void Poly::SetEdgeColorScheme(bool undo)
{
    if (undo)
        GetShell().AddUndo(kUndoKindColorChange, false);
    const int scheme = EdgeColorScheme();
    const bool dual = mShowDual;
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
    GetShell().InvalidateAllViews(false, 1);
}

void Poly::UpdateFaceDiagramColors()
{
    const uint32_t mask = kRecolorFaceDiagrams | kRecolorMorphDiagrams | kRecolorSection;
    if (!(mFlags & mask))
        return;
    const uint32_t options = GetDiagramDrawFlags(false, (mFlags & kOneSided) != 0);
    if (mFlags & kRecolorFaceDiagrams)
    {
        ClearElementFlags(FaceVert::kOpaqueImageInRing);
        for (Stellation* stellation : {GetFaceStellation(), GetVertStellation()})
            for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
            {
                if (type->mCoplanarSource)
                    continue;
                for (FaceVert* f = type->mFirstFace; f; f = f->mNextOfType)
                {
                    if (f->mFlags & FaceVert::kSkip)
                        continue;
                    f->mLoopTypes.Recolor(options, type->mOutline);
                    bool opaqueImage = false;
                    const FaceVert* m = f;
                    do
                    {
                        const FaceImage* image = m->mImage.Get();
                        if (image && !image->HasAlphaChannel() && m->mOpacity == 1.0f)
                            opaqueImage = true;
                        m = m->mNextCoplanar;
                    } while (m && m != f);
                    if (opaqueImage)
                        f->mFlags |= FaceVert::kOpaqueImageInRing;
                }
            }
    }
    if (mFlags & kRecolorMorphDiagrams)
        for (Stellation* stellation : {GetFaceStellation(), GetVertStellation()})
            for (FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
                if (!type->mCoplanarSource)
                    for (FaceVert* f = type->mFirstFace; f; f = f->mNextOfType)
                        if (!(f->mFlags & FaceVert::kSkip))
                            f->mMorphLoopTypes.Recolor(options, type->mMorphOutline);
    if (mFlags & kRecolorSection)
        mSectionLoopTypes.Recolor(options, mOutline);
    mFlags &= ~mask;
    GetShell().InvalidateAllViews(false, 1);
}
