// The cursor's moves and the layout's cells without a window: where each key, scroll and click
// leaves the caret, the selection and the top line.
#include "HexCursor.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace
{
const int kAddress = CHexLayout::FIELD_ADDRESS, kChar = CHexLayout::FIELD_CHAR;
const int kHigh = CHexLayout::FIELD_HIGH, kLow = CHexLayout::FIELD_LOW;
// the first, third and fourth digit of a 2-byte group as drawn
const int kDigit1 = CHexLayout::FIELD_GROUP_1, kDigit3 = kDigit1 - 2, kDigit4 = kDigit1 - 3;
const int kLineHeight = 20;

// nLen bytes with 8-digit addresses, 16 bytes per line (33 or 32 for longer words), in a window
// of nLines lines or nHeight pixels: the high digit of column k is cell 9 + 3k, its character
// cell 57 + k.
struct CDump
{
    int nWordLen = 1, nOrder = 1, nLen = 100, nLines = 5, nTop = 0, nHeight = -1;
};

struct CMoveCase
{
    const char* pszName;
    CDump dump;
    CHexCursor from;
    // keys L R U D H E PU PD TAB with prefixes S (Shift) and C (Control); scroll-bar codes vC,L
    // (0 line up, 1 line down, 2 page up, 3 page down, 5 thumb at line L); clicks @cell,row
    const char* pszSteps;
    CHexCursor to;
    int nTop = 0;
};

std::string Str(const CHexCursor& c, int nTop)
{
    return testing::PrintToString(std::vector<int>{c.nIndex, c.nField, c.nSelStart, c.nSelEnd}) +
           " top " + std::to_string(nTop);
}

CHexMove Step(const CDump& d, const CHexMove& move, const std::string& strStep)
{
    static const std::map<std::string, int> kKeys = {{"L", 37},  {"U", 38},  {"R", 39},
                                                     {"D", 40},  {"H", 36},  {"E", 35},
                                                     {"PU", 33}, {"PD", 34}, {"TAB", 9}};
    CHexLayout layout(d.nWordLen, d.nWordLen == 1 ? 16 : 32 + d.nWordLen % 2, d.nOrder, 8, true,
                      true);
    layout.SetCellSize(10, kLineHeight);
    const int nHeight = d.nHeight >= 0 ? d.nHeight : d.nLines * kLineHeight;
    const CHexPage page = CHexPage::Fitted(layout, nHeight, d.nLen, move.nTop);
    int a = 0, b = 0;
    CHexLayout::CHit hit;
    CHexMove moved = move;
    if (std::sscanf(strStep.c_str(), "v%d,%d", &a, &b) == 2)
    {
        moved.nTop = page.Scrolled(layout, a, b);
        moved.cursor = move.cursor.Scrolled(layout, page, moved.nTop);
    }
    else if (std::sscanf(strStep.c_str(), "@%d,%d", &a, &b) == 2)
    {
        if (layout.CellAt(a * 10 + 5, b * kLineHeight + 10, &hit))
            move.cursor.AtHit(layout, page, hit, &moved.cursor);
    }
    else
    {
        const std::string strKey = strStep.substr(strStep.find_first_not_of("SC"));
        moved = move.cursor.Navigated(layout, page, kKeys.at(strKey), strStep[0] == 'S',
                                      strStep.find('C') < strStep.size() - strKey.size());
    }
    return moved;
}

void RunMoves(const std::vector<CMoveCase>& cases)
{
    for (const CMoveCase& c : cases)
    {
        CHexMove move{c.from, c.dump.nTop};
        std::istringstream in(c.pszSteps);
        for (std::string strStep; in >> strStep;)
            move = Step(c.dump, move, strStep);
        EXPECT_EQ(Str(c.to, c.nTop), Str(move.cursor, move.nTop)) << c.pszName;
    }
}
} // namespace

// clang-format off
// One digit as drawn, or one character: the blank after each group and the digits of missing
// bytes are skipped; at the data's ends the caret turns to the other end of its group.
TEST(CursorTest, LeftAndRightStepAcrossDigitsAsDrawn)
{
    RunMoves({
        {"first digit", {}, {.nIndex = 0, .nField = kHigh}, "L", {.nIndex = 0, .nField = kLow}},
        {"last digit", {}, {.nIndex = 99, .nField = kLow}, "R",
            {.nIndex = 99, .nField = kHigh}, 16},
        {"2-byte words", {.nWordLen = 2}, {.nIndex = 1, .nField = kDigit1}, "R R R R",
            {.nIndex = 3, .nField = kDigit1}},
        {"byte order 0", {.nWordLen = 2, .nOrder = 0}, {.nIndex = 0, .nField = kDigit1},
            "R R R R L",
            {.nIndex = 1, .nField = kDigit4}},
        {"missing byte", {.nWordLen = 2, .nLen = 99}, {.nIndex = 98, .nField = kDigit4}, "R",
            {.nIndex = 98, .nField = kDigit3}},
        {"4-byte line", {.nWordLen = 4, .nOrder = 0}, {.nIndex = 31, .nField = kLow}, "R",
            {.nIndex = 32, .nField = kHigh}},
        {"character", {}, {.nIndex = 15, .nField = kChar}, "R", {.nIndex = 16, .nField = kChar}},
        {"on the address", {}, {.nIndex = 16, .nField = kAddress}, "R D",
            {.nIndex = 16, .nField = kAddress}},
    });
}

// Up and Down keep the column and stay inside the data; the top line follows one line at most.
// Line boundaries count from index 0 whatever the top line; Control goes to the data's ends.
TEST(CursorTest, LinesAndEnds)
{
    RunMoves({
        {"to the first line", {}, {.nIndex = 20, .nField = kHigh}, "U U U",
            {.nIndex = 0, .nField = kHigh}},
        {"past the data", {.nTop = 16}, {.nIndex = 99, .nField = kChar}, "D",
            {.nIndex = 99, .nField = kChar}, 32},
        {"home", {.nTop = 20}, {.nIndex = 45, .nField = kLow}, "H",
            {.nIndex = 32, .nField = kLow}, 20},
        {"end", {}, {.nIndex = 97, .nField = kHigh}, "E", {.nIndex = 99, .nField = kHigh}, 16},
        {"data that fit", {.nLen = 20}, {.nIndex = 0, .nField = kHigh}, "CE",
            {.nIndex = 19, .nField = kHigh}},
        {"ctrl+end", {.nLen = 1000}, {.nIndex = 0, .nField = kHigh}, "CE",
            {.nIndex = 999, .nField = kHigh}, 928},
        {"ctrl+home", {.nLen = 1000, .nTop = 64}, {.nIndex = 500, .nField = kLow}, "CH",
            {.nIndex = 0, .nField = kLow}},
    });
}

// Page keys move the page and the top follows the caret back one line; the scroll bar carries
// the caret, inside the data.
TEST(CursorTest, PagesAndScrollBar)
{
    RunMoves({
        {"page down", {.nLen = 1000}, {.nIndex = 0, .nField = kHigh}, "PD",
            {.nIndex = 0, .nField = kHigh}, 64},
        {"last page", {}, {.nIndex = 90, .nField = kHigh}, "PD D",
            {.nIndex = 90, .nField = kHigh}, 20},
        {"page up", {.nLen = 1000, .nTop = 64}, {.nIndex = 100, .nField = kHigh}, "PU",
            {.nIndex = 100, .nField = kHigh}, 16},
        {"bar", {}, {.nIndex = 0, .nField = kHigh}, "v3,0 v0,0 v0,0 v2,0 v3,0 v3,0",
            {.nIndex = 20, .nField = kHigh}, 20},
        {"partial line", {}, {.nIndex = 74, .nField = kHigh}, "v1,0 v1,0 v1,0",
            {.nIndex = 99, .nField = kHigh}, 32},
        {"thumb", {}, {.nIndex = 5, .nField = kHigh}, "v5,-4 v5,3",
            {.nIndex = 53, .nField = kHigh}, 48},
        {"on a word", {.nWordLen = 2, .nLen = 99, .nLines = 2}, {.nIndex = 1, .nField = kDigit1},
            "v3,0",
            {.nIndex = 37, .nField = kDigit1}, 36},
    });
}

// Shift extends from where the caret was, past its byte after Right or Down in the hex column;
// Tab keeps the selection, other keys clear it.
TEST(CursorTest, ShiftSelectsAndTabChangesColumn)
{
    RunMoves({
        {"there and back", {}, {.nIndex = 10, .nField = kHigh}, "SR SR SL",
            {.nIndex = 10, .nField = kLow, .nSelStart = 10, .nSelEnd = 10}},
        {"down", {}, {.nIndex = 10, .nField = kHigh}, "SD",
            {.nIndex = 26, .nField = kHigh, .nSelStart = 10, .nSelEnd = 27}},
        {"tab", {}, {.nIndex = 10, .nField = kHigh}, "SR TAB",
            {.nIndex = 10, .nField = kChar, .nSelStart = 10, .nSelEnd = 11}},
        {"tab back, right", {}, {.nIndex = 10, .nField = kHigh}, "SR TAB TAB R",
            {.nIndex = 10, .nField = kLow}},
    });
}

// A click: a blank selects the next group's first digit as drawn, the partial row under the page
// takes clicks; a missing byte or a point right of the characters leaves the caret.
TEST(CursorTest, ClickedCells)
{
    const CHexCursor at5{.nIndex = 5, .nField = kHigh};
    RunMoves({
        {"address", {}, at5, "@3,1", {.nIndex = 16, .nField = kAddress}},
        {"blank before a digit", {}, at5, "@11,1", {.nIndex = 17, .nField = kHigh}},
        {"blank before the characters", {}, at5, "@56,0", {.nIndex = 0, .nField = kChar}},
        {"right of the characters", {}, at5, "@73,0", at5},
        {"missing byte", {.nLen = 40}, at5, "@67,2", at5},
        {"partial row", {.nHeight = 5 * kLineHeight + 9}, at5, "@9,5",
            {.nIndex = 80, .nField = kHigh}},
        {"2-byte words", {.nWordLen = 2, .nOrder = 0}, at5, "@11,0",
            {.nIndex = 1, .nField = kDigit3}},
        {"missing byte of a word", {.nWordLen = 2, .nLen = 33}, at5, "@9,1", at5},
    });
}

// Keys in a window shorter than one line never put the top line past the caret's line or the
// last line, so that the enlarged window shows the caret.
TEST(CursorTest, ShortWindowKeepsTheCaretsLineOnTop)
{
    for (const int nHeight : {0, 1, kLineHeight - 1})
        RunMoves({
            {"right", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh},
                "R R R R R R R R R R R R R R R R R R R R", {.nIndex = 10, .nField = kHigh}},
            {"ctrl+end", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh}, "CE",
                {.nIndex = 255, .nField = kHigh}, 240},
            {"down", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh}, "D D",
                {.nIndex = 32, .nField = kHigh}, 32},
        });
}
// clang-format on
