// The writer's output compared with the plain writer's: a 04 record before every
// segment in extended mode and before each further 64 KiB page of a segment, data
// records of up to 16 bytes cut at page boundaries, the start-address record,
// :00000001FF last, CR LF.
#include "FuzzChecks.h"
#include "HexReader.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr uint64_t kAddressSpace = 1ull << 32;

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

void CheckWriterOutput(const ImageCopy& image, const CStartAddress& start, const std::string& text)
{
    const std::string expected = ReferenceWrite(image, start);
    if (text == expected)
        return;
    const auto diff = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end());
    std::fprintf(stderr, "writer: %zu chars, expected %zu, first difference at %zu\n", text.size(),
                 expected.size(), static_cast<size_t>(diff.first - text.begin()));
    Check(false, "writer output differs from the reference writer's");
}

void CheckRoundTrip(const ImageCopy& image, const std::string& text)
{
    const ImageCopy expected = NonEmpty(image);
    if (!AreApart(expected))
        return;
    MemoryImage reread;
    const bool bOk = ReadHexText(reread, text.data(), text.size());
    Check(bOk == !expected.empty(), "written text reads back with another result");
    Check(CheckedCopy(reread) == expected, "written text reads back to other segments");
}
