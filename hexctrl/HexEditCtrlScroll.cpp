#include "HexEditCtrl.h"

#include <algorithm>

void CHexEditCtrl::OnScrollWin(wxScrollWinEvent& event)
{
    if (event.GetOrientation() != wxVERTICAL)
        return;
    const wxEventType type = event.GetEventType();
    int nSBCode = SB_ENDSCROLL;
    if (type == wxEVT_SCROLLWIN_LINEUP)
        nSBCode = SB_LINEUP;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        nSBCode = SB_LINEDOWN;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        nSBCode = SB_PAGEUP;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        nSBCode = SB_PAGEDOWN;
    else if (type == wxEVT_SCROLLWIN_THUMBTRACK)
        nSBCode = SB_THUMBTRACK;
    else if (type == wxEVT_SCROLLWIN_THUMBRELEASE)
        nSBCode = SB_THUMBPOSITION;
    else if (type == wxEVT_SCROLLWIN_TOP)
        nSBCode = SB_TOP;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        nSBCode = SB_BOTTOM;
    // the event carries the full position, so long segments scroll to their end
    OnVScroll(nSBCode, event.GetPosition());
}

void CHexEditCtrl::OnVScroll(int nSBCode, int nPos)
{
    if (m_pData == nullptr)
        return;
    const int nOldTop = m_nTopOffset;
    const int B = m_nBytesPerLine;
    const int L = m_nLinesPerPage;
    // the last page starts on a word, so its lines keep their groups and word addresses
    long long nLastTop = m_nDataLen - static_cast<long long>(L) * B;
    if (nLastTop > 0)
        nLastTop += (m_nWordLen - nLastTop % m_nWordLen) % m_nWordLen;
    bool bRedraw = true;
    switch (nSBCode)
    {
    case SB_LINEUP:
        bRedraw = m_nTopOffset > 0;
        if (bRedraw)
            m_nTopOffset = std::max(m_nTopOffset - B, 0);
        break;
    case SB_LINEDOWN:
        bRedraw = m_nTopOffset < nLastTop;
        if (bRedraw)
            m_nTopOffset += B;
        break;
    case SB_PAGEUP:
        bRedraw = m_nTopOffset > 0;
        if (bRedraw)
            m_nTopOffset =
                static_cast<int>(std::max(m_nTopOffset - static_cast<long long>(B) * L, 0LL));
        break;
    case SB_PAGEDOWN:
        bRedraw = m_nTopOffset < nLastTop;
        if (bRedraw)
            m_nTopOffset =
                static_cast<int>(std::min(m_nTopOffset + static_cast<long long>(B) * L, nLastTop));
        break;
    case SB_THUMBTRACK:
        // a line number from outside the data must not put the top line before the buffer
        m_nTopOffset = static_cast<int>(std::clamp(static_cast<long long>(nPos) * B, 0LL,
                                                   0LL + m_nDataLen - m_nDataLen % m_nWordLen));
        break;
    default:
        bRedraw = false;
        break;
    }
    if (bRedraw)
        RedrawNow();
    SetScrollPos(wxVERTICAL, m_nTopOffset / B, true);
    if (!m_bCaretScroll)
        CarryCaret(m_nTopOffset - nOldTop);
    PlaceCaret(m_nCaretPos);
}

// The caret keeps its place on the screen, and so moves through the data, but never
// leaves them: only deleting the last byte puts it on the end position.
void CHexEditCtrl::CarryCaret(int nDelta)
{
    if (nDelta == 0)
        return;
    const long long nPos = static_cast<long long>(m_nCaretPos) + nDelta;
    m_nCaretPos = static_cast<int>(std::clamp(nPos, 0LL, std::max(m_nDataLen - 1LL, 0LL)));
}

void CHexEditCtrl::UpdateScrollBars()
{
    if (GetHandle() == nullptr)
        return;
    // the partial last line counts, so the bar reaches every line; a range that fits the
    // page hides the bar
    const int nLines = m_nDataLen / m_nBytesPerLine + (m_nDataLen % m_nBytesPerLine != 0 ? 1 : 0);
    SetScrollbar(wxVERTICAL, m_nTopOffset / m_nBytesPerLine, m_nLinesPerPage, nLines, true);
}
