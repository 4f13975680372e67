// A top-level window's size, position and state, kept in the profile between runs as
// section "WindowPlacement", entry NAME-Place: eleven little-endian 32-bit fields.
#pragma once

#include <array>
#include <cstdint>

#include <wx/gdicmn.h>

class wxWindow;

enum EShowCmd : uint32_t
{
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_RESTORE = 9
};

struct WINDOWPLACEMENT
{
    static constexpr uint32_t kSize = 44;

    uint32_t length = kSize;
    uint32_t flags = 0;
    uint32_t showCmd = SW_SHOWNORMAL;
    int32_t ptMinPosition[2] = {-1, -1};
    int32_t ptMaxPosition[2] = {-1, -1};
    // left, top, right, bottom
    int32_t rcNormalPosition[4] = {0, 0, 0, 0};

    std::array<uint8_t, kSize> ToBytes() const;
    static WINDOWPLACEMENT FromBytes(const uint8_t* pBytes);
    // Width and height are never negative, whatever the stored edges.
    wxRect GetNormalRect() const;
    void SetNormalRect(const wxRect& rect);
};

// Reads the window's placement; its normal rectangle even while it is maximized or
// minimized, once RestoreWindowPlacement has been called for it.
WINDOWPLACEMENT GetWindowPlacement(wxWindow* pWnd);
// A stored minimized state comes back as a normal window, maximized stays maximized.
uint32_t RestoredShowCmd(uint32_t nShowCmd);
// True when a Wayland compositor shows the windows: it places them itself, ignores moves
// and reports every window at (0, 0).
bool IsWaylandDisplay();
// The size applies at once, brought onto the screen's work area; position (not under
// Wayland) and maximized state once the window is shown.
void SetWindowPlacement(wxWindow* pWnd, const WINDOWPLACEMENT& wp,
                        bool bWayland = IsWaylandDisplay());
// The rectangle at least nMin (where the work area allows) and at most the work area of
// the display nearest to it, within that work area.
wxRect OnScreenRect(const wxRect& rcStored, const wxSize& sizeMin);

// True when a stored placement of exactly 44 bytes was applied.
bool RestoreWindowPlacement(const char* pszName, wxWindow* pWnd,
                            bool bWayland = IsWaylandDisplay());
// Saves nothing for a window never shown, so a failed start keeps the stored placement.
// Under Wayland the stored position stays, so that a later X11 session still finds it.
void SaveWindowPlacement(const char* pszName, wxWindow* pWnd, bool bWayland = IsWaylandDisplay());
