#include "HexLayout.h"

#include <algorithm>

CHexLayout::CHexLayout(int nWordLen, int nBytesPerLine, int nByteOrder, int nAddrDigits, bool bHex,
                       bool bChars)
    : m_nWordLen(BoundWordLen(nWordLen)),
      m_nBytesPerLine(BoundBytesPerLine(nBytesPerLine, m_nWordLen)), m_nByteOrder(nByteOrder),
      m_nAddrDigits(nAddrDigits), m_bHex(bHex), m_bChars(bChars)
{
}

int CHexLayout::BoundWordLen(int nWordLen)
{
    return std::clamp(nWordLen, 1, static_cast<int>(MAX_WORD_LEN));
}

int CHexLayout::BoundBytesPerLine(int nBytes, int nWordLen)
{
    const int nWord = BoundWordLen(nWordLen);
    const int nBounded = std::clamp(nBytes, nWord, static_cast<int>(MAX_BYTES_PER_LINE));
    return nBounded - nBounded % nWord;
}

int CHexLayout::DigitCell(int nCol, int nNibble) const
{
    const int nPlace = DrawnOffset(nCol % m_nWordLen);
    return (nCol / m_nWordLen) * GetGroupCells() + 2 * nPlace + nNibble;
}

bool CHexLayout::DigitAt(int nCell, int* pCol, int* pNibble) const
{
    if (nCell < 0 || nCell >= GetHexCells())
        return false;
    const int nRest = nCell % GetGroupCells();
    if (nRest == 2 * m_nWordLen)
        return false;
    *pCol = (nCell / GetGroupCells()) * m_nWordLen + DrawnOffset(nRest / 2);
    *pNibble = nRest % 2;
    return true;
}

int CHexLayout::FieldFor(int nCol, int nNibble) const
{
    if (m_nWordLen != 2)
        return FIELD_HIGH + nNibble;
    return FIELD_GROUP_1 - (2 * DrawnOffset(nCol % 2) + nNibble);
}

int CHexLayout::NibbleOf(int nField)
{
    if (nField == FIELD_LOW)
        return 1;
    if (nField >= FIELD_GROUP_4 && nField <= FIELD_GROUP_1)
        return (FIELD_GROUP_1 - nField) % 2;
    return 0;
}

void CHexLayout::NormalizeCaret(int* pCol, int* pField, int nLineBytes, int nFirstCol) const
{
    if (*pField < FIELD_HIGH || *pField > FIELD_GROUP_1)
        return;
    const int nNibble = NibbleOf(*pField);
    const bool bGroupField = *pField >= FIELD_GROUP_4;
    if (m_nWordLen != 2 || !bGroupField)
        *pField = FieldFor(*pCol, nNibble);
    // the end position after the last byte was deleted keeps its column
    if (m_nWordLen != 2 || *pCol < 0 || *pCol >= nLineBytes)
        return;
    const int nPlace = (FIELD_GROUP_1 - *pField) / 2;
    const int nGroupStart = *pCol - *pCol % 2;
    const int nCol =
        std::clamp(nGroupStart + DrawnOffset(nPlace), std::min(nFirstCol, *pCol), nLineBytes - 1);
    *pCol = nCol;
    *pField = FieldFor(nCol, nNibble);
}

int CHexLayout::CaretCell(int nCol, int nField) const
{
    if (nField == FIELD_ADDRESS)
        return 0;
    if (nField == FIELD_CHAR)
        return GetCharCol() + nCol;
    if (m_nWordLen == 2 && nField >= FIELD_GROUP_4 && nField <= FIELD_GROUP_1)
        return GetHexCol() + (nCol / 2) * GetGroupCells() + (FIELD_GROUP_1 - nField);
    return GetHexCol() + DigitCell(nCol, NibbleOf(nField));
}

bool CHexLayout::CellAt(int x, int y, CHit* pHit) const
{
    if (m_nCellWidth <= 0 || m_nCellHeight <= 0 || x < 0 || y < 0)
        return false;
    const int nUnder = x / m_nCellWidth;
    const int nHex = nUnder - GetHexCol();
    CHit hit;
    hit.nRow = y / m_nCellHeight;
    if (nUnder < m_nAddrDigits)
        hit.nField = FIELD_ADDRESS;
    else if (m_bHex && nHex < GetHexCells() - 1)
    {
        int nNibble = 0;
        const int nAt = DigitAt(nHex, &hit.nCol, &nNibble) ? nHex : nHex + 1;
        if (!DigitAt(nAt, &hit.nCol, &nNibble))
            return false;
        hit.nField = FieldFor(hit.nCol, nNibble);
    }
    else if (m_bChars && nUnder < GetCharCol() + m_nBytesPerLine)
    {
        hit.nCol = std::max(nUnder - GetCharCol(), 0);
        hit.nField = FIELD_CHAR;
    }
    else
        return false;
    *pHit = hit;
    return true;
}
