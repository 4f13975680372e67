#include "RecentFileList.h"

#include <wx/menu.h>

namespace
{
const char* const kPlaceholder = "Recent File";

bool IsRecentFileId(int nId, int nMaxFiles)
{
    return nId >= wxID_FILE1 && nId < wxID_FILE1 + nMaxFiles;
}
} // namespace

CRecentFileList::CRecentFileList(size_t nMaxFiles) : wxFileHistory(nMaxFiles, wxID_FILE1) {}

void CRecentFileList::SetMenu(wxMenu* pMenu)
{
    m_pMenu = pMenu;
    RefreshMenu();
}

void CRecentFileList::RemoveMenu(wxMenu* pMenu)
{
    if (pMenu == m_pMenu)
        m_pMenu = nullptr;
}

void CRecentFileList::AddFileToHistory(const wxString& strFile)
{
    wxFileHistory::AddFileToHistory(strFile);
    RefreshMenu();
}

void CRecentFileList::RemoveFileFromHistory(size_t nIndex)
{
    wxFileHistory::RemoveFileFromHistory(nIndex);
    RefreshMenu();
}

void CRecentFileList::Load(const wxConfigBase& config)
{
    wxFileHistory::Load(config);
    RefreshMenu();
}

void CRecentFileList::RefreshMenu()
{
    if (m_pMenu == nullptr)
        return;
    size_t nPos = m_pMenu->GetMenuItemCount();
    for (size_t i = m_pMenu->GetMenuItemCount(); i-- > 0;)
    {
        wxMenuItem* pItem = m_pMenu->FindItemByPosition(i);
        if (!IsRecentFileId(pItem->GetId(), GetMaxFiles()))
            continue;
        nPos = i;
        m_pMenu->Destroy(pItem);
    }
    if (GetCount() == 0)
    {
        m_pMenu->Insert(nPos, wxID_FILE1, kPlaceholder)->Enable(false);
        return;
    }
    for (size_t i = 0; i < GetCount(); i++)
    {
        wxString strPath = GetHistoryFile(i);
        strPath.Replace("&", "&&");
        m_pMenu->Insert(nPos + i, wxID_FILE1 + int(i), wxString::Format("&%zu %s", i + 1, strPath),
                        "Open this document");
    }
}
