// Builds a memory image while records come in and hands it back finished: every block
// trimmed to its size, the table at the capacity its growth steps give. Blocks grow
// geometrically meanwhile, and the table's allocation too, so a long run of records
// stays linear in cost.
#pragma once

#include "MemoryImage.h"

#include <memory>
#include <vector>

class CSegmentEndIndex;

class CImageBuilder
{
public:
    // Takes over the image's segments until Finish (or destruction) hands them back.
    explicit CImageBuilder(MemoryImage& image);
    ~CImageBuilder();
    CImageBuilder(const CImageBuilder&) = delete;
    CImageBuilder& operator=(const CImageBuilder&) = delete;

    // MemoryImage::AddBytes's rule. When memory runs out the record's bytes are
    // dropped and the image stays consistent.
    void AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // A new last segment of nSize zero bytes, for records filled in later; null when
    // out of memory.
    MemorySegment* AddZeroed(uint32_t dwAddress, int nSize);
    // Room for this many segments in all, when a first pass counted them.
    void Reserve(int nSegments);
    // Drops every segment, for a read that starts over.
    void Clear();
    // The image so far, for lookups while records come in.
    const MemoryImage& Image() const { return m_image; }
    // Trims, and hands the image back; the builder is empty afterwards.
    void Finish();

private:
    MemorySegment* AppendZeroed(uint32_t dwAddress, int nSize);
    MemorySegment* AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n);
    bool AppendEntry(MemorySegment* pSeg);
    bool GrowBlock(int nIndex, int nExtra);
    void Extend(int nIndex, const uint8_t* pBytes, int n);
    bool IsInOrder(uint32_t dwAddress, int n) const;
    void IndexNewSegment(int nIndex);
    void FitTable();

    MemoryImage& m_target;
    MemoryImage m_image;
    bool m_bOwning = true;
    // entries behind the table and its capacity when taken over
    int m_nAllocated = 0;
    int m_nCapacityAtStart = 0;
    int m_nReserve = 0;
    // bytes each block can hold before it must grow
    std::vector<int> m_capacity;
    // While every record so far came in ascending order without sharing an address,
    // only the last segment can end where a record starts, and no index is needed;
    // it is built at the first record that breaks the order.
    bool m_bInOrder = true;
    std::unique_ptr<CSegmentEndIndex> m_pIndex;
};
