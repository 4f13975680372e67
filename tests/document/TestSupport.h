// What the document tests share: segment tables as values and as dumps, record text.
#pragma once

#include "HexParser.h"
#include "MemoryImage.h"
#include "TestCommon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct SegmentData
{
    uint32_t dwAddress = 0;
    Bytes bytes;
    bool operator==(const SegmentData&) const = default;
};

inline std::string ToHex(const Bytes& bytes)
{
    std::string s;
    for (uint8_t b : bytes)
        s += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    return s;
}

inline Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// n bytes first, first + 1, ... (mod 256), to tell records apart in dumps
inline Bytes ByteRun(uint8_t first, int n)
{
    Bytes bytes(n);
    for (int i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

// The table as values; fails the test where it breaks the table's invariants.
inline std::vector<SegmentData> Segments(const MemoryImage& image)
{
    EXPECT_LE(image.m_nCount, image.m_nCapacity);
    EXPECT_EQ(image.m_nCapacity == 0, image.m_ppSegments == nullptr);
    std::vector<SegmentData> segments;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        if (!p || p->m_nSize < 0 || (p->m_nSize > 0 && !p->m_pBytes))
        {
            ADD_FAILURE() << "segment " << i << " is null or lacks its block";
            break;
        }
        segments.push_back({p->m_dwAddress, Bytes(p->m_pBytes, p->m_pBytes + p->m_nSize)});
    }
    return segments;
}

// One line per segment: "ADDRESS SIZE BYTES", 8 hex digits, decimal, upper-case hex digits.
inline std::vector<std::string> Dump(const std::vector<SegmentData>& segments)
{
    std::vector<std::string> lines;
    for (const SegmentData& s : segments)
        lines.push_back(ToHex({uint8_t(s.dwAddress >> 24), uint8_t(s.dwAddress >> 16),
                               uint8_t(s.dwAddress >> 8), uint8_t(s.dwAddress)}) +
                        " " + std::to_string(s.bytes.size()) +
                        (s.bytes.empty() ? "" : " " + ToHex(s.bytes)));
    return lines;
}

inline std::vector<std::string> Dump(const MemoryImage& image)
{
    return Dump(Segments(image));
}

// Appends ready segments with Add, each with a malloc'ed block (none when empty).
inline void FillImage(MemoryImage& image, const std::vector<SegmentData>& segments)
{
    for (const SegmentData& s : segments)
    {
        auto* p = new MemorySegment{s.dwAddress, static_cast<int32_t>(s.bytes.size()), nullptr};
        if (!s.bytes.empty())
            p->m_pBytes = static_cast<uint8_t*>(std::malloc(s.bytes.size()));
        std::copy(s.bytes.begin(), s.bytes.end(), p->m_pBytes);
        image.Add(p);
    }
}

// One record without line break, upper-case, with its checksum.
inline std::string Record(int nType, uint32_t nAddress16, const Bytes& data)
{
    Bytes body = {uint8_t(data.size()), uint8_t(nAddress16 >> 8), uint8_t(nAddress16),
                  uint8_t(nType)};
    body.insert(body.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (uint8_t b : body)
        sum += b;
    body.push_back(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    return ":" + ToHex(body);
}

// LF line ends become CR LF; a CR already before the LF is left alone.
inline std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        out += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? "\r\n" : text.substr(i, 1);
    return out;
}
