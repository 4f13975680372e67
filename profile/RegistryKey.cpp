#include "RegistryKey.h"

#include "RegFileParser.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace
{
enum : long
{
    ERROR_INVALID_HANDLE = 6
};

// Access rights that change a key: they need write permission on the settings file.
constexpr REGSAM kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

std::string& MachineFileOverride()
{
    static std::string s_strPath;
    return s_strPath;
}

bool MayAccess(const std::string& strPath, int nMode)
{
    return faccessat(AT_FDCWD, strPath.c_str(), nMode, AT_EACCESS) == 0;
}
} // namespace

struct CRegKeyData
{
    bool m_bRoot = false;
    std::string m_strPath;
    RegValueMap m_values;
};

namespace
{
CRegKeyData s_machineRoot{true, std::string(), RegValueMap()};
}

const HKEY HKEY_LOCAL_MACHINE = &s_machineRoot;
const char* const CRegistryKey::kMachineFile = "/etc/Mirel Software/machine.reg";

void CRegistryKey::SetMachineFile(const std::string& strPath)
{
    MachineFileOverride() = strPath;
}

std::string CRegistryKey::GetMachineFile()
{
    const std::string& strOverride = MachineFileOverride();
    return strOverride.empty() ? std::string(kMachineFile) : strOverride;
}

CRegistryKey::~CRegistryKey()
{
    Close();
}

long CRegistryKey::Open(HKEY hKeyParent, const char* pszKeyName, REGSAM samDesired)
{
    if (hKeyParent == nullptr || pszKeyName == nullptr)
        return ERROR_INVALID_HANDLE;
    const std::string strFile = GetMachineFile();
    if (access(strFile.c_str(), F_OK) != 0)
        return ERROR_FILE_NOT_FOUND;
    if (!MayAccess(strFile, R_OK))
        return ERROR_ACCESS_DENIED;

    std::string strPath = NormalizeKeyPath(
        hKeyParent->m_bRoot ? std::string(pszKeyName) : hKeyParent->m_strPath + "\\" + pszKeyName);
    CRegFile regFile;
    if (!regFile.Load(strFile) || !regFile.HasKey(strPath))
        return ERROR_FILE_NOT_FOUND;
    if ((samDesired & kWriteRights) != 0 && !MayAccess(strFile, W_OK))
        return ERROR_ACCESS_DENIED;

    HKEY hNew = new CRegKeyData{false, strPath, regFile.GetValues(strPath)};
    long nStatus = Close();
    m_hKey = hNew;
    return nStatus;
}

long CRegistryKey::Close()
{
    if (m_hKey == nullptr)
        return ERROR_SUCCESS;
    delete m_hKey;
    m_hKey = nullptr;
    return ERROR_SUCCESS;
}

long CRegistryKey::QueryDWord(DWORD& dwValue, const char* pszValueName)
{
    uint8_t bytes[4];
    for (int i = 0; i < 4; i++)
        bytes[i] = static_cast<uint8_t>(dwValue >> (8 * i));
    DWORD nCount = sizeof(bytes);
    long nStatus = QueryValue(bytes, pszValueName, &nCount);
    if (nStatus == ERROR_SUCCESS)
        dwValue = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (DWORD(bytes[3]) << 24);
    return nStatus;
}

long CRegistryKey::QueryValue(void* pBuffer, const char* pszValueName, DWORD* pnCount,
                              DWORD* pdwType)
{
    if (m_hKey == nullptr || pnCount == nullptr)
        return ERROR_INVALID_HANDLE;
    auto it = m_hKey->m_values.find(FoldCase(pszValueName ? pszValueName : ""));
    if (it == m_hKey->m_values.end())
        return ERROR_FILE_NOT_FOUND;
    if (pdwType != nullptr)
        *pdwType = it->second.m_dwType;
    const std::vector<uint8_t>& bytes = it->second.m_bytes;
    const DWORD nSize = static_cast<DWORD>(bytes.size());
    if (pBuffer != nullptr && *pnCount < nSize)
    {
        *pnCount = nSize;
        return ERROR_MORE_DATA;
    }
    if (pBuffer != nullptr && nSize > 0)
        std::memcpy(pBuffer, bytes.data(), nSize);
    *pnCount = nSize;
    return ERROR_SUCCESS;
}
