// Test runner: a test application with a display and its own configuration folder.
#include "AppTestSupport.h"
#include "HexEditCtrl.h"

#include <wx/init.h>

#include <cstdlib>

namespace
{
CTestApp* s_pApp = nullptr;
}

CTestApp& TestApp()
{
    return *s_pApp;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    CTempDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    s_pApp = new CTestApp;
    wxApp::SetInstance(s_pApp);
    if (!wxEntryStart(argc, argv))
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    const int nResult = RUN_ALL_TESTS();
    wxEntryCleanup();
    return nResult;
}
