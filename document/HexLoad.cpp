// Loading a whole HEX file or text into an image.
//
// Recording every data record as a segment of its own until the final sort is what
// the reading procedure describes, but for a file whose records come in descending
// or random order that means millions of short-lived segments. When no two data
// records share an address (and none is empty or runs past 0xFFFFFFFF), the result
// does not depend on the order the records came in: it is the runs of touching
// records, in address order. Such a file is read twice: once for where its records
// lie, once to put their bytes straight into the final blocks. Files in ascending
// order, files whose records overlap, and input that cannot be read twice take the
// record-by-record path.
#include "HexParser.h"
#include "HexScan.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
struct CExtent
{
    uint32_t dwAddress;
    uint32_t nLen;
};

// First pass: where the data records lie, without their bytes.
struct CExtentSink
{
    std::vector<CExtent> extents;
    bool bDisjointSoFar = true;
    uint64_t nRecords = 0;
    uint64_t nBytes = 0;

    void Data(uint32_t dwAddress, const char*, int, int n)
    {
        ++nRecords;
        nBytes += static_cast<uint64_t>(n);
        if (!bDisjointSoFar)
            return;
        // empty segments and addresses that wrap depend on record order
        if (n == 0 || static_cast<uint64_t>(dwAddress) + static_cast<uint64_t>(n) >= 0x100000000ull)
        {
            bDisjointSoFar = false;
            return;
        }
        if (!extents.empty())
        {
            CExtent& last = extents.back();
            if (static_cast<uint64_t>(last.dwAddress) + last.nLen == dwAddress && last.nLen + static_cast<uint64_t>(n) <= INT_MAX)
            {
                last.nLen += static_cast<uint32_t>(n);
                return;
            }
        }
        try
        {
            extents.push_back({dwAddress, static_cast<uint32_t>(n)});
        }
        catch (const std::bad_alloc&)
        {
            bDisjointSoFar = false;
            std::vector<CExtent>().swap(extents);
        }
    }
    bool WantsMore() const { return bDisjointSoFar; }
};

bool SortExtents(std::vector<CExtent>& v)
{
    auto byAddress = [](const CExtent& a, const CExtent& b) { return a.dwAddress < b.dwAddress; };
    if (std::is_sorted(v.begin(), v.end(), byAddress))
        return true;
    if (std::is_sorted(v.rbegin(), v.rend(), byAddress))
    {
        std::reverse(v.begin(), v.end());
        return true;
    }
    std::vector<CExtent> tmp;
    try
    {
        tmp.resize(v.size());
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    // two stable counting passes over 16 bits each
    for (int nShift = 0; nShift < 32; nShift += 16)
    {
        std::vector<size_t> start(65537, 0);
        for (const CExtent& e : v)
            ++start[((e.dwAddress >> nShift) & 0xFFFF) + 1];
        for (size_t k = 1; k < start.size(); ++k)
            start[k] += start[k - 1];
        for (const CExtent& e : v)
            tmp[start[(e.dwAddress >> nShift) & 0xFFFF]++] = e;
        v.swap(tmp);
    }
    return true;
}

// Joins touching extents into runs; false when two of them share an address.
bool JoinRuns(std::vector<CExtent>& v)
{
    size_t nOut = 0;
    for (const CExtent& e : v)
    {
        if (nOut > 0)
        {
            CExtent& prev = v[nOut - 1];
            const uint64_t nEnd = static_cast<uint64_t>(prev.dwAddress) + prev.nLen;
            if (e.dwAddress < nEnd)
                return false;
            if (e.dwAddress == nEnd)
            {
                if (static_cast<uint64_t>(prev.nLen) + e.nLen > INT_MAX)
                    return false;
                prev.nLen += e.nLen;
                continue;
            }
        }
        v[nOut++] = e;
    }
    v.resize(nOut);
    return true;
}

bool BuildSegments(MemoryImage& image, const std::vector<CExtent>& runs)
{
    if (runs.size() > static_cast<size_t>(INT_MAX / 2) || !image.SetSize(static_cast<int>(runs.size())))
        return false;
    for (size_t i = 0; i < runs.size(); ++i)
    {
        MemorySegment* pSeg = new (std::nothrow) MemorySegment;
        // zeroed, so a byte that a changed file no longer covers can never be stale memory
        uint8_t* pBlock = static_cast<uint8_t*>(std::calloc(runs[i].nLen, 1));
        if (!pSeg || !pBlock)
        {
            delete pSeg;
            std::free(pBlock);
            return false;
        }
        pSeg->m_dwAddress = runs[i].dwAddress;
        pSeg->m_nSize = static_cast<int32_t>(runs[i].nLen);
        pSeg->m_pBytes = pBlock;
        image.m_ppSegments[i] = pSeg;
    }
    return true;
}

// In a table sorted by start address: the last segment that starts below nLimit, or -1.
int LastStartingBelow(const MemoryImage& image, uint64_t nLimit)
{
    MemorySegment** ppBegin = image.m_ppSegments;
    MemorySegment** ppEnd = ppBegin + image.GetCount();
    MemorySegment** pp = std::lower_bound(ppBegin, ppEnd, nLimit,
                                          [](const MemorySegment* p, uint64_t a) { return p->m_dwAddress < a; });
    return static_cast<int>(pp - ppBegin) - 1;
}

// Second pass: every record's bytes go straight into the block that holds its address.
struct CFillSink
{
    MemoryImage& image;
    const uint8_t* pPairs = hexscan::PairTable();
    int nHint = 0;
    bool bOk = true;
    uint64_t nRecords = 0;
    uint64_t nBytes = 0;

    MemorySegment* Holder(uint32_t dwAddress, int n)
    {
        auto holds = [&](const MemorySegment* p) {
            return p->m_dwAddress <= dwAddress &&
                   static_cast<uint64_t>(dwAddress) + n <= p->GetEnd64();
        };
        if (nHint < image.GetCount() && holds(image.m_ppSegments[nHint]))
            return image.m_ppSegments[nHint];
        const int nFound = LastStartingBelow(image, static_cast<uint64_t>(dwAddress) + 1);
        if (nFound < 0 || !holds(image.m_ppSegments[nFound]))
            return nullptr;
        nHint = nFound;
        return image.m_ppSegments[nFound];
    }
    void Data(uint32_t dwAddress, const char* pPiece, int nLen, int n)
    {
        ++nRecords;
        nBytes += static_cast<uint64_t>(n);
        MemorySegment* pSeg = bOk ? Holder(dwAddress, n) : nullptr;
        if (!pSeg)
        {
            bOk = false;
            return;
        }
        hexscan::DecodeData(pPairs, pPiece, nLen, n, pSeg->m_pBytes + (dwAddress - pSeg->m_dwAddress));
    }
    bool WantsMore() const { return bOk; }
};

class CMemoryText
{
public:
    CMemoryText(const char* pData, size_t nLen) : m_pData(pData), m_nLen(nLen) {}
    template <class F> void ForEachChunk(F&& f) { f(m_pData, m_nLen); }
    bool Rewind() { return true; }

private:
    const char* m_pData;
    size_t m_nLen;
};

class CFileText
{
public:
    explicit CFileText(int fd) : m_fd(fd), m_pBuf(new char[kChunk]) {}
    template <class F> void ForEachChunk(F&& f)
    {
        for (;;)
        {
            const ssize_t nRead = ::read(m_fd, m_pBuf.get(), kChunk);
            if (nRead < 0 && errno == EINTR)
                continue;
            // a read error ends the file like its end does, keeping what was read
            if (nRead <= 0 || !f(m_pBuf.get(), static_cast<size_t>(nRead)))
                return;
        }
    }
    bool Rewind() { return ::lseek(m_fd, 0, SEEK_SET) == 0; }

private:
    static constexpr size_t kChunk = 1 << 20;
    int m_fd;
    std::unique_ptr<char[]> m_pBuf;
};

template <class TText, class TSink> void Scan(TText& text, TSink& sink)
{
    hexscan::CScanner<TSink> scanner(sink);
    text.ForEachChunk([&](const char* p, size_t n) {
        scanner.Feed(p, n);
        return sink.WantsMore();
    });
    scanner.Finish();
}

template <class TText> bool LoadDisjoint(MemoryImage& image, TText& text)
{
    CExtentSink where;
    Scan(text, where);
    if (!where.bDisjointSoFar || !SortExtents(where.extents) || !JoinRuns(where.extents) ||
        !BuildSegments(image, where.extents))
        return false;
    if (image.GetCount() == 0)
        return true;
    std::vector<CExtent>().swap(where.extents);
    if (!text.Rewind())
        return false;
    CFillSink fill{image};
    Scan(text, fill);
    // a file that changed between the two passes is read again, record by record
    return fill.bOk && fill.nRecords == where.nRecords && fill.nBytes == where.nBytes;
}

// Reads record by record while the records come in ascending order without sharing
// addresses (the table then holds just the final segments). At the first record
// that goes back to an address no segment holds yet, it gives up if the file can be
// read again: the order is descending or random, and two passes serve it better.
struct CFirstPassSink
{
    hexscan::CImageSink sink;
    bool bMayRestart;
    bool bWatching = true;
    bool bRestart = false;
    uint64_t nPrevEnd = 0;

    bool HoldsAny(uint32_t dwAddress, int n) const
    {
        const MemoryImage& image = sink.image;
        const int nFound = LastStartingBelow(image, static_cast<uint64_t>(dwAddress) + n);
        return nFound >= 0 && image.m_ppSegments[nFound]->GetEnd64() > dwAddress;
    }
    void Data(uint32_t dwAddress, const char* pPiece, int nLen, int n)
    {
        if (bRestart)
            return;
        if (bWatching)
        {
            const uint64_t nEnd = static_cast<uint64_t>(dwAddress) + static_cast<uint64_t>(n);
            if (n == 0 || nEnd >= 0x100000000ull)
                bWatching = false;
            else if (dwAddress >= nPrevEnd)
            {
                nPrevEnd = nEnd;
                uint8_t bytes[256];
                hexscan::DecodeData(sink.pPairs, pPiece, nLen, n, bytes);
                sink.image.AppendInOrder(dwAddress, bytes, n);
                return;
            }
            else
            {
                bWatching = false;
                if (bMayRestart && !HoldsAny(dwAddress, n))
                {
                    bRestart = true;
                    return;
                }
            }
        }
        sink.Data(dwAddress, pPiece, nLen, n);
    }
    bool WantsMore() const { return !bRestart; }
};

template <class TText> bool Load(MemoryImage& image, TText& text, bool bMayRestart)
{
    CFirstPassSink first{{image}, bMayRestart};
    Scan(text, first);
    if (first.bRestart)
    {
        image.DeleteAll();
        if (!text.Rewind())
            return false;
        if (LoadDisjoint(image, text))
            return image.GetCount() > 0;
        image.DeleteAll();
        if (!text.Rewind())
            return false;
        hexscan::CImageSink sink{image};
        Scan(text, sink);
    }
    image.Coalesce();
    return image.GetCount() > 0;
}
} // namespace

bool ReadHexText(MemoryImage& image, const char* pData, size_t nLen)
{
    image.DeleteAll();
    CMemoryText text(pData, nLen);
    return Load(image, text, true);
}

bool ReadHexFile(MemoryImage& image, const char* pszPath)
{
    // cleared before the file is opened, so a failed read never leaves old data behind
    image.DeleteAll();
    const int fd = ::open(pszPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    // only a regular file can be read a second time
    const bool bMayRestart = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    CFileText text(fd);
    const bool bOk = Load(image, text, bMayRestart);
    ::close(fd);
    return bOk;
}
