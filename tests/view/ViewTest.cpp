// The hex view: segment stepping, word length and byte order commands, their enable rules
// and the profile values behind them.
#include "ViewTestSupport.h"

#include "Profile.h"
#include "Resource.h"

namespace
{
class ViewTest : public CDocViewTest
{
protected:
    // The first nSegments of three segments, the second one at 0x1001; none: a new document.
    void StartWithSegments(int nSegments)
    {
        SegmentList segments = {{0x0100, std::vector<uint8_t>(40, 0x11)},
                                {0x1001, std::vector<uint8_t>(70, 0x22)},
                                {0x20000, std::vector<uint8_t>(9, 0x33)}};
        segments.resize(nSegments);
        if (nSegments == 0)
            Start("");
        else
            StartOn("segments.hex", segments);
    }

    void StoreProfile(int nWordLen, int nByteOrder)
    {
        WriteProfileInt("view", "wordlen", nWordLen);
        WriteProfileInt("view", "byteorder", nByteOrder);
    }

    // 1, 2, 3 for the segment shown, 0 for none
    int ShownSegmentMark() { return Probe().Bytes().empty() ? 0 : Probe().Bytes()[0] >> 4; }
};
} // namespace

TEST_F(ViewTest, SegmentButtonsFollowTheSegmentCount)
{
    // segments; steps (n: next, p: previous); previous and next enabled; segment shown
    const std::tuple<int, const char*, bool, bool, int> kCases[] = {
        {0, "", false, false, 0},    {0, "n", false, false, 0},  {1, "", false, false, 0},
        {1, "n", false, false, 0},   {3, "", false, true, 0},    {3, "n", true, true, 1},
        {3, "nn", true, false, 2},   {3, "nnn", true, false, 2}, {3, "nnp", true, true, 1},
        {3, "nnppp", false, true, 0}};
    for (const auto& [nSegments, pszSteps, bPrev, bNext, nShown] : kCases)
    {
        SCOPED_TRACE(testing::Message() << nSegments << " segments, steps " << pszSteps);
        StartWithSegments(nSegments);
        for (const char* p = pszSteps; *p; ++p)
            Command(*p == 'n' ? ID_VIEW_NEXT_SEGMENT : ID_VIEW_PREV_SEGMENT);
        EXPECT_EQ(bPrev, IsEnabled(ID_VIEW_PREV_SEGMENT));
        EXPECT_EQ(bNext, IsEnabled(ID_VIEW_NEXT_SEGMENT));
        EXPECT_EQ(nShown, m_pView->m_nSegment);
        EXPECT_EQ(nSegments ? nShown + 1 : 0, ShownSegmentMark());
        TearDown();
    }
}

// Each command shows the current segment afresh (edits in the control are gone), grouped
// and addressed in words, and stores the word length.
TEST_F(ViewTest, WordLengthCommandsRegroupTheShownSegment)
{
    // command, word length, bytes per line
    const int kCases[][3] = {{ID_VIEW_WORD16, 2, 32},
                             {ID_VIEW_WORD24, 3, 33},
                             {ID_VIEW_WORD32, 4, 32},
                             {ID_VIEW_BYTES, 1, 16}};
    StartWithSegments(0); // with no segment to show the command still stores its word length
    Command(ID_VIEW_WORD24);
    EXPECT_EQ(3, GetProfileInt("view", "wordlen", 0));
    TearDown();
    StartWithSegments(3);
    Command(ID_VIEW_NEXT_SEGMENT);
    for (const auto& [nId, nWordLen, nBytesPerLine] : kCases)
    {
        SCOPED_TRACE(nWordLen);
        Probe().Data()[0] = 0xEE;
        Command(nId);
        EXPECT_EQ(nWordLen, m_pView->m_nWordLen);
        EXPECT_EQ(nWordLen, Probe().WordLen());
        EXPECT_EQ(nBytesPerLine, Ctrl().GetBytesPerLine());
        EXPECT_EQ(0x1001u / unsigned(nWordLen), unsigned(Probe().BaseAddress()));
        EXPECT_EQ(1, m_pView->m_nSegment);
        EXPECT_EQ(std::vector<uint8_t>(70, 0x22), Probe().Bytes());
        EXPECT_EQ(nWordLen, GetProfileInt("view", "wordlen", 0));
        EXPECT_EQ(nWordLen > 1, IsEnabled(ID_VIEW_BYTEORDER));
    }
}

// 0 or less shows bytes; above 4 (only an edited profile holds one) is clamped. The
// stored value itself is left alone.
TEST_F(ViewTest, StoredWordLengthOutsideTheCommandsRange)
{
    const int kCases[][3] = {{0, 1, 16}, {-3, 1, 16}, {5, 4, 32}, {1000, 4, 32}};
    for (const auto& [nStored, nUsed, nBytesPerLine] : kCases)
    {
        SCOPED_TRACE(nStored);
        StoreProfile(nStored, 0);
        StartWithSegments(1);
        EXPECT_EQ(nUsed, m_pView->m_nWordLen);
        EXPECT_EQ(nBytesPerLine, Ctrl().GetBytesPerLine());
        EXPECT_EQ(nStored, GetProfileInt("view", "wordlen", 99));
        TearDown();
    }
}

// A stored 2 reaches the control as it is, also while the command is disabled; the
// toggle keeps edits and stores the order it sets, starting with 1.
TEST_F(ViewTest, StoredByteOrderReachesTheControlAndTogglesToItsLowestBit)
{
    StoreProfile(1, 2);
    StartWithSegments(1);
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

// The control fills the client area. Activating the frame gives the keyboard focus to the
// view (the frame stands for it), not to the control: the control takes keys after a click.
TEST_F(ViewTest, ControlFillsTheFrameWithoutTheFocus)
{
    StartWithSegments(1);
    m_pFrame->SetClientSize(500, 300);
    PumpEvents();
    EXPECT_EQ(wxRect(wxPoint(0, 0), m_pFrame->GetClientSize()), Ctrl().GetRect());
    Ctrl().SetFocus();
    wxActivateEvent activate(wxEVT_ACTIVATE, true, m_pFrame->GetId());
    m_pFrame->GetEventHandler()->ProcessEvent(activate);
    for (int i = 0; i < 10; i++)
        wxYield();
    EXPECT_EQ(m_pFrame, wxWindow::FindFocus());
}
