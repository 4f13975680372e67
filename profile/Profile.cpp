#include "Profile.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace
{
wxString EntryKey(const wxString& strSection, const wxString& strEntry)
{
    return "/" + strSection + "/" + strEntry;
}

bool WriteThrough(wxConfigBase* pConfig, bool bWritten)
{
    return bWritten && pConfig->Flush();
}

// A profile the user made read-only, or something else in its place, is left as it is.
bool MayReplace(const wxString& strPath)
{
    struct stat st;
    if (::stat(strPath.fn_str(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(strPath.fn_str(), W_OK) == 0;
}

// A profile that cannot be written keeps its settings for this run only: writing never shows
// a message, so neither a change nor the end of the program waits for the user.
class CProfileFile : public wxFileConfig
{
public:
    CProfileFile(const wxString& strApp, const wxString& strCompany, const wxString& strPath)
        : wxFileConfig(strApp, strCompany, strPath, wxString(), wxCONFIG_USE_LOCAL_FILE),
          m_strPath(strPath)
    {
        // every change is written at once; the base's write at its end would ask no one
        DisableAutoSave();
    }

    bool Flush(bool bCurrentOnly = false) override
    {
        wxLogNull noMessages;
        return MayReplace(m_strPath) && wxFileConfig::Flush(bCurrentOnly);
    }

private:
    wxString m_strPath;
};
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
    auto* pConfig = new CProfileFile(strApp, strCompany, strPath);
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
