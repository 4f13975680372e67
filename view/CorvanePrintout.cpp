#include "CorvanePrintout.h"

#include "CorvaneView.h"

#include <wx/dc.h>

#include <algorithm>

CCorvanePrintout::CCorvanePrintout(CCorvaneView* pView, const wxString& strTitle)
    : wxPrintout(strTitle), m_pView(pView)
{
}

CCorvanePrintout::~CCorvanePrintout()
{
    if (m_bPrepared && m_info.m_bPreview && m_pView)
        m_pView->OnEndPrintPreview(GetDC(), &m_info);
}

wxRect CCorvanePrintout::MarginRect(const wxRect& rcPaper, const wxSize& printable,
                                    const wxSize& ppi)
{
    const wxRect rcPrintable(printable);
    wxRect rcArea = rcPaper.IsEmpty() ? rcPrintable : rcPaper;
    rcArea.Deflate(wxRound(kMinMarginMM * std::max(ppi.x, 0) / 25.4),
                   wxRound(kMinMarginMM * std::max(ppi.y, 0) / 25.4));
    return rcArea.Intersect(rcPrintable);
}

// One logical unit is one printer pixel, also on a preview's smaller context, and the
// origin is the top left of the area inside the margins, so print and preview agree.
void CCorvanePrintout::PrepareDC()
{
    int nPageWidth = 0, nPageHeight = 0, nPpiX = 0, nPpiY = 0;
    GetPageSizePixels(&nPageWidth, &nPageHeight);
    GetPPIPrinter(&nPpiX, &nPpiY);
    const wxRect rcArea =
        MarginRect(GetPaperRectPixels(), wxSize(nPageWidth, nPageHeight), wxSize(nPpiX, nPpiY));
    m_info.m_pageSize = rcArea.GetSize();
    m_info.m_pDC = GetDC();
    if (m_info.m_pDC == nullptr || nPageWidth <= 0 || nPageHeight <= 0)
        return;
    const wxSize device = m_info.m_pDC->GetSize();
    m_info.m_pDC->SetUserScale(double(device.x) / nPageWidth, double(device.y) / nPageHeight);
    m_info.m_pDC->SetLogicalOrigin(-rcArea.x, -rcArea.y);
}

// The toolkit calls this once the print dialog has closed (and not at all when it was
// cancelled), or when a preview renders its first page.
void CCorvanePrintout::OnPreparePrinting()
{
    m_info = CPrintInfo();
    m_info.m_bPreview = IsPreview();
    m_nPreparedPage = 0;
    PrepareDC();
    m_bPrepared = m_pView && m_pView->OnPreparePrinting(&m_info);
}

void CCorvanePrintout::GetPageInfo(int* pMinPage, int* pMaxPage, int* pSelFrom, int* pSelTo)
{
    // the toolkit needs at least one page: an empty segment prints its header alone
    const int nMaxPage = std::max(1, m_info.m_nMaxPage);
    *pMinPage = 1;
    *pMaxPage = nMaxPage;
    *pSelFrom = 1;
    *pSelTo = nMaxPage;
}

bool CCorvanePrintout::PreparePage(int nPage)
{
    if (!m_bPrepared || !m_pView || nPage < 1 || nPage > std::max(1, m_info.m_nMaxPage))
        return false;
    if (nPage == m_nPreparedPage)
        return m_info.m_bContinuePrinting;
    PrepareDC();
    m_info.m_nCurPage = nPage;
    m_info.m_bContinuePrinting = true;
    m_pView->OnPrepareDC(m_info.m_pDC, &m_info);
    m_nPreparedPage = nPage;
    return m_info.m_bContinuePrinting;
}

// The print loop asks for a page before it prints it; a preview only prints it.
bool CCorvanePrintout::HasPage(int nPage)
{
    return PreparePage(nPage);
}

bool CCorvanePrintout::OnPrintPage(int nPage)
{
    const bool bPrint = PreparePage(nPage) && m_info.m_pDC != nullptr;
    // a preview draws the page again on a new context when it is zoomed
    m_nPreparedPage = 0;
    if (bPrint)
        m_pView->OnPrint(m_info.m_pDC, &m_info);
    return bPrint;
}

// A preview renders each page as a job of its own; it ends only with the preview window.
void CCorvanePrintout::OnEndPrinting()
{
    if (m_bPrepared && !m_info.m_bPreview && m_pView)
        m_pView->OnEndPrinting(GetDC(), &m_info);
    if (!m_info.m_bPreview)
        m_bPrepared = false;
}
