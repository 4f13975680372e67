// The status bar: the prompt pane, the lock-key panes, and the caret, segment and view panes
// that say where the view stands.
#include "MainFrame.h"

#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "Resource.h"

#include <wx/eventfilter.h>
#include <wx/statusbr.h>

#include <utility>

namespace
{
// Room around a pane's text, as the lock-key panes have it.
constexpr int kPaneMargin = 16;

// The texts the panes start wide enough for, # standing for the widest hex digit; a longer
// text widens its pane for good, so that the panes do not move while the caret does.
const char* const kCaretSample = "Address ########";
const char* const kSegmentSample = "Segment 8 of 8: ########-########, 888 bytes";
const char* const kViewSample = "32-bit, order 1";

// The widest of the characters when drawn in the window's font.
wxUniChar WidestOf(const wxWindow& window, const wxString& strChars)
{
    wxUniChar chWidest = strChars[0];
    for (const wxUniChar ch : strChars)
        if (window.GetTextExtent(wxString(ch)).x > window.GetTextExtent(wxString(chWidest)).x)
            chWidest = ch;
    return chWidest;
}

// The status bar, painted with the rest of the window and only where a pane changed: the
// toolkit's own paints a changed pane at once, a picture of its own besides the dump's, and
// then measures and draws every pane again. Every pane's text is fitted to the pane's width, so
// a new size repaints them all.
class CStatusBar : public wxStatusBar
{
public:
    CStatusBar(wxWindow* pParent, wxWindowID nId, long nStyle, const wxString& strName)
        : wxStatusBar(pParent, nId, nStyle, strName)
    {
        // a font of its own, or every measurement and paint asks the theme for its default
        SetFont(GetFont());
        Bind(wxEVT_SYS_COLOUR_CHANGED,
             [this](wxSysColourChangedEvent& event)
             {
                 event.Skip();
                 SetFont(wxNullFont);
                 SetFont(GetFont());
             });
        Bind(wxEVT_SIZE,
             [this](wxSizeEvent& event)
             {
                 event.Skip();
                 Refresh();
             });
    }

protected:
    void DoUpdateStatusText(int nField) override
    {
        wxRect rect;
        if (GetFieldRect(nField, rect))
            RefreshRect(rect);
    }

    void DrawField(wxDC& dc, int nField, int nTextHeight) override
    {
        wxRect rect;
        if (GetFieldRect(nField, rect) && GetUpdateRegion().Contains(rect) != wxOutRegion)
            wxStatusBar::DrawField(dc, nField, nTextHeight);
    }
};

// The byte under the caret and, for words, the word address the address column gives it;
// blank while the dump is empty.
wxString CaretPaneText(const CCorvaneView& view)
{
    const CHexEditCtrl& ctrl = *view.GetHexCtrl();
    const MemorySegment* pSegment = view.GetSegment(view.GetSegmentIndex());
    if (pSegment == nullptr || ctrl.GetDataLength() <= 0)
        return wxString();
    const uint32_t dwIndex = static_cast<uint32_t>(ctrl.GetCaretIndex());
    const uint32_t dwWordLen = static_cast<uint32_t>(view.GetWordLen());
    wxString strText = wxString::Format("Address %08X", pSegment->m_dwAddress + dwIndex);
    if (dwWordLen > 1)
        strText += wxString::Format(", word %08X",
                                    pSegment->m_dwAddress / dwWordLen + dwIndex / dwWordLen);
    return strText;
}

// An empty segment has a start but no last address.
wxString SegmentPaneText(const CCorvaneView& view)
{
    const int nIndex = view.GetSegmentIndex();
    const MemorySegment* pSegment = view.GetSegment(nIndex);
    if (pSegment == nullptr)
        return wxString();
    wxString strText = wxString::Format("Segment %d of %d: %08X", nIndex + 1,
                                        view.GetSegmentCount(), pSegment->m_dwAddress);
    const int nSize = pSegment->m_nSize;
    if (nSize > 0)
        strText += wxString::Format("-%08X", pSegment->m_dwAddress + uint32_t(nSize - 1));
    return strText + wxString::Format(nSize == 1 ? ", %d byte" : ", %d bytes", nSize);
}

// The control shows stored order for any byte order but 1.
wxString ViewPaneText(const CCorvaneView& view)
{
    const int nOrder = view.GetHexCtrl()->GetByteOrder() == 1 ? 1 : 0;
    return wxString::Format("%d-bit, order %d", 8 * view.GetWordLen(), nOrder);
}
} // namespace

namespace
{
// Notes every key pressed or released anywhere in the program: only these change a lock key
// while the program has the keys.
class CKeyWatch : public wxEventFilter
{
public:
    explicit CKeyWatch(bool& bStale) : m_bStale(bStale) { wxEvtHandler::AddFilter(this); }
    ~CKeyWatch() override { wxEvtHandler::RemoveFilter(this); }
    CKeyWatch(const CKeyWatch&) = delete;
    CKeyWatch& operator=(const CKeyWatch&) = delete;

    int FilterEvent(wxEvent& event) override
    {
        // only the lock keys themselves change what the panes show: asking the display costs
        // three round trips, too many for every caret step
        const wxEventType type = event.GetEventType();
        if (type != wxEVT_KEY_DOWN && type != wxEVT_KEY_UP)
            return Event_Skip;
        const int nKey = static_cast<wxKeyEvent&>(event).GetKeyCode();
        if (nKey == WXK_CAPITAL || nKey == WXK_NUMLOCK || nKey == WXK_SCROLL)
            m_bStale = true;
        return Event_Skip;
    }

private:
    bool& m_bStale;
};
} // namespace

wxStatusBar* CMainFrame::OnCreateStatusBar(int nFields, long nStyle, wxWindowID nId,
                                           const wxString& strName)
{
    auto* pBar = new CStatusBar(this, nId, nStyle, strName);
    pBar->SetFieldsCount(nFields);
    return pBar;
}

bool CMainFrame::CreateMainStatusBar()
{
    m_wndStatusBar = CreateStatusBar(kPaneCount, wxSTB_DEFAULT_STYLE, AFX_IDW_STATUS_BAR);
    if (m_wndStatusBar == nullptr)
        return false;
    const int nLockPane = m_wndStatusBar->GetTextExtent(CorvaneRes::kIndicatorScrl).x + kPaneMargin;
    m_paneWidths = {-1, nLockPane, nLockPane, nLockPane};
    m_chWidestDigit = WidestOf(*m_wndStatusBar, "0123456789");
    m_chWidestHexLetter = WidestOf(*m_wndStatusBar, "ABCDEF");
    const wxString strWidestHex(
        WidestOf(*m_wndStatusBar, wxString(m_chWidestDigit) + m_chWidestHexLetter));
    for (wxString strSample : {kCaretSample, kSegmentSample, kViewSample})
    {
        strSample.Replace("#", strWidestHex);
        m_paneWidths.push_back(PaneWidthFor(int(m_paneWidths.size()), strSample));
    }
    m_paneShapes.assign(kPaneCount, wxString());
    m_wndStatusBar->SetStatusWidths(kPaneCount, m_paneWidths.data());
    SetStatusText(CorvaneRes::kIdleMessage, kPanePrompt);
    m_pKeyWatch = std::make_unique<CKeyWatch>(m_bLockKeysStale);
    return true;
}

void CMainFrame::DoGiveHelp(const wxString& strText, bool bShow)
{
    wxDocParentFrame::DoGiveHelp(strText, bShow);
    m_bPromptShown = bShow;
    if (m_wndStatusBar == nullptr)
        return;
    std::vector<int> widths(kPaneCount, 0);
    widths[kPanePrompt] = -1;
    m_wndStatusBar->SetStatusWidths(kPaneCount, bShow ? widths.data() : m_paneWidths.data());
}

void CMainFrame::SetPaneText(int nPane, const wxString& strText)
{
    if (m_wndStatusBar == nullptr || m_wndStatusBar->GetStatusText(nPane) == strText)
        return;
    // the lock-key panes change with a lock key; the position panes change with every caret
    // step, so they are measured once for each shape of text: every digit drawn as the widest
    // digit and every capital A to F as the widest of those, at least as wide as the text
    wxString strMeasured = strText;
    if (nPane >= kPaneCaret)
        for (wxUniCharRef ch : strMeasured)
            ch = wxIsdigit(ch)            ? m_chWidestDigit
                 : ch >= 'A' && ch <= 'F' ? m_chWidestHexLetter
                                          : ch;
    if (m_paneWidths[nPane] >= 0 && strMeasured != m_paneShapes[nPane])
    {
        m_paneShapes[nPane] = strMeasured;
        const int nNeed = PaneWidthFor(nPane, strMeasured);
        if (nNeed > m_paneWidths[nPane])
        {
            m_paneWidths[nPane] = nNeed;
            if (!m_bPromptShown)
                m_wndStatusBar->SetStatusWidths(kPaneCount, m_paneWidths.data());
        }
    }
    m_wndStatusBar->SetStatusText(strText, nPane);
}

int CMainFrame::PaneWidthFor(int nPane, const wxString& strText) const
{
    int nWidth = m_wndStatusBar->GetTextExtent(strText).x + kPaneMargin;
    // the size grip lies over the last pane
    if (nPane == kPaneCount - 1)
        nWidth += m_wndStatusBar->GetClientSize().y;
    return nWidth;
}

CCorvaneView* CMainFrame::GetShownView() const
{
    if (m_docManager == nullptr || m_docManager->GetDocuments().empty())
        return nullptr;
    auto* pDoc = static_cast<wxDocument*>(m_docManager->GetDocuments().front());
    auto* pView = wxDynamicCast(pDoc->GetFirstView(), CCorvaneView);
    return pView && pView->GetHexCtrl() ? pView : nullptr;
}

void CMainFrame::SetPositionPanes()
{
    const CCorvaneView* pView = GetShownView();
    SetPaneText(kPaneCaret, pView ? CaretPaneText(*pView) : wxString());
    SetPaneText(kPaneSegment, pView ? SegmentPaneText(*pView) : wxString());
    SetPaneText(kPaneView, pView ? ViewPaneText(*pView) : wxString());
}

void CMainFrame::SetKeyIndicators(bool bCaps, bool bNum, bool bScroll)
{
    if (m_wndStatusBar == nullptr)
        return;
    const struct
    {
        bool bOn;
        const char* pszText;
    } panes[] = {{bCaps, CorvaneRes::kIndicatorCaps},
                 {bNum, CorvaneRes::kIndicatorNum},
                 {bScroll, CorvaneRes::kIndicatorScrl}};
    for (int i = 0; i < 3; i++)
        SetPaneText(kPaneCaps + i, panes[i].bOn ? panes[i].pszText : "");
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    if (std::exchange(m_bLockKeysStale, false))
        SetKeyIndicators(m_pfnGetKeyState(WXK_CAPITAL), m_pfnGetKeyState(WXK_NUMLOCK),
                         m_pfnGetKeyState(WXK_SCROLL));
    SetPositionPanes();
    event.Skip();
}
