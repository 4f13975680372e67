#include "AppTestSupport.h"
#include "Profile.h"
#include "WindowPlacement.h"

#include <wx/frame.h>

namespace
{
WINDOWPLACEMENT MakePlacement(uint32_t nShowCmd, const wxRect& rect)
{
    WINDOWPLACEMENT wp;
    wp.showCmd = nShowCmd;
    wp.SetNormalRect(rect);
    return wp;
}

void StorePlacement(const char* pszEntry, const WINDOWPLACEMENT& wp, size_t nBytes)
{
    auto bytes = wp.ToBytes();
    std::vector<uint8_t> stored(bytes.begin(), bytes.end());
    stored.resize(nBytes, 0);
    ASSERT_TRUE(WriteProfileBinary("WindowPlacement", pszEntry, stored.data(), stored.size()));
}

class PlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "placement", wxPoint(50, 40), wxSize(300, 200));
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        PumpEvents();
    }

    wxFrame* m_pFrame = nullptr;
};
} // namespace

TEST(PlacementRecordTest, ElevenLittleEndianFields)
{
    const WINDOWPLACEMENT wp = MakePlacement(SW_SHOWMAXIMIZED, wxRect(10, 20, 800, 600));
    const std::array<uint8_t, 44> expected = {
        0x2C, 0,    0,    0,    0,    0,    0,    0,    0x03, 0,    0, 0, // length, flags, show
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                   // minimized position
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                   // maximized position
        0x0A, 0,    0,    0,    0x14, 0,    0,    0,    0x2A, 0x03, 0, 0,
        0x6C, 0x02, 0,    0, // normal rectangle
    };
    EXPECT_EQ(expected, wp.ToBytes());
    const WINDOWPLACEMENT back = WINDOWPLACEMENT::FromBytes(expected.data());
    EXPECT_EQ(44u, back.length);
    EXPECT_EQ(uint32_t(SW_SHOWMAXIMIZED), back.showCmd);
    EXPECT_EQ(-1, back.ptMinPosition[0]);
    EXPECT_EQ(wxRect(10, 20, 800, 600), back.GetNormalRect());
}

TEST(PlacementRecordTest, OnlyMaximizedStaysOtherStatesRestore)
{
    const struct
    {
        uint32_t nStored;
        uint32_t nApplied;
    } cases[] = {{0, SW_RESTORE},
                 {SW_SHOWNORMAL, SW_RESTORE},
                 {SW_SHOWMINIMIZED, SW_RESTORE},
                 {SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED},
                 {SW_RESTORE, SW_RESTORE},
                 {0xFFFFFFFF, SW_RESTORE}};
    for (const auto& c : cases)
        EXPECT_EQ(c.nApplied, RestoredShowCmd(c.nStored)) << c.nStored;
}

TEST_F(PlacementTest, OnlyA44ByteValueIsApplied)
{
    const wxRect stored(120, 90, 420, 310);
    for (size_t nBytes : {43u, 44u, 45u})
    {
        m_pFrame->SetSize(wxRect(50, 40, 300, 200));
        StorePlacement("Test-Place", MakePlacement(SW_SHOWNORMAL, stored), nBytes);
        EXPECT_EQ(nBytes == 44, RestoreWindowPlacement("Test", m_pFrame)) << nBytes;
        EXPECT_EQ(nBytes == 44 ? stored : wxRect(50, 40, 300, 200), m_pFrame->GetRect()) << nBytes;
    }
}

TEST_F(PlacementTest, MissingValueOrWindowIsNotApplied)
{
    EXPECT_FALSE(RestoreWindowPlacement("Nothing", m_pFrame));
    EXPECT_FALSE(RestoreWindowPlacement("Test", nullptr));
    SaveWindowPlacement("Test", nullptr);
    wxMemoryBuffer buf;
    EXPECT_FALSE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
}

TEST_F(PlacementTest, SaveReplacesAValueOfAnotherLength)
{
    StorePlacement("Test-Place", MakePlacement(SW_SHOWNORMAL, wxRect(1, 2, 3, 4)), 45);
    m_pFrame->SetSize(wxRect(70, 60, 350, 250));
    SaveWindowPlacement("Test", m_pFrame);
    wxMemoryBuffer buf;
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    ASSERT_EQ(44u, buf.GetDataLen());
    const WINDOWPLACEMENT wp =
        WINDOWPLACEMENT::FromBytes(static_cast<const uint8_t*>(buf.GetData()));
    EXPECT_EQ(44u, wp.length);
    EXPECT_EQ(uint32_t(SW_SHOWNORMAL), wp.showCmd);
    EXPECT_EQ(wxRect(70, 60, 350, 250), wp.GetNormalRect());
}
