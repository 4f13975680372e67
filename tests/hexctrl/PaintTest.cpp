// What the control draws: the text of each column's lines, read back from the picture.
#include "HexCtrlTestSupport.h"

#include <algorithm>
#include <sstream>

namespace
{
std::string Groups(const std::vector<unsigned char>& data, int nFirst, int nCount)
{
    std::string str;
    for (int i = nFirst; i < nFirst + nCount; ++i)
        str += {"0123456789ABCDEF"[data[i] >> 4], "0123456789ABCDEF"[data[i] & 0xF], ' '};
    return str;
}
} // namespace

// Address, hex and character columns; "." for bytes outside 0x20-0x7E; a partial last line; only
// whole lines, from a top offset Page Down can leave off the line width.
TEST_F(CHexCtrlTest, ColumnsOfEachLine)
{
    SetLines(4);
    const std::vector<unsigned char> data = {0x41, 0x42, 0x43, 0x7F, 0x80, 0xFF, 0x20, 0x7E, 0x1F,
                                             0x26, 0x00, 0x30, 0x39, 0x61, 0x7A, 0x5A, 0x40, 0x0A};
    Load(data, 1, 16, 0x100);
    CScreenReader screen = Render();
    EXPECT_EQ("00000100 " + Groups(data, 0, 16) + "ABC... ~.&.09azZ", screen.Text(0, 0, 73));
    EXPECT_EQ("00000110 " + Groups(data, 16, 2) + std::string(42, ' ') + "@." +
                  std::string(14, ' '),
              screen.Text(0, 1, 73));
    EXPECT_TRUE(screen.IsBlankRow(2));
    SetLines(5, 9);
    Load(Sequence(100), 1, 16);
    EXPECT_TRUE(Render().IsBlankRow(5));
    Run("v3,0");
    screen = Render();
    EXPECT_EQ("00000014 " + Groups(Sequence(100), 0x14, 16), screen.Text(0, 0, 57));
    EXPECT_EQ("00000054 " + Groups(Sequence(100), 0x54, 16), screen.Text(0, 4, 57));
}

// The rows of tables/word-layouts.txt.
TEST_F(CHexCtrlTest, AddressesAndWordLayouts)
{
    std::vector<unsigned char> data = Sequence(70);
    const unsigned char head[] = {0x34, 0x12, 0x78, 0x56, 0x9A, 0xBC, 0xDE, 0xF0};
    std::copy(std::begin(head), std::end(head), data.begin());
    SetLines(3);
    for (CRow row : ReadTable("tables/word-layouts.txt"))
    {
        int nDigits = 0, nBase = 0, nWordLen = 0, nOrder = 0;
        std::istringstream(row.at(0)) >> nDigits >> nBase >> nWordLen >> nOrder;
        m_pCtrl->SetAddressDigits(nDigits);
        m_pCtrl->SetByteOrder(nOrder);
        Load(data, nWordLen, nWordLen == 1 ? 16 : BytesPerLine(nWordLen), nBase);
        const CScreenReader screen = Render();
        for (int nLine : {0, 1})
        {
            std::replace(row.at(nLine + 1).begin(), row[nLine + 1].end(), '_', ' ');
            EXPECT_EQ(row[nLine + 1], screen.Text(0, nLine, int(row[nLine + 1].size()))) << row[0];
        }
        EXPECT_EQ("4.xV", screen.Text(P().CharX() / m_nCellWidth, 0, 4));
    }
}

// Only an edited profile gives so many bytes per line: no line may exceed the line buffer, and a
// line holds whole words, whichever setter comes first.
TEST_F(CHexCtrlTest, BytesPerLineStaysWithinTheLineBufferInWholeWords)
{
    SetLines(2);
    Load(Sequence(200), 1, 200);
    EXPECT_EQ("00000055", Render().Text(0, 1, 8));
    const int kCases[][3] = {{200, 1, 85}, {1000, 2, 84}, {85, 4, 84}, {33, 3, 33},
                             {33, 4, 32},  {0, 2, 2},     {16, 0, 16}, {33, 9, 32}};
    for (const auto& [nBytes, nWordLen, nBound] : kCases)
    {
        m_pCtrl->SetAddressInfo(0, nWordLen);
        m_pCtrl->SetBytesPerLine(nBytes);
        EXPECT_EQ(nBound, m_pCtrl->GetBytesPerLine()) << nBytes << "/" << nWordLen;
    }
    m_pCtrl->SetAddressInfo(0, 3);
    EXPECT_EQ(33, m_pCtrl->GetBytesPerLine());
}
