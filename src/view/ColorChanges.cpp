#include "view/ColorChanges.h"

#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "library/SceneHost.h"
#include "mesh/Model3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/Stellation.h"

namespace
{
// The Color menu item that leaves rainbow colour mode.
constexpr char kRainbowMenuPath[] = "Color->Rainbow Color Mode";
}  // namespace

void InvalidateModelDisplay(Poly* poly, bool dual, bool rebuildNets)
{
    Shell& shell = GetShell();
    shell.ApplySphereCylinderSettings();
    if (poly && !(poly->mFlags & Poly::kIs4D))
    {
        // The faces are drawn through their diagrams, whose colours are taken in the idle step.
        poly->mFlags |= Poly::kRecolorFaceDiagrams | Poly::kRecolorMorphDiagrams | Poly::kRecolorSection;
        Stellation* side = dual ? poly->GetVertStellation() : poly->GetFaceStellation();
        Model3D* mesh = side ? side->PeekModel3D() : nullptr;
        // Colours can cut nets (one colour per net): a mesh with nets makes them again.
        if (rebuildNets && Model3D::HasNets(mesh))
        {
            mesh->CreateNets();
            shell.InvalidateViewsOfType(kViewFamilyNet, 0);
        }
        if (IsKitStyle())
        {
            poly->mFlags &= dual ? ~(Poly::kDualKitYes | Poly::kDualKitNo) : ~(Poly::kKitYes | Poly::kKitNo);
            if (mesh)
                mesh->mFlags &= ~(kModel3DKitYes | kModel3DKitNo);
            shell.InfoNeedsUpdate(15);
        }
    }
    NewView::InvalidateAll(false, true);
}

void FaceColorsChanged(Poly* poly, bool rebuildNets)
{
    InvalidateModelDisplay(poly, poly && poly->mShowDual, rebuildNets);
    WarnIfRainbowMode();
}

void EdgeColorsChanged()
{
    GetShell().ApplySphereCylinderSettings();
    NewView::InvalidateAll(false, true);
    if (DrawCylindersAtEdges() && GetElementDisplayOptions().mCylinderMaterial != 1)
        NewView::SetMessage(NewView::GetActiveView(), "%s",
                            "Warning: you have changed the color for edges drawn as lines.\n"
                            "The effect can't be seen since edges are currently being\n"
                            "displayed as cylinders.");
    WarnIfRainbowMode();
}

void WarnIfRainbowMode()
{
    if (!(GetRenderFlags() & RenderSettings::kRainbowColors))
        return;
    NewView::SetMessage(NewView::GetActiveView(),
                        "Warning: this change will have no visible effect in\n'Rainbow Color Mode'.  Please return "
                        "to normal mode by\nhitting Shift+R or selecting '%s'\nfrom the menu.",
                        kRainbowMenuPath);
}

std::string CommandMenuPath(int command, const char* fallback)
{
    std::string path = GetSceneHost().GetCommandMenuText(command + kCommandIdBase);
    return path.empty() ? std::string(fallback) : path;
}

void CheckVertexColorVisible()
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const bool ownSpheres = DrawSpheresAtVerts() && options.mSphereMaterial != 1;
    if (options.mColorVertsSameAsDualFace && !ownSpheres)
        return;
    std::string text = "Warning: this change will have no visible effect:\n";
    if (!options.mColorVertsSameAsDualFace)
        text += "  - To change colors of individual vertices, you must\n     enable '" +
                CommandMenuPath(kCmdVertexColorsFromDualFaces, "Color->Vertex Colors->Color Vertices Same as Dual Face") +
                "'\n";
    if (ownSpheres)
        text += "  - To set the color of individual spheres at vertices, use\n     '" +
                CommandMenuPath(kCmdSphereCylinderOptions,
                                "Display->Vertex & Edge Options->Sphere and Cylinder Options...") +
                "'\n     and set \"Sphere material\" to \"Same color as points\".";
    NewView::SetMessage(NewView::GetActiveView(), "%s", text.c_str());
}
