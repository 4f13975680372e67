#include "HexCtrlTestSupport.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <algorithm>
#include <climits>

namespace
{
const int FIRST_CHAR = 0x20;
const int CHAR_COUNT = 0x7F - FIRST_CHAR;
} // namespace

CScreenReader::CScreenReader(const wxImage& image, const wxFont& font) : m_image(image)
{
    wxBitmap probe(1, 1, 24);
    wxMemoryDC dcProbe(probe);
    dcProbe.SetFont(font);
    wxCoord w = 0, h = 0;
    dcProbe.GetTextExtent("0", &w, &h);
    dcProbe.SelectObject(wxNullBitmap);
    m_nCellWidth = w;
    m_nCellHeight = h;
    // every printable character in one string, drawn by the toolkit
    std::string strAll;
    for (int i = 0; i < CHAR_COUNT; ++i)
        strAll += static_cast<char>(FIRST_CHAR + i);
    wxBitmap strip(w * CHAR_COUNT, h, 24);
    wxMemoryDC dc(strip);
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.Clear();
    dc.SetFont(font);
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
            const int xs = nCol * m_nCellWidth + x, ys = nRow * m_nCellHeight + y;
            const int xg = nGlyph * m_nCellWidth + x;
            for (int c = 0; c < 3; ++c)
            {
                int g = m_glyphs.GetData()[(y * m_glyphs.GetWidth() + xg) * 3 + c];
                if (bInverted)
                    g = 255 - g;
                nSum += std::abs(m_image.GetData()[(ys * m_image.GetWidth() + xs) * 3 + c] - g);
            }
        }
    return nSum;
}

CCell CScreenReader::At(int nCol, int nRow) const
{
    CCell best = {'?', false};
    long nBest = LONG_MAX;
    for (int nInverted = 0; nInverted < 2; ++nInverted)
        for (int i = 0; i < CHAR_COUNT; ++i)
        {
            const long n = Distance(nCol, nRow, i, nInverted != 0);
            if (n < nBest)
            {
                nBest = n;
                best = {static_cast<char>(FIRST_CHAR + i), nInverted != 0};
            }
        }
    return best;
}

std::string CScreenReader::Text(int nCol, int nRow, int nCount) const
{
    std::string str;
    for (int i = 0; i < nCount; ++i)
        str += At(nCol + i, nRow).ch;
    return str;
}

// An inverted cell shows more of the background's complement than of the background.
std::string CScreenReader::InvertedCells(int nRow) const
{
    const wxColour bg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const unsigned char inverse[3] = {static_cast<unsigned char>(255 - bg.Red()),
                                      static_cast<unsigned char>(255 - bg.Green()),
                                      static_cast<unsigned char>(255 - bg.Blue())};
    std::string str;
    for (int i = 0; i < Columns(); ++i)
    {
        const unsigned char normal[3] = {bg.Red(), bg.Green(), bg.Blue()};
        int nBalance = 0;
        for (int y = nRow * m_nCellHeight; y < (nRow + 1) * m_nCellHeight; ++y)
            for (int x = i * m_nCellWidth; x < (i + 1) * m_nCellWidth; ++x)
            {
                const unsigned char* px = m_image.GetData() + (y * m_image.GetWidth() + x) * 3;
                nBalance +=
                    std::equal(inverse, inverse + 3, px) - std::equal(normal, normal + 3, px);
            }
        if (nBalance > 0)
            str += (str.empty() ? "" : ",") + std::to_string(i);
    }
    return str;
}

bool CScreenReader::IsBlankRow(int nRow) const
{
    const unsigned char* p = m_image.GetData();
    const wxColour bg = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    for (int y = nRow * m_nCellHeight; y < (nRow + 1) * m_nCellHeight && y < m_image.GetHeight();
         ++y)
        for (int x = 0; x < m_image.GetWidth(); ++x)
        {
            const unsigned char* px = p + (y * m_image.GetWidth() + x) * 3;
            if (px[0] != bg.Red() || px[1] != bg.Green() || px[2] != bg.Blue())
                return false;
        }
    return true;
}

void CHexCtrlTest::SetUp()
{
    m_pFrame = new wxFrame(nullptr, wxID_ANY, "hex");
    m_pFrame->SetClientSize(1000, 900);
    // a panel fills the frame, so the control keeps the size each test gives it
    wxPanel* pPanel = new wxPanel(m_pFrame);
    m_pCtrl = new CHexEditCtrl;
    ASSERT_TRUE(m_pCtrl->Create("hexEd", 0, wxRect(0, 0, 900, 100), pPanel, 1000));
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

std::vector<unsigned char> Sequence(int nCount, int nFirst)
{
    std::vector<unsigned char> data(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        data[static_cast<size_t>(i)] = static_cast<unsigned char>(nFirst + i);
    return data;
}
