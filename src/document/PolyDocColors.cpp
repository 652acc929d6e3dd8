// The Color menu commands of the document: element colours, the face colour scheme with its
// modifiers and arrangements, the stellation diagram's scheme and the background colour.

#include "document/PolyDoc.h"
#include "document/PolyDocColors4D.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UserServices.h"
#include "model/ColorSchemes.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "model/StellationOptions.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "render/PickColor.h"

#include <wx/event.h>

namespace
{
bool SameColor(const ColorRGB& a, const ColorRGB& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool IsModel4D(const Poly* poly)
{
    return (poly->mFlags & Poly::kIs4D) != 0;
}

Poly* Current3D()
{
    Poly* poly = GetCurrentPoly();
    return poly && !IsModel4D(poly) ? poly : nullptr;
}

// The scheme bit each scheme command stands for.
struct SchemeCommand
{
    int command;
    uint32_t bit;
};
constexpr SchemeCommand kSchemeCommands[] = {
    {kCmdToggleSingleColor, kFaceColorToggleSingleAuto},
    {kCmdSchemeSingleColor, kFaceColorSingle},
    {kCmdSchemeBySides, kFaceColorBySides},
    {kCmdSchemeByFaceType, kFaceColorByType},
    {kCmdSchemeAlongSection, kFaceColorAlongSection},
    {kCmdSchemePerFace, kFaceColorPerFace},
    {kCmdSameColorChiralPairs, kFaceColorChiralAlike},
    {kCmdSameColorCoplanar, kFaceColorCoplanarAlike},
    {kCmdSameColorCoplanarChiral, kFaceColorCoplanarChiralAlike},
    {kCmdSameColorFrontAndBack, kFaceColorFrontBackAlike},
    {kCmdArrangeDodecahedral1, kDodecahedralArrangement1},
    {kCmdArrangeDodecahedral2, kDodecahedralArrangement2},
    {kCmdArrangeIcosahedral1, kIcosahedralArrangement1},
    {kCmdArrangeIcosahedral2, kIcosahedralArrangement2},
    {kCmdArrangeIcosahedral3, kIcosahedralArrangement3},
    {kCmdArrangeTriacontahedral1, kRhombicTriacontahedralArrangement1},
    {kCmdArrangeTriacontahedral2, kRhombicTriacontahedralArrangement2},
    {kCmdArrangeCubic, kCubicArrangement},
    {kCmdArrangeOctahedral, kOctahedralArrangement},
    {kCmdArrangeRhombicDodecahedral1, kRhombicDodecahedralArrangement1},
    {kCmdArrangeRhombicDodecahedral2, kRhombicDodecahedralArrangement2},
    {kCmdArrangeRhombicDodecahedral3, kRhombicDodecahedralArrangement3},
};

constexpr int kDiagramSchemeCommands[kNumStellationDiagramColorSchemes] = {
    kCmdDiagramPerFrontBackInternal, kCmdDiagramPerFrontBack, kCmdDiagramPerFacet,
    kCmdDiagramPerChiralPair,        kCmdDiagramPer2DLayer,   kCmdDiagramPer3DLayer};

// The modifiers need a 3D model coloured by a scheme they modify.
bool ModifierApplies(uint32_t bit, uint32_t word, bool model3D)
{
    if (!model3D)
        return false;
    switch (bit)
    {
    case kFaceColorChiralAlike:
    case kFaceColorCoplanarChiralAlike:
        return (word & kFaceColorByType) != 0;
    case kFaceColorCoplanarAlike:
        return (word & (kFaceColorBySides | kFaceColorByType)) != 0;
    case kFaceColorFrontBackAlike:
        return (word & (kFaceColorSingle | kFaceColorBySides | kFaceColorByType)) != 0;
    default:
        return true;
    }
}

bool IsModifier(uint32_t bit)
{
    return bit == kFaceColorChiralAlike || bit == kFaceColorCoplanarAlike || bit == kFaceColorCoplanarChiralAlike ||
           bit == kFaceColorFrontBackAlike;
}

// What a colour command works on in a 3D model: the selected edge, else the selected face or
// vertex (the face of the stellation diagram shown when none is selected).
PolyElement* SelectedElement(Poly& poly)
{
    if (Edge* edge = poly.GetSelectedEdge())
        return edge;
    return poly.GetSelectedFace();
}

void AfterVertexChange(const PolyElement* element)
{
    const FaceVert* fv = element ? element->AsFaceVert() : nullptr;
    if (fv && fv->IsVert())
        GetShell().CheckVertexColorVisible();
}
}  // namespace

void CPolyDoc::BindColorCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ReplaceColorThroughout(false); }, kCmdReplaceFaceColor);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ReplaceColorThroughout(true); }, kCmdReplaceBackFaceColor);
    const struct
    {
        int command;
        int scope;
        bool back;
    } kSetCommands[] = {
        {kCmdSetFaceTypeColor, Poly::kColorScopeType, false},
        {kCmdSetSingleFaceColor, Poly::kColorScopeSingle, false},
        {kCmdSetAllFaceColors, Poly::kColorScopeAll, false},
        {kCmdSetBackFaceTypeColor, Poly::kColorScopeType, true},
        {kCmdSetSingleBackFaceColor, Poly::kColorScopeSingle, true},
        {kCmdSetAllBackFaceColors, Poly::kColorScopeAll, true},
    };
    for (const auto& c : kSetCommands)
        Bind(wxEVT_MENU, [this, c](wxCommandEvent&) { SetElementColors(c.scope, c.back); }, c.command);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { TakeColorFromNeighbours(); }, kCmdTakeNeighbourColors);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ColorCompoundPart(); }, kCmdColorCompoundPart);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SetBackgroundColor(); }, kCmdSetBackgroundColor);

    for (const SchemeCommand& c : kSchemeCommands)
    {
        const uint32_t bit = c.bit;
        Bind(wxEVT_MENU, [this, bit](wxCommandEvent&) { ChangeFaceColorScheme(bit); }, c.command);
        if (c.command == kCmdToggleSingleColor)
            continue;
        Bind(
            wxEVT_UPDATE_UI,
            [bit](wxUpdateUIEvent& event) {
                const uint32_t word = FaceColorScheme();
                if (IsModifier(bit))
                    event.Enable(ModifierApplies(bit, word, Current3D() != nullptr));
                event.Check((word & bit) != 0);
            },
            c.command);
    }
    for (int scheme = 0; scheme < kNumStellationDiagramColorSchemes; ++scheme)
    {
        Bind(wxEVT_MENU, [scheme](wxCommandEvent&) { Poly::SetStellationDiagramColorScheme(scheme); },
             kDiagramSchemeCommands[scheme]);
        Bind(
            wxEVT_UPDATE_UI,
            [scheme](wxUpdateUIEvent& event) { event.Check(StellationDiagramColorScheme() == scheme); },
            kDiagramSchemeCommands[scheme]);
    }
}

void CPolyDoc::ChangeFaceColorScheme(uint32_t bit)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    const FaceColorSchemeChange change = GetFaceColorMenuChange(bit, FaceColorScheme());
    poly->SetFaceColorScheme(change.code, change.mask);
    GetShell().FaceColorsChanged(poly, false);
}

void CPolyDoc::ReplaceColorThroughout(bool back)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if (IsModel4D(poly))
    {
        if (!back)
            ReplaceCellColor4D(*poly);
        return;
    }
    if (!back && poly->HasSelectedVert())
    {
        const uint32_t old = poly->GetVertColorRef();
        uint32_t chosen = old;
        if (!PickColorRGB(chosen, true))
            return;
        poly->ReplaceVertexColor(chosen, old);
        GetShell().CheckVertexColorVisible();
        return;
    }
    if (!back && poly->GetSelectedEdge())
    {
        // The kit's edge-style menu takes this place while the kit style is on, once it exists.
        const uint32_t old = poly->GetSelectedEdgeColorRef();
        uint32_t chosen = old;
        if (!PickColorRGB(chosen, true))
            return;
        poly->ReplaceEdgeColor(chosen, old);
        return;
    }
    const FaceVert* face = poly->GetStellationFace();
    if (!face)
        return;
    const ColorRGB old = back ? face->mBackColor : face->mColor;
    ColorRGB chosen = old;
    for (;;)
    {
        if (!PickColor(chosen, true) || SameColor(chosen, old))
            return;
        if (!poly->HasElementColor(chosen))
            break;
        if (ShowMessage(kMbYesNo | kMbIconExclamation,
                        "There are already other faces of that color.\nWould you like to merge the two sets of "
                        "faces\ninto a single color group?") == kIdYes)
            break;
        chosen = old;
    }
    poly->ReplaceFaceColor(old, chosen, back);
}

void CPolyDoc::SetElementColors(int scope, bool back)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if (IsModel4D(poly))
    {
        if (!back)
            SetElementColors4D(*poly, scope);
        return;
    }
    PolyElement* element = back ? poly->GetStellationFace() : SelectedElement(*poly);
    if (!element)
        return;
    const FaceVert* fv = element->AsFaceVert();
    if (back && scope == Poly::kColorScopeSingle && !Poly::MayChangeBackColor(fv))
        return;
    const ColorRGB* start = PolyElement::GetColor(element);
    ColorRGB color = back && fv ? fv->mBackColor : start ? *start : ColorRGB{};
    if (!PickColor(color, true))
        return;
    const bool withMirror = scope == Poly::kColorScopeType && !back && IsReflexibilityMaintained();
    if (poly->SetElementColor(element, scope, color, back, withMirror))
        AfterVertexChange(element);
}

void CPolyDoc::TakeColorFromNeighbours()
{
    if (Poly* poly = Current3D())
        poly->TakeColorFromNeighbours(poly->GetStellationFace());
}

void CPolyDoc::ColorCompoundPart()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if (IsModel4D(poly))
    {
        ColorCompoundPart4D(*poly);
        return;
    }
    FaceVert* face = poly->GetStellationFace();
    if (!face)
        return;
    ColorRGB color = face->mColor;
    if (!PickColor(color, true))
        return;
    poly->SetPartColor(face, color);
}

void CPolyDoc::SetBackgroundColor()
{
    const NewView* first = NewView::GetFirstView();
    ColorRGB color = first ? first->GetBackgroundColor() : NewView::GetDefaultBackgroundColor();
    if (!PickColor(color, false))
        return;
    NewView::SetBackgroundColorAll(color);
    NewView::InvalidateAll(false, true);
}
