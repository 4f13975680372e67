// What the window tests share: capture of log messages and modal dialogs, the per-user
// profile in the test's folder, event pumping, and the runner's application.
#pragma once

#include "TestCommon.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/log.h>
#include <wx/modalhook.h>

// Each window test program makes the application its tests run in.
wxApp* CreateTestApp();

// Collects what the framework logs instead of showing it.
class CLogCapture : public wxLog
{
public:
    CLogCapture() : m_pPrevious(wxLog::SetActiveTarget(this)) {}
    ~CLogCapture() override { wxLog::SetActiveTarget(m_pPrevious); }
    std::vector<std::string> m_messages;

protected:
    void DoLogRecord(wxLogLevel, const wxString& msg, const wxLogRecordInfo&) override
    {
        m_messages.push_back(msg.ToStdString());
    }

private:
    wxLog* m_pPrevious;
};

// Answers every modal dialog with OK instead of showing it and notes its caption and the
// window it stands over.
class CDialogCapture : public wxModalDialogHook
{
public:
    CDialogCapture() { Register(); }
    std::vector<std::pair<std::string, wxWindow*>> m_seen;

protected:
    int Enter(wxDialog* pDialog) override
    {
        m_seen.emplace_back(pDialog->GetTitle().ToStdString(), pDialog->GetParentForModalDialog());
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

// Lets the framework finish pending events, idle processing and deletions.
void PumpEvents();
// Top-level windows still alive (not waiting for deletion).
int CountLiveFrames();
// Starts the profile afresh in the test's own configuration folder.
void ResetProfile();
