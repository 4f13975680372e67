// A plain reader and writer, step by step and without any speed-up, to check the real
// ones against (document tests, fuzz target, benchmark). Quadratic in places: for small
// inputs only.
#pragma once

#include "MemoryImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SegmentCopy
{
    uint32_t dwAddress = 0;
    std::vector<uint8_t> bytes;
    bool operator==(const SegmentCopy&) const = default;
};
using ImageCopy = std::vector<SegmentCopy>;

// Copies every segment, reading each byte of its block. What breaks the table's
// invariants is described in *pProblem (empty when nothing does).
ImageCopy CopyImage(const MemoryImage& image, std::string* pProblem = nullptr);

// AddBytes: extends the first segment in table order that ends at the address, else
// appends a segment.
void ReferenceAddBytes(ImageCopy& image, uint32_t dwAddress, const std::vector<uint8_t>& bytes);
// Coalesce: the exchange sort, then each segment absorbs the neighbours that touch it.
void ReferenceCoalesce(ImageCopy& image);
// A whole read of text as a file holds it; *pStart, when given, receives
// the last start-address record.
ImageCopy ReferenceRead(const char* pData, size_t nLen, CStartAddress* pStart = nullptr);

// Appends one record (":", fields, checksum, CR LF) with upper-case digits.
void AppendRecord(std::string& text, uint8_t nType, uint16_t nOffset, const uint8_t* pBytes,
                  size_t n);
// The writer's text for an image: a 04 record before every segment in extended mode
// and before each further 64 KiB page of a segment, data records of up to 16 bytes cut
// at page boundaries, the start-address record when there is one, :00000001FF last.
std::string ReferenceWrite(const ImageCopy& image, const CStartAddress& start = {});
