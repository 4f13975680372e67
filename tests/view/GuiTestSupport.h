// What the window tests share: temporary folders, the test data folder, capture of log
// messages and modal dialogs, the per-user profile in the test's folder, event pumping.
#pragma once

#include <gtest/gtest.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include <string>
#include <vector>

// A fresh folder, removed with its contents at the end of the scope.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& strName) const { return m_strPath + "/" + strName; }
    void Write(const std::string& strName, const std::string& strText) const;

private:
    std::string m_strPath;
};

std::string ReadFileText(const std::string& strPath);
std::string DataFile(const std::string& strName);

// Collects what the framework logs instead of showing it.
class CLogCapture : public wxLog
{
public:
    CLogCapture();
    ~CLogCapture() override;
    std::vector<std::string> m_messages;

protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& msg) override;

private:
    wxLog* m_pPrevious;
};

// Answers every modal dialog with nAnswer instead of showing it and notes the texts of
// message boxes.
class CDialogCapture : public wxModalDialogHook
{
public:
    explicit CDialogCapture(int nAnswer = wxID_OK);
    std::vector<std::string> m_messages;
    std::vector<std::string> m_captions;

protected:
    int Enter(wxDialog* pDialog) override;
    void Exit(wxDialog*) override {}

private:
    int m_nAnswer;
};

// Lets the framework finish pending events, idle processing and deletions.
void PumpEvents();
// Top-level windows still alive (not waiting for deletion).
int CountLiveFrames();
// Starts the profile afresh in the test's own configuration folder.
void ResetProfile();
