// Printing: the printed line text, the margins, the font rule, pagination and the page
// header, read back from PostScript output and from a preview's pixels.
#include "AppTestSupport.h"
#include "CorvanePrintout.h"

#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/imagpng.h>
#include <wx/print.h>

#include <algorithm>
#include <regex>
#include <sstream>

namespace
{
// The texts drawn on each page: its dump lines, then the header and the date.
using Pages = std::vector<std::vector<std::string>>;

class PrintTest : public CAppRunTest
{
protected:
    // Bytes 00, 01, ... at word address 0x100.
    void Open(int nBytes, int nWordLenCommand = ID_VIEW_BYTES)
    {
        StartOn("dump.hex", {{0x100, Sequence(nBytes)}});
        Command(nWordLenCommand);
    }
    // Runs the job as the toolkit does on a sheet of 600 pixels per inch, none of it reported
    // unprintable; a preview owns its printout and draws its first page unasked.
    CPrintInfo RunJob(wxDC& dc, wxSize page, bool bPreview = false)
    {
        auto* pPrintout = static_cast<CCorvanePrintout*>(View()->OnCreatePrintout());
        std::unique_ptr<wxObject> pOwner(
            bPreview ? static_cast<wxObject*>(new wxPrintPreview(pPrintout)) : pPrintout);
        pPrintout->SetDC(&dc);
        pPrintout->SetPageSizePixels(page.x, page.y);
        pPrintout->SetPPIPrinter(600, 600);
        pPrintout->OnPreparePrinting();
        for (int nPage = 1; bPreview ? nPage == 1 : pPrintout->HasPage(nPage); ++nPage)
        {
            dc.StartPage();
            pPrintout->OnPrintPage(nPage);
            dc.EndPage();
        }
        pPrintout->OnEndPrinting();
        return pPrintout->GetInfo();
    }
    Pages Print(wxSize page)
    {
        wxPrintData data;
        data.SetFilename(m_dir.File("job.ps"));
        data.SetPrintMode(wxPRINT_MODE_FILE);
        wxPostScriptDC dc(data);
        dc.StartDoc("job");
        m_info = RunJob(dc, page);
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
    // The first page of a preview of an A4 sheet, drawn at 100 pixels per inch.
    wxImage Preview()
    {
        wxBitmap bitmap(827, 1169, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            m_info = RunJob(dc, wxSize(4960, 7016), true);
        }
        return bitmap.ConvertToImage();
    }

    CPrintInfo m_info;
};

// The smallest rectangle holding the dark pixels of rect.
wxRect InkBox(const wxImage& image, const wxRect& rect)
{
    wxRect box;
    for (int y = rect.y; y <= rect.GetBottom(); y++)
        for (int x = rect.x; x <= rect.GetRight(); x++)
            if (image.GetRed(x, y) < 128)
                box.Union(wxRect(x, y, 1, 1));
    return box;
}
} // namespace

// The rows of tables/print-lines.txt.
TEST(PrintLineText, PiecesAndPaddingAsPrinted)
{
    const uint8_t kBytes[] = {0x34, 0x12, 0x78, 0x26};
    for (CRow row : ReadTable("tables/print-lines.txt"))
    {
        int nWordLen = 0, nOrder = 0, nDigits = 0, nBytes = 0;
        uint32_t dwBase = 0;
        std::istringstream(row.at(0)) >> nWordLen >> nOrder >> nDigits >> nBytes >> dwBase;
        std::replace(row.at(1).begin(), row[1].end(), '_', ' ');
        char szLine[CHexLayout::LINE_TEXT];
        const CHexLayout layout(nWordLen, 4, nOrder, nDigits, true, true);
        EXPECT_EQ(row[1], std::string(szLine, layout.FormatLine(szLine, kBytes, nBytes, dwBase, 0,
                                                                CHexLayout::LINE_PRINT)));
    }
}

// The area inside the margins, in printer pixels at 600 per inch (6.35 mm are 150).
TEST(PrintMargins, InsideThePrintableAreaAndTheSheet)
{
    const wxSize kA4(4960, 7016);
    // sheet as the printer reports it, printable area; area inside the margins
    const std::tuple<wxRect, wxSize, wxRect> kCases[] = {
        {wxRect(kA4), kA4, {150, 150, 4660, 6716}},                    // the whole sheet (a file)
        {{-100, -60, 4960, 7016}, {4760, 6896}, {50, 90, 4660, 6716}}, // narrower margins
        {{-200, -200, 4960, 7016}, {4560, 6616}, {0, 0, 4560, 6616}},  // wider margins
    };
    for (const auto& [rcPaper, printable, rcArea] : kCases)
        EXPECT_EQ(rcArea, CCorvanePrintout::MarginRect(rcPaper, printable, {600, 600}))
            << rcPaper.x;
}

// Nothing within 6.35 mm of the sheet's edge (25 pixels at 100 per inch); the dump reaches
// the right and the bottom of the area inside. scripts/render-print-page.sh keeps the page
// (CORVANE_PRINT_SAMPLE) for docs/.
TEST_F(PrintTest, PreviewFillsTheAreaInsideTheMargins)
{
    Open(2000);
    wxImage image = Preview();
    const wxRect ink = InkBox(image, wxRect(image.GetSize()));
    EXPECT_TRUE(wxRect(25, 25, 777, 1119).Contains(ink));
    EXPECT_GT(ink.GetRight(), 770);
    EXPECT_GT(ink.GetBottom(), 1110);
    if (const char* pszSample = std::getenv("CORVANE_PRINT_SAMPLE"))
    {
        wxImage::AddHandler(new wxPNGHandler);
        image.SetOption(wxIMAGE_OPTION_PNG_FORMAT, wxPNG_TYPE_GREY_RED);
        image.SaveFile(pszSample, wxBITMAP_TYPE_PNG);
    }
}

// Glyphs the font lacks come out as many times too tall as a context is scaled down to
// printer pixels: the header keeps to its line, so the first dump line looks as under a plain
// name, and the title's word offset stays on the line's baseline.
TEST_F(PrintTest, HeaderKeepsToItsLine)
{
    std::vector<wxImage> images;
    for (const char* pszName : {"dump.hex", "\xe5\x90\x8d\xe5\x89\x8d.hex"})
    {
        StartOn(pszName, {{0x100, std::vector<uint8_t>(40, 0x41)}});
        images.push_back(Preview());
        TearDown();
    }
    const int nHeader = (150 + m_info.m_nLineHeight) / 6;
    const wxRect rcHeader(0, 25, 827, nHeader - 25), rcBand(0, nHeader + 1, 827, nHeader);
    const wxImage plain = images[0].GetSubImage(rcBand), named = images[1].GetSubImage(rcBand);
    EXPECT_TRUE(std::equal(plain.GetData(), plain.GetData() + 3 * 827 * nHeader, named.GetData()));
    EXPECT_GE(InkBox(images[1], rcHeader).GetRight(), InkBox(images[0], rcHeader).GetRight());
}

// Each job gets its lines per page from its own page. An empty view whose stored word length
// is 0 prints its header page without dividing.
TEST_F(PrintTest, JobsOfPagesAndDumpLines)
{
    WriteProfileInt("view", "wordlen", 0);
    // pages of 40 lines for 16 and for 32 bytes per line
    const wxSize kA4(4960, 7016), k40Lines(4960, 5400), k40LinesWord2(4960, 3440);
    // bytes, word length command, page; lines per page, dump lines on each page, header
    // of the last page
    const std::tuple<int, int, wxSize, int, std::vector<size_t>, std::string> kCases[] = {
        {0, 0, kA4, 31, {0}, "Untitled 0x0000"},
        {650, ID_VIEW_BYTES, k40Lines, 40, {40, 1}, "dump.hex 0x0280"},
        {3000, ID_VIEW_WORD16, k40LinesWord2, 40, {40, 40, 14}, "dump.hex 0x0500"},
        {100, ID_VIEW_WORD32, kA4, 83, {4}, "dump.hex 0x0000"},
        {40, ID_VIEW_BYTES, {4960, 360}, 2, {0, 0}, "dump.hex 0x0020"},
        {40, ID_VIEW_BYTES, {INT_MAX, INT_MAX}, 536734, {3}, "dump.hex 0x0000"}};
    // a page billions of pixels wide asks the fitting rule for no size the toolkit refuses
    const wxAssertHandler_t pfnOld =
        wxSetAssertHandler([](const wxString&, int, const wxString&, const wxString& strCond,
                              const wxString&) { ADD_FAILURE() << strCond; });
    for (const auto& [nBytes, nCommand, page, nLinesPerPage, lines, strHeader] : kCases)
    {
        nBytes ? Open(nBytes, nCommand) : void(Start(""));
        const Pages pages = Print(page);
        EXPECT_EQ(nLinesPerPage, m_info.m_nLinesPerPage);
        std::vector<size_t> sizes;
        for (const auto& texts : pages)
            sizes.push_back(texts.size() - 2);
        ASSERT_EQ(lines, sizes) << nBytes;
        EXPECT_EQ(strHeader, pages.back().end()[-2]);
        EXPECT_TRUE(
            std::regex_match(pages[0].back(), std::regex(R"(\d\d\.\d\d\.\d{4} \(\d\d:\d\d\))")));
        TearDown();
    }
    wxSetAssertHandler(pfnOld);
}

// The two lines of 20 bytes at word address 0x100: the second pads its pieces to the full
// columns.
TEST_F(PrintTest, FixturePage)
{
    ASSERT_TRUE(Start(DataFile("print-20.hex")));
    const Pages pages = Print({4960, 7016});
    std::string strLines;
    for (size_t i = 0; i + 2 < pages.at(0).size(); i++)
        strLines += pages[0][i] + "\n";
    EXPECT_EQ(ReadFileText(DataFile("print-20.txt")), strLines);
}
