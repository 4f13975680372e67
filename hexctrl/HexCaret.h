// The control's own caret: created hidden, shown explicitly, moved to pixel positions,
// destroyed. Its owner draws it by
// inverting the cells it covers; it blinks at the desktop's cursor blink rate.
#pragma once

#include <wx/gdicmn.h>
#include <wx/timer.h>

class wxWindow;

class CHexCaret : private wxTimer
{
public:
    explicit CHexCaret(wxWindow* pOwner);
    ~CHexCaret() override;

    // Destroys any current caret and makes a new hidden one of this size.
    void Create(int nWidth, int nHeight);
    void Destroy();
    void SetPos(int nX, int nY);
    void Show();

    bool Exists() const { return m_bExists; }
    bool IsShown() const { return m_bExists && m_bShown; }
    // True while the caret is shown and in the visible phase of its blink.
    bool IsDrawn() const { return IsShown() && m_bBlinkOn; }
    wxRect GetRect() const { return m_rect; }

    static void EnableBlink(bool bEnable);

private:
    void Notify() override;
    void Restart();
    void RefreshOwner();

    wxWindow* m_pOwner;
    wxRect m_rect;
    bool m_bExists = false;
    bool m_bShown = false;
    bool m_bBlinkOn = true;
};
