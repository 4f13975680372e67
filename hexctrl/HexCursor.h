// The caret and selection as a value, with every move of the keys, the mouse and the scroll bar
// as a pure function of it, the line layout and the page the window shows. The control applies
// the result: nothing here touches a window, so the moves are the same for every caller.
#pragma once

#include "HexLayout.h"

// The lines the window shows: the first byte of the top line, the whole lines that fit (for data
// shorter than the window, the data's rounded line count and a partial last line) and the data's
// length.
struct CHexPage
{
    // Scroll codes of Scrolled, as the control's scroll bar events are mapped to them.
    enum
    {
        SCROLL_LINE_UP = 0,
        SCROLL_LINE_DOWN = 1,
        SCROLL_PAGE_UP = 2,
        SCROLL_PAGE_DOWN = 3,
        SCROLL_THUMB_POSITION = 4,
        SCROLL_THUMB_TRACK = 5,
        SCROLL_TOP = 6,
        SCROLL_BOTTOM = 7,
        SCROLL_END = 8
    };

    int nTop = 0;
    int nLines = 1;
    int nDataLen = 0;

    // The page of a window nHeight pixels high, for lines of the layout's cell height: data
    // shorter than the window count their lines rounded, plus the partial last one.
    static CHexPage Fitted(const CHexLayout& layout, int nHeight, int nDataLen, int nTop);

    // A window shorter than one line still shows the caret's line when it is enlarged.
    int GetFollowLines() const { return nLines > 1 ? nLines : 1; }
    // The first byte of the line that holds nPos, lines counted from the top line by floor
    // division, so that an index just above it lands on the row above.
    long long LineStartOf(const CHexLayout& layout, long long nPos) const;
    // Where the last page starts: on a word, so that its lines keep their groups and addresses.
    long long LastTop(const CHexLayout& layout) const;

    // The top line after each scroll.
    int LineUp(const CHexLayout& layout) const;
    int LineDown(const CHexLayout& layout) const;
    int PageUp(const CHexLayout& layout) const;
    int PageDown(const CHexLayout& layout) const;
    // Line nLine, bounded to the data; a line from outside them must not leave the buffer.
    int AtLine(const CHexLayout& layout, int nLine) const;
    // The top line after a scroll code; the thumb's codes take line nLine, the others none.
    int Scrolled(const CHexLayout& layout, int nCode, int nLine) const;
    // Ctrl+End: the rounded line count of the data ends at the bottom of the window.
    int EndTop(const CHexLayout& layout) const;
    // One line towards the caret at nPos when its line is out of view, never past it.
    int Following(const CHexLayout& layout, int nPos) const;
};

struct CHexMove;

struct CHexCursor
{
    // Navigation keys, numbered as the control receives them.
    enum
    {
        KEY_TAB = 9,
        KEY_PAGE_UP = 33,
        KEY_PAGE_DOWN = 34,
        KEY_END = 35,
        KEY_HOME = 36,
        KEY_LEFT = 37,
        KEY_UP = 38,
        KEY_RIGHT = 39,
        KEY_DOWN = 40
    };

    int nIndex = 0;                      // the caret's byte; the data length on the end position
    int nField = CHexLayout::FIELD_HIGH; // the cell of the line the caret stands in
    int nSelStart = -1;                  // the selection's anchor, -1 for none
    int nSelEnd = -1;

    bool HasSelection() const { return nSelStart != -1; }
    bool IsOnAddress() const { return nField == CHexLayout::FIELD_ADDRESS; }
    CHexCursor Deselected() const;
    // The selection ends past the caret's byte only after Right or Down in the hex column.
    CHexCursor SelectedTo(bool bForward) const;

    // The caret on the byte drawn under its field; bytes below 0 are missing like those at or
    // past the end, so the index stays within 0 .. length.
    CHexCursor Normalized(const CHexLayout& layout, const CHexPage& page) const;
    // One character, or one hex digit as drawn: skips the blank after each group and the blank
    // digits of missing bytes and crosses to the neighbouring line; at the data's ends the caret
    // goes to the other end of its own group.
    CHexCursor Stepped(const CHexLayout& layout, const CHexPage& page, int nDx) const;
    // Tab: from the hex column to the byte's character, from elsewhere to its high digit.
    CHexCursor Tabbed(const CHexLayout& layout, const CHexPage& page) const;
    // A scroll bar's scroll to top line nTop keeps the caret's place on the screen, within the
    // data: only deleting the last byte puts it on the end position.
    CHexCursor Scrolled(const CHexLayout& layout, const CHexPage& page, int nTop) const;
    // The caret on a clicked cell; false for a row below the page or a missing byte.
    bool AtHit(const CHexLayout& layout, const CHexPage& page, const CHexLayout::CHit& hit,
               CHexCursor* pOut) const;

    // nDx digits or characters across and nDy lines, following the caret one line at most.
    CHexMove Moved(const CHexLayout& layout, const CHexPage& page, int nDx, int nDy) const;
    // A navigation key: without Shift it clears the selection, with Shift it extends it.
    CHexMove Navigated(const CHexLayout& layout, const CHexPage& page, int nKey, bool bShift,
                       bool bCtrl) const;

private:
    CHexMove Jumped(const CHexLayout& layout, const CHexPage& page, int nKey, bool bCtrl) const;
};

// Where a move leaves the cursor and the top line.
struct CHexMove
{
    CHexCursor cursor;
    int nTop = 0;
};
