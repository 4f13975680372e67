// The loaded address space of a HEX file: a table of segments, each one contiguous
// run of bytes at a 32-bit start address. Gaps between segments are not stored.
#pragma once

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
    uint8_t* m_pBytes = nullptr; // owned block; null for a segment that never received bytes

    // end address, modulo 2^32
    uint32_t GetEnd() const { return m_dwAddress + static_cast<uint32_t>(m_nSize); }
    // end address without wrapping
    uint64_t GetEnd64() const { return static_cast<uint64_t>(m_dwAddress) + static_cast<uint64_t>(m_nSize); }
};

// Index from end addresses to segments, kept while records are appended so that
// AddBytes finds "the first segment in table order ending here" without a scan.
class CSegmentEndIndex;

class MemoryImage
{
public:
    MemoryImage();
    ~MemoryImage();
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    int GetCount() const { return m_nCount; }
    // null when the table is null or i is outside 0 .. count-1
    MemorySegment* GetAt(int i) const;

    BOOL SetSize(int n);
    void SetAtGrow(int i, MemorySegment* p);
    void Add(MemorySegment* p);
    // destroys the segment at i; does nothing when i is out of range
    void RemoveAt(int i);
    void DeleteAll();

    // Adds one data record's bytes (copied). Extends the first segment, in table
    // order, that ends at dwAddress, else appends a new segment. When memory runs
    // out the record's bytes are dropped and the image stays consistent.
    void AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // The same as AddBytes for a record that starts at or after the end of every
    // segment (records in ascending order that share no address); needs no lookup.
    void AppendInOrder(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // Sorts by start address exactly as the designed exchange sort does (equal
    // starts included) and merges chains of touching neighbours.
    void Coalesce();
    // Gives every block its exact size again after AddBytes let it grow ahead.
    void Trim();

    void Swap(MemoryImage& other) noexcept;

    // Fields in their designed order.
    int m_nCount;
    int m_nCapacity;
    int m_nGrowBy;
    MemorySegment** m_ppSegments;

private:
    bool Reserve(int nEntries);
    bool GrowBlock(MemorySegment* pSeg, int nExtra, int& nCap);
    MemorySegment* AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n);
    void SortLikeExchange();
    void MergeTouching();

    // spare room of the last segment's block while records come in order; -1: none
    int m_nTailCap = -1;
    // entries behind m_ppSegments, at least m_nCapacity
    int m_nAllocated = 0;
    // Spare room of each block while records are appended (parallel to the table).
    int* m_pnBlockCap = nullptr;
    int m_nBlockCapCount = 0;
    std::unique_ptr<CSegmentEndIndex> m_pEndIndex;
};

// Destroys a segment: frees its block, then the record.
void DestroySegment(MemorySegment* p);
