// The loaded address space of a HEX file: a table of segments, each one contiguous
// run of bytes at a 32-bit start address. Gaps between segments are not stored.
#pragma once

#include "MemorySegment.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CSegmentPool;

class MemoryImage
{
public:
    MemoryImage();
    ~MemoryImage();
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    int GetCount() const { return m_nCount; }
    // entries allocated: SetSize grows it in steps of 7 beyond the count
    int GetCapacity() const { return m_nCapacity; }
    // null when the table is null or i is outside 0 .. count-1
    const MemorySegment* GetAt(int i) const { return IsIndex(i) ? m_ppSegments[i] : nullptr; }
    MemorySegment* GetAt(int i) { return IsIndex(i) ? m_ppSegments[i] : nullptr; }

    bool SetSize(int n);
    // Adds a segment made with new whose block, if any, comes from malloc; the image owns both.
    void SetAtGrow(int i, MemorySegment* p);
    void Add(MemorySegment* p);
    // destroys the segment at i; does nothing when i is out of range
    void RemoveAt(int i);
    // every segment, and the start address
    void DeleteAll();

    // Adds one data record's bytes (copied): extends the first segment, in table order,
    // that ends at dwAddress, else appends a new segment. Costs a pass over the table;
    // the reader adds its records through a CImageBuilder instead. False when out of
    // memory: the record is then dropped and the image stays as it was.
    bool AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // Sorts by start address, equal starts in the order stored files rely on, and
    // merges chains of touching neighbours.
    void Coalesce();

    const CStartAddress& GetStartAddress() const { return m_start; }
    void SetStartAddress(const CStartAddress& start) { m_start = start; }

    void Swap(MemoryImage& other) noexcept;

    // For builders that add many segments quickly; each keeps the table consistent.
    // A new last segment of nSize zero bytes, record and short block from the image's
    // pool; null (and nothing added) when out of memory.
    MemorySegment* AppendZeroed(uint32_t dwAddress, int nSize);
    // Room for nSegments table entries in all, and pooled records for those to come.
    // False when the table cannot grow.
    bool Reserve(int nSegments);
    // Gives the block of p, which has room for nCapacity bytes, room for at least nNeed,
    // keeping its first m_nSize bytes, and returns the room it now has: short blocks grow
    // inside the pool, longer ones geometrically. 0 (the block kept) when out of memory.
    int GrowBlock(MemorySegment* p, int nCapacity, int nNeed);
    // Frees the room of p's block beyond its size, once no more bytes come.
    void TrimBlock(MemorySegment* p, int nCapacity);

private:
    bool IsIndex(int i) const { return m_ppSegments && i >= 0 && i < m_nCount; }
    void SortLikeExchange();
    void MergeTouching();
    bool MergeChain(MemorySegment** pChain, int nChain, long long nTotal);
    bool ReallocTable(long long nCapacity);
    // Frees a segment's block and record, unless they belong to the pool.
    void DestroySegment(MemorySegment* p);
    bool IsPooled(const void* p) const;
    // a block of nBytes holding p's bytes: realloc, or a copy when p's block is pooled
    void* ResizeBlock(const MemorySegment* p, size_t nBytes);
    // the pool, made on first use; null when out of memory
    CSegmentPool* Pool();

    int m_nCount;
    int m_nCapacity;
    int m_nGrowBy;
    MemorySegment** m_ppSegments;
    // records and short blocks of the segments builders made; segments added from
    // outside own their memory themselves
    std::unique_ptr<CSegmentPool> m_pPool;
    CStartAddress m_start;
};
