#include "HexEditCtrl.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>
#include <cmath>

void CHexEditCtrl::OnPaint(wxPaintEvent&)
{
    // The picture is composed off screen and copied in one block, so nothing flickers.
    wxPaintDC dc(this);
    RenderTo(dc, GetClientSize(), GetUpdateRegion().GetBox());
}

void CHexEditCtrl::RenderTo(wxDC& dc, const wxSize& size)
{
    RenderTo(dc, size, wxRect(size));
}

void CHexEditCtrl::RenderTo(wxDC& dc, const wxSize& size, const wxRect& rcUpdate)
{
    // the picture has the window's device pixels, its cells the logical size of today's text
    const int nScale = GetDeviceScale();
    bool bNew = false;
    if (size.x <= 0 || size.y <= 0 || !m_picture.Prepare(dc, size, nScale, &bNew))
        return;
    if (EnsureGlyphs())
        bNew = true;
    if (m_glyphs.SetColours(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW),
                            wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT)))
        bNew = true;
    if (m_bHasData && m_bLayoutDirty)
        RecalcLayout(size.y);
    const SDrawnFrom drawnFrom{
        GetLayout(), m_nTopOffset,        m_nBaseAddress,    size.y,
        m_bHasData,  m_data.GetVersion(), m_caret.IsDrawn(), m_caret.GetRect()};
    if (bNew || m_drawnFrom != drawnFrom)
    {
        const CHexPicture::CPixels pixels = m_picture.Lock();
        ComposeRows({pixels.pBits, pixels.nStride, pixels.nWidth, pixels.nHeight}, size.y, bNew);
        m_drawnFrom = drawnFrom;
    }
    m_picture.DrawTo(dc, rcUpdate.Intersect(wxRect(size)));
}

// Device pixels per logical pixel: whole on the desktops that scale windows (2 at 200 %).
int CHexEditCtrl::GetDeviceScale() const
{
    return std::max(1, static_cast<int>(std::lround(GetContentScaleFactor())));
}

// The window's own colours are the theme's: a paint device made for the window then needs no
// look-up of the theme's defaults on every paint.
void CHexEditCtrl::TakeThemeColours()
{
    SetOwnForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    SetOwnBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
}

bool CHexEditCtrl::EnsureGlyphs()
{
    const int nScale = GetDeviceScale();
    if (m_glyphs.IsBuilt() && m_glyphs.GetScale() == nScale)
        return false;
    m_glyphs.Build(m_font, nScale);
    return true;
}

// A new theme brings new colours and may bring another font rendering; a new scale new cells.
void CHexEditCtrl::OnLookChanged(wxEvent& event)
{
    TakeThemeColours();
    m_glyphs.Invalidate();
    Refresh(false);
    event.Skip();
}

void CHexEditCtrl::RecalcLayout(int nClientHeight)
{
    m_nCharWidth = m_glyphs.GetCellWidth();
    m_nLineHeight = m_glyphs.GetCellHeight();
    m_nLayoutHeight = nClientHeight;
    const CHexPage page =
        CHexPage::Fitted(GetLayout(), nClientHeight, m_data.GetLength(), m_nTopOffset);
    m_nLinesPerPage = page.nLines;
    m_bLayoutDirty = false;
    if (GetHandle() == nullptr)
        return;
    // the partial last line counts, so the bar reaches every line; a range that fits the
    // page hides the bar
    const int B = m_nBytesPerLine;
    const int nLines = m_data.GetLength() / B + (m_data.GetLength() % B != 0 ? 1 : 0);
    SetScrollbar(wxVERTICAL, m_nTopOffset / B, m_nLinesPerPage, nLines, true);
}

// The caret is placed from the layout, which otherwise waits for the next paint.
void CHexEditCtrl::EnsureLayout()
{
    if (!m_bHasData || !m_bLayoutDirty)
        return;
    EnsureGlyphs();
    RecalcLayout(GetClientSize().y);
}

// Rows keep their pixels while their text and caret cells stay the same, so that typing, a caret
// step or a blink redraws a row or two; a new picture, scale or colour redraws every row. Only
// whole lines are drawn; the rest of the window keeps the background.
void CHexEditCtrl::ComposeRows(const CHexGlyphs::CFrame& frame, int nClientHeight, bool bAll)
{
    if (bAll)
    {
        m_glyphs.Fill(frame, 0, nClientHeight);
        m_rowKeys.clear();
    }
    if (m_nLineHeight <= 0)
        return;
    const int nRows = nClientHeight / m_nLineHeight;
    if (static_cast<int>(m_rowKeys.size()) < nRows)
        m_rowKeys.resize(static_cast<size_t>(nRows));
    int nCaretRow = -1, nCaretFirst = 0, nCaretCount = 0;
    GetDrawnCaretCells(nClientHeight, &nCaretRow, &nCaretFirst, &nCaretCount);
    const CHexLayout layout = GetLayout();
    // the row's text, then for the caret's row a line break and its first cell and count
    char szKey[CHexLayout::LINE_TEXT + 4];
    unsigned char line[CHexLayout::MAX_BYTES_PER_LINE];
    for (int nRow = 0; nRow < nRows; ++nRow)
    {
        const long long nLineStart = m_nTopOffset + static_cast<long long>(nRow) * m_nBytesPerLine;
        int n = 0;
        if (m_bHasData && nLineStart >= 0 && nLineStart < m_data.GetLength())
            n = layout.FormatLine(szKey, line, ReadLine(static_cast<int>(nLineStart), line),
                                  static_cast<uint32_t>(m_nBaseAddress),
                                  static_cast<int>(nLineStart), CHexLayout::LINE_SCREEN);
        int nKey = n;
        if (nRow == nCaretRow)
        {
            // a caret past the line's text covers blanks
            std::fill(szKey + n, szKey + std::max(n, nCaretFirst + nCaretCount), ' ');
            nKey = std::max(n, nCaretFirst + nCaretCount);
            szKey[nKey++] = '\n';
            szKey[nKey++] = static_cast<char>(nCaretFirst);
            szKey[nKey++] = static_cast<char>(nCaretCount);
        }
        std::string& strKey = m_rowKeys[static_cast<size_t>(nRow)];
        if (strKey.size() == static_cast<size_t>(nKey) && strKey.compare(0, nKey, szKey, nKey) == 0)
            continue;
        strKey.assign(szKey, static_cast<size_t>(nKey));
        // each pixel of the row is written once: the cells, then the background right of them
        const int y = nRow * m_nLineHeight;
        m_glyphs.DrawText(frame, 0, y, szKey, n, false);
        m_glyphs.Fill(frame, y, m_nLineHeight, n * m_nCharWidth);
        if (nRow == nCaretRow)
            m_glyphs.DrawText(frame, nCaretFirst * m_nCharWidth, y, szKey + nCaretFirst,
                              nCaretCount, true);
    }
}

// The cells the caret inverts, whatever they show: on a whole line of the window, at whole
// cells, in its visible phase; a row of -1 when none.
void CHexEditCtrl::GetDrawnCaretCells(int nClientHeight, int* pRow, int* pFirst, int* pCount) const
{
    *pRow = -1;
    if (!m_caret.IsDrawn() || m_nCharWidth <= 0 || m_nLineHeight <= 0)
        return;
    const wxRect rect = m_caret.GetRect();
    if (rect.y < 0 || rect.x < 0 || rect.y % m_nLineHeight != 0 || rect.x % m_nCharWidth != 0 ||
        rect.y + m_nLineHeight > nClientHeight)
        return;
    const int nCells = GetLayout().GetCharCol() + m_nBytesPerLine;
    *pFirst = rect.x / m_nCharWidth;
    *pCount = std::min(rect.width / m_nCharWidth, nCells - *pFirst);
    if (*pCount > 0)
        *pRow = rect.y / m_nLineHeight;
}
