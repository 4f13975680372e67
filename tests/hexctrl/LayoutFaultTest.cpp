// The control's state after an empty segment, a resize, a call before its window or its
// first layout, and setters called in either order.
#include "HexCtrlTestSupport.h"

TEST_F(CHexCtrlTest, EmptyDataShowNeitherScrollBarNorCaret)
{
    SetLines(3);
    Load(Sequence(100), 1, 16);
    P().SelStart() = 4;
    Load(Sequence(100), 1, 16);
    EXPECT_EQ(-1, P().SelStart()); // new data clear a selection
    m_pCtrl->SetData(nullptr, 0);
    EXPECT_FALSE(P().CaretExists());
    EXPECT_GE(m_pCtrl->GetScrollThumb(wxVERTICAL), m_pCtrl->GetScrollRange(wxVERTICAL));
}

// After a shrink the caret's line is only half visible: it is not drawn there.
TEST_F(CHexCtrlTest, CaretIsDrawnOnWholeLinesOnly)
{
    SetLines(4);
    Load(Sequence(100), 1, 16);
    Run("=50,2");
    SetLines(3, P().LineHeight() / 2);
    EXPECT_EQ("", Render().InvertedCells(3));
}

// Data handed over before the window exists, and a byte order set before the first layout,
// leave the caret on the digit drawn first, at real pixels.
TEST_F(CHexCtrlTest, CaretRuleHoldsBeforeWindowAndLayout)
{
    CHexEditCtrl* pCtrl = new CHexEditCtrl;
    const unsigned char bytes[] = {0x12};
    pCtrl->SetAddressInfo(0, 2);
    pCtrl->SetData(bytes, 1);
    CHexEditCtrlProbe probe(*pCtrl);
    EXPECT_EQ(5, probe.CaretField());
    pCtrl->Create("hexEd", 0, wxRect(0, 0, 600, 100), m_pFrame, 1001);
    pCtrl->SetAddressDigits(8);
    pCtrl->SetByteOrder(0);
    EXPECT_EQ(0, probe.CaretPos());
    EXPECT_EQ(9 * m_nCellWidth, probe.CaretX());
}

TEST_F(CHexCtrlTest, LineWidthDoesNotDependOnTheOrderOfTheSetters)
{
    m_pCtrl->SetBytesPerLine(33);
    m_pCtrl->SetAddressInfo(0, 3);
    EXPECT_EQ(33, m_pCtrl->GetBytesPerLine());
    m_pCtrl->SetAddressInfo(0, 4);
    EXPECT_EQ(32, m_pCtrl->GetBytesPerLine());
    m_pCtrl->SetAddressInfo(0, 3);
    EXPECT_EQ(33, m_pCtrl->GetBytesPerLine());
}
