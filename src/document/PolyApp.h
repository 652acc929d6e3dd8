#pragma once

#include "kernel/BrowseFolder.h"

#include <wx/app.h>

#include <memory>
#include <string>

class AppShell;
class CPolyDoc;
class FileSettingsStore;
class WxUserServices;
class wxCommandEvent;
class wxFrame;
class wxIdleEvent;
struct RegistryApp;

// The application object: starts the program in a fixed order, owns the one document, and runs the
// idle step, the single place where animation advances and marked views are painted. The program's
// entry point derives from it to supply the main frame.
class CPolyApp : public wxApp
{
public:
    CPolyApp();
    ~CPolyApp() override;

    // The start-up sequence.
    bool OnInit() override;
    int OnExit() override;

    // The one document: null before start-up has made it, after it is gone, and in a program whose
    // application object is not this one.
    static CPolyDoc* GetDocument();

    // One idle step at the time given in seconds; a negative time means now, from the program
    // clock (frozen while frames are exported). True while anything moved or still moves. Loops of
    // ours (progress, live dialogs, export) call it directly; the toolkit's idle events reach it
    // through HandleIdleEvent.
    static bool IdleStep(double time);
    // The time the last idle step worked at; negative before the first.
    static double GetLastIdleStepTime();
    // The idle handler: one idle step, unless a command is running or a step is already under way
    // (modal loops inside either run idle events); asks for more idle events while anything moves.
    static void HandleIdleEvent(wxIdleEvent& event);
    // While frames are exported the idle step works even with the main window minimised.
    static void SetExportRunning(bool running);

    // The settings: the registry company word given at start-up forms every key path.
    static void SetRegistryKey(const char* companyKey);
    static const RegistryApp& GetRegistryApp();
    // "Software\<company>\<section or Orvane>\<subKey or Settings>"; false without a company word.
    static bool GetSettingsKeyPath(std::string& path, const char* subKey, const char* section);
    // Every setting, read once at start and written once when the main window closes.
    static void LoadSettings();
    static void SaveSettings();

    AppShell& GetShell() { return *mShell; }

protected:
    // The main frame showing the document; null when it cannot be made.
    virtual wxFrame* CreateMainFrame(CPolyDoc* document) = 0;

private:
    std::unique_ptr<WxUserServices> mServices;
    std::unique_ptr<FileSettingsStore> mSettings;
    std::unique_ptr<AppShell> mShell;
    std::unique_ptr<CPolyDoc> mDocument;
};

CPolyApp* GetPolyApp();

// Colour commands call this after changing colours: the current model's face diagrams take the new
// colours in the next idle step, and every view is redrawn.
void MarkDiagramColorsChanged();

// A drag that acts again at every idle pass while its button is held (painting faces), run by the
// idle step before it paints; the panes install it.
using IdleDragHook = void (*)();
IdleDragHook SetIdleDragHook(IdleDragHook hook);

// The folders the file dialogs start in, one per kind of file: models, tours, exports, images and
// text lists. Made under the user's documents folder at start-up; the settings keep them.
extern BrowseFolder gBrowseOrva;
extern BrowseFolder gBrowseTour;
extern BrowseFolder gBrowseExport;
extern BrowseFolder gBrowseImage;
extern BrowseFolder gBrowseText;
