// File > Export Image/Video...: the frames of a picture or animation export and their writing.

#include "view/PolyView.h"

#include "document/ExportSettings.h"
#include "document/PolyApp.h"
#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/Vec4D.h"
#include "kernel/ViewTypes.h"
#include "model/MouseThrowState.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "platform/OpenLink.h"
#include "render/CDib.h"
#include "render/ImageExportFiles.h"
#include "render/OffscreenBitmap.h"
#include "render/TranslucentQueue.h"
#include "view/ImageExportFields.h"
#include "view/ImageExportRenderer.h"
#include "view/SectionDisplay.h"
#include "view/ViewThrows.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace
{
ExportImageAsker gExportImageAsker = nullptr;

// The turn of a 4D model in the plane of u and the fourth axis.
Mat4 Rotation4DThrough(Vec4D u, double degrees)
{
    Vec4D e;
    Vec4Set(e, 0, 0, 0, 1);
    Vec4D c;
    Vec4PerpendicularTo2(c, u, e);
    const double lc = Vec4Length(c);
    if (lc > 0.0)
        Vec4Set(c, c.x / lc, c.y / lc, c.z / lc, c.w / lc);
    Vec4D d;
    Vec4Cross(d, u, e, c);
    Mat4 rows, columns, turn, half, m;
    rows.SetRows(u, e, c, d);
    columns.SetColumns(u, e, c, d);
    turn.SetRotationXY(degrees * M_PI / 180.0);
    Mat4Mul(half, rows, turn);
    Mat4Mul(m, half, columns);
    return m;
}

// Pictures of one export: one render at the over-sampled size, reduced, written as the name asks.
class ExportWriter
{
public:
    ExportWriter(CPolyView& view, ImageExportFields& fields, ImageExportRenderer& renderer)
        : mView(view), mFields(fields), mRenderer(renderer)
    {
    }

    bool Write()
    {
        mPath = mFields.GetPath();
        mWidth = mFields.sameSizeAsView ? mView.GetWidth() : mFields.width;
        mHeight = mFields.sameSizeAsView ? mView.GetHeight() : mFields.height;
        if (HasExtension(mPath, ".avi"))
        {
            ErrorMessage("AVI video can't be written: no video encoder is available.\nChoose GIF for an "
                         "animated GIF, or another image type for numbered frames.");
            return false;
        }
        if (!mFields.IsAnimation())
        {
            mView.PrepareExportFrame(mFields, mRenderer, 0);
            return Render() && WriteImageFile(*mBitmap.GetFinalDib(), mPath, mFields.GetDpi(), mFields.jpegQuality);
        }
        const bool gif = HasExtension(mPath, ".gif");
        AnimatedGifWriter animation;
        if (gif && !animation.Open(mPath, mFields.fps))
            return false;
        const bool interlaced = mFields.interlaceMethod != ImageExportFields::kNotInterlaced;
        const int frames = mRenderer.GetFrameCount();
        CDib firstField;
        for (int a = 0; a < frames; ++a)
        {
            mView.PrepareExportFrame(mFields, mRenderer, a);
            if (!Render())
                return false;
            const CDib* picture = mBitmap.GetFinalDib();
            CDib both;
            if (interlaced)
            {
                if (a % 2 == 0)
                {
                    firstField = CopyOf(*picture);
                    continue;
                }
                both = CDib(mWidth, mHeight, 24);
                if (!both.CreateBits() ||
                    !InterlaceFields(both, firstField, *picture,
                                     mFields.interlaceMethod == ImageExportFields::kLowerFieldFirst))
                {
                    ErrorMessage("%s", kBitmapFailedText);
                    return false;
                }
                picture = &both;
            }
            const int number = interlaced ? a / 2 : a;
            if (gif ? !animation.AddFrame(*picture)
                    : !WriteImageFile(*picture, NumberedFramePath(mPath, number), mFields.GetDpi(),
                                      mFields.jpegQuality))
                return false;
        }
        return !gif || animation.Close();
    }

    const std::string& GetPath() const { return mPath; }

private:
    bool Render()
    {
        if (!mView.RenderOffscreen(mBitmap, mWidth, mHeight, mFields.overSample))
            return false;
        return mBitmap.FillFinal();
    }

    static CDib CopyOf(const CDib& source)
    {
        CDib copy(source.GetWidth(), source.GetHeight(), 24);
        if (copy.CreateBits())
            std::copy(source.GetBits(), source.GetBits() + source.GetImageSize(), copy.GetBits());
        return copy;
    }

    CPolyView& mView;
    ImageExportFields& mFields;
    ImageExportRenderer& mRenderer;
    OffscreenBitmap mBitmap;
    std::string mPath;
    int mWidth = 1;
    int mHeight = 1;
};
}  // namespace

ExportImageAsker SetExportImageAsker(ExportImageAsker asker)
{
    const ExportImageAsker previous = gExportImageAsker;
    gExportImageAsker = asker;
    return previous;
}

int CPolyView::PrepareExportFrame(const ImageExportFields& fields, ImageExportRenderer& renderer, int frame)
{
    const double rotations = EvaluateNumber(fields.numRotations.c_str(), false);
    const double tilt = EvaluateNumber(fields.tilt.c_str(), false);
    const double p = EvaluateNumber(fields.startRatio.c_str(), false);
    const double q = EvaluateNumber(fields.endRatio.c_str(), false);
    ApplyExportOrientation(fields.orientation, renderer.GetSnapshot());
    if (fields.IsAnimation())
    {
        const int n = renderer.GetFrameCount();
        const int steps = fields.seamless ? n : n - 1;
        const double dt = fields.GetLength() / n;
        StopAllMouseThrows();
        SetFrozenTime(frame * dt);
        renderer.RestoreView();
        ApplyExportOrientation(fields.orientation, renderer.GetSnapshot());
        const double theta = ExportFrameAngle(frame, rotations, steps);
        const Poly* poly = GetCurrentPoly();
        const bool model4D = poly && (poly->mFlags & Poly::kIs4D);
        Vec3D point;
        Vec4D u;
        if (fields.rotate4D && model4D && mViewType != kViewTypeFacetPreview &&
            ViewTypeHasAll(mViewType, kViewFamily3D))
        {
            if (!GetSelectedItemPoint4D(point, &u) || std::fabs(u.w) >= 0.99999)
                Vec4Set(u, 1, 0, 0, 0);
            const double l = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
            if (l < 1e-7)
                Vec4Set(u, 1, 0, 0, 0);
            else
                Vec4Set(u, u.x / l, u.y / l, u.z / l, 0);
            Mat4 turned;
            Mat4Mul(turned, renderer.GetStartRotation4D(), Rotation4DThrough(u, theta));
            SetRotation4D(turned);
        }
        else if (!(fields.rotate4D && model4D && mViewType == kViewTypeFacetPreview))
        {
            if (!Is3D())
                Set2DAngle(float(Get2DAngle() + theta));
            else if (fields.rotateAround == 1 && GetSelectedItemPoint(point))
                RotateCameraAboutWorldAxis(point, theta);
            else
                RotateViewEuler(theta, 0, 0);
            OrthonormalizeCamera();
        }
        if (Is3D() && tilt != 0.0)
            RotateViewEuler(0, -tilt, 0);
        const double v = ExportFrameRatio(frame, p, q, steps);
        SceneParameters& scene = GetSceneParameters();
        if (ViewTypeHasAll(mViewType, kViewFamilyMorph))
            SetMorphRatio(v, true);
        else if (IsSectionTarget(this, true))
        {
            scene.sliceRatio = v;
            StopSliceThrows();
            InvalidateModelCrossSection();
            InvalidateCrossSectionViews(false);
        }
        else if (mViewType == kViewTypeNet3D)
        {
            scene.foldRatio = v;
            InvalidateViewsOfType(kViewTypeNet3D, false);
        }
    }
    else
        SetFrozenTime(renderer.GetStartTime());
    if (fields.fit)
        RequestFit(3);
    else if (fields.fitLoose)
        RequestFit(1);
    NewView::Invalidate(this, true);
    return 1;
}

void CPolyView::EndImageExport()
{
    SetScreenTriangleQuality();
    SetFrozenTime(-1.0);
    SetMouseThrowBounce(false);
    SetMouseThrowTimes(std::numeric_limits<double>::max());
    CPolyApp::SetExportRunning(false);
}

bool CPolyView::ExportImage()
{
    ImageExportFields fields;
    fields.Load(GetExportSettings());
    fields.fileName = AddExportImageExtension(DefaultExportFileName("gif", true), fields.imageType - 1);
    ImageExportRenderer renderer(*this, fields);
    MouseThrowSnapshot throws;
    StopAllMouseThrows();
    const bool ok = gExportImageAsker ? gExportImageAsker(*this, fields, renderer) : true;
    bool written = false;
    std::string path;
    if (ok)
    {
        CPolyApp::SetExportRunning(true);
        renderer.SetFrameSize(false);
        SetOutputTriangleQuality();
        ExportWriter writer(*this, fields, renderer);
        written = writer.Write();
        path = writer.GetPath();
    }
    EndImageExport();
    throws.Restore();
    if (written && fields.openAfter)
    {
        const std::string target = fields.IsAnimation() && !HasExtension(path, ".gif") ? NumberedFramePath(path, 0) : path;
        if (!OpenLink(target, LinkKind::kProgramFile))
            ErrorMessage("Couldn't open '%s'.", target.c_str());
    }
    return written;
}
