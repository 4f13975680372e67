// What the control draws: the text of each column's lines, read back from the picture.
#include "HexCtrlTestSupport.h"

#include <cstring>
#include <tuple>

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

// Addresses count words from the base, a 32-bit sum that wraps, in 4 or 8 digits; groups follow the
// byte order; the character column does not.
TEST_F(CHexCtrlTest, AddressesAndWordLayouts)
{
    // address digits, base, word length, byte order; the first line's start, the second's
    const std::tuple<int, int, int, int, const char*, const char*> kCases[] = {
        {4, 0x1234, 1, 1, "1234 34 12 ", "1244 10 11 "},
        {8, -1, 1, 1, "FFFFFFFF 34 ", "0000000F 10 "},
        {8, 0x800, 2, 1, "00000800 1234 5678 ", "00000810 "},
        {8, 0x800, 2, 0, "00000800 3412 7856 ", "00000810 "},
        {8, 0x800, 3, 1, "00000800 781234 BC9A56 ", "0000080B "},
        {8, 0x800, 3, 0, "00000800 341278 569ABC ", "0000080B "},
        {8, 0x800, 4, 1, "00000800 56781234 F0DEBC9A ", "00000808 "},
        {8, 0x800, 4, 0, "00000800 34127856 9ABCDEF0 ", "00000808 "},
    };
    std::vector<unsigned char> data = Sequence(70);
    const unsigned char head[] = {0x34, 0x12, 0x78, 0x56, 0x9A, 0xBC, 0xDE, 0xF0};
    std::copy(std::begin(head), std::end(head), data.begin());
    SetLines(3);
    for (const auto& [nDigits, nBase, nWordLen, nOrder, pszFirst, pszSecond] : kCases)
    {
        m_pCtrl->SetAddressDigits(nDigits);
        m_pCtrl->SetByteOrder(nOrder);
        Load(data, nWordLen, nWordLen == 1 ? 16 : BytesPerLine(nWordLen), nBase);
        const CScreenReader screen = Render();
        EXPECT_EQ(pszFirst, screen.Text(0, 0, static_cast<int>(std::strlen(pszFirst))));
        EXPECT_EQ(pszSecond, screen.Text(0, 1, static_cast<int>(std::strlen(pszSecond))));
        EXPECT_EQ("4.xV", screen.Text(CharCol(), 0, 4));
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
