// Printing: the printed line text, the printer font rule, pagination and the page header,
// read back from PostScript output.
#include "AppTestSupport.h"
#include "CorvanePrintout.h"

#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/print.h>

#include <fstream>
#include <numeric>
#include <regex>

namespace
{
using Pages = std::vector<std::vector<std::string>>;

class PrintTest : public CAppRunTest
{
protected:
    // Bytes 00, 01, ... at word address 0x100.
    void Open(int nBytes, int nWordLenCommand = ID_VIEW_BYTES)
    {
        std::vector<uint8_t> bytes(nBytes);
        std::iota(bytes.begin(), bytes.end(), 0);
        StartOn("dump.hex", {{0x100, bytes}});
        Command(nWordLenCommand);
    }
    // Runs the pages as the toolkit's print loop does; a preview owns its printout.
    void RunJob(wxDC& dc, wxSize page, bool bPreview = false)
    {
        wxPrintout* pPrintout = View()->OnCreatePrintout();
        std::unique_ptr<wxObject> pOwner(
            bPreview ? static_cast<wxObject*>(new wxPrintPreview(pPrintout)) : pPrintout);
        pPrintout->SetDC(&dc);
        pPrintout->SetPageSizePixels(page.x, page.y);
        pPrintout->OnPreparePrinting();
        for (int nPage = 1; pPrintout->HasPage(nPage); ++nPage)
        {
            dc.StartPage();
            pPrintout->OnPrintPage(nPage);
            dc.EndPage();
        }
        pPrintout->OnEndPrinting();
    }
    // The texts drawn on each page of a job into PostScript: header, date, dump lines.
    Pages Print(wxSize page)
    {
        wxPrintData data;
        data.SetFilename(m_dir.File("job.ps"));
        data.SetPrintMode(wxPRINT_MODE_FILE);
        wxPostScriptDC dc(data);
        dc.StartDoc("job");
        RunJob(dc, page);
        dc.EndDoc(); // and closes the file
        const std::string strPs = ReadFileText(m_dir.File("job.ps"));
        static const std::regex text(R"(%%Page:|\(((?:[^\\)]|\\.)*)\) \(\\n\) strsplit)");
        Pages pages;
        for (std::sregex_iterator it(strPs.begin(), strPs.end(), text), end; it != end; ++it)
            if ((*it)[0] == "%%Page:")
                pages.emplace_back();
            else
                pages.back().push_back(
                    std::regex_replace((*it)[1].str(), std::regex(R"(\\(.))"), "$1"));
        return pages;
    }
};
} // namespace

TEST(PrintLineText, PiecesAndPaddingAsPrinted)
{
    const uint8_t kBytes[] = {0x34, 0x12, 0x78, 0x26};
    // word length, byte order, address digits, bytes, base; text with 4 bytes a line
    const std::tuple<int, int, int, int, uint32_t, std::string> kCases[] = {
        {2, 1, 8, 4, 0, "00000000  1234 2678   4.x&  "}, // last byte first
        {2, 0, 8, 3, 0, "00000000  3412 78     4.x   "}, // partial word and line
        {2, 1, 8, 3, 0, "00000000  1234   78   4.x   "},
        {1, 0, 4, 1, 0x12345, "12345  34            4     "}, // every digit printed
    };
    for (const auto& [nWordLen, nOrder, nDigits, nBytes, dwBase, strText] : kCases)
    {
        char szLine[CHexLayout::LINE_TEXT];
        const CHexLayout layout(nWordLen, 4, nOrder, nDigits, true, true);
        EXPECT_EQ(strText, std::string(szLine, layout.FormatLine(szLine, kBytes, nBytes, dwBase, 0,
                                                                 CHexLayout::LINE_PRINT)));
    }
}

// A preview draws on a bitmap a tenth of the page: the page still holds 77 lines, drawn
// down to its bottom and no wider than a dump line; the printer font goes with the preview.
TEST_F(PrintTest, PreviewLaysOutInPrinterPixels)
{
    Open(2000);
    wxBitmap bitmap(496, 702, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        RunJob(dc, wxSize(4960, 7016), true);
    }
    EXPECT_EQ(77, View()->m_nPrintLinesPerPage);
    EXPECT_EQ(2000, View()->m_nPrintOffset);
    EXPECT_FALSE(View()->m_bPrintFontCreated);
    const wxImage image = bitmap.ConvertToImage();
    const auto inked = [&](const wxRect& rect)
    {
        const wxImage part = image.GetSubImage(rect);
        const unsigned char* p = part.GetData();
        return std::any_of(p, p + rect.width * rect.height * 3, [](auto c) { return c < 128; });
    };
    EXPECT_TRUE(inked({0, 620, 400, 70}));
    EXPECT_FALSE(inked({400, 0, 96, 702}));
}

// Each job follows one on a large page, so its page count comes from its own page. An
// empty view whose stored word length is 0 prints its header page without dividing.
TEST_F(PrintTest, JobsOfPagesAndDumpLines)
{
    WriteProfileInt("view", "wordlen", 0);
    // characters 20 pixels wide, lines 21 high: 40 lines and the 2 lines spared
    const wxSize kA4(4960, 7016), k40Lines(88 * 20, 42 * 21), k40LinesWord2(136 * 20, 42 * 21);
    // bytes, word length command, page; characters per line, lines per page, dump lines
    // on each page, header of the last page
    const std::tuple<int, int, wxSize, int, int, std::vector<size_t>, std::string> kCases[] = {
        {0, 0, kA4, 56, 76, {0}, "Untitled 0x0000"},
        {650, ID_VIEW_BYTES, k40Lines, 88, 40, {40, 1}, "dump.hex 0x0280"},
        {3000, ID_VIEW_WORD16, k40LinesWord2, 136, 40, {40, 40, 14}, "dump.hex 0x0500"},
        {100, ID_VIEW_WORD32, kA4, 128, 89, {4}, "dump.hex 0x0000"},
        {40, ID_VIEW_BYTES, {4960, 60}, 88, 2, {0, 0}, "dump.hex 0x0020"}};
    for (const auto& [nBytes, nCommand, page, nChars, nLinesPerPage, lines, strHeader] : kCases)
    {
        nBytes ? Open(nBytes, nCommand) : void(Start(""));
        Print(kA4);
        const Pages pages = Print(page);
        EXPECT_EQ(nChars,
                  CCorvaneView::PrintCharsPerLine(Ctrl().GetBytesPerLine(), View()->m_nWordLen));
        EXPECT_EQ(nLinesPerPage, View()->m_nPrintLinesPerPage);
        std::vector<size_t> sizes;
        for (const auto& texts : pages)
            sizes.push_back(texts.size() - 2);
        ASSERT_EQ(lines, sizes) << nBytes;
        EXPECT_EQ(strHeader, pages.back()[0]);
        EXPECT_TRUE(
            std::regex_match(pages[0][1], std::regex(R"(\d\d\.\d\d\.\d{4} \(\d\d:\d\d\))")));
        TearDown();
    }
}

// The two lines of 20 bytes at word address 0x100: the second pads its pieces to the full
// columns. scripts/render-print-page.sh keeps this page (CORVANE_PRINT_SAMPLE) for docs/.
TEST_F(PrintTest, FixturePage)
{
    ASSERT_TRUE(Start(DataFile("print-20.hex")));
    const Pages pages = Print({4958, 7008});
    std::string strLines;
    for (size_t i = 2; i < pages.at(0).size(); i++)
        strLines += pages[0][i] + "\n";
    EXPECT_EQ(ReadFileText(DataFile("print-20.txt")), strLines);
    if (const char* pszSample = std::getenv("CORVANE_PRINT_SAMPLE"))
        std::ofstream(pszSample) << ReadFileText(m_dir.File("job.ps"));
}
