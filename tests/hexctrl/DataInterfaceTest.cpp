// The control's window, its defaults and the data interface the view calls.
#include "HexCtrlTestSupport.h"

#include <wx/panel.h>

namespace
{
void* FailingMalloc(size_t)
{
    return nullptr;
}
} // namespace

TEST(HexEditCtrlDefaults, FieldsBeforeTheWindowExists)
{
    CHexEditCtrl ctrl;
    CHexEditCtrlProbe probe(ctrl);
    EXPECT_EQ(nullptr, probe.Data());
    EXPECT_EQ(0, ctrl.GetDataLength());
    EXPECT_EQ(8, ctrl.GetBytesPerLine());
    EXPECT_EQ(1, ctrl.GetByteOrder());
    EXPECT_EQ(1, probe.WordLen());
    EXPECT_EQ(-1, probe.SelStart());
    EXPECT_EQ(0, probe.CaretField());
    EXPECT_EQ(1, probe.LinesPerPage());
    EXPECT_TRUE(probe.LayoutDirty());
    EXPECT_TRUE(probe.DataFitsWindow());
    EXPECT_FALSE(probe.LongAddress());
    EXPECT_EQ("Courier New", probe.Font().GetFaceName());
    // without a window only the fields change
    const unsigned char bytes[] = {1, 2, 3};
    ctrl.SetData(bytes, 3);
    EXPECT_EQ(3, ctrl.GetDataLength());
    EXPECT_FALSE(probe.CaretExists());
}

TEST_F(CHexCtrlTest, WindowIsCreatedAsTheViewAsksIt)
{
    EXPECT_EQ("hexEd", m_pCtrl->GetName());
    EXPECT_EQ(1000, m_pCtrl->GetId());
    EXPECT_TRUE(m_pCtrl->HasFlag(wxVSCROLL));
    EXPECT_TRUE(m_pCtrl->HasFlag(wxWANTS_CHARS));
    EXPECT_EQ(wxBG_STYLE_PAINT, m_pCtrl->GetBackgroundStyle());
    EXPECT_EQ(P().Font(), m_pCtrl->GetFont());
}

TEST_F(CHexCtrlTest, SetDataKeepsItsOwnCopy)
{
    SetLines(2);
    std::vector<unsigned char> data = Sequence(16);
    Load(data, 1, 16);
    data[0] = 0xEE;
    EXPECT_EQ("00 01 ", Render().Text(9, 0, 6));
    EXPECT_NE(data.data(), P().Data());
}

// A new width takes effect at the next paint, whatever causes it.
TEST_F(CHexCtrlTest, SetBytesPerLineWaitsForThePaint)
{
    SetLines(3);
    Load(Sequence(40), 1, 16);
    m_pCtrl->SetBytesPerLine(8);
    EXPECT_TRUE(P().LayoutDirty());
    EXPECT_EQ("00000008", Render().Text(0, 1, 8));
    EXPECT_FALSE(P().LayoutDirty());
}

// A buffer that cannot be had leaves an empty, consistent control.
TEST_F(CHexCtrlTest, FailedAllocationLeavesTheControlEmpty)
{
    SetLines(3);
    Load(Sequence(40), 1, 16);
    CHexEditCtrlProbe::SetMalloc(FailingMalloc);
    Load(Sequence(40), 1, 16);
    EXPECT_EQ(nullptr, P().Data());
    EXPECT_EQ(0, m_pCtrl->GetDataLength());
    EXPECT_EQ(0, P().CaretPos());
    EXPECT_TRUE(Render().IsBlankRow(0));
    P().VScroll(CHexEditCtrl::SB_LINEDOWN);
    EXPECT_EQ(0, P().TopOffset());
}

TEST_F(CHexCtrlTest, EditCommandsAreAcceptedAndIgnored)
{
    SetLines(2);
    Load(Sequence(16), 1, 16);
    for (int nId : {57632, 57634, 57635, 57637, 57642, 57643, int(wxID_COPY), int(wxID_UNDO)})
    {
        wxCommandEvent event(wxEVT_MENU, nId);
        EXPECT_TRUE(m_pCtrl->GetEventHandler()->ProcessEvent(event)) << nId;
    }
    EXPECT_EQ(16, m_pCtrl->GetDataLength());
    EXPECT_EQ(0, P().Data()[0]);
}

TEST_F(CHexCtrlTest, ContextMenuGoesNoFurther)
{
    bool bReachedParent = false;
    m_pCtrl->GetParent()->Bind(wxEVT_CONTEXT_MENU,
                               [&](wxContextMenuEvent&) { bReachedParent = true; });
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, m_pCtrl->GetId());
    event.SetEventObject(m_pCtrl);
    m_pCtrl->GetEventHandler()->ProcessEvent(event);
    EXPECT_FALSE(bReachedParent);
}
