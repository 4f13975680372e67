// The control's window and the data interface the view calls.
#include "HexCtrlTestSupport.h"

// Before its window exists the control only takes the data in.
TEST(HexEditCtrl, DataBeforeTheWindowExists)
{
    CHexEditCtrl ctrl;
    const unsigned char bytes[] = {1, 2, 3};
    ctrl.SetData(bytes, 3);
    EXPECT_EQ(3, ctrl.GetDataLength());
    EXPECT_FALSE(CHexEditCtrlProbe(ctrl).CaretExists());
}

// A buffer that cannot be had leaves an empty, consistent control.
TEST_F(CHexCtrlTest, FailedAllocationLeavesTheControlEmpty)
{
    SetLines(3);
    Load(Sequence(40), 1, 16);
    CHexEditCtrlProbe::SetMalloc([](size_t) -> void* { return nullptr; });
    Load(Sequence(40), 1, 16);
    EXPECT_EQ(nullptr, P().Data());
    EXPECT_EQ(0, m_pCtrl->GetDataLength());
    EXPECT_EQ(0, P().CaretPos());
    EXPECT_TRUE(Render().IsBlankRow(0));
    P().VScroll(CHexEditCtrl::SB_LINEDOWN);
    EXPECT_EQ(0, P().TopOffset());
}

// The edit commands and the context menu reach handlers that do nothing.
TEST_F(CHexCtrlTest, EditCommandsAndContextMenuAreAcceptedAndIgnored)
{
    SetLines(2);
    Load(Sequence(16), 1, 16);
    for (int nId : {57632, 57634, 57635, 57637, 57642, 57643, int(wxID_COPY), int(wxID_UNDO)})
    {
        wxCommandEvent event(wxEVT_MENU, nId);
        EXPECT_TRUE(m_pCtrl->GetEventHandler()->ProcessEvent(event)) << nId;
    }
    EXPECT_EQ(P().Bytes(), Sequence(16));
    bool bReachedParent = false;
    m_pCtrl->GetParent()->Bind(wxEVT_CONTEXT_MENU,
                               [&](wxContextMenuEvent&) { bReachedParent = true; });
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, m_pCtrl->GetId());
    event.SetEventObject(m_pCtrl);
    m_pCtrl->GetEventHandler()->ProcessEvent(event);
    EXPECT_FALSE(bReachedParent);
}
