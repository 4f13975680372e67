#include "HexEditCtrl.h"

#include <wx/dc.h>

#include <algorithm>
#include <climits>
#include <cstdio>

void CHexEditCtrl::PrintLines(wxDC& dc, int* pOffset, int nTop, int nMaxLines)
{
    if (m_pData == nullptr || pOffset == nullptr || *pOffset < 0)
        return;
    wxCoord nWidth = 0, nHeight = 0;
    dc.GetTextExtent("0123456789ABCDEF", &nWidth, &nHeight);
    const int h = nHeight + 1;
    const int nPageHeight = dc.GetSize().y;
    const CHexLayout layout = GetLayout();
    char szPiece[CHexLayout::LINE_BUFFER];
    char szLine[4 * CHexLayout::LINE_BUFFER];
    for (int nLines = 0; nTop + h < nPageHeight && *pOffset < m_nDataLen && nLines < nMaxLines;
         ++nLines)
    {
        const int i = *pOffset;
        int n = 0;
        if (m_bShowAddress)
        {
            const unsigned long dwAddress =
                static_cast<uint32_t>(i / m_nWordLen) + static_cast<uint32_t>(m_nBaseAddress);
            n += std::snprintf(szLine, sizeof(szLine), m_bLongAddress ? "%08lX  " : "%04lX  ",
                               dwAddress);
        }
        if (m_bShowHex)
        {
            const int nHex = layout.FormatHex(szPiece, m_pData, m_nDataLen, i);
            n += std::snprintf(szLine + n, sizeof(szLine) - n, "%.*s  ", nHex, szPiece);
        }
        if (m_bShowChars)
        {
            const int nChars = layout.FormatChars(szPiece, m_pData, m_nDataLen, i);
            n += std::snprintf(szLine + n, sizeof(szLine) - n, "%.*s  ", nChars, szPiece);
        }
        if (n > 0)
            dc.DrawText(wxString::FromAscii(szLine, n), 0, nTop);
        *pOffset = static_cast<int>(
            std::min<long long>(static_cast<long long>(i) + m_nBytesPerLine, INT_MAX));
        nTop += h;
    }
}
