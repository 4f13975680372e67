#include "MemoryImage.h"
#include "SegmentPool.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace
{
// the largest table whose size in bytes still fits an int
constexpr long long kMaxTable = INT_MAX / static_cast<long long>(sizeof(MemorySegment*));
} // namespace

bool MemoryImage::IsPooled(const void* p) const
{
    return m_pPool && m_pPool->Owns(p);
}

void* MemoryImage::ResizeBlock(const MemorySegment* p, size_t nBytes)
{
    if (!IsPooled(p->m_pBytes))
        return std::realloc(p->m_pBytes, nBytes);
    void* pNew = std::malloc(nBytes);
    if (pNew)
        std::memcpy(pNew, p->m_pBytes, static_cast<size_t>(p->m_nSize));
    return pNew;
}

CSegmentPool* MemoryImage::Pool()
{
    if (!m_pPool)
        m_pPool.reset(new (std::nothrow) CSegmentPool);
    return m_pPool.get();
}

void MemoryImage::DestroySegment(MemorySegment* p)
{
    if (!p)
        return;
    if (p->m_pBytes && !IsPooled(p->m_pBytes))
        std::free(p->m_pBytes);
    p->m_pBytes = nullptr;
    if (!IsPooled(p))
        delete p;
}

MemoryImage::MemoryImage() : m_nCount(0), m_nCapacity(0), m_nGrowBy(7), m_ppSegments(nullptr) {}

MemoryImage::~MemoryImage()
{
    DeleteAll();
}

bool MemoryImage::ReallocTable(long long nCapacity)
{
    if (nCapacity > kMaxTable)
        return false;
    void* pNew =
        std::realloc(m_ppSegments, static_cast<size_t>(nCapacity) * sizeof(MemorySegment*));
    if (!pNew)
        return false;
    m_ppSegments = static_cast<MemorySegment**>(pNew);
    for (long long k = m_nCapacity; k < nCapacity; ++k)
        m_ppSegments[k] = nullptr;
    m_nCapacity = static_cast<int>(nCapacity);
    return true;
}

bool MemoryImage::SetSize(int n)
{
    if (n < 0)
        return false;
    if (n == 0)
    {
        std::free(m_ppSegments);
        m_ppSegments = nullptr;
        m_nCount = 0;
        m_nCapacity = 0;
        return true;
    }
    // grow in whole steps beyond the current count
    if (n > m_nCapacity &&
        !ReallocTable((static_cast<long long>(n - m_nCount) / m_nGrowBy + 1) * m_nGrowBy +
                      m_nCount))
        return false;
    m_nCount = n;
    return true;
}

void MemoryImage::SetAtGrow(int i, MemorySegment* p)
{
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
    DestroySegment(m_ppSegments[i]);
    std::memmove(m_ppSegments + i, m_ppSegments + i + 1,
                 static_cast<size_t>(m_nCount - i - 1) * sizeof(MemorySegment*));
    m_ppSegments[m_nCount - 1] = nullptr;
    --m_nCount;
}

void MemoryImage::DeleteAll()
{
    for (int i = 0; i < m_nCount; ++i)
    {
        DestroySegment(m_ppSegments[i]);
        m_ppSegments[i] = nullptr;
    }
    SetSize(0);
    m_pPool.reset();
    m_start = CStartAddress();
}

bool MemoryImage::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (n < 0)
        return true;
    for (int i = 0; i < m_nCount; ++i)
    {
        MemorySegment* p = m_ppSegments[i];
        if (!p || p->GetEnd() != dwAddress)
            continue;
        if (n == 0)
            return true;
        if (static_cast<long long>(p->m_nSize) + n > INT_MAX)
            return false;
        void* pNew = ResizeBlock(p, static_cast<size_t>(p->m_nSize) + static_cast<size_t>(n));
        if (!pNew)
            return false;
        p->m_pBytes = static_cast<uint8_t*>(pNew);
        std::memcpy(p->m_pBytes + p->m_nSize, pBytes, static_cast<size_t>(n));
        p->m_nSize += n;
        return true;
    }
    MemorySegment* p = AppendZeroed(dwAddress, n);
    if (p && n > 0)
        std::memcpy(p->m_pBytes, pBytes, static_cast<size_t>(n));
    return p != nullptr;
}

MemorySegment* MemoryImage::AppendZeroed(uint32_t dwAddress, int nSize)
{
    if (m_nCount == m_nCapacity &&
        !ReallocTable(std::max<long long>(m_nCapacity + m_nGrowBy, m_nCapacity * 3LL / 2)))
        return nullptr;
    CSegmentPool* pPool = Pool();
    MemorySegment* pSeg = pPool ? pPool->NewRecord() : nullptr;
    if (!pSeg)
        return nullptr;
    pSeg->m_dwAddress = dwAddress;
    if (nSize > 0)
    {
        // zeroed, so a byte that no record fills can never be stale memory
        pSeg->m_pBytes = nSize <= CSegmentPool::kMaxBlock
                             ? pPool->NewBlock(nSize)
                             : static_cast<uint8_t*>(std::calloc(static_cast<size_t>(nSize), 1));
        if (!pSeg->m_pBytes)
            return nullptr;
        pSeg->m_nSize = nSize;
    }
    m_ppSegments[m_nCount++] = pSeg;
    return pSeg;
}

bool MemoryImage::Reserve(int nSegments)
{
    if (nSegments <= m_nCount)
        return true;
    if (CSegmentPool* pPool = Pool())
        pPool->ReserveRecords(static_cast<size_t>(nSegments - m_nCount));
    // pages of the table that stay unused are never touched
    return nSegments <= m_nCapacity || ReallocTable(nSegments);
}

int MemoryImage::GrowBlock(MemorySegment* p, int nCapacity, int nNeed)
{
    const bool bPooled = !p->m_pBytes || IsPooled(p->m_pBytes);
    if (bPooled && nNeed <= CSegmentPool::kMaxBlock)
    {
        CSegmentPool* pPool = Pool();
        if (!pPool)
            return 0;
        // the block carved last grows where it is, by exactly what comes
        if (p->m_pBytes && pPool->ResizeLast(p->m_pBytes, nCapacity, nNeed))
            return nNeed;
        const int nNew = std::min(CSegmentPool::kMaxBlock, std::max(nNeed, 2 * nCapacity));
        uint8_t* pNew = pPool->NewBlock(nNew);
        if (!pNew)
            return 0;
        if (p->m_nSize > 0)
            std::memcpy(pNew, p->m_pBytes, static_cast<size_t>(p->m_nSize));
        if (p->m_pBytes)
            pPool->ReleaseBlock(p->m_pBytes, nCapacity);
        p->m_pBytes = pNew;
        return nNew;
    }
    long long nNew = std::max<long long>(nNeed, nCapacity + nCapacity / 2);
    nNew = std::min<long long>(nNew, INT_MAX);
    void* pNew = ResizeBlock(p, static_cast<size_t>(nNew));
    if (!pNew && nNew > nNeed)
        pNew = ResizeBlock(p, static_cast<size_t>(nNew = nNeed));
    if (!pNew)
        return 0;
    if (bPooled && p->m_pBytes)
        m_pPool->ReleaseBlock(p->m_pBytes, nCapacity);
    p->m_pBytes = static_cast<uint8_t*>(pNew);
    return static_cast<int>(nNew);
}

void MemoryImage::TrimBlock(MemorySegment* p, int nCapacity)
{
    if (!p->m_pBytes || nCapacity == p->m_nSize)
        return;
    if (IsPooled(p->m_pBytes))
    {
        m_pPool->ResizeLast(p->m_pBytes, nCapacity, p->m_nSize);
        if (p->m_nSize == 0)
            p->m_pBytes = nullptr;
        return;
    }
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

void MemoryImage::Swap(MemoryImage& other) noexcept
{
    std::swap(m_nCount, other.m_nCount);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_nGrowBy, other.m_nGrowBy);
    std::swap(m_ppSegments, other.m_ppSegments);
    m_pPool.swap(other.m_pPool);
    std::swap(m_start, other.m_start);
}
