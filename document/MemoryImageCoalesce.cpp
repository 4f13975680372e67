// Sorting and merging of the segment table after a read.
//
// The order that segments with equal start addresses end up in is the one an
// exchange sort (for i, for j > i: swap when start[i] > start[j]) leaves, which is
// not a stable order. Files rely on nothing else, so the common cases take
// shortcuts that give the same table: a table already in order is left alone, one
// with distinct starts is sorted by any sort. Only a table whose starts repeat and
// are out of order runs the exchange itself, on independent blocks.
#include "MemoryImage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

namespace
{
// Start addresses as signed keys with the same order, so the scan can use signed
// vector compares.
int32_t KeyOf(uint32_t dwAddress)
{
    return static_cast<int32_t>(dwAddress ^ 0x80000000u);
}

typedef int32_t Vec4 __attribute__((vector_size(16)));

// First j in [nFrom, nEnd) with pKeys[j] < nKey, or nEnd.
int FindLess(const int32_t* pKeys, int nFrom, int nEnd, int32_t nKey)
{
    int j = nFrom;
    const Vec4 vKey = {nKey, nKey, nKey, nKey};
    for (; j + 16 <= nEnd; j += 16)
    {
        Vec4 a, b, c, d;
        std::memcpy(&a, pKeys + j, sizeof a);
        std::memcpy(&b, pKeys + j + 4, sizeof b);
        std::memcpy(&c, pKeys + j + 8, sizeof c);
        std::memcpy(&d, pKeys + j + 12, sizeof d);
        const Vec4 m = (a < vKey) | (b < vKey) | (c < vKey) | (d < vKey);
        if (m[0] | m[1] | m[2] | m[3])
            break;
    }
    for (; j < nEnd; ++j)
    {
        if (pKeys[j] < nKey)
            return j;
    }
    return nEnd;
}

// The exchange sort on [nBegin, nEnd): each pass rotates the chain of strict
// running minima, which is exactly what its swaps amount to.
void ExchangeSort(std::vector<int32_t>& keys, std::vector<int>& order, int nBegin, int nEnd)
{
    int32_t* pKeys = keys.data();
    for (int i = nBegin; i < nEnd - 1; ++i)
    {
        for (int j = FindLess(pKeys, i + 1, nEnd, pKeys[i]); j < nEnd;
             j = FindLess(pKeys, j + 1, nEnd, pKeys[i]))
        {
            std::swap(pKeys[i], pKeys[j]);
            std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
        }
    }
}

bool IsInOrder(const std::vector<int32_t>& keys, int nBegin, int nEnd)
{
    for (int i = nBegin + 1; i < nEnd; ++i)
    {
        if (keys[static_cast<size_t>(i - 1)] > keys[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

bool HasRepeats(const std::vector<int32_t>& keys, int nBegin, int nEnd)
{
    std::vector<int32_t> sorted(keys.begin() + nBegin, keys.begin() + nEnd);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

void SortBlock(std::vector<int32_t>& keys, std::vector<int>& order, int nBegin, int nEnd)
{
    if (IsInOrder(keys, nBegin, nEnd))
        return;
    if (!HasRepeats(keys, nBegin, nEnd))
    {
        std::sort(order.begin() + nBegin, order.begin() + nEnd,
                  [&](int a, int b) { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; });
        return;
    }
    ExchangeSort(keys, order, nBegin, nEnd);
}
} // namespace

void MemoryImage::SortLikeExchange()
{
    const int n = m_nCount;
    if (n < 2)
        return;
    std::vector<int32_t> keys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        keys[static_cast<size_t>(i)] = KeyOf(m_ppSegments[i] ? m_ppSegments[i]->m_dwAddress : 0);
    if (IsInOrder(keys, 0, n))
        return;

    // The exchange never moves anything across a cut where every start before it is
    // at most every start after it, so each block between such cuts sorts alone.
    std::vector<int32_t> suffixMin(static_cast<size_t>(n));
    suffixMin[static_cast<size_t>(n - 1)] = keys[static_cast<size_t>(n - 1)];
    for (int i = n - 2; i >= 0; --i)
        suffixMin[static_cast<size_t>(i)] = std::min(keys[static_cast<size_t>(i)], suffixMin[static_cast<size_t>(i + 1)]);

    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int32_t> blockKeys = keys;
    int nBegin = 0;
    int32_t nPrefixMax = keys[0];
    for (int i = 1; i <= n; ++i)
    {
        if (i == n || nPrefixMax <= suffixMin[static_cast<size_t>(i)])
        {
            if (i - nBegin > 1)
            {
                // the distinct-key sort compares original keys through order, so it
                // needs them unpermuted; the exchange permutes its own copy
                SortBlock(blockKeys, order, nBegin, i);
            }
            nBegin = i;
        }
        if (i < n)
            nPrefixMax = std::max(nPrefixMax, keys[static_cast<size_t>(i)]);
    }

    std::vector<MemorySegment*> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        sorted[static_cast<size_t>(i)] = m_ppSegments[order[static_cast<size_t>(i)]];
    std::copy(sorted.begin(), sorted.end(), m_ppSegments);
}

namespace
{
// Appends the bytes of every segment of a touching chain to its head with one
// allocation. False (and nothing changed) when the block cannot be had.
bool MergeChain(MemorySegment** pChain, int nChain, long long nTotal)
{
    MemorySegment* pHead = pChain[0];
    if (nTotal > pHead->m_nSize)
    {
        void* pNew = std::realloc(pHead->m_pBytes, static_cast<size_t>(nTotal));
        if (!pNew)
            return false;
        pHead->m_pBytes = static_cast<uint8_t*>(pNew);
    }
    for (int k = 1; k < nChain; ++k)
    {
        MemorySegment* p = pChain[k];
        if (p->m_nSize > 0)
            std::memcpy(pHead->m_pBytes + pHead->m_nSize, p->m_pBytes, static_cast<size_t>(p->m_nSize));
        pHead->m_nSize += p->m_nSize;
        DestroySegment(p);
        pChain[k] = nullptr;
    }
    return true;
}
} // namespace

void MemoryImage::MergeTouching()
{
    int nOut = 0;
    int i = 0;
    while (i < m_nCount)
    {
        MemorySegment* pHead = m_ppSegments[i];
        int nChain = 1;
        long long nTotal = pHead ? pHead->m_nSize : 0;
        uint32_t dwEnd = pHead ? pHead->GetEnd() : 0;
        while (pHead && i + nChain < m_nCount)
        {
            const MemorySegment* pNext = m_ppSegments[i + nChain];
            // a merged segment must still have a size that fits its field
            if (!pNext || pNext->m_dwAddress != dwEnd || nTotal + pNext->m_nSize > INT_MAX)
                break;
            nTotal += pNext->m_nSize;
            dwEnd = pNext->GetEnd();
            ++nChain;
        }
        if (nChain > 1 && !MergeChain(m_ppSegments + i, nChain, nTotal))
        {
            // out of memory: the chain stays as separate segments, nothing is lost
            for (int k = 0; k < nChain; ++k)
                m_ppSegments[nOut++] = m_ppSegments[i + k];
            i += nChain;
            continue;
        }
        m_ppSegments[nOut++] = pHead;
        i += nChain;
    }
    for (int k = nOut; k < m_nCount; ++k)
        m_ppSegments[k] = nullptr;
    m_nCount = nOut;
}

void MemoryImage::Coalesce()
{
    DropAppendState();
    SortLikeExchange();
    MergeTouching();
}
