// The window placement kept in the profile: its 44-byte record, and when it is applied.
#include "AppTestSupport.h"
#include "Profile.h"
#include "WindowPlacement.h"

#include <wx/frame.h>

namespace
{
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
    WINDOWPLACEMENT wp;
    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.SetNormalRect(wxRect(10, 20, 800, 600));
    const std::array<uint8_t, 44> expected = {
        0x2C, 0,    0,    0,    0,    0,    0,    0,    0x03, 0,    0, 0, // length, flags, show
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                   // minimized position
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,                   // maximized position
        0x0A, 0,    0,    0,    0x14, 0,    0,    0,    0x2A, 0x03, 0, 0,
        0x6C, 0x02, 0,    0, // normal rectangle
    };
    EXPECT_EQ(expected, wp.ToBytes());
    const WINDOWPLACEMENT back = WINDOWPLACEMENT::FromBytes(expected.data());
    EXPECT_EQ(expected, back.ToBytes());
    EXPECT_EQ(wxRect(10, 20, 800, 600), back.GetNormalRect());
}

// Maximized comes back maximized; minimized, and anything else, as a normal window.
TEST(PlacementRecordTest, OnlyMaximizedStaysOtherStatesRestore)
{
    for (uint32_t nStored : {0u, 1u, 2u, 3u, 9u, 0xFFFFFFFFu})
        EXPECT_EQ(nStored == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_RESTORE,
                  RestoredShowCmd(nStored))
            << nStored;
}

TEST_F(PlacementTest, OnlyA44ByteValueIsApplied)
{
    WINDOWPLACEMENT wp;
    wp.SetNormalRect(wxRect(120, 90, 420, 310));
    for (size_t nBytes : {43u, 44u, 45u})
    {
        m_pFrame->SetSize(wxRect(50, 40, 300, 200));
        const auto bytes = wp.ToBytes();
        std::vector<uint8_t> stored(bytes.begin(), bytes.end());
        stored.resize(nBytes, 0);
        ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", stored.data(), nBytes));
        EXPECT_EQ(nBytes == 44, RestoreWindowPlacement("Test", m_pFrame)) << nBytes;
        EXPECT_EQ(nBytes == 44 ? wp.GetNormalRect() : wxRect(50, 40, 300, 200), m_pFrame->GetRect())
            << nBytes;
    }
    EXPECT_FALSE(RestoreWindowPlacement("Nothing", m_pFrame));
    EXPECT_FALSE(RestoreWindowPlacement("Test", nullptr));
}

// Saving writes 44 bytes over a value of any other length.
TEST_F(PlacementTest, SaveReplacesAValueOfAnotherLength)
{
    SaveWindowPlacement("Test", nullptr);
    wxMemoryBuffer buf;
    EXPECT_FALSE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    const std::vector<uint8_t> other(45, 1);
    ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", other.data(), other.size()));
    m_pFrame->SetSize(wxRect(70, 60, 350, 250));
    SaveWindowPlacement("Test", m_pFrame);
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    ASSERT_EQ(44u, buf.GetDataLen());
    const WINDOWPLACEMENT wp =
        WINDOWPLACEMENT::FromBytes(static_cast<const uint8_t*>(buf.GetData()));
    EXPECT_EQ(44u, wp.length);
    EXPECT_EQ(uint32_t(SW_SHOWNORMAL), wp.showCmd);
    EXPECT_EQ(wxRect(70, 60, 350, 250), wp.GetNormalRect());
}
