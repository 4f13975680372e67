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
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

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
inline ImageCopy Segments(const MemoryImage& image)
{
    std::string problem;
    ImageCopy copy = CopyImage(image, &problem);
    EXPECT_EQ(problem, "");
    return copy;
}

// One line per segment: "ADDRESS SIZE BYTES", 8 hex digits, decimal, upper-case hex digits.
inline std::vector<std::string> Dump(const ImageCopy& segments)
{
    std::vector<std::string> lines;
    for (const SegmentCopy& s : segments)
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
        std::string address, size, bytes;
        in >> address >> size >> bytes;
        segments.push_back({static_cast<uint32_t>(std::stoul(address, nullptr, 16)), FromHex(bytes)});
    }
    return segments;
}

// Names of the cases in a folder of tests/data: every NAME.hex or NAME.segments.
inline std::vector<std::string> CaseNames(const std::string& folder, const std::string& ext)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(DataFile(folder)))
        if (entry.path().extension() == ext && entry.path().stem().extension().empty())
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
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

// One data record with its checksum and CR LF.
inline std::string DataRecord(uint16_t nAddress16, const Bytes& data)
{
    std::string text;
    AppendRecord(text, 0, nAddress16, data.data(), data.size());
    return text;
}

// LF line ends become CR LF; a CR already before the LF is left alone.
inline std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        out += text[i] == '\n' && (i == 0 || text[i - 1] != '\r') ? "\r\n" : text.substr(i, 1);
    return out;
}
