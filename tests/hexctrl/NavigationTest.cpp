// Clicks, drags, the mouse capture and the frame's shortcuts through the window's handlers.
#include "HexCtrlTestSupport.h"

#include <wx/accel.h>

namespace
{
// word length, byte order, bytes, lines; steps; caret index and field, selection, top offset and,
// when checked, the cell the caret is drawn on
struct CNavCase
{
    int nWordLen, nOrder, nLen, nLines;
    const char* pszScript;
    int nPos, nField, nSelStart, nSelEnd, nTop, nCaretCell = -1;
};

// Clicks, drags and resizes through the window's handlers, in the byte layout with 8-digit
// addresses (the high digit of column k is cell 9 + 3k): a drag starts outside the drag rectangle,
// scrolls a line per move outside the window and carries the caret; a click ends a selection, and
// so does another window taking the mouse.
const CNavCase kCases[] = {
    {1, 1, 40, 5, "@11,1 !11,1", 17, 2, -1, -1, 0, 12},
    {1, 1, 100, 5, "=5,2 +@36,0 +@45,0", 12, 2, 9, 13, 0},
    {1, 1, 100, 5, "@24,0 ~37,0 ~37,0 !37,0 @5,9 !5,9", 9, 3, -1, -1, 0, 37},
    {1, 1, 100, 5, "@37,0 ~24,0 ~24,0 !24,0", 5, 2, 9, 6, 0},
    {1, 1, 100, 5, "@62,0 ~66,0 ~66,0", 9, 1, 5, 9, 0},
    {1, 1, 100, 5, "T32 @24,1 ~24,0 ~24,-1 ~24,-1", 5, 2, 53, 6, 0},
    {1, 1, 100, 5, "@24,0 ~24,1 ~24,5", 85, 2, 5, 86, 16},
    {1, 1, 100, 5, "=5,2 SR @24,2 !24,2", 37, 2, -1, -1, 0, 24},
    {1, 1, 100, 5, "W8 W3 v1,0 v1,0 v1,0 v1,0", 64, 2, -1, -1, 64},
    {1, 1, 100, 5, "@24,0 X ~37,2", 5, 2, -1, -1, 0}, // another window took the mouse
};
} // namespace

TEST_F(CHexCtrlTest, ClicksDragsAndResizesMoveCaretAndSelection)
{
    for (const CNavCase& c : kCases)
    {
        SCOPED_TRACE(c.pszScript);
        SetLines(c.nLines);
        m_pCtrl->SetByteOrder(c.nOrder);
        Load(Sequence(c.nLen), c.nWordLen, BytesPerLine(c.nWordLen));
        Run(c.pszScript);
        EXPECT_EQ(c.nPos, P().CaretPos());
        EXPECT_EQ(c.nField, P().CaretField());
        EXPECT_EQ(std::make_pair(c.nSelStart, c.nSelEnd),
                  std::make_pair(P().SelStart(), P().SelEnd()));
        EXPECT_EQ(c.nTop, P().TopOffset());
        EXPECT_TRUE(c.nCaretCell < 0 || c.nCaretCell * m_nCellWidth == P().CaretRect().x)
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
