#include "document/PolyApp.h"
#include "ui/MainFrame.h"

// The program: the application object with this program's main frame.
class COrvaneApp final : public CPolyApp
{
protected:
    wxFrame* CreateMainFrame(CPolyDoc* document) override { return new CMainFrame(document); }
};

wxIMPLEMENT_APP(COrvaneApp);
