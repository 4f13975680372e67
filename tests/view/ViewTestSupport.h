// A document, its view and the main frame as the program builds them, on a file.
#pragma once

#include "CorvaneDoc.h"
#include "CorvaneView.h"
#include "DocTemplate.h"
#include "GuiTestSupport.h"
#include "MainFrame.h"

// The control's private copy of the bytes and its address settings, for tests only.
struct CHexEditCtrlProbe
{
    explicit CHexEditCtrlProbe(CHexEditCtrl& ctrl) : c(ctrl) {}
    CHexEditCtrl& c;

    unsigned char* Data() { return c.m_pData; }
    int WordLen() const { return c.m_nWordLen; }
    int BaseAddress() const { return c.m_nBaseAddress; }
    std::vector<uint8_t> Bytes() const
    {
        return std::vector<uint8_t>(c.m_pData, c.m_pData + c.m_nDataLen);
    }
};

class CDocViewTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the file (an empty path makes a new document) the way the program does.
    void Start(const std::string& strPath);
    // Sends a command or its update the way a toolbar button does, through the frame.
    void Command(int nId);
    bool IsEnabled(int nId);

    CHexEditCtrl& Ctrl() { return m_pView->m_hexCtrl; }
    CHexEditCtrlProbe Probe() { return CHexEditCtrlProbe(m_pView->m_hexCtrl); }
    std::vector<uint8_t> SegmentBytes(int nIndex) const;

    CTempDir m_dir;
    CSingleDocManager* m_pManager = nullptr;
    CSingleDocTemplate* m_pTemplate = nullptr;
    CCorvaneDoc* m_pDoc = nullptr;
    CCorvaneView* m_pView = nullptr;
    CMainFrame* m_pFrame = nullptr;
};

// Intel HEX text of the given segments, as the program writes it.
std::string HexText(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& segments);
