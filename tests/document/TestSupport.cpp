#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvane_test
{

std::string ToHex(const Bytes& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (uint8_t b : bytes)
    {
        s += kDigits[b >> 4];
        s += kDigits[b & 15];
    }
    return s;
}

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Bytes ByteRun(uint8_t first, int n)
{
    Bytes bytes(n);
    for (int i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

std::string DumpLine(uint32_t dwAddress, const Bytes& bytes)
{
    char head[32];
    std::snprintf(head, sizeof head, "%08X %zu", dwAddress, bytes.size());
    return bytes.empty() ? head : std::string(head) + " " + ToHex(bytes);
}

std::vector<SegmentData> Segments(const MemoryImage& image)
{
    std::vector<SegmentData> segments;
    for (int i = 0; i < image.GetCount(); ++i)
    {
        const MemorySegment* p = image.GetAt(i);
        if (p == nullptr || p->m_nSize < 0 || (p->m_nSize > 0 && p->m_pBytes == nullptr))
        {
            ADD_FAILURE() << "segment " << i << " is null or has no block for its size";
            segments.push_back({});
            continue;
        }
        segments.push_back({p->m_dwAddress, Bytes(p->m_pBytes, p->m_pBytes + p->m_nSize)});
    }
    return segments;
}

std::vector<std::string> Dump(const MemoryImage& image)
{
    std::vector<std::string> lines;
    for (const SegmentData& s : Segments(image))
        lines.push_back(DumpLine(s.dwAddress, s.bytes));
    return lines;
}

void ExpectConsistent(const MemoryImage& image)
{
    EXPECT_GE(image.m_nCount, 0);
    EXPECT_LE(image.m_nCount, image.m_nCapacity);
    EXPECT_EQ(image.m_nCapacity == 0, image.m_ppSegments == nullptr);
    Segments(image);
}

void AddSegment(MemoryImage& image, uint32_t dwAddress, const Bytes& bytes)
{
    auto* p = new MemorySegment;
    p->m_dwAddress = dwAddress;
    p->m_nSize = static_cast<int32_t>(bytes.size());
    if (!bytes.empty())
    {
        p->m_pBytes = static_cast<uint8_t*>(std::malloc(bytes.size()));
        std::copy(bytes.begin(), bytes.end(), p->m_pBytes);
    }
    image.Add(p);
}

void FillImage(MemoryImage& image, const std::vector<SegmentData>& segments)
{
    for (const SegmentData& s : segments)
        AddSegment(image, s.dwAddress, s.bytes);
}

std::string Record(int nType, uint32_t nAddress16, const Bytes& data)
{
    Bytes body = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(nAddress16 >> 8),
                  static_cast<uint8_t>(nAddress16), static_cast<uint8_t>(nType)};
    body.insert(body.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (uint8_t b : body)
        sum += b;
    body.push_back(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    return ":" + ToHex(body);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string DataPath(const std::string& name)
{
    return std::string(CORVANE_TEST_DATA_DIR) + "/" + name;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

CTempDir::CTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "mkdtemp failed";
    m_path = pattern;
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::vector<std::string> CTempDir::List(const std::string& sub) const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? m_path : Path(sub)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace corvane_test
