// Builds a memory image while records come in and hands it back finished, every block
// trimmed to its size. Blocks and the table grow geometrically meanwhile, so a long run
// of records stays linear in cost.
#pragma once

#include "MemoryImage.h"

#include <functional>
#include <memory>
#include <vector>

class CSegmentEndIndex;

// A record whose place in the result depends on the order records come in: an empty
// one, or one that runs up to or past 0xFFFFFFFF and wraps.
inline bool DependsOnOrder(uint32_t dwAddress, int n)
{
    return n <= 0 || static_cast<uint64_t>(dwAddress) + static_cast<uint64_t>(n) >= 0x100000000ull;
}

class CImageBuilder
{
public:
    // The allocations a test can make fail through SetFailHook.
    enum class EAlloc
    {
        EndIndex,
        Segment,
        Block
    };

    // Takes over the image's segments until Finish (or destruction) hands them back.
    explicit CImageBuilder(MemoryImage& image);
    ~CImageBuilder();
    CImageBuilder(const CImageBuilder&) = delete;
    CImageBuilder& operator=(const CImageBuilder&) = delete;

    // MemoryImage::AddBytes's rule. False when memory ran out: the record is dropped,
    // the image stays consistent and LostRecords says so from then on.
    bool AddBytes(uint32_t dwAddress, const uint8_t* pBytes, int n);
    // A new last segment of nSize zero bytes, for records filled in later; null when
    // out of memory.
    MemorySegment* AddZeroed(uint32_t dwAddress, int nSize);
    // Room for this many segments in all, when a first pass counted them.
    void Reserve(int nSegments);
    // Drops every segment, for a read that starts over.
    void Clear();
    // The image so far, for lookups while records come in.
    const MemoryImage& Image() const { return m_image; }
    // A segment of the image so far, to fill in bytes AddZeroed gave.
    MemorySegment* Segment(int i) { return m_image.GetAt(i); }
    // A record was dropped since the builder started or was cleared.
    bool LostRecords() const { return m_bLost; }
    void SetFailHook(std::function<bool(EAlloc)> fail) { m_fail = std::move(fail); }
    // Trims, and hands the image back; the builder is empty afterwards.
    void Finish();

private:
    bool Fails(EAlloc e) const { return m_fail && m_fail(e); }
    MemorySegment* AppendZeroed(uint32_t dwAddress, int nSize);
    bool AppendNew(uint32_t dwAddress, const uint8_t* pBytes, int n);
    bool Extend(int nIndex, const uint8_t* pBytes, int n);
    void NoteEnd(int nIndex);
    bool IndexAll();
    bool Lose();

    MemoryImage& m_target;
    MemoryImage m_image;
    bool m_bOwning = true;
    bool m_bLost = false;
    int m_nReserve = 0;
    // bytes each block has room for before it must grow
    std::vector<int> m_capacity;
    // The largest end of any segment (without wrapping) and the first segment in table
    // order ending there: a record starting at or past it can only extend that one, so
    // records in ascending order need no index. The index is built at the first record
    // that goes back, and holds the table's first m_nIndexed segments; those appended
    // since join it when it is needed again.
    uint64_t m_nMaxEnd = 0;
    int m_nAtMaxEnd = -1;
    std::unique_ptr<CSegmentEndIndex> m_pIndex;
    int m_nIndexed = 0;
    std::function<bool(EAlloc)> m_fail;
};
