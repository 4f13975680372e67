#include "SegmentEndIndex.h"
#include "MemoryImage.h"

#include <algorithm>
#include <utility>

namespace
{
size_t HashEnd(uint32_t dwEnd, size_t nMask)
{
    return (static_cast<size_t>(dwEnd) * 0x9E3779B97F4A7C15ull >> 20) & nMask;
}
} // namespace

CSegmentEndIndex::CSegmentEndIndex(MemorySegment* const* ppTable, int nCount, int nReserve)
{
    // reserved room is touched only as segments come, so a generous count costs nothing
    m_child.reserve(static_cast<size_t>(std::max(nCount, nReserve)));
    m_sibling.reserve(static_cast<size_t>(std::max(nCount, nReserve)));
    size_t nSlots = 16;
    while (nSlots < static_cast<size_t>(nCount) * 2 + 2)
        nSlots *= 2;
    m_slots.assign(nSlots, Slot{0, -1});
    m_child.assign(static_cast<size_t>(nCount), -1);
    m_sibling.assign(static_cast<size_t>(nCount), -1);
    for (int i = 0; i < nCount; ++i)
    {
        if (ppTable[i])
            Insert(i, ppTable[i]->GetEnd());
    }
}

size_t CSegmentEndIndex::Find(uint32_t dwEnd) const
{
    const size_t nMask = m_slots.size() - 1;
    size_t k = HashEnd(dwEnd, nMask);
    while (m_slots[k].nRoot >= 0 && m_slots[k].dwEnd != dwEnd)
        k = (k + 1) & nMask;
    return k;
}

int CSegmentEndIndex::FirstEndingAt(uint32_t dwEnd) const
{
    const int nRoot = m_slots[Find(dwEnd)].nRoot;
    if (m_nHot >= 0 && m_dwHotEnd == dwEnd && (nRoot < 0 || m_nHot < nRoot))
        return m_nHot;
    return nRoot;
}

// Pairing heap: the smaller table position becomes the root, the other its first child.
// A new segment (the largest position yet) is linked in at once; taking the root out
// pairs its children, which keeps that cheap on average however the heap was built.
int CSegmentEndIndex::Link(int a, int b)
{
    if (b < a)
        std::swap(a, b);
    m_sibling[static_cast<size_t>(b)] = m_child[static_cast<size_t>(a)];
    m_child[static_cast<size_t>(a)] = b;
    m_sibling[static_cast<size_t>(a)] = -1;
    return a;
}

int CSegmentEndIndex::LinkChildren(int nFirst)
{
    // first pass: link neighbours in pairs, left to right, into a list kept in reverse
    int nPairs = -1;
    while (nFirst >= 0)
    {
        const int a = nFirst;
        const int b = m_sibling[static_cast<size_t>(a)];
        nFirst = b >= 0 ? m_sibling[static_cast<size_t>(b)] : -1;
        const int nPair = b >= 0 ? Link(a, b) : a;
        m_sibling[static_cast<size_t>(nPair)] = nPairs;
        nPairs = nPair;
    }
    // second pass: link the pairs right to left into one heap
    int nRoot = -1;
    while (nPairs >= 0)
    {
        const int nNext = m_sibling[static_cast<size_t>(nPairs)];
        m_sibling[static_cast<size_t>(nPairs)] = -1;
        nRoot = nRoot < 0 ? nPairs : Link(nRoot, nPairs);
        nPairs = nNext;
    }
    return nRoot;
}

void CSegmentEndIndex::Rehash(size_t nSlots)
{
    std::vector<Slot> old(nSlots, Slot{0, -1});
    old.swap(m_slots);
    for (const Slot& s : old)
    {
        if (s.nRoot >= 0)
            m_slots[Find(s.dwEnd)] = s;
    }
}

void CSegmentEndIndex::Insert(int nIndex, uint32_t dwEnd)
{
    if ((m_nUsed + 1) * 2 > m_slots.size())
        Rehash(m_slots.size() * 2);
    m_child[static_cast<size_t>(nIndex)] = -1;
    m_sibling[static_cast<size_t>(nIndex)] = -1;
    Slot& s = m_slots[Find(dwEnd)];
    if (s.nRoot < 0)
    {
        s = Slot{dwEnd, nIndex};
        ++m_nUsed;
        return;
    }
    s.nRoot = Link(s.nRoot, nIndex);
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
        if (m_slots[k].nRoot < 0)
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
    m_slots[nHole] = Slot{0, -1};
    --m_nUsed;
}

void CSegmentEndIndex::RemoveFirst(uint32_t dwEnd)
{
    const size_t nSlot = Find(dwEnd);
    Slot& s = m_slots[nSlot];
    if (s.nRoot < 0)
        return;
    s.nRoot = LinkChildren(m_child[static_cast<size_t>(s.nRoot)]);
    if (s.nRoot < 0)
        EraseSlot(nSlot);
}

void CSegmentEndIndex::FlushHot()
{
    if (m_nHot >= 0)
        Insert(m_nHot, m_dwHotEnd);
    m_nHot = -1;
}

void CSegmentEndIndex::Move(int nIndex, uint32_t dwOldEnd, uint32_t dwNewEnd)
{
    if (nIndex != m_nHot)
    {
        FlushHot();
        RemoveFirst(dwOldEnd);
    }
    m_nHot = nIndex;
    m_dwHotEnd = dwNewEnd;
}

void CSegmentEndIndex::Append(int nIndex, uint32_t dwEnd)
{
    m_child.resize(static_cast<size_t>(nIndex) + 1, -1);
    m_sibling.resize(static_cast<size_t>(nIndex) + 1, -1);
    FlushHot();
    m_nHot = nIndex;
    m_dwHotEnd = dwEnd;
}
