#include "Profile.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <climits>

namespace
{
wxString EntryKey(const wxString& strSection, const wxString& strEntry)
{
    return "/" + strSection + "/" + strEntry;
}

// A profile the user may not write keeps its settings for this run only, without a
// message at every change.
bool WriteThrough(wxConfigBase* pConfig, bool bWritten)
{
    wxLogNull noMessages;
    return bWritten && pConfig->Flush();
}
} // namespace

wxString GetProfilePath(const wxString& strCompany, const wxString& strApp)
{
    wxString strBase;
    if (!wxGetEnv("XDG_CONFIG_HOME", &strBase) || !wxIsAbsolutePath(strBase))
        strBase = wxFileName(wxGetHomeDir(), ".config").GetFullPath();
    wxFileName name(strBase, strApp + ".conf");
    name.AppendDir(strCompany);
    return name.GetFullPath();
}

wxFileConfig* OpenProfile(const wxString& strCompany, const wxString& strApp)
{
    const wxString strPath = GetProfilePath(strCompany, strApp);
    wxFileName::Mkdir(wxFileName(strPath).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    // a damaged profile gives what can be read of it and defaults for the rest, silently:
    // its parser would otherwise assert on a line with an empty name
    wxLogNull noMessages;
    const wxAssertHandler_t pfnAssert = wxSetAssertHandler(nullptr);
    auto* pConfig =
        new wxFileConfig(strApp, strCompany, strPath, wxString(), wxCONFIG_USE_LOCAL_FILE);
    wxSetAssertHandler(pfnAssert);
    delete wxConfigBase::Set(pConfig);
    return pConfig;
}

int GetProfileInt(const wxString& strSection, const wxString& strEntry, int nDefault)
{
    wxConfigBase* pConfig = wxConfigBase::Get(false);
    long nValue = nDefault;
    if (pConfig == nullptr || !pConfig->Read(EntryKey(strSection, strEntry), &nValue))
        return nDefault;
    // an edited profile may hold any number; one an int cannot hold counts as absent
    return nValue >= INT_MIN && nValue <= INT_MAX ? static_cast<int>(nValue) : nDefault;
}

bool WriteProfileInt(const wxString& strSection, const wxString& strEntry, int nValue)
{
    wxConfigBase* pConfig = wxConfigBase::Get(false);
    return pConfig && WriteThrough(pConfig, pConfig->Write(EntryKey(strSection, strEntry),
                                                           static_cast<long>(nValue)));
}

bool GetProfileBinary(const wxString& strSection, const wxString& strEntry, wxMemoryBuffer& buf)
{
    wxConfigBase* pConfig = wxConfigBase::Get(false);
    return pConfig && pConfig->Read(EntryKey(strSection, strEntry), &buf);
}

bool WriteProfileBinary(const wxString& strSection, const wxString& strEntry, const void* pData,
                        size_t nBytes)
{
    wxConfigBase* pConfig = wxConfigBase::Get(false);
    if (!pConfig)
        return false;
    wxMemoryBuffer buf;
    buf.AppendData(pData, nBytes);
    return WriteThrough(pConfig, pConfig->Write(EntryKey(strSection, strEntry), buf));
}
