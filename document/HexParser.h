// Intel HEX reading and writing over a MemoryImage.
#pragma once

#include "MemoryImage.h"

#include <cstddef>
#include <memory>
#include <string>

class CHexParser
{
public:
    virtual ~CHexParser() = default;
    // Value of the nDigits characters at pszText, case-insensitive; any other
    // character (bytes >= 0x80 included) counts as the digit 0. Reads exactly
    // nDigits characters: the caller guarantees they exist.
    int ParseHex(const char* pszText, int nDigits) const;
};

// Feeds HEX text to an image in chunks of any size, record by record, as the
// reading procedure does (without clearing or coalescing). Lines are handled in
// pieces of at most 999 characters (a longer line becomes several pieces, each read
// like a line of its own), a CR directly before the LF belongs to the line break,
// and columns past a piece's end read as the digit 0.
class CHexTextReader
{
public:
    explicit CHexTextReader(MemoryImage& image);
    ~CHexTextReader();
    void Feed(const char* pData, size_t nLen);
    // Handles a last line without line break; does not coalesce.
    void Finish();

private:
    struct CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};

// The reading procedure: clears the image (before the file is opened), reads every
// line, coalesces. True when the file could be opened and at least one segment results.
bool ReadHexFile(MemoryImage& image, const char* pszPath);
// Reads HEX text held in memory with the same rules; for tests and fuzzing.
bool ReadHexText(MemoryImage& image, const char* pData, size_t nLen);

// Writes the image as Intel HEX with CR LF line ends. A regular file (or a new one)
// is written to a temporary file beside it and renamed over it only when every byte
// was written; a symbolic link is written through. False on any error; the old
// file is then untouched.
bool WriteHexFile(const MemoryImage& image, const char* pszPath);
// The whole file as WriteHexFile writes it, in memory.
std::string FormatHexText(const MemoryImage& image);
