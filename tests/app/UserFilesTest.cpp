// The files a user gives the program: odd kinds of file to the command line and Reload,
// relative names, Save As without an extension, failed saves, the first-run window.
#include "AppTestSupport.h"
#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "HexEditCtrlProbe.h"
#include "HexWriter.h"
#include "MainFrame.h"
#include "Resource.h"

#include <wx/filehistory.h>

#include <cstdlib>
#include <unistd.h>

namespace
{
class UserFilesTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override { ResetProfile(); }
    void TearDown() override
    {
        if (CMainFrame* pFrame = TestApp().GetMainFrame())
            pFrame->Close(true);
        PumpEvents();
        TestApp().ExitInstance();
    }
    // As "corvane PATH"; a file that blocks ends the test program.
    static bool Start(const std::string& strPath)
    {
        TestApp().m_cmdLine = {CCommandLineInfo::FileOpen, wxString::FromUTF8(strPath)};
        alarm(20);
        const bool bStarted = TestApp().InitInstance();
        alarm(0);
        return bStarted;
    }
    static CCorvaneDoc* Doc()
    {
        return wxDynamicCast(TestApp().GetDocManager()->GetDocuments().front(), CCorvaneDoc);
    }
    static std::string Recent() { return TestApp().GetDocManager()->GetHistoryFile(0).ToStdString(); }
    std::string Log() const { return testing::PrintToString(m_log.m_messages); }

    CTempDir m_dir;
    CLogCapture m_log;
};

// Each gets the framework's message at once from the command line and from a Reload.
TEST_P(UserFilesTest, UnreadableKindsAreReportedWithoutBlocking)
{
    ASSERT_EQ(0, std::system(("cd '" + m_dir.Path() + "' && mkfifo fifo && mkdir dir").c_str()));
    const std::string strPath = GetParam()[0] == '/' ? GetParam() : m_dir.File(GetParam());
    EXPECT_FALSE(Start(strPath));
    EXPECT_NE(std::string::npos, Log().find("could not be opened for reading")) << Log();
    TestApp().ExitInstance();
    m_log.m_messages.clear();
    ASSERT_TRUE(Start(DataFile("view-three.hex")));
    Doc()->SetFilename(wxString::FromUTF8(strPath));
    wxCommandEvent reload(wxEVT_MENU, ID_FILE_RELOAD);
    alarm(20);
    Doc()->ProcessEvent(reload);
    alarm(0);
    EXPECT_NE(std::string::npos, Log().find("could not be opened for reading")) << Log();
    EXPECT_EQ(3, Doc()->GetSegmentCount());
}

INSTANTIATE_TEST_SUITE_P(Kinds, UserFilesTest,
                         ::testing::Values("missing.hex", "dir", "fifo", "/dev/zero"),
                         [](const auto& info) { return std::to_string(info.index); });

// A bare name is stored absolute; Save As adds ".hex"; a failed save says so.
TEST_F(UserFilesTest, NamesAndSaves)
{
    m_dir.Write("fw.hex", ReadFileText(DataFile("view-three.hex")));
    char szOld[4096];
    ASSERT_TRUE(getcwd(szOld, sizeof szOld) && chdir(m_dir.Path().c_str()) == 0);
    const bool bStarted = Start("fw.hex");
    ASSERT_TRUE(chdir(szOld) == 0 && bStarted);
    EXPECT_EQ(m_dir.File("fw.hex"), Recent());
    ASSERT_TRUE(Doc()->SaveAsFile(wxString::FromUTF8(m_dir.File("saved copy"))));
    EXPECT_EQ(FormatHexText(Doc()->m_image), ReadFileText(m_dir.File("saved copy.hex")));
    EXPECT_EQ(m_dir.File("saved copy.hex"), Recent());
    EXPECT_EQ("{}", Log());
    EXPECT_FALSE(Doc()->SaveAsFile(wxString::FromUTF8(m_dir.File("no folder/x.hex"))));
    Doc()->SetFilename("/dev/full");
    EXPECT_FALSE(Doc()->Save());
    EXPECT_EQ(2u, m_log.m_messages.size());
    EXPECT_NE(std::string::npos, Log().find("Failed to save document to the file \\\"/dev/full"));
}

// The first run shows whole lines at every word length; the first segment is copied once.
TEST_F(UserFilesTest, FirstRunFitsTheWidestLineAndCopiesTheSegmentOnce)
{
    static int s_nCopies = 0;
    CHexEditCtrlProbe::SetMalloc([](size_t n) { return s_nCopies++, std::malloc(n); });
    const bool bStarted = Start(DataFile("view-three.hex"));
    CHexEditCtrlProbe::SetMalloc(std::malloc);
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(1, s_nCopies);
    wxWindow* pCtrl = TestApp().GetMainFrame()->FindWindow(IDC_HEXEDIT);
    const int nCells = pCtrl->GetClientSize().x / pCtrl->GetTextExtent("0").x;
    for (int nWordLen = 1; nWordLen <= 4; nWordLen++)
    {
        const int nBytes = CCorvaneView::BytesPerLineFor(nWordLen);
        EXPECT_GE(nCells, CHexLayout(nWordLen, nBytes, 0, 8, true, true).GetCharCol() + nBytes);
    }
}
} // namespace
