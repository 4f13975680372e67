// What the document tests share: segment tables as values and as dumps, record text.
#pragma once

#include "HexReader.h"
#include "HexWriter.h"
#include "MemoryImage.h"
#include "Reference.h"
#include "TestCommon.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The table as values; fails the test where it breaks the table's invariants.
// One line per segment: "ADDRESS SIZE BYTES", 8 hex digits, decimal, upper-case hex digits.
inline std::vector<std::string> Dump(const ImageCopy& segments)
{
    std::vector<std::string> lines;
    for (const SegmentCopy& s : segments)
    {
        char sz[24];
        std::snprintf(sz, sizeof sz, "%08X %zu", s.dwAddress, s.bytes.size());
        lines.push_back(sz + std::string(s.bytes.empty() ? "" : " "));
        for (uint8_t b : s.bytes)
            lines.back() += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    }
    return lines;
}

// The image's segments, which must keep the table's invariants.
inline std::vector<std::string> Dump(const MemoryImage& image)
{
    std::string problem;
    const ImageCopy copy = CopyImage(image, &problem);
    EXPECT_EQ(problem, "");
    return Dump(copy);
}

// The lines of a text, without their line breaks.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A dump back into segments.
inline ImageCopy Undump(const std::vector<std::string>& lines)
{
    ImageCopy segments;
    for (const std::string& line : lines)
    {
        std::istringstream in(line);
        std::string address, size, hex;
        in >> address >> size >> hex;
        segments.push_back({static_cast<uint32_t>(std::stoul(address, nullptr, 16)), {}});
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            segments.back().bytes.push_back(
                static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return segments;
}

// Appends ready segments with Add, each with a malloc'ed block (none when empty).
inline void FillImage(MemoryImage& image, const ImageCopy& segments)
{
    for (const SegmentCopy& s : segments)
    {
        auto* p = new MemorySegment{s.dwAddress, static_cast<int32_t>(s.bytes.size()), nullptr};
        if (!s.bytes.empty())
            p->m_pBytes = static_cast<uint8_t*>(std::malloc(s.bytes.size()));
        std::copy(s.bytes.begin(), s.bytes.end(), p->m_pBytes);
        image.Add(p);
    }
}
