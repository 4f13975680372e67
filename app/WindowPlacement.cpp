#include "WindowPlacement.h"

#include "Profile.h"

#include <wx/app.h>
#include <wx/toplevel.h>

#include <map>

namespace
{
const char* const kSection = "WindowPlacement";

wxString EntryName(const char* pszName)
{
    return wxString(pszName) + "-Place";
}

void PutLE32(uint8_t* p, uint32_t n)
{
    for (int i = 0; i < 4; i++)
        p[i] = static_cast<uint8_t>(n >> (8 * i));
}

uint32_t GetLE32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

// The last rectangle of each tracked window while it was neither maximized nor minimized.
std::map<const wxWindow*, wxRect>& NormalRects()
{
    static std::map<const wxWindow*, wxRect> s_rects;
    return s_rects;
}

bool IsNormalState(const wxTopLevelWindow* pTlw)
{
    return pTlw == nullptr || (!pTlw->IsMaximized() && !pTlw->IsIconized());
}

void TrackNormalRect(wxWindow* pWnd)
{
    if (NormalRects().count(pWnd) != 0)
        return;
    NormalRects()[pWnd] = pWnd->GetRect();
    auto remember = [pWnd](wxEvent& event)
    {
        if (IsNormalState(wxDynamicCast(pWnd, wxTopLevelWindow)))
            NormalRects()[pWnd] = pWnd->GetRect();
        event.Skip();
    };
    pWnd->Bind(wxEVT_SIZE, remember);
    pWnd->Bind(wxEVT_MOVE, remember);
    pWnd->Bind(wxEVT_DESTROY,
               [pWnd](wxWindowDestroyEvent& event)
               {
                   if (event.GetEventObject() == pWnd)
                       NormalRects().erase(pWnd);
                   event.Skip();
               });
}
} // namespace

std::array<uint8_t, WINDOWPLACEMENT::kSize> WINDOWPLACEMENT::ToBytes() const
{
    const uint32_t fields[11] = {length,
                                 flags,
                                 showCmd,
                                 uint32_t(ptMinPosition[0]),
                                 uint32_t(ptMinPosition[1]),
                                 uint32_t(ptMaxPosition[0]),
                                 uint32_t(ptMaxPosition[1]),
                                 uint32_t(rcNormalPosition[0]),
                                 uint32_t(rcNormalPosition[1]),
                                 uint32_t(rcNormalPosition[2]),
                                 uint32_t(rcNormalPosition[3])};
    std::array<uint8_t, kSize> bytes{};
    for (int i = 0; i < 11; i++)
        PutLE32(&bytes[4 * i], fields[i]);
    return bytes;
}

WINDOWPLACEMENT WINDOWPLACEMENT::FromBytes(const uint8_t* pBytes)
{
    WINDOWPLACEMENT wp;
    wp.length = GetLE32(pBytes);
    wp.flags = GetLE32(pBytes + 4);
    wp.showCmd = GetLE32(pBytes + 8);
    for (int i = 0; i < 2; i++)
    {
        wp.ptMinPosition[i] = int32_t(GetLE32(pBytes + 12 + 4 * i));
        wp.ptMaxPosition[i] = int32_t(GetLE32(pBytes + 20 + 4 * i));
    }
    for (int i = 0; i < 4; i++)
        wp.rcNormalPosition[i] = int32_t(GetLE32(pBytes + 28 + 4 * i));
    return wp;
}

wxRect WINDOWPLACEMENT::GetNormalRect() const
{
    return wxRect(wxPoint(rcNormalPosition[0], rcNormalPosition[1]),
                  wxSize(rcNormalPosition[2] - rcNormalPosition[0],
                         rcNormalPosition[3] - rcNormalPosition[1]));
}

void WINDOWPLACEMENT::SetNormalRect(const wxRect& rect)
{
    rcNormalPosition[0] = rect.GetLeft();
    rcNormalPosition[1] = rect.GetTop();
    rcNormalPosition[2] = rect.GetLeft() + rect.GetWidth();
    rcNormalPosition[3] = rect.GetTop() + rect.GetHeight();
}

WINDOWPLACEMENT GetWindowPlacement(wxWindow* pWnd)
{
    WINDOWPLACEMENT wp;
    auto* pTlw = wxDynamicCast(pWnd, wxTopLevelWindow);
    if (pTlw && pTlw->IsMaximized())
        wp.showCmd = SW_SHOWMAXIMIZED;
    else if (pTlw && pTlw->IsIconized())
        wp.showCmd = SW_SHOWMINIMIZED;
    auto it = NormalRects().find(pWnd);
    const bool bNormal = IsNormalState(pTlw);
    wp.SetNormalRect(bNormal || it == NormalRects().end() ? pWnd->GetRect() : it->second);
    return wp;
}

uint32_t RestoredShowCmd(uint32_t nShowCmd)
{
    return nShowCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE;
}

void SetWindowPlacement(wxWindow* pWnd, const WINDOWPLACEMENT& wp)
{
    auto* pTlw = wxDynamicCast(pWnd, wxTopLevelWindow);
    if (pTlw && pTlw->IsIconized())
        pTlw->Iconize(false);
    if (pTlw && pTlw->IsMaximized())
        pTlw->Maximize(false);
    pWnd->SetSize(wp.GetNormalRect());
    NormalRects()[pWnd] = pWnd->GetRect();
    if (pTlw && wp.showCmd == SW_SHOWMAXIMIZED)
        pTlw->Maximize(true);
}

bool RestoreWindowPlacement(const char* pszName, wxWindow* pWnd)
{
    if (pWnd == nullptr || pWnd->GetHandle() == nullptr || wxTheApp == nullptr)
        return false;
    TrackNormalRect(pWnd);
    wxMemoryBuffer buf;
    if (!GetProfileBinary(kSection, EntryName(pszName), buf))
        return false;
    if (buf.GetDataLen() != WINDOWPLACEMENT::kSize)
        return false;
    WINDOWPLACEMENT wp = WINDOWPLACEMENT::FromBytes(static_cast<const uint8_t*>(buf.GetData()));
    wp.showCmd = RestoredShowCmd(wp.showCmd);
    SetWindowPlacement(pWnd, wp);
    return true;
}

void SaveWindowPlacement(const char* pszName, wxWindow* pWnd)
{
    if (pWnd == nullptr || pWnd->GetHandle() == nullptr || wxTheApp == nullptr)
        return;
    const WINDOWPLACEMENT wp = GetWindowPlacement(pWnd);
    const auto bytes = wp.ToBytes();
    WriteProfileBinary(kSection, EntryName(pszName), bytes.data(), bytes.size());
}
