// The per-user profile: one settings file per user, sections as groups, written through
// at once so that a value survives however the program ends.
#pragma once

#include <wx/buffer.h>
#include <wx/string.h>

class wxFileConfig;

// $XDG_CONFIG_HOME/<company>/<application>.conf, ~/.config when the variable is unset.
wxString GetProfilePath(const wxString& strCompany, const wxString& strApp);
// Opens (and creates the folder of) the profile and makes it the process's settings.
wxFileConfig* OpenProfile(const wxString& strCompany, const wxString& strApp);

int GetProfileInt(const wxString& strSection, const wxString& strEntry, int nDefault);
bool WriteProfileInt(const wxString& strSection, const wxString& strEntry, int nValue);
// False when there is no profile or no such value.
bool GetProfileBinary(const wxString& strSection, const wxString& strEntry, wxMemoryBuffer& buf);
bool WriteProfileBinary(const wxString& strSection, const wxString& strEntry, const void* pData,
                        size_t nBytes);
