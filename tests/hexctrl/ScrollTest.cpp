// The scroll bar: its range counts the partial last line, it shows whenever some line is out of
// view, its thumb stops where the last page begins and reaches the end of long segments.
#include "HexCtrlTestSupport.h"

#include <wx/stopwatch.h>

TEST_F(CHexCtrlTest, ScrollBarReachesEveryLine)
{
    // bytes; range, thumb and position after eight lines down
    const int kCases[][4] = {
        {100, 7, 5, 2}, {96, 6, 5, 1}, {90, 6, 5, 1}, {80, 5, 5, 0}, {20, 2, 2, 0}};
    SetLines(5);
    for (const auto& [nBytes, nRange, nThumb, nPos] : kCases)
    {
        Load(Sequence(nBytes), 1, 16);
        Run("v1,0 v1,0 v1,0 v1,0 v1,0 v1,0 v1,0 v1,0");
        EXPECT_EQ(nRange, m_pCtrl->GetScrollRange(wxVERTICAL)) << nBytes;
        EXPECT_EQ(nThumb, m_pCtrl->GetScrollThumb(wxVERTICAL)) << nBytes;
        EXPECT_EQ(nPos, m_pCtrl->GetScrollPos(wxVERTICAL)) << nBytes;
    }
    // empty data after a shown bar show neither scroll bar (a thumb as long as the range) nor caret
    Load(Sequence(100), 1, 16);
    m_pCtrl->SetData(nullptr, 0);
    EXPECT_FALSE(P().CaretExists());
    EXPECT_GE(m_pCtrl->GetScrollThumb(wxVERTICAL), m_pCtrl->GetScrollRange(wxVERTICAL));
}

// The thumb's position arrives whole, beyond the 65,535 lines of a 16-bit field.
TEST_F(CHexCtrlTest, ThumbTrackingReachesTheEndOfLongSegments)
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

// A page or a jump repaints the dump once, not once for every frame of a scroll bar fading in and
// out (a hundred paints for one Ctrl+End, most of its cost at any segment size).
TEST_F(CHexCtrlTest, JumpPaintsOnce)
{
    SetLines(5);
    Load(Sequence(1000), 1, 16);
    int nPaints = 0;
    m_pCtrl->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) { ++nPaints, event.Skip(); });
    for (const char* pszKey : {"PD", "CE"})
    {
        nPaints = 0;
        Run(pszKey);
        for (wxStopWatch watch; watch.Time() < 1000;)
            wxTheApp->Yield(true), wxMilliSleep(5);
        EXPECT_LE(nPaints, 2) << pszKey;
    }
}
