// The recent-file list of the File menu: its entries take the place of the grayed
// "Recent File" item, between the two separators above Exit.
#pragma once

#include <wx/filehistory.h>

class CRecentFileList : public wxFileHistory
{
public:
    explicit CRecentFileList(size_t nMaxFiles = 4);

    // The menu that holds the placeholder item (id wxID_FILE1).
    void SetMenu(wxMenu* pMenu);

    void AddFileToHistory(const wxString& strFile) override;
    void RemoveFileFromHistory(size_t nIndex) override;
    void Load(const wxConfigBase& config) override;
    // The base class keeps menus of its own; this list manages its one menu itself.
    void UseMenu(wxMenu* pMenu) override { SetMenu(pMenu); }
    void RemoveMenu(wxMenu* pMenu) override;
    void AddFilesToMenu() override { RefreshMenu(); }
    void AddFilesToMenu(wxMenu*) override { RefreshMenu(); }

    void RefreshMenu();

private:
    wxMenu* m_pMenu = nullptr;
};
