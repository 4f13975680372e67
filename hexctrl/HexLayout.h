// Cell geometry and text of one dump line: where each byte's digits and character stand,
// which byte and digit a cell holds, which cell a caret field names and which cell lies under a
// point. Painting, the caret, the mouse, the cursor's moves and printing all read it, so that
// they always agree.
#pragma once

#include <cstdint>

class CHexLayout
{
public:
    enum
    {
        LINE_BUFFER = 256,       // characters of one column's line text, terminator included
        MAX_BYTES_PER_LINE = 85, // three cells per byte must fit the line buffer
        MAX_WORD_LEN = 4
    };

    // Caret fields: the cell of a line in which the caret stands.
    enum
    {
        FIELD_ADDRESS = 0,
        FIELD_CHAR = 1,
        FIELD_HIGH = 2,    // high digit of the caret's byte (word length other than 2)
        FIELD_LOW = 3,     // low digit of the caret's byte
        FIELD_GROUP_4 = 4, // fourth digit of a 2-byte group as drawn
        FIELD_GROUP_1 = 7  // first digit of a 2-byte group as drawn
    };

    // nAddrDigits is 0 when no address column is shown; bHex and bChars say whether the
    // hex and character columns are shown.
    CHexLayout(int nWordLen, int nBytesPerLine, int nByteOrder, int nAddrDigits, bool bHex,
               bool bChars);

    // Pixels of one cell, for the mapping between points and cells (none until set).
    void SetCellSize(int nWidth, int nHeight)
    {
        m_nCellWidth = nWidth;
        m_nCellHeight = nHeight;
    }
    int GetCellWidth() const { return m_nCellWidth; }
    bool operator==(const CHexLayout&) const = default;
    int GetCellHeight() const { return m_nCellHeight; }

    // Bytes per word bounded to 1..4, and bytes per line bounded to the line buffer and made
    // a multiple of the word length, so that the columns of a line cover the same bytes.
    static int BoundWordLen(int nWordLen);
    static int BoundBytesPerLine(int nBytes, int nWordLen);

    int GetWordLen() const { return m_nWordLen; }
    int GetBytesPerLine() const { return m_nBytesPerLine; }
    int GetAddressDigits() const { return m_nAddrDigits; }
    int GetGroupCells() const { return 2 * m_nWordLen + 1; }
    int GetHexCol() const { return m_nAddrDigits > 0 ? m_nAddrDigits + 1 : 0; }
    int GetHexCells() const
    {
        return m_bHex ? (m_nBytesPerLine / m_nWordLen) * GetGroupCells() : 0;
    }
    int GetCharCol() const { return GetHexCol() + GetHexCells(); }

    // Offset within its word of the byte drawn at position nPlace of a group (and back).
    int DrawnOffset(int nPlace) const
    {
        return m_nByteOrder == 1 ? m_nWordLen - 1 - nPlace : nPlace;
    }

    // Cell (from the hex column's left edge) of the high (nNibble 0) or low (1) digit of the
    // byte in column nCol (0 .. bytes per line - 1) of a line.
    int DigitCell(int nCol, int nNibble) const;
    // Byte column and nibble of the digit at cell nCell of the hex column; false for a blank.
    bool DigitAt(int nCell, int* pCol, int* pNibble) const;

    // Caret field of the high or low digit of the byte in column nCol.
    int FieldFor(int nCol, int nNibble) const;
    static int NibbleOf(int nField);
    // Brings a caret on column nCol with field *pField to the byte drawn under that field:
    // in the 2-byte layout the field names a digit position and the column moves within its
    // group; a digit left blank (a missing byte of a partial last word) gives way to the same
    // digit of the group's byte that is present. The line's bytes are the columns nFirstCol ..
    // nLineBytes - 1 (columns before index 0 are missing too); a column at or beyond
    // nLineBytes (the end position) is left as it is.
    void NormalizeCaret(int* pCol, int* pField, int nLineBytes, int nFirstCol = 0) const;
    // Cell of the whole line (from its left edge) where a caret with this field stands, and the
    // cells it covers: on the address column all of its digits.
    int CaretCell(int nCol, int nField) const;
    int CaretCells(int nField) const { return nField == FIELD_ADDRESS ? m_nAddrDigits : 1; }
    static bool IsHexField(int nField) { return nField >= FIELD_HIGH && nField <= FIELD_GROUP_1; }

    // What lies under a point of the window: the row, the byte column of the line (0 on the
    // address column) and the caret field.
    struct CHit
    {
        int nRow = 0;
        int nCol = 0;
        int nField = FIELD_ADDRESS;
    };
    // False left of or above the window, right of the characters, and for a blank that no digit
    // follows; a blank between groups gives the next group's first digit as drawn.
    bool CellAt(int x, int y, CHit* pHit) const;

    // Screen lines put the columns cell by cell (the address column ends in one blank);
    // printed lines follow each piece with two blanks and show every digit of the address.
    enum ELineStyle
    {
        LINE_SCREEN,
        LINE_PRINT
    };
    enum
    {
        LINE_TEXT = 4 * LINE_BUFFER // characters of a whole line, any style
    };

    // Text of the line that starts at byte nLineStart, without terminator; returns its length.
    // pLine holds the line's nLineBytes bytes, its address counts words from dwBase. The
    // missing bytes of a partial last word or line are blanks, so every line has the same
    // columns.
    int FormatLine(char* pBuf, const unsigned char* pLine, int nLineBytes, uint32_t dwBase,
                   int nLineStart, ELineStyle style) const;
    // Length of a full line in that style; a printed address counts with all 8 digits.
    int GetLineChars(ELineStyle style) const;

private:
    int FormatAddress(char* pBuf, uint32_t dwAddress, ELineStyle style) const;
    int FormatHex(char* pBuf, const unsigned char* pLine, int nLineBytes) const;
    int FormatChars(char* pBuf, const unsigned char* pLine, int nLineBytes) const;

    int m_nWordLen;
    int m_nBytesPerLine;
    int m_nByteOrder;
    int m_nAddrDigits;
    bool m_bHex;
    bool m_bChars;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
};
