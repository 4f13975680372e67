// Clicks, drags, the mouse capture and the frame's shortcuts through the window's handlers.
#include "HexCtrlTestSupport.h"

#include <wx/accel.h>

#include <sstream>

// The rows of tables/clicks.txt, in 5 lines of bytes.
TEST_F(CHexCtrlTest, ClicksDragsAndResizesMoveCaretAndSelection)
{
    for (const auto& row : ReadTable("tables/clicks.txt"))
    {
        SCOPED_TRACE(row.at(1));
        SetLines(5);
        Load(Sequence(std::stoi(row.at(0))), 1, 16);
        Run(row[1]);
        std::ostringstream seen;
        seen << P().CaretPos() << " " << P().CaretField() << "|" << P().SelStart() << " "
             << P().SelEnd() << "|" << P().TopOffset();
        EXPECT_EQ(row.at(2) + "|" + row.at(3) + "|" + row.at(4), seen.str());
        EXPECT_TRUE(row.at(5) == "-1" || std::stoi(row[5]) * m_nCellWidth == P().CaretRect().x)
            << P().CaretRect().x / m_nCellWidth;
    }
}

// The frame's shortcuts come before the dump's keys: Shift+Delete runs the frame's command, or
// is swallowed while the command is disabled, and never deletes a byte.
TEST_F(CHexCtrlTest, FrameShortcutsComeBeforeTheKeys)
{
    SetLines(2);
    Load(Sequence(16), 1, 16);
    wxAcceleratorEntry entry(wxACCEL_SHIFT, WXK_DELETE, wxID_CUT);
    m_pFrame->SetAcceleratorTable(wxAcceleratorTable(1, &entry));
    int nRan = 0;
    bool bEnabled = true;
    m_pFrame->Bind(
        wxEVT_MENU, [&](wxCommandEvent&) { ++nRan; }, wxID_CUT);
    m_pFrame->Bind(
        wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(bEnabled); }, wxID_CUT);
    for (const bool bEnable : {true, false})
    {
        bEnabled = bEnable;
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = WXK_DELETE;
        key.m_shiftDown = true;
        m_pCtrl->GetEventHandler()->ProcessEvent(key);
    }
    EXPECT_EQ(1, nRan);
    EXPECT_EQ(Sequence(16), P().Bytes());
}
