// Printing: the printed line text, the printer font rule, pagination and the page header,
// read back from PostScript output.
#include "AppTestSupport.h"
#include "CorvanePrintout.h"

#include <wx/dcmemory.h>
#include <wx/dcps.h>
#include <wx/imagpng.h>
#include <wx/print.h>

#include <fstream>
#include <numeric>
#include <regex>

namespace
{
// A text drawn into PostScript and where it starts, in points from the sheet's bottom left.
struct CText
{
    double m_dX, m_dY;
    std::string m_str;
};
// Each page: its dump lines, then the header and the date.
using Pages = std::vector<std::vector<CText>>;

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
    // Runs the pages as the toolkit's print loop does (a preview owns its printout) on a page
    // of 600 pixels per inch that the printer reports as the whole sheet, or within rcPaper.
    CPrintInfo RunJob(wxDC& dc, wxSize page, bool bPreview = false, wxRect rcPaper = {})
    {
        auto* pPrintout = static_cast<CCorvanePrintout*>(View()->OnCreatePrintout());
        std::unique_ptr<wxObject> pOwner(
            bPreview ? static_cast<wxObject*>(new wxPrintPreview(pPrintout)) : pPrintout);
        pPrintout->SetDC(&dc);
        pPrintout->SetPageSizePixels(page.x, page.y);
        pPrintout->SetPaperRectPixels(rcPaper.IsEmpty() ? wxRect(page) : rcPaper);
        pPrintout->SetPPIPrinter(600, 600);
        pPrintout->OnPreparePrinting();
        // a preview draws the page it shows without asking for it
        for (int nPage = 1; bPreview ? nPage == 1 : pPrintout->HasPage(nPage); ++nPage)
        {
            dc.StartPage();
            pPrintout->OnPrintPage(nPage);
            dc.EndPage();
        }
        pPrintout->OnEndPrinting();
        return pPrintout->GetInfo();
    }
    // The texts drawn on each page of a job into PostScript.
    Pages Print(wxSize page, wxRect rcPaper = {})
    {
        wxPrintData data;
        data.SetFilename(m_dir.File("job.ps"));
        data.SetPrintMode(wxPRINT_MODE_FILE);
        wxPostScriptDC dc(data);
        dc.StartDoc("job");
        m_info = RunJob(dc, page, false, rcPaper);
        dc.EndDoc(); // and closes the file
        m_strPs = ReadFileText(m_dir.File("job.ps"));
        const std::string& strPs = m_strPs;
        static const std::regex text(
            R"(%%Page:|(\S+) (\S+) moveto\n\(((?:[^\\)]|\\.)*)\) \(\\n\) strsplit)");
        Pages pages;
        for (std::sregex_iterator it(strPs.begin(), strPs.end(), text), end; it != end; ++it)
            if ((*it)[0] == "%%Page:")
                pages.emplace_back();
            else
                pages.back().push_back(
                    {std::stod((*it)[1]), std::stod((*it)[2]),
                     std::regex_replace((*it)[3].str(), std::regex(R"(\\(.))"), "$1")});
        return pages;
    }
    // The first page of a preview on an A4 sheet of 600 pixels per inch, drawn at 100.
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
    std::string m_strPs;
};

bool IsInked(const wxImage& image, const wxRect& rect)
{
    const wxImage part = image.GetSubImage(rect);
    const unsigned char* p = part.GetData();
    return std::any_of(p, p + rect.width * rect.height * 3, [](auto c) { return c < 128; });
}
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

// The area inside the margins, in printer pixels at 600 per inch (6.35 mm are 150).
TEST(PrintMargins, InsideThePrintableAreaAndTheSheet)
{
    const wxSize kA4(4960, 7016);
    const struct
    {
        const char* m_pszName;
        wxRect m_rcPaper;
        wxSize m_printable;
        wxRect m_rcArea;
    } kCases[] = {
        {"the whole sheet (a file)", wxRect(kA4), kA4, {150, 150, 4660, 6716}},
        {"no sheet reported", {}, kA4, {150, 150, 4660, 6716}},
        {"printer margins narrower", {-100, -60, 4960, 7016}, {4760, 6896}, {50, 90, 4660, 6716}},
        {"printer margins wider", {-200, -200, 4960, 7016}, {4560, 6616}, {0, 0, 4560, 6616}},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.m_rcArea, CCorvanePrintout::MarginRect(c.m_rcPaper, c.m_printable, {600, 600}))
            << c.m_pszName;
}

// Nothing within 6.35 mm of the sheet's edge (25 pixels at 100 per inch); the dump reaches
// the right and the bottom of the area inside. scripts/render-print-page.sh keeps the page
// (CORVANE_PRINT_SAMPLE) for docs/.
TEST_F(PrintTest, PreviewFillsTheAreaInsideTheMargins)
{
    Open(2000);
    wxImage image = Preview();
    EXPECT_FALSE(IsInked(image, {0, 0, 25, 1169}));
    EXPECT_FALSE(IsInked(image, {802, 0, 25, 1169}));
    EXPECT_FALSE(IsInked(image, {0, 0, 827, 25}));
    EXPECT_FALSE(IsInked(image, {0, 1144, 827, 25}));
    EXPECT_TRUE(IsInked(image, {770, 60, 32, 1000}));
    EXPECT_TRUE(IsInked(image, {25, 1110, 100, 34}));
    if (const char* pszSample = std::getenv("CORVANE_PRINT_SAMPLE"))
    {
        wxImage::AddHandler(new wxPNGHandler);
        image.SetOption(wxIMAGE_OPTION_PNG_FORMAT, wxPNG_TYPE_GREY_RED);
        image.SaveFile(pszSample, wxBITMAP_TYPE_PNG);
    }
}

// Glyphs the font lacks come out as many times too tall as a context is scaled down to
// printer pixels: the header keeps to its line, so the first dump line looks as under a plain name.
TEST_F(PrintTest, HeaderKeepsToItsLine)
{
    std::vector<wxImage> images;
    for (const char* pszName : {"dump.hex", "\xe5\x90\x8d\xe5\x89\x8d.hex"})
    {
        StartOn(pszName, {{0x100, std::vector<uint8_t>(40, 0x41)}});
        images.push_back(Preview());
        TearDown();
    }
    const int nTop = (150 + m_info.m_nLineHeight) / 6 + 1,
              nBottom = (150 + 3 * m_info.m_nLineHeight) / 6;
    const wxRect rcBand(0, nTop, 827, nBottom - nTop + 2);
    EXPECT_TRUE(IsInked(images[1], rcBand));
    const wxImage plain = images[0].GetSubImage(rcBand), named = images[1].GetSubImage(rcBand);
    EXPECT_TRUE(std::equal(plain.GetData(), plain.GetData() + 3 * rcBand.width * rcBand.height,
                           named.GetData()));
}

// Each job on a large page, then on one of 40 lines. An empty view whose stored word length
// is 0 prints its header page without dividing.
TEST_F(PrintTest, JobsOfPagesAndDumpLines)
{
    WriteProfileInt("view", "wordlen", 0);
    const wxSize kA4(4960, 7016), k40Lines(4960, 5400), k40LinesWord2(4960, 3440);
    // bytes, word length command, page; lines per page, dump lines on each page, header
    // of the last page
    const std::tuple<int, int, wxSize, int, std::vector<size_t>, std::string> kCases[] = {
        {0, 0, kA4, 31, {0}, "Untitled 0x0000"},
        {650, ID_VIEW_BYTES, k40Lines, 40, {40, 1}, "dump.hex 0x0280"},
        {3000, ID_VIEW_WORD16, k40LinesWord2, 40, {40, 40, 14}, "dump.hex 0x0500"},
        {100, ID_VIEW_WORD32, kA4, 83, {4}, "dump.hex 0x0000"},
        {40, ID_VIEW_BYTES, {4960, 360}, 2, {0, 0}, "dump.hex 0x0020"}};
    for (const auto& [nBytes, nCommand, page, nLinesPerPage, lines, strHeader] : kCases)
    {
        nBytes ? Open(nBytes, nCommand) : void(Start(""));
        const Pages pages = Print(page);
        EXPECT_EQ(nLinesPerPage, m_info.m_nLinesPerPage);
        std::vector<size_t> sizes;
        for (const auto& texts : pages)
            sizes.push_back(texts.size() - 2);
        ASSERT_EQ(lines, sizes) << nBytes;
        const auto& last = pages.back();
        EXPECT_EQ(strHeader, last[last.size() - 2].m_str);
        EXPECT_TRUE(
            std::regex_match(last.back().m_str, std::regex(R"(\d\d\.\d\d\.\d{4} \(\d\d:\d\d\))")));
        TearDown();
    }
}

// The two lines of 20 bytes at word address 0x100 and where they start: 18 points (6.35 mm)
// in on a sheet reported whole (a file), and at the printable area's left edge on a printer
// that reports margins wider than that.
TEST_F(PrintTest, FixturePages)
{
    ASSERT_TRUE(Start(DataFile("print-20.hex")));
    std::string strPages;
    for (const wxRect& rcPaper : {wxRect(0, 0, 4960, 7016), wxRect(-200, -200, 4960, 7016)})
    {
        const Pages pages = Print(rcPaper.GetSize() + 2 * wxSize(rcPaper.x, rcPaper.y), rcPaper);
        const std::vector<CText>& texts = pages.at(0);
        for (size_t i = 0; i + 2 < texts.size(); i++)
            strPages += wxString::Format("%.2f %s\n", texts[i].m_dX, texts[i].m_str);
        strPages += texts[texts.size() - 2].m_str + "\n";
    }
    EXPECT_EQ(ReadFileText(DataFile("print-20.txt")), strPages);
}
