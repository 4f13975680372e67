#include "HexGlyphs.h"

#include "HexLayout.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{
// Pixels of the picture: opaque 32-bit words 0xFFRRGGBB in the machine's byte order.
const int kPixelBytes = 4;

void PutPixel(unsigned char* p, const unsigned char rgb[3])
{
    const uint32_t dwPixel = 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    std::memcpy(p, &dwPixel, sizeof dwPixel);
}

// A cell's row is a few dozen bytes: copied inline, two pixels at a time, it costs less than a
// call to the library's copy, which a paint would make for every row of every cell.
void CopyPixels(unsigned char* pDst, const unsigned char* pSrc, int nPixels)
{
    int i = 0;
    for (; i + 2 <= nPixels; i += 2)
        __builtin_memcpy(pDst + i * kPixelBytes, pSrc + i * kPixelBytes, 2 * kPixelBytes);
    if (i < nPixels)
        __builtin_memcpy(pDst + i * kPixelBytes, pSrc + i * kPixelBytes, kPixelBytes);
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

bool CHexGlyphs::SetColours(const wxColour& background, const wxColour& text)
{
    if (background == m_colourBackground && text == m_colourText)
        return false;
    m_colourBackground = background;
    m_colourText = text;
    Colour(0, background, text);
    Colour(1, text, background);
    return true;
}

void CHexGlyphs::Colour(int nScheme, const wxColour& background, const wxColour& text)
{
    const unsigned char bg[3] = {background.Red(), background.Green(), background.Blue()};
    const unsigned char fg[3] = {text.Red(), text.Green(), text.Blue()};
    std::copy(bg, bg + 3, m_background[nScheme]);
    std::vector<unsigned char>& cells = m_cells[nScheme];
    cells.resize(m_coverage.size() / 3 * kPixelBytes);
    for (size_t i = 0, j = 0; i < m_coverage.size(); i += 3, j += kPixelBytes)
    {
        unsigned char rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = Blend(bg[c], fg[c], m_coverage[i + c]);
        PutPixel(&cells[j], rgb);
    }
}

const unsigned char* CHexGlyphs::Cell(int nScheme, char ch) const
{
    int nIndex = static_cast<unsigned char>(ch) - FIRST_CHAR;
    if (nIndex < 0 || nIndex >= CHAR_COUNT)
        nIndex = '.' - FIRST_CHAR;
    const size_t nCellBytes =
        static_cast<size_t>(m_nCellWidth) * m_nCellHeight * m_nScale * m_nScale * kPixelBytes;
    return &m_cells[nScheme][static_cast<size_t>(nIndex) * nCellBytes];
}

void CHexGlyphs::Fill(const CFrame& frame, int nY, int nHeight, int nX) const
{
    const int nTop = std::clamp(nY * m_nScale, 0, frame.nHeight);
    const int nEnd = std::clamp((nY + nHeight) * m_nScale, nTop, frame.nHeight);
    const int nLeft = std::clamp(nX * m_nScale, 0, frame.nWidth);
    if (nLeft == frame.nWidth || nTop == nEnd)
        return;
    unsigned char* pFirst = frame.pBits + static_cast<ptrdiff_t>(nTop) * frame.nStride;
    for (int x = nLeft; x < frame.nWidth; ++x)
        PutPixel(pFirst + x * kPixelBytes, m_background[0]);
    for (int y = nTop + 1; y < nEnd; ++y)
        std::memcpy(frame.pBits + static_cast<ptrdiff_t>(y) * frame.nStride + nLeft * kPixelBytes,
                    pFirst + nLeft * kPixelBytes,
                    static_cast<size_t>(frame.nWidth - nLeft) * kPixelBytes);
}

// Row by row across the whole text, so that the picture is written in order: a cell at a time
// would write each of its rows far from the last.
void CHexGlyphs::DrawText(const CFrame& frame, int nX, int nY, const char* psz, int n,
                          bool bInverted) const
{
    const int nScheme = bInverted ? 1 : 0;
    const int cw = m_nCellWidth * m_nScale;
    const int ch = m_nCellHeight * m_nScale;
    const int nTop = nY * m_nScale;
    const int nRowFirst = std::max(0, -nTop);
    const int nRowEnd = std::min(ch, frame.nHeight - nTop);
    const int nLeft = nX * m_nScale;
    // the cells that lie wholly in the frame are copied whole; a cut one at either edge alone
    const int nFirst = std::clamp((-nLeft + cw - 1) / cw, 0, n);
    const int nWhole = std::clamp((frame.nWidth - nLeft) / cw, nFirst, n);
    const unsigned char* cells[CHexLayout::LINE_TEXT];
    for (int i = nFirst; i < nWhole; ++i)
        cells[i] = Cell(nScheme, psz[i]);
    for (int y = nRowFirst; y < nRowEnd; ++y)
    {
        unsigned char* pRow = frame.pBits + static_cast<ptrdiff_t>(nTop + y) * frame.nStride;
        const size_t nCellRow = static_cast<size_t>(y) * cw * kPixelBytes;
        for (int i = nFirst; i < nWhole; ++i)
            CopyPixels(pRow + static_cast<ptrdiff_t>(nLeft + i * cw) * kPixelBytes,
                       cells[i] + nCellRow, cw);
    }
    for (int i : {nFirst - 1, nWhole})
    {
        const int x0 = nLeft + i * cw;
        const int nSkip = std::max(0, -x0);
        const int nCopy = std::min(cw, frame.nWidth - x0) - nSkip;
        if (i < 0 || i >= n || nCopy <= 0)
            continue;
        const unsigned char* pCell = Cell(nScheme, psz[i]);
        for (int y = nRowFirst; y < nRowEnd; ++y)
            CopyPixels(frame.pBits + static_cast<ptrdiff_t>(nTop + y) * frame.nStride +
                           static_cast<ptrdiff_t>(x0 + nSkip) * kPixelBytes,
                       pCell + (static_cast<size_t>(y) * cw + nSkip) * kPixelBytes, nCopy);
    }
}
