// The line geometry shared by painting, caret, mouse and printing.
#include "HexLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::string Hex(const CHexLayout& layout, const std::string& bytes, int nLineStart = 0)
{
    char sz[CHexLayout::LINE_BUFFER];
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const int n = layout.FormatHex(sz, p, static_cast<int>(bytes.size()), nLineStart);
    return std::string(sz, static_cast<size_t>(n));
}

CHexLayout Layout(int nWordLen, int nBytesPerLine, int nOrder)
{
    return CHexLayout(nWordLen, nBytesPerLine, nOrder, 8, true, true);
}
} // namespace

TEST(HexLayout, GroupsFollowTheByteOrder)
{
    const std::string bytes("\x34\x12\x78\x56\x9A\xBC\xDE\xF0\x11\x22\x33\x44", 12);
    struct
    {
        int nWordLen, nOrder;
        const char* pszExpected;
    } const cases[] = {
        {2, 1, "1234 5678 BC9A F0DE 2211 4433 "}, {2, 0, "3412 7856 9ABC DEF0 1122 3344 "},
        {3, 1, "781234 BC9A56 11F0DE 443322 "},   {3, 0, "341278 569ABC DEF011 223344 "},
        {4, 1, "56781234 F0DEBC9A 44332211 "},    {4, 0, "34127856 9ABCDEF0 11223344 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszExpected, Hex(Layout(c.nWordLen, 12, c.nOrder), bytes))
            << "word length " << c.nWordLen << ", order " << c.nOrder;
}

// A partial last word reads no byte beyond the data and keeps its group's width.
TEST(HexLayout, PartialLastWordIsPaddedWithBlanks)
{
    const std::string data("\x01\x02\x03\x04\x05", 5);
    EXPECT_EQ("0201 0403   05      ", Hex(Layout(2, 8, 1), data));
    EXPECT_EQ("0102 0304 05        ", Hex(Layout(2, 8, 0), data));
    EXPECT_EQ("04030201       05 ", Hex(Layout(4, 8, 1), data));
    EXPECT_EQ("01020304 05       ", Hex(Layout(4, 8, 0), data));
}

TEST(HexLayout, BytesPerLineIsBoundedAndWholeWords)
{
    EXPECT_EQ(85, CHexLayout::BoundBytesPerLine(1000, 1));
    EXPECT_EQ(84, CHexLayout::BoundBytesPerLine(1000, 2));
    EXPECT_EQ(84, CHexLayout::BoundBytesPerLine(85, 4));
    EXPECT_EQ(33, CHexLayout::BoundBytesPerLine(33, 3));
    EXPECT_EQ(32, CHexLayout::BoundBytesPerLine(33, 4));
    EXPECT_EQ(2, CHexLayout::BoundBytesPerLine(0, 2));
    EXPECT_EQ(1, CHexLayout::BoundWordLen(0));
    EXPECT_EQ(4, CHexLayout::BoundWordLen(9));
    // the longest line still fits the line buffer
    EXPECT_LT(Layout(1, 1000, 1).GetHexCells(), static_cast<int>(CHexLayout::LINE_BUFFER));
}

// Every digit cell maps back to its byte and nibble, and blanks to nothing.
TEST(HexLayout, DigitCellsRoundTrip)
{
    for (int nWordLen = 1; nWordLen <= 4; ++nWordLen)
        for (int nOrder = 0; nOrder <= 1; ++nOrder)
        {
            const int nBytes = nWordLen == 3 ? 33 : 16 * std::min(nWordLen, 2);
            const CHexLayout layout = Layout(nWordLen, nBytes, nOrder);
            int nDigits = 0;
            for (int nCell = 0; nCell < layout.GetHexCells(); ++nCell)
            {
                int nCol = -1, nNibble = -1;
                if (!layout.DigitAt(nCell, &nCol, &nNibble))
                    continue;
                ++nDigits;
                EXPECT_EQ(nCell, layout.DigitCell(nCol, nNibble));
            }
            EXPECT_EQ(2 * nBytes, nDigits) << nWordLen << "/" << nOrder;
        }
}

TEST(HexLayout, CaretFieldsNameTheDrawnDigit)
{
    // 2-byte groups: fields 7..4 are the four digits left to right
    const CHexLayout order1 = Layout(2, 32, 1), order0 = Layout(2, 32, 0);
    EXPECT_EQ(7, order1.FieldFor(5, 0));
    EXPECT_EQ(6, order1.FieldFor(5, 1));
    EXPECT_EQ(5, order1.FieldFor(4, 0));
    EXPECT_EQ(7, order0.FieldFor(4, 0));
    EXPECT_EQ(4, order0.FieldFor(5, 1));
    EXPECT_EQ(9 + 11, order1.CaretCell(5, 6));
    EXPECT_EQ(9 + 11, order0.CaretCell(4, 6));
    // other word lengths: high and low digit of the byte, where its group draws it
    const CHexLayout word4 = Layout(4, 32, 1);
    EXPECT_EQ(2, word4.FieldFor(1, 0));
    EXPECT_EQ(9 + 4, word4.CaretCell(1, 2));
    EXPECT_EQ(9 + 9 + 7, word4.CaretCell(4, 3));
    EXPECT_EQ(9 + 3, Layout(4, 32, 0).CaretCell(1, 3));
    EXPECT_EQ(9 + 72 + 3, word4.CaretCell(3, 1));
    EXPECT_EQ(0, word4.CaretCell(3, 0));
}

TEST(HexLayout, NormalizingMovesTheCaretWithinItsGroup)
{
    struct
    {
        int nOrder, nCol, nField, nLineBytes, nCol2, nField2;
    } const cases[] = {
        {1, 0, 7, 32, 1, 7}, // first digit under order 1 is the odd byte
        {0, 1, 7, 32, 0, 7}, // ... and the even byte under order 0
        {1, 4, 6, 32, 5, 6}, {0, 5, 4, 32, 5, 4},
        {1, 0, 7, 1, 0, 5}, // the missing odd byte is blank: its digit gives way
        {0, 2, 6, 3, 2, 6},  {1, 2, 6, 3, 2, 4},
        {1, 3, 7, 3, 3, 7},  // the end position keeps its column
        {1, 6, 2, 32, 6, 5}, // a byte-layout field becomes its byte's digit as drawn
    };
    for (const auto& c : cases)
    {
        int nCol = c.nCol, nField = c.nField;
        Layout(2, 32, c.nOrder).NormalizeCaret(&nCol, &nField, c.nLineBytes);
        EXPECT_EQ(c.nCol2, nCol) << c.nOrder << " " << c.nCol << " " << c.nField;
        EXPECT_EQ(c.nField2, nField) << c.nOrder << " " << c.nCol << " " << c.nField;
    }
}
