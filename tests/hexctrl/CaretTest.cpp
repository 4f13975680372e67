// The caret: its shapes, its cell for each field and word layout, focus, and the rule
// that the digit it is drawn on is the nibble typing changes.
#include "HexCtrlTestSupport.h"

namespace
{
// bytes whose digits differ from their neighbours'
std::vector<unsigned char> Distinct(int nCount)
{
    return Sequence(nCount, 0x1B, 37);
}

int BytesPerLine(int nWordLen)
{
    return nWordLen == 3 ? 33 : nWordLen == 1 ? 16 : 32;
}
} // namespace

TEST_F(CHexCtrlTest, CaretCellForEachField)
{
    SetLines(4);
    // word length, byte order, index and field set; cell, index and width in cells after
    const int kCases[][7] = {
        {1, 1, 5, 0, 0, 5, 8},         {1, 1, 5, 1, 9 + 48 + 5, 5, 1}, {1, 1, 5, 2, 9 + 15, 5, 1},
        {1, 1, 5, 3, 9 + 16, 5, 1},    {2, 1, 5, 6, 9 + 11, 5, 1}, // byte 5, second digit
        {2, 0, 5, 6, 9 + 11, 4, 1}, // the same cell shows byte 4 under order 0
        {2, 1, 4, 7, 9 + 10, 5, 1},    {2, 0, 4, 5, 9 + 12, 5, 1},     {4, 1, 1, 2, 9 + 4, 1, 1},
        {4, 0, 1, 3, 9 + 3, 1, 1},     {4, 1, 4, 3, 9 + 9 + 7, 4, 1},  {3, 1, 5, 2, 9 + 7, 5, 1},
        {3, 0, 5, 3, 9 + 7 + 5, 5, 1},
    };
    for (const auto& [nWordLen, nOrder, nPos, nField, nCell, nPosAfter, nWidthCells] : kCases)
    {
        m_pCtrl->SetByteOrder(nOrder);
        Load(Distinct(64), nWordLen, BytesPerLine(nWordLen));
        P().CaretField() = nField;
        P().PlaceCaret(nPos);
        SCOPED_TRACE(testing::Message() << nWordLen << "/" << nOrder << "/" << nField);
        EXPECT_EQ(nCell * m_nCellWidth, P().CaretX());
        EXPECT_EQ(nPosAfter, P().CaretPos());
        EXPECT_EQ(wxSize(nWidthCells * m_nCellWidth, m_nLineHeight), P().CaretRect().GetSize());
        EXPECT_TRUE(P().CaretShown());
    }
}

TEST_F(CHexCtrlTest, WideCaretCoversTheAddressDigits)
{
    SetLines(2);
    for (int nDigits : {8, 4})
    {
        m_pCtrl->SetAddressDigits(nDigits);
        Load(Sequence(16), 1, 16);
        P().CaretField() = 0;
        P().PlaceCaret(0);
        EXPECT_EQ(nDigits * m_nCellWidth, P().CaretRect().width);
        EXPECT_EQ(nDigits == 8 ? "0,1,2,3,4,5,6,7" : "0,1,2,3", Render().InvertedCells(0));
    }
}

// For every layout the inverted cell shows the digit of the caret's byte that typing changes.
TEST_F(CHexCtrlTest, TheDigitUnderTheCaretIsTheOneTyped)
{
    SetLines(3);
    const std::vector<unsigned char> data = Distinct(60);
    for (int nWordLen = 2; nWordLen <= 4; ++nWordLen)
        for (int nOrder = 0; nOrder <= 1; ++nOrder)
        {
            m_pCtrl->SetByteOrder(nOrder);
            Load(data, nWordLen, BytesPerLine(nWordLen));
            for (int nPos : {0, 1, 2, 3, 6, 13, 30})
                for (int nNibble = 0; nNibble <= 1; ++nNibble)
                {
                    P().CaretField() = nWordLen == 2 ? 7 - nNibble - 2 * (nPos % 2) : 2 + nNibble;
                    P().PlaceCaret(nPos);
                    const int nByte = data[static_cast<size_t>(P().CaretPos())];
                    const int nTyped = CHexLayout::NibbleOf(P().CaretField());
                    const CScreenReader screen = Render();
                    const int nCell = P().CaretX() / m_nCellWidth;
                    SCOPED_TRACE(testing::Message() << nWordLen << "/" << nOrder << " at " << nPos);
                    EXPECT_EQ(std::to_string(nCell), screen.InvertedCells(0));
                    EXPECT_EQ("0123456789ABCDEF"[(nTyped == 0 ? nByte >> 4 : nByte) & 0xF],
                              screen.At(nCell, 0));
                    EXPECT_EQ(nPos / nWordLen, P().CaretPos() / nWordLen) << "stays in its word";
                }
        }
}

TEST_F(CHexCtrlTest, SetDataPutsTheCaretOnTheFirstDigit)
{
    SetLines(3);
    // word length, byte order, data length; caret index, field and cell
    const int kCases[][6] = {
        {1, 1, 16, 0, 2, 9}, {2, 1, 16, 1, 7, 9},
        {2, 0, 16, 0, 7, 9}, {2, 1, 1, 0, 5, 11}, // the odd byte is missing and drawn blank
        {4, 1, 16, 3, 2, 9}, {4, 0, 16, 0, 2, 9},
    };
    for (const auto& [nWordLen, nOrder, nBytes, nPos, nField, nCell] : kCases)
    {
        m_pCtrl->SetByteOrder(nOrder);
        Load(Distinct(nBytes), nWordLen, 32);
        SCOPED_TRACE(testing::Message() << nWordLen << "/" << nOrder << "/" << nBytes);
        EXPECT_EQ(nPos, P().CaretPos());
        EXPECT_EQ(nField, P().CaretField());
        EXPECT_EQ(nCell * m_nCellWidth, P().CaretX());
        EXPECT_EQ(-1, P().SelStart());
        EXPECT_EQ(0, P().TopOffset());
        EXPECT_TRUE(P().CaretShown());
    }
}

// No caret is shown outside the client area: not on a window too small for one line, and
// not for an index just above the top line (floor division puts it on the row above).
TEST_F(CHexCtrlTest, CaretOutsideTheClientAreaIsHidden)
{
    SetLines(0, 5);
    Load(Sequence(100), 1, 16);
    EXPECT_TRUE(P().CaretExists());
    P().SetSelection(-1, -1);
    P().Focus(true);
    EXPECT_FALSE(P().CaretShown());
    SetLines(5);
    Load(Sequence(100), 1, 16);
    P().CaretScroll() = true;
    P().VScroll(CHexEditCtrl::SB_LINEDOWN);
    P().CaretField() = 2;
    P().PlaceCaret(10);
    EXPECT_EQ(wxPoint((9 + 30) * m_nCellWidth, -m_nLineHeight),
              wxPoint(P().CaretX(), P().CaretY()));
    EXPECT_FALSE(P().CaretShown());
    EXPECT_EQ("", Render().InvertedCells(0));
}

// Focus gain makes a shown caret at its stored place, but none while a selection exists.
TEST_F(CHexCtrlTest, FocusCreatesAndDestroysTheCaret)
{
    SetLines(3);
    Load(Sequence(40), 1, 16);
    P().Focus(false);
    EXPECT_FALSE(P().CaretExists());
    P().Focus(true);
    EXPECT_TRUE(P().CaretShown());
    EXPECT_EQ(wxPoint(9 * m_nCellWidth, 0), P().CaretRect().GetPosition());
    P().Focus(false);
    P().SelStart() = 3;
    P().Focus(true);
    EXPECT_FALSE(P().CaretExists());
}

// Toggling the byte order keeps the caret on its digit, which still names the byte typed.
TEST_F(CHexCtrlTest, ByteOrderToggleKeepsWhatYouSeeWhatYouType)
{
    SetLines(3);
    // word length; caret index under order 1; index and cell under order 0
    const int kCases[][4] = {{2, 1, 0, 9}, {4, 3, 3, 9 + 6}};
    for (const auto& [nWordLen, nPos, nPosAfter, nCellAfter] : kCases)
    {
        m_pCtrl->SetByteOrder(1);
        Load(Distinct(40), nWordLen, 32);
        ASSERT_EQ(nPos, P().CaretPos());
        m_pCtrl->SetByteOrder(0);
        EXPECT_EQ(nPosAfter, P().CaretPos());
        EXPECT_EQ(nCellAfter * m_nCellWidth, P().CaretX());
    }
}
