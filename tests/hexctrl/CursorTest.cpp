// The cursor's moves and the layout's cells without a window: where each key, click and scroll
// leaves the caret, the selection and the top line.
#include "HexCursor.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace
{
const int kAddress = CHexLayout::FIELD_ADDRESS, kChar = CHexLayout::FIELD_CHAR;
const int kHigh = CHexLayout::FIELD_HIGH, kLow = CHexLayout::FIELD_LOW;
// the four digits of a 2-byte group as drawn, first to fourth
const int kDigit1 = CHexLayout::FIELD_GROUP_1, kDigit2 = kDigit1 - 1, kDigit3 = kDigit1 - 2,
          kDigit4 = kDigit1 - 3;
const int kCellWidth = 10, kLineHeight = 20;

// nLen bytes 8-digit addresses, 16 bytes per line (33 and 32 for longer words) in a window of
// nLines lines, or nHeight pixels. In the byte layout the high digit of column k is cell 9 + 3k,
// its character cell 57 + k.
struct CDump
{
    int nWordLen = 1;
    int nOrder = 1;
    int nLen = 100;
    int nLines = 5;
    int nTop = 0;
    int nHeight = -1;

    CHexLayout Layout() const
    {
        CHexLayout layout(nWordLen,
                          nWordLen == 1   ? 16
                          : nWordLen == 3 ? 33
                                          : 32,
                          nOrder, 8, true, true);
        layout.SetCellSize(kCellWidth, kLineHeight);
        return layout;
    }
    CHexPage Page(int nAtTop) const
    {
        return CHexPage::Fitted(Layout(), nHeight >= 0 ? nHeight : nLines * kLineHeight, nLen,
                                nAtTop);
    }
};

std::string Str(const CHexCursor& c, int nTop)
{
    return testing::PrintToString(std::vector<int>{c.nIndex, c.nField, c.nSelStart, c.nSelEnd}) +
           " top " + std::to_string(nTop);
}

// Keys L R U D H E PU PD TAB, separated by blanks, with prefixes S (Shift) and C (Control).
CHexMove Press(const CDump& dump, const CHexCursor& from, const std::string& strKeys)
{
    static const std::map<std::string, int> kKeys = {
        {"L", CHexCursor::KEY_LEFT},     {"R", CHexCursor::KEY_RIGHT},
        {"U", CHexCursor::KEY_UP},       {"D", CHexCursor::KEY_DOWN},
        {"H", CHexCursor::KEY_HOME},     {"E", CHexCursor::KEY_END},
        {"PU", CHexCursor::KEY_PAGE_UP}, {"PD", CHexCursor::KEY_PAGE_DOWN},
        {"TAB", CHexCursor::KEY_TAB}};
    CHexMove move{from, dump.nTop};
    std::istringstream in(strKeys);
    for (std::string strKey; in >> strKey;)
    {
        const std::string strName = strKey.substr(strKey.find_first_not_of("SC"));
        const std::string strPrefix = strKey.substr(0, strKey.size() - strName.size());
        move = move.cursor.Navigated(dump.Layout(), dump.Page(move.nTop), kKeys.at(strName),
                                     strPrefix.find('S') != std::string::npos,
                                     strPrefix.find('C') != std::string::npos);
    }
    return move;
}

struct CKeyCase
{
    const char* pszName;
    CDump dump;
    CHexCursor from;
    const char* pszKeys;
    CHexCursor to;
    int nTop = 0;
};

void RunKeys(const std::vector<CKeyCase>& cases)
{
    for (const CKeyCase& c : cases)
    {
        const CHexMove move = Press(c.dump, c.from, c.pszKeys);
        EXPECT_EQ(Str(c.to, c.nTop), Str(move.cursor, move.nTop)) << c.pszName;
    }
}
} // namespace

// One digit as drawn, or one character; the blank after each group and the digits of missing
// bytes are skipped; at the data's ends the caret turns to the other end of its group.
TEST(CursorTest, LeftAndRightStepAcrossDigitsAsDrawn)
{
    // clang-format off
    RunKeys({
        {"first digit", {}, {.nIndex = 0, .nField = kHigh}, "L", {.nIndex = 0, .nField = kLow}},
        {"last digit", {}, {.nIndex = 99, .nField = kLow},
            "R", {.nIndex = 99, .nField = kHigh}, 16},
        {"last character", {}, {.nIndex = 99, .nField = kChar},
            "R", {.nIndex = 99, .nField = kChar}, 16},
        {"character to the next line", {}, {.nIndex = 15, .nField = kChar},
            "R", {.nIndex = 16, .nField = kChar}},
        {"2-byte words, order 1", {.nWordLen = 2}, {.nIndex = 1, .nField = kDigit1},
            "R R R R", {.nIndex = 3, .nField = kDigit1}},
        {"2-byte words, order 0", {.nWordLen = 2, .nOrder = 0}, {.nIndex = 0, .nField = kDigit1},
            "R R R R L", {.nIndex = 1, .nField = kDigit4}},
        {"2-byte words, first digit", {.nWordLen = 2}, {.nIndex = 1, .nField = kDigit1},
            "L", {.nIndex = 0, .nField = kDigit4}},
        {"missing byte of the last word", {.nWordLen = 2, .nLen = 99},
            {.nIndex = 98, .nField = kDigit4}, "R", {.nIndex = 98, .nField = kDigit3}},
        {"blank after a 3-byte group", {.nWordLen = 3, .nLen = 66, .nLines = 2},
            {.nIndex = 0, .nField = kLow}, "R", {.nIndex = 5, .nField = kHigh}},
        {"end of a 4-byte line", {.nWordLen = 4, .nOrder = 0, .nLen = 64, .nLines = 2},
            {.nIndex = 31, .nField = kLow}, "R", {.nIndex = 32, .nField = kHigh}},
        {"address column stays", {}, {.nIndex = 16, .nField = kAddress},
            "R D", {.nIndex = 16, .nField = kAddress}},
    });
    // clang-format on
}

// Up and Down keep the column; the top line follows the caret one line at most.
TEST(CursorTest, UpAndDownMoveALineAndTheTopFollows)
{
    // clang-format off
    RunKeys({
        {"up to the first line", {}, {.nIndex = 20, .nField = kHigh},
            "U U U", {.nIndex = 0, .nField = kHigh}},
        {"down past the data", {.nTop = 16}, {.nIndex = 99, .nField = kChar},
            "D", {.nIndex = 99, .nField = kChar}, 32},
        {"down below the window", {}, {.nIndex = 75, .nField = kHigh},
            "D", {.nIndex = 91, .nField = kHigh}, 16},
        {"up above the window", {.nTop = 32}, {.nIndex = 40, .nField = kHigh},
            "U", {.nIndex = 24, .nField = kHigh}, 16},
    });
    // clang-format on
}

// Line boundaries count from index 0 whatever the top line; Control goes to the data's ends.
TEST(CursorTest, HomeAndEndGoToTheEndsOfTheLineOrData)
{
    // clang-format off
    RunKeys({
        {"home", {}, {.nIndex = 21, .nField = kLow}, "H", {.nIndex = 16, .nField = kLow}},
        {"home off the line width", {.nTop = 20}, {.nIndex = 45, .nField = kHigh},
            "H", {.nIndex = 32, .nField = kHigh}, 20},
        {"end of the data", {}, {.nIndex = 97, .nField = kHigh},
            "E", {.nIndex = 99, .nField = kHigh}, 16},
        {"ctrl+end, data that fit", {.nLen = 20}, {.nIndex = 0, .nField = kHigh},
            "CE", {.nIndex = 19, .nField = kHigh}},
        {"ctrl+end", {.nLen = 1000}, {.nIndex = 0, .nField = kHigh},
            "CE", {.nIndex = 999, .nField = kHigh}, 928},
        {"ctrl+home", {.nLen = 1000, .nTop = 64}, {.nIndex = 500, .nField = kLow},
            "CH", {.nIndex = 0, .nField = kLow}},
    });
    // clang-format on
}

// The page moves, the caret stays and the top follows it back one line.
TEST(CursorTest, PageKeysMoveThePage)
{
    // clang-format off
    RunKeys({
        {"page down", {.nLen = 1000}, {.nIndex = 0, .nField = kHigh},
            "PD", {.nIndex = 0, .nField = kHigh}, 64},
        {"to the last page", {}, {.nIndex = 90, .nField = kHigh},
            "PD D", {.nIndex = 90, .nField = kHigh}, 20},
        {"page up", {.nLen = 1000, .nTop = 64}, {.nIndex = 100, .nField = kHigh},
            "PU", {.nIndex = 100, .nField = kHigh}, 16},
    });
    // clang-format on
}

// Shift extends from where the caret was, past its byte after Right or Down in the hex column;
// Tab keeps the selection, other keys clear it.
TEST(CursorTest, ShiftSelectsAndTabChangesColumn)
{
    // clang-format off
    RunKeys({
        {"there and back", {}, {.nIndex = 10, .nField = kHigh},
            "SR SR SL", {.nIndex = 10, .nField = kLow, .nSelStart = 10, .nSelEnd = 10}},
        {"tab keeps it", {}, {.nIndex = 10, .nField = kHigh},
            "SR TAB", {.nIndex = 10, .nField = kChar, .nSelStart = 10, .nSelEnd = 11}},
        {"right clears it", {}, {.nIndex = 10, .nField = kHigh},
            "SR R", {.nIndex = 11, .nField = kHigh}},
        {"down", {}, {.nIndex = 10, .nField = kHigh},
            "SD", {.nIndex = 26, .nField = kHigh, .nSelStart = 10, .nSelEnd = 27}},
        {"tab back", {}, {.nIndex = 10, .nField = kChar}, "TAB", {.nIndex = 10, .nField = kHigh}},
    });
    // clang-format on
}

// Keys in a window shorter than one line never put the top line past the caret's line or the
// last line, so that the enlarged window shows the caret.
TEST(CursorTest, ShortWindowKeepsTheCaretsLineOnTop)
{
    for (const int nHeight : {0, 1, kLineHeight - 1})
        // clang-format off
        RunKeys({
            {"right x20", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh},
                "R R R R R R R R R R R R R R R R R R R R", {.nIndex = 10, .nField = kHigh}},
            {"ctrl+end", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh},
                "CE", {.nIndex = 255, .nField = kHigh}, 240},
            {"down", {.nLen = 256, .nHeight = nHeight}, {.nIndex = 0, .nField = kHigh},
                "D D", {.nIndex = 32, .nField = kHigh}, 32},
        });
    // clang-format on
}

// The scroll bar: codes 0 line up, 1 line down, 2 page up, 3 page down, 5 thumb tracked; the
// caret is carried along inside the data.
TEST(CursorTest, ScrollBarCarriesTheCaret)
{
    const struct
    {
        const char* pszName;
        CDump dump;
        CHexCursor from;
        std::vector<std::pair<int, int>> scrolls;
        CHexCursor to;
        int nTop;
        // clang-format off
    } kCases[] = {
        {"page down, line up", {}, {.nIndex = 0, .nField = kHigh},
            {{3, 0}, {0, 0}}, {.nIndex = 4, .nField = kHigh}, 4},
        {"to the last page", {}, {.nIndex = 0, .nField = kHigh},
            {{3, 0}, {0, 0}, {0, 0}, {3, 0}, {3, 0}}, {.nIndex = 20, .nField = kHigh}, 20},
        {"page up at the top", {}, {.nIndex = 0, .nField = kHigh},
            {{1, 0}, {1, 0}, {2, 0}}, {.nIndex = 0, .nField = kHigh}, 0},
        {"stops on a partial line", {}, {.nIndex = 74, .nField = kHigh},
            {{1, 0}, {1, 0}, {1, 0}}, {.nIndex = 99, .nField = kHigh}, 32},
        {"stops on a whole line", {.nLen = 96}, {.nIndex = 0, .nField = kHigh},
            {{1, 0}, {1, 0}}, {.nIndex = 16, .nField = kHigh}, 16},
        {"thumb", {}, {.nIndex = 5, .nField = kHigh},
            {{5, 3}}, {.nIndex = 53, .nField = kHigh}, 48},
        {"thumb before the data", {}, {.nIndex = 0, .nField = kHigh},
            {{5, -4}, {1, 0}, {4, 5}}, {.nIndex = 16, .nField = kHigh}, 16},
        {"last page on a word", {.nWordLen = 2, .nLen = 99, .nLines = 2},
            {.nIndex = 1, .nField = kDigit1}, {{3, 0}}, {.nIndex = 37, .nField = kDigit1}, 36},
    };
    // clang-format on
    for (const auto& c : kCases)
    {
        CHexMove move{c.from, c.dump.nTop};
        for (const auto& [nCode, nLine] : c.scrolls)
        {
            const CHexPage page = c.dump.Page(move.nTop);
            move.nTop = page.Scrolled(c.dump.Layout(), nCode, nLine);
            move.cursor = move.cursor.Scrolled(c.dump.Layout(), page, move.nTop);
        }
        EXPECT_EQ(Str(c.to, c.nTop), Str(move.cursor, move.nTop)) << c.pszName;
    }
}

// A click's cell: a blank selects the next group's first digit as drawn; a missing byte, a
// point left of the window, right of the characters or below the partial last row is no hit.
TEST(CursorTest, ClickedCellSetsIndexAndField)
{
    const struct
    {
        const char* pszName;
        CDump dump;
        int nCell, nRow;
        int nIndex = -1, nField = -1, nCaretCell = -1; // -1: no hit
        // clang-format off
    } kCases[] = {
        {"address", {}, 3, 0, 0, kAddress, 0},
        {"blank before a digit", {}, 11, 1, 17, kHigh, 12},
        {"blank before the characters", {}, 56, 0, 0, kChar, 57},
        {"right of the characters", {}, 73, 0},
        {"missing byte", {.nLen = 40}, 67, 2},
        {"left of the window", {}, -1, 0},
        {"partial row under the page", {.nHeight = 5 * kLineHeight + 9}, 9, 5, 80, kHigh, 9},
        {"below it", {.nHeight = 5 * kLineHeight + 9}, 9, 6},
        {"2-byte words, order 1", {.nWordLen = 2, .nLen = 64}, 11, 0, 0, kDigit3, 11},
        {"2-byte words, order 0", {.nWordLen = 2, .nOrder = 0, .nLen = 64}, 11, 0, 1, kDigit3, 11},
        {"3-byte words", {.nWordLen = 3, .nLen = 66}, 15, 0, 5, kHigh, 16},
        {"4-byte words, order 0", {.nWordLen = 4, .nOrder = 0, .nLen = 64}, 17, 0, 4, kHigh, 18},
        {"missing byte of a word", {.nWordLen = 2, .nLen = 33}, 9, 1},
        {"present byte of a word", {.nWordLen = 2, .nLen = 33}, 11, 1, 32, kDigit3, 11},
    };
    // clang-format on
    for (const auto& c : kCases)
    {
        const CHexLayout layout = c.dump.Layout();
        CHexLayout::CHit hit;
        CHexCursor cursor{.nIndex = -1, .nField = -1};
        const bool bHit = layout.CellAt(c.nCell * kCellWidth + kCellWidth / 2,
                                        c.nRow * kLineHeight + kLineHeight / 2, &hit) &&
                          CHexCursor().AtHit(layout, c.dump.Page(0), hit, &cursor);
        EXPECT_EQ(std::vector<int>({c.nIndex, c.nField, c.nCaretCell}),
                  std::vector<int>({cursor.nIndex, cursor.nField, bHit ? hit.nCell : -1}))
            << c.pszName;
    }
}

// The caret goes to the byte drawn under its field: on a top line that starts inside a word, and
// on a partial last word whose missing byte gives way.
TEST(CursorTest, NormalizedCaretNamesTheByteDrawnUnderIt)
{
    const struct
    {
        const char* pszName;
        CDump dump;
        CHexCursor from, to;
        // clang-format off
    } kCases[] = {
        {"odd top line", {.nWordLen = 2, .nLen = 99, .nLines = 2, .nTop = 3},
            {.nIndex = 0, .nField = kDigit3}, {.nIndex = 0, .nField = kDigit1}},
        {"missing byte", {.nWordLen = 2, .nLen = 1}, {.nIndex = 0, .nField = kDigit1},
            {.nIndex = 0, .nField = kDigit3}},
        {"end position", {.nLen = 0}, {.nIndex = 0, .nField = kLow}, {.nIndex = 0, .nField = kLow}},
    };
    // clang-format on
    for (const auto& c : kCases)
        EXPECT_EQ(Str(c.to, 0),
                  Str(c.from.Normalized(c.dump.Layout(), c.dump.Page(c.dump.nTop)), 0))
            << c.pszName;
}
