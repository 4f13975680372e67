#include "ViewTestSupport.h"

#include "HexParser.h"
#include "Resource.h"

#include <unistd.h>

namespace
{
const std::vector<uint8_t> kFirst = {0x10, 0x20, 0x30, 0x40, 0x50};
const std::vector<uint8_t> kSecond = {0xA0, 0xA1, 0xA2};

class DocumentTest : public CDocViewTest
{
protected:
    // A copy of a two-segment file in the test's folder, opened.
    void StartOnCopy()
    {
        m_strFile = m_dir.File("two.hex");
        m_dir.Write("two.hex", HexText({{0x0200, kFirst}, {0x12000, kSecond}}));
        Start(m_strFile);
    }

    std::string m_strFile;
};
} // namespace

TEST_F(DocumentTest, OpenReadsTheFileAndShowsItsFirstSegment)
{
    StartOnCopy();
    EXPECT_EQ(2, m_pDoc->GetSegmentCount());
    EXPECT_EQ(m_strFile, m_pDoc->GetFilename());
    EXPECT_EQ("two.hex - Corvane", m_pFrame->GetTitle());
    EXPECT_EQ(kFirst, Probe().Bytes());
    EXPECT_FALSE(m_pDoc->IsModified());
}

// A failed open leaves image, path, title and view as they were, so a later Save cannot
// write an empty image over the file.
TEST_F(DocumentTest, FailedOpenKeepsTheDocument)
{
    StartOnCopy();
    m_dir.Write("nodata.hex", ":00000001FF\r\n");
    const struct
    {
        std::string strPath;
        size_t nMessages; // the framework reports a file it cannot open
    } cases[] = {{m_dir.File("absent.hex"), 1}, {m_dir.File("nodata.hex"), 0}};
    for (const auto& c : cases)
    {
        CLogCapture log;
        EXPECT_EQ(nullptr, m_pManager->CreateDocument(c.strPath, wxDOC_SILENT)) << c.strPath;
        EXPECT_EQ(c.nMessages, log.m_messages.size()) << c.strPath;
        EXPECT_EQ(2, m_pDoc->GetSegmentCount()) << c.strPath;
        EXPECT_EQ(m_strFile, m_pDoc->GetFilename()) << c.strPath;
        EXPECT_EQ("two.hex - Corvane", m_pFrame->GetTitle()) << c.strPath;
        EXPECT_EQ(kFirst, Probe().Bytes()) << c.strPath;
    }
    const std::string strBefore = ReadFileText(m_strFile);
    EXPECT_TRUE(m_pDoc->Save());
    EXPECT_EQ(strBefore, ReadFileText(m_strFile));
}

TEST_F(DocumentTest, ReloadReadsTheFileAsItIsNow)
{
    StartOnCopy();
    Command(ID_VIEW_NEXT_SEGMENT);
    m_dir.Write("two.hex", HexText({{0x0300, {1, 2, 3, 4, 5, 6, 7}}}));
    Command(ID_FILE_RELOAD);
    EXPECT_EQ(1, m_pDoc->GetSegmentCount());
    EXPECT_EQ(0, m_pView->m_nSegment);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}), Probe().Bytes());
    EXPECT_EQ(m_strFile, m_pDoc->GetFilename());
    EXPECT_EQ("two.hex - Corvane", m_pFrame->GetTitle());
}

TEST_F(DocumentTest, ReloadOfAFileWithoutDataKeepsTheImage)
{
    StartOnCopy();
    m_dir.Write("two.hex", "");
    CLogCapture log;
    Command(ID_FILE_RELOAD);
    EXPECT_EQ(2, m_pDoc->GetSegmentCount());
    EXPECT_TRUE(log.m_messages.empty());
}

TEST_F(DocumentTest, ReloadDiscardsEditsInTheControl)
{
    StartOnCopy();
    Probe().Data()[0] = 0xEE;
    Command(ID_FILE_RELOAD);
    EXPECT_EQ(kFirst, Probe().Bytes());
}

// A new document has a name but no file: even a file of that name is not read.
TEST_F(DocumentTest, ReloadOfANewDocumentDoesNothing)
{
    Start("");
    const std::string strName = m_pDoc->GetFilename().ToStdString();
    m_dir.Write(strName, HexText({{0, kFirst}}));
    char szOld[4096];
    ASSERT_NE(nullptr, getcwd(szOld, sizeof(szOld)));
    ASSERT_EQ(0, chdir(m_dir.Path().c_str()));
    Command(ID_FILE_RELOAD);
    EXPECT_EQ(0, chdir(szOld));
    EXPECT_EQ(0, m_pDoc->GetSegmentCount());
    EXPECT_EQ(0, Ctrl().GetDataLength());
    EXPECT_EQ("Untitled - Corvane", m_pFrame->GetTitle());
}

// Save As hands the chosen path to OnSaveDocument.
TEST_F(DocumentTest, NewThenSaveAsWritesOnlyTheEndRecord)
{
    StartOnCopy();
    ASSERT_EQ(m_pDoc, m_pManager->CreateDocument("", wxDOC_NEW));
    const std::string strTarget = m_dir.File("new.hex");
    EXPECT_TRUE(m_pDoc->OnSaveDocument(strTarget));
    EXPECT_EQ(":00000001FF\r\n", ReadFileText(strTarget));
    EXPECT_TRUE(m_pDoc->GetDocumentSaved());
    EXPECT_FALSE(m_pDoc->IsModified());
}

// Save writes the image as last read: edits made in the control stay in the control.
TEST_F(DocumentTest, SaveWritesTheImageAsRead)
{
    StartOnCopy();
    Probe().Data()[1] = 0xEE;
    m_dir.Write("two.hex", "");
    EXPECT_TRUE(m_pDoc->Save());
    MemoryImage image;
    ASSERT_TRUE(::ReadHexFile(image, m_strFile.c_str()));
    ASSERT_EQ(2, image.GetCount());
    const MemorySegment* pSeg = image.GetAt(0);
    EXPECT_EQ(kFirst, std::vector<uint8_t>(pSeg->m_pBytes, pSeg->m_pBytes + pSeg->m_nSize));
    EXPECT_EQ(0xEE, Probe().Bytes()[1]);
}

TEST_F(DocumentTest, SaveFailureLeavesTheFileAndReportsFalse)
{
    StartOnCopy();
    m_pDoc->SetFilename(m_dir.File("missing-folder/two.hex"));
    EXPECT_FALSE(m_pDoc->Save());
}

TEST_F(DocumentTest, NewEmptiesTheDocumentAndTheControl)
{
    StartOnCopy();
    EXPECT_EQ(m_pDoc, m_pManager->CreateDocument("", wxDOC_NEW));
    EXPECT_EQ(0, m_pDoc->GetSegmentCount());
    EXPECT_EQ(0, Ctrl().GetDataLength());
    EXPECT_EQ("Untitled - Corvane", m_pFrame->GetTitle());
    EXPECT_FALSE(m_pDoc->GetDocumentSaved());
}
