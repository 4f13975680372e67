// Owner of one open key of the machine-wide settings. The settings live in one text file
// in the registry export format; results are the registry's status codes.
#pragma once

#include <cstdint>
#include <string>

typedef struct CRegKeyData* HKEY;
typedef uint32_t DWORD;
typedef uint32_t REGSAM;

// Root of the machine-wide settings: the only root backed by a file.
extern const HKEY HKEY_LOCAL_MACHINE;

enum ERegStatus : long
{
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_ACCESS_DENIED = 5,
    ERROR_MORE_DATA = 234
};

enum ERegAccess : REGSAM
{
    KEY_ALL_ACCESS = 0xF003F
};

class CRegistryKey
{
public:
    CRegistryKey() = default;
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // On success closes the key held before and returns that close's status; on failure
    // returns the open's status and keeps the key held before. Access beyond reading
    // needs write permission on the settings file.
    long Open(HKEY hKeyParent, const char* pszKeyName, REGSAM samDesired = KEY_ALL_ACCESS);
    // 0 when no key is held.
    long Close();
    // The value's first bytes go into dwValue; a value longer than 4 bytes gives
    // ERROR_MORE_DATA and leaves dwValue as it was.
    long QueryDWord(DWORD& dwValue, const char* pszValueName);
    // *pnCount holds the buffer size on entry and the value's size on return; a buffer
    // too small gives ERROR_MORE_DATA and is left as it was. *pdwType, when given, receives
    // the value's kind (REG_SZ, REG_DWORD, ...) whenever the value exists.
    long QueryValue(void* pBuffer, const char* pszValueName, DWORD* pnCount,
                    DWORD* pdwType = nullptr);

    // Where the machine-wide settings file lives.
    static const char* const kMachineFile;
    // Reads the settings from another file (tests); an empty path restores the fixed one.
    static void SetMachineFile(const std::string& strPath);
    static std::string GetMachineFile();

    HKEY m_hKey = nullptr;
};
