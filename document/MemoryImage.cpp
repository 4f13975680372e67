#include "MemoryImage.h"
#include "SegmentEndIndex.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

void DestroySegment(MemorySegment* p)
{
    if (!p)
        return;
    if (p->m_pBytes)
    {
        std::free(p->m_pBytes);
        p->m_pBytes = nullptr;
    }
    delete p;
}

MemoryImage::MemoryImage() : m_nCount(0), m_nCapacity(0), m_nGrowBy(7), m_ppSegments(nullptr) {}

MemoryImage::~MemoryImage()
{
    DeleteAll();
}

MemorySegment* MemoryImage::GetAt(int i) const
{
    if (!m_ppSegments || i < 0 || i >= m_nCount)
        return nullptr;
    return m_ppSegments[i];
}

BOOL MemoryImage::SetSize(int n)
{
    if (n < 0)
        return FALSE;
    if (n == 0)
    {
        std::free(m_ppSegments);
        m_ppSegments = nullptr;
        m_nCount = 0;
        m_nCapacity = 0;
        m_nAllocated = 0;
        return TRUE;
    }
    if (n > m_nCapacity)
    {
        // grow in whole steps beyond the current count, as the table always has
        const long long nNew =
            (static_cast<long long>(n - m_nCount) / m_nGrowBy + 1) * m_nGrowBy + m_nCount;
        if (nNew > INT_MAX / static_cast<long long>(sizeof(MemorySegment*)))
            return FALSE;
        if (nNew > m_nAllocated && !Reserve(static_cast<int>(nNew)))
            return FALSE;
        for (long long k = m_nCount; k < nNew; ++k)
            m_ppSegments[k] = nullptr;
        m_nCapacity = static_cast<int>(nNew);
    }
    m_nCount = n;
    return TRUE;
}

bool MemoryImage::Reserve(int nEntries)
{
    // The table keeps the capacity of its growth steps, but behind it the allocation
    // grows geometrically, so a table of a million segments is not moved 140,000 times.
    long long nAlloc = std::max<long long>(nEntries, static_cast<long long>(m_nAllocated) * 3 / 2);
    nAlloc = std::min<long long>(nAlloc, INT_MAX / static_cast<long long>(sizeof(MemorySegment*)));
    void* pNew = std::realloc(m_ppSegments, static_cast<size_t>(nAlloc) * sizeof(MemorySegment*));
    if (!pNew && nAlloc > nEntries)
    {
        nAlloc = nEntries;
        pNew = std::realloc(m_ppSegments, static_cast<size_t>(nAlloc) * sizeof(MemorySegment*));
    }
    if (!pNew)
        return false;
    m_ppSegments = static_cast<MemorySegment**>(pNew);
    for (long long k = m_nAllocated; k < nAlloc; ++k)
        m_ppSegments[k] = nullptr;
    m_nAllocated = static_cast<int>(nAlloc);
    return true;
}

void MemoryImage::SetAtGrow(int i, MemorySegment* p)
{
    Trim();
    if (i < 0)
        return;
    if (i >= m_nCount && !SetSize(i + 1))
        return;
    m_ppSegments[i] = p;
}

void MemoryImage::Add(MemorySegment* p)
{
    SetAtGrow(m_nCount, p);
}

void MemoryImage::RemoveAt(int i)
{
    if (i < 0 || i >= m_nCount)
        return;
    Trim();
    DestroySegment(m_ppSegments[i]);
    std::memmove(m_ppSegments + i, m_ppSegments + i + 1,
                 static_cast<size_t>(m_nCount - i - 1) * sizeof(MemorySegment*));
    m_ppSegments[m_nCount - 1] = nullptr;
    --m_nCount;
}

void MemoryImage::DeleteAll()
{
    m_pEndIndex.reset();
    m_nTailCap = -1;
    for (int i = 0; i < m_nCount; ++i)
    {
        DestroySegment(m_ppSegments[i]);
        m_ppSegments[i] = nullptr;
    }
    SetSize(0);
}

void MemoryImage::Swap(MemoryImage& other) noexcept
{
    std::swap(m_nCount, other.m_nCount);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_nGrowBy, other.m_nGrowBy);
    std::swap(m_ppSegments, other.m_ppSegments);
    std::swap(m_nAllocated, other.m_nAllocated);
    std::swap(m_nTailCap, other.m_nTailCap);
    std::swap(m_pEndIndex, other.m_pEndIndex);
}

namespace
{
void TrimBlock(MemorySegment* p, int nCap)
{
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

void MemoryImage::Trim()
{
    if (m_nTailCap >= 0 && m_nCount > 0)
        TrimBlock(m_ppSegments[m_nCount - 1], m_nTailCap);
    m_nTailCap = -1;
    if (!m_pEndIndex)
        return;
    const std::vector<int>& caps = m_pEndIndex->Capacities();
    for (int i = 0; i < m_nCount && i < static_cast<int>(caps.size()); ++i)
        TrimBlock(m_ppSegments[i], caps[static_cast<size_t>(i)]);
    m_pEndIndex.reset();
}

bool MemoryImage::GrowBlock(MemorySegment* pSeg, int nExtra, int& nCap)
{
    const long long nNeed = static_cast<long long>(pSeg->m_nSize) + nExtra;
    if (nNeed > INT_MAX)
        return false;
    if (nNeed <= nCap && (pSeg->m_pBytes || nNeed == 0))
        return true;
    // geometric growth keeps a long run of appended records linear in cost
    long long nNewCap = std::max<long long>(nNeed, static_cast<long long>(nCap) + nCap / 2);
    nNewCap = std::max<long long>(nNewCap, 64);
    nNewCap = std::min<long long>(nNewCap, INT_MAX);
    void* pNew = std::realloc(pSeg->m_pBytes, static_cast<size_t>(nNewCap));
    if (!pNew && nNewCap > nNeed)
    {
        nNewCap = nNeed;
        pNew = std::realloc(pSeg->m_pBytes, static_cast<size_t>(nNewCap));
    }
    if (!pNew)
        return false;
    pSeg->m_pBytes = static_cast<uint8_t*>(pNew);
    nCap = static_cast<int>(nNewCap);
    return true;
}

void MemoryImage::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (n < 0)
        return;
    if (!m_pEndIndex)
    {
        Trim();
        m_pEndIndex = std::make_unique<CSegmentEndIndex>(*this);
    }

    const int nFound = m_pEndIndex->FirstEndingAt(dwAddress);
    if (nFound >= 0)
    {
        MemorySegment* pSeg = m_ppSegments[nFound];
        // a record whose bytes cannot be stored is dropped; the segment stays whole
        if (!GrowBlock(pSeg, n, m_pEndIndex->Capacity(nFound)))
            return;
        if (n > 0)
            std::memcpy(pSeg->m_pBytes + pSeg->m_nSize, pBytes, static_cast<size_t>(n));
        const uint32_t dwOldEnd = pSeg->GetEnd();
        pSeg->m_nSize += n;
        try
        {
            m_pEndIndex->Move(nFound, dwOldEnd, pSeg->GetEnd());
        }
        catch (const std::bad_alloc&)
        {
            // the index is rebuilt from the table on the next record
            Trim();
        }
        return;
    }

    const int nIndex = m_nCount;
    MemorySegment* pSeg = AppendNew(dwAddress, pBytes, n);
    if (pSeg && !m_pEndIndex->Append(nIndex, pSeg))
    {
        m_ppSegments[nIndex] = nullptr;
        m_nCount = nIndex;
        DestroySegment(pSeg);
    }
}

MemorySegment* MemoryImage::AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    MemorySegment* pSeg = new (std::nothrow) MemorySegment;
    if (!pSeg)
        return nullptr;
    pSeg->m_dwAddress = dwAddress;
    if (n > 0)
    {
        pSeg->m_pBytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(n)));
        if (!pSeg->m_pBytes)
        {
            delete pSeg;
            return nullptr;
        }
        std::memcpy(pSeg->m_pBytes, pBytes, static_cast<size_t>(n));
        pSeg->m_nSize = n;
    }
    // when the table cannot grow the record is dropped, as it always was
    const int nIndex = m_nCount;
    if (nIndex == INT_MAX || !SetSize(nIndex + 1))
    {
        DestroySegment(pSeg);
        return nullptr;
    }
    m_ppSegments[nIndex] = pSeg;
    return pSeg;
}

void MemoryImage::AppendInOrder(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (m_pEndIndex || n <= 0)
    {
        AddBytes(dwAddress, pBytes, n);
        return;
    }
    MemorySegment* pLast = m_nCount > 0 ? m_ppSegments[m_nCount - 1] : nullptr;
    if (pLast && pLast->GetEnd64() == dwAddress)
    {
        if (m_nTailCap < 0)
            m_nTailCap = pLast->m_nSize;
        if (!GrowBlock(pLast, n, m_nTailCap))
            return;
        std::memcpy(pLast->m_pBytes + pLast->m_nSize, pBytes, static_cast<size_t>(n));
        pLast->m_nSize += n;
        return;
    }
    Trim();
    AppendNew(dwAddress, pBytes, n);
}
