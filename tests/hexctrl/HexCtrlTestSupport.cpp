#include "HexCtrlTestSupport.h"

#include <wx/dcmemory.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <algorithm>
#include <climits>

namespace
{
const int FIRST_CHAR = 0x20;
const int CHAR_COUNT = 0x7F - FIRST_CHAR;

wxColour Background()
{
    return wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
}
} // namespace

CScreenReader::CScreenReader(const wxImage& image, const wxFont& font) : m_image(image)
{
    std::string strAll;
    for (int i = 0; i < CHAR_COUNT; ++i)
        strAll += static_cast<char>(FIRST_CHAR + i);
    wxBitmap strip(1, 1, 24);
    {
        wxMemoryDC dcProbe(strip);
        dcProbe.SetFont(font);
        dcProbe.GetTextExtent("0", &m_nCellWidth, &m_nCellHeight);
    }
    strip = wxBitmap(m_nCellWidth * CHAR_COUNT, m_nCellHeight, 24);
    wxMemoryDC dc(strip);
    dc.SetFont(font);
    dc.SetBackground(wxBrush(Background()));
    dc.Clear();
    dc.SetTextForeground(*wxBLACK);
    dc.DrawText(strAll, 0, 0);
    dc.SelectObject(wxNullBitmap);
    m_glyphs = strip.ConvertToImage();
}

long CScreenReader::Distance(int nCol, int nRow, int nGlyph, bool bInverted) const
{
    long nSum = 0;
    for (int y = 0; y < m_nCellHeight; ++y)
        for (int x = 0; x < m_nCellWidth; ++x)
        {
            const unsigned char* pScreen =
                m_image.GetData() +
                ((nRow * m_nCellHeight + y) * m_image.GetWidth() + nCol * m_nCellWidth + x) * 3;
            const unsigned char* pGlyph =
                m_glyphs.GetData() + (y * m_glyphs.GetWidth() + nGlyph * m_nCellWidth + x) * 3;
            for (int c = 0; c < 3; ++c)
                nSum += std::abs(pScreen[c] - (bInverted ? 255 - pGlyph[c] : pGlyph[c]));
        }
    return nSum;
}

char CScreenReader::At(int nCol, int nRow) const
{
    char chBest = '?';
    long nBest = LONG_MAX;
    for (int i = 0; i < 2 * CHAR_COUNT; ++i)
    {
        const long n = Distance(nCol, nRow, i % CHAR_COUNT, i >= CHAR_COUNT);
        if (n < nBest)
            nBest = n, chBest = static_cast<char>(FIRST_CHAR + i % CHAR_COUNT);
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

int CScreenReader::Balance(int nCol, int nRow) const
{
    const wxColour bg = Background();
    const wxColour inverse(255 - bg.Red(), 255 - bg.Green(), 255 - bg.Blue());
    int nBalance = 0;
    for (int y = nRow * m_nCellHeight; y < (nRow + 1) * m_nCellHeight; ++y)
        for (int x = nCol * m_nCellWidth; x < (nCol + 1) * m_nCellWidth; ++x)
        {
            const wxColour px(m_image.GetRed(x, y), m_image.GetGreen(x, y), m_image.GetBlue(x, y));
            nBalance += px == inverse ? 1 : px == bg ? -1 : 0;
        }
    return nBalance;
}

// An inverted cell shows more of the background's complement than of the background.
std::string CScreenReader::InvertedCells(int nRow) const
{
    std::string str;
    for (int i = 0; i < m_image.GetWidth() / m_nCellWidth; ++i)
        if (Balance(i, nRow) > 0)
            str += (str.empty() ? "" : ",") + std::to_string(i);
    return str;
}

bool CScreenReader::IsBlankRow(int nRow) const
{
    const wxColour bg = Background();
    const int nBottom = std::min((nRow + 1) * m_nCellHeight, m_image.GetHeight());
    for (int y = nRow * m_nCellHeight; y < nBottom; ++y)
        for (int x = 0; x < m_image.GetWidth(); ++x)
            if (wxColour(m_image.GetRed(x, y), m_image.GetGreen(x, y), m_image.GetBlue(x, y)) != bg)
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
    return CScreenReader(bitmap.ConvertToImage(), P().Font());
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
