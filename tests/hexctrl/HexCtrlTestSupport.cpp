#include "HexCtrlTestSupport.h"

#include <wx/dcmemory.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace
{
const int FIRST_CHAR = 0x20;
const int CHAR_COUNT = 0x7F - FIRST_CHAR;
// per pixel, between a cell drawn from the glyph cache and the same glyph drawn by the toolkit
const long kMaxMeanDifference = 12;
} // namespace

// The glyphs are drawn at the picture's scale, so each cell is nScale times the logical cell.
CScreenReader::CScreenReader(const wxImage& image, const wxFont& font, wxSize cell, int nScale)
    : m_image(image), m_cell(cell * nScale)
{
    wxBitmap strip;
    strip.CreateWithDIPSize(wxSize(cell.x * CHAR_COUNT, cell.y), nScale, 24);
    wxMemoryDC dc(strip);
    dc.SetFont(font);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    for (int i = 0; i < CHAR_COUNT; ++i)
        dc.DrawText(wxString(static_cast<char>(FIRST_CHAR + i)), i * cell.x, 0);
    dc.SelectObject(wxNullBitmap);
    m_glyphs = strip.ConvertToImage();
}

// Each cell is the glyph, drawn normally or inverted (text and background swapped), nearest to
// it; grey text on grey needs one channel.
std::string CScreenReader::Text(int nCol, int nRow, int nCount) const
{
    // a swapped pixel is as far from the text as the normal one is from the background
    const int nSwapped = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW).Green() +
                         wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT).Green();
    std::string str;
    for (int nCell = nCol; nCell < nCol + nCount; ++nCell)
    {
        long nBest = LONG_MAX;
        char chBest = '?';
        for (int i = 0; i < 2 * CHAR_COUNT; ++i)
        {
            long nSum = 0;
            for (int y = 0; y < m_cell.y; ++y)
                for (int x = 0; x < m_cell.x; ++x)
                {
                    const int nGlyph = m_glyphs.GetGreen(i % CHAR_COUNT * m_cell.x + x, y);
                    nSum += std::abs(m_image.GetGreen(nCell * m_cell.x + x, nRow * m_cell.y + y) -
                                     (i < CHAR_COUNT ? nGlyph : nSwapped - nGlyph));
                }
            if (nSum < nBest)
                nBest = nSum, chBest = static_cast<char>(FIRST_CHAR + i % CHAR_COUNT);
        }
        // a cell in other colours than the theme's reads as no character at all
        str += nBest <= kMaxMeanDifference * m_cell.x * m_cell.y ? chBest : '?';
    }
    return str;
}

// Pixels of the text colour (the caret's background) less pixels of the background in a cell.
int CScreenReader::Balance(int nCol, int nRow) const
{
    const wxColour bg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const wxColour fg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    int nBalance = 0;
    for (int y = nRow * m_cell.y; y < std::min((nRow + 1) * m_cell.y, m_image.GetHeight()); ++y)
        for (int x = nCol * m_cell.x; x < (nCol + 1) * m_cell.x; ++x)
        {
            const wxColour c(m_image.GetRed(x, y), m_image.GetGreen(x, y), m_image.GetBlue(x, y));
            nBalance += c == fg ? 1 : c == bg ? -1 : 0;
        }
    return nBalance;
}

std::string CScreenReader::InvertedCells(int nRow) const
{
    std::string str;
    for (int nCol = 0; nCol < m_image.GetWidth() / m_cell.x; ++nCol)
        if (Balance(nCol, nRow) > 0)
            str += (str.empty() ? "" : ",") + std::to_string(nCol);
    return str;
}

bool CScreenReader::IsBlankRow(int nRow) const
{
    const int nPixels =
        m_cell.x * (std::min((nRow + 1) * m_cell.y, m_image.GetHeight()) - nRow * m_cell.y);
    for (int nCol = 0; nCol < m_image.GetWidth() / m_cell.x; ++nCol)
        if (Balance(nCol, nRow) != -nPixels)
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
    // the caret shows while the control has the keyboard focus: the tests give and take it, and
    // other tests' windows on the same display must not
    m_pCtrl->Bind(wxEVT_SET_FOCUS, [](wxFocusEvent&) {});
    m_pCtrl->Bind(wxEVT_KILL_FOCUS, [](wxFocusEvent&) {});
    P().Focus(true);
    // the .scaled-dark run draws at twice the device pixels, or it tests nothing new
    const char* pszScale = std::getenv("GDK_SCALE");
    EXPECT_EQ(pszScale != nullptr ? std::atoi(pszScale) : 1, m_pCtrl->GetContentScaleFactor());
    wxBitmap probe(1, 1, 24);
    wxMemoryDC dc(probe);
    dc.SetFont(P().Font());
    dc.GetTextExtent("0", &m_nCellWidth, &m_nLineHeight);
}

void CHexCtrlTest::TearDown()
{
    delete m_pFrame;
    CHexEditCtrlProbe::SetAlloc(std::malloc);
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
    const int nScale = static_cast<int>(m_pCtrl->GetContentScaleFactor());
    wxBitmap bitmap;
    bitmap.CreateWithDIPSize(size, nScale, 24);
    {
        wxMemoryDC dc(bitmap);
        m_pCtrl->RenderTo(dc, size);
    }
    return CScreenReader(bitmap.ConvertToImage(), P().Font(), wxSize(m_nCellWidth, m_nLineHeight),
                         nScale);
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
        std::sscanf(strStep.c_str() + strStep.find_first_not_of("+@~!=TvW'#^"), "%d,%d", &a, &b);
        const int x = a * m_nCellWidth + m_nCellWidth / 2,
                  y = b * m_nLineHeight + m_nLineHeight / 2;
        const std::string strKey = strStep.substr(strStep.find_first_not_of("SC"));
        const size_t nPrefix = strStep.size() - strKey.size();
        const char ch = strStep[0];
        if (kKeys.count(strKey) != 0)
            P().Key(kKeys.at(strKey), strStep.find('S') < nPrefix, strStep.find('C') < nPrefix);
        else if (ch == '\'' || ch == '#' || ch == '^')
            P().Char(ch == '\'' ? static_cast<unsigned char>(strStep[1]) : a, ch == '^');
        else if (ch == '@' || ch == '+')
            P().Down(x, y, ch == '+');
        else if (ch == '~' || ch == '!')
            ch == '~' ? P().Move(x, y) : P().Up(x, y);
        else if (ch == '=')
            P().CaretField() = b, P().PlaceCaret(a);
        else if (ch == 'T' || ch == 'v')
            ch == 'T' ? void(P().TopOffset() = a) : P().VScroll(a, b);
        else if (ch == 'W')
            SetLines(a), Render();
        else if (ch == 'X')
        {
            wxMouseCaptureLostEvent lost(m_pCtrl->GetId());
            m_pCtrl->GetEventHandler()->ProcessEvent(lost);
        }
        else
            ADD_FAILURE() << "unknown step " << strStep;
        EXPECT_TRUE(P().CaretPos() >= 0 && P().CaretPos() <= m_pCtrl->GetDataLength())
            << strStep << " left the caret on " << P().CaretPos();
    }
}

wxApp* CreateTestApp()
{
    return new wxApp;
}
