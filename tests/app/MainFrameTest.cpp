// The main frame's menu, toolbar, status bar and recent-file list.
#include "AppTestSupport.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "Resource.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

namespace
{
class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        m_pFrame = new CMainFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(&m_manager));
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        PumpEvents();
    }

    wxMenuItem* FileMenuItem(size_t nPos) const
    {
        return m_pFrame->GetMenuBar()->GetMenu(0)->FindItemByPosition(nPos);
    }

    CSingleDocManager m_manager;
    CMainFrame* m_pFrame = nullptr;
};
} // namespace

TEST_F(MainFrameTest, StatusBarPanesShowTheLockKeys)
{
    wxStatusBar* pStatusBar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(4, pStatusBar->GetFieldsCount());
    const bool kStates[][3] = {{true, false, false}, {false, true, true}, {false, false, false}};
    for (const auto& [bCaps, bNum, bScroll] : kStates)
    {
        m_pFrame->SetKeyIndicators(bCaps, bNum, bScroll);
        EXPECT_EQ(bCaps ? "CAP" : "", pStatusBar->GetStatusText(1));
        EXPECT_EQ(bNum ? "NUM" : "", pStatusBar->GetStatusText(2));
        EXPECT_EQ(bScroll ? "SCRL" : "", pStatusBar->GetStatusText(3));
        EXPECT_EQ("Ready", pStatusBar->GetStatusText(0));
    }
}

// Cut, Copy, Paste and Undo are shown disabled; Reload, on the toolbar only, is enabled.
TEST_F(MainFrameTest, MenusAndEnabledCommands)
{
    m_pFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    m_pFrame->DoMenuUpdates();
    wxMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    for (int nId : {wxID_CUT, wxID_COPY, wxID_PASTE, wxID_UNDO})
        EXPECT_FALSE(pMenuBar->IsEnabled(nId)) << nId;
    for (int nId : {wxID_CUT, wxID_COPY, wxID_PASTE})
        EXPECT_FALSE(m_pFrame->m_wndToolBar->GetToolEnabled(nId)) << nId;
    EXPECT_TRUE(m_pFrame->m_wndToolBar->GetToolEnabled(ID_FILE_RELOAD));
    EXPECT_EQ(nullptr, pMenuBar->FindItem(ID_FILE_RELOAD));
    EXPECT_EQ("Create a new document", pMenuBar->GetHelpString(wxID_NEW));
}

TEST_F(MainFrameTest, ViewMenuShowsHidesAndChecksTheBars)
{
    const std::pair<int, wxWindow*> kBars[] = {{ID_VIEW_TOOLBAR, m_pFrame->m_wndToolBar},
                                               {ID_VIEW_STATUS_BAR, m_pFrame->m_wndStatusBar}};
    for (const auto& [nId, pBar] : kBars)
        for (bool bShown : {false, true})
        {
            wxCommandEvent command(wxEVT_MENU, nId);
            m_pFrame->GetEventHandler()->ProcessEvent(command);
            EXPECT_EQ(bShown, pBar->IsShown()) << nId;
            m_pFrame->DoMenuUpdates();
            EXPECT_EQ(bShown, m_pFrame->GetMenuBar()->IsChecked(nId)) << nId;
        }
}

// The newest file comes first; an "&" in a path is shown, not taken as a mnemonic.
TEST_F(MainFrameTest, RecentFilesTakeThePlaceOfThePlaceholder)
{
    const size_t nFirst = 7; // New, Open, Save, Save As, Print, Print Preview, separator
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_FALSE(FileMenuItem(nFirst)->IsEnabled());
    for (const char* pszFile : {"/a/1.hex", "/a/2.hex", "/a/3.hex", "/a/4.hex", "/a/R&D.hex"})
        m_manager.AddFileToHistory(pszFile);
    const char* kLabels[] = {"1 /a/R&D.hex", "2 /a/4.hex", "3 /a/3.hex", "4 /a/2.hex"};
    for (size_t i = 0; i < 4; i++)
    {
        EXPECT_EQ(kLabels[i], FileMenuItem(nFirst + i)->GetItemLabelText());
        EXPECT_EQ(wxID_FILE1 + int(i), FileMenuItem(nFirst + i)->GetId());
    }
    EXPECT_TRUE(FileMenuItem(nFirst + 4)->IsSeparator());
    while (m_manager.GetHistoryFilesCount() > 0)
        m_manager.RemoveFileFromHistory(0);
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_TRUE(FileMenuItem(nFirst + 1)->IsSeparator());
}
