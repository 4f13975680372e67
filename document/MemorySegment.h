// One contiguous run of bytes of a memory image, at a 32-bit start address.
#pragma once

#include <cstdint>

struct MemorySegment
{
    uint32_t m_dwAddress = 0; // address of the first byte
    int32_t m_nSize = 0;      // number of bytes, 0 or more
    // owned block of m_nSize bytes; null for a segment that never received bytes
    uint8_t* m_pBytes = nullptr;

    // end address, modulo 2^32
    uint32_t GetEnd() const { return m_dwAddress + static_cast<uint32_t>(m_nSize); }
    // end address without wrapping
    uint64_t GetEnd64() const
    {
        return static_cast<uint64_t>(m_dwAddress) + static_cast<uint64_t>(m_nSize);
    }
};

// The start-address record (03 or 05) a file gave last: its type and its four bytes.
// Saving writes it back unchanged, so a file keeps its entry point.
struct CStartAddress
{
    uint8_t nType = 0; // 0: none
    uint8_t bytes[4] = {};
    bool IsSet() const { return nType != 0; }
    bool operator==(const CStartAddress&) const = default;
};
