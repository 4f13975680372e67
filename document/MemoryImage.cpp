#include "MemoryImage.h"
#include "ImageBuilder.h"
#include "SegmentPool.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

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
        return TRUE;
    }
    if (n > m_nCapacity)
    {
        // grow in whole steps beyond the current count
        const long long nNew =
            (static_cast<long long>(n - m_nCount) / m_nGrowBy + 1) * m_nGrowBy + m_nCount;
        if (nNew > INT_MAX / static_cast<long long>(sizeof(MemorySegment*)))
            return FALSE;
        void* pNew = std::realloc(m_ppSegments, static_cast<size_t>(nNew) * sizeof(MemorySegment*));
        if (!pNew)
            return FALSE;
        m_ppSegments = static_cast<MemorySegment**>(pNew);
        for (long long k = m_nCount; k < nNew; ++k)
            m_ppSegments[k] = nullptr;
        m_nCapacity = static_cast<int>(nNew);
    }
    m_nCount = n;
    return TRUE;
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
}

void MemoryImage::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    CImageBuilder builder(*this);
    builder.AddBytes(dwAddress, pBytes, n);
    builder.Finish();
}

void MemoryImage::Swap(MemoryImage& other) noexcept
{
    std::swap(m_nCount, other.m_nCount);
    std::swap(m_nCapacity, other.m_nCapacity);
    std::swap(m_nGrowBy, other.m_nGrowBy);
    std::swap(m_ppSegments, other.m_ppSegments);
    m_pPool.swap(other.m_pPool);
}
