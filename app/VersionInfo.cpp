#include "VersionInfo.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cstring>

namespace
{
// Larger sections are no version information; the cap keeps a damaged file from
// asking for gigabytes.
constexpr uint64_t kMaxSectionSize = 1 << 20;

std::string& VersionFileOverride()
{
    static std::string s_strFile;
    return s_strFile;
}

uint32_t WordAt(std::string_view str, size_t nPos)
{
    return uint8_t(str[nPos]) | (uint32_t(uint8_t(str[nPos + 1])) << 8);
}

uint32_t DWordAt(std::string_view str, size_t nPos)
{
    return WordAt(str, nPos) | (WordAt(str, nPos + 2) << 16);
}

// Text of a string entry: up to its NUL, or its whole value without one.
bool QueryText(std::string_view strBlock, const wxString& strPath, wxString& strText)
{
    std::string_view strValue;
    if (!VerQueryValue(strBlock, strPath.ToStdString(), strValue))
        return false;
    strText = wxString::FromUTF8(strValue.data(), strnlen(strValue.data(), strValue.size()));
    return true;
}

class CFile
{
public:
    explicit CFile(const std::string& strFile) : m_nFd(open(strFile.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat st;
        if (m_nFd >= 0 && fstat(m_nFd, &st) == 0 && S_ISREG(st.st_mode))
            m_nSize = static_cast<uint64_t>(st.st_size);
    }
    ~CFile()
    {
        if (m_nFd >= 0)
            close(m_nFd);
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False unless all nBytes at nOffset lie inside the file and were read.
    bool ReadAt(uint64_t nOffset, uint64_t nBytes, void* pBuffer) const
    {
        if (nOffset > m_nSize || nBytes > m_nSize - nOffset)
            return false;
        return pread(m_nFd, pBuffer, nBytes, static_cast<off_t>(nOffset)) ==
               static_cast<ssize_t>(nBytes);
    }
    bool ReadAt(uint64_t nOffset, uint64_t nBytes, std::string& str) const
    {
        if (nBytes > kMaxSectionSize)
            return false;
        str.resize(nBytes);
        return ReadAt(nOffset, nBytes, str.data());
    }

private:
    int m_nFd;
    uint64_t m_nSize = 0;
};

bool IsOwnElf(const Elf64_Ehdr& header)
{
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == ELFCLASS64 && header.e_ident[EI_DATA] == ELFDATA2LSB &&
           std::endian::native == std::endian::little && header.e_shentsize == sizeof(Elf64_Shdr) &&
           header.e_shstrndx < header.e_shnum;
}
} // namespace

bool VerQueryValue(std::string_view strBlock, std::string_view strPath, std::string_view& strValue)
{
    size_t nPos = 0;
    while (strBlock.size() - nPos >= 4)
    {
        const size_t nKey = WordAt(strBlock, nPos);
        const size_t nValue = WordAt(strBlock, nPos + 2);
        nPos += 4;
        if (strBlock.size() - nPos < nKey + nValue)
            return false;
        if (strBlock.substr(nPos, nKey) == strPath)
        {
            strValue = strBlock.substr(nPos + nKey, nValue);
            return true;
        }
        nPos += nKey + nValue;
    }
    return false;
}

bool GetFileVersionInfo(const std::string& strFile, std::string& strBlock)
{
    const CFile file(strFile);
    Elf64_Ehdr header;
    if (!file.ReadAt(0, sizeof(header), &header) || !IsOwnElf(header))
        return false;
    std::string strSections;
    if (!file.ReadAt(header.e_shoff, uint64_t(header.e_shnum) * sizeof(Elf64_Shdr), strSections))
        return false;
    auto section = [&](size_t nIndex)
    {
        Elf64_Shdr shdr;
        std::memcpy(&shdr, strSections.data() + nIndex * sizeof(shdr), sizeof(shdr));
        return shdr;
    };
    const Elf64_Shdr names = section(header.e_shstrndx);
    std::string strNames;
    if (names.sh_type == SHT_NOBITS || !file.ReadAt(names.sh_offset, names.sh_size, strNames))
        return false;
    for (size_t i = 0; i < header.e_shnum; i++)
    {
        const Elf64_Shdr shdr = section(i);
        if (shdr.sh_name >= strNames.size() || shdr.sh_type == SHT_NOBITS)
            continue;
        const char* pszName = strNames.data() + shdr.sh_name;
        if (std::string_view(pszName, strnlen(pszName, strNames.size() - shdr.sh_name)) ==
            kVersionSection)
            return file.ReadAt(shdr.sh_offset, shdr.sh_size, strBlock);
    }
    return false;
}

int ComposeVersionText(std::string_view strBlock, wxString& strOut)
{
    std::string_view strFixed;
    if (!VerQueryValue(strBlock, "\\", strFixed) || strFixed.size() < kFixedInfoSize ||
        DWordAt(strFixed, 0) != kFixedInfoSignature)
        return 0;
    const uint32_t dwMS = DWordAt(strFixed, 16);
    const uint32_t dwLS = DWordAt(strFixed, 20);
    // the build is the third and fourth parts together, shown without a sign
    wxString strText = dwLS != 0 ? wxString::Format("%d.%02d (build %u)", int(dwMS >> 16),
                                                    int(dwMS & 0xFFFF), unsigned(dwLS))
                                 : wxString::Format("%d.%02d", int(dwMS >> 16), int(dwMS & 0xFFFF));
    std::string_view strPair;
    if (VerQueryValue(strBlock, "\\VarFileInfo\\Translation", strPair) && strPair.size() >= 4)
    {
        const wxString strTable = wxString::Format("\\StringFileInfo\\%04x%04x\\",
                                                   WordAt(strPair, 0), WordAt(strPair, 2));
        wxString strPart;
        if (QueryText(strBlock, strTable + "ProductName", strPart))
            strText = strPart + " " + strText;
        if (QueryText(strBlock, strTable + "LegalCopyright", strPart))
            strText += "\n" + strPart;
    }
    strOut = strText;
    return 1;
}

int GetVersionText(const std::string& strFile, wxString& strOut)
{
    std::string strBlock;
    return GetFileVersionInfo(strFile, strBlock) ? ComposeVersionText(strBlock, strOut) : 0;
}

int GetVersionText(wxString& strOut)
{
    const std::string& strFile = VersionFileOverride();
    return GetVersionText(strFile.empty() ? std::string("/proc/self/exe") : strFile, strOut);
}

void SetVersionFile(const std::string& strFile)
{
    VersionFileOverride() = strFile;
}
