// Segment ends that an index hashing them as x * 0x9E3779B97F4A7C15 >> 20 would pile up:
// for the corpus generator and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Ends whose slots under that hash fall into one window of 1024 at every table size up to
// 2^22 slots, ascending, none right after another: an index keyed that way turns a file
// of records ending there quadratic.
inline std::vector<uint32_t> CollidingEnds(size_t nCount)
{
    std::vector<uint32_t> ends;
    for (uint64_t e = 2; e <= 0xFFFFFFFFu && ends.size() < nCount; e++)
    {
        const uint64_t nSlot = (e * 0x9E3779B97F4A7C15ull >> 20) & ((1u << 22) - 1);
        if (nSlot < 1024 && (ends.empty() || e > ends.back() + 1u))
            ends.push_back(static_cast<uint32_t>(e));
    }
    return ends;
}
