// A document, its view and the main frame as the program builds them, on a file.
#pragma once

#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "DocTemplate.h"
#include "GuiTestSupport.h"
#include "HexEditCtrlProbe.h"
#include "MainFrame.h"

using SegmentList = std::vector<std::pair<uint32_t, std::vector<uint8_t>>>;

class CDocViewTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetProfile(); }
    void TearDown() override;

    // Opens the file (an empty path makes a new document) the way the program does.
    void Start(const std::string& strPath);
    // Writes the segments as the program does into NAME in the test's folder and opens it.
    void StartOn(const std::string& strName, const SegmentList& segments);
    // Sends a command or its update the way a toolbar button does, through the frame.
    void Command(int nId);
    bool IsEnabled(int nId);

    CHexEditCtrl& Ctrl() { return m_pView->m_hexCtrl; }
    CHexEditCtrlProbe Probe() { return CHexEditCtrlProbe(m_pView->m_hexCtrl); }

    CTempDir m_dir;
    CSingleDocManager* m_pManager = nullptr;
    CCorvaneDoc* m_pDoc = nullptr;
    CCorvaneView* m_pView = nullptr;
    CMainFrame* m_pFrame = nullptr;
};

// Intel HEX text of the given segments, as the program writes it.
std::string HexText(const SegmentList& segments);
