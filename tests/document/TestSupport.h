// Helpers shared by the document tests: segment dumps, record text, temporary files.
#pragma once

#include "HexParser.h"
#include "MemoryImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane_test
{

using Bytes = std::vector<uint8_t>;

struct SegmentData
{
    uint32_t dwAddress = 0;
    Bytes bytes;
    bool operator==(const SegmentData&) const = default;
};

// One line per segment: "ADDRESS SIZE BYTES" (8 hex digits, decimal, upper-case hex;
// no bytes field for an empty segment).
std::string DumpLine(uint32_t dwAddress, const Bytes& bytes);
std::vector<std::string> Dump(const MemoryImage& image);
std::vector<SegmentData> Segments(const MemoryImage& image);
// Fails the current test when a segment breaks the table's invariants.
void ExpectConsistent(const MemoryImage& image);

Bytes FromHex(const std::string& hex);
std::string ToHex(const Bytes& bytes);
// n bytes first, first + 1, ... (mod 256), to tell records apart in dumps
Bytes ByteRun(uint8_t first, int n);

// A segment with a malloc'ed block (none when empty), appended with Add.
void AddSegment(MemoryImage& image, uint32_t dwAddress, const Bytes& bytes);
void FillImage(MemoryImage& image, const std::vector<SegmentData>& segments);

// One record without line break, upper-case, with its checksum.
std::string Record(int nType, uint32_t nAddress16, const Bytes& data);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& data);
std::string DataPath(const std::string& name);
// LF line ends become CR LF; a CR already before the LF is left alone.
std::string WithCrLf(const std::string& text);

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }
    // names in the directory, sorted
    std::vector<std::string> List(const std::string& sub = "") const;

private:
    std::string m_path;
};

} // namespace corvane_test
