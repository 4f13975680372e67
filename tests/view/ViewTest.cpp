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
        EXPECT_EQ(nShown, View()->GetSegmentIndex());
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
        Probe().Poke(0, 0xEE);
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
    Probe().Poke(2, 0xEE);
    for (int nOrder : {1, 0, 1})
    {
        Command(ID_VIEW_BYTEORDER);
        EXPECT_EQ(nOrder, Ctrl().GetByteOrder());
        EXPECT_EQ(nOrder, GetProfileInt("view", "byteorder", -1));
        EXPECT_EQ(0xEE, Probe().Bytes()[2]);
    }
    // the frame may take the dump down with its other children before the view goes
    delete &Ctrl();
}
