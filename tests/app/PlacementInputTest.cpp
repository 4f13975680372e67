// Stored placements of any content come back on the screen at a sane size; a window never
// shown leaves the stored placement alone.
#include "AppTestSupport.h"
#include "Profile.h"
#include "WindowPlacement.h"

#include <wx/display.h>
#include <wx/frame.h>

#include <climits>

namespace
{
using Edges = std::array<int32_t, 4>; // left, top, right, bottom
const std::pair<const char*, Edges> kStored[] = {
    {"OnScreen", {120, 90, 540, 400}},
    {"WholeIntRange", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
    {"TwoBillionPixels", {0, 0, 2000000000, 2000000000}},
    {"OffEveryScreen", {-50000, -50000, -49600, -49700}},
    {"PartlyOff", {1200, 900, 1700, 1300}},
    {"Inverted", {500, 400, 100, 50}},
};

class PlacementInputTest : public ::testing::TestWithParam<std::pair<const char*, Edges>>
{
protected:
    void SetUp() override
    {
        ResetProfile();
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "placement", wxPoint(50, 40), wxSize(300, 200));
        WINDOWPLACEMENT wp;
        wp.showCmd = SW_SHOWMAXIMIZED;
        std::copy_n(GetParam().second.begin(), 4, wp.rcNormalPosition);
        m_stored = wp.ToBytes();
        ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", m_stored.data(), 44));
        ASSERT_TRUE(RestoreWindowPlacement("Test", m_pFrame));
    }
    void TearDown() override
    {
        m_pFrame->Destroy();
        PumpEvents();
    }
    std::array<uint8_t, 44> Saved()
    {
        SaveWindowPlacement("Test", m_pFrame);
        wxMemoryBuffer buf;
        EXPECT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
        std::array<uint8_t, 44> bytes{};
        std::copy_n(static_cast<uint8_t*>(buf.GetData()), std::min<size_t>(44, buf.GetDataLen()), bytes.begin());
        return bytes;
    }

    wxFrame* m_pFrame = nullptr;
    std::array<uint8_t, 44> m_stored{};
};

// A start that fails before its window is shown keeps what was stored; once shown, the
// window lies within the screen's work area, at least 200 x 150, and is saved as it is.
TEST_P(PlacementInputTest, ComesBackOnScreenAtASaneSize)
{
    EXPECT_EQ(m_stored, Saved());
    m_pFrame->Show();
    PumpEvents();
    const wxRect rect = m_pFrame->GetRect();
    EXPECT_TRUE(wxDisplay(0u).GetClientArea().Contains(rect));
    EXPECT_TRUE(rect.width >= 200 && rect.height >= 150);
    EXPECT_TRUE(GetParam().first != kStored[0].first || rect == wxRect(120, 90, 420, 310));
    EXPECT_EQ(rect, WINDOWPLACEMENT::FromBytes(Saved().data()).GetNormalRect());
}

INSTANTIATE_TEST_SUITE_P(Stored, PlacementInputTest, ::testing::ValuesIn(kStored),
                         [](const auto& info) { return std::string(info.param.first); });
} // namespace
