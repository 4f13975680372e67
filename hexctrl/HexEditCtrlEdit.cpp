#include "HexEditCtrl.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <sys/mman.h>

// A large block is filled in huge pages where the system offers them, so that copying a long
// segment or rebuilding its buffer costs few page faults.
void CHexEditCtrl::AdviseHugePages(void* pBlock, size_t nSize)
{
#ifdef MADV_HUGEPAGE
    const uintptr_t HUGE_PAGE = 2u << 20;
    const uintptr_t nBegin =
        (reinterpret_cast<uintptr_t>(pBlock) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const uintptr_t nEnd = (reinterpret_cast<uintptr_t>(pBlock) + nSize) & ~(HUGE_PAGE - 1);
    if (nEnd > nBegin)
        madvise(reinterpret_cast<void*>(nBegin), nEnd - nBegin, MADV_HUGEPAGE);
#else
    (void)pBlock;
    (void)nSize;
#endif
}

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
    if (m_pData == nullptr || nChar == VK_TAB)
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
    const bool bInData = nPos >= 0 && nPos < m_nDataLen;
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
        const unsigned char byte = GetBytes()[nPos];
        PutByte(nPos, CHexLayout::NibbleOf(m_cursor.nField) == 0
                          ? static_cast<unsigned char>((byte & 0x0F) | (nValue << 4))
                          : static_cast<unsigned char>((byte & 0xF0) | nValue));
    }
    return true;
}

bool CHexEditCtrl::InsertZeros(int nPos, int nCount)
{
    if (nPos < 0 || nPos > m_nDataLen || nCount < 1 ||
        static_cast<long long>(m_nDataLen) + nCount > INT_MAX)
        return false;
    auto* pNew =
        static_cast<unsigned char*>(s_pfnCalloc(static_cast<size_t>(m_nDataLen) + nCount, 1));
    if (pNew == nullptr)
        return false;
    AdviseHugePages(pNew, static_cast<size_t>(m_nDataLen) + nCount);
    std::memcpy(pNew, m_pData, static_cast<size_t>(nPos));
    std::memcpy(pNew + nPos + nCount, m_pData + nPos, static_cast<size_t>(m_nDataLen - nPos));
    std::free(m_pData);
    m_pData = pNew;
    m_nDataLen += nCount;
    m_bLayoutDirty = true;
    return true;
}

// The new block keeps one byte beyond the data, so that even empty data have a block. The
// layout is marked before the repaint, which must not draw the old line count.
bool CHexEditCtrl::DeleteBytes(int nFrom, int nTo)
{
    if (nFrom < 0 || nFrom > m_nDataLen || nTo <= nFrom || nTo > m_nDataLen + 1)
        return false;
    const int nNewLen = std::max(m_nDataLen - (nTo - nFrom), 0);
    auto* pNew = static_cast<unsigned char*>(s_pfnMalloc(static_cast<size_t>(nNewLen) + 1));
    if (pNew == nullptr)
        return false;
    AdviseHugePages(pNew, static_cast<size_t>(nNewLen) + 1);
    std::memcpy(pNew, m_pData, static_cast<size_t>(std::min(nFrom, nNewLen + 1)));
    if (nFrom < nNewLen)
        std::memcpy(pNew + nFrom, m_pData + nTo, static_cast<size_t>(m_nDataLen - nTo));
    std::free(m_pData);
    m_pData = pNew;
    m_nDataLen = nNewLen;
    m_bLayoutDirty = true;
    return true;
}
