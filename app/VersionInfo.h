// The program's version information: what a version resource holds, kept as a block of
// entries in a section of its own in the executable, and the About box's text made from it.
#pragma once

#include <wx/string.h>

#include <cstdint>
#include <string>
#include <string_view>

// Name of the executable's section that holds the block.
inline constexpr const char* kVersionSection = "corvane_version";
// Fixed file information: 13 little-endian 32-bit fields, the first the signature.
inline constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
inline constexpr size_t kFixedInfoSize = 52;

// Each entry: key length and value length (16 bits each, little-endian), the key, the
// value. Keys are query paths: "\" for the fixed information, "\VarFileInfo\Translation"
// for the (language, code page) pairs, "\StringFileInfo\040904b0\ProductName" for texts,
// which keep their terminating NUL.
constexpr void AppendVersionWord(std::string& strBlock, uint32_t nWord)
{
    strBlock += static_cast<char>(nWord & 0xFF);
    strBlock += static_cast<char>((nWord >> 8) & 0xFF);
}

constexpr void AppendVersionDWord(std::string& strBlock, uint32_t dw)
{
    AppendVersionWord(strBlock, dw & 0xFFFF);
    AppendVersionWord(strBlock, dw >> 16);
}

constexpr void AppendVersionEntry(std::string& strBlock, std::string_view strKey,
                                  std::string_view strValue)
{
    AppendVersionWord(strBlock, static_cast<uint32_t>(strKey.size()));
    AppendVersionWord(strBlock, static_cast<uint32_t>(strValue.size()));
    strBlock += strKey;
    strBlock += strValue;
}

// Fixed information of an application with the same file and product version a.b.c.d.
constexpr std::string MakeFixedFileInfo(uint32_t nMajor, uint32_t nMinor, uint32_t nPatch,
                                        uint32_t nBuild)
{
    const uint32_t dwMS = (nMajor << 16) | nMinor;
    const uint32_t dwLS = (nPatch << 16) | nBuild;
    constexpr uint32_t kStrucVersion = 0x00010000, kFlagsMask = 0x3F, kOsWin32 = 4, kApp = 1;
    std::string strInfo;
    for (uint32_t dw : {kFixedInfoSignature, kStrucVersion, dwMS, dwLS, dwMS, dwLS, kFlagsMask, 0u,
                        kOsWin32, kApp, 0u, 0u, 0u})
        AppendVersionDWord(strInfo, dw);
    return strInfo;
}

constexpr std::string MakeTranslation(uint32_t nLanguage, uint32_t nCodePage)
{
    std::string strPair;
    AppendVersionWord(strPair, nLanguage);
    AppendVersionWord(strPair, nCodePage);
    return strPair;
}

// Value of the entry at strPath; false when the block has none. Never reads past the block.
bool VerQueryValue(std::string_view strBlock, std::string_view strPath, std::string_view& strValue);

// The block of the executable's version section; false when the file is no readable ELF
// file or has no such section.
bool GetFileVersionInfo(const std::string& strFile, std::string& strBlock);

// "<product name> <major>.<minor 2 digits> (build <n>)\n<copyright>"; 1 when the block has
// the fixed information, 0 (strOut untouched) when not.
int ComposeVersionText(std::string_view strBlock, wxString& strOut);
// The same, read from a file.
int GetVersionText(const std::string& strFile, wxString& strOut);
// The same, read from the running executable's file.
int GetVersionText(wxString& strOut);
// Makes GetVersionText(strOut) read another file (tests); empty restores the running one.
void SetVersionFile(const std::string& strFile);
