#include "platform/RichTextMeasure.h"

#include <wx/dcclient.h>
#include <wx/richtext/richtextctrl.h>

#include <algorithm>

wxSize MeasureCharFormatText(const wxString& text, wxDC& dc, const wxRichTextAttr& format)
{
    dc.SetFont(format.GetFont());
    wxCoord width = 0;
    wxCoord height = 0;
    dc.GetTextExtent(text, &width, &height);
    return wxSize(width, height);
}

wxSize MeasureRichEditText(wxRichTextCtrl* control, int extraHeight)
{
    if (!control)
        return wxSize(0, extraHeight);
    wxClientDC dc(control);
    int width = 0;
    int height = 0;
    for (wxRichTextObject* child : control->GetBuffer().GetChildren())
    {
        auto* paragraph = wxDynamicCast(child, wxRichTextParagraph);
        if (!paragraph)
            continue;
        int lineWidth = 0;
        int lineHeight = 0;
        for (wxRichTextObject* leaf : paragraph->GetChildren())
        {
            auto* run = wxDynamicCast(leaf, wxRichTextPlainText);
            if (!run || run->GetText().empty())
                continue;
            wxRichTextAttr format;
            control->GetStyle(run->GetRange().GetStart(), format);
            const wxSize size = MeasureCharFormatText(run->GetText(), dc, format);
            lineWidth += size.x;
            lineHeight = std::max(lineHeight, size.y);
        }
        if (lineHeight == 0)
        {
            wxRichTextAttr format;
            control->GetStyle(paragraph->GetRange().GetStart(), format);
            lineHeight = MeasureCharFormatText(" ", dc, format).y;
        }
        width = std::max(width, lineWidth);
        height += lineHeight;
    }
    return wxSize(width + 3, height + extraHeight);
}
