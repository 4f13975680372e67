// The hex-edit child window: shows a private copy of a byte buffer as an address column,
// a hex column grouped in words and a character column, with a caret to edit it.
#pragma once

#include "HexBuffer.h"
#include "HexCaret.h"
#include "HexCursor.h"
#include "HexGlyphs.h"
#include "HexLayout.h"
#include "HexPicture.h"

#include <wx/font.h>
#include <wx/window.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CHexEditCtrl : public wxWindow
{
public:
    // Scroll codes of OnVScroll; tests and the scroll bar's events use these numbers.
    enum
    {
        SB_LINEUP = CHexPage::SCROLL_LINE_UP,
        SB_LINEDOWN = CHexPage::SCROLL_LINE_DOWN,
        SB_PAGEUP = CHexPage::SCROLL_PAGE_UP,
        SB_PAGEDOWN = CHexPage::SCROLL_PAGE_DOWN,
        SB_THUMBPOSITION = CHexPage::SCROLL_THUMB_POSITION,
        SB_THUMBTRACK = CHexPage::SCROLL_THUMB_TRACK,
        SB_TOP = CHexPage::SCROLL_TOP,
        SB_BOTTOM = CHexPage::SCROLL_BOTTOM,
        SB_ENDSCROLL = CHexPage::SCROLL_END
    };

    // Key codes of OnKeyDown, to which the toolkit's key codes are mapped; tests name keys by
    // these numbers.
    enum
    {
        VK_BACK = 8,
        VK_TAB = CHexCursor::KEY_TAB,
        VK_PRIOR = CHexCursor::KEY_PAGE_UP,
        VK_NEXT = CHexCursor::KEY_PAGE_DOWN,
        VK_END = CHexCursor::KEY_END,
        VK_HOME = CHexCursor::KEY_HOME,
        VK_LEFT = CHexCursor::KEY_LEFT,
        VK_UP = CHexCursor::KEY_UP,
        VK_RIGHT = CHexCursor::KEY_RIGHT,
        VK_DOWN = CHexCursor::KEY_DOWN,
        VK_INSERT = 45,
        VK_DELETE = 46
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
    // As SetData, but shows the bytes without copying them: pOwner keeps them alive and
    // unchanged while the control shows them, and edits copy only the part they change.
    void ShareData(const unsigned char* pSrc, int nLen, std::shared_ptr<const void> pOwner);
    // Base address of byte 0 in words, and bytes per word (bounded to 1..4). No redraw; the
    // line width follows from the width given last and this word length.
    void SetAddressInfo(int nBaseAddress, int nWordLen);
    // 1: the bytes of a word are shown last byte first; anything else: in stored order.
    void SetByteOrder(int nOrder);
    int GetByteOrder() const { return m_nByteOrder; }
    // Takes effect at the next paint; bounded to the line buffer and made a multiple of
    // the word length, whichever of the two was given first.
    void SetBytesPerLine(int nBytes);
    // More than 4 digits gives 8-digit addresses, otherwise 4.
    void SetAddressDigits(int nDigits);
    int GetDataLength() const { return m_data.GetLength(); }
    int GetCaretIndex() const { return m_cursor.nIndex; }
    int GetBytesPerLine() const { return m_nBytesPerLine; }

    // Draws up to nMaxLines dump lines from byte *pOffset at y = nTop onto a printer or
    // preview context whose font is already selected, while each line's bottom lies above
    // the bottom of the page (in the context's logical units, given by the caller: a
    // preview's context is smaller than the page); *pOffset advances by the bytes per line
    // for each line drawn, lines nPitch apart. No data or a negative offset draw nothing.
    void PrintLines(wxDC& dc, int* pOffset, int nTop, int nMaxLines, int nPitch,
                    const wxSize& page) const;
    // Characters of a full printed line, so that the printer font can be fitted to it.
    int GetPrintLineChars() const { return GetLayout().GetLineChars(CHexLayout::LINE_PRINT); }

    // Draws the whole control as OnPaint does, onto any context of the client size.
    void RenderTo(wxDC& dc, const wxSize& size);
    // Copies only rcUpdate of the composed picture to dc: most of a paint's cost is moving
    // pixels to the screen, and a caret step or a typed digit changes a few cells.
    void RenderTo(wxDC& dc, const wxSize& size, const wxRect& rcUpdate);

    // The caret does not blink while this is off (tests turn it off).
    static void EnableCaretBlink(bool bEnable) { CHexCaret::EnableBlink(bEnable); }

protected:
    // The scroll bar: moves the top line and carries the caret along inside the data.
    void OnVScroll(int nSBCode, int nPos);
    // Places the caret for byte index nPos, which becomes the caret index: inside a word it
    // moves to the byte drawn under the caret field. Shown only when its cell is in view.
    void PlaceCaret(int nPos);
    void SetSelection(int nStart, int nEnd);

    // Keyboard: nChar is a key code above; every call is one step.
    void OnKeyDown(int nChar, bool bShift, bool bCtrl);
    // Typing: nChar is the character code; Control codes 3, 22, 24 and 26 do nothing.
    void OnChar(int nChar, bool bCtrl);
    // Inserts nCount zero bytes before index nPos; removes the bytes nFrom .. nTo - 1. A block
    // that cannot be had leaves the data as they were and gives false.
    bool InsertZeros(int nPos, int nCount);
    bool DeleteBytes(int nFrom, int nTo);
    void OnEditCommand() {}
    void OnEditUndo() {}

    // Mouse, at client coordinates.
    void OnLButtonDown(int x, int y, bool bShift);
    void OnMouseMove(int x, int y, bool bLButton);
    void OnLButtonUp(int x, int y);

private:
    friend struct CHexEditCtrlProbe;

    void OnPaint(wxPaintEvent& event);
    void OnEraseBkgnd(wxEraseEvent& event);
    void OnScrollWin(wxScrollWinEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnEditCommandEvent(wxCommandEvent& event);
    void OnEditUndoEvent(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);
    // The theme or the scale changed.
    void OnLookChanged(wxEvent& event);
    void OnKeyDownEvent(wxKeyEvent& event);
    void OnCharEvent(wxKeyEvent& event);
    bool RunFrameAccelerator(const wxKeyEvent& event);
    void OnLeftDownEvent(wxMouseEvent& event);
    void OnMotionEvent(wxMouseEvent& event);
    void OnLeftUpEvent(wxMouseEvent& event);
    void OnLeftDClickEvent(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);

    // Takes a move's cursor and top line: at most one scroll, one repaint, the caret placed once.
    void ApplyMove(const CHexMove& move);
    // Moves the top line and carries the caret by as many bytes, as the scroll bar does.
    void ScrollCarrying(int nTop);
    void SetTopLine(int nTop);
    void InsertKey();
    void DeleteKey();
    void Backspace();
    // Writes a typed character or hex digit under the caret; false for a character that is
    // no hex digit in the hex column.
    bool TypeCharacter(int nChar);
    void RefreshLineOf(int nPos);
    void StartDrag();
    bool HitCursor(int x, int y, CHexCursor* pCursor) const;
    void ApplyLineWidth();

    // The bytes as painting and printing read them and typing writes them. A byte that
    // cannot be written (no memory for its chunk) keeps its old value.
    int ReadLine(int nLineStart, unsigned char* pLine) const
    {
        return m_data.Read(nLineStart, m_nBytesPerLine, pLine);
    }
    unsigned char GetByte(int nPos) const { return m_data.At(nPos); }
    void PutByte(int nPos, unsigned char byte) { m_data.Set(nPos, byte); }
    // After new data: caret on the first digit drawn, top line 0, the bar and caret anew.
    void ShowNewData();

    CHexLayout GetLayout() const;
    CHexPage GetPage() const;
    void RecalcLayout(int nClientHeight);
    void EnsureLayout();
    void ComposeRows(const CHexGlyphs::CFrame& frame, int nClientHeight, bool bAll);
    void GetDrawnCaretCells(int nClientHeight, int* pRow, int* pFirst, int* pCount) const;
    int GetDeviceScale() const;
    void TakeThemeColours();
    void UseSteadyScrollBar();
    // Builds the glyph cells for the window's scale unless they are built; true when built.
    bool EnsureGlyphs();

    // The caret's rectangle for the cursor: its cell, one line high, wide on the address column.
    wxRect GetCaretRect() const;
    // Makes the caret anew where the cursor is drawn; bShow shows it when it is in view.
    void PlaceCaret(bool bShow);
    bool IsCaretInView() const;
    void ShowCaretIfInView();

    CHexBuffer m_data;
    bool m_bHasData = false; // data were given, even if every byte was deleted since
    int m_nTopOffset = 0;
    int m_nBaseAddress = 0;
    int m_nWordLen = 1;
    int m_nByteOrder = 1;
    CHexCursor m_cursor;
    int m_nBytesPerLine = 8;
    int m_nLinesPerPage = 1;
    bool m_bLongAddress = false;
    wxFont m_font;
    int m_nLineHeight = 0;
    int m_nCharWidth = 0;
    bool m_bLayoutDirty = true;

    int m_nBytesPerLineGiven = 8; // as the owner set it; m_nBytesPerLine is derived from it
    int m_nLayoutHeight = -1;     // client height of the last layout
    bool m_bPressPending = false; // a plain press waits to become a drag or a click
    bool m_bHasFocus = false;     // between a focus gain and its loss
    wxPoint m_ptPress;

    CHexCaret m_caret;
    CHexGlyphs m_glyphs;
    CHexPicture m_picture;              // the off-screen picture, kept while the size stays
    std::vector<std::string> m_rowKeys; // what each row of the picture shows
    // Everything the rows are drawn from: while it stays, a paint (an expose, a frame of the
    // scroll bar's fading) only copies the picture's damaged part to the window.
    struct SDrawnFrom
    {
        CHexLayout layout;
        int nTop;
        int nBase;
        int nHeight;
        bool bHasData;
        unsigned long nVersion;
        bool bCaretDrawn;
        wxRect rcCaret;
        bool operator==(const SDrawnFrom&) const = default;
    };
    std::optional<SDrawnFrom> m_drawnFrom; // none before the first picture

    wxDECLARE_EVENT_TABLE();
};
