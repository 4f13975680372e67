// The caret: its shapes, its cell for each field and word layout, where it is shown, and focus.
#include "HexCtrlTestSupport.h"

#include <sstream>

namespace
{
// bytes whose digits differ from their neighbours'
std::vector<unsigned char> Distinct(int nCount)
{
    return Sequence(nCount, 0x1B, 37);
}
} // namespace

// The rows of tables/caret-cells.txt.
TEST_F(CHexCtrlTest, CaretCellForEachField)
{
    SetLines(4);
    for (const CRow& row : ReadTable("tables/caret-cells.txt"))
    {
        int nWordLen = 0, nOrder = 0, nPos = 0, nField = 0, nCell = 0, nPosAfter = 0,
            nWidthCells = 0;
        std::istringstream(row.at(0)) >> nWordLen >> nOrder >> nPos >> nField;
        std::istringstream(row.at(1)) >> nCell >> nPosAfter >> nWidthCells;
        m_pCtrl->SetByteOrder(nOrder);
        Load(Distinct(64), nWordLen, BytesPerLine(nWordLen));
        P().CaretField() = nField;
        P().PlaceCaret(nPos);
        SCOPED_TRACE(testing::Message() << nWordLen << "/" << nOrder << "/" << nField);
        EXPECT_EQ(nPosAfter, P().CaretPos());
        EXPECT_EQ(wxRect(nCell * m_nCellWidth, 0, nWidthCells * m_nCellWidth, m_nLineHeight),
                  P().CaretRect());
        std::string strCells;
        for (int i = nCell; i < nCell + nWidthCells; ++i)
            strCells += (i > nCell ? "," : "") + std::to_string(i);
        EXPECT_EQ(strCells, Render().InvertedCells(0));
    }
    m_pCtrl->SetAddressDigits(4);
    Run("=0,0");
    EXPECT_EQ("0,1,2,3", Render().InvertedCells(0));
}

// Also for data handed over before the window exists and a byte order set before the first layout;
// a byte order toggled later keeps the caret on its digit.
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
        P().SelStart() = 4;
        Load(Distinct(nBytes), nWordLen, 32);
        SCOPED_TRACE(testing::Message() << nWordLen << "/" << nOrder << "/" << nBytes);
        EXPECT_EQ(std::make_pair(nPos, nField), std::make_pair(P().CaretPos(), P().CaretField()));
        EXPECT_EQ(nCell * m_nCellWidth, P().CaretRect().x);
        EXPECT_EQ(-1, P().SelStart());
        EXPECT_TRUE(P().CaretShown());
    }
    m_pCtrl->SetByteOrder(1);
    EXPECT_EQ(std::make_pair(0, 9 + 6),
              std::make_pair(P().CaretPos(), P().CaretRect().x / m_nCellWidth));
    CHexEditCtrl* pCtrl = new CHexEditCtrl;
    const unsigned char bytes[] = {0x12};
    pCtrl->SetAddressInfo(0, 2);
    pCtrl->SetData(bytes, 1);
    CHexEditCtrlProbe probe(*pCtrl);
    EXPECT_EQ(5, probe.CaretField());
    pCtrl->Create("hexEd", 0, wxRect(0, 0, 600, 100), m_pFrame, 1001);
    pCtrl->SetAddressDigits(8);
    pCtrl->SetByteOrder(0);
    EXPECT_EQ(std::make_pair(0, 9 * m_nCellWidth),
              std::make_pair(probe.CaretPos(), probe.CaretRect().x));
}

// No caret is shown outside the client area: not on a window too small for one line, not for an
// index just above the top line (floor division puts it on the row above), not on a line a shrink
// left half visible.
TEST_F(CHexCtrlTest, CaretOutsideTheClientAreaIsHidden)
{
    SetLines(0, 5);
    Load(Sequence(100), 1, 16);
    P().SetSelection(-1, -1);
    P().Focus(true);
    EXPECT_FALSE(P().CaretShown());
    SetLines(5);
    Load(Sequence(100), 1, 16);
    Run("T16 =10,2");
    EXPECT_EQ(wxPoint((9 + 30) * m_nCellWidth, -m_nLineHeight), P().CaretRect().GetPosition());
    EXPECT_FALSE(P().CaretShown());
    EXPECT_EQ("", Render().InvertedCells(0));
    Run("T0 =50,2");
    SetLines(3, m_nLineHeight / 2);
    EXPECT_EQ("", Render().InvertedCells(3));
}

// Focus gain makes a shown caret at its stored place, but none while a selection exists; without
// the focus a moved caret stays hidden, as typed keys would not reach the control.
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
    P().Focus(false);
    Load(Sequence(40), 1, 16);
    Run("=5,2");
    EXPECT_FALSE(P().CaretShown());
}
