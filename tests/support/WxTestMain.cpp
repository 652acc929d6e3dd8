// The main of the GUI test executables: starts wx when there is a display and tests are run (not
// when they are only listed), then runs the tests.

#include "platform/WxSupport.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <cstdlib>

namespace
{
bool gRunning = false;

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE() << "wx assert failed: " << file.utf8_string() << "(" << line << ") in " << func.utf8_string()
                  << ": " << cond.utf8_string() << " " << msg.utf8_string();
}
}  // namespace

bool WxTestAppRunning()
{
    return gRunning;
}

bool PumpEventsUntil(const std::function<bool()>& done, int rounds)
{
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    for (int i = 0; i < rounds; ++i)
    {
        if (done())
            return true;
        while (loop.Pending())
            loop.Dispatch();
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        if (wxTheApp)
            wxTheApp->ProcessIdle();
        wxMilliSleep(1);
    }
    return done();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!GTEST_FLAG_GET(list_tests) && std::getenv("DISPLAY"))
    {
        PreferX11Backend();
        wxApp::SetInstance(new wxApp());
        if (wxEntryStart(argc, argv) && wxTheApp->CallOnInit())
        {
            delete wxLog::SetActiveTarget(new wxLogStderr);
            wxSetAssertHandler(FailOnAssert);
            gRunning = true;
        }
    }
    const int result = RUN_ALL_TESTS();
    if (gRunning)
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    return result;
}
