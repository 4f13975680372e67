#include "HexEditCtrl.h"

#include <algorithm>

void CHexEditCtrl::OnCharEvent(wxKeyEvent& event)
{
    // keys without a character (Delete, function keys) type nothing; Alt keys open menus
    const int nChar = static_cast<int>(event.GetUnicodeKey());
    if (event.AltDown())
        event.Skip();
    if (nChar == WXK_NONE || event.GetKeyCode() == WXK_DELETE || event.AltDown())
        return;
    OnChar(nChar, event.ControlDown());
}

void CHexEditCtrl::OnChar(int nChar, bool bCtrl)
{
    if (!m_bHasData || nChar == VK_TAB)
        return;
    if (bCtrl && (nChar == 3 || nChar == 22 || nChar == 24 || nChar == 26))
    {
        // copy, paste, cut and undo have no effect and repaint nothing
        if (nChar == 26)
            OnEditUndo();
        else if (nChar == 22 || m_cursor.HasSelection())
            OnEditCommand();
        return;
    }
    EnsureLayout();
    if (nChar == VK_BACK)
    {
        Backspace();
        return;
    }
    m_cursor = m_cursor.Deselected();
    const int nEdited = m_cursor.nIndex;
    if (m_cursor.IsOnAddress() || !TypeCharacter(nChar))
    {
        PlaceCaret(true);
        return;
    }
    // only the edited byte's line besides the caret's cells, unless the caret scrolled
    RefreshLineOf(nEdited);
    ApplyMove(m_cursor.Moved(GetLayout(), GetPage(), 1, 0));
}

// The byte before the caret goes; the caret stays on the byte it stood on.
void CHexEditCtrl::Backspace()
{
    if (m_cursor.nIndex <= 0)
        return;
    --m_cursor.nIndex;
    if (DeleteBytes(m_cursor.nIndex, m_cursor.nIndex + 1))
    {
        m_cursor = m_cursor.Deselected();
        EnsureLayout();
        Refresh(false);
    }
    m_cursor = m_cursor.Normalized(GetLayout(), GetPage());
    PlaceCaret(true);
}

void CHexEditCtrl::RefreshLineOf(int nPos)
{
    const long long nRow =
        (GetPage().LineStartOf(GetLayout(), nPos) - m_nTopOffset) / m_nBytesPerLine;
    if (nRow >= 0 && nRow <= m_nLinesPerPage)
        RefreshRect(
            wxRect(0, static_cast<int>(nRow) * m_nLineHeight, GetClientSize().x, m_nLineHeight),
            false);
}

// Typing overwrites and never appends: on the end position nothing is written, and the caret
// steps as after any accepted character.
bool CHexEditCtrl::TypeCharacter(int nChar)
{
    const int nPos = m_cursor.nIndex;
    const bool bInData = nPos >= 0 && nPos < m_data.GetLength();
    if (m_cursor.nField == CHexLayout::FIELD_CHAR)
    {
        if (bInData)
            PutByte(nPos, static_cast<unsigned char>(nChar & 0xFF));
        return true;
    }
    int nValue = -1;
    if (nChar >= '0' && nChar <= '9')
        nValue = nChar - '0';
    else if (nChar >= 'a' && nChar <= 'f')
        nValue = nChar - 'a' + 10;
    // the dump shows upper-case digits, and Caps Lock must not make typing fail silently
    else if (nChar >= 'A' && nChar <= 'F')
        nValue = nChar - 'A' + 10;
    if (nValue < 0)
        return false;
    if (bInData)
    {
        const unsigned char byte = GetByte(nPos);
        PutByte(nPos, CHexLayout::NibbleOf(m_cursor.nField) == 0
                          ? static_cast<unsigned char>((byte & 0x0F) | (nValue << 4))
                          : static_cast<unsigned char>((byte & 0xF0) | nValue));
    }
    return true;
}

bool CHexEditCtrl::InsertZeros(int nPos, int nCount)
{
    if (!m_data.InsertZeros(nPos, nCount))
        return false;
    m_bLayoutDirty = true;
    return true;
}

// Deletes the bytes from nFrom up to nTo. A range reaching past the end (Delete on the end
// position) takes as many bytes from the end instead. The layout is marked before the
// repaint, which must not draw the old line count.
bool CHexEditCtrl::DeleteBytes(int nFrom, int nTo)
{
    const int nLen = m_data.GetLength();
    if (nFrom < 0 || nFrom > nLen || nTo <= nFrom || nTo > nLen + 1)
        return false;
    const int nCount = std::min(nTo - nFrom, nLen);
    if (nCount > 0 && !m_data.Erase(nTo > nLen ? nLen - nCount : nFrom, nCount))
        return false;
    m_bLayoutDirty = true;
    return true;
}
