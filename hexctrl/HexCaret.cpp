#include "HexCaret.h"

#include <wx/settings.h>
#include <wx/window.h>

namespace
{
bool s_bBlinkEnabled = true;

// Milliseconds per phase of the desktop's cursor blink; 0 for a caret that does not blink.
// The toolkit answers from its own settings (-1 when it has none).
int QueryBlinkInterval()
{
    const int nOn = wxSystemSettings::GetMetric(wxSYS_CARET_ON_MSEC);
    return nOn < 0 ? 600 : nOn;
}

int GetBlinkInterval()
{
    static const int s_nInterval = QueryBlinkInterval();
    return s_nInterval;
}
} // namespace

CHexCaret::CHexCaret(wxWindow* pOwner) : m_pOwner(pOwner) {}

CHexCaret::~CHexCaret()
{
    Stop();
}

void CHexCaret::EnableBlink(bool bEnable)
{
    s_bBlinkEnabled = bEnable;
}

void CHexCaret::Create(int nWidth, int nHeight)
{
    Destroy();
    m_bExists = true;
    m_bShown = false;
    m_rect = wxRect(m_rect.GetPosition(), wxSize(nWidth, nHeight));
}

void CHexCaret::Destroy()
{
    if (!m_bExists)
        return;
    Stop();
    RefreshOwner();
    m_bExists = false;
}

// Without a caret only the position is kept, for the next one.
void CHexCaret::SetPos(int nX, int nY)
{
    if (!m_bExists)
    {
        m_rect.SetPosition(wxPoint(nX, nY));
        return;
    }
    RefreshOwner();
    m_rect.SetPosition(wxPoint(nX, nY));
    Restart();
}

void CHexCaret::Show()
{
    if (!m_bExists || m_bShown)
        return;
    m_bShown = true;
    Restart();
}

void CHexCaret::Notify()
{
    m_bBlinkOn = !m_bBlinkOn;
    RefreshOwner();
}

// A caret that was just shown or moved starts in its visible phase.
void CHexCaret::Restart()
{
    m_bBlinkOn = true;
    if (!IsShown())
        return;
    RefreshOwner();
    const int nInterval = GetBlinkInterval();
    if (s_bBlinkEnabled && nInterval > 0)
        Start(nInterval);
}

void CHexCaret::RefreshOwner()
{
    if (IsShown() && m_pOwner->GetHandle())
        m_pOwner->RefreshRect(m_rect, false);
}
