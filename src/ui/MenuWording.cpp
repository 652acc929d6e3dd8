#include "ui/MenuWording.h"

#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandTable.h"
#include "platform/MainWindow.h"
#include "polytope4d/Element4D.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include <cctype>
#include <cstring>

namespace
{
void UpdateMenuText(wxUpdateUIEvent& event, int wording)
{
    const wxFrame* frame = GetMainFrame();
    const wxMenuBar* bar = frame ? frame->GetMenuBar() : nullptr;
    const wxMenuItem* item = bar ? bar->FindItem(event.GetId()) : nullptr;
    if (!item)
        return;
    const std::string text = item->GetItemLabel().utf8_string();
    std::string reworded = text;
    if (UseWording(reworded, wording, CurrentWordingModel()) && reworded != text)
        event.SetText(wxString::FromUTF8(reworded));
}
}  // namespace

WordingModel CurrentWordingModel()
{
    WordingModel model;
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return model;
    model.model4D = (poly->mFlags & Poly::kIs4D) != 0;
    if (model.model4D)
    {
        const Selection4D& selection = GetSelection4D();
        model.vertexSelected = selection.mVert != nullptr;
        model.edgeSelected = selection.mEdge != nullptr;
    }
    else
    {
        model.vertexSelected = poly->HasSelectedVert();
        model.edgeSelected = poly->HasSelectedEdge();
    }
    return model;
}

bool ReplaceWord(std::string& text, const char* oldWord, const char* newWord)
{
    const size_t oldLength = std::strlen(oldWord);
    if (oldLength == 0)
        return false;
    const std::string source = text;
    std::string out;
    bool replaced = false;
    for (size_t i = 0; i < source.size();)
    {
        bool match = i + oldLength <= source.size();
        for (size_t j = 0; match && j < oldLength; ++j)
            match = std::tolower(static_cast<unsigned char>(source[i + j])) ==
                    std::tolower(static_cast<unsigned char>(oldWord[j]));
        if (!match)
        {
            out += source[i++];
            continue;
        }
        for (size_t j = 0; newWord[j]; ++j)
        {
            const bool capital = j < oldLength && std::isupper(static_cast<unsigned char>(source[i + j]));
            out += capital ? char(std::toupper(static_cast<unsigned char>(newWord[j]))) : newWord[j];
        }
        i += oldLength;
        replaced = true;
    }
    text = out;
    return replaced;
}

bool UseFaceCellWording(std::string& text, const WordingModel& model)
{
    return model.model4D ? ReplaceWord(text, "face", "cell") : ReplaceWord(text, "cell", "face");
}

bool UseTopeWording(std::string& text)
{
    const bool hedron = ReplaceWord(text, "hedron", "tope");
    const bool hedra = ReplaceWord(text, "hedra", "topes");
    return hedron || hedra;
}

bool UseSelectionWording(std::string& text, bool vertexAllowed, const WordingModel& model)
{
    bool changed = false;
    auto replace = [&](const char* from, const char* to) { changed = ReplaceWord(text, from, to) || changed; };
    if (vertexAllowed && model.vertexSelected)
    {
        for (const char* plural : {"faces", "cells", "edges"})
            replace(plural, "vertices");
        for (const char* single : {"face", "cell", "edge"})
            replace(single, "vertex");
    }
    else if (model.edgeSelected)
    {
        replace("vertices", "edges");
        for (const char* single : {"face", "cell", "vertex"})
            replace(single, "edge");
    }
    else
    {
        const char* element = model.model4D ? "cell" : "face";
        replace(model.model4D ? "face" : "cell", element);
        replace("vertices", model.model4D ? "cells" : "faces");
        replace("edge", element);
        replace("vertex", element);
    }
    return changed;
}

bool UseWording(std::string& text, int wording, const WordingModel& model)
{
    switch (wording)
    {
    case kWordingFaceCell:
        return UseFaceCellWording(text, model);
    case kWordingSelection:
        return UseSelectionWording(text, true, model);
    case kWordingSelectionNoVertex:
        return UseSelectionWording(text, false, model);
    case kWordingTope:
        return UseTopeWording(text);
    default:
        return false;
    }
}

void UpdateSelectionMenuText(wxUpdateUIEvent& event, bool vertexAllowed)
{
    UpdateMenuText(event, vertexAllowed ? kWordingSelection : kWordingSelectionNoVertex);
}

void UpdateFaceCellMenuText(wxUpdateUIEvent& event)
{
    UpdateMenuText(event, kWordingFaceCell);
}
