// The document's life cycle: open, reload, save; one document and view throughout.
#include "AppTestSupport.h"

namespace
{
const std::vector<uint8_t> kFirst = {0x10, 0x20, 0x30, 0x40, 0x50};
const SegmentList kTwo = {{0x0200, kFirst}, {0x12000, {0xA0, 0xA1, 0xA2}}};

class DocumentTest : public CAppRunTest
{
protected:
    void ExpectShows(size_t nSegments, const std::vector<uint8_t>& bytes)
    {
        EXPECT_EQ(int(nSegments), Doc()->GetSegmentCount());
        EXPECT_EQ(m_dir.File("two.hex"), Doc()->GetFilename());
        EXPECT_EQ("two.hex - Corvane", Frame()->GetTitle());
        EXPECT_EQ(bytes, Probe().Bytes());
    }
};
} // namespace

// A failed open leaves image, path, title and view as they were, so a later Save cannot
// write an empty image over the file; it says why. Save writes the image as last read: edits
// made in the control stay in the control.
TEST_F(DocumentTest, FailedOpenKeepsTheImageThatSaveWrites)
{
    StartOn("two.hex", kTwo);
    m_dir.Write("nodata.hex", ":00000001FF\r\n");
    for (const char* pszName : {"absent.hex", "nodata.hex"})
    {
        m_log.m_messages.clear();
        EXPECT_EQ(nullptr,
                  TestApp().GetDocManager()->CreateDocument(m_dir.File(pszName), wxDOC_SILENT));
        EXPECT_EQ(1u, m_log.m_messages.size());
        ExpectShows(2, kFirst);
        EXPECT_FALSE(Doc()->IsModified());
    }
    Probe().Poke(1, 0xEE);
    m_dir.Write("two.hex", "");
    EXPECT_TRUE(Doc()->Save());
    EXPECT_EQ(HexText(kTwo), ReadFileText(m_dir.File("two.hex")));
    EXPECT_EQ(0xEE, Probe().Bytes()[1]);
}

// Reload reads the file as it is now, discarding edits made in the control, and the image
// shown before is let go of. A file that no longer holds data is reported and the image shown
// stays; Save then asks for a name instead of writing that image over the changed file, until
// the file is read again.
TEST_F(DocumentTest, ReloadReadsTheFileAsItIsNowOrSaysWhyNot)
{
    StartOn("two.hex", kTwo);
    Command(ID_VIEW_NEXT_SEGMENT);
    // the dump shows the image's own bytes: they outlive the document's letting go of them
    const std::weak_ptr<const void> pShown = Doc()->GetImageOwner();
    Doc()->DeleteContents();
    EXPECT_EQ(std::vector<uint8_t>({0xA0, 0xA1, 0xA2}), Probe().Bytes());
    Probe().Poke(0, 0xEE);
    const std::vector<uint8_t> seven = {1, 2, 3, 4, 5, 6, 7};
    for (const std::string& strText : {HexText({{0x0300, seven}}), std::string("garbage\n")})
    {
        m_dir.Write("two.hex", strText);
        Command(ID_FILE_RELOAD);
        EXPECT_EQ(0, View()->GetSegmentIndex());
        ExpectShows(1, seven);
    }
    EXPECT_EQ(1u, m_log.m_messages.size());
    EXPECT_TRUE(pShown.expired());
    // the Save As dialog, answered without showing it, gives no name
    CDialogCapture dialogs;
    EXPECT_FALSE(Doc()->Save());
    EXPECT_EQ("garbage\n", ReadFileText(m_dir.File("two.hex")));
    m_dir.Write("two.hex", HexText(kTwo));
    EXPECT_EQ(Doc(), TestApp().GetDocManager()->CreateDocument(m_dir.File("two.hex"), 0));
    EXPECT_TRUE(Doc()->Save());
    EXPECT_EQ(1u, dialogs.m_seen.size());
}

// Opening another file asks once about unsaved changes.
TEST_F(DocumentTest, OpenAsksAboutChangesOnce)
{
    StartOn("two.hex", kTwo);
    Doc()->Modify(true);
    CDialogCapture dialogs;
    EXPECT_EQ(nullptr, TestApp().GetDocManager()->CreateDocument(m_dir.File("absent.hex"), 0));
    EXPECT_EQ(1u, dialogs.m_seen.size());
    Doc()->Modify(false);
}

// New empties the one document and its control; a save then writes the end record alone.
// A save that fails says so.
TEST_F(DocumentTest, NewEmptiesTheDocumentAndFailedSavesAreReported)
{
    StartOn("two.hex", kTwo);
    ASSERT_EQ(Doc(), TestApp().GetDocManager()->CreateDocument("", wxDOC_NEW));
    EXPECT_EQ(0, Ctrl().GetDataLength());
    EXPECT_EQ("Untitled - Corvane", Title());
    EXPECT_FALSE(Doc()->GetDocumentSaved());
    std::vector<std::string> expected;
    for (const std::string& strPath :
         {m_dir.File("new.hex"), m_dir.File("no folder/new.hex"), std::string("/dev/full")})
    {
        const bool bSaved = strPath == m_dir.File("new.hex");
        EXPECT_EQ(bSaved, Doc()->OnSaveDocument(strPath)) << strPath;
        if (!bSaved)
            expected.push_back("Failed to save document to the file \"" + strPath + "\".");
    }
    EXPECT_EQ(":00000001FF\r\n", ReadFileText(m_dir.File("new.hex")));
    EXPECT_EQ(expected, m_log.m_messages);
    EXPECT_TRUE(Doc()->GetDocumentSaved());
}

wxApp* CreateTestApp()
{
    return new CTestApp;
}
