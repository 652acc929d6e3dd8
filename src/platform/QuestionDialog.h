#pragma once

#include "kernel/UserServices.h"

#include <wx/dialog.h>

#include <vector>

class wxButton;

// Spacings of a question's buttons: within a row, between columns, and between rows (a "/" row
// starts kQuestionGapExtra further down than a "," row).
inline constexpr int kQuestionButtonGap = 10;
inline constexpr int kQuestionColumnGap = 10;
inline constexpr int kQuestionRowGap = 2;
inline constexpr int kQuestionGapExtra = 8;
// The buttons' control ids, in label order.
inline constexpr int kQuestionFirstButtonId = 3;

// The rectangles of a question's buttons relative to the top-left of their area, from their natural
// sizes: rows fill each column from the top, columns go left to right. Each column is as wide as its
// widest row (the columns share what minWidth adds), and every row's buttons widen evenly to span
// their column. total receives the area's size.
std::vector<wxRect> LayoutQuestionButtons(const std::vector<QuestionButton>& buttons, const std::vector<wxSize>& sizes,
                                          int minWidth, wxSize& total);

// The "Question" box with buttons made from the caller's labels.
class QuestionDialog : public wxDialog
{
public:
    QuestionDialog(wxWindow* owner, const QuestionRequest& request);

    // The label index that ended the dialog.
    int Result() const { return mResult; }
    wxButton* Button(int index) const;
    // Null when the message is blank.
    wxWindow* MessageWindow() const { return mMessage; }
    wxWindow* IconWindow() const { return mIcon; }

private:
    void CreateMessage();
    void CreateButtons(int top, int messageWidth);
    void Finish(int index);
    void OnCharHook(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnButton(wxCommandEvent& event);

    const QuestionRequest& mRequest;
    std::vector<wxButton*> mButtons;
    wxWindow* mMessage = nullptr;
    wxWindow* mIcon = nullptr;
    int mResult = -1;
};

int RunQuestionDialog(wxWindow* owner, const QuestionRequest& request);
