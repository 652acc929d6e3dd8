#pragma once

#include "kernel/BrowseFolder.h"

#include <wx/app.h>

#include <memory>

class FileSettingsStore;
class AppShell;
class wxFrame;
class wxIdleEvent;
class WxUserServices;

// The application object: start-up, the services every feature talks to the user through, the
// settings store, and shut-down. The program's entry point derives from it to supply the main frame.
class CPolyApp : public wxApp
{
public:
    CPolyApp();
    ~CPolyApp() override;

    bool OnInit() override;
    int OnExit() override;

    AppShell& GetShell() { return *mShell; }

    // The folders the file dialogs start in, one per kind of file: models, tours, exports, images
    // and text lists, under the user's documents folder.
    BrowseFolder mBrowseOrva;
    BrowseFolder mBrowseTour;
    BrowseFolder mBrowseExport;
    BrowseFolder mBrowseImage;
    BrowseFolder mBrowseText;

protected:
    virtual wxFrame* CreateMainFrame() = 0;

private:
    // Paints the views that were marked for redraw.
    void OnIdle(wxIdleEvent& event);

    std::unique_ptr<WxUserServices> mServices;
    std::unique_ptr<FileSettingsStore> mSettings;
    std::unique_ptr<AppShell> mShell;
};

CPolyApp* GetPolyApp();
