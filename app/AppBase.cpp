#include "AppBase.h"

#include "DocTemplate.h"
#include "Profile.h"
#include "RegistryKey.h"
#include "Resource.h"

#include <wx/config.h>
#include <wx/display.h>
#include <wx/msgdlg.h>

namespace
{
constexpr double kMmPerInch = 25.4;
// The path changer takes the part before the last slash as the group.
const char* const kRecentFileSection = "/Recent File List/";

// A size of 0 would make the resolution unbounded: it counts as absent.
void ReadScreenSize(CRegistryKey& key, const char* pszValue, double& dMm)
{
    DWORD dwValue = 0;
    if (key.QueryDWord(dwValue, pszValue) == ERROR_SUCCESS && dwValue != 0)
        dMm = static_cast<double>(dwValue);
}
} // namespace

CAppBase::CAppBase()
{
    SetAppName(CorvaneRes::kAppName);
}

CAppBase::~CAppBase()
{
    delete m_pDocManager;
}

bool CAppBase::OnInit()
{
    if (InitInstance())
        return true;
    ExitInstance();
    return false;
}

int CAppBase::OnExit()
{
    return ExitInstance();
}

bool CAppBase::InitInstance()
{
    SetRegistryKey(CorvaneRes::kCompany);
    if (CoInitialize() < 0)
    {
        wxMessageBox("Error : CoInitialize(NULL)", "What ?", wxOK, nullptr);
        return false;
    }
    m_bComInitialized = true;
    ComputeScreenMetrics(GetScreenCaps());
    RunWebUpdateIfEnabled();
    return true;
}

int CAppBase::ExitInstance()
{
    if (m_bComInitialized)
        CoUninitialize();
    m_bComInitialized = false;
    SaveStdProfileSettings();
    delete m_pDocManager;
    m_pDocManager = nullptr;
    return wxApp::OnExit();
}

void ComputePixelsPerInch(const CScreenCaps& caps, double& dPerInchX, double& dPerInchY)
{
    double dWidthMm = kMmPerInch * caps.m_dWidth / caps.m_dPixelsX;
    double dHeightMm = kMmPerInch * caps.m_dHeight / caps.m_dPixelsY;
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software", KEY_ALL_ACCESS) == ERROR_SUCCESS)
    {
        ReadScreenSize(key, "ScreenX [mm]", dWidthMm);
        ReadScreenSize(key, "ScreenY [mm]", dHeightMm);
        key.Close();
    }
    dPerInchX = caps.m_dWidth / (dWidthMm / kMmPerInch);
    dPerInchY = caps.m_dHeight / (dHeightMm / kMmPerInch);
}

void CAppBase::SetRegistryKey(const wxString& strCompany)
{
    SetVendorName(strCompany);
    OpenProfile(strCompany, GetAppName());
}

HRESULT CAppBase::CoInitialize()
{
    return 0;
}

void CAppBase::CoUninitialize() {}

CScreenCaps CAppBase::GetScreenCaps() const
{
    CScreenCaps caps;
    const wxDisplay display;
    const wxSize ppi = display.GetPPI();
    const wxRect rect = display.GetGeometry();
    if (ppi.x > 0 && ppi.y > 0)
    {
        caps.m_dPixelsX = ppi.x;
        caps.m_dPixelsY = ppi.y;
    }
    if (rect.width > 0 && rect.height > 0)
    {
        caps.m_dWidth = rect.width;
        caps.m_dHeight = rect.height;
    }
    return caps;
}

void CAppBase::LoadStdProfileSettings(int nMaxMRU)
{
    delete m_pDocManager;
    m_pDocManager = new CSingleDocManager(nMaxMRU);
    if (wxConfigBase* pConfig = wxConfigBase::Get(false))
    {
        wxConfigPathChanger section(pConfig, kRecentFileSection);
        m_pDocManager->FileHistoryLoad(*pConfig);
    }
}

void CAppBase::SaveStdProfileSettings()
{
    wxConfigBase* pConfig = wxConfigBase::Get(false);
    if (m_pDocManager && pConfig)
    {
        {
            wxConfigPathChanger section(pConfig, kRecentFileSection);
            m_pDocManager->FileHistorySave(*pConfig);
        }
        pConfig->Flush();
    }
}

void CAppBase::AddDocTemplate(wxDocTemplate* pTemplate)
{
    if (m_pDocManager && pTemplate->GetDocumentManager() != m_pDocManager)
        m_pDocManager->AssociateTemplate(pTemplate);
}
