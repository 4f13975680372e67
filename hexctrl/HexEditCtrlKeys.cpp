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

// One key: the cursor's move, at most one scroll to follow it, one repaint.
void CHexEditCtrl::OnKeyDown(int nChar, bool bShift, bool bCtrl)
{
    if (!m_bHasData)
        return;
    EnsureLayout();
    if (nChar == VK_INSERT)
        InsertKey();
    else if (nChar == VK_DELETE)
        DeleteKey();
    else if (nChar == VK_TAB || (nChar >= VK_PRIOR && nChar <= VK_DOWN))
        ApplyMove(m_cursor.Navigated(GetLayout(), GetPage(), nChar, bShift, bCtrl));
}

// The count is the selection's length as its two ends give it, at least one byte.
void CHexEditCtrl::InsertKey()
{
    if (!InsertZeros(m_cursor.nIndex, std::max(m_cursor.nSelEnd - m_cursor.nSelStart, 1)))
        return;
    m_cursor = m_cursor.Deselected();
    EnsureLayout();
    PlaceCaret(true);
    Refresh(false);
}

// With a selection, Delete is the edit command that does nothing; deleting the last byte leaves
// the caret on the end position.
void CHexEditCtrl::DeleteKey()
{
    if (m_cursor.HasSelection())
    {
        OnEditCommand();
        return;
    }
    if (m_data.GetLength() == 0 || !DeleteBytes(m_cursor.nIndex, m_cursor.nIndex + 1))
        return;
    EnsureLayout();
    if (m_cursor.nIndex > m_data.GetLength())
    {
        m_cursor.nIndex = m_data.GetLength();
        m_cursor = m_cursor.Normalized(GetLayout(), GetPage());
    }
    PlaceCaret(true);
    Refresh(false);
}
