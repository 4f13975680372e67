// The files a user gives the program: odd kinds of file to Open, Reload and the command
// line, relative names, Save As without an extension, saves that fail.
#include "AppTestSupport.h"
#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "HexParser.h"
#include "HexEditCtrlProbe.h"
#include "MainFrame.h"
#include "Resource.h"

#include <wx/filehistory.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class UserFilesTest : public ::testing::Test
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
    // Starts as the command line "corvane PATH" does; a file that blocks ends the test program.
    bool Start(const std::string& strPath)
    {
        TestApp().m_cmdLine.m_nShellCommand = CCommandLineInfo::FileOpen;
        TestApp().m_cmdLine.m_strFileName = wxString::FromUTF8(strPath);
        alarm(20);
        const bool bStarted = TestApp().InitInstance();
        alarm(0);
        return bStarted;
    }
    static CCorvaneDoc* Doc()
    {
        return wxDynamicCast(TestApp().GetDocManager()->GetDocuments().front(), CCorvaneDoc);
    }
    bool Logged(const std::string& strText) const
    {
        for (const std::string& str : m_log.m_messages)
            if (str.find(strText) != std::string::npos)
                return true;
        return false;
    }
    void Reload()
    {
        wxCommandEvent event(wxEVT_MENU, ID_FILE_RELOAD);
        alarm(20);
        Doc()->ProcessEvent(event);
        alarm(0);
    }

    CTempDir m_dir;
    CLogCapture m_log;
};

struct BadFile
{
    const char* pszName;
    std::string (*make)(const CTempDir& dir);
};

const BadFile kBadFiles[] = {
    {"Missing", [](const CTempDir& dir) { return dir.File("missing.hex"); }},
    {"Directory", [](const CTempDir& dir) { return dir.Path(); }},
    {"Fifo",
     [](const CTempDir& dir)
     {
         mkfifo(dir.File("pipe.hex").c_str(), 0644);
         return dir.File("pipe.hex");
     }},
    {"DevZero", [](const CTempDir&) { return std::string("/dev/zero"); }},
};

void PrintTo(const BadFile& file, std::ostream* pOut)
{
    *pOut << file.pszName;
}

class BadFileTest : public UserFilesTest, public ::testing::WithParamInterface<BadFile>
{
};

// Each gets the framework's message at once; none blocks the program.
TEST_P(BadFileTest, CommandLineAndReloadReportItAndGoOn)
{
    const std::string strPath = GetParam().make(m_dir);
    EXPECT_FALSE(Start(strPath));
    EXPECT_TRUE(Logged("could not be opened for reading")) << strPath;
    TestApp().ExitInstance();

    // a file that turns into this one between Open and Reload
    m_dir.Write("good.hex", ReadFileText(DataFile("view-three.hex")));
    ASSERT_TRUE(Start(m_dir.File("good.hex")));
    m_log.m_messages.clear();
    Doc()->SetFilename(wxString::FromUTF8(strPath));
    Reload();
    EXPECT_TRUE(Logged("could not be opened for reading")) << strPath;
    EXPECT_EQ(3, Doc()->GetSegmentCount());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadFileTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.pszName); });

// Started in the file's folder with its bare name: the list names it from anywhere.
TEST_F(UserFilesTest, RelativeNameBecomesAbsolute)
{
    m_dir.Write("fw.hex", ReadFileText(DataFile("view-three.hex")));
    char szOld[4096];
    ASSERT_NE(getcwd(szOld, sizeof szOld), nullptr);
    ASSERT_EQ(chdir(m_dir.Path().c_str()), 0);
    const bool bStarted = Start("fw.hex");
    EXPECT_EQ(chdir(szOld), 0);
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(m_dir.File("fw.hex"), Doc()->GetFilename().ToStdString());
    EXPECT_EQ(m_dir.File("fw.hex"),
              TestApp().GetDocManager()->GetFileHistory()->GetHistoryFile(0).ToStdString());
}

// Save As adds the type's extension to a bare name; a failed save is reported and the
// document keeps its name.
TEST_F(UserFilesTest, SaveAsAddsExtensionAndFailuresAreReported)
{
    m_dir.Write("fw.hex", ReadFileText(DataFile("view-three.hex")));
    ASSERT_TRUE(Start(m_dir.File("fw.hex")));
    ASSERT_TRUE(Doc()->SaveAsFile(wxString::FromUTF8(m_dir.File("saved copy"))));
    const std::string strSaved = m_dir.File("saved copy.hex");
    EXPECT_EQ(FormatHexText(Doc()->m_image), ReadFileText(strSaved));
    EXPECT_EQ(strSaved, Doc()->GetFilename().ToStdString());
    EXPECT_EQ(strSaved,
              TestApp().GetDocManager()->GetFileHistory()->GetHistoryFile(0).ToStdString());
    EXPECT_TRUE(m_log.m_messages.empty());

    EXPECT_FALSE(Doc()->SaveAsFile(wxString::FromUTF8(m_dir.File("no folder/x.hex"))));
    EXPECT_TRUE(Logged("Failed to save document to the file"));
    EXPECT_EQ(strSaved, Doc()->GetFilename().ToStdString());
    m_log.m_messages.clear();
    Doc()->SetFilename("/dev/full");
    EXPECT_FALSE(Doc()->Save());
    EXPECT_TRUE(Logged("Failed to save document to the file \"/dev/full\""));
}

// With no stored placement the window shows the whole of the widest line, 16-bit words.
TEST_F(UserFilesTest, FirstRunWindowFitsTheWidestLine)
{
    ASSERT_TRUE(Start(DataFile("view-three.hex")));
    wxWindow* pCtrl = TestApp().GetMainFrame()->FindWindow(IDC_HEXEDIT);
    ASSERT_NE(pCtrl, nullptr);
    const int nCells = pCtrl->GetClientSize().x / pCtrl->GetTextExtent("0").x;
    for (int nWordLen = 1; nWordLen <= 4; nWordLen++)
    {
        const int nBytes = CCorvaneView::BytesPerLineFor(nWordLen);
        EXPECT_GE(nCells, CHexLayout(nWordLen, nBytes, 0, 8, true, true).GetCharCol() + nBytes)
            << nWordLen;
    }
}

// Opening hands the first segment to the control once; a copy made twice costs a large
// image seconds.
TEST_F(UserFilesTest, OpenCopiesTheFirstSegmentOnce)
{
    static int s_nCopies;
    s_nCopies = 0;
    CHexEditCtrlProbe::SetMalloc(
        [](size_t n)
        {
            s_nCopies++;
            return std::malloc(n);
        });
    const bool bStarted = Start(DataFile("view-three.hex"));
    CHexEditCtrlProbe::SetMalloc(std::malloc);
    ASSERT_TRUE(bStarted);
    EXPECT_EQ(1, s_nCopies);
}
} // namespace
