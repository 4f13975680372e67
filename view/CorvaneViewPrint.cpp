// Printing and print preview of the shown segment, from the control's copy (edits
// included): a fixed-pitch font fitted to the page, a header line, then the dump lines.
#include "CorvaneView.h"

#include "CorvanePrintout.h"

#include <wx/datetime.h>
#include <wx/dc.h>

#include <algorithm>
#include <climits>

namespace
{
// Lines of the header and of the dump, measured as the control measures them.
const char* const kLineProbe = "0123456789ABCDEF";

wxFont MakeFixedFont(double dPoints)
{
    return wxFont(wxFontInfo(std::max(dPoints, 1.0)).Family(wxFONTFAMILY_TELETYPE));
}

int TextHeight(wxDC& dc, const wxFont& font)
{
    dc.SetFont(font);
    return dc.GetTextExtent(kLineProbe).y;
}

// The fixed-pitch face whose lines are nHeight high, or the largest one below.
wxFont FixedFontOfHeight(wxDC& dc, int nHeight)
{
    const double dProbe = 100.0;
    const int nProbe = TextHeight(dc, MakeFixedFont(dProbe));
    double dPoints = nProbe > 0 ? dProbe * nHeight / nProbe : nHeight;
    wxFont font = MakeFixedFont(dPoints);
    // heights do not follow the size exactly
    for (int i = 0; i < 50 && dPoints > 1.0 && TextHeight(dc, font) > nHeight; ++i)
        font = MakeFixedFont(dPoints *= 0.98);
    return font;
}

long long DivideRoundingUp(long long n, long long nBy)
{
    return (n + nBy - 1) / nBy;
}
} // namespace

wxPrintout* CCorvaneView::OnCreatePrintout()
{
    wxDocument* pDoc = wxView::GetDocument();
    return new CCorvanePrintout(this, pDoc ? pDoc->GetUserReadableName() : wxString());
}

// The print dialog has closed when the toolkit gets here, so the page count comes from
// this printer's page: a job never ends with data left unprinted.
bool CCorvaneView::OnPreparePrinting(CPrintInfo* pInfo)
{
    m_nPrintOffset = 0;
    if (m_bPrintFontCreated)
        DeletePrintFont();
    if (pInfo->m_pDC != nullptr)
        CreatePrintFont(*pInfo->m_pDC, pInfo->m_pageSize);
    const long long nLines =
        DivideRoundingUp(m_hexCtrl.GetDataLength(), m_hexCtrl.GetBytesPerLine());
    const long long nPages = DivideRoundingUp(nLines, m_nPrintLinesPerPage);
    pInfo->SetMaxPage(static_cast<int>(std::min<long long>(nPages, INT_MAX)));
    return true;
}

// Each call for the same page gives the same result.
void CCorvaneView::OnPrepareDC(wxDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo == nullptr)
        return;
    if (!m_bPrintFontCreated && pDC != nullptr)
        CreatePrintFont(*pDC, pInfo->m_pageSize);
    const long long nOffset = static_cast<long long>(std::max(pInfo->m_nCurPage, 1) - 1) *
                              m_nPrintLinesPerPage * m_hexCtrl.GetBytesPerLine();
    m_nPrintOffset = static_cast<int>(std::min<long long>(nOffset, INT_MAX));
    // the job ends at the first page beyond the data; an empty segment keeps its header page
    pInfo->m_bContinuePrinting = m_nPrintOffset < m_hexCtrl.GetDataLength() || nOffset == 0;
}

void CCorvaneView::OnPrint(wxDC* pDC, wxObject* pInfo)
{
    m_pPrintInfo = dynamic_cast<CPrintInfo*>(pInfo);
    wxView::OnPrint(pDC, pInfo);
    m_pPrintInfo = nullptr;
}

void CCorvaneView::OnEndPrinting(wxDC*, CPrintInfo*)
{
    if (m_bPrintFontCreated)
        DeletePrintFont();
}

void CCorvaneView::OnEndPrintPreview(wxDC*, CPrintInfo*)
{
    if (m_bPrintFontCreated)
        DeletePrintFont();
}

// The page routine: the header, then the dump two header heights down. On screen the
// control draws everything.
void CCorvaneView::OnDraw(wxDC* pDC)
{
    if (m_pPrintInfo == nullptr || pDC == nullptr)
        return;
    const wxFont oldFont = pDC->GetFont();
    if (m_printFont.IsOk())
        pDC->SetFont(m_printFont);
    const int nHeight = pDC->GetTextExtent("XX").y;
    DrawPageHeader(*pDC, m_pPrintInfo->m_pageSize.x);
    m_hexCtrl.PrintLines(*pDC, &m_nPrintOffset, 2 * nHeight, m_nPrintLinesPerPage,
                         m_pPrintInfo->m_pageSize);
    if (oldFont.IsOk())
        pDC->SetFont(oldFont);
}

// The date at the left, the title and the page's word offset centred.
void CCorvaneView::DrawPageHeader(wxDC& dc, int nPageWidth)
{
    wxDocument* pDoc = wxView::GetDocument();
    const wxString strTitle = pDoc ? pDoc->GetUserReadableName() : wxString();
    // a profile word length below 1 reaches here when no segment was ever shown
    const int nWords = m_nPrintOffset / std::max(m_nWordLen, 1);
    const wxString strHeader = wxString::Format("%s 0x%04X", strTitle, unsigned(nWords));
    dc.DrawText(strHeader, (nPageWidth - dc.GetTextExtent(strHeader).x) / 2, 0);
    dc.DrawText(wxDateTime::Now().Format("%d.%m.%Y (%H:%M)"), 0, 0);
}

// C characters per line, w = H / C, h = min(V / 80, 2w) but at least w; the face is
// lowered from h until a dump line fits the page's width.
void CCorvaneView::CreatePrintFont(wxDC& dc, const wxSize& page)
{
    const int nCharWidth = page.x / PrintCharsPerLine(m_hexCtrl.GetBytesPerLine(), m_nWordLen);
    const int nHeight = std::max(nCharWidth, std::min(page.y / 80, 2 * nCharWidth));
    const wxFont oldFont = dc.GetFont();
    const int nChosen = FitPrintFont(dc, std::max(nHeight, 1), page.x);
    if (oldFont.IsOk())
        dc.SetFont(oldFont);
    m_nPrintLinesPerPage = std::max(page.y / (nChosen + 1) - 2, 2);
    m_bPrintFontCreated = true;
}

// One group and its blank per word, one character per byte, 24 for the address and gaps.
int CCorvaneView::PrintCharsPerLine(int nBytesPerLine, int nWordLen)
{
    const int nWord = std::max(nWordLen, 1);
    return (nBytesPerLine / nWord) * (2 * nWord + 1) + nBytesPerLine + 24;
}

int CCorvaneView::FitPrintFont(wxDC& dc, int nHeight, int nPageWidth)
{
    // the face is fixed-pitch: every character is as wide as a digit
    const wxString strLine('0', m_hexCtrl.GetPrintLineChars());
    for (;;)
    {
        m_printFont = FixedFontOfHeight(dc, nHeight);
        dc.SetFont(m_printFont);
        const int nWidth = dc.GetTextExtent(strLine).x;
        if (nWidth <= nPageWidth || nHeight <= 1)
            return nHeight;
        const long long nScaled = static_cast<long long>(nHeight) * nPageWidth / nWidth;
        nHeight = std::max(1, std::min(nHeight - 1, static_cast<int>(nScaled)));
    }
}

void CCorvaneView::DeletePrintFont()
{
    m_printFont = wxNullFont;
    m_bPrintFontCreated = false;
}
