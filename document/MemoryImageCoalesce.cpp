// Sorting and merging of the segment table after a read.
//
// Segments with equal start addresses (a file that gives a record twice, or records
// that share a start) keep the order an exchange sort (for i, for j > i: swap entries
// i and j when start[i] > start[j]) leaves them in. It is not a stable order, but it is
// the order users and stored files rely on, so a file read and saved comes out the same. It is had
// here without the quadratic sort: each pass of the exchange rotates the chain of strict running
// minima, so larger starts never influence how copies of a start are reordered, and the copies of a
// start S behave like a queue fed in table order: every copy joins at the back, and every smaller
// start met later in the table moves the queue's front to its back.
#include "MemoryImage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

namespace
{
// Counts over positions 0..n-1, with prefix sums and selection by rank.
class CFenwick
{
public:
    explicit CFenwick(int n) : m_tree(static_cast<size_t>(n) + 1, 0) {}
    void Add(int nPos, int nDelta)
    {
        for (size_t i = static_cast<size_t>(nPos) + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += nDelta;
    }
    // sum over positions 0..nPos-1
    int Prefix(int nPos) const
    {
        int s = 0;
        for (size_t i = static_cast<size_t>(nPos); i > 0; i -= i & (~i + 1))
            s += m_tree[i];
        return s;
    }
    // the position holding the count of rank nRank (0-based) among positions with count 1
    int Select(int nRank) const
    {
        size_t nPos = 0;
        size_t nStep = 1;
        while (nStep * 2 < m_tree.size())
            nStep *= 2;
        for (; nStep > 0; nStep /= 2)
        {
            if (nPos + nStep < m_tree.size() && m_tree[nPos + nStep] <= nRank)
            {
                nPos += nStep;
                nRank -= m_tree[nPos];
            }
        }
        return static_cast<int>(nPos);
    }

private:
    std::vector<int> m_tree;
};

// Final order of the copies of one start address, given for copy k (0-based) how
// many smaller starts follow it in the table before the next copy (or the end).
// Runs the queue backwards, so each copy finds its place in logarithmic time.
void OrderCopies(const std::vector<int>& copies, const std::vector<int>& rotations,
                 std::vector<int>& out)
{
    const int r = static_cast<int>(copies.size());
    CFenwick slots(r);
    for (int i = 0; i < r; ++i)
        slots.Add(i, 1);
    std::vector<int> placed(static_cast<size_t>(r));
    int nFront = 0;
    for (int k = r; k >= 1; --k)
    {
        const int s = rotations[static_cast<size_t>(k - 1)] % k;
        const int nRank = ((nFront - 1 - s) % k + k) % k;
        const int nSlot = slots.Select(nRank);
        placed[static_cast<size_t>(nSlot)] = copies[static_cast<size_t>(k - 1)];
        slots.Add(nSlot, -1);
        nFront = k > 1 ? nRank % (k - 1) : 0;
    }
    out.insert(out.end(), placed.begin(), placed.end());
}

// The permutation the exchange sort applies: entry i of the result is the table
// entry that ends up at position i.
std::vector<int> ExchangeOrder(const std::vector<uint32_t>& keys)
{
    const int n = static_cast<int>(keys.size());
    std::vector<int> byKey(static_cast<size_t>(n));
    std::iota(byKey.begin(), byKey.end(), 0);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](int a, int b)
                     { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; });

    std::vector<int> order;
    order.reserve(static_cast<size_t>(n));
    CFenwick smaller(n); // table positions of the starts already placed
    std::vector<int> copies, rotations;
    for (int g = 0; g < n;)
    {
        int e = g + 1;
        while (e < n && keys[static_cast<size_t>(byKey[static_cast<size_t>(e)])] ==
                            keys[static_cast<size_t>(byKey[static_cast<size_t>(g)])])
            ++e;
        if (e - g == 1)
            order.push_back(byKey[static_cast<size_t>(g)]);
        else
        {
            copies.assign(byKey.begin() + g, byKey.begin() + e);
            rotations.resize(copies.size());
            for (size_t k = 0; k < copies.size(); ++k)
            {
                const int nNext = k + 1 < copies.size() ? copies[k + 1] : n;
                rotations[k] = smaller.Prefix(nNext) - smaller.Prefix(copies[k] + 1);
            }
            OrderCopies(copies, rotations, order);
        }
        for (int k = g; k < e; ++k)
            smaller.Add(byKey[static_cast<size_t>(k)], 1);
        g = e;
    }
    return order;
}
} // namespace

void MemoryImage::SortLikeExchange()
{
    const int n = m_nCount;
    std::vector<uint32_t> keys(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        keys[static_cast<size_t>(i)] = m_ppSegments[i] ? m_ppSegments[i]->m_dwAddress : 0;
    // a table already in order is what every ordinary file gives; the exchange leaves it alone
    if (std::is_sorted(keys.begin(), keys.end()))
        return;

    const std::vector<int> order = ExchangeOrder(keys);
    std::vector<MemorySegment*> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        sorted[static_cast<size_t>(i)] = m_ppSegments[order[static_cast<size_t>(i)]];
    std::copy(sorted.begin(), sorted.end(), m_ppSegments);
}

// A chain of touching segments becomes its head holding every byte in table order, as
// absorbing the neighbours one at a time would make it; joining the whole chain at once
// keeps a file of a million touching records from being copied a million times.
// Appends the bytes of every segment of the chain to its head with one allocation. False
// (and nothing changed) when the block cannot be had.
bool MemoryImage::MergeChain(MemorySegment** pChain, int nChain, long long nTotal)
{
    MemorySegment* pHead = pChain[0];
    if (nTotal > pHead->m_nSize)
    {
        void* pNew = ResizeBlock(pHead, static_cast<size_t>(nTotal));
        if (!pNew)
            return false;
        pHead->m_pBytes = static_cast<uint8_t*>(pNew);
    }
    for (int k = 1; k < nChain; ++k)
    {
        MemorySegment* p = pChain[k];
        if (p->m_nSize > 0)
            std::memcpy(pHead->m_pBytes + pHead->m_nSize, p->m_pBytes,
                        static_cast<size_t>(p->m_nSize));
        pHead->m_nSize += p->m_nSize;
        DestroySegment(p);
        pChain[k] = nullptr;
    }
    return true;
}

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
    SortLikeExchange();
    MergeTouching();
}
