#include "ImageBuilder.h"
#include "SegmentEndIndex.h"

#include <climits>
#include <cstring>
#include <new>

CImageBuilder::CImageBuilder(MemoryImage& image) : m_target(image)
{
    m_image.Swap(image);
    for (int i = 0; i < m_image.GetCount(); ++i)
    {
        const MemorySegment* p = m_image.GetAt(i);
        m_capacity.push_back(p ? p->m_nSize : 0);
        NoteEnd(i);
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
    m_nMaxEnd = 0;
    m_nAtMaxEnd = -1;
    m_nIndexed = 0;
    m_nReserve = 0;
    m_bLost = false;
}

void CImageBuilder::Finish()
{
    if (!m_bOwning)
        return;
    m_bOwning = false;
    m_pIndex.reset();
    for (int i = 0; i < m_image.GetCount(); ++i)
        if (MemorySegment* p = m_image.GetAt(i))
            m_image.TrimBlock(p, m_capacity[static_cast<size_t>(i)]);
    std::vector<int>().swap(m_capacity);
    // the target is empty since the builder took it over
    m_target.Swap(m_image);
}

bool CImageBuilder::Lose()
{
    m_bLost = true;
    return false;
}

// A new last segment of nSize zero bytes. Null (and nothing added) when out of memory.
MemorySegment* CImageBuilder::AppendZeroed(uint32_t dwAddress, int nSize)
{
    if (Fails(EAlloc::Segment))
        return nullptr;
    try
    {
        m_capacity.push_back(nSize);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    MemorySegment* pSeg = m_image.AppendZeroed(dwAddress, nSize);
    if (!pSeg)
        m_capacity.pop_back();
    return pSeg;
}

bool CImageBuilder::AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    MemorySegment* pSeg = AppendZeroed(dwAddress, n);
    if (!pSeg)
        return Lose();
    if (n > 0)
        std::memcpy(pSeg->m_pBytes, pBytes, static_cast<size_t>(n));
    NoteEnd(m_image.GetCount() - 1);
    return true;
}

MemorySegment* CImageBuilder::AddZeroed(uint32_t dwAddress, int nSize)
{
    m_pIndex.reset();
    m_nIndexed = 0;
    MemorySegment* pSeg = AppendZeroed(dwAddress, nSize);
    if (pSeg)
        NoteEnd(m_image.GetCount() - 1);
    return pSeg;
}

void CImageBuilder::NoteEnd(int nIndex)
{
    const MemorySegment* p = m_image.GetAt(nIndex);
    if (!p)
        return;
    const uint64_t nEnd = p->GetEnd64();
    if (m_nAtMaxEnd < 0 || nEnd > m_nMaxEnd)
    {
        m_nMaxEnd = nEnd;
        m_nAtMaxEnd = nIndex;
    }
    else if (nEnd == m_nMaxEnd && nIndex < m_nAtMaxEnd)
        m_nAtMaxEnd = nIndex;
}

void CImageBuilder::Reserve(int nSegments)
{
    if (nSegments <= m_image.GetCount())
        return;
    m_nReserve = nSegments;
    // growing the table and the capacities at once saves their copies; a refusal only
    // leaves them to grow as segments come
    m_image.Reserve(nSegments);
    try
    {
        m_capacity.reserve(static_cast<size_t>(nSegments));
    }
    catch (const std::bad_alloc&)
    {
    }
}

bool CImageBuilder::Extend(int nIndex, const uint8_t* pBytes, int n)
{
    MemorySegment* pSeg = m_image.GetAt(nIndex);
    int& nCap = m_capacity[static_cast<size_t>(nIndex)];
    const long long nNeed = static_cast<long long>(pSeg->m_nSize) + n;
    if (nNeed > INT_MAX)
        return Lose();
    if (nNeed > nCap || (!pSeg->m_pBytes && nNeed > 0))
    {
        const int nNewCap =
            Fails(EAlloc::Block) ? 0 : m_image.GrowBlock(pSeg, nCap, static_cast<int>(nNeed));
        // a record whose bytes cannot be stored is dropped; the segment stays whole
        if (nNewCap == 0)
            return Lose();
        nCap = nNewCap;
    }
    if (n > 0)
        std::memcpy(pSeg->m_pBytes + pSeg->m_nSize, pBytes, static_cast<size_t>(n));
    const uint32_t dwOldEnd = pSeg->GetEnd();
    pSeg->m_nSize += n;
    NoteEnd(nIndex);
    if (!m_pIndex || nIndex >= m_nIndexed)
        return true;
    try
    {
        m_pIndex->Move(nIndex, dwOldEnd, pSeg->GetEnd());
    }
    catch (const std::bad_alloc&)
    {
        // the index is built again from the table at the next record
        m_pIndex.reset();
    }
    return true;
}

// Brings the index up to the whole table; false when it cannot be had.
bool CImageBuilder::IndexAll()
{
    try
    {
        if (!m_pIndex)
        {
            if (Fails(EAlloc::EndIndex))
                return false;
            m_pIndex = std::make_unique<CSegmentEndIndex>(m_image, m_nReserve);
            m_nIndexed = m_image.GetCount();
        }
        for (; m_nIndexed < m_image.GetCount(); ++m_nIndexed)
            m_pIndex->Append(m_nIndexed, m_image.GetAt(m_nIndexed)->GetEnd());
        return true;
    }
    catch (const std::bad_alloc&)
    {
        m_pIndex.reset();
        return false;
    }
}

bool CImageBuilder::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (n < 0)
        return true;
    if (!DependsOnOrder(dwAddress, n) && dwAddress >= m_nMaxEnd)
    {
        if (m_nAtMaxEnd >= 0 && dwAddress == m_nMaxEnd)
            return Extend(m_nAtMaxEnd, pBytes, n);
        return AppendNew(dwAddress, pBytes, n);
    }
    // without the index no record can be placed where it belongs
    if (!IndexAll())
        return Lose();
    const int nFound = m_pIndex->FirstEndingAt(dwAddress);
    if (nFound >= 0)
        return Extend(nFound, pBytes, n);
    return AppendNew(dwAddress, pBytes, n);
}
