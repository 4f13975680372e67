// Start-up from the command line, the files a user names, and the one document, view and frame.
#include "AppTestSupport.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include <cstdlib>

using StartupTest = CAppRunTest;

// Without an argument: an empty document after the web update had its turn; it has no file
// that Reload could read. The control fills the frame; activating the frame gives the keyboard
// focus to the control, the window's one input area.
TEST_F(StartupTest, NoArgumentShowsAnEmptyDocument)
{
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(1, TestApp().m_nWebUpdateCalls);
    EXPECT_TRUE(Frame()->IsShown());
    EXPECT_EQ("Untitled - Corvane", Title());
    EXPECT_EQ(0, Doc()->GetSegmentCount());
    Command(ID_FILE_RELOAD);
    EXPECT_EQ("{}", Log());
    Frame()->SetClientSize(500, 300);
    PumpEvents();
    EXPECT_EQ(wxRect(wxPoint(0, 0), Frame()->GetClientSize()), Ctrl().GetRect());
    Frame()->wxDocParentFrame::SetFocus();
    wxActivateEvent activate(wxEVT_ACTIVATE, true, Frame()->GetId());
    Frame()->GetEventHandler()->ProcessEvent(activate);
    // asked at once: the display's focus may meanwhile go to another test's window
    EXPECT_EQ(&Ctrl(), wxWindow::FindFocus());
}

// The rows of tables/unreadable.txt.
struct UnreadableFileTest : CAppRunTest, ::testing::WithParamInterface<CRow>
{
};

// A start on it ends without a frame, with the reason in a message box and on standard
// error; a Reload of it says the same and keeps the image shown. Neither blocks.
TEST_P(UnreadableFileTest, EndsTheStartAndKeepsTheImageOnReload)
{
    const CRow& row = GetParam();
    ASSERT_EQ(0, std::system(("cd '" + m_dir.Path() + "' && " + row.at(1)).c_str()));
    const std::string strPath = row.at(2)[0] == '/' ? row[2] : m_dir.File(row[2]);
    const std::string strMessage = "File \"" + strPath + "\" " + row.at(3);
    wxLogGui gui;
    wxLog* pCapture = wxLog::SetActiveTarget(&gui);
    CDialogCapture dialogs;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Start(strPath));
    EXPECT_EQ("corvane: " + strMessage + "\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(1u, dialogs.m_seen.size());
    wxLog::SetActiveTarget(pCapture);
    PumpEvents();
    EXPECT_EQ(0, CountLiveFrames());
    TestApp().ExitInstance();
    ASSERT_TRUE(Start(DataFile("view-three.hex")));
    Doc()->SetFilename(wxString::FromUTF8(strPath));
    alarm(20);
    Command(ID_FILE_RELOAD);
    alarm(0);
    EXPECT_EQ(std::vector<std::string>{strMessage}, m_log.m_messages);
    EXPECT_EQ(3, Doc()->GetSegmentCount());
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadableFileTest,
                         ::testing::ValuesIn(ReadTable("tables/unreadable.txt")), CRowName());

// A file named on the command line, even by a bare name, is opened and listed as recent by
// its absolute path, its first segment shown without a copy and in whole lines at every word
// length; Open then reuses the one document, view and frame; Save As adds ".hex".
TEST_F(StartupTest, FileArgumentOpenAndSaveAs)
{
    m_dir.Write("fw.hex", ReadFileText(DataFile("view-three.hex")));
    char szOld[4096];
    ASSERT_TRUE(getcwd(szOld, sizeof szOld) && chdir(m_dir.Path().c_str()) == 0);
    static int s_nCopies = 0;
    CHexEditCtrlProbe::SetAlloc([](size_t n) { return s_nCopies++, std::malloc(n); });
    const bool bStarted = Start("fw.hex");
    CHexEditCtrlProbe::SetAlloc(std::malloc);
    ASSERT_TRUE(chdir(szOld) == 0 && bStarted);
    EXPECT_EQ(0, s_nCopies);
    const int nCells = Ctrl().GetClientSize().x / Ctrl().GetTextExtent("0").x;
    for (int nWordLen = 1; nWordLen <= 4; nWordLen++)
    {
        const int nBytes = CCorvaneView::BytesPerLineFor(nWordLen);
        EXPECT_GE(nCells, CHexLayout(nWordLen, nBytes, 0, 8, true, true).GetCharCol() + nBytes);
    }
    EXPECT_EQ(m_dir.File("fw.hex"), TestApp().GetDocManager()->GetHistoryFile(0));
    CCorvaneDoc* pDoc = Doc();
    wxView* pView = pDoc->GetFirstView();
    EXPECT_EQ(pDoc,
              TestApp().GetDocManager()->CreateDocument(DataFile("firmware.hex"), wxDOC_SILENT));
    EXPECT_EQ(pView, pDoc->GetFirstView());
    EXPECT_EQ("firmware.hex - Corvane", Title());
    ASSERT_TRUE(Doc()->SaveAsFile(wxString::FromUTF8(m_dir.File("saved copy"))));
    EXPECT_EQ(FormatHexText(CShellProbe::Image(*Doc())),
              ReadFileText(m_dir.File("saved copy.hex")));
    EXPECT_EQ(m_dir.File("saved copy.hex"), TestApp().GetDocManager()->GetHistoryFile(0));
    EXPECT_EQ("{}", Log());
}

// The newest file comes first in place of the placeholder; an "&" in a path is shown, not
// taken as a mnemonic. The status bar shows the lock keys that are on; the View menu shows,
// hides and checks the bars; Cut, Copy, Paste and Undo are disabled; Reload is on the
// toolbar only.
TEST_F(StartupTest, FrameMenusAndBars)
{
    ASSERT_TRUE(Start(""));
    CMainFrame* pFrame = Frame();
    auto item = [&](size_t nPos) // after New, Open, Save, Save As, Print, Print Preview, separator
    { return pFrame->GetMenuBar()->GetMenu(0)->FindItemByPosition(7 + nPos); };
    EXPECT_EQ("Recent File", item(0)->GetItemLabel());
    EXPECT_FALSE(item(0)->IsEnabled());
    for (const char* pszFile : {"/a/1.hex", "/a/2.hex", "/a/3.hex", "/a/4.hex", "/a/R&D.hex"})
        TestApp().GetDocManager()->AddFileToHistory(pszFile);
    const char* kLabels[] = {"1 /a/R&D.hex", "2 /a/4.hex", "3 /a/3.hex", "4 /a/2.hex"};
    for (size_t i = 0; i < 4; i++)
    {
        EXPECT_EQ(kLabels[i], item(i)->GetItemLabelText());
        EXPECT_EQ(wxID_FILE1 + int(i), item(i)->GetId());
    }
    EXPECT_TRUE(item(4)->IsSeparator());
    while (TestApp().GetDocManager()->GetHistoryFilesCount() > 0)
        TestApp().GetDocManager()->RemoveFileFromHistory(0);
    EXPECT_EQ("Recent File", item(0)->GetItemLabel());
    // the rows of tables/lock-keys.txt
    static std::string s_strLocks;
    static int s_nAsked;
    CShellProbe::KeyState(*pFrame) = [](wxKeyCode key)
    {
        const char ch = key == WXK_CAPITAL ? 'C' : key == WXK_NUMLOCK ? 'N' : 'S';
        return s_nAsked++, s_strLocks.find(ch) != std::string::npos;
    };
    for (const CRow& row : ReadTable("tables/lock-keys.txt"))
    {
        const char chEvent = row.at(1)[0];
        s_strLocks = row[0], s_nAsked = 0;
        wxActivateEvent activate(wxEVT_ACTIVATE, true);
        wxKeyEvent key(chEvent == 'u' ? wxEVT_KEY_UP : wxEVT_KEY_DOWN);
        key.m_keyCode = chEvent == 'x' ? WXK_PAGEDOWN : WXK_NUMLOCK;
        if (chEvent == 'a')
            pFrame->ProcessWindowEvent(activate);
        else if (chEvent != 'i')
            Ctrl().ProcessWindowEvent(key);
        PumpEvents();
        const wxStatusBar* pBar = pFrame->GetStatusBar();
        EXPECT_EQ(row.at(2), pBar->GetStatusText(1) + "/" + pBar->GetStatusText(2) + "/" +
                                 pBar->GetStatusText(3) + " " + std::to_string(s_nAsked));
    }
    for (int nId : {wxID_CUT, wxID_COPY, wxID_PASTE, wxID_UNDO})
        EXPECT_FALSE(IsEnabled(nId)) << nId;
    EXPECT_TRUE(IsEnabled(ID_FILE_RELOAD));
    EXPECT_EQ(nullptr, pFrame->GetMenuBar()->FindItem(ID_FILE_RELOAD));
    for (wxWindow* pBar :
         std::initializer_list<wxWindow*>{pFrame->GetToolBar(), pFrame->GetStatusBar()})
        for (bool bShown : {false, true})
        {
            const int nId = pBar == pFrame->GetToolBar() ? ID_VIEW_TOOLBAR : ID_VIEW_STATUS_BAR;
            Command(nId);
            EXPECT_EQ(bShown, pBar->IsShown()) << nId;
            pFrame->DoMenuUpdates();
            EXPECT_EQ(bShown, pFrame->GetMenuBar()->IsChecked(nId)) << nId;
        }
}

// The caret, segment and view panes as the frame sets them when idle: with no document, after
// File Open, a step, a caret move by key, a word length, a byte-order toggle and a click. A
// pane fits its text between the bar's margins (and the pixel GTK moves text by), the last
// one beside the size grip; a prompt, shown across the bar, fits too.
TEST_F(StartupTest, StatusPanesSayWhereTheCaretIs)
{
    ASSERT_TRUE(Start(""));
    const int nCharCol = CHexLayout(2, 32, 0, 8, true, true).GetCharCol();
    const wxStatusBar* pBar = Frame()->GetStatusBar();
    const int kCommands[] = {ID_VIEW_NEXT_SEGMENT, ID_VIEW_WORD16, ID_VIEW_BYTEORDER};
    std::string strSeen;
    for (const char ch : std::string(".fndwoc"))
    {
        const wxSize cell = Ctrl().GetTextExtent("0");
        if (ch == 'f')
            TestApp().GetDocManager()->CreateDocument(DataFile("view-three.hex"), 0);
        else if (ch == 'd')
            Probe().Key(CHexEditCtrl::VK_DOWN);
        else if (ch == 'c')
            Probe().Down((nCharCol + 5) * cell.x + cell.x / 2, cell.y * 3 / 2), Probe().Up(0, 0);
        else if (ch != '.')
            Command(kCommands[std::string("nwo").find(ch)]);
        wxIdleEvent idle;
        Frame()->ProcessWindowEvent(idle);
        for (int i = CMainFrame::kPaneCaret; i < CMainFrame::kPaneCount; i++)
            strSeen += pBar->GetStatusText(i) + (i + 1 < CMainFrame::kPaneCount ? "|" : "\n");
    }
    EXPECT_EQ(ReadFileText(DataFile("status-panes.txt")), strSeen);
    for (int i = CMainFrame::kPaneCaret; i < CMainFrame::kPaneCount; i++)
    {
        const int nGrip = i == CMainFrame::kPaneCount - 1 ? pBar->GetClientSize().y : 0;
        EXPECT_LE(pBar->GetTextExtent(pBar->GetStatusText(i)).x + nGrip + 9,
                  pBar->GetStatusWidth(i));
    }
    Frame()->DoGiveHelp(CorvaneRes::GetCommandPrompt(wxID_ABOUT), true);
    wxRect rect;
    pBar->GetFieldRect(CMainFrame::kPanePrompt, rect);
    EXPECT_LE(pBar->GetTextExtent(pBar->GetStatusText(CMainFrame::kPanePrompt)).x + 5, rect.width);
}

wxApp* CreateTestApp()
{
    return new CTestApp;
}
