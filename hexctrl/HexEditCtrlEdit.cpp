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
        else if (nChar == 22 || m_nSelStart != -1)
            OnEditCommand();
        return;
    }
    if (nChar == VK_BACK)
    {
        if (m_nCaretPos <= 0)
            return;
        --m_nCaretPos;
        DeleteBytes(m_nCaretPos, m_nCaretPos + 1);
        PlaceCaret(m_nCaretPos);
        RedrawNow();
        return;
    }
    SetSelection(-1, -1);
    if (m_nCaretField == CHexLayout::FIELD_ADDRESS)
        return;
    const int nEdited = m_nCaretPos;
    TypeCharacter(nChar);
    // at once, and only the edited byte's line besides the caret's cells: a scroll that
    // followed the caret has already repainted everything
    const long long nRow = (LineStartOf(nEdited) - m_nTopOffset) / m_nBytesPerLine;
    if (nRow >= 0 && nRow <= m_nLinesPerPage)
        RefreshRect(
            wxRect(0, static_cast<int>(nRow) * m_nLineHeight, GetClientSize().x, m_nLineHeight),
            false);
    Update();
}

// Typing overwrites and never appends: on the end position nothing is written, and the caret
// steps as after any accepted character.
void CHexEditCtrl::TypeCharacter(int nChar)
{
    const bool bInData = m_nCaretPos >= 0 && m_nCaretPos < m_nDataLen;
    if (m_nCaretField == CHexLayout::FIELD_CHAR)
    {
        if (bInData)
            m_pData[m_nCaretPos] = static_cast<unsigned char>(nChar & 0xFF);
        MoveCaret(1, 0);
        return;
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
        return;
    if (bInData)
    {
        unsigned char& byte = m_pData[m_nCaretPos];
        byte = CHexLayout::NibbleOf(m_nCaretField) == 0
                   ? static_cast<unsigned char>((byte & 0x0F) | (nValue << 4))
                   : static_cast<unsigned char>((byte & 0xF0) | nValue);
    }
    MoveCaret(1, 0);
}

void CHexEditCtrl::InsertZeros(int nPos, int nCount)
{
    if (nPos < 0 || nPos > m_nDataLen || nCount < 1 ||
        static_cast<long long>(m_nDataLen) + nCount > INT_MAX)
        return;
    auto* pNew =
        static_cast<unsigned char*>(s_pfnCalloc(static_cast<size_t>(m_nDataLen) + nCount, 1));
    if (pNew == nullptr)
        return;
    AdviseHugePages(pNew, static_cast<size_t>(m_nDataLen) + nCount);
    std::memcpy(pNew, m_pData, static_cast<size_t>(nPos));
    std::memcpy(pNew + nPos + nCount, m_pData + nPos, static_cast<size_t>(m_nDataLen - nPos));
    std::free(m_pData);
    m_pData = pNew;
    m_nDataLen += nCount;
    m_bLayoutDirty = true;
    SetSelection(-1, -1);
}

// The new block keeps one byte beyond the data, so that even empty data have a block. The
// layout is marked before the repaint, which must not draw the old line count.
void CHexEditCtrl::DeleteBytes(int nFrom, int nTo)
{
    if (nFrom < 0 || nFrom > m_nDataLen || nTo <= nFrom || nTo > m_nDataLen + 1)
        return;
    const int nNewLen = std::max(m_nDataLen - (nTo - nFrom), 0);
    auto* pNew = static_cast<unsigned char*>(s_pfnMalloc(static_cast<size_t>(nNewLen) + 1));
    if (pNew == nullptr)
        return;
    AdviseHugePages(pNew, static_cast<size_t>(nNewLen) + 1);
    std::memcpy(pNew, m_pData, static_cast<size_t>(std::min(nFrom, nNewLen + 1)));
    if (nFrom < nNewLen)
        std::memcpy(pNew + nFrom, m_pData + nTo, static_cast<size_t>(m_nDataLen - nTo));
    std::free(m_pData);
    m_pData = pNew;
    m_nDataLen = nNewLen;
    m_bLayoutDirty = true;
    SetSelection(-1, -1);
    if (m_nCaretPos > m_nDataLen)
    {
        m_nCaretPos = m_nDataLen;
        PlaceCaret(m_nCaretPos);
    }
}
