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

TEST_F(MainFrameTest, ToolbarButtonsInDesignedOrder)
{
    const struct
    {
        int nId;
        const char* pszTooltip;
        const char* pszPrompt;
    } expected[] = {
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
    ASSERT_EQ(WXSIZEOF(expected), pToolBar->GetToolsCount());
    EXPECT_EQ(AFX_IDW_TOOLBAR, pToolBar->GetId());
    for (size_t i = 0; i < WXSIZEOF(expected); i++)
    {
        const wxToolBarToolBase* pTool = pToolBar->GetToolByPos(int(i));
        if (expected[i].nId == wxID_SEPARATOR)
        {
            EXPECT_TRUE(pTool->IsSeparator()) << i;
            continue;
        }
        EXPECT_EQ(expected[i].nId, pTool->GetId()) << i;
        EXPECT_EQ(expected[i].pszTooltip, pTool->GetShortHelp()) << i;
        EXPECT_EQ(expected[i].pszPrompt, pTool->GetLongHelp()) << i;
        const wxBitmap bmp = pTool->GetNormalBitmap();
        ASSERT_TRUE(bmp.IsOk()) << i;
        EXPECT_EQ(wxSize(18, 18), bmp.GetSize()) << i;
    }
}

TEST_F(MainFrameTest, StatusBarPanesShowTheLockKeys)
{
    wxStatusBar* pStatusBar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(4, pStatusBar->GetFieldsCount());
    EXPECT_EQ(AFX_IDW_STATUS_BAR, pStatusBar->GetId());
    EXPECT_EQ("Ready", pStatusBar->GetStatusText(0));
    const struct
    {
        bool bCaps, bNum, bScroll;
        const char* pszCaps;
        const char* pszNum;
        const char* pszScroll;
    } cases[] = {{true, false, false, "CAP", "", ""},
                 {false, true, true, "", "NUM", "SCRL"},
                 {false, false, false, "", "", ""}};
    for (const auto& c : cases)
    {
        m_pFrame->SetKeyIndicators(c.bCaps, c.bNum, c.bScroll);
        EXPECT_EQ(c.pszCaps, pStatusBar->GetStatusText(1));
        EXPECT_EQ(c.pszNum, pStatusBar->GetStatusText(2));
        EXPECT_EQ(c.pszScroll, pStatusBar->GetStatusText(3));
    }
    EXPECT_EQ("Ready", pStatusBar->GetStatusText(0));
}

TEST_F(MainFrameTest, EditCommandsAreDisabled)
{
    m_pFrame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    m_pFrame->DoMenuUpdates();
    wxMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    for (int nId : {wxID_CUT, wxID_COPY, wxID_PASTE, wxID_UNDO})
        EXPECT_FALSE(pMenuBar->IsEnabled(nId)) << nId;
    for (int nId : {wxID_CUT, wxID_COPY, wxID_PASTE})
        EXPECT_FALSE(m_pFrame->m_wndToolBar->GetToolEnabled(nId)) << nId;
    EXPECT_TRUE(m_pFrame->m_wndToolBar->GetToolEnabled(ID_FILE_RELOAD));
}

TEST_F(MainFrameTest, ViewMenuShowsHidesAndChecksTheBars)
{
    const struct
    {
        int nId;
        wxWindow* pBar;
    } bars[] = {{ID_VIEW_TOOLBAR, m_pFrame->m_wndToolBar},
                {ID_VIEW_STATUS_BAR, m_pFrame->m_wndStatusBar}};
    for (const auto& bar : bars)
    {
        for (bool bShown : {false, true})
        {
            wxCommandEvent command(wxEVT_MENU, bar.nId);
            m_pFrame->GetEventHandler()->ProcessEvent(command);
            EXPECT_EQ(bShown, bar.pBar->IsShown()) << bar.nId;
            m_pFrame->DoMenuUpdates();
            EXPECT_EQ(bShown, m_pFrame->GetMenuBar()->IsChecked(bar.nId)) << bar.nId;
        }
    }
}

TEST_F(MainFrameTest, MenuItemsAndPrompts)
{
    wxMenuBar* pMenuBar = m_pFrame->GetMenuBar();
    ASSERT_EQ(4u, pMenuBar->GetMenuCount());
    const char* const titles[] = {"&File", "&Edit", "&View", "&Help"};
    for (size_t i = 0; i < 4; i++)
        EXPECT_EQ(titles[i], pMenuBar->GetMenuLabel(i));
    const struct
    {
        int nId;
        const char* pszLabel;
    } items[] = {{wxID_NEW, "&New\tCtrl+N"},
                 {wxID_OPEN, "&Open...\tCtrl+O"},
                 {wxID_SAVE, "&Save\tCtrl+S"},
                 {wxID_SAVEAS, "Save &As..."},
                 {wxID_PRINT, "Print"},
                 {wxID_PREVIEW, "Print Preview"},
                 {wxID_EXIT, "E&xit"},
                 {wxID_UNDO, "&Undo\tCtrl+Z"},
                 {wxID_CUT, "Cu&t\tCtrl+X"},
                 {wxID_COPY, "&Copy\tCtrl+C"},
                 {wxID_PASTE, "&Paste\tCtrl+V"},
                 {ID_VIEW_TOOLBAR, "&Toolbar"},
                 {ID_VIEW_STATUS_BAR, "&Status Bar"},
                 {wxID_ABOUT, "&About Corvane..."}};
    for (const auto& item : items)
        EXPECT_EQ(item.pszLabel, pMenuBar->GetLabel(item.nId)) << item.nId;
    EXPECT_EQ("Bytewise", CorvaneRes::GetCommandPrompt(ID_VIEW_BYTES));
    EXPECT_EQ("Create a new document", pMenuBar->GetHelpString(wxID_NEW));
    EXPECT_EQ(nullptr, pMenuBar->FindItem(ID_FILE_RELOAD));
}

TEST_F(MainFrameTest, RecentFilesTakeThePlaceOfThePlaceholder)
{
    // New, Open, Save, Save As, Print, Print Preview, separator: then the recent files
    const size_t nFirst = 7;
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_FALSE(FileMenuItem(nFirst)->IsEnabled());
    for (const char* pszFile :
         {"/a/one.hex", "/a/two.hex", "/a/three.hex", "/a/four.hex", "/a/five.hex"})
        m_manager.AddFileToHistory(pszFile);
    ASSERT_EQ(4u, m_manager.GetHistoryFilesCount());
    const char* const labels[] = {"&1 /a/five.hex", "&2 /a/four.hex", "&3 /a/three.hex",
                                  "&4 /a/two.hex"};
    for (size_t i = 0; i < 4; i++)
    {
        EXPECT_EQ(labels[i], FileMenuItem(nFirst + i)->GetItemLabel()) << i;
        EXPECT_EQ(wxID_FILE1 + int(i), FileMenuItem(nFirst + i)->GetId()) << i;
    }
    EXPECT_TRUE(FileMenuItem(nFirst + 4)->IsSeparator());
    EXPECT_EQ(wxID_EXIT, FileMenuItem(nFirst + 5)->GetId());
    while (m_manager.GetHistoryFilesCount() > 0)
        m_manager.RemoveFileFromHistory(0);
    EXPECT_EQ("Recent File", FileMenuItem(nFirst)->GetItemLabel());
    EXPECT_TRUE(FileMenuItem(nFirst + 1)->IsSeparator());
}
