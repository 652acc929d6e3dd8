#include "kernel/ScriptedServices.h"

#include "kernel/Prompt.h"

#include <cstdio>

namespace
{
int FirstButton(unsigned type)
{
    switch (type & kMbButtonMask)
    {
    case kMbYesNo:
    case kMbYesNoCancel:
        return kIdYes;
    default:
        return kIdOk;
    }
}

std::string JoinButtons(const QuestionRequest& request)
{
    std::string text;
    for (const QuestionButton& b : request.buttons)
    {
        if (!text.empty())
            text += '|';
        text += b.text;
    }
    return text;
}
}  // namespace

void ScriptedServices::PushAnswer(int answer)
{
    mAnswers.push_back(Answer{answer, {}, false, true});
}

void ScriptedServices::PushText(const std::string& text, bool ok)
{
    mAnswers.push_back(Answer{0, text, true, ok});
}

int ScriptedServices::CountCalls(const std::string& kind) const
{
    int n = 0;
    for (const Call& c : calls)
        n += c.kind == kind;
    return n;
}

const ScriptedServices::Call* ScriptedServices::LastCall(const std::string& kind) const
{
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (kind.empty() || it->kind == kind)
            return &*it;
    return nullptr;
}

void ScriptedServices::Clear()
{
    calls.clear();
    promptStarts.clear();
    mAnswers.clear();
    progressUpdates.clear();
    progressOpened = progressClosed = progressPumps = 0;
    progressWindowOpen = false;
    mCancelled = false;
    statusText.clear();
}

bool ScriptedServices::TakeNumber(int& value)
{
    if (mAnswers.empty() || mAnswers.front().isText)
        return false;
    value = mAnswers.front().value;
    mAnswers.pop_front();
    return true;
}

bool ScriptedServices::TakeText(std::string& text, bool& ok)
{
    if (mAnswers.empty() || !mAnswers.front().isText)
        return false;
    text = mAnswers.front().text;
    ok = mAnswers.front().ok;
    mAnswers.pop_front();
    return true;
}

int ScriptedServices::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    calls.push_back({"MessageBox", caption, text, type});
    int answer;
    if (TakeNumber(answer))
        return answer;
    if (cancelUnanswered)
        switch (type & kMbButtonMask)
        {
        case kMbOkCancel:
        case kMbYesNoCancel:
            return kIdCancel;
        case kMbYesNo:
            return kIdNo;
        default:
            break;
        }
    return FirstButton(type);
}

bool ScriptedServices::OptionalMessage(const std::string& text, int options)
{
    calls.push_back({"OptionalMessage", "", text, unsigned(options)});
    int answer;
    return TakeNumber(answer) ? answer != 0 : true;
}

int ScriptedServices::AskQuestion(const QuestionRequest& request)
{
    calls.push_back({"Question", request.caption, request.message + "\n[" + JoinButtons(request) + "]",
                     unsigned(request.flags)});
    int answer;
    while (TakeNumber(answer))
    {
        const bool disabled =
            answer >= 0 && answer < int(request.buttons.size()) && request.buttons[size_t(answer)].disabled;
        if (!disabled)
            return answer;
    }
    if (cancelUnanswered && request.cancelIndex >= 0)
        return request.cancelIndex;
    return request.defaultIndex >= 0 ? request.defaultIndex : request.cancelIndex;
}

bool ScriptedServices::Prompt(const PromptRequest& request, std::string& text)
{
    calls.push_back({"Prompt", request.title, request.prompt, request.multiLine ? 1u : 0u});
    promptStarts.push_back(text);
    std::string typed;
    bool ok = true;
    if (!TakeText(typed, ok))
    {
        if (cancelUnanswered)
            return false;
        // Enter on the unchanged text; a text the caller refuses ends as a cancel, never a loop.
        typed = text;
        if (request.accept && !request.accept(typed))
            return false;
        return true;
    }
    // Like the dialog: a refused text keeps it open for the next scripted answer.
    while (ok && request.accept && !request.accept(typed))
    {
        calls.push_back({"Prompt", request.title, request.prompt, request.multiLine ? 1u : 0u});
        promptStarts.push_back(typed);
        if (!TakeText(typed, ok))
            return false;
    }
    if (!ok)
        return false;
    text = typed;
    return true;
}

int ScriptedServices::ShowTable(TableRequest& request)
{
    calls.push_back({"Table", request.title, request.prompt, unsigned(request.rows)});
    int answer;
    if (TakeNumber(answer))
        return answer;
    if (cancelUnanswered)
        return -1;
    if (request.initialRow == -2)
        return 0;  // OK on a table that is only shown
    return request.initialRow >= 0 ? request.initialRow : -1;
}

bool ScriptedServices::FileDialog(FileDialogRequest& request)
{
    calls.push_back({"FileDialog", request.title, request.folder + "|" + request.name, request.save ? 1u : 0u});
    lastFileDialog = request;
    std::string chosen;
    bool ok = true;
    if (!TakeText(chosen, ok))
    {
        if (cancelUnanswered)
            return false;
        chosen = request.folder.empty() ? request.name : request.folder + "/" + request.name;
    }
    if (!ok)
        return false;
    request.path = chosen;
    if (request.describe)
        lastFileInfo = request.describe(chosen);
    if (nextFilterIndex > 0)
        request.filterIndex = nextFilterIndex;
    nextFilterIndex = 0;
    return true;
}

bool ScriptedServices::ChooseColor(uint32_t& color)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u,%u,%u", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    calls.push_back({"Color", "", text, 0});
    offeredColors.push_back(color);
    int answer;
    if (TakeNumber(answer))
    {
        color = uint32_t(answer) & 0xFFFFFF;
        return true;
    }
    std::string ignored;
    bool ok = true;
    if (!TakeText(ignored, ok))
        return !cancelUnanswered;
    return ok;
}

bool ScriptedServices::PromptInteger(const std::string& prompt, int& value)
{
    calls.push_back({"Integer", "Enter a number", prompt, 0});
    promptStarts.push_back(std::to_string(value));
    int answer;
    if (TakeNumber(answer))
    {
        value = answer;
        return true;
    }
    std::string typed;
    bool ok = true;
    if (!TakeText(typed, ok))
        return !cancelUnanswered;
    // Like the dialog: text that is not a whole number keeps it open for the next answer.
    int number = 0;
    while (ok && !ReadWholeNumber(typed, number))
    {
        calls.push_back({"Integer", "Enter a number", prompt, 0});
        promptStarts.push_back(typed);
        if (!TakeText(typed, ok))
            return false;
    }
    if (!ok)
        return false;
    value = number;
    return true;
}

void ScriptedServices::OpenProgressWindow()
{
    ++progressOpened;
    progressWindowOpen = true;
}

void ScriptedServices::UpdateProgressWindow(const ProgressDisplay& display)
{
    progressUpdates.push_back(display);
}

ProgressInput ScriptedServices::PumpProgressWindow()
{
    const int pump = progressPumps++;
    if (pump == cancelAtPump)
        mCancelled = true;
    ProgressInput input;
    input.cancelled = mCancelled;
    input.paused = pump == pauseAtPump && !mCancelled;
    return input;
}

ProgressInput ScriptedServices::WaitProgressWindow()
{
    ProgressInput input;
    input.cancelled = mCancelled;
    return input;
}

void ScriptedServices::CloseProgressWindow()
{
    ++progressClosed;
    progressWindowOpen = false;
    mCancelled = false;
}

void ScriptedServices::SetStatusText(const std::string& text)
{
    statusText = text;
    calls.push_back({"Status", "", text, 0});
}

void ScriptedServices::BeginWaitCursor()
{
    ++waitCursorDepth;
}

void ScriptedServices::EndWaitCursor()
{
    --waitCursorDepth;
}
