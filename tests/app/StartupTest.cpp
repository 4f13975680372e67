// Start-up from the command line, the one document and view, and shutdown.
#include "AppTestSupport.h"
#include "CorvaneDoc.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "Profile.h"

#include <wx/fileconf.h>

namespace
{
class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        TestApp().m_hrCoInitialize = 0;
        TestApp().m_nWebUpdateCalls = 0;
        TestApp().m_cmdLine = CCommandLineInfo();
    }
    void TearDown() override
    {
        if (CMainFrame* pFrame = TestApp().GetMainFrame())
            pFrame->Close(true);
        PumpEvents();
        TestApp().ExitInstance();
        EXPECT_EQ(0, CountLiveFrames());
    }

    static bool Start(const std::string& strFile)
    {
        if (!strFile.empty())
        {
            TestApp().m_cmdLine.m_nShellCommand = CCommandLineInfo::FileOpen;
            TestApp().m_cmdLine.m_strFileName = strFile;
        }
        return TestApp().InitInstance();
    }
    static CCorvaneDoc* TheDocument()
    {
        wxDocManager* pManager = TestApp().GetDocManager();
        if (pManager == nullptr || pManager->GetDocuments().empty())
            return nullptr;
        return wxDynamicCast(pManager->GetDocuments().front(), CCorvaneDoc);
    }
    static wxString FrameTitle() { return TestApp().GetMainFrame()->GetTitle(); }
};
} // namespace

TEST_F(StartupTest, ComponentFailureShowsItsMessageAndEnds)
{
    TestApp().m_hrCoInitialize = static_cast<HRESULT>(0x80004005);
    CDialogCapture dialogs;
    EXPECT_FALSE(Start(""));
    EXPECT_EQ(std::vector<std::string>{"Error : CoInitialize(NULL)"}, dialogs.m_messages);
    EXPECT_EQ(std::vector<std::string>{"What ?"}, dialogs.m_captions);
    EXPECT_EQ(0, TestApp().m_nWebUpdateCalls);
    EXPECT_EQ(nullptr, TestApp().GetMainFrame());
}

// Without an argument: an empty document in a shown frame that keeps the focus itself.
TEST_F(StartupTest, NoArgumentShowsAnEmptyDocument)
{
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(1, TestApp().m_nWebUpdateCalls);
    CMainFrame* pFrame = TestApp().GetMainFrame();
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->IsShown());
    EXPECT_EQ("Untitled - Corvane", FrameTitle());
    ASSERT_NE(nullptr, TheDocument());
    EXPECT_EQ(0, TheDocument()->GetSegmentCount());
    for (int i = 0; i < 10; i++)
        wxYield();
    EXPECT_EQ(pFrame, wxWindow::FindFocus());
}

// A file that cannot be opened is reported; one without data is not. Neither leaves a window.
TEST_F(StartupTest, FileThatGivesNoImageEndsWithoutAWindow)
{
    CTempDir dir;
    dir.Write("empty.hex", ":00000001FF\r\n");
    for (const std::string& strFile :
         {std::string("/nonexistent/firmware.hex"), dir.File("empty.hex")})
    {
        CLogCapture log;
        EXPECT_FALSE(Start(strFile));
        PumpEvents();
        EXPECT_EQ(0, CountLiveFrames());
        const bool bAbsent = strFile.starts_with("/nonexistent");
        ASSERT_EQ(bAbsent ? 1u : 0u, log.m_messages.size()) << strFile;
        EXPECT_TRUE(!bAbsent || log.m_messages[0].find("could not be opened") != std::string::npos);
        TearDown();
    }
}

// A file named on the command line is opened and listed as recent; Open then reuses the
// one document, view and frame (New does too: see the document tests).
TEST_F(StartupTest, FileArgumentNewOpenAndShutdown)
{
    ASSERT_TRUE(Start(DataFile("view-three.hex")));
    EXPECT_EQ(DataFile("view-three.hex"), TestApp().GetDocManager()->GetHistoryFile(0));
    CCorvaneDoc* pDoc = TheDocument();
    ASSERT_NE(nullptr, pDoc);
    wxView* pView = pDoc->GetFirstView();
    EXPECT_EQ("view-three.hex - Corvane", FrameTitle());
    EXPECT_EQ(3, pDoc->GetSegmentCount());
    EXPECT_EQ(pDoc,
              TestApp().GetDocManager()->CreateDocument(DataFile("firmware.hex"), wxDOC_SILENT));
    EXPECT_EQ(pView, pDoc->GetFirstView());
    EXPECT_EQ("firmware.hex - Corvane", FrameTitle());
    EXPECT_EQ(1, CountLiveFrames());
    // shutdown keeps the window's placement and the recent files in the profile
    TestApp().GetMainFrame()->Close(true);
    PumpEvents();
    TestApp().ExitInstance();
    OpenProfile("Mirel Software", "Corvane");
    wxMemoryBuffer placement;
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Main-Place", placement));
    EXPECT_EQ(44u, placement.GetDataLen());
    wxString strFile;
    EXPECT_TRUE(wxConfigBase::Get()->Read("/Recent File List/file1", &strFile));
    EXPECT_EQ(DataFile("firmware.hex"), strFile);
}

wxApp* CreateTestApp()
{
    return new CTestApp;
}
