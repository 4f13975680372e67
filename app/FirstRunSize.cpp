#include "FirstRunSize.h"

#include "CorvaneView.h"
#include "HexLayout.h"
#include "Resource.h"

#include <wx/display.h>
#include <wx/frame.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
// The view's address column: eight digits.
constexpr int kAddrDigits = 8;
} // namespace

int WidestLineCells()
{
    int nCells = 0;
    for (int nWordLen = 1; nWordLen <= CHexLayout::MAX_WORD_LEN; nWordLen++)
    {
        const int nBytes = CCorvaneView::BytesPerLineFor(nWordLen);
        const CHexLayout layout(nWordLen, nBytes, 0, kAddrDigits, true, true);
        nCells = std::max(nCells, layout.GetCharCol() + nBytes);
    }
    return nCells;
}

void FitFirstRunFrame(wxFrame* pFrame)
{
    const wxWindow* pCtrl = pFrame->FindWindow(IDC_HEXEDIT);
    const int nCharWidth = pCtrl ? pCtrl->GetTextExtent("0").x : pFrame->GetCharWidth();
    // one cell to spare, so the last character never touches the scroll bar
    const int nClientWidth = (WidestLineCells() + 1) * nCharWidth +
                             wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, pFrame);
    const wxSize sizeFrame(nClientWidth + pFrame->GetSize().x - pFrame->GetClientSize().x,
                           pFrame->GetSize().y);
    const int nDisplay = wxDisplay::GetFromWindow(pFrame);
    const wxRect area = wxDisplay(nDisplay == wxNOT_FOUND ? 0u : unsigned(nDisplay)).GetClientArea();
    const wxSize size(std::min(sizeFrame.x, area.width), std::min(sizeFrame.y, area.height));
    pFrame->SetSize(wxRect(size).CentreIn(area));
}
