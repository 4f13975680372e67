// The application and view tests' own application: the platform hooks replaced, and the
// program started only by the tests that mean to.
#pragma once

#include "CorvaneApp.h"
#include "GuiTestSupport.h"
#include "HexEditCtrlProbe.h"
#include "HexWriter.h"
#include "MainFrame.h"
#include "Profile.h"
#include "Resource.h"
#include "ShellProbes.h"

#include <unistd.h>

class CTestApp : public CCorvaneApp
{
public:
    CCommandLineInfo m_cmdLine;
    int m_nWebUpdateCalls = 0;

    bool OnInit() override { return true; }
    int OnExit() override { return 0; }
    int RunWebUpdateIfEnabled() override
    {
        return m_nWebUpdateCalls++, CCorvaneApp::RunWebUpdateIfEnabled();
    }

protected:
    CScreenCaps GetScreenCaps() const override { return {}; } // 1024 x 768, 96 per inch
    bool ParseCommandLine(CCommandLineInfo& info) override { return info = m_cmdLine, true; }
};

inline CTestApp& TestApp()
{
    return static_cast<CTestApp&>(*wxTheApp);
}

using SegmentList = std::vector<std::pair<uint32_t, std::vector<uint8_t>>>;

// Intel HEX text of the given segments, as the program writes it.
inline std::string HexText(const SegmentList& segments)
{
    MemoryImage image;
    for (const auto& [dwAddress, bytes] : segments)
        image.AddBytes(dwAddress, bytes.data(), int(bytes.size()));
    image.Coalesce();
    return FormatHexText(image);
}

// The program started as from its command line, with a fresh profile, and ended again.
class CAppRunTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetProfile(), TestApp().m_nWebUpdateCalls = 0; }
    void TearDown() override
    {
        if (Frame())
            Frame()->Close(true);
        PumpEvents();
        TestApp().ExitInstance();
        EXPECT_EQ(0, CountLiveFrames());
    }
    // As "corvane PATH", or "corvane" for ""; a file that blocks ends the test program.
    static bool Start(const std::string& strPath)
    {
        TestApp().m_cmdLine = {strPath.empty() ? CCommandLineInfo::FileNew
                                               : CCommandLineInfo::FileOpen,
                               wxString::FromUTF8(strPath)};
        alarm(20);
        const bool bStarted = TestApp().InitInstance();
        alarm(0);
        return bStarted;
    }
    static CCorvaneDoc* Doc()
    {
        return wxDynamicCast(TestApp().GetDocManager()->GetDocuments().front(), CCorvaneDoc);
    }
    // Writes the segments as the program does into NAME in the test's folder and opens it.
    void StartOn(const std::string& strName, const SegmentList& segments)
    {
        m_dir.Write(strName, HexText(segments));
        ASSERT_TRUE(Start(m_dir.File(strName)));
    }
    static CCorvaneView* View() { return wxDynamicCast(Doc()->GetFirstView(), CCorvaneView); }
    static CMainFrame* Frame() { return TestApp().GetMainFrame(); }
    static CHexEditCtrl& Ctrl() { return CShellProbe::Ctrl(*View()); }
    static CHexEditCtrlProbe Probe() { return CHexEditCtrlProbe(Ctrl()); }
    // Sends a command or its update the way a toolbar button does, through the frame.
    static void Command(int nId)
    {
        wxCommandEvent event(wxEVT_MENU, nId);
        Frame()->GetEventHandler()->ProcessEvent(event);
    }
    static bool IsEnabled(int nId)
    {
        wxUpdateUIEvent event(nId);
        Frame()->GetEventHandler()->ProcessEvent(event);
        return !event.GetSetEnabled() || event.GetEnabled();
    }
    static wxString Title() { return Frame()->GetTitle(); }

    std::string Log() const { return testing::PrintToString(m_log.m_messages); }

    CTempDir m_dir;
    CLogCapture m_log;
};
