#include "HexEditCtrl.h"

#include <wx/settings.h>

#include <algorithm>
#include <cstdlib>

namespace
{
// Half the system's drag rectangle, which is centred on the pressed point.
int DragHalf(wxSystemMetric metric, const wxWindow* pWnd)
{
    return std::max(wxSystemSettings::GetMetric(metric, pWnd) / 2, 1);
}
} // namespace

void CHexEditCtrl::OnLeftDownEvent(wxMouseEvent& event)
{
    OnLButtonDown(event.GetX(), event.GetY(), event.ShiftDown());
}

void CHexEditCtrl::OnMotionEvent(wxMouseEvent& event)
{
    OnMouseMove(event.GetX(), event.GetY(), event.LeftIsDown());
}

void CHexEditCtrl::OnLeftUpEvent(wxMouseEvent& event)
{
    OnLButtonUp(event.GetX(), event.GetY());
    event.Skip();
}

// The second press of a double click neither moves the caret nor starts a drag.
void CHexEditCtrl::OnLeftDClickEvent(wxMouseEvent&) {}

// Another window took the mouse: the drag ends, its selection stays.
void CHexEditCtrl::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_bPressPending = false;
}

bool CHexEditCtrl::HitCursor(int x, int y, CHexCursor* pCursor) const
{
    const CHexLayout layout = GetLayout();
    CHexLayout::CHit hit;
    return layout.CellAt(x, y, &hit) && m_cursor.AtHit(layout, GetPage(), hit, pCursor);
}

void CHexEditCtrl::OnLButtonDown(int x, int y, bool bShift)
{
    SetFocus();
    if (!m_bHasData)
        return;
    EnsureLayout();
    m_bPressPending = false;
    if (bShift)
        m_cursor.nSelStart = m_cursor.nIndex;
    if (HitCursor(x, y, &m_cursor))
    {
        // shown when the button comes up without a drag
        PlaceCaret(false);
        if (bShift)
            m_cursor = m_cursor.SelectedTo(true);
    }
    if (bShift)
        return;
    // a plain press becomes a drag when the mouse leaves the drag rectangle, a click when
    // the button is released first
    m_bPressPending = true;
    m_ptPress = wxPoint(x, y);
}

void CHexEditCtrl::StartDrag()
{
    m_bPressPending = false;
    m_cursor.nSelStart = m_cursor.nSelEnd = m_cursor.nIndex;
    if (!HasCapture())
        CaptureMouse();
    m_caret.Destroy();
}

void CHexEditCtrl::OnMouseMove(int x, int y, bool bLButton)
{
    if (!m_bHasData || !bLButton)
        return;
    if (m_bPressPending)
    {
        if (std::abs(x - m_ptPress.x) > DragHalf(wxSYS_DRAG_X, this) ||
            std::abs(y - m_ptPress.y) > DragHalf(wxSYS_DRAG_Y, this))
            StartDrag();
        return;
    }
    if (!m_cursor.HasSelection())
        return;
    EnsureLayout();
    // one line of scroll per mouse move above or below the window; the scroll carries the caret
    const int nHeight = GetClientSize().y;
    if (y < 0 || y >= nHeight)
    {
        ScrollCarrying(y < 0 ? GetPage().LineUp(GetLayout()) : GetPage().LineDown(GetLayout()));
        y = y < 0 ? 0 : nHeight - 1;
    }
    if (HitCursor(x, y, &m_cursor))
        m_cursor = m_cursor.SelectedTo(true);
    // the caret shows up where its index is once the selection is cleared
    m_caret.Destroy();
}

void CHexEditCtrl::OnLButtonUp(int, int)
{
    if (m_bPressPending)
    {
        // no drag: a plain click clears the selection
        m_bPressPending = false;
        m_cursor = m_cursor.Deselected();
        // a drag destroyed the caret; it comes back where its index is drawn
        if (!m_caret.Exists())
            PlaceCaret(false);
        ShowCaretIfInView();
    }
    if (m_cursor.HasSelection() && HasCapture())
        ReleaseMouse();
}
