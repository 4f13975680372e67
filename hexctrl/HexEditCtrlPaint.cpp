#include "HexEditCtrl.h"

#include <wx/dcbuffer.h>
#include <wx/rawbmp.h>
#include <wx/settings.h>

#include <algorithm>
#include <cmath>

void CHexEditCtrl::OnPaint(wxPaintEvent&)
{
    // The picture is composed off screen and copied in one block, so nothing flickers; the
    // buffer also spares the screen a bitmap that was just written pixel by pixel.
    wxBufferedPaintDC dc(this);
    RenderTo(dc, GetClientSize(), GetUpdateRegion().GetBox());
}

void CHexEditCtrl::RenderTo(wxDC& dc, const wxSize& size)
{
    RenderTo(dc, size, wxRect(size));
}

void CHexEditCtrl::RenderTo(wxDC& dc, const wxSize& size, const wxRect& rcUpdate)
{
    if (size.x <= 0 || size.y <= 0)
        return;
    // the picture has the window's device pixels, its cells the logical size of today's text
    const int nScale = GetDeviceScale();
    if (!m_glyphs.IsBuilt() || m_glyphs.GetScale() != nScale)
        m_glyphs.Build(m_font, nScale);
    if (!m_bmpFrame.IsOk() || m_bmpFrame.GetDIPSize() != size ||
        m_bmpFrame.GetScaleFactor() != nScale)
        m_bmpFrame.CreateWithDIPSize(size, nScale, 24);
    m_glyphs.SetColours(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW),
                        wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    {
        wxNativePixelData pixels(m_bmpFrame);
        if (!pixels)
            return;
        wxNativePixelData::Iterator origin(pixels);
        const CHexGlyphs::CFrame frame = {origin.m_ptr, pixels.GetRowStride(), size.x * nScale,
                                          size.y * nScale};
        m_glyphs.Fill(frame);
        if (m_pData != nullptr)
        {
            if (m_bLayoutDirty)
                RecalcLayout(size.y);
            // only whole lines are drawn
            const int nBottom = (size.y / m_nLineHeight) * m_nLineHeight;
            DrawLines(frame, nBottom);
            DrawCaret(frame, size.y);
        }
    }
    const wxRect rc = rcUpdate.Intersect(wxRect(size));
    if (rc == wxRect(size))
        dc.DrawBitmap(m_bmpFrame, 0, 0);
    else if (!rc.IsEmpty())
        dc.DrawBitmap(m_bmpFrame.GetSubBitmap(rc), rc.GetPosition());
}

// Device pixels per logical pixel: whole on the desktops that scale windows (2 at 200 %).
int CHexEditCtrl::GetDeviceScale() const
{
    return std::max(1, static_cast<int>(std::lround(GetContentScaleFactor())));
}

// A new theme brings new colours and may bring another font rendering; a new scale new cells.
void CHexEditCtrl::OnSysColourChanged(wxSysColourChangedEvent& event)
{
    m_glyphs.Invalidate();
    Refresh(false);
    event.Skip();
}

void CHexEditCtrl::OnDPIChanged(wxDPIChangedEvent& event)
{
    m_glyphs.Invalidate();
    Refresh(false);
    event.Skip();
}

void CHexEditCtrl::RecalcLayout(int nClientHeight)
{
    m_nCharWidth = m_glyphs.GetCellWidth();
    m_nLineHeight = m_glyphs.GetCellHeight();
    const CHexLayout layout = GetLayout();
    m_nHexX = layout.GetHexCol() * m_nCharWidth;
    m_nCharX = layout.GetCharCol() * m_nCharWidth;
    m_nLayoutHeight = nClientHeight;
    m_nLinesPerPage = nClientHeight / m_nLineHeight;
    m_bDataFitsWindow = false;
    if (static_cast<long long>(m_nLinesPerPage) * m_nBytesPerLine > m_nDataLen)
    {
        m_nLinesPerPage = (m_nDataLen + m_nBytesPerLine / 2) / m_nBytesPerLine;
        if (m_nDataLen % m_nBytesPerLine != 0)
        {
            m_bDataFitsWindow = true;
            ++m_nLinesPerPage;
        }
    }
    m_bLayoutDirty = false;
    UpdateScrollBars();
}

// The caret is placed from the layout, which otherwise waits for the next paint.
void CHexEditCtrl::EnsureLayout()
{
    if (m_pData == nullptr || !m_bLayoutDirty)
        return;
    if (!m_glyphs.IsBuilt())
        m_glyphs.Build(m_font, GetDeviceScale());
    RecalcLayout(GetClientSize().y);
}

// One pass over the visible lines; blanks are left as the background shows them.
void CHexEditCtrl::DrawLines(const CHexGlyphs::CFrame& frame, int nBottom) const
{
    const CHexLayout layout = GetLayout();
    char szLine[CHexLayout::LINE_TEXT];
    for (int i = m_nTopOffset, y = 0; i < m_nDataLen && y < nBottom;
         i += m_nBytesPerLine, y += m_nLineHeight)
    {
        const int n =
            layout.FormatLine(szLine, m_pData, m_nDataLen, static_cast<uint32_t>(m_nBaseAddress), i,
                              CHexLayout::LINE_SCREEN);
        m_glyphs.DrawText(frame, m_nAddrX, y, szLine, n, false);
    }
}

// The caret inverts the cells it covers, whatever they show.
void CHexEditCtrl::DrawCaret(const CHexGlyphs::CFrame& frame, int nClientHeight) const
{
    if (!m_caret.IsDrawn() || m_nCharWidth <= 0)
        return;
    const wxRect rect = m_caret.GetRect();
    const int nRow = rect.y / m_nLineHeight;
    if (rect.y < 0 || rect.x < 0 || rect.y % m_nLineHeight != 0 || rect.x % m_nCharWidth != 0)
        return;
    // only on a whole line, as for the caret's placement
    if (rect.y + m_nLineHeight > nClientHeight)
        return;
    const long long nLineStart = m_nTopOffset + static_cast<long long>(nRow) * m_nBytesPerLine;
    const CHexLayout layout = GetLayout();
    const int nCells = layout.GetCharCol() + m_nBytesPerLine;
    char szLine[CHexLayout::LINE_TEXT];
    std::fill(szLine, szLine + nCells, ' ');
    if (nLineStart < m_nDataLen)
        layout.FormatLine(szLine, m_pData, m_nDataLen, static_cast<uint32_t>(m_nBaseAddress),
                          static_cast<int>(nLineStart), CHexLayout::LINE_SCREEN);
    const int nFirst = rect.x / m_nCharWidth;
    const int nCount = std::min(rect.width / m_nCharWidth, nCells - nFirst);
    if (nCount > 0)
        m_glyphs.DrawText(frame, rect.x, rect.y, szLine + nFirst, nCount, true);
}
