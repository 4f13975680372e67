// Storage for the records and short blocks of a memory image's many small segments. A file
// of a million one-byte records would otherwise cost two heap allocations per segment,
// with more bookkeeping than data. Pieces are carved from large chunks and are never
// handed back one by one: the chunks go when the image is cleared or destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MemorySegment;

class CSegmentPool
{
public:
    // blocks up to this size come from the pool; longer ones are cheap enough on the heap
    static constexpr int kMaxBlock = 32;

    CSegmentPool() = default;
    ~CSegmentPool();
    CSegmentPool(const CSegmentPool&) = delete;
    CSegmentPool& operator=(const CSegmentPool&) = delete;

    // a zeroed record; null when out of memory
    MemorySegment* NewRecord();
    // nBytes (1 .. kMaxBlock) zero bytes; null when out of memory
    uint8_t* NewBlock(int nBytes);
    // a block of nBytes that is no longer used: NewBlock gives it out again
    void ReleaseBlock(uint8_t* p, int nBytes);
    // Whether p, a block of nOld bytes, was the last one carved and now holds nNew bytes
    // (1 .. kMaxBlock) in place. Bytes given back are zeroed again.
    bool ResizeLast(uint8_t* p, int nOld, int nNew);
    // the next record chunk holds at least this many records
    void ReserveRecords(size_t nRecords);
    // whether p lies in one of the pool's chunks: such memory is never freed on its own
    bool Owns(const void* p) const;

private:
    struct CChunk
    {
        uintptr_t nBegin;
        uintptr_t nEnd;
    };
    struct CArena
    {
        char* pNext = nullptr;
        char* pEnd = nullptr;
        size_t nNextChunk = 0;
    };

    char* Take(CArena& arena, size_t nBytes, size_t nAlign, size_t nMinChunk);
    bool AddChunk(CArena& arena, size_t nBytes);

    std::vector<CChunk> m_chunks; // sorted by address
    CArena m_records;
    CArena m_blocks;
    // released blocks of each size that can hold a link to the next one
    uint8_t* m_pFree[kMaxBlock + 1] = {};
};
