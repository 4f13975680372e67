// Printing: the printed line text, the dump lines on a page, the printer font rule,
// pagination and the page header, read back from PostScript output.
#include "CorvanePrintout.h"
#include "Profile.h"
#include "Resource.h"
#include "ViewTestSupport.h"

#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/print.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>

namespace
{
using Pages = std::vector<std::vector<std::string>>;
const std::string kBlanks(64, ' ');
// 20 bytes 00..13 at word address 0x100, as printed (the second line pads its pieces)
const std::string kLine1 = "00000100  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F   " +
                           std::string(16, '.') + "  ";
const std::string kLine2 = "00000110  10 11 12 13 " + kBlanks.substr(0, 36 + 2) + "...." +
                           kBlanks.substr(0, 12 + 2);

std::vector<uint8_t> Sequence(int nCount)
{
    std::vector<uint8_t> bytes(nCount);
    for (int i = 0; i < nCount; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

// The texts drawn on each page, in drawing order: header, date, then the dump lines.
Pages ReadPages(const std::string& strPath)
{
    const std::string strPs = ReadFileText(strPath);
    static const std::regex text(R"(%%Page:|\(((?:[^\\)]|\\.)*)\) \(\\n\) strsplit)");
    static const std::regex escape(R"(\\(.))");
    Pages pages;
    for (std::sregex_iterator it(strPs.begin(), strPs.end(), text), end; it != end; ++it)
        if ((*it)[0] == "%%Page:")
            pages.emplace_back();
        else
            pages.back().push_back(std::regex_replace((*it)[1].str(), escape, "$1"));
    return pages;
}

class PrintTest : public CDocViewTest
{
protected:
    void Open(int nBytes, int nWordLenCommand = ID_VIEW_BYTES)
    {
        StartOn("dump.hex", {{0, Sequence(nBytes)}});
        Command(nWordLenCommand);
    }
    // Runs the pages as the toolkit's print loop does; gives how many were printed.
    int RunJob(wxDC& dc, wxSize page, bool bPreview = false)
    {
        wxPrintout* pPrintout = m_pView->OnCreatePrintout();
        // a preview owns its printout and ends with it
        std::unique_ptr<wxPrintPreview> pPreview(bPreview ? new wxPrintPreview(pPrintout) : nullptr);
        std::unique_ptr<wxPrintout> pOwned(bPreview ? nullptr : pPrintout);
        pPrintout->SetDC(&dc);
        pPrintout->SetPageSizePixels(page.x, page.y);
        pPrintout->OnPreparePrinting();
        int nMin = 0, nMax = 0, nFrom = 0, nTo = 0, nPage = 0;
        pPrintout->GetPageInfo(&nMin, &nMax, &nFrom, &nTo);
        for (nPage = nMin; nPage <= nMax && pPrintout->HasPage(nPage); ++nPage)
        {
            dc.StartPage();
            pPrintout->OnPrintPage(nPage);
            dc.EndPage();
        }
        pPrintout->OnEndPrinting();
        return nPage - nMin;
    }
    // On a PostScript context: the texts of each page.
    Pages Print(wxSize page, const std::string& strName = "job.ps")
    {
        wxPrintData data;
        data.SetFilename(m_dir.File(strName));
        data.SetPrintMode(wxPRINT_MODE_FILE);
        wxPostScriptDC dc(data);
        dc.StartDoc("job");
        RunJob(dc, page);
        dc.EndDoc();
        return ReadPages(m_dir.File(strName));
    }
    static wxSize PageOfLines(int nLines, int nChars) { return {nChars * 20, (nLines + 2) * 21}; }
};
} // namespace

TEST(PrintLineText, PiecesAndPaddingAsPrinted)
{
    const std::vector<uint8_t> bytes = {0x34, 0x12, 0x78, 0x26};
    const auto P = CHexLayout::LINE_PRINT, S = CHexLayout::LINE_SCREEN;
    // word length, bytes per line, byte order, address digits, bytes, base, style; text
    const std::tuple<int, int, int, int, int, uint32_t, CHexLayout::ELineStyle, std::string>
        kCases[] = {
            {2, 4, 1, 8, 4, 0, P, "00000000  1234 2678   4.x&  "}, // last byte first
            {2, 4, 0, 8, 3, 0, P, "00000000  3412 78     4.x   "}, // partial word and line
            {2, 4, 1, 8, 3, 0, P, "00000000  1234   78   4.x   "},
            {1, 4, 0, 4, 1, 0x12345, P, "12345  34            4     "}, // every digit printed
            {1, 4, 0, 4, 1, 0x12345, S, "2345 34          4   "},        // the column's digits
        };
    for (const auto& [nWordLen, nPerLine, nOrder, nDigits, nBytes, dwBase, style, strText] : kCases)
    {
        char szLine[CHexLayout::LINE_TEXT];
        const CHexLayout layout(nWordLen, nPerLine, nOrder, nDigits, true, true);
        const int n = layout.FormatLine(szLine, bytes.data(), nBytes, dwBase, 0, style);
        EXPECT_EQ(strText, std::string(szLine, n));
    }
}

TEST_F(PrintTest, PrintLinesStopsAtTheDataTheLineCountAndThePageBottom)
{
    StartOn("dump.hex", {{0x100, Sequence(20)}});
    // offset, most lines, page bottom beyond the first line's; lines drawn, offset after
    const int kCases[][5] = {{0, 9, 500, 2, 32}, {0, 0, 500, 0, 0},  {-16, 9, 500, 0, -16},
                             {32, 9, 500, 0, 32}, {0, 9, 0, 0, 0},   {0, 9, 1, 1, 16}};
    for (const auto& [nOffset, nMaxLines, nRoom, nLines, nAfter] : kCases)
    {
        wxPrintData data;
        data.SetFilename(m_dir.File("lines.ps"));
        wxPostScriptDC dc(data);
        dc.StartDoc("lines");
        dc.StartPage();
        dc.SetFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
        const int nLineHeight = dc.GetTextExtent("0123456789ABCDEF").y + 1;
        int nAt = nOffset;
        Ctrl().PrintLines(dc, &nAt, 50, nMaxLines, wxSize(4000, 50 + nLineHeight + nRoom));
        dc.EndPage();
        dc.EndDoc();
        const Pages pages = ReadPages(m_dir.File("lines.ps"));
        EXPECT_EQ(nAfter, nAt) << nOffset << " " << nMaxLines << " " << nRoom;
        ASSERT_EQ(size_t(nLines), pages.at(0).size());
        for (int i = 0; i < nLines; ++i)
            EXPECT_EQ(i == 0 ? kLine1 : kLine2, pages[0][i]);
    }
}

TEST_F(PrintTest, FontRuleOnPrinterPages)
{
    // page, word length command; characters per line, dump lines per page
    const std::tuple<wxSize, int, int, int> kCases[] = {{{4960, 7016}, ID_VIEW_BYTES, 88, 77},
                                                        {{4960, 7016}, ID_VIEW_WORD32, 128, 89},
                                                        {{4960, 60}, ID_VIEW_BYTES, 88, 2}};
    for (const auto& [page, nCommand, nChars, nLines] : kCases)
    {
        Open(100, nCommand);
        Print(page);
        EXPECT_EQ(nChars, CCorvaneView::PrintCharsPerLine(Ctrl().GetBytesPerLine(),
                                                           m_pView->m_nWordLen));
        EXPECT_EQ(nLines, m_pView->m_nPrintLinesPerPage);
        TearDown();
    }
}

// A preview draws on a bitmap a tenth of the page: the page still holds 77 lines.
TEST_F(PrintTest, PreviewLaysOutInPrinterPixels)
{
    Open(2000);
    wxBitmap bitmap(496, 702, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        EXPECT_EQ(2, RunJob(dc, wxSize(4960, 7016), true));
    }
    EXPECT_EQ(77, m_pView->m_nPrintLinesPerPage);
    EXPECT_EQ(2000, m_pView->m_nPrintOffset);
    EXPECT_FALSE(m_pView->m_bPrintFontCreated);
    const wxImage image = bitmap.ConvertToImage();
    const auto Inked = [&image](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (image.GetGreen(x, y) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(Inked(0, 620, 496, 690));   // the first page's last lines
    EXPECT_FALSE(Inked(400, 0, 496, 702)); // nothing beyond a dump line's width
}

TEST_F(PrintTest, PagesAndTheirDumpLines)
{
    // bytes on a page of 40 lines; dump lines on each page printed
    const std::pair<int, std::vector<size_t>> kCases[] = {
        {650, {40, 1}}, {20, {2}}, {5, {1}}, {0, {0}}};
    for (const auto& [nBytes, lines] : kCases)
    {
        nBytes ? Open(nBytes) : Start("");
        const Pages pages = Print(PageOfLines(40, 88));
        ASSERT_EQ(lines.size(), pages.size()) << nBytes;
        for (size_t i = 0; i < pages.size(); ++i)
            EXPECT_EQ(lines[i] + 2, pages[i].size()) << nBytes;
        TearDown();
    }
}

// The count comes from this printer's page, not from the previous job's lines per page.
TEST_F(PrintTest, SecondJobOnSmallerPagesPrintsEverything)
{
    Open(650);
    EXPECT_EQ(1u, Print({4960, 7016}).size());
    EXPECT_EQ(2u, Print(PageOfLines(40, 88), "again.ps").size());
}

TEST_F(PrintTest, HeaderShowsTitleWordOffsetAndDate)
{
    Open(3000, ID_VIEW_WORD16);
    const Pages pages = Print(PageOfLines(40, 136));
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ("dump.hex 0x0500", pages[2][0]);
    EXPECT_TRUE(std::regex_match(pages[2][1], std::regex(R"(\d\d\.\d\d\.\d{4} \(\d\d:\d\d\))")));
}

// An empty view whose stored word length is 0 prints its header page without dividing.
TEST_F(PrintTest, EmptyViewWithAStoredWordLengthOfZero)
{
    WriteProfileInt("view", "wordlen", 0);
    Start("");
    ASSERT_EQ(0, m_pView->m_nWordLen);
    EXPECT_EQ("Untitled 0x0000", Print({4960, 7016}).at(0).at(0));
}

// With CORVANE_PRINT_SAMPLE set, one page of a fixture is kept there as PostScript.
TEST_F(PrintTest, FixturePage)
{
    Start(DataFile("firmware.hex"));
    Command(ID_VIEW_NEXT_SEGMENT);
    const Pages pages = Print({4958, 7008});
    ASSERT_EQ(1u, pages.size());
    if (const char* pszSample = std::getenv("CORVANE_PRINT_SAMPLE"))
        std::ofstream(pszSample) << ReadFileText(m_dir.File("job.ps"));
}
