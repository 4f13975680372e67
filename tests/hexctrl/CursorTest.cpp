// The cursor's moves and the layout's cells without a window: where each key, scroll and click
// leaves the caret, the selection and the top line, as listed in tests/data/tables.
#include "HexCursor.h"
#include "TestCommon.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace
{
const int kLineHeight = 20;

// nLen bytes in a window of nLines lines or nHeight pixels.
struct CDump
{
    int nWordLen = 1, nOrder = 1, nLen = 100, nLines = 5, nTop = 0, nHeight = -1;
};

// "word=2 len=99": the fields that differ from the defaults.
CDump ParseDump(const std::string& str)
{
    CDump d;
    const std::map<std::string, int*> kKeys = {{"word", &d.nWordLen}, {"order", &d.nOrder},
                                               {"len", &d.nLen},      {"lines", &d.nLines},
                                               {"top", &d.nTop},      {"height", &d.nHeight}};
    std::istringstream in(str);
    for (std::string strKey; std::getline(in >> std::ws, strKey, '=');)
        in >> *kKeys.at(strKey);
    return d;
}

// "10 low 10 11": index, field and, when given, the selection.
CHexCursor ParseCursor(const std::string& str)
{
    static const std::map<std::string, int> kFields = {
        {"addr", CHexLayout::FIELD_ADDRESS},      {"char", CHexLayout::FIELD_CHAR},
        {"high", CHexLayout::FIELD_HIGH},         {"low", CHexLayout::FIELD_LOW},
        {"digit1", CHexLayout::FIELD_GROUP_1},    {"digit3", CHexLayout::FIELD_GROUP_1 - 2},
        {"digit4", CHexLayout::FIELD_GROUP_1 - 3}};
    CHexCursor c;
    std::string strField;
    std::istringstream(str) >> c.nIndex >> strField >> c.nSelStart >> c.nSelEnd;
    c.nField = kFields.at(strField);
    return c;
}

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
} // namespace

TEST(CursorTest, KeysScrollsAndClicksFromTheTable)
{
    for (const auto& row : ReadTable("tables/cursor-moves.txt"))
    {
        const CDump dump = ParseDump(row.at(1));
        CHexMove move{ParseCursor(row.at(2)), dump.nTop};
        std::istringstream in(row.at(3));
        for (std::string strStep; in >> strStep;)
            move = Step(dump, move, strStep);
        EXPECT_EQ(Str(ParseCursor(row.at(4)), std::stoi(row.at(5))), Str(move.cursor, move.nTop))
            << row[0];
    }
}
