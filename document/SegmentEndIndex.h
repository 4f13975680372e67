// Which segments end at which address, for CImageBuilder once records stop coming in
// ascending order. The segments that end at one address form a heap ordered by table
// position, so "the first segment in table order ending here" is its root and taking
// it out or putting one in costs O(log n) however long the list is. Ends are hashed with
// random tables drawn for every index, so no file can choose ends that pile up in one
// probe run.
#pragma once

#include "MemoryImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CSegmentEndIndex
{
public:
    // indexes the image's segments (null entries are left out), with room for nReserve
    // segments in all, so that a table that would grow step by step is made once;
    // throws bad_alloc
    explicit CSegmentEndIndex(const MemoryImage& image, int nReserve = 0);

    // -1 when no segment ends at dwEnd
    int FirstEndingAt(uint32_t dwEnd) const;
    // the segment FirstEndingAt(dwOldEnd) gave now ends at dwNewEnd
    void Move(int nIndex, uint32_t dwOldEnd, uint32_t dwNewEnd);
    // a new segment at table entry nIndex, the table's last; throws bad_alloc
    void Append(int nIndex, uint32_t dwEnd);
    // slots looked at by every lookup so far, for tests of the worst case
    size_t Probes() const { return m_nProbes; }

private:
    struct Slot
    {
        uint32_t dwEnd;
        int nRootPlus1; // 0: slot free, so zeroed memory is a table of free slots
        int Root() const { return nRootPlus1 - 1; }
    };
    struct CFree
    {
        void operator()(Slot* p) const;
    };
    using CSlots = std::unique_ptr<Slot[], CFree>;
    static CSlots NewSlots(size_t nSlots);

    size_t Hash(uint32_t dwEnd) const;
    size_t Find(uint32_t dwEnd) const;
    void Insert(int nIndex, uint32_t dwEnd);
    void RemoveFirst(uint32_t dwEnd);
    void EraseSlot(size_t nSlot);
    void Rehash(size_t nSlots);
    int Link(int a, int b);
    int LinkChildren(int nFirst);

    // The segment extended last stays out of the heaps: a run of ascending records
    // then only moves this one end along.
    void FlushHot();
    int m_nHot = -1;
    uint32_t m_dwHotEnd = 0;

    // simple tabulation: one random word per byte value of each of the end's four bytes
    std::array<std::array<size_t, 256>, 4> m_keys;
    mutable size_t m_nProbes = 0;

    // from calloc: pages of free slots stay untouched until an end lands there
    CSlots m_pSlots;
    size_t m_nSlots = 0;
    size_t m_nUsed = 0;
    // first child and next sibling of each segment in its end's heap; -1: none
    std::vector<int> m_child;
    std::vector<int> m_sibling;
};
