#include "CorvaneApp.h"

#include "AboutDlg.h"
#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "DocTemplate.h"
#include "FirstRunSize.h"
#include "MainFrame.h"
#include "Resource.h"
#include "UserLocale.h"

#include <wx/cmdline.h>
#include <wx/log.h>
#include <wx/time.h>
#include <wx/utils.h>

#include <cstdio>
#include <utility>

namespace
{
// For the start-up benchmark (CORVANE_BENCH_FIRST_PAINT set): prints the wall-clock time
// in microseconds once the dump has been painted the first time, and ends the program.
void ReportFirstPaint(CMainFrame* pFrame)
{
    wxWindow* pCtrl = pFrame->FindWindow(IDC_HEXEDIT);
    if (pCtrl == nullptr || !wxGetEnv("CORVANE_BENCH_FIRST_PAINT", nullptr))
        return;
    pCtrl->Bind(wxEVT_PAINT,
                [pFrame, bReported = false](wxPaintEvent& event) mutable
                {
                    event.Skip();
                    if (std::exchange(bReported, true))
                        return;
                    pFrame->CallAfter(
                        [pFrame]()
                        {
                            std::printf("first-paint-us %lld\n", wxGetUTCTimeUSec().GetValue());
                            std::fflush(stdout);
                            pFrame->Close(true);
                        });
                });
}

// Passes every message on to the usual target and keeps the errors, so that a start that
// ends without a window can also say why on standard error.
class CStartErrors : public wxLog
{
public:
    CStartErrors() : m_pNext(wxLog::GetActiveTarget()) { wxLog::SetActiveTarget(this); }
    ~CStartErrors() override { wxLog::SetActiveTarget(m_pNext); }
    CStartErrors(const CStartErrors&) = delete;
    CStartErrors& operator=(const CStartErrors&) = delete;
    const wxString& GetErrors() const { return m_strErrors; }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& strMsg, const wxLogRecordInfo& info) override
    {
        if (level <= wxLOG_Error)
            m_strErrors += "corvane: " + strMsg + "\n";
        if (m_pNext)
            m_pNext->LogRecord(level, strMsg, info);
    }

private:
    wxLog* m_pNext;
    wxString m_strErrors;
};
} // namespace

// Commands no window handles reach the application last.
// clang-format off
wxBEGIN_EVENT_TABLE(CCorvaneApp, CAppBase)
    EVT_MENU(wxID_ABOUT, CCorvaneApp::OnAppAbout)
wxEND_EVENT_TABLE();
// clang-format on

bool CCorvaneApp::InitInstance()
{
    UseUserLocale(true);
    if (!CAppBase::InitInstance())
        return false;
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(m_pDocManager, CLASSINFO(CCorvaneDoc),
                                          CLASSINFO(CMainFrame), CLASSINFO(CCorvaneView)));
    CCommandLineInfo info;
    if (!ParseCommandLine(info) || !StartFromCommandLine(info))
        return false;
    CMainFrame* pFrame = GetMainFrame();
    if (!pFrame->IsPlacementRestored())
        FitFirstRunFrame(pFrame);
    ReportFirstPaint(pFrame);
    SetTopWindow(pFrame);
    pFrame->Show();
    pFrame->SetFocus();
    pFrame->Update();
    return true;
}

bool CCorvaneApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    if (m_pDocManager == nullptr)
        return false;
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen)
        return m_pDocManager->CreateDocument(info.m_strFileName, wxDOC_SILENT) != nullptr;
    return m_pDocManager->CreateDocument(wxString(), wxDOC_NEW) != nullptr;
}

// The program ends without a window when the command line fails: what went wrong goes to
// standard error and into a message box now, not at an idle time that never comes.
bool CCorvaneApp::StartFromCommandLine(const CCommandLineInfo& info)
{
    wxString strErrors;
    {
        CStartErrors errors;
        if (ProcessShellCommand(info))
            return true;
        strErrors = errors.GetErrors();
    }
    std::fputs(strErrors.utf8_str(), stderr);
    std::fflush(stderr);
    wxLog::FlushActive();
    return false;
}

CMainFrame* CCorvaneApp::GetMainFrame() const
{
    auto* pManager = dynamic_cast<CSingleDocManager*>(m_pDocManager);
    CSingleDocTemplate* pTemplate = pManager ? pManager->GetSingleTemplate() : nullptr;
    return pTemplate ? pTemplate->GetFrame() : nullptr;
}

bool CCorvaneApp::ParseCommandLine(CCommandLineInfo& info)
{
    m_cmdInfo = CCommandLineInfo();
    // the framework's start runs the command-line parser
    if (!wxApp::OnInit())
        return false;
    info = m_cmdInfo;
    return true;
}

void CCorvaneApp::OnInitCmdLine(wxCmdLineParser& parser)
{
    CAppBase::OnInitCmdLine(parser);
    parser.AddParam("file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CCorvaneApp::OnCmdLineParsed(wxCmdLineParser& parser)
{
    if (parser.GetParamCount() > 0)
    {
        m_cmdInfo.m_nShellCommand = CCommandLineInfo::FileOpen;
        m_cmdInfo.m_strFileName = parser.GetParam(0);
    }
    return CAppBase::OnCmdLineParsed(parser);
}

void CCorvaneApp::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg aboutDlg;
    aboutDlg.ShowModal();
}
