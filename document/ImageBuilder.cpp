#include "ImageBuilder.h"
#include "SegmentEndIndex.h"

#include <climits>
#include <cstring>
#include <new>

CImageBuilder::CImageBuilder(MemoryImage& image) : m_target(image)
{
    m_image.Swap(image);
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
    m_nReserve = 0;
    m_bInOrder = true;
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
    return true;
}

MemorySegment* CImageBuilder::AddZeroed(uint32_t dwAddress, int nSize)
{
    m_pIndex.reset();
    m_bInOrder = false;
    return AppendZeroed(dwAddress, nSize);
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

// A record that starts at or after the end of every segment and shares no address.
bool CImageBuilder::IsInOrder(uint32_t dwAddress, int n) const
{
    if (!m_bInOrder || DependsOnOrder(dwAddress, n))
        return false;
    const MemorySegment* pLast = m_image.GetAt(m_image.GetCount() - 1);
    return !pLast || pLast->GetEnd64() <= dwAddress;
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
    if (!m_pIndex)
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

bool CImageBuilder::MakeIndex()
{
    if (Fails(EAlloc::EndIndex))
        return false;
    try
    {
        m_pIndex = std::make_unique<CSegmentEndIndex>(m_image, m_nReserve);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}

void CImageBuilder::IndexNewSegment(int nIndex)
{
    try
    {
        m_pIndex->Append(nIndex, m_image.GetAt(nIndex)->GetEnd());
    }
    catch (const std::bad_alloc&)
    {
        m_pIndex.reset();
    }
}

bool CImageBuilder::AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n)
{
    if (n < 0)
        return true;
    const int nLast = m_image.GetCount() - 1;
    if (IsInOrder(dwAddress, n))
    {
        if (nLast >= 0 && m_image.GetAt(nLast)->GetEnd64() == dwAddress)
            return Extend(nLast, pBytes, n);
        return AppendNew(dwAddress, pBytes, n);
    }
    m_bInOrder = false;
    // without the index no record can be placed where it belongs
    if (!m_pIndex && !MakeIndex())
        return Lose();
    const int nFound = m_pIndex->FirstEndingAt(dwAddress);
    if (nFound >= 0)
        return Extend(nFound, pBytes, n);
    if (!AppendNew(dwAddress, pBytes, n))
        return false;
    if (m_pIndex)
        IndexNewSegment(m_image.GetCount() - 1);
    return true;
}
