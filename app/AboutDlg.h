// The About box: the program's icon and its name, version and copyright, read from the
// executable's version information.
#pragma once

#include <wx/dialog.h>

class CAboutDlg : public wxDialog
{
public:
    enum
    {
        IDD = 100,
        IDC_VERSION_TEXT = 1000
    };

    explicit CAboutDlg(wxWindow* pParent = nullptr);

    // Replaces the initial text with the version text when the executable carries one.
    void OnInitDialog(wxInitDialogEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};
