// The program's application object: the recent-file list, the one document template
// and the command line.
#pragma once

#include "AppBase.h"

#include <wx/string.h>

class CMainFrame;

// What the command line asks for: a new document, or the named file.
struct CCommandLineInfo
{
    enum EShellCommand
    {
        FileNew,
        FileOpen
    };
    EShellCommand m_nShellCommand = FileNew;
    wxString m_strFileName;
};

class CCorvaneApp : public CAppBase
{
public:
    bool InitInstance() override;

    // False when the document cannot be created or the file cannot be opened.
    bool ProcessShellCommand(const CCommandLineInfo& info);
    // As ProcessShellCommand; a failure is also shown at once and printed on standard
    // error, since the program then ends without a window.
    bool StartFromCommandLine(const CCommandLineInfo& info);
    CMainFrame* GetMainFrame() const;

    // Help, About: the About box, modal over the main window.
    void OnAppAbout(wxCommandEvent& event);

protected:
    // The framework's standard options keep their meaning; one file name may follow.
    virtual bool ParseCommandLine(CCommandLineInfo& info);
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;

private:
    CCommandLineInfo m_cmdInfo;

    wxDECLARE_EVENT_TABLE();
};
