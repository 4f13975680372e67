#include "ImageBuilder.h"
#include "SegmentEndIndex.h"
#include "SegmentPool.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

CImageBuilder::CImageBuilder(MemoryImage& image) : m_target(image)
{
    m_image.Swap(image);
    m_nAllocated = m_nCapacityAtStart = m_image.m_nCapacity;
    m_bInOrder = m_image.GetCount() == 0;
    for (int i = 0; i < m_image.GetCount(); ++i)
    {
        const MemorySegment* p = m_image.GetAt(i);
        m_capacity.push_back(p ? p->m_nSize : 0);
    }
}

CImageBuilder::~CImageBuilder()
{
    Finish();
}

void CImageBuilder::Clear()
{
    m_pIndex.reset();
    m_capacity.clear();
    m_image.DeleteAll();
    m_nAllocated = m_nCapacityAtStart = m_nReserve = 0;
    m_bInOrder = true;
}

namespace
{
void TrimBlock(MemorySegment* p, int nCap)
{
    // pooled blocks are always exactly their size
    if (!p || !p->m_pBytes || nCap == p->m_nSize)
        return;
    if (p->m_nSize == 0)
    {
        std::free(p->m_pBytes);
        p->m_pBytes = nullptr;
        return;
    }
    // shrinking cannot lose data; if the allocator refuses, the block simply keeps its room
    if (void* pNew = std::realloc(p->m_pBytes, static_cast<size_t>(p->m_nSize)))
        p->m_pBytes = static_cast<uint8_t*>(pNew);
}
} // namespace

void CImageBuilder::Finish()
{
    if (!m_bOwning)
        return;
    m_bOwning = false;
    m_pIndex.reset();
    MemoryImage& image = m_image;
    for (int i = 0; i < image.m_nCount; ++i)
        TrimBlock(image.m_ppSegments[i], m_capacity[static_cast<size_t>(i)]);
    std::vector<int>().swap(m_capacity);
    if (image.m_nCount > m_nCapacityAtStart || m_nAllocated > image.m_nCapacity)
        FitTable();
    // the target is empty since the builder took it over
    m_target.Swap(image);
}

// Gives the table the capacity that adding its entries one by one would have given.
void CImageBuilder::FitTable()
{
    MemoryImage& image = m_image;
    const long long nSteps =
        (image.m_nCount - m_nCapacityAtStart + image.m_nGrowBy - 1) / image.m_nGrowBy;
    const long long nCapacity = m_nCapacityAtStart + nSteps * image.m_nGrowBy;
    image.m_nCapacity = m_nAllocated;
    if (nCapacity == 0)
    {
        std::free(image.m_ppSegments);
        image.m_ppSegments = nullptr;
        image.m_nCapacity = 0;
        return;
    }
    if (nCapacity != m_nAllocated &&
        nCapacity <= INT_MAX / static_cast<long long>(sizeof(MemorySegment*)))
    {
        if (void* pNew = std::realloc(image.m_ppSegments,
                                      static_cast<size_t>(nCapacity) * sizeof(MemorySegment*)))
        {
            image.m_ppSegments = static_cast<MemorySegment**>(pNew);
            image.m_nCapacity = static_cast<int>(nCapacity);
        }
    }
    for (int k = image.m_nCount; k < image.m_nCapacity; ++k)
        image.m_ppSegments[k] = nullptr;
}

bool CImageBuilder::AppendEntry(MemorySegment* pSeg)
{
    MemoryImage& image = m_image;
    if (image.m_nCount == INT_MAX ||
        image.m_nCount >= INT_MAX / static_cast<int>(sizeof(MemorySegment*)))
        return false;
    if (image.m_nCount == m_nAllocated)
    {
        // geometric growth, so a table of a million segments is not moved 140,000 times
        long long nAlloc =
            std::max<long long>(m_nAllocated + image.m_nGrowBy, m_nAllocated * 3LL / 2);
        nAlloc =
            std::min<long long>(nAlloc, INT_MAX / static_cast<long long>(sizeof(MemorySegment*)));
        void* pNew =
            std::realloc(image.m_ppSegments, static_cast<size_t>(nAlloc) * sizeof(MemorySegment*));
        if (!pNew)
            return false;
        image.m_ppSegments = static_cast<MemorySegment**>(pNew);
        m_nAllocated = static_cast<int>(nAlloc);
    }
    try
    {
        m_capacity.push_back(pSeg->m_nSize);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    image.m_ppSegments[image.m_nCount++] = pSeg;
    image.m_nCapacity = std::max(image.m_nCapacity, image.m_nCount);
    return true;
}

// A new last segment of nSize zero bytes: record and short block from the pool, a
// longer block from the heap. Null (and nothing added) when out of memory.
MemorySegment* CImageBuilder::AppendZeroed(uint32_t dwAddress, int nSize)
{
    CSegmentPool* pPool = m_image.Pool();
    MemorySegment* pSeg = pPool ? pPool->NewRecord() : nullptr;
    if (!pSeg)
        return nullptr;
    pSeg->m_dwAddress = dwAddress;
    if (nSize > 0)
    {
        pSeg->m_pBytes = nSize <= CSegmentPool::kMaxBlock
                             ? pPool->NewBlock(nSize)
                             : static_cast<uint8_t*>(std::calloc(static_cast<size_t>(nSize), 1));
        if (!pSeg->m_pBytes)
            return nullptr;
        pSeg->m_nSize = nSize;
    }
    // when the table cannot grow the record is dropped
    if (!AppendEntry(pSeg))
    {
        m_image.DestroySegment(pSeg);
        return nullptr;
    }
    return pSeg;
}

MemorySegment* CImageBuilder::AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    MemorySegment* pSeg = AppendZeroed(dwAddress, n);
    if (pSeg && n > 0)
        std::memcpy(pSeg->m_pBytes, pBytes, static_cast<size_t>(n));
    return pSeg;
}

MemorySegment* CImageBuilder::AddZeroed(uint32_t dwAddress, int nSize)
{
    m_pIndex.reset();
    m_bInOrder = false;
    // zeroed, so a byte that no record fills can never be stale memory
    return AppendZeroed(dwAddress, nSize);
}

void CImageBuilder::Reserve(int nSegments)
{
    if (nSegments <= m_image.m_nCount)
        return;
    m_nReserve = nSegments;
    if (CSegmentPool* pPool = m_image.Pool())
        pPool->ReserveRecords(static_cast<size_t>(nSegments - m_image.m_nCount));
    // growing the table and the capacities at once saves their copies; pages that stay
    // unused are never touched
    if (nSegments > m_nAllocated && nSegments <= INT_MAX / static_cast<int>(sizeof(MemorySegment*)))
    {
        if (void* pNew = std::realloc(m_image.m_ppSegments,
                                      static_cast<size_t>(nSegments) * sizeof(MemorySegment*)))
        {
            m_image.m_ppSegments = static_cast<MemorySegment**>(pNew);
            m_nAllocated = nSegments;
        }
    }
    try
    {
        m_capacity.reserve(static_cast<size_t>(nSegments));
    }
    catch (const std::bad_alloc&)
    {
    }
}

bool CImageBuilder::GrowBlock(int nIndex, int nExtra)
{
    MemorySegment* pSeg = m_image.m_ppSegments[nIndex];
    int& nCap = m_capacity[static_cast<size_t>(nIndex)];
    const long long nNeed = static_cast<long long>(pSeg->m_nSize) + nExtra;
    if (nNeed > INT_MAX)
        return false;
    if (nNeed <= nCap && (pSeg->m_pBytes || nNeed == 0))
        return true;
    long long nNewCap = std::max<long long>({nNeed, static_cast<long long>(nCap) + nCap / 2, 64});
    nNewCap = std::min<long long>(nNewCap, INT_MAX);
    void* pNew = m_image.ResizeBlock(pSeg, static_cast<size_t>(nNewCap));
    if (!pNew && nNewCap > nNeed)
    {
        nNewCap = nNeed;
        pNew = m_image.ResizeBlock(pSeg, static_cast<size_t>(nNewCap));
    }
    if (!pNew)
        return false;
    pSeg->m_pBytes = static_cast<uint8_t*>(pNew);
    nCap = static_cast<int>(nNewCap);
    return true;
}

// A record that starts at or after the end of every segment, shares no address, and
// does not run past 0xFFFFFFFF.
bool CImageBuilder::IsInOrder(uint32_t dwAddress, int n) const
{
    if (!m_bInOrder || n <= 0 ||
        static_cast<uint64_t>(dwAddress) + static_cast<uint64_t>(n) >= 0x100000000ull)
        return false;
    const MemorySegment* pLast = m_image.GetAt(m_image.GetCount() - 1);
    return !pLast || pLast->GetEnd64() <= dwAddress;
}

void CImageBuilder::Extend(int nIndex, const uint8_t* pBytes, int n)
{
    MemorySegment* pSeg = m_image.m_ppSegments[nIndex];
    // a record whose bytes cannot be stored is dropped; the segment stays whole
    if (!GrowBlock(nIndex, n))
        return;
    if (n > 0)
        std::memcpy(pSeg->m_pBytes + pSeg->m_nSize, pBytes, static_cast<size_t>(n));
    const uint32_t dwOldEnd = pSeg->GetEnd();
    pSeg->m_nSize += n;
    if (!m_pIndex)
        return;
    try
    {
        m_pIndex->Move(nIndex, dwOldEnd, pSeg->GetEnd());
    }
    catch (const std::bad_alloc&)
    {
        // the index is built again from the table at the next record
        m_pIndex.reset();
    }
}

void CImageBuilder::IndexNewSegment(int nIndex)
{
    try
    {
        m_pIndex->Append(nIndex, m_image.m_ppSegments[nIndex]->GetEnd());
    }
    catch (const std::bad_alloc&)
    {
        m_pIndex.reset();
    }
}

void CImageBuilder::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (n < 0)
        return;
    const int nLast = m_image.GetCount() - 1;
    if (IsInOrder(dwAddress, n))
    {
        if (nLast >= 0 && m_image.m_ppSegments[nLast]->GetEnd64() == dwAddress)
            Extend(nLast, pBytes, n);
        else
            AppendNew(dwAddress, pBytes, n);
        return;
    }
    m_bInOrder = false;
    if (!m_pIndex)
    {
        try
        {
            m_pIndex = std::make_unique<CSegmentEndIndex>(m_image.m_ppSegments, m_image.m_nCount,
                                                          m_nReserve);
        }
        catch (const std::bad_alloc&)
        {
            return;
        }
    }
    const int nFound = m_pIndex->FirstEndingAt(dwAddress);
    if (nFound >= 0)
    {
        Extend(nFound, pBytes, n);
        return;
    }
    if (AppendNew(dwAddress, pBytes, n) && m_pIndex)
        IndexNewSegment(m_image.GetCount() - 1);
}
