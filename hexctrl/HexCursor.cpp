#include "HexCursor.h"

#include <algorithm>

CHexPage CHexPage::Fitted(const CHexLayout& layout, int nHeight, int nDataLen, int nTop)
{
    const int B = layout.GetBytesPerLine();
    CHexPage page{nTop, nHeight / std::max(layout.GetCellHeight(), 1), nDataLen};
    if (static_cast<long long>(page.nLines) * B > nDataLen)
        page.nLines = (nDataLen + B / 2) / B + (nDataLen % B != 0 ? 1 : 0);
    return page;
}

long long CHexPage::LineStartOf(const CHexLayout& layout, long long nPos) const
{
    const int B = layout.GetBytesPerLine();
    const long long nRel = nPos - nTop;
    const long long nRow = nRel >= 0 ? nRel / B : -((-nRel + B - 1) / B);
    return nTop + nRow * B;
}

long long CHexPage::LastTop(const CHexLayout& layout) const
{
    const int W = layout.GetWordLen();
    long long nLast =
        nDataLen - static_cast<long long>(GetFollowLines()) * layout.GetBytesPerLine();
    if (nLast > 0)
        nLast += (W - nLast % W) % W;
    return nLast;
}

int CHexPage::LineUp(const CHexLayout& layout) const
{
    return nTop > 0 ? std::max(nTop - layout.GetBytesPerLine(), 0) : nTop;
}

int CHexPage::LineDown(const CHexLayout& layout) const
{
    return nTop < LastTop(layout) ? nTop + layout.GetBytesPerLine() : nTop;
}

int CHexPage::PageUp(const CHexLayout& layout) const
{
    const long long nPage = static_cast<long long>(layout.GetBytesPerLine()) * nLines;
    return nTop > 0 ? static_cast<int>(std::max(nTop - nPage, 0LL)) : nTop;
}

int CHexPage::PageDown(const CHexLayout& layout) const
{
    const long long nPage = static_cast<long long>(layout.GetBytesPerLine()) * nLines;
    const long long nLast = LastTop(layout);
    return nTop < nLast ? static_cast<int>(std::min(nTop + nPage, nLast)) : nTop;
}

int CHexPage::AtLine(const CHexLayout& layout, int nLine) const
{
    const long long nEnd = nDataLen - nDataLen % layout.GetWordLen();
    return static_cast<int>(
        std::clamp(static_cast<long long>(nLine) * layout.GetBytesPerLine(), 0LL, nEnd));
}

int CHexPage::Scrolled(const CHexLayout& layout, int nCode, int nLine) const
{
    switch (nCode)
    {
    case SCROLL_LINE_UP:
        return LineUp(layout);
    case SCROLL_LINE_DOWN:
        return LineDown(layout);
    case SCROLL_PAGE_UP:
        return PageUp(layout);
    case SCROLL_PAGE_DOWN:
        return PageDown(layout);
    case SCROLL_THUMB_TRACK:
        return AtLine(layout, nLine);
    default:
        return nTop;
    }
}

int CHexPage::EndTop(const CHexLayout& layout) const
{
    const int B = layout.GetBytesPerLine();
    return AtLine(layout, (nDataLen + B / 2) / B - GetFollowLines());
}

int CHexPage::Following(const CHexLayout& layout, int nPos) const
{
    CHexPage page = *this;
    if (nPos < page.nTop)
        page.nTop = page.LineUp(layout);
    if (nPos >= page.nTop + static_cast<long long>(GetFollowLines()) * layout.GetBytesPerLine())
        page.nTop = page.LineDown(layout);
    return page.nTop;
}

CHexCursor CHexCursor::Deselected() const
{
    CHexCursor cursor = *this;
    cursor.nSelStart = cursor.nSelEnd = -1;
    return cursor;
}

CHexCursor CHexCursor::SelectedTo(bool bForward) const
{
    CHexCursor cursor = *this;
    cursor.nSelEnd = nIndex + (bForward && CHexLayout::IsHexField(nField) ? 1 : 0);
    return cursor;
}

CHexCursor CHexCursor::Normalized(const CHexLayout& layout, const CHexPage& page) const
{
    CHexCursor cursor = *this;
    const long long nLineStart = page.LineStartOf(layout, nIndex);
    int nCol = static_cast<int>(nIndex - nLineStart);
    const int nLineBytes = static_cast<int>(
        std::clamp(page.nDataLen - nLineStart, 0LL, 0LL + layout.GetBytesPerLine()));
    const int nFirstCol = static_cast<int>(std::max(-nLineStart, 0LL));
    layout.NormalizeCaret(&nCol, &cursor.nField, nLineBytes, nFirstCol);
    cursor.nIndex = static_cast<int>(std::clamp(nLineStart + nCol, 0LL, 0LL + page.nDataLen));
    return cursor;
}

CHexCursor CHexCursor::Stepped(const CHexLayout& layout, const CHexPage& page, int nDx) const
{
    CHexCursor cursor = *this;
    const int N = page.nDataLen;
    if (nField == CHexLayout::FIELD_CHAR)
    {
        cursor.nIndex = nIndex + nDx < N ? std::max(nIndex + nDx, 0) : nIndex;
        return cursor;
    }
    const long long nLineStart = page.LineStartOf(layout, nIndex);
    const int nCell =
        layout.DigitCell(static_cast<int>(nIndex - nLineStart), CHexLayout::NibbleOf(nField));
    const int nCells = layout.GetHexCells();
    const auto tryCell = [&](long long nStart, int nAt)
    {
        int nCol = 0;
        int nNibble = 0;
        if (!layout.DigitAt(nAt, &nCol, &nNibble) || nStart + nCol < 0 || nStart + nCol >= N)
            return false;
        cursor.nIndex = static_cast<int>(nStart + nCol);
        cursor.nField = layout.FieldFor(nCol, nNibble);
        return true;
    };
    for (int nAt = nCell + nDx; nAt >= 0 && nAt < nCells; nAt += nDx)
        if (tryCell(nLineStart, nAt))
            return cursor;
    const long long nNext = nLineStart + static_cast<long long>(nDx) * layout.GetBytesPerLine();
    for (int nAt = nDx > 0 ? 0 : nCells - 1; nAt >= 0 && nAt < nCells; nAt += nDx)
        if (tryCell(nNext, nAt))
            return cursor;
    if (nIndex >= N)
        return cursor;
    const int nGroupCells = layout.GetGroupCells();
    const int nGroup = nCell / nGroupCells * nGroupCells;
    for (int nAt = nDx > 0 ? nGroup : nGroup + nGroupCells - 2; nAt != nCell; nAt += nDx)
        if (tryCell(nLineStart, nAt))
            return cursor;
    return cursor;
}

CHexCursor CHexCursor::Tabbed(const CHexLayout& layout, const CHexPage& page) const
{
    CHexCursor cursor = *this;
    if (CHexLayout::IsHexField(nField))
        cursor.nField = CHexLayout::FIELD_CHAR;
    else
        cursor.nField =
            layout.FieldFor(static_cast<int>(nIndex - page.LineStartOf(layout, nIndex)), 0);
    return cursor;
}

CHexCursor CHexCursor::Scrolled(const CHexLayout& layout, const CHexPage& page, int nTop) const
{
    CHexCursor cursor = *this;
    CHexPage scrolled = page;
    scrolled.nTop = nTop;
    if (nTop != page.nTop)
        cursor.nIndex =
            static_cast<int>(std::clamp(static_cast<long long>(nIndex) + nTop - page.nTop, 0LL,
                                        std::max(page.nDataLen - 1LL, 0LL)));
    return cursor.Normalized(layout, scrolled);
}

bool CHexCursor::AtHit(const CHexLayout& layout, const CHexPage& page, const CHexLayout::CHit& hit,
                       CHexCursor* pOut) const
{
    const int B = layout.GetBytesPerLine();
    // the partial line under the last whole one still takes clicks
    if (hit.nRow > page.nLines || static_cast<long long>(hit.nRow) * B > page.nDataLen)
        return false;
    const long long nIndexHit = page.nTop + static_cast<long long>(hit.nRow) * B + hit.nCol;
    // a digit of a missing byte is no hit
    if (nIndexHit < 0 || nIndexHit >= page.nDataLen)
        return false;
    *pOut = *this;
    pOut->nIndex = static_cast<int>(nIndexHit);
    pOut->nField = hit.nField;
    return true;
}

CHexMove CHexCursor::Moved(const CHexLayout& layout, const CHexPage& page, int nDx, int nDy) const
{
    CHexCursor cursor = *this;
    // a caret on the address column stays there
    if (IsOnAddress())
        return {cursor.Normalized(layout, page), page.nTop};
    if (nDx != 0)
        cursor = cursor.Stepped(layout, page, nDx);
    long long nPos = cursor.nIndex + static_cast<long long>(nDy) * layout.GetBytesPerLine();
    if (nPos < 0)
        nPos = 0;
    if (nPos >= page.nDataLen)
        nPos = nIndex;
    cursor.nIndex = static_cast<int>(nPos);
    CHexPage followed = page;
    followed.nTop = page.Following(layout, cursor.nIndex);
    return {cursor.Normalized(layout, followed), followed.nTop};
}

// Home and End count line boundaries from index 0, whatever the top line, and keep the field;
// data emptied by deletes leave End on the end position, index 0.
CHexMove CHexCursor::Jumped(const CHexLayout& layout, const CHexPage& page, int nKey,
                            bool bCtrl) const
{
    const int B = layout.GetBytesPerLine();
    const int nLast = std::max(page.nDataLen - 1, 0);
    CHexPage jumped = page;
    CHexCursor cursor = *this;
    if (nKey == KEY_PAGE_UP || nKey == KEY_PAGE_DOWN)
        jumped.nTop = nKey == KEY_PAGE_UP ? page.PageUp(layout) : page.PageDown(layout);
    else if (nKey == KEY_HOME)
        cursor.nIndex = bCtrl ? 0 : nIndex / B * B;
    else if (bCtrl)
        cursor.nIndex = nLast;
    else
        cursor.nIndex = std::min(nIndex / B * B + B - 1, nLast);
    if (bCtrl && nKey == KEY_HOME)
        jumped.nTop = page.AtLine(layout, 0);
    if (bCtrl && nKey == KEY_END)
        jumped.nTop = page.EndTop(layout);
    return cursor.Moved(layout, jumped, 0, 0);
}

CHexMove CHexCursor::Navigated(const CHexLayout& layout, const CHexPage& page, int nKey,
                               bool bShift, bool bCtrl) const
{
    if (nKey == KEY_TAB)
        return Tabbed(layout, page).Moved(layout, page, 0, 0);
    CHexCursor cursor = Deselected();
    if (bShift)
        cursor = *this;
    if (bShift && !HasSelection())
        cursor.nSelStart = nIndex;
    CHexMove move;
    if (nKey == KEY_LEFT || nKey == KEY_RIGHT)
        move = cursor.Moved(layout, page, nKey == KEY_LEFT ? -1 : 1, 0);
    else if (nKey == KEY_UP || nKey == KEY_DOWN)
        move = cursor.Moved(layout, page, 0, nKey == KEY_UP ? -1 : 1);
    else
        move = cursor.Jumped(layout, page, nKey, bCtrl);
    if (bShift)
        move.cursor = move.cursor.SelectedTo(nKey == KEY_RIGHT || nKey == KEY_DOWN);
    return move;
}
