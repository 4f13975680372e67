// Keys, clicks, drags and scrolling: where the caret, the selection and the top line end up.
#include "HexCtrlTestSupport.h"

namespace
{
// word length, byte order, bytes, lines; steps; caret index and field, selection, top offset and,
// when checked, the cell the caret is drawn on
struct CNavCase
{
    int nWordLen, nOrder, nLen, nLines;
    const char* pszScript;
    int nPos, nField, nSelStart, nSelEnd, nTop, nCaretCell = -1;
};

// 8-digit addresses: in the byte layout the high digit of column k is cell 9 + 3k and its character
// cell 57 + k (16 bytes per line). A click on a blank selects the next group's first digit; a digit
// of a missing byte, a point left of the window or right of the characters is no hit. Scroll codes:
// v0 line up, v1 line down, v2 page up, v3 page down, v4 thumb released, v5 thumb tracked; the
// caret is carried along unless it scrolls itself, and stays inside the data.
const CNavCase kCases[] = {
    {1, 1, 100, 5, "L", 0, 3, -1, -1, 0},
    {1, 1, 100, 5, "=99,3 R", 99, 2, -1, -1, 16},
    {1, 1, 100, 5, "=99,1 R D", 99, 1, -1, -1, 32},
    {1, 1, 100, 5, "=10,2 SR SR SL", 10, 3, 10, 10, 0},
    {1, 1, 100, 5, "=10,2 SR TAB", 10, 1, 10, 11, 0},
    {1, 1, 100, 5, "=10,2 SR R", 11, 2, -1, -1, 0},
    {1, 1, 100, 5, "=21,3 H", 16, 3, -1, -1, 0, 10},
    {1, 1, 100, 5, "=97,2 E", 99, 2, -1, -1, 16},
    {1, 1, 20, 5, "CE", 19, 2, -1, -1, 0},
    {1, 1, 1000, 5, "PD", 0, 2, -1, -1, 64},
    {1, 1, 100, 5, "PD =90,2 D", 90, 2, -1, -1, 20},
    {1, 1, 100, 5, "=20,2 U U U", 0, 2, -1, -1, 0},
    {2, 1, 100, 5, "L", 0, 4, -1, -1, 0},
    {2, 1, 100, 5, "R R R R", 3, 7, -1, -1, 0, 14},
    {2, 0, 100, 5, "R R R R L", 1, 4, -1, -1, 0, 12},
    {2, 1, 99, 5, "=98,4 R", 98, 5, -1, -1, 0},
    {3, 1, 66, 2, "=0,3 R", 5, 2, -1, -1, 0, 16},
    {4, 0, 64, 2, "=31,3 R", 32, 2, -1, -1, 0},
    {2, 1, 99, 2, "T3 =0,5", 0, 7, -1, -1, 3},
    {1, 1, 40, 5, "@3,0 !3,0", 0, 0, -1, -1, 0, 0},
    {1, 1, 40, 5, "@11,1 !11,1", 17, 2, -1, -1, 0, 12},
    {1, 1, 40, 5, "@56,0 !56,0", 0, 1, -1, -1, 0, 57},
    {1, 1, 40, 5, "=5,2 @73,0 !73,0", 5, 2, -1, -1, 0},
    {1, 1, 40, 5, "=5,2 @67,2 !67,2", 5, 2, -1, -1, 0},
    {1, 1, 40, 5, "=5,2 @-1,0 !-1,0", 5, 2, -1, -1, 0},
    {2, 1, 64, 5, "@11,0 !11,0", 0, 5, -1, -1, 0, 11},
    {2, 0, 64, 5, "@11,0 !11,0", 1, 5, -1, -1, 0, 11},
    {3, 1, 66, 5, "@15,0 !15,0", 5, 2, -1, -1, 0, 16},
    {4, 0, 64, 5, "@17,0 !17,0", 4, 2, -1, -1, 0, 18},
    {2, 1, 33, 5, "@9,1 !9,1", 1, 7, -1, -1, 0},
    {2, 1, 33, 5, "@11,1 !11,1", 32, 5, -1, -1, 0, 11},
    {1, 1, 100, 5, "=5,2 +@36,0 +@45,0", 12, 2, 9, 13, 0},
    {1, 1, 100, 5, "@24,0 ~37,0 ~37,0 !37,0 @5,9 !5,9", 9, 3, -1, -1, 0, 37},
    {1, 1, 100, 5, "@37,0 ~24,0 ~24,0 !24,0", 5, 2, 9, 6, 0},
    {1, 1, 100, 5, "@62,0 ~66,0 ~66,0", 9, 1, 5, 9, 0},
    {1, 1, 100, 5, "T32 @24,1 ~24,0 ~24,-1 ~24,-1", 5, 2, 53, 6, 0},
    {1, 1, 100, 5, "@24,0 ~24,1 ~24,5", 85, 2, 5, 86, 16},
    {1, 1, 100, 5, "=5,2 SR @24,2 !24,2", 37, 2, -1, -1, 0, 24},
    {1, 1, 40, 5, "@24,1 !24,1 @24,4 !24,4", 21, 2, -1, -1, 0},
    {1, 1, 100, 5, "v3,0 v0,0", 4, 2, -1, -1, 4},
    {1, 1, 100, 5, "v3,0 v0,0 v0,0 v3,0 v3,0", 20, 2, -1, -1, 20},
    {1, 1, 100, 5, "v1,0 v1,0 v2,0", 0, 2, -1, -1, 0},
    {1, 1, 100, 5, "=74,2 v1,0 v1,0 v1,0", 99, 2, -1, -1, 32}, // line down stops on a partial line
    {1, 1, 96, 5, "v1,0 v1,0", 16, 2, -1, -1, 16},             // ... and on a whole one
    {1, 1, 100, 5, "=5,2 v5,3", 53, 2, -1, -1, 48},
    {1, 1, 100, 5, "v5,-4 v1,0 v4,5", 16, 2, -1, -1, 16},
    {2, 1, 99, 2, "v3,0", 37, 7, -1, -1, 36}, // the last page starts on a word
    {1, 1, 100, 5, "W8 W3 v1,0 v1,0 v1,0 v1,0", 64, 2, -1, -1, 64},
};
} // namespace

TEST_F(CHexCtrlTest, KeysClicksDragsAndScrollsMoveCaretAndSelection)
{
    for (const CNavCase& c : kCases)
    {
        SCOPED_TRACE(c.pszScript);
        SetLines(c.nLines);
        m_pCtrl->SetByteOrder(c.nOrder);
        Load(Sequence(c.nLen), c.nWordLen, BytesPerLine(c.nWordLen));
        Run(c.pszScript);
        EXPECT_EQ(c.nPos, P().CaretPos());
        EXPECT_EQ(c.nField, P().CaretField());
        EXPECT_EQ(std::make_pair(c.nSelStart, c.nSelEnd),
                  std::make_pair(P().SelStart(), P().SelEnd()));
        EXPECT_EQ(c.nTop, P().TopOffset());
        EXPECT_TRUE(c.nCaretCell < 0 || c.nCaretCell * m_nCellWidth == P().CaretRect().x)
            << P().CaretRect().x / m_nCellWidth;
    }
}
