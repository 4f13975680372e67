#include "GuiTestSupport.h"

#include "HexEditCtrl.h"
#include "Profile.h"

#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

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
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    CHexEditCtrl::EnableCaretBlink(false);
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
