// The hex-edit child window: shows a private copy of a byte buffer as an address column,
// a hex column grouped in words and a character column, with a caret to edit it.
#pragma once

#include "HexCaret.h"
#include "HexGlyphs.h"
#include "HexLayout.h"

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/window.h>

class CHexEditCtrl : public wxWindow
{
public:
    // Scroll codes of OnVScroll, numbered as the scroll messages number them.
    enum
    {
        SB_LINEUP = 0,
        SB_LINEDOWN = 1,
        SB_PAGEUP = 2,
        SB_PAGEDOWN = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_BOTTOM = 7,
        SB_ENDSCROLL = 8
    };

    // Edit commands the control accepts and ignores.
    enum
    {
        ID_EDIT_CLEAR = 57632,
        ID_EDIT_COPY = 57634,
        ID_EDIT_CUT = 57635,
        ID_EDIT_PASTE = 57637,
        ID_EDIT_SELECT_ALL = 57642,
        ID_EDIT_UNDO = 57643
    };

    CHexEditCtrl();
    ~CHexEditCtrl() override;
    CHexEditCtrl(const CHexEditCtrl&) = delete;
    CHexEditCtrl& operator=(const CHexEditCtrl&) = delete;

    // Creates the window with a vertical scroll bar and every key delivered to it, and sets
    // the control's font. The view passes the name "hexEd".
    bool Create(const wxString& strWindowName, long nStyle, const wxRect& rect,
                wxWindow* pParentWnd, wxWindowID nID);

    // Copies nLen bytes (none for a null pSrc or nLen <= 0) and resets caret and scroll
    // position; with a window and data, the caret is shown on the first hex digit.
    void SetData(const unsigned char* pSrc, int nLen);
    // Base address of byte 0 in words, and bytes per word (bounded to 1..4). No redraw.
    void SetAddressInfo(int nBaseAddress, int nWordLen);
    // 1: the bytes of a word are shown last byte first; anything else: in stored order.
    void SetByteOrder(int nOrder);
    int GetByteOrder() const { return m_nByteOrder; }
    // Takes effect at the next paint; bounded to the line buffer and made a multiple of
    // the word length.
    void SetBytesPerLine(int nBytes);
    // More than 4 digits gives 8-digit addresses, otherwise 4.
    void SetAddressDigits(int nDigits);
    int GetDataLength() const { return m_nDataLen; }
    int GetBytesPerLine() const { return m_nBytesPerLine; }

    // Draws up to nMaxLines dump lines from byte *pOffset at y = nTop onto a printer or
    // preview context whose font is already selected, while each line's bottom lies above
    // the bottom of the page (in the context's logical units, given by the caller: a
    // preview's context is smaller than the page); *pOffset advances by the bytes per line
    // for each line drawn. No data or a negative offset draw nothing.
    void PrintLines(wxDC& dc, int* pOffset, int nTop, int nMaxLines, const wxSize& page) const;
    // Characters of a full printed line, so that the printer font can be fitted to it.
    int GetPrintLineChars() const { return GetLayout().GetLineChars(CHexLayout::LINE_PRINT); }

    // Draws the whole control as OnPaint does, onto any context of the client size.
    void RenderTo(wxDC& dc, const wxSize& size);

    // The caret does not blink while this is off (tests turn it off).
    static void EnableCaretBlink(bool bEnable) { CHexCaret::EnableBlink(bEnable); }

protected:
    // Scrolling, focus and caret.
    void OnVScroll(int nSBCode, int nPos);
    void UpdateScrollBars();
    void CreateWideCaret();
    void CreateNarrowCaret();
    // Places the caret for byte index nPos, which becomes the caret index: inside a word it
    // moves to the byte drawn under the caret field. Shown only when its cell is in view.
    void PlaceCaret(int nPos);
    void SetSelection(int nStart, int nEnd);

    // Repaints the whole window before returning.
    void RedrawNow();

private:
    friend struct CHexEditCtrlProbe;

    void OnPaint(wxPaintEvent& event);
    void OnEraseBkgnd(wxEraseEvent& event);
    void OnScrollWin(wxScrollWinEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnEditCommand(wxCommandEvent& event);
    void OnEditUndo(wxCommandEvent& event);

    void ResetCaretOnScreen();
    CHexLayout GetLayout() const;
    void RecalcLayout(int nClientHeight);
    void EnsureLayout();
    void DrawLines(const CHexGlyphs::CFrame& frame, int nBottom) const;
    void DrawCaret(const CHexGlyphs::CFrame& frame) const;

    void CarryCaret(int nDelta);
    void ComputeCaret(int nPos);
    void CreateCaretForPos();
    bool IsCaretInView() const;
    void ShowCaretIfInView();

    unsigned char* m_pData = nullptr;
    int m_nDataLen = 0;
    int m_nTopOffset = 0;
    int m_nBaseAddress = 0;
    int m_nWordLen = 1;
    int m_nByteOrder = 1;
    int m_nCaretPos = 0;
    int m_nCaretField = 0;
    int m_nSelStart = -1;
    int m_nSelEnd = -1;
    int m_nBytesPerLine = 8;
    int m_nLinesPerPage = 1;
    bool m_bShowAddress = true;
    bool m_bShowChars = true;
    bool m_bShowHex = true;
    bool m_bLongAddress = false;
    bool m_bCaretScroll = false;
    bool m_bDataFitsWindow = true;
    wxFont m_font;
    int m_nLineHeight = 0;
    int m_nCharWidth = 0;
    bool m_bLayoutDirty = true;
    int m_nHexX = 0;
    int m_nCharX = 0;
    int m_nAddrX = 0;
    int m_nCaretX = 0;
    int m_nCaretY = 0;

    CHexCaret m_caret;
    CHexGlyphs m_glyphs;
    wxBitmap m_bmpFrame; // the off-screen picture, kept while the size stays

    // Allocates the buffer for SetData; replaceable so that a failure can be exercised.
    static void* (*s_pfnMalloc)(size_t);

    wxDECLARE_EVENT_TABLE();
};
