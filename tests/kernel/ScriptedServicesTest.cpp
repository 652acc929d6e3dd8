#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

TEST(ScriptedServices, RecordsCallsAndAnswersFromTheScript)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    EXPECT_EQ(&Services(), &s);

    s.PushAnswer(kIdNo);
    EXPECT_EQ(Services().MessageBox("Replace it?", "Question", kMbYesNo | kMbIconQuestion), kIdNo);
    // Without a scripted answer: the default (first) button.
    EXPECT_EQ(Services().MessageBox("Oops", "Error", kMbOk | kMbIconStop), kIdOk);
    EXPECT_EQ(Services().MessageBox("Go on?", "Question", kMbYesNoCancel | kMbIconQuestion), kIdYes);
    ASSERT_EQ(s.CountCalls("MessageBox"), 3);
    EXPECT_EQ(s.calls[0].caption, "Question");
    EXPECT_EQ(s.calls[0].text, "Replace it?");
    EXPECT_EQ(s.LastCall("MessageBox")->caption, "Question");

    QuestionRequest q;
    q.buttons = {{"X"}, {"Y"}, {"Z"}};
    q.defaultIndex = 0;
    q.cancelIndex = 2;
    EXPECT_EQ(Services().AskQuestion(q), 0);
    s.PushAnswer(1);
    EXPECT_EQ(Services().AskQuestion(q), 1);
    q.defaultIndex = -1;
    EXPECT_EQ(Services().AskQuestion(q), 2);
}

TEST(ScriptedServices, PromptsKeepAskingUntilTheTextIsAccepted)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    PromptRequest request;
    request.title = "Enter a real number or equation";
    request.accept = [](const std::string& text) { return text != "2+"; };
    s.PushText("2+");
    s.PushText("2*3");
    std::string text = "1";
    EXPECT_TRUE(Services().Prompt(request, text));
    EXPECT_EQ(text, "2*3");
    EXPECT_EQ(s.CountCalls("Prompt"), 2);

    // A script that runs out on a refused text ends as a cancel, never a loop.
    s.PushText("2+");
    text = "1";
    EXPECT_FALSE(Services().Prompt(request, text));
    EXPECT_EQ(text, "1");

    s.PushText("ignored", false);
    EXPECT_FALSE(Services().Prompt(request, text));
}

TEST(ScriptedServices, ProgressCancelsAtTheScriptedPumpAndStaysCancelled)
{
    ScopedScriptedServices scope;
    ScriptedServices& s = scope.services;
    s.cancelAtPump = 2;
    Services().OpenProgressWindow();
    EXPECT_FALSE(Services().PumpProgressWindow().cancelled);
    EXPECT_FALSE(Services().PumpProgressWindow().cancelled);
    EXPECT_TRUE(Services().PumpProgressWindow().cancelled);
    EXPECT_TRUE(Services().PumpProgressWindow().cancelled);
    Services().CloseProgressWindow();
    EXPECT_EQ(s.progressOpened, 1);
    EXPECT_EQ(s.progressClosed, 1);
}

TEST(ScriptedServices, ScopeRestoresThePreviousServices)
{
    UserServices* outer = &Services();
    {
        ScopedScriptedServices scope;
        EXPECT_NE(&Services(), outer);
    }
    EXPECT_EQ(&Services(), outer);
}

TEST(ScriptedServices, UnansweredDialogsCanBeCancelled)
{
    ScriptedServices s;
    s.cancelUnanswered = true;
    EXPECT_EQ(s.MessageBox("Merge?", "Question", kMbYesNoCancel), kIdCancel);
    EXPECT_EQ(s.MessageBox("Merge?", "Question", kMbYesNo), kIdNo);
    EXPECT_EQ(s.MessageBox("Done", "Information", kMbOk), kIdOk);
    QuestionRequest question;
    question.buttons.resize(3);
    question.cancelIndex = 2;
    EXPECT_EQ(s.AskQuestion(question), 2);
    std::string text = "kept";
    EXPECT_FALSE(s.Prompt(PromptRequest(), text));
    EXPECT_EQ(text, "kept");
    FileDialogRequest file;
    file.name = "model.orva";
    EXPECT_FALSE(s.FileDialog(file));
    EXPECT_TRUE(file.path.empty());
    TableRequest table;
    table.initialRow = 1;
    EXPECT_EQ(s.ShowTable(table), -1);
    uint32_t color = 0x123456;
    EXPECT_FALSE(s.ChooseColor(color));
    int value = 3;
    EXPECT_FALSE(s.PromptInteger("How many?", value));
    EXPECT_EQ(value, 3);
    // A scripted answer still wins.
    s.PushAnswer(kIdYes);
    EXPECT_EQ(s.MessageBox("Merge?", "Question", kMbYesNoCancel), kIdYes);
    s.PushText("5");
    EXPECT_TRUE(s.PromptInteger("How many?", value));
    EXPECT_EQ(value, 5);
}
