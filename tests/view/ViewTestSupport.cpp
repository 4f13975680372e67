#include "ViewTestSupport.h"

#include "HexReader.h"
#include "HexWriter.h"

void CDocViewTest::TearDown()
{
    if (m_pFrame)
        m_pFrame->Destroy();
    PumpEvents();
    delete m_pManager;
    m_pFrame = nullptr;
    m_pManager = nullptr;
}

void CDocViewTest::Start(const std::string& strPath)
{
    m_pManager = new CSingleDocManager;
    auto* pTemplate = new CSingleDocTemplate(m_pManager, CLASSINFO(CCorvaneDoc),
                                             CLASSINFO(CMainFrame), CLASSINFO(CCorvaneView));
    m_pDoc = wxDynamicCast(pTemplate->OpenDocumentFile(strPath), CCorvaneDoc);
    ASSERT_NE(nullptr, m_pDoc);
    m_pView = wxDynamicCast(m_pDoc->GetFirstView(), CCorvaneView);
    ASSERT_NE(nullptr, m_pView);
    m_pFrame = pTemplate->GetFrame();
    m_pFrame->Show();
    PumpEvents();
}

void CDocViewTest::StartOn(const std::string& strName, const SegmentList& segments)
{
    m_dir.Write(strName, HexText(segments));
    Start(m_dir.File(strName));
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

std::string HexText(const SegmentList& segments)
{
    MemoryImage image;
    for (const auto& [dwAddress, bytes] : segments)
        image.AddBytes(dwAddress, bytes.data(), int(bytes.size()));
    image.Coalesce();
    return FormatHexText(image);
}

wxApp* CreateTestApp()
{
    return new wxApp;
}
