// The program's single top-level window: menu, accelerators, toolbar, status bar with the
// lock-key panes, and the size, position and state it had when it was last closed.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/docview.h>
#include <wx/weakref.h>

#include <vector>

class wxStatusBar;
class wxToolBar;

class CMainFrame : public wxDocParentFrame
{
public:
    CMainFrame();
    ~CMainFrame() override;

    // Creates the window with its bars and applies the stored placement; false (and no
    // window) when a bar cannot be created.
    bool LoadFrame(wxDocManager* pManager);
    // Saves the placement while the window still exists.
    bool Destroy() override;
    bool Show(bool bShow = true) override;

    // The lock-key panes show their key's name while the lock is on.
    void SetKeyIndicators(bool bCaps, bool bNum, bool bScroll);

    static wxMenuBar* CreateMainMenu();
    static wxAcceleratorTable CreateAccelerators();
    // Status-bar panes in order: the prompt pane and the CAP, NUM and SCRL indicators.
    static const int indicators[4];

    wxStatusBar* m_wndStatusBar = nullptr;
    wxToolBar* m_wndToolBar = nullptr;
    // False on a first run: no stored placement was applied.
    bool m_bPlacementRestored = false;

protected:
    int OnCreate();
    bool CreateMainToolBar();
    // Each button's image for the bar's background now; again after a theme or scale change.
    wxBitmapBundle GetToolImage(int nId) const;
    void SetToolImages();
    bool CreateMainStatusBar();
    // Closes the documents (the view holds its window by value, so it must go before the
    // frame deletes its children) and lets go of the document manager.
    void ReleaseDocuments();

private:
    void OnUpdateEditDisabled(wxUpdateUIEvent& event);
    void OnViewToolbar(wxCommandEvent& event);
    void OnUpdateViewToolbar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnShow(wxShowEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);
    void OnDPIChanged(wxDPIChangedEvent& event);

    // The windows left out of the frame's first layouts, see Show.
    bool m_bFirstShow = true;
    bool m_bShowEventSeen = false;
    std::vector<wxWeakRef<wxWindow>> m_heldBack;

    wxDECLARE_DYNAMIC_CLASS(CMainFrame);
    wxDECLARE_EVENT_TABLE();
};
