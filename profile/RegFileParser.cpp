#include "RegFileParser.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <sstream>

namespace
{
std::string Trim(const std::string& str)
{
    size_t nBegin = str.find_first_not_of(" \t\r\n");
    if (nBegin == std::string::npos)
        return std::string();
    size_t nEnd = str.find_last_not_of(" \t\r\n");
    return str.substr(nBegin, nEnd - nBegin + 1);
}

bool StartsWithFolded(const std::string& str, const std::string& strPrefix)
{
    return FoldCase(str.substr(0, strPrefix.size())) == strPrefix;
}

void AppendUtf8(std::string& strOut, uint32_t nCode)
{
    if (nCode < 0x80)
        strOut += static_cast<char>(nCode);
    else if (nCode < 0x800)
    {
        strOut += static_cast<char>(0xC0 | (nCode >> 6));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
    else
    {
        strOut += static_cast<char>(0xE0 | (nCode >> 12));
        strOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

// Reads a quoted string with backslash escapes starting at str[nPos] == '"'; nPos ends
// after the closing quote.
bool ReadQuoted(const std::string& str, size_t& nPos, std::string& strOut)
{
    for (nPos++; nPos < str.size(); nPos++)
    {
        char c = str[nPos];
        if (c == '"')
        {
            nPos++;
            return true;
        }
        if (c == '\\' && nPos + 1 < str.size())
            c = str[++nPos];
        strOut += c;
    }
    return false;
}

// A hex number from pszText up to the first character that is no digit; false when there is
// none or it exceeds nMax, so that a value never reads as another one cut to size.
bool ParseHexNumber(const char* pszText, unsigned long long nMax, uint32_t& nValue)
{
    char* pszEnd = nullptr;
    errno = 0;
    const unsigned long long n = std::strtoull(pszText, &pszEnd, 16);
    if (pszEnd == pszText || errno == ERANGE || n > nMax)
        return false;
    nValue = static_cast<uint32_t>(n);
    return true;
}

bool ParseHexList(const std::string& strList, std::vector<uint8_t>& bytes)
{
    std::istringstream in(strList);
    std::string strByte;
    while (std::getline(in, strByte, ','))
    {
        strByte = Trim(strByte);
        uint32_t nByte = 0;
        if (strByte.empty())
            continue;
        if (!ParseHexNumber(strByte.c_str(), 0xFF, nByte))
            return false;
        bytes.push_back(static_cast<uint8_t>(nByte));
    }
    return true;
}

// Kind and bytes of a value as the registry returns them; false for deletions and unknown
// kinds.
bool ParseData(const std::string& strData, CRegValue& value)
{
    std::vector<uint8_t>& bytes = value.m_bytes;
    if (!strData.empty() && strData[0] == '"')
    {
        size_t nPos = 0;
        std::string strText;
        if (!ReadQuoted(strData, nPos, strText))
            return false;
        bytes.assign(strText.begin(), strText.end());
        bytes.push_back(0);
        value.m_dwType = REG_SZ;
        return true;
    }
    if (StartsWithFolded(strData, "dword:"))
    {
        uint32_t dw = 0;
        if (!ParseHexNumber(strData.c_str() + 6, 0xFFFFFFFF, dw))
            return false;
        bytes = {uint8_t(dw), uint8_t(dw >> 8), uint8_t(dw >> 16), uint8_t(dw >> 24)};
        value.m_dwType = REG_DWORD;
        return true;
    }
    if (StartsWithFolded(strData, "hex"))
    {
        size_t nColon = strData.find(':');
        if (nColon == std::string::npos)
            return false;
        // "hex(7):" names the kind in hex digits
        value.m_dwType = REG_BINARY;
        if (strData[3] == '(' && !ParseHexNumber(strData.c_str() + 4, 0xFFFFFFFF, value.m_dwType))
            return false;
        return ParseHexList(strData.substr(nColon + 1), bytes);
    }
    return false;
}
} // namespace

std::string FoldCase(const std::string& str)
{
    std::string strOut(str);
    for (char& c : strOut)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strOut;
}

std::string NormalizeKeyPath(const std::string& strPath)
{
    std::string strFolded = FoldCase(strPath);
    for (const char* pszRoot : {"hkey_local_machine\\", "hklm\\"})
    {
        if (strFolded.rfind(pszRoot, 0) == 0)
            strFolded.erase(0, std::string(pszRoot).size());
    }
    std::string strOut;
    std::istringstream in(strFolded);
    std::string strPart;
    while (std::getline(in, strPart, '\\'))
    {
        if (strPart.empty())
            continue;
        if (!strOut.empty())
            strOut += '\\';
        strOut += strPart;
    }
    return strOut;
}

std::string DecodeRegText(const std::string& strBytes)
{
    if (strBytes.size() >= 2 && uint8_t(strBytes[0]) == 0xFF && uint8_t(strBytes[1]) == 0xFE)
    {
        std::string strOut;
        for (size_t i = 2; i + 1 < strBytes.size(); i += 2)
            AppendUtf8(strOut, uint8_t(strBytes[i]) | (uint8_t(strBytes[i + 1]) << 8));
        return strOut;
    }
    if (strBytes.rfind("\xEF\xBB\xBF", 0) == 0)
        return strBytes.substr(3);
    return strBytes;
}

bool CRegFile::Load(const std::string& strFile)
{
    std::string strBytes;
    if (!ReadSettingsFile(strFile, strBytes))
        return false;
    Parse(DecodeRegText(strBytes));
    return true;
}

bool ReadSettingsFile(const std::string& strFile, std::string& strBytes)
{
    // a pipe must not block the start, nor a huge file fill the memory
    const int fd = ::open(strFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool bOk = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxSettingsFile;
    if (bOk)
    {
        strBytes.resize(static_cast<size_t>(st.st_size));
        size_t nRead = 0;
        while (bOk && nRead < strBytes.size())
        {
            const ssize_t n = ::read(fd, strBytes.data() + nRead, strBytes.size() - nRead);
            if (n < 0 && errno == EINTR)
                continue;
            bOk = n > 0;
            nRead += n > 0 ? static_cast<size_t>(n) : 0;
        }
    }
    ::close(fd);
    return bOk;
}

void CRegFile::Parse(const std::string& strText)
{
    std::istringstream in(strText);
    std::string strLine;
    std::string strPending;
    std::string strSection;
    bool bInSection = false;
    while (std::getline(in, strLine))
    {
        strLine = Trim(strLine);
        // a hex list may go on over several lines, each ending in a backslash
        if (!strLine.empty() && strLine.back() == '\\')
        {
            strPending += strLine.substr(0, strLine.size() - 1);
            continue;
        }
        strLine = strPending + strLine;
        strPending.clear();
        if (strLine.size() >= 2 && strLine.front() == '[' && strLine.back() == ']')
        {
            bInSection = strLine[1] != '-';
            strSection = NormalizeKeyPath(strLine.substr(1, strLine.size() - 2));
            if (bInSection)
                m_keys[strSection];
        }
        else if (bInSection)
            ParseLine(strLine, strSection);
    }
}

void CRegFile::ParseLine(const std::string& strLine, const std::string& strSection)
{
    std::string strName;
    size_t nPos = 0;
    if (strLine.rfind("@=", 0) == 0)
        nPos = 1;
    else if (strLine.empty() || strLine[0] != '"' || !ReadQuoted(strLine, nPos, strName))
        return;
    nPos = strLine.find_first_not_of(" \t", nPos);
    if (nPos == std::string::npos || strLine[nPos] != '=')
        return;
    CRegValue value;
    if (ParseData(Trim(strLine.substr(nPos + 1)), value))
        m_keys[strSection][FoldCase(strName)] = value;
}

bool CRegFile::HasKey(const std::string& strNormalizedPath) const
{
    if (strNormalizedPath.empty())
        return true;
    if (m_keys.count(strNormalizedPath) != 0)
        return true;
    const std::string strPrefix = strNormalizedPath + "\\";
    auto it = m_keys.lower_bound(strPrefix);
    return it != m_keys.end() && it->first.rfind(strPrefix, 0) == 0;
}

RegValueMap CRegFile::GetValues(const std::string& strNormalizedPath) const
{
    auto it = m_keys.find(strNormalizedPath);
    return it == m_keys.end() ? RegValueMap() : it->second;
}
