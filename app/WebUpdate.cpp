#include "AppBase.h"
#include "Profile.h"
#include "RegFileParser.h"
#include "RegistryKey.h"
#include "WebUpdate.h"

#include <wx/dynlib.h>
#include <wx/log.h>

#include <cstring>

namespace
{
constexpr DWORD kReadBufferSize = 4096;

typedef int (*MirelWebGetInfoProc)();
} // namespace

int CAppBase::RunWebUpdateIfEnabled()
{
    if (GetProfileInt("InternetOptions", "DoWebUpdate", 0) == 0)
        return 0;
    return RunWebUpdate() != 0 ? 1 : 0;
}

// Loads the library from the shared directory, calls its entry once and unloads it again;
// every failure is silent and start-up goes on.
int CAppBase::RunWebUpdate()
{
    char szPath[kMaxPath + 1];
    if (!GetSharedPath(szPath))
        return 0;
    AppendPathSeparator(szPath);
    // code is never loaded from a path that depends on the working directory, nor from a
    // path cut short
    if (szPath[0] != '/' || std::strlen(szPath) + std::strlen(kWebLibraryName) > kMaxPath)
        return 0;
    std::strcat(szPath, kWebLibraryName);
    // a path the file-name encoding cannot carry would reach the loader empty or changed, and
    // an empty one names the program itself
    const wxString strPath(szPath, *wxConvFileName);
    const wxScopedCharBuffer path = strPath.fn_str();
    if (path.length() != std::strlen(szPath) ||
        std::memcmp(path.data(), szPath, path.length()) != 0)
        return 0;

    // wx would otherwise show its message about a missing library
    wxLogNull noLog;
    wxDynamicLibrary library;
    if (!library.Load(strPath, wxDL_NOW | wxDL_VERBATIM | wxDL_QUIET))
        return 0;
    bool bFound = false;
    void* pEntry = library.GetSymbol(kWebEntryName, &bFound);
    if (bFound && pEntry != nullptr)
        reinterpret_cast<MirelWebGetInfoProc>(pEntry)();
    library.Unload();
    return 0;
}

int GetSharedPath(char* pszPath)
{
    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Mirel Software\\", KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return 0;
    char szValue[kReadBufferSize];
    DWORD nCount = sizeof(szValue);
    DWORD dwType = REG_NONE;
    if (key.QueryValue(szValue, "SharedPath", &nCount, &dwType) != ERROR_SUCCESS ||
        dwType != REG_SZ)
        return 0;
    const size_t nLength = strnlen(szValue, nCount);
    // an empty value would name the root; a longer one would be cut to another directory
    if (nLength == 0 || nLength >= kMaxPath)
        return 0;
    std::memcpy(pszPath, szValue, nLength);
    pszPath[nLength] = '\0';
    AppendPathSeparator(pszPath);
    return 1;
}

void AppendPathSeparator(char* pszPath)
{
    const size_t nLength = strnlen(pszPath, kMaxPath + 1);
    if (nLength > 0 && (pszPath[nLength - 1] == '/' || pszPath[nLength - 1] == '\\'))
        return;
    if (nLength < kMaxPath)
    {
        pszPath[nLength] = '/';
        pszPath[nLength + 1] = '\0';
    }
}
