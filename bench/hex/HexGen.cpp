// Writes the benchmark corpus: Intel HEX files of the shapes real files come in.
//   hexgen [DIR [SHAPE...]]     DIR defaults to /tmp/corvane-corpus, SHAPE to all of them
#include "HexRecordWriter.h"

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

// Record start addresses, in file order.
using AddressList = std::vector<uint32_t>;

AddressList Ascending(uint32_t nRecords, uint32_t nStride)
{
    AddressList list(nRecords);
    for (uint32_t i = 0; i < nRecords; i++)
        list[i] = i * nStride;
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
    return list;
}

// Data bytes come from the dense image at the record's address (sparse strides past it
// wrap around the image).
bool WriteShape(const std::filesystem::path& target, const AddressList& list,
                const std::vector<uint8_t>& image)
{
    const std::filesystem::path temp = target.string() + ".part";
    CHexRecordWriter writer;
    if (!writer.Open(temp.string()))
        return false;
    for (uint32_t dwAddress : list)
        writer.WriteData(dwAddress, &image[dwAddress % kDenseBytes], kRecordBytes);
    writer.WriteEndOfFile();
    if (!writer.Close())
        return false;
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    return !ec;
}

const char* const kShapes[] = {"dense", "sparse", "reversed", "shuffled", "twice", "dupshuffled"};

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
