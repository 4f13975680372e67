#include "HexEditCtrl.h"

#include <wx/accel.h>

#include <algorithm>

namespace
{
int ToVirtualKey(int nKeyCode)
{
    switch (nKeyCode)
    {
    case WXK_TAB:
        return CHexEditCtrl::VK_TAB;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        return CHexEditCtrl::VK_PRIOR;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        return CHexEditCtrl::VK_NEXT;
    case WXK_END:
    case WXK_NUMPAD_END:
        return CHexEditCtrl::VK_END;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
        return CHexEditCtrl::VK_HOME;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        return CHexEditCtrl::VK_LEFT;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return CHexEditCtrl::VK_UP;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        return CHexEditCtrl::VK_RIGHT;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return CHexEditCtrl::VK_DOWN;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
        return CHexEditCtrl::VK_INSERT;
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
        return CHexEditCtrl::VK_DELETE;
    default:
        return 0;
    }
}

bool IsHexField(int nField)
{
    return nField >= CHexLayout::FIELD_HIGH && nField <= CHexLayout::FIELD_GROUP_1;
}
} // namespace

void CHexEditCtrl::OnKeyDownEvent(wxKeyEvent& event)
{
    if (RunFrameAccelerator(event))
        return;
    const int nChar = ToVirtualKey(event.GetKeyCode());
    if (nChar == 0 || event.AltDown())
    {
        // characters go on to OnChar; Alt keys are the menu's
        event.Skip();
        return;
    }
    OnKeyDown(nChar, event.ShiftDown(), event.ControlDown());
}

// The frame's accelerators come before the control, as users of the edit keys expect:
// Shift+Delete or Ctrl+Insert must not reach the control as Delete or Insert. A command
// shown disabled is swallowed.
bool CHexEditCtrl::RunFrameAccelerator(const wxKeyEvent& event)
{
    for (wxWindow* pWnd = GetParent(); pWnd != nullptr; pWnd = pWnd->GetParent())
    {
        const wxAcceleratorTable* pTable = pWnd->GetAcceleratorTable();
        const int nCommand = pTable != nullptr && pTable->IsOk() ? pTable->GetCommand(event) : -1;
        if (nCommand != -1)
        {
            wxUpdateUIEvent update(nCommand);
            update.SetEventObject(pWnd);
            pWnd->ProcessWindowEvent(update);
            if (!update.GetSetEnabled() || update.GetEnabled())
            {
                wxCommandEvent command(wxEVT_MENU, nCommand);
                command.SetEventObject(pWnd);
                pWnd->ProcessWindowEvent(command);
            }
            return true;
        }
        if (pWnd->IsTopLevel())
            break;
    }
    return false;
}

void CHexEditCtrl::OnKeyDown(int nChar, bool bShift, bool bCtrl)
{
    if (m_pData == nullptr)
        return;
    const bool bSavedScroll = m_bCaretScroll;
    m_bCaretScroll = true;
    const bool bNavigation = nChar >= VK_PRIOR && nChar <= VK_DOWN;
    if (bNavigation)
    {
        if (!bShift)
            SetSelection(-1, -1);
        else if (m_nSelStart == -1)
            m_nSelStart = m_nCaretPos;
    }
    switch (nChar)
    {
    case VK_TAB:
        TabMove();
        break;
    case VK_PRIOR:
    case VK_NEXT:
        OnVScroll(nChar == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN, 0);
        MoveCaret(0, 0);
        break;
    case VK_END:
        EndMove(bCtrl);
        MoveCaret(0, 0);
        break;
    case VK_HOME:
        HomeMove(bCtrl);
        MoveCaret(0, 0);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        MoveCaret(nChar == VK_LEFT ? -1 : 1, 0);
        break;
    case VK_UP:
    case VK_DOWN:
        MoveCaret(0, nChar == VK_UP ? -1 : 1);
        break;
    case VK_INSERT:
        // the count is the selection's length as its two ends give it, at least one byte
        InsertZeros(m_nCaretPos, std::max(m_nSelEnd - m_nSelStart, 1));
        RedrawNow();
        break;
    case VK_DELETE:
        // with a selection, Delete is the edit command that does nothing
        if (m_nSelStart != -1)
            OnEditCommand();
        else if (m_nDataLen > 0)
        {
            DeleteBytes(m_nCaretPos, m_nCaretPos + 1);
            RedrawNow();
        }
        break;
    default:
        break;
    }
    if (bNavigation && bShift)
    {
        // only Right and Down end past the caret's byte in the hex column
        const bool bForward = nChar == VK_RIGHT || nChar == VK_DOWN;
        m_nSelEnd = m_nCaretPos + (bForward && IsHexField(m_nCaretField) ? 1 : 0);
        RedrawNow();
    }
    m_bCaretScroll = bSavedScroll;
}

// Tab takes the caret to the high digit of its own byte, or from the hex column to the byte's
// character.
void CHexEditCtrl::TabMove()
{
    if (IsHexField(m_nCaretField))
        m_nCaretField = CHexLayout::FIELD_CHAR;
    else
    {
        const int nCol = static_cast<int>(m_nCaretPos - LineStartOf(m_nCaretPos));
        m_nCaretField = GetLayout().FieldFor(nCol, 0);
    }
    MoveCaret(0, 0);
}

// Line boundaries count from index 0, whatever the top line; the field is kept.
void CHexEditCtrl::HomeMove(bool bCtrl)
{
    if (bCtrl)
    {
        OnVScroll(SB_THUMBTRACK, 0);
        m_nCaretPos = 0;
    }
    else
        m_nCaretPos = m_nCaretPos / m_nBytesPerLine * m_nBytesPerLine;
}

// Data emptied by deletes leave the caret on the end position, index 0.
void CHexEditCtrl::EndMove(bool bCtrl)
{
    const int B = m_nBytesPerLine;
    const int nLast = std::max(m_nDataLen - 1, 0);
    if (bCtrl)
    {
        m_nCaretPos = nLast;
        // the rounded line count of the data ends at the bottom of the window
        OnVScroll(SB_THUMBTRACK,
                  m_bDataFitsWindow ? 0 : (m_nDataLen + B / 2) / B - m_nLinesPerPage);
        return;
    }
    m_nCaretPos = std::min(m_nCaretPos / B * B + B - 1, nLast);
}

void CHexEditCtrl::MoveCaret(int nDx, int nDy)
{
    if (m_nCaretField == CHexLayout::FIELD_ADDRESS)
        return;
    const int nOld = m_nCaretPos;
    if (nDx != 0)
        StepAcross(nDx);
    long long nPos = m_nCaretPos + static_cast<long long>(nDy) * m_nBytesPerLine;
    if (nPos < 0)
        nPos = 0;
    if (nPos >= m_nDataLen)
        nPos = nOld;
    m_nCaretPos = static_cast<int>(nPos);
    m_bCaretScroll = true;
    if (m_nCaretPos < m_nTopOffset)
        OnVScroll(SB_LINEUP, 0);
    if (m_nCaretPos >= m_nTopOffset + static_cast<long long>(m_nLinesPerPage) * m_nBytesPerLine)
        OnVScroll(SB_LINEDOWN, 0);
    m_bCaretScroll = false;
    PlaceCaret(m_nCaretPos);
}

// One character, or one hex digit as drawn: the walk skips the blank after each group and
// the blank digits of missing bytes and crosses to the neighbouring line at a line's end. At
// the data's ends the caret goes to the other end of its own group.
void CHexEditCtrl::StepAcross(int nDx)
{
    if (m_nCaretField == CHexLayout::FIELD_CHAR)
    {
        m_nCaretPos = m_nCaretPos + nDx < m_nDataLen ? std::max(m_nCaretPos + nDx, 0) : m_nCaretPos;
        return;
    }
    const CHexLayout layout = GetLayout();
    const long long nLineStart = LineStartOf(m_nCaretPos);
    const int nCell = layout.DigitCell(static_cast<int>(m_nCaretPos - nLineStart),
                                       CHexLayout::NibbleOf(m_nCaretField));
    const int nCells = layout.GetHexCells();
    const auto tryCell = [&](long long nStart, int nAt)
    {
        int nCol = 0;
        int nNibble = 0;
        if (!layout.DigitAt(nAt, &nCol, &nNibble) || nStart + nCol < 0 ||
            nStart + nCol >= m_nDataLen)
            return false;
        m_nCaretPos = static_cast<int>(nStart + nCol);
        m_nCaretField = layout.FieldFor(nCol, nNibble);
        return true;
    };
    for (int nAt = nCell + nDx; nAt >= 0 && nAt < nCells; nAt += nDx)
        if (tryCell(nLineStart, nAt))
            return;
    const long long nNext = nLineStart + static_cast<long long>(nDx) * m_nBytesPerLine;
    for (int nAt = nDx > 0 ? 0 : nCells - 1; nAt >= 0 && nAt < nCells; nAt += nDx)
        if (tryCell(nNext, nAt))
            return;
    if (m_nCaretPos >= m_nDataLen)
        return;
    const int nGroupCells = layout.GetGroupCells();
    const int nGroup = nCell / nGroupCells * nGroupCells;
    for (int nAt = nDx > 0 ? nGroup : nGroup + nGroupCells - 2; nAt != nCell; nAt += nDx)
        if (tryCell(nLineStart, nAt))
            return;
}
