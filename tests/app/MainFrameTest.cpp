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

// The designed order, tooltips (" byteorder" with its space) and prompts ("relaod").
TEST_F(MainFrameTest, ToolbarButtonsInDesignedOrder)
{
    // command, tooltip, status-bar prompt
    const std::tuple<int, const char*, const char*> kExpected[] = {
        {wxID_NEW, "New", "Create a new document"},
        {wxID_OPEN, "Open", "Open an existing document"},
        {ID_FILE_RELOAD, "reopen", "relaod"},
        {wxID_SAVE, "Save", "Save the active document"},
        {wxID_SEPARATOR, "", ""},
        {wxID_CUT, "Cut", "Cut the selection and put it on the Clipboard"},
        {wxID_COPY, "Copy", "Copy the selection and put it on the Clipboard"},
        {wxID_PASTE, "Paste", "Insert Clipboard contents"},
        {wxID_SEPARATOR, "", ""},
        {ID_VIEW_BYTES, "byte", "Bytewise"},
        {ID_VIEW_WORD16, "16 bit", "wordwise"},
        {ID_VIEW_WORD24, "24 bit", "24 bit"},
        {ID_VIEW_WORD32, "32 bit", "32 bit"},
        {wxID_SEPARATOR, "", ""},
        {ID_VIEW_BYTEORDER, " byteorder", "byteorder"},
        {wxID_SEPARATOR, "", ""},
        {ID_VIEW_PREV_SEGMENT, "", ""},
        {ID_VIEW_NEXT_SEGMENT, "", ""},
        {wxID_SEPARATOR, "", ""},
        {wxID_PRINT, "", ""},
        {wxID_SEPARATOR, "", ""},
        {wxID_ABOUT, "About", "Display program information, version number and copyright"},
    };
    wxToolBar* pToolBar = m_pFrame->m_wndToolBar;
    ASSERT_EQ(WXSIZEOF(kExpected), pToolBar->GetToolsCount());
    EXPECT_EQ(AFX_IDW_TOOLBAR, pToolBar->GetId());
    for (size_t i = 0; i < WXSIZEOF(kExpected); i++)
    {
        SCOPED_TRACE(i);
        const wxToolBarToolBase* pTool = pToolBar->GetToolByPos(int(i));
        const auto& [nId, pszTooltip, pszPrompt] = kExpected[i];
        EXPECT_EQ(nId == wxID_SEPARATOR, pTool->IsSeparator());
        if (pTool->IsSeparator())
            continue;
        EXPECT_EQ(nId, pTool->GetId());
        EXPECT_EQ(pszTooltip, pTool->GetShortHelp());
        EXPECT_EQ(pszPrompt, pTool->GetLongHelp());
        EXPECT_EQ(wxSize(18, 18), pTool->GetNormalBitmap().GetSize());
    }
}

TEST_F(MainFrameTest, StatusBarPanesShowTheLockKeys)
{
    wxStatusBar* pStatusBar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(4, pStatusBar->GetFieldsCount());
    EXPECT_EQ(AFX_IDW_STATUS_BAR, pStatusBar->GetId());
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

TEST_F(MainFrameTest, RecentFilesTakeThePlaceOfThePlaceholder)
{
    // New, Open, Save, Save As, Print, Print Preview, separator: then the recent files
    const size_t nFirst = 7;
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_FALSE(FileMenuItem(nFirst)->IsEnabled());
    for (const char* pszFile : {"/a/1.hex", "/a/2.hex", "/a/3.hex", "/a/4.hex", "/a/5.hex"})
        m_manager.AddFileToHistory(pszFile);
    ASSERT_EQ(4u, m_manager.GetHistoryFilesCount());
    for (size_t i = 0; i < 4; i++)
    {
        EXPECT_EQ(wxString::Format("&%zu /a/%zu.hex", i + 1, 5 - i),
                  FileMenuItem(nFirst + i)->GetItemLabel());
        EXPECT_EQ(wxID_FILE1 + int(i), FileMenuItem(nFirst + i)->GetId());
    }
    EXPECT_TRUE(FileMenuItem(nFirst + 4)->IsSeparator());
    EXPECT_EQ(wxID_EXIT, FileMenuItem(nFirst + 5)->GetId());
    while (m_manager.GetHistoryFilesCount() > 0)
        m_manager.RemoveFileFromHistory(0);
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_TRUE(FileMenuItem(nFirst + 1)->IsSeparator());
}
