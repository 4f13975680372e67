// The designed reading procedure transcribed step by step, without any speed-up: lines
// as text mode and fgets deliver them, a scan of the whole table for the segment to
// extend, the exchange sort and the merge. Quadratic; only for checking the real reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct SegmentCopy
{
    uint32_t dwAddress;
    std::vector<uint8_t> bytes;
    bool operator==(const SegmentCopy&) const = default;
};
using ImageCopy = std::vector<SegmentCopy>;

ImageCopy ReferenceRead(const char* pData, size_t nLen);
