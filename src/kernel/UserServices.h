#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Everything the program tells or asks the user passes through one UserServices object: wx dialogs
// in the program (platform/WxUserServices), ScriptedServices in tests, so no test waits on a dialog.
// The message, progress and prompt functions of the kernel are the callers; features call those.

// Message-box types: a button set plus an icon, as the callers have always passed them.
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbOkCancel = 0x01;
inline constexpr unsigned kMbYesNoCancel = 0x03;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbButtonMask = 0x0F;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr unsigned kMbIconMask = 0xF0;

// Button ids a message box answers with.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Options of an optional message: its icon and whether it is shown once per run.
inline constexpr int kOptStopIcon = 1;
inline constexpr int kOptExclamationIcon = 2;
inline constexpr int kOptInformationIcon = 4;
inline constexpr int kOptOncePerRun = 8;

// One button of a question, parsed from the caller's label with its marks.
struct QuestionButton
{
    enum class Place
    {
        SameRow,
        NewRow,
        NewRowWithGap,
        NewColumn,
    };

    std::string text;
    Place place = Place::SameRow;
    bool disabled = false;
    bool alignLeft = false;
    char accelerator = 0;  // typing it presses the button; 0 for none
};

struct QuestionRequest
{
    enum Flags
    {
        kHtml = 1,
        kStopIcon = 2,
        kExclamationIcon = 4,
        kInformationIcon = 8,
        kQuestionIcon = 16,
        kBlankMessage = 32,  // set by AskQuestion: the dialog shows neither message nor icon
    };

    int flags = 0;
    std::string caption;  // empty: "Question"
    std::string message;
    std::vector<QuestionButton> buttons;
    int defaultIndex = 0;  // Enter; -1 for none
    int cancelIndex = -1;  // Escape and the close box
};

struct PromptRequest
{
    std::string title;
    std::string prompt;  // a small HTML subset
    bool multiLine = false;
    int maxLength = 0;  // bytes the caller can take; 0 for no limit
    // Called with the typed text when the user presses OK; false keeps the dialog open (the callee
    // has told the user why). Null accepts any text.
    std::function<bool(const std::string&)> accept;
    // The caller's remembered placement, updated when the dialog closes; x < 0 means none yet.
    int* rememberedPos = nullptr;   // x, y
    int* rememberedSize = nullptr;  // width, height
};

inline constexpr uint32_t kNoRowColor = 0xFF000000u;

struct TableRequest
{
    std::string title;
    std::string prompt;
    int columns = 0;
    int rows = 0;
    std::vector<std::string> headings;
    std::vector<std::string> cells;  // row i's cell j at i * columns + j
    std::vector<int> sortKinds;      // comparison kind per column; empty when the table cannot be sorted
    int sortState = 0;               // column + 1 ascending, ~column descending, 0 unsorted; set only on OK
    std::vector<uint32_t> rowColors; // background 0x00BBGGRR per row, kNoRowColor for none; empty for none
    int initialRow = -1;             // -2: the table is only shown, there is nothing to choose
    std::string settingsKey;         // remembers placement and column widths under it; empty for none
};

// A file dialog: open or save, starting in a folder with a name filled in.
struct FileDialogRequest
{
    std::string title;
    bool save = false;
    bool mustExist = false;         // open: the chosen file must exist
    bool confirmOverwrite = false;  // save: ask before replacing a file
    std::string folder;             // where the dialog starts; empty for the dialog's own choice
    std::string name;               // the file name filled in
    // Entries "Description|patterns" joined by "|" (patterns ";"-separated), as in
    // "ORVA Files (*.orva)|*.orva|All Files (*.*)|*.*||".
    std::string filter;
    int filterIndex = 1;            // 1-based; receives the entry in force when the user pressed OK
    std::string path;               // receives the chosen file
    // When set, the dialog shows the text it gives for the selected file ("" while none is) in two
    // lines below the file list.
    std::function<std::string(const std::string& path)> describe;
};

// What the progress window shows.
struct ProgressDisplay
{
    bool setCaption = false;
    std::string caption;
    std::string timeTaken;
    bool setTimeRemaining = true;  // false keeps the line as it was
    std::string timeRemaining;
    int barPosition = 0;  // 0..kProgressBarRange
};

inline constexpr int kProgressBarRange = 32767;

struct ProgressInput
{
    bool cancelled = false;
    bool paused = false;
};

class UserServices
{
public:
    virtual ~UserServices() = default;

    // A modal message box; answers the id of the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    // A message with a "show again" check box that starts ticked; answers whether it is still ticked.
    virtual bool OptionalMessage(const std::string& text, int options) = 0;
    // Answers the index of the button that ended the question.
    virtual int AskQuestion(const QuestionRequest& request) = 0;
    // text holds the starting text and receives what was typed; false when cancelled.
    virtual bool Prompt(const PromptRequest& request, std::string& text) = 0;
    // Answers the caller's index of the chosen row, -1 when cancelled or nothing was chosen; a table
    // that is only shown (initialRow -2) answers 0 on OK.
    virtual int ShowTable(TableRequest& request) = 0;
    // True when the user chose a file (request.path and request.filterIndex are then set).
    virtual bool FileDialog(FileDialogRequest& request) = 0;
    // The colour chooser opened on a 0x00BBGGRR colour, which receives the choice; false when
    // cancelled.
    virtual bool ChooseColor(uint32_t& color) = 0;
    // The "Enter a number" prompt for a signed whole number, opened on the value, which receives
    // what was typed; text that is not a whole number keeps it open. False when cancelled.
    virtual bool PromptInteger(const std::string& prompt, int& value) = 0;

    virtual void OpenProgressWindow() = 0;
    virtual void UpdateProgressWindow(const ProgressDisplay& display) = 0;
    // Handles what is pending for the progress window; input to every other window is dropped.
    virtual ProgressInput PumpProgressWindow() = 0;
    // While paused: waits for the next input to the progress window.
    virtual ProgressInput WaitProgressWindow() = 0;
    virtual void CloseProgressWindow() = 0;

    virtual void SetStatusText(const std::string& text) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// The services in use. Until the program or a test installs its own, a silent scripted stand-in.
UserServices& Services();

// Installs services (null: the silent stand-in again); returns the previous ones.
UserServices* SetServices(UserServices* services);
