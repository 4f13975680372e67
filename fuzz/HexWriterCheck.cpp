// The writer's output compared with the records the rules call for: a 04 record before
// every segment in extended mode and before each further 64 KiB page of a segment,
// data records of up to 16 bytes cut at page boundaries, :00000001FF last, CR LF.
#include "FuzzChecks.h"
#include "HexParser.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr uint64_t kAddressSpace = 1ull << 32;

class CReferenceWriter
{
public:
    void Record(uint8_t type, uint32_t dwOffset, const uint8_t* pBytes, size_t n)
    {
        m_text += ':';
        uint8_t sum = 0;
        Byte(static_cast<uint8_t>(n), sum);
        Byte(static_cast<uint8_t>(dwOffset >> 8), sum);
        Byte(static_cast<uint8_t>(dwOffset), sum);
        Byte(type, sum);
        for (size_t i = 0; i < n; i++)
            Byte(pBytes[i], sum);
        uint8_t ignored = 0;
        Byte(static_cast<uint8_t>(0x100 - sum), ignored);
        m_text += "\r\n";
    }
    void LinearBase(uint32_t dwAddress)
    {
        const uint8_t page[2] = {static_cast<uint8_t>(dwAddress >> 24),
                                 static_cast<uint8_t>(dwAddress >> 16)};
        Record(0x04, 0, page, 2);
    }
    std::string& Text() { return m_text; }

private:
    void Byte(uint8_t b, uint8_t& sum)
    {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        m_text += kDigits[b >> 4];
        m_text += kDigits[b & 0x0F];
        sum = static_cast<uint8_t>(sum + b);
    }

    std::string m_text;
};

// Extended mode: a segment starts above 0xFFFF or reaches past it.
bool IsExtended(const ImageCopy& image)
{
    return std::any_of(image.begin(), image.end(),
                       [](const SegmentCopy& s)
                       { return s.dwAddress > 0xFFFF || s.dwAddress + s.bytes.size() > 0x10000; });
}

void WriteSegment(CReferenceWriter& writer, const SegmentCopy& s, bool bExtended)
{
    if (bExtended)
        writer.LinearBase(s.dwAddress);
    for (size_t k = 0; k < s.bytes.size();)
    {
        const uint32_t dwAddress = s.dwAddress + static_cast<uint32_t>(k);
        const uint32_t dwLow = dwAddress & 0xFFFF;
        if (k > 0 && dwLow == 0)
            writer.LinearBase(dwAddress);
        const size_t n = std::min<size_t>({16, s.bytes.size() - k, 0x10000 - dwLow});
        writer.Record(0x00, dwLow, s.bytes.data() + k, n);
        k += n;
    }
}

std::string ReferenceText(const ImageCopy& image)
{
    CReferenceWriter writer;
    const bool bExtended = IsExtended(image);
    for (const SegmentCopy& s : image)
        WriteSegment(writer, s, bExtended);
    writer.Text() += ":00000001FF\r\n";
    return std::move(writer.Text());
}

ImageCopy NonEmpty(const ImageCopy& image)
{
    ImageCopy result;
    std::copy_if(image.begin(), image.end(), std::back_inserter(result),
                 [](const SegmentCopy& s) { return !s.bytes.empty(); });
    return result;
}

// Sorted segments that neither overlap nor touch, the last one possibly wrapping to 0.
bool AreApart(const ImageCopy& image)
{
    for (size_t i = 1; i < image.size(); i++)
        if (image[i - 1].dwAddress + image[i - 1].bytes.size() >= image[i].dwAddress)
            return false;
    if (image.empty())
        return true;
    const uint64_t nLastEnd = image.back().dwAddress + image.back().bytes.size();
    return nLastEnd <= kAddressSpace || nLastEnd - kAddressSpace < image.front().dwAddress;
}
} // namespace

void CheckWriterOutput(const ImageCopy& image, const std::string& text)
{
    const std::string expected = ReferenceText(image);
    if (text == expected)
        return;
    const auto diff = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end());
    std::fprintf(stderr, "writer: %zu chars, expected %zu, first difference at %zu\n", text.size(),
                 expected.size(), static_cast<size_t>(diff.first - text.begin()));
    Check(false, "writer output differs from the designed records");
}

void CheckRoundTrip(const ImageCopy& image, const std::string& text)
{
    const ImageCopy expected = NonEmpty(image);
    if (!AreApart(expected))
        return;
    MemoryImage reread;
    const bool bOk = ReadHexText(reread, text.data(), text.size());
    Check(bOk == !expected.empty(), "written text reads back with another result");
    Check(CopyImage(reread) == expected, "written text reads back to other segments");
}
