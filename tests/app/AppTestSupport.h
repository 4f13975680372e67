// The application tests' own application: the platform hooks replaced, and the program
// started only by the tests that mean to.
#pragma once

#include "CorvaneApp.h"
#include "GuiTestSupport.h"

class CTestApp : public CCorvaneApp
{
public:
    HRESULT m_hrCoInitialize = 0;
    int m_nWebUpdateCalls = 0;
    CScreenCaps m_caps;
    CCommandLineInfo m_cmdLine;

    bool OnInit() override { return true; }
    int OnExit() override { return 0; }
    int RunWebUpdateIfEnabled() override
    {
        m_nWebUpdateCalls++;
        return CCorvaneApp::RunWebUpdateIfEnabled();
    }

protected:
    HRESULT CoInitialize() override { return m_hrCoInitialize; }
    CScreenCaps GetScreenCaps() const override { return m_caps; }
    bool ParseCommandLine(CCommandLineInfo& info) override
    {
        info = m_cmdLine;
        return true;
    }
};

inline CTestApp& TestApp()
{
    return static_cast<CTestApp&>(*wxTheApp);
}
