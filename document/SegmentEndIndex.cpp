#include "SegmentEndIndex.h"
#include "RandomKey.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

CSegmentEndIndex::CSegmentEndIndex(const MemoryImage& image, int nReserve)
{
    uint64_t nState = NewRandomKey();
    for (auto& table : m_keys)
        for (size_t& nKey : table)
        {
            // splitmix64 steps: every key word from the one seed
            uint64_t z = nState += 0x9E3779B97F4A7C15ull;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            nKey = static_cast<size_t>(z ^ (z >> 31));
        }
    const int nCount = image.GetCount();
    const size_t nRoom = static_cast<size_t>(std::max(nCount, nReserve));
    m_child.reserve(nRoom);
    m_sibling.reserve(nRoom);
    // filled up to three quarters at most, as Insert keeps it
    size_t nSlots = 16;
    while (nSlots * 3 < nRoom * 4 + 4)
        nSlots *= 2;
    m_pSlots = NewSlots(nSlots);
    m_nSlots = nSlots;
    m_child.assign(static_cast<size_t>(nCount), -1);
    m_sibling.assign(static_cast<size_t>(nCount), -1);
    for (int i = 0; i < nCount; ++i)
    {
        if (const MemorySegment* p = image.GetAt(i))
            Insert(i, p->GetEnd());
    }
}

void CSegmentEndIndex::CFree::operator()(Slot* p) const
{
    std::free(p);
}

CSegmentEndIndex::CSlots CSegmentEndIndex::NewSlots(size_t nSlots)
{
    CSlots pSlots(static_cast<Slot*>(std::calloc(nSlots, sizeof(Slot))));
    if (!pSlots)
        throw std::bad_alloc();
    return pSlots;
}

size_t CSegmentEndIndex::Hash(uint32_t dwEnd) const
{
    return (m_keys[0][dwEnd & 0xFF] ^ m_keys[1][dwEnd >> 8 & 0xFF] ^ m_keys[2][dwEnd >> 16 & 0xFF] ^
            m_keys[3][dwEnd >> 24]) &
           (m_nSlots - 1);
}

size_t CSegmentEndIndex::Find(uint32_t dwEnd) const
{
    const size_t nMask = m_nSlots - 1;
    size_t k = Hash(dwEnd);
    while (m_pSlots[k].nRootPlus1 != 0 && m_pSlots[k].dwEnd != dwEnd)
    {
        k = (k + 1) & nMask;
        ++m_nProbes;
    }
    return k;
}

int CSegmentEndIndex::FirstEndingAt(uint32_t dwEnd) const
{
    const int nRoot = m_pSlots[Find(dwEnd)].Root();
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
    CSlots pOld = std::exchange(m_pSlots, NewSlots(nSlots));
    const size_t nOld = std::exchange(m_nSlots, nSlots);
    for (size_t k = 0; k < nOld; ++k)
    {
        if (pOld[k].nRootPlus1 != 0)
            m_pSlots[Find(pOld[k].dwEnd)] = pOld[k];
    }
}

void CSegmentEndIndex::Insert(int nIndex, uint32_t dwEnd)
{
    if ((m_nUsed + 1) * 4 > m_nSlots * 3)
        Rehash(m_nSlots * 2);
    m_child[static_cast<size_t>(nIndex)] = -1;
    m_sibling[static_cast<size_t>(nIndex)] = -1;
    Slot& s = m_pSlots[Find(dwEnd)];
    if (s.nRootPlus1 == 0)
    {
        s = Slot{dwEnd, nIndex + 1};
        ++m_nUsed;
        return;
    }
    s.nRootPlus1 = Link(s.Root(), nIndex) + 1;
}

void CSegmentEndIndex::EraseSlot(size_t nSlot)
{
    // backward-shift deletion keeps every probe run unbroken
    const size_t nMask = m_nSlots - 1;
    size_t nHole = nSlot;
    size_t k = nSlot;
    for (;;)
    {
        k = (k + 1) & nMask;
        if (m_pSlots[k].nRootPlus1 == 0)
            break;
        const size_t nHome = Hash(m_pSlots[k].dwEnd);
        const bool bMovable =
            (nHole <= k) ? (nHome <= nHole || nHome > k) : (nHome <= nHole && nHome > k);
        if (bMovable)
        {
            m_pSlots[nHole] = m_pSlots[k];
            nHole = k;
        }
    }
    m_pSlots[nHole] = Slot{0, 0};
    --m_nUsed;
}

void CSegmentEndIndex::RemoveFirst(uint32_t dwEnd)
{
    const size_t nSlot = Find(dwEnd);
    Slot& s = m_pSlots[nSlot];
    if (s.nRootPlus1 == 0)
        return;
    s.nRootPlus1 = LinkChildren(m_child[static_cast<size_t>(s.Root())]) + 1;
    if (s.nRootPlus1 == 0)
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
