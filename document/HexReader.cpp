// Loading a whole HEX file or text into an image.
//
// Recording every data record as a segment of its own until the final sort is the
// plain way, but for a file whose records come in descending or random order that
// means millions of short-lived segments. When no two data records share an address
// (and none is empty or runs past 0xFFFFFFFF), the result does not depend on the
// order the records came in: it is the runs of touching records, in address order.
// Such a file is read twice: once for where its records lie, once to put their bytes
// straight into the final blocks. Files in ascending order and files whose records
// overlap take the record-by-record path, and so does a file that turns out different
// in the second pass.
#include "HexReader.h"
#include "HexScan.h"
#include "RandomKey.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
// Byte values of all character pairs, from the one digit rule.
struct CPairTable
{
    uint8_t value[65536] = {};
    constexpr CPairTable()
    {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                value[a | b << 8] = static_cast<uint8_t>(
                    CHexParser::DigitValue(static_cast<unsigned char>(a)) << 4 |
                    CHexParser::DigitValue(static_cast<unsigned char>(b)));
    }
};
} // namespace

const uint8_t* hexscan::PairTable()
{
    static const CPairTable table;
    return table.value;
}

struct CHexTextReader::CImpl
{
    explicit CImpl(MemoryImage& target)
        : image(target), builder(target), sink{builder}, scanner(sink)
    {
    }
    MemoryImage& image;
    CImageBuilder builder;
    hexscan::CImageSink sink;
    hexscan::CScanner<hexscan::CImageSink> scanner;
};

CHexTextReader::CHexTextReader(MemoryImage& image) : m_pImpl(std::make_unique<CImpl>(image)) {}

CHexTextReader::~CHexTextReader() = default;

void CHexTextReader::Feed(const char* pData, size_t nLen)
{
    m_pImpl->scanner.Feed(pData, nLen);
}

void CHexTextReader::Finish()
{
    m_pImpl->scanner.Finish();
    const bool bLost = m_pImpl->builder.LostRecords();
    m_pImpl->builder.Finish();
    if (bLost)
        m_pImpl->image.DeleteAll();
    m_pImpl->image.Coalesce();
    m_pImpl->image.SetStartAddress(m_pImpl->scanner.StartAddress());
}

namespace
{
struct CExtent
{
    uint32_t dwAddress;
    uint32_t nLen;
};

// The sequence of records' addresses and lengths as a polynomial, evaluated at a point
// drawn for each read, modulo the prime 2^61 - 1: two different sequences of L records
// agree with a chance of at most L in 2^61, and a file cannot be made to agree on purpose.
class CRecordListHash
{
public:
    explicit CRecordListHash(uint64_t nKey) : m_nKey(2 + nKey % (kPrime - 3)) {}
    void Add(uint32_t dwAddress, int n)
    {
        const uint64_t nRecord =
            (static_cast<uint64_t>(dwAddress) << 8 | static_cast<uint8_t>(n)) + 1;
        m_nValue = Reduce(static_cast<unsigned __int128>(m_nValue) * m_nKey + nRecord);
        ++m_nCount;
    }
    bool operator==(const CRecordListHash& other) const
    {
        return m_nValue == other.m_nValue && m_nCount == other.m_nCount && m_nKey == other.m_nKey;
    }

private:
    static constexpr uint64_t kPrime = (1ull << 61) - 1;
    static uint64_t Reduce(unsigned __int128 z)
    {
        uint64_t r = static_cast<uint64_t>(z & kPrime) + static_cast<uint64_t>(z >> 61);
        r = (r & kPrime) + (r >> 61);
        return r >= kPrime ? r - kPrime : r;
    }
    uint64_t m_nKey;
    uint64_t m_nValue = 0;
    uint64_t m_nCount = 0;
};

// First pass: where the data records lie, without their bytes.
struct CExtentSink
{
    explicit CExtentSink(uint64_t nKey) : records(nKey) {}
    std::vector<CExtent> extents;
    bool bDisjointSoFar = true;
    CRecordListHash records;
    // data records seen while the records were still disjoint: room to reserve when the
    // read falls back to going record by record
    int nRecords = 0;

    void Data(uint32_t dwAddress, const char*, int, int n)
    {
        records.Add(dwAddress, n);
        if (!bDisjointSoFar)
            return;
        nRecords += nRecords < INT_MAX;
        if (DependsOnOrder(dwAddress, n))
        {
            bDisjointSoFar = false;
            return;
        }
        if (!extents.empty())
        {
            CExtent& last = extents.back();
            if (static_cast<uint64_t>(last.dwAddress) + last.nLen == dwAddress &&
                last.nLen + static_cast<uint64_t>(n) <= INT_MAX)
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
    // three stable counting passes over 11 bits each: the counts stay in the cache
    for (int nShift = 0; nShift < 32; nShift += 11)
    {
        size_t start[2049] = {};
        for (const CExtent& e : v)
            ++start[((e.dwAddress >> nShift) & 0x7FF) + 1];
        for (size_t k = 1; k < 2049; ++k)
            start[k] += start[k - 1];
        for (const CExtent& e : v)
            tmp[start[(e.dwAddress >> nShift) & 0x7FF]++] = e;
        v.swap(tmp);
    }
    return true;
}

size_t DistinctStarts(const std::vector<CExtent>& sorted)
{
    size_t n = 0;
    for (size_t k = 0; k < sorted.size(); ++k)
        n += k == 0 || sorted[k].dwAddress != sorted[k - 1].dwAddress;
    return n;
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

// In a table sorted by start address: the last segment that starts below nLimit, or -1.
int LastStartingBelow(const MemoryImage& image, uint64_t nLimit)
{
    int nLow = 0, nHigh = image.GetCount();
    while (nLow < nHigh)
    {
        const int nMid = nLow + (nHigh - nLow) / 2;
        if (image.GetAt(nMid)->m_dwAddress < nLimit)
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    return nLow - 1;
}

// Second pass: every record's bytes go straight into the block that holds its address.
// The file must hold the same records in the same order as in the first pass: each
// record's address and length go into a keyed hash of the whole sequence, compared at
// the end, so a file rewritten in between is noticed and read again record by record.
class CFillSink
{
public:
    CFillSink(CImageBuilder& builder, uint64_t nKey)
        : m_builder(builder), m_image(builder.Image()), m_records(nKey)
    {
    }
    void Data(uint32_t dwAddress, const char* pPiece, int nLen, int n)
    {
        m_records.Add(dwAddress, n);
        const int nSeg = m_bOk ? Holder(dwAddress, n) : -1;
        if (nSeg < 0)
        {
            m_bOk = false;
            return;
        }
        MemorySegment* pSeg = m_builder.Segment(nSeg);
        hexscan::DecodeData(m_pPairs, pPiece, nLen, n,
                            pSeg->m_pBytes + (dwAddress - pSeg->m_dwAddress));
    }
    bool WantsMore() const { return m_bOk; }
    bool SameRecordsAs(const CExtentSink& first) const
    {
        return m_bOk && m_records == first.records;
    }

private:
    int Holder(uint32_t dwAddress, int n)
    {
        auto holds = [&](int i)
        {
            const MemorySegment* p = m_image.GetAt(i);
            return p->m_dwAddress <= dwAddress &&
                   static_cast<uint64_t>(dwAddress) + n <= p->GetEnd64();
        };
        if (m_nHint < m_image.GetCount() && holds(m_nHint))
            return m_nHint;
        const int nFound = LastStartingBelow(m_image, static_cast<uint64_t>(dwAddress) + 1);
        if (nFound < 0 || !holds(nFound))
            return -1;
        return m_nHint = nFound;
    }

    CImageBuilder& m_builder;
    const MemoryImage& m_image;
    const uint8_t* m_pPairs = hexscan::PairTable();
    CRecordListHash m_records;
    int m_nHint = 0;
    bool m_bOk = true;
};

class CMemoryText
{
public:
    CMemoryText(const char* pData, size_t nLen) : m_pData(pData), m_nLen(nLen) {}
    template <class F> void ForEachChunk(F&& f) { f(m_pData, m_nLen); }
    bool Rewind() { return true; }
    void BetweenPasses() const {}

private:
    const char* m_pData;
    size_t m_nLen;
};

// An open file descriptor, closed when it goes out of scope.
class CFileDescriptor
{
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// Opens only a regular file. Opening does not wait (a FIFO without a writer would
// block the program), and the descriptor blocks again once the file is known to be
// regular. -1, with the reason in status, when the file is refused.
int OpenRegularFile(const char* pszPath, CHexReadStatus& status)
{
    CFileDescriptor fd(::open(pszPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0)
    {
        status.eOpen = CHexReadStatus::EOpen::CannotOpen;
        status.nErrno = errno;
        return -1;
    }
    if (!S_ISREG(st.st_mode))
    {
        status.eOpen = CHexReadStatus::EOpen::NotRegularFile;
        return -1;
    }
    const int nFlags = ::fcntl(fd.Get(), F_GETFL);
    if (nFlags < 0 || ::fcntl(fd.Get(), F_SETFL, nFlags & ~O_NONBLOCK) != 0)
    {
        status.eOpen = CHexReadStatus::EOpen::CannotOpen;
        status.nErrno = errno;
        return -1;
    }
    return fd.Release();
}

class CFileText
{
public:
    CFileText(int fd, std::function<void()> betweenPasses)
        : m_fd(fd), m_pBuf(new (std::nothrow) char[kChunk]),
          m_betweenPasses(std::move(betweenPasses))
    {
    }
    bool HasBuffer() const { return m_pBuf != nullptr; }
    template <class F> void ForEachChunk(F&& f)
    {
        for (;;)
        {
            const ssize_t nRead = ::read(m_fd, m_pBuf.get(), kChunk);
            if (nRead < 0 && errno == EINTR)
                continue;
            // a read error ends the file like its end does, keeping what was read
            m_bReadError = m_bReadError || nRead < 0;
            if (nRead <= 0 || !f(m_pBuf.get(), static_cast<size_t>(nRead)))
                return;
        }
    }
    bool Rewind()
    {
        const bool bOk = ::lseek(m_fd, 0, SEEK_SET) == 0;
        m_bReadError = m_bReadError || !bOk;
        return bOk;
    }
    bool HadReadError() const { return m_bReadError; }
    void BetweenPasses() const
    {
        if (m_betweenPasses)
            m_betweenPasses();
    }

private:
    static constexpr size_t kChunk = 1 << 16;
    int m_fd;
    std::unique_ptr<char[]> m_pBuf;
    std::function<void()> m_betweenPasses;
    bool m_bReadError = false;
};

// The start address is the last one of the scan that read the whole text.
template <class TText, class TSink> CStartAddress Scan(TText& text, TSink& sink)
{
    hexscan::CScanner<TSink> scanner(sink);
    text.ForEachChunk(
        [&](const char* p, size_t n)
        {
            scanner.Feed(p, n);
            return sink.WantsMore();
        });
    scanner.Finish();
    return scanner.StartAddress();
}

// False when the text turns out not to qualify, or changed between the passes: the
// caller then starts over record by record.
template <class TText>
bool ReadTwoPasses(CImageBuilder& builder, TText& text, int& nRecords, CStartAddress& start)
{
    const uint64_t nKey = NewRandomKey();
    CExtentSink where(nKey);
    Scan(text, where);
    nRecords = where.nRecords;
    if (!where.bDisjointSoFar || !SortExtents(where.extents))
        return false;
    // records that share a start extend no segment of each other: room for one each
    nRecords = static_cast<int>(std::min<size_t>(DistinctStarts(where.extents), INT_MAX));
    if (!JoinRuns(where.extents))
        return false;
    builder.Reserve(static_cast<int>(where.extents.size()));
    for (const CExtent& run : where.extents)
        if (!builder.AddZeroed(run.dwAddress, static_cast<int>(run.nLen)))
            return false;
    if (where.extents.empty())
        return true;
    std::vector<CExtent>().swap(where.extents);
    text.BetweenPasses();
    CFillSink fill(builder, nKey);
    if (!text.Rewind())
        return false;
    start = Scan(text, fill);
    return fill.SameRecordsAs(where);
}

// Reads record by record while the records come in ascending order without sharing
// addresses (the table then holds just the final segments). At the first record that
// goes back to an address no segment holds yet it stops: the order is descending or
// random, and two passes serve it better.
struct CFirstPassSink
{
    hexscan::CImageSink sink;
    bool bWatching = true;
    bool bRestart = false;
    uint64_t nPrevEnd = 0;

    bool HoldsAny(uint32_t dwAddress, int n) const
    {
        const MemoryImage& image = sink.builder.Image();
        const int nFound = LastStartingBelow(image, static_cast<uint64_t>(dwAddress) + n);
        return nFound >= 0 && image.GetAt(nFound)->GetEnd64() > dwAddress;
    }
    void Data(uint32_t dwAddress, const char* pPiece, int nLen, int n)
    {
        if (bRestart)
            return;
        if (bWatching)
        {
            if (DependsOnOrder(dwAddress, n))
                bWatching = false;
            else if (dwAddress >= nPrevEnd)
                nPrevEnd = static_cast<uint64_t>(dwAddress) + static_cast<uint64_t>(n);
            else
            {
                bWatching = false;
                if (!HoldsAny(dwAddress, n))
                {
                    bRestart = true;
                    return;
                }
            }
        }
        sink.Data(dwAddress, pPiece, nLen, n);
    }
    bool WantsMore() const { return !bRestart && sink.WantsMore(); }
};

// False with bOutOfMemory when a record could not be kept: the image is then empty.
template <class TText>
bool Load(MemoryImage& image, TText& text, const CReadSeams* pSeams, bool& bOutOfMemory)
{
    CStartAddress start;
    {
        CImageBuilder builder(image);
        if (pSeams)
            builder.SetFailHook(pSeams->failAllocation);
        CFirstPassSink first{{builder}};
        start = Scan(text, first);
        if (first.bRestart)
        {
            builder.Clear();
            if (!text.Rewind())
                return false;
            int nRecords = 0;
            if (!ReadTwoPasses(builder, text, nRecords, start))
            {
                builder.Clear();
                if (!text.Rewind())
                    return false;
                builder.Reserve(nRecords);
                hexscan::CImageSink sink{builder};
                start = Scan(text, sink);
            }
        }
        bOutOfMemory = builder.LostRecords();
    }
    if (bOutOfMemory)
    {
        image.DeleteAll();
        return false;
    }
    image.Coalesce();
    if (image.GetCount() == 0)
        return false;
    image.SetStartAddress(start);
    return true;
}
} // namespace

bool ReadHexText(MemoryImage& image, const char* pData, size_t nLen, const CReadSeams* pSeams)
{
    image.DeleteAll();
    CMemoryText text(pData, nLen);
    bool bOutOfMemory = false;
    return Load(image, text, pSeams, bOutOfMemory);
}

bool ReadHexFile(MemoryImage& image, const char* pszPath, CHexReadStatus* pStatus,
                 const CReadSeams* pSeams)
{
    CHexReadStatus status;
    // cleared before the file is opened, so a failed read never leaves old data behind
    image.DeleteAll();
    const CFileDescriptor fd(OpenRegularFile(pszPath, status));
    bool bOk = false;
    if (fd.Get() >= 0)
    {
#ifdef POSIX_FADV_SEQUENTIAL
        ::posix_fadvise(fd.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
        CFileText text(fd.Get(), pSeams ? pSeams->betweenPasses : nullptr);
        status.bOutOfMemory = !text.HasBuffer();
        bOk = text.HasBuffer() && Load(image, text, pSeams, status.bOutOfMemory);
        status.bReadError = text.HadReadError();
    }
    if (pStatus)
        *pStatus = status;
    return bOk;
}
