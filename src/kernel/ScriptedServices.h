#pragma once

#include "kernel/UserServices.h"

#include <deque>
#include <string>
#include <vector>

// The services for tests: every call is recorded with its caption and text, answers come from a
// script, and nothing ever blocks. Without a scripted answer a dialog takes its default (Enter):
// the first button of a message box, the default label of a question, OK for prompts and tables.
class ScriptedServices : public UserServices
{
public:
    struct Call
    {
        // "MessageBox", "OptionalMessage", "Question", "Prompt", "Table", "FileDialog", "Color",
        // "Integer", "Status"
        std::string kind;
        std::string caption;
        std::string text;
        unsigned type = 0;  // message-box type, question flags or optional-message options
    };

    std::vector<Call> calls;
    // Unanswered dialogs are cancelled instead: No or Cancel in a message box that has one, the
    // cancel label of a question, Cancel for prompts, file dialogs, tables and the colour chooser.
    bool cancelUnanswered = false;
    // The text each prompt showed when it opened (again, after a refused text), in order.
    std::vector<std::string> promptStarts;

    // Message boxes take a button id, questions a label index, tables a row, optional messages
    // 1 (still ticked) or 0, the colour chooser a 0x00BBGGRR colour, whole-number prompts the
    // number typed. A question skips answers that name a disabled label, as its dialog ignores
    // clicks on them.
    void PushAnswer(int answer);
    // A typed text for a prompt (a whole-number prompt refuses one that is not a number and stays
    // open), or the chosen path of a file dialog; with ok false the prompt, dialog or colour
    // chooser is cancelled instead.
    void PushText(const std::string& text, bool ok = true);

    int CountCalls(const std::string& kind) const;
    const Call* LastCall(const std::string& kind = std::string()) const;
    void Clear();

    // Progress: the pump (counted from 0) that reports a cancel; -1 for never.
    int cancelAtPump = -1;
    // The pump that reports a pause; the next wait resumes.
    int pauseAtPump = -1;
    int progressOpened = 0;
    int progressClosed = 0;
    int progressPumps = 0;
    bool progressWindowOpen = false;
    std::vector<ProgressDisplay> progressUpdates;

    std::string statusText;
    int waitCursorDepth = 0;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    bool OptionalMessage(const std::string& text, int options) override;
    int AskQuestion(const QuestionRequest& request) override;
    bool Prompt(const PromptRequest& request, std::string& text) override;
    int ShowTable(TableRequest& request) override;
    // Without a scripted path the dialog takes the folder and name it was given.
    bool FileDialog(FileDialogRequest& request) override;
    // The last file dialog as it was asked for.
    FileDialogRequest lastFileDialog;
    // What the last file dialog with an information panel showed for the file chosen.
    std::string lastFileInfo;
    // Without a scripted answer the chooser takes the colour it was opened on.
    bool ChooseColor(uint32_t& color) override;
    // The colours the chooser was opened on, in order.
    std::vector<uint32_t> offeredColors;
    // Without a scripted answer: OK on the value as it was.
    bool PromptInteger(const std::string& prompt, int& value) override;
    // The filter entry (from 1) the next file dialog answers as chosen; 0 keeps the one it was given.
    int nextFilterIndex = 0;

    void OpenProgressWindow() override;
    void UpdateProgressWindow(const ProgressDisplay& display) override;
    ProgressInput PumpProgressWindow() override;
    ProgressInput WaitProgressWindow() override;
    void CloseProgressWindow() override;

    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    struct Answer
    {
        int value = 0;
        std::string text;
        bool isText = false;
        bool ok = true;
    };

    bool TakeNumber(int& value);
    bool TakeText(std::string& text, bool& ok);

    std::deque<Answer> mAnswers;
    bool mCancelled = false;
};

// Installs a ScriptedServices for the life of the scope and restores the previous services.
class ScopedScriptedServices
{
public:
    ScopedScriptedServices() : mPrevious(SetServices(&services)) {}
    ~ScopedScriptedServices() { SetServices(mPrevious); }
    ScopedScriptedServices(const ScopedScriptedServices&) = delete;
    ScopedScriptedServices& operator=(const ScopedScriptedServices&) = delete;

    ScriptedServices services;

private:
    UserServices* mPrevious;
};
