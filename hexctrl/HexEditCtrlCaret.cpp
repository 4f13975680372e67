#include "HexEditCtrl.h"

#include <algorithm>
#include <climits>

void CHexEditCtrl::OnSetFocus(wxFocusEvent& event)
{
    m_bHasFocus = true;
    // while a selection exists the caret stays hidden
    if (m_bHasData && !m_cursor.HasSelection())
        PlaceCaret(true);
    event.Skip();
}

void CHexEditCtrl::OnKillFocus(wxFocusEvent& event)
{
    m_bHasFocus = false;
    m_caret.Destroy();
    event.Skip();
}

void CHexEditCtrl::SetSelection(int nStart, int nEnd)
{
    m_cursor.nSelStart = nStart;
    m_cursor.nSelEnd = nEnd;
    PlaceCaret(true);
}

void CHexEditCtrl::PlaceCaret(int nPos)
{
    EnsureLayout();
    m_cursor.nIndex = nPos;
    m_cursor = m_cursor.Normalized(GetLayout(), GetPage());
    PlaceCaret(true);
}

void CHexEditCtrl::PlaceCaret(bool bShow)
{
    const wxRect rect = GetCaretRect();
    m_caret.Create(rect.width, rect.height);
    m_caret.SetPos(rect.x, rect.y);
    if (bShow)
        ShowCaretIfInView();
}

wxRect CHexEditCtrl::GetCaretRect() const
{
    const CHexLayout layout = GetLayout();
    const long long nLineStart = GetPage().LineStartOf(layout, m_cursor.nIndex);
    const int nCol = static_cast<int>(m_cursor.nIndex - nLineStart);
    // a row far outside the window only needs to stay outside it
    const long long nY = (nLineStart - m_nTopOffset) / m_nBytesPerLine * m_nLineHeight;
    return wxRect(layout.CaretCell(nCol, m_cursor.nField) * m_nCharWidth,
                  static_cast<int>(std::clamp(nY, INT_MIN / 2LL, INT_MAX / 2LL)),
                  layout.CaretCells(m_cursor.nField) * m_nCharWidth, m_nLineHeight);
}

// A caret is shown only on a whole line of the client area.
bool CHexEditCtrl::IsCaretInView() const
{
    const wxSize client = GetClientSize();
    const wxRect rect = m_caret.GetRect();
    return rect.x >= 0 && rect.y >= 0 && rect.x < client.x && rect.y + m_nLineHeight <= client.y;
}

// A blinking caret tells the user where typing goes: none while the keys go elsewhere.
void CHexEditCtrl::ShowCaretIfInView()
{
    if (m_bHasFocus && IsCaretInView())
        m_caret.Show();
}
