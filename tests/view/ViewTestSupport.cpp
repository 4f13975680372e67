#include "ViewTestSupport.h"

#include "HexParser.h"

void CDocViewTest::SetUp()
{
    ResetProfile();
}

void CDocViewTest::TearDown()
{
    if (m_pFrame)
        m_pFrame->Destroy();
    PumpEvents();
    delete m_pManager;
}

void CDocViewTest::Start(const std::string& strPath)
{
    m_pManager = new CSingleDocManager;
    m_pTemplate = new CSingleDocTemplate(m_pManager, CLASSINFO(CCorvaneDoc), CLASSINFO(CMainFrame),
                                         CLASSINFO(CCorvaneView));
    m_pDoc = wxDynamicCast(m_pTemplate->OpenDocumentFile(strPath), CCorvaneDoc);
    ASSERT_NE(nullptr, m_pDoc);
    m_pView = wxDynamicCast(m_pDoc->GetFirstView(), CCorvaneView);
    ASSERT_NE(nullptr, m_pView);
    m_pFrame = m_pTemplate->GetFrame();
    m_pFrame->Show();
    PumpEvents();
}

void CDocViewTest::Command(int nId)
{
    wxCommandEvent event(wxEVT_MENU, nId);
    m_pFrame->GetEventHandler()->ProcessEvent(event);
}

bool CDocViewTest::IsEnabled(int nId)
{
    wxUpdateUIEvent event(nId);
    m_pFrame->GetEventHandler()->ProcessEvent(event);
    return !event.GetSetEnabled() || event.GetEnabled();
}

std::vector<uint8_t> CDocViewTest::SegmentBytes(int nIndex) const
{
    const MemorySegment* pSeg = m_pDoc->GetSegment(nIndex);
    return std::vector<uint8_t>(pSeg->m_pBytes, pSeg->m_pBytes + pSeg->m_nSize);
}

std::string HexText(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& segments)
{
    MemoryImage image;
    for (const auto& [dwAddress, bytes] : segments)
        image.AddBytes(dwAddress, bytes.data(), int(bytes.size()));
    image.Coalesce();
    image.Trim();
    return FormatHexText(image);
}
