#include "kernel/FaceImage.h"
#include "render/OpenGLView.h"
#include "render/TextureImage.h"
#include "render/TranslucentQueue.h"

#include <GL/gl.h>

#include <cmath>

namespace
{
bool WrapsAround(const FaceImage* image)
{
    return image->mProjection == FaceImage::kProjectCylindrical || image->mProjection == FaceImage::kProjectSpherical;
}

Vec3D Midpoint(const Vec3D& a, const Vec3D& b)
{
    return Vec3D{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
}

// One piece: its corners and texture points.
struct Piece
{
    Vec3D c[3];
    Vec3D t[3];
};

void DrawPiece(const Piece& p, const Vec3D& normal, const float rgba[4], FaceImage* image,
               const FaceTexMapping* mapping, int depth)
{
    DrawTexturedTriangle(p.c, normal, rgba, image, mapping, p.t, depth);
}

void DrawLeaf(const Vec3D corners[3], const float uv[3][2], const FaceImage* image)
{
    if (image)
        BindFaceImageTexture(image, false);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 3; ++i)
    {
        if (image)
            glTexCoord2f(uv[i][0], uv[i][1]);
        glVertex3f(float(corners[i].x), float(corners[i].y), float(corners[i].z));
    }
    glEnd();
    if (image)
        UnbindFaceImageTexture(image);
}
}  // namespace

void DrawTexturedTriangle(const Vec3D corners[3], const Vec3D& normal, const float rgba[4], FaceImage* image,
                          const FaceTexMapping* mapping, const Vec3D* texPoints, int depth)
{
    if (depth == 0)
    {
        if (OpenGLView* view = OpenGLView::GetCurrentGLView())
            view->SetMaterialColorAlpha(ColorRGB{rgba[0], rgba[1], rgba[2]}, rgba[3]);
        else
            glColor4fv(rgba);
        glNormal3d(normal.x, normal.y, normal.z);
    }
    const float noUV[3][2] = {{0, 0}, {0, 0}, {0, 0}};
    if (!image || !mapping || !texPoints || !image->mTexture)
    {
        DrawLeaf(corners, noUV, nullptr);
        return;
    }
    float uv[3][2];
    image->ComputeTexCoord(*mapping, texPoints[0], uv[0], nullptr);
    image->ComputeTexCoord(*mapping, texPoints[1], uv[1], &uv[0][0]);
    image->ComputeTexCoord(*mapping, texPoints[2], uv[2], &uv[0][0]);

    if (WrapsAround(image) && depth < GetTriangleSubdivisionMaxDepth())
    {
        const float tolerance = GetTriangleSubdivisionTolerance();
        const bool spherical = image->mProjection == FaceImage::kProjectSpherical;
        bool longSide[3];
        float step[3];
        int longCount = 0;
        for (int j = 0; j < 3; ++j)
        {
            const int k = (j + 1) % 3;
            step[j] = std::fabs(uv[k][0] - uv[j][0]);
            longSide[j] = step[j] > tolerance || (spherical && std::fabs(uv[k][1] - uv[j][1]) > tolerance);
            longCount += longSide[j];
        }
        if (longCount > 0)
        {
            Vec3D mc[3], mt[3];
            for (int j = 0; j < 3; ++j)
            {
                mc[j] = Midpoint(corners[j], corners[(j + 1) % 3]);
                mt[j] = Midpoint(texPoints[j], texPoints[(j + 1) % 3]);
            }
            const auto piece = [&](int a, bool aMid, int b, bool bMid, int c, bool cMid) {
                Piece p;
                const int ids[3] = {a, b, c};
                const bool mids[3] = {aMid, bMid, cMid};
                for (int i = 0; i < 3; ++i)
                {
                    p.c[i] = mids[i] ? mc[ids[i]] : corners[ids[i]];
                    p.t[i] = mids[i] ? mt[ids[i]] : texPoints[ids[i]];
                }
                DrawPiece(p, normal, rgba, image, mapping, depth + 1);
            };
            if (longCount == 3)
            {
                piece(0, false, 0, true, 2, true);
                piece(0, true, 1, false, 1, true);
                piece(2, true, 1, true, 2, false);
                piece(0, true, 1, true, 2, true);
            }
            else if (longCount == 1)
            {
                const int j = longSide[0] ? 0 : longSide[1] ? 1 : 2;
                const int p = (j + 2) % 3, b = (j + 1) % 3;
                piece(p, false, j, false, j, true);
                piece(j, true, b, false, p, false);
            }
            else
            {
                // Cut off the corner where the two long sides meet, then split what remains.
                const int k = !longSide[0] ? 0 : !longSide[1] ? 1 : 2;  // the short side
                const int k1 = (k + 1) % 3, k2 = (k + 2) % 3;
                piece(k1, true, k2, false, k2, true);
                if (step[k1] > step[k2])
                {
                    piece(k, false, k1, false, k1, true);
                    piece(k, false, k1, true, k2, true);
                }
                else
                {
                    piece(k1, false, k1, true, k2, true);
                    piece(k1, false, k2, true, k, false);
                }
            }
            return;
        }
    }
    float drawn[3][2];
    for (int i = 0; i < 3; ++i)
    {
        drawn[i][0] = uv[i][0];
        drawn[i][1] = uv[i][1];
        image->FinishTexCoord(drawn[i]);
    }
    if (WrapsAround(image))
        image->FixSeamTexCoords(*mapping, texPoints, drawn, image->mProjection);
    DrawLeaf(corners, drawn, image);
}
