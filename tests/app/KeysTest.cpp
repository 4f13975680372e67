// The keys of the main window: every shortcut a menu shows wins over the dump, whichever column
// has the caret, and what no menu shows stays the dump's.
#include "AppTestSupport.h"

namespace
{
// As the toolkit delivers a key: the press to the focused window, then its character unless the
// press was taken.
void PressKey(wxWindow* pWnd, int nKeyCode, int nChar, bool bCtrl)
{
    wxKeyEvent down(wxEVT_KEY_DOWN);
    down.m_keyCode = nKeyCode;
    down.m_rawCode = nKeyCode;
    down.m_controlDown = bCtrl;
    down.SetEventObject(pWnd);
    if (pWnd->GetEventHandler()->ProcessEvent(down))
        return;
    wxKeyEvent chr(wxEVT_CHAR, down);
    chr.m_keyCode = nChar;
    chr.m_uniChar = static_cast<wxChar>(nChar);
    pWnd->GetEventHandler()->ProcessEvent(chr);
}
} // namespace

using KeysTest = CAppRunTest;

// Ctrl+Q asks the frame to close before it can reach the character column as the byte 0x11;
// Ctrl+W, which no menu shows, is typed there as its control code.
TEST_F(KeysTest, MenuShortcutsWinOverTheDumpInBothColumns)
{
    const std::vector<uint8_t> bytes = {0x11, 0x22, 0x33, 0x44};
    for (const int nField : {CHexLayout::FIELD_HIGH, CHexLayout::FIELD_CHAR})
    {
        StartOn("keys.hex", {{0x100, bytes}});
        EXPECT_EQ(&Ctrl(), wxWindow::FindFocus());
        Probe().CaretField() = nField;
        Probe().PlaceCaret(1);
        std::vector<uint8_t> atClose;
        Frame()->Bind(
            wxEVT_CLOSE_WINDOW, [&](wxCloseEvent& event)
            { event.CanVeto() ? (atClose = Probe().Bytes(), event.Veto()) : event.Skip(); });
        PressKey(&Ctrl(), 'Q', 17, true);
        EXPECT_EQ(bytes, atClose) << "field " << nField;
        PressKey(&Ctrl(), 'W', 23, true);
        EXPECT_EQ(nField == CHexLayout::FIELD_CHAR ? 0x17 : 0x22, Probe().Bytes()[1]);
        TearDown();
    }
}
