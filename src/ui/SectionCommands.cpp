#include "ui/SectionCommands.h"

#include "kernel/Prompt.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymAxis.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"
#include "view/ViewDisplayOptions.h"
#include "view/ViewThrows.h"

#include <wx/event.h>

#include <string>

namespace
{
constexpr int kAlongAxisCommands[] = {kCmdSectionAlongAxis0, kCmdSectionAlongAxis1, kCmdSectionAlongAxis2};
constexpr int kModelViewCommands[] = {kCmdSectionInModelsNever, kCmdSectionInModelsWithView,
                                      kCmdSectionInModelsAlways};

const SymGroup* Current3DGroup()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly || (poly->mFlags & Poly::kIs4D))
        return nullptr;
    return poly->GetSymGroup();
}

const SymAxis* FirstAxisOfClass(int axisClass)
{
    const SymGroup* group = Current3DGroup();
    if (!group || axisClass >= group->mNumAxisSets)
        return nullptr;
    const SymAxisSet& set = group->mAxisSets[size_t(axisClass)];
    return set.mNumAxes > 0 && set.mAxes ? &set.mAxes[0] : nullptr;
}

// The item keeps a key: the first digit of the axis text (its fold or its place).
wxString WithMnemonic(const std::string& text)
{
    const size_t at = text.find_first_of("0123456789");
    if (at == std::string::npos)
        return wxString::FromUTF8(text);
    return wxString::FromUTF8(text.substr(0, at)) + "&" + wxString::FromUTF8(text.substr(at));
}

void SetModelViewMode(int mode)
{
    int& current = GetViewDisplayOptions().sectionDisplayMode;
    // The panes that show the section under the old mode forget it, those of the new one draw it.
    InvalidateCrossSectionViews(false);
    current = mode;
    InvalidateCrossSectionViews(false);
}

void PromptSectionDepth()
{
    GetSceneThrows().sliceDepth.Stop();
    double depth = GetSceneParameters().sliceRatio;
    if (PromptReal("Enter cross-section depth (0.0 to 1.0)", depth))
        SetSectionDepth(depth);
}

void ToggleAutomaticDirection()
{
    bool& automatic = GetViewDisplayOptions().autoSectionDirection;
    automatic = !automatic;
    if (automatic)
    {
        GetSceneParameters().sliceSameAsProj = false;
        UpdateCrossSectionDirection();
    }
}
}  // namespace

void BindSectionCommands(wxEvtHandler* frame)
{
    for (int axisClass = 0; axisClass < 3; ++axisClass)
    {
        frame->Bind(
            wxEVT_MENU,
            [axisClass](wxCommandEvent&) {
                if (const SymAxis* axis = FirstAxisOfClass(axisClass))
                {
                    StopSliceThrows();
                    SetCrossSectionDirection3D(axis->mDir);
                }
            },
            kAlongAxisCommands[axisClass]);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [axisClass](wxUpdateUIEvent& event) {
                std::string text;
                SymGroup::GetAxisText(Current3DGroup(), text, "Along", axisClass);
                event.SetText(WithMnemonic(text));
                event.Enable(FirstAxisOfClass(axisClass) != nullptr);
            },
            kAlongAxisCommands[axisClass]);
    }
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleAutomaticDirection(); }, kCmdSectionAutomatic);
    frame->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetViewDisplayOptions().autoSectionDirection); },
        kCmdSectionAutomatic);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { PromptSectionDepth(); }, kCmdSetSectionDepth);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { SnapSectionDepth(0); }, kCmdSnapSectionDepth);
    for (int mode = 0; mode < 3; ++mode)
    {
        frame->Bind(wxEVT_MENU, [mode](wxCommandEvent&) { SetModelViewMode(mode); }, kModelViewCommands[mode]);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [mode](wxUpdateUIEvent& event) { event.Check(GetViewDisplayOptions().sectionDisplayMode == mode); },
            kModelViewCommands[mode]);
    }
}
