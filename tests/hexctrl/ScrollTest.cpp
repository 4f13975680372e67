// Scrolling: the line, page and thumb rules, the scroll bar, and the caret carried along.
#include "HexCtrlTestSupport.h"

namespace
{
enum
{
    UP = CHexEditCtrl::SB_LINEUP,
    DOWN = CHexEditCtrl::SB_LINEDOWN,
    PGUP = CHexEditCtrl::SB_PAGEUP,
    PGDN = CHexEditCtrl::SB_PAGEDOWN,
    THUMBPOS = CHexEditCtrl::SB_THUMBPOSITION,
    THUMB = CHexEditCtrl::SB_THUMBTRACK
};

class CScrollTest : public CHexCtrlTest
{
protected:
    // 100 bytes, 16 per line, 5 lines per page
    void LoadHundred()
    {
        SetLines(5);
        Load(Sequence(100), 1, 16);
        ASSERT_EQ(5, P().LinesPerPage());
    }
};
} // namespace

TEST_F(CScrollTest, LineAndPageRules)
{
    const struct
    {
        std::vector<std::pair<int, int>> steps;
        int nTop;
    } kCases[] = {
        {{{PGDN, 0}}, 20},
        {{{PGDN, 0}, {UP, 0}}, 4},
        {{{PGDN, 0}, {UP, 0}, {UP, 0}}, 0},
        {{{DOWN, 0}, {DOWN, 0}}, 32},
        {{{DOWN, 0}, {DOWN, 0}, {DOWN, 0}}, 32}, // 32 is not below 100 - 5 * 16
        {{{PGDN, 0}, {PGDN, 0}}, 20},
        {{{UP, 0}, {PGUP, 0}}, 0},
        {{{DOWN, 0}, {DOWN, 0}, {PGUP, 0}}, 0},
        {{{THUMB, 3}}, 48},
        {{{DOWN, 0}, {THUMBPOS, 5}}, 16},
        {{{THUMB, -4}}, 0},
    };
    for (size_t i = 0; i < std::size(kCases); ++i)
    {
        LoadHundred();
        for (const auto& [nCode, nPos] : kCases[i].steps)
            P().VScroll(nCode, nPos);
        EXPECT_EQ(kCases[i].nTop, P().TopOffset()) << "case " << i;
        // the thumb stops where the last page begins
        EXPECT_EQ(std::min(kCases[i].nTop / 16, 2), m_pCtrl->GetScrollPos(wxVERTICAL)) << i;
    }
}

// The range counts the partial last line; the bar shows whenever some line is out of view.
// Line down stops at the first line start from which the last line is in view.
TEST_F(CScrollTest, ScrollBarAndLineDownReachEveryLine)
{
    const int kCases[][4] = {
        {100, 7, 5, 32}, {96, 6, 5, 16}, {90, 6, 5, 16}, {80, 5, 5, 0}, {20, 2, 2, 0}};
    SetLines(5);
    for (const auto& [nBytes, nRange, nThumb, nLastTop] : kCases)
    {
        Load(Sequence(nBytes), 1, 16);
        EXPECT_EQ(nRange, m_pCtrl->GetScrollRange(wxVERTICAL)) << nBytes;
        EXPECT_EQ(nThumb, m_pCtrl->GetScrollThumb(wxVERTICAL)) << nBytes;
        for (int i = 0; i < 8; ++i)
            P().VScroll(DOWN);
        EXPECT_EQ(nLastTop, P().TopOffset()) << nBytes;
    }
    EXPECT_TRUE(P().DataFitsWindow()); // 20 bytes
}

// The caret is carried along unless it scrolls itself. Carried past the last byte (a line
// down past N - L x B) it stops there; carried above index 0 it stops on 0.
TEST_F(CScrollTest, CarriedCaretStaysInsideTheData)
{
    LoadHundred();
    P().CaretField() = 2;
    P().PlaceCaret(74);
    P().VScroll(DOWN);
    EXPECT_EQ(90, P().CaretPos());
    EXPECT_EQ(4 * P().LineHeight(), P().CaretY());
    P().VScroll(DOWN);
    EXPECT_EQ(32, P().TopOffset());
    EXPECT_EQ(99, P().CaretPos());

    LoadHundred();
    P().CaretScroll() = true;
    P().PlaceCaret(19);
    P().VScroll(DOWN);
    EXPECT_EQ(19, P().CaretPos());
    EXPECT_EQ(0, P().CaretY());

    LoadHundred();
    P().CaretScroll() = true;
    P().VScroll(PGDN);
    P().CaretScroll() = false;
    EXPECT_EQ(0, P().CaretPos());
    P().VScroll(UP);
    EXPECT_EQ(4, P().TopOffset());
    EXPECT_EQ(0, P().CaretPos());
}

// The thumb's position arrives whole, beyond the 65,535 lines of a 16-bit field.
TEST_F(CScrollTest, ThumbTrackingReachesTheEndOfLongSegments)
{
    SetLines(5);
    Load(std::vector<unsigned char>(8 << 20, 0x55), 1, 16);
    wxScrollWinEvent event(wxEVT_SCROLLWIN_THUMBTRACK, 500000, wxVERTICAL);
    event.SetEventObject(m_pCtrl);
    m_pCtrl->GetEventHandler()->ProcessEvent(event);
    EXPECT_EQ(8000000, P().TopOffset());
    EXPECT_EQ(500000, m_pCtrl->GetScrollPos(wxVERTICAL));
    EXPECT_EQ("007A1200", Render().Text(0, 0, 8));
}
