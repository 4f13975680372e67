#include "HexEditCtrl.h"

#include <algorithm>
#include <climits>

void CHexEditCtrl::OnSetFocus(wxFocusEvent& event)
{
    m_bHasFocus = true;
    // while a selection exists the caret stays hidden
    if (m_pData != nullptr && m_nSelStart == -1)
    {
        CreateCaretForPos();
        m_caret.SetPos(m_nCaretX, m_nCaretY);
        ShowCaretIfInView();
    }
    event.Skip();
}

void CHexEditCtrl::OnKillFocus(wxFocusEvent& event)
{
    m_bHasFocus = false;
    m_caret.Destroy();
    event.Skip();
}

void CHexEditCtrl::CreateWideCaret()
{
    // it covers the digits of an address
    m_caret.Create(m_nCharWidth * (m_bLongAddress ? 8 : 4), m_nLineHeight);
}

void CHexEditCtrl::CreateNarrowCaret()
{
    m_caret.Create(m_nCharWidth, m_nLineHeight);
}

// The shape for the stored position: wide at the left edge of the address column.
void CHexEditCtrl::CreateCaretForPos()
{
    if (m_nCaretX == 0 && m_bShowAddress)
        CreateWideCaret();
    else
        CreateNarrowCaret();
}

void CHexEditCtrl::SetSelection(int nStart, int nEnd)
{
    m_caret.Destroy();
    // the selection is never drawn: with nothing changed there is nothing to repaint
    const bool bChanged = nStart != m_nSelStart || nEnd != m_nSelEnd;
    m_nSelStart = nStart;
    m_nSelEnd = nEnd;
    if (bChanged)
        RedrawNow();
    CreateCaretForPos();
    m_caret.SetPos(m_nCaretX, m_nCaretY);
    ShowCaretIfInView();
}

void CHexEditCtrl::PlaceCaret(int nPos)
{
    EnsureLayout();
    ComputeCaret(nPos);
    if (m_nCaretField == CHexLayout::FIELD_ADDRESS)
        CreateWideCaret();
    else
        CreateNarrowCaret();
    m_caret.SetPos(m_nCaretX, m_nCaretY);
    ShowCaretIfInView();
}

// The first byte of the line that holds nPos, with lines counted from the top line by floor
// division, so that an index just above it lands on the row above, not inside the first row.
long long CHexEditCtrl::LineStartOf(long long nPos) const
{
    const int B = m_nBytesPerLine;
    const long long nRel = nPos - m_nTopOffset;
    const long long nRow = nRel >= 0 ? nRel / B : -((-nRel + B - 1) / B);
    return m_nTopOffset + nRow * B;
}

// Puts the caret index on the byte drawn under its field. Bytes below index 0 are missing
// like those at or past the end, so the index stays within 0 .. length.
void CHexEditCtrl::NormalizeCaretAt(int nPos)
{
    const long long nLineStart = LineStartOf(nPos);
    int nCol = static_cast<int>(nPos - nLineStart);
    const int nLineBytes = static_cast<int>(
        std::clamp(m_nDataLen - nLineStart, 0LL, static_cast<long long>(m_nBytesPerLine)));
    const int nFirstCol = static_cast<int>(std::max(-nLineStart, 0LL));
    GetLayout().NormalizeCaret(&nCol, &m_nCaretField, nLineBytes, nFirstCol);
    m_nCaretPos = static_cast<int>(std::clamp(nLineStart + nCol, 0LL, 0LL + m_nDataLen));
}

void CHexEditCtrl::ComputeCaret(int nPos)
{
    NormalizeCaretAt(nPos);
    const long long nLineStart = LineStartOf(m_nCaretPos);
    const int nCol = static_cast<int>(m_nCaretPos - nLineStart);
    m_nCaretX = GetLayout().CaretCell(nCol, m_nCaretField) * m_nCharWidth;
    // a row far outside the window only needs to stay outside it
    const long long nY = (nLineStart - m_nTopOffset) / m_nBytesPerLine * m_nLineHeight;
    m_nCaretY = static_cast<int>(
        std::clamp(nY, static_cast<long long>(INT_MIN / 2), static_cast<long long>(INT_MAX / 2)));
}

// A caret is shown only on a whole line of the client area.
bool CHexEditCtrl::IsCaretInView() const
{
    const wxSize client = GetClientSize();
    return m_nCaretX >= 0 && m_nCaretY >= 0 && m_nCaretX < client.x &&
           m_nCaretY + m_nLineHeight <= client.y;
}

// A blinking caret tells the user where typing goes: none while the keys go elsewhere.
void CHexEditCtrl::ShowCaretIfInView()
{
    if (m_bHasFocus && IsCaretInView())
        m_caret.Show();
}
