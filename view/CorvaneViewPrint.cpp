// Printing and print preview of the shown segment, from the control's copy (edits
// included): a fixed-pitch font whose dump line fills the width inside the margins, a header
// line, then the dump lines. The job's state is the printout's CPrintInfo.
#include "CorvaneView.h"

#include "CorvanePrintout.h"

#include <wx/datetime.h>
#include <wx/dc.h>

#include <algorithm>
#include <climits>

namespace
{
// Lines of the header and of the dump are measured with it.
const char* const kLineProbe = "0123456789ABCDEF";

// Letters a metre tall fill any sheet a printer takes; the toolkit refuses sizes near
// two million points, which a page billions of pixels wide would ask for.
constexpr double kMaxPoints = 3000.0;

wxFont MakeFixedFont(double dPoints)
{
    const double dBounded = std::clamp(dPoints, 1.0, kMaxPoints);
    return wxFont(wxFontInfo(dBounded).Family(wxFONTFAMILY_TELETYPE));
}

int TextWidth(const wxDC& dc, const wxString& strText, double dPoints)
{
    const wxFont font = MakeFixedFont(dPoints);
    wxCoord nWidth = 0, nHeight = 0;
    dc.GetTextExtent(strText, &nWidth, &nHeight, nullptr, nullptr, &font);
    return nWidth;
}

// Size of the fixed-pitch face in which nChars characters are nWidth wide, measured so large
// that a preview's screen metrics, rounded to its few pixels, choose the printer's size.
double FitFixedFont(const wxDC& dc, int nChars, int nWidth)
{
    const double dProbe = 1000.0;
    const int nProbe = TextWidth(dc, wxString('0', std::max(nChars, 1)), dProbe);
    return std::max(nProbe > 0 ? dProbe * nWidth / nProbe : 1.0, 1.0);
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
    pInfo->m_nOffset = 0;
    if (pInfo->m_pDC != nullptr)
        CreatePrintFont(*pInfo->m_pDC, *pInfo);
    const long long nLines =
        DivideRoundingUp(m_pHexCtrl->GetDataLength(), m_pHexCtrl->GetBytesPerLine());
    const long long nPages = DivideRoundingUp(nLines, pInfo->m_nLinesPerPage);
    pInfo->SetMaxPage(static_cast<int>(std::min<long long>(nPages, INT_MAX)));
    return true;
}

// Each call for the same page gives the same result.
void CCorvaneView::OnPrepareDC(wxDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo == nullptr)
        return;
    if (!pInfo->m_font.IsOk() && pDC != nullptr)
        CreatePrintFont(*pDC, *pInfo);
    const long long nOffset = static_cast<long long>(std::max(pInfo->m_nCurPage, 1) - 1) *
                              pInfo->m_nLinesPerPage * m_pHexCtrl->GetBytesPerLine();
    pInfo->m_nOffset = static_cast<int>(std::min<long long>(nOffset, INT_MAX));
    // the job ends at the first page beyond the data; an empty segment keeps its header page
    pInfo->m_bContinuePrinting = pInfo->m_nOffset < m_pHexCtrl->GetDataLength() || nOffset == 0;
}

void CCorvaneView::OnPrint(wxDC* pDC, wxObject* pInfo)
{
    if (auto* pPrintInfo = dynamic_cast<CPrintInfo*>(pInfo); pPrintInfo && pDC)
        DrawPage(*pDC, *pPrintInfo);
}

void CCorvaneView::OnEndPrinting(wxDC*, CPrintInfo* pInfo)
{
    if (pInfo != nullptr)
        pInfo->m_font = wxNullFont;
}

void CCorvaneView::OnEndPrintPreview(wxDC*, CPrintInfo* pInfo)
{
    if (pInfo != nullptr)
        pInfo->m_font = wxNullFont;
}

void CCorvaneView::OnDraw(wxDC*) {}

// The dump two header heights down, leaving a blank line under the header. The header goes
// last: a PostScript clip takes the font chosen inside it along when it ends.
void CCorvaneView::DrawPage(wxDC& dc, CPrintInfo& info)
{
    const wxFont oldFont = dc.GetFont();
    if (info.m_font.IsOk())
        dc.SetFont(info.m_font);
    // the header names the page's first line, whatever the control advances
    int nOffset = info.m_nOffset;
    m_pHexCtrl->PrintLines(dc, &nOffset, 2 * info.m_nLineHeight, info.m_nLinesPerPage,
                           info.GetLinePitch(), info.m_pageSize);
    DrawPageHeader(dc, info);
    if (oldFont.IsOk())
        dc.SetFont(oldFont);
}

// The title with the page's word offset centred and the date at the left, on the font's
// baseline and clipped to the header line: glyphs the font lacks can come out many times
// taller than the text around them (a preview's or a printer's scaled context).
void CCorvaneView::DrawPageHeader(wxDC& dc, const CPrintInfo& info)
{
    wxDocument* pDoc = wxView::GetDocument();
    const wxString strTitle = pDoc ? pDoc->GetUserReadableName() : wxString();
    // counted as the dump counts them, also for a stored word length outside 1..4
    const int nWords = info.m_nOffset / GetWordLen();
    const wxString strHeader = wxString::Format("%s 0x%04X", strTitle, unsigned(nWords));
    wxDCClipper clip(dc, wxRect(0, 0, info.m_pageSize.x, info.GetLinePitch()));
    wxCoord nWidth = 0, nHeight = 0, nDescent = 0;
    dc.GetTextExtent(strHeader, &nWidth, &nHeight, &nDescent);
    dc.DrawText(strHeader, (info.m_pageSize.x - nWidth) / 2, info.m_nAscent - (nHeight - nDescent));
    dc.DrawText(wxDateTime::Now().Format("%d.%m.%Y (%H:%M)"), 0, 0);
}

// The printed line fills the width inside the margins; the lines a page holds follow from
// the face's height, two of them spared for the header and the blank line under it.
void CCorvaneView::CreatePrintFont(wxDC& dc, CPrintInfo& info)
{
    const int nChars = m_pHexCtrl->GetPrintLineChars();
    info.m_font = MakeFixedFont(FitFixedFont(dc, nChars, info.m_pageSize.x));
    wxCoord nWidth = 0, nHeight = 0, nDescent = 0;
    dc.GetTextExtent(kLineProbe, &nWidth, &nHeight, &nDescent, nullptr, &info.m_font);
    info.m_nLineHeight = nHeight;
    info.m_nAscent = nHeight - nDescent;
    info.m_nLinesPerPage = std::max(info.m_pageSize.y / info.GetLinePitch() - 2, 2);
}
