// Reads the registry export text format: "[Key\Path]" sections with
// "Name"="text", "Name"=dword:0000abcd and "Name"=hex:01,02 values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Value kinds as the registry numbers them.
enum ERegType : uint32_t
{
    REG_NONE = 0,
    REG_SZ = 1,
    REG_BINARY = 3,
    REG_DWORD = 4
};

// A value's kind ("text" is REG_SZ, dword: REG_DWORD, hex: REG_BINARY, hex(n): n) and bytes.
struct CRegValue
{
    uint32_t m_dwType = REG_NONE;
    std::vector<uint8_t> m_bytes;
};

// Values of one key by folded name ("" is the key's default value "@").
using RegValueMap = std::map<std::string, CRegValue>;

// Names compare without regard to ASCII case, as the registry compares them.
std::string FoldCase(const std::string& str);
// Folded key path without a root prefix, empty parts or outer separators.
std::string NormalizeKeyPath(const std::string& strPath);

class CRegFile
{
public:
    bool Load(const std::string& strFile);
    void Parse(const std::string& strText);
    // True for a key with a section of its own or below it.
    bool HasKey(const std::string& strNormalizedPath) const;
    RegValueMap GetValues(const std::string& strNormalizedPath) const;

private:
    void ParseLine(const std::string& strLine, const std::string& strSection);

    std::map<std::string, RegValueMap> m_keys;
};

// Largest settings file read; a larger one counts as absent.
constexpr long kMaxSettingsFile = 1 << 20;
// The bytes of a regular file of at most kMaxSettingsFile bytes; false for anything else.
bool ReadSettingsFile(const std::string& strFile, std::string& strBytes);

// Plain text of a file that may be UTF-16 (as the registry editor writes it) or UTF-8.
std::string DecodeRegText(const std::string& strBytes);
