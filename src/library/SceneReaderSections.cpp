// Reading a scene: the settings, the elements' colours, texts and selections, the stellation
// sections, the images and the drawn facets.

#include "library/SceneReadState.h"

#include "kernel/ColorRGB.h"
#include "kernel/NetTabSettings.h"
#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "library/ColorList.h"
#include "library/SceneTokens.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "polytope4d/Polytope4DOptions.h"
#include "stellation/FacetingSettings.h"

#include <algorithm>
#include <cmath>

namespace
{
// The command Display > Show/Hide All Faces, named in the note about hidden faces.
constexpr int kShowHideAllFacesCommand = 32928;
// A big count is written into 512 bytes.
constexpr size_t kMaxBigCountText = 512;
}  // namespace

template <class Apply>
void SceneReader::ReadColorList(int count, Apply apply)
{
    int32_t lastColor = -1;
    int32_t countLeft = 0;
    for (int i = 0; i < count; ++i)
    {
        const int32_t color = ReadColorListEntry(F(), lastColor, countLeft);
        // A run of no elements ends what the list can say.
        if (color < 0 || F()->mValueMissing)
            return;
        apply(i, uint32_t(color));
    }
}

template <class Apply>
void SceneReader::ReadRuns(int count, Apply apply)
{
    int runCount = 0;
    const std::unique_ptr<RangePair[]> runs = ReadRangeList(F(), runCount);
    if (F()->mValueMissing)
        return;
    for (int r = 0; r < runCount; ++r)
    {
        // A run that reaches past the list is skipped whole.
        const RangePair& run = runs[r];
        if (run.first < 0 || run.first > run.last || run.last >= count)
            continue;
        for (int i = run.first; i <= run.last; ++i)
            apply(i);
    }
}

Duration SceneReader::ReadDuration()
{
    ioFile* f = F();
    // Before 1.1 a time was its milliseconds alone.
    const int64_t days = ioCompareVersion(f, 1, 1) >= 0 ? ioReadInt(f) : 0;
    const int64_t ms = ioReadInt(f);
    return Duration(days, ms);
}

BigUInt SceneReader::ReadBigCount()
{
    const std::string text = ioReadString(F(), false);
    BigUInt value;
    if (text.size() < kMaxBigCountText)
        value.FromText(text.c_str());
    return value;
}

std::vector<uint32_t> SceneReader::ReadCountedColors()
{
    ioFile* f = F();
    const int count = ioReadInt(f);
    std::vector<uint32_t> colors;
    if (f->mValueMissing || count <= 0)
        return colors;
    if (!StreamHolds(f, count, 4))
    {
        Corrupt();
        return colors;
    }
    colors.resize(size_t(count));
    for (uint32_t& c : colors)
        c = uint32_t(ioReadInt(f));
    return colors;
}

void SceneReader::ReadElementItem(int token)
{
    ioFile* f = F();
    switch (token)
    {
    case kTokEdgeColors:
    {
        // The edges of a 4D model belong to its polytope, which files do not give models yet.
        const int count = mPoly->mPolytope ? 0 : mPoly->mEdges.count;
        ReadColorList(count, [this](int i, uint32_t color) { ColorFromRGB(mPoly->mEdges[i].mColor, color); });
        return;
    }
    case kTokDualEdgeColors:
        // The faces of a 4D model's polytope: none until files give 4D models.
        return;
    case kTokEdgeText:
    {
        const int index = ioReadInt(f);
        const std::string text = ioReadString(f, true);
        if (!ValueMissing())
            if (Edge* edge = mPoly->GetEdge(index); edge && index >= 0)
                PolyElement::SetText(edge, text.c_str());
        return;
    }
    case kTokBaseFace:
    case kTokDualFace:
    {
        const int index = ioReadInt(f);
        if (ValueMissing())
            return;
        const bool dual = token == kTokDualFace;
        if (FaceVert* element = Element(dual ? static_cast<ElemList&>(mPoly->mVerts) : mPoly->mFaces, index))
            (dual ? mPoly->GetVertStellation() : mPoly->GetFaceStellation())->SetSelectedFace(element);
        return;
    }
    default:
        return;
    }
}

void SceneReader::NoteHiddenFaces()
{
    std::string menu = mHost.GetCommandMenuText(kShowHideAllFacesCommand);
    if (menu.empty())
        menu = "Display->Show/Hide All Faces";
    Shell& shell = GetShell();
    shell.SetViewMessage(shell.NextView(nullptr),
                         "Note: Some faces are hidden\nTo unhide all faces use \"" + menu + "\"");
    shell.InvalidateAllViews(false, 1);
}

void SceneReader::ReadSectionItem(int token)
{
    ioFile* f = F();
    SceneStellationState* section = mSection >= 0 ? &mSections[mSection] : nullptr;
    // Without a section the items are read and dropped: no list receives them.
    ElemList* list = nullptr;
    if (section)
        list = mSection == 0 ? static_cast<ElemList*>(&mPoly->mFaces) : static_cast<ElemList*>(&mPoly->mVerts);
    const int count = list && !mPoly->mPolytope ? list->mCount : 0;
    switch (token)
    {
    case kTokFaceColor:
    case kTokBackFaceColor:
    {
        const bool front = token == kTokFaceColor;
        if (section)
            section->colored = true;
        ReadColorList(count, [&](int i, uint32_t color) {
            if (FaceVert* e = Element(*list, i))
            {
                if (front)
                    ColorFromRGB(e->mColor, color);
                ColorFromRGB(e->mBackColor, color);
            }
        });
        return;
    }
    case kTokFaceColors:
    case kTokBackFaceColors:
    {
        const std::vector<uint32_t> colors = ReadCountedColors();
        const bool front = token == kTokFaceColors;
        if (section && front)
            section->colored = true;
        for (int i = 0; i < count && i < int(colors.size()); ++i)
            if (FaceVert* e = Element(*list, i))
                ColorFromRGB(front ? e->mColor : e->mBackColor, colors[size_t(i)]);
        return;
    }
    case kTokFaceTypeColors:
    case kTokBackFaceTypeColors:
    {
        std::vector<uint32_t> colors = ReadCountedColors();
        if (!section || f->mValueMissing)
            return;
        section->faceTypeColorCount = int(colors.size());
        (token == kTokFaceTypeColors ? section->faceTypeColors : section->backFaceTypeColors) = std::move(colors);
        return;
    }
    case kTokAlpha:
    {
        const float alpha = ioReadFloat(f);
        const bool usable = std::isfinite(alpha) && alpha >= 0.0f && alpha <= 1.0f;
        ReadRuns(usable ? count : 0, [&](int i) {
            if (FaceVert* e = Element(*list, i))
                e->SetOpacity(alpha);
        });
        return;
    }
    case kTokHidden:
    {
        bool any = false;
        ReadRuns(count, [&](int i) {
            if (FaceVert* e = Element(*list, i))
            {
                e->mFlags |= FaceVert::kHidden;
                any = true;
            }
        });
        if (any)
            NoteHiddenFaces();
        return;
    }
    case kTokSmoothFaces:
    case kTokFrontHidden:
        ReadRuns(count, [&](int i) {
            if (FaceVert* e = Element(*list, i))
                e->mFlags |= FaceVert::kSmooth;
        });
        return;
    case kTokHiddenEdges:
    {
        bool any = false;
        ReadRuns(mPoly->mPolytope ? 0 : mPoly->mEdges.count, [&](int i) {
            mPoly->mEdges[i].mFlags |= Edge::kHidden;
            any = true;
        });
        if (any)
            GetShell().InvalidateAllViews(false, 1);
        return;
    }
    case kTokNetCells:
    {
        // Pairs of cell numbers of a 4D polytope's net: read and dropped until files give 4D models.
        const int pairs = ioReadInt(f);
        if (f->mValueMissing || pairs < 0 || !StreamHolds(f, int64_t(pairs) * 2, 4))
        {
            Corrupt();
            return;
        }
        for (int i = 0; i < 2 * pairs; ++i)
            ioReadInt(f);
        return;
    }
    case kTokGluedFaces:
        ReadRuns(0, [](int) {});
        return;
    case kTokFaceText:
    {
        const int index = ioReadInt(f);
        const std::string text = ioReadString(f, true);
        if (list && !f->mValueMissing && index >= 0 && index < count)
            if (FaceVert* e = Element(*list, index))
                PolyElement::SetText(e, text.c_str());
        return;
    }
    case kTokUsedCellRanges:
    case kTokEnumCellRanges:
    {
        int runCount = 0;
        std::unique_ptr<RangePair[]> runs = ReadRangeList(f, runCount);
        if (!section || f->mValueMissing)
            return;
        if (token == kTokUsedCellRanges)
        {
            section->usedCellCount = runCount;
            section->usedCells = std::move(runs);
        }
        else
        {
            section->enumCellCount = runCount;
            section->enumCells = std::move(runs);
        }
        return;
    }
    case kTokNumStellations:
    case kTokNumChirals:
    case kTokNumMillerExceptions:
    case kTokFacetingTotalNum:
    case kTokFacetingNumChirals:
    case kTokFacetingNumCompounds:
    {
        BigUInt value = ReadBigCount();
        if (!section)
            return;
        switch (token)
        {
        case kTokNumStellations:
            section->enumerationRead = true;
            section->numStellations = std::move(value);
            break;
        case kTokNumChirals:
            section->numChirals = std::move(value);
            break;
        case kTokNumMillerExceptions:
            section->numMillerExceptions = std::move(value);
            break;
        case kTokFacetingTotalNum:
            section->facetingTotal = std::move(value);
            break;
        case kTokFacetingNumChirals:
            section->facetingChirals = std::move(value);
            break;
        default:
            section->facetingCompounds = std::move(value);
            break;
        }
        return;
    }
    case kTokMaxCellSoFar:
    case kTokMaxNumCells:
    {
        const int value = ioReadInt(f);
        if (section)
            (token == kTokMaxCellSoFar ? section->maxCellSoFar : section->maxNumCells) = value;
        return;
    }
    case kTokTimeTaken:
    case kTokStartSubTime:
    case kTokEndSubTime:
    case kTokEndTime:
    case kTokFacetingTime:
    {
        const Duration time = ReadDuration();
        if (!section)
            return;
        (token == kTokTimeTaken      ? section->timeTaken
         : token == kTokStartSubTime ? section->startSubTime
         : token == kTokEndSubTime   ? section->endSubTime
         : token == kTokEndTime      ? section->endTime
                                     : section->facetingTime) = time;
        return;
    }
    default:
        return;
    }
}

void SceneReader::ReadImageItem(int token)
{
    ioFile* f = F();
    switch (token)
    {
    case kTokImage:
    case kTokImageWithBorder:
    {
        SceneImage image;
        image.path = ioReadString(f, false);
        image.projection = ioCompareVersion(f, 8, 5) >= 0 ? ioReadEnum(f, kImageProjectionNames) : 1;
        image.boundary = ioReadEnum(f, kImageBoundaryNames);
        image.element = ioReadInt(f);
        if (token == kTokImageWithBorder)
            image.borderColor = ioReadInt(f);
        if (f->mValueMissing)
            return;
        // Kept with its sub-items until images are placed from files.
        mImages.push_back(std::move(image));
        mImage = &mImages.back();
        return;
    }
    case kTokImageAxes:
    {
        Vec3D axes[2];
        ioReadVec3(f, axes[0]);
        ioReadVec3(f, axes[1]);
        if (mImage)
        {
            mImage->axes[0] = axes[0];
            mImage->axes[1] = axes[1];
        }
        return;
    }
    case kTokApplySeparately:
        if (mImage)
            mImage->projection = 0;
        return;
    case kTokKeepImageUpright:
    case kTokUseColorToo:
    case kTokImageFlip:
        if (mImage)
            mImage->flags |= token == kTokKeepImageUpright ? 0x10u : token == kTokUseColorToo ? 0x1u : 0x2u;
        return;
    case kTokImageOffset:
    {
        const double x = ioReadDouble(f);
        const double y = ioReadDouble(f);
        if (mImage)
        {
            mImage->offset[0] = x;
            mImage->offset[1] = y;
        }
        return;
    }
    case kTokImageRotation:
    case kTokImageHeight:
    case kTokImageStretch:
    {
        const double value = ioReadDouble(f);
        if (mImage)
            (token == kTokImageRotation ? mImage->rotation
             : token == kTokImageHeight ? mImage->height
                                        : mImage->stretch) = value;
        return;
    }
    case kTokImageFaces:
    {
        int runCount = 0;
        std::unique_ptr<RangePair[]> runs = ReadRangeList(f, runCount);
        if (mImage)
        {
            mImage->runCount = runCount;
            mImage->runs = std::move(runs);
        }
        return;
    }
    default:
        return;
    }
}

void SceneReader::ReadFacet(bool partial)
{
    ioFile* f = F();
    const int count = ioReadInt(f);
    if (f->mValueMissing || count < 0 || !StreamHolds(f, int64_t(count) * 3, 8))
    {
        Corrupt();
        return;
    }
    std::vector<Vec3D> points(static_cast<size_t>(count));
    for (Vec3D& p : points)
    {
        ioReadVec3(f, p);
        if (!AllFinite(p))
        {
            Corrupt();
            return;
        }
    }
    if ((mOptions & kSceneModelOnly) || f->mValueMissing)
        return;
    Polygon3D* polygon = mPoly->mCurrentDrawnPolygon;
    if (!polygon)
        return;
    for (const Vec3D& p : points)
        AddRingVert(0.0, 0.0, nullptr, &p, polygon->mRing);
    polygon->Prepare();
    if (!partial)
        mPoly->CloseDrawnPolygon(true, false);
}

void SceneReader::ReadSettingItem(int token)
{
    ioFile* f = F();
    const bool modelOnly = (mOptions & kSceneModelOnly) != 0;
    SceneParameters& scene = GetSceneParameters();
    UnitSettings& units = GetUnitSettings();
    FacetingSettings& faceting = GetFacetingSettings();
    switch (token)
    {
    case kTokHideCells:
    {
        const int mode = ioReadEnum(f, kHideCellsNames);
        if (!mPreserveViews && !f->mValueMissing)
            SetCellHidingMode4D(mode);
        return;
    }
    case kTokMorphRatio:
    case kTokFoldRatio:
    case kTokShrink4D:
    case kTokNetShrink4D:
    case kTokSliceRatio:
    {
        const double value = ioReadDouble(f);
        if (mPreserveViews || f->mValueMissing || !std::isfinite(value))
            return;
        if (token == kTokMorphRatio)
            SetMorphRatio(value, false);
        else if (token == kTokNetShrink4D)
            SetNetShrink4D(value, false);
        else if (token == kTokFoldRatio)
            scene.foldRatio = value;
        else if (token == kTokShrink4D)
            scene.shrink4D = value;
        else
            scene.sliceRatio = value;
        return;
    }
    case kTokSliceSameAsProj:
    {
        const bool same = ioReadBool(f);
        if (!mPreserveViews)
            scene.sliceSameAsProj = same;
        return;
    }
    case kTokSliceMat:
    {
        // Taken also when the panes keep their state: the cross-section belongs to the model.
        Mat4 m;
        bool finite = true;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
            {
                m.At(row, col) = ioReadDouble(f);
                finite = finite && std::isfinite(m.At(row, col));
            }
        if (finite && !f->mValueMissing)
            scene.sliceMatrix = m;
        return;
    }
    case kTokCriteria:
    {
        const int criterion = ioReadEnum(f, kStellationCriterionNames);
        if (!modelOnly)
            mStellationCriterion = criterion;
        return;
    }
    case kTokCriteriaAllFaceTypes:
        mStellationOptions |= 0x2;
        return;
    case kTokCriteriaFullSupNeedsCore:
        mStellationOptions |= 0x4;
        return;
    case kTokCriteriaReflexible:
        mStellationOptions |= 0x1;
        return;
    case kTokShowCellLines:
        if (!modelOnly)
            mShowCellLines = true;
        return;
    case kTokFacetingCriteria:
    {
        const int criterion = ioReadEnum(f, kFacetingCriterionNames);
        if (!modelOnly && criterion >= kFacetingIsohedral && criterion <= kFacetingCoplanarVerts)
            faceting.criterion = criterion;
        return;
    }
    case kTokMinFacets:
    case kTokMaxFacets:
    {
        const int value = ioReadInt(f);
        if (modelOnly || f->mValueMissing || value < 0)
            return;
        (token == kTokMinFacets ? faceting.minFacets : faceting.maxFacets) = value;
        return;
    }
    case kTokPartialFacetingOK:
        mFacetingOptions |= kFacetingPartialOK;
        return;
    case kTokSpikyFaceting:
        mFacetingOptions |= kFacetingSpikyOnly;
        return;
    case kTokMaxFacesPerNet:
    {
        int value = ioReadInt(f);
        // Before 5.2 a thousand stood for no limit.
        if (value == 1000 && ioCompareVersion(f, 5, 2) < 0)
            value = 1000000;
        if (!mPreserveViews && !f->mValueMissing && value > 0)
            units.mMaxFacesPerNet = value;
        return;
    }
    case kTokCoincEdgeMethod:
    {
        const int method = ioReadEnum(f, kCoincEdgeMethodNames);
        if (ioEnumIndex(kCoincEdgeMethodNames, method) >= 0)
            units.mCoincEdgeMethod = method;
        return;
    }
    case kTokSingleColorPages:
        units.mColorPagesMode = kSingleColorPages;
        return;
    case kTokMultiColorPages:
        units.mColorPagesMode = kMultiColorPages;
        return;
    case kTokNetSpacing:
    {
        int spacing = ioReadInt(f);
        // Before 8.8 the spacing held the tabs on both sides.
        if (ioCompareVersion(f, 8, 8) < 0)
            spacing = std::max(0, int(std::lround(double(spacing) - 2.0 * GetNetTabSettings().tabSize)));
        if (!f->mValueMissing && spacing >= 0)
            units.mNetSpacing = spacing;
        return;
    }
    case kTokPrintDashedLines:
        units.mPrintDashedLines = true;
        return;
    case kTokPrintGivenNumNets:
        units.mPrintGivenNumNets = true;
        return;
    case kTokPrintCellLines:
        units.mPrintCellLines = ioReadBool(f) ? 1 : 0;
        return;
    case kTokNumExtraNets:
    case kTokNumNetsToPrint:
    {
        const int value = ioReadInt(f);
        if (!f->mValueMissing && value >= 0)
            (token == kTokNumExtraNets ? units.mNumExtraNets : units.mNumNetsToPrint) = value;
        return;
    }
    case kTokPrintShading:
    {
        const int shading = ioReadEnum(f, kPrintShadingNames);
        if (shading >= kPrintShadingAuto && shading <= kPrintShadingColor)
            units.mPrintShading = shading;
        return;
    }
    case kTokPrintShadeMax:
    {
        const float value = ioReadFloat(f);
        if (std::isfinite(value))
            units.mPrintShadeMax = value;
        return;
    }
    default:
        return;
    }
}

