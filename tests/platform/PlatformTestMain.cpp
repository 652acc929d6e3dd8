// The platform tests run with wxWidgets initialised (a console application object), and a failed wx
// assert fails the test that caused it.

#include <gtest/gtest.h>

#include <wx/init.h>
#include <wx/string.h>

namespace
{
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str().data(), line)
        << "wx assert " << cond.utf8_str().data() << " in " << func.utf8_str().data() << ": " << msg.utf8_str().data();
}
}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxInitializer wx;
    if (!wx.IsOk())
        return 2;
    wxSetAssertHandler(FailOnAssert);
    return RUN_ALL_TESTS();
}
