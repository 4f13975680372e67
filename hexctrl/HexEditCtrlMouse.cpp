#include "HexEditCtrl.h"

#include <wx/settings.h>

#include <algorithm>
#include <cstdlib>

namespace
{
bool IsHexField(int nField)
{
    return nField >= CHexLayout::FIELD_HIGH && nField <= CHexLayout::FIELD_GROUP_1;
}

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

wxPoint CHexEditCtrl::HitTest(const wxPoint& point)
{
    const wxPoint noHit(-1, -1);
    const int cw = m_nCharWidth;
    const int B = m_nBytesPerLine;
    // a point left of or above the window (while dragging) names no cell
    if (cw <= 0 || m_nLineHeight <= 0 || point.x < 0 || point.y < 0)
        return noHit;
    const int nRow = point.y / m_nLineHeight;
    if (nRow > m_nLinesPerPage || static_cast<long long>(nRow) * B > m_nDataLen)
        return noHit;
    const long long L = m_nTopOffset + static_cast<long long>(nRow) * B;
    const CHexLayout layout = GetLayout();
    const int nCellUnder = point.x / cw;
    const int nHex = nCellUnder - layout.GetHexCol();
    const int nCharCol = layout.GetCharCol();
    long long nIndex = L;
    int nField = CHexLayout::FIELD_ADDRESS;
    int nCell = 0;
    int nCol = 0;
    int nNibble = 0;
    if (m_bShowAddress && nCellUnder < (m_bLongAddress ? 8 : 4))
        nCell = 0;
    else if (m_bShowHex && nHex < layout.GetHexCells() - 1)
    {
        // a blank selects the first digit of the next group, as drawn
        const int nAt = layout.DigitAt(nHex, &nCol, &nNibble) ? nHex : nHex + 1;
        if (!layout.DigitAt(nAt, &nCol, &nNibble))
            return noHit;
        nIndex = L + nCol;
        nField = layout.FieldFor(nCol, nNibble);
        nCell = layout.GetHexCol() + nAt;
    }
    else if (m_bShowChars && nCellUnder < nCharCol + B)
    {
        const int k = std::max(nCellUnder - nCharCol, 0);
        nIndex = L + k;
        nField = CHexLayout::FIELD_CHAR;
        nCell = nCharCol + k;
    }
    else
        return noHit;
    // a digit of a missing byte is no hit
    if (nIndex < 0 || nIndex >= m_nDataLen)
        return noHit;
    m_nCaretPos = static_cast<int>(nIndex);
    m_nCaretField = nField;
    return wxPoint(nCell, nRow);
}

void CHexEditCtrl::OnLButtonDown(int x, int y, bool bShift)
{
    SetFocus();
    if (m_pData == nullptr)
        return;
    EnsureLayout();
    m_bPressPending = false;
    if (bShift)
        m_nSelStart = m_nCaretPos;
    const wxPoint cell = HitTest(wxPoint(x, y));
    if (cell.x >= 0)
    {
        m_nCaretX = cell.x * m_nCharWidth;
        m_nCaretY = cell.y * m_nLineHeight;
        CreateCaretForPos();
        m_caret.SetPos(m_nCaretX, m_nCaretY);
        if (bShift)
        {
            m_nSelEnd = m_nCaretPos + (IsHexField(m_nCaretField) ? 1 : 0);
            RedrawNow();
        }
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
    m_nSelStart = m_nSelEnd = m_nCaretPos;
    if (!HasCapture())
        CaptureMouse();
    m_caret.Destroy();
}

void CHexEditCtrl::OnMouseMove(int x, int y, bool bLButton)
{
    if (m_pData == nullptr || !bLButton)
        return;
    if (m_bPressPending)
    {
        if (std::abs(x - m_ptPress.x) > DragHalf(wxSYS_DRAG_X, this) ||
            std::abs(y - m_ptPress.y) > DragHalf(wxSYS_DRAG_Y, this))
            StartDrag();
        return;
    }
    if (m_nSelStart == -1)
        return;
    // one line of scroll per message above or below the window; the scroll carries the caret
    const int nHeight = GetClientSize().y;
    if (y < 0)
    {
        OnVScroll(SB_LINEUP, 0);
        y = 0;
    }
    else if (y >= nHeight)
    {
        OnVScroll(SB_LINEDOWN, 0);
        y = nHeight - 1;
    }
    const int nOldEnd = m_nSelEnd;
    const wxPoint cell = HitTest(wxPoint(x, y));
    if (cell.x >= 0)
    {
        m_nSelEnd = m_nCaretPos + (IsHexField(m_nCaretField) ? 1 : 0);
        // the caret shows up where its index is once the selection is cleared
        m_nCaretX = cell.x * m_nCharWidth;
        m_nCaretY = cell.y * m_nLineHeight;
    }
    m_caret.Destroy();
    if (m_nSelEnd != nOldEnd)
        RedrawNow();
}

void CHexEditCtrl::OnLButtonUp(int, int)
{
    if (m_bPressPending)
    {
        // no drag: a plain click clears the selection
        m_bPressPending = false;
        const bool bHadSelection = m_nSelStart != -1;
        m_nSelStart = m_nSelEnd = -1;
        if (bHadSelection)
            RedrawNow();
        // a drag destroyed the caret; it comes back where its index is drawn
        if (!m_caret.Exists())
        {
            CreateCaretForPos();
            m_caret.SetPos(m_nCaretX, m_nCaretY);
        }
        ShowCaretIfInView();
    }
    if (m_nSelStart != -1 && HasCapture())
        ReleaseMouse();
}
