#include "SegmentEndIndex.h"
#include "MemoryImage.h"

namespace
{
size_t HashEnd(uint32_t dwEnd, size_t nMask)
{
    return (static_cast<size_t>(dwEnd) * 0x9E3779B97F4A7C15ull >> 20) & nMask;
}
} // namespace

CSegmentEndIndex::CSegmentEndIndex(const MemoryImage& image)
{
    const int nCount = image.GetCount();
    size_t nSlots = 16;
    while (nSlots < static_cast<size_t>(nCount) * 2 + 2)
        nSlots *= 2;
    m_slots.assign(nSlots, Slot{0, -1, -1});
    m_next.reserve(static_cast<size_t>(nCount));
    m_capacity.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        m_next.push_back(-1);
        m_capacity.push_back(p ? p->m_nSize : 0);
        if (p)
            Insert(i, p->GetEnd());
    }
}

size_t CSegmentEndIndex::Find(uint32_t dwEnd) const
{
    const size_t nMask = m_slots.size() - 1;
    size_t k = HashEnd(dwEnd, nMask);
    while (m_slots[k].nHead >= 0 && m_slots[k].dwEnd != dwEnd)
        k = (k + 1) & nMask;
    return k;
}

int CSegmentEndIndex::FirstEndingAt(uint32_t dwEnd) const
{
    const int nHead = m_slots[Find(dwEnd)].nHead;
    if (m_nHot >= 0 && m_dwHotEnd == dwEnd && (nHead < 0 || m_nHot < nHead))
        return m_nHot;
    return nHead;
}

void CSegmentEndIndex::FlushHot()
{
    if (m_nHot >= 0)
        Insert(m_nHot, m_dwHotEnd);
    m_nHot = -1;
}

void CSegmentEndIndex::Rehash(size_t nSlots)
{
    std::vector<Slot> old(nSlots, Slot{0, -1, -1});
    old.swap(m_slots);
    for (const Slot& s : old)
    {
        if (s.nHead >= 0)
            m_slots[Find(s.dwEnd)] = s;
    }
}

void CSegmentEndIndex::Insert(int nIndex, uint32_t dwEnd)
{
    if ((m_nUsed + 1) * 2 > m_slots.size())
        Rehash(m_slots.size() * 2);
    Slot& s = m_slots[Find(dwEnd)];
    m_next[static_cast<size_t>(nIndex)] = -1;
    if (s.nHead < 0)
    {
        s = Slot{dwEnd, nIndex, nIndex};
        ++m_nUsed;
        return;
    }
    // keep each list in table order; new segments come last, so the tail is the usual place
    if (nIndex > s.nTail)
    {
        m_next[static_cast<size_t>(s.nTail)] = nIndex;
        s.nTail = nIndex;
        return;
    }
    if (nIndex < s.nHead)
    {
        m_next[static_cast<size_t>(nIndex)] = s.nHead;
        s.nHead = nIndex;
        return;
    }
    int k = s.nHead;
    while (m_next[static_cast<size_t>(k)] >= 0 && m_next[static_cast<size_t>(k)] < nIndex)
        k = m_next[static_cast<size_t>(k)];
    m_next[static_cast<size_t>(nIndex)] = m_next[static_cast<size_t>(k)];
    m_next[static_cast<size_t>(k)] = nIndex;
}

void CSegmentEndIndex::EraseSlot(size_t nSlot)
{
    // backward-shift deletion keeps every probe run unbroken
    const size_t nMask = m_slots.size() - 1;
    size_t nHole = nSlot;
    size_t k = nSlot;
    for (;;)
    {
        k = (k + 1) & nMask;
        if (m_slots[k].nHead < 0)
            break;
        const size_t nHome = HashEnd(m_slots[k].dwEnd, nMask);
        const bool bMovable = (nHole <= k) ? (nHome <= nHole || nHome > k)
                                           : (nHome <= nHole && nHome > k);
        if (bMovable)
        {
            m_slots[nHole] = m_slots[k];
            nHole = k;
        }
    }
    m_slots[nHole] = Slot{0, -1, -1};
    --m_nUsed;
}

void CSegmentEndIndex::Remove(int nIndex, uint32_t dwEnd)
{
    const size_t nSlot = Find(dwEnd);
    Slot& s = m_slots[nSlot];
    if (s.nHead < 0)
        return;
    const int nNext = m_next[static_cast<size_t>(nIndex)];
    if (s.nHead == nIndex)
    {
        if (nNext < 0)
        {
            EraseSlot(nSlot);
            return;
        }
        s.nHead = nNext;
        return;
    }
    int k = s.nHead;
    while (k >= 0 && m_next[static_cast<size_t>(k)] != nIndex)
        k = m_next[static_cast<size_t>(k)];
    if (k < 0)
        return;
    m_next[static_cast<size_t>(k)] = nNext;
    if (s.nTail == nIndex)
        s.nTail = k;
}

void CSegmentEndIndex::Move(int nIndex, uint32_t dwOldEnd, uint32_t dwNewEnd)
{
    if (nIndex == m_nHot)
    {
        m_dwHotEnd = dwNewEnd;
        return;
    }
    FlushHot();
    Remove(nIndex, dwOldEnd);
    m_nHot = nIndex;
    m_dwHotEnd = dwNewEnd;
}

bool CSegmentEndIndex::Append(int nIndex, const MemorySegment* pSeg)
{
    try
    {
        m_next.resize(static_cast<size_t>(nIndex) + 1, -1);
        m_capacity.resize(static_cast<size_t>(nIndex) + 1, 0);
        m_capacity[static_cast<size_t>(nIndex)] = pSeg->m_nSize;
        FlushHot();
        m_nHot = nIndex;
        m_dwHotEnd = pSeg->GetEnd();
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    return true;
}
