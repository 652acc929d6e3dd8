#include "kernel/AskQuestion.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Place = QuestionButton::Place;

struct ExpectedButton
{
    const char* text;
    Place place;
    bool disabled;
    bool alignLeft;
    char accelerator;
};

struct LabelCase
{
    const char* name;
    std::vector<const char*> labels;
    std::vector<ExpectedButton> buttons;
    int defaultIndex;
    int cancelIndex;
};

// Counts the questions that reach the services and asks a second one from inside the first, as a
// timer or a redraw could while a question box is open.
class NestingServices : public ScriptedServices
{
public:
    int nestedAnswer = 99;
    int AskQuestion(const QuestionRequest& request) override
    {
        if (nestedAnswer == 99)
            nestedAnswer = ::AskQuestion(0, "Inner", {"+A", "B"}, "inner");
        return ScriptedServices::AskQuestion(request);
    }
};
}  // namespace

TEST(AskQuestionTest, LabelMarksGiveLayoutStateAndText)
{
    const LabelCase kCases[] = {
        {"default, a row each, cancel",
         {"+X", "/Y", "/-Z"},
         {{"X", Place::SameRow, false, false, 0},
          {"Y", Place::NewRowWithGap, false, false, 0},
          {"Z", Place::NewRowWithGap, false, false, 0}},
         0,
         2},
        {"layout mark of the first label is dropped",
         {"/First", ",Second", "|Third", "Fourth"},
         {{"First", Place::SameRow, false, false, 0},
          {"Second", Place::NewRow, false, false, 0},
          {"Third", Place::NewColumn, false, false, 0},
          {"Fourth", Place::SameRow, false, false, 0}},
         0,
         -1},
        {"state marks in any order",
         {"<-=q#Quit", "+=1One"},
         {{"Quit", Place::SameRow, true, true, 'q'}, {"One", Place::SameRow, false, false, '1'}},
         1,
         0},
        {"memory slots, the second one empty",
         {"/<=1Cube", "/<#=2", "/<=3Prism", "/-Cancel"},
         {{"Cube", Place::SameRow, false, true, '1'},
          {"", Place::NewRowWithGap, true, true, '2'},
          {"Prism", Place::NewRowWithGap, false, true, '3'},
          {"Cancel", Place::NewRowWithGap, false, false, 0}},
         0,
         3},
        {"a disabled default passes it to the next label",
         {"+#Selected face only", "/All faces", "/-Cancel"},
         {{"Selected face only", Place::SameRow, true, false, 0},
          {"All faces", Place::NewRowWithGap, false, false, 0},
          {"Cancel", Place::NewRowWithGap, false, false, 0}},
         1,
         2},
        {"the implicit default passes along disabled labels",
         {"#A", "#B", "C"},
         {{"A", Place::SameRow, true, false, 0}, {"B", Place::SameRow, true, false, 0}, {"C", Place::SameRow, false, false, 0}},
         2,
         -1},
        {"mark order does not matter for a disabled default",
         {"#+A", "B"},
         {{"A", Place::SameRow, true, false, 0}, {"B", Place::SameRow, false, false, 0}},
         1,
         -1},
        {"a disabled default on the last label leaves none",
         {"A", "+#B"},
         {{"A", Place::SameRow, false, false, 0}, {"B", Place::SameRow, true, false, 0}},
         -1,
         -1},
        {"marks only at the start; an accelerator mark at the end has no key",
         {"a+b", "=", "Proceed anyway", "+Cancel"},
         {{"a+b", Place::SameRow, false, false, 0},
          {"", Place::SameRow, false, false, 0},
          {"Proceed anyway", Place::SameRow, false, false, 0},
          {"Cancel", Place::SameRow, false, false, 0}},
         3,
         -1},
        {"no labels: no default", {}, {}, -1, -1},
        {"a key outside ASCII is dropped whole",
         {"=\xC3\xA9t\xC3\xA9"},
         {{"t\xC3\xA9", Place::SameRow, false, false, 0}},
         0,
         -1},
    };
    for (const LabelCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        QuestionRequest request;
        ParseQuestionLabels(c.labels.data(), int(c.labels.size()), request);
        ASSERT_EQ(request.buttons.size(), c.buttons.size());
        for (size_t i = 0; i < c.buttons.size(); ++i)
        {
            SCOPED_TRACE(i);
            const QuestionButton& b = request.buttons[i];
            EXPECT_EQ(b.text, c.buttons[i].text);
            EXPECT_EQ(b.place, c.buttons[i].place);
            EXPECT_EQ(b.disabled, c.buttons[i].disabled);
            EXPECT_EQ(b.alignLeft, c.buttons[i].alignLeft);
            EXPECT_EQ(b.accelerator, c.buttons[i].accelerator);
        }
        EXPECT_EQ(request.defaultIndex, c.defaultIndex);
        EXPECT_EQ(request.cancelIndex, c.cancelIndex);
    }
}

TEST(AskQuestionTest, AcceleratorsOfDisabledLabelsDoNotAnswer)
{
    const char* const labels[] = {"/<=1Cube", "/<#=2", "/<=3Prism", "+=qQuit", "/-Cancel"};
    QuestionRequest request;
    ParseQuestionLabels(labels, 5, request);
    struct KeyCase
    {
        int key;
        int answer;
    };
    const KeyCase kCases[] = {{'1', 0}, {'2', -1}, {'3', 2}, {'q', 3}, {'Q', -1}, {'4', -1}, {0, -1}, {0xE9, -1}};
    for (const KeyCase& c : kCases)
    {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(QuestionAcceleratorAnswer(request, c.key), c.answer);
    }
}

TEST(AskQuestionTest, AsksTheServicesWithTheFormattedMessage)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;

    // Enter: the default label.
    EXPECT_EQ(AskQuestion(QuestionRequest::kQuestionIcon, "Taking color from neighbours",
                          {"Outermost neighbouring face", "/Innermost neighbouring face", "/-Leave unchanged"},
                          "Found a face with neighbours of different colors (face %d, and maybe others).", 17),
              0);
    const ScriptedServices::Call* call = s.LastCall("Question");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->caption, "Taking color from neighbours");
    EXPECT_EQ(call->text, "Found a face with neighbours of different colors (face 17, and maybe others).\n"
                          "[Outermost neighbouring face|Innermost neighbouring face|Leave unchanged]");
    EXPECT_EQ(call->type, unsigned(QuestionRequest::kQuestionIcon));

    s.PushAnswer(1);
    EXPECT_EQ(AskQuestion(0, "Truncation choice",
                          {"+Normal truncation", "/Quasitruncation (retrograde truncation)", "/-Cancel"},
                          "There are two forms of truncation available for this model.\nPlease choose one."),
              1);
    s.PushAnswer(2);  // Escape
    EXPECT_EQ(AskQuestion(0, nullptr, {"+X", "/Y", "/-Z"}, "Pick"), 2);
    EXPECT_EQ(s.LastCall("Question")->caption, "");  // the dialog's own "Question"

    // A click on a disabled button does nothing; the next answer ends the question.
    s.PushAnswer(0);
    s.PushAnswer(2);
    EXPECT_EQ(AskQuestion(0, "Remove Images from...", {"+#Selected face only", "/All faces", "/-Cancel"}, "Which?"), 2);
    // With nothing scripted, Enter gives the default, which moved past the disabled label.
    EXPECT_EQ(AskQuestion(0, "Remove Images from...", {"+#Selected face only", "/All faces", "/-Cancel"}, "Which?"), 1);
    // No default: Enter ends with the cancel index.
    EXPECT_EQ(AskQuestion(0, "Q", {"#A", "-B"}, "m"), 1);
}

TEST(AskQuestionTest, ListFormTakesTheLabelsAsAnArray)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    const char* const options[] = {"/<=15/2 faces", "/<=26 faces", "/-Cancel"};
    s.PushAnswer(1);
    EXPECT_EQ(AskQuestionList(0, "Multiple vertex figure matches", 3, options,
                              "More than one set of faces seems possible for this\nvertex figure.  %s", "Choose:"),
              1);
    EXPECT_EQ(s.LastCall("Question")->text, "More than one set of faces seems possible for this\nvertex figure.  "
                                            "Choose:\n[5/2 faces|6 faces|Cancel]");
    s.PushAnswer(2);
    EXPECT_EQ(AskQuestionList(0, "Multiple vertex figure matches", 3, options, "x"), 2);
}

TEST(AskQuestionTest, BlankMessageIsFlaggedAndLongMessagesAreKept)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    AskQuestion(QuestionRequest::kStopIcon, "Blank", {"OK"}, "%s", " \n\t");
    EXPECT_EQ(s.LastCall("Question")->type, unsigned(QuestionRequest::kStopIcon | QuestionRequest::kBlankMessage));
    AskQuestion(QuestionRequest::kStopIcon, "Not blank", {"OK"}, "%s", " x");
    EXPECT_EQ(s.LastCall("Question")->type, unsigned(QuestionRequest::kStopIcon));
    // A caller cannot pass the internal flag for a message that has text.
    AskQuestion(QuestionRequest::kBlankMessage, "Not blank", {"OK"}, "text");
    EXPECT_EQ(s.LastCall("Question")->type, 0u);

    // The stellation warning is longer than a message box's 512 bytes and reaches the dialog whole.
    const std::string long700(700, 'w');
    AskQuestion(5, "WARNING", {"Proceed anyway", "+Cancel"}, "%s", long700.c_str());
    EXPECT_EQ(s.LastCall("Question")->text, long700 + "\n[Proceed anyway|Cancel]");
}

TEST(AskQuestionTest, AQuestionAskedWhileOneIsOpenAnswersMinusOne)
{
    NestingServices services;
    UserServices* previous = SetServices(&services);
    services.PushAnswer(1);
    const int outer = AskQuestion(0, "Outer", {"+A", "B"}, "outer");
    SetServices(previous);
    EXPECT_EQ(services.nestedAnswer, -1);
    EXPECT_EQ(outer, 1);
    EXPECT_EQ(services.CountCalls("Question"), 1);

    // Once the first question has ended, the next one is asked again.
    ScopedScriptedServices scope;
    EXPECT_EQ(AskQuestion(0, "Again", {"A", "+B"}, "again"), 1);
}
