#include "ViewTestSupport.h"

#include "Profile.h"
#include "Resource.h"

namespace
{
class ViewTest : public CDocViewTest
{
protected:
    // A file of nSegments segments, the second one at 0x1001, opened.
    void StartWithSegments(int nSegments)
    {
        if (nSegments == 0)
        {
            Start("");
            return;
        }
        std::vector<std::pair<uint32_t, std::vector<uint8_t>>> segments = {
            {0x0100, std::vector<uint8_t>(40, 0x11)},
            {0x1001, std::vector<uint8_t>(70, 0x22)},
            {0x20000, std::vector<uint8_t>(9, 0x33)}};
        segments.resize(nSegments);
        m_dir.Write("segments.hex", HexText(segments));
        Start(m_dir.File("segments.hex"));
    }

    void StoreProfile(int nWordLen, int nByteOrder)
    {
        WriteProfileInt("view", "wordlen", nWordLen);
        WriteProfileInt("view", "byteorder", nByteOrder);
    }
};

// Each segment's first and second-to-last byte tell which segment the control shows.
int ShownSegmentMark(CHexEditCtrlProbe probe)
{
    return probe.Bytes().empty() ? 0 : probe.Bytes()[0] >> 4;
}
} // namespace

TEST_F(ViewTest, SegmentButtonsFollowTheSegmentCount)
{
    const struct
    {
        int nSegments;
        int nSteps; // next-segment clicks before the check
        bool bPrev;
        bool bNext;
        int nShown;
    } cases[] = {{0, 0, false, false, 0}, {0, 1, false, false, 0}, {1, 0, false, false, 0},
                 {1, 1, false, false, 0}, {3, 0, false, true, 0},  {3, 1, true, true, 1},
                 {3, 2, true, false, 2},  {3, 3, true, false, 2}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nSegments << " segments, " << c.nSteps << " steps");
        StartWithSegments(c.nSegments);
        for (int i = 0; i < c.nSteps; i++)
            Command(ID_VIEW_NEXT_SEGMENT);
        EXPECT_EQ(c.bPrev, IsEnabled(ID_VIEW_PREV_SEGMENT));
        EXPECT_EQ(c.bNext, IsEnabled(ID_VIEW_NEXT_SEGMENT));
        EXPECT_EQ(c.nShown, m_pView->m_nSegment);
        EXPECT_EQ(c.nSegments ? c.nShown + 1 : 0, ShownSegmentMark(Probe()));
        TearDown();
        m_pFrame = nullptr;
        m_pManager = nullptr;
    }
}

TEST_F(ViewTest, PreviousSegmentStepsBack)
{
    StartWithSegments(3);
    Command(ID_VIEW_NEXT_SEGMENT);
    Command(ID_VIEW_NEXT_SEGMENT);
    Command(ID_VIEW_PREV_SEGMENT);
    EXPECT_EQ(1, m_pView->m_nSegment);
    EXPECT_EQ(2, ShownSegmentMark(Probe()));
    Command(ID_VIEW_PREV_SEGMENT);
    Command(ID_VIEW_PREV_SEGMENT);
    EXPECT_EQ(0, m_pView->m_nSegment);
    EXPECT_FALSE(IsEnabled(ID_VIEW_PREV_SEGMENT));
}

TEST_F(ViewTest, WordLengthCommandsRegroupTheShownSegment)
{
    const struct
    {
        int nId;
        int nWordLen;
        int nBytesPerLine;
        bool bByteOrder;
    } cases[] = {{ID_VIEW_WORD16, 2, 32, true},
                 {ID_VIEW_WORD24, 3, 33, true},
                 {ID_VIEW_WORD32, 4, 32, true},
                 {ID_VIEW_BYTES, 1, 16, false}};
    StartWithSegments(3);
    Command(ID_VIEW_NEXT_SEGMENT);
    for (const auto& c : cases)
    {
        Probe().Data()[0] = 0xEE;
        Command(c.nId);
        EXPECT_EQ(c.nWordLen, m_pView->m_nWordLen) << c.nId;
        EXPECT_EQ(c.nWordLen, Probe().WordLen()) << c.nId;
        EXPECT_EQ(c.nBytesPerLine, Ctrl().GetBytesPerLine()) << c.nId;
        EXPECT_EQ(0x1001u / unsigned(c.nWordLen), unsigned(Probe().BaseAddress())) << c.nId;
        EXPECT_EQ(1, m_pView->m_nSegment) << c.nId;
        EXPECT_EQ(SegmentBytes(1), Probe().Bytes()) << c.nId; // the edit is gone
        EXPECT_EQ(c.nWordLen, GetProfileInt("view", "wordlen", 0)) << c.nId;
        EXPECT_EQ(c.bByteOrder, IsEnabled(ID_VIEW_BYTEORDER)) << c.nId;
    }
}

TEST_F(ViewTest, StoredWordLengthOutsideTheCommandsRange)
{
    const struct
    {
        int nStored;
        int nUsed;
        int nBytesPerLine;
    } cases[] = {{0, 1, 16}, {-3, 1, 16}, {5, 4, 32}, {1000, 4, 32}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nStored);
        StoreProfile(c.nStored, 0);
        StartWithSegments(1);
        EXPECT_EQ(c.nUsed, m_pView->m_nWordLen);
        EXPECT_EQ(c.nBytesPerLine, Ctrl().GetBytesPerLine());
        EXPECT_EQ(c.nStored, GetProfileInt("view", "wordlen", 99));
        TearDown();
        m_pFrame = nullptr;
        m_pManager = nullptr;
    }
}

TEST_F(ViewTest, EmptyDocumentStillStoresTheWordLength)
{
    StartWithSegments(0);
    Command(ID_VIEW_WORD24);
    EXPECT_EQ(3, GetProfileInt("view", "wordlen", 0));
    EXPECT_EQ(0, Ctrl().GetDataLength());
}

TEST_F(ViewTest, StoredByteOrderReachesTheControlAndTogglesToItsLowestBit)
{
    StoreProfile(2, 2);
    StartWithSegments(1);
    EXPECT_EQ(2, Ctrl().GetByteOrder());
    const int expected[] = {1, 0, 1};
    for (int nOrder : expected)
    {
        Command(ID_VIEW_BYTEORDER);
        EXPECT_EQ(nOrder, Ctrl().GetByteOrder());
        EXPECT_EQ(nOrder, GetProfileInt("view", "byteorder", -1));
    }
}

TEST_F(ViewTest, ByteOrderToggleKeepsEditsAndTheDisabledStateKeepsTheStoredOrder)
{
    StoreProfile(1, 1);
    StartWithSegments(1);
    EXPECT_FALSE(IsEnabled(ID_VIEW_BYTEORDER));
    EXPECT_EQ(1, Ctrl().GetByteOrder());
    Command(ID_VIEW_WORD16);
    EXPECT_EQ(1, Ctrl().GetByteOrder());
    Probe().Data()[2] = 0xEE;
    Command(ID_VIEW_BYTEORDER);
    EXPECT_EQ(0xEE, Probe().Bytes()[2]);
}

// The control learns its new line width before it receives (and paints) the data, so no
// frame is drawn with the new word length and the old width.
TEST_F(ViewTest, NoPaintWithTheOldLineWidth)
{
    StartWithSegments(1);
    std::vector<int> widths;
    Ctrl().Bind(wxEVT_PAINT,
                [&](wxPaintEvent& event)
                {
                    widths.push_back(Ctrl().GetBytesPerLine());
                    event.Skip();
                });
    Command(ID_VIEW_WORD16);
    for (int i = 0; i < 20 && widths.empty(); i++)
        wxYield();
    ASSERT_FALSE(widths.empty());
    for (int nWidth : widths)
        EXPECT_EQ(32, nWidth);
}

TEST_F(ViewTest, ControlCoversTheClientArea)
{
    StartWithSegments(1);
    m_pFrame->SetClientSize(500, 300);
    PumpEvents();
    EXPECT_EQ(wxRect(wxPoint(0, 0), m_pFrame->GetClientSize()), Ctrl().GetRect());
    EXPECT_EQ("hexEd", Ctrl().GetName());
    EXPECT_EQ(IDC_HEXEDIT, Ctrl().GetId());
}

// Activating the frame gives the keyboard focus to the view (the frame stands for it), not
// to the control: the control takes keys only after a click.
TEST_F(ViewTest, ActivationLeavesTheControlWithoutFocus)
{
    StartWithSegments(1);
    Ctrl().SetFocus();
    wxActivateEvent activate(wxEVT_ACTIVATE, true, m_pFrame->GetId());
    m_pFrame->GetEventHandler()->ProcessEvent(activate);
    for (int i = 0; i < 10; i++)
        wxYield();
    EXPECT_EQ(m_pFrame, wxWindow::FindFocus());
}
