#include "HexEditCtrl.h"

#include <wx/dcclient.h>
#include <wx/display.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
// "Courier New" with a character height of 12 logical pixels: the em size, not the line
// height. A scaled desktop reports its device resolution; text is laid out in logical pixels.
wxFont MakeDisplayFont()
{
    const double dScale = wxDisplay().GetScaleFactor();
    const double dPixelsPerInch = wxGetDisplayPPI().y > 0 ? wxGetDisplayPPI().y : 96;
    return wxFont(
        wxFontInfo(12.0 * 72.0 * std::max(dScale, 1.0) / dPixelsPerInch).FaceName("Courier New"));
}
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CHexEditCtrl, wxWindow)
    EVT_CONTEXT_MENU(CHexEditCtrl::OnContextMenu)
    EVT_KILL_FOCUS(CHexEditCtrl::OnKillFocus)
    EVT_PAINT(CHexEditCtrl::OnPaint)
    EVT_SET_FOCUS(CHexEditCtrl::OnSetFocus)
    EVT_SCROLLWIN(CHexEditCtrl::OnScrollWin)
    EVT_ERASE_BACKGROUND(CHexEditCtrl::OnEraseBkgnd)
    EVT_SIZE(CHexEditCtrl::OnSize)
    EVT_KEY_DOWN(CHexEditCtrl::OnKeyDownEvent)
    EVT_CHAR(CHexEditCtrl::OnCharEvent)
    EVT_LEFT_DOWN(CHexEditCtrl::OnLeftDownEvent)
    EVT_LEFT_DCLICK(CHexEditCtrl::OnLeftDClickEvent)
    EVT_MOTION(CHexEditCtrl::OnMotionEvent)
    EVT_LEFT_UP(CHexEditCtrl::OnLeftUpEvent)
    EVT_MOUSE_CAPTURE_LOST(CHexEditCtrl::OnCaptureLost)
    EVT_MENU(ID_EDIT_CLEAR, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(ID_EDIT_COPY, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(ID_EDIT_CUT, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(ID_EDIT_PASTE, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(ID_EDIT_SELECT_ALL, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(ID_EDIT_UNDO, CHexEditCtrl::OnEditUndoEvent)
    EVT_MENU(wxID_CLEAR, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(wxID_COPY, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(wxID_CUT, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(wxID_PASTE, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(wxID_SELECTALL, CHexEditCtrl::OnEditCommandEvent)
    EVT_MENU(wxID_UNDO, CHexEditCtrl::OnEditUndoEvent)
wxEND_EVENT_TABLE();
// clang-format on

CHexEditCtrl::CHexEditCtrl() : m_font(MakeDisplayFont()), m_caret(this) {}

CHexEditCtrl::~CHexEditCtrl()
{
    // a drag in progress holds the mouse
    if (HasCapture())
        ReleaseMouse();
}

bool CHexEditCtrl::Create(const wxString& strWindowName, long nStyle, const wxRect& rect,
                          wxWindow* pParentWnd, wxWindowID nID)
{
    // the paint covers the whole client area, so nothing is erased before it
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(pParentWnd, nID, rect.GetPosition(), rect.GetSize(),
                          nStyle | wxVSCROLL | wxWANTS_CHARS, strWindowName))
        return false;
    SetFont(m_font);
    TakeThemeColours();
    UseSteadyScrollBar();
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CHexEditCtrl::OnLookChanged, this);
    Bind(wxEVT_DPI_CHANGED, &CHexEditCtrl::OnLookChanged, this);
    return true;
}

void CHexEditCtrl::SetData(const unsigned char* pSrc, int nLen)
{
    // a copy that cannot be had leaves the control empty
    m_data.Clear();
    m_bHasData = pSrc != nullptr && nLen > 0 && m_data.Copy(pSrc, nLen);
    ShowNewData();
}

void CHexEditCtrl::ShareData(const unsigned char* pSrc, int nLen,
                             std::shared_ptr<const void> pOwner)
{
    m_data.Share(pSrc, nLen, std::move(pOwner));
    m_bHasData = m_data.GetLength() > 0;
    ShowNewData();
}

void CHexEditCtrl::ShowNewData()
{
    const int nDataLen = m_data.GetLength();
    m_nTopOffset = 0;
    m_bLayoutDirty = true;
    // the caret starts on the first digit drawn, so its index is the byte drawn there
    m_cursor.nField = m_nWordLen == 2 ? CHexLayout::FIELD_GROUP_1 : CHexLayout::FIELD_HIGH;
    m_cursor.nIndex = std::min(GetLayout().DrawnOffset(0), std::max(nDataLen - 1, 0));
    m_cursor = m_cursor.Normalized(GetLayout(), GetPage());
    if (GetHandle() == nullptr)
        return;
    if (nDataLen != 0)
    {
        m_cursor = m_cursor.Deselected();
        EnsureLayout();
        PlaceCaret(true);
        Refresh(false);
        return;
    }
    // an empty control shows neither the old scroll bar nor a caret
    m_caret.Destroy();
    SetScrollbar(wxVERTICAL, 0, 0, 0, true);
}

void CHexEditCtrl::SetAddressInfo(int nBaseAddress, int nWordLen)
{
    m_nBaseAddress = nBaseAddress;
    m_nWordLen = CHexLayout::BoundWordLen(nWordLen);
    ApplyLineWidth();
}

// Derived from the width as given, so the order of the two setters does not matter; the next
// paint, whatever its cause, shows the new groups.
void CHexEditCtrl::ApplyLineWidth()
{
    m_nBytesPerLine = CHexLayout::BoundBytesPerLine(m_nBytesPerLineGiven, m_nWordLen);
    m_bLayoutDirty = true;
}

void CHexEditCtrl::SetByteOrder(int nOrder)
{
    m_nByteOrder = nOrder;
    if (!m_bHasData)
        return;
    // the caret keeps naming the digit it is drawn on, at pixels of a real layout
    if (GetHandle() != nullptr)
        EnsureLayout();
    m_cursor = m_cursor.Normalized(GetLayout(), GetPage());
    const wxRect rect = GetCaretRect();
    m_caret.SetPos(rect.x, rect.y);
}

void CHexEditCtrl::SetBytesPerLine(int nBytes)
{
    m_nBytesPerLineGiven = nBytes;
    ApplyLineWidth();
}

void CHexEditCtrl::SetAddressDigits(int nDigits)
{
    m_bLongAddress = nDigits > 4;
    m_bLayoutDirty = true;
}

CHexLayout CHexEditCtrl::GetLayout() const
{
    CHexLayout layout(m_nWordLen, m_nBytesPerLine, m_nByteOrder, m_bLongAddress ? 8 : 4, true,
                      true);
    layout.SetCellSize(m_nCharWidth, m_nLineHeight);
    return layout;
}

CHexPage CHexEditCtrl::GetPage() const
{
    return {m_nTopOffset, m_nLinesPerPage, m_data.GetLength()};
}

void CHexEditCtrl::OnEraseBkgnd(wxEraseEvent&) {}

void CHexEditCtrl::OnContextMenu(wxContextMenuEvent&) {}

void CHexEditCtrl::OnEditCommandEvent(wxCommandEvent&)
{
    OnEditCommand();
}

void CHexEditCtrl::OnEditUndoEvent(wxCommandEvent&)
{
    OnEditUndo();
}

// A new height changes the lines per page, the fit flag and the scroll bar.
void CHexEditCtrl::OnSize(wxSizeEvent& event)
{
    if (GetClientSize().y != m_nLayoutHeight)
        m_bLayoutDirty = true;
    event.Skip();
}
