#include "document/PolyDoc.h"
#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "model/Poly.h"
#include "model/PolyElement.h"
#include "platform/CommandIds.h"

#include <wx/event.h>

#include <cstdio>

namespace
{
// The element Ctrl+T puts its text on: the selected element, else the shown side's selected
// stellation face.
PolyElement* TextElement()
{
    Poly* poly = GetCurrentPoly();
    return poly ? poly->GetSelectedEdgeOrFace() : nullptr;
}

std::string ElementTextPrompt(const char* kindWord)
{
    char message[512];
    std::snprintf(message, sizeof message,
                  "<b>Enter text to appear on %s</b>\n\nA few HTML tags are acceptable, including these:\n"
                  "<<b>, <<i>, <<font color>, <<font size>, <<font face>\n"
                  "<<center>, <<right>, <<ul>, <<ol>, <<li>, <<sup>, <<sub>\n"
                  "<<a href=\"shape:Icosahedron\">",
                  kindWord);
    return message;
}
}  // namespace

void CPolyDoc::BindTextCommands()
{
    Bind(wxEVT_MENU, &CPolyDoc::OnEditElementText, this, kCmdEditElementText);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(TextElement() != nullptr); },
         kCmdEditElementText);
}

void CPolyDoc::OnEditElementText(wxCommandEvent& /*event*/)
{
    EditElementText();
}

bool CPolyDoc::EditElementText()
{
    Poly* poly = GetCurrentPoly();
    PolyElement* element = TextElement();
    if (!poly || !element)
        return false;
    std::string text = element->GetText() ? element->GetText() : "";
    if (!PromptString(ElementTextPrompt(poly->GetSelectedKindWord()).c_str(), text))
        return false;
    PolyElement::SetText(element, text.c_str());
    GetShell().InvalidateAllViews(false, 0);
    return true;
}
