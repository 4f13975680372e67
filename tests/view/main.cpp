// Test runner: a wx application with a display and its own configuration folder.
#include "GuiTestSupport.h"
#include "HexEditCtrl.h"

#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    CTempDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
