#pragma once

#include <wx/dialog.h>

#include <functional>

// An option dialog that stays open while the model moves: it is shown modeless and runs a loop of
// its own that keeps the program's idle step going, so that what the dialog changes is drawn at
// once, transitions and mouse throws go on, and the panes still take the mouse. The command that
// opens one waits in RunLive until the dialog ends. Every open one is on a list that the main
// window's shut-down ends with Cancel.
class LiveDialog : public wxDialog
{
public:
    LiveDialog(wxWindow* parent, const wxString& title);
    ~LiveDialog() override;

    // Shows the dialog (in the bottom-right corner of its parent the first time) and runs the loop
    // until the dialog ends; answers its result (wxID_OK, wxID_CANCEL, ...). The dialog is hidden
    // then, and the caller destroys it.
    int RunLive();
    // Ends the loop with the result; nothing when it is not running. OK, Cancel, Esc and the close
    // box come here (the close box as Cancel).
    void EndLive(int result);
    bool IsLiveRunning() const { return mRunning; }
    // The idle steps the loop has run for this dialog.
    unsigned GetIdleSteps() const { return mIdleSteps; }

    // The open live dialogs, newest first.
    static LiveDialog* FirstOpen() { return sFirstOpen; }
    LiveDialog* NextOpen() const { return mNextOpen; }
    // Ends every open one with the result.
    static void EndAll(int result);

    // Test hook: called after each idle step of a loop (null: none).
    using IdleHook = std::function<void(LiveDialog&)>;
    static void SetIdleHook(IdleHook hook);

private:
    void Unlink();

    bool mRunning = false;
    bool mPlaced = false;
    unsigned mIdleSteps = 0;
    LiveDialog* mNextOpen = nullptr;
    static LiveDialog* sFirstOpen;
};
