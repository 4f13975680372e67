// The document's life cycle: open, reload, new, save; one document and view throughout.
#include "ViewTestSupport.h"

#include "Resource.h"

#include <unistd.h>

namespace
{
const std::vector<uint8_t> kFirst = {0x10, 0x20, 0x30, 0x40, 0x50};

class DocumentTest : public CDocViewTest
{
protected:
    // A two-segment file in the test's folder, opened.
    void StartOnTwo() { StartOn("two.hex", {{0x0200, kFirst}, {0x12000, {0xA0, 0xA1, 0xA2}}}); }

    void ExpectShowsTwo(const std::string& strWhen)
    {
        SCOPED_TRACE(strWhen);
        EXPECT_EQ(2, m_pDoc->GetSegmentCount());
        EXPECT_EQ(m_dir.File("two.hex"), m_pDoc->GetFilename());
        EXPECT_EQ("two.hex - Corvane", m_pFrame->GetTitle());
        EXPECT_EQ(kFirst, Probe().Bytes());
        EXPECT_FALSE(m_pDoc->IsModified());
    }
};
} // namespace

// A failed open leaves image, path, title and view as they were, so a later Save cannot
// write an empty image over the file. Only a file that cannot be opened is reported.
TEST_F(DocumentTest, FailedOpenKeepsTheDocument)
{
    StartOnTwo();
    ExpectShowsTwo("opened");
    m_dir.Write("nodata.hex", ":00000001FF\r\n");
    for (const char* pszName : {"absent.hex", "nodata.hex"})
    {
        CLogCapture log;
        EXPECT_EQ(nullptr, m_pManager->CreateDocument(m_dir.File(pszName), wxDOC_SILENT));
        EXPECT_EQ(std::string(pszName) == "absent.hex" ? 1u : 0u, log.m_messages.size());
        ExpectShowsTwo(pszName);
    }
    const std::string strBefore = ReadFileText(m_dir.File("two.hex"));
    EXPECT_TRUE(m_pDoc->Save());
    EXPECT_EQ(strBefore, ReadFileText(m_dir.File("two.hex")));
}

// Reload reads the file as it is now, discarding edits made in the control; a file that
// no longer holds data leaves the image as it was, without a message.
TEST_F(DocumentTest, ReloadReadsTheFileAsItIsNow)
{
    StartOnTwo();
    Command(ID_VIEW_NEXT_SEGMENT);
    Probe().Data()[0] = 0xEE;
    const std::vector<uint8_t> seven = {1, 2, 3, 4, 5, 6, 7};
    auto reload = [&](const std::string& strText)
    {
        m_dir.Write("two.hex", strText);
        CLogCapture log;
        Command(ID_FILE_RELOAD);
        EXPECT_TRUE(log.m_messages.empty());
        EXPECT_EQ(1, m_pDoc->GetSegmentCount());
        EXPECT_EQ(0, m_pView->m_nSegment);
        EXPECT_EQ(seven, Probe().Bytes());
        EXPECT_EQ(m_dir.File("two.hex"), m_pDoc->GetFilename());
        EXPECT_EQ("two.hex - Corvane", m_pFrame->GetTitle());
    };
    reload(HexText({{0x0300, seven}}));
    reload("");
}

// A new document has a name but no file: even a file of that name is not read.
TEST_F(DocumentTest, ReloadOfANewDocumentDoesNothing)
{
    Start("");
    m_dir.Write(m_pDoc->GetFilename().ToStdString(), HexText({{0, kFirst}}));
    char szOld[4096];
    ASSERT_NE(nullptr, getcwd(szOld, sizeof(szOld)));
    ASSERT_EQ(0, chdir(m_dir.Path().c_str()));
    Command(ID_FILE_RELOAD);
    EXPECT_EQ(0, chdir(szOld));
    EXPECT_EQ(0, m_pDoc->GetSegmentCount());
    EXPECT_EQ(0, Ctrl().GetDataLength());
    EXPECT_EQ("Untitled - Corvane", m_pFrame->GetTitle());
}

// New empties the one document and its control; Save As hands the chosen path to
// OnSaveDocument, which writes the end record alone.
TEST_F(DocumentTest, NewThenSaveAsWritesOnlyTheEndRecord)
{
    StartOnTwo();
    ASSERT_EQ(m_pDoc, m_pManager->CreateDocument("", wxDOC_NEW));
    EXPECT_EQ(0, Ctrl().GetDataLength());
    EXPECT_EQ("Untitled - Corvane", m_pFrame->GetTitle());
    EXPECT_FALSE(m_pDoc->GetDocumentSaved());
    EXPECT_TRUE(m_pDoc->OnSaveDocument(m_dir.File("new.hex")));
    EXPECT_EQ(":00000001FF\r\n", ReadFileText(m_dir.File("new.hex")));
    EXPECT_TRUE(m_pDoc->GetDocumentSaved());
}

// Save writes the image as last read: edits made in the control stay in the control. A
// save that fails says so.
TEST_F(DocumentTest, SaveWritesTheImageAsRead)
{
    StartOnTwo();
    Probe().Data()[1] = 0xEE;
    m_dir.Write("two.hex", "");
    EXPECT_TRUE(m_pDoc->Save());
    EXPECT_EQ(HexText({{0x0200, kFirst}, {0x12000, {0xA0, 0xA1, 0xA2}}}),
              ReadFileText(m_dir.File("two.hex")));
    EXPECT_EQ(0xEE, Probe().Bytes()[1]);
    m_pDoc->SetFilename(m_dir.File("missing-folder/two.hex"));
    CLogCapture log;
    EXPECT_FALSE(m_pDoc->Save());
    EXPECT_EQ(1u, log.m_messages.size());
}
