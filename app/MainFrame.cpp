#include "MainFrame.h"

#include "Resource.h"
#include "WindowPlacement.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace
{
// Toolbar buttons from left to right; wxID_SEPARATOR between groups.
const int kToolbarLayout[] = {
    wxID_NEW,
    wxID_OPEN,
    ID_FILE_RELOAD,
    wxID_SAVE,
    wxID_SEPARATOR,
    wxID_CUT,
    wxID_COPY,
    wxID_PASTE,
    wxID_SEPARATOR,
    ID_VIEW_BYTES,
    ID_VIEW_WORD16,
    ID_VIEW_WORD24,
    ID_VIEW_WORD32,
    wxID_SEPARATOR,
    ID_VIEW_BYTEORDER,
    wxID_SEPARATOR,
    ID_VIEW_PREV_SEGMENT,
    ID_VIEW_NEXT_SEGMENT,
    wxID_SEPARATOR,
    wxID_PRINT,
    wxID_SEPARATOR,
    wxID_ABOUT,
};

void AppendItem(wxMenu* pMenu, int nId, const wxString& strLabel, wxItemKind kind = wxITEM_NORMAL)
{
    pMenu->Append(nId, strLabel, CorvaneRes::GetCommandPrompt(nId), kind);
}

wxMenu* CreateFileMenu()
{
    auto* pMenu = new wxMenu;
    AppendItem(pMenu, wxID_NEW, "&New\tCtrl+N");
    AppendItem(pMenu, wxID_OPEN, "&Open...\tCtrl+O");
    AppendItem(pMenu, wxID_SAVE, "&Save\tCtrl+S");
    AppendItem(pMenu, wxID_SAVEAS, "Save &As...");
    AppendItem(pMenu, wxID_PRINT, "Print");
    AppendItem(pMenu, wxID_PREVIEW, "Print Preview");
    pMenu->AppendSeparator();
    // stands for the recent files until there is one
    pMenu->Append(wxID_FILE1, "Recent File")->Enable(false);
    pMenu->AppendSeparator();
    // the shortcut every Linux desktop program has; shown, so that it is the one that works
    AppendItem(pMenu, wxID_EXIT, "E&xit\tCtrl+Q");
    return pMenu;
}

wxMenu* CreateEditMenu()
{
    auto* pMenu = new wxMenu;
    AppendItem(pMenu, wxID_UNDO, "&Undo\tCtrl+Z");
    pMenu->AppendSeparator();
    AppendItem(pMenu, wxID_CUT, "Cu&t\tCtrl+X");
    AppendItem(pMenu, wxID_COPY, "&Copy\tCtrl+C");
    AppendItem(pMenu, wxID_PASTE, "&Paste\tCtrl+V");
    return pMenu;
}

wxMenu* CreateViewMenu()
{
    auto* pMenu = new wxMenu;
    AppendItem(pMenu, ID_VIEW_TOOLBAR, "&Toolbar", wxITEM_CHECK);
    AppendItem(pMenu, ID_VIEW_STATUS_BAR, "&Status Bar", wxITEM_CHECK);
    return pMenu;
}

wxMenu* CreateHelpMenu()
{
    auto* pMenu = new wxMenu;
    AppendItem(pMenu, wxID_ABOUT, "&About Corvane...");
    return pMenu;
}
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CMainFrame, wxDocParentFrame);

// clang-format off
wxBEGIN_EVENT_TABLE(CMainFrame, wxDocParentFrame)
    EVT_UPDATE_UI(wxID_CUT, CMainFrame::OnUpdateEditDisabled)
    EVT_UPDATE_UI(wxID_COPY, CMainFrame::OnUpdateEditDisabled)
    EVT_UPDATE_UI(wxID_PASTE, CMainFrame::OnUpdateEditDisabled)
    EVT_UPDATE_UI(wxID_UNDO, CMainFrame::OnUpdateEditDisabled)
    EVT_MENU(ID_VIEW_TOOLBAR, CMainFrame::OnViewToolbar)
    EVT_UPDATE_UI(ID_VIEW_TOOLBAR, CMainFrame::OnUpdateViewToolbar)
    EVT_MENU(ID_VIEW_STATUS_BAR, CMainFrame::OnViewStatusBar)
    EVT_UPDATE_UI(ID_VIEW_STATUS_BAR, CMainFrame::OnUpdateViewStatusBar)
    EVT_IDLE(CMainFrame::OnIdle)
    EVT_ACTIVATE(CMainFrame::OnActivate)
    EVT_SHOW(CMainFrame::OnShow)
    EVT_SIZE(CMainFrame::OnSize)
wxEND_EVENT_TABLE();
// clang-format on

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    ReleaseDocuments();
}

void CMainFrame::ReleaseDocuments()
{
    if (m_docManager == nullptr)
        return;
    if (GetMenuBar())
        m_docManager->FileHistoryRemoveMenu(GetMenuBar()->GetMenu(0));
    m_docManager->CloseDocuments(true);
    m_docManager = nullptr;
}

bool CMainFrame::LoadFrame(wxDocManager* pManager)
{
    const wxString strTitle = CorvaneRes::GetDocString(kWindowTitle);
    if (!Create(pManager, nullptr, wxID_ANY, strTitle, wxDefaultPosition, wxSize(760, 560)))
        return false;
    if (OnCreate() == -1)
    {
        ReleaseDocuments();
        wxDocParentFrame::Destroy();
        return false;
    }
    return true;
}

int CMainFrame::OnCreate()
{
    SetIcons(CorvaneRes::GetAppIcons());
    // the dump covers the whole client area: erasing it first would only cost each repaint a
    // look-up of the theme's font and colours (dozens of them while the scroll bar fades)
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMenuBar(CreateMainMenu());
    SetAcceleratorTable(CreateAccelerators(GetMenuBar()));
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CMainFrame::OnLookChanged, this);
    Bind(wxEVT_DPI_CHANGED, &CMainFrame::OnLookChanged, this);
    if (m_docManager)
        m_docManager->FileHistoryUseMenu(GetMenuBar()->GetMenu(0));
    if (!CreateMainToolBar() || !CreateMainStatusBar())
        return -1;
    m_bPlacementRestored = RestoreWindowPlacement("Main", this);
    return 0;
}

bool CMainFrame::CreateMainToolBar()
{
    m_wndToolBar = CreateToolBar(wxTB_FLAT | wxTB_HORIZONTAL, AFX_IDW_TOOLBAR);
    if (m_wndToolBar == nullptr)
        return false;
    m_wndToolBar->SetToolBitmapSize(wxSize(CorvaneRes::kToolImageSize, CorvaneRes::kToolImageSize));
    for (int nId : kToolbarLayout)
    {
        if (nId == wxID_SEPARATOR)
        {
            m_wndToolBar->AddSeparator();
            continue;
        }
        const wxString strTip = CorvaneRes::GetCommandTooltip(nId);
        m_wndToolBar->AddTool(nId, strTip, GetToolImage(nId), strTip);
        m_wndToolBar->SetToolLongHelp(nId, CorvaneRes::GetCommandPrompt(nId));
    }
    return m_wndToolBar->Realize();
}

wxBitmapBundle CMainFrame::GetToolImage(int nId) const
{
    return CorvaneRes::GetToolImage(nId, m_wndToolBar->GetBackgroundColour());
}

void CMainFrame::SetToolImages()
{
    if (m_wndToolBar == nullptr)
        return;
    for (int nId : kToolbarLayout)
    {
        if (nId != wxID_SEPARATOR)
            m_wndToolBar->SetToolNormalBitmap(nId, GetToolImage(nId));
    }
    m_wndToolBar->Realize();
}

// The bar's images follow the theme and the scale; the dump handles these events itself.
void CMainFrame::OnLookChanged(wxEvent& event)
{
    event.Skip();
    SetToolImages();
}

wxMenuBar* CMainFrame::CreateMainMenu()
{
    auto* pMenuBar = new wxMenuBar;
    pMenuBar->Append(CreateFileMenu(), "&File");
    pMenuBar->Append(CreateEditMenu(), "&Edit");
    pMenuBar->Append(CreateViewMenu(), "&View");
    pMenuBar->Append(CreateHelpMenu(), "&Help");
    return pMenuBar;
}

// The edit keys of the table and every shortcut a menu shows: the dump sees keys first and
// hands on only these, so a shortcut the user reads in a menu never types into the data.
wxAcceleratorTable CMainFrame::CreateAccelerators(const wxMenuBar* pMenuBar)
{
    std::vector<wxAcceleratorEntry> entries = {
        {wxACCEL_CTRL, 'N', wxID_NEW},           {wxACCEL_CTRL, 'O', wxID_OPEN},
        {wxACCEL_CTRL, 'S', wxID_SAVE},          {wxACCEL_CTRL, 'Z', wxID_UNDO},
        {wxACCEL_CTRL, 'X', wxID_CUT},           {wxACCEL_CTRL, 'C', wxID_COPY},
        {wxACCEL_CTRL, 'V', wxID_PASTE},         {wxACCEL_ALT, WXK_BACK, wxID_UNDO},
        {wxACCEL_SHIFT, WXK_DELETE, wxID_CUT},   {wxACCEL_CTRL, WXK_INSERT, wxID_COPY},
        {wxACCEL_SHIFT, WXK_INSERT, wxID_PASTE},
    };
    for (size_t i = 0; pMenuBar != nullptr && i < pMenuBar->GetMenuCount(); ++i)
        AppendMenuAccelerators(pMenuBar->GetMenu(i), entries);
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

void CMainFrame::AppendMenuAccelerators(const wxMenu* pMenu,
                                        std::vector<wxAcceleratorEntry>& entries)
{
    for (const wxMenuItem* pItem : pMenu->GetMenuItems())
    {
        if (pItem->IsSubMenu())
        {
            AppendMenuAccelerators(pItem->GetSubMenu(), entries);
            continue;
        }
        const std::unique_ptr<wxAcceleratorEntry> pAccel(pItem->GetAccel());
        if (!pAccel || !pAccel->IsOk())
            continue;
        const bool bListed = std::any_of(entries.begin(), entries.end(),
                                         [&](const wxAcceleratorEntry& entry) {
                                             return entry.GetFlags() == pAccel->GetFlags() &&
                                                    entry.GetKeyCode() == pAccel->GetKeyCode();
                                         });
        if (!bListed)
            entries.emplace_back(pAccel->GetFlags(), pAccel->GetKeyCode(), pItem->GetId());
    }
}

bool CMainFrame::Destroy()
{
    SaveWindowPlacement("Main", this);
    ReleaseDocuments();
    return wxDocParentFrame::Destroy();
}

// Under a window manager the framework shows the first frame only once the manager has
// reported its border, and GTK lays the frame out at a placeholder of 2 x 1 pixels before
// and just after it is shown: the menu bar, toolbar, status bar and the dump's scroll bar
// cannot fit and GTK prints warnings at every start. Every window in the frame joins it
// once the shown frame has its real size, before anything is drawn.
bool CMainFrame::Show(bool bShow)
{
    if (bShow && std::exchange(m_bFirstShow, false))
    {
        std::vector<wxWindow*> windows(GetChildren().begin(), GetChildren().end());
        windows.push_back(GetMenuBar());
        for (wxWindow* pWindow : windows)
        {
            if (pWindow == nullptr || !pWindow->IsShown() ||
                std::find(m_heldBack.begin(), m_heldBack.end(), pWindow) != m_heldBack.end())
                continue;
            pWindow->Show(false);
            m_heldBack.emplace_back(pWindow);
        }
    }
    return wxDocParentFrame::Show(bShow);
}

void CMainFrame::OnShow(wxShowEvent& event)
{
    event.Skip();
    if (!event.IsShown() || m_heldBack.empty())
        return;
    m_bShowEventSeen = true;
    SendSizeEvent();
}

void CMainFrame::OnSize(wxSizeEvent& event)
{
    event.Skip();
    const wxSize client = GetClientSize();
    if (!m_bShowEventSeen || m_heldBack.empty() || (client.x <= 2 && client.y <= 1))
        return;
    for (wxWindow* pWindow : std::exchange(m_heldBack, {}))
    {
        if (pWindow != nullptr)
            pWindow->Show();
    }
    SendSizeEvent();
    // the dump could not take the keyboard focus while it was held back
    SetFocus();
}

// Cut, Copy, Paste and Undo have no handler anywhere and are shown disabled.
void CMainFrame::OnUpdateEditDisabled(wxUpdateUIEvent& event)
{
    event.Enable(false);
}

void CMainFrame::OnViewToolbar(wxCommandEvent&)
{
    m_wndToolBar->Show(!m_wndToolBar->IsShown());
    SendSizeEvent();
}

void CMainFrame::OnUpdateViewToolbar(wxUpdateUIEvent& event)
{
    event.Check(m_wndToolBar && m_wndToolBar->IsShown());
}

void CMainFrame::OnViewStatusBar(wxCommandEvent&)
{
    m_wndStatusBar->Show(!m_wndStatusBar->IsShown());
    SendSizeEvent();
}

void CMainFrame::OnUpdateViewStatusBar(wxUpdateUIEvent& event)
{
    event.Check(m_wndStatusBar && m_wndStatusBar->IsShown());
}

// The dump is the window's one input area: it takes the keys whenever the frame is activated,
// so that typing after start-up or Open reaches the data without a click first.
void CMainFrame::OnActivate(wxActivateEvent& event)
{
    // another program may have switched a lock meanwhile
    m_bLockKeysStale = true;
    if (event.GetActive())
        SetFocus();
    else
        event.Skip();
}

// The frame stands for the dump wherever the program or the toolkit focuses it.
void CMainFrame::SetFocus()
{
    wxWindow* pDump = FindWindow(IDC_HEXEDIT);
    if (pDump != nullptr && pDump->IsShownOnScreen())
        pDump->SetFocus();
    else
        wxDocParentFrame::SetFocus();
}
