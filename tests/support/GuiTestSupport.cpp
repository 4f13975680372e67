#include "GuiTestSupport.h"

#include "HexEditCtrl.h"
#include "Profile.h"

#include <wx/init.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int CDialogCapture::Enter(wxDialog* pDialog)
{
    if (auto* pBox = wxDynamicCast(pDialog, wxMessageDialog))
    {
        m_messages.push_back(pBox->GetMessage().ToStdString());
        m_captions.push_back(pBox->GetCaption().ToStdString());
    }
    return wxID_OK;
}

void PumpEvents()
{
    for (int i = 0; i < 3; i++)
    {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

int CountLiveFrames()
{
    int nCount = 0;
    for (wxWindow* pWnd : wxTopLevelWindows)
        nCount += pWnd->IsBeingDeleted() ? 0 : 1;
    return nCount;
}

void ResetProfile()
{
    std::error_code ec;
    std::filesystem::remove(GetProfilePath("Mirel Software", "Corvane").ToStdString(), ec);
    OpenProfile("Mirel Software", "Corvane");
}

namespace
{
// What keeps the toolkit from starting is logged before any window can show it: say it on
// stderr, so a test that cannot start tells why.
bool StartApp(int& argc, char** argv)
{
    // wx deletes this target once the toolkit runs and makes its own
    wxLog::SetActiveTarget(new wxLogStderr);
    const bool bStarted = wxEntryStart(argc, argv);
    const char* pszDisplay = std::getenv("DISPLAY");
    if (!bStarted)
        std::fprintf(stderr, "window tests: the toolkit did not start on DISPLAY=%s\n",
                     pszDisplay ? pszDisplay : "(unset)");
    else if (!wxTheApp->CallOnInit())
        std::fprintf(stderr, "window tests: the test application did not start\n");
    else
        return true;
    return false;
}
} // namespace

// The window tests need a running application on a display and a configuration folder
// of their own; listing them needs neither.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    CTempDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1);
    wxApp::SetInstance(CreateTestApp());
    if (!StartApp(argc, argv))
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
