// Typing, Insert, Delete and Backspace; a buffer that cannot be had.
#include "HexCtrlTestSupport.h"

#include <sstream>

namespace
{
std::vector<unsigned char> FromHex(const std::string& str)
{
    std::vector<unsigned char> data;
    for (size_t i = 0; i + 1 < str.size(); i += 2)
        data.push_back(static_cast<unsigned char>(std::stoi(str.substr(i, 2), nullptr, 16)));
    return data;
}
} // namespace

TEST_F(CHexCtrlTest, TypingInsertAndDeleteChangeTheBytes)
{
    SetLines(3);
    for (const auto& row : ReadTable("tables/edits.txt"))
    {
        SCOPED_TRACE(testing::Message() << row.at(1) << ": " << row.at(2));
        int nWordLen = 0, nOrder = 0, nPos = 0, nSelStart = 0;
        std::istringstream(row.at(0)) >> nWordLen >> nOrder;
        std::istringstream(row.at(4)) >> nPos >> nSelStart;
        m_pCtrl->SetByteOrder(nOrder);
        Load(FromHex(row[1]), nWordLen, 16);
        Run(row[2]);
        EXPECT_EQ(FromHex(row[3]), P().Bytes());
        EXPECT_EQ(std::make_pair(nPos, nSelStart), std::make_pair(P().CaretPos(), P().SelStart()));
    }
}

// Insert keeps the old bytes (Delete and Backspace need no memory); new data leave an empty,
// consistent control.
TEST_F(CHexCtrlTest, FailedAllocationKeepsTheOldBytesOrLeavesNone)
{
    SetLines(3);
    Load(Sequence(8), 1, 16);
    CHexEditCtrlProbe::SetAlloc([](size_t) -> void* { return nullptr; });
    Run("=3,2 INS");
    EXPECT_EQ(Sequence(8), P().Bytes());
    Load(Sequence(40), 1, 16);
    EXPECT_FALSE(P().HasData());
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(m_pCtrl->GetDataLength(), P().CaretPos()));
    EXPECT_TRUE(Render().IsBlankRow(0));
    Run("v1,0");
    EXPECT_EQ(0, P().TopOffset());
}

// The edit commands and the context menu stop at the control, which leaves the bytes alone: the
// window around it never sees them.
TEST_F(CHexCtrlTest, EditCommandsAndContextMenuStopAtTheControl)
{
    SetLines(2);
    Load(Sequence(16), 1, 16);
    int nReachedParent = 0;
    m_pCtrl->GetParent()->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++nReachedParent; });
    m_pCtrl->GetParent()->Bind(wxEVT_CONTEXT_MENU, [&](wxContextMenuEvent&) { ++nReachedParent; });
    for (int nId : {57632, 57634, 57635, 57637, 57642, 57643, int(wxID_CLEAR), int(wxID_COPY),
                    int(wxID_CUT), int(wxID_PASTE), int(wxID_SELECTALL), int(wxID_UNDO)})
    {
        wxCommandEvent event(wxEVT_MENU, nId);
        m_pCtrl->GetEventHandler()->ProcessEvent(event);
    }
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, m_pCtrl->GetId());
    event.SetEventObject(m_pCtrl);
    m_pCtrl->GetEventHandler()->ProcessEvent(event);
    EXPECT_EQ(0, nReachedParent);
    EXPECT_EQ(Sequence(16), P().Bytes());
}
