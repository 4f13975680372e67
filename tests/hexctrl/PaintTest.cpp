// What the control draws: the text of each column's lines, read back from the picture.
#include "HexCtrlTestSupport.h"

namespace
{
std::string Groups(int nFirst, int nCount)
{
    static const char s_szDigits[] = "0123456789ABCDEF";
    std::string str;
    for (int i = nFirst; i < nFirst + nCount; ++i)
        str += std::string{s_szDigits[(i >> 4) & 0xF], s_szDigits[i & 0xF], ' '};
    return str;
}
} // namespace

TEST_F(CHexCtrlTest, SixteenByteLine)
{
    SetLines(4);
    Load(Sequence(16), 1, 16);
    const CScreenReader screen = Render();
    EXPECT_EQ("00000000 ", screen.Text(0, 0, 9));
    EXPECT_EQ(Groups(0, 16), screen.Text(9, 0, 48));
    EXPECT_EQ("................", screen.Text(57, 0, 16));
    EXPECT_TRUE(screen.IsBlankRow(1));
}

TEST_F(CHexCtrlTest, PrintableAndOtherBytes)
{
    SetLines(2);
    Load({0x41, 0x42, 0x43, 0x7F, 0x80, 0xFF, 0x20, 0x7E, 0x1F, 0x26}, 1, 16);
    EXPECT_EQ("ABC... ~.&      ", Render().Text(CharCol(), 0, 16));
}

TEST_F(CHexCtrlTest, PartialLastLine)
{
    SetLines(4);
    Load(Sequence(20, 0x30), 1, 16, 0x100);
    const CScreenReader screen = Render();
    EXPECT_EQ("00000100", screen.Text(0, 0, 8));
    EXPECT_EQ("00000110 " + Groups(0x40, 4) + std::string(36, ' '), screen.Text(0, 1, 57));
    EXPECT_EQ("@ABC            ", screen.Text(57, 1, 16));
    EXPECT_TRUE(screen.IsBlankRow(2));
}

// Page Down can leave a top offset that is not a multiple of the line width.
TEST_F(CHexCtrlTest, LinesStartAtTheTopOffset)
{
    SetLines(5);
    Load(Sequence(100), 1, 16);
    P().VScroll(CHexEditCtrl::SB_PAGEDOWN);
    ASSERT_EQ(20, P().TopOffset());
    const CScreenReader screen = Render();
    EXPECT_EQ("00000014 " + Groups(0x14, 16), screen.Text(0, 0, 57));
    EXPECT_EQ("00000054 " + Groups(0x54, 16), screen.Text(0, 4, 57));
}

TEST_F(CHexCtrlTest, ShortAndLongAddresses)
{
    SetLines(2);
    m_pCtrl->SetAddressDigits(4);
    Load(Sequence(16), 1, 16, 0x1234);
    EXPECT_EQ(5, HexCol());
    EXPECT_EQ("1234 00 01 ", Render().Text(0, 0, 11));
    m_pCtrl->SetAddressDigits(8);
    Load(Sequence(16), 1, 16, 0x1234);
    EXPECT_EQ(9, HexCol());
    EXPECT_EQ("00001234 00 01 ", Render().Text(0, 0, 15));
}

// Addresses count words; groups follow the byte order; the character column does not.
TEST_F(CHexCtrlTest, WordLengthsInBothByteOrders)
{
    struct
    {
        int nWordLen, nBytesPerLine, nOrder;
        const char* pszHex;
        const char* pszSecondAddress;
    } const cases[] = {
        {2, 32, 1, "1234 5678 ", "00000810"},         {2, 32, 0, "3412 7856 ", "00000810"},
        {3, 33, 1, "781234 BC9A56 ", "0000080B"},     {3, 33, 0, "341278 569ABC ", "0000080B"},
        {4, 32, 1, "56781234 F0DEBC9A ", "00000808"}, {4, 32, 0, "34127856 9ABCDEF0 ", "00000808"},
    };
    std::vector<unsigned char> data = Sequence(70);
    const unsigned char head[] = {0x34, 0x12, 0x78, 0x56, 0x9A, 0xBC, 0xDE, 0xF0};
    std::copy(std::begin(head), std::end(head), data.begin());
    SetLines(3);
    for (const auto& c : cases)
    {
        m_pCtrl->SetByteOrder(c.nOrder);
        Load(data, c.nWordLen, c.nBytesPerLine, 0x800);
        const CScreenReader screen = Render();
        const std::string strHex(c.pszHex);
        EXPECT_EQ(strHex, screen.Text(9, 0, static_cast<int>(strHex.size())))
            << c.nWordLen << "/" << c.nOrder;
        EXPECT_EQ(c.pszSecondAddress, screen.Text(0, 1, 8));
        EXPECT_EQ("4.xV", screen.Text(CharCol(), 0, 4));
    }
}

TEST_F(CHexCtrlTest, PartialLastWordKeepsColumnsAligned)
{
    SetLines(2);
    m_pCtrl->SetByteOrder(1);
    Load(Sequence(5, 1), 2, 32);
    const CScreenReader screen = Render();
    EXPECT_EQ("0201 0403   05 " + std::string(65, ' '), screen.Text(9, 0, 80));
    EXPECT_EQ(9 + 80, CharCol());
    EXPECT_EQ(".....", screen.Text(CharCol(), 0, 5));
}

TEST_F(CHexCtrlTest, OnlyWholeLinesAreDrawn)
{
    SetLines(3, 9);
    Load(Sequence(100), 1, 16);
    const CScreenReader screen = Render();
    EXPECT_EQ("00000020", screen.Text(0, 2, 8));
    EXPECT_TRUE(screen.IsBlankRow(3));
}

TEST_F(CHexCtrlTest, EmptyControlShowsOnlyBackground)
{
    SetLines(3);
    Load(Sequence(40), 1, 16);
    m_pCtrl->SetData(nullptr, 0);
    const CScreenReader screen = Render();
    for (int nRow = 0; nRow < 3; ++nRow)
        EXPECT_TRUE(screen.IsBlankRow(nRow));
}

// The address is a 32-bit sum and wraps.
TEST_F(CHexCtrlTest, AddressesWrapAt32Bits)
{
    SetLines(2);
    Load(Sequence(32), 1, 16, -1);
    const CScreenReader screen = Render();
    EXPECT_EQ("FFFFFFFF", screen.Text(0, 0, 8));
    EXPECT_EQ("0000000F", screen.Text(0, 1, 8));
}

TEST_F(CHexCtrlTest, BytesPerLineStaysWithinTheLineBuffer)
{
    SetLines(2);
    Load(Sequence(200), 1, 200);
    EXPECT_EQ(85, m_pCtrl->GetBytesPerLine());
    EXPECT_EQ("00000055", Render().Text(0, 1, 8));
    m_pCtrl->SetBytesPerLine(33);
    m_pCtrl->SetAddressInfo(0, 4);
    EXPECT_EQ(32, m_pCtrl->GetBytesPerLine());
}
