// libFuzzer target for the HEX reader: any bytes must read without a crash, a leak or
// undefined behaviour, into an image that keeps the table's invariants; reading is
// repeatable and independent of how the text is cut into pieces; the writer's output
// is exactly the reference writer's and reads back to the same segments whenever
// that is guaranteed.
#include "FuzzChecks.h"
#include "HexReader.h"
#include "HexWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

void Check(bool bCondition, const char* pszWhat)
{
    if (bCondition)
        return;
    std::fprintf(stderr, "hex fuzzer: %s\n", pszWhat);
    std::abort();
}

ImageCopy CheckedCopy(const MemoryImage& image)
{
    std::string problem;
    ImageCopy copy = CopyImage(image, &problem);
    Check(problem.empty(), problem.c_str());
    return copy;
}

namespace
{
constexpr size_t kReferenceMaxPieces = 4000;

uint32_t End(const SegmentCopy& s)
{
    return s.dwAddress + static_cast<uint32_t>(s.bytes.size());
}

// After a read the table is sorted and no segment ends where its successor begins.
void CheckCoalesced(const ImageCopy& copy)
{
    for (size_t i = 1; i < copy.size(); i++)
    {
        Check(copy[i - 1].dwAddress <= copy[i].dwAddress, "table not sorted by start address");
        Check(End(copy[i - 1]) != copy[i].dwAddress, "touching neighbours left unmerged");
    }
}

// Feeds the text in pieces whose lengths cycle through a pattern taken from the input.
ImageCopy ReadInPieces(const uint8_t* pData, size_t nSize)
{
    MemoryImage image;
    {
        CHexTextReader reader(image);
        size_t nPos = 0;
        for (size_t k = 0; nPos < nSize; k++)
        {
            const size_t nPiece = std::min<size_t>(nSize - nPos, 1 + pData[k % nSize] % 7 * 150);
            reader.Feed(reinterpret_cast<const char*>(pData) + nPos, nPiece);
            nPos += nPiece;
        }
        reader.Finish();
    }
    return CheckedCopy(image);
}

// The reference reader is quadratic: compare with it while the record count is small.
void CheckAgainstReference(const uint8_t* pData, size_t nSize, const MemoryImage& image,
                           const ImageCopy& copy)
{
    const char* pText = reinterpret_cast<const char*>(pData);
    const size_t nPieces =
        static_cast<size_t>(std::count(pText, pText + nSize, '\n')) + nSize / 999;
    if (nPieces > kReferenceMaxPieces)
        return;
    CStartAddress start;
    Check(copy == ReferenceRead(pText, nSize, &start), "image differs from the reference reader's");
    // a read without data keeps no start address
    Check(image.GetStartAddress() == (copy.empty() ? CStartAddress() : start),
          "start address differs from the reference reader's");
}

void CheckRepeatable(const uint8_t* pData, size_t nSize, const ImageCopy& expected)
{
    MemoryImage image;
    const char* pszOld = ":02000004ABCDEA\n:0400100001020304E2\n:00FFF0000\n";
    ReadHexText(image, pszOld, std::char_traits<char>::length(pszOld));
    ReadHexText(image, reinterpret_cast<const char*>(pData), nSize);
    Check(CheckedCopy(image) == expected, "a second read does not replace the first");
    Check(ReadInPieces(pData, nSize) == expected, "reading in pieces gives another image");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    MemoryImage image;
    const bool bOk = ReadHexText(image, reinterpret_cast<const char*>(pData), nSize);
    const ImageCopy copy = CheckedCopy(image);
    Check(bOk == !copy.empty(), "result does not match the segment count");
    CheckCoalesced(copy);
    CheckAgainstReference(pData, nSize, image, copy);
    if (nSize > 0)
        CheckRepeatable(pData, nSize, copy);

    const std::string text = FormatHexText(image);
    CheckWriterOutput(copy, image.GetStartAddress(), text);
    CheckRoundTrip(copy, text);
    return 0;
}
