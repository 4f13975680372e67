// Which segments end at which address, for MemoryImage::AddBytes while records are
// appended. Segments that end at the same address form a list in table order, so
// "the first segment in table order ending here" is the head of that list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MemoryImage;
struct MemorySegment;

class CSegmentEndIndex
{
public:
    explicit CSegmentEndIndex(const MemoryImage& image);

    // -1 when no segment ends at dwEnd
    int FirstEndingAt(uint32_t dwEnd) const;
    // segment nIndex (now ending at dwNewEnd) used to end at dwOldEnd
    void Move(int nIndex, uint32_t dwOldEnd, uint32_t dwNewEnd);
    // a new segment at table entry nIndex, which is the table's last; false when out of memory
    bool Append(int nIndex, const MemorySegment* pSeg);

    int& Capacity(int nIndex) { return m_capacity[static_cast<size_t>(nIndex)]; }
    const std::vector<int>& Capacities() const { return m_capacity; }

private:
    struct Slot
    {
        uint32_t dwEnd;
        int nHead; // -1: slot free
        int nTail;
    };

    size_t Find(uint32_t dwEnd) const;
    void Insert(int nIndex, uint32_t dwEnd);
    void Remove(int nIndex, uint32_t dwEnd);
    void EraseSlot(size_t nSlot);
    void Rehash(size_t nSlots);

    // The segment extended last is kept out of the table: a run of ascending records
    // then only moves this one end along.
    void FlushHot();
    int m_nHot = -1;
    uint32_t m_dwHotEnd = 0;

    std::vector<Slot> m_slots;
    size_t m_nUsed = 0;
    std::vector<int> m_next;     // next segment in the same end list, -1 at the tail
    std::vector<int> m_capacity; // bytes the block can hold before it must grow
};
