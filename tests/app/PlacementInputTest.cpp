// Stored placements of any content: the window comes back on the screen at a sane size,
// and a window never shown leaves the stored placement alone.
#include "AppTestSupport.h"
#include "Profile.h"
#include "WindowPlacement.h"

#include <wx/display.h>
#include <wx/frame.h>

#include <climits>

namespace
{
struct StoredRect
{
    const char* pszName;
    int32_t edges[4]; // left, top, right, bottom
    bool bKeptAsIs;
};

const StoredRect kRects[] = {
    {"OnScreen", {120, 90, 540, 400}, true},
    {"WholeIntRange", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false},
    {"TwoBillionPixels", {0, 0, 2000000000, 2000000000}, false},
    {"OffEveryScreen", {-50000, -50000, -49600, -49700}, false},
    {"PartlyOff", {1200, 900, 1700, 1300}, false},
    {"Inverted", {500, 400, 100, 50}, false},
    {"Empty", {0, 0, 0, 0}, false},
};

void PrintTo(const StoredRect& rect, std::ostream* pOut)
{
    *pOut << rect.pszName;
}

class PlacementInputTest : public ::testing::TestWithParam<StoredRect>
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
    static std::array<uint8_t, 44> Store(const StoredRect& stored, uint32_t nShowCmd)
    {
        WINDOWPLACEMENT wp;
        wp.showCmd = nShowCmd;
        std::copy(std::begin(stored.edges), std::end(stored.edges), wp.rcNormalPosition);
        const auto bytes = wp.ToBytes();
        EXPECT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", bytes.data(), 44));
        return bytes;
    }

    wxFrame* m_pFrame = nullptr;
};

TEST_P(PlacementInputTest, ComesBackOnScreenAtASaneSize)
{
    const StoredRect& stored = GetParam();
    Store(stored, SW_SHOWNORMAL);
    ASSERT_TRUE(RestoreWindowPlacement("Test", m_pFrame));
    m_pFrame->Show();
    PumpEvents();
    const wxRect rect = m_pFrame->GetRect();
    const wxRect area = wxDisplay(0u).GetClientArea();
    EXPECT_TRUE(area.Contains(rect)) << rect.x << "," << rect.y << " " << rect.width << "x"
                                     << rect.height;
    EXPECT_GE(rect.width, 200);
    EXPECT_GE(rect.height, 150);
    if (stored.bKeptAsIs)
    {
        EXPECT_EQ(wxRect(120, 90, 420, 310), rect);
    }
    SaveWindowPlacement("Test", m_pFrame);
    wxMemoryBuffer buf;
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    EXPECT_EQ(rect, WINDOWPLACEMENT::FromBytes(static_cast<const uint8_t*>(buf.GetData()))
                        .GetNormalRect());
}

// A start that fails before its window is shown keeps what was stored, maximized included.
TEST_P(PlacementInputTest, NeverShownSavesNothing)
{
    const auto stored = Store(GetParam(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(RestoreWindowPlacement("Test", m_pFrame));
    EXPECT_FALSE(m_pFrame->IsMaximized());
    SaveWindowPlacement("Test", m_pFrame);
    wxMemoryBuffer buf;
    ASSERT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
    ASSERT_EQ(44u, buf.GetDataLen());
    EXPECT_TRUE(std::equal(stored.begin(), stored.end(), static_cast<uint8_t*>(buf.GetData())));
}

INSTANTIATE_TEST_SUITE_P(Stored, PlacementInputTest, ::testing::ValuesIn(kRects),
                         [](const auto& info) { return std::string(info.param.pszName); });
} // namespace
