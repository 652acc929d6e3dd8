#pragma once

#include "kernel/UserServices.h"

#include <memory>

class ProgressWindow;
class wxWindowDisabler;

// The user services of the running program, on wxWidgets dialogs.
class WxUserServices : public UserServices
{
public:
    WxUserServices();
    ~WxUserServices() override;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    bool OptionalMessage(const std::string& text, int options) override;
    int AskQuestion(const QuestionRequest& request) override;
    bool Prompt(const PromptRequest& request, std::string& text) override;
    int ShowTable(TableRequest& request) override;
    bool FileDialog(FileDialogRequest& request) override;
    bool ChooseColor(uint32_t& color) override;
    bool PromptInteger(const std::string& prompt, int& value) override;

    void OpenProgressWindow() override;
    void UpdateProgressWindow(const ProgressDisplay& display) override;
    ProgressInput PumpProgressWindow() override;
    ProgressInput WaitProgressWindow() override;
    void CloseProgressWindow() override;

    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

private:
    ProgressWindow* mProgress = nullptr;  // a top-level window: wx owns it
    std::unique_ptr<wxWindowDisabler> mDisabler;
};
