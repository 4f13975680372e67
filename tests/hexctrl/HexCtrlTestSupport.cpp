#include "HexCtrlTestSupport.h"

#include <wx/dcmemory.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <sstream>

namespace
{
const int FIRST_CHAR = 0x20;
const int CHAR_COUNT = 0x7F - FIRST_CHAR;

wxColour Background()
{
    return wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
}

wxColour Pixel(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
} // namespace

CScreenReader::CScreenReader(const wxImage& image, const wxFont& font, wxSize cell)
    : m_image(image), m_cell(cell)
{
    std::string strAll;
    for (int i = 0; i < CHAR_COUNT; ++i)
        strAll += static_cast<char>(FIRST_CHAR + i);
    wxBitmap strip(cell.x * CHAR_COUNT, cell.y, 24);
    wxMemoryDC dc(strip);
    dc.SetFont(font);
    dc.SetBackground(wxBrush(Background()));
    dc.Clear();
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(strAll, 0, 0);
    dc.SelectObject(wxNullBitmap);
    m_glyphs = strip.ConvertToImage();
}

char CScreenReader::At(int nCol, int nRow) const
{
    char chBest = '?';
    long nBest = LONG_MAX;
    for (int i = 0; i < 2 * CHAR_COUNT; ++i)
    {
        // glyphs drawn normally, then inverted as under the caret; black on grey needs one channel
        const int nGlyph = i % CHAR_COUNT;
        long nSum = 0;
        for (int y = 0; y < m_cell.y; ++y)
            for (int x = 0; x < m_cell.x; ++x)
            {
                const int nScreen = m_image.GetGreen(nCol * m_cell.x + x, nRow * m_cell.y + y);
                const int nGlyphGrey = m_glyphs.GetGreen(nGlyph * m_cell.x + x, y);
                nSum += std::abs(nScreen - (i < CHAR_COUNT ? nGlyphGrey : 255 - nGlyphGrey));
            }
        if (nSum < nBest)
            nBest = nSum, chBest = static_cast<char>(FIRST_CHAR + nGlyph);
    }
    return chBest;
}

std::string CScreenReader::Text(int nCol, int nRow, int nCount) const
{
    std::string str;
    for (int i = 0; i < nCount; ++i)
        str += At(nCol + i, nRow);
    return str;
}

// An inverted cell shows more of the background's complement than of the background.
std::string CScreenReader::InvertedCells(int nRow) const
{
    const wxColour bg = Background();
    const wxColour inverse(255 - bg.Red(), 255 - bg.Green(), 255 - bg.Blue());
    std::string str;
    for (int nCol = 0; nCol < m_image.GetWidth() / m_cell.x; ++nCol)
    {
        int nBalance = 0;
        for (int y = nRow * m_cell.y; y < std::min((nRow + 1) * m_cell.y, m_image.GetHeight()); ++y)
            for (int x = nCol * m_cell.x; x < (nCol + 1) * m_cell.x; ++x)
                nBalance += Pixel(m_image, x, y) == inverse ? 1
                            : Pixel(m_image, x, y) == bg    ? -1
                                                            : 0;
        if (nBalance > 0)
            str += (str.empty() ? "" : ",") + std::to_string(nCol);
    }
    return str;
}

bool CScreenReader::IsBlankRow(int nRow) const
{
    const int nBottom = std::min((nRow + 1) * m_cell.y, m_image.GetHeight());
    for (int y = nRow * m_cell.y; y < nBottom; ++y)
        for (int x = 0; x < m_image.GetWidth(); ++x)
            if (Pixel(m_image, x, y) != Background())
                return false;
    return true;
}

void CHexCtrlTest::SetUp()
{
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "hex");
    m_pFrame->SetClientSize(1000, 900);
    // a panel fills the frame, so the control keeps the size each test gives it
    m_pCtrl = new CHexEditCtrl;
    ASSERT_TRUE(m_pCtrl->Create("hexEd", 0, wxRect(0, 0, 900, 100), new wxPanel(m_pFrame), 1000));
    m_pCtrl->SetAddressDigits(8);
    m_pFrame->Show();
    wxTheApp->Yield(true);
    wxBitmap probe(1, 1, 24);
    wxMemoryDC dc(probe);
    dc.SetFont(P().Font());
    dc.GetTextExtent("0", &m_nCellWidth, &m_nLineHeight);
}

void CHexCtrlTest::TearDown()
{
    delete m_pFrame;
    CHexEditCtrlProbe::SetMalloc(std::malloc);
    CHexEditCtrlProbe::SetCalloc(std::calloc);
}

void CHexCtrlTest::SetLines(int nLines, int nExtraPixels)
{
    m_pCtrl->SetClientSize(900, nLines * m_nLineHeight + nExtraPixels);
    wxTheApp->Yield(true);
}

void CHexCtrlTest::Load(const std::vector<unsigned char>& data, int nWordLen, int nBytesPerLine,
                        int nBase)
{
    m_pCtrl->SetAddressInfo(nBase, nWordLen);
    m_pCtrl->SetData(data.data(), static_cast<int>(data.size()));
    m_pCtrl->SetBytesPerLine(nBytesPerLine);
    Render();
}

CScreenReader CHexCtrlTest::Render()
{
    const wxSize size = m_pCtrl->GetClientSize();
    wxBitmap bitmap(size, 24);
    {
        wxMemoryDC dc(bitmap);
        m_pCtrl->RenderTo(dc, size);
    }
    return CScreenReader(bitmap.ConvertToImage(), P().Font(), wxSize(m_nCellWidth, m_nLineHeight));
}

void CHexCtrlTest::Run(const std::string& strScript)
{
    static const std::map<std::string, int> kKeys = {
        {"L", 37},  {"R", 39},  {"U", 38},  {"D", 40},   {"H", 36},  {"E", 35},
        {"PU", 33}, {"PD", 34}, {"TAB", 9}, {"INS", 45}, {"DEL", 46}};
    std::istringstream in(strScript);
    for (std::string strStep; in >> strStep;)
    {
        int a = 0, b = 0;
        const char* pszArgs = strStep.c_str() + strStep.find_first_not_of("+@~!=TvW'#^");
        std::sscanf(pszArgs, "%d,%d", &a, &b);
        const int x = a * m_nCellWidth + m_nCellWidth / 2,
                  y = b * m_nLineHeight + m_nLineHeight / 2;
        const std::string strKey = strStep.substr(strStep.find_first_not_of("SC"));
        const size_t nPrefix = strStep.size() - strKey.size();
        if (kKeys.count(strKey) != 0)
            P().Key(kKeys.at(strKey), strStep.find('S') < nPrefix, strStep.find('C') < nPrefix);
        else if (strStep[0] == '\'')
            P().Char(static_cast<unsigned char>(strStep[1]));
        else if (strStep[0] == '#' || strStep[0] == '^')
            P().Char(a, strStep[0] == '^');
        else if (strStep[0] == '@' || strStep[0] == '+')
            P().Down(x, y, strStep[0] == '+');
        else if (strStep[0] == '~')
            P().Move(x, y);
        else if (strStep[0] == '!')
            P().Up(x, y);
        else if (strStep[0] == '=')
            P().CaretField() = b, P().PlaceCaret(a);
        else if (strStep[0] == 'T')
            P().TopOffset() = a;
        else if (strStep[0] == 'v')
            P().VScroll(a, b);
        else if (strStep[0] == 'W')
            SetLines(a), Render();
        else
            ADD_FAILURE() << "unknown step " << strStep;
        EXPECT_TRUE(P().CaretPos() >= 0 && P().CaretPos() <= m_pCtrl->GetDataLength())
            << strStep << " left the caret on " << P().CaretPos();
    }
}

std::vector<unsigned char> Sequence(int nCount, int nFirst, int nStep)
{
    std::vector<unsigned char> data(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        data[static_cast<size_t>(i)] = static_cast<unsigned char>(nFirst + i * nStep);
    return data;
}

wxApp* CreateTestApp()
{
    return new wxApp;
}
