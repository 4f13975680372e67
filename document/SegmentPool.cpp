#include "SegmentPool.h"
#include "MemorySegment.h"

#include <cstring>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace
{
constexpr size_t kMaxChunk = 16u << 20;
constexpr size_t kFirstRecordChunk = 256 * sizeof(MemorySegment);
constexpr size_t kFirstBlockChunk = 4096;
} // namespace

CSegmentPool::~CSegmentPool()
{
    for (const CChunk& c : m_chunks)
        std::free(reinterpret_cast<void*>(c.nBegin));
}

// Chunks come zeroed (calloc leaves fresh pages untouched) and grow with the pool, so
// their number stays small and Owns stays a short search.
bool CSegmentPool::AddChunk(CArena& arena, size_t nBytes)
{
    try
    {
        m_chunks.reserve(m_chunks.size() + 1);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    char* p = static_cast<char*>(std::calloc(nBytes, 1));
    if (!p)
        return false;
    const CChunk chunk{reinterpret_cast<uintptr_t>(p), reinterpret_cast<uintptr_t>(p) + nBytes};
    m_chunks.insert(std::upper_bound(m_chunks.begin(), m_chunks.end(), chunk,
                                     [](const CChunk& a, const CChunk& b)
                                     { return a.nBegin < b.nBegin; }),
                    chunk);
    arena.pNext = p;
    arena.pEnd = p + nBytes;
    arena.nNextChunk = std::min(nBytes * 2, kMaxChunk);
    return true;
}

char* CSegmentPool::Take(CArena& arena, size_t nBytes, size_t nAlign, size_t nMinChunk)
{
    char* p = arena.pNext;
    if (p)
        p += (nAlign - reinterpret_cast<uintptr_t>(p) % nAlign) % nAlign;
    if (!p || nBytes > static_cast<size_t>(arena.pEnd - p))
    {
        if (!AddChunk(arena, std::max({arena.nNextChunk, nMinChunk, nBytes})))
            return nullptr;
        p = arena.pNext;
    }
    arena.pNext = p + nBytes;
    return p;
}

MemorySegment* CSegmentPool::NewRecord()
{
    char* p = Take(m_records, sizeof(MemorySegment), alignof(MemorySegment), kFirstRecordChunk);
    return p ? new (p) MemorySegment : nullptr;
}

void CSegmentPool::ReleaseBlock(uint8_t* p, int nBytes)
{
    if (nBytes < static_cast<int>(sizeof(uint8_t*)) || nBytes > kMaxBlock)
        return;
    std::memcpy(p, &m_pFree[nBytes], sizeof(uint8_t*));
    m_pFree[nBytes] = p;
}

uint8_t* CSegmentPool::NewBlock(int nBytes)
{
    if (uint8_t* p = m_pFree[nBytes])
    {
        std::memcpy(&m_pFree[nBytes], p, sizeof(uint8_t*));
        std::memset(p, 0, static_cast<size_t>(nBytes));
        return p;
    }
    return reinterpret_cast<uint8_t*>(
        Take(m_blocks, static_cast<size_t>(nBytes), 1, kFirstBlockChunk));
}

bool CSegmentPool::ResizeLast(uint8_t* p, int nOld, int nNew)
{
    char* const pBlock = reinterpret_cast<char*>(p);
    if (pBlock + nOld != m_blocks.pNext || nNew > kMaxBlock || nNew > m_blocks.pEnd - pBlock)
        return false;
    if (nNew < nOld)
        std::memset(pBlock + nNew, 0, static_cast<size_t>(nOld - nNew));
    m_blocks.pNext = pBlock + nNew;
    return true;
}

void CSegmentPool::ReserveRecords(size_t nRecords)
{
    const size_t nRoom =
        m_records.pNext ? static_cast<size_t>(m_records.pEnd - m_records.pNext) : 0;
    const size_t nWant = nRecords * sizeof(MemorySegment);
    // the rest of the current chunk is left unused; pages never touched cost nothing
    if (nWant > nRoom)
        AddChunk(m_records, std::max(nWant, kFirstRecordChunk));
}

bool CSegmentPool::Owns(const void* p) const
{
    const uintptr_t n = reinterpret_cast<uintptr_t>(p);
    auto after = std::upper_bound(m_chunks.begin(), m_chunks.end(), n,
                                  [](uintptr_t q, const CChunk& c) { return q < c.nBegin; });
    return after != m_chunks.begin() && n < (after - 1)->nEnd;
}
