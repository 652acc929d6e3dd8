#include "platform/QuestionDialog.h"

#include "kernel/AskQuestion.h"
#include "kernel/Strings.h"
#include "platform/DialogUtils.h"
#include "platform/HtmlRichEdit.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

#include <algorithm>

namespace
{
constexpr int kMargin = 10;

struct Row
{
    std::vector<int> buttons;
    int gapBefore = 0;
    int width = 0;
    int height = 0;
};

struct Column
{
    std::vector<Row> rows;
    int width = 0;
    int height = 0;
};

// Widest message line before wrapping.
int MaxMessageWidth(const wxWindow* window)
{
    const int display = wxDisplay::GetFromWindow(window);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0 : unsigned(display)).GetClientArea();
    return std::max(area.width * 2 / 3, 200);
}

// wxGTK gives a dialog's first button the focus when nothing else takes it, and a dialog with no
// focused window gets no keys. A question without a default button leaves every button unfocused
// (Enter must not be taken for a choice): an empty one-pixel window takes the focus and the keys.
wxWindow* NewFocusSink(wxWindow* dialog)
{
    auto* sink = new wxWindow(dialog, wxID_ANY, wxPoint(0, 0), wxSize(1, 1), wxWANTS_CHARS);
    sink->SetBackgroundColour(dialog->GetBackgroundColour());
    sink->SetCanFocus(true);
    return sink;
}

wxArtID IconFor(int flags)
{
    if (flags & QuestionRequest::kStopIcon)
        return wxART_ERROR;
    if (flags & QuestionRequest::kExclamationIcon)
        return wxART_WARNING;
    if (flags & QuestionRequest::kInformationIcon)
        return wxART_INFORMATION;
    if (flags & QuestionRequest::kQuestionIcon)
        return wxART_QUESTION;
    return wxArtID();
}
}  // namespace

std::vector<wxRect> LayoutQuestionButtons(const std::vector<QuestionButton>& buttons, const std::vector<wxSize>& sizes,
                                          int minWidth, wxSize& total)
{
    // First pass: rows and columns with their natural sizes.
    std::vector<Column> columns;
    for (size_t i = 0; i < buttons.size() && i < sizes.size(); ++i)
    {
        const QuestionButton::Place place = i == 0 ? QuestionButton::Place::SameRow : buttons[i].place;
        if (columns.empty() || place == QuestionButton::Place::NewColumn)
            columns.emplace_back();
        Column& column = columns.back();
        if (column.rows.empty() || place == QuestionButton::Place::NewRow ||
            place == QuestionButton::Place::NewRowWithGap)
        {
            column.rows.emplace_back();
            if (column.rows.size() > 1)
                column.rows.back().gapBefore =
                    kQuestionRowGap + (place == QuestionButton::Place::NewRowWithGap ? kQuestionGapExtra : 0);
        }
        Row& row = column.rows.back();
        row.width += (row.buttons.empty() ? 0 : kQuestionButtonGap) + sizes[i].x;
        row.height = std::max(row.height, sizes[i].y);
        row.buttons.push_back(int(i));
    }

    int width = 0;
    total = wxSize(0, 0);
    for (Column& column : columns)
    {
        for (const Row& row : column.rows)
        {
            column.width = std::max(column.width, row.width);
            column.height += row.gapBefore + row.height;
        }
        width += column.width;
        total.y = std::max(total.y, column.height);
    }
    width += columns.empty() ? 0 : kQuestionColumnGap * int(columns.size() - 1);
    if (!columns.empty() && minWidth > width)
    {
        const int extra = minWidth - width;
        for (size_t c = 0; c < columns.size(); ++c)
            columns[c].width += extra / int(columns.size()) + (int(c) < extra % int(columns.size()) ? 1 : 0);
        width = minWidth;
    }
    total.x = width;

    // Second pass: place, widening each row's buttons evenly to the column's width.
    std::vector<wxRect> rects(std::min(buttons.size(), sizes.size()));
    int x = 0;
    for (const Column& column : columns)
    {
        int y = 0;
        for (const Row& row : column.rows)
        {
            y += row.gapBefore;
            const int n = int(row.buttons.size());
            const int extra = column.width - row.width;
            int bx = x;
            for (int k = 0; k < n; ++k)
            {
                const int i = row.buttons[size_t(k)];
                const int w = sizes[size_t(i)].x + extra / n + (k < extra % n ? 1 : 0);
                rects[size_t(i)] = wxRect(bx, y, w, row.height);
                bx += w + kQuestionButtonGap;
            }
            y += row.height;
        }
        x += column.width + kQuestionColumnGap;
    }
    return rects;
}

QuestionDialog::QuestionDialog(wxWindow* owner, const QuestionRequest& request)
    : wxDialog(owner, wxID_ANY, request.caption.empty() ? wxString("Question") : wxString::FromUTF8(request.caption)),
      mRequest(request)
{
    CreateMessage();
    int top = kMargin;
    int messageWidth = 0;
    if (mIcon)
    {
        top = std::max(top, mIcon->GetRect().GetBottom() + 1 + kMargin);
        messageWidth = mIcon->GetRect().GetRight() + 1 - kMargin;
    }
    if (mMessage)
    {
        top = std::max(top, mMessage->GetRect().GetBottom() + 1 + kMargin);
        messageWidth = mMessage->GetRect().GetRight() + 1 - kMargin;
    }
    CreateButtons(top, messageWidth);

    Bind(wxEVT_CHAR_HOOK, &QuestionDialog::OnCharHook, this);
    Bind(wxEVT_CHAR, &QuestionDialog::OnChar, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Finish(mRequest.cancelIndex); });
    CentreOnParent();
}

void QuestionDialog::CreateMessage()
{
    if ((mRequest.flags & QuestionRequest::kBlankMessage) || IsBlank(mRequest.message))
        return;
    int left = kMargin;
    wxBitmap icon;
    const wxArtID art = IconFor(mRequest.flags);
    if (!art.empty())
        icon = wxArtProvider::GetBitmap(art, wxART_MESSAGE_BOX);
    else if (const auto* frame = wxDynamicCast(wxGetTopLevelParent(GetParent()), wxTopLevelWindow))
    {
        // Without an icon of its own a question shows the program's.
        if (frame->GetIcon().IsOk())
            icon.CopyFromIcon(frame->GetIcon());
    }
    if (icon.IsOk())
    {
        mIcon = new wxStaticBitmap(this, wxID_ANY, icon, wxPoint(kMargin, kMargin));
        left = mIcon->GetRect().GetRight() + 1 + kMargin;
    }

    const int maxWidth = MaxMessageWidth(this);
    if (mRequest.flags & QuestionRequest::kHtml)
    {
        auto* html = new HtmlRichEdit(this);
        html->SetHtmlText(mRequest.message);
        html->FitToText(maxWidth);
        mMessage = html;
    }
    else
    {
        auto* text = new wxStaticText(this, wxID_ANY, wxString());
        text->SetLabelText(wxString::FromUTF8(mRequest.message));
        text->Wrap(maxWidth);
        text->SetSize(text->GetBestSize());
        mMessage = text;
    }
    mMessage->Move(left, kMargin);
}

void QuestionDialog::CreateButtons(int top, int messageWidth)
{
    // Every button has the margin around its text that the toolkit gives a plain button; the text is
    // long enough that no minimum width hides the margin.
    const wxString sample("Template button text");
    auto* sampleButton = new wxButton(this, wxID_ANY, sample);
    const wxSize sampleText = MeasureTextGuiFont(this, sample.utf8_string(), 0);
    const wxSize margin = sampleButton->GetBestSize() - sampleText;
    sampleButton->Destroy();

    std::vector<wxSize> sizes;
    for (const QuestionButton& b : mRequest.buttons)
        sizes.push_back(MeasureTextGuiFont(this, b.text, 0) + margin);
    wxSize area;
    const std::vector<wxRect> rects = LayoutQuestionButtons(mRequest.buttons, sizes, messageWidth, area);

    for (size_t i = 0; i < mRequest.buttons.size(); ++i)
    {
        const QuestionButton& b = mRequest.buttons[i];
        const wxRect& r = rects[i];
        auto* button = new wxButton(this, kQuestionFirstButtonId + int(i),
                                    wxControl::EscapeMnemonics(wxString::FromUTF8(b.text)),
                                    wxPoint(kMargin + r.x, top + r.y), r.GetSize(), b.alignLeft ? wxBU_LEFT : 0);
        button->Enable(!b.disabled);
        button->Bind(wxEVT_CHAR, &QuestionDialog::OnChar, this);
        mButtons.push_back(button);
    }
    if (!mButtons.empty())
        Bind(wxEVT_BUTTON, &QuestionDialog::OnButton, this, kQuestionFirstButtonId,
             kQuestionFirstButtonId + int(mButtons.size()) - 1);
    SetClientSize(kMargin + area.x + kMargin, top + area.y + kMargin);

    const int d = mRequest.defaultIndex;
    if (d >= 0 && d < int(mButtons.size()) && mButtons[size_t(d)]->IsEnabled())
    {
        mButtons[size_t(d)]->SetDefault();
        mButtons[size_t(d)]->SetFocus();
    }
    else
    {
        wxWindow* sink = NewFocusSink(this);
        sink->Bind(wxEVT_CHAR, &QuestionDialog::OnChar, this);
        sink->SetFocus();
    }
}

wxButton* QuestionDialog::Button(int index) const
{
    return index >= 0 && index < int(mButtons.size()) ? mButtons[size_t(index)] : nullptr;
}

void QuestionDialog::Finish(int index)
{
    mResult = index;
    if (IsModal())
        EndModal(wxID_OK);
}

void QuestionDialog::OnButton(wxCommandEvent& event)
{
    const int index = event.GetId() - kQuestionFirstButtonId;
    if (index >= 0 && index < int(mButtons.size()))
        Finish(index);
}

void QuestionDialog::OnCharHook(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (key == WXK_ESCAPE)
    {
        Finish(mRequest.cancelIndex);
        return;
    }
    if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER)
    {
        // Enter presses the button that has the focus, else answers with the default label.
        const wxWindow* focus = FindFocus();
        for (size_t i = 0; i < mButtons.size(); ++i)
            if (mButtons[i] == focus && mButtons[i]->IsEnabled())
            {
                Finish(int(i));
                return;
            }
        Finish(mRequest.defaultIndex);
        return;
    }
    event.Skip();
}

void QuestionDialog::OnChar(wxKeyEvent& event)
{
    // Disabled labels do not answer to their keys (see QuestionAcceleratorAnswer).
    const int answer = event.HasModifiers() ? -1 : QuestionAcceleratorAnswer(mRequest, int(event.GetUnicodeKey()));
    if (answer >= 0)
        Finish(answer);
    else
        event.Skip();
}

int RunQuestionDialog(wxWindow* owner, const QuestionRequest& request)
{
    QuestionDialog dialog(owner, request);
    dialog.ShowModal();
    return dialog.Result();
}
