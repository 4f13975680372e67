// Typing, Insert, Delete and Backspace; a buffer that cannot be had.
#include "HexCtrlTestSupport.h"

namespace
{
std::vector<unsigned char> FromHex(const std::string& str)
{
    std::vector<unsigned char> data;
    for (size_t i = 0; i + 1 < str.size(); i += 2)
        data.push_back(static_cast<unsigned char>(std::stoi(str.substr(i, 2), nullptr, 16)));
    return data;
}

const struct
{
    int nWordLen, nOrder;
    const char *pszData, *pszScript, *pszAfter;
    int nPos, nSelStart;
} kEdits[] = {
    {1, 1, "3C00", "'f '1", "F100", 1, -1},
    {1, 1, "3C00", "=0,2 SR 'F 'g 'E", "3FE0", 1, -1}, // upper case, as the dump shows
    {1, 1, "3C", "'1 '2 '3", "32", 0, -1}, // typing never appends
    {1, 1, "000000", "=0,1 'A #13", "410D00", 2, -1},
    {1, 1, "000000", "=0,1 SR ^3 ^22 ^24 ^26 ^1", "000100", 2, -1},
    {2, 0, "1234", "'a", "A234", 0, -1}, // the digit drawn first is the one typed
    {2, 1, "1234", "'a", "12A4", 1, -1},
    {4, 0, "12345678", "'a 'b", "AB345678", 1, -1},
    {4, 1, "12345678", "'a 'b 'c", "1234C6AB", 2, -1},
    {3, 0, "123456", "R 'a", "1A3456", 1, -1},
    {1, 1, "00112233", "=1,2 DEL", "002233", 1, -1},
    {1, 1, "00112233", "=2,2 #8 ^8 ^9", "2233", 0, -1},
    {1, 1, "001122", "=1,2 INS", "00001122", 1, -1},
    {1, 1, "0001020304050607", "=4,2 SR SR SR SR INS", "0001020304050000000607", 6, -1},
    {1, 1, "00112233", "=1,2 SPD DEL", "00112233", 1, 1},
    {1, 1, "001122", "=2,2 DEL 'f INS", "001100", 2, -1},
    {1, 1, "00", "DEL CE E #8 DEL", "", 0, -1},
};
} // namespace

TEST_F(CHexCtrlTest, TypingInsertAndDeleteChangeTheBytes)
{
    SetLines(3);
    for (const auto& e : kEdits)
    {
        SCOPED_TRACE(testing::Message() << e.pszData << ": " << e.pszScript);
        m_pCtrl->SetByteOrder(e.nOrder);
        Load(FromHex(e.pszData), e.nWordLen, 16);
        Run(e.pszScript);
        EXPECT_EQ(FromHex(e.pszAfter), P().Bytes());
        EXPECT_EQ(std::make_pair(e.nPos, e.nSelStart),
                  std::make_pair(P().CaretPos(), P().SelStart()));
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
