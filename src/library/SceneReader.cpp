// Reading a scene: the item loop, the header, panes, settings, stellation sections and images, and
// the post-processing that applies what was collected before the model stood.

#include "library/SceneReadState.h"

#include "kernel/MouseThrow.h"
#include "kernel/Paths.h"
#include "kernel/Progress.h"
#include "kernel/SceneParameters.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "kernel/WaitCursor.h"
#include "library/SceneTokens.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4DOptions.h"
#include "stellation/FacetingSettings.h"

#include <cmath>
#include <cstdarg>
#include <cstring>

namespace
{
constexpr char kCorruptText[] = "Failed to load file (may be corrupt)";
constexpr char kUnknownTokenText[] = "Unknown token '";

// What one read changes of the program's settings, put back when the read fails.
struct SettingsSnapshot
{
    UnitSettings units = GetUnitSettings();
    SceneParameters scene = GetSceneParameters();
    FacetingSettings faceting = GetFacetingSettings();
    int cellHiding = GetCellHidingMode4D();

    void Restore() const
    {
        GetUnitSettings() = units;
        GetSceneParameters() = scene;
        GetFacetingSettings() = faceting;
        SetCellHidingMode4D(cellHiding);
    }
};
}  // namespace

SceneReader::SceneReader(SceneStreams& streams, const char* path, Poly* poly, PolyTemplate* templ, int options,
                         SceneFileInfo& info)
    : mStreams(streams), mPath(path ? path : ""), mPoly(poly), mTemplate(templ), mOptions(options), mInfo(info),
      mHost(GetSceneHost())
{
    // Every message of the read passes here to be counted. An unknown word in ASCII is reported once,
    // by the item loop as an illegal token, not also by the token layer.
    ioFile* f = streams.outer;
    const ioErrorFunc forward = f->mError;
    mOuterCallbacks = ioSetCallbacks(f, nullptr, [this, forward](int level, const char* fullText, const char* text) {
        if (level > 0 && std::strncmp(text, kUnknownTokenText, sizeof kUnknownTokenText - 1) == 0)
        {
            mUnknownWord.assign(text + sizeof kUnknownTokenText - 1);
            if (!mUnknownWord.empty() && mUnknownWord.back() == '\'')
                mUnknownWord.pop_back();
            return 0;
        }
        if (level > 0)
            ++mErrors;
        else if (!(mOptions & (kSceneNoMessages | kSceneErrorsOnly)))
            ++mWarnings;
        return forward ? forward(level, fullText, text) : 0;
    });
}

SceneReader::~SceneReader()
{
    mStreams.CloseBlock();
    ioRestoreCallbacks(mStreams.outer, mOuterCallbacks);
}

void SceneReader::ReportError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessageText(512, format, args);
    va_end(args);
    ioFile* f = F();
    if (f->mError)
        f->mError(1, text.c_str(), text.c_str());
    else
        ++mErrors;
    mOk = false;
}

bool SceneReader::Spoke() const
{
    return mErrors > 0 || mWarnings > 0 || GetMessageBoxCount() != mBoxesAtStart;
}

void SceneReader::Corrupt()
{
    if (!mCorruptReported && !Spoke())
        ReportError("%s", kCorruptText);
    else
        ++mErrors;
    mCorruptReported = true;
    mOk = false;
}

bool SceneReader::ValueMissing()
{
    if (!F()->mValueMissing)
        return false;
    Corrupt();
    return true;
}

bool SceneReader::ViewsApplied() const
{
    return !mPreserveViews && mHost.CountViews() > 0;
}

bool SceneReader::IsHeaderItem(int token) const
{
    switch (token)
    {
    case kTokHeader:
    case kTokScene:
    case kTokDualName:
    case kTokComments:
    case kTokLink:
    case kTokNumCells:
    case kTokNumFaces:
    case kTokNumEdges:
    case kTokNumVerts:
    case kTokNumGenCells:
    case kTokNumGenFaces:
    case kTokNumGenEdges:
    case kTokNumGenVerts:
        return true;
    default:
        return false;
    }
}

bool SceneReader::Read()
{
    ScopedWaitCursor wait;
    ProgressScope progress;
    mBoxesAtStart = GetMessageBoxCount();
    mInfo.major = F()->mMajor;
    mInfo.minor = F()->mMinor;
    mInfo.form = F()->mMode;
    const bool headerOnly = (mOptions & kSceneHeaderOnly) != 0;
    mPreserveViews = (mOptions & (kSceneModelOnly | kSceneHeaderOnly)) || KeepLayoutWhenOpening();
    const SettingsSnapshot saved;
    if (!headerOnly)
        mHost.BeginSceneRead();
    if (!mPreserveViews)
        StopAllMouseThrows();
    if (!(mOptions & (kSceneModelOnly | kSceneHeaderOnly)))
    {
        // What files may leave out starts from its default.
        UnitSettings& units = GetUnitSettings();
        mShowCellLines = false;
        units.mColorPagesMode = kAutoColorPages;
        units.mPrintDashedLines = false;
        units.mPrintCellLines = 2;
        units.mPrintGivenNumNets = false;
    }

    const std::string fileName = GetFileNamePart(mPath.c_str());
    while (mOk && !mStop && mErrors == 0)
    {
        mUnknownWord.clear();
        const int token = ioReadToken(F());
        if (token == kIoNoToken)
        {
            if (!mStreams.nested)
                break;
            mStreams.CloseBlock();
            continue;
        }
        if (token != kTokImage && token != kTokImageWithBorder)
        {
            const ioFile* f = F();
            const double fraction = f->mMode == kIoMemory && f->mMemSize > 0 ? double(f->mMemPos) / f->mMemSize : 0.1;
            if (!ShowProgress(fraction, "Reading file %s", fileName.c_str()))
            {
                mCancelled = true;
                mOk = false;
                break;
            }
        }
        if (headerOnly && !IsHeaderItem(token))
        {
            mStop = true;
            break;
        }
        ReadItem(token);
    }

    if (mOk && !mCancelled && mErrors == 0 && !headerOnly)
        PostProcess();
    mStreams.CloseBlock();
    const bool succeeded = mOk && !mCancelled && mErrors == 0;
    if (!succeeded || (mOptions & kSceneKeepSettings))
        saved.Restore();
    if (!headerOnly)
        mHost.EndSceneRead(succeeded);
    return succeeded;
}

bool SceneReader::ReadItem(int token)
{
    ioFile* f = F();
    switch (token)
    {
    case kTokEndScene:
        return true;
    case kTokHeader:
    case kTokBody:
        if (!ReadDataBlock(mStreams))
            Corrupt();
        return mOk;
    case kTokScene:
    case kTokDualName:
    case kTokLink:
    case kTokComments:
    case kTokNumCells:
    case kTokNumFaces:
    case kTokNumEdges:
    case kTokNumVerts:
    case kTokNumGenCells:
    case kTokNumGenFaces:
    case kTokNumGenEdges:
    case kTokNumGenVerts:
        ReadHeaderItem(token);
        break;
    case kTokUN:
    case kTokUE:
    case kTokVAD:
        ioReadString(f, false);
        break;
    case kTokMicroText:
        ioReadInt(f);
        ioReadString(f, false);
        break;
    case kTokTextColor:
        ioReadInt(f);
        break;

    case kTokLayoutSection:
        if (!mHost.ReadLayoutSection(f, ViewsApplied()))
            Corrupt();
        else if (ViewsApplied())
            mLayoutApplied = true;
        break;
    case kTokMouseThrows:
        if (!mHost.ReadMouseThrows(f, ViewsApplied()))
            Corrupt();
        break;
    case kTokViewType:
    case kTokCameraPos:
    case kTokXAxis:
    case kTokYAxis:
    case kTokZAxis:
    case kTokFovY:
    case kTokExplosionScale:
    case kTokProj4DType:
    case kTokProj4DMat:
    case kTokZoom2D:
    case kTokScale2D:
    case kTokTwist2D:
    case kTokCanvas:
    case kTokScrollPosMiddle:
    case kTokScrollPos:
        ReadViewItem(token);
        break;

    case kTokCurrentIsDual:
        mCurrentIsDual = true;
        break;
    case kTokVariation:
        mVariation = true;
        break;
    case kTokOldStyleAxes:
        mOldStyleAxes = true;
        break;
    case kTokDontReorderUniFaces:
        mReorderUniFaces = false;
        break;
    case kTokConvex:
        mConvex = mRadiallyConvex = mNonSelfIntersecting = true;
        break;
    case kTokRadiallyConvex:
        mRadiallyConvex = mNonSelfIntersecting = true;
        break;
    case kTokNonSelfIntersecting:
        mNonSelfIntersecting = true;
        break;
    case kTokVertexDescription:
        mVertexDescription = ioReadString(f, false);
        break;
    case kTokSpringDesc:
        mSpringDesc = ioReadString(f, true);
        break;
    case kTokPoly:
        ReadPoly();
        break;
    case kTokTope:
        ReadTope();
        break;
    case kTokVertexFaces:
        ReadVertexFaces();
        break;
    case kTokEmptyFaceNormals:
        ReadEmptyNormals();
        break;
    case kTokSubSymmetry:
        mSubSymmetry[0] = ioReadInt(f);
        mSubSymmetry[1] = ioReadInt(f);
        break;
    case kTokScale:
    {
        const double scale = ioReadDouble(f);
        if (ValueMissing())
            return false;
        if (!BuildModel())
        {
            // Nothing may speak twice: the builders have told the user, or this does.
            if (mOk)
                Corrupt();
            return false;
        }
        if (std::isfinite(scale) && scale > 0.0)
        {
            UnitSettings& units = GetUnitSettings();
            units.SetScale(scale * UnitSettings::kTwipsPerCm / units.mTwipsPerUnit, false);
        }
        break;
    }

    case kTokEdgeColors:
    case kTokDualEdgeColors:
    case kTokEdgeText:
    case kTokBaseFace:
    case kTokDualFace:
        ReadElementItem(token);
        break;
    case kTokFacet:
    case kTokPartialFacet:
        ReadFacet(token == kTokPartialFacet);
        break;

    case kTokHideCells:
    case kTokMorphRatio:
    case kTokFoldRatio:
    case kTokShrink4D:
    case kTokNetShrink4D:
    case kTokSliceRatio:
    case kTokSliceSameAsProj:
    case kTokSliceMat:
    case kTokCriteria:
    case kTokCriteriaAllFaceTypes:
    case kTokCriteriaFullSupNeedsCore:
    case kTokCriteriaReflexible:
    case kTokShowCellLines:
    case kTokFacetingCriteria:
    case kTokMinFacets:
    case kTokMaxFacets:
    case kTokPartialFacetingOK:
    case kTokSpikyFaceting:
    case kTokMaxFacesPerNet:
    case kTokCoincEdgeMethod:
    case kTokSingleColorPages:
    case kTokMultiColorPages:
    case kTokNetSpacing:
    case kTokPrintDashedLines:
    case kTokPrintGivenNumNets:
    case kTokPrintCellLines:
    case kTokNumExtraNets:
    case kTokNumNetsToPrint:
    case kTokPrintShading:
    case kTokPrintShadeMax:
        ReadSettingItem(token);
        break;

    case kTokStellation:
    case kTokDualStellation:
        mSection = token == kTokStellation ? 0 : 1;
        break;
    case kTokFaceColor:
    case kTokBackFaceColor:
    case kTokFaceColors:
    case kTokBackFaceColors:
    case kTokFaceTypeColors:
    case kTokBackFaceTypeColors:
    case kTokAlpha:
    case kTokHidden:
    case kTokSmoothFaces:
    case kTokFrontHidden:
    case kTokHiddenEdges:
    case kTokNetCells:
    case kTokGluedFaces:
    case kTokFaceText:
    case kTokUsedCellRanges:
    case kTokEnumCellRanges:
    case kTokNumStellations:
    case kTokNumChirals:
    case kTokNumMillerExceptions:
    case kTokMaxCellSoFar:
    case kTokMaxNumCells:
    case kTokTimeTaken:
    case kTokStartSubTime:
    case kTokEndSubTime:
    case kTokEndTime:
    case kTokFacetingTotalNum:
    case kTokFacetingNumChirals:
    case kTokFacetingNumCompounds:
    case kTokFacetingTime:
        ReadSectionItem(token);
        break;

    case kTokImage:
    case kTokImageWithBorder:
    case kTokImageAxes:
    case kTokApplySeparately:
    case kTokKeepImageUpright:
    case kTokUseColorToo:
    case kTokImageFlip:
    case kTokImageOffset:
    case kTokImageRotation:
    case kTokImageHeight:
    case kTokImageStretch:
    case kTokImageFaces:
        ReadImageItem(token);
        break;

    case kTokBaseModel3D:
    case kTokDualModel3D:
    case kTokEdgeCut:
    case kTokEdgeTabNone:
    case kTokEdgeTabSingleWith:
    case kTokEdgeTabSingleWithout:
    case kTokEdgeTabDouble:
        // The net edges end the scene: post-processing reads them once the model is complete.
        ioUnreadToken(f, token);
        mStop = true;
        return true;

    default:
        if (!mIllegalTokenReported)
        {
            mIllegalTokenReported = true;
            if (f->mMode == kIoAscii)
            {
                const char* name = GetSceneTokenName(token);
                const std::string word = name && *name ? std::string(name) : mUnknownWord;
                ReportError("Illegal Orvane token '%s' (%d)", word.c_str(), token);
            }
            else
                ReportError("Illegal Orvane token (%d)", token);
        }
        // A damaged stream is out of step: what follows cannot be read in sense.
        mOk = false;
        return false;
    }
    if (mOk)
        ValueMissing();
    return mOk;
}

void SceneReader::ReadHeaderItem(int token)
{
    ioFile* f = F();
    switch (token)
    {
    case kTokScene:
        mInfo.baseName = ioReadString(f, false);
        break;
    case kTokDualName:
        mInfo.dualName = ioReadString(f, false);
        break;
    case kTokLink:
        mInfo.link = ioReadString(f, true);
        break;
    case kTokComments:
        mInfo.comments = ioReadString(f, true);
        break;
    case kTokNumCells:
        mInfo.numCells = ioReadInt(f);
        break;
    case kTokNumFaces:
        mInfo.numFaces = ioReadInt(f);
        break;
    case kTokNumEdges:
        mInfo.numEdges = ioReadInt(f);
        break;
    case kTokNumVerts:
        mInfo.numVerts = ioReadInt(f);
        break;
    case kTokNumGenCells:
        mInfo.numGenCells = ioReadInt(f);
        break;
    case kTokNumGenFaces:
        mInfo.numGenFaces = ioReadInt(f);
        break;
    case kTokNumGenEdges:
        mInfo.numGenEdges = ioReadInt(f);
        break;
    case kTokNumGenVerts:
        mInfo.numGenVerts = ioReadInt(f);
        break;
    default:
        break;
    }
}

void SceneReader::ReadViewItem(int token)
{
    ioFile* f = F();
    const bool current = mViewIndex >= 0;
    switch (token)
    {
    case kTokViewType:
    {
        const int value = ioReadEnum(f, kViewTypeNames);
        if (ValueMissing() || mErrors > 0 || !ViewsApplied())
            return;
        const int index = mViewIndex + 1;
        if (!mHost.SetViewType(index, ViewTypeFromIndex(value)))
        {
            ReportError("'%s'\nCan't load .orva file.\nYou probably need a newer version\nof the program to open this "
                        "file.",
                        mPath.c_str());
            return;
        }
        mViewIndex = index;
        mHost.GetViewState(index, mView);
        return;
    }
    case kTokCameraPos:
    case kTokXAxis:
    case kTokYAxis:
    case kTokZAxis:
    {
        Vec3D v;
        ioReadVec3(f, v);
        if (!current || !AllFinite(v))
            return;
        Vec3D& target = token == kTokCameraPos ? mView.cameraPos
                        : token == kTokXAxis   ? mView.xAxis
                        : token == kTokYAxis   ? mView.yAxis
                                               : mView.zAxis;
        target = v;
        mHost.SetViewState(mViewIndex, mView, kSceneViewCamera);
        return;
    }
    case kTokFovY:
    {
        const double fov = ioReadDouble(f);
        if (current && std::isfinite(fov) && fov > 0.0 && fov < 180.0)
        {
            mView.fovY = fov;
            mHost.SetViewState(mViewIndex, mView, kSceneViewFov);
        }
        return;
    }
    case kTokExplosionScale:
    {
        const double scale = ioReadDouble(f);
        if (current && std::isfinite(scale))
        {
            mView.explosionScale = scale;
            mHost.SetViewState(mViewIndex, mView, kSceneViewExplosion);
        }
        return;
    }
    case kTokProj4DType:
    {
        const int type = ioReadEnum(f, kProjection4DNames);
        if (current && type >= 0 && type <= 2)
        {
            mView.projection4D = type;
            mHost.SetViewState(mViewIndex, mView, kSceneViewProjection4D);
        }
        return;
    }
    case kTokProj4DMat:
    {
        Mat4 m;
        bool finite = true;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
            {
                m.At(row, col) = ioReadDouble(f);
                finite = finite && std::isfinite(m.At(row, col));
            }
        if (current && finite)
        {
            mView.rotation4D = m;
            mHost.SetViewState(mViewIndex, mView, kSceneViewRotation4D);
        }
        return;
    }
    case kTokZoom2D:
    case kTokScale2D:
    {
        const float value = ioReadFloat(f);
        if (!current || !std::isfinite(value) || !(value > 0.0f))
            return;
        if (token == kTokZoom2D)
            mView.zoom2D = value;
        else if (mView.clientHeight > 0)
            mView.zoom2D = value / float(mView.clientHeight);
        else
            return;
        mHost.SetViewState(mViewIndex, mView, kSceneViewZoom2D);
        mHost.GetViewState(mViewIndex, mView);
        return;
    }
    case kTokTwist2D:
    {
        const float twist = ioReadFloat(f);
        if (current && std::isfinite(twist))
        {
            mView.twist2D = twist;
            mHost.SetViewState(mViewIndex, mView, kSceneViewTwist2D);
        }
        return;
    }
    case kTokCanvas:
    {
        float c[4];
        bool finite = true;
        for (float& v : c)
        {
            v = ioReadFloat(f);
            finite = finite && std::isfinite(v);
        }
        if (current && finite)
        {
            std::memcpy(mView.canvas, c, sizeof c);
            mHost.SetViewState(mViewIndex, mView, kSceneViewCanvas);
            mHost.GetViewState(mViewIndex, mView);
        }
        return;
    }
    case kTokScrollPosMiddle:
    case kTokScrollPos:
    {
        const float x = ioReadFloat(f);
        const float y = ioReadFloat(f);
        if (!current || !std::isfinite(x) || !std::isfinite(y))
            return;
        if (token == kTokScrollPosMiddle)
        {
            // The point that was at the middle of the pane comes to its middle again.
            mView.scrollX = x * mView.zoomX - float(mView.clientWidth) / 2.0f;
            mView.scrollY = y * mView.zoomY - float(mView.clientHeight) / 2.0f;
        }
        else
        {
            mView.scrollX = x;
            mView.scrollY = y;
        }
        mHost.SetViewState(mViewIndex, mView, kSceneViewScroll);
        return;
    }
    default:
        return;
    }
}

void SceneReader::PostProcess()
{
    if (!mModelSeen)
    {
        if (!mIllegalTokenReported)
            ReportError("'%s'\nInvalid .ORVA file: Scale not specified.", mPath.c_str());
        mOk = false;
        return;
    }
    if (!ShowProgress(0.9, "Post processing"))
    {
        mCancelled = true;
        return;
    }
    UnitSettings& units = GetUnitSettings();
    if (ioCompareVersion(F(), 4, 2) < 0)
        units.mPrintShading = kPrintShadingAuto;
    const bool modelOnly = (mOptions & kSceneModelOnly) != 0;
    if (!modelOnly)
    {
        mPoly->SetBaseName(mInfo.baseName.c_str());
        mPoly->SetDualName(mInfo.dualName.c_str());
        if (!IsBlank(mInfo.link))
            mPoly->SetLink(mInfo.link.c_str());
        if (!IsBlank(mInfo.comments))
            mPoly->SetComments(mInfo.comments.c_str());
        mPoly->mNumGenCells = mInfo.numGenCells;
        mPoly->mNumGenFaces = mInfo.numGenFaces;
        mPoly->mNumGenEdges = mInfo.numGenEdges;
        mPoly->mNumGenVerts = mInfo.numGenVerts;
    }
    if (!mSections[0].colored)
        mPoly->ColorFaces(&mPoly->mFaces);
    if (!mSections[1].colored)
        mPoly->ColorFaces(&mPoly->mVerts);
    // The face diagrams were coloured by the analysis: they take the file's colours.
    mPoly->mFlags |= Poly::kRecolorFaceDiagrams | Poly::kRecolorMorphDiagrams | Poly::kRecolorSection;
    if (modelOnly)
    {
        mPoly->UpdateFaceDiagramColors();
        return;
    }

    GetFacetingSettings().options = mFacetingOptions;
    mSections[0].Apply(*mPoly, mPoly->mFaces, *mPoly->GetFaceStellation());
    mSections[1].Apply(*mPoly, mPoly->mVerts, *mPoly->GetVertStellation());

    // The net edges: their cuts and tabs are read and wait for the nets.
    bool reported = false;
    for (;;)
    {
        const int token = ioReadToken(F());
        if (token == kIoNoToken)
        {
            if (!mStreams.nested)
                break;
            mStreams.CloseBlock();
            continue;
        }
        if (token == kTokBaseModel3D || token == kTokDualModel3D)
            continue;
        if (token >= kTokEdgeCut && token <= kTokEdgeTabDouble)
        {
            ioReadInt(F());
            if (ValueMissing())
                return;
            continue;
        }
        if (!reported)
        {
            reported = true;
            if (F()->mMode == kIoAscii)
            {
                const char* name = GetSceneTokenName(token);
                const std::string word = name && *name ? std::string(name) : mUnknownWord;
                ReportError("Illegal Orvane post-token '%s' (%d)", word.c_str(), token);
            }
            else
                ReportError("Illegal Orvane post-token (%d)", token);
        }
        return;
    }

    if (!mPreserveViews)
        mHost.FitViews(!mLayoutApplied);
    mPoly->UpdateFaceDiagramColors();
}
