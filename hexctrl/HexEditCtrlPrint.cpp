#include "HexEditCtrl.h"

#include <wx/dc.h>

#include <algorithm>
#include <climits>

void CHexEditCtrl::PrintLines(wxDC& dc, int* pOffset, int nTop, int nMaxLines, int nPitch,
                              const wxSize& page) const
{
    if (!m_bHasData || pOffset == nullptr || *pOffset < 0)
        return;
    const int h = std::max(nPitch, 1);
    const CHexLayout layout = GetLayout();
    char szLine[CHexLayout::LINE_TEXT];
    unsigned char line[CHexLayout::MAX_BYTES_PER_LINE];
    // a line is printed only when its bottom lies above the page's bottom edge
    for (int nLines = 0; nTop + h < page.y && *pOffset < m_data.GetLength() && nLines < nMaxLines;
         ++nLines)
    {
        const int i = *pOffset;
        const int n =
            layout.FormatLine(szLine, line, ReadLine(i, line),
                              static_cast<uint32_t>(m_nBaseAddress), i, CHexLayout::LINE_PRINT);
        // drawn as it is: an "&" prints as itself
        if (n > 0)
            dc.DrawText(wxString::FromAscii(szLine, n), 0, nTop);
        *pOffset = static_cast<int>(
            std::min<long long>(static_cast<long long>(i) + m_nBytesPerLine, INT_MAX));
        nTop += h;
    }
}
