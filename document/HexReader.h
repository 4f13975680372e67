// Reading Intel HEX into a memory image. Lines are read in pieces of at most 999
// characters; the record grammar is lenient: every piece that looks like a record is
// taken, checksums are not checked, unknown characters count as the digit 0.
#pragma once

#include "ImageBuilder.h"
#include "MemoryImage.h"

#include <cstddef>
#include <functional>
#include <memory>

// How reading a file went, for a caller that tells the user why it could not be opened.
struct CHexReadStatus
{
    enum class EOpen
    {
        Opened,
        NotRegularFile, // a folder, a pipe or a device: refused without being read
        CannotOpen      // open failed with nErrno
    };
    EOpen eOpen = EOpen::Opened;
    int nErrno = 0;
    // a read failed; the image holds what was read before it, as at the file's end
    bool bReadError = false;
    // memory ran out before every record was kept: the read failed and the image is empty
    bool bOutOfMemory = false;
};

// What a test can change in one read.
struct CReadSeams
{
    // runs between the two passes over a file that is read twice (it may change there)
    std::function<void()> betweenPasses;
    // the builder's allocations that fail as if memory ran out
    std::function<bool(CImageBuilder::EAlloc)> failAllocation;
};

// Clears the image (before the file is opened), reads every record, coalesces. True when
// the file is a regular file that could be opened and at least one segment results;
// anything else (a folder, a pipe, a device) is refused without being read, so it can
// never block. A read that could not keep every record fails with an empty image.
// pStatus, when given, says why.
bool ReadHexFile(MemoryImage& image, const char* pszPath, CHexReadStatus* pStatus = nullptr,
                 const CReadSeams* pSeams = nullptr);
// Reads HEX text held in memory with the same rules.
bool ReadHexText(MemoryImage& image, const char* pData, size_t nLen,
                 const CReadSeams* pSeams = nullptr);

// Feeds HEX text to an image in chunks of any size, record by record.
class CHexTextReader
{
public:
    explicit CHexTextReader(MemoryImage& image);
    ~CHexTextReader();
    void Feed(const char* pData, size_t nLen);
    // Handles a last line without line break and coalesces: the image is then what
    // ReadHexText gives for the whole text.
    void Finish();

private:
    struct CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};
