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
        // only a window that was shown has a placement to save
        RestoreWindowPlacement("Test", m_pFrame);
        m_pFrame->Show();
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        PumpEvents();
    }

    wxFrame* m_pFrame = nullptr;
};
} // namespace

// length, flags, show command, minimized and maximized positions, normal rectangle
TEST(PlacementRecordTest, ElevenLittleEndianFields)
{
    WINDOWPLACEMENT wp;
    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.SetNormalRect(wxRect(10, 20, 800, 600));
    std::array<uint8_t, 44> expected = {};
    const int32_t kFields[] = {44, 0, 3, -1, -1, -1, -1, 10, 20, 810, 620};
    for (size_t i = 0; i < 44; i++)
        expected[i] = static_cast<uint8_t>(kFields[i / 4] >> (8 * (i % 4)));
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

// Saving writes 44 bytes over a value of any other length; only a value of exactly 44
// bytes is applied.
TEST_F(PlacementTest, OnlyA44ByteValueIsApplied)
{
    SaveWindowPlacement("Test", nullptr);
    EXPECT_FALSE(RestoreWindowPlacement("Test", m_pFrame));
    const std::vector<uint8_t> other(45, 1);
    ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", other.data(), other.size()));
    const wxRect stored(120, 90, 420, 310);
    m_pFrame->SetSize(stored);
    SaveWindowPlacement("Test", m_pFrame);
    wxMemoryBuffer buf;
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    ASSERT_EQ(44u, buf.GetDataLen());
    const auto* pSaved = static_cast<const uint8_t*>(buf.GetData());
    EXPECT_EQ(uint32_t(SW_SHOWNORMAL), WINDOWPLACEMENT::FromBytes(pSaved).showCmd);
    for (size_t nBytes : {43u, 44u, 45u})
    {
        std::vector<uint8_t> value(pSaved, pSaved + 44);
        value.resize(nBytes, 0);
        ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", value.data(), nBytes));
        m_pFrame->SetSize(wxRect(50, 40, 300, 200));
        EXPECT_EQ(nBytes == 44, RestoreWindowPlacement("Test", m_pFrame)) << nBytes;
        EXPECT_EQ(nBytes == 44 ? stored : wxRect(50, 40, 300, 200), m_pFrame->GetRect()) << nBytes;
    }
    EXPECT_FALSE(RestoreWindowPlacement("Test", nullptr));
}
