// The hex view: segment stepping, word length and byte order commands, their enable rules
// and the profile values behind them.
#include "AppTestSupport.h"

namespace
{
class ViewTest : public CAppRunTest
{
protected:
    // The first nSegments of three segments, the second one at 0x1001; none: a new document.
    void StartWithSegments(int nSegments, int nWordLen = 1, int nByteOrder = 0)
    {
        WriteProfileInt("view", "wordlen", nWordLen);
        WriteProfileInt("view", "byteorder", nByteOrder);
        SegmentList segments = {{0x0100, std::vector<uint8_t>(40, 0x11)},
                                {0x1001, std::vector<uint8_t>(70, 0x22)},
                                {0x20000, std::vector<uint8_t>(9, 0x33)}};
        segments.resize(nSegments);
        nSegments ? StartOn("segments.hex", segments) : void(Start(""));
    }
};
} // namespace

TEST_F(ViewTest, SegmentButtonsFollowTheSegmentCount)
{
    // segments; steps (n: next, p: previous); previous and next enabled; segment shown
    const std::tuple<int, const char*, bool, bool, int> kCases[] = {
        {0, "n", false, false, 0},   {1, "n", false, false, 0},  {3, "", false, true, 0},
        {3, "n", true, true, 1},     {3, "nnn", true, false, 2}, {3, "nnp", true, true, 1},
        {3, "nnppp", false, true, 0}};
    for (const auto& [nSegments, pszSteps, bPrev, bNext, nShown] : kCases)
    {
        SCOPED_TRACE(testing::Message() << nSegments << " segments, steps " << pszSteps);
        StartWithSegments(nSegments);
        for (const char* p = pszSteps; *p; ++p)
            Command(*p == 'n' ? ID_VIEW_NEXT_SEGMENT : ID_VIEW_PREV_SEGMENT);
        EXPECT_EQ(bPrev, IsEnabled(ID_VIEW_PREV_SEGMENT));
        EXPECT_EQ(bNext, IsEnabled(ID_VIEW_NEXT_SEGMENT));
        EXPECT_EQ(nShown, View()->m_nSegment);
        EXPECT_EQ(nSegments ? nShown + 1 : 0,
                  Probe().Bytes().empty() ? 0 : Probe().Bytes()[0] >> 4);
        TearDown();
    }
}

// Each command shows the current segment afresh from its first line (edits in the control
// are gone), grouped and addressed in words, and stores the word length, also with no
// segment to show. A stored length outside 1..4 is used clamped and left alone.
TEST_F(ViewTest, WordLengthCommandsRegroupTheShownSegment)
{
    for (const auto& [nStored, nUsed] : {std::pair{0, 1}, {5, 4}})
    {
        StartWithSegments(1, nStored);
        EXPECT_EQ(nUsed, View()->m_nWordLen);
        EXPECT_EQ(nUsed, Probe().WordLen());
        EXPECT_EQ(nStored, GetProfileInt("view", "wordlen", 99));
        TearDown();
    }
    StartWithSegments(0);
    Command(ID_VIEW_WORD24);
    EXPECT_EQ(3, GetProfileInt("view", "wordlen", 0));
    TearDown();
    StartWithSegments(3);
    Command(ID_VIEW_NEXT_SEGMENT);
    // command, word length, bytes per line
    const int kCases[][3] = {{ID_VIEW_WORD16, 2, 32},
                             {ID_VIEW_WORD24, 3, 33},
                             {ID_VIEW_WORD32, 4, 32},
                             {ID_VIEW_BYTES, 1, 16}};
    for (const auto& [nId, nWordLen, nBytesPerLine] : kCases)
    {
        SCOPED_TRACE(nWordLen);
        Probe().Data()[0] = 0xEE;
        Probe().TopOffset() = Ctrl().GetBytesPerLine();
        Command(nId);
        EXPECT_EQ(0, Probe().TopOffset());
        EXPECT_EQ(nWordLen, Probe().WordLen());
        EXPECT_EQ(nBytesPerLine, Ctrl().GetBytesPerLine());
        EXPECT_EQ(0x1001u / unsigned(nWordLen), unsigned(Probe().BaseAddress()));
        EXPECT_EQ(std::vector<uint8_t>(70, 0x22), Probe().Bytes());
        EXPECT_EQ(nWordLen, GetProfileInt("view", "wordlen", 0));
        EXPECT_EQ(nWordLen > 1, IsEnabled(ID_VIEW_BYTEORDER));
    }
}

// A stored 2 reaches the control as it is, also while the command is disabled; the
// toggle keeps edits and stores the order it sets, starting with 1.
TEST_F(ViewTest, StoredByteOrderReachesTheControlAndTogglesToItsLowestBit)
{
    StartWithSegments(1, 1, 2);
    EXPECT_FALSE(IsEnabled(ID_VIEW_BYTEORDER));
    EXPECT_EQ(2, Ctrl().GetByteOrder());
    Command(ID_VIEW_WORD16);
    EXPECT_EQ(2, Ctrl().GetByteOrder());
    Probe().Data()[2] = 0xEE;
    for (int nOrder : {1, 0, 1})
    {
        Command(ID_VIEW_BYTEORDER);
        EXPECT_EQ(nOrder, Ctrl().GetByteOrder());
        EXPECT_EQ(nOrder, GetProfileInt("view", "byteorder", -1));
        EXPECT_EQ(0xEE, Probe().Bytes()[2]);
    }
}

// The caret, segment and view panes as the frame sets them when idle: after the start, a
// step, a word length, a byte-order toggle and caret moves by key and by click.
TEST_F(ViewTest, StatusPanesSayWhereTheCaretIs)
{
    const auto panes = []
    {
        wxIdleEvent idle;
        Frame()->ProcessWindowEvent(idle);
        std::string str;
        for (int i = CMainFrame::kPaneCaret; i < CMainFrame::kPaneCount; i++)
            str += Frame()->m_wndStatusBar->GetStatusText(i) + "|";
        return str;
    };
    StartWithSegments(0);
    EXPECT_EQ("||8-bit, order 0|", panes());
    TearDown();
    StartWithSegments(3);
    const wxSize cell = Ctrl().GetTextExtent("0");
    const int nCharCol = CHexLayout(2, 32, 0, 8, true, true).GetCharCol();
    const struct
    {
        const char* pszStep;
        std::function<void()> step;
        const char* pszPanes;
    } kSteps[] = {
        {"open", [] {},
         "Address 00000100|Segment 1 of 3: 00000100-00000127, 40 bytes|8-bit, order 0|"},
        {"next", [] { Command(ID_VIEW_NEXT_SEGMENT); },
         "Address 00001001|Segment 2 of 3: 00001001-00001046, 70 bytes|8-bit, order 0|"},
        {"line down", [] { Probe().Key(CHexEditCtrl::VK_DOWN); },
         "Address 00001011|Segment 2 of 3: 00001001-00001046, 70 bytes|8-bit, order 0|"},
        {"16 bit", [] { Command(ID_VIEW_WORD16); },
         "Address 00001001, word 00000800|Segment 2 of 3: 00001001-00001046, 70 bytes|16-bit, "
         "order 0|"},
        {"byte order", [] { Command(ID_VIEW_BYTEORDER); },
         "Address 00001002, word 00000800|Segment 2 of 3: 00001001-00001046, 70 bytes|16-bit, "
         "order 1|"},
        {"click", [&] { Probe().Down((nCharCol + 5) * cell.x + 1, cell.y + 1), Probe().Up(0, 0); },
         "Address 00001026, word 00000812|Segment 2 of 3: 00001001-00001046, 70 bytes|16-bit, "
         "order 1|"},
        {"last", [] { Command(ID_VIEW_NEXT_SEGMENT); },
         "Address 00020001, word 00010000|Segment 3 of 3: 00020000-00020008, 9 bytes|16-bit, order "
         "1|"},
    };
    for (const auto& [pszStep, step, pszPanes] : kSteps)
    {
        step();
        EXPECT_EQ(pszPanes, panes()) << pszStep;
    }
}

// A pane widens for a text longer than it was made for, so that the text fits between the
// pane's borders and margins, and in the last pane beside the size grip.
TEST_F(ViewTest, StatusPanesFitTheirText)
{
    WriteProfileInt("view", "wordlen", 4);
    StartOn("long.hex", {{0x100, std::vector<uint8_t>(100000, 0x44)}});
    Frame()->SetClientSize(1200, 400);
    wxIdleEvent idle;
    Frame()->ProcessWindowEvent(idle);
    const wxStatusBar* pBar = Frame()->m_wndStatusBar;
    // the bar's margin on each side of a text, and the pixel GTK moves it by
    const int nMargins = 2 * 2 + 1;
    for (int i = CMainFrame::kPaneCaret; i < CMainFrame::kPaneCount; i++)
    {
        wxRect rect;
        ASSERT_TRUE(pBar->GetFieldRect(i, rect));
        const int nGrip = i == CMainFrame::kPaneCount - 1 ? pBar->GetClientSize().y : 0;
        EXPECT_LE(pBar->GetTextExtent(pBar->GetStatusText(i)).x + nMargins + nGrip, rect.width)
            << pBar->GetStatusText(i);
    }
}
