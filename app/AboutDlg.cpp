#include "AboutDlg.h"

#include "Resource.h"
#include "VersionInfo.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

// clang-format off
wxBEGIN_EVENT_TABLE(CAboutDlg, wxDialog)
    EVT_INIT_DIALOG(CAboutDlg::OnInitDialog)
wxEND_EVENT_TABLE();
// clang-format on

// Places the controls in dialog units, so that the box grows with the font.
CAboutDlg::CAboutDlg(wxWindow* pParent) : wxDialog(pParent, IDD, "About Corvane")
{
    auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
    auto size = [this](int cx, int cy) { return ConvertDialogToPixels(wxSize(cx, cy)); };
    new wxStaticBitmap(this, wxID_ANY, CorvaneRes::GetAppIcon().GetBitmap(wxSize(32, 32)), at(7, 7),
                       size(21, 20));
    new wxStaticText(this, IDC_VERSION_TEXT, "Corvane v0.1", at(40, 7), size(188, 26),
                     wxST_NO_AUTORESIZE);
    auto* pOk = new wxButton(this, wxID_OK, "OK", at(92, 34), size(50, 14));
    pOk->SetDefault();
    SetClientSize(size(235, 55));
    // without a parent of its own the box stands over the main window
    if (const wxWindow* pOwner = GetParentForModalDialog())
        SetPosition(pOwner->GetScreenPosition() + (pOwner->GetSize() - GetSize()) / 2);
}

void CAboutDlg::OnInitDialog(wxInitDialogEvent& event)
{
    wxDialog::OnInitDialog(event);
    wxString strText;
    if (GetVersionText(strText))
    {
        // the text is shown as it is: an "&" is no mnemonic
        static_cast<wxStaticText*>(FindWindow(IDC_VERSION_TEXT))->SetLabelText(strText);
    }
}
