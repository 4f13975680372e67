// The application tests' own application: the platform hooks replaced.
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

CTestApp& TestApp();
