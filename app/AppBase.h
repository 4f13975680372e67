// The maker's common application base: names the per-user profile after the company,
// sets up the component layer, measures the physical screen and offers the web-update
// hook. It also owns the document manager, as the framework's application object does.
#pragma once

#include <wx/app.h>

#include <cstdint>

class wxDocManager;
class wxDocTemplate;

// Status of the component layer's start, negative on failure.
typedef int32_t HRESULT;

struct CScreenCaps
{
    double m_dPixelsX = 96; // logical pixels per inch
    double m_dPixelsY = 96;
    double m_dWidth = 1024; // pixels
    double m_dHeight = 768;
};

// Pixels per inch of the physical screen: the logical resolution unless the machine's
// settings give the screen's size in millimetres.
void ComputePixelsPerInch(const CScreenCaps& caps, double& dPerInchX, double& dPerInchY);

class CAppBase : public wxApp
{
public:
    CAppBase();
    ~CAppBase() override;

    bool OnInit() override;
    int OnExit() override;

    virtual bool InitInstance();
    virtual int ExitInstance();
    // The web-update hook, run at the end of start-up when the profile's
    // "InternetOptions"/"DoWebUpdate" is non-zero; 1 when RunWebUpdate returned non-zero.
    virtual int RunWebUpdateIfEnabled();
    // Calls the web-update library's entry once; always 0.
    virtual int RunWebUpdate();

    void ComputeScreenMetrics(const CScreenCaps& caps)
    {
        ComputePixelsPerInch(caps, m_dPixelsPerInchX, m_dPixelsPerInchY);
    }

    wxDocManager* GetDocManager() const { return m_pDocManager; }

    double m_dPixelsPerInchX = 0;
    double m_dPixelsPerInchY = 0;

protected:
    // Opens the per-user profile under the company's folder.
    void SetRegistryKey(const wxString& strCompany);
    // Nothing to start on this platform; kept so that a failing start ends the program.
    virtual HRESULT CoInitialize();
    virtual void CoUninitialize();
    virtual CScreenCaps GetScreenCaps() const;

    // Creates the document manager with a recent-file list of nMaxMRU entries, read
    // from the profile.
    void LoadStdProfileSettings(int nMaxMRU);
    void SaveStdProfileSettings();
    void AddDocTemplate(wxDocTemplate* pTemplate);

    wxDocManager* m_pDocManager = nullptr;

private:
    bool m_bComInitialized = false;
};
