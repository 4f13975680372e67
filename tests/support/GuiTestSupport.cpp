#include "GuiTestSupport.h"

#include "HexEditCtrl.h"
#include "Profile.h"

#include <wx/init.h>
#include <wx/log.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

void PumpEvents()
{
    for (int i = 0; i < 3; i++)
        wxTheApp->ProcessPendingEvents(), wxTheApp->ProcessIdle();
}

int CountLiveFrames()
{
    return std::count_if(wxTopLevelWindows.begin(), wxTopLevelWindows.end(),
                         [](const wxWindow* pWnd) { return !pWnd->IsBeingDeleted(); });
}

void ResetProfile()
{
    std::error_code ec;
    std::filesystem::remove(GetProfilePath("Mirel Software", "Corvane").ToStdString(), ec);
    OpenProfile("Mirel Software", "Corvane");
}

// The window tests need a running application on a display and a configuration folder
// of their own; listing them needs neither. What keeps the toolkit from starting is logged
// before any window can show it, so it goes to stderr.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    CTempDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    wxApp::SetInstance(CreateTestApp());
    wxLog::SetActiveTarget(new wxLogStderr); // wx deletes it once the toolkit runs
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        const char* pszDisplay = std::getenv("DISPLAY");
        std::fprintf(stderr, "window tests: no start on DISPLAY=%s\n",
                     pszDisplay ? pszDisplay : "");
        return 1;
    }
    CHexEditCtrl::EnableCaretBlink(false);
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
