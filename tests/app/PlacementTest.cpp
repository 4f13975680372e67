// The window placement kept in the profile: its 44-byte record, and stored placements of
// any content coming back on the screen at a sane size.
#include "AppTestSupport.h"
#include "WindowPlacement.h"

#include <wx/display.h>
#include <wx/frame.h>

#include <sstream>

namespace
{
using Edges = std::array<int32_t, 4>; // left, top, right, bottom

class PlacementStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetProfile();
        m_pFrame = new wxFrame(nullptr, wxID_ANY, "placement", wxPoint(50, 40), wxSize(300, 200));
    }
    void TearDown() override { m_pFrame->Destroy(), PumpEvents(); }
    static void Store(const uint8_t* pValue, size_t nSize)
    {
        ASSERT_TRUE(WriteProfileBinary("WindowPlacement", "Test-Place", pValue, nSize));
    }
    std::vector<uint8_t> Saved(bool bWayland = false)
    {
        SaveWindowPlacement("Test", m_pFrame, bWayland);
        wxMemoryBuffer buf;
        EXPECT_TRUE(GetProfileBinary("WindowPlacement", "Test-Place", buf));
        const auto* p = static_cast<const uint8_t*>(buf.GetData());
        return {p, p + buf.GetDataLen()};
    }

    wxFrame* m_pFrame = nullptr;
};

class PlacementTest : public PlacementStoreTest, public ::testing::WithParamInterface<CRow>
{
};

// How a stored placement of 120, 90, 420 x 310 comes back over a frame at 50, 40, 300 x 200,
// and what is saved once the frame was moved and resized to 200, 150, 500 x 350.
struct CSession
{
    bool m_bWayland;
    size_t m_nStoredBytes; // 0: nothing stored
    wxRect m_rcShown;
    Edges m_saved;
};

class PlacementSessionTest : public PlacementStoreTest,
                             public ::testing::WithParamInterface<CCase<CSession>>
{
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
    // maximized comes back maximized; minimized, and anything else, as a normal window
    for (uint32_t nStored : {0u, 1u, 2u, 3u, 9u, 0xFFFFFFFFu})
        EXPECT_EQ(nStored == 3 ? SW_SHOWMAXIMIZED : SW_RESTORE, RestoredShowCmd(nStored));
}

// Saving writes 44 bytes over a value of any other length; only a value of exactly 44
// bytes is applied.
TEST_F(PlacementStoreTest, OnlyA44ByteValueIsApplied)
{
    EXPECT_FALSE(RestoreWindowPlacement("Test", m_pFrame)); // nothing stored yet
    m_pFrame->Show();
    Store(std::vector<uint8_t>(45, 1).data(), 45);
    m_pFrame->SetSize(wxRect(120, 90, 420, 310));
    std::vector<uint8_t> saved = Saved();
    ASSERT_EQ(44u, saved.size());
    for (size_t nBytes : {43u, 45u, 44u})
    {
        saved.resize(nBytes, 0);
        Store(saved.data(), nBytes);
        m_pFrame->SetSize(wxRect(50, 40, 300, 200));
        EXPECT_EQ(nBytes == 44, RestoreWindowPlacement("Test", m_pFrame)) << nBytes;
    }
    EXPECT_EQ(wxRect(120, 90, 420, 310), m_pFrame->GetRect());
}

// A start that fails before its window is shown keeps what was stored; once shown, the
// window lies within the screen's work area, at least 200 x 150, and is saved as it is.
TEST_P(PlacementTest, ComesBackOnScreenAtASaneSize)
{
    WINDOWPLACEMENT wp;
    std::istringstream in(GetParam().at(1));
    for (int32_t& nEdge : wp.rcNormalPosition)
        in >> nEdge;
    const auto stored = wp.ToBytes();
    Store(stored.data(), 44);
    ASSERT_TRUE(RestoreWindowPlacement("Test", m_pFrame));
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.end()), Saved());
    m_pFrame->Show();
    PumpEvents();
    const wxRect rect = m_pFrame->GetRect();
    EXPECT_TRUE(wxDisplay(0u).GetClientArea().Contains(rect));
    EXPECT_TRUE(rect.width >= 200 && rect.height >= 150);
    EXPECT_TRUE(GetParam().at(0) != "OnScreen" || rect == wxRect(120, 90, 420, 310));
    EXPECT_EQ(rect, WINDOWPLACEMENT::FromBytes(Saved().data()).GetNormalRect());
}

INSTANTIATE_TEST_SUITE_P(Stored, PlacementTest,
                         ::testing::ValuesIn(ReadTable("tables/placements.txt")), CRowName());

// A Wayland compositor ignores moves and reports (0, 0): there the size and state are
// restored and saved, and the stored position stays for the next X11 session.
TEST_P(PlacementSessionTest, WaylandKeepsTheStoredPosition)
{
    const CSession& session = GetParam().m_value;
    WINDOWPLACEMENT wp;
    wp.SetNormalRect(wxRect(120, 90, 420, 310));
    const auto stored = wp.ToBytes();
    if (session.m_nStoredBytes != 0)
        Store(stored.data(), session.m_nStoredBytes);
    RestoreWindowPlacement("Test", m_pFrame, session.m_bWayland);
    m_pFrame->Show();
    PumpEvents();
    EXPECT_EQ(session.m_rcShown, m_pFrame->GetRect());
    m_pFrame->SetSize(wxRect(200, 150, 500, 350));
    PumpEvents();
    const auto saved = WINDOWPLACEMENT::FromBytes(Saved(session.m_bWayland).data());
    EXPECT_EQ(session.m_saved, std::to_array(saved.rcNormalPosition));
}

INSTANTIATE_TEST_SUITE_P(
    Session, PlacementSessionTest,
    ::testing::Values(
        CCase<CSession>{"X11", {false, 44, {120, 90, 420, 310}, {200, 150, 700, 500}}},
        CCase<CSession>{"Wayland", {true, 44, {50, 40, 420, 310}, {120, 90, 620, 440}}},
        CCase<CSession>{"WaylandFirstRun", {true, 0, {50, 40, 300, 200}, {200, 150, 700, 500}}},
        CCase<CSession>{"WaylandShortValue", {true, 43, {50, 40, 300, 200}, {200, 150, 700, 500}}}),
    CCaseName());
