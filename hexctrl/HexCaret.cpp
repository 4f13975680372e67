#include "HexCaret.h"

#include <wx/dynlib.h>
#include <wx/window.h>

namespace
{
bool s_bBlinkEnabled = true;

// Milliseconds per phase of the desktop's cursor blink; 0 for a caret that does not blink.
int QueryBlinkInterval()
{
    int nCycle = 1200;
    int bBlink = 1;
#ifdef __WXGTK__
    // The setting lives in the toolkit's settings object; the toolkit is already loaded.
    typedef void* (*CGetSettings)();
    typedef void (*CGetProperties)(void*, const char*, ...);
    const int nFlags = wxDL_VERBATIM | wxDL_QUIET | wxDL_NOW;
    wxDynamicLibrary gtk("libgtk-3.so.0", nFlags);
    wxDynamicLibrary gobject("libgobject-2.0.so.0", nFlags);
    CGetSettings pfnSettings = nullptr;
    CGetProperties pfnGet = nullptr;
    if (gtk.IsLoaded() && gobject.IsLoaded())
    {
        pfnSettings = reinterpret_cast<CGetSettings>(gtk.GetSymbol("gtk_settings_get_default"));
        pfnGet = reinterpret_cast<CGetProperties>(gobject.GetSymbol("g_object_get"));
    }
    if (void* pSettings = pfnSettings && pfnGet ? pfnSettings() : nullptr)
        pfnGet(pSettings, "gtk-cursor-blink", &bBlink, "gtk-cursor-blink-time", &nCycle, nullptr);
#endif
    return bBlink && nCycle > 1 ? nCycle / 2 : 0;
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
    m_nHideCount = 1;
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

void CHexCaret::SetPos(int nX, int nY)
{
    if (!m_bExists)
        return;
    RefreshOwner();
    m_rect.SetPosition(wxPoint(nX, nY));
    Restart();
}

void CHexCaret::Show()
{
    if (!m_bExists || m_nHideCount == 0)
        return;
    if (--m_nHideCount == 0)
        Restart();
}

void CHexCaret::Hide()
{
    if (!m_bExists)
        return;
    if (m_nHideCount == 0)
    {
        Stop();
        RefreshOwner();
    }
    ++m_nHideCount;
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
