#include "CorvanePrintout.h"

#include "CorvaneView.h"

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

// One logical unit is one printer pixel, also on a preview's smaller context.
void CCorvanePrintout::ScaleToPage()
{
    int nPageWidth = 0, nPageHeight = 0;
    GetPageSizePixels(&nPageWidth, &nPageHeight);
    m_info.m_pageSize = wxSize(nPageWidth, nPageHeight);
    m_info.m_pDC = GetDC();
    if (m_info.m_pDC == nullptr || nPageWidth <= 0 || nPageHeight <= 0)
        return;
    const wxSize device = m_info.m_pDC->GetSize();
    m_info.m_pDC->SetUserScale(double(device.x) / nPageWidth, double(device.y) / nPageHeight);
}

// The toolkit calls this once the print dialog has closed (and not at all when it was
// cancelled), or when a preview renders its first page.
void CCorvanePrintout::OnPreparePrinting()
{
    m_info = CPrintInfo();
    m_info.m_bPreview = IsPreview();
    ScaleToPage();
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
    ScaleToPage();
    m_info.m_nCurPage = nPage;
    m_info.m_bContinuePrinting = true;
    m_pView->OnPrepareDC(m_info.m_pDC, &m_info);
    return m_info.m_bContinuePrinting;
}

bool CCorvanePrintout::HasPage(int nPage)
{
    return PreparePage(nPage);
}

bool CCorvanePrintout::OnPrintPage(int nPage)
{
    if (!PreparePage(nPage) || m_info.m_pDC == nullptr)
        return false;
    m_pView->OnPrint(m_info.m_pDC, &m_info);
    return true;
}

// A preview renders each page as a job of its own; it ends only with the preview window.
void CCorvanePrintout::OnEndPrinting()
{
    if (m_bPrepared && !m_info.m_bPreview && m_pView)
        m_pView->OnEndPrinting(GetDC(), &m_info);
    if (!m_info.m_bPreview)
        m_bPrepared = false;
}
