#include "library/SceneWriter.h"

#include "kernel/ColorRGB.h"
#include "kernel/DateText.h"
#include "kernel/Polygon3D.h"
#include "kernel/RenderSettings.h"
#include "kernel/RingVert.h"
#include "kernel/SceneParameters.h"
#include "kernel/Strings.h"
#include "kernel/TokenFile.h"
#include "kernel/UnitSettings.h"
#include "library/ColorList.h"
#include "library/LibraryEntry.h"
#include "library/RangeList.h"
#include "library/SceneFile.h"
#include "library/SceneHost.h"
#include "library/SceneTokens.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "stellation/FacetingSettings.h"
#include "stellation/Stellation.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace
{
// The version of the writing program in "VAD".
constexpr char kWriterVersion[] = "5.4";
// Centimetres per twip.
constexpr double kCmPerTwip = 2.54 / 1440.0;

// The items of one scene in one stream: ok stays true while every item went out.
struct SceneWriter
{
    ioFile* f;
    int indent;
    Poly* poly;
    bool ok = true;

    void Token(int token, int extraIndent = 0) { ok = ioWriteToken(f, token, indent + extraIndent) && ok; }
    void Flag(int token)
    {
        Token(token);
        ioPrintf(f, "\n");
    }
    void Int(int token, int value, const char* format = "\t%d\n")
    {
        Token(token);
        ioPrintf(f, format, value);
    }
    void Double(int token, double value, const char* format)
    {
        Token(token);
        ioPrintf(f, format, value);
    }
    void Vec(int token, const Vec3D& v)
    {
        Token(token);
        ioPrintf(f, "\t%.17g\t%.17g\t%.17g\n", v.x, v.y, v.z);
    }
    // A text on one line, never split.
    void Line(int token, const char* text)
    {
        Token(token);
        ok = ioWriteString(f, "\t", text ? text : "", "\n", -1) && ok;
    }
    // A text that may be long: pieces of at most 60 characters, continued on new lines.
    void Text(int token, const char* prefix, const char* text)
    {
        Token(token);
        ok = ioWriteString(f, prefix, text, "\n", indent + 2) && ok;
    }
    void Enum(int token, int value, const ioEnumEntry* table)
    {
        Token(token);
        ok = ioWriteEnum(f, value, table, "\t", "\n") && ok;
    }
    bool VersionAtLeast(int major, int minor) const { return ioCompareVersion(f, major, minor) >= 0; }

    void LinkAndComments();
    void ViewState(const SceneViewState& view);
    void Geometry();
    void SideColors();
    void SceneValues();
    void FacetingSettingsItems();
    void DrawnFacets();
    void NetAndPrintSettings();
};

const LibraryEntry* BuiltInEntry(const Poly& poly)
{
    const LibraryEntry* entry = poly.mLibraryEntry;
    return entry && !(entry->mFlags & LibraryEntry::kFileEntry) ? entry : nullptr;
}

// A text the library entry gives anyway is left out.
bool DiffersFromEntry(const std::string& text, const char* entryText)
{
    return !IsBlank(text) && (!entryText || text != entryText);
}

void SceneWriter::LinkAndComments()
{
    const LibraryEntry* entry = BuiltInEntry(*poly);
    if (DiffersFromEntry(poly->mLink, entry ? LibraryEntry::GetLink(entry).c_str() : nullptr))
        Text(kTokLink, " ", poly->mLink.c_str());
    if (DiffersFromEntry(poly->mComments, entry ? entry->mDescription : nullptr))
        Text(kTokComments, " ", poly->mComments.c_str());
}

void SceneWriter::ViewState(const SceneViewState& view)
{
    Enum(kTokViewType, view.viewType, kViewTypeNames);
    if (view.is3D)
    {
        Vec(kTokCameraPos, view.cameraPos);
        Vec(kTokXAxis, view.xAxis);
        Vec(kTokYAxis, view.yAxis);
        Vec(kTokZAxis, view.zAxis);
        Double(kTokFovY, view.fovY, "\t%.9g\n");
        Double(kTokExplosionScale, view.explosionScale, "\t%.14g\n");
        return;
    }
    const bool middle = VersionAtLeast(3, 0);
    if (middle)
        Double(kTokZoom2D, double(view.zoom2D), "\t%.8hg\n");
    else
        Double(kTokScale2D, double(float(view.clientHeight) * view.zoom2D), "\t%.8hg\n");
    Double(kTokTwist2D, double(view.twist2D), "\t%.8hg\n");
    Token(kTokCanvas);
    ioPrintf(f, "\t%.8hg\t%.8hg\t%.8hg\t%.8hg\n", double(view.canvas[0]), double(view.canvas[1]),
             double(view.canvas[2]), double(view.canvas[3]));
    if (middle)
    {
        // The point at the middle of the pane, in model units: it survives a pane of another size.
        const float x = view.zoomX != 0.0f ? (float(view.clientWidth) / 2.0f + view.scrollX) / view.zoomX : 0.0f;
        const float y = view.zoomY != 0.0f ? (float(view.clientHeight) / 2.0f + view.scrollY) / view.zoomY : 0.0f;
        Token(kTokScrollPosMiddle);
        ioPrintf(f, "\t%.8hg\t%.8hg\n", double(x), double(y));
    }
    else
    {
        Token(kTokScrollPos);
        ioPrintf(f, "\t%.8hg\t%.8hg\n", double(view.scrollX), double(view.scrollY));
    }
}

void SceneWriter::Geometry()
{
    // The model's own side, whatever the panes show.
    std::unique_ptr<SimplePoly> simple =
        poly->CreateSimplePolyFromView(Poly::kConvertQuiet | Poly::kConvertBase, nullptr, nullptr, nullptr);
    if (!simple)
    {
        ioError(f, 1, "Couldn't convert the model for saving");
        ok = false;
        return;
    }
    const int numVerts = simple->mNumVerts;
    const int numFaces = simple->mNumFaces;
    Token(kTokPoly);
    ioPrintf(f, "\t%d\t%d\t# #verts, #faces\n", numVerts, numFaces);
    for (int v = 0; v < numVerts; ++v)
    {
        const Vec3D& p = simple->mVerts[v].mPos;
        const double coords[3] = {p.x, p.y, p.z};
        WriteVertexLine(f, indent + 1, coords, 3);
    }
    ioPrintf(f, "# Faces\n");
    bool emptyFaces = false;
    for (int i = 0; i < numFaces; ++i)
    {
        const SimpleFace& face = simple->mFaces[i];
        emptyFaces = emptyFaces || face.mNum <= 0;
        ioIndent(f, indent + 1);
        ioPrintf(f, "%d", face.mNum);
        for (int k = 0; k < face.mNum; ++k)
            ioPrintf(f, " %d", SimpleVert::GetIndex(face.GetVert(k)));
        ioPrintf(f, "\n");
    }
    Token(kTokVertexFaces);
    ioPrintf(f, "\n# Face ordering around vertices\n");
    for (int v = 0; v < numVerts; ++v)
    {
        const SimpleVert& vert = simple->mVerts[v];
        ioIndent(f, indent + 1);
        ioPrintf(f, "%d", vert.mNum);
        for (int k = 0; k < vert.mNum; ++k)
            ioPrintf(f, " %d", SimpleFace::GetIndex(vert.GetFace(k)));
        ioPrintf(f, "\n");
    }
    // Written in every form: a face without corners is given by its plane alone.
    if (emptyFaces)
    {
        Token(kTokEmptyFaceNormals);
        ioPrintf(f, "\n");
        for (int i = 0; i < numFaces; ++i)
        {
            const SimpleFace& face = simple->mFaces[i];
            if (face.mNum > 0)
                continue;
            ioIndent(f, indent + 1);
            ioPrintf(f, "%d\t%.13lg\t%.13lg\t%.13lg\n", (face.mFlags & SimpleElem::kPlaneThroughCentre) ? 1 : 0,
                     face.mNormal.x, face.mNormal.y, face.mNormal.z);
        }
    }
}

void SceneWriter::SideColors()
{
    const uint32_t defaultColor = ColorToRGB(GetElementDisplayOptions().mDefaultEdgeColor);
    bool colored = false;
    for (int i = 0; i < poly->mEdges.count && !colored; ++i)
        colored = ColorToRGB(poly->mEdges[i].mColor) != defaultColor;
    if (colored)
    {
        Token(kTokEdgeColors);
        ColorListState state;
        for (int i = 0; i < poly->mEdges.count; ++i)
            WriteColorList(f, indent + 2, ColorToRGB(poly->mEdges[i].mColor), state, i + 1 == poly->mEdges.count);
        ioPrintf(f, "\n");
    }

    if (poly->mNumEdgeTexts > 0)
    {
        for (int i = 0; i < poly->mEdges.count; ++i)
        {
            const Edge& edge = poly->mEdges[i];
            if (IsBlank(edge.mText))
                continue;
            Token(kTokEdgeText);
            ioPrintf(f, "\t%d", i);
            ok = ioWriteString(f, "\t", edge.mText.c_str(), "\n", indent + 2) && ok;
        }
    }
    if (VersionAtLeast(4, 1))
    {
        if (const FaceVert* face = poly->GetFaceStellation()->mSelectedFace)
            Int(kTokBaseFace, FaceVert::GetIndex(face));
        if (const FaceVert* vert = poly->GetVertStellation()->mSelectedFace)
            Int(kTokDualFace, FaceVert::GetIndex(vert));
    }
}

void SceneWriter::SceneValues()
{
    const SceneParameters& scene = GetSceneParameters();
    Double(kTokMorphRatio, scene.morphRatio, "\t%.14g\n");
    Double(kTokFoldRatio, scene.foldRatio, "\t%.14g\n");
    Double(kTokShrink4D, scene.shrink4D, "\t%.14g\n");
    Double(kTokNetShrink4D, scene.netShrink4D, "\t%.14g\n");
    Double(kTokSliceRatio, scene.sliceRatio, "\t%.14g\n");
    Token(kTokSliceSameAsProj);
    ok = ioWriteBool(f, scene.sliceSameAsProj, "\t", "\n") && ok;
    Token(kTokSliceMat);
    ioPrintf(f, "\n");
    for (int row = 0; row < 4; ++row)
    {
        const Mat4& m = scene.sliceMatrix;
        ioIndent(f, indent + 2);
        ioPrintf(f, "%.17g\t%.17g\t%.17g\t%.17g\n", m.At(row, 0), m.At(row, 1), m.At(row, 2), m.At(row, 3));
    }
}

void SceneWriter::FacetingSettingsItems()
{
    const FacetingSettings& faceting = GetFacetingSettings();
    Enum(kTokFacetingCriteria, faceting.criterion, kFacetingCriterionNames);
    Int(kTokMinFacets, faceting.minFacets);
    Int(kTokMaxFacets, faceting.maxFacets);
    if (faceting.options & kFacetingPartialOK)
        Flag(kTokPartialFacetingOK);
    if (faceting.options & kFacetingSpikyOnly)
        Flag(kTokSpikyFaceting);
}

void SceneWriter::DrawnFacets()
{
    for (const Polygon3D* p = poly->mFirstDrawnPolygon; p; p = p->mNext)
    {
        if (!p->mRing)
            continue;
        int count = 0;
        const RingVert* v = p->mRing;
        do
        {
            ++count;
            v = v->next;
        } while (v != p->mRing);
        Token(p == poly->mCurrentDrawnPolygon ? kTokPartialFacet : kTokFacet);
        ioPrintf(f, " %d", count);
        // Every digit: the corners must meet the model's vertices again after reading.
        do
        {
            ioPrintf(f, " %.17g %.17g %.17g", v->pos.x, v->pos.y, v->pos.z);
            v = v->next;
        } while (v != p->mRing);
        ioPrintf(f, "\n");
    }
}

void SceneWriter::NetAndPrintSettings()
{
    const UnitSettings& units = GetUnitSettings();
    Enum(kTokCoincEdgeMethod, units.mCoincEdgeMethod, kCoincEdgeMethodNames);
    if (units.mColorPagesMode == kSingleColorPages)
        Flag(kTokSingleColorPages);
    else if (units.mColorPagesMode == kMultiColorPages)
        Flag(kTokMultiColorPages);
    Int(kTokNetSpacing, units.mNetSpacing);
    if (units.mPrintDashedLines)
        Flag(kTokPrintDashedLines);
    if (units.mPrintCellLines != 2)
    {
        Token(kTokPrintCellLines);
        ok = ioWriteBool(f, units.mPrintCellLines == 1, "\t", "\n") && ok;
    }
    Int(kTokNumExtraNets, units.mNumExtraNets);
    if (units.mPrintGivenNumNets)
        Flag(kTokPrintGivenNumNets);
    Int(kTokNumNetsToPrint, units.mNumNetsToPrint);
    Enum(kTokPrintShading, units.mPrintShading, kPrintShadingNames);
    Double(kTokPrintShadeMax, double(units.mPrintShadeMax), "\t%hg\n");
}
}  // namespace

void WriteVertexLine(ioFile* f, int indent, const double* coords, int count)
{
    ioIndent(f, indent);
    for (int i = 0; i < count; ++i)
    {
        if (f->mMode != kIoAscii)
        {
            ioPrintf(f, "%g", coords[i]);
            continue;
        }
        uint64_t bits = 0;
        std::memcpy(&bits, &coords[i], sizeof bits);
        ioPrintf(f, " 0x%08x 0x%08x", unsigned(bits & 0xFFFFFFFFu), unsigned(bits >> 32));
    }
    ioPrintf(f, "\n");
}

bool WriteSceneHeader(ioFile* f, int indent, Poly* poly)
{
    SceneWriter w{f, indent, poly};
    w.Line(kTokScene, poly->mBaseName.c_str());
    if (f->mMajor >= 3)
    {
        // The reader clears a dual name it is not given, so any dual name is written.
        if (!IsBlank(poly->mDualName))
            w.Line(kTokDualName, poly->mDualName.c_str());
        w.LinkAndComments();
    }
    if (f->mMajor >= 8)
    {
        w.Int(kTokNumFaces, poly->mFaces.mCount);
        w.Int(kTokNumEdges, poly->mNumEdges);
        w.Int(kTokNumVerts, poly->mVerts.mCount);
        if (poly->mNumGenCells > 0)
        {
            w.Int(kTokNumGenCells, poly->mNumGenCells);
            w.Int(kTokNumGenFaces, poly->mNumGenFaces);
            w.Int(kTokNumGenEdges, poly->mNumGenEdges);
            w.Int(kTokNumGenVerts, poly->mNumGenVerts);
        }
    }
    return w.ok && ioGood(f);
}

bool WriteSceneBody(ioFile* f, const char* /*basePath*/, int indent, Poly* poly, int options)
{
    SceneWriter w{f, indent, poly};
    SceneHost& host = GetSceneHost();
    const bool viewState = !(options & kSceneNoViewState);

    w.Line(kTokVAD, (std::string(kWriterVersion) + ", " + FormatTimeAndDate()).c_str());
    const float* title = GetRenderSettings().sceneTextColor;
    w.Int(kTokTextColor, int(ColorToRGB(ColorRGB{title[0], title[1], title[2]})), "\t0x%06x\n");

    if (viewState)
    {
        if (host.HasLayout())
        {
            w.Token(kTokLayoutSection);
            ioPrintf(f, "\n");
            w.ok = host.WriteLayoutSection(f, indent + 2) && w.ok;
        }
        const int numViews = host.CountViews();
        for (int i = 0; i < numViews; ++i)
        {
            SceneViewState view;
            if (host.GetViewState(i, view))
                w.ViewState(view);
        }
        if (host.HasMovingThrows())
        {
            w.Token(kTokMouseThrows);
            ioPrintf(f, "\n");
            host.WriteMouseThrows(f, indent + 2);
        }
        if (w.VersionAtLeast(4, 1) && poly->mShowDual)
            w.Flag(kTokCurrentIsDual);
    }

    w.Line(kTokVertexDescription, poly->GetName().c_str());
    if (poly->mVariation)
        w.Flag(kTokVariation);
    if (!poly->mSpringDesc.empty())
        w.Text(kTokSpringDesc, " ", poly->mSpringDesc.c_str());
    if (!poly->mTemplate)
        w.Geometry();
    if (poly->mSubgroupChoice[0] >= 1 || poly->mSubgroupChoice[1] >= 1)
    {
        w.Token(kTokSubSymmetry);
        ioPrintf(f, "\t%d\t%d\n", poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    }
    if (w.VersionAtLeast(4, 5) && (poly->mFlags & Poly::kDontReorderUniFaces))
        w.Flag(kTokDontReorderUniFaces);
    if (w.VersionAtLeast(4, 4) && (poly->mFlags & Poly::kOldStyleAxes))
        w.Flag(kTokOldStyleAxes);
    if (poly->mFlags & Poly::kConvex)
        w.Flag(kTokConvex);
    else if (poly->mFlags & Poly::kRadiallyConvex)
        w.Flag(kTokRadiallyConvex);
    else if (poly->mFlags & Poly::kNonSelfIntersecting)
        w.Flag(kTokNonSelfIntersecting);
    const UnitSettings& units = GetUnitSettings();
    w.Double(kTokScale, units.mTwipsPerUnit * units.mScale * kCmPerTwip, "\t%.13lg\n");

    // From here on the reader has the model.
    w.SideColors();
    if (f->mMajor <= 2)
        w.LinkAndComments();
    if (viewState)
        w.SceneValues();
    w.FacetingSettingsItems();
    w.DrawnFacets();
    if (viewState)
        w.Int(kTokMaxFacesPerNet, units.mMaxFacesPerNet);
    w.NetAndPrintSettings();

    RangeList hiddenEdges;
    for (int i = 0; i < poly->mEdges.count; ++i)
        if (poly->mEdges[i].mFlags & Edge::kHidden)
            hiddenEdges.Add(i);
    WriteRangeList(hiddenEdges.head, f, kTokHiddenEdges, indent);

    w.Token(kTokStellation);
    ioPrintf(f, "\n");
    w.ok = WriteStellation(f, indent + 2, poly->mFaces, *poly->GetFaceStellation()) && w.ok;
    w.Token(kTokDualStellation);
    ioPrintf(f, "\n");
    w.ok = WriteStellation(f, indent + 2, poly->mVerts, *poly->GetVertStellation()) && w.ok;
    return w.ok && ioGood(f);
}

bool WriteStellation(ioFile* f, int indent, const ElemList& faces, const Stellation& /*stellation*/)
{
    SceneWriter w{f, indent, nullptr};
    w.Token(kTokFaceColor);
    ColorListState front;
    bool twoSided = false;
    for (const FaceVert* e = faces.mFirst; e; e = e->mNext)
    {
        WriteColorList(f, indent + 2, ColorToRGB(e->mColor), front, !e->mNext);
        twoSided = twoSided || ColorToRGB(e->mBackColor) != ColorToRGB(e->mColor);
    }
    ioPrintf(f, "\n");
    if (twoSided)
    {
        w.Token(kTokBackFaceColor);
        ColorListState back;
        for (const FaceVert* e = faces.mFirst; e; e = e->mNext)
            WriteColorList(f, indent + 2, ColorToRGB(e->mBackColor), back, !e->mNext);
        ioPrintf(f, "\n");
    }

    ValueRangeGroups alpha;
    RangeList hidden;
    RangeList smooth;
    for (const FaceVert* e = faces.mFirst; e; e = e->mNext)
    {
        if (e->mOpacity < 1.0f)
            alpha.Add(e->mOpacity, e->mIndex);
        if (e->mFlags & FaceVert::kHidden)
            hidden.Add(e->mIndex);
        if (e->mFlags & FaceVert::kSmooth)
            smooth.Add(e->mIndex);
    }
    WriteValueRangeGroups(alpha.first, f, indent, kTokAlpha);
    WriteRangeList(hidden.head, f, kTokHidden, indent);
    WriteRangeList(smooth.head, f, kTokSmoothFaces, indent);

    if (faces.HasTexts())
    {
        for (const FaceVert* e = faces.mFirst; e; e = e->mNext)
        {
            if (IsBlank(e->mText))
                continue;
            w.Token(kTokFaceText);
            ioPrintf(f, "\t%d", e->mIndex);
            w.ok = ioWriteString(f, "\t", e->mText.c_str(), "\n", indent + 2) && w.ok;
        }
    }
    return w.ok && ioGood(f);
}
