// Writes the benchmark corpus: Intel HEX files of the shapes real files come in.
//   hexgen [DIR [SHAPE...]]     DIR defaults to /tmp/corvane-corpus, SHAPE to all of them
#include "CollidingEnds.h"
#include "Reference.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kDenseBytes = 64u << 20;
constexpr int kRecordBytes = 16;
constexpr uint32_t kDenseRecords = kDenseBytes / kRecordBytes;
constexpr uint32_t kSparseRecords = 1000000;
// one record, then a gap of the same size: every record is a segment of its own
constexpr uint32_t kSparseStride = 32;
constexpr uint32_t kDupDistinct = 50000;
// copies of one record before and after a block of shorter records that end elsewhere
constexpr uint32_t kQuadraticCopies = 200000;
constexpr uint32_t kScatteredRecords = 1000000;
constexpr uint32_t kPairSegments = 1000000;
// ends that pile up under a fixed multiplicative hash: about 2.2 MB of text
constexpr size_t kCollidingRecords = 140000;
constexpr uint64_t kSeed = 0x436F7276616E6531ull;

// Small, fixed generator so the corpus is the same with every standard library.
class CSplitMix
{
public:
    explicit CSplitMix(uint64_t seed) : m_nState(seed) {}
    uint64_t Next()
    {
        uint64_t z = (m_nState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }

private:
    uint64_t m_nState;
};

std::vector<uint8_t> MakeImageBytes()
{
    std::vector<uint8_t> bytes(kDenseBytes);
    CSplitMix rng(kSeed);
    for (size_t i = 0; i < bytes.size(); i += 8)
    {
        const uint64_t v = rng.Next();
        std::memcpy(&bytes[i], &v, 8);
    }
    return bytes;
}

struct CRecordAt
{
    uint32_t dwAddress;
    int n = kRecordBytes;
};
// The data records, in file order.
using AddressList = std::vector<CRecordAt>;

AddressList Ascending(uint32_t nRecords, uint32_t nStride)
{
    AddressList list(nRecords);
    for (uint32_t i = 0; i < nRecords; i++)
        list[i].dwAddress = i * nStride;
    return list;
}

// K copies of a record at 0x0100, 1,000 shorter records at 0x0118, K records at 0x0110:
// each of the last K extends a segment into the end address the short ones share.
AddressList Quadratic()
{
    AddressList list(kQuadraticCopies, CRecordAt{0x0100});
    list.insert(list.end(), 1000, CRecordAt{0x0118, 8});
    list.insert(list.end(), kQuadraticCopies, CRecordAt{0x0110});
    return list;
}

// The same records at addresses mirrored below 0x10000.
AddressList Mirrored(AddressList list)
{
    for (CRecordAt& r : list)
        r.dwAddress = 0x10000 - r.dwAddress - static_cast<uint32_t>(r.n);
    return list;
}

// Segments of two touching records of nBytes each, ascending, with a gap as long as a
// segment after each; the first record given twice when bDupFirst (then no record is
// in order any more and the reader goes record by record through its end index).
AddressList Pairs(int nBytes, bool bDupFirst)
{
    AddressList list;
    list.reserve(2 * kPairSegments + 1);
    const uint32_t n = static_cast<uint32_t>(nBytes);
    for (uint32_t i = 0; i < kPairSegments; i++)
    {
        list.push_back({i * 4 * n, nBytes});
        list.push_back({i * 4 * n + n, nBytes});
    }
    if (bDupFirst)
        list.insert(list.begin(), list.front());
    return list;
}

// One-byte records that end where CollidingEnds says, the first one given twice.
AddressList Colliding()
{
    AddressList list;
    for (uint32_t dwEnd : CollidingEnds(kCollidingRecords))
        list.push_back({dwEnd - 1, 1});
    list.insert(list.begin(), list.front());
    return list;
}

AddressList Scattered()
{
    AddressList list(kScatteredRecords);
    CSplitMix rng(kSeed + 3);
    for (CRecordAt& r : list)
        r = {static_cast<uint32_t>(rng.Next()), 1};
    return list;
}

void Shuffle(AddressList& list, uint64_t seed)
{
    CSplitMix rng(seed);
    for (size_t i = list.size(); i > 1; i--)
        std::swap(list[i - 1], list[rng.Below(static_cast<uint32_t>(i))]);
}

AddressList MakeShape(const std::string& name)
{
    AddressList list;
    if (name == "dense")
        list = Ascending(kDenseRecords, kRecordBytes);
    else if (name == "sparse")
        list = Ascending(kSparseRecords, kSparseStride);
    else if (name == "reversed")
    {
        list = Ascending(kDenseRecords, kRecordBytes);
        std::reverse(list.begin(), list.end());
    }
    else if (name == "shuffled")
    {
        list = Ascending(kDenseRecords, kRecordBytes);
        Shuffle(list, kSeed + 1);
    }
    else if (name == "twice")
    {
        list = Ascending(kDenseRecords, kRecordBytes);
        list.insert(list.end(), list.begin(), list.end());
    }
    else if (name == "dupshuffled")
    {
        // back-to-back records, each given twice with the same bytes, in random order:
        // start addresses repeat and come out of order
        list = Ascending(kDupDistinct, kRecordBytes);
        list.insert(list.end(), list.begin(), list.end());
        Shuffle(list, kSeed + 2);
    }
    else if (name == "quadratic")
        list = Quadratic();
    else if (name == "quadratic-reversed")
    {
        list = Quadratic();
        std::reverse(list.begin(), list.end());
    }
    else if (name == "quadratic-mirrored")
        list = Mirrored(Quadratic());
    else if (name == "scattered")
        list = Scattered();
    else if (name == "pairs")
        list = Pairs(1, false);
    else if (name == "pairs-dupfirst")
        list = Pairs(1, true);
    else if (name == "pairs16")
        list = Pairs(16, false);
    else if (name == "colliding")
        list = Colliding();
    return list;
}

// Data bytes come from the dense image at the record's address (addresses past it wrap
// around the image); a 04 record goes before every record whose 64 KiB page differs
// from the one in force.
bool WriteShape(const std::filesystem::path& target, const AddressList& list,
                const std::vector<uint8_t>& image)
{
    const std::filesystem::path temp = target.string() + ".part";
    FILE* pFile = std::fopen(temp.c_str(), "wb");
    if (!pFile)
        return false;
    std::string text;
    uint32_t dwPage = 0x10000; // none yet
    bool bOk = true;
    for (const CRecordAt& r : list)
    {
        if (r.dwAddress >> 16 != dwPage)
        {
            dwPage = r.dwAddress >> 16;
            const uint8_t page[2] = {static_cast<uint8_t>(dwPage >> 8),
                                     static_cast<uint8_t>(dwPage)};
            AppendRecord(text, 0x04, 0, page, 2);
        }
        AppendRecord(text, 0x00, static_cast<uint16_t>(r.dwAddress),
                     &image[r.dwAddress % kDenseBytes], static_cast<size_t>(r.n));
        if (text.size() >= (1u << 20))
        {
            bOk = bOk && std::fwrite(text.data(), 1, text.size(), pFile) == text.size();
            text.clear();
        }
    }
    text += ":00000001FF\r\n";
    bOk = bOk && std::fwrite(text.data(), 1, text.size(), pFile) == text.size();
    bOk = std::fclose(pFile) == 0 && bOk;
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    return bOk && !ec;
}

const char* const kShapes[] = {"dense",
                               "sparse",
                               "reversed",
                               "shuffled",
                               "twice",
                               "dupshuffled",
                               "quadratic",
                               "quadratic-reversed",
                               "quadratic-mirrored",
                               "scattered",
                               "pairs",
                               "pairs-dupfirst",
                               "pairs16",
                               "colliding"};

bool IsShape(const std::string& name)
{
    for (const char* shape : kShapes)
        if (name == shape)
            return true;
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path dir = argc > 1 ? argv[1] : "/tmp/corvane-corpus";
    std::vector<std::string> shapes(argv + std::min(argc, 2), argv + argc);
    if (shapes.empty())
        shapes.assign(std::begin(kShapes), std::end(kShapes));
    for (const std::string& shape : shapes)
        if (!IsShape(shape))
        {
            std::fprintf(stderr, "hexgen: unknown shape %s\n", shape.c_str());
            return 2;
        }

    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::vector<uint8_t> image = MakeImageBytes();
    for (const std::string& shape : shapes)
    {
        const std::filesystem::path target = dir / (shape + ".hex");
        if (!WriteShape(target, MakeShape(shape), image))
        {
            std::fprintf(stderr, "hexgen: cannot write %s\n", target.c_str());
            return 1;
        }
        std::printf("%s\t%ju bytes\n", target.c_str(),
                    static_cast<uintmax_t>(std::filesystem::file_size(target)));
    }
    return 0;
}
