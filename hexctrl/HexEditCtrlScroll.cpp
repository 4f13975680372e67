#include "HexEditCtrl.h"

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

// GTK's overlay scroll bar fades in after every scroll and out again over about ninety frames,
// each of which repaints the dump beneath it, so one Ctrl+End cost a hundred milliseconds of
// processor; while shown it also covers the end of the character column. The dump takes the
// bar that stays, as the other hex editors on the desktop do.
void CHexEditCtrl::UseSteadyScrollBar()
{
#ifdef __WXGTK3__
    if (GtkWidget* pWidget = GetHandle(); pWidget != nullptr && GTK_IS_SCROLLED_WINDOW(pWidget))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(pWidget), FALSE);
#endif
}

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
    if (!m_bHasData)
        return;
    EnsureLayout();
    ScrollCarrying(GetPage().Scrolled(GetLayout(), nSBCode, nPos));
}

void CHexEditCtrl::ScrollCarrying(int nTop)
{
    m_cursor = m_cursor.Scrolled(GetLayout(), GetPage(), nTop);
    // a thumb let go elsewhere goes back to the top line
    if (nTop == m_nTopOffset)
        SetScrollPos(wxVERTICAL, m_nTopOffset / m_nBytesPerLine, true);
    SetTopLine(nTop);
    PlaceCaret(true);
}

// A new top line repaints the window; the scroll bar follows it.
void CHexEditCtrl::SetTopLine(int nTop)
{
    if (nTop == m_nTopOffset)
        return;
    m_nTopOffset = nTop;
    Refresh(false);
    SetScrollPos(wxVERTICAL, m_nTopOffset / m_nBytesPerLine, true);
}

void CHexEditCtrl::ApplyMove(const CHexMove& move)
{
    m_cursor = move.cursor;
    SetTopLine(move.nTop);
    PlaceCaret(true);
}
