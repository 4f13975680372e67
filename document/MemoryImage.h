// The loaded address space of a HEX file: a table of segments, each one contiguous
// run of bytes at a 32-bit start address. Gaps between segments are not stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct MemorySegment
{
    uint32_t m_dwAddress = 0; // address of the first byte
    int32_t m_nSize = 0;      // number of bytes, 0 or more
    uint8_t* m_pBytes =
        nullptr; // owned block of m_nSize bytes; null for a segment that never received bytes

    // end address, modulo 2^32
    uint32_t GetEnd() const { return m_dwAddress + static_cast<uint32_t>(m_nSize); }
    // end address without wrapping
    uint64_t GetEnd64() const
    {
        return static_cast<uint64_t>(m_dwAddress) + static_cast<uint64_t>(m_nSize);
    }
};

class CSegmentPool;

class MemoryImage
{
public:
    MemoryImage();
    ~MemoryImage();
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    int GetCount() const { return m_nCount; }
    // entries allocated: grows in steps of 7 (0, 7, 14, ...)
    int GetCapacity() const { return m_nCapacity; }
    // null when the table is null or i is outside 0 .. count-1
    MemorySegment* GetAt(int i) const
    {
        return m_ppSegments && i >= 0 && i < m_nCount ? m_ppSegments[i] : nullptr;
    }

    BOOL SetSize(int n);
    // Adds a segment made with new whose block, if any, comes from malloc; the image owns both.
    void SetAtGrow(int i, MemorySegment* p);
    void Add(MemorySegment* p);
    // destroys the segment at i; does nothing when i is out of range
    void RemoveAt(int i);
    void DeleteAll();

    // Adds one data record's bytes (copied): extends the first segment, in table order,
    // that ends at dwAddress, else appends a new segment. Costs a pass over the table;
    // the reader adds its records through a CImageBuilder instead.
    void AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // Sorts by start address, equal starts in the order stored files rely on, and
    // merges chains of touching neighbours.
    void Coalesce();

    void Swap(MemoryImage& other) noexcept;

private:
    friend class CImageBuilder;

    void SortLikeExchange();
    void MergeTouching();
    bool MergeChain(MemorySegment** pChain, int nChain, long long nTotal);
    // Frees a segment's block and record, unless they belong to the pool.
    void DestroySegment(MemorySegment* p);
    bool IsPooled(const void* p) const;
    // realloc for a segment's block; a pooled block cannot grow in place, so it is copied
    // to a block of its own and its room in the pool stays unused. Null (the old block
    // kept) when out of memory.
    void* ResizeBlock(const MemorySegment* p, size_t nBytes);
    // the pool, made on first use; null when out of memory
    CSegmentPool* Pool();

    int m_nCount;
    int m_nCapacity;
    int m_nGrowBy;
    MemorySegment** m_ppSegments;
    // records and short blocks of the segments the reader made; segments added from
    // outside own their memory themselves
    std::unique_ptr<CSegmentPool> m_pPool;
};
