#include "kernel/AskQuestion.h"

#include "kernel/Strings.h"

namespace
{
// Room for the longest messages the program asks with (a stellation warning runs past 600 bytes).
constexpr size_t kQuestionBufferSize = 4096;

bool gQuestionOpen = false;

const char* ReadLayoutMark(const char* p, bool first, QuestionButton& button)
{
    QuestionButton::Place place;
    switch (*p)
    {
    case ',':
        place = QuestionButton::Place::NewRow;
        break;
    case '/':
        place = QuestionButton::Place::NewRowWithGap;
        break;
    case '|':
        place = QuestionButton::Place::NewColumn;
        break;
    default:
        return p;
    }
    if (!first)
        button.place = place;
    return p + 1;
}
}  // namespace

void ParseQuestionLabels(const char* const* labels, int count, QuestionRequest& request)
{
    request.buttons.clear();
    // Enter must never answer with a label that is not there.
    request.defaultIndex = count > 0 ? 0 : -1;
    request.cancelIndex = -1;
    for (int i = 0; i < count; ++i)
    {
        QuestionButton button;
        const char* p = ReadLayoutMark(labels && labels[i] ? labels[i] : "", i == 0, button);
        bool isDefault = false;
        bool isCancel = false;
        for (bool marks = true; marks;)
        {
            switch (*p)
            {
            case '+':
                isDefault = true;
                ++p;
                break;
            case '-':
                isCancel = true;
                ++p;
                break;
            case '#':
                button.disabled = true;
                ++p;
                break;
            case '<':
                button.alignLeft = true;
                ++p;
                break;
            case '=':
                ++p;
                if (*p == '\0')
                    break;
                if (static_cast<unsigned char>(*p) < 0x80)
                    button.accelerator = *p++;
                else
                {
                    // A key outside ASCII cannot be an accelerator; skip its whole UTF-8 sequence.
                    ++p;
                    while ((static_cast<unsigned char>(*p) & 0xC0) == 0x80)
                        ++p;
                }
                break;
            default:
                marks = false;
                break;
            }
        }
        button.text = p;
        if (isDefault)
            request.defaultIndex = i;
        if (isCancel)
            request.cancelIndex = i;
        // Applied after all marks, so "#+" and "+#" agree.
        if (button.disabled && request.defaultIndex == i)
            request.defaultIndex = i + 1 < count ? i + 1 : -1;
        request.buttons.push_back(std::move(button));
    }
}

int QuestionAcceleratorAnswer(const QuestionRequest& request, int c)
{
    if (c <= 0)
        return -1;
    for (size_t i = 0; i < request.buttons.size(); ++i)
    {
        const QuestionButton& b = request.buttons[i];
        if (b.accelerator && !b.disabled && c == static_cast<unsigned char>(b.accelerator))
            return int(i);
    }
    return -1;
}

int AskQuestionV(int flags, const char* caption, int count, const char* const* labels, const char* format,
                 va_list args)
{
    // A second question raised while one is open (from a timer or a redraw) is refused, not stacked.
    if (gQuestionOpen)
        return -1;
    QuestionRequest request;
    request.flags = flags & ~QuestionRequest::kBlankMessage;
    request.caption = caption ? caption : "";
    request.message = format ? FormatMessageText(kQuestionBufferSize, format, args) : std::string();
    if (IsBlank(request.message))
        request.flags |= QuestionRequest::kBlankMessage;
    ParseQuestionLabels(labels, count, request);

    gQuestionOpen = true;
    GLContextSuspension state;
    SuspendGLContextForModal(state);
    const int answer = Services().AskQuestion(request);
    ResumeGLContextAfterModal(state);
    gQuestionOpen = false;
    return answer;
}

int AskQuestionList(int flags, const char* caption, int count, const char* const* labels, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int answer = AskQuestionV(flags, caption, count, labels, format, args);
    va_end(args);
    return answer;
}

int AskQuestion(int flags, const char* caption, std::initializer_list<const char*> labels, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int answer = AskQuestionV(flags, caption, int(labels.size()), labels.begin(), format, args);
    va_end(args);
    return answer;
}
