#include "GuiTestSupport.h"

#include "Profile.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

CTempDir::CTempDir()
{
    char szTemplate[] = "/tmp/corvane-test-XXXXXX";
    m_strPath = mkdtemp(szTemplate);
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
}

void CTempDir::Write(const std::string& strName, const std::string& strText) const
{
    std::ofstream out(File(strName), std::ios::binary);
    out << strText;
}

std::string ReadFileText(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DataFile(const std::string& strName)
{
    return std::string(CORVANE_TEST_DATA) + "/" + strName;
}

CLogCapture::CLogCapture() : m_pPrevious(wxLog::SetActiveTarget(this)) {}

CLogCapture::~CLogCapture()
{
    wxLog::SetActiveTarget(m_pPrevious);
}

void CLogCapture::DoLogTextAtLevel(wxLogLevel, const wxString& msg)
{
    m_messages.push_back(msg.ToStdString());
}

CDialogCapture::CDialogCapture(int nAnswer) : m_nAnswer(nAnswer)
{
    Register();
}

int CDialogCapture::Enter(wxDialog* pDialog)
{
    if (auto* pBox = wxDynamicCast(pDialog, wxMessageDialog))
    {
        m_messages.push_back(pBox->GetMessage().ToStdString());
        m_captions.push_back(pBox->GetCaption().ToStdString());
    }
    return m_nAnswer;
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
    {
        if (!pWnd->IsBeingDeleted())
            nCount++;
    }
    return nCount;
}

void ResetProfile()
{
    const wxString strPath = GetProfilePath("Mirel Software", "Corvane");
    std::error_code ec;
    std::filesystem::remove(strPath.ToStdString(), ec);
    OpenProfile("Mirel Software", "Corvane");
}
