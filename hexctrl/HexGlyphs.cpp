#include "HexGlyphs.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/rawbmp.h>

#include <algorithm>
#include <cstring>

namespace
{
typedef wxNativePixelFormat CFormat;
static_assert(CFormat::SizePixel == 3, "frames are drawn as 24-bit pixels");

void PutPixel(unsigned char* p, const unsigned char rgb[3])
{
    p[CFormat::RED] = rgb[0];
    p[CFormat::GREEN] = rgb[1];
    p[CFormat::BLUE] = rgb[2];
}

unsigned char Blend(unsigned char background, unsigned char text, unsigned char coverage)
{
    return static_cast<unsigned char>((background * (255 - coverage) + text * coverage + 127) /
                                      255);
}
} // namespace

void CHexGlyphs::Build(const wxFont& font, int nScale)
{
    wxBitmap probe(1, 1, 24);
    wxMemoryDC dcProbe(probe);
    dcProbe.SetFont(font);
    wxCoord nWidth = 0, nHeight = 0;
    dcProbe.GetTextExtent("0", &nWidth, &nHeight);
    dcProbe.SelectObject(wxNullBitmap);
    const int cw = std::max(1, nWidth), lh = std::max(1, nHeight);
    const int s = std::max(1, nScale);

    // Each character is drawn alone at a whole cell, as the grid places it; a strip of the
    // window's scale gets the glyphs the toolkit draws at that scale.
    wxBitmap strip;
    strip.CreateWithDIPSize(wxSize(cw * CHAR_COUNT, lh), s, 24);
    {
        wxMemoryDC dc(strip);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetFont(font);
        dc.SetTextForeground(*wxBLACK);
        for (int i = 0; i < CHAR_COUNT; ++i)
            dc.DrawText(wxString(static_cast<char>(FIRST_CHAR + i)), i * cw, 0);
    }
    const wxImage image = strip.ConvertToImage();
    const unsigned char* pRgb = image.GetData();
    const int dw = cw * s, dh = lh * s;
    m_coverage.assign(static_cast<size_t>(CHAR_COUNT) * dw * dh * 3, 0);
    for (int i = 0; i < CHAR_COUNT; ++i)
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw * 3; ++x)
                m_coverage[((static_cast<size_t>(i) * dh + y) * dw) * 3 + x] =
                    255 - pRgb[(static_cast<size_t>(y) * dw * CHAR_COUNT + i * dw) * 3 + x];
    m_nCellWidth = cw;
    m_nCellHeight = lh;
    m_nScale = s;
    m_colourBackground = wxColour();
}

void CHexGlyphs::SetColours(const wxColour& background, const wxColour& text)
{
    if (background == m_colourBackground && text == m_colourText)
        return;
    m_colourBackground = background;
    m_colourText = text;
    Colour(0, background, text);
    Colour(1, text, background);
}

void CHexGlyphs::Colour(int nScheme, const wxColour& background, const wxColour& text)
{
    const unsigned char bg[3] = {background.Red(), background.Green(), background.Blue()};
    const unsigned char fg[3] = {text.Red(), text.Green(), text.Blue()};
    std::copy(bg, bg + 3, m_background[nScheme]);
    std::vector<unsigned char>& cells = m_cells[nScheme];
    cells.resize(m_coverage.size());
    for (size_t i = 0; i < m_coverage.size(); i += 3)
    {
        unsigned char rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = Blend(bg[c], fg[c], m_coverage[i + c]);
        PutPixel(&cells[i], rgb);
    }
}

const unsigned char* CHexGlyphs::Cell(int nScheme, char ch) const
{
    int nIndex = static_cast<unsigned char>(ch) - FIRST_CHAR;
    if (nIndex < 0 || nIndex >= CHAR_COUNT)
        nIndex = '.' - FIRST_CHAR;
    const size_t nCellBytes =
        static_cast<size_t>(m_nCellWidth) * m_nCellHeight * m_nScale * m_nScale * 3;
    return &m_cells[nScheme][static_cast<size_t>(nIndex) * nCellBytes];
}

void CHexGlyphs::Fill(const CFrame& frame) const
{
    if (frame.nWidth <= 0 || frame.nHeight <= 0)
        return;
    unsigned char* pFirst = frame.pBits;
    for (int x = 0; x < frame.nWidth; ++x)
        PutPixel(pFirst + x * 3, m_background[0]);
    for (int y = 1; y < frame.nHeight; ++y)
        std::memcpy(pFirst + static_cast<ptrdiff_t>(y) * frame.nStride, pFirst,
                    static_cast<size_t>(frame.nWidth) * 3);
}

void CHexGlyphs::DrawText(const CFrame& frame, int nX, int nY, const char* psz, int n,
                          bool bInverted) const
{
    const int nScheme = bInverted ? 1 : 0;
    const int cw = m_nCellWidth * m_nScale;
    const int ch = m_nCellHeight * m_nScale;
    const int nTop = nY * m_nScale;
    const int nRowFirst = std::max(0, -nTop);
    const int nRowEnd = std::min(ch, frame.nHeight - nTop);
    for (int i = 0; i < n; ++i)
    {
        const int x0 = nX * m_nScale + i * cw;
        if (x0 >= frame.nWidth)
            break;
        // the frame was filled with the ordinary background already
        if (psz[i] == ' ' && !bInverted)
            continue;
        const int nSkip = std::max(0, -x0);
        const int nCopy = std::min(cw, frame.nWidth - x0) - nSkip;
        if (nCopy <= 0)
            continue;
        const unsigned char* pCell = Cell(nScheme, psz[i]);
        for (int y = nRowFirst; y < nRowEnd; ++y)
            std::memcpy(frame.pBits + static_cast<ptrdiff_t>(nTop + y) * frame.nStride +
                            static_cast<ptrdiff_t>(x0 + nSkip) * 3,
                        pCell + (static_cast<size_t>(y) * cw + nSkip) * 3,
                        static_cast<size_t>(nCopy) * 3);
    }
}
