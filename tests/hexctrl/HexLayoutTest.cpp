// The line geometry shared by painting, caret, mouse and printing.
#include "HexLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
CHexLayout Layout(int nWordLen, int nBytesPerLine, int nOrder)
{
    return CHexLayout(nWordLen, nBytesPerLine, nOrder, 8, true, true);
}
} // namespace

// A partial last word reads no byte beyond the data and keeps its group's width.
TEST(HexLayout, PartialLastWordIsPaddedWithBlanks)
{
    const struct
    {
        int nWordLen, nOrder;
        const char* pszExpected;
    } kCases[] = {{2, 1, "0201 0403   05      "},
                  {2, 0, "0102 0304 05        "},
                  {4, 1, "04030201       05 "},
                  {4, 0, "01020304 05       "}};
    const unsigned char data[] = {1, 2, 3, 4, 5};
    for (const auto& c : kCases)
    {
        char sz[CHexLayout::LINE_BUFFER];
        const int n = Layout(c.nWordLen, 8, c.nOrder).FormatHex(sz, data, 5, 0);
        EXPECT_EQ(c.pszExpected, std::string(sz, static_cast<size_t>(n)))
            << c.nWordLen << "/" << c.nOrder;
    }
}

TEST(HexLayout, BytesPerLineIsBoundedAndWholeWords)
{
    const int kCases[][3] = {{1000, 1, 85}, {1000, 2, 84}, {85, 4, 84},
                             {33, 3, 33},   {33, 4, 32},   {0, 2, 2}};
    for (const auto& [nBytes, nWordLen, nBound] : kCases)
        EXPECT_EQ(nBound, CHexLayout::BoundBytesPerLine(nBytes, nWordLen))
            << nBytes << "/" << nWordLen;
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

TEST(HexLayout, NormalizingMovesTheCaretWithinItsGroup)
{
    const struct
    {
        int nOrder, nCol, nField, nLineBytes, nCol2, nField2;
    } kCases[] = {
        {1, 0, 7, 32, 1, 7}, // first digit under order 1 is the odd byte
        {0, 1, 7, 32, 0, 7}, // ... and the even byte under order 0
        {1, 4, 6, 32, 5, 6}, {0, 5, 4, 32, 5, 4},
        {1, 0, 7, 1, 0, 5}, // the missing odd byte is blank: its digit gives way
        {0, 2, 6, 3, 2, 6},  {1, 2, 6, 3, 2, 4},
        {1, 3, 7, 3, 3, 7},  // the end position keeps its column
        {1, 6, 2, 32, 6, 5}, // a byte-layout field becomes its byte's digit as drawn
    };
    for (const auto& c : kCases)
    {
        int nCol = c.nCol, nField = c.nField;
        Layout(2, 32, c.nOrder).NormalizeCaret(&nCol, &nField, c.nLineBytes);
        EXPECT_EQ(c.nCol2, nCol) << c.nOrder << " " << c.nCol << " " << c.nField;
        EXPECT_EQ(c.nField2, nField) << c.nOrder << " " << c.nCol << " " << c.nField;
    }
}
