// The program's single top-level window: menu, accelerators, toolbar, status bar with the
// lock-key panes, and the size, position and state it had when it was last closed.
#pragma once

#include <wx/accel.h>
#include <wx/utils.h>
#include <wx/bmpbndl.h>
#include <wx/docview.h>
#include <wx/eventfilter.h>
#include <wx/weakref.h>

#include <memory>
#include <vector>

class CCorvaneView;
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
    // Gives the keyboard focus to the dump, once it is shown.
    void SetFocus() override;

    // The caret, segment and view panes show where the view stands; read when the frame
    // updates its panes, so the control never reports a caret move.
    void SetPositionPanes();
    // A menu or toolbar prompt takes the whole bar while it shows: the panes beside the
    // prompt pane leave it too little room for a sentence.
    void DoGiveHelp(const wxString& strText, bool bShow) override;

    static wxMenuBar* CreateMainMenu();
    static wxAcceleratorTable CreateAccelerators(const wxMenuBar* pMenuBar);
    // Status-bar panes in order: the prompt pane, the CAP, NUM and SCRL indicators, then
    // the caret's address, the segment shown and the word length with the byte order.
    enum EPane
    {
        kPanePrompt,
        kPaneCaps,
        kPaneNum,
        kPaneScrl,
        kPaneCaret,
        kPaneSegment,
        kPaneView,
        kPaneCount
    };

    // False on a first run: no stored placement was applied.
    bool IsPlacementRestored() const { return m_bPlacementRestored; }

protected:
    int OnCreate();
    bool CreateMainToolBar();
    // Each button's image for the bar's background now; again after a theme or scale change.
    wxBitmapBundle GetToolImage(int nId) const;
    void SetToolImages();
    bool CreateMainStatusBar();
    wxStatusBar* OnCreateStatusBar(int nFields, long nStyle, wxWindowID nId,
                                   const wxString& strName) override;
    // Writes a pane only when its text changed, widening the pane when the text needs it.
    void SetPaneText(int nPane, const wxString& strText);
    int PaneWidthFor(int nPane, const wxString& strText) const;
    // The view while its dump is there to report on.
    CCorvaneView* GetShownView() const;
    // The lock-key panes show their key's name while the lock is on.
    void SetKeyIndicators(bool bCaps, bool bNum, bool bScroll);
    // Closes the documents, whose view shows in this frame, and lets go of the document
    // manager.
    void ReleaseDocuments();

private:
    friend struct CShellProbe;

    static void AppendMenuAccelerators(const wxMenu* pMenu,
                                       std::vector<wxAcceleratorEntry>& entries);
    void OnUpdateEditDisabled(wxUpdateUIEvent& event);
    void OnViewToolbar(wxCommandEvent& event);
    void OnUpdateViewToolbar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnShow(wxShowEvent& event);
    void OnSize(wxSizeEvent& event);
    // The theme or the scale changed.
    void OnLookChanged(wxEvent& event);

    wxStatusBar* m_wndStatusBar = nullptr;
    wxToolBar* m_wndToolBar = nullptr;
    bool m_bPlacementRestored = false;
    // Asking the display for the lock keys is a round trip each: it is done when a key event
    // or an activation may have changed them, not on every idle cycle.
    bool m_bLockKeysStale = true;
    bool (*m_pfnGetKeyState)(wxKeyCode) = &wxGetKeyState;
    std::unique_ptr<wxEventFilter> m_pKeyWatch;

    // The windows left out of the frame's first layouts, see Show.
    bool m_bFirstShow = true;
    bool m_bShowEventSeen = false;
    std::vector<wxWeakRef<wxWindow>> m_heldBack;
    // Status-bar pane widths; -1 for the prompt pane, which takes the rest.
    std::vector<int> m_paneWidths;
    // Per pane, the text its width was last measured for.
    std::vector<wxString> m_paneShapes;
    wxUniChar m_chWidestDigit = '0';
    wxUniChar m_chWidestHexLetter = 'A';
    // A prompt has the whole bar (see DoGiveHelp).
    bool m_bPromptShown = false;

    wxDECLARE_DYNAMIC_CLASS(CMainFrame);
    wxDECLARE_EVENT_TABLE();
};
