#include "kernel/RenderSettings.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "render/GLContextState.h"
#include "view/PolyView.h"

#include <GL/gl.h>

#include <vector>

namespace
{
bool RainbowMode()
{
    return (GetRenderFlags() & RenderSettings::kRainbowColors) != 0;
}

// The kit's edge style; the kit styles come with the kit settings.
int KitEdgeStyle()
{
    return 0;
}

void DisableSphereMap()
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}
}  // namespace

int CPolyView::BeginSphereMaterial(MaterialPass& record)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const int kind = IsKitStyle() ? kMaterialSilver : options.mSphereMaterial;
    float diffuse[4];
    SetElementMaterialColors(kind, options.mSphereColor, 1.0f, record, diffuse);
    SetMaterialColor4f(diffuse[0], diffuse[1], diffuse[2], diffuse[3]);
    return kind;
}

void CPolyView::EndSphereMaterial()
{
    if (IsKitStyle())
        return;
    if (RainbowMode())
        SetMaterialColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    SetMaterialSpecular(0.5f);
    SetMaterialShininess(90.0f);
}

void CPolyView::BeginCylinderMaterial(MaterialPass& record)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    float diffuse[4];
    SetElementMaterialColors(options.mCylinderMaterial, options.mCylinderColor, 1.0f, record, diffuse);
    SetMaterialColor4f(diffuse[0], diffuse[1], diffuse[2], diffuse[3]);
}

void CPolyView::EndCylinderMaterial()
{
    EndSphereMaterial();
}

bool CPolyView::ApplyMaterial(bool sphere, MaterialPass& record)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    if (record.current == 1)
    {
        const GLCapabilities& caps = GetGLCapabilities();
        PlanMaterialPasses(record, sphere ? options.mSphereMaterial : options.mCylinderMaterial, sphere, IsKitStyle(),
                           KitEdgeStyle(), RainbowMode(), caps.textureUnits, caps.separateSpecular);
        if (record.passes & kPassHighlight)
            SetMaterialSpecular(0.0f);
        else
        {
            SetMaterialSpecularColor(record.specular);
            SetMaterialShininess(record.shininess);
        }
        SetCullMode(1);
    }
    else
    {
        const bool highlight = record.passes & kPassHighlight;
        const bool onlyPass = record.passes == record.current;
        switch (record.current)
        {
        case kPassReflection:
            if (!highlight)
            {
                SetMaterialSpecular(0.5f);
                SetMaterialShininess(90.0f);
            }
            DisableSphereMap();
            break;
        case kPassTexture:
            DisableTexture();
            if ((record.passes & kPassReflection) && !highlight)
                SetBlendMode(0);
            break;
        case kPassHighlight:
            if (!onlyPass)
                SetBlendMode(0);
            if (RainbowMode())
                SetMaterialColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            break;
        default:
            break;
        }
    }
    const unsigned pass = NextMaterialPass(record);
    switch (pass)
    {
    case 0:
        SetCullMode(0);
        return false;
    case kPassTexture:
        if (record.passes & kPassReflection)
            SetBlendMode(2);
        if (!(record.passes & kPassHighlight))
        {
            SetMaterialSpecularColor(record.specular);
            SetMaterialShininess(record.shininess);
        }
        // The built-in textures come with the image support; until then the pass draws plain.
        break;
    case kPassHighlight:
        SetMaterialColor4f(0.0f, 0.0f, 0.0f, 1.0f);
        SetMaterialSpecularColor(record.specular);
        SetMaterialShininess(record.shininess);
        if (record.passes != kPassHighlight)
            SetBlendMode(3);
        break;
    default:
        break;
    }
    return true;
}

void CPolyView::DrawVertexSpheres(Poly& poly, bool dual)
{
    std::vector<Vec3D> points;
    std::vector<const FaceVert*> elements;
    poly.CollectVertexPoints(dual, 1.0, mExplosion, points, elements);
    if (points.empty())
        return;
    Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    const double radius = poly.GetVertexSphereRadius(dual ? 1 : 0, stellation->GetMeanEdgeLength(), -1, -1.0, -1.0);
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    MaterialPass record;
    const int kind = BeginSphereMaterial(record);
    while (ApplyMaterial(true, record))
        for (size_t i = 0; i < points.size(); ++i)
        {
            if (kind == kMaterialSameColor && record.current != kPassHighlight)
            {
                const ColorRGB& c =
                    options.mColorVertsSameAsDualFace ? elements[i]->mColor : options.mDefaultVertColor;
                SetMaterialColor4f(c.r, c.g, c.b, 1.0f);
            }
            DrawSphere(points[i], radius);
        }
    EndSphereMaterial();
}

void CPolyView::DrawEdgeCylinders(Poly& poly, bool dual)
{
    std::vector<Vec3D> ends;
    std::vector<const Edge*> edges;
    poly.CollectEdgeSegments(dual, 1.0, mExplosion, ends, edges);
    if (edges.empty())
        return;
    Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    const double radius = poly.GetCylinderRadius(dual ? 1 : 0, stellation->GetMeanEdgeLength(), -1, -1.0, -1.0);
    const bool sameColor = GetElementDisplayOptions().mCylinderMaterial == kMaterialSameColor;
    MaterialPass record;
    BeginCylinderMaterial(record);
    while (ApplyMaterial(false, record))
        for (size_t i = 0; i < edges.size(); ++i)
        {
            if (sameColor && record.current != kPassHighlight)
                SetMaterialColor4f(edges[i]->mColor.r, edges[i]->mColor.g, edges[i]->mColor.b, 1.0f);
            DrawCylinder(ends[2 * i], ends[2 * i + 1], radius, 0.0, nullptr, 0);
        }
    EndCylinderMaterial();
}
