// The frame's edit accelerators come before the hex control; other keys reach it.
#include "AppTestSupport.h"
#include "DocTemplate.h"
#include "HexEditCtrlProbe.h"
#include "MainFrame.h"

TEST(EditKeysTest, FrameAcceleratorsWinOverTheControl)
{
    // key, modifiers (1 Shift, 2 Control, 4 Alt), character the key types; bytes afterwards
    const std::tuple<int, int, int, std::vector<uint8_t>> kCases[] = {
        {WXK_DELETE, 0, 0, {0x00, 0x22, 0x33}},
        {WXK_INSERT, 0, 0, {0x00, 0x00, 0x11, 0x22, 0x33}},
        {WXK_BACK, 0, 8, {0x11, 0x22, 0x33}},
        {'A', 0, 'a', {0x00, 0xA1, 0x22, 0x33}},
        {WXK_DELETE, 1, 0, {0x00, 0x11, 0x22, 0x33}},
        {WXK_INSERT, 1, 0, {0x00, 0x11, 0x22, 0x33}},
        {WXK_INSERT, 2, 0, {0x00, 0x11, 0x22, 0x33}},
        {WXK_BACK, 4, 8, {0x00, 0x11, 0x22, 0x33}},
        {'C', 2, 3, {0x00, 0x11, 0x22, 0x33}},
        {'Z', 2, 26, {0x00, 0x11, 0x22, 0x33}},
    };
    ResetProfile();
    CSingleDocManager manager;
    auto* pFrame = new CMainFrame;
    ASSERT_TRUE(pFrame->LoadFrame(&manager));
    auto* pCtrl = new CHexEditCtrl;
    pCtrl->Create("hexEd", 0, wxRect(0, 0, 600, 200), pFrame, 1000);
    const uint8_t bytes[] = {0x00, 0x11, 0x22, 0x33};
    for (const auto& [nKey, nMods, nChar, after] : kCases)
    {
        pCtrl->SetData(bytes, 4);
        CHexEditCtrlProbe(*pCtrl).CaretField() = 2;
        CHexEditCtrlProbe(*pCtrl).PlaceCaret(1);
        // as the toolkit delivers them: the key, then its character if nobody took the key
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = nKey;
        key.SetShiftDown(nMods & 1);
        key.SetControlDown(nMods & 2);
        key.SetAltDown(nMods & 4);
        key.SetEventObject(pCtrl);
        key.Skip(false);
        pCtrl->GetEventHandler()->ProcessEvent(key);
        if (key.GetSkipped() && nChar != 0)
        {
            wxKeyEvent chr(key);
            chr.SetEventType(wxEVT_CHAR);
            chr.m_keyCode = chr.m_uniChar = nChar;
            pCtrl->GetEventHandler()->ProcessEvent(chr);
        }
        EXPECT_EQ(after, CHexEditCtrlProbe(*pCtrl).Bytes()) << nKey << " with " << nMods;
    }
    pFrame->Destroy();
    PumpEvents();
}
