#include "WindowPlacement.h"

#include "Profile.h"

#include <wx/app.h>
#include <wx/toplevel.h>

#include <wx/display.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <utility>

namespace
{
const char* const kSection = "WindowPlacement";
// the smallest window a stored placement may ask for
const wxSize kMinSize(200, 150);

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

// Per tracked window: the last rectangle while it was neither maximized nor minimized,
// and whether it was ever shown (a window never shown has no placement worth keeping).
struct CTracked
{
    wxRect m_rcNormal;
    bool m_bShown = false;
};

std::map<const wxWindow*, CTracked>& Tracked()
{
    static std::map<const wxWindow*, CTracked> s_windows;
    return s_windows;
}

bool IsNormalState(const wxTopLevelWindow* pTlw)
{
    return pTlw == nullptr || (!pTlw->IsMaximized() && !pTlw->IsIconized());
}

void TrackNormalRect(wxWindow* pWnd)
{
    if (Tracked().count(pWnd) != 0)
        return;
    Tracked()[pWnd].m_rcNormal = pWnd->GetRect();
    auto remember = [pWnd](wxEvent& event)
    {
        if (IsNormalState(wxDynamicCast(pWnd, wxTopLevelWindow)))
            Tracked()[pWnd].m_rcNormal = pWnd->GetRect();
        event.Skip();
    };
    pWnd->Bind(wxEVT_SIZE, remember);
    pWnd->Bind(wxEVT_MOVE, remember);
    pWnd->Bind(wxEVT_SHOW,
               [pWnd](wxShowEvent& event)
               {
                   if (event.IsShown())
                       Tracked()[pWnd].m_bShown = true;
                   event.Skip();
               });
    pWnd->Bind(wxEVT_DESTROY,
               [pWnd](wxWindowDestroyEvent& event)
               {
                   if (event.GetEventObject() == pWnd)
                       Tracked().erase(pWnd);
                   event.Skip();
               });
}

// A window manager places a window as it maps it and maximizes only a mapped window, and
// the framework's show event comes before the manager has mapped it: the stored position
// and state are applied when the window is first activated (mapped and given the focus),
// or a moment after it was shown where nothing activates it. No position: none to apply.
void ApplyOnceShown(wxTopLevelWindow* pTlw, std::optional<wxPoint> pt, bool bMaximize)
{
    constexpr int kFallbackMs = 1000;
    // a one-shot timer no longer runs once it fired, so it cannot say what is left to do
    struct CPending
    {
        wxTimer m_timer;
        bool m_bShown = false;
        bool m_bDone = false;
    };
    auto pPending = std::make_shared<CPending>();
    // the timer's own handler must not own the timer
    auto apply = [pTlw, pt, bMaximize, pWeak = std::weak_ptr<CPending>(pPending)]()
    {
        const auto pPending = pWeak.lock();
        if (!pPending || !pPending->m_bShown || pPending->m_bDone || pTlw->IsBeingDeleted())
            return;
        pPending->m_bDone = true;
        pPending->m_timer.Stop();
        if (pt)
        {
            pTlw->Move(*pt);
            Tracked()[pTlw].m_rcNormal = wxRect(*pt, Tracked()[pTlw].m_rcNormal.GetSize());
        }
        if (bMaximize)
            pTlw->Maximize(true);
    };
    pPending->m_timer.Bind(wxEVT_TIMER, [pTlw, apply](wxTimerEvent&) { pTlw->CallAfter(apply); });
    pTlw->Bind(wxEVT_SHOW,
               [pPending](wxShowEvent& event)
               {
                   event.Skip();
                   if (event.IsShown() && !std::exchange(pPending->m_bShown, true))
                       pPending->m_timer.StartOnce(kFallbackMs);
               });
    pTlw->Bind(wxEVT_ACTIVATE,
               [pTlw, apply](wxActivateEvent& event)
               {
                   event.Skip();
                   if (event.GetActive())
                       pTlw->CallAfter(apply);
               });
    pTlw->Bind(wxEVT_DESTROY,
               [pPending](wxWindowDestroyEvent& event)
               {
                   pPending->m_bDone = true;
                   pPending->m_timer.Stop();
                   event.Skip();
               });
}

// A stored placement of exactly 44 bytes; any other length is not one.
std::optional<WINDOWPLACEMENT> ReadStored(const char* pszName)
{
    wxMemoryBuffer buf;
    if (!GetProfileBinary(kSection, EntryName(pszName), buf) ||
        buf.GetDataLen() != WINDOWPLACEMENT::kSize)
        return std::nullopt;
    return WINDOWPLACEMENT::FromBytes(static_cast<const uint8_t*>(buf.GetData()));
}

// The placement with its normal rectangle moved to the stored one's position, its size kept.
WINDOWPLACEMENT KeepStoredPosition(WINDOWPLACEMENT wp, const WINDOWPLACEMENT& stored)
{
    wxRect rect = wp.GetNormalRect();
    rect.SetPosition(stored.GetNormalRect().GetPosition());
    wp.SetNormalRect(rect);
    return wp;
}

// The work area of the display nearest to the rectangle's centre.
wxRect WorkAreaFor(const wxRect& rect)
{
    const int n = wxDisplay::GetFromPoint(rect.GetPosition() + rect.GetSize() / 2);
    const wxRect area = wxDisplay(n == wxNOT_FOUND ? 0u : unsigned(n)).GetClientArea();
    return area.IsEmpty() ? wxRect(0, 0, 1024, 768) : area;
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
    // a stored rectangle may span more than an int holds
    auto extent = [](int32_t nLow, int32_t nHigh)
    { return static_cast<int>(std::clamp<int64_t>(int64_t(nHigh) - nLow, 0, INT32_MAX)); };
    return wxRect(wxPoint(rcNormalPosition[0], rcNormalPosition[1]),
                  wxSize(extent(rcNormalPosition[0], rcNormalPosition[2]),
                         extent(rcNormalPosition[1], rcNormalPosition[3])));
}

void WINDOWPLACEMENT::SetNormalRect(const wxRect& rect)
{
    auto edge = [](int nPos, int nExtent)
    {
        return static_cast<int32_t>(
            std::clamp<int64_t>(int64_t(nPos) + nExtent, INT32_MIN, INT32_MAX));
    };
    rcNormalPosition[0] = rect.GetLeft();
    rcNormalPosition[1] = rect.GetTop();
    rcNormalPosition[2] = edge(rect.GetLeft(), rect.GetWidth());
    rcNormalPosition[3] = edge(rect.GetTop(), rect.GetHeight());
}

wxRect OnScreenRect(const wxRect& rcStored, const wxSize& sizeMin)
{
    const wxRect area = WorkAreaFor(rcStored);
    wxRect rect = rcStored;
    rect.width = std::clamp(rect.width, std::min(sizeMin.x, area.width), area.width);
    rect.height = std::clamp(rect.height, std::min(sizeMin.y, area.height), area.height);
    // a window wholly off the work area comes back to its centre; one partly off moves in
    if (!area.Intersects(rcStored))
        return rect.CentreIn(area);
    rect.x = std::clamp(rect.x, area.x, area.GetRight() + 1 - rect.width);
    rect.y = std::clamp(rect.y, area.y, area.GetBottom() + 1 - rect.height);
    return rect;
}

WINDOWPLACEMENT GetWindowPlacement(wxWindow* pWnd)
{
    WINDOWPLACEMENT wp;
    auto* pTlw = wxDynamicCast(pWnd, wxTopLevelWindow);
    if (pTlw && pTlw->IsMaximized())
        wp.showCmd = SW_SHOWMAXIMIZED;
    else if (pTlw && pTlw->IsIconized())
        wp.showCmd = SW_SHOWMINIMIZED;
    auto it = Tracked().find(pWnd);
    const bool bNormal = IsNormalState(pTlw);
    wp.SetNormalRect(bNormal || it == Tracked().end() ? pWnd->GetRect() : it->second.m_rcNormal);
    return wp;
}

uint32_t RestoredShowCmd(uint32_t nShowCmd)
{
    return nShowCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE;
}

bool IsWaylandDisplay()
{
    return wxGetDisplayInfo().type == wxDisplayWayland;
}

void SetWindowPlacement(wxWindow* pWnd, const WINDOWPLACEMENT& wp, bool bWayland)
{
    auto* pTlw = wxDynamicCast(pWnd, wxTopLevelWindow);
    if (pTlw && pTlw->IsIconized())
        pTlw->Iconize(false);
    if (pTlw && pTlw->IsMaximized())
        pTlw->Maximize(false);
    const wxRect rect = OnScreenRect(wp.GetNormalRect(), kMinSize);
    if (bWayland)
        pWnd->SetSize(rect.GetSize());
    else
        pWnd->SetSize(rect);
    Tracked()[pWnd].m_rcNormal = rect;
    const bool bMaximize = wp.showCmd == SW_SHOWMAXIMIZED;
    if (pTlw && (!bWayland || bMaximize))
        ApplyOnceShown(pTlw, bWayland ? std::nullopt : std::optional(rect.GetPosition()),
                       bMaximize);
}

bool RestoreWindowPlacement(const char* pszName, wxWindow* pWnd, bool bWayland)
{
    if (pWnd == nullptr || pWnd->GetHandle() == nullptr || wxTheApp == nullptr)
        return false;
    TrackNormalRect(pWnd);
    std::optional<WINDOWPLACEMENT> wp = ReadStored(pszName);
    if (!wp)
        return false;
    wp->showCmd = RestoredShowCmd(wp->showCmd);
    SetWindowPlacement(pWnd, *wp, bWayland);
    return true;
}

void SaveWindowPlacement(const char* pszName, wxWindow* pWnd, bool bWayland)
{
    if (pWnd == nullptr || pWnd->GetHandle() == nullptr || wxTheApp == nullptr)
        return;
    auto it = Tracked().find(pWnd);
    if (it == Tracked().end() || !it->second.m_bShown)
        return;
    WINDOWPLACEMENT wp = GetWindowPlacement(pWnd);
    const std::optional<WINDOWPLACEMENT> stored = bWayland ? ReadStored(pszName) : std::nullopt;
    if (stored)
        wp = KeepStoredPosition(wp, *stored);
    const auto bytes = wp.ToBytes();
    WriteProfileBinary(kSection, EntryName(pszName), bytes.data(), bytes.size());
}
