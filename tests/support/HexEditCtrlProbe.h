// The hex-edit control's fields and inner operations, for tests only.
#pragma once

#include "HexEditCtrl.h"

#include <cstdint>
#include <vector>

struct CHexEditCtrlProbe
{
    explicit CHexEditCtrlProbe(CHexEditCtrl& ctrl) : c(ctrl) {}
    CHexEditCtrl& c;

    bool HasData() const { return c.m_bHasData; }
    void Poke(int nPos, uint8_t byte) { c.PutByte(nPos, byte); }
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> bytes(static_cast<size_t>(c.GetDataLength()));
        c.m_data.Read(0, c.GetDataLength(), bytes.data());
        return bytes;
    }
    int BaseAddress() const { return c.m_nBaseAddress; }
    int WordLen() const { return c.m_nWordLen; }
    int& TopOffset() { return c.m_nTopOffset; }
    int& CaretPos() { return c.m_cursor.nIndex; }
    int& CaretField() { return c.m_cursor.nField; }
    int& SelStart() { return c.m_cursor.nSelStart; }
    int& SelEnd() { return c.m_cursor.nSelEnd; }
    int CharX() const { return c.GetLayout().GetCharCol() * c.m_nCharWidth; }
    const wxFont& Font() const { return c.m_font; }
    bool CaretExists() const { return c.m_caret.Exists(); }
    bool CaretShown() const { return c.m_caret.IsShown(); }
    wxRect CaretRect() const { return c.m_caret.GetRect(); }

    void VScroll(int nCode, int nPos = 0) { c.OnVScroll(nCode, nPos); }
    void PlaceCaret(int nPos) { c.PlaceCaret(nPos); }
    void Key(int nChar, bool bShift = false, bool bCtrl = false)
    {
        c.OnKeyDown(nChar, bShift, bCtrl);
    }
    void Char(int nChar, bool bCtrl = false) { c.OnChar(nChar, bCtrl); }
    void Down(int x, int y, bool bShift = false) { c.OnLButtonDown(x, y, bShift); }
    void Move(int x, int y, bool bLButton = true) { c.OnMouseMove(x, y, bLButton); }
    void Up(int x, int y) { c.OnLButtonUp(x, y); }
    void SetSelection(int nStart, int nEnd) { c.SetSelection(nStart, nEnd); }
    void Focus(bool bIn)
    {
        wxFocusEvent event(bIn ? wxEVT_SET_FOCUS : wxEVT_KILL_FOCUS, c.GetId());
        bIn ? c.OnSetFocus(event) : c.OnKillFocus(event);
    }
    static void SetAlloc(void* (*pfn)(size_t)) { CHexBuffer::s_pfnAlloc = pfn; }
};
