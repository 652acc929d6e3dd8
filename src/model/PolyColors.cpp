#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/SceneParameters.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "model/ColorSchemes.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/FaceTypePreparation.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
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

// The arrangements that exclude each other, one class of axes each.
constexpr uint32_t kArrangementClasses[] = {
    kDodecahedralArrangement1 | kDodecahedralArrangement2,
    kIcosahedralArrangement1 | kIcosahedralArrangement2 | kIcosahedralArrangement3,
    kRhombicTriacontahedralArrangement1 | kRhombicTriacontahedralArrangement2,
    kRhombicDodecahedralArrangement1 | kRhombicDodecahedralArrangement2 | kRhombicDodecahedralArrangement3,
};

// How many palette colours an arrangement takes, once a face type of its rotation order sits on
// its class of axes. The order within a class is the lookup's order of precedence.
struct ArrangementColors
{
    int kind;
    int axisClass;
    int order;
    uint32_t bit;
    int colors;
};
constexpr ArrangementColors kArrangementColors[] = {
    {SymGroup::kIcosahedral, 0, 5, kDodecahedralArrangement1, 4},
    {SymGroup::kIcosahedral, 0, 5, kDodecahedralArrangement2, 6},
    {SymGroup::kIcosahedral, 1, 3, kIcosahedralArrangement1, 5},
    {SymGroup::kIcosahedral, 1, 3, kIcosahedralArrangement2, 5},
    {SymGroup::kIcosahedral, 1, 3, kIcosahedralArrangement3, 10},
    {SymGroup::kIcosahedral, 2, 2, kRhombicTriacontahedralArrangement1, 5},
    {SymGroup::kIcosahedral, 2, 2, kRhombicTriacontahedralArrangement2, 15},
    {SymGroup::kOctahedral, 0, 4, kCubicArrangement, 3},
    {SymGroup::kOctahedral, 1, 3, kOctahedralArrangement, 4},
    {SymGroup::kOctahedral, 2, 2, kRhombicDodecahedralArrangement1, 3},
    {SymGroup::kOctahedral, 2, 2, kRhombicDodecahedralArrangement2, 4},
    {SymGroup::kOctahedral, 2, 2, kRhombicDodecahedralArrangement3, 6},
};

FaceType* PlaneOwner(FaceType* type)
{
    return type && type->mCoplanarSource ? type->mCoplanarSource : type;
}

bool SameOrOppositeNormal(const Vec3D& a, const Vec3D& b)
{
    return Vec3Equal(a, b, kTol) || Vec3EqualNeg(a, b, kTol);
}

// The views whose compound colouring belongs to the stellation's mesh rather than the model.
bool ShowsStellation(int viewType)
{
    switch (viewType)
    {
    case kViewTypeUniStellation:
    case kViewTypeDualStellation:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
    case kViewTypeCellDiagram:
    case kViewTypeNet2D:
    case kViewTypeNet3D:
        return true;
    default:
        return false;
    }
}

// What colouring one side needs besides its list: the scheme's groups and the arrangements.
struct SideColoring
{
    uint32_t scheme = 0;
    int start = 0;
    int direction = 1;
    const SymGroup* group = nullptr;  // only while an arrangement is chosen
    std::vector<FaceType*> types;     // the side's types in list order
    std::unordered_set<const FaceType*> predefined;
    std::vector<int> faceGroup;  // by list index; -1: the face keeps its colours
    int groups = 1;
    int classOffset[3] = {0, 0, 0};
    int perFaceStart = 0;
};

// The palette index the arrangement gives the face, -1 for none; back receives the index of its
// back for a face through the centre.
int PredefinedIndex(const SideColoring& side, FaceVert* face, int* back)
{
    if (!side.group || !face->mFaceType)
        return -1;
    const SymAxisSet* axisClass = PlaneOwner(face->mFaceType)->mAxisClass;
    if (!axisClass)
        return -1;
    return GetPredefinedColorIndex(side.group, side.scheme, axisClass, face, back);
}

void FindPredefinedTypes(SideColoring& side)
{
    if (!side.group)
        return;
    for (FaceType* t : side.types)
    {
        int back = -1;
        if (t->mFirstFace && PredefinedIndex(side, t->mFirstFace, &back) >= 0)
            side.predefined.insert(t);
    }
}

bool IsPredefined(const SideColoring& side, const FaceVert* face)
{
    return face->mFaceType && side.predefined.count(face->mFaceType);
}

// By face type: numbered in list order, chiral and coplanar partners sharing as the modifiers say.
void GroupByFaceType(SideColoring& side, ElemList* list)
{
    std::unordered_map<const FaceType*, int> group;
    int next = 0;
    int collected = 0;
    for (FaceType* t : side.types)
    {
        if (side.predefined.count(t))
            continue;
        ++collected;
        if (group.count(t))
            continue;
        FaceType* owner = PlaneOwner(t);
        const bool coplanarAlike = side.scheme & kFaceColorCoplanarAlike;
        if (coplanarAlike && owner != t && group.count(owner))
        {
            group[t] = group[owner];
            continue;
        }
        const int n = next++;
        group[t] = n;
        if (FaceType* mirror = t->mMirrorFace)
        {
            const bool chiral = side.scheme & kFaceColorChiralAlike;
            const bool coplanarChiral =
                (side.scheme & kFaceColorCoplanarChiralAlike) && (mirror == owner || PlaneOwner(mirror) == owner);
            if (chiral || coplanarChiral)
                group[mirror] = n;
        }
        if (coplanarAlike && owner != t)
            group[owner] = n;
    }
    side.groups = collected;
    for (FaceVert* f = list->mFirst; f; f = f->mNext)
    {
        const auto it = group.find(f->mFaceType);
        if (it != group.end())
            side.faceGroup[size_t(f->mIndex)] = it->second;
    }
}

int SideCountForGroup(const SideColoring& side, const FaceVert* face)
{
    if ((side.scheme & kFaceColorCoplanarAlike) && face->mFaceType)
        if (const FaceVert* first = PlaneOwner(face->mFaceType)->mFirstFace)
            return first->mNumSides;
    return face->mNumSides;
}

// By number of sides: the side counts in order of first appearance, the types' first faces first.
void GroupBySides(SideColoring& side, ElemList* list)
{
    std::vector<int> counts;
    auto position = [&counts](int sides) {
        const auto it = std::find(counts.begin(), counts.end(), sides);
        if (it != counts.end())
            return int(it - counts.begin());
        counts.push_back(sides);
        return int(counts.size()) - 1;
    };
    for (FaceType* t : side.types)
    {
        if (side.predefined.count(t) || !t->mFirstFace)
            continue;
        if ((side.scheme & kFaceColorCoplanarAlike) && t->mCoplanarSource)
            continue;
        position(t->mFirstFace->mNumSides);
    }
    for (FaceVert* f = list->mFirst; f; f = f->mNext)
        if (!IsPredefined(side, f))
            side.faceGroup[size_t(f->mIndex)] = position(SideCountForGroup(side, f));
    side.groups = int(counts.size());
}

// Along the cross-section direction: faces at one height (within 1e-7) and of one type share a
// group; groups count from the highest.
void GroupAlongSection(SideColoring& side, ElemList* list)
{
    Vec3D u, v, n;
    GetSectionFrame(u, v, n);
    struct Height
    {
        FaceVert* face;
        double along;
    };
    std::vector<Height> faces;
    for (FaceVert* f = list->mFirst; f; f = f->mNext)
        if (!IsPredefined(side, f))
            faces.push_back({f, Vec3Dot(f->mCentroid, n)});
    std::stable_sort(faces.begin(), faces.end(), [](const Height& a, const Height& b) { return a.along > b.along; });
    // Each run of heights within 1e-7 of their neighbours is one level, its faces in type order.
    auto typeOrder = [](const FaceVert* f) { return f->mFaceType ? f->mFaceType->mIndex : -1; };
    int groups = 0;
    for (size_t begin = 0; begin < faces.size();)
    {
        size_t end = begin + 1;
        while (end < faces.size() && faces[end - 1].along - faces[end].along <= kTol)
            ++end;
        std::stable_sort(faces.begin() + long(begin), faces.begin() + long(end),
                         [&](const Height& a, const Height& b) { return typeOrder(a.face) < typeOrder(b.face); });
        for (size_t i = begin; i < end; ++i)
        {
            FaceVert* f = faces[i].face;
            const bool joins = i > begin && faces[i - 1].face->mFaceType == f->mFaceType;
            if (!joins)
                ++groups;
            side.faceGroup[size_t(f->mIndex)] = groups - 1;
        }
        begin = end;
    }
    side.groups = groups;
}

// The palette offsets of the arrangements' classes, after the side's own groups on the base side.
void SetPaletteOffsets(SideColoring& side, bool dual)
{
    const bool perFace = (side.scheme & kFaceColorPerFace) || !(side.scheme & kFaceColorBasicMask);
    int offset = 0;
    if (!dual && !perFace)
        offset = side.groups * ((side.scheme & kFaceColorFrontBackAlike) ? 1 : 2);
    if (side.group)
    {
        for (int c = 0; c < side.group->mNumAxisSets && c < 3; ++c)
        {
            side.classOffset[c] = offset;
            for (const ArrangementColors& a : kArrangementColors)
            {
                if (a.kind != side.group->mKind || a.axisClass != c || !(side.scheme & a.bit))
                    continue;
                const bool onAxis = std::any_of(side.types.begin(), side.types.end(),
                                                [&a](const FaceType* t) { return t->mNumRotations == a.order; });
                if (onAxis)
                    offset += a.colors;
                break;
            }
        }
    }
    // Per-face colours of the base side follow the arrangements; the dual's run down from the end.
    side.perFaceStart = dual ? side.start : offset;
}
}  // namespace

FaceColorSchemeChange GetFaceColorMenuChange(uint32_t command, uint32_t word)
{
    if (command == kFaceColorToggleSingleAuto)
        return {(word & kFaceColorSingle) ? kFaceColorAuto : kFaceColorSingle, kFaceColorBasicMask};
    if (command & kFaceColorBasicMask)
        return {command & kFaceColorBasicMask, kFaceColorBasicMask};
    for (uint32_t group : kArrangementClasses)
        if (command & group)
            return {(word & command) ? 0u : command, group};
    return {command, uint32_t(-1)};
}

void Poly::SetFaceColorScheme(uint32_t code, uint32_t mask)
{
    Shell& shell = GetShell();
    if (code == kFaceColorAsCompound)
    {
        // A 4D model's parts and a stellation's parts are coloured by their own meshes.
        if (mPolytope || ShowsStellation(shell.ViewTypeCode(shell.ActiveView())))
            return;
        shell.AddUndo(kUndoColorChange, false);
        ColorAsCompound();
        return;
    }
    shell.AddUndo(kUndoColorChange, false);
    uint32_t& word = FaceColorScheme();
    if (mask == uint32_t(-1))
        word ^= code;
    else
        word = (word & ~mask) | (code & mask);
    // Matching that stopped at a branch point has a whole model as well.
    const bool complete = mMatchingStatus == kMatchingFinished || mMatchingStatus == kMatchingOpenBranches ||
                          (mFlags & kIs4D);
    if ((word & kFaceColorNeedsCompleteModel) && !complete)
    {
        WarningMessage("Note: This color scheme will not take effect until\nthe polyhedron has been successfully completed.");
        return;
    }
    ColorFaces(&mFaces);
    ColorFaces(&mVerts);
}

void Poly::ColorAsCompound()
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
    Shell& shell = GetShell();
    shell.InvalidateModelDisplay(this, false, false);
    shell.InvalidateModelDisplay(this, true, false);
    shell.SetViewMessage(shell.ActiveView(), parts < 2 ? "Couldn't find more than one part in the compound."
                                                       : "Compound has " + std::to_string(parts) + " parts.");
}

void Poly::ColorFaces(ElemList* list)
{
    if (!list || !list->mFirst)
        return;
    ColorFaceList(list, FaceColorScheme());
}

void Poly::ResetFaceTypeRotations()
{
    SymGroup* group = mGroup.get();
    if (!group)
        return;
    for (Stellation& stellation : mStellations)
        for (FaceType* t = stellation.mFirstFaceType; t; t = t->mNextFaceType)
            if (!t->mCoplanarSource)
            {
                t->mAxisClass = nullptr;
                SetRotSym(t, group);
            }
}

uint32_t Poly::ColorFaceList(ElemList* list, uint32_t scheme)
{
    if (!list || !list->mFirst)
        return scheme;
    const bool dual = list->mFirst->IsVert();
    Stellation* stellation = dual ? GetVertStellation() : GetFaceStellation();

    if (scheme & kFaceColorAuto)
    {
        if (!(scheme & kSpecialArrangements) && IsCompound())
        {
            if (!dual)
            {
                ColorByPart();
                mFlags |= kRecolorFaceDiagrams;
                GetShell().InvalidateModelDisplay(this, false, false);
                GetShell().InvalidateModelDisplay(this, true, false);
            }
            return scheme;
        }
        const int planeTypes = stellation->GetNumPlaneTypes();
        const uint32_t basic = planeTypes >= 6 ? 0x688u : planeTypes < 2 ? 0x8u : 0x608u;
        scheme = basic | (scheme & kSpecialArrangements);
    }

    SideColoring side;
    side.scheme = scheme;
    side.start = dual ? -1 : 0;
    side.direction = dual ? -1 : 1;
    if (scheme & kSpecialArrangements)
    {
        ResetFaceTypeRotations();
        side.group = mGroup.get();
    }
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        side.types.push_back(t);
    std::stable_sort(side.types.begin(), side.types.end(),
                     [](const FaceType* a, const FaceType* b) { return a->mIndex < b->mIndex; });
    FindPredefinedTypes(side);
    side.faceGroup.assign(size_t(list->mCount), -1);
    if (scheme & kFaceColorSingle)
        side.faceGroup.assign(size_t(list->mCount), 0);
    else if (scheme & kFaceColorBySides)
        GroupBySides(side, list);
    else if (scheme & kFaceColorByType)
        GroupByFaceType(side, list);
    else if (scheme & kFaceColorAlongSection)
        GroupAlongSection(side, list);
    SetPaletteOffsets(side, dual);

    const bool perFace = !(scheme & (kFaceColorSingle | kFaceColorBySides | kFaceColorByType | kFaceColorAlongSection));
    if (perFace)
        for (FaceVert* f = list->mFirst; f; f = f->mNext)
            f->mColor.r = kColorNotSet;
    int perFaceNext = side.perFaceStart;

    for (FaceVert* f = list->mFirst; f; f = f->mNext)
    {
        int back = -1;
        const int predefined = IsPredefined(side, f) ? PredefinedIndex(side, f, &back) : -1;
        if (predefined >= 0)
        {
            const int c = side.group->GetAxisSetIndex(PlaneOwner(f->mFaceType)->mAxisClass);
            const int offset = c >= 0 && c < 3 ? side.classOffset[c] : 0;
            GetPaletteColor(predefined + offset, f->mColor, 0);
            if (f->mFlags & FaceVert::kHemi)
                GetPaletteColor(offset + back, f->mBackColor, 0);
            else
                f->mBackColor = f->mColor;
            continue;
        }
        if (perFace)
        {
            if (f->mColor.r >= 0.0f)
                continue;
            ColorRGB color;
            GetPaletteColor(perFaceNext, color, 0);
            perFaceNext += side.direction;
            f->mColor = color;
            f->mBackColor = color;
            for (FaceVert* g = f->mNext; g; g = g->mNext)
                if (g->mColor.r < 0.0f && SameOrOppositeNormal(f->mZAxis, g->mZAxis))
                {
                    g->mColor = color;
                    g->mBackColor = color;
                }
            continue;
        }
        const int group = side.faceGroup[size_t(f->mIndex)];
        if (group < 0)
            continue;
        const int u = group * side.direction + side.start;
        GetPaletteColor(u, f->mColor, 0);
        if ((scheme & kFaceColorFrontBackAlike) || (f->mFlags & FaceVert::kHemi))
            f->mBackColor = f->mColor;
        else
            GetPaletteColor(u + side.groups * side.direction, f->mBackColor, 0);
    }

    int index = 0;
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        t->mIndex = index++;
    mFlags |= kRecolorFaceDiagrams;
    GetShell().InvalidateModelDisplay(this, dual, false);
    return scheme;
}

void Poly::SetStellationDiagramColorScheme(int scheme)
{
    if (scheme < 0 || scheme >= kNumStellationDiagramColorSchemes)
        return;
    StellationDiagramColorScheme() = scheme;
    GetShell().InvalidateAllViews(false, 1);
}

void Poly::SetSelectedFaceDisplay(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    SelectedFaceDisplay() = mode;
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
