#pragma once

#include <wx/app.h>

#include <memory>

class FileSettingsStore;
class wxFrame;
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

protected:
    virtual wxFrame* CreateMainFrame() = 0;

private:
    std::unique_ptr<WxUserServices> mServices;
    std::unique_ptr<FileSettingsStore> mSettings;
};

CPolyApp* GetPolyApp();
