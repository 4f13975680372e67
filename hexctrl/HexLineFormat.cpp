// The text of one dump line, the same for the screen, the caret and the printer.
#include "HexLayout.h"

#include <algorithm>

namespace
{
const char s_szHexDigits[] = "0123456789ABCDEF";

bool IsPrintable(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

// Blanks after the hex and character columns, and after the address.
int Gap(CHexLayout::ELineStyle style)
{
    return style == CHexLayout::LINE_PRINT ? 2 : 0;
}

int AddressGap(CHexLayout::ELineStyle style)
{
    return style == CHexLayout::LINE_PRINT ? 2 : 1;
}

int AppendBlanks(char* pBuf, int nCount)
{
    std::fill(pBuf, pBuf + nCount, ' ');
    return nCount;
}
} // namespace

int CHexLayout::FormatLine(char* pBuf, const unsigned char* pLine, int nLineBytes, uint32_t dwBase,
                           int nLineStart, ELineStyle style) const
{
    int n = 0;
    if (m_nAddrDigits > 0)
    {
        // addresses count words; the sum wraps like the 32-bit address it is
        const uint32_t dwAddress = static_cast<uint32_t>(nLineStart / m_nWordLen) + dwBase;
        n += FormatAddress(pBuf, dwAddress, style);
        n += AppendBlanks(pBuf + n, AddressGap(style));
    }
    if (m_bHex)
    {
        n += FormatHex(pBuf + n, pLine, nLineBytes);
        n += AppendBlanks(pBuf + n, Gap(style));
    }
    if (m_bChars)
    {
        n += FormatChars(pBuf + n, pLine, nLineBytes);
        n += AppendBlanks(pBuf + n, Gap(style));
    }
    return n;
}

int CHexLayout::GetLineChars(ELineStyle style) const
{
    const int nDigits = style == LINE_PRINT ? 8 : m_nAddrDigits;
    const int nAddress = m_nAddrDigits > 0 ? nDigits + AddressGap(style) : 0;
    const int nHex = m_bHex ? GetHexCells() + Gap(style) : 0;
    const int nChars = m_bChars ? m_nBytesPerLine + Gap(style) : 0;
    return nAddress + nHex + nChars;
}

// The screen shows exactly the column's digits; print shows all the digits the value needs.
int CHexLayout::FormatAddress(char* pBuf, uint32_t dwAddress, ELineStyle style) const
{
    int nDigits = m_nAddrDigits;
    if (style == LINE_PRINT)
        while (nDigits < 8 && (dwAddress >> (4 * nDigits)) != 0)
            ++nDigits;
    for (int i = nDigits - 1; i >= 0; --i)
    {
        pBuf[i] = s_szHexDigits[dwAddress & 0xF];
        dwAddress >>= 4;
    }
    return nDigits;
}

int CHexLayout::FormatHex(char* pBuf, const unsigned char* pLine, int nLineBytes) const
{
    nLineBytes = std::clamp(nLineBytes, 0, m_nBytesPerLine);
    const int nCells = GetHexCells();
    int n = 0;
    for (int nGroup = 0; nGroup < nLineBytes; nGroup += m_nWordLen)
    {
        for (int nPlace = 0; nPlace < m_nWordLen; ++nPlace)
        {
            const int nCol = nGroup + DrawnOffset(nPlace);
            const bool bPresent = nCol < nLineBytes;
            const unsigned char byte = bPresent ? pLine[nCol] : 0;
            pBuf[n++] = bPresent ? s_szHexDigits[byte >> 4] : ' ';
            pBuf[n++] = bPresent ? s_szHexDigits[byte & 0xF] : ' ';
        }
        pBuf[n++] = ' ';
    }
    std::fill(pBuf + n, pBuf + nCells, ' ');
    return nCells;
}

int CHexLayout::FormatChars(char* pBuf, const unsigned char* pLine, int nLineBytes) const
{
    nLineBytes = std::clamp(nLineBytes, 0, m_nBytesPerLine);
    for (int i = 0; i < nLineBytes; ++i)
    {
        const unsigned char byte = pLine[i];
        pBuf[i] = IsPrintable(byte) ? static_cast<char>(byte) : '.';
    }
    std::fill(pBuf + nLineBytes, pBuf + m_nBytesPerLine, ' ');
    return m_nBytesPerLine;
}
