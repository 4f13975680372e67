// The line geometry shared by painting, caret and printing.
#include "HexLayout.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
CHexLayout Layout(int nWordLen, int nBytesPerLine, int nOrder)
{
    return CHexLayout(nWordLen, nBytesPerLine, nOrder, 8, true, true);
}
} // namespace

// 2-byte groups: the caret moves within its group to the byte its field names as drawn.
TEST(HexLayout, NormalizingMovesTheCaretWithinItsGroup)
{
    // byte order, column and field, bytes on the line; column and field after
    const int kCases[][6] = {
        {1, 0, 7, 32, 1, 7}, // first digit under order 1 is the odd byte
        {0, 1, 7, 32, 0, 7}, // ... and the even byte under order 0
        {1, 4, 6, 32, 5, 6}, {0, 5, 4, 32, 5, 4},
        {1, 0, 7, 1, 0, 5}, // the missing odd byte is blank: its digit gives way
        {0, 2, 6, 3, 2, 6},  {1, 2, 6, 3, 2, 4},
        {1, 3, 7, 3, 3, 7},  // the end position keeps its column
        {1, 6, 2, 32, 6, 5}, // a byte-layout field becomes its byte's digit as drawn
    };
    for (const auto& [nOrder, nCol0, nField0, nLineBytes, nCol2, nField2] : kCases)
    {
        int nCol = nCol0, nField = nField0;
        Layout(2, 32, nOrder).NormalizeCaret(&nCol, &nField, nLineBytes);
        EXPECT_EQ(std::make_pair(nCol2, nField2), std::make_pair(nCol, nField))
            << nOrder << " " << nCol0 << " " << nField0 << " " << nLineBytes;
    }
}
