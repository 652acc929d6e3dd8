#pragma once

#include <wx/gdicmn.h>

#include <string>

class wxDC;
class wxRichTextAttr;
class wxRichTextCtrl;

// The size of a rich text's whole content as formatted, unwrapped: each line the sum of its runs'
// widths and as high as its highest run, an empty line one space in its own format; the widest line
// plus 3 by the sum of the heights plus extraHeight.
wxSize MeasureRichEditText(wxRichTextCtrl* control, int extraHeight);

// The extent of a text in the font of a rich text format, in the device context.
wxSize MeasureCharFormatText(const wxString& text, wxDC& dc, const wxRichTextAttr& format);
